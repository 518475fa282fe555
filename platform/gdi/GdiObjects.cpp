#include "platform/gdi/GdiObjects.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <unordered_set>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/PictureMemory.h"
#include "platform/gdi/CGdiObject.h"

namespace {

std::mutex& TableMutex() {
    static std::mutex m;
    return m;
}
std::unordered_set<HGDIOBJ__*>& Table() {
    static std::unordered_set<HGDIOBJ__*> t;
    return t;
}

// Handles are looked up again and again (a DC's pens and brushes are selected a hundred
// thousand times a frame): each thread keeps its latest answers, valid until an object is freed
// (the count of frees moves on and every thread's answers are dropped).
std::atomic<std::uint64_t> g_freed{0};

struct LookupCache {
    static constexpr size_t kSlots = 16;
    std::uint64_t freed = ~std::uint64_t{0};
    HGDIOBJ handle[kSlots] = {};
    HGDIOBJ__* obj[kSlots] = {};
};
thread_local LookupCache t_lookups;

void FreeObject(HGDIOBJ__* obj) {
    {
        std::lock_guard<std::mutex> lock(TableMutex());
        Table().erase(obj);
        g_freed.fetch_add(1, std::memory_order_release);
    }
    if (obj->m_pPermanent) obj->m_pPermanent->m_hObject = nullptr;
    delete obj;
}

uint32_t FromQuad(const RGBQUAD& q) {
    return (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
}

// Pixel x of a DIB row of bpp bits (1, 4, 8, 16 as 5-5-5, 24, 32) as 0x00RRGGBB; an index
// beyond the colour table is black.
uint32_t DibPixel(const BYTE* row, int x, int bpp, const RGBQUAD* colors, size_t ncolors) {
    switch (bpp) {
    case 32: return (uint32_t(row[4 * x + 2]) << 16) | (uint32_t(row[4 * x + 1]) << 8) | row[4 * x];
    case 24: return (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
    case 16: {
        const unsigned w = row[2 * x] | (unsigned(row[2 * x + 1]) << 8);
        const unsigned r = (w >> 10) & 31, g = (w >> 5) & 31, b = w & 31;
        return (((r << 3) | (r >> 2)) << 16) | (((g << 3) | (g >> 2)) << 8) | ((b << 3) | (b >> 2));
    }
    default: {
        size_t idx;
        if (bpp == 8) idx = row[x];
        else if (bpp == 4) idx = (row[x / 2] >> ((x & 1) ? 0 : 4)) & 15;
        else idx = (row[x / 8] >> (7 - (x & 7))) & 1;
        return idx < ncolors ? FromQuad(colors[idx]) : 0;
    }
    }
}

}  // namespace

HGDIOBJ__::~HGDIOBJ__() {
    if (m_pTemp) {
        m_pTemp->m_hObject = nullptr;  // a temporary wrapper never owns the handle
        delete m_pTemp;
    }
}

void GdiRegisterObject(HGDIOBJ__* obj) {
    std::lock_guard<std::mutex> lock(TableMutex());
    Table().insert(obj);
}

HGDIOBJ__* GdiLookup(HGDIOBJ h, int type) {
    if (!h) return nullptr;
    LookupCache& c = t_lookups;
    const std::uint64_t freed = g_freed.load(std::memory_order_acquire);
    if (c.freed != freed) {
        c = LookupCache();
        c.freed = freed;
    }
    const size_t slot = (reinterpret_cast<std::uintptr_t>(h) >> 4) % LookupCache::kSlots;
    HGDIOBJ__* obj = nullptr;
    if (c.handle[slot] == h) {
        obj = c.obj[slot];
    } else {
        std::lock_guard<std::mutex> lock(TableMutex());
        auto it = Table().find(h);
        if (it == Table().end()) return nullptr;
        obj = *it;
        // Kept only while nothing was freed since the count was read above.
        if (g_freed.load(std::memory_order_relaxed) == freed) {
            c.handle[slot] = h;
            c.obj[slot] = obj;
        }
    }
    if (type && obj->m_nType != type) return nullptr;
    return obj;
}

void GdiAddRef(HGDIOBJ__* obj) {
    obj->m_nRefs.fetch_add(1);
}

void GdiRelease(HGDIOBJ__* obj) {
    if (obj->m_nRefs.fetch_sub(1) == 1 && !obj->m_bStock) FreeObject(obj);
}

// ---- bitmaps -----------------------------------------------------------------------------

GdiBitmapObject::~GdiBitmapObject() {
    if (m_pSurface) cairo_surface_destroy(m_pSurface);
    FreePictureMemory(m_pBits, m_nStride * static_cast<size_t>(m_nHeight));
}

uint32_t* GdiBitmapObject::Row(int y) const {
    unsigned char* data = cairo_image_surface_get_data(m_pSurface);
    return reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * cairo_image_surface_get_stride(m_pSurface));
}

COLORREF GdiBitmapObject::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return CLR_INVALID;
    cairo_surface_flush(m_pSurface);
    const uint32_t v = Row(y)[x];
    return RGB((v >> 16) & 0xff, (v >> 8) & 0xff, v & 0xff);
}

