#include "host/db/CPostCtrl.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

namespace {
// Values derived from components (principal values ...) are recomputed after a sum.
template <class T> void AfterSum(T&) {}
void AfterSum(T_STRP_DL& r) { r.UpdateDerived(); }

// Combinations may name combinations. Nesting deeper than this is taken for a cycle (a
// combination that contains itself), which has no value: the query answers "no results"
// rather than a partial sum.
const int kMaxCombDepth = 8;

// A single value (a load case, a linear combination, a mode) fills every slot asked for.
template <class T> void FillSlots(const T& v, T* p0, T* p1, T* p2) {
    for (T* p : {p0, p1, p2})
        if (p) *p = v;
}
}  // namespace

void CPostCtrl::SetDataBase(CDataBase* pDB) {
    m_pDB = pDB;
    ClearSelection();
}

void CPostCtrl::ClearSelection() {
    m_nSel = SEL_NONE;
    m_lcom.Initialize();
    m_bEnvelope = FALSE;
    m_nMode = 0;
    m_nThlc = 0;
}

int CPostCtrl::MakeLoadComb(UINT type, UINT key, T_PLCOM_D& rec) const {
    if (!m_pDB || key == 0) return 0;
    switch (type) {
        case 1:
        case 2:
        case 3:
        case 4:
        case 5: {
            const T_PSTLD_D* lc = m_pDB->Table<DBT_PSTLD>().Find(key);
            if (!lc) return 0;
            rec.Initialize();
            rec.type = PLCOM_LINEAR;
            memcpy(rec.name, lc->name, sizeof(rec.name));
            rec.AddEntry(lc->type, key, 1.0);
            return 1;
        }
        case 9:
        case 10:
        case 11:
        case 12: {
            const T_PLCOM_D* c = m_pDB->Table<DBT_PLCOM>().Find(key);
            if (!c || c->GetEntryCount() == 0) return 0;
            if (type == 12 && c->type != PLCOM_ENVELOPE) return 0;
            rec = *c;
            return 1;
        }
        default:
            return 0;
    }
}

int CPostCtrl::SelectLoadComb(const T_PLCOM_D& rec, int envelope, int) {
    if (!m_pDB || rec.GetEntryCount() == 0) {
        ClearSelection();
        return 0;
    }
    m_nSel = SEL_LOAD;
    m_lcom = rec;
    m_bEnvelope = envelope != 0;
    m_nMode = 0;
    m_nThlc = 0;
    return 1;
}

int CPostCtrl::SelectThlc(UINT caseKey) {
    ClearSelection();
    const T_PSTLD_D* lc = m_pDB ? m_pDB->Table<DBT_PSTLD>().Find(caseKey) : nullptr;
    if (!lc || lc->type != PLOAD_TIMEHISTORY) return 0;
    m_nSel = SEL_LOAD;
    m_lcom.type = PLCOM_LINEAR;
    memcpy(m_lcom.name, lc->name, sizeof(m_lcom.name));
    m_lcom.AddEntry(lc->type, caseKey, 1.0);
    m_nThlc = caseKey;
    return 1;
}

int CPostCtrl::GetCfmoMemb(UINT memb, T_CFMO_D& rec) const {
    const T_CFMO_D* p = m_pDB ? m_pDB->Table<DBT_CFMO>().Find(memb) : nullptr;
    if (!p) return 0;
    rec = *p;
    return 1;
}

