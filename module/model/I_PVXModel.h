// I_PVXModel: the result model of one result view.
//
// The result view (CPVXView) creates one model and deletes it with itself. The model is what the
// host graphics control calls back (the I_PVXModelBase operations, overridden here in the same
// order), and it owns everything a result display needs: the data-access controls, the result
// engines (made by the result bars, deleted by ResetEngines and the destructor), the embedded
// animation and legend engines, the figure controller, the overlay queues, the display options
// and the key lists. Engines of every subsystem reach the model for the database document, the
// load selection, the display mode and the drawing helpers.
//
//     I_PVXModel* m = new I_PVXModel;           // done by the view's constructor
//     m->Link_I_RDXModel(view->GetI_PVXCtrl());  // the control now calls the model back
//     m->SetView(view);
//     ... the bars make engines, set m_nDisplayMode and call PVXRender ...
//     delete m;                                  // done by the view's destructor
//
// Display modes: 0 reaction, 1 deformed shape, 2 displacement contour, 3 node displacement,
// 4 mode shape, 5 story shear ratio, 6-11 member, wall and plate results, 16-22 slab results,
// 63 displacement with time history, 69 settlement, 70 reaction contour, -1 none. The bar
// display mode holds the bars' display mode in the same codes; GetBarResultId gives the result
// id (7101 ...) of the bar page that shows it.
//
// Everything runs on the host's user-interface thread; the static members are not locked.
#pragma once

#include <algorithm>
#include <chrono>
#include <memory>
#include <typeinfo>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "module/animation/CAnimationEngine.h"
#include "module/contour/CLegendEngine.h"
#include "module/graphs/T_GRPH_D.h"
#include "host/base/I_PVXModelBase.h"
#include "host/db/DBRecords.h"
#include "host/db/DBSettingsRecords.h"
#include "host/grx/C3DPoint.h"
#include "module/model/PVXModelRecords.h"
#include "module/model/PVXModes.h"
#include "module/model/PVXFlatFaces.h"
#include "module/model/PVXShapeLists.h"
#include "module/model/ShapeTypes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

class CDBDoc;
class CMDBCtrl;
class I_PVXCtrl;
class CView;
class CPVXAttrCtrl;
class CPVXGeomCtrl;
class CPVXPostCtrl;
class CDeformEngine;
class CForceEngine;
class CReactionEngine;
class CStressEngine;
class CFigureDesignData;
class CPVXFigure;
class CPVXDrawFuncArray;
class CPVXMultiGraphView;
class CPVXCutLineDetDlg;
class CGraphWnd;
class CBeamDiagram_PVX;
class CClientDC;
class CDC;
struct T_LIGHT_D;

class I_PVXModel : public I_PVXModelBase {
public:
    typedef PVXPolyListArray PolyListArray;
    typedef PVXIndexArrayList IndexArrayList;
    typedef PVXKeyArrayList KeyArrayList;

    I_PVXModel();

