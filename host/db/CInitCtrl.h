// The host's initialisation control: user preferences.
#pragma once

#include "host/db/DBSettingsRecords.h"

class CInitCtrl {
public:
    CInitCtrl();
    virtual ~CInitCtrl() = default;
    // Copies the preferences; always non-zero.
    int GetPreference(T_PREFERENCE& pref) const;
    void SetPreference(const T_PREFERENCE& pref) { m_pref = pref; }

private:
    T_PREFERENCE m_pref;
};