int CPostCtrl::GetDispHistory(int kind, int step, UINT node, T_DISP_D& rec) const {
    if (!m_pDB || !m_nThlc || kind < 0 || kind > 3 || step < 0) return 0;
    const T_DISPHIS_D* h = m_pDB->Table<DBT_DISPHIS>().Find(m_nThlc, node);
    // A record shorter than its step count claims is read only as far as it goes.
    if (!h || step >= h->nStep || 18 * (static_cast<INT_PTR>(step) + 1) > h->aValue.GetSize()) return 0;
    // Stored per step: displacement, velocity, acceleration.
    const int quantity = (kind == 0 || kind == 3) ? 0 : (kind == 2 ? 1 : 2);
    const double* v = h->aValue.GetData() + 18 * step + 6 * quantity;
    rec.DX = v[0]; rec.DY = v[1]; rec.DZ = v[2];
    rec.RX = v[3]; rec.RY = v[4]; rec.RZ = v[5];
    return 1;
}

int CPostCtrl::GetDispHistoryDt(UINT node, double& dt) const {
    const T_DISPHIS_D* h = m_pDB && m_nThlc ? m_pDB->Table<DBT_DISPHIS>().Find(m_nThlc, node) : nullptr;
    if (!h) return 0;
    dt = h->dt;
    return 1;
}

int CPostCtrl::SelectMode(int mode, int) {
    ClearSelection();
    if (!m_pDB || mode <= 0) return 0;
    m_nSel = SEL_MODE;
    m_nMode = mode;
    return m_pDB->Table<DBT_FREQ>().Find(static_cast<UINT>(mode)) != nullptr;
}

template <int ID, class T>
int CPostCtrl::EvalEntry(const T_PLCOM_ENTRY& e, UINT key, T& out, int depth, CombMemo<T>& memo) const {
    if (e.kind == PLOAD_COMBINATION) {
        const uint64_t at = (static_cast<uint64_t>(e.key) << 4) | static_cast<uint64_t>(depth);
        auto it = memo.find(at);
        if (it == memo.end()) {
            const T_PLCOM_D* sub = m_pDB->Table<DBT_PLCOM>().Find(e.key);
            // A missing combination, or an envelope (it has no single value to scale), makes the
            // combination invalid, like a cycle.
            T v = out;
            const int rc = depth >= kMaxCombDepth || !sub || sub->type != PLCOM_LINEAR
                               ? -1
                               : EvalLinear<ID>(*sub, key, v, depth + 1, memo);
            it = memo.emplace(at, std::make_pair(rc, v)).first;
        }
        const int rc = it->second.first;
        if (rc <= 0) return rc;
        T scaled = it->second.second;
        pvxdb::ZeroReals(scaled);
        pvxdb::AddScaled(scaled, it->second.second, e.factor);
        out = scaled;
        return 1;
    }
    const T* r = m_pDB->Table<ID>().Find(e.key, key);
    if (!r) return 0;
    out = *r;
    pvxdb::ZeroReals(out);
    pvxdb::AddScaled(out, *r, e.factor);
    return 1;
}

template <int ID, class T>
int CPostCtrl::EvalLinear(const T_PLCOM_D& lcom, UINT key, T& out, int depth, CombMemo<T>& memo) const {
    int found = 0;
    bool scaled = false;
    int n = lcom.GetEntryCount();
    for (int i = 0; i < n; ++i) {
        T v;
        v.Initialize();
        int rc = EvalEntry<ID>(lcom.entry[i], key, v, depth, memo);
        if (rc < 0) return rc;
        if (rc == 0) continue;
        if (lcom.entry[i].factor != 1.0) scaled = true;
        if (!found) {
            out = v;
        } else {
            pvxdb::AddScaled(out, v, 1.0);
        }
        ++found;
    }
    if (found > 1 || scaled) AfterSum(out);
    return found > 0;
}

template <int ID, class T>
int CPostCtrl::EvalEnvelope(const T_PLCOM_D& lcom, UINT key, T& hi, T& lo, int depth, CombMemo<T>& memo) const {
    int found = 0;
    int n = lcom.GetEntryCount();
    for (int i = 0; i < n; ++i) {
        T v;
        v.Initialize();
        int rc = EvalEntry<ID>(lcom.entry[i], key, v, depth, memo);
        if (rc < 0) return rc;
        if (rc == 0) continue;
        if (!found) {
            hi = lo = v;
            found = 1;
        } else {
            pvxdb::Envelope(hi, lo, v);
        }
    }
    return found;
}

