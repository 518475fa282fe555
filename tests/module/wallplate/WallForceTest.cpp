// Wall forces of display modes 8 and 9: the lists, the value of a wall at a node, the diagram
// polygons and their number points, the contours and the numbers, and the faults mended on the
// way.
#include <algorithm>
#include <cfloat>
#include <cmath>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/wallplate/WallPlateTestSupport.h"

namespace wallplatetest {
namespace {

class WallForceTest : public WallPlateTest {
protected:
    std::unique_ptr<NoteEngine> Build(int comp, int mode = PVXMode::kWallForceContour) {
        auto e = std::make_unique<NoteEngine>(&M());
        e->m_nWForcComp = comp;
        e->InitEngine(nullptr, mode);
        return e;
    }
    // Camera scale for a diagram piece (a sixth of an inch, 16 pixels at 96 per inch) of len m.
    void SetPieceLength(double len) { Ctrl()->GetCamera().SetScale(16.0 / len); }
    static T_PMEMB_D Member(UINT node3, UINT node4) {
        T_PMEMB_D m;
        m.type = 209;
        m.node3 = node3;
        m.node4 = node4;
        return m;
    }
};

TEST_F(WallForceTest, ListsRangeKeysAndColourWeights) {
    // Axial force: the wall column's blocks -100 (bottom), -20 (top), -60 (inner station); the
    // wall beam carries none. Range -100 .. 0; the wall's three blocks weigh 1/3 each, the beam's
    // nine stations 1/9 each, every wall 1 of 2 in all: 100/6 % for each block, 50 % at 0.
    auto e = Build(0);
    ASSERT_EQ(e->m_bWForcData, 1);
    EXPECT_EQ(e->m_dLegendMax, 0.0);
    EXPECT_EQ(e->m_dLegendMin, -100.0);
    EXPECT_EQ(M().m_nMaxKey, static_cast<UINT>(kWallBeam));
    EXPECT_EQ(M().m_nMinKey, static_cast<UINT>(kWall));
    ASSERT_EQ(e->m_arrWColmKey.GetSize(), 1);
    ASSERT_EQ(e->m_arrWBeamKey.GetSize(), 1);
    EXPECT_EQ(e->m_nBForcComp, 4) << "the frame component is put back";
    const CContourEngine& s = *e->m_pContourEngine;
    for (double v : {-100.0, -60.0, -20.0}) EXPECT_NEAR(s.m_dPctRankMap[s.GetSeqPecentRankByValue(v)], 100.0 / 6.0, 1e-9) << v;
    EXPECT_NEAR(s.m_dPctRankMap[s.GetSeqPecentRankByValue(0.0)], 50.0, 1e-9);
    // Diagram scale: the model's largest extent over 20 times the larger magnitude (100).
    EXPECT_NEAR(e->m_dWSfdBmdAdjustFactor, kModelExtent / 2000.0, 1e-12);

    // The wall's record: its extremes for the component, its points: P1, P2 and their middle;
    // the extremes where the wall holds them (bottom and top), not at the origin.
    T_PVX_WCOLM_D rec;
    ASSERT_TRUE(e->GetWallDataC(kWall, rec));
    EXPECT_EQ(rec.dMax, -20.0);
    EXPECT_EQ(rec.dMin, -100.0);
    EXPECT_TRUE(Near(rec.Pnt[0], C3DPoint(0, 0, 0)));
    EXPECT_TRUE(Near(rec.Pnt[1], C3DPoint(4, 0, 4)));
    EXPECT_TRUE(Near(rec.Pnt[2], C3DPoint(2, 0, 2)));
    EXPECT_TRUE(Near(rec.Pnt[3], C3DPoint(4, 0, 4)));
    EXPECT_TRUE(Near(rec.Pnt[4], C3DPoint(0, 0, 0)));
    T_PVX_WBEAM_D b;
    ASSERT_TRUE(e->GetWallDataB(kWallBeam, b));
    EXPECT_EQ(b.nComp, 0);
}

TEST_F(WallForceTest, WallsWithoutForcesOfTheirOwnKindGiveAnEmptyRange) {
    // Only a wall of type 211 in the model: nothing is recorded, the range is 0 .. 0 with no keys
    // and the diagram factor the model extent over 20 (not the limits of double).
    Reinstall([](PostDBBuilder& b) {
        b.AddNode(180, 60, 0, 0);
        b.AddNode(181, 62, 0, 0);
        b.AddNode(182, 62, 0, 2);
        b.AddNode(183, 60, 0, 2);
        b.AddElem(23, PELEM_KIND_WALL, 211, {180, 181, 182, 183}, 1, 1);
        const UINT n[] = {180, 181, 182, 183}, el[] = {23};
        b.AddMemb(8, 211, n, el, 2.0);
        T_PWALL_D w;
        w.Initialize();
        w.type = 211;
        w.resultNo = kWallResult;
        b.AddWall(8, w);
    });
    M().m_arrAllMembKey.RemoveAll();
    M().m_arrAllMembKey.Add(8);
    CForceEngine e(&M());
    EXPECT_EQ(e.InitEngine(nullptr, PVXMode::kWallForceContour), 0);
    EXPECT_EQ(e.m_bWForcData, 0) << "nothing read is no data";
    EXPECT_EQ(e.m_dLegendMax, 0.0);
    EXPECT_EQ(e.m_dLegendMin, 0.0);
    EXPECT_EQ(M().m_nMaxKey, 0u);
    EXPECT_EQ(M().m_nMinKey, 0u);
    const double extent = 62.0;  // x from 0 to 62
    EXPECT_NEAR(e.m_dWSfdBmdAdjustFactor, extent / 20.0, 1e-12);
}

TEST_F(WallForceTest, AnUnknownLoadResultKindRecordsZeroForces) {
    SelectLoad(1, kDL, 4);
    auto e = Build(4);
    ASSERT_EQ(e->m_bWForcData, 1);
    T_MBCL_D c;
    ASSERT_TRUE(e->GetWallDataC(kWall, c));
    for (int blk = 0; blk < 4; ++blk)
        for (int k = 0; k < 6; ++k) EXPECT_EQ(c.d[blk][k], 0.0);
}

TEST_F(WallForceTest, DiagramScale) {
    CForceEngine e(&M());
    struct Row {
        double d, want;
    } const rows[] = {
        {5.0, kModelExtent / 100.0},         // extent / (5 x 20)
        {-5.0, kModelExtent / 100.0},
        {1e-16, kModelExtent / 20.0},        // |d| < 1e-15 counts as 1
        {-1e-16, kModelExtent / 20.0},
        {1e-15, kModelExtent / 2e-14},       // the bound itself does not
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.d);
        e.InitWSfdBmdAdjustFactor(r.d);
        EXPECT_NEAR(e.m_dWSfdBmdAdjustFactor / r.want, 1.0, 1e-12);
    }
}

TEST_F(WallForceTest, WallColumnValueAtANode) {
    // Moment y: bottom (z 0) 0, top (z 4) 10, inner station (z 2) 7; linear between them.
    CForceEngine e(&M());
    e.m_nWForcComp = e.m_nBForcComp = 4;
    T_PWALL_D wall;
    wall.Initialize();
    wall.z1 = 0.0;
    wall.z2 = 4.0;
    const T_MBCL_D f = WallColumnForces(1.0);
    struct Row {
        const char* label;
        double z;
        UINT node3, node4;
        double want;
    } const rows[] = {
        {"bottom", 0.0, WallNode(0, 1), 0, 0.0},
        {"half-way to the inner station: (0 + 7) / 2", 1.0, WallNode(0, 1), 0, 3.5},
        {"at the inner station", 2.0, WallNode(0, 1), 0, 7.0},
        {"half-way to the top: (7 + 10) / 2", 3.0, WallNode(0, 1), 0, 8.5},
        {"top", 4.0, WallNode(0, 1), 0, 10.0},
        {"no inner station: 0 + 10 x 1/4", 1.0, 0, 0, 2.5},
        {"second station only, at it: block 3 (0)", 2.0, 0, WallNode(0, 1), 0.0},
        {"second station only, below it: as without stations", 1.0, 0, WallNode(0, 1), 2.5},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        T_PNODE_D node{2.0, 0.0, r.z};
        EXPECT_NEAR(e.CalcWallColmValueByNode(0, node, wall, Member(r.node3, r.node4), f), r.want, 1e-12);
    }
    // A wall column without height: the mean of its ends, not 0 / 0.
    wall.z2 = 0.0;
    const T_PNODE_D flat{0.0, 0.0, 0.0};
    const double v = e.CalcWallColmValueByNode(0, flat, wall, Member(0, 0), f);
    EXPECT_EQ(v, 5.0);
}

TEST_F(WallForceTest, WallBeamValueAtANode) {
    // P1 (6, 0), P2 (14, 0) in plan; moment y 2 k - 8 at station k.
    CForceEngine e(&M());
    e.m_nBForcComp = 4;
    T_PWALL_D wall;
    wall.Initialize();
    wall.x1 = 6.0;
    wall.x2 = 14.0;
    const T_STRG_D f = WallBeamForces(1.0);
    struct Row {
        double x, y, want;
    } const rows[] = {
        {6.0, 0.0, -8.0},   // t = 0
        {8.0, 0.0, -4.0},   // t = 8 x 2 / 8 = 2: station 2
        {9.5, 0.0, -1.0},   // t = 3.5: half-way from station 3 (-2) to 4 (0)
        {14.0, 0.0, 8.0},   // t = 8: the end of segment 7
        {10.0, 3.0, 0.0},   // distances 5 and 5 in plan: t = 4, station 4
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.x);
        EXPECT_NEAR(e.CalcWallBeamValueByNode(T_PNODE_D{r.x, r.y, 5.0}, wall, f), r.want, 1e-12);
    }
    // A wall beam without plan length, a node on its ends: the start, not a number made of 0 / 0.
    wall.x2 = 6.0;
    EXPECT_EQ(e.CalcWallBeamValueByNode(T_PNODE_D{6.0, 0.0, 1.0}, wall, f), -8.0);
}

