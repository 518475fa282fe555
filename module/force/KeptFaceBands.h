// KeptFaceBands: the colour bands of element faces as the band cutter made them in model space,
// kept between drawings while everything they are made of stays the same.
//
// A pass hands its inputs (records, component, sides, the scale's levels, the shape tables and
// options) to Begin. The first pass with new inputs draws as always and keeps nothing (the
// first frame is not slowed); from the next pass with the same inputs on, an element's bands are
// recorded as they are cut, and appended as recorded instead of being cut again after that. An
// element is recorded only when its bands depend on nothing but those inputs (one face, so no
// view-dependent face order or culling, and every face cut into the batch); other elements stay
// with the cutter. Projection, shading and filling still happen every frame.
//
//   kept.Begin(inputs);
//   if (const auto* e = kept.Find(key, type, kind); e && e->bKept) kept.Append(*e, sizes, vertices, scale);
//   else { const auto mark = kept.MarkOf(sizes, vertices, scale); ...cut...; kept.Record(key, type, kind, ...); }
#pragma once

#include <algorithm>
#include <cstring>
#include <vector>

#include "module/contour/CContourEngine.h"
#include "module/force/FlatKeyIndex.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class KeptFaceBands {
public:
    enum class Phase { kOff, kKeep };

    struct Entry {
        UINT firstSize = 0, nSizes = 0;
        UINT firstVertex = 0, nVertices = 0;
        UINT firstRun = 0, nRuns = 0;
        int nType = 0, nKind = 0;  // of the element record the bands were made for
        bool bKept = false;        // false: the element is cut every time
        bool bPoll = false;        // the cut polled Escape once (a face with points)
    };
    // Where the lists stood before an element's bands were appended.
    struct Mark {
        INT_PTR nSizes = 0, nVertices = 0;
    };

    // Starts a pass made of these inputs: the kept bands are dropped when the inputs differ
    // from those of the pass before. Returns the phase of this pass.
    Phase Begin(const std::vector<ULONGLONG>& inputs) {
        if (inputs != m_inputs) {
            Clear();
            m_inputs = inputs;
            m_phase = Phase::kOff;
        } else {
            m_phase = Phase::kKeep;  // second pass of the same inputs: kept from here on
        }
        return m_phase;
    }
    // Drops everything kept, inputs included (the next pass starts afresh).
    void Reset() {
        Clear();
        m_inputs.clear();
        m_phase = Phase::kOff;
    }
    Phase GetPhase() const { return m_phase; }
    // From the second pass of the same inputs on, elements not kept yet are recorded.
    bool Keeping() const { return m_phase == Phase::kKeep; }
    // Elements whose bands are kept (not cut again while the inputs hold).
    size_t KeptCount() const {
        return static_cast<size_t>(std::count_if(m_entries.begin(), m_entries.end(), [](const Entry& e) { return e.bKept; }));
    }

    // The element's entry when it was recorded for a record of this type and kind, else null.
    const Entry* Find(UINT key, int nType, int nKind) const {
        const int i = m_at.Find(key);
        if (i < 0) return nullptr;
        const Entry& e = m_entries[static_cast<size_t>(i)];
        return e.nType == nType && e.nKind == nKind ? &e : nullptr;
    }
    // The element's entry when its bands are kept, whatever its record: while the element table
    // is one of the inputs, the record is the one the bands were recorded for.
    const Entry* FindKept(UINT key) const {
        const int i = m_at.Find(key);
        return i >= 0 && m_entries[static_cast<size_t>(i)].bKept ? &m_entries[static_cast<size_t>(i)] : nullptr;
    }
    void Prefetch(UINT key) const { m_at.Prefetch(key); }

    // What the band cutter reads of the scale, appended as numbers: false (nothing kept) when
    // the scale raises its faces, as those bands are not the face's alone.
    static bool AppendCutterInputs(const CContourEngine& s, std::vector<ULONGLONG>& out) {
        if (s.m_bExtrudeContour) return false;
        auto bits = [](double d) {
            ULONGLONG u;
            std::memcpy(&u, &d, sizeof u);
            return u;
        };
        out.push_back(static_cast<ULONGLONG>(static_cast<unsigned>(s.m_nNumColor)));
        for (int i = 0; i < CContourEngine::MAX_LEVELS; ++i) out.push_back(bits(s.m_dRankMap[i]));
        out.push_back(static_cast<ULONGLONG>(s.m_bCoarseContour));
        out.push_back(static_cast<ULONGLONG>(static_cast<unsigned>(s.m_nFillStyle)));
        out.push_back(static_cast<ULONGLONG>(s.m_bListMode));
        out.push_back(static_cast<ULONGLONG>(s.m_bGlobalRange));
        out.push_back(bits(s.m_dGlobalMin));
        out.push_back(bits(s.m_dGlobalMax));
        out.push_back(static_cast<ULONGLONG>(s.m_bActiveRange));
        out.push_back(static_cast<ULONGLONG>(s.m_bActiveRangeKnot));
        out.push_back(static_cast<ULONGLONG>(s.m_nActiveRangeMode));
        out.push_back(bits(s.m_dActiveRangeMin));
        out.push_back(bits(s.m_dActiveRangeMax));
        return true;
    }

    Mark MarkOf(const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                CContourEngine& scale) const {
        // Runs left from a list drawn before and at or beyond the mark would be taken for the
        // element's own; they can describe nothing that is still to be drawn.
        if (scale.m_pCornerList == &vertices && !scale.m_cornerRuns.empty() &&
            scale.m_cornerRuns.back().at >= vertices.GetSize())
            scale.m_cornerRuns.clear();
        return Mark{sizes.GetSize(), vertices.GetSize()};
    }
    // Keeps what was appended to the lists since the mark as the element's bands (with the
    // scale's corner runs of them).
    void Record(UINT key, int nType, int nKind, bool bPoll, const Mark& m, const CArray<int, int>& sizes,
                const CArray<VtxInfo_tag, VtxInfo_tag>& vertices, const CContourEngine& scale) {
        Entry e = Start(key, nType, nKind);
        e.bPoll = bPoll;
        if (sizes.GetSize() < m.nSizes || vertices.GetSize() < m.nVertices) return Put(key, e);
        e.nSizes = static_cast<UINT>(sizes.GetSize() - m.nSizes);
        e.nVertices = static_cast<UINT>(vertices.GetSize() - m.nVertices);
        m_sizes.insert(m_sizes.end(), sizes.GetData() + m.nSizes, sizes.GetData() + sizes.GetSize());
        for (INT_PTR i = m.nVertices; i < vertices.GetSize(); ++i) {
            const VtxInfo_tag& v = vertices[i];
            m_vertices.push_back(Vertex{v.pt.x, v.pt.y, v.pt.z, v.dValue});
            m_lines.push_back(v.bLine);
        }
        if (scale.m_pCornerList == &vertices) {
            size_t r = scale.m_cornerRuns.size();
            while (r > 0 && scale.m_cornerRuns[r - 1].at >= m.nVertices) --r;
            for (; r < scale.m_cornerRuns.size(); ++r) {
                CContourEngine::CornerRun run = scale.m_cornerRuns[r];
                run.at -= m.nVertices;
                m_runs.push_back(run);
                ++e.nRuns;
            }
        }
        e.bKept = true;
        Put(key, e);
    }
    // Notes that the element is cut every time.
    void RecordUncut(UINT key, int nType, int nKind) { Put(key, Start(key, nType, nKind)); }

    // Appends the element's kept bands to the lists, noting their corner runs in the scale.
    void Append(const Entry& e, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                CContourEngine& scale) const {
        if (e.nSizes == 0) return;
        const INT_PTR s0 = sizes.GetSize(), v0 = vertices.GetSize();
        sizes.SetSize(s0 + e.nSizes);
        std::copy_n(m_sizes.data() + e.firstSize, e.nSizes, sizes.GetData() + s0);
        vertices.SetSize(v0 + e.nVertices);
        VtxInfo_tag* out = vertices.GetData() + v0;
        const Vertex* in = m_vertices.data() + e.firstVertex;
        const int* lines = m_lines.data() + e.firstVertex;
        for (UINT i = 0; i < e.nVertices; ++i) {
            out[i].pt.Set(in[i].x, in[i].y, in[i].z);
            out[i].dValue = in[i].v;
            out[i].bLine = lines[i];
        }
        for (UINT r = 0; r < e.nRuns; ++r) {
            const CContourEngine::CornerRun& kept = m_runs[e.firstRun + r];
            CContourEngine::CornerRun& run = scale.NoteCornerRun(vertices, v0 + kept.at, kept.n);
            std::copy(std::begin(kept.src), std::end(kept.src), std::begin(run.src));
        }
    }