void GdiBitmapObject::SetPixel(int x, int y, COLORREF c) {
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
    cairo_surface_flush(m_pSurface);
    Row(y)[x] = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
    cairo_surface_mark_dirty_rectangle(m_pSurface, x, y, 1, 1);
}

BYTE GdiBitmapObject::NearestIndex(uint32_t rgb) {
    auto it = m_nearest.find(rgb);
    if (it != m_nearest.end()) return it->second;
    const int r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
    int best = 0;
    long bestD = -1;
    for (size_t i = 0; i < m_palette.size(); ++i) {
        const RGBQUAD& q = m_palette[i];
        const long d = long(q.rgbRed - r) * (q.rgbRed - r) + long(q.rgbGreen - g) * (q.rgbGreen - g) +
                       long(q.rgbBlue - b) * (q.rgbBlue - b);
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = static_cast<int>(i);
        }
    }
    if (m_nearest.size() > 65536) m_nearest.clear();
    m_nearest[rgb] = static_cast<BYTE>(best);
    return static_cast<BYTE>(best);
}

static bool ClipToBitmap(const GdiBitmapObject& bm, const RECT& r, RECT& out) {
    out.left = std::max<LONG>(r.left, 0);
    out.top = std::max<LONG>(r.top, 0);
    out.right = std::min<LONG>(r.right, bm.m_nWidth);
    out.bottom = std::min<LONG>(r.bottom, bm.m_nHeight);
    return out.left < out.right && out.top < out.bottom;
}

