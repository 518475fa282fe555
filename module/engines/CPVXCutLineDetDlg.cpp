#include "module/engines/CPVXCutLineDetDlg.h"

#include <cmath>
#include <cstdio>

#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "module/engines/CCutlineGraphDetDlg.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CView.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

CArray<UINT, UINT> CPVXCutLineDetDlg::m_arrSelCutLine;
double CPVXCutLineDetDlg::m_dScaleFactor = 1.0;
int CPVXCutLineDetDlg::m_bOutputValues = 1;
int CPVXCutLineDetDlg::m_bOnlyMinMax = 1;
COLORREF CPVXCutLineDetDlg::m_crDiagram = RGB(255, 0, 0);
int CPVXCutLineDetDlg::m_nDirection = 1;
int CPVXCutLineDetDlg::m_bGraph = 0;
int CPVXCutLineDetDlg::m_nGraphXAxis = 0;
int CPVXCutLineDetDlg::m_nGraphMode = 0;

namespace {

// The cutting-line table of the open project; unbound (every call refused) without one.
CClassCtln CutLineTable() {
    CClassCtln table;
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    table.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    return table;
}

CString FormatPoint(double x, double y, double z) {
    CString s;
    s.Format("%.10g, %.10g, %.10g", x, y, z);
    return s;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPVXCutLineDetDlg, CDialog)

BEGIN_MESSAGE_MAP(CPVXCutLineDetDlg, CDialog)
    ON_EN_CHANGE(IDC_CUT_FACTOR, OnChangeFactor)
    ON_BN_CLICKED(IDC_CUT_VALUES, OnValues)
    ON_BN_CLICKED(IDC_CUT_MINMAX, OnMinMax)
    ON_BN_CLICKED(IDC_CUT_GRAPH, OnGraph)
    ON_BN_CLICKED(IDC_CUT_NORMAL, OnDirection)
    ON_BN_CLICKED(IDC_CUT_INPLANE, OnDirection)
    ON_BN_CLICKED(IDC_CUT_GRAPH_MORE, OnGraphMore)
    ON_BN_CLICKED(IDC_CUT_ADD, OnAdd)
    ON_BN_CLICKED(IDC_CUT_DELETE, OnDelete)
    ON_BN_CLICKED(IDC_CUT_EDIT, OnEdit)
    ON_LBN_SELCHANGE(IDC_CUT_LIST, OnSelChange)
    ON_CLBN_CHKCHANGE(IDC_CUT_LIST, OnCheckChange)
    ON_MESSAGE(WM_COLORWELL_CHANGED, OnColorChanged)
    ON_MESSAGE(CMouseEdit::WM_LBUTTONDOWN_FROM_MVIEW, OnPicked)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CPVXCutLineDetDlg::CPVXCutLineDetDlg(CArray<UINT, UINT>* pSelected, CWnd* pParent)
    : CDialog(IDD_PVX_CUTLINE_DETAIL, pParent),
      m_nValue(0),
      m_pModel(nullptr),
      m_pSelected(pSelected ? pSelected : &m_arrSelCutLine),
      m_crColor(RGB(255, 0, 0)),
      m_dFactor(1.0),
      m_nDir(0),
      m_bValues(0),
      m_bMinMax(1),
      m_bGraphCheck(0),
      m_bFilling(FALSE) {}

CPVXCutLineDetDlg::~CPVXCutLineDetDlg() {
    if (GetSafeHwnd()) DestroyWindow();
}

BOOL CPVXCutLineDetDlg::Create(I_PVXModel* pModel, int nValue) {
    if (GetSafeHwnd()) return FALSE;
    m_pModel = pModel;
    m_nValue = nValue;
    CWnd* pParent = pModel ? pModel->GetView() : nullptr;
    if (!CDialog::Create(IDD_PVX_CUTLINE_DETAIL, pParent)) return FALSE;
    ShowWindow(SW_SHOW);
    return TRUE;
}

std::vector<CBarControlName> CPVXCutLineDetDlg::GetControlNames() const {
    return {{IDC_CUT_LIST, "lines"},    {IDC_CUT_NAME, "name"},       {IDC_CUT_PT1, "point1"},
            {IDC_CUT_PT2, "point2"},    {IDC_CUT_ADD, "add"},         {IDC_CUT_EDIT, "edit"},
            {IDC_CUT_DELETE, "delete"}, {IDC_CUT_NORMAL, "direction"}, {IDC_CUT_FACTOR, "factor"},
            {IDC_CUT_VALUES, "values"}, {IDC_CUT_MINMAX, "minmax"},   {IDC_CUT_GRAPH, "graph"}};
}

void CPVXCutLineDetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CUT_LIST, m_ListCutLine);
    DDX_Control(pDX, IDC_CUT_PT2, m_EditPt2);
    DDX_Control(pDX, IDC_CUT_PT1, m_EditPt1);
    DDX_Text(pDX, IDC_CUT_FACTOR, m_dFactor);
    DDV_MinMaxDouble(pDX, m_dFactor, -99.0, 99.0);
    DDX_Radio(pDX, IDC_CUT_NORMAL, m_nDir);
    DDX_Check(pDX, IDC_CUT_VALUES, m_bValues);
    DDX_Text(pDX, IDC_CUT_NAME, m_strName);
    DDX_Check(pDX, IDC_CUT_MINMAX, m_bMinMax);
    DDX_Check(pDX, IDC_CUT_GRAPH, m_bGraphCheck);
}

