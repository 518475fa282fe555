// CForceEngine: drawing of the plate forces of display mode 10 from the lists of
// CForceEnginePlate.cpp.
//
// The pass walks the members back to front as the graphics control sorts them. The plates of the
// T-girders and walls that the lists were built for are painted face by face as colour bands
// (each face vertex takes the corner value of its node, a vertex off the sub-element's corners
// the centre value), or, for the two vector selectors, get a pair of double arrows along the
// principal directions at each face's centre; every other member is drawn once in the inactive
// style. The numbers are each face's extreme (or centre) value at its centre, optionally only
// those near the legend's extremes.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <memory>
#include <typeinfo>
#include <utility>
#include <vector>

#include "host/base/CMathFunc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PointNumbers.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"

namespace {

constexpr double kArrowOfElement = 0.35;  // the largest arrow against the size of its element
constexpr double kArrowOfModel = 0.025;   // and at least this share of the model's size
constexpr double kArrowHead = 0.2;        // head lines against the arrow's length
constexpr double kZeroReference = 1e-15;  // a largest value this small counts as 1

bool IsVectorComp(int c) { return c == 5 || c == 11; }

// Largest of the extents of a box.
double LargestExtent(const C3DPoint& lo, const C3DPoint& hi) {
    const C3DPoint d = hi - lo;
    return std::max(std::max(d.x, d.y), d.z);
}

// The kind of extreme label a plate value gets under the number options' filter: 0 maximum,
// 1 minimum, 2 largest magnitude, -1 none. Kinds 0, 2 and 3 test the element's maximum and
// minimum, kind 1 its extreme of larger magnitude.
int PlateLabelKind(const T_PVX_DOPT_NUMBER_D& num, double dLegendMax, double dLegendMin, double vmax, double vmin,
                   double vabs, double& v) {
    const double t = (dLegendMax - dLegendMin) * num.m_dNumberFactor * 0.01;
    switch (num.m_nNumberOpt1) {
    case 0:
        if (dLegendMax - vmax <= t) {
            v = vmax;
            return 0;
        }
        if (vmin - dLegendMin <= t) {
            v = vmin;
            return 1;
        }
        return -1;
    case 1: {
        const double L = std::fabs(dLegendMax) >= std::fabs(dLegendMin) ? std::fabs(dLegendMax) : std::fabs(dLegendMin);
        v = vabs;
        return L - std::fabs(vabs) <= t ? 2 : -1;
    }
    case 2:
        v = vmax;
        return dLegendMax - vmax <= t ? 0 : -1;
    case 3:
        v = vmin;
        return vmin - dLegendMin <= t ? 1 : -1;
    default: return -1;
    }
}

using forceshared::MeanOf;

}  // namespace

// ---- contours and vectors ----------------------------------------------------------------------

namespace {

constexpr int kMaxClipVertices = 16;     // a face of 3 or 4 corners clipped to one band stays far below
constexpr INT_PTR kBatchVertices = 4096;  // the bands of a few thousand faces drawn as one list
constexpr INT_PTR kRowsAhead = 8;         // elements a plate row is fetched ahead of its drawing

// A vertex as plain numbers (no construction per vertex of the scratch arrays).
struct ClipVertex {
    double x, y, z;
    double v;
    int bLine;  // the edge to the next vertex lies on a level
};

// The part of a polygon where the value is at least (bUpper 0) or at most (bUpper 1) the level,
// values linear along the edges; edges made along the level are flagged. Returns the vertex
// count, -1 when the output would not fit.
int ClipToLevel(const ClipVertex* in, int n, double level, bool bUpper, ClipVertex* out) {
    auto inside = [&](double v) { return bUpper ? v <= level : v >= level; };
    int m = 0;
    for (int i = 0; i < n; ++i) {
        const ClipVertex& P = in[i];
        const ClipVertex& Q = in[i + 1 < n ? i + 1 : 0];
        const bool pIn = inside(P.v), qIn = inside(Q.v);
        auto crossing = [&](int bLine) {
            const double t = (level - P.v) / (Q.v - P.v);
            return ClipVertex{P.x + (Q.x - P.x) * t, P.y + (Q.y - P.y) * t, P.z + (Q.z - P.z) * t, level, bLine};
        };
        if (m + 2 > kMaxClipVertices) return -1;
        if (pIn && qIn) {
            out[m++] = Q;
        } else if (pIn) {
            out[m++] = crossing(1);  // leaving: the way back in runs along the level
        } else if (qIn) {
            out[m++] = crossing(P.bLine);
            out[m++] = Q;
        }
    }
    return m;
}

}  // namespace

