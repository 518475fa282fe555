// The reaction engine on the generated sample project, checked against the project file read
// directly with SQLite (not through the host's tables): reaction values and extremes of every
// component, the legend's extreme lines, the pressure extremes of the raft and of the strip
// footing, and the drawn vertical reactions adding up to the load the sample applies.
#include <sqlite3.h>
#include <sys/wait.h>

#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

#include "module/engines/CPlotReactionEng.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/BmpFile.h"
#include "tests/module/ModuleTestSupport.h"
#include "tests/module/model_render/RenderTestSupport.h"
#include "tests/module/reaction/ReactionTestSupport.h"

namespace reactest {

namespace {

constexpr UINT kDL = 1, kLL = 2;

// The project file as SQLite sees it.
class SampleFile {
public:
    explicit SampleFile(const std::string& path) { sqlite3_open_v2(path.c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr); }
    ~SampleFile() { sqlite3_close(m_db); }
    SampleFile(const SampleFile&) = delete;
    SampleFile& operator=(const SampleFile&) = delete;

    // Keys of the supports shown by the reaction page (type 1).
    std::set<UINT> Supports() const {
        std::set<UINT> s;
        Each("SELECT key FROM PRTND WHERE type = 1", [&](sqlite3_stmt* st) { s.insert(Key(st, 0)); });
        return s;
    }
    // Reactions of a load case by node.
    std::map<UINT, T_REAC_D> Reactions(UINT lc) const {
        std::map<UINT, T_REAC_D> m;
        const std::string sql = "SELECT id, FX, FY, FZ, MX, MY, MZ FROM REAC WHERE (id >> 32) = " + std::to_string(lc);
        Each(sql.c_str(), [&](sqlite3_stmt* st) {
            T_REAC_D r{sqlite3_column_double(st, 1), sqlite3_column_double(st, 2), sqlite3_column_double(st, 3),
                       sqlite3_column_double(st, 4), sqlite3_column_double(st, 5), sqlite3_column_double(st, 6)};
            m[static_cast<UINT>(sqlite3_column_int64(st, 0) & 0xffffffffLL)] = r;
        });
        return m;
    }
    // Spring pressure values of the elements of one type on springs, for a load case: the first
    // n doubles of each element's row.
    std::vector<double> Pressures(UINT lc, int type, int n) const {
        std::set<UINT> elems;
        const std::string sqlE = "SELECT PELEM.key FROM PELEM JOIN PESPR ON PESPR.key = PELEM.key WHERE PELEM.type = " +
                                 std::to_string(type);
        Each(sqlE.c_str(), [&](sqlite3_stmt* st) { elems.insert(Key(st, 0)); });
        std::vector<double> v;
        const std::string sql = "SELECT id, d FROM STWS WHERE (id >> 32) = " + std::to_string(lc);
        Each(sql.c_str(), [&](sqlite3_stmt* st) {
            if (!elems.count(static_cast<UINT>(sqlite3_column_int64(st, 0) & 0xffffffffLL))) return;
            double d[8];
            std::memcpy(d, sqlite3_column_blob(st, 1), sizeof(d));
            v.insert(v.end(), d, d + n);
        });
        return v;
    }

private:
    static UINT Key(sqlite3_stmt* st, int col) { return static_cast<UINT>(sqlite3_column_int64(st, col)); }
    template <class F>
    void Each(const char* sql, F f) const {
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr), SQLITE_OK) << sql << ": " << sqlite3_errmsg(m_db);
        while (sqlite3_step(st) == SQLITE_ROW) f(st);
        sqlite3_finalize(st);
    }
    sqlite3* m_db = nullptr;
};

double Component(int c, const T_REAC_D& r) {
    switch (c) {
    case 0: return r.FX;
    case 1: return r.FY;
    case 2: return r.FZ;
    case 3: return std::sqrt(r.FX * r.FX + r.FY * r.FY + r.FZ * r.FZ);
    case 4: return r.MX;
    case 5: return r.MY;
    case 6: return r.MZ;
    default: return std::sqrt(r.MX * r.MX + r.MY * r.MY + r.MZ * r.MZ);
    }
}

}  // namespace

class ReactionSample : public RenderFixture {
protected:
    void SetUp() override {
        m_path = SampleProjectPath();
        ASSERT_TRUE(OpenFile(m_path)) << "the sample project could not be opened or made";
        M().m_bLoadSelected = 1;
        M().m_nLoadType = 1;
        M().m_nLoadKey = kDL;
        M().m_nLoadStep = 0;
        M().m_pDispOpt->m_Number.m_nDecimals = 6;
        M().m_pReactionEngine = new CReactionEngine(&M());
    }
    CReactionEngine& E() { return *M().m_pReactionEngine; }
    int Build(int kind, int comp, int memb = 0, UINT lc = kDL) {
        M().m_nLoadKey = lc;
        E().m_nDataKind = kind;
        E().m_nComponent = comp;
        E().m_nMembKind = memb;
        return E().InitEngine(nullptr, -1);
    }
    std::string m_path;
};

