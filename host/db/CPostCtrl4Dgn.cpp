#include "host/db/CPostCtrl4Dgn.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"

namespace {

// Steel areas, stirrups, forces and ratios of a design are magnitudes: the first of the listed
// value runs holding a negative value names its column; empty when none does.
struct Run {
    const char* column;
    const double* p;
    int n;
};
std::string FirstNegative(std::initializer_list<Run> runs, const char** pszColumn) {
    for (const Run& r : runs)
        for (int i = 0; i < r.n; ++i)
            if (r.p[i] < 0.0) {
                *pszColumn = r.column;
                return "a design value is negative";
            }
    return {};
}

// The stored row of key in a design table (kind 0 only), its key word the member key; 0 with the
// record cleared otherwise.
template <int ID, class R> int StoredRow(CDataBase* pDB, UINT key, int nKind, R& out) {
    out.Initialize();
    const R* p = pDB && nKind == 0 ? pDB->Table<ID>().Find(key) : nullptr;
    if (!p) return 0;
    out = *p;
    out.nKey = key;
    return 1;
}

}  // namespace

std::string T_RBEM_D::Validate(const char** pszColumn) const {
    return FirstNegative({{"stations", &base[0].dAsTop, 4 * kStations}, {"shear", &shear[0].dV, 4}}, pszColumn);
}

std::string T_RCOL_D::Validate(const char** pszColumn) const {
    return FirstNegative({{"blocks", &base[0].dAsx, 5 * kBlocks},
                          {"parts", &part[0].dForce, 2 * kParts},
                          {"n_max", &dNmax, 1},
                          {"m_max", &dMmax, 1},
                          {"shear", &shear[0].dAsvx, 4}},
                         pszColumn);
}

std::string T_RWAL_D::Validate(const char** pszColumn) const {
    return FirstNegative({{"blocks", &base[0].dAsh, 2 * kBlocks}}, pszColumn);
}

std::string T_RSLB_D::Validate(const char** pszColumn) const {
    return FirstNegative({{"as_x", &dAsX, 1},
                          {"as_y", &dAsY, 1},
                          {"as_edge", aEdge.GetData(), static_cast<int>(aEdge.GetSize())}},
                         pszColumn);
}

CPostCtrl4Dgn* CPostCtrl4Dgn::GetPostCtrl4DgnPtr_ST() {
    static CPostCtrl4Dgn s_ctrl;
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    CDataBase* pDB = pDoc && pDoc->GetMDBCtrl() ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    if (!pDB) return nullptr;
    s_ctrl.SetDataBase(pDB);
    return &s_ctrl;
}

int CPostCtrl4Dgn::MemberType(UINT key) const {
    if (!m_pDB) return 0;
    const T_PMEMB_D* p = m_pDB->Table<DBT_PMEMB>().Find(key);
    return p ? p->type : 0;
}

int CPostCtrl4Dgn::ReadConcreteDesignResultBeam(UINT key, T_RBEM_D& out, int nKind) const {
    return StoredRow<DBT_RBEM>(m_pDB, key, nKind, out);
}

namespace {

// The station record by zones of three stations (left end, middle, right end).
void ToZones(UINT key, const T_RBEM_D& st, T_RBEM_D& out) {
    out.Initialize();
    out.nKey = key;
    for (int z = 0; z < 3; ++z)
        for (int k = 3 * z; k < 3 * z + 3; ++k) {
            T_RBEM_BASE& b = out.base[z];
            const T_RBEM_BASE& s = st.base[k];
            b.dAsTop = std::max(b.dAsTop, s.dAsTop);
            b.dAsBot = std::max(b.dAsBot, s.dAsBot);
            b.dAsv = std::max(b.dAsv, s.dAsv);
            b.dAst = std::max(b.dAst, s.dAst);
        }
    out.shear[0] = st.shear[0];
    out.shear[1] = st.shear[1];
}

}  // namespace

int CPostCtrl4Dgn::GetBeamMaxResult(UINT key, T_RBEM_D& out, int nKind) const {
    const int type = MemberType(key);
    T_RBEM_D st;
    out.Initialize();
    if ((type != 201 && type != 205 && type != 204) || !ReadConcreteDesignResultBeam(key, st, nKind)) return 0;
    ToZones(key, st, out);
    return 1;
}

int CPostCtrl4Dgn::GetWBeamMaxResult(UINT key, T_RBEM_D& out, int nKind) const {
    T_RBEM_D st;
    out.Initialize();
    if (MemberType(key) != 210 || !ReadConcreteDesignResultBeam(key, st, nKind)) return 0;
    ToZones(key, st, out);
    return 1;
}

int CPostCtrl4Dgn::GetColmMaxResult(UINT key, int nKind, T_RCOL_D& out) const {
    return StoredRow<DBT_RCOL>(m_pDB, key, nKind, out);
}

int CPostCtrl4Dgn::GetMaxColmElseFactors(UINT key, UINT& nLoad, UINT& nBlock, UINT& nKindOut, T_RCOL_ELSE& out,
                                         int nKind) const {
    nLoad = nBlock = nKindOut = 0;
    out = T_RCOL_ELSE{};
    if (nKind < 1 || nKind > T_RCOL_D::kParts) return 0;
    T_RCOL_D col;
    if (!GetColmMaxResult(key, 0, col)) return 0;
    out = col.part[nKind - 1];
    nLoad = col.nPartLoad[nKind - 1];
    nBlock = nKind % 2 == 1 ? 0 : T_RCOL_D::kBlocks - 1;  // odd kinds at the bottom, even at the top
    nKindOut = static_cast<UINT>(nKind);
    return 1;
}

int CPostCtrl4Dgn::GetWallMaxResult(UINT key, int nKind, T_RWAL_D& out) const {
    return StoredRow<DBT_RWAL>(m_pDB, key, nKind, out);
}

int CPostCtrl4Dgn::GetSlabMaxResult(UINT key, T_RSLB_D& out, int nKind) const {
    return StoredRow<DBT_RSLB>(m_pDB, key, nKind, out);
}
