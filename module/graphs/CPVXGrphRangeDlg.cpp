#include "module/graphs/CPVXGrphRangeDlg.h"

#include "host/base/CMsgDll.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

namespace {
const UINT kBounds[] = {IDC_PVX_GRR_XMIN, IDC_PVX_GRR_XMAX, IDC_PVX_GRR_YMIN, IDC_PVX_GRR_YMAX};
}  // namespace

IMPLEMENT_DYNAMIC(CPVXGrphRangeDlg, CDlgMove)

BEGIN_MESSAGE_MAP(CPVXGrphRangeDlg, CDlgMove)
    ON_BN_CLICKED(IDC_PVX_GRR_AUTO, OnAuto)
END_MESSAGE_MAP()

CPVXGrphRangeDlg::CPVXGrphRangeDlg(CWnd* pParent)
    : CDlgMove(IDD_PVX_GRPH_RANGE, pParent), m_bAuto(1), m_dXMin(0.0), m_dXMax(0.0), m_dYMin(0.0), m_dYMax(0.0) {}

CPVXGrphRangeDlg::~CPVXGrphRangeDlg() = default;

void CPVXGrphRangeDlg::DoDataExchange(CDataExchange* pDX) {
    CDlgMove::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_PVX_GRR_AUTO, m_bAuto);
    DDX_Text(pDX, IDC_PVX_GRR_XMIN, m_dXMin);
    DDX_Text(pDX, IDC_PVX_GRR_XMAX, m_dXMax);
    DDX_Text(pDX, IDC_PVX_GRR_YMIN, m_dYMin);
    DDX_Text(pDX, IDC_PVX_GRR_YMAX, m_dYMax);
}

BOOL CPVXGrphRangeDlg::OnInitDialog() {
    CDlgMove::OnInitDialog();
    EnableBounds();
    return TRUE;
}

void CPVXGrphRangeDlg::EnableBounds() {
    const BOOL bAuto = IsDlgButtonChecked(IDC_PVX_GRR_AUTO) != 0;
    for (UINT id : kBounds)
        if (CWnd* p = GetDlgItem(static_cast<int>(id))) p->EnableWindow(!bAuto);
}

void CPVXGrphRangeDlg::OnAuto() { EnableBounds(); }

void CPVXGrphRangeDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    // A fixed range must have room on both axes, or the chart would show nothing.
    if (!m_bAuto && !(m_dXMin < m_dXMax && m_dYMin < m_dYMax)) {
        AfxMessageBox(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Graph_Range_is_invalid", 0), MB_OK | MB_ICONSTOP);
        return;
    }
    EndDialog(IDOK);
}
