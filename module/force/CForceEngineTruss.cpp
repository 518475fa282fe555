// CForceEngine: truss forces: the values of a truss record, the truss list of the frame force
// displays and the truss contour of display mode 6.
//
// A truss member (type 206) carries its six force components at its two ends only; between them
// a value is linear along the member. The contour pass runs after the frame contour pass: it
// paints every active truss in the bands of the engine's colour scale, each face from the values
// at its cross-section edges, each member drawn as a line from its higher end to its lower.
#include <cfloat>
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWaitCursor.h"
#include "module/contour/KeyedExtremes.h"

namespace {

constexpr double kEndTol = 1e-10;      // a point this close to a member end takes the end's value
constexpr double kNearTol = 1e-10;     // vertices this close in distance to a node tie

using forceshared::LargerOf;
using forceshared::FlagAt;
using forceshared::KeyAt;

// Keeps the vertex nearest to a point; a vertex as near (within kNearTol) moves the kept point
// to the middle of the two.
struct Nearest {
    C3DPoint target;
    C3DPoint best;
    double dist = DBL_MAX;

    void Offer(const C3DPoint& p) {
        const double d = p.Distance(target);
        if (std::fabs(d - dist) < kNearTol) {
            best = (best + p) * 0.5;
        } else if (d < dist) {
            best = p;
            dist = d;
        }
    }
};

}  // namespace

// ---- values ------------------------------------------------------------------------------------

double CForceEngine::CalcTForcValue(const T_MBBR_D& rec, int nSel) const {
    auto endValue = [&](int e) {
        const double* v = rec.d[e];
        switch (m_nBForcComp) {
        case 0: case 1: case 2: case 3: case 4: case 5: return v[m_nBForcComp];
        case 6: return LargerOf(v[1], v[2]);
        case 7: return LargerOf(v[4], v[5]);
        default: return 0.0;
        }
    };
    switch (nSel) {
    case 0: return endValue(0);
    case 1: return endValue(1);
    case 4: {
        const double vI = endValue(0), vJ = endValue(1);
        return std::fabs(vI) >= std::fabs(vJ) ? vI : vJ;
    }
    default: return 0.0;
    }
}

double CForceEngine::GetMaxMembTForc(const T_MBBR_D& rec) const {
    const double vI = CalcTForcValue(rec, 0), vJ = CalcTForcValue(rec, 1);
    return vI >= vJ ? vI : vJ;
}

double CForceEngine::GetMinMembTForc(const T_MBBR_D& rec) const {
    const double vI = CalcTForcValue(rec, 0), vJ = CalcTForcValue(rec, 1);
    return vI <= vJ ? vI : vJ;
}

double CForceEngine::CalcPart4NearValue(const T_MBBR_D& rec, const C3DPoint& p, const C3DPoint& a,
                                        const C3DPoint& b) const {
    const double d1 = p.Distance(a), d2 = p.Distance(b);
    if (std::fabs(d1) < kEndTol) return CalcTForcValue(rec, 0);
    if (std::fabs(d2) < kEndTol) return CalcTForcValue(rec, 1);
    const double t = d1 / (d1 + d2);
    return CalcTForcValue(rec, 1) * t + CalcTForcValue(rec, 0) * (1.0 - t);
}

// ---- the list ------------------------------------------------------------------------------------

int CForceEngine::MakeTForcDataList() {
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    if (!pModel || !pDoc || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    CWaitCursor wait;

    m_dTForcMax = -DBL_MAX;
    m_dTForcMin = DBL_MAX;
    m_arrTrussKey.RemoveAll();
    // A table of the engine's map size: a truss roof holds thousands of bars.
    m_mapTForc.RemoveAll();
    m_mapTForc.InitHashTable(kMapBuckets);
    if (!m_bShowTruss) return 0;

    CPostCtrl* pPost = pDoc->GetPostCtrl();
    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        if (!pModel->m_pAttrCtrl->GetMemb(key, memb) || !CPVXAttrCtrl::IsTrussElemType(memb.type)) continue;
        // The record slot of the load-result kind: value or maximum, minimum, larger magnitude.
        int nSlot = 0;
        switch (pModel->m_nLoadStep) {
        case 0: case 1: nSlot = 0; break;
        case 2: nSlot = 1; break;
        case 3: nSlot = 2; break;
        default: continue;
        }
        T_MBBR_D rec;
        rec.Initialize();
        T_MBBR_D* slots[3] = {nullptr, nullptr, nullptr};
        slots[nSlot] = &rec;
        // A truss without results for this load is left out; the others still show.
        if (!pPost || !pPost->GetMbbr(key, slots[0], slots[1], slots[2], 0)) continue;

        const double hi = GetMaxMembTForc(rec), lo = GetMinMembTForc(rec);
        contour::TakeExtremes(hi, lo, key, m_dTForcMax, m_nTMaxMembKey, m_dTForcMin, m_nTMinMembKey);
        m_arrTrussKey.Add(key);
        m_mapTForc.SetAt(key, rec);
    }

    if (m_arrTrussKey.GetSize() > 0) {
        m_bTForcData = 1;
    } else {
        m_dTForcMax = m_dTForcMin = 0.0;
        pModel->m_nMaxKey = pModel->m_nMinKey = 0;
        m_bTForcData = 0;
    }
    return 1;
}

