// The deformation engine on the sample project, against the database read independently with
// SQLite: the legend's extremes and the nodes named by the legend are the database's values for
// the chosen component, load and mode; the settlement extremes those of the settlement points.
#include "tests/module/deform/DeformTestSupport.h"

#include <sqlite3.h>

#include <cfloat>
#include <cstring>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/gdi/RasterBackend.h"
#include "platform/ui/CUiDriver.h"

namespace deformtest {

namespace {

// The sample's file read with SQLite alone.
class SampleFile {
public:
    explicit SampleFile(const std::string& path) { sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr); }
    ~SampleFile() { sqlite3_close(m_db); }
    SampleFile(const SampleFile&) = delete;
    SampleFile& operator=(const SampleFile&) = delete;
    bool Ok() const { return m_db != nullptr; }

    // Node key -> the six values of a result table's rows of one load (or mode).
    std::map<UINT, std::vector<double>> Rows(const char* table, UINT load) const {
        std::map<UINT, std::vector<double>> out;
        const std::string sql = std::string("SELECT id & 4294967295, DX, DY, DZ, RX, RY, RZ FROM ") + table +
                                " WHERE (id >> 32) = " + std::to_string(load);
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            std::vector<double> v(6);
            for (int i = 0; i < 6; ++i) v[i] = sqlite3_column_double(st, i + 1);
            out[static_cast<UINT>(sqlite3_column_int64(st, 0))] = v;
        }
        sqlite3_finalize(st);
        return out;
    }
    // The first load group of type 2 and every point's (value of that group + constant).
    std::map<UINT, double> Settlements() const {
        std::map<UINT, double> out;
        sqlite3_stmt* st = nullptr;
        long long group = -1;
        if (sqlite3_prepare_v2(m_db, "SELECT key FROM LDGP WHERE type = 2 ORDER BY seq LIMIT 1", -1, &st, nullptr) ==
                SQLITE_OK &&
            sqlite3_step(st) == SQLITE_ROW)
            group = sqlite3_column_int64(st, 0);
        sqlite3_finalize(st);
        if (sqlite3_prepare_v2(m_db, "SELECT key, constant, groups, \"values\" FROM PCDSINK", -1, &st, nullptr) != SQLITE_OK)
            return out;
        while (sqlite3_step(st) == SQLITE_ROW) {
            const int ng = sqlite3_column_bytes(st, 2) / 4, nv = sqlite3_column_bytes(st, 3) / 8;
            std::vector<uint32_t> g(static_cast<size_t>(ng));
            std::vector<double> v(static_cast<size_t>(nv));
            if (ng) std::memcpy(g.data(), sqlite3_column_blob(st, 2), 4 * static_cast<size_t>(ng));
            if (nv) std::memcpy(v.data(), sqlite3_column_blob(st, 3), 8 * static_cast<size_t>(nv));
            for (int i = 0; i < ng && i < nv; ++i)
                if (g[static_cast<size_t>(i)] == group)
                    out[static_cast<UINT>(sqlite3_column_int64(st, 0))] = v[static_cast<size_t>(i)] + sqlite3_column_double(st, 1);
        }
        sqlite3_finalize(st);
        return out;
    }

private:
    sqlite3* m_db = nullptr;
};

double Component(const std::vector<double>& v, int sel) {
    switch (sel) {
    case 0: case 1: case 2: return v[static_cast<size_t>(sel)];
    case 3: return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    case 4: case 5: case 6: return v[static_cast<size_t>(sel - 1)];  // RX, RY, RZ are columns 3..5
    case 7: return std::sqrt(v[0] * v[0] + v[1] * v[1]);
    default: return 0.0;
    }
}

// Load case keys of the sample project: DL 1, LL 2, WX 3.
constexpr UINT kSampleDL = 1, kSampleLL = 2, kSampleWX = 3;

class DeformSampleTest : public RenderFixture {
protected:
    void SetUp() override {
        ResetBarState();
        m_path = SampleProjectPath();
        ASSERT_TRUE(OpenFile(m_path)) << "the sample project could not be opened or made";
        M().m_pDeformEngine = new CDeformEngine(&M());
    }
    void TearDown() override {
        ResetBarState();
        RenderFixture::TearDown();
    }
    std::string m_path;
};

