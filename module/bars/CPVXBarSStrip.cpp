#include "module/bars/CPVXBarSStrip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "host/base/CDockDlgBarBase.h"
#include "host/base/CMsgDll.h"
#include "host/base/I_ModelBase.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "module/bars/CPVXBarContainerBase.h"
#include "module/bars/SlabStripLines.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/ui/CWaitCursor.h"
#include "platform/ui/uiapi.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CPVXBarSStrip, CPVXBarDlgBase)

CMap<UINT, UINT, int, int> CPVXBarSStrip::m_mapCheckMemory;

BEGIN_MESSAGE_MAP(CPVXBarSStrip, CPVXBarDlgBase)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_APPLY, OnApply)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_CLOSE, OnClosePage)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_ICON, OnReadControls)
    ON_BN_CLICKED(CPVXBarDlgBase::IDC_PAGE_LOAD_DIALOG, OnLoadCaseDialog)
    ON_CBN_SELCHANGE(CPVXBarSStrip::IDC_LOAD, OnLoadChange)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_COMP_MOMENT, OnComponent)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_COMP_SHEAR, OnComponent)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_COMP_HIDDEN, OnComponent)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_ADD, OnAdd)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_EDIT, OnEdit)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_DELETE, OnDelete)
    ON_LBN_SELCHANGE(CPVXBarSStrip::IDC_LIST, OnListSelChange)
    ON_CLBN_CHKCHANGE(CPVXBarSStrip::IDC_LIST, OnStripsChanged)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_REDRAW, OnStripsChanged)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_ORTHO, OnReadControls)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_SHOW_WIDTH, OnReadControls)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_VALUES, OnValues)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_VALUES_MORE, OnValuesMore)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_OUT_ALL, OnOutAll)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_OUT_MAX, OnOutMax)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_METHOD_EXACT, OnMethod)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_METHOD_FIVE, OnMethod)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_CONTOUR_MORE, OnContourDetails)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_LEGEND_MORE, OnLegendDetails)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_ANIMATION_MORE, OnAnimationDetails)
    ON_BN_CLICKED(CPVXBarSStrip::IDC_DEFORMED_MORE, OnDeformDetails)
    ON_EN_SETFOCUS(CPVXBarSStrip::IDC_PT1, OnPt1Focus)
    ON_EN_SETFOCUS(CPVXBarSStrip::IDC_PT2, OnPt2Focus)
    ON_MESSAGE(CMouseEdit::WM_LBUTTONDOWN_FROM_MVIEW, OnPicked)
    ON_MESSAGE(CMouseEdit::WM_MOUSEMOVE_FROM_MVIEW, OnCursorMoved)
    ON_MESSAGE(CMouseEdit::WM_MOUSEEDITESCAPE, OnPickEscape)
END_MESSAGE_MAP()

namespace {

constexpr int kCheckMemoryBuckets = 31;
const char* const kEmptyPoint = "0, 0";

// The cutting-line table of the open project; unbound (every call refused) without one.
CClassCtln StripTable() {
    CClassCtln table;
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    table.ConnectToDB(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);
    return table;
}

// A width typed as a number that is finite and not negative.
BOOL ParseWidth(const CString& text, double& width) {
    const char* s = text.GetString();
    char* end = nullptr;
    const double v = std::strtod(s, &end);
    if (end == s) return FALSE;
    while (*end == ' ') ++end;
    if (*end || !std::isfinite(v) || v < 0.0) return FALSE;
    width = v;
    return TRUE;
}

}  // namespace

CPVXBarSStrip::CPVXBarSStrip()
    : CPVXBarDlgBase(IDD, nullptr, nullptr),
      m_nComponent(0),
      m_bOrtho(1),
      m_bShowWidth(1),
      m_nFillType(-1),
      m_nPlane(1),
      m_bOutAll(0),
      m_bOutCentre(0),
      m_bOutI(0),
      m_bOutJ(0),
      m_bOutMax(0),
      m_nMethod(-1),
      m_nNumUnit(0),
      m_bApplying(0),
      m_nNameCounter(1) {
    m_nIDLoadCombo = IDC_LOAD;
    m_dwPageLoadMask = kLoadMask;
    m_strTitle = "Slab Strip";
    if (m_mapCheckMemory.GetHashTableSize() != kCheckMemoryBuckets && m_mapCheckMemory.GetCount() == 0)
        m_mapCheckMemory.InitHashTable(kCheckMemoryBuckets);
}

