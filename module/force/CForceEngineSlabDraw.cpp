// CForceEngine: drawing of the slab forces of display mode 16 from the lists of
// CForceEngineSlab.cpp, and the per-member slab numbers that mode 22 and the slab rebar numbers
// share.
//
// Per element the pass walks the members back to front as the graphics control sorts them: every
// face of a slab member's analysis elements is painted in colour bands from its corner values
// (of the envelope side shown), other members are drawn once in the inactive style. The numbers
// are each face's extreme at its centre. Per member no contour exists: the plain model carries
// the member moments, queued as numbers across the outline's sides and along the two rebar
// directions at the slab's centre, and drawn after the 3-D pass.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <typeinfo>
#include <vector>

#include "host/base/CMathFunc.h"
#include "host/base/GeomTypes.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceShared.h"
#include "module/force/SlabValuePicker.h"
#include "module/engines/OptionScope.h"
#include "platform/ui/CWaitCursor.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSelectScope.h"

namespace {

constexpr int kBeamMember = 201;
using forceshared::kEnvelopeLoad;
using forceshared::MeanOf;
constexpr double kSidePixels = 20.0;   // length of a side number's direction segment on screen
constexpr int kSecondNumberDrop = 10;  // the envelope's minimum is written this far below its maximum

// Layout of a slab member's side list over an outline of nEdges sides: 3 values per side, 1, or
// 0 when the list is in neither layout (or there are no sides to divide it among).
INT_PTR SideValuesPerEdge(INT_PTR nValues, INT_PTR nEdges) {
    const INT_PTR per = nEdges > 0 ? nValues / nEdges : 0;
    return per == 3 || per == 1 ? per : 0;
}

}  // namespace

// ---- contours ------------------------------------------------------------------------------------

void CForceEngine::DrawSForcContourMemb(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel) return;
    CPen pen(PS_SOLID, pModel->m_nPenFactor, m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(pDC, &pen);
    pModel->PVXDrawOriginal(pDC, 1);
}

