// The footing design tables as the design figures read them: a stored design row
// (FootingDesignRecords.h) with its BLOBs decoded into maps by load group, and the footing groups.
#pragma once

#include "host/check/CheckData.h"
#include "host/db/DB_CDataClass.h"

// Design of one column footing by load group: moments about the two plan axes and the steel
// areas of the two directions (the four maps the figures draw), with the inputs of the closed
// forms.
struct T_PDDCOLF_D {
    double fy = 0.0, h0 = 0.0, bc = 0.0;
    DoubleMap m_mapMz;
    DoubleMap m_mapMy;
    DoubleMap m_mapAsz;
    DoubleMap m_mapAsy;
};

namespace DesignRows {
// FALSE when a BLOB does not read as its map.
BOOL Decode(const T_PDDCOLF_ROW& row, T_PDDCOLF_D& rec, const char** pszColumn = nullptr);
T_PDDCOLF_ROW Encode(const T_PDDCOLF_D& rec);
}  // namespace DesignRows

// Non-zero with the record of key; 0 when the row is missing or does not decode.
class CClassPDDColf : public DB_CTable<DBT_PDDCOLF> {
public:
    using DB_CTable<DBT_PDDCOLF>::Get;
    int Get(UINT key, T_PDDCOLF_D& rec) const;
};

class CClassPColfG : public DB_CTable<DBT_PCOLFG> {};