bool CForceEngine::CutFaceBands(const double* pValues, const C3DPoint* pts, int n, const int* pRanks) {
    I_PVXModel* pModel = GetModel();
    const CContourEngine* s = m_pContourEngine;
    if (!pValues || !s || !pModel || pModel->m_bGradient || (n != 3 && n != 4) || s->m_nFillStyle == 1 ||
        s->m_bExtrudeContour || s->m_bGlobalRange || s->m_bListMode)
        return false;
    // The bands the corners span: band b lies between levels b - 1 and b; a corner on a level
    // belongs to the band below it as the face's top and to the band above it as its bottom.
    const int nLevels = std::clamp(s->m_nNumColor, 1, static_cast<int>(CContourEngine::MAX_LEVELS));
    int lo = INT_MAX, hi = -1;
    for (int i = 0; i < n; ++i) {
        const int r = pRanks ? pRanks[i] : s->GetUpperRank(pValues[i]);
        // Outside the levels: the base cutter decides.
        if (r == 0 || pValues[i] > s->m_dRankMap[nLevels - 1]) return false;
        lo = std::min(lo, r > 0 ? r : -r + 1);
        hi = std::max(hi, r > 0 ? r : -r);
    }
    if (lo > hi) return false;

    CArray<int, int>& sizes = m_bandSizes;
    CArray<VtxInfo_tag, VtxInfo_tag>& vertices = m_bandVertices;
    // One polygon per band, the corners of a fine mesh mostly in one: the band's part of the
    // face, its first vertex the largest value (which gives the band its colour).
    auto add = [&](const ClipVertex* part, int m) {
        int top = 0;
        for (int k = 1; k < m; ++k)
            if (part[k].v > part[top].v) top = k;
        sizes.Add(m);
        const INT_PTR at = vertices.GetSize();
        vertices.SetSize(at + m);
        VtxInfo_tag* out = vertices.GetData() + at;
        for (int k = 0; k < m; ++k) {
            const ClipVertex& c = part[top + k < m ? top + k : top + k - m];
            out[k].pt.Set(c.x, c.y, c.z);
            out[k].dValue = c.v;
            out[k].bLine = c.bLine;
        }
    };
    ClipVertex face[kMaxClipVertices], a[kMaxClipVertices], b[kMaxClipVertices];
    for (int i = 0; i < n; ++i) face[i] = ClipVertex{pts[i].x, pts[i].y, pts[i].z, pValues[i], 0};
    if (lo == hi) {
        add(face, n);
        return true;
    }
    const INT_PTR nSizes = sizes.GetSize(), nVertices = vertices.GetSize();
    for (int band = lo; band <= hi; ++band) {
        int m = ClipToLevel(face, n, s->m_dRankMap[band - 1], false, a);
        if (m >= 3) m = ClipToLevel(a, m, s->m_dRankMap[band], true, b);
        if (m < 0) {
            sizes.SetSize(nSizes);
            vertices.SetSize(nVertices);
            return false;
        }
        if (m >= 3) add(b, m);
    }
    return true;
}

void CForceEngine::FlushFaceBands(CDC* pDC) {
    if (m_bandSizes.GetSize() > 0) DrawContourList(pDC, m_bandSizes, m_bandVertices);
    m_bandSizes.RemoveAllKeepBlock();
    m_bandVertices.RemoveAllKeepBlock();
}

