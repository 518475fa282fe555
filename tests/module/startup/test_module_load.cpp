// Loading and unloading the results module as the host does: with dlopen, by path. This test
// program is not linked with the module, so what it finds after dlopen the module registered,
// and what is gone after dlclose the module removed again.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/base/CLoadingStatus.h"
#include "host/base/CMsgDll.h"
#include "host/grx/GRenderView.h"
#include "platform/ui/CMenu.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/startup/StartupTestDb.h"

namespace {

const char* ModulePath() { return PVX_BINARY_DIR "/lib/libqsn_pvx.so"; }

// One thing the module brings into the process while it is loaded.
struct Probe {
    const char* what;
    std::function<bool()> present;
};

bool MenuLoads(UINT id) {
    CMenu m;
    const bool ok = m.LoadMenu(id) != FALSE;
    if (ok) m.DestroyMenu();
    return ok;
}

std::vector<Probe> Probes() {
    return {
        {"run-time class CPVXView", [] { return CRuntimeClass::FromName("CPVXView") != nullptr; }},
        {"loading status qsn_pvx", [] { return CLoadingStatus::IsModuleLoaded("qsn_pvx") != FALSE; }},
        {"context menu 10554", [] { return MenuLoads(10554); }},
        {"string key IDS_TBX_PVX_Legend_Title",
         [] {
             CString s;
             return CMsgDll::LookupString("IDS_TBX_PVX_Legend_Title", s) && s == "图例";
         }},
        {"numbered string 42015",
         [] {
             CString s;
             return s.LoadString(42015) && s == "播放动画\n播放";
         }},
    };
}

void ExpectAll(bool bPresent, const char* when) {
    for (const Probe& p : Probes()) {
        SCOPED_TRACE(std::string(p.what) + " " + when);
        EXPECT_EQ(p.present(), bPresent);
    }
}

// dlclose only unmaps a library nothing else holds; a library defining GNU unique symbols is
// never unmapped, and then nothing of its unloading can be seen.
void ExpectUnmapped() {
    void* still = dlopen(ModulePath(), RTLD_NOW | RTLD_NOLOAD);
    if (still) dlclose(still);
    EXPECT_EQ(still, nullptr) << "the module stayed in memory after dlclose; a library that defines GNU unique "
                                 "symbols cannot be unloaded (compile the module with -fno-gnu-unique)";
}

struct ModuleLoad : testing::Test {
    void SetUp() override {
        CUiDriver::Get().Reset();
        ASSERT_EQ(CRuntimeClass::FromName("CPVXView"), nullptr) << "the module must not be in the process yet";
    }
    void* Load() {
        dlerror();
        void* h = dlopen(ModulePath(), RTLD_NOW | RTLD_LOCAL);
        const char* err = dlerror();
        EXPECT_NE(h, nullptr) << ModulePath() << ": " << (err ? err : "");
        return h;
    }
};

TEST_F(ModuleLoad, RegistersWhileLoadedAndUnregistersOnUnload) {
    ExpectAll(false, "before loading");
    for (int cycle = 0; cycle < 2; ++cycle) {
        SCOPED_TRACE("load cycle " + std::to_string(cycle));
        void* h = Load();
        ASSERT_NE(h, nullptr);
        ExpectAll(true, "while loaded");
        auto pfnInit = reinterpret_cast<void (*)()>(dlsym(h, "_Init_TBX_pvxdll"));
        ASSERT_NE(pfnInit, nullptr) << "the initialisation export is missing";
        pfnInit();
        ExpectAll(true, "after the initialisation export");
        ASSERT_EQ(dlclose(h), 0);
        ExpectUnmapped();
        if (HasFailure()) return;
        ExpectAll(false, "after unloading");
    }
}

TEST_F(ModuleLoad, ContextMenuHasTheResultAndAnimationItems) {
    void* h = Load();
    ASSERT_NE(h, nullptr);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(10554));
    ASSERT_EQ(menu.GetMenuItemCount(), 1);
    CString caption;
    menu.GetMenuString(0, caption, MF_BYPOSITION);
    EXPECT_EQ(caption, "PVXCtxt2");
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(popup, nullptr);
    struct Row {
        UINT id;  // 0 separator, -1 sub-menu
        const char* text;
    };
    const Row top[] = {{42004, "反力"}, {42088, "变形"},     {42089, "模态"},     {0, ""},
                       {42090, "层剪力比"}, {0, ""},        {42046, "框架内力"}, {42003, "墙内力"},
                       {0, ""},           {UINT(-1), "动画"}};
    const Row anim[] = {{42015, "播放"},     {42016, "暂停"}, {42017, "停止"},     {0, ""},
                        {42018, "向后跳进"}, {42051, "重放"}, {42020, "快进"},     {42021, "向前跳进"},
                        {0, ""},             {42022, "保存"}, {42023, "纪录"},     {42024, "关闭"},
                        {0, ""},             {42025, "显示控制条"}};
    auto check = [](CMenu* m, const Row* rows, int n) {
        ASSERT_EQ(m->GetMenuItemCount(), n);
        for (int i = 0; i < n; ++i) {
            SCOPED_TRACE("item " + std::to_string(i) + " " + rows[i].text);
            EXPECT_EQ(m->GetMenuItemID(i), rows[i].id);
            if (rows[i].id != 0) {
                CString s;
                m->GetMenuString(i, s, MF_BYPOSITION);
                EXPECT_EQ(s, rows[i].text);
            }
        }
    };
    check(popup, top, 10);
    CMenu* sub = popup->GetSubMenu(9);
    ASSERT_NE(sub, nullptr);
    check(sub, anim, 14);
    menu.DestroyMenu();
    ASSERT_EQ(dlclose(h), 0);
}