BOOL CPVXCutLineDetDlg::OnInitDialog() {
    // Filling the factor edit notifies a change like typing would: not the user's.
    m_bFilling = TRUE;
    CDialog::OnInitDialog();
    m_bFilling = FALSE;
    SetWindowText("Cutting Line Diagram");

    // The window shows the module's settings, all of them, so that what it shows is what is drawn.
    m_bGraphCheck = m_bGraph;
    m_bValues = m_bOutputValues;
    m_dFactor = m_dScaleFactor;
    m_nDir = m_nDirection;
    m_crColor = m_crDiagram;
    m_bMinMax = m_bOnlyMinMax;

    for (CMouseEdit* pEdit : {&m_EditPt1, &m_EditPt2}) {
        pEdit->SetAttUcsPos(FALSE);  // world coordinates
        pEdit->SetXYOnlyMode(0);
        pEdit->SetNotifyWnd(this, this, this);
    }
    m_EditPt2.SetPickMode(0);
    m_EditPt1.SetPickMode(CUTLINE_PICK_PT1);
    m_WellColor.Attach(IDC_CUT_COLOR, this, m_crColor);

    FillList();
    m_strName = ProposeName();
    ShowMembers();
    EnableMinMax();
    GotoDlgCtrl(&m_EditPt1);
    return FALSE;  // the focus is set
}

void CPVXCutLineDetDlg::FillList() {
    m_ListCutLine.ResetContent();
    const CClassCtln table = CutLineTable();
    CArray<UINT, UINT> keys;
    table.GetKeyList(keys, CTLN_KIND_CUTLINE);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_CTLN_D line;
        line.Initialize();
        if (!table.Get(keys[i], line)) continue;
        const int n = m_ListCutLine.AddString(line.name);
        m_ListCutLine.SetItemData(n, keys[i]);
    }
    for (INT_PTR i = 0; i < m_pSelected->GetSize(); ++i)
        for (int n = 0; n < m_ListCutLine.GetCount(); ++n)
            if (m_ListCutLine.GetItemData(n) == (*m_pSelected)[i]) m_ListCutLine.SetCheck(n, 1);
}

CString CPVXCutLineDetDlg::ProposeName() const {
    const int nEntries = m_ListCutLine.GetSafeHwnd() ? m_ListCutLine.GetCount() : 0;
    CString name;
    for (int n = nEntries + 1;; ++n) {
        name.Format("Cut-Line #%d", n);
        if (!m_ListCutLine.GetSafeHwnd() || m_ListCutLine.FindStringExact(-1, name) < 0) return name;
    }
}

CString CPVXCutLineDetDlg::ProposeNameInTable() {
    const CClassCtln table = CutLineTable();
    CArray<UINT, UINT> keys;
    CString name;
    for (int n = table.GetKeyList(keys, CTLN_KIND_CUTLINE) + 1;; ++n) {
        name.Format("Cut-Line #%d", n);
        if (!table.GetKey(name, CTLN_KIND_CUTLINE)) return name;
    }
}

UINT CPVXCutLineDetDlg::AddSelectedLine(LPCTSTR pszName, const double p1[3], const double p2[3]) {
    CClassCtln table = CutLineTable();
    const UINT key = table.TR_Add(CTLN_KIND_CUTLINE, pszName, 0.0, p1, p2);
    if (key) m_arrSelCutLine.Add(key);
    return key;
}

