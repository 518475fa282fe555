// CPVXGeomCtrl: element and member geometry of the current post database for one result model.
//
// One per model (I_PVXModel::GetGeomCtrl), made by the model's constructor with the model. It
// binds its node, element, member and super-element map tables to the document's current post
// database (at construction and again by ConnectToPostDB on every mode change), computes local
// axes through the host geometry controller, tells whether a face turns toward the viewer, and
// builds the faces of elements and members for the model's shape builders.
//
// The shape builders hand the request to the host's CGeomCtrl::MakeShapeElement /
// MakeShapePMember (see host/db/CGeomCtrl.h for the flat output arrays: per-face vertex counts,
// two index lists, x-y-z coordinates, node keys per vertex) and add the module's own steps: the
// member's vertical offset, one key per face in pFaceKeys (the element, member or model element
// the face belongs to), and super elements, shaped one model element at a time or as a wire
// frame. They return 1 even when the host gives no face; callers test nFaces.
#pragma once

#include <functional>

#include "host/db/DBTables.h"
#include "host/db/ShapeArrays.h"
#include "platform/afx/CArray.h"

class CDBDoc;
class CMDBCtrl;
class I_PVXModel;

class CPVXGeomCtrl {
public:
    // Keeps the model (when not null) and binds the tables at once.
    explicit CPVXGeomCtrl(I_PVXModel* pModel = nullptr);
    virtual ~CPVXGeomCtrl();
    CPVXGeomCtrl(const CPVXGeomCtrl&) = delete;
    CPVXGeomCtrl& operator=(const CPVXGeomCtrl&) = delete;

    // Binds the tables to CDBDoc::m_pDBDoc's post database; non-zero when there is one.
    int ConnectToPostDB();

    // Local axes (rows x, y, z of unit vectors) of a plane element by key, of a plane through
    // n corner points (3 or 4), and of a frame member from its end points and rotation angle
    // beta (degrees). 0 when they cannot be formed.
    int CalcPlaneLocalVector(UINT elemKey, double axes[3][3]);
    int CalcPlaneLocalVectorByType(int n, const double pts[][3], double axes[3][3]);
    int CalcFrameLocalVector(const double pi[3], const double pj[3], double beta, double axes[3][3]);

    // TRUE when the face (view coordinates) turns toward the viewer; always TRUE while the
    // model's graphics control renders retained geometry with OpenGL, which culls by itself.
    BOOL IsVisibleFace(int n, const double pts[][3]);

    // Shape builders. Arguments, in the host's order: key; culling option, wire-plane option,
    // deformed option; out face count; out per-face vertex counts, index list, second index
    // list, vertex coordinates; shrink switch and factor; end displacements of the member's two
    // end nodes (null unless shrinking on the deformed shape); out node key per vertex;
    // wire-frame switch; node displacements; then the module's own: the element or member
    // record, out face keys, a switch that skips the super-element test (bSkipSuper), and a
    // switch that takes a super element's wire-frame node list from the host (bHostNodeList).
    int MakeShapeElementKeyed(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                              CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                              CArray<double, double>* pCoords, int bShrink, double dShrink,
                              CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                              CArray<T_DISP_D>* pNodeDisp, CArray<UINT, UINT>* pFaceKeys);
    int MakeElemShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces, CArray<int, int>* pCounts,
                      CArray<int, int>* pIndex, CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                      int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys,
                      int bWireFrame, CArray<T_DISP_D>* pNodeDisp, T_PELEM_D& elem,
                      CArray<UINT, UINT>* pFaceKeys, int bSkipSuper = 0, int bHostNodeList = 0);
    int MakeSuperElemShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                           CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                           CArray<double, double>* pCoords, int bShrink, double dShrink,
                           CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                           CArray<T_DISP_D>* pNodeDisp, T_PELEM_D& elem, CArray<UINT, UINT>* pFaceKeys,
                           int bSkipSuper = 0, int bHostNodeList = 0);
    int MakeMembShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces, CArray<int, int>* pCounts,
                      CArray<int, int>* pIndex, CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                      int bShrink, double dShrink, CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys,
                      int bWireFrame, CArray<T_DISP_D>* pNodeDisp, T_PMEMB_D& memb,
                      CArray<UINT, UINT>* pFaceKeys, int bSkipSuper = 0, int bHostNodeList = 0);
    // The faces MakeMembShape gives a plain (not super) member, a run of elements at a time: the
    // host arrays of each of the member's elements (as MakeShapeElement gives them, with the
    // element's share of pNodeDisp) held one after another for a run of them. Joined, they are
    // the arrays MakeMembShape hands out, without ever being held joined. A member of many
    // elements has its runs made on helper threads as well. The runs go to:
    //   begin(n), first, on the calling thread, with the number of runs (may be empty);
    //   prepare(r, run) on the thread that made the run, several runs at once: it may read only
    //   the run and write only what begin set aside for it (may be empty);
    //   take(r, run) on the calling thread in member order, after the run's prepare; false stops.
    // 0 when take stopped.
    struct ShapeRuns {
        std::function<void(size_t nRuns)> begin;
        std::function<void(size_t run, const ElementShapes& shapes)> prepare;
        std::function<bool(size_t run, const ElementShapes& shapes)> take;
    };
    int ForEachMembElemShape(UINT key, int cullOpt, int wirePlane, int deformed, int bShrink, double dShrink,
                             CArray<T_DISP_D>* pEndDisp, int bWireFrame, CArray<T_DISP_D>* pNodeDisp,
                             const ShapeRuns& runs);
    // Widens [lo, hi] by the corners of the faces ForEachMembElemShape gives the undisplaced
    // member, without making them.
    void WidenMembElemBox(UINT key, int bShrink, double dShrink, int bWireFrame, double lo[3], double hi[3]);
    int MakeSuperMembShape(UINT key, int cullOpt, int wirePlane, int deformed, int& nFaces,
                           CArray<int, int>* pCounts, CArray<int, int>* pIndex, CArray<int, int>* pIndex2,
                           CArray<double, double>* pCoords, int bShrink, double dShrink,
                           CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                           CArray<T_DISP_D>* pNodeDisp, T_PMEMB_D& memb, CArray<UINT, UINT>* pFaceKeys,
                           int bSkipSuper = 0, int bHostNodeList = 0);

    I_PVXModel* m_pModel;   // owning model, not owned; may be null
    CDBDoc* m_pDBDoc;       // document of the bound tables, not owned
    CMDBCtrl* m_pMDBCtrl;   // its model database control, not owned
    CClassPNode m_PNode;
    CClassPElem m_PElem;
    CClassPMemb m_PMemb;
    CClassPSemap m_PSemap;

private:
    CDataBase* PostDB() const;
    // Sets pFaceKeys to nFaces copies of key (nothing when pFaceKeys is null).
    static void FillFaceKeys(CArray<UINT, UINT>* pFaceKeys, int nFaces, UINT key);
    // Faces of one super element (already chosen on the host), appended to the outputs.
    int AppendSuperFaces(UINT elemKey, int cullOpt, int bDeformed, int& nFaces, CArray<int, int>* pCounts,
                         CArray<int, int>* pIndex, CArray<int, int>* pIndex2, CArray<double, double>* pCoords,
                         CArray<T_DISP_D>* pEndDisp, CArray<UINT, UINT>* pNodeKeys, int bWireFrame,
                         CArray<T_DISP_D>* pNodeDisp, CArray<UINT, UINT>* pFaceKeys, int bHostNodeList);
};
