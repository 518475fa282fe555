#include "module/bars/CPVXBarContainerBase.h"

#include <cstdlib>
#include "platform/afx/CMemFile.h"
#include "platform/afx/CArchive.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"

#include "host/base/CMsgDll.h"
#include "host/base/I_MainFrameBase.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/engines/EngineCallLog.h"
#include "module/figures/CPVXFigure.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

int CPVXBarContainerBase::m_nCurrentMode = -1;
int CPVXBarContainerBase::m_nCurChildDlg = -1;
int CPVXBarContainerBase::m_nCurrentTMMode = -1;
CPVXBarContainerBase* CPVXBarContainerBase::m_pMyself = nullptr;
int CPVXBarContainerBase::m_bRemove = 0;
int CPVXBarContainerBase::m_bIsPVXBarAlive = 0;
CDeformEngine* CPVXBarContainerBase::m_pDeformEngine = nullptr;
CEngineBase* CPVXBarContainerBase::m_pCurrentEngine = nullptr;
CPVXBarContainerBase* CPVXBarContainerBase::m_pEngineOwner = nullptr;

IMPLEMENT_DYNAMIC(CPVXBarContainerBase, CFormViewInBar)

BEGIN_MESSAGE_MAP(CPVXBarContainerBase, CFormViewInBar)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// Containers alive now; the alive and removed switches follow it.
int g_nLiveContainers = 0;

// Deformation component of the total translation.
constexpr int kDispTotal = 3;

// One step of the execute protocol in the engine call trace.
void Step(const char* name) {
    if (EngineCallLog::IsEnabled()) EngineCallLog::Note(name);
}

// Result table command of each result id.
struct ResultTable {
    int nResultId;
    UINT nCommand;
};
constexpr ResultTable kResultTables[] = {
    {PVXResult::kReacPile, 32884},    {PVXResult::kReacContour, 32884}, {PVXResult::kReacReverse, 32884},
    {PVXResult::kDeform, 32885},      {PVXResult::kDispContour, 32885}, {PVXResult::kNodeDisp, 32885},
    {PVXResult::kModeShape, 33112},   {PVXResult::kBeamForce, 33789},   {PVXResult::kBeamDiagram, 33789},
    {PVXResult::kWallForce, 33773},   {PVXResult::kWallDiagram, 33773}, {PVXResult::kStoryShear, 33012},
    {8201, 34095},                    {8203, 34095},                    {8202, 34096},
    {8204, 34096},
};

// Result ids whose pages get the container's extra layout height.
constexpr int kExtraHeightResults[] = {PVXResult::kDeform, PVXResult::kDispContour, PVXResult::kNodeDisp, 8102, 8104,
                                       8105, 13102, 13103, 13104, 14102, 14104, 14105};

// What the execute step makes for the model, by display mode.
enum class HandOver { kNone, kReaction, kDeform, kDeformForce, kDeformStress };

HandOver HandOverOf(int mode) {
    using namespace PVXMode;
    switch (mode) {
    case kReaction:
    case kReactionContour: return HandOver::kReaction;
    case kDeformedShape:
    case kDispContour:
    case kNodeDisp:
    case kModeShape:
    case kTimeHistory:
    case kSettlement: return HandOver::kDeform;
    case kPlateStress: return HandOver::kDeformStress;
    default:
        if ((mode >= kStoryShearRatio && mode <= kPlateForce) || (mode >= kSlabForce && mode <= kSlabForceBeam))
            return HandOver::kDeformForce;
        return HandOver::kNone;
    }
}

// A fresh engine of the model imported from the editing engine when that is of the same kind.
template <class E>
E* FreshImported(I_PVXModel& m, CEngineBase* pEditing, const char* pszName) {
    E* p = new E(&m);
    Step(pszName);
    p->ImportEngine(dynamic_cast<E*>(pEditing));
    return p;
}

}  // namespace

// ---- construction ------------------------------------------------------------------------------

