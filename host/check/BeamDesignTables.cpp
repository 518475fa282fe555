#include "host/check/BeamDesignTables.h"

#include <algorithm>
#include <set>

BOOL T_PDDBEAM_D::FindData(UINT key, const BeamRebarMap& map, S_BEAMREBARAS& out) {
    out = S_BEAMREBARAS();
    if (key != 0) return map.GetVal(key, out);
    BOOL found = FALSE;
    POSITION pos = map.GetStartPosition();
    while (pos) {
        UINT k;
        S_BEAMREBARAS v;
        map.GetNextAssoc(pos, k, v);
        for (int i = 0; i < 5; ++i) out.d[i] = found ? std::max(out.d[i], v.d[i]) : v.d[i];
        found = TRUE;
    }
    return found;
}

namespace DesignRows {

BOOL Decode(const T_PDDBEAM_ROW& row, T_PDDBEAM_D& rec) {
    constexpr int kS = T_PDDBEAM_ROW::kSections, kV = T_PDDBEAM_ROW::kSectionValues;
    if (row.aAs.GetSize() != row.aComb.GetSize() * kS * kV) return FALSE;
    rec.b = row.b;
    rec.h = row.h;
    rec.as = row.as;
    rec.fy = row.fy;
    rec.ft = row.ft;
    rec.ftk = row.ftk;
    rec.m_nOver = static_cast<UINT>(row.over);
    for (int s = 0; s < kS; ++s) {
        rec.m_mapAs[s].RemoveAll();
        for (INT_PTR c = 0; c < row.aComb.GetSize(); ++c) {
            S_BEAMREBARAS v;
            for (int i = 0; i < kV; ++i) v.d[i] = row.aAs[(c * kS + s) * kV + i];
            rec.m_mapAs[s][row.aComb[c]] = v;
        }
    }
    if (!CheckBlob::Read(row.extra, rec.m_mapExtra)) return FALSE;
    for (int s = 0; s < kS; ++s)
        if (!CheckBlob::Read(row.crack[s], rec.m_mapCrack[s])) return FALSE;
    return TRUE;
}

T_PDDBEAM_ROW Encode(const T_PDDBEAM_D& rec) {
    constexpr int kS = T_PDDBEAM_ROW::kSections, kV = T_PDDBEAM_ROW::kSectionValues;
    T_PDDBEAM_ROW row;
    row.b = rec.b;
    row.h = rec.h;
    row.as = rec.as;
    row.fy = rec.fy;
    row.ft = rec.ft;
    row.ftk = rec.ftk;
    row.over = rec.m_nOver ? 1 : 0;
    // The combinations any section holds, ascending; a section without one writes zeros.
    std::set<UINT> combs;
    for (const BeamRebarMap& m : rec.m_mapAs) {
        POSITION pos = m.GetStartPosition();
        while (pos) {
            UINT k;
            S_BEAMREBARAS v;
            m.GetNextAssoc(pos, k, v);
            combs.insert(k);
        }
    }
    for (UINT c : combs) {
        row.aComb.Add(c);
        for (int s = 0; s < kS; ++s) {
            S_BEAMREBARAS v;
            rec.m_mapAs[s].GetVal(c, v);
            for (int i = 0; i < kV; ++i) row.aAs.Add(v.d[i]);
        }
    }
    row.extra = CheckBlob::Write(rec.m_mapExtra);
    for (int s = 0; s < kS; ++s) row.crack[s] = CheckBlob::Write(rec.m_mapCrack[s]);
    return row;
}

}  // namespace DesignRows

int CClassPDDBeam::Get(UINT key, T_PDDBEAM_D& rec) const {
    T_PDDBEAM_ROW row;
    if (!DB_CTable<DBT_PDDBEAM>::Get(key, row)) return 0;
    T_PDDBEAM_D out;
    if (!DesignRows::Decode(row, out)) return 0;
    rec = out;
    return 1;
}
