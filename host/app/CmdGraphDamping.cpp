// pvxhost graph damping: the results module's Rayleigh damping dialog, run as a person does.
//
// The dialog is made by its run-time class (its exported default constructor) and run modally;
// the scripted user sets the mass and stiffness checks, picks the two modes in their lists,
// presses "calculate" (when a check is set) and "plot", and with --range fixes the chart's range
// in the range dialog. The coefficients are printed as the dialog shows them, the chart is
// written as its window shows it, and --table prints the rows of the modal table. A message
// the dialog shows (a refused input) is printed and ends the command with status 1.
//
//     pvxhost graph damping --mode1 1 --mode2 3 --mass --stiffness --out d.bmp
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/app/HostOutput.h"
#include "host/app/HostResultView.h"
#include "host/app/HostSession.h"
#include "host/app/ModuleLoader.h"
#include "host/base/CGraphViewBase.h"
#include "host/base/CTBBrowserWnd.h"
#include "host/db/CDataBase.h"
#include "platform/afx/CObject.h"
#include "platform/gdi/BmpFile.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CUiDriver.h"

namespace {

constexpr const char* kDialogClass = "CPVXModalDampDlg";
// Controls of the damping dialog and of its range dialog.
enum : UINT {
    kMassCheck = 10502, kStiffCheck = 10503, kMode1List = 10505, kMode2List = 10506, kFreq1 = 10507,
    kCalculate = 10508, kFreq2 = 10509, kDamp1 = 10510, kDamp2 = 10511, kAlpha = 10512, kBeta = 10513,
    kRangeButton = 10514, kPlot = 10515,
    kRangeDialog = 10506, kRangeAuto = 10516, kRangeXMin = 10517
};

// Child windows of a kind (the chart, the table), found among the dialog's children.
template <class T>
T* FindChild(CWnd* pParent) {
    for (CWnd* c = pParent->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT))
        if (auto* p = dynamic_cast<T*>(CWnd::FromHandle(c->GetSafeHwnd()))) return p;
    return nullptr;
}

std::string Text(CWnd* pDlg, UINT nID) {
    CString s;
    pDlg->GetDlgItemText(static_cast<int>(nID), s);
    return s.GetString();
}

// The list item of a mode number; -1 when the list has none.
int ModeIndex(CWnd* pDlg, UINT nList, long nMode) {
    auto* pList = dynamic_cast<CComboBox*>(pDlg->GetDlgItem(static_cast<int>(nList)));
    if (!pList) return -1;
    for (int i = 0; i < pList->GetCount(); ++i)
        if (static_cast<long>(pList->GetItemData(i)) == nMode) return i;
    return -1;
}

// After the dialog refused a mode of a frequency that is not positive: the row of the project
// that holds it, for each mode list in use.
void NameInvalidFrequencies(CWnd* pDlg, CDataBase& db, const std::string& file) {
    for (UINT nList : {kMode1List, kMode2List}) {
        auto* pList = dynamic_cast<CComboBox*>(pDlg->GetDlgItem(static_cast<int>(nList)));
        if (!pList || !pList->IsWindowEnabled() || pList->GetCurSel() < 0) continue;
        const UINT nMode = static_cast<UINT>(pList->GetItemData(pList->GetCurSel()));
        const T_FREQ_D* f = db.Table<DBT_FREQ>().Find(nMode);
        if (f && !(f->freq > 0.0))
            HostMessage("%s: table FREQ, column freq, key %u: mode %u has the frequency %g Hz; a mode needs a positive "
                        "frequency",
                        file.c_str(), nMode, nMode, f->freq);
    }
}

// "X0,X1,Y0,Y1": four finite numbers, each minimum below its maximum.
bool ParseRange(const std::string& text, double range[4]) {
    const char* p = text.c_str();
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        range[i] = std::strtod(p, &end);
        if (end == p || !std::isfinite(range[i])) return false;
        p = end;
        if (i < 3) {
            if (*p != ',') return false;
            ++p;
        }
    }
    return *p == '\0' && range[0] < range[1] && range[2] < range[3];
}

