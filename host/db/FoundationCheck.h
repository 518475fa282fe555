// Checks between the tables of the foundation model that no single record can make: that every
// key a record names exists, and that the load-group tables share no key.
#pragma once

#include <string>

class CDataBase;

namespace pvxdb {
// "" when the foundation model of db is sound; else the first problem found, naming the file,
// table, column and key as the loader's messages do.
std::string CheckFoundationModel(CDataBase& db, const std::string& file);
}  // namespace pvxdb
