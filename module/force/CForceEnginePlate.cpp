// CForceEngine: the plate force lists of display mode 10 and their value pickers.
//
// For every active T-girder (204) and wall (209, 210) member whose check box is on, each plane
// element (each model element of a super element) gives one T_STRP_DL record, turned from the
// element's own axes into the display axes (the element axes turned by m_dPLocalAngle about the
// normal, or the global axes), kept by key in m_mapPForc with the sub-element's nodes in
// m_mapSbem and the key in m_arrElemKey. On request one component is averaged at the nodes.
// The legend range is the extreme corner value over all elements; the colour scale weighs each
// element's centre and corner values alike.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "host/base/CMathFunc.h"
#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/db/DBTables.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWaitCursor.h"

namespace {

constexpr int kBlockBase = 24;       // doubles ahead of block 0 in a record
constexpr int kPlateCornerBlocks = 4;     // a record holds corner blocks 1..4
constexpr double kNoAngle = 1e-10;   // a display angle this small leaves the element axes as they are
constexpr double kAxisTol = 1e-12;   // an axis this short cannot be normalised

// Block position read by a plain selector; -1 for the vectors and the derived selectors.
int PlainPosition(int nComp) {
    static constexpr int kPos[CForceEngine::kPForcCompCount] = {14, 15, 16, 17, 18, -1, 20, 21, 22,
                                                                23, 24, -1, 26, 27, -1, -1, -1};
    return nComp >= 0 && nComp < CForceEngine::kPForcCompCount ? kPos[nComp] : -1;
}

using forceshared::LargerOf;
using forceshared::SlotOfLoadStep;

// Corner blocks that exist for a sub-element of n nodes.
int PlateCornerCount(int n) { return n < 0 ? 0 : (n > kPlateCornerBlocks ? kPlateCornerBlocks : n); }

bool Normalise(double v[3]) {
    const double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!(l > kAxisTol)) return false;
    for (int k = 0; k < 3; ++k) v[k] /= l;
    return true;
}

void Cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

// ---- value pickers ------------------------------------------------------------------------------

double CForceEngine::CalcPForcValue(const T_STRP_DL& rec, int nBlock) const {
    if (nBlock < 0 || nBlock > kPlateCornerBlocks) return 0.0;
    const double* b = rec.blk[nBlock];
    const int pos = PlainPosition(m_nPForcComp);
    if (pos >= 0) return b[pos];
    switch (m_nPForcComp) {
    case 5: case 14: return LargerOf(b[17], b[18]);
    case 11: case 15: return LargerOf(b[23], b[24]);
    case 16: return LargerOf(b[26], b[27]);
    default: return 0.0;
    }
}

void CForceEngine::SetPForcComponent(T_STRP_DL& rec, int nBlock, double dValue) const {
    if (nBlock < 0 || nBlock > kPlateCornerBlocks) return;
    const int pos = PlainPosition(m_nPForcComp);
    if (pos >= 0) rec.blk[nBlock][pos] = dValue;
}

double CForceEngine::GetMaxElemPForc(const T_STRP_DL& rec, int n) const {
    if (m_nPForcComp == 5) return std::max(rec.blk[0][17], rec.blk[0][18]);
    if (m_nPForcComp == 11) return std::max(rec.blk[0][23], rec.blk[0][24]);
    double v = -DBL_MAX;
    for (int b = 1; b <= PlateCornerCount(n); ++b) v = std::max(v, CalcPForcValue(rec, b));
    return v;
}

double CForceEngine::GetMinElemPForc(const T_STRP_DL& rec, int n) const {
    if (m_nPForcComp == 5) return std::min(rec.blk[0][17], rec.blk[0][18]);
    if (m_nPForcComp == 11) return std::min(rec.blk[0][23], rec.blk[0][24]);
    double v = DBL_MAX;
    for (int b = 1; b <= PlateCornerCount(n); ++b) v = std::min(v, CalcPForcValue(rec, b));
    return v;
}

