// PVXFlatFaces and PVXKeptFaces: member faces as flat arrays, kept between frames.
#include "module/model/PVXFlatFaces.h"

#include <algorithm>
#include <cstring>

#include "host/grx/I_PVXCtrl.h"
#include "platform/gdi/CDC.h"

namespace {

// One face of the flat arrays seen as a point list, for the control's back-to-front sort (which
// sums a face's points in list order).
struct FaceView {
    const C3DPoint* first = nullptr;
    const C3DPoint* end = nullptr;
    POSITION At(const C3DPoint* p) const { return p != end ? reinterpret_cast<POSITION>(const_cast<C3DPoint*>(p)) : nullptr; }
    POSITION GetHeadPosition() const { return At(first); }
    C3DPoint GetNext(POSITION& pos) const {
        const C3DPoint* p = reinterpret_cast<const C3DPoint*>(pos);
        pos = At(p + 1);
        return *p;
    }
};

struct PointBits {
    unsigned long long v[3];
    bool operator==(const PointBits&) const = default;
};
struct PointBitsHash {
    size_t operator()(const PointBits& b) const {
        return static_cast<size_t>((b.v[0] * 0x9E3779B97F4A7C15ull) ^ (b.v[1] * 0xC2B2AE3D27D4EB4Full) ^
                                   (b.v[2] * 0x165667B19E3779F9ull));
    }
};

}  // namespace

PVXFacesRef PVXFacesRef::Of(const PVXFlatFaces& from, int first, int n) {
    PVXFacesRef r;
    if (n <= 0) return r;
    r.corners = from.corners.data();
    r.start = from.start.data() + first;
    r.keys = from.keys.data();
    r.flags = from.flags.data();
    r.faceKeys = from.faceKeys.data() + first;
    r.nFaces = n;
    return r;
}

void PVXFlatFaces::Clear() {
    corners.clear();
    start.clear();
    keys.clear();
    flags.clear();
    faceKeys.clear();
    point.clear();
    points.clear();
    nodes.clear();
    node.clear();
    visible.clear();
    m_edgeLines = Lines{};
    m_edgeLinesMade = false;
}

int PVXFlatFaces::Take(int nFaces, const CArray<int, int>& counts, const CArray<int, int>& index,
                       const CArray<double, double>& coords, const CArray<UINT, UINT>* pNodeKeys, I_PVXCtrl* ctrl) {
    Clear();
    const double* c = coords.GetData();
    const INT_PTR nCoords = coords.GetSize();
    // Faces in host order, checked as the list form checks them.
    std::vector<C3DPoint> work;
    std::vector<UINT> workKeys;
    std::vector<int> workStart{0};
    const bool single = nFaces == 1 && counts.GetSize() >= 1;
    if (!single && (nFaces < 0 || nFaces > counts.GetSize())) return 0;
    work.reserve(static_cast<size_t>(nCoords / 3));
    INT_PTR at = 0;
    for (int f = 0; f < nFaces; ++f) {
        const int n = counts[f];
        if (n < 0 || at + n > index.GetSize()) return 0;
        for (int v = 0; v < n; ++v, ++at) {
            const int i = index[at];
            if (i < 0 || i + 2 >= nCoords || (pNodeKeys && i / 3 >= pNodeKeys->GetSize())) return 0;
            work.emplace_back(c[i], c[i + 1], c[i + 2]);
            if (pNodeKeys) workKeys.push_back(pNodeKeys->GetAt(i / 3));
        }
        workStart.push_back(static_cast<int>(work.size()));
    }

    CArray<int, int> order;
    if (!single && ctrl && nFaces > 1) {
        std::vector<FaceView> views(static_cast<size_t>(nFaces));
        CArray<FaceView*, FaceView*> list;
        list.SetSize(nFaces);
        for (int f = 0; f < nFaces; ++f) {
            views[f] = {work.data() + workStart[f], work.data() + workStart[f + 1]};
            list[f] = &views[f];
        }
        ctrl->GetZSortPolygonList(list, order);
        if (order.GetSize() != nFaces) return 0;
    } else {
        order.SetSize(nFaces);
        for (int f = 0; f < nFaces; ++f) order[f] = f;
    }

    corners.reserve(work.size());
    start.reserve(static_cast<size_t>(nFaces) + 1);
    start.push_back(0);
    if (pNodeKeys) keys.reserve(work.size());
    for (int k = 0; k < nFaces; ++k) {
        const int f = order[k];
        corners.insert(corners.end(), work.begin() + workStart[f], work.begin() + workStart[f + 1]);
        if (pNodeKeys) keys.insert(keys.end(), workKeys.begin() + workStart[f], workKeys.begin() + workStart[f + 1]);
        start.push_back(static_cast<int>(corners.size()));
    }

    // The distinct points, so that each is projected once per frame.
    std::unordered_map<PointBits, int, PointBitsHash> seen;
    seen.reserve(corners.size());
    point.resize(corners.size());
    for (size_t i = 0; i < corners.size(); ++i) {
        PointBits b;
        std::memcpy(&b.v[0], &corners[i].x, sizeof(double));
        std::memcpy(&b.v[1], &corners[i].y, sizeof(double));
        std::memcpy(&b.v[2], &corners[i].z, sizeof(double));
        auto [it, added] = seen.emplace(b, static_cast<int>(points.size()));
        if (added) points.push_back(corners[i]);
        point[i] = it->second;
    }
    return nFaces;
}

