// CForceEngine: the wall force contours (display mode 8) and the wall shear and moment diagrams
// (mode 9) from the lists of CForceEngineWall.cpp.
//
// Contours: every active wall-column and wall-beam is painted face by face; each face vertex
// takes the wall's force at its node (linear in height for a wall-column, along the eight
// segments for a wall-beam), and the engine base cuts the face into colour bands. Diagrams: a
// wall-column gets a vertical diagram through its plan anchor from the bottom to the top of its
// faces, a wall-beam one along P1-P2, offset sideways by value times scale, cut into pieces of a
// sixth of an inch on the screen and split into triangles where the value changes sign; the
// band painter of the frame diagrams colours them. With numbers shown, the diagram points that
// carry the numbers are stored in the wall's record.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "host/base/CMathFunc.h"
#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/DBTables.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/CPVXMembCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CWaitCursor.h"

namespace {

using forceshared::kSegments;
using forceshared::kDirSign;
using forceshared::FaceFlags;

// Direction row and sign of a wall-column diagram by component (axial force and shears along
// their own axes, moments on the tension side), and the same for a wall-beam.
constexpr int kColmDirRow[6] = {1, 0, 1, 1, 1, 0};
constexpr int kBeamDirRow[6] = {2, 1, 2, 2, 2, 1};

// The wall table bound to the document's post database.
bool ReadWall(I_PVXModel* pModel, UINT key, T_PWALL_D& wall) {
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    if (!pDoc || !pDoc->GetMDBCtrl()) return false;
    CClassPWall walls;
    walls.ConnectToDB(pDoc->GetMDBCtrl()->GetDBPost());
    return walls.Get(key, wall) != 0;
}

// Appends the polygons of one diagram segment S-E (values sv, ev; offset points S', E') cut into
// pieces of length step: every vertex with a flag 1, each polygon with its quad flag.
struct DiagramSink {
    CForceEngine::DiagramPointList& points;
    CForceEngine::DiagramValueList& values;
    CForceEngine::DiagramFlagList& vertexFlags;
    CForceEngine::DiagramFlagList& polyFlags;

    void Vertex(const C3DPoint& p, double v) {
        C3DPoint q = p;
        points.Add(q);
        values.Add(v);
        vertexFlags.Add(1);
    }
    void Piece(const C3DPoint& B0, const C3DPoint& B1, const C3DPoint& O0, const C3DPoint& O1, double w0, double w1) {
        if (w0 == 0.0 && w1 == 0.0) return;
        if (w0 == 0.0) {
            Vertex(B0, w0);
            Vertex(O1, w1);
            Vertex(B1, w1);
            polyFlags.Add(0);
        } else if (w1 == 0.0) {
            Vertex(B0, w0);
            Vertex(O0, w0);
            Vertex(B1, w1);
            polyFlags.Add(0);
        } else if (w0 * w1 < 0.0) {
            // The zero divides the base in the ratio of the magnitudes.
            const double r = std::fabs(w0) / (std::fabs(w0) + std::fabs(w1));
            const C3DPoint Z = B0 + (B1 - B0) * r;
            Vertex(B0, w0);
            Vertex(O0, w0);
            Vertex(Z, 0.0);
            polyFlags.Add(0);
            Vertex(Z, 0.0);
            Vertex(O1, w1);
            Vertex(B1, w1);
            polyFlags.Add(0);
        } else {
            Vertex(B0, w0);
            Vertex(O0, w0);
            Vertex(O1, w1);
            Vertex(B1, w1);
            polyFlags.Add(1);
        }
    }
    void Segment(const C3DPoint& S, const C3DPoint& E, const C3DPoint& S2, const C3DPoint& E2, double sv, double ev,
                 double step) {
        const int n = CForceEngine::GetSfdBmdPieceCount(CMathFunc::mathLength(S, E), step);
        for (int k = 0; k < n; ++k) {
            const double a = static_cast<double>(k) / n, b = k + 1 == n ? 1.0 : static_cast<double>(k + 1) / n;
            const C3DPoint B0 = S + (E - S) * a, B1 = k + 1 == n ? E : S + (E - S) * b;
            const C3DPoint O0 = S2 + (E2 - S2) * a, O1 = k + 1 == n ? E2 : S2 + (E2 - S2) * b;
            Piece(B0, B1, O0, O1, sv + (ev - sv) * a, k + 1 == n ? ev : sv + (ev - sv) * b);
        }
    }
};

// The components one diagram selector draws, in drawing order: 0..5 itself, 6 both shears and 7
// both moments (the first of each pair by bFirst); none for another selector.
int DiagramComponents(int nComp, bool bLowFirst, int comps[2]) {
    if (nComp >= 0 && nComp <= 5) {
        comps[0] = nComp;
        return 1;
    }
    if (nComp != 6 && nComp != 7) return 0;
    const int lo = nComp == 6 ? 1 : 4, hi = nComp == 6 ? 2 : 5;
    comps[0] = bLowFirst ? lo : hi;
    comps[1] = bLowFirst ? hi : lo;
    return 2;
}

double WallDrawFactor(I_PVXModel* pModel) {
    return pModel && pModel->m_bAnimation ? std::fabs(pModel->m_AnimationEngine.GetAnimationFactor(1)) : 1.0;
}

}  // namespace

