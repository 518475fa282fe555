#include "host/app/SampleFoundationChecks.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

#include "host/check/CheckTables.h"
#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"

namespace sample_checks {
namespace {

struct Load {
    double n = 0.0, mx = 0.0, my = 0.0;  // kN, kN.m
};

}  // namespace

// Check groups by key: the terms of their texts.
std::map<UINT, std::vector<std::pair<UINT, double>>> Combinations(CDataBase& db) {
    std::map<UINT, std::vector<std::pair<UINT, double>>> out;
    CClassLdgp groups;
    groups.ConnectToDB(&db);
    std::vector<std::pair<UINT, double>> terms;
    for (UINT key : db.Table<DBT_CKLG>().Keys())
        if (groups.GetTerms(key, terms)) out[key] = terms;
    return out;
}

std::vector<UINT> GroupsOfKind(CDataBase& db, int kind) {
    std::vector<UINT> out;
    auto& t = db.Table<DBT_CKLG>();
    for (size_t i = 0; i < t.Keys().size(); ++i)
        if (t.Records()[i].kind == kind) out.push_back(t.Keys()[i]);
    return out;
}

namespace {

using PointKey = std::pair<long long, long long>;
PointKey KeyOf(double x, double y) { return {std::llround(x * 1e6), std::llround(y * 1e6)}; }

class Reactions {
public:
    explicit Reactions(CDataBase& db) : m_db(db), m_combs(Combinations(db)) {
        auto& nodes = db.Table<DBT_PNODE>();
        for (size_t i = 0; i < nodes.Keys().size(); ++i) {
            const T_PNODE_D& n = nodes.Records()[i];
            m_atPoint[KeyOf(n.x, n.y)].push_back(nodes.Keys()[i]);
        }
    }
    // The load of group g at a plan point; false when g is no combination or no node reacts.
    bool At(double x, double y, UINT g, Load& out) const {
        auto c = m_combs.find(g);
        auto p = m_atPoint.find(KeyOf(x, y));
        if (c == m_combs.end() || p == m_atPoint.end()) return false;
        bool found = false;
        out = Load();
        for (const auto& [lc, f] : c->second)
            for (UINT node : p->second)
                if (const T_REAC_D* r = m_db.Table<DBT_REAC>().Find(lc, node)) {
                    out.n += f * r->FZ;
                    out.mx += f * r->MX;
                    out.my += f * r->MY;
                    found = true;
                }
        return found;
    }

private:
    CDataBase& m_db;
    std::map<UINT, std::vector<std::pair<UINT, double>>> m_combs;
    std::map<PointKey, std::vector<UINT>> m_atPoint;
};

bool PointOf(CDataBase& db, UINT memb, int index, double& x, double& y) {
    const T_MEMB_D* m = db.Table<DBT_MEMB>().Find(memb);
    if (!m || m->aPont.GetSize() <= index) return false;
    const T_PONT_D* p = db.Table<DBT_PONT>().Find(m->aPont[index]);
    if (!p) return false;
    x = p->x;
    y = p->y;
    return true;
}

// The side of the column standing at the point (the larger of b and h); 0 when none stands there.
double ColumnSideAt(CDataBase& db, double x, double y) {
    auto& t = db.Table<DBT_COLM>();
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        double cx, cy;
        if (PointOf(db, t.Keys()[i], 0, cx, cy) && KeyOf(cx, cy) == KeyOf(x, y))
            return std::max(t.Records()[i].b, t.Records()[i].h);
    }
    return 0.0;
}

// Punching (punch) or shear check of the part at the face of the step or column above step s of a square footing of base width B.
CheckData_P PartCheck(const T_COLF_D& f, int s, double aTop, double pj, double ft, bool punch) {
    const double B = f.step[0].b;
    // Each part is checked over the thickness of its own step (the steps below are not counted).
    const double h0 = f.step[s].t - kCover;
    if (punch) {
        const double ab = std::min(aTop + 2.0 * h0, B);
        return CheckData_P(pj * (B * B - ab * ab) / 4.0, 0.7 * 1.0 * ft * (aTop + ab) / 2.0 * h0);
    }
    const double betaHs = std::pow(0.8 / std::max(h0, 0.8), 0.25);
    return CheckData_P(pj * B * (B - aTop) / 2.0, 0.7 * betaHs * ft * B * h0);
}

long AddFootings(CDataBase& db, const Reactions& reac) {
    const std::vector<UINT> standard = GroupsOfKind(db, LDGP_KIND_STANDARD);
    const std::vector<UINT> basic = GroupsOfKind(db, LDGP_KIND_BASIC);
    auto& t = db.Table<DBT_COLF>();
    long rows = 0;
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        const UINT key = t.Keys()[i];
        const T_COLF_D& f = t.Records()[i];
        if (f.circle || f.nStep < 1) continue;
        T_PCDCOLF_D rec;
        // Inputs that give every check a pass and a failure: the spread footing on good soil with
        // lean concrete (its top step fails punching and shear), the pile cap on weak soil.
        const bool spread = f.kind == COLF_SPREAD;
        rec.depth = 1.5;
        rec.fa = spread ? 180.0 : 40.0;
        rec.faz = spread ? 120.0 : 20.0;
        rec.ft = spread ? kFtLean : kFtCap;
        const double b = f.step[0].b, h = f.step[0].h, A = b * h;
        const double G = kGamma * A * rec.depth;
        for (UINT g : standard) {
            Load l;
            if (!reac.At(f.cx, f.cy, g, l)) continue;
            const double p = (l.n + G) / A;
            const double pmax = p + std::fabs(l.mx) / (b * h * h / 6.0) + std::fabs(l.my) / (h * b * b / 6.0);
            CZLCheckData_P z;
            z.m_Ave = CheckData_P(p, rec.fa);
            z.m_Max = CheckData_P(pmax, 1.2 * rec.fa);
            rec.m_mapCZL.SetAt(g, z);
            CheckData_P w((l.n + G) / ((b + 2.0 * kWeakZ * kWeakTan) * (h + 2.0 * kWeakZ * kWeakTan)), rec.faz);
            rec.m_mapWeak.SetAt(g, w);
        }
        const double column = ColumnSideAt(db, f.cx, f.cy);
        for (UINT g : basic) {
            Load l;
            if (!reac.At(f.cx, f.cy, g, l)) continue;
            const double pj = l.n / A;
            rec.m_mapDouble.SetAt(g, pj);
            CJCheckData_P cq, jq;
            for (int k = 0; k < f.nStep; ++k) {
                const int s = f.nStep - 1 - k;
                const double aTop = s == f.nStep - 1 ? column : f.step[s + 1].b;
                const CheckData_P pc = PartCheck(f, s, aTop, pj, rec.ft, true);
                const CheckData_P sc = PartCheck(f, s, aTop, pj, rec.ft, false);
                if (k == 0) {
                    CheckData_P a = pc, c = sc;
                    cq.m_mapPart0.SetAt(0, a);
                    jq.m_mapPart0.SetAt(0, c);
                } else {
                    cq.m_aPart.Add(pc);
                    jq.m_aPart.Add(sc);
                }
            }
            // A footing whose punching cones all cover its base has no punching check.
            bool punched = false;
            for (int k = 0; k < cq.GetPartCount(); ++k) {
                CheckData_P c;
                punched = punched || (cq.GetPart(k, c) && c.get_Force() > 0.0);
            }
            if (punched) rec.m_mapCQ.SetAt(g, cq);
            rec.m_mapJQ.SetAt(g, jq);
        }
        db.Table<DBT_PCDCOLF>().Set(key, CheckRows::Encode(rec));
        ++rows;
    }
    return rows;
}

