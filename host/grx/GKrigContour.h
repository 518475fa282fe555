// The graphics control's Kriging contour display: a colour map of values known at scattered
// points (support reactions, settlements), interpolated by ordinary kriging over the plan.
//
// The model hands the points and values over with `I_PVXCtrl::OnKrigContour` together with a
// `GKrigContourDetail` taken from its colour scale; the control then paints the map over each
// memory image until `OffKrigContour`. The map covers the convex hull of the points in plan
// (x, y), lies at their mean z and is cut into cells of about `m_dCellPixels` pixels; each cell
// takes the band colour of the value kriged at its centre.
#pragma once

#include <vector>

#include "host/grx/C3DPoint.h"
#include "host/grx/GKriging.h"
#include "host/grx/GViewCamera.h"
#include "platform/afx/afxtypes.h"

class CDC;

struct GKrigContourDetail {
    int m_nColorNum = 12;           // number of colour bands (1..256)
    int m_nColorType = 0;           // colour table kind of the scale
    COLORREF m_crSerial[7] = {};    // the scale's serial colours 0..5 and 30, lowest value first
    COLORREF m_crOption = 0;        // line colour of the scale
    double m_dOption[6] = {};       // further settings of the scale, passed through
    int m_nModelOption = 0;         // model setting, passed through
    double m_dCellPixels = 5.0;     // cell size of the map in pixels
};

class GKrigContour {
public:
    // Takes the samples (x, y, value); non-zero when at least one usable sample remains.
    int Set(const std::vector<C3DPoint>& pts, const std::vector<double>& values, int kind,
            const GKrigContourDetail& detail);
    void Off() { m_bOn = 0; }
    int IsOn() const { return m_bOn; }
    int GetKind() const { return m_nKind; }
    const GKrigContourDetail& GetDetail() const { return m_detail; }
    const GKriging& GetKriging() const { return m_krig; }

    // Band colour of a value (bands spread evenly between the smallest and largest sample).
    COLORREF GetValueColor(double v) const;
    // Paints the map on pDC with the camera, clipped to the area; returns the cells drawn.
    int Draw(CDC* pDC, const GViewCamera& cam, const CRect& area) const;

private:
    int m_bOn = 0;
    int m_nKind = 0;
    GKrigContourDetail m_detail;
    GKriging m_krig;
    std::vector<double> m_hx, m_hy;  // convex hull of the samples in plan, counter-clockwise
    double m_dZ = 0.0;               // plane of the map
};
