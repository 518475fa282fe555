// CPVXFigureView: the window that shows the current figure of the figure catalogue.
//
// A CVdView (the drawing, a load-case list beside it, the text-style, layer and contour
// commands) made by the host by run-time class when the catalogue controller opens it. It adds
// the figure's load-case list, kept in step with the figure panel (hints 114 refill it, 116
// select the current load case in it; a double-click redraws the figure for that load case and
// sends 115 to the panel), a context menu over the drawing (42088 zoom all, 42089 zoom window,
// 42090 print preview, 42091 export to DWG/DXF), the export, and the hooks that store a moved
// text (FigureTextMove.h) and report a changed text style (hint 117).
//
// Every operation reaches the controller through CPVXFigure::m_pMyself; without one the view
// does what its base does.
//
// Export: the suggested file name is the document's path up to the first dot of its file name,
// "_" and the first caption, with ":" made "-" and blanks, slashes, "*", "?", '"', "<" and ">"
// made "_" ("/home/a.b/raft.model.db" -> "_home_a.b_raft_"). The chosen path goes to the
// drawing's export as it is: ".dxf" writes a DXF, any other name (".dwg") fails with the
// drawing's own message and then the view's "failed to export" box.
#pragma once

#include "host/vdraw/CVdView.h"

class CDBDoc;

// Commands of the view's context menu (resource 10633).
enum : UINT {
    IDR_FIGURE_VIEW_MENU = 10633,
    ID_FIGURE_ZOOM_ALL = 42088,
    ID_FIGURE_ZOOM_WINDOW = 42089,
    ID_FIGURE_PRINT = 42090,
    ID_FIGURE_EXPORT = 42091,
};
// Hints of the figure view and panel.
enum : long {
    FVD_HINT_PANEL_SELECT = 115,  // the panel selects the current load case (sent here)
    FVD_HINT_VIEW_SELECT = 116,   // the view selects it (sent by the panel)
    FVD_HINT_TEXTSTYLE = 117,     // a text style changed (sent here)
};
// The notice the main frame gets when a figure view becomes active (id, value).
constexpr UINT kFigureViewActivated = 33160;

class CPVXFigureView : public CVdView {
    DECLARE_DYNCREATE(CPVXFigureView)
public:
    CPVXFigureView();
    // Closes the figure panel (the host frame), then the base.
    ~CPVXFigureView() override;

    // The base's update, line weights shown, and the view listens to the document's hints.
    void OnInitialUpdate() override;
    // Hints 114 (refill the load-case list) and 116 (select the current load case) while the
    // window exists; every other hint is ignored and the base never sees one.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;

    // The controller's load cases in key order, the current one selected; returns their count
    // (the base's result without a controller or map). The list is laid out again in any case.
    int RefreshLoadCaseList() override;
    // Redraws the figure for key and zooms all, then hint 115; 1 (the base's result without a
    // controller).
    int DblclkListLoadcase(UINT key) override;
    // Selects the row of the controller's current load case; a key of 0 or one the list has not
    // keeps the selection. Returns the base's result.
    int ReFreshCurSel() override;
    // Stores the drag of a movable text (RecordTextMove).
    void AfterTextMove(CvdFigure* text, double dx, double dy) override;
    void AfterFormatTextstyle() override;
    void _OnContourSet() override;
    int _CanFigureContour() override;

    // The export dialog: the save-file dialog with the suggested name, then Export2DWG.
    void Export();
    void GetFileName(CString& name);
    // Writes the drawing to path (by its extension); a failure shows the export-failed box.
    // Returns the drawing's result (non-zero on success).
    int Export2DWG(const CString& path);
    void GetTitle(CString& title);

    // The title of a document path: the path up to the first dot of its file name (the last
    // component after "/" or "\"); dots leading the file name are kept; no dot: the whole path.
    static CString MakeExportTitle(const CString& path);
    // title + "_" + caption, made a file name (see the class note).
    static CString MakeExportFileName(const CString& title, const CString& caption);

    // Captions of the figure; the first ends the suggested export name. Never set here.
    CString m_strCaption[4];

protected:
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnContextZoomAll();
    afx_msg void OnContextZoomWindow();
    afx_msg void OnContextPrint();
    afx_msg void OnContextExport();
    DECLARE_MESSAGE_MAP()

private:
    // The document whose path names the export: the current result view's, else the process's.
    static CDBDoc* ExportDocument();
    static void OnDocumentHint(void* owner, LPARAM lHint);
    void StopListening();

    CDBDoc* m_pHintDoc = nullptr;  // the document the view listens to
};
