// CDeformEngine: the result engine of nodal displacements: deformed shape, displacement contour,
// node displacement, mode shapes, slab deflection, displacement time history and settlement
// (display modes 1, 2, 3, 4, 19, 63, 69).
//
// The bars create one as their editing engine and the model keeps one; ImportEngine copies an
// editing engine into the model's. InitEngine reads the host's records for the model's load
// selection and the display mode being built, keeps one displacement record per node, reduces
// each to one value by the component selector, keeps the extremes for the legend, ranks the
// values in its colour scale and computes the drawing scale (the governing displacement drawn at
// a twentieth of the model's largest span). The geometry members turn the records into displaced
// points, scaled drawing records and deformed faces and member sections (also for the force and
// stress engines, which draw on the deformed shape); the plot engine CPlotDeformEng, made for one
// draw by BeginPlotEng, draws the shape, the contours and the numbers.
//
//     CDeformEngine* e = new CDeformEngine(pModel);
//     e->m_nComponent = 2;                      // DZ
//     if (e->InitEngine()) { e->BeginPlotEng(pDC); e->DrawDispContourNew(pDC); e->EndPlotEng(); }
//
// Units are the database's: displacements in mm, rotations in rad, coordinates in m; the drawing
// scale turns mm into m. Everything runs on the host's user-interface thread.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/db/DBTable.h"
#include "module/engines/CEngineBase.h"
#include "module/model/PVXFlatFaces.h"
#include "module/model/ShapeTypes.h"
#include "platform/afx/CMap.h"
#include "platform/afx/CString.h"

class CDC;
class CDataBase;
class CPlotDeformEng;
class CPVXAttrCtrl;
struct T_CFMO_D;

// Per-face arrays of doubles handed out beside a shape (owned; freed with FreeValueLists).
typedef CArray<CArray<double>*> PVXValueArrayList;
// Deletes every array of the list and empties it.
void FreeValueLists(PVXValueArrayList& lists);

// Values of one beam member for the figure labels: its node keys in member order with their
// positions and values.
struct T_BEAM_DEFORM {
    UINT nMembKey = 0;
    CArray<UINT, UINT> arrNodeKey;
    CArray<C3DPoint, C3DPoint> arrPoint;
    CArray<double, double> arrValue;
};

// Displacement records by node key, for hundreds of thousands of nodes. A record either stays
// in the load of the displacement table it was read from (the source, shared with the table,
// not copied) or is the map's own (a combination's sum, a time-history step, a record set by
// hand); one index by key (an array over the run of keys, a hash for keys far outside it) says
// which and where.
class CDispRecords {
public:
    using Source = std::shared_ptr<const pvxdb::KeyedRecords<T_DISP_D>>;
    BOOL Lookup(UINT key, T_DISP_D& d) const;
    // Lookup of keys[i] for each i < n in turn, take(i, record or null when missing), the index
    // and records of keys further on fetched ahead: keys in no order read as fast as in order.
    template <class Take> void LookupEach(const UINT* keys, size_t n, const Take& take) const {
        constexpr size_t kIndexAhead = 64, kRecordAhead = 32;
        for (size_t i = 0; i < n; ++i) {
            if (i + kIndexAhead < n) m_index.Prefetch(keys[i + kIndexAhead]);
            if (i + kRecordAhead < n) PrefetchRecord(m_index.Find(keys[i + kRecordAhead]));
            T_DISP_D d;
            take(i, Lookup(keys[i], d) ? &d : nullptr);
        }
    }
    bool Contains(UINT key) const { return m_index.Find(key) != pvxdb::KeyIndex::kNone; }
    // Adds the node's record or replaces it; the node's record is the map's own from then on.
    void SetAt(UINT key, const T_DISP_D& d);
    // Adds a node not in the map yet with its record in the source, read into d as Lookup reads
    // it; FALSE, and nothing added, when the node is in the map or the source has no record.
    BOOL TakeFromSource(UINT key, T_DISP_D& d);
    bool HasSource() const { return m_src != nullptr; }
    // Room for n records of the map's own.
    void Reserve(size_t n) { m_own.reserve(n); }
    // Removes every record and frees the room; TakeFromSource reads src from then on.
    void RemoveAll(Source src = nullptr);
    INT_PTR GetCount() const { return static_cast<INT_PTR>(m_index.Count()); }

private:
    static constexpr uint32_t kFromSource = 0x80000000u;  // slot bit: a position in the source
    void PrefetchRecord(uint32_t slot) const {
        if (slot == pvxdb::KeyIndex::kNone) return;
        const T_DISP_D* r = slot & kFromSource ? &m_src->recs[slot & ~kFromSource] : &m_own[slot];
        __builtin_prefetch(r);
        __builtin_prefetch(reinterpret_cast<const char*>(r + 1) - 1);  // a record may cross a line
    }
    pvxdb::KeyIndex m_index;      // key -> slot: a position in m_own, or kFromSource | one in m_src
    std::vector<T_DISP_D> m_own;  // the map's own records
    Source m_src;                 // the table's load records, or null
};

