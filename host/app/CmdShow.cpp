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
#include "platform/gdi/BmpFile.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CListBox.h"
#include "host/db/CDBDoc.h"
#include "platform/ui/CUiDriver.h"

namespace {

using namespace hostpage;

std::vector<CHostOption> ShowOptions() {
    std::vector<CHostOption> options = {
        {"--out", EHostValue::kPath, "FILE.bmp|FILE.emf", "the picture to write: a 24-bit BMP or an enhanced metafile"},
        {"--load", EHostValue::kText, "NAME", "the load case or combination chosen in the page's load list"},
        {"--set", EHostValue::kText, "CONTROL=VALUE",
         "sets a control of the page or the bar, by id or name (see --list-controls): a check box 0 or 1, a radio "
         "group the index of its button, a list an item's index or text (a list box: several joined by '+', and "
         "ITEM:0 or ITEM:1 clears or sets the item's check box), an edit its text, a point-picking edit X,Y[,Z] "
         "(picked in the view), a button 1 (pressed)",
         nullptr, 0, 0, HOST_OPT_REPEATABLE},
        {"--save", EHostValue::kFlag, "",
         "writes what the page changed in the project (the slab strips) into the project file, in place, in one "
         "transaction; without it the file is not written"},
        {"--details", EHostValue::kText, "BUTTON",
         "presses a \"...\" button of the page, by id or name (values-more, deformed-more ...), before Apply: the "
         "details dialog it opens takes the --detail-set values and its OK is pressed"},
        {"--detail-set", EHostValue::kText, "CONTROL=VALUE",
         "sets a control of the details dialog, by id or name (decimals, exponent, ratio, angle, scale ...), as --set "
         "does on the page",
         nullptr, 0, 0, HOST_OPT_REPEATABLE},
        {"--list", EHostValue::kFlag, "", "prints every result id with its bar container, its page and its title"},
        {"--list-controls", EHostValue::kFlag, "",
         "prints the controls of the result's bar and page: id, name, kind, caption and value"},
    };
    for (const CHostOption& o : CHostViewRequest::Options()) options.push_back(o);
    return options;
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
    const long nResult = ReadResultOperand(word, "show");
    if (!nResult) return HOST_EXIT_USAGE;
    const bool bListControls = args.Has("--list-controls");
    const std::string strOut = args.Get("--out");
    if (!bListControls && strOut.empty()) {
        HostMessage("--out FILE.bmp|FILE.emf is required (see pvxhost help show)");
        return HOST_EXIT_USAGE;
    }
    // --set and --detail-set words are checked before anything is opened.
    std::vector<std::pair<std::string, std::string>> sets, detailSets;
    for (const char* option : {"--set", "--detail-set"})
        for (const std::string& s : args.GetAll(option)) {
            const size_t eq = s.find('=');
            if (eq == std::string::npos || eq == 0) {
                HostMessage("%s expects CONTROL=VALUE, not \"%s\"", option, s.c_str());
                return HOST_EXIT_USAGE;
            }
            (std::string(option) == "--set" ? sets : detailSets).emplace_back(s.substr(0, eq), s.substr(eq + 1));
        }
    if (!detailSets.empty() && !args.Has("--details")) {
        HostMessage("--detail-set sets a control of the dialog --details opens: give --details BUTTON");
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
    if (!rv.Open(options, view, &progress)) return HOST_EXIT_FAILED;
    progress.Enter(CHostResultView::Steps().size());

    // The bar, as the view's result command opens it.
    CHostDockBar bar;
    CHostDockBar::Offer offer;
    CFormViewInBar* pBar = nullptr;
    const size_t nBoxes = CUiDriver::Get().MessageBoxes().size();
    if (int status = OpenResultBar(bar, nResult, rv.GetView()->GetParentFrame(), offer, pBar)) return status;
    CWnd* pPageWnd = pBar->GetShownPageWnd();
    auto* pPage = dynamic_cast<CPHPageDlg*>(pPageWnd);
    std::vector<Control> controls;
    if (pPage) controls = CollectControls(pPage, pPage->GetControlNames());
    const std::vector<Control> barControls = CollectControls(pBar, pBar->GetControlNames());
    controls.insert(controls.end(), barControls.begin(), barControls.end());

    if (bListControls) {
        PrintControls(("bar " + offer.strContainer + ":").c_str(), barControls);
        if (!pPage) {
            HostMessage("result %ld: its page %s is not built yet", nResult, offer.strPageClass.c_str());
            return HOST_EXIT_FAILED;
        }
        std::vector<Control> pageControls(controls.begin(), controls.end() - static_cast<long>(barControls.size()));
        PrintControls(("page " + offer.strPageClass + " of result " + word + ":").c_str(), pageControls);
        return HOST_EXIT_OK;
    }
    if (!pPage) {
        HostMessage("result %ld: its page %s is not built yet, so the bar %s cannot show it", nResult,
                    offer.strPageClass.c_str(), offer.strContainer.c_str());
        return HOST_EXIT_FAILED;
    }

    // The load, then each control, as a person sets them.
    if (args.Has("--load")) sets.insert(sets.begin(), {"load", args.Get("--load")});
    if (int status = hostpage::SetPageControls(pBar, nResult, sets, nBoxes)) return status;
    // The page after the controls: a radio of the bar may have shown another page.
    pPage = dynamic_cast<CPHPageDlg*>(pBar->GetShownPageWnd());
    if (pPage && args.Has("--details"))
        if (int status = RunDetails(pPage, nResult, args.Get("--details"), detailSets, nBoxes)) return status;
    if (int status = ClickApply(pPage, nResult, nBoxes)) return status;
    if (args.Has("--save")) {
        CDBDoc* pDoc = CDBDoc::m_pDBDoc;
        if (!pDoc || !pDoc->SaveTables(options.strDBPath.c_str(), {DBT_CTLN})) {
            HostMessage("%s", pDoc ? pDoc->GetLastError().GetString() : "no project is open");
            return HOST_EXIT_FAILED;
        }
    }

    // The window as the person sees it after the execute: painted again, with the legend.
    rv.GetView()->Invalidate(FALSE);
    rv.GetView()->UpdateWindow();
    AfxPumpMessages();
    progress.Enter(steps.size() - 1);
    if (int status = out.Begin()) return status;
    CString path(out.GetTempPath().c_str());
    if (bEmf)
        rv.GetModel()->PV_OnExportWindowsMetaFileEx(path);
    else
        WriteBmp24(out.GetTempPath().c_str(), rv.GetWindowPicture());
    if (int status = bEmf ? out.Commit() : out.Commit(view.nWidth, view.nHeight)) return status;
    CHostProgress::Finish();
    std::printf("Wrote %s: %ldx%ld, %s view of %s, result %ld on the page %s\n", strOut.c_str(), view.nWidth,
                view.nHeight, view.strView.c_str(), options.strDBPath.c_str(), nResult, offer.strPageClass.c_str());
    PrintHostResultExtremes(rv.GetLoader(), rv.GetModel());
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegister({"show",
                                       "Shows a result (7101 ... 12201) through the results module's result bars,\n"
                                       "as a person does: the bar that offers the result opens on its page, --load\n"
                                       "and each --set set the page's controls, Apply is pressed, and the picture\n"
                                       "is written as the window shows it, with the result's extremes. A value the\n"
                                       "page refuses prints the page's message (status 1). --details presses a\n"
                                       "\"...\" button and sets its dialog (--detail-set) before Apply. --list prints\n"
                                       "the results the bars offer; --list-controls the controls of a result's page.",
                                       RunShow, 32, ShowOptions(), "RESULT"});

}  // namespace
