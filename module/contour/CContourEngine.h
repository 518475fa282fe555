// CContourEngine: the colour scale of every result drawing.
//
// It turns a value range (minimum, maximum) into N level values (the level map, also called the
// rank map), maps a value to a rank and a rank to a colour of one of four colour
// tables, keeps the share of a result that falls into each band (the percent map), accepts
// custom level values (knots) and a level list imposed on several engines at once (the global
// range). Rank r names level r; band r lies between levels r-1 and r; a value takes the rank of
// the first level above it, negated when it lies on a level.
//
// Every result engine owns one on the heap, builds it for each result and copies it by
// assignment when an engine is imported:
//
//   CContourEngine* scale = new CContourEngine(minValue, maxValue);
//   scale->ClearPecentRankMap();
//   for (...) scale->AddPecentRankMapData(value, 1.0);
//   scale->FinishPecentRankMapData();
//   COLORREF c = scale->GetValueColor(value);
//
// The settings dialogs edit the public fields in place and rebuild with MakeRankMap() and
// MakeColorTable(). N is kept between 2 and 30 by every build, ranks and table indexes are
// clamped to the tables, so no input can reach outside the fixed arrays. Lookups are binary
// searches over the levels and never allocate. Not thread-safe: it lives on the UI thread.
// The same object cuts element faces and member diagrams into band polygons (ContourTriangle,
// ContourRectangle, ContourFramePoly, SfdBmdFramePoly): each polygon lies inside one colour
// band, and the result engines fill and outline them. The cutters keep no state between calls;
// they append to the caller's lists and never clear them (bodies in ContourCut*.cpp).
// See also CGradientDrawing (gradient fills of band polygons).
#pragma once

#include <cstddef>
#include <vector>

#include "module/contour/ContourTypes.h"
#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

class I_PVXModel;

// One vertex of a band polygon. A cutter writes the polygons of a face one after another into a
// vertex list, with their vertex counts in a parallel size list; the band (and colour) of a
// polygon is that of its first vertex's value.
struct VtxInfo_tag {
    C3DPoint pt;     // position in model coordinates
    int bLine;       // non-zero: the edge from this vertex to the next one (the last wraps to the
                     // first) is drawn as a contour line
    double dValue;   // corner value, or the level value of a point on a level line
};

class CContourEngine {
public:
    static constexpr int MAX_LEVELS = 30;        // size of the level map and of the percent map
    static constexpr int TABLE_ENTRIES = 31;     // entries of one colour table; entry 30 the top key
    static constexpr int TABLE_KINDS = 4;        // V->R->G->B, R->G->B, R->B->G, Gray Scaled
    static constexpr int PCT_OUT_OF_RANGE = -10; // percent rank of a value outside the levels

    // Source of the largest extent (x, y or z) of the model on show, for the extrude factor.
    // Returns non-zero and fills *extent when a model is on show.
    typedef int (*ModelExtentSource)(double* extent);

    CContourEngine();
    CContourEngine(double dMin, double dMax);
    // List mode: band k + 1 holds value k and shows name k (N = count + 1, at most 29 values);
    // values must strictly ascend. An empty list gives the default scale.
    CContourEngine(CArray<CString, const CString&>& names, CArray<double, const double&>& values);
    // A copy of the scale outside list mode.
    CContourEngine(const CContourEngine& src);
    virtual ~CContourEngine();
    // Copies the whole scale; the target keeps its own list mode flag.
    CContourEngine& operator=(const CContourEngine& src);

