#include "host/base/CDlgPanel.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

IMPLEMENT_DYNAMIC(CDlgChild, CInternationalDlg)

CDlgChild::CDlgChild(UINT nIDTemplate, CWnd* pParent) : CInternationalDlg(nIDTemplate, pParent) {}

CDlgChild::~CDlgChild() = default;

IMPLEMENT_DYNAMIC(CDlgModeless, CDlgMove)

CDlgModeless::CDlgModeless(UINT nIDTemplate, CWnd* pParent) : CDlgMove(nIDTemplate, pParent) {}

CDlgModeless::~CDlgModeless() = default;

void CDlgModeless::PostNcDestroy() {
    CDlgMove::PostNcDestroy();
    delete this;
}

IMPLEMENT_DYNAMIC(CDlgTabAlive, CTabCtrl)

int CDlgTabAlive::AddTab(CDialog* page, LPCTSTR caption, UINT nIDTemplate, int /*nKeepAlive*/) {
    CWnd* parent = GetParent();
    if (!page || !parent || !page->Create(nIDTemplate, parent)) return -1;
    // The page covers the tab control below its row of tabs.
    CRect r;
    GetWindowRect(&r);
    parent->ScreenToClient(&r);
    constexpr int kTabRow = 20;
    page->MoveWindow(r.left + 2, r.top + kTabRow, r.Width() - 4, r.Height() - kTabRow - 2, FALSE);
    page->ShowWindow(SW_HIDE);
    const int index = GetItemCount();
    if (InsertItem(index, caption) != index) return -1;
    m_pages.push_back(page);
    m_captions.push_back(caption);
    return index;
}

BOOL CDlgTabAlive::ShowTab(int i) {
    if (i < 0 || i >= GetPageCount()) return FALSE;
    for (int k = 0; k < GetPageCount(); ++k)
        if (k != i && m_pages[k]->GetSafeHwnd()) m_pages[k]->ShowWindow(SW_HIDE);
    if (m_pages[i]->GetSafeHwnd()) m_pages[i]->ShowWindow(SW_SHOW);
    return TRUE;
}

CDialog* CDlgTabAlive::GetPage(int i) const { return i >= 0 && i < GetPageCount() ? m_pages[i] : nullptr; }

IMPLEMENT_DYNAMIC(CEditUnit, CEdit)

void CEditUnit::SetUnitFmt(int nWidth, int nDecimals) {
    m_nWidth = nWidth;
    m_nDecimals = nDecimals < 0 ? 0 : nDecimals > 15 ? 15 : nDecimals;
}

void CEditUnit::SetEditUnit(double value) {
    m_dValue = value;
    if (!GetSafeHwnd()) return;
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", m_nDecimals, value);
    SetWindowText(text);
}

double CEditUnit::GetEditValue() const {
    double v = m_dValue;
    return ReadEditValue(v) ? v : m_dValue;
}

BOOL CEditUnit::ReadEditValue(double& value) const {
    if (!GetSafeHwnd()) {
        value = m_dValue;
        return TRUE;
    }
    CString s;
    GetWindowText(s);
    const char* p = s.GetString();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(p, &end);
    while (end && (*end == ' ' || *end == '\t')) ++end;
    if (end == p || !end || *end != '\0' || errno != 0 || !std::isfinite(v)) return FALSE;
    value = v;
    return TRUE;
}

IMPLEMENT_DYNAMIC(CColorListBox, CListBox)

namespace {
std::unique_ptr<CFunctionRegestor>& TheFunctionRegestor() {
    static std::unique_ptr<CFunctionRegestor> p;
    return p;
}
}  // namespace

CFunctionRegestor* CFunctionRegestor::Instance() { return TheFunctionRegestor().get(); }

CFunctionRegestor* CFunctionRegestor::Create() {
    if (!TheFunctionRegestor()) TheFunctionRegestor() = std::make_unique<CFunctionRegestor>();
    return TheFunctionRegestor().get();
}

void CFunctionRegestor::Destroy() { TheFunctionRegestor().reset(); }

int CFunctionRegestor::Register(int nClass, const sFunctionInfor& info, Function fn) {
    m_entries.push_back({nClass, info, std::move(fn)});
    return static_cast<int>(m_entries.size()) - 1;
}

void CFunctionRegestor::Unregister(int index) {
    if (index >= 0 && index < static_cast<int>(m_entries.size())) m_entries[static_cast<size_t>(index)].fn = nullptr;
}

int CFunctionRegestor::ExcluteFunc(int nClass, sFunctionInfor& info, int& index) const {
    for (size_t i = m_entries.size(); i-- > 0;)
        if (m_entries[i].nClass == nClass && m_entries[i].fn) {
            info = m_entries[i].info;
            index = static_cast<int>(i);
            return 1;
        }
    return 0;
}

int CFunctionRegestor::CallMemberFunc(int index, UINT second, UINT first, int flag) {
    if (index < 0 || index >= static_cast<int>(m_entries.size()) || !m_entries[static_cast<size_t>(index)].fn) return 0;
    // A copy: the function may register or unregister others.
    Function fn = m_entries[static_cast<size_t>(index)].fn;
    fn(second, first, flag);
    return 1;
}