void CPVXCutLineDetDlg::EnableMinMax() {
    if (CWnd* p = GetDlgItem(IDC_CUT_MINMAX)) p->EnableWindow(m_bValues != 0);
}

void CPVXCutLineDetDlg::Warn(LPCTSTR pszKey) {
    MessageBox(CMsgDll::pfuncLoadStr(pszKey, 0), nullptr, MB_OK | MB_ICONWARNING);
}

// ---- options: written into the settings at once --------------------------------------------------

void CPVXCutLineDetDlg::ShowMembers() {
    m_bFilling = TRUE;
    UpdateData(FALSE);
    m_bFilling = FALSE;
}

void CPVXCutLineDetDlg::OnChangeFactor() {
    if (m_bFilling) return;
    if (UpdateData(TRUE)) m_dScaleFactor = m_dFactor;
}

void CPVXCutLineDetDlg::OnValues() {
    if (!UpdateData(TRUE)) return;
    m_bOutputValues = m_bValues;
    EnableMinMax();
}

void CPVXCutLineDetDlg::OnMinMax() {
    if (UpdateData(TRUE)) m_bOnlyMinMax = m_bMinMax;
}

void CPVXCutLineDetDlg::OnGraph() {
    if (UpdateData(TRUE)) m_bGraph = m_bGraphCheck;
}

void CPVXCutLineDetDlg::OnDirection() {
    if (UpdateData(TRUE)) m_nDirection = m_nDir;
}

void CPVXCutLineDetDlg::OnGraphMore() {
    CCutlineGraphDetDlg dlg(this);
    dlg.m_nXAxis = m_nGraphXAxis;
    dlg.m_nGraphMode = m_nGraphMode;
    if (dlg.DoModal() != IDOK) return;
    m_nGraphXAxis = dlg.m_nXAxis;
    m_nGraphMode = dlg.m_nGraphMode;
}

LRESULT CPVXCutLineDetDlg::OnColorChanged(WPARAM, LPARAM) {
    m_crColor = m_WellColor.GetColor();
    m_crDiagram = m_crColor;
    return 0;
}

// ---- the lines ------------------------------------------------------------------------------

LRESULT CPVXCutLineDetDlg::OnPicked(WPARAM wParam, LPARAM) {
    T_PICKED_OBJECT picked;
    if (!CMouseEdit::GetCurPickedPVXObjectDataST(picked)) return 0;
    // A picked node shows its position, not its key: the line needs points.
    const CString text = FormatPoint(picked.pos.x, picked.pos.y, picked.pos.z);
    if (wParam == IDC_CUT_PT1) {
        m_EditPt1.SetWindowText(text);
        m_EditPt1.SetPickMode(0);
        m_EditPt2.SetPickMode(CUTLINE_PICK_PT2);
        GotoDlgCtrl(&m_EditPt2);
    } else if (wParam == IDC_CUT_PT2) {
        m_EditPt2.SetWindowText(text);
        m_EditPt2.SetPickMode(0);
    }
    return 0;
}

BOOL CPVXCutLineDetDlg::ReadLine(CString& name, double p1[3], double p2[3]) {
    if (!UpdateData(TRUE)) return FALSE;
    name = m_strName;
    name.Trim();
    if (name.IsEmpty()) {
        Warn("IDS_TBX_PVX_CUTLINE_NO_NAME");
        return FALSE;
    }
    const BOOL ok = m_EditPt1.GetPosition(p1[0], p1[1], p1[2]) && m_EditPt2.GetPosition(p2[0], p2[1], p2[2]);
    const double d = ok ? std::hypot(p2[0] - p1[0], p2[1] - p1[1], p2[2] - p1[2]) : 0.0;
    if (!ok || !(d >= 1e-9)) {
        Warn("IDS_TBX_PVX_CUTLINE_BAD_POINT");
        return FALSE;
    }
    return TRUE;
}

void CPVXCutLineDetDlg::OnAdd() {
    CString name;
    double p1[3], p2[3];
    if (!ReadLine(name, p1, p2)) return;
    CClassCtln table = CutLineTable();
    if (table.GetKey(name, CTLN_KIND_CUTLINE)) {
        Warn("IDS_TBX_PVX_CUTLINE_SAMENAME");
        return;
    }
    const UINT key = table.TR_Add(CTLN_KIND_CUTLINE, name, 0.0, p1, p2);
    if (!key) {
        Warn("IDS_TBX_PVX_CUTLINE_NOT_SAVED");
        return;
    }
    const int n = m_ListCutLine.AddString(name);
    m_ListCutLine.SetItemData(n, key);
    m_ListCutLine.SetCheck(n, 1);
    m_ListCutLine.SetCurSel(n);
    SyncSelection();
    m_strName = ProposeName();
    ShowMembers();
    m_EditPt1.SetPickMode(CUTLINE_PICK_PT1);
    GotoDlgCtrl(&m_EditPt1);
}

