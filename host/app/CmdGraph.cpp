// pvxhost graph modes and pvxhost graph history: the results module's graph windows, driven as
// the host application and a person drive them.
//
// graph modes: the host builds, for each mode, UX (left graph) and UY (right graph) of each
// storey level against the level, read at one plan position (BuildModeSeries), and hands both
// sets to the result view's model (Draw2DGraph through PVXHost_Draw2DGraph); the model asks the
// document for its graph view, which the host opens as the module's multi-graph view in a child
// frame. The storey levels are the levels (z to the millimetre) of the nodes of the plate
// elements (raft, floor and roof slabs); a project without plates takes every node level. At each
// level every node with a shape row of the mode counts, whatever object it belongs to. --property and
// --save-as go through the graph's right-click menu, its property dialog and its save dialog as
// a person would use them; the picture written is the view's (MakeBMP, or the metafile DC).
//
// graph history: the module's time function window (I_PVXModel::m_TFuncWnd) gets the node's
// time history under a time-history case, drawn by the host as its picture, the series, and a
// list of the steps as the control a click selects in; --click T clicks at time T.
//
//     pvxhost graph modes --modes 1,2 --property "title=Modes 1, 2" --out modes.bmp
//     pvxhost graph history --load THX --node 222 --click 0.9 --out h.bmp
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/app/HostDocument.h"
#include "host/app/HostOutput.h"
#include "host/app/HostSession.h"
#include "host/app/ModuleLoader.h"
#include "host/base/CTitleCtrlView.h"
#include "host/base/CMsgDll.h"
#include "host/base/PVXHostGraph.h"
#include "host/db/CDataBase.h"
#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/db/DBTables.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CUiDriver.h"

namespace {

// Controls of the module's graph property dialog and commands of the graph menu.
enum : UINT {
    kPropertyDialog = 10626, kTitleEdit = 11392, kScaleEdit = 11393, kXLabelEdit = 11394,
    kCmdProperty = 42077, kCmdSaveAs = 42078
};
const double kLevelTol = 0.0005;  // m: nodes within half a millimetre share a level

// ---- module and project ---------------------------------------------------------------------

// The project, the module and its result view, opened for a graph command; everything closes in
// reverse order (the module's windows before the module, the module before the project).
struct GraphHost {
    CHostSession session;
    CPVXModuleLoader loader;

