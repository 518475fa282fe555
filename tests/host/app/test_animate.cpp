// pvxhost animate: the films it writes read back by ffprobe and by a RIFF walk of our own, the
// frame the slider shows against the film's own frame, and the refusals.
#include <gtest/gtest.h>
#include <fcntl.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "host/app/HostOutput.h"
#include "tests/host/app/HostRun.h"

namespace {

namespace fs = std::filesystem;

std::string CommandOutput(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof(buf), p)) out += buf;
        pclose(p);
    }
    return out;
}

// codec,width,height,pix_fmt,rate,frames as ffprobe counts them.
std::string Probe(const std::string& film) {
    std::string s = CommandOutput("ffprobe -v error -count_frames -select_streams v:0 -show_entries "
                          "stream=codec_name,pix_fmt,width,height,r_frame_rate,nb_read_frames -of csv=p=0 '" +
                          film + "'");
    while (!s.empty() && (s.back() == '\n' || s.back() == ',')) s.pop_back();
    return s;
}

// The stream format's size and the sizes of the first and last frame chunks, walked from the
// RIFF header by Python: "strf=40 first=15200 last=15200 count=35".
std::string RiffWalk(const std::string& film) {
    const std::string script =
        "import struct,sys\n"
        "d=open(sys.argv[1],'rb').read()\n"
        "out={}\n"
        "def walk(a,b):\n"
        "    while a+8<=b:\n"
        "        tag=d[a:a+4]; n=struct.unpack('<I',d[a+4:a+8])[0]\n"
        "        if tag in (b'RIFF',b'LIST'): walk(a+12,a+8+n)\n"
        "        elif tag==b'strf': out['strf']=n\n"
        "        elif tag[2:] in (b'db',b'dc'): out.setdefault('frames',[]).append(n)\n"
        "        a+=8+n+(n&1)\n"
        "walk(0,len(d))\n"
        "f=out.get('frames',[0])\n"
        "print('strf=%d first=%d last=%d count=%d'%(out.get('strf',0),f[0],f[-1],len(f)))\n";
    const std::string py = hostrun::kTmp + "/riffwalk" + hostrun::kPid + ".py";
    FILE* f = std::fopen(py.c_str(), "w");
    std::fputs(script.c_str(), f);
    std::fclose(f);
    std::string s = CommandOutput("/usr/bin/python3 '" + py + "' '" + film + "'");
    std::remove(py.c_str());
    while (!s.empty() && s.back() == '\n') s.pop_back();
    return s;
}

// PSNR in dB of a BMP against frame k of a film, over the BMP's size (the film may be padded).
double PsnrAgainstFrame(const std::string& bmp, const std::string& film, int k) {
    const std::string png = hostrun::kTmp + "/frame" + hostrun::kPid + ".png";
    CommandOutput("ffmpeg -v error -y -i '" + film + "' -vf 'select=eq(n\\," + std::to_string(k) +
          ")' -vsync 0 -frames:v 1 '" + png + "'");
    const std::string out = CommandOutput(
        "/usr/bin/python3 -c \"import math,sys\nfrom PIL import Image, ImageChops, ImageStat\n"
        "a=Image.open(sys.argv[1]).convert('RGB'); b=Image.open(sys.argv[2]).convert('RGB').crop((0,0)+a.size)\n"
        "m=sum(v*v for v in ImageStat.Stat(ImageChops.difference(a,b)).rms)/3\n"
        "print('inf' if m==0 else 10*math.log10(255*255/m))\" '" +
        bmp + "' '" + png + "'");
    std::remove(png.c_str());
    return out.rfind("inf", 0) == 0 ? 1e9 : std::atof(out.c_str());
}

struct AnimateTest : testing::Test {
    std::string dir;
    void SetUp() override {
        dir = hostrun::kTmp + "/animate" + hostrun::kPid;
        fs::remove_all(dir);
        fs::create_directories(dir + "/tmp");
        // The module's temporary films go to a folder of the test's own.
        setenv("TMPDIR", (dir + "/tmp").c_str(), 1);
    }
    void TearDown() override {
        setenv("TMPDIR", PVX_TEST_TMPDIR, 1);
        fs::remove_all(dir);
    }
    hostrun::RunResult Animate(const std::string& args, const std::string& tag) {
        return hostrun::RunHost("animate --db '" + hostrun::SamplePath() + "' " + args, tag, 600);
    }
    bool TemporaryFolderEmpty() { return fs::is_empty(dir + "/tmp"); }
};

