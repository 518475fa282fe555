// CPVXAttrCtrl: attributes of the nodes, elements and members of the current post database.
//
// One per result model (I_PVXModel::GetAttrCtrl). It holds the host's node, element and member
// tables, bound to the document's current post database by ConnectToPostDB (the view calls it
// when it is created, the model on every mode change), and reads records by key:
//     T_PMEMB_D memb;
//     if (pModel->GetAttrCtrl()->GetMemb(key, memb)) ...   // 0: no such key, skip it
// The static predicates answer element-type questions by the host's type codes (101 column;
// 200, 201, 205, 206 line members, 403 pile elements; 204 plane element with beam forces; 209 to 212 walls;
// 301, 302, 305 plates and slabs; 25 drawn without the wire-plane option). Keys are host keys,
// 0 = none; coordinates in metres; local axes are rows x, y, z of unit vectors.
#pragma once

#include "host/db/DBTables.h"
#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/afxtypes.h"

class CDBDoc;
class CMDBCtrl;
struct T_PVX_CUTL_D;

class CPVXAttrCtrl {
public:
    CPVXAttrCtrl();
    virtual ~CPVXAttrCtrl();
    CPVXAttrCtrl(const CPVXAttrCtrl&) = delete;
    CPVXAttrCtrl& operator=(const CPVXAttrCtrl&) = delete;

    // Binds the tables to the current post database of CDBDoc::m_pDBDoc; 0 when there is no
    // document or no post database (the tables then read nothing).
    int ConnectToPostDB();
    // The current post database is a floor database.
    int IsCurrentDBPostFloor();

    // Reads by key: non-zero only when the key exists and the record was filled.
    int GetNode(UINT key, T_PNODE_D& rec) const;
    int GetElem(UINT key, T_PELEM_D& rec) const;
    int GetMemb(UINT key, T_PMEMB_D& rec) const;
    int ExistElem(UINT key) const;
    int GetElemCount() const;
    int GetNodeCount() const;
    int GetMembCount() const;
    int GetNodeKeyList(CArray<UINT, UINT>& keys) const;
    int GetMembKeyList(CArray<UINT, UINT>& keys) const;
    int GetElemKeyList(CArray<UINT, UINT>& keys) const;
    // Number of nodes of an element; 0 for a key that does not exist.
    int GetElemNodeCount(UINT key) const;

    // Length of a line element or area of a plane element.
    double CalcLAVElem(UINT key);
    // Length of a line member (first to last node) or area of a plane member (first four
    // nodes); 0.0 for other types and for a key that does not exist.
    double CalcLAVMemb(UINT key);
    double CalcLAVMembRecord(T_PMEMB_D& memb);

    // Local axes of a member from the given end points and the rotation angle of its first
    // element; 0 when the member or that element does not exist or the ends coincide.
    int CalcMembFrameLocalVector(UINT membKey, const double pi[3], const double pj[3], double axes[3][3]);
    int CalcMembFrameLocalVector(UINT membKey, const C3DPoint& pi, const C3DPoint& pj, double axes[3][3]);
    // The same between the member's own first and last node.
    int CalcMembFrameLocalVector(UINT membKey, double axes[3][3]);
    // Local axes of a plane element, and the axes of the slab object it belongs to.
    int CalcPlaneLocalVector(UINT elemKey, double axes[3][3]);
    int CalcSlabObjectLocalVector(UINT elemKey, double axes[3][3]);

    // Fills rec with the name and points of the cutting line of the host's cutting-line table
    // under key; FALSE (rec unchanged) when there is no such line or it is a slab strip.
    BOOL IsCutLineAvailable(UINT key, T_PVX_CUTL_D& rec);

    // Element-type predicates.
    static BOOL IsColumnElemType(int type);    // 101
    static BOOL IsBeamElemType(int type);      // 201, 205
    static BOOL IsElemType204(int type);       // 204
    static BOOL IsTrussElemType(int type);     // 206
    static BOOL IsWallElemType(int type);      // 209 to 212
    static BOOL IsLineElemType(int type);      // 200, 403, 201, 205, 206, 101
    static BOOL IsPlaneElemType(int type);     // 301, 302, 305, 204, 209 to 212
    static BOOL IsSlabMembType(int type);      // 301, 302, 305: the members of the slab displays
    static BOOL IsWirePlaneElemType(int type); // 25
    static BOOL IsPlate(int type);             // the host's plate codes
    // Not a super element whose results are stored per model element.
    static BOOL IsNormalElemResult(T_PELEM_D& rec);
    // Load-selection type codes for which wall and slab forces exist: every code but 10, 11, 12.
    static BOOL IsSlabForceLoadType(int code);
    // Shape mode of the deformed-shape builders; always 0.
    static int GetShapeMode();

    // Some element of the member has node results (is not a per-node super element).
    BOOL IsMembNodeResultAvailable(T_PMEMB_D& memb);
    // Some element of the member has ordinary element results.
    BOOL IsMembElemResultAvailable(T_PMEMB_D& memb);

    CDBDoc* m_pDBDoc;        // document of the bound tables, not owned
    CMDBCtrl* m_pMDBCtrl;    // its model database control, not owned
    CClassPNode m_PNode;
    CClassPElem m_PElem;
    CClassPMemb m_PMemb;
    CClassCtln m_Ctln;       // cutting lines and slab strips

private:
    static int m_nShapeMode;  // never changed
};
