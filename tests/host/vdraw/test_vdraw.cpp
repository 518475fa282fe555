// The vector drawing's contract: draw scale, boundary, text heights, rotation, deletion and
// z-order, X-properties and text moves, layers and styles, export naming and numbers, colour
// indices, and what rendering draws.
#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>
#include <sys/stat.h>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/gdi/CRecordDC.h"
#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdDxf.h"

namespace {

const std::string kTmp = PVX_TEST_TMPDIR;

std::vector<std::string> g_said;
void Record(const char*, const char* text) { g_said.push_back(text); }

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

TEST(VdrawTest, BoundaryFollowsTheDrawScale) {
    struct Row {
        const char* what;
        double scale;
        void (*draw)(CVdrawUtil&);
        bool any;
        double box[4];
    };
    // Expected boxes by hand: model extents times the scale; texts 0.6 h per Latin and 1 h per
    // Han character wide.
    const Row rows[] = {
        {"empty", 1.0, [](CVdrawUtil&) {}, false, {0, 0, 0, 0}},
        {"circle r 1", 1.0, [](CVdrawUtil& d) { d.DrawCircle(0, 0, 0, 1.0); }, true, {-1, -1, 1, 1}},
        {"circle r 1 at scale 2", 2.0, [](CVdrawUtil& d) { d.DrawCircle(0, 0, 0, 1.0); }, true, {-2, -2, 2, 2}},
        {"line at scale 3", 3.0, [](CVdrawUtil& d) { d.DrawLine(1, 2, 3, -1); }, true, {3, -3, 9, 6}},
        {"quarter arc ccw", 1.0, [](CVdrawUtil& d) { d.DrawArc(0, 0, 1, 0, 90, 1); }, true, {0, 0, 1, 1}},
        {"three-quarter arc cw", 1.0, [](CVdrawUtil& d) { d.DrawArc(0, 0, 1, 0, 90, 0); }, true, {-1, -1, 1, 1}},
        {"rect 2x1 turned 90 about its centre", 1.0,
         [](CVdrawUtil& d) { d.DrawRect1(0, 0, 2, 1, 90); }, true, {0.5, -0.5, 1.5, 1.5}},
        {"left bottom text (text heights are not scaled)", 4.0,
         [](CVdrawUtil& d) { d.DrawText("AB", 0, 0, VdTextVerBottom, VdTextHorLeft, 1.0); }, true, {0, 0, 1.2, 1}},
        {"centred Han text", 1.0,
         [](CVdrawUtil& d) { d.DrawText("比值", 0, 0, VdTextVerCenter, VdTextHorCenter, 2.0); }, true, {-2, -1, 2, 1}},
        {"right top text", 1.0,
         [](CVdrawUtil& d) { d.DrawText("A", 1, 1, VdTextVerTop, VdTextHorRight, 1.0); }, true, {0.4, 0, 1, 1}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        CVdrawUtil d;
        d.SetDrawScale(r.scale);
        r.draw(d);
        double box[4] = {0, 0, 0, 0};
        ASSERT_EQ(d.GetDrawingBoundary(box) != FALSE, r.any);
        for (int i = 0; i < 4 && r.any; ++i) EXPECT_NEAR(box[i], r.box[i], 1e-12) << i;
    }
}

TEST(VdrawTest, ScaleBelowOneMillionthDrawsNothing) {
    for (double scale : {0.0, 9.9e-7, -1.0}) {
        SCOPED_TRACE(scale);
        CVdrawUtil d;
        d.SetDrawScale(scale);
        const T_POINT2D sq[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
        const long ids[] = {d.DrawText("a", 0, 0), d.DrawTextA("a", 0, 0, 0.0, 1.0), d.DrawLine(0, 0, 1, 1),
                            d.DrawPolyLine(sq, 4, 1, ""), d.DrawCircle(0, 0, 0, 1), d.DrawArc(0, 0, 1, 0, 90, 1),
                            d.DrawRect1(0, 0, 1, 1, 0), d.AddArrow({0, 0}, {1, 0}, 0.25, 0xFF, 0xFF, 100)};
        for (long id : ids) EXPECT_EQ(id, 0);
        EXPECT_EQ(d.GetFigureCount(), 0);
    }
    CVdrawUtil d;
    d.SetDrawScale(1e-6);
    EXPECT_NE(d.DrawLine(0, 0, 1, 1), 0) << "1e-6 itself still draws";
}

TEST(VdrawTest, TextHeightsAreStyleHeightsInDrawingUnits) {
    CVdrawUtil d;
    sEVETextStyle st;
    st.dHeight = 0.25;
    const int index = d.AddTextStyle("Contents", st, 0);
    ASSERT_GE(index, 1);
    ASSERT_TRUE(d.AddTextStyle(10, "Contents"));
    ASSERT_TRUE(d.SetCurrentTextStyle(10));
    d.SetDrawScale(3.0);
    const long t = d.DrawText("x", 1, 1);
    EXPECT_DOUBLE_EQ(d.GetTextHeight(t), 0.25);
    EXPECT_DOUBLE_EQ(d.GetFigure(t)->m_points[0].x, 3.0);
    EXPECT_DOUBLE_EQ(d.GetTextHeight(d.DrawText("x", 0, 0, 8, 2, 0.7)), 0.7) << "a given height wins";
    EXPECT_DOUBLE_EQ(d.GetTextHeight(d.DrawLine(0, 0, 1, 1)), 0.0);

    // Three lines of height 1 at a pitch of 1.1: 1.1 + 1.1 + 1 = 3.2 from the lowest baseline to
    // the top of the first line.
    CVdrawUtil b;
    CArray<long> ids;
    for (int i = 0; i < 3; ++i) ids.Add(b.DrawText("line", 0, -1.1 * i, VdTextVerBottom, VdTextHorLeft, 1.0));
    EXPECT_NEAR(b.GetTextHeight(ids), 3.2, 1e-12);
    // The same three turned 90 degrees stand side by side: the box is one line wide, so its
    // height is the text's length, 4 x 0.6.
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) b.RotateFigure(ids[i], 90.0, T_POINT2D(0, 0));
    EXPECT_NEAR(b.GetTextHeight(ids), 2.4, 1e-12);

    // Styles: duplicates refused unless replaced; GetTextStyle fills the record.
    EXPECT_EQ(d.AddTextStyle("Contents", st, 0), 0);
    st.dHeight = 250.0;
    EXPECT_EQ(d.AddTextStyle("Contents", st, 1), index);
    sEVETextStyle back;
    ASSERT_TRUE(d.GetTextStyle("Contents", back));
    EXPECT_DOUBLE_EQ(back.dHeight, 250.0);
    EXPECT_FALSE(d.GetTextStyle("Missing", back));
    EXPECT_FALSE(d.AddTextStyle(11, "Missing"));
    EXPECT_FALSE(d.SetCurrentTextStyle(99));
}

TEST(VdrawTest, RotationTurnsAboutTheCentreInDrawingUnits) {
    CVdrawUtil d;
    const long t = d.DrawText("T", 1, 0);
    const long l = d.DrawLine(1, 0, 2, 0);
    const long a = d.DrawArc(0, 0, 1, 0, 90, 1);
    for (long id : {t, l, a}) ASSERT_TRUE(d.RotateFigure(id, 90.0, T_POINT2D(0, 0)));
    EXPECT_NEAR(d.GetFigure(t)->m_points[0].x, 0.0, 1e-12);
    EXPECT_NEAR(d.GetFigure(t)->m_points[0].y, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(d.GetFigure(t)->m_angle, 90.0);
    EXPECT_NEAR(d.GetFigure(l)->m_points[1].y, 2.0, 1e-12);
    EXPECT_DOUBLE_EQ(d.GetFigure(a)->m_startAngle, 90.0);
    EXPECT_DOUBLE_EQ(d.GetFigure(a)->m_endAngle, 180.0);
    // About (1, 1) at scale 2: the centre is not scaled again, the text's point (2, 0) goes to (2, 2).
    CVdrawUtil s;
    s.SetDrawScale(2.0);
    const long u = s.DrawText("T", 1, 0);
    s.RotateFigure(u, 180.0, T_POINT2D(2, 1));
    EXPECT_NEAR(s.GetFigure(u)->m_points[0].x, 2.0, 1e-12);
    EXPECT_NEAR(s.GetFigure(u)->m_points[0].y, 2.0, 1e-12);
    EXPECT_FALSE(d.RotateFigure(999, 90.0, T_POINT2D(0, 0)));
}

TEST(VdrawTest, DeletionOrderAndRemoveAll) {
    CVdrawUtil d;
    d.AddLayer(20, "Beam", 0x00FFFF, 0, VdPenSolid);
    d.SetCurrentLayer(20);
    const long a = d.DrawLine(0, 0, 1, 0), b = d.DrawLine(0, 1, 1, 1), c = d.DrawLine(0, 2, 1, 2);
    EXPECT_EQ(d.GetFigureIds(), (std::vector<long>{a, b, c}));
    ASSERT_TRUE(d.BringBottom(c));
    EXPECT_EQ(d.GetFigureIds(), (std::vector<long>{c, a, b}));
    CArray<long> gone;
    gone.Add(a);
    gone.Add(12345);
    EXPECT_EQ(d.DeleteFigure(gone), 1);
    EXPECT_EQ(d.GetFigure(a), nullptr);
    EXPECT_EQ(d.GetFigureIds(), (std::vector<long>{c, b}));
    EXPECT_FALSE(d.SetFigureColor(a, RGB(1, 2, 3), 0));

    d.RemoveAllData();
    EXPECT_EQ(d.GetFigureCount(), 0);
    double box[4];
    EXPECT_FALSE(d.GetDrawingBoundary(box));
    EXPECT_NE(d.GetLayer(20), nullptr) << "layers are the drawing's set-up and stay";
    EXPECT_EQ(d.GetCurrentLayer(), 20);
    const long e = d.DrawLine(0, 0, 1, 1);
    EXPECT_GT(e, c) << "ids are not reused";

    // Layers: re-adding keeps the first set-up; unknown layers cannot be made current.
    EXPECT_TRUE(d.AddLayer(20, "Other", 0xFFFFFF, 0, VdPenDashDot));
    EXPECT_EQ(d.GetLayer(20)->colour, 0x00FFFFu);
    EXPECT_FALSE(d.SetCurrentLayer(21));
    EXPECT_EQ(d.GetCurrentLayer(), 20);
}

// The entities' pool over several of its blocks: ids, drawing order, places given back and
// taken again, addresses that stay, points beyond those kept in place.
TEST(VdrawTest, PoolKeepsIdsOrderAndAddresses) {
    enum Op { kDraw, kDeleteEvery, kBottomLast, kRemoveAll };
    struct Row {
        Op op;
        int n;  // entities drawn (kDraw), or every n-th in drawing order deleted
    } rows[] = {{kDraw, 2500}, {kDeleteEvery, 3}, {kBottomLast, 0}, {kDraw, 1200},
                {kDeleteEvery, 2}, {kBottomLast, 0}, {kDraw, 10},  {kRemoveAll, 0}, {kDraw, 1100}};
    CVdrawUtil d;
    std::vector<long> want;  // drawing order
    std::vector<T_POINT2D> pts;
    int drawn = 0;
    long keptId = 0;  // an entity of the row before, and where it was
    const CvdFigure* kept = nullptr;
    for (const Row& r : rows) {
        if (r.op == kDraw) {
            for (int i = 0; i < r.n; ++i, ++drawn) {
                // Texts, lines and polylines of up to five points, each placed by its number.
                const double x = drawn;
                pts.assign({{x, 0}, {x, 1}, {x, 2}, {x, 3}, {x, 4}});
                const long id = drawn % 3 == 0   ? d.DrawText("t", x, 0)
                                : drawn % 3 == 1 ? d.DrawLine(x, 0, x, 1)
                                                 : d.DrawPolyLine(pts.data(), 5, 0, "");
                ASSERT_GT(id, want.empty() ? 0 : *std::max_element(want.begin(), want.end()));
                want.push_back(id);
            }
        } else if (r.op == kDeleteEvery) {
            std::vector<long> keep;
            for (size_t i = 0; i < want.size(); ++i) {
                if (i % r.n == 1) EXPECT_EQ(d.DeleteFigure(want[i]), 1);
                else keep.push_back(want[i]);
            }
            want.swap(keep);
        } else if (r.op == kBottomLast) {
            ASSERT_TRUE(d.BringBottom(want.back()));
            want.insert(want.begin(), want.back());
            want.pop_back();
        } else {
            d.RemoveAllData();
            want.clear();
        }
        if (std::find(want.begin(), want.end(), keptId) != want.end()) {
            EXPECT_EQ(d.GetFigure(keptId), kept) << "an entity stays where it is";
        }
        EXPECT_EQ(d.GetFigureIds(), want) << r.op;
        EXPECT_EQ(d.GetFigureCount(), static_cast<int>(want.size()));
        size_t i = 0;
        for (const CvdFigure& f : d.Figures()) {
            ASSERT_LT(i, want.size());
            ASSERT_EQ(f.GetId(), want[i++]);
            EXPECT_EQ(&f, d.GetFigure(f.GetId()));
            const double x = f.m_points[0].x;
            const size_t n = f.IsText() ? 1 : f.GetKind() == VdKindLine ? 2 : 5;
            ASSERT_EQ(f.m_points.size(), n) << x;
            EXPECT_EQ(f.m_points[n - 1], T_POINT2D(x, static_cast<double>(n - 1))) << x;
        }
        EXPECT_EQ(i, want.size());
        keptId = want.empty() ? 0 : want[want.size() / 2];
        kept = d.GetFigure(keptId);
    }
}

TEST(VdrawTest, XPropertiesAndTextMoves) {
    CVdrawUtil d;
    d.SetDrawScale(2.0);
    const long t = d.DrawText("R:1.00", 1, 1);
    const long l = d.DrawLine(0, 0, 1, 1);
    ASSERT_TRUE(d.AddXPropertyInt(t, "FVD_TEXT_POS", 1007));
    ASSERT_TRUE(d.AddXPropertyInt(t, "FVD_TEXT_OWN", 42));
    int v = 0;
    EXPECT_TRUE(d.GetTextPosInfo_VDF(d.GetFigure(t), "FVD_TEXT_POS", v));
    EXPECT_EQ(v, 1007);
    EXPECT_TRUE(d.GetTextPosInfo_VDF(d.GetFigure(t), "FVD_TEXT_OWN", v));
    EXPECT_EQ(v, 42);
    EXPECT_FALSE(d.GetTextPosInfo_VDF(d.GetFigure(t), "OTHER", v));
    EXPECT_FALSE(d.GetTextPosInfo_VDF(nullptr, "FVD_TEXT_POS", v));
    ASSERT_TRUE(d.AddXPropertyInt(l, "FVD_TEXT_POS", 1));
    EXPECT_FALSE(d.GetTextPosInfo_VDF(d.GetFigure(l), "FVD_TEXT_POS", v)) << "only texts move";

    // MoveTextX takes model units: (0.5, -1) at scale 2 moves (2, 2) to (3, 0).
    ASSERT_TRUE(d.MoveTextX(t, 0.5, -1.0));
    EXPECT_DOUBLE_EQ(d.GetFigure(t)->m_points[0].x, 3.0);
    EXPECT_DOUBLE_EQ(d.GetFigure(t)->m_points[0].y, 0.0);
    EXPECT_FALSE(d.MoveTextX(l, 1, 1));
    // MoveFigure takes drawing units.
    ASSERT_TRUE(d.MoveFigure(t, 1.0, 0.0));
    EXPECT_DOUBLE_EQ(d.GetFigure(t)->m_points[0].x, 4.0);

    EXPECT_FALSE(d.GetFigure(t)->m_movable);
    ASSERT_TRUE(d.ReSetTextType(t, nullptr));
    EXPECT_TRUE(d.GetFigure(t)->m_movable);
    EXPECT_FALSE(d.ReSetTextType(l, nullptr));
    d.RemoveAllData();
    EXPECT_FALSE(d.GetXPropertyInt(t, "FVD_TEXT_POS", v));
}

TEST(VdrawTest, ExportChoosesByExtension) {
    struct Row {
        const char* name;
        int result;
    };
    const Row rows[] = {{"x.dwg", 0}, {"x.DXF", 1}, {"x.dxf", 1}, {"x.dxf.bak", 0}, {"dxf", 0},
                        {"no-such-dir/x.dxf", 0}};
    CVdrawUtil d;
    d.DrawLine(0, 0, 1, 1);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::string path = kTmp + "/vdraw_" + r.name;
        std::remove(path.c_str());
        g_said.clear();
        AfxSetDiagnosticHandler(Record);
        EXPECT_EQ(d.ExportToDwg(100, path.c_str()), r.result);
        AfxSetDiagnosticHandler(nullptr);
        const std::vector<std::string> said = g_said;
        EXPECT_EQ(Exists(path), r.result == 1);
        EXPECT_FALSE(Exists(path + ".part"));
        EXPECT_EQ(said.empty(), r.result == 1);
        if (std::string(r.name) == "x.dwg") {
            ASSERT_EQ(said.size(), 1u);
            EXPECT_NE(said[0].find("DWG files cannot be written; choose a .dxf name"), std::string::npos);
        }
        std::remove(path.c_str());
    }
}

TEST(VdrawTest, NumbersIgnoreTheLocale) {
    // A locale whose decimal separator is a comma, built for this test.
    const std::string dir = kTmp + "/vdraw_locale";
    const std::string cmd = "mkdir -p " + dir + " && localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) GTEST_SKIP() << "localedef cannot build de_DE here";
    setenv("LOCPATH", dir.c_str(), 1);
    const char* was = std::setlocale(LC_ALL, nullptr);
    const std::string saved = was ? was : "C";
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 not loadable";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 0.5);
    EXPECT_STREQ(probe, "0,5") << "the locale really uses a comma";

    CVdrawUtil d;
    d.DrawLine(0.5, 1.25, 2.75, -3.5);
    const std::string path = kTmp + "/vdraw_locale.dxf";
    const int ok = d.ExportToDwg(100, path.c_str());
    std::setlocale(LC_ALL, saved.c_str());
    unsetenv("LOCPATH");
    ASSERT_EQ(ok, 1);
    const std::string text = ReadAll(path);
    for (const char* n : {"\n0.5\n", "\n1.25\n", "\n2.75\n", "\n-3.5\n"}) EXPECT_NE(text.find(n), std::string::npos) << n;
    EXPECT_EQ(text.find(",5\n"), std::string::npos);
}

TEST(VdrawTest, DxfColourIndicesAndTexts) {
    // Indices from the standard palette: 1 red, 3 green, 5 blue, 7 white, 8 grey 0x808080,
    // 250 black; COLORREF is 0x00BBGGRR.
    const std::pair<COLORREF, int> colours[] = {{RGB(255, 0, 0), 1}, {RGB(0, 255, 0), 3}, {RGB(0, 0, 255), 5},
                                                {RGB(255, 255, 255), 7}, {RGB(128, 128, 128), 8},
                                                {RGB(0, 0, 0), 250}, {RGB(250, 5, 3), 1}};
    for (const auto& [c, aci] : colours) {
        SCOPED_TRACE(c);
        EXPECT_EQ(vd::NearestAci(c), aci);
    }
    // Code points: 比 U+6BD4, 值 U+503C, 筏 U+7B4F; a tab is a blank; beyond U+FFFF: U+FFFD.
    const std::pair<const char*, const char*> texts[] = {
        {"R:1.50", "R:1.50"}, {"比值", "\\U+6BD4\\U+503C"}, {"a\tb", "a b"}, {"\xF0\x9F\x98\x80", "\\U+FFFD"}};
    for (const auto& [in, out] : texts) {
        SCOPED_TRACE(in);
        EXPECT_EQ(vd::DxfText(in), out);
    }
    std::set<std::string> used;
    EXPECT_EQ(vd::DxfTableName("Beam", "L", 20, used), "Beam");
    EXPECT_EQ(vd::DxfTableName("BEAM", "L", 21, used), "L21") << "names are case-insensitive";
    EXPECT_EQ(vd::DxfTableName("筏板子单元", "L", 25, used), "L25");
    EXPECT_EQ(vd::DxfTableName("a b", "L", 26, used), "L26");
}

TEST(VdrawTest, DxfStylesNameFontsReadersHave) {
    // Texts with Chinese characters go out in the style LibreCAD takes for its font kst32b (it
    // reads a text's style name as its font); every style names the GB fonts of SHX programs.
    const std::tuple<const char*, std::string, std::string> rows[] = {
        {"R:1.50", "R:1.50", "Contents"}, {"平均:4.02", "\\U+5E73\\U+5747:4.02", "KST32B"}};
    CVdrawUtil d;
    ASSERT_GE(d.AddTextStyle("Contents", sEVETextStyle(), 0), 1);
    ASSERT_TRUE(d.AddTextStyle(10, "Contents"));
    ASSERT_TRUE(d.SetCurrentTextStyle(10));
    for (const auto& r : rows) d.DrawText(std::get<0>(r), 0, 0);
    const std::string path = kTmp + "/vdraw_styles.dxf";
    ASSERT_EQ(d.ExportToDwg(100, path.c_str()), 1);
    const std::string dxf = ReadAll(path);
    std::remove(path.c_str());
    for (const auto& [text, written, style] : rows) {
        const size_t at = dxf.find("\n  7\n", dxf.find("\n" + written + "\n"));
        EXPECT_EQ(dxf.substr(at + 5, style.size() + 1), style + "\n") << text;
    }
    auto count = [&dxf](const std::string& what, size_t n = 0) {
        for (size_t at = dxf.find(what); at != std::string::npos; at = dxf.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_GE(count("\n  0\nSTYLE\n"), 2u);
    EXPECT_EQ(count("\n  3\ngbenor.shx\n  4\ngbcbig.shx\n"), count("\n  0\nSTYLE\n"));
}

TEST(VdrawTest, RenderingDrawsEveryEntityFittedOnBlack) {
    CVdrawUtil d;
    d.AddLayer(101, "Force", 0xFFFFFF, 0, VdPenSolid);
    d.AddLayer(26, "Axis", 0x808080, 0, VdPenDashDot);
    d.SetCurrentLayer(101);
    const long line = d.DrawLine(0, 0, 10, 0);
    d.SetCurrentLayer(26);
    const long fill = d.DrawRect1(4, -1, 2, 2, 0, 1);
    COLORREF red = RGB(255, 0, 0);
    d.SetFigureColor(fill, red, 0);
    d.BringBottom(fill);
    const long t = d.DrawText("比值", 5, 0, VdTextVerCenter, VdTextHorCenter, 1.0, 90.0);
    d.SetLineWeight(line, 100);

    for (int display : {0, 1}) {
        SCOPED_TRACE(display);
        d.SetLineWeightDisplay(display);
        CRecordDC dc;
        ASSERT_TRUE(dc.Create(200, 100));
        ASSERT_TRUE(d.Render(&dc, CRect(0, 0, 200, 100)));
        // Black first.
        const auto fills = dc.GetRecords("FillSolidRect");
        ASSERT_FALSE(fills.empty());
        EXPECT_EQ(fills[0]->Arg(4), 0);
        // Z-order: the filled rectangle was sent to the bottom, so its polygon comes first.
        std::vector<std::string> ops;
        for (const GdiRecord& r : dc.GetRecords())
            if (r.op == "Polygon" || r.op == "LineTo" || r.op == "TextOut") ops.push_back(r.op);
        EXPECT_EQ(ops, (std::vector<std::string>{"Polygon", "LineTo", "TextOut"}));
        const auto poly = dc.GetRecords("Polygon");
        ASSERT_EQ(poly.size(), 1u);
        EXPECT_EQ(poly[0]->brush.lbColor, red);
        EXPECT_EQ(poly[0]->pen.lopnStyle, static_cast<UINT>(PS_DASHDOT)) << "axis layer pen";
        // The white force-layer line, fitted: the boundary is the text box (height 2 for the
        // text's width) across the 10-unit line plus a 5 % margin each side: 11 units wide,
        // 2.2 high, so 200 / 11 pixels a unit; the line spans 10 of the 11 units, centred.
        const auto to = dc.GetRecords("LineTo");
        ASSERT_EQ(to.size(), 1u);
        EXPECT_EQ(to[0]->pen.lopnColor, RGB(255, 255, 255));
        EXPECT_EQ(to[0]->curPos.x, 9);
        EXPECT_EQ(to[0]->Arg(0), 191);
        EXPECT_EQ(to[0]->Arg(1), 50);
        // Weight 100 (1 mm) at 96 pixels per inch: round(3.78) = 4 pixels, shown only when on.
        EXPECT_EQ(to[0]->pen.lopnWidth.x, display ? 4 : 1);
        // The text: its face, height in pixels, turned 90 degrees, centred.
        const auto text = dc.GetRecords("TextOut");
        ASSERT_EQ(text.size(), 1u);
        EXPECT_STREQ(text[0]->font.lfFaceName, "宋体");
        EXPECT_EQ(text[0]->font.lfEscapement, 900);
        EXPECT_EQ(text[0]->font.lfHeight, -18) << "1 unit at 200 / 11 pixels";
        EXPECT_EQ(text[0]->textAlign, static_cast<UINT>(TA_BASELINE | TA_CENTER));
        EXPECT_EQ(text[0]->text, "比值");
        EXPECT_EQ(text[0]->textColor, RGB(128, 128, 128));
        // Middle: the baseline lies half a height below the point along the turned up axis,
        // which for 90 degrees is +x in the drawing: (5.5, 0) -> x 9.09 + 5.5 x 18.18 = 109.
        EXPECT_EQ(text[0]->Arg(0), 109);
        EXPECT_EQ(text[0]->Arg(1), 50);
        // The pixels: white line, red fill.
        EXPECT_EQ(dc.GetPixel(20, 50), RGB(255, 255, 255));
        EXPECT_EQ(dc.GetPixel(85, 60), RGB(255, 0, 0));
        EXPECT_EQ(dc.GetPixel(5, 5), RGB(0, 0, 0));
    }
    (void)t;
}

}  // namespace
