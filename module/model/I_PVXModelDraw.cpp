// Plain model drawing: members as faces and edges with flat shading, inactive and undeformed
// styles, column section outlines and active-node markers, and the drawing primitives the
// result engines share with it.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/CGeomCtrl.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "host/grx/XGL_PrintHandler.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXDataCtrls.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"

namespace {

// Display options a drawer changes for one draw, put back on every way out.
class DispOptRestore {
public:
    explicit DispOptRestore(I_PVXModel& m) : m_m(m) {
        if (T_PVX_DOPT_D* o = m.m_pDispOpt) {
            m_inactive = o->m_Color.m_crInactive;
            m_renderMode = o->m_nRenderMode;
            m_wire = o->m_bWireFrame;
            m_lineCull = o->m_bLineCulling;
            m_planeCull = o->m_bPlaneCulling;
            m_shading = o->m_bShading;
        }
        m_penFactor = m.m_nPenFactor;
    }
    ~DispOptRestore() {
        if (T_PVX_DOPT_D* o = m_m.m_pDispOpt) {
            o->m_Color.m_crInactive = m_inactive;
            o->m_nRenderMode = m_renderMode;
            o->m_bWireFrame = m_wire;
            o->m_bLineCulling = m_lineCull;
            o->m_bPlaneCulling = m_planeCull;
            o->m_bShading = m_shading;
        }
        m_m.m_nPenFactor = m_penFactor;
    }
    DispOptRestore(const DispOptRestore&) = delete;
    DispOptRestore& operator=(const DispOptRestore&) = delete;
    int PenFactor() const { return m_penFactor; }

private:
    I_PVXModel& m_m;
    COLORREF m_inactive = 0;
    int m_renderMode = 0, m_wire = 0, m_lineCull = 0, m_planeCull = 0, m_shading = 0;
    int m_penFactor = 1;
};

// Frees a shape builder's faces on every way out.
struct FaceList {
    PVXPolyListArray faces;
    FaceList() = default;
    FaceList(const FaceList&) = delete;
    FaceList& operator=(const FaceList&) = delete;
    ~FaceList() { I_PVXModel::FreeMemoryPolyList(&faces, nullptr, nullptr, nullptr); }
};

// A client DC of the view for the immediate copy of each primitive, or none: while drawing to an
// external device, while animating, and when the view has no window.
std::unique_ptr<CClientDC> MakeClientCopy(I_PVXModel& m) {
    if (m.m_bExternalDevice || m.m_bAnimation || m.m_bSecondTarget || !m.m_pView || !m.m_pView->GetSafeHwnd())
        return nullptr;
    auto dc = std::make_unique<CClientDC>(m.m_pView);
    if (!dc->GetSafeHdc()) return nullptr;
    return dc;
}

// Keeps a pen or brush selected in a DC (and in the client copy) until the end of the scope.
template <class TGdi>
class SelectScope {
public:
    template <class... Args>
    SelectScope(CDC* pDC, CDC* pClient, Args... args) : m_pDC(pDC), m_pClient(pClient), m_obj(args...) {
        if (m_pDC) m_pOld = m_pDC->SelectObject(&m_obj);
        if (m_pClient) m_pOldClient = m_pClient->SelectObject(&m_obj);
    }
    ~SelectScope() {
        if (m_pClient && m_pOldClient) m_pClient->SelectObject(m_pOldClient);
        if (m_pDC && m_pOld) m_pDC->SelectObject(m_pOld);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    CDC* m_pDC;
    CDC* m_pClient;
    TGdi m_obj;
    TGdi* m_pOld = nullptr;
    TGdi* m_pOldClient = nullptr;
};

using PenScope = SelectScope<CPen>;      // (dc, client, style, width, colour)
using BrushScope = SelectScope<CBrush>;  // (dc, client, colour)

// A face colour under flat shading when the options ask for shading; else the colour itself.
DWORD ShadedFaceColor(I_PVXModel& m, const CList<C3DPoint>& face, DWORD color) {
    const INT_PTR n = face.GetCount();
    if (!m.m_pDispOpt || !m.m_pDispOpt->m_bShading || n <= 2) return color;
    std::vector<C3DPoint> v;
    v.reserve(static_cast<size_t>(n));
    for (POSITION pos = face.GetHeadPosition(); pos;) v.push_back(face.GetNext(pos));
    double diffuse = 1.0, specular = 0.0;
    m.GetFlatShadingFactor(static_cast<int>(n), v.data(), diffuse, specular);
    return m.GetShadeFactoredColor(color, diffuse, specular);
}

// Every edge of a face drawn: the shape builders hand out element-local corner numbers beside
// the faces, not edge flags, so the drawers outline each face completely.
void AllEdges(const PVXPolyList* face, CArray<int, int>& flags) {
    const INT_PTR n = face ? face->GetCount() : 0;
    flags.SetSize(n);
    for (INT_PTR i = 0; i < n; ++i) flags[i] = 1;
}

// Room for n points, on the stack up to N of them: per-face work needs no heap.
template <size_t N>
class PointBuffer {
public:
    C3DPoint* Get(size_t n) {
        if (n <= N) return m_small;
        m_large.resize(n);
        return m_large.data();
    }

private:
    C3DPoint m_small[N];
    std::vector<C3DPoint> m_large;
};

// The edges of one face on the drawing targets; the client copy, when given, already has the
// DC's pen selected.
void DrawEdges(I_PVXModel& m, CDC* pDC, CList<C3DPoint>* pFace, CArray<int, int>* pFlags, CDC* pClient) {
    I_PVXCtrl* ctrl = m.m_pPVXCtrl;
    if (!ctrl || !pDC || !pFace) return;
    const INT_PTR n = pFace->GetCount();
    if (n < 2) return;
    // Faces have a few points (a hundred thousand of them a frame).
    PointBuffer<16> buffer;
    C3DPoint* v = buffer.Get(static_cast<size_t>(n));
    INT_PTR k = 0;
    for (POSITION pos = pFace->GetHeadPosition(); pos && k < n;) v[k++] = pFace->GetNext(pos);
    auto flag = [&](INT_PTR i) { return !pFlags || (i < pFlags->GetSize() && pFlags->GetAt(i) != 0); };
    auto line = [&](const C3DPoint& a, const C3DPoint& b) {
        if (m.m_bExternalDevice) {
            ctrl->DrawLine3DOnClientWindow(pDC, a, b, 0.0);
            return;
        }
        ctrl->DrawLine3D(pDC, a, b, 0.0);
        if (pClient) ctrl->DrawLine3DOnClientWindow(pClient, a, b, 0.0);
    };
    for (INT_PTR i = 0; i + 1 < n; ++i)
        if (flag(i)) line(v[i], v[i + 1]);
    if (flag(n - 1)) line(v[n - 1], v[0]);
}

// Member colours with a defined start: GetMembColor leaves them alone in some render modes.
void MembColors(I_PVXModel& m, int type, COLORREF c[2]) {
    c[0] = c[1] = m.m_pDispOpt ? m.m_pDispOpt->m_Color.m_crUndeformed : RGB(128, 128, 128);
    if (m.m_pDispOpt) m.m_pDispOpt->GetMembColor(type, m.m_bExternalDevice, c);
}

int WidePen(int penFactor) { return static_cast<int>(penFactor * 1.7); }

}  // namespace

// ---- flat shading ----------------------------------------------------------------------------

namespace {

// The diffuse and specular factors of unit normal n under the light, lit from direction L with
// highlight direction H.
void LightFactors(const T_LIGHT_D& light, const double* n, const double* L, const double* H, double& dDiffuse,
                  double& dSpecular) {
    if (!light.m_bShading) {
        dDiffuse = 1.0;
        dSpecular = 0.0;
        return;
    }
    double v[3] = {n[0], n[1], n[2]};
    double d = v[0] * L[0] + v[1] * L[1] + v[2] * L[2];
    if (d < 0.0) {
        // A face turned from the light is lit from its other side.
        for (double& c : v) c = -c;
        d = -d;
    }
    if (v[2] < 0.0) {
        dDiffuse = light.m_dAmbient;
        dSpecular = 0.0;
        return;
    }
    dDiffuse = d * light.m_dDiffuse + light.m_dAmbient;
    if (!light.m_bSpecular) {
        dSpecular = 0.0;
        return;
    }
    // Shininess runs 0..128; beyond 128 the exponent would turn negative and blow up at 0.
    const int shininess = std::clamp(light.m_nShininess, 0, 128);
    const double h = std::fabs(v[0] * H[0] + v[1] * H[1] + v[2] * H[2]);
    dSpecular = std::pow(h, 128 - shininess) * light.m_nSpecular;
}

}  // namespace

void I_PVXModel::GetShadingFactor(double* n, double* L, double* H, double& dDiffuse, double& dSpecular) {
    if (m_pPVXCtrl && m_pPVXCtrl->IsGLRenderer()) return;
    const T_LIGHT_D* light = ShadingLight();
    if (!light || !n || !L || !H) {
        dDiffuse = 1.0;
        dSpecular = 0.0;
        return;
    }
    LightFactors(*light, n, L, H, dDiffuse, dSpecular);
}

namespace {

// The unit Newell normal of a polygon of n >= 3 points in view coordinates:
// CUtilFuncs::GetNormalVector then MakeUnitVector, the same operations in the same order, with
// the sums in registers (a band list asks this of every polygon, and its shading compares the
// answer at once).
inline void ViewUnitNormal(int n, const C3DPoint* vcs, double* normal) {
    double x = 0.0, y = 0.0, z = 0.0;
    // A triangle (most band polygons) straight through, the same sums in the same order.
    auto term = [&](const C3DPoint& pi, const C3DPoint& pj) {
        x += (pi.y - pj.y) * (pi.z + pj.z);
        y += (pi.z - pj.z) * (pi.x + pj.x);
        z += (pi.x - pj.x) * (pi.y + pj.y);
    };
    if (n == 3) {
        term(vcs[0], vcs[1]);
        term(vcs[1], vcs[2]);
        term(vcs[2], vcs[0]);
    } else {
        for (int i = 0; i < n; ++i) term(vcs[i], vcs[i + 1 < n ? i + 1 : 0]);
    }
    double v[3] = {x, y, z};
    CUtilFuncs::MakeUnitVector(v);
    normal[0] = v[0];
    normal[1] = v[1];
    normal[2] = v[2];
}

// Flat-shading factors of unit normal n under the light; 1, 0 without a light.
void NormalFactors(const double* normal, const T_LIGHT_D* light, double& dDiffuse, double& dSpecular) {
    if (!light) {
        dDiffuse = 1.0;
        dSpecular = 0.0;
        return;
    }
    LightFactors(*light, normal, light->m_dLightDir, light->m_dHighlightDir, dDiffuse, dSpecular);
}

// Flat-shading factors of a polygon of n >= 3 points in view coordinates.
void ViewPolygonFactors(int n, const C3DPoint* vcs, const T_LIGHT_D* light, double& dDiffuse, double& dSpecular) {
    double normal[3];
    ViewUnitNormal(n, vcs, normal);
    NormalFactors(normal, light, dDiffuse, dSpecular);
}

}  // namespace

const T_LIGHT_D* I_PVXModel::ShadingLight() {
    if (!m_pView) return nullptr;
    // The cast's answer depends on the object's address and type only.
    const std::type_info* type = &typeid(*m_pView);
    LightOfView& k = m_LightOfView;
    if (k.pView != m_pView || k.pType != type) {
        auto* view = dynamic_cast<GRenderView*>(m_pView);
        k = LightOfView{m_pView, type, view ? &view->GetLightData() : nullptr};
    }
    return k.pLight;
}

void I_PVXModel::GetFlatShadingFactor(int n, const C3DPoint* pts, double& dDiffuse, double& dSpecular) {
    if (m_pPVXCtrl && m_pPVXCtrl->IsGLRenderer()) return;
    if (n < 3 || !pts || !m_pPVXCtrl) {
        dDiffuse = 1.0;
        dSpecular = 0.0;
        return;
    }
    // A band polygon has a few dozen points at most (one comes per band polygon).
    PointBuffer<64> buffer;
    C3DPoint* vcs = buffer.Get(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) vcs[i] = m_pPVXCtrl->GetVcsCoord(pts[i]);
    ViewPolygonFactors(n, vcs, ShadingLight(), dDiffuse, dSpecular);
}

I_PVXModel::FlatShader::FlatShader(I_PVXModel& m) : m_model(m) {
    m_bOn = m.m_pDispOpt && m.m_pDispOpt->m_bShading;
    m_bGL = m.m_pPVXCtrl && m.m_pPVXCtrl->IsGLRenderer();
    m_pLight = m.ShadingLight();
}

namespace {

// GetShadeFactoredColor's answer while shading is on and the renderer is not GL.
inline DWORD ShadeChannels(DWORD color, double dDiffuse, double dSpecular) {
    DWORD out = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const double c = static_cast<double>((color >> shift) & 0xff) * dDiffuse + dSpecular;
        // Too bright saturates at 255; a negative light term gives black (never wraps to white).
        int v = 255;
        if (std::isnan(c) || c < 0.0) v = 0;
        else if (c < 256.0) v = std::min(255, static_cast<int>(c));
        out |= static_cast<DWORD>(v) << shift;
    }
    return out;
}

// The bits of a double (a zero's sign and a NaN count as the bits say).
inline std::uint64_t Bits(double d) { return std::bit_cast<std::uint64_t>(d); }

}  // namespace

