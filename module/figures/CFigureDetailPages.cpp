#include "module/figures/CFigureDetailPages.h"

#include <cctype>
#include <cmath>
#include <cstring>

#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "host/grx/I_PVXCtrl.h"
#include "host/vdraw/CVdView.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

CFigureDetailView* CFigureDetailView::m_pMyself = nullptr;
CFigureDetailDisplay* CFigureDetailDisplay::m_pMyself = nullptr;
CFigureDetailLoadCase* CFigureDetailLoadCase::m_pMyself = nullptr;
CFigureDetailText* CFigureDetailText::m_pMyself = nullptr;

namespace {

constexpr EFigureType kFirstDesignBaseMapOwner = static_cast<EFigureType>(91);  // raft design figures on

CString LoadText(const char* key) { return CMsgDll::pfuncLoadStr(key, 0); }

sFVDDisplaySettings* CurrentSettings() {
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    if (!fig) return nullptr;
    NMFVD nm;
    fig->GetCurentSelItem(&nm);
    return nm.pSettings;
}

}  // namespace

// ---------------------------------------------------------------- VIEW

IMPLEMENT_DYNAMIC(CFigureDetailView, CDlgChild)

BEGIN_MESSAGE_MAP(CFigureDetailView, CDlgChild)
    ON_CLBN_CHKCHANGE(IDC_FIGURE_BASEMAP_LIST, OnChkchangeListBasemap)
END_MESSAGE_MAP()

CFigureDetailView::CFigureDetailView(CWnd* parent)
    : CDlgChild(IDD_FIGURE_DETAIL_VIEW, parent), m_pView(CPVXView::m_pMyself) {
    m_pMyself = this;
    CPVXFigure::nSelectMode = 0;
}

CFigureDetailView::~CFigureDetailView() {
    if (m_pMyself == this) m_pMyself = nullptr;
}

std::vector<CBarControlName> CFigureDetailView::GetControlNames() const {
    return {{IDC_FIGURE_BASEMAP_LIST, "basemaps"}};
}

void CFigureDetailView::DoDataExchange(CDataExchange* pDX) {
    CDlgChild::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIGURE_BASEMAP_LIST, m_ListBaseMap);
}

BOOL CFigureDetailView::OnInitDialog() {
    CDlgChild::OnInitDialog();
    return 1;
}

void CFigureDetailView::Data2Dlg() {
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    if (!fig || !m_ListBaseMap.GetSafeHwnd()) return;
    NMFVD nm;
    const EFigureType t = fig->GetCurentSelItem(&nm);
    if (m_ListBaseMap.GetCount() > 0) m_ListBaseMap.ResetContent();
    // Only the figures from the raft design figures on carry base maps of their own choosing.
    if (!nm.pDrawn || static_cast<int>(t) < static_cast<int>(kFirstDesignBaseMapOwner)) return;
    for (const auto& [k, same] : fig->Get_BasemapSource()) {
        if (k == t) continue;
        const CString d = fig->GetItemDescription(k, "\\");
        if (d.IsEmpty()) continue;
        const int row = m_ListBaseMap.AddString(d);
        m_ListBaseMap.SetItemData(row, static_cast<DWORD_PTR>(k));
        // Ticked: drawn in the last pass, as the drawn-figures map tells.
        m_ListBaseMap.SetCheck(row, nm.pDrawn->count(k) ? 1 : 0);
    }
}

int CFigureDetailView::Dlg2Data() {
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    if (!fig || !m_ListBaseMap.GetSafeHwnd()) return 1;
    for (int i = 0; i < m_ListBaseMap.GetCount(); ++i)
        fig->ResetBaseMapEnable(static_cast<EFigureType>(m_ListBaseMap.GetItemData(i)), m_ListBaseMap.GetCheck(i) > 0, 0);
    return 1;
}

void CFigureDetailView::OnChkchangeListBasemap() {
    Dlg2Data();
    if (CPVXFigure* fig = CPVXFigure::m_pMyself) fig->Redraw(0, 0, 1);
}