TEST_F(ReactionSample, ReactionsAndLegendExtremesEqualTheProjectFile) {
    SampleFile file(m_path);
    const std::set<UINT> supports = file.Supports();
    ASSERT_FALSE(supports.empty());
    for (UINT lc : {kDL, kLL}) {
        const auto reac = file.Reactions(lc);
        for (int c = 0; c < 8; ++c) {
            SCOPED_TRACE(testing::Message() << "load " << lc << ", component " << c);
            // From the file: the supports whose value (resultants: whose components) are not all 0.
            double dMax = -DBL_MAX, dMin = DBL_MAX;
            size_t n = 0;
            for (const auto& [node, r] : reac) {
                if (!supports.count(node)) continue;
                const bool bZero = c == 3 ? (r.FX == 0 && r.FY == 0 && r.FZ == 0)
                                 : c == 7 ? (r.MX == 0 && r.MY == 0 && r.MZ == 0)
                                          : Component(c, r) == 0.0;
                if (bZero) continue;
                ++n;
                dMax = std::max(dMax, Component(c, r));
                dMin = std::min(dMin, Component(c, r));
            }
            const int ready = Build(CReactionEngine::KIND_REACTION, c, 0, lc);
            ASSERT_EQ(ready, n > 0 ? 1 : 0);
            EXPECT_EQ(static_cast<size_t>(E().m_arrNodeKey.GetSize()), n);
            if (!n) continue;
            for (INT_PTR i = 0; i < E().m_arrNodeKey.GetSize(); ++i) {
                T_REAC_D r;
                ASSERT_EQ(E().GetReacData(E().m_arrNodeKey[i], r), 1);
                EXPECT_DOUBLE_EQ(E().CalcReacValue(c, r), Component(c, reac.at(E().m_arrNodeKey[i])));
            }
            EXPECT_DOUBLE_EQ(E().m_dMaxValue, dMax);
            EXPECT_DOUBLE_EQ(E().m_dMinValue, dMin);
            // The legend's lines show those values.
            char buf[64];
            CString s;
            M().m_LegendEngine.GetReacMinMaxString(s, 0, 6);
            M().m_LegendEngine.GetTextReaction(dMax, buf);
            EXPECT_NE(std::string(s.GetString()).find(buf), std::string::npos) << s.GetString();
            M().m_LegendEngine.GetReacMinMaxString(s, 1, 6);
            M().m_LegendEngine.GetTextReaction(dMin, buf);
            EXPECT_NE(std::string(s.GetString()).find(buf), std::string::npos) << s.GetString();
        }
    }
}

TEST_F(ReactionSample, DrawnVerticalReactionsAddUpToTheAppliedLoad) {
    // The loads the sample applies, by hand (see the sample's description):
    //  DL: floors 5 + 5 + 4 kN/m2 and the raft 25 kN/m2 over 24 x 18 m = 432 m2, three wall panels
    //      of 25 x 0.25 x 6 x 3.6 = 135 kN, the annex canopy 9 kN/m and tie beam 3.75 kN/m over
    //      12 m, the strip footing's wall 10 kN/m and own weight 15 kN/m over 24 m and its two
    //      piers of 80 kN: 14 x 432 + 25 x 432 + 405 + 108 + 45 + 600 + 160 = 18166 kN.
    //  LL: (2 + 2 + 0.5 + 2) x 432 + 3 x 12 + 5 x 24 = 2964 kN.
    //  The balcony beam adds its line load over its developed length: an arc of rise 1.5 m on a
    //  6 m chord has radius (3^2 + 1.5^2) / 3 = 3.75 m and length 2 x 3.75 x asin(3 / 3.75);
    //  DL 25 x 0.3 x 0.6 + 1.5 x 5 = 12 kN/m, LL 1.5 x 2 = 3 kN/m.
    const double balcony = 2.0 * 3.75 * std::asin(3.0 / 3.75);
    struct Row {
        UINT lc;
        double total;
    } rows[] = {{kDL, 18166.0 + 12.0 * balcony}, {kLL, 2964.0 + 3.0 * balcony}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.lc);
        ASSERT_EQ(Build(CReactionEngine::KIND_REACTION, 2, 0, r.lc), 1);
        M().m_nDisplayMode = PVXMode::kReaction;
        CRecordDC dc;
        dc.Create();
        E().BeginPlotEng(&dc);
        ASSERT_EQ(E().DrawReactionValueNew(), 1);
        ASSERT_EQ(E().GetPlotEngine()->OutputNumbers(PVXMode::kReaction), 1);
        E().EndPlotEng();
        double sum = 0.0;
        size_t n = 0;
        for (const GdiRecord* t : dc.GetRecords("TextOut")) {
            sum += std::strtod(t->text.c_str(), nullptr);
            ++n;
        }
        EXPECT_EQ(n, static_cast<size_t>(E().m_arrNodeKey.GetSize())) << "every support in the picture";
        EXPECT_NEAR(sum, r.total, 1e-6 * n + 1e-9 * r.total);
    }
}