void CForceEngine::GetNodalValueforCutting(UINT nKey, double& dValue1, int nNode1, double& dValue2, int nNode2) {
    T_STRP_DL rec;
    if (!m_mapPForc.Lookup(nKey, rec)) rec.Initialize();
    // A corner beyond the record's four corner blocks has no value of its own.
    dValue1 = nNode1 >= 0 && nNode1 < kPlateCornerBlocks ? CalcPForcValue(rec, nNode1 + 1) : 0.0;
    dValue2 = nNode2 >= 0 && nNode2 < kPlateCornerBlocks ? CalcPForcValue(rec, nNode2 + 1) : 0.0;
}

void CForceEngine::GetRangeElementPForc(UINT nKey, C3DPoint* pMin, C3DPoint* pMax) {
    C3DPoint lo(0.0, 0.0, 0.0), hi(0.0, 0.0, 0.0);
    const auto* pPair = std::as_const(m_mapSbem).PLookup(nKey);
    const T_PVX_SBEM_D* p = pPair ? &pPair->value : nullptr;
    if (p && p->m_arrNode.GetSize() > 0) {
        lo = C3DPoint(DBL_MAX, DBL_MAX, DBL_MAX);
        hi = C3DPoint(-DBL_MAX, -DBL_MAX, -DBL_MAX);
        for (INT_PTR i = 0; i < p->m_arrNode.GetSize(); ++i) {
            const T_PNODE_D& n = p->m_arrNode[i];
            lo = C3DPoint(std::min(lo.x, n.x), std::min(lo.y, n.y), std::min(lo.z, n.z));
            hi = C3DPoint(std::max(hi.x, n.x), std::max(hi.y, n.y), std::max(hi.z, n.z));
        }
    }
    if (pMin) *pMin = lo;
    if (pMax) *pMax = hi;
}

// ---- element tests and axes -----------------------------------------------------------------------

int CForceEngine::IsPossiblePForc(UINT nElemKey) const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl) return 0;
    T_PELEM_D elem;
    return pModel->m_pAttrCtrl->GetElem(nElemKey, elem) ? IsPossiblePForc(elem) : 0;
}

int CForceEngine::IsPossiblePForc(T_PELEM_D& elem) {
    if (CPVXSElemCtrl::IsSuperElem(elem) && !CPVXAttrCtrl::IsNormalElemResult(elem)) return 1;
    // The elements of walls and T-girders carry their member's type code: every plane element
    // is a plate element here.
    return CPVXAttrCtrl::IsPlate(elem.type) || CPVXAttrCtrl::IsPlaneElemType(elem.type) ? 1 : 0;
}

int CForceEngine::IsPlateForceMember(const T_PMEMB_D& memb) const {
    if (memb.type == 204) return m_bPlateShowTG ? 1 : 0;
    if (memb.type == 209 || memb.type == 210) return m_bPlateShowWall ? 1 : 0;
    return 0;
}