    int Open(const CHostOptions& options, const CHostArgs& args) {
        if (!session.Open(options.strDBPath)) return 0;
        const std::string module = args.Get("--module");
        if (!loader.Load(module.empty() ? CPVXModuleLoader::DefaultModulePath() : module) || !loader.OpenResultView()) {
            HostMessage("%s", loader.GetLastError().c_str());
            return 0;
        }
        return 1;
    }
    CDataBase& DB() { return *session.GetDB(); }
    CHostDocument* Doc() { return static_cast<CHostDocument*>(session.GetDoc()); }
    I_PVXModelBase* Model() { return loader.GetResultView()->GetI_PVXCtrl()->GetI_PVXModel(); }
    // An exported function of the module; null after a message when it has none.
    template <class PFN>
    PFN Symbol(const char* pszName) {
        auto pfn = reinterpret_cast<PFN>(loader.GetSymbol(pszName));
        if (!pfn) HostMessage("the results module has no %s", pszName);
        return pfn;
    }
};

// ---- graph modes ----------------------------------------------------------------------------

// Mode numbers of "1,2,5"; false when a word is not a positive whole number.
bool ParseModes(const std::string& text, std::vector<UINT>& modes) {
    const char* p = text.c_str();
    while (*p) {
        char* end = nullptr;
        const long v = std::strtol(p, &end, 10);
        if (end == p || v <= 0 || v > 1000000) return false;
        modes.push_back(static_cast<UINT>(v));
        p = end;
        if (*p == ',') ++p;
        else if (*p) return false;
    }
    return !modes.empty();
}

// The storey levels, ascending, and the level index of each node (-1: at no storey level).
struct StoreyLevels {
    std::vector<double> levels;
    std::map<UINT, int> nodeLevel;
};

long long LevelKey(double z) { return std::llround(z / (2.0 * kLevelTol)); }

StoreyLevels FindStoreyLevels(CDataBase& db) {
    const auto& nodes = db.Table<DBT_PNODE>();
    const auto& elems = db.Table<DBT_PELEM>();
    std::map<long long, double> byKey;  // level key -> z
    for (size_t i = 0; i < elems.Count(); ++i) {
        const T_PELEM_D& e = elems.Records()[i];
        if (e.kind != PELEM_KIND_PLATE) continue;
        for (int k = 0; k < e.nNode && k < PELEM_MAX_NODE; ++k)
            if (const T_PNODE_D* n = nodes.Find(e.node[k])) byKey.emplace(LevelKey(n->z), n->z);
    }
    if (byKey.empty())
        for (const T_PNODE_D& n : nodes.Records()) byKey.emplace(LevelKey(n.z), n.z);
    StoreyLevels s;
    std::map<long long, int> index;
    for (const auto& kv : byKey) {
        index[kv.first] = static_cast<int>(s.levels.size());
        s.levels.push_back(kv.second);
    }
    for (size_t i = 0; i < nodes.Count(); ++i) {
        auto it = index.find(LevelKey(nodes.Records()[i].z));
        if (it != index.end()) s.nodeLevel[nodes.Keys()[i]] = it->second;
    }
    return s;
}

// One graph's points per mode: (the storey's value, level).
struct ModeSeries {
    UINT nMode;
    std::vector<double> x, y;
};

// A storey's value of a mode is read at one plan position on every level: that of the node
// where the mode's component is largest in magnitude (of equal magnitudes the lowest key), each
// level taking its node nearest to it in plan (of equal distances the lowest key). A rigid motion of the floors, torsion included,
// so keeps one sign from level to level; the largest magnitude of each level would not (a
// torsion mode is equal and opposite on two edges, and either could win).
void BuildModeSeries(CDataBase& db, const StoreyLevels& s, const std::vector<UINT>& modes,
                     std::vector<ModeSeries>& left, std::vector<ModeSeries>& right) {
    struct Point {
        UINT node;
        int level;
        double x, y, v[2];  // plan position; DX, DY
    };
    std::map<UINT, std::vector<Point>> points;  // mode -> its nodes at a storey level, by key
    for (UINT m : modes) points[m];
    const auto& nodes = db.Table<DBT_PNODE>();
    for (const auto& kv : db.Table<DBT_MODE>().Records()) {
        const UINT mode = static_cast<UINT>(kv.first >> 32), node = static_cast<UINT>(kv.first & 0xffffffffu);
        auto p = points.find(mode);
        auto l = s.nodeLevel.find(node);
        const T_PNODE_D* n = nodes.Find(node);
        if (p == points.end() || l == s.nodeLevel.end() || !n) continue;
        p->second.push_back({node, l->second, n->x, n->y, {kv.second.DX, kv.second.DY}});
    }
    for (UINT m : modes) {
        const std::vector<Point>& pts = points[m];
        ModeSeries side[2] = {{m, {}, {}}, {m, {}, {}}};
        for (int c = 0; c < 2; ++c) {
            const Point* top = nullptr;
            for (const Point& p : pts) {
                const double a = std::fabs(p.v[c]), b = top ? std::fabs(top->v[c]) : -1.0;
                if (a > b || (a == b && p.node < top->node)) top = &p;
            }
            for (size_t i = 0; top && i < s.levels.size(); ++i) {
                const Point* near = nullptr;
                double best = 0.0;
                for (const Point& p : pts) {
                    const double d = std::hypot(p.x - top->x, p.y - top->y);
                    if (p.level == static_cast<int>(i) && (!near || d < best || (d == best && p.node < near->node)))
                        near = &p, best = d;
                }
                if (!near) continue;
                side[c].x.push_back(near->v[c]);
                side[c].y.push_back(s.levels[i]);
            }
        }
        left.push_back(side[0]);
        right.push_back(side[1]);
    }
}

std::vector<PVXHostGraphSeries> AsHostSeries(const std::vector<ModeSeries>& v) {
    std::vector<PVXHostGraphSeries> out;
    for (const ModeSeries& m : v) out.push_back({m.nMode, static_cast<int>(m.x.size()), m.x.data(), m.y.data()});
    return out;
}

// --property KEY=VALUE: the dialog's control of KEY, the value after the first '='.
struct Property {
    UINT nID;
    std::string strKey, strValue;
};

bool ParseProperty(const std::string& text, Property& p) {
    const size_t eq = text.find('=');
    if (eq == std::string::npos) return false;
    p.strKey = HostLower(text.substr(0, eq));
    p.strValue = text.substr(eq + 1);
    if (p.strKey == "title") p.nID = kTitleEdit;
    else if (p.strKey == "xlabel") p.nID = kXLabelEdit;
    else if (p.strKey == "scale") p.nID = kScaleEdit;
    else return false;
    return true;
}

// The messages the module showed since nFirst, each printed; true when there was one.
bool ReportBoxes(size_t nFirst, size_t nEnd = SIZE_MAX) {
    const auto& boxes = CUiDriver::Get().MessageBoxes();
    for (size_t i = nFirst; i < boxes.size() && i < nEnd; ++i)
        HostMessage("the graph view says: %s", ShowOutputPaths(boxes[i].text.GetString()).c_str());
    return boxes.size() > nFirst;
}

// Right-clicks the middle of a graph window and chooses a command of its menu; false (after a
// message) when the menu did not come up.
bool ChooseFromGraphMenu(CWnd* pGraph, UINT nCmd) {
    CUiDriver& ui = CUiDriver::Get();
    const size_t nMenus = ui.Menus().size();
    ui.QueueMenuChoice(nCmd);
    CRect rc;
    pGraph->GetClientRect(&rc);
    ui.SendMouse(pGraph, WM_RBUTTONDOWN, rc.CenterPoint(), MK_RBUTTON);
    ui.PumpMessages();
    if (ui.Menus().size() == nMenus || ui.Menus().back().chosen != nCmd) {
        HostMessage("the graph's menu did not offer command %u", nCmd);
        return false;
    }
    return true;
}

void PrintGraph(const char* pszSide, const PVXHostGraphInfo& g) {
    // + 0.0 writes a zero span's -0 as 0.
    std::printf("%s graph: %s, %s; scale %g%%, x %g to %g, level %g to %g\n", pszSide, g.szTitle, g.szXLabel,
                g.dScale, g.dX0 + 0.0, g.dX1 + 0.0, g.dY0 + 0.0, g.dY1 + 0.0);
    if (g.bHasData)
        std::printf("%s extremes: lowest %.15g (mode %u) labelled \"%s\", highest %.15g (mode %u) labelled \"%s\"\n",
                    pszSide, g.dLowX, g.nLowSeries, g.szLowLabel, g.dHighX, g.nHighSeries, g.szHighLabel);
}

// The name of a series colour of the graphs.
const char* ColorName(COLORREF c) {
    switch (c) {
    case RGB(255, 0, 0): return "red";
    case RGB(0, 0, 255): return "blue";
    case RGB(0, 255, 0): return "green";
    case RGB(255, 0, 255): return "magenta";
    case RGB(0, 255, 255): return "cyan";
    case RGB(1, 1, 1): return "near-black";
    default: return "other";
    }
}

// The key the graph does not draw: which colour is which mode, with its frequency (table FREQ);
// modes that share a colour are named, since the picture cannot tell them apart.
void PrintGraphKey(const char* pszSide, const PVXHostGraphInfo& g, CDataBase& db) {
    const int n = std::min<int>(g.nSeries, PVXHostGraphInfo::kMaxKeySeries);
    std::map<COLORREF, std::vector<unsigned>> byColor;
    for (int i = 0; i < n; ++i) {
        const unsigned mode = g.aSeriesKey[i];
        const COLORREF c = g.aSeriesColor[i];
        char freq[64] = "no frequency in table FREQ";
        if (const T_FREQ_D* f = db.Table<DBT_FREQ>().Find(mode)) std::snprintf(freq, sizeof freq, "%.6g Hz", f->freq);
        std::printf("%s key: series %d, mode %u, %s, %s (0x%06X)\n", pszSide, i + 1, mode, freq, ColorName(c),
                    static_cast<unsigned>(c));
        byColor[c].push_back(mode);
    }
    for (const auto& [c, modes] : byColor) {
        if (modes.size() < 2) continue;
        std::string list;
        for (unsigned m : modes) list += (list.empty() ? "" : ", ") + std::to_string(m);
        std::printf("%s key: modes %s share the colour %s and cannot be told apart; --modes with at most 5 modes "
                    "gives each its own colour\n",
                    pszSide, list.c_str(), ColorName(c));
    }
}

int RunGraphModes(const CHostOptions& options, const CHostArgs& args) {
    std::vector<UINT> modes;
    if (args.Has("--modes") && !ParseModes(args.Get("--modes"), modes)) {
        HostMessage("--modes takes mode numbers separated by commas (1,2,3), not \"%s\"", args.Get("--modes").c_str());
        return HOST_EXIT_USAGE;
    }
    double dScale = 0.0;
    if (args.Has("--scale")) {
        char* end = nullptr;
        const std::string text = args.Get("--scale");
        dScale = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end || !(dScale >= 1.0 && dScale <= 100.0)) {
            HostMessage("--scale takes a number from 1 to 100 (per cent), not \"%s\"", text.c_str());
            return HOST_EXIT_USAGE;
        }
    }
    std::vector<Property> props;
    for (const std::string& text : args.GetAll("--property")) {
        Property p;
        if (!ParseProperty(text, p)) {
            HostMessage("--property takes title=TEXT, xlabel=TEXT or scale=PERCENT, not \"%s\"", text.c_str());
            return HOST_EXIT_USAGE;
        }
        props.push_back(p);
    }
    const std::string strOut = args.Get("--out");
    const bool bEmf = HostLower(strOut).size() > 4 && HostLower(strOut).compare(HostLower(strOut).size() - 4, 4, ".emf") == 0;
    CHostOutputFile out(strOut, bEmf ? CHostOutputFile::kEmf : CHostOutputFile::kBmp);
    if (int status = out.Check(options.strDBPath)) return status;
    // The file the save dialog writes (".emf" added to a name without an extension, as the
    // dialog does) is written as every output is: checked now, made as a temporary file and put in
    // place when whole. Names the view does not write (.jpg, other extensions) reach its dialog as
    // they are, and it refuses them.
    const std::string strSaveAs = CFileDialog::AnsweredPath(args.Get("--save-as"), "emf");
    const std::string saveExt = HostLower(strSaveAs.substr(strSaveAs.find_last_of('.') + 1));
    const bool bSaveWritten = saveExt == "bmp" || saveExt == "emf";
    CHostOutputFile saved(strSaveAs, saveExt == "emf" ? CHostOutputFile::kEmf : CHostOutputFile::kBmp);
    if (args.Has("--save-as")) {
        if (int status = bSaveWritten ? saved.Check(options.strDBPath) : saved.CheckTarget(options.strDBPath))
            return status;
        if (bSaveWritten && saved.IsSameTarget(out)) {
            HostMessage("--save-as \"%s\" and --out \"%s\" name the same file: give each its own", strSaveAs.c_str(),
                        strOut.c_str());
            return HOST_EXIT_USAGE;
        }
    }

