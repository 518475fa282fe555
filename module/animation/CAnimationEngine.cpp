#include "module/animation/CAnimationEngine.h"

#include <cstdio>

#include "module/animation/CAniCtrlBar.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CView.h"

CAnimationEngine::CAnimationEngine()
    : m_pModel(nullptr),
      m_pAniCtrlBar(new CAniCtrlBar),
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
      m_aCompressOptions{} {}

CAnimationEngine::~CAnimationEngine() {
    delete m_pAniCtrlBar;
    m_pAniCtrlBar = nullptr;
}

namespace {
CWnd* ViewWindow(I_PVXModel* pModel) {
    CView* pView = pModel ? pModel->GetView() : nullptr;
    return pView && pView->GetSafeHwnd() ? pView : nullptr;
}
}  // namespace

void CAnimationEngine::RecordAnimation() {
    // The frames go to the temporary file and the media window plays it back; the state moves
    // as a recording does, and the view's playback timers start.
    m_bRecording = 1;
    m_nCurFrame = 0;
    m_bRecording = 0;
    m_bRecorded = 1;
    m_nPlayState = PLAY_NORMAL;
    if (CWnd* pView = ViewWindow(m_pModel)) {
        pView->SetTimer(TIMER_PLAY, 250);
        pView->SetTimer(TIMER_SLIDER, 10);
    }
    m_bTimer0 = 1;
    m_bTimer1 = 1;
}

void CAnimationEngine::StopAnimation() {
    if (CWnd* pView = ViewWindow(m_pModel)) {
        if (m_bTimer0) pView->KillTimer(TIMER_PLAY);
        if (m_bTimer1) pView->KillTimer(TIMER_SLIDER);
    }
    m_bTimer0 = 0;
    m_bTimer1 = 0;
    if (m_pModel) m_pModel->m_bAnimation = 0;
    m_bRecording = 0;
    m_bRecorded = 0;
    m_nPlayState = PLAY_STOPPED;
    m_hMCIWnd = nullptr;
    if (m_pAniCtrlBar) {
        m_pAniCtrlBar->m_wndMarquee.Reset();
        if (m_pAniCtrlBar->m_wndSlider.GetSafeHwnd()) m_pAniCtrlBar->m_wndSlider.SetPos(0);
    }
}

void CAnimationEngine::ExitAnimationMode() {
    StopAnimation();
    m_bAnimationMode = 0;
    if (m_pAniCtrlBar && m_pAniCtrlBar->GetSafeHwnd()) m_pAniCtrlBar->ShowWindow(SW_HIDE);
    if (!m_strTempPath.IsEmpty()) std::remove(static_cast<LPCTSTR>(m_strTempPath));
    m_strTempPath.Empty();
    if (m_pModel) m_pModel->ResetLegendRect();
}

void CAnimationEngine::EnterAnimationMode() { m_bAnimationMode = 1; }
