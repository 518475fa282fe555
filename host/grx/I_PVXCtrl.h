// I_PVXCtrl: the 3-D graphics control of a result view.
//
// A view owns one control (GRenderView::GetI_PVXCtrl). The model registers itself with
// SetI_PVXModel and is then called back through I_PVXModelBase for geometry (ranges, node
// positions, element boxes) and for painting (PV_OnDraw after the picture reached the window).
// The control keeps:
//   - a camera (GViewCamera): orthographic, world z up, standard views, zoom-all;
//   - a memory image (a raster memory DC of the client size) that the model draws into between
//     BeginDrawToMemDC and EndDrawToMemDC, then copied to the window (PaintWindow);
//   - world-to-image and world-to-window transforms. They agree on screen; in virtual (print or
//     export) mode the window transform maps into the virtual page instead;
//   - a registry of drawable objects under type ids (GetObjectIDRange / GetNodeIDRange: the
//     first id names the undeformed model, first id + 1 the deformed one) with world and view
//     bounding boxes, depth sorting and a picking quadtree;
//   - a retained-geometry display list: what is drawn on the memory DC between
//     XGR_Begin_AddGeom and XGR_End_AddGeom is kept instead of drawn, and XGR_RenderGeom draws
//     it until a rebuild is asked for. The control's own 3-D primitives are kept in world
//     coordinates and follow the current view; other drawing calls are kept as made (pixels);
//   - client margins that reserve strips (the legend) outside the drawing area;
//   - the Kriging contour display of scattered values.
//
// Conventions: ints are flags (non-zero true or success); pixel y grows downward; colours are
// COLORREF. Nothing here waits for a person: Escape is polled from the platform's key state.
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/grx/C3DPoint.h"
#include "host/grx/GKrigContour.h"
#include "host/grx/GObjectRegistry.h"
#include "host/grx/GQuadTree.h"
#include "host/grx/GRE_Atom.h"
#include "host/grx/GViewCamera.h"
#include "host/grx/GXgrTapBackend.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CList.h"
#include "platform/afx/WorkCrew.h"
#include "platform/gdi/afxgdi.h"

class I_PVXModelBase;
class CMenu;
class CView;
class CWnd;

// One primitive of the retained display list, in world coordinates with the pen and brush it
// was drawn with.
struct GXgrItem {
    enum Kind { LINE, POLYGON, NODE, CROSS };
    int kind = LINE;
    std::vector<C3DPoint> pts;
    std::vector<int> edgeFlags;   // polygons with an edge-flag array; empty otherwise
    int hasColor = 0;             // polygon filled with `color` instead of the selected brush
    COLORREF color = 0;
    int size = 0;                 // cross size in pixels
    LOGPEN pen{};
    LOGBRUSH brush{};
};

// One entry of the retained display list: a primitive of the control in world coordinates, or
// (raw set) a plain drawing call made on the memory DC, kept in pixels.
struct GXgrEntry {
    GXgrItem item;
    GXgrRawCall raw;
};

// One entry of the vector-stream group log (XGL_Begin_* / XGL_End_Elem).
struct GXglGroup {
    enum Kind { FRAME, PLANE, ELSE, DIAGRAM, END, CUTTING_BEGIN, CUTTING_END };
    int kind;
    UINT key;   // object key; the end flag for END
    int flag;   // the bool argument of a begin
};

class I_PVXCtrl {
public:
    // Type ids handed out for objects (members, elements) and nodes.
    static constexpr int kObjectIDFirst = 1001;
    static constexpr int kObjectIDLast = 1010;
    static constexpr int kNodeIDFirst = 2001;
    static constexpr int kNodeIDLast = 2010;
    static constexpr int kDefaultClientWidth = 800;
    static constexpr int kDefaultClientHeight = 600;
    static constexpr int kNodeSize = 5;       // pixels across a node mark
    static constexpr int kPickTolerance = 4;  // pixels

    I_PVXCtrl();
    virtual ~I_PVXCtrl();
    I_PVXCtrl(const I_PVXCtrl&) = delete;
    I_PVXCtrl& operator=(const I_PVXCtrl&) = delete;

    // ---- model and owner ------------------------------------------------------------------
    void SetI_PVXModel(I_PVXModelBase* pModel) { m_pModel = pModel; }
    I_PVXModelBase* GetI_PVXModel() const { return m_pModel; }
    // The window the picture is shown in (invalidated after a draw); may be null.
    void SetOwnerWnd(CWnd* pWnd) { m_pOwner = pWnd; }
    CWnd* GetOwnerWnd() const { return m_pOwner; }