TEST_F(WallForceTest, WallBeamNumbersAlignByValueAndComponent) {
    CForceEngine e(&M());
    struct Row {
        int mode;
        double v;
        int comp;
        UINT want;  // 0 top, 8 bottom
    } const rows[] = {
        {9, -1.0, 0, 0}, {9, 1.0, 0, 8}, {9, -1.0, 2, 0}, {9, -1.0, 5, 0}, {9, -1.0, 1, 8}, {9, 1.0, 1, 0},
        {9, 1.0, 4, 0},  {9, 0.0, 2, 8}, {9, 0.0, 3, 8},  {9, -1.0, 6, 8}, {8, -1.0, 0, 8}, {8, 1.0, 4, 8},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mode " << r.mode << " value " << r.v << " component " << r.comp);
        CPVXBarContainerBase::m_nCurrentMode = r.mode;
        EXPECT_EQ(e.GetWBDgrmTopBotPos(r.v, r.comp), r.want);
    }
    CPVXBarContainerBase::m_nCurrentMode = -1;
}

// ---- diagrams ------------------------------------------------------------------------------------

TEST_F(WallForceTest, WallColumnDiagramPieces) {
    // Height 8, pieces of 1 m, shear y (component 1) on row 0 outwards, scale 1: the values run
    // 10, 7.5, ..., -10; the boundary at mid-height is 0, so the pieces beside it are triangles.
    SetPieceLength(1.0);
    CForceEngine e(&M());
    e.m_dWSfdBmdAdjustFactor = 1.0;
    T_MBCL_D f;
    f.Initialize();
    f.d[0][1] = 10.0;
    f.d[1][1] = -10.0;
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    C3DPoint bottom(0, 0, 0), top(0, 0, 8);
    T_PMEMB_D m = Member(0, 0);
    CForceEngine::DiagramPointList pts;
    CForceEngine::DiagramValueList vals;
    CForceEngine::DiagramFlagList vflags, pflags;
    e.WSfdBmdMakePolygonC(f, 1, axes, bottom, top, pts, vals, vflags, pflags, kWall, m);
    ASSERT_EQ(pflags.GetSize(), 8);
    const int want[8] = {1, 1, 1, 0, 0, 1, 1, 1};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(pflags[k], want[k]) << k;
    ASSERT_EQ(pts.GetSize(), 6 * 4 + 2 * 3);
    for (INT_PTR i = 0; i < vflags.GetSize(); ++i) EXPECT_EQ(vflags[i], 1);
    // First quadrilateral: B0 (0,0,0) 10, O0 (10,0,0) 10, O1 (7.5,0,1) 7.5, B1 (0,0,1) 7.5.
    EXPECT_TRUE(Near(pts[0], C3DPoint(0, 0, 0)));
    EXPECT_TRUE(Near(pts[1], C3DPoint(10, 0, 0)));
    EXPECT_TRUE(Near(pts[2], C3DPoint(7.5, 0, 1)));
    EXPECT_TRUE(Near(pts[3], C3DPoint(0, 0, 1)));
    EXPECT_EQ(vals[2], 7.5);
    // Fourth piece (z 3 to 4, values 2.5 to 0): B0, O0, B1.
    EXPECT_TRUE(Near(pts[12], C3DPoint(0, 0, 3)));
    EXPECT_TRUE(Near(pts[13], C3DPoint(2.5, 0, 3)));
    EXPECT_TRUE(Near(pts[14], C3DPoint(0, 0, 4)));
    EXPECT_EQ(vals[14], 0.0);

    // Height 2, 10 to -30: the first piece changes sign at its middle (10 : 10), two triangles
    // meeting there; the second piece is a quadrilateral.
    pts.RemoveAll();
    vals.RemoveAll();
    vflags.RemoveAll();
    pflags.RemoveAll();
    f.d[1][1] = -30.0;
    top = C3DPoint(0, 0, 2);
    e.WSfdBmdMakePolygonC(f, 1, axes, bottom, top, pts, vals, vflags, pflags, kWall, m);
    ASSERT_EQ(pflags.GetSize(), 3);
    EXPECT_EQ(pflags[0], 0);
    EXPECT_EQ(pflags[1], 0);
    EXPECT_EQ(pflags[2], 1);
    EXPECT_TRUE(Near(pts[2], C3DPoint(0, 0, 0.5))) << "Z of the first triangle";
    EXPECT_TRUE(Near(pts[3], C3DPoint(0, 0, 0.5))) << "Z of the second triangle";
    EXPECT_EQ(vals[2], 0.0);

    // Both ends 0: nothing; a constant value: quadrilaterals only.
    struct Row {
        double bottom, top;
        int polys, quads;
    } const rows[] = {{0.0, 0.0, 0, 0}, {4.0, 4.0, 2, 2}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.bottom);
        pts.RemoveAll();
        vals.RemoveAll();
        vflags.RemoveAll();
        pflags.RemoveAll();
        f.d[0][1] = r.bottom;
        f.d[1][1] = r.top;
        e.WSfdBmdMakePolygonC(f, 1, axes, bottom, top, pts, vals, vflags, pflags, kWall, m);
        EXPECT_EQ(pflags.GetSize(), r.polys);
        EXPECT_EQ(std::count(pflags.GetData(), pflags.GetData() + pflags.GetSize(), 1), r.quads);
    }
}

