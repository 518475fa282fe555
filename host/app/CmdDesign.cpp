// pvxhost design: draws one design figure of the project through the results module's design
// result data engine, as the host application drives it.
//
// The view is opened as for `render`; the module's PVXHost_ShowDesign then makes the design
// engine for the view's model, sets the figure mode and runs the mode's builders, and the view
// paints the model, the mode's member walk, the numbers and the design legend. The picture is
// written as the window shows it; what it shows (labels, curves, legend range) is
// printed after it, and with --list the records the engine's getters hand out.
//
//     pvxhost design 28 --view plan --out acr.bmp
//     pvxhost design 21 --list --out as.emf
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/app/HostOutput.h"
#include "host/app/HostResultView.h"
#include "host/app/ModeTable.h"
#include "host/base/I_PVXModelBase.h"
#include "host/base/PVXHostDesign.h"

namespace {

// Decimals of the design figures' number labels, as the host application writes them.
constexpr int kDecimals = 2;

// The figure modes the module's design engine takes, with what each shows.
struct DesignMode {
    int nFirst, nLast;
    const char* pszName;
    bool bLoad;      // reads the forces of a load
    bool bEnvelope;  // envelopes over the design combinations, or of one load
};
const DesignMode kModes[] = {
    {21, 21, "area steel", false, false},
    {23, 23, "beam steel", false, false},
    {28, 28, "axial-compression ratio", false, false},
    {35, 35, "beam moment envelope", false, true},
    {36, 36, "beam shear envelope", false, true},
    {42, 56, "base-column forces", true, false},
};

// Figure 40's output draws nothing: the host does not offer it and names the figure that labels
// column forces. Figures 43 to 56 have no meaning of their own: they draw as 42.
constexpr long kNoNumbersMode = 40;
constexpr long kBaseForceMode = 42;

const DesignMode* FindMode(long n) {
    for (const DesignMode& m : kModes)
        if (n >= m.nFirst && n <= m.nLast) return &m;
    return nullptr;
}

std::string ModeList() {
    std::string s;
    for (const DesignMode& m : kModes) {
        if (!s.empty()) s += ", ";
        s += std::to_string(m.nFirst) + " " + m.pszName;
        if (m.nLast != m.nFirst)
            s += " (" + std::to_string(m.nFirst + 1) + " to " + std::to_string(m.nLast) + " draw as " +
                 std::to_string(m.nFirst) + ")";
    }
    return s;
}

std::vector<CHostOption> DesignOptions() {
    std::vector<CHostOption> options = {
        {"--out", EHostValue::kPath, "FILE.bmp|FILE.emf",
         "the picture to write: a 24-bit BMP or an enhanced metafile (required unless --list is given)"},
        {"--load", EHostValue::kText, "NAME",
         "the load case or combination whose member forces the base-force figure (42) reads, by "
         "its exact name or key; default: the first load with frame forces. The envelope figures (35, 36) take the "
         "largest and smallest over the design combinations (0, the default) or the forces of the one load "
         "given. The other figures draw design results, which no load chooses: there it has no effect"},
        {"--view", EHostValue::kChoice, "plan|iso", "direction the model is seen from, fitted to the picture",
         "plan"},
        {"--list", EHostValue::kFlag, "",
         "prints the records the design engine hands out for the figure (axial-compression ratios with their "
         "extremes, area-steel records, steel diagrams, column-force labels, envelopes, base forces) and the "
         "legend range"},
    };
    for (const CHostOption& o : CHostViewRequest::Options())
        if (std::string(o.pszName) != "--view") options.push_back(o);
    return options;
}

void PrintLine(void*, const char* pszLine) { std::printf("%s\n", pszLine); }

int RunDesign(const CHostOptions& options, const CHostArgs& args) {
    CHostViewRequest view;
    view.Read(args);
    const std::string word = args.GetOperand();
    char* end = nullptr;
    const long nMode = word.empty() ? 0 : std::strtol(word.c_str(), &end, 10);
    const DesignMode* pMode = word.empty() || *end ? nullptr : FindMode(nMode);
    if (pMode == nullptr && !word.empty() && !*end && nMode == kNoNumbersMode) {
        HostMessage("figure 40 is not offered: its column-force output draws nothing; figure %ld labels the base "
                    "forces of the columns standing on the foundation (the modes: %s)",
                    kBaseForceMode, ModeList().c_str());
        return HOST_EXIT_USAGE;
    }
    if (!pMode) {
        HostMessage(word.empty() ? "give the figure mode: %s" : "no design figure mode \"%s\"; the modes: %s",
                    word.empty() ? ModeList().c_str() : word.c_str(), ModeList().c_str());
        return HOST_EXIT_USAGE;
    }
    const bool bList = args.Has("--list");
    const std::string strOut = args.Get("--out");
    if (strOut.empty() && !bList) {
        HostMessage("--out FILE.bmp|FILE.emf is required (see pvxhost help design)");
        return HOST_EXIT_USAGE;
    }
    if (nMode > kBaseForceMode && nMode <= pMode->nLast)
        HostMessage("note: figure %ld draws as figure %ld (the base forces of the columns standing on the "
                    "foundation); figures 43 to 56 have no meaning of their own",
                    nMode, kBaseForceMode);
    const std::string strLoad = args.Get("--load");
    if (!strLoad.empty() && !pMode->bLoad && !pMode->bEnvelope)
        HostMessage("note: --load has no effect in figure %ld (%s): its design results do not depend on a load",
                    nMode, pMode->pszName);

    const bool bEmf = !strOut.empty() && OutputExtension(strOut) == "emf";
    CHostOutputFile out(strOut, bEmf ? CHostOutputFile::kEmf : CHostOutputFile::kBmp);
    if (!strOut.empty())
        if (int status = out.Check(options.strDBPath)) return status;

    std::vector<CHostProgress::Step> steps = CHostResultView::Steps();
    steps.push_back({"building figure " + word, 20});
    if (!strOut.empty()) steps.push_back({"writing " + strOut, bEmf ? 30.0 : 2.0});
    CHostProgress progress(steps);
    CHostResultView rv;
    view.bMetafile = bEmf;
    if (!rv.Open(options, view, &progress)) return rv.GetFailStatus();
    progress.Enter(CHostResultView::Steps().size());

    // The column forces are those of a load, found as the frame-force display finds its load.
    PVXHostDesignRequest req{};
    req.nFigureMode = static_cast<int>(nMode);
    req.bList = bList ? 1 : 0;
    req.nDecimals = kDecimals;
    CHostResultChoice load;
    if (pMode->bLoad) {
        if (int status = load.Parse("6", strLoad, "", {})) return status;
        if (int status = load.Resolve(*rv.GetDB())) return status;
        req.bLoad = 1;
        req.nLoadType = load.GetLoadType();
        req.nLoadKey = load.GetLoadKey();
        req.nLoadStep = 0;
        req.pszLoadName = load.GetLoadName().c_str();
    } else if (pMode->bEnvelope && !strLoad.empty() && strLoad != "0") {
        if (int status = load.Parse("6", strLoad, "", {})) return status;
        if (int status = load.Resolve(*rv.GetDB())) return status;
        req.nLoadKey = load.GetLoadKey();
    }
    auto show = reinterpret_cast<PFN_PVXHOST_SHOW_DESIGN>(rv.GetLoader().GetSymbol(PVXHOST_SHOW_DESIGN));
    if (!show) {
        HostMessage("the results module cannot draw design figures (no " PVXHOST_SHOW_DESIGN ")");
        return HOST_EXIT_FAILED;
    }
    PVXHostDesignReport rep{};
    if (show(rv.GetModel(), &req, &rep, PrintLine, nullptr) != PVXHOST_DRAWN) {
        HostMessage("figure %ld (%s): %s", nMode, pMode->pszName, rep.szMessage);
        return HOST_EXIT_FAILED;
    }

    // A listing alone draws no picture to size.
    if (!strOut.empty()) rv.SizeForTexts(view, rep.textFit);
    if (!strOut.empty()) {
        // The window as the person sees it with the figure: painted again, with its legend.
        progress.Enter(steps.size() - 1);
        if (int status = rv.WriteShownPicture(out, bEmf, view)) return status;
    }
    CHostProgress::Finish();
    // The forces the figure reads: a load's, or the envelope's over the design combinations.
    const std::string strLoadRead = pMode->bLoad || req.nLoadKey ? load.GetLoadName()
                                    : pMode->bEnvelope           ? std::string("the design combinations")
                                                                 : std::string();
    if (!strOut.empty())
        std::printf("Wrote %s: %ldx%ld, %s view of %s, design figure %ld (%s)%s%s%s%s\n", strOut.c_str(), view.nWidth,
                    view.nHeight, view.strView.c_str(), options.strDBPath.c_str(), nMode, pMode->pszName,
                    rv.GetPart().Describe().c_str(), strLoadRead.empty() ? "" : "; load ", strLoadRead.c_str(), view.strSizeNote.c_str());
    if (!strLoadRead.empty()) std::printf("load: %s\n", strLoadRead.c_str());
    std::printf("shows: %s\n", rep.szShows);
    // Storeys laid over each other say so where their numbers crowd: the beam envelopes (35, 36)
    // write the foundation beams' alone, and a figure without crowded texts has nothing to say.
    if (nMode != 35 && nMode != 36 && rep.textFit.nCrowded > rep.textFit.nTexts / 50)
        rv.PrintStackedPlanNote(view, true);
    return HOST_EXIT_OK;
}

const char* const kSummary =
    "Draws a design figure of the project through the results module's design result data engine, as\n"
    "the host application drives it. MODE: 21 area steel, 23 beam steel, 28 axial-compression ratio,\n"
    "35 and 36 beam moment and shear envelopes, 42 base-column forces. The engine is made for the\n"
    "view's model with the model's members, the figure's builders run, and the view paints the\n"
    "model, the figure's member walk, its numbers and its legend. The picture is written as the\n"
    "window shows it; what it shows is printed after it. Figure 23 draws each beam's top and bottom\n"
    "steel as bands on either side, filled in the legend's colours. Figures 35 and 36 draw two\n"
    "curves per foundation beam (largest and smallest moment y or shear z over the design\n"
    "combinations, or of the --load given), coloured by the legend's scale and labelled at start,\n"
    "middle and end. Figure 42 labels at every column standing on the foundation the five base\n"
    "forces of the load, FY, FZ, N, MY, MZ top to bottom, as its legend says; 43 to 56 draw as 42\n"
    "and say so. Figure 40 is not offered: its output draws nothing.";

const CHostCommandRegistrar kRegisterDesign({"design", kSummary, RunDesign, 34, DesignOptions(), "MODE"});

}  // namespace
