#include "host/app/CmdFigureDraw.h"

#include <algorithm>
#include <cerrno>
#include <iterator>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/app/HostDocument.h"
#include "host/app/HostOutput.h"
#include "host/app/HostPageControls.h"
#include "host/app/HostProgress.h"
#include "host/app/ModuleLoader.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/base/PVXHostFigureDraw.h"
#include "host/base/PVXHostFigurePanel.h"
#include "host/check/ICheckToolUtil.h"
#include "host/cmd/CDBCommand.h"
#include "host/db/CDBDoc.h"
#include "host/db/CDataBase.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationRecords.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/CVdView.h"
#include "host/vdraw/VdGeometry.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/uiapi.h"

namespace {

constexpr UINT kZoomWindowCommand = 42089;  // the figure view's context-menu commands
constexpr UINT kExportCommand = 42091;
constexpr double kMemberMargin = 0.2;  // the zoom box is the member's box enlarged by 20 %
constexpr UINT kPanelTabs = 16177;     // the figure panel's tab control
constexpr int kLastBaseMap = 99;       // result sheets are numbered from 100 on

bool ParseNumber(const std::string& s, double& v) {
    if (s.empty()) return false;
    char* end = nullptr;
    errno = 0;
    v = std::strtod(s.c_str(), &end);
    return end && *end == '\0' && errno == 0 && std::isfinite(v);
}

// Shows the message boxes the view put up since mark (headless, the driver answered them).
void ShowBoxes(size_t mark) {
    const auto& boxes = CUiDriver::Get().MessageBoxes();
    for (size_t i = mark; i < boxes.size(); ++i) HostMessage("%s", ShowOutputPaths(boxes[i].text.GetString()).c_str());
}

// --load: the list row with that key or text; 2 with the list when there is none.
int ChooseLoadCase(CVdView* view, const std::string& want) {
    view->RefreshLoadCaseList();
    CListBox& list = view->m_ListLoadCase;
    const int n = list.m_hWnd ? list.GetCount() : 0;
    UINT key = 0;
    const bool numeric = HostParseKey(want, key);
    int row = -1;
    for (int i = 0; i < n && row < 0; ++i) {
        CString text;
        list.GetText(i, text);
        if ((numeric && list.GetItemData(i) == key) || want == text.GetString()) row = i;
    }
    if (row < 0) {
        std::string rows;
        for (int i = 0; i < n; ++i) {
            CString text;
            list.GetText(i, text);
            rows += "\n  " + std::to_string(list.GetItemData(i)) + "  " + text.GetString();
        }
        HostMessage("the figure has no load case \"%s\"; %s%s", want.c_str(),
                    n ? "its load cases (key, text):" : "it offers no load cases", rows.c_str());
        return HOST_EXIT_USAGE;
    }
    list.SetCurSel(row);
    view->DblclkListLoadcase(static_cast<UINT>(list.GetItemData(row)));
    return 0;
}

// The movable texts of the drawing, in drawing order.
std::vector<long> MovableTexts(CVdrawUtil& d) {
    std::vector<long> ids;
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        if (f && f->IsText() && f->m_movable) ids.push_back(id);
    }
    return ids;
}

// The sheet's reach: a moved text stays within the box of the sheet's drawing (its movable
// texts left out) widened on each side by the box's larger side. Further away the picture would
// shrink the sheet to nothing around the text, and the offset stored with the project with it.
// 0, or the exit status after a message naming the move.
int CheckMoveReach(CVdrawUtil& d, long id, double dx, double dy, const std::string& value) {
    vd::Box box;
    for (long other : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(other);
        if (f && !(f->IsText() && f->m_movable)) vd::AddFigureBox(*f, box);
    }
    const CvdFigure* text = d.GetFigure(id);
    if (!box.valid || !text || text->m_points.empty()) return 0;
    const double reach = std::max(box.xmax - box.xmin, box.ymax - box.ymin);
    const double lo[2] = {box.xmin - reach, box.ymin - reach}, hi[2] = {box.xmax + reach, box.ymax + reach};
    const double at[2] = {text->m_points[0].x + dx, text->m_points[0].y + dy};
    if (at[0] >= lo[0] && at[0] <= hi[0] && at[1] >= lo[1] && at[1] <= hi[1]) return 0;
    using pvxdb::NumberText;
    HostMessage("--move \"%s\": the text would land at (%s, %s), beyond the sheet's reach (x %s to %s, y %s to %s "
                "drawing units: the sheet's extent again on each side); nothing was moved",
                value.c_str(), NumberText(at[0]).c_str(), NumberText(at[1]).c_str(), NumberText(lo[0]).c_str(),
                NumberText(hi[0]).c_str(), NumberText(lo[1]).c_str(), NumberText(hi[1]).c_str());
    return HOST_EXIT_USAGE;
}

