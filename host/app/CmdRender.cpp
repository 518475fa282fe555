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
#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/BmpFile.h"

namespace {

struct RenderArgs {
    CHostViewRequest view;
    std::string strOut;
};

bool ParseArgs(const std::vector<std::string>& args, RenderArgs& a) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& opt = args[i];
        if (opt != "--view" && opt != "--size" && opt != "--out" && opt != "--module") {
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

    // A picture that cannot be saved is refused before the model is drawn.
    if (!CheckOutputFolder("render", a.strOut)) return HOST_EXIT_FAILED;

    CHostResultView rv("render");
    if (!rv.Open(options, a.view)) return HOST_EXIT_FAILED;
    if (!WriteBmp24(a.strOut.c_str(), rv.GetCtrl()->GetMemDC())) {
        std::fprintf(stderr, "pvxhost render: cannot write \"%s\"\n", a.strOut.c_str());
        return HOST_EXIT_FAILED;
    }
    std::printf("Wrote %s: %ldx%ld, %s view of %s\n", a.strOut.c_str(), a.view.nWidth, a.view.nHeight,
                a.view.pszView, options.strDBPath.c_str());
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegister({"render", "[--view iso|plan|front|right] [--size WxH] --out FILE.bmp [--module PATH]",
                                       "Draws the project's model in the results module's result view (plain model,\n"
                                       "flat faces) seen from the given direction, fitted to the picture, and writes\n"
                                       "the picture as a 24-bit BMP. Default view iso, default size 1024x768.",
                                       RunRender, 30});

}  // namespace
