#include "module/graphs/CPVXMultiGraphView.h"

#include <cmath>

#include "host/base/CMsgDll.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/CMetaFileDC.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/afxmsg.h"
#include "platform/ui/uiapi.h"

// ---- property dialog ------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CPVX2DGraphDlg, CInternationalDlg)

CPVX2DGraphDlg::CPVX2DGraphDlg(CWnd* pParent) : CInternationalDlg(IDD, pParent), m_dScale(kMaxScale) {}

void CPVX2DGraphDlg::DoDataExchange(CDataExchange* pDX) {
    CInternationalDlg::DoDataExchange(pDX);
    DDX_Text(pDX, kTitleEdit, m_strTitle);
    DDX_Text(pDX, kXLabelEdit, m_strXLabel);
    DDX_Text(pDX, kScaleEdit, m_dScale);
    DDV_MinMaxDouble(pDX, m_dScale, kMinScale, kMaxScale);
}

// ---- view -----------------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CPVXMultiGraphView, CTitleCtrlView)

BEGIN_MESSAGE_MAP(CPVXMultiGraphView, CTitleCtrlView)
    ON_WM_RBUTTONDOWN()
    ON_WM_WINDOWPOSCHANGING()
    ON_COMMAND(CPVXMultiGraphView::kCmdProperty, OnGraphChangeProperty)
    ON_COMMAND(CPVXMultiGraphView::kCmdSaveAs, OnSaveGraphAs)
END_MESSAGE_MAP()

CPVXMultiGraphView::CPVXMultiGraphView()
    : m_dScale(kDefaultScale), m_nClickedGraph(0), m_pModel(nullptr), m_rcLeft(0, 0, 0, 0), m_rcRight(0, 0, 0, 0) {}

CPVXMultiGraphView::~CPVXMultiGraphView() = default;

BOOL CPVXMultiGraphView::SetLeftGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel,
                                          CString strThird) {
    const BOOL ok = m_wndLeft.SetGraphData(map);
    if (ok) m_wndLeft.SetTexts(strTitle, strXLabel, strThird);
    return ok;
}

BOOL CPVXMultiGraphView::SetRightGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel,
                                           CString strThird) {
    const BOOL ok = m_wndRight.SetGraphData(map);
    if (ok) m_wndRight.SetTexts(strTitle, strXLabel, strThird);
    return ok;
}

void CPVXMultiGraphView::DrawGraph() {
    SetScaleFactor();
    if (m_wndLeft.GetSafeHwnd()) m_wndLeft.Invalidate(FALSE);
    if (m_wndRight.GetSafeHwnd()) m_wndRight.Invalidate(FALSE);
}

void CPVXMultiGraphView::SetScaleFactor() {
    const double mL = m_wndLeft.GetLargestMagnitude(), mR = m_wndRight.GetLargestMagnitude();
    const double s = m_dScale;
    if (mL == 0.0 && mR == 0.0) {
        // Nothing to compare: 0 / 0 would give both graphs a factor that is not a number.
        m_wndLeft.SetScaleFactor(s);
        m_wndRight.SetScaleFactor(s);
    } else if (mL >= mR) {
        m_wndLeft.SetScaleFactor(s);
        m_wndRight.SetScaleFactor(mR / mL * s);
    } else {
        m_wndLeft.SetScaleFactor(mL / mR * s);
        m_wndRight.SetScaleFactor(s);
    }
}

double CPVXMultiGraphView::ClickedRatio() const {
    const double mL = m_wndLeft.GetLargestMagnitude(), mR = m_wndRight.GetLargestMagnitude();
    const double mMax = std::fmax(mL, mR);
    if (mMax == 0.0) return 1.0;
    return (m_nClickedGraph == 1 ? mR : mL) / mMax;
}

void CPVXMultiGraphView::Layout(int x, int y, int cx, int cy) {
    m_rcLeft = CRect(x, y, x + cx / 2, y + cy);
    m_rcRight = CRect(x + cx / 2, y, x + cx / 2 + cx / 2, y + cy);
    if (m_wndLeft.GetSafeHwnd()) m_wndLeft.MoveWindow(&m_rcLeft);
    if (m_wndRight.GetSafeHwnd()) m_wndRight.MoveWindow(&m_rcRight);
}

void CPVXMultiGraphView::OnWindowPosChanging(WINDOWPOS* lpwndpos) {
    CTitleCtrlView::OnWindowPosChanging(lpwndpos);
    if (!lpwndpos || (lpwndpos->flags & SWP_NOSIZE)) return;
    const int cx = lpwndpos->cx - GetSystemMetrics(SM_CXFRAME);
    const int cy = lpwndpos->cy - GetSystemMetrics(SM_CYFRAME);
    Layout(lpwndpos->x, lpwndpos->y, cx > 0 ? cx : 0, cy > 0 ? cy : 0);
}

