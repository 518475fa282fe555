// Records of the host's settings that the results module copies: the user's preferences.
// (The view's light record, T_LIGHT_D, belongs to the view: host/grx/GRenderView.h.)
#pragma once

#include "platform/afx/afxtypes.h"

#include <cstring>

// User preferences.
struct T_PREFERENCE {
    char szTempDir[MAX_PATH];  // directory for temporary files, ending in '/'

    void Initialize() { memset(this, 0, sizeof(*this)); }
};
