// AVI files and streams over libavformat and libavcodec (loaded when the first film is made).
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/OutputFiles.h"
#include "platform/afx/PictureMemory.h"
#include "platform/afx/WorkCrew.h"
#include "platform/video/FfmpegLibrary.h"
#include "platform/video/Msvc1Encoder.h"
#include "platform/video/VideoFrames.h"
#include "platform/video/vfw.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

namespace {

int g_nInitCount = 0;

std::string AvError(int err) {
    char buf[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(err, buf, sizeof(buf));
    return buf;
}

}  // namespace

struct AviStreamObject;

namespace {

// Encodes a compressed stream's frames on a helper thread, one frame at a time, so that the
// caller makes the next frame meanwhile; frames reach the encoder in the order written, so the
// film is the same. A frame the helper has not begun when the caller waits is encoded by the
// caller. What fails there is told on the caller's thread, at its next call.
class EncoderThread {
public:
    explicit EncoderThread(AviStreamObject& s) : m_s(s), m_crew(1) {}
    ~EncoderThread() { Wait(); }
    EncoderThread(const EncoderThread&) = delete;
    EncoderThread& operator=(const EncoderThread&) = delete;
    // Whether the helper thread could be made.
    bool Helps() const { return m_crew.Helpers() > 0; }
    // Waits for the frame in hand; its result, any failure reported here.
    HRESULT Wait();
    // Hands a frame over (the encoder must be idle: Wait first).
    void Post(AVFrame* frame) {
        m_pFrame = frame;
        m_bTaken.store(false);
        m_crew.Start(m_job);
    }

private:
    void EncodeFrame();
    AviStreamObject& m_s;
    AVFrame* m_pFrame = nullptr;         // handed over, not yet waited for
    std::atomic<bool> m_bTaken{true};    // its encoding begun by a thread
    HRESULT m_hr = 0;                    // of the last frame encoded
    std::vector<std::string> m_failure;  // its diagnostics
    const WorkCrew::Job m_job = [this](int) { EncodeFrame(); };
    WorkCrew m_crew;
};

}  // namespace

// One film being written.
struct AviFileObject {
    std::string path;
    AVFormatContext* ctx = nullptr;
    bool bHeader = false;   // avformat_write_header done
    bool bBroken = false;   // a write failed: the film is not finished
    int nRefs = 1;          // the caller's, plus one per stream
    int fd = -1;            // the film, written through it alone
    FILE* pRead = nullptr;  // reads back raw samples
    size_t nRawImage = 0;   // bytes of a raw frame (padded DIB rows); 0 for compressed films
};

// A stream of a file, or a compressor over another stream.
// Its members are of types local to this file. Compiled in a unity batch, the file is
// included into the batch's unit, and GCC takes it for a header and warns of that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsubobject-linkage"
struct AviStreamObject {
    AviFileObject* file = nullptr;     // plain stream: its file (one reference)
    AviStreamObject* target = nullptr; // compressed stream: the stream it writes to (one reference)
    AVStream* st = nullptr;
    AVISTREAMINFO info{};
    DibLayout dib;                     // format of the samples the caller writes
    bool bFormat = false;
    LONG nNext = 0;                    // next sample number
    std::vector<int64_t> offsets;      // plain raw streams: file offset of each sample's chunk
    int nRefs = 1;
    // Compressed streams.
    AVICOMPRESSOPTIONS opts{};
    std::string encoder;
    AVCodecContext* enc = nullptr;     // an FFmpeg encoder, or
    std::unique_ptr<Msvc1Encoder> msvc;  // Microsoft Video 1, coded by our own encoder
    std::vector<uint8_t> packet;       // msvc's last frame
    AVFrame* frame = nullptr;
    AVFrame* spare = nullptr;          // converted into while the encoder has frame
    DibConverter conv;
    void* pReserve = nullptr;          // memory held for the encoder's first frame (see OpenEncoder)
    size_t nReserve = 0;
    std::unique_ptr<EncoderThread> worker;
};
#pragma GCC diagnostic pop

namespace {

// Where an encoder thread keeps its diagnostics for the caller's thread; null elsewhere.
thread_local std::vector<std::string>* t_pDeferred = nullptr;

void VideoDiagnostic(const char* pszFormat, ...) __attribute__((format(printf, 1, 2)));
void VideoDiagnostic(const char* pszFormat, ...) {
    va_list args;
    va_start(args, pszFormat);
    std::string text = AfxFormatText(pszFormat, args);
    va_end(args);
    if (t_pDeferred)
        t_pDeferred->push_back(std::move(text));
    else
        AfxDiagnostic("video", "%s", text.c_str());
}

// Reports a failure as a diagnostic and answers its code.
#define VIDEO_FAIL(hr, ...) (VideoDiagnostic(__VA_ARGS__), static_cast<HRESULT>(hr))

// The file takes the muxer's header once the stream's format is known.
HRESULT EnsureHeader(AviFileObject& f) {
    if (f.bHeader) return AVIERR_OK;
    if (f.bBroken) return AVIERR_FILEWRITE;
    AVDictionary* opts = nullptr;
    av_dict_set(&opts, "flipped_raw_rgb", "1", 0);  // raw DIB rows bottom-up, as the readers expect
    const int err = avformat_write_header(f.ctx, &opts);
    av_dict_free(&opts);
    if (err < 0) {
        f.bBroken = true;
        return VIDEO_FAIL(AVIERR_FILEWRITE, "cannot write the header of the film \"%s\": %s", f.path.c_str(), AvError(err).c_str());
    }
    f.bHeader = true;
    return AVIERR_OK;
}

// Writes one packet (pts in the stream's own 1/rate units) to a plain stream.
HRESULT WritePacket(AviStreamObject& s, AVPacket* pkt) {
    AviFileObject& f = *s.file;
    HRESULT hr = EnsureHeader(f);
    if (hr != AVIERR_OK) return hr;
    pkt->stream_index = s.st->index;
    pkt->duration = 1;
    av_packet_rescale_ts(pkt, AVRational{static_cast<int>(s.info.dwScale), static_cast<int>(s.info.dwRate)},
                         s.st->time_base);
    const int64_t at = avio_tell(f.ctx->pb);
    const int err = av_write_frame(f.ctx, pkt);
    if (err < 0) {
        f.bBroken = true;
        return VIDEO_FAIL(AVIERR_FILEWRITE, "cannot write a frame to \"%s\": %s", f.path.c_str(), AvError(err).c_str());
    }
    avio_flush(f.ctx->pb);
    if (f.ctx->pb->error < 0) {
        f.bBroken = true;
        return VIDEO_FAIL(AVIERR_FILEWRITE, "cannot write a frame to \"%s\": %s", f.path.c_str(),
                          AvError(f.ctx->pb->error).c_str());
    }
    s.offsets.push_back(at);
    return AVIERR_OK;
}

// The writer states a raw film's image size without the row padding its frames carry; the
// format must describe the frames, so the size is put right once the film is complete.
void PatchRawImageSize(int fd, size_t nImage) {
    unsigned char head[16384];
    const ssize_t n = pread(fd, head, sizeof(head), 0);
    for (size_t at = 12; n > 0 && at + 8 + 40 <= static_cast<size_t>(n); ++at) {
        if (std::memcmp(head + at, "strf", 4) != 0) continue;
        const uint32_t v = static_cast<uint32_t>(nImage);
        const unsigned char le[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                     static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        (void)!pwrite(fd, le, 4, static_cast<off_t>(at + 8 + 20));  // biSizeImage
        break;
    }
}

// The muxer's output: the film's own descriptor (see AVIFileOpen).
int WriteFilm(void* opaque, uint8_t* buf, int size) {
    const int fd = *static_cast<int*>(opaque);
    for (int at = 0; at < size;) {
        const ssize_t n = write(fd, buf + at, static_cast<size_t>(size - at));
        if (n < 0 && errno != EINTR) return AVERROR(errno);
        if (n > 0) at += static_cast<int>(n);
    }
    return size;
}

int64_t SeekFilm(void* opaque, int64_t offset, int whence) {
    const int fd = *static_cast<int*>(opaque);
    if (whence == AVSEEK_SIZE) {
        struct stat st {};
        return fstat(fd, &st) == 0 ? static_cast<int64_t>(st.st_size) : AVERROR(errno);
    }
    const off_t at = lseek(fd, static_cast<off_t>(offset), whence & ~AVSEEK_FORCE);
    return at < 0 ? AVERROR(errno) : static_cast<int64_t>(at);
}

void CloseFilmOutput(AVIOContext** pb) {
    if (!*pb) return;
    avio_flush(*pb);
    av_freep(&(*pb)->buffer);
    avio_context_free(pb);
}

void FinishFile(AviFileObject* f) {
    if (f->ctx) {
        // A file whose stream got its format is a film even without frames.
        bool bFormat = f->ctx->nb_streams > 0 && f->ctx->streams[0]->codecpar->codec_id != AV_CODEC_ID_NONE;
        if (!f->bHeader && bFormat) EnsureHeader(*f);
        // A film that lost a frame is left unfinished: no index, so no reader takes it as whole.
        if (f->bHeader && !f->bBroken) {
            int err = av_write_trailer(f->ctx);
            if (err >= 0) {
                avio_flush(f->ctx->pb);
                err = f->ctx->pb->error;
            }
            if (err < 0) (void)VIDEO_FAIL(0, "cannot finish the film \"%s\": %s", f->path.c_str(), AvError(err).c_str());
        }
        CloseFilmOutput(&f->ctx->pb);
        avformat_free_context(f->ctx);
        if (f->bHeader && f->nRawImage) PatchRawImageSize(f->fd, f->nRawImage);
    }
    if (f->fd >= 0) close(f->fd);
    if (f->pRead) std::fclose(f->pRead);
    delete f;
}

void ReleaseFileRef(AviFileObject* f) {
    if (f && --f->nRefs == 0) FinishFile(f);
}

// Gives back the memory held for the encoder's first frame.
void ReleaseReserve(AviStreamObject& c) {
    if (c.pReserve) munmap(c.pReserve, c.nReserve);
    c.pReserve = nullptr;
}

bool Compresses(const AviStreamObject& s) { return s.enc || s.msvc; }

// Sends one frame (or the end, with null) through the encoder and writes what comes out.
HRESULT Encode(AviStreamObject& c, AVFrame* frame) {
    if (c.msvc) {
        if (!frame) return AVIERR_OK;  // nothing held back
        AVPacket* pkt = av_packet_alloc();
        if (!pkt) return VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
        if (c.msvc->Encode(frame->data[0], frame->linesize[0], c.packet)) pkt->flags |= AV_PKT_FLAG_KEY;
        pkt->data = c.packet.data();  // borrowed: written before the next frame is coded
        pkt->size = static_cast<int>(c.packet.size());
        pkt->pts = pkt->dts = frame->pts;
        const HRESULT hr = WritePacket(*c.target, pkt);
        av_packet_free(&pkt);
        return hr;
    }
    ReleaseReserve(c);  // now the encoder's to take
    int err = avcodec_send_frame(c.enc, frame);
    if (err < 0 && err != AVERROR_EOF)
        return VIDEO_FAIL(AVIERR_ERROR, "the %s encoder refused a frame: %s", c.encoder.c_str(), AvError(err).c_str());
    AVPacket* pkt = av_packet_alloc();
    HRESULT hr = AVIERR_OK;
    while (hr == AVIERR_OK) {
        err = avcodec_receive_packet(c.enc, pkt);
        if (err == AVERROR(EAGAIN) || err == AVERROR_EOF) break;
        if (err < 0) {
            hr = VIDEO_FAIL(AVIERR_ERROR, "the %s encoder failed: %s", c.encoder.c_str(), AvError(err).c_str());
            break;
        }
        hr = WritePacket(*c.target, pkt);
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    return hr;
}

HRESULT EncoderThread::Wait() {
    HRESULT hr = AVIERR_OK;
    try {
        m_crew.Finish(m_job);
        hr = m_hr;
    } catch (const std::bad_alloc&) {
        hr = VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
    } catch (const std::exception& e) {
        hr = VIDEO_FAIL(AVIERR_ERROR, "the %s encoder failed: %s", m_s.encoder.c_str(), e.what());
    }
    m_pFrame = nullptr;
    m_hr = AVIERR_OK;
    std::vector<std::string> failure;
    failure.swap(m_failure);
    for (const std::string& text : failure) AfxDiagnostic("video", "%s", text.c_str());
    return hr;
}

void EncoderThread::EncodeFrame() {
    if (!m_pFrame || m_bTaken.exchange(true)) return;
    t_pDeferred = &m_failure;
    struct Restore {
        ~Restore() { t_pDeferred = nullptr; }
    } restore;
    m_hr = Encode(m_s, m_pFrame);
}

// Waits for the frame the encoder has in hand. A frame it could not write is no frame of the
// film: the stream no longer counts it, and the film is broken.
HRESULT WaitForEncoder(AviStreamObject& s) {
    const HRESULT hr = s.worker ? s.worker->Wait() : AVIERR_OK;
    if (hr != AVIERR_OK) {
        --s.nNext;
        if (s.target && s.target->file) s.target->file->bBroken = true;
    }
    return hr;
}

void FreeStream(AviStreamObject* s) {
    if (s->worker) {
        WaitForEncoder(*s);
        s->worker.reset();
    }
    if (Compresses(*s)) {
        if (s->target && s->target->file && !s->target->file->bBroken && s->nNext > 0 &&
            Encode(*s, nullptr) != AVIERR_OK)
            s->target->file->bBroken = true;
        avcodec_free_context(&s->enc);
    }
    av_frame_free(&s->frame);
    ReleaseReserve(*s);
    av_frame_free(&s->spare);
    if (s->target) AVIStreamRelease(s->target);
    if (s->file) ReleaseFileRef(s->file);
    delete s;
}

// An RGB555 frame of sz in picture memory (a film's frames are written many a second, each
// frame's first writing would otherwise fault page by page), rows 64-byte aligned and padded as
// FFmpeg's own frames are.
bool GetFrameBuffer(AVFrame& frame, CSize sz) {
    const int linesize = (2 * static_cast<int>(sz.cx) + 63) & ~63;
    const size_t n = static_cast<size_t>(linesize) * static_cast<size_t>(sz.cy) + AV_INPUT_BUFFER_PADDING_SIZE;
    auto* data = static_cast<uint8_t*>(AllocPictureMemory(n));
    if (!data) return false;
    frame.buf[0] = av_buffer_create(
        data, n, [](void* opaque, uint8_t* p) { FreePictureMemory(p, reinterpret_cast<uintptr_t>(opaque)); },
        reinterpret_cast<void*>(static_cast<uintptr_t>(n)), 0);
    if (!frame.buf[0]) {
        FreePictureMemory(data, n);
        return false;
    }
    frame.format = AV_PIX_FMT_RGB555LE;
    frame.width = sz.cx;
    frame.height = sz.cy;
    frame.data[0] = data;
    frame.linesize[0] = linesize;
    return true;
}

// Opens the compressor of a compressed stream once its input format is known.
HRESULT OpenEncoder(AviStreamObject& c) {
    const CSize sz = VideoEncodedSize(c.dib.cx, c.dib.cy);
    const int keyEvery = c.opts.dwKeyFrameEvery > 0 && c.opts.dwKeyFrameEvery < 0x7fffffff ? static_cast<int>(c.opts.dwKeyFrameEvery) : 0;
    AVRational timeBase{static_cast<int>(c.info.dwScale), static_cast<int>(c.info.dwRate)};
    if (c.encoder == kMsvc1EncoderName) {
        try {
            // The options' quality (ICQUALITY_DEFAULT, all bits set, is out of range: the default).
            c.msvc = std::make_unique<Msvc1Encoder>(sz.cx, sz.cy, keyEvery, static_cast<long>(c.opts.dwQuality));
            c.packet.reserve(static_cast<size_t>(sz.cx) * sz.cy / 16 * 18 + 2);
        } catch (const std::bad_alloc&) {
            c.msvc.reset();
            return VIDEO_FAIL(AVIERR_MEMORY, "not enough memory for the %s encoder of a %dx%d film", c.encoder.c_str(),
                              static_cast<int>(sz.cx), static_cast<int>(sz.cy));
        }
        AVCodecParameters* par = c.target->st->codecpar;
        par->codec_type = AVMEDIA_TYPE_VIDEO;
        par->codec_id = AV_CODEC_ID_MSVIDEO1;
        par->codec_tag = 0;
        par->format = AV_PIX_FMT_RGB555LE;
        par->width = sz.cx;
        par->height = sz.cy;
        par->bits_per_coded_sample = 16;
    } else {
        const AVCodec* codec = avcodec_find_encoder_by_name(c.encoder.c_str());
        if (!codec) return VIDEO_FAIL(AVIERR_NOCOMPRESSOR, "the compressor's encoder %s is not available", c.encoder.c_str());
        c.enc = avcodec_alloc_context3(codec);
        if (!c.enc) return VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
        c.enc->width = sz.cx;
        c.enc->height = sz.cy;
        c.enc->pix_fmt = AV_PIX_FMT_RGB555LE;
        c.enc->time_base = timeBase;
        c.enc->framerate = AVRational{timeBase.den, timeBase.num};
        c.enc->thread_count = 1;
        if (keyEvery > 0) c.enc->gop_size = keyEvery;
        if (c.target->file->ctx->oformat->flags & AVFMT_GLOBALHEADER) c.enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        int err = avcodec_open2(c.enc, codec, nullptr);
        if (err < 0)
            return VIDEO_FAIL(AVIERR_NOCOMPRESSOR, "cannot open the %s encoder: %s", c.encoder.c_str(), AvError(err).c_str());
        err = avcodec_parameters_from_context(c.target->st->codecpar, c.enc);
        if (err < 0) return AVIERR_ERROR;
        timeBase = c.enc->time_base;
    }
    c.target->st->time_base = timeBase;
    c.target->dib = c.dib;
    c.target->bFormat = true;
    for (AVFrame** p : {&c.frame, &c.spare}) {
        *p = av_frame_alloc();
        if (!*p || !GetFrameBuffer(**p, sz)) return VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
    }
    if (c.enc) {
        // An FFmpeg encoder's first frame may take its working memory (up to 12 bytes a pixel)
        // without checking that it got it, and a failure there ends the program. That much, and
        // a megabyte more, is held from here on and given back just before the first frame: a
        // film too large for the memory left is refused here.
        c.nReserve = static_cast<size_t>(sz.cx) * (static_cast<size_t>(sz.cy) + 3) * 12 + (size_t{1} << 20);
        c.pReserve = mmap(nullptr, c.nReserve, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (c.pReserve == MAP_FAILED) {
            c.pReserve = nullptr;
            return VIDEO_FAIL(AVIERR_MEMORY, "not enough memory for the %s encoder of a %dx%d film", c.encoder.c_str(),
                              static_cast<int>(sz.cx), static_cast<int>(sz.cy));
        }
    }
    // No thread to be had (its stack is memory too): the caller's thread encodes.
    c.worker = std::make_unique<EncoderThread>(c);
    if (!c.worker->Helps()) c.worker.reset();
    return AVIERR_OK;
}

}  // namespace

void AVIFileInit() {
    // FFmpeg's own notes (converter remarks and the like) are not for the user; failures are
    // reported by the calls themselves.
    if (g_nInitCount == 0) av_log_set_level(AV_LOG_ERROR);
    ++g_nInitCount;
}

void AVIFileExit() {
    if (g_nInitCount > 0) --g_nInitCount;
}

int AVIFileInitCount() { return g_nInitCount; }

HRESULT AVIFileOpen(PAVIFILE* ppfile, LPCTSTR szFile, UINT uMode, void*) {
    if (!ppfile) return AVIERR_BADPARAM;
    *ppfile = nullptr;
    if (g_nInitCount <= 0) return VIDEO_FAIL(AVIERR_ERROR, "AVIFileOpen before AVIFileInit");
    if (!szFile || !*szFile) return VIDEO_FAIL(AVIERR_BADPARAM, "AVIFileOpen: no file name was given");
    if (!(uMode & OF_CREATE))
        return VIDEO_FAIL(AVIERR_UNSUPPORTED, "AVIFileOpen opens films for writing only (OF_CREATE): \"%s\"", szFile);
    std::string why;
    if (!FfmpegLoadLibraries(why))
        return VIDEO_FAIL(why.rfind("out of memory", 0) == 0 ? AVIERR_MEMORY : AVIERR_ERROR, "cannot create the film \"%s\": %s",
                          szFile, why.c_str());
    auto f = std::make_unique<AviFileObject>();
    f->path = szFile;
    int err = avformat_alloc_output_context2(&f->ctx, nullptr, "avi", szFile);
    if (err < 0 || !f->ctx) return VIDEO_FAIL(AVIERR_ERROR, "the AVI writer is not available: %s", AvError(err).c_str());
    // Through a descriptor of the film's own: a file its maker made beforehand is written
    // through the descriptor that made it, never opened again by name.
    f->fd = OpenOutputFile(szFile);
    constexpr int kBuffer = 1 << 16;
    auto* buffer = f->fd < 0 ? nullptr : static_cast<unsigned char*>(av_malloc(kBuffer));
    f->ctx->pb = buffer ? avio_alloc_context(buffer, kBuffer, 1, &f->fd, nullptr, WriteFilm, SeekFilm) : nullptr;
    if (!f->ctx->pb) {
        err = f->fd < 0 ? AVERROR(errno) : AVERROR(ENOMEM);
        av_free(buffer);
        if (f->fd >= 0) close(f->fd);
        avformat_free_context(f->ctx);
        f->ctx = nullptr;
        return VIDEO_FAIL(AVIERR_FILEOPEN, "cannot create the film \"%s\": %s", szFile, AvError(err).c_str());
    }
    f->ctx->pb->direct = 1;  // a frame's bytes go to the file as they are, not copied through the buffer
    *ppfile = f.release();
    return AVIERR_OK;
}

ULONG AVIFileRelease(PAVIFILE pfile) {
    if (!pfile) return 0;
    const ULONG left = static_cast<ULONG>(pfile->nRefs - 1);
    ReleaseFileRef(pfile);
    return left;
}

HRESULT AVIFileCreateStream(PAVIFILE pfile, PAVISTREAM* ppavi, const AVISTREAMINFO* psi) {
    if (!ppavi) return AVIERR_BADPARAM;
    *ppavi = nullptr;
    if (!pfile || !psi) return AVIERR_BADPARAM;
    if (psi->fccType != streamtypeVIDEO) return VIDEO_FAIL(AVIERR_UNSUPPORTED, "only video streams can be made");
    if (psi->dwScale == 0 || psi->dwRate == 0 || psi->dwScale > 0x7fffffff || psi->dwRate > 0x7fffffff)
        return VIDEO_FAIL(AVIERR_BADPARAM, "a video stream needs a positive frame rate");
    if (pfile->ctx->nb_streams > 0) return VIDEO_FAIL(AVIERR_UNSUPPORTED, "a film holds one video stream");
    AVStream* st = avformat_new_stream(pfile->ctx, nullptr);
    if (!st) return VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
    st->time_base = AVRational{static_cast<int>(psi->dwScale), static_cast<int>(psi->dwRate)};
    st->avg_frame_rate = AVRational{static_cast<int>(psi->dwRate), static_cast<int>(psi->dwScale)};
    st->r_frame_rate = st->avg_frame_rate;
    auto* s = new AviStreamObject;
    s->file = pfile;
    ++pfile->nRefs;
    s->st = st;
    s->info = *psi;
    *ppavi = s;
    return AVIERR_OK;
}

HRESULT AVIStreamSetFormat(PAVISTREAM pavi, LONG lPos, const void* lpFormat, LONG cbFormat) {
    if (!pavi || !lpFormat) return AVIERR_BADPARAM;
    if (pavi->bFormat) return VIDEO_FAIL(AVIERR_UNSUPPORTED, "the stream's format is already set");
    std::string why;
    DibLayout dib;
    if (!DibLayout::FromFormat(lpFormat, cbFormat, dib, why))
        return VIDEO_FAIL(AVIERR_BADFORMAT, "the stream format is not a DIB the film can hold: %s", why.c_str());
    if (Compresses(*pavi) || !pavi->encoder.empty()) {
        // A compressor: the format is the one of the frames it is given.
        pavi->dib = dib;
        const HRESULT hr = OpenEncoder(*pavi);
        if (hr != AVIERR_OK) return hr;
        pavi->bFormat = true;
        return pavi->conv.Prepare(dib, AV_PIX_FMT_RGB555LE) ? AVIERR_OK : VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
    }
    AVCodecParameters* par = pavi->st->codecpar;
    par->codec_type = AVMEDIA_TYPE_VIDEO;
    par->codec_id = AV_CODEC_ID_RAWVIDEO;
    par->codec_tag = 0;
    par->format = dib.PixelFormat();
    par->width = dib.cx;
    par->height = dib.cy;
    par->bits_per_coded_sample = dib.nBits;
    pavi->file->nRawImage = dib.ImageSize();
    pavi->dib = dib;
    pavi->bFormat = true;
    return AVIERR_OK;
}

HRESULT AVIMakeCompressedStream(PAVISTREAM* ppsCompressed, PAVISTREAM psSource, const AVICOMPRESSOPTIONS* lpOptions, void*) {
    if (!ppsCompressed) return AVIERR_BADPARAM;
    *ppsCompressed = nullptr;
    if (!psSource || !lpOptions || !psSource->file) return AVIERR_BADPARAM;
    if (psSource->bFormat || psSource->nNext > 0)
        return VIDEO_FAIL(AVIERR_UNSUPPORTED, "a compressor goes over a stream before its format is set");
    std::string encoder;
    if (!VideoCompressorEncoder(lpOptions->fccHandler, encoder) || encoder.empty()) {
        const DWORD h = lpOptions->fccHandler;
        const char tag[5] = {static_cast<char>(h & 0xff), static_cast<char>((h >> 8) & 0xff),
                             static_cast<char>((h >> 16) & 0xff), static_cast<char>(h >> 24), 0};
        return VIDEO_FAIL(AVIERR_NOCOMPRESSOR, "no usable compressor has the handler '%s'", h ? tag : "none");
    }
    auto* c = new AviStreamObject;
    c->target = psSource;
    ++psSource->nRefs;
    c->info = psSource->info;
    c->opts = *lpOptions;
    c->encoder = encoder;
    *ppsCompressed = c;
    return AVIERR_OK;
}

HRESULT AVIStreamWrite(PAVISTREAM pavi, LONG lStart, LONG lSamples, const void* lpBuffer, LONG cbBuffer, DWORD dwFlags,
                       LONG* plSampWritten, LONG* plBytesWritten) {
    if (plSampWritten) *plSampWritten = 0;
    if (plBytesWritten) *plBytesWritten = 0;
    if (!pavi || !lpBuffer || lSamples != 1) return VIDEO_FAIL(AVIERR_BADPARAM, "AVIStreamWrite writes one frame at a time");
    if (!pavi->bFormat) return VIDEO_FAIL(AVIERR_BADFORMAT, "AVIStreamWrite before the stream's format was set");
    if (lStart != -1 && lStart != pavi->nNext)
        return VIDEO_FAIL(AVIERR_BADPARAM, "frames are written in order: sample %s is not the next one (%s)",
                      std::to_string(lStart).c_str(), std::to_string(pavi->nNext).c_str());
    const size_t size = pavi->dib.ImageSize();
    if (cbBuffer < 0 || static_cast<size_t>(cbBuffer) < size)
        return VIDEO_FAIL(AVIERR_BADPARAM, "a frame of %s bytes is shorter than the format's %s", std::to_string(cbBuffer).c_str(),
                      std::to_string(size).c_str());
    HRESULT hr;
    if (Compresses(*pavi)) {
        // Converted into the frame the encoder has not got, then handed over once it is idle.
        AVFrame* frame = pavi->worker ? pavi->spare : pavi->frame;
        if (!pavi->conv.Convert(pavi->dib, static_cast<const BYTE*>(lpBuffer), frame)) return AVIERR_ERROR;
        if (av_frame_make_writable(frame) < 0) return VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
        frame->pts = pavi->nNext;
        if (pavi->worker) {
            hr = WaitForEncoder(*pavi);
            if (hr == AVIERR_OK) {
                std::swap(pavi->frame, pavi->spare);
                pavi->worker->Post(pavi->frame);
            }
        } else {
            hr = Encode(*pavi, frame);
        }
    } else {
        // The caller's frame goes to the muxer as it is, without a copy (the packet borrows it).
        AVPacket* pkt = av_packet_alloc();
        if (!pkt) return VIDEO_FAIL(AVIERR_MEMORY, "out of memory for the film");
        pkt->data = const_cast<uint8_t*>(static_cast<const uint8_t*>(lpBuffer));
        pkt->size = static_cast<int>(size);
        pkt->pts = pkt->dts = pavi->nNext;
        pkt->flags |= AV_PKT_FLAG_KEY;  // raw frames stand alone
        (void)dwFlags;
        if (pavi->dib.nBits == 8) {
            uint8_t* pal = av_packet_new_side_data(pkt, AV_PKT_DATA_PALETTE, AVPALETTE_SIZE);
            if (pal) pavi->dib.CopyPalette(reinterpret_cast<uint32_t*>(pal));
        }
        hr = WritePacket(*pavi, pkt);
        av_packet_free(&pkt);
    }
    if (hr != AVIERR_OK) return hr;
    ++pavi->nNext;
    if (plSampWritten) *plSampWritten = 1;
    if (plBytesWritten) *plBytesWritten = static_cast<LONG>(size);
    return AVIERR_OK;
}

HRESULT AVIStreamRead(PAVISTREAM pavi, LONG lStart, LONG lSamples, void* lpBuffer, LONG cbBuffer, LONG* plBytes,
                      LONG* plSamples) {
    if (plBytes) *plBytes = 0;
    if (plSamples) *plSamples = 0;
    if (!pavi || !pavi->file || lSamples != 1) return AVIERR_BADPARAM;
    if (pavi->st->codecpar->codec_id != AV_CODEC_ID_RAWVIDEO)
        return VIDEO_FAIL(AVIERR_UNSUPPORTED, "only uncompressed streams are read back");
    if (lStart < 0 || static_cast<size_t>(lStart) >= pavi->offsets.size())
        return VIDEO_FAIL(AVIERR_BADPARAM, "sample %s is not in the stream (%s written)", std::to_string(lStart).c_str(),
                      std::to_string(pavi->offsets.size()).c_str());
    const size_t size = pavi->dib.ImageSize();
    if (!lpBuffer) {
        if (plBytes) *plBytes = static_cast<LONG>(size);
        if (plSamples) *plSamples = 1;
        return AVIERR_OK;
    }
    if (cbBuffer < 0 || static_cast<size_t>(cbBuffer) < size) return AVIERR_BADPARAM;
    AviFileObject& f = *pavi->file;
    if (!f.pRead) f.pRead = std::fopen(f.path.c_str(), "rb");
    if (!f.pRead) return VIDEO_FAIL(AVIERR_FILEREAD, "cannot read back the film \"%s\"", f.path.c_str());
    if (!FindFrameChunk(f.pRead, pavi->offsets[lStart], size) ||
        std::fread(lpBuffer, 1, size, f.pRead) != size)
        return VIDEO_FAIL(AVIERR_FILEREAD, "frame %s of \"%s\" cannot be read back", std::to_string(lStart).c_str(), f.path.c_str());
    if (plBytes) *plBytes = static_cast<LONG>(size);
    if (plSamples) *plSamples = 1;
    return AVIERR_OK;
}

HRESULT AVIStreamInfo(PAVISTREAM pavi, AVISTREAMINFO* psi, LONG lSize) {
    if (!pavi || !psi || lSize < static_cast<LONG>(sizeof(AVISTREAMINFO))) return AVIERR_BADPARAM;
    // The length counts the frames in the film: the one the encoder has in hand once written.
    (void)WaitForEncoder(*pavi);
    *psi = pavi->info;
    psi->dwLength = static_cast<DWORD>(pavi->nNext);
    return AVIERR_OK;
}

ULONG AVIStreamRelease(PAVISTREAM pavi) {
    if (!pavi) return 0;
    const ULONG left = static_cast<ULONG>(--pavi->nRefs);
    if (left == 0) FreeStream(pavi);
    return left;
}

#undef VIDEO_FAIL