int MoveText(CVdView* view, const std::string& value, bool save) {
    std::string text;
    double dx = 0.0, dy = 0.0;
    if (!ParseFigureMove(value, text, dx, dy)) {
        HostMessage("--move \"%s\": give TEXT=DX,DY (the text or its index, then the drag in drawing units)",
                    value.c_str());
        return HOST_EXIT_USAGE;
    }
    CVdrawUtil& d = *view->GetDrawing();
    const std::vector<long> ids = MovableTexts(d);
    long chosen = 0;
    for (long id : ids)
        if (d.GetFigure(id)->m_text.GetString() == text) {
            chosen = id;
            break;
        }
    UINT index = 0;
    if (!chosen && HostParseKey(text, index) && index < ids.size()) chosen = ids[index];
    if (!chosen) {
        std::string rows;
        for (size_t i = 0; i < ids.size(); ++i)
            rows += "\n  " + std::to_string(i) + "  " + d.GetFigure(ids[i])->m_text.GetString();
        HostMessage("--move: the figure has no movable text \"%s\"; %s%s", text.c_str(),
                    ids.empty() ? "it has none" : "its movable texts (index, text):", rows.c_str());
        return HOST_EXIT_USAGE;
    }
    if (int status = CheckMoveReach(d, chosen, dx, dy, value)) return status;
    const long commits = CDBCommand::GetCommitCount();
    view->_MoveTextWithCtrl(chosen, dx, dy);
    if (save && CDBCommand::GetCommitCount() == commits) {
        HostMessage("--move \"%s\": the text has no store in the project (its owner cannot keep this offset), so its "
                    "move cannot be saved; nothing was written",
                    text.c_str());
        return HOST_EXIT_FAILED;
    }
    return 0;
}

// The plan box of a foundation member's outline; false for an unknown key.
bool MemberBox(UINT key, double box[4]) {
    T_MEMB_D m;
    if (!ICheckToolUtil::s_GetMemb(key, m)) return false;
    CArray<T_POINT2D> pts;
    BOOL ok = FALSE;
    switch (m.type) {
    case MEMB_FOOTING: ok = ICheckToolUtil::s_GetColfPolyLine(key, pts, 0, 0, 0); break;
    case MEMB_COLUMN: ok = ICheckToolUtil::s_MakeColumnPoly(key, pts); break;
    case MEMB_RAFT: ok = ICheckToolUtil::s_GetMtsbPolyline(key, pts, 1); break;
    case MEMB_PILE: {
        T_PISP_D sec;
        T_PONT_D p;
        if (m.aPont.GetSize() > 0 && ICheckToolUtil::s_GetPileSecInfo(m.fosp, sec) &&
            ICheckToolUtil::s_GetPontInfo(m.aPont[0], p))
            ok = ICheckToolUtil::s_MakePolyLine(sec.d, sec.d, 0.0, T_POINT2D(p.x, p.y), pts);
        break;
    }
    default:
        for (INT_PTR i = 0; i < m.aPont.GetSize(); ++i) {
            T_PONT_D p;
            if (ICheckToolUtil::s_GetPontInfo(m.aPont[i], p)) pts.Add(T_POINT2D(p.x, p.y));
        }
        ok = pts.GetSize() > 0;
        break;
    }
    if (!ok || pts.GetSize() == 0) return false;
    box[0] = box[2] = pts[0].x;
    box[1] = box[3] = pts[0].y;
    for (INT_PTR i = 1; i < pts.GetSize(); ++i) {
        box[0] = std::min(box[0], pts[i].x);
        box[1] = std::min(box[1], pts[i].y);
        box[2] = std::max(box[2], pts[i].x);
        box[3] = std::max(box[3], pts[i].y);
    }
    return true;
}

