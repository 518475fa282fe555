// pvxhost figure: the results module's catalogue of plan figures, as the host's figure tree and
// figure window use it.
//
// The module is loaded and its result view opened on the project (its model makes the figure
// controller); the host's figure tree is filled from the catalogue (hint 110 per record). --list
// prints the tree; an ID (a type number or suffix, or a comma list of them) is drawn with its
// base maps in the figure view and written (CmdFigureDraw.cpp).
//
//     pvxhost figure --list
//     pvxhost figure 41 --out colf.bmp
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "host/app/CmdFigureDraw.h"
#include "host/app/HostCommand.h"
#include "host/app/HostFigureTree.h"
#include "host/app/HostPageControls.h"
#include "host/app/HostSession.h"
#include "host/app/InfoFoundation.h"
#include "host/app/ModuleLoader.h"
#include "host/base/CDlgPanel.h"
#include "host/base/PVXHostFigurePanel.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/CWinApp.h"

namespace {

int RunFigure(const CHostOptions& options, const CHostArgs& args);

const CHostCommandRegistrar kRegisterFigure(
    {"figure",
     "Lists the results module's catalogue of plan figures (--list) as the host's figure tree\n"
     "shows it, or draws figure ID over its base maps in the figure view and writes it.\n"
     "ID is a type number or its suffix (any case), or a comma list of them drawn in that order.\n"
     "A figure whose class the module has not got yet is refused (exit 1); base maps (31 to 47,\n"
     "91, 92) may be drawn alone. On a project without results every figure that needs them is\n"
     "disabled. A figure disabled for the --owner type is refused (exit 2), as is a sheet with\n"
     "nothing of its own to draw for the project (exit 1). Prints the file written, the figures,\n"
     "the load case and the counts of texts and of lines and outlines.",
     RunFigure,
     70,
     {{"--list", EHostValue::kFlag, nullptr,
       "print the catalogue's records indented by parent: type, suffix, number, owner mask, any/post, "
       "enabled (for this project and every owner type), the leaf's class and whether the module has "
       "it, caption"},
      {"--load", EHostValue::kText, "NAME|KEY",
       "entry of the figure's load-case list (its key, its text, or 0 for the most unfavourable)"},
      {"--member", EHostValue::kText, "KEY", "zoom to that foundation member (pictures only)"},
      {"--move", EHostValue::kText, "TEXT=DX,DY",
       "drag a movable text (its text or its index) by DX, DY drawing units", nullptr, 0, 0, HOST_OPT_REPEATABLE},
      {"--save", EHostValue::kFlag, nullptr, "write the moved texts' offsets into the project file"},
      {"--size", EHostValue::kSize, "WxH", "picture size in pixels (.bmp, .emf)", "1600x1200", 16, 8000},
      {"--out", EHostValue::kPath, "F.dxf|F.bmp|F.emf", "file to write"},
      {"--set", EHostValue::kText, "CONTROL=VALUE",
       "sets a control of the figure panel's pages, by id or name (see --list-controls), as a person does: the\n"
       "page's tab is picked first; DISPLAY scale, value-scale, precision (edits) and values (the value display\n"
       "box, 1: values as limit/value) take effect when its Apply is pressed, which follows the --set words;\n"
       "VIEW basemaps (ITEM:0 or ITEM:1 switches a base map) and LOADCASE loadcase (an item's index or text)\n"
       "act at once",
       nullptr, 0, 0, HOST_OPT_REPEATABLE},
      {"--contour-set", EHostValue::kText, "KEY=VALUE",
       "presses the panel's contour button (figures drawn as contours: 600) and sets the contour tool's dialog\n"
       "as a person does, then its OK: levels (comma list of values, or auto), strips (automatic level count,\n"
       "1 to 100), subcount (every n-th level a thick, labelled main line), labelsinside (0: labels outside the\n"
       "outlines too), render (0: no shaded map), subtext (1: labels on sub lines too), mainweight and subweight\n"
       "(line weights in 0.01 mm: pictures only, a DXF has no line weights)",
       nullptr, 0, 0, HOST_OPT_REPEATABLE},
      {"--list-controls", EHostValue::kFlag, nullptr,
       "prints the figure panel's pages and their controls for figure ID: id, name, kind, caption and value"},
      {"--owner", EHostValue::kText, "NAME",
       "chooses the owner type in the figure window's selector before anything else (ALL, ISO_CAP, BEAM,\n"
       "MTSB_CHECK, MTSB_CHECK_SLAB, MTSB_CHECK_RIB, MTSB_DESIGN, MTSB_DESIGN_SLAB, MTSB_DESIGN_RIB, PILE,\n"
       "RIB_BEAM, SLAB, SINK): the catalogue then enables only the figures of that owner type and the tree is\n"
       "refilled"},
      {"--module", EHostValue::kPath, "PATH",
       "the results module to load (default: lib/libqsn_pvx.so beside the program's bin folder)"}},
     "ID"});

const char* Word(bool b, const char* yes, const char* no) { return b ? yes : no; }

void PrintList(const CHostFigureTree& tree, bool postMode, const std::string& owner, bool noFoundation) {
    const auto& items = tree.GetItems();
    std::printf("Figure catalogue: %zu records (project %s results%s; %s)\n", items.size(), postMode ? "with" : "without",
                noFoundation ? ", no foundation model: the sheets from 100 on draw nothing" : "",
                owner.empty() ? "every owner type" : ("owner type " + owner).c_str());
    for (const CHostFigureTree::Item& it : items) {
        const PVXHostFigureRecord& r = it.rec;
        std::printf("%*s%d %s", 2 * it.depth, "", r.nType, it.suffix.c_str());
        if (it.className.empty()) {
            std::printf("  group  number %d  %s", r.nNumber, Word(r.bEnabled, "enabled", "disabled"));
        } else {
            std::printf("  number %d  owners %u  %s  %s  %s %s", r.nNumber, r.nOwnerMask, Word(r.bPostOnly, "post", "any"),
                        Word(r.bEnabled, "enabled", "disabled"), it.className.c_str(),
                        Word(r.bHasObject, "built", "not built yet"));
        }
        std::printf("  \"%s\"\n", it.caption.c_str());
    }
}

// Splits "a,b,c" into its words (blanks around them dropped; empty words kept as empty).
std::vector<std::string> SplitIds(const std::string& text) {
    std::vector<std::string> words;
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        std::string w = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const size_t b = w.find_first_not_of(" \t");
        const size_t e = w.find_last_not_of(" \t");
        words.push_back(b == std::string::npos ? std::string() : w.substr(b, e - b + 1));
        if (comma == std::string::npos) return words;
        start = comma + 1;
    }
}

