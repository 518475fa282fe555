// CPVXMultiGraphView: the view that shows a model's mode-shape graphs side by side, left (UX)
// and right (UY), each a CPVX2DGraphWnd filling half of the view.
//
// The host creates it by run-time class in a child frame and the model fills it in this order:
// SetPointer(model), SetLeftGraphData, SetRightGraphData, DrawGraph; the model's destructor calls
// SetPointer(NULL) and the view's PostNcDestroy clears the model's pointer to the view. Both
// graphs share one x scale: the graph of the larger magnitude gets the view's scale (50 at
// first) and the other the same scale in world units, so equal x spans the same pixels.
//
// A right click on a graph offers "修改特性" (42077: title, x-axis label and x scale of that
// graph through CPVX2DGraphDlg) and "保存为图形文件" (42078: both graphs as a BMP picture or an
// EMF metafile). MakeBMP draws both graphs into a device context, each at its place.
#pragma once

#include "host/base/CInternationalDlg.h"
#include "host/base/CTitleCtrlView.h"
#include "module/graphs/CPVX2DGraphWnd.h"
#include "module/graphs/T_GRPH_D.h"
#include "module/resources/PVXResourceIds.h"
#include "platform/afx/CString.h"

class I_PVXModel;

// The property dialog of one graph: its title, its x-axis label and the x scale in per cent
// (1 to 100; 100 spans the graph's largest magnitude).
class CPVX2DGraphDlg : public CInternationalDlg {
    DECLARE_DYNAMIC(CPVX2DGraphDlg)
public:
    enum { IDD = 10626 };
    static constexpr UINT kTitleEdit = 11392;
    static constexpr UINT kScaleEdit = 11393;
    static constexpr UINT kXLabelEdit = 11394;
    static constexpr double kMinScale = 1.0;
    static constexpr double kMaxScale = 100.0;

    explicit CPVX2DGraphDlg(CWnd* pParent = nullptr);

    CString m_strTitle;
    CString m_strXLabel;
    double m_dScale;  // per cent

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CPVXMultiGraphView : public CTitleCtrlView {
    DECLARE_DYNCREATE(CPVXMultiGraphView)
public:
    enum { kHintClose = 7 };               // OnUpdate hint that closes the view's frame
    static constexpr UINT kMenuId = IDR_PVX_GRAPH_MENU;
    static constexpr UINT kCmdProperty = ID_PVX_GRAPH_PROPERTY;
    static constexpr UINT kCmdSaveAs = ID_PVX_GRAPH_SAVE_AS;
    static constexpr double kDefaultScale = 50.0;

    CPVXMultiGraphView();
    ~CPVXMultiGraphView() override;

    // Keeps (or, with null, forgets) the model shown.
    void SetPointer(I_PVXModel* pModel) { m_pModel = pModel; }
    I_PVXModel* GetPointer() const { return m_pModel; }
    // The left (right) graph takes copies of the series; its title, x-axis label and third text
    // are kept. TRUE.
    BOOL SetLeftGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel, CString strThird);
    BOOL SetRightGraphData(PVXGraphSeriesMap& map, CString strTitle, CString strXLabel, CString strThird);
    // Shares the scale between the graphs, then repaints both.
    void DrawGraph();
    // The graph of the larger magnitude gets the view's scale, the other the scale that spans
    // the same world width; with both magnitudes 0 both take the view's scale.
    void SetScaleFactor();
    // Draws each graph into a memory bitmap compatible with pDC and copies it to its place in
    // pDC; 1.
    BOOL MakeBMP(CDC* pDC);
    // Both graphs as a BMP picture or an EMF metafile at pszPath; FALSE (after a message box) when
    // the file could not be written. JPEG is not written: a message says so and FALSE comes back.
    BOOL SaveBMPFile(const char* pszPath);
    BOOL SaveEMFFile(const char* pszPath);
    BOOL SaveJPEGFile(const char* pszPath);

    // The scale of the graph of the larger magnitude, per cent.
    double GetScale() const { return m_dScale; }
    void SetScale(double dScale) { m_dScale = dScale; }
    // The graph the last right click was on: 0 left, 1 right.
    int GetClickedGraph() const { return m_nClickedGraph; }
    const CPVX2DGraphWnd& GetLeftGraph() const { return m_wndLeft; }
    const CPVX2DGraphWnd& GetRightGraph() const { return m_wndRight; }
    CPVX2DGraphWnd& GetLeftGraph() { return m_wndLeft; }
    CPVX2DGraphWnd& GetRightGraph() { return m_wndRight; }
    const CRect& GetLeftRect() const { return m_rcLeft; }
    const CRect& GetRightRect() const { return m_rcRight; }

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void PostNcDestroy() override;

    // Does nothing here: printing of the graphs is not offered.
    void OnFilePrint() {}
    void OnFilePrintPreview() {}

protected:
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnWindowPosChanging(WINDOWPOS* lpwndpos);
    afx_msg void OnGraphChangeProperty();
    afx_msg void OnSaveGraphAs();
    DECLARE_MESSAGE_MAP()

private:
    // Places the graphs side by side in the rectangle at (x, y) of cx × cy.
    void Layout(int x, int y, int cx, int cy);
    CPVX2DGraphWnd& Clicked() { return m_nClickedGraph == 1 ? m_wndRight : m_wndLeft; }
    // The clicked graph's magnitude over the larger one (1 for the larger; 0 when it has none).
    double ClickedRatio() const;
    const T_PVX_DOPT_NUMBER_D* NumberOptions() const;
    // Draws each graph at its place in pDC: through a memory bitmap of its size (MakeBMP) or
    // straight, with the viewport moved to its corner (a metafile keeps the drawing).
    void DrawGraphs(CDC* pDC, BOOL bThroughBitmap) const;
    // The rectangle both graphs cover, from the view's client origin.
    CRect PictureRect() const;
    void ReportSaveFailure(const char* pszPath, const CString& why);

    CPVX2DGraphWnd m_wndLeft, m_wndRight;
    double m_dScale;       // per cent, applied to the graph of the larger magnitude
    int m_nClickedGraph;   // 0 left, 1 right
    I_PVXModel* m_pModel;  // model shown, not owned
    CRect m_rcLeft, m_rcRight;
};
