// The raft check table as the raft figures read it: the stored row with its BLOBs decoded.
#pragma once

#include <map>

#include "host/check/CheckData.h"
#include "host/db/DB_CDataClass.h"

// Overall, punching and shear checks of one raft.
struct T_PCDMTSB_D {
    double fa = 0.0;
    CZLCheckMap m_mapCZL;
    CheckDataMap m_mapSlide, m_mapTurn;  // the two stability maps
    LCCheckMap m_mapLC;
    CheckDataMap m_mapKF;
    std::map<UINT, CString> m_mapBad;    // combination key -> unfavourable-combination text
    SlabCJCheckMap m_mapCQ, m_mapJQ;
};

namespace CheckRows {
// Decode fails (FALSE) on a BLOB that does not read as its map or a malformed text line, naming
// its column in *pszColumn when given.
BOOL Decode(const T_PCDMTSB_ROW& row, T_PCDMTSB_D& rec, const char** pszColumn = nullptr);
T_PCDMTSB_ROW Encode(const T_PCDMTSB_D& rec);
}  // namespace CheckRows

// Non-zero with the record of key; 0 when the row is missing or does not decode.
class CClassPCDMtsb : public DB_CTable<DBT_PCDMTSB> {
public:
    using DB_CTable<DBT_PCDMTSB>::Get;
    int Get(UINT key, T_PCDMTSB_D& rec) const;
};
