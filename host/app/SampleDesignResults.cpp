#include "host/app/SampleDesignResults.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/app/SampleSlabDesign.h"
#include "host/db/CDataBase.h"

namespace sample_design {

namespace {

struct Comb {
    UINT key;
    std::vector<std::pair<UINT, double>> terms;  // static load case, factor
};

// The linear combinations of static cases, in table order.
std::vector<Comb> LinearCombs(CDataBase& db) {
    std::vector<Comb> out;
    auto& t = db.Table<DBT_PLCOM>();
    for (size_t i = 0; i < t.Keys().size(); ++i) {
        const T_PLCOM_D& c = t.Records()[i];
        if (c.type != PLCOM_LINEAR) continue;
        Comb comb{t.Keys()[i], {}};
        for (int e = 0; e < c.GetEntryCount(); ++e)
            if (c.entry[e].kind == PLOAD_STATIC) comb.terms.emplace_back(c.entry[e].key, c.entry[e].factor);
        if (!comb.terms.empty()) out.push_back(comb);
    }
    return out;
}

// Combined station values [9][6] of a beam force record (MBWG by element, or MBWB by result
// number as segments); false when a case has no row.
bool BeamStations(CDataBase& db, const Comb& c, UINT key, bool bWallBeam, double st[9][6]) {
    for (int k = 0; k < 9; ++k)
        for (int j = 0; j < 6; ++j) st[k][j] = 0.0;
    for (const auto& [lc, f] : c.terms) {
        if (bWallBeam) {
            const T_STRG_D* p = db.Table<DBT_MBWB>().Find(lc, key);
            if (!p) return false;
            for (int k = 0; k < 9; ++k)
                for (int j = 0; j < 6; ++j) st[k][j] += f * (k < 8 ? p->d[12 * k + j] : p->d[12 * 7 + 6 + j]);
        } else {
            const T_MBWG_D* p = db.Table<DBT_MBWG>().Find(lc, key);
            if (!p) return false;
            for (int k = 0; k < 9; ++k)
                for (int j = 0; j < 6; ++j) st[k][j] += f * p->d[k][j];
        }
    }
    return true;
}

// Combined blocks of a column or wall force record in the design order (bottom, inner, inner, top).
bool ColumnBlocks(CDataBase& db, const Comb& c, UINT key, bool bWall, double bl[4][6]) {
    static const int kFrom[4] = {0, 2, 3, 1};
    for (int b = 0; b < 4; ++b)
        for (int j = 0; j < 6; ++j) bl[b][j] = 0.0;
    for (const auto& [lc, f] : c.terms) {
        const T_MBCL_D* p = bWall ? db.Table<DBT_MBWC>().Find(lc, key) : db.Table<DBT_MBCL>().Find(lc, key);
        if (!p) return false;
        for (int b = 0; b < 4; ++b)
            for (int j = 0; j < 6; ++j) bl[b][j] += f * p->d[kFrom[b]][j];
    }
    return true;
}

const T_PSECT_D* SectionOf(CDataBase& db, const T_PMEMB_D& m) {
    if (m.aElem.GetSize() == 0) return nullptr;
    const T_PELEM_D* e = db.Table<DBT_PELEM>().Find(m.aElem[0]);
    return e ? db.Table<DBT_PSECT>().Find(e->sect) : nullptr;
}

// Beam design from station forces (component 2 shear, 3 torsion, 4 moment) over the combinations.
bool DesignBeam(CDataBase& db, const std::vector<Comb>& combs, UINT key, bool bWallBeam, double h0, T_RBEM_D& r) {
    r.Initialize();
    for (const Comb& c : combs) {
        double st[9][6];
        if (!BeamStations(db, c, key, bWallBeam, st)) return false;
        for (int k = 0; k < 9; ++k) {
            T_RBEM_BASE& b = r.base[k];
            const double M = st[k][4], V = st[k][2], T = st[k][3];
            b.dAsTop = std::max(b.dAsTop, SteelForMoment(std::min(M, 0.0), h0));
            b.dAsBot = std::max(b.dAsBot, SteelForMoment(std::max(M, 0.0), h0));
            b.dAsv = std::max(b.dAsv, StirrupsForShear(V, h0));
            b.dAst = std::max(b.dAst, SteelForMoment(T, h0));
            T_RBEM_SHEAR& z = r.shear[k >= 3 && k <= 5 ? 0 : 1];
            z.dV = std::max(z.dV, std::fabs(V));
        }
    }
    for (int k = 0; k < 9; ++k) {
        T_RBEM_SHEAR& z = r.shear[k >= 3 && k <= 5 ? 0 : 1];
        z.dAsv = std::max(z.dAsv, r.base[k].dAsv);
    }
    return true;
}

// Column design: sides b (local y) and h (local z) in m.
bool DesignColumn(CDataBase& db, const std::vector<Comb>& combs, UINT key, double b, double h, T_RCOL_D& r) {
    r.Initialize();
    const double bmm = b * 1000.0, hmm = h * 1000.0;
    const double A = bmm * hmm;
    const double h0y = hmm - kCoverBeam, h0z = bmm - kCoverBeam;
    for (const Comb& c : combs) {
        double bl[4][6];
        if (!ColumnBlocks(db, c, key, false, bl)) return false;
        for (int k = 0; k < 4; ++k) {
            T_RCOL_BASE& s = r.base[k];
            const double N = std::max(-bl[k][0], 0.0);  // compression (negative in the records)
            s.dAsx = std::max(s.dAsx, SteelForMoment(bl[k][5], h0y));
            s.dAsy = std::max(s.dAsy, SteelForMoment(bl[k][4], h0z));
            s.dAsvx = std::max(s.dAsvx, StirrupsForShear(bl[k][1], h0y));
            s.dAsvy = std::max(s.dAsvy, StirrupsForShear(bl[k][2], h0z));
            r.dNmax = std::max(r.dNmax, N);
            r.dMmax = std::max({r.dMmax, std::fabs(bl[k][4]), std::fabs(bl[k][5])});
        }
        // Ratios at the bottom (block 0) and the top (block 3); a later combination takes a part
        // only with a strictly larger force.
        for (int end = 0; end < 2; ++end) {
            const int k = end == 0 ? 0 : 3;
            const double N = std::max(-bl[k][0], 0.0);
            const double V = std::max(std::fabs(bl[k][1]), std::fabs(bl[k][2]));
            const double F[2] = {N, V};
            for (int q = 0; q < 2; ++q) {
                const int p = 2 * q + end;
                if (r.nPartLoad[p] == 0 || F[q] > r.part[p].dForce) {
                    r.part[p].dForce = F[q];
                    r.nPartLoad[p] = c.key;
                }
            }
        }
    }
    for (int end = 0; end < 2; ++end) {
        r.part[end].dFactor = r.part[end].dForce * 1e3 / (kFc * A);
        r.part[2 + end].dFactor = r.part[2 + end].dForce * 1e3 / (kFc * bmm * h0y);
    }
    for (int k = 0; k < 4; ++k) {
        T_RCOL_BASE& s = r.base[k];
        s.dAsc = std::max(s.dAsx, s.dAsy) / 3.0;
        T_RCOL_SHEAR& z = r.shear[k == 1 || k == 2 ? 0 : 1];
        z.dAsvx = std::max(z.dAsvx, s.dAsvx);
        z.dAsvy = std::max(z.dAsvy, s.dAsvy);
    }
    return true;
}

bool DesignWall(CDataBase& db, const std::vector<Comb>& combs, UINT resultNo, double lengthM, T_RWAL_D& r) {
    r.Initialize();
    const double h0 = lengthM * 1000.0 - kWallEndZone;
    for (const Comb& c : combs) {
        double bl[4][6];
        if (!ColumnBlocks(db, c, resultNo, true, bl)) return false;
        for (int k = 0; k < 4; ++k) {
            r.base[k].dAs = std::max(r.base[k].dAs, SteelForMoment(std::max(std::fabs(bl[k][4]), std::fabs(bl[k][5])), h0));
            r.base[k].dAsh =
                std::max(r.base[k].dAsh, StirrupsForShear(std::max(std::fabs(bl[k][1]), std::fabs(bl[k][2])), h0));
        }
    }
    return true;
}

bool DesignSlab(CDataBase& db, const std::vector<Comb>& combs, UINT key, size_t nEdges, double h0, T_RSLB_D& r) {
    r.Initialize();
    std::vector<double> edges(nEdges, 0.0);
    for (const Comb& c : combs) {
        double cx = 0.0, cy = 0.0;
        std::vector<double> neg;
        for (const auto& [lc, f] : c.terms) {
            const T_SMNT_D* p = db.Table<DBT_SMNT>().Find(lc, key);
            // The side list holds the same number of values for every outline edge, edge by edge.
            const size_t nValues = static_cast<size_t>(p ? p->aNeg.GetSize() : 0);
            if (nEdges == 0 || nValues == 0 || nValues % nEdges != 0) return false;
            if (neg.size() != nValues) neg.assign(nValues, 0.0);
            cx += f * p->centreX;
            cy += f * p->centreY;
            for (size_t i = 0; i < nValues; ++i) neg[i] += f * p->aNeg[static_cast<INT_PTR>(i)];
        }
        r.dAsX = std::max(r.dAsX, SteelForMoment(cx, h0));
        r.dAsY = std::max(r.dAsY, SteelForMoment(cy, h0));
        const size_t per = neg.size() / nEdges;
        for (size_t i = 0; i < neg.size(); ++i) edges[i / per] = std::max(edges[i / per], SteelForMoment(neg[i], h0));
    }
    for (double v : edges) r.aEdge.Add(v);
    return true;
}

}  // namespace

double SteelForMoment(double moment, double h0mm) { return sample_slab::DesignSteel(moment, h0mm); }

double StirrupsForShear(double shear, double h0mm) {
    if (h0mm <= 0.0) return 0.0;
    return std::fabs(shear) * 1e6 / (kFyv * h0mm);
}

long AddSampleDesignResults(CDataBase& db) {
    const std::vector<Comb> combs = LinearCombs(db);
    if (combs.empty()) return 0;
    long n = 0;
    auto& membs = db.Table<DBT_PMEMB>();
    for (size_t i = 0; i < membs.Keys().size(); ++i) {
        const UINT key = membs.Keys()[i];
        const T_PMEMB_D& m = membs.Records()[i];
        const T_PSECT_D* sect = SectionOf(db, m);
        if (m.type == 201 || m.type == 205 || m.type == 204) {
            if (m.aElem.GetSize() != 1 || !sect || sect->type != 1 || sect->dim[1] <= 0.0) continue;
            T_RBEM_D r;
            if (!DesignBeam(db, combs, m.aElem[0], false, sect->dim[1] * 1000.0 - kCoverBeam, r)) continue;
            db.Table<DBT_RBEM>().Set(key, r);
            ++n;
        } else if (m.type == 210) {
            const T_PWALL_D* w = db.Table<DBT_PWALL>().Find(key);
            if (!w) continue;
            T_RBEM_D r;
            const double h = std::fabs(w->z2 - w->z1);
            if (!DesignBeam(db, combs, w->resultNo, true, h * 1000.0 - kCoverBeam, r)) continue;
            db.Table<DBT_RBEM>().Set(key, r);
            ++n;
        } else if (m.type == 101) {
            if (!sect || sect->type != 1 || sect->dim[1] <= 0.0) continue;
            T_RCOL_D r;
            if (!DesignColumn(db, combs, key, sect->dim[0], sect->dim[1], r)) continue;
            db.Table<DBT_RCOL>().Set(key, r);
            ++n;
        } else if (m.type == 209) {
            const T_PWALL_D* w = db.Table<DBT_PWALL>().Find(key);
            if (!w) continue;
            T_RWAL_D r;
            if (!DesignWall(db, combs, w->resultNo, std::hypot(w->x2 - w->x1, w->y2 - w->y1), r)) continue;
            db.Table<DBT_RWAL>().Set(key, r);
            ++n;
        } else if (m.type == 301) {
            const T_PSLAB_D* s = db.Table<DBT_PSLAB>().Find(key);
            if (!s || !sect) continue;
            T_RSLB_D r;
            const double h0 = sect->dim[0] * 1000.0 - sample_slab::kCover;
            if (!DesignSlab(db, combs, key, static_cast<size_t>(s->aNode.GetSize()), h0, r)) continue;
            db.Table<DBT_RSLB>().Set(key, r);
            ++n;
        }
    }
    return n;
}

}  // namespace sample_design
