// CAnimationEngine: construction, destruction and the animation mode.
#include "module/animation/CAnimationEngine.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "module/animation/CAniCtrlBar.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CView.h"
#include "platform/ui/uiapi.h"
#include "platform/video/MCIWnd.h"

CAnimationEngine::CAnimationEngine()
    : m_pModel(nullptr),
      m_pAniCtrlBar(nullptr),
      m_hMCIWnd(nullptr),
      m_bCompress(0),
      m_nBitsPerPixel(16),
      m_nFramesPerHalfCycle(8),
      m_nFramesPerSecond(8),
      m_nCurFrame(0),
      m_nPlayState(PLAY_STOPPED),
      m_bRecording(0),
      m_bRecorded(0),
      m_bAnimationMode(0),
      m_bAnimateContour(1),
      m_bFullCycle(0),
      m_bTimer0(0),
      m_bTimer1(0),
      m_CompressOptions{} {
    InitCompressOptions();
    m_pAniCtrlBar = new CAniCtrlBar;
}

CAnimationEngine::~CAnimationEngine() {
    if (::IsWindow(m_hMCIWnd) && MCIWndGetMode(m_hMCIWnd, nullptr, 0) == MCI_MODE_PLAY) MCIWndStop(m_hMCIWnd);
    CloseAVIFiles();
    ExitAnimationMode();
    if (m_pAniCtrlBar && m_pAniCtrlBar->GetSafeHwnd()) m_pAniCtrlBar->DestroyWindow();
    ReleaseFinalFile();
    delete m_pAniCtrlBar;
    m_pAniCtrlBar = nullptr;
}

namespace {
CWnd* ViewWindow(I_PVXModel* pModel) {
    CView* pView = pModel ? pModel->GetView() : nullptr;
    return pView && pView->GetSafeHwnd() ? pView : nullptr;
}
}  // namespace

void CAnimationEngine::StopPlaybackWindow() {
    if (CWnd* pView = ViewWindow(m_pModel)) {
        if (m_bTimer0) pView->KillTimer(TIMER_PLAY);
        if (m_bTimer1) pView->KillTimer(TIMER_SLIDER);
    }
    m_bTimer0 = 0;
    m_bTimer1 = 0;
    CloseAVIFiles();
}

void CAnimationEngine::StopAnimation() {
    StopPlaybackWindow();
    if (m_pModel) m_pModel->m_bAnimation = 0;
    m_bRecorded = 0;
    m_bRecording = 0;
    if (::IsWindow(m_hMCIWnd)) {
        if (MCIWndGetMode(m_hMCIWnd, nullptr, 0) == MCI_MODE_PLAY) MCIWndStop(m_hMCIWnd);
        ::SendMessage(m_hMCIWnd, WM_CLOSE, 0, 0);
    }
    m_hMCIWnd = nullptr;
    if (m_pAniCtrlBar && m_pAniCtrlBar->GetSafeHwnd()) {
        m_pAniCtrlBar->ShowProgress();
        m_pAniCtrlBar->m_wndProgress.SetPos(0);
    }
}

void CAnimationEngine::ExitAnimationMode() {
    StopPlaybackWindow();
    if (m_pModel) m_pModel->m_bAnimation = 0;
    m_bRecorded = 0;
    m_bRecording = 0;
    m_bAnimationMode = 0;
    CAniCtrlBar* pBar = m_pAniCtrlBar;
    CView* pView = m_pModel ? m_pModel->GetView() : nullptr;
    CFrameWnd* pFrame = pView && pView->GetSafeHwnd() ? pView->GetParentFrame() : nullptr;
    if (pBar && pBar->GetSafeHwnd() && pFrame && pBar->IsWindowVisible()) pFrame->ShowControlBar(pBar, FALSE, FALSE);
    if (::IsWindow(m_hMCIWnd)) {
        if (MCIWndGetMode(m_hMCIWnd, nullptr, 0) == MCI_MODE_PLAY) MCIWndStop(m_hMCIWnd);
        ::SendMessage(m_hMCIWnd, WM_CLOSE, 0, 0);
    }
    m_hMCIWnd = nullptr;
    ReleaseFinalFile();
    if (m_pModel && m_pModel->m_pPVXCtrl) m_pModel->ResetLegendRect();
}

void CAnimationEngine::ReleaseFinalFile() {
    // The path only ever names a file this engine created: another program's film is never
    // deleted here.
    if (!m_strFinalPath.IsEmpty()) std::remove(m_strFinalPath.GetString());
    m_strFinalPath.Empty();
}

