// CPVXMembCtrl: members as chains of elements: the member of an element, its end nodes and
// points, and shrinking its points toward its centre for drawing.
//
// A short-lived helper: engines and shape builders make one on the stack whenever they need
// it. The constructor binds its node, element and member tables to the current post database
// of CDBDoc::m_pDBDoc (without a document the tables read nothing and every read gives 0):
//     CPVXMembCtrl mc;
//     C3DPoint pi, pj;
//     if (mc.GetMembEndPointsByKey(key, pi, pj)) ...
// Keys are host keys (0 = none); coordinates in metres.
#pragma once

#include "host/db/DBTables.h"
#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"

class CMDBCtrl;

class CPVXMembCtrl {
public:
    CPVXMembCtrl();
    virtual ~CPVXMembCtrl();
    CPVXMembCtrl(const CPVXMembCtrl&) = delete;
    CPVXMembCtrl& operator=(const CPVXMembCtrl&) = delete;

    // The member that holds an element, read into memb (initialised first); non-zero when the
    // element and its member exist. The int is not used.
    int GetMembByElem(UINT elemKey, T_PMEMB_D& memb, int = 0);
    // Key of the member that holds an element; 0 when none.
    UINT GetMembKeyByElem(UINT elemKey);
    // First and last node key of a member (the first twice for a one-node member); the member
    // is read into pMemb when given. 0 when the member is absent or has no node.
    int GetMembEndNodeKeys(UINT membKey, UINT& first, UINT& last, T_PMEMB_D* pMemb = nullptr);
    // Coordinates of the first and last node, and of the member's two further station nodes
    // (the origin where such a key is 0 or unknown). 0 when the member has fewer than two
    // nodes or an end node cannot be read.
    int GetMembEndPoints(T_PMEMB_D& memb, C3DPoint& pi, C3DPoint& pj, C3DPoint& p3, C3DPoint& p4);
    int GetMembEndPointsByKey(UINT membKey, C3DPoint& pi, C3DPoint& pj);
    // Moves the n points toward the member's centre: p = f p + (1 - f) c. The factor acts in
    // [0.01, 1): smaller factors count as 0.01, 1 or more leaves the points as they are. With
    // exactly two end displacements the ends are displaced before the centre is taken (its
    // height spans the ends and the element's own nodes). 1 when the points were moved.
    int ShrinkMembPoints(T_PMEMB_D& memb, T_PELEM_D& elem, double factor, int n, double pts[][3],
                         CArray<T_DISP_D>* pEndDisp);

    CMDBCtrl* m_pMDBCtrl;  // model database control of the document, not owned; may be null
    CClassPNode m_PNode;
    CClassPElem m_PElem;
    CClassPMemb m_PMemb;

private:
    int ReadPoint(UINT nodeKey, C3DPoint& pt);
};
