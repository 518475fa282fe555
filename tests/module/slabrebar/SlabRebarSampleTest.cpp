// Slab reinforcement (mode 17), slab crack (mode 18) and slab walls (mode 20) on the generated
// sample: the numbers queued against the project file read with SQLite, the settings of the
// reinforcement and slab-wall pages, and the builds that have nothing to show.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "module/contour/CContourEngine.h"
#include "host/grx/GRenderView.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CRecordDC.h"
#include "tests/module/SampleModelFixture.h"

namespace {

std::string SamplePath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

constexpr UINT kDL = 1, kEnvelope = 110;

std::vector<double> Doubles(sqlite3_stmt* st, int col) {
    std::vector<double> v(static_cast<size_t>(sqlite3_column_bytes(st, col)) / sizeof(double));
    if (!v.empty()) std::memcpy(v.data(), sqlite3_column_blob(st, col), v.size() * sizeof(double));
    return v;
}

// The project file as SQLite sees it.
class SampleFile {
public:
    SampleFile() { sqlite3_open_v2(SamplePath().c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr); }
    ~SampleFile() { sqlite3_close(m_db); }
    SampleFile(const SampleFile&) = delete;
    SampleFile& operator=(const SampleFile&) = delete;

    void Each(const std::string& sql, const std::function<void(sqlite3_stmt*)>& row) const {
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql;
        while (sqlite3_step(st) == SQLITE_ROW) row(st);
        sqlite3_finalize(st);
    }
    // The linear combinations in table order: the design combinations.
    std::vector<UINT> LinearCombs() const {
        std::vector<UINT> v;
        Each("SELECT key FROM PLCOM WHERE type = 0 ORDER BY seq", [&](sqlite3_stmt* st) {
            v.push_back(static_cast<UINT>(sqlite3_column_int64(st, 0)));
        });
        return v;
    }
    UINT RaftMember() const {
        UINT key = 0;
        Each("SELECT key FROM PMEMB WHERE type = 301", [&](sqlite3_stmt* st) { key = static_cast<UINT>(sqlite3_column_int64(st, 0)); });
        return key;
    }
    struct Design {
        double a = 0.0, b = 0.0;
        std::vector<double> top, bottom;
    };
    Design DesignOf(UINT comb, UINT memb) const {
        Design d;
        const long long id = (static_cast<long long>(comb) << 32) | memb;
        Each("SELECT result_a, result_b, result_edge_a, result_edge_b FROM SLDG WHERE id = " + std::to_string(id),
             [&](sqlite3_stmt* st) {
                 d.a = sqlite3_column_double(st, 0);
                 d.b = sqlite3_column_double(st, 1);
                 d.top = Doubles(st, 2);
                 d.bottom = Doubles(st, 3);
             });
        return d;
    }
    struct Wall {
        UINT key;
        double x0, y0, x1, y1;  // first and last node in plan
        double m[2], v[2];
        int h0;
    };
    // The walls (202) in table order with their slab forces under a load case.
    std::vector<Wall> Walls(UINT lc) const {
        std::vector<Wall> walls;
        Each("SELECT key, nodes FROM PMEMB WHERE type = 202 ORDER BY seq", [&](sqlite3_stmt* st) {
            Wall w{};
            w.key = static_cast<UINT>(sqlite3_column_int64(st, 0));
            std::vector<UINT> nodes(static_cast<size_t>(sqlite3_column_bytes(st, 1)) / 4);
            std::memcpy(nodes.data(), sqlite3_column_blob(st, 1), nodes.size() * 4);
            Node(nodes.front(), w.x0, w.y0);
            Node(nodes.back(), w.x1, w.y1);
            const long long id = (static_cast<long long>(lc) << 32) | w.key;
            Each("SELECT m, v, h0 FROM SWDF WHERE id = " + std::to_string(id), [&](sqlite3_stmt* s2) {
                const std::vector<double> m = Doubles(s2, 0), v = Doubles(s2, 1);
                w.m[0] = m[0], w.m[1] = m[1], w.v[0] = v[0], w.v[1] = v[1];
                w.h0 = sqlite3_column_int(s2, 2);
            });
            walls.push_back(w);
        });
        return walls;
    }

private:
    void Node(UINT key, double& x, double& y) const {
        Each("SELECT x, y FROM PNODE WHERE key = " + std::to_string(key), [&](sqlite3_stmt* st) {
            x = sqlite3_column_double(st, 0);
            y = sqlite3_column_double(st, 1);
        });
    }
    sqlite3* m_db = nullptr;
};

// Value of largest magnitude, the earlier on a tie.
double Larger(double env, double v) { return std::fabs(v) > std::fabs(env) ? v : env; }

// The design of the raft enveloped over the first n design combinations, by the rule of the
// display: every place keeps its value of largest magnitude.
SampleFile::Design Envelope(const SampleFile& f, int n) {
    const std::vector<UINT> combs = f.LinearCombs();
    SampleFile::Design env = f.DesignOf(combs[0], f.RaftMember());
    for (int k = 1; k < n; ++k) {
        const SampleFile::Design d = f.DesignOf(combs[static_cast<size_t>(k)], f.RaftMember());
        env.a = Larger(env.a, d.a);
        env.b = Larger(env.b, d.b);
        for (size_t i = 0; i < env.top.size(); ++i) env.top[i] = Larger(env.top[i], d.top[i]);
        for (size_t i = 0; i < env.bottom.size(); ++i) env.bottom[i] = Larger(env.bottom[i], d.bottom[i]);
    }
    return env;
}

struct Number {
    int kind;
    double value;
    double anchor[3];
};

class SlabRebarSampleTest : public SampleModelFixture {
protected:
    void SetUp() override {
        OpenSampleModel();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(m_dc.Create());
    }
    void SelectLoad(UINT type, UINT key) {
        I_PVXModel& m = *m_model;
        m.m_nLoadType = type;
        m.m_nLoadKey = key;
        m.m_nLoadStep = type == 12 ? 1 : 0;
        m.m_bLoadSelected = 1;
        m.SelectLoad();
        ASSERT_EQ(m.m_bResultDataReady, 1);
    }
    // The slab numbers queued by one writer, the queue emptied first and after.
    template <class F>
    std::vector<Number> Queued(F write) {
        auto& q = m_model->m_pDrawFuncArray->m_OutputSlabNumber;
        q.Clear();
        write();
        std::vector<Number> out;
        for (POSITION pos = q.GetList().GetHeadPosition(); pos;) {
            const auto* r = q.GetList().GetNext(pos);
            out.push_back({r->m_nKind, r->m_dValue, {r->m_dAnchor[0], r->m_dAnchor[1], r->m_dAnchor[2]}});
        }
        q.Clear();
        return out;
    }
    static std::vector<double> ValuesOfKind(const std::vector<Number>& n, int kind) {
        std::vector<double> v;
        for (const Number& x : n)
            if (x.kind == kind) v.push_back(x.value);
        return v;
    }