TEST_F(ModuleLoad, CreatesTheResultViewByClassNameOnADatabase) {
    void* h = Load();
    ASSERT_NE(h, nullptr);
    CDBDoc* pDoc = MakeStartupDocument();
    {
        CRuntimeClass* pClass = CRuntimeClass::FromName("CPVXView");
        ASSERT_NE(pClass, nullptr);
        EXPECT_TRUE(pClass->IsDerivedFrom(RUNTIME_CLASS(GRenderView)));
        CWnd frame;
        ASSERT_TRUE(frame.CreateEx(0, nullptr, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr));
        CObject* pObject = pClass->CreateObject();
        ASSERT_NE(pObject, nullptr);
        ASSERT_TRUE(pObject->IsKindOf(RUNTIME_CLASS(GRenderView)));
        auto* pView = static_cast<GRenderView*>(pObject);
        ASSERT_TRUE(pView->Create(nullptr, "result", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &frame, 1));
        I_PVXCtrl* pCtrl = pView->GetI_PVXCtrl();
        EXPECT_NE(pCtrl->GetI_PVXModel(), nullptr) << "creating the view links its model to the control";
        pCtrl->SetPVXViewMode(1);
        pCtrl->SetClientWindowMargin(40, 0, 0, 0, 0, 0);
        pCtrl->XGL_ClearGroupLog();
        pView->DoInitialView();  // the module's initial view, through the host's base
        EXPECT_TRUE(pCtrl->GetClientWindowMargin(0).IsRectEmpty()) << "the initial view resets the margins";
        const auto& log = pCtrl->XGL_GetGroupLog();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2].kind, GXglGroup::CUTTING_BEGIN);
        EXPECT_EQ(log.back().kind, GXglGroup::CUTTING_END);
        pView->DestroyWindow();  // the view deletes itself, and its model with it
        frame.DestroyWindow();
    }
    FreeStartupDocument(pDoc);
    ASSERT_EQ(dlclose(h), 0);
    ExpectUnmapped();
    EXPECT_EQ(CRuntimeClass::FromName("CPVXView"), nullptr) << "unloading removes the class";
}

}  // namespace
