// pvxhost render: draws the open project in the module's result view and saves the picture.
//
// The host side of a redraw, as the host application does it: load the results module, create
// its result view by class name, enter the result view mode (PV_OnModeChange), turn the view to
// a standard direction fitted to the model, let the view paint (the control asks the model to
// render into its memory image, PV_OnRedrawOnly) and write that memory image as a 24-bit BMP.
#include <cstdio>
#include <string>

#include "host/app/HostCommand.h"
#include "host/app/HostOutput.h"
#include "host/app/HostResultView.h"
#include "host/app/ModeTable.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/BmpFile.h"

namespace {

struct RenderArgs {
    CHostViewRequest view;
    std::string strOut;
};

std::vector<CHostOption> RenderOptions() {
    std::vector<CHostOption> options = {
        {"--out", EHostValue::kPath, "FILE.bmp", "the picture to write, a 24-bit BMP", nullptr, 0, 0, HOST_OPT_REQUIRED},
    };
    for (const CHostOption& o : CHostViewRequest::Options()) options.push_back(o);
    for (const CHostOption& o : CHostResultChoice::Options()) options.push_back(o);
    return options;
}

void ReadRenderArgs(const CHostArgs& args, RenderArgs& a) {
    a.view.Read(args);
    a.strOut = args.Get("--out");
}

int RunRender(const CHostOptions& options, const CHostArgs& args) {
    RenderArgs a;
    ReadRenderArgs(args, a);
    CHostResultChoice result;
    if (int status = result.Read(args)) return status;

    // A picture that cannot be saved is refused before the model is drawn.
    CHostOutputFile out(a.strOut, CHostOutputFile::kBmp);
    if (int status = out.Check(options.strDBPath)) return status;

    std::vector<CHostProgress::Step> steps = CHostResultView::Steps();
    steps.push_back({"writing " + a.strOut, 2});
    CHostProgress progress(steps);
    CHostResultView rv;
    if (!rv.Open(options, a.view, &progress, 0, &result))  // a load the project has not is a wrong request
        return result.GetResolveStatus() ? result.GetResolveStatus() : rv.GetFailStatus();
    if (rv.RowsRefused()) return HOST_EXIT_FAILED;
    progress.Enter(steps.size() - 1);
    if (int status = out.Begin()) return status;
    // A failed write explains itself; Commit then finds no whole file and leaves the target alone.
    // The picture as the window shows it: the memory image, the legend and its triad.
    WriteBmp24(out.GetTempPath().c_str(), rv.GetWindowPicture());
    if (int status = out.Commit(a.view.nWidth, a.view.nHeight)) return status;
    CHostProgress::Finish();
    std::printf("Wrote %s: %ldx%ld, %s view of %s%s%s%s\n", a.strOut.c_str(), a.view.nWidth, a.view.nHeight,
                a.view.strView.c_str(), options.strDBPath.c_str(), rv.GetPart().Describe().c_str(),
                DescribeHostShownResult(rv.GetLoader(), rv.GetModel()).c_str(), a.view.strSizeNote.c_str());
    result.PrintExtremes(rv.GetLoader(), rv.GetModel());
    rv.PrintStackedPlanNote(a.view);
    return HOST_EXIT_OK;
}

// What render does, then the display modes, components and option keys of --mode.
const char* RenderSummary() {
    static const std::string text =
        std::string("Draws the project's model in the results module's result view (the plain model, or with\n"
                    "--mode a result) seen from the given direction, fitted to the picture, and writes the\n"
                    "picture as the window shows it (with the legend) as a 24-bit BMP; a result's extremes\n"
                    "are printed.\n\n") +
        GetHostResultHelp();
    return text.c_str();
}

const CHostCommandRegistrar kRegisterRender({"render", RenderSummary(), RunRender, 30, RenderOptions()});

}  // namespace
