#include "host/app/ModeTable.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include <unordered_map>

#include "host/app/HostCommand.h"
#include "host/app/ModuleLoader.h"
#include "host/base/PVXHostResult.h"
#include "host/db/CPostCtrl.h"
#include "host/db/DBField.h"
#include "host/db/DBTables.h"

namespace {

// ---- components ----------------------------------------------------------------------------

const CHostComponent kReactions[] = {{"FX", 0}, {"FY", 1}, {"FZ", 2}, {"FXYZ", 3},
                                     {"MX", 4}, {"MY", 5}, {"MZ", 6}, {"MXYZ", 7}};
const CHostComponent kDisplacements[] = {{"DX", 0}, {"DY", 1}, {"DZ", 2},  {"DXYZ", 3}, {"RX", 4},
                                         {"RY", 5}, {"RZ", 6}, {"DXY", 7}, {"DYZ", 8},  {"DXZ", 9}};
// The deformed-shape page offers the translations only.
const CHostComponent kTranslations[] = {{"DX", 0}, {"DY", 1}, {"DZ", 2}, {"DXYZ", 3}, {"DXY", 7}, {"DYZ", 8}, {"DXZ", 9}};
// Frame and wall members: axial force, shears, torsion, moments, the larger shear and moment.
const CHostComponent kMemberForces[] = {{"N", 0},  {"VY", 1}, {"VZ", 2}, {"T", 3},
                                        {"MY", 4}, {"MZ", 5}, {"V", 6},  {"M", 7}};
const CHostComponent kPlateForces[] = {{"FXX", 0},  {"FYY", 1},   {"FXY", 2},  {"FMAX", 3},    {"FMIN", 4},     {"FVECTOR", 5},
                                       {"MXX", 6},  {"MYY", 7},   {"MXY", 8},  {"MMAX", 9},    {"MMIN", 10},    {"MVECTOR", 11},
                                       {"VXX", 12}, {"VYY", 13},  {"FABS", 14}, {"MABS", 15}, {"VMAX", 16}};
const CHostComponent kStresses[] = {{"SIG-XX", 0},  {"SIG-YY", 1},  {"SIG-XY", 2},    {"SIG-MAX", 3},
                                    {"SIG-MIN", 4}, {"SIG-EFF", 5}, {"SHEAR-MAX", 6}, {"VECTOR", 7}};
const CHostComponent kSlabForces[] = {{"MXX", 0}, {"MYY", 1}, {"MXY", 2}, {"VXX", 3}, {"VYY", 4},
                                      {"VMAX", 5}, {"FXX", 6}, {"FYY", 7}, {"FXY", 8}};
const CHostComponent kStoryShear[] = {{"FORCE", 0}, {"RATIO", 1}};

#define PVX_COMPONENTS(a) a, static_cast<int>(sizeof(a) / sizeof(a[0]))

// ---- result probes -------------------------------------------------------------------------

// Calls f(key, record) for every record of a table, in table order.
template <class Table, class Record, class F>
void ForEachRecord(CDataBase& db, F f) {
    Table t;
    t.ConnectToDB(&db);
    CArray<UINT, UINT> keys;
    t.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        Record rec;
        if (t.Get(keys[i], rec)) f(keys[i], rec);
    }
}

template <class Table, class F>
int AnyKey(CDataBase& db, F has) {
    Table t;
    t.ConnectToDB(&db);
    CArray<UINT, UINT> keys;
    t.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (has(keys[i])) return 1;
    return 0;
}

int HasDisp(const CPostCtrl& post, CDataBase& db, int) {
    return AnyKey<CClassPNode>(db, [&](UINT k) {
        T_DISP_D d;
        return post.GetDisp(k, &d, &d, &d);
    });
}
int HasModeShape(const CPostCtrl& post, CDataBase& db, int) {
    return AnyKey<CClassPNode>(db, [&](UINT k) {
        T_DISP_D d;
        return post.GetEiMode(k, post.GetSelectedMode(), d);
    });
}
// A time history of any node for the selected time-history case.
int HasDispHistory(const CPostCtrl& post, CDataBase& db, int) {
    return AnyKey<CClassPNode>(db, [&](UINT k) {
        T_DISP_D d;
        return post.GetDispHistory(3, 0, k, d);
    });
}
// Settlement points and a load group of the settlement kind.
int HasSettlement(const CPostCtrl&, CDataBase& db, int) {
    CClassLdgp groups;
    groups.ConnectToDB(&db);
    CArray<UINT, UINT> settling;
    groups.GetKeyListByType(settling, LDGP_SETTLEMENT);
    return settling.GetSize() > 0 && AnyKey<CClassPCDSink>(db, [](UINT) { return true; });
}
int HasReac(const CPostCtrl& post, CDataBase& db, int) {
    return AnyKey<CClassPNode>(db, [&](UINT k) {
        T_REAC_D r;
        return post.GetReac(k, &r, &r, &r);
    });
}
int HasStws(const CPostCtrl& post, CDataBase& db, int) {
    return AnyKey<CClassPEspr>(db, [&](UINT k) {
        T_STWS_D s;
        return post.GetStws(k, &s, &s, &s);
    });
}
int HasFrameForces(const CPostCtrl& post, CDataBase& db, int) {
    return AnyKey<CClassPMemb>(db, [&](UINT k) {
        T_STRG_D s;
        T_MBCL_D c;
        return post.GetMbgd(k, &s, &s, &s, 0) || post.GetMbcl(k, &c, &c, &c, 0);
    });
}
// Story shear rows of the selected load case (a case is selected as a combination of its one
// term; rows are not combined).
int HasStoryShear(const CPostCtrl& post, CDataBase& db, int) {
    const T_PLCOM_D& lc = post.GetSelectedLoadComb();
    if (lc.GetEntryCount() != 1 || lc.entry[0].kind == PLOAD_COMBINATION) return 0;
    return AnyKey<CClassPMemb>(db, [&](UINT k) {
        T_SSFR_D r;
        return post.GetSsfr(lc.entry[0].key, k, r);
    });
}
// The frame force displays show trusses too.
int HasFrameOrTrussForces(const CPostCtrl& post, CDataBase& db, int n) {
    return HasFrameForces(post, db, n) || AnyKey<CClassPMemb>(db, [&](UINT k) {
               T_MBBR_D t;
               return post.GetMbbr(k, &t, &t, &t, 0);
           });
}
// Wall forces are kept under the wall records' result numbers: wall columns in MBWC, wall beams
// in MBWB.
int HasWallForces(const CPostCtrl& post, CDataBase& db, int) {
    CClassPWall walls;
    walls.ConnectToDB(&db);
    return AnyKey<CClassPWall>(db, [&](UINT k) {
        T_PWALL_D w;
        if (!walls.Get(k, w)) return 0;
        T_MBCL_D c;
        T_STRG_D g;
        if (w.type == 209) return post.GetMbwc(w.resultNo, &c, &c, &c, 0);
        if (w.type == 210) return post.GetMbwg(w.resultNo, &g, &g, &g, 0);
        return 0;
    });
}
// The plate force display draws the plates of T-girders (204) and walls (209, 210).
int HasWallPlateResults(const CPostCtrl& post, CDataBase& db, int) {
    CClassPMemb membs;
    membs.ConnectToDB(&db);
    return AnyKey<CClassPMemb>(db, [&](UINT k) {
        T_PMEMB_D m;
        if (!membs.Get(k, m) || (m.type != 204 && m.type != 209 && m.type != 210)) return false;
        for (INT_PTR i = 0; i < m.aElem.GetSize(); ++i) {
            T_STRP_DL p;
            if (post.GetStrp_L(m.aElem[i], &p, &p, &p, 0)) return true;
        }
        return false;
    });
}
// The slab reinforcement is kept per slab member for design combinations; an envelope runs over
// the linear combinations that have it.
int HasSlabDesign(const CPostCtrl& post, CDataBase& db, int) {
    const T_PLCOM_D& lc = post.GetSelectedLoadComb();
    auto designed = [&](UINT comb) {
        for (const auto& kv : db.Table<DBT_SLDG>().Records())
            if ((kv.first >> 32) == comb) return true;
        return false;
    };
    // The combination selected (known by its name), or those an envelope runs over.
    int found = 0;
    ForEachRecord<CClassPLcom, T_PLCOM_D>(db, [&](UINT key, const T_PLCOM_D& rec) {
        if (std::strcmp(rec.name, lc.name) == 0 && designed(key)) found = 1;
    });
    if (found) return 1;
    for (int i = 0; i < lc.GetEntryCount(); ++i)
        if (lc.entry[i].kind == PLOAD_COMBINATION && designed(lc.entry[i].key)) return 1;
    return 0;
}
int HasPlateResults(const CPostCtrl& post, CDataBase& db, int) {
    return AnyKey<CClassPElem>(db, [&](UINT k) {
        T_STRP_DL p;
        return post.GetStrp_L(k, &p, &p, &p, 0);
    });
}