void CForceEngine::DrawSForcContour(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bSForcData || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return;
    CWaitCursor wait;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    OptionScope restoreWidth(pModel->m_nPenFactor, pModel->m_nPenFactor);
    OptionScope restoreMode(opt.m_bWireFrame, opt.m_bWireFrame);
    const int nWidth = pModel->m_nPenFactor;
    CPen pen(PS_SOLID, nWidth, m_pContourEngine ? m_pContourEngine->m_crElemEdge : RGB(0, 0, 0));
    CSelectScope<CPen> selectPen(pDC, &pen);

    // Both envelopes at once have no one picture (nor has neither): the bare model.
    const bool bEnvelope = pModel->m_nLoadType == kEnvelopeLoad;
    if (bEnvelope && m_bSForcPos == m_bSForcNeg) {
        pModel->PVXDrawOriginal(pDC, 1);
        return;
    }

    // The records are found through the index for the whole pass.
    struct PassIndex {
        const SlabRecordIndex*& pass;
        ~PassIndex() { pass = nullptr; }
    } passIndex{m_pSlabPassIndex = &SlabRecords()};
    const SlabRecordIndex& index = *m_pSlabPassIndex;
    // The records of the slab element a few places on are fetched ahead: they are far larger
    // than the cache, and each face reads a handful of lines of its record and corner keys (the
    // element's shape record fetched further ahead, as the corner keys are found through it,
    // and the index's slot and entry of the element further still).
    const slabforce::ValuePicker pick(m_nSForcComp);
    constexpr INT_PTR kAhead = 4;
    auto fetchAhead = [&](const T_PMEMB_D& memb, INT_PTR e) {
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type)) return;
        if (e + 4 * kAhead < memb.aElem.GetSize()) index.PrefetchSlot(memb.aElem[e + 4 * kAhead]);
        if (e + 3 * kAhead < memb.aElem.GetSize()) index.PrefetchEntry(memb.aElem[e + 3 * kAhead]);
        if (e + 2 * kAhead < memb.aElem.GetSize())
            if (const auto* p = index.Find(memb.aElem[e + 2 * kAhead]); p && p->sbem) __builtin_prefetch(p->sbem);
        if (e + kAhead >= memb.aElem.GetSize()) return;
        const auto* p = index.Find(memb.aElem[e + kAhead]);
        if (!p) return;
        const auto* shown = !bEnvelope ? p->rec : (m_bSForcPos ? p->pos : p->neg);
        if (shown) pick.Prefetch(&shown->value);
        if (p->sbem) __builtin_prefetch(p->sbem->value.m_arrNodeKey.GetData());
    };

    // The faces' bands are kept from one drawing to the next while they are made of the same.
    std::vector<ULONGLONG> inputs;
    if (AppendSlabBandInputs(inputs))
        m_keptSlabBands.Begin(inputs);
    else
        m_keptSlabBands.Reset();
    struct KeptScope {
        KeptFaceBands*& pass;
        ~KeptScope() { pass = nullptr; }
    } keptScope{m_pSlabKept = m_keptSlabBands.Keeping() ? &m_keptSlabBands : nullptr};
    const KeptFaceBands* pKept = m_pSlabKept;

    // The contour faces' bands gathered while the pass runs; drawn before anything else is.
    const BandBatchScope batchScope(*this, true);
    UINT nLastInactive = 0;
    bool bStopped = false;
    auto member = [&](UINT nKey, T_PMEMB_D& memb) {
        if (opt.m_bWireFrame && memb.type == kBeamMember) {
            FlushFaceBands(pDC);
            // Beams among the slabs stand out at twice the width.
            pModel->m_nPenFactor = 2 * nWidth;
            if (pModel->PVXDrawMember(pDC, nKey) == -1) bStopped = true;
            pModel->m_nPenFactor = nWidth;
            return !bStopped;
        }
        if (m_nSForcUnit != 1) return true;
        for (INT_PTR e = 0; e < memb.aElem.GetSize() && !bStopped; ++e) {
            const UINT elemKey = memb.aElem[e];
            if (pKept) {
                if (e + kAhead < memb.aElem.GetSize()) pKept->Prefetch(memb.aElem[e + kAhead]);
            } else {
                fetchAhead(memb, e);
            }
            // A kept element is active and one of the slab's: its record is the one its bands
            // were kept for.
            if (const KeptFaceBands::Entry* k = pKept && CPVXAttrCtrl::IsSlabMembType(memb.type) ? pKept->FindKept(elemKey) : nullptr) {
                if (pModel->WatchEscKeyPress()) {
                    bStopped = true;
                    break;
                }
                if (const int r = AppendKeptSlabBands(pDC, *k)) {
                    if (r == -1) bStopped = true;
                    continue;
                }
                T_PELEM_D elem;
                if (pModel->m_pAttrCtrl->GetElem(elemKey, elem) && DoSForcElementContour(pDC, elemKey, elem) == -1)
                    bStopped = true;
                continue;
            }
            T_PELEM_D elem;
            if (!pModel->m_pAttrCtrl->GetElem(elemKey, elem)) continue;
            if (!elem.bActive) {
                FlushFaceBands(pDC);
                if (nLastInactive != nKey) {
                    nLastInactive = nKey;
                    if (pModel->PVXDrawInactiveMember(pDC, nKey) == -1) bStopped = true;
                }
                continue;
            }
            if (pModel->WatchEscKeyPress()) {
                bStopped = true;
                break;
            }
            // Elements of other members than the slabs have no records: the member is drawn
            // inactive once.
            if (CPVXAttrCtrl::IsSlabMembType(memb.type) && IsPossibleSForc(elem)) {
                if (DoSForcElementContour(pDC, elemKey, elem) == -1) bStopped = true;
            } else if (nLastInactive != nKey) {
                FlushFaceBands(pDC);
                nLastInactive = nKey;
                if (pModel->PVXDrawInactiveMember(pDC, nKey) == -1) bStopped = true;
            }
        }
        return !bStopped;
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kIgnore, member);
    FlushFaceBands(pDC);
}

int CForceEngine::DoSForcElementContour(CDC* pDC, UINT nElemKey) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return 0;
    T_PELEM_D elem;
    if (!pModel->m_pAttrCtrl->GetElem(nElemKey, elem)) return 0;
    return DoSForcElementContour(pDC, nElemKey, elem);
}