DWORD I_PVXModel::FlatShader::Color(DWORD c, const C3DPoint* vcs, int n) const {
    if (!m_bOn || m_bGL) return c;
    // On and not GL: GetShadeFactoredColor shades (it reads the same options).
    if (n < 3 || !vcs || !m_model.m_pPVXCtrl) return ShadeChannels(c, 1.0, 0.0);
    double normal[3];
    ViewUnitNormal(n, vcs, normal);
    // The answer is a function of the colour and the normal's bits alone while the shader lives.
    // The bits are taken from the registers, compared word by word.
    const std::uint64_t b0 = Bits(normal[0]), b1 = Bits(normal[1]), b2 = Bits(normal[2]);
    for (const Shaded& k : m_last)
        if (k.valid && k.in == c && Bits(k.normal[0]) == b0 && Bits(k.normal[1]) == b1 && Bits(k.normal[2]) == b2)
            return k.out;
    double f = 1.0, g = 0.0;
    NormalFactors(normal, m_pLight, f, g);
    Shaded& k = m_last[m_nNext];
    m_nNext ^= 1;
    k.valid = true;
    k.normal[0] = normal[0];
    k.normal[1] = normal[1];
    k.normal[2] = normal[2];
    k.in = c;
    k.out = ShadeChannels(c, f, g);
    return k.out;
}