void CPVXBarSStrip::ResetCheckMemory() { m_mapCheckMemory.RemoveAll(); }

void CPVXBarSStrip::DoDataExchange(CDataExchange* pDX) {
    CPVXBarDlgBase::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PT1, m_EditPt1);
    DDX_Control(pDX, IDC_PT2, m_EditPt2);
    DDX_Control(pDX, IDC_LIST, m_List);
    DDX_Radio(pDX, IDC_COMP_MOMENT, m_nComponent);
    DDX_Text(pDX, IDC_WIDTH, m_strWidth);
    DDX_Text(pDX, IDC_NAME, m_strName);
    DDX_Check(pDX, IDC_ORTHO, m_bOrtho);
    DDX_Check(pDX, IDC_SHOW_WIDTH, m_bShowWidth);
    DDX_Radio(pDX, IDC_FILL_NONE, m_nFillType);
    DDX_Text(pDX, IDC_SCALE, m_strScale);
    DDX_Radio(pDX, IDC_PLANE_NORMAL, m_nPlane);
    DDX_Check(pDX, IDC_CONTOUR, m_bContour);
    DDX_Check(pDX, IDC_VALUES, m_bValues);
    DDX_Check(pDX, IDC_LEGEND, m_bLegend);
    DDX_Check(pDX, IDC_DEFORMED, m_bDeformed);
    DDX_Check(pDX, IDC_ANIMATION, m_bAnimation);
    DDX_Check(pDX, IDC_UNDEFORMED, m_bUndeformed);
    DDX_Check(pDX, IDC_OUT_ALL, m_bOutAll);
    DDX_Check(pDX, IDC_OUT_CENTRE, m_bOutCentre);
    DDX_Check(pDX, IDC_OUT_I, m_bOutI);
    DDX_Check(pDX, IDC_OUT_J, m_bOutJ);
    DDX_Check(pDX, IDC_OUT_MAX, m_bOutMax);
    DDX_Radio(pDX, IDC_METHOD_EXACT, m_nMethod);
    DDX_Radio(pDX, IDC_UNIT_MEMBER, m_nNumUnit);
}

std::vector<CBarControlName> CPVXBarSStrip::GetControlNames() const {
    return {{IDC_LOAD, "load"},         {IDC_COMP_MOMENT, "component"}, {IDC_WIDTH, "width"},
            {IDC_NAME, "name"},         {IDC_PT1, "point1"},            {IDC_PT2, "point2"},
            {IDC_ORTHO, "orthogonal"},  {IDC_ADD, "add"},               {IDC_EDIT, "edit"},
            {IDC_DELETE, "delete"},     {IDC_LIST, "strips"},           {IDC_SHOW_WIDTH, "show-width"},
            {IDC_FILL_NONE, "fill"},    {IDC_SCALE, "scale"},           {IDC_PLANE_NORMAL, "plane"},
            {IDC_CONTOUR, "contour"},   {IDC_VALUES, "values"},         {IDC_LEGEND, "legend"},
            {IDC_OUT_ALL, "all"},       {IDC_OUT_CENTRE, "centre"},     {IDC_OUT_I, "i-end"},
            {IDC_OUT_J, "j-end"},       {IDC_OUT_MAX, "max"},           {IDC_CONTOUR_MORE, "contour-more"},
            {IDC_VALUES_MORE, "values-more"}, {IDC_LEGEND_MORE, "legend-more"}};
}

// ---- life -------------------------------------------------------------------------------------------

