// Recording and playback of the animation engine, with a renderer that paints each frame's
// factor index k as a colour: the film's frames are decoded back to k, so the sample order,
// the Escape paths, the compressor choice, the failure path and playback are seen in the film
// and on the view as a user would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "module/animation/CAniCtrlBar.h"
#include "module/animation/CAnimationEngine.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/afxwin.h"
#include "platform/video/FilmDecoder.h"
#include "platform/video/MCIWnd.h"
#include "tests/CommandOutput.h"
#include "tests/module/animation/AnimationFixture.h"

namespace {

// Frame k painted as (51 (k mod 6), 51 (k div 6), 153): cube colours of the fixed palette, so
// every depth keeps them apart (RGB555 moves a level by at most 7).
COLORREF KColour(int k) { return RGB(51 * (k % 6), 51 * (k / 6), 153); }
int KOf(uint32_t bgra) {
    const int r = static_cast<int>((bgra >> 16) & 0xff), g = static_cast<int>((bgra >> 8) & 0xff);
    return (r + 25) / 51 + 6 * ((g + 25) / 51);
}


struct AviRecordFixture : AnimationViewFixture {
    void SetUp() override {
        AnimationViewFixture::SetUp();
        if (HasFatalFailure()) return;
        Ani().m_fnRenderFrame = [](CDC* pDC, int k) { pDC->FillSolidRect(0, 0, 4000, 4000, KColour(k)); };
    }
    // The recording as the view's record command makes it.
    void Record(int N, int bFull, int bits, int bCompress) {
        CAnimationEngine& a = Ani();
        a.m_nFramesPerHalfCycle = N;
        a.m_bFullCycle = bFull;
        a.m_nBitsPerPixel = bits;
        a.m_bCompress = bCompress;
        Model().m_bAnimation = 1;
        a.EnterAnimationMode();
        a.RecordAnimation();
    }
    // The factor index painted in each frame of the film.
    std::vector<int> FilmKs() {
        std::vector<int> ks;
        CFilmDecoder dec;
        std::string why;
        if (!dec.Open(Ani().m_strFinalPath.GetString(), why)) return ks;
        for (LONG i = 0; dec.Decode(i); ++i) ks.push_back(KOf(dec.Pixels()[static_cast<size_t>(dec.Width()) * 20 + 50]));
        return ks;
    }
};

// Film order of a recording, derived by hand from the cycle: half cycle 0..N then N..0; full
// cycle adds the second swing, whose frames carry k = 2N+3 .. 3N+2 (19..26 for N = 8), back
// and forth, and a closing 0.
TEST_F(AviRecordFixture, FilmHoldsTheFramesInCycleOrder) {
    const std::vector<int> half = {0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 7, 6, 5, 4, 3, 2, 1, 0};
    std::vector<int> full = half;
    for (int k : {19, 20, 21, 22, 23, 24, 25, 26, 26, 25, 24, 23, 22, 21, 20, 19, 0}) full.push_back(k);
    struct Row {
        const char* label;
        int bFull, bits, bCompress;
        const std::vector<int>& ks;
        const char* probe;  // ffprobe: codec, size, pixel format
    } rows[] = {
        {"half, 16 bits raw", 0, 16, 0, half, "rawvideo,101,50,rgb555le"},
        {"full, 24 bits raw", 1, 24, 0, full, "rawvideo,101,50,bgr24"},
        {"full, 8 bits raw", 1, 8, 0, full, "rawvideo,101,50,pal8"},
        {"full, Microsoft Video 1", 1, 24, 1, full, "msvideo1,104,52,rgb555le"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Record(8, r.bFull, r.bits, r.bCompress);
        EXPECT_EQ(Ani().m_bRecorded, 1);
        EXPECT_EQ(FilmKs(), r.ks);
        const std::string probe = testcmd::Output("ffprobe -v error -show_entries stream=codec_name,pix_fmt,width,height -of csv=p=0 '" +
                                        std::string(Ani().m_strFinalPath.GetString()) + "'");
        EXPECT_EQ(probe, std::string(r.probe) + "\n");
        EXPECT_FALSE(std::filesystem::exists(CAnimationEngine::TempPathOf(Ani().m_strFinalPath).GetString()))
            << "the temporary film is gone once the film plays";
        Ani().ExitAnimationMode();
    }
}

TEST(AviTempNameTest, TemporaryNameReplacesTheTrailingExtension) {
    struct Row {
        const char* final;
        const char* temp;
    } rows[] = {{"/t/~PVX123.AVI", "/t/~PVX123TMP.AVI"},
                {"/t/~PVX100.AVI", "/t/~PVX100TMP.AVI"},
                {"/t/film.avi", "/t/film.aviTMP.AVI"},  // only the characters . A V I are taken off
                {"/t/AVI.AVI", "/t/TMP.AVI"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.final);
        EXPECT_EQ(CAnimationEngine::TempPathOf(r.final), CString(r.temp));
    }
}

// Escape: polled once when recording starts (to forget an earlier press), then before each
// rendered frame (9 for N = 8, half cycle), which goes into the film as it is made, and before
// each sample written after them (the film's samples 9 to 17).
TEST_F(AviRecordFixture, EscapeEndsTheRecordingWithWhatIsDone) {
    struct Row {
        const char* label;
        int polls;          // PressEscapeAfterPolls, -1 none
        bool pressBefore;   // Escape tapped before the record command
        std::vector<int> ks;
        int recorded;
        int progressMax;    // range of the progress control when recording ended
    } rows[] = {
        {"before rendered frame 3", 1 + 3, false, {0, 1, 2}, 1, 3},
        {"while writing sample 14", 1 + 9 + 5, false, {0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 7, 6, 5, 4}, 1, 14},
        {"before the first frame", 1, false, {}, 0, -1},
        {"pressed before recording", -1, true, {0, 1, 2, 3, 4, 5, 6, 7, 8, 8, 7, 6, 5, 4, 3, 2, 1, 0}, 1, 18},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        if (r.pressBefore) {
            CUiDriver::Get().SetKeyDown(VK_ESCAPE, TRUE);
            CUiDriver::Get().SetKeyDown(VK_ESCAPE, FALSE);
        }
        CAnimationEngine& a = Ani();
        a.m_nFramesPerHalfCycle = 8;
        a.m_bFullCycle = 0;
        a.m_bCompress = 0;
        Model().m_bAnimation = 1;
        a.EnterAnimationMode();
        CUiDriver::Get().PressEscapeAfterPolls(r.polls);
        a.RecordAnimation();
        EXPECT_EQ(a.m_bRecorded, r.recorded);
        EXPECT_EQ(a.m_bAnimationMode, 1);
        if (r.recorded) {
            EXPECT_EQ(FilmKs(), r.ks);
            EXPECT_EQ(a.m_nPlayState, CAnimationEngine::PLAY_NORMAL);
            int lo = -1, hi = -1;
            a.m_pAniCtrlBar->m_wndSlider.GetRange(lo, hi);
            EXPECT_EQ(hi, r.progressMax) << "the slider takes the progress range";
        } else {
            EXPECT_EQ(a.m_hMCIWnd, nullptr) << "no film is played";
            EXPECT_EQ(a.m_pAniCtrlBar->m_wndMarquee.GetText(),
                      CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Recording_Failed__Please_Try_Again___", 0));
        }
        a.ExitAnimationMode();
        CUiDriver::Get().PressEscapeAfterPolls(-1);
    }
}

// The preferred compressor is found among those installed; without it the engine warns once,
// when it is made, and films are written uncompressed.
TEST_F(AviRecordFixture, CompressorChoiceFollowsTheInstalledList) {
    const DWORD cvid = mmioFOURCC('c', 'v', 'i', 'd'), msvc = mmioFOURCC('M', 'S', 'V', 'C');
    struct Row {
        const char* label;
        std::vector<std::pair<DWORD, const char*>> installed;
        DWORD handler;
        int bCompress;
        size_t warnings;
        const char* codec;
    } rows[] = {{"Cinepak and Microsoft Video 1", {{cvid, "Cinepak"}, {msvc, "Microsoft Video 1"}}, msvc, 1, 0, "msvideo1"},
                {"Cinepak only", {{cvid, "Cinepak"}}, 0, 0, 1, "rawvideo"},
                {"none", {}, 0, 0, 1, "rawvideo"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        ICRemoveAll();
        for (const auto& c : r.installed) ICInstall(c.first, "", c.second, c.first == msvc ? "msvideo1" : "");
        CUiDriver::Get().ClearMessageBoxes();
        CAnimationEngine e;
        EXPECT_EQ(CUiDriver::Get().MessageBoxes().size(), r.warnings);
        if (r.warnings) {
            EXPECT_EQ(CUiDriver::Get().MessageBoxes()[0].text,
                      CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Warning__the_Animation_Engine_failed_to_", 0));
        }
        EXPECT_EQ(e.m_bCompress, r.bCompress);
        EXPECT_EQ(e.m_CompressOptions.fccHandler, r.handler);
        EXPECT_EQ(e.m_CompressOptions.dwQuality, r.handler ? 10000u : 0u) << "untouched without a compressor";
        // The view's engine takes the same choice and records with it.
        Ani().m_CompressOptions = e.m_CompressOptions;
        Record(2, 0, 16, e.m_bCompress);
        EXPECT_EQ(testcmd::Output("ffprobe -v error -show_entries stream=codec_name -of csv=p=0 '" +
                        std::string(Ani().m_strFinalPath.GetString()) + "'"),
                  std::string(r.codec) + "\n");
        Ani().ExitAnimationMode();
    }
}

// Films that cannot be opened fail the recording: a temporary folder that cannot take files
// (the three-part message box), or settings naming a compressor that cannot compress (the
// message window). Either way no film, the marquee's failure text, animation mode still on.
TEST_F(AviRecordFixture, RecordingThatCannotOpenItsFilmsFailsWithAMessage) {
    const std::string notADir = dir + "plain_file";
    std::fclose(std::fopen(notADir.c_str(), "wb"));
    const CString boxText = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Animation__Cannot_Open_Create_Temporary_", 0) + "\n" +
                            CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Check_Temporary_Directory_", 0) + "\n" +
                            CString((notADir + "/").c_str()) + CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Exists_", 0);
    const CString lineText = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Animation__Making_Compressed_Stream_Fail", 0);
    struct Row {
        const char* label;
        bool badFolder;
        DWORD handler;  // compressor of the settings, with compression on; 0 off
        size_t boxes;
        bool line;      // the message window tells the compressed stream failed
    } rows[] = {{"unwritable temporary folder", true, 0, 1, false},
                {"compressor that cannot compress", false, mmioFOURCC('c', 'v', 'i', 'd'), 0, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SetTempDir(r.badFolder ? notADir + "/" : dir);
        ICInstall(mmioFOURCC('c', 'v', 'i', 'd'), "cvid", "Cinepak", "");
        Ani().m_CompressOptions.fccHandler = r.handler;
        CUiDriver::Get().ClearMessageBoxes();
        CMsgOutWnd::Clear();
        Record(8, 0, 16, r.handler ? 1 : 0);
        CAnimationEngine& a = Ani();
        ASSERT_EQ(CUiDriver::Get().MessageBoxes().size(), r.boxes);
        if (r.boxes) {
            EXPECT_EQ(CUiDriver::Get().MessageBoxes()[0].text, boxText);
            EXPECT_EQ(CUiDriver::Get().MessageBoxes()[0].type & MB_ICONSTOP, static_cast<UINT>(MB_ICONSTOP));
        }
        const std::vector<std::string> lines = CMsgOutWnd::GetLines();
        EXPECT_EQ(std::find(lines.begin(), lines.end(), std::string(lineText.GetString())) != lines.end(), r.line);
        EXPECT_EQ(a.m_bRecording, 0);
        EXPECT_EQ(a.m_bRecorded, 0);
        EXPECT_EQ(a.m_bAnimationMode, 1);
        EXPECT_EQ(a.m_pAniCtrlBar->m_wndMarquee.GetText(),
                  CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Recording_Failed__Please_Try_Again___", 0));
        EXPECT_EQ(AVIFileInitCount(), 0) << "the library is closed again";
        a.ExitAnimationMode();
    }
}

// Playback: state 3, both timers, the slider in the progress place with its range and half of
// it as page; the player shows the film over the view, the seeked frame pixel for pixel.
TEST_F(AviRecordFixture, PlaybackShowsTheFilmOverTheView) {
    Record(8, 1, 24, 0);
    CAnimationEngine& a = Ani();
    EXPECT_EQ(a.m_nPlayState, CAnimationEngine::PLAY_NORMAL);
    EXPECT_EQ(a.m_bTimer0, 1);
    EXPECT_EQ(a.m_bTimer1, 1);
    ASSERT_NE(a.m_hMCIWnd, nullptr);
    CSliderCtrl& slider = a.m_pAniCtrlBar->m_wndSlider;
    ASSERT_TRUE(slider.GetSafeHwnd());
    EXPECT_TRUE(slider.IsWindowVisible());
    EXPECT_FALSE(a.m_pAniCtrlBar->m_wndProgress.IsWindowVisible());
    int lo = -1, hi = -1;
    slider.GetRange(lo, hi);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, 35);  // 4N + 3 frames written
    EXPECT_EQ(slider.GetPageSize(), 17);
    EXPECT_EQ(slider.GetPos(), 0);
    // Film sample 17 is the half cycle's closing 0; 30 comes back through the second swing:
    // source frame 5N + 2 - 30 = 12, rendered with k = 2N + 2 + (12 - N) = 22.
    for (auto [pos, k] : {std::pair{17, 0}, std::pair{30, 22}, std::pair{8, 8}}) {
        SCOPED_TRACE(pos);
        ASSERT_EQ(MCIWndSeek(a.m_hMCIWnd, pos), 0);
        CClientDC dc(view);
        EXPECT_EQ(dc.GetPixel(50, 20), KColour(k));
        EXPECT_EQ(dc.GetPixel(100, 49), KColour(k));
    }
}

}  // namespace

namespace {

// The options dialog's compressor button: the compression dialog on a probe film in the
// temporary folder, which is gone afterwards; 1 when the choice carries compressor parameters.
TEST_F(AviRecordFixture, CompressorButtonAsksTheUserOverAProbeFilm) {
    const DWORD msvc = mmioFOURCC('M', 'S', 'V', 'C');
    struct Row {
        const char* label;
        int choice;  // drop-list index; -1 cancels
        bool writable;
        int result;
        DWORD handler;
    } rows[] = {{"Microsoft Video 1", 1, true, 1, msvc},
                {"full frames", 0, true, 0, 0},
                {"cancelled", -1, true, 0, 77},
                {"temporary folder cannot take the probe", 1, false, 0, 77}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        SetTempDir(r.writable ? dir : dir + "missing/");
        if (r.choice >= 0)
            CUiDriver::Get().QueueModal(IDD_AVISAVEOPTIONS, {[&](CUiDialogSession& s) {
                                            s.SelectComboIndex(IDC_AVISAVEOPTIONS_COMPRESSOR, r.choice);
                                            return IDOK;
                                        }});
        AVICOMPRESSOPTIONS opts{};
        opts.fccHandler = 77;
        EXPECT_EQ(Ani().ChooseCompressor(opts), r.result);
        EXPECT_EQ(opts.fccHandler, r.handler);
        EXPECT_FALSE(std::filesystem::exists(dir + "~CHSCMPSR.AVI"));
        EXPECT_EQ(AVIFileInitCount(), 0);
    }
}

}  // namespace
