#include "module/bars/CPVXBarMdShp.h"

#include <algorithm>

#include "host/db/CDBDoc.h"
#include "host/db/CPostCtrl.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/CPVXOptionDlgs.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/engines/CDeformEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CComboBox.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

namespace {

// The number of modes the project has.
int ModeCountOf(I_PVXModel* pModel) {
    CDBDoc* pDoc = pModel ? pModel->GetDBDoc() : nullptr;
    CDataBase* pDB = pDoc && pDoc->GetMDBCtrl() ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
    if (!pDB) return 0;
    CPostCtrl post(pDB);
    return post.GetModeCount();
}

void CollectViews(CWnd* pParent, std::vector<CPVXView*>& out) {
    for (CWnd* c = pParent->GetWindow(GW_CHILD); c; c = c->GetWindow(GW_HWNDNEXT)) {
        CWnd* w = CWnd::FromHandlePermanent(c->GetSafeHwnd());
        if (auto* v = dynamic_cast<CPVXView*>(w)) out.push_back(v);
        if (w) CollectViews(w, out);
    }
}

}  // namespace

// ---- CPVXBarMdShp ---------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXBarMdShp, CPVXBarDeformPage)

BEGIN_MESSAGE_MAP(CPVXBarMdShp, CPVXBarDeformPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApplyModes)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnBarClose)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_CBN_SELCHANGE(CPVXBarMdShp::IDC_LOAD, OnModeChange)
    // Every component radio sets the component (also Md-Z, Md-XY, Md-YZ and Md-XZ).
    ON_BN_CLICKED(CPVXBarMdShp::IDC_COMP_X, OnComponent)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_COMP_Y, OnComponent)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_COMP_Z, OnComponent)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_COMP_XYZ, OnComponent)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_COMP_XY, OnComponent)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_COMP_YZ, OnComponent)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_COMP_XZ, OnComponent)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_MODE_SHAPE, OnModeShapeBox)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_MODE_SHAPE_MORE, OnModeShapeDetails)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_CONTOUR, OnContourBoxOfModes)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_CONTOUR_MORE, OnContourDetails)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_VALUES_MORE, OnNumberMore)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_ANIMATION_MORE, OnAnimationDetails)
    ON_BN_CLICKED(CPVXBarMdShp::IDC_MULTI_MODE, OnMultiMode)
END_MESSAGE_MAP()

CPVXBarMdShp::CPVXBarMdShp()
    : CPVXBarDeformPage(IDD, 0, PVXMode::kModeShape, "Mode Shape"), m_nRadio(-1), m_bModeShape(1) {}

void CPVXBarMdShp::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDeformPage::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_COMP_X, m_nRadio);
    DDX_Check(pDX, IDC_MODE_SHAPE, m_bModeShape);
    ExchangeDisplayBoxes(pDX, {.nContour = IDC_CONTOUR,
                               .nValues = IDC_VALUES,
                               .nLegend = IDC_LEGEND,
                               .nAnimation = IDC_ANIMATION,
                               .nUndeformed = IDC_UNDEFORMED});
}

std::vector<CBarControlName> CPVXBarMdShp::GetControlNames() const {
    return {{IDC_LOAD, "mode"},         {IDC_COMP_X, "component"}, {IDC_MODE_SHAPE, "shape"},
            {IDC_CONTOUR, "contour"},   {IDC_VALUES, "values"},    {IDC_LEGEND, "legend"},
            {IDC_ANIMATION, "animation"}, {IDC_ANIMATION_MORE, "animation-more"}, {IDC_UNDEFORMED, "undeformed"}, {IDC_MODE_SHAPE_MORE, "shape-more"},
            {IDC_CONTOUR_MORE, "contour-more"}, {IDC_VALUES_MORE, "values-more"}, {IDC_LEGEND_MORE, "legend-more"},
            {IDC_MULTI_MODE, "multi-mode"}};
}

int CPVXBarMdShp::GetModeOfItem(int nItem) const {
    auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_LOAD));
    if (!pCombo || nItem < 0 || nItem >= pCombo->GetCount()) return 0;
    return static_cast<int>(pCombo->GetItemData(nItem));
}

