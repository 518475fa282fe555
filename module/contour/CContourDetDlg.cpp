#include "module/contour/CContourDetDlg.h"

#include "module/animation/CAnimationEngine.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/contour/CColorTableDlg.h"
#include "module/contour/CContourRangeDlg.h"
#include "module/engines/CEngineBase.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

namespace {

const char* const kCountNames[] = {" 6", "12", "18", "24"};
const char* const kTableNames[] = {"V->R->G->B", "R->G->B", "R->B->G", "Gray Scaled"};

I_PVXModel* ModelOf(CPVXView* pView) { return pView ? pView->GetPVXModel() : nullptr; }

// Child rectangle of control nID in the dialog's client coordinates; empty when it is missing.
CRect ChildRect(CWnd* pDlg, UINT nID) {
    CRect rc;
    if (CWnd* p = pDlg->GetDlgItem(static_cast<int>(nID))) {
        p->GetWindowRect(&rc);
        pDlg->ScreenToClient(&rc);
    }
    return rc;
}

void ShowItem(CWnd* pDlg, UINT nID, BOOL bShow) {
    if (CWnd* p = pDlg->GetDlgItem(static_cast<int>(nID))) p->ShowWindow(bShow ? SW_SHOW : SW_HIDE);
}

void EnableItem(CWnd* pDlg, UINT nID, BOOL bEnable) {
    if (CWnd* p = pDlg->GetDlgItem(static_cast<int>(nID))) p->EnableWindow(bEnable);
}

void MoveItemBy(CWnd* pDlg, UINT nID, int dy) {
    CWnd* p = pDlg->GetDlgItem(static_cast<int>(nID));
    if (!p) return;
    CRect rc = ChildRect(pDlg, nID);
    rc.OffsetRect(0, dy);
    p->MoveWindow(&rc);
}

// N from a colour count selection: 6, 12, 18 or 24.
int CountFromSelection(int nSel) {
    if (nSel < 0) nSel = 0;
    if (nSel > 3) nSel = 3;
    return (nSel * 3 + 3) * 2;
}

void SelectColorCount(CContourEngine& ce, int nSel) {
    ce.m_nNumColor = CountFromSelection(nSel);
    ce.MakeRankMap();
    ce.MakeColorTable();
}

}  // namespace

void PVXFillContourCombos(CComboBox& count, CComboBox& table, const CContourEngine& ce) {
    count.ResetContent();
    for (const char* s : kCountNames) count.AddString(s);
    count.SetCurSel(ce.m_nNumColor / 6 - 1);
    table.ResetContent();
    for (const char* s : kTableNames) table.AddString(s);
    table.SetCurSel(ce.m_nColorTableKind);
}

void PVXDialogRedrawModel(I_PVXModel* pModel) {
    if (!pModel) return;
    pModel->m_bRedrawRequested = 1;
    pModel->PVXRender();
    pModel->m_AnimationEngine.ApplyAnimationModeRule();
    pModel->RebuildQuadTree();
    // The render clears the request itself, but not when it returned early.
    pModel->m_bRedrawRequested = 0;
}

// ---- CPVXConDetDlgBase ----------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXConDetDlgBase, CDialog)

BEGIN_MESSAGE_MAP(CPVXConDetDlgBase, CDialog)
    ON_CBN_SELCHANGE(IDC_CON_COLOR_COUNT, OnSelchangeColorCount)
    ON_CBN_SELCHANGE(IDC_CON_COLOR_TABLE, OnSelchangeColorTable)
    ON_BN_CLICKED(IDC_CON_REVERSE, OnClickReverse)
    ON_BN_CLICKED(IDC_CON_CUSTOM_TABLE, OnCustomTable)
    ON_BN_CLICKED(IDC_CON_CUSTOM_RANGE, OnCustomRange)
    ON_BN_CLICKED(IDC_CON_APPLY, OnApply)
