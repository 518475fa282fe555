// The drawing side of the design result data: depth-ordered member walks, beam diagram
// polylines, the contour-list overrides and the small plan geometry the builders share.
#include "module/designdata/CFigureDesignData.h"

#include <cfloat>
#include <cmath>
#include <functional>
#include <memory>

#include "host/base/CMathFunc.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"
#include "host/grx/GRE_Atom.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"

namespace {

constexpr double kRadToDeg = 57.29577951308232;
constexpr double kAngleTol = 1e-10;  // coordinates closer than this compare equal in the plan angle

// 1 when a > b, -1 when a < b, 0 when they agree within the tolerance.
int CompReal(double a, double b) {
    if (a - b > kAngleTol) return 1;
    if (b - a > kAngleTol) return -1;
    return 0;
}

// A client DC on the model's view for the live copy of the edges, when the model draws into the
// memory image and allows copies on the window.
std::unique_ptr<CClientDC> ClientCopy(I_PVXModel& m) {
    if (m.m_bExternalDevice || m.m_bSecondTarget || !m.m_pView || !m.m_pView->GetSafeHwnd()) return nullptr;
    auto dc = std::make_unique<CClientDC>(m.m_pView);
    if (!dc->GetSafeHdc()) return nullptr;
    return dc;
}

// The model's active members in the graphics control's depth order (as every engine sorts them).
void SortedMemberAtoms(I_PVXModel& m, CArray<GRE_Atom, GRE_Atom&>& atoms) {
    CArray<int, int> types;
    types.Add(m.m_nObjectIDFirst);
    m.m_pPVXCtrl->GetZSortedList(types, m.m_arrActiveMembKey, atoms);
}

// The walk over the atoms in depth order: Escape stops it, an atom outside the client window is
// passed over unless the whole model shows, and a step that returns -1 stops it.
void WalkAtoms(I_PVXModel& m, const CArray<GRE_Atom, GRE_Atom&>& atoms, const std::function<int(const GRE_Atom&)>& step) {
    for (INT_PTR i = 0; i < atoms.GetSize(); ++i) {
        if (m.WatchEscKeyPress()) break;
        const GRE_Atom& a = atoms[i];
        if (!m.m_pPVXCtrl->IsZoomAllState() && !m.m_pPVXCtrl->IsObjectInClientWindow(a.m_nType, a.m_nKey)) continue;
        if (step(a) == -1) break;
    }
}

}  // namespace

// ---- depth-ordered member walks -----------------------------------------------------------------

void CFigureDesignData::DrawBeamSteelDiagram(CDC* pDC) {
    CWaitCursor wait;
    I_PVXModel* m = Model();
    if (!m || !m->m_pPVXCtrl || !m->GetAttrCtrl() || !m->m_pDispOpt) return;
    CClassPMemb membs;
    membs.ConnectToDB(GetPostDB());
    CArray<GRE_Atom, GRE_Atom&> atoms;
    SortedMemberAtoms(*m, atoms);
    for (int n = 3; n < kTextLists; ++n) m_arrTextValue[n].RemoveAll();
    m_arrDrawnBeamIdx.RemoveAll();
    // Inactive members drawn wide (1.7 pen widths) for the walk only.
    const int bSavedWide = m->m_pDispOpt->m_bWireFrame;
    m->m_pDispOpt->m_bWireFrame = 1;
    WalkAtoms(*m, atoms, [&](const GRE_Atom& a) {
        T_PMEMB_D memb;
        if (!ReadMember(a.m_nKey, memb)) return 0;
        const int r = m->PVXDrawInactiveMember(pDC, a.m_nKey);
        return IsBeamMemberType(memb.type) ? DoBeamElementSteelDiagram(pDC, a.m_nKey) : r;
    });
    m->m_pDispOpt->m_bWireFrame = bSavedWide;
}