    CRecordDC m_dc;
    SampleFile m_file;
};

// ---- mode 17 ------------------------------------------------------------------------------------

TEST_F(SlabRebarSampleTest, RebarNumbersAreTheDesignEnvelopeOfTheDatabase) {
    SelectLoad(12, kEnvelope);
    const std::vector<UINT> combs = m_file.LinearCombs();
    ASSERT_EQ(combs.size(), 4u);
    CForceEngine e(m_model.get());
    e.m_nSRbarType10Count = static_cast<int>(combs.size());
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabRebar), 1);
    const std::vector<Number> n = Queued([&] { e.OutputSRbarNumbersMemb(&m_dc); });

    // Bottom: the four edges of the raft outline, then the centre along X and Y; top: the edges.
    const SampleFile::Design env = Envelope(m_file, 4);
    ASSERT_EQ(env.bottom.size(), 4u);
    std::vector<double> bottom = env.bottom;
    bottom.push_back(env.a);
    bottom.push_back(env.b);
    EXPECT_EQ(ValuesOfKind(n, 6), bottom);
    EXPECT_EQ(ValuesOfKind(n, 7), env.top);
    // The first edge's numbers stand at its middle: the raft's south edge (0,0)-(24,0).
    ASSERT_FALSE(n.empty());
    EXPECT_NEAR(n[0].anchor[0], 12.0, 1e-9);
    EXPECT_NEAR(n[0].anchor[1], 0.0, 1e-9);
}