template <int ID, class T> int CPostCtrl::QueryComb(const T_PLCOM_D& lcom, UINT key, T* p0, T* p1, T* p2) const {
    if (!m_pDB) return 0;
    CombMemo<T> memo;
    if (lcom.type == PLCOM_ENVELOPE) {
        T hi, lo;
        hi.Initialize();
        lo.Initialize();
        if (EvalEnvelope<ID>(lcom, key, hi, lo, 0, memo) <= 0) return 0;
        if (p0) *p0 = hi;
        if (p1) *p1 = lo;
        if (p2) pvxdb::AbsMax(*p2, hi, lo);
        return 1;
    }
    T v;
    v.Initialize();
    if (EvalLinear<ID>(lcom, key, v, 0, memo) <= 0) return 0;
    FillSlots(v, p0, p1, p2);
    return 1;
}

template <int ID, class T> int CPostCtrl::Query(UINT key, T* p0, T* p1, T* p2) const {
    if (!m_pDB || m_nSel != SEL_LOAD) return 0;
    return QueryComb<ID>(m_lcom, key, p0, p1, p2);
}

int CPostCtrl::GetDisp(UINT node, T_DISP_D* p0, T_DISP_D* p1, T_DISP_D* p2) const {
    if (m_nSel == SEL_MODE) {
        T_DISP_D d;
        if (!GetEiMode(node, m_nMode, d)) return 0;
        FillSlots(d, p0, p1, p2);
        return 1;
    }
    return Query<DBT_DISP>(node, p0, p1, p2);
}
std::shared_ptr<const pvxdb::KeyedRecords<T_DISP_D>> CPostCtrl::GetDispLoad() const {
    if (!m_pDB || m_nSel != SEL_LOAD || m_lcom.type == PLCOM_ENVELOPE || m_lcom.GetEntryCount() != 1) return nullptr;
    const T_PLCOM_ENTRY& e = m_lcom.entry[0];
    if (e.kind == PLOAD_COMBINATION || e.factor != 1.0) return nullptr;
    return m_pDB->Table<DBT_DISP>().RecordsOf(e.key);
}
int CPostCtrl::GetReac(UINT node, T_REAC_D* p0, T_REAC_D* p1, T_REAC_D* p2) const {
    return Query<DBT_REAC>(node, p0, p1, p2);
}
int CPostCtrl::GetStrp_L(UINT elem, T_STRP_DL* p0, T_STRP_DL* p1, T_STRP_DL* p2, int) const {
    return Query<DBT_STRP>(elem, p0, p1, p2);
}
int CPostCtrl::GetMbgd(UINT memb, T_STRG_D* p0, T_STRG_D* p1, T_STRG_D* p2, int) const {
    return Query<DBT_STRG>(memb, p0, p1, p2);
}
int CPostCtrl::GetStwt(UINT memb, T_MBWG_D* p0, T_MBWG_D* p1, T_MBWG_D* p2, int) const {
    return Query<DBT_MBWG>(memb, p0, p1, p2);
}
int CPostCtrl::GetMbcl(UINT memb, T_MBCL_D* p0, T_MBCL_D* p1, T_MBCL_D* p2, int) const {
    return Query<DBT_MBCL>(memb, p0, p1, p2);
}
int CPostCtrl::GetMbbr(UINT memb, T_MBBR_D* p0, T_MBBR_D* p1, T_MBBR_D* p2, int) const {
    return Query<DBT_MBBR>(memb, p0, p1, p2);
}
int CPostCtrl::GetStrw(UINT memb, T_STRW_D* p0, T_STRW_D* p1, T_STRW_D* p2, int) const {
    return Query<DBT_STRW>(memb, p0, p1, p2);
}
int CPostCtrl::GetStws(UINT key, T_STWS_D* p0, T_STWS_D* p1, T_STWS_D* p2) const {
    return Query<DBT_STWS>(key, p0, p1, p2);
}

