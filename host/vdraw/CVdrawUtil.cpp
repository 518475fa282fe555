// The drawing's entities, layers, text styles and view state. Export is in VdDxfExport.cpp,
// rendering in VdRender.cpp.
#include "host/vdraw/CVdrawUtil.h"

#include <algorithm>
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/CZELF_Polyline2D.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "host/vdraw/VdGeometry.h"

namespace {

const double kMinScale = 1e-6;

// Turns p by the angle whose cosine and sine are c and s about centre.
T_POINT2D Turn(const T_POINT2D& p, const T_POINT2D& centre, double c, double s) {
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    return T_POINT2D(centre.x + dx * c - dy * s, centre.y + dx * s + dy * c);
}

// The plan points of a point list times the scale (z, where there is one, is dropped).
template <class P>
std::vector<T_POINT2D> Scaled(const P* points, int count, double scale) {
    std::vector<T_POINT2D> out;
    out.reserve(count);
    for (int i = 0; i < count; ++i) out.emplace_back(points[i].x * scale, points[i].y * scale);
    return out;
}

}  // namespace

// ---- Points of an entity ----

void VdPoints::push_back(const T_POINT2D& p) {
    if (m_size == m_cap) {
        const uint32_t cap = m_cap * 2;
        T_POINT2D* heap = new T_POINT2D[cap];
        std::copy(begin(), end(), heap);
        Free();
        m_heap = heap;
        m_cap = cap;
    }
    data()[m_size++] = p;
}

void VdPoints::Assign(const T_POINT2D* p, size_t n) {
    if (n > m_cap) {
        T_POINT2D* heap = new T_POINT2D[n];
        Free();
        m_heap = heap;
        m_cap = static_cast<uint32_t>(n);
    }
    std::copy(p, p + n, data());
    m_size = static_cast<uint32_t>(n);
}

void VdPoints::Free() {
    if (m_cap > kInPlace) delete[] m_heap;
    m_cap = kInPlace;
    m_in[0] = m_in[1] = T_POINT2D();
}

CVdrawUtil::CVdrawUtil() {
    VdLayer zero;
    zero.id = 0;
    zero.caption = "0";
    m_layers[0] = zero;
    sEVETextStyle standard;
    standard.strFaceName = "宋体";
    m_styles.emplace_back(CString("STANDARD"), standard);
}

// A drawing handle still naming this drawing then names nothing, not freed memory.
CVdrawUtil::~CVdrawUtil() { VdReleaseDrawingHandle(this); }

// ---- Layers ----

BOOL CVdrawUtil::AddLayer(int id, const CString& caption, COLORREF colour, long width, int pen) {
    if (m_layers.count(id)) return TRUE;
    VdLayer layer;
    layer.id = id;
    layer.caption = caption;
    layer.colour = colour & 0xFFFFFF;
    layer.width = std::max(0L, width);
    layer.pen = pen;
    m_layers[id] = layer;
    return TRUE;
}

BOOL CVdrawUtil::AddLayer(int id, const CString& caption, COLORREF colour, long width, int /*flags*/, int pen) {
    return AddLayer(id, caption, colour, width, pen);
}

BOOL CVdrawUtil::SetCurrentLayer(const int& id) {
    if (!m_layers.count(id)) return FALSE;
    m_currentLayer = id;
    return TRUE;
}

const VdLayer* CVdrawUtil::GetLayer(int id) const {
    auto it = m_layers.find(id);
    return it == m_layers.end() ? nullptr : &it->second;
}

BOOL CVdrawUtil::SetLayerColor(int id, COLORREF colour) {
    auto it = m_layers.find(id);
    if (it == m_layers.end()) return FALSE;
    it->second.colour = colour & 0xFFFFFF;
    return TRUE;
}

std::vector<const VdLayer*> CVdrawUtil::GetLayers() const {
    std::vector<const VdLayer*> out;
    for (const auto& [id, layer] : m_layers) out.push_back(&layer);
    return out;
}

// ---- Text styles ----

int CVdrawUtil::AddTextStyle(const CString& name, const sEVETextStyle& style, int replace) {
    if (name.IsEmpty()) return 0;
    for (size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i].first == name) {
            if (!replace) return 0;
            m_styles[i].second = style;
            return static_cast<int>(i);
        }
    }
    m_styles.emplace_back(name, style);
    return static_cast<int>(m_styles.size() - 1);
}

