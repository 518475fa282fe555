#include "host/base/I_PVXModelBase.h"

I_PVXModelBase::I_PVXModelBase() = default;
I_PVXModelBase::~I_PVXModelBase() = default;

void I_PVXModelBase::PV_OnPickingObject(int, int) {}
void I_PVXModelBase::PV_OnObjectSelectStart() {}
void I_PVXModelBase::PV_OnObjectSelectEnd() {}
void I_PVXModelBase::PV_OnObjectUnselectStart() {}
void I_PVXModelBase::PV_OnObjectUnselectEnd() {}
void I_PVXModelBase::PV_OnRedraw() {}
void I_PVXModelBase::PV_OnRedrawOnly() {}
void I_PVXModelBase::PV_OnDraw(CDC*) {}
void I_PVXModelBase::PV_OnDrawAfter(CDC*) {}
void I_PVXModelBase::PV_OnDrawForPrinting(CDC*) {}
void I_PVXModelBase::PV_DrawAllToMemDC() {}
void I_PVXModelBase::PV_OnUnitChange() {}
void I_PVXModelBase::PV_OnSetCursor(CWnd*, UINT, UINT) {}
void I_PVXModelBase::PV_OnUpdate(CView*, LPARAM, CObject*) {}
void I_PVXModelBase::PV_OnModeChange() {}
void I_PVXModelBase::PV_OnModeReturn() {}
void I_PVXModelBase::PV_OnDisplayOptionChange() {}
void I_PVXModelBase::PV_OnDisplayOptionChangeOnly() {}
void I_PVXModelBase::PV_OnViewPointChange() {}

void I_PVXModelBase::PV_OnActiveDeActiveChange(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members) {
    CArray<UINT, UINT> nodeFlags, memberFlags;
    nodeFlags.SetSize(nodes.GetSize());
    for (INT_PTR i = 0; i < nodeFlags.GetSize(); ++i) nodeFlags[i] = 1;
    memberFlags.SetSize(members.GetSize());
    for (INT_PTR i = 0; i < memberFlags.GetSize(); ++i) memberFlags[i] = 1;
    PV_OnActiveDeActiveChangeByFlag(nodes, members, nodeFlags, memberFlags);
}

void I_PVXModelBase::PV_OnActiveDeActiveChangeByFlag(CArray<UINT, UINT>&, CArray<UINT, UINT>&, CArray<UINT, UINT>&,
                                                     CArray<UINT, UINT>&) {}
void I_PVXModelBase::PV_OnRButtonDown(UINT, CPoint) {}
void I_PVXModelBase::PV_OnExportWindowsMetaFile(CMetaFileDC*) {}
void I_PVXModelBase::PV_OnExportWindowsMetaFileEx(CString&) {}
BOOL I_PVXModelBase::PV_OnPreparePrinting(CPrintInfo*) { return FALSE; }
void I_PVXModelBase::PV_OnBeginPrinting(CDC*, CPrintInfo*) {}
void I_PVXModelBase::PV_OnPrint(CDC*, CPrintInfo*) {}
void I_PVXModelBase::PV_OnEndPrinting(CDC*, CPrintInfo*) {}
void I_PVXModelBase::PV_OnRebuildQTree() {}
void I_PVXModelBase::PV_OnExportBMP(CString*) {}
void I_PVXModelBase::PV_OnToolTip(UINT, UINT, CStringArray&) {}
BOOL I_PVXModelBase::PV_OnDynViewPreDraw(CDC*) { return TRUE; }
void I_PVXModelBase::PV_OnDisplayChanged(void*) {}
void I_PVXModelBase::PV_OnShadeOptionChanged(UINT, LPARAM) {}

int I_PVXModelBase::RE_GetRangeModel(int, void*, void*, void*) { return 0; }
int I_PVXModelBase::RE_GetRangeModel(CArray<int, int>&, void*, void*) { return 0; }
int I_PVXModelBase::RE_GetRangeModel(void*, void*) { return 0; }
int I_PVXModelBase::RE_GetRangeElement(int, UINT, void*, void*) { return 0; }
int I_PVXModelBase::RE_GetSubPolyList(int, UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetPVXShapeElement(int, UINT, void*, void*) { return 0; }
int I_PVXModelBase::RE_GetPVXShapeFrameElement(int, UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetPVXShapeElementForSelUnsel(int, UINT, void*, void*, int, int, int, double) { return 0; }
int I_PVXModelBase::RE_GetPVXShapeFrameElementForSelUnsel(int, UINT, void*, int, int, int, double) { return 0; }
int I_PVXModelBase::RE_GetPVXNodePos(int, UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetLabelPosNode(int, UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetLabelPosElem(int, UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetLabelPosNodeByKey(UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetLabelPosElemByKey(UINT, void*) { return 0; }
int I_PVXModelBase::RE_SaveAsBmpFile(CDC*, CBitmap*, char*) { return 0; }
int I_PVXModelBase::RE_GetNode_ElemTypeByCDBDocSelection(int&, int&) { return 0; }
int I_PVXModelBase::RE_GetElemDispData(UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetNodeDispData(UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetLoadCombination(void*) { return 0; }
int I_PVXModelBase::RE_GetElemCenter(int, UINT, void*) { return 0; }
int I_PVXModelBase::RE_GetPlateNomalSumData(int, CArray<UINT, UINT>&, void*, void*) { return 0; }
int I_PVXModelBase::RE_GetSolidNomalSumData(int, CArray<UINT, UINT>&, void*, void*) { return 0; }
double I_PVXModelBase::RE_GetNormalSumTol() { return 0.0; }
int I_PVXModelBase::RE_GetSuperElemInfo(UINT, void*, void*) { return 0; }
int I_PVXModelBase::RE_GetSuperNodeInfo(UINT, void*, void*) { return 0; }
void I_PVXModelBase::SetLoadCaseInfoToPostDisplay(UINT, UINT) {}
int I_PVXModelBase::XGL_RE_GetWcsVcsMBRL(int, UINT, double*, double*, double*) { return 0; }
int I_PVXModelBase::RE_XGR_GetPVXShapeElement(int, UINT, void*, int, int, int, double) { return 0; }
void I_PVXModelBase::PV_OnNormalforcsum() {}
int I_PVXModelBase::RE_GetElemNodePoses(int, UINT, CArray<double, double>&) { return 0; }
int I_PVXModelBase::RE_GetMembNodePosesFrame(int, UINT, CArray<double, double>&) { return 0; }
int I_PVXModelBase::RE_GetMembNodePosesFrame_Deform(UINT, CArray<double, double>&) { return 0; }
