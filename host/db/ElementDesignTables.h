// Table classes of the raft element design (PDDELEM) and the raft report regions (ELERP).
#pragma once

#include "host/db/DB_CDataClass.h"

// The element design rows of the post database. Get reads one element's row of one design
// combination; GetData (T_PDDELEM_D) gathers them for a load key.
class CClassPDDElem : public DB_CDataClass {
public:
    // The row of an element for a combination; 0 (rec unchanged) when there is none.
    int Get(UINT comb, UINT elem, T_PDDELEM_D& rec) const;
    // Non-zero when the table holds any row.
    int HasRows() const;
};

// The report regions of the raft, in table order.
class CClassEleRp : public DB_CTable<DBT_ELERP> {};

// The slab panel designs, in table order.
class CClassPDDSlab : public DB_CTable<DBT_PDDSLAB> {};
