// Faces of every element of a large model: the sample project generated with a raft of
// 100,000 plates (pvxhost make-sample --size 100000, beside this program), opened once; each
// iteration builds the back-to-front faces of all its elements through the result model, as a
// full drawing pass does, and frees them.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/BenchSupport.h"

namespace {

const long kPlates = 100000;

// The opened project with a model linked to a control, and every element key.
struct Setup : pvxbench::Project {
    CArray<UINT, UINT> elems;
};

Setup* GetSetup() {
    static pvxbench::OnePerSize<Setup> cache;
    return cache.Get(kPlates, [](long n) {
        auto s = std::make_unique<Setup>();
        if (!s->Open("model_shapes", "--size " + std::to_string(n))) return std::unique_ptr<Setup>();
        s->Model().m_pDispOpt->m_bWireFrame = 0;
        s->Ctrl()->SetViewAngles(30.0, 20.0);
        CClassPElem table;
        table.ConnectToDB(s->doc.GetMDBCtrl()->GetDBPost());
        table.GetKeyList(s->elems);
        return s;
    });
}

// bOnly: the element-only builder (no member offset, no super elements), to tell the member
// lookup's share.
void BuildAll(benchmark::State& state, bool bOnly) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    I_PVXModel& m = s->Model();
    long faces = 0;
    for (auto _ : state) {
        faces = 0;
        for (INT_PTR i = 0; i < s->elems.GetSize(); ++i) {
            T_PELEM_D elem;
            if (!m.GetAttrCtrl()->GetElem(s->elems[i], elem)) continue;
            PVXPolyListArray polys;
            T_SHAPE_ARGUMENT arg;
            faces += bOnly ? m.GetShapeOnlyElement(s->elems[i], elem, polys, nullptr, arg, 0, 0)
                           : m.GetShapeElement(s->elems[i], elem, polys, nullptr, arg, 1, 0);
            I_PVXModel::FreeMemoryPolyList(&polys, nullptr, nullptr, nullptr);
        }
        benchmark::DoNotOptimize(faces);
    }
    state.counters["elements"] = static_cast<double>(s->elems.GetSize());
    state.counters["faces"] = static_cast<double>(faces);
}
void BM_ElementFacesOfTheWholeModel(benchmark::State& state) { BuildAll(state, false); }
void BM_ElementOnlyFacesOfTheWholeModel(benchmark::State& state) { BuildAll(state, true); }
BENCHMARK(BM_ElementFacesOfTheWholeModel)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ElementOnlyFacesOfTheWholeModel)->Unit(benchmark::kMillisecond);

}  // namespace