CPVXBarContainerBase::CPVXBarContainerBase(UINT nIDTemplate)
    : CFormViewInBar(nIDTemplate),
      m_pView(GetCurPVXView()),
      m_nEngineKind(-1),
      m_nExtraLayoutHeight(0),
      m_bRebuildMBR(0),
      m_nCurPage(-1),
      m_nShownResultId(-1) {
    ++g_nLiveContainers;
    m_bRemove = 0;
    m_bIsPVXBarAlive = 1;
}

// A container made from a named template is set up in the same way.
CPVXBarContainerBase::CPVXBarContainerBase(LPCTSTR lpszTemplateName)
    : CFormViewInBar(lpszTemplateName),
      m_pView(GetCurPVXView()),
      m_nEngineKind(-1),
      m_nExtraLayoutHeight(0),
      m_bRebuildMBR(0),
      m_nCurPage(-1),
      m_nShownResultId(-1) {
    ++g_nLiveContainers;
    m_bRemove = 0;
    m_bIsPVXBarAlive = 1;
}

CPVXBarContainerBase::~CPVXBarContainerBase() {
    // The editing engines stay while another container's pages work on them.
    if (m_pEngineOwner == this || m_pEngineOwner == nullptr) {
        DestroyCurrentEngine();
        DestroyDeformEngine();
        m_pEngineOwner = nullptr;
    }
    for (INT_PTR i = 0; i < m_arrChildDlg.GetSize(); ++i) delete m_arrChildDlg[i];
    m_arrChildDlg.RemoveAll();
    RemoveAllChildPages();
    if (g_nLiveContainers > 0) --g_nLiveContainers;
    m_bIsPVXBarAlive = g_nLiveContainers > 0 ? 1 : 0;
    m_bRemove = g_nLiveContainers > 0 ? 0 : 1;
    // The shared pointer must not outlive the container it names.
    if (m_pMyself == this) m_pMyself = nullptr;
}

void CPVXBarContainerBase::DestroyCurrentEngine() {
    delete m_pCurrentEngine;  // the engine deletes its colour scale
    m_pCurrentEngine = nullptr;
}

void CPVXBarContainerBase::DestroyDeformEngine() {
    delete m_pDeformEngine;
    m_pDeformEngine = nullptr;
}

CPVXView* CPVXBarContainerBase::GetCurPVXView() { return CPVXFigure::GetCurView(); }

I_PVXModel* CPVXBarContainerBase::GetCurModel() {
    CPVXView* pView = GetCurPVXView();
    return pView ? pView->GetPVXModel() : nullptr;
}

// ---- pages and the combo -----------------------------------------------------------------------

const CPVXBarContainerBase::PageRow* CPVXBarContainerBase::GetPageTable(int& nCount) const {
    nCount = 0;
    return nullptr;
}

const CPVXBarContainerBase::ComboRow* CPVXBarContainerBase::GetComboTable(int& nCount) const {
    nCount = 0;
    return nullptr;
}

CPVXBarDlgBase* CPVXBarContainerBase::CreatePage(LPCSTR lpszPageClass) {
    CRuntimeClass* pClass = CRuntimeClass::FromName(lpszPageClass);
    if (!pClass || !pClass->IsDerivedFrom(RUNTIME_CLASS(CPVXBarDlgBase))) return nullptr;
    CObject* pObject = pClass->CreateObject();
    auto* pPage = dynamic_cast<CPVXBarDlgBase*>(pObject);
    if (!pPage) {
        delete pObject;
        return nullptr;
    }
    pPage->m_pContainer = this;
    return pPage;
}

void CPVXBarContainerBase::BuildPages() {
    if (m_arrChildDlg.GetSize() > 0) return;  // built once
    int n = 0;
    const PageRow* rows = GetPageTable(n);
    for (int i = 0; i < n; ++i) {
        CPVXBarDlgBase* pPage = CreatePage(rows[i].pszPageClass);
        if (pPage) {
            pPage->m_pContainer = this;
            SetChildPage(rows[i].nResultId, pPage);
        }
        m_arrChildDlg.Add(pPage);
    }
    SetPlaceHolder(this, IDC_BAR_PLACE_HOLDER);
}

