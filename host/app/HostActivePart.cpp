#include "host/app/HostActivePart.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <tuple>

#include "host/db/CDataBase.h"
#include "host/db/FoundationRecords.h"
#include "host/grx/I_PVXCtrl.h"

namespace {

// A whole number of digits only, at most 9 of them.
bool ReadNumber(const std::string& text, long& value) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = std::strtol(text.c_str(), nullptr, 10);
    return true;
}

std::string Level(double z) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.6g m", z);
    return buf;
}

std::string StoreyList(const std::vector<T_STOREY>& storeys) {
    std::string s;
    for (const T_STOREY& st : storeys)
        s += (s.empty() ? "" : ", ") + std::to_string(st.nNo) + (st.nNo ? " at " + Level(st.dLevel) : " (foundation)");
    return s.empty() ? "none (no member)" : s;
}

// A supported node (PRTND) at or below the foundation level.
bool HasFoundationSupport(const CDataBase& db, double base) {
    for (UINT key : db.Table<DBT_PRTND>().Keys()) {
        const T_PNODE_D* n = db.Table<DBT_PNODE>().Find(key);
        if (n && n->z <= base + CStoreyFinder::kLevelTol) return true;
    }
    return false;
}

}  // namespace

std::vector<CHostOption> CHostActivePart::Options() {
    return {
        {"--storey", EHostValue::kText, "N|N-M",
         "makes storey N (or N to M) the active part of the model, as the host application's activation does: the "
         "other members are drawn in the inactive style, the member force numbers leave them out and a design figure "
         "takes the active members only; storey 0 is the foundation with its supports (info --verbose lists the "
         "storeys)"},
        {"--member-keys", EHostValue::kText, "K1,K2,...",
         "makes the members of these keys the active part of the model, as --storey does"},
    };
}

void CHostActivePart::Read(const CHostArgs& args) {
    m_strStorey = args.Get("--storey");
    m_strKeys = args.Get("--member-keys");
}

