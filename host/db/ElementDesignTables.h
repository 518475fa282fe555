// Table classes of the raft element design (PDDELEM) and the raft report regions (ELERP).
#pragma once

#include "host/db/DB_CDataClass.h"

#include <cstdint>
#include <vector>

// The element design rows of the post database. Get reads one element's row of one design
// combination; GetData (T_PDDELEM_D) gathers them for a load key.
class CClassPDDElem : public DB_CDataClass {
public:
    // The row of an element for a combination; 0 (rec unchanged) when there is none.
    int Get(UINT comb, UINT elem, T_PDDELEM_D& rec) const;
    // Non-zero when the table holds any row.
    int HasRows() const;
};

// T_PDDELEM_D::GetData of many elements at once, for a sheet of them: the rows are read one
// combination at a time and only the gathered values kept, so a table still in its file holds
// no combination's rows afterwards (they are read again when next looked up).
class CPDDElemValues {
public:
    // Gathers the values of kind for elems under loadKey (as GetData); FALSE without a database.
    BOOL Read(CDataBase* pDB, const CArray<UINT, UINT>& elems, UINT loadKey, int kind);
    // What GetData gives for the i-th element of Read's list; FALSE, both emptied, when it
    // has no row (or i is beyond the list).
    BOOL Get(size_t i, CArray<double, double>& values, CArray<double, double>& combs) const;

private:
    void Widen(size_t width);
    size_t m_width = 0;             // values kept per element
    std::vector<double> m_values;   // element i's at [i * m_width, i * m_width + m_count[i])
    std::vector<UINT> m_combs;      // parallel to m_values
    std::vector<uint32_t> m_count;  // values of element i; kNoRow when it has no row
};

// The report regions of the raft, in table order.
class CClassEleRp : public DB_CTable<DBT_ELERP> {};

// The slab panel designs, in table order.
class CClassPDDSlab : public DB_CTable<DBT_PDDSLAB> {};
