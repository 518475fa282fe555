// I_PVXCtrl: the memory image, drawing in world coordinates, the retained display list,
// coloured-polygon clipping, and the virtual (print and export) modes.
#include "host/grx/I_PVXCtrl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/base/I_PVXModelBase.h"
#include "platform/afx/AfxDiagnostic.h"

// ---- memory image -------------------------------------------------------------------------

namespace {
// Selects a new w x h 32-bit bitmap into dc and keeps it under `keep`, freeing the one it
// replaces; the DC's very first bitmap is kept in `pFirst` to be put back on destruction.
// FALSE when the bitmap cannot be made: the DC keeps its picture.
BOOL ReplaceDCBitmap(CDC& dc, CBitmap& keep, CBitmap*& pFirst, int w, int h) {
    CBitmap bmp;
    if (!bmp.CreateBitmap(w, h, 1, 32, nullptr)) return FALSE;
    CBitmap* old = dc.SelectObject(&bmp);
    if (!pFirst) pFirst = old;
    keep.DeleteObject();
    keep.Attach(bmp.Detach());
    return TRUE;
}
}  // namespace

int I_PVXCtrl::EnsureMemDC() {
    if (!m_memDC.GetSafeHdc()) {
        auto tap = std::make_unique<GXgrTapBackend>();
        GXgrTapBackend* p = tap.get();
        if (!m_memDC.CreateBackendDC(std::move(tap))) {
            AfxDiagnostic("graphics control", "cannot create the memory device context");
            return 0;
        }
        m_pTap = p;
    }
    const int w = std::max(1, m_rcClient.Width()), h = std::max(1, m_rcClient.Height());
    if (m_szMem.cx == w && m_szMem.cy == h && m_memBmp.GetSafeHandle()) return 1;
    if (!ReplaceDCBitmap(m_memDC, m_memBmp, m_pOldBmp, w, h)) {
        AfxDiagnostic("graphics control", "cannot make a %dx%d memory image (out of memory?); "
                                          "the view keeps its previous picture", w, h);
        return 0;
    }
    m_szMem = CSize(w, h);
    m_memDC.FillSolidRect(0, 0, w, h, m_crBack);
    return 2;
}

void I_PVXCtrl::ClearBuffer(COLORREF color, int flag) {
    m_crBack = color;
    const int made = EnsureMemDC();
    if (!made) return;
    if (made != 2) m_memDC.FillSolidRect(0, 0, m_szMem.cx, m_szMem.cy, color);
    if (!flag) InvalidateOwner(TRUE);
}

int I_PVXCtrl::BeginDrawToMemDC(bool bRetained) {
    UpdateViewport();
    if (!EnsureMemDC()) return 0;
    if (bRetained) m_memDC.FillSolidRect(0, 0, m_szMem.cx, m_szMem.cy, m_crBack);
    m_bInMemDraw = 1;
    m_bEscPressed = 0;
    m_bKrigLaid = 0;
    return 1;
}

CDC* I_PVXCtrl::GetMemDC() {
    EnsureMemDC();
    // Whoever asks for the image may read its pixels: the kept lines are drawn first.
    if (m_pTap) m_pTap->Flush();
    return &m_memDC;
}

void I_PVXCtrl::EndDrawToMemDC(bool bRetained) {
    if (m_krig.IsOn() && !m_bKrigLaid && EnsureMemDC()) m_krig.Draw(&m_memDC, m_cam, GetDrawingArea());
    m_bKrigLaid = 0;
    if (m_pTap) m_pTap->Flush();
    m_bInMemDraw = 0;
    m_bImageValid = 1;
    InvalidateOwner(FALSE);
}

void I_PVXCtrl::SwapBuffer(CDC* pDC) {
    if (!pDC || !EnsureMemDC()) return;
    if (m_pTap) m_pTap->Flush();
    pDC->BitBlt(0, 0, m_szMem.cx, m_szMem.cy, &m_memDC, 0, 0, SRCCOPY);
}

