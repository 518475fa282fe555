// Stand-ins for the FFmpeg functions the code calls, forwarding to the libraries loaded on first
// use. The real headers declare every one, and the stand-ins are defined with C linkage too, so
// one that differs from its prototype does not compile. av_inv_q and avio_tell are inline in the
// headers (avio_tell calls avio_seek); AVERROR and the like are macros. The libraries' calls to
// each other's functions of this list bind to the stand-ins as well (the program's libraries come
// first in the global scope) and reach the same entry points through them.

#include "platform/video/FfmpegLibrary.h"

#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <type_traits>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavformat/avio.h>
#include <libavutil/buffer.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/mathematics.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/LoadedLibrary.h"

// X(library, return type, name, (parameters), (arguments)) for each entry point that makes or
// uses what the library made; FREE(...) the same for those that only free it, which do nothing
// before the libraries are loaded (nothing of theirs can exist then) rather than load them.
#define PVX_FFMPEG_ENTRIES(X, FREE)                                                                           \
    X(kAvutil, AVBufferRef*, av_buffer_create,                                                                \
      (uint8_t * data, size_t size, void (*free)(void* opaque, uint8_t* data), void* opaque, int flags),      \
      (data, size, free, opaque, flags))                                                                      \
    FREE(kAvutil, void, av_dict_free, (AVDictionary * *m), (m))                                               \
    X(kAvutil, int, av_dict_set, (AVDictionary * *pm, const char* key, const char* value, int flags),         \
      (pm, key, value, flags))                                                                                \
    X(kAvutil, AVFrame*, av_frame_alloc, (void), ())                                                          \
    FREE(kAvutil, void, av_frame_free, (AVFrame * *frame), (frame))                                           \
    X(kAvutil, int, av_frame_make_writable, (AVFrame * frame), (frame))                                       \
    FREE(kAvutil, void, av_frame_unref, (AVFrame * frame), (frame))                                           \
    FREE(kAvutil, void, av_free, (void* ptr), (ptr))                                                          \
    FREE(kAvutil, void, av_freep, (void* ptr), (ptr))                                                         \
    X(kAvutil, void, av_log_set_level, (int level), (level))                                                  \
    X(kAvutil, void*, av_malloc, (size_t size), (size))                                                       \
    X(kAvutil, int64_t, av_rescale_q, (int64_t a, AVRational bq, AVRational cq), (a, bq, cq))                 \
    X(kAvutil, int, av_strerror, (int errnum, char* errbuf, size_t errbuf_size), (errnum, errbuf, errbuf_size)) \
    FREE(kSwscale, void, sws_freeContext, (struct SwsContext * swsContext), (swsContext))                     \
    X(kSwscale, struct SwsContext*, sws_getCachedContext,                                                     \
      (struct SwsContext * context, int srcW, int srcH, enum AVPixelFormat srcFormat, int dstW, int dstH,     \
       enum AVPixelFormat dstFormat, int flags, SwsFilter* srcFilter, SwsFilter* dstFilter, const double* param), \
      (context, srcW, srcH, srcFormat, dstW, dstH, dstFormat, flags, srcFilter, dstFilter, param))            \
    X(kSwscale, struct SwsContext*, sws_getContext,                                                           \
      (int srcW, int srcH, enum AVPixelFormat srcFormat, int dstW, int dstH, enum AVPixelFormat dstFormat,    \
       int flags, SwsFilter* srcFilter, SwsFilter* dstFilter, const double* param),                           \
      (srcW, srcH, srcFormat, dstW, dstH, dstFormat, flags, srcFilter, dstFilter, param))                     \
    X(kSwscale, int, sws_scale,                                                                               \
      (struct SwsContext * c, const uint8_t* const srcSlice[], const int srcStride[], int srcSliceY,          \
       int srcSliceH, uint8_t* const dst[], const int dstStride[]),                                           \
      (c, srcSlice, srcStride, srcSliceY, srcSliceH, dst, dstStride))                                         \
    X(kAvcodec, AVPacket*, av_packet_alloc, (void), ())                                                       \
    FREE(kAvcodec, void, av_packet_free, (AVPacket * *pkt), (pkt))                                            \
    X(kAvcodec, uint8_t*, av_packet_new_side_data, (AVPacket * pkt, enum AVPacketSideDataType type, size_t size), \
      (pkt, type, size))                                                                                      \
    X(kAvcodec, void, av_packet_rescale_ts, (AVPacket * pkt, AVRational tb_src, AVRational tb_dst),           \
      (pkt, tb_src, tb_dst))                                                                                  \
    FREE(kAvcodec, void, av_packet_unref, (AVPacket * pkt), (pkt))                                            \
    X(kAvcodec, AVCodecContext*, avcodec_alloc_context3, (const AVCodec* codec), (codec))                     \
    X(kAvcodec, const AVCodec*, avcodec_find_decoder, (enum AVCodecID id), (id))                              \
    X(kAvcodec, const AVCodec*, avcodec_find_encoder_by_name, (const char* name), (name))                     \
    X(kAvcodec, void, avcodec_flush_buffers, (AVCodecContext * avctx), (avctx))                               \
    FREE(kAvcodec, void, avcodec_free_context, (AVCodecContext * *avctx), (avctx))                            \
    X(kAvcodec, int, avcodec_open2, (AVCodecContext * avctx, const AVCodec* codec, AVDictionary** options),   \
      (avctx, codec, options))                                                                                \
    X(kAvcodec, int, avcodec_parameters_from_context, (AVCodecParameters * par, const AVCodecContext* codec), \
      (par, codec))                                                                                           \
    X(kAvcodec, int, avcodec_parameters_to_context, (AVCodecContext * codec, const AVCodecParameters* par),   \
      (codec, par))                                                                                           \
    X(kAvcodec, int, avcodec_receive_frame, (AVCodecContext * avctx, AVFrame* frame), (avctx, frame))         \
    X(kAvcodec, int, avcodec_receive_packet, (AVCodecContext * avctx, AVPacket* avpkt), (avctx, avpkt))       \
    X(kAvcodec, int, avcodec_send_frame, (AVCodecContext * avctx, const AVFrame* frame), (avctx, frame))      \
    X(kAvcodec, int, avcodec_send_packet, (AVCodecContext * avctx, const AVPacket* avpkt), (avctx, avpkt))    \
    X(kAvformat, int, av_find_best_stream,                                                                    \
      (AVFormatContext * ic, enum AVMediaType type, int wanted_stream_nb, int related_stream,                 \
       const AVCodec** decoder_ret, int flags),                                                               \
      (ic, type, wanted_stream_nb, related_stream, decoder_ret, flags))                                       \
    X(kAvformat, int, av_read_frame, (AVFormatContext * s, AVPacket* pkt), (s, pkt))                          \
    X(kAvformat, int, av_seek_frame, (AVFormatContext * s, int stream_index, int64_t timestamp, int flags),   \
      (s, stream_index, timestamp, flags))                                                                    \
    X(kAvformat, int, av_write_frame, (AVFormatContext * s, AVPacket* pkt), (s, pkt))                         \
    X(kAvformat, int, av_write_trailer, (AVFormatContext * s), (s))                                           \
    X(kAvformat, int, avformat_alloc_output_context2,                                                         \
      (AVFormatContext * *ctx, const AVOutputFormat* oformat, const char* format_name, const char* filename), \
      (ctx, oformat, format_name, filename))                                                                  \
    FREE(kAvformat, void, avformat_close_input, (AVFormatContext * *s), (s))                                  \
    X(kAvformat, int, avformat_find_stream_info, (AVFormatContext * ic, AVDictionary** options), (ic, options)) \
    FREE(kAvformat, void, avformat_free_context, (AVFormatContext * s), (s))                                  \
    X(kAvformat, AVStream*, avformat_new_stream, (AVFormatContext * s, const AVCodec* c), (s, c))             \
    X(kAvformat, int, avformat_open_input,                                                                    \
      (AVFormatContext * *ps, const char* url, const AVInputFormat* fmt, AVDictionary** options),             \
      (ps, url, fmt, options))                                                                                \
    X(kAvformat, int, avformat_write_header, (AVFormatContext * s, AVDictionary** options), (s, options))     \
    X(kAvformat, AVIOContext*, avio_alloc_context,                                                            \
      (unsigned char* buffer, int buffer_size, int write_flag, void* opaque,                                  \
       int (*read_packet)(void* opaque, uint8_t* buf, int buf_size),                                          \
       int (*write_packet)(void* opaque, uint8_t* buf, int buf_size),                                         \
       int64_t (*seek)(void* opaque, int64_t offset, int whence)),                                            \
      (buffer, buffer_size, write_flag, opaque, read_packet, write_packet, seek))                             \
    FREE(kAvformat, void, avio_context_free, (AVIOContext * *s), (s))                                         \
    X(kAvformat, void, avio_flush, (AVIOContext * s), (s))                                                    \
    X(kAvformat, int64_t, avio_seek, (AVIOContext * s, int64_t offset, int whence), (s, offset, whence))