int CForceEngine::CalcSElemLocalVec(UINT, T_PELEM_D& elem, double axes[3][3], CPVXSElemCtrl* pCtrl, double dAngle,
                                    int bUseGlobal) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) axes[r][c] = 0.0;
    const bool bWall = CPVXAttrCtrl::IsWallElemType(elem.type);
    const bool bLintel = CPVXSElemCtrl::IsSuperElem(elem) != 0;
    const bool bLine = CPVXAttrCtrl::IsLineElemType(elem.type);
    const bool bPlate = CPVXAttrCtrl::IsPlate(elem.type);
    const bool bGirder = CPVXAttrCtrl::IsElemType204(elem.type);
    if (!bWall && !bLintel && !bLine && !bPlate && !bGirder) return 0;

    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->m_pAttrCtrl : nullptr;
    auto readPoints = [&](int n, double pts[][3]) {
        if (!pAttr || elem.nNode < n) return false;
        for (int i = 0; i < n; ++i) {
            T_PNODE_D node;
            if (!pAttr->GetNode(elem.node[i], node)) return false;
            pts[i][0] = node.x;
            pts[i][1] = node.y;
            pts[i][2] = node.z;
        }
        return true;
    };

    if (bUseGlobal && m_bLocalAxis == 0) {
        axes[0][0] = axes[1][1] = axes[2][2] = 1.0;
    } else {
        // Each kind in turn, a later one taking over from an earlier one.
        if (bWall) {
            double pts[4][3];
            if (!readPoints(4, pts) || !CClassPElem::calcPlaneLocalVector(4, pts, axes)) return 0;
        }
        if (bLintel) {
            if (!pCtrl || !pCtrl->CalcSuperElemLocalVector(axes)) return 0;
        }
        if (bLine) {
            double pts[2][3];
            if (!readPoints(2, pts)) return 0;
            double x[3] = {pts[1][0] - pts[0][0], pts[1][1] - pts[0][1], pts[1][2] - pts[0][2]};
            if (!Normalise(x)) return 0;
            // y is horizontal, across the line; a vertical line takes its y along the global y
            // axis. z completes the right-handed set, so that the axes are orthonormal for a
            // sloped line too.
            double up[3] = {0.0, 0.0, 1.0}, y[3], z[3];
            Cross(up, x, y);
            if (!Normalise(y)) {
                y[0] = 0.0;
                y[1] = 1.0;
                y[2] = 0.0;
            }
            Cross(x, y, z);
            for (int k = 0; k < 3; ++k) {
                axes[0][k] = x[k];
                axes[1][k] = y[k];
                axes[2][k] = z[k];
            }
        }
        if (bPlate || bGirder) {
            double pts[3][3];
            CPVXGeomCtrl* pGeom = pModel ? pModel->m_pGeomCtrl : nullptr;
            if (!pGeom || !readPoints(3, pts) || !pGeom->CalcPlaneLocalVectorByType(3, pts, axes)) return 0;
        }
    }

    // Rows 0 and 1 turned about row 2.
    if (std::fabs(dAngle) > 0.0)
        for (int r = 0; r < 2; ++r) CMathFunc::mathRotate(dAngle, axes[2][0], axes[2][1], axes[2][2], axes[r]);
    for (int r = 0; r < 3; ++r)
        if (!Normalise(axes[r])) return 0;
    return 1;
}

bool CForceEngine::AppendPlateBandInputs(std::vector<ULONGLONG>& out) const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel || !m_pContourEngine || m_bDeformed || pModel->m_bAnimation || pModel->m_bGradient) return false;
    // The rows of the plate table are made of these.
    out.insert(out.end(), {PVXMode::kPlateForce, reinterpret_cast<uintptr_t>(pModel),
                           std::as_const(m_mapPForc).GetVersion(), std::as_const(m_mapSbem).GetVersion(),
                           static_cast<ULONGLONG>(static_cast<unsigned>(m_nPForcComp))});
    pModel->AppendElementFacesInputs(out);
    AppendElementTableInputs(out);
    return KeptFaceBands::AppendCutterInputs(*m_pContourEngine, out);
}

void CForceEngine::RefreshPlateTable() {
    // Read-only walks: a non-const access counts as a change of the map.
    const auto& recs = std::as_const(m_mapPForc);
    const auto& sbems = std::as_const(m_mapSbem);
    PlateTable& t = m_plateTable;
    if (!t.bBuilt || t.nRecVersion != recs.GetVersion() || t.nSbemVersion != sbems.GetVersion() ||
        t.nComp != m_nPForcComp) {
        t.rows.resize(static_cast<size_t>(recs.GetCount()));
        t.extremes.resize(t.rows.size());
        t.at.Reset(t.rows.size());
        int row = 0;
        for (const auto* p = recs.PGetFirstAssoc(); p; p = recs.PGetNextAssoc(p), ++row) {
            PlateValues& pv = t.rows[static_cast<size_t>(row)];
            for (int b = 0; b <= kPlateCornerBlocks; ++b) pv.v[b] = CalcPForcValue(p->value, b);
            const auto* pSbem = sbems.PLookup(p->key);
            const CArray<UINT, UINT>* nodes = pSbem ? &pSbem->value.m_arrNodeKey : nullptr;
            pv.nNodes = nodes ? static_cast<int>(nodes->GetSize()) : -1;
            t.extremes[static_cast<size_t>(row)] =
                nodes ? std::make_pair(GetMaxElemPForc(p->value, pv.nNodes), GetMinElemPForc(p->value, pv.nNodes))
                      : std::make_pair(0.0, 0.0);
            for (int j = 0; j < kPlateCornerBlocks; ++j) pv.nodes[j] = nodes && j < pv.nNodes ? (*nodes)[j] : 0;
            t.at.Insert(p->key, row);
        }
        t.nRecVersion = recs.GetVersion();
        t.nSbemVersion = sbems.GetVersion();
        t.nComp = m_nPForcComp;
        t.bBuilt = true;
        t.bRanks = false;
    }
}

