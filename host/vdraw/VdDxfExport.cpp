// DXF export of a drawing: release 12 (AC1009) through dxflib.
//
// Release 12 because it is the one dxflib writes cleanly: ezdxf's audit passes it with no error
// and no fix, and LibreCAD converts it. What goes out, per entity of the drawing:
//   text               TEXT (style, height, rotation, justification as 72/73 with 11/21)
//   line               LINE
//   polyline, rect     POLYLINE with VERTEXes and SEQEND (closed flag when closed)
//   circle             CIRCLE
//   arc                ARC (counter-clockwise, degrees)
//   arrow              LINE (the shaft) and SOLID (the head)
//   filled polyline, rect or circle: the outline as above and, before it, its area as SOLID
//                      triangles (ear clipping; a circle as a 72-sided polygon: 70 triangles)
// Text styles' bold, italic and underline are not written (release 12 has no such style
// fields, and "%%u" codes show as text in common readers). Every style names the GB fonts that
// SHX-based CAD programs ship, gbenor.shx and the big font gbcbig.shx (or the style's own big
// font) for Chinese characters. LibreCAD reads a text's style name as its font's name, so texts
// with Chinese characters go out in one more style, "KST32B", named after the LibreCAD font with
// the most Chinese glyphs (it lacks a part of the simplified ones, e.g. 压). Dash-dot layers get $LTSCALE 1/200
// of the sheet's diagonal so the pattern shows at full view.
// Colours: an entity's own colour as the nearest AutoCAD colour index (white as 7, which prints
// black on paper), else BYLAYER; layers likewise. Release 12 has no line weights: none are
// written. Texts and names outside ASCII go out as \U+XXXX escapes; layer names must be plain
// (letters, digits, "_", "-", "$"): a caption that is not becomes "L<id>". $INSUNITS is 0
// (unitless), so viewers do not scale the sheet to metres. Numbers are written without the
// C library's locale (shortest round-trip form, "." as decimal point).
#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <span>
#include <string_view>

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/OutputFiles.h"
#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdDxf.h"
#include "host/vdraw/VdGeometry.h"