// ---- the table -----------------------------------------------------------------------------

const std::vector<CHostMode>& Modes() {
    static const std::vector<CHostMode> modes = {
        {0, "reactions", 7101, EHostLoad::kStatic, PVX_COMPONENTS(kReactions),
         "data-kind=1 contour=0 legend=1 numbers=1 scale= node= decimals= exponent=", "reactions", HasReac},
        {1, "deformed-shape", 7201, EHostLoad::kStatic, PVX_COMPONENTS(kTranslations),
         "deformed=1 exact!=0 legend=1 numbers=0 undeformed= scale= decimals= exponent=", "displacements", HasDisp},
        {2, "displacement-contour", 7204, EHostLoad::kStatic, PVX_COMPONENTS(kDisplacements),
         "contour=1 legend=1 numbers=0 undeformed= deformed=0 scale= decimals= exponent=", "displacements", HasDisp},
        {3, "node-displacement", 7205, EHostLoad::kStatic, nullptr, 0, "node=", "displacements", HasDisp},
        {4, "mode-shape", 7203, EHostLoad::kModeShape, PVX_COMPONENTS(kDisplacements), "deformed=1 exact=1 legend=1 numbers=0 undeformed= scale= decimals= exponent=",
         "mode shapes", HasModeShape},
        {5, "story-shear-ratio", 7501, EHostLoad::kStatic, PVX_COMPONENTS(kStoryShear), "contour!=1 legend=1 numbers=0 angle=0 decimals= exponent=",
         "story shear records", HasStoryShear},
        {6, "frame-force-contour", 7301, EHostLoad::kStatic, PVX_COMPONENTS(kMemberForces),
         "contour=1 legend=1 numbers=0 deformed=0 undeformed= line-members=0 columns=1 decimals= exponent=", "frame member forces", HasFrameOrTrussForces},
        {7, "frame-force-diagram", 7302, EHostLoad::kStatic, PVX_COMPONENTS(kMemberForces),
         "contour=1 legend=1 numbers=0 deformed=0 undeformed= fill=1 columns=1 decimals= exponent=", "frame member forces", HasFrameOrTrussForces},
        {8, "wall-force-contour", 7305, EHostLoad::kStatic, PVX_COMPONENTS(kMemberForces),
         "contour=1 legend=1 numbers=0 decimals= exponent=", "wall forces", HasWallForces},
        {9, "wall-force-diagram", 7306, EHostLoad::kStatic, PVX_COMPONENTS(kMemberForces),
         "contour=1 legend=1 numbers=0 decimals= exponent=", "wall forces", HasWallForces},
        {10, "plate-force", 7307, EHostLoad::kStatic, PVX_COMPONENTS(kPlateForces), "contour=1 legend=1 numbers=0 decimals= exponent=",
         "plate forces of T-girders (type 204) or walls (209, 210), which mode 10 draws (slab and raft plate forces "
         "are mode 16, slab-force)",
         HasWallPlateResults},
        {11, "principal-stress", 7308, EHostLoad::kStatic, PVX_COMPONENTS(kStresses),
         "contour=1 legend=1 numbers=0 deformed=0 undeformed= surface= vector-scale= number-position= decimals= exponent=",
         "plate stresses",
         HasPlateResults},
        {16, "slab-force", 7303, EHostLoad::kStatic, PVX_COMPONENTS(kSlabForces),
         "unit=1 positive=1 negative=1 contour=1 legend=1 numbers=0 decimals= exponent=",
         "plate forces", HasPlateResults},
        {17, "slab-rebar", 12201, EHostLoad::kStatic, nullptr, 0,
         "contour=1 legend=1 numbers=1 rebar-unit=0 rebar-top=1 rebar-bottom=1 rebar-combinations= decimals= exponent=",
         "slab member designs (table SLDG, kept by design combination)", HasSlabDesign},
        {18, "slab-crack", -1, EHostLoad::kStatic, nullptr, 0, "contour=1 legend=1 numbers=0 crack-unit=0 decimals= exponent=",
         "plate forces", HasPlateResults},
        {19, "slab-deflection", -1, EHostLoad::kStatic, nullptr, 0,
         "deflection-kind=1 contour=1 legend=1 numbers=0 deformed=0 scale= decimals= exponent=", "displacements", HasDisp},
        {20, "slab-wall", 7401, EHostLoad::kStatic, nullptr, 0, "contour!=1 legend=1 wall-width=1 wall-value=0 decimals= exponent=",
         "plate forces", HasPlateResults},
        {21, "slab-strip", 7402, EHostLoad::kStatic, nullptr, 0, "contour=1 legend=1", "plate forces", HasPlateResults},
        {22, "slab-force-beam", 7304, EHostLoad::kStatic, PVX_COMPONENTS(kSlabForces),
         "contour=1 legend=1 numbers=1 unit=0 strip-force=0 width-lines=1 fill= decimals= exponent=", "plate forces", HasPlateResults},
        {63, "time-history", -1, EHostLoad::kTimeHistory, PVX_COMPONENTS(kDisplacements),
         "step= quantity=0 deformed=1 contour=1 legend=1 numbers=0 undeformed= scale= decimals= exponent=", "time histories", HasDispHistory},
        {69, "settlement", 7202, EHostLoad::kSettlement, nullptr, 0, "contour=1 legend=1 numbers=0 decimals= exponent=", "settlements",
         HasSettlement},
        {70, "reaction-contour", 7102, EHostLoad::kStatic, PVX_COMPONENTS(kReactions),
         "data-kind=0 member-kind=0 contour!=1 legend=1 numbers=1 decimals= exponent=", "spring pressures", HasStws},
    };
    return modes;
}

// ---- option keys ---------------------------------------------------------------------------

enum class EValue { kSwitch, kChoice3, kChoice4, kNumber, kPositive, kKey, kCount, kDecimals, kSide };

