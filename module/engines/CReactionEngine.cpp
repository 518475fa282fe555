// CReactionEngine: construction, import, values, lookups and the two data builders.
#include "module/engines/CReactionEngine.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <unordered_map>
#include <utility>

#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/CPostCtrl.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CPlotReactionEng.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CView.h"
#include "platform/ui/CWaitCursor.h"
#include "module/contour/KeyedExtremes.h"

namespace reactionengine {

// Running extremes of one build with the key of each; named, as the engine's RContrBuild holds one.
struct Extremes {
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    bool bFound = false;

    void Add(double v, UINT key) {
        bFound = true;
        contour::TakeExtremes(v, v, key, dMax, nMaxKey, dMin, nMinKey);
    }
};

}  // namespace reactionengine

namespace {

constexpr double kReactionTiny = 1e-15;  // a governing value this close to 0 counts as 1
constexpr int kArrowPixelDivisor = 30; // arrows scale to (client width + height) / 30 pixels
constexpr double kRContrDivisor = 20.0;

CDataBase* PostDB(CDBDoc* pDoc) { return pDoc && pDoc->GetMDBCtrl() ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr; }

// Copies every entry of src into dst, dst emptied first.
template <class V, class A>
void CopyMap(CMap<UINT, UINT, V, A>& dst, const CMap<UINT, UINT, V, A>& src) {
    dst.RemoveAll();
    POSITION pos = src.GetStartPosition();
    while (pos) {
        UINT key;
        V value;
        src.GetNextAssoc(pos, key, value);
        dst.SetAt(key, value);
    }
}

// The signed value of greatest magnitude (the first of equal magnitudes) over a run of values.
struct SignedExtreme {
    double dValue = 0.0;
    bool bSet = false;
    void Add(double v) {
        if (!bSet || std::fabs(v) > std::fabs(dValue)) dValue = v;
        bSet = true;
    }
};

}  // namespace

void MakeBeamPressureRecord(const double d[5], T_STRG_D& rec) {
    rec.Initialize();
    for (int k = 0; k < 8; ++k) {
        double s, e;
        if (k % 2 == 0) {
            s = d[k / 2];
            e = 0.5 * (d[k / 2] + d[k / 2 + 1]);
        } else {
            s = 0.5 * (d[(k - 1) / 2] + d[(k + 1) / 2]);
            e = d[(k + 1) / 2];
        }
        rec.d[12 * k] = s;
        rec.d[12 * k + 6] = e;
    }
}

// ---- construction and import ------------------------------------------------------------------

CReactionEngine::CReactionEngine(I_PVXModelBase* pModel)
    : m_bDataReady(0),
      m_nMode(-1),
      m_bSuppressReac(0),
      m_nComponent(COMP_FZ),
      m_nAxis1(0),
      m_nAxis2(0),
      m_dMaxValue(0.0),
      m_dMinValue(0.0),
      m_dReacAdjustFactor(1.0),
      m_dRContrAdjustFactor(1.0),
      m_dArrowScale(1.0),
      m_nDataKind(KIND_CONTOUR),
      m_nMembKind(MEMB_RAFT),
      m_nMaxNode(0),
      m_nMinNode(0),
      m_mapBeamPress(10),
      m_mapElemExtreme(10),
      m_mapReac(10) {
    m_pModel = pModel;
    m_mapBeamPress.InitHashTable(kMapBuckets);
    m_mapElemExtreme.InitHashTable(kMapBuckets);
    m_mapReac.InitHashTable(kMapBuckets);
}

CReactionEngine::~CReactionEngine() {
    delete m_pPlotEngine;
    m_pPlotEngine = nullptr;
}

CPlotReactionEng* CReactionEngine::GetPlotEngine() const { return static_cast<CPlotReactionEng*>(m_pPlotEngine); }

