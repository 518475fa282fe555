// DIB frame layouts and their conversion for the encoders.
#include "platform/video/VideoFrames.h"

#include <cstring>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include "platform/afx/ByteOrder.h"

namespace {
constexpr int kMaxSide = 16384;  // larger pictures are not films this layer makes
}  // namespace

int DibLayout::PixelFormat() const {
    switch (nBits) {
    case 8: return AV_PIX_FMT_PAL8;
    case 16: return AV_PIX_FMT_RGB555LE;
    default: return AV_PIX_FMT_BGR24;
    }
}

void DibLayout::CopyPalette(uint32_t* out) const {
    for (size_t i = 0; i < 256; ++i) {
        const RGBQUAD q = i < palette.size() ? palette[i] : RGBQUAD{0, 0, 0, 0};
        out[i] = 0xff000000u | (static_cast<uint32_t>(q.rgbRed) << 16) | (static_cast<uint32_t>(q.rgbGreen) << 8) | q.rgbBlue;
    }
}

bool DibLayout::FromFormat(const void* fmt, LONG cb, DibLayout& out, std::string& why) {
    if (cb < static_cast<LONG>(sizeof(BITMAPINFOHEADER))) {
        why = "the format is shorter than a BITMAPINFOHEADER (40 bytes)";
        return false;
    }
    BITMAPINFOHEADER h;
    std::memcpy(&h, fmt, sizeof(h));
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > static_cast<DWORD>(cb)) {
        why = "its header size " + std::to_string(h.biSize) + " does not fit the format";
        return false;
    }
    if (h.biCompression != BI_RGB || h.biPlanes != 1) {
        why = "only BI_RGB pictures of one plane are written";
        return false;
    }
    if (h.biBitCount != 8 && h.biBitCount != 16 && h.biBitCount != 24) {
        why = std::to_string(h.biBitCount) + " bits per pixel (8, 16 or 24 are written)";
        return false;
    }
    if (h.biWidth <= 0 || h.biHeight <= 0 || h.biWidth > kMaxSide || h.biHeight > kMaxSide) {
        why = "a picture of " + std::to_string(h.biWidth) + " x " + std::to_string(h.biHeight) +
              " (bottom-up, 1 to 16384 pixels each way)";
        return false;
    }
    out = DibLayout{};
    out.cx = h.biWidth;
    out.cy = h.biHeight;
    out.nBits = h.biBitCount;
    if (out.nBits == 8) {
        const DWORD used = h.biClrUsed ? h.biClrUsed : 256;
        if (used > 256 || static_cast<size_t>(cb) < h.biSize + 4 * static_cast<size_t>(used)) {
            why = "the colour table of " + std::to_string(used) + " entries does not fit the format";
            return false;
        }
        out.palette.assign(256, RGBQUAD{0, 0, 0, 0});
        std::memcpy(out.palette.data(), static_cast<const BYTE*>(fmt) + h.biSize, 4 * static_cast<size_t>(used));
    }
    return true;
}

DibConverter::~DibConverter() { sws_freeContext(m_sws); }

bool DibConverter::Prepare(const DibLayout& dib, int nPixelFormat) {
    sws_freeContext(m_sws);
    m_sws = sws_getContext(dib.cx, dib.cy, static_cast<AVPixelFormat>(dib.PixelFormat()), dib.cx, dib.cy,
                           static_cast<AVPixelFormat>(nPixelFormat), SWS_POINT, nullptr, nullptr, nullptr);
    m_pal.assign(256, 0);
    if (dib.nBits == 8) dib.CopyPalette(m_pal.data());
    return m_sws != nullptr;
}

bool DibConverter::Convert(const DibLayout& dib, const BYTE* bits, AVFrame* frame) {
    if (!m_sws || !frame || frame->width < dib.cx || frame->height < dib.cy) return false;
    // DIB rows run bottom-up: start at the last row and step back.
    const int stride = static_cast<int>(dib.Stride());
    const uint8_t* src[4] = {bits + static_cast<size_t>(stride) * (dib.cy - 1), nullptr, nullptr, nullptr};
    int srcStride[4] = {-stride, 0, 0, 0};
    if (dib.nBits == 8) {
        src[1] = reinterpret_cast<const uint8_t*>(m_pal.data());
        srcStride[1] = 0;
    }
    if (sws_scale(m_sws, src, srcStride, 0, dib.cy, frame->data, frame->linesize) != dib.cy) return false;
    // Pad by repeating the last column and row (one plane: the encoders take packed RGB).
    const int bpp = frame->format == AV_PIX_FMT_BGR24 ? 3 : (frame->format == AV_PIX_FMT_BGRA ? 4 : 2);
    for (int y = 0; y < dib.cy; ++y) {
        uint8_t* row = frame->data[0] + static_cast<size_t>(frame->linesize[0]) * y;
        for (int x = dib.cx; x < frame->width; ++x) std::memcpy(row + x * bpp, row + (dib.cx - 1) * bpp, bpp);
    }
    for (int y = dib.cy; y < frame->height; ++y)
        std::memcpy(frame->data[0] + static_cast<size_t>(frame->linesize[0]) * y,
                    frame->data[0] + static_cast<size_t>(frame->linesize[0]) * (dib.cy - 1),
                    static_cast<size_t>(frame->width) * bpp);
    return true;
}

CSize VideoEncodedSize(int cx, int cy) { return CSize((cx + 3) / 4 * 4, (cy + 3) / 4 * 4); }

bool FindFrameChunk(FILE* f, int64_t offset, size_t size) {
    for (int guard = 0; guard < 64; ++guard) {
        if (fseeko(f, offset, SEEK_SET) != 0) return false;
        unsigned char ck[12];
        if (std::fread(ck, 1, 8, f) != 8) return false;
        const uint32_t n = byteorder::Le32(ck + 4);
        if (ck[2] == 'd' && (ck[3] == 'b' || ck[3] == 'c')) return n == size;
        if (std::memcmp(ck, "RIFF", 4) == 0 || std::memcmp(ck, "LIST", 4) == 0)
            offset += 12;  // into the list
        else
            offset += 8 + n + (n & 1);
    }
    return false;
}