BOOL CPVXBarSStrip::OnInitDialog() {
    InitPageDialog(PVXMode::kSlabStrip);
    for (CMouseEdit* pEdit : {&m_EditPt2, &m_EditPt1}) {
        pEdit->SetAttUcsPos();
        pEdit->SetXYOnlyMode(1);
        pEdit->SetNotifyWnd(this, this, this);
        pEdit->SetPickMode(kPickMode);  // the first edit last: it takes the first pick
        pEdit->SetWindowText(kEmptyPoint);
    }
    m_nNameCounter = 1;
    m_arrStrip.RemoveAll();
    m_arrStripKey.RemoveAll();
    if (CWnd* p = GetDlgItem(IDC_REDRAW)) p->ShowWindow(SW_HIDE);

    // The strips of the project, in table order.
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    const std::vector<std::pair<T_STRIP_INFO, UINT>> strips =
        slabstrip::ReadStrips(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr);

    I_PVXModel* pModel = GetModel();
    m_strWidth = "1.0";
    m_strName = DefaultName();
    if (CForceEngine* e = m_pForceEngine) {
        m_nMethod = e->m_bBSfdBmdExact ? 0 : 1;
        m_nFillType = e->m_bBSfdBmdLine == 0 ? 2 : (e->m_bBSfdBmdFill == 0 ? 0 : 1);
        m_nPlane = e->m_nCLDiagramPlane;
        m_strScale.Format("%f", e->m_dBSfdBmdScale);
        m_nNumUnit = e->m_nBForcNumUnit;
        m_bOutAll = e->m_bNumAtAll;
        m_bOutMax = e->m_bNumAtMax;
        m_bOutI = e->m_bNumIEnd;
        m_bOutCentre = e->m_bNumMiddle;
        m_bOutJ = e->m_bNumJEnd;
        // As the switches' own handlers: "max" clears the three positions, "all" sets them.
        if (m_bOutMax) m_bOutI = m_bOutCentre = m_bOutJ = 0;
        else if (m_bOutAll) m_bOutI = m_bOutCentre = m_bOutJ = 1;
        m_bShowWidth = e->m_bCLShowWidth;
    }
    const bool bStepped = pModel && pModel->m_nLoadStep != 0;
    if (bStepped) m_nMethod = 1;
    if (CWnd* p = GetDlgItem(IDC_METHOD_EXACT)) p->EnableWindow(!bStepped);
    m_bContour = 1;
    m_bDeformed = 0;
    if (m_pBarInfo) {
        m_bValues = m_pBarInfo->bValues;
        m_bLegend = m_pBarInfo->bLegend;
        m_bAnimation = m_pBarInfo->bAnimation;
        m_bUndeformed = m_pBarInfo->bUndeformed;
    }
    TakeModelDecimals(&I_PVXModel::m_nForceDecimals);
    Exchange(FALSE);
    for (const auto& s : strips) {
        int nCheck = 1;
        m_mapCheckMemory.Lookup(s.second, nCheck);
        AppendStrip(s.first, s.second, nCheck);
    }
    UpdateOutputEnabling();
    if (m_pForceEngine && m_pForceEngine->m_nCLForcComp != m_nComponent) {
        m_pForceEngine->m_nCLForcComp = m_nComponent;
        m_bForceRebuild = 1;
    }
    m_bApplying = 0;
    OnMethod();
    return TRUE;
}

void CPVXBarSStrip::PostNcDestroy() {
    if (I_ModelBase* m = I_ModelBase::GetCurMySelfST()) {
        m->RemoveStripDraw();
        m->ClearTempPolyline();
    }
    CPVXBarDlgBase::PostNcDestroy();
}

// ---- small members ---------------------------------------------------------------------------------

CString CPVXBarSStrip::DefaultName() const {
    CString s;
    s.Format("%s%d", CMsgDll::pfuncLoadStr("IDS_TBX_PVX_SLAB_DETAIL_STRIP_NAMEHEADER", 0).GetString(), m_nNameCounter);
    return s;
}

void CPVXBarSStrip::Warn(LPCTSTR pszKey) { AfxMessageBox(CMsgDll::pfuncLoadStr(pszKey, 0), MB_OK, 0); }

