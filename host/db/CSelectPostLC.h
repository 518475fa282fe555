// The load selector of the result bars: the list of loads of the wanted types and the one
// chosen (load type code, key and load step 0 value, 1 maximum, 2 minimum, 3 all).
//
// `SetLoadType(mask, ...)` lists the loads of the post database whose type bit is in the mask
// (bits: 1 0x1 static case, 2 0x2 dynamic case, 4 0x8 settlement, 5 0x10 time history,
// 9 0x100 / 10 0x10000 / 11 0x20000 combination, 12 0x40000 envelope combination); static
// cases first in table order, then combinations. The module and the host program set and
// read the choice; the selector has no window of its own here.
#pragma once

#include "host/db/CDataBase.h"

#include <vector>

class CSelectLCBase {
public:
    virtual ~CSelectLCBase() = default;

    // The database listed; the document's post database when none was given.
    void SetPostDB(CDataBase* pDB) { m_pDB = pDB; }
    // Lists the loads of the types in the mask; returns their number. The choice is kept when
    // it is still listed, else the first load is chosen (none when the list is empty).
    int SetLoadType(DWORD mask, int, int, int);
    // The load type code a combination of this PLCOM type is listed under with the mask; 0 when
    // the mask lists no combination of its kind. A linear combination takes the first of 9, 10
    // and 11 the mask holds, and the engines read them differently (9 as a load, 10 and 11 as a
    // design combination), so whoever selects one for a page types it by the page's mask.
    static UINT CombinationLoadType(int plcomType, DWORD mask);
    void SetSubStaticLoadType(int type) { m_nSubStaticType = type; }
    int GetSubStaticLoadType() const { return m_nSubStaticType; }
    int GetLoadCount() const { return static_cast<int>(m_items.size()); }

    // Chooses a listed load; non-zero when found (otherwise the choice is unchanged).
    int ChangeSelect(UINT type, UINT key, int step);
    // The choice; non-zero when a load is chosen.
    int GetSelectedLoad(UINT& type, UINT& key, int* step) const;
    // Listed load i; non-zero when i is in the list.
    int GetSelectedLoadByIndex(int i, UINT& type, UINT& key, CString* name) const;
    // The text shown for the choice: the load name, with ",Max", ",Min" or ",All" by step.
    CString GetSelectedText() const;

private:
    struct Item {
        UINT type;
        UINT key;
        CString name;
    };
    CDataBase* Db() const;
    CDataBase* m_pDB = nullptr;
    std::vector<Item> m_items;
    int m_nSel = -1;  // index into m_items
    int m_nStep = 0;
    int m_nSubStaticType = 0;
};

class CSelectPostLC : public CSelectLCBase {};