void CForceEngine::DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                                    int bFrame) {
    const int n = pPoints ? static_cast<int>(pPoints->GetCount()) : 0;
    // Ranks handed over by the plate drawing for these values, if any (taken once).
    const int* pRanks = m_pRankHint;
    m_pRankHint = nullptr;
    FlushFaceBands(pDC);
    C3DPoint pts[4];
    if (!bFrame && (n == 3 || n == 4)) {
        int i = 0;
        for (POSITION pos = pPoints->GetHeadPosition(); pos; ++i) pts[i] = pPoints->GetNext(pos);
        if (CutFaceBands(pValues, pts, n, pRanks)) {
            FlushFaceBands(pDC);
            return;
        }
    }
    CEngineBase::DoSubPolyContour(pDC, pValues, pPoints, pFlags, bFrame);
}

void CForceEngine::DrawPForcContour(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bPForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    CWaitCursor wait;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    const bool bVector = IsVectorComp(m_nPForcComp);
    if (bVector) InitVectorAdjustFactor();
    if (m_bDeformed && !pModel->m_pDeformEngine) return;
    const int nType = pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0);

    CPen pen(PS_SOLID, pModel->m_nPenFactor, m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(pDC, &pen);
    // The view-state word: wire frame while arrows are drawn, as it was for the contours.
    const int nViewState = opt.m_bWireFrame;
    OptionScope restoreView(opt.m_bWireFrame, nViewState);

    // The scale's ranks of every plate value, looked up face by face below.
    struct RanksScope {
        bool& bOn;
        ~RanksScope() { bOn = false; }
    } ranksScope{m_bPlateRanks};
    m_bPlateRanks = !bVector && PreparePlateRanks();

    // The faces' bands are kept from one drawing to the next while they are made of the same.
    std::vector<ULONGLONG> inputs;
    if (!bVector && AppendPlateBandInputs(inputs))
        m_keptPlateBands.Begin(inputs);
    else
        m_keptPlateBands.Reset();
    struct KeptScope {
        KeptFaceBands*& pass;
        ~KeptScope() { pass = nullptr; }
    } keptScope{m_pPlateKept = m_keptPlateBands.Keeping() ? &m_keptPlateBands : nullptr};
    const KeptFaceBands* pKept = m_pPlateKept;

    // The contour faces' bands gathered while the pass runs; drawn before anything else is.
    const BandBatchScope batchScope(*this, !bVector);
    UINT nLastInactive = 0;
    bool bStopped = false;
    forcewalk::ForEachShownMember(*pModel, nType, forcewalk::Escape::kIgnore, [&](UINT nMembKey, T_PMEMB_D& memb) {
        // Members whose plates the lists do not hold (rafts, slabs, a family switched off) are
        // drawn inactive rather than left out of the picture.
        const bool bPlateMember = IsPlateForceMember(memb) != 0;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            // The plate rows of the elements a few places on fetched ahead (an element without
            // sub-elements keeps its record under its own key): first where the row is found,
            // then the row.
            if (pKept) {
                if (e + kRowsAhead < memb.aElem.GetSize()) pKept->Prefetch(memb.aElem[e + kRowsAhead]);
            } else if (bPlateMember && m_bPlateRanks) {
                if (e + 2 * kRowsAhead < memb.aElem.GetSize()) m_plateTable.at.Prefetch(memb.aElem[e + 2 * kRowsAhead]);
                if (e + kRowsAhead < memb.aElem.GetSize())
                    if (const int row = m_plateTable.at.Find(memb.aElem[e + kRowsAhead]); row >= 0)
                        __builtin_prefetch(&m_plateTable.rows[static_cast<size_t>(row)]);
            }
            // A kept element is active and one of the plates': its record is the one its bands
            // were kept for.
            if (const KeptFaceBands::Entry* k = pKept && bPlateMember ? pKept->FindKept(elemKey) : nullptr) {
                if (pModel->WatchEscKeyPress()) {
                    bStopped = true;
                    break;
                }
                opt.m_bWireFrame = nViewState;
                if (const int r = AppendKeptPlateBands(pDC, *k)) {
                    if (r == -1) bStopped = true;
                    continue;
                }
                T_PELEM_D elem;
                if (pModel->m_pAttrCtrl->GetElem(elemKey, elem) && DoPForcElementContour(pDC, elemKey, elem) == -1)
                    bStopped = true;
                continue;
            }
            T_PELEM_D elem;
            if (!pModel->m_pAttrCtrl->GetElem(elemKey, elem) || !elem.bActive) continue;
            if (pModel->WatchEscKeyPress()) {
                bStopped = true;
                break;
            }
            if (!bPlateMember || !IsPossiblePForc(elem)) {
                FlushFaceBands(pDC);
                opt.m_bWireFrame = bVector ? 1 : nViewState;
                if (nLastInactive != nMembKey) {
                    nLastInactive = nMembKey;
                    if (DrawInactiveMember(pDC, nMembKey) == -1) bStopped = true;
                }
                continue;
            }
            if (bVector) {
                opt.m_bWireFrame = 1;
                // The plate's outline under its arrows.
                const int r = DrawPlainElement(pDC, elemKey);
                if (r == -1) {
                    bStopped = true;
                    break;
                }
                DoPForcElementVector(pDC, elemKey);
            } else {
                opt.m_bWireFrame = nViewState;
                if (DoPForcElementContour(pDC, elemKey, elem) == -1) bStopped = true;
            }
        }
        return !bStopped;
    });
    FlushFaceBands(pDC);
    m_bBatchBands = false;
    opt.m_bWireFrame = nViewState;
    if (bStopped) return;
    if (m_bCuttingLine) DrawCuttingLineDiagrams(pDC);
    if (m_bDeformed && opt.m_bUndeformedWireFrame && !bVector) {
        OptionScope edges(opt.m_nRenderMode, 2);
        pModel->PVXDrawOriginal(pDC, 1);
    }
}

