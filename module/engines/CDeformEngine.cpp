// CDeformEngine: settings, record sources, list builders, extremes and the drawing scale.
#include "module/engines/CDeformEngine.h"

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <cmath>

#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CBeamDiagram_PVX.h"
#include "module/engines/CPlotDeformEng.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/CWinApp.h"
#include "module/contour/KeyedExtremes.h"

int CDeformEngine::m_nPOHngeStatusSummation = 0;
int CDeformEngine::m_nPOHngeStatusOccupancy[7] = {0, 0, 0, 0, 0, 0, 0};

namespace {

constexpr double kZeroTol = 1e-15;     // a governing value this close to 0 counts as 1
constexpr double kSpanFraction = 20.0; // the governing displacement is drawn at span / 20
constexpr int kModeShapeDiv = 15;      // divisions of the exact beam curve of a mode shape
constexpr int kCombinationDiv = 10;    // divisions asked of the combination form (builds no curve)
constexpr int kBeamCurveOption = 2;
constexpr double kPartLevelTol = 0.005;  // m: a settlement point this close to a part's node level lies at it

// The post controller of the model's document; null without one.
CPostCtrl* PostOf(const I_PVXModel* pModel) {
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    return pDoc ? pDoc->GetPostCtrl() : nullptr;
}

CDataBase* PostDBOf(const I_PVXModel* pModel) {
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    return pDoc && pDoc->GetMDBCtrl() ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
}

// The translations a selector takes part with: x, y, z.
void SelectorAxes(int nSel, bool& x, bool& y, bool& z) {
    x = nSel == CDeformEngine::COMP_DX || nSel == CDeformEngine::COMP_TOTAL || nSel == CDeformEngine::COMP_DXY ||
        nSel == CDeformEngine::COMP_DXZ;
    y = nSel == CDeformEngine::COMP_DY || nSel == CDeformEngine::COMP_TOTAL || nSel == CDeformEngine::COMP_DXY ||
        nSel == CDeformEngine::COMP_DYZ;
    z = nSel == CDeformEngine::COMP_DZ || nSel == CDeformEngine::COMP_TOTAL || nSel == CDeformEngine::COMP_DYZ ||
        nSel == CDeformEngine::COMP_DXZ;
}

}  // namespace

CDeformEngine::CDeformEngine(I_PVXModelBase* pModel) : m_mapSettle(10) {
    m_pModel = pModel;
    m_mapSettle.InitHashTable(kMapBuckets);
    DispChanged();
    InitData();
}

CDeformEngine::~CDeformEngine() {
    // The plot engine is ours: delete it before the base forgets what it is.
    EndPlotEng();
}

int CDeformEngine::InitData() {
    m_nSettlementGroup = 0;
    m_nComponent = COMP_TOTAL;
    m_bDataReady = 0;
    m_bKeepDeformed = 1;
    m_bExactBeamRange = 0;
    m_dUserScale = 1.0;
    m_dBeamDispFactor = 1.0;
    m_dMaxTotal = -DBL_MAX;
    m_ptMaxComp = C3DPoint(0.0, 0.0, 0.0);
    m_nTHKind = 0;
    m_dAdjustFactor = 1.0;
    // Extreme keys start at "none": a model without nodes reports no node.
    m_nMaxKeyX = m_nMaxKeyY = m_nMaxKeyZ = m_nMaxKeyTotal = 0;
    m_nTHNode = 0;
    m_THDisp.Initialize();
    m_arrNodeKey.RemoveAll();
    m_arrNodeRec.RemoveAll();
    m_arrPickedNode.RemoveAll();
    // Emptied, not re-allocated: every record goes and the table keeps its buckets.
    ClearDispRecords();
    m_arrSettleKey.RemoveAll();
    m_mapSettle.RemoveAll();
    m_nTimeStep = 0;
    m_dTimeStepTime = -1.0;
    m_nSlabDeflKind = 0;
    m_dSlabDeflMax = 0.0;
    m_strCaption.Empty();
    m_nLcomStart = m_nLcomCount = 0;
    m_nDuctKind = m_nDuctSubKind = 0;
    m_arrBeamDeform.RemoveAll();
    m_nPOHngeStatusSummation = 0;
    for (int& v : m_nPOHngeStatusOccupancy) v = 0;
    return 1;
}