const CForceEngine::PlateValues* CForceEngine::PlateValuesOf(UINT nKey) {
    RefreshPlateTable();
    const int row = m_plateTable.at.Find(nKey);
    return row >= 0 ? &m_plateTable.rows[static_cast<size_t>(row)] : nullptr;
}

int CForceEngine::PreparePlateRanks() {
    if (!m_pContourEngine) return 0;
    RefreshPlateTable();
    const CContourEngine& s = *m_pContourEngine;
    PlateTable& t = m_plateTable;
    const size_t nLevels = CContourEngine::MAX_LEVELS;
    if (t.bRanks && t.nRankColors == s.m_nNumColor &&
        std::memcmp(t.rankLevels.data(), s.m_dRankMap, nLevels * sizeof(double)) == 0)
        return 1;
    t.ranks.resize(t.rows.size());
    for (size_t r = 0; r < t.rows.size(); ++r)
        for (int b = 0; b <= kPlateCornerBlocks; ++b)
            t.ranks[r][static_cast<size_t>(b)] = static_cast<signed char>(s.GetUpperRank(t.rows[r].v[b]));
    t.rankLevels.assign(s.m_dRankMap, s.m_dRankMap + nLevels);
    t.nRankColors = s.m_nNumColor;
    t.bRanks = true;
    return 1;
}

const std::pair<double, double>& CForceEngine::PlateExtremesOf(const PlateValues& pv) const {
    return m_plateTable.extremes[static_cast<size_t>(&pv - m_plateTable.rows.data())];
}

int CForceEngine::PlateCornerOf(const PlateValues& pv, UINT nNode) {
    for (int j = 0; j < PlateCornerCount(pv.nNodes); ++j)
        if (pv.nodes[j] == nNode) return j + 1;
    return 0;
}

// ---- the lists ----------------------------------------------------------------------------------

int CForceEngine::MakePForcDataList() {
    // The records of the last build serve while nothing they were built from has changed: the
    // legend, extremes, scale and cutting lines are made again.
    if (KeptListsServe(PVXMode::kPlateForce)) return FinishPForcDataList();
    ForgetKeptLists();
    CWaitCursor wait;
    m_arrElemKey.RemoveAll();
    m_mapPForc.RemoveAll();
    m_mapSbem.RemoveAll();
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    CPVXAttrCtrl& attr = *pModel->m_pAttrCtrl;

    CPVXSElemCtrl ctrl;
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;
    m_arrElemKey.SetSize(0, membs.GetSize() > 0 ? membs.GetSize() : 1);
    CArray<UINT, UINT> resultKeys;
    T_PVX_SBEM_D sbem;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        // A shown part takes its own plates only.
        if (!pModel->IsNumberedMemb(membs[i]) || !attr.GetMemb(membs[i], memb) || !IsPlateForceMember(memb)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            if (!IsPossiblePForc(elemKey) || !attr.GetElem(elemKey, elem)) continue;
            resultKeys.RemoveAll();
            ctrl.GetSuperElemNodeKeys(elemKey, resultKeys);
            ctrl.GetSuperElemData(elemKey);
            double display[3][3], own[3][3];
            if (CalcSElemLocalVec(elemKey, elem, display, &ctrl, m_dPLocalAngle, 1) &&
                CalcSElemLocalVec(elemKey, elem, own, &ctrl, 0.0, 0)) {
                for (INT_PTR r = 0; r < resultKeys.GetSize(); ++r) {
                    const UINT key = resultKeys[r];
                    if (!ctrl.GetSuperElemShapeNodes(key, sbem.m_arrNodeKey, &sbem.m_arrNode) ||
                        sbem.m_arrNodeKey.GetSize() < 3)
                        continue;
                    if (!MakePForcDataList_Sub(key, own, display)) continue;
                    sbem.m_nKey = key;
                    m_mapSbem.SetAt(key, sbem);
                }
            }
            // The records of this element are cleared whatever became of it, so that nothing of
            // it reaches the next element.
            ctrl.InitSuperElemRecords();
        }
    }

    const bool bVector = m_nPForcComp == 5 || m_nPForcComp == 11;
    if (m_bPAverageNodal && !bVector) GetAverageNodalDataList();
    if (m_bPAverageNodal && !m_bSkipActivePlateList) GetActivePlateList();
    KeepLists(PVXMode::kPlateForce);
    return FinishPForcDataList();
}

