// Design forces of the host's member design turned into result records, against records worked
// out by hand.
#include "tests/module/truss/TrussTestSupport.h"

namespace trusstest {

namespace {

// Inner points of the force project's column (node 3 at (0,0,0) to node 1 at (0,0,3)) and the
// ends of an inclined column from (0,0,0) to (4,0,3).
enum : UINT { kQuarter = 121, kMiddle = 122, kSlopeTop = 123, kSlopeQuarter = 124 };

}  // namespace

class DesignForceTest : public TrussProjectTest {
protected:
    // The nodes the columns below name.
    void AddToProject(PostDBBuilder& b) override {
        b.AddNode(kQuarter, 0, 0, 0.75);
        b.AddNode(kMiddle, 0, 0, 1.5);
        b.AddNode(kSlopeTop, 4, 0, 3);
        b.AddNode(kSlopeQuarter, 1, 0, 0.75);
    }
    // A column member record between two nodes with its two inner points.
    static T_PMEMB_D Column(UINT first, UINT last, UINT inner1, UINT inner2) {
        T_PMEMB_D m;
        m.type = 101;
        m.aNode.Add(first);
        m.aNode.Add(last);
        m.node3 = inner1;
        m.node4 = inner2;
        return m;
    }
};

TEST_F(DesignForceTest, BeamStationsBecomeSegmentEnds) {
    // Station k: a = 100 + k, b = 10 - k, c = k / 2, d = -(k + 1), e = k, except station 4 with
    // d = -5 and e = 5 (equal magnitudes: e). Stations 9 and 10 are not read.
    T_FBEM_ENTRY entries[2];
    for (int k = 0; k < T_FBEM_ENTRY::kStations; ++k) {
        T_FBEM_BASE& st = entries[1].st[k];
        st.dAxial = 100 + k;
        st.dShear = 10 - k;
        st.dTorsion = 0.5 * k;
        st.dMoment1 = -(k + 1);
        st.dMoment2 = k;
        if (k >= 9) st.dAxial = st.dShear = st.dTorsion = st.dMoment1 = st.dMoment2 = 999;
    }
    entries[1].st[4].dMoment1 = -5;
    entries[1].st[4].dMoment2 = 5;
    T_FBEM_TEMP_D temp;
    temp.nComb = 2;
    temp.pEntry = entries;
    T_STRG_D out;
    ASSERT_EQ(E().ConvertOutDgnBeam(kBeam, temp, 1, out), 1);
    // Double 12 s + 6 e + c: segment s, end e, component c.
    struct Cell {
        int index;
        double value;
    } const cells[] = {
        {0, 100},   {2, 10},    {3, 0},     {4, -1},    // station 0 (segment 0 start)
        {6, 101},   {8, 9},     {9, 0.5},   {10, -2},   // station 1 (segment 0 end)
        {12, 101},  {16, -2},                           // station 1 (segment 1 start)
        {46, 5},    {48, 104},  {52, 5},                // station 4: the moment of e on a tie
        {84, 107},  {88, -8},                           // station 7 (segment 7 start)
        {90, 108},  {92, 2},    {93, 4},    {94, -9},   // station 8 (segment 7 end)
        {1, 0},     {5, 0},     {91, 0},    {95, 0},    // shear y and moment z stay 0
    };
    for (const Cell& c : cells) EXPECT_EQ(out.d[c.index], c.value) << "double " << c.index;
    for (double v : out.d) EXPECT_NE(v, 999.0) << "stations 9 and 10 are not read";
}

TEST_F(DesignForceTest, ColumnInnerBlocksByTheirPoints) {
    // First node (10, 1, 2, 3, 4, 5), last node (-10, -1, -2, -3, -4, -5): at fraction r of the
    // way the value is (1 - r) first + r last, 10 - 20 r for the axial force.
    T_FCOL_ENTRY entry;
    for (int c = 0; c < 6; ++c) {
        entry.dFirst[c] = c == 0 ? 10 : c;
        entry.dLast[c] = -entry.dFirst[c];
    }
    T_FCOL_TEMP_D temp;
    temp.nComb = 1;
    temp.pEntry = &entry;
    T_FWAL_TEMP_D wall;
    wall.nComb = 1;
    wall.pEntry = &entry;
    struct Row {
        const char* label;
        T_PMEMB_D memb;
        double block2, block3;  // axial force of the inner blocks (0 without the point)
    } const rows[] = {
        {"no inner points", Column(3, 1, 0, 0), 0, 0},
        {"first inner point on the first node", Column(3, 1, 3, 0), 10, 0},
        {"first inner point on the last node", Column(3, 1, 1, 0), -10, 0},
        {"a quarter and the middle of a vertical column", Column(3, 1, kQuarter, kMiddle), 5, 0},
        // Measured in plan, (1, 0) lies a quarter of the way from (0, 0) to (4, 0).
        {"a quarter of an inclined column", Column(3, kSlopeTop, 0, kSlopeQuarter), 0, 5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PMEMB_D memb = r.memb;
        for (int wallColumn = 0; wallColumn < 2; ++wallColumn) {
            T_MBCL_D out;
            const int ok = wallColumn ? E().ConvertOutDgnWColm(kColumn, memb, wall, 0, out)
                                      : E().ConvertOutDgnColm(kColumn, memb, temp, 0, out);
            ASSERT_EQ(ok, 1);
            EXPECT_EQ(out.d[0][0], 10.0);
            EXPECT_EQ(out.d[1][5], -5.0);
            EXPECT_NEAR(out.d[2][0], r.block2, 1e-12);
            EXPECT_NEAR(out.d[3][0], r.block3, 1e-12);
        }
    }
    // A vertical column's second inner point has no plan distance to either end: it is placed by
    // its distances in space, the middle giving the mean.
    T_PMEMB_D vertical = Column(3, 1, 0, kMiddle);
    T_MBCL_D out;
    ASSERT_EQ(E().ConvertOutDgnColm(kColumn, vertical, temp, 0, out), 1);
    for (int c = 0; c < 6; ++c) EXPECT_NEAR(out.d[3][c], 0.0, 1e-12) << "component " << c;
}

TEST_F(DesignForceTest, TrussEndsAndCombinationsOutOfReach) {
    T_FCOL_ENTRY entries[3];
    for (auto& e : entries)
        for (int c = 0; c < 6; ++c) e.dFirst[c] = e.dLast[c] = 99;
    entries[2].dFirst[0] = 12;
    entries[2].dLast[0] = -7;
    T_FCOL_TEMP_D temp;
    temp.nComb = 3;
    temp.pEntry = entries;
    T_MBBR_D out;
    ASSERT_EQ(E().ConvertOutDgnTrus(kTrussA, temp, 2, out), 1);
    const double i[6] = {12, 0, 0, 0, 0, 0}, j[6] = {-7, 0, 0, 0, 0, 0};
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(out.d[0][c], i[c]);
        EXPECT_EQ(out.d[1][c], j[c]);
    }
    // A combination the record does not hold: 0, and a cleared record rather than one read
    // from beyond the entries.
    for (int k : {3, -1}) {
        SCOPED_TRACE(k);
        for (auto& row : out.d)
            for (double& v : row) v = 1;
        EXPECT_EQ(E().ConvertOutDgnTrus(kTrussA, temp, k, out), 0);
        for (auto& row : out.d)
            for (double v : row) EXPECT_EQ(v, 0.0);
        T_STRG_D beam;
        T_FBEM_TEMP_D none;
        EXPECT_EQ(E().ConvertOutDgnBeam(kBeam, none, 0, beam), 0) << "no entries at all";
        T_MBCL_D colm;
        T_PMEMB_D memb = Column(3, 1, 0, 0);
        EXPECT_EQ(E().ConvertOutDgnColm(kColumn, memb, temp, k, colm), 0);
    }
}

}  // namespace trusstest
