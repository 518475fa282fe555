#include "host/db/FoundationCheck.h"

#include <algorithm>
#include <utility>

#include "host/db/CDataBase.h"
#include "host/db/DBText.h"

#include "host/check/CheckTables.h"
#include "host/check/FootingDesignTables.h"
#include "host/check/RaftCheckTables.h"

namespace pvxdb {
namespace {

std::string Where(const std::string& file, const char* table, const char* column, UINT key) {
    return file + ": table " + table + ", column " + column + ", key " + std::to_string(key) + ": ";
}

const char* TableOfType(int type) {
    switch (type) {
    case MEMB_COLUMN: return "COLM";
    case MEMB_BEAM: return "BEAM";
    case MEMB_WALL: return "WALL";
    case MEMB_FOOTING: return "COLF";
    case MEMB_RAFT: return "MTSB";
    case MEMB_PILE: return "PILE";
    }
    return "";
}

// Every key of a typed table is a member of its type.
template <int ID> std::string CheckTyped(CDataBase& db, const std::string& file, const char* table, int type) {
    const auto& membs = db.Table<DBT_MEMB>();
    for (UINT key : db.Table<ID>().Keys()) {
        const T_MEMB_D* m = membs.Find(key);
        if (!m) return Where(file, table, "key", key) + "no member " + std::to_string(key) + " in MEMB";
        if (m->type != type)
            return Where(file, table, "key", key) + "member " + std::to_string(key) + " is of type " +
                   std::to_string(m->type) + ", not " + std::to_string(type);
    }
    return {};
}

// Key 0 stands for the governing load group (the entry shown without a load case).
bool IsCheckGroup(const void* context, UINT key) {
    const CDataBase& db = *static_cast<const CDataBase*>(context);
    return key == 0 || db.Table<DBT_CKLG>().Find(key) || db.Table<DBT_LDGP>().Find(key);
}

// Every map of a check or design table reads whole: one that names a load group twice (or ends
// short, or runs on) would lose entries, and the figures the texts of those load groups.
template <int ID, class Rec> std::string CheckMapsRead(CDataBase& db, const std::string& file, const char* table) {
    using CheckRows::Decode;
    using DesignRows::Decode;
    const auto& rows = db.Table<ID>();
    for (size_t i = 0; i < rows.Count(); ++i) {
        Rec rec;
        const char* column = "";
        if (!Decode(rows.Records()[i], rec, &column))
            return Where(file, table, column, rows.Keys()[i]) +
                   "its map does not read as a keyed map of check results (a load group named twice, a count its "
                   "size cannot hold, bytes left over or a value that is not a finite number)";
    }
    return {};
}

// Every key of the check maps of a check table names a load group (CKLG or LDGP): a check
// without its load group would be drawn without saying which load governs.
template <int ID, class Rec> std::string CheckMapKeys(CDataBase& db, const std::string& file, const char* table) {
    if (std::string why = CheckMapsRead<ID, Rec>(db, file, table); !why.empty()) return why;
    const auto& rows = db.Table<ID>();
    for (size_t i = 0; i < rows.Count(); ++i) {
        UINT group = 0;
        if (const char* column = CheckRows::StrangeGroup(rows.Records()[i], IsCheckGroup, &db, &group))
            return Where(file, table, column, rows.Keys()[i]) + "load group " + std::to_string(group) +
                   " of its map is in neither CKLG nor LDGP";
    }
    return {};
}

// Every moved text's offset of a table lies within limit.
template <int ID, class Offsets>
std::string CheckTextReach(CDataBase& db, const std::string& file, const char* table, double limit, Offsets offsets) {
    const auto& rows = db.Table<ID>();
    for (size_t i = 0; i < rows.Count(); ++i) {
        const auto [xs, ys] = offsets(rows.Records()[i]);
        const char* what = "a moved text's reach: 8 times the larger side of the plan's points (PONT), at least 80 m";
        if (std::string why = CheckBound(xs, MEMB_TEXT_SLOTS, limit, what); !why.empty())
            return Where(file, table, "text_x", rows.Keys()[i]) + why;
        if (std::string why = CheckBound(ys, MEMB_TEXT_SLOTS, limit, what); !why.empty())
            return Where(file, table, "text_y", rows.Keys()[i]) + why;
    }
    return {};
}

}  // namespace

double TextOffsetLimit(CDataBase& db) {
    constexpr double kReachFactor = 8.0, kLeastSide = 10.0;
    double side = 0.0;
    const auto& ponts = db.Table<DBT_PONT>().Records();
    if (!ponts.empty()) {
        double x0 = ponts[0].x, x1 = x0, y0 = ponts[0].y, y1 = y0;
        for (const T_PONT_D& p : ponts) {
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
        side = std::max(x1 - x0, y1 - y0);
    }
    return std::min(kMaxTextOffset, kReachFactor * std::max(side, kLeastSide));
}

std::string CheckFoundationModel(CDataBase& db, const std::string& file) {
    const auto& ponts = db.Table<DBT_PONT>();
    const auto& membs = db.Table<DBT_MEMB>();

    for (UINT key : db.Table<DBT_CKLG>().Keys())
        if (db.Table<DBT_LDGP>().Find(key))
            return Where(file, "CKLG", "key", key) + "the key is also a load group of LDGP";

    const auto& axes = db.Table<DBT_AXIS>();
    for (UINT key : axes.Keys()) {
        const T_AXIS_D* a = axes.Find(key);
        if (!ponts.Find(a->pont1)) return Where(file, "AXIS", "pont1", key) + "no point " + std::to_string(a->pont1) + " in PONT";
        if (!ponts.Find(a->pont2)) return Where(file, "AXIS", "pont2", key) + "no point " + std::to_string(a->pont2) + " in PONT";
    }

    for (UINT key : membs.Keys()) {
        const T_MEMB_D* m = membs.Find(key);
        for (INT_PTR i = 0; i < m->aPont.GetSize(); ++i)
            if (!ponts.Find(m->aPont[i]))
                return Where(file, "MEMB", "ponts", key) + "no point " + std::to_string(m->aPont[i]) + " in PONT";
        if (m->type == MEMB_PILE) {
            if (!db.Table<DBT_PISP>().Find(m->fosp))
                return Where(file, "MEMB", "fosp", key) + "no pile section " + std::to_string(m->fosp) + " in PISP";
        } else if (m->fosp && !db.Table<DBT_FOSP>().Find(m->fosp)) {
            return Where(file, "MEMB", "fosp", key) + "no foundation section " + std::to_string(m->fosp) + " in FOSP";
        }
        // Every member has its kind's record.
        bool has = false;
        switch (m->type) {
        case MEMB_COLUMN: has = db.Table<DBT_COLM>().Find(key); break;
        case MEMB_BEAM: has = db.Table<DBT_BEAM>().Find(key); break;
        case MEMB_WALL: has = db.Table<DBT_WALL>().Find(key); break;
        case MEMB_FOOTING: has = db.Table<DBT_COLF>().Find(key); break;
        case MEMB_RAFT: has = db.Table<DBT_MTSB>().Find(key); break;
        case MEMB_PILE: has = db.Table<DBT_PILE>().Find(key); break;
        }
        if (!has) return Where(file, "MEMB", "type", key) + "the member has no record in " + TableOfType(m->type);
    }

    std::string err;
    if (!(err = CheckTyped<DBT_COLM>(db, file, "COLM", MEMB_COLUMN)).empty()) return err;
    if (!(err = CheckTyped<DBT_WALL>(db, file, "WALL", MEMB_WALL)).empty()) return err;
    if (!(err = CheckTyped<DBT_COLF>(db, file, "COLF", MEMB_FOOTING)).empty()) return err;
    if (!(err = CheckTyped<DBT_BEAM>(db, file, "BEAM", MEMB_BEAM)).empty()) return err;
    if (!(err = CheckTyped<DBT_MTSB>(db, file, "MTSB", MEMB_RAFT)).empty()) return err;
    if (!(err = CheckTyped<DBT_PILE>(db, file, "PILE", MEMB_PILE)).empty()) return err;

    const auto& rafts = db.Table<DBT_MTSB>();
    for (UINT key : rafts.Keys()) {
        const UINT parent = rafts.Find(key)->parent;
        if (parent == key) return Where(file, "MTSB", "parent", key) + "a raft cannot lie in itself";
        if (parent) {
            const T_MTSB_D* p = rafts.Find(parent);
            if (!p) return Where(file, "MTSB", "parent", key) + "no raft " + std::to_string(parent) + " in MTSB";
            if (p->parent) return Where(file, "MTSB", "parent", key) + "raft " + std::to_string(parent) + " is itself a sub-raft";
        }
    }

    const auto& piles = db.Table<DBT_PILE>();
    for (UINT key : piles.Keys()) {
        const T_PILE_D* p = piles.Find(key);
        for (INT_PTR i = 0; i < p->aMemb.GetSize(); ++i)
            if (!membs.Find(p->aMemb[i]))
                return Where(file, "PILE", "membs", key) + "no member " + std::to_string(p->aMemb[i]) + " in MEMB";
    }

    if (!(err = CheckMapKeys<DBT_PCDCOLF, T_PCDCOLF_D>(db, file, "PCDCOLF")).empty()) return err;
    if (!(err = CheckMapKeys<DBT_PCDCJY, T_PCDCJY_D>(db, file, "PCDCJY")).empty()) return err;
    if (!(err = CheckMapKeys<DBT_PCDBEAM, T_PCDBEAM_D>(db, file, "PCDBEAM")).empty()) return err;
    if (!(err = CheckMapKeys<DBT_PCDPILE, T_PCDPILE_D>(db, file, "PCDPILE")).empty()) return err;
    if (!(err = CheckMapKeys<DBT_PCDMTSB, T_PCDMTSB_D>(db, file, "PCDMTSB")).empty()) return err;
    if (!(err = CheckMapsRead<DBT_PDDCOLF, T_PDDCOLF_D>(db, file, "PDDCOLF")).empty()) return err;

    for (UINT key : db.Table<DBT_GBPA>().Keys())
        if (key != GBPA_KEY)
            return Where(file, "GBPA", "key", key) + "the global parameters are kept under key " + std::to_string(GBPA_KEY);

    const double reach = TextOffsetLimit(db);
    using Pair = std::pair<const double*, const double*>;
    if (!(err = CheckTextReach<DBT_MEMB>(db, file, "MEMB", reach, [](const T_MEMB_D& m) { return Pair(m.textX, m.textY); }))
             .empty())
        return err;
    if (!(err = CheckTextReach<DBT_GBPA>(db, file, "GBPA", reach,
                                         [](const T_GBPA_D& g) { return Pair(g.buffer.textX, g.buffer.textY); }))
             .empty())
        return err;
    return CheckTextReach<DBT_FVDTEXT>(db, file, "FVDTEXT", reach, [](const T_FVDTEXT_D& t) { return Pair(t.textX, t.textY); });
}

std::string CheckAnalysedModel(CDataBase& db, const std::string& file) {
    const auto& nodes = db.Table<DBT_PNODE>();
    const auto& elems = db.Table<DBT_PELEM>();
    for (size_t i = 0; i < elems.Count(); ++i) {
        const T_PELEM_D& e = elems.Records()[i];
        for (int k = 0; k < std::clamp(e.nNode, 0, PELEM_MAX_NODE); ++k)
            if (e.node[k] && !nodes.Find(e.node[k]))
                return Where(file, "PELEM", "node", elems.Keys()[i]) + "no node " + std::to_string(e.node[k]) +
                       " in PNODE";
    }
    const auto& membs = db.Table<DBT_PMEMB>();
    for (size_t i = 0; i < membs.Count(); ++i) {
        const T_PMEMB_D& m = membs.Records()[i];
        for (INT_PTR k = 0; k < m.aElem.GetSize(); ++k)
            if (m.aElem[k] && !elems.Find(m.aElem[k]))
                return Where(file, "PMEMB", "elems", membs.Keys()[i]) + "no element " + std::to_string(m.aElem[k]) +
                       " in PELEM";
    }
    return {};
}

}  // namespace pvxdb
