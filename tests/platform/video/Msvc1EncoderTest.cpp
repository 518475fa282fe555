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

// FFmpeg's decoder, fed our packets; Picture() is the last decoded frame, top row first.
struct Decoder {
    AVCodecContext* ctx = nullptr;
    AVFrame* frame = av_frame_alloc();
    AVPacket* pkt = av_packet_alloc();
    Decoder(int cx, int cy) {
        ctx = avcodec_alloc_context3(avcodec_find_decoder(AV_CODEC_ID_MSVIDEO1));
        ctx->width = cx;
        ctx->height = cy;
        ctx->bits_per_coded_sample = 16;
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
void Compare(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b, int* worst, double* mse) {
    *worst = 0;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        for (int shift : {10, 5, 0}) {
            const int d = ((a[i] >> shift) & 31) - ((b[i] >> shift) & 31);
            *worst = std::max(*worst, std::abs(d));
            sum += d * d;
        }
    *mse = sum / (3.0 * a.size());
}

}  // namespace

// Each picture of a row decodes to itself within the row's limits: colours a fill cannot take
// (red 1 reads as a skip), blocks of two colours and of two a quarter, and a picture that moves
// (its unchanged blocks skipped). Expected values are by construction of the pictures.
TEST(Msvc1EncoderTest, FramesDecodeToTheirPictures) {
    constexpr int W = 64, H = 36;
    using Maker = std::function<uint16_t(int x, int y, int k)>;
    struct Row {
        const char* label;
        Maker pixel;
        int worst;      // largest component error allowed
        double mse;     // mean squared error allowed
    } rows[] = {  // shading and blocks of several colours are coded at a byte for 24 of squared error
        {"flat, red 1", [](int, int, int) { return Rgb(1, 10, 20); }, 1, 1.0},
        {"two colours a block", [](int x, int y, int) { return (x + y) % 3 ? Rgb(31, 0, 0) : Rgb(0, 0, 31); }, 0, 0.0},
        {"two colours a quarter",
         [](int x, int y, int) { return Rgb((x / 2) % 2 ? 30 : 2, (y / 2) % 2 ? 25 : 5, (x + y) % 2 ? 17 : 1); }, 0, 0.0},
        {"stripes that move", [](int x, int y, int k) { return (x + k) / 8 % 2 ? Rgb(31, 31, 31) : Rgb(0, 12, y % 32); }, 2, 0.5},
        {"smooth shading", [](int x, int y, int k) { return Rgb(x / 2, y * 31 / H, (x + y + k) % 32); }, 4, 2.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Msvc1Encoder enc(W, H, 0);
        Decoder dec(W, H);
        std::vector<uint8_t> bytes;
        for (int k = 0; k < 4; ++k) {
            std::vector<uint16_t> pic(W * H);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) pic[y * W + x] = r.pixel(x, y, k);
            enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 2 * W, bytes);
            int worst;
            double mse;
            Compare(dec.Decode(bytes), pic, &worst, &mse);
            EXPECT_LE(worst, r.worst) << "frame " << k;
            EXPECT_LE(mse, r.mse) << "frame " << k;
        }
        // The same picture again: one skip code for the whole frame, then the end.
        std::vector<uint8_t> again;
        std::vector<uint16_t> pic(W * H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) pic[y * W + x] = r.pixel(x, y, 3);
        EXPECT_FALSE(enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 2 * W, again));
        const int blocks = W / 4 * H / 4;
        EXPECT_EQ(again, (std::vector<uint8_t>{static_cast<uint8_t>(blocks), static_cast<uint8_t>(0x84 | blocks >> 8), 0, 0}));
    }
}

// Key frames come every nKeyEvery frames (25 by default) and whenever no block is skipped; a
// key frame decodes alone. Long runs of skipped blocks are split at 1,023.
TEST(Msvc1EncoderTest, KeyFramesStandAlone) {
    struct Row {
        int every;
        int W, H;
        bool changing;               // every block changes every frame
        std::vector<int> keys;       // of 30 frames
    } rows[] = {
        {0, 8, 8, false, {0, 25}},
        {7, 8, 8, false, {0, 7, 14, 21, 28}},
        {0, 8, 8, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29}},
        {3, 256, 20, false, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.every);
        Msvc1Encoder enc(r.W, r.H, r.every);
        std::vector<int> keys;
        std::vector<uint8_t> bytes;
        for (int k = 0; k < 30; ++k) {
            std::vector<uint16_t> pic(r.W * r.H, Rgb(3, 4, 5));
            for (size_t i = 0; i < pic.size(); ++i)
                if (r.changing) pic[i] = Rgb(k % 2 ? 30 : 2, 31 - k, 7);
            if (!enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 2 * r.W, bytes)) continue;
            keys.push_back(k);
            Decoder alone(r.W, r.H);
            int worst;
            double mse;
            Compare(alone.Decode(bytes), pic, &worst, &mse);
            EXPECT_EQ(worst, 0) << "key frame " << k;
        }
        EXPECT_EQ(keys, r.keys);
    }
    // 1,280 skipped blocks: a run of 1,023 and one of 257.
    Msvc1Encoder enc(256, 80, 0);
    std::vector<uint16_t> pic(256 * 80, Rgb(9, 9, 9));
    std::vector<uint8_t> bytes;
    enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 512, bytes);
    enc.Encode(reinterpret_cast<const uint8_t*>(pic.data()), 512, bytes);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xFF, 0x87, 0x01, 0x85, 0, 0}));
}
