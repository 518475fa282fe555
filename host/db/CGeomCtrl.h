// Face geometry of elements and members for drawing, and local axes.
//
// The shape builders turn one element (or every element of a member) into faces described by
// flat arrays, which the caller turns into one `CList<C3DPoint>` per face:
//   counts   per face, its vertex count
//   index    per face vertex, the offset of its x in coords (3 x vertex number)
//   index2   per face vertex, the element-local corner number (node position or section corner)
//   coords   x, y, z of every vertex (m)
//   nodeKeys per vertex, the node key it belongs to (so nodeKeys[index / 3])
// The outputs are cleared first; a null output is skipped. Shapes:
//   plane elements (plates, walls, slabs): one face through the nodes in element order;
//   line elements with a rectangular or circular section (wire frame off): a prism, the section
//     placed in the member's local y-z plane at each end (four or eight sides and two caps);
//   other line elements: one face running through the nodes (a polyline);
//   eight-node solids: six quadrilaterals.
// With shrink on and a factor in [0.01, 1) every vertex moves toward the element centre
// (f x p + (1 - f) x c); the centre follows the mean of the end displacements when two are
// given. Node displacements (one per element node) are added to the nodes first. The three
// leading int options are taken for the caller's culling, wire-plane and deformed choices and
// do not change the faces; culling is the caller's, through `IsVisibleFace`.
#pragma once

#include "host/db/CDataBase.h"
#include "host/db/ShapeArrays.h"

class CGeomCtrl {
public:
    virtual ~CGeomCtrl() = default;

    int MakeShapeElement(CDataBase* pDB, UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                         CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                         CArray<double, double>* pCoords, int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp,
                         CArray<UINT, UINT>* pNodeKeys, int bWireFrame, CArray<T_DISP_D>* pNodeDisp, int last);
    // Appends the faces MakeShapeElement makes of element key to out (none when it has no
    // shape). Safe on several threads at once, each with its own out.
    static void AppendElementShape(CDataBase* pDB, UINT key, int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp,
                                   int bWireFrame, CArray<T_DISP_D>* pNodeDisp, ElementShapes& out);
    // Widens [lo, hi] by the face corners, in face order, that MakeShapeElement gives of the
    // undisplaced element, without making its arrays; 0 when the element has no shape.
    int WidenElementBox(CDataBase* pDB, UINT key, int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp,
                        int bWireFrame, double lo[3], double hi[3]);
    // Every element of the member in member order, as one shape. pNodeDisp, when given, holds
    // the displacements of each element's nodes, element after element in member order (the
    // elements' node lists one after the other); an element whose records are not all there is
    // built undisplaced.
    int MakeShapePMember(CDataBase* pDB, UINT membKey, int cullOpt, int wirePlane, int deformed, int& nFaces,
                         CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                         CArray<double, double>* pCoords, int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp,
                         CArray<UINT, UINT>* pNodeKeys, int bWireFrame, CArray<T_DISP_D>* pNodeDisp, int last);
    // The records of the next element's n nodes from a member's node records (element after
    // element, from at, which moves past them): scratch holding them, or null when the member's
    // records end sooner or none were given.
    static CArray<T_DISP_D>* ElementNodeDisp(const CArray<T_DISP_D>* pNodeDisp, INT_PTR& at, int n,
                                             CArray<T_DISP_D>& scratch);
    // Moves every vertex up by the member's vertical offset.
    int makeAddZOffset(CDataBase* pDB, const T_PMEMB_D& memb, CArray<double, double>* pCoords);

    // Super elements: choose the one to shape (by element key, or by member key: its first
    // element), then shape its model elements one at a time or as a wire frame.
    int SetSuperElementShapeDirect(CDataBase* pDB, UINT elemKey, int opt, int iopt, double dopt);
    int SetSuperPMemberShape(CDataBase* pDB, UINT membKey, int opt, int iopt, double dopt);
    int GetSuperElementShape(UINT modelElemKey, int& nFaces, CArray<int, int>* pCounts, CArray<int, int>* pIndex,
                             CArray<int, int>* pIndex2, CArray<double, double>* pCoords, CArray<T_DISP_D>* pNodeDisp,
                             CArray<UINT, UINT>* pNodeKeys, int opt);
    // Model nodes of the current super element (its boundary and inner node maps), ascending.
    int GetSuperElementWireFramePNodeList(CArray<UINT, UINT>& nodes);
    // The edges of every model element of the current super element, one two-vertex face
    // each; pDisp, when given with pNodeList, displaces the node at the same position.
    int GetSuperElementWireFrameShape(int& nFaces, CArray<int, int>* pCounts, CArray<int, int>* pIndex,
                                      CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                                      const CArray<UINT, UINT>* pNodeList, const CArray<T_DISP_D>* pDisp,
                                      CArray<UINT, UINT>* pNodeKeys, int opt);

    // Back-face test in view coordinates: TRUE when the face turns toward the viewer (its
    // vertices run counter-clockwise seen from +z); faces of fewer than 3 vertices are visible.
    BOOL IsVisibleFace(int n, const double pts[][3]) const;
    int CalcPlaneLocalVector(CDataBase* pDB, UINT elemKey, double axes[3][3]) const;
    // Plane axes from n corner points (3 or 4), without the database.
    int CalcPlaneLocalVector(int n, const double pts[][3], double axes[3][3]) const;
    int CalcFrameLocalVector(const double pi[3], const double pj[3], double beta, double axes[3][3], int) const;
    // Moves n points toward their centroid: f x p + (1 - f) x c, f clamped to [0.01, 1].
    int MakeShrink(double factor, int n, double pts[][3], int noCurve) const;
    // Outline of the section of the line element ending at a node, in the plane normal to the
    // element at that node: count corners, edge kinds (2 = draw), vertex offsets, coordinates.
    // 0 when no line element with a rectangular or circular section ends there.
    int makeSectShape(UINT lastNodeKey, CDataBase* pDB, int& count, CArray<int, int>& edgeKinds,
                      CArray<int, int>& vertexIdx, CArray<double, double>& coords, const T_DISP_D* pDisp, double);

private:
    CDataBase* m_pSEDB = nullptr;  // database of the current super element
    UINT m_nSEElem = 0;            // element key of the current super element
};
