// The slab force display on the generated sample project: the raft's element forces, their
// envelope over the sample's combinations and its member moments against the database read
// directly with SQLite, the numbers drawn against the database's values, and pvxhost drawing
// mode 16 per element and per member.
#include <sqlite3.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "host/db/CDBDoc.h"
#include "module/contour/CContourEngine.h"
#include "module/model/CPVXDrawFuncArray.h"
#include "tests/module/ModuleTestSupport.h"
#include "tests/module/SampleModelFixture.h"
#include "tests/module/slabforce/SlabTestSupport.h"

namespace slabtest {
namespace {

std::string SamplePath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

constexpr UINT kEnvKey = 110;  // the sample's envelope
constexpr UINT kRaftType = 301;

// The project file as SQLite sees it.
class SampleFile {
public:
    SampleFile() { sqlite3_open_v2(SamplePath().c_str(), &m_db, SQLITE_OPEN_READONLY, nullptr); }
    ~SampleFile() { sqlite3_close(m_db); }
    SampleFile(const SampleFile&) = delete;
    SampleFile& operator=(const SampleFile&) = delete;

    // The raft member: the member of type 301.
    UINT RaftMember() {
        UINT k = 0;
        Each("SELECT key FROM PMEMB WHERE type = " + std::to_string(kRaftType), [&](sqlite3_stmt* st) { k = Key(st, 0); });
        return k;
    }
    // The elements of the raft, floor and roof slabs (301, 302, 305).
    std::vector<UINT> SlabElements() {
        std::vector<UINT> out;
        Each("SELECT elems FROM PMEMB WHERE type IN (301, 302, 305)", [&](sqlite3_stmt* st) {
            const UINT* p = static_cast<const UINT*>(sqlite3_column_blob(st, 0));
            out.insert(out.end(), p, p + sqlite3_column_bytes(st, 0) / 4);
        });
        return out;
    }
    // Block b, position p of an element's STRP row under load case lc.
    std::vector<double> Blocks(UINT lc, UINT elem) {
        std::vector<double> v;
        Each("SELECT blk FROM STRP WHERE id = " + std::to_string((static_cast<long long>(lc) << 32) | elem),
             [&](sqlite3_stmt* st) {
                 const double* p = static_cast<const double*>(sqlite3_column_blob(st, 0));
                 v.assign(p, p + 150);
             });
        return v;
    }
    // Linear combinations in table order: (case key, factor) terms.
    std::vector<std::vector<std::pair<UINT, double>>> LinearCombinations() {
        std::vector<std::vector<std::pair<UINT, double>>> out;
        Each("SELECT entries FROM PLCOM WHERE type = 0 ORDER BY seq", [&](sqlite3_stmt* st) {
            const unsigned char* p = static_cast<const unsigned char*>(sqlite3_column_blob(st, 0));
            std::vector<std::pair<UINT, double>> terms;
            for (int t = 0; t < 64; ++t) {
                UINT key;
                double f;
                std::memcpy(&key, p + 16 * t + 4, 4);
                std::memcpy(&f, p + 16 * t + 8, 8);
                if (key == 0) break;
                terms.push_back({key, f});
            }
            out.push_back(terms);
        });
        return out;
    }
    // The rebar angle of a member (sel 0: angle1).
    double RebarAngle(UINT memb) {
        double a = 1e300;
        Each("SELECT sel, angle1, angle2 FROM SDIR WHERE key = " + std::to_string(memb),
             [&](sqlite3_stmt* st) { a = sqlite3_column_int(st, 0) == 0 ? sqlite3_column_double(st, 1) : sqlite3_column_double(st, 2); });
        return a;
    }
    // A member's side moment lists under a load case.
    void Moments(UINT lc, UINT memb, std::vector<double>& pos, std::vector<double>& neg, double& cx, double& cy) {
        Each("SELECT centre_x, centre_y, pos, neg FROM SMNT WHERE id = " + std::to_string((static_cast<long long>(lc) << 32) | memb),
             [&](sqlite3_stmt* st) {
                 cx = sqlite3_column_double(st, 0);
                 cy = sqlite3_column_double(st, 1);
                 auto list = [&](int col, std::vector<double>& v) {
                     const double* p = static_cast<const double*>(sqlite3_column_blob(st, col));
                     v.assign(p, p + sqlite3_column_bytes(st, col) / 8);
                 };
                 list(2, pos);
                 list(3, neg);
             });
    }

private:
    static UINT Key(sqlite3_stmt* st, int col) { return static_cast<UINT>(sqlite3_column_int64(st, col)); }
    template <class F>
    void Each(const std::string& sql, F f) {
        sqlite3_stmt* st = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(m_db, sql.c_str(), -1, &st, nullptr), SQLITE_OK) << sql << ": " << sqlite3_errmsg(m_db);
        while (sqlite3_step(st) == SQLITE_ROW) f(st);
        sqlite3_finalize(st);
    }
    sqlite3* m_db = nullptr;
};

class SlabSampleTest : public SampleModelFixture {
protected:
    void SetUp() override {
        OpenSampleModel();
        if (HasFatalFailure()) return;
        m_view.GetI_PVXCtrl()->SetStandardView(GViewCamera::VIEW_TOP);
        CPVXBarContainerBase::m_nCurrentMode = PVXMode::kSlabForce;
        Select(1, 1, 0);  // DL
    }
    void Select(UINT type, UINT key, int step) {
        SelectModelLoad(*m_model, type, key, step);
        ASSERT_EQ(m_model->m_bResultDataReady, 1);
    }