// ---- contours -----------------------------------------------------------------------------------

void CForceEngine::DrawWForcContour(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bWForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    CWaitCursor wait;
    OptionScope comp(m_nBForcComp, m_nWForcComp);
    if (!pModel->m_bContour) {
        pModel->PVXDrawOriginal(pDC, 0);
        return;
    }
    if (m_bDeformed && !pModel->m_pDeformEngine) return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    CPen pen(PS_SOLID, pModel->m_nPenFactor, m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(pDC, &pen);

    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    auto member = [&](UINT nKey, T_PMEMB_D& memb) {
        int r = 1;
        if (IsPossibleWForc(memb) && ctrl.IsActiveElem(nKey)) {
            if (memb.type == 209) r = DoWForcMemberContourC(pDC, nKey, memb);
            else if (memb.type == 210) r = DoWForcMemberContourB(pDC, nKey, memb);
        } else {
            r = DrawInactiveMember(pDC, nKey);
        }
        return r != -1;
    };
    const int nType = pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0);
    if (!forcewalk::ForEachShownMember(*pModel, nType, forcewalk::Escape::kWatch, member)) return;
    if (m_bDeformed && opt.m_bUndeformedWireFrame) pModel->PVXDrawOriginal(pDC, 1);
}

namespace {

// One wall member's faces painted with the value a node gets from valueAt (1 painted, 0 drawn
// plain or not at all, -1 Escape).
template <class ValueAt>
int PaintWallFaces(CForceEngine& e, CDC* pDC, UINT nMembKey, T_PMEMB_D& memb, ValueAt valueAt) {
    I_PVXModel* pModel = e.GetModel();
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    CEngineBase::ShapeLists shape;
    T_SHAPE_ARGUMENT arg = shape.Argument(e.m_bDeformed);
    e.GetMemberShape(nMembKey, memb, shape.faces, &shape.flags, arg);
    const INT_PTR nFaces = shape.faces.GetSize();
    if (shape.faceKeys.GetSize() != nFaces) return 0;

    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    const bool bLinesOnly = e.m_pContourEngine->m_nFillStyle == 1;
    COLORREF colors[2] = {RGB(0, 0, 0), opt.m_Color.m_crBackground};
    pModel->GetMembColor(memb, colors);
    const double dFrame = pModel->m_bAnimation ? pModel->m_AnimationEngine.GetContourFactor() : 1.0;

    // A vertex of a super element's inner node is found among the super elements' shape nodes.
    auto superNode = [&](UINT key, T_PNODE_D& node) {
        CPVXSElemCtrl ctrl;
        CArray<UINT, UINT> resultKeys, nodeKeys;
        CArray<T_PNODE_D> nodes;
        for (INT_PTR el = 0; el < memb.aElem.GetSize(); ++el) {
            resultKeys.RemoveAll();
            ctrl.GetSuperElemNodeKeys(memb.aElem[el], resultKeys);
            ctrl.GetSuperElemData(memb.aElem[el]);
            for (INT_PTR r = 0; r < resultKeys.GetSize(); ++r) {
                if (!ctrl.GetSuperElemShapeNodes(resultKeys[r], nodeKeys, &nodes)) continue;
                for (INT_PTR k = 0; k < nodeKeys.GetSize() && k < nodes.GetSize(); ++k)
                    if (nodeKeys[k] == key) {
                        node = nodes[k];
                        return;
                    }
            }
            ctrl.InitSuperElemRecords();
        }
    };

    std::vector<double> values;
    std::vector<int> flags;
    CArray<int, int> edgeFlags;
    CList<C3DPoint, C3DPoint> poly;  // the face as the band cutter takes it
    int result = 1;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        if (pModel->WatchEscKeyPress()) {
            result = -1;
            break;
        }
        PVXPolyList* face = shape.faces[f];
        const int n = face ? static_cast<int>(face->GetCount()) : 0;
        if (n < 3) continue;
        if (nFaces > 1 && opt.m_bWireFrame == 0 && opt.m_bPlaneCulling && !pModel->IsVisibleFace(face, n)) continue;
        FaceFlags(f < shape.flags.GetSize() ? shape.flags[f] : nullptr, n, edgeFlags);
        if (bEdges && bLinesOnly) {
            pModel->DrawPolygon3DFill(pDC, *face, edgeFlags, colors[1], nullptr, 0);
            pModel->DrawPolygonEdge(pDC, face, &edgeFlags, 0);
        }
        if (pModel->m_bContour) {
            const CArray<UINT>* pKeys = f < shape.nodeKeys.GetSize() ? shape.nodeKeys[f] : nullptr;
            values.assign(static_cast<size_t>(n), 0.0);
            flags.assign(static_cast<size_t>(n), 0);
            for (int j = 0; j < n; ++j) {
                const UINT key = pKeys && j < pKeys->GetSize() ? (*pKeys)[j] : 0;
                T_PNODE_D node;
                if (!pModel->m_pAttrCtrl->GetNode(key, node)) {
                    node.Initialize();
                    superNode(key, node);
                }
                double v = valueAt(key, node);
                if (pModel->m_bAnimation) v = e.m_pContourEngine->GetSubFrameValue(v, dFrame);
                values[static_cast<size_t>(j)] = v;
                flags[static_cast<size_t>(j)] = edgeFlags[j];
            }
            poly.RemoveAll();
            for (POSITION pos = face->GetHeadPosition(); pos;) poly.AddTail(face->GetNext(pos));
            e.DoSubPolyContour(pDC, values.data(), &poly, flags.data(), 0);
        }
        if (bEdges) pModel->DrawPolygonEdge(pDC, face, &edgeFlags, 0);
    }
    return result;
}

}  // namespace