void CDeformEngine::ImportEngine(CDeformEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    CEngineBase::ImportEngine(pSrc);
    ImportResultScale(pSrc);
    m_nSettlementGroup = pSrc->m_nSettlementGroup;
    m_nComponent = pSrc->m_nComponent;
    m_bDataReady = pSrc->m_bDataReady;
    m_bKeepDeformed = pSrc->m_bKeepDeformed;
    m_bExactBeamRange = pSrc->m_bExactBeamRange;
    m_dUserScale = pSrc->m_dUserScale;
    m_dBeamDispFactor = pSrc->m_dBeamDispFactor;
    m_dMaxTotal = pSrc->m_dMaxTotal;
    m_ptMaxComp = pSrc->m_ptMaxComp;
    m_nTHKind = pSrc->m_nTHKind;
    m_dAdjustFactor = pSrc->m_dAdjustFactor;
    m_nMaxKeyX = pSrc->m_nMaxKeyX;
    m_nMaxKeyY = pSrc->m_nMaxKeyY;
    m_nMaxKeyZ = pSrc->m_nMaxKeyZ;
    m_nMaxKeyTotal = pSrc->m_nMaxKeyTotal;
    m_nTHNode = pSrc->m_nTHNode;
    m_THDisp = pSrc->m_THDisp;
    m_arrNodeKey.Copy(pSrc->m_arrNodeKey);
    m_arrNodeRec.Copy(pSrc->m_arrNodeRec);
    m_arrPickedNode.Copy(pSrc->m_arrPickedNode);
    m_mapDisp = pSrc->m_mapDisp;
    DispChanged();
    m_arrSettleKey.Copy(pSrc->m_arrSettleKey);
    m_mapSettle = pSrc->m_mapSettle;
    m_nTimeStep = pSrc->m_nTimeStep;
    m_dTimeStepTime = pSrc->m_dTimeStepTime;
    m_nSlabDeflKind = pSrc->m_nSlabDeflKind;
    m_dSlabDeflMax = pSrc->m_dSlabDeflMax;
    m_strCaption = pSrc->m_strCaption;
    m_nLcomStart = pSrc->m_nLcomStart;
    m_nLcomCount = pSrc->m_nLcomCount;
    m_nDuctKind = pSrc->m_nDuctKind;
    m_nDuctSubKind = pSrc->m_nDuctSubKind;
    m_arrBeamDeform.Copy(pSrc->m_arrBeamDeform);
    m_bCuttingLine = pSrc->m_bCuttingLine;
    ResetCuttingLineData();
    m_arrCutLine.Copy(pSrc->m_arrCutLine);
    // The pieces of the lines are the copy's own: built again from the copied lines, or the copy
    // would draw none of them.
    if (m_bCuttingLine && m_arrCutLine.GetSize()) MakeCuttingLinePieces();
}

int CDeformEngine::BuildMode() const {
    if (CPVXBarContainerBase::m_nCurrentMode != PVXMode::kNone) return CPVXBarContainerBase::m_nCurrentMode;
    const I_PVXModel* pModel = GetModel();
    return pModel ? pModel->m_nDisplayMode : PVXMode::kNone;
}

int CDeformEngine::IsModeShapeShown() const {
    const I_PVXModel* pModel = GetModel();
    return pModel ? pModel->IsModeShapeShown() : 0;
}

int CDeformEngine::InitEngine() {
    m_bDataReady = 0;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    pModel->SelectLoad();
    int r;
    switch (BuildMode()) {
    case PVXMode::kSlabDeflection:
        r = m_nSlabDeflKind == 0 ? MakeSDflcDataListMemb() : MakeSDflcDataList();
        break;
    case PVXMode::kTimeHistory:
        r = MakeDispDataList();
        if (r) r = MakeDispTimeHist();
        break;
    case PVXMode::kSettlement:
        r = MakeSettlementDataList();
        break;
    default:
        r = MakeDispDataList();
        break;
    }
    // The model's result-data flag keeps telling whether the load selection reached the host;
    // whether this engine has something to draw is its own data-ready flag.
    if (!r) m_bDataReady = 0;
    return r;
}

void CDeformEngine::SetLoadCaseKey(int nKey) {
    if (I_PVXModel* pModel = GetModel()) pModel->m_nLoadKey = static_cast<UINT>(nKey);
}

// ---- values ---------------------------------------------------------------------------------

double CDeformEngine::CalcDispValue(const T_DISP_D& d, int nSel) {
    switch (nSel) {
    case COMP_DX: return d.DX;
    case COMP_DY: return d.DY;
    case COMP_DZ: return d.DZ;
    case COMP_TOTAL: return std::sqrt(d.DX * d.DX + d.DY * d.DY + d.DZ * d.DZ);
    case COMP_RX: return d.RX;
    case COMP_RY: return d.RY;
    case COMP_RZ: return d.RZ;
    case COMP_DXY: return std::sqrt(d.DX * d.DX + d.DY * d.DY);
    case COMP_DYZ: return std::sqrt(d.DY * d.DY + d.DZ * d.DZ);
    case COMP_DXZ: return std::sqrt(d.DX * d.DX + d.DZ * d.DZ);
    default: return 0.0;
    }
}

double CDeformEngine::CalcDispValuePos(const T_DISP_D& start, const T_DISP_D& end, int nStation) const {
    const I_PVXModel* pModel = GetModel();
    const CBeamDiagram_PVX* pBeam = pModel ? pModel->m_pBeamDiagram : nullptr;
    if (!pBeam) return 0.0;
    const int n = pBeam->GetStationCount();
    if (nStation < 0 || nStation >= n) return 0.0;
    if (nStation == 0) return CalcDispValue(start);
    if (nStation == n - 1) return CalcDispValue(end);
    if (m_nComponent >= COMP_RX && m_nComponent <= COMP_RZ) {
        const double a = CalcDispValue(start), b = CalcDispValue(end);
        return a + (static_cast<double>(nStation) / (n - 1)) * (b - a);
    }
    double g[3];
    pBeam->GetStationDispl(nStation, g);
    T_DISP_D d;
    d.Initialize();
    d.DX = g[0];
    d.DY = g[1];
    d.DZ = g[2];
    return CalcDispValue(d);
}