    // ---- modes ----------------------------------------------------------------------------
    int IsPVXViewMode() const { return m_bPVXViewMode; }
    void SetPVXViewMode(int on) { m_bPVXViewMode = on ? 1 : 0; }
    int IsGLRenderer() const { return m_bGLRenderer; }
    void SetGLRenderer(int on) { m_bGLRenderer = on ? 1 : 0; }
    int IsXGRMode() const { return m_bXGRMode; }
    void SetXGRMode(int on) { m_bXGRMode = on ? 1 : 0; }
    int IsDynamicViewMode() const { return m_bDynamicView; }
    void SetDynamicViewMode(int on) { m_bDynamicView = on ? 1 : 0; }
    int IsDrawNode() const { return m_bDrawNode; }
    void SetDrawNode(int on) { m_bDrawNode = on ? 1 : 0; }
    // Non-zero when the control marks active nodes itself in retained-geometry mode.
    int XGR_IsRenderNode() const { return m_bXGRRenderNode; }
    void XGR_SetRenderNode(int on) { m_bXGRRenderNode = on ? 1 : 0; }
    int IsAccumulateMode() const { return m_bAccumulate; }
    void BeginAccumulateMode() { m_bAccumulate = 1; }
    void EndAccumulateMode() { m_bAccumulate = 0; }
    // In accumulate mode: whether a rebuild starts by removing all geometry.
    int IsCompleteRemoveAllGeomAtFirst() const { return m_bRemoveAllAtFirst; }
    void SetCompleteRemoveAllGeomAtFirst(int on) { m_bRemoveAllAtFirst = on ? 1 : 0; }
    void SetShowVPointIcon(int show) { m_bShowVPointIcon = show ? 1 : 0; }
    int IsShowVPointIcon() const { return m_bShowVPointIcon; }

    // State the host sets and the module reads; the control itself does not change them.
    int m_nCtrlState;          // state word: 1 makes the legend keep its screen fonts when printing
    BYTE m_byDrawState;        // 0 normal; non-zero: numbers are drawn at once even in retained mode
    BOOL m_bDrawingMetafile;   // set by the module while it exports a metafile with the GL renderer

    // View state reported to the model: wire frame, undeformed wire frame, hidden-line switch,
    // shrink switch, shrink factor and culling switch.
    void GetREViewState(int& wire, int& undeformedWire, int& hidden, int& shrink, double& shrinkFactor,
                        int& culling) const;
    void SetREViewState(int wire, int undeformedWire, int hidden, int shrink, double shrinkFactor, int culling);

    // ---- retained geometry ----------------------------------------------------------------
    int XGR_IsRebuildGeom() const { return m_bRebuildGeom; }
    void XGR_SetRebuildGeom(int on);
    void XGR_RemoveAllGeom();
    void XGR_Begin_AddGeom();
    void XGR_End_AddGeom();
    // Draws the kept geometry on the memory DC (or on pDC) with the current view. Nothing is
    // drawn while a rebuild is pending.
    void XGR_RenderGeom(CDC* pDC = nullptr);
    int XGR_IsAddingGeom() const { return m_bAddingGeom; }
    int XGR_GetGeomCount() const { return static_cast<int>(m_xgr.size()); }
    void ActiveGLRenderNode() { ++m_nGLRenderNode; }
    void InactiveGLRenderNode() { if (m_nGLRenderNode > 0) --m_nGLRenderNode; }
    int IsGLRenderNodeActive() const { return m_nGLRenderNode > 0; }
    // Visibility test of GL-rendered output, switched on by PVXTempEnableGLVisibleCheck.
    void EnableGLVisibleCheck(int on) { m_nGLVisibleCheck += on ? 1 : (m_nGLVisibleCheck > 0 ? -1 : 0); }
    int IsGLVisibleCheck() const { return m_nGLVisibleCheck > 0; }

    // ---- memory image ---------------------------------------------------------------------
    // Clears the memory image with the colour; flag 0 also repaints the window background.
    void ClearBuffer(COLORREF color, int flag);
    // Makes the memory image ready for drawing (resized to the client area); non-zero on success.
    // A retained-geometry draw starts from the background, as the kept geometry is drawn anew.
    int BeginDrawToMemDC(bool bRetained);
    CDC* GetMemDC();
    // Ends drawing: overlays the Kriging contour and asks the owner window to repaint.
    void EndDrawToMemDC(bool bRetained);
    int IsDrawingToMemDC() const { return m_bInMemDraw; }
    // Non-zero while the memory image shows the current view (set by EndDrawToMemDC, cleared by
    // anything that moves the picture or resizes it).
    int IsImageValid() const { return m_bImageValid; }
    void InvalidateImage() { m_bImageValid = 0; }
    // While painting, drawing does not ask the owner window for another paint.
    void BeginPaint() { ++m_nPainting; }
    void EndPaint() { if (m_nPainting > 0) --m_nPainting; }
    // Copies the memory image to pDC at the client origin.
    void SwapBuffer(CDC* pDC);
    // The surface (bitmap) of the paint DC pDC when SwapBuffer on it will copy the memory image
    // over every pixel of it (an unclipped DC with the identity mapping, a surface no larger
    // than the image); null otherwise.
    HGDIOBJ SurfaceCoveredBySwap(CDC* pDC);
    // While set, items drawn on a window DC whose surface it is are left out: the memory image
    // is about to cover them (see GRenderView::OnDraw). Null draws everything.
    void SetCoveredSurface(HGDIOBJ hSurface) { m_hCoveredSurface = hSurface; }
    // Whether window items drawn on pDC are left out so (its surface is the covered one).
    bool LeavesOutWindowItems(CDC* pDC) const;
    // Paints a window: the memory image, then the model's PV_OnDraw on the same DC.
    void PaintWindow(CDC* pDC);
    COLORREF GetBackgroundColor() const { return m_crBack; }