    GraphHost host;
    if (!host.Open(options, args)) return HOST_EXIT_FAILED;
    auto draw = host.Symbol<PFN_PVXHOST_DRAW_2D_GRAPH>(PVXHOST_DRAW_2D_GRAPH);
    auto save = host.Symbol<PFN_PVXHOST_SAVE_GRAPH_VIEW>(PVXHOST_SAVE_GRAPH_VIEW);
    auto info = host.Symbol<PFN_PVXHOST_GET_GRAPH_INFO>(PVXHOST_GET_GRAPH_INFO);
    auto setOptions = host.Symbol<PFN_PVXHOST_SET_GRAPH_OPTIONS>(PVXHOST_SET_GRAPH_OPTIONS);
    if (!draw || !save || !info || !setOptions) return HOST_EXIT_FAILED;

    // Modes: those asked for, else every mode with a shape.
    CDataBase& db = host.DB();
    std::vector<UINT> withShape;
    for (const auto& kv : db.Table<DBT_MODE>().Records()) withShape.push_back(static_cast<UINT>(kv.first >> 32));
    std::sort(withShape.begin(), withShape.end());
    withShape.erase(std::unique(withShape.begin(), withShape.end()), withShape.end());
    if (withShape.empty()) {
        HostMessage("the project has no mode shapes (table MODE)");
        return HOST_EXIT_FAILED;
    }
    if (modes.empty()) modes = withShape;
    for (UINT m : modes)
        if (!std::binary_search(withShape.begin(), withShape.end(), m)) {
            HostMessage("mode %u has no shape in the project (modes %u to %u)", m, withShape.front(), withShape.back());
            return HOST_EXIT_FAILED;
        }

