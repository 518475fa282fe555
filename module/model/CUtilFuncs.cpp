#include "module/model/CUtilFuncs.h"

#include "host/base/CMathFunc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"

#include <algorithm>
#include <cmath>

CUtilFuncs::CUtilFuncs() = default;
CUtilFuncs::~CUtilFuncs() = default;

void CUtilFuncs::GetInnerLinePoint(double a, double b, const C3DPoint& p1, const C3DPoint& p2, C3DPoint& out) {
    const double sum = a + b;
    // A zero sum has no inner point; staying at p1 keeps callers away from NaN coordinates.
    const double t = (sum != 0.0 && std::isfinite(sum)) ? a / sum : 0.0;
    out = p1 + (p2 - p1) * t;
}

void CUtilFuncs::GetInnerLinePoint2(double d, double len, const C3DPoint& p1, const C3DPoint& p2, C3DPoint& out) {
    const double t = len > 0.0 ? d / len : 0.0;
    out = p1 + (p2 - p1) * t;
}

void CUtilFuncs::GetVectorDirectionPoint(const double dir[3], double a, double b, C3DPoint base, C3DPoint& out) {
    out.x = a * dir[0] * b + base.x;
    out.y = a * dir[1] * b + base.y;
    out.z = a * dir[2] * b + base.z;
}

double CUtilFuncs::GetCosFrom2Vec(double a[3], double b[3]) {
    MakeUnitVector(a);
    MakeUnitVector(b);
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

int CUtilFuncs::GetInterPtOfTwoPtsByVals(double fa, double fb, const C3DPoint& p1, const C3DPoint& p2,
                                         C3DPoint& out) {
    const double sum = std::fabs(fa) + std::fabs(fb);
    if (!(sum > 0.0)) {
        out = p1;
        return 0;
    }
    out = p1 + (p2 - p1) * (std::fabs(fa) / sum);
    return 1;
}

namespace {

// Parameter along the unit direction u from a where the line a + t u meets the line c + s v,
// solved in the two coordinates other than the largest component of w = u x v. Returns 0 when
// that component is too small to divide by.
int CrossingParameter(const double a[3], const double u[3], const double c[3], const double v[3], double& t) {
    double w[3];
    CMathFunc::mathCross(u, v, w);
    const double ax = std::fabs(w[0]), ay = std::fabs(w[1]), az = std::fabs(w[2]);
    if (az >= ay && az >= ax) {
        if (az < 1e-7) return 0;
        t = ((a[1] - c[1]) * v[0] - (a[0] - c[0]) * v[1]) / w[2];
    } else if (ay >= ax) {
        if (ay < 1e-7) return 0;
        t = ((a[2] - c[2]) * v[0] - (a[0] - c[0]) * v[2]) / -w[1];
    } else {
        if (ax < 1e-7) return 0;
        t = ((a[2] - c[2]) * v[1] - (a[1] - c[1]) * v[2]) / w[0];
    }
    return 1;
}

}  // namespace

int CUtilFuncs::mathIntersectLine4PVX(const double a[3], const double b[3], const double c[3], const double d[3],
                                      double tol, double& dist, double out[3]) {
    out[0] = out[1] = out[2] = 0.0;
    double u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]};
    double v[3] = {d[0] - c[0], d[1] - c[1], d[2] - c[2]};
    const double lu = CMathFunc::mathLength(u);
    const double lv = CMathFunc::mathLength(v);
    if (!CMathFunc::mathNormalize(u) || !CMathFunc::mathNormalize(v)) return 0;

    double w[3];
    CMathFunc::mathCross(u, v, w);
    const double lw = CMathFunc::mathLength(w);
    if (lw < 1e-15) return 0;  // parallel

    const double ca[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    dist = std::fabs(ca[0] * w[0] + ca[1] * w[1] + ca[2] * w[2]) / lw;
    if (dist > tol) return 0;

    double t = 0.0, s = 0.0;
    if (!CrossingParameter(a, u, c, v, t)) return 0;
    if (t < -1e-10 || t > lu + 1e-10) return 0;
    if (!CrossingParameter(c, v, a, u, s)) return 0;
    if (s < -1e-10 || s > lv + 1e-10) return 0;

    out[0] = c[0] + s * v[0];
    out[1] = c[1] + s * v[1];
    out[2] = c[2] + s * v[2];
    return 1;
}