void CReactionEngine::ImportEngine(CReactionEngine* pSrc) {
    if (!pSrc || pSrc == this) return;
    CEngineBase::ImportEngine(pSrc);
    // The colour scale is copied when the source has one; an engine keeps its own otherwise
    // (the bars' editing engine is made with one before it takes the model's engine over).
    if (pSrc->m_pContourEngine) {
        if (m_pContourEngine)
            *m_pContourEngine = *pSrc->m_pContourEngine;
        else
            m_pContourEngine = new CContourEngine(*pSrc->m_pContourEngine);
    }
    m_bGradient = pSrc->m_bGradient;
    m_bCuttingLine = pSrc->m_bCuttingLine;
    if (!m_pModel) m_pModel = pSrc->m_pModel;
    m_bDataReady = pSrc->m_bDataReady;
    m_nMode = pSrc->m_nMode;
    m_bSuppressReac = pSrc->m_bSuppressReac;
    m_nComponent = pSrc->m_nComponent;
    m_nAxis1 = pSrc->m_nAxis1;
    m_nAxis2 = pSrc->m_nAxis2;
    m_dMaxValue = pSrc->m_dMaxValue;
    m_dMinValue = pSrc->m_dMinValue;
    m_dReacAdjustFactor = pSrc->m_dReacAdjustFactor;
    m_dArrowScale = pSrc->m_dArrowScale;
    m_nDataKind = pSrc->m_nDataKind;
    m_nMembKind = pSrc->m_nMembKind;
    m_nMaxNode = pSrc->m_nMaxNode;
    m_nMinNode = pSrc->m_nMinNode;
    m_strMaxLoadCase = pSrc->m_strMaxLoadCase;
    m_strMinLoadCase = pSrc->m_strMinLoadCase;
    m_dLegendMax = pSrc->m_dLegendMax;
    m_dLegendMin = pSrc->m_dLegendMin;
    m_arrPickedNode.Copy(pSrc->m_arrPickedNode);
    m_arrNodeKey.Copy(pSrc->m_arrNodeKey);
    m_arrElemCenter.Copy(pSrc->m_arrElemCenter);
    m_arrContrElem.Copy(pSrc->m_arrContrElem);
    // The copy holds exactly the source's records: an entry left from an earlier build of this
    // engine would colour a face with a pressure of another load.
    CopyMap(m_mapBeamPress, pSrc->m_mapBeamPress);
    CopyMap(m_mapElemExtreme, pSrc->m_mapElemExtreme);
    CopyMap(m_mapReac, pSrc->m_mapReac);
}

// ---- values ------------------------------------------------------------------------------------

double CReactionEngine::CalcReacValue(T_REAC_D& r) {
    switch (m_nComponent) {
    case COMP_FX: return r.FX;
    case COMP_FY: return r.FY;
    case COMP_FZ: return r.FZ;
    case COMP_MX: return r.MX;
    case COMP_MY: return r.MY;
    case COMP_MZ: return r.MZ;
    default: return 0.0;
    }
}

double CReactionEngine::CalcReacValue(int nComp, T_REAC_D& r) {
    switch (nComp) {
    case COMP_FX: return r.FX;
    case COMP_FY: return r.FY;
    case COMP_FZ: return r.FZ;
    case COMP_FXYZ: return std::sqrt(r.FZ * r.FZ + r.FY * r.FY + r.FX * r.FX);
    case COMP_MX: return r.MX;
    case COMP_MY: return r.MY;
    case COMP_MZ: return r.MZ;
    case COMP_MXYZ: return std::sqrt(r.MZ * r.MZ + r.MY * r.MY + r.MX * r.MX);
    default: return 0.0;
    }
}

double CReactionEngine::CalcMaxReacForce(T_REAC_D& r) {
    return std::max({std::fabs(r.FX), std::fabs(r.FY), std::fabs(r.FZ)});
}

double CReactionEngine::CalcMaxReacMoment(T_REAC_D& r) {
    return std::max({std::fabs(r.MX), std::fabs(r.MY), std::fabs(r.MZ)});
}

