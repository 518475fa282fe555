#include "platform/gdi/CDC.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <map>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/gdi/DCBackend.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gdi/RasterBackend.h"

namespace {
enum DCKind { kMemoryDC, kDisplayDC, kBackendDC };
}

// The device context behind an HDC.
struct HDC__ {
    DCState st;
    std::vector<DCState> saved;              // SaveDC stack, oldest first
    std::unique_ptr<DCBackend> backend;
    std::map<int, int> caps;                 // SetDeviceCaps overrides
    int kind = kMemoryDC;
    GdiRef<GdiBitmapObject> ownBitmap;       // initial 1x1 bitmap or display surface, kept for reselection
    CDC* permanent = nullptr;
    CDC* temp = nullptr;                     // wrapper made by FromHandle, owned

    ~HDC__() {
        if (temp) {
            temp->m_hDC = nullptr;
            temp->m_hAttribDC = nullptr;
            delete temp;
        }
    }
};

namespace {

std::mutex& DcMutex() {
    static std::mutex m;
    return m;
}
std::unordered_set<HDC__*>& DcTable() {
    static std::unordered_set<HDC__*> t;
    return t;
}

// A thread's latest valid DC, kept until a DC is freed (the count of frees moves on): drawing
// calls look their DC up a million times a frame.
std::atomic<std::uint64_t> g_dcsFreed{0};
struct DcLookup {
    std::uint64_t freed = ~std::uint64_t{0};
    HDC h = nullptr;
};
thread_local DcLookup t_dc;

HDC__* LookupDC(HDC h) {
    if (!h) return nullptr;
    const std::uint64_t freed = g_dcsFreed.load(std::memory_order_acquire);
    if (t_dc.h == h && t_dc.freed == freed) return h;
    std::lock_guard<std::mutex> lock(DcMutex());
    if (!DcTable().count(h)) return nullptr;
    if (g_dcsFreed.load(std::memory_order_relaxed) == freed) t_dc = DcLookup{freed, h};
    return h;
}

HDC__* NewDC(int kind, std::unique_ptr<DCBackend> backend) {
    auto* dc = new HDC__;
    dc->kind = kind;
    dc->backend = std::move(backend);
    dc->st.pen = GdiRef<GdiPenObject>(static_cast<GdiPenObject*>(GdiLookup(GetStockObject(BLACK_PEN))));
    dc->st.brush = GdiRef<GdiBrushObject>(static_cast<GdiBrushObject*>(GdiLookup(GetStockObject(WHITE_BRUSH))));
    dc->st.font = GdiRef<GdiFontObject>(static_cast<GdiFontObject*>(GdiLookup(GetStockObject(SYSTEM_FONT))));
    std::lock_guard<std::mutex> lock(DcMutex());
    DcTable().insert(dc);
    return dc;
}

void FreeDC(HDC__* dc) {
    if (dc->backend) dc->backend->Close(dc->st);
    {
        std::lock_guard<std::mutex> lock(DcMutex());
        DcTable().erase(dc);
        g_dcsFreed.fetch_add(1, std::memory_order_release);
    }
    delete dc;
}

void Notify(HDC__* dc, DCChange what, int arg = 0) {
    if (dc->backend) dc->backend->OnStateChange(dc->st, what, arg);
}

// The device area drawing may cover: the bitmap, or the configured resolution.
RECT DeviceBounds(const HDC__* dc) {
    if (dc->st.bitmap) return dc->st.bitmap->Bounds();
    auto w = dc->caps.find(HORZRES), h = dc->caps.find(VERTRES);
    return RECT{0, 0, w != dc->caps.end() ? w->second : 1920, h != dc->caps.end() ? h->second : 1080};
}

std::string Text(LPCTSTR text, int count) {
    if (!text) return std::string();
    if (count < 0) return std::string(text);
    return std::string(text, strnlen(text, static_cast<size_t>(count)));
}

GdiRegion CurrentClip(const HDC__* dc) {
    return dc->st.hasClip ? dc->st.clip : GdiRegion(DeviceBounds(dc));
}

int ClipKind(const HDC__* dc) {
    return dc->st.hasClip ? dc->st.clip.Kind() : SIMPLEREGION;
}

}  // namespace

#define DC_OR(fail)              \
    HDC__* dc = LookupDC(m_hDC); \
    if (!dc) return fail

// ---- handles and creation ----------------------------------------------------------------

CDC::~CDC() {
    if (m_hDC) {
        HDC__* dc = LookupDC(m_hDC);
        if (dc && dc->temp != this) DeleteDC();
    }
}

CDC* PASCAL CDC::FromHandle(HDC h) {
    HDC__* dc = LookupDC(h);
    if (!dc) return nullptr;
    std::lock_guard<std::mutex> lock(DcMutex());
    if (dc->permanent) return dc->permanent;
    if (!dc->temp) {
        dc->temp = new CDC;
        dc->temp->m_hDC = h;
        dc->temp->m_hAttribDC = h;
    }
    return dc->temp;
}

BOOL CDC::Attach(HDC h) {
    HDC__* dc = LookupDC(h);
    if (m_hDC || !dc) return FALSE;
    std::lock_guard<std::mutex> lock(DcMutex());
    m_hDC = h;
    m_hAttribDC = h;
    dc->permanent = this;
    return TRUE;
}

HDC CDC::Detach() {
    HDC h = m_hDC;
    if (HDC__* dc = LookupDC(h)) {
        std::lock_guard<std::mutex> lock(DcMutex());
        if (dc->permanent == this) dc->permanent = nullptr;
    }
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
    return h;
}

BOOL CDC::AttachNew(HDC h) {
    if (!h) return FALSE;
    if (m_hDC || !Attach(h)) {
        FreeDC(h);
        return FALSE;
    }
    return TRUE;
}