    // ---- client area, margins and camera --------------------------------------------------
    void SetClientSize(int cx, int cy);
    CRect GetClientRect() const { return m_rcClient; }
    void SetClientWindowMargin(int left, int top, int right, int bottom, DWORD dwOpt1, DWORD dwOpt2);
    void ResetClientWindowMargin();
    // Margin strip of a side (0 left, 1 right, 2 top, 3 bottom) in client (or virtual) pixels.
    CRect GetClientWindowMargin(int side) const;
    // Client rectangle minus the margins: where the model is fitted.
    CRect GetDrawingArea() const;
    GViewCamera& GetCamera() { return m_cam; }
    const GViewCamera& GetCamera() const { return m_cam; }
    // Standard view (GViewCamera::VIEW_*) followed by a zoom-all.
    void SetStandardView(int view);
    // Turns the view to free angles (degrees); boxes and the picking tree follow.
    void SetViewAngles(double azimuthDeg, double elevationDeg);
    // Fits the model range (the model's RE_GetRangeModel, else the registered boxes).
    void ViewZoomAll(int flag);
    // Whether a zoom-all would show anything: 0, with the reason in *pWhy, when the model range
    // is empty (nothing drawable: no element whose nodes exist) or collapses to one point (all
    // coordinates equal, or apart by less than kMinVisibleExtent). For the host to tell the user.
    int HasVisibleExtent(std::string* pWhy) const;
    // The box a zoom-all fits (as HasVisibleExtent); 0 when there is none.
    int GetDrawnRange(C3DPoint& lo, C3DPoint& hi) const;
    static constexpr double kMinVisibleExtent = 1e-9;  // m
    // Fits a given world box.
    void ZoomToRange(const C3DPoint& lo, const C3DPoint& hi);
    void ViewZoom(double factor);
    void ViewPan(int dx, int dy);
    int IsZoomAllState() const { return m_bZoomAll; }
    void XGL_SetRedrawPreView() { m_bRedrawPreview = 1; }
    int XGL_IsRedrawPreView() const { return m_bRedrawPreview; }

    // ---- transforms -----------------------------------------------------------------------
    CPoint GetWorldToMemDCP2D(const C3DPoint& p) const;
    CPoint GetWorldToWindowP2D(const C3DPoint& p) const;
    // Window pixel position with the view depth as z (larger z is nearer the viewer).
    C3DPoint GetWorldToWindowP3D(const C3DPoint& p) const;
    void GetClientToMemDC(CPoint ptClient, CPoint& ptMem) const;
    // View coordinates of a world point (rotation only, see GViewCamera).
    C3DPoint GetVcsCoord(const C3DPoint& p) const { return m_cam.WorldToView(p); }
    void GetVcsCoord(const C3DPoint& p, C3DPoint& out) const { out = m_cam.WorldToView(p); }
    // World length shown by so many pixels at the current zoom (of the virtual page when set).
    double GetWorldLength(double pixels) const;
    void GetVirtualWHRatio(int& wRatio, int& hRatio) const;