    SampleFile m_file;
};

TEST_F(SlabSampleTest, EnvelopeIsTheMaximumAndMinimumOverTheCombinations) {
    // The raft's rebar runs along x, so its element forces are the database's; the envelope
    // over the four linear combinations is built here by hand from the STRP rows of the cases.
    const UINT raft = m_file.RaftMember();
    ASSERT_NE(raft, 0u);
    ASSERT_EQ(m_file.RebarAngle(raft), 0.0);
    const auto combs = m_file.LinearCombinations();
    ASSERT_EQ(combs.size(), 4u);
    Select(12, kEnvKey, 1);
    struct Comp {
        int comp, pos;
    } const comps[] = {{0, 20}, {1, 21}, {4, 27}};
    for (const Comp& c : comps) {
        SCOPED_TRACE(c.comp);
        CForceEngine e(m_model.get());
        e.m_nSForcUnit = 1;
        e.m_nSForcComp = c.comp;
        e.m_nSForcLcomCount = static_cast<int>(combs.size());
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabForce), 1);
        for (UINT elem : {1u, 37u, 100u, 192u}) {
            SCOPED_TRACE(elem);
            T_STRP_DL hi, lo;
            ASSERT_TRUE(e.GetSlabForcePos(elem, hi));
            ASSERT_TRUE(e.GetSlabForceNeg(elem, lo));
            for (int b = 0; b < 5; ++b) {
                double mx = -DBL_MAX, mn = DBL_MAX;
                for (const auto& terms : combs) {
                    double v = 0.0;
                    for (const auto& [lc, f] : terms) {
                        const std::vector<double> blk = m_file.Blocks(lc, elem);
                        if (!blk.empty()) v += f * blk[static_cast<size_t>(30 * b + c.pos)];
                    }
                    mx = std::max(mx, v);
                    mn = std::min(mn, v);
                }
                EXPECT_NEAR(hi.blk[b][c.pos], mx, 1e-9 * (1.0 + std::fabs(mx))) << "block " << b;
                EXPECT_NEAR(lo.blk[b][c.pos], mn, 1e-9 * (1.0 + std::fabs(mn))) << "block " << b;
            }
        }
    }
}

// What an engine shows after a build: its lists, legend and extremes, and the drawing of the
// contour with the numbers as calls with their points, texts and colours.
std::string Shown(CForceEngine& e, I_PVXModel& m) {
    std::string out = std::to_string(e.m_bSForcData) + " legend " + std::to_string(e.m_dLegendMin) + " " +
                      std::to_string(e.m_dLegendMax) + " keys " + std::to_string(m.m_nMinKey) + " " +
                      std::to_string(m.m_nMaxKey) + "\n";
    for (INT_PTR i = 0; i < e.m_arrElemKey.GetSize(); ++i) {
        const UINT key = e.m_arrElemKey[i];
        T_STRP_DL r[3];
        const int found[3] = {e.GetSlabForce(key, r[0]), e.GetSlabForcePos(key, r[1]), e.GetSlabForceNeg(key, r[2])};
        out += std::to_string(key);
        for (int k = 0; k < 3; ++k)
            out += found[k] ? " " + std::to_string(r[k].blk[1][20]) + "/" + std::to_string(r[k].blk[2][21]) +
                                  "/" + std::to_string(r[k].blk[3][26])
                            : " -";
        out += "\n";
    }
    CRecordDC dc;
    EXPECT_TRUE(dc.Create());
    e.DrawSForcContour(&dc);
    e.OutputSForcNumbers(&dc);
    return out + moduletest::RecordedCalls(dc);
}