HGDIOBJ I_PVXCtrl::SurfaceCoveredBySwap(CDC* pDC) {
    if (!pDC || !EnsureMemDC()) return nullptr;
    CBitmap* surface = pDC->GetCurrentBitmap();
    BITMAP bm{};
    if (!surface || !surface->GetSafeHandle() || !surface->GetBitmap(&bm)) return nullptr;
    if (bm.bmWidth > m_szMem.cx || bm.bmHeight > m_szMem.cy) return nullptr;
    if (pDC->GetMapMode() != MM_TEXT || pDC->GetViewportOrg() != CPoint(0, 0) || pDC->GetWindowOrg() != CPoint(0, 0))
        return nullptr;
    CRect clip;
    if (pDC->GetClipBox(&clip) != SIMPLEREGION || clip.left > 0 || clip.top > 0 || clip.right < bm.bmWidth ||
        clip.bottom < bm.bmHeight)
        return nullptr;
    return surface->GetSafeHandle();
}

void I_PVXCtrl::PaintWindow(CDC* pDC) {
    if (!pDC) return;
    SwapBuffer(pDC);
    if (m_bShowVPointIcon) DrawViewPointIcon(pDC, m_rcClient);
    if (m_pModel) {
        m_pModel->PV_OnDraw(pDC);
        m_pModel->PV_OnDrawAfter(pDC);
    }
}

// Axis triad in the lower-left corner: the world x, y and z directions as the view shows them.
void I_PVXCtrl::DrawViewPointIcon(CDC* pDC, const CRect& rc) {
    const int len = 30;
    const CPoint o(rc.left + 40, rc.bottom - 40);
    const C3DPoint axes[3] = {C3DPoint(1, 0, 0), C3DPoint(0, 1, 0), C3DPoint(0, 0, 1)};
    const COLORREF colors[3] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};
    const char* names[3] = {"X", "Y", "Z"};
    const int saved = pDC->SaveDC();
    pDC->SetBkMode(TRANSPARENT);
    for (int i = 0; i < 3; ++i) {
        const C3DPoint v = m_cam.WorldToView(axes[i]);
        const CPoint e(o.x + static_cast<int>(std::lround(v.x * len)), o.y - static_cast<int>(std::lround(v.y * len)));
        CPen pen(PS_SOLID, 1, colors[i]);
        CPen* old = pDC->SelectObject(&pen);
        pDC->MoveTo(o);
        pDC->LineTo(e);
        pDC->SelectObject(old);
        pDC->SetTextColor(colors[i]);
        pDC->TextOut(e.x, e.y, names[i], 1);
    }
    pDC->RestoreDC(saved);
}

// ---- drawing in world coordinates ---------------------------------------------------------

void I_PVXCtrl::DrawItem(CDC* pDC, const GXgrItem& item, const GViewCamera& cam, bool useStoredObjects) {
    if (!pDC || item.pts.empty()) return;
    CPen pen;
    CBrush brush;
    CPen* oldPen = nullptr;
    CBrush* oldBrush = nullptr;
    if (useStoredObjects) {
        if (pen.CreatePenIndirect(&item.pen)) oldPen = pDC->SelectObject(&pen);
        if (brush.CreateBrushIndirect(&item.brush)) oldBrush = pDC->SelectObject(&brush);
    }
    // Pixels of the item in a buffer kept across items (a model is drawn item by item).
    std::vector<POINT>& q = m_itemPixels;
    q.resize(item.pts.size());
    for (size_t i = 0; i < item.pts.size(); ++i) q[i] = cam.WorldToPixel(item.pts[i]);
    switch (item.kind) {
    case GXgrItem::LINE:
        if (q.size() >= 2) {
            pDC->MoveTo(q[0]);
            pDC->LineTo(q[1]);
        }
        break;
    case GXgrItem::NODE: {
        const int h = kNodeSize / 2;
        pDC->Rectangle(q[0].x - h, q[0].y - h, q[0].x + h + 1, q[0].y + h + 1);
        break;
    }
    case GXgrItem::CROSS: {
        const int h = std::max(1, item.size / 2);
        pDC->MoveTo(q[0].x - h, q[0].y);
        pDC->LineTo(q[0].x + h + 1, q[0].y);
        pDC->MoveTo(q[0].x, q[0].y - h);
        pDC->LineTo(q[0].x, q[0].y + h + 1);
        break;
    }
    case GXgrItem::POLYGON:
        DrawPolygonPixels(pDC, q.data(), static_cast<int>(q.size()), item.edgeFlags.empty() ? nullptr : item.edgeFlags.data(),
                          static_cast<int>(item.edgeFlags.size()), item.hasColor, item.color);
        break;
    }
    if (oldBrush) pDC->SelectObject(oldBrush);
    if (oldPen) pDC->SelectObject(oldPen);
}