void CPVXBarMdShp::TakeInitialValues() {
    I_PVXModel* pModel = GetModel();
    // The load list: the project's modes by number.
    if (auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_LOAD))) {
        pCombo->ResetContent();
        const int n = ModeCountOf(pModel);
        for (int i = 1; i <= n; ++i) {
            CString s;
            s.Format("%d", i);
            const int at = pCombo->AddString(s);
            if (at >= 0) pCombo->SetItemData(at, static_cast<DWORD_PTR>(i));
        }
        const int cur = pModel ? pModel->m_nCurEigenMode : 0;
        pCombo->SetCurSel(cur >= 1 && cur <= n ? cur - 1 : (n > 0 ? 0 : -1));
    }
    if (pModel) pModel->m_nLoadStep = 0;
    m_nLoadStep = 0;
    OnModeChange();
    if (m_pDeformEngine) m_nRadio = ComponentToRadio(m_pDeformEngine->m_nComponent);
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        m_bContour = b->nCarried41;
        m_bModeShape = !m_bContour || (m_pDeformEngine && m_pDeformEngine->m_bDeformed) ? 1 : 0;
        m_bValues = b->bValues;
        m_bLegend = b->bLegend;
        m_bAnimation = b->bAnimation;
        m_bUndeformed = b->bUndeformed;
        if (pModel) b->nDecimals = pModel->m_nDispDecimals;
    }
}

void CPVXBarMdShp::ApplyOptions() {
    Exchange(TRUE);
    OnModeChange();
    CDeformEngine* e = m_pDeformEngine;
    const int nCode = RadioToComponent(m_nRadio);
    if (e && nCode >= 0 && e->m_nComponent != nCode) {
        e->m_nComponent = nCode;
        m_bDeformRebuild = 1;
    }
    // The mode-shape box draws on the mode's shape; the contour box colours it (or, alone, the
    // undeformed model).
    if (e) e->m_bDeformed = m_bModeShape;
    if (T_PVX_BAR_INFO* b = m_pBarInfo) {
        b->nCarried21 = 1;
        b->nCarried41 = m_bContour;
        b->bContour = m_bContour;
        b->bDeformed = 1;
        b->bValues = m_bValues;
        b->bLegend = m_bLegend;
        b->bAnimation = m_bAnimation;
        b->bUndeformed = m_bUndeformed;
    }
    FinishApply();
}

void CPVXBarMdShp::OnApplyModes() {
    // The retained geometry shows the new mode only when it is built again.
    if (I_PVXModel* pModel = GetModel())
        if (I_PVXCtrl* pCtrl = pModel->m_pPVXCtrl; pCtrl && pCtrl->IsGLRenderer() && pCtrl->IsXGRMode())
            pCtrl->XGR_SetRebuildGeom(1);
    OnApply();
}

void CPVXBarMdShp::OnComponent() {
    Exchange(TRUE);
    const int nCode = RadioToComponent(m_nRadio);
    if (m_pDeformEngine && nCode >= 0 && m_pDeformEngine->m_nComponent != nCode) {
        m_pDeformEngine->m_nComponent = nCode;
        m_bDeformRebuild = 1;
    }
}

void CPVXBarMdShp::OnModeShapeBox() {
    Exchange(TRUE);
    if (!m_bModeShape && !m_bContour) {
        m_bModeShape = 1;
        Exchange(FALSE);
    }
}

void CPVXBarMdShp::OnContourBoxOfModes() {
    Exchange(TRUE);
    if (!m_bModeShape && !m_bContour) {
        m_bContour = 1;
        Exchange(FALSE);
    }
}

void CPVXBarMdShp::OnModeChange() {
    Exchange(TRUE);
    I_PVXModel* pModel = GetModel();
    if (!pModel) return;
    auto* pCombo = dynamic_cast<CComboBox*>(GetDlgItem(IDC_LOAD));
    const int nMode = pCombo ? GetModeOfItem(pCombo->GetCurSel()) : 0;
    if (nMode <= 0) {
        pModel->m_nLoadStep = 0;
        pModel->m_bLoadSelected = 0;
        pModel->m_bResultPresent = 0;
        return;
    }
    m_nLoadType = 0;
    m_nLoadKey = nMode;
    if (pCombo) pCombo->GetLBText(pCombo->GetCurSel(), pModel->m_strLoadName);
    if (pModel->m_nLoadType != 0 || pModel->m_nLoadKey != static_cast<UINT>(nMode) || pModel->m_nLoadStep != m_nLoadStep ||
        pModel->m_nCurEigenMode != nMode) {
        pModel->m_nLoadType = 0;
        pModel->m_nLoadKey = static_cast<UINT>(nMode);
        pModel->m_nLoadStep = m_nLoadStep;
        pModel->m_nCurEigenMode = nMode;
        pModel->m_bLoadSelected = 1;
        CPVXBarContainerBase::m_nCurrentMode = m_nMode;
        pModel->SelectLoad();
        m_bDeformRebuild = 1;
    }
}

