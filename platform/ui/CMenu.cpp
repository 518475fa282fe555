// Menus, menu resources and pop-up tracking.
#include "platform/ui/CMenu.h"

#include <map>
#include <memory>

#include "platform/ui/CUiDriver.h"
#include "platform/ui/UiWindow.h"

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

struct MenuItem {
    UINT flags;       // MF_* state and kind bits
    UINT id;
    std::string text;
    HMENU sub;        // pop-up, owned by this menu
};

struct Menu {
    std::vector<MenuItem> items;
    CMenu* pObject = nullptr;              // attached object
    std::unique_ptr<CMenu> wrapper;        // made by FromHandle
    UINT defaultItem = static_cast<UINT>(-1);
};

struct Menus {
    std::map<uintptr_t, std::unique_ptr<Menu>> table;
    uintptr_t next = 0x30000;
    std::map<UINT, std::vector<UiMenuTemplateItem>> templates;
};

Menus& M() {
    static auto* m = new Menus;
    return *m;
}

Menu* Find(HMENU h) {
    auto it = M().table.find(reinterpret_cast<uintptr_t>(h));
    return it == M().table.end() ? nullptr : it->second.get();
}

HMENU NewMenu() {
    M().next += 4;
    HMENU h = reinterpret_cast<HMENU>(M().next);
    M().table[M().next] = std::make_unique<Menu>();
    return h;
}

void Free(HMENU h) {
    Menu* m = Find(h);
    if (!m) return;
    for (auto& it : m->items)
        if (it.sub) Free(it.sub);
    if (m->pObject) m->pObject->m_hMenu = nullptr;
    if (m->wrapper) m->wrapper->m_hMenu = nullptr;
    std::unique_ptr<Menu> dead = std::move(M().table[reinterpret_cast<uintptr_t>(h)]);
    M().table.erase(reinterpret_cast<uintptr_t>(h));
}

HMENU Build(const std::vector<UiMenuTemplateItem>& items) {
    HMENU h = NewMenu();
    for (const auto& t : items) {
        MenuItem it{t.nFlags, t.nID, t.text, nullptr};
        if (!t.popup.empty() || (t.nFlags & MF_POPUP)) {
            it.sub = Build(t.popup);
            it.flags |= MF_POPUP;
            it.id = 0;
        }
        if (t.nFlags & MF_SEPARATOR) {
            it.text.clear();
            it.id = 0;
        }
        Find(h)->items.push_back(it);
    }
    return h;
}

// Finds an item by command id (searching pop-ups too) or by position.
MenuItem* Locate(HMENU h, UINT nItem, UINT nFlags, HMENU* pOwner = nullptr, size_t* pIndex = nullptr) {
    Menu* m = Find(h);
    if (!m) return nullptr;
    if (nFlags & MF_BYPOSITION) {
        if (nItem >= m->items.size()) return nullptr;
        if (pOwner) *pOwner = h;
        if (pIndex) *pIndex = nItem;
        return &m->items[nItem];
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        MenuItem& it = m->items[i];
        if (!(it.flags & MF_POPUP) && !(it.flags & MF_SEPARATOR) && it.id == nItem) {
            if (pOwner) *pOwner = h;
            if (pIndex) *pIndex = i;
            return &it;
        }
        if (it.sub)
            if (MenuItem* found = Locate(it.sub, nItem, nFlags, pOwner, pIndex)) return found;
    }
    return nullptr;
}

const UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT | MF_MENUBARBREAK | MF_MENUBREAK;

}  // namespace

// ---- Resources and handle functions ----

BOOL RegisterMenuTemplate(UINT nIDResource, const std::vector<UiMenuTemplateItem>& items) {
    M().templates[nIDResource] = items;
    return TRUE;
}

BOOL UnregisterMenuTemplate(UINT nIDResource) { return M().templates.erase(nIDResource) > 0; }

HMENU CreateMenu() { return NewMenu(); }
HMENU CreatePopupMenu() { return NewMenu(); }

HMENU LoadMenu(HINSTANCE, LPCTSTR lpMenuName) {
    if (!IS_INTRESOURCE(lpMenuName)) {
        ui::Error("LoadMenu: menu resources are registered by number; \"%s\" is not one.", lpMenuName ? lpMenuName : "");
        return nullptr;
    }
    UINT id = static_cast<UINT>(reinterpret_cast<uintptr_t>(lpMenuName));
    auto it = M().templates.find(id);
    if (it == M().templates.end()) {
        ui::Error("LoadMenu: menu resource %u is not registered.", id);
        return nullptr;
    }
    return Build(it->second);
}

