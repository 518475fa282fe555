// The host's base services: string loader, message window, loading status, preferences, key
// sets and the request journal.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "host/base/CArrayUtil.h"
#include "host/base/CHostPreferences.h"
#include "host/base/CHostRequestLog.h"
#include "host/base/CLoadingStatus.h"
#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "platform/ui/CWinApp.h"
#include "tests/host/base/KeyListSupport.h"

namespace {

TEST(CMsgDllTest, RegisteredTablesResolveKeysNewestFirst) {
    static const CMsgDll::StringEntry kModule[] = {
        {"IDS_TBX_PVX_Legend_Title", "图例"},
        {"IDS_TBX_PVX_MAX__d", "最大值 %d"},
        {"IDS_DUP", "first"},
        {"IDS_DUP", "second"},
        {nullptr, "no key"},
        {"IDS_NO_TEXT", nullptr},
    };
    static const CMsgDll::StringEntry kOverride[] = {{"IDS_TBX_PVX_Legend_Title", "Legend"}};
    const int before = CMsgDll::GetTableCount();

    ASSERT_TRUE(CMsgDll::RegisterStringTable(kModule, 6));
    EXPECT_FALSE(CMsgDll::RegisterStringTable(kModule, 6)) << "the same table twice";
    EXPECT_FALSE(CMsgDll::RegisterStringTable(nullptr, 3));
    EXPECT_FALSE(CMsgDll::RegisterStringTable(kOverride, -1));

    struct Row {
        const char* key;
        const char* text;
    } rows[] = {
        {"IDS_TBX_PVX_Legend_Title", "图例"},
        {"IDS_TBX_PVX_MAX__d", "最大值 %d"},
        {"IDS_DUP", "first"},                      // the first entry of a key wins
        {"IDS_NO_TEXT", "IDS_NO_TEXT"},            // an entry without text is no entry
        {"IDS_NOT_THERE", "IDS_NOT_THERE"},        // unknown keys come back as themselves
        {"IDS_TBX_PVX_Legend_title", "IDS_TBX_PVX_Legend_title"},  // keys compare exactly
        {"", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.key);
        EXPECT_STREQ(static_cast<LPCTSTR>(CMsgDll::pfuncLoadStr(r.key, 0)), r.text);
        EXPECT_STREQ(static_cast<LPCTSTR>(CMsgDll::pfuncLoadStr(r.key)), r.text);
    }
    EXPECT_STREQ(static_cast<LPCTSTR>(CMsgDll::pfuncLoadStr(nullptr)), "");
    CString text("unchanged");
    EXPECT_FALSE(CMsgDll::LookupString("IDS_NOT_THERE", text));
    EXPECT_STREQ(static_cast<LPCTSTR>(text), "unchanged");

    // A later table overrides; removing it uncovers the earlier text again.
    ASSERT_TRUE(CMsgDll::RegisterStringTable(kOverride, 1));
    EXPECT_STREQ(static_cast<LPCTSTR>(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Legend_Title")), "Legend");
    EXPECT_STREQ(static_cast<LPCTSTR>(CMsgDll::pfuncLoadStr("IDS_DUP")), "first");
    EXPECT_TRUE(CMsgDll::UnregisterStringTable(kOverride));
    EXPECT_STREQ(static_cast<LPCTSTR>(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Legend_Title")), "图例");

    EXPECT_TRUE(CMsgDll::UnregisterStringTable(kModule));
    EXPECT_FALSE(CMsgDll::UnregisterStringTable(kModule)) << "already gone";
    EXPECT_STREQ(static_cast<LPCTSTR>(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Legend_Title")), "IDS_TBX_PVX_Legend_Title");
    EXPECT_EQ(CMsgDll::GetTableCount(), before);
}

TEST(CMsgDllTest, LookupsWhileTablesComeAndGo) {
    static const CMsgDll::StringEntry kTable[] = {{"IDS_RACE", "ok"}};
    std::thread reader([] {
        for (int i = 0; i < 2000; ++i) {
            const CString s = CMsgDll::pfuncLoadStr("IDS_RACE");
            ASSERT_TRUE(s == "ok" || s == "IDS_RACE") << static_cast<LPCTSTR>(s);
        }
    });
    for (int i = 0; i < 200; ++i) {
        CMsgDll::RegisterStringTable(kTable, 1);
        CMsgDll::UnregisterStringTable(kTable);
    }
    reader.join();
}

TEST(CMsgOutWndTest, CollectsLinesInOrder) {
    GMsgOutClear();
    GMsgOutNF("Node has no Reaction");
    GMsgOutNF("NODE NUMBER=12\n FX=1.0\r\n MX=2.0", 0, 0);
    GMsgOut("打开失败!", 0, 0);
    GMsgOutNF(nullptr);
    const std::vector<std::string> want = {"Node has no Reaction", "NODE NUMBER=12", " FX=1.0", " MX=2.0", "打开失败!", ""};
    EXPECT_EQ(CMsgOutWnd::GetLines(), want);
    EXPECT_EQ(CMsgOutWnd::GetLineCount(), 6);
    EXPECT_EQ(CMsgOutWnd::GetRaiseCount(), 1) << "only GMsgOut raises the window";

    // Echo: each line reaches the stream as it arrives.
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    CMsgOutWnd::SetEchoStream(f);
    GMsgOutNF("a\nb");
    CMsgOutWnd::SetEchoStream(nullptr);
    GMsgOutNF("not echoed");
    std::rewind(f);
    char buf[64] = {};
    const size_t n = std::fread(buf, 1, sizeof(buf) - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n), "a\nb\n");

    GMsgOutClear();
    EXPECT_EQ(CMsgOutWnd::GetLineCount(), 0);
    EXPECT_EQ(CMsgOutWnd::GetRaiseCount(), 0);
}

TEST(CMsgOutWndTest, KeepsTheNewestLinesWhenFull) {
    GMsgOutClear();
    const size_t n = CMsgOutWnd::kMaxLines + 5;
    for (size_t i = 0; i < n; ++i) GMsgOutNF(std::to_string(i).c_str());
    EXPECT_EQ(static_cast<size_t>(CMsgOutWnd::GetLineCount()), CMsgOutWnd::kMaxLines);
    EXPECT_EQ(CMsgOutWnd::GetDroppedCount(), 5u);
    const std::vector<std::string> lines = CMsgOutWnd::GetLines();
    EXPECT_EQ(lines.front(), "5");
    EXPECT_EQ(lines.back(), std::to_string(n - 1));
    GMsgOutClear();
    EXPECT_EQ(CMsgOutWnd::GetDroppedCount(), 0u);
}

TEST(CLoadingStatusTest, RecordsModulesWhileTheyLive) {
    EXPECT_FALSE(CLoadingStatus::IsModuleLoaded("qsn_pvx_test"));
    {
        CLoadingStatus a("qsn_pvx_test");
        CLoadingStatus b("other_test");
        EXPECT_TRUE(CLoadingStatus::IsModuleLoaded("qsn_pvx_test"));
        EXPECT_STREQ(a.GetModuleName(), "qsn_pvx_test");
        const std::vector<std::string> names = CLoadingStatus::GetLoadedModules();
        ASSERT_GE(names.size(), 2u);
        EXPECT_EQ(names[names.size() - 2], "qsn_pvx_test");
        EXPECT_EQ(names.back(), "other_test");
        EXPECT_FALSE(CLoadingStatus::IsModuleLoaded("qsn_pvx")) << "names compare exactly";
    }
    EXPECT_FALSE(CLoadingStatus::IsModuleLoaded("qsn_pvx_test")) << "unloading removes the mark";
    CLoadingStatus nameless(nullptr);
    EXPECT_STREQ(nameless.GetModuleName(), "");
    EXPECT_FALSE(CLoadingStatus::IsModuleLoaded(nullptr));
}

TEST(CHostPreferencesTest, TempDirectoryAndProfileIntegers) {
    CHostPreferences::ResetAll();
    const std::string def = CHostPreferences::GetTempPath();
    ASSERT_FALSE(def.empty());
    EXPECT_EQ(def.back(), '/');

    EXPECT_TRUE(CHostPreferences::SetTempPath(PVX_TEST_TMPDIR));
    EXPECT_EQ(CHostPreferences::GetTempPath(), std::string(PVX_TEST_TMPDIR) + "/");
    EXPECT_FALSE(CHostPreferences::SetTempPath("/no/such/directory/here"));
    EXPECT_EQ(CHostPreferences::GetTempPath(), std::string(PVX_TEST_TMPDIR) + "/") << "a refused path changes nothing";
    EXPECT_TRUE(CHostPreferences::SetTempPath(""));
    EXPECT_EQ(CHostPreferences::GetTempPath(), def);

    EXPECT_EQ(CHostPreferences::GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOutT", 0), 0u);
    EXPECT_EQ(CHostPreferences::GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOutT", 7), 7u);
    EXPECT_TRUE(CHostPreferences::WriteProfileInt("ENV_GRAPHICS", "EnableVBPrintOutT", 1));
    EXPECT_EQ(CHostPreferences::GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOutT", 0), 1u);
    // One store: what the host writes is what modules read from the application object.
    EXPECT_EQ(AfxGetApp()->GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOutT", 0), 1u);
    AfxGetApp()->WriteProfileInt("ENV_GRAPHICS", "EnableVBPrintOutT", 5);
    EXPECT_EQ(CHostPreferences::GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOutT", 0), 5u);
    EXPECT_EQ(CHostPreferences::GetProfileInt("ENV_GRAPHICS", "Other", 3), 3u);
    EXPECT_EQ(CHostPreferences::GetProfileInt("ENV_OTHER", "EnableVBPrintOutT", 0), 0u) << "sections are separate";
    EXPECT_FALSE(CHostPreferences::WriteProfileInt("", "x", 1));
    EXPECT_FALSE(CHostPreferences::WriteProfileInt("s", nullptr, 1));
    EXPECT_EQ(CHostPreferences::GetProfileInt(nullptr, "x", 4), 4u);
    CHostPreferences::ResetAll();
}

TEST(CArrayUtilTest, UnionAndIntersectionAreSortedAndUnique) {
    struct Row {
        const char* label;
        std::initializer_list<UINT> a, b;
        std::vector<UINT> uni, inter;
    } rows[] = {
        {"sorted halves", {1, 3, 5}, {2, 3, 4}, {1, 2, 3, 4, 5}, {3}},
        {"unsorted with repeats", {9, 1, 9, 4}, {4, 4, 2}, {1, 2, 4, 9}, {4}},
        {"one empty", {}, {7, 6}, {6, 7}, {}},
        {"both empty", {}, {}, {}, {}},
        {"largest keys", {0xffffffffu, 0}, {0x80000000u}, {0, 0x80000000u, 0xffffffffu}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CArray<UINT, UINT> a = basetest::Keys(r.a), b = basetest::Keys(r.b), out = basetest::Keys({42, 43});
        CArrayUtil::UnionUINT(a, b, out);
        EXPECT_EQ(basetest::AsVector(out), r.uni);
        CArrayUtil::IntersectUINT(a, b, out);
        EXPECT_EQ(basetest::AsVector(out), r.inter);
        // The output may be one of the inputs.
        CArrayUtil::UnionUINT(a, b, a);
        EXPECT_EQ(basetest::AsVector(a), r.uni);
    }
    CArray<UINT, UINT> k = basetest::Keys({5, 1, 5, 3});
    CArrayUtil::SortUniqueUINT(k);
    EXPECT_EQ(basetest::AsVector(k), (std::vector<UINT>{1, 3, 5}));
}

TEST(CHostRequestLogTest, KeepsRequestsInOrder) {
    CHostRequestLog::Clear();
    CHostRequestLog::Add(HR_COMMAND, 33160, 1);
    CHostRequestLog::Add(HR_SHOW_DLGBAR, 7101, 0);
    CHostRequestLog::Add(HR_ADD_FIGURE_TREE_ITEM, 3, 1, "桩反力");
    CHostRequestLog::Add(HR_COMMAND, 42091);
    const std::vector<CHostRequest> all = CHostRequestLog::GetAll();
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all[0].nId, 33160);
    EXPECT_EQ(all[2].text, "桩反力");
    const std::vector<CHostRequest> cmds = CHostRequestLog::GetOfKind(HR_COMMAND);
    ASSERT_EQ(cmds.size(), 2u);
    EXPECT_EQ(cmds[1].nId, 42091);
    EXPECT_EQ(CHostRequestLog::CountOfKind(HR_SHOW_DLGBAR), 1);
    EXPECT_STREQ(CHostRequestLog::KindName(HR_SHOW_DLGBAR), "show-bar");
    EXPECT_STREQ(CHostRequestLog::KindName(999), "unknown");
    CHostRequestLog::Clear();
    EXPECT_TRUE(CHostRequestLog::GetAll().empty());
}

}  // namespace
