// Rendering of a drawing into a device context, as the drawing view shows it.
//
// The view window (ZoomAll, ZoomWindow; without one the drawing's boundary, fitted as ZoomAll
// fits it) is scaled uniformly into the target rectangle and centred, y pointing up. The
// rectangle is first painted black. Entities are drawn in z-order, each in its own colour or its
// layer's; layers with pen code 101 draw dash-dot lines. Filled entities are painted with a
// brush of their colour, outline included. Texts use their style's face (the raster back end
// draws "宋体" and every other CJK face with its CJK font), bold, italic, underline and
// strike-out, their height as the font's em height in pixels (texts below one pixel are not
// drawn), their rotation as the font's escapement, and the justification codes as the text
// alignment (horizontal) and a baseline shift along the rotated up direction (vertical).
// Line widths: see CVdrawUtil::SetLineWeight. Pens, brushes and fonts are made once per render
// for each colour, width and font in use and selected only when they change.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <tuple>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CMetaFileDC.h"
#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdGeometry.h"

namespace {

class CRenderer {
public:
    CRenderer(const CVdrawUtil& d, CDC* dc, const CRect& rect, const double view[4]) : m_d(d), m_dc(dc) {
        const double vw = view[2] - view[0], vh = view[3] - view[1];
        m_k = std::min(rect.Width() / vw, rect.Height() / vh);
        m_x0 = rect.left + 0.5 * (rect.Width() - vw * m_k) - view[0] * m_k;
        m_y0 = rect.bottom - 0.5 * (rect.Height() - vh * m_k) + view[1] * m_k;
    }

    ~CRenderer() {
        if (m_oldPen) m_dc->SelectObject(m_oldPen);
        if (m_oldBrush) m_dc->SelectObject(m_oldBrush);
        if (m_oldFont) m_dc->SelectObject(m_oldFont);
    }

    void Draw(const CvdFigure& f) {
        const VdLayer* layer = m_d.GetLayer(f.GetLayer());
        const COLORREF colour = f.m_hasColour ? f.m_colour : (layer ? layer->colour : 0xFFFFFF);
        const long weight = f.m_weight > 0 ? f.m_weight : (layer ? layer->width : 0);
        const int penStyle = layer && layer->pen == VdPenDashDot ? PS_DASHDOT : PS_SOLID;
        switch (f.GetKind()) {
        case VdKindText:
            Text(f, colour);
            break;
        case VdKindLine:
            UsePen(colour, weight, penStyle);
            Line(f.m_points[0], f.m_points[1]);
            break;
        case VdKindPolyLine:
        case VdKindRect:
            UsePen(colour, weight, penStyle);
            Poly(f.m_points, f.m_closed, f.m_fill, colour);
            break;
        case VdKindCircle:
            UsePen(colour, weight, penStyle);
            Poly(vd::ArcPoints(f.m_points[0], f.m_radius, 0.0, 360.0, ArcStep(f.m_radius)), true, f.m_fill, colour);
            break;
        case VdKindArc:
            UsePen(colour, weight, penStyle);
            Poly(vd::ArcPoints(f.m_points[0], f.m_radius, f.m_startAngle, vd::ArcSweep(f.m_startAngle, f.m_endAngle),
                               ArcStep(f.m_radius)),
                 false, false, colour);
            break;
        case VdKindArrow: {
            T_POINT2D head[3], end;
            vd::ArrowHead(f, head, end);
            UsePen(colour, weight, penStyle);
            Line(f.m_points[0], end);
            UsePen(f.m_colour2, 0, PS_SOLID);
            Poly(head, true, true, f.m_colour2);
            break;
        }
        }
    }

private:
    POINT Dev(const T_POINT2D& p) const {
        return POINT{static_cast<LONG>(std::lround(m_x0 + p.x * m_k)), static_cast<LONG>(std::lround(m_y0 - p.y * m_k))};
    }

    // Chord angle that keeps a circle's chords within about a pixel of the curve.
    double ArcStep(double r) const {
        const double px = std::max(1.0, r * m_k);
        return std::clamp(std::acos(std::max(-1.0, 1.0 - 0.5 / px)) * 2.0 / vd::kDegToRad, 1.0, 15.0);
    }