// ---- lookups -----------------------------------------------------------------------------------

int CReactionEngine::GetReacData(UINT nNode, T_REAC_D& r) {
    if (m_mapReac.Lookup(nNode, r)) return 1;
    r.Initialize();
    return 0;
}

void CReactionEngine::GetReacDataOf(const UINT* nodes, size_t n, std::vector<T_REAC_D>& out) {
    T_REAC_D zero;
    zero.Initialize();
    out.assign(n, zero);
    UINT maxKey = 0;
    for (size_t i = 0; i < n; ++i) maxKey = std::max(maxKey, nodes[i]);
    // Sixteen neighbouring keys share a hash and so a chain: for a good share of the map's keys
    // within a compact range, one walk over the map into a table by key beats a chain walk per
    // key. Fewer keys, or keys spread far, are looked up one by one.
    const size_t count = static_cast<size_t>(m_mapReac.GetCount());
    if (n < 256 || 4 * n < count || maxKey > 16 * n + 4096) {
        for (size_t i = 0; i < n; ++i) GetReacData(nodes[i], out[i]);
        return;
    }
    std::vector<int> at(static_cast<size_t>(maxKey) + 1, -1);  // a key's first place in nodes
    for (size_t i = 0; i < n; ++i)
        if (at[nodes[i]] < 0) at[nodes[i]] = static_cast<int>(i);
    UINT key = 0;
    T_REAC_D r;
    for (POSITION pos = m_mapReac.GetStartPosition(); pos;) {
        m_mapReac.GetNextAssoc(pos, key, r);
        if (key <= maxKey && at[key] >= 0) out[static_cast<size_t>(at[key])] = r;
    }
    for (size_t i = 0; i < n; ++i) {
        const int j = at[nodes[i]];
        if (j != static_cast<int>(i)) out[i] = out[static_cast<size_t>(j)];
    }
}

void CReactionEngine::GetReacValuesOf(int nComp, const UINT* nodes, size_t n, std::vector<double>& out) {
    out.resize(n);
    const auto& map = std::as_const(m_mapReac);
    KeptValues& k = m_keptValues;
    if (!k.bBuilt || k.nVersion != map.GetVersion() || k.nComp != nComp) {
        k.bBuilt = true;
        k.nVersion = map.GetVersion();
        k.nComp = nComp;
        T_REAC_D zero;
        zero.Initialize();
        k.absent = CalcReacValue(nComp, zero);
        k.byKey.clear();
        UINT maxKey = 0;
        for (const auto* a = map.PGetFirstAssoc(); a; a = map.PGetNextAssoc(a)) maxKey = std::max(maxKey, a->key);
        // A table by key pays for keys within a compact range (a node's key indexes it).
        const size_t count = static_cast<size_t>(map.GetCount());
        k.bDense = count > 0 && maxKey <= 16 * count + 4096;
        if (k.bDense) {
            k.byKey.assign(static_cast<size_t>(maxKey) + 1, k.absent);
            for (const auto* a = map.PGetFirstAssoc(); a; a = map.PGetNextAssoc(a)) {
                T_REAC_D r = a->value;
                k.byKey[a->key] = CalcReacValue(nComp, r);
            }
        } else {
            k.byKey.shrink_to_fit();
        }
    }
    if (k.bDense || map.GetCount() == 0) {
        const double* v = k.byKey.data();
        const size_t size = k.byKey.size();
        for (size_t i = 0; i < n; ++i) out[i] = nodes[i] < size ? v[nodes[i]] : k.absent;
        return;
    }
    thread_local std::vector<T_REAC_D> recs;
    GetReacDataOf(nodes, n, recs);
    for (size_t i = 0; i < n; ++i) out[i] = CalcReacValue(nComp, recs[i]);
}

int CReactionEngine::GetReacForce(UINT nNode, T_REAC_D& r) { return m_mapReac.Lookup(nNode, r) ? 1 : 0; }

