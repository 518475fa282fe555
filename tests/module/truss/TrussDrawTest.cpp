// Drawing the trusses: the colour bands of the truss contour (display mode 6), the polygons of
// the truss diagram (mode 7) and the truss numbers, on the small project in plan view.
#include <algorithm>

#include "tests/module/truss/TrussTestSupport.h"

namespace trusstest {

namespace {

const C3DPoint kA(0, -6, 3), kB(4, -6, 3);

// Axes of a member along x: x along it, y across (global +y), z up.
void AxesAlongX(double axes[3][3]) {
    const double a[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) axes[r][c] = a[r][c];
}

}  // namespace

class TrussDrawTest : public TrussProjectTest {
protected:
    // The diagram polygons of a truss record between A and B, axes along x.
    Lists Diagram(const double (&i)[6], const double (&j)[6]) {
        Lists l;
        T_MBBR_D rec = TrussRecord(i, j);
        double axes[3][3];
        AxesAlongX(axes);
        C3DPoint a = kA, b = kB;
        E().TSfdBmdMakePolygon(rec, axes, a, b, l.points, l.values, l.edges, l.quads);
        return l;
    }
};

// ---- contour -----------------------------------------------------------------------------------

TEST_F(TrussDrawTest, LineRunsFromTheHigherEndThroughTheLevels) {
    T_PMEMB_D memb;
    ASSERT_TRUE(M().m_pAttrCtrl->GetMemb(kTrussA, memb));
    E().m_pContourEngine->MakeRankMap(-50.0, 30.0);
    const CContourEngine& s = *E().m_pContourEngine;
    int inside = 0;  // levels strictly between 10 and 30
    for (int k = 0; k < s.m_nNumColor; ++k) inside += s.m_dRankMap[k] > 10.0 && s.m_dRankMap[k] < 30.0;
    struct Row {
        const char* label;
        double vI, vJ;
        C3DPoint first, last;
        size_t points;
    } const rows[] = {
        {"J higher: from J", 10, 30, kB, kA, 2u + static_cast<size_t>(inside)},
        {"I higher: from I", 30, 10, kA, kB, 2u + static_cast<size_t>(inside)},
        {"equal ends: the two ends only", 20, 20, kB, kA, 2u},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const double i[6] = {r.vI, 0, 0, 0, 0, 0}, j[6] = {r.vJ, 0, 0, 0, 0, 0};
        T_MBBR_D rec = TrussRecord(i, j);
        E().m_lines.clear();
        C3DPoint a = kA, b = kB;
        E().DoTForcLineContour(&m_dc, nullptr, memb, rec, a, b);
        ASSERT_EQ(E().m_lines.size(), 1u);
        const auto& line = E().m_lines[0];
        ASSERT_EQ(line.size(), r.points);
        EXPECT_TRUE(Near(line.front().first, r.first));
        EXPECT_TRUE(Near(line.back().first, r.last));
        for (size_t k = 1; k < line.size(); ++k) EXPECT_LE(line[k].second, line[k - 1].second) << "falling values";
    }
}

TEST_F(TrussDrawTest, FacesTakeTheValuesAtTheirCrossSections) {
    T_PMEMB_D memb;
    ASSERT_TRUE(M().m_pAttrCtrl->GetMemb(kTrussA, memb));
    T_MBBR_D rec;
    ASSERT_EQ(E().GetTrussForce(kTrussA, rec), 1);  // axial 10 at A (x 0), 30 at B (x 4)
    C3DPoint a = kA, b = kB;
    struct Row {
        const char* label;
        std::vector<C3DPoint> pts;
        std::vector<UINT> keys;
        std::vector<double> values;  // none: not painted
        std::vector<int> flags;
    } const rows[] = {
        {"end cap at A", {{0, -6.1, 2.9}, {0, -5.9, 2.9}, {0, -5.9, 3.1}, {0, -6.1, 3.1}}, {kNodeA, kNodeA, kNodeA, kNodeA},
         {10, 10, 10, 10}, {1, 1, 1, 1}},
        {"end cap at B", {{4, -6.1, 2.9}, {4, -5.9, 2.9}, {4, -5.9, 3.1}}, {kNodeB, kNodeB, kNodeB}, {30, 30, 30}, {1, 1, 1}},
        // A side from x 1 to x 3: the values at x 1 and x 3, 15 and 25; no edges across.
        {"side, middle part", {{1, -6.1, 3}, {1, -5.9, 3}, {3, -5.9, 3}, {3, -6.1, 3}}, {0, 0, 0, 0}, {15, 15, 25, 25},
         {0, 1, 0, 1}},
        {"side, whole length", {{0, -6.1, 3}, {0, -5.9, 3}, {4, -5.9, 3}, {4, -6.1, 3}}, {kNodeA, kNodeA, kNodeB, kNodeB},
         {10, 10, 30, 30}, {0, 1, 0, 1}},
        // A side narrowing to a point takes the value at that point (x 2: 20).
        {"side of three corners", {{0, -6.1, 3}, {0, -5.9, 3}, {2, -6, 3}}, {kNodeA, kNodeA, 0}, {10, 10, 20}, {0, 1, 1}},
        {"five corners: not painted", {{0, -6, 3}, {1, -6, 3}, {2, -6, 3}, {3, -6, 3}, {4, -6, 3}}, {0, 0, 0, 0, 0}, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CList<C3DPoint> face;
        for (const C3DPoint& p : r.pts) face.AddTail(p);
        CArray<int> flags;
        for (size_t k = 0; k < r.pts.size(); ++k) flags.Add(1);
        CArray<UINT> keys;
        for (UINT k : r.keys) keys.Add(k);
        E().m_faces.clear();
        E().DoTForcPolyContour(&m_dc, &face, &flags, &keys, memb, rec, a, b);
        if (r.values.empty()) {
            EXPECT_TRUE(E().m_faces.empty());
            continue;
        }
        ASSERT_EQ(E().m_faces.size(), 1u);
        const auto& f = E().m_faces[0];
        ASSERT_EQ(f.pts.size(), r.pts.size());
        for (size_t k = 0; k < r.values.size(); ++k) {
            EXPECT_NEAR(f.values[k], r.values[k], 1e-12) << "vertex " << k;
            EXPECT_EQ(f.flags[k], r.flags[k]) << "vertex " << k;
            EXPECT_TRUE(Near(f.pts[k], r.pts[k])) << "vertex " << k;
        }
    }
}

TEST_F(TrussDrawTest, ContourPassColoursTrussesOverTheFramePass) {
    M().m_nDisplayMode = 6;
    CForceEngine& e = E();
    ASSERT_EQ(e.InitEngine(nullptr, 6), 1);
    // Every active truss with forces in colour; the frame pass has drawn the other members, so
    // this pass leaves them: nothing drawn plain.
    e.DrawTForcContour(&m_dc);
    EXPECT_FALSE(E().m_faces.empty() && E().m_lines.empty());
    for (const auto& f : E().m_faces)
        for (const C3DPoint& p : f.pts) EXPECT_NEAR(p.y, -6.0, 0.5) << "a band off the trusses";
    for (const auto& l : E().m_lines)
        for (const auto& v : l) EXPECT_NEAR(v.first.y, -6.0, 0.5) << "a band off the trusses";
    EXPECT_EQ(PlainRecords(m_dc), 0u);
    EXPECT_EQ(E().DoTForcMemberContour(&m_dc, kTrussA), 1);
    EXPECT_EQ(E().DoTForcMemberContour(&m_dc, kTrussC), 0) << "no forces";
    EXPECT_EQ(E().DoTForcMemberContour(&m_dc, kBeam), 0) << "not a truss";
    EXPECT_EQ(M().m_pDeformEngine, nullptr) << "the undeformed picture needs no deformation engine";

    // Without frame data this pass draws the other members itself, plain.
    m_dc.Clear();
    e.m_bBForcData = 0;
    e.DrawTForcContour(&m_dc);
    EXPECT_GT(PlainRecords(m_dc), 0u);

    // An inactive truss is drawn plain (here by this pass, without frame data), never in colour.
    Deactivate(kTrussB);
    E().m_faces.clear();
    E().m_lines.clear();
    m_dc.Clear();
    e.DrawTForcContour(&m_dc);
    EXPECT_FALSE(E().m_faces.empty() && E().m_lines.empty()) << "truss A still in colour";
    for (const auto& f : E().m_faces)
        for (const C3DPoint& p : f.pts) EXPECT_LT(p.z, 3.5) << "a band on the hidden vertical truss";
    for (const auto& l : E().m_lines)
        for (const auto& v : l) EXPECT_LT(v.first.z, 3.5) << "a band on the hidden vertical truss";
    EXPECT_GT(PlainRecords(m_dc), 0u);

    // On the deformed shape without a deformation engine: nothing.
    m_dc.Clear();
    e.m_bDeformed = 1;
    e.DrawTForcContour(&m_dc);
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);
}

// ---- diagram -----------------------------------------------------------------------------------

TEST_F(TrussDrawTest, DiagramEdgesByPiecesAndFillOption) {
    // 16 pixels per metre: a piece (16 pixels) is 1 m, so the 4 m truss is four pieces; values 10
    // to 30 of one sign give one quadrilateral each.
    Ctrl()->GetCamera().SetScale(16.0);
    E().m_dBSfdBmdAdjustFactor = 0.01;
    E().m_dBSfdBmdScale = 1.0;
    const double i[6] = {10, 0, 0, 0, 0, 0}, j[6] = {30, 0, 0, 0, 0, 0};
    struct Row {
        const char* label;
        int fill;
        int first[4], middle[4], last[4];
    } const rows[] = {
        {"station lines off", 0, {1, 1, 0, 0}, {0, 1, 0, 0}, {0, 1, 1, 0}},
        {"station lines on", 1, {1, 1, 1, 0}, {1, 1, 1, 0}, {1, 1, 1, 0}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        E().m_bBSfdBmdFill = r.fill;
        E().m_bBSfdBmdLine = 1;
        const auto polys = Diagram(i, j).Polys();
        ASSERT_EQ(polys.size(), 4u);
        for (size_t p = 0; p < 4; ++p) {
            const int* want = p == 0 ? r.first : (p == 3 ? r.last : r.middle);
            ASSERT_EQ(polys[p].edges.size(), 4u);
            for (int k = 0; k < 4; ++k) EXPECT_EQ(polys[p].edges[k], want[k]) << "quad " << p << " vertex " << k;
            // Axis, diagram, diagram, axis: the diagram along local z at 0.01 m per unit.
            const double x0 = static_cast<double>(p), v0 = 10.0 + 5.0 * p;
            EXPECT_TRUE(Near(polys[p].pts[0], C3DPoint(x0, -6, 3)));
            EXPECT_TRUE(Near(polys[p].pts[1], C3DPoint(x0, -6, 3 + 0.01 * v0)));
            EXPECT_NEAR(polys[p].values[2], v0 + 5.0, 1e-12);
        }
    }
    // One piece when the member is shorter than a piece: 1 pixel per metre makes a piece 16 m.
    Ctrl()->GetCamera().SetScale(1.0);
    E().m_bBSfdBmdFill = 0;
    const auto one = Diagram(i, j).Polys();
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].edges, (std::vector<int>{1, 1, 1, 0}));
}