    const StoreyLevels levels = FindStoreyLevels(db);
    std::vector<ModeSeries> left, right;
    BuildModeSeries(db, levels, modes, left, right);
    const std::vector<PVXHostGraphSeries> l = AsHostSeries(left), r = AsHostSeries(right);
    CView* pView = draw(host.Model(), l.data(), static_cast<int>(l.size()), r.data(), static_cast<int>(r.size()));
    if (!pView) {
        HostMessage("the model opened no graph view");
        return HOST_EXIT_FAILED;
    }
    // The value labels follow the model's number output, turned on here as the number option
    // dialog would.
    const PVXHostGraphOptions graphOptions{dScale, args.Has("--no-labels") ? 0 : 1,
                                           static_cast<int>(args.GetInteger("--decimals")), args.Has("--exponent") ? 1 : 0};
    if (!setOptions(pView, &graphOptions)) {
        HostMessage("the graph view refused the scale or the label options");
        return HOST_EXIT_FAILED;
    }

    CUiDriver& ui = CUiDriver::Get();
    CWnd* pGraph = pView->GetDlgItem(args.Get("--graph") == "right" ? PVXHOST_GRAPH_RIGHT_ID : PVXHOST_GRAPH_LEFT_ID);
    if (!pGraph) {
        HostMessage("the graph view has no graph windows");
        return HOST_EXIT_FAILED;
    }
    if (!props.empty()) {
        // One visit of the property dialog: the user types every value and presses OK.
        const size_t nBoxes = ui.MessageBoxes().size();
        const size_t nModal = ui.ModalLog().size();
        ui.QueueModal(kPropertyDialog, {[&](CUiDialogSession& user) -> int {
                          for (const Property& p : props) user.SetControlText(p.nID, p.strValue.c_str());
                          return IDOK;
                      }});
        if (!ChooseFromGraphMenu(pGraph, kCmdProperty)) return HOST_EXIT_FAILED;
        const bool bOk = ui.ModalLog().size() > nModal && ui.ModalLog().back().result == IDOK;
        if (!bOk) {
            ReportBoxes(nBoxes);
            HostMessage("the property dialog did not take the values");
            return HOST_EXIT_FAILED;
        }
    }
    if (args.Has("--save-as")) {
        const size_t nBoxes = ui.MessageBoxes().size();
        if (bSaveWritten)
            if (int status = saved.Begin()) return status;
        ui.QueueFileDialogAnswer(bSaveWritten ? saved.GetTempPath().c_str() : strSaveAs.c_str());
        if (!ChooseFromGraphMenu(pGraph, kCmdSaveAs)) return HOST_EXIT_FAILED;
        const auto& boxes = ui.MessageBoxes();
        if (boxes.size() > nBoxes && bSaveWritten) {
            // The view's last word is why the file was not written.
            ReportBoxes(nBoxes, boxes.size() - 1);
            return saved.Fail("the graph view says: " + ShowOutputPaths(boxes.back().text.GetString()));
        }
        if (ReportBoxes(nBoxes)) return HOST_EXIT_FAILED;
        if (bSaveWritten)
            if (int status = saved.Commit()) return status;
        std::printf("Saved %s through the graph's menu\n", strSaveAs.c_str());
    }

