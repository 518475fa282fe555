#include "host/app/ModuleLoader.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "host/base/CLoadingStatus.h"
#include "host/base/I_MainFrameBase.h"
#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "platform/ui/CWinApp.h"

CPVXModuleLoader::~CPVXModuleLoader() { Close(); }

std::string CPVXModuleLoader::DefaultModulePath() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    std::string dir = n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
    // <prefix>/bin/pvxhost -> <prefix>
    for (int i = 0; i < 2; ++i) {
        const size_t slash = dir.find_last_of('/');
        dir = slash == std::string::npos ? std::string(".") : dir.substr(0, slash);
    }
    return dir + "/lib/libqsn_pvx.so";
}

int CPVXModuleLoader::Fail(const std::string& why) {
    m_strError = why;
    return 0;
}

void* CPVXModuleLoader::GetSymbol(const char* pszName) const {
    return m_pHandle && pszName ? dlsym(m_pHandle, pszName) : nullptr;
}

int CPVXModuleLoader::Load(const std::string& path) {
    if (m_pHandle) return Fail("the results module is already loaded from \"" + m_strPath + "\"");
    struct stat st {};
    if (path.empty()) return Fail("no module path was given");
    if (stat(path.c_str(), &st) != 0)
        return Fail("the results module \"" + path + "\" does not exist; build the target qsn_pvx or give its path "
                    "with --module PATH");
    if (!S_ISREG(st.st_mode)) return Fail("the results module \"" + path + "\" is not a file");
    const bool bWasLoaded = CLoadingStatus::IsModuleLoaded(kModuleName);
    dlerror();
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* why = dlerror();
        return Fail("the results module \"" + path + "\" could not be loaded: " + (why ? why : "unknown error"));
    }
    // A library that is not the results module registers neither its name nor its view class.
    if (!bWasLoaded && !CLoadingStatus::IsModuleLoaded(kModuleName)) {
        dlclose(h);
        return Fail("\"" + path + "\" is not the results module (it did not announce itself as qsn_pvx)");
    }
    const CRuntimeClass* pClass = CRuntimeClass::FromName(kViewClassName);
    if (!pClass) {
        dlclose(h);
        return Fail("the results module \"" + path + "\" has no result view class " + kViewClassName);
    }
    if (!pClass->IsDerivedFrom(RUNTIME_CLASS(GRenderView))) {
        dlclose(h);
        return Fail(std::string(kViewClassName) + " is not a render view of this host");
    }
    m_pHandle = h;
    m_strPath = path;
    m_strError.clear();
    return 1;
}

int CPVXModuleLoader::OpenResultView(int cx, int cy) {
    if (!m_pHandle) return Fail("the results module is not loaded");
    if (m_pView) return Fail("the result view is already open");
    if (!CDBDoc::m_pDBDoc) return Fail("no project is open; the result view shows the open project");
    CRuntimeClass* pClass = CRuntimeClass::FromName(kViewClassName);
    if (!pClass) return Fail(std::string("the run-time class ") + kViewClassName + " is not registered");
    if (!pClass->IsDerivedFrom(RUNTIME_CLASS(GRenderView)))
        return Fail(std::string(kViewClassName) + " is not a render view of this host");

    m_pFrame = new I_MainFrameBase;
    if (!m_pFrame->Create(nullptr, "pvxhost", WS_OVERLAPPEDWINDOW, CRect(0, 0, cx, cy))) {
        m_pFrame = nullptr;  // a failed frame deleted itself
        return Fail("the main frame window could not be made");
    }
    if (CWinApp* app = AfxGetApp())
        if (!app->m_pMainWnd) app->m_pMainWnd = m_pFrame;

    CCreateContext ctx;
    ctx.m_pNewViewClass = pClass;
    ctx.m_pCurrentFrame = m_pFrame;
    CWnd* pWnd = m_pFrame->CreateView(&ctx, AFX_IDW_PANE_FIRST);
    if (!pWnd) {
        CloseView();
        return Fail("the result view could not be created (its window refused to open)");
    }
    m_pView = static_cast<GRenderView*>(pWnd);
    // The view at the size it will be drawn at before its first drawing, so that its pictures are
    // made once.
    m_pView->MoveWindow(0, 0, cx, cy, FALSE);
    // The view fills the frame: the frame's empty MDI client under it is never seen.
    if (m_pFrame->m_hWndMDIClient) ::ShowWindow(m_pFrame->m_hWndMDIClient, SW_HIDE);
    m_pView->GetI_PVXCtrl()->SetPVXViewMode(1);
    m_pView->DoInitialView();
    m_pFrame->SetActiveView(m_pView, TRUE);
    return 1;
}

void CPVXModuleLoader::CloseView() {
    if (m_pFrame) {
        m_pFrame->SetActiveView(nullptr, FALSE);
        if (AfxGetApp() && AfxGetApp()->m_pMainWnd == m_pFrame) AfxGetApp()->m_pMainWnd = nullptr;
    }
    // The view's code lives in the module: its window (and the object) must go before dlclose.
    if (m_pView && m_pView->GetSafeHwnd()) m_pView->DestroyWindow();
    m_pView = nullptr;
    if (m_pFrame && m_pFrame->GetSafeHwnd()) m_pFrame->DestroyWindow();
    m_pFrame = nullptr;
}

void CPVXModuleLoader::Close() {
    CloseView();
    if (m_pHandle) {
        dlclose(m_pHandle);
        m_pHandle = nullptr;
    }
    m_strPath.clear();
}
