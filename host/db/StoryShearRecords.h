// Story shear records: what each vertical member carries of the shear of its storey, per load
// case, in three plan directions.
//
// One row per (load case, member): the member's shear force along the direction (kN) and its
// share of the storey's shear in that direction (the ratio of the two, dimensionless). The
// directions are the plan angles 0, 45 and 90 degrees from global X towards global Y. A ratio
// is 0 where the storey carries no shear in that direction.
#pragma once

#include <cmath>
#include <cstring>
#include <string>

struct T_SSFR_D {
    static constexpr int kAngles = 3;
    static constexpr double kAngle[kAngles] = {0.0, 45.0, 90.0};  // degrees from global X

    int story;                 // storey number, 1 the lowest
    double force[kAngles];     // member shear along each direction, kN
    double ratio[kAngles];     // member shear over the storey shear along each direction

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("story", story);
        v.Real("force0", force[0]);
        v.Real("force45", force[1]);
        v.Real("force90", force[2]);
        v.Real("ratio0", ratio[0]);
        v.Real("ratio45", ratio[1]);
        v.Real("ratio90", ratio[2]);
    }
    // Index of a direction angle in degrees (0, 45 or 90, to a thousandth of a degree); -1
    // for any other angle.
    static int AngleIndex(double dAngle) {
        for (int i = 0; i < kAngles; ++i)
            if (std::fabs(dAngle - kAngle[i]) < 1e-3) return i;
        return -1;
    }
    // A storey number that is not negative.
    std::string Validate(const char** pszColumn) const {
        if (story < 0) {
            *pszColumn = "story";
            return "the storey number is negative";
        }
        return {};
    }
};