BOOL DestroyMenu(HMENU hMenu) {
    if (!Find(hMenu)) return FALSE;
    Free(hMenu);
    return TRUE;
}

BOOL IsMenu(HMENU hMenu) { return Find(hMenu) != nullptr; }

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int, int, int, HWND hWnd, const RECT*) {
    if (!Find(hMenu)) {
        ui::Error("TrackPopupMenu: the menu does not exist.");
        return FALSE;
    }
    if (hWnd && !ui::Find(hWnd)) {
        ui::Error("TrackPopupMenu: the owner window does not exist.");
        return FALSE;
    }
    // The owner updates the items first, as before a menu opens.
    if (hWnd && !(uFlags & TPM_NONOTIFY)) {
        ui::Send(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, FALSE));
        if (!Find(hMenu)) return FALSE;
    }
    UiMenuRecord rec;
    for (const auto& it : Find(hMenu)->items) {
        rec.texts.push_back(CString(it.text.c_str()));
        rec.ids.push_back((it.flags & (MF_POPUP | MF_SEPARATOR)) ? 0 : it.id);
        rec.states.push_back(it.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED));
    }
    UINT chosen = CUiDriver::Get().TakeMenuChoice();
    if (chosen) {
        MenuItem* it = Locate(hMenu, chosen, MF_BYCOMMAND);
        if (!it || (it->flags & (MF_GRAYED | MF_DISABLED))) chosen = 0;   // unknown or disabled: nothing chosen
    }
    rec.chosen = chosen;
    CUiDriver::Get().RecordMenu(rec);
    if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && hWnd) ui::Post(hWnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}

// ---- CMenu ----

CMenu::CMenu() : m_hMenu(nullptr) {}

CMenu::~CMenu() {
    Menu* m = Find(m_hMenu);
    if (m && m->pObject == this) {
        // An owning object frees its menu (and pop-ups) with it, as the class library does.
        m->pObject = nullptr;
        Free(m_hMenu);
    }
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    Menu* m = Find(hMenu);
    if (!m) return nullptr;
    if (m->pObject) return m->pObject;
    if (!m->wrapper) {
        m->wrapper = std::make_unique<CMenu>();
        m->wrapper->m_hMenu = hMenu;
    }
    return m->wrapper.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
    Menu* m = Find(hMenu);
    if (!m || m_hMenu || (m->pObject && m->pObject != this)) return FALSE;
    m->pObject = this;
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU h = m_hMenu;
    if (Menu* m = Find(h))
        if (m->pObject == this) m->pObject = nullptr;
    m_hMenu = nullptr;
    return h;
}

BOOL CMenu::CreateMenu() { return !m_hMenu && Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return !m_hMenu && Attach(::CreatePopupMenu()); }

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    if (m_hMenu) return FALSE;
    HMENU h = ::LoadMenu(nullptr, lpszResourceName);
    return h && Attach(h);
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu) return FALSE;
    HMENU h = Detach();
    return ::DestroyMenu(h);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    Menu* m = Find(m_hMenu);
    return m && InsertMenu(static_cast<UINT>(m->items.size()), nFlags | MF_BYPOSITION, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    Menu* m = Find(m_hMenu);
    if (!m) return FALSE;
    size_t at = m->items.size();
    if (nFlags & MF_BYPOSITION) {
        if (nPosition < m->items.size()) at = nPosition;
    } else if (nPosition != static_cast<UINT>(-1)) {
        for (size_t i = 0; i < m->items.size(); ++i)
            if (m->items[i].id == nPosition && !(m->items[i].flags & MF_POPUP)) at = i;
    }
    MenuItem it{nFlags & (kStateBits | MF_POPUP | MF_SEPARATOR), static_cast<UINT>(nIDNewItem),
                (lpszNewItem && !(nFlags & MF_SEPARATOR)) ? lpszNewItem : "", nullptr};
    if (nFlags & MF_POPUP) {
        HMENU sub = reinterpret_cast<HMENU>(nIDNewItem);
        if (!Find(sub)) return FALSE;
        // The menu takes the pop-up over: its object lets go of it.
        if (Menu* sm = Find(sub))
            if (sm->pObject) {
                sm->pObject->m_hMenu = nullptr;
                sm->pObject = nullptr;
            }
        it.sub = sub;
        it.id = 0;
    }
    if (nFlags & MF_SEPARATOR) it.id = 0;
    m->items.insert(m->items.begin() + static_cast<long>(at), it);
    return TRUE;
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    MenuItem* it = Locate(m_hMenu, nPosition, nFlags & MF_BYPOSITION);
    if (!it) return FALSE;
    it->flags = (it->flags & MF_POPUP) | (nFlags & (kStateBits | MF_SEPARATOR));
    if (!(it->flags & MF_POPUP)) it->id = static_cast<UINT>(nIDNewItem);
    if (nFlags & MF_SEPARATOR)
        it->text.clear();
    else if (lpszNewItem)
        it->text = lpszNewItem;
    return TRUE;
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    HMENU owner = nullptr;
    size_t index = 0;
    if (!Locate(m_hMenu, nPosition, nFlags & MF_BYPOSITION, &owner, &index)) return FALSE;
    Menu* m = Find(owner);
    m->items.erase(m->items.begin() + static_cast<long>(index));   // a removed pop-up is not freed
    return TRUE;
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    HMENU owner = nullptr;
    size_t index = 0;
    MenuItem* it = Locate(m_hMenu, nPosition, nFlags & MF_BYPOSITION, &owner, &index);
    if (!it) return FALSE;
    HMENU sub = it->sub;
    Menu* m = Find(owner);
    m->items.erase(m->items.begin() + static_cast<long>(index));
    if (sub) Free(sub);
    return TRUE;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    Menu* m = Find(m_hMenu);
    if (!m || nPos < 0 || nPos >= static_cast<int>(m->items.size())) return nullptr;
    return CMenu::FromHandle(m->items[static_cast<size_t>(nPos)].sub);
}