BOOL CAnimationEngine::ReserveFinalFile() {
    m_strFinalPath.Empty();
    const CString strDir = PreferenceTempDir();
    // Without a project there is no temporary folder: no film is made in the working folder.
    if (strDir.IsEmpty()) return FALSE;
    for (int n = kFirstFilmNumber; n <= kLastFilmNumber; ++n) {
        CString name;
        name.Format("~PVX%d.AVI", n);
        const CString path = strDir + name;
        // Created exclusively: a name another program holds is passed over, never opened.
        const int fd = ::open(path.GetString(), O_CREAT | O_EXCL | O_RDWR, 0666);
        if (fd >= 0) {
            ::close(fd);
            m_strFinalPath = path;
            return TRUE;
        }
        // A folder that cannot take files at all: the recording reports it.
        if (errno != EEXIST) return FALSE;
    }
    CString msg;
    msg.Format("Every animation file name ~PVX%d.AVI to ~PVX%d.AVI in \"%s\" is taken by other files; they are left "
               "as they are. Delete the ones no program uses, or choose another temporary folder, then start the "
               "animation again.",
               kFirstFilmNumber, kLastFilmNumber, strDir.GetString());
    AfxMessageBox(msg, MB_OK | MB_ICONSTOP);
    return FALSE;
}

void CAnimationEngine::EnterAnimationMode() {
    // Entered again without leaving (every option dialog does so): the film of the earlier
    // entry is released before a new one is reserved.
    if (::IsWindow(m_hMCIWnd)) ::SendMessage(m_hMCIWnd, WM_CLOSE, 0, 0);
    m_hMCIWnd = nullptr;
    StopPlaybackWindow();
    ReleaseFinalFile();
    m_bRecorded = 0;
    m_bRecording = 0;
    m_bAnimationMode = 1;
    m_nPlayState = PLAY_STOPPED;
    ReserveFinalFile();
    CreateAnimationToolBar();
    if (m_pAniCtrlBar) {
        CExtMarquee& marquee = m_pAniCtrlBar->m_wndMarquee;
        marquee.Reset();
        marquee.SetText(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Press_Record_Button", 0));
        marquee.StartScrolling(1);
    }
}

void CAnimationEngine::ApplyAnimationModeRule() {
    if (m_pModel && m_pModel->m_bAnimation)
        EnterAnimationMode();
    else if (m_bAnimationMode || (m_pAniCtrlBar && m_pAniCtrlBar->GetSafeHwnd()))
        ExitAnimationMode();
}

void CAnimationEngine::CreateAnimationToolBar() {
    CAniCtrlBar* pBar = m_pAniCtrlBar;
    CView* pView = m_pModel ? m_pModel->GetView() : nullptr;
    CFrameWnd* pFrame = pBar && pView && pView->GetSafeHwnd() ? pView->GetParentFrame() : nullptr;
    if (!pFrame) return;
    if (!pBar->GetSafeHwnd()) {
        const DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM | CBRS_GRIPPER | CBRS_BORDER_TOP | CBRS_TOOLTIPS |
                            CBRS_FLYBY | CBRS_SIZE_DYNAMIC;
        if (!pBar->CreateEx(pFrame, TBSTYLE_FLAT, style, CRect(0, 0, 0, 0), CAniCtrlBar::ID_BAR_WINDOW) ||
            !pBar->LoadToolBar(CAniCtrlBar::IDR_TOOLBAR)) {
            if (pBar->GetSafeHwnd()) pBar->DestroyWindow();
            GMsgOutNF(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Failed_to_create_toolbar", 0));
            return;
        }
        pBar->SetWindowText("Animation");
        pBar->EnableDocking(CBRS_ALIGN_TOP | CBRS_ALIGN_BOTTOM);
        pFrame->EnableDocking(CBRS_ALIGN_ANY);
        pFrame->DockControlBar(pBar);
        pBar->m_pModel = m_pModel;
    } else if (!pBar->IsWindowVisible()) {
        pFrame->ShowControlBar(pBar, TRUE, FALSE);
    }
    pBar->PlaceMarquee();
    pBar->ShowProgress();
    pBar->m_wndProgress.SetRange32(0, RenderedFrameCount());
    pBar->m_wndProgress.SetPos(0);
}

DWORD& CAnimationEngine::CompressWord(int i) {
    static constexpr DWORD AVICOMPRESSOPTIONS::*kWords[] = {
        &AVICOMPRESSOPTIONS::fccType,  &AVICOMPRESSOPTIONS::fccHandler,       &AVICOMPRESSOPTIONS::dwKeyFrameEvery,
        &AVICOMPRESSOPTIONS::dwQuality, &AVICOMPRESSOPTIONS::dwBytesPerSecond, &AVICOMPRESSOPTIONS::dwFlags,
        &AVICOMPRESSOPTIONS::lpFormat, &AVICOMPRESSOPTIONS::cbFormat,         &AVICOMPRESSOPTIONS::lpParms,
        &AVICOMPRESSOPTIONS::cbParms,  &AVICOMPRESSOPTIONS::dwInterleaveEvery};
    static_assert(sizeof(kWords) / sizeof(kWords[0]) == 11, "one entry per word of the options");
    return m_CompressOptions.*kWords[i < 0 ? 0 : i > 10 ? 10 : i];
}