int CUtilFuncs::GetSlope2Point(int& angle, int x1, int y1, int x2, int y2) {
    // Tenths of a degree with pi taken as 3.14159, truncated toward zero, as labels have
    // always been turned.
    const double raw = std::atan2(static_cast<double>(y1 - y2), static_cast<double>(x2 - x1)) * -572.9582790879778;
    angle = (3600 - static_cast<int>(raw)) % 3600;
    if (angle > 900 && angle <= 2700) {
        angle = (angle + 1800) % 3600;
        return 1;
    }
    return 0;
}

int CUtilFuncs::MakeBeamSlopeAt5Div(I_PVXModel* pModel, const C3DPoint& p1, const C3DPoint& p2, int angle[5],
                                    int turned[5], int valid[5], CPoint centre[5]) {
    static const double kFraction[10] = {0.0, 0.1, 0.2, 0.3, 0.45, 0.55, 0.7, 0.8, 0.9, 1.0};
    I_PVXCtrl* pCtrl = pModel ? pModel->m_pPVXCtrl : nullptr;
    for (int i = 0; i < 5; ++i) {
        angle[i] = turned[i] = valid[i] = 0;
        if (!pCtrl) continue;  // nothing to project with: every piece is off the screen
        CPoint s[2];
        for (int k = 0; k < 2; ++k) {
            const C3DPoint p = p1 + (p2 - p1) * kFraction[2 * i + k];
            s[k] = pModel->m_bExternalDevice ? pCtrl->GetWorldToWindowP2D(p) : pCtrl->GetWorldToMemDCP2D(p);
        }
        if (s[0].x < 0 || s[0].y < 0 || s[1].x < 0 || s[1].y < 0) continue;
        turned[i] = GetSlope2Point(angle[i], s[0].x, s[0].y, s[1].x, s[1].y);
        valid[i] = 1;
        centre[i] = CPoint((s[0].x + s[1].x) / 2, (s[0].y + s[1].y) / 2);
    }
    return 1;
}

CString CUtilFuncs::ConvertValToFmtStr(double value, int width, int precision, int exponent) {
    width = std::clamp(width, 0, kMaxTextWidth);
    precision = std::clamp(precision, 0, kMaxDigits);
    if (std::fabs(value) < 1e-15) value = 0.0;

    const int e = width - 8;  // decimals of the exponent form: sign, digit, point, "e+ddd"
    CString fmt;
    CString text;
    if (exponent && e >= 1) {
        fmt.Format("%%%d.%de", width, e);
        text.Format(fmt, value);
        return text;
    }
    const double sign = value < 0.0 ? -1.0 : 1.0;
    const double rounded = value + sign * 5.0 * std::pow(10.0, -precision - 1);
    if (std::pow(10.0, width - precision - 2) > std::fabs(rounded)) {
        fmt.Format("%%%d.%df", width, precision);
    } else if (e >= 1) {
        fmt.Format("%%%d.%de", width, e);
    } else {
        return CString("*****");
    }
    text.Format(fmt, value);
    return text;
}

CString CUtilFuncs::MakeNumberFormat(int bExponent, int nDigits, LPCTSTR pszLead, LPCTSTR pszTrail) {
    CString digits;
    digits.Format("%d", std::clamp(nDigits, 0, kMaxDigits));
    CString fmt(pszLead);
    fmt += "%.";
    fmt += digits;
    fmt += bExponent ? "e" : "f";
    fmt += pszTrail;
    return fmt;
}

CString CUtilFuncs::FormatNumber(double value, int bExponent, int nDigits) {
    CString text;
    text.Format(MakeNumberFormat(bExponent, nDigits), value);
    return text;
}

void CUtilFuncs::GetRgbF(COLORREF cr, float& r, float& g, float& b) {
    r = static_cast<float>((cr & 0xFF) * 0.00392156862745098);
    g = static_cast<float>(((cr >> 8) & 0xFF) * 0.00392156862745098);
    b = static_cast<float>(((cr >> 16) & 0xFF) * 0.00392156862745098);
}

void CUtilFuncs::GetRgb(COLORREF cr, UINT& r, UINT& g, UINT& b) {
    r = cr & 0xFF;
    g = (cr >> 8) & 0xFF;
    b = (cr >> 16) & 0xFF;
}