namespace {

// The AutoCAD colour index palette, 0xRRGGBB by index (0 and 256 are BYBLOCK/BYLAYER).
const unsigned kAciRgb[256] = {
    0x000000, 0xFF0000, 0xFFFF00, 0x00FF00, 0x00FFFF, 0x0000FF, 0xFF00FF, 0xFFFFFF,
    0x808080, 0xC0C0C0, 0xFF0000, 0xFF7F7F, 0xA50000, 0xA55252, 0x7F0000, 0x7F3F3F,
    0x4C0000, 0x4C2626, 0x260000, 0x261313, 0xFF3F00, 0xFF9F7F, 0xA52900, 0xA56752,
    0x7F1F00, 0x7F4F3F, 0x4C1300, 0x4C2F26, 0x260900, 0x261713, 0xFF7F00, 0xFFBF7F,
    0xA55200, 0xA57C52, 0x7F3F00, 0x7F5F3F, 0x4C2600, 0x4C3926, 0x261300, 0x261C13,
    0xFFBF00, 0xFFDF7F, 0xA57C00, 0xA59152, 0x7F5F00, 0x7F6F3F, 0x4C3900, 0x4C4226,
    0x261C00, 0x262113, 0xFFFF00, 0xFFFF7F, 0xA5A500, 0xA5A552, 0x7F7F00, 0x7F7F3F,
    0x4C4C00, 0x4C4C26, 0x262600, 0x262613, 0xBFFF00, 0xDFFF7F, 0x7CA500, 0x91A552,
    0x5F7F00, 0x6F7F3F, 0x394C00, 0x424C26, 0x1C2600, 0x212613, 0x7FFF00, 0xBFFF7F,
    0x52A500, 0x7CA552, 0x3F7F00, 0x5F7F3F, 0x264C00, 0x394C26, 0x132600, 0x1C2613,
    0x3FFF00, 0x9FFF7F, 0x29A500, 0x67A552, 0x1F7F00, 0x4F7F3F, 0x134C00, 0x2F4C26,
    0x092600, 0x172613, 0x00FF00, 0x7FFF7F, 0x00A500, 0x52A552, 0x007F00, 0x3F7F3F,
    0x004C00, 0x264C26, 0x002600, 0x132613, 0x00FF3F, 0x7FFF9F, 0x00A529, 0x52A567,
    0x007F1F, 0x3F7F4F, 0x004C13, 0x264C2F, 0x002609, 0x135817, 0x00FF7F, 0x7FFFBF,
    0x00A552, 0x52A57C, 0x007F3F, 0x3F7F5F, 0x004C26, 0x264C39, 0x002613, 0x13581C,
    0x00FFBF, 0x7FFFDF, 0x00A57C, 0x52A591, 0x007F5F, 0x3F7F6F, 0x004C39, 0x264C42,
    0x00261C, 0x135858, 0x00FFFF, 0x7FFFFF, 0x00A5A5, 0x52A5A5, 0x007F7F, 0x3F7F7F,
    0x004C4C, 0x264C4C, 0x002626, 0x135858, 0x00BFFF, 0x7FDFFF, 0x007CA5, 0x5291A5,
    0x005F7F, 0x3F6F7F, 0x00394C, 0x26427E, 0x001C26, 0x135858, 0x007FFF, 0x7FBFFF,
    0x0052A5, 0x527CA5, 0x003F7F, 0x3F5F7F, 0x00264C, 0x26397E, 0x001326, 0x131C58,
    0x003FFF, 0x7F9FFF, 0x0029A5, 0x5267A5, 0x001F7F, 0x3F4F7F, 0x00134C, 0x262F7E,
    0x000926, 0x131758, 0x0000FF, 0x7F7FFF, 0x0000A5, 0x5252A5, 0x00007F, 0x3F3F7F,
    0x00004C, 0x26267E, 0x000026, 0x131358, 0x3F00FF, 0x9F7FFF, 0x2900A5, 0x6752A5,
    0x1F007F, 0x4F3F7F, 0x13004C, 0x2F267E, 0x090026, 0x171358, 0x7F00FF, 0xBF7FFF,
    0x5200A5, 0x7C52A5, 0x3F007F, 0x5F3F7F, 0x26004C, 0x39267E, 0x130026, 0x1C1358,
    0xBF00FF, 0xDF7FFF, 0x7C00A5, 0x9152A5, 0x5F007F, 0x6F3F7F, 0x39004C, 0x42264C,
    0x1C0026, 0x581358, 0xFF00FF, 0xFF7FFF, 0xA500A5, 0xA552A5, 0x7F007F, 0x7F3F7F,
    0x4C004C, 0x4C264C, 0x260026, 0x581358, 0xFF00BF, 0xFF7FDF, 0xA5007C, 0xA55291,
    0x7F005F, 0x7F3F6F, 0x4C0039, 0x4C2642, 0x26001C, 0x581358, 0xFF007F, 0xFF7FBF,
    0xA50052, 0xA5527C, 0x7F003F, 0x7F3F5F, 0x4C0026, 0x4C2639, 0x260013, 0x58131C,
    0xFF003F, 0xFF7F9F, 0xA50029, 0xA55267, 0x7F001F, 0x7F3F4F, 0x4C0013, 0x4C262F,
    0x260009, 0x581317, 0x000000, 0x656565, 0x666666, 0x999999, 0xCCCCCC, 0xFFFFFF,
};

// Fonts of the style table; the style of texts with Chinese characters.
const char kPrimaryFont[] = "gbenor.shx";
const char kBigFont[] = "gbcbig.shx";
const char kChineseStyle[] = "KST32B";

// dxflib's writer with numbers formatted independently of the locale, writing each group as
// dxflib's text writer lays it out (the group code right-aligned in three places, a line, the
// value, a line) into one buffer that goes to the file in large blocks: dxflib's own writer
// pushes every value through a stream and its small buffer.
class CLocaleFreeWriter : public DL_WriterA {
public:
    // dxflib's stream gets the null device; the drawing goes to file.
    CLocaleFreeWriter(const char* file, DL_Codes::version v)
        : DL_WriterA("/dev/null", v), m_file(OpenOutputStream(file)) {}
    ~CLocaleFreeWriter() override {
        if (m_file) std::fclose(m_file);
    }
    CLocaleFreeWriter(const CLocaleFreeWriter&) = delete;
    CLocaleFreeWriter& operator=(const CLocaleFreeWriter&) = delete;