const FfmpegLibraryNames kFfmpegLibraries = {PVX_AVUTIL_SONAME, PVX_SWSCALE_SONAME, PVX_AVCODEC_SONAME,
                                             PVX_AVFORMAT_SONAME};

namespace {

enum Library { kAvutil, kSwscale, kAvcodec, kAvformat, kLibraries };

struct EntryPoints {
#define PVX_FFMPEG_POINTER(lib, ret, name, params, args) decltype(&::name) name = nullptr;
    PVX_FFMPEG_ENTRIES(PVX_FFMPEG_POINTER, PVX_FFMPEG_POINTER)
#undef PVX_FFMPEG_POINTER
};

struct Libraries {
    EntryPoints fn;     // all null unless every entry point resolved
    std::string error;  // why they are not there, empty when they are
};

// The Debian package of a soname: libavcodec.so.59 is in libavcodec59.
std::string PackageOf(const std::string& soname) {
    const size_t at = soname.find(".so.");
    return at == std::string::npos ? soname : soname.substr(0, at) + soname.substr(at + 4);
}

Libraries Load(const FfmpegLibraryNames& names) {
    Libraries libs;
    const char* const soname[kLibraries] = {names.avutil, names.swscale, names.avcodec, names.avformat};
    void* handle[kLibraries] = {};
    bool ok = true;
    for (int i = 0; ok && i < kLibraries; ++i) ok = (handle[i] = loadedlib::Open(soname[i], RTLD_LAZY | RTLD_LOCAL, "FFmpeg", PackageOf(soname[i]), libs.error)) != nullptr;
#define PVX_FFMPEG_RESOLVE(lib, ret, name, params, args) \
    ok = ok && loadedlib::Resolve(handle[lib], "FFmpeg", soname[lib], #name, libs.fn.name, libs.error);
    PVX_FFMPEG_ENTRIES(PVX_FFMPEG_RESOLVE, PVX_FFMPEG_RESOLVE)
#undef PVX_FFMPEG_RESOLVE
    if (!ok) libs.fn = EntryPoints{};
    return libs;
}

// Set once the process's libraries have been loaded, or have failed to.
std::atomic<bool> g_bAttempted{false};

// The process's libraries, loaded by the first caller.
const Libraries& Process() {
    static const Libraries libs = [] {
        Libraries loaded = Load(kFfmpegLibraries);
        if (!loaded.error.empty()) AfxDiagnostic("video", "%s", loaded.error.c_str());
        g_bAttempted.store(true, std::memory_order_release);
        return loaded;
    }();
    return libs;
}

// What a stand-in answers without the libraries: every number these functions answer is an
// FFmpeg error code when negative (av_rescale_q's is never used without them).
template <class T>
T Unavailable() {
    if constexpr (std::is_integral_v<T>)
        return AVERROR(ENOSYS);
    else
        return T();
}

}  // namespace

BOOL FfmpegLoadLibraries(std::string& why) {
    why = Process().error;
    return why.empty();
}

BOOL FfmpegProbeLibraries(const FfmpegLibraryNames& names, std::string& why) {
    why = Load(names).error;
    return why.empty();
}

#define PVX_FFMPEG_STANDIN(lib, ret, name, params, args) \
    ret name params {                                    \
        const auto fn = Process().fn.name;               \
        return fn ? fn args : Unavailable<ret>();        \
    }
#define PVX_FFMPEG_STANDIN_FREE(lib, ret, name, params, args)                          \
    ret name params {                                                                  \
        if (!g_bAttempted.load(std::memory_order_acquire)) return Unavailable<ret>(); \
        const auto fn = Process().fn.name;                                             \
        return fn ? fn args : Unavailable<ret>();                                      \
    }
extern "C" {
PVX_FFMPEG_ENTRIES(PVX_FFMPEG_STANDIN, PVX_FFMPEG_STANDIN_FREE)
}
#undef PVX_FFMPEG_STANDIN
#undef PVX_FFMPEG_STANDIN_FREE
#undef PVX_FFMPEG_ENTRIES
