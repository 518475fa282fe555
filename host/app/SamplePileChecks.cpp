#include "host/app/SamplePileChecks.h"

#include <cmath>
#include <map>

#include "host/app/SampleFoundationChecks.h"
#include "host/check/CheckTables.h"
#include "host/db/CDataBase.h"

namespace sample_piles {

long AddSamplePileChecks(CDataBase& db) {
    const auto combs = sample_checks::Combinations(db);
    const auto groups = sample_checks::GroupsOfKind(db, 0);
    // Pile elements of the analysis model by model pile.
    std::map<UINT, const T_PMEMB_D*> elemOf;
    auto& pm = db.Table<DBT_PMEMB>();
    for (size_t i = 0; i < pm.Keys().size(); ++i)
        if (pm.Records()[i].type == 403 && pm.Records()[i].pileKey != 0) elemOf[pm.Records()[i].pileKey] = &pm.Records()[i];
    const double pi = std::acos(-1.0);
    long rows = 0;
    auto& piles = db.Table<DBT_PILE>();
    for (size_t i = 0; i < piles.Keys().size(); ++i) {
        const UINT key = piles.Keys()[i];
        const T_MEMB_D* memb = db.Table<DBT_MEMB>().Find(key);
        const T_PISP_D* sec = memb ? db.Table<DBT_PISP>().Find(memb->fosp) : nullptr;
        auto e = elemOf.find(key);
        if (!sec || e == elemOf.end()) continue;
        // The last pile stands for an anchor pile: its bearing entries take the top force pulling.
        const double pull = i + 1 == piles.Keys().size() ? -1.0 : 1.0;
        T_PCDPILE_D rec;
        rec.ra = piles.Records()[i].capacity;
        rec.tu = kUpliftShare * rec.ra;
        const double d = sec->d;
        const double jyLimit = kFcPile * pi * d * d / 4.0;
        const double cqLimit = 0.7 * kFtCap * pi * (d + kCapH0) * kCapH0;
        for (UINT g : groups) {
            auto c = combs.find(g);
            if (c == combs.end()) continue;
            // The pile top forces: the group's terms over the REAC rows of the element's nodes.
            double n = 0.0, hx = 0.0, hy = 0.0;
            bool found = false;
            for (const auto& [lc, f] : c->second)
                for (INT_PTR k = 0; k < e->second->aNode.GetSize(); ++k)
                    if (const T_REAC_D* r = db.Table<DBT_REAC>().Find(lc, e->second->aNode[k])) {
                        n += f * r->FZ;
                        hx += f * r->FX;
                        hy += f * r->FY;
                        found = true;
                    }
            if (!found) continue;
            PileCZLCheckData_P entry;
            entry.m_a[0] = CheckData_P(pull * n, rec.ra);
            entry.m_a[1] = CheckData_P(pull * n, 1.2 * rec.ra);
            entry.m_a[2] = CheckData_P(pull * n, rec.tu);
            entry.m_a[3] = CheckData_P(hx, kHorShare * rec.ra);
            entry.m_a[4] = CheckData_P(hy, kHorShare * rec.ra);
            rec.m_mapCZL.SetAt(g, entry);
            CheckData_P jy(n, jyLimit), cq(n, cqLimit);
            rec.m_mapJY.SetAt(g, jy);
            rec.m_mapCQ.SetAt(g, cq);
        }
        db.Table<DBT_PCDPILE>().Set(key, CheckRows::Encode(rec));
        ++rows;
    }
    return rows;
}

}  // namespace sample_piles