void CDeformEngine::InitDispAdjustFactor(double v) {
    I_PVXModel* pModel = GetModel();
    double L = 0.0;
    if (pModel) {
        C3DPoint lo, hi;
        if (pModel->GetRangeModel(&lo, &hi, 1)) {
            const double sx = hi.x - lo.x, sy = hi.y - lo.y, sz = hi.z - lo.z;
            L = std::max(sx, sy);
            if (!pModel->m_bFigureMode) L = std::max(L, sz);
        }
    }
    if (v > -kZeroTol && v < kZeroTol) v = 1.0;
    m_dAdjustFactor = L / (kSpanFraction * std::fabs(v));
}

double CDeformEngine::FrameFactor() const {
    const I_PVXModel* pModel = GetModel();
    return pModel && pModel->m_bAnimation ? pModel->m_AnimationEngine.GetAnimationFactor(0) : 1.0;
}

// ---- record sources -------------------------------------------------------------------------

int CDeformEngine::ReadHostDisp(UINT nNode, T_DISP_D& d) const {
    const I_PVXModel* pModel = GetModel();
    CPostCtrl* pPost = PostOf(pModel);
    if (!pPost || nNode == 0) return 0;
    if (IsModeShapeShown()) {
        const int mode = pPost->IsModeSelected() ? pPost->GetSelectedMode() : static_cast<int>(pModel->m_nLoadKey);
        return pPost->GetEiMode(nNode, mode, d);
    }
    // Slot of the load step: value and maximum the first, minimum the second, all the third.
    switch (pModel->m_nLoadStep) {
    case 0:
    case 1: return pPost->GetDisp(nNode, &d, nullptr, nullptr);
    case 2: return pPost->GetDisp(nNode, nullptr, &d, nullptr);
    case 3: return pPost->GetDisp(nNode, nullptr, nullptr, &d);
    default: return 0;  // no such slot: nothing is read, rather than zeros taken for data
    }
}

void CDeformEngine::DispChanged() {
    static std::atomic<unsigned long long> s_nVersion{0};
    m_nDispVersion = ++s_nVersion;
}

BOOL CDispRecords::Lookup(UINT key, T_DISP_D& d) const {
    const uint32_t slot = m_index.Find(key);
    if (slot == pvxdb::KeyIndex::kNone) return FALSE;
    if (!(slot & kFromSource)) {
        d = m_own[slot];
        return TRUE;
    }
    // v + 0: the host's sum of one load case at factor 1, which reads a stored -0 as 0.
    const T_DISP_D& r = m_src->recs[slot & ~kFromSource];
    d.DX = r.DX + 0.0;
    d.DY = r.DY + 0.0;
    d.DZ = r.DZ + 0.0;
    d.RX = r.RX + 0.0;
    d.RY = r.RY + 0.0;
    d.RZ = r.RZ + 0.0;
    return TRUE;
}

void CDispRecords::SetAt(UINT key, const T_DISP_D& d) {
    const uint32_t slot = m_index.Find(key);
    if (slot != pvxdb::KeyIndex::kNone && !(slot & kFromSource)) {
        m_own[slot] = d;
        return;
    }
    m_index.Set(key, static_cast<uint32_t>(m_own.size()));
    m_own.push_back(d);
}

BOOL CDispRecords::TakeFromSource(UINT key, T_DISP_D& d) {
    if (!m_src || Contains(key)) return FALSE;
    const uint32_t pos = m_src->index.Find(key);
    if (pos == pvxdb::KeyIndex::kNone) return FALSE;
    m_index.Set(key, kFromSource | pos);
    return Lookup(key, d);
}

void CDispRecords::RemoveAll(Source src) {
    m_index.Clear();
    std::vector<T_DISP_D>().swap(m_own);
    m_src = std::move(src);
}

void CDeformEngine::SetDispRecord(UINT nNode, const T_DISP_D& d) {
    T_DISP_D copy = d;
    m_mapDisp.SetAt(nNode, copy);
    DispChanged();
}

void CDeformEngine::ClearDispRecords() {
    m_mapDisp.RemoveAll();
    DispChanged();
}

int CDeformEngine::GetDispData(UINT nNode, T_DISP_D& disp) const {
    if (m_mapDisp.Lookup(nNode, disp)) return 1;
    disp.Initialize();
    T_DISP_D d;
    d.Initialize();
    if (!ReadHostDisp(nNode, d)) return 0;
    disp = d;
    return 1;
}

void CDeformEngine::GetDispValues(const std::vector<UINT>& nodes, double* values) const {
    m_mapDisp.LookupEach(nodes.data(), nodes.size(), [&](size_t i, const T_DISP_D* d) {
        T_DISP_D host;
        if (!d) {
            GetDispData(nodes[i], host);
            d = &host;
        }
        values[i] = CalcDispValue(*d);
    });
}

