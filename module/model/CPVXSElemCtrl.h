// CPVXSElemCtrl: translation between super elements and the model elements and nodes they stand for.
//
// A super element is a group of model elements that the analysis condensed into one element with
// a mesh and inner nodes of its own; its results are stored per super element while the user sees
// the model's elements and nodes. Shape builders, engines and the graphics control's super-element
// queries make one of these on the stack, load one element, ask, clear and drop it:
//     CPVXSElemCtrl se;                       // bound to the document's post database
//     se.GetSuperElemData(elemKey);           // loads element, map, super and offset records
//     CArray<UINT, UINT> keys;
//     se.GetSuperElemNodeKeys(elemKey, keys); // result keys: the element, or its model elements
//     ... se.GetSuperElemShapeNodes(keys[i], nodeKeys, &nodes) ...
//     se.InitSuperElemRecords();
// Keys are host keys, 0 = none. Super node keys and model node keys are different key spaces:
// T_PSEMAP_D::GetModelPNodeK maps a super node that is also a model node back to the model; an
// inner super node has no model key and is reported under its super node key. Inner node
// coordinates are the stored ones plus the element's redistribution offset. Coordinates in m.
// Related: CGeomCtrl (super-element faces), CDeformEngine (displaced positions).
#pragma once

#include "host/db/DBTables.h"
#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CMap.h"

class CDataBase;
class CDeformEngine;

// What the graphics control is told about one super-element mesh element or one super node.
struct CSuperElemInfo {
    CArray<UINT, UINT> m_arrNodeKey;     // node keys (model keys; inner nodes: super node keys)
    CArray<T_PNODE_D> m_arrNode;         // their node records, same order
    CArray<C3DPoint> m_arrPos;           // drawn positions (displaced and shrunk as asked)
    int m_bModelNode;                    // node records: 1 when the node is a model node
    C3DPoint m_ptCentre;                 // centre of the whole super element (shrink centre)

    CSuperElemInfo() : m_bModelNode(0) {}
};

typedef CMap<UINT, UINT, CSuperElemInfo, CSuperElemInfo&> CSuperElemInfoMap;

class CPVXSElemCtrl {
public:
    // Binds every table to the post database of CDBDoc::m_pDBDoc (nothing when there is none).
    CPVXSElemCtrl();
    // Binds every table to pDB; with null nothing is bound and every read misses.
    explicit CPVXSElemCtrl(CDataBase* pDB);
    virtual ~CPVXSElemCtrl();
    CPVXSElemCtrl(const CPVXSElemCtrl&) = delete;
    CPVXSElemCtrl& operator=(const CPVXSElemCtrl&) = delete;

    // ---- loading ------------------------------------------------------------------------------
    // Makes key current and reads its element, map, offset and super-element records. Returns 1
    // when the element exists (a missing key leaves the records initialised and returns 0), so a
    // caller can tell a loaded super element from nothing; IsSuperElem tells the kind.
    int GetSuperElemData(UINT key);
    // Clears the current records (key, element, map, super-element and offset). Returns 1.
    int InitSuperElemRecords();
    UINT GetCurrentKey() const { return m_nElemKey; }
    const T_PELEM_D& GetCurrentElem() const { return m_elemRec; }
    // Non-zero when the current element is a super element with a map record.
    int IsCurrentSuperElem() const { return m_bSuper; }

    // ---- tests --------------------------------------------------------------------------------
    static int IsSuperElem(const T_PELEM_D& rec);
    // Asks the document's post database; 0 when there is none or the key is unknown.
    static int IsSuperElemKey(UINT key);
    // TRUE when one element of the member is a super element; FALSE for a member without elements.
    int IsSuperMember(const T_PMEMB_D& memb) const;
    // TRUE when every element of the member has a super-element map record (TRUE without elements).
    int IsAllElemInSuperElem(const T_PMEMB_D& memb) const;

    // ---- key lists (outputs emptied first unless said otherwise) ------------------------------
    // Model elements an element stands for: for a super element the line elements ascending,
    // then the plane elements ascending; for any other element the key alone. Always 1.
    int GetModelElemKeys(UINT key, CArray<UINT, UINT>& keys) const;
    int GetCurrentModelElemKeys(CArray<UINT, UINT>& keys) const;
    // The result keys of an element, APPENDED to keys: the element key itself, or for a super
    // element its model elements in the order of GetModelElemKeys. Always 1. Engines iterate
    // these to read one result record (and one sub-element shape) per key.
    int GetSuperElemNodeKeys(UINT key, CArray<UINT, UINT>& keys) const;
    // Model nodes of an element: for a super element the union of its covered and end nodes,
    // ascending; otherwise its node keys in order. With pNodes, their records. 1, or 0 when a
    // record could not be read.
    int GetSuperElemNodeList(UINT key, CArray<UINT, UINT>& nodeKeys, CArray<T_PNODE_D>* pNodes = nullptr) const;
    // The element's nodes as GetSuperElemNodeList lists them, each for which want(key) holds
    // handed to take(key, record); only those nodes' records are read (a super element's all
    // at once). 0 when the element is missing or a record is.
    template <class Want, class Take> int ForEachWantedNode(UINT key, Want&& want, Take&& take) const;
    int GetCurrentElemNodeList(CArray<UINT, UINT>& nodeKeys, CArray<T_PNODE_D>* pNodes = nullptr) const;
    // Node keys (and records) of one result key of the current element, for drawing: for a
    // super element the nodes of the mesh element that the model element key maps to (model
    // keys, inner nodes under their super node key) and *pbSuper = 1; otherwise the element's
    // own nodes and *pbSuper = 0. 0 when the element or its nodes cannot be found.
    int GetSuperElemShapeNodes(UINT key, CArray<UINT, UINT>& nodeKeys, CArray<T_PNODE_D>* pNodes = nullptr,
                               int* pbSuper = nullptr) const;
    // The current super element's i-end and j-end nodes (model keys; inner nodes under their super
    // node key) and records. 0 unless both ends have at least two nodes and every record is read.
    int GetSuperElemEndNodes(CArray<UINT, UINT>& iKeys, CArray<UINT, UINT>& jKeys,
                             CArray<T_PNODE_D>* pINodes = nullptr, CArray<T_PNODE_D>* pJNodes = nullptr) const;

