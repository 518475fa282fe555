// CForceEngine: the slab force lists of display mode 16 and the small slab operations that the
// rebar, crack, slab-wall, strip and slab-beam code share.
//
// Per element, each analysis element of every active slab member (types 301, 302, 305) gives one
// T_STRP_DL record, turned from the element's local axes into the member's rebar axes (X rebar, Y rebar,
// up). With the envelope load type 12 the record is enveloped over the combinations that the bars'
// current mode names (a number of linear combinations counted from the first), the maximum and
// minimum kept apart. The legend spans the corner extremes of the sides shown; the colour levels
// of one side run from zero. Per member the list holds the slab members whose moments the host
// keeps; the range is that of the numbers written for the sides shown.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>
#include <vector>

#include "host/base/CMathFunc.h"
#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/db/DBTables.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/KeyedRange.h"
#include "module/force/CForceEngine.h"
#include "module/force/ForceShared.h"
#include "module/force/SlabValuePicker.h"
#include "module/engines/OptionScope.h"
#include "platform/ui/CWaitCursor.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXSElemCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"

namespace {

constexpr int kSlabCornerBlocks = slabforce::kCornerBlocks;
using forceshared::kEnvelopeLoad;
using forceshared::SlotOfLoadStep;
constexpr int kEnvelopedDoubles = 28;  // of each block, doubles 0..27 are enveloped

static_assert(CForceEngine::kSForcCompCount == 9, "the selectors of slabforce::ComponentPosition");
int SlabPosition(int nComp) { return slabforce::ComponentPosition(nComp); }

int SlabCornerCount(int n) { return n < 0 ? 0 : std::min(n, kSlabCornerBlocks); }

CPostCtrl* PostOf(const I_PVXModel* pModel) {
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    return pDoc ? pDoc->GetPostCtrl() : nullptr;
}

CDataBase* PostDBOf(const I_PVXModel* pModel) {
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    return pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
}

// Envelope start values: doubles that are enveloped set to v, the rest 0.
void FillEnvelope(T_STRP_DL& rec, double v) {
    rec.Initialize();
    for (double& d : rec.head) d = v;
    for (auto& b : rec.blk)
        for (int i = 0; i < kEnvelopedDoubles; ++i) b[i] = v;
}

void FoldEnvelope(T_STRP_DL& hi, T_STRP_DL& lo, const T_STRP_DL& v) {
    for (int i = 0; i < 24; ++i) {
        if (v.head[i] > hi.head[i]) hi.head[i] = v.head[i];
        if (v.head[i] < lo.head[i]) lo.head[i] = v.head[i];
    }
    for (int b = 0; b < 5; ++b)
        for (int i = 0; i < kEnvelopedDoubles; ++i) {
            if (v.blk[b][i] > hi.blk[b][i]) hi.blk[b][i] = v.blk[b][i];
            if (v.blk[b][i] < lo.blk[b][i]) lo.blk[b][i] = v.blk[b][i];
        }
}

// f(member key, value) for each number mode 16 writes per member, in list order: with the positive
// side the side moments and the two centre moments, with the negative side the side moments.
template <class F>
void ForEachSMembValue(const CForceEngine& e, F f) {
    CArray<double, double> pos, neg;
    for (INT_PTR i = 0; i < e.m_arrElemKey.GetSize(); ++i) {
        const UINT key = e.m_arrElemKey[i];
        double cx = 0.0, cy = 0.0;
        if (!e.GetSmnt(key, pos, neg, cx, cy)) continue;
        if (e.m_bSForcPos) {
            for (INT_PTR k = 0; k < pos.GetSize(); ++k) f(key, pos[k]);
            f(key, cx);
            f(key, cy);
        }
        if (e.m_bSForcNeg)
            for (INT_PTR k = 0; k < neg.GetSize(); ++k) f(key, neg[k]);
    }
}

}  // namespace

// ---- value pickers ------------------------------------------------------------------------------