long AddColumns(CDataBase& db, const Reactions& reac) {
    const std::vector<UINT> basic = GroupsOfKind(db, LDGP_KIND_BASIC);
    auto& t = db.Table<DBT_COLM>();
    long rows = 0;
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        const UINT key = t.Keys()[i];
        const T_COLM_D& c = t.Records()[i];
        double x, y;
        if (c.h <= 0.0 || !PointOf(db, key, 0, x, y)) continue;
        T_PCDCJY_D rec;
        rec.fc = key % 3 == 0 ? kFcWeak : kFc;
        for (UINT g : basic) {
            Load l;
            if (!reac.At(x, y, g, l)) continue;
            CheckData_P check(l.n, 1.35 * kBetaL * rec.fc * c.b * c.h);
            rec.m_mapCheck.SetAt(g, check);
        }
        if (rec.m_mapCheck.IsEmpty()) continue;
        db.Table<DBT_PCDCJY>().Set(key, CheckRows::Encode(rec));
        ++rows;
    }
    return rows;
}

long AddBeams(CDataBase& db, const Reactions& reac) {
    const std::vector<UINT> standard = GroupsOfKind(db, LDGP_KIND_STANDARD);
    auto& t = db.Table<DBT_BEAM>();
    long rows = 0;
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        const UINT key = t.Keys()[i];
        double x1, y1, x2, y2;
        if (!PointOf(db, key, 0, x1, y1) || !PointOf(db, key, 1, x2, y2)) continue;
        const double L = std::hypot(x2 - x1, y2 - y1);
        if (L <= 0.0) continue;
        T_PCDBEAM_D rec;
        rec.width = 0.5;
        rec.depth = 1.5;
        rec.fa = 150.0;
        for (UINT g : standard) {
            Load l1, l2;
            const bool r1 = reac.At(x1, y1, g, l1), r2 = reac.At(x2, y2, g, l2);
            if (!r1 && !r2) continue;
            const double base = rec.width * L, soil = kGamma * rec.depth;
            CZLCheckData_P z;
            z.m_Ave = CheckData_P((l1.n + l2.n) / base + soil, rec.fa);
            z.m_Max = CheckData_P(2.0 * std::max(l1.n, l2.n) / base + soil, 1.2 * rec.fa);
            rec.m_mapCZL.SetAt(g, z);
        }
        if (rec.m_mapCZL.IsEmpty()) continue;
        db.Table<DBT_PCDBEAM>().Set(key, CheckRows::Encode(rec));
        ++rows;
    }
    return rows;
}

}  // namespace

long AddSampleFoundationChecks(CDataBase& db) {
    const Reactions reac(db);
    return AddFootings(db, reac) + AddColumns(db, reac) + AddBeams(db, reac);
}

}  // namespace sample_checks