// ---- the contour pass ----------------------------------------------------------------------------

void CForceEngine::DrawTForcContour(CDC* pDC) {
    if (m_bTForcData) DrawMemberContourPass(pDC, &CForceEngine::DrawTForcPassMember);
}

int CForceEngine::DrawTForcPassMember(CDC* pDC, UINT nKey, const T_PMEMB_D& memb) {
    if (!CPVXAttrCtrl::IsTrussElemType(memb.type) || !GetModel()->m_pPVXCtrl->IsActiveElem(nKey)) {
        // The frame contour pass has drawn every member already (beams in bands, the others
        // plain); drawing them again here would cover its bands.
        if (!m_bBForcData) DrawInactiveMember(pDC, nKey);
        return 0;
    }
    return DoTForcMemberContour(pDC, nKey);
}

int CForceEngine::DoTForcMemberContour(CDC* pDC, UINT nKey) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl) return 0;
    T_PMEMB_D memb;
    if (!pModel->m_pAttrCtrl->GetMemb(nKey, memb)) return 0;
    // The deformation engine is needed only to draw on the deformed shape.
    if ((m_bDeformed && !pModel->m_pDeformEngine) || !m_pContourEngine) return 0;
    T_MBBR_D rec;
    if (!CPVXAttrCtrl::IsTrussElemType(memb.type) || !m_mapTForc.Lookup(nKey, rec)) return 0;

    ShapeLists shape;
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = m_bDeformed;
    arg.pFaceNodeKeys = &shape.nodeKeys;
    GetMemberShape(nKey, memb, shape.faces, &shape.flags, arg);
    const INT_PTR nFaces = shape.faces.GetSize();

    // The member's end nodes where the member is drawn, and the shape's vertices nearest to them.
    CArray<double, double> poses;
    pModel->RE_GetMembNodePosesFrame(pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0), nKey, poses);
    const INT_PTR nPoses = poses.GetSize() / 3;
    if (nPoses < 2) return 0;
    Nearest nearI, nearJ;
    nearI.target = C3DPoint(poses[0], poses[1], poses[2]);
    nearJ.target = C3DPoint(poses[3 * (nPoses - 1)], poses[3 * (nPoses - 1) + 1], poses[3 * (nPoses - 1) + 2]);
    for (INT_PTR f = 0; f < nFaces; ++f) {
        if (!shape.faces[f]) continue;
        for (POSITION pos = shape.faces[f]->GetHeadPosition(); pos;) {
            const C3DPoint p = shape.faces[f]->GetNext(pos);
            nearI.Offer(p);
            nearJ.Offer(p);
        }
    }

    T_PVX_DOPT_D none;
    const T_PVX_DOPT_D& opt = pModel->m_pDispOpt ? *pModel->m_pDispOpt : none;
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    pModel->PVX_XGL_Begin_Memb(nKey, memb);
    int result = 1;
    CArray<int, int> flags;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        PVXPolyList* face = shape.faces[f];
        if (!face || face->GetCount() == 0) continue;
        if (pModel->WatchEscKeyPress()) {
            result = -1;
            break;
        }
        const int n = static_cast<int>(face->GetCount());
        if (n == 2) {
            DoTForcLineContour(pDC, face, memb, rec, nearI.best, nearJ.best);
            continue;
        }
        if (nFaces > 1 && opt.m_bLineCulling && !pModel->IsVisibleFace(face, n)) continue;
        CArray<int>* pFlags = f < shape.flags.GetSize() ? shape.flags[f] : nullptr;
        CArray<UINT>* pKeys = f < shape.nodeKeys.GetSize() ? shape.nodeKeys[f] : nullptr;
        DoTForcPolyContour(pDC, face, pFlags, pKeys, memb, rec, nearI.best, nearJ.best);
        if (bEdges) {
            flags.RemoveAll();
            for (int k = 0; k < n; ++k) flags.Add(FlagAt(pFlags, k));
            pModel->DrawPolygonEdge(pDC, face, &flags, 0);
        }
    }
    pModel->PVX_XGL_End_Elem(0);
    return result;
}

