// Message-map entry macros. Each expands to one row of a BEGIN_MESSAGE_MAP table; the handler's
// signature is checked at compile time against the one the message is dispatched with.
//
//   BEGIN_MESSAGE_MAP(CMyView, CView)
//       ON_WM_CREATE()
//       ON_COMMAND(42088, OnZoomAll)
//       ON_UPDATE_COMMAND_UI(42088, OnUpdateZoomAll)
//       ON_NOTIFY(LVN_ITEMCHANGED, 11263, OnItemChanged)
//   END_MESSAGE_MAP()
#pragma once

#include "platform/ui/CWnd.h"

#define UI_MAP_ROW(msg, code, id, last, sig, type, fn) \
    {static_cast<UINT>(msg), static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(last), sig, nullptr, AFX_MSG_CAST(type, fn)},

#define UI_CODE(code) static_cast<UINT>(static_cast<WORD>(static_cast<int>(code)))

// ---- Commands and control notifications ----
#define ON_COMMAND(id, memberFxn) UI_MAP_ROW(WM_COMMAND, CN_COMMAND, id, id, AfxSig_vv, void (CCmdTarget::*)(), &ThisClass::memberFxn)
#define ON_COMMAND_EX(id, memberFxn) UI_MAP_ROW(WM_COMMAND, CN_COMMAND, id, id, AfxSig_bw, BOOL (CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    UI_MAP_ROW(WM_COMMAND, CN_COMMAND, id, idLast, AfxSig_vw, void (CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    UI_MAP_ROW(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id, AfxSig_cmdui, void (CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn) \
    UI_MAP_ROW(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast, AfxSig_cmdui, void (CCmdTarget::*)(CCmdUI*), &ThisClass::memberFxn)
#define ON_CONTROL(wNotifyCode, id, memberFxn) \
    UI_MAP_ROW(WM_COMMAND, UI_CODE(wNotifyCode), id, id, AfxSig_vv, void (CCmdTarget::*)(), &ThisClass::memberFxn)
#define ON_CONTROL_RANGE(wNotifyCode, id, idLast, memberFxn) \
    UI_MAP_ROW(WM_COMMAND, UI_CODE(wNotifyCode), id, idLast, AfxSig_vw, void (CCmdTarget::*)(UINT), &ThisClass::memberFxn)
