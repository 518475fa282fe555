// The displacement contour frame (display mode 2, DZ of the dead load, as `pvxhost render --mode 2`
// draws it) of the 100,000-plate sample at 1920x1080, against a VTK pipeline on the same field
// in the same program: the same plates and nodal values through vtkBandedPolyDataContourFilter
// (as many bands as the legend), every plate's outline, and the first offscreen render.
//
// BM_Mode2Frame: the engine's data made from the project (the displacements of the load read),
// then one render into the control's 1920x1080 memory image: what a frame costs once the project
// is open. BM_VtkBandedFrame: the filter's update and the first render of a new offscreen render
// window of the same size (window, context and shaders made inside the timing, as for a first
// frame). The VTK timings exist only when the build found VTK (libvtk9-dev: scripts/bench.sh
// installs it) and an X display is there (xvfb-run); VTK is never part of the module or pvxhost.
// LP_NUM_THREADS=1 keeps Mesa's software renderer on one thread, as our raster drawing is.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "bench/BenchSupport.h"

#ifdef PVX_HAVE_VTK
#include <vtkActor.h>
#include <vtkBandedPolyDataContourFilter.h>
#include <vtkCamera.h>
#include <vtkCellArray.h>
#include <vtkDoubleArray.h>
#include <vtkLookupTable.h>
#include <vtkNew.h>
#include <vtkPointData.h>
#include <vtkPoints.h>
#include <vtkPolyData.h>
#include <vtkPolyDataMapper.h>
#include <vtkProperty.h>
#include <vtkRenderWindow.h>
#include <vtkRenderer.h>
#include <vtkSmartPointer.h>
#endif

