// CVdView: the view that shows a vector drawing, the base of the figure view.
//
// A form view that owns the drawing (m_VdrawUtil) every figure draws into, shows it in its
// drawing-control window (m_DrawCtrl, repainted from the drawing) and, while a figure offers
// load cases (m_bHasLoadCase), a load-case list box (m_ListLoadCase: each row a caption, its
// item data the load-case key) to the left of it. OnSize lays the two out. The view answers
// three commands of its own: 46999 the layer colours, 47015 the text-style heights and 47016
// the contour parameters of the figure shown.
//
// A figure view derives from it and overrides the virtuals: the load-case list
// (RefreshLoadCaseList, DblclkListLoadcase, ReFreshCurSel), the hooks for a moved text
// (AfterTextMove) and a changed text style (AfterFormatTextstyle), and the contour commands
// (_CanFigureContour, _OnContourSet). The base versions do nothing of the figure's.
//
//     CObject* p = CRuntimeClass::CreateObject("CPVXFigureView");   // a CVdView
//     auto* view = static_cast<CVdView*>(p);
//     view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, rect, frame, AFX_IDW_PANE_FIRST);
//     view->OnInitialUpdate();
//     view->GetDrawing()->DrawLine(0, 0, 10, 0);
#pragma once

#include "host/vdraw/CVdrawUtil.h"
#include "platform/ui/CListBox.h"
#include "platform/ui/CView.h"

// Template and control ids of the view and its dialogs.
enum : UINT {
    IDD_VDVIEW = 47100,           // the view: the load-case list
    IDC_VDVIEW_LOADCASE = 47101,  // load-case list box
    IDC_VDVIEW_DRAWCTRL = 47102,  // drawing-control window
    IDD_VD_LAYERS = 47103,        // layer dialog
    IDC_VD_LAYER_LIST = 47104,    // its layer list
    IDC_VD_LAYER_COLOUR = 47105,  // its colour well
    IDD_VD_TEXTSTYLE = 47106,     // text-style dialog
    IDC_VD_STYLE_LIST = 47107,    // its style combo
    IDC_VD_STYLE_HEIGHT = 47108,  // its height edit
};
// Commands of the view.
enum : UINT { ID_VD_LAYER_SET = 46999, ID_VD_TEXTSTYLE_SET = 47015, ID_VD_CONTOUR_SET = 47016 };

// The window the drawing is shown in: paints the drawing, fitted, on black.
class CVdDrawCtrl : public CWnd {
public:
    CVdrawUtil* m_pDrawing = nullptr;

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};

class CVdView : public CFormView {
    DECLARE_DYNCREATE(CVdView)
public:
    CVdView();
    ~CVdView() override;

    CVdrawUtil* GetDrawing() { return &m_VdrawUtil; }

    // Creates the view's window, then its list (hidden) and drawing-control window.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                UINT nID, CCreateContext* pContext = nullptr) override;
    void OnInitialUpdate() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    // Fits the drawing into the drawing-control window and repaints it.
    void ZoomAll();
    // Lays out the list (kListWidth pixels at the left, only while m_bHasLoadCase) and the
    // drawing-control window (the rest of cx by cy).
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The drawing-control window's rectangle in the view's client coordinates.
    CRect GetDrawCtrlRect() const;

    // The title the view's frame shows; the document's title, or "" without a document.
    virtual CString GetWindowTitleName();
    // Fills the load-case list; returns the number of load cases. The base has none: the list
    // stays as it is and 0 comes back.
    virtual int RefreshLoadCaseList();
    // A load case was double-clicked in the list; non-zero when the figure took it. Base: 0.
    virtual int DblclkListLoadcase(UINT key);
    // Selects the current load case in the list; base: 0.
    virtual int ReFreshCurSel();
    // A text was dragged by (dx, dy) drawing units; base: nothing.
    virtual void AfterTextMove(CvdFigure* text, double dx, double dy);
    // Drags the text id by (dx, dy) drawing units as a user would (the drawing moves it and is
    // repainted), then reports it through AfterTextMove. FALSE, nothing reported, when id is not
    // a text of the drawing.
    virtual BOOL _MoveTextWithCtrl(long id, double dx, double dy);
    // A text style was changed by command 47015; base: nothing.
    virtual void AfterFormatTextstyle();
    // Command 47016 on a figure that has contours: its contour parameters. Base: nothing.
    virtual void _OnContourSet();
    // Non-zero when the figure shown has contour parameters; base: 0.
    virtual int _CanFigureContour();

    static constexpr int kListWidth = 160;  // pixels of the load-case list

    CVdrawUtil m_VdrawUtil;      // the drawing
    CListBox m_ListLoadCase;     // load cases of the figure
    BOOL m_bHasLoadCase = FALSE; // show the list
    CVdDrawCtrl m_DrawCtrl;      // the window showing the drawing

protected:
    afx_msg void OnLayerSet();
    afx_msg void OnTextStyleSet();
    afx_msg void OnContourSet();
    afx_msg void OnDblclkLoadCase();
    DECLARE_MESSAGE_MAP()

private:
    void RepaintDrawing();
};
