// The animation engine's frame factor and animation mode, its tool bar and its options dialog.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "host/base/CMsgDll.h"
#include "module/animation/CPVXAnimDetDlg.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "module/contour/CContourDetDlg.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CComboBox.h"
#include "platform/video/MCIWnd.h"
#include "tests/module/animation/AnimationFixture.h"
#include "tests/module/view/ViewTestSupport.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> FilmNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string ReadText(const std::string& path) {
    std::ifstream f(path);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

}  // namespace

// The triangle wave with P = N + 1 frames a quarter, N = 8, worked by hand from q = k / 9 and
// r = k mod 9: q 0 gives k/8, q 1 (8 - r)/8, q 2 +-r/8, q 3 +-(8 - r)/8, q >= 4 arg/8.
TEST_F(AnimationViewFixture, FrameFactorRunsTheWaveOnlyWhileRecording) {
    struct Row {
        const char* label;
        int bAnimation, bRecording, bAmplitudeOff, N, k;
        double signed0, positive1;
    } rows[] = {
        {"animation flag clear", 0, 1, 0, 8, 20, 1.0, 1.0},
        {"not recording", 1, 0, 0, 8, 20, 1.0, 1.0},
        {"time-history load: no amplitude", 1, 1, 1, 8, 20, 1.0, 1.0},
        {"k 0: at rest", 1, 1, 0, 8, 0, 0.0, 0.0},
        {"k 4: half way up", 1, 1, 0, 8, 4, 0.5, 0.5},
        {"k 8: full swing", 1, 1, 0, 8, 8, 1.0, 1.0},
        {"k 9: q 1, r 0", 1, 1, 0, 8, 9, 1.0, 1.0},
        {"k 17: back at rest", 1, 1, 0, 8, 17, 0.0, 0.0},
        {"k 20: q 2, r 2", 1, 1, 0, 8, 20, -0.25, 0.25},
        {"k 26: q 2, r 8", 1, 1, 0, 8, 26, -1.0, 1.0},
        {"k 27: q 3, r 0", 1, 1, 0, 8, 27, -1.0, 1.0},
        {"k 36: q 4", 1, 1, 0, 8, 36, 0.0, 0.125},
        // An archived record with no frames reads as one frame a half cycle: k 1 is the peak.
        {"N 0 read as 1", 1, 1, 0, 0, 1, 1.0, 1.0},
        {"N -1 read as 1: k 5 is q 2, r 1", 1, 1, 0, -1, 5, -1.0, 1.0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Model().m_bAnimation = r.bAnimation;
        Model().m_bAmplitudeOff = r.bAmplitudeOff;
        Ani().m_bRecording = r.bRecording;
        Ani().m_nFramesPerHalfCycle = r.N;
        Ani().m_nCurFrame = r.k;
        EXPECT_DOUBLE_EQ(Ani().GetAnimationFactor(0), r.signed0);
        EXPECT_DOUBLE_EQ(Ani().GetAnimationFactor(1), r.positive1);
    }
    Ani().m_bRecording = 0;
    Model().m_bAnimation = 0;
}

// Film lengths by hand: 2N + 2 half, 4N + 3 full; the rate is never 0.
TEST_F(AnimationViewFixture, ArchivedCountsAreGuarded) {
    struct Row {
        const char* label;
        int N, fps, full;
        int frames, rendered, rate;
    } rows[] = {
        {"defaults", 8, 8, 0, 18, 9, 8},
        {"full cycle", 8, 8, 1, 35, 17, 8},
        {"no frames, no rate", 0, 0, 1, 7, 3, 1},
        {"negative", -1, -5, 0, 4, 2, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Ani().m_nFramesPerHalfCycle = r.N;
        Ani().m_nFramesPerSecond = r.fps;
        Ani().m_bFullCycle = r.full;
        EXPECT_EQ(Ani().FilmFrameCount(), r.frames);
        EXPECT_EQ(Ani().RenderedFrameCount(), r.rendered);
        EXPECT_EQ(Ani().FramesPerSecond(), r.rate);
    }
}

TEST_F(AnimationViewFixture, EnteringReservesAFreeFilmNameAndLeavingDeletesIt) {
    for (int n = 100; n <= 104; ++n) WriteText(dir + "~PVX" + std::to_string(n) + ".AVI", "other program");
    const std::string own = dir + "~PVX105.AVI";
    struct Step {
        const char* label;
        int enter;  // 1 enter, 0 exit
        bool ownExists;
        int mode;
    } steps[] = {
        {"enter: the first free name", 1, true, 1},
        {"entered again: the earlier film released, the name taken again", 1, true, 1},
        {"exit deletes it", 0, false, 0},
        {"enter again", 1, true, 1},
        {"exit again", 0, false, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.label);
        if (s.enter) {
            Model().m_bAnimation = 1;
            Ani().EnterAnimationMode();
        } else {
            Ani().ExitAnimationMode();
        }
        EXPECT_EQ(fs::exists(own), s.ownExists);
        if (s.ownExists) {
            EXPECT_EQ(fs::file_size(own), 0u) << "an empty reservation";
            EXPECT_EQ(Ani().m_strFinalPath, own.c_str());
        } else {
            EXPECT_TRUE(Ani().m_strFinalPath.IsEmpty());
        }
        EXPECT_EQ(Ani().m_bAnimationMode, s.mode);
        EXPECT_EQ(FilmNames(dir).size(), s.ownExists ? 6u : 5u) << "never more than one film of ours";
        for (int n = 100; n <= 104; ++n) EXPECT_EQ(ReadText(dir + "~PVX" + std::to_string(n) + ".AVI"), "other program");
    }
    EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty());
}

TEST_F(AnimationViewFixture, AllNamesTakenIsRefusedAndNoForeignFilmIsTouched) {
    for (int n = 100; n <= 999; ++n) WriteText(dir + "~PVX" + std::to_string(n) + ".AVI", std::to_string(n));
    Model().m_bAnimation = 1;
    Ani().EnterAnimationMode();
    ASSERT_EQ(CUiDriver::Get().MessageBoxes().size(), 1u) << "the user is told";
    EXPECT_NE(CUiDriver::Get().MessageBoxes()[0].text.Find("~PVX100.AVI"), -1);
    EXPECT_TRUE(Ani().m_strFinalPath.IsEmpty()) << "no name of another program is taken over";
    Ani().ExitAnimationMode();
    for (int n : {100, 555, 999}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(ReadText(dir + "~PVX" + std::to_string(n) + ".AVI"), std::to_string(n));
    }
    EXPECT_EQ(FilmNames(dir).size(), 900u);
}

TEST_F(AnimationViewFixture, ModeShowsTheBarWithItsPromptAndStoppingResetsPlayback) {
    Model().m_bAnimation = 1;
    Ani().EnterAnimationMode();
    CAniCtrlBar& bar = Bar();
    ASSERT_TRUE(bar.GetSafeHwnd()) << "the bar is made on the view's frame";
    EXPECT_TRUE(bar.IsWindowVisible());
    EXPECT_EQ(bar.m_pDockSite, frame);
    EXPECT_EQ(bar.m_wndMarquee.GetText(), CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Press_Record_Button", 0));
    EXPECT_EQ(bar.m_wndMarquee.IsScrolling(), 1);
    EXPECT_EQ(bar.m_wndMarquee.GetDlgCtrlID(), 11257);
    EXPECT_EQ(bar.m_wndMarquee.GetScrollStep(), 4);
    EXPECT_DOUBLE_EQ(bar.m_wndMarquee.GetScrollPeriod(), 0.25);
    int lo = -1, hi = -1;
    bar.m_wndProgress.GetRange(lo, hi);
    EXPECT_EQ(hi, 9) << "N + 1 frames are rendered for a half cycle of 8";

    // A playing film: stopping kills both timers, closes the film and shows the progress at 0.
    Ani().m_bRecorded = 1;
    Ani().m_bTimer0 = Ani().m_bTimer1 = 1;
    view->SetTimer(CAnimationEngine::TIMER_PLAY, 250);
    view->SetTimer(CAnimationEngine::TIMER_SLIDER, 10);
    Ani().m_hMCIWnd = MCIWndCreate(view->GetSafeHwnd(), nullptr, 0x5000400E, Ani().m_strFinalPath);
    bar.ShowSlider();
    bar.m_wndProgress.SetPos(5);
    Ani().StopAnimation();
    EXPECT_EQ(Ani().m_bTimer0 + Ani().m_bTimer1, 0);
    EXPECT_EQ(Model().m_bAnimation, 0);
    EXPECT_EQ(Ani().m_bRecorded + Ani().m_bRecording, 0);
    EXPECT_EQ(Ani().m_hMCIWnd, nullptr);
    EXPECT_TRUE(bar.m_wndProgress.IsWindowVisible());
    EXPECT_FALSE(bar.m_wndSlider.IsWindowVisible());
    EXPECT_EQ(bar.m_wndProgress.GetPos(), 0);
    EXPECT_EQ(Ani().m_bAnimationMode, 1) << "stopping keeps animation mode";

    Ani().ExitAnimationMode();
    EXPECT_FALSE(bar.IsWindowVisible()) << "leaving hides the bar";
    ASSERT_FALSE(frame->m_controlBarCalls.empty());
    EXPECT_EQ(frame->m_controlBarCalls.back().bShow, FALSE);
}

// The bar of resource 10611: ten 23-pixel buttons (16 + 7), four 8-pixel separators and the two
// places of 200 pixels: 10 x 23 + 4 x 8 + 2 x 200 = 662 pixels in one row.
TEST_F(AnimationViewFixture, ToolBarPlacesItsSlotsAndCentresItsRow) {
    Model().m_bAnimation = 1;
    Ani().EnterAnimationMode();
    CAniCtrlBar& bar = Bar();
    const std::vector<UINT> ids = {42015, 42016, 42017, 0, 42018, 42051, 42020, 42021,
                                   0,     42059, 0,     42060, 0, 42022, 42023, 42024};
    ASSERT_EQ(bar.GetCount(), static_cast<int>(ids.size()));
    int total = 0;
    for (int i = 0; i < bar.GetCount(); ++i) {
        SCOPED_TRACE(i);
        const CBCGPToolBar::Item& item = bar.GetItem(i);
        EXPECT_EQ(item.nID, ids[static_cast<size_t>(i)]);
        const bool slot = item.nID == 42059 || item.nID == 42060;
        EXPECT_EQ(item.bSeparator != FALSE, slot || item.nID == 0);
        EXPECT_EQ(item.nWidth, slot ? 200 : item.nID ? 23 : 8);
        total += item.nWidth;
    }
    EXPECT_EQ(total, 662);
    EXPECT_EQ(bar.GetItem(bar.CommandToIndex(42015)).strTip, "播放") << "the tip after the line feed";

    struct Row {
        const char* label;
        int width;
        int firstLeft;  // half the free width, truncated, when at least 1
    } rows[] = {
        {"free 11: shifted 5", 673, 5},
        {"free 1: not shifted", 663, 0},
        {"free 0", 662, 0},
        {"free 100: shifted 50", 762, 50},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        bar.MoveWindow(0, 0, r.width, 30, FALSE);
        EXPECT_EQ(bar.GetItem(0).rect.left, r.firstLeft);
        EXPECT_EQ(bar.GetItem(bar.GetCount() - 1).rect.right, r.firstLeft + 662);
        CRect slot, marquee;
        bar.GetItemRect(bar.CommandToIndex(42059), &slot);
        bar.m_wndMarquee.GetWindowRect(&marquee);
        bar.ScreenToClient(&marquee);
        EXPECT_EQ(marquee, slot) << "the marquee follows its place";
    }
}

TEST_F(AnimationViewFixture, MovingTheSliderStopsTheFilmAtThatFrame) {
    Model().m_bAnimation = 1;
    Ani().EnterAnimationMode();
    CAniCtrlBar& bar = Bar();
    bar.ShowSlider();
    bar.m_wndSlider.SetRange(0, 34);
    // A film of 35 frames played by a media window over the view.
    const std::string film = viewtest::WriteFilm("slider.avi", 35, 8, 16, 8);
    Ani().m_hMCIWnd = MCIWndCreate(view->GetSafeHwnd(), nullptr, 0x5000400E, film.c_str());
    ASSERT_TRUE(::IsWindow(Ani().m_hMCIWnd));
    struct Row {
        const char* label;
        int state;
        bool playing;
        int pos;
        int stateAfter;
    } rows[] = {
        {"playing: stopped at the frame", 3, true, 17, 0},
        {"fast: stopped", 4, true, 9, 0},
        {"paused by the user: stays paused", 1, false, 26, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        Ani().m_nPlayState = r.state;
        if (r.playing) {
            MCIWndPlay(Ani().m_hMCIWnd);
            bar.m_wndMarquee.StartScrolling(1);
        }
        ASSERT_TRUE(ui::SliderUserMove(bar.m_wndSlider.GetSafeHwnd(), r.pos));
        EXPECT_EQ(Ani().m_nPlayState, r.stateAfter);
        EXPECT_NE(MCIWndGetMode(Ani().m_hMCIWnd, nullptr, 0), MCI_MODE_PLAY);
        EXPECT_EQ(MCIWndGetPosition(Ani().m_hMCIWnd), r.pos) << "the film shows the chosen frame";
        if (r.playing) {
            EXPECT_EQ(bar.m_wndMarquee.IsScrolling(), 0);
        }
    }
    MCIWndDestroy(Ani().m_hMCIWnd);
    Ani().m_hMCIWnd = nullptr;
    std::remove(film.c_str());
}

// ---- the options dialog ----------------------------------------------------------------------

struct AnimDetFixture : AnimationViewFixture {
    T_PVX_BAR_INFO info;
    CString Text(CUiDialogSession& s, UINT id) {
        CString t;
        s.Dialog()->GetDlgItem(static_cast<int>(id))->GetWindowText(t);
        return t;
    }
};

TEST_F(AnimDetFixture, OpensWithTheRecordAndStoresWhatWasSet) {
    using D = CPVXAnimDetDlg;
    struct Row {
        const char* label;
        int bits;          // record before
        int listIndex;     // shown
        int chooseIndex;   // chosen
        int bitsAfter;
        int compress;      // the record's compress switch
        bool optionsCopied;
    } rows[] = {
        {"8 bits shown first, 24 chosen", 8, 0, 2, 24, 0, false},
        {"16 bits shown second, 8 chosen", 16, 1, 0, 8, 1, true},
        {"24 bits shown third, 16 chosen", 24, 2, 1, 16, 1, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        info = T_PVX_BAR_INFO{};
        info.nBitsPerPixel = r.bits;
        info.nRepeatMode = 1;
        info.nFramesPerHalfCycle = 12;
        info.nFramesPerSecond = 25;
        info.bAnimateContour = 0;
        info.bCompress = r.compress;
        D dlg(nullptr);
        dlg.m_pView = nullptr;  // no view: nothing applied, only the record edited
        dlg.m_pBarInfo = &info;
        dlg.m_CompressOptions.fccHandler = 0x12345678;  // what the compressor button would leave
        bool seen = false;
        CUiDriver::Get().QueueModal(D::IDD, {[&](CUiDialogSession& s) -> int {
            seen = true;
            auto* list = dynamic_cast<CComboBox*>(s.Dialog()->GetDlgItem(D::IDC_COLOR_DEPTH));
            EXPECT_EQ(list->GetCurSel(), r.listIndex);
            EXPECT_EQ(list->GetCount(), 3);
            EXPECT_FALSE(s.Dialog()->GetDlgItem(D::IDC_COMPRESS)->IsWindowEnabled());
            EXPECT_EQ(s.Dialog()->IsDlgButtonChecked(D::IDC_FULL_CYCLE), 1u);
            EXPECT_EQ(s.Dialog()->IsDlgButtonChecked(D::IDC_ANIMATE_CONTOUR), 0u);
            EXPECT_EQ(Text(s, D::IDC_FRAMES), "12");
            EXPECT_EQ(Text(s, D::IDC_FPS), "25");
            s.SelectComboIndex(D::IDC_COLOR_DEPTH, r.chooseIndex);
            s.SetCheck(D::IDC_HALF_CYCLE);
            s.SetCheck(D::IDC_ANIMATE_CONTOUR);
            s.SetControlText(D::IDC_FRAMES, "300");
            s.SetControlText(D::IDC_FPS, "5");
            return IDOK;
        }});
        // The dialog's own copy starts from the record; the test's value stands for a choice made.
        info.adwCompressOptions[1] = 0x12345678;
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_TRUE(seen);
        EXPECT_EQ(info.nBitsPerPixel, r.bitsAfter);
        EXPECT_EQ(info.nRepeatMode, 0);
        EXPECT_EQ(info.bAnimateContour, 1);
        EXPECT_EQ(info.nFramesPerHalfCycle, 300);
        EXPECT_EQ(info.nFramesPerSecond, 5);
        EXPECT_EQ(info.adwCompressOptions[1], 0x12345678u) << "the options go back unchanged";
    }
}

TEST_F(AnimDetFixture, RefusesCountsOutsideTheirLabelledRanges) {
    using D = CPVXAnimDetDlg;
    struct Row {
        const char* label;
        const char* frames;
        const char* fps;
        bool accepted;
    } rows[] = {
        {"lowest", "3", "5", true},       {"highest", "300", "60", true}, {"no frames", "0", "8", false},
        {"negative", "-1", "8", false},   {"2 frames", "2", "8", false},  {"301 frames", "301", "8", false},
        {"rate 0", "8", "0", false},      {"rate 4", "8", "4", false},    {"rate 61", "8", "61", false},
        {"no number", "abc", "8", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        info = T_PVX_BAR_INFO{};
        CUiDriver::Get().ClearMessageBoxes();
        D dlg(nullptr);
        dlg.m_pView = nullptr;
        dlg.m_pBarInfo = &info;
        CUiDriver::Get().QueueModal(D::IDD, {[&](CUiDialogSession& s) -> int {
            s.SetControlText(D::IDC_FRAMES, r.frames);
            s.SetControlText(D::IDC_FPS, r.fps);
            return IDOK;
        }});
        EXPECT_EQ(dlg.DoModal(), r.accepted ? IDOK : IDCANCEL);
        EXPECT_EQ(CUiDriver::Get().MessageBoxes().empty(), r.accepted) << "a refusal is told";
        if (!r.accepted) {
            EXPECT_EQ(info.nFramesPerHalfCycle, 8) << "the record keeps its values";
            EXPECT_EQ(info.nFramesPerSecond, 8);
        }
    }
}

TEST_F(AnimDetFixture, WithoutAPageOkAppliesToTheEngineAndEntersOrLeavesTheMode) {
    using D = CPVXAnimDetDlg;
    struct Row {
        const char* label;
        int bAnimation;
        int modeAfter;
    } rows[] = {
        {"animation on: entered", 1, 1},
        {"animation off: left", 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        info = T_PVX_BAR_INFO{};
        info.bCompress = 1;
        info.adwCompressOptions[1] = 0x3143534D;  // "MSC1" as a handler word
        Model().m_bAnimation = r.bAnimation;
        Ani().m_bAnimationMode = 1 - r.modeAfter;
        D dlg(nullptr);
        dlg.m_pView = view;
        dlg.m_pBarInfo = &info;
        CUiDriver::Get().QueueModal(D::IDD, {[&](CUiDialogSession& s) -> int {
            s.SetCheck(D::IDC_FULL_CYCLE);
            s.SelectComboIndex(D::IDC_COLOR_DEPTH, 2);
            s.SetControlText(D::IDC_FRAMES, "12");
            s.SetControlText(D::IDC_FPS, "30");
            return IDOK;
        }});
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(Ani().m_bFullCycle, 1);
        EXPECT_EQ(Ani().m_nBitsPerPixel, 24);
        EXPECT_EQ(Ani().m_nFramesPerHalfCycle, 12);
        EXPECT_EQ(Ani().m_nFramesPerSecond, 30);
        EXPECT_EQ(Ani().m_bCompress, 1);
        EXPECT_EQ(Ani().m_CompressOptions.fccHandler, 0x3143534Du);
        EXPECT_EQ(Ani().m_bAnimationMode, r.modeAfter);
        EXPECT_EQ(Ani().m_strFinalPath.IsEmpty(), r.modeAfter == 0) << "a film name only in animation mode";
        EXPECT_EQ(Model().m_bRedrawRequested, 0);
    }
}

TEST_F(AnimDetFixture, EnterMovesTheFocusExceptOnOkAndCancel) {
    using D = CPVXAnimDetDlg;
    struct Row {
        const char* label;
        UINT focus;
        WPARAM keyAfter;
    } rows[] = {
        {"frames edit", D::IDC_FRAMES, VK_TAB},
        {"colour list", D::IDC_COLOR_DEPTH, VK_TAB},
        {"OK", IDOK, VK_RETURN},
        {"Cancel", IDCANCEL, VK_RETURN},
    };
    info = T_PVX_BAR_INFO{};
    D dlg(nullptr);
    dlg.m_pView = nullptr;
    dlg.m_pBarInfo = &info;
    CUiDriver::Get().QueueModal(D::IDD, {[&](CUiDialogSession& s) -> int {
        for (const Row& r : rows) {
            SCOPED_TRACE(r.label);
            CWnd* target = s.Dialog()->GetDlgItem(static_cast<int>(r.focus));
            target->SetFocus();
            MSG msg{};
            msg.hwnd = target->GetSafeHwnd();
            msg.message = WM_KEYDOWN;
            msg.wParam = VK_RETURN;
            dlg.PreTranslateMessage(&msg);
            EXPECT_EQ(msg.wParam, r.keyAfter);
        }
        return IDCANCEL;
    }});
    dlg.DoModal();
}

// Leaving the result view's mode leaves animation mode (its film goes), and the view's
// show-bar command hides a shown bar and shows a hidden one.
TEST_F(AnimationViewFixture, ModeReturnLeavesAnimationAndTheBarCommandToggles) {
    Model().m_bAnimation = 1;
    Ani().EnterAnimationMode();
    ASSERT_TRUE(Bar().IsWindowVisible());
    struct Row {
        const char* label;
        bool visibleAfter;
    } rows[] = {{"hide", false}, {"show again", true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        view->SendMessage(WM_COMMAND, 42025, 0);
        EXPECT_EQ(Bar().IsWindowVisible() != FALSE, r.visibleAfter);
    }
    const std::string film = Ani().m_strFinalPath.GetString();
    ASSERT_TRUE(fs::exists(film));
    Model().PV_OnModeReturn();
    EXPECT_EQ(Ani().m_bAnimationMode, 0);
    EXPECT_FALSE(fs::exists(film)) << "the film goes with animation mode";
}

// The option dialogs (contour, Kriging contour, legend, deformation, numbers) redraw through one
// step after they apply: animation mode is entered while the model animates, and left when it
// does not but was entered.
TEST_F(AnimationViewFixture, OptionDialogsEnterOrLeaveAnimationModeAfterApplying) {
    struct Row {
        const char* label;
        int bAnimation;
        bool enterFirst;
        int modeAfter;
        bool filmAfter;
    } rows[] = {
        {"animating: entered", 1, false, 1, true},
        {"animating, already in the mode: entered again", 1, true, 1, true},
        {"not animating, in the mode: left", 0, true, 0, false},
        {"not animating, never entered: nothing to leave", 0, false, 0, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        if (r.enterFirst) {
            Model().m_bAnimation = 1;
            Ani().EnterAnimationMode();
        }
        Model().m_bAnimation = r.bAnimation;
        PVXDialogRedrawModel(&Model());
        EXPECT_EQ(Ani().m_bAnimationMode, r.modeAfter);
        EXPECT_EQ(!Ani().m_strFinalPath.IsEmpty() && fs::exists(Ani().m_strFinalPath.GetString()), r.filmAfter);
        EXPECT_LE(FilmNames(dir).size(), 1u) << "no film left behind by a re-entry";
        Ani().ExitAnimationMode();
    }
}