    bool OpenFailed() const { return m_file == nullptr; }
    // Writes the rest and closes the file; false when any write failed (a full disk).
    bool Close() {
        Flush();
        if (m_file && std::fclose(m_file) != 0) m_failed = true;
        m_file = nullptr;
        return !m_failed;
    }

    void dxfReal(int gc, double value) const override {
        char buf[64];
        if (value == 0.0 || !std::isfinite(value)) value = 0.0;  // no "-0", no "nan" in the file
        auto r = std::to_chars(buf, buf + sizeof(buf) - 3, value);
        if (std::find_if(buf, r.ptr, [](char c) { return c == '.' || c == 'e'; }) == r.ptr) {
            *r.ptr++ = '.';
            *r.ptr++ = '0';
        }
        Group(gc, std::string_view(buf, static_cast<size_t>(r.ptr - buf)));
    }
    void dxfInt(int gc, int value) const override {
        char buf[16];
        auto r = std::to_chars(buf, buf + sizeof(buf), value);
        Group(gc, std::string_view(buf, static_cast<size_t>(r.ptr - buf)));
    }
    void dxfHex(int gc, int value) const override {
        char buf[16];
        std::snprintf(buf, sizeof(buf), "%X", static_cast<unsigned>(value));
        Group(gc, buf);
    }
    void dxfString(int gc, const char* value) const override {
        if (value) Group(gc, value);
    }
    void dxfString(int gc, const std::string& value) const override { Group(gc, value); }

private:
    static constexpr size_t kBlock = 1 << 20;  // bytes handed to the file at once

    void Group(int gc, std::string_view value) const {
        m_buf.append(gc < 10 ? "  " : gc < 100 ? " " : "");
        char code[16];
        auto r = std::to_chars(code, code + sizeof(code), gc);
        m_buf.append(code, r.ptr);
        m_buf += '\n';
        m_buf.append(value);
        m_buf += '\n';
        if (m_buf.size() >= kBlock) Flush();
    }
    void Flush() const {
        if (m_file && !m_buf.empty() && std::fwrite(m_buf.data(), 1, m_buf.size(), m_file) != m_buf.size())
            m_failed = true;
        m_buf.clear();
    }

    std::FILE* m_file;
    mutable std::string m_buf;
    mutable bool m_failed = false;
};

}  // namespace

namespace vd {

int NearestAci(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    int best = 7;
    long bestD = -1;
    for (int i = 1; i < 256; ++i) {
        const int ar = (kAciRgb[i] >> 16) & 0xFF, ag = (kAciRgb[i] >> 8) & 0xFF, ab = kAciRgb[i] & 0xFF;
        const long d = long(ar - r) * (ar - r) + long(ag - g) * (ag - g) + long(ab - b) * (ab - b);
        if (bestD < 0 || d < bestD) {
            bestD = d;
            best = i;
        }
    }
    return best;
}

std::string DxfText(const std::string& utf8) {
    std::string out;
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += c < 0x20 ? ' ' : static_cast<char>(c);
            ++i;
            continue;
        }
        unsigned cp = 0;
        size_t len = 0;
        if (c >= 0xF0) len = 4, cp = c & 0x07;
        else if (c >= 0xE0) len = 3, cp = c & 0x0F;
        else if (c >= 0xC0) len = 2, cp = c & 0x1F;
        else len = 1, cp = 0xFFFD;  // stray continuation byte
        for (size_t k = 1; k < len; ++k) {
            if (i + k >= utf8.size()) {
                cp = 0xFFFD;
                break;
            }
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        }
        i += len;
        if (cp > 0xFFFF) cp = 0xFFFD;  // release 12 escapes name 16-bit characters only
        char buf[16];
        std::snprintf(buf, sizeof(buf), "\\U+%04X", cp);
        out += buf;
    }
    return out;
}

