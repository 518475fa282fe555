#include "platform/gdi/CGdiObject.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/gdi/CDC.h"
#include "platform/gdi/GdiObjects.h"

namespace {
std::mutex& WrapperMutex() {
    static std::mutex m;
    return m;
}
}  // namespace

CGdiObject::~CGdiObject() {
    if (m_hObject) DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ h) {
    HGDIOBJ__* obj = GdiLookup(h);
    if (!obj) return nullptr;
    std::lock_guard<std::mutex> lock(WrapperMutex());
    if (obj->m_pPermanent) return obj->m_pPermanent;
    if (!obj->m_pTemp) {
        CGdiObject* w = nullptr;
        switch (obj->m_nType) {
        case OBJ_PEN: w = new CPen; break;
        case OBJ_BRUSH: w = new CBrush; break;
        case OBJ_FONT: w = new CFont; break;
        case OBJ_BITMAP: w = new CBitmap; break;
        case OBJ_REGION: w = new CRgn; break;
        default: w = new CGdiObject; break;
        }
        w->m_hObject = h;
        obj->m_pTemp = w;
    }
    return obj->m_pTemp;
}

BOOL CGdiObject::Attach(HGDIOBJ h) {
    if (m_hObject || !h) return FALSE;
    HGDIOBJ__* obj = GdiLookup(h);
    if (!obj) return FALSE;
    std::lock_guard<std::mutex> lock(WrapperMutex());
    m_hObject = h;
    if (!obj->m_bStock) obj->m_pPermanent = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (!h) return nullptr;
    if (HGDIOBJ__* obj = GdiLookup(h)) {
        std::lock_guard<std::mutex> lock(WrapperMutex());
        if (obj->m_pPermanent == this) obj->m_pPermanent = nullptr;
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject) return FALSE;
    HGDIOBJ__* obj = GdiLookup(m_hObject);
    if (obj && obj->m_pTemp == this) return FALSE;  // temporary wrappers do not own their handle
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index) {
    HGDIOBJ h = GetStockObject(index);
    return h ? Attach(h) : FALSE;
}

int CGdiObject::GetObject(int count, LPVOID buf) const {
    return ::GetObject(m_hObject, count, buf);
}

UINT CGdiObject::GetObjectType() const {
    return static_cast<UINT>(::GetObjectType(m_hObject));
}

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    return m_hObject ? FALSE : Attach(::CreatePen(style, width, color));
}

BOOL CPen::CreatePenIndirect(const LOGPEN* lp) {
    return m_hObject ? FALSE : Attach(::CreatePenIndirect(lp));
}

BOOL CBrush::CreateSolidBrush(COLORREF color) {
    return m_hObject ? FALSE : Attach(::CreateSolidBrush(color));
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) {
    return m_hObject ? FALSE : Attach(::CreateHatchBrush(hatch, color));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lb) {
    return m_hObject ? FALSE : Attach(::CreateBrushIndirect(lb));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lf) {
    return m_hObject ? FALSE : Attach(::CreateFontIndirect(lf));
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                       BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision,
                       BYTE quality, BYTE pitchAndFamily, LPCTSTR faceName) {
    LOGFONT lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = escapement;
    lf.lfOrientation = orientation;
    lf.lfWeight = weight;
    lf.lfItalic = italic;
    lf.lfUnderline = underline;
    lf.lfStrikeOut = strikeOut;
    lf.lfCharSet = charSet;
    lf.lfOutPrecision = outPrecision;
    lf.lfClipPrecision = clipPrecision;
    lf.lfQuality = quality;
    lf.lfPitchAndFamily = pitchAndFamily;
    if (faceName) std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", faceName);
    return CreateFontIndirect(&lf);
}

BOOL CFont::CreatePointFont(int pointSize, LPCTSTR faceName, CDC* dc) {
    LOGFONT lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = pointSize;
    if (faceName) std::snprintf(lf.lfFaceName, LF_FACESIZE, "%s", faceName);
    return CreatePointFontIndirect(&lf, dc);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lf, CDC* dc) {
    if (!lf) return FALSE;
    LOGFONT copy = *lf;
    const int dpi = dc && dc->GetSafeHdc() ? dc->GetDeviceCaps(LOGPIXELSY) : 96;
    const int px = MulDiv(lf->lfHeight, dpi, 720);
    copy.lfHeight = -(px < 0 ? -px : px);
    return CreateFontIndirect(&copy);
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits) {
    return m_hObject ? FALSE : Attach(::CreateBitmap(width, height, planes, bitCount, bits));
}

BOOL CBitmap::CreateBitmapIndirect(const BITMAP* bm) {
    if (!bm) return FALSE;
    return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return m_hObject ? FALSE : Attach(::CreateCompatibleBitmap(dc ? dc->GetSafeHdc() : nullptr, width, height));
}