void PVXFlatFaces::IndexNodes(const std::vector<UINT>& seed) {
    nodes.clear();
    node.assign(keys.size(), 0);
    std::unordered_map<UINT, int> at;
    at.reserve(seed.size() + keys.size() / 4);
    auto add = [&](UINT key) {
        auto [it, added] = at.emplace(key, static_cast<int>(nodes.size()));
        if (added) nodes.push_back(key);
        return it->second;
    };
    for (UINT key : seed) add(key);
    for (size_t i = 0; i < keys.size(); ++i) node[i] = add(keys[i]);
}

void PVXFlatFaces::Project(const I_PVXCtrl& ctrl, std::vector<CPoint>& px) const {
    px.resize(points.size());
    for (size_t i = 0; i < points.size(); ++i) px[i] = ctrl.MemPixel(points[i]);
}

namespace {

// The n edges of a face of n corners (the closing one last) as segment pairs into q; each
// corner's pixel read once: it ends one edge and starts the next.
void WriteEdges(const int* corner, int n, const std::vector<CPoint>& px, POINT* q) {
    const POINT first = px[corner[0]];
    q[0] = first;
    for (int i = 1; i < n; ++i) {
        const POINT p = px[corner[i]];
        q[2 * i - 1] = p;
        q[2 * i] = p;
    }
    q[2 * n - 1] = first;
}

}  // namespace

void PVXFlatFaces::DrawEdges(CDC* pDC, int f, const std::vector<CPoint>& px) const {
    const int s = start[f], n = Count(f);
    if (n < 2) return;
    // The edges i to i + 1 and the closing one, as segment pairs.
    POINT small[16];
    std::vector<POINT> large;
    POINT* q = small;
    if (2 * n > 16) {
        large.resize(static_cast<size_t>(2 * n));
        q = large.data();
    }
    WriteEdges(point.data() + s, n, px, q);
    pDC->LineSegments(q, n);
}

void PVXFlatFaces::AppendEdges(int f, const std::vector<CPoint>& px, std::vector<POINT>& out) const {
    const int s = start[f], n = Count(f);
    if (n < 2) return;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(2 * n));
    WriteEdges(point.data() + s, n, px, out.data() + at);
}