int CForceEngine::DoWForcMemberContourC(CDC* pDC, UINT nMembKey, T_PMEMB_D& memb) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pDispOpt || !pModel->m_pAttrCtrl) return 0;
    T_PWALL_D wall;
    T_MBCL_D forc;
    // The deformation engine is needed only to draw on the deformed shape.
    if (!ReadWall(pModel, nMembKey, wall) || (m_bDeformed && !pModel->m_pDeformEngine) || !m_pContourEngine ||
        !m_mapWColmForc.Lookup(nMembKey, forc)) {
        DrawInactiveMember(pDC, nMembKey);
        return 0;
    }
    return PaintWallFaces(*this, pDC, nMembKey, memb, [&](UINT key, const T_PNODE_D& node) {
        return CalcWallColmValueByNode(key, node, wall, memb, forc);
    });
}

int CForceEngine::DoWForcMemberContourB(CDC* pDC, UINT nMembKey, T_PMEMB_D& memb) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pDispOpt || !pModel->m_pAttrCtrl) return 0;
    T_PWALL_D wall;
    T_STRG_D forc;
    if (!ReadWall(pModel, nMembKey, wall) || (m_bDeformed && !pModel->m_pDeformEngine) || !m_pContourEngine ||
        !m_mapWBeamForc.Lookup(nMembKey, forc)) {
        DrawInactiveMember(pDC, nMembKey);
        return 0;
    }
    return PaintWallFaces(*this, pDC, nMembKey, memb,
                          [&](UINT, const T_PNODE_D& node) { return CalcWallBeamValueByNode(node, wall, forc); });
}