int CReactionEngine::GetReacForce_Beam(UINT nElem, T_STRG_D& r) { return m_mapBeamPress.Lookup(nElem, r) ? 1 : 0; }

int CReactionEngine::GetReacForce_Contr(UINT nElem, double& d) { return m_mapElemExtreme.Lookup(nElem, d) ? 1 : 0; }

int CReactionEngine::GetReac(UINT nNode, T_REAC_D* p0, T_REAC_D* p1, T_REAC_D* p2) {
    CDBDoc* pDoc = m_pDBDoc ? m_pDBDoc : CDBDoc::m_pDBDoc;
    if (!pDoc || !pDoc->GetPostCtrl()) return 0;
    const int nFound = pDoc->GetPostCtrl()->GetReac(nNode, p0, p1, p2);
    return m_bSuppressReac ? 0 : nFound;
}

int CReactionEngine::IsPossibleRContr(UINT nElem) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->GetAttrCtrl()) return 0;
    T_PELEM_D elem;
    elem.Initialize();
    if (!pModel->GetAttrCtrl()->GetElem(nElem, elem)) return 0;
    if (CClassPElem::IsSuperElemElemResult(elem)) return 1;
    return CClassPElem::IsPlate(elem.type) ? 1 : 0;
}

int CReactionEngine::GetLCList(CArray<T_SELECTEDLOAD, T_SELECTEDLOAD&>& list) {
    list.RemoveAll();
    CDataBase* pDB = PostDB(m_pDBDoc ? m_pDBDoc : CDBDoc::m_pDBDoc);
    if (!pDB) return 0;
    CClassPStld cases;
    CClassPLcom combs;
    if (!cases.ConnectToDB(pDB) || !combs.ConnectToDB(pDB)) return 0;
    CArray<UINT, UINT> keys;
    cases.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PSTLD_D lc;
        if (!cases.Get(keys[i], lc) || lc.type != PLOAD_STATIC) continue;
        T_SELECTEDLOAD s{1, keys[i], 0};
        list.Add(s);
    }
    combs.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_SELECTEDLOAD s{9, keys[i], 0};
        list.Add(s);
    }
    list.FreeExtra();
    return 1;
}

int CReactionEngine::MakeNodeData4Output(CArray<UINT, UINT&>& keys, CArray<C3DPoint, C3DPoint&>& points) {
    keys.RemoveAll();
    points.RemoveAll();
    I_PVXModel* pModel = GetModel();
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    // Each node with its own position (the element centre list belongs to the element list,
    // not to the nodes).
    for (INT_PTR i = 0; i < m_arrNodeKey.GetSize(); ++i) {
        T_PNODE_D node;
        node.Initialize();
        if (!pAttr || !pAttr->GetNode(m_arrNodeKey[i], node)) continue;
        UINT key = m_arrNodeKey[i];
        C3DPoint pt(node.x, node.y, node.z);
        keys.Add(key);
        points.Add(pt);
    }
    return 1;
}

int CReactionEngine::RotatebyLocalCoord(UINT, T_PNODE_D, C3DPoint&) { return 1; }

// ---- scale factors -----------------------------------------------------------------------------

void CReactionEngine::InitReacAdjustFactor() {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pPVXCtrl) return;
    const CRect rc = pModel->m_pPVXCtrl->GetClientRect();
    const int nPixels = (rc.Width() + rc.Height()) / kArrowPixelDivisor;
    double m = std::max(std::fabs(m_dMaxValue), std::fabs(m_dMinValue));
    if (m < kReactionTiny) m = 1.0;
    m_dReacAdjustFactor = std::fabs(pModel->m_pPVXCtrl->GetWorldLength(nPixels)) / m;
}

void CReactionEngine::InitRContrAdjustFactor(double v) {
    I_PVXModel* pModel = GetModel();
    double dExtent = 0.0;
    C3DPoint lo, hi;
    if (pModel && pModel->GetRangeModel(&lo, &hi, 1))
        dExtent = std::max({hi.x - lo.x, hi.y - lo.y, hi.z - lo.z});
    if (v > -kReactionTiny && v < kReactionTiny) v = 1.0;
    m_dRContrAdjustFactor = dExtent / (std::fabs(v) * kRContrDivisor);
}

