// PVXFlatFaces: the faces of one member or element as flat arrays (one point array with face
// offsets; node keys and edge flags per corner, face keys per face), and PVXKeptFaces, which keeps
// a member's faces from frame to frame.
//
// A raft member holds a hundred thousand plates. Handed out as one CList per face they are
// built and freed on every frame; as flat arrays they are built once and kept while what they
// were built from stays (PVXFacesKey: tables and their versions, shape options, the view turn
// that orders them back to front; a deformed shape adds the displacements it was moved by).
// The faces come out in the order and with the coordinates that I_PVXModel::GetShapeMember
// gives, so drawing from them draws the same picture.
#pragma once

#include <unordered_map>
#include <vector>

#include "host/db/ShapeArrays.h"
#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CDC;
class I_PVXCtrl;

struct PVXFlatFaces {
    std::vector<C3DPoint> corners;  // face after face; empty once Compact has dropped them
    std::vector<int> start;         // face f: corners start[f] .. start[f + 1] - 1
    std::vector<UINT> keys;         // node key per corner; empty when none were asked for (or dropped)
    std::vector<int> flags;         // edge flag per corner (the host's second index); may be empty
    std::vector<UINT> faceKeys;     // per face: the element (or model element) it belongs to; may be empty
    std::vector<int> point;         // per corner: its point in points
    std::vector<C3DPoint> points;   // the distinct corner points (equal bit for bit)
    std::vector<UINT> nodes;        // distinct node keys (IndexNodes)
    std::vector<int> node;          // per corner: its key in nodes
    // Per face: the back-face test's answer once asked (-1 not yet). It depends on the points
    // and the view's turn only, both part of what the faces are kept under.
    mutable std::vector<signed char> visible;

    int Faces() const { return start.empty() ? 0 : static_cast<int>(start.size()) - 1; }
    int Count(int f) const { return start[f + 1] - start[f]; }
    // Every corner has its distinct point (point[c]), as Take and Finish leave the faces.
    bool HasPointIndex() const { return !start.empty() && point.size() == static_cast<size_t>(start.back()); }
    // Face f's corners, while they are kept.
    const C3DPoint* Corners(int f) const { return corners.data() + start[f]; }
    // Face f's corners in place while they are kept, else copied from the points into buf
    // (room for Count(f)).
    const C3DPoint* Corners(int f, C3DPoint* buf) const {
        if (!corners.empty() || !HasPointIndex()) return Corners(f);
        for (int i = 0, at = start[f]; i < Count(f); ++i) buf[i] = points[static_cast<size_t>(point[at + i])];
        return buf;
    }
    // Drops the corners (when the points and point index stand for them) and the node key per
    // corner (when the node index does): a kept raft holds each of its points once.
    void Compact();
    void Clear();
    // test(points, n) for face f, asked once.
    template <class Test>
    bool IsVisible(int f, Test&& test) const {
        if (visible.size() != start.size()) visible.assign(start.size(), -1);
        signed char& v = visible[static_cast<size_t>(f)];
        if (v < 0) {
            C3DPoint small[8];
            std::vector<C3DPoint> large(Count(f) > 8 ? static_cast<size_t>(Count(f)) : 0);
            v = test(Corners(f, large.empty() ? small : large.data()), Count(f)) ? 1 : 0;
        }
        return v != 0;
    }

    // Takes a shape builder's host arrays (face counts, coordinate offsets per corner, the
    // coordinates, one node key per coordinate triple when pNodeKeys is given) as the list form
    // hands them out: faces back to front by ctrl when there are several, nothing at all when the
    // arrays disagree. Returns the number of faces taken.
    int Take(int nFaces, const CArray<int, int>& counts, const CArray<int, int>& index,
             const CArray<double, double>& coords, const CArray<UINT, UINT>* pNodeKeys, I_PVXCtrl* ctrl);
    // The same, emptying the host arrays (their room freed) as soon as the corners are copied
    // out of them: a raft's faces are never held twice.
    int TakeAndFree(int nFaces, CArray<int, int>& counts, CArray<int, int>& index, CArray<double, double>& coords,
                    CArray<UINT, UINT>* pNodeKeys, I_PVXCtrl* ctrl);
    // The same with the host arrays handed in piece by piece (a member element after element),
    // so that the joined arrays are never made: Begin (with room for about nCorners), AddPiece
    // per piece (false, and nothing kept, when its arrays disagree), then Finish, which returns
    // what Take would of the joined arrays; without bCorners the corners are left out (the
    // points and point index stand for them). Corners come in as their distinct points, so a
    // raft's corners are never held as such.
    void Begin(size_t nCorners);
    bool AddPiece(int nFaces, const CArray<int, int>& counts, const CArray<int, int>& index,
                  const CArray<double, double>& coords, const CArray<UINT, UINT>* pNodeKeys);
    bool AddPiece(const ShapeView& piece);
    // A run of elements' pieces made ready on any thread (Prepare reads only its arguments), for
    // AddPrepared to take on the calling thread, in order, as AddPiece would take them one by one:
    // checked, with their corners' distinct points found among the run's own. The look-ups left
    // to AddPrepared are one per distinct point instead of one per corner.
    struct Prepared {
        bool ok = false, keyed = false;
        std::vector<int> counts;         // corners of each face
        std::vector<int> local;          // each corner's point in points
        std::vector<C3DPoint> points;    // the run's distinct points, bit for bit
        std::vector<UINT> pointKeys;     // keyed: the node key of each point's first corner
        std::vector<UINT> keys;          // keyed: each corner's node key
    };
    static void Prepare(const ElementShapes& run, bool bKeys, Prepared& out);
    bool AddPrepared(const Prepared& run);
    int Finish(I_PVXCtrl* ctrl, bool bCorners = true);
    // nodes: the seed keys (duplicates dropped) followed by every other corner key; node[] indexes
    // them.
    void IndexNodes(const std::vector<UINT>& seed);
    // Pixels of the distinct points on the memory image.
    void Project(const I_PVXCtrl& ctrl, std::vector<CPoint>& px) const;
    // Every edge of face f from the projected points, with the DC's pen: what DrawLine3D draws
    // edge by edge when the DC draws at once, in one CDC::LineSegments call.
    void DrawEdges(CDC* pDC, int f, const std::vector<CPoint>& px) const;
    // The same segment pairs appended to out, for faces drawn together in one call.
    void AppendEdges(int f, const std::vector<CPoint>& px, std::vector<POINT>& out) const;

