#include "module/bars/CPVXBarSWall.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "host/base/CMsgDll.h"
#include "host/base/CNumericOptimizer.h"
#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/CViewCtrl.h"
#include "host/db/DBTables.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/force/CForceEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNAMIC(CSelectListEdit, CEdit)

BOOL CSelectListEdit::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && pMsg->hwnd == m_hWnd) {
        if (CWnd* pParent = GetParent())
            pParent->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_KILLFOCUS), reinterpret_cast<LPARAM>(m_hWnd));
        return TRUE;
    }
    return CEdit::PreTranslateMessage(pMsg);
}

IMPLEMENT_DYNCREATE(CPVXBarSWall, CPVXBarSlabPage)

BEGIN_MESSAGE_MAP(CPVXBarSWall, CPVXBarSlabPage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApplyButton)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnCloseBar)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnIconButton)
    ON_CBN_SELCHANGE(CPVXBarSWall::IDC_LOAD, OnLoadChange)
    ON_EN_KILLFOCUS(CPVXBarSWall::IDC_WALL_LIST, OnWallListDone)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSWall::IDC_COMP_MOMENT, CPVXBarSWall::IDC_COMP_REBAR, OnComponentButton)
    ON_CONTROL_RANGE(BN_CLICKED, CPVXBarSWall::IDC_WALLS_ALL, CPVXBarSWall::IDC_WALLS_USER, OnWallsButton)
    ON_BN_CLICKED(CPVXBarSWall::IDC_VALUES, OnReadControls)
    ON_BN_CLICKED(CPVXBarSWall::IDC_VALUES_MORE, OnValuesMoreWithDirection)
    ON_BN_CLICKED(CPVXBarSWall::IDC_LEGEND, OnReadControls)
    ON_BN_CLICKED(CPVXBarSWall::IDC_LEGEND_MORE, OnLegendDetails)
END_MESSAGE_MAP()

namespace {
CDataBase* PostDB() { return CDBDoc::m_pDBDoc ? CDBDoc::m_pDBDoc->GetMDBCtrl()->GetDBPost() : nullptr; }

// The member keys of the post database.
void MemberKeys(CArray<UINT, UINT>& keys) {
    CClassPMemb members;
    if (CDataBase* pDB = PostDB()) members.ConnectToDB(pDB);
    members.GetKeyList(keys);
}

bool SameKeys(const CArray<UINT, UINT>& a, const CArray<UINT, UINT>& b) {
    if (a.GetSize() != b.GetSize()) return false;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        if (a[i] != b[i]) return false;
    return true;
}
}  // namespace

CPVXBarSWall::CPVXBarSWall()
    : CPVXBarSlabPage(IDD, IDC_LOAD, PVXMode::kSlabWall, "Slab Wall"),
      m_nComponent(0),
      m_nWalls(WALLS_ALL),
      m_strWidth("1"),
      m_bApplying(0) {
    // The title follows the detail result shown when the page is made.
    const char* pszKey = CPVXBarContainerBase::m_nCurrentTMMode == PVXResult::kSlabWall    ? "IDS_TBX_PVX_SLAB_DETAIL_WALL"
                         : CPVXBarContainerBase::m_nCurrentTMMode == PVXResult::kSlabStrip ? "IDS_TBX_PVX_SLAB_DETAIL_STRIP"
                                                                                            : nullptr;
    m_strTitle = pszKey ? CString(CMsgDll::pfuncLoadStr(pszKey, 0)) : CString();
}

BOOL CPVXBarSWall::ParseWidth(const CString& text, double& dWidth) {
    const char* s = text.GetString();
    while (*s == ' ' || *s == '\t') ++s;
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s) return FALSE;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end || !std::isfinite(v) || v <= 0.0 || v > kMaxWidth) return FALSE;
    dWidth = v;
    return TRUE;
}