int CDeformEngine::GetNodeDispData(UINT nNode, T_DISP_D& disp) const {
    disp.Initialize();
    T_DISP_D d;
    if (m_mapDisp.Lookup(nNode, d)) return 0;
    d.Initialize();
    if (!ReadHostDisp(nNode, d)) return 0;
    disp = d;
    return 1;
}

int CDeformEngine::ReadEnvelopeDeflection(UINT nNode, T_DISP_D& d) const {
    d.Initialize();
    CPostCtrl* pPost = PostOf(GetModel());
    if (!pPost || m_nLcomCount < 1) return 0;
    T_DISP_D hi;
    hi.DX = hi.DY = hi.DZ = hi.RX = hi.RY = hi.RZ = -DBL_MAX;
    for (int i = 0; i < m_nLcomCount; ++i) {
        T_PLCOM_D lc;
        lc.Initialize();
        T_DISP_D v;
        v.Initialize();
        if (!pPost->MakeLoadComb(11, static_cast<UINT>(m_nLcomStart + i + 1), lc)) return 0;
        if (!pPost->GetDisp_ByLcomb(nNode, lc, v)) return 0;
        hi.DX = std::max(hi.DX, v.DX);
        hi.DY = std::max(hi.DY, v.DY);
        hi.DZ = std::max(hi.DZ, v.DZ);
        hi.RX = std::max(hi.RX, v.RX);
        hi.RY = std::max(hi.RY, v.RY);
        hi.RZ = std::max(hi.RZ, v.RZ);
    }
    d = hi;
    return 1;
}

int CDeformEngine::GetSDflcData(UINT nNode, T_DISP_D& disp) const {
    if (m_mapDisp.Lookup(nNode, disp)) return 1;
    disp.Initialize();
    const I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    T_DISP_D d;
    const int r = pModel->m_nLoadType == 12 ? ReadEnvelopeDeflection(nNode, d) : ReadHostDisp(nNode, d);
    if (r) disp = d;
    return r;
}

int CDeformEngine::GetNodeSDflcData(UINT nNode, T_DISP_D& disp) const {
    disp.Initialize();
    T_DISP_D d;
    if (m_mapDisp.Lookup(nNode, d)) return 0;
    return GetSDflcData(nNode, disp);
}

int CDeformEngine::GetSettlementData(UINT nKey, T_PCDSINK_D& rec, double& dValue) const {
    if (!m_mapSettle.Lookup(nKey, rec)) return 0;
    double v = 0.0;
    if (!rec.GetGroupValue(m_nSettlementGroup, v)) return 0;
    dValue = v + rec.constant;
    return 1;
}

int CDeformEngine::GetDispHistory(int nStep, UINT nNode, T_DISP_D& disp) const {
    disp.Initialize();
    CPostCtrl* pPost = PostOf(GetModel());
    if (!pPost) return 0;
    // Quantity 0 displacement, 1 velocity, 2 acceleration; the host numbers them 3, 2, 1.
    int kind = 3;
    if (m_nTHKind == 1) kind = 2;
    else if (m_nTHKind == 2) kind = 1;
    T_DISP_D d;
    d.Initialize();
    if (!pPost->GetDispHistory(kind, nStep, nNode, d)) return 0;
    disp = d;
    return 1;
}

// ---- extremes ---------------------------------------------------------------------------------

int CDeformEngine::MakeMinMaxDispD(UINT nNode, const T_DISP_D& d) {
    bool x, y, z;
    SelectorAxes(m_nComponent, x, y, z);
    if (x && std::fabs(d.DX) > std::fabs(m_ptMaxComp.x)) {
        m_ptMaxComp.x = d.DX;
        m_nMaxKeyX = nNode;
    }
    if (y && std::fabs(d.DY) > std::fabs(m_ptMaxComp.y)) {
        m_ptMaxComp.y = d.DY;
        m_nMaxKeyY = nNode;
    }
    if (z && std::fabs(d.DZ) > std::fabs(m_ptMaxComp.z)) {
        m_ptMaxComp.z = d.DZ;
        m_nMaxKeyZ = nNode;
    }
    return 1;
}

void CDeformEngine::SetLegendTextVal(UINT nNode, double dValue, const T_DISP_D& d) {
    T_DISP_D v = d;
    if (m_nComponent == COMP_DX) v.DX = dValue;
    else if (m_nComponent == COMP_DY) v.DY = dValue;
    else if (m_nComponent == COMP_DZ) v.DZ = dValue;
    MakeMinMaxDispD(nNode, v);
}

void CDeformEngine::ResetLists(bool bSlab) {
    m_dMaxTotal = -DBL_MAX;
    m_nMaxKeyX = m_nMaxKeyY = m_nMaxKeyZ = m_nMaxKeyTotal = 0;
    m_ptMaxComp = C3DPoint(0.0, 0.0, 0.0);
    m_arrNodeKey.RemoveAll();
    m_arrNodeRec.RemoveAll();
    m_mapDisp.RemoveAll(HostDispSource(bSlab));
    DispChanged();
}

