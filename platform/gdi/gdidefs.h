// Constants, records and free functions of the drawing interface, spelled as the module calls
// them: pen, brush and hatch styles, stock objects, text alignment and DrawText flags, raster
// operations, region modes, device-capability indices, gradient and blend records, the DIB and
// BMP file headers, and the handle-level calls (GetStockObject, DeleteObject, CreateDIBSection,
// GdiFlush, MulDiv ...). The classes CGdiObject and CDC build on these; afxgdi.h includes them all.
#pragma once

#include "platform/afx/afxtypes.h"

// ---- pens --------------------------------------------------------------------------------
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define PS_INSIDEFRAME 6
#define PS_STYLE_MASK 0x0000000F
#define PS_ENDCAP_ROUND 0x00000000
#define PS_ENDCAP_SQUARE 0x00000100
#define PS_ENDCAP_FLAT 0x00000200
#define PS_ENDCAP_MASK 0x00000F00
#define PS_JOIN_ROUND 0x00000000
#define PS_JOIN_BEVEL 0x00001000
#define PS_JOIN_MITER 0x00002000
#define PS_JOIN_MASK 0x0000F000
#define PS_COSMETIC 0x00000000
#define PS_GEOMETRIC 0x00010000

// ---- brushes -----------------------------------------------------------------------------
#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL
#define BS_HATCHED 2
#define BS_PATTERN 3

#define HS_HORIZONTAL 0  // -----
#define HS_VERTICAL 1    // |||||
#define HS_FDIAGONAL 2   // \\\\\ (top-left to bottom-right)
#define HS_BDIAGONAL 3   // ///// (bottom-left to top-right)
#define HS_CROSS 4       // +++++
#define HS_DIAGCROSS 5   // xxxxx

// ---- stock objects -----------------------------------------------------------------------
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define OEM_FIXED_FONT 10
#define ANSI_FIXED_FONT 11
#define ANSI_VAR_FONT 12
#define SYSTEM_FONT 13
#define DEVICE_DEFAULT_FONT 14
#define DEFAULT_PALETTE 15
#define SYSTEM_FIXED_FONT 16
#define DEFAULT_GUI_FONT 17
#define DC_BRUSH 18
#define DC_PEN 19

// ---- object types (GetObjectType, GetCurrentObject) --------------------------------------
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_METADC 4
#define OBJ_PAL 5
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_METAFILE 9
#define OBJ_MEMDC 10
#define OBJ_EXTPEN 11
#define OBJ_ENHMETADC 12
#define OBJ_ENHMETAFILE 13

// ---- background, text alignment, text output ---------------------------------------------
#define TRANSPARENT 1
#define OPAQUE 2

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24
#define TA_RTLREADING 256
#define TA_MASK (TA_BASELINE + TA_CENTER + TA_UPDATECP + TA_RTLREADING)

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_END_ELLIPSIS 0x00008000

// ---- raster operations -------------------------------------------------------------------
#define R2_BLACK 1
#define R2_NOTMERGEPEN 2
#define R2_MASKNOTPEN 3
#define R2_NOTCOPYPEN 4
#define R2_MASKPENNOT 5
#define R2_NOT 6
#define R2_XORPEN 7
#define R2_NOTMASKPEN 8
#define R2_MASKPEN 9
#define R2_NOTXORPEN 10
#define R2_NOP 11
#define R2_MERGENOTPEN 12
#define R2_COPYPEN 13
#define R2_MERGEPENNOT 14
#define R2_MERGEPEN 15
#define R2_WHITE 16

#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// ---- fill modes, stretch modes, mapping ---------------------------------------------------
#define ALTERNATE 1
#define WINDING 2

#define BLACKONWHITE 1
#define WHITEONBLACK 2
#define COLORONCOLOR 3
#define HALFTONE 4
#define STRETCH_DELETESCANS COLORONCOLOR

#define MM_TEXT 1
#define MM_LOMETRIC 2
#define MM_HIMETRIC 3
#define MM_LOENGLISH 4
#define MM_HIENGLISH 5
#define MM_TWIPS 6
#define MM_ISOTROPIC 7
#define MM_ANISOTROPIC 8

// ---- regions -----------------------------------------------------------------------------
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_ERROR ERROR

// ---- device capabilities -----------------------------------------------------------------
#define DRIVERVERSION 0
#define TECHNOLOGY 2
#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMMARKERS 20
#define NUMFONTS 22
#define NUMCOLORS 24
#define PDEVICESIZE 26
#define CURVECAPS 28
#define LINECAPS 30
#define POLYGONALCAPS 32
#define TEXTCAPS 34
#define CLIPCAPS 36
#define RASTERCAPS 38
#define ASPECTX 40
#define ASPECTY 42
#define ASPECTXY 44
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define NUMRESERVED 106
#define COLORRES 108
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define SCALINGFACTORX 114
#define SCALINGFACTORY 115
#define SHADEBLENDCAPS 45

#define DT_PLOTTER 0
#define DT_RASDISPLAY 1
#define DT_RASPRINTER 2
#define DT_METAFILE 5

#define RC_BITBLT 1
#define RC_BITMAP64 8
#define RC_DI_BITMAP 0x0080
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800
#define RC_STRETCHDIB 0x2000
#define RC_PALETTE 0x0100

// ---- colours -----------------------------------------------------------------------------
#define CLR_INVALID 0xFFFFFFFFu
#define GDI_ERROR 0xFFFFFFFFu
#define HGDI_ERROR (reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(-1)))

// ---- records -----------------------------------------------------------------------------
struct LOGPEN {
    UINT lopnStyle;     // PS_ style
    POINT lopnWidth;    // x = width in logical units, y unused
    COLORREF lopnColor;
};
typedef LOGPEN* LPLOGPEN;