// ---- diagrams -----------------------------------------------------------------------------------

void CForceEngine::DrawWallSfdBmd(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bWForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    CWaitCursor wait;
    OptionScope comp(m_nBForcComp, m_nWForcComp);
    // Hidden faces are not removed while the diagrams stand in front of the walls.
    OptionScope wire(pModel->m_pDispOpt->m_bWireFrame, 1);
    // Wall diagrams are not drawn on the deformed shape.
    if (m_bDeformed) return;

    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    auto member = [&](UINT nKey, T_PMEMB_D& memb) {
        if (pModel->PVXDrawInactiveMember(pDC, nKey) == -1) return false;
        if (!IsPossibleWForc(memb) || !ctrl.IsActiveElem(nKey)) return true;
        T_PWALL_D wall;
        if (!ReadWall(pModel, nKey, wall)) return true;
        int r = 0;
        if (memb.type == 209) r = DoWallElementSfdBmdC(pDC, nKey, memb, wall);
        else if (memb.type == 210) r = DoWallElementSfdBmdB(pDC, nKey, memb, wall);
        return r != -1;
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kWatch, member);
}

int CForceEngine::DoWallElementSfdBmdC(CDC* pDC, UINT nMembKey, T_PMEMB_D& memb, T_PWALL_D& wall) {
    I_PVXModel* pModel = GetModel();
    T_MBCL_D forc;
    if (!pModel || m_bDeformed || !m_pContourEngine || !m_mapWColmForc.Lookup(nMembKey, forc)) return 0;

    // Row 1 the wall's plan direction, row 0 that turned a quarter about the vertical.
    double axes[3][3] = {{wall.dx, wall.dy, 0.0}, {wall.dx, wall.dy, 0.0}, {0.0, 0.0, 1.0}};
    CMathFunc::mathRotateZ(90.0, axes[0][0], axes[0][1], axes[0][2]);

    // Bottom and top: the lowest and highest vertex of the member's faces, at the plan anchor.
    double zLo = DBL_MAX, zHi = -DBL_MAX;
    {
        ShapeLists shape;
        T_SHAPE_ARGUMENT arg;
        pModel->GetShapeMember(nMembKey, memb, shape.faces, nullptr, arg, 0, 1);
        for (INT_PTR f = 0; f < shape.faces.GetSize(); ++f) {
            if (!shape.faces[f]) continue;
            for (POSITION pos = shape.faces[f]->GetHeadPosition(); pos;) {
                const C3DPoint& p = shape.faces[f]->GetNext(pos);
                zLo = std::min(zLo, p.z);
                zHi = std::max(zHi, p.z);
            }
        }
    }
    if (!(zLo <= zHi)) return 0;
    C3DPoint bottom(wall.x, wall.y, zLo), top(wall.x, wall.y, zHi);

    int comps[2];
    const int n = DiagramComponents(m_nWForcComp, IsFar(axes[0], axes[1]) != 0, comps);
    if (m_nWForcComp == 7) DiagramComponents(7, IsFar(axes[1], axes[0]) != 0, comps);
    DiagramPointList points;
    DiagramValueList values;
    DiagramFlagList vertexFlags, polyFlags;
    for (int k = 0; k < n; ++k)
        WSfdBmdMakePolygonC(forc, comps[k], axes, bottom, top, points, values, vertexFlags, polyFlags, nMembKey, memb);
    DoBSfdBmdContour(pDC, points, values, vertexFlags, polyFlags);
    return 1;
}