// The host's function registry while the selector lives, with the tree's refill as class 12.
struct OwnerRefill {
    explicit OwnerRefill(CHostFigureTree& tree) {
        CFunctionRegestor* reg = CFunctionRegestor::Create();
        index = reg->Register(12, sFunctionInfor{}, [&tree](UINT, UINT, int) { refilled = tree.Fill() != FALSE; });
    }
    ~OwnerRefill() { CFunctionRegestor::Destroy(); }
    OwnerRefill(const OwnerRefill&) = delete;
    OwnerRefill& operator=(const OwnerRefill&) = delete;
    int index = -1;
    static inline bool refilled = false;
};

// --owner: the figure window's owner-type selector, its row chosen as a person chooses it; the
// selector calls the host's class-12 function, which refills the tree. 0, or the exit status.
int ChooseOwner(const CPVXModuleLoader& loader, CHostFigureTree& tree, const std::string& name) {
    auto make = reinterpret_cast<PFN_PVXHOST_FIGURE_OWNER_TYPE>(loader.GetSymbol(PVXHOST_FIGURE_OWNER_TYPE));
    auto row = reinterpret_cast<PFN_PVXHOST_FIGURE_OWNER_ROW>(loader.GetSymbol(PVXHOST_FIGURE_OWNER_ROW));
    if (!make || !row) {
        HostMessage("the results module has no owner-type selector");
        return HOST_EXIT_FAILED;
    }
    const int r = row(name.c_str());
    if (r < 0) {
        HostMessage("--owner \"%s\": no such owner type (see pvxhost help figure)", name.c_str());
        return HOST_EXIT_USAGE;
    }
    OwnerRefill refill(tree);  // the selector goes before it
    std::unique_ptr<CWnd> selector(static_cast<CWnd*>(make(AfxGetMainWnd())));
    if (!selector) {
        HostMessage("the owner-type selector could not be made");
        return HOST_EXIT_FAILED;
    }
    OwnerRefill::refilled = false;
    CUiDialogSession(selector.get()).SelectComboIndex(11477, r);
    selector->DestroyWindow();
    if (!OwnerRefill::refilled) {
        HostMessage("the owner-type selector did not ask the host to refill its tree");
        return HOST_EXIT_FAILED;
    }
    return 0;
}

