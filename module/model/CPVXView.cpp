#include "module/model/CPVXView.h"

#include <system_error>
#include <new>
#include <system_error>

#include "module/animation/CAniCtrlBar.h"
#include "module/animation/CAnimationEngine.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CLegendEngine.h"
#include "module/contour/CPVXLegendWnd.h"
#include "module/figures/CPVXFigure.h"
#include "host/base/CDockDlgBarBase.h"
#include "host/base/CMsgDll.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/CDBDoc.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CUiDriver.h"
#include "platform/afx/OutputFiles.h"
#include "platform/ui/CWinApp.h"
#include "platform/video/MCIWnd.h"
#include "module/resources/PVXResourceIds.h"

namespace {

// A result instruction of the context menu: the bar page it opens and the display mode it means.
struct Instruction {
    UINT nID;
    int nResultId;
    int nDisplayMode;
};

const Instruction kInstructions[] = {
    {ID_PVX_REACTION, PVXResult::kReacPile, PVXMode::kReaction},
    {ID_PVX_DEFORMATION, PVXResult::kDeform, PVXMode::kDeformedShape},
    {ID_PVX_MODE_SHAPE, PVXResult::kModeShape, PVXMode::kModeShape},
    {ID_PVX_STORY_SHEAR_RATIO, PVXResult::kStoryShear, PVXMode::kStoryShearRatio},
    {ID_PVX_FRAME_FORCE, PVXResult::kBeamForce, PVXMode::kFrameForceContour},
    {ID_PVX_WALL_FORCE, PVXResult::kWallForce, PVXMode::kWallForceContour},
};

const Instruction* FindInstruction(UINT nID) {
    for (const Instruction& i : kInstructions)
        if (i.nID == nID) return &i;
    return nullptr;
}

BOOL IsModuleBarMode(int nMode) { return nMode >= PVX_BAR_MODE_FIRST && nMode < PVX_BAR_MODE_END; }

int ElementCount(I_PVXModel* pModel) {
    CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    return pAttr ? pAttr->GetElemCount() : 0;
}

// The scrolling title of the animation tool bar while a film plays.
void ShowAnimationTitle(CAniCtrlBar* pBar) {
    if (pBar) pBar->ShowTitle();
}

}  // namespace

IMPLEMENT_DYNCREATE(CPVXView, CTipView)

