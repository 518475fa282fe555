// docs/DATABASE.md and its worked example: the page names every table and column of the record
// field lists with its type and every BLOB with its size; the example script writes a project
// that pvxhost opens and draws, with its values where the page says they are.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "host/db/CDataBase.h"
#include "host/db/CPostCtrl.h"
#include "tests/host/app/HostRun.h"

namespace {

// Runs a shell command line, capturing both streams.
hostrun::RunResult RunShell(const std::string& cmdLine, const std::string& tag) {
    const std::string out = hostrun::kTmp + "/dbdoc_" + tag + hostrun::kPid + ".out", err = hostrun::kTmp + "/dbdoc_" + tag + hostrun::kPid + ".err";
    const int status = std::system((cmdLine + " >'" + out + "' 2>'" + err + "'").c_str());
    hostrun::RunResult r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = hostrun::ReadFile(out);
    r.err = hostrun::ReadFile(err);
    std::remove(out.c_str());
    std::remove(err.c_str());
    return r;
}

// ---- The schema from the record field lists --------------------------------------------------

// Size of each BLOB field: bytes of a fixed array, -1 for a list of any length.
class BlobSizes {
public:
    void Int(const char*, int&) {}
    void Key(const char*, UINT&) {}
    void Real(const char*, double&) {}
    void Coord(const char*, double&) {}
    void Ints(const char* n, int*, int c) { m[n] = static_cast<long>(sizeof(int)) * c; }
    void Keys(const char* n, UINT*, int c) { m[n] = static_cast<long>(sizeof(UINT)) * c; }
    void Reals(const char* n, double*, int c) { m[n] = static_cast<long>(sizeof(double)) * c; }
    void Text(const char*, char*, int) {}
    void Bytes(const char* n, void*, size_t size) { m[n] = static_cast<long>(size); }
    template <class S> void Str(const char*, S&) {}
    template <class L> void KeyList(const char* n, L&) { m[n] = -1; }
    template <class L> void RealList(const char* n, L&) { m[n] = -1; }
    template <class K> void KeyMap(const char* n, K&) { m[n] = -1; }
    void Data(const char* n, std::string&) { m[n] = -1; }
    std::map<std::string, long> m;
};

struct TableSchema {
    std::string name;
    std::vector<std::pair<std::string, std::string>> columns;  // name, SQL type, in file order
    std::map<std::string, long> blobs;
};

template <class T> TableSchema SchemaOf(const char* name, bool result) {
    TableSchema s;
    s.name = name;
    if (result) {
        s.columns.push_back({"id", "INTEGER"});
    } else {
        s.columns.push_back({"key", "INTEGER"});
        s.columns.push_back({"seq", "INTEGER"});
    }
    for (const pvxdb::ColumnDef& c : pvxdb::ColumnsOf<T>()) s.columns.push_back({c.name, c.sqlType});
    T rec;
    rec.Initialize();
    BlobSizes b;
    rec.Fields(b);
    s.blobs = b.m;
    return s;
}

std::vector<TableSchema> StoredTables() {
    std::vector<TableSchema> out;
    // The header table is written by CDataBase::Save beside the record tables.
    TableSchema header;
    header.name = "pvx_header";
    header.columns = {{"name", "TEXT"}, {"value", "TEXT"}};
    out.push_back(header);
#define PVXDOC_MODEL(id, type, name) out.push_back(SchemaOf<type>(name, false));
#define PVXDOC_RESULT(id, type, name) out.push_back(SchemaOf<type>(name, true));
    PVXDB_MODEL_TABLES(PVXDOC_MODEL)
    PVXDB_RESULT_TABLES(PVXDOC_RESULT)
#undef PVXDOC_MODEL
#undef PVXDOC_RESULT
    return out;
}

// ---- What the page says -----------------------------------------------------------------------

std::vector<std::string> Cells(const std::string& row) {
    std::vector<std::string> cells;
    std::string cell;
    for (size_t i = 1; i < row.size(); ++i) {
        if (row[i] == '|') {
            const size_t a = cell.find_first_not_of(' '), b = cell.find_last_not_of(' ');
            cells.push_back(a == std::string::npos ? "" : cell.substr(a, b - a + 1));
            cell.clear();
        } else {
            cell += row[i];
        }
    }
    return cells;
}

std::string Unquote(const std::string& s) {
    return s.size() >= 2 && s.front() == '`' && s.back() == '`' ? s.substr(1, s.size() - 2) : s;
}

struct DocSchema {
    std::map<std::string, std::map<std::string, std::string>> tables;  // table -> column -> type
    std::map<std::string, std::string> blobBytes;                       // "TABLE.column" -> bytes cell
};

// A table is a "### `NAME`" section; its column rows are the rows whose second cell is an SQL
// type. BLOB sizes are the rows of the first table after "## BLOB layouts".
DocSchema ReadDoc(const std::string& text) {
    static const std::set<std::string> kTypes = {"INTEGER", "REAL", "TEXT", "BLOB"};
    DocSchema d;
    std::istringstream in(text);
    std::string line, table;
    bool inLayouts = false, layoutTableSeen = false;
    while (std::getline(in, line)) {
        if (line.rfind("### `", 0) == 0) {
            table = line.substr(5, line.find('`', 5) - 5);
            d.tables[table];
            continue;
        }
        if (line.rfind("#", 0) == 0) {
            table.clear();
            inLayouts = line == "## BLOB layouts";
            continue;
        }
        if (line.rfind("| `", 0) != 0) {
            if (inLayouts && layoutTableSeen && line.empty()) inLayouts = false;
            continue;
        }
        const std::vector<std::string> cells = Cells(line);
        if (!table.empty() && cells.size() >= 2 && kTypes.count(cells[1])) d.tables[table][Unquote(cells[0])] = cells[1];
        if (inLayouts && cells.size() >= 3) {
            layoutTableSeen = true;
            static const std::regex kName("`([A-Za-z_]+\\.[A-Za-z_0-9]+)`");
            for (std::sregex_iterator it(cells[0].begin(), cells[0].end(), kName), end; it != end; ++it)
                d.blobBytes[(*it)[1]] = cells[2];
        }
    }
    return d;
}

TEST(DatabaseDocTest, EveryTableAndColumnIsDocumented) {
    const std::string path = hostrun::kSource + "/docs/DATABASE.md";
    const DocSchema doc = ReadDoc(hostrun::ReadFile(path));
    ASSERT_FALSE(doc.tables.empty()) << path << " is missing or has no table sections";

    std::set<std::string> stored;
    for (const TableSchema& t : StoredTables()) {
        stored.insert(t.name);
        auto it = doc.tables.find(t.name);
        if (it == doc.tables.end()) {
            ADD_FAILURE() << path << ": add a section \"### `" << t.name << "`\" for table " << t.name;
            continue;
        }
        std::set<std::string> names;
        for (const auto& [col, type] : t.columns) {
            names.insert(col);
            auto c = it->second.find(col);
            if (c == it->second.end())
                ADD_FAILURE() << path << ": add a row for column " << col << " (" << type << ") of table " << t.name;
            else
                EXPECT_EQ(c->second, type) << path << ": type of " << t.name << "." << col;
        }
        for (const auto& [col, type] : it->second)
            EXPECT_TRUE(names.count(col)) << path << ": table " << t.name << " has no column " << col
                                          << " (left over in the page?)";

        // Every BLOB has its size in the layout table: fixed arrays exactly, lists not "fixed".
        for (const auto& [col, bytes] : t.blobs) {
            const std::string full = t.name + "." + col;
            auto b = doc.blobBytes.find(full);
            if (b == doc.blobBytes.end()) {
                ADD_FAILURE() << path << ": add " << full << " to the BLOB layouts table";
                continue;
            }
            if (bytes < 0) {
                EXPECT_EQ(b->second.find("fixed"), std::string::npos) << full << " is a list, page says: " << b->second;
            } else {
                EXPECT_NE(b->second.find("fixed"), std::string::npos) << full << " is fixed, page says: " << b->second;
                EXPECT_EQ(std::atol(b->second.c_str()), bytes) << "bytes of " << full << ", page says: " << b->second;
            }
        }
    }
    for (const auto& [name, cols] : doc.tables)
        EXPECT_TRUE(stored.count(name)) << path << ": section " << name << " names no stored table";
    for (const auto& [full, bytes] : doc.blobBytes) {
        const std::string table = full.substr(0, full.find('.'));
        EXPECT_TRUE(stored.count(table)) << path << ": BLOB layout " << full << " names no stored table";
    }
}

// ---- The worked example -----------------------------------------------------------------------

class DatabaseDocExample : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_path = hostrun::kTmp + "/two_elements_" + hostrun::kPid + ".pvxdb";
        s_run = RunShell("/usr/bin/python3 '" + hostrun::kSource + "/docs/examples/two_elements.py' '" + s_path + "'", "py");
    }
    static void TearDownTestSuite() { std::remove(s_path.c_str()); }
    void SetUp() override { ASSERT_EQ(s_run.code, 0) << "the example script failed:\n" << s_run.err; }

    static std::string s_path;
    static hostrun::RunResult s_run;
};
std::string DatabaseDocExample::s_path;
hostrun::RunResult DatabaseDocExample::s_run;