int CForceEngine::DoSForcElementContour(CDC* pDC, UINT nElemKey, T_PELEM_D& elem) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return 0;
    // Without result colours the slab is drawn plainly rather than left out of the picture.
    if (!pModel->m_bContour) {
        FlushFaceBands(pDC);
        return pModel->PVXDrawElementNew(pDC, nElemKey);
    }
    if (!m_pContourEngine) return 0;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    // The options a face drawing may change are put back on every way out.
    OptionScope restoreMode(opt.m_bWireFrame, opt.m_bWireFrame);
    OptionScope restoreCulling(opt.m_bPlaneCulling, opt.m_bPlaneCulling);
    OptionScope restoreFill(opt.m_nRenderMode, opt.m_nRenderMode);
    OptionScope restoreStyle(m_pContourEngine->m_nFillStyle, m_pContourEngine->m_nFillStyle);

    const bool bEnvelope = pModel->m_nLoadType == kEnvelopeLoad;
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    const bool bFillFirst = m_pContourEngine->m_nFillStyle == 1;
    // A plain engine in the slab pass gathers the bands of its faces of 3 or 4 corners as the
    // base cutter makes them (an engine made from it may take each face in its
    // DoSubPolyContour) while nothing else is drawn between them and no band list draws more
    // than its fills.
    const CContourEngine& scale = *m_pContourEngine;
    const bool bBatchable = m_bBatchBands && typeid(*this) == typeid(CForceEngine) && !pModel->m_bGradient &&
                            !bEdges && scale.m_nFillStyle != 1 && !scale.m_bDrawContourLine && !IsBandOutlineStyle(0);
    // The element's bands as kept from a drawing before.
    KeptFaceBands* pKept = bBatchable ? m_pSlabKept : nullptr;
    if (pKept)
        if (const KeptFaceBands::Entry* k = pKept->Find(nElemKey, elem.type, elem.kind); k && k->bKept)
            return AppendKeptBands(pDC, *pKept, *k, 4096);

    FaceScratch& w = m_faceScratch;
    PVXFacesRef faces;
    T_SHAPE_ARGUMENT arg;
    const int nFaces = pModel->GetShapeElementFlat(nElemKey, elem, w.faces, faces, arg);
    // Only a single face's bands are the element's alone: more are sorted and culled by the view.
    if (nFaces > 1) pKept = nullptr;
    if (pKept)
        pKept->Record(nElemKey, elem.type, elem.kind, nFaces == 1 && faces.Count(0) > 0,
                      pKept->MarkOf(m_bandSizes, m_bandVertices, *m_pContourEngine), m_bandSizes, m_bandVertices,
                      *m_pContourEngine);
    if (nFaces == 0) return 1;
    COLORREF faceColors[2] = {RGB(0, 0, 0), opt.m_Color.m_crBackground};
    T_PMEMB_D memb;
    memb.type = elem.type;
    pModel->GetMembColor(memb, faceColors);
    const slabforce::ValuePicker pick(m_nSForcComp);
    // Outside a pass the maps answer directly: checking the index costs a walk over the list.
    static const SlabRecordIndex kNoIndex;
    const SlabRecordIndex& index = m_pSlabPassIndex ? *m_pSlabPassIndex : kNoIndex;

    if (!bBatchable) FlushFaceBands(pDC);
    for (int f = 0; f < nFaces; ++f) {
        const int n = faces.Count(f);
        if (n == 0) continue;
        if (pModel->WatchEscKeyPress()) {
            if (pKept) pKept->RecordUncut(nElemKey, elem.type, elem.kind);
            FlushFaceBands(pDC);
            return -1;
        }
        const auto records = SlabRecordsOf(index, faces.faceKeys[f]);
        const auto* pRec = records.rec;
        const auto* pSbem = records.sbem;
        const auto* pPos = records.pos;
        const auto* pNeg = records.neg;
        if (!pRec || !pSbem || (bEnvelope && (!pPos || !pNeg))) continue;
        if (n < 3) continue;
        const int at = faces.start[f];
        const C3DPoint* pts = faces.corners + at;
        PVXPolyList* face = nullptr;  // the face as a list, made only for the model's face calls
        if (nFaces > 1 && opt.m_bWireFrame == 0 && opt.m_bPlaneCulling && !pModel->IsVisibleFace(face = w.Face(pts, n), n))
            continue;
        w.edgeFlags.SetSize(n);
        for (int j = 0; j < n; ++j) w.edgeFlags[j] = faces.flags[at + j];
        if (bEdges && bFillFirst) {
            pModel->DrawPolygon3DFill(pDC, *(face ? face : face = w.Face(pts, n)), w.edgeFlags, faceColors[1], nullptr, 0);
            pModel->DrawPolygonEdge(pDC, face, &w.edgeFlags, 0);
        }
        // The record of the side shown; each vertex takes the corner block of its node, a vertex
        // off the analysis element's corners the centre value.
        const T_STRP_DL& rec = !bEnvelope ? pRec->value : (m_bSForcPos ? pPos->value : pNeg->value);
        const bool bBatch = bBatchable && (n == 3 || n == 4);
        if (!bBatch) FlushFaceBands(pDC);
        w.values.resize(static_cast<size_t>(n));
        w.flags.resize(static_cast<size_t>(n));
        for (int j = 0; j < n; ++j) {
            const int k = GetNodeOrder(faces.keys[at + j], pSbem->value.m_arrNodeKey);
            w.values[static_cast<size_t>(j)] = pick(rec, k >= 0 && k < 4 ? k + 1 : 0);
            w.flags[static_cast<size_t>(j)] = w.edgeFlags[j];
        }
        if (bBatch) {
            // The base cutter's bands of the face, gathered with those of the faces before.
            C3DPoint c[4] = {pts[0], pts[1], pts[2], n == 4 ? pts[3] : pts[2]};
            const double* v = w.values.data();
            KeptFaceBands::Mark mark;
            if (pKept) mark = pKept->MarkOf(m_bandSizes, m_bandVertices, *m_pContourEngine);
            if (n == 3)
                m_pContourEngine->ContourTriangle(v[0], v[1], v[2], c[0], c[1], c[2], 0, 0, 0, m_bandSizes,
                                                  m_bandVertices, nullptr, nullptr, 1);
            else
                m_pContourEngine->ContourRectangle(v[0], v[1], v[2], v[3], c[0], c[1], c[2], c[3], 0, 0, 0, 0,
                                                   m_bandSizes, m_bandVertices, nullptr, nullptr);
            if (pKept)
                pKept->Record(nElemKey, elem.type, elem.kind, true, mark, m_bandSizes, m_bandVertices,
                              *m_pContourEngine);
            if (m_bandVertices.GetSize() >= 4096) FlushFaceBands(pDC);
        } else {
            if (pKept) pKept->RecordUncut(nElemKey, elem.type, elem.kind);
            DoSubPolyContour(pDC, w.values.data(), w.Poly(pts, n), w.flags.data(), 0);
        }
        if (bEdges && !bFillFirst) pModel->DrawPolygonEdge(pDC, face ? face : w.Face(pts, n), &w.edgeFlags, 0);
    }
    return 1;
}

