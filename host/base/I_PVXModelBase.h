// The callback interface between the host's graphics control and a module's result model.
//
// The graphics control (I_PVXCtrl) keeps no geometry or results of its own for a module's model:
// it tells the model about view events through the PV_ operations (paint, update, mode change,
// printing, export, tool tips) and asks it for geometry and results through the RE_ queries
// (ranges, shapes, node and label positions, displacements, load combination). A module derives
// its model from this class and overrides what it handles; every body here does nothing and
// answers "not handled" (0, FALSE, an empty result) unless its comment says otherwise, so the
// control can call any operation on any model. The order of the virtual operations is fixed:
// modules built against this header override them in this order.
//
// The void* arguments carry host geometry: C3DPoint (points, range corners), CArray<CList<
// C3DPoint>*> face lists with CArray<int*> edge flags, CArray<C3DPoint> label points, T_DISP_D
// displacement records and arrays of them, T_PLCOM_D load combinations.
#pragma once

#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class CDC;
class CView;
class CWnd;
class CObject;
class CMetaFileDC;
class CPrintInfo;
class CBitmap;

class I_PVXModelBase {
public:
    I_PVXModelBase();

    // View events: selection and picking.
    virtual void PV_OnPickingObject(int nType, int nKey);
    virtual void PV_OnObjectSelectStart();
    virtual void PV_OnObjectSelectEnd();
    virtual void PV_OnObjectUnselectStart();
    virtual void PV_OnObjectUnselectEnd();

    // Redraw requests and painting. PV_OnDraw comes after the memory image reached the window;
    // PV_OnDrawAfter after PV_OnDraw.
    virtual void PV_OnRedraw();
    virtual void PV_OnRedrawOnly();
    virtual void PV_OnDraw(CDC* pDC);
    virtual void PV_OnDrawAfter(CDC* pDC);
    virtual void PV_OnDrawForPrinting(CDC* pDC);
    virtual void PV_DrawAllToMemDC();

