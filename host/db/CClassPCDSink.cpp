#include <cmath>

#include "host/db/DBTables.h"

BOOL CClassPCDSink::GetValue(UINT key, UINT group, double& value) const {
    T_PCDSINK_D r;
    if (!Get(key, r)) return FALSE;
    double v = 0.0;
    if (group != 0) {
        if (!r.GetGroupValue(group, v)) return FALSE;
    } else {
        if (r.aValue.GetSize() == 0) return FALSE;
        for (INT_PTR i = 0; i < r.aValue.GetSize(); ++i)
            if (i == 0 || std::fabs(r.aValue[i] + r.constant) > std::fabs(v + r.constant)) v = r.aValue[i];
    }
    value = (v + r.constant) / 1000.0;
    return TRUE;
}

BOOL CClassPCDSink::GetByPos(double x, double y, UINT& key, double tol) const {
    CArray<UINT, UINT> keys;
    GetKeyList(keys);
    double best = tol;
    BOOL found = FALSE;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PCDSINK_D r;
        if (!Get(keys[i], r)) continue;
        const double d = std::hypot(r.x - x, r.y - y);
        if (d <= best) {
            best = d;
            key = keys[i];
            found = TRUE;
        }
    }
    return found;
}

int CClassPCDSink::GetList(CArray<UINT, UINT>& keys) const {
    keys.RemoveAll();
    GetKeyList(keys);
    return static_cast<int>(keys.GetSize());
}

BOOL CClassPCDSink::GetCJAngle(const CArray<UINT, UINT>& keys, UINT group, double& xTilt, double& yTilt,
                               double& average, double& deflection) const {
    const INT_PTR n = keys.GetSize();
    if (n < 3) return FALSE;
    std::vector<double> xs, ys, ss;
    for (INT_PTR i = 0; i < n; ++i) {
        T_PCDSINK_D r;
        double s = 0.0;
        if (!Get(keys[i], r) || !GetValue(keys[i], group, s)) return FALSE;
        xs.push_back(r.x);
        ys.push_back(r.y);
        ss.push_back(s);
    }
    // Normal equations about the centroid: the plane passes through (mx, my, mean s).
    double mx = 0, my = 0, ms = 0;
    for (INT_PTR i = 0; i < n; ++i) {
        mx += xs[i];
        my += ys[i];
        ms += ss[i];
    }
    mx /= n;
    my /= n;
    ms /= n;
    double sxx = 0, syy = 0, sxy = 0, sxs = 0, sys = 0;
    double x0 = xs[0], x1 = xs[0], y0 = ys[0], y1 = ys[0];
    for (INT_PTR i = 0; i < n; ++i) {
        const double dx = xs[i] - mx, dy = ys[i] - my, ds = ss[i] - ms;
        sxx += dx * dx;
        syy += dy * dy;
        sxy += dx * dy;
        sxs += dx * ds;
        sys += dy * ds;
        x0 = std::min(x0, xs[i]);
        x1 = std::max(x1, xs[i]);
        y0 = std::min(y0, ys[i]);
        y1 = std::max(y1, ys[i]);
    }
    const double det = sxx * syy - sxy * sxy;
    const double diag = std::hypot(x1 - x0, y1 - y0);
    if (!(std::fabs(det) > 1e-12 * (sxx * syy + 1e-300)) || diag <= 0.0) return FALSE;
    xTilt = (sxs * syy - sys * sxy) / det;
    yTilt = (sys * sxx - sxs * sxy) / det;
    average = ms;
    double worst = 0.0;
    for (INT_PTR i = 0; i < n; ++i)
        worst = std::max(worst, std::fabs(ss[i] - (ms + xTilt * (xs[i] - mx) + yTilt * (ys[i] - my))));
    deflection = worst / diag;
    return TRUE;
}
