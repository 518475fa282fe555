// CAnimationEngine::GetAnimationFactor: the frame factor every result engine scales its drawn
// values by while an animation is recorded.
#include "module/animation/CAnimationEngine.h"

#include "module/model/I_PVXModel.h"

double CAnimationEngine::GetAnimationFactor(int bSigned) const {
    if (!m_pModel || !m_pModel->m_bAnimation || !m_bRecording || m_pModel->m_bAmplitudeOff) return 1.0;
    const int N = FramesPerHalfCycle();
    const int k = m_nCurFrame;
    const int P = N + 1;
    const int q = k / P, r = k % P;
    switch (q) {
    case 0: return static_cast<double>(k) / N;
    case 1: return static_cast<double>(N - r) / N;
    case 2: return bSigned ? static_cast<double>(r) / N : -static_cast<double>(r) / N;
    case 3: return bSigned ? static_cast<double>(N - r) / N : static_cast<double>(r - N) / N;
    default: return static_cast<double>(bSigned) / N;
    }
}