    // ---- node records -------------------------------------------------------------------------
    // Records of model nodes of the current super element (through their super node keys).
    int GetModelNodeSuperRecords(const CArray<UINT, UINT>& modelKeys, CArray<T_PNODE_D>& nodes) const;
    // The same with explicit map and super-element records.
    int GetSuperNodeRecordsOfModelNodes(const T_PSEMAP_D* pMap, const T_PSELEM_D* pSElem,
                                        const CArray<UINT, UINT>& modelKeys, CArray<T_PNODE_D>& nodes) const;
    // Records of super nodes of the current super element; 0 for an empty list.
    int GetSuperNodeRecordsChecked(const CArray<UINT, UINT>& superKeys, CArray<T_PNODE_D>& nodes) const;
    // A super node that is a model node reads the model node; an inner node reads the super node
    // table and adds the redistribution offset. nodes gets one record per key; 0 when a record
    // is missing (that record is left initialised) or a record argument is null.
    int ReadSuperNodeRecords(const T_PSEMAP_D* pMap, const T_PSELEM_D* pSElem, const CArray<UINT, UINT>& superKeys,
                             CArray<T_PNODE_D>& nodes) const;

    // ---- local axes ---------------------------------------------------------------------------
    // Axes (rows x, y, z) of the current super element: x from the mean of its i-end nodes to the
    // mean of its j-end nodes, y the frame z axis, z the frame y axis turned 180 degrees about x.
    // 0 when the end nodes are not available or the ends coincide.
    int CalcSuperElemLocalVector(double axes[3][3]) const;

    // ---- graphics control queries -------------------------------------------------------------
    // One record per mesh element of the current super element, keyed by its super-element
    // element key; positions displaced by pEngine when given, and shrunk toward the super
    // element's centre by the factor (clamped to 0.01..1) when bShrink is set. 1, or 0 when the
    // current element is unknown.
    int BuildSuperElemInfo(CSuperElemInfoMap& out, int bShrink, double dShrink, CDeformEngine* pEngine) const;
    // One record per node of the current element, keyed by node key. 0 when there are none.
    int BuildSuperNodeInfo(CSuperElemInfoMap& out, CDeformEngine* pEngine) const;

private:
    void Bind(CDataBase* pDB);
    int IsModelNodeOfSElem(const T_PSELEM_D& sElem, UINT superKey) const;
    // Model key of a super node, or the super node key itself for an inner node.
    UINT ReportedNodeKey(const T_PSEMAP_D& map, UINT superKey) const;
    // Reads the super node records of the current element; used where the super node keys are
    // at hand, so that inner nodes keep their coordinates.
    int ReadCurrentSuperNodes(const CArray<UINT, UINT>& superKeys, CArray<T_PNODE_D>& nodes) const;
    // Appends the node keys of an ordinary element and, when pNodes is given, their records
    // (an initialised record where one is missing). 0 when a record is missing.
    int AppendOwnNodes(const T_PELEM_D& rec, CArray<UINT, UINT>& nodeKeys, CArray<T_PNODE_D>* pNodes) const;

    CDataBase* m_pDB;                 // bound database, not owned; null when unbound
    CClassPNode m_node;
    CClassPElem m_elem;
    UINT m_nElemKey;                  // current element, 0 = none
    T_PELEM_D m_elemRec;              // current element record
    T_PSEMAP_D m_mapRec;              // current super-element map record
    T_PSELEM_D m_sElemRec;            // current super-element record
    T_PRDSTSE_D m_rdstRec;            // current redistribution offset of inner nodes
    int m_bSuper;                     // the current element is a super element with a map record
    CClassPElem m_elem2;
    CClassPSemap m_semap;
    CClassPSelem m_selem;
    CClassPRdstSE m_rdst;
    CClassPNodeSE m_nodeSE;
    CClassPElemSE m_elemSE;
};

template <class Want, class Take> int CPVXSElemCtrl::ForEachWantedNode(UINT key, Want&& want, Take&& take) const {
    T_PELEM_D rec;
    if (!m_elem.Get(key, rec)) return 0;
    if (IsSuperElem(rec)) {
        CArray<UINT, UINT> keys;
        CArray<T_PNODE_D> nodes;
        const int ok = GetSuperElemNodeList(key, keys, &nodes);
        for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
            if (!want(keys[i])) continue;
            T_PNODE_D nd;
            nd.Initialize();
            if (i < nodes.GetSize()) nd = nodes[i];
            take(keys[i], nd);
        }
        return ok;
    }
    int ok = 1;
    const int n = m_elem.GetPNodeCount(rec);
    for (int i = 0; i < n; ++i) {
        if (!want(rec.node[i])) continue;
        T_PNODE_D nd;
        nd.Initialize();
        if (!m_node.Get(rec.node[i], nd)) ok = 0;
        take(rec.node[i], nd);
    }
    return ok;
}