// ---- drawing entries ---------------------------------------------------------------------------

int CReactionEngine::BeginPlotEng(CDC* pDC) {
    delete m_pPlotEngine;
    m_pPlotEngine = new CPlotReactionEng(this, pDC);
    return 1;
}

int CReactionEngine::EndPlotEng() {
    if (!m_pPlotEngine) return 0;
    delete m_pPlotEngine;
    m_pPlotEngine = nullptr;
    return 1;
}

int CReactionEngine::DrawReactionValueNew() {
    I_PVXModel* pModel = GetModel();
    if (!m_pPlotEngine || !pModel) return -1;
    return m_pPlotEngine->Draw(pModel->m_nDisplayMode);
}

void CReactionEngine::OutputNumbersNew() {
    I_PVXModel* pModel = GetModel();
    if (m_pPlotEngine && pModel) m_pPlotEngine->OutputNumbers(pModel->m_nDisplayMode);
}

// ---- builders ----------------------------------------------------------------------------------

int CReactionEngine::InitEngine(CDeformEngine*, int nMode) {
    m_bDataReady = 0;
    m_nMode = nMode == -1 ? CPVXBarContainerBase::m_nCurrentMode : nMode;
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    pModel->SelectLoad();
    if (m_nDataKind == KIND_CONTOUR)
        MakeRContrDataList();
    else if (m_nDataKind == KIND_REACTION || m_nDataKind == KIND_REVERSED)
        MakeReacDataList();
    return m_bDataReady;
}

void CReactionEngine::ClearBuiltData() {
    m_arrNodeKey.RemoveAll();
    m_arrElemCenter.RemoveAll();
    m_arrContrElem.RemoveAll();
    m_mapBeamPress.RemoveAll();
    m_mapElemExtreme.RemoveAll();
    m_mapReac.RemoveAll();
}

int CReactionEngine::LoadSlot() const {
    const I_PVXModel* pModel = GetModel();
    const int nStep = pModel ? pModel->m_nLoadStep : 0;
    return nStep == 2 ? 1 : nStep == 3 ? 2 : 0;
}