const PVXFlatFaces::Lines* PVXFlatFaces::EdgeLines() const {
    if (point.size() != corners.size()) return nullptr;
    if (m_edgeLinesMade) return &m_edgeLines;
    m_edgeLinesMade = true;
    Lines& out = m_edgeLines;
    out = Lines{};
    const int nFaces = Faces();
    const int nPoints = static_cast<int>(points.size());
    // Every edge i to i + 1 (the closing one last) of every face, grouped by its lower point.
    struct Edge {
        int hi, face, ways;  // ways: 1 from the lower point, 2 from the higher
    };
    std::vector<int> at(static_cast<size_t>(nPoints) + 1, 0);
    auto forEach = [&](auto&& fn) {
        for (int f = 0; f < nFaces; ++f) {
            const int s = start[f], n = Count(f);
            if (n < 2) continue;
            for (int i = 0; i < n; ++i) fn(f, point[s + i], point[s + (i + 1 == n ? 0 : i + 1)]);
        }
    };
    forEach([&](int, int a, int b) { ++at[static_cast<size_t>(std::min(a, b)) + 1]; });
    for (int p = 0; p < nPoints; ++p) at[p + 1] += at[p];
    std::vector<Edge> edges(static_cast<size_t>(at[nPoints]));
    {
        std::vector<int> fill(at.begin(), at.end() - 1);
        forEach([&](int f, int a, int b) {
            edges[static_cast<size_t>(fill[std::min(a, b)]++)] = Edge{std::max(a, b), f, a <= b ? 1 : 2};
        });
    }
    // The same line met again: its ways joined, kept with the later face. seen[hi] is the line
    // to hi, when that line is from the current lower point.
    struct Merged {
        int lo, hi, face, ways;
    };
    std::vector<Merged> merged;
    merged.reserve(edges.size() / 2 + 1);
    std::vector<int> seen(static_cast<size_t>(nPoints), -1);
    for (int lo = 0; lo < nPoints; ++lo) {
        for (int e = at[lo]; e < at[lo + 1]; ++e) {
            const Edge& d = edges[static_cast<size_t>(e)];
            int& m = seen[static_cast<size_t>(d.hi)];
            if (m >= 0 && merged[static_cast<size_t>(m)].lo == lo) {
                Merged& g = merged[static_cast<size_t>(m)];
                g.ways |= d.ways;
                g.face = std::max(g.face, d.face);
            } else {
                m = static_cast<int>(merged.size());
                merged.push_back(Merged{lo, d.hi, d.face, d.ways});
            }
        }
    }
    // Face by face.
    out.oneWayFirst.assign(static_cast<size_t>(nFaces) + 1, 0);
    out.bothFirst.assign(static_cast<size_t>(nFaces) + 1, 0);
    auto isBoth = [](const Merged& g) { return g.ways == 3 && g.lo != g.hi; };
    for (const Merged& g : merged) ++(isBoth(g) ? out.bothFirst : out.oneWayFirst)[static_cast<size_t>(g.face) + 1];
    for (int f = 0; f < nFaces; ++f) {
        out.oneWayFirst[f + 1] += out.oneWayFirst[f];
        out.bothFirst[f + 1] += out.bothFirst[f];
    }
    out.oneWay.resize(static_cast<size_t>(out.oneWayFirst[nFaces]));
    out.bothWays.resize(static_cast<size_t>(out.bothFirst[nFaces]));
    std::vector<int> oneAt(out.oneWayFirst.begin(), out.oneWayFirst.end() - 1);
    std::vector<int> bothAt(out.bothFirst.begin(), out.bothFirst.end() - 1);
    for (const Merged& g : merged) {
        if (isBoth(g)) out.bothWays[static_cast<size_t>(bothAt[g.face]++)] = Line{g.lo, g.hi};
        else out.oneWay[static_cast<size_t>(oneAt[g.face]++)] = g.ways == 2 ? Line{g.hi, g.lo} : Line{g.lo, g.hi};
    }
    return &out;
}

const PVXFlatFaces* PVXKeptFaces::Find(UINT nMemb, const PVXFacesKey& key, const std::vector<double>* pStamp) const {
    auto it = m_entries.find(nMemb);
    if (it == m_entries.end() || !(it->second.key == key)) return nullptr;
    if (pStamp) {
        const std::vector<double>& s = it->second.stamp;
        if (s.size() != pStamp->size() || std::memcmp(s.data(), pStamp->data(), s.size() * sizeof(double)) != 0)
            return nullptr;
    }
    return &it->second.faces;
}

PVXKeptFaces::Entry& PVXKeptFaces::Renew(UINT nMemb, const PVXFacesKey& key) {
    Entry& e = m_entries[nMemb];
    e.key = key;
    e.stamp.clear();
    e.faces.Clear();
    return e;
}