BOOL CDC::DeleteDC() {
    HDC__* dc = LookupDC(m_hDC);
    if (!dc) return FALSE;
    if (dc->temp == this) return FALSE;  // a temporary wrapper does not own its DC
    Detach();
    FreeDC(dc);
    return TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC* other) {
    if (m_hDC) return FALSE;
    return AttachNew(::CreateCompatibleDC(other ? other->m_hDC : nullptr));
}

BOOL CDC::CreateDisplayDC(int width, int height) {
    if (m_hDC) return FALSE;
    GdiBitmapObject* bm = GdiNewBitmap(width, height, 32);
    if (!bm) return FALSE;
    HDC__* dc = NewDC(kDisplayDC, std::make_unique<RasterBackend>());
    dc->ownBitmap = GdiRef<GdiBitmapObject>(bm);
    dc->st.bitmap = dc->ownBitmap;
    GdiRelease(bm);  // the DC's references keep it; it goes with the DC
    return AttachNew(dc);
}

BOOL CDC::CreateDisplayDC(HBITMAP surface) {
    if (m_hDC) return FALSE;
    auto* bm = static_cast<GdiBitmapObject*>(GdiLookup(surface, OBJ_BITMAP));
    if (!bm || bm->IsMono()) return FALSE;
    HDC__* dc = NewDC(kDisplayDC, std::make_unique<RasterBackend>());
    dc->ownBitmap = GdiRef<GdiBitmapObject>(bm);
    dc->st.bitmap = dc->ownBitmap;
    return AttachNew(dc);
}

BOOL CDC::CreateBackendDC(std::unique_ptr<DCBackend> backend) {
    if (m_hDC || !backend) return FALSE;
    return AttachNew(NewDC(kBackendDC, std::move(backend)));
}

DCBackend* CDC::GetBackend() const {
    DC_OR(nullptr);
    return dc->backend.get();
}

const DCState* CDC::GetState() const {
    DC_OR(nullptr);
    return &dc->st;
}

// ---- device capabilities -----------------------------------------------------------------

int CDC::GetDeviceCaps(int index) const {
    DC_OR(0);
    auto it = dc->caps.find(index);
    if (it != dc->caps.end()) return it->second;
    const RECT b = DeviceBounds(dc);
    auto dpi = [dc](int idx) {
        auto f = dc->caps.find(idx);
        return f != dc->caps.end() && f->second > 0 ? f->second : 96;
    };
    const int dpiX = dpi(LOGPIXELSX), dpiY = dpi(LOGPIXELSY);
    switch (index) {
    case DRIVERVERSION: return 0x4000;
    case TECHNOLOGY: return dc->backend ? dc->backend->Technology() : DT_RASDISPLAY;
    case HORZRES: return b.right - b.left;
    case VERTRES: return b.bottom - b.top;
    case HORZSIZE: return MulDiv(b.right - b.left, 254, dpiX * 10);
    case VERTSIZE: return MulDiv(b.bottom - b.top, 254, dpiY * 10);
    case BITSPIXEL: return dc->st.bitmap && dc->st.bitmap->IsMono() ? 1 : 32;
    case PLANES: return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS: return -1;
    case NUMFONTS: return 0;
    case RASTERCAPS: return RC_BITBLT | RC_BITMAP64 | RC_DI_BITMAP | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    case ASPECTX:
    case ASPECTY: return 36;
    case ASPECTXY: return 51;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case PHYSICALWIDTH: return IsPrinting() ? b.right - b.left : 0;
    case PHYSICALHEIGHT: return IsPrinting() ? b.bottom - b.top : 0;
    default: return 0;
    }
}

void CDC::SetDeviceCaps(int index, int value) {
    if (HDC__* dc = LookupDC(m_hDC)) dc->caps[index] = value;
}

// ---- objects -----------------------------------------------------------------------------

HGDIOBJ CDC::SelectObject(HGDIOBJ h) {
    DC_OR(nullptr);
    HGDIOBJ__* obj = GdiLookup(h);
    if (!obj || obj->m_bDeletePending) return nullptr;
    HGDIOBJ prev = nullptr;
    switch (obj->m_nType) {
    case OBJ_PEN:
        prev = dc->st.pen.handle();
        dc->st.pen = GdiRef<GdiPenObject>(static_cast<GdiPenObject*>(obj));
        Notify(dc, DCChange::Pen);
        return prev;
    case OBJ_BRUSH:
        prev = dc->st.brush.handle();
        dc->st.brush = GdiRef<GdiBrushObject>(static_cast<GdiBrushObject*>(obj));
        Notify(dc, DCChange::Brush);
        return prev;
    case OBJ_FONT:
        prev = dc->st.font.handle();
        dc->st.font = GdiRef<GdiFontObject>(static_cast<GdiFontObject*>(obj));
        Notify(dc, DCChange::Font);
        return prev;
    case OBJ_BITMAP:
        // Bitmaps go into memory DCs (and back-end DCs that draw on one), not into display DCs.
        if (dc->kind == kDisplayDC) return nullptr;
        prev = dc->st.bitmap.handle();
        dc->st.bitmap = GdiRef<GdiBitmapObject>(static_cast<GdiBitmapObject*>(obj));
        Notify(dc, DCChange::Bitmap);
        return prev;
    case OBJ_REGION: {
        CRgn* rgn = CRgn::FromHandle(h);
        return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(SelectClipRgn(rgn)));
    }
    default: return nullptr;
    }
}

CPen* CDC::SelectObject(CPen* pen) {
    return pen ? CPen::FromHandle(SelectObject(pen->m_hObject)) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* brush) {
    return brush ? CBrush::FromHandle(SelectObject(brush->m_hObject)) : nullptr;
}

CFont* CDC::SelectObject(CFont* font) {
    return font ? CFont::FromHandle(SelectObject(font->m_hObject)) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
    return bitmap ? CBitmap::FromHandle(SelectObject(bitmap->m_hObject)) : nullptr;
}

