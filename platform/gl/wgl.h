// The wgl binding of OpenGL to device contexts, with the pixel-format calls and the thread's
// last-error code that go with it.
//
// A rendering context is made for a memory DC that has a 24-bit (or 32-bit) DIB section
// selected: set a pixel format with PFD_DRAW_TO_BITMAP | PFD_SUPPORT_OPENGL, create the context,
// make it current, draw with GL, and release it with wglMakeCurrent(hdc, nullptr). The DIB's
// pixels are loaded into the context when it becomes current and the rendered picture is copied
// back into the DIB (rows bottom-up, B, G, R) when it is released, deleted while current, or
// replaced by another context on the thread. Failures set the thread's last error;
// FormatMessage gives its text.
#pragma once

#include <cstdarg>

#include "platform/afx/afxtypes.h"

struct PIXELFORMATDESCRIPTOR {
    WORD nSize;  // sizeof(PIXELFORMATDESCRIPTOR), 40
    WORD nVersion;  // 1
    DWORD dwFlags;  // PFD_ flags
    BYTE iPixelType;  // PFD_TYPE_RGBA or PFD_TYPE_COLORINDEX
    BYTE cColorBits;
    BYTE cRedBits;
    BYTE cRedShift;
    BYTE cGreenBits;
    BYTE cGreenShift;
    BYTE cBlueBits;
    BYTE cBlueShift;
    BYTE cAlphaBits;
    BYTE cAlphaShift;
    BYTE cAccumBits;
    BYTE cAccumRedBits;
    BYTE cAccumGreenBits;
    BYTE cAccumBlueBits;
    BYTE cAccumAlphaBits;
    BYTE cDepthBits;
    BYTE cStencilBits;
    BYTE cAuxBuffers;
    BYTE iLayerType;  // PFD_MAIN_PLANE
    BYTE bReserved;
    DWORD dwLayerMask;
    DWORD dwVisibleMask;
    DWORD dwDamageMask;
};
typedef PIXELFORMATDESCRIPTOR* LPPIXELFORMATDESCRIPTOR;

#define PFD_DOUBLEBUFFER 0x00000001
#define PFD_STEREO 0x00000002
#define PFD_DRAW_TO_WINDOW 0x00000004
#define PFD_DRAW_TO_BITMAP 0x00000008
#define PFD_SUPPORT_GDI 0x00000010
#define PFD_SUPPORT_OPENGL 0x00000020
#define PFD_GENERIC_FORMAT 0x00000040
#define PFD_TYPE_RGBA 0
#define PFD_TYPE_COLORINDEX 1
#define PFD_MAIN_PLANE 0

// Thread error codes.
#define ERROR_SUCCESS 0L
#define NO_ERROR 0L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_BUSY 170L
#define ERROR_INVALID_PIXEL_FORMAT 2000L

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define LANG_NEUTRAL 0x00
#define SUBLANG_DEFAULT 0x01
#define MAKELANGID(p, s) ((static_cast<WORD>(s) << 10) | static_cast<WORD>(p))

typedef void* HLOCAL;

// Pixel formats: one format (index 1) serves every request that OSMesa can render:
// RGBA, single-buffered, drawing to a bitmap, up to 32 depth bits.
int ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd);
BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* ppfd);

HGLRC wglCreateContext(HDC hdc);
BOOL wglDeleteContext(HGLRC hglrc);
BOOL wglMakeCurrent(HDC hdc, HGLRC hglrc);
HGLRC wglGetCurrentContext();
HDC wglGetCurrentDC();
// Builds `count` display lists from listBase, list i drawing character first + i of the DC's
// selected font as a glBitmap at the current raster position and advancing it.
BOOL wglUseFontBitmapsA(HDC hdc, DWORD first, DWORD count, DWORD listBase);
#define wglUseFontBitmaps wglUseFontBitmapsA

DWORD GetLastError();
void SetLastError(DWORD code);
// Text of a system error code (FORMAT_MESSAGE_FROM_SYSTEM) or of a format string; with
// FORMAT_MESSAGE_ALLOCATE_BUFFER, `buffer` is really a char** receiving a block for LocalFree.
DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer, DWORD size,
                    va_list* args);
#define FormatMessageA FormatMessage
HLOCAL LocalFree(HLOCAL mem);