void CFigureDetailView::Redraw() {
    CPVXView* view = m_pView ? m_pView : CPVXView::m_pMyself;
    I_PVXModel* model = view ? view->GetPVXModel() : nullptr;
    if (!model) return;
    if (model->m_pPVXCtrl && model->m_pPVXCtrl->IsXGRMode()) model->m_pPVXCtrl->XGR_SetRebuildGeom(1);
    model->m_bRendering = 1;
    model->PVXRender();
    model->RebuildQuadTree();
    model->m_bRendering = 0;
}

// ---------------------------------------------------------------- DISPLAY

IMPLEMENT_DYNAMIC(CFigureDetailDisplay, CDlgChild)

BEGIN_MESSAGE_MAP(CFigureDetailDisplay, CDlgChild)
    ON_BN_CLICKED(IDC_FIGURE_APPLY, OnPvxFigureApply)
    ON_BN_CLICKED(IDC_FIGURE_TEXTSTYLE, OnFormatTextstyle)
    ON_BN_CLICKED(IDC_FIGURE_LAYER, OnFormatLayer)
    ON_BN_CLICKED(IDC_FIGURE_CONTOUR, OnContourSet)
    ON_BN_CLICKED(IDC_FIGURE_EXPORT, OnPvxFigureViewExportToDwg)
    ON_BN_CLICKED(IDC_FIGURE_OPTIONS, OnPvxFigureDispbtn)
END_MESSAGE_MAP()

CFigureDetailDisplay::CFigureDetailDisplay(CWnd* parent) : CDlgChild(IDD_FIGURE_DETAIL_DISPLAY, parent) {
    m_pMyself = this;
}

CFigureDetailDisplay::~CFigureDetailDisplay() {
    if (m_pMyself == this) m_pMyself = nullptr;
}

std::vector<CBarControlName> CFigureDetailDisplay::GetControlNames() const {
    return {{IDC_FIGURE_DRAW_SCALE, "scale"},     {IDC_FIGURE_VALUE_SCALE, "value-scale"},
            {IDC_FIGURE_PRECISION, "precision"},  {IDC_FIGURE_VALUES, "values"},
            {IDC_FIGURE_APPLY, "apply"},          {IDC_FIGURE_TEXTSTYLE, "textstyle"},
            {IDC_FIGURE_LAYER, "layers"},         {IDC_FIGURE_EXPORT, "export"},
            {IDC_FIGURE_CONTOUR, "contour"},      {IDC_FIGURE_OPTIONS, "options"}};
}

namespace {
// What the edits take: the drawing scale a number from 0.001 to 1000 (a scale of 0 draws
// nothing); the value scale any number up to 1000000 in size (its size scales the diagrams,
// 0 stands for 1); the precision a whole number of decimals from 0 to 15.
constexpr double kMinUserScale = 0.001, kMaxScale = 1000.0, kMaxValueScale = 1e6;
constexpr int kMaxPrecision = 15;

bool ScaleFits(double v) { return v >= kMinUserScale && v <= kMaxScale; }
bool ValueScaleFits(double v) { return std::fabs(v) <= kMaxValueScale; }
bool PrecisionFits(double v) { return v >= 0.0 && v <= kMaxPrecision && v == std::floor(v); }
}  // namespace

BOOL CFigureDetailDisplay::CheckValues() {
    double v = 0.0;
    const char* refused = nullptr;
    if (!m_EditScale.ReadEditValue(v) || !ScaleFits(v))
        refused = "IDS_TBX_PVX_Figure_Scale_Invalid";
    else if (!m_EditValueScale.ReadEditValue(v) || !ValueScaleFits(v))
        refused = "IDS_TBX_PVX_Figure_Value_Scale_Invalid";
    else if (!m_EditPrecision.ReadEditValue(v) || !PrecisionFits(v))
        refused = "IDS_TBX_PVX_Figure_Precision_Invalid";
    if (!refused) return TRUE;
    AfxMessageBox(LoadText(refused), MB_OK, 0);
    return FALSE;
}