TEST_F(DatabaseDocExample, PvxhostInfoNamesEveryElement) {
    const hostrun::RunResult r = RunShell("'" + hostrun::kHost + "' --db '" + s_path + "' info", "info");
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("Nodes: 7\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Elements: 3\n"), std::string::npos) << r.out;
    // The script's element 1 is a plate of type 301, element 2 a column of type 101, element 3 a
    // beam of type 201.
    for (const char* type : {"101", "201", "301"}) {
        bool named = false;
        std::istringstream in(r.out);
        std::string line;
        while (std::getline(in, line))
            if (line.rfind("Elements", 0) == 0 && std::regex_search(line, std::regex(std::string("\\b") + type + "\\b")))
                named = true;
        EXPECT_TRUE(named) << "no element line names type " << type << " in:\n" << r.out;
    }
    EXPECT_NE(r.out.find("Load case 1: DL"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Combination 101: 1.35DL"), std::string::npos) << r.out;
}

// A 24-bit BMP as written by pvxhost: its pixels as 0xRRGGBB, top row first.
struct Bmp24 {
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    uint32_t At(int x, int y) const { return px[static_cast<size_t>(y) * w + x]; }
};

// Renders the example with the arguments; false (with a failure) when no picture came.
bool RenderExample(const std::string& path, const std::string& args, Bmp24& out, std::string* pReport = nullptr) {
    const std::string bmp = hostrun::kTmp + "/two_elements_" + hostrun::kPid + ".bmp";
    const hostrun::RunResult r = RunShell("'" + hostrun::kHost + "' --db '" + path + "' render " + args + " --out '" + bmp + "'", "render");
    EXPECT_EQ(r.code, 0) << r.err;
    if (pReport) *pReport = r.out;
    const std::string img = hostrun::ReadFile(bmp);
    std::remove(bmp.c_str());
    if (img.size() < 54 || img.substr(0, 2) != "BM") {
        ADD_FAILURE() << "no BMP";
        return false;
    }
    int32_t w, h;
    uint32_t off;
    uint16_t bpp;
    std::memcpy(&off, img.data() + 10, 4);
    std::memcpy(&w, img.data() + 18, 4);
    std::memcpy(&h, img.data() + 22, 4);
    std::memcpy(&bpp, img.data() + 28, 2);
    const int rows = std::abs(h);
    const size_t stride = (static_cast<size_t>(w) * 3 + 3) / 4 * 4;
    if (bpp != 24 || img.size() < off + stride * static_cast<size_t>(rows)) {
        ADD_FAILURE() << "not a whole 24-bit picture";
        return false;
    }
    out.w = w;
    out.h = rows;
    out.px.resize(static_cast<size_t>(w) * rows);
    for (int y = 0; y < rows; ++y) {
        const size_t row = off + stride * static_cast<size_t>(h > 0 ? rows - 1 - y : y);  // bottom-up unless h < 0
        for (int x = 0; x < w; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(img.data() + row + 3 * static_cast<size_t>(x));
            out.px[static_cast<size_t>(y) * w + x] = (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
        }
    }
    return true;
}

TEST_F(DatabaseDocExample, PvxhostRendersIt) {
    Bmp24 pic;
    ASSERT_TRUE(RenderExample(s_path, "--view iso --size 320x240", pic));
    ASSERT_EQ(pic.w, 320);
    ASSERT_EQ(pic.h, 240);
    // The model fills a good part of the picture: pixels other than the background's (a corner).
    long drawn = 0;
    for (uint32_t c : pic.px)
        if (c != pic.px[0]) ++drawn;
    EXPECT_GT(drawn, 320 * 240 / 20) << "the render is nearly empty";
}

// The beam's moment diagram: its largest value is qL^2/8 at mid-span, and it hangs below the
// beam (the tension side of a sagging moment), deepest at mid-span, three quarters as deep at the
// quarter points (M(L/4) = 3qL^2/32).
TEST_F(DatabaseDocExample, BeamMomentDiagramSagsBelowTheBeam) {
    const double q = 10.0, span = 6.0;
    std::string report;
    Bmp24 pic;
    // The beam's diagram alone: the column drawn plain.
    ASSERT_TRUE(RenderExample(s_path, "--view front --mode frame-force-diagram --load DL --component MY --option columns=0",
                              pic, &report));
    char want[64];
    std::snprintf(want, sizeof want, "max %.4f (%g) at member 3", q * span * span / 8.0, q * span * span / 8.0);
    EXPECT_NE(report.find(want), std::string::npos) << report;

    // The diagram's pixels: saturated colours (the legend's bands) left of the legend panel.
    auto coloured = [](uint32_t c) {
        const int r = c >> 16, g = (c >> 8) & 255, b = c & 255;
        return std::max({r, g, b}) - std::min({r, g, b}) > 100;
    };
    const int area = pic.w - 200;
    int left = area, right = -1;
    for (int y = 0; y < pic.h; ++y)
        for (int x = 60; x < area; ++x)  // clear of the view-point triad in the lower-left corner
            if (coloured(pic.At(x, y)) && y < pic.h - 90) left = std::min(left, x), right = std::max(right, x);
    ASSERT_GT(right - left, 50) << "no diagram";
    // Rows of the diagram in a column: topmost and lowest coloured pixel.
    auto extent = [&](int x, int& top, int& bottom) {
        top = pic.h, bottom = -1;
        for (int y = 0; y < pic.h - 90; ++y)
            if (coloured(pic.At(x, y))) top = std::min(top, y), bottom = std::max(bottom, y);
    };
    int endTop = 0, endBottom = 0, midTop = 0, midBottom = 0, quarterTop = 0, quarterBottom = 0;
    extent(left + 1, endTop, endBottom);
    extent((left + right) / 2, midTop, midBottom);
    extent(left + (right - left) / 4, quarterTop, quarterBottom);
    const int beamRow = endTop;  // the beam line, where the moment is 0
    EXPECT_GE(midTop, beamRow - 1) << "nothing drawn above the beam";
    const int depth = midBottom - beamRow, quarter = quarterBottom - beamRow;
    EXPECT_GT(depth, 20) << "the diagram hangs below the beam";
    EXPECT_NEAR(double(quarter) / depth, 0.75, 0.06);
}

// The values the script packs, read back through the database at the places the page gives;
// expected values from the hand derivation at the top of the script.
TEST_F(DatabaseDocExample, ValuesSitWhereThePageSays) {
    CDataBase db;
    ASSERT_TRUE(db.Open(s_path.c_str())) << static_cast<LPCTSTR>(db.GetLastError());

    const T_PELEM_D* plate = db.Table<DBT_PELEM>().Find(1);
    const T_PELEM_D* column = db.Table<DBT_PELEM>().Find(2);
    const T_PMEMB_D* colMemb = db.Table<DBT_PMEMB>().Find(2);
    const T_PSECT_D* colSect = db.Table<DBT_PSECT>().Find(1);
    const T_PLCOM_D* comb = db.Table<DBT_PLCOM>().Find(101);
    const T_DISP_D* d3 = db.Table<DBT_DISP>().Find(1, 3);
    const T_DISP_D* d5 = db.Table<DBT_DISP>().Find(1, 5);
    const T_MBCL_D* mbcl = db.Table<DBT_MBCL>().Find(1, 2);
    const T_MBWG_D* mbwg = db.Table<DBT_MBWG>().Find(1, 2);
    const T_STRG_D* strg = db.Table<DBT_STRG>().Find(1, 2);
    const T_STRP_DL* strp = db.Table<DBT_STRP>().Find(1, 1);
    // The member the page's worked example prints for the smallest value ("min ... at member N").
    std::smatch minLine;
    const std::string doc = hostrun::ReadFile(hostrun::kSource + "/docs/DATABASE.md");
    ASSERT_TRUE(std::regex_search(doc, minLine, std::regex("\nmin [^\n]* at member (\\d+)\n")));
    for (const void* p : {(const void*)plate, (const void*)column, (const void*)colMemb, (const void*)colSect,
                          (const void*)comb, (const void*)d3, (const void*)d5, (const void*)mbcl, (const void*)mbwg,
                          (const void*)strg, (const void*)strp})
        ASSERT_NE(p, nullptr);

    double reacSum = 0.0;
    for (UINT n = 1; n <= 4; ++n) {
        const T_REAC_D* r = db.Table<DBT_REAC>().Find(1, n);
        ASSERT_NE(r, nullptr) << "node " << n;
        reacSum += r->FZ;
    }

    struct Row {
        const char* label;
        double actual, expected;
    } rows[] = {
        {"PELEM 1 kind: plate", double(plate->kind), PELEM_KIND_PLATE},
        {"PELEM 1 type", double(plate->type), 301},
        {"PELEM 1 node[3] (fourth corner)", double(plate->node[3]), 4},
        {"PELEM 2 nnode", double(column->nNode), 2},
        {"PELEM 2 node[1] (column top)", double(column->node[1]), 5},
        {"PMEMB 2 elems", double(colMemb->aElem.GetSize()), 1},
        {"PMEMB 2 length", colMemb->length, 3.0},
        {"PSECT 1 set 1 value 4: I3 = 0.4^4/12", colSect->stiff[1].d[4], std::pow(0.4, 4) / 12.0},
        {"PLCOM 101 terms", double(comb->GetEntryCount()), 1},
        {"PLCOM 101 term 0 kind", double(comb->entry[0].kind), PLOAD_STATIC},
        {"PLCOM 101 term 0 key", double(comb->entry[0].key), 1},
        {"PLCOM 101 term 0 factor", comb->entry[0].factor, 1.35},
        {"DISP node 3 DZ: 412.5 kN / 50000 kN/m", d3->DZ, -8.25},
        {"DISP node 5 DZ: 8.25 + 400*3/(3e7*0.16) m", d5->DZ, -8.5},
        {"DISP node 5 DX: 0.000667 rad * 3 m", d5->DX, 2.0},
        {"REAC sum FZ: 400 kN + 12.5 kN/m2 * 36 m2", reacSum, 850.0},
        {"MBCL block 1 (top) axial", mbcl->d[1][0], -400.0},
        {"MBWG station 8 (j-end) axial", mbwg->d[8][0], -400.0},
        {"STRG segment 7 end axial: d[12*7+6+0]", strg->d[12 * 7 + 6], -400.0},
        {"STRP centre Mxx: 337.5 kN·m / 6 m", strp->blk[0][20], 56.25},
        {"STRP centre surface 1 sxx: -6*56.25/0.5^2", strp->blk[0][0], -1350.0},
        {"STRP centre surface 2 sxx", strp->blk[0][7], 1350.0},
        {"STRP centre principal moment max", strp->blk[0][23], 56.25},
        {"STRP corner 3 Mxx", strp->blk[3][20], 0.0},
        // My is 0 along the column (member 2) and at the beam's ends (member 3): the first
        // member in order holds the smallest.
        {"MBWG station 4 My of the column", mbwg->d[4][4], 0.0},
        {"the page's example: min My at member 2", std::stod(minLine[1].str()), 2},
    };
    for (const Row& r : rows) EXPECT_NEAR(r.actual, r.expected, 1e-9) << r.label;

    // The combination is worked out from the case: 1.35 x DL.
    CPostCtrl post(&db);
    T_PLCOM_D lc;
    ASSERT_TRUE(post.MakeLoadComb(10, 101, lc));
    ASSERT_TRUE(post.SelectLoadComb(lc, 0, 0));
    T_DISP_D d;
    ASSERT_TRUE(post.GetDisp(3, &d, nullptr, nullptr));
    EXPECT_NEAR(d.DZ, 1.35 * -8.25, 1e-9);
    T_MBWG_D w;
    ASSERT_TRUE(post.GetStwt(2, &w, nullptr, nullptr, 0));
    EXPECT_NEAR(w.d[4][0], 1.35 * -400.0, 1e-9);
}

}  // namespace