TEST_F(TrussDrawTest, DiagramZerosDirectionsAndDegenerateMembers) {
    Ctrl()->GetCamera().SetScale(1.0);  // one piece
    E().m_dBSfdBmdAdjustFactor = 0.01;
    // 10 at A and -10 at B: two triangles meeting on the axis at the middle with value 0.
    const double p10[6] = {10, 0, 0, 0, 0, 0}, m10[6] = {-10, 0, 0, 0, 0, 0}, zero[6] = {};
    const auto cross = Diagram(p10, m10).Polys();
    ASSERT_EQ(cross.size(), 2u);
    EXPECT_TRUE(Near(cross[0].pts[2], C3DPoint(2, -6, 3)));
    EXPECT_EQ(cross[0].values[2], 0.0);
    EXPECT_TRUE(Near(cross[1].pts[0], C3DPoint(2, -6, 3)));
    EXPECT_TRUE(Near(cross[1].pts[1], C3DPoint(4, -6, 3 - 0.1)));
    EXPECT_TRUE(Diagram(zero, zero).Polys().empty()) << "0 and 0: nothing";

    // Direction of each component: 1 and 5 along local y, the others along local z; the
    // combined ones along local y when local z points nearer the viewer (in plan view it points
    // straight at it, so a diagram along it would be seen edge-on).
    struct Row {
        int comp;
        C3DPoint top;  // diagram point at A for the value 10
    } const rows[] = {{0, {0, -6, 3.1}}, {1, {0, -5.9, 3}}, {2, {0, -6, 3.1}}, {3, {0, -6, 3.1}},
                      {4, {0, -6, 3.1}}, {5, {0, -5.9, 3}}, {6, {0, -5.9, 3}}, {7, {0, -5.9, 3}}};
    for (const Row& r : rows) {
        E().m_nBForcComp = r.comp;
        // 6 takes shear z (10 against 0), 7 moment z.
        const int c = r.comp == 6 ? 2 : (r.comp == 7 ? 5 : r.comp);
        double i[6] = {}, j[6] = {};
        i[c] = j[c] = 10;
        const auto polys = Diagram(i, j).Polys();
        ASSERT_EQ(polys.size(), 1u) << "component " << r.comp;
        EXPECT_TRUE(Near(polys[0].pts[1], r.top)) << "component " << r.comp;
    }
    E().m_nBForcComp = 8;
    EXPECT_TRUE(Diagram(p10, p10).Polys().empty()) << "no such component";
    E().m_nBForcComp = 0;

    // A member whose ends coincide has no length: nothing. A view without a scale gives the
    // whole member as one piece.
    Lists l;
    T_MBBR_D rec = TrussRecord(p10, p10);
    double axes[3][3];
    AxesAlongX(axes);
    C3DPoint a = kA, same = kA;
    E().TSfdBmdMakePolygon(rec, axes, a, same, l.points, l.values, l.edges, l.quads);
    EXPECT_EQ(l.quads.GetSize(), 0);
    I_PVXCtrl* pCtrl = M().m_pPVXCtrl;
    M().m_pPVXCtrl = nullptr;
    const auto whole = Diagram(p10, m10).Polys();
    M().m_pPVXCtrl = pCtrl;
    EXPECT_EQ(whole.size(), 2u);
}

