#include "host/app/SampleRaftChecks.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "host/app/SampleFoundationChecks.h"
#include "host/check/IsofCheckToolUtil.h"
#include "host/check/RaftCheckTables.h"
#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"

namespace sample_checks {
namespace {

struct Pt {
    double x, y;
};

// The raft's outline from its member's points; empty when a point is missing.
std::vector<Pt> OutlineOf(CDataBase& db, UINT memb) {
    std::vector<Pt> out;
    const T_MEMB_D* m = db.Table<DBT_MEMB>().Find(memb);
    if (!m) return out;
    for (INT_PTR i = 0; i < m->aPont.GetSize(); ++i) {
        const T_PONT_D* p = db.Table<DBT_PONT>().Find(m->aPont[i]);
        if (!p) return {};
        out.push_back({p->x, p->y});
    }
    return out;
}

// Area, centroid and section moduli of a polygon: W = I about the centroid axis / the farthest vertex.
struct Section {
    double A = 0, cx = 0, cy = 0, Wx = 0, Wy = 0, bmin = 0;
};
Section SectionOf(const std::vector<Pt>& p) {
    Section s;
    double a2 = 0, sx = 0, sy = 0, ixx = 0, iyy = 0;
    for (size_t i = 0; i < p.size(); ++i) {
        const Pt& u = p[i];
        const Pt& v = p[(i + 1) % p.size()];
        const double c = u.x * v.y - v.x * u.y;
        a2 += c;
        sx += (u.x + v.x) * c;
        sy += (u.y + v.y) * c;
        iyy += c * (u.x * u.x + u.x * v.x + v.x * v.x);  // integral of x^2, x 12
        ixx += c * (u.y * u.y + u.y * v.y + v.y * v.y);
    }
    s.A = std::fabs(a2) / 2.0;
    if (s.A <= 0.0) return s;
    s.cx = sx / (3.0 * a2);
    s.cy = sy / (3.0 * a2);
    const double Iy = std::fabs(iyy / 12.0) - s.A * s.cx * s.cx;  // about x = cx: governs x eccentricity
    const double Ix = std::fabs(ixx / 12.0) - s.A * s.cy * s.cy;
    double dx = 0, dy = 0, lox = p[0].x, hix = p[0].x, loy = p[0].y, hiy = p[0].y;
    for (const Pt& q : p) {
        dx = std::max(dx, std::fabs(q.x - s.cx));
        dy = std::max(dy, std::fabs(q.y - s.cy));
        lox = std::min(lox, q.x), hix = std::max(hix, q.x), loy = std::min(loy, q.y), hiy = std::max(hiy, q.y);
    }
    s.Wx = Iy / dx;
    s.Wy = Ix / dy;
    s.bmin = std::min(hix - lox, hiy - loy);
    return s;
}

// Inside or on the outline (1e-6 m).
bool Inside(const std::vector<Pt>& p, double x, double y) {
    bool in = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
        const Pt& a = p[i];
        const Pt& b = p[j];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        const double cross = (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
        const double dot = (x - a.x) * (b.x - a.x) + (y - a.y) * (b.y - a.y);
        if (len > 0 && std::fabs(cross) / len < 1e-6 && dot >= -1e-6 && dot <= len * len + 1e-6) return true;
        if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
}

// The summed reaction of a group over the nodes inside the outline, and its first moments.
struct Sum {
    double fx = 0, fy = 0, fz = 0, mx = 0, my = 0, fzx = 0, fzy = 0;
    bool any = false;
};

Sum SumOver(CDataBase& db, const std::vector<Pt>& outline, const std::vector<std::pair<UINT, double>>& terms) {
    Sum t;
    auto& nodes = db.Table<DBT_PNODE>();
    for (size_t i = 0; i < nodes.Keys().size(); ++i) {
        const T_PNODE_D& n = nodes.Records()[i];
        if (!Inside(outline, n.x, n.y)) continue;
        for (const auto& [lc, f] : terms)
            if (const T_REAC_D* q = db.Table<DBT_REAC>().Find(lc, nodes.Keys()[i])) {
                t.fx += f * q->FX, t.fy += f * q->FY, t.fz += f * q->FZ;
                t.mx += f * q->MX, t.my += f * q->MY;
                t.fzx += f * q->FZ * n.x, t.fzy += f * q->FZ * n.y;
                t.any = true;
            }
    }
    return t;
}

// ---- punching and shear of the objects on the rafts ----

struct RaftOutline {
    UINT key;
    bool sub;
    std::vector<Pt> outline;
};

// The raft an object at (x, y) belongs to: a sub-raft holding the point, else a main raft; 0 for none.
UINT RaftAt(const std::vector<RaftOutline>& rafts, double x, double y) {
    UINT main = 0;
    for (const RaftOutline& r : rafts)
        if (Inside(r.outline, x, y)) {
            if (r.sub) return r.key;
            if (main == 0) main = r.key;
        }
    return main;
}

// The a by b rectangle about c, side a turned angle degrees from +x.
std::vector<Pt> Rect(double a, double b, double angle, Pt c) {
    const double r = angle * M_PI / 180.0, ux = std::cos(r), uy = std::sin(r);
    std::vector<Pt> out;
    for (const auto& [s, t] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}})
        out.push_back({c.x + 0.5 * (s * a * ux - t * b * uy), c.y + 0.5 * (s * a * uy + t * b * ux)});
    return out;
}

// One object of a raft's punching and shear maps: its kind, its loaded a by b rectangle, its
// members (wall groups) or outline (regions, m), and whether it is checked for punching.
struct CJObject {
    UINT key;
    int kind;
    std::vector<Pt> rect;
    double a, b;
    std::vector<UINT> membs;
    bool punching = true;
};

// The sample's regions (kind, box, punching checked too): a bottom-slab bay, a core tube around
// the wall on the main raft and a thickness-change strip beside the sub-raft; the sub-raft's
// core tube and a strip at its edge; the slab-band raft as a bottom-slab region checked for shear
// only. Each goes to the raft holding its middle.
struct SampleRegion {
    int kind;
    double x0, y0, x1, y1;
    bool punching;
};
constexpr SampleRegion kRegions[] = {
    {2, 6, 0, 12, 6, true},    {3, 11, 10, 19, 14, true}, {4, 6, 6, 9, 12, false},
    {3, 0, 6, 6, 12, true},    {4, 3, 6, 6, 12, false},   {2, 18, 0, 24, 6, false},
};

bool PointOfMemb(CDataBase& db, UINT memb, int index, Pt& p) {
    const T_MEMB_D* m = db.Table<DBT_MEMB>().Find(memb);
    if (!m || m->aPont.GetSize() <= index) return false;
    const T_PONT_D* q = db.Table<DBT_PONT>().Find(m->aPont[index]);
    if (!q) return false;
    p = {q->x, q->y};
    return true;
}

// The objects of raft key: its columns (by member key), its wall groups and its regions
// (numbered 1, 2, ... in that order). Each wall is a group of its own; a wall on a sub-raft makes
// a second group with the column at its second end (a group holding another member).
std::vector<CJObject> ObjectsOf(CDataBase& db, const std::vector<RaftOutline>& rafts, UINT key) {
    std::vector<CJObject> out;
    auto& colms = db.Table<DBT_COLM>();
    auto columnAt = [&](Pt p) -> UINT {
        for (size_t i = 0; i < colms.Keys().size(); ++i) {
            Pt c;
            if (PointOfMemb(db, colms.Keys()[i], 0, c) && std::hypot(c.x - p.x, c.y - p.y) < 1e-6) return colms.Keys()[i];
        }
        return 0;
    };
    for (size_t i = 0; i < colms.Keys().size(); ++i) {
        const T_COLM_D& c = colms.Records()[i];
        const T_MEMB_D* m = db.Table<DBT_MEMB>().Find(colms.Keys()[i]);
        Pt p;
        if (!m || c.h <= 0.0 || !PointOfMemb(db, colms.Keys()[i], 0, p) || RaftAt(rafts, p.x, p.y) != key) continue;
        out.push_back({colms.Keys()[i], 0, Rect(c.b, c.h, m->angle, p), c.b, c.h, {}, true});
    }
    UINT number = 1;
    auto& walls = db.Table<DBT_WALL>();
    for (size_t i = 0; i < walls.Keys().size(); ++i) {
        Pt p, q;
        if (!PointOfMemb(db, walls.Keys()[i], 0, p) || !PointOfMemb(db, walls.Keys()[i], 1, q)) continue;
        if (RaftAt(rafts, 0.5 * (p.x + q.x), 0.5 * (p.y + q.y)) != key) continue;
        double angle, a, b;
        T_POINT2D c;
        const T_WALL_SEGMENT seg{T_POINT2D(p.x, p.y), T_POINT2D(q.x, q.y), walls.Records()[i].thick};
        if (!CIsofCheckToolUtil::s_GetWallGroupBox({seg}, angle, a, b, c)) continue;
        const std::vector<Pt> rect = Rect(a, b, angle, {c.x, c.y});
        out.push_back({number++, 1, rect, a, b, {walls.Keys()[i]}, true});
        const bool sub = std::any_of(rafts.begin(), rafts.end(), [&](const RaftOutline& r) { return r.key == key && r.sub; });
        if (const UINT col = columnAt(q); sub && col != 0) out.push_back({number++, 1, rect, a, b, {walls.Keys()[i], col}, true});
    }
    for (const SampleRegion& r : kRegions) {
        if (RaftAt(rafts, 0.5 * (r.x0 + r.x1), 0.5 * (r.y0 + r.y1)) != key) continue;
        out.push_back({number++, r.kind, {{r.x0, r.y0}, {r.x1, r.y0}, {r.x1, r.y1}, {r.x0, r.y1}}, r.x1 - r.x0,
                       r.y1 - r.y0, {}, r.punching});
    }
    return out;
}

// The punching and shear maps of raft key under every basic group: N = the reactions inside the
// object's rectangle; punching 0.7 bhp ft um h0 with um = 2(a + b) + 4 h0; shear
// 0.7 bhs ft (2(a + b) + 8 h0) h0.
void AddPunchingShear(CDataBase& db, const std::vector<RaftOutline>& rafts, UINT key, bool sub, double thick,
                      T_PCDMTSB_D& rec) {
    const auto combs = Combinations(db);
    const double ft = sub ? kRaftFtSub : kRaftFtMain;
    const double h0 = thick - kCover;
    if (!(h0 > 0.0)) return;
    const double betaHp = thick <= 0.8 ? 1.0 : thick >= 2.0 ? 0.9 : 1.0 - 0.1 * (thick - 0.8) / 1.2;
    const double betaHs = std::pow(0.8 / std::clamp(h0, 0.8, 2.0), 0.25);
    for (const CJObject& o : ObjectsOf(db, rafts, key)) {
        SlabCJCheckData_P cq, jq;
        cq.m_nType = jq.m_nType = o.kind;
        for (UINT m : o.membs) cq.m_aMemb.Add(m), jq.m_aMemb.Add(m);
        if (o.kind >= 2)
            for (const Pt& p : o.rect) cq.m_aPoly.Add(T_POINT2D(p.x, p.y)), jq.m_aPoly.Add(T_POINT2D(p.x, p.y));
        const double perimeter = 2.0 * (o.a + o.b);
        for (UINT g : GroupsOfKind(db, LDGP_KIND_BASIC)) {
            auto c = combs.find(g);
            if (c == combs.end()) continue;
            const Sum t = SumOver(db, o.rect, c->second);
            if (!t.any) continue;
            CheckData_P punch(t.fz, 0.7 * betaHp * ft * (perimeter + 4.0 * h0) * h0);
            CheckData_P shear(t.fz, 0.7 * betaHs * ft * (perimeter + 8.0 * h0) * h0);
            cq.m_mapCheck.SetAt(g, punch);
            jq.m_mapCheck.SetAt(g, shear);
        }
        if (jq.m_mapCheck.IsEmpty()) continue;
        if (o.punching) rec.m_mapCQ.SetAt(o.key, cq);
        rec.m_mapJQ.SetAt(o.key, jq);
    }
}

}  // namespace