bool HasChinese(const std::string& utf8) {
    for (size_t i = 0; i + 2 < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xF0) != 0xE0) continue;
        const unsigned cp = (c & 0x0Fu) << 12 | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6 |
                            (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
        if (cp >= 0x2E80 && cp <= 0x9FFF) return true;  // CJK radicals, punctuation, ideographs
    }
    return false;
}

std::string DxfTableName(const CString& caption, const char* prefix, int id, std::set<std::string>& used) {
    std::string name = caption.GetString();
    bool plain = !name.empty() && name.size() <= 31;
    for (char ch : name) {
        if (!(std::isalnum(static_cast<unsigned char>(ch)) || ch == '_' || ch == '-' || ch == '$')) plain = false;
    }
    std::string upper = name;
    for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (!plain || used.count(upper)) {
        name = std::string(prefix) + std::to_string(id);
        while (used.count(name)) name += "_";
        upper = name;
    }
    used.insert(upper);
    return name;
}

}  // namespace vd

namespace {

bool HasDxfExtension(const std::string& file) {
    if (file.size() < 4) return false;
    std::string ext = file.substr(file.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".dxf";
}

}  // namespace

// Writes one drawing (a friend of the drawing: it walks the entity list in z-order).
// Its members are of types local to this file. Compiled in a unity batch, the file is
// included into the batch's unit, and GCC takes it for a header and warns of that.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wsubobject-linkage"
struct VdExporter {
    const CVdrawUtil& d;
    DL_Dxf dxf;
    CLocaleFreeWriter& w;
    std::map<int, std::string> layerNames;
    std::vector<std::string> styleNames;
    std::string chineseStyle = kChineseStyle;

    VdExporter(const CVdrawUtil& drawing, CLocaleFreeWriter& writer) : d(drawing), w(writer) {
        // DL_Dxf learns the release only from out(), which opens a writer of its own: let it
        // open the null device, so the entity writers below follow release 12 too.
        delete dxf.out("/dev/null", DL_Codes::AC1009);
    }

    // Attributes of an entity: its layer's name and its colour; BYLAYER ones made once a layer.
    // The reference is good until the next call.
    std::map<int, DL_Attributes> byLayer;
    DL_Attributes coloured;
    const DL_Attributes& Attr(const CvdFigure& f, bool useColour2 = false) {
        if (!f.m_hasColour) {
            auto it = byLayer.find(f.GetLayer());
            if (it == byLayer.end()) it = byLayer.emplace(f.GetLayer(), Attr(f.GetLayer(), 256)).first;
            return it->second;
        }
        coloured = Attr(f.GetLayer(), vd::NearestAci(useColour2 ? f.m_colour2 : f.m_colour));
        return coloured;
    }
    DL_Attributes Attr(int layer, int colour) const {
        auto it = layerNames.find(layer);
        return DL_Attributes(it == layerNames.end() ? std::string("0") : it->second, colour, -1, "BYLAYER", 1.0);
    }

    void Solids(std::span<const T_POINT2D> pts, const DL_Attributes& a) {
        const std::vector<int> tri = vd::Triangulate(pts);
        for (size_t i = 0; i + 2 < tri.size(); i += 3) {
            const T_POINT2D& p1 = pts[tri[i]];
            const T_POINT2D& p2 = pts[tri[i + 1]];
            const T_POINT2D& p3 = pts[tri[i + 2]];
            // SOLID corners: the fourth repeats the third for a triangle.
            dxf.writeSolid(w, DL_SolidData(p1.x, p1.y, 0.0, p2.x, p2.y, 0.0, p3.x, p3.y, 0.0, p3.x, p3.y, 0.0, 0.0),
                           a);
        }
    }