void CPVXMultiGraphView::OnInitialUpdate() {
    CTitleCtrlView::OnInitialUpdate();
    if (m_rcLeft.IsRectEmpty() && m_rcRight.IsRectEmpty()) {
        // Sized before the view heard of it: lay the graphs out over the client area.
        CRect rc;
        GetClientRect(&rc);
        Layout(rc.left, rc.top, rc.Width(), rc.Height());
    }
    const DWORD style = WS_CHILD | WS_VISIBLE;
    if (!m_wndLeft.GetSafeHwnd()) m_wndLeft.Create(nullptr, "", style, m_rcLeft, this, 1);
    if (!m_wndRight.GetSafeHwnd()) m_wndRight.Create(nullptr, "", style, m_rcRight, this, 2);
}

void CPVXMultiGraphView::OnDraw(CDC* /*pDC*/) {
    // The graphs paint themselves; the view only asks them to while its frame is the active one.
    auto* pChild = dynamic_cast<CMDIChildWnd*>(GetParentFrame());
    CMDIFrameWnd* pMain = pChild ? pChild->GetMDIFrame() : nullptr;
    if (!pMain || pMain->MDIGetActive() != pChild) return;
    if (m_wndLeft.GetSafeHwnd()) m_wndLeft.Invalidate();
    if (m_wndRight.GetSafeHwnd()) m_wndRight.Invalidate();
}

void CPVXMultiGraphView::OnUpdate(CView* /*pSender*/, LPARAM lHint, CObject* /*pHint*/) {
    if (lHint != kHintClose) return;
    if (CFrameWnd* pFrame = GetParentFrame()) pFrame->PostMessage(WM_CLOSE);
}

void CPVXMultiGraphView::PostNcDestroy() {
    if (m_pModel && m_pModel->m_pMultiGraphView == this) m_pModel->m_pMultiGraphView = nullptr;
    m_pModel = nullptr;
    CTitleCtrlView::PostNcDestroy();
}

void CPVXMultiGraphView::OnRButtonDown(UINT /*nFlags*/, CPoint point) {
    // The graphs pass their right clicks on in screen coordinates.
    ScreenToClient(&point);
    if (m_rcLeft.PtInRect(point))
        m_nClickedGraph = 0;
    else if (m_rcRight.PtInRect(point))
        m_nClickedGraph = 1;
    else
        return;
    CMenu menu;
    if (!menu.LoadMenu(kMenuId)) return;
    if (CMenu* pPopup = menu.GetSubMenu(0)) {
        ClientToScreen(&point);
        CWnd* pOwner = AfxGetMainWnd();
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, pOwner ? pOwner : this);
    }
    menu.DestroyMenu();
}

void CPVXMultiGraphView::OnGraphChangeProperty() {
    CPVX2DGraphWnd& graph = Clicked();
    CPVX2DGraphDlg dlg(this);
    dlg.m_strTitle = graph.GetTitle();
    dlg.m_strXLabel = graph.GetXLabel();
    const double shown = static_cast<double>(static_cast<int>(100.0 / graph.GetRangeFactor()));
    dlg.m_dScale = shown;
    if (dlg.DoModal() != IDOK) return;
    // The dialog speaks of the clicked graph, the view's scale of the larger one: a new value
    // goes back through the clicked graph's share of the larger magnitude, and the value shown
    // (cut to a whole per cent) left as it was keeps the scale as it was.
    const double ratio = ClickedRatio();
    if (dlg.m_dScale != shown) m_dScale = ratio > 0.0 ? dlg.m_dScale / ratio : dlg.m_dScale;
    graph.SetTexts(dlg.m_strTitle, dlg.m_strXLabel, graph.GetThird());
    SetScaleFactor();
    if (graph.GetSafeHwnd()) graph.Invalidate(FALSE);
}

void CPVXMultiGraphView::OnSaveGraphAs() {
    CFileDialog dlg(FALSE, "emf", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                    "BMP Image (*.bmp)|*.bmp|JPEG Image (*.jpg)|*.jpg|Enhanced Metafile Image(*.emf)|*.emf||", this);
    if (dlg.DoModal() != IDOK) return;
    const CString path = dlg.GetPathName();
    const CString ext = dlg.GetFileExt();
    if (ext == "BMP" || ext == "bmp")
        SaveBMPFile(path);
    else if (ext == "JPG" || ext == "jpg")
        SaveJPEGFile(path);
    else if (ext == "EMF" || ext == "emf")
        SaveEMFFile(path);
    else
        AfxMessageBox(CMsgDll::pfuncLoadStr("IDS_UTIL__Invalid_Extension_", 0) + ext, MB_OK | MB_ICONWARNING);
}