void I_PVXCtrl::FillPixelsList(CDC* pDC, const POINT* q, const int* counts, const COLORREF* colors, int polys) {
    int k = 0;
    while (k < polys) {
        // As many as the DC draws straight away, then the one it would not, the usual way.
        const int drawn = pDC->SolidPolygons(q, counts + k, colors + k, polys - k);
        for (int i = 0; i < drawn; ++i) q += counts[k + i];
        k += drawn;
        if (k == polys) break;
        FillPixels(pDC, q, counts[k], colors[k]);
        q += counts[k];
        ++k;
    }
}

void I_PVXCtrl::FillFaces(CDC* pDC, SolidFaceRun& run) {
    while (!run.Done()) {
        // As much as the DC draws at once, then the polygon or lines it would not, the usual way.
        pDC->SolidFaces(run);
        if (run.Done()) break;
        if (run.poly < run.facePolys[run.face]) {
            FillPixels(pDC, run.pts + run.ptAt, run.counts[run.polyAt], run.colors[run.polyAt]);
            run.PassPolygon();
        } else {
            if (run.faceLines[run.face] > 0 && run.segs)
                pDC->LineSegments(run.segs + run.segAt, run.faceLines[run.face]);
            run.PassLines();
        }
    }
}

void I_PVXCtrl::DrawPolygonPixels(CDC* pDC, const POINT* q, int n, const int* flags, int nFlags, int hasColor,
                                  COLORREF c) {
    if (n == 2) {  // a face seen edge-on: its one edge
        pDC->MoveTo(q[0]);
        pDC->LineTo(q[1]);
        return;
    }
    if (n < 3) return;
    if (hasColor && pDC->SolidPolygon(q, n, c)) {
        // Drawn without selecting the colour's pen and brush (most band polygons go so).
    } else if (hasColor) {
        // A shaded picture has many colours: the kept objects stay a few hundred.
        if (m_fills.size() >= kMaxFillColors && !m_fills.count(c)) m_fills.clear();
        std::unique_ptr<FillObjects>& fill = m_fills[c];
        if (!fill || !fill->pen.GetSafeHandle() || !fill->brush.GetSafeHandle()) {
            fill = std::make_unique<FillObjects>();
            fill->pen.CreatePen(PS_SOLID, 1, c);
            fill->brush.CreateSolidBrush(c);
        }
        // By handle: the wrappers of the objects put back are not needed (a face is filled per
        // band polygon, a hundred thousand times a frame).
        HGDIOBJ op = pDC->SelectObject(fill->pen.GetSafeHandle());
        HGDIOBJ ob = pDC->SelectObject(fill->brush.GetSafeHandle());
        pDC->Polygon(q, n);
        if (ob) pDC->SelectObject(ob);
        if (op) pDC->SelectObject(op);
    } else {
        pDC->Polygon(q, n);
    }
    for (int i = 0; flags && i < n && i < nFlags; ++i) {
        if (!flags[i]) continue;
        pDC->MoveTo(q[i]);
        pDC->LineTo(q[(i + 1) % n]);
    }
}

bool I_PVXCtrl::LeavesOutWindowItems(CDC* pDC) const {
    if (!pDC || !m_hCoveredSurface) return false;
    CBitmap* target = pDC->GetCurrentBitmap();
    return target && target->GetSafeHandle() == m_hCoveredSurface;
}