void GdiBitmapObject::SyncIn(const RECT& area) {
    if (!m_bDib || !m_pBits) return;
    RECT r;
    if (!ClipToBitmap(*this, area, r)) return;
    cairo_surface_flush(m_pSurface);
    const bool bottomUp = m_bih.biHeight > 0;
    const int bpp = m_nBitsPixel;
    for (int y = r.top; y < r.bottom; ++y) {
        const BYTE* src = m_pBits + m_nStride * static_cast<size_t>(bottomUp ? m_nHeight - 1 - y : y);
        uint32_t* dst = Row(y);
        for (int x = r.left; x < r.right; ++x) dst[x] = DibPixel(src, x, bpp, m_palette.data(), m_palette.size());
    }
    cairo_surface_mark_dirty_rectangle(m_pSurface, r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void GdiBitmapObject::SyncOut(const RECT& area) {
    RECT r;
    if (!ClipToBitmap(*this, area, r)) return;
    if (!m_bDib) {
        if (!IsMono()) return;
        cairo_surface_flush(m_pSurface);
        for (int y = r.top; y < r.bottom; ++y) {
            uint32_t* row = Row(y);
            for (int x = r.left; x < r.right; ++x) row[x] = GdiLuma(row[x]) >= 128 ? 0xffffff : 0;
        }
        cairo_surface_mark_dirty_rectangle(m_pSurface, r.left, r.top, r.right - r.left, r.bottom - r.top);
        return;
    }
    if (!m_pBits) return;
    cairo_surface_flush(m_pSurface);
    const bool bottomUp = m_bih.biHeight > 0;
    const int bpp = m_nBitsPixel;
    for (int y = r.top; y < r.bottom; ++y) {
        BYTE* dst = m_pBits + m_nStride * static_cast<size_t>(bottomUp ? m_nHeight - 1 - y : y);
        const uint32_t* src = Row(y);
        for (int x = r.left; x < r.right; ++x) {
            const uint32_t v = src[x] & 0xffffff;
            const BYTE R = (v >> 16) & 0xff, G = (v >> 8) & 0xff, B = v & 0xff;
            switch (bpp) {
            case 32: dst[4 * x] = B; dst[4 * x + 1] = G; dst[4 * x + 2] = R; dst[4 * x + 3] = 0; break;
            case 24: dst[3 * x] = B; dst[3 * x + 1] = G; dst[3 * x + 2] = R; break;
            case 16: {
                const unsigned w = (unsigned(R >> 3) << 10) | (unsigned(G >> 3) << 5) | unsigned(B >> 3);
                dst[2 * x] = static_cast<BYTE>(w & 0xff);
                dst[2 * x + 1] = static_cast<BYTE>(w >> 8);
                break;
            }
            case 8: dst[x] = NearestIndex(v); break;
            case 4: {
                const BYTE idx = NearestIndex(v) & 15;
                BYTE& b = dst[x / 2];
                b = (x & 1) ? static_cast<BYTE>((b & 0xf0) | idx) : static_cast<BYTE>((b & 0x0f) | (idx << 4));
                break;
            }
            default: {
                const BYTE idx = NearestIndex(v) & 1;
                BYTE& b = dst[x / 8];
                const BYTE bit = static_cast<BYTE>(0x80 >> (x & 7));
                b = idx ? (b | bit) : (b & ~bit);
            }
            }
        }
    }
    // The surface keeps the colours the memory can hold, so reading back is exact.
    if (bpp <= 16) SyncIn(r);
}

namespace {

// A bitmap's surface over picture memory, given back when the surface goes.
struct SurfaceMemory {
    void* p;
    size_t n;
};
const cairo_user_data_key_t kSurfaceMemory{};

cairo_surface_t* NewPictureSurface(int width, int height) {
    const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
    const size_t n = static_cast<size_t>(stride) * static_cast<size_t>(height);
    auto* memory = new (std::nothrow) SurfaceMemory{AllocPictureMemory(n), n};
    if (!memory || !memory->p) {
        delete memory;
        return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);  // tells the failure
    }
    cairo_surface_t* s =
        cairo_image_surface_create_for_data(static_cast<unsigned char*>(memory->p), CAIRO_FORMAT_RGB24, width, height, stride);
    const auto release = [](void* data) {
        auto* m = static_cast<SurfaceMemory*>(data);
        FreePictureMemory(m->p, m->n);
        delete m;
    };
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(s, &kSurfaceMemory, memory, release) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        release(memory);
        return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    }
    return s;
}

}  // namespace

GdiBitmapObject* GdiNewBitmap(int width, int height, int bitsPixel) {
    if (width <= 0 || height <= 0 || width > 32767 || height > 32767) {
        AfxDiagnostic("gdi", "cannot create a %d x %d bitmap: each side must be 1 to 32767 pixels", width, height);
        return nullptr;
    }
    cairo_surface_t* s = NewPictureSurface(width, height);
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        AfxDiagnostic("gdi", "cannot create a %d x %d bitmap: %s", width, height,
                      cairo_status_to_string(cairo_surface_status(s)));
        cairo_surface_destroy(s);
        return nullptr;
    }
    auto* bm = new GdiBitmapObject;
    bm->m_nWidth = width;
    bm->m_nHeight = height;
    bm->m_nBitsPixel = bitsPixel;
    bm->m_pSurface = s;
    GdiRegisterObject(bm);
    return bm;
}

