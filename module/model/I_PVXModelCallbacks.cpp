#include "module/model/I_PVXModel.h"

// The graphics control's callbacks that the result model answers without doing anything, and
// the host's load selection. The other view events are in I_PVXModelEvents.cpp, the
// render-engine queries in I_PVXModelQueries.cpp and the export callbacks in
// I_PVXModelExport.cpp.

void I_PVXModel::PV_OnPickingObject(int, int) {}
void I_PVXModel::PV_OnObjectSelectStart() {}
void I_PVXModel::PV_OnObjectSelectEnd() {}
void I_PVXModel::PV_OnObjectUnselectStart() {}
void I_PVXModel::PV_OnObjectUnselectEnd() {}
void I_PVXModel::PV_OnSetCursor(CWnd*, UINT, UINT) {}
void I_PVXModel::PV_OnNormalforcsum() {}
BOOL I_PVXModel::PV_OnDynViewPreDraw(CDC*) { return TRUE; }
int I_PVXModel::UpdateBuffer(CObject*) { return 0; }

void I_PVXModel::SetLoadCaseInfoToPostDisplay(UINT nType, UINT nKey) {
    m_nLoadType = nType;
    m_nLoadKey = nKey;
}
