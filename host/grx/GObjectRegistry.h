// The graphics control's registry of drawable objects, keyed by (object type, key).
//
// The model registers each member and node once per geometry (undeformed and deformed, each
// under its own type id) with a shown flag. The registry keeps, per object, its world bounding
// box (asked of a geometry source, in practice the model) and the box in view coordinates of
// the current camera, which z-sorting, window culling and picking use. Boxes are computed in
// bulk by `UpdateAll`, or on demand for an object whose box is still unknown.
#pragma once

#include <map>
#include <utility>
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
    void Clear() { m_map.clear(); }
    int GetCount() const { return static_cast<int>(m_map.size()); }

    GRE_Object* Find(int type, UINT key);
    const GRE_Object* Find(int type, UINT key) const;

    // Asks the source for every object's world box and projects it with the camera. Objects
    // the source cannot answer keep no box.
    void UpdateAll(GGeometrySource* src, const GViewCamera& cam);
    // Reprojects the known world boxes after the view direction changed.
    void UpdateView(const GViewCamera& cam);
    // Makes sure one object has a box, asking the source when needed. Non-zero when it has one.
    int EnsureBox(GRE_Object& o, GGeometrySource* src, const GViewCamera& cam);

    void UnselectAll();
    // Sets the flag of every object to 1; returns how many changed.
    int ActivateAll();
    // Union of the world boxes of objects whose type is in [tmin, tmax]; 0 when none has a box.
    int GetWorldRange(int tmin, int tmax, C3DPoint& lo, C3DPoint& hi) const;

    // Projects a world box with the camera.
    static void ProjectBox(GRE_Object& o, const GViewCamera& cam);

    typedef std::map<std::pair<int, UINT>, GRE_Object> Map;
    const Map& GetMap() const { return m_map; }
    Map& GetMap() { return m_map; }

private:
    Map m_map;
};
