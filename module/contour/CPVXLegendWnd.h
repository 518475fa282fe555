// CPVXLegendWnd: the popup legend window laid over the legend panel of a result view, and
// CLegendEdit, its in-place edit box.
//
// The view opens it when the user clicks the editable scale of the legend panel. It shows the
// colour scale again; a click on the top (maximum) or bottom (minimum) value label opens an edit
// there, and Enter or a click elsewhere in the window accepts the typed value: the window's own
// copy of the levels is rebuilt in equal steps between the new ends. "Reset Max/Min" goes back
// to the engine's own range. When the window closes (it closes itself as soon as it loses
// activation) an edited level list is imposed as a global range on the contour engines of the
// bars' editing engines and of the legend's current scale, or a reset lifts that range, and the
// model is redrawn. The window is modeless and deletes itself; UI thread only.
//
//     CPVXLegendWnd* pWnd = new CPVXLegendWnd(1, pView);
//     if (pWnd->Create(pView, rcScreen, 0)) legend.m_pLegendWnd = pWnd;
//     else if (!pWnd->GetSafeHwnd()) delete pWnd;
#pragma once

#include "platform/afx/CArray.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CButton.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CWnd.h"

class CPVXView;
class CLegendEngine;
class CContourEngine;
class I_PVXModel;

// Font description shared by the popup window and its edit: 10 x 4 "宋体", normal weight.
void GetLegendWndLogFont(LOGFONT& lf);

// The in-place edit of the popup legend window; it owns its small font.
class CLegendEdit : public CEdit {
    DECLARE_DYNAMIC(CLegendEdit)
public:
    CLegendEdit();
    ~CLegendEdit() override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    CFont m_font;
    DECLARE_MESSAGE_MAP()
};

class CPVXLegendWnd : public CWnd {
    DECLARE_DYNAMIC(CPVXLegendWnd)
public:
    enum : UINT {
        IDC_LEGEND_EDIT = 11262,        // the in-place edit
        IDC_RESET_MNMX = 11390,         // "Reset Max/Min"
    };

    CPVXLegendWnd(int nMode, CPVXView* pView);
    ~CPVXLegendWnd() override;

    // Makes the window over rect (screen coordinates) extended downward by four legend rows,
    // with the edit and the reset button. 0 when the legend has no colour scale to edit (the
    // object is then not a window and the caller deletes it).
    BOOL Create(CWnd* pParent, CRect& rect, UINT nFlags);
    int GetMode() const { return m_nMode; }

    // The window's own levels, for a preview of edited ends.
    int GetLevelCount() const { return static_cast<int>(m_arrLevel.GetSize()); }
    double GetLevel(int i) const { return (i >= 0 && i < m_arrLevel.GetSize()) ? m_arrLevel[i] : 0.0; }

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    void PostNcDestroy() override;

    afx_msg void OnPaint();
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnDestroy();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    // The memory image of OnPaint: background, scale and the Max/Min lines, into pDC.
    void DrawLegendImage(CDC* pDC);
    // The scale of the model's display mode into rect; nothing for modes without a contour scale.
    void DrawRainbow(CDC* pDC, CRect* pRect);
    // Takes the typed end value when it keeps the scale in order, and rebuilds the levels.
    void DoCustomizedValue();
    double GetMaxValue() const;
    double GetMinValue() const;
    void OnResetMnMxValue();

    // Levels from lo to hi in equal steps, the last exactly hi.
    void MakeEqualSteps(double dLow, double dHigh);
    // The edit goes away and the click target is forgotten.
    void CloseEdit();
    // Whether the view that opened the window still lives, is not closing and has the model it
    // had; the legend engine and the model belong to that view and go with it.
    BOOL IsOwnerAlive() const;
    CContourEngine* GetContourEngine() const;
    int RowHeight() const;

    int m_nMode;                        // given by the opener (the view passes 1)
    int m_bCustomized;                  // the window's levels differ from the engine's own map
    int m_nEditTarget;                  // -1 none, 0 maximum label, >0 minimum label
    CArray<double, double> m_arrLevel;  // copy of the scale's levels, edited here
    CFont m_font;
    int m_bFontCreated;
    LOGFONT m_lf;
    CLegendEdit m_edit;
    CButton m_button;
    CRect m_rcClient;                   // (0, 0, width, height) of the legend rectangle
    CRect m_rcWindow;                   // window rectangle, screen coordinates
    CWnd* m_pOwner;
    CPVXView* m_pView;
    HWND m_hView;                       // the view's handle, to tell whether it still lives
    I_PVXModel* m_pModel;               // the view's model when the window was made
    CLegendEngine* m_pLegendEngine;     // that model's legend engine
    int m_bChanged;                     // levels were edited or reset

    DECLARE_MESSAGE_MAP()
};