// Reads a DIB's pixel rows into 0x00RRGGBB values, top-down.
bool GdiReadDib(const void* bits, const BITMAPINFO* bmi, std::vector<uint32_t>& out, int& w, int& h) {
    const BITMAPINFOHEADER& hd = bmi->bmiHeader;
    const int bpp = hd.biBitCount;
    if (hd.biCompression != BI_RGB || (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
        return false;
    w = hd.biWidth;
    h = hd.biHeight < 0 ? -hd.biHeight : hd.biHeight;
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767) return false;
    const bool bottomUp = hd.biHeight > 0;
    const size_t stride = ((static_cast<size_t>(w) * bpp + 31) / 32) * 4;
    const BYTE* base = static_cast<const BYTE*>(bits);
    const int ncolors = bpp <= 8 ? (hd.biClrUsed && hd.biClrUsed <= (1u << bpp) ? int(hd.biClrUsed) : (1 << bpp)) : 0;
    try {
        out.resize(static_cast<size_t>(w) * h);
    } catch (const std::bad_alloc&) {
        AfxDiagnostic("gdi", "out of memory reading a %d x %d DIB", w, h);
        return false;
    }
    for (int y = 0; y < h; ++y) {
        const BYTE* row = base + stride * static_cast<size_t>(bottomUp ? h - 1 - y : y);
        uint32_t* dst = &out[static_cast<size_t>(y) * w];
        for (int x = 0; x < w; ++x) dst[x] = DibPixel(row, x, bpp, bmi->bmiColors, static_cast<size_t>(ncolors));
    }
    return true;
}

// ---- stock objects -----------------------------------------------------------------------

namespace {

HGDIOBJ__* MakeStock(int index) {
    HGDIOBJ__* obj = nullptr;
    auto brush = [](UINT style, COLORREF c) {
        auto* b = new GdiBrushObject;
        b->lb = LOGBRUSH{style, c, 0};
        return b;
    };
    auto pen = [](UINT style, COLORREF c) {
        auto* p = new GdiPenObject;
        p->lp = LOGPEN{style, POINT{0, 0}, c};
        return p;
    };
    auto font = [](int height, const char* face) {
        auto* f = new GdiFontObject;
        f->lf.lfHeight = height;
        f->lf.lfWeight = FW_NORMAL;
        f->lf.lfCharSet = DEFAULT_CHARSET;
        std::snprintf(f->lf.lfFaceName, LF_FACESIZE, "%s", face);
        return f;
    };
    switch (index) {
    case WHITE_BRUSH: obj = brush(BS_SOLID, RGB(255, 255, 255)); break;
    case LTGRAY_BRUSH: obj = brush(BS_SOLID, RGB(192, 192, 192)); break;
    case GRAY_BRUSH: obj = brush(BS_SOLID, RGB(128, 128, 128)); break;
    case DKGRAY_BRUSH: obj = brush(BS_SOLID, RGB(64, 64, 64)); break;
    case BLACK_BRUSH: obj = brush(BS_SOLID, RGB(0, 0, 0)); break;
    case NULL_BRUSH: obj = brush(BS_NULL, 0); break;
    case DC_BRUSH: obj = brush(BS_SOLID, RGB(255, 255, 255)); break;
    case WHITE_PEN: obj = pen(PS_SOLID, RGB(255, 255, 255)); break;
    case BLACK_PEN: obj = pen(PS_SOLID, RGB(0, 0, 0)); break;
    case NULL_PEN: obj = pen(PS_NULL, 0); break;
    case DC_PEN: obj = pen(PS_SOLID, RGB(0, 0, 0)); break;
    case SYSTEM_FONT: obj = font(-16, "System"); break;
    case DEVICE_DEFAULT_FONT: obj = font(-16, "System"); break;
    case ANSI_VAR_FONT: obj = font(-13, "MS Sans Serif"); break;
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case SYSTEM_FIXED_FONT: obj = font(-13, "Courier New"); break;
    case DEFAULT_GUI_FONT: obj = font(-12, "SimSun"); break;
    default: return nullptr;
    }
    obj->m_bStock = true;
    GdiRegisterObject(obj);
    return obj;
}

}  // namespace

HGDIOBJ GetStockObject(int index) {
    static HGDIOBJ__* stock[DC_PEN + 1] = {};
    static std::once_flag once;
    std::call_once(once, [] {
        for (int i = 0; i <= DC_PEN; ++i) stock[i] = MakeStock(i);
    });
    if (index < 0 || index > DC_PEN) return nullptr;
    return stock[index];
}

// ---- object calls ------------------------------------------------------------------------

int MulDiv(int a, int b, int c) {
    if (c == 0) return -1;
    const long long num = static_cast<long long>(a) * b;
    long long q = num / c;
    const long long rem = num % c;
    // Round half away from zero.
    if (2 * (rem < 0 ? -rem : rem) >= (c < 0 ? -static_cast<long long>(c) : c)) q += ((num < 0) != (c < 0)) ? -1 : 1;
    if (q > INT32_MAX || q < INT32_MIN) return -1;
    return static_cast<int>(q);
}

BOOL DeleteObject(HGDIOBJ h) {
    HGDIOBJ__* obj = GdiLookup(h);
    if (!obj) return FALSE;
    if (obj->m_bStock) return TRUE;
    if (obj->m_bDeletePending.exchange(true)) return FALSE;  // already deleted, waiting for a DC
    const bool inUse = obj->m_nRefs.load() > 1;
    obj->m_pPermanent = nullptr;
    GdiRelease(obj);
    // Still selected into a DC: refused as the platform does, freed when the DC lets it go.
    return inUse ? FALSE : TRUE;
}

int GetObjectType(HGDIOBJ h) {
    HGDIOBJ__* obj = GdiLookup(h);
    return obj ? obj->m_nType : 0;
}

int GetObject(HGDIOBJ h, int cb, void* buf) {
    HGDIOBJ__* obj = GdiLookup(h);
    if (!obj) return 0;
    auto copy = [&](const void* src, int size) {
        if (!buf) return size;
        const int n = std::min(cb, size);
        if (n <= 0) return 0;
        std::memcpy(buf, src, static_cast<size_t>(n));
        return n;
    };
    switch (obj->m_nType) {
    case OBJ_PEN: return copy(&static_cast<GdiPenObject*>(obj)->lp, sizeof(LOGPEN));
    case OBJ_BRUSH: return copy(&static_cast<GdiBrushObject*>(obj)->lb, sizeof(LOGBRUSH));
    case OBJ_FONT: return copy(&static_cast<GdiFontObject*>(obj)->lf, sizeof(LOGFONT));
    case OBJ_BITMAP: {
        auto* bm = static_cast<GdiBitmapObject*>(obj);
        DIBSECTION ds{};
        ds.dsBm.bmWidth = bm->m_nWidth;
        ds.dsBm.bmHeight = bm->m_nHeight;
        ds.dsBm.bmPlanes = 1;
        ds.dsBm.bmBitsPixel = static_cast<WORD>(bm->m_nBitsPixel);
        if (bm->m_bDib) {
            ds.dsBm.bmWidthBytes = static_cast<LONG>(bm->m_nStride);
            ds.dsBm.bmBits = bm->m_pBits;
            ds.dsBmih = bm->m_bih;
            ds.dsBmih.biSizeImage = static_cast<DWORD>(bm->m_nStride * bm->m_nHeight);
        } else {
            ds.dsBm.bmWidthBytes = ((bm->m_nWidth * bm->m_nBitsPixel + 15) / 16) * 2;
        }
        if (bm->m_bDib && (!buf || cb >= static_cast<int>(sizeof(DIBSECTION)))) return copy(&ds, sizeof(DIBSECTION));
        return copy(&ds.dsBm, sizeof(BITMAP));
    }
    default: return 0;
    }
}

HPEN CreatePen(int style, int width, COLORREF color) {
    const LOGPEN lp{static_cast<UINT>(style), POINT{width, 0}, color};
    return CreatePenIndirect(&lp);
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
    if (!lp || (lp->lopnStyle & PS_STYLE_MASK) > PS_INSIDEFRAME) return nullptr;
    auto* p = new GdiPenObject;
    p->lp = *lp;
    if (p->lp.lopnWidth.x < 0) p->lp.lopnWidth.x = -p->lp.lopnWidth.x;
    p->lp.lopnWidth.y = 0;
    GdiRegisterObject(p);
    return p;
}

HBRUSH CreateSolidBrush(COLORREF color) {
    const LOGBRUSH lb{BS_SOLID, color, 0};
    return CreateBrushIndirect(&lb);
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
    const LOGBRUSH lb{BS_HATCHED, color, static_cast<ULONG>(hatch)};
    return CreateBrushIndirect(&lb);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
    if (!lb || lb->lbStyle > BS_HATCHED) return nullptr;
    if (lb->lbStyle == BS_HATCHED && lb->lbHatch > HS_DIAGCROSS) return nullptr;
    auto* b = new GdiBrushObject;
    b->lb = *lb;
    GdiRegisterObject(b);
    return b;
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
    if (!lf) return nullptr;
    auto* f = new GdiFontObject;
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = '\0';
    GdiRegisterObject(f);
    return f;
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    if (planes != 1) return nullptr;
    GdiBitmapObject* bm = GdiNewBitmap(width, height, bitCount == 1 ? 1 : 32);
    if (!bm) return nullptr;
    if (bits) {
        const BYTE* src = static_cast<const BYTE*>(bits);
        if (bitCount == 1) {
            const size_t stride = ((static_cast<size_t>(width) + 15) / 16) * 2;
            for (int y = 0; y < height; ++y) {
                uint32_t* row = bm->Row(y);
                for (int x = 0; x < width; ++x)
                    row[x] = (src[stride * y + x / 8] >> (7 - (x & 7))) & 1 ? 0xffffff : 0;
            }
        } else if (bitCount == 32) {
            for (int y = 0; y < height; ++y)
                std::memcpy(bm->Row(y), src + static_cast<size_t>(y) * width * 4, static_cast<size_t>(width) * 4);
        }
        cairo_surface_mark_dirty(bm->m_pSurface);
    }
    return bm;
}

HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset) {
    if (bits) *bits = nullptr;
    if (!bmi) return nullptr;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    const int bpp = h.biBitCount;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biCompression != BI_RGB || usage != DIB_RGB_COLORS ||
        (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) || h.biPlanes != 1 ||
        section != nullptr) {
        AfxDiagnostic("gdi", "CreateDIBSection supports BI_RGB DIBs of 1, 4, 8, 16, 24 or 32 bits with "
                             "DIB_RGB_COLORS and no file section");
        return nullptr;
    }
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    GdiBitmapObject* bm = GdiNewBitmap(width, height, bpp);
    if (!bm) return nullptr;
    bm->m_bDib = true;
    bm->m_bih = h;
    bm->m_bih.biSize = sizeof(BITMAPINFOHEADER);
    bm->m_nStride = ((static_cast<size_t>(width) * bpp + 31) / 32) * 4;
    bm->m_bih.biSizeImage = static_cast<DWORD>(bm->m_nStride * height);
    bm->m_pBits = static_cast<BYTE*>(AllocPictureMemory(bm->m_nStride * height));  // zeroed, as the system's are
    if (!bm->m_pBits) {
        AfxDiagnostic("gdi", "out of memory for a %d x %d DIB section", width, height);
        DeleteObject(bm);
        return nullptr;
    }
    if (bpp <= 8) {
        const size_t n = size_t(1) << bpp;
        const size_t used = h.biClrUsed && h.biClrUsed <= n ? h.biClrUsed : n;
        bm->m_palette.assign(n, RGBQUAD{0, 0, 0, 0});
        for (size_t i = 0; i < used; ++i) bm->m_palette[i] = bmi->bmiColors[i];
    }
    // Zero pixels of 16 bits and more are black, as the new surface already is.
    if (bpp <= 8) bm->SyncIn(bm->Bounds());
    if (bits) *bits = bm->m_pBits;
    return bm;
}

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    auto* r = new GdiRegionObject;
    r->rgn.SetRect(RECT{left, top, right, bottom});
    GdiRegisterObject(r);
    return r;
}

