// CContourEngine: band strips of member faces and of shear-force and bending-moment diagram
// pieces. A piece is a quadrilateral whose two opposite sides across the member carry one value
// each, or a triangle whose apex differs from its two other corners; it is cut across the member
// at every level between its values.
#include <algorithm>
#include <cmath>
#include <vector>

#include "module/contour/CContourEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"

namespace {

// One side of a piece, from its higher corner to its lower one with the level crossings between.
struct Side {
    CArray<C3DPoint, C3DPoint> pts;
    CArray<double, double> vals;
};

}  // namespace

int CContourEngine::CutFramePoly(const C3DPoint* P, const double* w, const int* flags, int n, int levelFlag,
                                 CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    if (P == nullptr || w == nullptr || n <= 0) return 0;
    // A piece with an infinite or undefined value has no band to go into.
    for (int i = 0; i < n; i++)
        if (!std::isfinite(w[i])) return 0;
    auto ef = [&](int edge) { return flags ? flags[edge] : 0; };

    bool uniform = true;
    for (int i = 1; i < n; i++)
        if (w[i] != w[0]) uniform = false;
    auto appendWhole = [&]() {
        GrowBandLists(sizes, vertices, n);
        sizes.Add(n);
        for (int i = 0; i < n; i++) vertices.Add(VtxInfo_tag{P[i], ef(i), w[i]});
        return 1;
    };
    if (uniform) return appendWhole();
    if (n != 3 && n != 4) return 0;

    const int cls = (w[2] == w[0] && w[2] == w[1]) ? 0 : (w[2] == w[1] ? 1 : (w[0] == w[1] ? 2 : 3));
    // A triangle of class 0 is uniform (handled above); a quadrilateral of class 0 has a fourth
    // corner of another value and would take one colour across several bands.
    if (cls == 0) return ClipFramePolyByBands(P, w, flags, n, levelFlag, sizes, vertices);

    auto build = [&](int hi, int lo, Side& s) {
        s.pts.Add(P[hi]);
        s.vals.Add(w[hi]);
        GetRankVertices(P[hi], P[lo], w[hi], w[lo], s.pts, s.vals, nullptr);
        s.pts.Add(P[lo]);
        s.vals.Add(w[lo]);
    };
    Side first, second;
    int added = 0;
    // Strip k between entries k and k+1 of both sides; flags a (upper line), b (along the second
    // side), c (lower line), d (along the first side).
    auto strip = [&](int k, int a, int b, int c, int d) {
        GrowBandLists(sizes, vertices, 4);
        sizes.Add(4);
        vertices.Add(VtxInfo_tag{first.pts[k], a, first.vals[k]});
        vertices.Add(VtxInfo_tag{second.pts[k], b, second.vals[k]});
        vertices.Add(VtxInfo_tag{second.pts[k + 1], c, second.vals[k + 1]});
        vertices.Add(VtxInfo_tag{first.pts[k + 1], d, first.vals[k + 1]});
        added++;
    };

    if (n == 4) {
        // Corner values that do not come in constant sides cannot be paired; cut band by band.
        if (cls == 3) return ClipFramePolyByBands(P, w, flags, n, levelFlag, sizes, vertices);
        int fHi, fLo, sHi, sLo, fEdge, sEdge, highEdge, lowEdge;
        if (cls == 1) {
            fEdge = 0;
            sEdge = 2;
            if (w[0] <= w[1]) { fHi = 1; fLo = 0; sHi = 2; sLo = 3; highEdge = 1; lowEdge = 3; }
            else { fHi = 0; fLo = 1; sHi = 3; sLo = 2; highEdge = 3; lowEdge = 1; }
        } else {
            fEdge = 3;
            sEdge = 1;
            if (w[0] <= w[3]) { fHi = 3; fLo = 0; sHi = 2; sLo = 1; highEdge = 2; lowEdge = 0; }
            else { fHi = 0; fLo = 3; sHi = 1; sLo = 2; highEdge = 0; lowEdge = 2; }
        }
        build(fHi, fLo, first);
        build(sHi, sLo, second);
        // Sides of different values cross different levels; pairing by index would misplace the
        // strips, so such a piece is cut band by band.
        if (first.pts.GetSize() != second.pts.GetSize())
            return ClipFramePolyByBands(P, w, flags, n, levelFlag, sizes, vertices);
        const int m = static_cast<int>(first.pts.GetSize());
        for (int k = 0; k <= m - 2; k++)
            strip(k, k == 0 ? ef(highEdge) : levelFlag, ef(sEdge), k == m - 2 ? ef(lowEdge) : levelFlag, ef(fEdge));
        return added;
    }

    // Triangle: the apex differs from the two other corners; a triangle of three different values
    // has no apex and is cut band by band.
    if (cls == 3 && w[0] != w[2]) return ClipFramePolyByBands(P, w, flags, n, levelFlag, sizes, vertices);
    int apex, fCorner, sCorner, fEdge, sEdge, baseEdge;
    if (cls == 1) { apex = 0; fCorner = 1; sCorner = 2; fEdge = 0; sEdge = 2; baseEdge = 1; }
    else if (cls == 2) { apex = 2; fCorner = 0; sCorner = 1; fEdge = 2; sEdge = 1; baseEdge = 0; }
    else { apex = 1; fCorner = 0; sCorner = 2; fEdge = 0; sEdge = 1; baseEdge = 2; }
    const bool apexHigh = w[fCorner] < w[apex];
    if (apexHigh) {
        build(apex, fCorner, first);
        build(apex, sCorner, second);
    } else {
        build(fCorner, apex, first);
        build(sCorner, apex, second);
    }
    if (first.pts.GetSize() != second.pts.GetSize())
        return ClipFramePolyByBands(P, w, flags, n, levelFlag, sizes, vertices);
    const int m = static_cast<int>(first.pts.GetSize());
    if (apexHigh) {
        GrowBandLists(sizes, vertices, 3);
        sizes.Add(3);
        vertices.Add(VtxInfo_tag{P[apex], ef(fEdge), w[apex]});
        vertices.Add(VtxInfo_tag{first.pts[1], m == 2 ? ef(baseEdge) : levelFlag, first.vals[1]});
        vertices.Add(VtxInfo_tag{second.pts[1], ef(sEdge), second.vals[1]});
        added++;
        for (int k = 1; k <= m - 2; k++)
            strip(k, levelFlag, ef(sEdge), k == m - 2 ? ef(baseEdge) : levelFlag, ef(fEdge));
    } else {
        for (int k = 0; k <= m - 3; k++) strip(k, k == 0 ? ef(baseEdge) : levelFlag, ef(sEdge), levelFlag, ef(fEdge));
        GrowBandLists(sizes, vertices, 3);
        sizes.Add(3);
        vertices.Add(VtxInfo_tag{first.pts[m - 2], m == 2 ? ef(baseEdge) : levelFlag, first.vals[m - 2]});
        vertices.Add(VtxInfo_tag{second.pts[m - 2], ef(sEdge), second.vals[m - 2]});
        vertices.Add(VtxInfo_tag{P[apex], ef(fEdge), w[apex]});
        added++;
    }
    return added;
}