CDispRecords::Source CDeformEngine::HostDispSource(bool bSlab) const {
    // As ReadHostDisp reads: not a mode shape, a slot of the load step; slab deflections of an
    // envelope are a largest over combinations.
    const I_PVXModel* pModel = GetModel();
    CPostCtrl* pPost = PostOf(pModel);
    if (!pPost || IsModeShapeShown() || pModel->m_nLoadStep < 0 || pModel->m_nLoadStep > 3 ||
        (bSlab && pModel->m_nLoadType == 12))
        return nullptr;
    return pPost->GetDispLoad();
}

int CDeformEngine::TakeHostNode(UINT nNode, const T_PNODE_D& rec, bool bSlab, double& dMax, double& dMin,
                                UINT& nMaxKey, UINT& nMinKey) {
    // A node already taken reads as nothing, as does one the host has no record of.
    T_DISP_D d;
    if (m_mapDisp.HasSource()) {
        // The host reads no node 0.
        // The map's version moves once the walk is over (MakeDispDataList): nothing reads it
        // meanwhile, and a shared counter's step per node costs a tenth of the walk.
        if (nNode == 0 || !m_mapDisp.TakeFromSource(nNode, d)) return 0;
    } else {
        if (!(bSlab ? GetNodeSDflcData(nNode, d) : GetNodeDispData(nNode, d))) return 0;
        SetDispRecord(nNode, d);
    }
    TakeNode(nNode, d, rec, dMax, dMin, nMaxKey, nMinKey);
    return 1;
}

void CDeformEngine::TakeNode(UINT nNode, const T_DISP_D& d, const T_PNODE_D& rec, double& dMax, double& dMin,
                             UINT& nMaxKey, UINT& nMinKey) {
    // Every node keeps its record for the drawing; the list numbers each node once, and with a
    // part of the model shown only the part's own nodes, which the extremes and shares count.
    const I_PVXModel* pModel = GetModel();
    if (pModel && !pModel->IsNumberedNode(nNode)) return;
    const double v = CalcDispValue(d);
    MakeMinMaxDispD(nNode, d);
    const double total = std::sqrt(d.DX * d.DX + d.DY * d.DY + d.DZ * d.DZ);
    if (total > m_dMaxTotal) {
        m_dMaxTotal = total;
        m_nMaxKeyTotal = nNode;
    }
    contour::TakeExtremes(v, v, nNode, dMax, nMaxKey, dMin, nMinKey);
    m_arrNodeKey.Add(nNode);
    m_arrNodeRec.Add(rec);
}

void CDeformEngine::WalkMembers(bool bSlab, double& dMax, double& dMin, UINT& nMaxKey, UINT& nMinKey) {
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return;
    CPVXSElemCtrl se(PostDBOf(pModel));
    // Room for every node of the model at once; a node shared by several elements is taken
    // once, at its first element, and its record read only then.
    const INT_PTR nNodes = pAttr->GetNodeCount();
    if (nNodes > m_arrNodeKey.GetSize()) {
        m_arrNodeKey.SetSize(m_arrNodeKey.GetSize(), nNodes);
        m_arrNodeRec.SetSize(m_arrNodeRec.GetSize(), nNodes);
        // Records read from the table stay there.
        if (!m_mapDisp.HasSource()) m_mapDisp.Reserve(static_cast<size_t>(nNodes));
    }
    const auto want = [&](UINT key) { return !m_mapDisp.Contains(key); };
    const auto take = [&](UINT key, const T_PNODE_D& rec) { TakeHostNode(key, rec, bSlab, dMax, dMin, nMaxKey, nMinKey); };
    for (INT_PTR m = 0; m < pModel->m_arrActiveMembKey.GetSize(); ++m) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(pModel->m_arrActiveMembKey[m], memb)) continue;
        // Slab deflections belong to the plate members (rafts and slabs).
        if (bSlab && !CPVXAttrCtrl::IsPlate(memb.type)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) se.ForEachWantedNode(memb.aElem[e], want, take);
    }
    // Later additions grow by the automatic rule again.
    m_arrNodeKey.SetSize(m_arrNodeKey.GetSize(), 0);
    m_arrNodeRec.SetSize(m_arrNodeRec.GetSize(), 0);
}

int CDeformEngine::FinishList(double dMax, double dMin, UINT nMaxKey, UINT nMinKey, bool bScale) {
    I_PVXModel* pModel = GetModel();
    if (m_arrNodeKey.GetSize() == 0) {
        dMax = dMin = 0.0;
        nMaxKey = nMinKey = 0;
    }
    if (m_dMaxTotal == -DBL_MAX) m_dMaxTotal = 0.0;
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;
    if (pModel) {
        pModel->m_nMaxKey = nMaxKey;
        pModel->m_nMinKey = nMinKey;
    }
    if (m_bExactBeamRange) GetRealDeformRange(dMin, dMax);
    if (bScale) InitDispAdjustFactor(std::fabs(dMax) >= std::fabs(dMin) ? dMax : dMin);

    StartScale(dMin, dMax);
    m_mapDisp.LookupEach(m_arrNodeKey.GetData(), static_cast<size_t>(m_arrNodeKey.GetSize()),
                         [&](size_t, const T_DISP_D* d) {
                             if (d) m_pContourEngine->AddPecentRankMapData(CalcDispValue(*d), 1.0);
                         });
    m_pContourEngine->FinishPecentRankMapData();

    if (m_bCuttingLine) {
        MakePlateKeyList();
        MakeCuttingLineData();
    }
    m_bDataReady = 1;
    return 1;
}