BEGIN_MESSAGE_MAP(CPVXView, CTipView)
    ON_WM_CREATE()
    ON_COMMAND_RANGE(ID_PVX_ANI_PLAY, ID_PVX_ANI_PLAY, OnPvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_PLAY, OnUpdatePvxAnitool)
    ON_WM_PARENTNOTIFY()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_COMMAND_RANGE(ID_PVX_REACTION, ID_PVX_REACTION, OnPvxInstructionCommand)
    ON_COMMAND_RANGE(ID_PVX_DEFORMATION, ID_PVX_DEFORMATION, OnPvxInstructionCommand)
    ON_COMMAND_RANGE(ID_PVX_MODE_SHAPE, ID_PVX_MODE_SHAPE, OnPvxInstructionCommand)
    ON_COMMAND_RANGE(ID_PVX_STORY_SHEAR_RATIO, ID_PVX_STORY_SHEAR_RATIO, OnPvxInstructionCommand)
    ON_COMMAND_RANGE(ID_PVX_FRAME_FORCE, ID_PVX_FRAME_FORCE, OnPvxInstructionCommand)
    ON_COMMAND_RANGE(ID_PVX_WALL_FORCE, ID_PVX_WALL_FORCE, OnPvxInstructionCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_REACTION, OnUpdatePvxInstructionCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_DEFORMATION, OnUpdatePvxInstructionCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_MODE_SHAPE, OnUpdatePvxInstructionCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_STORY_SHEAR_RATIO, OnUpdatePvxInstructionCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_FRAME_FORCE, OnUpdatePvxInstructionCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_WALL_FORCE, OnUpdatePvxInstructionCommand)
    ON_COMMAND_RANGE(ID_PVX_ANI_PAUSE, ID_PVX_ANI_PAUSE, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_STOP, ID_PVX_ANI_STOP, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_SAVE, ID_PVX_ANI_SAVE, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_JUMP_BACK, ID_PVX_ANI_JUMP_BACK, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_REPLAY, ID_PVX_ANI_REPLAY, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_FAST_FORWARD, ID_PVX_ANI_FAST_FORWARD, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_JUMP_FORWARD, ID_PVX_ANI_JUMP_FORWARD, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_RECORD, ID_PVX_ANI_RECORD, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_CLOSE, ID_PVX_ANI_CLOSE, OnPvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_ANI_SHOW_BAR, ID_PVX_ANI_SHOW_BAR, OnPvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_PAUSE, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_STOP, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_SAVE, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_JUMP_BACK, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_REPLAY, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_FAST_FORWARD, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_JUMP_FORWARD, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_RECORD, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_CLOSE, OnUpdatePvxAnitool)
    ON_UPDATE_COMMAND_UI(ID_PVX_ANI_SHOW_BAR, OnUpdatePvxAnitool)
    ON_COMMAND_RANGE(ID_PVX_TEST_RENDER_STYLE, ID_PVX_TEST_RENDER_STYLE, OnPvxTestCommand)
    ON_COMMAND_RANGE(ID_PVX_TEST_SWITCH1, ID_PVX_TEST_SWITCH1, OnPvxTestCommand)
    ON_COMMAND_RANGE(ID_PVX_TEST_SWITCH2, ID_PVX_TEST_SWITCH2, OnPvxTestCommand)
    ON_COMMAND_RANGE(ID_PVX_TEST_WIRE_FRAME, ID_PVX_TEST_WIRE_FRAME, OnPvxTestCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_TEST_RENDER_STYLE, OnUpdatePvxTestCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_TEST_SWITCH1, OnUpdatePvxTestCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_TEST_SWITCH2, OnUpdatePvxTestCommand)
    ON_UPDATE_COMMAND_UI(ID_PVX_TEST_WIRE_FRAME, OnUpdatePvxTestCommand)
END_MESSAGE_MAP()

CPVXView* CPVXView::m_pMyself = nullptr;

CPVXView::CPVXView() : m_pPVXModel(nullptr), m_nPlayStateBeforePause(0), m_nViewState(0) {
    m_strSavedTitle.Empty();
    m_pMyself = this;
    m_pPVXModel = new (std::nothrow) I_PVXModel;
}

CPVXView::~CPVXView() {
    m_strSavedTitle.Empty();
    delete m_pPVXModel;
    m_pPVXModel = nullptr;
    // The current view must never name a view that is gone: contour rebuilds reach the model
    // through it after the last view closed.
    if (m_pMyself == this) m_pMyself = nullptr;
}

int CPVXView::IsResultViewMode() { return GetI_PVXCtrl()->IsPVXViewMode(); }

int CPVXView::GetInstructionDisplayMode(UINT nID) {
    const Instruction* p = FindInstruction(nID);
    return p ? p->nDisplayMode : PVXMode::kNone;
}

int CPVXView::GetInstructionResultId(UINT nID) {
    const Instruction* p = FindInstruction(nID);
    return p ? p->nResultId : PVXResult::kNone;
}

// ---- creation, initial view and small services -------------------------------------------------

int CPVXView::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CTipView::OnCreate(lpCreateStruct) == -1) return -1;
    I_PVXCtrl* pCtrl = GetI_PVXCtrl();
    if (m_pPVXModel) {
        m_pPVXModel->Link_I_RDXModel(pCtrl);
        m_pPVXModel->SetView(this);
        // The attribute and geometry controls bind their tables to the document's post database;
        // the post-result control binds none itself.
        if (CPVXAttrCtrl* pAttr = m_pPVXModel->GetAttrCtrl()) pAttr->ConnectToPostDB();
        if (CPVXGeomCtrl* pGeom = m_pPVXModel->GetGeomCtrl()) pGeom->ConnectToPostDB();
    }
    I_MainFrameBase::CloseFigureDlg();
    return 0;
}