int CPVXBarSStrip::FindStripName(const CString& name, int skip) const {
    for (INT_PTR i = 0; i < m_arrStrip.GetSize(); ++i)
        if (i != skip && m_arrStrip[i].strName.CompareNoCase(name) == 0) return static_cast<int>(i);
    return -1;
}

void CPVXBarSStrip::AppendStrip(const T_STRIP_INFO& strip, UINT key, int nCheck) {
    T_STRIP_INFO s = strip;
    const INT_PTR i = m_arrStrip.Add(s);
    m_arrStripKey.Add(key);
    if (!m_List.GetSafeHwnd()) return;
    const int n = m_List.AddString(strip.strName);
    m_List.SetItemData(n, static_cast<DWORD_PTR>(i));
    m_List.SetCheck(n, nCheck);
}

void CPVXBarSStrip::ClearPicks() {
    m_picks.clear();
    if (I_ModelBase* m = I_ModelBase::GetCurMySelfST()) m->ClearTempPolyline();
}

void CPVXBarSStrip::RememberChecks() {
    m_mapCheckMemory.RemoveAll();
    if (!m_List.GetSafeHwnd()) return;
    for (int i = 0; i < m_List.GetCount() && i < m_arrStripKey.GetSize(); ++i)
        m_mapCheckMemory.SetAt(m_arrStripKey[i], m_List.GetCheck(i));
}

BOOL CPVXBarSStrip::ReadStripEdits(CString& name, double& width, double p1[3], double p2[3]) {
    Exchange(TRUE);
    name = m_strName;
    name.Trim();
    if (name.IsEmpty()) {
        Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_NONAME");
        return FALSE;
    }
    if (name.GetLength() >= static_cast<int>(sizeof(T_CTLN_D::name))) {
        Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_LONGNAME");
        return FALSE;
    }
    if (!ParseWidth(m_strWidth, width)) {
        Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_BADWIDTH");
        return FALSE;
    }
    const BOOL ok = m_EditPt1.GetPosition(p1[0], p1[1], p1[2]) && m_EditPt2.GetPosition(p2[0], p2[1], p2[2]);
    p1[2] = p2[2] = 0.0;  // strips lie in plan
    if (!ok || !(std::hypot(p2[0] - p1[0], p2[1] - p1[1]) >= slabstrip::kMergeTolerance)) {
        Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_BADPOINT");
        return FALSE;
    }
    return TRUE;
}

// ---- add, edit, delete ------------------------------------------------------------------------------

int CPVXBarSStrip::AddStrip() {
    CString name;
    double width = 1.0, p1[3], p2[3];
    if (!ReadStripEdits(name, width, p1, p2)) return 0;
    std::vector<std::vector<slabstrip::PlanPoint>> polygons;
    std::vector<slabstrip::PlanPoint> columns;
    CDBDoc* pDoc = CDBDoc::m_pDBDoc;
    slabstrip::CollectSplitters(pDoc ? pDoc->GetMDBCtrl()->GetDBPost() : nullptr, polygons, columns);
    const std::vector<slabstrip::PlanPoint> line =
        slabstrip::SplitLine({p1[0], p1[1]}, {p2[0], p2[1]}, polygons, columns);
    const int nPieces = static_cast<int>(line.size()) - 1;
    if (nPieces < 1) {
        Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_BADPOINT");
        return 0;
    }
    // Every piece's name is checked before anything is stored.
    for (int i = 0; i < nPieces; ++i)
        if (FindStripName(slabstrip::PieceName(name, i, nPieces)) >= 0) {
            Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_SAMENAME");
            return 0;
        }
    CClassCtln table = StripTable();
    std::vector<UINT> added;
    for (int i = 0; i < nPieces; ++i) {
        const double a[3] = {line[i].x, line[i].y, 0.0}, b[3] = {line[i + 1].x, line[i + 1].y, 0.0};
        const UINT key = table.TR_Add(CTLN_KIND_STRIP, slabstrip::PieceName(name, i, nPieces), width, a, b);
        if (!key) {
            // A strip is stored whole or not at all.
            for (UINT k : added) table.TR_Del(k);
            Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_NOT_SAVED");
            return 0;
        }
        added.push_back(key);
    }
    for (int i = 0; i < nPieces; ++i)
        AppendStrip(slabstrip::MakeStrip(slabstrip::PieceName(name, i, nPieces), width, line[i].x, line[i].y, line[i + 1].x,
                              line[i + 1].y),
                    added[static_cast<size_t>(i)], 1);
    ++m_nNameCounter;
    m_strName = DefaultName();
    Exchange(FALSE);
    m_EditPt1.SetWindowText(kEmptyPoint);
    m_EditPt2.SetWindowText(kEmptyPoint);
    for (int i = 0; i < m_List.GetCount(); ++i) m_List.SetSel(i, FALSE);
    if (m_List.GetCount() > 0) {
        m_List.SetSel(m_List.GetCount() - 1, TRUE);
        m_List.SetCaretIndex(m_List.GetCount() - 1);
    }
    RedrawStrips();
    ClearPicks();
    m_EditPt2.SetPickMode(kPickMode);
    m_EditPt1.SetPickMode(kPickMode);
    GotoDlgCtrl(&m_EditPt1);
    return 1;
}

