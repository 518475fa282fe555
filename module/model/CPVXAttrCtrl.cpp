#include "module/model/CPVXAttrCtrl.h"

#include "module/engines/CutLineRecords.h"

#include "host/base/CMathFunc.h"
#include "host/db/CDBDoc.h"
#include "host/db/CMembUtil.h"

int CPVXAttrCtrl::m_nShapeMode = 0;

CPVXAttrCtrl::CPVXAttrCtrl() : m_pDBDoc(nullptr), m_pMDBCtrl(nullptr) {}

CPVXAttrCtrl::~CPVXAttrCtrl() = default;

int CPVXAttrCtrl::ConnectToPostDB() {
    m_pDBDoc = CDBDoc::m_pDBDoc;
    m_pMDBCtrl = m_pDBDoc ? m_pDBDoc->GetMDBCtrl() : nullptr;
    CDataBase* pPost = m_pMDBCtrl ? m_pMDBCtrl->GetDBPost() : nullptr;
    m_PNode.ConnectToDB(pPost);
    m_PElem.ConnectToDB(pPost);
    m_PMemb.ConnectToDB(pPost);
    m_Ctln.ConnectToDB(pPost);
    return pPost != nullptr;
}

int CPVXAttrCtrl::IsCurrentDBPostFloor() { return m_pMDBCtrl ? m_pMDBCtrl->IsCurrentDBPostFloor() : 0; }

int CPVXAttrCtrl::GetNode(UINT key, T_PNODE_D& rec) const { return m_PNode.Get(key, rec); }
int CPVXAttrCtrl::GetElem(UINT key, T_PELEM_D& rec) const { return m_PElem.Get(key, rec); }
int CPVXAttrCtrl::GetMemb(UINT key, T_PMEMB_D& rec) const { return m_PMemb.Get(key, rec); }
int CPVXAttrCtrl::ExistElem(UINT key) const { return m_PElem.Exist(key); }
int CPVXAttrCtrl::GetElemCount() const { return m_PElem.GetCount(); }
int CPVXAttrCtrl::GetNodeCount() const { return m_PNode.GetCount(); }
int CPVXAttrCtrl::GetMembCount() const { return m_PMemb.GetCount(); }
int CPVXAttrCtrl::GetNodeKeyList(CArray<UINT, UINT>& keys) const { return m_PNode.GetKeyList(keys); }
int CPVXAttrCtrl::GetMembKeyList(CArray<UINT, UINT>& keys) const { return m_PMemb.GetKeyList(keys); }
int CPVXAttrCtrl::GetElemKeyList(CArray<UINT, UINT>& keys) const { return m_PElem.GetKeyList(keys); }

int CPVXAttrCtrl::GetElemNodeCount(UINT key) const {
    T_PELEM_D rec;
    rec.Initialize();
    // An absent element has no nodes; an initialised record must not pass for one.
    if (!m_PElem.Get(key, rec)) return 0;
    return m_PElem.GetPNodeCount(rec);
}

double CPVXAttrCtrl::CalcLAVElem(UINT key) { return m_PElem.calcLAVElem(key, 0, 0); }

double CPVXAttrCtrl::CalcLAVMemb(UINT key) {
    T_PMEMB_D memb;
    if (!m_PMemb.Get(key, memb)) return 0.0;
    return CalcLAVMembRecord(memb);
}

double CPVXAttrCtrl::CalcLAVMembRecord(T_PMEMB_D& memb) {
    const int n = static_cast<int>(memb.aNode.GetSize());
    if (n == 0) return 0.0;
    const bool line = IsLineElemType(memb.type);
    const bool plane = !line && IsPlaneElemType(memb.type);
    if (!line && !plane) return 0.0;

    // Only the nodes the measure uses are read; a missing one makes the measure 0.
    C3DPoint p[4];
    auto read = [&](int index, C3DPoint& out) {
        T_PNODE_D node;
        if (!m_PNode.Get(memb.aNode[index], node)) return false;
        out.Set(node.x, node.y, node.z);
        return true;
    };
    if (line) {
        if (!read(0, p[0]) || !read(n - 1, p[1])) return 0.0;
        return CMathFunc::mathLength(p[1].x - p[0].x, p[1].y - p[0].y, p[1].z - p[0].z);
    }
    if (n < 3) return 0.0;
    const int used = n > 3 ? 4 : 3;
    for (int i = 0; i < used; ++i)
        if (!read(i, p[i])) return 0.0;
    double area = CMathFunc::mathArea(p[0], p[1], p[2]);
    if (used == 4) area += CMathFunc::mathArea(p[0], p[2], p[3]);
    return area;
}

int CPVXAttrCtrl::CalcMembFrameLocalVector(UINT membKey, const double pi[3], const double pj[3],
                                           double axes[3][3]) {
    T_PMEMB_D memb;
    if (!m_PMemb.Get(membKey, memb) || memb.aElem.GetSize() == 0) return 0;
    T_PELEM_D elem;
    if (!m_PElem.Get(memb.aElem[0], elem)) return 0;
    return CMembUtil::CalcFrameLocalVector(pi, pj, elem.beta, axes);
}