int CForceEngine::AppendKeptPlateBands(CDC* pDC, const KeptFaceBands::Entry& k) {
    I_PVXModel* pModel = GetModel();
    if (!m_pPlateKept || !pModel || !pModel->m_pDispOpt || !pModel->m_bContour || !m_pContourEngine) return 0;
    // As DoPForcElementContour decides whether the faces are gathered.
    const T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    if (typeid(*this) != typeid(CForceEngine) || !m_bBatchBands || bEdges || m_pContourEngine->m_bDrawContourLine ||
        IsBandOutlineStyle(0) || m_bPShowLocalAxis)
        return 0;
    return AppendKeptBands(pDC, *m_pPlateKept, k, kBatchVertices);
}

int CForceEngine::DoPForcElementContour(CDC* pDC, UINT nElemKey) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return 0;
    T_PELEM_D elem;
    if (!pModel->m_pAttrCtrl->GetElem(nElemKey, elem)) return 0;
    return DoPForcElementContour(pDC, nElemKey, elem);
}

int CForceEngine::DoPForcElementContour(CDC* pDC, UINT nElemKey, T_PELEM_D& elem) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return 0;
    // Bands gathered from the faces before are drawn before the element is drawn plainly.
    if (!pModel->m_bContour) FlushFaceBands(pDC);
    // Without result colours the plate is drawn plainly.
    if (!pModel->m_bContour)
        return DrawPlainElement(pDC, nElemKey);
    // The deformation engine is needed only to draw on the deformed shape.
    if ((m_bDeformed && !pModel->m_pDeformEngine) || !m_pContourEngine) return 0;

    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    // A plain engine cuts its faces itself (an engine made from it may take each face in its
    // DoSubPolyContour); within the plate pass their bands are gathered over the faces while
    // nothing else is drawn between them and no band list draws more than its fills.
    const bool bOwnCutter = typeid(*this) == typeid(CForceEngine);
    const bool bBatch = bOwnCutter && m_bBatchBands && !bEdges && !m_pContourEngine->m_bDrawContourLine &&
                        !IsBandOutlineStyle(0) && !m_bPShowLocalAxis;
    // The element's bands as kept from a drawing before.
    KeptFaceBands* pKept = bBatch ? m_pPlateKept : nullptr;
    if (pKept)
        if (const KeptFaceBands::Entry* k = pKept->Find(nElemKey, elem.type, elem.kind); k && k->bKept)
            return AppendKeptBands(pDC, *pKept, *k, kBatchVertices);

    FaceScratch& w = m_faceScratch;
    PVXFacesRef faces;
    const int nFaces = GetElementFaces(nElemKey, elem, w.faces, faces);
    if (nFaces == 0) return 0;
    // Only a single face's bands are the element's alone: more are sorted and culled by the view.
    if (nFaces > 1) pKept = nullptr;
    const bool bLinesOnly = m_pContourEngine->m_nFillStyle == 1;
    COLORREF faceColors[2] = {RGB(0, 0, 0), opt.m_Color.m_crBackground};
    T_PMEMB_D memb;
    memb.type = elem.type;
    pModel->GetMembColor(memb, faceColors);
    const double dFrame = pModel->m_bAnimation ? pModel->m_AnimationEngine.GetContourFactor() : 1.0;

    // A plate without results (a grade beam the analysis gave no plate forces) is drawn plain
    // rather than left out of the picture.
    // A face is drawn when its key has a record and a sub-element.
    auto rowOf = [&](int f) {
        const PlateValues* pv = PlateValuesOf(faces.faceKeys[f]);
        return pv && pv->nNodes >= 0 ? pv : nullptr;
    };
    bool bAnyRecord = false;
    for (int f = 0; f < nFaces && !bAnyRecord; ++f) bAnyRecord = faces.Count(f) > 0 && rowOf(f);
    if (!bAnyRecord) {
        if (pKept) pKept->RecordUncut(nElemKey, elem.type, elem.kind);
        FlushFaceBands(pDC);
        return DrawPlainElement(pDC, nElemKey);
    }
    if (pKept)
        pKept->Record(nElemKey, elem.type, elem.kind, faces.Count(0) > 0,
                      pKept->MarkOf(m_bandSizes, m_bandVertices, *m_pContourEngine), m_bandSizes, m_bandVertices,
                      *m_pContourEngine);
    if (!bBatch) FlushFaceBands(pDC);
    for (int f = 0; f < nFaces; ++f) {
        const int n = faces.Count(f);
        if (n == 0) continue;
        if (pModel->WatchEscKeyPress()) {
            if (pKept) pKept->RecordUncut(nElemKey, elem.type, elem.kind);
            FlushFaceBands(pDC);
            return -1;
        }
        const PlateValues* pv = rowOf(f);
        if (!pv) continue;
        if (n < 3) continue;
        const int at = faces.start[f];
        const C3DPoint* pts = faces.corners + at;
        PVXPolyList* face = nullptr;  // the face as a list, made only for the model's face calls
        if (nFaces >= 2 && opt.m_bWireFrame == 0 && opt.m_bPlaneCulling &&
            !pModel->IsVisibleFace(face = w.Face(pts, n), n))
            continue;
        w.edgeFlags.SetSize(n);
        for (int j = 0; j < n; ++j) w.edgeFlags[j] = faces.flags[at + j];
        if (bEdges && bLinesOnly) {
            pModel->DrawPolygon3DFill(pDC, *(face ? face : face = w.Face(pts, n)), w.edgeFlags, faceColors[1], nullptr, 0);
            pModel->DrawPolygonEdge(pDC, face, &w.edgeFlags, 0);
        }
        // Each vertex takes the corner block of its node; a vertex whose node is not among the
        // sub-element's four corners takes the centre value.
        w.values.resize(static_cast<size_t>(n));
        w.flags.resize(static_cast<size_t>(n));
        w.ranks.resize(static_cast<size_t>(n));
        // The kept ranks serve values as recorded (not an animation frame's).
        const bool bRanks = m_bPlateRanks && m_plateTable.bRanks && !pModel->m_bAnimation;
        const signed char* ranks =
            bRanks ? m_plateTable.ranks[static_cast<size_t>(pv - m_plateTable.rows.data())].data() : nullptr;
        for (int j = 0; j < n; ++j) {
            const int b = PlateCornerOf(*pv, faces.keys[at + j]);
            double v = pv->v[b];
            if (pModel->m_bAnimation) v = m_pContourEngine->GetSubFrameValue(v, dFrame);
            w.values[static_cast<size_t>(j)] = v;
            w.flags[static_cast<size_t>(j)] = w.edgeFlags[j];
            if (ranks) w.ranks[static_cast<size_t>(j)] = ranks[b];
        }
        if (bOwnCutter) {
            // The cutter straight from the points; the face goes to the base cutter as a list
            // when it is not its to cut.
            KeptFaceBands::Mark mark;
            if (pKept) mark = pKept->MarkOf(m_bandSizes, m_bandVertices, *m_pContourEngine);
            if (CutFaceBands(w.values.data(), pts, n, ranks ? w.ranks.data() : nullptr)) {
                if (pKept)
                    pKept->Record(nElemKey, elem.type, elem.kind, true, mark, m_bandSizes, m_bandVertices,
                                  *m_pContourEngine);
                if (!bBatch || m_bandVertices.GetSize() >= kBatchVertices) FlushFaceBands(pDC);
            } else {
                if (pKept) pKept->RecordUncut(nElemKey, elem.type, elem.kind);
                FlushFaceBands(pDC);
                CEngineBase::DoSubPolyContour(pDC, w.values.data(), w.Poly(pts, n), w.flags.data(), 0);
            }
        } else {
            m_pRankHint = ranks ? w.ranks.data() : nullptr;
            DoSubPolyContour(pDC, w.values.data(), w.Poly(pts, n), w.flags.data(), 0);
            m_pRankHint = nullptr;
        }
        if (bEdges && !bLinesOnly) pModel->DrawPolygonEdge(pDC, face ? face : w.Face(pts, n), &w.edgeFlags, 0);
    }

    if (m_bPShowLocalAxis) {
        CPVXSElemCtrl ctrl;
        ctrl.GetSuperElemData(nElemKey);
        double axes[3][3];
        if (CalcSElemLocalVec(nElemKey, elem, axes, &ctrl, m_dPLocalAngle, 1))
            DrawPlateResultLclAxis(pDC, nElemKey, axes, m_bDeformed);
        ctrl.InitSuperElemRecords();
    }
    return 1;
}

