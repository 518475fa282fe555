// CGraphWnd: a child window that shows a picture kept on an off-screen canvas together with one
// x-y series. A vertical grey line follows the mouse over the plot; a click picks the point of
// the series nearest in x, draws a white line through the click and selects that point's row
// in a linked list control (CB_SETCURSEL).
//
// The module keeps one static object (I_PVXModel::m_TFuncWnd) for the host, which creates its
// window and gives it everything it shows: the picture, the series (ascending x), the ranges and
// plot rectangle the picture was drawn with (GraphMapping.h) and the linked control.
//
// CGraphCanvus is the canvas: a memory DC holding a bitmap, painted into a window by BitBlt.
#pragma once

#include "module/graphs/GraphMapping.h"
#include "module/graphs/T_GRPH_D.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CWnd.h"

class CGraphCanvus {
public:
    CGraphCanvus() = default;
    ~CGraphCanvus() { Release(); }
    CGraphCanvus(const CGraphCanvus&) = delete;
    CGraphCanvus& operator=(const CGraphCanvus&) = delete;

    // A canvas of cx × cy compatible with pRef, holding a copy of pSource's picture from (0, 0).
    BOOL Create(CDC* pRef, int cx, int cy, CDC* pSource);
    // Selects the old bitmap back and deletes the bitmap and the DC.
    void Release();
    // Copies the canvas into rcDest of pDC.
    void Paint(CDC* pDC, const CRect& rcDest);
    BOOL IsReady() const { return m_dc.GetSafeHdc() != nullptr; }
    CDC* GetDC() { return &m_dc; }

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CBitmap* m_pOldBitmap = nullptr;
};

class CGraphWnd : public CWnd {
    DECLARE_DYNAMIC(CGraphWnd)
public:
    static constexpr double kSameX = 1e-13;  // a point this close to the clicked x wins at once

    CGraphWnd();
    ~CGraphWnd() override;

    // What the host gives the window.
    BOOL SetPicture(CDC* pSource, int cx, int cy);
    void SetSeries(const PVXGraphSeries& series);
    void SetRange(const GraphRange& range) { m_range = range; }
    void SetPlotRect(const CRect& rc) { m_rcPlot = rc; }
    // The control is remembered by its handle, so a control destroyed since is simply skipped.
    void SetLinkedCtrl(CWnd* pCtrl) { m_hLinked = pCtrl ? pCtrl->GetSafeHwnd() : nullptr; }
    // Forgets the series and the picture.
    void Clear();

    // Index of the point of an ascending series nearest to x, by bisection; -1 when empty.
    static int FindNearest(const PVXGraphSeries& series, double x);

    const PVXGraphSeries& GetSeries() const { return m_arrSeries; }
    BOOL HasData() const { return m_bHasData; }
    CPoint GetClickedPoint() const { return m_ptClicked; }
    CPoint GetCursorPoint() const { return m_ptCursor; }
    BOOL IsCursorVisible() const { return m_bCursor; }
    int GetSelectedIndex() const { return m_nSelected; }

protected:
    afx_msg void OnPaint();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    CPoint m_ptCursor;   // last mouse position over the plot
    CPoint m_ptClicked;  // last click on the plot
    BOOL m_bCursor;      // the cursor line is shown
    int m_nSelected;     // index picked by the last click, -1 none
    CGraphCanvus m_canvas;
    CRect m_rcPlot;
    GraphRange m_range;
    PVXGraphSeries m_arrSeries;  // points in ascending x
    BOOL m_bHasData;             // a series was given
    HWND m_hLinked;              // list taking CB_SETCURSEL
};