    void Polyline(std::span<const T_POINT2D> pts, bool closed, const DL_Attributes& a) {
        dxf.writePolyline(w, DL_PolylineData(static_cast<int>(pts.size()), 0, 0, closed ? 1 : 0), a);
        for (const T_POINT2D& p : pts) dxf.writeVertex(w, DL_VertexData(p.x, p.y, 0.0, 0.0));
        dxf.writePolylineEnd(w);
    }

    void Text(const CvdFigure& f) {
        const std::string text = vd::DxfText(f.m_text.GetString());
        int h = 0;  // left
        if (f.m_horJust == VdTextHorCenter) h = 1;
        else if (f.m_horJust == VdTextHorRight) h = 2;
        int v = 0;  // baseline
        if (f.m_verJust == VdTextVerCenter) v = 2;
        else if (f.m_verJust == VdTextVerTop) v = 3;
        const T_POINT2D& p = f.m_points[0];
        const size_t si = static_cast<size_t>(f.m_style) < styleNames.size() ? f.m_style : 0;
        const std::string& style = vd::HasChinese(f.m_text.GetString()) ? chineseStyle : styleNames[si];
        // The first point matters only for left/baseline texts; give it the same place.
        dxf.writeText(w, DL_TextData(p.x, p.y, 0.0, p.x, p.y, 0.0, f.m_height, 1.0, 0, h, v, text, style,
                                     f.m_angle * vd::kDegToRad),  // dxflib takes radians here
                      Attr(f));
    }

    void Figure(const CvdFigure& f) {
        switch (f.GetKind()) {
        case VdKindText:
            Text(f);
            break;
        case VdKindLine:
            dxf.writeLine(w, DL_LineData(f.m_points[0].x, f.m_points[0].y, 0.0, f.m_points[1].x, f.m_points[1].y, 0.0),
                          Attr(f));
            break;
        case VdKindPolyLine:
        case VdKindRect:
            if (f.m_fill) Solids(f.m_points, Attr(f));
            Polyline(f.m_points, f.m_closed, Attr(f));
            break;
        case VdKindCircle: {
            const T_POINT2D& c = f.m_points[0];
            if (f.m_fill) {
                std::vector<T_POINT2D> ring = vd::ArcPoints(c, f.m_radius, 0.0, 360.0, 5.0);
                ring.pop_back();  // the last repeats the first
                Solids(ring, Attr(f));
            }
            dxf.writeCircle(w, DL_CircleData(c.x, c.y, 0.0, f.m_radius), Attr(f));
            break;
        }
        case VdKindArc: {
            const T_POINT2D& c = f.m_points[0];
            dxf.writeArc(w, DL_ArcData(c.x, c.y, 0.0, f.m_radius, f.m_startAngle, f.m_endAngle), Attr(f));
            break;
        }
        case VdKindArrow: {
            T_POINT2D head[3], end;
            vd::ArrowHead(f, head, end);
            dxf.writeLine(w, DL_LineData(f.m_points[0].x, f.m_points[0].y, 0.0, end.x, end.y, 0.0), Attr(f));
            Solids(head, Attr(f, true));
            break;
        }
        }
    }

    void Header() {
        dxf.writeHeader(w);  // $ACADVER
        w.dxfString(9, "$INSUNITS");
        w.dxfInt(70, 0);
        double box[4];
        if (d.GetDrawingBoundary(box)) {
            w.dxfString(9, "$EXTMIN");
            w.coord(10, box[0], box[1], 0.0);
            w.dxfString(9, "$EXTMAX");
            w.coord(10, box[2], box[3], 0.0);
            // Dash patterns are 1 unit long: scale them to the sheet (1/200 of its diagonal).
            w.dxfString(9, "$LTSCALE");
            w.dxfReal(40, std::max(1e-6, std::hypot(box[2] - box[0], box[3] - box[1]) / 200.0));
        }
        w.sectionEnd();
    }

