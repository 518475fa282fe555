// Plan geometry of the foundation model: areas the axes enclose, unions, clipping a polygon at an
// outline, and the footings an axis links. Areas are checked by the shoelace formula over the
// rings returned; the expected areas are worked out by hand in each row.
#include <gtest/gtest.h>

#include <cmath>

#include "host/check/CModelingMethod.h"
#include "host/db/CDBDoc.h"
#include "host/db/FoundationRecords.h"
#include "host/db/PostDBBuilder.h"

namespace {

typedef CModelingMethod::Ring Ring;

double Area(const Ring& r) {
    double a = 0.0;
    for (size_t i = 0; i < r.size(); ++i) {
        const T_POINT2D &p = r[i], &q = r[(i + 1) % r.size()];
        a += p.x * q.y - q.x * p.y;
    }
    return std::fabs(a) * 0.5;
}

Ring Box(double x0, double y0, double x1, double y1) { return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}; }

std::vector<double> Areas(const std::vector<Ring>& rings) {
    std::vector<double> a;
    for (const Ring& r : rings) a.push_back(Area(r));
    std::sort(a.begin(), a.end());
    return a;
}

}  // namespace

TEST(ModelingMethod, UnionKeepsTheOuterRingsOfTheMergedParts) {
    struct Row {
        const char* name;
        std::vector<Ring> polygons;
        std::vector<double> areas;  // ascending
    };
    const Row rows[] = {
        // 6 x 6 + 6 x 6 side by side: one ring of 72.
        {"adjacent squares", {Box(0, 0, 6, 6), Box(6, 0, 12, 6)}, {72}},
        // 4 x 4 twice overlapping 2 x 2: 16 + 16 - 4.
        {"overlapping squares", {Box(0, 0, 4, 4), Box(2, 2, 6, 6)}, {28}},
        // Apart: 36 and 4.
        {"apart", {Box(0, 0, 6, 6), Box(10, 0, 12, 2)}, {4, 36}},
        // A frame of four bars around a 2 x 2 hole: only the outer ring, 6 x 6.
        {"hole left out", {Box(0, 0, 6, 2), Box(0, 4, 6, 6), Box(0, 2, 2, 4), Box(4, 2, 6, 4)}, {36}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<Ring> out;
        EXPECT_EQ(CModelingMethod::UnionSlab(r.polygons, out), static_cast<int>(r.areas.size()));
        const std::vector<double> got = Areas(out);
        ASSERT_EQ(got.size(), r.areas.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], r.areas[i], 1e-9);
    }
}

TEST(ModelingMethod, ClipPolygonKeepsThePiecesInsideTheOutline) {
    // The L-shaped outline: 0..4 x 0..4 without 2..4 x 2..4 (area 12).
    const Ring ell = {{0, 0}, {4, 0}, {4, 2}, {2, 2}, {2, 4}, {0, 4}};
    struct Row {
        const char* name;
        Ring outline, polygon;
        std::vector<double> areas;
    };
    const Row rows[] = {
        {"inside whole", ell, Box(0.5, 0.5, 1.5, 1.5), {1}},
        // 1..3 x 1..3 less the 2..3 x 2..3 corner: 4 - 1.
        {"over the inner corner", ell, Box(1, 1, 3, 3), {3}},
        {"outside", ell, Box(5, 5, 6, 6), {}},
        // A bar across the L's two arms at y 1.5..2.5 from x -1 to 5: 0..4 x 1.5..2 plus 0..2 x 2..2.5.
        {"one piece round the corner", ell, Box(-1, 1.5, 5, 2.5), {2 + 1}},
        // A bar over the notch, x 1..5, y 2.5..3: only 1..2 x 2.5..3 inside.
        {"cut by the notch", ell, Box(1, 2.5, 5, 3), {0.5}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<Ring> pieces;
        EXPECT_EQ(CModelingMethod::ClipPolygon(r.outline, r.polygon, pieces), static_cast<int>(r.areas.size()));
        const std::vector<double> got = Areas(pieces);
        ASSERT_EQ(got.size(), r.areas.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], r.areas[i], 1e-9);
    }
}