    // ---- callbacks of the graphics control (I_PVXModelBase, in its order) ----------------------
    // View events and render-engine queries whose bodies belong to the render path, view events,
    // queries and export code; those not overridden here keep the base's "not handled" answer.
    void PV_OnPickingObject(int nType, int nKey) override;
    void PV_OnObjectSelectStart() override;
    void PV_OnObjectSelectEnd() override;
    void PV_OnObjectUnselectStart() override;
    void PV_OnObjectUnselectEnd() override;
    void PV_OnRedraw() override;
    void PV_OnRedrawOnly() override;
    void PV_OnDraw(CDC* pDC) override;
    void PV_OnDrawForPrinting(CDC* pDC) override;
    void PV_DrawAllToMemDC() override;
    void PV_OnUnitChange() override;
    void PV_OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message) override;
    void PV_OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void PV_OnModeChange() override;
    void PV_OnModeReturn() override;
    void PV_OnDisplayOptionChange() override;
    void PV_OnDisplayOptionChangeOnly() override;
    void PV_OnViewPointChange() override;
    void PV_OnActiveDeActiveChangeByFlag(CArray<UINT, UINT>& nodes, CArray<UINT, UINT>& members,
                                         CArray<UINT, UINT>& nodeFlags, CArray<UINT, UINT>& memberFlags) override;
    void PV_OnRButtonDown(UINT nFlags, CPoint point) override;
    // A part of the model is active: the host flagged some members only (a storey, or members).
    bool IsPartShown() const { return m_bPartShown; }
    // The node or member a result list numbers and counts in its legend: with a part shown, one
    // the host flagged (its nodes at the part's level, each plan point once); any otherwise.
    bool IsNumberedNode(UINT key) const { return !IsPartShown() || m_setFlagNode.count(key) != 0; }
    bool IsNumberedMemb(UINT key) const { return !IsPartShown() || m_setFlagMemb.count(key) != 0; }
    // A support the reaction lists number: a numbered node, or one the host flagged 2 (a support
    // below the node numbered at its plan point, a pile's tip under its head).
    bool IsNumberedSupport(UINT key) const { return IsNumberedNode(key) || m_setFlagSupport.count(key) != 0; }
    void PV_OnExportWindowsMetaFile(CMetaFileDC* pMetaDC) override;
    void PV_OnExportWindowsMetaFileEx(CString& strFile) override;
    BOOL PV_OnPreparePrinting(CPrintInfo* pInfo) override;
    void PV_OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void PV_OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void PV_OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void PV_OnRebuildQTree() override;
    void PV_OnExportBMP(CString* pStrFile) override;
    void PV_OnToolTip(UINT nNodeKey, UINT nMembKey, CStringArray& lines) override;
    BOOL PV_OnDynViewPreDraw(CDC* pDC) override;
    void PV_OnDisplayChanged(void* pDisplayOption) override;
    void PV_OnShadeOptionChanged(UINT nOption, LPARAM lLight) override;
    int RE_GetRangeModel(int nType, void* pMin, void* pMax, void* pKeys) override;
    int RE_GetRangeModel(CArray<int, int>& types, void* pMin, void* pMax) override;
    int RE_GetRangeModel(void* pMin, void* pMax) override;
    int RE_GetRangeElement(int nType, UINT nKey, void* pMin, void* pMax) override;
    int RE_GetSubPolyList(int nType, UINT nKey, void* pPolys) override;
    int RE_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, void* pFlags) override;
    int RE_GetPVXShapeFrameElement(int nType, UINT nKey, void* pPoints) override;
    int RE_GetPVXShapeElementForSelUnsel(int nType, UINT nKey, void* pFaces, void* pFlags, int bWire, int bShrink,
                                         int nOption, double dShrink) override;
    int RE_GetPVXShapeFrameElementForSelUnsel(int nType, UINT nKey, void* pPoints, int bWire, int bShrink,
                                              int nOption, double dShrink) override;
    int RE_GetPVXNodePos(int nNodeType, UINT nKey, void* pPoint) override;
    int RE_GetLabelPosNode(int nNodeType, UINT nKey, void* pPoint) override;
    int RE_GetLabelPosElem(int nType, UINT nKey, void* pPoints) override;
    int RE_GetLabelPosNodeByKey(UINT nKey, void* pPoint) override;
    int RE_GetLabelPosElemByKey(UINT nKey, void* pPoints) override;
    int RE_SaveAsBmpFile(CDC* pDC, CBitmap* pBitmap, char* pszPath) override;
    // Node and object type ids of the current display: the deformed ones (each minimum + 1)
    // when the display is drawn on the deformed shape (GetPVXType 1 or -1), else the minima.
    int RE_GetNode_ElemTypeByCDBDocSelection(int& nNodeType, int& nObjType) override;
    int RE_GetElemDispData(UINT nKey, void* pDisp) override;
    int RE_GetNodeDispData(UINT nKey, void* pDisp) override;
    int RE_GetLoadCombination(void* pLoadComb) override;
    int RE_GetElemCenter(int nType, UINT nKey, void* pPoint) override;
    int RE_GetPlateNomalSumData(int nType, CArray<UINT, UINT>& keys, void* pSection, void* pResult) override;
    double RE_GetNormalSumTol() override;
    int RE_GetSuperElemInfo(UINT nKey, void* pOut, void* pContext) override;
    int RE_GetSuperNodeInfo(UINT nKey, void* pOut, void* pContext) override;
    // Stores the load type and load key of the host's selection.
    void SetLoadCaseInfoToPostDisplay(UINT nType, UINT nKey) override;
    int XGL_RE_GetWcsVcsMBRL(int nType, UINT nKey, double* pWcs, double* pVcs, double* pMatrix) override;
    int RE_XGR_GetPVXShapeElement(int nType, UINT nKey, void* pFaces, int bWire, int bShrink, int nOption,
                                  double dShrink) override;
    ~I_PVXModel() override;
    void PV_OnNormalforcsum() override;
    int RE_GetElemNodePoses(int nType, UINT nKey, CArray<double, double>& poses) override;
    int RE_GetMembNodePosesFrame(int nType, UINT nKey, CArray<double, double>& poses) override;
    int RE_GetMembNodePosesFrame_Deform(UINT nKey, CArray<double, double>& poses) override;

    // ---- member-level workers of the render-engine queries ------------------------------------
    // Object types are the control's: object-id minimum undeformed, minimum + 1 deformed; other
    // types give no answer. Faces are PolyListArray*, edge flags IndexArrayList*, points
    // CArray<C3DPoint>*; the caller frees faces and flags with FreeMemoryPolyList.
    int RE_GetPVXShapeMember(int nType, UINT nKey, void* pFaces, void* pFlags);
    // Vertices of the member's first face, built as wire frame without culling.
    int RE_GetPVXShapeFrameMember(int nType, UINT nKey, void* pPoints);
    // Selection shapes: built with the given wire and shrink switches and scaled toward their
    // centroid by 1 - |shrink factor - dShrink|; the display options are restored afterwards.
    int RE_GetPVXShapeMemberForSelUnsel(int nType, UINT nKey, void* pFaces, void* pFlags, int bWire, int bShrink,
                                        int nOption, double dShrink);
    int RE_GetPVXShapeFrameMemberForSelUnsel(int nType, UINT nKey, void* pPoints, int bWire, int bShrink, int nOption,
                                             double dShrink);
    // Every vertex v becomes f v + (1 - f) c, c the mean of all vertices; f above 1 changes
    // nothing, f below 0.01 counts as 0.01.
    void GetPVXShapeMemberElementForSelUnsel(PolyListArray& faces, double f);
    // Label points of a member appended to a CArray<C3DPoint>; 1 when points were given.
    int RE_GetLabelPosMemb(int nType, UINT nKey, void* pPoints);
    // Shrunk end points (two nodes) or the mean (other counts) of the listed nodes of a member,
    // appended to points; 0 when the member is missing or has no nodes.
    int GetMemberPos(UINT nKey, int nType, CArray<UINT, UINT>& nodes, CArray<C3DPoint>& points);
    int GetMemberElemPos(UINT nMembKey, int nType, UINT nElemKey, T_PELEM_D& elem, CArray<C3DPoint>& points);
    // Scaled displacement records (CArray<T_DISP_D>*) of the member's distinct nodes.
    int RE_GetMembDispData(UINT nKey, void* pOut);
    // Host update hint 3 asks for this; the module keeps no buffer to update, so always 0.
    int UpdateBuffer(CObject* pObject);
    // Legend font heights (title, value) restored after printing, for a screen nScreenWidth
    // pixels wide: 20 and 14 from 1024 pixels, 10 % more from 1280, proportionally less below.
    static void GetScreenLegendFontSize(int nScreenWidth, int& nTitle, int& nValue);

    // ---- initialisation and links ------------------------------------------------------------
    // Puts the model into its "no result" state; its engines are deleted (ResetEngines).
    void InitPVXModel();
    // Keeps the control and registers the model with it.
    void Link_I_RDXModel(I_PVXCtrl* pCtrl);
    void SetView(CView* pView) { m_pView = pView; }
    CView* GetView() const { return m_pView; }
    // The document of the owning view; the document at construction when the view has none.
    CDBDoc* GetDBDoc() const;
    CPVXPostCtrl* GetPostCtrl() const { return m_pPostCtrl; }
    CPVXAttrCtrl* GetAttrCtrl() const { return m_pAttrCtrl; }
    CPVXGeomCtrl* GetGeomCtrl() const { return m_pGeomCtrl; }

    // ---- engines and the bars ------------------------------------------------------------------
    // Deletes the deformation, force, reaction and stress engines and the design-data engine, in
    // that order, and nulls them.
    void ResetEngines();
    // Re-initialises the engines that exist, the design-data engine last; mode -1 makes them take
    // the bars' current mode.
    void UpdateEngines(int nMode);
    // Shows two mode-shape graph sets (series number to points of value against story level)
    // in the multi-graph view the document opens: left UX, right UY. The caller keeps the maps.
    void Draw2DGraph(PVXGraphSeriesMap& left, PVXGraphSeriesMap& right);
    // Takes over what the bars changed; bKeepDeformed keeps the deformed shape across an update.
    void HandlePVXBar(int bKeepDeformed);
    // Applies the load selection to the host's result controller; m_bResultDataReady tells
    // whether it succeeded.
    void SelectLoad();
    // Result id (7101 ...) of the bar page that shows the bar display mode: the bars' current
    // result id when it shows that mode, else the first page of the mode, -1 when no page does.
    // The view checks its result items and reopens the bar of an activated view with it.
    int GetBarResultId() const;
    // Mode shapes are shown: the display mode being built (the bars' current mode, else the
    // model's) is the mode-shape display, or the bar display mode's page is the mode-shape page
    // (result id 7203). The load selection and the deformation engine both decide by this.
    int IsModeShapeShown() const;
    // Display mode shown by the bar page of a result id; -1 for an unknown id.
    static int GetDisplayModeOfResultId(int nResultId);

    // ---- small services ---------------------------------------------------------------------
    int IsActiveNode(UINT nKey) const;
    int IsActiveElem(UINT nKey) const;
    // 1 when the current display is drawn on the deformed shape, -1 when on both shapes,
    // 0 when on the undeformed one.
    int GetPVXType() const;
    // Picking tree of the current shape, after an execute.
    void RebuildQTree();
    // Picking tree by GetPVXType, after a dialog's direct apply.
    void RebuildQuadTree();
    void UnselectAllObjectForModeChange();
    // Back to the default cutting-line settings.
    static void ResetCutLineDlg();
    // Back to the default time-history selection.
    void THRDInit();
    // Empties the key lists and activation flag lists.
    void ResetAllNodeElemK();
    // Reserves the legend margin when the legend is shown and results are ready, else none.
    void ResetLegendRect();
    // ResetLegendRect, and the whole model fitted again when that changed the drawing area (a
    // view fitted to the old area would draw the model off centre, or past the new one's edge).
    void ResetLegendRectAndFit();
    // Number font angles (tenths of a degree); the fixed angle of the options wins when set.
    void SetNumberFontOrientation(int nAngle);
    void SetNumberFontNodeOrientation(int nAngle);
    // Window point of a world point: the memory image's projection, or the window's while the
    // drawing goes to an external device. (0, 0) without a control.
    CPoint Get3DPtTo2DPt(C3DPoint* pPt) const;
    // Non-zero once Escape was pressed; long drawing loops stop on it.
    int WatchEscKeyPress();
    // 1 for the diagram display modes drawn in wire frame only.
    int IsModeOnlyWireFrame() const;
    // How many values the engine of the mode gathered for this draw: the members, elements or
    // nodes it keeps a result of. -1 when the engine keeps no list to count (its extremes are
    // taken as it ranges them).
    long CountShownValues(int mode) const;
    static int IsModeOnlyWireFrame(int nMode);
    void SaveCurrentTime();
    // Seconds of wall-clock time since the last SaveCurrentTime.
    double GetElapsedTime();
    // The current model: the last one constructed that still lives; null when none.
    static I_PVXModel* GetPVXModelPoint() { return m_pMyself; }
    // Deletes the owned lists held by each non-null array and empties it; the fourth array's
    // storage is freed too.
    static void FreeMemoryPolyList(PolyListArray* pPolyLists, IndexArrayList* pIndexArrays,
                                   KeyArrayList* pKeyArrays, KeyArrayList* pMoreArrays);
    // Brings the frame of the host's current model view to the front of the main window.
    static void ActiveModelViewFrame();

    // ---- shape builders and ranges ------------------------------------------------------------
    // Faces of one element (or member) in world coordinates, back to front, appended to faces
    // (one new polygon per face) with, when pIndexArrays is given, one new array per face of
    // the host's second index of each vertex; arg asks for more (see T_SHAPE_ARGUMENT). The
    // caller frees everything with FreeMemoryPolyList. Returns the number of faces handed out.
    // bUseElemShape: shape through the element builder with member offset and super elements;
    // 0 the plain element shape. The last int is kept for callers and not read.
    int GetShapeElement(UINT nKey, T_PELEM_D& elem, PolyListArray& faces, IndexArrayList* pIndexArrays,
                        T_SHAPE_ARGUMENT& arg, int bUseElemShape, int nOpt);
    int GetShapeOnlyElement(UINT nKey, T_PELEM_D& elem, PolyListArray& faces, IndexArrayList* pIndexArrays,
                            T_SHAPE_ARGUMENT& arg, int bUseElemShape, int nOpt);
    // The faces GetShapeElement(nKey, elem, faces, &flags, arg, 1, 0) hands out with node and
    // face keys asked for (arg's other fields as given), as flat arrays replacing out's contents.
    // Returns the number of faces.
    int GetShapeElementFlat(UINT nKey, T_PELEM_D& elem, PVXFlatFaces& out, T_SHAPE_ARGUMENT& arg);
    // The same faces read in place: from the kept faces when they need no sort (fewer than two),
    // else made in scratch. ref holds until the next call of either form.
    int GetShapeElementFlat(UINT nKey, T_PELEM_D& elem, PVXFlatFaces& scratch, PVXFacesRef& ref,
                            T_SHAPE_ARGUMENT& arg);
    // What the undeformed faces of GetShapeElementFlat are made of besides each element's type
    // and kind (the tables' versions, the shape options, the display mode), appended as numbers.
    void AppendElementFacesInputs(std::vector<unsigned long long>& out) const;
    // A member of super elements is shaped through its super elements. The two trailing ints
    // are kept for callers and not read.
    int GetShapeMember(UINT nKey, T_PMEMB_D& memb, PolyListArray& faces, IndexArrayList* pIndexArrays,
                       T_SHAPE_ARGUMENT& arg, int nOpt1, int nOpt2);
    // The member's faces as GetShapeMember hands them out, as flat arrays (node keys per corner
    // with bKeys); the number of faces. Without bCorners the corners may be left out, the points
    // and point index standing for them.
    int GetShapeMemberFlat(UINT nKey, T_PMEMB_D& memb, T_SHAPE_ARGUMENT& arg, bool bKeys, PVXFlatFaces& out,
                           bool bCorners = true);
    // What a member shape of that type is built from now (PVXKeptFaces).
    PVXFacesKey MakeFacesKey(int nMembType, int bDeformed, int bKeys) const;
    // The member's faces as GetShapeMember(arg) would hand them out, from keep while they still
    // hold, else built into it; null for requests a kept shape does not serve (vertices, face
    // keys or displacements asked for, or a shrunk deformed shape, whose centre moves with the
    // deformation).
    const PVXFlatFaces* KeptMemberFaces(PVXKeptFaces& keep, UINT nKey, T_PMEMB_D& memb, T_SHAPE_ARGUMENT& arg,
                                        bool bKeys);
    PVXKeptFaces m_KeptOutline;  // undeformed-style outlines
    PVXKeptFaces m_KeptShapes;   // member shapes of the contour engines
    // Whether face edges drawn with DrawPolygonEdge go straight to pDC as MoveTo/LineTo of their
    // pixels (no external device, no client copy unless bClientCopy, nothing recorded): then
    // PVXFlatFaces::DrawEdges draws the same on pDC, and DrawEdgesOnClientCopy the client copy.
    bool DrawsEdgesAtOnce(const CDC* pDC, bool bClientCopy = false) const;
    // The view's client DC that DrawPolygonEdge copies each edge to, or null.
    std::unique_ptr<CClientDC> MakeEdgeClientCopy();
    // The edges of a face of n points (closed) on the client copy alone, with pDC's pen, as
    // DrawPolygonEdge copies them.
    void DrawEdgesOnClientCopy(CDC* pDC, CDC* pClient, const C3DPoint* pts, int n);
    // Whether the current display mode allows the wire-plane drawing of an element type.
    int IsPossibleWirePlaneMode(int nElemType) const;
    // Bounding boxes (m) of the shown model (members, or nodes only), of the members whose first
    // element has one type, of listed members and of one member. Non-zero when a box was found.
    // The box of the shown members shapes every member: it is kept and served again while the
    // model's tables, the shape options and the shown members stay as they were.
    int GetRangeModel(C3DPoint* pMin, C3DPoint* pMax, int bNodesOnly);
    int GetRangeModelOneType(C3DPoint* pMin, C3DPoint* pMax, int nElemType);
    int GetRangeModel(C3DPoint* pMin, C3DPoint* pMax, CArray<UINT, UINT>* pMembKeys);
    int GetRangeElement(UINT nMembKey, C3DPoint* pMin, C3DPoint* pMax);
    // A project whose member table is empty but which has elements: the plain model is then
    // drawn element by element (each element carries its nodes), and its range is theirs.
    int HasBareElements() const;
    struct BareElement {
        UINT key = 0;
        C3DPoint lo, hi;  // box of the element's shape as the display options build it
    };
    void GetBareElements(std::vector<BareElement>& out);
    // Drops the kept box of the shown members; called where the undeformed geometry or the shown
    // set is rebuilt.
    void InvalidateRangeModel();

    // ---- geometry caches (registration of the undeformed and deformed shapes) ---------------
    void InitOriginal();
    void InitOriginalNoInitQTree(int bUpdate);
    void InitOriginalQTree(int bCheckType);
    void ResetOriginal();
    void InitDeformed(int bUpdate);
    void InitDeformedQTree();
    void ResetDeformed(int bUpdate);

    // ---- display options ---------------------------------------------------------------------
    // Default number label colours: red, green, blue.
    void InitColor();
    // Refreshes the display options from the host.
    void UpdateDisplayOptions();
    // Loads the print colour set (bPrint set and print colour mode 2) or the screen set; print
    // and export call it with 1 before drawing and 0 after.
    void PrepareColorSet(int bPrint);
    // Gray printing: substitutes black-on-white colours in the display options, the legend, the
    // engines' colour scales and the cutting-line diagrams, and puts them back; called in pairs.
    void BeforeGrayPrinting();
    void AfterGrayPrinting();
    // Outline (pColor[0]) and fill (pColor[1]) colour of a member.
    void GetMembColor(T_PMEMB_D& memb, COLORREF* pColor);

    // ---- drawing entry -----------------------------------------------------------------------
    void PVXRender();
    // The body of PVXRender: the retained-geometry path when the control keeps geometry, else
    // the memory image; sets the pen factor from the target DC's horizontal pixels per inch.
    void RenderImpl();
    // Retained-geometry path; false when it did not draw the view (animation running, or the
    // control left retained-geometry mode), so the memory image is drawn instead.
    bool PVXRenderXGR();
    // The display-mode switch into any DC: engines of the current mode, else the plain model,
    // then contour annotations, the overlay queues and the active nodes. Draws nothing when the
    // post database holds no element.
    void _PVXRender(CDC* pDC);

    // ---- image export, printing and vector-stream brackets -----------------------------------
    // Write the view as an enhanced metafile or a 24-bit bitmap; a null path asks the user with
    // a file dialog. Non-zero when the file was written; a failure is reported in the message
    // window, a cancelled dialog writes nothing. Everything changed for the export is restored.
    int PVXExportEMF(CString* pPath);
    int PVXExportBMP(CString* pPath);
    // Print and metafile render into a device: the mode switch, the legend (not in mode 3) and
    // the print handler's frame.
    void VirtualRender(CDC* pDC);
    // The GL print handler's image: the mode switch and the legend (not in modes 3, 21, 22).
    void XGL_VirtualRender(CDC* pDC);
    // One page for the GL print handler; 0 when the control is no GL renderer, so that the
    // caller prints through VirtualRender instead.
    int XGL_PV_OnDrawForPrinting(CDC* pDC);
    // Group markers of the vector stream the print handler records: line elements and members
    // open a frame group, plane ones a plane group, others none.
    void PVX_XGL_Begin_Elem(UINT nKey, T_PELEM_D& elem);
    void PVX_XGL_End_Elem(int nFlag);
    void PVX_XGL_End_Memb(int nFlag);
    void PVX_XGL_Begin_Memb(UINT nKey, T_PMEMB_D& memb);
    void PVX_XGL_Begin_Node(UINT nKey);
    void PVX_XGL_End_Node();
    void PVX_XGL_Begin_Diagram(UINT nKey);

    // ---- plain model drawing and flat shading --------------------------------------------------
    // Drawers return 1 when done, -1 when Escape stopped them, 0 when the record is missing.
    // All active members back to front; undeformedStyle draws them as undeformed edges.
    int PVXDrawOriginal(CDC* pDC, int bUndeformedStyle);
    int DrawBareElements(CDC* pDC);
    int PVXDrawMember(CDC* pDC, UINT nKey);
    int PVXDrawElementNew(CDC* pDC, UINT nKey);
    int PVXDrawUndeformedMember(CDC* pDC, UINT nKey);
    int PVXDrawInactiveUndeformedMember(CDC* pDC, UINT nKey);
    int PVXDrawInactiveMember(CDC* pDC, UINT nKey);
    int PVXDrawInactiveElement(CDC* pDC, UINT nKey);
    int PVXDrawUndeformedElement(CDC* pDC, UINT nKey);
    // Outline of a column's cross-section at its last node; 0 when there is none.
    int DrawColumnSectShape(CDC* pDC, UINT nKey, T_PMEMB_D& memb);
    // Markers of the flag-1 nodes; the XGR form skips inactive nodes and nodes the control
    // marks itself.
    void PVXPutActiveNodes(CDC* pDC);
    void XGR_PVXPutActiveNodes(CDC* pDC);
    // Edges of a face by its edge flags (flag i: vertex i to i+1, the last one closing); a
    // missing flag draws nothing. The PVX form draws every edge when pFlags is null.
    void DrawPolygonEdge(CDC* pDC, CList<C3DPoint>* pFace, CArray<int, int>* pFlags, int nOpt);
    void PVXDrawPolygonEdge(CDC* pDC, CList<C3DPoint>* pFace, CArray<int, int>* pFlags, int nOpt);
    // One filled face, flat-shaded when shading is on; the flag form also draws flagged edges
    // with the DC's pen. pClientDC, when given, receives a copy in window coordinates.
    void DrawPolygon3DFill(CDC* pDC, CList<C3DPoint>& face, DWORD color, CClientDC* pClientDC);
    void DrawPolygon3DFill(CDC* pDC, CList<C3DPoint>& face, CArray<int, int>& flags, DWORD color,
                           CClientDC* pClientDC, int nOpt);
    // Colour with each channel c -> c x diffuse + specular, kept within 0..255.
    DWORD GetShadeFactoredColor(DWORD color, double dDiffuse, double dSpecular);
    // Diffuse factor and specular term of a face of n world points, with the view's light.
    void GetFlatShadingFactor(int n, const C3DPoint* pts, double& dDiffuse, double& dSpecular);
    // Flat shading of many polygons in a row (a band list), the view's light looked up once:
    // Color(c, vcs, n) is GetShadeFactoredColor(c, f, g) with f, g from GetFlatShadingFactor of
    // the same n points, given here in view coordinates (GetVcsCoord). Valid while the model's
    // view, control and options stay as they were.
    class FlatShader {
    public:
        explicit FlatShader(I_PVXModel& m);
        // Whether the options shade at all; when not, Color answers c.
        bool On() const { return m_bOn; }
        DWORD Color(DWORD c, const C3DPoint* vcs, int n) const;

    private:
        I_PVXModel& m_model;
        bool m_bOn = false;                 // shading option on
        bool m_bGL = false;                 // the GL renderer shades: colours stay as they are
        const T_LIGHT_D* m_pLight = nullptr;  // the render view's light; null without one
        // The last two colours shaded with their unit normals: the band polygons of a face mostly
        // share the colour and the normal, turned one way or the other.
        struct Shaded {
            bool valid = false;
            double normal[3];
            DWORD in, out;
        };
        mutable Shaded m_last[2];
        mutable int m_nNext = 0;  // the entry replaced next
    };
    // The light of the render view flat shading reads; null when the view is none.
    const T_LIGHT_D* ShadingLight();
    // Lambert plus highlight for a unit normal n, light direction L and highlight direction H.
    void GetShadingFactor(double* n, double* L, double* H, double& dDiffuse, double& dSpecular);
    // Back-face test of a face of n vertices; faces of 5 or more vertices are always visible.
    BOOL IsVisibleFace(CList<C3DPoint>* pFace, int n);
    BOOL IsVisibleFace(const C3DPoint* pFace, int n);
    // Coloured polygon projected and clipped to the memory image (or the window).
    int GetClippedVtxList(CArray<C3DPoint>& pts, CArray<CPoint>& winPts, CArray<DWORD>& colors,
                          CArray<DWORD>& outColors, int bOnClient);
    // Rotates the two 3-vectors v[0..2] and v[3..5] by m (component r = row r of m . v).
    static void TransformGtoL(double* v, double m[3][3]);
    // Anchors of a beam-force label at 1/8 and 7/8 of the segment p1-p2; returns 1.
    int GetTextOutputNodeForBFroc(const C3DPoint& p1, const C3DPoint& p2, C3DPoint& out1, C3DPoint& out2, int nOpt,
                                  UINT* pKey);

    // ---- contour value annotation ------------------------------------------------------------
    // Fills the view's client area with the background colour (not while animating).
    void BackgroundClearInClientWnd();
    // Escapement and orientation of the annotation font, tenths of a degree.
    void SetContAnnotOrientation(int nAngle);
    // Empties the candidates and lays out the label grid for dc (annotation switch on only).
    void initContourValAnnot(CDC* pDC);
    // Draws the candidates, last first, each only where the grid allows it.
    void AnnotateContourValue(CDC* pDC);
    // TRUE when the cell is inside the grid, free and has no neighbour of the same level.
    BOOL DoPutAnnotation(int nRow, int nCol, int nLevel, C3DPoint& pt);
    // One label at a window position, turned along from-to and never upside down.
    void OutputContAnnotOn2DPoint(CDC* pDC, CPoint pos, CString& text, C3DPoint& from, C3DPoint& to);
    int m_bForcedWireFrame = 0;              // lines only: wide inactive members, column section outlines
    COLORREF m_crForcedWireInactive = RGB(192, 192, 192);  // pen of inactive members then, in wire frame
    int m_nAnnotCols = 0;                    // columns of the annotation grid
    int m_nAnnotRows = 0;                    // rows of the annotation grid
    CArray<int, int> m_arrAnnotGrid;         // cell r, c at r x columns + c: 0 free, else the level placed

    // ---- exported stubs ----------------------------------------------------------------------
    void GetElemColor(T_PELEM_D& elem, DWORD* pColor);
    void GetSubPolyList(UINT nKey, PolyListArray& polys);
    int MakeModeGraphData();
    int PVXDrawElement(CDC* pDC, UINT nKey);
    int IsTreemenuMenu();
    int UpdateBuffer();

    // ---- fields ------------------------------------------------------------------------------
    CPVXPostCtrl* m_pPostCtrl;            // owned
    CPVXAttrCtrl* m_pAttrCtrl;            // owned
    CPVXGeomCtrl* m_pGeomCtrl;            // owned
    CDeformEngine* m_pDeformEngine;       // owned; null until the bars make one
    CForceEngine* m_pForceEngine;         // owned
    CReactionEngine* m_pReactionEngine;   // owned
    CStressEngine* m_pStressEngine;       // owned
    CAnimationEngine m_AnimationEngine;   // back-pointer set by InitPVXModel
    CLegendEngine m_LegendEngine;         // back-pointer set by InitPVXModel
    I_PVXCtrl* m_pPVXCtrl;                // graphics control, borrowed
    CView* m_pView;                       // owning result view, borrowed
    CDBDoc* m_pDBDoc;                     // document at construction, borrowed
    CMDBCtrl* m_pMDBCtrl;                 // its model database control, borrowed
    CPVXFigure* m_pFigure;                // figure controller, owned
    CPVXDrawFuncArray* m_pDrawFuncArray;  // overlay queues, owned
    CBeamDiagram_PVX* m_pBeamDiagram;     // exact beam diagrams, owned; made on demand
    int m_bOriginalRegistered;            // undeformed geometry registered with the control
    int m_bDeformedRegistered;            // deformed geometry registered with the control
    int m_nObjectIDFirst, m_nObjectIDLast;  // object id range of the control
    int m_nNodeIDFirst, m_nNodeIDLast;      // node id range of the control
    int m_bActivated;                     // the view was activated
    int m_bApplyOnOK;                     // OK of the contour and legend dialogs also applies
    int m_bRedrawRequested;               // invalidate the view once after the next render
    int m_bInvalidated;                   // the render entry invalidated the view
    int m_bInitializing;                  // the render path draws only the plain model
    int m_bContour;                       // results drawn as filled contours
    int m_bModeShape;                     // mode-shape display drawn
    int m_bModeShapeContour;              // mode shapes shown as a contour
    int m_bRebuildMBR;                    // rebuild bounding boxes and picking tree after an update
    int m_bAnimation;                     // an animation is being recorded or played
    int m_bGradient;                      // contour bands shaded between level colours
    int m_bExternalDevice;                // drawing goes straight to a device, not the memory image
    int m_bSecondTarget;                  // no extra drawing on the view's client DC
    int m_bFirstRender;                   // no render since InitPVXModel
    int m_bContourAnnot;                  // contour lines annotated with their values
    int m_bFigureMode;                    // drawing for a figure
    int m_bFigurePanel;                   // the figure panel is shown
    int m_b2DDiagram;                     // force diagrams drawn two-dimensionally
    int m_bFaceFill;                      // plate faces filled (set per display mode by the render entry)
    int m_bResultDrawing;                 // a result is being drawn
    int m_bExportMetafile;                // a metafile is being exported
    int m_bRendering;                     // a render is in progress
    int m_bAmplitudeOff;                  // time-history load selected: no animation amplitude
    int m_bCForcList;                     // column-force listing legend
    int m_bDeformedShape;                 // the bars' deformation box: results drawn on the deformed shape
    int m_bExponent;                      // the bars' exponent switch (a copy of the number options')
    // Decimals the bars keep per kind of number; a page hands its kind's to the settings block
    // and takes them back on Apply.
    int m_nDispDecimals;                  // displacements
    int m_nForceDecimals;                 // forces
    int m_nMomentDecimals;                // moments
    int m_bDeformedHeld;                  // an execute keeps the registered deformed geometry as it is
    CFigureDesignData* m_pDesignData = nullptr;  // design-data engine of the figures, owned (the host hands it over); may be null
    int m_nDisplayMode;                   // result kind drawn; -1 none
    int m_nBarDisplayMode;                // display mode of the docked bars; -1 none
    int m_bResultDataReady;               // the load selection reached the host's result controller
    int m_bLoadSelected;                  // a load was chosen on a bar page
    int m_bResultPresent;                 // the bars' editing engine holds data for the chosen result
    T_PLCOM_D m_PLCom;                    // load combination of the selection
    CString m_strLoadName;                // name of the selected load
    UINT m_nLoadType;                     // host load type code (1 static case ... 12 envelope)
    int m_nLoadStep;                      // 0 value, 1 maximum, 2 minimum, 3 all
    UINT m_nLoadKey;                      // key of the selected load case, combination or mode
    int m_nStorySelect;                   // third selection value of the story page
    UINT m_nTHCaseKey;                    // time-history case key
    int m_nCurEigenMode;                  // number of the mode shape shown
    UINT m_nMaxKey, m_nMinKey;            // node or element keys of the largest and smallest value
    T_PVX_DOPT_D* m_pDispOpt;             // display options, owned
    T_PVX_THRD_D* m_pTHRD;                // time-history selection, owned
    T_PREFERENCE m_Preference;            // host preferences, read on entering the result view mode
    // Key lists.
    CArray<UINT, UINT> m_arrAllMembKey;
    CArray<UINT, UINT> m_arrActiveMembKey;
    CArray<UINT, UINT> m_arrInactiveMembKey;
    CArray<UINT, UINT> m_arrAllNodeKey;
    CArray<UINT, UINT> m_arrActiveNodeKey;
    CArray<UINT, UINT> m_arrInactiveNodeKey;
    CArray<UINT, UINT> m_arrFlagMembKey;     // members the host passed with flag 1
    CArray<UINT, UINT> m_arrFlagNodeKey;     // nodes the host passed with flag 1
    CArray<UINT, UINT> m_arrNoFlagMembKey;   // complement of m_arrFlagMembKey in all members
    CArray<UINT, UINT> m_arrNoFlagNodeKey;   // complement of m_arrFlagNodeKey in all nodes
    std::unordered_set<UINT> m_setFlagNode, m_setFlagMemb;  // the two flagged lists, for look-ups
    std::unordered_set<UINT> m_setFlagSupport;              // the nodes flagged 2
    bool m_bPartShown = false;  // the last flag change left members unflagged
    // Pixel boxes of the symbols the last render drew at nodes (reaction heads): a number on one
    // cannot be read, and the measure of the texts counts it.
    std::vector<CRect> m_arrSymbolBoxes;
    CArray<UINT, UINT> m_arrElemKey;         // element keys (depth-sorted drawing)
    CArray<UINT, UINT> m_arrActiveElemKey;
    CArray<UINT, UINT> m_arrZSortMembKey;    // members handed to the control's depth sort
    CArray<UINT, UINT> m_arrZSortElemKey;    // elements handed to the control's depth sort
    CArray<UINT, UINT> m_arrWorkKey;         // scratch list of the engines; its storage is freed on reset
    // Activation flags, in step with the key lists the host passed.
    CArray<int, int> m_arrNodeFlag;
    CArray<int, int> m_arrMembFlag;
    CArray<int, int> m_arrElemFlag;
    CPVXMultiGraphView* m_pMultiGraphView;   // graph view showing this model, borrowed
    PVXGraphSeriesMap m_mapLeftGraph;        // left mode-shape graph series, arrays owned
    PVXGraphSeriesMap m_mapRightGraph;       // right mode-shape graph series, arrays owned
    CArray<UINT, UINT> m_arrAnnotKey;        // contour annotation lists
    CArray<double, double> m_arrAnnotValue;
    CArray<ContAnnotData, ContAnnotData&> m_arrContAnnot;
    double m_dAnnotSize;                     // annotation spacing, fraction (0.25 after InitPVXModel)
    int m_nAnnotCellWidth, m_nAnnotCellHeight;  // annotation grid cell, pixels
    std::chrono::steady_clock::time_point m_tLast;   // last reading of GetElapsedTime
    std::chrono::steady_clock::time_point m_tStart;  // reading of SaveCurrentTime
    int m_nPenFactor;                        // pen-width multiplier of the current drawing
    int m_bTestSwitch1, m_bTestSwitch2;      // toggled by the view's test commands 42065 and 42066

    static I_PVXModel* m_pMyself;            // the current model: the newest live one; null when none lives
    static int nNumOfPVXModel;               // number of live models
    static CPVXCutLineDetDlg* m_pCutLineDetDlg;  // the cutting-line dialog shared by all models
    static CGraphWnd m_TFuncWnd;
    static int m_bShowMesh;

