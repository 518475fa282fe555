// Shared helpers of the band-cutter tests: an engine with evenly spaced levels, the protected
// triangle core made reachable, expected-vertex rows and geometric checks of cut output.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "module/contour/CContourEngine.h"

// The engine with its protected triangle core opened for the tests.
class CutProbe : public CContourEngine {
public:
    CutProbe(double lo, double hi, int n) : CContourEngine(lo, hi) {
        m_nNumColor = n;
        MakeRankMap();
    }
    using CContourEngine::DoTriangleContour;
    using CContourEngine::FindCrossPoint;
};

// One expected vertex: position in the xy plane, line flag, value.
struct ExpVtx {
    double x, y;
    int bLine;
    double v;
};

using ExpPoly = std::vector<ExpVtx>;

// Compares the cut lists with the expected polygons, vertex by vertex.
inline void ExpectPolys(const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>& vtx,
                        const std::vector<ExpPoly>& expected) {
    ASSERT_EQ(sizes.GetSize(), static_cast<INT_PTR>(expected.size())) << "polygon count";
    INT_PTR at = 0;
    for (size_t p = 0; p < expected.size(); p++) {
        ASSERT_EQ(sizes[p], static_cast<int>(expected[p].size())) << "size of polygon " << p;
        for (size_t i = 0; i < expected[p].size(); i++, at++) {
            const ExpVtx& e = expected[p][i];
            const VtxInfo_tag& got = vtx[at];
            EXPECT_NEAR(got.pt.x, e.x, 1e-12) << "polygon " << p << " vertex " << i << " x";
            EXPECT_NEAR(got.pt.y, e.y, 1e-12) << "polygon " << p << " vertex " << i << " y";
            EXPECT_EQ(got.bLine, e.bLine) << "polygon " << p << " vertex " << i << " bLine";
            EXPECT_NEAR(got.dValue, e.v, 1e-12) << "polygon " << p << " vertex " << i << " value";
        }
    }
    EXPECT_EQ(vtx.GetSize(), at) << "vertex count";
}

// Signed area in the xy plane of polygon vertices [from, from + n).
inline double PolyArea(const CArray<VtxInfo_tag, VtxInfo_tag>& vtx, INT_PTR from, int n) {
    double a = 0.0;
    for (int i = 0; i < n; i++) {
        const C3DPoint& p = vtx[from + i].pt;
        const C3DPoint& q = vtx[from + (i + 1) % n].pt;
        a += p.x * q.y - q.x * p.y;
    }
    return 0.5 * a;
}

// Every polygon lies in one band: no level strictly between its lowest value and its first
// (highest) value. Returns the summed absolute area.
inline double CheckBandPurity(const CContourEngine& e, const CArray<int, int>& sizes,
                              const CArray<VtxInfo_tag, VtxInfo_tag>& vtx) {
    double area = 0.0;
    INT_PTR at = 0;
    for (INT_PTR p = 0; p < sizes.GetSize(); p++) {
        const int n = sizes[p];
        const double first = vtx[at].dValue;
        double lo = first;
        for (int i = 0; i < n; i++) {
            EXPECT_LE(vtx[at + i].dValue, first + 1e-12) << "polygon " << p << " starts below one of its vertices";
            lo = std::min(lo, vtx[at + i].dValue);
        }
        for (int k = 0; k < e.m_nNumColor; k++) {
            const double L = e.m_dRankMap[k];
            EXPECT_FALSE(L > lo + 1e-12 && L < first - 1e-12) << "polygon " << p << " spans level " << L;
        }
        area += std::fabs(PolyArea(vtx, at, n));
        at += n;
    }
    EXPECT_EQ(at, vtx.GetSize());
    return area;
}
