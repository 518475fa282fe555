// Exact frame decoding of a film with libavformat and libavcodec.
#include "platform/video/FilmDecoder.h"

#include "platform/video/FfmpegLibrary.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {
// Frames decoded on without seeking when asked for one ahead of the last.
constexpr LONG kDecodeAhead = 16;
}  // namespace

CFilmDecoder::~CFilmDecoder() { Close(); }

void CFilmDecoder::Close() {
    sws_freeContext(m_sws);
    m_sws = nullptr;
    av_frame_free(&m_frame);
    av_packet_free(&m_pkt);
    avcodec_free_context(&m_dec);
    avformat_close_input(&m_fmt);
    m_nStream = -1;
    m_cx = m_cy = 0;
    m_nCached = -1;
    m_bgra.clear();
    m_palette.clear();
}

bool CFilmDecoder::Open(const std::string& path, std::string& why) {
    Close();
    if (!FfmpegLoadLibraries(why)) return false;
    char err[AV_ERROR_MAX_STRING_SIZE] = {};
    int rc = avformat_open_input(&m_fmt, path.c_str(), nullptr, nullptr);
    if (rc < 0 || avformat_find_stream_info(m_fmt, nullptr) < 0) {
        av_strerror(rc, err, sizeof(err));
        why = rc < 0 ? err : "its streams cannot be read";
        Close();
        return false;
    }
    const AVCodec* codec = nullptr;
    m_nStream = av_find_best_stream(m_fmt, AVMEDIA_TYPE_VIDEO, -1, -1, &codec, 0);
    if (m_nStream < 0 || !codec) {
        why = "it has no video stream this platform decodes";
        Close();
        return false;
    }
    AVStream* st = m_fmt->streams[m_nStream];
    m_dec = avcodec_alloc_context3(codec);
    if (!m_dec || avcodec_parameters_to_context(m_dec, st->codecpar) < 0) {
        why = "out of memory";
        Close();
        return false;
    }
    m_dec->thread_count = 1;  // frames come out in order, one per packet
    if ((rc = avcodec_open2(m_dec, codec, nullptr)) < 0) {
        av_strerror(rc, err, sizeof(err));
        why = std::string("its decoder cannot be opened: ") + err;
        Close();
        return false;
    }
    // The reader hands an 8-bit film's colour table to the decoder with the first packet it
    // reads, which probing the streams has already used up: take it from the stream format.
    if (st->codecpar->format == AV_PIX_FMT_PAL8 && st->codecpar->extradata_size >= 1024) {
        m_palette.resize(256);
        const uint8_t* q = st->codecpar->extradata;  // the colour table, then the reader's own marks
        for (int i = 0; i < 256; ++i)
            m_palette[i] = 0xff000000u | (uint32_t(q[4 * i + 2]) << 16) | (uint32_t(q[4 * i + 1]) << 8) | q[4 * i];
    }
    m_cx = m_dec->width;
    m_cy = m_dec->height;
    AVRational rate = st->avg_frame_rate.num > 0 ? st->avg_frame_rate : st->r_frame_rate;
    if (rate.num <= 0 || rate.den <= 0) rate = AVRational{1, 1};
    m_nFrameTicks = av_rescale_q(1, av_inv_q(rate), st->time_base);
    if (m_nFrameTicks <= 0) m_nFrameTicks = 1;
    m_pkt = av_packet_alloc();
    m_frame = av_frame_alloc();
    if (!m_pkt || !m_frame || m_cx <= 0 || m_cy <= 0) {
        why = "its picture size is unknown";
        Close();
        return false;
    }
    return true;
}

// Takes decoded frames; done once the frame at or after target is converted.
bool CFilmDecoder::Receive(int64_t target, bool& done) {
    for (;;) {
        const int rc = avcodec_receive_frame(m_dec, m_frame);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return true;
        if (rc < 0) return false;
        const int64_t ts = m_frame->best_effort_timestamp;
        if (ts != AV_NOPTS_VALUE && ts < target) {
            av_frame_unref(m_frame);
            continue;
        }
        m_sws = sws_getCachedContext(m_sws, m_frame->width, m_frame->height, static_cast<AVPixelFormat>(m_frame->format),
                                     m_cx, m_cy, AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
        if (!m_sws) return false;
        m_bgra.assign(static_cast<size_t>(m_cx) * m_cy, 0);
        uint8_t* dst[4] = {reinterpret_cast<uint8_t*>(m_bgra.data()), nullptr, nullptr, nullptr};
        int dstStride[4] = {m_cx * 4, 0, 0, 0};
        const uint8_t* src[4] = {m_frame->data[0], m_frame->data[1], m_frame->data[2], m_frame->data[3]};
        if (m_frame->format == AV_PIX_FMT_PAL8 && !m_palette.empty()) src[1] = reinterpret_cast<const uint8_t*>(m_palette.data());
        sws_scale(m_sws, src, m_frame->linesize, 0, m_frame->height, dst, dstStride);
        av_frame_unref(m_frame);
        done = true;
        return true;
    }
}

bool CFilmDecoder::Decode(LONG index) {
    if (!m_dec || index < 0) return false;
    if (index == m_nCached) return true;
    AVStream* st = m_fmt->streams[m_nStream];
    const int64_t target = st->start_time != AV_NOPTS_VALUE ? st->start_time + index * m_nFrameTicks : index * m_nFrameTicks;
    // A frame a little ahead of the last one (a playing film) is decoded on from there; any
    // other goes back to the key frame at or before it and forward to it.
    const bool bAhead = m_nCached >= 0 && index > m_nCached && index - m_nCached <= kDecodeAhead;
    if (!bAhead) {
        if (av_seek_frame(m_fmt, m_nStream, target, AVSEEK_FLAG_BACKWARD) < 0) return false;
        avcodec_flush_buffers(m_dec);
    }
    m_nCached = -1;
    bool done = false;
    while (!done) {
        const int rc = av_read_frame(m_fmt, m_pkt);
        if (rc < 0) {
            avcodec_send_packet(m_dec, nullptr);  // drain what the decoder holds
            if (!Receive(target, done)) return false;
            break;
        }
        if (m_pkt->stream_index == m_nStream) {
            const int sent = avcodec_send_packet(m_dec, m_pkt);
            av_packet_unref(m_pkt);
            if (sent < 0 && sent != AVERROR(EAGAIN)) return false;
            if (!Receive(target, done)) return false;
        } else {
            av_packet_unref(m_pkt);
        }
    }
    if (done) m_nCached = index;
    return done;
}