void CPVXView::DoInitialView() {
    I_PVXModel* pModel = m_pPVXModel;
    I_PVXCtrl* pCtrl = GetI_PVXCtrl();
    if (pModel) {
        pModel->m_bInitializing = 1;
        pModel->m_nDisplayMode = PVXMode::kNone;
        pModel->m_nBarDisplayMode = PVXMode::kNone;
    }
    if (IsModuleBarMode(CDockDlgBarBase::GetDlgBarMode())) {
        CDockDlgBarBase::CloseDlgBar();
        CPVXBarContainerBase::m_nCurrentMode = PVXMode::kNone;
    }
    I_MainFrameBase::CloseFigureDlg();
    if (pModel) pModel->InitPVXModel();
    pCtrl->ResetClientWindowMargin();
    pCtrl->BeginAccumulateMode();
    pCtrl->EndAccumulateMode();
    pCtrl->XGL_Begin_CuttingPLDiagram();
    pCtrl->XGL_End_CuttingPLDiagram();
    CPVXBarContainerBase::m_pMyself = nullptr;
    if (pCtrl->IsGLRenderer() && pCtrl->IsXGRMode()) pCtrl->XGR_SetRebuildGeom(1);
    GRenderView::DoInitialView();
    if (pModel) {
        pModel->InitOriginal();
        pModel->UpdateDisplayOptions();
        pModel->PV_OnDisplayOptionChange();
        pModel->m_AnimationEngine.ExitAnimationMode();
    }
    ActiveAll();
    ZoomAll();
}

void CPVXView::CallPVXRender() {
    if (m_pPVXModel) m_pPVXModel->PVXRender();
}

void CPVXView::RestoreFrameTitle() {
    if (m_strSavedTitle.IsEmpty()) return;
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->SetWindowText(m_strSavedTitle);
    m_strSavedTitle.Empty();
}

CDBDoc* CPVXView::GetDBDoc() const { return CDBDoc::m_pDBDoc; }

void CPVXView::GetActiveKeyList(CArray<UINT, UINT>& activeMembers, CArray<UINT, UINT>& activeNodes,
                                CArray<UINT, UINT>& allMembers, CArray<UINT, UINT>& allNodes) {
    activeMembers.RemoveAll();
    activeNodes.RemoveAll();
    allMembers.RemoveAll();
    allNodes.RemoveAll();
    if (!m_pPVXModel) return;
    activeMembers.Append(m_pPVXModel->m_arrActiveMembKey);
    activeNodes.Append(m_pPVXModel->m_arrActiveNodeKey);
    allMembers.Append(m_pPVXModel->m_arrAllMembKey);
    allNodes.Append(m_pPVXModel->m_arrAllNodeKey);
}

BOOL CPVXView::PreparePrinterDC(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }

void CPVXView::OnResultNormalforcsum() {
    if (m_pPVXModel) m_pPVXModel->PV_OnNormalforcsum();
}

void CPVXView::OnPvxWriteemf() {
    if (IsResultViewMode() && m_pPVXModel) m_pPVXModel->PVXExportEMF(nullptr);
}

void CPVXView::OnPvxWritebmp() {
    if (IsResultViewMode() && m_pPVXModel) m_pPVXModel->PVXExportBMP(nullptr);
}

void CPVXView::DestroyAllCompanyViews() {}
void CPVXView::ExportLegendInfo() {}
void CPVXView::OnPvxMeshline() {}
void CPVXView::ReferRenderView(int) {}
void CPVXView::ResultMode(int) {}
void CPVXView::ExportContourEngine(CContourEngine*, GContourEngine*) {}
void CPVXView::GetZSortedIndexList(UINT, CArray<int, int>&) {}
void CPVXView::GetDeformedZSortedIndexList(UINT, CArray<int, int>&) {}

// ---- activation -------------------------------------------------------------------------------

