// Records of the host's settings that the results module copies: the view's light record
// and the user's preferences.
#pragma once

#include "platform/afx/afxtypes.h"

#include <cstring>

// Light record of a 3-D view, 38 32-bit words. The view keeps it and hands it on whole; the
// shading reads the fields after the first 18 words.
struct T_LIGHT_D {
    DWORD dwHost[18];       // words kept for the view, not read by the results module
    double dLight[3];       // light direction
    double dHighlight[3];   // highlight direction
    double dAmbient;        // ambient term, 0..1
    double dDiffuse;        // diffuse coefficient, 0..1
    int nSpecular;          // specular intensity
    int nShininess;         // specular exponent
    int bShading;           // flat shading switch
    int bSpecular;          // specular highlight switch

    void Initialize() { memset(this, 0, sizeof(*this)); }
};
static_assert(sizeof(T_LIGHT_D) == 38 * 4, "the light record is 38 words");

// User preferences.
struct T_PREFERENCE {
    char szTempDir[MAX_PATH];  // directory for temporary files, ending in '/'

    void Initialize() { memset(this, 0, sizeof(*this)); }
};