DWORD I_PVXModel::GetShadeFactoredColor(DWORD color, double dDiffuse, double dSpecular) {
    if ((m_pPVXCtrl && m_pPVXCtrl->IsGLRenderer()) || !m_pDispOpt || !m_pDispOpt->m_bShading) return color;
    return ShadeChannels(color, dDiffuse, dSpecular);
}

BOOL I_PVXModel::IsVisibleFace(CList<C3DPoint>* pFace, int n) {
    if (!pFace || n >= 5) return TRUE;
    if (!m_pGeomCtrl || !m_pPVXCtrl) return TRUE;
    double pts[4][3] = {};
    int k = 0;
    for (POSITION pos = pFace->GetHeadPosition(); pos && k < n;) {
        const C3DPoint v = m_pPVXCtrl->GetVcsCoord(pFace->GetNext(pos));
        pts[k][0] = v.x;
        pts[k][1] = v.y;
        pts[k][2] = v.z;
        ++k;
    }
    return m_pGeomCtrl->IsVisibleFace(k, pts);
}

BOOL I_PVXModel::IsVisibleFace(const C3DPoint* pFace, int n) {
    if (!pFace || n >= 5) return TRUE;
    if (!m_pGeomCtrl || !m_pPVXCtrl) return TRUE;
    double pts[4][3] = {};
    for (int k = 0; k < n; ++k) {
        const C3DPoint v = m_pPVXCtrl->GetVcsCoord(pFace[k]);
        pts[k][0] = v.x;
        pts[k][1] = v.y;
        pts[k][2] = v.z;
    }
    return m_pGeomCtrl->IsVisibleFace(n, pts);
}