void CPVXView::HandleActivateView() {
    m_pMyself = this;
    if (m_pPVXModel) m_pPVXModel->m_bActivated = 1;
    const int nBarMode = CDockDlgBarBase::GetDlgBarMode();
    if (!IsModuleBarMode(nBarMode)) return;
    const int nResultId = m_pPVXModel ? m_pPVXModel->GetBarResultId() : -1;
    CDockDlgBarBase::CloseDlgBar();
    if (nResultId >= PVX_BAR_MODE_FIRST) CDockDlgBarBase::ShowDlgBarMode(nBarMode, 0);
}

void CPVXView::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (bActivate && IsResultViewMode() && m_pMyself != this) {
        m_pMyself = this;
        CPVXFigure* pFigure = nullptr;
        if (m_pPVXModel) {
            m_pPVXModel->m_bActivated = 1;
            pFigure = m_pPVXModel->m_pFigure;
        }
        const BOOL bHadFigure = CPVXFigure::m_pMyself != nullptr;
        CPVXFigure::m_pMyself = pFigure;
        if (!bHadFigure) {
            CDBDoc* pDoc = GetDBDoc();
            if (pDoc && pDoc->GetMDBCtrl()->IsDBPost3D()) I_MainFrameBase::SetFigureTreeItem();
        }
        // The bar display mode holds a display mode: the bar page that shows it is reopened.
        if (IsModuleBarMode(CDockDlgBarBase::GetDlgBarMode())) {
            const int nResultId = m_pPVXModel ? m_pPVXModel->GetBarResultId() : -1;
            CDockDlgBarBase::CloseDlgBar();
            if (nResultId >= PVX_BAR_MODE_FIRST) CDockDlgBarBase::ShowDlgBarMode(nResultId, 0);
        }
    }
    GRenderView::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

// ---- result instructions and the context menu --------------------------------------------------

void CPVXView::OnPvxInstructionCommand(UINT nID) {
    if (!IsResultViewMode() || !m_pPVXModel) return;
    if (ElementCount(m_pPVXModel) <= 0) return;
    const Instruction* p = FindInstruction(nID);
    if (!p) return;
    m_pPVXModel->m_nBarDisplayMode = p->nDisplayMode;
    CDockDlgBarBase::ShowDlgBarMode(p->nResultId, 0);
}

void CPVXView::OnUpdatePvxInstructionCommand(CCmdUI* pCmdUI) {
    if (!IsResultViewMode() || !m_pPVXModel || ElementCount(m_pPVXModel) <= 0) {
        pCmdUI->Enable(FALSE);
        return;
    }
    const Instruction* p = FindInstruction(pCmdUI->m_nID);
    if (!p) return;
    // The bar display mode holds a display mode; it is compared by the bar page showing it.
    pCmdUI->SetCheck(m_pPVXModel->GetBarResultId() == p->nResultId ? 1 : 0);
}

