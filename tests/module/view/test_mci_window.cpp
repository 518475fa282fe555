// The media-player window: opening films, playback against the message clock, seeking, speed,
// and what it answers when there is no film.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/ui/afxwin.h"
#include "platform/video/MCIWnd.h"
#include "tests/module/view/ViewTestSupport.h"

namespace {

struct MciFixture : testing::Test {
    CWnd parent;
    void SetUp() override {
        CUiDriver::Get().Reset();
        CUiDriver::Get().UseVirtualClock(TRUE);
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr));
    }
    void TearDown() override {
        if (parent.GetSafeHwnd()) parent.DestroyWindow();
        CUiDriver::Get().Reset();
    }
    HWND Open(const std::string& path, DWORD style = WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR | MCIWNDF_NOERRORDLG) {
        return MCIWndCreate(parent.GetSafeHwnd(), nullptr, style, path.empty() ? nullptr : path.c_str());
    }
};

TEST_F(MciFixture, OpensFilmsAndExplainsWhatItCannotOpen) {
    const std::string notAvi = viewtest::TempPath("mci_not_avi.txt");
    if (FILE* f = std::fopen(notAvi.c_str(), "wb")) {
        std::fputs("plain text, not a film", f);
        std::fclose(f);
    }
    struct Row {
        const char* label;
        std::string path;
        LONG error;     // MCIWndGetError after creation
        LONG length;    // frames
        BOOL canPlay;
        BOOL reported;  // the window layer reported a failure
    } rows[] = {
        {"film of 50 frames", viewtest::WriteFilm("mci_50.avi", 50, 10), 0, 50, TRUE, FALSE},
        {"missing file", viewtest::TempPath("mci_missing.avi"), MCIERR_FILE_NOT_FOUND, 0, FALSE, TRUE},
        {"not an AVI file", notAvi, MCIERR_INVALID_FILE, 0, FALSE, TRUE},
        {"header without a frame rate", viewtest::WriteFilm("mci_nofps.avi", 50, 0), MCIERR_INVALID_FILE, 0, FALSE,
         TRUE},
        {"no file at all", "", 0, 0, FALSE, FALSE},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CUiDriver::Get().ClearErrors();
        HWND h = Open(r.path);
        ASSERT_NE(h, nullptr) << "the window is made even when its film cannot be opened";
        char text[256] = "";
        EXPECT_EQ(MCIWndGetError(h, text, sizeof text), r.error) << text;
        EXPECT_EQ(MCIWndGetLength(h), r.length);
        EXPECT_EQ(MCIWndCanPlay(h), r.canPlay);
        EXPECT_EQ(!CUiDriver::Get().Errors().empty(), r.reported != FALSE);
        if (r.reported) {
            EXPECT_NE(std::string(CUiDriver::Get().Errors().back().GetString()).find(r.path), std::string::npos)
                << "the report names the file";
        }
        if (!r.canPlay) {
            EXPECT_EQ(MCIWndPlay(h), MCIERR_DEVICE_NOT_READY);
            EXPECT_EQ(MCIWndGetMode(h, text, sizeof text), MCI_MODE_NOT_READY);
            EXPECT_STREQ(text, "not ready");
        }
        MCIWndDestroy(h);
        EXPECT_FALSE(::IsWindow(h));
        std::remove(r.path.c_str());
    }
}

TEST_F(MciFixture, WindowTakesTheFilmSizeUnlessToldToKeepItsOwn) {
    const std::string film = viewtest::WriteFilm("mci_size.avi", 10, 10, 200, 120);
    HWND h = Open(film);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(::GetParent(h), parent.GetSafeHwnd());
    CRect rc;
    ::GetClientRect(h, &rc);
    EXPECT_EQ(rc.Width(), 200);
    EXPECT_EQ(rc.Height(), 120);
    MCIWndDestroy(h);
    h = Open(film, WS_CHILD | MCIWNDF_NOAUTOSIZEWINDOW);
    ASSERT_NE(h, nullptr);
    ::GetClientRect(h, &rc);
    EXPECT_EQ(rc.Width(), 0) << "MCIWNDF_NOAUTOSIZEWINDOW keeps the size it was made with";
    MCIWndDestroy(h);
    CUiDriver::Get().ClearErrors();
    EXPECT_EQ(MCIWndCreate(nullptr, nullptr, WS_CHILD, film.c_str()), nullptr) << "a child needs a parent";
    EXPECT_FALSE(CUiDriver::Get().Errors().empty());
    std::remove(film.c_str());
}

