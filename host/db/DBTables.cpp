// Geometry and classification helpers of the element table.
#include "host/db/DBTables.h"
#include "host/db/CMembUtil.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

namespace {

void Sub(const double a[3], const double b[3], double out[3]) {
    for (int k = 0; k < 3; ++k) out[k] = a[k] - b[k];
}
void Cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}
double Norm(const double a[3]) { return std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]); }
int Unit(double a[3]) {
    double n = Norm(a);
    if (!(n > 1e-12)) return 0;
    for (int k = 0; k < 3; ++k) a[k] /= n;
    return 1;
}
double TriArea(const double a[3], const double b[3], const double c[3]) {
    double u[3], v[3], w[3];
    Sub(b, a, u);
    Sub(c, a, v);
    Cross(u, v, w);
    return 0.5 * Norm(w);
}

// Right-handed axes from unit x and z normal to it: y = z x x.
void SetAxes(const double x[3], const double z[3], double axes[3][3]) {
    double y[3];
    Cross(z, x, y);
    for (int k = 0; k < 3; ++k) {
        axes[0][k] = x[k];
        axes[1][k] = y[k];
        axes[2][k] = z[k];
    }
}

bool IsLineType(int t) { return t == 101 || t == 200 || t == 403 || t == 201 || t == 202 || t == 205 || t == 206; }
bool IsPlaneType(int t) { return t == 204 || (t >= 209 && t <= 212) || (t >= 300 && t <= 305); }

}  // namespace

int CClassPElem::GetPNodeCount(const T_PELEM_D& rec) const {
    return rec.nNode < 0 ? 0 : (rec.nNode > PELEM_MAX_NODE ? PELEM_MAX_NODE : rec.nNode);
}

int CClassPElem::NodePoints(const T_PELEM_D& e, double pts[][3], int maxPts) const {
    if (!m_pDB) return 0;
    int n = GetPNodeCount(e);
    if (n > maxPts) n = maxPts;
    const auto& nodes = m_pDB->Table<DBT_PNODE>();
    for (int i = 0; i < n; ++i) {
        const T_PNODE_D* p = nodes.Find(e.node[i]);
        if (!p) return 0;
        pts[i][0] = p->x;
        pts[i][1] = p->y;
        pts[i][2] = p->z;
    }
    return n;
}

double CClassPElem::calcLAVElem(UINT key, int, int) const {
    const T_PELEM_D* e = Find(key);
    if (!e) return 0.0;
    double p[PELEM_MAX_NODE][3];
    int n = NodePoints(*e, p, PELEM_MAX_NODE);
    if (IsLineType(e->type) || e->kind == PELEM_KIND_FRAME || e->kind == PELEM_KIND_TRUSS) {
        if (n < 2) return 0.0;
        double d[3];
        Sub(p[n - 1], p[0], d);
        return Norm(d);
    }
    if (IsPlaneType(e->type) || e->kind == PELEM_KIND_PLATE || e->kind == PELEM_KIND_WALL) {
        if (n < 3) return 0.0;
        double a = TriArea(p[0], p[1], p[2]);
        if (n > 3) a += TriArea(p[0], p[2], p[3]);
        return a;
    }
    return 0.0;
}

int CClassPElem::calcPlaneLocalVector(int n, const double pts[][3], double axes[3][3]) {
    if (n < 3) return 0;
    double x[3], z[3], a[3], b[3];
    Sub(pts[1], pts[0], x);
    if (n >= 4) {
        Sub(pts[2], pts[0], a);
        Sub(pts[3], pts[1], b);
    } else {
        Sub(pts[1], pts[0], a);
        Sub(pts[2], pts[0], b);
    }
    Cross(a, b, z);
    if (!Unit(x) || !Unit(z)) return 0;
    // Make x exactly normal to z (a warped quadrilateral's first edge may not be).
    double d = x[0] * z[0] + x[1] * z[1] + x[2] * z[2];
    for (int k = 0; k < 3; ++k) x[k] -= d * z[k];
    if (!Unit(x)) return 0;
    SetAxes(x, z, axes);
    return 1;
}