struct KeyDef {
    const char* pszKey;
    EValue eValue;
    const char* pszValues;  // for help
    const char* pszHelp;
};

const KeyDef kKeys[] = {
    {"contour", EValue::kSwitch, "0|1", "results coloured by value (the pages' contour box)"},
    {"legend", EValue::kSwitch, "0|1", "legend panel"},
    {"numbers", EValue::kSwitch, "0|1", "values written on the model"},
    {"decimals", EValue::kDecimals, "0..15",
     "decimals of the values written (default: the model's for the kind: displacements, forces, moments; 3)"},
    {"exponent", EValue::kSwitch, "0|1", "values written in exponent notation (the number dialog's switch)"},
    {"undeformed", EValue::kSwitch, "0|1", "undeformed outline drawn with the result"},
    {"scale", EValue::kNumber, "NUMBER (within +-1e9)", "scale factor of the deformed shape or of the reaction arrows"},
    {"node", EValue::kKey, "KEY", "a picked node: its value is marked"},
    {"data-kind", EValue::kChoice3, "0|1|2",
     "reactions: 0 contour, 1 the reactions of the supports of type 1, 2 of those of type 2 (PRTND.type)"},
    {"member-kind", EValue::kSwitch, "0|1", "reaction contour under 0 rafts, 1 beams"},
    {"deflection-kind", EValue::kSwitch, "0|1", "slab deflection: 0 numbers per member, 1 contour"},
    {"unit", EValue::kSwitch, "0|1",
     "slab forces (also on beams): 0 moments per slab member, 1 forces per element (on beams: the rib diagrams)"},
    {"positive", EValue::kSwitch, "0|1", "slab forces: the positive side shown (with an envelope, its maximum)"},
    {"negative", EValue::kSwitch, "0|1", "slab forces: the negative side shown (with an envelope, its minimum)"},
    {"fill", EValue::kChoice3, "0|1|2", "frame force diagrams: 0 outline, 1 line fill, 2 full fill"},
    {"deformed", EValue::kSwitch, "0|1",
     "drawn on the deformed shape (member forces, displacements; deformed and mode shapes: 0 draws the model at rest)"},
    {"line-members", EValue::kSwitch, "0|1", "members drawn as lines along their axes"},
    {"columns", EValue::kSwitch, "0|1",
     "frame forces: columns drawn with their forces (MBCL) and in the extremes; 0 plain (the member bar's column box)"},
    {"strip-force", EValue::kSwitch, "0|1", "rib-beam and strip diagrams: 0 bending moment, 1 shear force"},
    {"width-lines", EValue::kSwitch, "0|1", "rib-beam and strip diagrams: their width lines"},
    {"exact", EValue::kSwitch, "0|1", "beams drawn with their exact deflection curve"},
    {"step", EValue::kCount, "N",
     "time step of the time history, 0 to its step count less 1 (default: the step of the largest displacement)"},
    {"quantity", EValue::kChoice3, "0|1|2", "time history: 0 displacement, 1 velocity, 2 acceleration"},
    {"surface", EValue::kChoice4, "0|1|2|3",
     "plate stresses of 0 the top, 1 the bottom, 2 both (each on its faces), 3 the larger of the two"},
    {"vector-scale", EValue::kNumber, "NUMBER (within +-1e9)", "scale factor of the principal stress arrows"},
    {"number-position", EValue::kSwitch, "0|1", "plate stress numbers: 0 the element extremes, 1 the centre value"},
    {"rebar-unit", EValue::kSwitch, "0|1", "slab reinforcement: 0 per member, 1 per element"},
    {"crack-unit", EValue::kSwitch, "0|1", "slab crack: 0 per member, 1 per element"},
    {"rebar-top", EValue::kSwitch, "0|1", "slab reinforcement of the top face written"},
    {"rebar-bottom", EValue::kSwitch, "0|1", "slab reinforcement of the bottom face written"},
    {"rebar-combinations", EValue::kCount, "N",
     "slab reinforcement: design combinations enveloped (default: the project's linear combinations)"},
    {"wall-width", EValue::kPositive, "NUMBER (0 to 1e9)", "slab walls: length of the cut across each wall end, m (positive)"},
    {"wall-value", EValue::kChoice3, "0|1|2", "slab walls: 0 moment, 1 shear, 2 reinforcement"},
    {"angle", EValue::kNumber, "0|45|90", "story shear: the direction, degrees from global X towards Y"},
    {"side", EValue::kSide, "max|min|abs|both",
     "side of an envelope, any mode: max, min, abs larger magnitude, both (frame diagrams)"},
};

// Modes that draw the diagrams of cutting lines.
// Those whose pages have a cut or section box: the displacement contour, plate forces and stresses.
bool DrawsCuttingLines(int nMode) { return nMode == 2 || nMode == 10 || nMode == 11; }

}  // namespace

// Largest magnitude of a number an option takes (scales, lengths, cut points): within it the
// drawing stays finite; beyond it (1e308, inf) nothing can be drawn.
constexpr double kMaxOptionValue = 1e9;

// "X1,Y1,X2,Y2": four finite numbers within kMaxOptionValue, two distinct points.
bool ReadHostCut(const std::string& text, double v[4]) {
    const char* p = text.c_str();
    for (int i = 0; i < 4; ++i) {
        char* end = nullptr;
        errno = 0;
        v[i] = std::strtod(p, &end);
        if (end == p || errno != 0 || !(std::fabs(v[i]) <= kMaxOptionValue)) return false;
        p = end;
        while (*p == ' ') ++p;
        if (i < 3) {
            if (*p != ',') return false;
            ++p;
        }
    }
    return *p == 0 && (v[0] != v[2] || v[1] != v[3]);
}