void PrintTable(CTBBrowserWnd* pGrid) {
    for (int r = 0; r <= pGrid->GetRowCount(); ++r) {
        std::string line;
        for (int c = 1; c <= pGrid->GetColCount(); ++c) {
            if (c > 1) line += '\t';
            line += pGrid->GetValueRowCol(r, c).GetString();
        }
        std::printf("%s%s\n", r == 0 ? "table: " : "", line.c_str());
    }
}

// The modes whose points lie outside the chart's range, and the --range that shows them all.
void PrintModesOutside(CWnd* pDlg, const CMySRGraph& chart, double x0, double x1, double y0, double y1, bool bRange) {
    auto* pList = dynamic_cast<CComboBox*>(pDlg->GetDlgItem(kMode1List));
    const std::vector<CMySRGraph::Point> points = chart.GetSeries(0);  // one per mode, ascending mode numbers
    std::string outside;
    double xMax = x1, yMin = y0, yMax = y0;
    for (size_t i = 0; i < points.size(); ++i) {
        const CMySRGraph::Point& p = points[i];
        if (p.x >= x0 && p.x <= x1 && p.y >= y0 && p.y <= y1) continue;
        const long mode = pList && static_cast<int>(i) < pList->GetCount()
                              ? static_cast<long>(pList->GetItemData(static_cast<int>(i)))
                              : static_cast<long>(i) + 1;
        char item[96];
        std::snprintf(item, sizeof item, "%s%ld (%.4g Hz, %.4g)", outside.empty() ? "" : ", ", mode, p.x, p.y);
        outside += item;
        xMax = std::max(xMax, p.x);
        yMin = std::min(yMin, p.y);
        yMax = std::max(yMax, p.y);
    }
    if (outside.empty()) return;
    // A range 10 % wider than the farthest point, ending on a round value of its axis.
    auto roundUp = [](double v) {
        const double step = std::pow(10.0, std::floor(std::log10(v > 0 ? v : 1.0)) - 1);
        return std::ceil(v / step) * step;
    };
    std::printf("note: modes %s lie outside the chart's %s range (x %g ... %g Hz, y %g ... %g); "
                "--range %g,%g,%g,%g shows them all\n",
                outside.c_str(), bRange ? "given" : "automatic", x0, x1, y0, y1, std::min(x0, 0.0),
                std::max(x1, roundUp(xMax * 1.1)), std::min(yMin, 0.0) < 0 ? -roundUp(-yMin * 1.1) : std::min(y0, 0.0),
                std::max(y1, roundUp(yMax * 1.1)));
}

