// pvxhost render: draws the open project in the module's result view and saves the picture.
//
// The host side of a redraw, as the host application does it: load the results module, create
// its result view by class name, enter the result view mode (PV_OnModeChange), turn the view to
// a standard direction fitted to the model, let the view paint (the control asks the model to
// render into its memory image, PV_OnRedrawOnly) and write that memory image as a 24-bit BMP.
#include <cstdio>
#include <string>

#include "host/app/HostCommand.h"
#include "host/app/HostResultView.h"
#include "host/app/ModeTable.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/BmpFile.h"

namespace {

struct RenderArgs {
    CHostViewRequest view;
    std::string strOut;
    std::string strMode, strLoad, strComponent;  // --mode, --load, --component
    std::vector<std::string> options;            // --option KEY=VALUE, in order
};

bool ParseArgs(const std::vector<std::string>& args, RenderArgs& a) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& opt = args[i];
        if (opt != "--view" && opt != "--size" && opt != "--out" && opt != "--module" && opt != "--mode" &&
            opt != "--load" && opt != "--component" && opt != "--option") {
            std::fprintf(stderr, "pvxhost render: unexpected argument \"%s\"\n", opt.c_str());
            return false;
        }
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "pvxhost render: %s needs a value\n", opt.c_str());
            return false;
        }
        const std::string& v = args[++i];
        if (opt == "--view" && !a.view.ParseView("render", v)) return false;
        if (opt == "--size" && !a.view.ParseSize("render", v)) return false;
        if (opt == "--out") a.strOut = v;
        if (opt == "--module") a.view.strModule = v;
        if (opt == "--mode") a.strMode = v;
        if (opt == "--load") a.strLoad = v;
        if (opt == "--component") a.strComponent = v;
        if (opt == "--option") a.options.push_back(v);
    }
    if (a.strOut.empty()) {
        std::fprintf(stderr, "pvxhost render: --out FILE.bmp is required\n");
        return false;
    }
    return true;
}

int RunRender(const CHostOptions& options, const std::vector<std::string>& args) {
    RenderArgs a;
    if (!ParseArgs(args, a)) return HOST_EXIT_USAGE;
    CHostResultChoice result;
    if (int status = result.Parse("render", a.strMode, a.strLoad, a.strComponent, a.options)) return status;

    // A picture that cannot be saved is refused before the model is drawn.
    if (!CheckOutputFolder("render", a.strOut)) return HOST_EXIT_FAILED;

    CHostResultView rv("render");
    if (!rv.Open(options, a.view, &result)) return HOST_EXIT_FAILED;
    // The picture as the window shows it: the memory image, the legend and its triad.
    if (!WriteBmp24(a.strOut.c_str(), rv.GetWindowPicture())) {
        std::fprintf(stderr, "pvxhost render: cannot write \"%s\"\n", a.strOut.c_str());
        return HOST_EXIT_FAILED;
    }
    std::printf("Wrote %s: %ldx%ld, %s view of %s\n", a.strOut.c_str(), a.view.nWidth, a.view.nHeight,
                a.view.pszView, options.strDBPath.c_str());
    result.PrintExtremes(rv.GetLoader(), rv.GetModel());
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegister({"render",
                                       "[--view iso|plan|front|right] [--size WxH] --out FILE.bmp [--module PATH]\n"
                                       "    [--mode MODE [--load NAME] [--component NAME] [--option KEY=VALUE]...]",
                                       "Draws the project's model in the results module's result view (the plain model,\n"
                                       "or with --mode a result, see below) seen from the given direction, fitted to the\n"
                                       "picture, and writes the picture as the window shows it (with the legend) as a\n"
                                       "24-bit BMP; a result's extremes are printed. Default view iso, size 1024x768.",
                                       RunRender, 30});

}  // namespace
