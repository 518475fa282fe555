#include "host/app/SampleBeamForces.h"

#include "host/db/CDataBase.h"
#include "host/app/SampleProject.h"

namespace sample_beamforces {

namespace {

struct NewMember {
    UINT key;      // the new analysis member
    UINT copyOf;   // the member whose nodes, model beam and design forces it takes
    int subKind;   // 0 ordinary or link (by the model beam's link flag), 2 rib beam
};
const NewMember kMembers[] = {{459, 406, 0}, {460, 412, 0}, {461, 407, 2}};

constexpr UINT kLinkMember = 460;
constexpr double kLinkSelfWeight = 3.75;  // kN/m, the annex tie's 0.25 m x 0.6 m at 25 kN/m3

// The link beam's design forces: its ends held by the footings it ties, so under its own
// weight q over the span L the moment at x is q x (L - x) / 2 - q L^2 / 12 (sagging positive,
// -qL^2/12 at the ends, +qL^2/24 at mid-span) and the shear q (L / 2 - x); DL only, the other
// cases zero rows.
T_MBWG_D LinkBeamForces(double L, bool dead) {
    T_MBWG_D f;
    f.Initialize();
    if (!dead) return f;
    const double q = kLinkSelfWeight;
    for (int s = 0; s < 9; ++s) {
        const double x = L * s / 8.0;
        f.d[s][2] = q * (L / 2.0 - x);
        f.d[s][4] = q * x * (L - x) / 2.0 - q * L * L / 12.0;
    }
    return f;
}

}  // namespace

long AddFoundationBeamMembers(CDataBase& db) {
    long added = 0;
    auto& membs = db.Table<DBT_PMEMB>();
    for (const NewMember& n : kMembers) {
        const T_PMEMB_D* src = membs.Find(n.copyOf);
        if (!src || membs.Find(n.key)) continue;
        T_PMEMB_D m = *src;
        // The beam's axis: the first two nodes (a grade beam's panel lists its top edge after).
        if (m.aNode.GetSize() < 2) continue;
        m.aNode.SetSize(2);
        m.type = 201;
        m.subKind = n.subKind;
        membs.Set(n.key, m);
        ++added;
        // No member force stations (STRG): the frame force display shows the copied member
        // along the same axis; a second copy would be drawn over it and count in its legend.
        if (n.key == kLinkMember) {
            // The tie's own member (type 200) is not a beam of the foundation design: the link
            // beam gets design forces of its own, for the cases the tie has.
            for (UINT lc : db.Table<DBT_PSTLD>().Keys()) {
                if (!db.Table<DBT_MBWG>().Find(lc, n.copyOf)) continue;
                db.Table<DBT_MBWG>().Set(lc, n.key, LinkBeamForces(m.length, lc == SAMPLE_LC_DL));
            }
            continue;
        }
        // The copied member's design forces (MBWG), so the design sheets draw the model beam
        // alike whichever of its analysis members they read.
        for (UINT lc : db.Table<DBT_PSTLD>().Keys())
            if (const T_MBWG_D* rows = db.Table<DBT_MBWG>().Find(lc, n.copyOf)) {
                const T_MBWG_D f = *rows;
                db.Table<DBT_MBWG>().Set(lc, n.key, f);
            }
    }
    return added;
}

}  // namespace sample_beamforces
