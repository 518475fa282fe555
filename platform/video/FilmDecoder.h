// Reads the pictures of a film: the frame at any position, decoded exactly (from the key frame
// before it forward), as 32-bit top-down BGRA rows of the film's size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/afx/afxtypes.h"

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;
struct AVFrame;
struct SwsContext;

class CFilmDecoder {
public:
    CFilmDecoder() = default;
    ~CFilmDecoder();
    CFilmDecoder(const CFilmDecoder&) = delete;
    CFilmDecoder& operator=(const CFilmDecoder&) = delete;

    // FALSE with why when the file is not a film with a decodable video stream.
    bool Open(const std::string& path, std::string& why);
    void Close();
    bool IsOpen() const { return m_dec != nullptr; }
    // Decodes frame `index` (0-based) into Pixels(); FALSE past the film's end or on a decoding error.
    bool Decode(LONG index);
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }
    LONG DecodedIndex() const { return m_nCached; }
    const std::vector<uint32_t>& Pixels() const { return m_bgra; }

private:
    bool Receive(int64_t target, bool& done);

    AVFormatContext* m_fmt = nullptr;
    AVCodecContext* m_dec = nullptr;
    AVPacket* m_pkt = nullptr;
    AVFrame* m_frame = nullptr;
    SwsContext* m_sws = nullptr;
    int m_nStream = -1;
    int m_cx = 0, m_cy = 0;
    int64_t m_nFrameTicks = 1;  // stream time-base ticks per frame
    LONG m_nCached = -1;        // frame in m_bgra, -1 none
    std::vector<uint32_t> m_palette;  // colour table of an 8-bit film, from its stream format
    std::vector<uint32_t> m_bgra;
};