    int PenWidth(long weight) const {
        if (!m_d.GetLineWeightDisplay() || weight <= 0) return 1;
        return std::max(1, static_cast<int>(std::lround(weight * 96.0 / 2540.0)));
    }

    void UsePen(COLORREF colour, long weight, int style) {
        const auto key = std::make_tuple(colour, PenWidth(weight), style);
        if (m_havePen && key == m_penKey) return;
        auto& pen = m_pens[key];
        if (!pen) pen = std::make_unique<CPen>(style, std::get<1>(key), colour);
        CPen* old = m_dc->SelectObject(pen.get());
        if (!m_oldPen) m_oldPen = old;
        m_penKey = key;
        m_havePen = true;
    }

    void UseBrush(COLORREF colour, bool fill) {
        const COLORREF key = fill ? colour : 0xFFFFFFFF;  // the hollow brush
        if (m_haveBrush && key == m_brushKey) return;
        CBrush* brush = nullptr;
        if (fill) {
            auto& b = m_brushes[colour];
            if (!b) b = std::make_unique<CBrush>(colour);
            brush = b.get();
        }
        CBrush* old = brush ? m_dc->SelectObject(brush) : static_cast<CBrush*>(m_dc->SelectStockObject(NULL_BRUSH));
        if (!m_oldBrush) m_oldBrush = old;
        m_brushKey = key;
        m_haveBrush = true;
    }

    void Line(const T_POINT2D& a, const T_POINT2D& b) {
        const POINT pa = Dev(a), pb = Dev(b);
        m_dc->MoveTo(pa.x, pa.y);
        m_dc->LineTo(pb.x, pb.y);
    }

    void Poly(std::span<const T_POINT2D> pts, bool closed, bool fill, COLORREF colour) {
        if (pts.empty()) return;
        m_buf.clear();
        for (const T_POINT2D& p : pts) m_buf.push_back(Dev(p));
        if (fill && m_buf.size() >= 3) {
            UseBrush(colour, true);
            m_dc->Polygon(m_buf.data(), static_cast<int>(m_buf.size()));
            return;
        }
        if (closed && m_buf.size() >= 3) {
            m_buf.push_back(m_buf.front());
        }
        if (m_buf.size() == 1) m_buf.push_back(m_buf.front());
        m_dc->Polyline(m_buf.data(), static_cast<int>(m_buf.size()));
    }

    void Text(const CvdFigure& f, COLORREF colour) {
        const double hpx = f.m_height * m_k;
        if (hpx < 1.0 || f.m_text.IsEmpty()) return;
        const int escapement = static_cast<int>(std::lround(f.m_angle * 10.0)) % 3600;
        const auto key = std::make_tuple(f.m_style, static_cast<long>(std::lround(hpx)), escapement);
        if (!m_haveFont || key != m_fontKey) {
            auto& font = m_fonts[key];
            if (!font) {
                const sEVETextStyle& st = m_d.GetStyleRecord(f.m_style);
                LOGFONT lf;
                std::memset(&lf, 0, sizeof(lf));
                lf.lfHeight = -std::get<1>(key);
                lf.lfEscapement = escapement;
                lf.lfOrientation = escapement;
                lf.lfWeight = st.nBold ? FW_BOLD : FW_NORMAL;
                lf.lfItalic = st.nItalic ? 1 : 0;
                lf.lfUnderline = st.nUnderline ? 1 : 0;
                lf.lfStrikeOut = st.nStrikeOut ? 1 : 0;
                const char* face = st.strFaceName.IsEmpty() ? "宋体" : st.strFaceName.GetString();
                std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
                font = std::make_unique<CFont>();
                font->CreateFontIndirect(&lf);
            }
            CFont* old = m_dc->SelectObject(font.get());
            if (!m_oldFont) m_oldFont = old;
            m_fontKey = key;
            m_haveFont = true;
        }
        UINT align = TA_BASELINE | TA_LEFT;
        if (f.m_horJust == VdTextHorCenter) align = TA_BASELINE | TA_CENTER;
        else if (f.m_horJust == VdTextHorRight) align = TA_BASELINE | TA_RIGHT;
        if (!m_haveAlign || align != m_align) {
            m_dc->SetTextAlign(align);
            m_align = align;
            m_haveAlign = true;
        }
        if (!m_haveTextColour || colour != m_textColour) {
            m_dc->SetTextColor(colour);
            m_textColour = colour;
            m_haveTextColour = true;
        }
        // Baseline below the insertion point by the vertical code, along the rotated up axis.
        const T_POINT2D o = vd::JustifyOffset(VdTextHorLeft, f.m_verJust, 0.0, f.m_height);
        const double a = f.m_angle * vd::kDegToRad;
        const T_POINT2D base(f.m_points[0].x - o.y * std::sin(a), f.m_points[0].y + o.y * std::cos(a));
        const POINT p = Dev(base);
        std::string text = f.m_text.GetString();
        for (char& c : text)
            if (static_cast<unsigned char>(c) < 0x20) c = ' ';
        m_dc->TextOut(p.x, p.y, text);
    }