TEST_F(SlabRebarSampleTest, RebarPageSettingsChooseTheNumbers) {
    struct Row {
        const char* label;
        int top, bottom, count;
        UINT loadType, loadKey;  // the load when drawn
        size_t bottomNumbers, topNumbers;
    } const rows[] = {
        {"both faces", 1, 1, 4, 12, kEnvelope, 6, 4},
        {"bottom only: edges and centre", 0, 1, 4, 12, kEnvelope, 6, 0},
        {"top only: edges, no centre", 1, 0, 4, 12, kEnvelope, 0, 4},
        {"no face", 0, 0, 4, 12, kEnvelope, 0, 0},
        {"no design combination", 1, 1, 0, 12, kEnvelope, 0, 0},
        {"a single combination is no design envelope", 1, 1, 4, 11, 101, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SelectLoad(12, kEnvelope);
        CForceEngine e(m_model.get());
        e.m_bSRbarTop = r.top;
        e.m_bSRbarBottom = r.bottom;
        e.m_nSRbarType10Count = r.count;
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabRebar), 1);
        m_model->m_nLoadType = r.loadType;
        m_model->m_nLoadKey = r.loadKey;
        const std::vector<Number> n = Queued([&] { e.OutputSRbarNumbersMemb(&m_dc); });
        EXPECT_EQ(ValuesOfKind(n, 6).size(), r.bottomNumbers);
        EXPECT_EQ(ValuesOfKind(n, 7).size(), r.topNumbers);
    }

    // Two design combinations: the envelope of those two only.
    SelectLoad(12, kEnvelope);
    CForceEngine e(m_model.get());
    e.m_nSRbarType10Count = 2;
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabRebar), 1);
    const std::vector<Number> n = Queued([&] { e.OutputSRbarNumbersMemb(&m_dc); });
    EXPECT_EQ(ValuesOfKind(n, 7), Envelope(m_file, 2).top);
    // Per element the unit of the page reaches no per-member numbers.
    e.m_nSRbarUnit = 1;
    EXPECT_TRUE(Queued([&] { e.OutputSRbarNumbersMemb(&m_dc); }).empty());
}

TEST_F(SlabRebarSampleTest, PerMemberLegendHoldsTheLargestNumbersWritten) {
    // The range fields gather nothing (no inverted infinite range, no member 0xFFFFFFFF); the
    // legend's top and bottom maxima are the largest of the raft's design envelope (SLDG read
    // by hand) on the faces shown, the bottom with the two centre values, each naming the raft.
    const UINT raft = m_file.RaftMember();
    const SampleFile::Design env = Envelope(m_file, 4);
    ASSERT_FALSE(env.top.empty());
    auto largest = [](std::vector<double> v) { return *std::max_element(v.begin(), v.end()); };
    std::vector<double> bottom = env.bottom;
    bottom.push_back(env.a);
    bottom.push_back(env.b);
    struct Row {
        const char* label;
        int top, bottom, count;
        double dTop, dBottom;
        UINT topKey, bottomKey;
    } const rows[] = {
        {"both faces", 1, 1, 4, largest(env.top), largest(bottom), raft, raft},
        {"top only", 1, 0, 4, largest(env.top), 0.0, raft, 0},
        {"bottom only", 0, 1, 4, 0.0, largest(bottom), 0, raft},
        {"no design combination: nothing written", 1, 1, 0, 0.0, 0.0, 0, 0},
    };
    SelectLoad(12, kEnvelope);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        m_model->m_nMaxKey = m_model->m_nMinKey = 77;
        CForceEngine e(m_model.get());
        e.m_bSRbarTop = r.top;
        e.m_bSRbarBottom = r.bottom;
        e.m_nSRbarType10Count = r.count;
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabRebar), 1);
        EXPECT_EQ(e.m_dSMembMax, 0.0);
        EXPECT_EQ(e.m_dSMembMin, 0.0);
        EXPECT_EQ(e.m_dSlabRbarMaxTop, r.dTop);
        EXPECT_EQ(e.m_dSlabRbarMaxBot, r.dBottom);
        EXPECT_EQ(m_model->m_nMinKey, r.topKey);
        EXPECT_EQ(m_model->m_nMaxKey, r.bottomKey);
    }
}

