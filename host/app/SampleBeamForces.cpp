#include "host/app/SampleBeamForces.h"

#include "host/db/CDataBase.h"

namespace sample_beamforces {

namespace {

struct NewMember {
    UINT key;      // the new analysis member
    UINT copyOf;   // the member whose nodes, model beam and forces it takes
};
const NewMember kMembers[] = {{459, 406}, {460, 412}};

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
        m.subKind = 0;
        membs.Set(n.key, m);
        ++added;
        for (UINT lc : db.Table<DBT_PSTLD>().Keys()) {
            // The copied member's forces: the model beam is drawn alike whichever of its two
            // analysis members a sheet reads.
            const T_MBWG_D* rows = db.Table<DBT_MBWG>().Find(lc, n.copyOf);
            if (!rows) continue;
            const T_MBWG_D f = *rows;
            T_STRG_D g;
            for (int s = 0; s < 8; ++s)
                for (int e = 0; e < 2; ++e)
                    for (int c = 0; c < 6; ++c) g.d[12 * s + 6 * e + c] = f.d[s + e][c];
            db.Table<DBT_MBWG>().Set(lc, n.key, f);
            db.Table<DBT_STRG>().Set(lc, n.key, g);
        }
    }
    return added;
}

}  // namespace sample_beamforces