void CFigureDetailDisplay::DoDataExchange(CDataExchange* pDX) {
    CDlgChild::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIGURE_DRAW_SCALE, m_EditScale);
    DDX_Control(pDX, IDC_FIGURE_VALUE_SCALE, m_EditValueScale);
    DDX_Control(pDX, IDC_FIGURE_PRECISION, m_EditPrecision);
}

void CFigureDetailDisplay::InitCtrl() {
    for (CEditUnit* e : {&m_EditScale, &m_EditValueScale, &m_EditPrecision}) {
        e->SetUnitType(0);
        e->SetUnitFmt(15, 3);
    }
    // The precision is a count of decimals: the sheet uses its whole part.
    m_EditPrecision.SetUnitFmt(15, 0);
}

BOOL CFigureDetailDisplay::OnInitDialog() {
    CDlgChild::OnInitDialog();
    InitCtrl();
    Data2Dlg();
    UpdateData(FALSE);
    return 1;
}

void CFigureDetailDisplay::Data2Dlg() {
    if (!GetSafeHwnd()) return;
    if (sFVDDisplaySettings* s = CurrentSettings()) {
        m_EditValueScale.SetEditUnit(s->m_dScale2);
        m_EditPrecision.SetEditUnit(std::trunc(s->m_dPrecision));
        m_EditScale.SetEditUnit(s->m_dDrawScale);
        CWnd* box = GetDlgItem(IDC_FIGURE_VALUES);
        if (box) {
            box->EnableWindow(s->m_nRatio != -1);
            CheckDlgButton(IDC_FIGURE_VALUES, s->m_nRatio == 0 ? BST_CHECKED : BST_UNCHECKED);
        }
    }
    ShowControl(1);
}

void CFigureDetailDisplay::Dlg2Data() {
    if (!GetSafeHwnd()) return;
    sFVDDisplaySettings* s = CurrentSettings();
    if (!s) return;
    // A value the edit would not take leaves the setting as it was.
    double v = 0.0;
    if (m_EditScale.ReadEditValue(v) && ScaleFits(v)) s->m_dDrawScale = v;
    // A value scale other than the one shown (the sheet's own choice) is the user's from now on.
    if (m_EditValueScale.ReadEditValue(v) && ValueScaleFits(v)) {
        if (v != s->m_dScale2) s->m_bScale2Auto = FALSE;
        s->m_dScale2 = v;
    }
    if (m_EditPrecision.ReadEditValue(v) && PrecisionFits(v)) s->m_dPrecision = v;
    if (s->m_nRatio != -1) s->m_nRatio = IsDlgButtonChecked(IDC_FIGURE_VALUES) ? 0 : 1;
}

void CFigureDetailDisplay::ShowControl(int /*unused*/) {
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    CVdView* view = fig ? fig->GetFigureView() : nullptr;
    CWnd* button = GetSafeHwnd() ? GetDlgItem(IDC_FIGURE_CONTOUR) : nullptr;
    if (!view || !button) return;
    button->EnableWindow(view->_CanFigureContour() != 0);
}

void CFigureDetailDisplay::OnPvxFigureApply() {
    if (!CheckValues()) return;  // the page stays as typed, the figure as drawn
    Dlg2Data();
    if (CPVXFigure* fig = CPVXFigure::m_pMyself) fig->Redraw(0, 1, 0);
}

namespace {
void SendToFigureView(UINT command) {
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    CVdView* view = fig ? fig->GetFigureView() : nullptr;
    if (view && view->GetSafeHwnd()) view->SendMessage(WM_COMMAND, command, 0);
}
}  // namespace

void CFigureDetailDisplay::OnFormatTextstyle() { SendToFigureView(ID_VD_TEXTSTYLE_SET); }
void CFigureDetailDisplay::OnFormatLayer() { SendToFigureView(ID_VD_LAYER_SET); }
void CFigureDetailDisplay::OnContourSet() { SendToFigureView(ID_VD_CONTOUR_SET); }