int CHostActivePart::Resolve(const CDataBase& db) {
    m_membs.clear();
    m_nAll = db.Table<DBT_PMEMB>().Count();
    if (!m_strStorey.empty() && !m_strKeys.empty()) {
        HostMessage("--storey and --member-keys both choose the active part: give one of them");
        return HOST_EXIT_USAGE;
    }
    std::vector<T_STOREY> storeys;
    CStoreyFinder::Find(db, storeys);
    m_levels.clear();
    m_shown.clear();
    // Storey 0 holds the supports at the foundation level, a project without foundation members
    // (supports as nodes only) too.
    const bool bSupports = !storeys.empty() && HasFoundationSupport(db, storeys[0].dLevel);
    auto holds = [&](const T_STOREY& st) { return !st.membs.empty() || (st.nNo == 0 && bSupports); };
    for (const T_STOREY& st : storeys) {
        m_levels.push_back(st.dLevel);
        if (holds(st) && m_strKeys.empty() && m_strStorey.empty()) m_shown.insert(st.nNo);
    }
    if (!m_strKeys.empty()) {
        size_t start = 0;
        for (;;) {
            const size_t comma = m_strKeys.find(',', start);
            const std::string word = m_strKeys.substr(start, comma == std::string::npos ? comma : comma - start);
            UINT key = 0;
            if (!HostParseKey(word, key) || key == 0) {
                HostMessage("--member-keys takes member keys separated by commas (e.g. 253,254), not \"%s\"",
                            m_strKeys.c_str());
                return HOST_EXIT_USAGE;
            }
            if (!db.Table<DBT_PMEMB>().Find(key)) {
                HostMessage("the project has no member %u (--member-keys)", key);
                return HOST_EXIT_USAGE;
            }
            m_membs.insert(key);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
        for (const T_STOREY& st : storeys)
            for (UINT key : st.membs)
                if (m_membs.count(key)) m_shown.insert(st.nNo);
        return 0;
    }
    if (m_strStorey.empty()) return 0;
    const size_t dash = m_strStorey.find('-');
    long first = 0, last = 0;
    if (!ReadNumber(m_strStorey.substr(0, dash), first) ||
        !ReadNumber(dash == std::string::npos ? m_strStorey : m_strStorey.substr(dash + 1), last) || last < first) {
        HostMessage("--storey takes a storey N or a range N-M (N not above M), not \"%s\"; the project's storeys: %s",
                    m_strStorey.c_str(), StoreyList(storeys).c_str());
        return HOST_EXIT_USAGE;
    }
    if (static_cast<size_t>(last) >= storeys.size()) {
        HostMessage("the project has no storey %ld; its storeys: %s (see pvxhost info --verbose)",
                    static_cast<size_t>(first) >= storeys.size() ? first : last, StoreyList(storeys).c_str());
        return HOST_EXIT_USAGE;
    }
    for (long s = first; s <= last; ++s) {
        m_membs.insert(storeys[s].membs.begin(), storeys[s].membs.end());
        if (holds(storeys[s])) m_shown.insert(static_cast<int>(s));
    }
    if (m_shown.empty()) {
        HostMessage("storey %s holds no member; the project's storeys: %s", m_strStorey.c_str(),
                    StoreyList(storeys).c_str());
        return HOST_EXIT_USAGE;
    }
    m_nFirst = static_cast<int>(first);
    m_nLast = static_cast<int>(last);
    m_dLow = storeys[first].dLevel;
    m_dHigh = storeys[last].dLevel;
    return 0;
}

void CHostActivePart::NodeFlags(const CDataBase& db, std::vector<UINT>& part, std::map<UINT, UINT>& flags) const {
    // The chosen members' nodes are active, with the foundation's supports when it is shown;
    // flag 1 goes to those the result lists number: at a chosen storey's level (a column's foot
    // is the storey below's), each plan point of a storey once (the highest node there); flag 2
    // to a support the reaction lists number besides (the highest support at its plan point), so
    // that a pile's tip under its head keeps its reaction while the node lists number the head.
    part = CStoreyFinder::NodesOf(db, m_membs);
    const auto& pnodes = db.Table<DBT_PNODE>();
    auto storeyOf = [&](double z) {
        int s = 0;
        while (s + 1 < static_cast<int>(m_levels.size()) && z > m_levels[s] + CStoreyFinder::kLevelTol) ++s;
        return s;
    };
    if (m_shown.count(0)) {
        const std::set<UINT> known(part.begin(), part.end());
        for (UINT key : db.Table<DBT_PRTND>().Keys())
            if (!known.count(key) && pnodes.Find(key) && storeyOf(pnodes.Find(key)->z) == 0) part.push_back(key);
    }
    auto cell = [](double v) { return std::llround(v / CStoreyFinder::kLevelTol); };
    std::map<std::tuple<long long, long long, int, bool>, UINT> highest;  // plan point, storey, support
    const auto& supports = db.Table<DBT_PRTND>();
    for (UINT key : part) {
        const T_PNODE_D* n = pnodes.Find(key);
        const int s = n ? storeyOf(n->z) : -1;
        if (!n || (m_strKeys.empty() && (s < m_nFirst || s > m_nLast))) continue;
        for (bool support : {false, true}) {
            if (support && !supports.Find(key)) continue;
            UINT& top = highest[{cell(n->x), cell(n->y), s, support}];
            if (!top || pnodes.Find(top)->z < n->z) top = key;
        }
    }
    for (const auto& [at, key] : highest)
        if (!std::get<3>(at)) flags[key] = 1;
        else flags.emplace(key, 2);
}

std::vector<UINT> CHostActivePart::SupportsBelow(const CDataBase& db) const {
    std::vector<UINT> below;
    if (!IsAsked() || !m_shown.count(0)) return below;
    std::vector<UINT> part;
    std::map<UINT, UINT> flags;
    NodeFlags(db, part, flags);
    const auto& supports = db.Table<DBT_PRTND>();
    const auto& pnodes = db.Table<DBT_PNODE>();
    for (UINT key : part) {
        const T_PRTND_D* r = supports.Find(key);
        const T_PNODE_D* n = pnodes.Find(key);
        // A support of type 1 at or below the foundation level that no flag numbers.
        if (r && r->type == 1 && n && !flags.count(key) && !m_levels.empty() &&
            n->z <= m_levels[0] + CStoreyFinder::kLevelTol)
            below.push_back(key);
    }
    return below;
}

void CHostActivePart::Apply(const CDataBase& db, I_PVXCtrl& ctrl) const {
    if (!IsAsked()) return;
    CArray<UINT, UINT> nodes, members, nodeFlags, memberFlags;
    const std::vector<UINT>& keys = db.Table<DBT_PMEMB>().Keys();
    members.SetSize(0, static_cast<INT_PTR>(keys.size()));
    memberFlags.SetSize(0, static_cast<INT_PTR>(keys.size()));
    for (UINT key : keys) {
        members.Add(key);
        memberFlags.Add(m_membs.count(key) ? 1 : 0);
    }
    std::vector<UINT> part;
    std::map<UINT, UINT> flags;
    NodeFlags(db, part, flags);
    for (UINT key : part) {
        nodes.Add(key);
        nodeFlags.Add(flags.count(key) ? flags[key] : 0);
    }
    ctrl.ActiveByFlag(nodes, members, nodeFlags, memberFlags);
}

std::string CHostActivePart::StackedPlanNote(bool bPlan, bool bNumbers) const {
    if (!bPlan || !bNumbers || !ShowsSeveralStoreys()) return "";
    return "note: this plan view lays the numbers of " + std::to_string(m_shown.size()) +
           " storeys over each other; --storey N draws one storey's";
}

std::string CHostActivePart::Describe() const {
    if (!IsAsked()) return "";
    const std::string count = " (" + std::to_string(m_membs.size()) + " of " + std::to_string(m_nAll) + " members)";
    if (!m_strKeys.empty()) return ", members " + m_strKeys + count;
    auto name = [&](int n, double z) { return n ? std::to_string(n) + " at " + Level(z) : std::string("0 (foundation)"); };
    if (m_nFirst == m_nLast) return ", storey " + name(m_nFirst, m_dLow) + count;
    return ", storeys " + std::to_string(m_nFirst) + "-" + std::to_string(m_nLast) + " at " + Level(m_dLow) + " to " +
           Level(m_dHigh) + count;
}

std::vector<std::string> CHostActivePart::StoreyLines(const std::vector<T_STOREY>& storeys) {
    std::vector<std::string> lines;
    for (const T_STOREY& st : storeys)
        lines.push_back("Storey " + std::to_string(st.nNo) + ": " + (st.nNo ? "level " : "foundation, level ") +
                        Level(st.dLevel) + ", " + std::to_string(st.membs.size()) + " members");
    return lines;
}
