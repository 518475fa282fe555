// pvxhost make-sample: writes the sample project.
#include <chrono>
#include <cstdio>
#include <string>

#include "host/app/SampleDesignResults.h"
#include "host/app/SampleBeamForces.h"
#include "host/app/SampleBeamDesign.h"
#include "host/app/SampleElementDesign.h"
#include "host/app/SampleFoundationChecks.h"
#include "host/app/SamplePileChecks.h"
#include "host/app/SampleRaftChecks.h"
#include "host/app/SampleFootingDesign.h"
#include "host/app/FrameSampleProject.h"
#include "host/app/PileSampleProject.h"
#include "host/app/HostCommand.h"
#include "host/app/HostOutput.h"
#include "host/app/HostProgress.h"
#include "host/app/SampleProject.h"
#include "host/app/SampleSlabBands.h"
#include "host/app/SampleWriter.h"
#include "host/app/WallSampleProject.h"

namespace {

int RunMakeSample(const CHostOptions& options, const CHostArgs& args) {
    const std::string out = args.Get("--out");
    const long size = args.GetInteger("--size");
    const long frameBays = args.Has("--frame-bays") ? args.GetInteger("--frame-bays") : 0;
    const long wallPlates = args.Has("--wall-plates") ? args.GetInteger("--wall-plates") : 0;
    const long nPiles = args.Has("--piles") ? args.GetInteger("--piles") : 0;
    if ((frameBays > 0 ? 1 : 0) + (wallPlates > 0 ? 1 : 0) + (nPiles > 0 ? 1 : 0) + (args.Has("--size") ? 1 : 0) > 1) {
        HostMessage("--size, --frame-bays, --wall-plates and --piles make different projects; give one of them");
        return HOST_EXIT_USAGE;
    }

    // The build writes the sample into a folder of its own that may not exist yet. A project
    // given with --db is not replaced, under any name.
    CHostOutputFile file(out, CHostOutputFile::kProject);
    if (int status = file.Check(options.bDBGiven ? options.strDBPath : std::string(), true)) return status;

    const auto t0 = std::chrono::steady_clock::now();
    // Shares measured on a 100,000-plate sample.
    CHostProgress progress({{"generating the sample project", 45}, {"writing " + out, 55}});
    progress.Enter(0);
    CSampleProject project(size);
    if (args.Has("--settle-points")) {
        if (frameBays > 0 || wallPlates > 0) {
            HostMessage("--settle-points belongs to the building sample, not to --frame-bays or --wall-plates");
            return HOST_EXIT_USAGE;
        }
        project.SetSettlementPoints(args.GetInteger("--settle-points"));
    }
    CFrameSampleProject frame(static_cast<int>(frameBays));
    CWallSampleProject walls(wallPlates);
    CPileSampleProject pileField(nPiles);
    CSampleWriter writer;
    writer.Builder().Set3D(TRUE);
    if (frameBays > 0)
        frame.Generate(writer);
    else if (wallPlates > 0)
        walls.Generate(writer);
    else if (nPiles > 0) {
        pileField.Generate(writer);
        sample_piles::AddSamplePileChecks(writer.Builder().DB());
    } else {
        project.Generate(writer);
        // The design results come from the project's own forces, once they are all in.
        sample_beamforces::AddFoundationBeamMembers(writer.Builder().DB());
        sample_beamdesign::AddBeamDesign(writer.Builder().DB());
        sample_design::AddSampleDesignResults(writer.Builder().DB());
        sample_elemdesign::AddElementDesign(writer.Builder().DB());
        sample_elemdesign::AddSlabPanels(writer.Builder().DB());
        sample_slabband::AddSlabBands(writer.Builder().DB());
        sample_checks::AddSampleFoundationChecks(writer.Builder().DB());
        sample_piles::AddSamplePileChecks(writer.Builder().DB());
        sample_checks::AddSampleRaftChecks(writer.Builder().DB());
        sample_design_colf::AddSampleFootingDesign(writer.Builder().DB());
    }
    if (writer.GetRefusedCount() != 0) {
        HostMessage("%ld generated records were refused by the database", writer.GetRefusedCount());
        return HOST_EXIT_FAILED;
    }
    progress.Enter(1);
    if (int status = file.Begin()) return status;
    if (!writer.Builder().Save(file.GetTempPath().c_str())) {
        const char* why = writer.Builder().GetLastError();
        return file.Fail(why && *why ? why : "unknown error");
    }
    if (int status = file.Commit()) return status;
    CHostProgress::Finish();
    const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    if (frameBays > 0)
        std::printf("Wrote %s: frame of %d x %d bays, %ld members, %.2f s\n", out.c_str(), frame.GetBays(), frame.GetBays(),
                    frame.GetMemberCount(), secs);
    else if (wallPlates > 0)
        std::printf("Wrote %s: %ld walls of %d x %d bays and %d storeys, %ld wall plates, %.2f s\n", out.c_str(),
                    walls.GetWallCount(), walls.GetBays(), walls.GetBays(), walls.GetStoreys(), walls.GetPlateCount(), secs);
    else if (nPiles > 0)
        std::printf("Wrote %s: raft on %ld piles in %d columns, %.2f s\n", out.c_str(), pileField.GetPileCount(),
                    pileField.GetColumns(), secs);
    else
        std::printf("Wrote %s: raft of %d x %d plates (%ld), %ld settlement points, %.2f s\n", out.c_str(),
                    project.GetRaftCellsX(), project.GetRaftCellsY(),
                    static_cast<long>(project.GetRaftCellsX()) * project.GetRaftCellsY(),
                    project.GetSettlementPointCount(), secs);
    return HOST_EXIT_OK;
}

// Defined before the registrar, which is made after it in this file.
const std::string kDefaultSize = std::to_string(CSampleProject::kDefaultRaftPlates);

const CHostCommandRegistrar kRegisterMakeSample({"make-sample",
                                       "Writes the sample project: a three-storey building on a raft with piles,\n"
                                       "isolated footings, columns, beams, walls, slabs and a truss, with dead, live\n"
                                       "and wind cases, combinations and an envelope, static, modal, time-history and\n"
                                       "settlement results. The results are SAMPLE DATA made by simple closed-form\n"
                                       "mechanics, not an analysis: tributary areas, fixed-end beams, the raft as a\n"
                                       "plate on springs, a shear building for the modes, Boussinesq settlement.\n"
                                       "--frame-bays writes a frame project instead: N x N bays of 6 m, three storeys,\n"
                                       "columns and beams only (about 9 N^2 members), DL, LL and 1.3DL+1.5LL.\n"
                                       "--wall-plates writes a wall project instead: shear walls on the bay edges of a\n"
                                       "square plan, three storeys, each storey of a wall 72 plates of 0.5 m, each\n"
                                       "floor a slab of 0.5 x 1 m plates, supports at the walls' feet, DL, WX and\n"
                                       "1.2DL+1.4WX.\n"
                                       "--piles writes a pile project instead: a raft on N piles of a 2.4 m grid,\n"
                                       "DL and LL reactions at the pile tips and the pile checks.",
                                       RunMakeSample, 90,
                                       {{"--out", EHostValue::kPath, "FILE.pvxdb",
                                         "the project file to write (a missing folder is made)", nullptr, 0, 0,
                                         HOST_OPT_REQUIRED},
                                        {"--size", EHostValue::kInteger, "N",
                                         "the least number of raft plates (the raft is 4k x 3k plates)", kDefaultSize.c_str(), 1,
                                         CSampleProject::kMaxRaftPlates},
                                        {"--settle-points", EHostValue::kInteger, "N",
                                         "at least N settlement points (a grid over the raft in its proportions, and the\n"
                                         "two footings) instead of the 3 m grid's 65",
                                         nullptr, 3, CSampleProject::kMaxSettlePoints},
                                        {"--frame-bays", EHostValue::kInteger, "N",
                                         "a frame project of N x N bays instead of the building", nullptr, 1,
                                         CFrameSampleProject::kMaxBays},
                                        {"--wall-plates", EHostValue::kInteger, "N",
                                         "a wall project of at least N wall plates instead of the building", nullptr, 1,
                                         CWallSampleProject::kMaxPlates},
                                        {"--piles", EHostValue::kInteger, "N",
                                         "a pile project of N piles under one raft instead of the building", nullptr, 1,
                                         CPileSampleProject::kMaxPiles}}});

}  // namespace