void I_PVXCtrl::Emit(CDC* pDC, GXgrItem& item, bool window) {
    if (!pDC) return;
    // The live copy on the window would be painted over by the image before anyone sees it.
    if (window && LeavesOutWindowItems(pDC)) return;
    if (m_bAddingGeom && !window && pDC == &m_memDC) {
        // Kept with the objects it would have been drawn with; drawn by XGR_RenderGeom.
        if (CPen* p = pDC->GetCurrentPen()) p->GetLogPen(&item.pen);
        if (CBrush* b = pDC->GetCurrentBrush()) b->GetLogBrush(&item.brush);
        m_xgr.push_back(GXgrEntry{std::move(item), nullptr});
        return;
    }
    if (window && m_bVirtual)
        DrawItem(pDC, item, WindowCamera(), false);
    else
        DrawItem(pDC, item, m_cam, false);
}

void I_PVXCtrl::DrawLine3D(CDC* pDC, const C3DPoint& a, const C3DPoint& b, double dParam) {
    if (pDC && !(m_bAddingGeom && pDC == &m_memDC)) {
        // Drawn at once: the two pixels straight from the camera.
        pDC->MoveTo(m_cam.WorldToPixel(a));
        pDC->LineTo(m_cam.WorldToPixel(b));
        return;
    }
    GXgrItem it;
    it.kind = GXgrItem::LINE;
    it.pts = {a, b};
    Emit(pDC, it, false);
}

void I_PVXCtrl::DrawLine3DOnClientWindow(CDC* pDC, const C3DPoint& a, const C3DPoint& b, double dParam) {
    GXgrItem it;
    it.kind = GXgrItem::LINE;
    it.pts = {a, b};
    Emit(pDC, it, true);
}

void I_PVXCtrl::DrawNode(CDC* pDC, const C3DPoint& p) {
    GXgrItem it;
    it.kind = GXgrItem::NODE;
    it.pts = {p};
    Emit(pDC, it, false);
}

void I_PVXCtrl::DrawNodeInClientWindow(CDC* pDC, const C3DPoint& p) {
    GXgrItem it;
    it.kind = GXgrItem::NODE;
    it.pts = {p};
    Emit(pDC, it, true);
}

void I_PVXCtrl::DrawCross(CDC* pDC, const C3DPoint& p, int size) {
    GXgrItem it;
    it.kind = GXgrItem::CROSS;
    it.pts = {p};
    it.size = size;
    Emit(pDC, it, false);
}

void I_PVXCtrl::DrawCrossInClientWindow(CDC* pDC, const C3DPoint& p, int size) {
    GXgrItem it;
    it.kind = GXgrItem::CROSS;
    it.pts = {p};
    it.size = size;
    Emit(pDC, it, true);
}

void I_PVXCtrl::DrawPoly(CDC* pDC, std::vector<C3DPoint> pts, const std::vector<int>* flags, int hasColor,
                         COLORREF c, bool window) {
    GXgrItem it;
    it.kind = GXgrItem::POLYGON;
    it.pts = std::move(pts);
    if (flags) it.edgeFlags = *flags;
    it.hasColor = hasColor;
    it.color = c;
    Emit(pDC, it, window);
}

// ---- retained geometry --------------------------------------------------------------------

void I_PVXCtrl::XGR_SetRebuildGeom(int on) { m_bRebuildGeom = on ? 1 : 0; }

void I_PVXCtrl::XGR_RemoveAllGeom() { m_xgr.clear(); }

void I_PVXCtrl::XGR_Begin_AddGeom() {
    if (!EnsureMemDC()) return;
    m_bAddingGeom = 1;
    m_pTap->SetSink([this](GXgrRawCall call) { m_xgr.push_back(GXgrEntry{GXgrItem{}, std::move(call)}); });
}

void I_PVXCtrl::XGR_End_AddGeom() {
    m_bAddingGeom = 0;
    if (m_pTap) m_pTap->ClearSink();
}

