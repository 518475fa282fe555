// CWinThread and CWinApp: the application object whose m_pMainWnd names the main window.
//
// The host program constructs one CWinApp (as the original application did) and sets
// m_pMainWnd; AfxGetApp and AfxGetThread return it. When no application object exists yet,
// they return a built-in one with no main window, so module code that asks for the main window
// gets NULL instead of crashing. Profile settings are kept in memory for the process.
#pragma once

#include <map>
#include <string>

#include "platform/ui/CWnd.h"

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWnd* m_pMainWnd;     // main window, set by the host program
    CWnd* m_pActiveWnd;
    virtual CWnd* GetMainWnd() { return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd; }
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return 0; }
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Pumps every pending message; never waits.
    virtual BOOL PumpMessage();
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCTSTR m_pszAppName;     // application name, the default message-box caption
    LPCTSTR m_pszExeName;
    LPCTSTR m_pszProfileName;
    LPCTSTR m_pszRegistryKey;
    HINSTANCE m_hInstance;

    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);

    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;

private:
    std::string m_strAppName;
    std::map<std::string, std::string> m_profile;   // "section\entry" -> value
};

CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
CWnd* AfxGetMainWnd();
LPCTSTR AfxGetAppName();

// Extension-library bookkeeping of the original class library. The module's classes register
// themselves when it is loaded, so these only record that initialisation happened.
struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    HMODULE hResource;
    CRuntimeClass* pFirstSharedClass;
    void* pFirstSharedFactory;
};

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

class CDynLinkLibrary : public CCmdTarget {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state, BOOL bSystem = FALSE);
    ~CDynLinkLibrary() override;
    HMODULE m_hModule;
    HMODULE m_hResource;
    BOOL m_bSystem;
};
