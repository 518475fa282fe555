// Which members the principal-stress display takes: T-girder plates (204), wall columns (209)
// and wall beams (210), each by its switch; never slabs or rafts, which have their own displays.
#include "tests/module/stress/StressTestSupport.h"

namespace {

// One panel per member, each its own element with a stress record for load case 1: a raft plate
// (301) and a floor slab (302) at z = 0, a T-girder (204), a wall column (209) and a wall beam
// (210) standing on the raft's edges.
class StressMemberKindsTest : public StressFixture {
protected:
    void Build() {
        PostDBBuilder b;
        b.AddNode(1, 0, 0, 0);
        b.AddNode(2, 2, 0, 0);
        b.AddNode(3, 2, 2, 0);
        b.AddNode(4, 0, 2, 0);
        b.AddNode(5, 2, 0, 3);
        b.AddNode(6, 0, 0, 3);
        b.AddNode(7, 2, 2, 3);
        b.AddNode(8, 0, 2, 3);
        b.AddNode(9, 4, 0, 0);
        b.AddNode(10, 4, 2, 0);
        b.AddElem(1, PELEM_KIND_PLATE, 301, {1, 2, 3, 4});
        b.AddElem(2, PELEM_KIND_PLATE, 302, {2, 9, 10, 3});
        b.AddElem(3, PELEM_KIND_WALL, 204, {1, 2, 5, 6});
        b.AddElem(4, PELEM_KIND_WALL, 209, {3, 4, 8, 7});
        b.AddElem(5, PELEM_KIND_WALL, 210, {2, 3, 7, 5});
        const int types[] = {301, 302, 204, 209, 210};
        for (UINT k = 1; k <= 5; ++k) {
            T_STRP_DL r;
            r.Initialize();
            SetSurface(r.blk[0], 0, 10.0 * k, 0, 0);
            b.AddStrp(1, k, r);
        }
        b.AddMemb(11, types[0], {1, 2, 3, 4}, {1});
        b.AddMemb(12, types[1], {2, 9, 10, 3}, {2});
        b.AddMemb(13, types[2], {1, 2, 5, 6}, {3});
        b.AddMemb(14, types[3], {3, 4, 8, 7}, {4});
        b.AddMemb(15, types[4], {2, 3, 7, 5}, {5});
        b.AddLoadCase(1, PLOAD_STATIC, "DL");
        Open(b);
        SelectStatic(1);
    }
};

TEST_F(StressMemberKindsTest, RecordsOfTGirdersAndWallsOnlyEachByItsSwitch) {
    Build();
    struct Row {
        const char* label;
        int plate, wall, tgirder;
        bool expected[5];  // elements 1 raft, 2 slab, 3 T-girder, 4 wall column, 5 wall beam
    } rows[] = {
        {"defaults", 1, 1, 1, {false, false, true, true, true}},
        {"walls off", 1, 0, 1, {false, false, true, false, false}},
        {"T-girders off", 1, 1, 0, {false, false, false, true, true}},
        {"plates off", 0, 1, 1, {false, false, false, true, true}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        E().m_bIncludePlate = row.plate;
        E().m_bIncludeWall = row.wall;
        E().m_bIncludeTGirder = row.tgirder;
        E().m_nComponent = 0;
        ASSERT_EQ(E().InitEngine(nullptr, PVXMode::kPlateStress), 1);
        for (UINT k = 1; k <= 5; ++k) {
            SCOPED_TRACE(k);
            T_STRP_DL out;
            EXPECT_EQ(E().GetPlateStress(k, out) == 1, row.expected[k - 1]);
        }
    }
}

}  // namespace