double CForceEngine::CalcSForcValue(const T_STRP_DL& rec, int nBlock) const {
    return slabforce::ValuePicker(m_nSForcComp)(rec, nBlock);
}

void CForceEngine::SetSForcComponent(T_STRP_DL& rec, int nBlock, double dValue) const {
    if (nBlock < 0 || nBlock > kSlabCornerBlocks) return;
    const int pos = SlabPosition(m_nSForcComp);
    if (pos >= 0) rec.blk[nBlock][pos] = dValue;
}

double CForceEngine::GetMaxElemSForc(const T_STRP_DL& rec, int n) const {
    double v = -DBL_MAX;
    for (int b = 1; b <= SlabCornerCount(n); ++b) v = std::max(v, CalcSForcValue(rec, b));
    return v;
}

double CForceEngine::GetMinElemSForc(const T_STRP_DL& rec, int n) const {
    double v = DBL_MAX;
    for (int b = 1; b <= SlabCornerCount(n); ++b) v = std::min(v, CalcSForcValue(rec, b));
    return v;
}

// ---- small slab operations -------------------------------------------------------------------------

int CForceEngine::IsPossibleSForc(UINT nElemKey) const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pAttrCtrl) return 0;
    T_PELEM_D elem;
    return pModel->m_pAttrCtrl->GetElem(nElemKey, elem) ? IsPossibleSForc(elem) : 0;
}

int CForceEngine::IsPossibleSForc(T_PELEM_D& elem) {
    if (CPVXSElemCtrl::IsSuperElem(elem) && !CPVXAttrCtrl::IsNormalElemResult(elem)) return 1;
    return CPVXAttrCtrl::IsPlate(elem.type) ? 1 : 0;
}

int CForceEngine::IsLoadCombination() const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    const UINT t = pModel->m_nLoadType;
    return t == 10 || t == 11 || t == 12 ? 1 : 0;
}

int CForceEngine::GetSmnt(UINT nMembKey, CArray<double, double>& pos, CArray<double, double>& neg, double& dCentreX,
                          double& dCentreY) const {
    CPostCtrl* pPost = PostOf(GetModel());
    T_SMNT_D rec;
    if (!pPost || !pPost->GetSmnt(nMembKey, rec)) {
        pos.RemoveAll();
        neg.RemoveAll();
        return 0;
    }
    pos.Copy(rec.aPos);
    neg.Copy(rec.aNeg);
    dCentreX = rec.centreX;
    dCentreY = rec.centreY;
    return 1;
}

int CForceEngine::GetSlabResultType(UINT nMembKey) const {
    CClassPSlab slabs;
    slabs.ConnectToDB(PostDBOf(GetModel()));
    T_PSLAB_D slab;
    return slabs.Get(nMembKey, slab) ? slab.resultType : -1;
}

int CForceEngine::GetRebarDirVector(UINT nMembKey, double dirX[2], double dirY[2]) const {
    const I_PVXModel* pModel = GetModel();
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    T_SDIR_D dir;
    dir.Initialize();
    if (pDoc) {
        CClassSdir table;
        table.ConnectToDB(pDoc->GetMDBCtrl()->GetTempMainDB());
        table.GetByPMembK(nMembKey, dir);
    }
    const double a = (dir.sel == 0 ? dir.angle1 : dir.angle2) * CMathFunc::m_trrad;
    // X along the angle, folded into the half-plane x >= 0 (the direction of a rebar has no
    // sense); Y square to it, counter-clockwise, so that X, Y and the upward normal make a
    // right-handed set whatever the angle and the twisting moments keep their sign.
    double x = std::cos(a), y = std::sin(a);
    if (x < 0.0 || (x == 0.0 && y < 0.0)) {
        x = -x;
        y = -y;
    }
    dirX[0] = x;
    dirX[1] = y;
    dirY[0] = -y;
    dirY[1] = x;
    return 1;
}