void CPVXBarContainerBase::DoDataExchange(CDataExchange* pDX) {
    CFormViewInBar::DoDataExchange(pDX);
    if (!m_ComboPage.GetSafeHwnd() && GetDlgItem(IDC_BAR_COMBO)) DDX_Control(pDX, IDC_BAR_COMBO, m_ComboPage);
}

void CPVXBarContainerBase::InitBar(int nFirstResultId, BOOL bTableIcon) {
    CFormViewInBar::OnInitialUpdate();
    if (bTableIcon) SetButtonIcon(IDC_BAR_TABLE, IDI_BAR_TABLE);
    BuildPages();
    FillPageCombo(nFirstResultId);
}

void CPVXBarContainerBase::FillPageCombo(int nFirstResultId) {
    if (!m_ComboPage.GetSafeHwnd()) return;
    m_ComboPage.ResetContent();
    int n = 0;
    const ComboRow* rows = GetComboTable(n);
    for (int i = 0; i < n; ++i) {
        const int at = m_ComboPage.AddString(CMsgDll::pfuncLoadStr(rows[i].pszKey, 0));
        if (at >= 0) m_ComboPage.SetItemData(at, static_cast<DWORD_PTR>(rows[i].nResultId));
    }
    SelectComboResult(nFirstResultId);
}

void CPVXBarContainerBase::SelectComboResult(int nResultId) {
    if (!m_ComboPage.GetSafeHwnd()) return;
    for (int i = 0; i < m_ComboPage.GetCount(); ++i)
        if (static_cast<int>(m_ComboPage.GetItemData(i)) == nResultId) {
            m_ComboPage.SetCurSel(i);
            return;
        }
}

int CPVXBarContainerBase::GetComboResult() const {
    if (!m_ComboPage.GetSafeHwnd()) return -1;
    const int i = m_ComboPage.GetCurSel();
    return i < 0 ? -1 : static_cast<int>(m_ComboPage.GetItemData(i));
}

void CPVXBarContainerBase::OnSelchangePageCombo() {
    const int nResultId = GetComboResult();
    if (nResultId >= 0) ShowChildDlgByMode(nResultId);
}

void CPVXBarContainerBase::SetButtonIcon(UINT nIDButton, UINT nIDIcon) {
    if (auto* pButton = dynamic_cast<CButton*>(GetDlgItem(static_cast<int>(nIDButton))))
        pButton->SetIcon(AfxGetApp()->LoadIcon(nIDIcon));
}

int CPVXBarContainerBase::PageIndexOf(int nResultId) const {
    int n = 0;
    const PageRow* rows = GetPageTable(n);
    for (int i = 0; i < n; ++i)
        if (rows[i].nResultId == nResultId) return i;
    return -1;
}

std::vector<CBarResultInfo> CPVXBarContainerBase::GetBarResults() const {
    std::vector<CBarResultInfo> out;
    int nPages = 0, nCombo = 0;
    const PageRow* pages = GetPageTable(nPages);
    const ComboRow* combo = GetComboTable(nCombo);
    for (int i = 0; i < nPages; ++i) {
        const char* pszKey = nullptr;
        for (int j = 0; j < nCombo && !pszKey; ++j)
            if (combo[j].nResultId == pages[i].nResultId) pszKey = combo[j].pszKey;
        out.push_back({pages[i].nResultId, pages[i].pszPageClass, pszKey});
    }
    return out;
}

CWnd* CPVXBarContainerBase::GetShownPageWnd() const {
    CPHPageDlg* pPage = GetCurChildPage();
    return pPage && pPage->GetSafeHwnd() && pPage->IsWindowVisible() ? pPage : nullptr;
}

