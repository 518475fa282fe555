#include "host/db/CMembUtil.h"

#include <cmath>

int CMembUtil::CalcFrameLocalVector(const double pi[3], const double pj[3], double beta, double axes[3][3]) {
    double x[3] = {pj[0] - pi[0], pj[1] - pi[1], pj[2] - pi[2]};
    double len = std::sqrt(x[0] * x[0] + x[1] * x[1] + x[2] * x[2]);
    if (!(len > 1e-10)) return 0;
    for (double& v : x) v /= len;

    double y[3];
    double h = std::sqrt(x[0] * x[0] + x[1] * x[1]);
    if (h < 1e-6) {
        // Vertical: the plan direction is undefined, so y follows the global Y axis.
        y[0] = 0.0; y[1] = 1.0; y[2] = 0.0;
    } else {
        // Z x x, horizontal.
        y[0] = -x[1] / h; y[1] = x[0] / h; y[2] = 0.0;
    }
    double z[3] = {x[1] * y[2] - x[2] * y[1], x[2] * y[0] - x[0] * y[2], x[0] * y[1] - x[1] * y[0]};

    double a = beta * M_PI / 180.0;
    double c = std::cos(a), s = std::sin(a);
    for (int k = 0; k < 3; ++k) {
        axes[0][k] = x[k];
        axes[1][k] = c * y[k] + s * z[k];
        axes[2][k] = -s * y[k] + c * z[k];
    }
    return 1;
}
