// CForceEngine: per-element values of slab reinforcement (display mode 17) and slab crack width
// (display mode 18) from the raft element design (PDDELEM): their range, the element colours
// and the numbers at the element centres.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "host/db/ElementDesignRecords.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/OptionScope.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceMemberWalk.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"

namespace {

using forceshared::kEnvelopeLoad;
constexpr int kDesignKindAreas = 1;

C3DPoint CentreOf(const CList<C3DPoint>& face) {
    C3DPoint c(0.0, 0.0, 0.0);
    int n = 0;
    for (POSITION pos = face.GetHeadPosition(); pos; ++n) c = c + face.GetNext(pos);
    return n > 0 ? c * (1.0 / n) : c;
}

}  // namespace

bool CForceEngine::SlabElemDesignValue(const CArray<double, double>& values, int nKind, double& dValue) const {
    if (nKind == kDesignKindAreas) {
        // Bottom then top of the chosen direction; one of the two is 0 as a moment loads one face.
        const INT_PTR first = m_nSRbarDir == 1 ? 2 : 0;
        bool found = false;
        for (INT_PTR face = 0; face < 2; ++face) {
            if (!(face == 0 ? m_bSRbarBottom : m_bSRbarTop) || first + face >= values.GetSize()) continue;
            const double v = values[first + face];
            if (!found || v > dValue) dValue = v;
            found = true;
        }
        return found;
    }
    if (values.GetSize() < 1) return false;
    dValue = values[0];
    for (INT_PTR i = 1; i < std::min<INT_PTR>(values.GetSize(), 4); ++i) dValue = std::max(dValue, values[i]);
    return true;
}

int CForceEngine::MakeSlabElemDesignRange(int nKind) {
    m_mapSDgnElem.clear();
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CDataBase* pDB = pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    // The design rows belong to design combinations: one of them, or the envelope over them.
    if (!pDB || !IsLoadCombination()) return 0;
    const UINT nLoadKey = pModel->m_nLoadType == kEnvelopeLoad ? 0 : pModel->m_nLoadKey;
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    CArray<double, double> values, combs;
    for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
        const UINT key = m_arrElemKey[i];
        double v = 0.0;
        if (!T_PDDELEM_D::GetData(pDB, key, nLoadKey, values, combs, nKind) || !SlabElemDesignValue(values, nKind, v))
            continue;
        m_mapSDgnElem[key] = v;
        if (v > dMax) dMax = v, nMaxKey = key;
        if (v < dMin) dMin = v, nMinKey = key;
    }
    if (m_mapSDgnElem.empty()) return 0;
    m_dPAbsMax = std::max(std::fabs(dMax), std::fabs(dMin));
    m_nPAbsMaxElem = std::fabs(dMax) >= std::fabs(dMin) ? nMaxKey : nMinKey;
    pModel->m_nMaxKey = nMaxKey;
    pModel->m_nMinKey = nMinKey;
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;
    CContourEngine& s = StartScale(dMin, dMax);
    for (const auto& [key, v] : m_mapSDgnElem) s.AddPecentRankMapData(v, 1.0);
    s.FinishPecentRankMapData();
    return 1;
}

int CForceEngine::DoSlabElemDesignContour(CDC* pDC, UINT nElemKey) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt) return 0;
    T_PELEM_D elem;
    if (!pModel->m_pAttrCtrl->GetElem(nElemKey, elem)) return 0;
    if (!pModel->m_bContour || !m_pContourEngine) return pModel->PVXDrawElementNew(pDC, nElemKey);
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    OptionScope restoreMode(opt.m_bWireFrame, opt.m_bWireFrame);
    ShapeLists shape;
    T_SHAPE_ARGUMENT arg = shape.Argument(0);
    pModel->GetShapeElement(nElemKey, elem, shape.faces, &shape.flags, arg, 1, 0);
    const INT_PTR nFaces = shape.faces.GetSize();
    const bool bFaceKeys = shape.faceKeys.GetSize() == nFaces;
    const bool bEdges = opt.m_nRenderMode == 2 || opt.m_nRenderMode == 3;
    std::vector<double> values;
    std::vector<int> flags;
    CArray<int, int> edgeFlags;
    CList<C3DPoint, C3DPoint> poly;
    int drawn = 0;
    for (INT_PTR f = 0; f < nFaces; ++f) {
        PVXPolyList* face = shape.faces[f];
        if (!face) continue;
        if (pModel->WatchEscKeyPress()) return -1;
        const auto it = m_mapSDgnElem.find(bFaceKeys ? shape.faceKeys[f] : nElemKey);
        const int n = static_cast<int>(face->GetCount());
        if (it == m_mapSDgnElem.end() || n < 3) continue;
        // One value per element: every vertex carries it, so the face takes its band's colour.
        values.assign(static_cast<size_t>(n), it->second);
        edgeFlags.SetSize(n);
        flags.assign(static_cast<size_t>(n), 1);
        for (int j = 0; j < n; ++j) {
            const CArray<int>* pFlags = f < shape.flags.GetSize() ? shape.flags[f] : nullptr;
            edgeFlags[j] = pFlags && j < pFlags->GetSize() ? (*pFlags)[j] : 1;
            flags[static_cast<size_t>(j)] = edgeFlags[j];
        }
        poly.RemoveAll();
        for (POSITION pos = face->GetHeadPosition(); pos;) poly.AddTail(face->GetNext(pos));
        DoSubPolyContour(pDC, values.data(), &poly, flags.data(), 0);
        if (bEdges) pModel->DrawPolygonEdge(pDC, face, &edgeFlags, 0);
        ++drawn;
    }
    // An element without a design value stays in the picture, plainly.
    return drawn > 0 ? 1 : pModel->PVXDrawElementNew(pDC, nElemKey);
}

void CForceEngine::OutputSlabElemDesignNumbers(CDC* pDC, int bData, int nUnit) {
    I_PVXModel* pModel = GetModel();
    if (!bData || nUnit != 1 || !pDC || !pModel || !pModel->m_pPVXCtrl || !pModel->m_pAttrCtrl || !pModel->m_pDispOpt ||
        m_mapSDgnElem.empty())
        return;
    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
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
                if (!pModel->m_pAttrCtrl->GetElem(elemKey, elem)) continue;
                ShapeLists shape;
                T_SHAPE_ARGUMENT arg = shape.Argument(0);
                pModel->GetShapeElement(elemKey, elem, shape.faces, &shape.flags, arg, 1, 0);
                const bool bFaceKeys = shape.faceKeys.GetSize() == shape.faces.GetSize();
                for (INT_PTR f = 0; f < shape.faces.GetSize(); ++f) {
                    const PVXPolyList* face = shape.faces[f];
                    const auto it = m_mapSDgnElem.find(bFaceKeys ? shape.faceKeys[f] : elemKey);
                    if (!face || face->GetCount() < 1 || it == m_mapSDgnElem.end()) continue;
                    C3DPoint c = CentreOf(*face);
                    const CPoint pt = pModel->Get3DPtTo2DPt(&c);
                    label.OutputNumber(pt.x, pt.y, it->second);
                }
            }
        };
        forcewalk::ForEachShownMember(*pModel, pModel->m_nObjectIDFirst, forcewalk::Escape::kIgnore, numbers);
    }
    label.EndDraw();
    pDC->RestoreDC(nSaved);
}