class CDeformEngine : public CEngineBase {
public:
    // Selectors of the displayed component (m_nComponent).
    enum { COMP_DX, COMP_DY, COMP_DZ, COMP_TOTAL, COMP_RX, COMP_RY, COMP_RZ, COMP_DXY, COMP_DYZ, COMP_DXZ };

    explicit CDeformEngine(I_PVXModelBase* pModel);
    ~CDeformEngine() override;

    // ---- lifecycle ------------------------------------------------------------------------
    // Settings and data back to their defaults (the node map emptied, its table kept); 1.
    int InitData();
    // Copies every setting and the built data of another engine (deep copies); a null source
    // does nothing.
    void ImportEngine(CDeformEngine* pSrc);
    using CEngineBase::ImportEngine;
    // Rebuilds the data of the display mode being built (BuildMode) for the model's load
    // selection; returns whether data were built (also in m_bDataReady).
    int InitEngine();
    // Writes a load key into the model's load-case selection.
    void SetLoadCaseKey(int nKey);
    // The display mode the engine builds and reads for: the bars' current mode, else the model's
    // display mode.
    int BuildMode() const;
    // Mode shapes are shown (I_PVXModel::IsModeShapeShown): every mode-shape decision of the
    // engine and its plot engine asks this one test.
    int IsModeShapeShown() const;

    // ---- values -------------------------------------------------------------------------
    // The component of a record by this engine's selector, or by the given one (0..9, see the
    // COMP_ names; any other selector gives 0).
    double CalcDispValue(const T_DISP_D& d) const { return CalcDispValue(d, m_nComponent); }
    static double CalcDispValue(const T_DISP_D& d, int nSelector);
    // Value at a station of the beam curve last built by the model's beam calculator: the start
    // record at station 0, the end record at the last station, the selector's formula on the
    // station's displacement in between (rotations interpolated linearly); 0 for another index
    // or without a calculator.
    double CalcDispValuePos(const T_DISP_D& start, const T_DISP_D& end, int nStation) const;
    // Drawing scale of the deformed shape: the automatic adjust factor times the user scale.
    double GetScale() const { return m_dAdjustFactor * m_dUserScale; }
    // Sets the automatic adjust factor so that the governing value v is drawn at a twentieth of
    // the model's largest span (X and Y only in figure mode); |v| < 1e-15 counts as 1.
    void InitDispAdjustFactor(double v);

    // ---- record sources (1 read, 0 not; a record not read is zeroed) -------------------------
    // The node's record: the engine's map, else the mode shape or the selected load's value.
    int GetDispData(UINT nNode, T_DISP_D& disp) const;
    // CalcDispValue of each node's GetDispData record, in the nodes' order.
    void GetDispValues(const std::vector<UINT>& nodes, double* values) const;
    // As GetDispData for list building: a node already in the map reads 0 (it enters once).
    int GetNodeDispData(UINT nNode, T_DISP_D& disp) const;
    // Slab deflection of a node: the map, else the displacement, or under an envelope load the
    // component-wise largest over the engine's run of combinations.
    int GetSDflcData(UINT nNode, T_DISP_D& disp) const;
    int GetNodeSDflcData(UINT nNode, T_DISP_D& disp) const;
    // Settlement point of a key: its record and its settlement for the settlement load group
    // (group value plus the constant part).
    int GetSettlementData(UINT nKey, T_PCDSINK_D& rec, double& dValue) const;
    // Time-history record of a node at a step, of the quantity m_nTHKind; 0 when the host has
    // none for the node (the record is then zeroed).
    int GetDispHistory(int nStep, UINT nNode, T_DISP_D& disp) const;