CPVXBarDlgBase* CPVXBarContainerBase::GetCurrentChild() {
    if (m_nCurPage < 0 || m_nCurPage >= m_arrChildDlg.GetSize()) return nullptr;
    CPVXBarDlgBase* pPage = m_arrChildDlg[m_nCurPage];
    if (!pPage || !pPage->GetSafeHwnd() || !::IsWindow(pPage->GetSafeHwnd())) return nullptr;
    return pPage;
}

// ---- showing a result ----------------------------------------------------------------------------

int CPVXBarContainerBase::IsCurrentModeSame(int nResultId) { return m_nCurrentTMMode == nResultId ? 1 : 0; }

void CPVXBarContainerBase::ShowChildDlgByMode(int nResultId) {
    m_nCurrentTMMode = nResultId;
    DestroyCurrentEngine();
    DestroyDeformEngine();
    m_pEngineOwner = nullptr;
    InitDlgBarData(nResultId);
    if (I_PVXModel* pModel = GetCurModel()) pModel->m_nBarDisplayMode = nResultId;
}

int CPVXBarContainerBase::PreparePage(int) { return 0; }

void CPVXBarContainerBase::ShowPreparedPage(int nResultId) {
    SelectComboResult(nResultId);
    ShowCurChildDlg(nResultId, CChangePHPage::PH_OWN_SIZE, 0);
    m_pMyself = this;
    RestorePageSettings(nResultId);
}

// ---- the page settings kept with the project ------------------------------------------------------

namespace {

CDataBase* ProjectDB() {
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    return pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr;
}

}  // namespace

void CPVXBarContainerBase::RestorePageSettings(int nResultId) {
    const int nIndex = PageIndexOf(nResultId);
    CPVXBarDlgBase* pPage = nIndex >= 0 && nIndex < m_arrChildDlg.GetSize() ? m_arrChildDlg[nIndex] : nullptr;
    if (!pPage || !pPage->GetSafeHwnd()) return;
    // Once per opening of the bar: a page shown again keeps what was set on it since.
    for (int id : m_restoredPages)
        if (id == nResultId) return;
    m_restoredPages.push_back(nResultId);
    CClassPageSet table;
    table.ConnectToDB(ProjectDB());
    std::vector<BYTE> bytes;
    if (!table.GetArchive(static_cast<UINT>(nResultId), bytes) || bytes.empty()) return;
    CMemFile file(bytes.data(), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    // A short or damaged archive leaves the page as it is.
    pPage->Serialize(ar);
    if (ar.IsFailed()) return;
    pPage->TakeArchivedSettings();
}

void CPVXBarContainerBase::ArchivePageSettings() {
    CClassPageSet table;
    if (!table.ConnectToDB(ProjectDB())) return;
    int nRows = 0;
    const PageRow* rows = GetPageTable(nRows);
    for (int id : m_restoredPages) {
        const int i = PageIndexOf(id);
        CPVXBarDlgBase* pPage = i >= 0 && i < m_arrChildDlg.GetSize() && i < nRows ? m_arrChildDlg[i] : nullptr;
        if (!pPage || !pPage->GetSafeHwnd()) continue;
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            pPage->Serialize(ar);
            ar.Close();
        }
        const UINT n = static_cast<UINT>(file.GetLength());
        BYTE* p = file.Detach();
        std::vector<BYTE> bytes(p, p + n);
        std::free(p);
        table.SetArchive(static_cast<UINT>(rows[i].nResultId), pPage->m_strTitle, bytes);
    }
    m_restoredPages.clear();
}

CPVXBarDlgBase* CPVXBarContainerBase::BeginPrepare(int nResultId) {
    const int nIndex = PageIndexOf(nResultId);
    m_nCurrentTMMode = nResultId;
    m_nCurChildDlg = nIndex;
    m_nCurPage = nIndex;
    m_nShownResultId = nResultId;
    m_pEngineOwner = this;
    CPVXBarDlgBase* pPage = nIndex >= 0 && nIndex < m_arrChildDlg.GetSize() ? m_arrChildDlg[nIndex] : nullptr;
    if (pPage) {
        pPage->ResetRebuildFlags();
        CPVXView* pView = GetCurPVXView();
        pPage->m_pView = pView ? pView : dynamic_cast<CPVXView*>(m_pView);
        pPage->m_pBarInfo = &m_BarInfo;
    }
    return pPage;
}

