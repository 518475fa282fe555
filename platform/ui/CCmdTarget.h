// CCmdTarget: the base of everything that receives commands and window messages, with the
// static message-map tables that route them, and CCmdUI, the probe that asks a target whether a
// command is enabled or checked.
//
// A class declares DECLARE_MESSAGE_MAP() and defines its table with BEGIN_MESSAGE_MAP(Class,
// Base) ... END_MESSAGE_MAP() and the ON_* entry macros of afxmsg.h. Each entry is one row
// (message, notify code, id range, handler signature, member pointer); lookups walk the class's
// table, then its base class's, so a derived entry overrides a base entry for the same message.
// OnCmdMsg dispatches WM_COMMAND ids, control notifications, WM_NOTIFY codes and update probes.
#pragma once

#include <bit>

#include "platform/afx/afx.h"
#include "platform/ui/uidefs.h"

class CCmdTarget;
class CCmdUI;
class CWnd;
class CMenu;

typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signature kinds: how a row's member pointer is cast back and called.
enum AfxSig : UINT {
    AfxSig_end = 0,
    AfxSig_vv,        // void ()
    AfxSig_vw,        // void (UINT id): command and control ranges
    AfxSig_bw,        // BOOL (UINT id): extended command handler
    AfxSig_cmdui,     // void (CCmdUI*)
    AfxSig_lwl,       // LRESULT (WPARAM, LPARAM)
    AfxSig_notify,    // void (NMHDR*, LRESULT*)
    AfxSig_notify_range,  // void (UINT id, NMHDR*, LRESULT*)
    AfxSig_is,        // int (LPCREATESTRUCT)
    AfxSig_vwii,      // void (UINT, int, int)
    AfxSig_vwp,       // void (UINT, CPoint)
    AfxSig_vwl,       // void (UINT, LPARAM)
    AfxSig_vtimer,    // void (UINT_PTR)
    AfxSig_bD,        // BOOL (CDC*)
    AfxSig_vminmax,   // void (MINMAXINFO*)
    AfxSig_vwWb,      // void (UINT, CWnd*, BOOL)
    AfxSig_vwwScroll, // void (UINT, UINT, CScrollBar*)
    AfxSig_vbw,       // void (BOOL, UINT)
    AfxSig_vW,        // void (CWnd*)
    AfxSig_vwww,      // void (UINT, UINT, UINT)
    AfxSig_hDWw,      // HBRUSH (CDC*, CWnd*, UINT)
    AfxSig_vWp,       // void (CWnd*, CPoint)
    AfxSig_vii,       // void (int, int)
    AfxSig_vwr,       // void (UINT, LPRECT)
    AfxSig_bwsp,      // BOOL (UINT, short, CPoint)
    AfxSig_vpos,      // void (WINDOWPOS*)
    AfxSig_vMwb,      // void (CMenu*, UINT, BOOL)
    AfxSig_vbWW,      // void (BOOL, CWnd*, CWnd*)
};

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;      // window message; WM_COMMAND for commands and control notifications
    UINT nCode;         // control notification or WM_NOTIFY code (low word); CN_UPDATE_COMMAND_UI
    UINT nID;           // first control or command id (0 for window messages)
    UINT nLastID;       // last id of the range
    UINT nSig;          // AfxSig
    const UINT* pnRegisteredMsg;  // ON_REGISTERED_MESSAGE: the variable holding the message
    AFX_PMSG pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Extra data of a WM_NOTIFY dispatch through OnCmdMsg.
struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSG pmf;
};

// Casts of a handler to the row's generic member pointer: the first cast checks the handler's
// signature against the one its macro promises, the second stores it.
template <class To, class From>
inline To AfxPmfCast(From pmf) {
    static_assert(sizeof(To) == sizeof(From), "member pointers of one layout");
    return std::bit_cast<To>(pmf);
}
#define AFX_MSG_CAST(type, pmf) (AfxPmfCast<AFX_PMSG>(static_cast<type>(pmf)))

// Leaves the class in the protected section, as the class library's macro does.
#define DECLARE_MESSAGE_MAP()                                   \
public:                                                         \
    static const AFX_MSGMAP* GetThisMessageMap();               \
    virtual const AFX_MSGMAP* GetMessageMap() const;            \
protected:

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                          \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }  \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                   \
        typedef theClass ThisClass;                                                     \
        typedef baseClass TheBaseClass;                                                 \
        (void)sizeof(ThisClass*);                                                       \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                               \
            {0, 0, 0, 0, AfxSig_end, nullptr, nullptr}};                               \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap;                                                             \
    }

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    CCmdTarget();
    ~CCmdTarget() override;

    // Routes a command, control notification, WM_NOTIFY code or update probe to this target's
    // map. nCode: CN_COMMAND, CN_UPDATE_COMMAND_UI (pExtra = CCmdUI*), a control notification
    // code, or MAKELONG(code, WM_NOTIFY) (pExtra = AFX_NOTIFY*). Returns FALSE when unhandled.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The wait cursor has nothing to show headless; the calls only keep count of nesting.
    void BeginWaitCursor();
    void EndWaitCursor();
    void RestoreWaitCursor();
    static int GetWaitCursorCount();

    // Looks up the first entry for a window message (or registered message) along the chain.
    static const AFX_MSGMAP_ENTRY* FindMessageEntry(const AFX_MSGMAP* pMap, UINT nMsg, UINT nCode, UINT nID);

    DECLARE_MESSAGE_MAP()
};

// Probe of one command's state. A target's ON_UPDATE_COMMAND_UI handler calls Enable, SetCheck,
// SetRadio or SetText; the results are applied to the menu item (m_pMenu) or control
// (m_pOther) when there is one, and are also kept here so the caller can read them back.
class CCmdUI {
public:
    CCmdUI();
    virtual ~CCmdUI() = default;

    UINT m_nID;             // command id probed
    UINT m_nIndex;          // menu position when probing a menu
    CMenu* m_pMenu;         // menu being updated, or NULL
    CMenu* m_pSubMenu;      // popup at that position, or NULL
    CWnd* m_pOther;         // control being updated, or NULL
    BOOL m_bEnableChanged;  // a handler called Enable
    BOOL m_bContinueRouting;

    virtual void Enable(BOOL bOn = TRUE);
    virtual void SetCheck(int nCheck = 1);   // 0 unchecked, 1 checked, 2 indeterminate
    virtual void SetRadio(BOOL bOn = TRUE);
    virtual void SetText(LPCTSTR lpszText);
    void ContinueRouting() { m_bContinueRouting = TRUE; }

    // Asks pTarget's routing for the state of m_nID. Returns TRUE when a handler answered.
    // Without a handler and with bDisableIfNoHndler, an item with no command handler either
    // is disabled, as menus do for commands nobody handles.
    BOOL DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler);

    // What the handler set (-1 = left untouched).
    int m_nEnabled;         // 1 enabled, 0 disabled
    int m_nChecked;         // 0, 1 or 2
    int m_nRadio;           // 1 when SetRadio(TRUE)
    BOOL m_bTextSet;
    CString m_strText;
};
