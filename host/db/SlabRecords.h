// Records of the slab design results: the per-member slab moments (result table SMNT) and the
// rebar directions of the slab members (model table SDIR).
//
// A slab member's moments are design moments of the whole panel: two at its centre, one along
// each rebar direction, and lists of side moments on its outline (one or three per outline edge,
// in outline order), the positive (bottom) ones and the negative (top) ones. Combinations
// combine the lists value by value; records of one member should hold lists of one length, a
// shorter list counting as zeros beyond its end.
#pragma once

#include "host/db/DBField.h"
#include "platform/afx/CArray.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>

// Moments of a slab member (kN·m/m), keyed by load case and member key.
struct T_SMNT_D {
    double centreX;                  // centre moment along the X rebar direction
    double centreY;                  // centre moment along the Y rebar direction
    CArray<double, double> aPos;     // positive side moments, in outline order
    CArray<double, double> aNeg;     // negative side moments, in outline order

    T_SMNT_D() { Initialize(); }
    void Initialize() {
        centreX = centreY = 0.0;
        aPos.RemoveAll();
        aNeg.RemoveAll();
    }
    template <class V> void Fields(V& v) {
        v.Real("centre_x", centreX);
        v.Real("centre_y", centreY);
        v.RealList("pos", aPos);
        v.RealList("neg", aNeg);
    }
};

// Rebar directions of a slab member, keyed by member key: the X rebar direction makes the chosen
// angle with the global X axis, the Y direction is square to it.
struct T_SDIR_D {
    int sel;          // 0 angle1 is used, otherwise angle2
    double angle1;    // degrees
    double angle2;    // degrees

    void Initialize() { memset(this, 0, sizeof(*this)); }
    template <class V> void Fields(V& v) {
        v.Int("sel", sel);
        v.Real("angle1", angle1);
        v.Real("angle2", angle2);
    }
};

// The combination arithmetic of the moment lists (the generic one of DBField.h sees the two
// centre values only).
namespace pvxdb {
namespace slabdetail {
inline void Fit(CArray<double, double>& a, INT_PTR n) {
    const INT_PTR old = a.GetSize();
    if (old >= n) return;
    a.SetSize(n);
    for (INT_PTR i = old; i < n; ++i) a[i] = 0.0;
}
}  // namespace slabdetail

inline void AddScaled(T_SMNT_D& dst, const T_SMNT_D& src, double f) {
    dst.centreX += f * src.centreX;
    dst.centreY += f * src.centreY;
    for (auto [d, s] : {std::pair{&dst.aPos, &src.aPos}, std::pair{&dst.aNeg, &src.aNeg}}) {
        slabdetail::Fit(*d, s->GetSize());
        for (INT_PTR i = 0; i < s->GetSize(); ++i) (*d)[i] += f * (*s)[i];
    }
}

inline void ZeroReals(T_SMNT_D& rec) {
    rec.centreX = rec.centreY = 0.0;
    for (INT_PTR i = 0; i < rec.aPos.GetSize(); ++i) rec.aPos[i] = 0.0;
    for (INT_PTR i = 0; i < rec.aNeg.GetSize(); ++i) rec.aNeg[i] = 0.0;
}

// hi = max(hi, v), lo = min(lo, v) value by value; a value a list lacks counts as 0.
inline void Envelope(T_SMNT_D& hi, T_SMNT_D& lo, const T_SMNT_D& v) {
    hi.centreX = std::max(hi.centreX, v.centreX);
    hi.centreY = std::max(hi.centreY, v.centreY);
    lo.centreX = std::min(lo.centreX, v.centreX);
    lo.centreY = std::min(lo.centreY, v.centreY);
    for (int side = 0; side < 2; ++side) {
        CArray<double, double>& h = side ? hi.aNeg : hi.aPos;
        CArray<double, double>& l = side ? lo.aNeg : lo.aPos;
        const CArray<double, double>& q = side ? v.aNeg : v.aPos;
        const INT_PTR n = std::max({h.GetSize(), l.GetSize(), q.GetSize()});
        slabdetail::Fit(h, n);
        slabdetail::Fit(l, n);
        for (INT_PTR i = 0; i < n; ++i) {
            const double x = i < q.GetSize() ? q[i] : 0.0;
            h[i] = std::max(h[i], x);
            l[i] = std::min(l[i], x);
        }
    }
}

// The value of larger magnitude of hi and lo, value by value (hi on a tie).
inline void AbsMax(T_SMNT_D& out, const T_SMNT_D& hi, const T_SMNT_D& lo) {
    auto pick = [](double h, double l) { return std::fabs(l) > std::fabs(h) ? l : h; };
    out = hi;
    out.centreX = pick(hi.centreX, lo.centreX);
    out.centreY = pick(hi.centreY, lo.centreY);
    for (INT_PTR i = 0; i < out.aPos.GetSize() && i < lo.aPos.GetSize(); ++i) out.aPos[i] = pick(hi.aPos[i], lo.aPos[i]);
    for (INT_PTR i = 0; i < out.aNeg.GetSize() && i < lo.aNeg.GetSize(); ++i) out.aNeg[i] = pick(hi.aNeg[i], lo.aNeg[i]);
}
}  // namespace pvxdb