void CPVXBarMdShp::OnModeShapeDetails() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    if (!m_pDeformEngine) return;
    TurnBoxOn(m_bModeShape);
    CPVXMdShpDetDlg dlg(nullptr);
    dlg.m_pPage = this;
    dlg.m_pView = m_pView;
    dlg.m_pEngine = m_pDeformEngine;
    dlg.DoModal();
}

std::vector<CPVXView*> CPVXBarMdShp::CollectResultViews() {
    std::vector<CPVXView*> views;
    if (CWnd* pMain = AfxGetMainWnd()) CollectViews(pMain, views);
    return views;
}

void CPVXBarMdShp::OnMultiMode() {
    if (m_pContainer) m_pContainer->TakeBackEngines();
    CPVXMultiModeDlg dlg(nullptr);
    dlg.m_pPage = this;
    if (dlg.DoModal() != IDOK || dlg.m_nCount < 1) return;
    std::vector<int> modes;
    for (int i = 0; i < dlg.m_nCount; ++i)
        if (const int n = GetModeOfItem(dlg.m_anSelected[i]); n > 0) modes.push_back(n);
    ShowModes(modes, dlg.m_nArrangement);
}

int CPVXBarMdShp::ShowModes(const std::vector<int>& modes, int nArrangement) {
    if (modes.empty()) return 0;
    CPVXBarContainerBase::m_nCurrentMode = m_nMode;
    ApplyOptions();
    // What every view is given: the settings block and the editing engine as they are now.
    T_PVX_BAR_INFO settings;
    if (m_pBarInfo) settings = *m_pBarInfo;
    CDeformEngine source(GetModel());
    source.ImportEngine(m_pDeformEngine);

    CWnd* pMain = AfxGetMainWnd();
    std::vector<CPVXView*> views = CollectResultViews();
    // The page's own view shows the first mode; the windows opened after it go first.
    if (auto it = std::find(views.begin(), views.end(), m_pView); it != views.end()) std::rotate(views.begin(), it, it + 1);
    for (CPVXView* v : views)
        if (CFrameWnd* f = v->GetParentFrame()) f->SendMessage(WM_COMMAND, MAKEWPARAM(ID_RESULT_FRAME_NOTICE, 0), 0);
    // Views beyond the modes go (never the main window itself).
    for (size_t i = modes.size(); i < views.size(); ++i) {
        CFrameWnd* f = views[i]->GetParentFrame();
        if (f && f != pMain) f->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (views.size() > modes.size()) views.resize(modes.size());
    // A new window of the view for each further mode.
    while (pMain && views.size() < modes.size()) {
        pMain->SendMessage(WM_COMMAND, MAKEWPARAM(ID_NEW_WINDOW, 0), 0);
        CPVXView* pNew = nullptr;
        for (CPVXView* v : CollectResultViews())
            if (std::find(views.begin(), views.end(), v) == views.end()) pNew = v;
        if (!pNew) break;  // the host opened none
        views.push_back(pNew);
    }
    CPVXView* pCurrent = m_pView;
    int nShown = 0;
    for (size_t i = 0; i < views.size(); ++i) {
        I_PVXModel* m = views[i]->GetPVXModel();
        if (!m) continue;
        settings.WriteToModel(*m);
        m->ResetEngines();
        m->m_pDeformEngine = new CDeformEngine(m);
        m->m_pDeformEngine->ImportEngine(&source);
        m->m_pDeformEngine->SetLoadCaseKey(modes[i]);
        m->m_nLoadType = 0;
        m->m_nLoadStep = 0;
        m->m_nCurEigenMode = modes[i];
        CString name;
        name.Format("%d", modes[i]);
        m->m_strLoadName = name;
        m->m_bLoadSelected = 1;
        m->m_nBarDisplayMode = m_nMode;
        m->SelectLoad();
        m->m_pDeformEngine->InitEngine();
        m->m_bResultPresent = m->m_pDeformEngine->m_bDataReady;
        m->m_nDisplayMode = m_nMode;
        m->ResetDeformed(0);
        m->InitDeformed(0);
        m->m_bRedrawRequested = 1;
        m->PVXRender();
        ++nShown;
    }
    if (pMain)
        pMain->SendMessage(WM_COMMAND, MAKEWPARAM(nArrangement == 1 ? ID_TILE_ONE_ABOVE_OTHER : ID_TILE_SIDE_BY_SIDE, 0), 0);
    for (CPVXView* v : views)
        if (CFrameWnd* f = v->GetParentFrame()) f->ShowWindow(SW_SHOW);
    // The bars go on with the page's own view.
    if (pCurrent) CPVXView::m_pMyself = pCurrent;
    return nShown;
}

// ---- CPVXMdShpDetDlg --------------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXMdShpDetDlg, CDialog)

CPVXMdShpDetDlg::CPVXMdShpDetDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_pPage(nullptr), m_pView(nullptr), m_pEngine(nullptr), m_bCubic(0), m_bApplyOnOK(1) {}

void CPVXMdShpDetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_SCALE, m_strScale);
    DDX_Check(pDX, IDC_CUBIC, m_bCubic);
    DDX_Text(pDX, IDC_CUBIC_FACTOR, m_strFactor);
    DDX_Check(pDX, IDC_APPLY_ON_OK, m_bApplyOnOK);
}