int CDC::SelectObject(CRgn* rgn) {
    return SelectClipRgn(rgn);
}

CGdiObject* CDC::SelectObject(CGdiObject* obj) {
    if (!obj) return nullptr;
    if (::GetObjectType(obj->m_hObject) == OBJ_REGION) {
        SelectClipRgn(static_cast<CRgn*>(obj));
        return nullptr;
    }
    return CGdiObject::FromHandle(SelectObject(obj->m_hObject));
}

CGdiObject* CDC::SelectStockObject(int index) {
    HGDIOBJ h = GetStockObject(index);
    return h ? CGdiObject::FromHandle(SelectObject(h)) : nullptr;
}

CPen* CDC::GetCurrentPen() const {
    DC_OR(nullptr);
    return CPen::FromHandle(dc->st.pen.handle());
}

CBrush* CDC::GetCurrentBrush() const {
    DC_OR(nullptr);
    return CBrush::FromHandle(dc->st.brush.handle());
}

CFont* CDC::GetCurrentFont() const {
    DC_OR(nullptr);
    return CFont::FromHandle(dc->st.font.handle());
}

CBitmap* CDC::GetCurrentBitmap() const {
    DC_OR(nullptr);
    return CBitmap::FromHandle(dc->st.bitmap.handle());
}

int CDC::SaveDC() {
    DC_OR(0);
    dc->saved.push_back(dc->st);
    const int level = static_cast<int>(dc->saved.size());
    Notify(dc, DCChange::SaveDC, level);
    return level;
}

BOOL CDC::RestoreDC(int saved) {
    DC_OR(FALSE);
    const int count = static_cast<int>(dc->saved.size());
    const int index = saved < 0 ? count + saved : saved - 1;  // -1: the latest
    if (saved == 0 || index < 0 || index >= count) return FALSE;
    dc->st = dc->saved[static_cast<size_t>(index)];
    dc->saved.resize(static_cast<size_t>(index));
    Notify(dc, DCChange::RestoreDC, saved);
    return TRUE;
}

// ---- attributes --------------------------------------------------------------------------

namespace {
// Stores a new value of one state field, tells the back end, and returns the old value.
template <class T> T ExchangeState(HDC__* dc, T DCState::*field, T value, DCChange what, int arg = 0) {
    const T old = dc->st.*field;
    dc->st.*field = value;
    Notify(dc, what, arg);
    return old;
}
}  // namespace

#define DC_SETTER(Type, Name, field, fail)                                                    \
    Type CDC::Set##Name(Type v) {                                                             \
        DC_OR(fail);                                                                          \
        return ExchangeState(dc, &DCState::field, v, DCChange::Name, static_cast<int>(v));    \
    }                                                                                         \
    Type CDC::Get##Name() const {                                                             \
        DC_OR(fail);                                                                          \
        return dc->st.field;                                                                  \
    }

DC_SETTER(COLORREF, BkColor, bkColor, CLR_INVALID)
DC_SETTER(COLORREF, TextColor, textColor, CLR_INVALID)
DC_SETTER(UINT, TextAlign, textAlign, GDI_ERROR)

// Modes take a value from a closed range; any other is refused with 0 and changes nothing.
#define DC_MODE_SETTER(Name, field, change, lo, hi)                             \
    int CDC::Set##Name(int mode) {                                              \
        DC_OR(0);                                                               \
        if (mode < (lo) || mode > (hi)) return 0;                               \
        return ExchangeState(dc, &DCState::field, mode, DCChange::change, mode); \
    }                                                                           \
    int CDC::Get##Name() const {                                                \
        DC_OR(0);                                                               \
        return dc->st.field;                                                    \
    }

static_assert(TRANSPARENT + 1 == OPAQUE && ALTERNATE + 1 == WINDING, "two-value modes are ranges");
DC_MODE_SETTER(BkMode, bkMode, BkMode, TRANSPARENT, OPAQUE)
DC_MODE_SETTER(ROP2, rop2, Rop2, R2_BLACK, R2_WHITE)
DC_MODE_SETTER(PolyFillMode, polyFillMode, PolyFillMode, ALTERNATE, WINDING)
DC_MODE_SETTER(StretchBltMode, stretchBltMode, StretchBltMode, BLACKONWHITE, HALFTONE)

int CDC::SetMapMode(int mode) {
    DC_OR(0);
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC) return 0;
    if (mode != MM_TEXT) AfxDiagnostic("gdi", "mapping mode %d is kept but drawing uses MM_TEXT units", mode);
    return ExchangeState(dc, &DCState::mapMode, mode, DCChange::MapMode, mode);
}

int CDC::GetMapMode() const {
    DC_OR(0);
    return dc->st.mapMode;
}

CPoint CDC::SetViewportOrg(int x, int y) {
    DC_OR(CPoint());
    return CPoint(ExchangeState(dc, &DCState::viewportOrg, POINT{x, y}, DCChange::ViewportOrg));
}

CPoint CDC::GetViewportOrg() const {
    DC_OR(CPoint());
    return CPoint(dc->st.viewportOrg);
}

CPoint CDC::OffsetViewportOrg(int dx, int dy) {
    const CPoint old = GetViewportOrg();
    SetViewportOrg(old.x + dx, old.y + dy);
    return old;
}

CPoint CDC::SetWindowOrg(int x, int y) {
    DC_OR(CPoint());
    return CPoint(ExchangeState(dc, &DCState::windowOrg, POINT{x, y}, DCChange::WindowOrg));
}

CPoint CDC::GetWindowOrg() const {
    DC_OR(CPoint());
    return CPoint(dc->st.windowOrg);
}

CPoint CDC::SetBrushOrg(int x, int y) {
    DC_OR(CPoint());
    return CPoint(ExchangeState(dc, &DCState::brushOrg, POINT{x, y}, DCChange::BrushOrg));
}