CDeformEngine* CPVXBarContainerBase::PrepareDeformEngine(BOOL bContour) {
    I_PVXModel* pModel = GetCurModel();
    if (!m_pDeformEngine) {
        m_pDeformEngine = new CDeformEngine(pModel);
        if (bContour) m_pDeformEngine->m_pContourEngine = new CContourEngine();
    }
    if (pModel && pModel->m_pDeformEngine) m_pDeformEngine->ImportEngine(pModel->m_pDeformEngine);
    // A model engine without a colour scale takes the new engine's away on import.
    if (bContour && !m_pDeformEngine->m_pContourEngine) m_pDeformEngine->m_pContourEngine = new CContourEngine();
    return m_pDeformEngine;
}

template <class E>
E* CPVXBarContainerBase::PrepareCurrentEngine(BOOL bAlwaysNew, E* pModelEngine) {
    // The kind is that of the engine itself: another container may have left one of any kind.
    E* pEngine = dynamic_cast<E*>(m_pCurrentEngine);
    if (bAlwaysNew || !pEngine) {
        DestroyCurrentEngine();
        pEngine = new E(GetCurModel());
        pEngine->m_pContourEngine = new CContourEngine();
        m_pCurrentEngine = pEngine;
    }
    if (pModelEngine) pEngine->ImportEngine(pModelEngine);
    if (!pEngine->m_pContourEngine) pEngine->m_pContourEngine = new CContourEngine();
    return pEngine;
}

template CReactionEngine* CPVXBarContainerBase::PrepareCurrentEngine<CReactionEngine>(BOOL, CReactionEngine*);
template CForceEngine* CPVXBarContainerBase::PrepareCurrentEngine<CForceEngine>(BOOL, CForceEngine*);
template CStressEngine* CPVXBarContainerBase::PrepareCurrentEngine<CStressEngine>(BOOL, CStressEngine*);

void CPVXBarContainerBase::HandEnginesToPage(CPVXBarDlgBase* pPage, CEngineBase* pScaleOwner) {
    if (!pPage) return;
    pPage->m_pDeformEngine = m_pDeformEngine;
    pPage->m_pReactionEngine = dynamic_cast<CReactionEngine*>(m_pCurrentEngine);
    pPage->m_pForceEngine = dynamic_cast<CForceEngine*>(m_pCurrentEngine);
    pPage->m_pStressEngine = dynamic_cast<CStressEngine*>(m_pCurrentEngine);
    pPage->m_pContourEngine = pScaleOwner ? pScaleOwner->m_pContourEngine : nullptr;
}

int CPVXBarContainerBase::PrepareForcePage(int nResultId, BOOL bDeform) {
    if (PageIndexOf(nResultId) < 0) return 0;
    CPVXBarDlgBase* pPage = BeginPrepare(nResultId);
    I_PVXModel* pModel = GetCurModel();
    if (bDeform) PrepareDeformEngine(TRUE)->m_nComponent = kDispTotal;
    CForceEngine* pForce = PrepareCurrentEngine<CForceEngine>(FALSE, pModel ? pModel->m_pForceEngine : nullptr);
    m_nEngineKind = ENGINE_FORCE;
    m_BarInfo.bContour = 1;
    HandEnginesToPage(pPage, pForce);
    return 1;
}

void CPVXBarContainerBase::TakeBackEngines() {
    if (m_pEngineOwner == this || m_nShownResultId < 0) return;
    DestroyCurrentEngine();
    DestroyDeformEngine();
    m_pEngineOwner = nullptr;
    PreparePage(m_nShownResultId);
}

// ---- settings block ----------------------------------------------------------------------------

