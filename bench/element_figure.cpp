// Raft element sheets on the 100,000-plate sample: figures 522 (moments) and 523 (reinforcement)
// drawn and exported to DXF, against the same outlines and texts written straight into a
// CVdrawUtil and exported. The ratio figure / direct is what the sheet adds to the drawing
// itself: the element walk, the design rows' governing values, the labels and text blocks
// (target at most 2).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "host/db/CDBDoc.h"
#include "host/vdraw/CVdrawUtil.h"
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
        out.push_back({f->GetLayer(), f->IsText() != 0, f->m_points, f->m_text, f->m_angle, f->m_verJust, f->m_horJust,
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

}  // namespace

BENCHMARK_CAPTURE(BM_Sheet, moments_522, "CFVDMtsb_ElementForce")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Direct, moments_522, "CFVDMtsb_ElementForce")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Sheet, reinforcement_523, "CFVDMtsb_ElementAs")->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK_CAPTURE(BM_Direct, reinforcement_523, "CFVDMtsb_ElementAs")->Unit(benchmark::kMillisecond)->MinTime(2.0);