int CForceEngine::DoWallElementSfdBmdB(CDC* pDC, UINT nMembKey, T_PMEMB_D&, T_PWALL_D& wall) {
    I_PVXModel* pModel = GetModel();
    T_STRG_D forc;
    if (!pModel || !pModel->m_pGeomCtrl || !m_pContourEngine || !m_mapWBeamForc.Lookup(nMembKey, forc)) return 0;
    C3DPoint P1(wall.x1, wall.y1, wall.z1), P2(wall.x2, wall.y2, wall.z2);
    const double pi[3] = {P1.x, P1.y, P1.z}, pj[3] = {P2.x, P2.y, P2.z};
    double axes[3][3];
    if (!pModel->m_pGeomCtrl->CalcFrameLocalVector(pi, pj, 0.0, axes)) return 0;

    int comps[2];
    int n = DiagramComponents(m_nWForcComp, IsFar(axes[0], axes[1]) != 0, comps);
    // Moments: moment z first when row 1 lies behind row 0.
    if (m_nWForcComp == 7) n = DiagramComponents(7, IsFar(axes[1], axes[0]) == 0, comps);
    DiagramPointList points;
    DiagramValueList values;
    DiagramFlagList vertexFlags, polyFlags;
    for (int k = 0; k < n; ++k)
        WSfdBmdMakePolygonB(forc, comps[k], axes, P1, P2, points, values, vertexFlags, polyFlags, nMembKey);
    DoBSfdBmdContour(pDC, points, values, vertexFlags, polyFlags);
    return 1;
}

void CForceEngine::WSfdBmdMakePolygonC(T_MBCL_D& forc, int nComp, double axes[][3], C3DPoint& bottom, C3DPoint& top,
                                       DiagramPointList& points, DiagramValueList& values,
                                       DiagramFlagList& vertexFlags, DiagramFlagList& polyFlags, UINT nMembKey,
                                       T_PMEMB_D& memb) {
    if (nComp < 0 || nComp > 5) return;
    I_PVXModel* pModel = GetModel();
    const double step = GetSfdBmdPieceLength();
    const bool bNumbers = pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_Number.m_bShowNumbers;
    const double f = WallDrawFactor(pModel);
    const double raw[4] = {CalcCForcValue(forc, nComp, 0), CalcCForcValue(forc, nComp, 1),
                           CalcCForcValue(forc, nComp, 2), CalcCForcValue(forc, nComp, 3)};

    // Heights of the inner stations.
    C3DPoint pi, pj, p3, p4;
    CPVXMembCtrl mc;
    mc.GetMembEndPoints(memb, pi, pj, p3, p4);
    T_PVX_WCOLM_D rec;
    m_mapWColm.Lookup(nMembKey, rec);

    // The segments of the diagram: (start, end, block of the start value, block of the end value).
    struct Seg {
        C3DPoint S, E;
        int bs, be;
    };
    auto at = [](const C3DPoint& X, double z) { return C3DPoint(X.x, X.y, z); };
    std::vector<Seg> segs;
    if (!memb.node3 && !memb.node4) {
        segs.push_back({bottom, top, 0, 1});
    } else if (memb.node3 && !memb.node4) {
        segs.push_back({bottom, at(bottom, p3.z), 0, 2});
        segs.push_back({at(top, p3.z), top, 2, 1});
    } else if (!memb.node3) {
        segs.push_back({bottom, at(bottom, p4.z), 0, 3});
        segs.push_back({at(top, p4.z), top, 3, 1});
    } else {
        segs.push_back({bottom, at(bottom, p3.z), 0, 2});
        segs.push_back({at(bottom, p3.z), at(bottom, p4.z), 2, 3});
        segs.push_back({at(top, p4.z), top, 3, 1});
    }

    const double F = m_dWSfdBmdAdjustFactor * m_dWSfdBmdScale * kDirSign[nComp];
    const double* d = axes[kColmDirRow[nComp]];
    DiagramSink sink{points, values, vertexFlags, polyFlags};
    C3DPoint anchors[3];
    for (size_t s = 0; s < segs.size(); ++s) {
        const Seg& g = segs[s];
        const double sv = raw[g.bs] * f, ev = raw[g.be] * f;
        C3DPoint S2, E2;
        CUtilFuncs::GetVectorDirectionPoint(d, sv, F, g.S, S2);
        CUtilFuncs::GetVectorDirectionPoint(d, ev, F, g.E, E2);
        if (bNumbers) {
            if (segs.size() == 1) {
                anchors[0] = S2;
                anchors[1] = E2;
                anchors[2] = (S2 + E2) * 0.5;
            } else if (segs.size() == 2) {
                if (s == 0) {
                    anchors[0] = S2;
                    anchors[2] = E2;
                } else {
                    anchors[1] = E2;
                }
            } else {
                if (s == 0) anchors[0] = S2;
                if (s == 1) anchors[2] = (S2 + E2) * 0.5;
                if (s == 2) anchors[1] = E2;
            }
            // The extremes stand at the diagram point of the value that holds them.
            if (rec.dMax == raw[g.bs]) rec.Pnt[3] = S2;
            else if (rec.dMax == raw[g.be]) rec.Pnt[3] = E2;
            if (rec.dMin == raw[g.bs]) rec.Pnt[4] = S2;
            else if (rec.dMin == raw[g.be]) rec.Pnt[4] = E2;
        }
        sink.Segment(g.S, g.E, S2, E2, sv, ev, step);
    }
    if (bNumbers) {
        for (int k = 0; k < 3; ++k) rec.Pnt[k] = anchors[k];
        rec.nComp = nComp;
        rec.nKey = nMembKey;
        m_mapWColm.SetAt(nMembKey, rec);
    }
}