BOOL CVdrawUtil::AddTextStyle(int id, const CString& name) {
    for (size_t i = 0; i < m_styles.size(); ++i) {
        if (m_styles[i].first == name) {
            m_styleIds[id] = static_cast<int>(i);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CVdrawUtil::GetTextStyle(const CString& name, sEVETextStyle& style) const {
    for (const auto& [n, s] : m_styles) {
        if (n == name) {
            style = s;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CVdrawUtil::SetCurrentTextStyle(const int& id) {
    auto it = m_styleIds.find(id);
    if (it != m_styleIds.end()) {
        m_currentStyle = it->second;
        return TRUE;
    }
    if (id >= 0 && id < static_cast<int>(m_styles.size())) {
        m_currentStyle = id;
        return TRUE;
    }
    return FALSE;
}

const sEVETextStyle& CVdrawUtil::GetStyleRecord(int index) const {
    if (index < 0 || index >= static_cast<int>(m_styles.size())) index = 0;
    return m_styles[index].second;
}

const CString& CVdrawUtil::GetStyleName(int index) const {
    if (index < 0 || index >= static_cast<int>(m_styles.size())) index = 0;
    return m_styles[index].first;
}

std::vector<CString> CVdrawUtil::GetTextStyleNames() const {
    std::vector<CString> names;
    for (const auto& s : m_styles) names.push_back(s.first);
    return names;
}

// ---- Draw scale ----

void CVdrawUtil::SetDrawScale(double scale) { m_scale = scale; }

// ---- Entities ----

CvdFigure* CVdrawUtil::NewFigure(VdFigureKind kind) {
    uint32_t place;
    if (!m_free.empty()) {
        place = m_free.back();
        m_free.pop_back();
    } else {
        if ((m_places >> kBlockBits) == m_pool.size()) m_pool.emplace_back(new CvdFigure[1u << kBlockBits]);
        place = m_places++;
    }
    CvdFigure& fig = At(place);
    fig.m_id = static_cast<int32_t>(m_nextId++);
    fig.m_kind = static_cast<uint8_t>(kind);
    fig.m_layer = m_currentLayer;
    fig.m_prev = m_last;
    fig.m_next = kNone;
    if (m_last != kNone) At(m_last).m_next = place;
    else m_first = place;
    m_last = place;
    ++m_count;
    m_index.push_back(place);
    return &fig;
}

void CVdrawUtil::Unlink(uint32_t place) {
    CvdFigure& f = At(place);
    if (f.m_prev != kNone) At(f.m_prev).m_next = f.m_next;
    else m_first = f.m_next;
    if (f.m_next != kNone) At(f.m_next).m_prev = f.m_prev;
    else m_last = f.m_prev;
}

long CVdrawUtil::DrawText(const CString& text, double x, double y, int verJust, int horJust, double height,
                          double angle) {
    if (!CanDraw()) return 0;
    CvdFigure* f = NewFigure(VdKindText);
    f->m_points.emplace_back(x * m_scale, y * m_scale);
    f->m_text = text;
    f->m_style = static_cast<int16_t>(m_currentStyle);
    f->m_height = height > 0.0 ? height : GetStyleTextHeight();
    f->m_angle = angle;
    f->m_horJust = horJust;
    f->m_verJust = verJust;
    return f->m_id;
}

long CVdrawUtil::DrawTextA(const CString& text, double x, double y, double /*z*/, double height) {
    return DrawText(text, x, y, VdTextVerBottom, VdTextHorLeft, height, 0.0);
}

long CVdrawUtil::DrawTextA(const CString& text, double x, double y, int verJust, int horJust, double height,
                           double angle) {
    return DrawText(text, x, y, verJust, horJust, height, angle);
}

long CVdrawUtil::DrawLine(double x1, double y1, double x2, double y2, double /*z*/) {
    if (!CanDraw()) return 0;
    CvdFigure* f = NewFigure(VdKindLine);
    f->m_points.emplace_back(x1 * m_scale, y1 * m_scale);
    f->m_points.emplace_back(x2 * m_scale, y2 * m_scale);
    return f->m_id;
}

long CVdrawUtil::DrawLine(const T_POINT2D& a, const T_POINT2D& b) { return DrawLine(a.x, a.y, b.x, b.y, 0.0); }

long CVdrawUtil::AddPolyLine(std::vector<T_POINT2D>&& scaled, int fill, const CString& lineType) {
    if (scaled.empty()) return 0;
    CvdFigure* f = NewFigure(VdKindPolyLine);
    f->m_fill = fill != 0;
    if (!lineType.IsEmpty()) m_extra[f->m_id].lineType = lineType;
    if (scaled.size() > 2 && scaled.front() == scaled.back()) {
        scaled.pop_back();
        f->m_closed = TRUE;
    }
    if (f->m_fill) f->m_closed = TRUE;
    f->m_points = std::move(scaled);
    return f->m_id;
}

long CVdrawUtil::DrawPolyLine(const T_POINT2D* points, int count, int fill, const CString& lineType) {
    if (!CanDraw() || !points || count < 1) return 0;
    return AddPolyLine(Scaled(points, count, m_scale), fill, lineType);
}

long CVdrawUtil::DrawPolyLine(const T_POLYGON2D& polygon, int fill, const CString& lineType, int, int) {
    return DrawPolyLine(polygon.m_Points.data(), polygon.GetCount(), fill, lineType);
}

long CVdrawUtil::DrawPolyLine(const CArray<T_POINT2D>& points, int fill, const CString& lineType, int, int) {
    return DrawPolyLine(points.GetData(), static_cast<int>(points.GetSize()), fill, lineType);
}

long CVdrawUtil::DrawPolyLine(const T_MEMBDLG_3DPOINT* points, int count, int fill, const CString& lineType) {
    if (!CanDraw() || !points || count < 1) return 0;
    return AddPolyLine(Scaled(points, count, m_scale), fill, lineType);
}

long CVdrawUtil::DrawPolyLine(const CArray<T_MEMBDLG_3DPOINT>& points, int fill, const CString& lineType) {
    return DrawPolyLine(points.GetData(), static_cast<int>(points.GetSize()), fill, lineType);
}

long CVdrawUtil::DrawPolyLine(const T_MEMBDLG_3DPOINT_LIST_ITEM& points, int fill, const CString& lineType) {
    return DrawPolyLine(points.m_Points, fill, lineType);
}

long CVdrawUtil::DrawPolyLine(const CZELF_Polyline2D& polyline, int, int) {
    CArray<T_POINT2D> pts;
    polyline.ToPolyLine(pts, CMathFunc::ArcDividAngleForCal, 1);
    return DrawPolyLine(pts, 0, CString());
}

long CVdrawUtil::DrawCircle(double cx, double cy, double /*z*/, double r, int fill, const CString& lineType) {
    if (!CanDraw() || !(r > 0.0)) return 0;
    CvdFigure* f = NewFigure(VdKindCircle);
    f->m_points.emplace_back(cx * m_scale, cy * m_scale);
    f->m_radius = r * m_scale;
    f->m_fill = fill != 0;
    if (!lineType.IsEmpty()) m_extra[f->m_id].lineType = lineType;
    return f->m_id;
}

long CVdrawUtil::DrawArc(double cx, double cy, double r, double start, double end, int ccw) {
    if (!CanDraw() || !(r > 0.0)) return 0;
    CvdFigure* f = NewFigure(VdKindArc);
    f->m_points.emplace_back(cx * m_scale, cy * m_scale);
    f->m_radius = r * m_scale;
    f->m_startAngle = ccw ? start : end;
    f->m_endAngle = ccw ? end : start;
    return f->m_id;
}

long CVdrawUtil::DrawRect1(double x, double y, double w, double h, double angle, int fill,
                           const CString& lineType) {
    if (!CanDraw()) return 0;
    CvdFigure* f = NewFigure(VdKindRect);
    const double s = m_scale;
    const T_POINT2D centre((x + 0.5 * w) * s, (y + 0.5 * h) * s);
    const double a = angle * vd::kDegToRad;
    const double c = std::cos(a), sn = std::sin(a);
    const double xs[4] = {x, x + w, x + w, x};
    const double ys[4] = {y, y, y + h, y + h};
    for (int i = 0; i < 4; ++i) f->m_points.push_back(Turn(T_POINT2D(xs[i] * s, ys[i] * s), centre, c, sn));
    f->m_closed = TRUE;
    f->m_fill = fill != 0;
    if (!lineType.IsEmpty()) m_extra[f->m_id].lineType = lineType;
    return f->m_id;
}

long CVdrawUtil::AddArrow(const T_POINT2D& tail, const T_POINT2D& tip, double headSize, COLORREF colour,
                          COLORREF headColour, double weight) {
    if (!CanDraw()) return 0;
    CvdFigure* f = NewFigure(VdKindArrow);
    f->m_points.emplace_back(tail.x * m_scale, tail.y * m_scale);
    f->m_points.emplace_back(tip.x * m_scale, tip.y * m_scale);
    f->m_headSize = std::max(0.0, headSize * m_scale);
    f->m_hasColour = TRUE;
    f->m_colour = colour & 0xFFFFFF;
    f->m_colour2 = headColour & 0xFFFFFF;
    f->m_weight = static_cast<int32_t>(std::max(0L, std::lround(weight)));
    return f->m_id;
}

// ---- Queries ----

uint32_t CVdrawUtil::Find(long id) const {
    if (id < m_idBase || id - m_idBase >= static_cast<long>(m_index.size())) return kNone;
    return m_index[id - m_idBase];
}

CvdFigure* CVdrawUtil::GetFigure(long id) {
    const uint32_t place = Find(id);
    return place == kNone ? nullptr : &At(place);
}

const CvdFigure* CVdrawUtil::GetFigure(long id) const {
    const uint32_t place = Find(id);
    return place == kNone ? nullptr : &At(place);
}

const VdFigureExtra* CVdrawUtil::GetFigureExtra(long id) const {
    auto it = m_extra.find(id);
    return it == m_extra.end() ? nullptr : &it->second;
}

std::vector<long> CVdrawUtil::GetFigureIds() const {
    std::vector<long> ids;
    ids.reserve(m_count);
    for (const CvdFigure& f : Figures()) ids.push_back(f.m_id);
    return ids;
}

double CVdrawUtil::GetStyleTextHeight() const {
    const double h = GetStyleRecord(m_currentStyle).dHeight;
    return h > 0.0 ? h : 1.0;
}

double CVdrawUtil::GetTextHeight(long id) const {
    const CvdFigure* f = GetFigure(id);
    return f && f->IsText() ? f->m_height : 0.0;
}

double CVdrawUtil::GetTextHeight(const CArray<long>& ids) const {
    vd::Box box;
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        const CvdFigure* f = GetFigure(ids[i]);
        if (f && f->IsText()) vd::AddFigureBox(*f, box);
    }
    return box.valid ? box.ymax - box.ymin : 0.0;
}

BOOL CVdrawUtil::GetDrawingBoundary(double out[4]) const {
    vd::Box box;
    for (const CvdFigure& f : Figures()) vd::AddFigureBox(f, box);
    if (!box.valid) return FALSE;
    out[0] = box.xmin;
    out[1] = box.ymin;
    out[2] = box.xmax;
    out[3] = box.ymax;
    return TRUE;
}

// ---- Entity edits ----

BOOL CVdrawUtil::SetFigureColor(long id, const COLORREF& colour, BOOL flag) {
    CvdFigure* f = GetFigure(id);
    if (!f) return FALSE;
    f->m_hasColour = TRUE;
    f->m_colour = colour & 0xFFFFFF;
    if (f->m_kind == VdKindArrow) f->m_colour2 = f->m_colour;
    if (flag || m_extra.count(id)) m_extra[id].colourFlag = flag;
    return TRUE;
}

BOOL CVdrawUtil::SetLineWeight(long id, long weight) {
    CvdFigure* f = GetFigure(id);
    if (!f) return FALSE;
    f->m_weight = static_cast<int32_t>(std::max(0L, weight));
    return TRUE;
}

BOOL CVdrawUtil::SetToolTip(long id, const CString& text) {
    CvdFigure* f = GetFigure(id);
    if (!f) return FALSE;
    m_extra[id].toolTip = text;
    return TRUE;
}

BOOL CVdrawUtil::BringBottom(long id) {
    const uint32_t place = Find(id);
    if (place == kNone) return FALSE;
    if (place == m_first) return TRUE;
    Unlink(place);
    CvdFigure& f = At(place);
    f.m_prev = kNone;
    f.m_next = m_first;
    At(m_first).m_prev = place;
    m_first = place;
    return TRUE;
}

BOOL CVdrawUtil::RotateFigure(long id, double degrees, const T_POINT2D& centre, int /*redraw*/) {
    CvdFigure* f = GetFigure(id);
    if (!f) return FALSE;
    const double a = degrees * vd::kDegToRad;
    const double c = std::cos(a), s = std::sin(a);
    for (T_POINT2D& p : f->m_points) p = Turn(p, centre, c, s);
    if (f->m_kind == VdKindText) f->m_angle += degrees;
    if (f->m_kind == VdKindArc) {
        f->m_startAngle += degrees;
        f->m_endAngle += degrees;
    }
    return TRUE;
}

BOOL CVdrawUtil::MoveFigure(long id, double dx, double dy) {
    CvdFigure* f = GetFigure(id);
    if (!f) return FALSE;
    for (T_POINT2D& p : f->m_points) {
        p.x += dx;
        p.y += dy;
    }
    return TRUE;
}

int CVdrawUtil::DeleteFigure(long id) {
    const uint32_t place = Find(id);
    if (place == kNone) return 0;
    Unlink(place);
    At(place) = CvdFigure();  // gives back what its points and text held
    m_free.push_back(place);
    --m_count;
    m_index[id - m_idBase] = kNone;
    m_extra.erase(id);
    return 1;
}

int CVdrawUtil::DeleteFigure(const CArray<long>& ids) {
    int n = 0;
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) n += DeleteFigure(ids[i]);
    return n;
}

void CVdrawUtil::RemoveAllData() {
    m_pool.clear();
    m_places = 0;
    m_free.clear();
    m_first = m_last = kNone;
    m_count = 0;
    m_index.clear();
    m_extra.clear();
    m_idBase = m_nextId;
}

// ---- X-properties and text moves ----

BOOL CVdrawUtil::AddXPropertyInt(long id, const CString& name, int value) {
    CvdFigure* f = GetFigure(id);
    if (!f || name.IsEmpty()) return FALSE;
    m_extra[id].xInt[name] = value;
    return TRUE;
}

BOOL CVdrawUtil::GetXPropertyInt(long id, const CString& name, int& value) const {
    const VdFigureExtra* x = GetFigureExtra(id);
    if (!x) return FALSE;
    auto it = x->xInt.find(name);
    if (it == x->xInt.end()) return FALSE;
    value = it->second;
    return TRUE;
}

BOOL CVdrawUtil::GetTextPosInfo_VDF(const CvdFigure* text, const CString& name, int& value) const {
    if (!text || !text->IsText()) return FALSE;
    return GetXPropertyInt(text->GetId(), name, value);
}

BOOL CVdrawUtil::MoveTextX(long id, double dx, double dy) {
    const CvdFigure* f = GetFigure(id);
    if (!f || !f->IsText()) return FALSE;
    return MoveFigure(id, dx * m_scale, dy * m_scale);
}

BOOL CVdrawUtil::ReSetTextType(long id, const char* type) {
    CvdFigure* f = GetFigure(id);
    if (!f || !f->IsText()) return FALSE;
    if (type) {
        m_extra[id].textType = type;
    } else {
        f->m_movable = TRUE;
        if (auto it = m_extra.find(id); it != m_extra.end()) it->second.textType.Empty();
    }
    return TRUE;
}

// ---- View ----

void CVdrawUtil::ZoomAll() {
    ++m_zoomAlls;
    double box[4];
    if (!GetDrawingBoundary(box)) {
        m_hasView = FALSE;
        return;
    }
    vd::FitWindow(box, m_view);
    m_hasView = TRUE;
}

void CVdrawUtil::SetZoomWindow(double x1, double y1, double x2, double y2) {
    m_zoomWindow[0] = std::min(x1, x2);
    m_zoomWindow[1] = std::min(y1, y2);
    m_zoomWindow[2] = std::max(x1, x2);
    m_zoomWindow[3] = std::max(y1, y2);
    m_hasZoomWindow = m_zoomWindow[2] > m_zoomWindow[0] && m_zoomWindow[3] > m_zoomWindow[1];
}

void CVdrawUtil::ZoomWindow() {
    ++m_zoomWindows;
    if (!m_hasZoomWindow) return;
    std::copy(m_zoomWindow, m_zoomWindow + 4, m_view);
    m_hasView = TRUE;
}

BOOL CVdrawUtil::GetViewWindow(double box[4]) const {
    if (!m_hasView) return FALSE;
    std::copy(m_view, m_view + 4, box);
    return TRUE;
}