    // ---- drawing in world coordinates ---------------------------------------------------------
    // Memory-image forms use the image transform, the client-window forms the window transform.
    // Lines and nodes use the DC's pen and brush; a polygon with a colour is filled and outlined
    // in it, without one with the DC's brush and pen. The last argument of the line calls is
    // passed as 0.0 by every caller and does not change the straight line.
    void DrawLine3D(CDC* pDC, const C3DPoint& a, const C3DPoint& b, double dParam = 0.0);
    void DrawLine3DOnClientWindow(CDC* pDC, const C3DPoint& a, const C3DPoint& b, double dParam = 0.0);
    void DrawNode(CDC* pDC, const C3DPoint& p);
    void DrawNodeInClientWindow(CDC* pDC, const C3DPoint& p);
    void DrawCross(CDC* pDC, const C3DPoint& p, int size = 8);
    void DrawCrossInClientWindow(CDC* pDC, const C3DPoint& p, int size = 8);
    template <class A>
    void DrawPolygon3DFill(CDC* pDC, CList<C3DPoint, A>& pts) { FillList(pDC, pts, nullptr, 0, 0, 0, false); }
    template <class A>
    void DrawPolygon3DFill(CDC* pDC, CList<C3DPoint, A>& pts, COLORREF c) { FillList(pDC, pts, nullptr, 0, 1, c, false); }
    // With an edge-flag array: filled without outline, then edge i (vertex i to i+1, the last
    // one closing) drawn with the DC's pen where flag i is non-zero.
    template <class A, class F>
    void DrawPolygon3DFill(CDC* pDC, CList<C3DPoint, A>& pts, CArray<int, F>& flags, COLORREF c) {
        FillList(pDC, pts, flags.GetData(), static_cast<int>(flags.GetSize()), 1, c, false);
    }
    // Many polygons in pixels (band lists): when DrawsAtOnce(pDC), the memory-image forms above
    // come to projecting each point with MemPixel and drawing the pixels, so a caller may
    // project shared points once and fill with FillPixels (as DrawPolygon3DFill with a colour)
    // and draw lines with MoveTo/LineTo of the pixels (as DrawLine3D).
    bool DrawsAtOnce(const CDC* pDC) const { return pDC && !RecordsItem(pDC, false); }
    CPoint MemPixel(const C3DPoint& p) const { return m_cam.WorldToPixel(p); }
    // MemPixel(p) is MemPixelOfView(GetVcsCoord(p)): a caller that needs a point's view
    // coordinates too (flat shading) projects it once.
    CPoint MemPixelOfView(const C3DPoint& vcs) const { return m_cam.ViewPointToPixel(vcs); }
    // MemPixelTerms().Pixel(vcs) is MemPixelOfView(vcs), the camera's terms read once.
    GViewCamera::PixelTerms MemPixelTerms() const { return m_cam.Terms(); }
    void FillPixels(CDC* pDC, const POINT* q, int n, COLORREF c) { DrawPolygonPixels(pDC, q, n, nullptr, 0, 1, c); }
    // FillPixels of polys polygons in a row (counts[k] points each, one after the other in q,
    // colour colors[k]), with one call into the DC for a run of them.
    void FillPixelsList(CDC* pDC, const POINT* q, const int* counts, const COLORREF* colors, int polys);
    // Faces one after the other, each its polygons as FillPixelsList fills them and then its
    // lines as CDC::LineSegments draws them with the selected pen, in one call into the DC for
    // a run of them; run's cursor ends past the last face.
    void FillFaces(CDC* pDC, SolidFaceRun& run);
    template <class A>
    void DrawPolygon3DFillOnClientWindow(CDC* pDC, CList<C3DPoint, A>& pts) { FillList(pDC, pts, nullptr, 0, 0, 0, true); }
    template <class A>
    void DrawPolygon3DFillOnClientWindow(CDC* pDC, CList<C3DPoint, A>& pts, COLORREF c) {
        FillList(pDC, pts, nullptr, 0, 1, c, true);
    }
    template <class A, class F>
    void DrawPolygon3DFillOnClientWindow(CDC* pDC, CList<C3DPoint, A>& pts, CArray<int, F>& flags, COLORREF c) {
        FillList(pDC, pts, flags.GetData(), static_cast<int>(flags.GetSize()), 1, c, true);
    }

    // Projects a coloured polygon and clips it to the memory image (or the window area);
    // output vertices get colours interpolated along the cut edges. Returns the number of
    // output vertices (0: nothing visible).
    template <class A1, class A2, class A3, class A4>
    int GetColorVPolygonForMemDC(CArray<C3DPoint, A1>& pts, CArray<CPoint, A2>& out, CArray<DWORD, A3>& colors,
                                 CArray<DWORD, A4>& outColors) {
        return ClipColorPolygonTo(pts, out, colors, outColors, false);
    }
    template <class A1, class A2, class A3, class A4>
    int GetColorVPolygonForClient(CArray<C3DPoint, A1>& pts, CArray<CPoint, A2>& out, CArray<DWORD, A3>& colors,
                                  CArray<DWORD, A4>& outColors) {
        return ClipColorPolygonTo(pts, out, colors, outColors, true);
    }

