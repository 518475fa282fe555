// A sheet of every entity kind on the twelve figure layers, written as DXF, BMP and EMF into
// the build folder (build/<dir>/vdraw_sheet/) and read back independently: the DXF with the
// system python3 and ezdxf, the BMP with PIL, the EMF with libUEMF's record checker.
//
// The sheet records what it draws (SheetExpect) in model units; the reader multiplies by the
// draw scale itself and maps entities to DXF kinds by the export's documented rules (filled
// areas add SOLID triangles, an arrow is a LINE and a SOLID head).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "host/base/CZELF_Polyline2D.h"
#include "host/check/ICheckToolUtil.h"
#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureText.h"
#include "tests/platform/gdi_emf/EmfReader.h"

namespace {

const std::string kOut = std::string(PVX_BINARY_DIR) + "/vdraw_sheet";
const double kScale = 2.5;

// What the sheet drew, for the independent reader.
struct SheetExpect {
    std::map<std::string, int> kinds;  // DXF entity kind -> count
    struct Text {
        std::string text;  // UTF-8
        double x, y;       // model insertion point; NAN: not checked
    };
    std::vector<Text> texts;
    std::vector<std::vector<double>> lines;  // model x1, y1, x2, y2 of plain LINEs
    std::vector<std::vector<double>> arcs;   // model centre x, y, radius, start, end (degrees, ccw)

    void Count(const char* kind, int n = 1) { kinds[kind] += n; }
    void AddText(const std::string& text, double x = NAN, double y = NAN) {
        texts.push_back({text, x, y});
        Count("TEXT");
    }
};

// Draws and records one entity of each call; polygons are given without the closing point.
struct Sheet {
    CVdrawUtil& d;
    SheetExpect& e;

