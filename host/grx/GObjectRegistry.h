// The graphics control's registry of drawable objects, keyed by (object type, key).
//
// The model registers each member and node once per geometry (undeformed and deformed, each
// under its own type id) with a shown flag. The registry keeps, per object, its world bounding
// box, asked of a geometry source (in practice the model); the box in view coordinates of the
// current camera, which z-sorting, window culling and picking use, is projected from it when
// asked. World boxes are found in bulk by `UpdateAll`, or on demand for an object whose box is
// still unknown.
//
// A raft registers its hundreds of thousands of nodes twice, so the objects are kept compactly:
// one 16-byte slot each in a flat array; world boxes in one array of numbers, three for a
// node's point box (lo = hi) and six for any other. Model keys are mostly dense, so the slots of
// a type are found by key in an array over its range of keys: keys asked in order read both
// arrays in order, where a hash would scatter every look-up over the whole index. A type whose
// keys grow sparse goes to an open-addressing index on (type, key). Walks over all objects go
// in (type, key) order: the slots are sorted when a walk finds them out of order.
#pragma once

#include <optional>
#include <vector>

#include "host/grx/C3DPoint.h"
#include "host/grx/GQuadTree.h"
#include "host/grx/GViewCamera.h"
#include "platform/afx/afxtypes.h"

// Where object geometry comes from. Both return non-zero when they could answer.
class GGeometrySource {
public:
    virtual ~GGeometrySource() = default;
    // World bounding box of an object.
    virtual int GetObjectBox(int type, UINT key, C3DPoint& lo, C3DPoint& hi) = 0;
    // Points of the object's wire outline (a polyline); empty when it has none.
    virtual int GetObjectOutline(int type, UINT key, std::vector<C3DPoint>& pts) { return 0; }
};

// One object as the registry hands it out: its flags and, when its box is known, its boxes
// under the camera it was asked with.
struct GRE_Object {
    int type = 0;
    UINT key = 0;
    int flag = 0;          // 1: in the shown (active) set
    int selected = 0;
    int hasBox = 0;        // world and view boxes below are valid
    C3DPoint wlo, whi;     // world box
    GRect2D vbox{0, 0, 0, 0};  // view x, y box
    double vzmin = 0.0, vzmax = 0.0;  // view depth range (larger is nearer)
    double depth = 0.0;    // view depth of the world box centre
};

class GObjectRegistry {
public:
    // Adds an object or, when present, updates its flag. Returns 1.
    int Add(int type, UINT key, int flag);
    // Removes an object; 0 when it was not registered.
    int Del(int type, UINT key);
    void Clear();
    // Room for n more objects, for a caller about to add that many.
    void Reserve(size_t n);
    int GetCount() const { return static_cast<int>(m_slots.size()); }

    // The object with its boxes under cam; none when it is not registered.
    std::optional<GRE_Object> Find(int type, UINT key, const GViewCamera& cam) const;
    // The object's flag, -1 when it is not registered.
    int GetFlag(int type, UINT key) const;
    // Sets the selected mark; 0 when the object is not registered.
    int SetSelected(int type, UINT key, int select);
    // The object (registered or not) with its boxes under cam, its world box asked of src when
    // not yet known: kept for a registered object, asked again each time for any other.
    // Non-zero when it has a box; out holds what is known either way.
    int Look(int type, UINT key, GGeometrySource* src, const GViewCamera& cam, GRE_Object& out);

    // Asks the source for every object's world box. Objects the source cannot answer keep no
    // box.
    void UpdateAll(GGeometrySource* src);

    void UnselectAll();
    // Sets the flag of every object to 1; returns how many changed.
    int ActivateAll();
    // Union of the world boxes of objects whose type is in [tmin, tmax]; 0 when none has a box.
    int GetWorldRange(int tmin, int tmax, C3DPoint& lo, C3DPoint& hi) const;
    // Calls fn(type, key, flag) for every object in (type, key) order.
    template <class Fn>
    void ForEach(Fn&& fn) const {
        SortSlots();
        for (const Slot& s : m_slots) fn(s.type, s.key, static_cast<int>(s.flag));
    }
    // Sets each object's flag to fn(type, key) unless that is negative.
    template <class Fn>
    void SetFlags(Fn&& fn) {
        for (Slot& s : m_slots)
            if (const int f = fn(s.type, s.key); f >= 0) s.flag = f ? 1 : 0;
    }

    // Projects a world box with the camera.
    static void ProjectBox(GRE_Object& o, const GViewCamera& cam);

private:
    struct Slot {
        int type;
        UINT key;
        unsigned char flag, selected, hasBox, point;  // point: the box is one point (lo = hi)
        UINT box;  // first number of the world box in m_boxes
    };
    static constexpr int kFree = -1;
    // Slots of one type by key: at[key - base]. Kept while the range stays within kSpread
    // times the type's objects (plus kSpreadSlack), else the type goes to the hashed index.
    struct DenseIndex {
        int type;
        bool hashed = false;  // the type's keys went sparse: they are in the hashed index
        UINT base = 0;
        std::vector<int> at;  // a slot or kFree
        size_t count = 0;
    };
    static constexpr size_t kSpread = 4, kSpreadSlack = 1024, kMaxDenseTypes = 8;

    int FindSlot(int type, UINT key) const;
    // The type's dense index; null when its keys are hashed.
    DenseIndex* DenseOf(int type) const;
    // Enters slot s of (type, key), not yet indexed, in its index.
    void IndexSlot(int type, UINT key, int s);
    // Points the index entry of present (type, key) at slot s.
    void Repoint(int type, UINT key, int s) const;
    // Widens d to hold key when its range stays dense; false when it would not.
    static bool WidenDense(DenseIndex& d, UINT key);
    // Moves a dense type to the hashed index.
    void HashType(DenseIndex& d);
    // The index entry that holds (type, key), or the free one where it would go.
    size_t Probe(int type, UINT key) const;
    void GrowIndex(size_t n);  // room in the hashed index for n objects
    void RehashAll(size_t cap) const;  // the hashed index made anew with cap entries
    void RebuildIndex() const;         // every index made anew from the slots
    void SortSlots() const;
    void StoreBox(Slot& s, const C3DPoint& lo, const C3DPoint& hi);
    void DropBox(Slot& s);
    void Fill(const Slot& s, GRE_Object& o) const;
    int AskBox(int type, UINT key, GGeometrySource* src, C3DPoint& lo, C3DPoint& hi) const;

    mutable std::vector<Slot> m_slots;
    mutable std::vector<int> m_index;   // hashed types: open addressing, linear probing: a slot or kFree
    size_t m_hashed = 0;                // objects in m_index
    mutable std::vector<DenseIndex> m_dense;
    mutable bool m_sorted = true;       // m_slots in (type, key) order
    std::vector<double> m_boxes;        // world boxes: x, y, z of lo (and of hi unless a point)
    size_t m_deadBoxes = 0;             // numbers of m_boxes no slot uses any more
};
