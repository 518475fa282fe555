// Microsoft Video 1 coder of 16-bit (RGB555) pictures. Internal to platform/video.
//
// A frame is coded in 4 x 4 blocks, the bottom row of blocks first. Each block is skipped (left as
// the previous frame has it), filled with one colour, painted in two colours, or painted in two
// colours per 2 x 2 quarter: whichever costs least in squared error (of the 5-bit components)
// plus a price per byte written, which the quality sets. A block's choice depends on its own
// pixels and on what the previous frame left there only, so rows of blocks are coded on several
// threads and the film is the same whatever their number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The name a compressor gives for this encoder (where others name an FFmpeg encoder).
inline constexpr char kMsvc1EncoderName[] = "msvideo1";

class WorkCrew;

class Msvc1Encoder {
public:
    // Squared error worth one byte of the film at kDefaultQuality (and for a quality out of
    // range); the price falls in step with the quality to none at kBestQuality, where each block
    // is coded as close as the code allows.
    static constexpr int kBytePrice = 24;
    static constexpr long kDefaultQuality = 7500, kBestQuality = 10000;
    // Frames from one key frame to the next when the caller does not say.
    static constexpr int kDefaultKeyEvery = 25;

    // cx and cy: positive multiples of 4 (else std::invalid_argument). nKeyEvery: frames from one
    // key frame to the next (a key frame stands alone); 0 for the default. nQuality: the
    // compressor's quality, 0 to kBestQuality; any other value takes the default price. Throws
    // std::bad_alloc.
    Msvc1Encoder(int cx, int cy, int nKeyEvery, long nQuality = -1);
    ~Msvc1Encoder();

    // Codes a frame of RGB555 pixels (little-endian words), top row first, rows `stride` bytes
    // apart, into out; answers whether it is a key frame.
    bool Encode(const uint8_t* rows, ptrdiff_t stride, std::vector<uint8_t>& out);

private:
    void CodeRow(const uint8_t* rows, ptrdiff_t stride, int blockRow, bool bKey);

    int m_cx, m_cy, m_nKeyEvery;
    int m_nSinceKey;                              // frames since the last key frame; -1 before the first
    long m_nPrice;                                // squared error worth one byte
    struct FreeShown {
        size_t n;
        void operator()(uint16_t* p) const;
    };
    std::unique_ptr<uint16_t[], FreeShown> m_shown;  // what a player shows after the last frame, top row first
    std::vector<std::vector<uint16_t>> m_codes;   // per row of blocks, bottom first: its blocks' words
    std::unique_ptr<WorkCrew> m_crew;             // codes rows with the calling thread; made by the first frame
};
