#include "host/app/InfoFoundation.h"

#include <cstdio>
#include <map>
#include <string>

#include "host/db/DBTables.h"
#include "host/db/DBText.h"
#include "host/db/FoundationTables.h"

namespace {

const char* CheckKindName(int kind) {
    switch (kind) {
    case LDGP_KIND_STANDARD: return "standard";
    case LDGP_KIND_BASIC: return "basic";
    case LDGP_KIND_QUASI: return "quasi-permanent";
    default: return "none";
    }
}

template <int ID> size_t CountOf(CDataBase& db) { return db.Table<ID>().Count(); }

}  // namespace

bool HasFoundationModel(CDataBase& db) {
    const size_t total = CountOf<DBT_PONT>(db) + CountOf<DBT_AXIS>(db) + CountOf<DBT_MEMB>(db) + CountOf<DBT_COLM>(db) +
                         CountOf<DBT_WALL>(db) + CountOf<DBT_COLF>(db) + CountOf<DBT_FOSP>(db) + CountOf<DBT_BEAM>(db) +
                         CountOf<DBT_MTSB>(db) + CountOf<DBT_PILE>(db) + CountOf<DBT_PISP>(db) + CountOf<DBT_SRCT>(db) +
                         CountOf<DBT_GBPA>(db) + CountOf<DBT_WDLD>(db) + CountOf<DBT_CKLG>(db);
    return total != 0;
}

void PrintFoundationModel(CDataBase& db) {
    if (!HasFoundationModel(db)) {
        std::printf("no foundation model\n");
        return;
    }
    std::printf("Foundation model:\n");
    std::printf("Points: %zu\n", CountOf<DBT_PONT>(db));

    const auto& axes = db.Table<DBT_AXIS>();
    std::string names;
    for (const T_AXIS_D& a : axes.Records()) names += std::string(names.empty() ? "" : ", ") + pvxdb::EscapeText(a.name);
    std::printf("Axes: %zu%s%s\n", axes.Count(), names.empty() ? "" : ": ", names.c_str());

    const auto& membs = db.Table<DBT_MEMB>();
    const auto& colfs = db.Table<DBT_COLF>();
    std::printf("Column footings: %zu\n", colfs.Count());
    for (size_t i = 0; i < colfs.Count(); ++i) {
        const T_COLF_D& c = colfs.Records()[i];
        std::printf("Column footing %u: %s %s%u, centre (%.3f, %.3f) m, %d step%s, bottom %.3f x %.3f m\n",
                    colfs.Keys()[i], c.kind == COLF_PILECAP ? "pile cap" : "spread footing",
                    c.kind == COLF_PILECAP ? "CT" : "ZJ", colfs.Keys()[i], c.cx, c.cy, c.nStep, c.nStep == 1 ? "" : "s",
                    c.step[0].b, c.circle ? c.step[0].b : c.step[0].h);
    }

    const auto& rafts = db.Table<DBT_MTSB>();
    size_t subs = 0;
    for (const T_MTSB_D& r : rafts.Records()) subs += r.IsSubMtsb();
    std::printf("Rafts: %zu (sub-rafts %zu)\n", rafts.Count(), subs);
    for (size_t i = 0; i < rafts.Count(); ++i) {
        const T_MTSB_D& r = rafts.Records()[i];
        const T_MEMB_D* m = membs.Find(rafts.Keys()[i]);
        std::printf("Raft %u: type %d, %.3f m thick, %d outline points", rafts.Keys()[i], r.type, r.thick,
                    m ? static_cast<int>(m->aPont.GetSize()) : 0);
        if (r.IsSubMtsb()) std::printf(", in raft %u", r.parent);
        std::printf("\n");
    }

    const auto& piles = db.Table<DBT_PILE>();
    const auto& pisps = db.Table<DBT_PISP>();
    std::map<UINT, size_t> perSection;
    for (UINT key : piles.Keys())
        if (const T_MEMB_D* m = membs.Find(key)) ++perSection[m->fosp];
    std::printf("Piles: %zu in %zu pile section%s\n", piles.Count(), pisps.Count(), pisps.Count() == 1 ? "" : "s");
    for (size_t i = 0; i < pisps.Count(); ++i) {
        const UINT key = pisps.Keys()[i];
        const T_PISP_D& s = pisps.Records()[i];
        std::printf("Pile section %u: %s, diameter %.3f m, %zu piles\n", key, pvxdb::EscapeText(s.name).c_str(), s.d,
                    perSection.count(key) ? perSection[key] : size_t(0));
    }

    const auto& beams = db.Table<DBT_BEAM>();
    size_t links = 0;
    for (const T_BEAM_D& b : beams.Records()) links += b.link != 0;
    std::printf("Foundation beams: %zu (link beams %zu)\n", beams.Count(), links);
    std::printf("Walls above the foundation: %zu\n", CountOf<DBT_WALL>(db));
    std::printf("Columns above the foundation: %zu\n", CountOf<DBT_COLM>(db));
    std::printf("Settlement-mesh cells: %zu\n", CountOf<DBT_SRCT>(db));
    if (const T_WDLD_D* w = db.Table<DBT_WDLD>().Find(1)) std::printf("Groundwater level: %.3f m\n", w->level);
    if (const T_GBPA_D* g = db.Table<DBT_GBPA>().Find(GBPA_KEY))
        std::printf("Global parameters: differential settlement %g, tilt %g / %g, average settlement %g mm, "
                    "deflection %g, design code %d\n",
                    g->diffSettle, g->tiltX, g->tiltY, g->avgSettle, g->deflection, g->designCode.GetGbCode());

    const auto& groups = db.Table<DBT_CKLG>();
    std::printf("Check load groups: %zu\n", groups.Count());
    for (size_t i = 0; i < groups.Count(); ++i) {
        const T_CKLG_D& g = groups.Records()[i];
        std::printf("Check load group %u: %s (%s%s%s%s)\n", groups.Keys()[i], pvxdb::EscapeText(g.sort).c_str(),
                    CheckKindName(g.kind), g.blast ? ", blast" : "", g.seismic ? ", seismic" : "",
                    g.designUse ? ", design" : "");
    }
}
