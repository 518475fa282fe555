// make-sample --piles N: the pile project's size, its raft outline and the pile checks made from
// its tip reactions, read back with sqlite3.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <string>
#include <vector>

#include "HostRun.h"

namespace {

// Rows of one query, each a list of column values (BLOBs as raw bytes).
std::vector<std::vector<std::string>> QueryRaw(const std::string& path, const std::string& sql) {
    std::vector<std::vector<std::string>> out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK)
            while (sqlite3_step(st) == SQLITE_ROW) {
                std::vector<std::string> row;
                for (int c = 0; c < sqlite3_column_count(st); ++c) {
                    const void* p = sqlite3_column_blob(st, c);
                    row.emplace_back(p ? static_cast<const char*>(p) : "", sqlite3_column_bytes(st, c));
                }
                out.push_back(row);
            }
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return out;
}

long CountRaw(const std::string& path, const std::string& sql) {
    auto rows = QueryRaw(path, sql);
    return rows.empty() ? -1 : std::stol(rows[0][0]);
}

// The compression check (action, resistance) of group key in a pile's bearing map: uint32 count,
// then per entry uint32 key and five checks of two doubles.
bool Compression(const std::string& blob, unsigned key, double& action, double& resistance) {
    const size_t entry = 4 + 5 * 16;
    unsigned n = 0;
    if (blob.size() < 4) return false;
    std::memcpy(&n, blob.data(), 4);
    for (size_t i = 0; i < n && 4 + (i + 1) * entry <= blob.size(); ++i) {
        unsigned k = 0;
        std::memcpy(&k, blob.data() + 4 + i * entry, 4);
        if (k != key) continue;
        std::memcpy(&action, blob.data() + 8 + i * entry, 8);
        std::memcpy(&resistance, blob.data() + 16 + i * entry, 8);
        return true;
    }
    return false;
}

TEST(PileSample, PilesRaftAndChecksFollowTheCount) {
    // Hand values: spacing s = 2.4, s^2 = 5.76; group 101 = 1.0DL + 1.0LL, so N = 300 x 5.76 x
    // (0.8 + 0.4 x / W) + 80 x 5.76 = 1382.4 + 691.2 x / W + 460.8. Pile 1 stands at x = 0:
    // 1843.2. The last pile is the anchor pile, stored as -N: at x = 0 (N = 7, 1) -1843.2, at
    // x = W (N = 12) -(1843.2 + 691.2) = -2534.4.
    struct Row {
        long piles;
        int cols, rows;
        double lastAction;
    };
    const Row table[] = {
        {1, 1, 1, -1843.2},
        {7, 3, 3, -1843.2},
        {12, 4, 3, -2534.4},
    };
    for (const Row& r : table) {
        SCOPED_TRACE(r.piles);
        const std::string path = hostrun::kTmp + "/pile_sample_" + hostrun::kPid + "_" + std::to_string(r.piles) + ".pvxdb";
        const hostrun::RunResult made = hostrun::RunHost("make-sample --piles " + std::to_string(r.piles) + " --out '" + path + "'", "piles");
        ASSERT_EQ(made.code, 0) << made.err;
        EXPECT_NE(made.out.find(std::to_string(r.piles) + " piles in " + std::to_string(r.cols) + " columns"),
                  std::string::npos)
            << made.out;
        EXPECT_EQ(CountRaw(path, "SELECT COUNT(*) FROM PILE"), r.piles);
        EXPECT_EQ(CountRaw(path, "SELECT COUNT(*) FROM PCDPILE"), r.piles);
        EXPECT_EQ(CountRaw(path, "SELECT COUNT(*) FROM PMEMB WHERE type = 403 AND pile_key = key"), r.piles);
        EXPECT_EQ(CountRaw(path, "SELECT COUNT(*) FROM MTSB"), 1);
        // The raft's corners: 1.2 m beyond the outer piles at 0 and 2.4 (cols - 1), 2.4 (rows - 1).
        const auto xy = QueryRaw(path, "SELECT MIN(x), MAX(x), MIN(y), MAX(y) FROM PONT");
        ASSERT_EQ(xy.size(), 1u);
        EXPECT_NEAR(std::stod(xy[0][0]), -1.2, 1e-9);
        EXPECT_NEAR(std::stod(xy[0][1]), 2.4 * (r.cols - 1) + 1.2, 1e-9);
        EXPECT_NEAR(std::stod(xy[0][2]), -1.2, 1e-9);
        EXPECT_NEAR(std::stod(xy[0][3]), 2.4 * (r.rows - 1) + 1.2, 1e-9);
        const auto first = QueryRaw(path, "SELECT czl FROM PCDPILE WHERE key = 1");
        const auto last = QueryRaw(path, "SELECT czl FROM PCDPILE WHERE key = " + std::to_string(r.piles));
        ASSERT_EQ(first.size(), 1u);
        ASSERT_EQ(last.size(), 1u);
        double a = 0.0, res = 0.0;
        if (r.piles > 1) {
            ASSERT_TRUE(Compression(first[0][0], 101, a, res));
            EXPECT_NEAR(a, 1843.2, 1e-6);
            EXPECT_NEAR(res, 2200.0, 1e-9);
        }
        ASSERT_TRUE(Compression(last[0][0], 101, a, res));
        EXPECT_NEAR(a, r.lastAction, 1e-6);
        std::remove(path.c_str());
    }
    // One kind of project at a time.
    const hostrun::RunResult both = hostrun::RunHost("make-sample --piles 4 --size 10 --out '" + hostrun::kTmp + "/x.pvxdb'", "piles_both");
    EXPECT_EQ(both.code, 2);
    EXPECT_NE(both.err.find("--piles"), std::string::npos) << both.err;
}

}  // namespace