    // ---- depth order and culling ------------------------------------------------------------
    // For each listed type and key, the objects back to front by the view depth of their box
    // centre (equal depths keep the input order). Keys whose box is unknown are asked of the
    // model; those still without one come first.
    template <class A1, class A2, class A3>
    void GetZSortedList(CArray<int, A1>& types, CArray<UINT, A2>& keys, CArray<GRE_Atom, A3>& out) {
        std::vector<int> t(types.GetData(), types.GetData() + types.GetSize());
        std::vector<UINT> k(keys.GetData(), keys.GetData() + keys.GetSize());
        std::vector<GRE_Atom> r;
        ZSortObjects(t, k, r);
        out.RemoveAll();
        out.SetSize(0, static_cast<INT_PTR>(r.size()));
        for (auto& a : r) out.Add(a);
    }
    // The same for one object type over a key list.
    template <class A2, class A3>
    void GetZSortedList(CArray<UINT, A2>& keys, int type, CArray<GRE_Atom, A3>& out) {
        CArray<int, int> types;
        types.Add(type);
        GetZSortedList(types, keys, out);
    }
    // Back-to-front order of polygons (indices into faces) by the view depth of their centroid.
    // The centroids are summed straight from the lists (a raft member has a hundred thousand).
    template <class L, class A1, class A2>
    void GetZSortPolygonList(CArray<L*, A1>& faces, CArray<int, A2>& order) {
        std::vector<std::pair<C3DPoint, size_t>> sums(static_cast<size_t>(faces.GetSize()));
        for (INT_PTR i = 0; i < faces.GetSize(); ++i) {
            if (!faces[i]) continue;
            auto& [sum, n] = sums[static_cast<size_t>(i)];
            for (POSITION pos = faces[i]->GetHeadPosition(); pos; ++n) sum += faces[i]->GetNext(pos);
        }
        std::vector<int> o;
        ZSortCentroidSums(sums, o);
        order.RemoveAll();
        order.SetSize(0, static_cast<INT_PTR>(o.size()));
        for (int i : o) order.Add(i);
    }
    // Back-to-front order of faces given by each face's sum of points and their count, by the
    // view depth of the centroid (0 points: an empty face, drawn first).
    void ZSortCentroidSums(const std::vector<std::pair<C3DPoint, size_t>>& sums, std::vector<int>& order) const;
    // The same for n faces, face i's sum of points and their count given by sumOf(i), so that a
    // caller holding a hundred thousand faces need not gather the sums first.
    // The depths of many faces are found on several threads: sumOf may be called on any.
    template <class SumOf>
    void ZSortCentroids(size_t n, SumOf&& sumOf, std::vector<int>& order) const {
        std::vector<std::pair<double, int>> d(n);
        ForSpans(n, 16384, [&](size_t from, size_t to) {
            for (size_t i = from; i < to; ++i) {
                const std::pair<C3DPoint, size_t> s = sumOf(i);
                d[i] = {CentroidDepth(s.first, s.second), static_cast<int>(i)};
            }
        });
        SortByDepth(d, order);
    }
    // The indices of d (depth, index) back to front, equal depths in their order (d is left
    // in any order).
    static void SortByDepth(std::vector<std::pair<double, int>>& d, std::vector<int>& order);
    // Reorders the array itself back to front.
    template <class L, class A1>
    void GetZSortPolygonList(CArray<L*, A1>& faces) {
        CArray<int, int> order;
        GetZSortPolygonList(faces, order);
        std::vector<L*> tmp;
        for (INT_PTR i = 0; i < order.GetSize(); ++i) tmp.push_back(faces[order[i]]);
        for (INT_PTR i = 0; i < faces.GetSize(); ++i) faces[i] = tmp[static_cast<size_t>(i)];
    }
    // Non-zero when the object's view box meets the drawing area (unknown boxes count as in).
    int IsObjectInClientWindow(int type, UINT key);