// "footing 525 (2.4 x 2.4 m about 12, 6) under column 101": the member --member zooms to, and
// for a footing or a pile the columns standing on it (their insertion points in its box).
std::string DescribeMember(UINT key) {
    T_MEMB_D m;
    double box[4];
    if (!ICheckToolUtil::s_GetMemb(key, m) || !MemberBox(key, box)) return "";
    const char* kind = m.type == MEMB_FOOTING ? "footing"
                       : m.type == MEMB_COLUMN ? "column"
                       : m.type == MEMB_RAFT   ? "raft"
                       : m.type == MEMB_PILE   ? "pile"
                       : m.type == MEMB_BEAM   ? "foundation beam"
                       : m.type == MEMB_WALL   ? "wall"
                                               : "foundation member";
    char text[160];
    std::snprintf(text, sizeof text, "%s %u (%.3g x %.3g m about %.4g, %.4g)", kind, key, box[2] - box[0],
                  box[3] - box[1], 0.5 * (box[0] + box[2]), 0.5 * (box[1] + box[3]));
    std::string s = text;
    if (m.type != MEMB_FOOTING && m.type != MEMB_PILE) return s;
    CDataBase* pDB = CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    if (!pDB) return s;
    const auto& membs = pDB->Table<DBT_MEMB>();
    std::string columns;
    for (UINT c : membs.Keys()) {
        const T_MEMB_D* col = membs.Find(c);
        T_PONT_D p;
        if (!col || col->type != MEMB_COLUMN || col->aPont.GetSize() == 0 || !ICheckToolUtil::s_GetPontInfo(col->aPont[0], p))
            continue;
        if (p.x >= box[0] && p.x <= box[2] && p.y >= box[1] && p.y <= box[3])
            columns += (columns.empty() ? "" : ", ") + std::to_string(c);
    }
    return s + (columns.empty() ? ", no column on it" : " under column" + std::string(columns.find(',') != std::string::npos ? "s " : " ") + columns);
}

int ZoomToMember(CVdView* view, const std::string& member) {
    UINT key = 0;
    double box[4];
    if (!HostParseKey(member, key) || !MemberBox(key, box)) {
        HostMessage("--member \"%s\": the project's foundation model has no member with that key", member.c_str());
        return HOST_EXIT_USAGE;
    }
    const double s = view->GetDrawing()->GetDrawScale();
    const double cx = 0.5 * (box[0] + box[2]), cy = 0.5 * (box[1] + box[3]);
    const double hw = 0.5 * (box[2] - box[0]) * (1.0 + kMemberMargin);
    const double hh = 0.5 * (box[3] - box[1]) * (1.0 + kMemberMargin);
    // The box a person drags, in drawing units.
    view->GetDrawing()->SetZoomWindow((cx - hw) * s, (cy - hh) * s, (cx + hw) * s, (cy + hh) * s);
    view->SendMessage(WM_COMMAND, kZoomWindowCommand, 0);
    return 0;
}

// The view's export command with the save dialog answered by path; non-zero when the drawing
// wrote it.
bool ExportThroughView(CVdView* view, const std::string& path) {
    const size_t mark = CUiDriver::Get().MessageBoxes().size();
    CUiDriver::Get().QueueFileDialogAnswer(path.c_str());
    view->SendMessage(WM_COMMAND, kExportCommand, 0);
    const bool failed = CUiDriver::Get().MessageBoxes().size() > mark;
    ShowBoxes(mark);
    return !failed;
}