int CPVXAttrCtrl::CalcMembFrameLocalVector(UINT membKey, const C3DPoint& pi, const C3DPoint& pj,
                                           double axes[3][3]) {
    const double a[3] = {pi.x, pi.y, pi.z};
    const double b[3] = {pj.x, pj.y, pj.z};
    return CalcMembFrameLocalVector(membKey, a, b, axes);
}

int CPVXAttrCtrl::CalcMembFrameLocalVector(UINT membKey, double axes[3][3]) {
    T_PMEMB_D memb;
    if (!m_PMemb.Get(membKey, memb) || memb.aNode.GetSize() < 2) return 0;
    T_PNODE_D ni, nj;
    if (!m_PNode.Get(memb.aNode[0], ni) || !m_PNode.Get(memb.aNode[memb.aNode.GetSize() - 1], nj)) return 0;
    const double a[3] = {ni.x, ni.y, ni.z};
    const double b[3] = {nj.x, nj.y, nj.z};
    return CalcMembFrameLocalVector(membKey, a, b, axes);
}

int CPVXAttrCtrl::CalcPlaneLocalVector(UINT elemKey, double axes[3][3]) {
    return m_PElem.calcPlaneLocalVector(elemKey, axes);
}

int CPVXAttrCtrl::CalcSlabObjectLocalVector(UINT elemKey, double axes[3][3]) {
    return m_PElem.calcSlabObjectLocalVector(elemKey, axes);
}

BOOL CPVXAttrCtrl::IsCutLineAvailable(UINT key, T_PVX_CUTL_D& rec) {
    T_CTLN_D line;
    line.Initialize();
    if (!m_Ctln.Get(key, line) || line.kind != CTLN_KIND_CUTLINE) return FALSE;
    rec.strName = line.name;
    rec.x1 = line.x1;
    rec.y1 = line.y1;
    rec.z1 = line.z1;
    rec.x2 = line.x2;
    rec.y2 = line.y2;
    rec.z2 = line.z2;
    return TRUE;
}

BOOL CPVXAttrCtrl::IsColumnElemType(int type) { return type == 101; }
BOOL CPVXAttrCtrl::IsBeamElemType(int type) { return type == 201 || type == 205; }
BOOL CPVXAttrCtrl::IsElemType204(int type) { return type == 204; }
BOOL CPVXAttrCtrl::IsTrussElemType(int type) { return type == 206; }
BOOL CPVXAttrCtrl::IsWallElemType(int type) { return type >= 209 && type <= 212; }

BOOL CPVXAttrCtrl::IsLineElemType(int type) {
    return type == 200 || type == 403 || type == 201 || type == 205 || type == 206 || type == 101;
}

BOOL CPVXAttrCtrl::IsPlaneElemType(int type) {
    return type == 301 || type == 302 || type == 305 || type == 204 || IsWallElemType(type);
}

// Rafts and plates (301), floor slabs (302) and roof slabs (305): the slab displays take them
// alike; the two further codes only say where the slab lies.
BOOL CPVXAttrCtrl::IsSlabMembType(int type) { return type == 301 || type == 302 || type == 305; }
BOOL CPVXAttrCtrl::IsWirePlaneElemType(int type) { return type == 25; }
BOOL CPVXAttrCtrl::IsPlate(int type) { return CClassPElem::IsPlate(type) ? TRUE : FALSE; }
BOOL CPVXAttrCtrl::IsNormalElemResult(T_PELEM_D& rec) { return CClassPElem::IsSuperElemElemResult(rec) ? FALSE : TRUE; }

BOOL CPVXAttrCtrl::IsSlabForceLoadType(int code) {
    UINT bit = 0;
    switch (code) {
    case 1: bit = 0x1; break;
    case 2: bit = 0x2; break;
    case 4: bit = 0x8; break;
    case 5: bit = 0x10; break;
    case 9: bit = 0x100; break;
    case 10: bit = 0x10000; break;
    case 11: bit = 0x20000; break;
    case 12: bit = 0x40000; break;
    case 16: bit = 0x200; break;
    case 17: bit = 0x400; break;
    case 18: bit = 0x800; break;
    case 26: bit = 0x10000000; break;
    default: bit = 0; break;
    }
    if (bit & 0x18000F99) return TRUE;
    if (bit & 0x30000) return FALSE;
    return bit != 0x40000;
}

int CPVXAttrCtrl::GetShapeMode() { return m_nShapeMode; }

namespace {

// An element table bound to the document's current post database (unbound without one).
void BindToCurrentPost(CClassPElem& table) {
    CDBDoc* doc = CDBDoc::m_pDBDoc;
    table.ConnectToDB(doc ? doc->GetMDBCtrl()->GetDBPost() : nullptr);
}

}  // namespace

BOOL CPVXAttrCtrl::IsMembNodeResultAvailable(T_PMEMB_D& memb) {
    CClassPElem elems;
    BindToCurrentPost(elems);
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i)
        if (!elems.IsSuperElemNodeResult(memb.aElem[i])) return TRUE;
    return FALSE;
}

BOOL CPVXAttrCtrl::IsMembElemResultAvailable(T_PMEMB_D& memb) {
    CClassPElem elems;
    BindToCurrentPost(elems);
    for (INT_PTR i = 0; i < memb.aElem.GetSize(); ++i) {
        T_PELEM_D rec;
        if (elems.Get(memb.aElem[i], rec) && IsNormalElemResult(rec)) return TRUE;
    }
    return FALSE;
}
