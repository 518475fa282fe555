// The headless colour well: attaching to a dialog control, colour set and get, and the change
// notification a user's pick sends to the parent.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/CColorWell.h"
#include "platform/ui/CUiDriver.h"
#include "platform/ui/afxmsg.h"

namespace {

class WellParent : public CWnd {
public:
    std::vector<std::pair<WPARAM, LPARAM>> notes;
    afx_msg LRESULT OnWellChanged(WPARAM w, LPARAM l) {
        notes.emplace_back(w, l);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(WellParent, CWnd)
    ON_MESSAGE(WM_COLORWELL_CHANGED, OnWellChanged)
END_MESSAGE_MAP()

struct ColorWellFixture : testing::Test {
    WellParent parent;
    CWnd frame;  // the control the well takes over
    void SetUp() override {
        CUiDriver::Get().Reset();
        ASSERT_TRUE(parent.CreateEx(0, nullptr, "parent", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr));
        ASSERT_TRUE(frame.Create("STATIC", "CE", WS_CHILD | WS_VISIBLE, CRect(5, 5, 30, 20), &parent, 11140));
        frame.Detach();  // the window stays; a well will own it
    }
    void TearDown() override {
        if (parent.GetSafeHwnd()) parent.DestroyWindow();
        CUiDriver::Get().Reset();
    }
};

TEST_F(ColorWellFixture, AttachSetAndPickNotifiesTheParentOnlyForUserPicks) {
    CColorWell well;
    ASSERT_TRUE(well.Attach(11140, &parent, RGB(10, 20, 30)));
    EXPECT_EQ(well.GetColor(), RGB(10, 20, 30));
    EXPECT_EQ(well.GetDlgCtrlID(), 11140);
    well.SetColor(RGB(1, 1, 1));
    EXPECT_EQ(well.GetColor(), RGB(1, 1, 1));
    EXPECT_TRUE(parent.notes.empty()) << "setting from code sends nothing";

    EXPECT_TRUE(CColorWell::UserPick(::GetDlgItem(parent.GetSafeHwnd(), 11140), RGB(200, 0, 5)));
    EXPECT_EQ(well.GetColor(), RGB(200, 0, 5));
    ASSERT_EQ(parent.notes.size(), 1u);
    EXPECT_EQ(parent.notes[0].first, 11140u);
    EXPECT_EQ(static_cast<COLORREF>(parent.notes[0].second), RGB(200, 0, 5));

    well.EnableWindow(FALSE);
    EXPECT_FALSE(well.UserPick(RGB(9, 9, 9))) << "a disabled well cannot be picked";
    EXPECT_EQ(well.GetColor(), RGB(200, 0, 5));
    EXPECT_EQ(parent.notes.size(), 1u);
}

TEST_F(ColorWellFixture, RefusalsAreReportedNotFollowed) {
    struct Row {
        const char* label;
        UINT id;
    } rows[] = {{"no such control", 4242}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        CColorWell well;
        CUiDriver::Get().ClearErrors();
        EXPECT_FALSE(well.Attach(row.id, &parent, RGB(1, 2, 3)));
        EXPECT_FALSE(CUiDriver::Get().Errors().empty());
    }
    CColorWell well;
    ASSERT_TRUE(well.Attach(11140, &parent, 0));
    EXPECT_FALSE(well.Attach(11140, &parent, 0)) << "one well, one control";
    EXPECT_FALSE(CColorWell::UserPick(parent.GetSafeHwnd(), RGB(1, 1, 1))) << "the parent is no well";
    CColorWell loose;
    EXPECT_FALSE(loose.UserPick(RGB(1, 1, 1))) << "no window, no pick";
}

}  // namespace
