// pvxhost export: writes the result view of the open project as an enhanced metafile or a
// bitmap through the module's own export, as the host application's export commands do.
//
// The view is opened and painted as for `render`; the host then hands a temporary file beside
// the target to the model's export callback (PV_OnExportWindowsMetaFileEx for EMF, PV_OnExportBMP
// for BMP). The callbacks answer nothing, so the command checks what the module wrote: a whole
// file of the format (the byte count of its header, its last record) before it takes the
// target's place.
#include <cstdio>
#include <string>

#include "host/app/HostCommand.h"
#include "host/app/HostOutput.h"
#include "host/app/HostResultView.h"
#include "host/app/ModeTable.h"
#include "host/base/I_PVXModelBase.h"
#include "platform/afx/CString.h"

namespace {

struct ExportArgs {
    CHostViewRequest view;
    std::string strFormat;  // "emf" or "bmp"
    std::string strOut;
};

std::vector<CHostOption> ExportOptions() {
    std::vector<CHostOption> options = {
        {"--out", EHostValue::kPath, "FILE", "the file to write, named .emf or .bmp after its format", nullptr, 0, 0,
         HOST_OPT_REQUIRED},
        {"--format", EHostValue::kChoice, "emf|bmp",
         "enhanced metafile or 24-bit bitmap (default: the extension of --out)"},
    };
    for (const CHostOption& o : CHostViewRequest::Options()) options.push_back(o);
    for (const CHostOption& o : CHostResultChoice::Options()) options.push_back(o);
    return options;
}

void ReadExportArgs(const CHostArgs& args, ExportArgs& a) {
    a.view.Read(args);
    a.strOut = args.Get("--out");
    a.strFormat = args.Get("--format");
    // Without --format the name tells the format.
    const std::string ext = OutputExtension(a.strOut);
    if (a.strFormat.empty() && (ext == "emf" || ext == "bmp")) a.strFormat = ext;
}

int RunExport(const CHostOptions& options, const CHostArgs& args) {
    ExportArgs a;
    ReadExportArgs(args, a);
    CHostResultChoice result;
    if (int status = result.Read(args)) return status;
    const bool bEmf = a.strFormat != "bmp";
    CHostOutputFile out(a.strOut, bEmf ? CHostOutputFile::kEmf : CHostOutputFile::kBmp);
    if (a.strFormat.empty()) {
        // What the name leads to is told first (a device, a folder ...), then that it names no format.
        if (int status = out.CheckTarget(options.strDBPath)) return status;
        HostMessage("cannot tell the format from \"%s\": give a name ending in .emf or .bmp, or --format emf|bmp",
                    a.strOut.c_str());
        return HOST_EXIT_USAGE;
    }
    if (int status = out.Check(options.strDBPath)) return status;

    std::vector<CHostProgress::Step> steps = CHostResultView::Steps();
    steps.push_back({"exporting " + a.strOut, bEmf ? 60.0 : 40.0});
    CHostProgress progress(steps);
    CHostResultView rv;
    a.view.bMetafile = bEmf;
    if (!rv.Open(options, a.view, &progress, 0, &result))  // a load the project has not is a wrong request
        return result.GetResolveStatus() ? result.GetResolveStatus() : rv.GetFailStatus();
    progress.Enter(steps.size() - 1);
    if (int status = out.Begin()) return status;
    CString path(out.GetTempPath().c_str());
    if (bEmf)
        rv.GetModel()->PV_OnExportWindowsMetaFileEx(path);
    else
        rv.GetModel()->PV_OnExportBMP(&path);
    if (int status = bEmf ? out.Commit() : out.Commit(a.view.nWidth, a.view.nHeight)) return status;
    CHostProgress::Finish();
    std::printf("Wrote %s: %s, %ldx%ld, %s view of %s%s%s%s\n", a.strOut.c_str(), bEmf ? "EMF" : "BMP", a.view.nWidth,
                a.view.nHeight, a.view.strView.c_str(), options.strDBPath.c_str(), rv.GetPart().Describe().c_str(),
                DescribeHostShownResult(rv.GetLoader(), rv.GetModel()).c_str(), a.view.strSizeNote.c_str());
    result.PrintExtremes(rv.GetLoader(), rv.GetModel());
    rv.PrintStackedPlanNote(a.view);
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegisterExport({"export",
                                       "Writes the project's result view through the results module's own export:\n"
                                       "an enhanced metafile (emf) or a 24-bit bitmap (bmp). The view is set up as\n"
                                       "for render, with the result of --mode; a result's extremes are printed.",
                                       RunExport, 35, ExportOptions()});

}  // namespace
