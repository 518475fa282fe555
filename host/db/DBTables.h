// The table classes of the post database, one per table, with the extra operations callers
// use beside Get/Exist/GetCount/GetKeyList (see DB_CDataClass.h).
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/db/DB_CDataClass.h"

#include <set>

class CClassPNode : public DB_CTable<DBT_PNODE> {};

class CClassPElem : public DB_CTable<DBT_PELEM> {
public:
    // Number of node keys of an element record (clamped to the record's capacity).
    int GetPNodeCount(const T_PELEM_D& rec) const;
    // Length of a line element, area of a plane element, 0 otherwise or when unknown. The two
    // ints are kept for callers that pass them; they select nothing here.
    double calcLAVElem(UINT key, int, int) const;
    // Local axes (rows: x, y, z unit vectors) of a plane element: x along its first edge, z the
    // normal of its node order (quadrilaterals: of the diagonals), then turned by beta about z.
    int calcPlaneLocalVector(UINT key, double axes[3][3]) const;
    // The same from n corner points (3 or 4).
    static int calcPlaneLocalVector(int n, const double pts[][3], double axes[3][3]);
    // Slab axes: z the normal turned to point up, x the global x projected onto the plane
    // (the global y when x is normal to it), y = z x x.
    int calcSlabObjectLocalVector(UINT key, double axes[3][3]) const;
    // Frame axes from end points and rotation angle (CMembUtil::CalcFrameLocalVector).
    static int calcFrameLocalVector(const double ci[3], const double cj[3], double beta, double axes[3][3]);
    // Plate and slab element type codes: 301, 302, 305.
    static int IsPlate(int type);
    static int IsSuperElem(const T_PELEM_D& rec);
    int IsSuperElem(UINT key) const;
    // A super element whose results are stored per model element.
    static int IsSuperElemElemResult(const T_PELEM_D& rec);
    // A super element whose results are stored per node.
    int IsSuperElemNodeResult(UINT key) const;

private:
    int NodePoints(const T_PELEM_D& e, double pts[][3], int maxPts) const;
};

class CClassPMemb : public DB_CTable<DBT_PMEMB> {
public:
    // The member that holds an element; 0 when none.
    UINT GetMembKeyByElemKey(UINT elemKey) const { return m_pDB ? m_pDB->GetMembKeyOfElem(elemKey) : 0; }
    // Centre of a member: the mean of its nodes' coordinates; 0 when the member or one of its
    // nodes is unknown or it has no nodes.
    int calcCenterPMemb(UINT key, double& x, double& y, double& z) const;
};

class CClassPCfmo : public DB_CTable<DBT_CFMO> {};
class CClassPSect : public DB_CTable<DBT_PSECT> {};
class CClassPMatl : public DB_CTable<DBT_PMATL> {};
class CClassPWall : public DB_CTable<DBT_PWALL> {};
class CClassPSlab : public DB_CTable<DBT_PSLAB> {};
class CClassPStld : public DB_CTable<DBT_PSTLD> {};
class CClassRibb : public DB_CTable<DBT_RIBB> {};

class CClassPLcom : public DB_CTable<DBT_PLCOM> {
public:
    // Non-zero for an envelope (maximum/minimum) combination.
    static int IsMaxMinComb(const T_PLCOM_D& rec) { return rec.type == PLCOM_ENVELOPE; }
};

// The settings of the result pages, by result id (see T_PAGESET_D).
class CClassPageSet : public DB_CTable<DBT_PAGESET> {
public:
    // The archive bytes kept for a result id; 0 (bytes emptied) when there are none.
    int GetArchive(UINT nResultId, std::vector<BYTE>& bytes) const;
    // Keeps the archive bytes and title of a result id in the open database; 0 when unbound.
    int SetArchive(UINT nResultId, LPCTSTR pszTitle, const std::vector<BYTE>& bytes);
};

// The cutting lines and slab strips the user placed on the model. The TR_ operations change the
// open database (in memory; the project file changes when the document is saved) and refuse,
// returning 0 and changing nothing: an unbound table, a kind other than the two, an empty name
// or one longer than the record holds, a name another line of the same kind has, coordinates
// that are not finite or beyond pvxdb::kMaxCoord, two points closer than 1e-9 m, a negative or
// non-finite width, and an unknown key.
class CClassCtln : public DB_CTable<DBT_CTLN> {
public:
    // Keys of the lines of one kind, in table order; returns the count.
    int GetKeyList(CArray<UINT, UINT>& keys, int kind) const;
    using DB_CTable<DBT_CTLN>::GetKeyList;
    // The line of this kind with exactly this name; 0 when none.
    UINT GetKey(LPCTSTR name, int kind) const;
    // Adds a line under a new key (one more than the largest key); returns the key, 0 when refused.
    UINT TR_Add(int kind, LPCTSTR name, double width, const double p1[3], const double p2[3]);
    // Replaces name, width and points of a line (its kind stays); 0 when refused.
    int TR_Modify(UINT key, LPCTSTR name, double width, const double p1[3], const double p2[3]);
    // Deletes a line; 0 when the key is unknown.
    int TR_Del(UINT key);

private:
    // 0 when the values cannot make a line of this kind (other than its own key skip).
    int IsValid(int kind, LPCTSTR name, double width, const double p1[3], const double p2[3], UINT skip) const;
};

class CClassPSemap : public DB_CTable<DBT_PSEMAP> {};
class CClassPSelem : public DB_CTable<DBT_PSELEM> {};
class CClassPRdstSE : public DB_CTable<DBT_PRDSTSE> {};