int RunGraphDamping(const CHostOptions& options, const CHostArgs& args) {
    double range[4] = {0.0, 0.0, 0.0, 0.0};
    const bool bRange = args.Has("--range");
    if (bRange && !ParseRange(args.Get("--range"), range)) {
        HostMessage("--range takes X0,X1,Y0,Y1: four numbers with X0 < X1 and Y0 < Y1, not \"%s\"",
                    args.Get("--range").c_str());
        return HOST_EXIT_USAGE;
    }
    CHostOutputFile out(args.Get("--out"), CHostOutputFile::kBmp);
    if (int status = out.Check(options.strDBPath)) return status;

    CHostSession session;
    if (!session.Open(options.strDBPath)) return HOST_EXIT_FAILED;
    const std::string module = args.Get("--module");
    CPVXModuleLoader loader;
    if (!loader.Load(module.empty() ? CPVXModuleLoader::DefaultModulePath() : module)) {
        HostMessage("%s", loader.GetLastError().c_str());
        return HOST_EXIT_FAILED;
    }
    std::unique_ptr<CObject> pObject(CRuntimeClass::CreateObject(kDialogClass));
    auto* pDlg = dynamic_cast<CDialog*>(pObject.get());
    if (!pDlg) {
        HostMessage("the module has no dialog %s", kDialogClass);
        return HOST_EXIT_FAILED;
    }

    const bool bMass = args.Has("--mass"), bStiff = args.Has("--stiffness");
    const size_t nBoxes = CUiDriver::Get().MessageBoxes().size();
    int nStatus = HOST_EXIT_FAILED;
    bool bRan = false;
    auto refused = [&] {
        const auto& boxes = CUiDriver::Get().MessageBoxes();
        for (size_t i = nBoxes; i < boxes.size(); ++i) HostMessage("%s", boxes[i].text.GetString());
        return boxes.size() > nBoxes;
    };
    CUiDriver::Get().QueueModal(kDialogClass, {[&](CUiDialogSession& user) -> int {
        bRan = true;
        CWnd* pWnd = user.Dialog();
        auto* pModes = dynamic_cast<CComboBox*>(pWnd->GetDlgItem(kMode1List));
        if (!pModes || pModes->GetCount() == 0) {
            HostMessage("the project %s has no eigen results (no modes): there is nothing to plot",
                        options.strDBPath.c_str());
            return IDCANCEL;
        }
        // The checks first: they enable the mode lists.
        if (bMass) user.SetCheck(kMassCheck);
        if (bStiff) user.SetCheck(kStiffCheck);
        for (const auto& [name, list] : {std::pair<const char*, UINT>{"--mode1", kMode1List}, {"--mode2", kMode2List}}) {
            if (!args.Has(name)) continue;
            if (!pWnd->GetDlgItem(static_cast<int>(list))->IsWindowEnabled()) {
                HostMessage("%s is used only with %s", name,
                            list == kMode1List ? "--mass or --stiffness" : "both --mass and --stiffness");
                nStatus = HOST_EXIT_USAGE;
                return IDCANCEL;
            }
            const int i = ModeIndex(pWnd, list, args.GetInteger(name));
            if (i < 0) {
                HostMessage("%s %ld: the project has no such mode (modes 1 to %d)", name, args.GetInteger(name),
                            pModes->GetCount());
                nStatus = HOST_EXIT_USAGE;
                return IDCANCEL;
            }
            user.SelectComboIndex(list, i);
        }
        if (bMass || bStiff) user.ClickButton(kCalculate);
        if (refused()) {
            NameInvalidFrequencies(pWnd, *session.GetDB(), options.strDBPath);
            return IDCANCEL;
        }
        user.ClickButton(kPlot);
        if (bRange) {
            CUiDriver::Get().QueueModal(kRangeDialog, {[&](CUiDialogSession& r) -> int {
                r.SetCheck(kRangeAuto, BST_UNCHECKED);
                for (int i = 0; i < 4; ++i) {
                    char value[64];
                    std::snprintf(value, sizeof value, "%.15g", range[i]);
                    r.SetControlText(kRangeXMin + static_cast<UINT>(i), value);
                }
                return IDOK;
            }});
            user.ClickButton(kRangeButton);
        }
        if (refused()) return IDCANCEL;

        auto* pView = FindChild<CGraphViewBase>(pWnd);
        CMySRGraph* pChart = pView ? pView->GetGraph() : nullptr;
        if (!pChart) {
            HostMessage("the dialog shows no chart");
            return IDCANCEL;
        }
        std::printf("mode 1: %s, f = %s Hz, damping ratio %s\n", Text(pWnd, kMode1List).c_str(),
                    Text(pWnd, kFreq1).c_str(), Text(pWnd, kDamp1).c_str());
        std::printf("mode 2: %s, f = %s Hz, damping ratio %s\n", Text(pWnd, kMode2List).c_str(),
                    Text(pWnd, kFreq2).c_str(), Text(pWnd, kDamp2).c_str());
        std::printf("alpha = %s\nbeta = %s\n", Text(pWnd, kAlpha).c_str(), Text(pWnd, kBeta).c_str());
        double x0 = 0, x1 = 0, y0 = 0, y1 = 0;
        pChart->GetAxisRange(CMySRGraph::AXIS_X, x0, x1);
        pChart->GetAxisRange(CMySRGraph::AXIS_Y, y0, y1);
        std::printf("chart: %zu mode points, %zu curve points, x %g ... %g Hz, y %g ... %g\n",
                    pChart->GetSeries(0).size(), pChart->GetSeries(1).size(), x0, x1, y0, y1);
        for (const auto& [axis, name] : {std::pair<int, const char*>{CMySRGraph::AXIS_X, "x"}, {CMySRGraph::AXIS_Y, "y"}}) {
            double d0 = 0, d1 = 0;
            pChart->DrawnRange(axis, d0, d1);
            std::string ticks;
            for (const CMySRGraph::Tick& t : CMySRGraph::AxisTicks(d0, d1)) ticks += std::string(" ") + t.text.GetString();
            std::printf("chart %s ticks:%s\n", name, ticks.c_str());
        }
        if (!bMass && !bStiff)
            std::printf("note: no damping term was chosen, so alpha and beta stay 0 and the chart shows the modes "
                        "without a Rayleigh curve; --mass (alpha) and/or --stiffness (beta) with --mode1 M and, for "
                        "both, --mode2 N choose them\n");
        PrintModesOutside(pWnd, *pChart, x0, x1, y0, y1, bRange);
        if (args.Has("--table")) {
            if (auto* pGrid = FindChild<CTBBrowserWnd>(pWnd)) PrintTable(pGrid);
        }

        pView->Refresh();
        CRect rc;
        pView->GetClientRect(&rc);
        if ((nStatus = out.Begin())) return IDCANCEL;
        if (!WriteBmp24(out.GetTempPath().c_str(), UiGetWindowSurface(pView->GetSafeHwnd()))) {
            nStatus = out.Fail("the chart could not be written");
            return IDCANCEL;
        }
        if ((nStatus = out.Commit(rc.Width(), rc.Height()))) return IDCANCEL;
        std::printf("Wrote %s: %dx%d, the damping chart of %s\n", out.GetPath().c_str(), rc.Width(), rc.Height(),
                    options.strDBPath.c_str());
        nStatus = HOST_EXIT_OK;
        return IDCANCEL;
    }});
    pDlg->DoModal();
    if (!bRan) {
        HostMessage("the dialog %s did not open", kDialogClass);
        return HOST_EXIT_FAILED;
    }
    return nStatus;
}