int CContourEngine::ClipFramePolyByBands(const C3DPoint* P, const double* w, const int* flags, int n, int levelFlag,
                                         CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    double wMin = w[0], wMax = w[0];
    for (int i = 1; i < n; i++) {
        wMin = std::min(wMin, w[i]);
        wMax = std::max(wMax, w[i]);
    }
    // Band bounds from the top: the highest corner, the levels strictly inside, the lowest corner.
    std::vector<double> bounds;
    bounds.push_back(wMax);
    std::vector<double> inside;
    for (int k = 0; k < LevelCount(); k++)
        if (m_dRankMap[k] < wMax && m_dRankMap[k] > wMin) inside.push_back(m_dRankMap[k]);
    std::sort(inside.begin(), inside.end(), [](double a, double b) { return a > b; });
    inside.erase(std::unique(inside.begin(), inside.end()), inside.end());
    bounds.insert(bounds.end(), inside.begin(), inside.end());
    bounds.push_back(wMin);

    std::vector<VtxInfo_tag> poly;
    for (int i = 0; i < n; i++) poly.push_back(VtxInfo_tag{P[i], flags ? flags[i] : 0, w[i]});

    // Keeps the part on one side of a level; the new edge along the level takes levelFlag.
    auto clip = [&](const std::vector<VtxInfo_tag>& in, double level, bool keepBelow) {
        std::vector<VtxInfo_tag> out;
        const size_t cnt = in.size();
        auto isIn = [&](double v) { return keepBelow ? v <= level : v >= level; };
        for (size_t i = 0; i < cnt; i++) {
            const VtxInfo_tag& cur = in[i];
            const VtxInfo_tag& nxt = in[(i + 1) % cnt];
            const bool curIn = isIn(cur.dValue), nxtIn = isIn(nxt.dValue);
            auto cross = [&](int flag) {
                const double t = (cur.dValue - level) / (cur.dValue - nxt.dValue);
                return VtxInfo_tag{cur.pt + (nxt.pt - cur.pt) * t, flag, level};
            };
            if (curIn) {
                out.push_back(cur);
                if (!nxtIn) {
                    if (cur.dValue == level) out.back().bLine = levelFlag;
                    else out.push_back(cross(levelFlag));
                }
            } else if (nxtIn && nxt.dValue != level) {
                out.push_back(cross(cur.bLine));
            }
        }
        return out;
    };

    int added = 0;
    for (size_t b = 0; b + 1 < bounds.size(); b++) {
        std::vector<VtxInfo_tag> piece = poly;
        if (b > 0) piece = clip(piece, bounds[b], true);
        if (b + 2 < bounds.size()) piece = clip(piece, bounds[b + 1], false);
        if (piece.size() < 3) continue;
        // Start at the highest vertex so the first value selects the band of the piece.
        size_t top = 0;
        for (size_t i = 1; i < piece.size(); i++)
            if (piece[i].dValue > piece[top].dValue) top = i;
        GrowBandLists(sizes, vertices, static_cast<INT_PTR>(piece.size()));
        sizes.Add(static_cast<int>(piece.size()));
        for (size_t i = 0; i < piece.size(); i++) vertices.Add(piece[(top + i) % piece.size()]);
        added++;
    }
    return added;
}

