// The media-player window (MCI window): a child window that opens an AVI film and plays it
// forward or backward at a chosen speed, pauses, resumes, stops and seeks.
//
// MCIWndCreate makes the window (class "MCIWndClass") over a parent and opens the named file;
// the window is returned even when the file cannot be opened, as the original did, and
// MCIWndGetError tells why (the failure is also reported through the window layer). The
// MCIWnd* functions send the window's messages, so code that sends the messages itself and
// code that calls the functions see the same player.
//
// The player keeps a state (stopped, playing, paused), a position
// in frames (0 .. length), a direction and a speed in thousandths of normal (1000 normal, 2000
// double). While it plays, its position follows the platform's message clock (CUiDriver: real
// or virtual milliseconds) at the film's frame rate times the speed, and it stops by itself at
// the end (or, backward, at the start). Playing from the end starts again from the start, and
// playing backward from the start starts again from the end, so a film can be looped by
// playing it again whenever it has stopped. Length and frame rate come from the film's AVI
// main header.
//
// The picture at the player's position is decoded exactly (from the key frame before it
// forward, libavcodec) and painted on the player and over its parent at the player's place:
// when the player is painted, when it stops, pauses or seeks, and while it plays each time its
// position is asked. Position n shows frame n; the end position shows the last frame.
//
//   HWND h = MCIWndCreate(view.GetSafeHwnd(), AfxGetInstanceHandle(), 0x5000400E, "/tmp/a.avi");
//   MCIWndSetSpeed(h, 2000);  MCIWndPlay(h);  ...  LONG pos = MCIWndGetPosition(h);
//   MCIWndDestroy(h);
#pragma once

#include "platform/ui/CWnd.h"

// Window styles of the player (combined with WS_* styles).
#define MCIWNDF_NOAUTOSIZEWINDOW 0x0001  // keep the given window size instead of the film's
#define MCIWNDF_NOPLAYBAR 0x0002
#define MCIWNDF_NOAUTOSIZEMOVIE 0x0004
#define MCIWNDF_NOMENU 0x0008
#define MCIWNDF_SHOWNAME 0x0010
#define MCIWNDF_SHOWPOS 0x0020
#define MCIWNDF_SHOWMODE 0x0040
#define MCIWNDF_NOTIFYMODE 0x0100
#define MCIWNDF_NOERRORDLG 0x4000

#define MCIWND_WINDOW_CLASS "MCIWndClass"

// Seek targets.
#define MCIWND_START (-1)
#define MCIWND_END (-2)

// Device commands.
#define MCI_OPEN 0x0803
#define MCI_CLOSE 0x0804
#define MCI_PLAY 0x0806
#define MCI_SEEK 0x0807
#define MCI_STOP 0x0808
#define MCI_PAUSE 0x0809
#define MCI_RESUME 0x0855

// Player modes (MCIWndGetMode).
#define MCI_MODE_NOT_READY 524
#define MCI_MODE_STOP 525
#define MCI_MODE_PLAY 526
#define MCI_MODE_RECORD 527
#define MCI_MODE_SEEK 528
#define MCI_MODE_PAUSE 529
#define MCI_MODE_OPEN 530

// Window messages of the player.
#define MCIWNDM_GETPOSITION (WM_USER + 102)
#define MCIWNDM_GETSTART (WM_USER + 103)
#define MCIWNDM_GETLENGTH (WM_USER + 104)
#define MCIWNDM_GETEND (WM_USER + 105)
#define MCIWNDM_GETMODE (WM_USER + 106)     // wParam buffer size, lParam char buffer (may be 0)
#define MCIWNDM_SETSPEED (WM_USER + 112)    // lParam thousandths of normal speed
#define MCIWNDM_GETSPEED (WM_USER + 113)
#define MCIWNDM_GETFILENAME (WM_USER + 124)  // wParam buffer size, lParam char buffer
#define MCIWNDM_GETERROR (WM_USER + 128)    // wParam buffer size, lParam char buffer (may be 0)
#define MCIWNDM_PLAYREVERSE (WM_USER + 139)
#define MCIWNDM_CAN_PLAY (WM_USER + 144)
#define MCIWNDM_OPEN (WM_USER + 153)        // lParam file name

// Error codes (0 = no error).
#define MCIERR_BASE 256
#define MCIERR_UNRECOGNIZED_COMMAND (MCIERR_BASE + 5)
#define MCIERR_FILE_NOT_FOUND (MCIERR_BASE + 19)
#define MCIERR_DEVICE_NOT_READY (MCIERR_BASE + 20)
#define MCIERR_OUTOFRANGE (MCIERR_BASE + 26)
#define MCIERR_INVALID_FILE (MCIERR_BASE + 40)
#define MCIERR_NONAPPLICABLE_FUNCTION (MCIERR_BASE + 46)

