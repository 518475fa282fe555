// Films written through the AVI calls, checked by FFmpeg's own ffprobe and a RIFF walk in the
// system python; read-back by sample, the compressor manager, the compression dialog, exact
// frame decoding and the media player's picture over its parent.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/afx/WorkCrew.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/uiapi.h"
#include "platform/video/FfmpegLibrary.h"
#include "platform/video/FilmDecoder.h"
#include "platform/video/MCIWnd.h"
#include "platform/video/vfw.h"
#include "tests/CommandOutput.h"

namespace {

std::string TmpPath(const std::string& name) {
    std::filesystem::path p = PVX_TEST_TMPDIR;
    std::filesystem::create_directories(p);
    return (p / ("video_" + name)).string();
}


// The 6 x 6 x 6 cube entry nearest a colour of the fixed palette (index 10 + 36r + 6g + b).
RGBQUAD CubeColour(int r, int g, int b) {
    return RGBQUAD{static_cast<BYTE>(b * 51), static_cast<BYTE>(g * 51), static_cast<BYTE>(r * 51), 0};
}

// Frame k of a test film: a flat colour that differs per k, in the DIB's own bits.
struct TestFilm {
    int cx, cy, bits;
    std::vector<BYTE> format;  // header + colour table

    TestFilm(int w, int h, int b) : cx(w), cy(h), bits(b) {
        const int colours = b == 8 ? 256 : 0;
        format.assign(sizeof(BITMAPINFOHEADER) + 4 * colours, 0);
        auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(format.data());
        bih->biSize = 40;
        bih->biWidth = w;
        bih->biHeight = h;
        bih->biPlanes = 1;
        bih->biBitCount = static_cast<WORD>(b);
        bih->biCompression = BI_RGB;
        bih->biSizeImage = static_cast<DWORD>(Stride() * h);
        bih->biClrUsed = static_cast<DWORD>(colours);
        auto* pal = reinterpret_cast<RGBQUAD*>(format.data() + 40);
        for (int i = 0; i < colours; ++i) pal[i] = CubeColour(i / 36 % 6, i / 6 % 6, i % 6);
    }
    size_t Stride() const { return ((static_cast<size_t>(cx) * bits + 31) / 32) * 4; }
    // Colour of frame k: red steps with k, blue falls.
    RGBQUAD Colour(int k) const { return CubeColour(k % 6, 3, 5 - k % 6); }
    std::vector<BYTE> Frame(int k) const {
        std::vector<BYTE> img(Stride() * cy, 0);
        const RGBQUAD c = Colour(k);
        for (int y = 0; y < cy; ++y)
            for (int x = 0; x < cx; ++x) {
                BYTE* p = img.data() + Stride() * y;
                if (bits == 24) {
                    p[3 * x] = c.rgbBlue, p[3 * x + 1] = c.rgbGreen, p[3 * x + 2] = c.rgbRed;
                } else if (bits == 16) {
                    const unsigned w = (unsigned(c.rgbRed >> 3) << 10) | (unsigned(c.rgbGreen >> 3) << 5) | (c.rgbBlue >> 3);
                    p[2 * x] = static_cast<BYTE>(w), p[2 * x + 1] = static_cast<BYTE>(w >> 8);
                } else {
                    p[x] = static_cast<BYTE>(36 * (k % 6) + 6 * 3 + (5 - k % 6));
                }
            }
        return img;
    }
};

// Writes `frames` frames of a test film to path, compressed with handler when it is not 0; the
// stream's length at the end into *length when given.
HRESULT WriteFilm(const std::string& path, const TestFilm& t, int frames, DWORD handler, int fps = 8,
                  LONG* length = nullptr) {
    AVIFileInit();
    PAVIFILE f = nullptr;
    HRESULT hr = AVIFileOpen(&f, path.c_str(), OF_CREATE | OF_READWRITE | OF_SHARE_DENY_NONE, nullptr);
    if (hr != AVIERR_OK) {
        AVIFileExit();
        return hr;
    }
    AVISTREAMINFO si{};
    si.fccType = streamtypeVIDEO;
    si.dwScale = 1;
    si.dwRate = static_cast<DWORD>(fps);
    PAVISTREAM s = nullptr, c = nullptr;
    hr = AVIFileCreateStream(f, &s, &si);
    AVICOMPRESSOPTIONS o{};
    o.fccHandler = handler;
    if (hr == AVIERR_OK && handler) hr = AVIMakeCompressedStream(&c, s, &o, nullptr);
    PAVISTREAM out = c ? c : s;
    if (hr == AVIERR_OK) hr = AVIStreamSetFormat(out, 0, t.format.data(), static_cast<LONG>(t.format.size()));
    for (int k = 0; hr == AVIERR_OK && k < frames; ++k) {
        const std::vector<BYTE> img = t.Frame(k);
        hr = AVIStreamWrite(out, k, 1, img.data(), static_cast<LONG>(img.size()), AVIIF_KEYFRAME, nullptr, nullptr);
    }
    AVISTREAMINFO info{};
    if (length && out && AVIStreamInfo(out, &info, sizeof info) == AVIERR_OK) *length = static_cast<LONG>(info.dwLength);
    if (s) AVIStreamRelease(s);
    if (c) AVIStreamRelease(c);
    AVIFileRelease(f);
    AVIFileExit();
    return hr;
}

const DWORD kMSVC = mmioFOURCC('M', 'S', 'V', 'C');

}  // namespace