TEST_F(TrussDrawTest, DiagramPassOnTheUndeformedShape) {
    E().m_bPassOn = false;
    E().DrawTrussSfdBmd(&m_dc);
    // One list drawing per truss with forces; the beam pass has drawn every member already.
    EXPECT_EQ(E().m_nCalls, 2);
    EXPECT_EQ(PlainRecords(m_dc), 0u);
    EXPECT_EQ(M().m_pDispOpt->m_bWireFrame, 0) << "the thick-line option put back";
    T_PMEMB_D memb;
    EXPECT_EQ(E().DoTrussSfdBmd(&m_dc, kTrussC, memb), 0) << "no forces";

    // Without beam data the pass draws the members itself.
    m_dc.Clear();
    E().m_bBForcData = 0;
    E().DrawTrussSfdBmd(&m_dc);
    EXPECT_GT(PlainRecords(m_dc), 0u);

    // Trusses have no diagram on the deformed shape.
    m_dc.Clear();
    E().m_nCalls = 0;
    E().m_bDeformed = 1;
    E().DrawTrussSfdBmd(&m_dc);
    EXPECT_EQ(E().m_nCalls, 0);
    EXPECT_EQ(m_dc.GetRecords().size(), 0u);
}

// ---- numbers -----------------------------------------------------------------------------------