int CForceEngine::GetSlabEnvelopeCombs(int& nKind, int& nFirst, int& nCount) const {
    nKind = 10;
    nFirst = 1;
    switch (CPVXBarContainerBase::m_nCurrentMode) {
    case PVXMode::kSlabForce: nCount = m_nSForcLcomCount; return 1;
    case PVXMode::kSlabRebar: nCount = m_nSRbarType10Count; return 1;
    case PVXMode::kSlabCrack:
        nKind = 11;
        nFirst = m_nSRbarTotalLcom + 1;
        nCount = m_nSCracLcomCount;
        return 1;
    default: nCount = 0; return 0;
    }
}

// ---- per-element lists ------------------------------------------------------------------------------

int CForceEngine::MakeSForcDataList() {
    // The records of the last build serve while nothing they were built from has changed: only
    // the legend, extremes and scale are made again (they also follow the sides shown).
    if (KeptListsServe(PVXMode::kSlabForce)) {
        if (!MakeSForcDataList_MnMx() || m_mapSForc.GetCount() == 0) return 0;
        m_bSForcData = 1;
        return 1;
    }
    ForgetKeptLists();
    CWaitCursor wait;
    m_arrElemKey.RemoveAll();
    m_mapSForc.RemoveAll();
    m_mapSForcPos.RemoveAll();
    m_mapSForcNeg.RemoveAll();
    m_mapSbem.RemoveAll();
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    if (m_nSForcUnit != 0 && m_nSForcUnit != 1) return 0;
    CPVXAttrCtrl& attr = *pModel->m_pAttrCtrl;

    CPVXSElemCtrl ctrl;
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;
    CArray<UINT, UINT> resultKeys;
    T_PVX_SBEM_D sbem;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!attr.GetMemb(membs[i], memb)) return 0;
        // A shown part takes its own slabs only.
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type) || m_nSForcUnit == 0 || !pModel->IsNumberedMemb(membs[i]))
            continue;
        double dirX[2], dirY[2];
        GetRebarDirVector(membs[i], dirX, dirY);
        double rebar[3][3] = {{dirX[0], dirX[1], 0.0}, {dirY[0], dirY[1], 0.0}, {0.0, 0.0, 1.0}};
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            const UINT elemKey = memb.aElem[e];
            T_PELEM_D elem;
            if (!IsPossibleSForc(elemKey) || !attr.GetElem(elemKey, elem)) continue;
            resultKeys.RemoveAll();
            ctrl.GetSuperElemNodeKeys(elemKey, resultKeys);
            ctrl.GetSuperElemData(elemKey);
            for (INT_PTR r = 0; r < resultKeys.GetSize(); ++r) {
                const UINT key = resultKeys[r];
                if (!ctrl.GetSuperElemShapeNodes(key, sbem.m_arrNodeKey, &sbem.m_arrNode) ||
                    sbem.m_arrNodeKey.GetSize() < 3)
                    continue;
                // The element's own axes; an analysis element of a super element has no record
                // of its own, its axes come from its corners.
                double local[3][3];
                if (!attr.CalcPlaneLocalVector(key, local)) {
                    double pts[4][3];
                    const int n = static_cast<int>(std::min<INT_PTR>(sbem.m_arrNode.GetSize(), 4));
                    for (int k = 0; k < n; ++k) {
                        pts[k][0] = sbem.m_arrNode[k].x;
                        pts[k][1] = sbem.m_arrNode[k].y;
                        pts[k][2] = sbem.m_arrNode[k].z;
                    }
                    if (!CClassPElem::calcPlaneLocalVector(n, pts, local)) continue;
                }
                if (!MakeSForcDataList_Sub(key, local, rebar)) continue;
                sbem.m_nKey = key;
                m_mapSbem.SetAt(key, sbem);
            }
            ctrl.InitSuperElemRecords();
        }
    }

    if (m_bPAverageNodal) {
        GetAverageNodalSForcDataList();
        if (!m_bSkipActivePlateList) GetActivePlateList();
    }
    KeepLists(PVXMode::kSlabForce);
    if (!MakeSForcDataList_MnMx()) return 0;
    // A selected load alone is no data: the mode then shows the plain model.
    if (m_mapSForc.GetCount() == 0) return 0;
    m_bSForcData = 1;
    return 1;
}