TEST_F(WallForceTest, DiagramsWithoutAScreenScaleTakeOnePiecePerSegment) {
    // A view that gives no length for a sixth of an inch: each segment is one piece, never an
    // endless cut.
    CForceEngine e(&M());
    e.m_dWSfdBmdAdjustFactor = 1.0;
    Ctrl()->SetClientSize(0, 0);
    Ctrl()->GetCamera().SetScale(1e300);
    ASSERT_LT(e.GetSfdBmdPieceLength(), 1e-200);
    T_MBCL_D f = WallColumnForces(1.0);
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    C3DPoint bottom(0, 0, 0), top(0, 0, 4);
    T_PMEMB_D m = Member(WallNode(0, 1), 0);
    CForceEngine::DiagramPointList pts;
    CForceEngine::DiagramValueList vals;
    CForceEngine::DiagramFlagList vflags, pflags;
    e.WSfdBmdMakePolygonC(f, 4, axes, bottom, top, pts, vals, vflags, pflags, kWall, m);
    EXPECT_LE(pflags.GetSize(), 2 * CForceEngine::kMaxSfdBmdPieces);
    EXPECT_GT(pflags.GetSize(), 0);
}

TEST_F(WallForceTest, WallBeamNumberPointsAndExtremes) {
    // Moment y along P1 (6,0,5) - P2 (14,0,5): numbers at stations 1/8, 4/8 and 7/8 (x 7, 10,
    // 13) on the diagram; the extremes 8 at P2 and -8 at P1, placed on the diagram.
    SetPieceLength(1.0);
    M().m_pDispOpt->m_Number.m_bShowNumbers = 1;
    auto e = Build(4, PVXMode::kWallForceDiagram);
    T_PWALL_D wall;
    wall.Initialize();
    T_STRG_D f = WallBeamForces(1.0);
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    C3DPoint p1(6, 0, 5), p2(14, 0, 5);
    CForceEngine::DiagramPointList pts;
    CForceEngine::DiagramValueList vals;
    CForceEngine::DiagramFlagList vflags, pflags;
    e->WSfdBmdMakePolygonB(f, 4, axes, p1, p2, pts, vals, vflags, pflags, kWallBeam);
    T_PVX_WBEAM_D rec;
    ASSERT_TRUE(e->GetWallDataB(kWallBeam, rec));
    EXPECT_EQ(rec.nComp, 4);
    // Moment y is drawn along -row 2 (the tension side): z = 5 - F v.
    const double F = e->m_dWSfdBmdAdjustFactor;
    struct Row {
        int pnt;
        double x, v;
    } const rows[] = {{0, 7.0, -6.0}, {2, 10.0, 0.0}, {1, 13.0, 6.0}, {3, 14.0, 8.0}, {4, 6.0, -8.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.pnt);
        EXPECT_TRUE(Near(rec.Pnt[r.pnt], C3DPoint(r.x, 0, 5 - F * r.v), 1e-9));
    }

    // With numbers hidden the record keeps the points of the list build.
    M().m_pDispOpt->m_Number.m_bShowNumbers = 0;
    auto g = Build(4, PVXMode::kWallForceDiagram);
    e->WSfdBmdMakePolygonB(f, 4, axes, p1, p2, pts, vals, vflags, pflags, kWallBeam);
    ASSERT_TRUE(g->GetWallDataB(kWallBeam, rec));
    EXPECT_EQ(rec.nComp, 0);
    EXPECT_TRUE(Near(rec.Pnt[0], p1));
    EXPECT_TRUE(Near(rec.Pnt[1], p2));
}

