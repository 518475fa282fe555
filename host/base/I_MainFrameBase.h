// The host application's main frame, as modules see it.
//
// Modules ask the main frame to open and close the figure panel and the figure and design trees
// (static operations, answered whether or not a frame exists) and send it WM_COMMAND messages
// (result tables, activation notices). Headless, the frame records every such request in the
// host's request journal (CHostRequestLog) before acting on it: commands as HR_COMMAND with the
// id and the low word of lParam, panel and tree requests by their own kinds, tree items with
// their caption and parent. The host program creates one frame (new I_MainFrameBase, then
// Create) and makes it the application's main window; m_pMyself points to it.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CFrameWnd.h"

class I_MainFrameBase : public CMDIFrameWnd {
    DECLARE_DYNAMIC(I_MainFrameBase)
public:
    I_MainFrameBase();
    ~I_MainFrameBase() override;

    static I_MainFrameBase* m_pMyself;  // the main frame; null when none

    // Figure panel and trees.
    static void CreateFigureDlg();
    static void CloseFigureDlg();
    static void SetFigureTreeItem();
    static void CloseFigureTree();
    static void CloseDesignTree();
    static BOOL IsFigureDlgOpen();

    // Adds an item to the figure tree under parent (0: a top item) and returns its id (from 1).
    static int AddFigureTreeItem(LPCTSTR caption, int parentId);
    struct TreeItem {
        int id;
        int parent;
        std::string caption;
    };
    // The items of the figure tree, in order of insertion; emptied when the tree is closed.
    static std::vector<TreeItem> GetFigureTreeItems();

    // Records the command, then routes it as any frame does. Always handled. The class library's
    // new-window command (ID_WINDOW_NEW) opens another window of the model view (OpenNewWindow).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // A child frame with a new view of the active model view's class (the first model view when
    // none is active), in the result view mode; null when there is no model view to copy.
    CView* OpenNewWindow();
};