// ---- builders ---------------------------------------------------------------------------------

int CDeformEngine::MakeDispDataList() {
    CWaitCursor wait;
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady) return 0;
    if (pModel->m_bFigureMode) CPVXBarContainerBase::m_nCurrentMode = pModel->m_nDisplayMode;
    const bool bSlab = BuildMode() == PVXMode::kSlabDeflection;
    // A source that serves slab deflections serves the loose nodes' plain displacements too.
    ResetLists(bSlab);
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    WalkMembers(bSlab, dMax, dMin, nMaxKey, nMinKey);

    // Nodes outside every member (supports, loose nodes) join after the member walk.
    CPVXAttrCtrl* pAttr = pModel->GetAttrCtrl();
    for (INT_PTR i = 0; pAttr && i < pModel->m_arrActiveNodeKey.GetSize(); ++i) {
        const UINT key = pModel->m_arrActiveNodeKey[i];
        if (m_mapDisp.Contains(key)) continue;
        T_PNODE_D rec;
        rec.Initialize();
        pAttr->GetNode(key, rec);
        TakeHostNode(key, rec, false, dMax, dMin, nMaxKey, nMinKey);
    }
    DispChanged();
    return FinishList(dMax, dMin, nMaxKey, nMinKey, true);
}

int CDeformEngine::MakeDispDataList(int) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady) return 0;
    m_arrNodeKey.RemoveAll();
    m_arrNodeRec.RemoveAll();
    ClearDispRecords();
    CPVXAttrCtrl* pAttr = pModel->GetAttrCtrl();
    for (INT_PTR i = 0; i < pModel->m_arrActiveNodeKey.GetSize(); ++i) {
        const UINT key = pModel->m_arrActiveNodeKey[i];
        T_DISP_D d;
        d.Initialize();
        T_PNODE_D rec;
        rec.Initialize();
        if (pAttr) pAttr->GetNode(key, rec);
        SetDispRecord(key, d);
        m_arrNodeKey.Add(key);
        m_arrNodeRec.Add(rec);
    }
    m_bDataReady = 1;
    return 1;
}

int CDeformEngine::MakeSDflcDataList() {
    CWaitCursor wait;
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady) return 0;
    ResetLists(true);
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    WalkMembers(true, dMax, dMin, nMaxKey, nMinKey);
    return FinishList(dMax, dMin, nMaxKey, nMinKey, true);
}

int CDeformEngine::MakeSDflcDataListMemb() {
    // The same node values as per plate element; the legend of this kind names the largest
    // deflection and its slab member.
    if (!MakeSDflcDataList()) return 0;
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel->GetAttrCtrl();
    CPVXSElemCtrl se(PostDBOf(pModel));
    double best = -DBL_MAX;
    UINT bestMemb = 0;
    CArray<UINT, UINT> keys;
    for (INT_PTR m = 0; pAttr && m < pModel->m_arrActiveMembKey.GetSize(); ++m) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(pModel->m_arrActiveMembKey[m], memb) || !CPVXAttrCtrl::IsPlate(memb.type)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            keys.RemoveAll();
            se.GetSuperElemNodeList(memb.aElem[e], keys, nullptr);
            for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
                T_DISP_D d;
                if (!m_mapDisp.Lookup(keys[i], d)) continue;
                const double v = CalcDispValue(d);
                if (v > best) {
                    best = v;
                    bestMemb = pModel->m_arrActiveMembKey[m];
                }
            }
        }
    }
    m_dSlabDeflMax = bestMemb ? best : 0.0;
    pModel->m_nMaxKey = bestMemb;
    return 1;
}

