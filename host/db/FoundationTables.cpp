#include "host/db/FoundationTables.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace {
constexpr double kPi = 3.14159265358979323846;

double AngleDeg(double dx, double dy) {
    double a = std::atan2(dy, dx) * 180.0 / kPi;
    return a < 0.0 ? a + 360.0 : a;
}
}  // namespace

int CClassPont::FormArc(UINT k1, UINT k2, double chord, T_PONT_ARC& arc, double) const {
    const T_PONT_D* a = Find(k1);
    const T_PONT_D* b = Find(k2);
    if (!a || !b || !std::isfinite(chord) || std::fabs(chord) <= 1e-9) return 0;
    const double dx = b->x - a->x, dy = b->y - a->y;
    const double len = std::hypot(dx, dy);
    if (len <= 1e-9) return 0;
    // The middle of the arc lies `chord` along the left normal from the chord's middle; the
    // centre lies a radius back from there.
    const double half = 0.5 * len;
    const double r = (half * half + chord * chord) / (2.0 * std::fabs(chord));
    const double nx = -dy / len, ny = dx / len;
    const double off = chord - (chord > 0 ? r : -r);
    arc.cx = 0.5 * (a->x + b->x) + off * nx;
    arc.cy = 0.5 * (a->y + b->y) + off * ny;
    arc.radius = r;
    arc.angS = AngleDeg(a->x - arc.cx, a->y - arc.cy);
    arc.angE = AngleDeg(b->x - arc.cx, b->y - arc.cy);
    // Bulging to the left of the travel from start to end turns clockwise.
    arc.ccw = chord < 0.0;
    return 1;
}

int CClassPont::GetKeyListBy2Point(const double p1[2], const double p2[2], CArray<UINT, UINT>& keys, double tol) const {
    keys.RemoveAll();
    if (!m_pDB) return 0;
    const double dx = p2[0] - p1[0], dy = p2[1] - p1[1];
    const double len2 = dx * dx + dy * dy;
    std::vector<std::pair<double, UINT>> found;
    const auto& table = m_pDB->Table<DBT_PONT>();
    for (UINT key : table.Keys()) {
        const T_PONT_D* p = table.Find(key);
        const double px = p->x - p1[0], py = p->y - p1[1];
        double t = len2 > 0.0 ? (px * dx + py * dy) / len2 : 0.0;
        const double tc = std::clamp(t, 0.0, 1.0);
        const double ex = px - tc * dx, ey = py - tc * dy;
        if (std::hypot(ex, ey) <= tol) found.emplace_back(tc * std::sqrt(len2), key);
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& l, const auto& r) { return l.first < r.first; });
    for (const auto& f : found) keys.Add(f.second);
    return static_cast<int>(keys.GetSize());
}

int CClassMemb::FilterByMembType(CArray<UINT, UINT>& keys, int type, int keepOthers) const {
    CArray<UINT, UINT> kept;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const T_MEMB_D* m = Find(keys[i]);
        const bool same = m && m->type == type;
        if (keepOthers ? !same : same) kept.Add(keys[i]);
    }
    keys.Copy(kept);
    return static_cast<int>(keys.GetSize());
}

int CClassMemb::GetEnableMembType(CArray<int, int>& types, int) const {
    types.RemoveAll();
    if (!m_pDB) return 0;
    const auto& table = m_pDB->Table<DBT_MEMB>();
    for (UINT key : table.Keys()) {
        const int t = table.Find(key)->type;
        bool seen = false;
        for (INT_PTR i = 0; i < types.GetSize() && !seen; ++i) seen = types[i] == t;
        if (!seen) types.Add(t);
    }
    return static_cast<int>(types.GetSize());
}

int CClassMemb::GetPileKeyListUnderFoundation(UINT key, CArray<UINT, UINT>& piles, int) const {
    piles.RemoveAll();
    if (!m_pDB) return 0;
    const auto& table = m_pDB->Table<DBT_PILE>();
    for (UINT pile : table.Keys()) {
        const T_PILE_D* p = table.Find(pile);
        for (INT_PTR i = 0; i < p->aMemb.GetSize(); ++i)
            if (p->aMemb[i] == key) {
                piles.Add(pile);
                break;
            }
    }
    return static_cast<int>(piles.GetSize());
}

