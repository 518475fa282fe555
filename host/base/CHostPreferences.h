// The host application's preferences: its temporary directory and its profile integers.
//
// The original host kept these in its initialisation file and the registry; here they live in
// memory and the host program (or a test) sets them. Modules read the temporary directory for
// their scratch files (animation frames, exports). Profile integers are the application
// object's (AfxGetApp()->GetProfileInt, which modules call): these functions only reach them
// from host code, so that both sides see one store. GetProfileInt(section, entry, default)
// gives the default for anything never written.
#pragma once

#include <string>

#include "platform/afx/afxtypes.h"

class CHostPreferences {
public:
    // The temporary directory, always ending with '/'. Until set, the system's temporary
    // directory (TMPDIR or /tmp).
    static std::string GetTempPath();
    // Sets the temporary directory; a missing trailing '/' is added. An empty or null path
    // restores the default. Returns FALSE (and keeps the old value) for a path that is not an
    // existing directory.
    static BOOL SetTempPath(LPCTSTR path);

    // Profile integer of section/entry (names compare exactly), or nDefault when never written.
    static UINT GetProfileInt(LPCTSTR section, LPCTSTR entry, int nDefault);
    // Writes a profile integer; FALSE for a null or empty section or entry name.
    static BOOL WriteProfileInt(LPCTSTR section, LPCTSTR entry, int value);
    // Forgets the temporary directory (profile integers belong to the application object).
    static void ResetAll();
};
