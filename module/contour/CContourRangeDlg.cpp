#include "module/contour/CContourRangeDlg.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNAMIC(CPVXCtmzRrDlg, CDialog)

BEGIN_MESSAGE_MAP(CPVXCtmzRrDlg, CDialog)
    ON_BN_CLICKED(IDC_CRR_USER_VALUE, OnClickUserValue)
    ON_EN_KILLFOCUS(IDC_CRR_VALUE, OnKillfocusValue)
    ON_BN_CLICKED(IDC_CRR_DEFAULT, OnDefault)
    ON_NOTIFY(LVN_ITEMCHANGED, IDC_CRR_LIST, OnItemchangedList)
END_MESSAGE_MAP()

namespace {

CString LevelText(double v, const char* fmt) {
    CString s;
    s.Format(fmt, v);
    return s;
}

// The typed text as a single-precision number; FALSE when it is no finite number.
BOOL ParseValue(const CString& text, float& value) {
    float f = 0.0f;
    if (std::sscanf(static_cast<LPCTSTR>(text), "%f", &f) != 1 || !std::isfinite(f)) return FALSE;
    value = f;
    return TRUE;
}

}  // namespace

CPVXCtmzRrDlg::CPVXCtmzRrDlg(CWnd* pParent)
    : CDialog(IDD_PVX_CUSTOM_RANGE, pParent),
      m_pView(nullptr),
      m_pContourEngine(nullptr),
      m_bUserValue(0),
      m_nSelectedRank(-1) {}

CPVXCtmzRrDlg::~CPVXCtmzRrDlg() = default;

void CPVXCtmzRrDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CRR_LIST, m_List);
    DDX_Check(pDX, IDC_CRR_USER_VALUE, m_bUserValue);
    DDX_Text(pDX, IDC_CRR_VALUE, m_strValue);
}

int CPVXCtmzRrDlg::RankCount() const {
    int n = m_pContourEngine->m_nNumColor;
    if (n < 0) n = 0;
    if (n > CContourEngine::MAX_LEVELS) n = CContourEngine::MAX_LEVELS;
    return n;
}

BOOL CPVXCtmzRrDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_pContourEngine) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    if (m_ImageList.Create(IDB_PVX_RANK_IMAGES, 16, 1, RGB(255, 0, 255))) m_List.SetImageList(&m_ImageList, LVSIL_SMALL);
    InitColumns();
    m_List.ModifyStyle(LVS_TYPEMASK, LVS_REPORT);
    FillList();
    if (CWnd* p = GetDlgItem(IDC_CRR_USER_VALUE)) p->EnableWindow(FALSE);
    if (CWnd* p = GetDlgItem(IDC_CRR_VALUE)) p->EnableWindow(FALSE);
    SetDlgItemText(IDC_CRR_MAX_TEXT, LevelText(m_pContourEngine->m_dMaxValue, "%5.10f"));
    SetDlgItemText(IDC_CRR_MIN_TEXT, LevelText(m_pContourEngine->m_dMinValue, "%5.10f"));
    return TRUE;
}

void CPVXCtmzRrDlg::InitColumns() {
    CRect rc;
    m_List.GetClientRect(&rc);
    int nValueWidth = rc.Width() - 100;
    // Six rows fit without a scroll bar; more need room for one.
    if (m_pContourEngine && m_pContourEngine->m_nNumColor != 6) nValueWidth -= GetSystemMetrics(SM_CXVSCROLL);
    if (nValueWidth < 0) nValueWidth = 0;
    m_List.InsertColumn(0, "Rank", LVCFMT_LEFT, 100);
    m_List.InsertColumn(1, "Rank Value", LVCFMT_LEFT, nValueWidth);
}