END_MESSAGE_MAP()

CPVXConDetDlgBase::CPVXConDetDlgBase(UINT nIDTemplate, CWnd* pParent)
    : CDialog(nIDTemplate, pParent),
      m_pPage(nullptr),
      m_pView(nullptr),
      m_pContourEngine(nullptr),
      m_pEngine(nullptr),
      m_bDrawElemOutline(0),
      m_bApplyOnOK(0),
      m_bReverseColor(0) {}

CPVXConDetDlgBase::~CPVXConDetDlgBase() = default;

I_PVXModel* CPVXConDetDlgBase::Model() const { return ModelOf(m_pView); }

void CPVXConDetDlgBase::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CON_COLOR_COUNT, m_ComboCount);
    DDX_Control(pDX, IDC_CON_COLOR_TABLE, m_ComboTable);
    DDX_Check(pDX, IDC_CON_APPLY_ON_OK, m_bApplyOnOK);
    DDX_Check(pDX, IDC_CON_REVERSE, m_bReverseColor);
}

BOOL CPVXConDetDlgBase::OnInitDialog() {
    CDialog::OnInitDialog();
    if (!m_pContourEngine) {
        // Nothing to edit: the opener gave no scale.
        EndDialog(IDCANCEL);
        return TRUE;
    }
    InitControls(*m_pContourEngine);
    UpdateData(FALSE);
    return TRUE;
}

void CPVXConDetDlgBase::InitCommonControls(CContourEngine& ce) {
    m_Backup = ce;
    PVXFillContourCombos(m_ComboCount, m_ComboTable, ce);
    m_WellLine.Attach(IDC_CON_WELL_LINE, this, ce.m_crContourLine);
    if (I_PVXModel* pModel = Model()) m_bApplyOnOK = pModel->m_bApplyOnOK;
    m_bReverseColor = ce.m_bReverseColor;
}

void CPVXConDetDlgBase::OnSelchangeColorCount() {
    if (!m_pContourEngine) return;
    SelectColorCount(*m_pContourEngine, m_ComboCount.GetCurSel());
    RepaintPreviews();
}

void CPVXConDetDlgBase::OnSelchangeColorTable() {
    if (!m_pContourEngine) return;
    const int nSel = m_ComboTable.GetCurSel();
    if (nSel >= 0) m_pContourEngine->m_nColorTableKind = nSel;
    RepaintPreviews();
}

void CPVXConDetDlgBase::OnClickReverse() {
    UpdateData(TRUE);
    if (!m_pContourEngine) return;
    m_pContourEngine->m_bReverseColor = m_bReverseColor;
    m_pContourEngine->ResetRankColors();
}

void CPVXConDetDlgBase::OnCustomTable() {
    if (!m_pContourEngine) return;
    CPVXCtmzCtDlg dlg(this);
    dlg.m_pView = m_pView;
    dlg.m_pContourEngine = m_pContourEngine;
    dlg.DoModal();
    RepaintPreviews();
}

void CPVXConDetDlgBase::OnCustomRange() {
    if (!m_pContourEngine) return;
    CPVXCtmzRrDlg dlg(this);
    dlg.m_pView = m_pView;
    dlg.m_pContourEngine = m_pContourEngine;
    dlg.DoModal();
}

BOOL CPVXConDetDlgBase::StoreValues() {
    if (!UpdateData(TRUE)) return FALSE;
    if (m_pContourEngine) {
        m_pContourEngine->m_bDrawElemOutline = m_bDrawElemOutline;
        m_pContourEngine->m_bReverseColor = m_bReverseColor;
    }
    if (I_PVXModel* pModel = Model()) pModel->m_bApplyOnOK = m_bApplyOnOK;
    return TRUE;
}

void CPVXConDetDlgBase::ApplyToModel(int bApplyOnOK) {
    I_PVXModel* pModel = Model();
    if (!pModel) return;
    pModel->m_bContour = 1;
    if (bApplyOnOK) PVXDialogRedrawModel(pModel);
}