#define ON_NOTIFY(wNotifyCode, id, memberFxn) \
    UI_MAP_ROW(WM_NOTIFY, UI_CODE(wNotifyCode), id, id, AfxSig_notify, void (CCmdTarget::*)(NMHDR*, LRESULT*), &ThisClass::memberFxn)
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                  \
    UI_MAP_ROW(WM_NOTIFY, UI_CODE(wNotifyCode), id, idLast, AfxSig_notify_range,             \
               void (CCmdTarget::*)(UINT, NMHDR*, LRESULT*), &ThisClass::memberFxn)

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_EN_SETFOCUS(id, memberFxn) ON_CONTROL(EN_SETFOCUS, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_EDITCHANGE(id, memberFxn) ON_CONTROL(CBN_EDITCHANGE, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_DROPDOWN(id, memberFxn) ON_CONTROL(CBN_DROPDOWN, id, memberFxn)
#define ON_CBN_CLOSEUP(id, memberFxn) ON_CONTROL(CBN_CLOSEUP, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCHANGE(id, memberFxn) ON_CONTROL(LBN_SELCHANGE, id, memberFxn)
#define ON_LBN_DBLCLK(id, memberFxn) ON_CONTROL(LBN_DBLCLK, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_CLBN_CHKCHANGE(id, memberFxn) ON_CONTROL(CLBN_CHKCHANGE, id, memberFxn)

// ---- User and registered messages ----
#define ON_MESSAGE(message, memberFxn) \
    UI_MAP_ROW(message, 0, 0, 0, AfxSig_lwl, LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                          \
    {0xC000u, 0, 0, 0, AfxSig_lwl, &nMessageVariable,                                              \
     AFX_MSG_CAST(LRESULT (CWnd::*)(WPARAM, LPARAM), &ThisClass::memberFxn)},

// ---- Window messages ----
#define UI_WM(msg, sig, type, fn) UI_MAP_ROW(msg, 0, 0, 0, sig, type, &ThisClass::fn)
#define ON_WM_CREATE() UI_WM(WM_CREATE, AfxSig_is, int (CWnd::*)(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() UI_WM(WM_DESTROY, AfxSig_vv, void (CWnd::*)(), OnDestroy)
#define ON_WM_SIZE() UI_WM(WM_SIZE, AfxSig_vwii, void (CWnd::*)(UINT, int, int), OnSize)
#define ON_WM_SIZING() UI_WM(WM_SIZING, AfxSig_vwr, void (CWnd::*)(UINT, LPRECT), OnSizing)
#define ON_WM_MOVE() UI_WM(WM_MOVE, AfxSig_vii, void (CWnd::*)(int, int), OnMove)
#define ON_WM_ACTIVATE() UI_WM(WM_ACTIVATE, AfxSig_vwWb, void (CWnd::*)(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_SETFOCUS() UI_WM(WM_SETFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() UI_WM(WM_KILLFOCUS, AfxSig_vW, void (CWnd::*)(CWnd*), OnKillFocus)
#define ON_WM_PAINT() UI_WM(WM_PAINT, AfxSig_vv, void (CWnd::*)(), OnPaint)
#define ON_WM_CLOSE() UI_WM(WM_CLOSE, AfxSig_vv, void (CWnd::*)(), OnClose)
#define ON_WM_ERASEBKGND() UI_WM(WM_ERASEBKGND, AfxSig_bD, BOOL (CWnd::*)(CDC*), OnEraseBkgnd)
#define ON_WM_SHOWWINDOW() UI_WM(WM_SHOWWINDOW, AfxSig_vbw, void (CWnd::*)(BOOL, UINT), OnShowWindow)
#define ON_WM_GETMINMAXINFO() UI_WM(WM_GETMINMAXINFO, AfxSig_vminmax, void (CWnd::*)(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_WINDOWPOSCHANGING() UI_WM(WM_WINDOWPOSCHANGING, AfxSig_vpos, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() UI_WM(WM_WINDOWPOSCHANGED, AfxSig_vpos, void (CWnd::*)(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_CONTEXTMENU() UI_WM(WM_CONTEXTMENU, AfxSig_vWp, void (CWnd::*)(CWnd*, CPoint), OnContextMenu)
#define ON_WM_KEYDOWN() UI_WM(WM_KEYDOWN, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() UI_WM(WM_KEYUP, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() UI_WM(WM_CHAR, AfxSig_vwww, void (CWnd::*)(UINT, UINT, UINT), OnChar)
#define ON_WM_TIMER() UI_WM(WM_TIMER, AfxSig_vtimer, void (CWnd::*)(UINT_PTR), OnTimer)
#define ON_WM_HSCROLL() UI_WM(WM_HSCROLL, AfxSig_vwwScroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() UI_WM(WM_VSCROLL, AfxSig_vwwScroll, void (CWnd::*)(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_INITMENUPOPUP() UI_WM(WM_INITMENUPOPUP, AfxSig_vMwb, void (CWnd::*)(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_CTLCOLOR() UI_WM(0x0019, AfxSig_hDWw, HBRUSH (CWnd::*)(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_MOUSEMOVE() UI_WM(WM_MOUSEMOVE, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() UI_WM(WM_LBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() UI_WM(WM_LBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() UI_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() UI_WM(WM_RBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() UI_WM(WM_RBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() UI_WM(WM_RBUTTONDBLCLK, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() UI_WM(WM_MBUTTONDOWN, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() UI_WM(WM_MBUTTONUP, AfxSig_vwp, void (CWnd::*)(UINT, CPoint), OnMButtonUp)
#define ON_WM_MOUSEWHEEL() UI_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL (CWnd::*)(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_PARENTNOTIFY() UI_WM(WM_PARENTNOTIFY, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnParentNotify)
#define ON_WM_CAPTURECHANGED() UI_WM(WM_CAPTURECHANGED, AfxSig_vW, void (CWnd::*)(CWnd*), OnCaptureChanged)
#define ON_WM_SYSCOMMAND() UI_WM(WM_SYSCOMMAND, AfxSig_vwl, void (CWnd::*)(UINT, LPARAM), OnSysCommand)
#define ON_WM_MDIACTIVATE() UI_WM(WM_MDIACTIVATE, AfxSig_vbWW, void (CWnd::*)(BOOL, CWnd*, CWnd*), OnMDIActivate)
