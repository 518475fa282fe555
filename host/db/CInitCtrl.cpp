#include "host/db/CInitCtrl.h"

#include <cstdlib>
#include <cstring>

CInitCtrl::CInitCtrl() {
    m_pref.Initialize();
    // The temporary directory follows TMPDIR, as other programs here do.
    const char* t = getenv("TMPDIR");
    if (!t || !*t || strlen(t) + 2 > sizeof(m_pref.szTempDir)) t = "/tmp";
    strcpy(m_pref.szTempDir, t);
    size_t n = strlen(m_pref.szTempDir);
    if (m_pref.szTempDir[n - 1] != '/') strcat(m_pref.szTempDir, "/");
}

int CInitCtrl::GetPreference(T_PREFERENCE& pref) const {
    pref = m_pref;
    return 1;
}
