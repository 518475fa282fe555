// pvxhost info: what the project holds, and whether the results module opens its result view
// on it.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "host/app/HostActivePart.h"
#include "host/app/HostCommand.h"
#include "host/app/HostProgress.h"
#include "host/app/HostResultView.h"
#include "host/app/HostSession.h"
#include "host/app/InfoFoundation.h"
#include "host/app/ModuleLoader.h"
#include "host/db/DBText.h"

namespace {

// Element type codes of the project's element table.
const char* ElementTypeName(int type) {
    switch (type) {
    case 101: return "column";
    case 200: return "line member";
    case 403: return "pile";
    case 201: return "beam";
    case 204: return "plane element with beam forces";
    case 205: return "beam";
    case 206: return "truss";
    case 209: return "wall column";
    case 210: return "wall beam";
    case 211:
    case 212: return "wall";
    case 301:
    case 302:
    case 305: return "plate or slab";
    default: return "other";
    }
}

const char* LoadTypeName(int type) {
    switch (type) {
    case PLOAD_STATIC: return "static";
    case PLOAD_DYNAMIC: return "response spectrum";
    case PLOAD_TIMEHISTORY: return "time history";
    case PLOAD_SETTLEMENT: return "settlement";
    default: return "other";
    }
}

// Names of the loads (of the given keys) that have at least one record in the table.
template <class Table>
std::vector<UINT> LoadsWith(const Table& table, const std::vector<UINT>& loads, const std::vector<UINT>& keys) {
    return table.LoadsWithAnyOf(loads, keys);
}

std::string NameList(CDataBase& db, const std::vector<UINT>& loads) {
    std::string s;
    for (UINT lc : loads) {
        const T_PSTLD_D* rec = db.Table<DBT_PSTLD>().Find(lc);
        if (!s.empty()) s += ", ";
        s += rec ? pvxdb::EscapeText(rec->name) : std::to_string(lc);
    }
    return s;
}

void PrintPresence(const char* what, CDataBase& db, const std::vector<UINT>& loads) {
    if (loads.empty())
        std::printf("%s: none\n", what);
    else
        std::printf("%s: %s\n", what, NameList(db, loads).c_str());
}

int RunInfo(const CHostOptions& options, const CHostArgs& args) {
    const std::string module = args.Get("--module");
    CHostProgress progress({{"reading the project", 90}, {"loading the results module", 10}});
    progress.Enter(0);
    CHostSession session;
    if (!session.Open(options.strDBPath)) return HOST_EXIT_FAILED;
    CDataBase& db = *session.GetDB();
    CHostProgress::Clear();

    const auto& nodes = db.Table<DBT_PNODE>();
    const auto& elems = db.Table<DBT_PELEM>();
    const auto& membs = db.Table<DBT_PMEMB>();
    const auto& cases = db.Table<DBT_PSTLD>();
    const auto& combs = db.Table<DBT_PLCOM>();

    std::printf("Project: %s\n", pvxdb::EscapeText(options.strDBPath.c_str()).c_str());
    std::printf("Nodes: %zu\n", nodes.Count());
    std::printf("Elements: %zu\n", elems.Count());
    std::map<int, size_t> byType;
    for (const T_PELEM_D& e : elems.Records()) ++byType[e.type];
    for (const auto& t : byType)
        std::printf("Elements of type %d (%s): %zu\n", t.first, ElementTypeName(t.first), t.second);
    std::printf("Members: %zu\n", membs.Count());

    std::printf("Load cases: %zu\n", cases.Count());
    std::vector<UINT> caseKeys = cases.Keys(), thKeys, settleKeys;
    for (size_t i = 0; i < caseKeys.size(); ++i) {
        const T_PSTLD_D& c = cases.Records()[i];
        std::printf("Load case %u: %s (%s)\n", caseKeys[i], pvxdb::EscapeText(c.name).c_str(), LoadTypeName(c.type));
        if (c.type == PLOAD_TIMEHISTORY) thKeys.push_back(caseKeys[i]);
        if (c.type == PLOAD_SETTLEMENT) settleKeys.push_back(caseKeys[i]);
    }
    std::printf("Combinations: %zu\n", combs.Count());
    for (size_t i = 0; i < combs.Keys().size(); ++i) {
        const T_PLCOM_D& c = combs.Records()[i];
        std::printf("Combination %u: %s (%s, %d terms)\n", combs.Keys()[i], pvxdb::EscapeText(c.name).c_str(),
                    c.type == PLCOM_ENVELOPE ? "envelope" : "linear", c.GetEntryCount());
    }
    // A name more than one load has: --load takes these by their keys only.
    std::map<std::string, std::vector<std::string>> named;
    for (size_t i = 0; i < caseKeys.size(); ++i)
        named[cases.Records()[i].name].push_back("load case " + std::to_string(caseKeys[i]));
    for (size_t i = 0; i < combs.Keys().size(); ++i)
        named[combs.Records()[i].name].push_back("combination " + std::to_string(combs.Keys()[i]));
    for (const auto& [name, loads] : named) {
        if (loads.size() < 2) continue;
        std::string list;
        for (const std::string& l : loads) list += (list.empty() ? "" : ", ") + l;
        std::printf("Loads named %s: %s (--load takes them by key)\n", pvxdb::EscapeText(name.c_str()).c_str(),
                    list.c_str());
    }

    const std::vector<UINT>& nodeKeys = nodes.Keys();
    const std::vector<UINT>& elemKeys = elems.Keys();
    std::vector<UINT> membKeys = membs.Keys();
    std::printf("Results:\n");
    PrintPresence("Displacements", db, LoadsWith(db.Table<DBT_DISP>(), caseKeys, nodeKeys));
    PrintPresence("Reactions", db, LoadsWith(db.Table<DBT_REAC>(), caseKeys, nodeKeys));
    PrintPresence("Member forces", db, LoadsWith(db.Table<DBT_MBWG>(), caseKeys, membKeys));
    PrintPresence("Column forces", db, LoadsWith(db.Table<DBT_MBCL>(), caseKeys, membKeys));
    PrintPresence("Truss forces", db, LoadsWith(db.Table<DBT_MBBR>(), caseKeys, membKeys));
    PrintPresence("Wall forces", db, LoadsWith(db.Table<DBT_STRW>(), caseKeys, membKeys));
    PrintPresence("Plate forces", db, LoadsWith(db.Table<DBT_STRP>(), caseKeys, elemKeys));

    const auto& freq = db.Table<DBT_FREQ>();
    size_t shapes = db.Table<DBT_MODE>().LoadsWithAnyOf(freq.Keys(), nodeKeys).size();
    std::printf("Modes: %zu (mode shapes for %zu)\n", freq.Count(), shapes);
    // Time histories are their own rows: a case may have no DISP rows at all.
    PrintPresence("Time history", db, LoadsWith(db.Table<DBT_DISPHIS>(), thKeys, nodeKeys));
    PrintPresence("Settlement load cases", db, LoadsWith(db.Table<DBT_DISP>(), settleKeys, nodeKeys));
    // The settlement analysis: its points and its load groups of the settlement kind.
    std::string groups;
    size_t settleGroups = 0;
    const auto& ldgp = db.Table<DBT_LDGP>();
    for (size_t i = 0; i < ldgp.Count(); ++i)
        if (ldgp.Records()[i].type == LDGP_SETTLEMENT) {
            groups += std::string(settleGroups++ ? ", " : "") + pvxdb::EscapeText(ldgp.Records()[i].name);
        }
    std::printf("Settlement points: %zu\n", db.Table<DBT_PCDSINK>().Count());
    std::printf("Settlement groups: %zu%s%s\n", settleGroups, groups.empty() ? "" : ": ", groups.c_str());
    PrintFoundationModel(db);
    if (options.bVerbose) {
        std::vector<T_STOREY> storeys;
        CStoreyFinder::Find(db, storeys);
        std::printf("Storeys: %zu above the foundation\n", storeys.empty() ? 0 : storeys.size() - 1);
        for (const std::string& line : CHostActivePart::StoreyLines(storeys)) std::printf("%s\n", line.c_str());
    }

    // The results module, loaded as the host application loads it, with its result view class;
    // the view itself (its fonts, pictures and buffers) is left unmade, for nothing here draws.
    progress.Enter(1);
    CPVXModuleLoader loader;
    if (!loader.Load(module.empty() ? CPVXModuleLoader::DefaultModulePath() : module)) {
        HostMessage("%s", loader.GetLastError().c_str());
        return HOST_EXIT_FAILED;
    }
    CHostProgress::Finish();
    if (options.bVerbose)
        std::printf("Module: %s loaded from %s, result view class %s registered\n", CPVXModuleLoader::kModuleName,
                    (module.empty() ? CPVXModuleLoader::DefaultModulePath() : module).c_str(),
                    CPVXModuleLoader::kViewClassName);
    return HOST_EXIT_OK;
}

const CHostCommandRegistrar kRegisterInfo({"info",
                                       "Prints what the project holds: counts of nodes, elements by type, members,\n"
                                       "load cases and combinations, modes, and which results are present\n"
                                       "(displacements, reactions, forces, modes, time history, settlement load cases),\n"
                                       "the settlement points and groups and the foundation model.\n"
                                       "With --verbose also the storeys: the foundation (0) and the floor levels.\n"
                                       "Then loads the results module and checks its result view class.",
                                       RunInfo, 10, {CHostViewRequest::ModuleOption()}});

}  // namespace