bool I_PVXModel::DrawsEdgesAtOnce(const CDC* pDC, bool bClientCopy) const {
    const bool bCopied = !m_bExternalDevice && !m_bAnimation && !m_bSecondTarget && m_pView && m_pView->GetSafeHwnd();
    return !m_bExternalDevice && (bClientCopy || !bCopied) && m_pPVXCtrl && m_pPVXCtrl->DrawsAtOnce(pDC);
}

std::unique_ptr<CClientDC> I_PVXModel::MakeEdgeClientCopy() { return MakeClientCopy(*this); }

void I_PVXModel::DrawEdgesOnClientCopy(CDC* pDC, CDC* pClient, const C3DPoint* pts, int n) {
    if (!pClient || !m_pPVXCtrl || n < 2) return;
    CPen* pOld = nullptr;
    if (pDC && pDC->GetCurrentPen()) pOld = pClient->SelectObject(pDC->GetCurrentPen());
    for (int i = 0; i < n; ++i) m_pPVXCtrl->DrawLine3DOnClientWindow(pClient, pts[i], pts[(i + 1) % n], 0.0);
    if (pOld) pClient->SelectObject(pOld);
}

// ---- primitives ------------------------------------------------------------------------------

void I_PVXModel::DrawPolygonEdge(CDC* pDC, CList<C3DPoint>* pFace, CArray<int, int>* pFlags, int) {
    if (!pFlags) return PVXDrawPolygonEdge(pDC, pFace, nullptr, 0);
    std::unique_ptr<CClientDC> client = MakeClientCopy(*this);
    CPen* pOld = nullptr;
    if (client && pDC && pDC->GetCurrentPen()) pOld = client->SelectObject(pDC->GetCurrentPen());
    DrawEdges(*this, pDC, pFace, pFlags, client.get());
    if (client && pOld) client->SelectObject(pOld);
}

void I_PVXModel::PVXDrawPolygonEdge(CDC* pDC, CList<C3DPoint>* pFace, CArray<int, int>* pFlags, int) {
    std::unique_ptr<CClientDC> client = MakeClientCopy(*this);
    CPen* pOld = nullptr;
    if (client && pDC && pDC->GetCurrentPen()) pOld = client->SelectObject(pDC->GetCurrentPen());
    DrawEdges(*this, pDC, pFace, pFlags, client.get());
    if (client && pOld) client->SelectObject(pOld);
}

void I_PVXModel::DrawPolygon3DFill(CDC* pDC, CList<C3DPoint>& face, DWORD color, CClientDC* pClientDC) {
    if (!m_pPVXCtrl || !pDC) return;
    color = ShadedFaceColor(*this, face, color);
    if (m_bExternalDevice) {
        m_pPVXCtrl->DrawPolygon3DFillOnClientWindow(pDC, face, color);
        return;
    }
    m_pPVXCtrl->DrawPolygon3DFill(pDC, face, color);
    if (pClientDC && !m_bAnimation) m_pPVXCtrl->DrawPolygon3DFillOnClientWindow(pClientDC, face, color);
}

void I_PVXModel::DrawPolygon3DFill(CDC* pDC, CList<C3DPoint>& face, CArray<int, int>& flags, DWORD color,
                                   CClientDC* pClientDC, int) {
    if (!m_pPVXCtrl || !pDC) return;
    color = ShadedFaceColor(*this, face, color);
    if (m_bExternalDevice) {
        m_pPVXCtrl->DrawPolygon3DFillOnClientWindow(pDC, face, flags, color);
        return;
    }
    m_pPVXCtrl->DrawPolygon3DFill(pDC, face, flags, color);
    if (pClientDC && !m_bAnimation) m_pPVXCtrl->DrawPolygon3DFillOnClientWindow(pClientDC, face, flags, color);
}

int I_PVXModel::GetClippedVtxList(CArray<C3DPoint>& pts, CArray<CPoint>& winPts, CArray<DWORD>& colors,
                                  CArray<DWORD>& outColors, int bOnClient) {
    winPts.RemoveAll();
    outColors.RemoveAll();
    outColors.FreeExtra();
    if (!m_pPVXCtrl) return 0;
    if (!m_bExternalDevice && !bOnClient) return m_pPVXCtrl->GetColorVPolygonForMemDC(pts, winPts, colors, outColors);
    return m_pPVXCtrl->GetColorVPolygonForClient(pts, winPts, colors, outColors);
}

void I_PVXModel::TransformGtoL(double* v, double m[3][3]) {
    if (!v || !m) return;
    for (int k = 0; k < 2; ++k) {
        double* p = v + 3 * k;
        const double in[3] = {p[0], p[1], p[2]};
        for (int r = 0; r < 3; ++r) p[r] = m[r][0] * in[0] + m[r][1] * in[1] + m[r][2] * in[2];
    }
}

int I_PVXModel::GetTextOutputNodeForBFroc(const C3DPoint& p1, const C3DPoint& p2, C3DPoint& out1, C3DPoint& out2,
                                          int, UINT*) {
    auto at = [&](double t) { return C3DPoint(p1.x + (p2.x - p1.x) * t, p1.y + (p2.y - p1.y) * t, p1.z + (p2.z - p1.z) * t); };
    out1 = at(0.125);
    out2 = at(0.875);
    return 1;
}

// ---- members and elements --------------------------------------------------------------------

