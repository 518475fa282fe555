#include "animation/CAnimationEngine.h"

#include "animation/CAniCtrlBar.h"
#include "model/I_PVXModel.h"

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
      m_bTimer1(0) {}

CAnimationEngine::~CAnimationEngine() {
    delete m_pAniCtrlBar;
    m_pAniCtrlBar = nullptr;
}

void CAnimationEngine::RecordAnimation() {
    // Frames are rendered into the temporary file and played back from it; here the state
    // moves as a recording does.
    m_bRecording = 1;
    m_nCurFrame = 0;
    m_bRecording = 0;
    m_bRecorded = 1;
    m_nPlayState = PLAY_NORMAL;
    m_bTimer0 = 1;
    m_bTimer1 = 1;
}

void CAnimationEngine::StopAnimation() {
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
    m_strTempPath.Empty();
    if (m_pModel) m_pModel->ResetLegendRect();
}

void CAnimationEngine::EnterAnimationMode() { m_bAnimationMode = 1; }
