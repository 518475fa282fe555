// Raft element sheets on the 100,000-plate sample: figures 522 (moments) and 523 (reinforcement)
// drawn and exported to DXF, against the same outlines and texts written straight into a
// CVdrawUtil and exported. The ratio figure / direct is what the sheet adds to the drawing
// itself: the element walk, the design rows' governing values, the labels and text blocks
// (target at most 2). BM_Dxflib writes the sheet's own outlines and texts straight through
// dxflib, numbers formatted as the export formats them: the peer of the whole sheet (figure and
// export against the file alone).
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <dxflib/dl_dxf.h>
#include <dxflib/dl_writer_ascii.h>

#include "bench/BenchSupport.h"
#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdDxf.h"
#include "module/figures/CFVDElementFigures.h"

namespace {

CDBDoc& Doc() {
    static CDBDoc doc;
    static const bool ok = pvxbench::OpenSample(doc, "element_figure", "--size 100000");
    if (!ok) std::exit(1);
    return doc;
}

std::string TmpFile(const char* name) {
    return "/tmp/bench_element_figure_" + std::to_string(getpid()) + "_" + name + ".dxf";
}

// Draws the sheet of the class into d (layers, styles, the walk, the notes).
void DrawSheet(const char* cls, CVdrawUtil& d) {
    std::unique_ptr<CObject> obj(CRuntimeClass::CreateObject(cls));
    auto* fig = dynamic_cast<CFVDBase*>(obj.get());
    fig->SetType(EFVDT_MTSB_FORCE_ELEMENT);
    fig->Display(&d);
    fig->SetNotesFlag(TRUE);
    fig->SetLoadCase(0);
    fig->DrawFigure();
}

// The entities of a drawn sheet, to be written again straight into a drawing.
struct Item {
    int layer;
    bool text;
    std::vector<T_POINT2D> pts;
    CString str;
    double height;
    double angle;
    int ver, hor;
    COLORREF colour;
    BOOL hasColour;
};

std::vector<Item> Items(const char* cls) {
    CVdrawUtil d;
    DrawSheet(cls, d);
    std::vector<Item> out;
    for (long id : d.GetFigureIds()) {
        const CvdFigure* f = d.GetFigure(id);
        if (f->GetKind() != VdKindText && f->GetKind() != VdKindPolyLine) continue;
        out.push_back({f->GetLayer(), f->IsText() != 0, f->m_points, f->m_text, f->m_height, f->m_angle, f->m_verJust, f->m_horJust,
                       f->m_colour, f->m_hasColour});
    }
    return out;
}

void BM_Sheet(benchmark::State& state, const char* cls) {
    Doc();
    const std::string path = TmpFile(cls);
    size_t n = 0;
    for (auto _ : state) {
        CVdrawUtil d;
        DrawSheet(cls, d);
        n = d.GetFigureIds().size();
        if (!d.ExportToDwg(100, path.c_str())) state.SkipWithError("export failed");
    }
    state.counters["entities"] = static_cast<double>(n);
    std::remove(path.c_str());
}

void BM_Direct(benchmark::State& state, const char* cls) {
    Doc();
    const std::vector<Item> items = Items(cls);
    const std::string path = TmpFile((std::string(cls) + "_direct").c_str());
    for (auto _ : state) {
        CVdrawUtil d;
        pvxbench::PrepareDirectDrawing(d, {25, 50});
        for (const Item& it : items) {
            d.SetCurrentLayer(it.layer == 25 ? 25 : 50);
            long id;
            if (it.text) {
                id = d.DrawText(it.str, it.pts[0].x, it.pts[0].y, it.ver, it.hor, 0.0, it.angle);
            } else {
                CArray<T_POINT2D> pts;
                for (const T_POINT2D& p : it.pts) pts.Add(p);
                id = d.DrawPolyLine(pts, 0, CString());
            }
            if (it.hasColour) d.SetFigureColor(id, it.colour, 0);
        }
        if (!d.ExportToDwg(100, path.c_str())) state.SkipWithError("export failed");
    }
    state.counters["entities"] = static_cast<double>(items.size());
    std::remove(path.c_str());
}

// dxflib's writer with numbers by std::to_chars, as the export formats them.
class CToCharsWriter : public DL_WriterA {
public:
    using DL_WriterA::DL_WriterA;
    void dxfReal(int gc, double value) const override {
        char buf[64];
        if (value == 0.0 || !std::isfinite(value)) value = 0.0;
        auto r = std::to_chars(buf, buf + sizeof(buf) - 3, value);
        std::string s(buf, r.ptr);
        if (s.find_first_of(".e") == std::string::npos) s += ".0";
        DL_WriterA::dxfString(gc, s);
    }
};

// The sheet's entities written straight through dxflib: the header, tables of its two layers and
// one style, each outline as POLYLINE with VERTEXes, each text as TEXT with its justification.
void BM_Dxflib(benchmark::State& state, const char* cls) {
    Doc();
    const std::vector<Item> items = Items(cls);
    const std::string path = TmpFile((std::string(cls) + "_dxflib").c_str());
    for (auto _ : state) {
        DL_Dxf dxf;
        delete dxf.out("/dev/null", DL_Codes::AC1009);  // the release, for the entity writers
        CToCharsWriter w(path.c_str(), DL_Codes::AC1009);
        dxf.writeHeader(w);
        w.dxfString(9, "$INSUNITS");
        w.dxfInt(70, 0);
        w.sectionEnd();
        w.sectionTables();
        dxf.writeVPort(w);
        w.tableLinetypes(1);
        dxf.writeLinetype(w, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
        w.tableEnd();
        w.tableLayers(3);
        dxf.writeLayer(w, DL_LayerData("0", 0), DL_Attributes("", 7, -1, "CONTINUOUS", 1.0));
        dxf.writeLayer(w, DL_LayerData("L25", 0), DL_Attributes("", 1, -1, "CONTINUOUS", 1.0));
        dxf.writeLayer(w, DL_LayerData("L50", 0), DL_Attributes("", 2, -1, "CONTINUOUS", 1.0));
        w.tableEnd();
        w.tableStyle(1);
        dxf.writeStyle(w, DL_StyleData("Contents", 0, 0.0, 1.0, 0.0, 0, 0.25, "txt", ""));
        w.tableEnd();
        dxf.writeView(w);
        dxf.writeUcs(w);
        w.tableAppid(1);
        dxf.writeAppid(w, "ACAD");
        w.tableEnd();
        w.sectionEnd();
        w.sectionBlocks();
        w.sectionEnd();
        w.sectionEntities();
        const DL_Attributes layer[2] = {DL_Attributes("L25", 256, -1, "BYLAYER", 1.0),
                                        DL_Attributes("L50", 256, -1, "BYLAYER", 1.0)};
        for (const Item& it : items) {
            const DL_Attributes& a = layer[it.layer == 25 ? 0 : 1];
            if (it.text) {
                const int h = it.hor == VdTextHorCenter ? 1 : it.hor == VdTextHorRight ? 2 : 0;
                const int v = it.ver == VdTextVerCenter ? 2 : it.ver == VdTextVerTop ? 3 : 0;
                const T_POINT2D& p = it.pts[0];
                dxf.writeText(w, DL_TextData(p.x, p.y, 0.0, p.x, p.y, 0.0, it.height, 1.0, 0, h, v, vd::DxfText(it.str.GetString()),
                                             "Contents", it.angle * M_PI / 180.0),
                              a);
            } else {
                dxf.writePolyline(w, DL_PolylineData(static_cast<int>(it.pts.size()), 0, 0, 1), a);
                for (const T_POINT2D& p : it.pts) dxf.writeVertex(w, DL_VertexData(p.x, p.y, 0.0, 0.0));
                dxf.writePolylineEnd(w);
            }
        }
        w.sectionEnd();
        w.dxfEOF();
        w.close();
    }
    state.counters["entities"] = static_cast<double>(items.size());
    std::remove(path.c_str());
}

}  // namespace

BENCHMARK_CAPTURE(BM_Sheet, moments_522, "CFVDMtsb_ElementForce")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Direct, moments_522, "CFVDMtsb_ElementForce")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Dxflib, moments_522, "CFVDMtsb_ElementForce")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Sheet, reinforcement_523, "CFVDMtsb_ElementAs")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Direct, reinforcement_523, "CFVDMtsb_ElementAs")->Unit(benchmark::kMillisecond)->MinTime(2.0);
