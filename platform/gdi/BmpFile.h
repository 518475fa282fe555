// Writing and reading 24-bit BMP files: BITMAPFILEHEADER + BITMAPINFOHEADER, rows bottom-up,
// padded to 4 bytes, 96 dpi recorded as 3780 pixels per metre.
//
// WriteBmp24 saves a bitmap (plain, monochrome or DIB section) or the bitmap selected into a
// DC; it returns FALSE and prints the reason (path and system error) when the file cannot be
// written. ReadBmp reads uncompressed 24- and 32-bit files back, e.g. to check a written image.
#pragma once

#include <vector>

#include "platform/gdi/CDC.h"

BOOL WriteBmp24(const char* path, HBITMAP bitmap);
BOOL WriteBmp24(const char* path, const CBitmap& bitmap);
BOOL WriteBmp24(const char* path, const CDC* dc);

// Pixels top-down as COLORREF values; FALSE (with a message) for a missing or unsupported file.
BOOL ReadBmp(const char* path, std::vector<COLORREF>& pixels, int& width, int& height);