// Sizes by hand: rows of a DIB are padded to 4 bytes, so 221 pixels take 664 bytes at 24 bits,
// 444 at 16 and 224 at 8, times 50 rows; the 8-bit format carries 256 colours (40 + 1024).
// msvideo1 takes sizes in multiples of 4: 221x50 becomes 224x52. Frames: 4N+3 = 35 (full,
// N = 8), 2N+2 = 8 (half, N = 3). 221 pixels: the legend takes 180, the model the rest.
TEST_F(AnimateTest, FilmsHoldTheFramesOfTheirCycleInTheirFormat) {
    struct Row {
        const char* label;
        const char* args;
        const char* probe;
        const char* riff;  // nullptr: not walked (compressed frames vary in size)
    } rows[] = {
        {"preferred compressor", "--frames 8 --cycle full", "msvideo1,224,52,rgb555le,8/1,35", nullptr},
        {"24 bits raw", "--frames 8 --cycle full --compress none --bits 24 --fps 12", "rawvideo,221,50,bgr24,12/1,35",
         "strf=40 first=33200 last=33200 count=35"},
        {"16 bits raw", "--frames 8 --cycle full --compress none --bits 16", "rawvideo,221,50,rgb555le,8/1,35",
         "strf=40 first=22200 last=22200 count=35"},
        {"8 bits raw", "--frames 8 --cycle full --compress none --bits 8", "rawvideo,221,50,pal8,8/1,35",
         "strf=1064 first=11200 last=11200 count=35"},
        {"half cycle", "--frames 3 --compress none --bits 24", "rawvideo,221,50,bgr24,8/1,8",
         "strf=40 first=33200 last=33200 count=8"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string film = dir + "/f.avi";
        const hostrun::RunResult run = Animate(std::string("7201 --load DL --size 221x50 ") + r.args + " --out " + film, "film");
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_EQ(Probe(film), r.probe);
        if (r.riff) {
            EXPECT_EQ(RiffWalk(film), r.riff);
        }
        EXPECT_NE(run.out.find("Wrote " + film), std::string::npos) << run.out;
        EXPECT_TRUE(TemporaryFolderEmpty()) << "the module's films are gone after leaving animation mode";
    }
}

// The frame the slider is dragged to is the film's frame on the window: exactly for full
// frames, within the compressor's loss for Microsoft Video 1.
TEST_F(AnimateTest, SeekShowsTheRecordedFrameOverTheView) {
    struct Row {
        const char* label;
        const char* args;
        int k;
        double minPsnr;
    } rows[] = {
        {"raw, full swing", "--compress none --bits 24", 8, 1e9},
        {"raw, opposite swing", "--compress none --bits 24", 26, 1e9},
        {"msvideo1, at rest", "", 17, 30.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string film = dir + "/s.avi", pic = dir + "/s.bmp";
        const hostrun::RunResult run = Animate(std::string("7201 --load DL --size 400x300 --frames 8 --cycle full ") + r.args +
                                          " --out " + film + " --seek " + std::to_string(r.k) + " --picture " + pic,
                                      "seek");
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_GE(PsnrAgainstFrame(pic, film, r.k), r.minPsnr);
        if (r.minPsnr > 1e8) {
            // Not any frame: the rest frame differs from a swing.
            EXPECT_LT(PsnrAgainstFrame(pic, film, 0), 1e8);
        }
    }
}

// The compressor changes a film's bytes, never its picture: every frame of the msvideo1 film
// against the same frame of the raw 24-bit one, over the raw size (msvideo1 pads to multiples
// of 4). A view fitted to another drawing area gave 12.6 dB; the code's own loss leaves 35.
TEST_F(AnimateTest, CompressorKeepsThePicture) {
    struct Row {
        const char* label;
        int cx, cy;
    } rows[] = {{"multiples of 4", 400, 300}, {"padded", 401, 301}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string size = std::to_string(r.cx) + "x" + std::to_string(r.cy), c = dir + "/c.avi", raw = dir + "/r.avi";
        ASSERT_EQ(Animate("7201 --load DL --frames 3 --size " + size + " --out " + c, "msvc").code, 0);
        ASSERT_EQ(Animate("7201 --load DL --frames 3 --compress none --bits 24 --size " + size + " --out " + raw, "raw").code, 0);
        const std::string least = CommandOutput("ffmpeg -v error -i '" + c + "' -i '" + raw + "' -lavfi '[0:v]crop=" +
                                        std::to_string(r.cx) + ":" + std::to_string(r.cy) +
                                        ":0:0,format=rgb24[a];[1:v]format=rgb24[b];[a][b]psnr=stats_file=-' -f null - "
                                        "| sed -n 's/.*psnr_avg:\\([^ ]*\\).*/\\1/p' | sort -g | head -1");
        ASSERT_FALSE(least.empty());
        EXPECT_GE(std::atof(least.c_str()), 33.0) << least;
    }
}

TEST_F(AnimateTest, RefusesWhatCannotBeAnimated) {
    struct Row {
        const char* label;
        const char* args;
        int code;
        const char* message;
        long memory = 0;  // bytes of address space the run gets, when limited
    } rows[] = {
        {"reactions: no animation box", "7101 --load DL --out x.avi", 2, "has no animation box"},
        {"not a film name", "7201 --load DL --out x.bmp", 2, "avi"},
        {"frames below the dialog's range", "7201 --load DL --frames 2 --out x.avi", 2, "--frames"},
        {"rate above the dialog's range", "7201 --load DL --fps 61 --out x.avi", 2, "--fps"},
        {"seek without a picture", "7201 --load DL --seek 3 --out x.avi", 2, "--picture"},
        {"seek past the film", "7201 --load DL --frames 3 --seek 8 --picture p.bmp --out x.avi", 2, "frames 0 to 7"},
        {"an unknown button", "7201 --load DL --press play,rewind --out x.avi", 2, "no playback button \"rewind\""},
        // An allocation fails once the film is saved, before it is in place (PVXHOST_FAULT).
        {"allocation failure", "7201 --load DL --out x.avi", 1, "out of memory"},
#if !defined(__SANITIZE_ADDRESS__)
        // Before, the encoder's first frame ended the program (SIGSEGV) and left the recordings.
        // A large film, so that the limit lies above the program's start and below the film
        // however many helpers the machine's load leaves (a 1920x1080 film fitted when none).
        {"too little memory for the encoder", "7301 --load DL --frames 3 --size 3200x2400 --out x.avi", 1, "memory",
         390L << 20},
        // Before, "FFmpeg is not available" and a hint about the temporary folder.
        {"too little memory to map FFmpeg", "7301 --load DL --frames 3 --size 4000x3000 --out x.avi", 1,
         "not enough memory to create the animation file", 300L << 20},
#endif
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        std::string args = r.args;
        for (const char* name : {"x.avi", "x.bmp", "p.bmp"}) {
            const size_t at = args.find(name);
            if (at != std::string::npos) args.replace(at, std::strlen(name), dir + "/" + name);
        }
        if (r.code == 1 && !r.memory) setenv("PVXHOST_FAULT", "animate-commit", 1);
        std::istringstream words("animate --db " + hostrun::SamplePath() + " " + args);
        const hostrun::RunResult run = r.memory ? hostrun::RunHostWithMemoryLimit({std::istream_iterator<std::string>(words), {}},
                                                                r.memory, "refuse")
                                       : Animate(args + " --size 221x50", "refuse");
        unsetenv("PVXHOST_FAULT");
        EXPECT_EQ(run.code, r.code);
        EXPECT_NE(run.err.find(r.message), std::string::npos) << run.err;
        // No film, neither the target nor its temporary file beside it nor the module's films.
        for (const auto& e : fs::directory_iterator(dir)) EXPECT_EQ(e.path().filename(), "tmp");
        EXPECT_TRUE(TemporaryFolderEmpty());
    }
}

// Four recordings at once, each in its own temporary folder: all done, each film the solo one.
TEST_F(AnimateTest, RecordingsRunSideBySide) {
    const std::string args = "7201 --load DL --size 320x240 --frames 30 --out " + dir + "/";
    // The recordings of a run that died go with a later run (its folder marked as it leaves it),
    // the compressor probe's film among them; a folder of the user's named as a run's stays with
    // all in it (before, it went, recursively); a run's folder holding something else keeps its
    // mark (before, it lost it and stayed for good).
    const std::string tmp = dir + "/tmp/pvxhost-animate.", dead = tmp + "DeAd01", mine = tmp + "mydata", kept = tmp + "DeAd02";
    for (const std::string& d : {dead, mine, kept}) {
        fs::create_directories(d + "/data");
        std::ofstream(d + "/~PVX100.AVI") << "film";
        std::ofstream(d + "/~CHSCMPSR.AVI") << "probe";
        fs::last_write_time(d, fs::file_time_type::clock::now() - std::chrono::hours(1));
    }
    for (const std::string& d : {dead, kept})
        std::ofstream(d + "/.pvxhost-run") << "pvxhost animate run\n" << HostFileIdentity(AT_FDCWD, d) << "\n";
    fs::remove(dead + "/data");
    ASSERT_EQ(Animate(args + "solo.avi", "solo").code, 0);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_TRUE(fs::exists(mine + "/data") && fs::exists(mine + "/~PVX100.AVI"));
    EXPECT_TRUE(fs::exists(kept + "/data") && fs::exists(kept + "/.pvxhost-run"));
    EXPECT_FALSE(fs::exists(kept + "/~PVX100.AVI") || fs::exists(kept + "/~CHSCMPSR.AVI"));
    std::vector<hostrun::RunResult> results(4);
    std::vector<std::thread> runs;
    for (int i = 0; i < 4; ++i)
        runs.emplace_back([&, i] { results[i] = Animate(args + std::to_string(i) + ".avi", "side" + std::to_string(i)); });
    for (int i = 0; i < 4; ++i) {
        runs[i].join();
        EXPECT_EQ(results[i].code, 0) << results[i].err;
        EXPECT_TRUE(hostrun::ReadFile(dir + "/" + std::to_string(i) + ".avi") == hostrun::ReadFile(dir + "/solo.avi")) << i;
    }
}

// The buttons on an 18-frame film (N = 8, half cycle, 8 frames a second), the player at once and
// half a second later: stop and jump back at the start, jump forward at the end (18); play
// starts at the next tick of the play timer (2 frames in the quarter second after it); pause
// holds and, pressed again, resumes; fast plays forward at double speed, replay backward.
TEST_F(AnimateTest, PlaybackButtonsDriveThePlayer) {
    const hostrun::RunResult run = Animate("7201 --load DL --size 221x50 --out " + dir +
                                      "/p.avi --press stop,play,pause,pause,jump-forward,jump-back,fast,replay",
                                  "press");
    ASSERT_EQ(run.code, 0) << run.err;
    const char* expected[] = {
        "stop (42017): stopped, position 0 of 0..18, slider 0; half a second later stopped, position 0",
        "play (42015): stopped, position 0 of 0..18, slider 0; half a second later playing at speed 1000, position 2",
        "pause (42016): paused, position 2 of 0..18, slider 2; half a second later paused, position 2",
        "pause (42016): paused, position 2 of 0..18, slider 2; half a second later playing at speed 1000, position 4",
        "jump-forward (42021): stopped, position 18 of 0..18, slider 18;",
        "jump-back (42018): stopped, position 0 of 0..18, slider 0;",
        "fast (42020): paused, position 2 of 0..18, slider 2; half a second later playing at speed 2000, position 6",
        "replay (42051): paused, position 6 of 0..18, slider 6; half a second later playing at speed 2000, position 2",
    };
    for (const char* e : expected) EXPECT_NE(run.out.find(std::string("\npress ") + e), std::string::npos) << e;
}

// A time-history film stands still (FFmpeg: one picture); the contour box acts on force contours only.
TEST_F(AnimateTest, SaysWhyAFilmLooksAsItDoes) {
    hostrun::RunResult run = Animate("7201 --load THX --contour 0 --size 221x50 --out " + dir + "/th.avi", "still");
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("The film stands still: its 18 frames are alike, since THX is a time-history case"),
              std::string::npos);
    EXPECT_NE(run.err.find("--contour has no effect on result 7201"), std::string::npos) << run.err;
    EXPECT_EQ(CommandOutput("ffmpeg -v error -i '" + dir + "/th.avi' -f framemd5 - | grep -v '^#' | cut -d, -f6 | sort -u | wc -l"),
              "1\n");
    for (const char* c : {"0", "1"})
        ASSERT_EQ(Animate(std::string("7301 --load DL --frames 3 --compress none --bits 24 --size 400x300 --contour ") + c +
                              " --out " + dir + "/c" + c + ".avi", "contour").code, 0);
    EXPECT_TRUE(hostrun::ReadFile(dir + "/c0.avi") != hostrun::ReadFile(dir + "/c1.avi")) << "the contour box changed nothing";
}

}  // namespace
