// The table objects of unit 0 (see CDataBaseTables.h).
#include "host/db/CDataBaseTables.h"

template void pvxdb::MakeTables<0>(std::unique_ptr<pvxdb::DBTableBase>*);