void CForceEngine::InitVectorAdjustFactor() {
    I_PVXModel* pModel = GetModel();
    C3DPoint lo, hi;
    const double E = pModel && pModel->GetRangeModel(&lo, &hi, 1) ? LargestExtent(lo, hi) : 0.0;
    GetRangeElementPForc(m_nPAbsMaxElem, &lo, &hi);
    const double e = LargestExtent(lo, hi);
    if (m_dPAbsMax > -kZeroReference && m_dPAbsMax < kZeroReference) m_dPAbsMax = 1.0;
    m_dPVectorAdjustFactor = std::max(kArrowOfElement * e, kArrowOfModel * E) / m_dPAbsMax;
}

int CForceEngine::DoPForcElementVector(CDC* pDC, UINT nElemKey) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl) return 1;
    T_PELEM_D elem;
    if (!pModel->m_pAttrCtrl->GetElem(nElemKey, elem)) return 1;
    ShapeLists shape;
    T_SHAPE_ARGUMENT arg = shape.Argument(m_bDeformed);
    GetElementShape(nElemKey, elem, shape.faces, &shape.flags, arg);
    // The principal angles of the records are measured in the display axes the records were
    // turned into, so the arrows are laid out in those axes.
    CPVXSElemCtrl ctrl;
    ctrl.GetSuperElemData(nElemKey);
    double axes[3][3];
    const int bAxes = CalcSElemLocalVec(nElemKey, elem, axes, &ctrl, m_dPLocalAngle, 1);
    ctrl.InitSuperElemRecords();
    if (!bAxes) return 1;
    const INT_PTR nFaces = shape.faces.GetSize();
    const bool bFaceKeys = shape.faceKeys.GetSize() == nFaces;
    CArray<C3DPoint, C3DPoint&> vertices;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        PVXPolyList* face = shape.faces[f];
        if (!face || face->GetCount() < 3 || face->GetCount() > 4) continue;
        vertices.RemoveAll();
        for (POSITION pos = face->GetHeadPosition(); pos;) vertices.Add(face->GetNext(pos));
        DoPForcElementVector_Sub(pDC, vertices, bFaceKeys ? shape.faceKeys[f] : nElemKey, axes);
    }
    return 1;
}

