#include "host/base/CDockDlgBarBase.h"

#include <atomic>

#include "host/base/CHostRequestLog.h"

IMPLEMENT_DYNAMIC(CDockDlgBarBase, CControlBar)

CDockDlgBarBase* CDockDlgBarBase::m_pMyself = nullptr;

namespace {
std::atomic<int> g_nMode{-1};  // result id shown, -1 when closed
}

CDockDlgBarBase::CDockDlgBarBase() { m_pMyself = this; }

CDockDlgBarBase::~CDockDlgBarBase() {
    if (m_pMyself == this) {
        m_pMyself = nullptr;
        g_nMode = -1;
    }
}

int CDockDlgBarBase::GetDlgBarMode() { return g_nMode.load(); }

void CDockDlgBarBase::ShowDlgBarMode(int nMode, int nOption) {
    CHostRequestLog::Add(HR_SHOW_DLGBAR, nMode, nOption);
    if (m_pMyself && !m_pMyself->OnShowBarMode(nMode, nOption)) {
        g_nMode = -1;
        return;
    }
    g_nMode = nMode;
}

void CDockDlgBarBase::CloseDlgBar() {
    CHostRequestLog::Add(HR_CLOSE_DLGBAR, g_nMode.load());
    if (m_pMyself) m_pMyself->OnCloseBar();
    g_nMode = -1;
}

BOOL CDockDlgBarBase::OnShowBarMode(int, int) {
    if (GetSafeHwnd()) ShowWindow(SW_SHOW);
    return TRUE;
}

void CDockDlgBarBase::OnCloseBar() {
    if (GetSafeHwnd()) ShowWindow(SW_HIDE);
}