int CForceEngine::MakeSForcDataList_Sub(UINT nKey, double local[3][3], double rebar[3][3]) {
    I_PVXModel* pModel = GetModel();
    CPostCtrl* pPost = PostOf(pModel);
    if (!pPost) return 0;
    auto turn = [&](T_STRP_DL& rec) {
        return pPost->ConvertStrpStress_UCS(local, rebar, rec) && pPost->ConvertStrpForce_UCS(local, rebar, rec);
    };

    if (pModel->m_nLoadType != kEnvelopeLoad) {
        const int nSlot = SlotOfLoadStep(pModel->m_nLoadStep);
        if (nSlot < 0) return 0;
        T_STRP_DL rec;
        rec.Initialize();
        T_STRP_DL* slots[3] = {nullptr, nullptr, nullptr};
        slots[nSlot] = &rec;
        if (!pPost->GetStrp_L(nKey, slots[0], slots[1], slots[2], 0) || !turn(rec)) return 0;
        m_arrElemKey.Add(nKey);
        m_mapSForc.SetAt(nKey, rec);
        return 1;
    }

    // The envelope over the combinations of the current mode. Without a combination to read
    // there is no envelope: the element is left out rather than stored with the start values.
    int nKind = 0, nFirst = 0, nCount = 0;
    if (!GetSlabEnvelopeCombs(nKind, nFirst, nCount) || nCount < 1) return 0;
    T_STRP_DL hi, lo, last;
    FillEnvelope(hi, -DBL_MAX);
    FillEnvelope(lo, DBL_MAX);
    last.Initialize();
    for (int i = 0; i < nCount; ++i) {
        const UINT number = static_cast<UINT>(nFirst + i);
        T_PLCOM_D lc;
        lc.Initialize();
        T_STRP_DL rec;
        rec.Initialize();
        if (!pPost->MakeLoadComb(static_cast<UINT>(nKind), pPost->GetLoadCombKeyByNumber(nKind, number), lc) ||
            !pPost->GetStrp_L_ByLcomb(nKey, &rec, nullptr, nullptr, lc, 0) || !turn(rec))
            return 0;
        FoldEnvelope(hi, lo, rec);
        last = rec;
    }
    m_arrElemKey.Add(nKey);
    m_mapSForc.SetAt(nKey, last);
    m_mapSForcPos.SetAt(nKey, hi);
    m_mapSForcNeg.SetAt(nKey, lo);
    return 1;
}

int CForceEngine::MakeSForcDataList_MnMx() {
    I_PVXModel* pModel = GetModel();
    const bool bEnvelope = pModel && pModel->m_nLoadType == kEnvelopeLoad;
    // The walk made of the same records, component, sides and list serves again.
    LegendMemo& memo = m_legendMemo;
    const std::vector<ULONGLONG> inputs = {
        PVXMode::kSlabForce,
        std::as_const(m_mapSForc).GetVersion(),
        std::as_const(m_mapSForcPos).GetVersion(),
        std::as_const(m_mapSForcNeg).GetVersion(),
        std::as_const(m_mapSbem).GetVersion(),
        static_cast<ULONGLONG>(m_nSForcComp),
        static_cast<ULONGLONG>(bEnvelope) | static_cast<ULONGLONG>(m_bSForcPos != 0) << 1 |
            static_cast<ULONGLONG>(m_bSForcNeg != 0) << 2};
    if (!memo.Serves(inputs, m_arrElemKey)) {
        MakeSForcLegendWalk(bEnvelope);
        memo.Keep(inputs, m_arrElemKey);
    }
    TakeLegendExtremes(memo);
    CContourEngine& s = StartScale(memo.dMin, memo.dMax);
    MakeSForcPosNegRange();
    memo.Weigh(s);
    return 1;
}