namespace {

const KeyDef* FindKey(const std::string& key) {
    for (const KeyDef& k : kKeys)
        if (key == k.pszKey) return &k;
    return nullptr;
}

bool ValueFits(const KeyDef& k, const std::string& v) {
    if (v.empty()) return false;
    char* end = nullptr;
    errno = 0;
    switch (k.eValue) {
    case EValue::kSwitch: return v == "0" || v == "1";
    case EValue::kChoice3: return v == "0" || v == "1" || v == "2";
    case EValue::kChoice4: return v == "0" || v == "1" || v == "2" || v == "3";
    case EValue::kSide: return v == "max" || v == "min" || v == "abs" || v == "both";
    // Scales and lengths multiply values into drawing coordinates: within kMaxOptionValue they
    // draw finitely, beyond it (1e308, inf) nothing can be drawn.
    case EValue::kNumber: {
        const double d = std::strtod(v.c_str(), &end);
        return *end == 0 && errno == 0 && std::fabs(d) <= kMaxOptionValue;
    }
    case EValue::kPositive: {
        const double d = std::strtod(v.c_str(), &end);
        return *end == 0 && errno == 0 && d > 0.0 && d <= kMaxOptionValue;
    }
    case EValue::kKey: {
        const unsigned long n = std::strtoul(v.c_str(), &end, 10);
        return v[0] != '-' && *end == 0 && errno == 0 && n > 0 && n <= 0xFFFFFFFFul;
    }
    case EValue::kCount: {
        const unsigned long n = std::strtoul(v.c_str(), &end, 10);
        return v[0] != '-' && *end == 0 && errno == 0 && n <= 0x7FFFFFFFul;
    }
    case EValue::kDecimals: {
        const unsigned long n = std::strtoul(v.c_str(), &end, 10);
        return v[0] != '-' && *end == 0 && errno == 0 && n <= 15;
    }
    }
    return false;
}

// "key=value" words of a mode's settings, in order.
std::vector<std::pair<std::string, std::string>> SplitSettings(const char* psz) {
    std::vector<std::pair<std::string, std::string>> out;
    const std::string s = psz ? psz : "";
    size_t at = 0;
    while (at < s.size()) {
        size_t end = s.find(' ', at);
        if (end == std::string::npos) end = s.size();
        const std::string word = s.substr(at, end - at);
        const size_t eq = word.find('=');
        std::string key = word.substr(0, eq);
        if (!key.empty() && key.back() == '!') key.pop_back();
        if (!word.empty()) out.emplace_back(key, eq == std::string::npos ? "" : word.substr(eq + 1));
        at = end + 1;
    }
    return out;
}

// A key the mode passes with a fixed value: the display draws the same whatever its value
// ("key!=value" in the table).
bool IsFixedKey(const CHostMode& m, const std::string& key) {
    const std::string s = std::string(" ") + (m.pszSettings ? m.pszSettings : "");
    return s.find(" " + key + "!=") != std::string::npos;
}

std::string ModeKeys(const CHostMode& m) {
    std::string keys;
    for (const auto& kv : SplitSettings(m.pszSettings))
        if (!IsFixedKey(m, kv.first)) keys += (keys.empty() ? "" : ", ") + kv.first;
    return keys.empty() ? "none" : keys;
}

// The modes that take a key from the command line.
std::string ModesServing(const std::string& key) {
    std::string modes;
    for (const CHostMode& m : Modes())
        for (const auto& kv : SplitSettings(m.pszSettings))
            if (kv.first == key && !IsFixedKey(m, key)) modes += (modes.empty() ? "" : ", ") + std::to_string(m.nMode);
    return modes.empty() ? "none" : modes;
}

std::string ComponentNames(const CHostMode& m) {
    std::string s;
    for (int i = 0; i < m.nComponents; ++i) {
        if (i) s += ' ';
        s += m.pComponents[i].pszName;
    }
    return s;
}

std::string ModeLabel(const CHostMode& m) { return std::to_string(m.nMode) + " (" + m.pszName + ")"; }

bool g_bQuiet = false;  // a probe: Resolve says nothing

void Message(const std::string& text) {
    if (!g_bQuiet) HostMessage("%s", text.c_str());
}

// A load a mode may show: a load case or a combination, with what the host selects it by.
struct LoadCandidate {
    UINT nKey = 0;
    unsigned nType = 0;      // host load type code
    int nStep = 0;           // an envelope shows its maximum
    std::string strName;
    bool bCase = false;      // a load case (else a combination)
    int nCaseType = 0;       // PLOAD_* of a case
    bool bDefaultKind = false;  // may be chosen when no load is named
};

unsigned LoadTypeOfCase(int caseType);

// Combinations name combinations at most this deep; deeper ones have no result.
constexpr int kMaxCombinationDepth = 8;

// The keys of a chain of combinations from key deeper than kMaxCombinationDepth (a cycle is
// one), joined by " -> "; "" when none is. Level by level, each combination once a level.
std::string CombinationTooDeep(const CDataBase& db, UINT key) {
    const auto& combs = db.Table<DBT_PLCOM>();
    std::vector<std::unordered_map<UINT, UINT>> levels(1, {{key, 0u}});  // combination -> the one naming it
    while (levels.size() <= static_cast<size_t>(kMaxCombinationDepth) + 1 && !levels.back().empty()) {
        std::unordered_map<UINT, UINT> next;
        for (const auto& [at, from] : levels.back())
            if (const T_PLCOM_D* c = combs.Find(at))
                for (int i = 0; i < c->GetEntryCount(); ++i)
                    if (c->entry[i].kind == PLOAD_COMBINATION) next.emplace(c->entry[i].key, at);
        levels.push_back(std::move(next));
    }
    if (levels.back().empty()) return "";
    std::vector<UINT> chain;
    for (UINT at = levels.back().begin()->first, i = static_cast<UINT>(levels.size()); i-- > 0; at = levels[i].at(at))
        chain.insert(chain.begin(), at);
    std::string text;
    for (UINT k : chain) text += (text.empty() ? "" : " -> ") + std::to_string(k);
    return text;
}

// The load cases of a kind (0: every kind, and then the combinations too), in table order.
// Without a load named, static modes start on a static case, then on a combination.
std::vector<LoadCandidate> LoadsOf(CDataBase& db, int wanted) {
    std::vector<LoadCandidate> out;
    ForEachRecord<CClassPStld, T_PSTLD_D>(db, [&](UINT key, const T_PSTLD_D& rec) {
        if (wanted && rec.type != wanted) return;
        LoadCandidate c;
        c.nKey = key;
        c.nType = LoadTypeOfCase(rec.type);
        c.strName = rec.name;
        c.bCase = true;
        c.nCaseType = rec.type;
        c.bDefaultKind = wanted || rec.type == PLOAD_STATIC;
        out.push_back(c);
    });
    if (wanted) return out;
    ForEachRecord<CClassPLcom, T_PLCOM_D>(db, [&](UINT key, const T_PLCOM_D& rec) {
        LoadCandidate c;
        c.nKey = key;
        c.nType = CClassPLcom::IsMaxMinComb(rec) ? 12 : 11;
        c.nStep = CClassPLcom::IsMaxMinComb(rec) ? 1 : 0;
        c.strName = rec.name;
        c.bDefaultKind = true;
        out.push_back(c);
    });
    return out;
}

// The load named by its name, else by its key as info prints it (a load case's first). A name
// more than one load has chooses none: `named` then lists them.
const LoadCandidate* FindLoad(const std::vector<LoadCandidate>& loads, const std::string& word,
                              std::vector<const LoadCandidate*>& named) {
    named.clear();
    for (const LoadCandidate& c : loads)
        if (c.strName == word) named.push_back(&c);
    if (named.size() == 1) return named.front();
    if (named.size() > 1) return nullptr;
    for (bool bCase : {true, false})
        for (const LoadCandidate& c : loads)
            if (c.bCase == bCase && std::to_string(c.nKey) == word) return &c;
    return nullptr;
}

// Host load type code of a load case kind.
unsigned LoadTypeOfCase(int caseType) {
    switch (caseType) {
    case PLOAD_DYNAMIC: return 2;
    case PLOAD_TIMEHISTORY: return 5;
    case PLOAD_SETTLEMENT: return 4;
    default: return 1;
    }
}

const char* CaseKindName(int type) {
    switch (type) {
    case PLOAD_STATIC: return "static case";
    case PLOAD_DYNAMIC: return "dynamic case";
    case PLOAD_TIMEHISTORY: return "time-history case";
    case PLOAD_SETTLEMENT: return "settlement case";
    default: return "load case";
    }
}

}  // namespace

const std::vector<CHostMode>& GetHostModes() { return Modes(); }

const CHostMode* FindHostMode(const std::string& nameOrNumber) {
    for (const CHostMode& m : Modes())
        if (strcasecmp(nameOrNumber.c_str(), m.pszName) == 0 || nameOrNumber == std::to_string(m.nMode)) return &m;
    return nullptr;
}

