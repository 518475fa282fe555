// pvxhost show: shows a result through the results module's result bars, as a person does.
//
// The view is opened as for `render`; the host's docking bar then opens the bar container that
// offers the result, as the view's result command does, and the container shows the result's
// page. Each --load and --set goes to a control of the page (or of the container) through the
// scripted user of CUiDriver, then the page's Apply button is pressed. The picture is written
// as the window shows it (with the legend), followed by the result's extremes. The page's own
// refusals (message boxes) are printed and end the command with status 1.
//
//     pvxhost show --list
//     pvxhost show 7204 --list-controls
//     pvxhost show 7101 --load DL --set scale=2 --out r.bmp
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/app/HostDockBar.h"
#include "host/app/HostOutput.h"
#include "host/app/HostPageControls.h"
#include "host/app/HostResultView.h"
#include "host/app/ModeTable.h"
#include "host/base/CFormViewInBar.h"
#include "host/base/CMouseEdit.h"
#include "host/base/CMsgDll.h"
#include "host/base/CPHPageDlg.h"
#include "host/base/I_PVXModelBase.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/BmpFile.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "host/db/CDBDoc.h"
#include "platform/ui/CUiDriver.h"

namespace {

std::vector<CHostOption> ShowOptions() {
    std::vector<CHostOption> options = {
        {"--out", EHostValue::kPath, "FILE.bmp|FILE.emf", "the picture to write: a 24-bit BMP or an enhanced metafile"},
        {"--load", EHostValue::kText, "NAME",
         "the load case or combination chosen in the page's load list, by its exact name or by the key info "
         "prints; default: "
         "the page's own load when it has the result, else the first load that has it"},
        {"--set", EHostValue::kText, "CONTROL=VALUE",
         "sets a control of the page or the bar, by id or name (see --list-controls): a check box 0 or 1, a radio "
         "group the index of its button, a list an item's index or text (a list box: several joined by '+', an "
         "item's text holding '+' taken whole, and ITEM:0 or ITEM:1 clears or sets the item's check box), an edit "
         "its text, a point-picking edit X,Y[,Z] "
         "(picked in the view), a node-picking edit a node key (that node picked in the view), a button 1 (pressed)",
         nullptr, 0, 0, HOST_OPT_REPEATABLE},
        {"--save", EHostValue::kFlag, "",
         "writes what the page changed in the project (the slab strips, and the settings of the pages shown, which "
         "the next show of their results starts from) into the project file, in place, in one transaction, after "
         "the picture; without it the file is not written"},
        {"--details", EHostValue::kText, "BUTTON",
         "presses a \"...\" button of the page, by id or name (values-more, deformed-more ...), before Apply: the "
         "details dialog it opens takes the --detail-set values and its OK is pressed"},
        {"--detail-set", EHostValue::kText, "CONTROL=VALUE",
         "sets a control of the details dialog, by id or name (decimals, exponent, ratio, angle, scale ...), or with "
         "--cut of the cutting-line window (factor, values, minmax, direction ...), as --set does on the page",
         nullptr, 0, 0, HOST_OPT_REPEATABLE},
        {"--cut", EHostValue::kText, "X1,Y1,X2,Y2",
         "a cutting line from (X1, Y1) to (X2, Y2) in plan, m: the page's cut or section \"...\" button opens the "
         "cutting-line window, the two points are picked in the view and Add is pressed (the line is added to the "
         "project's cutting lines and selected); --detail-set then sets that window (factor, values, minmax, "
         "direction ...); the page's cut or section box draws the lines (pages 7204, 7307, 7308)",
         nullptr, 0, 0, HOST_OPT_REPEATABLE},
        {"--list", EHostValue::kFlag, "", "prints every result id with its bar container, its page and its title"},
        {"--list-controls", EHostValue::kFlag, "",
         "prints the controls of the result's bar and page: id, name, kind, caption and value"},
    };
    for (const CHostOption& o : CHostViewRequest::Options()) options.push_back(o);
    return options;
}

// Cutting lines as a person adds them: the page's cut or section "..." button opens the result
// view's cutting-line window, each line's two points are picked in the view and Add is pressed
// (the window selects the line it adds); then the window's other controls take their settings.
// 0, or the exit status after a message.
int RunCuts(CPHPageDlg* pPage, long nResult, CWnd* pView, const std::vector<std::string>& cuts,
            const std::vector<std::pair<std::string, std::string>>& settings, size_t nBoxes) {
    UINT nButton = 0;
    for (const CBarControlName& n : pPage->GetControlNames())
        if (n.pszName && (std::string(n.pszName) == "cut-more" || std::string(n.pszName) == "section-more"))
            nButton = n.nID;
    CWnd* pButton = nButton ? pPage->GetDlgItem(static_cast<int>(nButton)) : nullptr;
    if (!pButton || !(pButton->GetStyle() & WS_VISIBLE)) {
        HostMessage("the page of result %ld has no cutting-line window (the pages with a cut or section box: 7204, "
                    "7307, 7308)",
                    nResult);
        return HOST_EXIT_USAGE;
    }
    if (!pButton->IsWindowEnabled()) {
        HostMessage("the cutting-line button of the page of result %ld cannot be pressed now", nResult);
        return HOST_EXIT_FAILED;
    }
    CUiDialogSession(pPage).ClickButton(nButton);
    CWnd* pDlg = hostpage::FindCutLineWindow(pView);
    if (!pDlg) {
        HostMessage("the page's cutting-line button opened no cutting-line window");
        return HOST_EXIT_FAILED;
    }
    for (const std::string& c : cuts) {
        double v[4];
        if (!ReadHostCut(c, v)) {
            HostMessage("--cut takes X1,Y1,X2,Y2: four numbers (m, within 1e9) of two different points, not \"%s\"",
                        c.c_str());
            return HOST_EXIT_USAGE;
        }
        char p1[80], p2[80];
        std::snprintf(p1, sizeof p1, "%.17g,%.17g", v[0], v[1]);
        std::snprintf(p2, sizeof p2, "%.17g,%.17g", v[2], v[3]);
        if (int status = hostpage::SetDialogControls(pDlg, {{"point1", p1}, {"point2", p2}, {"add", "1"}})) return status;
        if (hostpage::ReportRefusals(nBoxes)) return HOST_EXIT_FAILED;
    }
    if (int status = hostpage::SetDialogControls(pDlg, settings)) return status;
    return hostpage::ReportRefusals(nBoxes) ? HOST_EXIT_FAILED : 0;
}

std::string TitleOf(const std::string& key) {
    CString text;
    if (key.empty() || !CMsgDll::LookupString(key.c_str(), text)) return "";
    return text.GetString();
}

int RunList(const CHostViewRequest& view) {
    CPVXModuleLoader loader;
    const std::string path = view.strModule.empty() ? CPVXModuleLoader::DefaultModulePath() : view.strModule;
    if (!loader.Load(path)) {
        HostMessage("%s", loader.GetLastError().c_str());
        return HOST_EXIT_FAILED;
    }
    std::vector<std::string> missing;
    const std::vector<CHostDockBar::Offer> offers = CHostDockBar::GetOffers(&missing);
    std::printf("%-7s %-28s %-22s %s\n", "RESULT", "CONTAINER", "PAGE", "TITLE");
    for (const CHostDockBar::Offer& o : offers)
        std::printf("%-7d %-28s %-22s %s%s\n", o.nResultId, o.strContainer.c_str(), o.strPageClass.c_str(),
                    o.strTitleKey.empty() ? "-" : TitleOf(o.strTitleKey).c_str(),
                    o.bPageBuilt ? "" : " (page not built yet)");
    for (const std::string& m : missing) HostMessage("the module has no bar container %s yet", m.c_str());
    return HOST_EXIT_OK;
}

int RunShow(const CHostOptions& options, const CHostArgs& args) {
    CHostViewRequest view;
    view.Read(args);
    if (args.Has("--list")) return RunList(view);

    const std::string word = args.GetOperand();
    const long nResult = hostpage::ReadResultOperand(word, "show");
    if (!nResult) return HOST_EXIT_USAGE;
    const bool bListControls = args.Has("--list-controls");
    const std::string strOut = args.Get("--out");
    if (!bListControls && strOut.empty()) {
        HostMessage("--out FILE.bmp|FILE.emf is required (see pvxhost help show)");
        return HOST_EXIT_USAGE;
    }
    // --set and --detail-set words are checked before anything is opened.
    std::vector<std::pair<std::string, std::string>> sets, detailSets;
    if (!hostpage::ReadSetWords(args.GetAll("--set"), "--set", sets) ||
        !hostpage::ReadSetWords(args.GetAll("--detail-set"), "--detail-set", detailSets))
        return HOST_EXIT_USAGE;
    const std::vector<std::string> cuts = args.GetAll("--cut");
    if (!detailSets.empty() && args.Has("--details") == !cuts.empty()) {
        HostMessage(cuts.empty() ? "--detail-set sets a control of the dialog --details opens: give --details BUTTON"
                                 : "--detail-set sets the controls of one window: give --details or --cut, not both");
        return HOST_EXIT_USAGE;
    }
    const bool bEmf = OutputExtension(strOut) == "emf";
    CHostOutputFile out(strOut, bEmf ? CHostOutputFile::kEmf : CHostOutputFile::kBmp);
    if (!bListControls)
        if (int status = out.Check(options.strDBPath)) return status;

    std::vector<CHostProgress::Step> steps = CHostResultView::Steps();
    steps.push_back({"showing result " + word, 30});
    if (!bListControls) steps.push_back({"writing " + strOut, bEmf ? 30.0 : 2.0});
    CHostProgress progress(steps);
    CHostResultView rv;
    view.bMetafile = bEmf;
    if (!rv.Open(options, view, &progress)) return rv.GetFailStatus();
    progress.Enter(CHostResultView::Steps().size());

    // The bar, as the view's result command opens it.
    CHostDockBar bar;
    CHostDockBar::Offer offer;
    CFormViewInBar* pBar = nullptr;
    const size_t nBoxes = CUiDriver::Get().MessageBoxes().size();
    if (int status = hostpage::OpenResultBar(bar, nResult, rv.GetView()->GetParentFrame(), offer, pBar)) return status;
    CWnd* pPageWnd = pBar->GetShownPageWnd();
    auto* pPage = dynamic_cast<CPHPageDlg*>(pPageWnd);
    std::vector<hostpage::Control> controls;
    if (pPage) controls = hostpage::CollectControls(pPage, pPage->GetControlNames());
    const std::vector<hostpage::Control> barControls = hostpage::CollectControls(pBar, pBar->GetControlNames());
    controls.insert(controls.end(), barControls.begin(), barControls.end());

    if (bListControls) {
        hostpage::PrintControls(("bar " + offer.strContainer + ":").c_str(), barControls, nResult);
        if (!pPage) {
            HostMessage("result %ld: its page %s is not built yet", nResult, offer.strPageClass.c_str());
            return HOST_EXIT_FAILED;
        }
        std::vector<hostpage::Control> pageControls(controls.begin(), controls.end() - static_cast<long>(barControls.size()));
        hostpage::PrintControls(("page " + offer.strPageClass + " of result " + word + ":").c_str(), pageControls, nResult);
        return HOST_EXIT_OK;
    }
    if (!pPage) {
        HostMessage("result %ld: its page %s is not built yet, so the bar %s cannot show it", nResult,
                    offer.strPageClass.c_str(), offer.strContainer.c_str());
        return HOST_EXIT_FAILED;
    }

    // The load, then each control, as a person sets them. The load is the one render takes for
    // the page's display mode: the one named (by name or key), else the first with the result.
    std::string strLoad = args.Get("--load");
    if (int status = hostpage::ResolvePageLoad(static_cast<int>(nResult), controls, rv.GetDB(), strLoad)) return status;
    if (!strLoad.empty()) sets.insert(sets.begin(), {"load", strLoad});
    if (int status = hostpage::SetPageControls(pBar, nResult, sets, nBoxes)) return status;
    // The page after the controls: a radio of the bar may have shown another page.
    pPage = dynamic_cast<CPHPageDlg*>(pBar->GetShownPageWnd());
    if (pPage && !cuts.empty())
        if (int status = RunCuts(pPage, nResult, rv.GetView(), cuts, detailSets, nBoxes)) return status;
    if (pPage && args.Has("--details"))
        if (int status = hostpage::RunDetails(pPage, nResult, rv.GetView(), args.Get("--details"), detailSets, nBoxes))
            return status;
    if (int status = hostpage::ClickApply(pPage, nResult, nBoxes)) return status;

    // The execute hides the control's view-point icon under a legend, whose view-direction block
    // is the host's to draw; this host draws none, so the icon stays, as render draws it.
    rv.GetCtrl()->SetShowVPointIcon(1);
    // As render: room in the fitted view for the values the page writes, at a size at which they
    // stand apart.
    rv.FitResultTexts(view);
    if (!rv.ModelFits(view)) return HOST_EXIT_FAILED;
    // The window as the person sees it after the execute: painted again, with the legend.
    progress.Enter(steps.size() - 1);
    if (int status = rv.WriteShownPicture(out, bEmf, view)) return status;
    CHostProgress::Finish();
    // The page shown: a radio of the bar may have shown another page than the one asked for.
    const std::string strShown = pPage->GetRuntimeClass()->m_lpszClassName;
    std::printf("Wrote %s: %ldx%ld, %s view of %s, result %ld on the page %s%s%s%s\n", strOut.c_str(), view.nWidth,
                view.nHeight, view.strView.c_str(), options.strDBPath.c_str(), nResult, strShown.c_str(),
                rv.GetPart().Describe().c_str(), DescribeHostShownResult(rv.GetLoader(), rv.GetModel()).c_str(), view.strSizeNote.c_str());
    PrintHostResultExtremes(rv.GetLoader(), rv.GetModel());
    rv.PrintStackedPlanNote(view);
    if (args.Has("--save")) {
        // The bar closes as at the end of the session: its pages keep their settings in the
        // project, written with the strips the page changed.
        bar.CloseContent();
        CDBDoc* pDoc = CDBDoc::m_pDBDoc;
        if (!pDoc || !pDoc->SaveTables(options.strDBPath.c_str(), {DBT_CTLN, DBT_PAGESET})) {
            // The picture is written before the project, so it is there whatever the save did.
            HostMessage("%s; the picture \"%s\" was written", pDoc ? pDoc->GetLastError().GetString() : "no project is open",
                        strOut.c_str());
            return HOST_EXIT_FAILED;
        }
    }
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegisterShow({"show",
                                       "Shows a result (7101 ... 12201) through the results module's result bars,\n"
                                       "as a person does: the bar that offers the result opens on its page, --load\n"
                                       "and each --set set the page's controls, Apply is pressed, and the picture\n"
                                       "is written as the window shows it, with the result's extremes. A value the\n"
                                       "page refuses prints the page's message (status 1). --details presses a\n"
                                       "\"...\" button and sets its dialog (--detail-set) before Apply. --list prints\n"
                                       "the results the bars offer; --list-controls the controls of a result's page.",
                                       RunShow, 32, ShowOptions(), "RESULT"});

}  // namespace