TEST_F(ReactionSample, PressureExtremesEqualTheProjectFile) {
    SampleFile file(m_path);
    struct Row {
        const char* label;
        int membKind, elemType, values;
    } rows[] = {{"raft", CReactionEngine::MEMB_RAFT, 301, 4}, {"strip footing", CReactionEngine::MEMB_BEAM, 201, 5}};
    for (const Row& r : rows)
        for (UINT lc : {kDL, kLL}) {
            SCOPED_TRACE(testing::Message() << r.label << ", load " << lc);
            const std::vector<double> v = file.Pressures(lc, r.elemType, r.values);
            ASSERT_FALSE(v.empty());
            ASSERT_EQ(Build(CReactionEngine::KIND_CONTOUR, 2, r.membKind, lc), 1);
            EXPECT_DOUBLE_EQ(E().m_dMaxValue, *std::max_element(v.begin(), v.end()));
            EXPECT_DOUBLE_EQ(E().m_dMinValue, *std::min_element(v.begin(), v.end()));
            EXPECT_DOUBLE_EQ(E().m_dLegendMax, E().m_dMaxValue);
            EXPECT_DOUBLE_EQ(E().m_dLegendMin, E().m_dMinValue);
            EXPECT_EQ(static_cast<size_t>(E().m_arrContrElem.GetSize()), v.size() / r.values);
        }
}

namespace {

using moduletest::HostRun;

HostRun RunHost(const std::string& args, const std::string& tag) {
    return moduletest::RunHost(args, "reaction_host_" + tag);
}

// The full-precision value printed on an extremes line ("max TEXT (VALUE) at KIND KEY").
double PrintedValue(const std::string& out, const char* which) {
    const size_t at = out.find(std::string(which) + " ");
    if (at == std::string::npos) return NAN;
    const size_t open = out.find('(', at);
    return open == std::string::npos ? NAN : std::strtod(out.c_str() + open + 1, nullptr);
}

}  // namespace

TEST_F(ReactionSample, HostDrawsModes0And70WithTheProjectsExtremes) {
    SampleFile file(m_path);
    const auto reac = file.Reactions(kDL);
    const std::set<UINT> supports = file.Supports();
    double fzMax = -DBL_MAX, fzMin = DBL_MAX;
    for (const auto& [node, r] : reac)
        if (supports.count(node) && r.FZ != 0.0) {
            fzMax = std::max(fzMax, r.FZ);
            fzMin = std::min(fzMin, r.FZ);
        }
    const std::vector<double> raft = file.Pressures(kDL, 301, 4), strip = file.Pressures(kDL, 201, 5);
    const std::string plain = std::string(PVX_TEST_TMPDIR) + "/reaction_host_plain.bmp";
    ASSERT_EQ(RunHost("--db " + m_path + " render --view iso --size 400x300 --out " + plain, "plain").exitCode, 0);
    std::vector<COLORREF> want, got;
    int w = 0, h = 0;
    ASSERT_TRUE(ReadBmp(plain.c_str(), want, w, h));
    struct Row {
        const char* label;
        std::string args;
        double dMax, dMin;
    } rows[] = {
        {"reactions", "--mode reactions --load DL --component FZ", fzMax, fzMin},
        {"Kriging contour of the reactions", "--mode reactions --load DL --option contour=1", fzMax, fzMin},
        {"raft pressures", "--mode reaction-contour --load DL", *std::max_element(raft.begin(), raft.end()),
         *std::min_element(raft.begin(), raft.end())},
        {"strip footing pressures", "--mode reaction-contour --load DL --option member-kind=1",
         *std::max_element(strip.begin(), strip.end()), *std::min_element(strip.begin(), strip.end())},
    };
    const std::string shown = std::string(PVX_TEST_TMPDIR) + "/reaction_host_shown.bmp";
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const HostRun run = RunHost("--db " + m_path + " render --view iso --size 400x300 --out " + shown + " " + r.args, "shown");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err.find("plain model"), std::string::npos) << run.err;
        EXPECT_DOUBLE_EQ(PrintedValue(run.out, "max"), r.dMax) << run.out;
        EXPECT_DOUBLE_EQ(PrintedValue(run.out, "min"), r.dMin) << run.out;
        ASSERT_TRUE(ReadBmp(shown.c_str(), got, w, h));
        EXPECT_NE(got, want) << "the result is drawn over the model";
    }
    // A load without spring pressures is refused with what the project lacks.
    const HostRun wx = RunHost("--db " + m_path + " render --out " + shown + " --mode reaction-contour --load WX", "wx");
    EXPECT_EQ(wx.exitCode, 1);
    EXPECT_NE(wx.err.find("spring pressures"), std::string::npos) << wx.err;
}

}  // namespace reactest
