// The table objects of unit 2 (see CDataBaseTables.h).
#include "host/db/CDataBaseTables.h"

template void pvxdb::MakeTables<2>(std::unique_ptr<pvxdb::DBTableBase>*);