const char* GetHostResultHelp() {
    static const std::string text = [] {
        std::string s =
            "Results (--mode MODE [--load NAME] [--component NAME] [--option KEY=VALUE]...\n"
            "         [--cut X1,Y1,X2,Y2]...):\n"
            "  MODE is a display mode number or name; without --mode the plain model is drawn.\n"
            "  --load names a load case or combination (mode shapes: the mode number; default the\n"
            "  first static case, mode 1, the first time-history or settlement case).\n"
            "  --cut adds a cutting line to the project's cutting lines for this drawing; modes 2 and\n"
            "  11 draw the result along it across the plates it crosses.\n"
            "  mode                      components (default: the engine's)\n";
        for (const CHostMode& m : Modes()) {
            char line[64];
            std::snprintf(line, sizeof line, "  %-3d %-22s", m.nMode, m.pszName);
            s += line;
            s += m.nComponents ? ComponentNames(m) : "-";
            s += "\n      keys:";
            for (const auto& kv : SplitSettings(m.pszSettings))
                s += " " + kv.first + (kv.second.empty() ? "" : "=" + kv.second) +
                     (IsFixedKey(m, kv.first) ? " (no effect here)" : "");
            s += "\n";
        }
        s += "  option keys:\n";
        for (const KeyDef& k : kKeys) {
            char line[160];
            std::snprintf(line, sizeof line, "    %-16s %-7s %s\n", k.pszKey, k.pszValues, k.pszHelp);
            s += line;
        }
        return s;
    }();
    return text.c_str();
}

// ---- parsing -------------------------------------------------------------------------------

std::vector<CHostOption> CHostResultChoice::Options() {
    return {
        {"--mode", EHostValue::kText, "MODE", "show a result: a display mode by number or name (see below)"},
        {"--load", EHostValue::kText, "NAME",
         "load case or combination of the result, its name exact as info lists it (mode shapes: the mode "
         "number); default: see below"},
        {"--component", EHostValue::kText, "NAME", "component of the result (see below); default: the engine's"},
        {"--option", EHostValue::kText, "KEY=VALUE", "one setting of the mode (see below)", nullptr, 0, 0,
         HOST_OPT_REPEATABLE},
        {"--cut", EHostValue::kText, "X1,Y1,X2,Y2",
         "a cutting line from (X1, Y1) to (X2, Y2) in plan, m: the result's diagram along it (modes 2, 10 and 11)",
         nullptr, 0, 0, HOST_OPT_REPEATABLE},
    };
}

int CHostResultChoice::Read(const CHostArgs& args) {
    if (int status = Parse(args.Get("--mode"), args.Get("--load"), args.Get("--component"), args.GetAll("--option")))
        return status;
    return ParseCuts(args.GetAll("--cut"));
}

int CHostResultChoice::ParseCuts(const std::vector<std::string>& cuts) {
    if (cuts.empty()) return 0;
    if (!m_pMode) {
        Message("--cut needs --mode");
        return HOST_EXIT_USAGE;
    }
    if (!DrawsCuttingLines(m_pMode->nMode)) {
        Message("mode " + ModeLabel(*m_pMode) + " draws no cutting-line diagrams (modes 2, 10 and 11 do)");
        return HOST_EXIT_USAGE;
    }
    for (const std::string& c : cuts) {
        double v[4];
        if (!ReadHostCut(c, v)) {
            Message("--cut takes X1,Y1,X2,Y2: four numbers (m, within 1e9) of two different points, not \"" + c +
                    "\"");
            return HOST_EXIT_USAGE;
        }
        m_settings.emplace_back("cut", c);
    }
    return 0;
}

int CHostResultChoice::Parse(const std::string& mode, const std::string& load, const std::string& component,
                             const std::vector<std::string>& options) {
    m_pMode = nullptr;
    m_settings.clear();
    m_bMemberKindGiven = false;
    if (mode.empty()) {
        if (!load.empty() || !component.empty() || !options.empty()) {
            Message("--load, --component and --option need --mode");
            return HOST_EXIT_USAGE;
        }
        return 0;
    }
    m_pMode = FindHostMode(mode);
    if (!m_pMode) {
        Message("unknown display mode \"" + mode + "\" (see pvxhost --help for the modes)");
        return HOST_EXIT_USAGE;
    }
    const CHostMode& m = *m_pMode;
    m_strLoad = load;
    if (m.eLoad == EHostLoad::kModeShape && !load.empty()) {
        char* end = nullptr;
        const long n = std::strtol(load.c_str(), &end, 10);
        if (*end || n < 1 || n > 100000) {
            Message("--load of mode " + ModeLabel(m) + " is a mode number from 1, not \"" + load + "\"");
            return HOST_EXIT_USAGE;
        }
    }

    for (const auto& kv : SplitSettings(m.pszSettings))
        if (!kv.second.empty()) m_settings.push_back(kv);

    auto set = [&](const std::string& key, const std::string& value) {
        for (auto& kv : m_settings)
            if (kv.first == key) {
                kv.second = value;
                return;
            }
        m_settings.emplace_back(key, value);
    };

    if (!component.empty()) {
        const CHostComponent* found = nullptr;
        for (int i = 0; i < m.nComponents; ++i)
            if (strcasecmp(component.c_str(), m.pComponents[i].pszName) == 0) found = &m.pComponents[i];
        if (!found) {
            Message("mode " + ModeLabel(m) + " has no component \"" + component + "\" (" +
                                      (m.nComponents ? "components: " + ComponentNames(m) : "it has none") + ")");
            return HOST_EXIT_USAGE;
        }
        set("component", std::to_string(found->nCode));
    }

    const auto allowed = SplitSettings(m.pszSettings);
    std::vector<std::string> given;
    for (const std::string& o : options) {
        const size_t eq = o.find('=');
        // Keys are names: any case, as every name of the command line.
        const std::string key = HostLower(o.substr(0, eq)), value = eq == std::string::npos ? "" : o.substr(eq + 1);
        const KeyDef* def = FindKey(key);
        if (!def) {
            Message("unknown option key \"" + key + "\" (see pvxhost --help for the keys)");
            return HOST_EXIT_USAGE;
        }
        if (std::find(given.begin(), given.end(), key) != given.end()) {
            Message("--option " + key + " is given twice: give each key once");
            return HOST_EXIT_USAGE;
        }
        given.push_back(key);
        m_bMemberKindGiven = m_bMemberKindGiven || key == "member-kind";
        // The side of an envelope: every mode that shows a load takes it.
        bool ok = key == "side" && m.eLoad != EHostLoad::kModeShape;
        for (const auto& kv : allowed) ok = ok || kv.first == key;
        if (!ok || IsFixedKey(m, key)) {
            Message("\"" + key + "\" " + (ok ? "has no effect on" : "is not a setting of") + " mode " + ModeLabel(m) +
                    " (its keys: " + ModeKeys(m) + "; modes that take \"" + key + "\": " + ModesServing(key) + ")");
            return HOST_EXIT_USAGE;
        }
        if (eq == std::string::npos || !ValueFits(*def, value)) {
            Message("--option " + key + " takes " + def->pszValues + ", not \"" + value + "\"");
            return HOST_EXIT_USAGE;
        }
        set(key, value);
    }
    return 0;
}

// ---- the project ---------------------------------------------------------------------------

