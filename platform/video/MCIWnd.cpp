// The media-player window: a window class whose state is the open film and its playback.
#include "platform/video/MCIWnd.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/afx/ByteOrder.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/UiWindow.h"
#include "platform/ui/uiapi.h"
#include "platform/video/FilmDecoder.h"

namespace {

// What the player knows of the open film and where playback stands.
struct MciPlayer : UiControlData {
    std::string file;
    BOOL bOpen = FALSE;
    LONG nLength = 0;       // frames
    double dFps = 0.0;      // frames per second at normal speed
    int nWidth = 0, nHeight = 0;  // pixels
    int nMode = MCI_MODE_NOT_READY;
    int nDir = 1;           // +1 forward, -1 backward (also the direction a pause resumes in)
    LONG nAnchorPos = 0;    // position when playback last started or changed speed
    ULONGLONG nAnchorTime = 0;  // message-clock milliseconds at that moment
    LONG nSpeed = 1000;     // thousandths of normal speed
    LONG nError = 0;
    std::string strError;
    LONG nBadFrame = -1;    // the last frame that could not be read or shown, reported once
    CFilmDecoder film;      // pictures of the open film
};

MciPlayer* Player(UiWindow& w) { return dynamic_cast<MciPlayer*>(w.ext.get()); }

ULONGLONG Now() { return CUiDriver::Get().Now(); }

LONG Fail(MciPlayer& p, LONG code, const std::string& text) {
    p.nError = code;
    p.strError = text;
    return code;
}

LONG Ok(MciPlayer& p) {
    p.nError = 0;
    p.strError.clear();
    return 0;
}

// Reads the AVI main header ('avih' in the 'hdrl' list) of a file. Returns an empty string on
// success, else why the file is not a film the player can open.
std::string ReadAviHeader(const std::string& path, LONG& frames, double& fps, int& width, int& height) {
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return "the file does not exist or cannot be read";
    unsigned char head[12];
    std::string why;
    if (std::fread(head, 1, 12, f) != 12 || std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "AVI ", 4) != 0) {
        std::fclose(f);
        return "it is not an AVI file (no RIFF 'AVI ' header)";
    }
    // Walk the top-level chunks to the header list, then the header list to 'avih'.
    bool inHdrl = false;
    for (int guard = 0; guard < 4096; ++guard) {
        unsigned char ck[8];
        if (std::fread(ck, 1, 8, f) != 8) break;
        const uint32_t size = byteorder::Le32(ck + 4);
        if (std::memcmp(ck, "LIST", 4) == 0) {
            unsigned char type[4];
            if (std::fread(type, 1, 4, f) != 4) break;
            if (std::memcmp(type, "hdrl", 4) == 0) {
                inHdrl = true;
                continue;  // descend into the list
            }
            if (size < 4 || std::fseek(f, static_cast<long>(size - 4 + (size & 1)), SEEK_CUR) != 0) break;
            continue;
        }
        if (inHdrl && std::memcmp(ck, "avih", 4) == 0) {
            unsigned char h[40];
            if (size < 40 || std::fread(h, 1, 40, f) != 40) break;
            std::fclose(f);
            const uint32_t usPerFrame = byteorder::Le32(h + 0);
            const uint32_t total = byteorder::Le32(h + 16);
            if (usPerFrame == 0) return "its header gives no frame rate";
            if (total > 0x7FFFFFFFu) return "its header gives an impossible frame count";
            frames = static_cast<LONG>(total);
            fps = 1.0e6 / static_cast<double>(usPerFrame);
            width = static_cast<int>(std::min<uint32_t>(byteorder::Le32(h + 32), 16384));
            height = static_cast<int>(std::min<uint32_t>(byteorder::Le32(h + 36), 16384));
            return std::string();
        }
        if (std::fseek(f, static_cast<long>(size + (size & 1)), SEEK_CUR) != 0) break;
    }
    std::fclose(f);
    return "it has no AVI main header ('avih')";
}