int CClassMemb::GetPontKeyList(UINT key, CArray<UINT, UINT>& ponts) const {
    const T_MEMB_D* m = Find(key);
    if (!m) return 0;
    ponts.Copy(m->aPont);
    return 1;
}

int CClassMemb::PrivateModify(UINT key, const T_MEMB_D& rec, int) {
    if (!Find(key)) return 0;
    m_pDB->Table<DBT_MEMB>().Set(key, rec);
    return 1;
}

int CClassBeam::GetBeamGroup(CArray<CArray<UINT, UINT>*, CArray<UINT, UINT>*>& groups,
                             const CArray<UINT, UINT>& keys) const {
    FreeBeamGroup(groups);
    std::map<UINT, CArray<UINT, UINT>*> byGroup;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const T_BEAM_D* b = Find(keys[i]);
        if (!b) continue;
        CArray<UINT, UINT>* g = nullptr;
        if (b->group) {
            auto it = byGroup.find(b->group);
            if (it != byGroup.end()) g = it->second;
        }
        if (!g) {
            g = new CArray<UINT, UINT>;
            groups.Add(g);
            if (b->group) byGroup[b->group] = g;
        }
        g->Add(keys[i]);
    }
    return static_cast<int>(groups.GetSize());
}

void CClassBeam::FreeBeamGroup(CArray<CArray<UINT, UINT>*, CArray<UINT, UINT>*>& groups) {
    for (INT_PTR i = 0; i < groups.GetSize(); ++i) delete groups[i];
    groups.RemoveAll();
}

int CClassMtsb::GetMainMtsbList(CArray<UINT, UINT>& keys, int, int, int, void*) const {
    keys.RemoveAll();
    if (!m_pDB) return 0;
    const auto& table = m_pDB->Table<DBT_MTSB>();
    for (UINT key : table.Keys())
        if (!table.Find(key)->IsSubMtsb()) keys.Add(key);
    return static_cast<int>(keys.GetSize());
}

int CClassMtsb::GetMtsbType(UINT key) const {
    const T_MTSB_D* m = Find(key);
    return m ? m->type : 0;
}

int CClassMtsb::IsSubMtsb(UINT key) const {
    const T_MTSB_D* m = Find(key);
    return m && m->IsSubMtsb();
}

int CClassMtsb::GetPolygonShape(UINT key, CArray<double, double>& xy, int) const {
    xy.RemoveAll();
    if (!Find(key)) return 0;
    const T_MEMB_D* m = m_pDB->Table<DBT_MEMB>().Find(key);
    if (!m) return 0;
    const auto& ponts = m_pDB->Table<DBT_PONT>();
    for (INT_PTR i = 0; i < m->aPont.GetSize(); ++i) {
        const T_PONT_D* p = ponts.Find(m->aPont[i]);
        if (!p) {
            xy.RemoveAll();
            return 0;
        }
        xy.Add(p->x);
        xy.Add(p->y);
    }
    return xy.GetSize() > 0;
}

int CClassPile::GetPileLength(UINT key, double& length) const {
    const T_PILE_D* p = Find(key);
    if (!p) return 0;
    length = p->length;
    return 1;
}

double CClassPile::GetPileAllFak(const CArray<UINT, UINT>& piles) const {
    double sum = 0.0;
    for (INT_PTR i = 0; i < piles.GetSize(); ++i)
        if (const T_PILE_D* p = Find(piles[i])) sum += p->capacity;
    return sum;
}

int CClassGbpa::PrivateModify(const T_GBPA_D& rec) {
    if (!Find(GBPA_KEY)) return 0;
    m_pDB->Table<DBT_GBPA>().Set(GBPA_KEY, rec);
    return 1;
}