HRGN CreateRectRgnIndirect(const RECT* r) {
    return r ? CreateRectRgn(r->left, r->top, r->right, r->bottom) : nullptr;
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
    auto* r = new GdiRegionObject;
    r->rgn.SetEllipse(RECT{left, top, right, bottom});
    GdiRegisterObject(r);
    return r;
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
    if (!pts || count < 2 || (fillMode != ALTERNATE && fillMode != WINDING)) return nullptr;
    auto* r = new GdiRegionObject;
    r->rgn.SetPolygon(pts, count, fillMode);
    GdiRegisterObject(r);
    return r;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
    auto* d = static_cast<GdiRegionObject*>(GdiLookup(dest, OBJ_REGION));
    auto* a = static_cast<GdiRegionObject*>(GdiLookup(src1, OBJ_REGION));
    auto* b = static_cast<GdiRegionObject*>(GdiLookup(src2, OBJ_REGION));
    if (!d || !a || (mode != RGN_COPY && !b)) return ERROR;
    GdiRegion result;
    const int kind = result.Combine(a->rgn, b ? b->rgn : a->rgn, mode);
    if (kind == ERROR) return ERROR;
    d->rgn = result;
    return kind;
}

BOOL PtInRegion(HRGN h, int x, int y) {
    auto* r = static_cast<GdiRegionObject*>(GdiLookup(h, OBJ_REGION));
    return r ? r->rgn.Contains(x, y) : FALSE;
}

