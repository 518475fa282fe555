// CPVXView: the result view of the results module.
//
// The host creates it by run-time class ("CPVXView") in a frame on the open project. The view
// owns exactly one result model (I_PVXModel), made in its constructor and deleted in its
// destructor; on creation it links the model to the view's graphics control, which from then on
// calls the model back to draw. The view does not paint itself: its host base GRenderView does.
// It turns window messages, context-menu commands and timers into calls on the model, on the
// host's docking bar (the result bars) and on the model's animation engine (playback of a
// recorded film in a media window with the tool bar's slider). Every command acts only while the
// graphics control is in the result view mode.
//
//   CView* v = static_cast<CView*>(CRuntimeClass::CreateObject("CPVXView"));
//   v->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, rect, frame, AFX_IDW_PANE_FIRST);
//   static_cast<GRenderView*>(v)->DoInitialView();
#pragma once

#include "host/grx/CTipView.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

class I_PVXModel;
class CDBDoc;
class CContourEngine;
class GContourEngine;
class CPrintInfo;

class CPVXView : public CTipView {
    DECLARE_DYNCREATE(CPVXView)
public:
    CPVXView();
    ~CPVXView() override;

    // The current result view: the last one constructed or activated; null once it is gone.
    static CPVXView* m_pMyself;

    I_PVXModel* GetPVXModel() const { return m_pPVXModel; }

    // Back to the initial state: no result, bars closed, geometry rebuilt, whole model shown.
    // Overrides the host's initial view so the host can run it through its view base.
    void DoInitialView() override;
    // Renders the model (nothing without a model).
    void CallPVXRender();
    // Puts a saved main-frame title back and forgets it.
    void RestoreFrameTitle();
    // The host database document the view shows.
    CDBDoc* GetDBDoc() const;
    // Empties the four arrays and fills them with the model's active member keys, active node
    // keys, all member keys and all node keys.
    void GetActiveKeyList(CArray<UINT, UINT>& activeMembers, CArray<UINT, UINT>& activeNodes,
                          CArray<UINT, UINT>& allMembers, CArray<UINT, UINT>& allNodes);
    BOOL PreparePrinterDC(CPrintInfo* pInfo);
    T_LIGHT_D& GetLightData() { return GRenderView::GetLightData(); }
    virtual void OnResultNormalforcsum();
    // Activation steps for the host, without the figure controller: makes this the current
    // view and reopens (or closes) the module's docked bar.
    void HandleActivateView();

    // Image export, called by the host; only in the result view mode.
    void OnPvxWriteemf();
    void OnPvxWritebmp();

    // Exported for the host and empty.
    void DestroyAllCompanyViews();
    void ExportLegendInfo();
    void OnPvxMeshline();
    void ReferRenderView(int nView);
    void ResultMode(int nMode);
    void ExportContourEngine(CContourEngine* pEngine, GContourEngine* pGEngine);
    void GetZSortedIndexList(UINT nType, CArray<int, int>& order);
    void GetDeformedZSortedIndexList(UINT nType, CArray<int, int>& order);

    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    // Display mode (0 ...) of a result instruction (42004 ...) and the result id (7101 ...) of the
    // bar page it opens; -1 for other ids.
    static int GetInstructionDisplayMode(UINT nID);
    static int GetInstructionResultId(UINT nID);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnPvxInstructionCommand(UINT nID);
    afx_msg void OnUpdatePvxInstructionCommand(CCmdUI* pCmdUI);
    afx_msg void OnPvxAnitool(UINT nID);
    afx_msg void OnUpdatePvxAnitool(CCmdUI* pCmdUI);
    afx_msg void OnPvxTestCommand(UINT nID);
    afx_msg void OnUpdatePvxTestCommand(CCmdUI* pCmdUI);

    I_PVXModel* m_pPVXModel;       // owned; null when it could not be made
    CString m_strSavedTitle;       // saved main-frame title, empty when none
    int m_nPlayStateBeforePause;   // play state a pause interrupted, restored on resume

public:
    // Set by the host: an execute of the bars then leaves animation mode off, and the deformation
    // details dialog offers no real deformation. 0 from construction.
    int m_nViewState;

protected:

    DECLARE_MESSAGE_MAP()

private:
    int IsResultViewMode();
    // Pauses a running film, remembering its state (pause command, save and resize).
    void PauseRunningFilm();
    // Moves the tool bar's slider to the film's position.
    void FollowFilmPosition();
    // Whether the current film can be driven by the animation commands.
    int IsAnimationCommandable();
};