int CDeformEngine::MakeSettlementDataList() {
    CWaitCursor wait;
    m_arrSettleKey.RemoveAll();
    m_mapSettle.RemoveAll();
    I_PVXModel* pModel = GetModel();
    CDataBase* pDB = PostDBOf(pModel);
    if (!pDB) return 0;
    CClassPCDSink sink;
    CClassLdgp groups;
    sink.ConnectToDB(pDB);
    groups.ConnectToDB(pDB);
    CArray<UINT, UINT> keys, groupKeys;
    sink.GetKeyList(keys);
    groups.GetKeyListByType(groupKeys, LDGP_SETTLEMENT);
    if (keys.GetSize() == 0 || groupKeys.GetSize() == 0) return 0;
    // The group chosen on the settlement page, else the first settlement group.
    bool bChosen = false;
    for (INT_PTR i = 0; i < groupKeys.GetSize() && !bChosen; ++i) bChosen = groupKeys[i] == m_nSettlementGroup;
    if (!bChosen) m_nSettlementGroup = groupKeys[0];

    // A shown part takes the points at the level of its own nodes (the foundation's) only.
    std::vector<double> levels;
    CPVXAttrCtrl* pAttr = pModel->GetAttrCtrl();
    for (INT_PTR i = 0; pModel->IsPartShown() && pAttr && i < pModel->m_arrFlagNodeKey.GetSize(); ++i) {
        T_PNODE_D n;
        if (pAttr->GetNode(pModel->m_arrFlagNodeKey[i], n)) levels.push_back(n.z);
    }
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end(), [](double a, double b) { return b - a <= kPartLevelTol; }),
                 levels.end());
    auto inPart = [&](const T_PCDSINK_D& rec) {
        return !pModel->IsPartShown() || std::any_of(levels.begin(), levels.end(), [&](double z) {
                   return std::fabs(z - rec.z) <= kPartLevelTol;
               });
    };
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PCDSINK_D rec;
        double v = 0.0;
        if (!sink.Get(keys[i], rec) || !rec.GetGroupValue(m_nSettlementGroup, v) || !inPart(rec)) continue;
        v += rec.constant;
        contour::TakeExtremes(v, v, keys[i], dMax, nMaxKey, dMin, nMinKey);
        m_arrSettleKey.Add(keys[i]);
        m_mapSettle.SetAt(keys[i], rec);
    }
    // Points without a value for the group: nothing to contour.
    if (m_arrSettleKey.GetSize() == 0) return 0;
    pModel->m_nMaxKey = nMaxKey;
    pModel->m_nMinKey = nMinKey;
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;
    StartScale(dMin, dMax);
    for (INT_PTR i = 0; i < m_arrSettleKey.GetSize(); ++i) {
        T_PCDSINK_D rec;
        double v;
        if (GetSettlementData(m_arrSettleKey[i], rec, v)) m_pContourEngine->AddPecentRankMapData(v, 1.0);
    }
    m_pContourEngine->FinishPecentRankMapData();
    m_bDataReady = 1;
    return 1;
}

int CDeformEngine::MakeDispTimeHist() {
    m_dMaxTotal = -DBL_MAX;
    m_nMaxKeyX = m_nMaxKeyY = m_nMaxKeyZ = m_nMaxKeyTotal = 0;
    m_ptMaxComp = C3DPoint(0.0, 0.0, 0.0);
    m_nTHNode = 0;
    m_THDisp.Initialize();
    I_PVXModel* pModel = GetModel();
    CPostCtrl* pPost = PostOf(pModel);
    if (!pModel || !pModel->m_bResultDataReady || !pPost) return 0;
    const UINT thCase = pModel->m_nTHCaseKey ? pModel->m_nTHCaseKey : pModel->m_nLoadKey;
    // A load the host does not take as a time-history case has no steps to show.
    if (!pPost->SelectThlc(thCase)) return 0;
    CWaitCursor wait;
    if (!MakeTHistDispDataOnly(m_nTimeStep)) return 0;
    m_bDataReady = 1;
    return 1;
}

int CDeformEngine::MakeTHistDispDataOnly(int nStep) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    m_arrNodeKey.RemoveAll();
    m_arrNodeRec.RemoveAll();
    ClearDispRecords();
    CPVXAttrCtrl* pAttr = pModel->GetAttrCtrl();
    CPostCtrl* pPost = PostOf(pModel);
    int nRead = 0;
    m_dTimeStepTime = -1.0;
    for (INT_PTR i = 0; i < pModel->m_arrActiveNodeKey.GetSize(); ++i) {
        const UINT key = pModel->m_arrActiveNodeKey[i];
        T_DISP_D d;
        // A node the history does not list stays at rest at this step.
        double dt = 0.0;
        if (GetDispHistory(nStep, key, d) && ++nRead == 1 && pPost && pPost->GetDispHistoryDt(key, dt))
            m_dTimeStepTime = nStep * dt;
        const double v = CalcDispValue(d);
        T_DISP_D copy = d;
        SetDispRecord(key, copy);
        // A shown part numbers and counts its own nodes only.
        if (!pModel->IsNumberedNode(key)) continue;
        m_arrNodeKey.Add(key);
        T_PNODE_D rec;
        rec.Initialize();
        if (pAttr) pAttr->GetNode(key, rec);
        m_arrNodeRec.Add(rec);
        SetLegendTextVal(key, v, d);
        // The largest total displacement, as the other lists keep it for the legend (left at
        // its reset value it made the legend print the most negative double).
        const double total = std::sqrt(d.DX * d.DX + d.DY * d.DY + d.DZ * d.DZ);
        if (total > m_dMaxTotal) {
            m_dMaxTotal = total;
            m_nMaxKeyTotal = key;
        }
        contour::TakeExtremes(v, v, key, dMax, nMaxKey, dMin, nMinKey);
    }
    if (m_arrNodeKey.GetSize() == 0) {
        dMax = dMin = 0.0;
        nMaxKey = nMinKey = 0;
    }
    if (m_dMaxTotal == -DBL_MAX) m_dMaxTotal = 0.0;
    pModel->m_nMaxKey = nMaxKey;
    pModel->m_nMinKey = nMinKey;
    m_dLegendMax = dMax;
    m_dLegendMin = dMin;
    InitDispAdjustFactor(std::fabs(dMax) >= std::fabs(dMin) ? dMax : dMin);
    if (m_pContourEngine) m_pContourEngine->MakeRankMap(dMin, dMax);
    // No node has a record at this step (beyond the history, or no history at all).
    return nRead > 0 ? 1 : 0;
}