namespace {

// One member or element, shaded or wire frame; elem is the representative element record.
int DrawShaded(I_PVXModel& m, CDC* pDC, UINT key, T_PMEMB_D* pMemb, T_PELEM_D& elem, const COLORREF colors[2]) {
    T_PVX_DOPT_D& opt = *m.m_pDispOpt;
    const int savedShading = opt.m_bShading;
    if (opt.m_nRenderMode == 2) opt.m_bShading = 0;

    std::unique_ptr<CClientDC> client = MakeClientCopy(m);
    const int width = opt.m_bWireFrame ? WidePen(m.m_nPenFactor) : m.m_nPenFactor;
    PenScope pen(pDC, client.get(), PS_SOLID, width, colors[0]);

    FaceList shape;
    T_SHAPE_ARGUMENT arg;
    if (pMemb)
        m.GetShapeMember(key, *pMemb, shape.faces, nullptr, arg, 0, 1);
    else
        m.GetShapeElement(key, elem, shape.faces, nullptr, arg, 0, 1);

    const bool bSuper = CPVXSElemCtrl::IsSuperElem(elem) != 0;
    // A super element without a map entry has no faces of its own to show its outline.
    bool bSuperEdges = false;
    if (bSuper && pMemb && pMemb->aElem.GetSize() > 0 && m.m_pGeomCtrl)
        bSuperEdges = !m.m_pGeomCtrl->m_PSemap.Exist(pMemb->aElem[0]);
    const bool bLine = CPVXAttrCtrl::IsLineElemType(elem.type) != 0;
    const bool bPlane = CPVXAttrCtrl::IsPlaneElemType(elem.type) != 0 || bSuper;
    const INT_PTR nFaces = shape.faces.GetSize();
    const COLORREF back = opt.m_Color.m_crBackground;

    int result = 1;
    CArray<int, int> flags;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        if (m.WatchEscKeyPress()) {
            result = -1;
            break;
        }
        PVXPolyList* face = shape.faces[f];
        if (!face) continue;
        AllEdges(face, flags);
        if (opt.m_bWireFrame) {
            DrawEdges(m, pDC, face, &flags, client.get());
            continue;
        }
        if (opt.m_nRenderMode == 2) {
            m.DrawPolygon3DFill(pDC, *face, flags, back, client.get(), 0);
            continue;
        }
        if (nFaces > 1) {
            const bool cullLine = bLine && opt.m_bLineCulling;
            const bool cullPlane = bPlane && opt.m_bPlaneCulling;
            if ((cullLine || cullPlane) && !m.IsVisibleFace(face, static_cast<int>(face->GetCount()))) continue;
        }
        if (bSuperEdges) DrawEdges(m, pDC, face, &flags, client.get());
        m.DrawPolygon3DFill(pDC, *face, flags, colors[1], client.get(), 0);
    }
    opt.m_bShading = savedShading;
    return result;
}

// Edges of every face of a member (or element) with the pen already chosen.
int DrawEdgesOnly(I_PVXModel& m, CDC* pDC, PVXPolyListArray& faces, CDC* pClient) {
    CArray<int, int> flags;
    for (INT_PTR f = 0; f < faces.GetSize(); ++f) {
        if (m.WatchEscKeyPress()) return -1;
        if (!faces[f]) continue;
        AllEdges(faces[f], flags);
        DrawEdges(m, pDC, faces[f], &flags, pClient);
    }
    return 1;
}

// Undeformed-style edges of a member in one colour.
int DrawUndeformedStyle(I_PVXModel& m, CDC* pDC, UINT key, COLORREF color) {
    T_PMEMB_D memb;
    if (!m.m_pAttrCtrl || !m.m_pAttrCtrl->GetMemb(key, memb)) return 0;
    T_PVX_DOPT_D& opt = *m.m_pDispOpt;
    FaceList shape;
    T_SHAPE_ARGUMENT arg;
    if (!opt.m_bWireFrame) {
        const int wire = opt.m_bWireFrame, lineCull = opt.m_bLineCulling, planeCull = opt.m_bPlaneCulling;
        opt.m_bWireFrame = opt.m_bUndeformedWireFrame;
        opt.m_bLineCulling = opt.m_bUndeformedLineCulling && lineCull;
        opt.m_bPlaneCulling = opt.m_bUndeformedPlaneCulling && planeCull;
        m.GetShapeMember(key, memb, shape.faces, nullptr, arg, 0, 1);
        opt.m_bWireFrame = wire;
        opt.m_bLineCulling = lineCull;
        opt.m_bPlaneCulling = planeCull;
    } else {
        m.GetShapeMember(key, memb, shape.faces, nullptr, arg, 0, 1);
    }
    std::unique_ptr<CClientDC> client = MakeClientCopy(m);
    PenScope pen(pDC, client.get(), PS_SOLID, m.m_nPenFactor, color);
    BrushScope brush(pDC, client.get(), color);
    return DrawEdgesOnly(m, pDC, shape.faces, client.get());
}