void CPVXBarContainerBase::InitDlgBarData(int) {
    if (I_PVXModel* pModel = GetCurModel()) {
        m_BarInfo.ReadFromModel(*pModel);
        pModel->m_bFigureMode = 0;
        pModel->m_bFigurePanel = 0;
    }
    m_BarInfo.dwLoadTypeMask = T_PVX_BAR_INFO::kLoadTypeMask;
    I_MainFrameBase::CloseFigureDlg();
}

void CPVXBarContainerBase::Copy2PVXModelBarInfo() {
    if (I_PVXModel* pModel = GetCurModel()) m_BarInfo.WriteToModel(*pModel);
}

void CPVXBarContainerBase::Copy2PVXModelEngines(int nDisplayMode) {
    I_PVXModel* pModel = GetCurModel();
    if (!pModel) return;
    I_PVXModel& m = *pModel;
    const HandOver h = HandOverOf(nDisplayMode);
    if (h == HandOver::kNone) return;
    Step("I_PVXModel::ResetEngines");
    m.ResetEngines();
    switch (h) {
    case HandOver::kReaction:
        m.m_pReactionEngine = FreshImported<CReactionEngine>(m, m_pCurrentEngine, "CReactionEngine::ImportEngine");
        break;
    case HandOver::kDeform:
        m.m_pDeformEngine = FreshImported<CDeformEngine>(m, m_pDeformEngine, "CDeformEngine::ImportEngine");
        break;
    case HandOver::kDeformForce:
        m.m_pDeformEngine = FreshImported<CDeformEngine>(m, m_pDeformEngine, "CDeformEngine::ImportEngine");
        m.m_pForceEngine = FreshImported<CForceEngine>(m, m_pCurrentEngine, "CForceEngine::ImportEngine");
        break;
    case HandOver::kDeformStress:
        m.m_pDeformEngine = FreshImported<CDeformEngine>(m, m_pDeformEngine, "CDeformEngine::ImportEngine");
        m.m_pStressEngine = FreshImported<CStressEngine>(m, m_pCurrentEngine, "CStressEngine::ImportEngine");
        break;
    case HandOver::kNone:
        break;
    }
}

// ---- result table, fonts and layout --------------------------------------------------------------

UINT CPVXBarContainerBase::GetResultTableID() {
    for (const ResultTable& r : kResultTables)
        if (r.nResultId == m_nCurrentTMMode) return r.nCommand;
    return 0;
}

void CPVXBarContainerBase::OnPvxShowtable() {
    const UINT nID = GetResultTableID();
    if (nID == 0) return;
    if (CWnd* pMain = AfxGetMainWnd()) pMain->SendMessage(WM_COMMAND, MAKEWPARAM(nID, 0), 0);
}

BOOL CPVXBarContainerBase::IsDrawingLegendMode(int nDisplayMode) { return nDisplayMode != PVXMode::kNodeDisp; }

double CPVXBarContainerBase::GetFontRatio() {
    CPVXView* pView = GetCurPVXView();
    if (!pView || !pView->GetSafeHwnd()) return 1.0;
    CDC* pDC = pView->GetDC();
    if (!pDC) return 1.0;
    const int nWidth = pDC->GetDeviceCaps(HORZRES);
    pView->ReleaseDC(pDC);
    return nWidth >= 1024 ? 1.0 : nWidth / 1400.0;
}

void CPVXBarContainerBase::InitLegendFont() {
    I_PVXModel* pModel = GetCurModel();
    if (!pModel) return;
    const double r = GetFontRatio();
    Step("CLegendEngine::InitFont");
    pModel->m_LegendEngine.InitFont(static_cast<int>(18 * r), static_cast<int>(12 * r));
}

void CPVXBarContainerBase::LayoutChildDlg(CRect& groupRect, CRect& closeRect) {
    int nHeight = closeRect.bottom + 7 - (groupRect.top - 45);
    if (m_nExtraLayoutHeight > 0)
        for (int id : kExtraHeightResults)
            if (id == m_nCurrentTMMode) {
                nHeight += m_nExtraLayoutHeight;
                break;
            }
    SetScrollSizes(MM_TEXT, CSize(226, nHeight));
    if (GetSafeHwnd()) Invalidate(FALSE);
}