TEST_F(SlabRebarSampleTest, PerElementRebarAndCrackHaveNoDataUnderALoadCase) {
    // The element design is kept by design combination: under a load case both report no data
    // (the mode shows the plain model), while the slab element forces are listed with their
    // members.
    SelectLoad(1, kDL);
    struct Row {
        const char* label;
        int mode;
        int CForceEngine::*unit;
        int CForceEngine::*flag;
    } const rows[] = {
        {"rebar", PVXMode::kSlabRebar, &CForceEngine::m_nSRbarUnit, &CForceEngine::m_bSRbarData},
        {"crack", PVXMode::kSlabCrack, &CForceEngine::m_nSCracUnit, &CForceEngine::m_bSCracData},
    };
    const UINT raft = m_file.RaftMember();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(m_model.get());
        e.*r.unit = 1;
        EXPECT_EQ(e.InitEngine(nullptr, r.mode), 0);
        EXPECT_EQ(e.*r.flag, 0);
        EXPECT_EQ(e.m_arrElemKey.GetSize(), 192 + 24 + 12) << "every raft, floor and roof plate";
        EXPECT_EQ(e.m_mapSForcMemb[1u], raft);
    }
    // Per member the crack display stands (the plain model).
    CForceEngine c(m_model.get());
    EXPECT_EQ(c.InitEngine(nullptr, PVXMode::kSlabCrack), 1);
}

TEST_F(SlabRebarSampleTest, PerElementValuesAreTheElementDesignRows) {
    // Under a design combination each raft plate takes one value of its PDDELEM row read here:
    // mode 17 the larger of the bottom and top areas of the page's direction (faces ticked only),
    // mode 18 the widest of the four crack widths; the legend spans the values.
    const UINT comb = m_file.LinearCombs().at(0);
    std::map<UINT, std::vector<double>> areas, cracks;
    m_file.Each("SELECT id & 4294967295, areas, cracks FROM PDDELEM WHERE (id >> 32) = " + std::to_string(comb),
                [&](sqlite3_stmt* st) {
                    const UINT elem = static_cast<UINT>(sqlite3_column_int64(st, 0));
                    areas[elem] = Doubles(st, 1);
                    cracks[elem] = Doubles(st, 2);
                });
    ASSERT_EQ(areas.size(), 192u) << "every raft plate";
    using Rows = std::map<UINT, std::vector<double>>;
    struct Row {
        const char* label;
        int mode, dir, top, bottom;
        const Rows* rows;
        std::function<double(const std::vector<double>&)> pick;
    } const rows[] = {
        {"rebar x, both faces", PVXMode::kSlabRebar, 0, 1, 1, &areas, [](auto& v) { return std::max(v[0], v[1]); }},
        {"rebar y, both faces", PVXMode::kSlabRebar, 1, 1, 1, &areas, [](auto& v) { return std::max(v[2], v[3]); }},
        {"rebar x, top only", PVXMode::kSlabRebar, 0, 1, 0, &areas, [](auto& v) { return v[1]; }},
        {"rebar y, bottom only", PVXMode::kSlabRebar, 1, 0, 1, &areas, [](auto& v) { return v[2]; }},
        {"crack", PVXMode::kSlabCrack, 0, 1, 1, &cracks,
         [](auto& v) { return std::max(std::max(v[0], v[1]), std::max(v[2], v[3])); }},
    };
    SelectLoad(10, comb);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(m_model.get());
        e.m_nSRbarUnit = e.m_nSCracUnit = 1;
        e.m_nSRbarDir = r.dir;
        e.m_bSRbarTop = r.top;
        e.m_bSRbarBottom = r.bottom;
        ASSERT_EQ(e.InitEngine(nullptr, r.mode), 1);
        EXPECT_EQ(r.mode == PVXMode::kSlabRebar ? e.m_bSRbarData : e.m_bSCracData, 1);
        ASSERT_EQ(e.m_mapSDgnElem.size(), r.rows->size());
        double hi = -1e300, lo = 1e300;
        for (const auto& [elem, v] : *r.rows) {
            ASSERT_EQ(v.size(), 4u) << elem;
            const double want = r.pick(v);
            hi = std::max(hi, want);
            lo = std::min(lo, want);
            ASSERT_TRUE(e.m_mapSDgnElem.count(elem)) << elem;
            EXPECT_DOUBLE_EQ(e.m_mapSDgnElem[elem], want) << elem;
        }
        EXPECT_DOUBLE_EQ(e.m_dLegendMax, hi);
        EXPECT_DOUBLE_EQ(e.m_dLegendMin, lo);
        EXPECT_GT(hi, lo) << "a spread of values";
    }
    // Neither face ticked: no value, no data.
    CForceEngine none(m_model.get());
    none.m_nSRbarUnit = 1;
    none.m_bSRbarTop = none.m_bSRbarBottom = 0;
    EXPECT_EQ(none.InitEngine(nullptr, PVXMode::kSlabRebar), 0);
    EXPECT_EQ(none.m_bSRbarData, 0);
}