    // ---- builders (1 built, 0 nothing to build) ---------------------------------------------
    int MakeDispDataList();
    // The node list with zero records, for a time step of an external history.
    int MakeDispDataList(int nStep);
    int MakeSettlementDataList();
    int MakeSDflcDataList();
    // Slab deflection per slab member: the same node values, and the largest deflection with
    // its member for the legend.
    int MakeSDflcDataListMemb();
    int MakeDispTimeHist();
    int MakeTHistDispDataOnly(int nStep);
    // Updates the extreme translations by the selector with a node's record; 1.
    int MakeMinMaxDispD(UINT nNode, const T_DISP_D& d);
    // The same with dValue standing for the component when the selector is 0, 1 or 2.
    void SetLegendTextVal(UINT nNode, double dValue, const T_DISP_D& d);
    // Widens [dMin, dMax] by the exact deflection of every beam (mode shapes only).
    void GetRealDeformRange(double& dMin, double& dMax);
    // The base's plate key list: the plane elements of the model's members, in order.
    void MakePlateKeyList();

    // ---- tests ----------------------------------------------------------------------------
    int IsTimeHistVelAcc() const;
    int IsTimeHistExtendedVelAcc() const;
    // 1 when a member's displacement can be shown: not made of super elements, or none of its
    // elements carries element results, or none carries node results.
    int IsPossibleDisp(T_PMEMB_D& memb) const;
    int SetSRbarTotalLcom4Dgn() { return 0; }

    // ---- deformed geometry --------------------------------------------------------------------
    // A point moved by a displacement drawn at the engine's scale (only the components the
    // selector shows; rotation selectors leave it where it is), times the animation frame factor.
    C3DPoint GetDisplacedPoint(const C3DPoint& p, const T_DISP_D& d) const;
    C3DPoint GetDisplacedPoint(const C3DPoint& p, const double d[3]) const;
    C3DPoint GetDisplacedPoint(UINT nNode, const C3DPoint& p) const;
    void GetDisplacedPoint(UINT nNode, double xyz[3]) const;
    void GetDisplacedPoint(UINT nNode, T_PNODE_D& node) const;
    // The node's record scaled for drawing: components the selector uses times the scale (and
    // the animation frame factor), the others 0; a selector above 9 leaves the record as read.
    int MakeDispD4Drawing(UINT nNode, T_DISP_D& d) const;
    // Deformed faces of one element (plate faces, line sections) in the model's shape form.
    void GetDeformedShapePElement(UINT nElem, PVXPolyListArray& faces, PVXIndexArrayList* pIndex,
                                  T_SHAPE_ARGUMENT& arg, int nOpt1, int nOpt2);
    void GetDeformedShapePElement(UINT nElem, PVXPolyListArray& faces, PVXIndexArrayList* pIndex,
                                  CArray<UINT, UINT>* pFaceKeys, int nOpt1, int nOpt2);
    // Deformed faces of one member, in the form of I_PVXModel::GetShapeMember.
    void GetDeformedShapeMember(UINT nMemb, PVXPolyListArray& faces, PVXIndexArrayList* pIndex, T_SHAPE_ARGUMENT& arg,
                                int nOpt1, int nOpt2);
    // The same faces with node keys as flat arrays, kept from frame to frame while the model's
    // shape key, the drawing scale, the component and the displacement records of the member's
    // nodes stay; records gets the record (GetDispData) of each key of faces.nodes, six numbers
    // a node (DX, DY, DZ, RX, RY, RZ) kept with the faces, valid until the member's next call.
    // Null when the member cannot be read or the shape is shrunk (its centre moves with the
    // deformation).
    const PVXFlatFaces* KeptDeformedFaces(UINT nMemb, const double*& records);
    // The drawing records (MakeDispD4Drawing) of each element's nodes, element after element,
    // and those nodes when pNodes is given; none when an element cannot be read (members of
    // super elements are displaced by the geometry control through this engine).
    void MemberDrawingDisp(CPVXAttrCtrl& attr, const T_PMEMB_D& memb, CArray<T_DISP_D>& disp,
                           std::vector<UINT>* pNodes) const;
    PVXKeptFaces m_KeptDeformed;
    // Exact deflected polygons of a beam element from the curve the model's beam calculator
    // built last (MakeBeamDispl): lines and side faces cut at every station of the flexible span,
    // other faces moved with their end. pValues gets per vertex its relative position along the
    // element (0 at the start), pStations its station number; either may be null.
    void GetBeamRealDeformedShape(UINT nElem, PVXPolyListArray& faces, PVXIndexArrayList* pIndex,
                                  PVXValueArrayList* pValues, PVXIndexArrayList* pStations);
    // Builds the model's beam calculator's curve of a beam element when the exact beam range is on
    // and mode shapes are shown; 1 when a curve was built.
    int MakeBeamCurve(UINT nElem);
    // Leaves the index list as it is (kept for callers).
    void GetDeformedZSortedIndexList(UINT nElem, CArray<int, int>& order);