int CClassPElem::calcPlaneLocalVector(UINT key, double axes[3][3]) const {
    const T_PELEM_D* e = Find(key);
    if (!e) return 0;
    double p[PELEM_MAX_NODE][3];
    int n = NodePoints(*e, p, 4);
    double ax[3][3];
    if (!calcPlaneLocalVector(n, p, ax)) return 0;
    // Turn x and y by beta about z.
    double a = e->beta * M_PI / 180.0, c = std::cos(a), s = std::sin(a);
    for (int k = 0; k < 3; ++k) {
        axes[0][k] = c * ax[0][k] + s * ax[1][k];
        axes[1][k] = -s * ax[0][k] + c * ax[1][k];
        axes[2][k] = ax[2][k];
    }
    return 1;
}

int CClassPElem::calcSlabObjectLocalVector(UINT key, double axes[3][3]) const {
    double ax[3][3];
    if (!calcPlaneLocalVector(key, ax)) return 0;  // its normal does not depend on beta
    double z[3] = {ax[2][0], ax[2][1], ax[2][2]};
    if (z[2] < 0)
        for (double& v : z) v = -v;
    double x[3] = {1.0, 0.0, 0.0};
    double d = z[0];
    for (int k = 0; k < 3; ++k) x[k] -= d * z[k];
    if (!Unit(x)) {
        double gy[3] = {0.0, 1.0, 0.0};
        d = z[1];
        for (int k = 0; k < 3; ++k) x[k] = gy[k] - d * z[k];
        if (!Unit(x)) return 0;
    }
    SetAxes(x, z, axes);
    return 1;
}

int CClassPElem::calcFrameLocalVector(const double ci[3], const double cj[3], double beta, double axes[3][3]) {
    return CMembUtil::CalcFrameLocalVector(ci, cj, beta, axes);
}

int CClassPElem::IsPlate(int type) { return type == 301 || type == 302 || type == 305; }

int CClassPElem::IsSuperElem(const T_PELEM_D& rec) { return rec.kind == PELEM_KIND_SUPER; }

int CClassPElem::IsSuperElem(UINT key) const {
    const T_PELEM_D* e = Find(key);
    return e && IsSuperElem(*e);
}

int CClassPElem::IsSuperElemElemResult(const T_PELEM_D& rec) { return IsSuperElem(rec) && rec.nSEResult == 1; }

int CClassPElem::IsSuperElemNodeResult(UINT key) const {
    const T_PELEM_D* e = Find(key);
    return e && IsSuperElem(*e) && e->nSEResult == 2;
}

int CClassPEspr::GetList(CArray<T_PESPR_D, T_PESPR_D&>& list) const {
    list.RemoveAll();
    if (!m_pDB) return 0;
    const auto& t = m_pDB->Table<DBT_PESPR>();
    list.SetSize(0, static_cast<INT_PTR>(t.Count()));
    for (const T_PESPR_D& r : t.Records()) {
        T_PESPR_D rec = r;
        list.Add(rec);
    }
    return static_cast<int>(list.GetSize());
}

int CClassPRtnd::GetPNodeKeyMapByType(CMap<UINT, UINT, UINT, UINT>& map, int type) const {
    map.RemoveAll();
    if (!m_pDB) return 0;
    const auto& t = m_pDB->Table<DBT_PRTND>();
    int n = 0;
    for (size_t i = 0; i < t.Keys().size(); ++i)
        if (t.Records()[i].type == type) {
            map.SetAt(t.Keys()[i], t.Keys()[i]);
            ++n;
        }
    return n;
}

int CClassPMemb::calcCenterPMemb(UINT key, double& x, double& y, double& z) const {
    const T_PMEMB_D* m = Find(key);
    if (!m || m->aNode.GetSize() == 0) return 0;
    double sx = 0.0, sy = 0.0, sz = 0.0;
    for (INT_PTR i = 0; i < m->aNode.GetSize(); ++i) {
        const T_PNODE_D* n = m_pDB->Table<DBT_PNODE>().Find(m->aNode[i]);
        if (!n) return 0;
        sx += n->x;
        sy += n->y;
        sz += n->z;
    }
    const double k = 1.0 / static_cast<double>(m->aNode.GetSize());
    x = sx * k;
    y = sy * k;
    z = sz * k;
    return 1;
}

int CClassLdgp::Get(UINT key, T_CKLG_D& rec) const {
    if (!m_pDB) return 0;
    if (const T_CKLG_D* p = m_pDB->Table<DBT_CKLG>().Find(key)) {
        rec = *p;
        return 1;
    }
    const T_LDGP_D* g = Find(key);
    if (!g) return 0;
    rec.Initialize();
    rec.number = static_cast<int>(key);
    rec.kind = g->type == LDGP_SETTLEMENT ? LDGP_KIND_QUASI : LDGP_KIND_NONE;
    pvxdb::CopyText(rec.sort, sizeof(rec.sort), g->name);
    return 1;
}