private:
    // The answer of ShadingLight with the view and its type it was found for: shading asks per
    // polygon, and the light is the view's as long as the object there is of the same type.
    struct LightOfView {
        const CView* pView = nullptr;
        const std::type_info* pType = nullptr;
        const T_LIGHT_D* pLight = nullptr;
    };
    LightOfView m_LightOfView;
    // What the box of the shown members was built from: the databases its records and shapes
    // came from with their model versions, and the display options the member shapes read (the
    // display mode changes no undeformed shape).
    struct ShownRangeKey {
        const void* pDB[3] = {nullptr, nullptr, nullptr};  // shapes (live), elements, members
        unsigned long long nVersion[3] = {0, 0, 0};
        int bDispOpt = 0, bPartial = 0, bShrink = 0, bWireFrame = 0, bLineCulling = 0, bPlaneCulling = 0;
        int nRenderStyle = 0;
        double dShrinkFactor = 0.0;
        bool operator==(const ShownRangeKey&) const = default;
        // Same tables and shape options: every member's own box still holds.
        bool SameShapes(const ShownRangeKey& o) const {
            return std::equal(pDB, pDB + 3, o.pDB) && std::equal(nVersion, nVersion + 3, o.nVersion) &&
                   bDispOpt == o.bDispOpt && bShrink == o.bShrink && dShrinkFactor == o.dShrinkFactor &&
                   bWireFrame == o.bWireFrame && bLineCulling == o.bLineCulling && bPlaneCulling == o.bPlaneCulling;
        }
    };
    // The kept box of the shown members (undeformed shapes), with its key and the shown members
    // and flags it covers.
    struct ShownRange {
        int bValid = 0;
        int nResult = 0;
        C3DPoint lo, hi;
        ShownRangeKey key;
        CArray<UINT, UINT> membKeys;
        CArray<int, int> membFlags;
    };
    // Each member's undeformed box, made once per tables and shape options (GetRangeElement).
    struct MemberBox {
        int nResult = 0;
        C3DPoint lo, hi;
    };
    struct MemberBoxes {
        int bValid = 0;
        ShownRangeKey key;
        std::unordered_map<UINT, MemberBox> boxes;
    };
    MemberBoxes m_MemberBoxes;
    // Each element's undeformed faces as GetShapeElementFlat makes them, in the host's order
    // (the back-to-front sort follows the view, so it is redone on each hand-out), kept while
    // the tables, the shape options and the display mode stay the same.
    struct ElementFaces {
        int bValid = 0;
        ShownRangeKey key;
        int nDisplayMode = 0;
        struct Entry {
            int nFirst = -1, nFaces = 0;  // faces of store; nFirst -1: not made
            int nType = 0, nKind = 0;     // of the element record it was made for
        };
        // Element keys run from 1 up: most index dense directly (read in key order one after
        // another); a key far beyond the number made goes to sparse.
        std::vector<Entry> dense;
        std::unordered_map<UINT, Entry> sparse;
        size_t nMade = 0;
        PVXFlatFaces store;
        const Entry* Find(UINT nKey) const;
        const Entry& Put(UINT nKey, const Entry& e);
        void Clear();
    };
    ElementFaces m_ElementFaces;
    // Both forms of GetShapeElementFlat: out always filled when pRef is null.
    int ShapeElementFlat(UINT nKey, T_PELEM_D& elem, PVXFlatFaces& out, PVXFacesRef* pRef, T_SHAPE_ARGUMENT& arg);
    ShownRangeKey MakeShownRangeKey() const;
    // The databases and versions MakeShownRangeKey read last, with the newest table version at
    // the time: while that has not moved, the same databases have the same versions.
    struct ShownVersions {
        unsigned long long nLastVersion = 0;
        const void* pDB[3] = {nullptr, nullptr, nullptr};
        unsigned long long nVersion[3] = {0, 0, 0};
        bool bValid = false;
    };
    mutable ShownVersions m_shownVersions;
    // The box of the shown members built from their shapes.
    int BuildShownRange(C3DPoint& lo, C3DPoint& hi);
    ShownRange m_ShownRange;

    // Takes over the bars' editing engines (the import path of HandlePVXBar); returns 0 when
    // the bar display mode has nothing to take over.
    int ImportBarEngines();
    static void FreeGraphMap(PVXGraphSeriesMap& map);
};
