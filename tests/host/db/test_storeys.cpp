// The storeys of a project: the foundation level, the floor levels and each member's storey, for
// small projects built in code. Expected values follow the rule of docs/DATABASE.md by hand.
#include <gtest/gtest.h>

#include <vector>

#include "host/db/CStoreyFinder.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"

namespace {

struct Memb {
    int type;
    double zLo, zHi;  // its two nodes, m
    int nFoundation;  // MEMB type of the foundation member it comes from; 0 none
};

struct Case {
    const char* label;
    std::vector<Memb> membs;
    std::vector<double> supports;  // z of the supported nodes
    std::vector<double> levels;    // storey 0 (the foundation level), 1 ...
    std::vector<int> storeyOf;     // per member
};

TEST(StoreyFinder, FoundationFloorsAndMembers) {
    const Case cases[] = {
        {"columns belong to the floor they carry", {{101, 0, 3.6, 0}, {201, 3.6, 3.6, 0}, {101, 3.6, 7.2, 0}, {205, 7.2, 7.2, 0}},
         {0.0}, {0.0, 3.6, 7.2}, {1, 1, 2, 2}},
        // A column to 4.5 m and a truss at 4.5-5.5 m lie in (3.6, 7.2]; a parapet above the roof
        // belongs to the top storey.
        {"a member between levels goes by its top", {{201, 3.6, 3.6, 0}, {201, 7.2, 7.2, 0}, {101, 0, 4.5, 0}, {206, 4.5, 5.5, 0}, {101, 7.2, 8.0, 0}},
         {0.0}, {0.0, 3.6, 7.2}, {1, 2, 2, 2, 2}},
        // 3.603 is within 5 mm of 3.6; 3.615 is not.
        {"heights within 5 mm are one level", {{201, 3.6, 3.6, 0}, {201, 3.603, 3.603, 0}, {302, 3.615, 3.615, 0}},
         {0.0}, {0.0, 3.6, 3.615}, {1, 1, 2}},
        // The foundation members top out at 0; the pile tips' supports at -12 do not count.
        {"the foundation model sets the foundation level",
         {{301, 0, 0, MEMB_RAFT}, {403, -12, 0, MEMB_PILE}, {204, -1, 0, MEMB_BEAM}, {202, 0, 0, 0}, {101, 0, 3.6, 0}, {302, 3.6, 3.6, 0}},
         {-12.0}, {0.0, 3.6}, {0, 0, 0, 0, 1, 1}},
        // The lowest support is the foundation; a sloped beam makes no level and, above the
        // highest one, belongs to the top storey.
        {"no foundation model: the lowest support", {{101, -0.5, 3.6, 0}, {201, 3.6, 3.6, 0}, {201, 3.6, 4.2, 0}},
         {-0.5, 2.0}, {-0.5, 3.6}, {1, 1, 1}},
        {"no floors and no supports: one storey from the lowest node", {{209, 0, 3, 0}, {209, 3, 6, 0}},
         {}, {0.0, 6.0}, {1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        PostDBBuilder b;
        for (size_t i = 0; i < c.membs.size(); ++i) {
            const Memb& m = c.membs[i];
            const UINT n1 = static_cast<UINT>(2 * i + 1), n2 = n1 + 1;
            b.AddNode(n1, static_cast<double>(i), 0.0, m.zLo);
            b.AddNode(n2, static_cast<double>(i) + 0.5, 0.0, m.zHi);
            T_PMEMB_D rec;
            rec.type = m.type;
            rec.aNode.Add(n1);
            rec.aNode.Add(n2);
            if (m.nFoundation) {
                rec.modelKey = static_cast<UINT>(500 + i);
                T_MEMB_D f;
                f.type = m.nFoundation;
                b.Add<DBT_MEMB>(rec.modelKey, f);
            }
            b.AddMemb(static_cast<UINT>(100 + i), rec);
        }
        for (size_t j = 0; j < c.supports.size(); ++j) {
            b.AddNode(static_cast<UINT>(900 + j), 50.0, static_cast<double>(j), c.supports[j]);
            T_PRTND_D s;
            s.type = 1;
            s.dof = 63;
            b.Add<DBT_PRTND>(static_cast<UINT>(900 + j), s);
        }
        std::vector<T_STOREY> storeys;
        CStoreyFinder::Find(b.DB(), storeys);
        ASSERT_EQ(storeys.size(), c.levels.size());
        std::vector<int> got(c.membs.size(), -1);
        for (const T_STOREY& s : storeys) {
            EXPECT_NEAR(s.dLevel, c.levels[static_cast<size_t>(s.nNo)], 1e-12) << "storey " << s.nNo;
            for (UINT key : s.membs) got[key - 100] = s.nNo;
        }
        EXPECT_EQ(got, c.storeyOf);
    }
}

}  // namespace
