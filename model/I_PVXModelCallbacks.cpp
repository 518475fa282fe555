#include "model/I_PVXModel.h"
#include "model/PVXDataCtrls.h"
#include "host/grx/I_PVXCtrl.h"

// View events and render-engine queries. The drawing, event and query bodies are filled in by
// the render path, view-event, query and export code; until then each keeps the base answer.

void I_PVXModel::PV_OnPickingObject(int nType, int nKey) { I_PVXModelBase::PV_OnPickingObject(nType, nKey); }
void I_PVXModel::PV_OnObjectSelectStart() { I_PVXModelBase::PV_OnObjectSelectStart(); }
void I_PVXModel::PV_OnObjectSelectEnd() { I_PVXModelBase::PV_OnObjectSelectEnd(); }
void I_PVXModel::PV_OnObjectUnselectStart() { I_PVXModelBase::PV_OnObjectUnselectStart(); }
void I_PVXModel::PV_OnObjectUnselectEnd() { I_PVXModelBase::PV_OnObjectUnselectEnd(); }
void I_PVXModel::PV_OnRedraw() { I_PVXModelBase::PV_OnRedraw(); }
void I_PVXModel::PV_OnRedrawOnly() { PVXRender(); }
void I_PVXModel::PV_OnDraw(CDC* pDC) { I_PVXModelBase::PV_OnDraw(pDC); }
void I_PVXModel::PV_OnDrawForPrinting(CDC* pDC) { I_PVXModelBase::PV_OnDrawForPrinting(pDC); }
void I_PVXModel::PV_DrawAllToMemDC() { I_PVXModelBase::PV_DrawAllToMemDC(); }
void I_PVXModel::PV_OnUnitChange() { I_PVXModelBase::PV_OnUnitChange(); }
void I_PVXModel::PV_OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) {
    I_PVXModelBase::PV_OnSetCursor(pWnd, nHitTest, message);
}
void I_PVXModel::PV_OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) {
    I_PVXModelBase::PV_OnUpdate(pSender, lHint, pHint);
}
// Entering the result view mode: reconnect the tables, reset the model, take the control's id
// ranges and show every node and member.
void I_PVXModel::PV_OnModeChange() {
    if (m_pAttrCtrl) m_pAttrCtrl->ConnectToPostDB();
    if (m_pGeomCtrl) m_pGeomCtrl->ConnectToPostDB();
    if (m_pAttrCtrl && m_pAttrCtrl->GetMembCount() > 0) {
        InitPVXModel();
        if (m_pPVXCtrl) {
            m_pPVXCtrl->ResetClientWindowMargin();
            m_pPVXCtrl->GetObjectIDRange(m_nObjectIDFirst, m_nObjectIDLast);
            m_pPVXCtrl->GetNodeIDRange(m_nNodeIDFirst, m_nNodeIDLast);
        }
        ResetAllNodeElemK();
        CArray<UINT, UINT> nodes, membs;
        m_pAttrCtrl->GetNodeKeyList(nodes);
        m_pAttrCtrl->GetMembKeyList(membs);
        // Entering the result view shows everything: every key active with flag 1.
        for (INT_PTR i = 0; i < nodes.GetSize(); ++i) {
            m_arrActiveNodeKey.Add(nodes[i]);
            m_arrFlagNodeKey.Add(nodes[i]);
            m_arrAllNodeKey.Add(nodes[i]);
            m_arrNodeFlag.Add(1);
        }
        for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
            m_arrFlagMembKey.Add(membs[i]);
            m_arrActiveMembKey.Add(membs[i]);
            m_arrAllMembKey.Add(membs[i]);
            m_arrMembFlag.Add(1);
        }
    }
    InitOriginal();
    UpdateDisplayOptions();
}
void I_PVXModel::PV_OnModeReturn() { I_PVXModelBase::PV_OnModeReturn(); }
void I_PVXModel::PV_OnDisplayOptionChange() { I_PVXModelBase::PV_OnDisplayOptionChange(); }
void I_PVXModel::PV_OnDisplayOptionChangeOnly() { I_PVXModelBase::PV_OnDisplayOptionChangeOnly(); }
void I_PVXModel::PV_OnViewPointChange() { I_PVXModelBase::PV_OnViewPointChange(); }
void I_PVXModel::PV_OnActiveDeActiveChangeByFlag(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members,
                                                 CArray<UINT, UINT>& nodeFlags, CArray<UINT, UINT>& memberFlags) {
    I_PVXModelBase::PV_OnActiveDeActiveChangeByFlag(nodes, members, nodeFlags, memberFlags);
}
void I_PVXModel::PV_OnRButtonDown(UINT nFlags, CPoint point) { I_PVXModelBase::PV_OnRButtonDown(nFlags, point); }
void I_PVXModel::PV_OnExportWindowsMetaFile(CMetaFileDC* pMetaDC) {
    I_PVXModelBase::PV_OnExportWindowsMetaFile(pMetaDC);
}
void I_PVXModel::PV_OnExportWindowsMetaFileEx(CString& strFile) {
    I_PVXModelBase::PV_OnExportWindowsMetaFileEx(strFile);
}
BOOL I_PVXModel::PV_OnPreparePrinting(CPrintInfo* pInfo) { return I_PVXModelBase::PV_OnPreparePrinting(pInfo); }
void I_PVXModel::PV_OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) { I_PVXModelBase::PV_OnBeginPrinting(pDC, pInfo); }
void I_PVXModel::PV_OnPrint(CDC* pDC, CPrintInfo* pInfo) { I_PVXModelBase::PV_OnPrint(pDC, pInfo); }
void I_PVXModel::PV_OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) { I_PVXModelBase::PV_OnEndPrinting(pDC, pInfo); }
void I_PVXModel::PV_OnExportBMP(CString* pStrFile) { I_PVXModelBase::PV_OnExportBMP(pStrFile); }
void I_PVXModel::PV_OnToolTip(UINT nNodeKey, UINT nMembKey, CStringArray& lines) {
    I_PVXModelBase::PV_OnToolTip(nNodeKey, nMembKey, lines);
}
void I_PVXModel::PV_OnDisplayChanged(void* pDisplayOption) { I_PVXModelBase::PV_OnDisplayChanged(pDisplayOption); }
void I_PVXModel::PV_OnShadeOptionChanged(UINT nOption, LPARAM lLight) {
    I_PVXModelBase::PV_OnShadeOptionChanged(nOption, lLight);
}
int I_PVXModel::RE_GetSubPolyList(int nType, UINT nKey, void* pPolys) {
    return I_PVXModelBase::RE_GetSubPolyList(nType, nKey, pPolys);
}
int I_PVXModel::RE_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, void* pFlags) {
    return I_PVXModelBase::RE_GetPVXShapeElement(nType, nKey, pFaces, pFlags);
}
int I_PVXModel::RE_GetPVXShapeFrameElement(int nType, UINT nKey, void* pPoints) {
    return I_PVXModelBase::RE_GetPVXShapeFrameElement(nType, nKey, pPoints);
}
int I_PVXModel::RE_GetPVXShapeElementForSelUnsel(int nType, UINT nKey, void* pFaces, void* pFlags, int bWire,
                                                 int bShrink, int nOption, double dShrink) {
    return I_PVXModelBase::RE_GetPVXShapeElementForSelUnsel(nType, nKey, pFaces, pFlags, bWire, bShrink, nOption,
                                                            dShrink);
}
int I_PVXModel::RE_GetPVXShapeFrameElementForSelUnsel(int nType, UINT nKey, void* pPoints, int bWire, int bShrink,
                                                      int nOption, double dShrink) {
    return I_PVXModelBase::RE_GetPVXShapeFrameElementForSelUnsel(nType, nKey, pPoints, bWire, bShrink, nOption,
                                                                 dShrink);
}
int I_PVXModel::RE_GetPVXNodePos(int nNodeType, UINT nKey, void* pPoint) {
    return I_PVXModelBase::RE_GetPVXNodePos(nNodeType, nKey, pPoint);
}
int I_PVXModel::RE_GetLabelPosNode(int nNodeType, UINT nKey, void* pPoint) {
    return I_PVXModelBase::RE_GetLabelPosNode(nNodeType, nKey, pPoint);
}
int I_PVXModel::RE_GetLabelPosElem(int nType, UINT nKey, void* pPoints) {
    return I_PVXModelBase::RE_GetLabelPosElem(nType, nKey, pPoints);
}
int I_PVXModel::RE_GetLabelPosNodeByKey(UINT nKey, void* pPoint) {
    return I_PVXModelBase::RE_GetLabelPosNodeByKey(nKey, pPoint);
}
int I_PVXModel::RE_GetLabelPosElemByKey(UINT nKey, void* pPoints) {
    return I_PVXModelBase::RE_GetLabelPosElemByKey(nKey, pPoints);
}
int I_PVXModel::RE_SaveAsBmpFile(CDC* pDC, CBitmap* pBitmap, char* pszPath) {
    return I_PVXModelBase::RE_SaveAsBmpFile(pDC, pBitmap, pszPath);
}
int I_PVXModel::RE_GetElemDispData(UINT nKey, void* pDisp) { return I_PVXModelBase::RE_GetElemDispData(nKey, pDisp); }
int I_PVXModel::RE_GetNodeDispData(UINT nKey, void* pDisp) { return I_PVXModelBase::RE_GetNodeDispData(nKey, pDisp); }
int I_PVXModel::RE_GetLoadCombination(void* pLoadComb) { return I_PVXModelBase::RE_GetLoadCombination(pLoadComb); }
int I_PVXModel::RE_GetElemCenter(int nType, UINT nKey, void* pPoint) {
    return I_PVXModelBase::RE_GetElemCenter(nType, nKey, pPoint);
}
int I_PVXModel::RE_GetPlateNomalSumData(int nType, CArray<UINT, UINT>& keys, void* pSection, void* pResult) {
    return I_PVXModelBase::RE_GetPlateNomalSumData(nType, keys, pSection, pResult);
}
double I_PVXModel::RE_GetNormalSumTol() { return I_PVXModelBase::RE_GetNormalSumTol(); }
int I_PVXModel::RE_GetSuperElemInfo(UINT nKey, void* pOut, void* pContext) {
    return I_PVXModelBase::RE_GetSuperElemInfo(nKey, pOut, pContext);
}
int I_PVXModel::RE_GetSuperNodeInfo(UINT nKey, void* pOut, void* pContext) {
    return I_PVXModelBase::RE_GetSuperNodeInfo(nKey, pOut, pContext);
}
int I_PVXModel::XGL_RE_GetWcsVcsMBRL(int nType, UINT nKey, double* pWcs, double* pVcs, double* pMatrix) {
    return I_PVXModelBase::XGL_RE_GetWcsVcsMBRL(nType, nKey, pWcs, pVcs, pMatrix);
}
int I_PVXModel::RE_XGR_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, int bWire, int bShrink, int nOption,
                                          double dShrink) {
    return I_PVXModelBase::RE_XGR_GetPVXShapeElement(nType, nKey, pFaces, bWire, bShrink, nOption, dShrink);
}
int I_PVXModel::RE_GetElemNodePoses(int nType, UINT nKey, CArray<double, double>& poses) {
    return I_PVXModelBase::RE_GetElemNodePoses(nType, nKey, poses);
}
int I_PVXModel::RE_GetMembNodePosesFrame(int nType, UINT nKey, CArray<double, double>& poses) {
    return I_PVXModelBase::RE_GetMembNodePosesFrame(nType, nKey, poses);
}
int I_PVXModel::RE_GetMembNodePosesFrame_Deform(UINT nKey, CArray<double, double>& poses) {
    return I_PVXModelBase::RE_GetMembNodePosesFrame_Deform(nKey, poses);
}

BOOL I_PVXModel::PV_OnDynViewPreDraw(CDC*) { return TRUE; }

void I_PVXModel::PV_OnRebuildQTree() { RebuildQTree(); }

void I_PVXModel::SetLoadCaseInfoToPostDisplay(UINT nType, UINT nKey) {
    m_nLoadType = nType;
    m_nLoadKey = nKey;
}

void I_PVXModel::PV_OnNormalforcsum() {}
