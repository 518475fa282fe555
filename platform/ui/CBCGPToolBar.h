// CBCGPToolBar: a docked tool bar of command buttons, built from a tool-bar resource.
//
// A tool-bar resource is a list of command ids (0 for a separator) with the size of the
// button images; RegisterToolBarResource makes it known by number, LoadToolBar builds the
// bar's items from it. Items are laid out left to right in rows that wrap at the bar's client
// width (AdjustLocations, called on every size change); a button is the image plus kButtonMargin
// pixels, a separator kSeparatorWidth pixels unless it was given its own width. A subclass may
// turn an item into a wide separator to host a control of its own (SetSeparatorWidth) and find
// its place with GetItemRect. Nothing is painted headless; the layout, the tips and the
// visibility are kept so that the module's use can be checked.
//
//   RegisterToolBarResource(10611, {42015, 42016, 0, 42022}, CSize(16, 15));
//   bar.CreateEx(pFrame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, CRect(0,0,0,0), 59416);
//   bar.LoadToolBar(10611);  CRect rc;  bar.GetItemRect(bar.CommandToIndex(42016), &rc);
#pragma once

#include <vector>

#include "platform/ui/CFrameWnd.h"

// Bar styles.
#define TBSTYLE_FLAT 0x0800u
#define CBRS_BORDER_TOP 0x0200u
#define CBRS_TOOLTIPS 0x0010u
#define CBRS_FLYBY 0x0020u
#define CBRS_SIZE_DYNAMIC 0x0400u
#define CBRS_GRIPPER 0x00400000u
#define CBRS_ALIGN_TOP 0x1000u
#define CBRS_ALIGN_BOTTOM 0x4000u
#define CBRS_ALIGN_ANY 0xF000u
#define CBRS_TOP (CBRS_ALIGN_TOP | CBRS_BORDER_TOP)
#define CBRS_BOTTOM CBRS_ALIGN_BOTTOM
#define CBRS_ORIENT_VERT 0x0800u  // the bar stands vertically (docked left or right)

// Tool-bar resources by number. Registering a number again replaces the resource.
BOOL RegisterToolBarResource(UINT nIDResource, const std::vector<UINT>& ids, CSize buttonImage);
BOOL UnregisterToolBarResource(UINT nIDResource);

class CBCGPToolBar : public CControlBar {
    DECLARE_DYNAMIC(CBCGPToolBar)
public:
    static constexpr int kButtonMargin = 7;     // a button is its image plus this, each way
    static constexpr int kSeparatorWidth = 8;

    // One item of the bar.
    struct Item {
        UINT nID = 0;            // command, 0 for a plain separator
        BOOL bSeparator = FALSE;
        int nWidth = 0;          // pixels
        CRect rect;              // placed by AdjustLocations, client coordinates
        CString strTip;          // the tip text, after the line feed of the command's string
    };

    CBCGPToolBar();
    ~CBCGPToolBar() override;

    BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders = CRect(0, 0, 0, 0),
                  UINT nID = AFX_IDW_TOOLBAR);
    // Builds the items from a registered resource; FALSE when there is none of that number.
    virtual BOOL LoadToolBar(UINT nIDResource);

    int GetCount() const { return static_cast<int>(m_items.size()); }
    const Item& GetItem(int nIndex) const { return m_items[static_cast<size_t>(nIndex)]; }
    UINT GetItemID(int nIndex) const;
    // The index of the item of a command, -1 when the bar has none.
    int CommandToIndex(UINT nID) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    // Turns item nIndex into a separator nWidth pixels wide that keeps the command id.
    void SetSeparatorWidth(int nIndex, int nWidth);
    // Moves every item of the row at y by dx pixels.
    void ShiftRow(int y, int dx);

    // Places the items row by row within the client width and updates the tips.
    virtual void AdjustLocations();
    // Whether rows are centred: the bar allows it (horizontal and docked) and the flag is on.
    virtual BOOL CanCenterRows() const;
    BOOL m_bCenterRows;         // centre the rows of a horizontal bar
    // The tips from the string table of the commands ("prompt\ntip").
    void UpdateTooltips();
    BOOL IsHorizontal() const { return (m_dwStyle & CBRS_ORIENT_VERT) == 0; }

    // The free width a row leaves on its right.
    int RowFreeWidth(int y) const;

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    std::vector<Item> m_items;
    CSize m_sizeButton;         // button size including the margin
    CRect m_rcBorders;
};