const T_PVX_DOPT_NUMBER_D* CPVXMultiGraphView::NumberOptions() const {
    return m_pModel && m_pModel->m_pDispOpt ? &m_pModel->m_pDispOpt->m_Number : nullptr;
}

CRect CPVXMultiGraphView::PictureRect() const {
    CRect rc(0, 0, 0, 0);
    rc.right = std::max(m_rcLeft.right, m_rcRight.right);
    rc.bottom = std::max(m_rcLeft.bottom, m_rcRight.bottom);
    return rc;
}

void CPVXMultiGraphView::DrawGraphs(CDC* pDC, BOOL bThroughBitmap) const {
    const T_PVX_DOPT_NUMBER_D* pNumbers = NumberOptions();
    struct Part {
        const CPVX2DGraphWnd& graph;
        const CRect& rc;
    } parts[] = {{m_wndLeft, m_rcLeft}, {m_wndRight, m_rcRight}};
    for (const Part& p : parts) {
        if (p.rc.IsRectEmpty()) continue;
        const CRect local(0, 0, p.rc.Width(), p.rc.Height());
        if (!bThroughBitmap) {
            const CPoint old = pDC->SetViewportOrg(p.rc.left, p.rc.top);
            p.graph.Draw(pDC, local, pNumbers);
            pDC->SetViewportOrg(old);
            continue;
        }
        CDC mem;
        CBitmap bmp;
        if (!mem.CreateCompatibleDC(pDC) || !bmp.CreateCompatibleBitmap(pDC, local.Width(), local.Height())) continue;
        CBitmap* pOld = mem.SelectObject(&bmp);
        p.graph.Draw(&mem, local, pNumbers);
        pDC->BitBlt(p.rc.left, p.rc.top, local.Width(), local.Height(), &mem, 0, 0, SRCCOPY);
        mem.SelectObject(pOld);
    }
}

BOOL CPVXMultiGraphView::MakeBMP(CDC* pDC) {
    if (!pDC) return FALSE;
    DrawGraphs(pDC, TRUE);
    return TRUE;
}

void CPVXMultiGraphView::ReportSaveFailure(const char* pszPath, const CString& why) {
    CString text;
    text.Format("%s%s%s%s", CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Graph_Save_Failed", 0).GetString(), pszPath,
                why.IsEmpty() ? "" : ": ", why.GetString());
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
}

BOOL CPVXMultiGraphView::SaveBMPFile(const char* pszPath) {
    const CRect rc = PictureRect();
    CDC mem;
    CBitmap bmp;
    if (rc.IsRectEmpty() || !mem.CreateCompatibleDC(nullptr) || !bmp.CreateCompatibleBitmap(nullptr, rc.Width(), rc.Height())) {
        ReportSaveFailure(pszPath, "");
        return FALSE;
    }
    CBitmap* pOld = mem.SelectObject(&bmp);
    mem.FillSolidRect(&rc, RGB(255, 255, 255));
    MakeBMP(&mem);
    mem.SelectObject(pOld);
    if (!WriteBmp24(pszPath, bmp)) {
        ReportSaveFailure(pszPath, "");
        return FALSE;
    }
    return TRUE;
}

BOOL CPVXMultiGraphView::SaveEMFFile(const char* pszPath) {
    const CRect rc = PictureRect();
    CMetaFileDC mf;
    if (rc.IsRectEmpty() || !mf.CreateEnhanced(nullptr, pszPath, nullptr, GetTitleText())) {
        ReportSaveFailure(pszPath, mf.LastError().c_str());
        return FALSE;
    }
    DrawGraphs(&mf, FALSE);
    HENHMETAFILE h = mf.CloseEnhanced();
    if (!h) {
        ReportSaveFailure(pszPath, mf.LastError().c_str());
        return FALSE;
    }
    DeleteEnhMetaFile(h);
    return TRUE;
}

BOOL CPVXMultiGraphView::SaveJPEGFile(const char* pszPath) {
    CString text;
    text.Format("%s%s", CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Graph_JPEG_Not_Written", 0).GetString(), pszPath);
    AfxMessageBox(text, MB_OK | MB_ICONWARNING);
    return FALSE;
}