std::string MembersMissing(CDataBase& db) {
    const size_t nElems = db.Table<DBT_PELEM>().Count();
    if (nElems == 0 || db.Table<DBT_PMEMB>().Count() != 0) return "";
    return "the project has " + std::to_string(nElems) +
           " elements but no members (table PMEMB is empty): give each member a PMEMB row listing its elements "
           "(the plain model draws the elements)";
}

int CHostResultChoice::Resolve(CDataBase& db, bool bQuiet) {
    struct Quiet {
        bool saved = g_bQuiet;
        explicit Quiet(bool b) { g_bQuiet = b; }
        ~Quiet() { g_bQuiet = saved; }
    } quiet(bQuiet);
    m_nResolveStatus = ResolveLoad(db);
    m_strBelowNote.clear();
    if (!m_nResolveStatus && m_pMode && m_pMode->nMode == 0) m_strBelowNote = SupportsBelowText(db);
    if (!m_nResolveStatus && m_pMode && (m_pMode->nMode == 6 || m_pMode->nMode == 7))
        m_strBelowNote = UndrawnMembersText(db);
    return m_nResolveStatus;
}

// The frame force displays draw piles (403) and ties (200) without a diagram or numbers: "N
// piles (type 403) and M ties (type 200) with member forces under the load; their C: max V at
// member K, min V at member K" over the MBWG stations for the components of one station (N to
// MZ); "" when none has forces.
std::string CHostResultChoice::UndrawnMembersText(CDataBase& db) const {
    int component = 0;
    for (const auto& kv : m_settings)
        if (kv.first == "component") component = std::atoi(kv.second.c_str());
    CPostCtrl post(&db);
    T_PLCOM_D lc;
    if (!post.MakeLoadComb(m_nLoadType, m_nLoadKey, lc) || !post.SelectLoadComb(lc, m_nLoadStep != 0, 0)) return "";
    size_t piles = 0, ties = 0;
    double hi = 0.0, lo = 0.0;
    UINT hiKey = 0, loKey = 0;
    ForEachRecord<CClassPMemb, T_PMEMB_D>(db, [&](UINT key, const T_PMEMB_D& m) {
        T_MBWG_D f;
        f.Initialize();
        if ((m.type != 403 && m.type != 200) || !post.GetStwt(key, &f, nullptr, nullptr, 0)) return;
        ++(m.type == 403 ? piles : ties);
        if (component > 5) return;
        for (const auto& station : f.d) {
            if (!hiKey || station[component] > hi) hi = station[component], hiKey = key;
            if (!loKey || station[component] < lo) lo = station[component], loKey = key;
        }
    });
    if (!piles && !ties) return "";
    auto count = [](size_t n, const char* one, const char* many) { return std::to_string(n) + (n == 1 ? one : many); };
    std::string text = (piles ? count(piles, " pile (type 403)", " piles (type 403)") : std::string()) +
                       (piles && ties ? " and " : "") +
                       (ties ? count(ties, " tie (type 200)", " ties (type 200)") : std::string()) +
                       ", drawn without a diagram";
    if (!hiKey) return text;
    const char* names[] = {"N", "VY", "VZ", "T", "MY", "MZ"};
    char buf[160];
    std::snprintf(buf, sizeof(buf), "; their %s: max %.6g at member %u, min %.6g at member %u", names[component], hi,
                  hiKey, lo, loKey);
    return text + buf;
}

// "N supports below others at their plan points; their FZ: max V at node K, min V at node K" under
// the load chosen, for the component shown; "" when the part leaves none out.
std::string CHostResultChoice::SupportsBelowText(CDataBase& db) const {
    if (m_supportsBelow.empty()) return "";
    int component = 2;
    for (const auto& kv : m_settings)
        if (kv.first == "component") component = std::atoi(kv.second.c_str());
    CPostCtrl post(&db);
    T_PLCOM_D lc;
    const bool selected =
        post.MakeLoadComb(m_nLoadType, m_nLoadKey, lc) && post.SelectLoadComb(lc, m_nLoadStep != 0, 0);
    double hi = 0.0, lo = 0.0;
    UINT hiKey = 0, loKey = 0;
    for (UINT key : m_supportsBelow) {
        T_REAC_D r;
        r.Initialize();
        if (!selected || !post.GetReac(key, &r, nullptr, nullptr)) continue;
        const double values[] = {r.FX, r.FY, r.FZ, std::sqrt(r.FX * r.FX + r.FY * r.FY + r.FZ * r.FZ),
                                 r.MX, r.MY, r.MZ, std::sqrt(r.MX * r.MX + r.MY * r.MY + r.MZ * r.MZ)};
        const double v = values[std::clamp(component, 0, 7)];
        if (!hiKey || v > hi) hi = v, hiKey = key;
        if (!loKey || v < lo) lo = v, loKey = key;
    }
    const char* names[] = {"FX", "FY", "FZ", "FXYZ", "MX", "MY", "MZ", "MXYZ"};
    std::string text = std::to_string(m_supportsBelow.size()) +
                       " supports below others at their plan points (a pile's tip "
                       "under its head)";
    if (!hiKey) return text + ", which have no reaction under \"" + m_strLoadName + "\"";
    char buf[160];
    std::snprintf(buf, sizeof(buf), "; their %s: max %.6g at node %u, min %.6g at node %u",
                  names[std::clamp(component, 0, 7)], hi, hiKey, lo, loKey);
    return text + buf;
}

