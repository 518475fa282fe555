// PVXFlatFaces and PVXKeptFaces: member faces as flat arrays, kept between frames.
#include "module/model/PVXFlatFaces.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <type_traits>

#include "host/grx/I_PVXCtrl.h"
#include "platform/afx/HashMix.h"
#include "platform/gdi/CDC.h"

namespace {

size_t PointHash(const C3DPoint& p) {
    unsigned long long v[3];
    std::memcpy(&v[0], &p.x, sizeof(double));
    std::memcpy(&v[1], &p.y, sizeof(double));
    std::memcpy(&v[2], &p.z, sizeof(double));
    return HashMix64(v[0] * 0x9E3779B97F4A7C15ull ^ v[1] * 0xC2B2AE3D27D4EB4Full ^ v[2] * 0x165667B19E3779F9ull);
}

bool SameBits(const C3DPoint& a, const C3DPoint& b) {
    return std::memcmp(&a.x, &b.x, sizeof(double)) == 0 && std::memcmp(&a.y, &b.y, sizeof(double)) == 0 &&
           std::memcmp(&a.z, &b.z, sizeof(double)) == 0;
}

// A power of two table of at least twice n slots.
size_t TableSize(size_t n) {
    size_t cap = 16;
    while (cap < 2 * n) cap <<= 1;
    return cap;
}

// The entry of an open-addressing table of points (power-of-two size, -1 free) that holds p,
// or the free one where it would go.
size_t ProbePoint(const std::vector<int>& slots, const std::vector<C3DPoint>& points, const C3DPoint& p) {
    const size_t mask = slots.size() - 1;
    size_t h = PointHash(p) & mask;
    while (slots[h] >= 0 && !SameBits(points[static_cast<size_t>(slots[h])], p)) h = (h + 1) & mask;
    return h;
}

// Node keys up to this many times the number of keys (plus the slack) are indexed directly by
// key: model keys are mostly dense, and the corners of neighbouring faces have neighbouring keys,
// so the look-ups stay within a few cache lines where a hash would scatter them.
constexpr size_t kKeySpread = 4, kKeySlack = 1024;

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

void PVXFlatFaces::Compact() {
    if (HasPointIndex()) std::vector<C3DPoint>().swap(corners);
    if (node.size() == keys.size()) std::vector<UINT>().swap(keys);
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
    std::vector<int>().swap(m_pointSlots);
    std::vector<int>().swap(m_keyPoints);
    m_bMerge = false;
}

int PVXFlatFaces::Take(int nFaces, const CArray<int, int>& counts, const CArray<int, int>& index,
                       const CArray<double, double>& coords, const CArray<UINT, UINT>* pNodeKeys, I_PVXCtrl* ctrl) {
    Begin(0);
    if (!AddPiece(nFaces, counts, index, coords, pNodeKeys)) return 0;
    return Finish(ctrl);
}

int PVXFlatFaces::TakeAndFree(int nFaces, CArray<int, int>& counts, CArray<int, int>& index,
                              CArray<double, double>& coords, CArray<UINT, UINT>* pNodeKeys, I_PVXCtrl* ctrl) {
    Begin(0);
    const bool ok = AddPiece(nFaces, counts, index, coords, pNodeKeys);
    counts.RemoveAll();
    index.RemoveAll();
    coords.RemoveAll();
    if (pNodeKeys) pNodeKeys->RemoveAll();
    return ok ? Finish(ctrl) : 0;
}

void PVXFlatFaces::Begin(size_t nCorners) {
    Clear();
    point.reserve(nCorners);
    points.reserve(nCorners / 3 + 16);  // plates of a mesh share each point about four ways
    start.push_back(0);
}

int* PVXFlatFaces::KeyPoint(UINT key) {
    if (key >= m_keyPoints.size()) {
        if (key > kKeySpread * point.capacity() + kKeySlack) return nullptr;
        m_keyPoints.resize(std::max<size_t>(static_cast<size_t>(key) + 1, 2 * m_keyPoints.size()), -1);
    }
    return &m_keyPoints[key];
}

void PVXFlatFaces::MergeEqualPoints() {
    // Each point goes to the first one equal to it, the points kept moving down in order, so
    // that they stand as the table alone would have made them.
    m_pointSlots.assign(TableSize(points.size()), -1);
    std::vector<int> to(points.size());
    size_t kept = 0;
    for (size_t k = 0; k < points.size(); ++k) {
        int& slot = m_pointSlots[PointSlot(points[k])];
        if (slot < 0) {
            slot = static_cast<int>(kept);
            points[kept++] = points[k];
        }
        to[k] = slot;
    }
    if (kept == points.size()) return;
    points.resize(kept);
    for (int& k : point) k = to[static_cast<size_t>(k)];
}

size_t PVXFlatFaces::PointSlot(const C3DPoint& p) const { return ProbePoint(m_pointSlots, points, p); }

bool PVXFlatFaces::AddPiece(int nFaces, const CArray<int, int>& counts, const CArray<int, int>& index,
                            const CArray<double, double>& coords, const CArray<UINT, UINT>* pNodeKeys) {
    ShapeView v;
    v.nFaces = nFaces;
    v.counts = counts.GetData();
    v.nCounts = static_cast<size_t>(counts.GetSize());
    v.index = index.GetData();
    v.nIndex = static_cast<size_t>(index.GetSize());
    v.coords = coords.GetData();
    v.nCoords = static_cast<size_t>(coords.GetSize());
    if (pNodeKeys) {
        v.keys = pNodeKeys->GetData();
        v.nKeys = static_cast<size_t>(pNodeKeys->GetSize());
    }
    return AddPiece(v);
}

size_t PVXFlatFaces::CheckedCorners(const ShapeView& s) {
    const bool bKeys = s.keys != nullptr;
    const bool single = s.nFaces == 1 && s.nCounts >= 1;
    if (!single && (s.nFaces < 0 || static_cast<size_t>(s.nFaces) > s.nCounts)) return SIZE_MAX;
    size_t at = 0;
    for (int f = 0; f < s.nFaces; ++f) {
        const int n = s.counts[f];
        if (n < 0 || at + static_cast<size_t>(n) > s.nIndex) return SIZE_MAX;
        for (int v = 0; v < n; ++v, ++at) {
            const int i = s.index[at];
            if (i < 0 || static_cast<size_t>(i) + 2 >= s.nCoords || (bKeys && static_cast<size_t>(i / 3) >= s.nKeys))
                return SIZE_MAX;
        }
    }
    return at;
}

void PVXFlatFaces::Reserve(size_t n, bool bKeys) {
    if (point.capacity() < point.size() + n) point.reserve(std::max(point.size() + n, 2 * point.capacity()));
    if (bKeys) keys.reserve(point.capacity());
    if (m_pointSlots.empty()) m_pointSlots.assign(TableSize(point.capacity() / 4), -1);
}

int PVXFlatFaces::PlacePoint(const C3DPoint& p, const UINT* key) {
    // A corner with a node key takes the point its node had last when that is the same, else a
    // new point, merged by Finish into an equal one of another node; the others are found in an
    // open-addressing table of the points at once. A raft's points are so found near the ones
    // just made, where the table would be read all over.
    if (int* byKey = key ? KeyPoint(*key) : nullptr) {
        if (*byKey < 0 || !SameBits(points[static_cast<size_t>(*byKey)], p)) {
            *byKey = static_cast<int>(points.size());
            points.push_back(p);
            m_bMerge = true;
        }
        return *byKey;
    }
    int& slot = m_pointSlots[PointSlot(p)];
    if (slot >= 0) return slot;
    slot = static_cast<int>(points.size());
    points.push_back(p);
    // Grown to hold every point at most half full: keyed corners make points without it, and
    // all come in (doubling alone could leave no free entry to end a probe).
    if (2 * points.size() > m_pointSlots.size()) {
        m_pointSlots.assign(TableSize(points.size()), -1);
        for (size_t k = 0; k < points.size(); ++k) m_pointSlots[PointSlot(points[k])] = static_cast<int>(k);
    }
    return static_cast<int>(points.size()) - 1;
}

bool PVXFlatFaces::AddPiece(const ShapeView& s) {
    const bool bKeys = s.keys != nullptr;
    // Checked as the list form checks them, before anything is taken.
    const size_t nCorners = CheckedCorners(s);
    if (nCorners == SIZE_MAX || start.empty() || point.size() + nCorners > INT_MAX ||
        (bKeys && keys.size() != point.size())) {
        Clear();
        return false;
    }
    Reserve(nCorners, bKeys);
    // Each corner as its distinct point (equal bit for bit): the corners themselves are never
    // held.
    const int* index = s.index;
    const double* c = s.coords;
    size_t at = 0;
    for (int f = 0; f < s.nFaces; ++f) {
        for (int v = 0; v < s.counts[f]; ++v, ++at) {
            const int i = index[at];
            if (bKeys) keys.push_back(s.keys[i / 3]);
            point.push_back(PlacePoint(C3DPoint(c[i], c[i + 1], c[i + 2]), bKeys ? &keys.back() : nullptr));
        }
        start.push_back(static_cast<int>(point.size()));
    }
    return true;
}

void PVXFlatFaces::Prepare(const ElementShapes& run, bool bKeys, Prepared& out) {
    out = Prepared{};
    out.keyed = bKeys;
    size_t nCorners = 0;
    for (size_t e = 0; e < run.Elements(); ++e) {
        const size_t n = CheckedCorners(run.View(e, bKeys));
        if (n == SIZE_MAX) return;
        nCorners += n;
    }
    out.local.reserve(nCorners);
    if (bKeys) out.keys.reserve(nCorners);
    // The run's points in a table of their own, as the member's table would find them.
    std::vector<int> slots(TableSize(nCorners), -1);
    for (size_t e = 0; e < run.Elements(); ++e) {
        const ShapeView s = run.View(e, bKeys);
        size_t at = 0;
        for (int f = 0; f < s.nFaces; ++f) {
            out.counts.push_back(s.counts[f]);
            for (int v = 0; v < s.counts[f]; ++v, ++at) {
                const int i = s.index[at];
                const C3DPoint p(s.coords[i], s.coords[i + 1], s.coords[i + 2]);
                const UINT key = bKeys ? s.keys[i / 3] : 0;
                if (bKeys) out.keys.push_back(key);
                int& slot = slots[ProbePoint(slots, out.points, p)];
                if (slot < 0) {
                    slot = static_cast<int>(out.points.size());
                    out.points.push_back(p);
                    if (bKeys) out.pointKeys.push_back(key);
                }
                out.local.push_back(slot);
            }
        }
    }
    out.ok = true;
}

bool PVXFlatFaces::AddPrepared(const Prepared& run) {
    if (!run.ok || start.empty() || point.size() + run.local.size() > INT_MAX ||
        (run.keyed && keys.size() != point.size())) {
        Clear();
        return false;
    }
    Reserve(run.local.size(), run.keyed);
    std::vector<int> to(run.points.size());
    for (size_t k = 0; k < run.points.size(); ++k)
        to[k] = PlacePoint(run.points[k], run.keyed ? &run.pointKeys[k] : nullptr);
    for (int k : run.local) point.push_back(to[static_cast<size_t>(k)]);
    if (run.keyed) keys.insert(keys.end(), run.keys.begin(), run.keys.end());
    for (int n : run.counts) start.push_back(start.back() + n);
    return true;
}

int PVXFlatFaces::Finish(I_PVXCtrl* ctrl, bool bCorners) {
    std::vector<int>().swap(m_keyPoints);
    if (m_bMerge && !start.empty()) MergeEqualPoints();
    m_bMerge = false;
    std::vector<int>().swap(m_pointSlots);
    if (start.empty()) return 0;
    const int nFaces = Faces();
    // Sorting makes the corner arrays anew, at their size.
    const bool bSort = ctrl && nFaces > 1;
    if (bSort && !SortBackToFront(*ctrl)) {
        Clear();
        return 0;
    }
    if (!bSort) {
        point.shrink_to_fit();
        keys.shrink_to_fit();
    }
    start.shrink_to_fit();
    // The points numbered in the order the faces, as ordered, first come to them (every point
    // has a corner), gathered into an array of their own in that order.
    {
        std::vector<int> renumber(points.size(), -1), from(points.size());
        int next = 0;
        for (int& k : point) {
            int& r = renumber[static_cast<size_t>(k)];
            if (r < 0) {
                from[static_cast<size_t>(next)] = k;
                r = next++;
            }
            k = r;
        }
        std::vector<C3DPoint> ordered(static_cast<size_t>(next));
        for (size_t k = 0; k < ordered.size(); ++k) ordered[k] = points[static_cast<size_t>(from[k])];
        points.swap(ordered);
    }
    if (bCorners) {
        corners.resize(point.size());
        for (size_t i = 0; i < point.size(); ++i) corners[i] = points[static_cast<size_t>(point[i])];
    }
    return nFaces;
}

bool PVXFlatFaces::SortBackToFront(const I_PVXCtrl& ctrl) {
    const int nFaces = Faces();
    std::vector<int> order;
    // Each face's points summed in list order, as the list form sorts.
    ctrl.ZSortCentroids(
        static_cast<size_t>(nFaces),
        [&](size_t f) {
            std::pair<C3DPoint, size_t> s;
            for (int k = start[f]; k < start[f + 1]; ++k, ++s.second) s.first += points[static_cast<size_t>(point[k])];
            return s;
        },
        order);
    if (order.size() != static_cast<size_t>(nFaces)) return false;
    const bool withKeys = !keys.empty();
    const int n = Count(0);
    bool uniform = true;
    for (int f = 1; f < nFaces && uniform; ++f) uniform = Count(f) == n;
    if (!uniform) {
        std::vector<int> sorted, sortedStart{0};
        std::vector<UINT> sortedKeys;
        sorted.reserve(point.size());
        sortedKeys.reserve(keys.size());
        sortedStart.reserve(start.size());
        for (int f : order) {
            sorted.insert(sorted.end(), point.begin() + start[f], point.begin() + start[f + 1]);
            if (withKeys) sortedKeys.insert(sortedKeys.end(), keys.begin() + start[f], keys.begin() + start[f + 1]);
            sortedStart.push_back(static_cast<int>(sorted.size()));
        }
        point.swap(sorted);
        keys.swap(sortedKeys);
        start.swap(sortedStart);
        return true;
    }
    // Faces of one size (a raft's plates): gathered into arrays of their own in the order, the
    // writes in turn; three and four corners are copied as fixed-size blocks.
    const auto move = [&](auto size) {
        const ptrdiff_t m = size;
        const auto gather = [&](auto& v) {
            std::remove_reference_t<decltype(v)> out(v.size());
            for (int k = 0; k < nFaces; ++k)
                std::copy_n(v.begin() + order[static_cast<size_t>(k)] * m, size, out.begin() + k * m);
            v.swap(out);
        };
        gather(point);
        if (withKeys) gather(keys);
    };
    if (n == 4) move(std::integral_constant<int, 4>());
    else if (n == 3) move(std::integral_constant<int, 3>());
    else move(n);
    return true;
}

void PVXFlatFaces::IndexNodes(const std::vector<UINT>& seed) {
    nodes.clear();
    node.assign(keys.size(), 0);
    UINT maxKey = 0;
    for (UINT key : seed) maxKey = std::max(maxKey, key);
    for (UINT key : keys) maxKey = std::max(maxKey, key);
    if (maxKey <= kKeySpread * (seed.size() + keys.size()) + kKeySlack) {
        // Dense keys: node positions by key.
        std::vector<int> at(static_cast<size_t>(maxKey) + 1, -1);
        auto add = [&](UINT key) {
            int& s = at[key];
            if (s < 0) {
                s = static_cast<int>(nodes.size());
                nodes.push_back(key);
            }
            return s;
        };
        for (UINT key : seed) add(key);
        for (size_t i = 0; i < keys.size(); ++i) node[i] = add(keys[i]);
        return;
    }
    // An open-addressing table of node positions, grown as keys come.
    size_t mask = TableSize(seed.size() + keys.size() / 4) - 1;
    std::vector<int> slots(mask + 1, -1);
    auto place = [&](UINT key) -> int& {
        size_t h = HashMix64(key) & mask;
        while (slots[h] >= 0 && nodes[static_cast<size_t>(slots[h])] != key) h = (h + 1) & mask;
        return slots[h];
    };
    auto add = [&](UINT key) {
        int& s = place(key);
        if (s >= 0) return s;
        s = static_cast<int>(nodes.size());
        nodes.push_back(key);
        if (2 * nodes.size() > mask + 1) {
            mask = 2 * mask + 1;
            slots.assign(mask + 1, -1);
            for (size_t k = 0; k < nodes.size(); ++k) place(nodes[k]) = static_cast<int>(k);
        }
        return static_cast<int>(nodes.size()) - 1;
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
    if (!HasPointIndex()) return nullptr;
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