void I_PVXCtrl::XGR_RenderGeom(CDC* pDC) {
    // A pending rebuild means the kept geometry is stale: show nothing until it is redrawn.
    if (m_bRebuildGeom) return;
    if (!pDC) {
        if (!EnsureMemDC()) return;
        pDC = &m_memDC;
    }
    // Replaying into the list being recorded would feed it with itself.
    if (m_bAddingGeom && pDC == &m_memDC) return;
    DCBackend* backend = pDC->GetBackend();
    const DCState* state = pDC->GetState();
    for (const GXgrEntry& e : m_xgr) {
        if (!e.raw)
            DrawItem(pDC, e.item, m_cam, true);
        else if (backend && state)
            e.raw(*backend, *state);
    }
}

// ---- coloured polygon clipping ------------------------------------------------------------

namespace {
struct ClipVertex {
    double x, y;
    double r, g, b;
};

ClipVertex Lerp(const ClipVertex& a, const ClipVertex& b, double t) {
    return ClipVertex{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t,
                      a.b + (b.b - a.b) * t};
}

// One Sutherland-Hodgman pass against the half plane where f(v) >= 0 (f linear).
template <class F>
std::vector<ClipVertex> ClipPass(const std::vector<ClipVertex>& in, F f) {
    std::vector<ClipVertex> out;
    const size_t n = in.size();
    for (size_t i = 0; i < n; ++i) {
        const ClipVertex& a = in[i];
        const ClipVertex& b = in[(i + 1) % n];
        const double fa = f(a), fb = f(b);
        if (fa >= 0) out.push_back(a);
        if ((fa >= 0) != (fb >= 0)) out.push_back(Lerp(a, b, fa / (fa - fb)));
    }
    return out;
}

BYTE Channel(double v) { return static_cast<BYTE>(std::clamp(std::lround(v), 0L, 255L)); }
}  // namespace

int I_PVXCtrl::ClipColorPolygon(const std::vector<C3DPoint>& pts, const std::vector<DWORD>& colors, bool window,
                                std::vector<CPoint>& out, std::vector<DWORD>& outColors) const {
    out.clear();
    outColors.clear();
    if (pts.empty()) return 0;
    const GViewCamera cam = window ? WindowCamera() : m_cam;
    const CRect rc = window && m_bVirtual ? m_rcVirtual : m_rcClient;
    std::vector<ClipVertex> poly;
    for (size_t i = 0; i < pts.size(); ++i) {
        const C3DPoint p = cam.WorldToPixel3D(pts[i]);
        const DWORD c = colors.empty() ? 0 : colors[std::min(i, colors.size() - 1)];
        poly.push_back({p.x, p.y, double(GetRValue(c)), double(GetGValue(c)), double(GetBValue(c))});
    }
    const double l = rc.left, t = rc.top, r = rc.right - 1, b = rc.bottom - 1;
    poly = ClipPass(poly, [&](const ClipVertex& v) { return v.x - l; });
    if (!poly.empty()) poly = ClipPass(poly, [&](const ClipVertex& v) { return r - v.x; });
    if (!poly.empty()) poly = ClipPass(poly, [&](const ClipVertex& v) { return v.y - t; });
    if (!poly.empty()) poly = ClipPass(poly, [&](const ClipVertex& v) { return b - v.y; });
    for (auto& v : poly) {
        out.emplace_back(static_cast<int>(std::lround(v.x)), static_cast<int>(std::lround(v.y)));
        outColors.push_back(RGB(Channel(v.r), Channel(v.g), Channel(v.b)));
    }
    return static_cast<int>(out.size());
}

// ---- virtual (print and export) mode ------------------------------------------------------

void I_PVXCtrl::StartVirtualMode(int w, int h) {
    if (w <= 0 || h <= 0) return;  // no page: stay on the screen transform
    m_bVirtual = 1;
    m_rcVirtual = CRect(0, 0, w, h);
}

void I_PVXCtrl::EndVirtualMode() {
    m_bVirtual = 0;
    m_rcVirtual = CRect(0, 0, 0, 0);
}

CRect I_PVXCtrl::GetVirtualClientRect() const { return m_bVirtual ? m_rcVirtual : m_rcClient; }