// ---- mode 20 ------------------------------------------------------------------------------------

TEST_F(SlabRebarSampleTest, WallEndForcesAreTheWallTableAcrossTheCut) {
    SelectLoad(1, kDL);
    const std::vector<SampleFile::Wall> walls = m_file.Walls(kDL);
    ASSERT_EQ(walls.size(), 2u);
    for (double width : {1.0, 2.0}) {
        SCOPED_TRACE(width);
        CForceEngine e(m_model.get());
        e.m_dSWallWidth = width;
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabWall), 1);
        ASSERT_EQ(e.m_arrSWall.GetSize(), 4);
        for (INT_PTR i = 0; i < 4; ++i) {
            const SampleFile::Wall& w = walls[static_cast<size_t>(i / 2)];
            const T_PVX_SWALL_D& r = e.m_arrSWall[i];
            const int end = static_cast<int>(i % 2);
            SCOPED_TRACE(i);
            EXPECT_EQ(r.nWallKey, w.key);
            EXPECT_EQ(r.nEnd, end);
            // The cut: half the width on either side of the end node, square to the wall, the
            // first half turned counter-clockwise from the wall's direction at that end.
            const double ex = end ? w.x1 : w.x0, ey = end ? w.y1 : w.y0;
            const double len = std::hypot(w.x1 - w.x0, w.y1 - w.y0);
            const double ux = (end ? -1 : 1) * (w.x1 - w.x0) / len, uy = (end ? -1 : 1) * (w.y1 - w.y0) / len;
            EXPECT_NEAR(r.dCut1[0], ex - uy * width / 2, 1e-9);
            EXPECT_NEAR(r.dCut1[1], ey + ux * width / 2, 1e-9);
            EXPECT_NEAR(r.dCut2[0], ex + uy * width / 2, 1e-9);
            EXPECT_NEAR(r.dCut2[1], ey - ux * width / 2, 1e-9);
            // The design values: the table's forces per metre over the cut, the reinforcement
            // for that moment |M| / (0.9 fy h0) with fy = 360 N/mm2.
            EXPECT_EQ(r.bDesigned, 1);
            EXPECT_NEAR(r.dMoment, w.m[end] * width, 1e-9);
            EXPECT_NEAR(r.dShear, w.v[end] * width, 1e-9);
            EXPECT_NEAR(r.dRebar, std::fabs(w.m[end] * width) * 1e6 / (0.9 * 360.0 * w.h0), 1e-9);
        }
    }
}