    if (int status = out.Begin()) return status;
    const size_t nBoxes = ui.MessageBoxes().size();
    if (!save(pView, out.GetTempPath().c_str(), bEmf ? PVXHOST_GRAPH_EMF : PVXHOST_GRAPH_BMP)) {
        ReportBoxes(nBoxes);
        return out.Fail("the graph view could not draw its picture");
    }
    CRect rc;
    pView->GetClientRect(&rc);
    if (int status = out.Commit()) return status;
    std::printf("Wrote %s: %dx%d, the mode shapes of %zu mode%s at %zu storey levels\n", strOut.c_str(), rc.Width(),
                rc.Height(), modes.size(), modes.size() == 1 ? "" : "s", levels.levels.size());
    const char* sides[] = {"left", "right"};
    for (int i = 0; i < 2; ++i) {
        PVXHostGraphInfo g{};
        if (info(pView, i, &g)) {
            PrintGraph(sides[i], g);
            PrintGraphKey(sides[i], g, db);
        }
    }
    return HOST_EXIT_OK;
}

// ---- graph history --------------------------------------------------------------------------

const char* const kQuantityNames[] = {"displacement", "velocity", "acceleration"};
const char* const kQuantityUnits[] = {"mm", "m/s", "m/s2"};
const char* const kComponentNames[] = {"UX", "UY", "UZ"};
const int kHistoryWidth = 900, kHistoryHeight = 480;  // the time function window, pixels
const UINT kStepListId = 101;

// The picture of a time history: the curve over a pale plot area, with its axes and texts. The
// mapping is the graph windows' one (the plot rectangle is the window less 10 % a side; world
// ranges map centred, truncated toward zero), so that the window's clicks land on the curve.
CRect HistoryPlotRect(int cx, int cy) {
    const int dx = cx / 10, dy = cy / 10;
    return CRect(dx, dy, cx - dx, cy - dy);
}

CPoint HistoryPixel(const CRect& plot, const PVXHostTimeFunction& f, double x, double y) {
    const double sx = std::fabs(f.dX1 - f.dX0) > 0.0 ? std::fabs(f.dX1 - f.dX0) : 1.0;
    const double sy = std::fabs(f.dY1 - f.dY0) > 0.0 ? std::fabs(f.dY1 - f.dY0) : 1.0;
    const int px = static_cast<int>((x - (f.dX0 + f.dX1) / 2.0) * plot.Width() / sx);
    const int py = static_cast<int>(-(y - (f.dY0 + f.dY1) / 2.0) * plot.Height() / sy);
    return CPoint(px + (plot.left + plot.right) / 2, py + (plot.top + plot.bottom) / 2);
}

