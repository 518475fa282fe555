// The graphics control's camera: an orthographic view of world space fitted into a pixel area.
//
// World space is right-handed with z up. The view direction is given by two angles in degrees:
// the azimuth turns the eye about the world z axis (0 looks along +y from the front, 90 looks
// along -x from the right) and the elevation lifts it above the x-y plane (90 looks straight
// down: the plan). View coordinates (VCS) are the world point rotated into the camera frame:
// x to the right of the screen, y up the screen, z toward the viewer, so a larger z is nearer.
// VCS does not depend on pan or zoom, only on the angles, which lets bounding boxes and the
// picking tree in VCS survive zooming.
//
// Pixels: px = cx + scale * (xv - xt), py = cy - scale * (yv - yt), where (cx, cy) is the centre
// of the drawing area (client rectangle minus margins), (xt, yt) the VCS position of the target
// point and scale the number of pixels per world unit; pixel y grows downward. Zoom-all puts
// the centre of a world box on the target and chooses the scale so that the projected box fills
// `kZoomAllFill` of the drawing area in its tighter direction.
#pragma once

#include <algorithm>
#include <cmath>

#include "host/grx/C3DPoint.h"
#include "platform/afx/afxtypes.h"

class GViewCamera {
public:
    // Standard views.
    enum {
        VIEW_ISO = 0,
        VIEW_TOP,     // plan
        VIEW_FRONT,   // eye at -y
        VIEW_BACK,    // eye at +y
        VIEW_LEFT,    // eye at -x
        VIEW_RIGHT,   // eye at +x
        VIEW_BOTTOM,  // eye at -z
        VIEW_COUNT
    };
    static constexpr double kZoomAllFill = 0.9;  // share of the drawing area a zoom-all fills

    GViewCamera();

    // Sets one of the standard views; an unknown id gives the iso view. Returns the view set.
    int SetStandardView(int view);
    int GetStandardView() const { return m_nStdView; }  // -1 after a free rotation
    void SetAngles(double azimuthDeg, double elevationDeg);
    double GetAzimuth() const { return m_dAzimuth; }
    double GetElevation() const { return m_dElevation; }

    // Pixel rectangle that the view is fitted into (client area minus margins).
    void SetViewport(const CRect& area) { m_rcArea = area; }
    const CRect& GetViewport() const { return m_rcArea; }

    // World to view coordinates and back (pure rotation).
    C3DPoint WorldToView(const C3DPoint& w) const;
    C3DPoint ViewToWorld(const C3DPoint& v) const;
    // View x, y to pixel position (doubles, not rounded) and back.
    void ViewToPixel(double xv, double yv, double& px, double& py) const;
    void PixelToView(double px, double py, double& xv, double& yv) const;
    // World point to pixel position with the view depth as z.
    C3DPoint WorldToPixel3D(const C3DPoint& w) const;
    // World point to a pixel, rounded to the nearest integer.
    CPoint WorldToPixel(const C3DPoint& w) const { return ViewPointToPixel(WorldToView(w)); }
    // The pixel of a point already in view coordinates: WorldToPixel(w) is
    // ViewPointToPixel(WorldToView(w)), so callers needing both project once.
    CPoint ViewPointToPixel(const C3DPoint& v) const;
    // The pixel terms that stay the same from point to point, taken once for a run of points:
    // Terms().Pixel(v) is ViewPointToPixel(v), the same operations.
    struct PixelTerms {
        double cx, cy;  // area centre
        double scale;   // pixels per world unit
        double xt, yt;  // view x, y of the target
        void ToPixel(double xv, double yv, double& px, double& py) const {
            px = cx + scale * (xv - xt);
            py = cy - scale * (yv - yt);
        }
        CPoint Pixel(const C3DPoint& v) const;
    };
    PixelTerms Terms() const {
        return PixelTerms{(m_rcArea.left + m_rcArea.right) / 2.0, (m_rcArea.top + m_rcArea.bottom) / 2.0, m_dScale,
                          m_ptTarget.Dot(m_vRight), m_ptTarget.Dot(m_vUp)};
    }

    // Fits the world box [lo, hi] into the viewport. Boxes with no extent keep the scale.
    void ZoomToBox(const C3DPoint& lo, const C3DPoint& hi);
    // Zooms by a factor about the area centre; factors <= 0 are ignored.
    void Zoom(double factor);
    // Moves the picture by whole pixels (right and down positive).
    void Pan(double dxPixels, double dyPixels);

    double GetScale() const { return m_dScale; }  // pixels per world unit
    void SetScale(double s) { if (s > 0.0) m_dScale = s; }
    const C3DPoint& GetTarget() const { return m_ptTarget; }  // world point at the area centre
    void SetTarget(const C3DPoint& t) { m_ptTarget = t; }
    // Unit vectors of the screen right, up and toward-viewer directions in world space.
    const C3DPoint& GetRight() const { return m_vRight; }
    const C3DPoint& GetUp() const { return m_vUp; }
    const C3DPoint& GetEye() const { return m_vEye; }

    // A copy of this camera that shows the same region in another pixel area, scaled by the
    // smaller of the two size ratios (used for printing and export at other resolutions).
    GViewCamera FittedTo(const CRect& area) const;

private:
    void UpdateAxes();

    double m_dAzimuth;     // degrees
    double m_dElevation;   // degrees
    int m_nStdView;        // standard view id, -1 for free angles
    C3DPoint m_vRight, m_vUp, m_vEye;
    C3DPoint m_ptTarget;   // world point shown at the area centre
    double m_dScale;       // pixels per world unit
    CRect m_rcArea;        // pixel drawing area
};

// The projection runs per vertex of every drawn polygon: inline, so callers in other libraries
// do not pay a call per point.
inline C3DPoint GViewCamera::WorldToView(const C3DPoint& w) const {
    return C3DPoint(w.Dot(m_vRight), w.Dot(m_vUp), w.Dot(m_vEye));
}

inline void GViewCamera::ViewToPixel(double xv, double yv, double& px, double& py) const {
    Terms().ToPixel(xv, yv, px, py);
}

inline C3DPoint GViewCamera::WorldToPixel3D(const C3DPoint& w) const {
    C3DPoint v = WorldToView(w);
    double px, py;
    ViewToPixel(v.x, v.y, px, py);
    return C3DPoint(px, py, v.z);
}

inline CPoint GViewCamera::ViewPointToPixel(const C3DPoint& v) const { return Terms().Pixel(v); }

inline CPoint GViewCamera::PixelTerms::Pixel(const C3DPoint& v) const {
    double px, py;
    ToPixel(v.x, v.y, px, py);
    // Clamp far-away points so the integer conversion stays defined; a point that is not a
    // number lands off-screen (negative coordinates).
    const double lim = 1.0e9;
    auto toInt = [lim](double d) {
        if (!std::isfinite(d)) return static_cast<int>(-lim);
        // floor(y) exactly, as an int: y lies far inside the int range, so truncation toward
        // zero is exact and one step down mends what it rounded up (negative non-integers).
        const double y = std::clamp(d, -lim, lim) + 0.5;
        const int t = static_cast<int>(y);
        return static_cast<double>(t) > y ? t - 1 : t;
    };
    return CPoint(toInt(px), toInt(py));
}