// Restores the project writes of the text-move command when the drawing is done.
struct WriteFileHold {
    WriteFileHold() { CDBCommand::SetWriteFile(FALSE); }
    ~WriteFileHold() { CDBCommand::SetWriteFile(TRUE); }
};

// The figure panel as the figure window makes it: --set on its pages, each page's Apply pressed
// after, or its controls listed. 0, or the exit status after a message.
int RunPanel(const FigureDrawArgs& a, CWnd* panel) {
    const long type = a.types.empty() ? 0 : a.types.front();
    if (a.listControls) {
        std::printf("Figure panel of figure %ld\n", type);
        hostpage::PrintPanelControls(panel, kPanelTabs, FigurePanelNoEffect, type);
        std::printf("Why some have no effect here:\n"
                    "  textstyle, layers: they open the figure view's text-style and layer dialogs, which the command\n"
                    "    line does not answer (they are cancelled)\n"
                    "  export: it opens the figure view's export dialog, which is cancelled: --out writes the drawing\n"
                    "  contour: its dialog is cancelled; --contour-set answers it\n"
                    "  options (11382, hidden on the page): it opens the host's display-option dialog; this host has none\n");
        return 0;
    }
    const size_t boxes = CUiDriver::Get().MessageBoxes().size();
    std::vector<CWnd*> touched;
    const std::string hint = "pvxhost figure " + std::to_string(type) + " --list-controls";
    // The load-case list acts on a double-click: that is what choosing an entry there means.
    std::vector<std::pair<std::string, std::string>> sets = a.sets;
    for (auto& [name, value] : sets)
        if (HostLower(name) == "loadcase" && HostLower(value).find(":double") == std::string::npos) value += ":double";
    if (int status = hostpage::SetPanelControls(panel, kPanelTabs, sets, FigurePanelNoEffect, type, hint, &touched, boxes))
        return status;
    for (CWnd* page : touched)
        for (const hostpage::Control& k : hostpage::PageControls(page))
            if (k.strName == "apply" && k.bEnabled) {
                CUiDialogSession(page).ClickButton(k.nID);
                // The page names the edit and what it takes: a value given on the command line.
                if (hostpage::ReportRefusals(boxes)) return HOST_EXIT_USAGE;
            }
    return 0;
}

bool NoControlWithoutEffect(long, const std::string&) { return false; }

// --contour-set: the contour button of the panel pressed, its dialog set and OK pressed. 0, or
// the exit status after a message.
int RunContourDialog(const FigureDrawArgs& a, CWnd* panel) {
    const long type = a.types.empty() ? 0 : a.types.front();
    for (const hostpage::PanelPage& page : hostpage::PanelPages(panel, kPanelTabs))
        for (const hostpage::Control& k : hostpage::PageControls(page.pPage))
            if (k.strName == "contour" && !k.bEnabled) {
                HostMessage("--contour-set: figure %ld is not drawn as contours (its contour button is disabled)", type);
                return HOST_EXIT_USAGE;
            }
    const size_t boxes = CUiDriver::Get().MessageBoxes().size();
    bool opened = false;
    int status = 0;
    CUiDriver::Get().QueueModalAny({[&](CUiDialogSession& s) -> int {
        opened = true;
        status = hostpage::SetDialogControls(s.Dialog(), a.contourSets);
        return status ? IDCANCEL : IDOK;
    }});
    const std::string hint = "pvxhost figure " + std::to_string(type) + " --list-controls";
    const int pressed = hostpage::SetPanelControls(panel, kPanelTabs, {{"contour", "1"}}, NoControlWithoutEffect, type,
                                                   hint, nullptr, boxes);
    // A value the dialog refused (its message box, shown by now) is a wrong request.
    if (opened && !status && CUiDriver::Get().MessageBoxes().size() > boxes) return HOST_EXIT_USAGE;
    if (pressed) return pressed;
    if (!opened) {
        HostMessage("--contour-set: the contour button opened no dialog");
        return HOST_EXIT_FAILED;
    }
    return status;
}

