// Faces of every element of a large model: the sample project generated with a raft of
// 100,000 plates (pvxhost make-sample --size 100000, beside this program), opened once; each
// iteration builds the back-to-front faces of all its elements through the result model, as a
// full drawing pass does, and frees them.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "host/db/CDBDoc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"

namespace {

const long kPlates = 100000;

std::string ProgramDir() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.find_last_of('/'));
}

// The opened project with a model linked to a control; null (with a message) when the project
// could not be made.
struct Setup {
    CDBDoc doc;
    I_PVXCtrl ctrl;
    std::unique_ptr<I_PVXModel> model;
    CArray<UINT, UINT> elems;
};

Setup* GetSetup() {
    static std::unique_ptr<Setup> s = [] {
        const char* t = getenv("TMPDIR");
        const std::string path =
            std::string(t && *t ? t : "/tmp") + "/bench_model_shapes_" + std::to_string(getpid()) + ".pvxdb";
        const std::string cmd = "'" + ProgramDir() + "/pvxhost' make-sample --size " + std::to_string(kPlates) +
                                " --out '" + path + "' >/dev/null";
        auto p = std::make_unique<Setup>();
        if (std::system(cmd.c_str()) != 0 || !p->doc.OpenDocument(path.c_str())) {
            std::fprintf(stderr, "model_shapes: cannot make the sample project with %s\n", cmd.c_str());
            std::remove(path.c_str());
            return std::unique_ptr<Setup>();
        }
        std::remove(path.c_str());
        CDBDoc::m_pDBDoc = &p->doc;
        p->model = std::make_unique<I_PVXModel>();
        p->model->GetAttrCtrl()->ConnectToPostDB();
        p->model->GetGeomCtrl()->ConnectToPostDB();
        p->model->Link_I_RDXModel(&p->ctrl);
        p->model->m_pDispOpt->m_bWireFrame = 0;
        p->ctrl.SetViewAngles(30.0, 20.0);
        CClassPElem table;
        table.ConnectToDB(p->doc.GetMDBCtrl()->GetDBPost());
        table.GetKeyList(p->elems);
        return p;
    }();
    return s.get();
}

// bOnly: the element-only builder (no member offset, no super elements), to tell the member
// lookup's share.
void BuildAll(benchmark::State& state, bool bOnly) {
    Setup* s = GetSetup();
    if (!s) {
        state.SkipWithError("the sample project could not be made");
        return;
    }
    I_PVXModel& m = *s->model;
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