    // ---- colours ----------------------------------------------------------------------------
    // Option colours back to their defaults, then rebuilds the tables.
    void ResetColors();
    // Rebuilds the tables from the key colours (after every level-map build).
    void ResetRankColors();
    // Key colours (entries 0-5 and 30) of the four tables, reversed when the reverse switch
    // differs from the minimum dominant flag.
    void InitColorTable();
    // Intermediate entries (table mode) or the whole hue scale (hue mode).
    void MakeColorTable();
    // Hue mode with n levels (kept within 2..30); rebuilds the level map.
    void SetHUEColorMode(int n);
    // Back to the fixed tables; rebuilds the level map.
    void SetRGBColorMode();
    // Entry i (0..30) of the current table kind, without rank mapping; out of range gives the
    // nearest entry, and writing out of range does nothing.
    COLORREF GetSerialColor(int i) const;
    void SetSerialColor(int i, COLORREF c);
    // Colour of rank r; ranks outside 0..N-1 take the nearest end rank.
    COLORREF GetRankColor(int r) const;
    // Flat band colour of a value (the single line colour in line-only mode when asked).
    COLORREF GetValueColor(double v) const;
    // GetValueColor of values one after the other (the band polygons of a list): a value inside
    // the band of the value searched before takes that band's colour without a rank search.
    // Valid while the scale stays as it was.
    class ValueColors {
    public:
        explicit ValueColors(const CContourEngine& s) : m_s(s) {}
        COLORREF operator()(double v) {
            const CContourEngine& s = m_s;
            if (s.m_nFillStyle == 1 && s.m_bSingleLineColor) return s.m_crContourLine;
            const double* L = s.m_dRankMap;
            const int r = m_nBand;
            // GetUpperRank(v) is r when level r lies above v by more than the tolerance and the
            // level before it does not (level 0: v is not below it): over ascending levels the
            // first level not below v is then r, and r is answered at once.
            if (r > 0 && L[r] - v > kTol && (r == 1 ? !(v - L[0] < -kTol) : !(L[r - 1] - v > -kTol))) return m_color;
            return Search(v);
        }

        static constexpr double kTol = 1e-64;  // the rank lookups' tolerance

    private:
        // The rank search, noting the band found.
        COLORREF Search(double v);
        const CContourEngine& m_s;
        int m_nBand = 0;  // upper rank of the last value searched (1..N-1), 0 when none to reuse
        COLORREF m_color = 0;
    };
    // Faces the quadrilateral cutter copied whole into a list (a face inside one band): a run of
    // n vertices from at, vertex at + i a copy of corner src[i] of its face, so a reader can
    // take each corner's projection once. Runs are noted in the order they are appended and
    // dropped when a list is started again. A reader compares each later copy with the corner's
    // first one before relying on a run: a run that no longer matches only costs the comparison.
    struct CornerRun {
        INT_PTR at;
        int n;
        unsigned char src[12];
    };
    const CArray<VtxInfo_tag, VtxInfo_tag>* m_pCornerList = nullptr;  // the list the runs are of
    std::vector<CornerRun> m_cornerRuns;
    // Notes a run of n vertices appended to list at at; its src is for the caller to fill.
    CornerRun& NoteCornerRun(const CArray<VtxInfo_tag, VtxInfo_tag>& list, INT_PTR at, int n) {
        // A run not after the last one noted means the list was emptied since.
        if (m_pCornerList != &list || (!m_cornerRuns.empty() && m_cornerRuns.back().at >= at)) {
            m_cornerRuns.clear();
            m_pCornerList = &list;
        }
        // Written field by field in place: a run built aside and copied in would be read back
        // whole before its parts are stored.
        CornerRun& run = m_cornerRuns.emplace_back();
        run.at = at;
        run.n = n;
        return run;
    }
    // Colour interpolated between the colours of the two levels around v; below level 0 and
    // above level N-1 the end colours.
    COLORREF GetValueColorGrad(double v) const;
    // The same at half intensity.
    COLORREF GetValueHalfColorGrad(double v) const;

