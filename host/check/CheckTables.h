// The foundation check tables as the check figures read them: a stored row (CheckTableRecords.h)
// with its BLOBs decoded into keyed maps of check results.
#pragma once

#include <set>

#include "host/check/CheckData.h"
#include "host/db/DB_CDataClass.h"

// Checks of one column footing: bearing capacity (average, maximum), weak layer, punching and
// shear of its parts, and the net base pressure, each by load group.
struct T_PCDCOLF_D {
    double depth = 0.0, fa = 0.0, faz = 0.0, ft = 0.0;
    CZLCheckMap m_mapCZL;
    CheckDataMap m_mapWeak;
    CJCheckMap m_mapCQ;
    CJCheckMap m_mapJQ;
    DoubleMap m_mapDouble;
};

// Local compression under one column, by load group.
struct T_PCDCJY_D {
    double fc = 0.0;
    CheckDataMap m_mapCheck;
};

// Soil bearing under one foundation beam, by load group.
struct T_PCDBEAM_D {
    double width = 0.0, depth = 0.0, fa = 0.0;
    CZLCheckMap m_mapCZL;
};

// Checks of one pile: the bearing entries (results 0 to 4 of PileCZLCheckData_P), punching of
// the cap over it and local compression of its top, by load group.
struct T_PCDPILE_D {
    double ra = 0.0, tu = 0.0;
    PileCZLCheckMap m_mapCZL;
    CheckDataMap m_mapCQ;
    CheckDataMap m_mapJY;
    // The governing load group of result index of the bearing map: the smallest ratio among the
    // entries whose result has a resistance (ties: the smallest key), only the groups of among
    // when given; 0 when none has.
    UINT GetCZLMinRatioLdgpKey(int index, int, const std::set<UINT>* among = nullptr) const;
};

// Row <-> record. Decode fails (FALSE) on a BLOB that does not read as its map, naming its
// column in *pszColumn when given.
namespace CheckRows {
BOOL Decode(const T_PCDCOLF_ROW& row, T_PCDCOLF_D& rec, const char** pszColumn = nullptr);
BOOL Decode(const T_PCDCJY_ROW& row, T_PCDCJY_D& rec, const char** pszColumn = nullptr);
BOOL Decode(const T_PCDBEAM_ROW& row, T_PCDBEAM_D& rec, const char** pszColumn = nullptr);
BOOL Decode(const T_PCDPILE_ROW& row, T_PCDPILE_D& rec, const char** pszColumn = nullptr);
T_PCDCOLF_ROW Encode(const T_PCDCOLF_D& rec);
T_PCDCJY_ROW Encode(const T_PCDCJY_D& rec);
T_PCDBEAM_ROW Encode(const T_PCDBEAM_D& rec);
T_PCDPILE_ROW Encode(const T_PCDPILE_D& rec);
}  // namespace CheckRows

// The column of a check table row whose map is keyed by something other than a check load group
// (known(key) false), with that key in *pKey; null when every key is one (or a BLOB does not
// decode, which is a question of its own).
namespace CheckRows {
using KnownGroup = bool (*)(const void* context, UINT key);
const char* StrangeGroup(const T_PCDCOLF_ROW& row, KnownGroup known, const void* context, UINT* pKey);
const char* StrangeGroup(const T_PCDCJY_ROW& row, KnownGroup known, const void* context, UINT* pKey);
const char* StrangeGroup(const T_PCDBEAM_ROW& row, KnownGroup known, const void* context, UINT* pKey);
const char* StrangeGroup(const T_PCDPILE_ROW& row, KnownGroup known, const void* context, UINT* pKey);
const char* StrangeGroup(const T_PCDMTSB_ROW& row, KnownGroup known, const void* context, UINT* pKey);
}  // namespace CheckRows

// Non-zero with the record of key; 0 when the row is missing or does not decode.
class CClassPCDColf : public DB_CTable<DBT_PCDCOLF> {
public:
    using DB_CTable<DBT_PCDCOLF>::Get;
    int Get(UINT key, T_PCDCOLF_D& rec) const;
};
class CClassPCDCJY : public DB_CTable<DBT_PCDCJY> {
public:
    using DB_CTable<DBT_PCDCJY>::Get;
    int Get(UINT key, T_PCDCJY_D& rec) const;
};
class CClassPCDBeam : public DB_CTable<DBT_PCDBEAM> {
public:
    using DB_CTable<DBT_PCDBEAM>::Get;
    int Get(UINT key, T_PCDBEAM_D& rec) const;
};
class CClassPCDPile : public DB_CTable<DBT_PCDPILE> {
public:
    using DB_CTable<DBT_PCDPILE>::Get;
    int Get(UINT key, T_PCDPILE_D& rec) const;
    // The capacities and the bearing map only (the punching and local-compression maps left
    // empty): what the bearing figures and their load-group list read of every pile.
    int GetBearing(UINT key, T_PCDPILE_D& rec) const;
};