int CPVXBarSStrip::EditStrip() {
    const int nSel = m_List.GetSelCount();
    if (nSel <= 0) {
        Warn("IDS_CMD_NO_SELECTED_ITEM");
        return 0;
    }
    if (nSel > 1) {
        Warn("IDS_CMD_SELECT_ONE_ITEM");
        return 0;
    }
    int n = -1;
    m_List.GetSelItems(1, &n);
    if (n < 0 || n >= m_arrStrip.GetSize()) return 0;
    CString name;
    double width = 1.0, p1[3], p2[3];
    if (!ReadStripEdits(name, width, p1, p2)) return 0;
    // The line is found by its key: names alone could name another strip's line.
    if (FindStripName(name, n) >= 0) {
        Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_SAMENAME");
        return 0;
    }
    CClassCtln table = StripTable();
    if (!table.TR_Modify(m_arrStripKey[n], name, width, p1, p2)) {
        Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_NOT_SAVED");
        return 0;
    }
    m_arrStrip[n] = slabstrip::MakeStrip(name, width, p1[0], p1[1], p2[0], p2[1]);
    // The entry takes the new name in place and keeps its check.
    const int nCheck = m_List.GetCheck(n);
    m_List.DeleteString(static_cast<UINT>(n));
    m_List.InsertString(n, name);
    m_List.SetItemData(n, static_cast<DWORD_PTR>(n));
    m_List.SetCheck(n, nCheck);
    m_List.SetSel(n, TRUE);
    m_List.SetCaretIndex(n);
    RedrawStrips();
    ClearPicks();
    return 1;
}

int CPVXBarSStrip::DeleteStrips() {
    const int nSel = m_List.GetSelCount();
    if (nSel <= 0) {
        Warn("IDS_CMD_NO_SELECTED_ITEM");
        return 0;
    }
    std::vector<int> sel(static_cast<size_t>(nSel));
    m_List.GetSelItems(nSel, sel.data());
    std::sort(sel.begin(), sel.end());
    CClassCtln table = StripTable();
    int nDeleted = 0;
    for (auto it = sel.rbegin(); it != sel.rend(); ++it) {
        const int i = *it;
        if (i < 0 || i >= m_arrStrip.GetSize()) continue;
        // A line the table no longer holds is gone already: its entry goes too.
        const UINT key = m_arrStripKey[i];
        if (!table.TR_Del(key) && table.Exist(key)) {
            Warn("IDS_TBX_PVX_SLAB_DETAIL_STRIP_NOT_SAVED");
            break;
        }
        if (i == m_arrStrip.GetSize() - 1 && m_nNameCounter > 1) --m_nNameCounter;
        m_mapCheckMemory.RemoveKey(key);
        m_arrStrip.RemoveAt(i);
        m_arrStripKey.RemoveAt(i);
        m_List.DeleteString(static_cast<UINT>(i));
        ++nDeleted;
    }
    // Item data follow the list order whatever happened above.
    for (int i = 0; i < m_List.GetCount(); ++i) m_List.SetItemData(i, static_cast<DWORD_PTR>(i));
    m_strName = DefaultName();
    Exchange(FALSE);
    m_EditPt1.SetWindowText(kEmptyPoint);
    m_EditPt2.SetWindowText(kEmptyPoint);
    RedrawStrips();
    return nDeleted;
}

