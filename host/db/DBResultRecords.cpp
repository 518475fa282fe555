#include "host/db/DBResultRecords.h"

#include <cmath>

namespace {
// Principal values of the plane tensor (xx, yy, xy): max, min and the angle of max from x.
void Principal(double xx, double yy, double xy, double& p1, double& p2, double& angleDeg) {
    double c = 0.5 * (xx + yy);
    double r = std::sqrt(0.25 * (xx - yy) * (xx - yy) + xy * xy);
    p1 = c + r;
    p2 = c - r;
    angleDeg = (r > 0 ? 0.5 * std::atan2(2 * xy, xx - yy) : 0.0) * 180.0 / M_PI;
}
}  // namespace

void T_STRP_DL::UpdateDerived() {
    for (auto& b : blk) {
        for (int s = 0; s < 2; ++s) {
            double* t = b + 7 * s;
            Principal(t[0], t[1], t[2], t[3], t[4], t[5]);
            t[6] = std::sqrt(t[3] * t[3] - t[3] * t[4] + t[4] * t[4]);
            b[28 + s] = 0.5 * (t[3] - t[4]);
        }
        Principal(b[14], b[15], b[16], b[17], b[18], b[19]);
        Principal(b[20], b[21], b[22], b[23], b[24], b[25]);
    }
}
