#include "host/db/CStoreyFinder.h"

#include <algorithm>
#include <cfloat>

#include "host/db/CDataBase.h"
#include "host/db/FoundationRecords.h"

namespace {

// Lowest and highest z of a member's nodes; false when it has no node of the node table.
bool NodeRange(const CDataBase& db, const T_PMEMB_D& memb, double& lo, double& hi) {
    lo = DBL_MAX;
    hi = -DBL_MAX;
    for (INT_PTR i = 0; i < memb.aNode.GetSize(); ++i)
        if (const T_PNODE_D* n = db.Table<DBT_PNODE>().Find(memb.aNode[i])) {
            lo = std::min(lo, n->z);
            hi = std::max(hi, n->z);
        }
    return lo <= hi;
}

// Members made from the foundation model's beams, footings, rafts and piles.
bool IsFoundationPart(const CDataBase& db, const T_PMEMB_D& memb) {
    const T_MEMB_D* f = memb.modelKey ? db.Table<DBT_MEMB>().Find(memb.modelKey) : nullptr;
    return f && (f->type == MEMB_BEAM || f->type == MEMB_FOOTING || f->type == MEMB_RAFT || f->type == MEMB_PILE);
}

// Members whose height makes a floor level: beams and slabs or plates.
bool IsFloorType(int type) { return type == 201 || type == 205 || type == 301 || type == 302 || type == 305; }

double FoundationLevel(const CDataBase& db) {
    const auto& membs = db.Table<DBT_PMEMB>().Records();
    double level = -DBL_MAX, lo = 0.0, hi = 0.0;
    for (const T_PMEMB_D& m : membs)
        if (IsFoundationPart(db, m) && NodeRange(db, m, lo, hi)) level = std::max(level, hi);
    if (level > -DBL_MAX) return level;
    const auto& supports = db.Table<DBT_PRTND>();
    for (UINT key : supports.Keys())
        if (const T_PNODE_D* n = db.Table<DBT_PNODE>().Find(key)) level = level > -DBL_MAX ? std::min(level, n->z) : n->z;
    if (level > -DBL_MAX) return level;
    for (const T_PNODE_D& n : db.Table<DBT_PNODE>().Records()) level = level > -DBL_MAX ? std::min(level, n.z) : n.z;
    return level > -DBL_MAX ? level : 0.0;
}

}  // namespace

void CStoreyFinder::Find(const CDataBase& db, std::vector<T_STOREY>& storeys) {
    storeys.clear();
    const auto& table = db.Table<DBT_PMEMB>();
    if (table.Count() == 0) return;
    const double base = FoundationLevel(db);

    // Every member's top, and the heights of the level floor members above the foundation.
    std::vector<double> tops(table.Count(), base), heights;
    for (size_t i = 0; i < table.Count(); ++i) {
        double lo = 0.0, hi = 0.0;
        if (!NodeRange(db, table.Records()[i], lo, hi)) continue;
        tops[i] = hi;
        if (IsFloorType(table.Records()[i].type) && hi - lo <= kLevelTol && hi > base + kLevelTol) heights.push_back(hi);
    }
    // A building without floors above its foundation is one storey up to its highest member.
    const double top = *std::max_element(tops.begin(), tops.end());
    if (heights.empty() && top > base + kLevelTol) heights.push_back(top);
    std::sort(heights.begin(), heights.end());
    std::vector<double> levels;
    for (double h : heights)
        if (levels.empty() || h > levels.back() + kLevelTol) levels.push_back(h);

    storeys.resize(levels.size() + 1);
    storeys[0].dLevel = base;
    for (size_t i = 0; i < levels.size(); ++i) {
        storeys[i + 1].nNo = static_cast<int>(i + 1);
        storeys[i + 1].dLevel = levels[i];
    }
    for (size_t i = 0; i < table.Count(); ++i) {
        size_t s = 0;
        if (tops[i] > base + kLevelTol) {
            s = 1;
            while (s < levels.size() && tops[i] > levels[s - 1] + kLevelTol) ++s;
        }
        storeys[s].membs.push_back(table.Keys()[i]);
    }
}

std::vector<UINT> CStoreyFinder::NodesOf(const CDataBase& db, const std::set<UINT>& membs) {
    std::vector<UINT> nodes;
    std::set<UINT> seen;
    auto add = [&](UINT node) {
        if (seen.insert(node).second) nodes.push_back(node);
    };
    for (UINT key : membs)
        if (const T_PMEMB_D* m = db.Table<DBT_PMEMB>().Find(key)) {
            for (INT_PTR i = 0; i < m->aNode.GetSize(); ++i) add(m->aNode[i]);
            // A slab's or wall's inner nodes are its elements' only.
            for (INT_PTR i = 0; i < m->aElem.GetSize(); ++i)
                if (const T_PELEM_D* e = db.Table<DBT_PELEM>().Find(m->aElem[i]))
                    for (int k = 0; k < e->nNode && k < PELEM_MAX_NODE; ++k) add(e->node[k]);
        }
    return nodes;
}