    virtual void PV_OnUnitChange();
    virtual void PV_OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);

    // Document update (hint codes of the host) and the result view mode entered and left.
    virtual void PV_OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void PV_OnModeChange();
    virtual void PV_OnModeReturn();

    virtual void PV_OnDisplayOptionChange();
    virtual void PV_OnDisplayOptionChangeOnly();
    virtual void PV_OnViewPointChange();

    // The host changed the active nodes and members. This base's own version passes every key
    // on with flag 1 to PV_OnActiveDeActiveChangeByFlag.
    virtual void PV_OnActiveDeActiveChange(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members);
    // Flags run in step with the keys; 1 marks a key active.
    virtual void PV_OnActiveDeActiveChangeByFlag(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members,
                                                 CArray<UINT, UINT>& nodeFlags, CArray<UINT, UINT>& memberFlags);

    virtual void PV_OnRButtonDown(UINT nFlags, CPoint point);

    // Export requests: a metafile into the given device context or a named file.
    virtual void PV_OnExportWindowsMetaFile(CMetaFileDC* pMetaDC);
    virtual void PV_OnExportWindowsMetaFileEx(CString& strFile);

    // Printing.
    virtual BOOL PV_OnPreparePrinting(CPrintInfo* pInfo);
    virtual void PV_OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void PV_OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void PV_OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);

    virtual void PV_OnRebuildQTree();
    virtual void PV_OnExportBMP(CString* pStrFile);

    // Tool tip lines for the node and member under the cursor (empty: no tip).
    virtual void PV_OnToolTip(UINT nNodeKey, UINT nMembKey, CStringArray& lines);
    // Before a dynamic-view frame; FALSE cancels the frame. This base answers TRUE.
    virtual BOOL PV_OnDynViewPreDraw(CDC* pDC);
    virtual void PV_OnDisplayChanged(void* pDisplayOption);
    virtual void PV_OnShadeOptionChanged(UINT nOption, LPARAM lLight);

    // Model extents: of one object type (keys: CArray<UINT,UINT>* of the keys to include, or
    // null for all), of several types, of the current view. Corners are C3DPoint*.
    virtual int RE_GetRangeModel(int nType, void* pMin, void* pMax, void* pKeys);
    virtual int RE_GetRangeModel(CArray<int, int>& types, void* pMin, void* pMax);
    virtual int RE_GetRangeModel(void* pMin, void* pMax);

    // Element geometry.
    virtual int RE_GetRangeElement(int nType, UINT nKey, void* pMin, void* pMax);
    virtual int RE_GetSubPolyList(int nType, UINT nKey, void* pPolys);
    virtual int RE_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, void* pFlags);
    virtual int RE_GetPVXShapeFrameElement(int nType, UINT nKey, void* pPoints);
    virtual int RE_GetPVXShapeElementForSelUnsel(int nType, UINT nKey, void* pFaces, void* pFlags, int bWire,
                                                 int bShrink, int nOption, double dShrink);
    virtual int RE_GetPVXShapeFrameElementForSelUnsel(int nType, UINT nKey, void* pPoints, int bWire, int bShrink,
                                                      int nOption, double dShrink);

    // Node and label positions.
    virtual int RE_GetPVXNodePos(int nNodeType, UINT nKey, void* pPoint);
    virtual int RE_GetLabelPosNode(int nNodeType, UINT nKey, void* pPoint);
    virtual int RE_GetLabelPosElem(int nType, UINT nKey, void* pPoints);
    virtual int RE_GetLabelPosNodeByKey(UINT nKey, void* pPoint);
    virtual int RE_GetLabelPosElemByKey(UINT nKey, void* pPoints);

    virtual int RE_SaveAsBmpFile(CDC* pDC, CBitmap* pBitmap, char* pszPath);
    // Node and object types of the current selection; this base leaves both unchanged.
    virtual int RE_GetNode_ElemTypeByCDBDocSelection(int& nNodeType, int& nObjType);

    // Result data for the control.
    virtual int RE_GetElemDispData(UINT nKey, void* pDisp);
    virtual int RE_GetNodeDispData(UINT nKey, void* pDisp);
    virtual int RE_GetLoadCombination(void* pLoadComb);
    virtual int RE_GetElemCenter(int nType, UINT nKey, void* pPoint);

    // Normal-force sums across a section (the spelling is the host's).
    virtual int RE_GetPlateNomalSumData(int nType, CArray<UINT, UINT>& keys, void* pSection, void* pResult);
    virtual int RE_GetSolidNomalSumData(int nType, CArray<UINT, UINT>& keys, void* pSection, void* pResult);
    virtual double RE_GetNormalSumTol();

    // Super elements.
    virtual int RE_GetSuperElemInfo(UINT nKey, void* pOut, void* pContext);
    virtual int RE_GetSuperNodeInfo(UINT nKey, void* pOut, void* pContext);

    virtual void SetLoadCaseInfoToPostDisplay(UINT nType, UINT nKey);
    // World box, view box and matrix of one object for the print handler.
    virtual int XGL_RE_GetWcsVcsMBRL(int nType, UINT nKey, double* pWcs, double* pVcs, double* pMatrix);
    virtual int RE_XGR_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, int bWire, int bShrink, int nOption,
                                          double dShrink);

    virtual ~I_PVXModelBase();

    virtual void PV_OnNormalforcsum();

    // Node coordinates (x, y, z per node, appended) of an element, of a member's frame and of
    // the deformed member's label points.
    virtual int RE_GetElemNodePoses(int nType, UINT nKey, CArray<double, double>& poses);
    virtual int RE_GetMembNodePosesFrame(int nType, UINT nKey, CArray<double, double>& poses);
    virtual int RE_GetMembNodePosesFrame_Deform(UINT nKey, CArray<double, double>& poses);

    I_PVXModelBase(const I_PVXModelBase&) = delete;
    I_PVXModelBase& operator=(const I_PVXModelBase&) = delete;
};
