// Slab force drawing of display mode 16: the value of each face vertex, the side of the envelope
// drawn, the members drawn without contour, Escape, the per-element numbers, the per-member
// numbers across the outline sides and at the centre, their text angle, and the mode 22 numbers.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "module/model/CPVXDrawFuncArray.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/ModuleTestSupport.h"
#include "tests/module/slabforce/SlabTestSupport.h"

namespace slabtest {
namespace {

// Notes the faces handed to the band cutter.
class NoteEngine : public CForceEngine {
public:
    explicit NoteEngine(I_PVXModelBase* p) : CForceEngine(p) {}
    struct Poly {
        std::vector<C3DPoint> pts;
        std::vector<double> values;
    };
    void DoSubPolyContour(CDC*, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int*, int) override {
        Poly p;
        int i = 0;
        for (POSITION pos = pPoints->GetHeadPosition(); pos; ++i) {
            p.pts.push_back(pPoints->GetNext(pos));
            p.values.push_back(pValues[i]);
        }
        m_polys.push_back(p);
    }
    std::vector<Poly> m_polys;
};

struct Queued {
    C3DPoint anchor, from, to;
    int kind;
    double value;
};

class SlabDrawTest : public SlabTest {
protected:
    std::unique_ptr<NoteEngine> Make(int unit, int comp = 0, int pos = 1, int neg = 1, int lcom = 0) {
        auto e = std::make_unique<NoteEngine>(&M());
        e->m_nSForcUnit = unit;
        e->m_nSForcComp = comp;
        e->m_bSForcPos = pos;
        e->m_bSForcNeg = neg;
        e->m_nSForcLcomCount = lcom;
        e->InitEngine(nullptr, PVXMode::kSlabForce);
        return e;
    }
    // The polygons of one plate, found by its x range.
    static std::vector<NoteEngine::Poly> PolysIn(const NoteEngine& e, double x0, double x1) {
        std::vector<NoteEngine::Poly> out;
        for (const auto& p : e.m_polys)
            if (std::all_of(p.pts.begin(), p.pts.end(), [&](const C3DPoint& q) { return q.x >= x0 - 1e-9 && q.x <= x1 + 1e-9; }))
                out.push_back(p);
        return out;
    }
    std::vector<Queued> Queue() {
        std::vector<Queued> out;
        auto& list = M().m_pDrawFuncArray->m_OutputSlabNumber.GetList();
        for (POSITION pos = list.GetHeadPosition(); pos;) {
            const auto* r = list.GetNext(pos);
            out.push_back({C3DPoint(r->m_dAnchor[0], r->m_dAnchor[1], r->m_dAnchor[2]),
                           C3DPoint(r->m_dAxis1[0], r->m_dAxis1[1], r->m_dAxis1[2]),
                           C3DPoint(r->m_dAxis2[0], r->m_dAxis2[1], r->m_dAxis2[2]), r->m_nKind, r->m_dValue});
        }
        return out;
    }
    void ClearQueue() { M().m_pDrawFuncArray->m_OutputSlabNumber.Clear(); }
    std::vector<double> NumbersWritten() {
        std::vector<double> out;
        for (const GdiRecord& r : m_dc.GetRecords())
            if (!r.text.empty()) out.push_back(std::strtod(r.text.c_str(), nullptr));
        return out;
    }
};

bool Near(const C3DPoint& a, const C3DPoint& b, double tol = 1e-9) {
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol;
}

TEST_F(SlabDrawTest, EachFaceVertexTakesTheCornerOfItsNode) {
    // Mxx of plate 12 at nodes 2 (2,0), 3 (4,0), 6 (4,2), 5 (2,2) is 10, 20, 30, 40; of plate 11
    // at 1, 2, 5, 4 it is 1, 2, 3, 4. Every slab face is painted; the beam is not.
    auto e = Make(1);
    e->DrawSForcContour(&m_dc);
    ASSERT_EQ(e->m_polys.size(), 4u) << "plates 11, 12, 21, 31";
    auto corner12 = [](const C3DPoint& p) { return p.y < 1.0 ? (p.x < 3.0 ? 10.0 : 20.0) : (p.x < 3.0 ? 40.0 : 30.0); };
    const auto in12 = PolysIn(*e, 2.0, 4.0);
    ASSERT_EQ(in12.size(), 1u);
    for (size_t k = 0; k < in12[0].pts.size(); ++k) EXPECT_EQ(in12[0].values[k], corner12(in12[0].pts[k])) << k;

    // A vertex whose node is not among the analysis element's corners takes the centre value:
    // plate 11's record without node 1 among its corners.
    T_PVX_SBEM_D sb;
    ASSERT_TRUE(e->m_mapSbem.Lookup(kPlateA1, sb));
    sb.m_arrNodeKey[0] = 999;
    e->m_mapSbem.SetAt(kPlateA1, sb);
    e->m_polys.clear();
    e->DrawSForcContour(&m_dc);
    const auto in11 = PolysIn(*e, 0.0, 2.0);
    ASSERT_EQ(in11.size(), 1u);
    for (size_t k = 0; k < in11[0].pts.size(); ++k) {
        const C3DPoint& p = in11[0].pts[k];
        const double expected = p.x < 1.0 && p.y < 1.0 ? PlateAMxx(kPlateA1, 0) : (p.x > 1.0 ? (p.y < 1.0 ? 2.0 : 3.0) : 4.0);
        EXPECT_EQ(in11[0].values[k], expected) << k;
    }
}

TEST_F(SlabDrawTest, TheEnvelopeIsDrawnOneSideAtATime) {
    SelectLoad(12, kEnv, 1);
    struct Row {
        const char* label;
        int pos, neg;
        size_t polys;
        double scale;  // plate 12's corners: scale x 10 b
    } const rows[] = {
        {"both sides: the bare model", 1, 1, 0, 0.0},
        {"neither side: the bare model", 0, 0, 0, 0.0},
        {"positive side: the maximum envelope", 1, 0, 4, 1.2},
        {"negative side: the minimum envelope", 0, 1, 4, -2.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto e = Make(1, 0, 1, 1, 2);
        e->m_bSForcPos = row.pos;
        e->m_bSForcNeg = row.neg;
        m_dc.Clear();
        e->DrawSForcContour(&m_dc);
        ASSERT_EQ(e->m_polys.size(), row.polys);
        EXPECT_FALSE(m_dc.GetRecords().empty()) << "the model is drawn in either case";
        if (!row.polys) continue;
        const auto in12 = PolysIn(*e, 2.0, 4.0);
        ASSERT_EQ(in12.size(), 1u);
        for (size_t k = 0; k < in12[0].pts.size(); ++k) {
            const C3DPoint& p = in12[0].pts[k];
            const int b = p.y < 1.0 ? (p.x < 3.0 ? 1 : 2) : (p.x < 3.0 ? 4 : 3);
            EXPECT_NEAR(in12[0].values[k], row.scale * 10.0 * b, 1e-12) << k;
        }
    }
}

TEST_F(SlabDrawTest, WithoutContoursNoSlabIsPainted) {
    struct Row {
        const char* label;
        int unit;
        int contour;
    } const rows[] = {{"per member: the plain model only", 0, 1}, {"result colours off", 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        M().m_bContour = row.contour;
        auto e = Make(row.unit);
        ASSERT_EQ(e->m_bSForcData, 1);
        m_dc.Clear();
        if (row.unit == 0) e->DrawSForcContourMemb(&m_dc);
        else e->DrawSForcContour(&m_dc);
        EXPECT_TRUE(e->m_polys.empty());
        EXPECT_FALSE(m_dc.GetRecords().empty()) << "the slabs stay in the picture";
        // A per-element pass with the per-member unit paints nothing either.
        e->DrawSForcContour(&m_dc);
        EXPECT_TRUE(e->m_polys.empty());
    }
}

TEST_F(SlabDrawTest, EscapeEndsTheDrawWithPenAndOptionsPutBack) {
    auto e = Make(1);
    T_PVX_DOPT_D& o = *M().m_pDispOpt;
    o.m_nRenderMode = 3;
    o.m_bPlaneCulling = 1;
    const int width = M().m_nPenFactor;
    CPen* before = m_dc.GetCurrentPen();
    CUiDriver::Get().Reset();
    Ctrl()->ResetEscKeyPress();
    CUiDriver::Get().PressEscapeAfterPolls(1);
    e->DrawSForcContour(&m_dc);
    EXPECT_LT(e->m_polys.size(), 4u) << "stopped early";
    EXPECT_EQ(m_dc.GetCurrentPen(), before);
    EXPECT_EQ(o.m_nRenderMode, 3);
    EXPECT_EQ(o.m_bPlaneCulling, 1);
    EXPECT_EQ(M().m_nPenFactor, width);
    CUiDriver::Get().Reset();
    Ctrl()->ResetEscKeyPress();
}

TEST_F(SlabDrawTest, ElementNumbersAreEachFacesExtreme) {
    // Myy of plate 12: corners -10, -20, -30, -40 (max -10, min -40); plate 11: -1 .. -4; the
    // turned Myy of plate 21 (c = cos 30°, s = sin 30°): 5 s² - 2 c² - 2 s c = -1.1160...; plate
    // 31 as plate 11.
    const double turned = kMxx * 0.25 + kMyy * 0.75 - 2 * kMxy * 0.5 * 0.86602540378443865;
    struct Row {
        const char* label;
        int pos, neg;
        std::vector<double> numbers;  // sorted
    } const rows[] = {
        {"both sides: the larger magnitude", 1, 1, {-40.0, -4.0, -4.0, turned}},
        {"positive only: no corner is positive", 1, 0, {}},
        {"negative only: the minimum", 0, 1, {-40.0, -4.0, -4.0, turned}},
    };
    M().m_pDispOpt->m_Number.m_nDecimals = 3;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto e = Make(1, 1, row.pos, row.neg);
        m_dc.Clear();
        e->OutputSForcNumbers(&m_dc);
        std::vector<double> got = NumbersWritten();
        std::sort(got.begin(), got.end());
        ASSERT_EQ(got.size(), row.numbers.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], row.numbers[i], 0.01) << i;
    }
    // Both sides, a face with max 7 and min -7 shows -7.
    auto e = Make(1, 0);
    T_STRP_DL r;
    ASSERT_TRUE(e->GetSlabForce(kPlateA1, r));
    r.blk[1][20] = 7.0;
    r.blk[2][20] = -7.0;
    r.blk[3][20] = r.blk[4][20] = 0.0;
    e->m_mapSForc.SetAt(kPlateA1, r);
    m_dc.Clear();
    e->OutputSForcNumbers(&m_dc);
    const std::vector<double> got = NumbersWritten();
    EXPECT_NE(std::find(got.begin(), got.end(), -7.0), got.end());
    EXPECT_EQ(std::find(got.begin(), got.end(), 7.0), got.end());
}

TEST_F(SlabDrawTest, EnvelopeNumbersWriteBothSidesApart) {
    // Mxx of plate 12 under the envelope: maximum 12 b, minimum -20 b: 48 at the centre, -80
    // ten pixels below.
    SelectLoad(12, kEnv, 1);
    auto e = Make(1, 0, 1, 1, 2);
    m_dc.Clear();
    e->OutputSForcNumbers(&m_dc);
    std::vector<std::pair<double, POINT>> texts;
    for (const GdiRecord& r : m_dc.GetRecords())
        if (!r.text.empty()) texts.push_back({std::strtod(r.text.c_str(), nullptr), POINT{r.Arg(0), r.Arg(1)}});
    auto find = [&](double v) {
        return std::find_if(texts.begin(), texts.end(), [&](const auto& t) { return std::fabs(t.first - v) < 0.01; });
    };
    const auto hi = find(48.0), lo = find(-80.0);
    ASSERT_NE(hi, texts.end());
    ASSERT_NE(lo, texts.end());
    EXPECT_EQ(lo->second.y - hi->second.y, 10);
    EXPECT_EQ(lo->second.x, hi->second.x);
}

TEST_F(SlabDrawTest, TextAngleStaysUpright) {
    struct Row {
        const char* label;
        CPoint b;
        int angle, flipped;
    } const rows[] = {
        {"right", CPoint(10, 0), 0, 0},   {"left", CPoint(-10, 0), 0, 1},      {"up", CPoint(0, -10), 900, 0},
        {"down", CPoint(0, 10), 900, 1},  {"up-left", CPoint(-10, -10), 3150, 1}, {"down-right", CPoint(10, 10), 3150, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        int a = -1, f = -1;
        CForceEngine::GetDetailSlabSlope(CPoint(0, 0), row.b, a, f);
        EXPECT_EQ(a, row.angle);
        EXPECT_EQ(f, row.flipped);
    }
}

TEST_F(SlabDrawTest, SideValuesAreSpreadOverTheOutlineEdges) {
    // A 6 m x 3 m outline counter-clockwise from the origin at elevation 2.
    CForceEngine e(&M());
    _DBDataArray<CZELF_DBLineObjData> edges;
    const double P[4][2] = {{0, 0}, {6, 0}, {6, 3}, {0, 3}};
    for (int i = 0; i < 4; ++i) {
        CZELF_DBLineObjData l;
        ASSERT_TRUE(l.SetData(CZELF_Point2D(P[i][0], P[i][1]), CZELF_Point2D(P[(i + 1) % 4][0], P[(i + 1) % 4][1]), 0.0, 0, 0));
        if (l.IsReverse()) l.ReVerSeData();
        edges.Add(l);
    }
    auto values = [](int n) {
        CArray<double, double> v;
        for (int i = 0; i < n; ++i) v.Add(i + 1.0);
        return v;
    };
    const double L = std::fabs(Ctrl()->GetWorldLength(20.0));
    struct Row {
        const char* label;
        int count;
        size_t pushes;
    } const rows[] = {{"three per edge", 12, 12}, {"one per edge", 4, 4}, {"two per edge: none", 8, 0}, {"none", 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        ClearQueue();
        e.OutputDetailSlabMembSide(edges, 2.0, values(row.count), 7, &M());
        const std::vector<Queued> q = Queue();
        ASSERT_EQ(q.size(), row.pushes);
        for (const Queued& n : q) {
            EXPECT_EQ(n.kind, 7);
            EXPECT_EQ(n.anchor.z, 2.0);
            // Each segment starts on the outline and points L square to its side.
            EXPECT_NEAR((n.to - n.from).Length(), L, 1e-9);
        }
        if (row.count == 12) {
            // The first edge (0,0)-(6,0): points at 0, 0.33 and 0.66 of it; anchors half way
            // between one and the next, so near 1/6, 1/2 and 5/6.
            EXPECT_TRUE(Near(q[0].anchor, C3DPoint(0.99, 0.0, 2.0)));
            EXPECT_TRUE(Near(q[1].anchor, C3DPoint(2.97, 0.0, 2.0)));
            EXPECT_TRUE(Near(q[2].anchor, C3DPoint(4.98, 0.0, 2.0)));
            // The segment of the first is turned counter-clockwise from the side: towards +y.
            EXPECT_TRUE(Near(q[0].to - q[0].from, C3DPoint(0.0, L, 0.0)));
            EXPECT_EQ(q[11].value, 12.0);
        }
        if (row.count == 4) {
            const C3DPoint mids[4] = {{3, 0, 2}, {6, 1.5, 2}, {3, 3, 2}, {0, 1.5, 2}};
            for (int i = 0; i < 4; ++i) {
                EXPECT_TRUE(Near(q[static_cast<size_t>(i)].anchor, mids[i])) << i;
                EXPECT_EQ(q[static_cast<size_t>(i)].value, i + 1.0);
                // Segments run from the middle between the edge starts.
                EXPECT_TRUE(Near(q[static_cast<size_t>(i)].from, mids[i])) << i;
            }
        }
    }
    // No edges: nothing is divided among them.
    ClearQueue();
    e.OutputDetailSlabMembSide(_DBDataArray<CZELF_DBLineObjData>(), 0.0, values(4), 6, &M());
    EXPECT_TRUE(Queue().empty());
    ClearQueue();
}

TEST_F(SlabDrawTest, ASideOfNoLengthKeepsADefinedSegment) {
    CForceEngine e(&M());
    const C3DPoint a(1, 1, 0);
    C3DPoint from, to(5, 5, 5);
    CPoint fw(-1, -1), tw(-1, -1);
    e.GetDetailSlabMembSideNodes(a, a, from, to, fw, tw);
    EXPECT_TRUE(Near(from, a));
    EXPECT_TRUE(Near(to, C3DPoint(5, 5, 5))) << "left as the caller set it";
    EXPECT_EQ(fw.x, -1);
}

TEST_F(SlabDrawTest, MemberNumbersOfModeSixteen) {
    // Slab A: 12 side values (three per edge of its 4 m x 2 m outline) and the centre values 3
    // and -4 at its centre (2, 1, 0), along the X and Y rebar; slab B: one per edge, its centre
    // numbers along the 30° rebar. Slab C (result type 1) has no moments.
    auto e = Make(0);
    ASSERT_EQ(e->m_bSForcData, 1);
    ClearQueue();
    e->OutputSForcNumbersMemb(&m_dc);
    const std::vector<Queued> q = Queue();
    const double L = std::fabs(Ctrl()->GetWorldLength(20.0));
    // Positive sides and centres (kind 6) then negative sides (kind 7), member by member.
    ASSERT_EQ(q.size(), 2u * 12 + 2 + 2u * 4 + 2);
    const auto k6 = std::count_if(q.begin(), q.end(), [](const Queued& n) { return n.kind == 6; });
    EXPECT_EQ(k6, 12 + 2 + 4 + 2);
    auto centre = std::find_if(q.begin(), q.end(), [](const Queued& n) { return Near(n.anchor, C3DPoint(2, 1, 0)); });
    ASSERT_NE(centre, q.end());
    EXPECT_EQ(centre->value, 3.0);
    EXPECT_EQ(centre->kind, 6);
    EXPECT_TRUE(Near(centre->to - centre->from, C3DPoint(L, 0, 0)));
    EXPECT_EQ((centre + 1)->value, -4.0);
    EXPECT_TRUE(Near((centre + 1)->to - (centre + 1)->from, C3DPoint(0, L, 0)));
    auto centreB = std::find_if(q.begin(), q.end(), [](const Queued& n) { return Near(n.anchor, C3DPoint(11, 1, 0)); });
    ASSERT_NE(centreB, q.end());
    EXPECT_EQ(centreB->value, 1.0);
    EXPECT_TRUE(Near(centreB->to - centreB->from, C3DPoint(0.86602540378443865 * L, 0.5 * L, 0), 1e-9));
    // The values are the database's: slab B's negative sides -30, -1, -2, -3 at its edge middles.
    std::vector<double> negB;
    for (const Queued& n : q)
        if (n.kind == 7 && n.anchor.x > 9) negB.push_back(n.value);
    EXPECT_EQ(negB, (std::vector<double>{-30.0, -1.0, -2.0, -3.0}));

    // One side only: positive without negative numbers and the reverse (no centre numbers).
    e->m_bSForcNeg = 0;
    ClearQueue();
    e->OutputSForcNumbersMemb(&m_dc);
    EXPECT_EQ(Queue().size(), 12u + 2 + 4 + 2);
    e->m_bSForcNeg = 1;
    e->m_bSForcPos = 0;
    ClearQueue();
    e->OutputSForcNumbersMemb(&m_dc);
    EXPECT_EQ(Queue().size(), 12u + 4);
    ClearQueue();
}

TEST_F(SlabDrawTest, MemberNumbersOfModeTwentyTwo) {
    // One number per outline side, at the side's middle. Slab A's lists hold three values per
    // side (1..12 and -1..-12 on its 4 sides, at 1/6, 1/2 and 5/6 of each), so each side takes
    // its middle value: 2, 5, 8, 11 at the middles (2,0), (4,1), (2,2), (0,1) of its outline
    // (0,0)-(4,0)-(4,2)-(0,2). Slab B's lists (outline (10,0)-(12,0)-(12,2)-(10,2)) are n values
    // k = 1..n: one per side gives side j value j + 1, three per side value 3 j + 2, any other
    // count no side number (its two centre numbers stay). Slab C, of result type 0, is left out.
    struct Row {
        const char* label;
        int nB;
        std::vector<double> sidesB;  // positive values of B's sides 0..3; negative are their opposites
    } const rows[] = {
        {"one per side", 4, {1, 2, 3, 4}},
        {"three per side", 12, {2, 5, 8, 11}},
        {"two values for four sides: none", 2, {}},
        {"two per side: none", 8, {}},
    };
    const C3DPoint midsA[4] = {{2, 0, 0}, {4, 1, 0}, {2, 2, 0}, {0, 1, 0}};
    const C3DPoint midsB[4] = {{11, 0, 0}, {12, 1, 0}, {11, 2, 0}, {10, 1, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Reinstall([&](PostDBBuilder& b) {
            T_PSLAB_D s;
            s.resultType = 0;
            for (UINT n : {11u, 12u, 13u, 14u}) s.aNode.Add(n);
            b.AddSlab(kSlabC, s);
            b.AddSmnt(kDL, kSlabC, SlabMoments(kSlabB, 1.0));
            T_SMNT_D m = SlabMoments(kSlabB, 1.0);
            m.aPos.RemoveAll();
            m.aNeg.RemoveAll();
            for (int k = 1; k <= row.nB; ++k) {
                m.aPos.Add(k);
                m.aNeg.Add(-k);
            }
            b.AddSmnt(kDL, kSlabB, m);
        });
        CForceEngine e(&M());
        e.m_nSForcUnit = 0;
        e.m_bSForcData = 1;
        ClearQueue();
        e.OutputSBForcNumbersMemb(&m_dc);
        const std::vector<Queued> q = Queue();
        // Each side number of a slab, found at its side's middle with its kind.
        auto at = [&](const C3DPoint& p, int kind) -> const Queued* {
            for (const Queued& n : q)
                if (n.kind == kind && Near(n.anchor, p)) return &n;
            return nullptr;
        };
        for (int j = 0; j < 4; ++j) {
            SCOPED_TRACE(j);
            const Queued* pa = at(midsA[j], 6);
            const Queued* na = at(midsA[j], 7);
            ASSERT_TRUE(pa && na);
            EXPECT_EQ(pa->value, 3.0 * j + 2.0);
            EXPECT_EQ(na->value, -(3.0 * j + 2.0));
            const Queued* pb = at(midsB[j], 6);
            const Queued* nb = at(midsB[j], 7);
            if (row.sidesB.empty()) {
                EXPECT_FALSE(pb || nb);
                continue;
            }
            ASSERT_TRUE(pb && nb);
            EXPECT_EQ(pb->value, row.sidesB[static_cast<size_t>(j)]);
            EXPECT_EQ(nb->value, -row.sidesB[static_cast<size_t>(j)]);
        }
        // Slab A: 4 + 2 centre + 4; slab B: its sides and 2 centre numbers; slab C none.
        EXPECT_EQ(q.size(), 10u + 2u * row.sidesB.size() + 2u);
        for (const Queued& n : q) EXPECT_LT(n.anchor.x, 15.0) << "slab C is not labelled";
    }
    ClearQueue();
}

// Mxx at plate 12's fourth corner set to v, in place or (bAnew) as a record removed and added.
void SetPlate12Corner4(CForceEngine& e, double v, bool bAnew) {
    T_STRP_DL r;
    ASSERT_TRUE(e.GetSlabForce(kPlateA2, r));
    r.blk[4][20] = v;
    if (bAnew) e.m_mapSForc.RemoveKey(kPlateA2);
    e.m_mapSForc.SetAt(kPlateA2, r);
}

TEST_F(SlabDrawTest, RecordsAreFoundAnewAfterEveryChangeOfTheLists) {
    // An engine that has drawn once (and so found where its records lie) and then sees its lists
    // changed draws and weighs the lists as they now are. Mxx of plate 12 is 10 b at corner b,
    // the largest of the project (40); plate 11 and plate 31 reach 4; plate 21 holds
    // Mxx c^2 + Myy s^2 + 2 Mxy s c turned by 30 degrees (4.116).
    const double turned = kMxx * 0.75 + kMyy * 0.25 + 2 * kMxy * 0.5 * 0.86602540378443865;
    using Change = void (*)(CForceEngine&);
    struct Row {
        const char* label;
        Change change;
        size_t faces;
        double legendMax;
        double corner4;  // plate 12's fourth corner as drawn; 0 when plate 12 is not drawn
    } const rows[] = {
        {"nothing changed", [](CForceEngine&) {}, 4, 40.0, 40.0},
        {"plate 12's record edited in place", [](CForceEngine& e) { SetPlate12Corner4(e, 99.0, false); }, 4, 99.0, 99.0},
        {"plate 12's record removed", [](CForceEngine& e) { e.m_mapSForc.RemoveKey(kPlateA2); }, 3, turned, 0.0},
        {"plate 12's record removed and put back edited", [](CForceEngine& e) { SetPlate12Corner4(e, 77.0, true); }, 4,
         77.0, 77.0},
        {"plate 12's shape record removed", [](CForceEngine& e) { e.m_mapSbem.RemoveKey(kPlateA2); }, 3, turned, 0.0},
        {"plate 12 left out of the list",
         [](CForceEngine& e) {
             for (INT_PTR i = e.m_arrElemKey.GetSize() - 1; i >= 0; --i)
                 if (e.m_arrElemKey[i] == kPlateA2) e.m_arrElemKey.RemoveAt(i);
         },
         4, turned, 40.0},
        {"every record emptied", [](CForceEngine& e) { e.m_mapSForc.RemoveAll(); }, 0, 0.0, 0.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        auto e = Make(1);
        e->DrawSForcContour(&m_dc);
        ASSERT_EQ(e->m_polys.size(), 4u);
        e->m_polys.clear();
        row.change(*e);
        ASSERT_EQ(e->MakeSForcDataList_MnMx(), 1);
        EXPECT_NEAR(e->m_dLegendMax, row.legendMax, 1e-9);
        e->DrawSForcContour(&m_dc);
        EXPECT_EQ(e->m_polys.size(), row.faces);
        const auto in12 = PolysIn(*e, 2.0, 4.0);
        ASSERT_EQ(in12.size(), row.corner4 != 0.0 ? 1u : 0u);
        for (const auto& poly : in12)
            for (size_t k = 0; k < poly.pts.size(); ++k) {
                const C3DPoint& q = poly.pts[k];
                const int b = q.y < 1.0 ? (q.x < 3.0 ? 1 : 2) : (q.x < 3.0 ? 4 : 3);
                EXPECT_EQ(poly.values[k], b == 4 ? row.corner4 : 10.0 * b) << k;
            }
    }
}

// The legend's walk over the slab records (extremes and weighed values) is kept while the
// records, the component, the sides shown and the list stay the same, and its band weights
// while the levels do too. Every change of any between two legends must show: the answer is an
// engine given the same lists weighing them for the first time.
// Gives a fresh engine the slab inputs of another: component, sides, record maps, element list
// and a copy of its scale, so what it builds is the other's made from nothing kept.
void TakeSlabInputs(CForceEngine& to, const CForceEngine& from) {
    to.m_nSForcComp = from.m_nSForcComp;
    to.m_bSForcPos = from.m_bSForcPos;
    to.m_bSForcNeg = from.m_bSForcNeg;
    to.m_mapSForc = from.m_mapSForc;
    to.m_mapSForcPos = from.m_mapSForcPos;
    to.m_mapSForcNeg = from.m_mapSForcNeg;
    to.m_mapSbem = from.m_mapSbem;
    to.m_arrElemKey.Copy(from.m_arrElemKey);
    to.m_pContourEngine = new CContourEngine(*from.m_pContourEngine);
}

TEST_F(SlabDrawTest, KeptLegendFollowsEveryChangeOfWhatItWasMadeOf) {
    struct Row {
        const char* label;
        bool envelope;  // the envelope, its positive side shown
        void (*change)(CForceEngine&);
    } const rows[] = {
        {"nothing changed", false, [](CForceEngine&) {}},
        {"component Myy", false, [](CForceEngine& e) { e.m_nSForcComp = 1; }},
        {"a corner edited", false, [](CForceEngine& e) { SetPlate12Corner4(e, 99.0, false); }},
        {"a record removed", false, [](CForceEngine& e) { e.m_mapSForc.RemoveKey(kPlateA2); }},
        {"a shape record removed", false, [](CForceEngine& e) { e.m_mapSbem.RemoveKey(kPlateA2); }},
        {"an element left out", false, [](CForceEngine& e) { e.m_arrElemKey.RemoveAt(e.m_arrElemKey.GetSize() - 1); }},
        {"six levels", false, [](CForceEngine& e) { e.m_pContourEngine->m_nNumColor = 6; }},
        {"the negative side", true, [](CForceEngine& e) { e.m_bSForcPos = 0, e.m_bSForcNeg = 1; }},
        {"a maximum record edited", true, [](CForceEngine& e) { e.m_mapSForcPos[kPlateA2].blk[4][20] = 500.0; }},
        {"a minimum record edited", true, [](CForceEngine& e) {
             e.m_bSForcPos = 0, e.m_bSForcNeg = 1;
             e.m_mapSForcNeg[kPlateA2].blk[4][20] = -500.0;
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        SelectLoad(row.envelope ? 12 : 1, row.envelope ? kEnv : kDL, row.envelope ? 1 : 0);
        auto kept = Build(1, 0, 1, !row.envelope, row.envelope ? 2 : 0);
        row.change(*kept);
        ASSERT_EQ(kept->MakeSForcDataList_MnMx(), 1);
        const UINT keptKeys[2] = {M().m_nMaxKey, M().m_nMinKey};
        CForceEngine first(&M());
        TakeSlabInputs(first, *kept);
        ASSERT_EQ(first.MakeSForcDataList_MnMx(), 1);
        EXPECT_EQ(kept->m_dLegendMax, first.m_dLegendMax);
        EXPECT_EQ(kept->m_dLegendMin, first.m_dLegendMin);
        EXPECT_EQ(kept->m_dPAbsMax, first.m_dPAbsMax);
        EXPECT_EQ(kept->m_nPAbsMaxElem, first.m_nPAbsMaxElem);
        EXPECT_TRUE(keptKeys[0] == M().m_nMaxKey && keptKeys[1] == M().m_nMinKey);
        const CContourEngine &a = *kept->m_pContourEngine, &b = *first.m_pContourEngine;
        EXPECT_EQ(a.m_dPctTotal, b.m_dPctTotal);
        EXPECT_GT(b.m_dPctTotal, 0.0);
        for (int k = 0; k < CContourEngine::MAX_LEVELS; ++k)
            EXPECT_TRUE(a.m_dRankMap[k] == b.m_dRankMap[k] && a.m_dPctRankMap[k] == b.m_dPctRankMap[k]) << k;
    }
}

// An engine of a type made from CForceEngine: it takes every face through DoSubPolyContour, one
// band list per face.
class PerFaceEngine : public CForceEngine {
public:
    using CForceEngine::CForceEngine;
};

TEST_F(SlabDrawTest, FacesGatheredIntoOneListDrawWhatAListPerFaceDraws) {
    // A plain engine gathers the bands of consecutive faces into one list; an engine of a
    // derived type draws a list per face. Pixels and recorded calls must be the same under
    // every option that decides whether faces may be gathered.
    struct Row {
        const char* label;
        void (*set)(I_PVXModel&, CForceEngine&);  // after the lists are built
    } const rows[] = {
        {"faces only", [](I_PVXModel&, CForceEngine&) {}},
        {"element edges", [](I_PVXModel& m, CForceEngine&) { m.m_pDispOpt->m_nRenderMode = 2; }},
        {"band edges", [](I_PVXModel&, CForceEngine& e) { e.m_pContourEngine->m_bDrawContourLine = 1; }},
        {"graded colours", [](I_PVXModel& m, CForceEngine&) { m.m_bGradient = 1; }},
        {"level lines only", [](I_PVXModel&, CForceEngine& e) { e.m_pContourEngine->m_nFillStyle = 1; }},
        {"wire frame: beams drawn between", [](I_PVXModel& m, CForceEngine&) { m.m_pDispOpt->m_bWireFrame = 1; }},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const T_PVX_DOPT_D saved = *M().m_pDispOpt;
        auto draw = [&](CForceEngine& e) {
            e.m_nSForcUnit = 1;
            e.InitEngine(nullptr, PVXMode::kSlabForce);
            r.set(M(), e);
            return moduletest::DrawBothWays(*Ctrl(), 400, 300, [&](CDC* dc) { e.DrawSForcContour(dc); });
        };
        CForceEngine plain(&M());
        PerFaceEngine perFace(&M());
        const moduletest::TwoWayDrawing a = draw(plain), b = draw(perFace);
        *M().m_pDispOpt = saved;
        M().m_bGradient = 0;
        EXPECT_TRUE(a.pixels == b.pixels);
        EXPECT_GT(std::count_if(a.pixels.begin(), a.pixels.end(), [&](COLORREF c) { return c != a.pixels[0]; }), 1000)
            << "the slabs cover part of the picture";
        EXPECT_EQ(a.calls, b.calls);
    }
}
// The bands of the slab faces are kept from one drawing to the next while everything they are
// made of stays the same. Every change of any of it between two drawings must show: the answer
// is an engine that draws the same lists for the first time.
TEST_F(SlabDrawTest, KeptBandsFollowEveryChangeOfWhatTheyWereMadeOf) {
    using Change = void (*)(I_PVXModel&, CDataBase&, CForceEngine&);
    struct Row {
        const char* label;
        bool envelope;  // the envelope, its positive side shown
        Change change;
    } const rows[] = {
        {"nothing changed", false, [](I_PVXModel&, CDataBase&, CForceEngine&) {}},
        {"a corner edited", false, [](I_PVXModel&, CDataBase&, CForceEngine& e) { SetPlate12Corner4(e, 25.0, false); }},
        {"a record removed", false, [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_mapSForc.RemoveKey(kPlateA2); }},
        {"a shape record removed", false,
         [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_mapSbem.RemoveKey(kPlateA1); }},
        {"component Myy", false, [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_nSForcComp = 1; }},
        {"six levels", false, [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_pContourEngine->m_nNumColor = 6; }},
        {"a level moved", false,
         [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_pContourEngine->m_dRankMap[5] += 1.5; }},
        {"quadrilaterals as two triangles", false,
         [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_pContourEngine->m_bCoarseContour = 1; }},
        {"a global range", false,
         [](I_PVXModel&, CDataBase&, CForceEngine& e) {
             CContourEngine& s = *e.m_pContourEngine;
             s.m_bGlobalRange = 1, s.m_dGlobalMin = 3.0, s.m_dGlobalMax = 30.0;
         }},
        {"an active range", false,
         [](I_PVXModel&, CDataBase&, CForceEngine& e) {
             CContourEngine& s = *e.m_pContourEngine;
             s.m_bActiveRange = 1, s.m_bActiveRangeKnot = 1, s.m_nActiveRangeMode = 0;
             s.m_dActiveRangeMin = 5.0, s.m_dActiveRangeMax = 25.0;
         }},
        {"a node moved", false,
         [](I_PVXModel&, CDataBase& db, CForceEngine&) { db.Table<DBT_PNODE>().Set(5, T_PNODE_D{2.6, 2.4, 0.0}); }},
        {"an element switched off", false,
         [](I_PVXModel&, CDataBase& db, CForceEngine&) {
             T_PELEM_D elem = *db.Table<DBT_PELEM>().Find(kPlateA2);
             elem.bActive = 0;
             db.Table<DBT_PELEM>().Set(kPlateA2, elem);
         }},
        {"shrunk faces", false,
         [](I_PVXModel& m, CDataBase&, CForceEngine&) {
             m.m_pDispOpt->m_bShrink = 1;
             m.m_pDispOpt->m_dShrinkFactor = 0.7;
         }},
        {"the negative side", true, [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_bSForcPos = 0, e.m_bSForcNeg = 1; }},
        {"a maximum record edited", true,
         [](I_PVXModel&, CDataBase&, CForceEngine& e) { e.m_mapSForcPos[kPlateA2].blk[4][20] = 35.0; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        Reinstall([](PostDBBuilder&) {});
        CDataBase& db = *m_doc.GetMDBCtrl()->GetDBPost();
        SelectLoad(row.envelope ? 12 : 1, row.envelope ? kEnv : kDL, row.envelope ? 1 : 0);
        auto draw = [&](CForceEngine& e) {
            return moduletest::DrawBothWays(*Ctrl(), 400, 300, [&](CDC* dc) { e.DrawSForcContour(dc); });
        };
        auto kept = Build(1, 0, 1, !row.envelope, row.envelope ? 2 : 0);
        // The first drawing keeps nothing, the second keeps the bands, the third draws them.
        for (int i = 0; i < 3; ++i) draw(*kept);
        ASSERT_EQ(kept->KeptSlabBandCount(), 4u) << "every slab face is kept";
        row.change(M(), db, *kept);
        // Drawn anew after the change, then from what was kept of the new drawing.
        const moduletest::TwoWayDrawing a = draw(*kept);
        draw(*kept);
        const moduletest::TwoWayDrawing a3 = draw(*kept);
        CForceEngine first(&M());
        first.m_nSForcUnit = 1;
        first.m_bSForcData = kept->m_bSForcData;
        TakeSlabInputs(first, *kept);
        const moduletest::TwoWayDrawing b = draw(first);
        EXPECT_TRUE(a.pixels == b.pixels);
        EXPECT_EQ(a.calls, b.calls);
        EXPECT_TRUE(a3.pixels == b.pixels);
        EXPECT_EQ(a3.calls, b.calls);
        EXPECT_GT(std::count_if(b.pixels.begin(), b.pixels.end(), [&](COLORREF c) { return c != b.pixels[0]; }), 1000)
            << "the slabs cover part of the picture";
        // A build for another display mode lets the kept bands go.
        kept->InitEngine(nullptr, PVXMode::kPlateForce);
        EXPECT_EQ(kept->KeptSlabBandCount(), 0u);
    }
}
}  // namespace
}  // namespace slabtest