void CPVXConDetDlgBase::OnApply() {
    if (!StoreValues()) return;
    if (m_pPage)
        m_pPage->Execute();
    else
        ApplyToModel(m_bApplyOnOK);
}

void CPVXConDetDlgBase::OnOK() {
    if (!StoreValues()) return;
    if (m_pPage) {
        if (m_bApplyOnOK) m_pPage->Execute();
    } else {
        ApplyToModel(m_bApplyOnOK);
    }
    EndDialog(IDOK);
}

void CPVXConDetDlgBase::OnCancel() {
    if (m_pContourEngine) *m_pContourEngine = m_Backup;
    EndDialog(IDCANCEL);
}

// ---- CPVXConDetDlg --------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXConDetDlg, CPVXConDetDlgBase)

BEGIN_MESSAGE_MAP(CPVXConDetDlg, CPVXConDetDlgBase)
    ON_BN_CLICKED(IDC_CON_GRADIENT, OnClickPreviewSwitch)
    ON_BN_CLICKED(IDC_CON_DRAW_LINES, OnClickPreviewSwitch)
    ON_BN_CLICKED(IDC_CON_ELEM_OUTLINE, OnClickPreviewSwitch)
    ON_BN_CLICKED(IDC_CON_FILL_BANDS, OnClickFillStyle)
    ON_BN_CLICKED(IDC_CON_LINES_ONLY, OnClickFillStyle)
    ON_BN_CLICKED(IDC_CON_ANNOTATE, OnClickAnnotate)
    ON_MESSAGE(WM_COLORWELL_CHANGED, OnColorWellChanged)
END_MESSAGE_MAP()

CPVXConDetDlg::CPVXConDetDlg(CWnd* pParent)
    : CPVXConDetDlgBase(IDD_PVX_CONTOUR_DETAIL, pParent),
      m_bFixedScale(0),
      m_bCompactLayout(0),
      m_bGradient(0),
      m_nColorStyle(-1),
      m_bDrawContourLine(0),
      m_nFillStyle(-1),
      m_bThickContourLine(1),
      m_bExactContour(0),
      m_dContourFactor(0.0),
      m_bContourAnnot(0),
      m_bSingleLineColor(0) {
    for (int i = 0; i < 3; i++) m_Rainbow[i].m_nStyle = i;
}

CPVXConDetDlg::~CPVXConDetDlg() = default;

void CPVXConDetDlg::DoDataExchange(CDataExchange* pDX) {
    CPVXConDetDlgBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CON_INTERVAL, m_Slider);
    DDX_Check(pDX, IDC_CON_GRADIENT, m_bGradient);
    DDX_Radio(pDX, IDC_CON_STYLE_RAINBOW, m_nColorStyle);
    DDX_Check(pDX, IDC_CON_DRAW_LINES, m_bDrawContourLine);
    DDX_Check(pDX, IDC_CON_ELEM_OUTLINE, m_bDrawElemOutline);
    DDX_Radio(pDX, IDC_CON_FILL_BANDS, m_nFillStyle);
    DDX_Check(pDX, IDC_CON_THICK_LINES, m_bThickContourLine);
    DDX_Check(pDX, IDC_CON_EXACT, m_bExactContour);
    DDX_Text(pDX, IDC_CON_FACTOR, m_dContourFactor);
    DDX_Check(pDX, IDC_CON_ANNOTATE, m_bContourAnnot);
    DDX_Check(pDX, IDC_CON_SINGLE_LINE, m_bSingleLineColor);
}