// Notes the vertices of the band polygons a wall diagram hands to the list drawing.
class BandNoteEngine : public CForceEngine {
public:
    explicit BandNoteEngine(I_PVXModelBase* p) : CForceEngine(p) {}
    void DrawContourList(CDC*, CArray<int, int>&, CArray<VtxInfo_tag, VtxInfo_tag>& v) override { Note(v); }
    void DrawContourListGrad(CDC*, CArray<int, int>&, CArray<VtxInfo_tag, VtxInfo_tag>& v) override { Note(v); }
    void Note(CArray<VtxInfo_tag, VtxInfo_tag>& v) {
        ++m_nLists;
        for (INT_PTR i = 0; i < v.GetSize(); ++i) m_values.push_back(v[i].dValue);
    }
    int m_nLists = 0;
    std::vector<double> m_values;
};

TEST_F(WallForceTest, CombinedSelectorsDrawBothComponents) {
    // Selector 6 draws shear y and shear z, 7 moment y and moment z, on one wall, in one list;
    // without a deformation engine (the undeformed shape needs none).
    ASSERT_EQ(M().m_pDeformEngine, nullptr);
    struct Row {
        int comp;
        double a, b;
    } const rows[] = {{6, 5.0, -3.0}, {7, 2.0, -9.0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.comp);
        BandNoteEngine e(&M());
        e.m_nWForcComp = r.comp;
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kWallForceDiagram), 1);
        T_MBCL_D c;
        c.Initialize();
        for (int blk = 0; blk < 2; ++blk) {
            c.d[blk][1] = 5.0;
            c.d[blk][2] = -3.0;
            c.d[blk][4] = 2.0;
            c.d[blk][5] = -9.0;
        }
        e.m_mapWColmForc.SetAt(kWall, c);
        T_PMEMB_D m;
        ASSERT_TRUE(M().m_pAttrCtrl->GetMemb(kWall, m));
        m.node3 = 0;
        T_PWALL_D wall;
        wall.Initialize();
        wall.x = 2.0;
        wall.dx = 1.0;
        EXPECT_EQ(e.DoWallElementSfdBmdC(&m_dc, kWall, m, wall), 1);
        EXPECT_EQ(e.m_nLists, 1);
        EXPECT_NE(std::find(e.m_values.begin(), e.m_values.end(), r.a), e.m_values.end());
        EXPECT_NE(std::find(e.m_values.begin(), e.m_values.end(), r.b), e.m_values.end());
    }
}

