// Popup legend window: an editable copy of the current colour scale, imposed on the result
// engines as a global range when the window closes.
#include "module/contour/CPVXLegendWnd.h"

#include <cmath>
#include <cstdlib>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/contour/CLegendEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CEngineBase.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXView.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"
#include "platform/ui/uidefs.h"

namespace {

constexpr double kLevelTolerance = 1e-10;  // two level values closer than this are the same
constexpr COLORREF kMinMaxTextColor = RGB(0, 0, 255);

// Display modes whose popup scale is the contour scale whatever the contour switch.
bool IsAlwaysContourMode(int nMode) {
    using namespace PVXMode;
    switch (nMode) {
    case kDispContour: case kStoryShearRatio: case kFrameForceContour: case kFrameForceDiagram:
    case kWallForceContour: case kWallForceDiagram: case kSlabForce: case kSlabWall: case kSlabStrip:
    case kSlabForceBeam: case kReactionContour:
        return true;
    default:
        return false;
    }
}

}  // namespace

void GetLegendWndLogFont(LOGFONT& lf) { FillLegendLogFont(lf, 10, 4, "宋体"); }

// ---- CLegendEdit -----------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CLegendEdit, CEdit)

BEGIN_MESSAGE_MAP(CLegendEdit, CEdit)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CLegendEdit::CLegendEdit() {
    LOGFONT lf;
    GetLegendWndLogFont(lf);
    m_font.CreateFontIndirect(&lf);
}

CLegendEdit::~CLegendEdit() { m_font.DeleteObject(); }

int CLegendEdit::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CEdit::OnCreate(lpCreateStruct) == -1) return -1;
    SetFont(&m_font, FALSE);
    return 0;
}

// ---- CPVXLegendWnd ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVXLegendWnd, CWnd)

BEGIN_MESSAGE_MAP(CPVXLegendWnd, CWnd)
    ON_WM_PAINT()
    ON_WM_GETMINMAXINFO()
    ON_WM_LBUTTONDOWN()
    ON_WM_ACTIVATE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CPVXLegendWnd::CPVXLegendWnd(int nMode, CPVXView* pView)
    : m_nMode(nMode),
      m_bCustomized(0),
      m_nEditTarget(-1),
      m_bFontCreated(0),
      m_rcClient(0, 0, 0, 0),
      m_rcWindow(0, 0, 0, 0),
      m_pOwner(nullptr),
      m_pView(pView),
      m_hView(pView ? pView->GetSafeHwnd() : nullptr),
      m_pModel(pView ? pView->GetPVXModel() : nullptr),
      m_pLegendEngine(m_pModel ? &m_pModel->m_LegendEngine : nullptr),
      m_bChanged(0) {
    GetLegendWndLogFont(m_lf);
    m_bFontCreated = m_font.CreateFontIndirect(&m_lf) ? 1 : 0;
}

CPVXLegendWnd::~CPVXLegendWnd() {
    if (m_bFontCreated) m_font.DeleteObject();
    m_bFontCreated = 0;
}

BOOL CPVXLegendWnd::IsOwnerAlive() const {
    if (!m_pView || !m_pModel || !m_pLegendEngine) return FALSE;
    // Handles are never reused, so a live handle still means our view.
    if (!::IsWindow(m_hView) || CWnd::FromHandlePermanent(m_hView) != m_pView) return FALSE;
    if (m_pView->GetPVXModel() != m_pModel) return FALSE;
    // A view on its way out has already unhooked its model from the graphics control.
    return m_pView->GetI_PVXCtrl()->GetI_PVXModel() == static_cast<I_PVXModelBase*>(m_pModel);
}

CContourEngine* CPVXLegendWnd::GetContourEngine() const {
    return IsOwnerAlive() ? m_pLegendEngine->m_pContourEngine : nullptr;
}

int CPVXLegendWnd::RowHeight() const { return IsOwnerAlive() ? m_pLegendEngine->m_nValueLineHeight : 0; }

BOOL CPVXLegendWnd::Create(CWnd* pParent, CRect& rect, UINT /*nFlags*/) {
    CContourEngine* pEngine = GetContourEngine();
    if (!pEngine) return FALSE;
    m_pOwner = pParent;
    const int h = RowHeight();

    m_bCustomized = pEngine->m_bGlobalRange;
    int n = pEngine->m_nNumColor;
    if (n < 0) n = 0;
    if (n > CContourEngine::MAX_LEVELS) n = CContourEngine::MAX_LEVELS;
    m_arrLevel.SetSize(n);
    for (int i = 0; i < n; i++) m_arrLevel[i] = pEngine->m_dRankMap[i];

    m_rcClient.SetRect(0, 0, rect.Width(), rect.Height());
    m_rcWindow = rect;
    m_rcWindow.bottom += 4 * h;

    LPCTSTR pszClass = AfxRegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (!CreateEx(0, pszClass, "Legend Window", WS_POPUP | WS_VISIBLE | WS_THICKFRAME, m_rcWindow.left,
                  m_rcWindow.top, m_rcWindow.Width(), m_rcWindow.Height(), pParent ? pParent->GetSafeHwnd() : nullptr,
                  nullptr)) {
        return FALSE;
    }
    SetActiveWindow();

    m_edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | ES_AUTOHSCROLL, CRect(0, 0, 0, 0), this,
                    IDC_LEGEND_EDIT);
    CRect rcButton(m_rcClient.left + h / 2, m_rcClient.bottom + 2 * h - 2, m_rcClient.right - h,
                   m_rcClient.bottom + 3 * h);
    if (m_button.Create("Reset Max/Min", WS_CHILD | WS_VISIBLE, rcButton, this, IDC_RESET_MNMX)) {
        m_button.SetFont(&m_font);
        m_button.ShowWindow(SW_SHOW);
    }
    return TRUE;
}