void CContourEngine::SfdBmdFramePoly(C3DPoint* points, double* values, int* flags, int n, CArray<int, int>& sizes,
                                     CArray<VtxInfo_tag, VtxInfo_tag>& vertices, int) {
    CutFramePoly(points, values, flags, n, 0, sizes, vertices);
    if (m_bGlobalRange) ExcludePolyOutofRangeGlobal(sizes, vertices, nullptr, nullptr);
    if (m_bActiveRange) ExcludePolyOutofRange(sizes, vertices, nullptr, nullptr);
}

void CContourEngine::ContourFramePoly(C3DPoint* points, double* values, int n, CArray<int, int>& sizes,
                                      CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                                      CArray<double, double>* f2) {
    double f = 1.0, g = 0.0;  // neutral factors while flat shading is off
    if (f1 && f2 && points && n >= 3) {
        I_PVXModel* pModel = GetCurrentModel();
        if (pModel && pModel->m_pDispOpt && pModel->m_pDispOpt->m_bShading)
            pModel->GetFlatShadingFactor(n, points, f, g);
    }
    const int added = CutFramePoly(points, values, nullptr, n, 1, sizes, vertices);
    if (f1) GrowInProportion(*f1, added);
    if (f2) GrowInProportion(*f2, added);
    for (int i = 0; i < added; i++) {
        if (f1) f1->Add(f);
        if (f2) f2->Add(g);
    }
    if (m_bGlobalRange) ExcludePolyOutofRangeGlobal(sizes, vertices, f1, f2);
    if (m_bActiveRange) ExcludePolyOutofRange(sizes, vertices, f1, f2);
}

void CContourEngine::ContourFramePoly(CArray<C3DPoint, C3DPoint&>& points, CArray<double, double&>& values, int n,
                                      CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    // Never read past either list.
    INT_PTR count = n;
    if (count > points.GetSize()) count = points.GetSize();
    if (count > values.GetSize()) count = values.GetSize();
    if (count <= 0) return;
    ContourFramePoly(points.GetData(), values.GetData(), static_cast<int>(count), sizes, vertices, nullptr, nullptr);
}
