// The application object and extension-library bookkeeping.
#include "platform/ui/CWinApp.h"

#include <cstdlib>

#include "platform/ui/CUiDriver.h"
#include "platform/ui/uiapi.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)
IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

namespace {
CWinApp* g_pApp = nullptr;

CWinApp& BuiltinApp() {
    static CWinApp* p = nullptr;
    if (!p) {
        CWinApp* saved = g_pApp;
        p = new CWinApp("pvx");
        g_pApp = saved;   // the built-in object never takes the host's place
    }
    return *p;
}
}  // namespace

CWinThread::CWinThread() : m_pMainWnd(nullptr), m_pActiveWnd(nullptr) {}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) { return AfxPreTranslateMessage(pMsg); }

BOOL CWinThread::PumpMessage() {
    CUiDriver::Get().PumpMessages();
    return !CUiDriver::Get().QuitReceived();
}

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(nullptr), m_pszExeName(nullptr), m_pszProfileName(nullptr), m_pszRegistryKey(nullptr),
      m_hInstance(AfxGetInstanceHandle()) {
    m_strAppName = lpszAppName ? lpszAppName : "";
    m_pszAppName = m_strAppName.c_str();
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

static std::string ProfileKey(LPCTSTR s, LPCTSTR e) {
    return std::string(s ? s : "") + "\\" + (e ? e : "");
}

UINT CWinApp::GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault) {
    auto it = m_profile.find(ProfileKey(lpszSection, lpszEntry));
    if (it == m_profile.end()) return static_cast<UINT>(nDefault);
    return static_cast<UINT>(std::strtol(it->second.c_str(), nullptr, 10));
}

BOOL CWinApp::WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue) {
    if (!lpszSection || !lpszEntry) return FALSE;
    m_profile[ProfileKey(lpszSection, lpszEntry)] = std::to_string(nValue);
    return TRUE;
}

CString CWinApp::GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault) {
    auto it = m_profile.find(ProfileKey(lpszSection, lpszEntry));
    if (it == m_profile.end()) return CString(lpszDefault ? lpszDefault : "");
    return CString(it->second.c_str());
}

BOOL CWinApp::WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue) {
    if (!lpszSection || !lpszEntry) return FALSE;
    if (!lpszValue)
        m_profile.erase(ProfileKey(lpszSection, lpszEntry));
    else
        m_profile[ProfileKey(lpszSection, lpszEntry)] = lpszValue;
    return TRUE;
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursor(nullptr, lpszCursorName); }
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return ::LoadCursor(m_hInstance, MAKEINTRESOURCE(nIDResource)); }
HICON CWinApp::LoadIcon(UINT nIDResource) const { return ::LoadIcon(m_hInstance, MAKEINTRESOURCE(nIDResource)); }
HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIcon(nullptr, lpszIconName); }

CWinApp* AfxGetApp() { return g_pApp ? g_pApp : &BuiltinApp(); }
CWinThread* AfxGetThread() { return AfxGetApp(); }

CWnd* AfxGetMainWnd() {
    CWinApp* p = AfxGetApp();
    return p ? p->GetMainWnd() : nullptr;
}

LPCTSTR AfxGetAppName() {
    CWinApp* p = AfxGetApp();
    return p && p->m_pszAppName ? p->m_pszAppName : "";
}

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    state.hModule = hModule;
    state.hResource = hModule;
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) { state.bInitialized = FALSE; }

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem)
    : m_hModule(state.hModule), m_hResource(state.hResource), m_bSystem(bSystem) {}

CDynLinkLibrary::~CDynLinkLibrary() = default;
