// The table objects of unit 1 (see CDataBaseTables.h).
#include "host/db/CDataBaseTables.h"

template void pvxdb::MakeTables<1>(std::unique_ptr<pvxdb::DBTableBase>*);