class CClassPNodeSE : public DB_CTable<DBT_PNODESE> {
public:
    // The coordinates of super node nodeKey of super element seKey; 0 when unknown.
    int GetSuperPNodeD(UINT seKey, UINT nodeKey, T_PNODE_D& rec) const {
        const T_PNODESE_D* p = m_pDB ? Find(m_pDB->GetNodeSERow(seKey, nodeKey)) : nullptr;
        if (!p) return 0;
        rec = p->node;
        return 1;
    }
};

class CClassPElemSE : public DB_CTable<DBT_PELEMSE> {
public:
    // Element elemKey of the mesh of super element seKey; 0 when unknown.
    int GetSuperPElemD(UINT seKey, UINT elemKey, T_PELEM_D& rec) const {
        const T_PELEMSE_D* p = m_pDB ? Find(m_pDB->GetElemSERow(seKey, elemKey)) : nullptr;
        if (!p) return 0;
        rec = p->elem;
        return 1;
    }
};

// The load groups: the settlement groups of LDGP and the check load groups of CKLG, one key
// space (the loader refuses a key held by both). An LDGP row answers as a check group numbered
// by its key, of kind LDGP_KIND_QUASI when it is a settlement group (type 2) and of kind
// LDGP_KIND_NONE (in no kind's list) when static, with its name as text and load-case type 0.
class CClassLdgp : public DB_CTable<DBT_LDGP> {
public:
    using DB_CTable<DBT_LDGP>::Get;
    // Keys of the LDGP groups of one type (LDGP_STATIC, LDGP_SETTLEMENT), in table order;
    // returns the count.
    int GetKeyListByType(CArray<UINT, UINT>& keys, int type) const {
        keys.RemoveAll();
        if (!m_pDB) return 0;
        const auto& table = m_pDB->Table<DBT_LDGP>();
        for (UINT key : table.Keys()) {
            const T_LDGP_D* p = table.Find(key);
            if (p && p->type == type) keys.Add(key);
        }
        return static_cast<int>(keys.GetSize());
    }
    // The group of a key as a check group, from CKLG or LDGP; 0 (rec unchanged) when neither holds it.
    int Get(UINT key, T_CKLG_D& rec) const;
    // A blast combination; a seismic combination (seismic flag 1 or 2). 0 for an unknown key.
    int IsBombLoadComb(UINT key) const;
    int IsEquaLoadComb(UINT key) const;
    // The group's text into text (its terms; a blast group followed by " (人防)", a seismic one
    // by " (地震)"); with a filter, only a group whose load-case type is in it answers. 0, text emptied, when the key is unknown or filtered out. The three pointers are
    // kept for callers that pass them (null).
    int GetLdgpSortStrTex(UINT key, CString& text, void*, void*, void*, const std::set<int>* filter) const;
    // The check groups the design takes (design-use flag 1), in CKLG order; returns the count.
    // The last argument is kept for callers that pass it.
    int GetDesignUseLoadComb(CArray<UINT, UINT>& keys, int) const;
    // The groups of one kind: the LDGP groups first, then CKLG, each in table order; returns the count.
    int GetLoadCaseKeys(CArray<UINT, UINT>& keys, int kind) const;
    // The group's text; empty for an unknown key.
    CString GetCombText(UINT key) const;
    // The terms of a check group as (static load case, factor), read from its text:
    // "1.2DL+1.4LL" is 1.2 x the static case named DL plus 1.4 x the one named LL; a name holding
    // "+" is written in double quotes (1.35"DL+LL"). FALSE (terms emptied, the reason in pWhy when
    // given) for an unknown key, or a text with a term that has no factor or names no static case.
    BOOL GetTerms(UINT key, std::vector<std::pair<UINT, double>>& terms, std::string* pWhy = nullptr) const;
};

// The settlement points. Settlements are answered in metres (the table holds mm): a point's
// settlement for a load group is the group's value plus the point's constant; group 0 (the most
// unfavourable entry) takes the group of the largest magnitude.
class CClassPCDSink : public DB_CTable<DBT_PCDSINK> {
public:
    // FALSE for an unknown key or a group the point does not hold.
    BOOL GetValue(UINT key, UINT group, double& value) const;
    // The key of the point within tol (m) of (x, y), the nearest one; FALSE when none is.
    BOOL GetByPos(double x, double y, UINT& key, double tol = 0.01) const;
    // Every key in table order; returns the count.
    int GetList(CArray<UINT, UINT>& keys) const;
    // The least-squares plane s = a + b x + c y through the points' settlements: xTilt = b,
    // yTilt = c, average = the mean settlement (m), deflection = the largest distance of a
    // point's settlement from the plane divided by the diagonal of the points' box. FALSE with
    // fewer than three points, a point without the group, or points on one line.
    BOOL GetCJAngle(const CArray<UINT, UINT>& keys, UINT group, double& xTilt, double& yTilt, double& average,
                    double& deflection) const;
};

class CClassPFreq : public DB_CTable<DBT_FREQ> {};

// Elements on elastic supports.
class CClassPEspr : public DB_CTable<DBT_PESPR> {
public:
    // Every record in table order; returns the count.
    int GetList(CArray<T_PESPR_D, T_PESPR_D&>& list) const;
};

// Restrained nodes with their support type.
class CClassPRtnd : public DB_CTable<DBT_PRTND> {
public:
    // The nodes of one support type as a key set (key to itself); emptied first. Returns the
    // number of nodes found.
    int GetPNodeKeyMapByType(CMap<UINT, UINT, UINT, UINT>& map, int type) const;
};
class CClassPMpam : public DB_CTable<DBT_MPAM> {};

// Rebar directions of the slab members, a table of the design model (CMDBCtrl::GetTempMainDB).
class CClassSdir : public DB_CTable<DBT_SDIR> {
public:
    // The record of a slab member; 0, the record unchanged, when the member has none.
    int GetByPMembK(UINT membKey, T_SDIR_D& rec) const { return Get(membKey, rec); }
};