TEST_F(SlabRebarSampleTest, SlabWallPageValueChoosesTheNumber) {
    SelectLoad(1, kDL);
    const std::vector<SampleFile::Wall> walls = m_file.Walls(kDL);
    ASSERT_EQ(walls.size(), 2u);
    const SampleFile::Wall& w = walls[0];
    struct Row {
        const char* label;
        int comp;
        double firstEnd;  // the number of the first wall's first end, width 1
    } const rows[] = {
        {"moment", 0, w.m[0]},
        {"shear", 1, w.v[0]},
        {"rebar", 2, std::fabs(w.m[0]) * 1e6 / (0.9 * 360.0 * w.h0)},
        {"no such value: no number", 3, 0.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CForceEngine e(m_model.get());
        e.m_nSWallComp = r.comp;
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabWall), 1);
        const std::vector<Number> n = Queued([&] { e.OutputSWallNumbers(&m_dc); });
        if (r.comp == 3) {
            EXPECT_TRUE(n.empty());
            continue;
        }
        ASSERT_EQ(n.size(), 4u);
        EXPECT_EQ(n[0].kind, 6);
        EXPECT_NEAR(n[0].value, r.firstEnd, 1e-9);
        EXPECT_NEAR(n[0].anchor[0], w.x0, 1e-9);
        EXPECT_NEAR(n[0].anchor[1], w.y0, 1e-9);
    }
}

TEST_F(SlabRebarSampleTest, SlabWallLegendRangesTheWrittenValues) {
    // The wall-end values read from SWDF by hand, cut width 1: moment m, shear v and
    // |m| x 10^6 / (0.9 x 360 x h0); the extremes over the four ends in wall order, the first on
    // a tie, named by their wall.
    constexpr UINT kWX = 3;
    struct Row {
        const char* label;
        UINT load;
        int comp;
    } const rows[] = {
        {"DL moment: every end alike", kDL, 0},
        {"DL shear", kDL, 1},
        {"DL rebar", kDL, 2},
        {"WX moment: opposite signs at the two ends", kWX, 0},
        {"WX shear", kWX, 1},
        {"WX rebar: magnitudes, so alike again", kWX, 2},
        {"no such value: nothing written, nothing ranged", kDL, 3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SelectLoad(1, r.load);
        const std::vector<SampleFile::Wall> walls = m_file.Walls(r.load);
        ASSERT_EQ(walls.size(), 2u);
        double hi = 0.0, lo = 0.0;
        UINT hiKey = 0, loKey = 0;
        bool any = false;
        for (const SampleFile::Wall& w : walls)
            for (int end = 0; end < 2 && r.comp <= 2; ++end) {
                const double v = r.comp == 0   ? w.m[end]
                                 : r.comp == 1 ? w.v[end]
                                               : std::fabs(w.m[end]) * 1e6 / (0.9 * 360.0 * w.h0);
                if (!any || v > hi) hi = v, hiKey = w.key;
                if (!any || v < lo) lo = v, loKey = w.key;
                any = true;
            }
        CForceEngine e(m_model.get());
        e.m_nSWallComp = r.comp;
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabWall), 1);
        EXPECT_NEAR(e.m_dLegendMax, hi, 1e-12);
        EXPECT_NEAR(e.m_dLegendMin, lo, 1e-12);
        EXPECT_EQ(m_model->m_nMaxKey, hiKey);
        EXPECT_EQ(m_model->m_nMinKey, loKey);
        ASSERT_NE(e.m_pContourEngine, nullptr);
        EXPECT_NEAR(e.m_pContourEngine->m_dMaxValue, hi, 1e-12);
        EXPECT_NEAR(e.m_pContourEngine->m_dMinValue, lo, 1e-12);
        // Each written number counts once in the percentages.
        double total = 0.0;
        for (double p : e.m_pContourEngine->m_dPctRankMap) total += p;
        EXPECT_NEAR(total, any ? 100.0 : 0.0, 1e-9);
    }
}