// ---- activation and closing ----------------------------------------------------------------------

void CPVXBarContainerBase::OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) {
    if (bActivate)
        if (I_PVXModel* pModel = GetCurModel()) pModel->m_nBarDisplayMode = m_nCurrentMode;
    CFormViewInBar::OnActivateView(bActivate, pActivateView, pDeactiveView);
}

void CPVXBarContainerBase::OnClose() {
    ArchivePageSettings();
    m_nCurrentMode = -1;
    m_nCurrentTMMode = -1;
    m_nShownResultId = -1;
}

void CPVXBarContainerBase::OnDestroy() {
    CFormViewInBar::OnDestroy();
    OnClose();
}

// ---- the execute step ----------------------------------------------------------------------------

// The deformed geometry rebuilt with its picking tree when the display is on the deformed shape.
static void RebuildDeformedWhenShown(I_PVXModel& m) {
    int nNodeType = 0, nObjType = 0;
    m.RE_GetNode_ElemTypeByCDBDocSelection(nNodeType, nObjType);
    if (nNodeType == m.m_nNodeIDFirst + 1 && !m.m_bDeformedHeld) {
        Step("I_PVXModel::InitDeformed");
        m.InitDeformed(1);
    }
}

void CPVXBarContainerBase::UpdateZoomAllView() {
    I_PVXModel* pModel = GetCurModel();
    if (!pModel) return;
    RebuildDeformedWhenShown(*pModel);
    if (pModel->m_pPVXCtrl) pModel->m_pPVXCtrl->ViewZoomAll(0);
}

void CPVXBarContainerBase::UpdateAllWcsVcsMBR() {
    I_PVXModel* pModel = GetCurModel();
    if (!pModel || !pModel->m_pPVXCtrl) return;
    if (m_nCurrentMode == PVXMode::kModeShape) {
        pModel->m_pPVXCtrl->UpdateAllWcsVcsMBR();
        return;
    }
    if (CPVXView* pView = GetCurPVXView()) pView->RestoreFrameTitle();
    if (!m_BarInfo.bDeformed) return;
    // The view-state word is the module's; the update must not change it.
    const int nKept = pModel->m_pDispOpt ? pModel->m_pDispOpt->m_bWireFrame : 0;
    pModel->m_pPVXCtrl->UpdateAllWcsVcsMBR();
    if (pModel->m_pDispOpt) pModel->m_pDispOpt->m_bWireFrame = nKept;
}