int CForceEngine::DoPForcElementVector_Sub(CDC* pDC, CArray<C3DPoint, C3DPoint&>& vertices, UINT nSubKey,
                                           double axes[3][3]) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !m_pContourEngine || (m_bDeformed && !pModel->m_pDeformEngine)) return 0;
    const auto* pRec = std::as_const(m_mapPForc).PLookup(nSubKey);
    if (!pRec || vertices.GetSize() == 0) return 0;
    const double* b0 = pRec->value.blk[0];
    const int at = m_nPForcComp == 11 ? 23 : 17;
    const double P1 = b0[at], P2 = b0[at + 1], theta = b0[at + 2];

    C3DPoint C(0.0, 0.0, 0.0);
    for (INT_PTR i = 0; i < vertices.GetSize(); ++i) C = C + vertices[i];
    C = C * (1.0 / static_cast<double>(vertices.GetSize()));
    C3DPoint d1(axes[0][0], axes[0][1], axes[0][2]), d2(axes[1][0], axes[1][1], axes[1][2]);
    const C3DPoint normal(axes[2][0], axes[2][1], axes[2][2]);
    CMathFunc::mathRotate(theta, normal, d1);
    CMathFunc::mathRotate(theta, normal, d2);
    const double f = m_dPVectorAdjustFactor * m_dPVectorScale;

    // The shaft runs |P| f along the direction; the head lines start back from the tip by the
    // signed value, so tension points away from the centre and compression towards it.
    const C3DPoint T1 = C + d1 * (std::fabs(P1) * f);
    const C3DPoint H1a = T1 - d1 * (kArrowHead * P1 * f) + d2 * (kArrowHead * std::fabs(P1) * f);
    const C3DPoint H1b = T1 - d1 * (kArrowHead * P1 * f) - d2 * (kArrowHead * std::fabs(P1) * f);
    const C3DPoint T2 = C + d2 * (std::fabs(P2) * f);
    const C3DPoint H2a = T2 - d2 * (kArrowHead * P2 * f) + d1 * (kArrowHead * std::fabs(P2) * f);
    const C3DPoint H2b = T2 - d2 * (kArrowHead * P2 * f) - d1 * (kArrowHead * std::fabs(P2) * f);

    auto colour = [&](double v) {
        return pModel->m_bGradient ? m_pContourEngine->GetValueColorGrad(v) : m_pContourEngine->GetValueColor(v);
    };
    // The window shows the arrows at once while the memory image is drawn, unless the drawing
    // goes to a printer or another device.
    std::unique_ptr<CClientDC> client;
    if (!pDC->IsPrinting() && !pModel->m_bExternalDevice && !pModel->m_bSecondTarget && pModel->m_pView &&
        pModel->m_pView->GetSafeHwnd()) {
        client = std::make_unique<CClientDC>(pModel->m_pView);
        if (!client->GetSafeHdc()) client.reset();
    }
    {
        CPen pen(PS_SOLID, pModel->m_nPenFactor, colour(P1));
        CSelectScope<CPen> sel(pDC, &pen);
        CSelectScope<CPen> selClient(client.get(), &pen);
        DrawVectorArrow(pDC, client.get(), C, T1, H1a, H1b);
    }
    {
        CPen pen(PS_SOLID, pModel->m_nPenFactor, colour(P2));
        CSelectScope<CPen> sel(pDC, &pen);
        CSelectScope<CPen> selClient(client.get(), &pen);
        DrawVectorArrow(pDC, client.get(), C, T2, H2a, H2b);
    }
    return 1;
}

