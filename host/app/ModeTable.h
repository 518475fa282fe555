// The result a pvxhost command shows: display mode, load, component and the per-mode settings
// that the result bars would give, until the bars themselves drive the view.
//
// One table names the display modes (reactions, deformed-shape ...) with their bar page, the
// load they take, the components they offer and the settings their bar container's prepare
// member and their page's initial values set. A command parses its --mode, --load, --component
// and --option words into a CHostResultChoice, which checks them against the table (misuse:
// exit status 2), then resolves the load and checks the project's results (missing: exit
// status 1), hands everything to the module before the view paints and prints the result's
// extremes afterwards:
//
//     CHostResultChoice result;                          // its Options() are the command's
//     if (int st = result.Read(args)) return st;         // 2
//     ... open the view, passing &result; the view calls Resolve and Apply before it paints ...
//     result.PrintExtremes(loader, model);
#pragma once

#include <string>
#include <vector>

#include "host/app/HostCommand.h"

class CDataBase;
class CPostCtrl;
class CPVXModuleLoader;
class I_PVXModelBase;

// The load a mode takes.
enum class EHostLoad {
    kStatic,       // a load case or combination by name; default the first static case
    kModeShape,    // a mode number; default mode 1
    kTimeHistory,  // a time-history case by name; default the first one
    kSettlement,   // a settlement case by name; default the first one
};

struct CHostComponent {
    const char* pszName;  // as on the command line (any case)
    int nCode;            // the engine's selector
};

struct CHostMode {
    int nMode;                        // display mode
    const char* pszName;              // name on the command line
    int nResultId;                    // bar page showing it (result id), -1 none
    EHostLoad eLoad;
    const CHostComponent* pComponents;  // components offered, null when none
    int nComponents;
    const char* pszSettings;          // keys with their values, "contour=1 legend=1"
    const char* pszResults;           // the results the mode reads, for messages
    // Non-zero when the load selected in post has results of the mode's kind (null: the engine
    // tells).
    int (*pfnHasResults)(const CPostCtrl& post, CDataBase& db, int nMode);
};

// The table, in help order; null for an unknown mode.
const std::vector<CHostMode>& GetHostModes();
const CHostMode* FindHostMode(const std::string& nameOrNumber);

// A cutting line "X1,Y1,X2,Y2" in plan, m: four finite numbers within the coordinates a project
// holds, of two different points.
bool ReadHostCut(const std::string& text, double v[4]);
// The modes, their components and the option keys, for --help.
const char* GetHostResultHelp();

class CHostResultChoice {
public:
    // --mode, --load, --component, --option and --cut (both repeatable), for the commands that
    // draw.
    static std::vector<CHostOption> Options();
    // Takes them from a checked command line, as Parse and ParseCuts.
    int Read(const CHostArgs& args);
    // Cutting lines "X1,Y1,X2,Y2" (plan coordinates, m) for the cutting-line diagrams of the
    // mode, each handed to the module as a setting "cut". Returns 0, or HOST_EXIT_USAGE with a
    // message when lines are given without a mode, for a mode that draws no cutting-line
    // diagrams, or a line is not four numbers of two distinct points within the coordinates a
    // project holds.
    int ParseCuts(const std::vector<std::string>& cuts);
    // Reads the words of the command line (empty mode: no result asked). Returns 0, or
    // HOST_EXIT_USAGE with a message for an unknown mode, component or option key, or a value
    // the key does not take.
    int Parse(const std::string& mode, const std::string& load, const std::string& component,
              const std::vector<std::string>& options);
    bool IsAsked() const { return m_pMode != nullptr; }
    const CHostMode* GetMode() const { return m_pMode; }

    // Finds the load in the project and checks that it has results of the mode's kind. Returns
    // 0, HOST_EXIT_USAGE with a message for a load the project has not (or of another kind), or
    // HOST_EXIT_FAILED with a message naming what the project lacks; GetResolveStatus keeps it.
    // With bQuiet nothing is printed (a probe).
    int Resolve(CDataBase& db, bool bQuiet = false);
    int GetResolveStatus() const { return m_nResolveStatus; }
    // Hands the result to the module's model before the view paints. An engine the module does
    // not have yet is reported on stderr and the plain model is drawn (0). HOST_EXIT_FAILED when
    // the module cannot take the result.
    int Apply(CPVXModuleLoader& loader, I_PVXModelBase* pModel);
    // After the paint: "max VALUE (FULL) at KIND KEY" and "min ..." on stdout when the view shows
    // a result with extremes.
    void PrintExtremes(CPVXModuleLoader& loader, I_PVXModelBase* pModel) const;

    // What the load resolved to (after Resolve).
    unsigned GetLoadType() const { return m_nLoadType; }
    unsigned GetLoadKey() const { return m_nLoadKey; }
    const std::string& GetLoadName() const { return m_strLoadName; }
    // Settings handed to the module, in order (the mode's table entries, then --component and
    // --option values).
    const std::vector<std::pair<std::string, std::string>>& GetSettings() const { return m_settings; }
    // The result lives at the foundation only (reactions, settlements, spring pressures).
    bool IsFoundationResult() const { return m_pMode && (m_pMode->nMode == 0 || m_pMode->nMode == 69 || m_pMode->nMode == 70); }
    // The supports the part leaves out below others at their plan points (CHostActivePart::
    // SupportsBelow), set before Resolve: the reaction display then says how many it leaves out
    // with their extremes, after its own, and a refusal that they carry the load.
    void SetSupportsBelow(std::vector<UINT> nodes) { m_supportsBelow = std::move(nodes); }
    // A part shown without the foundation holds none of a foundation result: the message saying
    // so (the mode, the part, --storey 0), or "" when the part may show the result.
    std::string PartLacks(bool bPartAsked, bool bShowsFoundation, const std::string& part) const;

private:
    int ChooseTimeStep(const CPostCtrl& post, CDataBase& db);
    int ResolveLoad(CDataBase& db);
    std::string SupportsBelowText(CDataBase& db) const;
    std::string UndrawnMembersText(CDataBase& db) const;

    const CHostMode* m_pMode = nullptr;
    std::string m_strLoad;           // --load as given; empty: the mode's default
    unsigned m_nLoadType = 0;
    unsigned m_nLoadKey = 0;
    int m_nLoadStep = 0;
    std::string m_strLoadName;
    std::vector<std::pair<std::string, std::string>> m_settings;
    bool m_bDrawn = false;
    bool m_bMemberKindGiven = false;    // --option member-kind was given
    std::vector<UINT> m_supportsBelow;  // see SetSupportsBelow
    std::string m_strBelowNote;         // their count and extremes under the load (the frame force
                                        // displays: the piles' and ties'), "" without
    int m_nResolveStatus = 0;
};

// Why no result can be drawn on the project for want of members ("the project has N elements
// but no members ..."), or "" when it has members (or no elements either).
std::string MembersMissing(CDataBase& db);

// "max VALUE (FULL) at KIND KEY" and "min ..." on stdout when the view shows a result with
// extremes; nothing otherwise.
void PrintHostResultExtremes(CPVXModuleLoader& loader, I_PVXModelBase* pModel);

// What the view shows, as the "Wrote" lines name it: "; mode 6 (frame-force-contour), load DL,
// component MY, values written"; "" for the plain model.
std::string DescribeHostShownResult(CPVXModuleLoader& loader, I_PVXModelBase* pModel);