TEST_F(SlabRebarSampleTest, SlabWallBuildsThatShowNothingFalse) {
    SelectLoad(1, kDL);
    const std::vector<SampleFile::Wall> walls = m_file.Walls(kDL);

    // The user's choice without walls means every wall.
    CForceEngine e(m_model.get());
    e.m_bSWallUserKeys = 1;
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabWall), 1);
    EXPECT_EQ(e.m_arrSWall.GetSize(), 4);

    // A rebuild that fails half-way (a chosen member that is not in the project) leaves nothing
    // shown as built: no numbers from the records it had made.
    e.m_arrSWallKey.Add(walls[0].key);
    e.m_arrSWallKey.Add(999999);
    EXPECT_EQ(e.InitEngine(nullptr, PVXMode::kSlabWall), 0);
    EXPECT_EQ(e.m_bSWallBuilt, 0);
    EXPECT_TRUE(Queued([&] { e.OutputSWallNumbers(&m_dc); }).empty());

    // No slab under the cuts: the host gives no design, and the wall ends get no number (rather
    // than a zero force) while their cuts are still drawn.
    CForceEngine w(m_model.get());
    CArray<UINT, UINT> active;
    active.Copy(m_model->m_arrActiveMembKey);
    m_model->m_arrActiveMembKey.RemoveAll();
    for (const SampleFile::Wall& x : walls) m_model->m_arrActiveMembKey.Add(x.key);
    ASSERT_EQ(w.InitEngine(nullptr, PVXMode::kSlabWall), 1);
    m_model->m_arrActiveMembKey.Copy(active);
    ASSERT_EQ(w.m_arrSWall.GetSize(), 4);
    for (INT_PTR i = 0; i < 4; ++i) EXPECT_EQ(w.m_arrSWall[i].bDesigned, 0);
    EXPECT_TRUE(Queued([&] { w.OutputSWallNumbers(&m_dc); }).empty());
    m_dc.Clear();
    w.DrawSWallContour(&m_dc);
    int red = 0;
    for (const GdiRecord& c : m_dc.GetRecords())
        if (c.pen.lopnColor == RGB(255, 0, 0) && (c.op == "LineTo" || c.op == "Polyline")) ++red;
    EXPECT_GE(red, 4) << "one red cut per wall end";
}

}  // namespace

namespace {

TEST_F(SlabRebarSampleTest, PerElementLoopDrawsTheModelAroundTheSlabs) {
    // The per-element loop: beams drawn as members at twice the line width, slab members by their
    // elements (nothing to draw per element), the line width put back; the design envelope draws
    // the plain model instead.
    SelectLoad(1, kDL);
    CForceEngine e(m_model.get());
    e.m_nSRbarUnit = 1;
    m_model->m_nPenFactor = 1;
    int widest = 0;
    m_dc.Clear();
    e.DrawSRbarContour(&m_dc);
    for (const GdiRecord& r : m_dc.GetRecords())
        if (r.op == "LineTo" || r.op == "Polyline" || r.op == "Polygon") widest = std::max(widest, static_cast<int>(r.pen.lopnWidth.x));
    // A beam drawn alone at twice the width gives the widest line.
    UINT beam = 0;
    m_file.Each("SELECT key FROM PMEMB WHERE type = 201 LIMIT 1",
                [&](sqlite3_stmt* st) { beam = static_cast<UINT>(sqlite3_column_int64(st, 0)); });
    auto widestOf = [&](int factor) {
        CRecordDC dc;
        dc.Create();
        m_model->m_nPenFactor = factor;
        m_model->PVXDrawMember(&dc, beam);
        m_model->m_nPenFactor = 1;
        int w = 0;
        for (const GdiRecord& r : dc.GetRecords()) w = std::max(w, static_cast<int>(r.pen.lopnWidth.x));
        return w;
    };
    ASSERT_GT(widestOf(2), widestOf(1));
    EXPECT_EQ(widest, widestOf(2)) << "the beams";
    EXPECT_EQ(m_model->m_nPenFactor, 1);

    SelectLoad(12, kEnvelope);
    m_dc.Clear();
    e.DrawSRbarContour(&m_dc);
    EXPECT_GT(m_dc.GetRecords().size(), 0u) << "the plain model";
    EXPECT_EQ(m_model->m_nPenFactor, 1);
}

}  // namespace