// ---- numbers --------------------------------------------------------------------------------------

void CForceEngine::OutputPForcNumbers(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bPForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    T_PVX_DOPT_NUMBER_D& num = opt.m_Number;
    const bool bVector = IsVectorComp(m_nPForcComp);
    if (m_bDeformed && !pModel->m_pDeformEngine) return;

    const int nSaved = pDC->SaveDC();
    CPVXPlatLabel label(pDC);
    label.SetLabelOption(&num);
    label.BeginDraw();
    {
        OptionScope view(opt.m_bWireFrame, 1);
        const bool bStopped =
            m_bDeformed && opt.m_bUndeformedWireFrame && bVector && pModel->PVXDrawOriginal(pDC, 1) == -1;
        PointNumbers points;  // a wall's plates seen edge-on write one value per point
        auto numbers = [&](UINT, T_PMEMB_D& memb) {
            if (!IsPlateForceMember(memb)) return;
            for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
                const UINT elemKey = memb.aElem[e];
                T_PELEM_D elem;
                if (!pModel->m_pAttrCtrl->GetElem(elemKey, elem) || !IsPossiblePForc(elemKey)) continue;
                ShapeLists shape;
                T_SHAPE_ARGUMENT arg = shape.Argument(m_bDeformed);
                GetElementShape(elemKey, elem, shape.faces, &shape.flags, arg);
                if (shape.faceKeys.GetSize() != shape.faces.GetSize()) continue;
                for (INT_PTR f = 0; f < shape.faces.GetSize(); ++f) {
                    const PVXPolyList* face = shape.faces[f];
                    const auto* pRec = face ? std::as_const(m_mapPForc).PLookup(shape.faceKeys[f]) : nullptr;
                    const int n = face ? static_cast<int>(face->GetCount()) : 0;
                    if (!pRec || n == 0 || n > 4) continue;
                    C3DPoint C = MeanOf(*face);
                    double vmax, vmin;
                    if (m_nPNumberMode == 1 && !bVector) {
                        vmax = vmin = CalcPForcValue(pRec->value, 0);
                    } else {
                        vmax = GetMaxElemPForc(pRec->value, n);
                        vmin = GetMinElemPForc(pRec->value, n);
                    }
                    const double vabs = std::fabs(vmin) >= std::fabs(vmax) ? vmin : vmax;
                    double v = vabs;
                    const int nKind =
                        num.m_nNumberOpt2 ? PlateLabelKind(num, m_dLegendMax, m_dLegendMin, vmax, vmin, vabs, v) : -2;
                    if (nKind != -1) points.Add(pModel->Get3DPtTo2DPt(&C), C, nKind, v);
                }
            }
        };
        if (!bStopped)
            forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst + (m_bDeformed ? 1 : 0),
                                          forcewalk::Escape::kIgnore, numbers);
        points.WriteWith(label, pModel);
    }
    label.EndDraw();
    pDC->RestoreDC(nSaved);
}
