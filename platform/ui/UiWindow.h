// The state behind a window handle, shared by CWnd, the controls, the queue and the driver.
//
// Internal to the window layer: module code works through CWnd and the control classes. A
// window's record lives in the handle table from creation until its WM_NCDESTROY; handles are
// numbered and never reused, so a stale handle finds nothing. Control classes keep their own
// data (items, ranges, tree nodes) in UiWindow::items and UiWindow::ext.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/CWnd.h"

class CWnd;
struct UiWindow;

// Behaviour of a window class: answers the class's own messages (control messages, text, ...).
// Returns TRUE and sets lResult when it handled the message.
typedef BOOL (*UiClassProc)(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
typedef CWnd* (*UiWrapperFactory)();

struct UiWindowClass {
    std::string name;            // compared without regard to case
    UiClassProc pfnProc;         // may be NULL: generic window
    UiWrapperFactory pfnWrapper; // object FromHandle makes for a window without one
    UINT style;                  // CS_*
    int nBackground;             // stock brush index for the default erase, -1 none
};

// Kind-specific data of a control, owned by its window.
struct UiControlData {
    virtual ~UiControlData() = default;
};

struct UiListItem {
    std::string text;
    DWORD_PTR data = 0;
    BOOL bSelected = FALSE;   // multi-selection list boxes
    int nCheck = 0;           // check list boxes
};

struct UiTimer {
    UINT_PTR id;
    UINT nElapse;      // milliseconds
    ULONGLONG due;     // message-clock time of the next firing
    TIMERPROC pfn;
};

struct UiWindow {
    HWND hwnd = nullptr;
    const UiWindowClass* pClass = nullptr;
    std::string className;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    CRect rcRestore;              // rectangle to return to from maximised
    BOOL bRestore = FALSE;
    CRect rect;                   // window rectangle: parent client coordinates for children, else screen
    HWND hParent = nullptr;       // parent of a child window
    HWND hOwner = nullptr;        // owner of a popup/top-level window
    UINT id = 0;                  // control id of a child
    HMENU hMenu = nullptr;        // menu bar of a top-level window
    std::vector<HWND> children;   // creation (tab) order
    CWnd* pWnd = nullptr;         // attached object
    std::vector<std::unique_ptr<CWnd>> wrappers;  // objects made by FromHandle, freed with the window
    HFONT hFont = nullptr;
    BOOL bRedraw = TRUE;          // WM_SETREDRAW state
    BOOL bDestroying = FALSE;
    BOOL bCreated = FALSE;        // WM_CREATE answered

    // Update area (client coordinates) as a bounding rectangle.
    BOOL bUpdate = FALSE;
    BOOL bErase = FALSE;
    CRect rcUpdate;

    std::vector<UiTimer> timers;

    // Scroll bars of the window itself (SB_HORZ, SB_VERT).
    int scrollMin[2] = {0, 0};
    int scrollMax[2] = {0, 0};
    int scrollPos[2] = {0, 0};

    // Common control state.
    int nCheck = 0;               // buttons: BST_*
    BOOL bPushed = FALSE;
    HANDLE hImage = nullptr;      // buttons and statics: icon or bitmap
    std::vector<UiListItem> items;  // combo and list boxes, tab captions
    int nCurSel = -1;
    int nCaret = 0;
    int nTop = 0;
    int nSelStart = 0, nSelEnd = 0;  // edits: selection in bytes
    int nLimit = 0;               // edits: maximum length, 0 = platform default
    BOOL bModified = FALSE;
    int nMin = 0, nMax = 100, nPos = 0;   // sliders, spins, progress bars
    int nPage = 0, nLine = 1, nTicFreq = 1, nStep = 10;
    HWND hBuddy = nullptr;
    UINT nDefID = IDOK;           // dialogs: default push button
    HWND hMdiActive = nullptr;    // MDI clients: active child frame
    std::unique_ptr<UiControlData> ext;

    // Drawing surface (a GDI bitmap of the client size, made on first use).
    HBITMAP hSurface = nullptr;

    UINT Kind() const;  // BS_TYPEMASK of a button's style
};

namespace ui {

// Handle table.
UiWindow* Find(HWND hWnd);            // NULL for unknown or destroyed handles
UiWindow& Require(HWND hWnd);          // caller has checked the handle
HWND NewHandle();
void Register(std::unique_ptr<UiWindow> w);
void Unregister(HWND hWnd);
std::vector<HWND> AllWindows();        // creation order

// Classes.
const UiWindowClass* FindClass(LPCTSTR lpszClassName);
const UiWindowClass* RegisterClass(const UiWindowClass& cls);

// Message plumbing.
LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT DefProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
// Sends WM_COMMAND(id, code, hwnd) to the control's parent.
void NotifyParent(UiWindow& w, UINT nCode);
// Sends WM_NOTIFY with the given header (filled with the control's handle and id).
LRESULT NotifyParent(UiWindow& w, NMHDR* pHdr, int nCode);

// Geometry.
CRect ClientRect(const UiWindow& w);       // (0, 0, width, height)
CPoint ClientOriginOnScreen(const UiWindow& w);
CRect NonClientInsets(DWORD style, DWORD exStyle);

// Painting helpers.
void ReleaseSurface(UiWindow& w);
void EraseBackground(UiWindow& w, HDC hdc);
HDC BeginPaintDC(UiWindow& w, PAINTSTRUCT& ps);
void EndPaintDC(PAINTSTRUCT& ps);  // frees the DC even when the window is gone
void RegisterBuiltinClasses();
void AddUpdate(UiWindow& w, const RECT* pRect, BOOL bErase);
void ClearUpdate(UiWindow& w);
BOOL IsVisible(const UiWindow& w);   // visible itself and every ancestor

// Text helpers.
LRESULT CopyText(const std::string& s, WPARAM cch, LPARAM buffer);
BOOL EqualNoCase(const std::string& a, const std::string& b);
BOOL PrefixNoCase(const std::string& prefix, const std::string& s);

// Focus tracking used by the driver and the dialog manager.
HWND FocusHandle();

// Destroys the window, its children and their timers; sends WM_DESTROY/WM_NCDESTROY.
BOOL Destroy(HWND hWnd);

// Reports a failure the user can act on (kept by the driver, printed on stderr).
void Error(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

void ParentNotify(HWND hChild, UINT event, LPARAM lParam);
void SetFocusHandle(HWND hNew);
HWND ActiveHandle();
void SetActiveHandle(HWND hNew);
HWND CaptureHandle();
HWND SetCaptureHandle(HWND hNew);

// Queue and timers.
BOOL Post(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
size_t PostedCount();
BOOL Peek(MSG* pMsg, HWND hFilter, UINT lo, UINT hi, UINT flags);
UINT_PTR AddTimer(HWND hWnd, UINT_PTR id, UINT nElapse, TIMERPROC pfn);
BOOL RemoveTimer(HWND hWnd, UINT_PTR id);
// Every timer's next tick one period from now (the clock it counted on was replaced).
void RestartTimers();

// TRUE when i is the index of one of the window's items (combo and list boxes).
inline BOOL ItemIndexValid(const UiWindow& w, WPARAM i) { return static_cast<intptr_t>(i) >= 0 && i < w.items.size(); }

// Item lists of combo and list boxes: insert (sorted when bSorted; nIndex -1 appends) and
// find (case-insensitive prefix, or whole text when bExact; search starts after nStart and wraps).
int ListInsert(UiWindow& w, int nIndex, const char* text, BOOL bSorted);
int ListFind(const UiWindow& w, int nStart, const char* text, BOOL bExact);
// Item lists of combo boxes, list boxes and tabs: removes item i, the selection moving with the
// items after it (none when the selected item goes); FALSE when there is no item i.
BOOL ListErase(UiWindow& w, WPARAM i);
// Copies item i's text and terminator into buf; its length, or -1 without item i or buf.
int ListGetText(const UiWindow& w, WPARAM i, char* buf);

// Control behaviour by class (defined with each control).
BOOL ButtonProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL StaticProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL EditProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL ComboProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL ListBoxProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL ListViewProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL TreeViewProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL TrackBarProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL UpDownProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL TabProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL ProgressProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL ScrollBarProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);
BOOL MdiClientProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& lResult);

}  // namespace ui

// Flags the platform adds to WINDOWPOS when the client size or position did not change.
#define UI_SWP_NOCLIENTSIZE 0x0800
#define UI_SWP_NOCLIENTMOVE 0x1000

// Hands a message to the object attached to a window (through its WindowProc), keeping the
// current-message stack that Default() reads.
LRESULT UiDispatchToObject(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
void UiPostNcDestroy(CWnd* pWnd);