TEST_F(WallForceTest, DiagramsAreNotDrawnOnTheDeformedShape) {
    auto e = Build(4, PVXMode::kWallForceDiagram);
    e->m_bDeformed = 1;
    m_dc.Clear();
    e->DrawWallSfdBmd(&m_dc);
    EXPECT_TRUE(m_dc.GetRecords().empty());
    T_PMEMB_D m;
    T_PWALL_D wall;
    wall.Initialize();
    ASSERT_TRUE(M().m_pAttrCtrl->GetMemb(kWall, m));
    EXPECT_EQ(e->DoWallElementSfdBmdC(&m_dc, kWall, m, wall), 0);
}

// ---- contours ------------------------------------------------------------------------------------

TEST_F(WallForceTest, ContoursTakeTheWallsValueAtEachFaceVertex) {
    // Moment y: the wall column is 0 at z 0, 7 at z 2 (inner station), 10 at z 4; the wall beam
    // -8 at x 6 and 8 at x 14. The raft is drawn plain; no deformation engine is needed.
    auto e = Build(4);
    ASSERT_EQ(M().m_pDeformEngine, nullptr);
    e->DrawWForcContour(&m_dc);
    ASSERT_EQ(e->m_polys.size(), 5u) << "four wall panels and the wall beam's panel";
    for (const auto& p : e->m_polys) {
        for (size_t i = 0; i < p.pts.size(); ++i) {
            const C3DPoint& q = p.pts[i];
            double want;
            if (q.x > 5.0)
                want = q.x < 10.0 ? -8.0 : 8.0;
            else
                want = q.z < 1.0 ? 0.0 : (q.z < 3.0 ? 7.0 : 10.0);
            EXPECT_NEAR(p.values[i], want, 1e-12) << q.x << " " << q.z;
        }
    }
    EXPECT_EQ(e->m_nBForcComp, 4);
}