void CFigureDetailDisplay::OnPvxFigureViewExportToDwg() {
    if (CWnd* main = AfxGetMainWnd()) main->SendMessage(WM_COMMAND, IDC_FIGURE_EXPORT, 0);
}

// The hidden options button: the host document's display options.
void CFigureDetailDisplay::OnPvxFigureDispbtn() {
    if (CDBDoc* doc = CDBDoc::m_pDBDoc) doc->DisplayOptionDlg();
}

// ---------------------------------------------------------------- LOADCASE

IMPLEMENT_DYNAMIC(CFigureDetailLoadCase, CDlgChild)

BEGIN_MESSAGE_MAP(CFigureDetailLoadCase, CDlgChild)
    ON_LBN_DBLCLK(IDC_FIGURE_LOADCASE_LIST, OnDblclkListLoadcaselist)
END_MESSAGE_MAP()

CFigureDetailLoadCase::CFigureDetailLoadCase(CWnd* parent)
    : CDlgChild(IDD_FIGURE_DETAIL_LOADCASE, parent), m_pView(CPVXView::m_pMyself) {
    m_pMyself = this;
    CPVXFigure::nSelectMode = 0;
}

CFigureDetailLoadCase::~CFigureDetailLoadCase() {
    if (m_pMyself == this) m_pMyself = nullptr;
}

std::vector<CBarControlName> CFigureDetailLoadCase::GetControlNames() const {
    return {{IDC_FIGURE_LOADCASE_LIST, "loadcase"}};
}

void CFigureDetailLoadCase::DoDataExchange(CDataExchange* pDX) {
    CDlgChild::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIGURE_LOADCASE_LIST, m_ListLoadCase);
}

BOOL CFigureDetailLoadCase::OnInitDialog() {
    CDlgChild::OnInitDialog();
    return 1;
}

int CFigureDetailLoadCase::RefreshLoadCaseList() {
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    const std::map<UINT, CString>* cases = fig ? fig->GetLoadCase() : nullptr;
    if (!m_ListLoadCase.GetSafeHwnd()) return 0;
    m_ListLoadCase.ResetContent();
    if (!cases) return 0;
    const UINT cur = fig->GetCurLoadCase();
    for (const auto& [key, caption] : *cases) {
        const int row = m_ListLoadCase.AddString(caption);
        m_ListLoadCase.SetItemData(row, key);
        if (key == cur) m_ListLoadCase.SetCurSel(row);
    }
    return static_cast<int>(cases->size());
}

int CFigureDetailLoadCase::ReFreshCurSel() {
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    const std::map<UINT, CString>* cases = fig ? fig->GetLoadCase() : nullptr;
    if (!cases || !m_ListLoadCase.GetSafeHwnd()) return 0;
    const UINT key = fig->GetCurLoadGroupKey();
    if (!cases->count(key)) return 0;
    for (int i = 0; i < m_ListLoadCase.GetCount(); ++i)
        if (m_ListLoadCase.GetItemData(i) == key) {
            m_ListLoadCase.SetCurSel(i);
            break;
        }
    return 0;
}

void CFigureDetailLoadCase::Data2Dlg() {
    if (CPVXFigure* fig = CPVXFigure::m_pMyself) fig->GetCurentSelItem(nullptr);
}

void CFigureDetailLoadCase::OnDblclkListLoadcaselist() {
    const int row = m_ListLoadCase.GetCurSel();
    if (row < 0) return;  // a double-click beside the rows chooses nothing
    const UINT key = static_cast<UINT>(m_ListLoadCase.GetItemData(row));
    m_ListLoadCase.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    CPVXFigure* fig = CPVXFigure::m_pMyself;
    if (!fig) return;
    fig->SetModify(1);
    fig->ResetLoadCase(key, 0);
    fig->UpdateAllViews(116);
}