void CPVXBarContainerBase::OnTmExecute() {
    CPVXView* pView = GetCurPVXView();
    I_PVXModel* pModel = pView ? pView->GetPVXModel() : nullptr;
    if (!pModel) return;
    I_PVXModel& m = *pModel;
    I_PVXCtrl* pCtrl = m.m_pPVXCtrl;
    T_PVX_DOPT_D* pOpt = m.m_pDispOpt;
    // The page must work on engines that exist.
    TakeBackEngines();
    // The drawing area the view shows now, before the steps below move the legend margin.
    const CRect areaBefore = pCtrl ? pCtrl->GetDrawingArea() : CRect();

    // 1. Selection, figure flags and the figure panel.
    Step("I_PVXCtrl::UnselectAllObject");
    if (pCtrl) pCtrl->UnselectAllObject();
    m.m_bFigureMode = 0;
    m.m_bFigurePanel = 0;
    Step("I_MainFrameBase::CloseFigureDlg");
    I_MainFrameBase::CloseFigureDlg();
    // 2, 3. Legend fonts; the view shows a result from now on; animation mode left.
    InitLegendFont();
    m.m_bInitializing = 0;
    Step("CAnimationEngine::ExitAnimationMode");
    m.m_AnimationEngine.ExitAnimationMode();
    // 4. The legend switch of the display drawn so far.
    const int bLegendBefore = pOpt && IsDrawingLegendMode(m.m_nDisplayMode) ? pOpt->m_Legend.m_bShowLegend : 0;
    // 5. The page's options into the editing engines.
    if (CPVXBarDlgBase* pPage =
            m_nCurPage >= 0 && m_nCurPage < m_arrChildDlg.GetSize() ? m_arrChildDlg[m_nCurPage] : nullptr) {
        Step("I_PVXCtrl::OffKrigContour");
        if (pCtrl) pCtrl->OffKrigContour();
        m.m_bAmplitudeOff = 0;
        Step("CPVXBarDlgBase::ApplyOptions");
        pPage->ApplyOptions();
        if (pCtrl && pCtrl->IsGLRenderer() && pCtrl->IsXGRMode()) {
            Step("I_PVXCtrl::XGR_SetRebuildGeom");
            pCtrl->XGR_SetRebuildGeom(1);
        }
    }
    // 6. Settings and engines to the model (the tree-menu test always lets this run).
    if (m.IsTreemenuMenu()) return;
    Step("Copy2PVXModelBarInfo");
    Copy2PVXModelBarInfo();
    Copy2PVXModelEngines(m_nCurrentMode);
    Step("I_PVXModel::ActiveModelViewFrame");
    I_PVXModel::ActiveModelViewFrame();
    // 7. The display mode; no legend where the mode draws none.
    m.m_nDisplayMode = m_nCurrentMode;
    const BOOL bLegendMode = IsDrawingLegendMode(m_nCurrentMode);
    if (pOpt && !bLegendMode) pOpt->m_Legend.m_bShowLegend = 0;
    Step("I_PVXModel::ResetLegendRect");
    m.ResetLegendRect();
    // 8. A legend that comes or goes changes the drawing area: zoom to the whole model. The
    // panel also comes with the first result under a legend switch that was already on (a view
    // without a result keeps no legend margin), so a changed area zooms as well.
    const bool bAreaChanged = pCtrl && pCtrl->GetDrawingArea() != areaBefore;
    if (pOpt && (bLegendBefore != pOpt->m_Legend.m_bShowLegend || bAreaChanged)) {
        RebuildDeformedWhenShown(m);
        Step("I_PVXCtrl::ViewZoomAll");
        if (pCtrl) pCtrl->ViewZoomAll(0);
    }
    // 9. The page's legend box, in a mode that draws a legend.
    const int bLegend = bLegendMode ? m_BarInfo.bLegend : 0;
    if (pOpt) pOpt->m_Legend.m_bShowLegend = bLegend;
    Step("I_PVXCtrl::SetShowVPointIcon");
    if (pCtrl) pCtrl->SetShowVPointIcon(!bLegend);
    // 10. The deformed geometry of the new engines.
    if (!m.m_bDeformedHeld) {
        Step("I_PVXModel::ResetDeformed");
        m.ResetDeformed(0);
        Step("I_PVXModel::InitDeformed");
        m.InitDeformed(0);
    }
    // 11. Frame title (not for mode shapes) and the control's rectangles.
    if (m_nCurrentMode != PVXMode::kModeShape) {
        Step("CPVXView::RestoreFrameTitle");
        pView->RestoreFrameTitle();
    }
    Step("I_PVXCtrl::UpdateAllWcsVcsMBR");
    if (pCtrl) pCtrl->UpdateAllWcsVcsMBR();
    // 12. Redraw; an animation is drawn as a still picture and its mode entered again.
    if (m.m_bAnimation) {
        if (!pView->m_nViewState) {
            Step("CAnimationEngine::EnterAnimationMode");
            m.m_AnimationEngine.EnterAnimationMode();
        }
        m.m_bAnimation = 0;
        m.m_bRedrawRequested = 1;
        Step("I_PVXModel::PVXRender");
        m.PVXRender();
        m.m_bAnimation = 1;
    } else {
        m.m_bRedrawRequested = 1;
        Step("I_PVXModel::PVXRender");
        m.PVXRender();
    }
    Step("I_PVXModel::RebuildQTree");
    m.RebuildQTree();
}
