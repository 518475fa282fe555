// CForceEngine: the column forces of the design figures (display mode 32) and the axis choice of
// two-dimensional diagrams.
//
// Mode 32 draws nothing on the view: it gathers, for every column of the model, the end forces
// of the current load selection as T_PVX_BFORC_D records (shear y, shear z, axial force, moment
// y, moment z at the first and at the last node, with both end positions) for the design
// figures, which write them at their columns, and a summary of the extremes of each value.
#include <cfloat>
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWaitCursor.h"
#include "module/contour/KeyedExtremes.h"

namespace {

constexpr int kColumnType = 101;
constexpr int kFigValues = 10;
// Components of a figure record's five values per end: shear y, shear z, axial, moment y, moment z.
constexpr int kFigComp[5] = {1, 2, 0, 4, 5};

}  // namespace

int CForceEngine::MakeCForcDataList4Figure() {
    ResetBeamResultData();
    m_bCForcData4Figure = 0;
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    if (!pModel || !pDoc || !pDoc->GetPostCtrl() || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    CWaitCursor wait;
    ResetBeamResultData();
    using namespace PVXMode;
    const int mode = pModel->m_nDisplayMode;
    const bool bBothSides = mode == kFrameForceDiagram || mode == kSlabStrip || mode == kSlabForceBeam;

    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        // A member the model lists but cannot read is no column of this list; the others go on.
        if (!pModel->m_pAttrCtrl->GetMemb(key, memb) || memb.type != kColumnType) continue;
        // A column without forces for this load is left out, as in the frame lists.
        if (TakeColumnForces(key, bBothSides, dMax, dMin)) m_arrMembKey.Add(key);
    }
    const bool bAny = m_arrMembKey.GetSize() > 0;
    m_dLegendMax = bAny ? dMax : 0.0;
    m_dLegendMin = bAny ? dMin : 0.0;
    m_bCForcData4Figure = 1;
    MakeCForcNumbers4Figure();
    return 1;
}

void CForceEngine::MakeCForcNumbers4Figure() {
    if (!m_bCForcData4Figure) return;
    m_arrCForc4Figure.RemoveAll();
    FigColmSummary& sum = m_figColmSummary;
    sum = FigColmSummary{};
    for (int v = 0; v < kFigValues; ++v) sum.nMaxIdx[v] = sum.nMinIdx[v] = sum.nAbsIdx[v] = -1;
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl) return;

    const CArray<UINT, UINT>& keys = pModel->m_arrAllMembKey;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const UINT key = keys[i];
        T_PMEMB_D memb;
        T_MBCL_D rec;
        // Columns only; the frame-member test of the beams would refuse every one of them.
        if (!pModel->m_pAttrCtrl->GetMemb(key, memb) || memb.type != kColumnType || !m_mapCForc.Lookup(key, rec))
            continue;
        T_PVX_BFORC_D fig;
        fig.nMembKey = key;
        for (int end = 0; end < 2; ++end)
            for (int k = 0; k < 5; ++k) fig.dForce[5 * end + k] = CalcCForcValue(rec, kFigComp[k], end);
        GetIJPosBForcMemb(key, memb, &fig.ptI, &fig.ptJ);
        m_arrCForc4Figure.Add(fig);
    }

    const INT_PTR n = m_arrCForc4Figure.GetSize();
    if (n == 0) return;
    for (int v = 0; v < kFigValues; ++v) {
        double dMax = -DBL_MAX, dMin = DBL_MAX;
        for (INT_PTR r = 0; r < n; ++r) {
            const double x = m_arrCForc4Figure[r].dForce[v];
            contour::TakeExtremes(x, x, static_cast<int>(r), dMax, sum.nMaxIdx[v], dMin, sum.nMinIdx[v]);
        }
        const bool bMax = std::fabs(dMin) <= std::fabs(dMax);
        sum.nAbsIdx[v] = bMax ? sum.nMaxIdx[v] : sum.nMinIdx[v];
        sum.dAbsVal[v] = bMax ? dMax : dMin;
        sum.nAbsKey[v] = m_arrCForc4Figure[sum.nAbsIdx[v]].nMembKey;
    }
}

// The column forces of the design figures are written by the figures themselves: the output
// only fetches the document.
void CForceEngine::OutputCForcNumbersMemb4Figure(CDC*) {
    if (I_PVXModel* pModel = GetModel()) pModel->GetDBDoc();
}

int CForceEngine::IsXYPlaneVector(const double m[3][3]) {
    return m[0][0] == 1.0 && m[0][1] == 0.0 && m[0][2] == 0.0 && m[1][0] == 0.0 && m[1][1] == 1.0 && m[1][2] == 0.0
               ? 1
               : 0;
}

void CForceEngine::GetLclVec4BeamDgrm2D(UINT, double axes[3][3]) {
    // In the plan view, and for the axial force in any view, the diagram is offset along local y.
    if (!IsXYPlaneVector(m_dLclVec2D) && m_nBForcComp != 0) return;
    for (int k = 0; k < 3; ++k) axes[2][k] = axes[1][k];
}