// Position now; a film that ran past its end (or start, backward) stops there.
LONG CurrentPos(MciPlayer& p) {
    if (!p.bOpen) return 0;
    if (p.nMode != MCI_MODE_PLAY) return p.nAnchorPos;
    const double elapsed = static_cast<double>(Now() - p.nAnchorTime);  // ms
    const double frames = std::floor(elapsed * p.dFps * static_cast<double>(p.nSpeed) / 1.0e6);
    double pos = static_cast<double>(p.nAnchorPos) + p.nDir * frames;
    // A film stops at the end it runs toward, not at the one it started from.
    if (p.nDir > 0 && pos >= p.nLength) {
        pos = p.nLength;
        p.nMode = MCI_MODE_STOP;
    } else if (p.nDir < 0 && pos <= 0) {
        pos = 0;
        p.nMode = MCI_MODE_STOP;
    }
    if (p.nMode == MCI_MODE_STOP) p.nAnchorPos = static_cast<LONG>(pos);
    return static_cast<LONG>(pos);
}

// Freezes the position where it is now and restarts the clock from there.
void Reanchor(MciPlayer& p) {
    p.nAnchorPos = CurrentPos(p);
    p.nAnchorTime = Now();
}

void CloseFilm(MciPlayer& p) {
    p.bOpen = FALSE;
    p.file.clear();
    p.nLength = 0;
    p.dFps = 0.0;
    p.nWidth = p.nHeight = 0;
    p.nMode = MCI_MODE_NOT_READY;
    p.nAnchorPos = 0;
    p.nDir = 1;
    p.nBadFrame = -1;
    p.film.Close();
}

// A frame that cannot be read or shown stops the film on it: its error stays for
// MCIWndGetError, and the window layer hears of it once per frame.
void FrameFailed(MciPlayer& p, LONG pos, const char* what) {
    if (p.nMode == MCI_MODE_PLAY || p.nMode == MCI_MODE_PAUSE) {
        p.nAnchorPos = pos;
        p.nMode = MCI_MODE_STOP;
    }
    const std::string why = "frame " + std::to_string(pos) + " of \"" + p.file + "\" cannot be " + what;
    Fail(p, MCIERR_INVALID_FILE, why);
    if (p.nBadFrame == pos) return;
    p.nBadFrame = pos;
    ui::Error("The media player stopped: %s%s.", why.c_str(), *what == 'r' ? "; record the animation again" : "");
}

// Draws the picture at the player's position on its own surface and over its parent (the
// view it lies on), so the parent's picture shows the film where the player stands.
void ShowFrame(UiWindow& w, MciPlayer& p, CDC* pOwnDC = nullptr) {
    if (!p.bOpen || !p.film.IsOpen() || p.nLength <= 0) return;
    const LONG pos = std::min<LONG>(CurrentPos(p), p.nLength - 1);
    if (!p.film.Decode(pos)) {
        FrameFailed(p, pos, "read");
        return;
    }
    const int cx = p.film.Width(), cy = p.film.Height();
    BITMAPINFO bmi{};
    bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = -cy;  // rows top-down
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 32;
    bmi.bmiHeader.biCompression = BI_RGB;
    const void* bits = p.film.Pixels().data();
    bool bShown = true;
    if (pOwnDC) {
        bShown = pOwnDC->StretchDIBits(0, 0, cx, cy, 0, 0, cx, cy, bits, &bmi, DIB_RGB_COLORS, SRCCOPY) != 0;
    } else if (::IsWindowVisible(w.hwnd)) {
        CClientDC own(CWnd::FromHandle(w.hwnd));
        bShown = own.StretchDIBits(0, 0, cx, cy, 0, 0, cx, cy, bits, &bmi, DIB_RGB_COLORS, SRCCOPY) != 0;
    }
    if (bShown && w.hParent && ::IsWindowVisible(w.hwnd)) {
        CClientDC over(CWnd::FromHandle(w.hParent));
        bShown = over.StretchDIBits(w.rect.left, w.rect.top, cx, cy, 0, 0, cx, cy, bits, &bmi, DIB_RGB_COLORS,
                                    SRCCOPY) != 0;
    }
    if (!bShown) FrameFailed(p, pos, "shown");
}