void DrawHistory(CDC& dc, const PVXHostTimeFunction& f, const std::string& title) {
    const CRect plot(f.rcPlot);
    dc.FillSolidRect(0, 0, f.cx, f.cy, RGB(255, 255, 255));
    dc.FillSolidRect(&plot, RGB(226, 232, 240));
    CPen axis(PS_SOLID, 1, RGB(0, 0, 0));
    {
        CSelectScope<CPen> sel(&dc, &axis);
        const int y0 = HistoryPixel(plot, f, 0.0, 0.0).y;
        dc.MoveTo(plot.left, y0);
        dc.LineTo(plot.right, y0);
        dc.MoveTo(plot.left, plot.top);
        dc.LineTo(plot.left, plot.bottom);
    }
    CPen curve(PS_SOLID, 2, RGB(0, 0, 200));
    {
        CSelectScope<CPen> sel(&dc, &curve);
        for (int i = 0; i < f.nPoints; ++i) {
            const CPoint p = HistoryPixel(plot, f, f.pX[i], f.pY[i]);
            if (i == 0) dc.MoveTo(p);
            else dc.LineTo(p);
        }
    }
    CFont font;
    font.CreatePointFont(90, "Arial", &dc);
    CSelectScope<CFont> sel(&dc, &font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    char buf[64];
    dc.SetTextAlign(TA_CENTER | TA_BOTTOM);
    dc.TextOut((plot.left + plot.right) / 2, plot.top - 8, title.c_str());
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    std::snprintf(buf, sizeof buf, "%g s", f.dX0);
    dc.TextOut(plot.left, plot.bottom + 4, buf);
    dc.SetTextAlign(TA_RIGHT | TA_TOP);
    std::snprintf(buf, sizeof buf, "%g s", f.dX1);
    dc.TextOut(plot.right, plot.bottom + 4, buf);
    std::snprintf(buf, sizeof buf, "%.4g", f.dY1);
    dc.SetTextAlign(TA_RIGHT | TA_TOP);
    dc.TextOut(plot.left - 4, plot.top - 6, buf);
    std::snprintf(buf, sizeof buf, "%.4g", f.dY0);
    dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.TextOut(plot.left - 4, plot.bottom + 6, buf);
}

// The window the host keeps the time function window and its step list in.
struct HistoryFrame {
    CFrameWnd* pFrame = nullptr;  // deletes itself with its window
    CComboBox list;
    CWnd* pGraph = nullptr;       // the module's window: destroyed before the module goes
    ~HistoryFrame() {
        if (pGraph && pGraph->GetSafeHwnd()) pGraph->DestroyWindow();
        if (list.GetSafeHwnd()) list.DestroyWindow();
        if (pFrame && pFrame->GetSafeHwnd()) pFrame->DestroyWindow();
    }
};

int RunGraphHistory(const CHostOptions& options, const CHostArgs& args) {
    const std::string strLoad = args.Get("--load");
    const UINT nNode = static_cast<UINT>(args.GetInteger("--node"));
    const int nQuantity = static_cast<int>(args.GetInteger("--quantity"));
    double dClick = 0.0;
    const bool bClick = args.Has("--click");
    if (bClick) {
        char* end = nullptr;
        const std::string text = args.Get("--click");
        dClick = std::strtod(text.c_str(), &end);
        if (end == text.c_str() || *end || !std::isfinite(dClick)) {
            HostMessage("--click takes a time in seconds, not \"%s\"", text.c_str());
            return HOST_EXIT_USAGE;
        }
    }
    CHostOutputFile out(args.Get("--out"), CHostOutputFile::kBmp);
    if (int status = out.Check(options.strDBPath)) return status;

    GraphHost host;
    if (!host.Open(options, args)) return HOST_EXIT_FAILED;
    auto getWnd = host.Symbol<PFN_PVXHOST_GET_TIME_FUNCTION_WND>(PVXHOST_GET_TIME_FUNCTION_WND);
    auto setData = host.Symbol<PFN_PVXHOST_SET_TIME_FUNCTION>(PVXHOST_SET_TIME_FUNCTION);
    if (!getWnd || !setData) return HOST_EXIT_FAILED;

    // The time-history case by name and the node's record.
    CDataBase& db = host.DB();
    const auto& cases = db.Table<DBT_PSTLD>();
    UINT nCase = 0;
    std::string names;
    for (size_t i = 0; i < cases.Count(); ++i) {
        const T_PSTLD_D& c = cases.Records()[i];
        if (c.type != PLOAD_TIMEHISTORY) continue;
        names += std::string(names.empty() ? "" : ", ") + c.name;
        if (HostLower(c.name) == HostLower(strLoad)) nCase = cases.Keys()[i];
    }
    if (!nCase) {
        HostMessage("no time-history case \"%s\" in the project (%s)", strLoad.c_str(),
                    names.empty() ? "it has none" : ("it has " + names).c_str());
        return HOST_EXIT_USAGE;
    }
    const T_DISPHIS_D* pHist = db.Table<DBT_DISPHIS>().Find(nCase, nNode);
    if (!pHist || pHist->nStep <= 0 || pHist->aValue.GetSize() < 18 * static_cast<INT_PTR>(pHist->nStep)) {
        HostMessage("node %u has no time history under %s", nNode, strLoad.c_str());
        return HOST_EXIT_FAILED;
    }

    // The translation with the largest peak of the quantity; a peak keeps its sign.
    const int n = pHist->nStep;
    int comp = 0;
    double peak[3] = {0.0, 0.0, 0.0}, signedPeak[3] = {0.0, 0.0, 0.0};
    for (int s = 0; s < n; ++s)
        for (int c = 0; c < 3; ++c) {
            const double v = pHist->aValue[18 * s + 6 * nQuantity + c];
            if (std::fabs(v) > peak[c]) peak[c] = std::fabs(v), signedPeak[c] = v;
        }
    for (int c = 1; c < 3; ++c)
        if (peak[c] > peak[comp]) comp = c;
    std::vector<double> t(static_cast<size_t>(n)), v(static_cast<size_t>(n));
    for (int s = 0; s < n; ++s) {
        t[static_cast<size_t>(s)] = s * pHist->dt;
        v[static_cast<size_t>(s)] = pHist->aValue[18 * s + 6 * nQuantity + comp];
    }

    PVXHostTimeFunction f{};
    f.nPoints = n;
    f.pX = t.data();
    f.pY = v.data();
    f.dX0 = 0.0;
    f.dX1 = t.back();
    const double a = peak[comp] > 0.0 ? peak[comp] * 1.1 : 1.0;
    f.dY0 = -a;
    f.dY1 = a;
    f.rcPlot = HistoryPlotRect(kHistoryWidth, kHistoryHeight);
    f.cx = kHistoryWidth;
    f.cy = kHistoryHeight;
    if (bClick && !(dClick >= f.dX0 && dClick <= f.dX1)) {
        HostMessage("--click: the history runs from %s to %s s; %s is outside", pvxdb::NumberText(f.dX0).c_str(),
                    pvxdb::NumberText(f.dX1).c_str(), pvxdb::NumberText(dClick).c_str());
        return HOST_EXIT_USAGE;
    }

    // The window, its step list and the picture.
    HistoryFrame frame;
    frame.pFrame = new CFrameWnd;
    if (!frame.pFrame->Create(nullptr, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_TH_DISPL_VEL_ACCEL"), WS_OVERLAPPEDWINDOW, CRect(0, 0, kHistoryWidth + 40, kHistoryHeight + 120))) {
        frame.pFrame = nullptr;
        HostMessage("the time history window could not be made");
        return HOST_EXIT_FAILED;
    }
    frame.pFrame->ShowWindow(SW_SHOW);  // hidden windows are not painted
    frame.list.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(0, kHistoryHeight + 4, 300, kHistoryHeight + 200),
                      frame.pFrame, kStepListId);
    for (int s = 0; s < n; ++s) {
        char item[64];
        std::snprintf(item, sizeof item, "%d: %.6g s", s + 1, t[static_cast<size_t>(s)]);
        frame.list.AddString(item);
    }
    CWnd* pGraph = getWnd();
    if (!pGraph || !pGraph->Create(nullptr, "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kHistoryWidth, kHistoryHeight),
                                   frame.pFrame, 100)) {
        HostMessage("the module's time function window could not be made");
        return HOST_EXIT_FAILED;
    }
    frame.pGraph = pGraph;
    CClientDC ref(pGraph);
    CDC mem;
    CBitmap bmp;
    mem.CreateCompatibleDC(&ref);
    bmp.CreateCompatibleBitmap(&ref, kHistoryWidth, kHistoryHeight);
    CBitmap* pOld = mem.SelectObject(&bmp);
    // The title in the string table's language, as the module's graphs write theirs.
    static const char* const kQuantityKeys[] = {"IDS_TBX_PVX_TH_Displacement", "IDS_TBX_PVX_TH_Velocity",
                                                "IDS_TBX_PVX_TH_Acceleration"};
    char title[256];
    std::snprintf(title, sizeof title, "%s%u %s %s(%s)，%s", CMsgDll::pfuncLoadStr("IDS_TBX_PVX_NODE__").GetString(),
                  nNode, kComponentNames[comp], CMsgDll::pfuncLoadStr(kQuantityKeys[nQuantity]).GetString(),
                  kQuantityUnits[nQuantity], strLoad.c_str());
    DrawHistory(mem, f, title);
    f.pPicture = &mem;
    f.pLinked = &frame.list;
    const int ok = setData(pGraph, &f);
    mem.SelectObject(pOld);
    if (!ok) {
        HostMessage("the time function window refused the history");
        return HOST_EXIT_FAILED;
    }
    std::printf("%s of node %u, %s, under %s: %d steps of %.9g s, peak %.6g %s\n", kQuantityNames[nQuantity], nNode,
                kComponentNames[comp], strLoad.c_str(), n, pHist->dt, signedPeak[comp], kQuantityUnits[nQuantity]);

    if (bClick) {
        // The pixel whose time is nearest T (the drawing truncates; a click picks the nearest).
        const CRect plot(f.rcPlot);
        const double span = f.dX1 > f.dX0 ? f.dX1 - f.dX0 : 1.0;  // one step: a zero span counts as 1
        CPoint pt(static_cast<int>(std::lround((dClick - (f.dX0 + f.dX1) / 2.0) * plot.Width() / span)) +
                            (plot.left + plot.right) / 2,
                        (plot.top + plot.bottom) / 2);
        // The plot's right edge is outside it (as every rectangle's): the last pixel column is inside.
        pt.x = std::clamp(static_cast<int>(pt.x), static_cast<int>(plot.left), static_cast<int>(plot.right) - 1);
        CUiDriver::Get().SendMouse(pGraph, WM_LBUTTONDOWN, pt, MK_LBUTTON);
        const int sel = frame.list.GetCurSel();
        if (sel < 0) {
            HostMessage("the click at %g s (pixel %d) selected no step", dClick, pt.x);
            return HOST_EXIT_FAILED;
        }
        const double tPixel = (pt.x - (plot.left + plot.right) / 2) * span / plot.Width() + (f.dX0 + f.dX1) / 2.0;
        std::printf("click at %g s (pixel %d, %.6g s): step %d selected, t = %.9g s, %s = %.6g %s\n", dClick, pt.x, tPixel, sel + 1,
                    t[static_cast<size_t>(sel)], kComponentNames[comp], v[static_cast<size_t>(sel)], kQuantityUnits[nQuantity]);
    }

    pGraph->UpdateWindow();
    if (int status = out.Begin()) return status;
    WriteBmp24(out.GetTempPath().c_str(), UiGetWindowSurface(pGraph->GetSafeHwnd()));
    if (int status = out.Commit(kHistoryWidth, kHistoryHeight)) return status;
    std::printf("Wrote %s: %dx%d, the time history of node %u under %s\n", out.GetPath().c_str(), kHistoryWidth,
                kHistoryHeight, nNode, strLoad.c_str());
    return HOST_EXIT_OK;
}

const CHostOption kModuleOption = {"--module", EHostValue::kPath, "FILE",
                                   "the results module to load (default: the one beside the program)"};

const CHostCommandRegistrar kRegisterModes(
    {"graph modes",
     "Shows the project's mode shapes in the results module's graph view: for each mode UX (left)\n"
     "and UY (right) at each storey level against the level, read at one plan position on every\n"
     "level (each level's node nearest in plan to the node where the mode's UX, or UY, is largest\n"
     "in magnitude), so a torsion mode keeps one sign up the building. The storey levels are the\n"
     "levels of the nodes of the plate elements (raft, floor and roof slabs); a project without\n"
     "plates, a frame without slabs, takes the level of every node, its supports included. All\n"
     "graphs share one x scale, with value labels (the model's number output, turned on with\n"
     "--decimals decimals). --property and --save-as go through the\n"
     "right-click menu of the graph --graph names, its property dialog and its save dialog; the\n"
     "picture of both graphs is written, and each graph's range and extreme labels printed.",
     RunGraphModes, 70,
     {{"--out", EHostValue::kPath, "FILE.bmp|FILE.emf", "the picture of both graphs", nullptr, 0, 0, HOST_OPT_REQUIRED},
      {"--modes", EHostValue::kText, "1,2,...", "the modes to show", "every mode with a shape"},
      {"--scale", EHostValue::kText, "S", "x scale of the graph of the larger magnitude, per cent (1 to 100)", "50"},
      {"--decimals", EHostValue::kInteger, "D", "decimals of the value labels", "3", 0, 15},
      {"--exponent", EHostValue::kFlag, "", "value labels in exponent notation"},
      {"--no-labels", EHostValue::kFlag, "", "no value labels"},
      {"--graph", EHostValue::kChoice, "left|right", "the graph right-clicked for --property and --save-as", "left"},
      {"--property", EHostValue::kText, "KEY=VALUE",
       "a value typed into the property dialog: title=TEXT, xlabel=TEXT or scale=PERCENT (as the "
       "dialog shows it for that graph, 1 to 100)", nullptr, 0, 0, HOST_OPT_REPEATABLE},
      {"--save-as", EHostValue::kPath, "FILE", "a file chosen in the graph's save dialog (.bmp, .emf; .jpg is refused)"},
      kModuleOption}});

const CHostCommandRegistrar kRegisterHistory(
    {"graph history",
     "Shows a node's time history under a time-history case in the results module's time function\n"
     "window, with the list of its steps; --click clicks the window at a time and prints the step\n"
     "it selected. The translation (UX, UY or UZ) with the largest peak is shown; the window's\n"
     "picture is written.",
     RunGraphHistory, 72,
     {{"--load", EHostValue::kText, "NAME", "the time-history case", nullptr, 0, 0, HOST_OPT_REQUIRED},
      {"--node", EHostValue::kInteger, "KEY", "the node", nullptr, 1, 4294967295L, HOST_OPT_REQUIRED},
      {"--quantity", EHostValue::kInteger, "0|1|2", "0 displacement, 1 velocity, 2 acceleration", "0", 0, 2},
      {"--click", EHostValue::kText, "T", "clicks the window at time T (seconds)"},
      {"--out", EHostValue::kPath, "FILE.bmp", "the window's picture", nullptr, 0, 0, HOST_OPT_REQUIRED},
      kModuleOption}});

}  // namespace