void I_PVXCtrl::MustBeCalledPVXPrintingAfterModelDraw(CDC* pDC) {
    if (!pDC) return;
    // Printing draws straight into the device: add what the memory image would have carried.
    if (m_krig.IsOn() && !m_bKrigLaid) m_krig.Draw(pDC, WindowCamera(), WindowCamera().GetViewport());
    m_bKrigLaid = 0;
}

void I_PVXCtrl::DrawKrigContourBeneath(CDC* pDC) {
    if (!pDC || !m_krig.IsOn()) return;
    if (pDC == &m_memDC) {
        // The kept lines drawn so far go under the map, as they would at the end of the draw.
        if (m_pTap) m_pTap->Flush();
        m_krig.Draw(&m_memDC, m_cam, GetDrawingArea());
    } else {
        m_krig.Draw(pDC, WindowCamera(), WindowCamera().GetViewport());
    }
    m_bKrigLaid = 1;
}

void I_PVXCtrl::MustBeCallAfterExportBMP(CDC* pDC) {
    if (pDC && m_bShowVPointIcon) DrawViewPointIcon(pDC, m_rcClient);
}

int I_PVXCtrl::XGL_bIsBmpSizeChanged() const {
    return m_szXgl.cx == 0 || m_szXgl.cx != XGL_virtual_dimension_bmp_x || m_szXgl.cy != XGL_virtual_dimension_bmp_y;
}

int I_PVXCtrl::XGL_MakeMetafile(int bx, int by) {
    if (bx <= 0 || by <= 0) return 0;
    if (!m_xglDC.GetSafeHdc() && !m_xglDC.CreateCompatibleDC(nullptr)) return 0;
    if (m_szXgl.cx != bx || m_szXgl.cy != by || !m_xglBmp.GetSafeHandle()) {
        if (!ReplaceDCBitmap(m_xglDC, m_xglBmp, m_pOldXglBmp, bx, by)) {
            AfxDiagnostic("graphics control", "cannot make a %dx%d print image; choose a smaller page", bx, by);
            return 0;
        }
        m_szXgl = CSize(bx, by);
    }
    m_xglDC.FillSolidRect(0, 0, bx, by, m_crBack);
    m_bXglOpen = 1;
    return 1;
}

int I_PVXCtrl::XGL_StartVirtualMode(CDC* pDC, int bx, int by) {
    if (bx <= 0 || by <= 0) return 0;
    StartVirtualMode(bx, by);
    return XGL_MakeMetafile(bx, by);
}

void I_PVXCtrl::XGL_EndVirtualMode() { EndVirtualMode(); }

void I_PVXCtrl::XGL_DeleteCurMetafile() { m_bXglOpen = 0; }

CDC* I_PVXCtrl::XGL_GetCurMetafileDC() {
    // Never hand out a DC without a picture behind it.
    if (!m_xglBmp.GetSafeHandle()) {
        const int bx = XGL_virtual_dimension_bmp_x > 0 ? XGL_virtual_dimension_bmp_x : m_rcClient.Width();
        const int by = XGL_virtual_dimension_bmp_y > 0 ? XGL_virtual_dimension_bmp_y : m_rcClient.Height();
        if (!XGL_MakeMetafile(std::max(1, bx), std::max(1, by))) return nullptr;
    }
    return &m_xglDC;
}

void I_PVXCtrl::XGL_CloseMetafile() { m_bXglOpen = 0; }

void I_PVXCtrl::XGL_SetVirtualBmpToDevice(CDC* pDC) {
    if (!pDC || !m_xglBmp.GetSafeHandle()) return;
    int w = m_szXgl.cx, h = m_szXgl.cy;
    if (m_bPreview && XGL_virtual_dimension_x > 0 && XGL_virtual_dimension_y > 0) {
        w = XGL_virtual_dimension_x;
        h = XGL_virtual_dimension_y;
    }
    pDC->StretchBlt(0, 0, w, h, &m_xglDC, 0, 0, m_szXgl.cx, m_szXgl.cy, SRCCOPY);
}
