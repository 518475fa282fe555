// I_PVXCtrl: modes, camera and transforms, object registry, depth order and picking.
// Drawing, the memory image and print modes are in I_PVXCtrlDraw.cpp; window-side services
// (Escape, menus, invalidation) in I_PVXCtrlWnd.cpp.
#include "host/grx/I_PVXCtrl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <unordered_set>

#include "host/base/I_PVXModelBase.h"

// Geometry of registered objects, answered by the model: node positions for node types,
// element (member) boxes and frame outlines for the others.
class I_PVXCtrl::ModelGeometry : public GGeometrySource {
public:
    explicit ModelGeometry(I_PVXCtrl* ctrl) : m_pCtrl(ctrl) {}

    static bool IsNodeType(int type) { return type >= kNodeIDFirst && type <= kNodeIDLast; }

    int GetObjectBox(int type, UINT key, C3DPoint& lo, C3DPoint& hi) override {
        I_PVXModelBase* m = m_pCtrl->m_pModel;
        if (!m) return 0;
        if (IsNodeType(type)) {
            C3DPoint p(std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0);
            m->RE_GetPVXNodePos(type, key, &p);
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) return 0;
            lo = hi = p;
            return 1;
        }
        C3DPoint a(1.7976931348623157e308, 1.7976931348623157e308, 1.7976931348623157e308);
        C3DPoint b(-1.7976931348623157e308, -1.7976931348623157e308, -1.7976931348623157e308);
        m->RE_GetRangeElement(type, key, &a, &b);
        // The model leaves the corners as they were when it has no answer.
        if (!(a.x <= b.x && a.y <= b.y && a.z <= b.z)) return 0;
        lo = a;
        hi = b;
        return 1;
    }

    int GetObjectOutline(int type, UINT key, std::vector<C3DPoint>& pts) override {
        pts.clear();
        I_PVXModelBase* m = m_pCtrl->m_pModel;
        if (!m || IsNodeType(type)) return 0;
        CArray<C3DPoint> frame;  // the array type the query documents for point lists
        m->RE_GetPVXShapeFrameElement(type, key, &frame);
        for (INT_PTR i = 0; i < frame.GetSize(); ++i) pts.push_back(frame[i]);
        return pts.empty() ? 0 : 1;
    }

private:
    I_PVXCtrl* m_pCtrl;
};

I_PVXCtrl::I_PVXCtrl()
    : m_nCtrlState(0),
      m_byDrawState(0),
      m_bDrawingMetafile(FALSE),
      XGL_virtual_dimension_bmp_x(0),
      XGL_virtual_dimension_bmp_y(0),
      XGL_virtual_dimension_x(0),
      XGL_virtual_dimension_y(0),
      m_pModel(nullptr),
      m_pOwner(nullptr),
      m_pGeom(std::make_unique<ModelGeometry>(this)),
      m_bPVXViewMode(1),
      m_bGLRenderer(0),
      m_bXGRMode(0),
      m_bDynamicView(0),
      m_bDrawNode(0),
      m_bXGRRenderNode(0),
      m_bAccumulate(0),
      m_bRemoveAllAtFirst(0),
      m_bShowVPointIcon(1),
      m_nViewState{0, 1, 0, 0},
      m_dShrinkFactor(1.0),
      m_nCulling(0),
      m_bRebuildGeom(1),
      m_bAddingGeom(0),
      m_pTap(nullptr),
      m_nGLRenderNode(0),
      m_nGLVisibleCheck(0),
      m_pOldBmp(nullptr),
      m_szMem(0, 0),
      m_bInMemDraw(0),
      m_bImageValid(0),
      m_nPainting(0),
      m_crBack(RGB(255, 255, 255)),
      m_rcClient(0, 0, kDefaultClientWidth, kDefaultClientHeight),
      m_rcMargin(0, 0, 0, 0),
      m_dwMarginOpt1(0),
      m_dwMarginOpt2(0),
      m_bZoomAll(0),
      m_bRedrawPreview(0),
      m_bEscPressed(0),
      m_bVirtual(0),
      m_rcVirtual(0, 0, 0, 0),
      m_bPreview(0),
      m_pOldXglBmp(nullptr),
      m_szXgl(0, 0),
      m_bXglOpen(0) {
    UpdateViewport();
    m_vSyncRight = m_cam.GetRight();
    m_vSyncUp = m_cam.GetUp();
}