void CPVXBarSWall::DoDataExchange(CDataExchange* pDX) {
    CPVXBarSlabPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WALL_LIST, m_editWallList);
    DDX_Radio(pDX, IDC_COMP_MOMENT, m_nComponent);
    DDX_Radio(pDX, IDC_WALLS_ALL, m_nWalls);
    DDX_Text(pDX, IDC_WIDTH, m_strWidth);
    DDX_Text(pDX, IDC_WALL_LIST, m_strWallList);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
}

std::vector<CBarControlName> CPVXBarSWall::GetControlNames() const {
    return {{IDC_LOAD, "load"},      {IDC_COMP_MOMENT, "component"}, {IDC_WALLS_ALL, "walls"},
            {IDC_WALL_LIST, "list"}, {IDC_WIDTH, "width"},           {IDC_VALUES, "values"},
            {IDC_LEGEND, "legend"},  {IDC_VALUES_MORE, "values-more"}, {IDC_LEGEND_MORE, "legend-more"}};
}

BOOL CPVXBarSWall::OnInitDialog() {
    InitSlabPage(kSlabLoadMask);
    SetDlgItemText(IDC_WIDTH_UNIT, "m");
    // The page shows what the engine will draw: its width, walls and component.
    if (CForceEngine* e = Engine()) {
        m_strWidth.Format("%g", e->m_dSWallWidth);
        m_nWalls = e->m_bSWallUserKeys ? WALLS_USER : WALLS_ALL;
        m_nComponent = e->m_nSWallComp >= 0 && e->m_nSWallComp <= 2 ? e->m_nSWallComp : 0;
        m_arrWallKey.Copy(e->m_arrSWallKey);
        m_strWallList = CNumericOptimizer::Optimize(m_arrWallKey);
        m_strListTaken = m_strWallList;
    }
    m_bLegend = 0;
    if (m_pBarInfo) {
        m_bValues = m_pBarInfo->bValues;
        m_bLegend = m_pBarInfo->bLegend;
    }
    TakeModelDecimals(&I_PVXModel::m_nForceDecimals);
    Exchange(FALSE);
    OnWallsChange();
    m_bApplying = 0;
    return TRUE;
}

void CPVXBarSWall::OnApplyButton() {
    m_bApplying = 1;
    OnApply();
}

void CPVXBarSWall::OnComponentButton(UINT) {
    Exchange(TRUE);
    TakeChoice(&CForceEngine::m_nSWallComp, m_nComponent);
}

void CPVXBarSWall::OnWallsChange() {
    Exchange(TRUE);
    EnableControl(IDC_WALL_LIST, m_nWalls == WALLS_USER);
    if (CForceEngine* e = Engine())
        if (m_nWalls >= 0 && m_nWalls != e->m_bSWallUserKeys) {
            e->m_bSWallUserKeys = m_nWalls;
            m_bForceRebuild = 1;
        }
}

void CPVXBarSWall::OnWallsButton(UINT) { OnWallsChange(); }

void CPVXBarSWall::OnWallListDone() {
    Exchange(TRUE);
    CArray<UINT, UINT> all, named;
    MemberKeys(all);
    // A text that is no number list selects nothing; Apply says why.
    if (!CNumericOptimizer::SelectNumByStr(m_strWallList, all, named)) return;
    m_strListTaken = m_strWallList;
    CViewCtrl::SelectPMemb(named, 0, 1, 1, 1, 1, 1, 1);
}

void CPVXBarSWall::OnReadControls() { Exchange(TRUE); }

void CPVXBarSWall::OnValuesMoreWithDirection() { OnNumberDetails(1); }