struct LOGBRUSH {
    UINT lbStyle;       // BS_ style
    COLORREF lbColor;
    ULONG lbHatch;      // HS_ style for BS_HATCHED
};
typedef LOGBRUSH* LPLOGBRUSH;

struct BITMAP {
    LONG bmType;        // 0
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;  // bytes per scan line, even
    WORD bmPlanes;      // 1
    WORD bmBitsPixel;
    LPVOID bmBits;      // DIB sections only, else nullptr
};
typedef BITMAP* LPBITMAP;

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

#define BI_RGB 0
#define BI_RLE8 1
#define BI_RLE4 2
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

struct BITMAPINFOHEADER {
    DWORD biSize;         // 40
    LONG biWidth;
    LONG biHeight;        // positive: rows bottom-up; negative: top-down
    WORD biPlanes;        // 1
    WORD biBitCount;      // 1, 4, 8, 16 (RGB555), 24 or 32
    DWORD biCompression;  // BI_RGB
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];  // colour table; callers allocate room for up to 256 entries
};
typedef BITMAPINFO* LPBITMAPINFO;

#pragma pack(push, 2)
struct BITMAPFILEHEADER {
    WORD bfType;       // 'BM'
    DWORD bfSize;      // whole file, bytes
    WORD bfReserved1;
    WORD bfReserved2;
    DWORD bfOffBits;   // offset of the pixel rows
};
#pragma pack(pop)

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
};

typedef USHORT COLOR16;
struct TRIVERTEX {
    LONG x;
    LONG y;
    COLOR16 Red;    // 16-bit channels, 0..0xff00
    COLOR16 Green;
    COLOR16 Blue;
    COLOR16 Alpha;
};
typedef TRIVERTEX* PTRIVERTEX;

struct GRADIENT_TRIANGLE {
    ULONG Vertex1;
    ULONG Vertex2;
    ULONG Vertex3;
};
struct GRADIENT_RECT {
    ULONG UpperLeft;
    ULONG LowerRight;
};
#define GRADIENT_FILL_RECT_H 0x00000000
#define GRADIENT_FILL_RECT_V 0x00000001
#define GRADIENT_FILL_TRIANGLE 0x00000002

struct BLENDFUNCTION {
    BYTE BlendOp;              // AC_SRC_OVER
    BYTE BlendFlags;           // 0
    BYTE SourceConstantAlpha;  // 0 transparent .. 255 opaque
    BYTE AlphaFormat;          // 0, or AC_SRC_ALPHA for per-pixel alpha
};
#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01

// ---- handle-level calls ------------------------------------------------------------------
// Numbers: a * b / c rounded half away from zero in 64-bit arithmetic; -1 when c is 0 or the
// result does not fit in an int.
int MulDiv(int a, int b, int c);

HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ h);
int GetObjectType(HGDIOBJ h);
// Copies the object's description (LOGPEN, LOGBRUSH, LOGFONT, BITMAP or DIBSECTION) into buf;
// returns the bytes written, or the size needed when buf is nullptr; 0 for a bad handle.
int GetObject(HGDIOBJ h, int cb, void* buf);

HPEN CreatePen(int style, int width, COLORREF color);
HPEN CreatePenIndirect(const LOGPEN* lp);
HBRUSH CreateSolidBrush(COLORREF color);
HBRUSH CreateHatchBrush(int hatch, COLORREF color);
HBRUSH CreateBrushIndirect(const LOGBRUSH* lb);
HFONT CreateFontIndirect(const LOGFONT* lf);
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitCount, const void* bits);
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
// A DIB section: pixel memory laid out as the header says (rows padded to 4 bytes, bottom-up
// for a positive height), owned by the bitmap, which the caller reads and writes through *bits.
// Supported: BI_RGB with 1, 4, 8, 16 (RGB555), 24 or 32 bits per pixel.
//
// Drawing rule: the bits are the picture. A DC drawing into a selected DIB section reads the
// bits it is about to touch before each call and writes them back before the call returns, so
// the caller may write *bits directly at any time and sees every drawing call's pixels as soon
// as the call returns; GdiFlush() is accepted and has nothing left to do.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** bits, HANDLE section, DWORD offset);
HRGN CreateRectRgn(int left, int top, int right, int bottom);
HRGN CreateRectRgnIndirect(const RECT* r);
HRGN CreateEllipticRgn(int left, int top, int right, int bottom);
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode);
int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode);
BOOL PtInRegion(HRGN h, int x, int y);
int GetRgnBox(HRGN h, RECT* r);
BOOL GdiFlush();

// DC-level calls for code that holds raw handles.
HDC CreateCompatibleDC(HDC hdc);
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h);
HGDIOBJ GetCurrentObject(HDC hdc, UINT type);
int GetDeviceCaps(HDC hdc, int index);
UINT SetDIBColorTable(HDC hdc, UINT start, UINT count, const RGBQUAD* colors);
UINT GetDIBColorTable(HDC hdc, UINT start, UINT count, RGBQUAD* colors);
// The 256-colour palette our display offers 8-bit pictures: the 20 static colours at entries
// 0-9 and 246-255, a 6 x 6 x 6 colour cube (10-225) and a grey ramp (226-245). Returns the
// entries copied (256 when entries is nullptr).
UINT GetSystemPaletteEntries(HDC hdc, UINT start, UINT count, PALETTEENTRY* entries);
int StretchDIBits(HDC hdc, int xDest, int yDest, int cxDest, int cyDest, int xSrc, int ySrc, int cxSrc,
                  int cySrc, const void* bits, const BITMAPINFO* bmi, UINT usage, DWORD rop);
int GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, void* bits, BITMAPINFO* bmi, UINT usage);
int SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi, UINT usage);