I_PVXCtrl::~I_PVXCtrl() {
    // Give the bitmaps back to their DCs before either goes.
    if (m_memDC.GetSafeHdc() && m_pOldBmp) m_memDC.SelectObject(m_pOldBmp);
    if (m_xglDC.GetSafeHdc() && m_pOldXglBmp) m_xglDC.SelectObject(m_pOldXglBmp);
}

// ---- view state ---------------------------------------------------------------------------

void I_PVXCtrl::GetREViewState(int& wire, int& undeformedWire, int& hidden, int& shrink, double& shrinkFactor,
                               int& culling) const {
    wire = m_nViewState[0];
    undeformedWire = m_nViewState[1];
    hidden = m_nViewState[2];
    shrink = m_nViewState[3];
    shrinkFactor = m_dShrinkFactor;
    culling = m_nCulling;
}

void I_PVXCtrl::SetREViewState(int wire, int undeformedWire, int hidden, int shrink, double shrinkFactor,
                               int culling) {
    m_nViewState[0] = wire;
    m_nViewState[1] = undeformedWire;
    m_nViewState[2] = hidden;
    m_nViewState[3] = shrink;
    m_dShrinkFactor = std::isfinite(shrinkFactor) ? shrinkFactor : 1.0;
    m_nCulling = culling;
}

// ---- client area, margins, camera ---------------------------------------------------------

void I_PVXCtrl::SetClientSize(int cx, int cy) {
    m_rcClient = CRect(0, 0, std::max(0, cx), std::max(0, cy));
    m_bImageValid = 0;
    UpdateViewport();
    // A resized window that showed the whole model keeps showing it.
    if (m_bZoomAll) ViewZoomAll(0);
}

void I_PVXCtrl::SetClientWindowMargin(int left, int top, int right, int bottom, DWORD dwOpt1, DWORD dwOpt2) {
    m_rcMargin = CRect(std::max(0, left), std::max(0, top), std::max(0, right), std::max(0, bottom));
    m_dwMarginOpt1 = dwOpt1;
    m_dwMarginOpt2 = dwOpt2;
    m_bImageValid = 0;
    UpdateViewport();
}

void I_PVXCtrl::ResetClientWindowMargin() { SetClientWindowMargin(0, 0, 0, 0, 0, 0); }

CRect I_PVXCtrl::GetClientWindowMargin(int side) const {
    CRect rc = m_bVirtual ? m_rcVirtual : m_rcClient;
    double kx = 1.0, ky = 1.0;
    if (m_bVirtual && m_rcClient.Width() > 0 && m_rcClient.Height() > 0) {
        kx = static_cast<double>(m_rcVirtual.Width()) / m_rcClient.Width();
        ky = static_cast<double>(m_rcVirtual.Height()) / m_rcClient.Height();
    }
    const int l = static_cast<int>(m_rcMargin.left * kx), r = static_cast<int>(m_rcMargin.right * kx);
    const int t = static_cast<int>(m_rcMargin.top * ky), b = static_cast<int>(m_rcMargin.bottom * ky);
    switch (side) {
    case 0: return CRect(rc.left, rc.top, rc.left + l, rc.bottom);
    case 1: return CRect(rc.right - r, rc.top, rc.right, rc.bottom);
    case 2: return CRect(rc.left, rc.top, rc.right, rc.top + t);
    case 3: return CRect(rc.left, rc.bottom - b, rc.right, rc.bottom);
    default: return CRect(0, 0, 0, 0);
    }
}

CRect I_PVXCtrl::GetDrawingArea() const {
    CRect rc = m_rcClient;
    rc.DeflateRect(m_rcMargin.left, m_rcMargin.top, m_rcMargin.right, m_rcMargin.bottom);
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    return rc;
}

void I_PVXCtrl::UpdateViewport() { m_cam.SetViewport(GetDrawingArea()); }

GViewCamera I_PVXCtrl::WindowCamera() const {
    if (!m_bVirtual) return m_cam;
    CRect area = m_rcVirtual;
    area.DeflateRect(GetClientWindowMargin(0).Width(), GetClientWindowMargin(2).Height(),
                     GetClientWindowMargin(1).Width(), GetClientWindowMargin(3).Height());
    return m_cam.FittedTo(area);
}