// ---------------------------------------------------------------- TEXT

IMPLEMENT_DYNAMIC(CFigureDetailText, CDlgChild)

CFigureDetailText::CFigureDetailText(CWnd* parent) : CDlgChild(IDD_FIGURE_DETAIL_TEXT, parent) {
    m_pMyself = this;
    CPVXFigure::nSelectMode = 0;
}

CFigureDetailText::~CFigureDetailText() {
    if (m_pMyself == this) m_pMyself = nullptr;
}

void CFigureDetailText::Data2Dlg() {
    if (CPVXFigure* fig = CPVXFigure::m_pMyself) fig->GetCurentSelItem(nullptr);
}

// ---------------------------------------------------------------- the panel

IMPLEMENT_DYNAMIC(CFigureDetailTab, CDlgModeless)

BEGIN_MESSAGE_MAP(CFigureDetailTab, CDlgModeless)
    ON_NOTIFY(TCN_SELCHANGING, IDC_FIGURE_DETAIL_TAB, OnSelchangingTab)
    ON_NOTIFY(TCN_SELCHANGE, IDC_FIGURE_DETAIL_TAB, OnSelchangeTab)
END_MESSAGE_MAP()

CFigureDetailTab::CFigureDetailTab(CWnd* parent) : CFigureDetailTab(0, parent) {}

CFigureDetailTab::CFigureDetailTab(int tab, CWnd* parent) : CDlgModeless(IDD_FIGURE_DETAIL_TAB, parent), m_nInitTab(tab) {}

CFigureDetailTab::~CFigureDetailTab() {
    if (m_bListening && CDBDoc::m_pDBDoc) CDBDoc::m_pDBDoc->RemoveHintListener(this);
    // The pages are windows of the panel: destroyed with it, deleted here.
    delete m_pView;
    delete m_pDisplay;
    delete m_pLoadCase;
    delete m_pText;
}

void CFigureDetailTab::DoDataExchange(CDataExchange* pDX) {
    CDlgModeless::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIGURE_DETAIL_TAB, m_TabCtrl);
}

BOOL CFigureDetailTab::OnInitDialog() {
    CDlgModeless::OnInitDialog();
    InitTabCtrl();
    Data2Dlg();
    if (CDBDoc::m_pDBDoc && !m_bListening) {
        CDBDoc::m_pDBDoc->AddHintListener(this, &CFigureDetailTab::OnDocHint);
        m_bListening = true;
    }
    // Bottom right of the main window, size kept.
    if (CWnd* main = AfxGetMainWnd()) {
        CRect m, r;
        main->GetWindowRect(&m);
        GetWindowRect(&r);
        const int right = m.right - kRightMargin, bottom = m.bottom - kBottomMargin;
        MoveWindow(right - r.Width(), bottom - r.Height(), r.Width(), r.Height(), TRUE);
    }
    return 1;
}

void CFigureDetailTab::InitTabCtrl() {
    const CString view = LoadText("IDS_TM_FIGURE_DETAILTAB_VIEW");
    const CString display = LoadText("IDS_TM_FIGURE_DETAILTAB_DISPLAY");
    const CString loadCase = LoadText("IDS_TM_FIGURE_DETAILTAB_LOADCASE");
    (void)LoadText("IDS_TM_FIGURE_DETAILTAB_TEXT");  // no TEXT tab is shown
    m_pView = new CFigureDetailView(nullptr);
    m_pDisplay = new CFigureDetailDisplay(nullptr);
    m_pLoadCase = new CFigureDetailLoadCase(nullptr);
    m_TabCtrl.AddTab(m_pView, view, IDD_FIGURE_DETAIL_VIEW, 1);
    m_TabCtrl.AddTab(m_pDisplay, display, IDD_FIGURE_DETAIL_DISPLAY, 1);
    m_TabCtrl.AddTab(m_pLoadCase, loadCase, IDD_FIGURE_DETAIL_LOADCASE, 1);
    const int tab = m_nInitTab >= 0 && m_nInitTab < m_TabCtrl.GetPageCount() ? m_nInitTab : 0;
    m_TabCtrl.SendMessage(TCM_SETCURSEL, static_cast<WPARAM>(tab), 0);
    m_TabCtrl.ShowTab(tab);
}

