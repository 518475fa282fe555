#include "host/grx/GViewCamera.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kPi = 3.14159265358979323846;
// Elevation of the classic isometric view: the eye on the (1, -1, 1) diagonal.
const double kIsoElevation = std::atan(1.0 / std::sqrt(2.0)) * 180.0 / kPi;

struct StdAngles {
    double az;
    double el;
};
const StdAngles kStdAngles[GViewCamera::VIEW_COUNT] = {
    {45.0, 0.0},    // iso: elevation filled in below
    {0.0, 90.0},    // top
    {0.0, 0.0},     // front
    {180.0, 0.0},   // back
    {-90.0, 0.0},   // left
    {90.0, 0.0},    // right
    {0.0, -90.0},   // bottom
};
}  // namespace

GViewCamera::GViewCamera()
    : m_dAzimuth(0.0), m_dElevation(0.0), m_nStdView(VIEW_ISO), m_dScale(1.0), m_rcArea(0, 0, 0, 0) {
    SetStandardView(VIEW_ISO);
}

int GViewCamera::SetStandardView(int view) {
    if (view < 0 || view >= VIEW_COUNT) view = VIEW_ISO;
    m_dAzimuth = kStdAngles[view].az;
    m_dElevation = view == VIEW_ISO ? kIsoElevation : kStdAngles[view].el;
    m_nStdView = view;
    UpdateAxes();
    return view;
}

void GViewCamera::SetAngles(double azimuthDeg, double elevationDeg) {
    m_dAzimuth = azimuthDeg;
    m_dElevation = std::clamp(elevationDeg, -90.0, 90.0);
    m_nStdView = -1;
    UpdateAxes();
}

void GViewCamera::UpdateAxes() {
    const double az = m_dAzimuth * kPi / 180.0;
    const double el = m_dElevation * kPi / 180.0;
    const double ca = std::cos(az), sa = std::sin(az), ce = std::cos(el), se = std::sin(el);
    m_vEye = C3DPoint(ce * sa, -ce * ca, se);
    m_vRight = C3DPoint(ca, sa, 0.0);
    m_vUp = m_vEye.Cross(m_vRight);
    // Round away the last-bit noise of cos(90°) so axis-aligned views project exactly.
    for (C3DPoint* v : {&m_vEye, &m_vRight, &m_vUp})
        for (int i = 0; i < 3; ++i)
            if (std::fabs((*v)[i]) < 1e-15) (*v)[i] = 0.0;
}

C3DPoint GViewCamera::ViewToWorld(const C3DPoint& v) const {
    return m_vRight * v.x + m_vUp * v.y + m_vEye * v.z;
}

void GViewCamera::PixelToView(double px, double py, double& xv, double& yv) const {
    const double cx = (m_rcArea.left + m_rcArea.right) / 2.0;
    const double cy = (m_rcArea.top + m_rcArea.bottom) / 2.0;
    xv = (px - cx) / m_dScale + m_ptTarget.Dot(m_vRight);
    yv = -(py - cy) / m_dScale + m_ptTarget.Dot(m_vUp);
}

void GViewCamera::ZoomToBox(const C3DPoint& lo, const C3DPoint& hi) {
    m_ptTarget = (lo + hi) * 0.5;
    // Extent of the projected box: the projection of its eight corners.
    double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
    for (int i = 0; i < 8; ++i) {
        C3DPoint c((i & 1) ? hi.x : lo.x, (i & 2) ? hi.y : lo.y, (i & 4) ? hi.z : lo.z);
        C3DPoint v = WorldToView(c);
        xmin = std::min(xmin, v.x);
        xmax = std::max(xmax, v.x);
        ymin = std::min(ymin, v.y);
        ymax = std::max(ymax, v.y);
    }
    const double w = xmax - xmin, h = ymax - ymin;
    const double aw = m_rcArea.Width(), ah = m_rcArea.Height();
    if (aw <= 0 || ah <= 0) return;
    const double tiny = 1e-12;
    double s;
    if (w <= tiny && h <= tiny) return;  // a single point: keep the scale, centre it
    if (w <= tiny)
        s = ah / h;
    else if (h <= tiny)
        s = aw / w;
    else
        s = std::min(aw / w, ah / h);
    m_dScale = s * kZoomAllFill;
}

void GViewCamera::Zoom(double factor) {
    if (factor > 0.0 && std::isfinite(factor)) m_dScale *= factor;
}

void GViewCamera::Pan(double dxPixels, double dyPixels) {
    // Moving the picture right means the target moves left in view space.
    m_ptTarget -= m_vRight * (dxPixels / m_dScale);
    m_ptTarget += m_vUp * (dyPixels / m_dScale);
}

GViewCamera GViewCamera::FittedTo(const CRect& area) const {
    GViewCamera c(*this);
    const double ow = m_rcArea.Width(), oh = m_rcArea.Height();
    if (ow > 0 && oh > 0 && area.Width() > 0 && area.Height() > 0)
        c.m_dScale = m_dScale * std::min(area.Width() / ow, area.Height() / oh);
    c.m_rcArea = area;
    return c;
}