LONG OpenFilm(UiWindow& w, MciPlayer& p, LPCTSTR pszFile) {
    CloseFilm(p);
    if (!pszFile || !*pszFile) return Fail(p, MCIERR_FILE_NOT_FOUND, "no file name was given");
    LONG frames = 0;
    double fps = 0.0;
    int cx = 0, cy = 0;
    const std::string why = ReadAviHeader(pszFile, frames, fps, cx, cy);
    if (!why.empty()) {
        ui::Error("The media player cannot open \"%s\": %s. Record the animation again.", pszFile, why.c_str());
        return Fail(p, why.find("exist") != std::string::npos ? MCIERR_FILE_NOT_FOUND : MCIERR_INVALID_FILE,
                    "cannot open \"" + std::string(pszFile) + "\": " + why);
    }
    std::string whyNot;
    if (!p.film.Open(pszFile, whyNot)) {
        ui::Error("The media player cannot show \"%s\": %s. Record the animation again.", pszFile, whyNot.c_str());
        return Fail(p, MCIERR_INVALID_FILE, "cannot decode \"" + std::string(pszFile) + "\": " + whyNot);
    }
    p.bOpen = TRUE;
    p.file = pszFile;
    p.nLength = frames;
    p.dFps = fps;
    p.nWidth = cx;
    p.nHeight = cy;
    p.nMode = MCI_MODE_STOP;
    p.nAnchorPos = 0;
    p.nAnchorTime = Now();
    if (!(w.style & MCIWNDF_NOAUTOSIZEWINDOW) && cx > 0 && cy > 0) {
        const HWND h = w.hwnd;
        const CRect rc = w.rect;
        ::MoveWindow(h, rc.left, rc.top, cx, cy, FALSE);
    }
    return Ok(p);
}

LONG NotOpen(MciPlayer& p) { return Fail(p, MCIERR_DEVICE_NOT_READY, "no film is open in the media player"); }

LONG Play(MciPlayer& p, int nDir) {
    if (!p.bOpen) return NotOpen(p);
    LONG pos = CurrentPos(p);
    // From the far end the film starts again, so playing it once more after it stopped loops it.
    if (nDir > 0 && pos >= p.nLength) pos = 0;
    if (nDir < 0 && pos <= 0) pos = p.nLength;
    p.nAnchorPos = pos;
    p.nAnchorTime = Now();
    p.nDir = nDir;
    p.nMode = p.nLength > 0 ? MCI_MODE_PLAY : MCI_MODE_STOP;
    return Ok(p);
}

const char* ModeName(int mode) {
    switch (mode) {
    case MCI_MODE_STOP: return "stopped";
    case MCI_MODE_PLAY: return "playing";
    case MCI_MODE_PAUSE: return "paused";
    case MCI_MODE_SEEK: return "seeking";
    case MCI_MODE_OPEN: return "open";
    case MCI_MODE_RECORD: return "recording";
    default: return "not ready";
    }
}