namespace {

constexpr long kPlates = 100000;

// The field both sides draw: the plates (three or four nodes) of the model with DZ at their nodes.
struct Field {
    std::vector<double> xyz;          // per point
    std::vector<double> dz;           // per point
    std::vector<std::vector<int>> cells;
    double lo = 0, hi = 0;
    int bands = 12;
};

struct Setup : pvxbench::Project {
    Field field;
};

Field ReadField(CDataBase& db, const CContourEngine* scale) {
    Field f;
    std::unordered_map<UINT, int> point;
    const auto& elems = db.Table<DBT_PELEM>();
    const auto& nodes = db.Table<DBT_PNODE>();
    const auto& disp = db.Table<DBT_DISP>();
    bool first = true;
    for (size_t i = 0; i < elems.Keys().size(); ++i) {
        const T_PELEM_D& e = elems.Records()[i];
        if (e.kind != PELEM_KIND_PLATE || e.nNode < 3 || e.nNode > 4) continue;
        std::vector<int> cell;
        for (int k = 0; k < e.nNode; ++k) {
            auto [it, added] = point.emplace(e.node[k], static_cast<int>(f.dz.size()));
            if (added) {
                const T_PNODE_D* n = nodes.Find(e.node[k]);
                const T_DISP_D* d = disp.Find(1, e.node[k]);
                f.xyz.insert(f.xyz.end(), {n ? n->x : 0, n ? n->y : 0, n ? n->z : 0});
                const double v = d ? d->DZ : 0.0;
                f.dz.push_back(v);
                if (first || v < f.lo) f.lo = v;
                if (first || v > f.hi) f.hi = v;
                first = false;
            }
            cell.push_back(it->second);
        }
        f.cells.push_back(std::move(cell));
    }
    if (scale) f.bands = scale->m_nNumColor;
    return f;
}

Setup* GetSetup() {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(kPlates, [](long n) {
        auto s = std::make_unique<Setup>();
        // pvxhost's mode 2 default: on the undeformed shape.
        if (!pvxbench::OpenDispContour(*s, "frame_peer", n, 0)) return std::unique_ptr<Setup>();
        I_PVXModel& m = s->Model();
        s->field = ReadField(*s->doc.GetMDBCtrl()->GetDBPost(), m.m_pDeformEngine->m_pContourEngine);
        return s;
    });
}

void BM_Mode2Frame(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    I_PVXModel& m = s->Model();
    for (auto _ : state) {
        pvxbench::StartDispContour(m, 0);
        if (!m.m_pDeformEngine->InitEngine()) return state.SkipWithError("no displacement data");
        m.PVXRender();
        benchmark::DoNotOptimize(s->Ctrl()->IsImageValid());
    }
    state.counters["plates"] = static_cast<double>(s->field.cells.size());
}
BENCHMARK(BM_Mode2Frame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

#ifdef PVX_HAVE_VTK
void BM_VtkBandedFrame(benchmark::State& state) {
    setenv("LP_NUM_THREADS", "1", 0);
    if (!getenv("DISPLAY")) return state.SkipWithError("no X display for VTK's render window (run under xvfb-run)");
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    const Field& f = s->field;
    vtkNew<vtkPoints> points;
    points->SetNumberOfPoints(static_cast<vtkIdType>(f.dz.size()));
    vtkNew<vtkDoubleArray> values;
    values->SetName("DZ");
    values->SetNumberOfValues(static_cast<vtkIdType>(f.dz.size()));
    for (size_t i = 0; i < f.dz.size(); ++i) {
        points->SetPoint(static_cast<vtkIdType>(i), &f.xyz[3 * i]);
        values->SetValue(static_cast<vtkIdType>(i), f.dz[i]);
    }
    vtkNew<vtkCellArray> polys;
    for (const auto& c : f.cells) {
        std::vector<vtkIdType> ids(c.begin(), c.end());
        polys->InsertNextCell(static_cast<vtkIdType>(ids.size()), ids.data());
    }
    vtkNew<vtkPolyData> plates;
    plates->SetPoints(points);
    plates->SetPolys(polys);
    plates->GetPointData()->SetScalars(values);

    for (auto _ : state) {
        vtkNew<vtkBandedPolyDataContourFilter> bands;
        bands->SetInputData(plates);
        bands->GenerateValues(f.bands + 1, f.lo, f.hi);
        bands->SetScalarModeToIndex();
        bands->Update();

        vtkNew<vtkLookupTable> colours;
        colours->SetNumberOfTableValues(f.bands);
        colours->SetHueRange(0.667, 0.0);
        colours->Build();
        vtkNew<vtkPolyDataMapper> bandMapper;
        bandMapper->SetInputConnection(bands->GetOutputPort());
        bandMapper->SetLookupTable(colours);
        bandMapper->SetScalarRange(0, f.bands - 1);
        bandMapper->SetScalarModeToUseCellData();
        vtkNew<vtkActor> bandActor;
        bandActor->SetMapper(bandMapper);
        // Every plate's outline, as the contour draws the element edges.
        vtkNew<vtkPolyDataMapper> edgeMapper;
        edgeMapper->SetInputData(plates);
        edgeMapper->ScalarVisibilityOff();
        vtkNew<vtkActor> edgeActor;
        edgeActor->SetMapper(edgeMapper);
        edgeActor->GetProperty()->SetRepresentationToWireframe();
        edgeActor->GetProperty()->SetColor(0.5, 0.5, 0.0);

        vtkNew<vtkRenderer> renderer;
        renderer->AddActor(bandActor);
        renderer->AddActor(edgeActor);
        renderer->SetBackground(1, 1, 1);
        vtkNew<vtkRenderWindow> window;
        window->SetOffScreenRendering(1);
        window->SetSize(pvxbench::kWidth, pvxbench::kHeight);
        window->AddRenderer(renderer);
        renderer->GetActiveCamera()->Elevation(35.0);
        renderer->GetActiveCamera()->Azimuth(-45.0);
        renderer->ResetCamera();
        window->Render();
        benchmark::DoNotOptimize(window->GetGenericContext());
        state.counters["band polygons"] = static_cast<double>(bands->GetOutput()->GetNumberOfCells());
    }
    state.counters["plates"] = static_cast<double>(f.cells.size());
}
BENCHMARK(BM_VtkBandedFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
#endif

}  // namespace
