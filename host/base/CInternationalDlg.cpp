#include "host/base/CInternationalDlg.h"

IMPLEMENT_DYNAMIC(CInternationalDlg, CDialog)

CInternationalDlg::CInternationalDlg(UINT nIDTemplate, CWnd* pParent) : CDialog(nIDTemplate, pParent) {}

CInternationalDlg::~CInternationalDlg() = default;

IMPLEMENT_DYNAMIC(CDlgMove, CInternationalDlg)

CDlgMove::CDlgMove(UINT nIDTemplate, CWnd* pParent) : CInternationalDlg(nIDTemplate, pParent) {}

CDlgMove::~CDlgMove() = default;