void CPVXCutLineDetDlg::OnEdit() {
    const int n = m_ListCutLine.GetCurSel();
    if (n < 0) {
        Warn("IDS_CMD_NO_SELECTED_ITEM");
        return;
    }
    CString name;
    double p1[3], p2[3];
    if (!ReadLine(name, p1, p2)) return;
    const UINT key = static_cast<UINT>(m_ListCutLine.GetItemData(n));
    CClassCtln table = CutLineTable();
    const UINT other = table.GetKey(name, CTLN_KIND_CUTLINE);
    if (other && other != key) {
        Warn("IDS_TBX_PVX_CUTLINE_SAMENAME");
        return;
    }
    if (!table.TR_Modify(key, name, 0.0, p1, p2)) {
        Warn("IDS_TBX_PVX_CUTLINE_NOT_SAVED");
        return;
    }
    // The entry takes the new name in place and keeps its check.
    const int nCheck = m_ListCutLine.GetCheck(n);
    m_ListCutLine.DeleteString(n);
    m_ListCutLine.InsertString(n, name);
    m_ListCutLine.SetItemData(n, key);
    m_ListCutLine.SetCheck(n, nCheck);
    m_ListCutLine.SetCurSel(n);
}

void CPVXCutLineDetDlg::OnDelete() {
    const int n = m_ListCutLine.GetCurSel();
    if (n < 0) {
        Warn("IDS_CMD_NO_SELECTED_ITEM");
        return;
    }
    CClassCtln table = CutLineTable();
    if (!table.TR_Del(static_cast<UINT>(m_ListCutLine.GetItemData(n)))) {
        Warn("IDS_TBX_PVX_CUTLINE_NOT_SAVED");
        return;
    }
    m_ListCutLine.DeleteString(n);
    SyncSelection();
    if (UpdateData(TRUE)) {
        m_strName = ProposeName();
        ShowMembers();
    }
}

void CPVXCutLineDetDlg::OnSelChange() {
    const int n = m_ListCutLine.GetCurSel();
    T_CTLN_D line;
    line.Initialize();
    if (n < 0 || !CutLineTable().Get(static_cast<UINT>(m_ListCutLine.GetItemData(n)), line)) return;
    if (!UpdateData(TRUE)) return;
    m_strName = line.name;
    ShowMembers();
    m_EditPt1.SetWindowText(FormatPoint(line.x1, line.y1, line.z1));
    m_EditPt2.SetWindowText(FormatPoint(line.x2, line.y2, line.z2));
}

void CPVXCutLineDetDlg::OnCheckChange() { SyncSelection(); }

void CPVXCutLineDetDlg::SyncSelection() {
    // Lines keep the order in which they were selected; keys the list does not show (lines of
    // another project, or deleted) leave the selection.
    CArray<UINT, UINT> kept;
    for (INT_PTR i = 0; i < m_pSelected->GetSize(); ++i) {
        const UINT key = (*m_pSelected)[i];
        for (int n = 0; n < m_ListCutLine.GetCount(); ++n)
            if (m_ListCutLine.GetItemData(n) == key && m_ListCutLine.GetCheck(n) == 1) {
                kept.Add(key);
                break;
            }
    }
    for (int n = 0; n < m_ListCutLine.GetCount(); ++n) {
        if (m_ListCutLine.GetCheck(n) != 1) continue;
        const UINT key = static_cast<UINT>(m_ListCutLine.GetItemData(n));
        bool bKept = false;
        for (INT_PTR i = 0; i < kept.GetSize() && !bKept; ++i) bKept = kept[i] == key;
        if (!bKept) kept.Add(key);
    }
    m_pSelected->Copy(kept);
}

// ---- keys and closing -------------------------------------------------------------------------

BOOL CPVXCutLineDetDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg && pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE) &&
        (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
        if (CWnd* pFocus = GetFocus()) pFocus->SendMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CPVXCutLineDetDlg::OnClose() {
    m_EditPt1.SetPickMode(0);
    m_EditPt2.SetPickMode(0);
    DestroyWindow();
}