// ---- painting --------------------------------------------------------------------------------

BOOL CPVXLegendWnd::OnEraseBkgnd(CDC*) { return TRUE; }

void CPVXLegendWnd::OnPaint() {
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC memDC;
    CBitmap bmp;
    if (rc.Width() > 0 && rc.Height() > 0 && memDC.CreateCompatibleDC(&dc) &&
        bmp.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height())) {
        CBitmap* pOld = memDC.SelectObject(&bmp);
        DrawLegendImage(&memDC);
        dc.BitBlt(0, 0, rc.Width(), rc.Height(), &memDC, 0, 0, SRCCOPY);
        memDC.SelectObject(pOld);
    }
    bmp.DeleteObject();
    memDC.DeleteDC();
}

void CPVXLegendWnd::DrawLegendImage(CDC* pDC) {
    if (!IsOwnerAlive()) return;
    CLegendEngine& legend = *m_pLegendEngine;
    const int h = RowHeight();
    CRect rcAll;
    if (GetSafeHwnd()) {
        GetClientRect(&rcAll);
    } else {
        rcAll = m_rcWindow;
        rcAll.OffsetRect(-rcAll.left, -rcAll.top);
    }
    pDC->FillSolidRect(&rcAll, legend.m_crWindow);

    CRect rcScale = m_rcClient;
    rcScale.top += h / 2 + 5;
    rcScale.left -= 3;
    DrawRainbow(pDC, &rcScale);

    CFont* pOldFont = pDC->SelectObject(&legend.m_fontValue);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    const COLORREF crOld = pDC->SetTextColor(kMinMaxTextColor);
    if (CContourEngine* pEngine = legend.m_pContourEngine) {
        CString str;
        const int x = m_rcClient.left + h / 2;
        const int y = m_rcClient.bottom + h / 2 + 4;
        str.Format("Max : %.5e", pEngine->m_dMaxValue);
        pDC->TextOut(x, y, str);
        str.Format("Min : %.5e", pEngine->m_dMinValue);
        pDC->TextOut(x, y + h, str);
    }
    pDC->SetTextColor(crOld);
    pDC->SetTextAlign(nOldAlign);
    pDC->SetBkMode(nOldMode);
    if (pOldFont) pDC->SelectObject(pOldFont);
}

void CPVXLegendWnd::DrawRainbow(CDC* pDC, CRect* pRect) {
    if (!IsOwnerAlive()) return;
    CLegendEngine& legend = *m_pLegendEngine;
    const int nMode = m_pModel->m_nDisplayMode;
    if (((nMode == PVXMode::kReaction || nMode == PVXMode::kSettlement) && m_pModel->m_bContour) ||
        IsAlwaysContourMode(nMode)) {
        legend.DrawContourRainbow(pDC, pRect, 0, 0, 1);
    } else if (nMode == PVXMode::kModeShape && m_pModel->m_bModeShapeContour) {
        legend.DrawMSContourRainbow(pDC, pRect, 0, 1);
    }
}

void CPVXLegendWnd::OnGetMinMaxInfo(MINMAXINFO* lpMMI) {
    // The window keeps the size it was made with.
    lpMMI->ptMinTrackSize.x = m_rcWindow.Width();
    lpMMI->ptMinTrackSize.y = m_rcWindow.Height();
    lpMMI->ptMaxTrackSize.x = m_rcWindow.Width();
    lpMMI->ptMaxTrackSize.y = m_rcWindow.Height();
}

// ---- editing ---------------------------------------------------------------------------------

double CPVXLegendWnd::GetMaxValue() const {
    const INT_PTR n = m_arrLevel.GetSize();
    return n > 0 ? m_arrLevel[n - 1] : 0.0;
}

double CPVXLegendWnd::GetMinValue() const { return m_arrLevel.GetSize() > 0 ? m_arrLevel[0] : 0.0; }

void CPVXLegendWnd::CloseEdit() {
    if (m_edit.GetSafeHwnd()) m_edit.ShowWindow(SW_HIDE);
    m_nEditTarget = -1;
}

