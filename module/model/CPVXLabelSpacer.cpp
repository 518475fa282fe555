#include "module/model/CPVXLabelSpacer.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/CDC.h"

CPVXLabelSpacer* CPVXLabelSpacer::s_pCurrent = nullptr;

CPVXLabelSpacer::Use::Use(bool bOn) : m_pPrev(s_pCurrent), m_bOn(bOn) {
    if (bOn) s_pCurrent = new CPVXLabelSpacer;
}

CPVXLabelSpacer::Use::~Use() {
    if (!m_bOn) return;
    delete s_pCurrent;
    s_pCurrent = m_pPrev;
}

CPVXLabelSpacer::Box CPVXLabelSpacer::BoxAt(double x, double y, double w, double h, double ox, double oy, double c,
                                            double s) {
    // The text's corners in order around it, turned about the reference point counter-clockwise
    // on the screen.
    Box b{};
    const double cx[4] = {ox, ox + w, ox + w, ox}, cy[4] = {oy, oy, oy + h, oy + h};
    b.x0 = b.y0 = 1e300;
    b.x1 = b.y1 = -1e300;
    for (int i = 0; i < 4; ++i) {
        b.px[i] = x + cx[i] * c + cy[i] * s;
        b.py[i] = y - cx[i] * s + cy[i] * c;
        b.x0 = std::min(b.x0, b.px[i]);
        b.y0 = std::min(b.y0, b.py[i]);
        b.x1 = std::max(b.x1, b.px[i]);
        b.y1 = std::max(b.y1, b.py[i]);
    }
    return b;
}

template <class F> void CPVXLabelSpacer::ForCells(const Box& b, F f) {
    for (int i = static_cast<int>(std::floor(b.x0 / kCell)); i <= static_cast<int>(std::floor(b.x1 / kCell)); ++i)
        for (int j = static_cast<int>(std::floor(b.y0 / kCell)); j <= static_cast<int>(std::floor(b.y1 / kCell)); ++j)
            f(std::make_pair(i, j));
}

bool CPVXLabelSpacer::Meet(const Box& a, const Box& b) {
    // Two rectangles meet unless one of their four side directions separates them; here they
    // must also share more than kTouch pixels across each (lines written one under the other
    // may share a pixel or two of their leading).
    for (const Box* r : {&a, &b})
        for (int k = 0; k < 2; ++k) {
            double ux = r->px[k + 1] - r->px[k], uy = r->py[k + 1] - r->py[k];
            const double len = std::hypot(ux, uy);
            if (len <= 0) continue;
            ux /= len;
            uy /= len;
            double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
            for (int n = 0; n < 2; ++n) {
                const Box& q = n ? b : a;
                for (int i = 0; i < 4; ++i) {
                    const double d = q.px[i] * ux + q.py[i] * uy;
                    lo[n] = std::min(lo[n], d);
                    hi[n] = std::max(hi[n], d);
                }
            }
            if (std::min(hi[0], hi[1]) - std::max(lo[0], lo[1]) <= kTouch) return false;
        }
    return true;
}

bool CPVXLabelSpacer::IsClear(const Box& b) const {
    bool bClear = true;
    ForCells(b, [&](const std::pair<int, int>& cell) {
        auto it = m_cells.find(cell);
        if (!bClear || it == m_cells.end()) return;
        for (size_t k : it->second)
            if (Meet(b, m_boxes[k])) {
                bClear = false;
                return;
            }
    });
    return bClear;
}

bool CPVXLabelSpacer::RunsIntoRow(const Box& b, double g) const {
    // A text's height is its box's smaller side, turned texts too, as a reader sees the box.
    const double hb = std::min(b.x1 - b.x0, b.y1 - b.y0);
    Box reach = b;
    reach.x0 -= g * hb;
    reach.x1 += g * hb;
    bool bRuns = false;
    ForCells(reach, [&](const std::pair<int, int>& cell) {
        auto it = m_cells.find(cell);
        if (bRuns || it == m_cells.end()) return;
        for (size_t k : it->second) {
            const Box& a = m_boxes[k];
            const double h = std::min(hb, std::min(a.x1 - a.x0, a.y1 - a.y0));
            const double across = std::min(a.y1, b.y1) - std::max(a.y0, b.y0);
            if (across > 0.5 * h && std::max(a.x0 - b.x1, b.x0 - a.x1) < g * h) {
                bRuns = true;
                return;
            }
        }
    });
    return bRuns;
}

void CPVXLabelSpacer::Add(const Box& b) {
    const size_t k = m_boxes.size();
    m_boxes.push_back(b);
    ForCells(b, [&](const std::pair<int, int>& cell) { m_cells[cell].push_back(k); });
}