// Makes a player window over hwndParent (a child when WS_CHILD is in dwStyle or dwStyle is 0
// with a parent) and opens szFile when it is given. NULL when the window cannot be made (for
// example a child without an existing parent); failures are reported.
HWND MCIWndCreate(HWND hwndParent, HINSTANCE hInstance, DWORD dwStyle, LPCTSTR szFile);

inline LONG MCIWndSM(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<LONG>(::SendMessage(hwnd, message, wParam, lParam));
}

// Commands answer 0 on success, else an MCIERR_* code.
inline LONG MCIWndOpen(HWND hwnd, LPCTSTR szFile, UINT /*flags*/ = 0) {
    return MCIWndSM(hwnd, MCIWNDM_OPEN, 0, reinterpret_cast<LPARAM>(szFile));
}
inline LONG MCIWndClose(HWND hwnd) { return MCIWndSM(hwnd, MCI_CLOSE, 0, 0); }
inline LONG MCIWndPlay(HWND hwnd) { return MCIWndSM(hwnd, MCI_PLAY, 0, 0); }
inline LONG MCIWndPlayReverse(HWND hwnd) { return MCIWndSM(hwnd, MCIWNDM_PLAYREVERSE, 0, 0); }
inline LONG MCIWndStop(HWND hwnd) { return MCIWndSM(hwnd, MCI_STOP, 0, 0); }
inline LONG MCIWndPause(HWND hwnd) { return MCIWndSM(hwnd, MCI_PAUSE, 0, 0); }
inline LONG MCIWndResume(HWND hwnd) { return MCIWndSM(hwnd, MCI_RESUME, 0, 0); }
// Seeking stops playback. lPos is a frame, MCIWND_START or MCIWND_END.
inline LONG MCIWndSeek(HWND hwnd, LONG lPos) { return MCIWndSM(hwnd, MCI_SEEK, 0, static_cast<LPARAM>(lPos)); }
inline LONG MCIWndHome(HWND hwnd) { return MCIWndSeek(hwnd, MCIWND_START); }
inline LONG MCIWndEnd(HWND hwnd) { return MCIWndSeek(hwnd, MCIWND_END); }
inline LONG MCIWndSetSpeed(HWND hwnd, int iSpeed) { return MCIWndSM(hwnd, MCIWNDM_SETSPEED, 0, static_cast<LPARAM>(iSpeed)); }
inline LONG MCIWndGetSpeed(HWND hwnd) { return MCIWndSM(hwnd, MCIWNDM_GETSPEED, 0, 0); }
// Frames; 0 when no film is open.
inline LONG MCIWndGetPosition(HWND hwnd) { return MCIWndSM(hwnd, MCIWNDM_GETPOSITION, 0, 0); }
inline LONG MCIWndGetStart(HWND hwnd) { return MCIWndSM(hwnd, MCIWNDM_GETSTART, 0, 0); }
inline LONG MCIWndGetLength(HWND hwnd) { return MCIWndSM(hwnd, MCIWNDM_GETLENGTH, 0, 0); }
inline LONG MCIWndGetEnd(HWND hwnd) { return MCIWndSM(hwnd, MCIWNDM_GETEND, 0, 0); }
// MCI_MODE_*; the mode's name ("stopped", "playing", "paused", "not ready") goes to lp.
inline LONG MCIWndGetMode(HWND hwnd, LPTSTR lp, UINT len) {
    return MCIWndSM(hwnd, MCIWNDM_GETMODE, static_cast<WPARAM>(len), reinterpret_cast<LPARAM>(lp));
}
inline LONG MCIWndGetError(HWND hwnd, LPTSTR lp, UINT len) {
    return MCIWndSM(hwnd, MCIWNDM_GETERROR, static_cast<WPARAM>(len), reinterpret_cast<LPARAM>(lp));
}
inline BOOL MCIWndCanPlay(HWND hwnd) { return MCIWndSM(hwnd, MCIWNDM_CAN_PLAY, 0, 0) != 0; }
inline LONG MCIWndGetFileName(HWND hwnd, LPTSTR lp, UINT len) {
    return MCIWndSM(hwnd, MCIWNDM_GETFILENAME, static_cast<WPARAM>(len), reinterpret_cast<LPARAM>(lp));
}
// Closes the window (WM_CLOSE), which closes the film.
inline void MCIWndDestroy(HWND hwnd) { ::SendMessage(hwnd, WM_CLOSE, 0, 0); }