void CDeformEngine::GetRealDeformRange(double& dMin, double& dMax) {
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return;
    if (!pModel->m_pBeamDiagram) pModel->m_pBeamDiagram = new CBeamDiagram_PVX;
    CBeamDiagram_PVX* pBeam = pModel->m_pBeamDiagram;
    for (INT_PTR m = 0; m < pModel->m_arrActiveMembKey.GetSize(); ++m) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(pModel->m_arrActiveMembKey[m], memb)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            if (!MakeBeamCurve(memb.aElem[e])) continue;
            for (int k = 0; k < pBeam->GetStationCount(); ++k) {
                double g[3];
                pBeam->GetStationDispl(k, g);
                T_DISP_D d;
                d.Initialize();
                d.DX = g[0];
                d.DY = g[1];
                d.DZ = g[2];
                // Rotations have no value along the curve.
                const double v = (m_nComponent >= COMP_RX && m_nComponent <= COMP_RZ) ? 0.0 : CalcDispValue(d);
                if (v < dMin) dMin = v;
                if (v > dMax) dMax = v;
            }
        }
    }
}

int CDeformEngine::MakeBeamCurve(UINT nElem) {
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    T_PELEM_D elem;
    if (!pAttr || !pAttr->GetElem(nElem, elem) || !CPVXAttrCtrl::IsBeamElemType(elem.type) || elem.nNode < 2) return 0;
    if (!pModel->m_pBeamDiagram) pModel->m_pBeamDiagram = new CBeamDiagram_PVX;
    T_DISP_D di, dj;
    GetDispData(elem.node[0], di);
    GetDispData(elem.node[elem.nNode - 1], dj);
    if (IsModeShapeShown())
        return pModel->m_pBeamDiagram->MakeBeamDispl(nElem, di, dj, kModeShapeDiv, kBeamCurveOption, m_dBeamDispFactor,
                                                     CBeamDiagram_PVX::kModeDisplPerLength);
    // The combination form builds no curve; an envelope is refused without a message per beam,
    // since the ordinary shape is drawn in its place anyway.
    if (CClassPLcom::IsMaxMinComb(pModel->m_PLCom)) return 0;
    return pModel->m_pBeamDiagram->MakeBeamDispl(nElem, pModel->m_PLCom, kCombinationDiv, kBeamCurveOption);
}

void CDeformEngine::MakePlateKeyList() {
    m_arrElemKey.RemoveAll();
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return;
    for (INT_PTR m = 0; m < pModel->m_arrActiveMembKey.GetSize(); ++m) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(pModel->m_arrActiveMembKey[m], memb)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            T_PELEM_D elem;
            if (pAttr->GetElem(memb.aElem[e], elem) && CPVXAttrCtrl::IsPlaneElemType(elem.type))
                m_arrElemKey.Add(memb.aElem[e]);
        }
    }
}

// ---- tests --------------------------------------------------------------------------------------

int CDeformEngine::IsTimeHistVelAcc() const {
    const I_PVXModel* pModel = GetModel();
    return pModel && pModel->m_nLoadType == 5 && m_nTHKind >= 1 && m_nTHKind <= 3 ? 1 : 0;
}

int CDeformEngine::IsTimeHistExtendedVelAcc() const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    const UINT t = pModel->m_nLoadType;
    return (t == 22 || t == 23 || t == 24) && m_nTHKind >= 1 && m_nTHKind <= 3 ? 1 : 0;
}

bool CDeformEngine::AnySuperElem(CDataBase* db) const {
    if (!db) return true;
    const auto& table = db->Table<DBT_PELEM>();
    if (m_superElems.table != &table || m_superElems.version != table.Version()) {
        bool any = false;
        for (UINT key : table.Keys()) {
            const T_PELEM_D* e = table.Find(key);
            if (e && CClassPElem::IsSuperElem(*e)) {
                any = true;
                break;
            }
        }
        m_superElems = SuperElems{&table, table.Version(), any};
    }
    return m_superElems.any;
}

int CDeformEngine::IsPossibleDisp(T_PMEMB_D& memb) const {
    const I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    CDataBase* db = PostDBOf(pModel);
    // Without a super element in the table no member is made of them.
    if (!AnySuperElem(db)) return 1;
    CPVXSElemCtrl se(db);
    if (!se.IsSuperMember(memb) || !pAttr) return 1;
    return (!pAttr->IsMembElemResultAvailable(memb) || !pAttr->IsMembNodeResultAvailable(memb)) ? 1 : 0;
}