void CForceEngine::MakeSForcLegendWalk(bool bEnvelope) {
    LegendMemo& memo = m_legendMemo;
    double dAbsMax = 0.0;
    UINT nAbsMaxKey = 0;
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    bool bMax = false, bMin = false;
    // The records of the side shown: the last read, or with the envelope the maximum record
    // (positive side) and the minimum record (negative side); null for a side not shown.
    auto records = [&](const SlabRecordIndex::Entry& at, const T_STRP_DL*& pHi, const T_STRP_DL*& pLo) {
        pHi = pLo = nullptr;
        if (!bEnvelope) {
            const auto* p = at.rec;
            if (p) pHi = pLo = &p->value;
            return;
        }
        const auto* pPos = at.pos;
        const auto* pNeg = at.neg;
        if (!pPos || !pNeg) return;
        if (m_bSForcPos && m_bSForcNeg) {
            pHi = &pPos->value;
            pLo = &pNeg->value;
        } else if (m_bSForcPos) {
            pHi = pLo = &pPos->value;
        } else if (m_bSForcNeg) {
            pHi = pLo = &pNeg->value;
        }
    };
    // The records first (from the index), then one walk over them: the extremes, and the values the colour scale weighs once the
    // range is known. Every element weighs its centre and its four corner blocks once; with the
    // envelope both sides shown, both envelope records weigh in. The component is read straight
    // from the blocks, fetched a few records ahead: the records are far larger than the cache.
    using Shown = ShownSlabRecord;
    const SlabRecordIndex& index = SlabRecords();
    std::vector<Shown>& shown = m_shownSlabRecords;
    shown.clear();
    shown.reserve(index.keys.size());
    constexpr size_t kAhead = 16;
    for (size_t i = 0; i < index.keys.size(); ++i) {
        if (i + kAhead < index.keys.size()) __builtin_prefetch(index.entries[i + kAhead].sbem);
        const SlabRecordIndex::Entry& at = index.entries[i];
        const T_STRP_DL *pHi, *pLo;
        records(at, pHi, pLo);
        if (!pHi || !pLo) continue;
        const auto* pSbem = at.sbem;
        shown.push_back(
            Shown{index.keys[i], pHi, pLo, pSbem ? static_cast<int>(pSbem->value.m_arrNodeKey.GetSize()) : -1});
    }
    const slabforce::ValuePicker pick(m_nSForcComp);
    std::vector<double>& weighed = memo.values;
    weighed.clear();
    for (size_t i = 0; i < shown.size(); ++i) {
        if (i + kAhead < shown.size()) {
            pick.Prefetch(shown[i + kAhead].pHi);
            if (shown[i + kAhead].pLo != shown[i + kAhead].pHi) pick.Prefetch(shown[i + kAhead].pLo);
        }
        const Shown& r = shown[i];
        double hi[slabforce::kCornerBlocks + 1], lo[slabforce::kCornerBlocks + 1];
        for (int b = 0; b <= kSlabCornerBlocks; ++b) {
            hi[b] = pick(*r.pHi, b);
            weighed.push_back(hi[b]);
            if (r.pLo != r.pHi) weighed.push_back(lo[b] = pick(*r.pLo, b));
            else lo[b] = hi[b];
        }
        if (r.nNodes < 0) continue;
        // The corner extremes as GetMaxElemSForc and GetMinElemSForc take them.
        double v = -DBL_MAX, w = DBL_MAX;
        for (int b = 1; b <= SlabCornerCount(r.nNodes); ++b) v = std::max(v, hi[b]);
        for (int b = 1; b <= SlabCornerCount(r.nNodes); ++b) w = std::min(w, lo[b]);
        const UINT key = r.key;
        if (v > dMax) {
            dMax = v;
            nMaxKey = key;
            bMax = true;
        }
        if (w < dMin) {
            dMin = w;
            nMinKey = key;
            bMin = true;
        }
        if (std::fabs(v) > dAbsMax) {
            dAbsMax = std::fabs(v);
            nAbsMaxKey = key;
        }
        if (std::fabs(w) > dAbsMax) {
            dAbsMax = std::fabs(w);
            nAbsMaxKey = key;
        }
    }
    // With nothing taken (no element, or the envelope with neither side shown) the legend is
    // 0 to 0 rather than the start values.
    if (!bMax || !bMin) {
        dMax = dMin = 0.0;
        nMaxKey = nMinKey = 0;
    }
    memo.dMax = dMax;
    memo.dMin = dMin;
    memo.nMaxKey = nMaxKey;
    memo.nMinKey = nMinKey;
    memo.dAbsMax = dAbsMax;
    memo.nAbsMaxKey = nAbsMaxKey;
}