int CForceEngine::FinishPForcDataList() {
    if (!MakePForcDataList_MnMx()) return 0;
    // A selected load alone is no data: the mode then shows the plain model.
    if (m_mapPForc.GetCount() == 0) return 0;
    if (m_bCuttingLine) MakeCuttingLineData();
    m_bPForcData = 1;
    return 1;
}

int CForceEngine::MakePForcDataList_Sub(UINT nKey, double own[3][3], double display[3][3]) {
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    if (!pPost) return 0;
    const int nSlot = SlotOfLoadStep(pModel->m_nLoadStep);
    if (nSlot < 0) return 0;
    T_STRP_DL rec;
    rec.Initialize();
    T_STRP_DL* slots[3] = {nullptr, nullptr, nullptr};
    slots[nSlot] = &rec;
    if (!pPost->GetStrp_L(nKey, slots[0], slots[1], slots[2], 0)) return 0;
    if (!(m_bLocalAxis == 1 && std::fabs(m_dPLocalAngle) < kNoAngle) && !pPost->ConvertStrpForce_UCS(own, display, rec))
        return 0;
    m_arrElemKey.Add(nKey);
    m_mapPForc.SetAt(nKey, rec);
    return 1;
}

int CForceEngine::MakePForcDataList_MnMx() {
    // One walk over the records: the extremes, and the values the colour scale weighs once the
    // range is known. Every element weighs its centre and each of its corners once; a triangle
    // has no fourth corner to add. The walk made of the same records, component and list serves
    // again.
    LegendMemo& memo = m_legendMemo;
    const std::vector<ULONGLONG> inputs = {PVXMode::kPlateForce, std::as_const(m_mapPForc).GetVersion(),
                                           std::as_const(m_mapSbem).GetVersion(),
                                           static_cast<ULONGLONG>(m_nPForcComp)};
    if (!memo.Serves(inputs, m_arrElemKey)) {
        double dAbsMax = 0.0;
        UINT nAbsMaxKey = 0;
        double dMax = -DBL_MAX, dMin = DBL_MAX;
        UINT nMaxKey = 0, nMinKey = 0;
        bool bTaken = false;
        std::vector<double>& weighed = memo.values;
        weighed.clear();
        for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
            const UINT key = m_arrElemKey[i];
            const PlateValues* pv = PlateValuesOf(key);
            if (!pv) continue;
            const bool bSbem = pv->nNodes >= 0;
            weighed.insert(weighed.end(), pv->v,
                           pv->v + 1 + (bSbem ? PlateCornerCount(pv->nNodes) : kPlateCornerBlocks));
            if (!bSbem) continue;
            bTaken = true;
            const auto& [vmax, vmin] = PlateExtremesOf(*pv);
            if (vmax > dMax) {
                dMax = vmax;
                nMaxKey = key;
            }
            if (std::fabs(vmax) > dAbsMax) {
                dAbsMax = std::fabs(vmax);
                nAbsMaxKey = key;
            }
            if (vmin < dMin) {
                dMin = vmin;
                nMinKey = key;
            }
            if (std::fabs(vmin) > dAbsMax) {
                dAbsMax = std::fabs(vmin);
                nAbsMaxKey = key;
            }
        }
        if (!bTaken) {
            dMax = dMin = 0.0;
            nMaxKey = nMinKey = 0;
        }
        memo.dMax = dMax;
        memo.dMin = dMin;
        memo.nMaxKey = nMaxKey;
        memo.nMinKey = nMinKey;
        memo.dAbsMax = dAbsMax;
        memo.nAbsMaxKey = nAbsMaxKey;
        memo.Keep(inputs, m_arrElemKey);
    }
    TakeLegendExtremes(memo);
    memo.Weigh(StartScale(memo.dMin, memo.dMax));
    return 1;
}

