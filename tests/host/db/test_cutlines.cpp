// The cutting-line table: kinds, look-ups by name and the TR_ edits with their refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "host/db/DBTables.h"
#include "tests/host/db/DbTestUtil.h"

namespace {

class CutLineTableTest : public ::testing::Test {
protected:
    void SetUp() override {
        b.AddCutLine(5, CTLN_KIND_CUTLINE, "Cut-Line #1", 0.0, 0, 0, 0, 6, 0, 0);
        b.AddCutLine(3, CTLN_KIND_STRIP, "Strip-1", 2.0, 0, 0, 0, 0, 6, 0);
        b.AddCutLine(9, CTLN_KIND_CUTLINE, "Cut-Line #2", 0.0, 0, 3, 0, 6, 3, 0);
        table.ConnectToDB(&b.DB());
    }
    PostDBBuilder b;
    CClassCtln table;
};

TEST_F(CutLineTableTest, KeysByKindInTableOrderAndNamesPerKind) {
    CArray<UINT, UINT> keys;
    ASSERT_EQ(table.GetKeyList(keys, CTLN_KIND_CUTLINE), 2);
    EXPECT_EQ(keys[0], 5u);
    EXPECT_EQ(keys[1], 9u);
    ASSERT_EQ(table.GetKeyList(keys, CTLN_KIND_STRIP), 1);
    EXPECT_EQ(keys[0], 3u);
    EXPECT_EQ(table.GetKeyList(keys), 3) << "the plain list holds both kinds";

    EXPECT_EQ(table.GetKey("Cut-Line #2", CTLN_KIND_CUTLINE), 9u);
    EXPECT_EQ(table.GetKey("Strip-1", CTLN_KIND_CUTLINE), 0u) << "a strip is no cutting line";
    EXPECT_EQ(table.GetKey("cut-line #2", CTLN_KIND_CUTLINE), 0u) << "names match exactly";
    // One name may serve a cutting line and a strip.
    const double p1[3] = {1, 1, 0}, p2[3] = {2, 2, 0};
    EXPECT_EQ(table.TR_Add(CTLN_KIND_STRIP, "Cut-Line #1", 1.0, p1, p2), 10u);
}

TEST_F(CutLineTableTest, AddRefusesWhatCannotBeALine) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::nan("");
    const double o[3] = {0, 0, 0}, x[3] = {1, 0, 0}, near[3] = {1e-10, 0, 0};
    const double bad[3] = {nan, 0, 0}, far[3] = {2e9, 0, 0};
    const std::string longName(64, 'a');
    struct Row {
        const char* label;
        int kind;
        const char* name;
        double width;
        const double* p1;
        const double* p2;
    } rows[] = {
        {"unknown kind", 2, "L", 0.0, o, x},
        {"empty name", CTLN_KIND_CUTLINE, "", 0.0, o, x},
        {"null name", CTLN_KIND_CUTLINE, nullptr, 0.0, o, x},
        {"name of 64 bytes", CTLN_KIND_CUTLINE, longName.c_str(), 0.0, o, x},
        {"name taken in the kind", CTLN_KIND_CUTLINE, "Cut-Line #1", 0.0, o, x},
        {"points within 1e-9", CTLN_KIND_CUTLINE, "L", 0.0, o, near},
        {"NaN coordinate", CTLN_KIND_CUTLINE, "L", 0.0, o, bad},
        {"beyond the coordinates of a project", CTLN_KIND_CUTLINE, "L", 0.0, o, far},
        {"negative width", CTLN_KIND_STRIP, "L", -1.0, o, x},
        {"infinite width", CTLN_KIND_STRIP, "L", inf, o, x},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        EXPECT_EQ(table.TR_Add(r.kind, r.name, r.width, r.p1, r.p2), 0u);
        EXPECT_EQ(table.GetCount(), 3);
    }
    CClassCtln unbound;
    EXPECT_EQ(unbound.TR_Add(CTLN_KIND_CUTLINE, "L", 0.0, o, x), 0u);

    // A name of 63 bytes fits; the new key is one more than the largest.
    const std::string name63(63, 'b');
    const UINT key = table.TR_Add(CTLN_KIND_CUTLINE, name63.c_str(), 0.0, o, x);
    EXPECT_EQ(key, 10u);
    T_CTLN_D rec;
    ASSERT_TRUE(table.Get(key, rec));
    EXPECT_EQ(std::string(rec.name), name63);
    EXPECT_EQ(rec.kind, CTLN_KIND_CUTLINE);
    EXPECT_EQ(rec.x2, 1.0);
}

TEST_F(CutLineTableTest, ModifyKeepsKindAndPlaceAndDeleteKeepsOrder) {
    const double p1[3] = {0, 1, 0}, p2[3] = {6, 1, 0};
    EXPECT_EQ(table.TR_Modify(5, "Cut-Line #2", 0.0, p1, p2), 0) << "the name belongs to line 9";
    EXPECT_EQ(table.TR_Modify(4, "X", 0.0, p1, p2), 0) << "no line 4";
    ASSERT_EQ(table.TR_Modify(5, "Cut-Line #1", 0.0, p1, p2), 1) << "its own name may stay";
    ASSERT_EQ(table.TR_Modify(3, "Strip-A", 1.25, p1, p2), 1);
    T_CTLN_D rec;
    ASSERT_TRUE(table.Get(3, rec));
    EXPECT_EQ(rec.kind, CTLN_KIND_STRIP);
    EXPECT_STREQ(rec.name, "Strip-A");
    EXPECT_EQ(rec.width, 1.25);
    EXPECT_EQ(rec.y1, 1.0);
    CArray<UINT, UINT> keys;
    table.GetKeyList(keys);
    EXPECT_EQ(keys[1], 3u) << "an edited line keeps its place";

    EXPECT_EQ(table.TR_Del(4), 0);
    ASSERT_EQ(table.TR_Del(3), 1);
    EXPECT_FALSE(table.Exist(3));
    ASSERT_EQ(table.GetKeyList(keys), 2);
    EXPECT_EQ(keys[0], 5u);
    EXPECT_EQ(keys[1], 9u);
    ASSERT_TRUE(table.Get(9, rec)) << "the index follows the removal";
    EXPECT_STREQ(rec.name, "Cut-Line #2");
    EXPECT_EQ(table.GetKey("Cut-Line #2", CTLN_KIND_CUTLINE), 9u);
}

}  // namespace