int RunFigure(const CHostOptions& options, const CHostArgs& args) {
    const bool list = args.Has("--list");
    const std::string ids = args.GetOperand();
    if (list == !ids.empty()) {
        HostMessage(list ? "--list takes no figure ID" : "give a figure ID (see pvxhost figure --list) or --list");
        return HOST_EXIT_USAGE;
    }
    std::vector<std::pair<std::string, std::string>> sets;
    std::vector<std::pair<std::string, std::string>> contourSets;
    if (!hostpage::ReadSetWords(args.GetAll("--set"), "--set", sets) ||
        !hostpage::ReadSetWords(args.GetAll("--contour-set"), "--contour-set", contourSets))
        return HOST_EXIT_USAGE;
    const bool listControls = args.Has("--list-controls");
    if (listControls) {
        for (const char* opt : {"--out", "--move", "--save", "--member", "--contour-set"}) {
            if (!args.Has(opt)) continue;
            HostMessage("%s has no effect with --list-controls", opt);
            return HOST_EXIT_USAGE;
        }
    }
    if (!list && !listControls && !args.Has("--out")) {
        HostMessage("--out F.dxf|F.bmp|F.emf is needed to draw a figure");
        return HOST_EXIT_USAGE;
    }
    if (list) {
        for (const char* opt : {"--load", "--member", "--move", "--save", "--size", "--out", "--set", "--contour-set", "--list-controls"}) {
            if (!args.Has(opt)) continue;
            HostMessage("%s has no effect with --list", opt);
            return HOST_EXIT_USAGE;
        }
    }

    CHostSession session;
    if (!session.Open(options.strDBPath)) return HOST_EXIT_FAILED;
    const std::string module = args.Get("--module");
    CPVXModuleLoader loader;
    if (!loader.Load(module.empty() ? CPVXModuleLoader::DefaultModulePath() : module) || !loader.OpenResultView()) {
        HostMessage("%s", loader.GetLastError().c_str());
        return HOST_EXIT_FAILED;
    }
    CHostFigureTree tree(session.GetDoc(), loader);
    if (!tree.Fill()) return HOST_EXIT_FAILED;
    const std::string owner = args.Get("--owner");
    if (args.Has("--owner"))
        if (int status = ChooseOwner(loader, tree, owner)) return status;
    if (list) {
        PrintList(tree, session.GetDoc()->IsPostMode(), owner, session.GetDB() && !HasFoundationModel(*session.GetDB()));
        return HOST_EXIT_OK;
    }

    FigureDrawArgs draw;
    for (const std::string& word : SplitIds(ids)) {
        const int type = tree.ParseType(word);
        PVXHostFigureRecord rec{};
        if (!type || !tree.GetRecord(type, rec)) {
            HostMessage("unknown figure ID \"%s\" (pvxhost figure --list shows the catalogue)", word.c_str());
            return HOST_EXIT_USAGE;
        }
        if (!rec.pszClass) {
            HostMessage("%d (%s) is a group of the catalogue, not a figure", type, rec.pszSuffix);
            return HOST_EXIT_USAGE;
        }
        if (!rec.bHasObject) {
            HostMessage("figure %d (%s) is not built yet", type, rec.pszSuffix);
            return HOST_EXIT_FAILED;
        }
        if (!rec.bEnabled && args.Has("--owner")) {
            std::string enabled;
            for (const CHostFigureTree::Item& it : tree.GetItems())
                if (!it.className.empty() && it.rec.bEnabled && it.rec.nType > 99)
                    enabled += (enabled.empty() ? "" : ", ") + std::to_string(it.rec.nType);
            HostMessage("figure %d (%s) is disabled for owner type %s; it enables %s", type, rec.pszSuffix, owner.c_str(),
                        enabled.empty() ? "no figure" : ("the figures " + enabled).c_str());
            return HOST_EXIT_USAGE;
        }
        draw.types.push_back(type);
        draw.names.push_back(std::string(rec.pszCaption ? rec.pszCaption : "") + " (" + rec.pszSuffix + ")");
    }
    draw.loader = &loader;
    draw.hasLoad = args.Has("--load");
    draw.load = args.Get("--load");
    draw.member = args.Get("--member");
    draw.moves = args.GetAll("--move");
    draw.save = args.Has("--save");
    long w = 0, h = 0;
    args.GetSize("--size", w, h);
    draw.width = static_cast<int>(w);
    draw.height = static_cast<int>(h);
    draw.out = args.Get("--out");
    draw.project = options.strDBPath;
    draw.sets = sets;
    draw.contourSets = contourSets;
    draw.listControls = listControls;
    draw.noFoundation = session.GetDB() && !HasFoundationModel(*session.GetDB());
    draw.db = session.GetDB();
    return RunFigureDraw(draw);
}

}  // namespace