const CForceEngine::SlabRecordIndex& CForceEngine::SlabRecords() {
    SlabRecordIndex& x = m_slabIndex;
    const void* maps[4] = {&m_mapSForc, &m_mapSForcPos, &m_mapSForcNeg, &m_mapSbem};
    const ULONGLONG versions[4] = {m_mapSForc.GetLayoutVersion(), m_mapSForcPos.GetLayoutVersion(),
                                   m_mapSForcNeg.GetLayoutVersion(), m_mapSbem.GetLayoutVersion()};
    const size_t n = static_cast<size_t>(m_arrElemKey.GetSize());
    const UINT* keys = m_arrElemKey.GetData();
    if (x.built && std::equal(maps, maps + 4, x.maps) && std::equal(versions, versions + 4, x.versions) &&
        x.keys.size() == n && (n == 0 || std::equal(keys, keys + n, x.keys.data())))
        return x;
    x.keys.assign(keys, keys + n);
    x.entries.resize(n);
    x.at.Reset(n);
    for (size_t i = 0; i < n; ++i) {
        const UINT key = keys[i];
        // Read-only lookups: a non-const one counts as a change of the map.
        x.entries[i] = SlabRecordIndex::Entry{std::as_const(m_mapSForc).PLookup(key),
                                              std::as_const(m_mapSForcPos).PLookup(key),
                                              std::as_const(m_mapSForcNeg).PLookup(key),
                                              std::as_const(m_mapSbem).PLookup(key)};
        // A key listed twice keeps its first place (both places hold the same records).
        if (x.at.Find(key) < 0) x.at.Insert(key, static_cast<int>(i));
    }
    std::copy(maps, maps + 4, x.maps);
    std::copy(versions, versions + 4, x.versions);
    x.built = true;
    return x;
}

bool CForceEngine::AppendSlabBandInputs(std::vector<ULONGLONG>& out) const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel || !m_pContourEngine) return false;
    const bool bEnvelope = pModel->m_nLoadType == kEnvelopeLoad;
    out.insert(out.end(),
               {PVXMode::kSlabForce, reinterpret_cast<uintptr_t>(pModel), std::as_const(m_mapSForc).GetVersion(),
                std::as_const(m_mapSForcPos).GetVersion(), std::as_const(m_mapSForcNeg).GetVersion(),
                std::as_const(m_mapSbem).GetVersion(), static_cast<ULONGLONG>(static_cast<unsigned>(m_nSForcComp)),
                static_cast<ULONGLONG>(bEnvelope) | static_cast<ULONGLONG>(m_bSForcPos != 0) << 1 |
                    static_cast<ULONGLONG>(m_bSForcNeg != 0) << 2});
    pModel->AppendElementFacesInputs(out);
    AppendElementTableInputs(out);
    return KeptFaceBands::AppendCutterInputs(*m_pContourEngine, out);
}

void CForceEngine::AppendElementTableInputs(std::vector<ULONGLONG>& out) const {
    const I_PVXModel* pModel = GetModel();
    const CDataBase* pDB = pModel && pModel->m_pAttrCtrl ? pModel->m_pAttrCtrl->m_PElem.GetDB() : nullptr;
    out.push_back(reinterpret_cast<uintptr_t>(pDB));
    out.push_back(pDB ? pDB->Table<DBT_PELEM>().Version() : 0);
}