// What was written: the file, the figures, the load case, what the drawing holds.
void ReportWritten(const FigureDrawArgs& a, CVdView* view) {
    std::string figures;
    for (size_t i = 0; i < a.types.size(); ++i)
        figures += (i ? ", " : "") + std::to_string(a.types[i]) + " " + (i < a.names.size() ? a.names[i] : "");
    std::string load = "no load cases";
    CListBox& list = view->m_ListLoadCase;
    if (list.m_hWnd && list.GetCurSel() >= 0) {
        CString text;
        list.GetText(list.GetCurSel(), text);
        load = "load case " + std::to_string(list.GetItemData(list.GetCurSel())) + " " + text.GetString();
    }
    size_t texts = 0, others = 0;
    const CVdrawUtil& d = *view->GetDrawing();
    for (long id : d.GetFigureIds()) ++(d.GetFigure(id)->IsText() ? texts : others);
    const std::string ext = OutputExtension(a.out);
    const std::string size = ext == "bmp" || ext == "emf" ? std::to_string(a.width) + "x" + std::to_string(a.height) + ", " : "";
    UINT key = 0;
    const std::string member = !a.member.empty() && HostParseKey(a.member, key) ? "; zoomed to " + DescribeMember(key) : "";
    std::printf("Wrote %s: %sfigure%s %s; %s%s; %zu texts, %zu lines and outlines%s\n", a.out.c_str(), size.c_str(),
                a.types.size() > 1 ? "s" : "", figures.c_str(), load.c_str(), member.c_str(), texts, others,
                a.save && !a.moves.empty() ? "; the moved texts saved in the project" : "");
}

// Rows of the table of that name; 0 without a database or for another name.
size_t RowCount(const CDataBase* db, const char* name) {
#define PVX_ROW_COUNT(id, record, text) \
    if (db && !std::strcmp(name, text)) return db->Table<DBT_##id>().Count();
    PVXDB_MODEL_TABLES(PVX_ROW_COUNT)
#undef PVX_ROW_COUNT
    return 0;
}

// Why a sheet draws nothing of its own: its records are missing, or they show nothing under
// load (the list's load cases when empty). listed: the sheet offers load cases.
std::string BlankSheetReason(const CDataBase* db, int type, bool listed, const std::string& load) {
    // Rows the sheet read and the project refused, told as they were read.
    if (db && !db->GetReadErrors().empty()) return "the rows it reads were refused: see above";
    static const struct {
        int type;
        const char* table;
    } kNodeValues[] = {{264, "REAC"}, {511, "REAC"}, {524, "STWS"}, {265, "DISP"}, {512, "DISP"}, {525, "DISP"}};
    for (const auto& v : kNodeValues)
        if (v.type == type)
            return std::string("table ") + v.table + " gives none of its outlines a value" +
                   (load.empty() ? std::string() : " under load case " + load);
    const char* table = FigureCheckTable(type);
    if (!table) return "its results are not in the project";
    const std::string rows = std::string("table ") + table;
    if (RowCount(db, table) == 0) return "its check results, " + rows + ", are not in the project";
    if (type == 307 && !listed)
        return "the pile checks, " + rows + ", hold no seismic check group (CKLG seismic 1 or 2), the groups it checks "
               "the piles under";
    const std::string under = load.empty() ? "any check group it lists" : "load case " + load;
    if (type == 306) return "no pile of " + rows + " is in tension under " + under;
    return "its check results, " + rows + ", show nothing under " + under;
}

}  // namespace

bool FigurePanelNoEffect(long type, const std::string& name) {
    // The value scale is the ordinate factor of the force diagram sheets only.
    static const long kDiagramTypes[] = {201, 202, 203, 163, 164, 165, 508, 518, 519};
    if (name == "value-scale")
        return std::find(std::begin(kDiagramTypes), std::end(kDiagramTypes), type) == std::end(kDiagramTypes);
    // Buttons whose dialogs the command line does not answer (see the note --list-controls prints).
    return name == "contour" || name == "textstyle" || name == "layers" || name == "export" || name == "options";
}