TEST_F(DeformSampleTest, LegendExtremesAndNodesAreTheDatabaseValues) {
    SampleFile file(m_path);
    ASSERT_TRUE(file.Ok());
    const struct {
        const char* label;
        int mode;
        UINT loadType, load;  // load type 1 static case; mode shapes: the mode number
        const char* table;
        int sel;
    } rows[] = {
        {"DL, DZ", PVXMode::kDispContour, PLOAD_STATIC, kSampleDL, "DISP", CDeformEngine::COMP_DZ},
        {"DL, total", PVXMode::kDeformedShape, PLOAD_STATIC, kSampleDL, "DISP", CDeformEngine::COMP_TOTAL},
        {"WX, DX", PVXMode::kDispContour, PLOAD_STATIC, kSampleWX, "DISP", CDeformEngine::COMP_DX},
        {"LL, RY", PVXMode::kDispContour, PLOAD_STATIC, kSampleLL, "DISP", CDeformEngine::COMP_RY},
        {"mode 2, DXY", PVXMode::kModeShape, PLOAD_STATIC, 2, "MODE", CDeformEngine::COMP_DXY},
        {"mode 4, DY", PVXMode::kModeShape, PLOAD_STATIC, 4, "MODE", CDeformEngine::COMP_DY},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        const auto db = file.Rows(r.table, r.load);
        ASSERT_FALSE(db.empty());
        double hi = -DBL_MAX, lo = DBL_MAX;
        for (const auto& [key, v] : db) {
            hi = std::max(hi, Component(v, r.sel));
            lo = std::min(lo, Component(v, r.sel));
        }
        I_PVXModel& m = M();
        m.m_nDisplayMode = r.mode;
        m.m_bLoadSelected = 1;
        m.m_nLoadType = r.loadType;
        m.m_nLoadKey = r.load;
        m.m_nLoadStep = 0;
        CDeformEngine& e = *m.m_pDeformEngine;
        e.m_nComponent = r.sel;
        ASSERT_EQ(e.InitEngine(), 1);
        EXPECT_DOUBLE_EQ(e.m_dLegendMax, hi);
        EXPECT_DOUBLE_EQ(e.m_dLegendMin, lo);
        EXPECT_DOUBLE_EQ(e.m_pContourEngine->m_dMaxValue, hi);
        EXPECT_DOUBLE_EQ(e.m_pContourEngine->m_dMinValue, lo);
        // The nodes the legend names hold the extremes in the database.
        ASSERT_TRUE(db.count(m.m_nMaxKey)) << m.m_nMaxKey;
        ASSERT_TRUE(db.count(m.m_nMinKey)) << m.m_nMinKey;
        EXPECT_DOUBLE_EQ(Component(db.at(m.m_nMaxKey), r.sel), hi);
        EXPECT_DOUBLE_EQ(Component(db.at(m.m_nMinKey), r.sel), lo);
        CString strMax, strMin;
        m.m_LegendEngine.GetMnMxValKeyString(strMax, strMin);
        EXPECT_NE(std::string(strMax).find(std::to_string(m.m_nMaxKey)), std::string::npos) << strMax;
        EXPECT_NE(std::string(strMin).find(std::to_string(m.m_nMinKey)), std::string::npos) << strMin;
        // Every node of the database with a record is in the engine's list once.
        EXPECT_EQ(static_cast<size_t>(e.m_arrNodeKey.GetSize()), db.size());
        std::set<UINT> seen(e.m_arrNodeKey.GetData(), e.m_arrNodeKey.GetData() + e.m_arrNodeKey.GetSize());
        EXPECT_EQ(seen.size(), db.size());
        // The drawing scale puts the governing value at a twentieth of the largest span
        // (24 m raft + 6 m to the annex: 30 m along X).
        const double governing = std::fabs(hi) >= std::fabs(lo) ? hi : lo;
        if (std::fabs(governing) > 1e-15) {
            EXPECT_NEAR(e.GetScale() * std::fabs(governing), 30.0 / 20.0, 1e-9);
        }
    }
}

TEST_F(DeformSampleTest, SettlementExtremesAreThoseOfTheSettlementPoints) {
    SampleFile file(m_path);
    ASSERT_TRUE(file.Ok());
    const auto db = file.Settlements();
    ASSERT_FALSE(db.empty());
    double hi = -DBL_MAX, lo = DBL_MAX;
    for (const auto& [key, v] : db) {
        hi = std::max(hi, v);
        lo = std::min(lo, v);
    }
    M().m_nDisplayMode = PVXMode::kSettlement;
    CDeformEngine& e = *M().m_pDeformEngine;
    ASSERT_EQ(e.InitEngine(), 1);
    EXPECT_EQ(static_cast<size_t>(e.m_arrSettleKey.GetSize()), db.size());
    EXPECT_DOUBLE_EQ(e.m_dLegendMax, hi);
    EXPECT_DOUBLE_EQ(e.m_dLegendMin, lo);
    EXPECT_DOUBLE_EQ(db.at(M().m_nMaxKey), hi);
    EXPECT_DOUBLE_EQ(db.at(M().m_nMinKey), lo);
}

