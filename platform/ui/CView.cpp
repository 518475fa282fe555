// Documents, views, scroll views and form views.
#include "platform/ui/CView.h"

#include <algorithm>

#include "platform/ui/CClientDC.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/afxmsg.h"

IMPLEMENT_DYNCREATE(CDocument, CCmdTarget)
IMPLEMENT_DYNAMIC(CView, CWnd)
IMPLEMENT_DYNAMIC(CScrollView, CView)
IMPLEMENT_DYNAMIC(CFormView, CScrollView)

BEGIN_MESSAGE_MAP(CView, CWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_PAINT()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CScrollView, CView)
    ON_WM_SIZE()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

// ---- CDocument ----

CDocument::CDocument() : m_bAutoDelete(TRUE), m_bModified(FALSE) {}

CDocument::~CDocument() {
    for (CView* v : m_viewList) v->m_pDocument = nullptr;
}

void CDocument::AddView(CView* pView) {
    if (!pView || std::find(m_viewList.begin(), m_viewList.end(), pView) != m_viewList.end()) return;
    m_viewList.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    auto it = std::find(m_viewList.begin(), m_viewList.end(), pView);
    if (it == m_viewList.end()) return;
    m_viewList.erase(it);
    pView->m_pDocument = nullptr;
}

POSITION CDocument::GetFirstViewPosition() const {
    return m_viewList.empty() ? nullptr : reinterpret_cast<POSITION>(static_cast<uintptr_t>(1));
}

CView* CDocument::GetNextView(POSITION& rPosition) const {
    size_t i = static_cast<size_t>(reinterpret_cast<uintptr_t>(rPosition));
    if (i == 0 || i > m_viewList.size()) {
        rPosition = nullptr;
        return nullptr;
    }
    CView* v = m_viewList[i - 1];
    rPosition = i < m_viewList.size() ? reinterpret_cast<POSITION>(static_cast<uintptr_t>(i + 1)) : nullptr;
    return v;
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    std::vector<CView*> views = m_viewList;   // a view may go away while it updates
    for (CView* v : views)
        if (v != pSender && std::find(m_viewList.begin(), m_viewList.end(), v) != m_viewList.end()) v->OnUpdate(pSender, lHint, pHint);
}

void CDocument::SetTitle(LPCTSTR lpszTitle) {
    m_strTitle = lpszTitle ? lpszTitle : "";
    for (CView* v : m_viewList)
        if (CFrameWnd* f = v->GetParentFrame()) f->SetTitle(m_strTitle);
}

void CDocument::SetPathName(LPCTSTR lpszPathName, BOOL) {
    m_strPathName = lpszPathName ? lpszPathName : "";
    if (m_strTitle.IsEmpty()) {
        CString s = m_strPathName;
        int slash = std::max(s.ReverseFind('/'), s.ReverseFind('\\'));
        SetTitle(s.Mid(slash + 1));
    }
}

// ---- CPrintInfo ----

CPrintInfo::CPrintInfo()
    : m_bDirect(FALSE), m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1), m_nNumPreviewPages(1),
      m_lpUserData(nullptr), m_nMinPage(1), m_nMaxPage(0xFFFF) {}

// ---- CView ----

CView::CView() : m_pDocument(nullptr) {}

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs) {
    if (!cs.lpszClass) cs.lpszClass = "AfxFrameOrView";
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs) {
    CCreateContext* pContext = lpcs ? static_cast<CCreateContext*>(lpcs->lpCreateParams) : nullptr;
    if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy() {
    if (CFrameWnd* f = GetParentFrame())
        if (f->GetActiveView() == this) f->SetActiveView(nullptr, FALSE);
    Default();
}

void CView::PostNcDestroy() { delete this; }

void CView::OnPaint() {
    CPaintDC dc(this);
    OnPrepareDC(&dc);
    OnDraw(&dc);
}

void CView::OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }

void CView::OnUpdate(CView*, LPARAM, CObject*) { Invalidate(TRUE); }

void CView::OnActivateView(BOOL bActivate, CView*, CView*) {
    if (bActivate && m_hWnd) SetFocus();
}

void CView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    if (pInfo && pDC) pDC->SetPrinting(TRUE);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo) {
    if (!pInfo) return FALSE;
    // No printer dialog can be shown; the driver's answer stands for the user's.
    return CUiDriver::Get().PrintAnswer();
}

void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return m_pDocument && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

// ---- CScrollView ----

const SIZE CScrollView::sizeDefault = {0, 0};

CScrollView::CScrollView() : m_nMapMode(MM_TEXT) {}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage, const SIZE& sizeLine) {
    m_nMapMode = nMapMode;
    m_totalLog = sizeTotal;
    m_pageDev = sizePage;
    m_lineDev = sizeLine;
    UpdateBars();
}

