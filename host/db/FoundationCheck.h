// Checks between the tables of the foundation model that no single record can make: that every
// key a record names exists, that the load-group tables share no key, and that the moved texts
// stay within reach of the plan.
#pragma once

#include <string>

class CDataBase;

namespace pvxdb {
// "" when the foundation model of db is sound; else the first problem found, naming the file,
// table, column and key as the loader's messages do.
std::string CheckFoundationModel(CDataBase& db, const std::string& file);
// The largest magnitude of a moved text's offset (MEMB, GBPA, FVDTEXT) in db, m: 8 times the
// larger side of the plan's box (its points, PONT; at least 10 m), at most kMaxTextOffset. That
// is room for what `figure --move` allows (a text within the sheet's extent again on each side,
// the sheet's titles and details beside the plan), and the plan never shrinks to a speck beside
// a far text.
double TextOffsetLimit(CDataBase& db);
// "" when the analysed model's rows agree with each other: every node an element names (PELEM)
// is in PNODE, and no two load cases (PSTLD) share a name, since a load is chosen by its name;
// else the first problem found, as CheckFoundationModel.
std::string CheckAnalysedModel(CDataBase& db, const std::string& file);
}  // namespace pvxdb
