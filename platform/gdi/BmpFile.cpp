#include "platform/gdi/BmpFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/OutputFiles.h"
#include "platform/gdi/GdiObjects.h"

namespace {

const LONG kPelsPerMetre = 3780;  // 96 dpi

bool WriteAll(std::FILE* f, const void* data, size_t n) {
    return n == 0 || std::fwrite(data, 1, n, f) == n;
}

}  // namespace

BOOL WriteBmp24(const char* path, HBITMAP hbm) {
    auto* bm = static_cast<GdiBitmapObject*>(GdiLookup(hbm, OBJ_BITMAP));
    if (!path || !*path) {
        AfxDiagnostic("gdi", "cannot write a BMP file: no file name given");
        return FALSE;
    }
    if (!bm) {
        AfxDiagnostic("gdi", "cannot write %s: no bitmap to save", path);
        return FALSE;
    }
    const int w = bm->m_nWidth, h = bm->m_nHeight;
    const size_t stride = ((static_cast<size_t>(w) * 24 + 31) / 32) * 4;
    BITMAPINFO bmi{};
    BITMAPINFOHEADER& ih = bmi.bmiHeader;
    ih.biSize = sizeof(BITMAPINFOHEADER);
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biCompression = BI_RGB;
    ih.biSizeImage = static_cast<DWORD>(stride * h);
    ih.biXPelsPerMeter = kPelsPerMetre;
    ih.biYPelsPerMeter = kPelsPerMetre;
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;  // "BM"
    fh.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = static_cast<DWORD>(fh.bfOffBits + stride * h);
    std::FILE* f = OpenOutputStream(path);
    if (!f) {
        AfxDiagnostic("gdi", "cannot create %s: %s", path, std::strerror(errno));
        return FALSE;
    }
    // Bands of rows, bottom first as the file keeps them, through one small buffer: a buffer
    // of the whole picture would cost more to map than to fill.
    const int band = static_cast<int>(std::max<size_t>(1, (size_t{1} << 18) / stride));
    std::vector<BYTE> rows(stride * std::min(band, h));
    bool ok = WriteAll(f, &fh, sizeof fh) && WriteAll(f, &ih, sizeof ih);
    for (int y = 0; ok && y < h; y += band) {
        const int n = std::min(band, h - y);
        if (GetDIBits(nullptr, hbm, static_cast<UINT>(y), static_cast<UINT>(n), rows.data(), &bmi, DIB_RGB_COLORS) != n) {
            AfxDiagnostic("gdi", "cannot write %s: the bitmap's pixels could not be read", path);
            std::fclose(f);
            RemoveOutputFile(path);
            return FALSE;
        }
        ok = WriteAll(f, rows.data(), stride * n);
    }
    const int err = errno;
    if (std::fclose(f) != 0) ok = false;
    if (!ok) {
        AfxDiagnostic("gdi", "writing %s failed: %s", path, std::strerror(err ? err : errno));
        RemoveOutputFile(path);
        return FALSE;
    }
    return TRUE;
}

BOOL WriteBmp24(const char* path, const CBitmap& bitmap) {
    return WriteBmp24(path, bitmap.m_hObject);
}

BOOL WriteBmp24(const char* path, const CDC* dc) {
    CBitmap* bm = dc ? dc->GetCurrentBitmap() : nullptr;
    if (!bm) {
        AfxDiagnostic("gdi", "cannot write %s: the device context has no bitmap", path ? path : "");
        return FALSE;
    }
    return WriteBmp24(path, bm->m_hObject);
}

BOOL ReadBmp(const char* path, std::vector<COLORREF>& pixels, int& width, int& height) {
    std::FILE* f = path ? std::fopen(path, "rb") : nullptr;
    if (!f) {
        AfxDiagnostic("gdi", "cannot open %s: %s", path ? path : "", std::strerror(errno));
        return FALSE;
    }
    BITMAPFILEHEADER fh{};
    BITMAPINFOHEADER ih{};
    bool ok = std::fread(&fh, sizeof fh, 1, f) == 1 && std::fread(&ih, sizeof ih, 1, f) == 1 && fh.bfType == 0x4D42 &&
              ih.biCompression == BI_RGB && (ih.biBitCount == 24 || ih.biBitCount == 32) && ih.biWidth > 0 &&
              ih.biWidth <= 32767 && ih.biHeight != 0 && ih.biHeight <= 32767 && ih.biHeight >= -32767;
    if (ok) {
        width = ih.biWidth;
        height = ih.biHeight < 0 ? -ih.biHeight : ih.biHeight;
        const int bpp = ih.biBitCount / 8;
        const size_t stride = ((static_cast<size_t>(width) * ih.biBitCount + 31) / 32) * 4;
        std::vector<BYTE> rows(stride * height);
        ok = std::fseek(f, static_cast<long>(fh.bfOffBits), SEEK_SET) == 0 &&
             std::fread(rows.data(), 1, rows.size(), f) == rows.size();
        if (ok) {
            pixels.assign(static_cast<size_t>(width) * height, 0);
            for (int y = 0; y < height; ++y) {
                const BYTE* row = &rows[stride * static_cast<size_t>(ih.biHeight > 0 ? height - 1 - y : y)];
                for (int x = 0; x < width; ++x)
                    pixels[static_cast<size_t>(y) * width + x] = RGB(row[bpp * x + 2], row[bpp * x + 1], row[bpp * x]);
            }
        }
    }
    std::fclose(f);
    if (!ok) AfxDiagnostic("gdi", "%s is not an uncompressed 24- or 32-bit BMP file or is truncated", path);
    return ok ? TRUE : FALSE;
}
