// Setup shared by the benchmark programs that time the result model on a generated project:
// making the project with the host program beside the benchmark (pvxhost make-sample ...),
// opening it, linking a result model to a graphics control with no window, showing the whole
// model, selecting the dead load, the loops and counters the programs report alike, and the raw
// baseline of the colour-band displays (quads filled in one colour each). Each program keeps only
// what it measures and the data of its baseline.
//
//     struct Setup : pvxbench::Project { ... };
//     Setup* GetSetup(long n) {
//         static pvxbench::OnePerSize<Setup> cache;
//         return cache.Get(n, [](long n) {
//             auto s = std::make_unique<Setup>();
//             if (!s->Open("my_bench", "--size " + std::to_string(n))) return decltype(s)();
//             pvxbench::ShowAll(s->Model(), s->Ctrl());
//             ...
//             return s;
//         });
//     }
//
// Header only: bench/CMakeLists.txt builds one program per .cpp file.
#pragma once

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "host/db/CDBDoc.h"
#include "host/db/CMDBCtrl.h"
#include "host/db/DBTables.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CDeformEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CPVXGeomCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/afx/HugeHeap.h"

namespace pvxbench {

// The heap as pvxhost has it (on huge pages), for every side a program times.
inline const bool g_bHugeHeap = PutHeapOnHugePages();

// The picture every drawing benchmark draws, in pixels.
constexpr int kWidth = 1920, kHeight = 1080;

// The folder of the running program (where pvxhost is built too).
inline std::string ProgramDir() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof(buf) - 1);
    if (n <= 0) return ".";
    std::string p(buf, static_cast<size_t>(n));
    return p.substr(0, p.find_last_of('/'));
}

// Makes a project with `pvxhost make-sample <args>` into a temporary file and opens it into doc,
// which becomes the document of the process; the file is removed either way. false, with a
// message headed by the program's name, when the project cannot be made or opened.
inline bool OpenSample(CDBDoc& doc, const char* name, const std::string& args) {
    static int made = 0;  // one file name per project made by this process
    const char* t = getenv("TMPDIR");
    const std::string path = std::string(t && *t ? t : "/tmp") + "/bench_" + name + "_" + std::to_string(getpid()) +
                             "_" + std::to_string(++made) + ".pvxdb";
    const std::string cmd =
        "'" + ProgramDir() + "/pvxhost' --quiet make-sample " + args + " --out '" + path + "' >/dev/null";
    const bool ok = std::system(cmd.c_str()) == 0 && doc.OpenDocument(path.c_str());
    std::remove(path.c_str());
    if (!ok) {
        std::fprintf(stderr, "%s: cannot make the project with %s\n", name, cmd.c_str());
        return false;
    }
    CDBDoc::m_pDBDoc = &doc;
    return true;
}

// The baseline of the figure benchmarks: the layers a figure draws on, and the text style its
// texts take ("Contents", number 10, 0.25 high) made current, in a new drawing.
inline void PrepareDirectDrawing(CVdrawUtil& d, std::initializer_list<int> layers) {
    for (int layer : layers) d.AddLayer(layer, ("L" + std::to_string(layer)).c_str(), 0xFFFFFF, 0, 999);
    sEVETextStyle st;
    st.strFaceName = "宋体";
    st.dHeight = 0.25;
    d.AddTextStyle("Contents", st, 0);
    d.AddTextStyle(10, "Contents");
    d.SetCurrentTextStyle(10);
}

// A view with its graphics control and light; no window, so no client copies.
class BenchView : public GRenderView {};

// An opened project with a result model linked to the view's graphics control.
struct Project {
    CDBDoc doc;
    BenchView view;
    std::unique_ptr<I_PVXModel> model;

    I_PVXModel& Model() { return *model; }
    I_PVXCtrl* Ctrl() { return view.GetI_PVXCtrl(); }

    // Makes and opens the project (see OpenSample), then a model on its results, linked to the
    // control and the view.
    bool Open(const char* name, const std::string& args) {
        if (!OpenSample(doc, name, args)) return false;
        model = std::make_unique<I_PVXModel>();
        model->GetAttrCtrl()->ConnectToPostDB();
        model->GetGeomCtrl()->ConnectToPostDB();
        model->Link_I_RDXModel(Ctrl());
        model->SetView(&view);
        return true;
    }
};