    // ---- level map --------------------------------------------------------------------------
    // Rebuilds the levels from the range, the knots and the global range.
    void MakeRankMap();
    // New range (nothing while the legend range lock is set); leaves list mode and hue mode.
    void MakeRankMap(double dMin, double dMax);
    // List mode from names and strictly ascending values, as the list constructor; an empty list
    // does nothing.
    void MakeRankMap(CArray<CString, const CString&>& names, CArray<double, const double&>& values);
    // Rank of the first level above v (0 below level 0), -i when v lies on level i, N-1 above.
    int GetUpperRank(double v) const;
    // Rank of the first level below v (N-1 above the top), -i when v lies on level i, 0 below.
    int GetLowerRank(double v) const;
    // Scales v by a frame factor about the range minimum (both ends on one side of zero) or
    // about zero.
    double GetSubFrameValue(double v, double f) const;
    // End values: the knot at rank 0 / N-1 when there is one, else the range end.
    double GetMinRangeCustomValue() const;
    double GetMaxRangeCustomValue() const;
    BOOL IsMinRangeCustomValue() const;
    BOOL IsMaxRangeCustomValue() const;
    // Extrude factor from the model extent and the range (0 when no model is on show).
    void InitExtrudeAdjustFactor();
    // Installs where the model extent comes from; with none (nullptr) it is the bounding box of
    // the current view's model.
    static void SetModelExtentSource(ModelExtentSource pfn);

