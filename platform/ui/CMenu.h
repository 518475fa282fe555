// CMenu: menus and pop-up menus built in code or loaded from the menu resources the module
// registers, and TrackPopupMenu answered by CUiDriver.
//
// A menu is a list of items (text, command id, MF_* state) where an item may open a sub-menu.
// Handles are numbered and never reused. LoadMenu copies a registered template, so each load
// gives an independent menu that DestroyMenu frees with its sub-menus. TrackPopupMenu first
// lets the owner update the items (WM_INITMENUPOPUP), records what was shown, then takes the
// driver's next choice: with TPM_RETURNCMD it returns the id, otherwise it posts WM_COMMAND to
// the owner. A disabled or unknown choice counts as nothing chosen.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/CWnd.h"

class CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    HMENU m_hMenu;

    CMenu();
    ~CMenu() override;
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { return m_hMenu; }
    static CMenu* FromHandle(HMENU hMenu);
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL CreateMenu();
    BOOL CreatePopupMenu();
    BOOL LoadMenu(UINT nIDResource);
    BOOL LoadMenu(LPCTSTR lpszResourceName);
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCTSTR lpszNewItem = nullptr);
    BOOL RemoveMenu(UINT nPosition, UINT nFlags);
    BOOL DeleteMenu(UINT nPosition, UINT nFlags);

    CMenu* GetSubMenu(int nPos) const;
    int GetMenuItemCount() const;
    UINT GetMenuItemID(int nPos) const;   // 0 for separators, -1 for pop-ups and bad positions
    int GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const;
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    UINT GetMenuState(UINT nID, UINT nFlags) const;   // MF_* bits, or -1 when there is no such item
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);   // previous MF_CHECKED state, -1 if none
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable);   // previous MF_GRAYED|MF_DISABLED state, -1 if none
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);

    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);
};

// One item of a menu resource: text and id, or a separator (MF_SEPARATOR), or a pop-up with
// its own items.
struct UiMenuTemplateItem {
    std::string text;
    UINT nID = 0;
    UINT nFlags = 0;   // MF_SEPARATOR, MF_GRAYED, MF_CHECKED, MF_POPUP (implied by items)
    std::vector<UiMenuTemplateItem> popup;
};

// Menu resources by id. Registering an id again replaces the template.
BOOL RegisterMenuTemplate(UINT nIDResource, const std::vector<UiMenuTemplateItem>& items);
BOOL UnregisterMenuTemplate(UINT nIDResource);

HMENU CreateMenu();
HMENU CreatePopupMenu();
HMENU LoadMenu(HINSTANCE hInstance, LPCTSTR lpMenuName);
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect);
