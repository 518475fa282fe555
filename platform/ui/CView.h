// Views and documents: CDocument (a list of views to notify), CView (a child window that draws
// a document with OnDraw), CScrollView (a view with a scroll position and map mode), CFormView
// (a view made from a dialog template, its controls created with it) and CPrintInfo.
//
// A view is created by its frame from a CCreateContext (or by the host by run-time class and
// Create); WM_PAINT calls OnPrepareDC and OnDraw on a paint DC. DoPreparePrinting has no
// printer dialog to show: it returns CUiDriver's print answer (FALSE, cancelled, by default).
// Views delete themselves after their window is destroyed: create them with new.
#pragma once

#include <vector>

#include "platform/ui/CFrameWnd.h"

class CView;
class CDC;

class CDocument : public CCmdTarget {
    DECLARE_DYNCREATE(CDocument)
public:
    CDocument();
    ~CDocument() override;

    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const;
    CView* GetNextView(POSITION& rPosition) const;
    // Calls OnUpdate on every view except pSender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCTSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    virtual void SetPathName(LPCTSTR lpszPathName, BOOL bAddToMRU = TRUE);
    BOOL IsModified() const { return m_bModified; }
    void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }
    virtual BOOL OnNewDocument() { return TRUE; }
    virtual void DeleteContents() {}
    BOOL m_bAutoDelete;   // delete the document when its last view goes

protected:
    std::vector<CView*> m_viewList;
    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified;
};

class CPrintInfo {
public:
    CPrintInfo();
    BOOL m_bDirect;          // print without asking
    BOOL m_bPreview;
    BOOL m_bContinuePrinting;
    UINT m_nCurPage;
    UINT m_nNumPreviewPages;
    CString m_strPageDesc;
    LPVOID m_lpUserData;
    CRect m_rectDraw;        // printable area in logical units
    void SetMinPage(UINT nMinPage) { m_nMinPage = nMinPage; }
    void SetMaxPage(UINT nMaxPage) { m_nMaxPage = nMaxPage; }
    UINT GetMinPage() const { return m_nMinPage; }
    UINT GetMaxPage() const { return m_nMaxPage; }
    UINT GetFromPage() const { return m_nMinPage; }
    UINT GetToPage() const { return m_nMaxPage; }

private:
    UINT m_nMinPage;
    UINT m_nMaxPage;
};

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }

    virtual void OnDraw(CDC* pDC) = 0;
    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    virtual void OnActivateFrame(UINT nState, CFrameWnd* pFrameWnd) {}
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr);
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) {}
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void PostNcDestroy() override;

protected:
    CDocument* m_pDocument;
    friend class CDocument;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)
public:
    CScrollView();
    static const SIZE sizeDefault;
    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const;
    CSize GetTotalSize() const { return m_totalLog; }
    void ScrollToPosition(POINT pt);
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = nullptr) override;

protected:
    int m_nMapMode;
    CSize m_totalLog;   // logical units
    CSize m_pageDev;    // device units
    CSize m_lineDev;
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    void UpdateBars();
    void ScrollBy(int nBar, UINT nSBCode, UINT nPos);
};

class CFormView : public CScrollView {
    DECLARE_DYNAMIC(CFormView)
public:
    explicit CFormView(UINT nIDTemplate);
    explicit CFormView(LPCTSTR lpszTemplateName);

    // Creates the view at the template's size (or rect when it is larger) with its controls.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override {}
    BOOL PreTranslateMessage(MSG* pMsg) override;
    UINT GetTemplateId() const { return m_nIDHelp; }

protected:
    LPCTSTR m_lpszTemplateName;
    UINT m_nIDHelp;   // template id
};