int CForceEngine::AppendKeptSlabBands(CDC* pDC, const KeptFaceBands::Entry& k) {
    I_PVXModel* pModel = GetModel();
    if (!m_pSlabKept || !pModel || !pModel->m_pDispOpt || !pModel->m_bContour || !m_pContourEngine) return 0;
    // As DoSForcElementContour decides whether the faces are gathered.
    const T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    const CContourEngine& scale = *m_pContourEngine;
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    if (!m_bBatchBands || typeid(*this) != typeid(CForceEngine) || pModel->m_bGradient || bEdges ||
        scale.m_nFillStyle == 1 || scale.m_bDrawContourLine || IsBandOutlineStyle(0))
        return 0;
    return AppendKeptBands(pDC, *m_pSlabKept, k, 4096);
}

// ---- per-element numbers -------------------------------------------------------------------------

void CForceEngine::OutputSForcNumbers(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    if (!m_bSForcData || m_nSForcUnit != 1 || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl ||
        !pModel->m_pDispOpt)
        return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    const bool bEnvelope = pModel->m_nLoadType == kEnvelopeLoad;
    const int nSaved = pDC->SaveDC();
    CPVXPlatLabel label(pDC);
    label.SetLabelOption(&opt.m_Number);
    label.BeginDraw();
    {
        OptionScope view(opt.m_bWireFrame, 1);
        auto numbers = [&](UINT, T_PMEMB_D& memb) {
            if (!CPVXAttrCtrl::IsSlabMembType(memb.type)) return;
            for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
                const UINT elemKey = memb.aElem[e];
                T_PELEM_D elem;
                if (!IsPossibleSForc(elemKey) || !pModel->m_pAttrCtrl->GetElem(elemKey, elem)) continue;
                ShapeLists shape;
                T_SHAPE_ARGUMENT arg = shape.Argument(0);
                pModel->GetShapeElement(elemKey, elem, shape.faces, &shape.flags, arg, 1, 0);
                if (shape.faceKeys.GetSize() != shape.faces.GetSize()) continue;
                for (INT_PTR f = 0; f < shape.faces.GetSize(); ++f) {
                    const PVXPolyList* face = shape.faces[f];
                    const int n = face ? static_cast<int>(face->GetCount()) : 0;
                    // A face without vertices has no centre.
                    if (n < 1 || n > 4) continue;
                    C3DPoint C = MeanOf(*face);
                    const CPoint pt = pModel->Get3DPtTo2DPt(&C);
                    const UINT key = shape.faceKeys[f];
                    if (bEnvelope) {
                        const auto* pPos = m_mapSForcPos.PLookup(key);
                        const auto* pNeg = m_mapSForcNeg.PLookup(key);
                        if (!pPos || !pNeg) continue;
                        if (m_bSForcPos) {
                            const double vmax = GetMaxElemSForc(pPos->value, n);
                            if (vmax > 0.0) label.OutputNumber(pt.x, pt.y, vmax);
                        }
                        if (m_bSForcNeg) {
                            const double vmin = GetMinElemSForc(pNeg->value, n);
                            if (vmin < 0.0) label.OutputNumber(pt.x, pt.y + kSecondNumberDrop, vmin);
                        }
                        continue;
                    }
                    const auto* pRec = m_mapSForc.PLookup(key);
                    if (!pRec) continue;
                    const double vmax = GetMaxElemSForc(pRec->value, n);
                    const double vmin = GetMinElemSForc(pRec->value, n);
                    if (m_bSForcPos && m_bSForcNeg)
                        label.OutputNumber(pt.x, pt.y, std::fabs(vmin) >= std::fabs(vmax) ? vmin : vmax);
                    else if (m_bSForcPos && vmax > 0.0)
                        label.OutputNumber(pt.x, pt.y, vmax);
                    else if (m_bSForcNeg && !m_bSForcPos && vmin < 0.0)
                        label.OutputNumber(pt.x, pt.y, vmin);
                }
            }
        };
        forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kIgnore, numbers);
    }
    label.EndDraw();
    pDC->RestoreDC(nSaved);
}

