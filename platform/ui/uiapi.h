// Free functions of the window layer: system metrics, window classes, resource handles,
// message boxes, cursors and dialog-unit conversion.
//
// System metrics are fixed, because there is no screen: a 1920 x 1080 screen at 96 dots per
// inch with the classic window metrics (caption 23, sizing frame 4, dialog frame 3, border 1,
// edge 2, scroll bars 17, menu bar 20, icons 32 and 16 pixels). Dialog units convert with base
// units of 6 x 13 pixels (an 8-point dialog font at 96 dpi): x * 6 / 4, y * 13 / 8.
#pragma once

#include "platform/ui/CWnd.h"

#define CW_USEDEFAULT (static_cast<int>(0x80000000))

// Dialog base units in pixels.
#define UI_DLG_BASE_X 6
#define UI_DLG_BASE_Y 13

int GetSystemMetrics(int nIndex);

// Makes a window class name for the given class style, cursor, background brush and icon; the
// same arguments give the same name. hbrBackground may be a stock brush (WHITE_BRUSH...).
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// Resource handles. The module's resources are compiled in, so every handle names the one
// process; the handles are kept only so that code that switches and restores them works.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);

// Message boxes are answered by CUiDriver and recorded there.
int MessageBox(HWND hWnd, LPCTSTR lpText, LPCTSTR lpCaption, UINT uType);
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = UINT(-1));
void MessageBeep(UINT uType);

// Cursors have nothing to show; the handles are distinct non-null values.
HCURSOR LoadCursor(HINSTANCE hInstance, LPCTSTR lpCursorName);
HCURSOR SetCursor(HCURSOR hCursor);
HICON LoadIcon(HINSTANCE hInstance, LPCTSTR lpIconName);

BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);

// A message number for a name, the same for every caller in the process (0xC000 to 0xFFFF);
// 0 for an empty name or when the range is used up.
UINT RegisterWindowMessage(LPCTSTR lpString);

// Copies a file (the exported AVI after recording); bFailIfExists keeps an existing target.
// FALSE, with a reported error, when the source cannot be read or the target written.
BOOL CopyFile(LPCTSTR lpExistingFileName, LPCTSTR lpNewFileName, BOOL bFailIfExists);
BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle);