TEST_F(WallForceTest, WithoutResultColoursOnlyThePlainModelIsDrawn) {
    auto e = Build(4);
    M().m_bContour = 0;
    e->DrawWForcContour(&m_dc);
    EXPECT_TRUE(e->m_polys.empty());
    EXPECT_FALSE(m_dc.GetRecords().empty()) << "the plain model";
}

// ---- numbers -------------------------------------------------------------------------------------

std::vector<std::string> Texts(const CRecordDC& dc) {
    std::vector<std::string> out;
    for (const GdiRecord& r : dc.GetRecords())
        if (!r.text.empty()) out.push_back(r.text);
    return out;
}

bool HasText(const std::vector<std::string>& texts, const std::string& s) {
    return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) { return t.find(s) != std::string::npos; });
}

TEST_F(WallForceTest, WallColumnNumbers) {
    // Position 2 without the filter: the extreme of larger magnitude of dMax 5 and dMin -8.
    auto e = Build(4);
    T_PVX_WCOLM_D rec;
    ASSERT_TRUE(e->GetWallDataC(kWall, rec));
    rec.dMax = 5.0;
    rec.dMin = -8.0;
    e->m_mapWColm.SetAt(kWall, rec);
    e->m_bWColmNumber = 1;
    e->m_nWColmNumPos = 2;
    e->OutputWForcNumbers(&m_dc);
    std::vector<std::string> t = Texts(m_dc);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_NE(t[0].find("-8"), std::string::npos) << t[0];

    // The filter of kind 2 (near the maximum), legend 0 .. 100, 10 %: the start 95 is written as
    // "Max:", the end 85 is not.
    T_MBCL_D f;
    f.Initialize();
    f.d[0][4] = 95.0;
    f.d[1][4] = 85.0;
    rec.Forc = f;
    e->m_mapWColm.SetAt(kWall, rec);
    e->m_dLegendMax = 100.0;
    e->m_dLegendMin = 0.0;
    T_PVX_DOPT_NUMBER_D& num = M().m_pDispOpt->m_Number;
    num.m_nNumberOpt2 = 1;
    num.m_nNumberOpt1 = 2;
    num.m_dNumberFactor = 10.0;
    e->m_nWColmNumPos = 3;
    m_dc.Clear();
    e->OutputWForcNumbers(&m_dc);
    t = Texts(m_dc);
    ASSERT_EQ(t.size(), 1u);
    EXPECT_NE(t[0].find("Max:"), std::string::npos) << t[0];
    EXPECT_NE(t[0].find("95"), std::string::npos) << t[0];

    // On the deformed shape no wall numbers are written.
    e->m_bDeformed = 1;
    m_dc.Clear();
    e->OutputWForcNumbers(&m_dc);
    EXPECT_TRUE(Texts(m_dc).empty());
}