int CClassLdgp::IsBombLoadComb(UINT key) const {
    T_CKLG_D rec;
    return Get(key, rec) && rec.blast != 0;
}

int CClassLdgp::IsEquaLoadComb(UINT key) const {
    T_CKLG_D rec;
    return Get(key, rec) && rec.seismic != 0;
}

namespace {
// The group's text as the host shows it: a blast or seismic group is marked after its terms, so
// it is not read as the standard group of the same terms.
CString GroupText(const T_CKLG_D& rec) {
    CString text = rec.sort;
    if (rec.blast) text += " (人防)";
    else if (rec.seismic) text += " (地震)";
    return text;
}
}  // namespace

int CClassLdgp::GetLdgpSortStrTex(UINT key, CString& text, void*, void*, void*, const std::set<int>* filter) const {
    text.Empty();
    T_CKLG_D rec;
    if (!Get(key, rec)) return 0;
    if (filter && !filter->count(rec.lcType)) return 0;
    text = GroupText(rec);
    return 1;
}

int CClassLdgp::GetDesignUseLoadComb(CArray<UINT, UINT>& keys, int) const {
    keys.RemoveAll();
    if (!m_pDB) return 0;
    const auto& table = m_pDB->Table<DBT_CKLG>();
    for (UINT key : table.Keys())
        if (table.Find(key)->designUse) keys.Add(key);
    return static_cast<int>(keys.GetSize());
}

int CClassLdgp::GetLoadCaseKeys(CArray<UINT, UINT>& keys, int kind) const {
    keys.RemoveAll();
    if (!m_pDB || kind == LDGP_KIND_NONE) return 0;
    if (kind == LDGP_KIND_QUASI) GetKeyListByType(keys, LDGP_SETTLEMENT);
    const auto& table = m_pDB->Table<DBT_CKLG>();
    for (UINT key : table.Keys())
        if (table.Find(key)->kind == kind) keys.Add(key);
    return static_cast<int>(keys.GetSize());
}

CString CClassLdgp::GetCombText(UINT key) const {
    T_CKLG_D rec;
    return Get(key, rec) ? GroupText(rec) : CString();
}

BOOL CClassLdgp::GetTerms(UINT key, std::vector<std::pair<UINT, double>>& terms, std::string* pWhy) const {
    terms.clear();
    T_CKLG_D rec;
    if (!Get(key, rec)) {
        if (pWhy) *pWhy = "no check group has key " + std::to_string(key);
        return FALSE;
    }
    std::map<std::string, std::vector<UINT>> cases;
    const auto& loads = m_pDB->Table<DBT_PSTLD>();
    for (UINT k : loads.Keys())
        if (loads.Find(k)->type == PLOAD_STATIC) cases[loads.Find(k)->name].push_back(k);
    auto fail = [&](const std::string& why) {
        terms.clear();
        if (pWhy) *pWhy = why;
        return FALSE;
    };
    // Terms are split at each "+" outside double quotes; a quoted name may hold "+".
    const std::string text(rec.sort);
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = at;
        for (bool quoted = false; end < text.size() && (quoted || text[end] != '+'); ++end)
            if (text[end] == '"') quoted = !quoted;
        const std::string term = text.substr(at, end - at);
        size_t n = 0;
        while (n < term.size() && (std::isdigit(static_cast<unsigned char>(term[n])) || term[n] == '.')) ++n;
        std::string name = term.substr(n);
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"') name = name.substr(1, name.size() - 2);
        char* stop = nullptr;
        const std::string number = term.substr(0, n);
        const double factor = n ? std::strtod(number.c_str(), &stop) : 0.0;
        if (n == 0 || stop != number.c_str() + n) return fail("term \"" + term + "\" does not start with its factor");
        const auto c = cases.find(name);
        if (c == cases.end()) return fail("\"" + name + "\" names no static load case");
        if (c->second.size() > 1) {
            std::string keys;
            for (UINT k : c->second) keys += (keys.empty() ? "" : ", ") + std::to_string(k);
            return fail("\"" + name + "\" names " + std::to_string(c->second.size()) + " static load cases (keys " +
                        keys + ")");
        }
        terms.emplace_back(c->second.front(), factor);
        at = end + 1;
    }
    return TRUE;
}
