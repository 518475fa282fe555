// Recording the animation of the displacement contour of the sample project with a raft of
// 10,000 plates (pvxhost make-sample --size 10000) at 1920x1080: N = 8 frames per half cycle,
// full cycle, so 17 renders and a film of 35 frames.
//
// BM_RecordRaw / BM_RecordMsvideo1: the engine's recording as the record command runs it
// (OpenAVIFiles, RecordFrames, CloseAVIFiles): each frame rendered with its factor, copied to
// the view and the 16-bit frame DIB, written to the temporary film, then the 35 samples read
// back and written in cycle order, uncompressed or through Microsoft Video 1.
// BM_RenderOnly: the same 17 renders with the same factors, each copied to a DC, nothing
// written. The ratios Record / RenderOnly are the cost of the films around the drawing, warm
// against warm: the renders follow the setup's, and one recording precedes the timed ones.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include "bench/BenchSupport.h"
#include "module/animation/CAnimationEngine.h"
#include "platform/ui/afxwin.h"

namespace {

constexpr long kPlates = 10000;
constexpr int kHalf = 8;

struct Setup : pvxbench::Project {
    std::string film;
};

// Made once and kept to the end of the program: the view's window lives as long as the view.
Setup* GetSetup() {
    static Setup* s_pSetup = [] {
        auto s = std::make_unique<Setup>();
        if (!s->Open("animation", "--size " + std::to_string(kPlates))) return static_cast<Setup*>(nullptr);
        // The recorder copies frames to the view and sizes them by its window.
        if (!s->view.CreateEx(0, nullptr, "animation", WS_POPUP | WS_VISIBLE, 0, 0, pvxbench::kWidth, pvxbench::kHeight,
                              nullptr, nullptr))
            return static_cast<Setup*>(nullptr);
        I_PVXModel& m = s->Model();
        pvxbench::ShowAll(m, s->Ctrl());
        m.m_pDispOpt->m_bWireFrame = 0;
        pvxbench::Frame(s->Ctrl(), GViewCamera::VIEW_ISO);
        if (!pvxbench::ShowDispContour(m)) {
            std::fprintf(stderr, "animation: no displacement data\n");
            return static_cast<Setup*>(nullptr);
        }
        CAnimationEngine& a = m.m_AnimationEngine;
        a.m_nFramesPerHalfCycle = kHalf;
        a.m_bFullCycle = 1;
        a.m_nBitsPerPixel = 16;
        const char* t = getenv("TMPDIR");
        s->film = std::string(t && *t ? t : "/tmp") + "/~PVX" + std::to_string(getpid()) + ".AVI";
        a.m_strFinalPath = s->film.c_str();
        m.m_bAnimation = 1;
        return s.release();
    }();
    return s_pSetup;
}

void TimeRecording(benchmark::State& state, int bCompress) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    CAnimationEngine& a = s->Model().m_AnimationEngine;
    a.m_bCompress = bCompress;
    // What went wrong, or null.
    const auto record = [&a]() -> const char* {
        if (!a.OpenAVIFiles()) return "the films could not be opened";
        a.m_bRecording = 1;
        a.RecordFrames();
        a.CloseAVIFiles();
        return a.m_bRecorded ? nullptr : "nothing was recorded";
    };
    // One recording untimed: the renders are timed warm, and so are the recordings.
    if (const char* e = record()) return state.SkipWithError(e);
    for (auto _ : state)
        if (const char* e = record()) return state.SkipWithError(e);
    std::remove(s->film.c_str());
    state.counters["frames"] = a.FilmFrameCount();
}

void BM_RecordRaw(benchmark::State& state) { TimeRecording(state, 0); }
void BM_RecordMsvideo1(benchmark::State& state) { TimeRecording(state, 1); }

void BM_RenderOnly(benchmark::State& state) {
    Setup* s = GetSetup();
    if (!s) return state.SkipWithError("the sample project could not be made");
    I_PVXModel& m = s->Model();
    CAnimationEngine& a = m.m_AnimationEngine;
    CDC dc;
    dc.CreateDisplayDC(pvxbench::kWidth, pvxbench::kHeight);
    for (auto _ : state) {
        a.m_bRecording = 1;
        // The factors of the recorded frames: k = 0 .. N, then 2N + 3 .. 3N + 2.
        for (int j = 0; j <= kHalf; ++j) {
            a.m_nCurFrame = j;
            m.PVXRender();
            m.m_pPVXCtrl->SwapBuffer(&dc);
        }
        for (int j = 1; j <= kHalf; ++j) {
            a.m_nCurFrame = 2 * kHalf + 2 + j;
            m.PVXRender();
            m.m_pPVXCtrl->SwapBuffer(&dc);
        }
        a.m_bRecording = 0;
        benchmark::DoNotOptimize(dc.GetSafeHdc());
    }
    state.counters["frames"] = 2 * kHalf + 1;
}

BENCHMARK(BM_RenderOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RecordRaw)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_RecordMsvideo1)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