void CReactionEngine::MakeReacDataList() {
    m_dLegendMax = -DBL_MAX;
    m_dLegendMin = DBL_MAX;
    I_PVXModel* pModel = GetModel();
    auto nothingFound = [&] {
        // Defined extremes for the legend and the numbers, also when the load has no results.
        m_dMaxValue = m_dMinValue = 0.0;
        m_dLegendMax = m_dLegendMin = 0.0;
        m_nMaxNode = m_nMinNode = 0;
        if (pModel) pModel->m_nMaxKey = pModel->m_nMinKey = 0;
        m_bDataReady = 0;
    };
    if (!pModel || !pModel->m_bResultDataReady) {
        ClearBuiltData();
        nothingFound();
        return;
    }
    CWaitCursor wait;
    m_dMaxValue = DBL_MAX;
    m_dMinValue = 0.0;
    m_nMaxNode = m_nMinNode = 0;
    if (m_nComponent != COMP_FXYZ && m_nComponent != COMP_MXYZ) {
        const int nAxis = m_nComponent % 4;
        m_nAxis1 = m_nAxis2 = nAxis;
    }
    ClearBuiltData();

    CDataBase* pDB = PostDB(m_pDBDoc ? m_pDBDoc : pModel->GetDBDoc());
    CClassPRtnd supports;
    if (!pDB || !supports.ConnectToDB(pDB)) return;
    CMap<UINT, UINT, UINT, UINT> supportSet;
    supportSet.InitHashTable(kMapBuckets);
    supports.GetPNodeKeyMapByType(supportSet, m_nDataKind);

    const int nSlot = LoadSlot();
    const bool bResultant = m_nComponent == COMP_FXYZ || m_nComponent == COMP_MXYZ;
    reactionengine::Extremes run;
    auto widenLegend = [&](double v) {
        if (v > m_dLegendMax) m_dLegendMax = v;
        if (v < m_dLegendMin) m_dLegendMin = v;
    };
    for (INT_PTR i = 0; i < pModel->m_arrAllNodeKey.GetSize(); ++i) {
        const UINT nNode = pModel->m_arrAllNodeKey[i];
        UINT dummy;
        // A shown part takes the supports at its own level only.
        if (!supportSet.Lookup(nNode, dummy) || !pModel->IsNumberedSupport(nNode)) continue;
        T_REAC_D r;
        r.Initialize();
        if (!GetReac(nNode, nSlot == 0 ? &r : nullptr, nSlot == 1 ? &r : nullptr, nSlot == 2 ? &r : nullptr)) continue;
        if (bResultant) {
            const double c[3] = {m_nComponent == COMP_FXYZ ? r.FX : r.MX, m_nComponent == COMP_FXYZ ? r.FY : r.MY,
                                 m_nComponent == COMP_FXYZ ? r.FZ : r.MZ};
            if (c[0] == 0.0 && c[1] == 0.0 && c[2] == 0.0) continue;
            run.Add(CalcReacValue(m_nComponent, r), nNode);
            for (double v : c) widenLegend(v);
        } else {
            const double v = CalcReacValue(r);
            if (v == 0.0) continue;
            run.Add(v, nNode);
            widenLegend(v);
        }
        m_arrNodeKey.Add(nNode);
        m_mapReac.SetAt(nNode, r);
    }

    if (!run.bFound) {
        nothingFound();
        return;
    }
    m_dMaxValue = run.dMax;
    m_dMinValue = run.dMin;
    m_nMaxNode = run.nMaxKey;
    m_nMinNode = run.nMinKey;
    pModel->m_nMaxKey = m_nMaxNode;
    pModel->m_nMinKey = m_nMinNode;
    StartScale(m_dMinValue, m_dMaxValue);
    for (INT_PTR i = 0; i < m_arrNodeKey.GetSize(); ++i) {
        T_REAC_D r;
        GetReacData(m_arrNodeKey[i], r);
        m_pContourEngine->AddPecentRankMapData(CalcReacValue(m_nComponent, r), 1.0);
    }
    m_pContourEngine->FinishPecentRankMapData();
    m_bDataReady = 1;
}

void CReactionEngine::AddContrElem(UINT nElem, double dExtreme) {
    I_PVXModel* pModel = GetModel();
    T_PNODE_D centre;
    centre.Initialize();
    T_PELEM_D elem;
    elem.Initialize();
    if (pModel && pModel->GetAttrCtrl() && pModel->GetAttrCtrl()->GetElem(nElem, elem)) {
        int n = 0;
        for (int k = 0; k < std::min(elem.nNode, static_cast<int>(PELEM_MAX_NODE)); ++k) {
            T_PNODE_D node;
            node.Initialize();
            if (!pModel->GetAttrCtrl()->GetNode(elem.node[k], node)) continue;
            centre.x += node.x;
            centre.y += node.y;
            centre.z += node.z;
            ++n;
        }
        if (n > 0) {
            centre.x /= n;
            centre.y /= n;
            centre.z /= n;
        }
    }
    m_arrContrElem.Add(nElem);
    m_mapElemExtreme.SetAt(nElem, dExtreme);
    m_arrElemCenter.Add(centre);
}

// Pressures of one build: the running extremes and, per raft node, the sum and count of the
// values its elements give it.
struct CReactionEngine::RContrBuild {
    reactionengine::Extremes run;
    std::unordered_map<UINT, std::pair<double, int>> nodeSum;
};