int GetRgnBox(HRGN h, RECT* box) {
    auto* r = static_cast<GdiRegionObject*>(GdiLookup(h, OBJ_REGION));
    if (!r) return ERROR;
    return r->rgn.GetBox(box);
}

BOOL GdiFlush() {
    return TRUE;
}

UINT GetSystemPaletteEntries(HDC, UINT start, UINT count, PALETTEENTRY* entries) {
    static const BYTE low[10][3] = {{0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},
                                    {0, 0, 128},   {128, 0, 128},   {0, 128, 128},   {192, 192, 192},
                                    {192, 220, 192}, {166, 202, 240}};
    static const BYTE high[10][3] = {{255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},
                                     {0, 255, 0},     {255, 255, 0},   {0, 0, 255},     {255, 0, 255},
                                     {0, 255, 255},   {255, 255, 255}};
    if (start >= 256) return 0;
    if (!entries) return 256;
    const UINT n = std::min<UINT>(count, 256 - start);
    for (UINT k = 0; k < n; ++k) {
        const UINT i = start + k;
        BYTE r, g, b;
        if (i < 10) {
            r = low[i][0]; g = low[i][1]; b = low[i][2];
        } else if (i >= 246) {
            r = high[i - 246][0]; g = high[i - 246][1]; b = high[i - 246][2];
        } else if (i < 226) {
            const UINT c = i - 10;  // 6 x 6 x 6 colour cube
            r = static_cast<BYTE>((c / 36) * 51);
            g = static_cast<BYTE>(((c / 6) % 6) * 51);
            b = static_cast<BYTE>((c % 6) * 51);
        } else {
            r = g = b = static_cast<BYTE>(8 + (i - 226) * 12);  // grey ramp between the cube's greys
        }
        entries[k] = PALETTEENTRY{r, g, b, 0};
    }
    return n;
}