// Every member and node shown, as entering the result view leaves the model.
inline void ShowAll(I_PVXModel& m, I_PVXCtrl* ctrl) {
    ctrl->GetObjectIDRange(m.m_nObjectIDFirst, m.m_nObjectIDLast);
    ctrl->GetNodeIDRange(m.m_nNodeIDFirst, m.m_nNodeIDLast);
    m.GetAttrCtrl()->GetMembKeyList(m.m_arrAllMembKey);
    m.GetAttrCtrl()->GetNodeKeyList(m.m_arrAllNodeKey);
    m.m_arrActiveMembKey.Copy(m.m_arrAllMembKey);
    m.m_arrFlagMembKey.Copy(m.m_arrAllMembKey);
    m.m_arrActiveNodeKey.Copy(m.m_arrAllNodeKey);
    m.m_arrFlagNodeKey.Copy(m.m_arrAllNodeKey);
    m.InitOriginal();
}

// The picture of kWidth x kHeight pixels seen from a standard direction.
inline void Frame(I_PVXCtrl* ctrl, int view) {
    ctrl->SetClientSize(kWidth, kHeight);
    ctrl->SetStandardView(view);
}

// The dead load (static case 1, its values) selected in the model.
inline void SelectDeadLoad(I_PVXModel& m) {
    m.m_nLoadType = 1;
    m.m_nLoadKey = 1;
    m.m_nLoadStep = 0;
    m.m_bLoadSelected = 1;
    m.SelectLoad();
}

// A new deformation engine showing the displacement contour (mode 2) of DZ under the dead load,
// on the deformed shape or not; its data are built by the caller (InitEngine).
inline void StartDispContour(I_PVXModel& m, int bDeformed) {
    delete m.m_pDeformEngine;
    m.m_pDeformEngine = new CDeformEngine(&m);
    m.m_pDeformEngine->m_nComponent = CDeformEngine::COMP_DZ;
    m.m_pDeformEngine->m_bDeformed = bDeformed;
    m.m_nDisplayMode = PVXMode::kDispContour;
    m.m_bContour = 1;
    SelectDeadLoad(m);
}

// Display mode 2 on the deformed shape with the engine's data built as a redraw finds them.
// false when the project has no displacements.
inline bool ShowDispContour(I_PVXModel& m) {
    StartDispContour(m, 1);
    if (!m.m_pDeformEngine->InitEngine()) return false;
    m.InitDeformed(0);
    return true;
}

// Makes and opens the sample of n raft plates (make-sample --size n), shows it whole in faces at
// kWidth x kHeight in the iso view and builds its displacement contour (StartDispContour).
// false, with a message headed by name, when the project or its displacements are missing.
inline bool OpenDispContour(Project& p, const char* name, long n, int bDeformed) {
    if (!p.Open(name, "--size " + std::to_string(n))) return false;
    I_PVXModel& m = p.Model();
    // Faces, as the options stand before the view opens: the members' boxes are made once.
    m.m_pDispOpt->m_bWireFrame = 0;
    ShowAll(m, p.Ctrl());
    Frame(p.Ctrl(), GViewCamera::VIEW_ISO);
    StartDispContour(m, bDeformed);
    if (m.m_pDeformEngine->InitEngine()) return true;
    std::fprintf(stderr, "%s: no displacement data\n", name);
    return false;
}

// One project in memory at a time: the one made for the size asked last, else the previous one
// freed and a new one made by make(size), a std::unique_ptr<S> that is empty when it failed (and
// is tried again on the next call).
template <class S>
class OnePerSize {
public:
    template <class Make>
    S* Get(long size, Make&& make) {
        if (m_held && m_size == size) return m_held.get();
        m_held.reset();
        m_held = make(size);
        m_size = size;
        return m_held.get();
    }

private:
    std::unique_ptr<S> m_held;
    long m_size = 0;
};

// Each iteration one full render of the model into the control's memory image.
inline void TimeRenders(benchmark::State& state, I_PVXModel& m, I_PVXCtrl* ctrl) {
    for (auto _ : state) {
        m.PVXRender();
        benchmark::DoNotOptimize(ctrl->IsImageValid());
    }
}

// draw(dc) into the memory image of the control, between its begin and end.
template <class Draw>
inline void DrawToMemImage(I_PVXCtrl* ctrl, Draw&& draw) {
    ctrl->BeginDrawToMemDC(false);
    draw(ctrl->GetMemDC());
    ctrl->EndDrawToMemDC(false);
}