long AddSampleRaftChecks(CDataBase& db) {
    const auto combs = Combinations(db);
    const std::vector<UINT> standard = GroupsOfKind(db, LDGP_KIND_STANDARD);
    double water = 0.0;
    const bool hasWater = !db.Table<DBT_WDLD>().Keys().empty();
    if (hasWater) water = db.Table<DBT_WDLD>().Records()[0].level;
    // The quasi-permanent load: 1.0 DL + 0.5 LL (the static cases of those names).
    std::vector<std::pair<UINT, double>> quasi;
    {
        auto& cases = db.Table<DBT_PSTLD>();
        for (size_t i = 0; i < cases.Keys().size(); ++i) {
            const std::string name = cases.Records()[i].name;
            if (cases.Records()[i].type != PLOAD_STATIC) continue;
            if (name == "DL") quasi.emplace_back(cases.Keys()[i], 1.0);
            if (name == "LL") quasi.emplace_back(cases.Keys()[i], kQuasiLL);
        }
    }
    CArray<UINT, UINT> quasiKeys;
    {
        CClassLdgp groups;
        groups.ConnectToDB(&db);
        groups.GetLoadCaseKeys(quasiKeys, LDGP_KIND_QUASI);
    }
    auto& rafts = db.Table<DBT_MTSB>();
    std::vector<RaftOutline> outlines;
    for (size_t r = 0; r < rafts.Keys().size(); ++r)
        outlines.push_back({rafts.Keys()[r], rafts.Records()[r].IsSubMtsb() != 0, OutlineOf(db, rafts.Keys()[r])});
    long rows = 0;
    for (size_t r = 0; r < rafts.Keys().size(); ++r) {
        const UINT key = rafts.Keys()[r];
        const bool sub = rafts.Records()[r].IsSubMtsb();
        const std::vector<Pt> outline = OutlineOf(db, key);
        if (outline.size() < 3) continue;
        const Section s = SectionOf(outline);
        if (s.A <= 0.0) continue;
        // The load centre: the pile-group centre (mean of the pile points) under a raft with piles,
        // else the outline's centroid.
        double cx = s.cx, cy = s.cy;
        {
            double px = 0, py = 0;
            int n = 0;
            auto& piles = db.Table<DBT_PILE>();
            for (size_t i = 0; i < piles.Keys().size(); ++i) {
                const T_PILE_D& p = piles.Records()[i];
                const T_MEMB_D* m = db.Table<DBT_MEMB>().Find(piles.Keys()[i]);
                bool under = false;
                for (INT_PTR k = 0; k < p.aMemb.GetSize(); ++k) under = under || p.aMemb[k] == key;
                if (!under || !m || m->aPont.GetSize() < 1) continue;
                if (const T_PONT_D* q = db.Table<DBT_PONT>().Find(m->aPont[0])) px += q->x, py += q->y, ++n;
            }
            if (n > 0) cx = px / n, cy = py / n;
        }
        T_PCDMTSB_D rec;
        rec.fa = sub ? kRaftFaSub : kRaftFaMain;
        const double G = kGamma * s.A * kRaftDepth;
        UINT worstSlide = 0, worstTurn = 0, worstMax = 0;
        double rSlide = 0, rTurn = 0, rMax = 0;
        auto sumOf = [&](const std::vector<std::pair<UINT, double>>& terms) { return SumOver(db, outline, terms); };
        // The load centre under the quasi-permanent load of every group the check list of kind 2
        // offers (settlement groups and quasi-permanent combinations).
        for (INT_PTR i = 0; i < quasiKeys.GetSize(); ++i) {
            const Sum t = sumOf(quasi);
            const double V = t.fz + G;
            if (!t.any || std::fabs(V) < 1e-9) continue;
            LCCheckData_P lc;
            lc.m_dX = cx, lc.m_dY = cy, lc.m_dV = V;
            lc.m_CheckX = CheckData_P((t.fzx + G * s.cx) / V - cx, 0.1 * s.Wx / s.A);
            lc.m_CheckY = CheckData_P((t.fzy + G * s.cy) / V - cy, 0.1 * s.Wy / s.A);
            rec.m_mapLC.SetAt(quasiKeys[i], lc);
        }
        for (UINT g : standard) {
            auto c = combs.find(g);
            if (c == combs.end()) continue;
            const Sum t = sumOf(c->second);
            if (!t.any) continue;
            const double V = t.fz + G;
            if (std::fabs(V) < 1e-9) continue;
            const double ex = (t.fzx + G * s.cx) / V - cx, ey = (t.fzy + G * s.cy) / V - cy;
            const double p = V / s.A;
            CZLCheckData_P z;
            z.m_Ave = CheckData_P(p, rec.fa);
            z.m_Max = CheckData_P(p + std::fabs(V * ex) / s.Wx + std::fabs(V * ey) / s.Wy, 1.2 * rec.fa);
            rec.m_mapCZL.SetAt(g, z);
            if (worstMax == 0 || z.m_Max.GetRatio(3) < rMax) worstMax = g, rMax = z.m_Max.GetRatio(3);
            const double Q = std::hypot(t.fx, t.fy);
            if (Q > 1e-6) {
                CheckData_P slide(kRaftKs * Q, kRaftMu * V);
                rec.m_mapSlide.SetAt(g, slide);
                if (worstSlide == 0 || slide.GetRatio(0) < rSlide) worstSlide = g, rSlide = slide.GetRatio(0);
            }
            const double Mc = Q * kRaftDepth + std::hypot(t.mx, t.my);
            if (Mc > 1e-6) {
                CheckData_P turn(kRaftKr * Mc, V * s.bmin / 2.0);
                rec.m_mapTurn.SetAt(g, turn);
                if (worstTurn == 0 || turn.GetRatio(0) < rTurn) worstTurn = g, rTurn = turn.GetRatio(0);
            }
            // Buoyancy on the base at kRaftBaseZ against the group's weight; the first group's check
            // is also the one shown without a load case (key 0).
            if (hasWater) {
                CheckData_P kf(kGammaW * s.A * std::max(0.0, water - kRaftBaseZ), V);
                rec.m_mapKF.SetAt(g, kf);
                if (rec.m_mapKF.GetCount() == 1) rec.m_mapKF.SetAt(0, kf);
            }
        }
        if (rec.m_mapCZL.IsEmpty()) continue;
        // The unfavourable combinations: the governing sliding, overturning and maximum-pressure
        // groups with their texts; a sub-raft also names a one-character text (left out of the
        // list) under a group not named yet.
        for (UINT g : {worstSlide, worstTurn, worstMax})
            if (g != 0)
                if (const T_CKLG_D* k = db.Table<DBT_CKLG>().Find(g)) rec.m_mapBad[g] = CString(k->sort);
        for (UINT g : standard)
            if (sub && rec.m_mapBad.count(g) == 0) {
                rec.m_mapBad[g] = "-";
                break;
            }
        AddPunchingShear(db, outlines, key, sub, rafts.Records()[r].thick, rec);
        db.Table<DBT_PCDMTSB>().Set(key, CheckRows::Encode(rec));
        ++rows;
    }
    return rows;
}

}  // namespace sample_checks