    // ---- objects, active sets and picking ---------------------------------------------------
    void GetObjectIDRange(int& first, int& last) const { first = kObjectIDFirst; last = kObjectIDLast; }
    void GetNodeIDRange(int& first, int& last) const { first = kNodeIDFirst; last = kNodeIDLast; }
    int AddObject(int type, UINT key, int flag);
    // Room for n more objects, for a caller about to add that many.
    void ReserveObjects(int n) { m_reg.Reserve(n > 0 ? static_cast<size_t>(n) : 0); }
    int DelObject(int type, UINT key);
    int GetObjectCount() const { return m_reg.GetCount(); }
    // The registered object with its boxes under the current view; none when not registered.
    std::optional<GRE_Object> FindObject(int type, UINT key) const { return m_reg.Find(type, key, m_cam); }
    // Recomputes world boxes (asked of the model) and view boxes of every registered object.
    void UpdateAllWcsVcsMBR();
    int QTreeAdd(GRE_Atom& atom);
    // Room for n more picking entries, for a caller about to add that many.
    void QTreeReserve(int n);
    void QTreeClearAll();
    int QTreeGetCount() const { return static_cast<int>(m_qtAtoms.size()); }
    // The picking-tree object under a client-window point (closest to it; equally close: a
    // node, then the one nearer the viewer), of a type in [tmin, tmax]; 0 when none.
    int PickObject(CPoint ptWindow, GRE_Atom& atom, int tmin = INT32_MIN, int tmax = INT32_MAX);
    int SelectObject(int type, UINT key, int select);
    void UnselectAllObject() { m_reg.UnselectAll(); }
    // Non-zero for a key registered with the shown flag under a node (object) type id.
    int IsActiveNode(UINT key) const;
    int IsActiveElem(UINT key) const;
    // Shows every registered object; tells the model when that changed the active set.
    void ActiveAll();
    // Makes the given part of the model active, as the host's activation commands do: each
    // member (undeformed and deformed) active when passed with flag 1, each passed node active,
    // every other member and node inactive; then tells the model (PV_OnActiveDeActiveChangeByFlag).
    void ActiveByFlag(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members, CArray<UINT, UINT>& nodeFlags,
                      CArray<UINT, UINT>& memberFlags);
    // result = the keys of all that are not in subset, in the order of all.
    template <class A1, class A2, class A3>
    void SubtractKey(CArray<UINT, A1>& all, CArray<UINT, A2>& subset, CArray<UINT, A3>& result) {
        std::vector<UINT> r;
        SubtractKeys(all.GetData(), static_cast<size_t>(all.GetSize()), subset.GetData(),
                     static_cast<size_t>(subset.GetSize()), r);
        result.SetSize(static_cast<INT_PTR>(r.size()));
        std::copy(r.begin(), r.end(), result.GetData());
    }

    // ---- long loops ---------------------------------------------------------------------------
    // Non-zero once Escape was pressed; latched until the next BeginDrawToMemDC.
    int WatchEscKeyPress();
    void ResetEscKeyPress() { m_bEscPressed = 0; }

    // ---- menus --------------------------------------------------------------------------------
    // Custom accelerator texts by command id, shown after a tab in menu items.
    void SetCustomAccelerator(UINT nID, const char* pszText);
    void ApplyCustomAcceleratorToMenu(CMenu* pMenu);

    // ---- Kriging contour ----------------------------------------------------------------------
    // Shows a contour of scattered values (kind 1 settlement, 0 reactions), drawn over the model
    // at the end of each memory-image draw (and of each print or export) until switched off,
    // unless the drawing laid it down already with DrawKrigContourBeneath.
    template <class A1, class A2>
    int OnKrigContour(CArray<C3DPoint, A1>& pts, CArray<double, A2>& values, int kind, GKrigContourDetail& detail) {
        std::vector<C3DPoint> p(pts.GetData(), pts.GetData() + pts.GetSize());
        std::vector<double> v(values.GetData(), values.GetData() + values.GetSize());
        return m_krig.Set(p, v, kind, detail);
    }
    void OffKrigContour() { m_krig.Off(); }
    // Paints the contour into pDC (the memory image, or the page of a print or export) now, so
    // that what the drawing adds afterwards, the values written on it, stays visible; the end
    // of this draw then leaves it out.
    void DrawKrigContourBeneath(CDC* pDC);
    GKrigContour& GetKrigContour() { return m_krig; }

    // ---- printing and export ------------------------------------------------------------------
    // Virtual mode: the window transform maps into a page of w x h pixels.
    void StartVirtualMode(int w, int h);
    void EndVirtualMode();
    int IsVirtualMode() const { return m_bVirtual; }
    CRect GetVirtualClientRect() const;
    void MustBeCalledPVXPrintingAfterModelDraw(CDC* pDC);
    void MustBeCallAfterExportBMP(CDC* pDC);
    // Print image (the GL print path): a bitmap of XGL_virtual_dimension_bmp_x x _y pixels.
    int XGL_bIsBmpSizeChanged() const;
    int XGL_StartVirtualMode(CDC* pDC, int bx, int by);
    void XGL_EndVirtualMode();
    int XGL_bIsPreviewMode() const { return m_bPreview; }
    void XGL_SetPreviewMode(int on) { m_bPreview = on ? 1 : 0; }
    void XGL_DeleteCurMetafile();
    int XGL_MakeMetafile(int bx, int by);
    CDC* XGL_GetCurMetafileDC();
    void XGL_CloseMetafile();
    // Stretches the print image over the print area of pDC.
    void XGL_SetVirtualBmpToDevice(CDC* pDC);
    int XGL_virtual_dimension_bmp_x;  // print image size in pixels
    int XGL_virtual_dimension_bmp_y;
    int XGL_virtual_dimension_x;      // print area on the device (preview size in preview mode)
    int XGL_virtual_dimension_y;

