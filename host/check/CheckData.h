// Check records of the foundation check library and the DATA_P queries over them.
//
// A check compares an acting value (get_Force) with a resistance or limit (get_BaseR); its ratio
// is resistance / action and the check passes when the ratio is above kCheckPassRatio. A keyed
// map of check results holds one entry per check load group (key = load group key). Lookups
// through operator[] insert a default entry, as the class library's map does: a load group a
// record does not hold reads as an empty check (ratio 0).
//
// Every record here can be written to and read from one BLOB layout ("a keyed map of check
// results", docs/DATABASE.md); the check tables store their maps in it.
#pragma once

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CMap.h"
#include "platform/afx/CString.h"

#include <string>

constexpr double kCheckPassRatio = 0.999999;  // a check passes with a ratio above this
constexpr double kCheckNoAction = 1e-9;       // |action| below this: nothing acts
constexpr double kCheckFreeRatio = 99999.0;   // ratio of a check on which nothing acts

// The class library's map with the hash size and block size the check records use.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMapEx : public CMap<KEY, ARG_KEY, VALUE, ARG_VALUE> {
public:
    CMapEx() : CMapEx(17, 10) {}
    explicit CMapEx(UINT hashSize, INT_PTR blockSize = 10) : CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>(blockSize) {
        this->InitHashTable(hashSize, FALSE);
    }
    // The value of key without inserting; FALSE (value untouched) when absent.
    BOOL GetVal(ARG_KEY key, VALUE& value) const { return this->Lookup(key, value); }
};

// One check: acting value and resistance.
class CheckData_P {
public:
    // Data_Sign selectors of GetRatio.
    enum { SIGN_ABS = 0, SIGN_SIGNED = 3 };

    CheckData_P() = default;
    CheckData_P(double force, double baseR) : m_dForce(force), m_dBaseR(baseR) {}

    double get_Force() const { return m_dForce; }
    double get_BaseR() const { return m_dBaseR; }
    void put_Force(double v) { m_dForce = v; }
    void put_BaseR(double v) { m_dBaseR = v; }

    // Resistance / action. Selector 0: of the magnitudes. Selector 3: with their signs, so an
    // action of the opposite sense to the resistance gives a negative ratio and fails. Nothing
    // acting (|action| < kCheckNoAction): kCheckFreeRatio when there is a resistance, else 0
    // (an empty record). Any other selector reads as 0.
    double GetRatio(int dataSign) const;
    BOOL IsPassed(int dataSign = SIGN_ABS) const { return GetRatio(dataSign) > kCheckPassRatio; }

private:
    double m_dForce = 0.0;
    double m_dBaseR = 0.0;
};

using CheckDataMap = CMapEx<UINT, UINT, CheckData_P, CheckData_P&>;
using DoubleMap = CMapEx<UINT, UINT, double, double>;

// Base-pressure check of a footing, raft or beam: average pressure first, maximum second.
class CZLCheckData_P {
public:
    CheckData_P m_Ave;
    CheckData_P m_Max;
    // 0 the average check, 1 the maximum check; any other index an empty check.
    CheckData_P GetValue(int index) const;
};

// Punching or shear checks of the parts of a footing: part 0 under key 0 of the sub-map,
// parts 1, 2, ... in the list (part k is m_aPart[k - 1]).
class CJCheckData_P {
public:
    CheckDataMap m_mapPart0;
    CArray<CheckData_P, const CheckData_P&> m_aPart;

    int GetPartCount() const;  // 1 + list size when the sub-map holds key 0, else the list size
    // The check of part; FALSE for part 0 without key 0 and for a part beyond the list.
    BOOL GetPart(int part, CheckData_P& check) const;
};

// Bearing checks of one pile: 0 compression average, 1 compression maximum, 2 tension (uplift),
// 3 horizontal x, 4 horizontal y.
class PileCZLCheckData_P {
public:
    static constexpr int kCount = 5;
    CheckData_P m_a[kCount];
    CheckData_P GetValue(int index) const;
};

// Load-centre check of a raft: centre (x, y), total vertical load with the foundation's own
// weight, and the eccentricity checks in x and y (action = eccentricity, resistance = limit).
class LCCheckData_P {
public:
    double m_dX = 0.0, m_dY = 0.0;
    double m_dV = 0.0;
    CheckData_P m_CheckX, m_CheckY;
    CheckData_P GetValue(int index) const { return index == 0 ? m_CheckX : index == 1 ? m_CheckY : CheckData_P(); }
};

// Punching or shear results of one object on a raft (column, wall group or region).
class SlabCJResult {
public:
    CArray<UINT, UINT> m_aMemb;                    // members of a wall group
    CArray<T_POINT2D, const T_POINT2D&> m_aPoly;   // region outline, m
    CheckDataMap m_mapCheck;                       // by load group key

    // key 0 in: the governing load group (DATA_P rules) comes back in key. FALSE when the map
    // holds no entry for the key (nothing is inserted). flag is kept for callers.
    BOOL GetVal(UINT& key, CheckData_P& check, int flag = 1) const;
    BOOL GetMembList(CArray<UINT, UINT>& list) const;  // FALSE for an empty list
    BOOL GetPolyGon(CArray<T_POINT2D, const T_POINT2D&>& pts) const;  // FALSE for fewer than 3 points
};

// A SlabCJResult with the kind of object: 0 column, 1 wall group, 2 to 4 raft regions (bottom
// slab 2, core tube 3, a place where the raft changes thickness 4).
class SlabCJCheckData_P : public SlabCJResult {
public:
    int m_nType = 0;
};

