// Microsoft Video 1 frames of our encoder, read back by FFmpeg's own decoder.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <vector>

#include "platform/video/Msvc1Encoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
}

namespace {

uint16_t Rgb(int r, int g, int b) { return static_cast<uint16_t>(r << 10 | g << 5 | b); }

// FFmpeg's decoder, fed our packets; Decode answers the frame's pixels, top row first.
struct Decoder {
    AVCodecContext* ctx = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_MSVIDEO1));
    AVFrame* frame = av_frame_alloc();
    AVPacket* pkt = av_packet_alloc();
    Decoder(int cx, int cy) {
        ctx->width = cx;
        ctx->height = cy;
        EXPECT_EQ(avcodec_open2(ctx, ctx->codec, nullptr), 0);
    }
    ~Decoder() {
        av_packet_free(&pkt);
        av_frame_free(&frame);
        avcodec_free_context(&ctx);
    }
    std::vector<uint16_t> Decode(std::vector<uint8_t> bytes) {
        pkt->data = bytes.data();
        pkt->size = static_cast<int>(bytes.size());
        EXPECT_EQ(avcodec_send_packet(ctx, pkt), 0);
        EXPECT_EQ(avcodec_receive_frame(ctx, frame), 0);
        std::vector<uint16_t> out(static_cast<size_t>(ctx->width) * ctx->height);
        for (int y = 0; y < ctx->height; ++y)
            std::memcpy(&out[static_cast<size_t>(y) * ctx->width], frame->data[0] + y * frame->linesize[0], 2 * ctx->width);
        return out;
    }
};

// Largest difference of a 5-bit component and the mean squared one.
struct Error { int worst = 0; double mse = 0; };
Error Compare(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    Error e;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {10, 5, 0}) {
            const int d = ((a[i] >> shift) & 31) - ((b[i] >> shift) & 31);
            e.worst = std::max(e.worst, std::abs(d));
            e.mse += d * d / (3.0 * a.size());
        }
    return e;
}

}  // namespace

// Each picture of a row decodes to itself within the row's limits: colours a fill cannot take
// (red 1 reads as a skip), blocks of two colours and of two a quarter, and a picture that moves
// (its unchanged blocks skipped). Expected values are by construction of the pictures.
TEST(Msvc1EncoderTest, FramesDecodeToTheirPictures) {
    constexpr int W = 160, H = 112;  // 1,120 blocks
    using Maker = std::function<uint16_t(int x, int y, int k)>;
    struct Row {
        const char* label;
        Maker pixel;
        int worst;      // largest component error allowed
        double mse;     // mean squared error allowed
        long quality = -1;
    } rows[] = {  // shading and blocks of several colours are coded at a byte for 24 of squared error
        {"flat, red 1", [](int, int, int) { return Rgb(1, 10, 20); }, 1, 1.0},
        {"two colours a block", [](int x, int y, int) { return (x + y) % 3 ? Rgb(31, 0, 0) : Rgb(0, 0, 31); }, 0, 0.0},
        {"two colours a quarter",
         [](int x, int y, int) { return Rgb((x / 2) % 2 ? 30 : 2, (y / 2) % 2 ? 25 : 5, (x + y) % 2 ? 17 : 1); }, 0, 0.0},
        {"stripes that move", [](int x, int y, int k) { return (x + k) / 8 % 2 ? Rgb(31, 31, 31) : Rgb(0, 12, y % 32); }, 2, 0.5},
        {"smooth shading", [](int x, int y, int k) { return Rgb(x / 2, y * 31 / H, (x + y + k) % 32); }, 4, 2.0},
        // Red 10 to 13 by quarter, green by checker: two colours a block would miss red by up to 2
        // for 18 - 6 bytes less; at the best quality a block costs no bytes, only error.
        {"quarters a shade apart, best quality",
         [](int x, int y, int) { return Rgb(10 + (x / 2) % 2 + 2 * ((y / 2) % 2), (x + y) % 2 ? 20 : 5, 7); }, 0, 0.0,
         10000},
        // At the best quality bytes cost nothing: a block of one or two colours, and one of three
        // with two a quarter, is coded exactly (red 1 too, as two colours of the same).
        {"flat, red 1, best quality", [](int, int, int) { return Rgb(1, 10, 20); }, 0, 0.0, 10000},
        {"two colours a block, best quality",
         [](int x, int y, int) { return (x + y) % 3 ? Rgb(31, 0, 0) : Rgb(0, 0, 31); }, 0, 0.0, 10000},
        {"three colours a block, two a quarter, best quality",
         [](int x, int y, int k) { return (x + y) % 2 ? Rgb(5, 6, 7) : x % 4 < 2 ? Rgb(31, k, 0) : Rgb(0, 31, k); }, 0,
         0.0, 10000},
        // Reds 0 0 / 2 4 in every quarter: the best two colours are 0 and 3, in the block as in
        // each quarter, 1 off at 2 and at 4: a squared error of 8 a block, 1/6 a component.
        {"three reds a quarter, best quality", [](int x, int y, int) { return Rgb(y % 2 ? 2 + 2 * (x % 2) : 0, 9, 9); }, 1,
         1.0 / 6 + 1e-9, 10000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Msvc1Encoder enc(W, H, 0, r.quality);
        Decoder dec(W, H);
        std::vector<uint8_t> bytes;
        const auto picture = [&r](int k) {
            std::vector<uint16_t> pic(W * H);
            for (int i = 0; i < W * H; ++i) pic[i] = r.pixel(i % W, i / W, k);
            return pic;
        };
        for (int k = 0; k < 4; ++k) {
            const std::vector<uint16_t> pic = picture(k);
            enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 2 * W, bytes);
            const Error e = Compare(dec.Decode(bytes), pic);
            EXPECT_LE(e.worst, r.worst) << "frame " << k;
            EXPECT_LE(e.mse, r.mse) << "frame " << k;
        }
        // The same picture again: every block skipped, in runs of at most 1,023.
        std::vector<uint8_t> again;
        const std::vector<uint16_t> pic = picture(3);
        EXPECT_FALSE(enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 2 * W, again));
        EXPECT_EQ(again, (std::vector<uint8_t>{0xFF, 0x87, 97, 0x84, 0, 0}));
    }
}

// Key frames come every nKeyEvery frames (25 by default) and whenever no block is skipped; a
// key frame decodes alone.
TEST(Msvc1EncoderTest, KeyFramesStandAlone) {
    struct Row {
        int every;
        bool changing;          // every block changes every frame
        std::vector<int> keys;  // of 30 frames; empty: all
    } rows[] = {
        {0, false, {0, 25}},
        {7, false, {0, 7, 14, 21, 28}},
        {0, true, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.every);
        Msvc1Encoder enc(8, 8, r.every);
        std::vector<int> keys, all;
        std::vector<uint8_t> bytes;
        for (int k = 0; k < 30; ++k) {
            all.push_back(k);
            const std::vector<uint16_t> pic(64, r.changing ? Rgb(k % 2 ? 30 : 2, 31 - k, 7) : Rgb(3, 4, 5));
            if (!enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 16, bytes)) continue;
            keys.push_back(k);
            Decoder alone(8, 8);
            EXPECT_EQ(Compare(alone.Decode(bytes), pic).worst, 0) << "key frame " << k;
        }
        EXPECT_EQ(keys, r.keys.empty() ? all : r.keys);
    }
}