void CFigureDetailTab::Data2Dlg() {
    switch (m_TabCtrl.GetSafeHwnd() ? m_TabCtrl.GetCurSel() : -1) {
    case 0: if (m_pView) m_pView->Data2Dlg(); break;
    case 1: if (m_pDisplay) m_pDisplay->Data2Dlg(); break;
    case 2:
    case 3: if (m_pText) m_pText->Data2Dlg(); break;
    default: break;
    }
}

int CFigureDetailTab::Dlg2Data() {
    switch (m_TabCtrl.GetSafeHwnd() ? m_TabCtrl.GetCurSel() : -1) {
    case 0: if (m_pView) m_pView->Dlg2Data(); return 1;
    case 1: if (m_pDisplay) m_pDisplay->Dlg2Data(); return 1;
    case 2: return 1;
    default: return 0;
    }
}

void CFigureDetailTab::OnSelchangingTab(NMHDR*, LRESULT* pResult) { *pResult = Dlg2Data() ? 0 : 1; }

void CFigureDetailTab::OnSelchangeTab(NMHDR*, LRESULT* pResult) {
    m_TabCtrl.ShowTab(m_TabCtrl.GetCurSel());
    *pResult = 0;
}

BOOL CFigureDetailTab::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_RETURN || pMsg->wParam == VK_ESCAPE)) {
        // To the window it was meant for; neither key closes the panel.
        ::SendMessage(pMsg->hwnd, pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CFigureDetailTab::OnDocHint(void* owner, LPARAM hint) {
    static_cast<CFigureDetailTab*>(owner)->OnUpdate(nullptr, hint, nullptr);
}

void CFigureDetailTab::OnUpdate(CView*, LPARAM hint, CObject*) {
    if (!GetSafeHwnd()) return;
    m_pFigure = CPVXFigure::m_pMyself;
    switch (hint) {
    case 7: DestroyWindow(); return;
    case 33: {
        CPVXView* view = CPVXView::m_pMyself;
        I_PVXModel* model = view ? view->GetPVXModel() : nullptr;
        if (model && model->m_bFigurePanel == 0) DestroyWindow();
        return;
    }
    case 112:
        if (m_pView) m_pView->Dlg2Data();
        if (m_pDisplay) m_pDisplay->Dlg2Data();
        return;
    case 113:
        if (m_pView) m_pView->Data2Dlg();
        if (m_pDisplay) m_pDisplay->Data2Dlg();
        return;
    case 114: if (m_pLoadCase) m_pLoadCase->RefreshLoadCaseList(); return;
    case 115: if (m_pLoadCase) m_pLoadCase->ReFreshCurSel(); return;
    default: return;
    }
}

void CFigureDetailTab::PostNcDestroy() {
    OnUpdate(nullptr, 113, nullptr);  // nothing once the window is gone
    if (m_bListening && CDBDoc::m_pDBDoc) CDBDoc::m_pDBDoc->RemoveHintListener(this);
    m_bListening = false;
    CDlgModeless::PostNcDestroy();
}

// ---------------------------------------------------------------- owner types

namespace {
struct OwnerTypeRow {
    const char* pszName;
    UINT nMask;
};
const OwnerTypeRow kOwnerTypes[] = {
    {"ALL", 4095},         {"ISO_CAP", 1},           {"BEAM", 2},          {"MTSB_CHECK", 4},
    {"MTSB_CHECK_SLAB", 8}, {"MTSB_CHECK_RIB", 16},   {"MTSB_DESIGN", 32},  {"MTSB_DESIGN_SLAB", 64},
    {"MTSB_DESIGN_RIB", 128}, {"PILE", 256},          {"RIB_BEAM", 512},    {"SLAB", 1024},
    {"SINK", 2048},
};
constexpr int kOwnerTypeCount = static_cast<int>(sizeof kOwnerTypes / sizeof kOwnerTypes[0]);
}  // namespace

IMPLEMENT_DYNAMIC(CFigureWndOwnerType, CDlgChild)

BEGIN_MESSAGE_MAP(CFigureWndOwnerType, CDlgChild)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_CBN_SELCHANGE(IDC_FIGURE_OWNER_COMBO, OnSelchangeCombo)
END_MESSAGE_MAP()

int CFigureWndOwnerType::GetOwnerTypeCount() { return kOwnerTypeCount; }

const char* CFigureWndOwnerType::GetOwnerTypeName(int number) {
    return number >= 0 && number < kOwnerTypeCount ? kOwnerTypes[number].pszName : nullptr;
}

UINT CFigureWndOwnerType::GetOwnerTypeMask(int number) {
    return number >= 0 && number < kOwnerTypeCount ? kOwnerTypes[number].nMask : 0;
}

int CFigureWndOwnerType::FindOwnerType(const char* name) {
    if (!name) return -1;
    for (int i = 0; i < kOwnerTypeCount; ++i) {
        const char* a = kOwnerTypes[i].pszName;
        const char* b = name;
        while (*a && *b && std::toupper(static_cast<unsigned char>(*a)) == std::toupper(static_cast<unsigned char>(*b))) ++a, ++b;
        if (!*a && !*b) return i;
    }
    return -1;
}

CFigureWndOwnerType::CFigureWndOwnerType(CWnd* parent) : CDlgChild(IDD_FIGURE_OWNER_TYPE, parent) { InitigureOwnerType(); }

CFigureWndOwnerType::~CFigureWndOwnerType() = default;

void CFigureWndOwnerType::InitigureOwnerType() {
    m_Types.clear();
    for (int i = 0; i < kOwnerTypeCount; ++i)
        m_Types[i] = {kOwnerTypes[i].nMask, LoadText((CString("IDS_TM_FIGURE_EFOT_") + kOwnerTypes[i].pszName).GetString())};
}

void CFigureWndOwnerType::DoDataExchange(CDataExchange* pDX) {
    CDlgChild::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FIGURE_OWNER_COMBO, m_Combo);
}

int CFigureWndOwnerType::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    return CDlgChild::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

BOOL CFigureWndOwnerType::OnInitDialog() {
    CDialog::OnInitDialog();
    InitiCtrl();
    return 1;
}

void CFigureWndOwnerType::InitiCtrl() {
    if (!m_Combo.GetSafeHwnd()) return;
    for (const auto& [number, type] : m_Types) {
        const int row = m_Combo.AddString(type.strCaption);
        m_Combo.SetItemData(row, type.nMask);
    }
    m_Combo.EnableWindow(!m_Types.empty());
    if (!m_Types.empty()) m_Combo.SetCurSel(0);
}

void CFigureWndOwnerType::OnSize(UINT nType, int cx, int cy) {
    CDlgChild::OnSize(nType, cx, cy);
    if (m_Combo.GetSafeHwnd()) m_Combo.SetWindowPos(nullptr, 0, 0, cx, kDropHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFigureWndOwnerType::OnSelchangeCombo() {
    const int sel = m_Combo.GetCurSel();
    // No row chosen: the mask stays (CB_ERR is no mask).
    if (sel == CB_ERR) return;
    const LRESULT mask = m_Combo.SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(sel), 0);
    if (mask == CB_ERR) return;
    if (CPVXFigure* fig = CPVXFigure::m_pMyself) fig->SetOwnerMask(static_cast<UINT>(mask));
    if (CFunctionRegestor* reg = CFunctionRegestor::Instance()) {
        sFunctionInfor info;
        int index = 0;
        if (reg->ExcluteFunc(kFunctionClass, info, index)) reg->CallMemberFunc(index, info.nSecond, info.nFirst, 1);
    }
}
