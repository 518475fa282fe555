// CForceEngine: the builders that InitEngine calls for the families other than frames (story
// shear, walls, plates, slabs, rebar, crack, slab walls, strips, figure columns). Each fills its
// family's maps and lists, sets its data-built flag and returns 1 when it built data.
#include "module/force/CForceEngine.h"

// Design wall forces of the combination load types are not shown.
int CForceEngine::MakeDgnWForcDataList() { return 0; }