TEST_F(SlabSampleTest, KeptListsFollowEveryChangeOfWhatTheyWereBuiltFrom) {
    // One engine builds under the first state, then under the second; what it shows must be what
    // a new engine shows that builds under the second state alone. The sample's DL and LL give
    // different raft forces, and with nodal averaging the records depend on the component.
    const UINT raft = m_file.RaftMember();
    const UINT elem = 37, untouched = 100;
    struct State {
        UINT loadType = 1, loadKey = 1;
        int step = 0, comp = 0, average = 0, pos = 1, neg = 1, lcomCount = 4;
        bool raftActive = true;
        double rebarAngle = 0.0;
        int modeBefore = -1;  // a display mode the same engine builds just before
    };
    struct Row {
        const char* label;
        State first, second;
    };
    State dl, ll, myy, avgMxx, avgMyy, env, envPos, noRaft, turned;
    ll.loadKey = 2;
    myy.comp = 1;
    avgMxx.average = 1;
    avgMyy.average = 1;
    avgMyy.comp = 1;
    env.loadType = 12;
    env.loadKey = kEnvKey;
    env.step = 1;
    envPos = env;
    envPos.neg = 0;
    noRaft.raftActive = false;
    turned.rebarAngle = 30.0;
    State envFewer = env;
    envFewer.lcomCount = 2;
    State afterPlates = dl, afterRebar = dl;
    afterPlates.modeBefore = PVXMode::kPlateForce;
    afterRebar.modeBefore = PVXMode::kSlabRebar;
    const Row rows[] = {
        {"load case DL then LL", dl, ll},
        {"load case LL then DL", ll, dl},
        {"component Mxx then Myy", dl, myy},
        {"averaged component Mxx then Myy", avgMxx, avgMyy},
        {"averaging switched on", dl, avgMxx},
        {"load case then envelope", dl, env},
        {"envelope then one side only", env, envPos},
        {"envelope over fewer combinations", env, envFewer},
        {"raft no longer active", dl, noRaft},
        {"rebar directions edited in the project", dl, turned},
        {"nothing changed", ll, ll},
        {"plate forces built in between", dl, afterPlates},
        {"slab rebar built in between", dl, afterRebar},
    };
    T_SDIR_D dir0;
    dir0.Initialize();
    CDataBase* db = m_doc.GetMDBCtrl()->GetDBPost();
    if (const T_SDIR_D* p = db->Table<DBT_SDIR>().Find(raft)) dir0 = *p;
    // The sample's corner fields agree at shared nodes, so averaging alone would change nothing:
    // one corner's Mxx of an element is raised under both cases, so that the averaged records
    // depend on the component and on the averaging.
    auto& strp = db->Table<DBT_STRP>();
    for (UINT lc : {1u, 2u}) {
        const T_STRP_DL* p = strp.Find(lc, elem);
        ASSERT_NE(p, nullptr);
        T_STRP_DL r = *p;
        r.blk[1][20] += 100.0;
        strp.Set(lc, elem, r);
    }
    CArray<UINT, UINT> allActive;
    allActive.Copy(m_model->m_arrActiveMembKey);
    auto apply = [&](const State& st, CForceEngine& e) {
        Select(st.loadType, st.loadKey, st.step);
        e.m_nSForcUnit = 1;
        e.m_nSForcComp = st.comp;
        e.m_bPAverageNodal = st.average;
        e.m_bSkipActivePlateList = 1;
        e.m_bSForcPos = st.pos;
        e.m_bSForcNeg = st.neg;
        e.m_nSForcLcomCount = st.lcomCount;
        m_model->m_arrActiveMembKey.Copy(allActive);
        if (!st.raftActive)
            for (INT_PTR i = m_model->m_arrActiveMembKey.GetSize(); i-- > 0;)
                if (m_model->m_arrActiveMembKey[i] == raft) m_model->m_arrActiveMembKey.RemoveAt(i);
        // The direction record is written only when it changes, as an edit of the project would.
        const T_SDIR_D* pDir = db->Table<DBT_SDIR>().Find(raft);
        const double angle = pDir ? (pDir->sel == 0 ? pDir->angle1 : pDir->angle2) : 0.0;
        if (angle != st.rebarAngle) {
            T_SDIR_D d = dir0;
            d.sel = 0;
            d.angle1 = st.rebarAngle;
            db->Table<DBT_SDIR>().Set(raft, d);
        }
        e.m_nSRbarUnit = 1;  // the rebar lists per element, over the same elements
        if (st.modeBefore >= 0) e.InitEngine(nullptr, st.modeBefore);
        return e.InitEngine(nullptr, PVXMode::kSlabForce);
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CForceEngine kept(m_model.get());
        apply(row.first, kept);
        const int keptBuilt = apply(row.second, kept);
        const std::string keptShows = Shown(kept, *m_model);
        CForceEngine fresh(m_model.get());
        EXPECT_EQ(keptBuilt, apply(row.second, fresh));
        EXPECT_EQ(keptShows, Shown(fresh, *m_model));
        // Independently: with the rebar along x and no averaging, a plain load case shows the
        // element's corner Mxx of its STRP row as the project file holds it.
        const State& st = row.second;
        if (st.loadType == 1 && st.raftActive && st.rebarAngle == 0.0 && st.average == 0) {
            T_STRP_DL r;
            ASSERT_TRUE(kept.GetSlabForce(untouched, r));
            const std::vector<double> blk = m_file.Blocks(st.loadKey, untouched);
            ASSERT_FALSE(blk.empty());
            EXPECT_NEAR(r.blk[1][20], blk[30 + 20], 1e-9 * (1.0 + std::fabs(blk[30 + 20])));
        }
        T_STRP_DL r;
        if (!st.raftActive) {
            EXPECT_EQ(kept.GetSlabForce(untouched, r), 0) << "the raft's elements leave the lists";
        }
    }
}