DWORD CBitmap::GetBitmapBits(DWORD count, LPVOID bits) const {
    auto* bm = static_cast<GdiBitmapObject*>(GdiLookup(m_hObject, OBJ_BITMAP));
    if (!bm || !bits) return 0;
    bm->SyncIn(bm->Bounds());
    cairo_surface_flush(bm->m_pSurface);
    BYTE* out = static_cast<BYTE*>(bits);
    DWORD written = 0;
    if (bm->IsMono()) {
        const DWORD stride = static_cast<DWORD>(((bm->m_nWidth + 15) / 16) * 2);
        for (int y = 0; y < bm->m_nHeight && written + stride <= count; ++y) {
            std::memset(out + written, 0, stride);
            const uint32_t* row = bm->Row(y);
            for (int x = 0; x < bm->m_nWidth; ++x)
                if (row[x] & 0xffffff) out[written + x / 8] |= static_cast<BYTE>(0x80 >> (x & 7));
            written += stride;
        }
    } else {
        const DWORD stride = static_cast<DWORD>(bm->m_nWidth) * 4;
        for (int y = 0; y < bm->m_nHeight && written + stride <= count; ++y) {
            std::memcpy(out + written, bm->Row(y), stride);
            written += stride;
        }
    }
    return written;
}

DWORD CBitmap::SetBitmapBits(DWORD count, const void* bits) {
    auto* bm = static_cast<GdiBitmapObject*>(GdiLookup(m_hObject, OBJ_BITMAP));
    if (!bm || !bits) return 0;
    cairo_surface_flush(bm->m_pSurface);
    const BYTE* in = static_cast<const BYTE*>(bits);
    DWORD read = 0;
    if (bm->IsMono()) {
        const DWORD stride = static_cast<DWORD>(((bm->m_nWidth + 15) / 16) * 2);
        for (int y = 0; y < bm->m_nHeight && read + stride <= count; ++y) {
            uint32_t* row = bm->Row(y);
            for (int x = 0; x < bm->m_nWidth; ++x)
                row[x] = (in[read + x / 8] >> (7 - (x & 7))) & 1 ? 0xffffff : 0;
            read += stride;
        }
    } else {
        const DWORD stride = static_cast<DWORD>(bm->m_nWidth) * 4;
        for (int y = 0; y < bm->m_nHeight && read + stride <= count; ++y) {
            std::memcpy(bm->Row(y), in + read, stride);
            read += stride;
        }
    }
    cairo_surface_mark_dirty(bm->m_pSurface);
    bm->SyncOut(bm->Bounds());
    return read;
}

CSize CBitmap::GetBitmapDimension() const {
    return CSize(0, 0);  // the 0.1 mm dimension is never set by this system
}

BOOL CRgn::CreateRectRgn(int l, int t, int r, int b) {
    return m_hObject ? FALSE : Attach(::CreateRectRgn(l, t, r, b));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT r) {
    return m_hObject || !r ? FALSE : Attach(::CreateRectRgnIndirect(r));
}

BOOL CRgn::CreateEllipticRgn(int l, int t, int r, int b) {
    return m_hObject ? FALSE : Attach(::CreateEllipticRgn(l, t, r, b));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT r) {
    return r ? CreateEllipticRgn(r->left, r->top, r->right, r->bottom) : FALSE;
}

BOOL CRgn::CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
    return m_hObject ? FALSE : Attach(::CreatePolygonRgn(pts, count, fillMode));
}

BOOL CRgn::CreatePolyPolygonRgn(const POINT* pts, const int* counts, int polys, int fillMode) {
    if (m_hObject || !pts || !counts || polys <= 0 || (fillMode != ALTERNATE && fillMode != WINDING)) return FALSE;
    auto* r = new GdiRegionObject;
    r->rgn.SetPolyPolygon(pts, counts, polys, fillMode);
    GdiRegisterObject(r);
    return Attach(r);
}

int CRgn::CombineRgn(const CRgn* a, const CRgn* b, int mode) {
    return ::CombineRgn(m_hObject, a ? a->m_hObject : nullptr, b ? b->m_hObject : nullptr, mode);
}

int CRgn::CopyRgn(const CRgn* src) {
    return ::CombineRgn(m_hObject, src ? src->m_hObject : nullptr, nullptr, RGN_COPY);
}

BOOL CRgn::PtInRegion(int x, int y) const {
    return ::PtInRegion(m_hObject, x, y);
}

int CRgn::GetRgnBox(LPRECT r) const {
    return ::GetRgnBox(m_hObject, r);
}

int CRgn::OffsetRgn(int dx, int dy) {
    auto* r = static_cast<GdiRegionObject*>(GdiLookup(m_hObject, OBJ_REGION));
    if (!r) return ERROR;
    r->rgn.Offset(dx, dy);
    return r->rgn.Kind();
}

BOOL CRgn::EqualRgn(const CRgn* other) const {
    auto* a = static_cast<GdiRegionObject*>(GdiLookup(m_hObject, OBJ_REGION));
    auto* b = static_cast<GdiRegionObject*>(GdiLookup(other ? other->m_hObject : nullptr, OBJ_REGION));
    return a && b && a->rgn == b->rgn;
}

void CRgn::SetRectRgn(int l, int t, int r, int b) {
    if (auto* rg = static_cast<GdiRegionObject*>(GdiLookup(m_hObject, OBJ_REGION))) rg->rgn.SetRect(RECT{l, t, r, b});
}
