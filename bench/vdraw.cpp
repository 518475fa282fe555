// Vector drawing cost: 100,000 entities (lines, closed polylines, texts) drawn into a
// CVdrawUtil and exported to DXF, against the same entities written straight through dxflib;
// and the drawing rendered into a 1920x1080 raster DC, against the same calls made straight on
// the DC. The ratios vdraw / direct are what the library adds (target at most 1.5).
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <dxflib/dl_dxf.h>

#include "platform/gdi/afxgdi.h"
#include "host/vdraw/CVdrawUtil.h"

namespace {

constexpr int kCount = 100000;
constexpr int kWidth = 1920, kHeight = 1080;

struct Entity {
    int kind;  // 0 line, 1 closed polyline, 2 text
    int layer;
    T_POINT2D p[5];
    int n;
    char text[16];
};

const int kLayers[3] = {20, 25, 101};
const COLORREF kColours[3] = {0x0080FF, 0xFF8080, 0xFFFFFF};

// 40 % lines, 30 % closed four-sided polylines, 30 % texts over a 1000 x 560 plan.
const std::vector<Entity>& Entities() {
    static std::vector<Entity> out = [] {
        std::vector<Entity> v(kCount);
        unsigned seed = 2024;
        auto next = [&seed]() {
            seed = seed * 1103515245u + 12345u;
            return ((seed >> 8) & 0xffff) / 65535.0;
        };
        for (int i = 0; i < kCount; ++i) {
            Entity& e = v[i];
            e.kind = i % 10 < 4 ? 0 : (i % 10 < 7 ? 1 : 2);
            e.layer = i % 3;
            const double x = next() * 990, y = next() * 550;
            e.p[0] = T_POINT2D(x, y);
            if (e.kind == 0) {
                e.p[1] = T_POINT2D(x + next() * 10, y + next() * 10);
                e.n = 2;
            } else if (e.kind == 1) {
                const double w = 1 + next() * 8, h = 1 + next() * 8;
                e.p[1] = T_POINT2D(x + w, y);
                e.p[2] = T_POINT2D(x + w, y + h);
                e.p[3] = T_POINT2D(x, y + h);
                e.p[4] = e.p[0];
                e.n = 5;
            } else {
                std::snprintf(e.text, sizeof e.text, "%.2f", next() * 100);
                e.n = 1;
            }
        }
        return v;
    }();
    return out;
}

void Fill(CVdrawUtil& d) {
    for (int k = 0; k < 3; ++k) d.AddLayer(kLayers[k], ("L" + std::to_string(kLayers[k])).c_str(), kColours[k], 0, 999);
    sEVETextStyle st;
    st.strFaceName = "宋体";
    st.dHeight = 1.0;
    d.AddTextStyle("Contents", st, 0);
    d.AddTextStyle(10, "Contents");
    d.SetCurrentTextStyle(10);
    for (const Entity& e : Entities()) {
        d.SetCurrentLayer(kLayers[e.layer]);
        if (e.kind == 0) d.DrawLine(e.p[0].x, e.p[0].y, e.p[1].x, e.p[1].y);
        else if (e.kind == 1) d.DrawPolyLine(e.p, e.n, 0, "");
        else d.DrawText(e.text, e.p[0].x, e.p[0].y, VdTextVerBottom, VdTextHorLeft);
    }
}

std::string TmpFile(const char* name) { return std::string("/tmp/bench_vdraw_") + name; }

void BM_VdrawDrawAndExport(benchmark::State& state) {
    const std::string path = TmpFile("vdraw.dxf");
    for (auto _ : state) {
        CVdrawUtil d;
        Fill(d);
        if (!d.ExportToDwg(100, path.c_str())) state.SkipWithError("export failed");
    }
    state.counters["entities"] = kCount;
    std::remove(path.c_str());
}

// dxflib's writer with numbers by std::to_chars, as the export formats them (dxflib's own
// number formatting is most of its time).
class CToCharsWriter : public DL_WriterA {
public:
    using DL_WriterA::DL_WriterA;
    void dxfReal(int gc, double value) const override {
        char buf[64];
        auto r = std::to_chars(buf, buf + sizeof(buf), value);
        DL_WriterA::dxfString(gc, std::string(buf, r.ptr));
    }
};

// The same file straight through dxflib: same header, tables and entities, coordinates scaled
// by hand; range 0 with dxflib's own writer, 1 with numbers formatted as the export does.
void BM_DxflibDirect(benchmark::State& state) {
    const std::string path = TmpFile("direct.dxf");
    for (auto _ : state) {
        DL_Dxf dxf;
        std::unique_ptr<DL_WriterA> w(dxf.out(path.c_str(), DL_Codes::AC1009));
        if (state.range(0) == 1) w = std::make_unique<CToCharsWriter>(path.c_str(), DL_Codes::AC1009);
        dxf.writeHeader(*w);
        w->dxfString(9, "$INSUNITS");
        w->dxfInt(70, 0);
        w->sectionEnd();
        w->sectionTables();
        dxf.writeVPort(*w);
        w->tableLinetypes(1);
        dxf.writeLinetype(*w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
        w->tableEnd();
        w->tableLayers(4);
        dxf.writeLayer(*w, DL_LayerData("0", 0), DL_Attributes("", 7, -1, "CONTINUOUS", 1.0));
        for (int k = 0; k < 3; ++k)
            dxf.writeLayer(*w, DL_LayerData("L" + std::to_string(kLayers[k]), 0),
                           DL_Attributes("", 1 + k, -1, "CONTINUOUS", 1.0));
        w->tableEnd();
        w->tableStyle(1);
        dxf.writeStyle(*w, DL_StyleData("Contents", 0, 0.0, 1.0, 0.0, 0, 1.0, "txt", ""));
        w->tableEnd();
        dxf.writeView(*w);
        dxf.writeUcs(*w);
        w->tableAppid(1);
        dxf.writeAppid(*w, "ACAD");
        w->tableEnd();
        w->sectionEnd();
        w->sectionBlocks();
        w->sectionEnd();
        w->sectionEntities();
        const double s = 1.0;
        for (const Entity& e : Entities()) {
            const DL_Attributes a("L" + std::to_string(kLayers[e.layer]), 256, -1, "BYLAYER", 1.0);
            if (e.kind == 0) {
                dxf.writeLine(*w, DL_LineData(e.p[0].x * s, e.p[0].y * s, 0, e.p[1].x * s, e.p[1].y * s, 0), a);
            } else if (e.kind == 1) {
                dxf.writePolyline(*w, DL_PolylineData(4, 0, 0, 1), a);
                for (int i = 0; i < 4; ++i) dxf.writeVertex(*w, DL_VertexData(e.p[i].x * s, e.p[i].y * s, 0, 0));
                dxf.writePolylineEnd(*w);
            } else {
                dxf.writeText(*w, DL_TextData(e.p[0].x * s, e.p[0].y * s, 0, e.p[0].x * s, e.p[0].y * s, 0, 1.0, 1.0, 0,
                                              0, 0, e.text, "Contents", 0.0),
                              a);
            }
        }
        w->sectionEnd();
        w->dxfEOF();
        w->close();
    }
    state.counters["entities"] = kCount;
    std::remove(path.c_str());
}

struct Raster {
    CDC dc;
    CBitmap bm;
    CBitmap* old = nullptr;
    Raster() {
        dc.CreateCompatibleDC(nullptr);
        bm.CreateCompatibleBitmap(nullptr, kWidth, kHeight);
        old = dc.SelectObject(&bm);
    }
    ~Raster() { dc.SelectObject(old); }
};

void BM_VdrawRender(benchmark::State& state) {
    CVdrawUtil d;
    Fill(d);
    d.ZoomAll();
    Raster r;
    for (auto _ : state) d.Render(&r.dc, CRect(0, 0, kWidth, kHeight));
    state.counters["entities"] = kCount;
}

// The same picture made straight on the DC: the window of ZoomAll (the plan with 5 % margins),
// one pen and font per layer, the same calls per entity.
void BM_DirectDC(benchmark::State& state) {
    CVdrawUtil d;
    Fill(d);
    double box[4];
    d.GetDrawingBoundary(box);
    const double w = (box[2] - box[0]) * 1.1, h = (box[3] - box[1]) * 1.1;
    const double k = std::min(kWidth / w, kHeight / h);
    const double x0 = 0.5 * (kWidth - w * k) - (0.5 * (box[0] + box[2]) - 0.5 * w) * k;
    const double y0 = kHeight - 0.5 * (kHeight - h * k) + (0.5 * (box[1] + box[3]) - 0.5 * h) * k;
    Raster r;
    CDC& dc = r.dc;
    std::unique_ptr<CPen> pens[3];
    for (int i = 0; i < 3; ++i) pens[i] = std::make_unique<CPen>(PS_SOLID, 1, kColours[i]);
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = -static_cast<LONG>(std::lround(k));
    lf.lfWeight = FW_NORMAL;
    std::strcpy(lf.lfFaceName, "宋体");
    CFont font;
    font.CreateFontIndirect(&lf);
    auto dev = [&](const T_POINT2D& p) {
        return POINT{static_cast<LONG>(std::lround(x0 + p.x * k)), static_cast<LONG>(std::lround(y0 - p.y * k))};
    };
    for (auto _ : state) {
        CRect all(0, 0, kWidth, kHeight);
        dc.FillSolidRect(&all, 0);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextAlign(TA_BASELINE | TA_LEFT);
        CFont* oldFont = dc.SelectObject(&font);
        CPen* oldPen = dc.SelectObject(pens[0].get());
        int layer = 0;
        POINT buf[5];
        for (const Entity& e : Entities()) {
            if (e.layer != layer) {
                dc.SelectObject(pens[e.layer].get());
                layer = e.layer;
            }
            if (e.kind == 0) {
                const POINT a = dev(e.p[0]), b = dev(e.p[1]);
                dc.MoveTo(a.x, a.y);
                dc.LineTo(b.x, b.y);
            } else if (e.kind == 1) {
                for (int i = 0; i < 5; ++i) buf[i] = dev(e.p[i]);
                dc.Polyline(buf, 5);
            } else {
                const POINT a = dev(e.p[0]);
                dc.SetTextColor(kColours[e.layer]);
                dc.TextOut(a.x, a.y, e.text);
            }
        }
        dc.SelectObject(oldPen);
        dc.SelectObject(oldFont);
    }
    state.counters["entities"] = kCount;
}

}  // namespace

BENCHMARK(BM_VdrawDrawAndExport)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DxflibDirect)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_VdrawRender)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_DirectDC)->Unit(benchmark::kMillisecond)->MinTime(2.0);