    void Tables() {
        w.sectionTables();
        dxf.writeVPort(w);

        w.tableLinetypes(2);
        dxf.writeLinetype(w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
        double dashDot[4] = {0.5, -0.25, 0.0, -0.25};
        dxf.writeLinetype(w, DL_LinetypeData("DASHDOT", "Dash dot __ . __ . __", 0, 4, 1.0, dashDot));
        w.tableEnd();

        std::set<std::string> used;
        const std::vector<const VdLayer*> layers = d.GetLayers();
        for (const VdLayer* l : layers) layerNames[l->id] = vd::DxfTableName(l->caption, "L", l->id, used);
        w.tableLayers(static_cast<int>(layers.size()));
        for (const VdLayer* l : layers) {
            dxf.writeLayer(w, DL_LayerData(layerNames[l->id], 0),
                           DL_Attributes("", vd::NearestAci(l->colour), -1,
                                         l->pen == VdPenDashDot ? "DASHDOT" : "CONTINUOUS", 1.0));
        }
        w.tableEnd();

        // The Chinese texts' style is written only when there are such texts; its name is kept
        // from the drawing's own styles.
        std::set<std::string> usedStyles{kChineseStyle};
        const CvdFigure* chinese = nullptr;
        for (const CvdFigure& f : d.Figures()) {
            if (f.GetKind() == VdKindText && vd::HasChinese(f.m_text.GetString())) {
                chinese = &f;
                break;
            }
        }
        const int nStyles = d.GetTextStyleCount();
        w.tableStyle(nStyles + (chinese ? 1 : 0));
        auto style = [&](const std::string& name, double height, const CString& bigFont) {
            const std::string big = bigFont.IsEmpty() ? std::string(kBigFont) : vd::DxfText(bigFont.GetString());
            dxf.writeStyle(w, DL_StyleData(name, 0, 0.0, 1.0, 0.0, 0, height, kPrimaryFont, big));
        };
        for (int i = 0; i < nStyles; ++i) {
            const sEVETextStyle& st = d.GetStyleRecord(i);
            styleNames.push_back(vd::DxfTableName(d.GetStyleName(i), "STYLE", i, usedStyles));
            style(styleNames.back(), st.dHeight, st.strBigFont);
        }
        if (chinese) style(chineseStyle, chinese->m_height, CString());
        w.tableEnd();

        dxf.writeView(w);
        dxf.writeUcs(w);
        w.tableAppid(1);
        dxf.writeAppid(w, "ACAD");
        w.tableEnd();
        w.sectionEnd();
    }

    void Run() {
        Header();
        Tables();
        w.sectionBlocks();
        w.sectionEnd();
        w.sectionEntities();
        for (const CvdFigure& f : d.Figures()) Figure(f);
        w.sectionEnd();
        w.dxfEOF();
    }
};
#pragma GCC diagnostic pop

int CVdrawUtil::ExportToDwg(int /*version*/, const CString& file) {
    const std::string path = file.GetString();
    if (!HasDxfExtension(path)) {
        AfxDiagnostic("vdraw", "DWG files cannot be written; choose a .dxf name (%s)", path.c_str());
        return 0;
    }
    // Written in place: the program writes into a temporary file of its own and puts it in place
    // when whole, so a second temporary file here would only double what a killed export leaves.
    errno = 0;
    {
        CLocaleFreeWriter w(path.c_str(), DL_Codes::AC1009);
        if (w.OpenFailed()) {
            AfxDiagnostic("vdraw", "cannot write %s: %s", path.c_str(), std::strerror(errno ? errno : EIO));
            return 0;
        }
        VdExporter e(*this, w);
        e.Run();
        if (!w.Close()) {
            AfxDiagnostic("vdraw", "cannot write %s: %s", path.c_str(), std::strerror(errno ? errno : EIO));
            return 0;
        }
    }
    return 1;
}
