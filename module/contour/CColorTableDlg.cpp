#include "module/contour/CColorTableDlg.h"

#include <cstring>

#include "platform/ui/afxmsg.h"

const UINT CPVXCtmzCtDlg::s_nWellIds[NUM_KEYS] = {IDC_CCT_WELL1, IDC_CCT_WELL2, IDC_CCT_WELL3, IDC_CCT_WELL4,
                                                  IDC_CCT_WELL5, IDC_CCT_WELL6, IDC_CCT_WELL7};
const int CPVXCtmzCtDlg::s_nKeyEntries[NUM_KEYS] = {0, 1, 2, 3, 4, 5, 30};

IMPLEMENT_DYNAMIC(CPVXCtmzCtDlg, CDialog)

BEGIN_MESSAGE_MAP(CPVXCtmzCtDlg, CDialog)
    ON_BN_CLICKED(IDC_CCT_DEFAULT, OnDefault)
END_MESSAGE_MAP()

CPVXCtmzCtDlg::CPVXCtmzCtDlg(CWnd* pParent)
    : CDialog(IDD_PVX_CUSTOM_COLOR_TABLE, pParent), m_pView(nullptr), m_pContourEngine(nullptr) {
    std::memset(m_crBackup, 0, sizeof(m_crBackup));
    std::memset(m_crTableBackup, 0, sizeof(m_crTableBackup));
}

CPVXCtmzCtDlg::~CPVXCtmzCtDlg() = default;

BOOL CPVXCtmzCtDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_pContourEngine) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    CContourEngine& ce = *m_pContourEngine;
    std::memcpy(m_crTableBackup, ce.m_crColorTable, sizeof(m_crTableBackup));
    for (int i = 0; i < NUM_KEYS; i++) {
        m_crBackup[i] = ce.GetSerialColor(s_nKeyEntries[i]);
        m_Wells[i].Attach(s_nWellIds[i], this, m_crBackup[i]);
    }
    return TRUE;
}

void CPVXCtmzCtDlg::OnDefault() {
    if (!m_pContourEngine) return;
    CContourEngine& ce = *m_pContourEngine;
    ce.InitColorTable();
    ce.MakeColorTable();
    for (int i = 0; i < NUM_KEYS; i++) m_Wells[i].SetColor(ce.GetSerialColor(s_nKeyEntries[i]));
}

void CPVXCtmzCtDlg::OnOK() {
    if (m_pContourEngine) {
        for (int i = 0; i < NUM_KEYS; i++) m_pContourEngine->SetSerialColor(s_nKeyEntries[i], m_Wells[i].GetColor());
        m_pContourEngine->MakeColorTable();
    }
    EndDialog(IDOK);
}

void CPVXCtmzCtDlg::OnCancel() {
    if (m_pContourEngine) {
        // Default rewrote the key colours of all four tables; put every table back, then the
        // current table's keys as the dialog found them, and interpolate.
        std::memcpy(m_pContourEngine->m_crColorTable, m_crTableBackup, sizeof(m_crTableBackup));
        for (int i = 0; i < NUM_KEYS; i++) m_pContourEngine->SetSerialColor(s_nKeyEntries[i], m_crBackup[i]);
        m_pContourEngine->MakeColorTable();
    }
    EndDialog(IDCANCEL);
}
