// The cutting-line table: look-ups by kind and name, and the edits of the TR_ operations.
#include "host/db/DBTables.h"

#include <cmath>
#include <cstring>

namespace {

// Finite and within the coordinates a project may hold.
bool Coords3(const double p[3]) {
    for (int k = 0; k < 3; ++k)
        if (!std::isfinite(p[k]) || std::fabs(p[k]) > pvxdb::kMaxCoord) return false;
    return true;
}

void Fill(T_CTLN_D& rec, LPCTSTR name, double width, const double p1[3], const double p2[3]) {
    pvxdb::CopyText(rec.name, sizeof(rec.name), name);
    rec.width = width;
    rec.x1 = p1[0];
    rec.y1 = p1[1];
    rec.z1 = p1[2];
    rec.x2 = p2[0];
    rec.y2 = p2[1];
    rec.z2 = p2[2];
}

}  // namespace

int CClassCtln::GetKeyList(CArray<UINT, UINT>& keys, int kind) const {
    keys.RemoveAll();
    if (!m_pDB) return 0;
    const auto& table = m_pDB->Table<DBT_CTLN>();
    const auto& k = table.Keys();
    const auto& r = table.Records();
    for (size_t i = 0; i < k.size(); ++i)
        if (r[i].kind == kind) keys.Add(k[i]);
    return static_cast<int>(keys.GetSize());
}

UINT CClassCtln::GetKey(LPCTSTR name, int kind) const {
    if (!m_pDB || !name) return 0;
    const auto& table = m_pDB->Table<DBT_CTLN>();
    const auto& k = table.Keys();
    const auto& r = table.Records();
    for (size_t i = 0; i < k.size(); ++i)
        if (r[i].kind == kind && std::strcmp(r[i].name, name) == 0) return k[i];
    return 0;
}

int CClassCtln::IsValid(int kind, LPCTSTR name, double width, const double p1[3], const double p2[3],
                        UINT skip) const {
    if (!m_pDB || !name || !p1 || !p2) return 0;
    if (kind != CTLN_KIND_CUTLINE && kind != CTLN_KIND_STRIP) return 0;
    const size_t len = std::strlen(name);
    if (len == 0 || len >= sizeof(T_CTLN_D::name)) return 0;
    if (!std::isfinite(width) || width < 0.0 || !Coords3(p1) || !Coords3(p2)) return 0;
    const double dx = p2[0] - p1[0], dy = p2[1] - p1[1], dz = p2[2] - p1[2];
    if (!(std::sqrt(dx * dx + dy * dy + dz * dz) >= 1e-9)) return 0;
    const UINT other = GetKey(name, kind);
    return other == 0 || other == skip;
}

UINT CClassCtln::TR_Add(int kind, LPCTSTR name, double width, const double p1[3], const double p2[3]) {
    if (!IsValid(kind, name, width, p1, p2, 0)) return 0;
    auto& table = m_pDB->Table<DBT_CTLN>();
    UINT key = 0;
    for (UINT k : table.Keys())
        if (k > key) key = k;
    if (key == 0xFFFFFFFFu) return 0;
    ++key;
    T_CTLN_D rec;
    rec.Initialize();
    rec.kind = kind;
    Fill(rec, name, width, p1, p2);
    table.Set(key, rec);
    return key;
}

int CClassCtln::TR_Modify(UINT key, LPCTSTR name, double width, const double p1[3], const double p2[3]) {
    const T_CTLN_D* p = Find(key);
    if (!p || !IsValid(p->kind, name, width, p1, p2, key)) return 0;
    T_CTLN_D rec = *p;
    Fill(rec, name, width, p1, p2);
    m_pDB->Table<DBT_CTLN>().Set(key, rec);
    return 1;
}

int CClassCtln::TR_Del(UINT key) { return m_pDB ? m_pDB->Table<DBT_CTLN>().Remove(key) : 0; }
