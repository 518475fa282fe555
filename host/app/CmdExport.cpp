// pvxhost export: writes the result view of the open project as an enhanced metafile or a
// bitmap through the module's own export, as the host application's export commands do.
//
// The view is opened and painted as for `render`; the host then hands the file name to the
// model's export callback (PV_OnExportWindowsMetaFileEx for EMF, PV_OnExportBMP for BMP). The
// callbacks answer nothing, so the command checks the file itself: it must exist afterwards and
// differ from what was there before (a new file, or a new time, size or inode).
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "host/app/HostCommand.h"
#include "host/app/HostResultView.h"
#include "host/app/ModeTable.h"
#include "host/base/I_PVXModelBase.h"
#include "platform/afx/CString.h"

namespace {

struct ExportArgs {
    CHostViewRequest view;
    std::string strFormat;  // "emf" or "bmp"
    std::string strOut;
    std::string strMode, strLoad, strComponent;  // --mode, --load, --component
    std::vector<std::string> options;            // --option KEY=VALUE, in order
};

bool ParseArgs(const std::vector<std::string>& args, ExportArgs& a) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& opt = args[i];
        if (opt != "--format" && opt != "--view" && opt != "--size" && opt != "--out" && opt != "--module" &&
            opt != "--mode" && opt != "--load" && opt != "--component" && opt != "--option") {
            std::fprintf(stderr, "pvxhost export: unexpected argument \"%s\"\n", opt.c_str());
            return false;
        }
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "pvxhost export: %s needs a value\n", opt.c_str());
            return false;
        }
        const std::string& v = args[++i];
        if (opt == "--format") {
            if (v != "emf" && v != "bmp") {
                std::fprintf(stderr, "pvxhost export: unknown format \"%s\" (use emf or bmp)\n", v.c_str());
                return false;
            }
            a.strFormat = v;
        }
        if (opt == "--view" && !a.view.ParseView("export", v)) return false;
        if (opt == "--size" && !a.view.ParseSize("export", v)) return false;
        if (opt == "--out") a.strOut = v;
        if (opt == "--module") a.view.strModule = v;
        if (opt == "--mode") a.strMode = v;
        if (opt == "--load") a.strLoad = v;
        if (opt == "--component") a.strComponent = v;
        if (opt == "--option") a.options.push_back(v);
    }
    if (a.strFormat.empty()) {
        std::fprintf(stderr, "pvxhost export: --format emf|bmp is required\n");
        return false;
    }
    if (a.strOut.empty()) {
        std::fprintf(stderr, "pvxhost export: --out FILE is required\n");
        return false;
    }
    return true;
}

struct FileStamp {
    bool bExists = false;
    struct stat st {};
};

FileStamp StampOf(const std::string& path) {
    FileStamp s;
    s.bExists = ::stat(path.c_str(), &s.st) == 0;
    return s;
}

// Whether the export left a file that it wrote.
bool Written(const FileStamp& before, const FileStamp& after) {
    if (!after.bExists || after.st.st_size <= 0) return false;
    if (!before.bExists) return true;
    return after.st.st_ino != before.st.st_ino || after.st.st_size != before.st.st_size ||
           after.st.st_mtim.tv_sec != before.st.st_mtim.tv_sec || after.st.st_mtim.tv_nsec != before.st.st_mtim.tv_nsec;
}

int RunExport(const CHostOptions& options, const std::vector<std::string>& args) {
    ExportArgs a;
    if (!ParseArgs(args, a)) return HOST_EXIT_USAGE;
    CHostResultChoice result;
    if (int status = result.Parse("export", a.strMode, a.strLoad, a.strComponent, a.options)) return status;
    if (!CheckOutputFolder("export", a.strOut)) return HOST_EXIT_FAILED;

    CHostResultView rv("export");
    if (!rv.Open(options, a.view, &result)) return HOST_EXIT_FAILED;

    const FileStamp before = StampOf(a.strOut);
    CString path(a.strOut.c_str());
    if (a.strFormat == "emf")
        rv.GetModel()->PV_OnExportWindowsMetaFileEx(path);
    else
        rv.GetModel()->PV_OnExportBMP(&path);
    if (!Written(before, StampOf(a.strOut))) {
        std::fprintf(stderr, "pvxhost export: the results module did not write \"%s\"\n", a.strOut.c_str());
        return HOST_EXIT_FAILED;
    }
    std::printf("Wrote %s: %s, %ldx%ld, %s view of %s\n", a.strOut.c_str(), a.strFormat == "emf" ? "EMF" : "BMP",
                a.view.nWidth, a.view.nHeight, a.view.pszView, options.strDBPath.c_str());
    result.PrintExtremes(rv.GetLoader(), rv.GetModel());
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegister({"export",
                                       "--format emf|bmp --out FILE [--view iso|plan|front|right] [--size WxH] "
                                       "[--module PATH]\n"
                                       "    [--mode MODE [--load NAME] [--component NAME] [--option KEY=VALUE]...]",
                                       "Writes the project's result view through the results module's own export:\n"
                                       "an enhanced metafile (emf) or a 24-bit bitmap (bmp). The view is set up as\n"
                                       "for render, with the result of --mode. Default view iso, size 1024x768.",
                                       RunExport, 35});

}  // namespace