void CForceEngine::DoTForcLineContour(CDC* pDC, CList<C3DPoint>*, T_PMEMB_D&, T_MBBR_D& rec, C3DPoint& nearI,
                                      C3DPoint& nearJ) {
    if (!m_pContourEngine) return;
    const double vI = Animated(CalcTForcValue(rec, 0)), vJ = Animated(CalcTForcValue(rec, 1));
    // From the end of larger value to the end of smaller value; equal values from end J.
    const bool bFromI = vI > vJ;
    const C3DPoint& p = bFromI ? nearI : nearJ;
    const C3DPoint& q = bFromI ? nearJ : nearI;
    const double vp = bFromI ? vI : vJ, vq = bFromI ? vJ : vI;
    CArray<C3DPoint, C3DPoint> points;
    CArray<double, double> values;
    points.Add(p);
    values.Add(vp);
    m_pContourEngine->GetRankVertices(p, q, vp, vq, points, values, nullptr);
    points.Add(q);
    values.Add(vq);
    DrawContourLine(pDC, points, values);
}

void CForceEngine::DoTForcPolyContour(CDC* pDC, CList<C3DPoint>* pPoly, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                                      T_PMEMB_D& memb, T_MBBR_D& rec, C3DPoint& nearI, C3DPoint& nearJ) {
    if (!pPoly) return;
    const int n = static_cast<int>(pPoly->GetCount());
    if (n != 3 && n != 4) return;
    C3DPoint P[4];
    int k = 0;
    for (POSITION pos = pPoly->GetHeadPosition(); pos && k < 4;) P[k++] = pPoly->GetNext(pos);
    CList<C3DPoint, C3DPoint> face;
    for (int i = 0; i < n; ++i) face.AddTail(P[i]);

    // An end cap: its first three vertices belong to one end node of the member.
    const UINT k0 = KeyAt(pNodeKeys, 0);
    const INT_PTR nNodes = memb.aNode.GetSize();
    const bool bCap = pNodeKeys && pNodeKeys->GetSize() >= 3 && k0 == KeyAt(pNodeKeys, 1) &&
                      k0 == KeyAt(pNodeKeys, 2) && nNodes > 0 && (k0 == memb.aNode[0] || k0 == memb.aNode[nNodes - 1]);
    if (bCap) {
        const double v = Animated(CalcTForcValue(rec, k0 == memb.aNode[0] ? 0 : 1));
        double values[4] = {v, v, v, v};
        int flags[4] = {FlagAt(pFlags, 0), FlagAt(pFlags, 1), FlagAt(pFlags, 2), FlagAt(pFlags, 3)};
        DoSubPolyContour(pDC, values, &face, flags, 1);
        return;
    }

    // A side face: the edge P0-P1 lies across the member at one end of the face, P2-P3 at the
    // other; each takes the value at its middle. The edges across the member are not outlined.
    const double v01 = Animated(CalcPart4NearValue(rec, (P[0] + P[1]) * 0.5, nearI, nearJ));
    if (n == 4) {
        const double v23 = Animated(CalcPart4NearValue(rec, (P[2] + P[3]) * 0.5, nearI, nearJ));
        double values[4] = {v01, v01, v23, v23};
        int flags[4] = {0, FlagAt(pFlags, 1), 0, FlagAt(pFlags, 3)};
        DoSubPolyContour(pDC, values, &face, flags, 1);
    } else {
        // A side face narrowing to a point P2 takes the value at that point.
        const double v2 = Animated(CalcPart4NearValue(rec, P[2], nearI, nearJ));
        double values[3] = {v01, v01, v2};
        int flags[3] = {0, FlagAt(pFlags, 1), FlagAt(pFlags, 2)};
        DoSubPolyContour(pDC, values, &face, flags, 1);
    }
}