    long Line(double x1, double y1, double x2, double y2) {
        e.lines.push_back({x1, y1, x2, y2});
        e.Count("LINE");
        return d.DrawLine(x1, y1, x2, y2);
    }
    long Polygon(const std::vector<T_POINT2D>& pts, bool fill) {
        T_POLYGON2D poly;
        for (const T_POINT2D& p : pts) poly.Add(p);
        poly.MakeColse();
        e.Count("POLYLINE");
        if (fill) e.Count("SOLID", static_cast<int>(pts.size()) - 2);  // triangles of a simple polygon
        return d.DrawPolyLine(poly, fill ? 1 : 0, "", 0, 0);
    }
    long Text(const char* text, double x, double y, int ver, int hor, double angle = 0.0) {
        e.AddText(text, x, y);
        return d.DrawText(text, x, y, ver, hor, 0.0, angle);
    }
};

void Layers(CVdrawUtil& d) {
    struct L {
        int id;
        const char* caption;
        COLORREF colour;
        int pen;
    } const layers[] = {{22, "Colf", 0xFFFF00, 999},   {20, "Beam", 0x0080FF, 999},   {11, "Wall", 0xFF0000, 999},
                        {10, "Column", 0x00FFFF, 999}, {21, "Mtsb", 0xFF8080, 999},   {23, "Pile", 0xFF8080, 999},
                        {24, "Pile_Info", 0xFFFF80, 999}, {50, "Text", 0x00FF00, 999}, {101, "Force", 0xFFFFFF, 999},
                        {26, "Axis", 0x808080, 101},   {27, "SinkMesh", 0x00FF00, 999}, {25, "筏板子单元", 0xFF8080, 999}};
    for (const L& l : layers) ASSERT_TRUE(d.AddLayer(l.id, l.caption, l.colour, 0, l.pen));
}

// ---- Text services of the figures (text blocks at several angles in polygons, pass and fail
// ratio texts) go here, on layers 50 and 24, recording each text with e.AddText. ----
void AddTextServicesToSheet(CVdrawUtil& d, SheetExpect& e) {
    Sheet s{d, e};
    const int handle = VdGetDrawingHandle(&d);
    d.SetCurrentTextStyle(10);
    // One line of this style is 1 drawing unit, 1 / kScale model units, high.
    const double h = 1.0 / kScale;

    // Element outlines 6 x 3 about (50 + 9k, 5), turned; in each a centred block of a passing
    // and a failing check, written along the outline's readable direction. The two lines stand
    // 0.55 h either side of the centre (block 1.1 h + h high, first line h: 0.5 x 2.1 h - 0.5 h),
    // across the text direction a: (-sin a, cos a) x 0.55 h from the centre.
    const double angles[5] = {0.0, 30.0, 90.0, 135.0, -400.0};
    for (int k = 0; k < 5; ++k) {
        const T_POINT2D c(50.0 + 9.0 * k, 5.0);
        CArray<T_POINT2D> outline;
        ASSERT_TRUE(ICheckToolUtil::s_MakePolyLine(6.0, 3.0, angles[k], c, outline));
        d.SetCurrentLayer(22);
        s.Polygon({outline[0], outline[1], outline[2], outline[3]}, false);
        d.SetCurrentLayer(50);
        CArray<CFVDRatioStrMaker> makers;
        makers.Add(CFVDRatioStrMaker(1.25, "R", "12", 50, 1));
        makers.Add(CFVDRatioStrMaker(0.8, "抗冲切", "B3", 0, 1));
        CFVDTextBlock block;
        CFVDRatioStrMaker::s_MakeStr(makers, block.m_strText, block.m_Colors, "\n");
        block.SetAnchor(8);
        block.m_Polygon.Copy(outline);
        // Readable directions: 0, 30, -90, -45 and -400 (which is 320 and stays).
        const double a = GetReadableTextAngle(angles[k]);
        block.m_dAngle = a;
        const CArray<long> ids = block.DrawInPolygon(handle, 1);
        ASSERT_EQ(ids.GetSize(), 2);
        const double rad = a * 3.14159265358979323846 / 180.0, off = 0.55 * h;
        e.AddText("R:1.25KN(12)", c.x - std::sin(rad) * off, c.y + std::cos(rad) * off);
        e.AddText("抗冲切:0.80(B3)", c.x + std::sin(rad) * off, c.y - std::cos(rad) * off);
    }

    // Anchored and snapped: a 30-degree outline with a bottom-middle block pulled onto its edge,
    // a top-left block, and a value over its limit in the range form.
    const T_POINT2D c(55.0, 15.0);
    CArray<T_POINT2D> outline;
    ASSERT_TRUE(ICheckToolUtil::s_MakePolyLine(8.0, 4.0, 30.0, c, outline));
    d.SetCurrentLayer(22);
    s.Polygon({outline[0], outline[1], outline[2], outline[3]}, false);
    d.SetCurrentLayer(50);
    CFVDTextBlock edge;
    edge.m_Polygon.Copy(outline);
    edge.SetAnchor(4);
    edge.m_dAngle = 30.0;
    edge.m_bSnapToOutline = 1;
    CFVDRatioStrMaker value(0.0, "N", "", 50, 1);
    value.SetValues(200.0, 250.0, 0);
    value.MakeStrNoColor(edge.m_strText);  // 250.00/200.00KN
    ASSERT_EQ(edge.DrawInPolygon(handle, 1).GetSize(), 1);
    e.AddText("N:250.00/200.00KN");
    CFVDTextBlock corner = edge;
    corner.SetAnchor(0);
    corner.m_bSnapToOutline = 0;
    CArray<COLORREF> colours;
    CFVDRatioStrMaker(100000.0, "As", "", 0, 1).MakeStrEx(corner.m_strText, colours, 0.0, 99999.0, "***");
    corner.m_Colors.Copy(colours);  // red: out of range
    ASSERT_EQ(corner.DrawInPolygon(handle, 1).GetSize(), 1);
    e.AddText("As:***");

    // A free block of three lines ending on its point (code 8), coloured green, red, default.
    d.SetCurrentLayer(24);
    CFVDTextBlock notes;
    notes.m_strText = "说明:\n1. 绿色 通过\n2. 红色 不通过";
    notes.SetAnchor(3);
    notes.m_Colors.Add(0x00FF00);
    notes.m_Colors.Add(0x0000FF);
    ASSERT_EQ(notes.Draw(&d, T_POINT2D(68.0, 12.0)).GetSize(), 3);
    // Left/baseline lines at x 68, the last on y 12, each 1.1 h above the next.
    e.AddText("说明:", 68.0, 12.0 + 2.2 * h);
    e.AddText("1. 绿色 通过", 68.0, 12.0 + 1.1 * h);
    e.AddText("2. 红色 不通过", 68.0, 12.0);
}

void DrawSheet(CVdrawUtil& d, SheetExpect& e) {
    Layers(d);
    sEVETextStyle st;
    st.strFaceName = "宋体";
    st.dHeight = 1.0;
    ASSERT_GE(d.AddTextStyle("Contents", st, 0), 1);
    ASSERT_TRUE(d.AddTextStyle(10, "Contents"));
    st.dHeight = 1.6;
    st.nBold = st.nUnderline = 1;
    ASSERT_GE(d.AddTextStyle("Title", st, 0), 1);
    ASSERT_TRUE(d.AddTextStyle(20, "Title"));
    d.SetDrawScale(kScale);
    d.SetLineWeightDisplay(1);
    Sheet s{d, e};

    // Axis grid, dash-dot, with an arc axis.
    d.SetCurrentLayer(26);
    for (int i = 0; i <= 4; ++i) s.Line(i * 10.0, -2, i * 10.0, 32);
    for (int j = 0; j <= 3; ++j) s.Line(-2, j * 10.0, 42, j * 10.0);
    d.DrawArc(20, 15, 18, 200, 340, 1);
    e.arcs.push_back({20, 15, 18, 200, 340});
    e.Count("ARC");

    // Raft outline with an arc edge, and sub-element outlines.
    d.SetCurrentLayer(25);
    CZELF_Polyline2D raft;
    raft.Add(T_POINT2D(-1, -1));
    raft.Add(T_POINT2D(41, -1));
    raft.Add(T_POINT2D(41, 31), -3.0);  // travelling towards -x, bulges to the right: outwards
    raft.Add(T_POINT2D(-1, 31));
    raft.MakeColse();
    d.DrawPolyLine(raft, 0, 0);
    e.Count("POLYLINE");
    s.Polygon({{30, 20}, {40, 20}, {40, 30}, {30, 30}}, false);

    // Settlement mesh: filled cells sent to the bottom.
    d.SetCurrentLayer(27);
    const COLORREF mesh[3] = {RGB(0, 0, 160), RGB(0, 120, 200), RGB(0, 160, 80)};
    for (int k = 0; k < 3; ++k) {
        const long id = d.DrawRect1(31 + 3 * k, 21, 2.5, 2.5, 15.0 * k, 1);
        d.SetFigureColor(id, mesh[k], 0);
        d.BringBottom(id);
        e.Count("POLYLINE");
        e.Count("SOLID", 2);
    }

    // Column footings: filled, one as a 3-D point list; an L-shaped (concave) one.
    d.SetCurrentLayer(22);
    s.Polygon({{8, 8}, {12, 8}, {12, 12}, {8, 12}}, true);
    T_MEMBDLG_3DPOINT_LIST_ITEM foot;
    for (const T_POINT2D& p : {T_POINT2D(18, 8), T_POINT2D(22, 8), T_POINT2D(22, 12), T_POINT2D(18, 12)})
        foot.Add(T_MEMBDLG_3DPOINT(p.x, p.y, 5.0));
    foot.MakeColse();
    d.DrawPolyLine(foot, 1, "");
    e.Count("POLYLINE");
    e.Count("SOLID", 2);
    s.Polygon({{27, 7}, {33, 7}, {33, 9}, {29, 9}, {29, 13}, {27, 13}}, true);

    // Columns: rotated rectangles, one filled; walls: thick lines.
    d.SetCurrentLayer(10);
    d.DrawRect1(9.5, 19.5, 1, 1, 0);
    d.DrawRect1(19.5, 19.5, 1, 1, 30);
    d.DrawRect1(29.5, 19.5, 1, 1, 45, 1);
    e.Count("POLYLINE", 3);
    e.Count("SOLID", 2);
    d.SetCurrentLayer(11);
    d.SetLineWeight(s.Line(0, 30, 20, 30), 100);
    d.SetLineWeight(s.Line(0, 0, 0, 30), 50);

    // Beams on a polyline of points, coloured.
    d.SetCurrentLayer(20);
    CArray<T_POINT2D> beam;
    for (const T_POINT2D& p : {T_POINT2D(0, 20), T_POINT2D(10, 20), T_POINT2D(20, 20), T_POINT2D(30, 20)}) beam.Add(p);
    d.DrawPolyLine(beam, 0, "", 0, 0);
    e.Count("POLYLINE");
    d.DrawLine(T_POINT2D(10, 0), T_POINT2D(10, 10));  // the point form
    e.lines.push_back({10, 0, 10, 10});
    e.Count("LINE");

    // Piles and raft elements: circles, filled and not.
    d.SetCurrentLayer(23);
    for (int k = 0; k < 4; ++k) d.DrawCircle(5 + 10 * k, 25, 0, 0.6, k % 2);
    e.Count("CIRCLE", 4);
    e.Count("SOLID", 2 * 70);  // a filled circle: a 72-sided polygon in triangles
    d.SetCurrentLayer(21);
    d.DrawArc(35, 5, 3, 0, 270, 1);
    d.DrawArc(35, 5, 2, 0, 270, 0);  // clockwise from 0 to 270: counter-clockwise from 270 to 0
    e.arcs.push_back({35, 5, 3, 0, 270});
    e.arcs.push_back({35, 5, 2, 270, 0});
    e.Count("ARC", 2);

    // Forces: white diagram line, arrows in two colours.
    d.SetCurrentLayer(101);
    s.Line(0, 15, 40, 15);
    d.AddArrow(T_POINT2D(2, 2), T_POINT2D(6, 2), 0.25 * 4, RGB(255, 0, 0), RGB(255, 0, 0), 100.0);
    d.AddArrow(T_POINT2D(2, 2), T_POINT2D(2, 6), 1.0, RGB(0, 255, 0), RGB(255, 255, 0), 100.0);
    e.Count("LINE", 2);
    e.Count("SOLID", 2);

    // Chinese captions and every justification, some turned.
    d.SetCurrentLayer(24);
    d.SetCurrentTextStyle(10);
    const int hor[3] = {VdTextHorLeft, VdTextHorCenter, VdTextHorRight};
    const int ver[3] = {VdTextVerBottom, VdTextVerCenter, VdTextVerTop};
    for (int i = 0; i < 3; ++i) {
        for (int j = 0; j < 3; ++j) {
            const double x = 3 + 4 * i, y = 33 + 2 * j;
            s.Text("桩", x, y, ver[j], hor[i]);
            d.DrawCircle(x, y, 0, 0.1, 1);  // marks the insertion point
            e.Count("CIRCLE");
            e.Count("SOLID", 70);
        }
    }
    s.Text("承载力 Ra=1500.00", 21, 5, VdTextVerBottom, VdTextHorLeft, 30.0);
    s.Text("沉降 12.5mm", 25, 26, VdTextVerCenter, VdTextHorCenter, 90.0);
    d.SetCurrentTextStyle(20);
    s.Text("基础设计 Foundation sheet", 20, -5, VdTextVerTop, VdTextHorCenter);

    AddTextServicesToSheet(d, e);
}

std::string JsonString(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string JsonNumber(double v) {
    std::ostringstream s;
    s.precision(17);
    s << v;
    return s.str();
}

void WriteExpect(const SheetExpect& e, const CVdrawUtil& d, const std::string& path) {
    std::ofstream f(path);
    f.precision(17);
    f << "{\"scale\": " << kScale << ",\n\"layers\": [";
    bool first = true;
    // Layer names as the export's naming rule gives them: plain captions stay; "0"; the Han one "L25".
    for (const char* n : {"0", "Column", "Wall", "Beam", "Mtsb", "Colf", "Pile", "Pile_Info", "L25", "Axis", "SinkMesh",
                          "Text", "Force"}) {
        f << (first ? "" : ", ") << JsonString(n);
        first = false;
    }
    f << "],\n\"kinds\": {";
    first = true;
    for (const auto& [k, n] : e.kinds) {
        f << (first ? "" : ", ") << JsonString(k) << ": " << n;
        first = false;
    }
    f << "},\n\"texts\": [";
    first = true;
    for (const auto& t : e.texts) {
        f << (first ? "" : ",\n ") << "[" << JsonString(t.text) << ", "
          << (std::isnan(t.x) ? std::string("null") : JsonNumber(t.x)) << ", "
          << (std::isnan(t.y) ? std::string("null") : JsonNumber(t.y)) << "]";
        first = false;
    }
    f << "],\n\"arcs\": [";
    first = true;
    for (const auto& a : e.arcs) {
        f << (first ? "" : ", ") << "[" << a[0] << ", " << a[1] << ", " << a[2] << ", " << a[3] << ", " << a[4] << "]";
        first = false;
    }
    f << "],\n\"lines\": [";
    first = true;
    for (const auto& l : e.lines) {
        f << (first ? "" : ", ") << "[" << l[0] << ", " << l[1] << ", " << l[2] << ", " << l[3] << "]";
        first = false;
    }
    f << "]}\n";
    (void)d;
}

// The independent reader: ezdxf for the DXF, PIL for the BMP. Prints "OK" or the problems.
const char* kReader = R"PY(
import json, re, sys
from collections import Counter
import ezdxf
from PIL import Image

dxf_path, expect_path, bmp_path, png_path = sys.argv[1:5]
exp = json.load(open(expect_path, encoding="utf-8"))
problems = []
doc = ezdxf.readfile(dxf_path)
audit = doc.audit()
if audit.errors or audit.fixes:
    problems.append("audit: %d errors, %d fixes: %s" % (len(audit.errors), len(audit.fixes),
                    [e.message for e in audit.errors + audit.fixes][:5]))
if doc.dxfversion != "AC1009":
    problems.append("version " + doc.dxfversion)
if doc.header.get("$INSUNITS", None) != 0:
    problems.append("$INSUNITS %r" % doc.header.get("$INSUNITS", None))
layers = sorted(l.dxf.name for l in doc.layers if l.dxf.name != "Defpoints")
if layers != sorted(exp["layers"]):
    problems.append("layers %s != %s" % (layers, sorted(exp["layers"])))
msp = doc.modelspace()
kinds = Counter(e.dxftype() for e in msp)
if dict(kinds) != exp["kinds"]:
    problems.append("kinds %s != %s" % (dict(kinds), exp["kinds"]))
s = exp["scale"]
def decode(t):  # ezdxf 0.18 keeps release 12 \U+XXXX escapes as they stand
    return re.sub(r"\\U\+([0-9A-Fa-f]{4})", lambda m: chr(int(m.group(1), 16)), t)
texts = [e for e in msp if e.dxftype() == "TEXT"]
got = Counter(decode(e.dxf.text) for e in texts)
want = Counter(t[0] for t in exp["texts"])
if got != want:
    problems.append("texts %s != %s" % (got - want, want - got))
for t, x, y in exp["texts"]:
    if x is None:
        continue
    hits = [e for e in texts if decode(e.dxf.text) == t]
    def place(e):  # left/baseline texts use the first point, others the alignment point
        p = e.dxf.insert if (e.dxf.halign, e.dxf.valign) == (0, 0) else e.dxf.align_point
        return p[0], p[1]
    if not any(abs(place(e)[0] - x * s) < 1e-9 and abs(place(e)[1] - y * s) < 1e-9 for e in hits):
        problems.append("text %r not at %s" % (t, (x * s, y * s)))
lines = [(e.dxf.start[0], e.dxf.start[1], e.dxf.end[0], e.dxf.end[1]) for e in msp if e.dxftype() == "LINE"]
for l in exp["lines"]:
    if not any(all(abs(a - b * s) < 1e-9 for a, b in zip(g, l)) for g in lines):
        problems.append("line %s not found times %g" % (l, s))
arcs = [(e.dxf.center[0], e.dxf.center[1], e.dxf.radius, e.dxf.start_angle % 360, e.dxf.end_angle % 360)
        for e in msp if e.dxftype() == "ARC"]
for a in exp["arcs"]:
    w = (a[0] * s, a[1] * s, a[2] * s, a[3] % 360, a[4] % 360)
    if not any(all(abs(x - y) < 1e-9 for x, y in zip(g, w)) for g in arcs):
        problems.append("arc %s not found times %g" % (a, s))
circles = [(e.dxf.center[0], e.dxf.center[1], e.dxf.radius) for e in msp if e.dxftype() == "CIRCLE"]
for k in range(4):  # the piles: centres (5 + 10 k, 25), radius 0.6
    w = ((5 + 10 * k) * s, 25 * s, 0.6 * s)
    if not any(all(abs(x - y) < 1e-9 for x, y in zip(g, w)) for g in circles):
        problems.append("pile circle %d not found" % k)
im = Image.open(bmp_path)
if im.mode != "RGB" or im.size != (1600, 1000):
    problems.append("bmp %s %s" % (im.mode, im.size))
colours = Counter(im.getdata())
if colours.most_common(1)[0][0] != (0, 0, 0):
    problems.append("background is not black")
for c, name in (((255, 255, 255), "white force layer"), ((255, 0, 0), "red arrow"),
                ((128, 128, 128), "grey axis"), ((0, 255, 0), "green arrow")):
    if colours[c] < 20:
        problems.append("too little %s: %d pixels" % (name, colours[c]))
im.save(png_path)
print("OK" if not problems else "\n".join(problems))
)PY";

std::string RunCommand(const std::string& cmd) {
    std::string out;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return "cannot run " + cmd;
    char buf[512];
    while (fgets(buf, sizeof buf, p)) out += buf;
    pclose(p);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
}

TEST(VdrawSheetTest, EveryEntityOnTwelveLayersAsDxfBmpAndEmf) {
    mkdir(kOut.c_str(), 0755);
    CVdrawUtil d;
    SheetExpect e;
    DrawSheet(d, e);
    d.ZoomAll();
    const std::string dxf = kOut + "/sheet.dxf", bmp = kOut + "/sheet.bmp", emf = kOut + "/sheet.emf";
    ASSERT_EQ(d.ExportToDwg(100, dxf.c_str()), 1);
    ASSERT_TRUE(d.RenderToFile(bmp.c_str(), 1600, 1000));
    ASSERT_TRUE(d.RenderToFile(emf.c_str(), 1600, 1000));

    // A close-up of the captions through the zoom window, for looking at the Han texts.
    d.SetZoomWindow(0.0, 30.0 * kScale, 16.0 * kScale, 40.0 * kScale);
    d.ZoomWindow();
    ASSERT_TRUE(d.RenderToFile((kOut + "/sheet_zoom.bmp").c_str(), 800, 500));
    // And of the text blocks in their outlines.
    d.SetZoomWindow(45.0 * kScale, 0.0, 95.0 * kScale, 20.0 * kScale);
    d.ZoomWindow();
    ASSERT_TRUE(d.RenderToFile((kOut + "/sheet_blocks.bmp").c_str(), 1500, 600));
    EXPECT_EQ(d.GetZoomWindowCount(), 2);

    EmfFile file;
    ASSERT_TRUE(file.Load(emf)) << file.problem;
    // Every text is large enough to be drawn: one text record each.
    EXPECT_EQ(file.OfType(U_EMR_EXTTEXTOUTW).size(), e.texts.size());

    const std::string expect = kOut + "/sheet_expect.json", script = kOut + "/sheet_reader.py";
    WriteExpect(e, d, expect);
    std::ofstream(script) << kReader;
    EXPECT_EQ(RunCommand("/usr/bin/python3 " + script + " " + dxf + " " + expect + " " + bmp + " " + kOut + "/sheet.png 2>&1"),
              "OK");
}

}  // namespace