// DrawUndeformedStyle from the kept outline of the member, each point projected once; 0 when
// the outline is not drawn this way (then the caller draws it as above).
int DrawUndeformedStyleKept(I_PVXModel& m, CDC* pDC, UINT key, COLORREF color) {
    if (!m.DrawsEdgesAtOnce(pDC)) return 0;
    T_PMEMB_D memb;
    if (!m.m_pAttrCtrl || !m.m_pAttrCtrl->GetMemb(key, memb)) return 0;
    T_PVX_DOPT_D& opt = *m.m_pDispOpt;
    const PVXFlatFaces* faces = nullptr;
    T_SHAPE_ARGUMENT arg;
    {
        const int wire = opt.m_bWireFrame, lineCull = opt.m_bLineCulling, planeCull = opt.m_bPlaneCulling;
        if (!wire) {
            opt.m_bWireFrame = opt.m_bUndeformedWireFrame;
            opt.m_bLineCulling = opt.m_bUndeformedLineCulling && lineCull;
            opt.m_bPlaneCulling = opt.m_bUndeformedPlaneCulling && planeCull;
        }
        faces = m.KeptMemberFaces(m.m_KeptOutline, key, memb, arg, false);
        opt.m_bWireFrame = wire;
        opt.m_bLineCulling = lineCull;
        opt.m_bPlaneCulling = planeCull;
    }
    if (!faces) return 0;
    PenScope pen(pDC, nullptr, PS_SOLID, m.m_nPenFactor, color);
    BrushScope brush(pDC, nullptr, color);
    thread_local std::vector<CPoint> px;
    faces->Project(*m.m_pPVXCtrl, px);
    // The faces' edges many at a time: lines of one pen make the same pixels in any grouping.
    // Escape is still watched face by face; the faces before it are drawn.
    constexpr size_t kBatchPoints = 4096;  // a batch stays in the cache
    thread_local std::vector<POINT> seg;
    seg.clear();
    auto draw = [&] {
        if (!seg.empty()) pDC->LineSegments(seg.data(), static_cast<int>(seg.size() / 2));
        seg.clear();
    };
    // In copy mode only the union of the lines' pixels shows: each line once, and an edge two
    // faces share (one each way) as one line drawn both ways.
    const PVXFlatFaces::Lines* lines = pDC->GetROP2() == R2_COPYPEN ? faces->EdgeLines() : nullptr;
    if (lines) {
        // Escape is watched face by face; the lines of the faces seen are drawn a batch at a time.
        constexpr int kBatchLines = static_cast<int>(kBatchPoints / 2);
        thread_local std::vector<POINT> both;
        auto gather = [&](const std::vector<PVXFlatFaces::Line>& from, int a, int b, std::vector<POINT>& to) {
            to.resize(2 * static_cast<size_t>(b - a));
            POINT* q = to.data();
            for (const PVXFlatFaces::Line *l = from.data() + a, *end = from.data() + b; l != end; ++l, q += 2) {
                q[0] = px[static_cast<size_t>(l->from)];
                q[1] = px[static_cast<size_t>(l->to)];
            }
        };
        const int nFaces = faces->Faces();
        int oneDone = 0, bothDone = 0;  // lines drawn: those of the faces before some face
        for (int f = 0; f < nFaces;) {
            if (m.WatchEscKeyPress()) {
                // The faces before it edge by edge: the lines drawn so far are among theirs.
                seg.clear();
                for (int g = 0; g < f; ++g) {
                    faces->AppendEdges(g, px, seg);
                    if (seg.size() >= kBatchPoints) draw();
                }
                draw();
                return -1;
            }
            ++f;
            const int one = lines->oneWayFirst[f], two = lines->bothFirst[f];
            if (f < nFaces && one - oneDone < kBatchLines && two - bothDone < kBatchLines) continue;
            gather(lines->oneWay, oneDone, one, seg);
            draw();
            gather(lines->bothWays, bothDone, two, both);
            if (!both.empty()) pDC->LineSegmentsBothWays(both.data(), static_cast<int>(both.size() / 2));
            oneDone = one;
            bothDone = two;
        }
        return 1;
    }
    for (int f = 0; f < faces->Faces(); ++f) {
        if (m.WatchEscKeyPress()) {
            draw();
            return -1;
        }
        faces->AppendEdges(f, px, seg);
        if (seg.size() >= kBatchPoints) draw();
    }
    draw();
    return 1;
}

// Inactive edges of a member or element.
int DrawInactiveStyle(I_PVXModel& m, CDC* pDC, UINT key, bool bMember) {
    T_PVX_DOPT_D& opt = *m.m_pDispOpt;
    FaceList shape;
    T_SHAPE_ARGUMENT arg;
    if (bMember) {
        T_PMEMB_D memb;
        if (!m.m_pAttrCtrl || !m.m_pAttrCtrl->GetMemb(key, memb)) return 0;
        m.GetShapeMember(key, memb, shape.faces, nullptr, arg, 0, 1);
    } else {
        T_PELEM_D elem;
        if (!m.m_pAttrCtrl || !m.m_pAttrCtrl->GetElem(key, elem)) return 0;
        m.GetShapeElement(key, elem, shape.faces, nullptr, arg, 0, 1);
    }
    std::unique_ptr<CClientDC> client = MakeClientCopy(m);
    std::unique_ptr<PenScope> pen;
    if (m.m_bForcedWireFrame) {
        // Without wire frame the DC keeps the pen it has.
        if (opt.m_bWireFrame)
            pen = std::make_unique<PenScope>(pDC, client.get(), PS_SOLID, WidePen(m.m_nPenFactor),
                                             m.m_crForcedWireInactive);
    } else {
        const int width = opt.m_bWireFrame ? WidePen(m.m_nPenFactor) : m.m_nPenFactor;
        pen = std::make_unique<PenScope>(pDC, client.get(), PS_SOLID, width, opt.m_Color.m_crInactive);
    }
    CPen* pOldClientPen = nullptr;
    if (!pen && client && pDC && pDC->GetCurrentPen()) pOldClientPen = client->SelectObject(pDC->GetCurrentPen());
    int r;
    {
        BrushScope brush(pDC, client.get(), opt.m_Color.m_crInactive);
        r = DrawEdgesOnly(m, pDC, shape.faces, client.get());
    }
    if (pOldClientPen) client->SelectObject(pOldClientPen);
    return r;
}

}  // namespace