void CForceEngine::WSfdBmdMakePolygonB(T_STRG_D& forc, int nComp, double axes[][3], C3DPoint& p1, C3DPoint& p2,
                                       DiagramPointList& points, DiagramValueList& values,
                                       DiagramFlagList& vertexFlags, DiagramFlagList& polyFlags, UINT nMembKey) {
    if (nComp < 0 || nComp > 5) return;
    I_PVXModel* pModel = GetModel();
    const double step = GetSfdBmdPieceLength();
    const bool bNumbers = pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_Number.m_bShowNumbers;
    const double f = WallDrawFactor(pModel);
    T_PVX_WBEAM_D rec;
    m_mapWBeam.Lookup(nMembKey, rec);

    const double F = m_dWSfdBmdAdjustFactor * m_dWSfdBmdScale * kDirSign[nComp];
    const double* d = axes[kBeamDirRow[nComp]];
    DiagramSink sink{points, values, vertexFlags, polyFlags};
    for (int s = 0; s < kSegments; ++s) {
        const C3DPoint S = p1 + (p2 - p1) * (static_cast<double>(s) / kSegments);
        const C3DPoint E = s + 1 == kSegments ? p2 : p1 + (p2 - p1) * (static_cast<double>(s + 1) / kSegments);
        const double rs = CalcBForcValue(forc, nComp, s, 0), re = CalcBForcValue(forc, nComp, s, 1);
        const double sv = rs * f, ev = re * f;
        C3DPoint S2, E2;
        CUtilFuncs::GetVectorDirectionPoint(d, sv, F, S, S2);
        CUtilFuncs::GetVectorDirectionPoint(d, ev, F, E, E2);
        if (bNumbers) {
            if (s == 1) rec.Pnt[0] = S2;
            if (s == 3) rec.Pnt[2] = E2;
            if (s == 6) rec.Pnt[1] = E2;
            if (rec.dMax == rs) rec.Pnt[3] = S2;
            else if (rec.dMax == re) rec.Pnt[3] = E2;
            if (rec.dMin == rs) rec.Pnt[4] = S2;
            else if (rec.dMin == re) rec.Pnt[4] = E2;
        }
        sink.Segment(S, E, S2, E2, sv, ev, step);
    }
    if (bNumbers) {
        rec.nComp = nComp;
        rec.nKey = nMembKey;
        m_mapWBeam.SetAt(nMembKey, rec);
    }
}