void I_PVXCtrl::SetStandardView(int view) {
    m_cam.SetStandardView(view);
    ViewChanged();
    ViewZoomAll(0);
}

void I_PVXCtrl::SetViewAngles(double azimuthDeg, double elevationDeg) {
    if (!std::isfinite(azimuthDeg) || !std::isfinite(elevationDeg)) return;
    m_cam.SetAngles(azimuthDeg, elevationDeg);
    m_bZoomAll = 0;
    ViewChanged();
}

void I_PVXCtrl::SyncView() {
    if (m_cam.GetRight() != m_vSyncRight || m_cam.GetUp() != m_vSyncUp) ViewChanged();
}

void I_PVXCtrl::ViewChanged() {
    m_vSyncRight = m_cam.GetRight();
    m_vSyncUp = m_cam.GetUp();
    m_bImageValid = 0;
    RebuildQTree();
}

void I_PVXCtrl::ViewZoomAll(int flag) {
    C3DPoint lo(1.7976931348623157e308, 1.7976931348623157e308, 1.7976931348623157e308);
    C3DPoint hi(-1.7976931348623157e308, -1.7976931348623157e308, -1.7976931348623157e308);
    int ok = 0;
    if (m_pModel) {
        m_pModel->RE_GetRangeModel(&lo, &hi);
        ok = lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z && std::isfinite(lo.x) && std::isfinite(hi.x) &&
             std::isfinite(lo.y) && std::isfinite(hi.y) && std::isfinite(lo.z) && std::isfinite(hi.z);
    }
    if (!ok) ok = m_reg.GetWorldRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), lo, hi);
    if (ok) ZoomToRange(lo, hi);
}

int I_PVXCtrl::GetDrawnRange(C3DPoint& lo, C3DPoint& hi) const {
    lo = C3DPoint(1.7976931348623157e308, 1.7976931348623157e308, 1.7976931348623157e308);
    hi = C3DPoint(-1.7976931348623157e308, -1.7976931348623157e308, -1.7976931348623157e308);
    auto valid = [&] {
        return lo.x <= hi.x && lo.y <= hi.y && lo.z <= hi.z && std::isfinite(lo.x) && std::isfinite(hi.x) &&
               std::isfinite(lo.y) && std::isfinite(hi.y) && std::isfinite(lo.z) && std::isfinite(hi.z);
    };
    int ok = 0;
    if (m_pModel) {
        m_pModel->RE_GetRangeModel(&lo, &hi);
        ok = valid();
    }
    if (!ok) ok = m_reg.GetWorldRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max(), lo, hi) && valid();
    return ok;
}

int I_PVXCtrl::HasVisibleExtent(std::string* pWhy) const {
    C3DPoint lo, hi;
    if (!GetDrawnRange(lo, hi)) {
        if (pWhy) *pWhy = "no element, wall or slab of the project has all of its nodes";
        return 0;
    }
    const double extent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    if (!(extent >= kMinVisibleExtent)) {
        if (pWhy) {
            char buf[160];
            std::snprintf(buf, sizeof buf, "the whole model lies at one point (%g, %g, %g): it spans %g m", lo.x, lo.y,
                          lo.z, extent);
            *pWhy = buf;
        }
        return 0;
    }
    return 1;
}

void I_PVXCtrl::ZoomToRange(const C3DPoint& lo, const C3DPoint& hi) {
    UpdateViewport();
    m_cam.ZoomToBox(lo, hi);
    m_bZoomAll = 1;
    m_bImageValid = 0;
}

void I_PVXCtrl::ViewZoom(double factor) {
    m_cam.Zoom(factor);
    m_bZoomAll = 0;
    m_bImageValid = 0;
}

void I_PVXCtrl::ViewPan(int dx, int dy) {
    m_cam.Pan(dx, dy);
    m_bZoomAll = 0;
    m_bImageValid = 0;
}

// ---- transforms ---------------------------------------------------------------------------

CPoint I_PVXCtrl::GetWorldToMemDCP2D(const C3DPoint& p) const { return m_cam.WorldToPixel(p); }