int I_PVXModel::PVXDrawMember(CDC* pDC, UINT nKey) {
    if (!m_pDispOpt || !m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb)) return 0;
    COLORREF colors[2];
    MembColors(*this, memb.type, colors);
    T_PELEM_D elem;
    elem.Initialize();
    if (memb.aElem.GetSize() == 0 || !m_pAttrCtrl->GetElem(memb.aElem[0], elem)) {
        elem.Initialize();
        elem.type = memb.type == 202 ? 5 : 2;
    }
    return DrawShaded(*this, pDC, nKey, &memb, elem, colors);
}

int I_PVXModel::PVXDrawElementNew(CDC* pDC, UINT nKey) {
    if (!m_pDispOpt || !m_pAttrCtrl) return 0;
    T_PELEM_D elem;
    if (!m_pAttrCtrl->GetElem(nKey, elem)) return 0;
    // The element colours follow the member colour rules of its type.
    COLORREF colors[2];
    MembColors(*this, elem.type, colors);
    return DrawShaded(*this, pDC, nKey, nullptr, elem, colors);
}

int I_PVXModel::PVXDrawUndeformedMember(CDC* pDC, UINT nKey) {
    if (!m_pDispOpt) return 0;
    if (const int r = DrawUndeformedStyleKept(*this, pDC, nKey, m_pDispOpt->m_Color.m_crUndeformed)) return r;
    return DrawUndeformedStyle(*this, pDC, nKey, m_pDispOpt->m_Color.m_crUndeformed);
}

int I_PVXModel::PVXDrawInactiveUndeformedMember(CDC* pDC, UINT nKey) {
    if (!m_pDispOpt) return 0;
    if (const int r = DrawUndeformedStyleKept(*this, pDC, nKey, m_pDispOpt->m_Color.m_crInactive)) return r;
    return DrawUndeformedStyle(*this, pDC, nKey, m_pDispOpt->m_Color.m_crInactive);
}

int I_PVXModel::PVXDrawInactiveMember(CDC* pDC, UINT nKey) {
    if (!m_pDispOpt) return 0;
    return DrawInactiveStyle(*this, pDC, nKey, true);
}

int I_PVXModel::PVXDrawInactiveElement(CDC* pDC, UINT nKey) {
    if (!m_pDispOpt) return 0;
    return DrawInactiveStyle(*this, pDC, nKey, false);
}

int I_PVXModel::PVXDrawUndeformedElement(CDC*, UINT) { return -1; }

int I_PVXModel::DrawColumnSectShape(CDC* pDC, UINT nKey, T_PMEMB_D&) {
    if (!m_pAttrCtrl || !m_pPVXCtrl || !m_pDispOpt || !pDC) return 0;
    T_PMEMB_D memb;
    if (!m_pAttrCtrl->GetMemb(nKey, memb) || memb.aNode.GetSize() == 0) return 0;
    CDBDoc* pDoc = m_pDBDoc ? m_pDBDoc : CDBDoc::m_pDBDoc;
    if (!pDoc || !pDoc->GetGeomCtrl() || !pDoc->GetMDBCtrl()) return 0;
    int count = 0;
    CArray<int, int> kinds, idx;
    CArray<double, double> coords;
    if (!pDoc->GetGeomCtrl()->makeSectShape(memb.aNode[memb.aNode.GetSize() - 1], pDoc->GetMDBCtrl()->GetDBPost(),
                                            count, kinds, idx, coords, nullptr, 0.5))
        return 0;
    COLORREF colors[2];
    MembColors(*this, memb.type, colors);
    PenScope pen(pDC, nullptr, PS_SOLID, static_cast<int>(m_nPenFactor * 1.5), colors[0]);
    auto vertex = [&](int at, C3DPoint& p) {
        if (at < 0 || at + 2 >= coords.GetSize()) return false;
        p = C3DPoint(coords[at], coords[at + 1], coords[at + 2]);
        return true;
    };
    auto line = [&](int a, int b) {
        C3DPoint pa, pb;
        if (!vertex(a, pa) || !vertex(b, pb)) return;
        if (m_bExternalDevice)
            m_pPVXCtrl->DrawLine3DOnClientWindow(pDC, pa, pb, 0.0);
        else
            m_pPVXCtrl->DrawLine3D(pDC, pa, pb, 0.0);
    };
    const int n = std::min<int>(count, static_cast<int>(kinds.GetSize()));
    if (idx.GetSize() >= 2 * static_cast<INT_PTR>(n)) {
        // Two vertex offsets per drawn edge, consumed in order.
        INT_PTR at = 0;
        for (int i = 0; i < n; ++i) {
            if (kinds[i] != 2) continue;
            if (at + 1 >= idx.GetSize()) break;
            line(idx[at], idx[at + 1]);
            at += 2;
        }
    } else {
        // One vertex offset per corner: edge i runs from corner i to the next, the last closing.
        const int corners = static_cast<int>(idx.GetSize());
        for (int i = 0; i < n && i < corners; ++i)
            if (kinds[i] == 2) line(idx[i], idx[(i + 1) % corners]);
    }
    return 1;
}

// ---- the whole model -------------------------------------------------------------------------

