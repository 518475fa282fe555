// The displacement contour frame (display mode 2, DZ of the dead load, as `pvxhost render --mode 2`
// draws it) of the 100,000-plate sample at 1920x1080, against a VTK pipeline on the same field
// in the same program: the same plates and nodal values through vtkBandedPolyDataContourFilter
// (as many bands as the legend), every plate's outline, drawn offscreen without multisampling
// (our raster is not anti-aliased either). Two pairs, warm against warm and first against first:
//
// BM_Mode2Frame: the engine's data made from the project (the displacements of the load read),
// then one render into the control's 1920x1080 memory image: what a frame costs once the project
// is open and shown. BM_VtkBandedFrame: the filter run again (marked modified), the window
// rendered again, in a window that has rendered before, and its picture read back into memory
// once (vtkWindowToImageFilter without rendering again), as ours ends in a memory image.
// BM_Mode2FirstFrame: the first frame after the project file is opened: the result model made on
// it, the view fitted, the engine's data and the render. BM_VtkBandedFirstFrame: the filter's
// update, the first render of a new offscreen render window of the same size (window, context
// and shaders made inside the timing) and its read-back.
// The VTK timings exist only when the build found VTK (libvtk9-dev: scripts/bench.sh installs
// it) and an X display is there (xvfb-run); VTK is never part of the module or pvxhost.
// Both sides take as many threads: LP_NUM_THREADS, which Mesa's software renderer and our face
// cutting read, is set at start to the processors the program may run on when it is not set.
#include <benchmark/benchmark.h>
#include <sched.h>

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
#include <vtkImageData.h>
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
#include <vtkWindowToImageFilter.h>
#endif

namespace {

constexpr long kPlates = 100000;

// LP_NUM_THREADS for both sides, set before either reads it.
[[maybe_unused]] const bool g_bThreads = [] {
    cpu_set_t set;
    const int n = sched_getaffinity(0, sizeof(set), &set) == 0 ? CPU_COUNT(&set) : 1;
    setenv("LP_NUM_THREADS", std::to_string(n > 0 ? n : 1).c_str(), 0);
    return true;
}();

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

// The sample's project file, made once for the first-frame timings and removed at exit.
struct ProjectFile {
    std::string path;
    ProjectFile() {
        const char* t = getenv("TMPDIR");
        path = std::string(t && *t ? t : "/tmp") + "/bench_frame_peer_" + std::to_string(getpid()) + ".pvxdb";
        const std::string cmd = "'" + pvxbench::ProgramDir() + "/pvxhost' --quiet make-sample --size " +
                                std::to_string(kPlates) + " --out '" + path + "' >/dev/null";
        if (std::system(cmd.c_str()) != 0) path.clear();
    }
    ~ProjectFile() {
        if (!path.empty()) std::remove(path.c_str());
    }
};

void BM_Mode2FirstFrame(benchmark::State& state) {
    static ProjectFile file;
    Setup* s = GetSetup();
    if (file.path.empty() || !s) return state.SkipWithError("the sample project could not be made");
    for (auto _ : state) {
        state.PauseTiming();
        auto p = std::make_unique<pvxbench::Project>();
        if (!p->doc.OpenDocument(file.path.c_str())) return state.SkipWithError("the project did not open");
        CDBDoc::m_pDBDoc = &p->doc;
        state.ResumeTiming();
        p->model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = p->Model();
        m.GetAttrCtrl()->ConnectToPostDB();
        m.GetGeomCtrl()->ConnectToPostDB();
        m.Link_I_RDXModel(p->Ctrl());
        m.SetView(&p->view);
        m.m_pDispOpt->m_bWireFrame = 0;
        pvxbench::ShowAll(m, p->Ctrl());
        pvxbench::Frame(p->Ctrl(), GViewCamera::VIEW_ISO);
        pvxbench::StartDispContour(m, 0);
        if (!m.m_pDeformEngine->InitEngine()) return state.SkipWithError("no displacement data");
        m.PVXRender();
        benchmark::DoNotOptimize(p->Ctrl()->IsImageValid());
        state.PauseTiming();
        p.reset();
        CDBDoc::m_pDBDoc = &s->doc;
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Mode2FirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

#ifdef PVX_HAVE_VTK
// The plates with DZ at their points, as VTK data.
vtkSmartPointer<vtkPolyData> MakePlates(const Field& f) {
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
    auto plates = vtkSmartPointer<vtkPolyData>::New();
    plates->SetPoints(points);
    plates->SetPolys(polys);
    plates->GetPointData()->SetScalars(values);
    return plates;
}

// The banded filter with as many bands as the legend, its colours, every plate's outline (as the
// contour draws the element edges), in an offscreen window without multisampling.
struct VtkFrame {
    vtkNew<vtkBandedPolyDataContourFilter> bands;
    vtkNew<vtkRenderWindow> window;
    vtkNew<vtkWindowToImageFilter> picture;

    VtkFrame(vtkPolyData* plates, const Field& f) {
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
        window->SetOffScreenRendering(1);
        window->SetMultiSamples(0);
        window->SetSize(pvxbench::kWidth, pvxbench::kHeight);
        window->AddRenderer(renderer);
        renderer->GetActiveCamera()->Elevation(35.0);
        renderer->GetActiveCamera()->Azimuth(-45.0);
        renderer->ResetCamera();
        window->Render();
        picture->SetInput(window);
        picture->ShouldRerenderOff();
        picture->Update();
    }
    // The frame rendered again and read back once.
    void Again() {
        bands->Modified();
        window->Render();
        picture->Modified();
        picture->Update();
    }
};

const char* VtkSetupError() {
    if (!getenv("DISPLAY")) return "no X display for VTK's render window (run under xvfb-run)";
    if (!GetSetup()) return "the sample project could not be made";
    return nullptr;
}

void BM_VtkBandedFrame(benchmark::State& state) {
    if (const char* e = VtkSetupError()) return state.SkipWithError(e);
    const Field& f = GetSetup()->field;
    vtkSmartPointer<vtkPolyData> plates = MakePlates(f);
    VtkFrame frame(plates, f);
    for (auto _ : state) {
        frame.Again();
        benchmark::DoNotOptimize(frame.picture->GetOutput()->GetScalarPointer());
    }
    state.counters["band polygons"] = static_cast<double>(frame.bands->GetOutput()->GetNumberOfCells());
    state.counters["plates"] = static_cast<double>(f.cells.size());
}
BENCHMARK(BM_VtkBandedFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

void BM_VtkBandedFirstFrame(benchmark::State& state) {
    if (const char* e = VtkSetupError()) return state.SkipWithError(e);
    const Field& f = GetSetup()->field;
    vtkSmartPointer<vtkPolyData> plates = MakePlates(f);
    for (auto _ : state) {
        VtkFrame frame(plates, f);
        benchmark::DoNotOptimize(frame.picture->GetOutput()->GetScalarPointer());
    }
    state.counters["plates"] = static_cast<double>(f.cells.size());
}
BENCHMARK(BM_VtkBandedFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
#endif

}  // namespace
