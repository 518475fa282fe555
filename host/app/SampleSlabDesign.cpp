#include "host/app/SampleSlabDesign.h"

#include <cmath>

namespace sample_slab {

double DesignSteel(double moment, double h0mm) {
    if (h0mm <= 0.0) return 0.0;
    return std::fabs(moment) * 1e6 / (0.9 * kRebarFy * h0mm);
}

T_SLDG_D RaftDesign(double q, double dq, double span, double t, const std::vector<int>& edgeWindSign) {
    const double h0 = t * 1000.0 - kCover;
    const double L2 = span * span;
    T_SLDG_D r;
    r.forceA = q * L2 / 24.0;
    r.forceB = q * L2 / 20.0;
    r.resultA = DesignSteel(r.forceA, h0);
    r.resultB = DesignSteel(r.forceB, h0);
    r.resultC = kMinRatio * t * 1e6;
    for (int sign : edgeWindSign) {
        const double top = -(q + sign * dq) * L2 / 12.0;
        const double bottom = 0.8 * q * L2 / 24.0;
        r.aForceA.Add(top);
        r.aForceB.Add(bottom);
        r.aResultA.Add(DesignSteel(top, h0));
        r.aResultB.Add(DesignSteel(bottom, h0));
    }
    return r;
}

T_SWDF_D WallEndForces(double w, double wWind, double lambda, double t) {
    T_SWDF_D r;
    r.Initialize();
    for (int end = 0; end < 2; ++end) {
        const double line = w + (end == 0 ? -wWind : wWind);
        r.m[end] = line * lambda / 8.0;
        r.v[end] = line / 2.0;
    }
    r.h0 = static_cast<int>(std::lround(t * 1000.0 - kCover));
    return r;
}

}  // namespace sample_slab