void CPVXLegendWnd::OnLButtonDown(UINT nFlags, CPoint point) {
    BOOL bHit = FALSE;
    if (IsOwnerAlive()) {
        const CArray<CLgndValRect, CLgndValRect&>& rects = m_pLegendEngine->m_arrValRect;
        for (INT_PTR i = 0; i < rects.GetSize(); i++) {
            const CRect& r = rects[i].m_rect;
            if (!r.PtInRect(point)) continue;
            bHit = TRUE;
            CString str;
            str.Format("%.2e", i == 0 ? GetMaxValue() : GetMinValue());
            if (m_edit.GetSafeHwnd()) {
                m_edit.SetWindowText(str);
                m_edit.MoveWindow(r.left, r.top, r.right - 2 - r.left, r.bottom - r.top);
                m_edit.ShowWindow(SW_SHOW);
            }
            m_nEditTarget = static_cast<int>(i);
        }
    }
    if (!bHit) {
        if (m_nEditTarget != -1) DoCustomizedValue();
        CloseEdit();
    }
    Invalidate(TRUE);
    CWnd::OnLButtonDown(nFlags, point);
}

BOOL CPVXLegendWnd::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        if (m_nEditTarget != -1) DoCustomizedValue();
        CloseEdit();
        Invalidate(TRUE);
    }
    return CWnd::PreTranslateMessage(pMsg);
}

void CPVXLegendWnd::MakeEqualSteps(double dLow, double dHigh) {
    const INT_PTR n = m_arrLevel.GetSize();
    if (n < 2) return;
    const double dStep = (dHigh - dLow) / static_cast<double>(n - 1);
    for (INT_PTR i = 0; i < n - 1; i++) m_arrLevel[i] = dLow + static_cast<double>(i) * dStep;
    m_arrLevel[n - 1] = dHigh;
}

void CPVXLegendWnd::DoCustomizedValue() {
    // A scale of fewer than two levels has no range to stretch.
    if (m_arrLevel.GetSize() < 2 || !m_edit.GetSafeHwnd()) return;
    CString str;
    m_edit.GetWindowText(str);
    const double x = std::atof(static_cast<LPCTSTR>(str));
    if (!std::isfinite(x)) return;
    double lo = GetMinValue();
    double hi = GetMaxValue();
    if (m_nEditTarget == 0) {
        if (x < lo || std::fabs(x - lo) < kLevelTolerance || std::fabs(x - hi) < kLevelTolerance) return;
        hi = x;
    } else {
        if (x > hi || std::fabs(hi - x) < kLevelTolerance || std::fabs(lo - x) < kLevelTolerance) return;
        lo = x;
    }
    m_bChanged = 1;
    MakeEqualSteps(lo, hi);
    m_bCustomized = 1;
}

void CPVXLegendWnd::OnResetMnMxValue() {
    if (!m_bCustomized) return;
    CContourEngine* pEngine = GetContourEngine();
    if (!pEngine) return;
    const double lo = pEngine->m_dMinValue;
    const double hi = pEngine->m_dMaxValue;
    if (std::fabs(lo - GetMinValue()) < kLevelTolerance && std::fabs(hi - GetMaxValue()) < kLevelTolerance) return;
    m_bChanged = 1;
    MakeEqualSteps(lo, hi);
    Invalidate(TRUE);
    m_bCustomized = 0;
}

BOOL CPVXLegendWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == IDC_RESET_MNMX) OnResetMnMxValue();
    return CWnd::OnCommand(wParam, lParam);
}

// ---- activation and closing ------------------------------------------------------------------

void CPVXLegendWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized) {
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE) PostMessage(WM_CLOSE);
}

void CPVXLegendWnd::OnDestroy() {
    if (m_edit.GetSafeHwnd()) m_edit.DestroyWindow();
    if (m_button.GetSafeHwnd()) m_button.DestroyWindow();
    if (m_bFontCreated) m_font.DeleteObject();
    m_bFontCreated = 0;

    // Only the model that opened the window is touched: another view's model living on says
    // nothing about ours.
    if (I_PVXModel::nNumOfPVXModel && IsOwnerAlive()) {
        if (m_pLegendEngine->m_pLegendWnd == this) m_pLegendEngine->m_pLegendWnd = nullptr;
        if (m_bChanged) {
            I_PVXCtrl* pCtrl = m_pView->GetI_PVXCtrl();
            if (pCtrl && pCtrl->IsGLRenderer() && pCtrl->IsXGRMode()) pCtrl->XGR_SetRebuildGeom(1);
            CContourEngine* engines[3] = {
                CPVXBarContainerBase::m_pDeformEngine ? CPVXBarContainerBase::m_pDeformEngine->m_pContourEngine
                                                      : nullptr,
                CPVXBarContainerBase::m_pCurrentEngine ? CPVXBarContainerBase::m_pCurrentEngine->m_pContourEngine
                                                       : nullptr,
                m_pLegendEngine->m_pContourEngine};
            const BOOL bImpose = m_bCustomized && m_arrLevel.GetSize() > 0;
            for (CContourEngine* pEngine : engines) {
                if (!pEngine) continue;
                if (bImpose)
                    pEngine->MakeGlobalRange(1, &m_arrLevel);
                else
                    pEngine->MakeGlobalRange(0, nullptr);
            }
            m_pModel->HandlePVXBar(0);
            m_pModel->PVXRender();
        }
    }
    CWnd::OnDestroy();
}

void CPVXLegendWnd::PostNcDestroy() {
    CWnd::PostNcDestroy();
    delete this;
}