CPoint I_PVXCtrl::GetWorldToWindowP2D(const C3DPoint& p) const {
    return m_bVirtual ? WindowCamera().WorldToPixel(p) : m_cam.WorldToPixel(p);
}

C3DPoint I_PVXCtrl::GetWorldToWindowP3D(const C3DPoint& p) const {
    return m_bVirtual ? WindowCamera().WorldToPixel3D(p) : m_cam.WorldToPixel3D(p);
}

void I_PVXCtrl::GetClientToMemDC(CPoint ptClient, CPoint& ptMem) const {
    // The memory image covers the client area from its origin.
    ptMem = ptClient;
}

double I_PVXCtrl::GetWorldLength(double pixels) const {
    const double s = m_bVirtual ? WindowCamera().GetScale() : m_cam.GetScale();
    return s > 0.0 ? pixels / s : 0.0;
}

void I_PVXCtrl::GetVirtualWHRatio(int& wRatio, int& hRatio) const {
    wRatio = hRatio = 1;
    if (!m_bVirtual || m_rcClient.Width() <= 0 || m_rcClient.Height() <= 0) return;
    wRatio = std::max(1, m_rcVirtual.Width() / m_rcClient.Width());
    hRatio = std::max(1, m_rcVirtual.Height() / m_rcClient.Height());
}

// ---- objects ------------------------------------------------------------------------------

int I_PVXCtrl::AddObject(int type, UINT key, int flag) { return m_reg.Add(type, key, flag); }

int I_PVXCtrl::DelObject(int type, UINT key) { return m_reg.Del(type, key); }

void I_PVXCtrl::UpdateAllWcsVcsMBR() {
    SyncView();
    m_reg.UpdateAll(m_pGeom.get());
    // Picking entries may have been added before their objects had boxes.
    RebuildQTree();
}

int I_PVXCtrl::IsActiveKey(UINT key, int tmin, int tmax) const {
    for (int t = tmin; t <= tmax; ++t)
        if (m_reg.GetFlag(t, key) > 0) return 1;
    return 0;
}

int I_PVXCtrl::IsActiveNode(UINT key) const { return IsActiveKey(key, kNodeIDFirst, kNodeIDLast); }

int I_PVXCtrl::IsActiveElem(UINT key) const { return IsActiveKey(key, kObjectIDFirst, kObjectIDLast); }

void I_PVXCtrl::ActiveAll() {
    if (m_reg.ActivateAll() == 0 || !m_pModel) return;
    // Tell the model the new active set: every undeformed node and member.
    CArray<UINT, UINT> nodes, members, nodeFlags, memberFlags;
    // Each list holds at most every registered object: one block each.
    const INT_PTR nObjects = m_reg.GetCount();
    for (CArray<UINT, UINT>* l : {&nodes, &members, &nodeFlags, &memberFlags}) l->SetSize(0, nObjects);
    m_reg.ForEach([&](int type, UINT key, int) {
        if (type == kNodeIDFirst) {
            nodes.Add(key);
            nodeFlags.Add(1);
        } else if (type == kObjectIDFirst) {
            members.Add(key);
            memberFlags.Add(1);
        }
    });
    m_pModel->PV_OnActiveDeActiveChangeByFlag(nodes, members, nodeFlags, memberFlags);
}

void I_PVXCtrl::ActiveByFlag(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members, CArray<UINT, UINT>& nodeFlags,
                             CArray<UINT, UINT>& memberFlags) {
    std::unordered_set<UINT> activeNodes(nodes.GetData(), nodes.GetData() + nodes.GetSize()), activeMembers;
    for (INT_PTR i = 0; i < members.GetSize(); ++i)
        if (i >= memberFlags.GetSize() || memberFlags[i] == 1) activeMembers.insert(members[i]);
    m_reg.SetFlags([&](int type, UINT key) {
        if (type >= kNodeIDFirst && type <= kNodeIDLast) return activeNodes.count(key) ? 1 : 0;
        if (type >= kObjectIDFirst && type <= kObjectIDLast) return activeMembers.count(key) ? 1 : 0;
        return -1;
    });
    if (m_pModel) m_pModel->PV_OnActiveDeActiveChangeByFlag(nodes, members, nodeFlags, memberFlags);
}

