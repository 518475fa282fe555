// Table classes of the slab bands (PSBBD) and their design (PDDSBBD).
#pragma once

#include "host/db/DB_CDataClass.h"

// The slab bands, in table order.
class CClassPSbbd : public DB_CTable<DBT_PSBBD> {};

// The band designs, by band key.
class CClassPDDSbbd : public DB_CTable<DBT_PDDSBBD> {};