void CFigureDesignData::DrawBBM_SFDiagram(CDC* pDC) {
    CWaitCursor wait;
    I_PVXModel* m = Model();
    if (!m || !m->m_pPVXCtrl || !m->GetAttrCtrl()) return;
    CClassPMemb membs;
    if (!membs.ConnectToDB(GetPostDB())) return;
    CArray<GRE_Atom, GRE_Atom&> atoms;
    SortedMemberAtoms(*m, atoms);
    for (int n = 0; n < 3; ++n) m_arrTextValue[n].RemoveAll();
    m_arrDrawnBeamIdx.RemoveAll();
    if (m_arrBeamBM.GetSize() == 0) return;
    const int mode = GetFigureMode();
    const bool bWallBeams = mode == 33 || mode == 41;
    WalkAtoms(*m, atoms, [&](const GRE_Atom& a) {
        T_PMEMB_D memb;
        if (!ReadMember(a.m_nKey, memb)) return 0;
        const int r = m->PVXDrawInactiveMember(pDC, a.m_nKey);
        const bool bStep = bWallBeams ? memb.type == 210 : IsBeamMemberType(memb.type) != 0;
        return bStep ? DoBeamElementSfdBmd(pDC, a.m_nKey) : r;
    });
}

int CFigureDesignData::DoBeamElementSteelDiagram(CDC* pDC, UINT key) {
    I_PVXModel* m = Model();
    if (!m) return 1;
    m_pDBDoc = m->GetDBDoc();
    // A beam without steel record, axes or scale keeps its outline only; the walk goes on.
    T_BEAM_SD rec;
    if (!m_pContourEngine || !m_bShowDiagram || !GetBeamSteel(key, rec)) return 1;
    C3DPoint start, end;
    double axes[3][3];
    if (!GetMemberEnds(key, start, end) || !GetDiagramAxes(key, start, end, axes)) return 1;
    CArray<C3DPoint, C3DPoint&> points;
    CArray<double, double> values;
    CArray<int, int> flags, ints;
    BeamAsTopMakePolygon(rec, axes, start, end, key, points, values, flags, ints);
    BeamAsBotMakePolygon(rec, axes, start, end, key, points, values, flags, ints);
    DoBSfdBmdContour(pDC, points, values, flags, ints);
    return 1;
}

int CFigureDesignData::DoBeamElementSfdBmd(CDC* pDC, UINT key) {
    I_PVXModel* m = Model();
    if (!m || !m->m_pDeformEngine || !m_pContourEngine) return 0;
    C3DPoint start, end;
    if (!ReadBeamLine(key, start, end)) return 0;
    double axes[3][3];
    if (!GetDiagramAxes(key, start, end, axes)) return 0;
    for (INT_PTR i = 0; i < m_arrBeamBM.GetSize(); ++i) {
        const T_BEAM_BM& r = m_arrBeamBM[i];
        if (!(r.pt[0] == start) || !(r.pt[8] == end)) continue;
        // Two members on one line (a beam and its copy) share the record: its curves and labels
        // are drawn once, for the first of them.
        for (INT_PTR g = 0; g < m_arrDrawnBeamIdx.GetSize(); ++g)
            if (m_arrDrawnBeamIdx[g] == static_cast<int>(i)) return 0;
        m_arrDrawnBeamIdx.Add(static_cast<int>(i));
        CArray<C3DPoint, C3DPoint&> points;
        CArray<double, double> values;
        CArray<int, int> flags, ints;
        BSfdBmdMakePolygon(r, axes, points, values, flags, ints);
        DoBSfdBmdContour(pDC, points, values, flags, ints);
        return 1;
    }
    return 0;
}

void CFigureDesignData::DoBSfdBmdContour(CDC* pDC, CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                                         CArray<int, int>& flags, CArray<int, int>& ints) {
    I_PVXModel* m = Model();
    if (!m || !m_pContourEngine) return;
    CArray<int, int> sizes;
    CArray<VtxInfo_tag, VtxInfo_tag> vertices;
    INT_PTR at = 0;
    for (INT_PTR f = 0; f < flags.GetSize(); ++f) {
        const int n = flags[f] ? 4 : 3;
        if (at + n > points.GetSize() || at + n > values.GetSize() || at + n > ints.GetSize()) break;
        C3DPoint pts[4];
        double vals[4];
        int edge[4];
        for (int k = 0; k < n; ++k) {
            pts[k] = points[at + k];
            vals[k] = values[at + k];
            edge[k] = ints[at + k];
        }
        m_pContourEngine->SfdBmdFramePoly(pts, vals, edge, n, sizes, vertices, m_bFramePolyFlag);
        at += n;
    }
    if (m->m_bGradient)
        DrawContourListGrad(pDC, sizes, vertices);
    else
        DrawContourList(pDC, sizes, vertices);
}