// ---- drawing the strips ----------------------------------------------------------------------------

void CPVXBarSStrip::RedrawStrips() {
    if (I_ModelBase* m = I_ModelBase::GetCurMySelfST()) {
        m->ClearStripDraw();
        m->BeginStripDraw();
        const int caret = m_List.GetSafeHwnd() ? m_List.GetCaretIndex() : -1;
        if (caret >= 0 && caret < m_List.GetCount())
            m->SelectStrip(caret, 2);
        else
            m->SelectStrip(-1, 1);
        for (int i = 0; i < m_List.GetCount() && i < m_arrStrip.GetSize(); ++i) {
            if (!m_List.GetCheck(i)) continue;
            CArray<C3DPoint, C3DPoint&> polyline;
            C3DPoint a(m_arrStrip[i].x1, m_arrStrip[i].y1, 0.0), b(m_arrStrip[i].x2, m_arrStrip[i].y2, 0.0);
            polyline.Add(a);
            polyline.Add(b);
            m->AddStrip(m_arrStrip[i].strName, polyline, i);
        }
        m->EndStripDraw();
    }
    m_bForceRebuild = 1;
}

void CPVXBarSStrip::OnListSelChange() {
    const int i = m_List.GetCaretIndex();
    if (i < 0 || i >= m_arrStrip.GetSize()) return;
    const T_STRIP_INFO& s = m_arrStrip[i];
    m_strWidth.Format("%g", s.dWidth);
    m_strName = s.strName;
    Exchange(FALSE);
    CString text;
    text.Format("%.1f, %.1f", s.x1, s.y1);
    m_EditPt1.SetWindowText(text);
    text.Format("%.1f, %.1f", s.x2, s.y2);
    m_EditPt2.SetWindowText(text);
    RedrawStrips();
}

void CPVXBarSStrip::OnStripsChanged() {
    ClearPicks();
    RedrawStrips();
}

// ---- picking -------------------------------------------------------------------------------------------

void CPVXBarSStrip::OnPt1Focus() {
    if (m_EditPt1.GetPickMode() == 0 || CMouseEdit::GetCurPickingEditST() != &m_EditPt1) m_EditPt1.SetPickMode(kPickMode);
}

void CPVXBarSStrip::OnPt2Focus() {
    if (m_EditPt2.GetPickMode() == 0 || CMouseEdit::GetCurPickingEditST() != &m_EditPt2) m_EditPt2.SetPickMode(kPickMode);
}

LRESULT CPVXBarSStrip::OnPicked(WPARAM wParam, LPARAM lParam) {
    if (CPVXBarContainerBase::m_nCurrentTMMode != PVXResult::kSlabStrip) return 0;
    CPVXBarContainerBase::m_nCurrentMode = PVXMode::kSlabStrip;
    auto* pEdit = reinterpret_cast<CMouseEdit*>(lParam);
    if (!pEdit || pEdit->IsKeyPressed()) return 0;
    T_PICKED_OBJECT picked;
    if (!CMouseEdit::GetCurPickedPVXObjectDataST(picked)) return 0;
    CString text;
    if (wParam == IDC_PT1) {
        m_picks.assign(1, C3DPoint(picked.pos.x, picked.pos.y, 0.0));
        text.Format("%.10g, %.10g", picked.pos.x, picked.pos.y);
        m_EditPt1.SetWindowText(text);
        m_EditPt2.SetPickMode(kPickMode);
        GotoDlgCtrl(&m_EditPt2);
    } else if (wParam == IDC_PT2) {
        slabstrip::PlanPoint p{picked.pos.x, picked.pos.y};
        if (m_bOrtho && !m_picks.empty()) p = slabstrip::SnapOrthogonal({m_picks[0].x, m_picks[0].y}, p);
        if (m_picks.size() == 1) m_picks.push_back(C3DPoint(p.x, p.y, 0.0));
        text.Format("%.10g, %.10g", p.x, p.y);
        m_EditPt2.SetWindowText(text);
        m_EditPt2.SetPickMode(0);
    }
    return 0;
}

