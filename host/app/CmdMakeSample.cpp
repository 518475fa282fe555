// pvxhost make-sample: writes the sample project.
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "host/app/FrameSampleProject.h"
#include "host/app/HostCommand.h"
#include "host/app/SampleProject.h"
#include "host/app/SampleWriter.h"

namespace {

int RunMakeSample(const CHostOptions&, const std::vector<std::string>& args) {
    std::string out;
    long size = CSampleProject::kDefaultRaftPlates;
    long frameBays = 0;  // 0: the building sample
    bool bSize = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--out" || a == "--size" || a == "--frame-bays") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "pvxhost make-sample: %s needs a value\n", a.c_str());
                return HOST_EXIT_USAGE;
            }
            const std::string& v = args[++i];
            if (a == "--out") {
                out = v;
            } else if (a == "--size") {
                if (!ParseIntArgument("make-sample --size", v, 1, CSampleProject::kMaxRaftPlates, size))
                    return HOST_EXIT_USAGE;
                bSize = true;
            } else if (!ParseIntArgument("make-sample --frame-bays", v, 1, CFrameSampleProject::kMaxBays, frameBays)) {
                return HOST_EXIT_USAGE;
            }
        } else {
            std::fprintf(stderr, "pvxhost make-sample: unknown argument \"%s\" (see pvxhost --help)\n", a.c_str());
            return HOST_EXIT_USAGE;
        }
    }
    if (out.empty()) {
        std::fprintf(stderr, "pvxhost make-sample: --out FILE is required\n");
        return HOST_EXIT_USAGE;
    }
    if (bSize && frameBays > 0) {
        std::fprintf(stderr, "pvxhost make-sample: --size and --frame-bays make different projects; give one\n");
        return HOST_EXIT_USAGE;
    }

    // The build writes the sample into a directory of its own that may not exist yet.
    const std::filesystem::path parent = std::filesystem::path(out).parent_path();
    std::error_code ec;
    if (!parent.empty() && !std::filesystem::is_directory(parent, ec) && !std::filesystem::create_directories(parent, ec)) {
        std::fprintf(stderr, "pvxhost make-sample: cannot write \"%s\": cannot create the directory \"%s\": %s\n",
                     out.c_str(), parent.string().c_str(), ec.message().c_str());
        return HOST_EXIT_FAILED;
    }

    const auto t0 = std::chrono::steady_clock::now();
    CSampleProject project(size);
    CFrameSampleProject frame(static_cast<int>(frameBays));
    CSampleWriter writer;
    writer.Builder().Set3D(TRUE);
    if (frameBays > 0)
        frame.Generate(writer);
    else
        project.Generate(writer);
    if (writer.GetRefusedCount() != 0) {
        std::fprintf(stderr, "pvxhost make-sample: %ld generated records were refused by the database\n",
                     writer.GetRefusedCount());
        return HOST_EXIT_FAILED;
    }
    if (!writer.Builder().Save(out.c_str())) {
        const char* why = writer.Builder().GetLastError();
        std::fprintf(stderr, "pvxhost make-sample: cannot write \"%s\": %s\n", out.c_str(), why && *why ? why : "unknown error");
        return HOST_EXIT_FAILED;
    }
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (frameBays > 0)
        std::printf("Wrote %s: frame of %d x %d bays, %ld members, %.2f s\n", out.c_str(), frame.GetBays(), frame.GetBays(),
                    frame.GetMemberCount(), secs);
    else
        std::printf("Wrote %s: raft of %d x %d plates (%ld), %.2f s\n", out.c_str(), project.GetRaftCellsX(),
                    project.GetRaftCellsY(), static_cast<long>(project.GetRaftCellsX()) * project.GetRaftCellsY(), secs);
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegister({"make-sample", "--out FILE [--size N | --frame-bays N]",
                                       "Writes the sample project: a three-storey building on a raft with piles,\n"
                                       "isolated footings, columns, beams, walls, slabs and a truss, with dead, live\n"
                                       "and wind cases, combinations and an envelope, static, modal, time-history and\n"
                                       "settlement results. The results are SAMPLE DATA made by simple closed-form\n"
                                       "mechanics, not an analysis: tributary areas, fixed-end beams, the raft as a\n"
                                       "plate on springs, a shear building for the modes, Boussinesq settlement.\n"
                                       "--size N asks for at least N raft plates (default 192).\n"
                                       "--frame-bays N writes a frame project instead: N x N bays of 6 m, three\n"
                                       "storeys, columns and beams only (about 9 N^2 members), DL, LL and 1.3DL+1.5LL.",
                                       RunMakeSample, 90});

}  // namespace