BOOL PlayerProc(UiWindow& w, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& r) {
    if (message == WM_CREATE) {
        w.ext = std::make_unique<MciPlayer>();
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
        MciPlayer& p = *Player(w);
        if (cs && cs->lpCreateParams) OpenFilm(w, p, static_cast<LPCTSTR>(cs->lpCreateParams));
        r = 0;
        return TRUE;
    }
    MciPlayer* pp = Player(w);
    if (!pp) return FALSE;
    MciPlayer& p = *pp;
    switch (message) {
    case MCIWNDM_OPEN:
        r = OpenFilm(w, p, reinterpret_cast<LPCTSTR>(lParam));
        return TRUE;
    case MCI_CLOSE:
        CloseFilm(p);
        r = Ok(p);
        return TRUE;
    case MCI_PLAY:
        r = Play(p, 1);
        return TRUE;
    case MCIWNDM_PLAYREVERSE:
        r = Play(p, -1);
        return TRUE;
    case MCI_PAUSE:
        if (!p.bOpen) {
            r = NotOpen(p);
        } else {
            Reanchor(p);
            if (p.nMode == MCI_MODE_PLAY) p.nMode = MCI_MODE_PAUSE;
            r = Ok(p);
            ShowFrame(w, p);
        }
        return TRUE;
    case MCI_RESUME:
        if (!p.bOpen) {
            r = NotOpen(p);
        } else if (p.nMode != MCI_MODE_PAUSE) {
            r = Fail(p, MCIERR_NONAPPLICABLE_FUNCTION, "the film is not paused");
        } else {
            p.nAnchorTime = Now();
            p.nMode = MCI_MODE_PLAY;
            r = Ok(p);
        }
        return TRUE;
    case MCI_STOP:
        if (!p.bOpen) {
            r = NotOpen(p);
        } else {
            Reanchor(p);
            p.nMode = MCI_MODE_STOP;
            r = Ok(p);
            ShowFrame(w, p);
        }
        return TRUE;
    case MCI_SEEK: {
        if (!p.bOpen) {
            r = NotOpen(p);
            return TRUE;
        }
        const LONG target = static_cast<LONG>(lParam);
        LONG pos;
        if (target == MCIWND_START)
            pos = 0;
        else if (target == MCIWND_END)
            pos = p.nLength;
        else if (target < 0 || target > p.nLength) {
            r = Fail(p, MCIERR_OUTOFRANGE, "seek position " + std::to_string(target) + " lies outside the film (0 to " +
                                               std::to_string(p.nLength) + ")");
            return TRUE;
        } else
            pos = target;
        p.nAnchorPos = pos;
        p.nAnchorTime = Now();
        p.nMode = MCI_MODE_STOP;
        r = Ok(p);
        ShowFrame(w, p);
        return TRUE;
    }
    case MCIWNDM_SETSPEED: {
        const LONG speed = static_cast<LONG>(lParam);
        if (speed <= 0 || speed > 100000) {
            r = Fail(p, MCIERR_OUTOFRANGE, "speed " + std::to_string(speed) + " is outside 1 to 100000");
            return TRUE;
        }
        Reanchor(p);
        p.nSpeed = speed;
        r = Ok(p);
        return TRUE;
    }
    case MCIWNDM_GETSPEED:
        r = p.nSpeed;
        return TRUE;
    case MCIWNDM_GETPOSITION:
        r = CurrentPos(p);
        if (p.nMode == MCI_MODE_PLAY) ShowFrame(w, p);  // the picture follows a playing film
        return TRUE;
    case WM_PAINT: {
        CPaintDC dc(CWnd::FromHandle(w.hwnd));
        ShowFrame(w, p, &dc);
        r = 0;
        return TRUE;
    }
    case MCIWNDM_GETSTART:
        r = 0;
        return TRUE;
    case MCIWNDM_GETLENGTH:
    case MCIWNDM_GETEND:
        r = p.bOpen ? p.nLength : 0;
        return TRUE;
    case MCIWNDM_GETMODE:
        CurrentPos(p);  // a film that reached its end has stopped
        ui::CopyText(ModeName(p.nMode), wParam, lParam);
        r = p.nMode;
        return TRUE;
    case MCIWNDM_GETERROR:
        ui::CopyText(p.strError, wParam, lParam);
        r = p.nError;
        return TRUE;
    case MCIWNDM_GETFILENAME:
        ui::CopyText(p.file, wParam, lParam);
        r = p.bOpen ? 0 : MCIERR_DEVICE_NOT_READY;
        return TRUE;
    case MCIWNDM_CAN_PLAY:
        r = p.bOpen;
        return TRUE;
    default:
        return FALSE;
    }
}

const UiWindowClass* PlayerClass() {
    static const UiWindowClass* s_pClass = nullptr;
    if (!s_pClass) {
        ui::FindClass(nullptr);  // the built-in classes first
        s_pClass = ui::RegisterClass({MCIWND_WINDOW_CLASS, PlayerProc, nullptr, CS_DBLCLKS, static_cast<int>(RGB(0, 0, 0))});
    }
    return s_pClass;
}

}  // namespace

HWND MCIWndCreate(HWND hwndParent, HINSTANCE hInstance, DWORD dwStyle, LPCTSTR szFile) {
    PlayerClass();
    if (dwStyle == 0) dwStyle = hwndParent ? (WS_CHILD | WS_BORDER | WS_VISIBLE) : WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    // The window lives on its handle alone, as a player window made by the platform does; the
    // object only serves the creation.
    CWnd creator;
    if (!creator.CreateEx(0, MCIWND_WINDOW_CLASS, szFile ? szFile : "", dwStyle, 0, 0, 0, 0, hwndParent, nullptr,
                          const_cast<char*>(szFile))) {
        ui::Error("MCIWndCreate: the media player window could not be made%s.",
                  (dwStyle & WS_CHILD) && !::IsWindow(hwndParent) ? " (its parent window does not exist)" : "");
        return nullptr;
    }
    return creator.Detach();
}