LRESULT CPVXBarSStrip::OnCursorMoved(WPARAM wParam, LPARAM lParam) {
    CPVXBarContainerBase::m_nCurrentMode = PVXMode::kSlabStrip;
    auto* pEdit = reinterpret_cast<CMouseEdit*>(lParam);
    if (wParam != IDC_PT2 || !pEdit || pEdit->IsKeyPressed()) return 0;
    C3DPoint cursor;
    if (!CMouseEdit::GetCurCursorPosST(cursor)) return 0;
    slabstrip::PlanPoint p{cursor.x, cursor.y};
    if (m_bOrtho && !m_picks.empty()) p = slabstrip::SnapOrthogonal({m_picks[0].x, m_picks[0].y}, p);
    if (m_picks.size() != 1) return 0;
    if (I_ModelBase* m = I_ModelBase::GetCurMySelfST()) {
        CArray<C3DPoint, C3DPoint&> band;
        C3DPoint a = m_picks[0], b(p.x, p.y, 0.0);
        band.Add(a);
        band.Add(b);
        m->DrawTempPolyline(band);
    }
    return 0;
}

LRESULT CPVXBarSStrip::OnPickEscape(WPARAM, LPARAM) {
    if (!I_ModelBase::GetCurMySelfST()) return 0;
    m_EditPt1.SetWindowText("");
    m_EditPt2.SetWindowText("");
    ClearPicks();
    m_EditPt2.SetPickMode(kPickMode);
    m_EditPt1.SetPickMode(kPickMode);
    GotoDlgCtrl(&m_EditPt1);
    return 0;
}

// ---- options ----------------------------------------------------------------------------------------------

void CPVXBarSStrip::UpdateOutputEnabling() {
    auto enable = [this](UINT id, BOOL b) {
        if (CWnd* p = GetDlgItem(static_cast<int>(id))) p->EnableWindow(b);
    };
    const BOOL bSingles = m_bValues && !m_bOutAll && !m_bOutMax;
    enable(IDC_UNIT_MEMBER, m_bValues);
    enable(IDC_UNIT_ELEMENT, m_bValues);
    enable(IDC_OUT_ALL, m_bValues);
    enable(IDC_OUT_MAX, m_bValues);
    enable(IDC_OUT_I, bSingles);
    enable(IDC_OUT_CENTRE, bSingles);
    enable(IDC_OUT_J, bSingles);
}

void CPVXBarSStrip::OnValues() {
    Exchange(TRUE);
    UpdateOutputEnabling();
}

void CPVXBarSStrip::OnValuesMore() {
    TurnBoxOn(m_bValues);
    UpdateOutputEnabling();
    OnNumberDetails(0);
}

void CPVXBarSStrip::OnOutAll() {
    Exchange(TRUE);
    if (m_bOutAll) {
        m_bOutMax = 0;
        m_bOutI = m_bOutCentre = m_bOutJ = 1;
        Exchange(FALSE);
    }
    UpdateOutputEnabling();
}

void CPVXBarSStrip::OnOutMax() {
    Exchange(TRUE);
    if (m_bOutMax) {
        m_bOutAll = m_bOutI = m_bOutCentre = m_bOutJ = 0;
        Exchange(FALSE);
    }
    UpdateOutputEnabling();
}