void CScrollView::UpdateBars() {
    if (!m_hWnd) return;
    CRect client;
    GetClientRect(&client);
    if (m_pageDev.cx == 0) m_pageDev.cx = m_totalLog.cx / 10;
    if (m_pageDev.cy == 0) m_pageDev.cy = m_totalLog.cy / 10;
    if (m_lineDev.cx == 0) m_lineDev.cx = m_pageDev.cx / 10;
    if (m_lineDev.cy == 0) m_lineDev.cy = m_pageDev.cy / 10;
    SetScrollRange(SB_HORZ, 0, std::max(0, static_cast<int>(m_totalLog.cx) - client.Width()), FALSE);
    SetScrollRange(SB_VERT, 0, std::max(0, static_cast<int>(m_totalLog.cy) - client.Height()), FALSE);
}

CPoint CScrollView::GetScrollPosition() const { return CPoint(GetScrollPos(SB_HORZ), GetScrollPos(SB_VERT)); }

void CScrollView::ScrollToPosition(POINT pt) {
    SetScrollPos(SB_HORZ, pt.x);
    SetScrollPos(SB_VERT, pt.y);
    Invalidate();
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const {
    nMapMode = m_nMapMode;
    sizeTotal = m_totalLog;
    sizePage = m_pageDev;
    sizeLine = m_lineDev;
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo) {
    if (pDC) {
        pDC->SetMapMode(m_nMapMode);
        if (!pInfo) pDC->SetViewportOrg(-GetScrollPos(SB_HORZ), -GetScrollPos(SB_VERT));
    }
    CView::OnPrepareDC(pDC, pInfo);
}

void CScrollView::OnSize(UINT, int, int) { UpdateBars(); }

void CScrollView::ScrollBy(int nBar, UINT nSBCode, UINT nPos) {
    int pos = GetScrollPos(nBar), lo = 0, hi = 0;
    GetScrollRange(nBar, &lo, &hi);
    int page = nBar == SB_HORZ ? m_pageDev.cx : m_pageDev.cy;
    int line = nBar == SB_HORZ ? m_lineDev.cx : m_lineDev.cy;
    switch (nSBCode) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = static_cast<int>(nPos); break;
    case SB_TOP: pos = lo; break;
    case SB_BOTTOM: pos = hi; break;
    default: return;
    }
    SetScrollPos(nBar, std::clamp(pos, lo, hi));
    Invalidate();
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar) return;   // a control of a form view scrolled, not the view
    ScrollBy(SB_HORZ, nSBCode, nPos);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    if (pScrollBar) return;
    ScrollBy(SB_VERT, nSBCode, nPos);
}

// ---- CFormView ----

CFormView::CFormView(UINT nIDTemplate) : m_lpszTemplateName(nullptr), m_nIDHelp(nIDTemplate) {}

CFormView::CFormView(LPCTSTR lpszTemplateName)
    : m_lpszTemplateName(lpszTemplateName), m_nIDHelp(ui::TemplateId(lpszTemplateName, 0)) {}

BOOL CFormView::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                       CCreateContext* pContext) {
    const UiDlgTemplate* t = FindDialogTemplate(m_nIDHelp);
    if (!t) {
        ui::Error("Form view: dialog template %u is not registered.", m_nIDHelp);
        return FALSE;
    }
    UiDlgTemplate form = *t;
    form.style = WS_CHILD;
    CRect area(0, 0, t->size.cx, t->size.cy);
    MapDialogRect(&area);
    if (!ui::CreateFromTemplate(this, form, pParentWnd ? pParentWnd->m_hWnd : nullptr, TRUE)) return FALSE;
    UiWindow* w = ui::Find(m_hWnd);
    if (!w) return FALSE;
    w->id = nID;
    w->style |= dwStyle & (WS_BORDER | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    if (pContext && pContext->m_pCurrentDoc) pContext->m_pCurrentDoc->AddView(this);
    SetScrollSizes(MM_TEXT, area.Size());
    MoveWindow(rect.left, rect.top, std::max<int>(rect.right - rect.left, area.Width()),
               std::max<int>(rect.bottom - rect.top, area.Height()), FALSE);
    if (dwStyle & WS_VISIBLE) ShowWindow(SW_SHOW);
    return ::IsWindow(m_hWnd);
}

void CFormView::OnInitialUpdate() {
    UpdateData(FALSE);
    CScrollView::OnInitialUpdate();
}

BOOL CFormView::PreTranslateMessage(MSG* pMsg) { return ui::IsDialogMessage(this, pMsg); }