int CHostResultChoice::ResolveLoad(CDataBase& db) {
    if (!m_pMode) return 0;
    const CHostMode& m = *m_pMode;
    // Every result is drawn on the members; elements alone make the plain model only.
    if (const std::string missing = MembersMissing(db); !missing.empty()) {
        Message("mode " + std::to_string(m.nMode) + " (" + m.pszName + ") draws its results on the members, and " + missing);
        return HOST_EXIT_FAILED;
    }
    // The spring-pressure contour draws the rafts' (member-kind 0) or the beams' (1): a project
    // whose springs lie under one kind only has it draw those, and a kind asked for that has
    // none is refused naming the other.
    if (m.nMode == 70) {
        bool rafts = false, beams = false;
        const auto& springs = db.Table<DBT_PESPR>();
        ForEachRecord<CClassPMemb, T_PMEMB_D>(db, [&](UINT, const T_PMEMB_D& rec) {
            if (rec.type != 301 && rec.type != 201) return;
            for (INT_PTR i = 0; i < rec.aElem.GetSize(); ++i)
                if (springs.Find(rec.aElem[i])) (rec.type == 301 ? rafts : beams) = true;
        });
        auto kind = std::find_if(m_settings.begin(), m_settings.end(),
                                 [](const auto& kv) { return kv.first == "member-kind"; });
        if (kind == m_settings.end()) kind = m_settings.insert(kind, {"member-kind", "0"});
        if (!m_bMemberKindGiven && rafts != beams) kind->second = beams ? "1" : "0";
        const std::string chosen = kind->second;
        const bool wantBeams = chosen == "1";
        if ((wantBeams ? !beams : !rafts) && (wantBeams ? rafts : beams)) {
            Message(std::string("mode 70 (reaction-contour) with member-kind=") + chosen +
                    " draws the spring pressures of the " + (wantBeams ? "beams (type 201)" : "rafts (type 301)") +
                    ", and the project's springs (PESPR) lie under " +
                    (wantBeams ? "rafts only: member-kind=0 draws them" : "beams only: member-kind=1 draws them"));
            return HOST_EXIT_USAGE;
        }
    }
    CPostCtrl post(&db);
    // The reaction displays draw the REAC rows of the supported nodes of one type only.
    if (m.nMode == 0) {
        int kind = 1;
        for (const auto& kv : m_settings)
            if (kv.first == "data-kind") kind = std::atoi(kv.second.c_str());
        if (kind == 1 || kind == 2) {
            CClassPRtnd supports;
            supports.ConnectToDB(&db);
            CMap<UINT, UINT, UINT, UINT> nodes;
            if (!supports.GetPNodeKeyMapByType(nodes, kind)) {
                Message("the project has no supported nodes of type " + std::to_string(kind) +
                        " in table PRTND: the reactions (REAC) are drawn at those nodes only" +
                        (kind == 1 ? "" : " (data-kind=1 draws those of type 1)"));
                return HOST_EXIT_FAILED;
            }
        }
    }
    m_nLoadStep = 0;
    // The side of an envelope: the load step 1 maximum, 2 minimum, 3 larger magnitude (with the
    // frame diagrams' min/max switch: both sides). The module takes it as the load, not a setting.
    std::string side;
    for (auto it = m_settings.begin(); it != m_settings.end(); ++it)
        if (it->first == "side") {
            side = it->second;
            m_settings.erase(it);
            break;
        }
    const int nSideStep = side == "max" ? 1 : side == "min" ? 2 : side.empty() ? 0 : 3;
    if (side == "both") m_settings.emplace_back("minmax", "1");

    if (m.eLoad == EHostLoad::kModeShape) {
        const int count = post.GetModeCount();
        if (count < 1) {
            Message("the project has no mode shapes");
            return HOST_EXIT_FAILED;
        }
        const long n = m_strLoad.empty() ? 1 : std::strtol(m_strLoad.c_str(), nullptr, 10);
        if (n > count) {
            Message("the project has no mode " + m_strLoad + " (it has " + std::to_string(count) + ")");
            return HOST_EXIT_USAGE;
        }
        m_nLoadType = 0;
        m_nLoadKey = static_cast<unsigned>(n);
        m_strLoadName = "mode " + std::to_string(n);
        post.SelectMode(static_cast<int>(n), 0);
    } else {
        const int wanted = m.eLoad == EHostLoad::kTimeHistory ? PLOAD_TIMEHISTORY
                           : m.eLoad == EHostLoad::kSettlement ? PLOAD_SETTLEMENT
                                                               : 0;
        const std::vector<LoadCandidate> loads = LoadsOf(db, wanted);
        auto select = [&](const LoadCandidate& c) {
            m_nLoadKey = c.nKey;
            m_nLoadType = c.nType;
            m_nLoadStep = c.nType == 12 && nSideStep ? nSideStep : c.nStep;
            m_strLoadName = c.strName;
            T_PLCOM_D lc;
            if (!post.MakeLoadComb(m_nLoadType, m_nLoadKey, lc) || !post.SelectLoadComb(lc, m_nLoadStep != 0, 0))
                return false;
            if (m.eLoad == EHostLoad::kTimeHistory) post.SelectThlc(m_nLoadKey);  // for the history probe
            return true;
        };
        auto hasResults = [&](const LoadCandidate& c) {
            return select(c) && (!m.pfnHasResults || m.pfnHasResults(post, db, m.nMode));
        };
        // The loads of the mode's kind that have its results, by name.
        auto withResults = [&]() {
            std::string names;
            for (const LoadCandidate& c : loads)
                if (hasResults(c)) names += (names.empty() ? "" : ", ") + c.strName;
            return names;
        };
        const LoadCandidate* pFound = nullptr;
        if (m_strLoad.empty()) {
            // The first load that has the mode's results; else the first load, refused below.
            for (const LoadCandidate& c : loads)
                if (!pFound && c.bDefaultKind && hasResults(c)) pFound = &c;
            for (const LoadCandidate& c : loads)
                if (!pFound && c.bDefaultKind) pFound = &c;
            if (!pFound) {
                Message(std::string("the project has no ") + CaseKindName(wanted ? wanted : PLOAD_STATIC) +
                        " to show mode " + ModeLabel(m));
                return HOST_EXIT_FAILED;
            }
        } else {
            std::vector<const LoadCandidate*> named;
            pFound = FindLoad(loads, m_strLoad, named);
            if (named.size() > 1) {
                std::string keys;
                for (const LoadCandidate* c : named)
                    keys += (keys.empty() ? "" : ", ") + std::string(c->bCase ? "load case " : "combination ") +
                            std::to_string(c->nKey);
                Message("\"" + m_strLoad + "\" names " + std::to_string(named.size()) + " loads (" + keys +
                        "): --load KEY chooses one by its key");
                return HOST_EXIT_USAGE;
            }
            if (!pFound) {
                // A load of another kind is named as such.
                for (const LoadCandidate& c : LoadsOf(db, 0))
                    if (wanted && c.bCase && (c.strName == m_strLoad || std::to_string(c.nKey) == m_strLoad)) {
                        Message("load \"" + m_strLoad + "\" is a " + CaseKindName(c.nCaseType) + ", mode " +
                                ModeLabel(m) + " shows a " + CaseKindName(wanted));
                        return HOST_EXIT_USAGE;
                    }
                std::string names;
                for (const LoadCandidate& c : loads) names += (names.empty() ? "" : ", ") + c.strName;
                Message("the project has no " +
                        std::string(wanted ? CaseKindName(wanted) : "load case or combination") + " named \"" +
                        m_strLoad + "\" (" + (names.empty() ? std::string("it has none") : "its loads: " + names) +
                        "; a number names a load case or combination by its key)");
                return HOST_EXIT_USAGE;
            }
        }
        if (!side.empty() && pFound->nType != 12) {
            Message("--option side=" + side + " chooses a side of an envelope; \"" + pFound->strName +
                    "\" is not one");
            return HOST_EXIT_USAGE;
        }
        if (m.eLoad == EHostLoad::kTimeHistory && select(*pFound))
            if (int status = ChooseTimeStep(post, db)) return status;
        if (!hasResults(*pFound)) {
            const std::string names = withResults();
            if (!select(*pFound)) {
                Message("the load \"" + pFound->strName + "\" cannot be selected");
                return HOST_EXIT_FAILED;
            }
            if (!m.pfnHasResults) return 0;
            // Rows the project refused, or could not give (locked), said so as they were read.
            if (!db.GetReadErrors().empty())
                Message(std::string("the ") + m.pszResults + " for \"" + pFound->strName +
                        "\" could not be read from the project (above)");
            else if (const std::string chain = pFound->bCase ? "" : CombinationTooDeep(db, pFound->nKey); !chain.empty())
                Message("the combination \"" + pFound->strName + "\" has no result: it names combinations more than " +
                        std::to_string(kMaxCombinationDepth) + " deep (table PLCOM, keys " + chain + ")");
            else
                Message(std::string("the project has no ") + m.pszResults + " for \"" + pFound->strName + "\" (" +
                        (names.empty() ? std::string("no load has them") : "loads with them: " + names) + ")");
            return HOST_EXIT_FAILED;
        }
        return 0;
    }
    if (m.pfnHasResults && !m.pfnHasResults(post, db, m.nMode)) {
        Message(db.GetReadErrors().empty()
                    ? std::string("the project has no ") + m.pszResults + " for \"" + m_strLoadName + "\""
                    : std::string("the ") + m.pszResults + " for \"" + m_strLoadName + "\" could not be read from the project (above)");
        return HOST_EXIT_FAILED;
    }
    return 0;
}

