#include "host/app/SampleSlabMoments.h"

#include <algorithm>
#include <cmath>

SlabMemberMoments MakeSlabMemberMoments(int nx, int ny, const NodeMoments& at) {
    SlabMemberMoments out;
    if (nx < 1 || ny < 1) return out;
    double mxx = 0.0, myy = 0.0;
    at(nx / 2, ny / 2, mxx, myy);
    out.centreX = mxx;
    out.centreY = myy;
    // Extremes of one component along a mesh line: along y at column i (alongY) or along x at row j.
    auto strip = [&](bool alongY, int line, double& hi, double& lo) {
        hi = lo = 0.0;
        const int n = alongY ? ny : nx;
        for (int k = 0; k <= n; ++k) {
            double a = 0.0, b = 0.0;
            if (alongY) at(line, k, a, b);
            else at(k, line, a, b);
            const double v = alongY ? b : a;  // across an x edge Myy, across a y edge Mxx
            hi = std::max(hi, v);
            lo = std::min(lo, v);
        }
    };
    const double fractions[3] = {1.0 / 6.0, 0.5, 5.0 / 6.0};
    for (int edge = 0; edge < 4; ++edge) {
        const bool alongX = edge % 2 == 0;
        const bool reversed = edge >= 2;  // edges 2 and 3 run back towards the origin
        const int n = alongX ? nx : ny;
        for (double t : fractions) {
            int k = static_cast<int>(std::lround(t * n));
            if (reversed) k = n - k;
            double hi = 0.0, lo = 0.0;
            strip(alongX, k, hi, lo);
            out.pos.push_back(hi);
            out.neg.push_back(lo);
        }
    }
    return out;
}