int I_PVXModel::PVXDrawOriginal(CDC* pDC, int bUndeformedStyle) {
    if (!m_pDispOpt || !m_pAttrCtrl || !m_pPVXCtrl || !pDC) return 0;
    if (m_arrActiveMembKey.GetSize() == 0 && HasBareElements()) return DrawBareElements(pDC);
    DispOptRestore restore(*this);
    T_PVX_DOPT_D& opt = *m_pDispOpt;
    const int savedFactor = restore.PenFactor();

    CArray<GRE_Atom, GRE_Atom&> atoms;
    m_pPVXCtrl->GetZSortedList(m_arrActiveMembKey, m_nObjectIDFirst, atoms);
    const INT_PTR nAtoms = atoms.GetSize();

    if (m_nDisplayMode >= PVXMode::kSlabForce && m_nDisplayMode <= PVXMode::kSlabWall) {
        // Slab results: every member in its own colours through the inactive drawers.
        for (INT_PTR i = 0; i < nAtoms; ++i) {
            if (WatchEscKeyPress()) return -1;
            const GRE_Atom a = atoms[i];
            if (!m_pPVXCtrl->IsObjectInClientWindow(a.m_nType, a.m_nKey)) continue;
            T_PMEMB_D memb;
            if (!m_pAttrCtrl->GetMemb(a.m_nKey, memb)) continue;
            m_nPenFactor = (opt.m_bWireFrame && memb.type == 201) ? 2 * savedFactor : savedFactor;
            COLORREF colors[2] = {opt.m_Color.m_crInactive, opt.m_Color.m_crInactive};
            opt.GetMembColor(memb.type, m_bExternalDevice, colors);
            opt.m_Color.m_crInactive = colors[0];
            int r;
            if (!m_pPVXCtrl->IsActiveElem(a.m_nKey))
                r = bUndeformedStyle ? PVXDrawInactiveUndeformedMember(pDC, a.m_nKey)
                                     : PVXDrawInactiveMember(pDC, a.m_nKey);
            else
                r = bUndeformedStyle ? PVXDrawInactiveMember(pDC, a.m_nKey) : PVXDrawMember(pDC, a.m_nKey);
            if (r == -1) return -1;
        }
        return 1;
    }

    const int passes = opt.m_bWireFrame ? 2 : 1;
    for (int pass = 0; pass < passes; ++pass) {
        for (INT_PTR i = 0; i < nAtoms; ++i) {
            if (WatchEscKeyPress()) return -1;
            const GRE_Atom a = atoms[i];
            T_PMEMB_D memb;
            const int bHave = m_pAttrCtrl->GetMemb(a.m_nKey, memb);
            if (bHave && m_pPVXCtrl->IsObjectInClientWindow(a.m_nType, a.m_nKey)) {
                int r;
                if (m_pPVXCtrl->IsActiveElem(a.m_nKey))
                    r = bUndeformedStyle ? PVXDrawUndeformedMember(pDC, a.m_nKey) : PVXDrawMember(pDC, a.m_nKey);
                else
                    r = bUndeformedStyle ? PVXDrawInactiveUndeformedMember(pDC, a.m_nKey)
                                         : PVXDrawInactiveMember(pDC, a.m_nKey);
                if (r == -1) return -1;
            }
            if (pass == 0 && bHave && m_bForcedWireFrame && memb.type == 101) DrawColumnSectShape(pDC, a.m_nKey, memb);
        }
    }
    return 1;
}

int I_PVXModel::DrawBareElements(CDC* pDC) {
    if (!m_pPVXCtrl || !pDC) return 0;
    std::vector<BareElement> elems;
    GetBareElements(elems);
    // Back to front by the view depth of each box's centre, as the members are drawn.
    std::vector<std::pair<double, UINT>> order;
    order.reserve(elems.size());
    for (const BareElement& e : elems) order.emplace_back(m_pPVXCtrl->GetVcsCoord((e.lo + e.hi) * 0.5).z, e.key);
    std::stable_sort(order.begin(), order.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [depth, key] : order) {
        if (WatchEscKeyPress()) return -1;
        if (PVXDrawElementNew(pDC, key) == -1) return -1;
    }
    return 1;
}

// ---- active nodes ----------------------------------------------------------------------------

namespace {

void PutNodes(I_PVXModel& m, CDC* pDC, bool bSkipInactive) {
    I_PVXCtrl* ctrl = m.m_pPVXCtrl;
    if (!ctrl || !pDC) return;
    for (INT_PTR i = 0; i < m.m_arrFlagNodeKey.GetSize(); ++i) {
        const UINT key = m.m_arrFlagNodeKey[i];
        if (bSkipInactive && !ctrl->IsActiveNode(key)) continue;
        C3DPoint p;
        if (m.RE_GetLabelPosNodeByKey(key, &p) != 1) continue;
        if (m.m_bExternalDevice) {
            const CPoint w = ctrl->GetWorldToWindowP2D(p);
            if (w.x >= 1 && w.y >= 1) ctrl->DrawNodeInClientWindow(pDC, p);
        } else {
            const CPoint w = ctrl->GetWorldToMemDCP2D(p);
            if (w.x >= 1 && w.y >= 1) ctrl->DrawNode(pDC, p);
        }
    }
}

}  // namespace

void I_PVXModel::PVXPutActiveNodes(CDC* pDC) { PutNodes(*this, pDC, false); }

void I_PVXModel::XGR_PVXPutActiveNodes(CDC* pDC) {
    if (!m_pPVXCtrl || m_pPVXCtrl->XGR_IsRenderNode()) return;
    PVXTempEnableGLVisibleCheck visible(m_pPVXCtrl);
    PutNodes(*this, pDC, true);
}