    // ---- band-polygon cutters (ContourCut.cpp, ContourCutFrame.cpp) -----------------------
    // Cuts a triangle with corner values w1..w3 into band polygons appended to sizes/vertices,
    // plus one pair of flat-shading factors per polygon to f1/f2 when both are given (diffuse
    // 1, specular 0 while shading is off). With bExtrude and the extrude option on, the corners
    // first move along the face normal by their values (the caller's points change). The keys
    // are not used.
    void ContourTriangle(double w1, double w2, double w3, C3DPoint& p1, C3DPoint& p2, C3DPoint& p3, int k1, int k2,
                         int k3, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                         CArray<double, double>* f1, CArray<double, double>* f2, int bExtrude);
    // Cuts a quadrilateral (corners in ring order) as four triangles around its centre, or as two
    // triangles on the diagonal p2-p4 with the coarse option; a face of one value gives one
    // polygon. Extrudes like ContourTriangle (without a request argument). Keys are not used.
    void ContourRectangle(double w1, double w2, double w3, double w4, C3DPoint& p1, C3DPoint& p2, C3DPoint& p3,
                          C3DPoint& p4, int k1, int k2, int k3, int k4, CArray<int, int>& sizes,
                          CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                          CArray<double, double>* f2);
    // Crossings of the segment p1-p2 (values w1 > w2) with the levels, from p1 on, with their
    // level values. Levels through an end point give no crossing; *pOnLevel (when given) is 1
    // when w2 lies on a level or w1 <= w2 (then nothing is appended), else 0.
    void GetRankVertices(C3DPoint p1, C3DPoint p2, double w1, double w2, CArray<C3DPoint, C3DPoint>& points,
                         CArray<double, double>& levels, int* pOnLevel);
    // Cuts one diagram piece of a member (quadrilateral between two stations, or triangle where
    // the diagram crosses zero) into strips across the member; flags[i] marks the edge from
    // point i to the next, level lines are not marked. The last argument is not used.
    void SfdBmdFramePoly(C3DPoint* points, double* values, int* flags, int n, CArray<int, int>& sizes,
                         CArray<VtxInfo_tag, VtxInfo_tag>& vertices, int nUnused);
    // The same for a member face: no input edge is marked, every level line is; f1/f2 as for
    // ContourTriangle.
    void ContourFramePoly(C3DPoint* points, double* values, int n, CArray<int, int>& sizes,
                          CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                          CArray<double, double>* f2);
    void ContourFramePoly(CArray<C3DPoint, C3DPoint&>& points, CArray<double, double&>& values, int n,
                          CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
    // 1 when the global range is on and one of the n values lies outside it by more than 1e-20.
    int IsOutOfRange(int n, double* values);
    // Removes, whole, the polygons with a vertex value outside the active range (only while the
    // restriction is on with the custom-knot option and mode 0).
    void ExcludePolyOutofRange(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                               CArray<double, double>* f1, CArray<double, double>* f2);
    // Removes, whole, the polygons with a vertex value outside the global range (while it is on).
    void ExcludePolyOutofRangeGlobal(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                                     CArray<double, double>* f1, CArray<double, double>* f2);
    // 1 when the global range is on and v lies outside it.
    int ExcludePolyOutofRangeGlobal(double v);
    // Equality tolerance of a set of values: 1e-10 of the largest magnitude, never below 1e-15
    // (so values that are all tiny, zeros among them, are still told apart).
    static double GetMagnitudeTolerance(int n, const double* values);

    // ---- knots ------------------------------------------------------------------------------
    BOOL IsCustomRank(int r) const;
    // Whether v may be pinned at inner rank r: strictly between the neighbouring knots (or
    // range ends).
    BOOL IsValidKnot(int r, double v) const;
    // Replaces or inserts the knot of rank r; FALSE (nothing changed) for a rank outside the
    // level map's 0..29.
    BOOL InsertKnot(int r, double v);
    void DeleteKnot(int r);
    // Knots from the list values: rank i holds value i-1 (ranks beyond the level map are left
    // out).
    void MakeCustomKnotMap();
    // Whether each build first validates the knots.
    void SetKillCustomRnakMapKnot(int on);
    // Pins knots at the inner levels nearest the given bounds and rebuilds; with on 0 only
    // rebuilds.
    void SetActiveContourRange(int on, int useLow, double low, int useHigh, double high);

    // ---- percent map ------------------------------------------------------------------------
    void ClearPecentRankMap();
    // Adds weight w to the band of v; values outside the levels are ignored.
    void AddPecentRankMapData(double v, double w);
    // Turns the band sums into percentages of the total (nothing when the total is 0).
    void FinishPecentRankMapData();
    // Like GetUpperRank with exact comparisons; PCT_OUT_OF_RANGE outside the levels.
    int GetUpperRank4PctRank(double v) const;
    // Band index 1..N-1 of v, or PCT_OUT_OF_RANGE.
    int GetSeqPecentRankByValue(double v) const;

    // ---- resets and global range ------------------------------------------------------------
    // Default scale on -1..1; keeps the contour factor, exact and single-colour switches, the
    // global range and the lock.
    void ResetContourEngine();
    // Default range and N (unless 6, 12, 18 or 24); keeps colours, table kind and switches.
    void ResetRankMapforDGN();
    void SetLegendRangeLock(int lock) { m_bLegendRangeLock = lock; }
    int GetLegendRangeLock() const { return m_bLegendRangeLock; }
    // Imposes (on non-zero) or lifts (on 0) a level list shared by several engines; a list
    // whose count differs from N is dropped by the build. on with no list does nothing.
    template <class ARG>
    void MakeGlobalRange(int on, CArray<double, ARG>* levels) {
        if (on && levels == nullptr) return;
        SetGlobalLevels(on, levels ? levels->GetData() : nullptr, levels ? levels->GetSize() : 0);
    }
    void MakeGlobalRange(int on, std::nullptr_t) {
        if (!on) SetGlobalLevels(0, nullptr, 0);
    }
    // Copies the imposed level list into *out.
    template <class ARG>
    void GetGlobalRange(CArray<double, ARG>* out) const {
        if (out == nullptr) return;
        out->SetSize(m_arrGlobalRange.GetSize());
        for (INT_PTR i = 0; i < m_arrGlobalRange.GetSize(); i++) (*out)[i] = m_arrGlobalRange[i];
    }
    // Lifts the global range; the list itself goes at the next build.
    void ResetGlobalRange();
    // The model's part of the global-range reset: with kind 1, the model's contour switch on and
    // its load type 17, 22, 23 or 24, ResetGlobalRange(). A null model changes nothing.
    void ResetGlobalRagneBy(I_PVXModel* pModel, int kind);
    // The same test on the model's values, for callers without a model.
    void ResetGlobalRagneBy(int kind, int modelContourOn, int modelLoadType);

    // ---- fields (the settings dialogs and the engines read and write them) -------------------
    double m_dExtrudeAdjustFactor;  // scale of extruded contour drawing, per unit value
    double m_dContourFactor;        // "系数：" factor of the contour dialog
    int m_bExactContour;            // "精确等值线"
    int m_bThickContourLine;        // "粗等值线"
    int m_bSingleLineColor;         // "单线条": contour lines in m_crContourLine
    int m_bReverseColor;            // "反色显示": reverses the table order
    int m_bDrawContourLine;         // "画等值线"
    int m_bDrawElemOutline;         // "画单元轮廓线"
    int m_nFillStyle;               // 0 filled bands, 1 contour lines only
    int m_nColorStyle;              // colour style radio ("彩虹" group)
    int m_nNumColor;                // N, the number of levels (6, 12, 18, 24; up to 30 in hue mode)
    int m_nColorTableKind;          // 0 V->R->G->B, 1 R->G->B, 2 R->B->G, 3 Gray Scaled
    int m_nSaveColorTableKind;      // table kind saved while gray printing imposes kind 3
    int m_bHueColorMode;            // 1: colours from the continuous hue function
    int m_nOption[2];               // two further settings, kept, copied and reset with the scale
    double m_dOption[2];            // two further settings, kept, copied and reset with the scale
    double m_dMinValue;             // lower end of the value range
    double m_dMaxValue;             // upper end of the value range
    COLORREF m_crContourLine;       // "CE": single colour of contour lines
    COLORREF m_crSaveContourLine;   // saved while gray printing imposes black
    COLORREF m_crElemEdge;          // "EE": element edge colour
    COLORREF m_crSaveElemEdge;      // saved while gray printing imposes black
    COLORREF m_crBand1;             // "B1"
    COLORREF m_crBand2;             // "B2"
    COLORREF m_crOption5;           // fifth option colour, kept, reset and copied
    COLORREF m_crColorTable[TABLE_KINDS][TABLE_ENTRIES];  // [kind][entry]
    double m_dRankMap[MAX_LEVELS];     // level values 0..N-1, written only by the builds
    double m_dPctRankMap[MAX_LEVELS];  // weight (percentage once finished) per band index
    double m_dPctTotal;                // sum of the accepted weights
    int m_bLowerWidened;            // level 0 comes from a rank-0 knot below the range minimum
    int m_bUpperWidened;            // level N-1 comes from a rank-(N-1) knot above the maximum
    int m_bGlobalRange;             // 1 while a global level list is imposed
    double m_dGlobalMin;            // first global level (valid while m_bGlobalRange)
    double m_dGlobalMax;            // last global level (valid while m_bGlobalRange)
    CArray<double, double> m_arrGlobalRange;       // the imposed level list
    CArray<double, double> m_arrListValue;         // list mode values, ascending; value k in band k + 1
    CArray<CString, const CString&> m_arrListName; // list mode names; band k + 1 shows name k
    CArray<RankMapKnot_tag, const RankMapKnot_tag&> m_arrKnots;  // custom knots by ascending rank
    int m_bMinDominant;             // |range minimum| > |range maximum| at the last build
    int m_bLegendRangeLock;         // while set MakeRankMap(min, max) does nothing
    int m_bListMode;                // 1 after the list constructor or the list MakeRankMap
    int m_bCheckKnots;              // validate the knots at the start of every build
    int m_bExtrudeContour;          // contour faces raised along their normal by their values
    double m_dExtrudeScale;         // user scale of the extrusion (1.0: top of range = extent/13)
    int m_bCoarseContour;           // quadrilaterals cut as two triangles instead of four
    int m_bActiveRange;             // active-range restriction on (switched off by every build)
    double m_dActiveRangeMin;       // lower end of the active range
    double m_dActiveRangeMax;       // upper end of the active range
    int m_nActiveRangeMode;         // 0: polygons outside the active range are dropped
    int m_bActiveRangeKnot;         // the restriction came from custom knots

protected:
    // Orders the three corners of a triangle from the largest value to the smallest (on equal
    // values the higher index counts as larger) and rewrites the three edge keys (edge i runs
    // from corner i to corner i+1) as (largest-middle, middle-smallest, smallest-largest).
    void FindMinMax(double* values, int* order, unsigned* edgeKeys) const;
    // The crossings of GetRankVertices written to fixed arrays of at least MAX_LEVELS entries;
    // returns their count.
    int CrossLevels(const C3DPoint& p1, const C3DPoint& p2, double w1, double w2, C3DPoint* points, double* levels,
                    int* pOnLevel) const;
    // Band lists may gather the polygons of a whole model: before a cutter appends one polygon
    // of nVertices vertices, each list of 1,024 elements or more that lacks room gets a grow-by
    // proportional to its size, so the appends stay amortised linear (shorter lists keep the
    // library's step, which is proportional there and keeps lists emptied per face small).
    static void GrowBandLists(CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                              INT_PTR nVertices);
    // Discards every knot when an end knot narrows the range or an inner knot lies outside it.
    void CheckCustomRankMapKnots();
    // Band polygons of a triangle whose values run vA >= vB >= vC; eAB, eBC and eCA are the
    // line flags of its edges.
    void DoTriangleContour(double vA, double vB, double vC, C3DPoint& A, C3DPoint& B, C3DPoint& C, int eAB, int eBC,
                           int eCA, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                           CArray<double, double>* f1, CArray<double, double>* f2);
    // The mean of four points.
    C3DPoint FindCrossPoint(C3DPoint p1, C3DPoint p2, C3DPoint p3, C3DPoint p4);
    // Hue of t (0..1) for table kind 0..3, blue end first in normal order.
    COLORREF ScalarToRGB(float t, int kind) const;
    // Colour s/n of the way from c0 to c1, channel by channel.
    static COLORREF GetSubColor(COLORREF c0, COLORREF c1, int n, int s);

private:
    void InitFields(double dMin, double dMax);
    // Levels from the range and the knots: equal steps between knots, zero snapping.
    void MakeRangeLevels();
    // Levels of list mode: one band per listed value, the value inside it (halfway to each
    // neighbour), so a value's colour is that of the band showing its name.
    void MakeListLevels();
    // N of a list of nValues values: one band each, so nValues + 1 levels (at most 29 values).
    static int ListLevelCount(INT_PTR nValues);
    void SetGlobalLevels(int on, const double* levels, INT_PTR count);
    // N as used by every lookup: within 1..30 whatever the field holds.
    int LevelCount() const {
        return m_nNumColor < 1 ? 1 : (m_nNumColor > MAX_LEVELS ? MAX_LEVELS : m_nNumColor);
    }
    int TableKind() const {
        return m_nColorTableKind < 0 ? 0 : (m_nColorTableKind >= TABLE_KINDS ? TABLE_KINDS - 1 : m_nColorTableKind);
    }
    BOOL IsReversedOrder() const { return (m_bReverseColor != 0) != (m_bMinDominant != 0); }
    INT_PTR FindKnot(int r) const;
    // The model of the current view (or the current model when no view is active); null when
    // none lives.
    static I_PVXModel* GetCurrentModel();
    // Band polygons of a triangle of corners A, B, C whose values w run w[0] >= w[1] >= w[2],
    // appended to the lists in one step each; e[0..2] are the line flags of the edges A-B, B-C
    // and C-A. The body of DoTriangleContour.
    void CutTriangle(const C3DPoint& A, const C3DPoint& B, const C3DPoint& C, const double* w, const int* e,
                     CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                     CArray<double, double>* f2);
    // Shared strip cutter of the frame members; returns the number of polygons appended.
    int CutFramePoly(const C3DPoint* P, const double* w, const int* flags, int n, int levelFlag,
                     CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
    // Band-by-band clipping of a convex polygon, for pieces the strip cutter cannot pair.
    int ClipFramePolyByBands(const C3DPoint* P, const double* w, const int* flags, int n, int levelFlag,
                             CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);
    // Drops the polygons with a vertex value outside [lo - tol, hi + tol].
    static void RemovePolysOutside(double lo, double hi, double tol, CArray<int, int>& sizes,
                                   CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CArray<double, double>* f1,
                                   CArray<double, double>* f2);
    // Moves the n corners along their unit normal by value x adjust factor x scale, when the
    // extrude option is on and the current model's state allows it.
    void ExtrudeCorners(int n, C3DPoint** corners, const double* values, C3DPoint* copies);
    int m_nSortedLevels;  // length of the ascending run at the start of the levels (binary search)
    int m_nLastAbove = 0;  // the level found last above a face's values by the quadrilateral cutter

    static ModelExtentSource s_pfnModelExtent;
};
