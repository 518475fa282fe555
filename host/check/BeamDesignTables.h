// The beam design table as the reinforcement and crack sheets read it: a stored row
// (BeamDesignRecords.h) decoded into maps by load key.
#pragma once

#include "host/check/CheckData.h"
#include "host/db/BeamRebarRecords.h"
#include "host/db/DB_CDataClass.h"

using BeamRebarMap = CMapEx<UINT, UINT, S_BEAMREBARAS, S_BEAMREBARAS&>;

struct T_PDDBEAM_D {
    double b = 0.0, h = 0.0, as = 0.0, fy = 0.0, ft = 0.0, ftk = 0.0;
    BeamRebarMap m_mapAs[3];  // start, middle, end section by design combination
    UINT m_nOver = 0;         // non-zero: over the limit
    DoubleMap m_mapExtra;     // extra value by load key
    DoubleMap m_mapCrack[3];  // crack width of the start, middle and end section by load key, m

    // The section record of a load key: that key's entry; key 0 value by value the largest over
    // the map's entries. FALSE (out all zero) when the map has none for the key.
    static BOOL FindData(UINT key, const BeamRebarMap& map, S_BEAMREBARAS& out);
};

namespace DesignRows {
// FALSE when the areas do not fill the combinations or a BLOB does not read as its map.
BOOL Decode(const T_PDDBEAM_ROW& row, T_PDDBEAM_D& rec);
T_PDDBEAM_ROW Encode(const T_PDDBEAM_D& rec);
}  // namespace DesignRows

// Non-zero with the record of a member; 0 when the row is missing or does not decode.
class CClassPDDBeam : public DB_CTable<DBT_PDDBEAM> {
public:
    using DB_CTable<DBT_PDDBEAM>::Get;
    int Get(UINT key, T_PDDBEAM_D& rec) const;
};