// The members counted and their rate, per iteration.
inline void CountMembers(benchmark::State& state, long nMembers) {
    state.counters["members"] = static_cast<double>(nMembers);
    state.counters["members/s"] =
        benchmark::Counter(static_cast<double>(nMembers), benchmark::Counter::kIsIterationInvariantRate);
}

// n items under the counter name, and n items processed per iteration (items_per_second).
inline void CountItems(benchmark::State& state, const char* name, size_t n) {
    state.counters[name] = static_cast<double>(n);
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(n));
}

// visit(key, element, corners) for each four-node element of the given type in the project's
// element table whose corner nodes are all found in its node table, in key order.
template <class Visit>
inline void ForEachQuad(CDBDoc& doc, int type, Visit&& visit) {
    CDataBase* db = doc.GetMDBCtrl()->GetDBPost();
    CClassPElem elems;
    elems.ConnectToDB(db);
    CClassPNode nodes;
    nodes.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    elems.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PELEM_D e;
        if (!elems.Get(keys[i], e) || e.type != type || e.nNode != 4) continue;
        C3DPoint pts[4];
        bool ok = true;
        for (int k = 0; k < 4 && ok; ++k) {
            T_PNODE_D nd{0.0, 0.0, 0.0};
            ok = nodes.Get(e.node[k], nd) != 0;
            pts[k] = C3DPoint(nd.x, nd.y, nd.z);
        }
        if (ok) visit(keys[i], e, pts);
    }
}

// A four-node element's corners and one value of its result at the centre.
struct ValuedQuad {
    C3DPoint pts[4];
    double value;
};

// The four-node elements of the given type (see ForEachQuad) that have a plate-force record of
// static case 1, each with the value of that record's centre block at the given column.
inline std::vector<ValuedQuad> CentreValueQuads(CDBDoc& doc, int type, int column) {
    CDataBase* db = doc.GetMDBCtrl()->GetDBPost();
    std::vector<ValuedQuad> quads;
    ForEachQuad(doc, type, [&](UINT key, const T_PELEM_D&, const C3DPoint* pts) {
        const T_STRP_DL* r = db->Table<DBT_STRP>().Find(1, key);
        if (!r) return;
        ValuedQuad q;
        for (int k = 0; k < 4; ++k) q.pts[k] = pts[k];
        q.value = r->blk[0][column];
        quads.push_back(q);
    });
    return quads;
}

// The raw baseline of a colour-band display: each quad projected and filled in the colour of its
// value on scale, straight into the raster device context of the control's memory image, once per
// iteration.
inline void TimeRawQuads(benchmark::State& state, I_PVXCtrl* ctrl, const std::vector<ValuedQuad>& quads,
                         const CContourEngine& scale) {
    for (auto _ : state) {
        DrawToMemImage(ctrl, [&](CDC* dc) {
            for (const ValuedQuad& p : quads) {
                POINT q[4];
                for (int k = 0; k < 4; ++k) {
                    const CPoint w = ctrl->GetWorldToMemDCP2D(p.pts[k]);
                    q[k] = POINT{w.x, w.y};
                }
                const COLORREF c = scale.GetValueColor(p.value);
                CPen pen(PS_SOLID, 1, c);
                CBrush brush(c);
                CPen* op = dc->SelectObject(&pen);
                CBrush* ob = dc->SelectObject(&brush);
                dc->Polygon(q, 4);
                dc->SelectObject(ob);
                dc->SelectObject(op);
            }
        });
    }
}

// One drawing recorded once on a recording DC and replayed raw, the baselines of the contour
// displays: its filled polygons alone, each with the brush and pen it was drawn with (the raw fill
// of the display's own polygons), or every call that paints lines and polygons, in the order
// drawn (what painting the same picture costs at the least). Pens and brushes, one per distinct
// style, are made at recording; the replay selects them and calls the DC, nothing else.
class RecordedFrame {
public:
    template <class Draw>
    void Record(Draw&& draw) {
        CRecordDC rec;
        rec.Create();
        draw(static_cast<CDC*>(&rec));
        for (const GdiRecord& r : rec.GetRecords()) {
            Call c;
            if (r.op == "Polygon") c.kind = Kind::Polygon;
            else if (r.op == "Polyline") c.kind = Kind::Polyline;
            else if (r.op == "LineTo") c.kind = Kind::Line;
            else {
                if (IsPainting(r.op)) ++m_left[r.op];
                continue;
            }
            c.first = m_points.size();
            if (c.kind == Kind::Line) {
                m_points.push_back(r.curPos);
                m_points.push_back(POINT{r.Arg(0), r.Arg(1)});
            } else {
                m_points.insert(m_points.end(), r.points.begin(), r.points.end());
            }
            c.count = static_cast<int>(m_points.size() - c.first);
            c.pen = PenOf(r.pen);
            c.brush = c.kind == Kind::Polygon ? BrushOf(r.brush) : nullptr;
            if (c.kind == Kind::Polygon) ++m_polygons;
            else ++m_lines;
            m_calls.push_back(c);
        }
    }