int CMenu::GetMenuItemCount() const {
    Menu* m = Find(m_hMenu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const {
    Menu* m = Find(m_hMenu);
    if (!m || nPos < 0 || nPos >= static_cast<int>(m->items.size())) return static_cast<UINT>(-1);
    const MenuItem& it = m->items[static_cast<size_t>(nPos)];
    if (it.flags & MF_POPUP) return static_cast<UINT>(-1);
    return (it.flags & MF_SEPARATOR) ? 0 : it.id;
}

int CMenu::GetMenuString(UINT nIDItem, LPTSTR lpString, int nMaxCount, UINT nFlags) const {
    MenuItem* it = Locate(m_hMenu, nIDItem, nFlags & MF_BYPOSITION);
    if (!it) {
        if (lpString && nMaxCount > 0) lpString[0] = '\0';
        return 0;
    }
    if (!lpString || nMaxCount <= 0) return static_cast<int>(it->text.size());
    return static_cast<int>(ui::CopyText(it->text, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    MenuItem* it = Locate(m_hMenu, nIDItem, nFlags & MF_BYPOSITION);
    rString = it ? it->text.c_str() : "";
    return rString.GetLength();
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    MenuItem* it = Locate(m_hMenu, nID, nFlags & MF_BYPOSITION);
    if (!it) return static_cast<UINT>(-1);
    UINT state = it->flags & (kStateBits | MF_SEPARATOR | MF_POPUP);
    if (it->sub) {
        Menu* sm = Find(it->sub);
        state |= (sm ? static_cast<UINT>(sm->items.size()) : 0u) << 8;   // pop-ups report their item count
    }
    return state;
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    MenuItem* it = Locate(m_hMenu, nIDCheckItem, nCheck & MF_BYPOSITION);
    if (!it) return static_cast<UINT>(-1);
    UINT old = it->flags & MF_CHECKED;
    it->flags = (it->flags & ~static_cast<UINT>(MF_CHECKED)) | (nCheck & MF_CHECKED);
    return old;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    MenuItem* it = Locate(m_hMenu, nIDEnableItem, nEnable & MF_BYPOSITION);
    if (!it) return static_cast<UINT>(-1);
    UINT old = it->flags & (MF_GRAYED | MF_DISABLED);
    it->flags = (it->flags & ~static_cast<UINT>(MF_GRAYED | MF_DISABLED)) | (nEnable & (MF_GRAYED | MF_DISABLED));
    return old;
}

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    BOOL found = FALSE;
    for (UINT id = nIDFirst; id <= nIDLast; ++id) {
        MenuItem* it = Locate(m_hMenu, id, nFlags & MF_BYPOSITION);
        if (!it) continue;
        if (id == nIDItem) {
            it->flags |= MF_CHECKED;
            found = TRUE;
        } else {
            it->flags &= ~static_cast<UINT>(MF_CHECKED);
        }
    }
    return found;
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
    Menu* m = Find(m_hMenu);
    if (!m) return FALSE;
    for (auto& it : m->items) it.flags &= ~static_cast<UINT>(MF_DEFAULT);
    if (uItem == static_cast<UINT>(-1)) return TRUE;
    MenuItem* it = Locate(m_hMenu, uItem, fByPos ? MF_BYPOSITION : MF_BYCOMMAND);
    if (!it) return FALSE;
    it->flags |= MF_DEFAULT;
    return TRUE;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