    // ---- drawing of elements and members (1 drawn, 0 no data, -1 Escape) ----------------------
    int DrawDeformedElement(CDC* pDC, UINT nElem);
    int DrawInactiveDeformedElement(CDC* pDC, UINT nElem);
    // Every element of the member in order: 1 all drawn, 0 no data or a missing member, -1 Escape.
    int DrawDeformedMember(CDC* pDC, UINT nMemb);
    int DrawInactiveDeformedMember(CDC* pDC, UINT nMemb);

    // ---- ranges of the deformed model --------------------------------------------------------
    void GetRangeModel(C3DPoint* pMin, C3DPoint* pMax);
    void GetRangeModel(C3DPoint* pMin, C3DPoint* pMax, CArray<UINT, UINT>* pKeys);
    void GetRangeElement(UINT nMemb, C3DPoint* pMin, C3DPoint* pMax);

    // ---- picked nodes, cutting lines, plot engine -------------------------------------------
    void DrawPickedNodes(CDC* pDC);
    void DrawPickedNodesOnClientWnd(CDC* pDC);
    void GetNodalValueforCutting(UINT nElem, double& dValueI, int nI, double& dValueJ, int nJ) override;
    int BeginPlotEng(CDC* pDC) override;
    int EndPlotEng() override;
    CPlotDeformEng* GetPlotEngine() const;
    int DrawBeamDfd();
    int DrawDispContourNew(CDC* pDC);
    int DrawDeformedShapeNew(CDC* pDC);
    void OutputNumbersNew();
    // Displaced positions of the listed nodes, at the same indices; 1.
    int MakeNodeDispData4Output(const CArray<UINT, UINT>& keys, CArray<C3DPoint, C3DPoint>& points) const;
    // One record per beam member for the figure labels; 0 when a member cannot be read, no beam
    // exists or a node has no record.
    int MakeNodeDispData4Output4Figure(CArray<T_BEAM_DEFORM, const T_BEAM_DEFORM&>& records);

    // ---- fields -------------------------------------------------------------------------------
    UINT m_nSettlementGroup;        // load group whose settlements are shown
    int m_nComponent;               // 0 DX, 1 DY, 2 DZ, 3 total, 4 RX, 5 RY, 6 RZ, 7 XY, 8 YZ, 9 XZ
    int m_bDataReady;               // data built for the current selection
    int m_bKeepDeformed;            // keep the deformed shape across an update; 1 by default
    int m_bExactBeamRange;          // beams drawn with their exact curve; the range takes it in
    double m_dUserScale;            // user scale factor of the deformed shape
    double m_dBeamDispFactor;       // tangent factor of the exact beam curve (1: true end slopes)
    double m_dMaxTotal;             // largest total displacement
    C3DPoint m_ptMaxComp;           // signed translation of largest magnitude per axis
    int m_nTHKind;                  // time-history quantity: 0 displacement, 1 velocity, 2 acceleration
    double m_dAdjustFactor;         // automatic adjust factor of the drawing scale
    UINT m_nMaxKeyX, m_nMaxKeyY, m_nMaxKeyZ, m_nMaxKeyTotal;  // nodes of the largest displacements, 0 none
    UINT m_nTHNode;                 // time-history reference node, 0 none
    T_DISP_D m_THDisp;              // its record
    CArray<UINT, UINT> m_arrNodeKey;    // nodes in the order their values were added
    CArray<T_PNODE_D> m_arrNodeRec;     // their node records, in step with m_arrNodeKey
    CArray<UINT, UINT> m_arrPickedNode; // picked nodes (emptied by a redraw request)
    // The node displacement records, read-only: the list builders write them (and SetDispRecord),
    // each change moving a version on, so kept deformed faces read them again only after one.
    const CDispRecords& DispRecords() const { return m_mapDisp; }
    void SetDispRecord(UINT nNode, const T_DISP_D& d);
    CArray<UINT, UINT> m_arrSettleKey;                         // settlement points built
    CMap<UINT, UINT, T_PCDSINK_D, T_PCDSINK_D&> m_mapSettle;   // their records
    int m_nTimeStep;                // time step shown by the time-history display
    double m_dTimeStepTime;         // its time (s) from the records' time step; -1 when none
    int m_nSlabDeflKind;            // 0 per member, 1 per plate element
    double m_dSlabDeflMax;          // largest slab deflection, read by the legend
    CString m_strCaption;
    int m_nLcomStart, m_nLcomCount; // run of load combinations of the envelope slab deflection
    int m_nDuctKind, m_nDuctSubKind;  // ductility kind and sub-kind, 0 to 5 each
    CArray<T_BEAM_DEFORM, const T_BEAM_DEFORM&> m_arrBeamDeform;  // figure beam records