void CDC::LPtoDP(LPPOINT pts, int count) const {
    HDC__* dc = LookupDC(m_hDC);
    if (!dc || !pts) return;
    for (int i = 0; i < count; ++i) pts[i] = dc->st.ToDevice(pts[i]);
}

void CDC::LPtoDP(LPRECT r) const {
    if (r) LPtoDP(reinterpret_cast<LPPOINT>(r), 2);
}

void CDC::DPtoLP(LPPOINT pts, int count) const {
    HDC__* dc = LookupDC(m_hDC);
    if (!dc || !pts) return;
    for (int i = 0; i < count; ++i) pts[i] = POINT{dc->st.ToLogicalX(pts[i].x), dc->st.ToLogicalY(pts[i].y)};
}

void CDC::DPtoLP(LPRECT r) const {
    if (r) DPtoLP(reinterpret_cast<LPPOINT>(r), 2);
}

// ---- clipping ----------------------------------------------------------------------------

int CDC::SelectClipRgn(CRgn* rgn) {
    DC_OR(ERROR);
    if (!rgn) {
        dc->st.hasClip = false;
        dc->st.clip.SetEmpty();
        Notify(dc, DCChange::Clip);
        return SIMPLEREGION;
    }
    auto* r = static_cast<GdiRegionObject*>(GdiLookup(rgn->m_hObject, OBJ_REGION));
    if (!r) return ERROR;
    dc->st.clip = r->rgn;
    dc->st.hasClip = true;
    Notify(dc, DCChange::Clip);
    return ClipKind(dc);
}

int CDC::ExtSelectClipRgn(CRgn* rgn, int mode) {
    DC_OR(ERROR);
    if (mode == RGN_COPY) return SelectClipRgn(rgn);
    auto* r = static_cast<GdiRegionObject*>(GdiLookup(rgn ? rgn->m_hObject : nullptr, OBJ_REGION));
    if (!r || mode < RGN_AND || mode > RGN_DIFF) return ERROR;
    GdiRegion result;
    result.Combine(CurrentClip(dc), r->rgn, mode);
    dc->st.clip = result;
    dc->st.hasClip = true;
    Notify(dc, DCChange::Clip);
    return ClipKind(dc);
}

int CDC::IntersectClipRect(int l, int t, int r, int b) {
    DC_OR(ERROR);
    const POINT a = dc->st.ToDevice(POINT{l, t}), z = dc->st.ToDevice(POINT{r, b});
    GdiRegion result;
    result.Combine(CurrentClip(dc), GdiRegion(RECT{a.x, a.y, z.x, z.y}), RGN_AND);
    dc->st.clip = result;
    dc->st.hasClip = true;
    Notify(dc, DCChange::Clip);
    return ClipKind(dc);
}

int CDC::ExcludeClipRect(int l, int t, int r, int b) {
    DC_OR(ERROR);
    const POINT a = dc->st.ToDevice(POINT{l, t}), z = dc->st.ToDevice(POINT{r, b});
    GdiRegion result;
    result.Combine(CurrentClip(dc), GdiRegion(RECT{a.x, a.y, z.x, z.y}), RGN_DIFF);
    dc->st.clip = result;
    dc->st.hasClip = true;
    Notify(dc, DCChange::Clip);
    return ClipKind(dc);
}

int CDC::GetClipBox(LPRECT r) const {
    DC_OR(ERROR);
    RECT box;
    const int kind = CurrentClip(dc).GetBox(&box);
    if (r) {
        *r = box;
        DPtoLP(r);
    }
    return kind;
}

BOOL CDC::PtVisible(int x, int y) const {
    DC_OR(FALSE);
    const POINT p = dc->st.ToDevice(POINT{x, y});
    return CurrentClip(dc).Contains(p.x, p.y);
}

// ---- drawing -----------------------------------------------------------------------------

CPoint CDC::MoveTo(int x, int y) {
    DC_OR(CPoint());
    const CPoint old(dc->st.curPos);
    dc->st.curPos = POINT{x, y};
    Notify(dc, DCChange::CurrentPosition);
    return old;
}

BOOL CDC::LineTo(int x, int y) {
    DC_OR(FALSE);
    const BOOL ok = dc->backend->LineTo(dc->st, x, y);
    dc->st.curPos = POINT{x, y};
    return ok;
}

CPoint CDC::GetCurrentPosition() const {
    DC_OR(CPoint());
    return CPoint(dc->st.curPos);
}

BOOL CDC::Polyline(const POINT* pts, int count) {
    DC_OR(FALSE);
    if (!pts || count < 2) return FALSE;
    return dc->backend->Polyline(dc->st, pts, count);
}

BOOL CDC::PolylineTo(const POINT* pts, int count) {
    DC_OR(FALSE);
    if (!pts || count < 1) return FALSE;
    const BOOL ok = dc->backend->PolylineTo(dc->st, pts, count);
    dc->st.curPos = pts[count - 1];
    return ok;
}

BOOL CDC::Polygon(const POINT* pts, int count) {
    DC_OR(FALSE);
    if (!pts || count < 2) return FALSE;
    return dc->backend->Polygon(dc->st, pts, count);
}

BOOL CDC::SolidPolygon(const POINT* pts, int count, COLORREF c) {
    DC_OR(FALSE);
    if (!pts || count < 3) return FALSE;
    return dc->backend->SolidPolygon(dc->st, pts, count, c);
}

BOOL CDC::LineSegments(const POINT* pts, int n) {
    DC_OR(FALSE);
    if (!pts || n <= 0) return FALSE;
    if (dc->backend->LineSegments(dc->st, pts, n)) {
        dc->st.curPos = pts[2 * n - 1];
        return TRUE;
    }
    BOOL ok = TRUE;
    for (int i = 0; i < n; ++i) {
        MoveTo(pts[2 * i]);
        ok = LineTo(pts[2 * i + 1].x, pts[2 * i + 1].y) && ok;
    }
    return ok;
}

