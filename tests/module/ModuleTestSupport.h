// Helpers shared by the module's test programs: running the built pvxhost program with both of
// its output streams captured, and the calls a recording DC holds as text.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include <vector>

#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/CRecordDC.h"

namespace moduletest {

// Every call a recording DC holds, one line each: operation, text, brush and pen colours,
// arguments and points.
inline std::string RecordedCalls(const CRecordDC& dc) {
    std::string out;
    for (const GdiRecord& r : dc.GetRecords()) {
        out += r.op + " " + r.text + " b" + std::to_string(r.brush.lbColor) + " p" + std::to_string(r.pen.lopnColor);
        for (int a : r.args) out += " " + std::to_string(a);
        for (const POINT& pt : r.points) out += " (" + std::to_string(pt.x) + "," + std::to_string(pt.y) + ")";
        out += "\n";
    }
    return out;
}

// A drawing as the view's memory image shows it (its width x height pixels, row by row) and as
// a recording DC keeps its calls (RecordedCalls).
struct TwoWayDrawing {
    std::vector<COLORREF> pixels;
    std::string calls;
};
template <class Draw>
TwoWayDrawing DrawBothWays(I_PVXCtrl& ctrl, int width, int height, Draw&& draw) {
    TwoWayDrawing d;
    ctrl.BeginDrawToMemDC(false);
    CDC* mem = ctrl.GetMemDC();
    draw(mem);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) d.pixels.push_back(mem->GetPixel(x, y));
    ctrl.EndDrawToMemDC(false);
    CRecordDC rec;
    rec.Create();
    draw(&rec);
    d.calls = RecordedCalls(rec);
    return d;
}

// The factor indices k of the frames a full-cycle recording renders with N frames per half
// cycle: 0 .. N for the first swing, 2N + 3 .. 3N + 2 for the opposite one.
inline std::vector<int> RecordedFactorIndices(int N) {
    std::vector<int> ks;
    for (int k = 0; k <= N; ++k) ks.push_back(k);
    for (int k = 2 * N + 3; k <= 3 * N + 2; ++k) ks.push_back(k);
    return ks;
}

struct HostRun {
    int exitCode = -1;  // -1 when the program did not exit normally
    std::string out, err;
};

// The whole text of a file; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
    std::string s;
    if (FILE* f = std::fopen(path.c_str(), "r")) {
        char buf[512];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
        std::fclose(f);
    }
    return s;
}

// Runs pvxhost with the arguments (a shell word list); its streams go to NAME.out and NAME.err
// in the tests' temporary folder, NAME keeping the captures of different runs apart.
inline HostRun RunHost(const std::string& args, const std::string& name) {
    const std::string base = std::string(PVX_TEST_TMPDIR) + "/" + name;
    const std::string cmd =
        std::string(PVX_BINARY_DIR) + "/bin/pvxhost " + args + " >" + base + ".out 2>" + base + ".err";
    HostRun r;
    const int status = std::system(cmd.c_str());
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadWholeFile(base + ".out");
    r.err = ReadWholeFile(base + ".err");
    return r;
}

struct ScriptRun {
    int code = -1;    // the shell's status; 0 when the script passed
    std::string out;  // both streams
};

// Runs one of scripts/ under /usr/bin/python3 on the built pvxhost and the built sample, with a
// fresh work folder (TAG and the process id) that is removed afterwards.
inline ScriptRun RunSampleScript(const std::string& script, const std::string& tag) {
    const std::string work = std::string(PVX_TEST_TMPDIR) + "/" + tag + "_" + std::to_string(getpid());
    const std::string cmd = "/usr/bin/python3 '" + std::string(PVX_SOURCE_DIR) + "/scripts/" + script + "' '" +
                            PVX_BINARY_DIR + "/bin/pvxhost' '" + PVX_BINARY_DIR + "/examples/sample.pvxdb' '" + work +
                            "' 2>&1";
    ScriptRun r;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
        r.code = pclose(p);
    }
    std::system(("rm -rf '" + work + "'").c_str());
    return r;
}

}  // namespace moduletest