TEST_F(MciFixture, PlaybackFollowsTheClockAtTheChosenSpeed) {
    // 100 frames at 10 frames per second: 1 s of normal playback moves 10 frames.
    const std::string film = viewtest::WriteFilm("mci_play.avi", 100, 10);
    HWND h = Open(film);
    ASSERT_NE(h, nullptr);
    enum Act { PLAY, REVERSE, PAUSE, RESUME, STOP, SEEK, SPEED, DAMAGE };
    struct Step {
        const char* label;
        Act act;
        LONG arg;
        LONG result;   // what the command answers
        DWORD wait;    // milliseconds on the clock after the command
        LONG pos;
        LONG mode;
        LONG error = 0;  // MCIWndGetError then, when not the command's own answer
    } steps[] = {
        {"play", PLAY, 0, 0, 1000, 10, MCI_MODE_PLAY},
        {"double speed", SPEED, 2000, 0, 1000, 30, MCI_MODE_PLAY},
        {"pause holds the position", PAUSE, 0, 0, 1000, 30, MCI_MODE_PAUSE},
        {"resume keeps the speed", RESUME, 0, 0, 500, 40, MCI_MODE_PLAY},
        {"reverse", REVERSE, 0, 0, 1000, 20, MCI_MODE_PLAY},
        {"stop", STOP, 0, 0, 1000, 20, MCI_MODE_STOP},
        {"resume when not paused", RESUME, 0, MCIERR_NONAPPLICABLE_FUNCTION, 0, 20, MCI_MODE_STOP},
        {"seek to a frame", SEEK, 95, 0, 0, 95, MCI_MODE_STOP},
        {"play runs out at the end", PLAY, 0, 0, 1000, 100, MCI_MODE_STOP},
        {"play from the end starts again", PLAY, 0, 0, 0, 0, MCI_MODE_PLAY},
        {"seek to the start stops", SEEK, MCIWND_START, 0, 0, 0, MCI_MODE_STOP},
        {"reverse from the start starts at the end", REVERSE, 0, 0, 500, 90, MCI_MODE_PLAY},
        {"seek to the end", SEEK, MCIWND_END, 0, 0, 100, MCI_MODE_STOP},
        {"seek outside the film", SEEK, 101, MCIERR_OUTOFRANGE, 0, 100, MCI_MODE_STOP},
        {"speed 0 is refused", SPEED, 0, MCIERR_OUTOFRANGE, 0, 100, MCI_MODE_STOP},
        {"normal speed", SPEED, 1000, 0, 0, 100, MCI_MODE_STOP},
        {"reverse runs out at the start", REVERSE, 0, 0, 20000, 0, MCI_MODE_STOP},
        {"the film loses its second half", DAMAGE, 0, 0, 0, 0, MCI_MODE_STOP},
        {"a frame it cannot read stops the film there", PLAY, 0, 0, 6000, 60, MCI_MODE_STOP, MCIERR_INVALID_FILE},
        {"played again, it stops there again", PLAY, 0, 0, 0, 60, MCI_MODE_STOP, MCIERR_INVALID_FILE},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        LONG r = -1;
        switch (s.act) {
        case PLAY: r = MCIWndPlay(h); break;
        case REVERSE: r = MCIWndPlayReverse(h); break;
        case PAUSE: r = MCIWndPause(h); break;
        case RESUME: r = MCIWndResume(h); break;
        case STOP: r = MCIWndStop(h); break;
        case SEEK: r = MCIWndSeek(h, s.arg); break;
        case SPEED: r = MCIWndSetSpeed(h, static_cast<int>(s.arg)); break;
        case DAMAGE: std::filesystem::resize_file(film, std::filesystem::file_size(film) / 2), r = 0; break;
        }
        EXPECT_EQ(r, s.result);
        CUiDriver::Get().AdvanceTime(s.wait);
        EXPECT_EQ(MCIWndGetPosition(h), s.pos);
        char text[32] = "";
        EXPECT_EQ(MCIWndGetMode(h, text, sizeof text), s.mode) << text;
        EXPECT_EQ(MCIWndGetError(h, text, sizeof text), s.error ? s.error : s.result) << text;
    }
    EXPECT_EQ(CUiDriver::Get().Errors().size(), 1u) << "the frame is reported once";
    EXPECT_EQ(MCIWndGetSpeed(h), 1000);
    MCIWndDestroy(h);
    std::remove(viewtest::TempPath("mci_play.avi").c_str());
}

}  // namespace