BOOL CDC::LineSegmentsBothWays(const POINT* pts, int n) {
    DC_OR(FALSE);
    if (!pts || n <= 0) return FALSE;
    if (dc->backend->LineSegmentsBothWays(dc->st, pts, n)) {
        dc->st.curPos = pts[2 * n - 2];
        return TRUE;
    }
    BOOL ok = TRUE;
    for (int i = 0; i < n; ++i) {
        MoveTo(pts[2 * i]);
        ok = LineTo(pts[2 * i + 1].x, pts[2 * i + 1].y) && ok;
        ok = LineTo(pts[2 * i].x, pts[2 * i].y) && ok;
    }
    return ok;
}

int CDC::SolidPolygons(const POINT* pts, const int* counts, const COLORREF* colors, int polys) {
    DC_OR(0);
    if (!pts || !counts || !colors) return 0;
    // Up to the first polygon SolidPolygon refuses before asking the back end.
    int n = 0;
    while (n < polys && counts[n] >= 3) ++n;
    return n > 0 ? dc->backend->SolidPolygons(dc->st, pts, counts, colors, n) : 0;
}

void CDC::SolidFaces(SolidFaceRun& run) {
    DC_OR();
    if (!run.pts || !run.counts || !run.colors || !run.facePolys || !run.faceLines || run.Done()) return;
    const size_t segAt = run.segAt;
    dc->backend->SolidFaces(dc->st, run);
    // As LineSegments leaves it: at the end of the last line drawn.
    if (run.segAt > segAt) dc->st.curPos = run.segs[run.segAt - 1];
}

BOOL CDC::PolyPolygon(const POINT* pts, const int* counts, int polys) {
    DC_OR(FALSE);
    if (!pts || !counts || polys <= 0) return FALSE;
    return dc->backend->PolyPolygon(dc->st, pts, counts, polys);
}

BOOL CDC::Rectangle(int l, int t, int r, int b) {
    DC_OR(FALSE);
    return dc->backend->Rectangle(dc->st, l, t, r, b);
}

BOOL CDC::RoundRect(int l, int t, int r, int b, int ew, int eh) {
    DC_OR(FALSE);
    return dc->backend->RoundRect(dc->st, l, t, r, b, ew, eh);
}

BOOL CDC::Ellipse(int l, int t, int r, int b) {
    DC_OR(FALSE);
    return dc->backend->Ellipse(dc->st, l, t, r, b);
}

BOOL CDC::Arc(int l, int t, int r, int b, int x3, int y3, int x4, int y4) {
    DC_OR(FALSE);
    return dc->backend->ArcShape(dc->st, 0, RECT{l, t, r, b}, POINT{x3, y3}, POINT{x4, y4});
}

BOOL CDC::Chord(int l, int t, int r, int b, int x3, int y3, int x4, int y4) {
    DC_OR(FALSE);
    return dc->backend->ArcShape(dc->st, 1, RECT{l, t, r, b}, POINT{x3, y3}, POINT{x4, y4});
}

BOOL CDC::Pie(int l, int t, int r, int b, int x3, int y3, int x4, int y4) {
    DC_OR(FALSE);
    return dc->backend->ArcShape(dc->st, 2, RECT{l, t, r, b}, POINT{x3, y3}, POINT{x4, y4});
}

void CDC::FillRect(LPCRECT r, CBrush* brush) {
    HDC__* dc = LookupDC(m_hDC);
    auto* b = static_cast<GdiBrushObject*>(GdiLookup(brush ? brush->m_hObject : nullptr, OBJ_BRUSH));
    if (!dc || !r || !b) return;
    dc->backend->FillRect(dc->st, *r, b->lb);
}

void CDC::FillSolidRect(LPCRECT r, COLORREF c) {
    HDC__* dc = LookupDC(m_hDC);
    if (!dc || !r) return;
    SetBkColor(c);
    CRect n(r);
    n.NormalizeRect();
    dc->backend->FillSolidRect(dc->st, n, c);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF c) {
    const CRect r(x, y, x + cx, y + cy);
    FillSolidRect(&r, c);
}

