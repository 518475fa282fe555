// CTBBrowserWnd: the host's record-browser grid, shown over a dialog control it subclasses.
//
// Row 0 is the header (one text and one width in pixels per column); rows 1 … n hold the
// records as texts, appended in order. In display-only mode the grid is read-only: appending or
// changing a cell is refused. The grid paints itself as a table (a grey header, a line of
// cells per row, grid lines) and a left-button press makes the cell under the point current;
// a press near a column border (within kBorderSlop pixels) is a border hit, not a cell.
//
//     CTBBrowserWnd grid;
//     grid.SubclassDlgItem(10501, pDlg);
//     grid.Initialize();
//     grid.SetHeader({"No.", "Value"}, {40, 70});
//     grid.AppendRow({"1", "0.05"});
//     grid.SetModeDisplayOnly(1);
#pragma once

#include <vector>

#include "platform/afx/CString.h"
#include "platform/ui/CWnd.h"

class CDC;

class CTBBrowserWnd : public CWnd {
    DECLARE_DYNAMIC(CTBBrowserWnd)
public:
    // What a point of the client area hits.
    enum EHit { HIT_NOTHING = 0, HIT_CELL = 1, HIT_BORDER = 2 };
    static constexpr int kRowHeight = 20;   // pixels, header included
    static constexpr int kBorderSlop = 3;   // pixels either side of a column border

    CTBBrowserWnd();
    ~CTBBrowserWnd() override;

    // Empties the grid and leaves display-only mode; subclasses call it first.
    virtual void Initialize();

    // Header texts and column widths (pixels); widths missing from the list are 60.
    void SetHeader(const std::vector<CString>& texts, const std::vector<int>& widths);
    // Cell font: size in points and weight.
    void SetCellFont(int nPointSize, int nWeight);
    // Appends a record row (texts beyond the header's columns are dropped, missing ones are
    // empty); its row number, or -1 in display-only mode.
    int AppendRow(const std::vector<CString>& texts);
    // Sets one cell of a record row; FALSE in display-only mode or outside the grid.
    BOOL SetValueRowCol(int nRow, int nCol, const CString& text);

    int GetRowCount() const { return static_cast<int>(m_rows.size()); }  // records, header not counted
    int GetColCount() const { return static_cast<int>(m_header.size()); }
    // Text of a cell: row 0 the header, columns from 1; empty outside the grid.
    CString GetValueRowCol(int nRow, int nCol) const;
    int GetColWidth(int nCol) const;
    int GetFontSize() const { return m_nFontSize; }
    int GetFontWeight() const { return m_nFontWeight; }

    void SetModeDisplayOnly(int bDisplayOnly) { m_bDisplayOnly = bDisplayOnly ? 1 : 0; }
    int IsModeDisplayOnly() const { return m_bDisplayOnly; }
    // The first cell a user may move to.
    void SetRightValidCell(int nRow, int nCol);
    void GetRightValidCell(int& nRow, int& nCol) const;
    // The current cell (0, 0 when none).
    void GetCurrentCell(int& nRow, int& nCol) const;

    // Classifies a client point; nRow and nCol get the hit cell (or the column left of a
    // border).
    EHit HitTest(CPoint point, int& nRow, int& nCol) const;
    // The column's rectangle over the header and every row, client coordinates; empty when
    // there is no such column.
    CRect GetColRect(int nCol) const;
    // Whether a press may go to the column; every existing column does.
    virtual BOOL AcceptsColumn(int nCol) const;

    // Paints the table into any DC with its top-left at the client origin.
    void Draw(CDC* pDC) const;

protected:
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    int ColLeft(int nCol) const;  // x of the column's left edge

    std::vector<CString> m_header;
    std::vector<int> m_widths;
    std::vector<std::vector<CString>> m_rows;
    int m_nFontSize = 10;
    int m_nFontWeight = 400;
    int m_bDisplayOnly = 0;
    int m_nValidRow = 0, m_nValidCol = 0;
    int m_nCurRow = 0, m_nCurCol = 0;
};