int CForceEngine::AppendKeptBands(CDC* pDC, const KeptFaceBands& kept, const KeptFaceBands::Entry& k,
                                  INT_PTR nFlushAt) {
    I_PVXModel* pModel = GetModel();
    if (k.bPoll && pModel->WatchEscKeyPress()) {
        FlushFaceBands(pDC);
        return -1;
    }
    kept.Append(k, m_bandSizes, m_bandVertices, *m_pContourEngine);
    if (m_bandVertices.GetSize() >= nFlushAt) FlushFaceBands(pDC);
    return 1;
}

CForceEngine::SlabRecordIndex::Entry CForceEngine::SlabRecordsOf(const SlabRecordIndex& index, UINT key) const {
    if (const SlabRecordIndex::Entry* at = index.Find(key)) return *at;
    return SlabRecordIndex::Entry{m_mapSForc.PLookup(key), m_mapSForcPos.PLookup(key), m_mapSForcNeg.PLookup(key),
                                  m_mapSbem.PLookup(key)};
}

void CForceEngine::MakeSForcPosNegRange() {
    if (!m_pContourEngine) return;
    CContourEngine& s = *m_pContourEngine;
    double lo = 0.0, hi = 0.0;
    if (m_bSForcPos && m_bSForcNeg) {
        lo = s.GetMinRangeCustomValue();
        hi = s.GetMaxRangeCustomValue();
    } else if (m_bSForcPos) {
        hi = s.GetMaxRangeCustomValue();
    } else if (m_bSForcNeg) {
        lo = s.GetMinRangeCustomValue();
    }
    const int N = std::clamp(s.m_nNumColor, 1, static_cast<int>(CContourEngine::MAX_LEVELS));
    CArray<double, double> levels;
    levels.SetSize(N);
    // N - 1 equal steps, the last level exactly the upper end (one level: the upper end).
    for (int i = 0; i + 1 < N; ++i) levels[i] = lo + i * (hi - lo) / (N - 1);
    levels[N - 1] = hi;
    s.MakeGlobalRange(1, &levels);
}

void CForceEngine::GetAverageNodalSForcDataList() {
    GetAllNodeNSbemMap();
    struct Sum {
        double sum = 0.0;
        int n = 0;
    };
    // One pass over a map of records: the component's mean at each node written back into every
    // corner at that node.
    auto average = [this](CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&>& records) {
        CMap<UINT, UINT, Sum, Sum&> sums;
        sums.InitHashTable(kMapBuckets);
        for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
            const UINT key = m_arrElemKey[i];
            const auto* pSbem = m_mapSbem.PLookup(key);
            const auto* pRec = records.PLookup(key);
            if (!pSbem || !pRec) continue;
            const CArray<UINT, UINT>& nodes = pSbem->value.m_arrNodeKey;
            for (int j = 0; j < SlabCornerCount(static_cast<int>(nodes.GetSize())); ++j) {
                Sum& s = sums[nodes[j]];
                s.sum += CalcSForcValue(pRec->value, j + 1);
                ++s.n;
            }
        }
        for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
            const UINT key = m_arrElemKey[i];
            const auto* pSbem = m_mapSbem.PLookup(key);
            auto* pRec = records.PLookup(key);
            if (!pSbem || !pRec) continue;
            const CArray<UINT, UINT>& nodes = pSbem->value.m_arrNodeKey;
            for (int j = 0; j < SlabCornerCount(static_cast<int>(nodes.GetSize())); ++j) {
                const auto* pSum = sums.PLookup(nodes[j]);
                if (pSum && pSum->value.n > 0) SetSForcComponent(pRec->value, j + 1, pSum->value.sum / pSum->value.n);
            }
        }
    };
    const I_PVXModel* pModel = GetModel();
    if (pModel && pModel->m_nLoadType == kEnvelopeLoad) {
        average(m_mapSForcPos);
        average(m_mapSForcNeg);
    } else {
        average(m_mapSForc);
    }
}

