// Frames of the video layer: the DIB layout of a stream's samples, their conversion to an
// encoder's pixel format, and the helpers the film writer, the media player and the
// compressor manager share. Internal to platform/video.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/afx/afxtypes.h"
#include "platform/gdi/gdidefs.h"

struct AVFrame;
struct SwsContext;

// A BI_RGB DIB of 8, 16 (RGB555) or 24 bits: bottom-up rows padded to 4 bytes.
struct DibLayout {
    int cx = 0, cy = 0, nBits = 0;
    std::vector<RGBQUAD> palette;  // 256 entries for 8 bits

    size_t Stride() const { return ((static_cast<size_t>(cx) * nBits + 31) / 32) * 4; }
    size_t ImageSize() const { return Stride() * static_cast<size_t>(cy); }
    // FFmpeg pixel format of the rows (AVPixelFormat).
    int PixelFormat() const;
    // Palette as FFmpeg keeps it: 256 native-endian 0xAARRGGBB words, opaque.
    void CopyPalette(uint32_t* out) const;
    // Reads a BITMAPINFOHEADER (with its colour table for 8 bits) of cb bytes; FALSE with why.
    static bool FromFormat(const void* fmt, LONG cb, DibLayout& out, std::string& why);
};

// Turns DIB frames into frames of an encoder's pixel format, padded to the frame's size by
// repeating the last column and row.
class DibConverter {
public:
    DibConverter() = default;
    ~DibConverter();
    DibConverter(const DibConverter&) = delete;
    DibConverter& operator=(const DibConverter&) = delete;
    bool Prepare(const DibLayout& dib, int nPixelFormat);
    bool Convert(const DibLayout& dib, const BYTE* bits, AVFrame* frame);

private:
    SwsContext* m_sws = nullptr;
    std::vector<uint32_t> m_pal;
};

// Size Microsoft Video 1 codes a cx x cy picture at: both rounded up to multiples of 4.
CSize VideoEncodedSize(int cx, int cy);
// The FFmpeg encoder of an installed compressor; FALSE when none is installed with the handler.
bool VideoCompressorEncoder(DWORD fccHandler, std::string& encoder);
// Positions f at the data of the frame chunk ("##db"/"##dc") of `size` bytes written at or
// after offset (skipping index chunks and list headers the writer put between).
bool FindFrameChunk(FILE* f, int64_t offset, size_t size);