TEST_F(TrussDrawTest, NumbersByPositionAndExtremeFilter) {
    T_PVX_DOPT_NUMBER_D& num = M().m_pDispOpt->m_Number;
    num.m_nDecimals = 0;
    // Only truss A: ends 3 and -7.
    E().m_mapTForc.RemoveKey(kTrussB);
    const double i[6] = {3, 0, 0, 0, 0, 0}, j[6] = {-7, 0, 0, 0, 0, 0};
    T_MBBR_D rec = TrussRecord(i, j);
    E().m_mapTForc.SetAt(kTrussA, rec);
    auto texts = [&] {
        std::vector<std::string> out;
        for (const GdiRecord* r : m_dc.GetRecords("TextOut")) out.push_back(r->text);
        for (const GdiRecord* r : m_dc.GetRecords("ExtTextOut")) out.push_back(r->text);
        return out;
    };
    auto has = [](const std::vector<std::string>& v, const std::string& s) {
        return std::any_of(v.begin(), v.end(), [&](const std::string& t) { return t.find(s) != std::string::npos; });
    };

    // The member-extreme option: one number, the end value of larger magnitude, at the middle.
    E().m_bNumAtMax = 1;
    E().OutputTForcNumbers(&m_dc);
    std::vector<std::string> t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_TRUE(has(t, "-7"));
    const std::vector<const GdiRecord*> out = m_dc.GetRecords("TextOut").empty() ? m_dc.GetRecords("ExtTextOut")
                                                                                  : m_dc.GetRecords("TextOut");
    C3DPoint mid(2, -6, 3);
    const CPoint at = M().Get3DPtTo2DPt(&mid);
    EXPECT_EQ(out[0]->Arg(0), at.x);
    EXPECT_EQ(out[0]->Arg(1), at.y);

    // Each position: I 3, J -7, the middle their mean -2.
    m_dc.Clear();
    E().m_bNumAtMax = 0;
    E().m_bNumIEnd = E().m_bNumMiddle = E().m_bNumJEnd = 1;
    E().OutputTForcNumbers(&m_dc);
    t = texts();
    EXPECT_EQ(t.size(), 3u);
    EXPECT_TRUE(has(t, "3") && has(t, "-7") && has(t, "-2"));

    // Extreme filter of kind 1 (near the larger magnitude): legend 100 .. -300 at 10 % gives a
    // band of 40; -270 is written as "MAX:", 90 is not.
    const double fi[6] = {-270, 0, 0, 0, 0, 0}, fj[6] = {90, 0, 0, 0, 0, 0};
    rec = TrussRecord(fi, fj);
    E().m_mapTForc.SetAt(kTrussA, rec);
    E().m_dLegendMax = 100.0;
    E().m_dLegendMin = -300.0;
    num.m_nNumberOpt2 = 1;
    num.m_nNumberOpt1 = 1;
    num.m_dNumberFactor = 10.0;
    E().m_bNumMiddle = 0;
    m_dc.Clear();
    E().OutputTForcNumbers(&m_dc);
    t = texts();
    ASSERT_EQ(t.size(), 1u);
    EXPECT_TRUE(has(t, "MAX:")) << t[0];
    EXPECT_TRUE(has(t, "-270")) << t[0];

    // Trusses hidden: no numbers.
    m_dc.Clear();
    E().m_bShowTruss = 0;
    E().OutputTForcNumbers(&m_dc);
    EXPECT_TRUE(texts().empty());
}

}  // namespace trusstest
