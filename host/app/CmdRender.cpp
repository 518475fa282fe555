// pvxhost render: draws the open project in the module's result view and saves the picture.
//
// The host side of a redraw, as the host application does it: load the results module, create
// its result view by class name, enter the result view mode (PV_OnModeChange), turn the view to
// a standard direction fitted to the model, let the view paint (the control asks the model to
// render into its memory image, PV_OnRedrawOnly) and write that memory image as a 24-bit BMP.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "host/app/HostCommand.h"
#include "host/app/HostSession.h"
#include "host/app/ModuleLoader.h"
#include "host/base/I_PVXModelBase.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/BmpFile.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CUiDriver.h"

namespace {

constexpr long kMaxSide = 16384;  // pixels; a larger picture is refused, not attempted

struct RenderArgs {
    int nView = GViewCamera::VIEW_ISO;
    const char* pszView = "iso";
    long nWidth = 1024;
    long nHeight = 768;
    std::string strOut;
    std::string strModule;
};

bool ParseView(const std::string& v, RenderArgs& a) {
    static const struct {
        const char* name;
        int view;
    } kViews[] = {{"iso", GViewCamera::VIEW_ISO},
                  {"plan", GViewCamera::VIEW_TOP},
                  {"front", GViewCamera::VIEW_FRONT},
                  {"right", GViewCamera::VIEW_RIGHT}};
    for (const auto& k : kViews)
        if (v == k.name) {
            a.nView = k.view;
            a.pszView = k.name;
            return true;
        }
    std::fprintf(stderr, "pvxhost render: unknown view \"%s\" (use iso, plan, front or right)\n", v.c_str());
    return false;
}

bool ParseSize(const std::string& v, RenderArgs& a) {
    const size_t x = v.find_first_of("xX");
    if (x == std::string::npos) {
        std::fprintf(stderr, "pvxhost render: --size wants WIDTHxHEIGHT in pixels, e.g. 1920x1080, not \"%s\"\n",
                     v.c_str());
        return false;
    }
    return ParseIntArgument("render --size width", v.substr(0, x), 16, kMaxSide, a.nWidth) &&
           ParseIntArgument("render --size height", v.substr(x + 1), 16, kMaxSide, a.nHeight);
}

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
        if (opt == "--view" && !ParseView(v, a)) return false;
        if (opt == "--size" && !ParseSize(v, a)) return false;
        if (opt == "--out") a.strOut = v;
        if (opt == "--module") a.strModule = v;
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
    const size_t slash = a.strOut.find_last_of('/');
    const std::string dir = slash == std::string::npos ? "." : (slash == 0 ? "/" : a.strOut.substr(0, slash));
    if (::access(dir.c_str(), W_OK) != 0) {
        std::fprintf(stderr, "pvxhost render: cannot write \"%s\": the folder \"%s\" %s\n", a.strOut.c_str(),
                     dir.c_str(), errno == ENOENT ? "does not exist" : "is not writable");
        return HOST_EXIT_FAILED;
    }

    CHostSession session;
    if (!session.Open(options.strDBPath)) return HOST_EXIT_FAILED;

    CPVXModuleLoader loader;
    const std::string module = a.strModule.empty() ? CPVXModuleLoader::DefaultModulePath() : a.strModule;
    if (!loader.Load(module) || !loader.OpenResultView()) {
        std::fprintf(stderr, "pvxhost render: %s\n", loader.GetLastError().c_str());
        return HOST_EXIT_FAILED;
    }
    GRenderView* pView = loader.GetResultView();
    I_PVXCtrl* pCtrl = pView->GetI_PVXCtrl();
    I_PVXModelBase* pModel = pCtrl->GetI_PVXModel();
    if (!pModel) {
        std::fprintf(stderr, "pvxhost render: the result view has no result model to draw\n");
        return HOST_EXIT_FAILED;
    }

    const int w = static_cast<int>(a.nWidth), h = static_cast<int>(a.nHeight);
    pView->MoveWindow(0, 0, w, h, FALSE);
    if (pCtrl->GetClientRect().Width() != w || pCtrl->GetClientRect().Height() != h) pCtrl->SetClientSize(w, h);

    // Painting reaches shown windows only, as on screen.
    if (CFrameWnd* pFrame = pView->GetParentFrame()) pFrame->ShowWindow(SW_SHOW);
    pView->ShowWindow(SW_SHOW);
    pModel->PV_OnModeChange();
    pCtrl->SetStandardView(a.nView);
    pCtrl->InvalidateImage();
    pView->Invalidate(FALSE);
    pView->UpdateWindow();
    AfxPumpMessages();
    if (!pCtrl->IsImageValid()) {
        std::fprintf(stderr,
                     "pvxhost render: the results module did not draw the view when the host asked it to "
                     "repaint (\"%s\")\n",
                     module.c_str());
        return HOST_EXIT_FAILED;
    }
    if (!WriteBmp24(a.strOut.c_str(), pCtrl->GetMemDC())) {
        std::fprintf(stderr, "pvxhost render: cannot write \"%s\"\n", a.strOut.c_str());
        return HOST_EXIT_FAILED;
    }
    std::printf("Wrote %s: %dx%d, %s view of %s\n", a.strOut.c_str(), w, h, a.pszView, options.strDBPath.c_str());
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegister({"render", "[--view iso|plan|front|right] [--size WxH] --out FILE.bmp [--module PATH]",
                                       "Draws the project's model in the results module's result view (plain model,\n"
                                       "flat faces) seen from the given direction, fitted to the picture, and writes\n"
                                       "the picture as a 24-bit BMP. Default view iso, default size 1024x768.",
                                       RunRender, 30});

}  // namespace