// The time step of a time history: the one asked for, checked against the case's step count, or
// the step of the largest displacement of any node.
int CHostResultChoice::ChooseTimeStep(const CPostCtrl& post, CDataBase& db) {
    int nSteps = 0, nPeak = 0;
    double dPeak = -1.0;
    AnyKey<CClassPNode>(db, [&](UINT k) {
        T_DISP_D d;
        for (int step = 0; post.GetDispHistory(3, step, k, d); ++step) {
            nSteps = std::max(nSteps, step + 1);
            const double r = d.DX * d.DX + d.DY * d.DY + d.DZ * d.DZ;
            if (r > dPeak) dPeak = r, nPeak = step;
        }
        return false;
    });
    for (auto& kv : m_settings)
        if (kv.first == "step") {
            if (std::strtol(kv.second.c_str(), nullptr, 10) < nSteps) return 0;
            Message("the time history \"" + m_strLoadName + "\" has " + std::to_string(nSteps) + " steps: step takes 0 to " +
                    std::to_string(nSteps - 1) + ", not " + kv.second);
            return HOST_EXIT_FAILED;
        }
    if (nSteps > 0) m_settings.emplace_back("step", std::to_string(nPeak));
    return 0;
}

// ---- the module ----------------------------------------------------------------------------

int CHostResultChoice::Apply(CPVXModuleLoader& loader, I_PVXModelBase* pModel) {
    m_bDrawn = false;
    if (!m_pMode) return 0;
    const CHostMode& m = *m_pMode;
    auto show = reinterpret_cast<PFN_PVXHOST_SHOW_RESULT>(loader.GetSymbol(PVXHOST_SHOW_RESULT));
    if (!show) {
        Message("the results module cannot show results (no " PVXHOST_SHOW_RESULT ")");
        return HOST_EXIT_FAILED;
    }
    std::vector<const char*> keys, values;
    for (const auto& kv : m_settings) {
        keys.push_back(kv.first.c_str());
        values.push_back(kv.second.c_str());
    }
    PVXHostResultRequest req{};
    req.nMode = m.nMode;
    req.nResultId = m.nResultId;
    req.nLoadType = m_nLoadType;
    req.nLoadKey = m_nLoadKey;
    req.nLoadStep = m_nLoadStep;
    req.pszLoadName = m_strLoadName.c_str();
    req.nSettings = static_cast<int>(keys.size());
    req.ppszKeys = keys.data();
    req.ppszValues = values.data();
    PVXHostResultReport rep{};
    switch (show(pModel, &req, &rep)) {
    case PVXHOST_DRAWN:
        if (rep.szMessage[0]) Message(std::string("note: ") + rep.szMessage);
        m_bDrawn = true;
        return 0;
    case PVXHOST_NOT_BUILT:
        Message("mode " + ModeLabel(m) + ": " + rep.szMessage + "; drawing the plain model");
        return 0;
    default: {
        std::string hint;
        for (const auto& kv : m_settings)
            if ((m.nMode == 17 && kv.first == "rebar-unit" && kv.second == "1") ||
                (m.nMode == 18 && kv.first == "crack-unit" && kv.second == "1"))
                hint = " (per element the values are the raft element design, table PDDELEM, kept by design "
                       "combination: choose one with --load, or the envelope)";
        // The supports the part leaves out may carry what its own have none of.
        if (m.nMode == 0 && !m_strBelowNote.empty() && m_strBelowNote.find("have no reaction") == std::string::npos)
            hint +=
                "; the part leaves out " + m_strBelowNote + ", which carry it: without --storey every support is drawn";
        Message("mode " + ModeLabel(m) + ": " + rep.szMessage + hint);
        return HOST_EXIT_FAILED;
    }
    }
}

std::string CHostResultChoice::PartLacks(bool bPartAsked, bool bShowsFoundation, const std::string& part) const {
    if (!IsFoundationResult() || !bPartAsked || bShowsFoundation) return "";
    // part as the summary line names it: ", storey 2 at 7.2 m (83 of 245 members)".
    return "mode " + ModeLabel(*m_pMode) + " lives at the foundation only: nothing of it to draw or number on " +
           part.substr(part.rfind(", ", 0) == 0 ? 2 : 0) + "; --storey 0 shows it";
}

void CHostResultChoice::PrintExtremes(CPVXModuleLoader& loader, I_PVXModelBase* pModel) const {
    if (!m_bDrawn) return;
    PrintHostResultExtremes(loader, pModel);
    if (m_strBelowNote.empty()) return;
    if (m_pMode->nMode == 0)
        std::printf("note: the extremes leave out %s; without --storey every support is drawn\n",
                    m_strBelowNote.c_str());
    else
        std::printf("note: the extremes leave out %s\n", m_strBelowNote.c_str());
}

void PrintHostResultExtremes(CPVXModuleLoader& loader, I_PVXModelBase* pModel) {
    auto get = reinterpret_cast<PFN_PVXHOST_GET_RESULT_EXTREMES>(loader.GetSymbol(PVXHOST_GET_RESULT_EXTREMES));
    PVXHostResultReport rep{};
    if (!get || !get(pModel, &rep)) return;
    if (!rep.bExtremes) {
        if (rep.szMessage[0]) HostMessage("%s", rep.szMessage);
        return;
    }
    // Key 0 is no node or element: the result's extremes lie on lines of their own (strips, ribs).
    auto line = [&](const char* which, const char* text, double value, unsigned key) {
        if (key)
            std::printf("%s %s (%.17g) at %s %u\n", which, text, value, rep.szKeyKind, key);
        else
            std::printf("%s %s (%.17g)\n", which, text, value);
    };
    line("max", rep.szMax, rep.dMax, rep.nMaxKey);
    line("min", rep.szMin, rep.dMin, rep.nMinKey);
}

std::string DescribeHostShownResult(CPVXModuleLoader& loader, I_PVXModelBase* pModel) {
    auto get = reinterpret_cast<PFN_PVXHOST_GET_SHOWN_RESULT>(loader.GetSymbol(PVXHOST_GET_SHOWN_RESULT));
    PVXHostShownResult shown{};
    if (!get || !get(pModel, &shown) || shown.nMode < 0) return "";
    const CHostMode* pMode = FindHostMode(std::to_string(shown.nMode));
    if (!pMode) return "; display mode " + std::to_string(shown.nMode);
    std::string s = "; mode " + ModeLabel(*pMode);
    if (shown.szLoad[0]) s += (pMode->eLoad == EHostLoad::kModeShape ? ", " : ", load ") + std::string(shown.szLoad);
    for (int i = 0; i < pMode->nComponents; ++i)
        if (pMode->pComponents[i].nCode == shown.nComponent)
            s += ", component " + std::string(pMode->pComponents[i].pszName);
    static const char* const kSides[] = {"", ", side max", ", side min", ", side abs"};
    if (shown.bBothSides)
        s += ", sides max and min";
    else if (shown.nLoadStep > 0 && shown.nLoadStep <= 3)
        s += kSides[shown.nLoadStep];
    return s + (shown.bNumbers ? ", values written" : ", no values");
}

#undef PVX_COMPONENTS