    // Replays the polygons alone (fillsOnly) or every recorded line and polygon into dc.
    void Replay(CDC* dc, bool fillsOnly) const {
        CPen* pen = nullptr;
        CBrush* brush = nullptr;
        for (const Call& c : m_calls) {
            if (fillsOnly && c.kind != Kind::Polygon) continue;
            if (c.pen != pen) dc->SelectObject(pen = c.pen);
            if (c.brush && c.brush != brush) dc->SelectObject(brush = c.brush);
            const POINT* p = m_points.data() + c.first;
            switch (c.kind) {
            case Kind::Polygon: dc->Polygon(p, c.count); break;
            case Kind::Polyline: dc->Polyline(p, c.count); break;
            case Kind::Line:
                dc->MoveTo(p[0].x, p[0].y);
                dc->LineTo(p[1].x, p[1].y);
                break;
            }
        }
    }

    size_t Polygons() const { return m_polygons; }
    size_t Lines() const { return m_lines; }
    // Painting calls the replay leaves out (texts, blits ...), by name, with their counts.
    const std::map<std::string, long>& LeftOut() const { return m_left; }

private:
    enum class Kind { Polygon, Polyline, Line };
    struct Call {
        Kind kind = Kind::Polygon;
        size_t first = 0;
        int count = 0;
        CPen* pen = nullptr;
        CBrush* brush = nullptr;
    };

    static bool IsPainting(const std::string& op) {
        for (const char* name : {"PolyPolygon", "PolylineTo", "TextOut", "ExtTextOut", "DrawText", "SetPixel",
                                 "GradientFill", "BitBlt", "StretchBlt", "StretchDIBits", "PatBlt", "AlphaBlend"})
            if (op == name) return true;
        return false;
    }
    CPen* PenOf(const LOGPEN& lp) {
        auto& pen = m_pens[{lp.lopnStyle, lp.lopnWidth.x, lp.lopnColor}];
        if (!pen) {
            pen = std::make_unique<CPen>();
            pen->CreatePenIndirect(&lp);
        }
        return pen.get();
    }
    CBrush* BrushOf(const LOGBRUSH& lb) {
        auto& brush = m_brushes[{lb.lbStyle, lb.lbColor, static_cast<long>(lb.lbHatch)}];
        if (!brush) {
            brush = std::make_unique<CBrush>();
            brush->CreateBrushIndirect(&lb);
        }
        return brush.get();
    }

    std::vector<Call> m_calls;
    std::vector<POINT> m_points;
    std::map<std::tuple<UINT, LONG, COLORREF>, std::unique_ptr<CPen>> m_pens;
    std::map<std::tuple<UINT, COLORREF, long>, std::unique_ptr<CBrush>> m_brushes;
    std::map<std::string, long> m_left;
    size_t m_polygons = 0, m_lines = 0;
};

// The two raw baselines of a recorded frame, into the control's memory image once per iteration.
inline void TimeReplay(benchmark::State& state, I_PVXCtrl* ctrl, const RecordedFrame& frame, bool fillsOnly) {
    for (auto _ : state) DrawToMemImage(ctrl, [&](CDC* dc) { frame.Replay(dc, fillsOnly); });
    state.counters["polygons"] = static_cast<double>(frame.Polygons());
    if (!fillsOnly) state.counters["lines"] = static_cast<double>(frame.Lines());
    for (const auto& [op, n] : frame.LeftOut()) state.counters["not replayed " + op] = static_cast<double>(n);
}

// The same, recording the frame first with draw(dc) while it holds nothing.
template <class Draw>
void TimeReplay(benchmark::State& state, I_PVXCtrl* ctrl, RecordedFrame& frame, bool fillsOnly, Draw&& draw) {
    if (frame.Polygons() == 0) frame.Record(draw);
    TimeReplay(state, ctrl, frame, fillsOnly);
}

}  // namespace pvxbench