// ---- per-member numbers --------------------------------------------------------------------------

void CForceEngine::GetDetailSlabSlope(CPoint a, CPoint b, int& nAngle, int& bFlipped) {
    const double dx = static_cast<double>(b.x) - a.x;
    const double dy = static_cast<double>(a.y) - b.y;  // window y grows downwards
    // Rounded to the nearest tenth: a truncated 90° would come out as 89.9°.
    const long t = std::lround(std::atan2(dy, dx) * 1800.0 / M_PI);
    nAngle = static_cast<int>((3600 + t) % 3600);
    bFlipped = 0;
    if (nAngle > 900 && nAngle <= 2700) {
        nAngle = (nAngle + 1800) % 3600;
        bFlipped = 1;
    }
}

void CForceEngine::GetDetailSlabMembSideNodes(C3DPoint a, C3DPoint b, C3DPoint& from, C3DPoint& to, CPoint& fromWin,
                                              CPoint& toWin) {
    I_PVXModel* pModel = GetModel();
    from = (a + b) * 0.5;
    if (!pModel || !pModel->m_pPVXCtrl) return;
    const double L = std::fabs(pModel->m_pPVXCtrl->GetWorldLength(kSidePixels));
    const T_LINE_G line{T_POINT3D(from), T_POINT3D(b)};
    C3DPoint p;
    if (!line.GetPosByLength(p, L)) return;
    CMathFunc::mathRotate(90.0, from.x, from.y, from.z, 0.0, 0.0, 1.0, p.x, p.y, p.z);
    to = p;
    fromWin = pModel->Get3DPtTo2DPt(&from);
    toWin = pModel->Get3DPtTo2DPt(&to);
}