void CDC::FrameRect(LPCRECT r, CBrush* brush) {
    HDC__* dc = LookupDC(m_hDC);
    auto* b = static_cast<GdiBrushObject*>(GdiLookup(brush ? brush->m_hObject : nullptr, OBJ_BRUSH));
    if (!dc || !r || !b) return;
    dc->backend->FrameRect(dc->st, *r, b->lb);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF topLeft, COLORREF bottomRight) {
    if (r) Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, topLeft, bottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

void CDC::InvertRect(LPCRECT r) {
    HDC__* dc = LookupDC(m_hDC);
    if (dc && r) dc->backend->InvertRect(dc->st, *r);
}

BOOL CDC::FillRgn(CRgn* rgn, CBrush* brush) {
    DC_OR(FALSE);
    auto* r = static_cast<GdiRegionObject*>(GdiLookup(rgn ? rgn->m_hObject : nullptr, OBJ_REGION));
    auto* b = static_cast<GdiBrushObject*>(GdiLookup(brush ? brush->m_hObject : nullptr, OBJ_BRUSH));
    if (!r || !b) return FALSE;
    return dc->backend->FillRgn(dc->st, r->rgn, b->lb);
}

BOOL CDC::PaintRgn(CRgn* rgn) {
    DC_OR(FALSE);
    auto* r = static_cast<GdiRegionObject*>(GdiLookup(rgn ? rgn->m_hObject : nullptr, OBJ_REGION));
    if (!r) return FALSE;
    return dc->backend->FillRgn(dc->st, r->rgn, dc->st.Brush());
}

COLORREF CDC::SetPixel(int x, int y, COLORREF c) {
    DC_OR(CLR_INVALID);
    return dc->backend->SetPixel(dc->st, x, y, c);
}

COLORREF CDC::GetPixel(int x, int y) const {
    DC_OR(CLR_INVALID);
    return dc->backend->GetPixel(dc->st, x, y);
}

// ---- text --------------------------------------------------------------------------------

BOOL CDC::TextOut(int x, int y, LPCTSTR text, int count) {
    return ExtTextOut(x, y, 0, nullptr, text, count < 0 ? static_cast<UINT>(text ? std::strlen(text) : 0) : count,
                      nullptr);
}

BOOL CDC::TextOut(int x, int y, const std::string& text) {
    DC_OR(FALSE);
    if (!(dc->st.textAlign & TA_UPDATECP)) return dc->backend->TextOut(dc->st, x, y, text);
    const POINT cp = dc->st.curPos;
    const BOOL ok = dc->backend->TextOut(dc->st, cp.x, cp.y, text);
    const int w = FontEngine::Instance().MeasureText(dc->st.Font(), text).cx;
    const UINT ha = dc->st.textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
    if (ha == TA_LEFT) dc->st.curPos.x += w;
    else if (ha == TA_RIGHT) dc->st.curPos.x -= w;
    return ok;
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, const int* dx) {
    DC_OR(FALSE);
    const std::string s = Text(text, static_cast<int>(count));
    if (!dx && !rect && options == 0) return TextOut(x, y, s);
    if (dc->st.textAlign & TA_UPDATECP) {
        x = dc->st.curPos.x;
        y = dc->st.curPos.y;
    }
    const BOOL ok = dc->backend->ExtTextOut(dc->st, x, y, options, rect, s, dx);
    if (dc->st.textAlign & TA_UPDATECP) {
        int w = 0;
        if (dx) {
            const size_t n = Utf8Decode(s).size();
            for (size_t i = 0; i < n; ++i) w += dx[i];
        } else {
            w = FontEngine::Instance().MeasureText(dc->st.Font(), s).cx;
        }
        const UINT ha = dc->st.textAlign & (TA_LEFT | TA_RIGHT | TA_CENTER);
        if (ha == TA_LEFT) dc->st.curPos.x += w;
        else if (ha == TA_RIGHT) dc->st.curPos.x -= w;
    }
    return ok;
}

int CDC::DrawText(LPCTSTR text, int count, LPRECT rect, UINT format) {
    return DrawText(Text(text, count), rect, format);
}

int CDC::DrawText(const std::string& text, LPRECT rect, UINT format) {
    DC_OR(0);
    if (!rect) return 0;
    if (format & DT_CALCRECT) return FontEngine::Instance().LayoutDrawText(dc->st.Font(), text, rect, format, nullptr);
    return dc->backend->DrawText(dc->st, text, rect, format);
}

CSize CDC::GetTextExtent(LPCTSTR text, int count) const {
    return GetTextExtent(Text(text, count));
}

CSize CDC::GetTextExtent(const std::string& text) const {
    DC_OR(CSize());
    return CSize(FontEngine::Instance().MeasureText(dc->st.Font(), text));
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC tm) const {
    DC_OR(FALSE);
    if (!tm) return FALSE;
    FontEngine::Instance().GetTextMetrics(dc->st.Font(), tm);
    return TRUE;
}

int CDC::GetTextFace(int count, LPTSTR face) const {
    DC_OR(0);
    const char* name = dc->st.Font().lfFaceName;
    const int len = static_cast<int>(strnlen(name, LF_FACESIZE));
    if (!face) return len + 1;
    if (count <= 0) return 0;
    const int n = std::min(len, count - 1);
    std::memcpy(face, name, static_cast<size_t>(n));
    face[n] = '\0';
    return n;
}

BOOL CDC::TextOut(int x, int y, const CString& text) {
    return TextOut(x, y, std::string(static_cast<LPCTSTR>(text), static_cast<size_t>(text.GetLength())));
}

BOOL CDC::ExtTextOut(int x, int y, UINT options, LPCRECT rect, const CString& text, const int* dx) {
    return ExtTextOut(x, y, options, rect, static_cast<LPCTSTR>(text), static_cast<UINT>(text.GetLength()), dx);
}

int CDC::DrawText(const CString& text, LPRECT rect, UINT format) {
    return DrawText(std::string(static_cast<LPCTSTR>(text), static_cast<size_t>(text.GetLength())), rect, format);
}

CSize CDC::GetTextExtent(const CString& text) const {
    return GetTextExtent(std::string(static_cast<LPCTSTR>(text), static_cast<size_t>(text.GetLength())));
}

// ---- blits -------------------------------------------------------------------------------

BOOL CDC::BitBlt(int x, int y, int cx, int cy, CDC* src, int xs, int ys, DWORD rop) {
    DC_OR(FALSE);
    HDC__* s = src ? LookupDC(src->m_hDC) : nullptr;
    if (src && !s) return FALSE;
    return dc->backend->BitBlt(dc->st, x, y, cx, cy, DCSource{s ? &s->st : nullptr}, xs, ys, rop);
}

BOOL CDC::StretchBlt(int x, int y, int cx, int cy, CDC* src, int xs, int ys, int cxs, int cys, DWORD rop) {
    DC_OR(FALSE);
    HDC__* s = src ? LookupDC(src->m_hDC) : nullptr;
    if (src && !s) return FALSE;
    return dc->backend->StretchBlt(dc->st, x, y, cx, cy, DCSource{s ? &s->st : nullptr}, xs, ys, cxs, cys, rop);
}

BOOL CDC::PatBlt(int x, int y, int cx, int cy, DWORD rop) {
    DC_OR(FALSE);
    return dc->backend->PatBlt(dc->st, x, y, cx, cy, rop);
}

int CDC::StretchDIBits(int x, int y, int cx, int cy, int xs, int ys, int cxs, int cys, const void* bits,
                       const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    DC_OR(0);
    return dc->backend->StretchDIBits(dc->st, x, y, cx, cy, xs, ys, cxs, cys, bits, bmi, usage, rop);
}

BOOL CDC::AlphaBlend(int x, int y, int cx, int cy, CDC* src, int xs, int ys, int cxs, int cys, BLENDFUNCTION blend) {
    DC_OR(FALSE);
    HDC__* s = src ? LookupDC(src->m_hDC) : nullptr;
    if (!s) return FALSE;
    return dc->backend->AlphaBlend(dc->st, x, y, cx, cy, DCSource{&s->st}, xs, ys, cxs, cys, blend);
}

BOOL CDC::GradientFill(TRIVERTEX* vertices, ULONG nVertices, void* mesh, ULONG nMesh, DWORD mode) {
    DC_OR(FALSE);
    if (!vertices || !mesh) return FALSE;
    return dc->backend->GradientFill(dc->st, vertices, nVertices, mesh, nMesh, mode);
}

// ---- handle-level calls ------------------------------------------------------------------

HDC CreateCompatibleDC(HDC like) {
    HDC__* dc = NewDC(kMemoryDC, std::make_unique<RasterBackend>());
    // The memory DC takes the resolution of the device it is compatible with (a printer's
    // 600 dpi, say); its size is its bitmap's.
    if (HDC__* src = LookupDC(like)) {
        for (const auto& [index, value] : src->caps)
            if (index != HORZRES && index != VERTRES && index != HORZSIZE && index != VERTSIZE && index != TECHNOLOGY)
                dc->caps[index] = value;
    }
    // A new memory DC holds a 1x1 monochrome bitmap until a real one is selected.
    GdiBitmapObject* bm = GdiNewBitmap(1, 1, 1);
    if (bm) {
        dc->ownBitmap = GdiRef<GdiBitmapObject>(bm);
        dc->st.bitmap = dc->ownBitmap;
        GdiRelease(bm);  // the DC's references keep it; it goes with the DC
    }
    return dc;
}

BOOL DeleteDC(HDC hdc) {
    HDC__* dc = LookupDC(hdc);
    if (!dc) return FALSE;
    if (dc->permanent) return dc->permanent->DeleteDC();
    FreeDC(dc);
    return TRUE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->SelectObject(h) : nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
    HDC__* dc = LookupDC(hdc);
    if (!dc) return nullptr;
    switch (type) {
    case OBJ_PEN: return dc->st.pen.handle();
    case OBJ_BRUSH: return dc->st.brush.handle();
    case OBJ_FONT: return dc->st.font.handle();
    case OBJ_BITMAP: return dc->st.bitmap.handle();
    default: return nullptr;
    }
}

int GetDeviceCaps(HDC hdc, int index) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->GetDeviceCaps(index) : 0;
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
    HDC__* dc = LookupDC(hdc);
    const bool mono = dc && dc->kind == kMemoryDC && dc->st.bitmap && dc->st.bitmap->IsMono();
    return GdiNewBitmap(width, height, mono ? 1 : 32);
}

UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors) {
    HDC__* dc = LookupDC(hdc);
    GdiBitmapObject* bm = dc ? dc->st.bitmap.get() : nullptr;
    if (!bm || !bm->m_bDib || bm->m_palette.empty() || !colors || start >= bm->m_palette.size()) return 0;
    const UINT n = std::min<UINT>(count, static_cast<UINT>(bm->m_palette.size()) - start);
    for (UINT i = 0; i < n; ++i) bm->m_palette[start + i] = colors[i];
    bm->m_nearest.clear();
    bm->SyncIn(bm->Bounds());
    return n;
}

UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors) {
    HDC__* dc = LookupDC(hdc);
    GdiBitmapObject* bm = dc ? dc->st.bitmap.get() : nullptr;
    if (!bm || !bm->m_bDib || bm->m_palette.empty() || !colors || start >= bm->m_palette.size()) return 0;
    const UINT n = std::min<UINT>(count, static_cast<UINT>(bm->m_palette.size()) - start);
    for (UINT i = 0; i < n; ++i) colors[i] = bm->m_palette[start + i];
    return n;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc, int cySrc,
                  const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->StretchDIBits(xDest, yDest, cxDest, cyDest, xSrc, ySrc, cxSrc, cySrc, bits, bmi, usage, rop) : 0;
}