TEST_F(SlabSampleTest, ElementNumbersAreTheDatabasesValues) {
    // Per element, both sides: each face of the raft, the floor and the roof slabs shows the
    // corner Mxy of larger magnitude of its STRP row under DL (simply supported, the floor and
    // roof panels have no corner Mxx).
    CForceEngine e(m_model.get());
    e.m_nSForcUnit = 1;
    e.m_nSForcComp = 2;
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabForce), 1);
    m_model->m_pDispOpt->m_Number.m_nDecimals = 3;
    CRecordDC dc;
    ASSERT_TRUE(dc.Create());
    e.OutputSForcNumbers(&dc);
    std::vector<double> drawn;
    for (const GdiRecord& r : dc.GetRecords())
        if (!r.text.empty()) drawn.push_back(std::strtod(r.text.c_str(), nullptr));
    std::vector<double> expected;
    for (UINT elem : m_file.SlabElements()) {
        const std::vector<double> blk = m_file.Blocks(1, elem);
        ASSERT_FALSE(blk.empty()) << elem;
        double mx = -DBL_MAX, mn = DBL_MAX;
        for (int b = 1; b <= 4; ++b) {
            mx = std::max(mx, blk[static_cast<size_t>(30 * b + 22)]);
            mn = std::min(mn, blk[static_cast<size_t>(30 * b + 22)]);
        }
        expected.push_back(std::fabs(mn) >= std::fabs(mx) ? mn : mx);
    }
    std::sort(drawn.begin(), drawn.end());
    std::sort(expected.begin(), expected.end());
    ASSERT_EQ(expected.size(), 192u + 24u + 12u);
    ASSERT_EQ(drawn.size(), expected.size());
    for (size_t i = 0; i < drawn.size(); ++i) EXPECT_NEAR(drawn[i], expected[i], 5e-4 + 1e-6 * std::fabs(expected[i])) << i;
}

TEST_F(SlabSampleTest, MemberMomentsAreTheDatabasesLists) {
    const UINT raft = m_file.RaftMember();
    std::vector<double> pos, neg;
    double cx = 0.0, cy = 0.0;
    m_file.Moments(1, raft, pos, neg, cx, cy);
    ASSERT_EQ(pos.size(), 12u) << "three per edge of the raft's four edges";
    CForceEngine e(m_model.get());
    e.m_nSForcUnit = 0;
    ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabForce), 1);
    EXPECT_EQ(e.m_dSMembMax, *std::max_element(pos.begin(), pos.end()));
    EXPECT_EQ(e.m_dSMembMin, *std::min_element(neg.begin(), neg.end()));
    auto& queue = m_model->m_pDrawFuncArray->m_OutputSlabNumber;
    queue.Clear();
    e.OutputSForcNumbersMemb(nullptr);
    std::vector<double> kind6, kind7;
    for (POSITION p = queue.GetList().GetHeadPosition(); p;) {
        const auto* r = queue.GetList().GetNext(p);
        (r->m_nKind == 6 ? kind6 : kind7).push_back(r->m_dValue);
    }
    queue.Clear();
    std::vector<double> expected6 = pos;
    expected6.push_back(cx);
    expected6.push_back(cy);
    EXPECT_EQ(kind6, expected6);
    EXPECT_EQ(kind7, neg);
}