void CForceEngine::OutputDetailSlabMembSide(C3DPoint anchor, C3DPoint from, C3DPoint to, double dValue, int nKind) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pDrawFuncArray) return;
    const double a[3] = {anchor.x, anchor.y, anchor.z};
    const double axis[6] = {from.x, from.y, from.z, to.x, to.y, to.z};
    pModel->m_pDrawFuncArray->m_OutputSlabNumber.Push(a, axis, nKind, dValue);
}

void CForceEngine::OutputDetailSlabMembSide(const _DBDataArray<CZELF_DBLineObjData>& edges, double dElevation,
                                            const CArray<double, double>& values, int nKind, I_PVXModel*) {
    const INT_PTR nEdges = edges.GetSize();
    const INT_PTR per = SideValuesPerEdge(values.GetSize(), nEdges);
    const INT_PTR total = per * nEdges;
    auto at = [&](const CZELF_Point2D& p) { return C3DPoint(p.x, p.y, dElevation); };
    std::vector<C3DPoint> A, B;
    if (per == 3) {
        for (INT_PTR i = 0; i < nEdges; ++i)
            for (double t : {0.0, 0.33, 0.66}) A.push_back(at(edges[i].GetPointByDist(t, 0.0)));
    } else if (per == 1) {
        for (INT_PTR i = 0; i < nEdges; ++i) {
            A.push_back(at(edges[i].GetPointByDist(0.5, 0.0)));
            B.push_back(at(edges[i].GetPtStart()));
        }
    } else {
        return;  // no edges, or a list in neither layout
    }
    for (INT_PTR j = 0; j < total; ++j) {
        const size_t k = static_cast<size_t>(j), next = static_cast<size_t>(j + 1 < total ? j + 1 : 0);
        const C3DPoint anchor = per == 3 ? (A[k] + A[next]) * 0.5 : A[k];
        const C3DPoint& s0 = per == 3 ? A[k] : B[k];
        const C3DPoint& s1 = per == 3 ? A[next] : B[next];
        // A side with no direction keeps a segment along x rather than an unset one.
        C3DPoint from = (s0 + s1) * 0.5, to = from + C3DPoint(1.0, 0.0, 0.0);
        CPoint fromWin, toWin;
        GetDetailSlabMembSideNodes(s0, s1, from, to, fromWin, toWin);
        OutputDetailSlabMembSide(anchor, from, to, values[j], nKind);
    }
}

void CForceEngine::OutputDetailSlabMembCenter(C3DPoint centre, double dCentreX, double dCentreY, const double* dirX,
                                              const double* dirY) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pPVXCtrl) return;
    const double L = std::fabs(pModel->m_pPVXCtrl->GetWorldLength(kSidePixels));
    OutputDetailSlabMembSide(centre, centre, centre + C3DPoint(dirX[0], dirX[1], 0.0) * L, dCentreX, 6);
    OutputDetailSlabMembSide(centre, centre, centre + C3DPoint(dirY[0], dirY[1], 0.0) * L, dCentreY, 6);
}

int CForceEngine::GetPolyLinePoint(CArray<UINT, UINT>& nodeKeys, CArray<T_POINT3D, T_POINT3D>& points) {
    points.RemoveAll();
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CClassPNode nodes;
    nodes.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    for (INT_PTR i = 0; i < nodeKeys.GetSize(); ++i) {
        T_PNODE_D n;
        if (!nodes.Get(nodeKeys[i], n)) return 0;
        points.Add(T_POINT3D(n.x, n.y, n.z));
    }
    return 1;
}

int CForceEngine::GetAreaEdgeInfo(const CArray<UINT, UINT>& outlineKeys, const CArray<UINT, UINT>&,
                                  _DBDataArray<CZELF_DBLineObjData>& edges) {
    // The outline's sides are straight, from each outline node to the next and back to the
    // first; a side of no length is no edge.
    edges.RemoveAll();
    CArray<UINT, UINT> keys;
    keys.Copy(outlineKeys);
    CArray<T_POINT3D, T_POINT3D> pts;
    if (!GetPolyLinePoint(keys, pts)) return 0;
    const INT_PTR n = pts.GetSize();
    for (INT_PTR i = 0; i < n && n > 1; ++i) {
        const T_POINT3D& p = pts[i];
        const T_POINT3D& q = pts[i + 1 < n ? i + 1 : 0];
        CZELF_DBLineObjData line;
        if (!line.SetData(CZELF_Point2D(p.x, p.y), CZELF_Point2D(q.x, q.y), 0.0, 0.0, 0.0)) continue;
        if (line.IsReverse()) line.ReVerSeData();
        edges.Add(line);
    }
    return edges.GetSize() > 1 ? 1 : 0;
}