void CFigureDesignData::BSfdBmdMakePolygon2() {}

void CFigureDesignData::BeamAsVMakePolygon(const T_BEAM_SD& rec, int nRow, const C3DPoint& start, const C3DPoint& end,
                                           const CArray<C3DPoint, C3DPoint&>& curve,
                                           CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                                           CArray<int, int>& flags, CArray<int, int>& ints) {
    constexpr int kStations = 9;
    if (nRow < 0 || nRow > 2 || curve.GetSize() != kStations) return;
    C3DPoint station[kStations];
    for (int k = 0; k < kStations; ++k) CUtilFuncs::GetInnerLinePoint(k, 8 - k, start, end, station[k]);
    for (int k = 0; k + 1 < kStations; ++k) {
        const C3DPoint quad[4] = {station[k], station[k + 1], curve[k + 1], curve[k]};
        AddStationBand(quad, rec.dVal[nRow][k], rec.dVal[nRow][k + 1], k, kStations, points, values, flags, ints);
    }
}

void CFigureDesignData::AddStationBand(const C3DPoint (&quad)[4], double a, double b, int k, int nStations,
                                       CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                                       CArray<int, int>& flags, CArray<int, int>& ints) {
    const double v[4] = {a, b, b, a};
    const int edge[4] = {0, k + 1 == nStations - 1 ? 1 : 0, 1, k == 0 ? 1 : 0};
    for (int j = 0; j < 4; ++j) {
        C3DPoint p = quad[j];
        points.Add(p);
        values.Add(v[j]);
        ints.Add(edge[j]);
    }
    flags.Add(1);
}

void CFigureDesignData::BeamAsRowMakePolygon(int nRow, T_BEAM_SD& rec, double axes[3][3], C3DPoint& start,
                                             C3DPoint& end, UINT key, CArray<C3DPoint, C3DPoint&>& points,
                                             CArray<double, double>& values, CArray<int, int>& flags,
                                             CArray<int, int>& ints) {
    CArray<C3DPoint, C3DPoint&> curve;
    CArray<double, double> drawn;
    BeamSteelDesignMakePolyLine(rec, axes, start, end, nullptr, curve, drawn, key, nRow);
    BeamAsVMakePolygon(rec, nRow, start, end, curve, points, values, flags, ints);
}

void CFigureDesignData::BeamAsTopMakePolygon(T_BEAM_SD& rec, double axes[3][3], C3DPoint& start, C3DPoint& end,
                                             UINT key, CArray<C3DPoint, C3DPoint&>& points,
                                             CArray<double, double>& values, CArray<int, int>& flags,
                                             CArray<int, int>& ints) {
    BeamAsRowMakePolygon(0, rec, axes, start, end, key, points, values, flags, ints);
}

void CFigureDesignData::BeamAsBotMakePolygon(T_BEAM_SD& rec, double axes[3][3], C3DPoint& start, C3DPoint& end,
                                             UINT key, CArray<C3DPoint, C3DPoint&>& points,
                                             CArray<double, double>& values, CArray<int, int>& flags,
                                             CArray<int, int>& ints) {
    BeamAsRowMakePolygon(1, rec, axes, start, end, key, points, values, flags, ints);
}

// ---- contour lists ----------------------------------------------------------------------------