    // Vector-stream groups, logged in call order for the print handler.
    void XGL_Begin_Frame(UINT key, bool flag) { m_xgl.push_back({GXglGroup::FRAME, key, flag ? 1 : 0}); }
    void XGL_Begin_Plane(UINT key, bool flag) { m_xgl.push_back({GXglGroup::PLANE, key, flag ? 1 : 0}); }
    void XGL_Begin_Else(UINT key, bool flag) { m_xgl.push_back({GXglGroup::ELSE, key, flag ? 1 : 0}); }
    void XGL_Begin_Diagram(UINT key, bool flag) { m_xgl.push_back({GXglGroup::DIAGRAM, key, flag ? 1 : 0}); }
    void XGL_End_Elem(int flag) { m_xgl.push_back({GXglGroup::END, static_cast<UINT>(flag), 0}); }
    void XGL_Begin_CuttingPLDiagram() { m_xgl.push_back({GXglGroup::CUTTING_BEGIN, 0, 0}); }
    void XGL_End_CuttingPLDiagram() { m_xgl.push_back({GXglGroup::CUTTING_END, 0, 0}); }
    const std::vector<GXglGroup>& XGL_GetGroupLog() const { return m_xgl; }
    void XGL_ClearGroupLog() { m_xgl.clear(); }

private:
    class ModelGeometry;
    friend class ModelGeometry;

    // A polygon of a list: drawn at once through buffers kept across calls, or kept as an item
    // while retained geometry is recorded.
    template <class L>
    void FillList(CDC* pDC, L& list, const int* flags, int nFlags, int hasColor, COLORREF c, bool window) {
        if (!pDC) return;
        if (RecordsItem(pDC, window)) {
            std::vector<int> f(flags, flags + (flags ? nFlags : 0));
            DrawPoly(pDC, ToVector(list), flags ? &f : nullptr, hasColor, c, window);
            return;
        }
        if (window && m_bVirtual) m_windowCam = WindowCamera();
        const GViewCamera& cam = window && m_bVirtual ? m_windowCam : m_cam;
        m_itemPixels.clear();
        for (POSITION pos = list.GetHeadPosition(); pos;) m_itemPixels.push_back(cam.WorldToPixel(list.GetNext(pos)));
        DrawPolygonPixels(pDC, m_itemPixels.data(), static_cast<int>(m_itemPixels.size()), flags, flags ? nFlags : 0,
                          hasColor, c);
    }
    bool RecordsItem(const CDC* pDC, bool window) const { return m_bAddingGeom && !window && pDC == &m_memDC; }
    // A polygon in pixels: filled (with c when hasColor) and its flagged edges.
    void DrawPolygonPixels(CDC* pDC, const POINT* q, int n, const int* flags, int nFlags, int hasColor, COLORREF c);

    template <class L>
    static std::vector<C3DPoint> ToVector(L& list) {
        std::vector<C3DPoint> v;
        POSITION pos = list.GetHeadPosition();
        while (pos) v.push_back(list.GetNext(pos));
        return v;
    }
    template <class A1, class A2, class A3, class A4>
    int ClipColorPolygonTo(CArray<C3DPoint, A1>& pts, CArray<CPoint, A2>& out, CArray<DWORD, A3>& colors,
                           CArray<DWORD, A4>& outColors, bool window) {
        std::vector<C3DPoint> p(pts.GetData(), pts.GetData() + pts.GetSize());
        std::vector<DWORD> c(colors.GetData(), colors.GetData() + colors.GetSize());
        std::vector<CPoint> rp;
        std::vector<DWORD> rc;
        int n = ClipColorPolygon(p, c, window, rp, rc);
        out.RemoveAll();
        outColors.RemoveAll();
        for (auto& q : rp) out.Add(q);
        for (auto q : rc) outColors.Add(q);
        return n;
    }

    const GViewCamera& MemCamera() const { return m_cam; }
    GViewCamera WindowCamera() const;
    void UpdateViewport();
    void ViewChanged();  // after a rotation: view boxes and picking tree follow
    // Catches a turn made on the camera directly (GetCamera) before view boxes are used.
    void SyncView();
    // The picking tree is made when a pick first needs it: a change of the entries or of the
    // view boxes (RebuildQTree) drops it, BuildQTree makes it again from the entries.
    void RebuildQTree();
    void BuildQTree();
    void DrawPoly(CDC* pDC, std::vector<C3DPoint> pts, const std::vector<int>* flags, int hasColor, COLORREF c,
                  bool window);
    // Records the item when the retained list is open and pDC is the memory DC; else draws it.
    void Emit(CDC* pDC, GXgrItem& item, bool window);
    void DrawItem(CDC* pDC, const GXgrItem& item, const GViewCamera& cam, bool useStoredObjects);
    void ZSortObjects(const std::vector<int>& types, const std::vector<UINT>& keys, std::vector<GRE_Atom>& out);
    // View depth of the centroid of n points summing to sum; minus infinity for none (or NaN).
    double CentroidDepth(const C3DPoint& sum, size_t n) const;
    int ClipColorPolygon(const std::vector<C3DPoint>& pts, const std::vector<DWORD>& colors, bool window,
                         std::vector<CPoint>& out, std::vector<DWORD>& outColors) const;
    static void SubtractKeys(const UINT* all, size_t nAll, const UINT* subset, size_t nSubset, std::vector<UINT>& r);
    int EnsureMemDC();
    void InvalidateOwner(BOOL bErase);
    void DrawViewPointIcon(CDC* pDC, const CRect& rc);
    int IsActiveKey(UINT key, int tmin, int tmax) const;

