// Basic types, macros and geometry records of the class library, as the module spells them.
//
// Sizes follow the original 32-bit platform where stored data or arithmetic depends on them:
// DWORD and LONG are 32 bits here even though `unsigned long` is 64 bits on LP64 Linux.
// Colours are COLORREF words with red in the low byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef uint32_t UINT;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int INT;
typedef float FLOAT;
typedef double DOUBLE;
typedef char CHAR;
typedef char TCHAR;
typedef wchar_t WCHAR;
typedef DWORD COLORREF;
typedef intptr_t LPARAM;
typedef uintptr_t WPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef uintptr_t DWORD_PTR;
// long long, not int64_t (which is long here): archives store long in 32 bits and LONGLONG in 64.
typedef long long LONGLONG;
typedef unsigned long long ULONGLONG;
typedef const char* LPCSTR;
typedef const char* LPCTSTR;
typedef char* LPSTR;
typedef char* LPTSTR;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef COLORREF* LPCOLORREF;

// Opaque iterator of CList and CMap; nullptr ends an iteration.
struct __POSITION {};
typedef __POSITION* POSITION;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#ifndef NULL
#define NULL nullptr
#endif

#define _T(x) x
#define TEXT(x) x
#define AFX_EXT_CLASS
#define AFX_EXT_API
#define AFX_EXT_DATA
#define AFX_API_EXPORT
#define AFXAPI
#define CALLBACK
#define WINAPI
#define PASCAL
#define afx_msg
#define UNUSED_ALWAYS(x) (void)(x)
#define ASSERT(x) ((void)0)
#define VERIFY(x) ((void)(x))
#define ASSERT_VALID(x) ((void)0)
#define TRACE(...) ((void)0)

#define MAX_PATH 260
#define LF_FACESIZE 32

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xff); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xff); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xff); }

#define LOWORD(l) (static_cast<WORD>(static_cast<UINT_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<UINT_PTR>(l) >> 16) & 0xffff))
#define LOBYTE(w) (static_cast<BYTE>(static_cast<UINT_PTR>(w) & 0xff))
#define HIBYTE(w) (static_cast<BYTE>((static_cast<UINT_PTR>(w) >> 8) & 0xff))
#define MAKELONG(a, b) (static_cast<LONG>((static_cast<DWORD>(static_cast<WORD>(a))) | (static_cast<DWORD>(static_cast<WORD>(b)) << 16)))
#define MAKEWPARAM(l, h) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define MAKELPARAM(l, h) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h))))
#define GET_X_LPARAM(lp) (static_cast<int>(static_cast<short>(LOWORD(lp))))
#define GET_Y_LPARAM(lp) (static_cast<int>(static_cast<short>(HIWORD(lp))))

// Handles are opaque pointers to our own objects.
struct HWND__;
typedef HWND__* HWND;
struct HDC__;
typedef HDC__* HDC;
struct HGDIOBJ__;
typedef HGDIOBJ__* HGDIOBJ;
typedef HGDIOBJ HPEN;
typedef HGDIOBJ HBRUSH;
typedef HGDIOBJ HFONT;
typedef HGDIOBJ HBITMAP;
typedef HGDIOBJ HRGN;
struct HMENU__;
typedef HMENU__* HMENU;
struct HINSTANCE__;
typedef HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
struct HICON__;
typedef HICON__* HICON;
typedef HICON HCURSOR;
struct HENHMETAFILE__;
typedef HENHMETAFILE__* HENHMETAFILE;
typedef void* HANDLE;
typedef void* HGLOBAL;
struct HGLRC__;
typedef HGLRC__* HGLRC;

struct POINT {
    LONG x;
    LONG y;
};
typedef POINT* LPPOINT;

struct SIZE {
    LONG cx;
    LONG cy;
};
typedef SIZE* LPSIZE;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