std::vector<CHostOption> DampingOptions() {
    return {
        {"--out", EHostValue::kPath, "FILE.bmp", "the chart to write, as the dialog shows it", nullptr, 0, 0,
         HOST_OPT_REQUIRED},
        {"--mode1", EHostValue::kInteger, "M", "the first mode (its number); the dialog's first mode when not given",
         nullptr, 1, 1000000},
        {"--mode2", EHostValue::kInteger, "N", "the second mode; the dialog's first mode when not given", nullptr, 1,
         1000000},
        {"--mass", EHostValue::kFlag, "", "checks \"mass proportional\": alpha is computed"},
        {"--stiffness", EHostValue::kFlag, "", "checks \"stiffness proportional\": beta is computed"},
        {"--range", EHostValue::kText, "X0,X1,Y0,Y1",
         "fixes the chart's range in the range dialog (\"自动调整\" cleared); automatic (0 ... 20 Hz) when not given"},
        {"--table", EHostValue::kFlag, "", "prints the modal table: header, then one row per mode"},
        CHostViewRequest::ModuleOption(),
    };
}

const CHostCommandRegistrar kRegisterGraphDamping({"graph damping",
                                       "Runs the Rayleigh damping dialog as a person does: the two modes, the\n"
                                       "mass and stiffness checks, \"calculate\" and \"plot\"; prints alpha and beta\n"
                                       "as the dialog shows them and writes the chart of damping ratio against\n"
                                       "frequency (a point per mode, the Rayleigh curve). --table prints the modal\n"
                                       "table. A refused input prints the dialog's message (status 1).",
                                       RunGraphDamping, 71, DampingOptions()});

}  // namespace
