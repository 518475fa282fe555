// The pile check manager: per-pile results and per-section envelopes of the bearing checks,
// read from the pile check table (PCDPILE) of a model database.
//
// Type 1 checks compression: the pile value is the pile top force N (result 0 of the bearing
// entry) against the bearing capacity ra. Type 2 checks uplift: the value is the tension -N
// (result 2) against the uplift capacity tu. Any other type is refused by SetType.
#pragma once

#include <set>

#include "host/check/CheckData.h"
#include "host/check/CheckTables.h"

class CDataBase;

class IPiltCheckManage {
public:
    explicit IPiltCheckManage(CDataBase* pDB) : m_pDB(pDB) {}
    // Nonzero for type 1 or 2 on a database; 0 otherwise (the type is left unset).
    int SetType(int type);
    int GetType() const { return m_nType; }
    // The groups a governing group is chosen from (key 0, load case 0): those of groups only, or
    // every group (null, the default). The set must outlive the calls.
    void SetLoadGroups(const std::set<UINT>* groups) { m_pGroups = groups; }
    // The pile's result of the type (result 0 or 2 of the bearing entry). key 0 in: the governing
    // group of that result comes back in key. 0 when no type is set or the entry is missing or
    // has no resistance (a pile the type does not check).
    int GetCheckData(UINT& key, const T_PCDPILE_D& record, CheckData_P& result) const;
    // results = pile-section key -> envelope of the piles of that section, sections in order of
    // first appearance among piles. loadCase 0: the governing group of the average and of the
    // maximum chosen separately (the smallest ratio; ties: the smallest key). Piles without a
    // record or member are left out; 0 when no pile gives a value.
    int GetBaoLuoData(const CArray<UINT, UINT>& piles, UINT loadCase,
                      CMapEx<UINT, UINT, _PileResultInfo, _PileResultInfo&>& results) const;
    // The load groups any pile's bearing entry holds, ascending.
    void GetLoadGroups(CArray<UINT, UINT>& keys) const;

private:
    int ResultIndex() const { return m_nType == 2 ? 2 : 0; }
    CDataBase* m_pDB;
    int m_nType = 0;
    const std::set<UINT>* m_pGroups = nullptr;
};

using PileResultMap = CMapEx<UINT, UINT, _PileResultInfo, _PileResultInfo&>;