    // Every face's edges as lines between points, each line once: an edge that faces have both
    // ways (neighbouring faces of a surface share their edge so) is one line drawn both ways.
    // A line comes with the last face that has it, so the lines of faces [0, f) are within the
    // edges of those faces. Only the union of the pixels is kept: for lines of one pen in copy
    // mode. Made on the first ask from start and point as Take leaves them, kept until Clear;
    // null when the faces have no point index.
    struct Line {
        int from, to;  // points
    };
    struct Lines {
        // Lines drawn one way and lines drawn both ways, face by face: face f's are
        // oneWay[oneWayFirst[f], oneWayFirst[f + 1]) and bothWays[bothFirst[f], bothFirst[f + 1]).
        std::vector<Line> oneWay, bothWays;
        std::vector<int> oneWayFirst, bothFirst;
    };
    const Lines* EdgeLines() const;

private:
    // Finish's step: the faces ordered back to front by ctrl (false when ctrl gives no order of
    // them all).
    bool SortBackToFront(const I_PVXCtrl& ctrl);
    // The entry of m_pointSlots that holds p's point, or the free one where it would go.
    size_t PointSlot(const C3DPoint& p) const;

    // The corners piece's faces have, or SIZE_MAX when its arrays disagree.
    static size_t CheckedCorners(const ShapeView& piece);
    // Room for n more corners (and their keys) and the point table.
    void Reserve(size_t n, bool bKeys);
    // The point a corner at p takes (its node key, when keyed, at key), made when new.
    int PlacePoint(const C3DPoint& p, const UINT* key);
    // The entry of m_keyPoints for a node key, grown to hold it; null for a key too large to be
    // indexed directly.
    int* KeyPoint(UINT key);
    // Finish's step: points equal bit for bit made one (the first of them), corners following.
    void MergeEqualPoints();

    std::vector<int> m_pointSlots;  // while pieces come: open-addressing table of points, -1 free
    std::vector<int> m_keyPoints;   // while pieces come: per node key, its last corner's point, -1 none
    bool m_bMerge = false;          // points were made by node key: Finish merges equal ones

    mutable Lines m_edgeLines;
    mutable bool m_edgeLinesMade = false;
};

// Faces read in place: pointers into a PVXFlatFaces with the indexing of its arrays (face f's
// corners, flags and keys at start[f] .. start[f + 1] - 1 of corners, flags and keys; its face
// key faceKeys[f]). Valid until the arrays it points into next change.
struct PVXFacesRef {
    const C3DPoint* corners = nullptr;
    const int* start = nullptr;
    const UINT* keys = nullptr;
    const int* flags = nullptr;
    const UINT* faceKeys = nullptr;
    int nFaces = 0;

    // Faces [first, first + n) of from.
    static PVXFacesRef Of(const PVXFlatFaces& from, int first, int n);
    int Faces() const { return nFaces; }
    int Count(int f) const { return start[f + 1] - start[f]; }
};

// What a kept member shape was built from. Equal keys: the shape builder would hand out the
// same faces again.
struct PVXFacesKey {
    const void* pDB[4] = {nullptr, nullptr, nullptr, nullptr};  // geometry control, shapes, elements, members
    unsigned long long nVersion[3] = {0, 0, 0};
    int bDispOpt = 0, bShrink = 0, bWireFrame = 0, bLineCulling = 0, bPlaneCulling = 0, nWirePlane = 0;
    int bDeformed = 0, bKeys = 0;
    double dShrinkFactor = 0.0;
    double turn[9] = {};  // the camera's right, up and eye vectors
    bool operator==(const PVXFacesKey&) const = default;
};

class PVXKeptFaces {
public:
    struct Entry {
        PVXFacesKey key;
        std::vector<double> stamp;  // the caller's further inputs (compared bit for bit)
        PVXFlatFaces faces;
    };
    // The member's kept entry when it was built under key (and stamp, when given); else null.
    const PVXFlatFaces* Find(UINT nMemb, const PVXFacesKey& key, const std::vector<double>* pStamp = nullptr) const;
    // The member's entry whatever it was built under, or null.
    const Entry* Peek(UINT nMemb) const {
        auto it = m_entries.find(nMemb);
        return it == m_entries.end() ? nullptr : &it->second;
    }
    // An empty entry for the member under key, to be filled.
    Entry& Renew(UINT nMemb, const PVXFacesKey& key);
    void Forget() { m_entries.clear(); }
    size_t Size() const { return m_entries.size(); }

private:
    std::unordered_map<UINT, Entry> m_entries;
};