class CSize : public SIZE {
public:
    CSize() { cx = 0; cy = 0; }
    CSize(int x, int y) { cx = x; cy = y; }
    CSize(const SIZE& s) { cx = s.cx; cy = s.cy; }
    bool operator==(const SIZE& s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(const SIZE& s) const { return !(*this == s); }
    CSize operator+(const SIZE& s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(const SIZE& s) const { return CSize(cx - s.cx, cy - s.cy); }
};

class CPoint : public POINT {
public:
    CPoint() { x = 0; y = 0; }
    CPoint(int ix, int iy) { x = ix; y = iy; }
    CPoint(const POINT& p) { x = p.x; y = p.y; }
    explicit CPoint(const SIZE& s) { x = s.cx; y = s.cy; }
    // A packed coordinate pair as in mouse-message lParam words.
    explicit CPoint(DWORD packed) { x = static_cast<short>(packed & 0xffff); y = static_cast<short>(packed >> 16); }
    void Offset(int dx, int dy) { x += dx; y += dy; }
    void Offset(const POINT& p) { x += p.x; y += p.y; }
    bool operator==(const POINT& p) const { return x == p.x && y == p.y; }
    bool operator!=(const POINT& p) const { return !(*this == p); }
    CPoint operator+(const POINT& p) const { return CPoint(x + p.x, y + p.y); }
    CPoint operator-(const POINT& p) const { return CPoint(x - p.x, y - p.y); }
    CPoint operator+(const SIZE& s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(const SIZE& s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
    CPoint& operator+=(const POINT& p) { x += p.x; y += p.y; return *this; }
    CPoint& operator-=(const POINT& p) { x -= p.x; y -= p.y; return *this; }
    CPoint& operator+=(const SIZE& s) { x += s.cx; y += s.cy; return *this; }
};

class CRect : public RECT {
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    CRect(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; }
    CRect(const RECT* r) { left = r->left; top = r->top; right = r->right; bottom = r->bottom; }
    CRect(POINT p, SIZE s) { left = p.x; top = p.y; right = p.x + s.cx; bottom = p.y + s.cy; }
    CRect(POINT tl, POINT br) { left = tl.x; top = tl.y; right = br.x; bottom = br.y; }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(this); }
    CPoint& BottomRight() { return *(reinterpret_cast<CPoint*>(this) + 1); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(this); }
    const CPoint& BottomRight() const { return *(reinterpret_cast<const CPoint*>(this) + 1); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    BOOL IsRectEmpty() const { return left >= right || top >= bottom; }
    BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { left = top = right = bottom = 0; }
    void CopyRect(LPCRECT r) { *static_cast<RECT*>(this) = *r; }
    BOOL EqualRect(LPCRECT r) const { return left == r->left && top == r->top && right == r->right && bottom == r->bottom; }
    void InflateRect(int dx, int dy) { left -= dx; top -= dy; right += dx; bottom += dy; }
    void InflateRect(int l, int t, int r, int b) { left -= l; top -= t; right += r; bottom += b; }
    void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
    void InflateRect(LPCRECT r) { InflateRect(r->left, r->top, r->right, r->bottom); }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
    void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
    void DeflateRect(LPCRECT r) { InflateRect(-r->left, -r->top, -r->right, -r->bottom); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
    void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void NormalizeRect() {
        if (left > right) { LONG t = left; left = right; right = t; }
        if (top > bottom) { LONG t = top; top = bottom; bottom = t; }
    }
    // Intersection; empty result is set to all zeros as the platform does.
    BOOL IntersectRect(LPCRECT a, LPCRECT b) {
        left = a->left > b->left ? a->left : b->left;
        top = a->top > b->top ? a->top : b->top;
        right = a->right < b->right ? a->right : b->right;
        bottom = a->bottom < b->bottom ? a->bottom : b->bottom;
        if (IsRectEmpty()) { SetRectEmpty(); return FALSE; }
        return TRUE;
    }
    BOOL UnionRect(LPCRECT a, LPCRECT b) {
        CRect ra(a), rb(b);
        if (ra.IsRectEmpty()) { *this = rb; return !rb.IsRectEmpty(); }
        if (rb.IsRectEmpty()) { *this = ra; return TRUE; }
        left = a->left < b->left ? a->left : b->left;
        top = a->top < b->top ? a->top : b->top;
        right = a->right > b->right ? a->right : b->right;
        bottom = a->bottom > b->bottom ? a->bottom : b->bottom;
        return TRUE;
    }
    bool operator==(const RECT& r) const { return EqualRect(&r) != 0; }
    bool operator!=(const RECT& r) const { return !EqualRect(&r); }
    CRect& operator=(const RECT& r) { left = r.left; top = r.top; right = r.right; bottom = r.bottom; return *this; }
};

// Font record; heights negative for em size in pixels, positive for cell height.
struct LOGFONT {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;   // tenths of a degree, counter-clockwise
    LONG lfOrientation;  // tenths of a degree
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[LF_FACESIZE];  // UTF-8 bytes, NUL-terminated
};
typedef LOGFONT* LPLOGFONT;
typedef LOGFONT LOGFONTA;

struct TEXTMETRIC {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRIC* LPTEXTMETRIC;

#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_NORMAL 400
#define FW_BOLD 700
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define GB2312_CHARSET 134
#define OUT_DEFAULT_PRECIS 0
#define OUT_STROKE_PRECIS 3
#define OUT_TT_PRECIS 4
#define CLIP_DEFAULT_PRECIS 0
#define CLIP_STROKE_PRECIS 2
#define DEFAULT_QUALITY 0
#define PROOF_QUALITY 2
#define DEFAULT_PITCH 0
#define FF_DONTCARE 0
#define FF_SWISS 0x20