// The colour of each pixel draw(dc) paints on a black kWidth x kHeight picture, with Escape
// pressed after escapeAfter polls (-1: never).
std::vector<uint32_t> Painted(I_PVXCtrl& ctrl, int kWidth, int kHeight, int escapeAfter,
                              const std::function<void(CDC&)>& draw) {
    CDC dc;
    EXPECT_TRUE(dc.CreateCompatibleDC(nullptr));
    CBitmap bm;
    EXPECT_TRUE(bm.CreateCompatibleBitmap(nullptr, kWidth, kHeight));
    CBitmap* old = dc.SelectObject(&bm);
    dc.FillSolidRect(0, 0, kWidth, kHeight, RGB(0, 0, 0));
    ctrl.ResetEscKeyPress();
    CUiDriver::Get().PressEscapeAfterPolls(escapeAfter);
    draw(dc);
    CUiDriver::Get().PressEscapeAfterPolls(-1);
    ctrl.ResetEscKeyPress();
    std::vector<uint32_t> bits(static_cast<size_t>(kWidth * kHeight));
    bm.GetBitmapBits(static_cast<DWORD>(bits.size() * sizeof(uint32_t)), bits.data());
    dc.SelectObject(old);
    for (uint32_t& b : bits) b &= 0xffffff;  // the colour, not the unused byte
    return bits;
}

// A member's undeformed outline drawn at once in copy mode (each edge line once, an edge its
// faces share drawn both ways in one) is its faces' edges drawn one by one: a merge pen on black
// paints what a copy pen paints and takes the edge-by-edge way. Whole, and up to an Escape.
TEST_F(DeformSampleTest, OutlineAtOnceIsItsFacesEdgesOneByOne) {
    I_PVXModel& m = M();
    UINT raft = 0;
    for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize() && !raft; ++i) {
        T_PMEMB_D memb;
        if (m.GetAttrCtrl()->GetMemb(m.m_arrAllMembKey[i], memb) && memb.type == 301) raft = m.m_arrAllMembKey[i];
    }
    ASSERT_NE(raft, 0u);
    Ctrl()->SetStandardView(GViewCamera::VIEW_ISO);
    const struct {
        const char* label;
        int escapeAfter;  // polls before Escape; -1 none
        int result;
    } rows[] = {{"whole", -1, 1}, {"Escape at the first face", 0, -1}, {"Escape halfway", 100, -1},
                {"Escape at the last face", 191, -1}};
    auto picture = [&](int rop, int escapeAfter, int& result) {
        return Painted(*Ctrl(), kWidth, kHeight, escapeAfter, [&](CDC& dc) {
            dc.SetROP2(rop);
            result = m.PVXDrawUndeformedMember(&dc, raft);
        });
    };
    long whole = 0;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        int atOnce = 0, oneByOne = 0;
        const std::vector<uint32_t> a = picture(R2_COPYPEN, row.escapeAfter, atOnce);
        const std::vector<uint32_t> b = picture(R2_MERGEPEN, row.escapeAfter, oneByOne);
        EXPECT_GT(m.m_KeptOutline.Size(), 0u) << "the outline from kept faces";
        EXPECT_EQ(atOnce, row.result);
        EXPECT_EQ(oneByOne, row.result);
        long differing = 0, lit = 0;
        for (size_t i = 0; i < a.size(); ++i) {
            differing += (a[i] & 0xffffff) != (b[i] & 0xffffff);  // the colour, not the unused byte
            lit += (b[i] & 0xffffff) != 0;
        }
        EXPECT_EQ(differing, 0) << "of " << lit << " lit";
        if (row.escapeAfter < 0) whole = lit;
        if (row.escapeAfter == 0) {
            EXPECT_EQ(lit, 0);
        }
        if (row.escapeAfter > 0) {
            EXPECT_TRUE(lit > 0 && lit < whole) << lit << " of " << whole;
        }
    }
    EXPECT_GT(whole, 1000);
}

