// CUtilFuncs: static geometry and number-format helpers of the result module.
//
// The engines and the overlay drawing use it for points on lines, unit and normal vectors, the
// crossing of two 3-D segments, the on-screen slope of a member, fixed-width value texts and
// run-time printf formats, and the split of a colour into its channels. Every function is
// static and keeps no state, so it is safe from any thread:
//     C3DPoint mid;
//     CUtilFuncs::GetInnerLinePoint(1.0, 1.0, pi, pj, mid);
//     CString text = CUtilFuncs::ConvertValToFmtStr(value, 10, 2, 0);
// Points are C3DPoint, vectors double[3], slopes tenths of a degree (0 to 3599, counter-clockwise
// on screen), colours COLORREF (red in the low byte).
#pragma once

#include <cmath>

#include "host/grx/C3DPoint.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class I_PVXModel;

class CUtilFuncs {
public:
    // Widest text ConvertValToFmtStr produces, and most digits a number format carries; larger
    // requests are cut to these so that a stored setting can never make a runaway text.
    static constexpr int kMaxTextWidth = 64;
    static constexpr int kMaxDigits = 20;

    CUtilFuncs();
    virtual ~CUtilFuncs();

    // out = p1 + (p2 - p1) x a / (a + b). A sum a + b of zero (or not a number) gives p1.
    static void GetInnerLinePoint(double a, double b, const C3DPoint& p1, const C3DPoint& p2, C3DPoint& out);
    // out = p1 + (p2 - p1) x d / len; p1 when len is 0 or negative.
    static void GetInnerLinePoint2(double d, double len, const C3DPoint& p1, const C3DPoint& p2, C3DPoint& out);
    // out = base + dir x a x b, per coordinate.
    static void GetVectorDirectionPoint(const double dir[3], double a, double b, C3DPoint base, C3DPoint& out);
    // Scales v to unit length in place; the zero vector when its length is 0 or not a number.
    static void MakeUnitVector(double v[3]);
    // Normalises both vectors in place and returns their dot product.
    static double GetCosFrom2Vec(double a[3], double b[3]);
    // Newell normal of the polygon pts[0..n-1] (not normalised); zero for n below 1. Points in
    // counter-clockwise order seen from the normal's side give a positive normal.
    static void GetNormalVector(int n, const C3DPoint* pts, double out[3]);
    // The point where a value running linearly from fa at p1 to fb at p2 crosses zero:
    // p1 + (p2 - p1) x |fa| / (|fa| + |fb|). Returns 1; when both values are 0 there is no
    // crossing: out = p1 and 0 is returned.
    static int GetInterPtOfTwoPtsByVals(double fa, double fb, const C3DPoint& p1, const C3DPoint& p2,
                                        C3DPoint& out);
    // Crossing of the segments a-b and c-d. dist receives the distance between the two lines
    // (when they are not parallel); the segments cross when it is at most tol and the crossing
    // lies on both (1e-10 slack at the ends). Returns 1 with the point in out, else 0 with out
    // at the origin.
    static int mathIntersectLine4PVX(const double a[3], const double b[3], const double c[3], const double d[3],
                                     double tol, double& dist, double out[3]);
    // Window slope from (x1, y1) to (x2, y2) (window y grows downward). A slope that would put
    // text upside down (over 900 up to 2700) is turned by 1800 and 1 is returned; else 0.
    static int GetSlope2Point(int& angle, int x1, int y1, int x2, int y2);
    // Slopes and centres of five short pieces of the member p1-p2 on screen, where numbers are
    // placed (fractions 0-0.1, 0.2-0.3, 0.45-0.55, 0.7-0.8, 0.9-1). A piece with an end off the
    // screen (a negative coordinate) gets angle, turned and valid 0 and keeps its centre.
    static int MakeBeamSlopeAt5Div(I_PVXModel* pModel, const C3DPoint& p1, const C3DPoint& p2, int angle[5],
                                   int turned[5], int valid[5], CPoint centre[5]);
    // A value as a text of the given width: fixed with `precision` decimals while it fits,
    // otherwise (or when `exponent` is set) the exponent form with width - 8 decimals, and
    // "*****" when neither fits. Magnitudes below 1e-15 print as 0. Width is cut to
    // [0, kMaxTextWidth] and precision to [0, kMaxDigits].
    static CString ConvertValToFmtStr(double value, int width, int precision, int exponent);
    // The run-time number format: "%.<digits>e" when bExponent is set, else "%.<digits>f",
    // between pszLead and pszTrail (for example " " and " "). Digits are cut to [0, kMaxDigits].
    static CString MakeNumberFormat(int bExponent, int nDigits, LPCTSTR pszLead = "", LPCTSTR pszTrail = "");
    // value printed with MakeNumberFormat(bExponent, nDigits).
    static CString FormatNumber(double value, int bExponent, int nDigits);
    // Colour channels scaled to 0..1, and as bytes; red from the low byte.
    static void GetRgbF(COLORREF cr, float& r, float& g, float& b);
    static void GetRgb(COLORREF cr, UINT& r, UINT& g, UINT& b);
};

// Per polygon of every shaded band list: inline, so the normal stays in registers from the
// sum to the unit vector.
inline void CUtilFuncs::MakeUnitVector(double v[3]) {
    // Along z alone (every face of a plan view): the root of a rounded square that neither
    // overflows nor underflows is the magnitude itself, so the divisions would give exactly
    // (x, y, +-1) with the zeros' signs kept; that answer without the root and divisions.
    if (v[0] == 0.0 && v[1] == 0.0) {
        const double a = std::fabs(v[2]);
        if (a >= 0x1p-500 && a <= 0x1p500) {
            v[2] = std::copysign(1.0, v[2]);
            return;
        }
    }
    const double len = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (len == 0.0 || std::isnan(len)) {
        v[0] = v[1] = v[2] = 0.0;
        return;
    }
    v[0] /= len;
    v[1] /= len;
    v[2] /= len;
}

inline void CUtilFuncs::GetNormalVector(int n, const C3DPoint* pts, double out[3]) {
    out[0] = out[1] = out[2] = 0.0;
    if (n < 1 || !pts) return;
    for (int i = 0; i < n; ++i) {
        const C3DPoint& pi = pts[i];
        const C3DPoint& pj = pts[i + 1 < n ? i + 1 : 0];
        out[0] += (pi.y - pj.y) * (pi.z + pj.z);
        out[1] += (pi.z - pj.z) * (pi.x + pj.x);
        out[2] += (pi.x - pj.x) * (pi.y + pj.y);
    }
}