TEST_F(SlabSampleTest, MemberLegendRangesTheNumbersWritten) {
    // The raft's SMNT row read by hand: the positive side writes its side moments and the two
    // centre moments, the negative side its side moments. The legend spans those written, names
    // the raft at both ends, and the colour levels of one side run from 0 as per element.
    const UINT raft = m_file.RaftMember();
    ASSERT_NE(raft, 0u);
    struct Row {
        const char* label;
        UINT load;
        int pos, neg;
    } const rows[] = {
        {"DL, both sides", 1, 1, 1},
        {"DL, positive side: the centre moment is its minimum", 1, 1, 0},
        {"DL, negative side", 1, 0, 1},
        {"LL, both sides", 2, 1, 1},
        {"neither side: nothing written, nothing ranged", 1, 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Select(1, r.load, 0);
        std::vector<double> pos, neg;
        double cx = 0.0, cy = 0.0;
        m_file.Moments(r.load, raft, pos, neg, cx, cy);
        ASSERT_FALSE(pos.empty());
        std::vector<double> written;
        if (r.pos) {
            written = pos;
            written.push_back(cx);
            written.push_back(cy);
        }
        if (r.neg) written.insert(written.end(), neg.begin(), neg.end());
        const double hi = written.empty() ? 0.0 : *std::max_element(written.begin(), written.end());
        const double lo = written.empty() ? 0.0 : *std::min_element(written.begin(), written.end());
        const UINT key = written.empty() ? 0u : raft;

        CForceEngine e(m_model.get());
        e.m_nSForcUnit = 0;
        e.m_bSForcPos = r.pos;
        e.m_bSForcNeg = r.neg;
        ASSERT_EQ(e.InitEngine(nullptr, PVXMode::kSlabForce), 1);
        EXPECT_EQ(e.m_dSMembMax, hi);
        EXPECT_EQ(e.m_dSMembMin, lo);
        EXPECT_EQ(m_model->m_nMaxKey, key);
        EXPECT_EQ(m_model->m_nMinKey, key);
        ASSERT_NE(e.m_pContourEngine, nullptr);
        const CContourEngine& s = *e.m_pContourEngine;
        EXPECT_EQ(s.m_dMaxValue, hi);
        EXPECT_EQ(s.m_dMinValue, lo);
        const int n = s.m_nNumColor;
        ASSERT_GE(n, 2);
        EXPECT_EQ(s.m_dRankMap[0], r.neg ? lo : 0.0);
        EXPECT_EQ(s.m_dRankMap[n - 1], r.pos ? hi : 0.0);
        // Every number written weighs once.
        double total = 0.0;
        for (double p : s.m_dPctRankMap) total += p;
        EXPECT_NEAR(total, written.empty() ? 0.0 : 100.0, 1e-9);
    }
}

// ---- pvxhost ------------------------------------------------------------------------------------

// pvxhost on the sample with its output captured under slabforce_TAG.
moduletest::HostRun RunHost(const std::string& args, const std::string& tag) {
    return moduletest::RunHost("--db " + SamplePath() + " " + args, "slabforce_" + tag);
}

TEST(SlabHostTest, PvxhostDrawsModeSixteen) {
    const std::string tmp = PVX_TEST_TMPDIR;
    const moduletest::HostRun p = RunHost("render --view plan --size 400x300 --out " + tmp + "/slabforce_plain.bmp", "plain");
    ASSERT_EQ(p.exitCode, 0) << p.err;
    const std::string plain = moduletest::ReadWholeFile(tmp + "/slabforce_plain.bmp");
    struct Row {
        const char* label;
        const char* args;
    } const rows[] = {
        {"per element", "--mode slab-force --load DL --option numbers=1"},
        {"per element, envelope maximum", "--mode 16 --load ENV --option negative=0"},
        {"per element, Vmax", "--mode 16 --load LL --component VMAX"},
        {"per member", "--mode slab-force --load DL --option unit=0 --option numbers=1"},
        {"per member, envelope", "--mode slab-force --load ENV --option unit=0 --option numbers=1"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string bmp = tmp + "/slabforce_mode.bmp";
        std::remove(bmp.c_str());
        const moduletest::HostRun h = RunHost("render --view plan --size 400x300 --out " + bmp + " " + r.args, "mode");
        EXPECT_EQ(h.exitCode, 0) << h.err;
        EXPECT_EQ(h.err.find("not built"), std::string::npos) << h.err;
        EXPECT_EQ(h.err.find("not taken"), std::string::npos) << h.err;
        const std::string shown = moduletest::ReadWholeFile(bmp);
        ASSERT_EQ(shown.size(), plain.size());
        EXPECT_NE(shown, plain) << "the result is drawn over the model";
    }
}

}  // namespace
}  // namespace slabtest