namespace {

// Edges of band polygons: one pen per polygon, in grey for a monochrome print, else in the value
// colour of its first vertex (colour contour) or the single contour colour.
void DrawListEdges(I_PVXModel& m, CContourEngine& scale, CDC* pDC, CArray<int, int>& sizes,
                   CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    if (!pDC || !m.m_pPVXCtrl || !m.m_pDispOpt) return;
    std::unique_ptr<CClientDC> client = ClientCopy(m);
    const T_PVX_DOPT_D& opt = *m.m_pDispOpt;
    const INT_PTR nVtx = vertices.GetSize();
    INT_PTR s = 0;
    for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
        const INT_PTR n = sizes[p];
        if (n <= 0 || s + n > nVtx) break;
        COLORREF color;
        if (pDC->IsPrinting() && opt.m_nPrintColorMode == 0)
            color = RGB(60, 60, 60);
        else if (m.m_bContour)
            color = scale.GetValueColor(vertices[s].dValue);
        else
            color = opt.m_Color.m_crContourLine;
        CPen pen;
        pen.CreatePen(PS_SOLID, m.m_nPenFactor, color);
        CPen* pOld = pDC->SelectObject(&pen);
        CClientDC* pClient = !m.m_bExternalDevice && !m.m_bSecondTarget ? client.get() : nullptr;
        CPen* pOldClient = pClient ? pClient->SelectObject(&pen) : nullptr;
        for (INT_PTR j = 0; j < n; ++j) {
            if (!vertices[s + j].bLine) continue;
            const C3DPoint& a = vertices[s + j % n].pt;
            const C3DPoint& b = vertices[s + (j + 1) % n].pt;
            if (m.m_bExternalDevice) {
                m.m_pPVXCtrl->DrawLine3DOnClientWindow(pDC, a, b);
            } else {
                if (!m.m_bSecondTarget && pClient) m.m_pPVXCtrl->DrawLine3DOnClientWindow(pClient, a, b);
                m.m_pPVXCtrl->DrawLine3D(pDC, a, b, 0.0);
            }
        }
        if (pClient) pClient->SelectObject(pOldClient);
        pDC->SelectObject(pOld);
        pen.DeleteObject();
        s += n;
    }
}

}  // namespace

void CFigureDesignData::DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    if (!m_pContourEngine) return;
    if (!m_bContourStyle) {
        CEngineBase::DrawContourList(pDC, sizes, vertices);
        return;
    }
    if (I_PVXModel* m = Model()) DrawListEdges(*m, *m_pContourEngine, pDC, sizes, vertices);
}

void CFigureDesignData::DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes,
                                            CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    if (!m_pContourEngine) return;
    if (!m_bContourStyle) {
        CEngineBase::DrawContourListGrad(pDC, sizes, vertices);
        return;
    }
    if (I_PVXModel* m = Model()) DrawListEdges(*m, *m_pContourEngine, pDC, sizes, vertices);
}

// ---- diagram scale and diagram lists -------------------------------------------------------------

void CFigureDesignData::InitBeamDiagramAdjustFactor(double s) {
    I_PVXModel* m = Model();
    C3DPoint lo, hi;
    if (!m || !m->GetRangeModel(&lo, &hi, 1)) return;  // no model extent: the scale stays
    const double dx = hi.x - lo.x, dy = hi.y - lo.y;
    const double L = dx > dy ? dx : dy;
    if (s > -1e-15 && s < 1e-15) s = 1.0;
    m_dBeamDgmScale = L / (std::fabs(s) * 20.0);
}

void CFigureDesignData::DrawBeamDgnSteelDiagram() {
    CWaitCursor wait;
    GetNamedPlaneData();
    m_arrDiagram.RemoveAll();
    for (int n = 3; n < kTextLists; ++n) m_arrTextValue[n].RemoveAll();
    m_arrDrawnBeamIdx.RemoveAll();
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        T_DIAGRAM_D first, second;
        T_PMEMB_D memb;
        if (!ReadMember(m_arrMembKey[i], memb)) break;
        if (IsBeamMemberType(memb.type) && MakeBeamSteelDiagram(m_arrMembKey[i], first, second) == 1) {
            m_arrDiagram.Add(first);
            m_arrDiagram.Add(second);
        }
    }
}

void CFigureDesignData::DrawBeamSfdBmd_Envelope() {
    CWaitCursor wait;
    GetNamedPlaneData();
    m_arrDiagram.RemoveAll();
    const int mode = GetFigureMode();
    for (INT_PTR i = 0; i < m_arrMembKey.GetSize(); ++i) {
        T_DIAGRAM_D first, second;
        T_PMEMB_D memb;
        if (!ReadMember(m_arrMembKey[i], memb)) break;
        if (!IsBeamMemberType(memb.type) || MakeBeamSteelDiagram(m_arrMembKey[i], first, second) != 1) continue;
        if (mode == 35) {
            m_arrDiagram.Add(first);
            m_arrDiagram.Add(second);
        } else if (mode == 36) {
            m_arrDiagram.Add(first);
        } else {
            break;
        }
    }
}