    I_PVXModelBase* m_pModel;
    CWnd* m_pOwner;
    std::unique_ptr<ModelGeometry> m_pGeom;  // geometry source answering from the model

    int m_bPVXViewMode, m_bGLRenderer, m_bXGRMode, m_bDynamicView, m_bDrawNode, m_bXGRRenderNode;
    int m_bAccumulate, m_bRemoveAllAtFirst, m_bShowVPointIcon;
    int m_nViewState[4];        // wire, undeformed wire, hidden, shrink (GetREViewState order)
    double m_dShrinkFactor;
    int m_nCulling;

    // Retained geometry.
    int m_bRebuildGeom, m_bAddingGeom;
    std::vector<GXgrEntry> m_xgr;
    GXgrTapBackend* m_pTap;      // back end of m_memDC, owned by the DC
    // Pen and brush of each colour polygons were filled in, kept for the next polygon of that
    // colour (band fills come by the hundred thousand in a few colours).
    struct FillObjects {
        CPen pen;
        CBrush brush;
    };
    static constexpr size_t kMaxFillColors = 256;
    std::unordered_map<COLORREF, std::unique_ptr<FillObjects>> m_fills;
    std::vector<POINT> m_itemPixels;  // pixels of the item being drawn (DrawItem, FillList)
    GViewCamera m_windowCam;          // window camera of FillList in virtual mode
    int m_nGLRenderNode, m_nGLVisibleCheck;

    // Memory image.
    CDC m_memDC;
    CBitmap m_memBmp;
    CBitmap* m_pOldBmp;
    CSize m_szMem;               // size of the memory bitmap
    int m_bInMemDraw;
    HGDIOBJ m_hCoveredSurface = nullptr;
    int m_bImageValid;
    int m_nPainting;
    COLORREF m_crBack;

    CRect m_rcClient;            // client area (origin 0, 0)
    CRect m_rcMargin;            // left, top, right, bottom widths in client pixels
    DWORD m_dwMarginOpt1, m_dwMarginOpt2;
    GViewCamera m_cam;
    C3DPoint m_vSyncRight, m_vSyncUp;  // camera axes the view boxes were made with
    int m_bZoomAll;
    int m_bRedrawPreview;

    GObjectRegistry m_reg;
    GQuadTree m_qt;
    std::vector<GRE_Atom> m_qtAtoms;  // atoms of the picking tree, by tree id
    bool m_bQTreeStale = false;        // m_qt is to be made again from m_qtAtoms

    int m_bEscPressed;
    std::vector<std::pair<UINT, std::string>> m_accel;
    GKrigContour m_krig;
    int m_bKrigLaid = 0;         // the contour is in this draw's picture already

    // Virtual and print mode.
    int m_bVirtual;
    CRect m_rcVirtual;
    int m_bPreview;
    CDC m_xglDC;                 // draws the print image
    CBitmap m_xglBmp;
    CBitmap* m_pOldXglBmp;
    CSize m_szXgl;               // size of the built print image; 0 when none
    int m_bXglOpen;

    std::vector<GXglGroup> m_xgl;
};

// Scope object: enables the control's visibility test for GL-rendered output while it lives.
class PVXTempEnableGLVisibleCheck {
public:
    explicit PVXTempEnableGLVisibleCheck(I_PVXCtrl* pCtrl) : m_pCtrl(pCtrl) { if (m_pCtrl) m_pCtrl->EnableGLVisibleCheck(1); }
    ~PVXTempEnableGLVisibleCheck() { if (m_pCtrl) m_pCtrl->EnableGLVisibleCheck(0); }
    PVXTempEnableGLVisibleCheck(const PVXTempEnableGLVisibleCheck&) = delete;
    PVXTempEnableGLVisibleCheck& operator=(const PVXTempEnableGLVisibleCheck&) = delete;

private:
    I_PVXCtrl* m_pCtrl;
};