int GetDIBits(HDC, HBITMAP hbm, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage) {
    auto* bm = static_cast<GdiBitmapObject*>(GdiLookup(hbm, OBJ_BITMAP));
    if (!bm || !bmi || usage != DIB_RGB_COLORS) return 0;
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (!bits) {
        h.biSize = sizeof(BITMAPINFOHEADER);
        h.biWidth = bm->m_nWidth;
        h.biHeight = bm->m_nHeight;
        h.biPlanes = 1;
        h.biBitCount = static_cast<WORD>(bm->m_bDib ? bm->m_nBitsPixel : (bm->IsMono() ? 1 : 32));
        h.biCompression = BI_RGB;
        h.biSizeImage = static_cast<DWORD>(((bm->m_nWidth * h.biBitCount + 31) / 32) * 4 * bm->m_nHeight);
        return 1;
    }
    const int bpp = h.biBitCount;
    if (h.biCompression != BI_RGB || (bpp != 16 && bpp != 24 && bpp != 32) || h.biWidth != bm->m_nWidth) return 0;
    const bool bottomUp = h.biHeight > 0;
    const int height = bm->m_nHeight;
    const size_t stride = ((static_cast<size_t>(h.biWidth) * bpp + 31) / 32) * 4;
    // Only the rows asked for are brought in (a picture may be read a band at a time).
    if (start < static_cast<UINT>(height)) {
        const int n = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(height) - start));
        const int top = bottomUp ? height - static_cast<int>(start) - n : static_cast<int>(start);
        bm->SyncIn(RECT{0, top, bm->m_nWidth, top + n});
    }
    cairo_surface_flush(bm->m_pSurface);
    BYTE* out = static_cast<BYTE*>(bits);
    // One loop per depth (a film's frames come through here whole, two million pixels each).
    const auto copy = [&](auto put) {
        UINT done = 0;
        for (UINT i = 0; i < lines && start + i < static_cast<UINT>(height); ++i, ++done) {
            const UINT line = start + i;  // scan line in the DIB's own order
            const int y = bottomUp ? height - 1 - static_cast<int>(line) : static_cast<int>(line);
            const uint32_t* src = bm->Row(y);
            BYTE* dst = out + stride * i;
            for (int x = 0; x < bm->m_nWidth; ++x) put(dst, x, src[x]);
        }
        return static_cast<int>(done);
    };
    if (bpp == 32)
        return copy([](BYTE* dst, int x, uint32_t v) {
            dst[4 * x] = static_cast<BYTE>(v);
            dst[4 * x + 1] = static_cast<BYTE>(v >> 8);
            dst[4 * x + 2] = static_cast<BYTE>(v >> 16);
            dst[4 * x + 3] = 0;
        });
    if (bpp == 24)
        return copy([](BYTE* dst, int x, uint32_t v) {
            dst[3 * x] = static_cast<BYTE>(v);
            dst[3 * x + 1] = static_cast<BYTE>(v >> 8);
            dst[3 * x + 2] = static_cast<BYTE>(v >> 16);
        });
    // RGB555 words, little-endian, each row converted whole (a loop the compiler makes vector code of).
    static_assert(std::endian::native == std::endian::little, "DIB words are little-endian");
    UINT done = 0;
    for (UINT i = 0; i < lines && start + i < static_cast<UINT>(height); ++i, ++done) {
        const UINT line = start + i;
        const uint32_t* src = bm->Row(bottomUp ? height - 1 - static_cast<int>(line) : static_cast<int>(line));
        BYTE* dst = out + stride * i;
        int x = 0;
#if defined(__SSE2__)
        // Eight pixels at a time; the words are below 0x8000, so the signed pack keeps them.
        const __m128i r = _mm_set1_epi32(0x7C00), g = _mm_set1_epi32(0x03E0), b = _mm_set1_epi32(0x001F);
        const auto words = [&](const uint32_t* p) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            return _mm_or_si128(_mm_or_si128(_mm_and_si128(_mm_srli_epi32(v, 9), r), _mm_and_si128(_mm_srli_epi32(v, 6), g)),
                                _mm_and_si128(_mm_srli_epi32(v, 3), b));
        };
        for (; x + 8 <= bm->m_nWidth; x += 8)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 2 * x), _mm_packs_epi32(words(src + x), words(src + x + 4)));
#endif
        for (; x < bm->m_nWidth; ++x) {
            const uint32_t v = src[x];
            const auto w = static_cast<uint16_t>(((v >> 9) & 0x7C00) | ((v >> 6) & 0x03E0) | ((v >> 3) & 0x001F));
            std::memcpy(dst + 2 * x, &w, 2);
        }
    }
    return static_cast<int>(done);
}

int SetDIBits(HDC, HBITMAP hbm, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage) {
    auto* bm = static_cast<GdiBitmapObject*>(GdiLookup(hbm, OBJ_BITMAP));
    if (!bm || !bmi || !bits || usage != DIB_RGB_COLORS) return 0;
    std::vector<uint32_t> pix;
    int w = 0, h = 0;
    if (!GdiReadDib(bits, bmi, pix, w, h) || w != bm->m_nWidth || h != bm->m_nHeight) return 0;
    const bool bottomUp = bmi->bmiHeader.biHeight > 0;
    bm->SyncIn(bm->Bounds());
    cairo_surface_flush(bm->m_pSurface);
    UINT done = 0;
    for (UINT i = 0; i < lines && start + i < static_cast<UINT>(h); ++i, ++done) {
        const int y = bottomUp ? h - 1 - static_cast<int>(start + i) : static_cast<int>(start + i);
        std::copy(&pix[static_cast<size_t>(y) * w], &pix[static_cast<size_t>(y) * w] + w, bm->Row(y));
    }
    cairo_surface_mark_dirty(bm->m_pSurface);
    bm->SyncOut(bm->Bounds());
    return static_cast<int>(done);
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->TextOut(x, y, text, count) : FALSE;
}

BOOL GradientFill(HDC hdc, TRIVERTEX* vertices, ULONG nVertices, void* mesh, ULONG nMesh, ULONG mode) {
    CDC* dc = CDC::FromHandle(hdc);
    return dc ? dc->GradientFill(vertices, nVertices, mesh, nMesh, mode) : FALSE;
}

BOOL AlphaBlend(HDC dest, int x, int y, int cx, int cy, HDC src, int xs, int ys, int cxs, int cys, BLENDFUNCTION blend) {
    CDC* d = CDC::FromHandle(dest);
    CDC* s = CDC::FromHandle(src);
    return d && s ? d->AlphaBlend(x, y, cx, cy, s, xs, ys, cxs, cys, blend) : FALSE;
}

BOOL BitBlt(HDC dest, int x, int y, int cx, int cy, HDC src, int xs, int ys, DWORD rop) {
    CDC* d = CDC::FromHandle(dest);
    CDC* s = src ? CDC::FromHandle(src) : nullptr;
    return d ? d->BitBlt(x, y, cx, cy, s, xs, ys, rop) : FALSE;
}

#undef DC_MODE_SETTER
#undef DC_SETTER
#undef DC_OR
