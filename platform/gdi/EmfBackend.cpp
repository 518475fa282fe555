#include "platform/gdi/EmfBackend.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/gdi/FontEngine.h"
#include "platform/gdi/GdiObjects.h"

namespace {

// The stock index of a selected stock object, or -1.
int StockIndex(HGDIOBJ h, int first, int last) {
    for (int i = first; i <= last; ++i) {
        if (GetStockObject(i) == h) return i;
    }
    return -1;
}

bool SamePoint(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// Reads a w x h part of a bitmap, top-left at (x0, y0) in its pixels, into a bottom-up DIB of
// 24 or 32 bits. A monochrome bitmap takes the destination DC's colours: black pixels become
// the text colour and white ones the background colour, as a blit to a colour DC does. Pixels
// outside the bitmap are black.
std::vector<BYTE> ReadBitmap(GdiBitmapObject* bm, int x0, int y0, int w, int h, int bitCount, COLORREF monoBlack,
                             COLORREF monoWhite) {
    const int bpp = bitCount / 8;
    const int stride = ((bitCount * w + 31) / 32) * 4;
    std::vector<BYTE> out(static_cast<size_t>(stride) * h, 0);
    RECT area{std::max(x0, 0), std::max(y0, 0), std::min(x0 + w, bm->m_nWidth), std::min(y0 + h, bm->m_nHeight)};
    if (area.right <= area.left || area.bottom <= area.top || !bm->m_pSurface) return out;
    if (bm->m_bDib) bm->SyncIn(area);
    cairo_surface_flush(bm->m_pSurface);
    // Per-pixel alpha lives only in a 32-bit DIB's own memory.
    const bool dibAlpha = bitCount == 32 && bm->m_bDib && bm->m_bih.biBitCount == 32 && bm->m_pBits;
    for (int row = 0; row < h; ++row) {
        const int py = y0 + (h - 1 - row);  // bottom-up
        if (py < area.top || py >= area.bottom) continue;
        const uint32_t* src = bm->Row(py);
        BYTE* d = out.data() + static_cast<size_t>(row) * stride;
        for (int col = 0; col < w; ++col) {
            const int px = x0 + col;
            if (px < area.left || px >= area.right) continue;
            uint32_t rgb = src[px] & 0xffffff;
            if (bm->IsMono()) {
                const COLORREF c = rgb == 0 ? monoBlack : monoWhite;
                rgb = (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
            }
            BYTE* p = d + static_cast<size_t>(col) * bpp;
            p[0] = static_cast<BYTE>(rgb & 0xff);
            p[1] = static_cast<BYTE>((rgb >> 8) & 0xff);
            p[2] = static_cast<BYTE>((rgb >> 16) & 0xff);
            if (bpp == 4) {
                BYTE a = 0xff;
                if (dibAlpha) {
                    const int storedRow = bm->m_bih.biHeight > 0 ? bm->m_nHeight - 1 - py : py;
                    a = bm->m_pBits[static_cast<size_t>(storedRow) * bm->m_nStride + static_cast<size_t>(px) * 4 + 3];
                }
                p[3] = a;
            }
        }
    }
    return out;
}

// Expands a 1-, 4-, 8- or 16-bit BI_RGB DIB to 24 bits, keeping its row order.
bool ExpandDib(const BITMAPINFO* bmi, const void* bits, std::vector<BYTE>& out) {
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    const int w = h.biWidth;
    const int rows = std::abs(h.biHeight);
    const int bc = h.biBitCount;
    if (bc != 1 && bc != 4 && bc != 8 && bc != 16) return false;
    const int inStride = ((bc * w + 31) / 32) * 4;
    const int outStride = ((24 * w + 31) / 32) * 4;
    const int colours = bc == 16 ? 0 : (h.biClrUsed ? static_cast<int>(h.biClrUsed) : (1 << bc));
    out.assign(static_cast<size_t>(outStride) * rows, 0);
    const BYTE* in = static_cast<const BYTE*>(bits);
    for (int y = 0; y < rows; ++y) {
        const BYTE* s = in + static_cast<size_t>(y) * inStride;
        BYTE* d = out.data() + static_cast<size_t>(y) * outStride;
        for (int x = 0; x < w; ++x, d += 3) {
            if (bc == 16) {
                const unsigned v = s[2 * x] | (s[2 * x + 1] << 8);  // RGB555
                d[0] = static_cast<BYTE>(((v & 0x1f) * 255) / 31);
                d[1] = static_cast<BYTE>((((v >> 5) & 0x1f) * 255) / 31);
                d[2] = static_cast<BYTE>((((v >> 10) & 0x1f) * 255) / 31);
                continue;
            }
            int index = 0;
            if (bc == 8) index = s[x];
            else if (bc == 4) index = (s[x / 2] >> ((x % 2) ? 0 : 4)) & 0x0f;
            else index = (s[x / 8] >> (7 - x % 8)) & 1;
            if (index >= colours) continue;  // outside the colour table: black
            const RGBQUAD& q = bmi->bmiColors[index];
            d[0] = q.rgbBlue;
            d[1] = q.rgbGreen;
            d[2] = q.rgbRed;
        }
    }
    return true;
}

}  // namespace

EmfBackend::~EmfBackend() {
    if (m_writer.IsOpen()) Finish();
}

BOOL EmfBackend::Open(const char* path, const EmfDevice& device, int technology, const RECT* frame,
                      const char* description) {
    m_technology = technology;
    m_finished = false;
    m_finishResult = FALSE;
    m_filePos = POINT{0, 0};
    // The file starts with the stock objects; whatever the DC holds is written before first use.
    m_penPending = m_brushPending = m_fontPending = true;
    m_fileAlign = TA_LEFT | TA_TOP | TA_NOUPDATECP;
    m_savedAligns.clear();
    m_error.clear();
    if (!m_writer.Open(path, device, frame, description)) {
        m_error = m_writer.LastError();
        return FALSE;
    }
    return TRUE;
}

BOOL EmfBackend::Finish() {
    if (m_finished) return m_finishResult;
    m_finished = true;
    if (!m_writer.IsOpen()) {
        if (m_error.empty()) m_error = "the metafile was never opened";
        return m_finishResult = FALSE;
    }
    m_finishResult = Check(m_writer.Close());
    return m_finishResult;
}

void EmfBackend::Close(const DCState& st) { Finish(); }

BOOL EmfBackend::Check(BOOL ok) {
    if (!ok && m_error.empty()) m_error = m_writer.LastError();
    return ok;
}

RECT EmfBackend::DeviceRect(const DCState& st, int l, int t, int r, int b) const {
    return RECT{st.ToDeviceX(l), st.ToDeviceY(t), st.ToDeviceX(r), st.ToDeviceY(b)};
}

std::vector<POINT> EmfBackend::DevicePoints(const DCState& st, const POINT* pts, int n) const {
    std::vector<POINT> v(n > 0 ? n : 0);
    for (int i = 0; i < n; ++i) v[i] = st.ToDevice(pts[i]);
    return v;
}

// ---- state -----------------------------------------------------------------------------------

void EmfBackend::SelectCurrent(const DCState& st, DCChange what) {
    if (!m_writer.IsOpen()) return;
    switch (what) {
    case DCChange::Pen: {
        const int stock = st.pen->m_bStock ? StockIndex(st.pen.handle(), WHITE_PEN, NULL_PEN) : -1;
        const LOGPEN& lp = st.Pen();
        Check(stock >= 0 ? m_writer.SelectStockObject(stock)
                         : m_writer.SelectPen(lp.lopnStyle, lp.lopnWidth.x, lp.lopnColor));
        break;
    }
    case DCChange::Brush: {
        const int stock = st.brush->m_bStock ? StockIndex(st.brush.handle(), WHITE_BRUSH, NULL_BRUSH) : -1;
        const LOGBRUSH& lb = st.Brush();
        if (stock >= 0) {
            Check(m_writer.SelectStockObject(stock));
        } else {
            // Pattern brushes have no record here; their colour stands in.
            const UINT style = lb.lbStyle == BS_HATCHED || lb.lbStyle == BS_NULL ? lb.lbStyle : BS_SOLID;
            Check(m_writer.SelectBrush(style, lb.lbColor, static_cast<LONG>(lb.lbHatch)));
        }
        break;
    }
    case DCChange::Font: {
        int stock = -1;
        if (st.font->m_bStock) {
            stock = StockIndex(st.font.handle(), OEM_FIXED_FONT, DEVICE_DEFAULT_FONT);
            if (stock < 0) stock = StockIndex(st.font.handle(), SYSTEM_FIXED_FONT, DEFAULT_GUI_FONT);
        }
        Check(stock >= 0 ? m_writer.SelectStockObject(stock) : m_writer.SelectFont(st.Font()));
        break;
    }
    default:
        break;
    }
}

void EmfBackend::SelectPending(const DCState& st, bool pen, bool brush, bool font) {
    if (pen && m_penPending) {
        m_penPending = false;
        SelectCurrent(st, DCChange::Pen);
    }
    if (brush && m_brushPending) {
        m_brushPending = false;
        SelectCurrent(st, DCChange::Brush);
    }
    if (font && m_fontPending) {
        m_fontPending = false;
        SelectCurrent(st, DCChange::Font);
    }
}

void EmfBackend::OnStateChange(const DCState& st, DCChange what, int arg) {
    if (!m_writer.IsOpen()) return;
    switch (what) {
    // Objects reach the file when something is drawn with them: a pen selected for one line and
    // put back after it costs nothing when the next line selects the same pen again.
    case DCChange::Pen: m_penPending = true; break;
    case DCChange::Brush: m_brushPending = true; break;
    case DCChange::Font: m_fontPending = true; break;
    case DCChange::TextColor: Check(m_writer.SetTextColor(st.textColor)); break;
    case DCChange::BkColor: Check(m_writer.SetBkColor(st.bkColor)); break;
    case DCChange::BkMode: Check(m_writer.SetBkMode(st.bkMode)); break;
    case DCChange::TextAlign:
        if (Check(m_writer.SetTextAlign(st.textAlign))) m_fileAlign = st.textAlign;
        break;
    case DCChange::Rop2: Check(m_writer.SetROP2(st.rop2)); break;
    case DCChange::PolyFillMode: Check(m_writer.SetPolyFillMode(st.polyFillMode)); break;
    case DCChange::StretchBltMode: Check(m_writer.SetStretchBltMode(st.stretchBltMode)); break;
    case DCChange::Clip:
        if (!st.hasClip) {
            Check(m_writer.ExtSelectClipRects(nullptr, 0, RGN_COPY));
        } else if (st.clip.IsEmpty()) {
            const RECT none{0, 0, 0, 0};
            Check(m_writer.ExtSelectClipRects(&none, 1, RGN_COPY));
        } else {
            const std::vector<RECT>& rects = st.clip.Rects();
            Check(m_writer.ExtSelectClipRects(rects.data(), static_cast<int>(rects.size()), RGN_COPY));
        }
        break;
    case DCChange::SaveDC:
        // The saved state in the file must hold the DC's objects, which a restore brings back.
        SelectPending(st, true, true, true);
        if (Check(m_writer.SaveDC() != 0)) m_savedAligns.push_back(m_fileAlign);
        break;
    case DCChange::RestoreDC: {
        const int depth = static_cast<int>(m_savedAligns.size());
        const int target = arg < 0 ? depth + arg + 1 : arg;
        if (Check(m_writer.RestoreDC(arg)) && target >= 1 && target <= depth) {
            m_fileAlign = m_savedAligns[target - 1];
            m_savedAligns.resize(target - 1);
        }
        // The player restores the position too.
        m_filePos = st.ToDevice(st.curPos);
        // And the objects saved with the state, which are the DC's again; selecting them only
        // writes something should they differ.
        m_penPending = m_brushPending = m_fontPending = true;
        break;
    }
    default:
        // Positions and origins are applied to coordinates as they are drawn; the bitmap and
        // mapping mode do not exist in a metafile.
        break;
    }
}

// ---- lines and shapes ------------------------------------------------------------------------

BOOL EmfBackend::SyncPosition(const DCState& st) {
    const POINT dev = st.ToDevice(st.curPos);
    if (SamePoint(dev, m_filePos)) return TRUE;
    if (!Check(m_writer.MoveTo(dev.x, dev.y))) return FALSE;
    m_filePos = dev;
    return TRUE;
}

BOOL EmfBackend::LineTo(const DCState& st, int x, int y) {
    SelectPending(st, true, false, false);
    if (!SyncPosition(st)) return FALSE;
    const POINT to = st.ToDevice(POINT{x, y});
    if (!Check(m_writer.LineTo(to.x, to.y))) return FALSE;
    m_filePos = to;
    return TRUE;
}

BOOL EmfBackend::Polyline(const DCState& st, const POINT* pts, int n) {
    SelectPending(st, true, false, false);
    const std::vector<POINT> d = DevicePoints(st, pts, n);
    return Check(m_writer.Polyline(d.data(), n));
}

BOOL EmfBackend::Polygon(const DCState& st, const POINT* pts, int n) {
    SelectPending(st, true, true, false);
    const std::vector<POINT> d = DevicePoints(st, pts, n);
    return Check(m_writer.Polygon(d.data(), n));
}

BOOL EmfBackend::PolyPolygon(const DCState& st, const POINT* pts, const int* counts, int polys) {
    SelectPending(st, true, true, false);
    if (!pts || !counts || polys < 1) return Check(m_writer.PolyPolygon(nullptr, nullptr, 0));
    int total = 0;
    for (int i = 0; i < polys; ++i) total += std::max(counts[i], 0);
    const std::vector<POINT> d = DevicePoints(st, pts, total);
    return Check(m_writer.PolyPolygon(d.data(), counts, polys));
}

BOOL EmfBackend::Rectangle(const DCState& st, int l, int t, int r, int b) {
    SelectPending(st, true, true, false);
    return Check(m_writer.Rectangle(DeviceRect(st, l, t, r, b)));
}

BOOL EmfBackend::RoundRect(const DCState& st, int l, int t, int r, int b, int ew, int eh) {
    SelectPending(st, true, true, false);
    return Check(m_writer.RoundRect(DeviceRect(st, l, t, r, b), ew, eh));
}

BOOL EmfBackend::Ellipse(const DCState& st, int l, int t, int r, int b) {
    SelectPending(st, true, true, false);
    return Check(m_writer.Ellipse(DeviceRect(st, l, t, r, b)));
}

BOOL EmfBackend::ArcShape(const DCState& st, int kind, const RECT& box, POINT start, POINT end) {
    SelectPending(st, true, kind != 0, false);
    return Check(m_writer.Arc(kind, DeviceRect(st, box.left, box.top, box.right, box.bottom), st.ToDevice(start),
                              st.ToDevice(end)));
}

// ---- fills -----------------------------------------------------------------------------------

BOOL EmfBackend::FillRect(const DCState& st, const RECT& r, const LOGBRUSH& brush) {
    const UINT style = brush.lbStyle == BS_HATCHED || brush.lbStyle == BS_NULL ? brush.lbStyle : BS_SOLID;
    return Check(m_writer.FillRect(DeviceRect(st, r.left, r.top, r.right, r.bottom), style, brush.lbColor,
                                   static_cast<LONG>(brush.lbHatch)));
}

BOOL EmfBackend::InvertRect(const DCState& st, const RECT& r) {
    return Check(m_writer.BitBlt(DeviceRect(st, r.left, r.top, r.right, r.bottom), 0, 0, nullptr, DSTINVERT, st.bkColor));
}

BOOL EmfBackend::FillRgn(const DCState& st, const GdiRegion& rgnLogical, const LOGBRUSH& brush) {
    BOOL ok = TRUE;
    for (const RECT& r : rgnLogical.Rects()) ok = FillRect(st, r, brush) && ok;
    return ok;
}

COLORREF EmfBackend::SetPixel(const DCState& st, int x, int y, COLORREF c) {
    const POINT p = st.ToDevice(POINT{x, y});
    return Check(m_writer.SetPixel(p.x, p.y, c)) ? c : CLR_INVALID;
}

// ---- text ------------------------------------------------------------------------------------

BOOL EmfBackend::ExtTextOut(const DCState& st, int x, int y, UINT options, const RECT* rect, const std::string& text,
                            const int* dx) {
    SelectPending(st, false, false, true);
    const std::vector<uint32_t> cps = Utf8Decode(text);
    // Advances: the caller's, else the font engine's, which the raster back end draws with.
    std::vector<int> adv;
    if (dx) {
        adv.assign(dx, dx + cps.size());
    } else {
        adv = FontEngine::Instance().GetAdvances(st.Font(), text);
        adv.resize(cps.size(), 0);
    }
    std::vector<uint16_t> u16;
    std::vector<int32_t> u16dx;
    u16.reserve(cps.size());
    for (size_t i = 0; i < cps.size(); ++i) {
        uint32_t cp = cps[i];
        if (cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff)) cp = 0xfffd;
        if (cp >= 0x10000) {
            // A surrogate pair: the whole advance on the first unit.
            cp -= 0x10000;
            u16.push_back(static_cast<uint16_t>(0xd800 + (cp >> 10)));
            u16.push_back(static_cast<uint16_t>(0xdc00 + (cp & 0x3ff)));
            u16dx.push_back(adv[i]);
            u16dx.push_back(0);
        } else {
            u16.push_back(static_cast<uint16_t>(cp));
            u16dx.push_back(adv[i]);
        }
    }

    // Extent on the device, turned by the font's escapement about the reference point.
    TEXTMETRIC tm{};
    FontEngine::Instance().GetTextMetrics(st.Font(), &tm);
    int width = 0;
    for (int a : adv) width += a;
    const POINT ref = st.ToDevice(POINT{x, y});
    double ox = 0;
    double oy = 0;
    const UINT align = st.textAlign;
    if ((align & TA_CENTER) == TA_CENTER) ox = -width / 2.0;
    else if (align & TA_RIGHT) ox = -width;
    if ((align & TA_BASELINE) == TA_BASELINE) oy = -tm.tmAscent;
    else if (align & TA_BOTTOM) oy = -tm.tmHeight;
    const double angle = st.Font().lfEscapement * M_PI / 1800.0;
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    double minX = 1e300, minY = 1e300, maxX = -1e300, maxY = -1e300;
    const double cornersX[4] = {ox, ox + width, ox, ox + width};
    const double cornersY[4] = {oy, oy, oy + tm.tmHeight, oy + tm.tmHeight};
    for (int i = 0; i < 4; ++i) {
        // Counter-clockwise on the screen, where y points down.
        const double rx = cornersX[i] * c + cornersY[i] * s;
        const double ry = -cornersX[i] * s + cornersY[i] * c;
        minX = std::min(minX, rx);
        minY = std::min(minY, ry);
        maxX = std::max(maxX, rx);
        maxY = std::max(maxY, ry);
    }
    // The turn leaves corners a rounding error off whole pixels (cos 90 degrees is not 0): a
    // bound takes a pixel only for a part of it that is really covered.
    constexpr double kRound = 1e-6;
    const RECT bounds{ref.x + static_cast<LONG>(std::floor(minX + kRound)),
                      ref.y + static_cast<LONG>(std::floor(minY + kRound)),
                      ref.x + static_cast<LONG>(std::ceil(maxX - kRound)),
                      ref.y + static_cast<LONG>(std::ceil(maxY - kRound))};
    RECT devRect{};
    if (rect) devRect = DeviceRect(st, rect->left, rect->top, rect->right, rect->bottom);
    if (st.textAlign != m_fileAlign) {
        if (!Check(m_writer.SetTextAlign(st.textAlign))) return FALSE;
        m_fileAlign = st.textAlign;
    }
    // With TA_UPDATECP a player writes at its current position and moves it by the text.
    const bool updateCP = (st.textAlign & TA_UPDATECP) != 0;
    if (updateCP && !SyncPosition(st)) return FALSE;
    if (updateCP) m_filePos = POINT{INT32_MIN, INT32_MIN};  // unknown from here: the next line moves first
    return Check(m_writer.ExtTextOutW(ref.x, ref.y, options, rect ? &devRect : nullptr, u16, u16dx, bounds));
}

// ---- blits -----------------------------------------------------------------------------------

BOOL EmfBackend::StretchBlt(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                            int cxs, int cys, DWORD rop) {
    SelectPending(st, false, true, false);  // raster operations may use the brush
    const RECT dest = DeviceRect(st, x, y, x + cx, y + cy);
    GdiBitmapObject* bm = src.Bitmap();
    if (!bm) return Check(m_writer.BitBlt(dest, 0, 0, nullptr, rop, st.bkColor));
    if (cxs <= 0 || cys <= 0) {
        m_error = m_error.empty() ? "a blit needs a source rectangle of positive size" : m_error;
        return FALSE;
    }
    const POINT s0 = src.state->ToDevice(POINT{xs, ys});
    const std::vector<BYTE> px = ReadBitmap(bm, s0.x, s0.y, cxs, cys, 24, st.textColor, st.bkColor);
    EmfBitmap eb;
    eb.width = cxs;
    eb.height = cys;
    eb.bitCount = 24;
    eb.bits = px.data();
    if (cx == cxs && cy == cys) return Check(m_writer.BitBlt(dest, 0, 0, &eb, rop, st.bkColor));
    return Check(m_writer.StretchDIBits(dest, 0, 0, cxs, cys, eb, rop));
}

int EmfBackend::StretchDIBits(const DCState& st, int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys,
                              const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    SelectPending(st, false, true, false);
    if (!bits || !bmi || bmi->bmiHeader.biWidth <= 0 || bmi->bmiHeader.biHeight == 0) {
        if (m_error.empty()) m_error = "StretchDIBits needs bits and a bitmap header with a size";
        return 0;
    }
    if (usage != DIB_RGB_COLORS || bmi->bmiHeader.biCompression != BI_RGB) {
        if (m_error.empty()) m_error = "a metafile takes uncompressed DIBs with RGB colours only";
        return 0;
    }
    EmfBitmap eb;
    eb.width = bmi->bmiHeader.biWidth;
    eb.height = std::abs(bmi->bmiHeader.biHeight);
    eb.topDown = bmi->bmiHeader.biHeight < 0;
    std::vector<BYTE> expanded;
    if (bmi->bmiHeader.biBitCount == 24 || bmi->bmiHeader.biBitCount == 32) {
        eb.bitCount = bmi->bmiHeader.biBitCount;
        eb.bits = static_cast<const BYTE*>(bits);
    } else if (ExpandDib(bmi, bits, expanded)) {
        eb.bitCount = 24;
        eb.bits = expanded.data();
    } else {
        if (m_error.empty()) m_error = "unsupported DIB of " + std::to_string(bmi->bmiHeader.biBitCount) + " bits per pixel";
        return 0;
    }
    const RECT dest = DeviceRect(st, x, y, x + cx, y + cy);
    return Check(m_writer.StretchDIBits(dest, xs, ys, cxs, cys, eb, rop)) ? cys : 0;
}

BOOL EmfBackend::AlphaBlend(const DCState& st, int x, int y, int cx, int cy, const DCSource& src, int xs, int ys,
                            int cxs, int cys, BLENDFUNCTION blend) {
    GdiBitmapObject* bm = src.Bitmap();
    if (!bm || cxs <= 0 || cys <= 0 || cx <= 0 || cy <= 0) {
        if (m_error.empty()) m_error = "AlphaBlend needs a source DC with a bitmap and rectangles of positive size";
        return FALSE;
    }
    const bool perPixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    const int bitCount = perPixel ? 32 : 24;
    const POINT s0 = src.state->ToDevice(POINT{xs, ys});
    const std::vector<BYTE> px = ReadBitmap(bm, s0.x, s0.y, cxs, cys, bitCount, st.textColor, st.bkColor);
    EmfBitmap eb;
    eb.width = cxs;
    eb.height = cys;
    eb.bitCount = bitCount;
    eb.bits = px.data();
    return Check(m_writer.AlphaBlend(DeviceRect(st, x, y, x + cx, y + cy), 0, 0, cxs, cys, eb,
                                     blend.SourceConstantAlpha, perPixel ? AC_SRC_ALPHA : 0));
}

BOOL EmfBackend::GradientFill(const DCState& st, const TRIVERTEX* v, ULONG nv, const void* mesh, ULONG nmesh,
                              ULONG mode) {
    if (!v || !mesh || nv == 0 || nmesh == 0 || mode > GRADIENT_FILL_TRIANGLE) {
        return Check(m_writer.GradientFill(nullptr, 0, nullptr, 0, mode));
    }
    std::vector<EmfVertex> ev(nv);
    for (ULONG i = 0; i < nv; ++i) {
        const POINT p = st.ToDevice(POINT{v[i].x, v[i].y});
        ev[i] = EmfVertex{p.x, p.y, v[i].Red, v[i].Green, v[i].Blue, v[i].Alpha};
    }
    const ULONG per = mode == GRADIENT_FILL_TRIANGLE ? 3 : 2;
    std::vector<uint32_t> m(static_cast<const ULONG*>(mesh), static_cast<const ULONG*>(mesh) + per * nmesh);
    return Check(m_writer.GradientFill(ev.data(), static_cast<int>(nv), m.data(), static_cast<int>(nmesh), mode));
}