int CPostCtrl::GetMbwc(UINT resultNo, T_MBCL_D* p0, T_MBCL_D* p1, T_MBCL_D* p2, int) const {
    return Query<DBT_MBWC>(resultNo, p0, p1, p2);
}
int CPostCtrl::GetSsfr(UINT loadCase, UINT memb, T_SSFR_D& rec) const {
    if (!m_pDB) return 0;
    const T_SSFR_D* p = m_pDB->Table<DBT_SSFR>().Find(loadCase, memb);
    if (!p) return 0;
    rec = *p;
    return 1;
}

int CPostCtrl::GetMbwg(UINT resultNo, T_STRG_D* p0, T_STRG_D* p1, T_STRG_D* p2, int) const {
    return Query<DBT_MBWB>(resultNo, p0, p1, p2);
}
int CPostCtrl::GetStripForce(UINT stripKey, T_CLDF_D* p0, T_CLDF_D* p1, T_CLDF_D* p2) const {
    return Query<DBT_STRIPF>(stripKey, p0, p1, p2);
}
int CPostCtrl::GetRibForce(UINT ribNo, T_CLDF_D* p0, T_CLDF_D* p1, T_CLDF_D* p2) const {
    return Query<DBT_RIBF>(ribNo, p0, p1, p2);
}

namespace {
// R[i][j] = target_i . own_j, the turn from the element's axes into the target axes; false when
// an axis row is not a unit vector.
bool AxesTurn(const double own[3][3], const double target[3][3], double R[3][3]) {
    constexpr double kUnitTol = 1e-6;  // an axis row this far from length 1 is refused
    for (int r = 0; r < 3; ++r) {
        const double l2 = own[r][0] * own[r][0] + own[r][1] * own[r][1] + own[r][2] * own[r][2];
        const double t2 = target[r][0] * target[r][0] + target[r][1] * target[r][1] + target[r][2] * target[r][2];
        if (!(std::fabs(l2 - 1.0) <= kUnitTol) || !(std::fabs(t2 - 1.0) <= kUnitTol)) return false;
    }
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) R[i][j] = target[i][0] * own[j][0] + target[i][1] * own[j][1] + target[i][2] * own[j][2];
    return true;
}

// T' = R T R^T of a symmetric tensor given in the element's axes.
void TurnTensor(const double R[3][3], const double T[3][3], double out[3][3]) {
    double RT[3][3];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) RT[i][j] = R[i][0] * T[0][j] + R[i][1] * T[1][j] + R[i][2] * T[2][j];
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) out[i][j] = RT[i][0] * R[j][0] + RT[i][1] * R[j][1] + RT[i][2] * R[j][2];
}

// The in-plane tensor (xx, yy, xy at b[0], b[1], b[2]) of a block turned in place.
void TurnPlane(const double R[3][3], double* b) {
    const double T[3][3] = {{b[0], b[2], 0.0}, {b[2], b[1], 0.0}, {0.0, 0.0, 0.0}};
    double out[3][3];
    TurnTensor(R, T, out);
    b[0] = out[0][0];
    b[1] = out[1][1];
    b[2] = out[0][1];
}
}  // namespace

int CPostCtrl::ConvertStrpForce_UCS(const double own[3][3], const double target[3][3], T_STRP_DL& rec) const {
    double R[3][3];
    if (!AxesTurn(own, target, R)) return 0;
    for (auto& b : rec.blk) {
        TurnPlane(R, b + 14);
        TurnPlane(R, b + 20);
        const double V[3][3] = {{0.0, 0.0, b[26]}, {0.0, 0.0, b[27]}, {b[26], b[27], 0.0}};
        double out[3][3];
        TurnTensor(R, V, out);
        b[26] = out[0][2];
        b[27] = out[1][2];
    }
    rec.UpdateDerived();
    return 1;
}