// ffprobe and a RIFF walk read what the films hold. Expected by hand: rows of 101 pixels are
// 104 (8 bits), 204 (16) and 304 bytes (24) once padded to 4; Microsoft Video 1 codes
// 101 x 50 as 104 x 52 (multiples of 4) in RGB555; the format is 40 bytes plus 4 per colour.
TEST(VideoFilmTest, FilmsHoldTheFormatAndFramesGiven) {
    struct Row {
        const char* label;
        int bits;
        DWORD handler;
        const char* codec;
        const char* pixfmt;
        int w, h;
        int strf, packet;  // RIFF walk: format size, first frame chunk size (raw only)
        int made = -1;     // threads that can be made, -1 as many as asked
    } rows[] = {
        {"raw 8", 8, 0, "rawvideo", "pal8", 101, 50, 1064, 104 * 50},
        {"raw 16", 16, 0, "rawvideo", "rgb555le", 101, 50, 40, 204 * 50},
        {"raw 24", 24, 0, "rawvideo", "bgr24", 101, 50, 40, 304 * 50},
        {"msvc 24", 24, kMSVC, "msvideo1", "rgb555le", 104, 52, 40, -1},
        {"msvc 8", 8, kMSVC, "msvideo1", "rgb555le", 104, 52, 40, -1},
        {"msvc 24, no encoder thread to be had", 24, kMSVC, "msvideo1", "rgb555le", 104, 52, 40, -1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        WorkCrew::TestLimit limit(0, r.made);
        const std::string path = TmpPath(std::string("fmt_") + std::to_string(r.bits) + (r.handler ? "c" : "r") + ".avi");
        ASSERT_EQ(WriteFilm(path, TestFilm(101, 50, r.bits), 7, r.handler, 8), AVIERR_OK);
        EXPECT_EQ(AviCheckRiffSizes(path.c_str()), CString());
        const std::string probe = testcmd::Output("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                                      "stream=codec_name,pix_fmt,width,height,r_frame_rate,nb_read_frames -of csv=p=0 '" +
                                      path + "'");
        char expect[200];
        std::snprintf(expect, sizeof(expect), "%s,%d,%d,%s,8/1,7\n", r.codec, r.w, r.h, r.pixfmt);
        EXPECT_EQ(probe, expect);
        const std::string walk = testcmd::Output(
            "/usr/bin/python3 -c \"\nimport struct,sys\nd=open(sys.argv[1],'rb').read()\nstrf=pk=isz=None\ndef w(a,b):\n"
            " global strf,pk,isz\n while a+8<=b:\n  i=d[a:a+4];n=struct.unpack('<I',d[a+4:a+8])[0]\n"
            "  if i in(b'RIFF',b'LIST'): w(a+12,a+8+n)\n  elif i==b'strf' and strf is None: strf=n;isz=struct.unpack('<I',d[a+28:a+32])[0]\n"
            "  elif i[2:] in(b'db',b'dc') and pk is None: pk=n\n  a+=8+n+(n&1)\nw(0,len(d))\nprint(strf,pk,isz)\" '" +
            path + "'");
        int strf = 0, pk = 0, imageSize = 0;
        ASSERT_EQ(std::sscanf(walk.c_str(), "%d %d %d", &strf, &pk, &imageSize), 3) << walk;
        EXPECT_EQ(strf, r.strf);
        if (r.packet > 0) {
            EXPECT_EQ(pk, r.packet);
            EXPECT_EQ(imageSize, r.packet) << "the format's image size is that of the padded frames";
        }
    }
}

// Samples are stored in order and read back by number; bad calls answer their codes.
TEST(VideoFilmTest, SamplesReadBackByNumber) {
    const std::string path = TmpPath("readback.avi");
    const TestFilm t(33, 7, 24);
    AVIFileInit();
    PAVIFILE f = nullptr;
    ASSERT_EQ(AVIFileOpen(&f, path.c_str(), OF_CREATE | OF_READWRITE, nullptr), AVIERR_OK);
    AVISTREAMINFO si{};
    si.fccType = streamtypeVIDEO;
    si.dwScale = 1;
    si.dwRate = 5;
    PAVISTREAM s = nullptr;
    ASSERT_EQ(AVIFileCreateStream(f, &s, &si), AVIERR_OK);
    std::vector<BYTE> img = t.Frame(0);
    EXPECT_EQ(AVIStreamWrite(s, 0, 1, img.data(), static_cast<LONG>(img.size()), 0, nullptr, nullptr), AVIERR_BADFORMAT);
    ASSERT_EQ(AVIStreamSetFormat(s, 0, t.format.data(), 40), AVIERR_OK);
    for (int k = 0; k < 5; ++k) {
        img = t.Frame(k);
        ASSERT_EQ(AVIStreamWrite(s, k, 1, img.data(), static_cast<LONG>(img.size()), AVIIF_KEYFRAME, nullptr, nullptr), AVIERR_OK);
    }
    img = t.Frame(9);
    EXPECT_EQ(AVIStreamWrite(s, 7, 1, img.data(), static_cast<LONG>(img.size()), 0, nullptr, nullptr), AVIERR_BADPARAM);
    EXPECT_EQ(AVIStreamWrite(s, 5, 1, img.data(), 10, 0, nullptr, nullptr), AVIERR_BADPARAM);
    for (int k : {3, 0, 4, 1}) {
        SCOPED_TRACE(k);
        std::vector<BYTE> back(img.size(), 0xEE);
        LONG bytes = 0;
        ASSERT_EQ(AVIStreamRead(s, k, 1, back.data(), static_cast<LONG>(back.size()), &bytes, nullptr), AVIERR_OK);
        EXPECT_EQ(bytes, static_cast<LONG>(t.Stride() * 7));  // 33 x 3 = 99 bytes padded to 100, 7 rows
        EXPECT_EQ(back, t.Frame(k));
    }
    std::vector<BYTE> back(img.size());
    EXPECT_EQ(AVIStreamRead(s, 5, 1, back.data(), static_cast<LONG>(back.size()), nullptr, nullptr), AVIERR_BADPARAM);
    AVIStreamRelease(s);
    AVIFileRelease(f);
    AVIFileExit();
    EXPECT_EQ(AVIFileInitCount(), 0);
    // Bad formats and missing initialisation are refused.
    PAVIFILE g = nullptr;
    EXPECT_EQ(AVIFileOpen(&g, path.c_str(), OF_CREATE, nullptr), AVIERR_ERROR);
    EXPECT_EQ(WriteFilm(TmpPath("nowhere/x.avi"), t, 1, 0), AVIERR_FILEOPEN);
}

// The manager lists Microsoft Video 1; stand-in lists are enumerated as installed; a listed
// compressor without an encoder cannot compress.
TEST(VideoCompressorTest, ManagerListsAndOpensCompressors) {
    ICInstallDefaults();
    ICINFO info;
    ASSERT_TRUE(ICInfo(ICTYPE_VIDEO, 0, &info));
    EXPECT_EQ(info.fccHandler, kMSVC);
    EXPECT_EQ(std::wstring(info.szDescription), L"Microsoft Video 1");
    EXPECT_FALSE(ICInfo(ICTYPE_VIDEO, 1, &info));

    ICRemoveAll();
    ICInstall(mmioFOURCC('c', 'v', 'i', 'd'), "cvid", "Cinepak", "");
    ASSERT_TRUE(ICInfo(ICTYPE_VIDEO, 0, &info));
    HIC q = ICOpen(ICTYPE_VIDEO, info.fccHandler, ICMODE_QUERY);
    ASSERT_NE(q, nullptr);
    ICINFO got{};
    EXPECT_EQ(ICGetInfo(q, &got, sizeof(got)), static_cast<LONG>(sizeof(ICINFO)));
    EXPECT_EQ(std::wstring(got.szDescription), L"Cinepak");
    EXPECT_EQ(ICClose(q), ICERR_OK);
    EXPECT_EQ(ICOpen(ICTYPE_VIDEO, info.fccHandler, ICMODE_COMPRESS), nullptr);
    EXPECT_EQ(WriteFilm(TmpPath("cinepak.avi"), TestFilm(8, 8, 16), 1, info.fccHandler), AVIERR_NOCOMPRESSOR);
    ICInstallDefaults();
}

// The compression dialog: the scripted user's choice lands in the options; cancelled, they
// stay as they were.
TEST(VideoCompressorTest, SaveOptionsFollowTheUser) {
    ICInstallDefaults();
    CUiDriver& d = CUiDriver::Get();
    d.Reset();
    struct Row {
        const char* label;
        int choice;   // drop-list index, -1 no script
        BOOL result;
        DWORD handler;
        bool parms;
    } rows[] = {{"Microsoft Video 1", 1, TRUE, kMSVC, true},
                {"full frames", 0, TRUE, 0, false},
                {"cancelled", -1, FALSE, 77, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        AVICOMPRESSOPTIONS o{};
        o.fccHandler = 77;
        o.lpParms = 5;
        if (r.choice >= 0)
            d.QueueModal(IDD_AVISAVEOPTIONS, {[&](CUiDialogSession& s) {
                             s.SelectComboIndex(IDC_AVISAVEOPTIONS_COMPRESSOR, r.choice);
                             return IDOK;
                         }});
        LPAVICOMPRESSOPTIONS po = &o;
        PAVISTREAM none = nullptr;
        EXPECT_EQ(AVISaveOptions(nullptr, 0, 1, &none, &po), r.result);
        EXPECT_EQ(o.fccHandler, r.handler);
        EXPECT_EQ(o.lpParms != 0, r.parms);
    }
    d.Reset();
}

// Exact seeking: any frame decodes to its own picture, in any order; raw films exactly,
// Microsoft Video 1 within its 5-bit colour steps (8 levels of 255).
TEST(VideoDecodeTest, AnyFrameDecodesToItsPicture) {
    // An 8-bit film's colours come from its own table, whatever frame is decoded first.
    for (auto [bits, handler] : {std::pair{24, DWORD(0)}, std::pair{8, DWORD(0)}, std::pair{24, kMSVC}}) {
        SCOPED_TRACE(std::to_string(bits) + (handler ? " msvideo1" : " raw"));
        const TestFilm t(40, 24, bits);
        const std::string path = TmpPath("seek_" + std::to_string(bits) + (handler ? "c.avi" : "r.avi"));
        ASSERT_EQ(WriteFilm(path, t, 20, handler), AVIERR_OK);
        CFilmDecoder dec;
        std::string why;
        ASSERT_TRUE(dec.Open(path, why)) << why;
        for (int k : {17, 3, 18, 0, 19, 4, 5}) {
            SCOPED_TRACE(k);
            ASSERT_TRUE(dec.Decode(k));
            const RGBQUAD c = t.Colour(k);
            const uint32_t px = dec.Pixels()[static_cast<size_t>(dec.Width()) * 10 + 20];
            const int tol = handler ? 8 : 0;
            EXPECT_NEAR(static_cast<int>((px >> 16) & 0xff), c.rgbRed, tol);
            EXPECT_NEAR(static_cast<int>((px >> 8) & 0xff), c.rgbGreen, tol);
            EXPECT_NEAR(static_cast<int>(px & 0xff), c.rgbBlue, tol);
        }
        EXPECT_FALSE(dec.Decode(20));
    }
}

// A truncated film or a wrong RIFF size is refused by the size check.
TEST(VideoFilmTest, RiffSizeCheckFindsIncompleteFilms) {
    const std::string path = TmpPath("whole.avi");
    ASSERT_EQ(WriteFilm(path, TestFilm(16, 16, 16), 3, 0), AVIERR_OK);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    struct Row {
        const char* label;
        std::string data;
        bool ok;
    } rows[] = {{"whole", bytes, true},
                {"cut short", bytes.substr(0, bytes.size() - 100), false},
                {"RIFF size off", bytes.substr(0, 4) + std::string("\x10\x00\x00\x00", 4) + bytes.substr(8), false},
                {"not AVI", "hello", false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string p = TmpPath("check.avi");
        std::ofstream(p, std::ios::binary) << r.data;
        EXPECT_EQ(AviCheckRiffSizes(p.c_str()).IsEmpty(), r.ok) << AviCheckRiffSizes(p.c_str()).GetString();
    }
}

// A frame the file takes no more of is no frame of the film, written at once or by the encoder's
// thread after the call returned: the stream's length leaves it out and the film is left
// unfinished. Before, the frame counted though it never reached the file.
TEST(VideoFilmTest, AFrameTheFileRefusedIsNotCounted) {
    struct sigaction ignore {}, old {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &old);
    rlimit was{};
    getrlimit(RLIMIT_FSIZE, &was);
    const struct {
        const char* label;
        DWORD handler;
    } rows[] = {{"raw", 0}, {"compressed", kMSVC}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string path = TmpPath(std::string("refused_") + r.label + ".avi");
        std::filesystem::remove(path);
        const rlimit small{1024, was.rlim_max};  // less than the headers and one frame
        setrlimit(RLIMIT_FSIZE, &small);
        LONG length = -1;
        WriteFilm(path, TestFilm(64, 48, 24), 1, r.handler, 8, &length);
        setrlimit(RLIMIT_FSIZE, &was);
        EXPECT_EQ(length, 0);
        EXPECT_FALSE(AviCheckRiffSizes(path.c_str()).IsEmpty());
    }
    sigaction(SIGXFSZ, &old, nullptr);
}

// The player shows the frame at its position over its parent window.
TEST(VideoPlayerTest, PlayerPaintsItsFrameOverTheParent) {
    const TestFilm t(60, 40, 24);
    const std::string path = TmpPath("player.avi");
    ASSERT_EQ(WriteFilm(path, t, 10, 0), AVIERR_OK);
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, nullptr, "host", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr));
    HWND h = MCIWndCreate(host.GetSafeHwnd(), nullptr, 0x5000400E, path.c_str());
    ASSERT_NE(h, nullptr);
    ::MoveWindow(h, 30, 20, 60, 40, FALSE);
    for (int k : {7, 2, 9}) {
        SCOPED_TRACE(k);
        ASSERT_EQ(MCIWndSeek(h, k), 0);
        CClientDC dc(&host);
        const COLORREF got = dc.GetPixel(30 + 25, 20 + 15);
        const RGBQUAD c = t.Colour(k);
        EXPECT_EQ(got, RGB(c.rgbRed, c.rgbGreen, c.rgbBlue));
        EXPECT_EQ(dc.GetPixel(5, 5), RGB(255, 255, 255));  // outside the player the parent is untouched
    }
    MCIWndDestroy(h);
    host.DestroyWindow();
}

// The libraries load on first use: one missing, or lacking an entry point, is named in the
// reason, with the package that provides it.
TEST(VideoLibraryTest, AMissingLibraryIsNamedInTheReason) {
    struct Row {
        const char* FfmpegLibraryNames::*which;
        const char* name;    // in place of the installed one
        const char* reason;  // a part of the reason, empty when they load
    } rows[] = {
        {&FfmpegLibraryNames::avutil, kFfmpegLibraries.avutil, ""},
        {&FfmpegLibraryNames::avutil, "libavutil-absent.so.57", "libavutil-absent.so.57: cannot open shared object file"},
        {&FfmpegLibraryNames::avformat, "libavformat-absent.so.59",
         "(the libavformat-absent59 package provides libavformat-absent.so.59)"},
        {&FfmpegLibraryNames::swscale, "libz.so.1", "libz.so.1 has no entry point sws_freeContext"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FfmpegLibraryNames names = kFfmpegLibraries;
        names.*row.which = row.name;
        std::string why;
        EXPECT_EQ(FfmpegProbeLibraries(names, why), !*row.reason);
        EXPECT_TRUE(*row.reason ? why.find(row.reason) != std::string::npos : why.empty()) << why;
    }
    std::string why;
    EXPECT_TRUE(FfmpegLoadLibraries(why)) << why;
}