namespace {

// How the DC writes a text with an alignment: its width and height, its top-left corner from the
// reference point, and the cosine and sine of the font's escapement.
struct TextFrame {
    double w, h, ox, oy, c, s;
};

TextFrame FrameOf(CDC* pDC, const CString& text, UINT align) {
    const CSize ext = text.IsEmpty() ? CSize(0, 0) : pDC->GetTextExtent(text);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    LOGFONT lf{};
    if (CFont* pFont = pDC->GetCurrentFont()) pFont->GetLogFont(&lf);
    TextFrame f{};
    f.w = ext.cx;
    f.h = tm.tmHeight > 0 ? tm.tmHeight : ext.cy;
    if ((align & TA_CENTER) == TA_CENTER)
        f.ox = -f.w / 2.0;
    else if (align & TA_RIGHT)
        f.ox = -f.w;
    if ((align & TA_BASELINE) == TA_BASELINE)
        f.oy = -tm.tmAscent;
    else if (align & TA_BOTTOM)
        f.oy = -f.h;
    const double a = lf.lfEscapement * M_PI / 1800.0;
    f.c = std::cos(a);
    f.s = std::sin(a);
    return f;
}

}  // namespace

CPoint CPVXLabelSpacer::AwayFromAnchor(CDC* pDC, CPoint pt, UINT nAlign, double dAlong, double dAcross) {
    if (!pDC) return pt;
    const TextFrame f = FrameOf(pDC, CString(), nAlign);
    const double along = (nAlign & TA_CENTER) == TA_CENTER ? 0.0 : (nAlign & TA_RIGHT ? -dAlong : dAlong);
    const double up = (nAlign & TA_BASELINE) == TA_BASELINE ? 0.0 : (nAlign & TA_BOTTOM ? dAcross : -dAcross);
    // Along the text (c, -s); across it, toward its top, (-s, -c).
    pt.x += static_cast<int>(std::lround(f.h * (along * f.c - up * f.s)));
    pt.y += static_cast<int>(std::lround(f.h * (-along * f.s - up * f.c)));
    return pt;
}

BOOL CPVXLabelSpacer::TextOut(CDC* pDC, int x, int y, const CString& text) {
    if (!pDC) return FALSE;
    CPVXLabelSpacer* sp = s_pCurrent;
    if (!sp || text.IsEmpty()) return pDC->TextOut(x, y, text);

    // The box as the device context writes the text: its extent placed by the alignment, turned
    // by the font's escapement. A place is clear when the box lies within the DC's clip box and,
    // lengthened by a gap of its height at either end, meets no earlier label.
    const TextFrame f = FrameOf(pDC, text, pDC->GetTextAlign());
    const double w = f.w, h = f.h, c = f.c, s = f.s;
    RECT clip{};
    const bool bClip = pDC->GetClipBox(&clip) > NULLREGION;
    // The gap is kept whole: the boxes may share kTouch pixels and not meet.
    auto clear = [&](double px, double py, double g) {
        const Box b = BoxAt(px, py, w, h, f.ox, f.oy, c, s);
        if (bClip && (b.x0 < clip.left || b.y0 < clip.top || b.x1 > clip.right || b.y1 > clip.bottom)) return false;
        const double e = g > 0 ? g + kTouch : 0.0;
        if (!sp->IsClear(BoxAt(px, py, w + 2 * e, h, f.ox - e, f.oy, c, s))) return false;
        return g <= 0 || !sp->RunsIntoRow(b, kApart);
    };

    // Along the line of text: one height, then two ..., forwards, then back; where that finds no
    // place, the same again one line across, to either side, then two. A line across is the
    // height and the gap more, so that a label moved over its member's line stands clear of
    // those written on the other side, turned texts too. Where no place keeps kApart, one that
    // only keeps off the others is taken: touching reads better than lying over each other.
    int dx = 0, dy = 0;
    auto find = [&](double g) {
        if (clear(x, y, g)) return true;
        for (int across = 0; across <= kMaxAcross; ++across)
            for (int side = across ? -1 : 1; side <= 1; side += 2)
                for (int k = across ? 0 : 1; k <= 2 * kMaxSteps; ++k) {
                    const double d = ((k + 1) / 2) * h * (k % 2 ? 1.0 : -1.0), e = side * across * (h + g);
                    // Along the text (c, -s); across it, toward its top, (-s, -c).
                    const int tx = static_cast<int>(std::lround(d * c - e * s));
                    const int ty = static_cast<int>(std::lround(-d * s - e * c));
                    if (clear(x + tx, y + ty, g)) {
                        dx = tx;
                        dy = ty;
                        return true;
                    }
                }
        return false;
    };
    if (!find(kApart * h)) find(0.0);
    sp->Add(BoxAt(x + dx, y + dy, w, h, f.ox, f.oy, c, s));
    return pDC->TextOut(x + dx, y + dy, text);
}