// The contour faces of mode 2 go to the DC in runs; with kept shapes off the DC takes none of a
// run and every polygon and line is drawn on its own. Both must paint the same, whole and up to
// an Escape.
TEST_F(DeformSampleTest, ContourFaceRunsPaintWhatFaceByFaceDrawingPaints) {
    I_PVXModel& m = M();
    m.m_pDispOpt->m_nRenderMode = 3;  // faces with their edges
    m.m_pDispOpt->m_bUndeformedWireFrame = 1;
    Ctrl()->SetStandardView(GViewCamera::VIEW_ISO);
    m.m_nDisplayMode = PVXMode::kDispContour;
    m.m_bContour = 1;
    m.m_bLoadSelected = 1;
    m.m_nLoadType = PLOAD_STATIC;
    m.m_nLoadKey = kSampleDL;
    m.m_nLoadStep = 0;
    m.m_pDeformEngine->m_nComponent = CDeformEngine::COMP_DZ;
    m.m_pDeformEngine->m_bDeformed = 1;
    ASSERT_EQ(m.m_pDeformEngine->InitEngine(), 1);
    m.InitDeformed(0);
    auto picture = [&](bool oneByOne, int escapeAfter) {
        RasterBackend::KeepShapes(!oneByOne);
        std::vector<uint32_t> bits = Painted(*Ctrl(), kWidth, kHeight, escapeAfter, [&](CDC& dc) { m._PVXRender(&dc); });
        RasterBackend::KeepShapes(true);
        return bits;
    };
    long before = 0;
    // Escape before anything, twice among the raft's faces (after the other members), never.
    for (const int escapeAfter : {0, 1600, 1700, -1}) {
        SCOPED_TRACE("Escape after " + std::to_string(escapeAfter) + " polls");
        const std::vector<uint32_t> runs = picture(false, escapeAfter);
        EXPECT_TRUE(runs == picture(true, escapeAfter)) << "the runs painted another picture";
        const long lit = static_cast<long>(std::count_if(runs.begin(), runs.end(), [](uint32_t b) { return b != 0; }));
        if (escapeAfter != 0) {
            EXPECT_GT(lit, before) << "what was drawn before the Escape is on the picture";
        }
        before = lit;
    }
    EXPECT_GT(before, 10000);
}

}  // namespace