void CReactionEngine::AddBeamPressure(UINT nMembKey, const T_PMEMB_D& memb,
                                      const CMap<UINT, UINT, UINT, UINT>& springs, RContrBuild& build) {
    CDBDoc* pDoc = m_pDBDoc ? m_pDBDoc : CDBDoc::m_pDBDoc;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    if (!pPost) return;
    const int nSlot = LoadSlot();
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i) {
        const UINT nElem = memb.aElem[i];
        UINT dummy;
        if (!springs.Lookup(nElem, dummy)) continue;
        T_STWS_D s;
        s.Initialize();
        if (!pPost->GetStws(nElem, nSlot == 0 ? &s : nullptr, nSlot == 1 ? &s : nullptr, nSlot == 2 ? &s : nullptr))
            continue;
        T_STRG_D rec;
        MakeBeamPressureRecord(s.d, rec);
        // Both ends of every segment count: a segment running from -8 to -4 has its minimum
        // at -8, and the element's extreme keeps the sign of its largest magnitude.
        SignedExtreme ext;
        for (int k = 0; k < 8; ++k)
            for (int e = 0; e < 2; ++e) {
                const double v = rec.d[12 * k + 6 * e];
                build.run.Add(v, nMembKey);
                ext.Add(v);
            }
        m_mapBeamPress.SetAt(nElem, rec);
        AddContrElem(nElem, ext.dValue);
    }
}

void CReactionEngine::AddRaftPressure(UINT nMembKey, const T_PMEMB_D& memb,
                                      const CMap<UINT, UINT, UINT, UINT>& springs, RContrBuild& build) {
    I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = m_pDBDoc ? m_pDBDoc : CDBDoc::m_pDBDoc;
    CPostCtrl* pPost = pDoc ? pDoc->GetPostCtrl() : nullptr;
    if (!pPost || !pModel || !pModel->GetAttrCtrl()) return;
    CPVXSElemCtrl se(PostDB(pDoc));
    const int nSlot = LoadSlot();
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i) {
        CArray<UINT, UINT> parts;
        se.GetModelElemKeys(memb.aElem[i], parts);
        for (INT_PTR p = 0; p < parts.GetSize(); ++p) {
            const UINT nElem = parts[p];
            UINT dummy;
            if (!springs.Lookup(nElem, dummy)) continue;
            T_STWS_D s;
            s.Initialize();
            if (!pPost->GetStws(nElem, nSlot == 0 ? &s : nullptr, nSlot == 1 ? &s : nullptr,
                                nSlot == 2 ? &s : nullptr))
                continue;
            T_PELEM_D elem;
            elem.Initialize();
            if (!pModel->GetAttrCtrl()->GetElem(nElem, elem)) continue;
            const int nNode = std::min({elem.nNode, static_cast<int>(PELEM_MAX_NODE),
                                        static_cast<int>(sizeof(s.d) / sizeof(s.d[0]))});
            SignedExtreme ext;
            for (int j = 0; j < nNode; ++j) {
                T_REAC_D r;
                r.Initialize();
                r.FZ = s.d[j];
                const double v = CalcReacValue(r);
                build.run.Add(v, nMembKey);
                ext.Add(v);
                // A node shared by several elements takes the mean of what they give it.
                auto it = build.nodeSum.find(elem.node[j]);
                if (it == build.nodeSum.end()) {
                    build.nodeSum.emplace(elem.node[j], std::make_pair(s.d[j], 1));
                    m_arrNodeKey.Add(elem.node[j]);
                } else {
                    it->second.first += s.d[j];
                    ++it->second.second;
                }
            }
            AddContrElem(nElem, ext.dValue);
        }
    }
}