TEST_F(WallForceTest, TheExtremeStandsWhereTheWallHoldsIt) {
    // Position 2 writes the extreme of larger magnitude (dMax on a tie) at the record's point of
    // that extreme (Pnt[3] for dMax, Pnt[4] for dMin), not at the middle (Pnt[2]). The three
    // points are set apart on the wall, so the text must stand nearest the expected one.
    struct Row {
        const char* label;
        bool bColumn;
        double dMax, dMin;
        const char* text;
        int anchor;
    } const rows[] = {
        {"column, minimum larger", true, 5.0, -8.0, "-8", 4},
        {"column, maximum larger", true, 9.0, -8.0, "9", 3},
        {"beam, a tie takes the maximum", false, 8.0, -8.0, "8", 3},
        {"beam, minimum larger (the spandrel's -67.5 at its ends, +33.75 at mid-span)", false, 33.75, -67.5, "-68", 4},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        auto e = Build(4);
        M().m_pDispOpt->m_Number.m_nDecimals = 0;
        // Start, end, middle, and the points of dMax and dMin, apart on the wall.
        static const C3DPoint kColumn[5] = {{0, 0, 0}, {0, 0, 4}, {2, 0, 2}, {0.5, 0, 0.5}, {3.5, 0, 3.5}};
        static const C3DPoint kBeam[5] = {{7, 0, 5}, {13, 0, 5}, {10, 0, 5}, {6.5, 0, 4.5}, {13.5, 0, 5.5}};
        const C3DPoint* p = r.bColumn ? kColumn : kBeam;
        auto place = [&](auto& records, UINT key, auto rec, int& bNumbers, int& nPos) {
            ASSERT_TRUE(records.Lookup(key, rec));
            rec.dMax = r.dMax;
            rec.dMin = r.dMin;
            std::copy(p, p + 5, rec.Pnt);
            records.SetAt(key, rec);
            bNumbers = 1;
            nPos = 2;
        };
        if (r.bColumn) place(e->m_mapWColm, kWall, T_PVX_WCOLM_D(), e->m_bWColmNumber, e->m_nWColmNumPos);
        else place(e->m_mapWBeam, kWallBeam, T_PVX_WBEAM_D(), e->m_bWBeamNumber, e->m_nWBeamNumPos);
        m_dc.Clear();
        e->OutputWForcNumbers(&m_dc);
        const GdiRecord* t = nullptr;
        for (const GdiRecord& g : m_dc.GetRecords())
            if (!g.text.empty()) {
                ASSERT_EQ(t, nullptr) << "one number only";
                t = &g;
            }
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->text, r.text);
        ASSERT_GE(t->args.size(), 2u);
        double best = 1e300;
        int nearest = -1;
        for (int k = 2; k <= 4; ++k) {
            C3DPoint q = p[k];
            const CPoint w = M().Get3DPtTo2DPt(&q);
            const double d = std::hypot(w.x - t->args[0], w.y - t->args[1]);
            if (d < best) {
                best = d;
                nearest = k;
            }
        }
        EXPECT_EQ(nearest, r.anchor);
    }
}

TEST_F(WallForceTest, WallBeamNumbersAtStartMiddleAndEnd) {
    // Position 3: the start (station 0, -8), the end (station 8, 8) and the middle (station 4, 0).
    auto e = Build(4);
    e->m_bWBeamNumber = 1;
    e->m_nWBeamNumPos = 3;
    e->OutputWForcNumbers(&m_dc);
    const std::vector<std::string> t = Texts(m_dc);
    ASSERT_EQ(t.size(), 3u);
    EXPECT_TRUE(HasText(t, "-8"));
    EXPECT_TRUE(HasText(t, "8"));
    EXPECT_TRUE(HasText(t, "0"));
}

}  // namespace
}  // namespace wallplatetest
