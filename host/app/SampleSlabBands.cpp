#include "host/app/SampleSlabBands.h"

#include <cmath>
#include <vector>

#include "host/app/SampleDesignResults.h"
#include "host/app/SampleElementDesign.h"
#include "host/db/CDataBase.h"

namespace sample_slabband {

namespace {

struct Band {
    std::vector<std::pair<double, double>> outline;
    int mid;
    double x1, y1, x2, y2;  // a mid band's line
};
const Band kBands[] = {
    {{{24.0, 0.0}, {18.0, 0.0}}, 0, 0, 0, 0, 0},
    {{{18.0, 0.0}, {24.0, 0.0}, {24.0, 6.0}, {18.0, 6.0}}, 1, 18.0, 2.25, 24.0, 2.25},
    {{{24.0, 6.0}, {24.0, 0.0}}, 0, 0, 0, 0, 0},
    {{{18.0, 0.0}, {24.0, 0.0}, {24.0, 6.0}, {18.0, 6.0}}, 1, 22.5, 0.0, 22.5, 6.0},
};

// The foundation point at (x, y); 0 when none.
UINT PontAt(CDataBase& db, double x, double y) {
    const auto& ponts = db.Table<DBT_PONT>();
    for (size_t i = 0; i < ponts.Keys().size(); ++i) {
        const T_PONT_D& p = ponts.Records()[i];
        if (std::fabs(p.x - x) < 1e-6 && std::fabs(p.y - y) < 1e-6) return ponts.Keys()[i];
    }
    return 0;
}

// The plate whose centre is nearest (x, y), the first among equals; null for none.
const sample_elemdesign::RaftPlate* NearestPlate(const std::vector<sample_elemdesign::RaftPlate>& plates, double x,
                                                 double y) {
    const sample_elemdesign::RaftPlate* best = nullptr;
    double bestD = 0.0;
    for (const auto& p : plates) {
        const double dx = p.cx - x, dy = p.cy - y, d = dx * dx + dy * dy;
        if (!best || d < bestD) best = &p, bestD = d;
    }
    return best;
}

}  // namespace

long AddSlabBands(CDataBase& db) {
    UINT raft = 0;
    const auto& mtsb = db.Table<DBT_MTSB>();
    for (UINT key : mtsb.Keys())
        if (mtsb.Find(key)->type == 2) {
            raft = key;
            break;
        }
    if (!raft) return 0;
    const double h0 = mtsb.Find(raft)->thick * 1000.0 - sample_elemdesign::kRaftCover;
    const std::vector<sample_elemdesign::Comb> combs = sample_elemdesign::DesignCombs(db);
    const std::vector<sample_elemdesign::RaftPlate> plates = sample_elemdesign::RaftPlates(db);
    long added = 0;
    UINT key = 1;
    for (const Band& b : kBands) {
        T_PSBBD_D band;
        band.raft = raft;
        for (const auto& [x, y] : b.outline) band.aPont.Add(PontAt(db, x, y));
        band.mid = b.mid;
        band.width = kBandWidth;
        band.x1 = b.x1;
        band.y1 = b.y1;
        band.x2 = b.x2;
        band.y2 = b.y2;
        const auto& first = b.outline.front();
        const auto& last = b.outline.back();
        const double sx = b.mid ? b.x1 : first.first, sy = b.mid ? b.y1 : first.second;
        const double ex = b.mid ? b.x2 : last.first, ey = b.mid ? b.y2 : last.second;
        const double len = std::hypot(ex - sx, ey - sy), ux = (ex - sx) / len, uy = (ey - sy) / len;

        T_PDDSBBD_D design;
        design.nStation = kBandStations;
        for (const auto& c : combs) {
            std::vector<LOAD_DATA> st(kBandStations);
            bool ok = !plates.empty();
            for (int k = 0; k < kBandStations && ok; ++k) {
                const double t = static_cast<double>(k) / (kBandStations - 1);
                const auto* p = NearestPlate(plates, sx + t * (ex - sx), sy + t * (ey - sy));
                double f[5] = {0, 0, 0, 0, 0};  // Mxx Myy Mxy Vxx Vyy
                for (const auto& [lc, factor] : c.terms) {
                    const T_STRP_DL* r = db.Table<DBT_STRP>().Find(lc, p->key);
                    if (!r) {
                        ok = false;
                        break;
                    }
                    const int at[5] = {20, 21, 22, 26, 27};
                    for (int i = 0; i < 5; ++i) f[i] += factor * r->blk[0][at[i]];
                }
                st[k].d[3] = f[0] * ux * ux + f[1] * uy * uy + 2.0 * f[2] * ux * uy;
                st[k].d[1] = f[3] * ux + f[4] * uy;
            }
            if (!ok) continue;
            design.aComb.Add(c.key);
            for (int s = 0; s < 3; ++s) {
                const LOAD_DATA& d = st[2 * s];
                const double m = d.d[3];
                const double values[5] = {sample_design::SteelForMoment(m > 0.0 ? m : 0.0, h0),
                                          sample_design::SteelForMoment(m < 0.0 ? -m : 0.0, h0),
                                          sample_design::StirrupsForShear(d.d[1], h0), 0.0, 0.0};
                for (double v : values) design.aAs.Add(v);
            }
            for (const LOAD_DATA& d : st)
                for (double v : d.d) design.aLoad.Add(v);
        }
        db.Table<DBT_PSBBD>().Set(key, band);
        db.Table<DBT_PDDSBBD>().Set(key, design);
        added += 2;
        ++key;
    }
    return added;
}

}  // namespace sample_slabband
