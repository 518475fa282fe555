// CForceEngine: construction, the family initialisers, the copy between engines, the dispatch of
// the display-mode builders and the record accessors.
#include "module/force/CForceEngine.h"

#include <algorithm>
#include <cfloat>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/db/CSlabDetailDgn.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/EngineCallLog.h"
#include "module/figures/CFigureDetailPages.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"

namespace {

// Empties a map (its entries destroyed) and gives it a table of nBuckets buckets. A map's table
// size can only change while it is empty, so the entries go first.
template <class M>
void ResetMap(M& map, UINT nBuckets) {
    map.RemoveAll();
    map.InitHashTable(nBuckets);
}

}  // namespace

// ---- T_PVX_MBCL_D ----------------------------------------------------------------------------

void T_PVX_MBCL_D::Initialize() {
    for (auto& block : d)
        for (double& v : block) v = 0.0;
}

void T_PVX_MBCL_D::ConvertFromMbcl(const T_MBCL_D& src) {
    // Host blocks: 0 i end, 1 j end, 2 and 3 the inner stations from i to j.
    static constexpr int kFrom[6] = {0, 2, 2, 3, 3, 1};
    for (int b = 0; b < 6; ++b)
        for (int c = 0; c < 6; ++c) d[b][c] = src.d[kFrom[b]][c];
}

T_PVX_MBCL_D& T_PVX_MBCL_D::operator=(const T_PVX_MBCL_D& src) {
    for (int b = 0; b < 6; ++b)
        for (int c = 0; c < 6; ++c) d[b][c] = src.d[b][c];
    return *this;
}

// ---- life ------------------------------------------------------------------------------------

CForceEngine::CForceEngine(I_PVXModelBase* pModel)
    : m_dBForcMax(-DBL_MAX),
      m_dBForcMin(DBL_MAX),
      m_dTForcMax(-DBL_MAX),
      m_dTForcMin(DBL_MAX),
      m_pSlabDetailDgn(new CSlabDetailDgn),
      m_pFigureDisplay(CFigureDetailDisplay::m_pMyself),
      m_pFigureView(CFigureDetailView::m_pMyself) {
    m_pModel = pModel;
    InitBeamData();
    InitPlatData();
    InitWallData();
    InitSlabData();
}

CForceEngine::~CForceEngine() {
    ResetBeamResultData();
    delete m_pSlabDetailDgn;
    m_pSlabDetailDgn = nullptr;
}

void CForceEngine::InitBeamData() {
    static_cast<CForceFrameSettings&>(*this) = CForceFrameSettings{};
    m_dBForcMax = m_dTForcMax = -DBL_MAX;
    m_dBForcMin = m_dTForcMin = DBL_MAX;
    m_arrMembKey.RemoveAll();
    m_arrColmKey.RemoveAll();
    m_arrTrussKey.RemoveAll();
    ResetMap(m_mapBSfdBmdMembValue, kMapBuckets);
    ResetMap(m_mapBForc, kMapBuckets);
    ResetMap(m_mapBForcMin, kMapBuckets);
    ResetMap(m_mapCForc, kMapBuckets);
    ResetMap(m_mapCForcMin, kMapBuckets);
    ResetMap(m_mapWBeam, kMapBuckets);
    ResetMap(m_mapWColm, kMapBuckets);
    ResetMap(m_mapWColmForc, kMapBuckets);
    ResetMap(m_mapWBeamForc, kMapBuckets);
    m_mapTForc.RemoveAll();
    m_mapSSFR.RemoveAll();
}

void CForceEngine::InitPlatData() {
    ForgetKeptLists();
    static_cast<CForcePlateSettings&>(*this) = CForcePlateSettings{};
    ResetMap(m_mapPForc, kMapBuckets);
}

void CForceEngine::InitWallData() { static_cast<CForceWallSettings&>(*this) = CForceWallSettings{}; }

