#include "host/check/FootingDesignTables.h"

namespace DesignRows {

BOOL Decode(const T_PDDCOLF_ROW& row, T_PDDCOLF_D& rec, const char** pszColumn) {
    rec.fy = row.fy;
    rec.h0 = row.h0;
    rec.bc = row.bc;
    return CheckBlob::Maps()("mz", row.mz, rec.m_mapMz)("my", row.my, rec.m_mapMy)("asz", row.asz, rec.m_mapAsz)(
               "asy", row.asy, rec.m_mapAsy)
        .Ok(pszColumn);
}

T_PDDCOLF_ROW Encode(const T_PDDCOLF_D& rec) {
    T_PDDCOLF_ROW row;
    row.fy = rec.fy;
    row.h0 = rec.h0;
    row.bc = rec.bc;
    row.mz = CheckBlob::Write(rec.m_mapMz);
    row.my = CheckBlob::Write(rec.m_mapMy);
    row.asz = CheckBlob::Write(rec.m_mapAsz);
    row.asy = CheckBlob::Write(rec.m_mapAsy);
    return row;
}

}  // namespace DesignRows

int CClassPDDColf::Get(UINT key, T_PDDCOLF_D& rec) const {
    T_PDDCOLF_ROW row;
    if (!DB_CTable<DBT_PDDCOLF>::Get(key, row)) return 0;
    T_PDDCOLF_D out;
    if (!DesignRows::Decode(row, out)) return 0;
    rec = out;
    return 1;
}