    const CVdrawUtil& m_d;
    CDC* m_dc;
    double m_k = 1.0, m_x0 = 0.0, m_y0 = 0.0;
    std::vector<POINT> m_buf;
    std::map<std::tuple<COLORREF, int, int>, std::unique_ptr<CPen>> m_pens;
    std::map<COLORREF, std::unique_ptr<CBrush>> m_brushes;
    std::map<std::tuple<int, long, int>, std::unique_ptr<CFont>> m_fonts;
    std::tuple<COLORREF, int, int> m_penKey;
    COLORREF m_brushKey = 0;
    std::tuple<int, long, int> m_fontKey;
    bool m_havePen = false, m_haveBrush = false, m_haveFont = false, m_haveAlign = false, m_haveTextColour = false;
    UINT m_align = 0;
    COLORREF m_textColour = 0;
    CPen* m_oldPen = nullptr;
    CBrush* m_oldBrush = nullptr;
    CFont* m_oldFont = nullptr;
};

bool EndsWithNoCase(const std::string& s, const char* ext) {
    const size_t n = std::strlen(ext);
    if (s.size() < n) return false;
    for (size_t i = 0; i < n; ++i)
        if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != ext[i]) return false;
    return true;
}

}  // namespace

BOOL CVdrawUtil::Render(CDC* dc, const CRect& rect) const {
    if (!dc || rect.Width() <= 0 || rect.Height() <= 0) return FALSE;
    dc->FillSolidRect(&rect, RGB(0, 0, 0));
    double view[4];
    if (!GetViewWindow(view)) {
        double box[4];
        if (!GetDrawingBoundary(box)) return TRUE;  // nothing drawn: the black sheet
        vd::FitWindow(box, view);
    }
    const int saved = dc->SaveDC();
    dc->SetBkMode(TRANSPARENT);
    dc->IntersectClipRect(rect.left, rect.top, rect.right, rect.bottom);
    {
        CRenderer r(*this, dc, rect, view);
        for (const CvdFigure& f : Figures()) r.Draw(f);
    }
    dc->RestoreDC(saved);
    return TRUE;
}

BOOL CVdrawUtil::RenderToFile(const CString& file, int width, int height) const {
    const std::string path = file.GetString();
    if (width <= 0 || height <= 0) {
        AfxDiagnostic("vdraw", "picture size %d x %d is empty", width, height);
        return FALSE;
    }
    const CRect rect(0, 0, width, height);
    if (EndsWithNoCase(path, ".bmp")) {
        CDC dc;
        if (!dc.CreateDisplayDC(width, height)) return FALSE;
        Render(&dc, rect);
        if (!WriteBmp24(path.c_str(), &dc)) {
            AfxDiagnostic("vdraw", "cannot write %s", path.c_str());
            return FALSE;
        }
        return TRUE;
    }
    if (EndsWithNoCase(path, ".emf")) {
        CMetaFileDC mf;
        // The frame in 0.01 mm at the reference's 96 pixels per inch.
        const CRect frame(0, 0, width * 2540 / 96, height * 2540 / 96);
        if (!mf.CreateEnhanced(nullptr, path.c_str(), &frame, "vdraw")) return FALSE;
        Render(&mf, rect);
        HENHMETAFILE h = mf.CloseEnhanced();
        if (!h) return FALSE;
        DeleteEnhMetaFile(h);
        return TRUE;
    }
    AfxDiagnostic("vdraw", "pictures are written as .bmp or .emf, not %s", path.c_str());
    return FALSE;
}
