// CPlotReactionEng: the plot engine of one draw of the reaction engine.
//
// CReactionEngine::BeginPlotEng makes one for the device context of the draw, the model's render
// switch draws through it (CReactionEngine::DrawReactionValueNew, OutputNumbersNew) and
// EndPlotEng deletes it. Display mode 0 draws a glyph per reaction component at each supported
// node: a force is an arrow whose tip is the node and whose shaft length is proportional to the
// value, a moment a double-headed arrow; the node of the largest value is drawn in its own
// colours. With the model's result-display flag on, the shaft ends are handed to the graphics
// control's Kriging contour instead. Display mode 70 draws the spring-pressure contour on raft
// or beam members with the element extremes as numbers.
//
// Return values of Draw: 1 drawn, 0 nothing to draw, -1 Escape pressed or a mode not served.
#pragma once

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/grx/C3DPoint.h"
#include "module/engines/CPlotEngBase.h"
#include "module/model/PVXFlatFaces.h"
#include "module/model/PVXShapeLists.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

class CContourEngine;
class CReactionEngine;
struct GKrigContourDetail;

class CPlotReactionEng : public CPlotEngBase {
public:
    // Light yellow head faces, and light red ones of the largest node (RGB).
    static constexpr COLORREF kHeadColor = RGB(255, 255, 128);
    static constexpr COLORREF kMaxHeadColor = RGB(255, 64, 64);
    static constexpr COLORREF kShaftColor = RGB(0, 255, 0);
    static constexpr COLORREF kMaxShaftColor = RGB(0, 255, 255);
    static constexpr double kShaftRatio = 1.2;   // shaft of the largest reaction: 1.2 x the base length
    static constexpr double kHeadRatio = 0.35;   // head: 0.35 x the base length
    static constexpr double kHeadWidth = 0.3;    // half-width of a head over its length

    CPlotReactionEng(CReactionEngine* pEngine, CDC* pDC);
    ~CPlotReactionEng() override;

    int Draw(int nMode) override;
    int OutputNumbers(int nMode) override;
    int OutputSlabDeflectionNumbers(int) override { return 1; }
    int OutputSlabDeflectionNumbersMemb(int) override { return 1; }
    int OutputSettlementNumbers(int) override { return 1; }
    void Reset() override;

    // One component's glyph at P: a head (four triangles and the square base) with its apex at
    // P, a second head behind it for a moment (nComp 4..6), and the shaft as a two-point list.
    // s is the signed head length, L the signed shaft length; components 3, 7 and others add
    // nothing. The lists are appended to polys and owned by the caller.
    static void MakeGlyph(const C3DPoint& P, int nComp, double s, double L, PVXPolyListArray& polys);
    // The far end of the shaft of that glyph (where a resultant's number is written).
    static C3DPoint ShaftEnd(const C3DPoint& P, int nComp, double s, double L);
    // Colour scale settings handed to the Kriging contour.
    static void FillKrigDetail(const CContourEngine& ce, int nModelOption, GKrigContourDetail& detail);

    CReactionEngine* m_pReactionEngine;  // the owning engine, borrowed

private:
    // Display mode 0.
    int DrawArrows();
    int OutputArrowNumbers();
    // Display mode 70 (CPlotReactionEngContour.cpp).
    int DrawRaftContour();
    int DrawBeamContour();
    int OutputContourNumbers();
    // The contour of one raft member: 1 drawn, 0 nothing (no scale), -1 Escape.
    int DrawRaftMemberContour(UINT nMembKey, const T_PMEMB_D& memb);
    // The raft member from its kept flat faces (one value per node), as DrawRaftMemberContour.
    int DrawRaftFaces(const T_PMEMB_D& memb, const PVXFlatFaces& faces);
    // The contour of one beam element: 1 drawn, 0 nothing, -1 Escape.
    int DrawBeamElementContour(UINT nElemKey);

    // Head size of the arrows: the larger extreme magnitude x arrow factor x adjust x 0.35, at
    // most kHeadSpacing of the least distance between two supports, so that the heads of a dense
    // grid of supports leave room between them for their numbers.
    double HeadSize() const;
    static constexpr double kHeadSpacing = 0.3;
    // The least distance between two of the engine's nodes (0 with fewer than two).
    double LeastNodeSpacing() const;
    // A value as drawn: rescaled for the animation frame while an animation runs.
    double Animated(double v) const;
    // The number format "%.<digits>f" (or e) of the display options.
    CString NumberFormat() const;
    // Writes one number at a world point, or its extreme label, by the display options. A plain
    // number that would stand on symbol (a pixel box; empty: none) stands beside it instead: the
    // slot-th number moved off one symbol over it, the next under it, the next over the first
    // and so on; bForce moves it off symbol (or off its point) wherever it stands. True when the
    // number was moved.
    bool WriteNumber(const C3DPoint& p, double v, const CString& fmt, const CRect& symbol = CRect(), int slot = 0,
                     bool bForce = false);
    // Pixel box of the heads of a node's glyphs (empty when it has none).
    CRect HeadBox(const PVXPolyListArray& polys) const;
    // Window point of a world point (memory image or window, as the model draws).
    CPoint WindowPoint(const C3DPoint& p) const;
    // A line into the drawing target (and, when wanted, the view's client DC at once).
    void Line(const C3DPoint& a, const C3DPoint& b);
    // The undeformed outline over a contour drawn on the deformed shape, when the options ask.
    void DrawUndeformedOutline();
    // The banded polyline through points with their values.
    void BandedLine(CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values);
    // A face of two points with its two values, in bands from the lower end.
    void BandedLineFace(const C3DPoint* pts, const double* values);
    // Appends the band crossings of the segment a-b (values va, vb) in order from a, then b.
    void AppendCrossings(const C3DPoint& a, const C3DPoint& b, double va, double vb, CArray<C3DPoint, C3DPoint>& points,
                         CArray<double, double>& values);
};