void CPVXBarSWall::OnDBUpdate(void* pSender, int nHint, void* pData) {
    CPVXBarSlabPage::OnDBUpdate(pSender, nHint, pData);
    if (CPVXBarContainerBase::m_nCurrentMode != PVXMode::kSlabWall) return;
    if (nHint != CViewCtrl::HINT_MEMB_SELECTED && !(nHint == CViewCtrl::HINT_MEMB_PICKED && !m_bApplying)) return;
    if (!pSender || pSender != PostDB()) return;
    CArray<UINT, UINT> keys;
    if (!CViewCtrl::GetCurrentPMemb(keys)) return;
    CViewCtrl::GetAllSelectedPMemb(keys);
    const I_PVXModel* pModel = GetModel();
    const CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
    if (!pAttr) return;
    // Only the walls stay; a member that cannot be read leaves the list as it was.
    for (INT_PTR i = keys.GetSize() - 1; i >= 0; --i) {
        T_PMEMB_D memb;
        if (!pAttr->GetMemb(keys[i], memb)) return;
        if (memb.type != kWallMemberType) keys.RemoveAt(i);
    }
    std::sort(keys.GetData(), keys.GetData() + keys.GetSize());
    m_arrWallKey.Copy(keys);
    m_strWallList = CNumericOptimizer::Optimize(keys);
    m_strListTaken = m_strWallList;
    if (GetSafeHwnd()) SetDlgItemText(IDC_WALL_LIST, m_strWallList);
    // The engine's list follows, emptied too when the selection holds no wall: the drawing must
    // match the list shown. (Another bar may hold the editing engines now: Apply brings the list.)
    if (CForceEngine* e = EngineIfHeld())
        if (!SameKeys(e->m_arrSWallKey, keys)) {
            e->m_arrSWallKey.Copy(keys);
            m_bForceRebuild = 1;
        }
}

BOOL CPVXBarSWall::Validate() {
    double d = 0.0;
    if (!ParseWidth(m_strWidth, d)) {
        Refuse("IDS_TBX_PVX_Slab_Wall_Width_Invalid");
        return FALSE;
    }
    if (m_nWalls == WALLS_USER) {
        // The list must name at least one wall of the project.
        CArray<UINT, UINT> all, named;
        MemberKeys(all);
        BOOL bWall = CNumericOptimizer::SelectNumByStr(m_strWallList, all, named);
        if (bWall) {
            bWall = FALSE;
            const I_PVXModel* pModel = GetModel();
            const CPVXAttrCtrl* pAttr = pModel ? pModel->GetAttrCtrl() : nullptr;
            for (INT_PTR i = 0; pAttr && i < named.GetSize() && !bWall; ++i) {
                T_PMEMB_D memb;
                bWall = pAttr->GetMemb(named[i], memb) && memb.type == kWallMemberType;
            }
        }
        if (!bWall) {
            Refuse("IDS_TBX_PVX_Slab_Wall_List_Invalid");
            return FALSE;
        }
    }
    return TRUE;
}

void CPVXBarSWall::ApplyOptions() {
    Exchange(TRUE);
    TakeLoadOnApply();
    // A list typed and applied without leaving the field is selected now.
    if (m_nWalls == WALLS_USER && m_strWallList != m_strListTaken) OnWallListDone();
    CForceEngine* e = Engine();
    if (!e) return;
    double dWidth = e->m_dSWallWidth;
    ParseWidth(m_strWidth, dWidth);
    if (dWidth != e->m_dSWallWidth || (m_nWalls >= 0 && m_nWalls != e->m_bSWallUserKeys) ||
        (m_nComponent >= 0 && m_nComponent != e->m_nSWallComp))
        m_bForceRebuild = 1;
    if (!SameKeys(e->m_arrSWallKey, m_arrWallKey)) {
        e->m_arrSWallKey.Copy(m_arrWallKey);
        m_bForceRebuild = 1;
    }
    e->m_dSWallWidth = dWidth;
    if (m_nWalls >= 0) e->m_bSWallUserKeys = m_nWalls;
    if (m_nComponent >= 0) e->m_nSWallComp = m_nComponent;
    if (m_pBarInfo) {
        m_pBarInfo->bValues = m_bValues;
        m_pBarInfo->bLegend = m_bLegend;
    }
    StoreModelDecimals(&I_PVXModel::m_nForceDecimals);
    RebuildForce(&CForceEngine::m_bSWallBuilt);
}