void CForceEngine::InitSlabData() {
    ForgetKeptLists();
    static_cast<CForceSlabSettings&>(*this) = CForceSlabSettings{};
    // The design object is made once with the engine; a later call keeps it.
    if (!m_pSlabDetailDgn) m_pSlabDetailDgn = new CSlabDetailDgn;
    ResetMap(m_mapSForc, kMapBuckets);
    ResetMap(m_mapSForcPos, kMapBuckets);
    ResetMap(m_mapSForcNeg, kMapBuckets);
    ResetMap(m_mapSForcMemb, kMapBuckets);
    m_arrSWallKey.RemoveAll();
    m_arrSWallKey2.RemoveAll();
    m_arrSWall.RemoveAll();
    m_arrStripInfo.RemoveAll();
    m_arrCLForc.RemoveAll();
}

// ---- kept lists ------------------------------------------------------------------------------

namespace {

// The newest version among all tables of a database, results included (a load case read on first
// use counts as a change of its table); 0 for none.
unsigned long long DataVersion(CDataBase* pDB) {
    unsigned long long v = 0;
    for (int id = 0; pDB && id < DBT_COUNT; ++id)
        if (const pvxdb::DBTableBase* t = pDB->GetTable(id)) v = std::max(v, t->Version());
    return v;
}

}  // namespace

