#include "host/app/SampleElementDesign.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/app/SampleDesignResults.h"
#include "host/db/CDataBase.h"

namespace sample_elemdesign {

std::vector<Comb> DesignCombs(CDataBase& db) {
    std::vector<Comb> out;
    const auto& groups = db.Table<DBT_CKLG>();
    for (UINT key : groups.Keys()) {
        if (!groups.Find(key)->designUse) continue;
        const T_PLCOM_D* c = db.Table<DBT_PLCOM>().Find(key);
        if (!c || c->type != PLCOM_LINEAR) continue;
        Comb comb{key, {}};
        for (int e = 0; e < c->GetEntryCount(); ++e)
            if (c->entry[e].kind == PLOAD_STATIC) comb.terms.emplace_back(c->entry[e].key, c->entry[e].factor);
        if (!comb.terms.empty()) out.push_back(comb);
    }
    return out;
}

std::vector<RaftPlate> RaftPlates(CDataBase& db) {
    std::vector<RaftPlate> out;
    const auto& membs = db.Table<DBT_PMEMB>();
    for (size_t i = 0; i < membs.Keys().size(); ++i) {
        const T_PMEMB_D& m = membs.Records()[i];
        if (m.type != 301 || !m.modelKey || !db.Table<DBT_MTSB>().Find(m.modelKey)) continue;
        for (INT_PTR k = 0; k < m.aElem.GetSize(); ++k) {
            const T_PELEM_D* e = db.Table<DBT_PELEM>().Find(m.aElem[k]);
            if (!e || e->nNode < 3) continue;
            const T_PSECT_D* s = db.Table<DBT_PSECT>().Find(e->sect);
            if (!s) continue;
            double cx = 0.0, cy = 0.0;
            for (int n = 0; n < e->nNode; ++n) {
                const T_PNODE_D* p = db.Table<DBT_PNODE>().Find(e->node[n]);
                if (!p) break;
                cx += p->x / e->nNode;
                cy += p->y / e->nNode;
            }
            out.push_back({m.aElem[k], s->dim[0] * 1000.0 - kRaftCover, cx, cy});
        }
    }
    return out;
}

namespace {

// The node of the plates at (x, y); 0 when none.
UINT NodeAt(CDataBase& db, const std::vector<RaftPlate>& plates, double x, double y) {
    for (const RaftPlate& p : plates) {
        const T_PELEM_D* e = db.Table<DBT_PELEM>().Find(p.key);
        for (int n = 0; n < e->nNode; ++n) {
            const T_PNODE_D* q = db.Table<DBT_PNODE>().Find(e->node[n]);
            if (q && std::fabs(q->x - x) < 1e-6 && std::fabs(q->y - y) < 1e-6) return e->node[n];
        }
    }
    return 0;
}

// The crack width (mm) a face moment m (kN·m/m) opens with steel as (mm²/m) at depth h0 (mm):
// steel of at least 0.15 % of 1000 h0, its stress s = m 1e6 / (0.87 h0 As), and
// w = 1.9 s / Es (1.9 c + 0.08 d / rho), rho = As / (1000 h0), Es = 2e5 N/mm², c = 50 mm cover,
// d = 16 mm bar; 0 for no moment.
double CrackWidth(double m, double as, double h0) {
    if (m <= 0.0 || h0 <= 0.0) return 0.0;
    const double asUsed = std::max(as, 0.0015 * 1000.0 * h0);
    const double sigma = m * 1e6 / (0.87 * h0 * asUsed);
    return 1.9 * sigma / 2.0e5 * (1.9 * kRaftCover + 0.08 * 16.0 * 1000.0 * h0 / asUsed);
}

struct Region {
    double x0, y0, x1, y1, angle;
};
const Region kRegions[] = {{0.0, 0.0, 6.0, 6.0, 0.0}, {6.0, 6.0, 12.0, 12.0, 45.0}};

}  // namespace

long AddElementDesign(CDataBase& db) {
    const std::vector<Comb> combs = DesignCombs(db);
    const std::vector<RaftPlate> plates = RaftPlates(db);
    if (combs.empty() || plates.empty()) return 0;
    long added = 0;
    // Governing values per plate: [item][slot] value and combination.
    struct Gov {
        double v[2][4] = {};
        UINT c[2][4] = {};
    };
    std::vector<Gov> gov(plates.size());
    for (const Comb& c : combs)
        for (size_t i = 0; i < plates.size(); ++i) {
            double mx = 0.0, my = 0.0;
            bool ok = true;
            for (const auto& [lc, f] : c.terms) {
                const T_STRP_DL* r = db.Table<DBT_STRP>().Find(lc, plates[i].key);
                if (!r) {
                    ok = false;
                    break;
                }
                mx += f * r->blk[0][20];
                my += f * r->blk[0][21];
            }
            if (!ok) continue;
            const double m[4] = {std::max(mx, 0.0), std::max(-mx, 0.0), std::max(my, 0.0), std::max(-my, 0.0)};
            T_PDDELEM_D rec;
            for (int k = 0; k < 4; ++k) {
                const double as = sample_design::SteelForMoment(m[k], plates[i].h0);
                rec.aM.Add(m[k]);
                rec.aAs.Add(as);
                rec.aW.Add(CrackWidth(m[k], as, plates[i].h0));
                const double vals[2] = {m[k], as};
                for (int item = 0; item < 2; ++item)
                    if (gov[i].c[item][k] == 0 || vals[item] > gov[i].v[item][k]) {
                        gov[i].v[item][k] = vals[item];
                        gov[i].c[item][k] = c.key;
                    }
            }
            db.Table<DBT_PDDELEM>().Set(c.key, plates[i].key, rec);
            ++added;
        }

    UINT regionKey = 1;
    for (const Region& g : kRegions) {
        T_ELERP_D r;
        r.angle = g.angle;
        const double corners[4][2] = {{g.x0, g.y0}, {g.x1, g.y0}, {g.x1, g.y1}, {g.x0, g.y1}};
        for (const auto& p : corners) {
            const UINT n = NodeAt(db, plates, p[0], p[1]);
            if (n) r.aNode.Add(n);
        }
        int count = 0;
        for (size_t i = 0; i < plates.size(); ++i) {
            const RaftPlate& p = plates[i];
            if (p.cx < g.x0 || p.cx > g.x1 || p.cy < g.y0 || p.cy > g.y1 || gov[i].c[0][0] == 0) continue;
            r.aElem.Add(p.key);
            ++count;
            for (int item = 0; item < 2; ++item)
                for (int k = 0; k < 4; ++k) {
                    r.ave[item][k] += gov[i].v[item][k];
                    if (r.comb[item][k] == 0 || gov[i].v[item][k] > r.max[item][k]) {
                        r.max[item][k] = gov[i].v[item][k];
                        r.comb[item][k] = gov[i].c[item][k];
                    }
                }
        }
        if (count == 0 || r.aNode.GetSize() != 4) continue;
        for (int item = 0; item < 2; ++item)
            for (int k = 0; k < 4; ++k) r.ave[item][k] /= count;
        db.Table<DBT_ELERP>().Set(regionKey++, r);
        ++added;
    }
    return added;
}

namespace {

// The node at (x, y) on the ground (z = 0); 0 when none.
UINT GroundNode(CDataBase& db, double x, double y) {
    const auto& nodes = db.Table<DBT_PNODE>();
    for (size_t i = 0; i < nodes.Keys().size(); ++i) {
        const T_PNODE_D& n = nodes.Records()[i];
        if (n.z == 0.0 && std::fabs(n.x - x) < 1e-6 && std::fabs(n.y - y) < 1e-6) return nodes.Keys()[i];
    }
    return 0;
}

struct Panel {
    int raftType;  // 1 the main raft, 2 the slab band, 0 none
    double x0, y0, x1, y1;
};
const Panel kPanels[] = {
    {1, 6.0, 0.0, 12.0, 6.0},  {1, 12.0, 0.0, 18.0, 6.0}, {1, 6.0, 6.0, 12.0, 12.0}, {1, 12.0, 6.0, 18.0, 12.0},
    {2, 18.0, 0.0, 24.0, 3.0}, {2, 18.0, 3.0, 24.0, 6.0}, {0, 0.0, 18.0, 6.0, 21.0},  {0, 24.0, 0.0, 30.0, 12.0},
};

}  // namespace

long AddSlabPanels(CDataBase& db) {
    UINT rafts[3] = {0, 0, 0};
    const auto& mtsb = db.Table<DBT_MTSB>();
    for (UINT key : mtsb.Keys()) {
        const T_MTSB_D* m = mtsb.Find(key);
        if (m->type == 1 && m->parent == 0 && !rafts[1]) rafts[1] = key;
        if (m->type == 2 && !rafts[2]) rafts[2] = key;
    }
    const std::vector<Comb> combs = DesignCombs(db);
    long added = 0;
    UINT slabKey = 1;
    for (const Panel& p : kPanels) {
        T_PDDSLAB_D r;
        r.raft = rafts[p.raftType];
        if (p.raftType != 0 && !r.raft) continue;
        const double corners[4][2] = {{p.x0, p.y0}, {p.x1, p.y0}, {p.x1, p.y1}, {p.x0, p.y1}};
        double len[4];
        for (int k = 0; k < 4; ++k) {
            r.aNode.Add(GroundNode(db, corners[k][0], corners[k][1]));
            r.aChord.Add(0.0);
            len[k] = std::hypot(corners[(k + 1) % 4][0] - corners[k][0], corners[(k + 1) % 4][1] - corners[k][1]);
        }
        bool complete = true;
        for (INT_PTR k = 0; k < r.aNode.GetSize(); ++k) complete = complete && r.aNode[k] != 0;
        if (!complete) continue;
        r.angle1 = 0.0;
        r.angle2 = 90.0;
        r.nEdgeValues = 3;
        for (const Comb& c : combs) {
            double q = 0.0;
            for (const auto& [lc, f] : c.terms)
                if (lc >= 1 && lc <= 3) q += f * kPanelLoad[lc - 1];
            std::vector<double> m = {q * len[0] * len[0] / 24.0, q * len[1] * len[1] / 24.0};
            for (int k = 0; k < 4; ++k) {
                const double end = -q * len[k] * len[k] / 12.0, mid = q * len[k] * len[k] / 24.0;
                m.insert(m.end(), {end, mid, end});
            }
            r.aComb.Add(c.key);
            for (double v : m) {
                r.aM.Add(v);
                r.aAs.Add(sample_design::SteelForMoment(v, kPanelH0));
            }
        }
        db.Table<DBT_PDDSLAB>().Set(slabKey++, r);
        ++added;
    }
    return added;
}

}  // namespace sample_elemdesign
