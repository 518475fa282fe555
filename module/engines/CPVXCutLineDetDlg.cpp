#include "module/engines/CPVXCutLineDetDlg.h"

CArray<int, int> CPVXCutLineDetDlg::m_arrSelCutLine;
int CPVXCutLineDetDlg::m_nSetting[5] = {0, 0, 0, 0, 0};
double CPVXCutLineDetDlg::m_dScaleFactor = 1.0;
int CPVXCutLineDetDlg::m_bOutputValues = 1;
int CPVXCutLineDetDlg::m_bOnlyMinMax = 1;
COLORREF CPVXCutLineDetDlg::m_crDiagram = RGB(255, 0, 0);
int CPVXCutLineDetDlg::m_nDirection = 1;

CPVXCutLineDetDlg::CPVXCutLineDetDlg(CArray<int, int>* pSelected, CWnd*) : m_pSelected(pSelected) {}

CPVXCutLineDetDlg::~CPVXCutLineDetDlg() {
    if (GetSafeHwnd()) DestroyWindow();
}