int CReactionEngine::MakeRContrDataList() {
    I_PVXModel* pModel = GetModel();
    CWaitCursor wait;
    m_dLegendMax = -DBL_MAX;
    m_dLegendMin = DBL_MAX;
    auto nothingFound = [&] {
        m_dMaxValue = m_dMinValue = 0.0;
        m_dLegendMax = m_dLegendMin = 0.0;
        m_nMaxNode = m_nMinNode = 0;
        if (pModel) pModel->m_nMaxKey = pModel->m_nMinKey = 0;
        m_bDataReady = 0;
        return 0;
    };
    ClearBuiltData();
    if (!pModel || !pModel->m_bResultDataReady) return nothingFound();

    CDataBase* pDB = PostDB(m_pDBDoc ? m_pDBDoc : pModel->GetDBDoc());
    CClassPElem elems;
    CClassPEspr springTable;
    if (!pDB || !elems.ConnectToDB(pDB) || !springTable.ConnectToDB(pDB)) return nothingFound();
    CArray<T_PESPR_D, T_PESPR_D&> springList;
    springTable.GetList(springList);
    CMap<UINT, UINT, UINT, UINT> springs;
    springs.InitHashTable(kMapBuckets);
    for (INT_PTR i = 0; i < springList.GetSize(); ++i) springs.SetAt(springList[i].elem, springList[i].elem);
    if (springs.IsEmpty()) return nothingFound();

    RContrBuild build;
    const int nWantedType = m_nMembKind == MEMB_RAFT ? 301 : 201;
    for (INT_PTR i = 0; i < pModel->m_arrAllMembKey.GetSize(); ++i) {
        const UINT nMemb = pModel->m_arrAllMembKey[i];
        T_PMEMB_D memb;
        if (!pModel->GetAttrCtrl() || !pModel->GetAttrCtrl()->GetMemb(nMemb, memb)) continue;
        if (memb.type != nWantedType || !pModel->IsNumberedMemb(nMemb)) continue;
        if (nWantedType == 201)
            AddBeamPressure(nMemb, memb, springs, build);
        else
            AddRaftPressure(nMemb, memb, springs, build);
    }

    // Raft nodes: the pressure as FZ, the mean over the elements that share the node.
    for (INT_PTR i = 0; i < m_arrNodeKey.GetSize(); ++i) {
        const auto& sum = build.nodeSum[m_arrNodeKey[i]];
        T_REAC_D r;
        r.Initialize();
        r.FZ = sum.first / sum.second;
        m_mapReac.SetAt(m_arrNodeKey[i], r);
    }

    if (!build.run.bFound) {
        ClearBuiltData();
        return nothingFound();
    }
    m_dMaxValue = build.run.dMax;
    m_dMinValue = build.run.dMin;
    m_nMaxNode = build.run.nMaxKey;
    m_nMinNode = build.run.nMinKey;
    m_dLegendMax = m_dMaxValue;
    m_dLegendMin = m_dMinValue;
    pModel->m_nMaxKey = m_nMaxNode;
    pModel->m_nMinKey = m_nMinNode;
    InitRContrAdjustFactor(std::fabs(m_dMaxValue) >= std::fabs(m_dMinValue) ? m_dMaxValue : m_dMinValue);
    StartScale(m_dMinValue, m_dMaxValue);
    if (m_nMembKind == MEMB_RAFT) {
        for (INT_PTR i = 0; i < m_arrNodeKey.GetSize(); ++i) {
            T_REAC_D r;
            GetReacData(m_arrNodeKey[i], r);
            m_pContourEngine->AddPecentRankMapData(CalcReacValue(m_nComponent, r), 1.0);
        }
    } else {
        for (INT_PTR i = 0; i < m_arrContrElem.GetSize(); ++i) {
            T_STRG_D rec;
            if (!m_mapBeamPress.Lookup(m_arrContrElem[i], rec)) continue;
            for (int k = 0; k < 8; ++k) m_pContourEngine->AddPecentRankMapData(rec.d[12 * k], 1.0 / 9.0);
            m_pContourEngine->AddPecentRankMapData(rec.d[12 * 7 + 6], 1.0 / 9.0);
        }
    }
    m_pContourEngine->FinishPecentRankMapData();
    m_bDataReady = 1;
    return 1;
}