    static int m_nPOHngeStatusSummation;
    static int m_nPOHngeStatusOccupancy[7];

    static constexpr UINT kMapBuckets = 10007;  // node and settlement maps

private:
    CDispRecords m_mapDisp;  // node displacement records
    // Moves on with every change of m_mapDisp; drawn from one counter for all engines, so two
    // engines' records never share a version.
    unsigned long long m_nDispVersion = 0;
    void DispChanged();
    void ClearDispRecords();
    // Per kept deformed member: the m_nDispVersion its records were all read from the map at, 0
    // when some came from the host.
    std::unordered_map<UINT, unsigned long long> m_KeptDispVersion;
    // The frame factor of the model's animation while it records, else 1.
    double FrameFactor() const;
    // Resets the extremes, keys, node lists and map of a list build; the map reads the host's
    // records (of slab deflections with bSlab) from the displacement table where they are its
    // records as they stand (HostDispSource).
    void ResetLists(bool bSlab);
    // The load of the displacement table whose records are what the host reads for every node
    // (ReadHostDisp, or GetSDflcData with bSlab); null when they are computed or from elsewhere.
    CDispRecords::Source HostDispSource(bool bSlab) const;
    // Takes a node not in the map yet with the host's record of it (as GetNodeDispData, or
    // GetNodeSDflcData with bSlab, reads it) into the map and the lists; 0 when there is none.
    int TakeHostNode(UINT nNode, const T_PNODE_D& rec, bool bSlab, double& dMax, double& dMin, UINT& nMaxKey,
                     UINT& nMinKey);
    // Adds one node's record, kept in the map already, to the lists with its value and extremes.
    void TakeNode(UINT nNode, const T_DISP_D& d, const T_PNODE_D& rec, double& dMax, double& dMin, UINT& nMaxKey,
                  UINT& nMinKey);
    // Member walk of the list builders; bSlab reads slab deflections and takes plate members only.
    void WalkMembers(bool bSlab, double& dMax, double& dMin, UINT& nMaxKey, UINT& nMinKey);
    // Legend extremes, keys, scale and colour scale after a list build; 1.
    int FinishList(double dMax, double dMin, UINT nMaxKey, UINT nMinKey, bool bScale);
    // Reads a record from the host in the slot of the model's load step.
    int ReadHostDisp(UINT nNode, T_DISP_D& d) const;
    int ReadEnvelopeDeflection(UINT nNode, T_DISP_D& d) const;
    // Drawing of one element's deformed faces, active or inactive.
    int DrawElement(CDC* pDC, UINT nElem, bool bActive);
    // Whether the post database's element table holds a super element, kept with the table it
    // was read from and that table's version: IsPossibleDisp asks for every member, and a raft
    // member has as many elements as plates.
    struct SuperElems {
        const void* table = nullptr;
        unsigned long long version = 0;
        bool any = true;
    };
    mutable SuperElems m_superElems;
    bool AnySuperElem(CDataBase* db) const;
};
