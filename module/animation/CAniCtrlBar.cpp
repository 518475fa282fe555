#include "module/animation/CAniCtrlBar.h"

CExtMarquee::CExtMarquee() : m_bScrolling(0) {}
CExtMarquee::~CExtMarquee() = default;

void CExtMarquee::Reset() {
    m_strText.Empty();
    m_bScrolling = 0;
}

void CExtMarquee::SetText(LPCTSTR pszText) { m_strText = pszText ? pszText : ""; }

void CExtMarquee::StartScrolling(int bStart) { m_bScrolling = bStart ? 1 : 0; }

CAniCtrlBar::CAniCtrlBar() : m_pModel(nullptr) {}
CAniCtrlBar::~CAniCtrlBar() = default;
