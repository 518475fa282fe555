#include "host/base/CHostPreferences.h"

#include "platform/ui/CWinApp.h"

#include <filesystem>
#include <mutex>
#include <system_error>

namespace {
struct Preferences {
    std::mutex lock;
    std::string tempPath;  // empty: the system default
};
Preferences& ThePreferences() {
    static Preferences* s = new Preferences;  // never destroyed: modules may read it during process exit
    return *s;
}
std::string WithSlash(std::string p) {
    if (p.empty() || p.back() != '/') p += '/';
    return p;
}
}  // namespace

std::string CHostPreferences::GetTempPath() {
    Preferences& s = ThePreferences();
    {
        std::lock_guard<std::mutex> g(s.lock);
        if (!s.tempPath.empty()) return s.tempPath;
    }
    std::error_code ec;
    std::filesystem::path p = std::filesystem::temp_directory_path(ec);
    return WithSlash(ec ? std::string("/tmp") : p.string());
}

BOOL CHostPreferences::SetTempPath(LPCTSTR path) {
    Preferences& s = ThePreferences();
    if (!path || !*path) {
        std::lock_guard<std::mutex> g(s.lock);
        s.tempPath.clear();
        return TRUE;
    }
    std::error_code ec;
    if (!std::filesystem::is_directory(path, ec)) return FALSE;
    std::lock_guard<std::mutex> g(s.lock);
    s.tempPath = WithSlash(path);
    return TRUE;
}

UINT CHostPreferences::GetProfileInt(LPCTSTR section, LPCTSTR entry, int nDefault) {
    if (!section || !entry) return static_cast<UINT>(nDefault);
    return AfxGetApp()->GetProfileInt(section, entry, nDefault);
}

BOOL CHostPreferences::WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value) {
    if (!section || !*section || !entry || !*entry) return FALSE;
    return AfxGetApp()->WriteProfileInt(section, entry, value);
}

void CHostPreferences::ResetAll() {
    Preferences& s = ThePreferences();
    std::lock_guard<std::mutex> g(s.lock);
    s.tempPath.clear();
}