CForceEngine::ListInputs CForceEngine::CurrentListInputs(int nList) const {
    ListInputs in;
    in.nList = nList;
    if (nList == PVXMode::kSlabForce) {
        in.choices = {double(m_nSForcUnit), double(m_nSForcComp), double(m_bPAverageNodal),
                      double(m_bSkipActivePlateList), double(m_nSForcLcomCount)};
    } else {
        // The component changes the records only through the averaging (the vectors are never
        // averaged).
        const bool bAveraged = m_bPAverageNodal && m_nPForcComp != 5 && m_nPForcComp != 11;
        in.choices = {double(m_bPlateShowTG), double(m_bPlateShowWall), double(m_bLocalAxis), m_dPLocalAngle,
                      double(m_bPAverageNodal), double(m_bSkipActivePlateList), bAveraged ? double(m_nPForcComp) : -1.0};
    }
    const I_PVXModel* pModel = GetModel();
    in.nCurrentMode = CPVXBarContainerBase::m_nCurrentMode;
    auto addDB = [&in](CDataBase* pDB) {
        in.dbs.push_back(pDB);
        in.dbVersions.push_back(DataVersion(pDB));
    };
    addDB(CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    if (!pModel) return in;
    in.pModel = pModel;
    in.pAttr = pModel->m_pAttrCtrl;
    in.bResultDataReady = pModel->m_bResultDataReady;
    in.nLoadType = pModel->m_nLoadType;
    in.nLoadKey = pModel->m_nLoadKey;
    in.nLoadStep = pModel->m_nLoadStep;
    in.nDisplayMode = pModel->m_nDisplayMode;
    in.nBarDisplayMode = pModel->m_nBarDisplayMode;
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;
    in.activeMembs.assign(membs.GetData(), membs.GetData() + membs.GetSize());
    CDBDoc* pDoc = pModel->GetDBDoc();
    addDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    addDB(pDoc ? pDoc->GetMDBCtrl()->GetTempMainDB() : nullptr);
    addDB(pModel->m_pAttrCtrl ? pModel->m_pAttrCtrl->m_PMemb.GetDB() : nullptr);
    if (const CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr) {
        const T_PLCOM_D& lc = pPost->GetSelectedLoadComb();
        in.selectedComb.push_back(lc.type);
        for (int i = 0; i < lc.GetEntryCount(); ++i) {
            in.selectedComb.push_back(lc.entry[i].kind);
            in.selectedComb.push_back(lc.entry[i].key);
            in.selectedComb.push_back(lc.entry[i].factor);
        }
    }
    return in;
}

// ---- import ----------------------------------------------------------------------------------

void CForceEngine::ImportEngine(CEngineBase* pSrc) {
    if (!pSrc || pSrc == this) return;
    ForgetKeptLists();
    CEngineBase::ImportEngine(pSrc);
}

void CForceEngine::ImportEngine(CForceEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    ForgetKeptLists();

    // The shared part of the base, then the colour scale: a copy of the source's, or this
    // engine's own kept when the source has none.
    CEngineBase::ImportEngine(pSrc);
    if (pSrc->m_pContourEngine) {
        if (m_pContourEngine)
            *m_pContourEngine = *pSrc->m_pContourEngine;
        else
            m_pContourEngine = new CContourEngine(*pSrc->m_pContourEngine);
    }
    if (!m_pModel && pSrc->m_pModel) m_pModel = pSrc->m_pModel;
    m_dLegendMax = pSrc->m_dLegendMax;
    m_dLegendMin = pSrc->m_dLegendMin;
    m_bDeformed = pSrc->m_bDeformed;
    m_bAvgNdlActOnly = pSrc->m_bAvgNdlActOnly;
    m_bGradient = pSrc->m_bGradient;

    // Frame, truss and story shear: settings and flags, key lists, records.
    static_cast<CForceFrameSettings&>(*this) = *pSrc;
    m_arrMembKey.Copy(pSrc->m_arrMembKey);
    m_beamScaleValues.clear();
    m_arrColmKey.Copy(pSrc->m_arrColmKey);
    m_mapBForc = pSrc->m_mapBForc;
    m_mapBForcMin = pSrc->m_mapBForcMin;
    m_mapCForc = pSrc->m_mapCForc;
    m_mapCForcMin = pSrc->m_mapCForcMin;
    m_arrTrussKey.Copy(pSrc->m_arrTrussKey);
    m_mapTForc = pSrc->m_mapTForc;
    m_mapSSFR = pSrc->m_mapSSFR;

    // Plates. The map is replaced, not merged: entries of an earlier load would otherwise stay
    // and show beside the new results.
    static_cast<CForcePlateSettings&>(*this) = *pSrc;
    m_mapPForc = pSrc->m_mapPForc;

    // Cutting lines of the base: the lines, their extremes and a copy of every line's pieces.
    m_bCuttingLine = pSrc->m_bCuttingLine;
    ResetCuttingLineData();
    m_arrCutLine.RemoveAll();
    for (INT_PTR i = 0; i < pSrc->m_arrCutLine.GetSize(); ++i) m_arrCutLine.Add(pSrc->m_arrCutLine[i]);
    for (INT_PTR i = 0; i < pSrc->m_arrCutLineMinMax.GetSize(); ++i)
        m_arrCutLineMinMax.Add(pSrc->m_arrCutLineMinMax[i]);
    for (INT_PTR i = 0; i < pSrc->m_arrCutLineData.GetSize(); ++i) {
        auto* pLine = new CArray<T_CUTLINE_D, const T_CUTLINE_D&>;
        if (const auto* pFrom = pSrc->m_arrCutLineData[i]) {
            pLine->SetSize(pFrom->GetSize());
            for (INT_PTR k = 0; k < pFrom->GetSize(); ++k) (*pLine)[k] = (*pFrom)[k];
        }
        m_arrCutLineData.Add(pLine);
    }

    // Walls.
    static_cast<CForceWallSettings&>(*this) = *pSrc;
    m_arrWColmKey.Copy(pSrc->m_arrWColmKey);
    m_arrWBeamKey.Copy(pSrc->m_arrWBeamKey);
    m_mapWColmForc = pSrc->m_mapWColmForc;
    m_mapWBeamForc = pSrc->m_mapWBeamForc;
    m_mapWBeam = pSrc->m_mapWBeam;
    m_mapWColm = pSrc->m_mapWColm;

    // Slabs, rebar, crack, slab walls, strips. The slab maps are replaced like the plate map.
    static_cast<CForceSlabSettings&>(*this) = *pSrc;
    if (m_pSlabDetailDgn) m_pSlabDetailDgn->Copy(pSrc->m_pSlabDetailDgn);
    m_mapSForc = pSrc->m_mapSForc;
    m_mapSForcPos = pSrc->m_mapSForcPos;
    m_mapSForcNeg = pSrc->m_mapSForcNeg;
    m_mapSForcMemb = pSrc->m_mapSForcMemb;
    m_arrSWall.Copy(pSrc->m_arrSWall);
    m_arrSWallKey.Copy(pSrc->m_arrSWallKey);
    m_arrSWallKey2.Copy(pSrc->m_arrSWallKey2);
    m_arrStripInfo.Copy(pSrc->m_arrStripInfo);
    m_arrCLForc.Copy(pSrc->m_arrCLForc);

    // Figure column forces.
    m_arrCForc4Figure.Copy(pSrc->m_arrCForc4Figure);
    m_figColmSummary = pSrc->m_figColmSummary;
}

// ---- dispatch --------------------------------------------------------------------------------

void CForceEngine::ClearDataFlags() {
    m_bBForcData = m_bPForcData = m_bWForcData = m_bSSFRData = m_bTForcData = 0;
    m_bSForcData = m_bSRbarData = m_bSCracData = m_bCLForcData = 0;
}

int* CForceEngine::DataFlagOfMode(int nMode) {
    using namespace PVXMode;
    switch (nMode) {
    case kStoryShearRatio: return &m_bSSFRData;
    case kFrameForceContour: case kFrameForceDiagram: case kFigFrameContour: case kFigFrameDiagram:
    case kDesignMoment: case kDesignShear: case kFigMoment: case kFigShear: return &m_bBForcData;
    case kWallForceContour: case kWallForceDiagram: return &m_bWForcData;
    case kPlateForce: return &m_bPForcData;
    case kSlabForce: return &m_bSForcData;
    case kSlabRebar: return &m_bSRbarData;
    case kSlabCrack: return &m_bSCracData;
    case kSlabWall: return &m_bSWallBuilt;
    case kSlabStrip: case kSlabForceBeam: return &m_bCLForcData;
    case kFigColumnForce: return &m_bCForcData4Figure;
    default: return nullptr;
    }
}

int CForceEngine::InitEngine(CDeformEngine*, int nMode) {
    using namespace PVXMode;
    ClearDataFlags();
    I_PVXModel* pModel = GetModel();
    if (pModel) pModel->SelectLoad();
    if (nMode == kNone) nMode = CPVXBarContainerBase::m_nCurrentMode;
    const BOOL bSlabLoad = pModel ? CPVXAttrCtrl::IsSlabForceLoadType(static_cast<int>(pModel->m_nLoadType)) : TRUE;
    if (nMode < kStoryShearRatio || nMode > kFigShear) return 0;
    m_nBuildMode = nMode;
    // Every other builder writes the lists the per-element slab build and the plate build keep.
    if (!(nMode == kSlabForce && m_nSForcUnit == 1) && nMode != kPlateForce) ForgetKeptLists();
    // The kept bands of a pass go with its display mode (their memory is not held for another).
    if (nMode != kSlabForce) m_keptSlabBands.Reset();
    if (nMode != kPlateForce) m_keptPlateBands.Reset();

    // Each builder runs under its name in the engine call trace.
    auto note = [](const char* name) {
        if (EngineCallLog::IsEnabled()) EngineCallLog::Note(std::string("CForceEngine::") + name);
    };
    auto run = [this, &note](const char* name, int (CForceEngine::*builder)()) {
        note(name);
        return (this->*builder)();
    };
    auto finishStrips = [this, &note] {
        note("FinishMakeCLForcData");
        FinishMakeCLForcData();
    };
    switch (nMode) {
    case kStoryShearRatio:
        run("MakeSSFRData", &CForceEngine::MakeSSFRData);
        return m_bSSFRData;
    case kFrameForceContour: case kFrameForceDiagram: case kFigFrameContour: case kFigFrameDiagram:
    case kDesignMoment: case kDesignShear: case kFigMoment: case kFigShear:
        m_dBForcMax = m_dTForcMax = -DBL_MAX;
        m_dBForcMin = m_dTForcMin = DBL_MAX;
        m_arrTrussKey.RemoveAll();
        m_mapBForc.RemoveAll();
        m_arrColmKey.RemoveAll();
        run("MakeBForcDataList", &CForceEngine::MakeBForcDataList);
        // The truss lists belong to the displays that draw trusses: the frame contour and diagram.
        if (nMode == kFrameForceContour || nMode == kFrameForceDiagram)
            run("MakeTForcDataList", &CForceEngine::MakeTForcDataList);
        note("FinishMakeBForcData");
        FinishMakeBForcData();
        return m_bBForcData || m_bTForcData;
    case kWallForceContour: case kWallForceDiagram:
        if (bSlabLoad)
            run("MakeWForcDataList", &CForceEngine::MakeWForcDataList);
        else
            run("MakeDgnWForcDataList", &CForceEngine::MakeDgnWForcDataList);
        return m_bWForcData;
    case kPlateForce:
        run("MakePForcDataList", &CForceEngine::MakePForcDataList);
        return m_bPForcData;
    case kSlabForce:
        if (m_nSForcUnit == 0) run("MakeSForcDataListMemb", &CForceEngine::MakeSForcDataListMemb);
        else if (m_nSForcUnit == 1) run("MakeSForcDataList", &CForceEngine::MakeSForcDataList);
        return m_bSForcData;
    case kSlabRebar:
        if (m_nSRbarUnit == 0) run("MakeSRbarDataListMemb", &CForceEngine::MakeSRbarDataListMemb);
        else if (m_nSRbarUnit == 1) run("MakeSRbarDataList", &CForceEngine::MakeSRbarDataList);
        return m_bSRbarData;
    case kSlabCrack:
        if (m_nSCracUnit == 0) run("MakeSCracDataListMemb", &CForceEngine::MakeSCracDataListMemb);
        else if (m_nSCracUnit == 1) run("MakeSCracDataList", &CForceEngine::MakeSCracDataList);
        return m_bSCracData;
    case kSlabWall:
        run("MakeSWallDataList", &CForceEngine::MakeSWallDataList);
        return m_bSWallBuilt;
    case kSlabStrip:
        run("MakeSStripDataList", &CForceEngine::MakeSStripDataList);
        finishStrips();
        return m_bCLForcData;
    case kSlabForceBeam:
        if (m_nSForcUnit == 0) {
            // Per member the slab members' own moments are shown.
            run("MakeSBForcDataListMemb", &CForceEngine::MakeSBForcDataListMemb);
            return m_bSForcData;
        }
        if (m_nSForcUnit == 1 && run("MakeSBForcDataList", &CForceEngine::MakeSBForcDataList)) finishStrips();
        return m_bCLForcData;
    case kFigColumnForce:
        run("MakeCForcDataList4Figure", &CForceEngine::MakeCForcDataList4Figure);
        return m_bCForcData4Figure;
    default:
        return 0;
    }
}

// ---- accessors -------------------------------------------------------------------------------

int CForceEngine::GetSlabForceMemb(UINT nKey, UINT) const {
    UINT value = 0;
    return m_mapSForcMemb.Lookup(nKey, value) ? 1 : 0;
}

void CForceEngine::GetCForcData(CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&>& out) const { out.Copy(m_arrCForc4Figure); }

int CForceEngine::IsPossibleBForc(const T_PMEMB_D& memb) {
    return CPVXAttrCtrl::IsBeamElemType(memb.type) || CPVXAttrCtrl::IsElemType204(memb.type) ? 1 : 0;
}

int CForceEngine::IsPossibleBForc(const T_PELEM_D& elem) { return elem.kind == PELEM_KIND_FRAME ? 1 : 0; }

int CForceEngine::IsFrameForceMember(UINT nKey, const T_PMEMB_D& memb) const {
    if (CPVXAttrCtrl::IsColumnElemType(memb.type)) return m_mapCForc.PLookup(nKey) ? 1 : 0;
    return IsPossibleBForc(memb);
}