void CPVXView::OnParentNotify(UINT message, LPARAM lParam) {
    CTipView::OnParentNotify(message, lParam);
    if (!IsResultViewMode() || LOWORD(message) != WM_RBUTTONDOWN) return;
    CMenu menu;
    if (!menu.LoadMenu(IDR_PVX_CONTEXT_MENU)) return;
    if (CMenu* pPopup = menu.GetSubMenu(0)) {
        GetI_PVXCtrl()->ApplyCustomAcceleratorToMenu(pPopup);
        CPoint pt(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        ClientToScreen(&pt);
        CWnd* pOwner = AfxGetMainWnd();
        pPopup->TrackPopupMenu(0, pt.x, pt.y, pOwner ? pOwner : this);
    }
    menu.DestroyMenu();
}

// ---- animation ------------------------------------------------------------------------------

int CPVXView::IsAnimationCommandable() {
    if (!IsResultViewMode() || !m_pPVXModel) return 0;
    CAnimationEngine& ani = m_pPVXModel->m_AnimationEngine;
    if (!m_pPVXModel->m_bAnimation && !ani.m_bAnimationMode) return 0;
    if (ani.m_bRecorded && !::IsWindow(ani.m_hMCIWnd) && !ani.m_bAnimationMode) return 0;
    return 1;
}

void CPVXView::PauseRunningFilm() {
    CAnimationEngine& ani = m_pPVXModel->m_AnimationEngine;
    // A resume still pending keeps the state it will resume to.
    if (ani.m_nPlayState != CAnimationEngine::PLAY_RESUME) m_nPlayStateBeforePause = ani.m_nPlayState;
    ani.m_nPlayState = CAnimationEngine::PLAY_PAUSED;
    if (::IsWindow(ani.m_hMCIWnd)) MCIWndPause(ani.m_hMCIWnd);
}

void CPVXView::FollowFilmPosition() {
    CAnimationEngine& ani = m_pPVXModel->m_AnimationEngine;
    CAniCtrlBar* pBar = ani.m_pAniCtrlBar;
    if (!::IsWindow(ani.m_hMCIWnd)) return;
    const LONG pos = MCIWndGetPosition(ani.m_hMCIWnd);
    // A frame the player could not read or show stopped it (it said why): playback stays
    // stopped there instead of starting again on the next tick.
    if (MCIWndGetMode(ani.m_hMCIWnd, nullptr, 0) != MCI_MODE_PLAY && MCIWndGetError(ani.m_hMCIWnd, nullptr, 0) != 0) {
        ani.m_nPlayState = CAnimationEngine::PLAY_STOPPED;
        if (pBar) pBar->m_wndMarquee.StartScrolling(0);
    }
    if (pBar && pBar->m_wndSlider.GetSafeHwnd()) pBar->m_wndSlider.SetPos(pos);
}

void CPVXView::OnPvxAnitool(UINT nID) {
    if (!IsAnimationCommandable()) return;
    CAnimationEngine& ani = m_pPVXModel->m_AnimationEngine;
    const HWND hMCI = ::IsWindow(ani.m_hMCIWnd) ? ani.m_hMCIWnd : nullptr;
    CAniCtrlBar* pBar = ani.m_pAniCtrlBar;
    CSliderCtrl* pSlider = pBar && pBar->m_wndSlider.GetSafeHwnd() ? &pBar->m_wndSlider : nullptr;
    int& state = ani.m_nPlayState;
    switch (nID) {
    case ID_PVX_ANI_PLAY:
        state = CAnimationEngine::PLAY_NORMAL;
        ShowAnimationTitle(pBar);
        break;
    case ID_PVX_ANI_PAUSE:
        if (state == CAnimationEngine::PLAY_PAUSED)
            state = CAnimationEngine::PLAY_RESUME;
        else if (state != CAnimationEngine::PLAY_STOPPED)
            PauseRunningFilm();
        break;
    case ID_PVX_ANI_STOP:
        state = CAnimationEngine::PLAY_STOPPED;
        if (hMCI) {
            MCIWndStop(hMCI);
            MCIWndHome(hMCI);
        }
        if (pSlider) pSlider->SendMessage(TBM_SETPOS, TRUE, 0);
        break;
    case ID_PVX_ANI_JUMP_BACK:
        if (hMCI) MCIWndHome(hMCI);
        if (pSlider) pSlider->SendMessage(TBM_SETPOS, TRUE, 0);
        break;
    case ID_PVX_ANI_JUMP_FORWARD:
        if (hMCI) MCIWndEnd(hMCI);
        if (pSlider) pSlider->SendMessage(TBM_SETPOS, TRUE, pSlider->SendMessage(TBM_GETRANGEMAX, 0, 0));
        break;
    case ID_PVX_ANI_FAST_FORWARD:
    case ID_PVX_ANI_REPLAY:
        state = nID == ID_PVX_ANI_FAST_FORWARD ? CAnimationEngine::PLAY_FAST : CAnimationEngine::PLAY_REVERSE;
        if (hMCI) MCIWndPause(hMCI);
        ShowAnimationTitle(pBar);
        break;
    case ID_PVX_ANI_SAVE: {
        // Only a film this save paused resumes afterwards; a film the user paused stays paused.
        BOOL bPausedHere = FALSE;
        if (state != CAnimationEngine::PLAY_STOPPED && state != CAnimationEngine::PLAY_PAUSED) {
            PauseRunningFilm();
            bPausedHere = TRUE;
        }
        CFileDialog dlg(FALSE, "avi", "*.avi", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                        "Avi Files (*.avi)|*.avi|All Files (*.*)|*.*||", this);
        if (dlg.DoModal() == IDOK) {
            const CString target = dlg.GetPathName();
            std::error_code ec;
            if (ani.m_strFinalPath.IsEmpty()) {
                ec = std::make_error_code(std::errc::no_such_file_or_directory);
            } else {
                ec = CopyIntoOutputFile(ani.m_strFinalPath.GetString(), target.GetString());
            }
            if (ec) {
                CString msg;
                msg.Format("The animation could not be saved to \"%s\": %s. Choose another file or folder.",
                           target.GetString(),
                           ani.m_strFinalPath.IsEmpty() ? "no animation has been recorded" : ec.message().c_str());
                MessageBox(msg, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Error", 0), MB_OK | MB_ICONINFORMATION);
            }
        }
        if (bPausedHere && state != CAnimationEngine::PLAY_STOPPED) state = CAnimationEngine::PLAY_RESUME;
        break;
    }
    case ID_PVX_ANI_RECORD:
        m_pPVXModel->m_bAnimation = 1;
        if (pBar) {
            pBar->m_wndMarquee.Reset();
            pBar->m_wndMarquee.SetText("Recording...");
            pBar->m_wndMarquee.StartScrolling(0);
            if (pBar->GetSafeHwnd()) {
                CWnd* pFrame = pBar->GetParentFrame();
                (pFrame ? pFrame : static_cast<CWnd*>(pBar))->Invalidate(TRUE);
            }
        }
        ani.RecordAnimation();
        break;
    case ID_PVX_ANI_CLOSE:
        if (hMCI) MCIWndStop(hMCI);
        ani.StopAnimation();
        ani.ExitAnimationMode();
        Invalidate(FALSE);
        break;
    case ID_PVX_ANI_SHOW_BAR:
        if (pBar && pBar->GetSafeHwnd()) {
            CFrameWnd* pFrame = pBar->m_pDockSite ? pBar->m_pDockSite : pBar->GetParentFrame();
            if (!pFrame) pFrame = GetParentFrame();
            const BOOL bShow = !pBar->IsWindowVisible();
            if (pFrame)
                pFrame->ShowControlBar(pBar, bShow, FALSE);
            else
                pBar->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
        }
        break;
    default:
        break;
    }
}

void CPVXView::OnUpdatePvxAnitool(CCmdUI* pCmdUI) {
    if (!IsResultViewMode() || !m_pPVXModel) return;
    const CAnimationEngine& ani = m_pPVXModel->m_AnimationEngine;
    const int bRun = m_pPVXModel->m_bAnimation;
    const CAniCtrlBar* pBar = ani.m_pAniCtrlBar;
    const BOOL bBar = pBar && pBar->GetSafeHwnd();
    const BOOL bBarVisible = bBar && pBar->IsWindowVisible();
    const int state = ani.m_nPlayState;
    const UINT nID = pCmdUI->m_nID;
    if (nID == ID_PVX_ANI_SHOW_BAR) {
        pCmdUI->Enable((bRun || ani.m_bAnimationMode) && bBar);
        pCmdUI->SetCheck(bBarVisible ? 1 : 0);
        return;
    }
    if (!ani.m_bRecorded) {
        if (nID == ID_PVX_ANI_RECORD)
            pCmdUI->Enable(!ani.m_bRecording && ani.m_bAnimationMode);
        else if (nID == ID_PVX_ANI_CLOSE)
            pCmdUI->Enable(bRun && !ani.m_bRecording && !ani.m_bAnimationMode);
        else
            pCmdUI->Enable(FALSE);
        return;
    }
    switch (nID) {
    case ID_PVX_ANI_PAUSE:
        pCmdUI->Enable(TRUE);
        pCmdUI->SetCheck(state == CAnimationEngine::PLAY_PAUSED ? 1 : 0);
        break;
    case ID_PVX_ANI_JUMP_BACK:
    case ID_PVX_ANI_FAST_FORWARD:
    case ID_PVX_ANI_JUMP_FORWARD:
    case ID_PVX_ANI_REPLAY:
        pCmdUI->Enable(state != CAnimationEngine::PLAY_PAUSED);
        break;
    case ID_PVX_ANI_RECORD:
        pCmdUI->Enable(FALSE);
        break;
    case ID_PVX_ANI_CLOSE:
        pCmdUI->Enable(bRun && !ani.m_bRecording);
        break;
    default:
        pCmdUI->Enable(TRUE);
        break;
    }
}

void CPVXView::OnTimer(UINT_PTR nIDEvent) {
    if (IsResultViewMode() && m_pPVXModel && m_pPVXModel->m_bAnimation) {
        CAnimationEngine& ani = m_pPVXModel->m_AnimationEngine;
        const HWND hMCI = ::IsWindow(ani.m_hMCIWnd) ? ani.m_hMCIWnd : nullptr;
        CAniCtrlBar* pBar = ani.m_pAniCtrlBar;
        int& state = ani.m_nPlayState;
        const BOOL bRunning = state != CAnimationEngine::PLAY_STOPPED && state != CAnimationEngine::PLAY_PAUSED;
        if (nIDEvent == CAnimationEngine::TIMER_PLAY && ani.m_bRecorded) {
            // The speed and the play command go again on every tick, so a change of state takes
            // effect within one period and a film that reached its end starts again.
            switch (state) {
            case CAnimationEngine::PLAY_RESUME:
                if (hMCI) MCIWndResume(hMCI);
                state = m_nPlayStateBeforePause;
                break;
            case CAnimationEngine::PLAY_NORMAL:
                if (hMCI) {
                    MCIWndSetSpeed(hMCI, 1000);
                    MCIWndPlay(hMCI);
                }
                break;
            case CAnimationEngine::PLAY_FAST:
                if (hMCI) {
                    MCIWndSetSpeed(hMCI, 2000);
                    MCIWndPlay(hMCI);
                }
                break;
            case CAnimationEngine::PLAY_REVERSE:
                if (hMCI) {
                    MCIWndSetSpeed(hMCI, 2000);
                    MCIWndPlayReverse(hMCI);
                }
                break;
            default:
                break;
            }
            if (bRunning && pBar) pBar->m_wndMarquee.StartScrolling(1);
            if (state != CAnimationEngine::PLAY_STOPPED && state != CAnimationEngine::PLAY_PAUSED) FollowFilmPosition();
        } else if (nIDEvent == CAnimationEngine::TIMER_SLIDER && ani.m_bRecorded && bRunning) {
            FollowFilmPosition();
        }
    }
    GRenderView::OnTimer(nIDEvent);
}

void CPVXView::OnSize(UINT nType, int cx, int cy) {
    GRenderView::OnSize(nType, cx, cy);
    if (!m_pPVXModel || !IsResultViewMode()) return;
    // Only the last of a burst of size messages moves the film.
    MSG msg;
    if (::PeekMessage(&msg, m_hWnd, WM_SIZE, WM_SIZE, PM_NOREMOVE)) return;
    CAnimationEngine& ani = m_pPVXModel->m_AnimationEngine;
    const int bRun = m_pPVXModel->m_bAnimation;
    if (bRun && !ani.m_bRecorded && !ani.m_bRecording) return;
    if (nType == SIZE_MINIMIZED || !bRun || !::IsWindow(ani.m_hMCIWnd)) return;
    int& state = ani.m_nPlayState;
    // Only a film this resize paused resumes afterwards; a film the user paused stays paused.
    BOOL bPausedHere = FALSE;
    if (state != CAnimationEngine::PLAY_STOPPED && state != CAnimationEngine::PLAY_PAUSED) {
        PauseRunningFilm();
        bPausedHere = TRUE;
    }
    ::MoveWindow(ani.m_hMCIWnd, 0, 0, cx, cy, FALSE);
    if (bPausedHere) state = CAnimationEngine::PLAY_RESUME;
}

// ---- mouse, destruction, test commands -------------------------------------------------------

void CPVXView::OnLButtonDown(UINT nFlags, CPoint point) {
    if (m_pPVXModel) {
        CLegendEngine& legend = m_pPVXModel->m_LegendEngine;
        if (!IsResultViewMode()) legend.m_bLegendRect = 0;
        if (!CLegendEngine::IsPossibleUserDefGlobalRange(m_pPVXModel, m_pPVXModel->m_nDisplayMode))
            legend.m_bLegendRect = 0;
        if (legend.m_bLegendRect && legend.m_rcLegend.PtInRect(point)) {
            ResetCurDynamicViewMode();
            CRect rc = legend.m_rcLegend;
            ClientToScreen(&rc);
            CPVXLegendWnd* pWnd = new CPVXLegendWnd(1, this);
            if (pWnd->Create(this, rc, 0))
                legend.m_pLegendWnd = pWnd;
            else if (!pWnd->GetSafeHwnd())
                delete pWnd;
        }
    }
    GRenderView::OnLButtonDown(nFlags, point);
}

void CPVXView::OnLButtonUp(UINT, CPoint) { Default(); }

void CPVXView::OnMouseMove(UINT nFlags, CPoint point) { GRenderView::OnMouseMove(nFlags, point); }

void CPVXView::OnDestroy() { GRenderView::OnDestroy(); }

void CPVXView::OnPvxTestCommand(UINT nID) {
    if (!IsResultViewMode() || !m_pPVXModel) return;
    I_PVXCtrl* pCtrl = GetI_PVXCtrl();
    if (pCtrl->IsGLRenderer() && pCtrl->IsXGRMode()) pCtrl->XGR_SetRebuildGeom(1);
    T_PVX_DOPT_D* pOpt = m_pPVXModel->m_pDispOpt;
    switch (nID) {
    case ID_PVX_TEST_RENDER_STYLE:
        if (pOpt) pOpt->m_nRenderStyle = !pOpt->m_nRenderStyle;
        break;
    case ID_PVX_TEST_WIRE_FRAME:
        if (pOpt) pOpt->m_bWireFrame = !pOpt->m_bWireFrame;
        break;
    case ID_PVX_TEST_SWITCH1:
        m_pPVXModel->m_bTestSwitch1 = !m_pPVXModel->m_bTestSwitch1;
        break;
    case ID_PVX_TEST_SWITCH2:
        m_pPVXModel->m_bTestSwitch2 = !m_pPVXModel->m_bTestSwitch2;
        break;
    default:
        return;
    }
    m_pPVXModel->m_bRedrawRequested = 1;
    m_pPVXModel->PVXRender();
}

void CPVXView::OnUpdatePvxTestCommand(CCmdUI* pCmdUI) {
    if (!m_pPVXModel) return;
    const T_PVX_DOPT_D* pOpt = m_pPVXModel->m_pDispOpt;
    int on = 0;
    switch (pCmdUI->m_nID) {
    case ID_PVX_TEST_RENDER_STYLE: on = pOpt && pOpt->m_nRenderStyle; break;
    case ID_PVX_TEST_WIRE_FRAME: on = pOpt && pOpt->m_bWireFrame; break;
    case ID_PVX_TEST_SWITCH1: on = m_pPVXModel->m_bTestSwitch1; break;
    case ID_PVX_TEST_SWITCH2: on = m_pPVXModel->m_bTestSwitch2; break;
    default: return;
    }
    pCmdUI->SetCheck(on ? 1 : 0);
}