// The raft's faces are kept as flat arrays from frame to frame (the deformed ones by the engine,
// the undeformed ones and the undeformed outline by the model). Each row draws mode 2 under a
// first state, then under a second one with what was kept; that picture must be the picture of
// the second state drawn with nothing kept.
TEST_F(DeformSampleTest, KeptFacesFollowEveryChangeOfWhatTheyWereBuiltFrom) {
    struct State {
        UINT load = kSampleDL;
        int comp = CDeformEngine::COMP_DZ;
        double scale = 1.0;
        int view = GViewCamera::VIEW_ISO;
        int shrink = 0;
        double shrinkFactor = 0.8;
        int wire = 0, planeCull = 1, deformed = 1;
        double nodeLift = 0.0;  // m added to the z of one raft node in the project
        bool rebuild = true;     // the engine's lists built again before drawing
        double recordLift = 0.0; // mm added to DZ of that node's record in the engine's list
    };
    const State base;
    auto with = [&](auto change) {
        State s = base;
        change(s);
        return s;
    };
    const struct {
        const char* label;
        State first, second;
    } rows[] = {
        {"load case DL then LL", base, with([](State& s) { s.load = kSampleLL; })},
        {"component DZ then DX", base, with([](State& s) { s.comp = CDeformEngine::COMP_DX; })},
        {"deformation scale doubled", base, with([](State& s) { s.scale = 2.0; })},
        {"view turned", base, with([](State& s) { s.view = GViewCamera::VIEW_FRONT; })},
        {"undeformed contour, view turned", with([](State& s) { s.deformed = 0; }),
         with([](State& s) { s.deformed = 0, s.view = GViewCamera::VIEW_RIGHT; })},
        {"deformed then undeformed", base, with([](State& s) { s.deformed = 0; })},
        {"shrink on", base, with([](State& s) { s.shrink = 1; })},
        {"shrink factor changed", with([](State& s) { s.shrink = 1; }),
         with([](State& s) { s.shrink = 1, s.shrinkFactor = 0.5; })},
        {"wire frame", base, with([](State& s) { s.wire = 1; })},
        {"plane culling off", base, with([](State& s) { s.planeCull = 0; })},
        {"raft node moved in the project", base, with([](State& s) { s.nodeLift = 0.5; })},
        {"nothing changed", base, base},
        {"redrawn without building the lists again", base, with([](State& s) { s.rebuild = false; })},
        {"a record of the engine's list changed", base,
         with([](State& s) { s.rebuild = false, s.recordLift = 5.0; })},
    };

    I_PVXModel& m = M();
    CDataBase* db = m_doc.GetMDBCtrl()->GetDBPost();
    // A node of the raft (member type 301) and its stored record.
    UINT raftNode = 0;
    for (INT_PTR i = 0; i < m.m_arrAllMembKey.GetSize() && !raftNode; ++i) {
        T_PMEMB_D memb;
        T_PELEM_D elem;
        if (m.GetAttrCtrl()->GetMemb(m.m_arrAllMembKey[i], memb) && memb.type == 301 && memb.aElem.GetSize() > 0 &&
            m.GetAttrCtrl()->GetElem(memb.aElem[0], elem))
            raftNode = elem.node[2];
    }
    ASSERT_NE(raftNode, 0u);
    const T_PNODE_D* stored = db->Table<DBT_PNODE>().Find(raftNode);
    ASSERT_NE(stored, nullptr);
    const T_PNODE_D node0 = *stored;

    auto apply = [&](const State& s) {
        const T_PNODE_D* now = db->Table<DBT_PNODE>().Find(raftNode);
        if (now && now->z != node0.z + s.nodeLift) {
            T_PNODE_D n = node0;
            n.z += s.nodeLift;
            db->Table<DBT_PNODE>().Set(raftNode, n);
        }
        T_PVX_DOPT_D& o = *m.m_pDispOpt;
        o.m_bShrink = s.shrink;
        o.m_dShrinkFactor = s.shrinkFactor;
        o.m_bWireFrame = s.wire;
        o.m_bPlaneCulling = s.planeCull;
        o.m_bUndeformedWireFrame = 1;
        o.m_nRenderMode = 3;  // faces with their edges
        Ctrl()->SetStandardView(s.view);
        m.m_nDisplayMode = PVXMode::kDispContour;
        m.m_bContour = 1;
        m.m_bLoadSelected = 1;
        m.m_nLoadType = PLOAD_STATIC;
        m.m_nLoadKey = s.load;
        m.m_nLoadStep = 0;
        CDeformEngine& e = *m.m_pDeformEngine;
        e.m_nComponent = s.comp;
        e.m_bDeformed = s.deformed;
        if (s.rebuild) {
            EXPECT_EQ(e.InitEngine(), 1);
            e.m_dUserScale = s.scale;
            m.InitDeformed(0);
        }
        if (s.recordLift != 0.0) {
            T_DISP_D d;
            ASSERT_TRUE(e.DispRecords().Lookup(raftNode, d));
            d.DZ += s.recordLift;
            e.SetDispRecord(raftNode, d);
        }
    };
    auto picture = [&]() {
        CRecordDC dc;
        EXPECT_TRUE(dc.Create());
        m._PVXRender(&dc);
        std::string out;
        for (const GdiRecord& r : dc.GetRecords()) {
            out += r.op + " b" + std::to_string(r.brush.lbColor) + " p" + std::to_string(r.pen.lopnColor) + " from (" +
                   std::to_string(r.curPos.x) + "," + std::to_string(r.curPos.y) + ")";
            for (int a : r.args) out += " " + std::to_string(a);
            for (const POINT& pt : r.points) out += " (" + std::to_string(pt.x) + "," + std::to_string(pt.y) + ")";
            out += "\n";
        }
        return out;
    };
    auto forget = [&]() {
        m.m_KeptOutline.Forget();
        m.m_KeptShapes.Forget();
        m.m_pDeformEngine->m_KeptDeformed.Forget();
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        forget();
        apply(row.first);
        picture();
        apply(row.second);
        const std::string kept = picture();
        EXPECT_GT(m.m_KeptOutline.Size() + m.m_KeptShapes.Size() + m.m_pDeformEngine->m_KeptDeformed.Size(), 0u);
        forget();
        const std::string fresh = picture();
        EXPECT_GT(fresh.size(), 1000u);
        EXPECT_TRUE(kept == fresh) << "the kept faces drew another picture";
    }
    apply(base);
}

}  // namespace deformtest