void CPVXConDetDlg::InitControls(CContourEngine& ce) {
    I_PVXModel* pModel = Model();

    m_Slider.SetRange(0, 100);
    m_Slider.SetPos(pModel ? static_cast<int>(pModel->m_dAnnotSize * 100) : 0);

    const UINT previewIds[3] = {IDC_CON_PREVIEW_BANDS, IDC_CON_PREVIEW_LINES, IDC_CON_PREVIEW_TWO};
    for (int i = 0; i < 3; i++) {
        m_Rainbow[i].m_pContourEngine = m_pContourEngine;
        m_Rainbow[i].m_pEngine = m_pEngine;
        m_Rainbow[i].m_nStyle = i;
        m_Rainbow[i].CreateFromStatic(previewIds[i], this);
    }

    EnableItem(this, IDC_CON_STYLE_BORDER, FALSE);
    EnableItem(this, IDC_CON_STYLE_RANGE, FALSE);

    InitCommonControls(ce);
    m_WellEdge.Attach(IDC_CON_WELL_EDGE, this, ce.m_crElemEdge);
    m_WellBand1.Attach(IDC_CON_WELL_BAND1, this, ce.m_crBand1);
    m_WellBand2.Attach(IDC_CON_WELL_BAND2, this, ce.m_crBand2);

    m_bGradient = m_pEngine ? m_pEngine->m_bGradient : 0;
    m_bDrawContourLine = ce.m_bDrawContourLine;
    m_nFillStyle = ce.m_nFillStyle;
    m_bThickContourLine = ce.m_bThickContourLine;
    m_bExactContour = ce.m_bExactContour;
    m_dContourFactor = ce.m_dContourFactor;
    if (pModel) m_bContourAnnot = pModel->m_bContourAnnot;
    m_bSingleLineColor = ce.m_bSingleLineColor;

    EnableItem(this, IDC_CON_GRADIENT, m_nFillStyle == 0);
    EnableItem(this, IDC_CON_DRAW_LINES, m_nFillStyle == 0);

    if (m_bContourAnnot && m_nFillStyle == 0) m_bDrawContourLine = 1;

    if (m_bFixedScale) {
        EnableItem(this, IDC_CON_COLOR_COUNT, FALSE);
        EnableItem(this, IDC_CON_CUSTOM_RANGE, FALSE);
        EnableItem(this, IDC_CON_CUSTOM_TABLE, FALSE);
    }
    if (m_bCompactLayout) ApplyCompactLayout();
}

void CPVXConDetDlg::ApplyCompactLayout() {
    // The draw-lines check and its frame take the place of the hidden gradient check; the thick
    // lines check and the note take that of the hidden annotation row.
    const CRect rcGradient = ChildRect(this, IDC_CON_GRADIENT);
    const CRect rcDraw = ChildRect(this, IDC_CON_DRAW_LINES);
    const CRect rcAnnot = ChildRect(this, IDC_CON_ANNOTATE);
    const CRect rcThick = ChildRect(this, IDC_CON_THICK_LINES);
    const int dyLines = rcGradient.top - rcDraw.top;
    const int dyThick = rcAnnot.top - rcThick.top;

    ShowItem(this, IDC_CON_GRADIENT, FALSE);
    MoveItemBy(this, IDC_CON_DRAW_LINES, dyLines);
    MoveItemBy(this, IDC_CON_LINE_GROUP, dyLines);
    for (UINT id : {IDC_CON_EDGE_LABEL, IDC_CON_WELL_EDGE, IDC_CON_ANNOTATE, IDC_CON_INTERVAL_LABEL, IDC_CON_INTERVAL})
        ShowItem(this, id, FALSE);
    MoveItemBy(this, IDC_CON_THICK_LINES, dyThick);
    MoveItemBy(this, IDC_CON_NOTE, dyThick);
    for (UINT id : {IDC_CON_FACTOR_LABEL, IDC_CON_EXACT, IDC_CON_FACTOR}) ShowItem(this, id, FALSE);
}

void CPVXConDetDlg::RepaintPreviews() {
    for (CRainbowWnd& r : m_Rainbow)
        if (r.GetSafeHwnd()) r.Invalidate();
}

