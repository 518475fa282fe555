#include "module/engines/CCutlineGraphDetDlg.h"

#include "platform/ui/DataExchange.h"

IMPLEMENT_DYNAMIC(CCutlineGraphDetDlg, CDialog)

CCutlineGraphDetDlg::CCutlineGraphDetDlg(CWnd* pParent)
    : CDialog(IDD_PVX_CUTLINE_GRAPH, pParent), m_nXAxis(-1), m_nGraphMode(-1) {}

CCutlineGraphDetDlg::~CCutlineGraphDetDlg() = default;

void CCutlineGraphDetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_CUTG_X_DISTANCE, m_nXAxis);
    DDX_Radio(pDX, IDC_CUTG_PER_ELEMENT, m_nGraphMode);
}
