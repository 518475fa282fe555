// Local axes of frame members.
//
// `CalcFrameLocalVector(pi, pj, beta, axes)` gives the three local unit vectors of a line
// member from its end points: x from i to j; for a member that is not vertical, y is
// horizontal (global Z x x) and z = x x y points upward; for a vertical member y is the global
// Y axis and z = x x y. Both y and z are then turned by beta degrees about x. The result rows
// are axes[0] = x, axes[1] = y, axes[2] = z. A member shorter than 1e-10 has no axes: the
// function returns 0 and leaves axes unchanged.
#pragma once

#include "platform/afx/afxtypes.h"

class CMembUtil {
public:
    static int CalcFrameLocalVector(const double pi[3], const double pj[3], double beta, double axes[3][3]);
};