void CForceEngine::TakeLegendExtremes(const LegendMemo& memo) {
    m_dPAbsMax = memo.dAbsMax;
    m_nPAbsMaxElem = memo.nAbsMaxKey;
    if (I_PVXModel* pModel = GetModel()) {
        pModel->m_nMaxKey = memo.nMaxKey;
        pModel->m_nMinKey = memo.nMinKey;
    }
    m_dLegendMax = memo.dMax;
    m_dLegendMin = memo.dMin;
}

bool CForceEngine::LegendMemo::Serves(const std::vector<ULONGLONG>& in, const CArray<UINT, UINT>& list) const {
    const size_t n = static_cast<size_t>(list.GetSize());
    return bWalked && inputs == in && keys.size() == n &&
           (n == 0 || std::equal(keys.begin(), keys.end(), list.GetData()));
}

void CForceEngine::LegendMemo::Keep(const std::vector<ULONGLONG>& in, const CArray<UINT, UINT>& list) {
    inputs = in;
    keys.assign(list.GetData(), list.GetData() + list.GetSize());
    bWalked = true;
    bWeighed = false;
}

void CForceEngine::LegendMemo::Weigh(CContourEngine& s) {
    // The band weights follow from the values and the levels alone.
    const size_t nLevels = CContourEngine::MAX_LEVELS;
    if (bWeighed && nNumColor == s.m_nNumColor && levels.size() == nLevels &&
        std::memcmp(levels.data(), s.m_dRankMap, nLevels * sizeof(double)) == 0) {
        std::copy(weights.begin(), weights.end(), s.m_dPctRankMap);
        s.m_dPctTotal = dTotal;
        return;
    }
    for (double v : values) s.AddPecentRankMapData(v, 1.0);
    s.FinishPecentRankMapData();
    nNumColor = s.m_nNumColor;
    levels.assign(s.m_dRankMap, s.m_dRankMap + nLevels);
    weights.assign(s.m_dPctRankMap, s.m_dPctRankMap + CContourEngine::MAX_LEVELS);
    dTotal = s.m_dPctTotal;
    bWeighed = true;
}

void CForceEngine::GetAverageNodalDataList() {
    // Sum and count of the component over the corners met at each node.
    struct Sum {
        double sum = 0.0;
        int n = 0;
    };
    CMap<UINT, UINT, Sum, Sum&> sums;
    sums.InitHashTable(kMapBuckets);
    for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
        const UINT key = m_arrElemKey[i];
        const auto* pSbem = m_mapSbem.PLookup(key);
        const auto* pRec = m_mapPForc.PLookup(key);
        if (!pSbem || !pRec) continue;
        const CArray<UINT, UINT>& nodes = pSbem->value.m_arrNodeKey;
        for (int j = 0; j < PlateCornerCount(static_cast<int>(nodes.GetSize())); ++j) {
            Sum& s = sums[nodes[j]];
            s.sum += CalcPForcValue(pRec->value, j + 1);
            ++s.n;
        }
    }
    for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
        const UINT key = m_arrElemKey[i];
        const auto* pSbem = m_mapSbem.PLookup(key);
        auto* pRec = m_mapPForc.PLookup(key);
        if (!pSbem || !pRec) continue;
        const CArray<UINT, UINT>& nodes = pSbem->value.m_arrNodeKey;
        for (int j = 0; j < PlateCornerCount(static_cast<int>(nodes.GetSize())); ++j) {
            const auto* pSum = sums.PLookup(nodes[j]);
            if (pSum && pSum->value.n > 0) SetPForcComponent(pRec->value, j + 1, pSum->value.sum / pSum->value.n);
        }
    }
}

void CForceEngine::GetActivePlateList() {
    m_arrElemKey.RemoveAll();
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl) return;
    CPVXSElemCtrl ctrl;
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!pModel->IsNumberedMemb(membs[i]) || !pModel->m_pAttrCtrl->GetMemb(membs[i], memb)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            T_PELEM_D elem;
            if (!pModel->m_pAttrCtrl->GetElem(memb.aElem[e], elem) || !IsPossiblePForc(memb.aElem[e])) continue;
            ctrl.GetSuperElemNodeKeys(memb.aElem[e], m_arrElemKey);
        }
    }
}