namespace {

// Axes on a project built in code: points 1..6 the corners of two 6 x 6 bays (0..12 x 0..6),
// axes 1, 2, 3 the verticals x = 0, 6, 12 and 4, 5 the horizontals y = 0, 6; axis 6 a lone line
// from (20, 0) to (20, 10) through the centres of footings 401 (20, 0) and 402 (20, 10);
// footing 403 at (20, 20) is beyond its end and 404 at (20.5, 5) off its line.
class AxisProject : public ::testing::Test {
protected:
    void SetUp() override {
        PostDBBuilder b;
        const double pts[][2] = {{0, 0}, {6, 0}, {12, 0}, {0, 6}, {6, 6}, {12, 6}, {20, 0}, {20, 10}};
        for (int i = 0; i < 8; ++i) {
            T_PONT_D p;
            p.x = pts[i][0];
            p.y = pts[i][1];
            b.Add<DBT_PONT>(i + 1, p);
        }
        const UINT axes[][2] = {{1, 4}, {2, 5}, {3, 6}, {1, 3}, {4, 6}, {7, 8}};
        for (int i = 0; i < 6; ++i) {
            T_AXIS_D a;
            a.Initialize();
            a.pont1 = axes[i][0];
            a.pont2 = axes[i][1];
            b.Add<DBT_AXIS>(i + 1, a);
        }
        const double foots[][2] = {{20, 0}, {20, 10}, {20, 20}, {20.5, 5}};
        for (int i = 0; i < 4; ++i) {
            T_MEMB_D m;
            m.type = MEMB_FOOTING;
            b.Add<DBT_MEMB>(401 + i, m);
            T_COLF_D f;
            f.Initialize();
            f.nStep = 1;
            f.cx = foots[i][0];
            f.cy = foots[i][1];
            f.step[0] = {2, 2, 0.5};
            b.Add<DBT_COLF>(401 + i, f);
        }
        b.Install(m_doc);
        m_pSaved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
    }
    void TearDown() override { CDBDoc::m_pDBDoc = m_pSaved; }
    CDataBase* DB() { return m_doc.GetMDBCtrl()->GetDBPost(); }
    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
};

}  // namespace

TEST_F(AxisProject, AxesEncloseTheirBaysAndLinkTheFootingsOnThem) {
    CModelingMethod mm;
    mm.ResetDB(DB());
    CArray<UINT, UINT> all;
    EXPECT_EQ(mm.GetAllAxis(all), 6);
    struct Row {
        const char* name;
        std::vector<UINT> axes;
        std::vector<double> areas;  // enclosed, ascending
        double merged;              // area of their union
    };
    const Row rows[] = {
        {"the grid: two bays of 36", {1, 2, 3, 4, 5}, {36, 36}, 72},
        {"the middle axis left out: one bay of 72", {1, 3, 4, 5}, {72}, 72},
        {"a lone line encloses nothing", {6}, {}, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CArray<UINT, UINT> axes;
        for (UINT a : r.axes) axes.Add(a);
        std::vector<Ring> areas, merged;
        mm.GetAreaBYWin2(axes, areas);
        const std::vector<double> got = Areas(areas);
        ASSERT_EQ(got.size(), r.areas.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], r.areas[i], 1e-9);
        CModelingMethod::UnionSlab(areas, merged);
        double sum = 0.0;
        for (double a : Areas(merged)) sum += a;
        EXPECT_NEAR(sum, r.merged, 1e-9);
    }
    struct Link {
        UINT axis;
        std::vector<UINT> footings;
    };
    // Axis 6 passes through the centres of 401 and 402 only; axis 4 (y = 0, x 0..12) through none.
    const Link links[] = {{6, {401, 402}}, {4, {}}, {99, {}}};
    for (const Link& l : links) {
        SCOPED_TRACE(l.axis);
        CAxisLinkTool tool;
        tool.ResetDB(DB());
        tool.SetGroupKey(l.axis, 1);
        EXPECT_EQ(tool.LinkGroup(), static_cast<int>(l.footings.size()));
        CArray<UINT, UINT> keys;
        std::vector<Ring> outlines;
        tool.GetLinkGroup(keys, outlines);
        ASSERT_EQ(keys.GetSize(), static_cast<INT_PTR>(l.footings.size()));
        for (size_t i = 0; i < l.footings.size(); ++i) {
            EXPECT_EQ(keys[i], l.footings[i]);
            EXPECT_NEAR(Area(outlines[i]), 4.0, 1e-9);  // the 2 x 2 step
        }
    }
}