BOOL CPVXMdShpDetDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    if (m_pEngine) {
        m_strScale.Format("%f", m_pEngine->m_dUserScale);
        m_bCubic = m_pEngine->m_bExactBeamRange ? 1 : 0;
        m_strFactor.Format("%f", m_pEngine->m_dBeamDispFactor);
    }
    UpdateData(FALSE);
    return TRUE;
}

void CPVXMdShpDetDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    if (m_pEngine) {
        double d = 0.0;
        if (PVXParseNumber(m_strScale, d)) m_pEngine->m_dUserScale = d;
        if (m_pEngine->m_bExactBeamRange != m_bCubic && m_pPage) m_pPage->m_bDeformRebuild = 1;
        m_pEngine->m_bExactBeamRange = m_bCubic;
        if (PVXParseNumber(m_strFactor, d)) m_pEngine->m_dBeamDispFactor = d;
    }
    if (I_PVXModel* pModel = m_pView ? m_pView->GetPVXModel() : nullptr) pModel->m_bApplyOnOK = m_bApplyOnOK;
    if (m_bApplyOnOK && m_pPage) m_pPage->Execute();
    EndDialog(IDOK);
}

// ---- CPVXMultiModeDlg ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXMultiModeDlg, CDialog)

CPVXMultiModeDlg::CPVXMultiModeDlg(CWnd* pParent)
    : CDialog(IDD, pParent), m_pPage(nullptr), m_nArrangement(1), m_nCount(0), m_anSelected{} {}

void CPVXMultiModeDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_SIDE_BY_SIDE, m_nArrangement);
}

BOOL CPVXMultiModeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    auto* pList = dynamic_cast<CListBox*>(GetDlgItem(IDC_MODES));
    auto* pCombo = m_pPage ? dynamic_cast<CComboBox*>(m_pPage->GetDlgItem(CPVXBarMdShp::IDC_LOAD)) : nullptr;
    if (pList && pCombo)
        for (int i = 0; i < pCombo->GetCount(); ++i) {
            CString s;
            pCombo->GetLBText(i, s);
            pList->AddString(s);
        }
    m_nArrangement = 1;
    UpdateData(FALSE);
    return TRUE;
}

void CPVXMultiModeDlg::OnOK() {
    if (!UpdateData(TRUE)) return;
    m_nCount = 0;
    if (auto* pList = dynamic_cast<CListBox*>(GetDlgItem(IDC_MODES))) {
        // The first hundred chosen, in list order.
        for (int i = 0; i < pList->GetCount() && m_nCount < kMaxModes; ++i)
            if (pList->GetSel(i) > 0) m_anSelected[m_nCount++] = i;
    }
    EndDialog(IDOK);
}
