// The table objects of a database. Making one instantiates every reader and writer of its record
// type; the tables are made in several units (CDataBaseTables0.cpp ...), each for its share of the
// ids, so that they compile side by side: in one unit they took minutes and gigabytes.
#pragma once

#include <memory>

#include "host/db/CDataBase.h"

namespace pvxdb {

constexpr int kTableUnits = 3;

// Makes table Id when it belongs to unit Unit. Record is a template parameter, so the other
// units' tables are not instantiated here.
template <int Unit, int Id, template <class> class Table, class Record>
void MakeTableOfUnit(std::unique_ptr<DBTableBase>* tables, const char* name) {
    if constexpr (Id % kTableUnits == Unit) tables[Id] = std::make_unique<Table<Record>>(name);
}

// Fills tables[id] for every id with id % kTableUnits == Unit.
template <int Unit> void MakeTables(std::unique_ptr<DBTableBase>* tables) {
#define PVXDB_MAKE_MODEL(id, type, name) MakeTableOfUnit<Unit, DBT_##id, DBTable, type>(tables, name);
#define PVXDB_MAKE_RESULT(id, type, name) MakeTableOfUnit<Unit, DBT_##id, DBResultTable, type>(tables, name);
    PVXDB_MODEL_TABLES(PVXDB_MAKE_MODEL)
    PVXDB_RESULT_TABLES(PVXDB_MAKE_RESULT)
#undef PVXDB_MAKE_MODEL
#undef PVXDB_MAKE_RESULT
}

extern template void MakeTables<0>(std::unique_ptr<DBTableBase>*);
extern template void MakeTables<1>(std::unique_ptr<DBTableBase>*);
extern template void MakeTables<2>(std::unique_ptr<DBTableBase>*);
static_assert(kTableUnits == 3, "one CDataBaseTablesN.cpp and one declaration above per unit");

}  // namespace pvxdb
