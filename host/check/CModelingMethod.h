// Plan geometry of the foundation model: the axes, the areas they enclose, unions and clipping
// of polygons, and the link tools that find the members an axis joins.
//
// The polygon work is done by GEOS (its C API): the axis lines are noded by a unary union and
// polygonized into the areas they enclose; areas are merged by a unary union; a polygon is cut
// at an outline by intersection. Rings are lists of points, not closed (the first point is not
// repeated); a union gives the outer rings of its parts (holes are left out).
//
//     CModelingMethod mm;
//     mm.ResetDB(db);
//     CArray<UINT, UINT> axes;
//     mm.GetAllAxis(axes);
//     std::vector<CModelingMethod::Ring> areas, merged;
//     mm.GetAreaBYWin2(axes, areas);
//     CModelingMethod::UnionSlab(areas, merged);
#pragma once

#include <vector>

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"

class CDataBase;

class CModelingMethod {
public:
    typedef std::vector<T_POINT2D> Ring;

    void ResetDB(CDataBase* db) { m_pDB = db; }
    // The keys of the axis table, in key order; returns the count (0 without a database).
    int GetAllAxis(CArray<UINT, UINT>& axes) const;
    // The line of an axis (an arc as 16 chords); false for a missing axis or point.
    bool GetAxisLine(UINT axis, Ring& line) const;
    // The areas the axes enclose: the faces their lines cut the plane into, each bounded by axis
    // pieces only; returns the count.
    int GetAreaBYWin2(const CArray<UINT, UINT>& axes, std::vector<Ring>& areas) const;
    // The union of the polygons as the outer rings of its parts; returns the count.
    static int UnionSlab(const std::vector<Ring>& polygons, std::vector<Ring>& out);
    // The pieces of polygon inside outline (their outer rings); returns the count.
    static int ClipPolygon(const Ring& outline, const Ring& polygon, std::vector<Ring>& pieces);

private:
    CDataBase* m_pDB = nullptr;
};

// The members a line joins: SetGroupKey names the line, LinkGroup finds the members it links,
// GetLinkGroup gives their keys and outlines (closed areas).
class CLineLinkTool {
public:
    virtual ~CLineLinkTool() = default;
    void ResetDB(CDataBase* db) { m_pDB = db; }
    // The group (its axis key); flag 1: the group is an axis.
    void SetGroupKey(UINT key, int flag);
    virtual int LinkGroup() = 0;
    // The linked members' keys and outlines; returns the count.
    int GetLinkGroup(CArray<UINT, UINT>& keys, std::vector<CModelingMethod::Ring>& areas) const;

protected:
    CDataBase* m_pDB = nullptr;
    UINT m_nGroup = 0;
    int m_nFlag = 0;
    CArray<UINT, UINT> m_Keys;
    std::vector<CModelingMethod::Ring> m_Areas;
};

// An axis links the isolated footings whose centres lie on its line (within 0.01 m, between
// its ends).
class CAxisLinkTool : public CLineLinkTool {
public:
    int LinkGroup() override;
};