void CPVXBarSStrip::OnMethod() {
    Exchange(TRUE);
    const int bExact = m_nMethod == 0 ? 1 : 0;
    if (m_pForceEngine && m_nMethod >= 0 && m_pForceEngine->m_bBSfdBmdExact != bExact) {
        m_pForceEngine->m_bBSfdBmdExact = bExact;
        m_bForceRebuild = 1;
    }
}

void CPVXBarSStrip::OnComponent() {
    Exchange(TRUE);
    if (m_pForceEngine && m_nComponent >= 0 && m_pForceEngine->m_nCLForcComp != m_nComponent) {
        m_pForceEngine->m_nCLForcComp = m_nComponent;
        m_bForceRebuild = 1;
    }
}

void CPVXBarSStrip::OnLoadChange() {
    Exchange(TRUE);
    TakeLoadOnApply();
}

// ---- apply and close ----------------------------------------------------------------------------------------

void CPVXBarSStrip::OnApply() {
    m_bApplying = 1;
    CWaitCursor wait;
    Execute();
}

void CPVXBarSStrip::Execute() {
    Exchange(TRUE);
    CPVXBarContainerBase::m_nCurrentMode = PVXMode::kSlabStrip;
    if (m_pContainer) m_pContainer->OnTmExecute();
}

void CPVXBarSStrip::OnClosePage() {
    RememberChecks();
    CDockDlgBarBase::CloseDlgBar();
}

void CPVXBarSStrip::ApplyOptions() {
    Exchange(TRUE);
    I_PVXModel* pModel = GetModel();
    TakeLoadOnApply();
    CForceEngine* e = m_pForceEngine;
    if (m_pBarInfo) {
        m_pBarInfo->bContour = m_bContour;
        m_pBarInfo->bDeformed = m_bDeformed;
        m_pBarInfo->bValues = m_bValues;
        m_pBarInfo->bLegend = m_bLegend;
        m_pBarInfo->bAnimation = m_bAnimation;
        m_pBarInfo->bUndeformed = m_bUndeformed;
    }
    StoreModelDecimals(&I_PVXModel::m_nForceDecimals);
    if (!e) return;
    if (m_nComponent >= 0 && m_nComponent != e->m_nCLForcComp) {
        e->m_nCLForcComp = m_nComponent;
        m_bForceRebuild = 1;
    }
    e->m_arrStripInfo.RemoveAll();
    for (int i = 0; i < m_List.GetCount() && i < m_arrStrip.GetSize(); ++i)
        if (m_List.GetCheck(i)) e->m_arrStripInfo.Add(m_arrStrip[i]);
    if (m_nMethod >= 0) e->m_bBSfdBmdExact = m_nMethod == 0 ? 1 : 0;
    switch (m_nFillType) {
    case 0: e->m_bBSfdBmdLine = 1, e->m_bBSfdBmdFill = 0; break;
    case 1: e->m_bBSfdBmdLine = 1, e->m_bBSfdBmdFill = 1; break;
    case 2: e->m_bBSfdBmdLine = 0, e->m_bBSfdBmdFill = 1; break;
    default: break;
    }
    double scale = 0.0;
    if (ParseWidth(m_strScale, scale)) e->m_dBSfdBmdScale = scale;
    e->m_bDeformed = m_bDeformed;
    e->m_bNumAtAll = m_bOutAll;
    e->m_bNumAtMax = m_bOutMax;
    e->m_bNumIEnd = m_bOutI;
    e->m_bNumMiddle = m_bOutCentre;
    e->m_bNumJEnd = m_bOutJ;
    if (m_nNumUnit >= 0) e->m_nBForcNumUnit = m_nNumUnit;
    e->m_bCLShowWidth = m_bShowWidth;
    if (m_nPlane >= 0) e->m_nCLDiagramPlane = m_nPlane;
    if (m_bForceRebuild) {
        if (e->m_pContourEngine) e->m_pContourEngine->ResetGlobalRange();
        e->InitEngine(nullptr, -1);
        m_bForceRebuild = 0;
    }
    if (pModel) pModel->m_bResultPresent = e->m_bCLForcData ? 1 : 0;
}
