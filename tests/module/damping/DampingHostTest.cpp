// pvxhost graph damping on the sample project, checked against the project's FREQ and MPAM rows
// read with sqlite3 in the system python, and against the written chart read with PIL.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "tests/module/ModuleTestSupport.h"

namespace {

const std::string kSample = std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb";
const std::string kTmp = PVX_TEST_TMPDIR;

// Runs a python script (given as text) with the system python; its standard output.
std::string Python(const std::string& script, const std::string& name) {
    const std::string path = kTmp + "/" + name + ".py";
    if (FILE* f = std::fopen(path.c_str(), "w")) {
        std::fputs(script.c_str(), f);
        std::fclose(f);
    }
    const std::string out = kTmp + "/" + name + ".pyout";
    std::system(("/usr/bin/python3 " + path + " >" + out + " 2>&1").c_str());
    return moduletest::ReadWholeFile(out);
}

double ValueAfter(const std::string& text, const std::string& key) {
    const size_t p = text.find(key);
    return p == std::string::npos ? NAN : std::atof(text.c_str() + p + key.size());
}

TEST(DampingHost, CoefficientsAndTableFromTheProject) {
    const moduletest::HostRun run = moduletest::RunHost(
        "graph damping --mode1 1 --mode2 3 --mass --stiffness --table --out " + kTmp + "/damping.bmp", "damping");
    ASSERT_EQ(0, run.exitCode) << run.err;
    // a0 = 2 ω1 ω2 (ζ1 ω2 − ζ2 ω1)/(ω2² − ω1²), a1 = 2 (ζ2 ω2 − ζ1 ω1)/(ω2² − ω1²), ω = 2π f; then the
    // table's rows: mode, FREQ.freq, FREQ.period, MPAM.mass X Y Z, FREQ.damping as "%.15g".
    const std::string expected = Python(
        "import sqlite3, math, struct\n"
        "c = sqlite3.connect('" + kSample + "')\n"
        "f = {k: (fr, p, d) for k, fr, p, d in c.execute('select key, freq, period, damping from FREQ')}\n"
        "m = {k: struct.unpack('<6d', b) for k, b in c.execute('select key, mass from MPAM')}\n"
        "w1, w2 = 2 * math.pi * f[1][0], 2 * math.pi * f[3][0]\n"
        "z1, z2 = f[1][2], f[3][2]\n"
        "print('%.17g %.17g' % (2 * w1 * w2 * (z1 * w2 - z2 * w1) / (w2 * w2 - w1 * w1),\n"
        "                       2 * (z2 * w2 - z1 * w1) / (w2 * w2 - w1 * w1)))\n"
        "for k in sorted(f):\n"
        "    v = [f[k][0], f[k][1], m[k][0], m[k][1], m[k][2], f[k][2]]\n"
        "    print('\\t'.join([str(k)] + ['%.15g' % x for x in v]))\n",
        "damping_expected");
    std::istringstream in(expected);
    double a0 = NAN, a1 = NAN;
    in >> a0 >> a1;
    ASSERT_TRUE(std::isfinite(a0) && std::isfinite(a1)) << expected;
    EXPECT_NEAR(1.0, ValueAfter(run.out, "alpha = ") / a0, 1e-6) << run.out;
    EXPECT_NEAR(1.0, ValueAfter(run.out, "beta = ") / a1, 1e-6) << run.out;

    std::string line;
    std::getline(in, line);
    std::vector<std::string> rows;
    while (std::getline(in, line)) rows.push_back(line);
    ASSERT_EQ(6u, rows.size()) << expected;
    const size_t header = run.out.find("table: ");
    ASSERT_NE(std::string::npos, header) << run.out;
    std::istringstream table(run.out.substr(run.out.find('\n', header) + 1));
    for (const std::string& row : rows) {
        SCOPED_TRACE(row);
        std::getline(table, line);
        EXPECT_EQ(row, line);
    }
}

TEST(DampingHost, ChartShowsEveryModeAndTheCurve) {
    // The fixed range takes in all six modes (up to 59.7 Hz); the picture is read with PIL:
    // connected blue (0, 0, 255) areas are the mode markers, red (255, 0, 0) pixels the curve.
    const std::string bmp = kTmp + "/damping_range.bmp";
    const moduletest::HostRun run = moduletest::RunHost(
        "graph damping --mode1 1 --mode2 3 --mass --stiffness --range 0,65,0,0.06 --out " + bmp, "damping_range");
    ASSERT_EQ(0, run.exitCode) << run.err;
    const std::string counts = Python(
        "from PIL import Image\n"
        "im = Image.open('" + bmp + "').convert('RGB'); w, h = im.size; px = im.load()\n"
        "blue = {(x, y) for x in range(w) for y in range(h) if px[x, y] == (0, 0, 255)}\n"
        "red = sum(1 for x in range(w) for y in range(h) if px[x, y] == (255, 0, 0))\n"
        "n = 0\n"
        "while blue:\n"
        "    n += 1; todo = [blue.pop()]\n"
        "    while todo:\n"
        "        x, y = todo.pop()\n"
        "        for q in ((x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)):\n"
        "            if q in blue: blue.remove(q); todo.append(q)\n"
        "print(n, red)\n",
        "damping_pixels");
    int markers = 0, red = 0;
    std::istringstream(counts) >> markers >> red;
    EXPECT_EQ(6, markers) << counts;
    EXPECT_GT(red, 200) << counts;
}

// What the chart leaves out is said: a missing choice of terms, and the modes beyond the automatic
// 0 ... 20 Hz (FREQ by sqlite3: modes 4, 5, 6 at 23.97, 41.34, 59.73 Hz, damping 0.05).
TEST(DampingHost, OutputNamesWhatTheChartLeavesOut) {
    const std::string beyond = "note: modes 4 (23.97 Hz, 0.05), 5 (41.34 Hz, 0.05), 6 (59.73 Hz, 0.05) lie outside";
    struct Row {
        const char* args;
        std::string expected, absent;
    } rows[] = {{"", "note: no damping term was chosen", ""},
                {"", beyond, ""},
                {"--mode1 1 --mode2 3 --mass --stiffness", beyond, "no damping term"},
                {"--range 0,66,0,0.06", "chart x ticks: 0 10 20 30 40 50 60\n", "lie outside"}};
    for (const Row& r : rows) {
        const moduletest::HostRun run =
            moduletest::RunHost(std::string("graph damping ") + r.args + " --out " + kTmp + "/damping_notes.bmp", "notes");
        ASSERT_EQ(0, run.exitCode) << run.err;
        EXPECT_NE(std::string::npos, run.out.find(r.expected)) << run.out;
        if (!r.absent.empty()) {
            EXPECT_EQ(std::string::npos, run.out.find(r.absent)) << run.out;
        }
    }
}

TEST(DampingHost, RefusedInput) {
    struct Row {
        const char* label;
        const char* args;
        int exitCode;
        const char* message;
    } rows[] = {
        {"identical modes", "--mode1 2 --mode2 2 --mass --stiffness", 1, "两个频率相同。"},
        {"second mode without both checks", "--mode2 3 --mass", 2, "--mode2 is used only with both"},
        {"a mode the project lacks", "--mode1 9 --mass", 2, "no such mode"},
        {"a range without room", "--range 0,20,0.1,0.1", 2, "--range takes"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string out = kTmp + "/damping_refused.bmp";
        std::remove(out.c_str());
        const moduletest::HostRun run =
            moduletest::RunHost(std::string("graph damping ") + r.args + " --out " + out, "damping_refused");
        EXPECT_EQ(r.exitCode, run.exitCode);
        EXPECT_NE(std::string::npos, run.err.find(r.message)) << run.err;
        EXPECT_EQ(nullptr, std::fopen(out.c_str(), "r"));
    }
}

}  // namespace