void CPVXCtmzRrDlg::SetRow(int r, BOOL bInsert) {
    CString name;
    name.Format("Rank %d", r);
    const int nImage = m_pContourEngine->IsCustomRank(r) ? 1 : 0;
    if (bInsert) m_List.InsertItem(r, name, nImage);
    m_List.SetItemText(r, 1, LevelText(m_pContourEngine->m_dRankMap[r], "%5.10f"));
}

void CPVXCtmzRrDlg::FillList() {
    if (!m_pContourEngine) return;
    const int n = RankCount();
    for (int r = 0; r < n; r++) SetRow(r, TRUE);
}

void CPVXCtmzRrDlg::RefreshList() {
    if (!m_pContourEngine) return;
    const int n = RankCount();
    // A rebuild may change N only through the engine; drop rows beyond it.
    while (m_List.GetItemCount() > n) m_List.DeleteItem(m_List.GetItemCount() - 1);
    for (int r = 0; r < n; r++) {
        if (r < m_List.GetItemCount()) m_List.DeleteItem(r);
        SetRow(r, TRUE);
    }
}

void CPVXCtmzRrDlg::OnItemchangedList(NMHDR*, LRESULT* pResult) {
    if (pResult) *pResult = 0;
    if (!m_pContourEngine) return;
    POSITION pos = m_List.GetFirstSelectedItemPosition();
    const int s = pos ? m_List.GetNextSelectedItem(pos) : -1;
    if (s == m_nSelectedRank) return;
    UpdateData(TRUE);
    if (s >= 0 && s < CContourEngine::MAX_LEVELS) m_strValue = LevelText(m_pContourEngine->m_dRankMap[s], "%f");
    if (CWnd* p = GetDlgItem(IDC_CRR_USER_VALUE)) p->EnableWindow(s > 0 && s < m_List.GetItemCount() - 1);
    m_nSelectedRank = s;
    m_bUserValue = (s >= 0 && m_pContourEngine->IsCustomRank(s)) ? 1 : 0;
    if (CWnd* p = GetDlgItem(IDC_CRR_VALUE)) p->EnableWindow(m_bUserValue);
    UpdateData(FALSE);
}

void CPVXCtmzRrDlg::OnClickUserValue() {
    UpdateData(TRUE);
    CWnd* pEdit = GetDlgItem(IDC_CRR_VALUE);
    if (!pEdit) return;
    pEdit->EnableWindow(m_bUserValue);
    if (m_bUserValue) pEdit->SetFocus();
}

void CPVXCtmzRrDlg::OnKillfocusValue() {
    if (!m_pContourEngine) return;
    const int r = m_nSelectedRank;
    if (r < 0 || r >= RankCount()) return;
    UpdateData(TRUE);
    const double level = m_pContourEngine->m_dRankMap[r];
    float value = 0.0f;
    if (!ParseValue(m_strValue, value) || !m_pContourEngine->IsValidKnot(r, value)) {
        MessageBox("Invalid Contour Value!");
        m_strValue = LevelText(level, "%f");
        SetDlgItemText(IDC_CRR_VALUE, m_strValue);
        return;
    }
    // The field shows the level rounded by "%f"; leaving it as shown is no change.
    float shown = 0.0f;
    ParseValue(LevelText(level, "%f"), shown);
    if (value == shown || static_cast<double>(value) == level) return;
    m_pContourEngine->InsertKnot(r, value);
    m_pContourEngine->MakeRankMap();
    m_pContourEngine->ResetColors();
    RefreshList();
}

void CPVXCtmzRrDlg::OnDefault() {
    if (!m_pContourEngine) return;
    m_pContourEngine->DeleteKnot(m_nSelectedRank);
    m_pContourEngine->MakeRankMap();
    m_pContourEngine->ResetColors();
    m_bUserValue = 0;
    CheckDlgButton(IDC_CRR_USER_VALUE, BST_UNCHECKED);
    if (CWnd* p = GetDlgItem(IDC_CRR_VALUE)) p->EnableWindow(FALSE);
    RefreshList();
}
