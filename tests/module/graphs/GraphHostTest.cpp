// pvxhost graph modes and graph history on the sample project, run as a user runs them.
//
// The sample's modes are those of a uniform shear building of n = 3 storeys in each direction,
// phi_j(i) = sin(i (2j - 1) pi / 7) scaled to a largest |phi| of 1; modes 1 and 3 are the first
// two x modes. Mode 3: sin(3 pi / 7), sin(6 pi / 7), sin(9 pi / 7) = -sin(2 pi / 7) over
// sin(3 pi / 7), so its lowest UX is -sin(2 pi / 7) / sin(3 pi / 7) = -0.80194, the highest UX of
// mode 1 is 1, and x modes have no UY.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "tests/module/ModuleTestSupport.h"

namespace {

const double kPi = 3.14159265358979323846;

std::string Tmp(const std::string& name) { return std::string(PVX_TEST_TMPDIR) + "/graphhost_" + name; }

// The number after "key " on the line that starts with head.
double NumberAfter(const std::string& out, const std::string& head, const std::string& key) {
    const size_t line = out.find(head);
    if (line == std::string::npos) return NAN;
    const size_t at = out.find(key, line);
    return at == std::string::npos ? NAN : std::atof(out.c_str() + at + key.size());
}

}  // namespace

TEST(GraphHostTest, ModeGraphsShowTheStoreyExtremesAndKeepThePictureWhenThePropertiesStay) {
    using moduletest::RunHost;
    const moduletest::HostRun base = RunHost("graph modes --modes 1,3 --out " + Tmp("base.bmp"), "graphhost_base");
    ASSERT_EQ(base.exitCode, 0) << base.err;
    const double lowest = -std::sin(2 * kPi / 7) / std::sin(3 * kPi / 7);
    struct Row {
        const char* head;
        const char* key;
        double expected;
    } rows[] = {{"left extremes", "lowest ", lowest}, {"left extremes", "highest ", 1.0},
                {"right extremes", "lowest ", 0.0},   {"right extremes", "highest ", 0.0},
                {"left graph", "x ", -2.0}};  // scale 50 on magnitude 1: factor 2
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.head) + " " + r.key);
        EXPECT_NEAR(NumberAfter(base.out, r.head, r.key), r.expected, 1e-12) << base.out;
    }
    EXPECT_NE(base.out.find("labelled \"-0.802\""), std::string::npos) << base.out;
    // The key: FREQ.freq of modes 1 and 3 (sqlite3: 5.92068493701744, 16.5893905468405); the
    // caller's map holds mode 3 first (red 0x0000FF), then mode 1 (blue 0xFF0000).
    for (const char* key : {"left key: series 1, mode 1, 5.92068 Hz, blue (0xFF0000)\n",
                            "left key: series 2, mode 3, 16.5894 Hz, red (0x0000FF)\n",
                            "right key: series 2, mode 3, 16.5894 Hz, red (0x0000FF)\n"})
        EXPECT_NE(base.out.find(key), std::string::npos) << key;

    // OK pressed on the right graph's dialog without a change: the very same picture.
    const moduletest::HostRun same = RunHost(
        "graph modes --modes 1,3 --graph right --property title=振型图 --out " + Tmp("same.bmp"), "graphhost_same");
    ASSERT_EQ(same.exitCode, 0) << same.err;
    EXPECT_EQ(moduletest::ReadWholeFile(Tmp("base.bmp")), moduletest::ReadWholeFile(Tmp("same.bmp")));

    // 25 % on the left graph (magnitude 1): factor 4, x from -4.
    const moduletest::HostRun zoom = RunHost(
        "graph modes --modes 1,3 --property \"title=Modes 1, 3\" --property scale=25 --out " + Tmp("zoom.emf"),
        "graphhost_zoom");
    ASSERT_EQ(zoom.exitCode, 0) << zoom.err;
    EXPECT_NEAR(NumberAfter(zoom.out, "left graph", "x "), -4.0, 1e-12) << zoom.out;
    EXPECT_NE(zoom.out.find("left graph: Modes 1, 3, UX"), std::string::npos) << zoom.out;
}