private:
    Entry Start(UINT, int nType, int nKind) const {
        Entry e;
        e.firstSize = static_cast<UINT>(m_sizes.size());
        e.firstVertex = static_cast<UINT>(m_vertices.size());
        e.firstRun = static_cast<UINT>(m_runs.size());
        e.nType = nType;
        e.nKind = nKind;
        return e;
    }
    void Put(UINT key, const Entry& e) {
        if (m_entries.empty()) m_at.Reset(kFirstRoom);
        const int i = m_at.Find(key);
        if (i >= 0) {
            m_entries[static_cast<size_t>(i)] = e;  // a key met twice keeps the later bands
            return;
        }
        if (m_entries.size() + 1 > m_room) Rehash(2 * m_room);
        m_at.Insert(key, static_cast<int>(m_entries.size()));
        m_entries.push_back(e);
        m_keys.push_back(key);
    }
    void Rehash(size_t room) {
        m_room = room;
        m_at.Reset(room);
        for (size_t i = 0; i < m_keys.size(); ++i) m_at.Insert(m_keys[i], static_cast<int>(i));
    }
    void Clear() {
        m_entries.clear();
        m_keys.clear();
        m_sizes.clear();
        m_vertices.clear();
        m_lines.clear();
        m_runs.clear();
        m_at = FlatKeyIndex();
        m_room = kFirstRoom;
        // The memory goes with the inputs it was made of.
        m_sizes.shrink_to_fit();
        m_vertices.shrink_to_fit();
        m_lines.shrink_to_fit();
        m_runs.shrink_to_fit();
        m_entries.shrink_to_fit();
        m_keys.shrink_to_fit();
    }

    static constexpr size_t kFirstRoom = 1024;
    std::vector<ULONGLONG> m_inputs;
    Phase m_phase = Phase::kOff;
    std::vector<Entry> m_entries;
    std::vector<UINT> m_keys;
    FlatKeyIndex m_at;
    size_t m_room = kFirstRoom;
    std::vector<int> m_sizes;
    // A band vertex as plain numbers (a list vertex also carries its point's vtable), its line
    // flag apart.
    struct Vertex {
        double x, y, z, v;
    };
    std::vector<Vertex> m_vertices;
    std::vector<int> m_lines;
    std::vector<CContourEngine::CornerRun> m_runs;
};