int CPostCtrl::ConvertStrpStress_UCS(const double own[3][3], const double target[3][3], T_STRP_DL& rec) const {
    double R[3][3];
    if (!AxesTurn(own, target, R)) return 0;
    for (auto& b : rec.blk) {
        TurnPlane(R, b + 0);
        TurnPlane(R, b + 7);
    }
    rec.UpdateDerived();
    return 1;
}

int CPostCtrl::GetSmnt(UINT memb, T_SMNT_D& rec) const {
    T_SMNT_D hi, lo;
    if (!Query<DBT_SMNT, T_SMNT_D>(memb, &hi, &lo, nullptr)) return 0;
    if (m_lcom.type == PLCOM_ENVELOPE) hi.aNeg = lo.aNeg;
    rec = hi;
    return 1;
}

UINT CPostCtrl::GetLoadCombKeyByNumber(UINT kind, UINT number) const {
    if (!m_pDB || (kind != 10 && kind != 11) || number == 0) return 0;
    const auto& table = m_pDB->Table<DBT_PLCOM>();
    UINT n = 0;
    for (UINT key : table.Keys()) {
        const T_PLCOM_D* c = table.Find(key);
        if (c && c->type == PLCOM_LINEAR && ++n == number) return key;
    }
    return 0;
}

int CPostCtrl::GetDisp_ByLcomb(UINT node, const T_PLCOM_D& lcom, T_DISP_D& rec) const {
    return QueryComb<DBT_DISP, T_DISP_D>(lcom, node, &rec, nullptr, nullptr);
}
int CPostCtrl::GetStrp_L_ByLcomb(UINT elem, T_STRP_DL* p0, T_STRP_DL* p1, T_STRP_DL* p2, const T_PLCOM_D& lcom,
                                 int) const {
    return QueryComb<DBT_STRP>(lcom, elem, p0, p1, p2);
}

int CPostCtrl::GetSwdf_ByLcomb(UINT wall, const T_PLCOM_D& lcom, T_SWDF_D* p0, T_SWDF_D* p1, T_SWDF_D* p2) const {
    return QueryComb<DBT_SWDF>(lcom, wall, p0, p1, p2);
}

int CPostCtrl::GetModeCount() const { return m_pDB ? static_cast<int>(m_pDB->Table<DBT_FREQ>().Count()) : 0; }

int CPostCtrl::GetEiMode(UINT node, int mode, T_DISP_D& rec) const {
    if (!m_pDB || mode <= 0) return 0;
    const T_MODE_D* m = m_pDB->Table<DBT_MODE>().Find(static_cast<UINT>(mode), node);
    if (!m) return 0;
    rec.DX = m->DX; rec.DY = m->DY; rec.DZ = m->DZ;
    rec.RX = m->RX; rec.RY = m->RY; rec.RZ = m->RZ;
    return 1;
}

int CPostCtrl::GetEiFreq(int mode, T_FREQ_D& rec) const {
    const T_FREQ_D* f = (m_pDB && mode > 0) ? m_pDB->Table<DBT_FREQ>().Find(static_cast<UINT>(mode)) : nullptr;
    if (!f) return 0;
    rec = *f;
    return 1;
}

int CPostCtrl::GetEiMpam(int mode, T_MPAM_D& rec) const {
    const T_MPAM_D* m = (m_pDB && mode > 0) ? m_pDB->Table<DBT_MPAM>().Find(static_cast<UINT>(mode)) : nullptr;
    if (!m) return 0;
    rec = *m;
    return 1;
}

int CPostCtrl::GetEiDmse(int mode, double& ratio) const {
    T_FREQ_D f;
    if (!GetEiFreq(mode, f)) return 0;
    ratio = f.damping;
    return 1;
}