int I_PVXCtrl::SelectObject(int type, UINT key, int select) {
    return m_reg.SetSelected(type, key, select);
}

void I_PVXCtrl::SubtractKeys(const UINT* all, size_t nAll, const UINT* sub, size_t nSub, std::vector<UINT>& r) {
    // Sorted and searched: a set of the subset would allocate once per key. The model's key
    // lists come sorted: then nothing is copied, and one walk over both lists does.
    std::vector<UINT> sorted;
    if (!std::is_sorted(sub, sub + nSub)) {
        sorted.assign(sub, sub + nSub);
        std::sort(sorted.begin(), sorted.end());
        sub = sorted.data();
    }
    r.clear();
    r.reserve(nAll);
    if (std::is_sorted(all, all + nAll)) {
        size_t j = 0;
        for (size_t i = 0; i < nAll; ++i) {
            while (j < nSub && sub[j] < all[i]) ++j;
            if (j == nSub || sub[j] != all[i]) r.push_back(all[i]);
        }
        return;
    }
    for (size_t i = 0; i < nAll; ++i)
        if (!std::binary_search(sub, sub + nSub, all[i])) r.push_back(all[i]);
}

// ---- depth order --------------------------------------------------------------------------

void I_PVXCtrl::ZSortObjects(const std::vector<int>& types, const std::vector<UINT>& keys, std::vector<GRE_Atom>& out) {
    SyncView();
    struct Entry {
        GRE_Atom atom;
        double depth;
    };
    std::vector<Entry> e;
    e.reserve(types.size() * keys.size());
    const double none = -std::numeric_limits<double>::infinity();
    for (int t : types) {
        for (UINT k : keys) {
            double d = none;
            GRE_Object o;
            if (m_reg.Look(t, k, m_pGeom.get(), m_cam, o)) d = o.depth;
            e.push_back({GRE_Atom(t, k), d});
        }
    }
    std::stable_sort(e.begin(), e.end(), [](const Entry& a, const Entry& b) { return a.depth < b.depth; });
    out.clear();
    out.reserve(e.size());
    for (auto& x : e) out.push_back(x.atom);
}

void I_PVXCtrl::ZSortCentroidSums(const std::vector<std::pair<C3DPoint, size_t>>& sums, std::vector<int>& order) const {
    ZSortCentroids(sums.size(), [&](size_t i) { return sums[i]; }, order);
}

double I_PVXCtrl::CentroidDepth(const C3DPoint& sum, size_t n) const {
    if (n == 0) return -std::numeric_limits<double>::infinity();
    const double z = m_cam.WorldToView(sum / static_cast<double>(n)).z;
    return std::isnan(z) ? -std::numeric_limits<double>::infinity() : z;  // NaN: keeps the order defined
}

namespace {

// Depths spread over a range, sorted by buckets: a depth's bucket is where it lies between the
// least and the greatest, n buckets for n depths. The map is monotone (a difference and a product
// rounded never turn an order round), so the buckets come in depth order; the few depths of a
// bucket are then sorted among themselves, ties by their place in d. Three passes where the
// radix sort takes eight. False, and nothing done, for depths that are not all finite or that
// do not spread (all equal, or too close for the scale).
bool SortByBuckets(const std::vector<std::pair<double, int>>& d, std::vector<int>& order) {
    const size_t n = d.size();
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const auto& x : d) {
        if (!std::isfinite(x.first)) return false;
        lo = std::min(lo, x.first);
        hi = std::max(hi, x.first);
    }
    const double scale = static_cast<double>(n) / (hi - lo);
    if (!(hi > lo) || !std::isfinite(scale) || n > UINT32_MAX) return false;
    std::vector<uint32_t> bucket(n);
    std::vector<uint32_t> at(n + 1, 0);
    for (size_t i = 0; i < n; ++i) {
        const size_t b = std::min(static_cast<size_t>((d[i].first - lo) * scale), n - 1);
        bucket[i] = static_cast<uint32_t>(b);
        ++at[b + 1];
    }
    for (size_t b = 0; b < n; ++b) at[b + 1] += at[b];
    // Each depth with its place in d: ordered by depth, then place, which is the stable order.
    std::vector<std::pair<double, uint32_t>> s(n);
    {
        std::vector<uint32_t> next(at.begin(), at.end() - 1);
        for (size_t i = 0; i < n; ++i) s[next[bucket[i]]++] = {d[i].first, static_cast<uint32_t>(i)};
    }
    const auto less = [](const std::pair<double, uint32_t>& a, const std::pair<double, uint32_t>& b) {
        return a.first < b.first || (!(b.first < a.first) && a.second < b.second);
    };
    for (size_t b = 0; b < n; ++b) {
        const auto first = s.begin() + at[b], last = s.begin() + at[b + 1];
        // Faces of a regular mesh come in rows of equal depth, often in order already.
        if (last - first > 1 && !std::is_sorted(first, last, less)) std::sort(first, last, less);
    }
    for (const auto& x : s) order.push_back(d[x.second].second);
    return true;
}

}  // namespace