int CFigureDesignData::MakeBeamSteelDiagram(UINT key, T_DIAGRAM_D& first, T_DIAGRAM_D& second) {
    I_PVXModel* m = Model();
    T_PMEMB_D memb;
    if (!m || !m_pContourEngine || !ReadMember(key, memb)) return 0;
    C3DPoint start, end;
    if (!GetMemberEnds(key, start, end)) return 0;
    double axes[3][3];
    if (!GetDiagramAxes(key, start, end, axes)) return 0;
    T_BEAM_SD rec;
    if (!GetBeamSteel(key, rec) || !m_bShowDiagram) return 0;
    const bool bRefs = m->m_pDispOpt && m->m_pDispOpt->m_Number.m_bShowNumbers;
    C3DPoint refs[4];
    auto build = [&](int nRow, T_DIAGRAM_D& d) {
        CArray<C3DPoint, C3DPoint&> points;
        CArray<double, double> values;
        BeamSteelDesignMakePolyLine(rec, axes, start, end, bRefs ? refs : nullptr, points, values, key, nRow);
        if (points.GetSize() != 9 || values.GetSize() != 9) return false;
        for (int k = 0; k < 9; ++k) d.pt[k] = points[k];
        d.dVal[0] = values[0];
        d.dVal[2] = values[8];
        double best = -DBL_MAX;
        for (int k = 1; k <= 7; ++k)
            if (values[k] > best) best = values[k];
        d.dVal[1] = best;
        for (int k = 0; k < 3; ++k) d.ref[k] = bRefs ? refs[k] : C3DPoint();
        d.nKey = key;
        return true;
    };
    if (!build(0, first)) return 0;
    if (GetFigureMode() != 36 && !build(1, second)) return 0;
    return 1;
}

void CFigureDesignData::BeamSteelDesignMakePolyLine(T_BEAM_SD& rec, double axes[3][3], C3DPoint& start, C3DPoint& end,
                                                    C3DPoint* pRefs, CArray<C3DPoint, C3DPoint&>& points,
                                                    CArray<double, double>& values, UINT, int nRow) {
    const int mode = GetFigureMode();
    int row;
    double sign = 1.0;
    if (mode == 23) {
        row = nRow == 0 ? 0 : 1;
        sign = nRow == 0 ? -1.0 : 1.0;
    } else if (mode == 35) {
        row = nRow == 0 ? 0 : 1;
    } else if (mode == 36) {
        row = 2;
    } else {
        return;
    }
    const int axis = CPVXFigure::nSelectMode == 0 ? 1 : 2;
    const double d[3] = {-axes[axis][0], -axes[axis][1], -axes[axis][2]};
    const double f = m_dDgmFactor * m_dBeamDgmScale;
    for (int k = 0; k <= 8; ++k) {
        C3DPoint st, p;
        CUtilFuncs::GetInnerLinePoint(k, 8 - k, start, end, st);
        const double v = sign * rec.dVal[row][k];
        CUtilFuncs::GetVectorDirectionPoint(d, v, f, st, p);
        points.Add(p);
        values.Add(v);
    }
    if (pRefs) {
        pRefs[0] = points[1];
        pRefs[1] = points[4];
        pRefs[2] = points[7];
    }
}

void CFigureDesignData::BeamDeformMakePolyLine(T_BEAM_DISP& rec, double axes[3][3], C3DPoint& start, C3DPoint& end,
                                               C3DPoint* pRefs, CArray<C3DPoint, C3DPoint&>& points,
                                               CArray<double, double>& values, UINT) {
    const int axis = CPVXFigure::nSelectMode == 0 ? 1 : 2;
    const double d[3] = {axes[axis][0], axes[axis][1], axes[axis][2]};
    const double f = m_dDgmFactor * m_dBeamDgmScale;
    for (int k = 0; k <= 9; ++k) {
        C3DPoint st, p;
        CUtilFuncs::GetInnerLinePoint(k, 9 - k, start, end, st);
        CUtilFuncs::GetVectorDirectionPoint(d, rec.d[k], f, st, p);
        points.Add(p);
        values.Add(rec.d[k]);
    }
    if (pRefs) {
        pRefs[0] = points[1];
        pRefs[1] = points[4];
        pRefs[2] = points[7];
    }
}