// ---- per-member lists -----------------------------------------------------------------------------

int CForceEngine::MakeSForcDataListMemb() {
    ForgetKeptLists();
    CWaitCursor wait;
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_bResultDataReady || !pModel->m_pAttrCtrl) return 0;
    m_arrElemKey.RemoveAll();
    const CArray<UINT, UINT>& membs = pModel->m_arrActiveMembKey;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!pModel->m_pAttrCtrl->GetMemb(membs[i], memb)) return 0;
        if (!CPVXAttrCtrl::IsSlabMembType(memb.type) || !pModel->IsNumberedMemb(membs[i]) ||
            GetSlabResultType(membs[i]) == 1)
            continue;
        if (m_nSForcUnit != 0) return 0;
        m_arrElemKey.Add(membs[i]);
    }
    // A slab whose moments the host does not keep for this load is drawn plain.
    KeepSlabMembersWithMoments();
    if (!MakeSForcDataListMemb_MnMx()) return 0;
    // No slab member with moments: nothing to show.
    if (m_arrElemKey.GetSize() == 0) return 0;
    FinishMakeSMembData();
    m_bSForcData = 1;
    return 1;
}

void CForceEngine::FinishMakeSMembData() {
    // The legend ranges the numbers written per member and names the member of each extreme (the
    // first in list order on a tie); each number weighs once in the percentages.
    KeyedRange r;
    ForEachSMembValue(*this, [&](UINT key, double v) { r.Add(key, v); });
    m_dSMembMax = m_dSlabMomMaxPos = r.dMax;
    m_dSMembMin = m_dSlabMomMaxNeg = r.dMin;
    if (I_PVXModel* pModel = GetModel()) {
        pModel->m_nMaxKey = r.nMaxKey;
        pModel->m_nMinKey = r.nMinKey;
    }
    CContourEngine& s = StartScale(r.dMin, r.dMax);
    // The colour levels follow the sides shown as per element (and replace the element levels).
    MakeSForcPosNegRange();
    ForEachSMembValue(*this, [&](UINT, double v) { s.AddPecentRankMapData(v, 1.0); });
    s.FinishPecentRankMapData();
}

int CForceEngine::MakeSForcDataListMemb_MnMx() {
    I_PVXModel* pModel = GetModel();
    m_dPAbsMax = 0.0;
    double dMax = -DBL_MAX, dMin = DBL_MAX;
    UINT nMaxKey = 0, nMinKey = 0;
    CArray<double, double> pos, neg;
    for (INT_PTR i = 0; i < m_arrElemKey.GetSize(); ++i) {
        const UINT key = m_arrElemKey[i];
        double cx = 0.0, cy = 0.0;
        if (!GetSmnt(key, pos, neg, cx, cy)) return 0;
        for (INT_PTR k = 0; k < pos.GetSize(); ++k)
            if (pos[k] > dMax) {
                dMax = pos[k];
                nMaxKey = key;
            }
        for (INT_PTR k = 0; k < neg.GetSize(); ++k)
            if (neg[k] < dMin) {
                dMin = neg[k];
                nMinKey = key;
            }
    }
    // A side without a single value has no extreme: 0 with no member, instead of the start value.
    if (nMaxKey == 0) dMax = 0.0;
    if (nMinKey == 0) dMin = 0.0;
    m_bSForcData = m_arrElemKey.GetSize() > 0 ? 1 : 0;
    if (pModel) {
        pModel->m_nMaxKey = nMaxKey;
        pModel->m_nMinKey = nMinKey;
    }
    // The legend's block of moment extremes (slab force on beams per member) reads these too.
    m_dSMembMax = m_dSlabMomMaxPos = dMax;
    m_dSMembMin = m_dSlabMomMaxNeg = dMin;
    return 1;
}