void I_PVXCtrl::SortByDepth(std::vector<std::pair<double, int>>& d, std::vector<int>& order) {
    order.clear();
    order.reserve(d.size());
    constexpr size_t kRadixFrom = 4096;
    if (d.size() < kRadixFrom) {
        std::stable_sort(d.begin(), d.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (auto& x : d) order.push_back(x.second);
        return;
    }
    if (SortByBuckets(d, order)) return;
    // A stable radix sort, a byte at a time from the lowest, on keys that order as the depths
    // do: the sign bit set for positive depths, every bit flipped for negative ones, -0 taken as
    // +0 (the two are equal depths). Bytes all faces share are passed over.
    std::vector<std::pair<uint64_t, int>> a(d.size()), b(d.size());
    uint64_t same = ~0ull, first = 0;
    for (size_t i = 0; i < d.size(); ++i) {
        const double z = d[i].first == 0.0 ? 0.0 : d[i].first;
        uint64_t k;
        std::memcpy(&k, &z, sizeof k);
        k = (k >> 63) ? ~k : k | (1ull << 63);
        if (i == 0) first = k;
        same &= ~(k ^ first);
        a[i] = {k, d[i].second};
    }
    for (int shift = 0; shift < 64; shift += 8) {
        if (((same >> shift) & 0xff) == 0xff) continue;
        size_t at[257] = {};
        for (const auto& x : a) ++at[((x.first >> shift) & 0xff) + 1];
        for (int v = 0; v < 256; ++v) at[v + 1] += at[v];
        for (const auto& x : a) b[at[(x.first >> shift) & 0xff]++] = x;
        a.swap(b);
    }
    for (const auto& x : a) order.push_back(x.second);
}

int I_PVXCtrl::IsObjectInClientWindow(int type, UINT key) {
    SyncView();
    GRE_Object o;
    // An object whose extent is unknown is drawn rather than lost.
    if (!m_reg.Look(type, key, m_pGeom.get(), m_cam, o)) return 1;
    double x0, y0, x1, y1;
    m_cam.ViewToPixel(o.vbox.left, o.vbox.top, x0, y0);
    m_cam.ViewToPixel(o.vbox.right, o.vbox.bottom, x1, y1);
    const CRect& rc = m_rcClient;
    return x1 >= rc.left && x0 <= rc.right && y1 >= rc.top && y0 <= rc.bottom;
}

// ---- picking ------------------------------------------------------------------------------

int I_PVXCtrl::QTreeAdd(GRE_Atom& atom) {
    SyncView();
    m_qtAtoms.push_back(atom);
    RebuildQTree();
    // Kept even without a box: the tree takes it once UpdateAllWcsVcsMBR finds one.
    GRE_Object o;
    return m_reg.Look(atom.m_nType, atom.m_nKey, m_pGeom.get(), m_cam, o);
}

void I_PVXCtrl::QTreeReserve(int n) {
    if (n > 0) m_qtAtoms.reserve(m_qtAtoms.size() + static_cast<size_t>(n));
}

void I_PVXCtrl::QTreeClearAll() {
    m_qt.Clear();
    m_qtAtoms.clear();
    m_bQTreeStale = false;
}

void I_PVXCtrl::RebuildQTree() {
    if (m_bQTreeStale) return;
    m_qt.Clear();
    m_bQTreeStale = true;
}

void I_PVXCtrl::BuildQTree() {
    if (!m_bQTreeStale) return;
    m_bQTreeStale = false;
    m_qt.Reserve(m_qtAtoms.size());
    for (size_t i = 0; i < m_qtAtoms.size(); ++i) {
        const GRE_Atom& atom = m_qtAtoms[i];
        GRE_Object o;
        if (m_reg.Look(atom.m_nType, atom.m_nKey, m_pGeom.get(), m_cam, o)) m_qt.Insert(static_cast<int>(i), o.vbox);
    }
}

namespace {
double SegmentDistance(double px, double py, double ax, double ay, double bx, double by) {
    const double dx = bx - ax, dy = by - ay, l2 = dx * dx + dy * dy;
    double t = l2 > 0.0 ? ((px - ax) * dx + (py - ay) * dy) / l2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

bool InsidePolygon(double px, double py, const std::vector<C3DPoint>& p) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        if ((p[i].y > py) != (p[j].y > py) && px < (p[j].x - p[i].x) * (py - p[i].y) / (p[j].y - p[i].y) + p[i].x)
            in = !in;
    }
    return in;
}
}  // namespace