// Envelope of the piles of one section within a foundation.
class _PileResultInfo {
public:
    double m_dMaxValue = 0.0;  // largest pile value
    double m_dAveValue = 0.0;  // average pile value
    double m_dLimit = 0.0;     // limit of the average check
    UINT m_nAveKey = 0;        // governing load group of the average check
    UINT m_nMaxKey = 0;        // governing load group of the maximum check
    double GetAveValue() const { return m_dAveValue; }
    // Limit over value; the maximum is checked against 1.2 x the limit.
    double GetAveRatio() const { return CheckData_P(m_dAveValue, m_dLimit).GetRatio(0); }
    double GetMaxRatio() const { return CheckData_P(m_dMaxValue, 1.2 * m_dLimit).GetRatio(0); }
};

// One station of a design force diagram. Components: 0 axial force N, 1 shear V (across the
// member in its bending plane), 2 torsion T, 3 bending moment M, 4 the other shear, 5 the other
// moment. Units kN and kN.m.
struct LOAD_DATA {
    double d[6] = {0, 0, 0, 0, 0, 0};
};
// The stations of one member or rib, first end first.
class CHECK_LOAD_ARRAY : public CArray<LOAD_DATA, const LOAD_DATA&> {};

using CZLCheckMap = CMapEx<UINT, UINT, CZLCheckData_P, CZLCheckData_P&>;
using CJCheckMap = CMapEx<UINT, UINT, CJCheckData_P, CJCheckData_P&>;
using PileCZLCheckMap = CMapEx<UINT, UINT, PileCZLCheckData_P, PileCZLCheckData_P&>;
using LCCheckMap = CMapEx<UINT, UINT, LCCheckData_P, LCCheckData_P&>;
using SlabCJCheckMap = CMapEx<UINT, UINT, SlabCJCheckData_P, SlabCJCheckData_P&>;
using SlabCJResultMap = CMapEx<UINT, UINT, SlabCJResult, SlabCJResult&>;

// Governing load groups. The governing group is the one with the smallest ratio; ties go to
// the smallest key. An empty map gives key 0 and FALSE.
class DATA_P {
public:
    static BOOL GetMinCheckDataLdgpKey(const CheckDataMap& map, UINT& key, int dataSign = CheckData_P::SIGN_ABS);
    // Governing groups of the average and of the maximum base-pressure check (selector 3).
    static BOOL GetCZLMinRatioLdgpKey(const CZLCheckMap& map, UINT& aveKey, UINT& maxKey);
    // Governing group of every part (count parts): keys[k] for part k, 0 for a part no group has.
    static BOOL GetCJMinRatioLdgpKey(const CJCheckMap& map, CArray<UINT, UINT>& keys, int count);
    // Governing groups of the x and of the y eccentricity check, chosen separately.
    static BOOL GetXYLoadCentMinkey(const LCCheckMap& map, UINT& keyX, UINT& keyY);
    // The key of the largest value (ties: smallest key).
    static BOOL GetMaxDoubleMapKey(const DoubleMap& map, UINT& key);
    // The value of load key k (key = k); k 0: the value of largest magnitude and its key (ties:
    // smallest key). FALSE (value and key untouched) when the map has none.
    static BOOL GetDoubleArrData(UINT k, double& value, UINT& key, const DoubleMap& map);
    // The check of key, inserting an empty one when absent (TRUE only when it was there).
    static BOOL GetCheckDataMapResult(CheckDataMap& map, UINT key, CheckData_P& check);
    // Copies the entries of one kind into results; FALSE when none is of that kind.
    static BOOL GetSlabCJResult(const SlabCJCheckMap& checks, SlabCJResultMap& results, int type);
};

// The BLOB layout of a keyed map of check results (docs/DATABASE.md): little-endian, a u32
// entry count, then per entry a u32 key and the value's bytes. Read fails (map emptied) on a
// BLOB that is short, too long, or holds a count beyond its size.
namespace CheckBlob {
std::string Write(const CheckDataMap& m);
std::string Write(const CZLCheckMap& m);
std::string Write(const CJCheckMap& m);
std::string Write(const PileCZLCheckMap& m);
std::string Write(const LCCheckMap& m);
std::string Write(const SlabCJCheckMap& m);
std::string Write(const DoubleMap& m);
BOOL Read(const std::string& blob, CheckDataMap& m);
BOOL Read(const std::string& blob, CZLCheckMap& m);
BOOL Read(const std::string& blob, CJCheckMap& m);
BOOL Read(const std::string& blob, PileCZLCheckMap& m);
BOOL Read(const std::string& blob, LCCheckMap& m);
BOOL Read(const std::string& blob, SlabCJCheckMap& m);
BOOL Read(const std::string& blob, DoubleMap& m);

// Reads the maps of a row one column after another, remembering the first that does not read:
//     Maps r; r("czl", row.czl, rec.m_mapCZL)("weak", row.weak, rec.m_mapWeak); ... r.Ok(pszColumn)
struct Maps {
    const char* failed = nullptr;
    template <class M> Maps& operator()(const char* column, const std::string& blob, M& m) {
        if (!failed && !Read(blob, m)) failed = column;
        return *this;
    }
    // TRUE when every map read; else FALSE with the column in *pszColumn (when given).
    BOOL Ok(const char** pszColumn) const {
        if (failed && pszColumn) *pszColumn = failed;
        return !failed;
    }
};
}  // namespace CheckBlob