// ---- member geometry -------------------------------------------------------------------------------

int CFigureDesignData::GetMemberEnds(UINT key, C3DPoint& pi, C3DPoint& pj) const {
    I_PVXModel* m = Model();
    if (!m) return 0;
    CArray<double, double> poses;
    if (!m->RE_GetMembNodePosesFrame(m->m_nObjectIDFirst, key, poses) || poses.GetSize() < 6) return 0;
    const INT_PTR n = poses.GetSize();
    pi = C3DPoint(poses[0], poses[1], poses[2]);
    pj = C3DPoint(poses[n - 3], poses[n - 2], poses[n - 1]);
    return 1;
}

int CFigureDesignData::GetDiagramAxes(UINT key, const C3DPoint& pi, const C3DPoint& pj, double axes[3][3]) const {
    I_PVXModel* m = Model();
    if (!m || !m->GetAttrCtrl()) return 0;
    const int ok = IsInverse(pi, pj) ? m->GetAttrCtrl()->CalcMembFrameLocalVector(key, pj, pi, axes)
                                     : m->GetAttrCtrl()->CalcMembFrameLocalVector(key, pi, pj, axes);
    if (!ok) return 0;
    GetLclVec4BeamDgrm2D(key, axes);
    return 1;
}

int CFigureDesignData::GetMemberCentPt(const CArray<C3DPoint, C3DPoint&>& points, C3DPoint& out) {
    if (points.GetSize() != 2) return 0;
    const C3DPoint& a = points[0];
    const C3DPoint& b = points[1];
    out = C3DPoint(a.x + 0.5 * (b.x - a.x), a.y + 0.5 * (b.y - a.y), a.z);
    return 1;
}

void CFigureDesignData::GetCentPt(const C3DPoint& a, const C3DPoint& b, C3DPoint& out) {
    out = C3DPoint((a.x + b.x) * 0.5, (a.y + b.y) * 0.5, a.z);
}

// Plan angle from -90 (pointing down) up to below 270 degrees: up-right lines 0 to 90, up-left 90
// to 180, down-left 180 to 270, down-right -90 to 0. A line straight down is -90, straight left 180
// and a line of equal points 0 (where the quadrant formulas would give +90, 0 and no number).
double CFigureDesignData::GetRotateAngleBy2Points(const C3DPoint& a, const C3DPoint& b) {
    const double dx = std::fabs(b.x - a.x);
    const double dy = std::fabs(b.y - a.y);
    const int cx = CompReal(a.x, b.x);
    const int cy = CompReal(a.y, b.y);
    if (cx == 0 && cy == 0) return 0.0;
    if (cx == 0) return cy > 0 ? -90.0 : 90.0;
    if (cy == 0) return cx > 0 ? 180.0 : 0.0;
    if (cx > 0 && cy < 0) return std::atan(dx / dy) * kRadToDeg + 90.0;
    if (cx > 0 && cy > 0) return std::atan(dy / dx) * kRadToDeg + 180.0;
    if (cx < 0 && cy > 0) return -std::atan(dy / dx) * kRadToDeg;
    return std::atan(dy / dx) * kRadToDeg;
}

int CFigureDesignData::GetPolyCentroid(const CArray<UINT, UINT>& nodeKeys, double& x, double& y) const {
    const INT_PTR n = nodeKeys.GetSize();
    if (n == 0) return 0;
    CArray<double, double> xs, ys;
    for (INT_PTR i = 0; i < n; ++i) {
        C3DPoint p, next;
        if (!ReadNode(nodeKeys[i], p) || !ReadNode(nodeKeys[(i + 1) % n], next)) return 0;
        xs.Add(p.x);
        ys.Add(p.y);
    }
    return CMathFunc::mathPolyCentroid(static_cast<int>(n), xs.GetData(), ys.GetData(), x, y);
}
