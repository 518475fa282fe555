// The cutting-line table: kinds, look-ups by name and the TR_ edits with their refusals.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <string>

#include "host/db/CCuttingLine.h"
#include "host/db/CPostCtrl.h"
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

namespace {

// n strips in a row along y, key 100 + i, each with forces m[0] = i for load case 1; and a
// duplicate of strip 0's line and width under key 99, added last (table order decides).
struct StripProject {
    PostDBBuilder b;
    CPostCtrl post;
    explicit StripProject(int n) {
        b.AddLoadCase(1, PLOAD_STATIC, "D");
        for (int i = 0; i < n; ++i) {
            b.AddCutLine(100 + i, CTLN_KIND_STRIP, ("S" + std::to_string(i)).c_str(), 1.0, 3, 0.5 * i, 0, 9, 0.5 * i, 0);
            T_CLDF_D f;
            f.Initialize();
            f.m[0] = i;
            b.AddResult<DBT_STRIPF>(1, 100 + i, f);
        }
        b.AddCutLine(99, CTLN_KIND_STRIP, "Twin", 1.0, 3, 0, 0, 9, 0, 0);
        post.SetDataBase(&b.DB());
        T_PLCOM_D lc;
        post.MakeLoadComb(1, 1, lc);
        post.SelectLoadComb(lc, 0, 0);
    }
};

double SecondsToLookUpAll(int n) {
    StripProject p(n);
    CCuttingLine cl(&p.b.DB(), &p.post);
    CArray<UINT, UINT> elems;
    // The fastest of three passes: a loaded machine only ever adds time.
    double best = -1;
    for (int pass = 0; pass < 3; ++pass) {
        const auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < n; ++i) {
            T_LINE2D line(T_POINT2D(3, 0.5 * i), T_POINT2D(9, 0.5 * i));
            T_STRESS_RESULT r;
            if (!cl.GetStripDesignForce(line, 1.0, 1, elems, r, 1) || r.d[11] != i) return -1;
        }
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        if (best < 0 || s < best) best = s;
    }
    return best;
}

}  // namespace

// A strip's forces are found by its points (within 1e-6 m) and width, the first such strip in
// table order answering.
TEST(StripDesignForce, FoundByPointsAndWidthFirstInTableOrder) {
    StripProject p(5);
    CCuttingLine cl(&p.b.DB(), &p.post);
    CArray<UINT, UINT> elems;
    struct Row {
        const char* label;
        double x1, y1, x2, y2, width;
        bool found;
        double m0;  // forces of the strip found: its index
    } rows[] = {
        {"strip 2 exactly", 3, 1.0, 9, 1.0, 1.0, true, 2},
        {"strip 2 within the tolerance", 3 + 5e-7, 1.0 - 5e-7, 9, 1.0, 1.0, true, 2},
        {"strip 2 beyond the tolerance", 3 + 5e-6, 1.0, 9, 1.0, 1.0, false, 0},
        {"strip 2 reversed", 9, 1.0, 3, 1.0, 1.0, false, 0},
        {"strip 2 with another width", 3, 1.0, 9, 1.0, 2.0, false, 0},
        {"strip 0, whose twin comes later", 3, 0, 9, 0, 1.0, true, 0},
        {"a point beyond any project", 1e300, 0, 9, 0, 1.0, false, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_LINE2D line(T_POINT2D(r.x1, r.y1), T_POINT2D(r.x2, r.y2));
        T_STRESS_RESULT res;
        res.Initialize();
        EXPECT_EQ(cl.GetStripDesignForce(line, r.width, 1, elems, res, 1) != 0, r.found);
        if (r.found) {
            EXPECT_EQ(res.d[11], r.m0);
        }
    }
}

// Drawing n strips looks each one up: time linear in n. Before, each look-up walked the whole
// table (8,000 to 64,000 strips took minutes); four times the strips took sixteen times as long.
TEST(StripDesignForce, LookingUpEveryStripIsLinear) {
    const double small = SecondsToLookUpAll(4000), large = SecondsToLookUpAll(16000);
    ASSERT_GE(small, 0.0) << "a strip's forces were not found";
    ASSERT_GE(large, 0.0) << "a strip's forces were not found";
    EXPECT_LT(large, 8 * small + 0.05) << small << " s for 4,000 strips, " << large << " s for 16,000";
}