TEST(GraphHostTest, RefusedValuesAndNamesEndTheCommandWithTheirMessage) {
    struct Row {
        const char* label;
        const char* args;
        int exitCode;
        const char* message;
    } rows[] = {
        {"scale above the dialog's range", "graph modes --property scale=150", 1, "between 1 and 100"},
        {"extension in mixed case", "graph modes --save-as x.Bmp", 1, "无效的扩展名:Bmp"},
        {"jpeg", "graph modes --save-as x.jpg", 1, "JPEG"},
        {"unknown property", "graph modes --property colour=red", 2, "--property takes"},
        {"no sub-command", "graph", 2, "modes"},
        {"click after the history", "graph history --load THX --node 222 --click 5", 2, "outside"},
        {"not a time-history case", "graph history --load DL --node 222", 2, "THX"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const moduletest::HostRun run =
            moduletest::RunHost(std::string(r.args) + " --out " + Tmp("refused.bmp"), "graphhost_refused");
        EXPECT_EQ(run.exitCode, r.exitCode) << run.err;
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
    }
}

TEST(GraphHostTest, AClickOnTheTimeHistorySelectsTheNearestStep) {
    // Steps of a twentieth of the first period: dt = 1 / (20 f1), f1 = 5.92068493701744 Hz (FREQ
    // row 1 of the sample, read with sqlite3): dt = 0.0084449689 s. The window's pixel is
    // 1.7734 s / 720 = 0.0025 s wide, well inside half a step of the times below.
    const double dt = 1.0 / (20 * 5.92068493701744);
    struct Row {
        double t;
        int step;  // 1-based, nearest to t
    } rows[] = {{0.0, 1}, {0.5, 60}, {1.0, 119}, {210 * dt, 211}};  // 0.5 / dt = 59.2; 1 / dt = 118.4
    for (const Row& r : rows) {
        SCOPED_TRACE(r.t);
        char args[160];
        std::snprintf(args, sizeof args, "graph history --load THX --node 222 --click %.9g --out %s", r.t,
                      Tmp("history.bmp").c_str());
        const moduletest::HostRun run = moduletest::RunHost(args, "graphhost_history");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NEAR(NumberAfter(run.out, "click", "step "), r.step, 0) << run.out;
    }
}

// docs/examples/rc_frame.py's modes worked out again: level i of 4 moves by sin(i pi / 9) /
// sqrt(M sum sin^2) (M the floor's mass, or its polar inertia for the torsion mode 3, whose UX is
// -theta y). Before, each level kept its own largest magnitude, of either edge; the printed peak
// of mode 1 ringing (20 mm at the roof) lost its sign.
TEST(GraphHostTest, AFramesModesAndHistoryKeepTheirSigns) {
    const std::string db = Tmp("rc_frame.pvxdb");
    ASSERT_EQ(std::system(("/usr/bin/python3 '" + std::string(PVX_SOURCE_DIR) + "/docs/examples/rc_frame.py' '" + db +
                           "' >/dev/null").c_str()), 0);
    double sum = 0.0;
    for (int i = 1; i <= 4; ++i) sum += std::pow(std::sin(i * kPi / 9), 2);
    const double inertia = 144.0 * 10.0 / 9.81 * 24.0;
    const double roofTurn6 = 6.0 * std::sin(4 * kPi / 9) / std::sqrt(inertia * sum);
    const double w = 2 * kPi * 1.67;
    double peak = 0.0;  // the roof's acceleration, -0.02 w^2 sin(w t) at t = 0.02 s x step
    for (int s = 0; s < 101; ++s)
        if (std::fabs(std::sin(w * s * 0.02)) > std::fabs(peak)) peak = std::sin(w * s * 0.02);
    const char* farCorner = "UPDATE MODE SET DX = DX * (1 + 1e-12) WHERE id = (3 << 32) + 409";
    struct Row {
        const char *sql, *args, *head, *key;  // sql: an edit of the project first, or ""
        double value;
    } rows[] = {{"", "graph modes --modes 3", "left extremes", "lowest ", 0.0},
                {"", "graph modes --modes 3", "left extremes", "highest ", roofTurn6},
                {farCorner, "graph modes --modes 3", "left extremes", "lowest ", -roofTurn6},
                {farCorner, "graph modes --modes 3", "left extremes", "highest ", 0.0},
                {"", "graph history --load THX --node 401 --quantity 2", "under THX", "peak ", -0.02 * w * w * peak}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.sql) + r.args + r.key);
        if (*r.sql) {
            ASSERT_EQ(std::system(("/usr/bin/python3 -c 'import sqlite3, sys; c = sqlite3.connect(sys.argv[1]); "
                                   "c.execute(sys.argv[2]); c.commit()' '" + db + "' '" + r.sql + "'").c_str()), 0);
        }
        const moduletest::HostRun run =
            moduletest::RunHost("--db '" + db + "' " + r.args + " --out " + Tmp("frame.bmp"), "graphhost_frame");
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NEAR(NumberAfter(run.out, r.head, r.key), r.value, 1e-5 * std::fabs(r.value) + 1e-12) << run.out;
    }
    std::remove(db.c_str());
}