bool ParseFigureMove(const std::string& value, std::string& text, double& dx, double& dy) {
    const size_t eq = value.rfind('=');
    if (eq == std::string::npos || eq == 0) return false;
    text = value.substr(0, eq);
    const std::string rest = value.substr(eq + 1);
    const size_t comma = rest.find(',');
    if (comma == std::string::npos) return false;
    return ParseNumber(rest.substr(0, comma), dx) && ParseNumber(rest.substr(comma + 1), dy);
}

int RunFigureDraw(const FigureDrawArgs& a) {
    const std::string ext = OutputExtension(a.out);
    const bool dxf = ext == "dxf", picture = ext == "bmp" || ext == "emf";
    if (ext == "dwg" && !a.listControls) {
        HostMessage("\"%s\" names a DWG file: DWG cannot be written, a drawing is exported as DXF (name the file .dxf)",
                    a.out.c_str());
        return HOST_EXIT_USAGE;
    }
    if (!dxf && !picture && !a.listControls) {
        HostMessage("cannot tell the format from \"%s\": give a name ending in .dxf, .bmp or .emf", a.out.c_str());
        return HOST_EXIT_USAGE;
    }
    if (!a.member.empty() && !picture) {
        HostMessage("--member zooms a picture: it cannot be used with a drawing (.%s) export", ext.c_str());
        return HOST_EXIT_USAGE;
    }
    if (a.width < 1 || a.height < 1) {
        HostMessage("--size: the picture needs a width and a height of at least 1");
        return HOST_EXIT_USAGE;
    }
    CHostOutputFile out(a.out, dxf ? CHostOutputFile::kDxf : ext == "emf" ? CHostOutputFile::kEmf : CHostOutputFile::kBmp);
    if (!a.listControls)
        if (int status = out.Check(a.project)) return status;
    for (const std::string& m : a.moves) {
        std::string text;
        double dx, dy;
        if (!ParseFigureMove(m, text, dx, dy)) {
            HostMessage("--move \"%s\": give TEXT=DX,DY (the text or its index, then the drag in drawing units)",
                        m.c_str());
            return HOST_EXIT_USAGE;
        }
    }

    auto display = a.loader ? reinterpret_cast<PFN_PVXHOST_FIGURE_DISPLAY>(a.loader->GetSymbol(PVXHOST_FIGURE_DISPLAY))
                            : nullptr;
    auto* doc = dynamic_cast<CHostDocument*>(CDBDoc::m_pDBDoc);
    if (!display || !doc) {
        HostMessage("the results module offers no figure drawing");
        return HOST_EXIT_FAILED;
    }
    WriteFileHold hold;  // moves stay in memory until --save writes them all at once
    CHostProgress progress({{"drawing the figure", 90}, {"writing " + a.out, 10}});
    progress.Enter(0);
    // The panel beside the figure view, made before the figure is drawn: it follows the hints.
    auto makePanel = reinterpret_cast<PFN_PVXHOST_FIGURE_PANEL>(a.loader->GetSymbol(PVXHOST_FIGURE_PANEL));
    CWnd* panel = makePanel ? static_cast<CWnd*>(makePanel(AfxGetMainWnd(), 0)) : nullptr;
    if (!panel) {
        HostMessage("the results module made no figure panel");
        return HOST_EXIT_FAILED;
    }
    if (!display(a.types.data(), static_cast<int>(a.types.size()))) {
        HostMessage("the figure view could not be opened");
        return HOST_EXIT_FAILED;
    }
    auto* view = dynamic_cast<CVdView*>(doc->GetFigureView());
    if (!view) {
        HostMessage("the figure view could not be opened");
        return HOST_EXIT_FAILED;
    }
    CUiDriver::Get().PumpMessages();
    const char* why = a.noFoundation ? "the project has no foundation model" : "its records are not in the project";
    if (view->GetDrawing()->GetFigureCount() == 0) {
        // A blank sheet is no answer: the records the figures read are not in the project.
        HostMessage("the figure draws nothing for this project (%s); nothing was written", why);
        return HOST_EXIT_FAILED;
    }
    // Nor is a sheet of base maps and a title only. One that draws nothing under the most
    // unfavourable entry is tried under the asked load case before it is refused.
    auto own = reinterpret_cast<PFN_PVXHOST_FIGURE_OWN_COUNT>(a.loader->GetSymbol(PVXHOST_FIGURE_OWN_COUNT));
    auto blankSheet = [&]() {
        for (size_t i = 0; own && i < a.types.size(); ++i)
            if (a.types[i] > kLastBaseMap && own(a.types[i]) == 0) return static_cast<int>(i);
        return -1;
    };
    int blank = blankSheet();
    bool chosen = false;
    view->RefreshLoadCaseList();
    const bool listed = view->m_ListLoadCase.m_hWnd && view->m_ListLoadCase.GetCount() > 0;
    if (blank >= 0 && a.hasLoad && listed) {
        if (int status = ChooseLoadCase(view, a.load)) return status;
        chosen = true;
        blank = blankSheet();
    }
    if (blank >= 0) {
        const int type = a.types[blank];
        HostMessage("figure %d %s has nothing of its own to draw for this project (%s); nothing was written", type,
                    static_cast<size_t>(blank) < a.names.size() ? a.names[blank].c_str() : "",
                    a.noFoundation ? why : BlankSheetReason(a.db, type, listed, chosen ? a.load : "").c_str());
        return HOST_EXIT_FAILED;
    }
    if (a.hasLoad && !chosen)
        if (int status = ChooseLoadCase(view, a.load)) return status;
    if (int status = RunPanel(a, panel)) return status;
    if (a.listControls) return HOST_EXIT_OK;
    if (!a.contourSets.empty()) {
        if (int status = RunContourDialog(a, panel)) return status;
        for (const auto& [key, value] : a.contourSets)
            if (dxf && (HostLower(key) == "mainweight" || HostLower(key) == "subweight"))
                HostMessage("note: %s has no effect in a DXF (it has no line weights); pictures show it", key.c_str());
    }
    for (const std::string& m : a.moves)
        if (int status = MoveText(view, m, a.save)) return status;
    if (!a.member.empty())
        if (int status = ZoomToMember(view, a.member)) return status;
    CUiDriver::Get().PumpMessages();

    progress.Enter(1);
    if (int status = out.Begin()) return status;
    if (dxf) {
        if (!ExportThroughView(view, out.GetTempPath())) return out.Fail("the figure view's export failed");
        if (int status = out.Commit()) return status;
    } else {
        if (!view->GetDrawing()->RenderToFile(out.GetTempPath().c_str(), a.width, a.height))
            return out.Fail("the drawing could not be rendered");
        if (int status = out.Commit(ext == "bmp" ? a.width : 0, ext == "bmp" ? a.height : 0)) return status;
    }
    if (a.save && !a.moves.empty()) {
        if (!doc->SaveTables(a.project.c_str(), {DBT_MEMB, DBT_GBPA, DBT_FVDTEXT})) {
            HostMessage("the moved texts could not be saved into \"%s\": %s", a.project.c_str(),
                        doc->GetLastError().GetString());
            return HOST_EXIT_FAILED;
        }
    }
    CHostProgress::Finish();
    ReportWritten(a, view);
    return HOST_EXIT_OK;
}

const char* FigureCheckTable(int type) {
    static const struct {
        int from, to;
        const char* table;
    } kTables[] = {{130, 133, "PCDCOLF"}, {200, 200, "PCDBEAM"}, {300, 304, "PCDPILE"}, {306, 307, "PCDPILE"},
                   {450, 450, "PCDCJY"},  {500, 507, "PCDMTSB"}, {514, 517, "PCDMTSB"}, {521, 521, "PCDMTSB"},
                   {600, 602, "PCDSINK"}};
    for (const auto& t : kTables)
        if (type >= t.from && type <= t.to) return t.table;
    return nullptr;
}