void CPVXConDetDlg::EnableByFillStyle() {
    EnableItem(this, IDC_CON_GRADIENT, m_nFillStyle == 0);
    EnableItem(this, IDC_CON_DRAW_LINES, m_nFillStyle == 0);
    EnableItem(this, IDC_CON_SINGLE_LINE, m_nFillStyle == 1);
}

void CPVXConDetDlg::OnClickPreviewSwitch() {
    UpdateData(TRUE);
    RepaintPreviews();
}

void CPVXConDetDlg::OnClickFillStyle() {
    UpdateData(TRUE);
    EnableByFillStyle();
}

void CPVXConDetDlg::OnClickAnnotate() {
    UpdateData(TRUE);
    if (m_bContourAnnot) {
        m_bDrawContourLine = 1;
        CheckDlgButton(IDC_CON_DRAW_LINES, BST_CHECKED);
        ShowItem(this, IDC_CON_DRAW_LINES, TRUE);
    }
}

LRESULT CPVXConDetDlg::OnColorWellChanged(WPARAM, LPARAM) {
    if (!m_pContourEngine) return 0;
    m_pContourEngine->m_crContourLine = m_WellLine.GetColor();
    m_pContourEngine->m_crElemEdge = m_WellEdge.GetColor();
    m_pContourEngine->m_crBand1 = m_WellBand1.GetColor();
    m_pContourEngine->m_crBand2 = m_WellBand2.GetColor();
    RepaintPreviews();
    return 0;
}

BOOL CPVXConDetDlg::StoreValues() {
    if (!CPVXConDetDlgBase::StoreValues()) return FALSE;
    if (m_bContourAnnot && m_nFillStyle == 0) m_bDrawContourLine = 1;
    if (m_pEngine) m_pEngine->m_bGradient = m_bGradient;
    if (m_pContourEngine) {
        CContourEngine& ce = *m_pContourEngine;
        ce.m_nColorStyle = m_nColorStyle;
        ce.m_bDrawContourLine = m_bDrawContourLine;
        ce.m_nFillStyle = m_nFillStyle;
        ce.m_bThickContourLine = m_bThickContourLine;
        ce.m_bExactContour = m_bExactContour;
        ce.m_dContourFactor = m_dContourFactor;
        ce.m_bSingleLineColor = m_bSingleLineColor;
    }
    if (I_PVXModel* pModel = Model()) {
        pModel->m_bContourAnnot = m_bContourAnnot;
        pModel->m_dAnnotSize = m_Slider.GetPos() * 0.01;
    }
    return TRUE;
}

void CPVXConDetDlg::ApplyToModel(int bApplyOnOK) {
    if (I_PVXModel* pModel = Model()) pModel->m_bGradient = m_bGradient;
    CPVXConDetDlgBase::ApplyToModel(bApplyOnOK);
}

// ---- CPVXConDetDlg_Krig ---------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXConDetDlg_Krig, CPVXConDetDlgBase)

BEGIN_MESSAGE_MAP(CPVXConDetDlg_Krig, CPVXConDetDlgBase)
    ON_MESSAGE(WM_COLORWELL_CHANGED, OnColorWellChanged)
END_MESSAGE_MAP()

CPVXConDetDlg_Krig::CPVXConDetDlg_Krig(CWnd* pParent) : CPVXConDetDlgBase(IDD_PVX_CONTOUR_DETAIL_KRIG, pParent) {}

CPVXConDetDlg_Krig::~CPVXConDetDlg_Krig() = default;

void CPVXConDetDlg_Krig::InitControls(CContourEngine& ce) { InitCommonControls(ce); }

LRESULT CPVXConDetDlg_Krig::OnColorWellChanged(WPARAM, LPARAM) {
    if (m_pContourEngine) m_pContourEngine->m_crContourLine = m_WellLine.GetColor();
    return 0;
}