int I_PVXCtrl::PickObject(CPoint ptWindow, GRE_Atom& atom, int tmin, int tmax) {
    SyncView();
    double xv, yv;
    m_cam.PixelToView(ptWindow.x, ptWindow.y, xv, yv);
    const double tolView = kPickTolerance / m_cam.GetScale();
    BuildQTree();
    std::vector<int> ids;
    m_qt.Query(xv, yv, tolView, ids);
    int best = -1;
    double bestDist = 0.0, bestDepth = 0.0;
    int bestNode = 0;
    for (int id : ids) {
        const GRE_Atom& a = m_qtAtoms[static_cast<size_t>(id)];
        if (a.m_nType < tmin || a.m_nType > tmax) continue;
        // A registered object as it is (its box known or not); any other asked of the model.
        GRE_Object o;
        if (const std::optional<GRE_Object> reg = m_reg.Find(a.m_nType, a.m_nKey, m_cam)) o = *reg;
        else if (!m_reg.Look(a.m_nType, a.m_nKey, m_pGeom.get(), m_cam, o)) continue;
        // Distance in pixels from the point to the object's outline (or box).
        double dist;
        std::vector<C3DPoint> outline;
        if (m_pGeom->GetObjectOutline(a.m_nType, a.m_nKey, outline) && !outline.empty()) {
            for (auto& p : outline) p = m_cam.WorldToPixel3D(p);
            dist = 1e300;
            if (outline.size() == 1) dist = std::hypot(ptWindow.x - outline[0].x, ptWindow.y - outline[0].y);
            for (size_t i = 0; i + 1 < outline.size(); ++i)
                dist = std::min(dist, SegmentDistance(ptWindow.x, ptWindow.y, outline[i].x, outline[i].y,
                                                      outline[i + 1].x, outline[i + 1].y));
            if (outline.size() >= 3 && InsidePolygon(ptWindow.x, ptWindow.y, outline)) dist = 0.0;
        } else {
            double x0, y0, x1, y1;
            m_cam.ViewToPixel(o.vbox.left, o.vbox.top, x0, y0);
            m_cam.ViewToPixel(o.vbox.right, o.vbox.bottom, x1, y1);
            const double dx = std::max({x0 - ptWindow.x, 0.0, ptWindow.x - x1});
            const double dy = std::max({y0 - ptWindow.y, 0.0, ptWindow.y - y1});
            dist = std::hypot(dx, dy);
        }
        if (dist > kPickTolerance) continue;
        // Equally close: a node before a member (a click on a node means the node), then the
        // object nearer the viewer.
        const int isNode = ModelGeometry::IsNodeType(a.m_nType);
        const double depth = o.vzmax;
        bool better = best < 0 || dist < bestDist - 1e-9;
        if (!better && std::fabs(dist - bestDist) <= 1e-9)
            better = isNode > bestNode || (isNode == bestNode && depth > bestDepth);
        if (better) {
            best = id;
            bestDist = dist;
            bestDepth = depth;
            bestNode = isNode;
        }
    }
    if (best < 0) return 0;
    atom = m_qtAtoms[static_cast<size_t>(best)];
    return 1;
}