void CForceEngine::OutputSForcNumbersMemb(CDC*) {
    I_PVXModel* pModel = GetModel();
    if (m_nSForcUnit != 0 || !m_bSForcData || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl) return;
    CDBDoc* pDoc = pModel->GetDBDoc();
    CClassPSlab slabs;
    CClassPMemb membs;
    slabs.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    membs.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    CArray<double, double> pos, neg;
    _DBDataArray<CZELF_DBLineObjData> edges;
    auto numbers = [&](UINT nKey, T_PMEMB_D& memb) {
        T_PSLAB_D slab;
        double cx = 0.0, cy = 0.0;
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type) || !slabs.Get(nKey, slab) || !GetSmnt(nKey, pos, neg, cx, cy)) return;
        GetAreaEdgeInfo(slab.aNode, memb.aNode, edges);
        // The numbers lie at the elevation of the design member the slab comes from; the
        // project keeps no design members apart, so that is the height of the slab's centre.
        double x = 0.0, y = 0.0, z = 0.0;
        const int bCentre = membs.calcCenterPMemb(nKey, x, y, z);
        const double elevation = memb.modelKey ? z : 0.0;
        if (m_bSForcPos) {
            OutputDetailSlabMembSide(edges, elevation, pos, 6, pModel);
            if (bCentre) {
                double dirX[2], dirY[2];
                GetRebarDirVector(nKey, dirX, dirY);
                OutputDetailSlabMembCenter(C3DPoint(x, y, elevation), cx, cy, dirX, dirY);
            }
        }
        if (m_bSForcNeg) OutputDetailSlabMembSide(edges, elevation, neg, 7, pModel);
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kIgnore, numbers);
}

void CForceEngine::OutputSBForcNumbersMemb(CDC*) {
    I_PVXModel* pModel = GetModel();
    if (m_nSForcUnit != 0 || !m_bSForcData || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl) return;
    CDBDoc* pDoc = pModel->GetDBDoc();
    CClassPSlab slabs;
    CClassPMemb membs;
    slabs.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    membs.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    CArray<double, double> pos, neg;
    CArray<T_POINT3D, T_POINT3D> P;
    auto numbers = [&](UINT nKey, T_PMEMB_D& memb) {
        T_PSLAB_D slab;
        double cx = 0.0, cy = 0.0;
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type) || GetSlabResultType(nKey) == 0 || !GetSmnt(nKey, pos, neg, cx, cy) ||
            !slabs.Get(nKey, slab) || !GetPolyLinePoint(slab.aNode, P))
            return;
        const INT_PTR n = P.GetSize();
        // One number per outline side, the side from point j to the next, at its middle. The
        // member's side list holds three values per side (at 1/6, 1/2 and 5/6 of it) or one:
        // the side's middle value is the one written. A list in neither layout labels no side.
        auto sides = [&](const CArray<double, double>& values, int nKind) {
            const INT_PTR per = SideValuesPerEdge(values.GetSize(), n);
            for (INT_PTR j = 0; per > 0 && j < n; ++j) {
                const C3DPoint p0 = P[j], p1 = P[j + 1 < n ? j + 1 : 0];
                C3DPoint from = (p0 + p1) * 0.5, to = from + C3DPoint(1.0, 0.0, 0.0);
                CPoint fromWin, toWin;
                GetDetailSlabMembSideNodes(p0, p1, from, to, fromWin, toWin);
                OutputDetailSlabMembSide((p0 + p1) * 0.5, from, to, values[per == 3 ? 3 * j + 1 : j], nKind);
            }
        };
        if (m_bSForcPos) {
            sides(pos, 6);
            double x = 0.0, y = 0.0, z = 0.0;
            if (membs.calcCenterPMemb(nKey, x, y, z)) {
                double dirX[2], dirY[2];
                GetRebarDirVector(nKey, dirX, dirY);
                OutputDetailSlabMembCenter(C3DPoint(x, y, z), cx, cy, dirX, dirY);
            }
        }
        if (m_bSForcNeg) sides(neg, 7);
    };
    forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kIgnore, numbers);
}
