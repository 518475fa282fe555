// CForceEngine: the result engine of member and slab forces: beams, columns, trusses, walls,
// plate elements, slabs (forces, rebar, crack width, slab walls, strips), the story shear-force
// ratio and the column forces of the design figures.
//
// The result bars make one editing engine per bar container and the model keeps one; all are made
// with new on the model and deleted by their owner. The bars set the user's choices in the public
// fields, call InitEngine to build the data of the current display mode, and the model takes the
// result over with ImportEngine. The model's render switch then calls the drawing members of the
// mode. Per result family the engine keeps a data-built flag, the user's settings and the host's
// result records in keyed maps (member or element key to record) and key lists.
//
//     CForceEngine* e = new CForceEngine(pModel);
//     e->m_nBForcComp = 4;                       // moment y
//     e->InitEngine(nullptr, PVXMode::kFrameForceContour);
//     if (e->m_bBForcData) e->DrawBForcContour(pDC);
//
// Frame forces are read per member: T_STRG_D for beams (eight equal segments, each with a start
// and an end block of the six components, so nine stations at k/8 of the length), T_MBCL_D for
// columns (blocks at the i end, the j end and two inner stations). Component selectors 0..5 pick
// axial force, shear y, shear z, torsion, moment y, moment z; 6 the larger-magnitude shear and
// 7 the larger-magnitude moment. Builders return 1 when built and 0 with nothing to build;
// drawers 1 drawn, 0 no data, -1 Escape. Everything runs on the host's user-interface thread.
//
// Bodies by concern: CForceEngine.cpp (life, import, dispatch, accessors), CForceEngineFrame.cpp
// (frame lists and value pickers), CForceEngineContour.cpp (member band contours and their
// curved-member and column variants), CForceEngineDraw.cpp (the frame contour pass and the
// drawing passes of the render switch), CForceEngineOutline.cpp (band outlines of the diagram
// modes), CForceEngineFamilies.cpp (the builders of the other families), CForceEngineSlabRebar*.cpp
// and CForceEngineSlabWall.cpp (slab reinforcement, crack and slab walls).
#pragma once

#include <array>
#include <map>
#include <vector>

#include "module/engines/CEngineBase.h"
#include "module/force/FlatKeyIndex.h"
#include "module/force/KeptFaceBands.h"
#include "module/force/ForceRecords.h"
#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/db/DesignForceRecords.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CList.h"
#include "platform/afx/CMap.h"

class CDeformEngine;
class CSlabDetailDgn;
class CFigureDetailDisplay;
class CFigureDetailView;
class CPVXSElemCtrl;

// Settings and flags of the frame family that an import copies as they stand. Defaults are those
// of a new engine.
struct CForceFrameSettings {
    int m_bBForcData = 0;              // frame lists built for the current load
    int m_nBForcNumUnit = 0;           // number positions per member (0) or per element (1)
    // Component: 0 axial, 1 shear y, 2 shear z, 3 torsion, 4 moment y, 5 moment z, 6 shear yz,
    // 7 moment yz.
    int m_nBForcComp = 4;
    int m_nBForcPos = 3;               // position of single values: 0 i end, 1 j end, 2 middle, 3 member extreme
    int m_bBSfdBmdExact = 0;           // diagrams by the exact solution (1) or five points (0)
    int m_nCLDiagramPlane = 1;         // strip diagrams normal to the slab (0) or in its plane (1)
    // Number positions: the member's extreme only, every position, i end, middle, j end.
    int m_bNumAtMax = 0;
    int m_bNumAtAll = 1;
    int m_bNumIEnd = 0;
    int m_bNumMiddle = 0;
    int m_bNumJEnd = 0;
    UINT m_nMaxMembKey = 0;            // member holding the frame maximum; 0 none
    UINT m_nMinMembKey = 0;            // member holding the frame minimum; 0 none
    double m_dBSfdBmdAdjustFactor = 1.0;  // diagram scale: model length per unit value
    double m_dBSfdBmdScale = 1.0;      // user scale of the diagrams
    // Diagram fill type as a pair: none (1, 0), line fill (1, 1), full fill (0, 1).
    int m_bBSfdBmdLine = 1;
    int m_bBSfdBmdFill = 1;
    int m_bMinMaxDiagram = 0;          // envelope diagrams: the minimum-force records are read too
    int m_bShowBeam = 1;               // beams enter the beam list
    int m_bShowColumn = 1;
    int m_bShowTruss = 1;
    int m_bOnlyTruss = 0;
    int m_bTForcData = 0;              // truss lists built
    UINT m_nTMaxMembKey = 0;           // truss holding the truss maximum; 0 none
    UINT m_nTMinMembKey = 0;
    int m_bAbsMaxNumber = 0;           // diagram numbers: the two values the diagram record carries
    int m_bCForcData4Figure = 0;       // figure column forces built
    int m_bSSFRData = 0;               // story shear-force ratio present
    int m_nSSFROutput = 0;             // story shear output: 0 forces, 1 ratios
    int m_nSSFRAngleIndex = 0;         // index of the story-shear direction list
    double m_dSSFRAngle = 0.0;         // story-shear direction, degrees
};

// Settings and flags of the plate family, copied by an import.
struct CForcePlateSettings {
    int m_bPlateShowTG = 1;            // plate forces include T-girder members (204)
    int m_bPlateShowWall = 1;          // and wall members (209, 210)
    int m_bPForcData = 0;              // plate lists built
    int m_nPForcComp = 0;              // plate component 0..16
    int m_bPAverageNodal = 0;          // the component averaged at the nodes
    double m_dPVectorAdjustFactor = 1.0;  // vector length per unit value
    double m_dPVectorScale = 1.0;      // user scale of the vectors
    int m_bPShowLocalAxis = 0;         // each element's display axes drawn
    int m_nPNumberMode = 0;            // 1 the centre value, else the element's extremes
    double m_dPLocalAngle = 0.0;       // display axes turned about the element normal, degrees
    double m_dPAbsMax = 0.0;           // largest magnitude of the component
    UINT m_nPAbsMaxElem = 0;           // its element
    int m_bSkipActivePlateList = 0;    // after nodal averaging keep the element list as built
};

// Settings and flags of the wall family, copied by an import.
struct CForceWallSettings {
    int m_bWForcData = 0;              // wall lists built
    int m_nWForcComp = 4;              // wall component, as m_nBForcComp
    double m_dWSfdBmdAdjustFactor = 1.0;
    double m_dWSfdBmdScale = 1.0;
    int m_bWContourFill = 1;           // wall fill option; set: the wall diagrams draw band outlines
    int m_nWColmNumPos = 0;            // wall-column number positions (0..3)
    int m_nWBeamNumPos = 0;            // wall-beam number positions (0..3)
    int m_bWColmNumber = 0;
    int m_bWBeamNumber = 0;
};

// Settings, flags and extremes of the slab families (forces, rebar, crack, slab walls, strips),
// copied by an import.
struct CForceSlabSettings {
    int m_bSForcData = 0;              // slab forces built
    int m_nSForcComp = 0;              // slab component 0 Mxx to 8 Fxy
    int m_nSForcUnit = 0;              // granularity of modes 16 and 22: 0 per member, 1 per element
    int m_nSForcKind = 1;              // slab display kind: 0 text block, 1 contour
    int m_bSForcPos = 1;               // positive side shown
    int m_bSForcNeg = 1;               // negative side shown
    int m_nSForcLcomCount = 0;         // combinations enveloped for mode 16
    double m_dSMembMax = 0.0;          // range of the per-member slab results
    double m_dSMembMin = 0.0;
    int m_bSRbarData = 0;              // slab reinforcement built
    int m_nSRbarUnit = 0;              // granularity of mode 17
    int m_bSRbarTop = 1;
    int m_bSRbarBottom = 1;
    int m_nSRbarDir = 0;               // 0 X, 1 Y
    int m_nSRbarType10Count = 0;
    int m_nSRbarTotalLcom = 0;
    int m_nSCracLcomCount = 0;         // crack envelope: combinations (kind 11) after m_nSRbarTotalLcom
    int m_nSRbarKind = 0;              // slab rebar display kind: 0 total, 1 one direction
    int m_bSRbarYDir = 0;              // that direction is Y
    int m_bSCracData = 0;              // slab crack built
    int m_nSCracUnit = 0;              // granularity of mode 18
    int m_nSCracKind = 0;              // slab crack display kind: 0 total, 1 one direction
    int m_bSCracYDir = 0;              // that direction is Y
    double m_dSWallWidth = 1.0;        // length of the slab-wall cuts, m
    int m_bSWallUserKeys = 0;          // 0 all walls, 1 the user's walls
    int m_bSWallBuilt = 0;             // slab-wall data built (not cleared by InitEngine)
    int m_nSWallComp = 0;              // 0 moment, 1 shear, 2 rebar
    int m_nCLForcComp = 0;             // strip force: 0 bending moment, 1 shear force
    int m_bCLShowWidth = 1;            // strip width lines drawn
    int m_bCLForcData = 0;             // strip and rib forces built
    // Extremes of the slab results, read by the legend.
    double m_dSlabMomMaxPos = 0.0;     // largest positive slab moment
    double m_dSlabMomMaxNeg = 0.0;     // largest negative slab moment
    double m_dSlabRbarMaxTop = 0.0;    // largest top reinforcement
    double m_dSlabRbarMaxBot = 0.0;    // largest bottom reinforcement
    double m_dSlabCracMax = 0.0;       // largest crack width at the top face
    double m_dSlabCracMaxBot = 0.0;    // largest crack width at the bottom face
};

class CForceEngine : public CEngineBase,
                     public CForceFrameSettings,
                     public CForcePlateSettings,
                     public CForceWallSettings,
                     public CForceSlabSettings {
public:
    // ---- life ------------------------------------------------------------------------------
    // Every setting at its default, every map and list empty, a new slab design object, the
    // figure panels current now borrowed.
    explicit CForceEngine(I_PVXModelBase* pModel);
    ~CForceEngine() override;

    // Back to the defaults of one family, its maps emptied (their entries destroyed) and their
    // tables at kMapBuckets buckets. InitSlabData keeps the engine's slab design object.
    void InitBeamData();
    void InitPlatData();
    void InitWallData();
    void InitSlabData();

    // ---- import and dispatch -------------------------------------------------------------------
    // Makes this engine show what pSrc shows: its settings, flags and result data (maps replaced
    // by copies of the source's), the colour scale (kept when the source has none) and the
    // cutting lines. The source is left unchanged; a null source does nothing.
    void ImportEngine(CForceEngine* pSrc);
    void ImportEngine(CEngineBase* pSrc) override;
    // Builds the data of a display mode (-1: the bars' current mode; 5..39) for the model's load
    // selection. Every data-built flag but the slab-wall one is cleared first, so a mode without
    // data draws nothing. Returns the built flag of the mode's family (0 for other modes). The
    // deformation engine argument is not used.
    int InitEngine(CDeformEngine* pDeform, int nMode);
    // Clears the data-built flags of frame, plate, wall, story shear, truss, slab, rebar, crack
    // and strips.
    void ClearDataFlags();
    // The data-built flag of the family that serves a display mode; null for other modes.
    int* DataFlagOfMode(int nMode);

    // ---- record accessors (1: found and copied; 0: absent, output untouched) -----------------
    int GetBeamForce(UINT nKey, T_STRG_D& rec) const { return m_mapBForc.Lookup(nKey, rec); }
    int GetBeamForceMin(UINT nKey, T_STRG_D& rec) const { return m_mapBForcMin.Lookup(nKey, rec); }
    int GetColmForce(UINT nKey, T_MBCL_D& rec) const { return m_mapCForc.Lookup(nKey, rec); }
    int GetColmForceMin(UINT nKey, T_MBCL_D& rec) const { return m_mapCForcMin.Lookup(nKey, rec); }
    int GetTrussForce(UINT nKey, T_MBBR_D& rec) const { return m_mapTForc.Lookup(nKey, rec); }
    int GetPlateForce(UINT nKey, T_STRP_DL& rec) const { return m_mapPForc.Lookup(nKey, rec); }
    int GetWallDataB(UINT nKey, T_STRG_D& rec) const { return m_mapWBeamForc.Lookup(nKey, rec); }
    int GetWallDataC(UINT nKey, T_MBCL_D& rec) const { return m_mapWColmForc.Lookup(nKey, rec); }
    int GetWallDataB(UINT nKey, T_PVX_WBEAM_D& rec) const { return m_mapWBeam.Lookup(nKey, rec); }
    int GetWallDataC(UINT nKey, T_PVX_WCOLM_D& rec) const { return m_mapWColm.Lookup(nKey, rec); }
    int GetSlabForce(UINT nKey, T_STRP_DL& rec) const { return m_mapSForc.Lookup(nKey, rec); }
    int GetSlabForcePos(UINT nKey, T_STRP_DL& rec) const { return m_mapSForcPos.Lookup(nKey, rec); }
    int GetSlabForceNeg(UINT nKey, T_STRP_DL& rec) const { return m_mapSForcNeg.Lookup(nKey, rec); }
    // 1 when the key is in the slab member map; the second argument is not used.
    int GetSlabForceMemb(UINT nKey, UINT) const;
    int GetPForcComp() const { return m_nPForcComp; }
    int GetSForcComp() const { return m_nSForcComp; }
    // A copy of the figure column forces replaces the caller's array.
    void GetCForcData(CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&>& out) const;

    // ---- figure column forces (display mode 32; CForceEngineFigColumn.cpp) --------------------
    // Reads the column forces (T_MBCL_D, slot by the model's load-result kind) of the model's
    // columns (type 101) into m_mapCForc (and m_mapCForcMin for envelope diagrams) with their keys
    // in m_arrMembKey, sets the legend range and then the figure records. 1 built, 0 with no
    // load applied or a column whose forces cannot be read.
    int MakeCForcDataList4Figure();
    // One T_PVX_BFORC_D per column with a record, in member order, and the summary of their
    // extremes; nothing while m_bCForcData4Figure is 0.
    void MakeCForcNumbers4Figure();
    // Numbers of the figure columns: the design figures write them; nothing is drawn here.
    void OutputCForcNumbersMemb4Figure(CDC* pDC);
    // 1 when row 0 is exactly (1, 0, 0) and row 1 exactly (0, 1, 0) (the plan view); row 2 is not
    // looked at.
    static int IsXYPlaneVector(const double m[3][3]);
    // Per value of T_PVX_BFORC_D::dForce (0..9) over m_arrCForc4Figure: indexes of the records
    // holding the largest and the smallest value (the first on ties), of the one holding the
    // larger magnitude of the two (the maximum on equal magnitudes), that record's member key and
    // value. Indexes -1 while there is no record.
    struct FigColmSummary {
        int nMaxIdx[10];
        int nMinIdx[10];
        int nAbsIdx[10];
        UINT nAbsKey[10];
        double dAbsVal[10];
    };
    FigColmSummary m_figColmSummary{};

    // ---- frame-member tests -------------------------------------------------------------------
    // 1 for beams (member types 201, 205) and T-girders (204); columns (101) and others 0.
    static int IsPossibleBForc(const T_PMEMB_D& memb);
    // 1 for an element of the frame family (kind 2).
    static int IsPossibleBForc(const T_PELEM_D& elem);
    // 1 for a member the frame displays draw with forces: a beam or T-girder, or a column whose
    // forces the column map holds.
    int IsFrameForceMember(UINT nKey, const T_PMEMB_D& memb) const;
    // Reads a column's forces in the slot of the model's load-result kind (with both sides the
    // maximum and the minimum record, bMinToo then set): 1 read, 0 no record, -1 a load-result
    // kind that has no column record.
    int ReadColumnForces(UINT nKey, bool bBothSides, T_MBCL_D& rec, T_MBCL_D& recMin, bool& bMinToo) const;
    // Reads a column's forces into the column maps and widens dMax/dMin by them: 1 taken, 0 a
    // column without forces for this load.
    int TakeColumnForces(UINT nKey, bool bBothSides, double& dMax, double& dMin);

    // ---- value pickers (CForceEngineFrame.cpp) --------------------------------------------------
    // Value of the engine's component at block 2 seg + end of a beam record.
    double CalcBForcValue(const T_STRG_D& rec, int nSeg, int nEnd) const;
    // The same with the component given (0..7; others give 0).
    static double CalcBForcValue(const T_STRG_D& rec, int nComp, int nSeg, int nEnd);
    // Column block 0..3 with the component given.
    static double CalcCForcValue(const T_MBCL_D& rec, int nComp, int nBlock);
    // By position: 0 i end, 1 j end, 2 mid-span, 3 the member's extreme of larger magnitude
    // (the minimum only when it is larger), others 0.
    double CalcBForcValue(const T_STRG_D& rec, int nPos) const;
    // By position: 0 i end, 1 j end, 2 the inner block of larger magnitude (block 3 on a tie),
    // 3 the extreme of larger magnitude (the maximum on a tie), others 0.
    double CalcCForcValue(const T_MBCL_D& rec, int nPos) const;
    // Value at the station nearest to p between the member ends i and j, distances in plan;
    // linear between the two ends of the segment it falls in.
    double CalcPart4NearValue(const T_STRG_D& rec, const C3DPoint& p, const C3DPoint& i, const C3DPoint& j) const;

    // ---- member extremes ------------------------------------------------------------------------
    // Largest / smallest value over the 16 blocks (6 and 7: both components of every block).
    double GetMaxMembBForc(const T_STRG_D& rec) const;
    double GetMinMembBForc(const T_STRG_D& rec) const;
    // The same over the four column blocks; with a member key, an inner block counts only when
    // the member has its inner node.
    double GetMaxMembCForc(UINT nKey, const T_MBCL_D& rec) const;
    double GetMinMembCForc(UINT nKey, const T_MBCL_D& rec) const;
    // Widen the running extremes with one member, keeping its key with a new extreme (ties keep
    // the member seen first).
    void MinMaxMembBForc(UINT nKey, T_STRG_D rec, double& dMax, double& dMin);
    void MinMaxMembCForc(UINT nKey, T_MBCL_D rec, double& dMax, double& dMin);
    // Over the beams of the member that holds element key: the largest member extreme, or the
    // signed value of largest magnitude; 0 when no member holds it.
    double GetMaxBForcInMember(UINT& nKey) const;
    double GetAbsMaxBForcInMember(UINT& nKey) const;
    // 1 while envelope diagrams are drawn: the min/max option is on and the model's load-result
    // kind is 3 (both records read).
    int IsMinMaxDiagram() const;

    // ---- frame builders -------------------------------------------------------------------------
    // Reads the frame force records of the model's members for the selected load (beams and
    // T-girders while m_bShowBeam is set, columns into the column maps while m_bShowColumn is):
    // 1 when at least one member was stored, 0 when nothing was (no load selected, no member with
    // results).
    int MakeBForcDataList();
    // Legend range and keys from the frame and truss extremes, diagram scale, colour scale with
    // percent-rank weights (every member weighing 1).
    void FinishMakeBForcData();
    // Empties the frame key lists and force maps.
    void ResetBeamResultData();
    // Diagram scale: the model's largest extent over 20 |dMaxValue| (|value| < 1e-15 counts as 1).
    void InitBSfdBmdAdjustFactor(double dMaxValue);

    // ---- member band contours (CForceEngineContour.cpp) -----------------------------------------
    // The member axis A-B as a banded line, segment by segment from the higher-valued end.
    void DoBForcLineContour(CDC* pDC, CList<C3DPoint>* pFace, T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A,
                            C3DPoint& B);
    // One face of a beam: end caps in one colour, side faces cut along the eight segments. The
    // last three arguments are not used.
    void DoBForcPolyContour(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                            T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A, C3DPoint& B,
                            CMap<int, int, double, double>* pUnused1, double* pUnused2, CArray<UINT>** pUnused3);
    // A side face of a one-element member: the eight segments laid over its length.
    void DoBForcPolyContour_absolute(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                                     T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A, C3DPoint& B);
    // A side face of one element of a longer member: the segments the element spans, each piece
    // as long as its part of the element.
    void DoBForcPolyContour_relative(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                                     T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A, C3DPoint& B);
    // One face of a T-girder: each vertex valued at its own plan position along A-B.
    void DoTGForcPolyContour(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                             T_PMEMB_D& memb, T_STRG_D& forc, C3DPoint& A, C3DPoint& B);
    // Force at a node of a T-girder face from its plan position between A and B.
    double CalcTGirderValueByNode(const T_PNODE_D& node, const C3DPoint& A, const C3DPoint& B,
                                  const T_STRG_D& forc) const;
    // Curved members: points carry their relative position (0 i end, 1 j end) in a map by key.
    void DoBForcLineContour_curve(CDC* pDC, CList<C3DPoint>* pPolyline, T_PMEMB_D& memb, T_STRG_D& forc,
                                  CMap<int, int, double, double>* pPositions, double dL, CArray<UINT>* pKeys);
    void DoBForcPolyContour_curve(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pUnused,
                                  T_STRG_D& forc, CMap<int, int, double, double>* pPositions, double dL,
                                  CArray<UINT>* pKeys);
    // Columns: values of the four blocks placed at the member's first, last and inner nodes.
    void DoCForcLineContour(CDC* pDC, CList<C3DPoint>* pPoints, CArray<UINT>* pNodeKeys, T_PMEMB_D& memb,
                            T_MBCL_D& forc, C3DPoint& ptFirst, C3DPoint& ptLast, C3DPoint& ptInnerI,
                            C3DPoint& ptInnerJ);
    void DoCForcPolyContour(CDC* pDC, CList<C3DPoint>* pFace, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                            T_PMEMB_D& memb, T_MBCL_D& forc);

    // ---- drawing (CForceEngineDraw.cpp, CForceEngineOutline.cpp) ----------------------------------
    // Frame force contour of all beams and T-girders (display mode 6), other members plain.
    void DrawBForcContour(CDC* pDC);
    // One member: 1 drawn with bands, 0 drawn plain or not at all, -1 Escape.
    int DoBForcMemberContour(CDC* pDC, UINT nMembKey);
    // Band polygons: in the line style of the diagram modes only their flagged edges in band
    // colours, else the engine base's fill.
    void DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override;
    void DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override;
    // Whether the overrides draw band outlines in the current display mode (bGrad: the gradient
    // override).
    int IsBandOutlineStyle(int bGrad) const;

    // Drawing passes of the other families, called by the render switch.
    // Story shear (CForceEngineStory.cpp): every member with a value in m_mapSSFR painted in
    // one flat band colour of it (line members as their axis or frame faces, plane members face
    // by face), the others inactive; numbers at the window midpoint of each member's end nodes.
    void DrawSSFRData(CDC* pDC);
    void OutputSSFRData(CDC* pDC);
    // One member of the story shear display: 1 drawn, 0 nothing to draw (no value, no colour
    // scale, no record), -1 Escape. The solid drawer tests every face for visibility.
    int DoFrameTypeSSFR(UINT nKey, CDC* pDC);
    int DoPlaneTypeSSFR(UINT nKey, CDC* pDC);
    int DoSolidTypeSSFR(UINT nKey, CDC* pDC);
    // Label point of a member of types 201, 205, 101, 204, 209, 210, 206: its first and last
    // node into pts, their window points into winPts, the midpoints in the world and (truncated)
    // in the window; 0 for other types or a missing node.
    int GetTextPoint(T_PMEMB_D& memb, C3DPoint& mid, CPoint& midWin, CArray<CPoint, CPoint&>& winPts,
                     CArray<C3DPoint, C3DPoint&>& pts);
    void DrawTForcContour(CDC* pDC);
    void OutputTForcNumbers(CDC* pDC);
    void DrawTrussSfdBmd(CDC* pDC);
    void DrawWForcContour(CDC* pDC);
    void DrawWallSfdBmd(CDC* pDC);
    void OutputWForcNumbers(CDC* pDC);
    void DrawPForcContour(CDC* pDC);
    void OutputPForcNumbers(CDC* pDC);
    void DrawSForcContour(CDC* pDC);
    // Slab elements whose bands DrawSForcContour keeps from one drawing to the next.
    size_t KeptSlabBandCount() const { return m_keptSlabBands.KeptCount(); }
    // Plate elements whose bands DrawPForcContour keeps from one drawing to the next.
    size_t KeptPlateBandCount() const { return m_keptPlateBands.KeptCount(); }
    void DrawSForcContourMemb(CDC* pDC);
    void OutputSForcNumbers(CDC* pDC);
    void OutputSForcNumbersMemb(CDC* pDC);
    void DrawSRbarContour(CDC* pDC);
    void OutputSRbarNumbersMemb(CDC* pDC);
    void DrawSCracContour(CDC* pDC);
    void DrawSWallContour(CDC* pDC);
    void OutputSWallNumbers(CDC* pDC);
    void DrawCLineSfdBmd(CDC* pDC);
    void OutputSBForcNumbersMemb(CDC* pDC);
    // Per-member slab rebar and crack contours and the per-member crack numbers are not drawn:
    // these members do nothing.
    void DrawSRbarContourMemb(CDC*) {}
    void DrawSCracContourMemb(CDC*) {}
    void OutputSCracNumbersMemb(CDC*) {}
    // Per element: each raft element's value of m_mapSDgnElem at its centre.
    void OutputSRbarNumbers(CDC* pDC);
    void OutputSCracNumbers(CDC* pDC);

    // ---- builders of the other families (CForceEngineFamilies.cpp) -----------------------------
    // Story shear values of the selected load case from the host's story shear records: the
    // force or the ratio (m_nSSFROutput) along m_dSSFRAngle (0, 45 or 90 degrees) per member,
    // with the legend range and colour scale; 1 when a member has a value (m_bSSFRData set), 0
    // for a combination, another angle or no record (CForceEngineStory.cpp).
    int MakeSSFRData();
    int MakeWForcDataList();
    int MakeDgnWForcDataList();
    int MakePForcDataList();
    int MakeSForcDataList();
    int MakeSForcDataListMemb();
    int MakeSRbarDataList();
    int MakeSRbarDataListMemb();
    int MakeSCracDataList();
    int MakeSCracDataListMemb();
    int MakeSWallDataList();
    int MakeSStripDataList();
    int MakeSBForcDataList();
    int MakeSBForcDataListMemb();
    void FinishMakeCLForcData();

    // ==== slab forces of display mode 16 ==========================================================
    // (CForceEngineSlab.cpp: lists and the small slab operations the rebar, crack, slab-wall,
    // strip and slab-beam code share; CForceEngineSlabDraw.cpp: contours and numbers.) Per element
    // every analysis element of the slab members (types 301, 302, 305) has a T_STRP_DL record
    // turned into its member's rebar directions (m_mapSForc; with the envelope load type 12 the
    // maximum and minimum over the enveloped combinations in m_mapSForcPos and m_mapSForcNeg) and
    // its shape in m_mapSbem; per member m_arrElemKey lists the slab members and the host's member
    // moments (T_SMNT_D) are read when drawn. Components m_nSForcComp: 0 Mxx, 1 Myy, 2 Mxy, 3 Vxx, 4 Vyy,
    // 5 the shear of larger magnitude (Vyy on a tie), 6 Fxx, 7 Fyy, 8 Fxy.
    static constexpr int kSForcCompCount = 9;
    // Selected component of a block 0 (centre) to 4; 0.0 outside.
    double CalcSForcValue(const T_STRP_DL& rec, int nBlock) const;
    // Writes the component in a block (nothing for the derived selector 5).
    void SetSForcComponent(T_STRP_DL& rec, int nBlock, double dValue) const;
    // Extremes over the corner blocks 1..n (at most 4); -DBL_MAX / +DBL_MAX for n < 1.
    double GetMaxElemSForc(const T_STRP_DL& rec, int n) const;
    double GetMinElemSForc(const T_STRP_DL& rec, int n) const;
    // One analysis element read for the selected load (or enveloped over the combinations of the
    // bars' current mode), turned from its local axes into the rebar axes and stored; 1 stored.
    int MakeSForcDataList_Sub(UINT nKey, double local[3][3], double rebar[3][3]);
    // Legend range, legend keys and colour scale of the per-element lists; returns 1.
    int MakeSForcDataList_MnMx();
    // Its walk over the records of the sides shown into m_legendMemo: extremes and weighed values.
    void MakeSForcLegendWalk(bool bEnvelope);
    // Range of the per-member side moments (m_dSMembMax, m_dSMembMin) and legend keys; 0 when a
    // listed member has no moments.
    int MakeSForcDataListMemb_MnMx();
    // Mode 16 per member: legend range, extreme members, text-block extremes, colour scale and
    // percentages of the numbers written for the sides shown.
    void FinishMakeSMembData();
    // The colour levels of the sides shown, installed as the contour engine's global range.
    void MakeSForcPosNegRange();
    // What a kept list build (the per-element slab lists of mode 16, the plate lists of mode 10)
    // is built from: which build, the model and its load selection, the active members, the bars'
    // mode (it names the enveloped combinations), the databases with the newest version of their
    // tables, and the build's own choices. While it stays the same the build keeps the records of
    // its last run and only redoes the legend and scale; any other builder that writes the shared
    // lists (m_arrElemKey, m_mapSbem), an import and the settings resets drop them.
    struct ListInputs {
        int nList = 0;  // display mode of the build
        const void* pModel = nullptr;
        const void* pAttr = nullptr;
        int bResultDataReady = 0;
        UINT nLoadType = 0, nLoadKey = 0;
        int nLoadStep = 0, nDisplayMode = 0, nBarDisplayMode = 0, nCurrentMode = 0;
        std::vector<UINT> activeMembs;
        std::vector<double> selectedComb;  // kind, key, factor of each term of the host's selection
        std::vector<const void*> dbs;
        std::vector<unsigned long long> dbVersions;
        std::vector<double> choices;  // the engine's settings the build reads
        bool operator==(const ListInputs&) const = default;
    };
    // The inputs of build nList (PVXMode::kSlabForce or kPlateForce) as they stand now.
    ListInputs CurrentListInputs(int nList) const;
    // 1 when the lists hold the build nList would make now.
    int KeptListsServe(int nList) const { return m_bListsKept && CurrentListInputs(nList) == m_keptListInputs; }
    // Marks the lists as build nList of the present inputs (taken after the build: reading a load
    // case for the first time changes its table's version).
    void KeepLists(int nList) {
        m_keptListInputs = CurrentListInputs(nList);
        m_bListsKept = 1;
    }
    void ForgetKeptLists() { m_bListsKept = 0; }
    // The component averaged at the nodes (each envelope map on its own).
    void GetAverageNodalSForcDataList();
    // 1 when an element carries slab results: a plate, or a super element with its own results.
    int IsPossibleSForc(UINT nElemKey) const;
    static int IsPossibleSForc(T_PELEM_D& elem);
    // 1 for the combination load types 10, 11 and 12.
    int IsLoadCombination() const;
    // The host's moments of a slab member for the selected load: side lists and centre moments
    // along X and Y; 0 (lists emptied) when it has none.
    int GetSmnt(UINT nMembKey, CArray<double, double>& pos, CArray<double, double>& neg, double& dCentreX,
                double& dCentreY) const;
    // Slab result type of a member's slab record; -1 without one.
    int GetSlabResultType(UINT nMembKey) const;
    // Unit plan vectors of a slab member's X and Y rebar directions (Y square to X,
    // counter-clockwise); a member without a direction record has X along the global X axis.
    // Returns 1.
    int GetRebarDirVector(UINT nMembKey, double dirX[2], double dirY[2]) const;
    // The combinations enveloped for the bars' current mode with load type 12: kind (10 or 11),
    // first number and count; 0 for a mode without enveloped combinations.
    int GetSlabEnvelopeCombs(int& nKind, int& nFirst, int& nCount) const;

    // Slab drawing: one element's faces in colour bands (1, or -1 on Escape).
    int DoSForcElementContour(CDC* pDC, UINT nElemKey);
    int DoSForcElementContour(CDC* pDC, UINT nElemKey, T_PELEM_D& elem);  // elem: the element's record
    // Per-member numbers, queued on the model's slab-number queue (kind 6 positive side and
    // centre values, 7 negative side values). A list of side values on the edges of an outline
    // at an elevation: three per edge at 1/6, 1/2 and 5/6 of it, or one at its middle; any other
    // count queues nothing.
    void OutputDetailSlabMembSide(const _DBDataArray<CZELF_DBLineObjData>& edges, double dElevation,
                                  const CArray<double, double>& values, int nKind, I_PVXModel* pModel);
    // One number at an anchor, written along the segment from `from` to `to`.
    void OutputDetailSlabMembSide(C3DPoint anchor, C3DPoint from, C3DPoint to, double dValue, int nKind);
    // The segment of a side's number: from the side's middle 20 pixels square to the side (turned
    // counter-clockwise in plan), with its window points. A side of no length leaves `to` and the
    // window points as passed.
    void GetDetailSlabMembSideNodes(C3DPoint a, C3DPoint b, C3DPoint& from, C3DPoint& to, CPoint& fromWin,
                                    CPoint& toWin);
    // The two centre numbers at one anchor, along the X and the Y rebar direction.
    void OutputDetailSlabMembCenter(C3DPoint centre, double dCentreX, double dCentreY, const double* dirX,
                                    const double* dirY);
    // Coordinates of nodes by key; 0 at the first unknown node.
    int GetPolyLinePoint(CArray<UINT, UINT>& nodeKeys, CArray<T_POINT3D, T_POINT3D>& points);
    // The straight edges of a slab outline, closed; 1 when it has more than one edge.
    int GetAreaEdgeInfo(const CArray<UINT, UINT>& outlineKeys, const CArray<UINT, UINT>& nodeChain,
                        _DBDataArray<CZELF_DBLineObjData>& edges);
    // Text angle in tenths of a degree of a line between two window points, turned half a circle
    // (flipped 1) where text would read upside down.
    static void GetDetailSlabSlope(CPoint a, CPoint b, int& nAngle, int& bFlipped);

    // ---- slab reinforcement and crack (modes 17, 18), slab walls (mode 20) ---------------------
    // (CForceEngineSlabRebar.cpp: lists and the per-element loop; CForceEngineSlabRebarNumbers.cpp:
    // the per-member reinforcement numbers; CForceEngineSlabWall.cpp: the wall-end cuts.)
    // Slab element forces of the active slab members (301, 302, 305) turned into each slab's own
    // axes, with their shapes and members; 0 for a granularity other than per element (1), no load or an
    // unreadable member.
    int MakeSlabElementList(int nUnit);
    // The active slab members in m_arrElemKey; 0 for a granularity other than per member (0).
    int MakeSlabMemberList(int nUnit);
    // Drops from m_arrElemKey the slab members without the host's moments for the selected load
    // (a floor slab of a project that keeps the raft's only): 0 when members were listed and none
    // has them, else 1.
    int KeepSlabMembersWithMoments();
    // Per-element values of modes 17 and 18 from the element design (PDDELEM) of the selected
    // design combination, or under the design envelope (load type 12) the largest over the design
    // combinations: mode 17 the reinforcement of direction m_nSRbarDir on the faces shown (the
    // larger of the two), mode 18 the widest of the element's four crack widths. Sub-element key
    // to value, filled by the per-element range steps.
    std::map<UINT, double> m_mapSDgnElem;
    // Fills m_mapSDgnElem for the listed sub-elements (kind 1 areas, 2 cracks), sets the legend
    // range, its elements and the colour scale; 0 when no element has a value.
    int MakeSlabElemDesignRange(int nKind);
    // The value of one element's design list for the kind, false when it has none.
    bool SlabElemDesignValue(const CArray<double, double>& values, int nKind, double& dValue) const;
    // The element's faces in the colour of its value; 0 when it has none (drawn plainly).
    int DoSlabElemDesignContour(CDC* pDC, UINT nElemKey);
    // The numbers of m_mapSDgnElem at the element centres when the granularity is per element.
    void OutputSlabElemDesignNumbers(CDC* pDC, int bData, int nUnit);
    // Range steps: per element the element design values (above); per member no value is
    // gathered into the range (0 to 0) but under a single load every slab needs its
    // moments; the crack per member needs them only when m_nSRbarTotalLcom is set.
    int MakeSRbarDataList_MnMx();
    int MakeSCracDataList_MnMx();
    int MakeSRbarDataListMemb_MnMx();
    int MakeSCracDataListMemb_MnMx();
    // Mode 17 per member: the legend's top and bottom maxima of the numbers written, with their
    // members as the model's minimum and maximum keys.
    void FinishMakeSRbarMembData();
    int SetSRbarTotalLcom4Dgn();
    // Per-element drawing of modes 17 and 18: beams (201) as members at twice the line width,
    // inactive elements and elements without slab results as inactive members, the others by the
    // element drawer (the element's band colour, or plainly without a design value); the plain
    // model under the design envelope when no element has a value.
    void DrawSlabElementLoop(CDC* pDC, int nUnit, int (CForceEngine::*elementDrawer)(CDC*, UINT, UINT));
    int DoSRbarElementContour(CDC* pDC, UINT nElemKey, UINT nMembKey);
    int DoSCracElementContour(CDC* pDC, UINT nElemKey, UINT nMembKey);
    // The host design's reinforcement of a slab member under the design envelope (load type 12),
    // the largest magnitude of each place over design combinations 1..m_nSRbarType10Count: bottom
    // at the centre along X and Y, top (A) and bottom (B) of each outline edge. 0 under another
    // load or when no combination gives a design.
    int GetSRbarMembEnvelope(UINT nMembKey, double& dResultA, double& dResultB, CArray<double, double>& arrA,
                             CArray<double, double>& arrB);
    // The two wall-end records of a wall (end 0 at its first node, 1 at its last): 0 when the wall
    // has fewer than two nodes or a node cannot be read.
    int MakeSWallWColDataList(UINT nWallKey, T_PMEMB_D memb);
    void FinishMakeSWallData();  // legend range, extreme walls and percentages of the written values

    // ==== shear-force and bending-moment diagrams of beams and columns, with their numbers ======
    // (CForceEngineDiagram.cpp: the member walk, element drawers and polygon builders;
    // CForceEngineDiagramOut.cpp: output records and end offsets; CForceEngineNumbers.cpp: the
    // frame force numbers.) Diagram polygons go to four parallel lists: points, one value per
    // point, one edge flag per point (1: the outline edge from this point to the next of its
    // polygon is drawn; edges along the member axis never are) and one quad flag per polygon
    // (1: four points, 0: three). Every polygon runs from the member axis through the diagram
    // line back to the axis, and no polygon straddles a zero of the diagram.
    typedef CArray<C3DPoint, C3DPoint&> DiagramPointList;
    typedef CArray<double, double&> DiagramValueList;
    typedef CArray<int, int> DiagramFlagList;

    // The frame force diagrams of display modes 7, 21 and 22: every member in depth order (plain
    // or on the deformed shape), one banded diagram per beam, T-girder and column with forces,
    // then, with numbers on, the numbers of every diagram.
    void DrawBeamSfdBmd(CDC* pDC);
    // One member's diagram (its component, both sides of envelope diagrams, both components of
    // the combined selectors 6 and 7), filled at once. The last argument is handed to the
    // polygon builders unchanged.
    void DoBeamElementSfdBmd(CDC* pDC, UINT nKey, int nOpt);
    void DoColumnElementSfdBmd(CDC* pDC, UINT nKey, int nOpt);
    // Cuts the polygons of the lists into colour bands and draws them with the engine's list
    // drawing (gradient while the model's gradient option is on).
    void DoBSfdBmdContour(CDC* pDC, DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                          DiagramFlagList& quads);
    // Beam diagram of one component (0..5) between the axis points I and J, appended to the lists.
    // Label points (slots 0..2, may be null) and extremes (two values, may be null) as the number
    // options ask: the diagram-values switch gives (minimum, maximum) with their points in slots 0
    // and 1; the member-extreme option (0, signed value of largest magnitude) with its point in
    // slot 1; else the diagram points of stations 1, 4 and 7. The int, outline list and last
    // double are not used.
    void BSfdBmdMakePolygon(T_STRG_D& forc, int nComp, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ,
                            DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                            DiagramFlagList& quads, C3DPoint* pLabels, UINT nKey, double* pExtremes, int nOpt,
                            DiagramPointList* pOutline, double dUnused);
    // The maximum side and the combined components: the same diagram with its nine stations on
    // the member's plan line, a straight line or, for a curved member, the arc of the signed arc
    // height dArcChord between the ends in plan, heights linear from I to J. pOutline (may be
    // null) receives the diagram line, start and end point of each segment. The int is not used.
    void BSfdBmdMakePolygon_New(T_STRG_D& forc, int nComp, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ,
                                DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                                DiagramFlagList& quads, C3DPoint* pLabels, double* pExtremes, int nOpt,
                                DiagramPointList* pOutline, double dArcChord);
    // Column diagram through the stations the member has (i end, inner stations by the member's
    // node3/node4, j end). Label points: 4 slots (may be null); station values (4, may be null):
    // i end, first inner, second inner, j end, as drawn.
    void BSfdBmdMakePolygonColm(T_MBCL_D& forc, int nComp, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ,
                                C3DPoint& ptInner1, C3DPoint& ptInner2, DiagramPointList& points,
                                DiagramValueList& values, DiagramFlagList& edges, DiagramFlagList& quads,
                                C3DPoint* pLabels, UINT nKey, T_PMEMB_D& memb, double* pStations, int nOpt,
                                DiagramPointList* pOutline);
    // World length of the diagram pieces: one sixth of an inch on the view's screen; 0 when the
    // view gives no scale (then a segment is one piece).
    double GetSfdBmdPieceLength() const;
    // Pieces of a segment of length dLength for a piece length: ceil(dLength / dStep) (an exact
    // multiple within rounding gives exactly that many), at most kMaxSfdBmdPieces, 1 without a
    // usable step, 0 for a segment of no length.
    static int GetSfdBmdPieceCount(double dLength, double dStep);
    static constexpr int kMaxSfdBmdPieces = 1000;
    // Offset direction of a two-dimensional diagram (axes rows: local x, y, z; the key is not
    // used): row 2 becomes row 1 when m_dLclVec2D is the plan matrix or the component is the axial
    // force; otherwise the axes stay.
    void GetLclVec4BeamDgrm2D(UINT nKey, double axes[3][3]);
    // The beam diagrams of the two-dimensional display of mode 7: both bending directions turned
    // into the plan normal of the member, so that every diagram lies in the plan.
    void GetPlanAxes4BeamDgrm2D(UINT nKey, double axes[3][3]);
    // Axis ends of a member's diagram: its first and last node (a T-girder: its bottom edge, the
    // fourth to the third outline node) on the undeformed or deformed shape, with the inner
    // stations of a column; 0 when the member has no two positions.
    int GetSfdBmdAxis(UINT nKey, const T_PMEMB_D& memb, C3DPoint& ptI, C3DPoint& ptJ, C3DPoint* pInner1,
                      C3DPoint* pInner2);

    // Output records (CForceEngineDiagramOut.cpp). Get: 0, record untouched, while numbers are
    // off; the side argument is not used. Add: appends to the side's list (0 maximum, 1 minimum).
    int GetBSfdBmdOutputDataB(T_SFDBMD_OUTVAL_D& rec, UINT nKey, C3DPoint* pLabels, T_STRG_D& forc, double* pValues,
                              int nComp, int nSide);
    int GetBSfdBmdOutputDataC(T_SFDBMD_OUTVAL_D2& rec, UINT nKey, C3DPoint* pLabels, T_MBCL_D& forc,
                              double* pStations, int nComp, int nSide);
    void AddBSfdBmdOutputDataB(UINT nKey, C3DPoint* pLabels, T_STRG_D& forc, double* pValues, int nComp, int nSide);
    void AddBSfdBmdOutputDataC(UINT nKey, C3DPoint* pLabels, T_MBCL_D& forc, double* pStations, int nComp,
                               int nSide);
    // One record of the largest magnitudes of a member's records (both components, both sides):
    // a later record wins a slot only with a strictly larger magnitude. 0 for an empty list.
    int CalcAbsMaxB(CArray<T_SFDBMD_OUTVAL_D, T_SFDBMD_OUTVAL_D&>& recs, T_SFDBMD_OUTVAL_D& merged);
    int CalcAbsMaxC(CArray<T_SFDBMD_OUTVAL_D2, T_SFDBMD_OUTVAL_D2&>& recs, T_SFDBMD_OUTVAL_D2& merged);
    // Writes component 0..5 of one station (segment, end) or column block; others write nothing.
    static void SetBForcValue(double dValue, T_STRG_D& forc, int nComp, int nSeg, int nEnd);
    static void SetCForcValue(double dValue, T_MBCL_D& forc, int nComp, int nBlock);
    // Diagram ends of a component between the member ends: shear y and moment z start and end at
    // the end offsets of direction 2, shear z and moment y at those of direction 3 (the member's
    // end record; none: the whole member); axial force and torsion and unknown members span it.
    void GetOffsetedPointMemb(UINT nKey, C3DPoint ptI, C3DPoint ptJ, C3DPoint& diagI, C3DPoint& diagJ, int nComp);

    // Numbers (CForceEngineNumbers.cpp). Mode 6: the member values of the frame contour.
    void OutputBForcNumbers(CDC* pDC);
    // The numbers of one beam / column diagram: anchors are the record's label points (i end,
    // middle, j end), values the record's values. Queued on the model's overlay queue when the
    // view is drawn through retained geometry or straight to a device, else drawn at once.
    void OutputSfdBmdNumberB(CDC* pDC, UINT nKey, T_STRG_D forc, C3DPoint* pAnchors, int nComp, double* pValues);
    void OutputSfdBmdNumberC(CDC* pDC, UINT nKey, T_MBCL_D forc, C3DPoint* pAnchors, int nComp, double* pValues);
    // Window slope (tenths of a degree) of the segment a-b and whether it was turned to stay
    // readable; when an end is off the window, of the first visible sample of the segment.
    // 0 (slope and direction 0) when no sample is visible.
    int GetSlopeEx(int& nSlope, C3DPoint a, C3DPoint b, int& nDirection);
    // Vertical alignment of a label at p beside the member a-b: 0 (top) or 8 (bottom) by the side
    // p lies on, the other one when a flip is set.
    int GetTopBotAlign(C3DPoint& p, C3DPoint& a, C3DPoint& b, int nFlip1, int nFlip2);
    // First and last point of the member's drawn shape; returns 1.
    int GetIJPosBForcMemb(UINT nKey, T_PMEMB_D& memb, C3DPoint* pI, C3DPoint* pJ);
    // The kind (0 near the legend maximum, 1 near the minimum, 2 near the larger-magnitude
    // extreme) of a value under the number options' extreme filter, -1 when it is filtered out.
    int GetSfdBmdExtremeKind(double dValue) const;

    int m_bCSfdBmdPlanLabel = 0;  // two-dimensional diagrams: columns carry numbers too

    // ==== cutting-line forces of strips and rib beams (display modes 21, 22) ==================
    // (CForceEngineCutLine.cpp: value pickers, diagrams, the straight-line polygon builder;
    // CForceEngineCutLineNumbers.cpp: their numbers; CForceEngineStrip.cpp: the strip and rib
    // builders.) A record's force block has the layout of T_STRG_D; only the bending moment
    // (component 0) and the shear force (component 3) are filled. m_nCLForcComp picks one: 0 the
    // moment, 1 the shear.

    // Selected force at a station (segment 0..7, end 0 start / 1 end); 0 for another selector.
    double CalcCLForcValue(const T_STRG_D& f, int nSeg, int nEnd) const;
    // Component 0 or 3 at a station; 0 for another component.
    static double CalcCLForcValue(const T_STRG_D& f, int nComp, int nSeg, int nEnd);
    // Selected force by position: 0 start, 1 end, 2 middle, 3 the extreme of larger magnitude
    // (the maximum on a tie); 0 for another position.
    double CalcCLForcValue(const T_STRG_D& f, int nPos) const;
    // Largest / smallest selected force over the 16 stations; -DBL_MAX / +DBL_MAX for a selector
    // other than 0 and 1.
    double GetMaxMembCLForc(const T_STRG_D& f) const;
    double GetMinMembCLForc(const T_STRG_D& f) const;
    // Widens the running extremes with a block (strictly larger / smaller values only).
    void MinMaxMembCLForc(T_STRG_D f, double& dMax, double& dMin) const;
    // One line's diagram, centre line and width lines; nOpt goes to the polygon builder. With
    // numbers on, its output record carries nRecord + 1 as key, so that the numbers find their
    // line. 1 drawn, 0 not (no contour engine, an unknown selector, a line of no length in plan).
    int DoCLineSfdBmd(CDC* pDC, T_PVX_CLFC_D& rec, int nOpt, int nRecord = -1);
    // The numbers of one line's diagram, drawn at once or queued on the model's overlay queue.
    void OutputSfdBmdNumberCL(CDC* pDC, T_PVX_CLFC_D& rec, T_STRG_D forc, C3DPoint* pPoints, int nComp,
                              double* pPeaks);
    // The numbers of every line from the records alone, through the member label.
    void OutputCLForcNumbers(CDC* pDC);
    // Diagram polygons of component 0 or 3 of a straight line from pI to pJ (stations at k/8),
    // on the same side as the drawn cutting-line diagrams; another component gives no polygon,
    // leaves pLabels untouched and pExtremes (0, 0). The int is not used.
    void CLSfdBmdMakePolygon(T_STRG_D& rec, int nComp, double axes[3][3], C3DPoint& pI, C3DPoint& pJ,
                             DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                             DiagramFlagList& quads, C3DPoint* pLabels, double* pExtremes, int nOpt,
                             DiagramPointList* pStations);

    // ==== plate forces (display mode 10) and wall forces (modes 8 and 9) ========================
    // (CForceEnginePlate.cpp: plate lists, display axes, nodal averaging and value pickers;
    // CForceEnginePlateDraw.cpp: plate contours, principal-force vectors and numbers;
    // CForceEngineWall.cpp: wall lists and wall values at nodes; CForceEngineWallDraw.cpp: wall
    // contours and wall diagrams; CForceEngineWallNumbers.cpp: wall numbers.)
    //
    // Plate records (T_STRP_DL) hold a centre block 0 and corner blocks 1..4 in the node order of
    // the sub-element; selectors 0..16 pick Fxx, Fyy, Fxy, the principal membrane forces, Mxx ...
    // (see CalcPForcValue). Plates are read for the plane elements of T-girder (204) and wall
    // (209, 210) members, each super element as its model elements (sub-elements).
    static constexpr int kPForcCompCount = 17;

    // One record read, turned from the element's own axes into the display axes and stored; 1
    // when stored.
    int MakePForcDataList_Sub(UINT nKey, double own[3][3], double display[3][3]);
    // Legend range and keys, vector reference value and colour scale with percent-rank weights of
    // the plate lists; returns 1.
    int MakePForcDataList_MnMx();
    // The steps after the plate records: legend and scale, the empty-list answer, the cutting
    // lines and the built flag; 1 built.
    int FinishPForcDataList();
    // 1 for an element whose plate forces can be shown: a super element holding its results, or
    // a plane element (plates and slabs, and the panels of walls and T-girders).
    int IsPossiblePForc(UINT nElemKey) const;
    static int IsPossiblePForc(T_PELEM_D& elem);
    // m_arrElemKey again from the active members: every element that can show plate forces,
    // expanded to its result keys.
    void GetActivePlateList();
    // The selected component (not the vectors, not selectors 14..16) replaced in every corner
    // block by the mean over the elements that share the corner's node (matched by node key).
    void GetAverageNodalDataList();
    // Axes (rows x, y, z) of an element: walls from their first four nodes, lintels (super
    // elements) from the super-element control, line objects along their first two nodes, plates
    // and T-girders from their first three; with bUseGlobal and global result axes the global
    // axes. Rows 0 and 1 are then turned by dAngle degrees about row 2. 1, or 0 when they cannot
    // be formed.
    int CalcSElemLocalVec(UINT nKey, T_PELEM_D& elem, double axes[3][3], CPVXSElemCtrl* pCtrl, double dAngle,
                          int bUseGlobal);
    // Value of the plate component in block 0 (centre) to 4 of a record; 0.0 for a block outside
    // 0..4 or a selector outside 0..16. The vector selectors 5 and 11 give the principal value of
    // larger magnitude (as 14 and 15) so that they weigh in the colour scale.
    double CalcPForcValue(const T_STRP_DL& rec, int nBlock) const;
    // Writes the component (selectors 0..4, 6..10, 12, 13; nothing for the others) in a block.
    void SetPForcComponent(T_STRP_DL& rec, int nBlock, double dValue) const;
    // Extremes of an element of n corners (corner blocks 1..min(n, 4); the vectors: the centre
    // block's principal values); -DBL_MAX / +DBL_MAX for n < 1.
    double GetMaxElemPForc(const T_STRP_DL& rec, int n) const;
    double GetMinElemPForc(const T_STRP_DL& rec, int n) const;
    // Bounding box of a sub-element's nodes; the origin twice when it has no record.
    void GetRangeElementPForc(UINT nKey, C3DPoint* pMin, C3DPoint* pMax);
    // Component values at corners nNode1 and nNode2 (from 0) of a plate for the cutting lines.
    void GetNodalValueforCutting(UINT nKey, double& dValue1, int nNode1, double& dValue2, int nNode2) override;

    // A face of the plate and wall contours cut into colour bands. In flat colours a face of 3 or
    // 4 corners within the levels is cut whole, band by band (values linear along its edges,
    // level lines flagged): one polygon per band it spans, where the engine base cuts four
    // triangles around the centre. Gradient colours, frame polygons and the scale's special
    // modes (line contours, raised faces, global and list ranges) go to the base.
    void DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                          int bFrame) override;

    // Plate drawing: one element's faces as colour bands (1 drawn or nothing to draw, 0 not drawn,
    // -1 Escape); the vector length factor; one element's principal-force arrows (returns 1); the
    // arrows of one face of 3 or 4 vertices in the display axes the record is given in (1 drawn).
    int DoPForcElementContour(CDC* pDC, UINT nElemKey);
    int DoPForcElementContour(CDC* pDC, UINT nElemKey, T_PELEM_D& elem);  // elem: the element's record
    void InitVectorAdjustFactor();
    int DoPForcElementVector(CDC* pDC, UINT nElemKey);
    int DoPForcElementVector_Sub(CDC* pDC, CArray<C3DPoint, C3DPoint&>& vertices, UINT nSubKey, double axes[3][3]);
    // Whether a member's plates take part in mode 10: T-girders (204) and walls (209, 210) with
    // their check boxes.
    int IsPlateForceMember(const T_PMEMB_D& memb) const;

    // Wall lists: one wall-column (T_MBCL_D blocks) or wall-beam (T_STRG_D segments) read at the
    // wall's result number and recorded under the member key, widening the running extremes; 1
    // when recorded.
    int MakeWForcDataListC(UINT nMembKey, UINT nResultNo, double& dMax, double& dMin, T_PWALL_D& wall);
    int MakeWForcDataListB(UINT nMembKey, UINT nResultNo, double& dMax, double& dMin, T_PWALL_D& wall);
    // Wall diagram scale: the model's largest extent over 20 |d| (|d| < 1e-15 counts as 1).
    void InitWSfdBmdAdjustFactor(double d);
    // 1 for the wall member types 209 to 212.
    static int IsPossibleWForc(const T_PMEMB_D& memb);
    // Value of a wall-column at a node of its faces, linear in height between its bottom, its
    // inner stations and its top (the node key is not used); of a wall-beam, linear along its
    // eight segments by the node's plan distances from its ends.
    double CalcWallColmValueByNode(UINT nNodeKey, const T_PNODE_D& node, const T_PWALL_D& wall, const T_PMEMB_D& memb,
                                   const T_MBCL_D& forc) const;
    double CalcWallBeamValueByNode(const T_PNODE_D& node, const T_PWALL_D& wall, const T_STRG_D& forc) const;
    // Vertical alignment of a wall-beam number: 0 top or 8 bottom by the sign of the value and
    // the component (always bottom in mode 8).
    UINT GetWBDgrmTopBotPos(double v, int nComp) const;

    // Wall drawing: one wall-column / wall-beam painted face by face (1 painted, 0 drawn plain or
    // not at all, -1 Escape); one wall's diagram (1 drawn, 0 not); the diagram polygons of one
    // component appended to the lists (every vertex flag 1; polygon flag 1 quadrilateral, 0
    // triangle), with the number anchors stored in the wall's record while numbers are shown.
    int DoWForcMemberContourC(CDC* pDC, UINT nMembKey, T_PMEMB_D& memb);
    int DoWForcMemberContourB(CDC* pDC, UINT nMembKey, T_PMEMB_D& memb);
    int DoWallElementSfdBmdC(CDC* pDC, UINT nMembKey, T_PMEMB_D& memb, T_PWALL_D& wall);
    int DoWallElementSfdBmdB(CDC* pDC, UINT nMembKey, T_PMEMB_D& memb, T_PWALL_D& wall);
    void WSfdBmdMakePolygonC(T_MBCL_D& forc, int nComp, double axes[][3], C3DPoint& bottom, C3DPoint& top,
                             DiagramPointList& points, DiagramValueList& values, DiagramFlagList& vertexFlags,
                             DiagramFlagList& polyFlags, UINT nMembKey, T_PMEMB_D& memb);
    void WSfdBmdMakePolygonB(T_STRG_D& forc, int nComp, double axes[][3], C3DPoint& p1, C3DPoint& p2,
                             DiagramPointList& points, DiagramValueList& values, DiagramFlagList& vertexFlags,
                             DiagramFlagList& polyFlags, UINT nMembKey);
    // Wall numbers of the two families.
    void OutputWForcNumbersC(CDC* pDC);
    void OutputWForcNumbersB(CDC* pDC);

    // ---- frame data ----------------------------------------------------------------------------
    CArray<UINT, UINT> m_arrMembKey;   // beams of the frame lists, in the model's member order
    // The colour-scale values of each beam of m_arrMembKey, taken while its record is read
    // (nine stations of component m_nBeamScaleComp), for FinishMakeBForcData; not imported.
    std::vector<double> m_beamScaleValues;
    int m_nBeamScaleComp = -1;
    void AppendBeamScaleValues(const T_STRG_D& rec);
    CArray<UINT, UINT> m_arrColmKey;   // columns of the column maps
    CMap<UINT, UINT, T_STRG_D, T_STRG_D&> m_mapBForc;      // beam forces by member key
    CMap<UINT, UINT, T_STRG_D, T_STRG_D&> m_mapBForcMin;   // minimum side of envelope diagrams
    CMap<UINT, UINT, T_MBCL_D, T_MBCL_D&> m_mapCForc;      // column forces by member key
    CMap<UINT, UINT, T_MBCL_D, T_MBCL_D&> m_mapCForcMin;
    CMap<UINT, UINT, double, double> m_mapBSfdBmdMembValue; // member values of the diagram drawers; not imported
    CArray<T_SFDBMD_OUTVAL_D, T_SFDBMD_OUTVAL_D&> m_arrBSfdBmdOutVal;     // beam diagram outputs; not imported
    CArray<T_SFDBMD_OUTVAL_D, T_SFDBMD_OUTVAL_D&> m_arrBSfdBmdOutValMin;
    CArray<T_SFDBMD_OUTVAL_D2, T_SFDBMD_OUTVAL_D2&> m_arrCSfdBmdOutVal;   // column diagram outputs
    CArray<T_SFDBMD_OUTVAL_D2, T_SFDBMD_OUTVAL_D2&> m_arrCSfdBmdOutValMin;
    CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> m_arrCForc4Figure;  // figure column forces
    // Extremes of the last frame build (not imported); -DBL_MAX / +DBL_MAX before one.
    double m_dBForcMax;
    double m_dBForcMin;
    double m_dTForcMax;
    double m_dTForcMin;
    double m_dSfdBmdScreenOffset = 0.0;  // diagram offset in world units, set by the diagram drawers
    double m_dLclVec2D[3][3] = {};       // local axes of the two-dimensional diagram view
    // Column-force maxima of the figures, read by the legend's listing, in the order N, FY, FZ,
    // MZ, MY: the members, then the values.
    UINT m_nColmMaxKey[5] = {};
    double m_dColmMaxVal[5] = {};

    // ---- truss, story shear, plate and wall data ---------------------------------------------
    CArray<UINT, UINT> m_arrTrussKey;
    CMap<UINT, UINT, T_MBBR_D, T_MBBR_D&> m_mapTForc;      // truss forces by member key (17 buckets)
    CMap<UINT, UINT, double, double> m_mapSSFR;            // story shear-force ratio by member key (17 buckets)
    CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&> m_mapPForc;    // plate forces by element key
    CMap<UINT, UINT, T_PVX_WBEAM_D, T_PVX_WBEAM_D&> m_mapWBeam;  // wall-beam records by member key
    CMap<UINT, UINT, T_PVX_WCOLM_D, T_PVX_WCOLM_D&> m_mapWColm;  // wall-column records by member key
    CArray<UINT, UINT> m_arrWColmKey;
    CArray<UINT, UINT> m_arrWBeamKey;
    CMap<UINT, UINT, T_MBCL_D, T_MBCL_D&> m_mapWColmForc;  // host wall-column forces
    CMap<UINT, UINT, T_STRG_D, T_STRG_D&> m_mapWBeamForc;  // host wall-beam forces

    // ---- slab data -----------------------------------------------------------------------------
    CSlabDetailDgn* m_pSlabDetailDgn;  // host slab design object, owned
    CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&> m_mapSForc;    // slab forces by element key
    CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&> m_mapSForcPos; // positive side
    CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&> m_mapSForcNeg; // negative side
    CMap<UINT, UINT, UINT, UINT> m_mapSForcMemb;           // slab members with results
    CArray<UINT, UINT> m_arrSWallKey;                      // walls the user chose for the slab-wall cuts
    CArray<UINT, UINT> m_arrSWallKey2;                     // walls of the last slab-wall build
    CArray<T_PVX_SWALL_D, T_PVX_SWALL_D&> m_arrSWall;      // two records per wall, start end first
    CArray<T_STRIP_INFO, T_STRIP_INFO&> m_arrStripInfo;    // strips handed over by the strip page
    CArray<T_PVX_CLFC_D, T_PVX_CLFC_D&> m_arrCLForc;       // strip and rib-beam forces

    // ---- figure catalogue -------------------------------------------------------------------------
    CFigureDetailDisplay* m_pFigureDisplay;  // figure detail panel current at construction, borrowed
    CFigureDetailView* m_pFigureView;        // figure detail view current at construction, borrowed

    // ==== trusses, the beam diagram along the member's plan line, design forces ================
    // (CForceEngineTruss.cpp: truss values, list and contour; CForceEngineTrussDiagram.cpp: truss
    // diagrams and numbers; CForceEngineDiagram2.cpp: the beam diagram along a plan line or arc;
    // CForceEngineFinish.cpp: design forces as result records.) A truss record (T_MBBR_D) holds
    // the six components at end I (d[0]) and end J (d[1]); values vary linearly between them.

    // End value of the engine's component (0..5, 6 larger shear, 7 larger moment): sel 0 end I,
    // 1 end J, 4 the end of larger magnitude (end I on a tie); other selectors 0.
    double CalcTForcValue(const T_MBBR_D& rec, int nSel) const;
    // The larger / smaller of the two end values (end I on a tie).
    double GetMaxMembTForc(const T_MBBR_D& rec) const;
    double GetMinMembTForc(const T_MBBR_D& rec) const;
    // Value at p from its distances to the end points a (end I) and b (end J): the end value
    // within 1e-10 of an end, else linear by d(p, a) / (d(p, a) + d(p, b)).
    double CalcPart4NearValue(const T_MBBR_D& rec, const C3DPoint& p, const C3DPoint& a, const C3DPoint& b) const;
    // Reads the truss records (type 206) of the model's members for the selected load into
    // m_mapTForc and m_arrTrussKey with their extremes. Members without a record for the load
    // are left out. 1 built (m_bTForcData says whether a truss was stored); 0 with no load
    // selected (lists untouched) or trusses hidden (lists emptied). Run by InitEngine for the
    // frame force contour and diagram.
    int MakeTForcDataList();

    // Truss contour of display mode 6 (DrawTForcContour above): one member, 1 drawn, 0 not,
    // -1 Escape. A member drawn as a line runs in bands from its higher end to its lower; a face
    // takes its end's value (end caps) or the values at its cross-section edges.
    int DoTForcMemberContour(CDC* pDC, UINT nKey);
    void DoTForcLineContour(CDC* pDC, CList<C3DPoint>* pPoly, T_PMEMB_D& memb, T_MBBR_D& rec, C3DPoint& nearI,
                            C3DPoint& nearJ);
    void DoTForcPolyContour(CDC* pDC, CList<C3DPoint>* pPoly, CArray<int>* pFlags, CArray<UINT>* pNodeKeys,
                            T_PMEMB_D& memb, T_MBBR_D& rec, C3DPoint& nearI, C3DPoint& nearJ);

    // Truss diagram of display mode 7 (DrawTrussSfdBmd above): one member on the undeformed
    // shape, 1 drawn, 0 not.
    int DoTrussSfdBmd(CDC* pDC, UINT nKey, T_PMEMB_D& memb);
    // Appends the diagram polygons of one truss between its axis ends (the engine's component:
    // 1 and 5 along local y, 0, 2, 3, 4 along local z, 6 and 7 along local y when it lies
    // deeper into the view than local z, else along local z; others nothing).
    void TSfdBmdMakePolygon(T_MBBR_D& rec, double axes[3][3], C3DPoint& ptI, C3DPoint& ptJ, DiagramPointList& points,
                            DiagramValueList& values, DiagramFlagList& edges, DiagramFlagList& quads);

    // Signed arc height of a member's plan curve through its first, middle and last node
    // position (flat list x, y, z); 0 for a straight member or fewer than three positions.
    static double MembArcHeight(const CArray<double, double>& poses);

    // Design forces of one combination (index into the record's entries) as result records:
    // beams at their nine stations (axial, shear z, torsion, the governing moment as moment y),
    // columns and wall columns at both ends with the inner blocks interpolated at the member's
    // inner points, trusses their end axial forces. 1 converted; 0 (record zeroed) for an index
    // the record does not hold. The member key is not used.
    int ConvertOutDgnBeam(UINT nKey, T_FBEM_TEMP_D& temp, int nComb, T_STRG_D& out);
    int ConvertOutDgnColm(UINT nKey, T_PMEMB_D& memb, T_FCOL_TEMP_D& temp, int nComb, T_MBCL_D& out);
    int ConvertOutDgnWColm(UINT nKey, T_PMEMB_D& memb, T_FWAL_TEMP_D& temp, int nComb, T_MBCL_D& out);
    int ConvertOutDgnTrus(UINT nKey, T_FCOL_TEMP_D& temp, int nComb, T_MBBR_D& out);

private:
    // Mxx and Myy of block nNode of a slab record (doubles 30 n + 44 and 30 n + 45 of the record).
    double CalcSForcMxx(const T_STRP_DL& rec, int nNode) const;
    double CalcSForcMyy(const T_STRP_DL& rec, int nNode) const;

    // The beam diagram between nine station points of the member axis (station k at k/8 of the
    // member): the polygons, label points and extremes of both beam builders. pLine (may be null)
    // receives the diagram line, start and end point of each segment.
    void SfdBmdBeamPolygons(T_STRG_D& forc, int nComp, double axes[3][3], const C3DPoint stations[9],
                            DiagramPointList& points, DiagramValueList& values, DiagramFlagList& edges,
                            DiagramFlagList& quads, C3DPoint* pLabels, double* pExtremes, DiagramPointList* pLine);
    // ==== end of the truss, plan-line diagram and design-force block ===========================

private:
    // Room of the per-element contour passes, kept from element to element.
    struct FaceScratch {
        PVXFlatFaces faces;
        std::vector<double> values;
        std::vector<int> flags;
        std::vector<int> ranks;  // the scale's rank of each value, when known
        CArray<int, int> edgeFlags;
        PVXPolyList face;                // a face for the model's face calls
        CList<C3DPoint, C3DPoint> poly;  // a face as the band cutter takes it
        // The lists holding the n points (their nodes reused).
        PVXPolyList* Face(const C3DPoint* pts, int n) { return Refill(face, pts, n); }
        CList<C3DPoint, C3DPoint>* Poly(const C3DPoint* pts, int n) { return Refill(poly, pts, n); }
        template <class L> static L* Refill(L& list, const C3DPoint* pts, int n) {
            while (list.GetCount() > n) list.RemoveTail();
            int i = 0;
            for (POSITION pos = list.GetHeadPosition(); pos; ++i) list.GetNext(pos) = pts[i];
            for (; i < n; ++i) list.AddTail(pts[i]);
            return &list;
        }
    };
    FaceScratch m_faceScratch;
    // DoSubPolyContour's bands of one face, emptied and refilled face to face; in the plate pass
    // of a plain CForceEngine (m_bBatchBands) the bands of consecutive faces, drawn as one list
    // when anything else is to be drawn (a list draws its polygons in order, so the pixels are
    // those of a list per face).
    CArray<int, int> m_bandSizes;
    CArray<VtxInfo_tag, VtxInfo_tag> m_bandVertices;
    bool m_bBatchBands = false;
    // Gathering switched on (bOn) for a pass, and off with the lists emptied when it ends.
    struct BandBatchScope {
        CForceEngine& e;
        BandBatchScope(CForceEngine& engine, bool bOn) : e(engine) { e.m_bBatchBands = bOn; }
        ~BandBatchScope() {
            e.m_bBatchBands = false;
            e.m_bandSizes.RemoveAllKeepBlock();
            e.m_bandVertices.RemoveAllKeepBlock();
        }
        BandBatchScope(const BandBatchScope&) = delete;
        BandBatchScope& operator=(const BandBatchScope&) = delete;
    };
    // The bands of a face of n (3 or 4) points appended to the lists; false, the lists as they
    // were, when the face is for the base cutter.
    bool CutFaceBands(const double* pValues, const C3DPoint* pts, int n, const int* pRanks);
    // The bands gathered so far drawn, the lists emptied.
    void FlushFaceBands(CDC* pDC);
    // The slab records of the side shown, gathered by the slab legend step before it reads them.
    struct ShownSlabRecord {
        UINT key;
        const T_STRP_DL *pHi, *pLo;
        int nNodes;  // corners of the element's shape; -1 without one
    };
    std::vector<ShownSlabRecord> m_shownSlabRecords;
    // Where the slab records of each element of m_arrElemKey lie in the four slab maps, found
    // once: kept while the list is unchanged and no map has gained or lost an association (a
    // record edited in place is read through the pointer). A map's hash puts sixteen
    // consecutive keys in one chain, so a lookup there walks eight records on average.
    struct SlabRecordIndex {
        using Rec = CMap<UINT, UINT, T_STRP_DL, T_STRP_DL&>::CPair;
        using Sbem = CMap<UINT, UINT, T_PVX_SBEM_D, T_PVX_SBEM_D&>::CPair;
        struct Entry {
            const Rec *rec, *pos, *neg;
            const Sbem* sbem;
        };
        std::vector<UINT> keys;      // the list indexed
        std::vector<Entry> entries;  // per list position
        FlatKeyIndex at;             // key -> its first list position
        const void* maps[4] = {};
        ULONGLONG versions[4] = {};
        bool built = false;
        // The entry of a listed key, or null.
        const Entry* Find(UINT key) const {
            const int i = at.Find(key);
            return i < 0 ? nullptr : &entries[static_cast<size_t>(i)];
        }
        // Fetches where the key's position lies (ahead of its entry), or its entry.
        void PrefetchSlot(UINT key) const { at.Prefetch(key); }
        void PrefetchEntry(UINT key) const {
            if (const int i = at.Find(key); i >= 0) __builtin_prefetch(&entries[static_cast<size_t>(i)]);
        }
    };
    SlabRecordIndex m_slabIndex;
    // The slab faces' bands kept between drawings; m_pSlabKept while a slab pass may use them.
    KeptFaceBands m_keptSlabBands;
    KeptFaceBands* m_pSlabKept = nullptr;
    // What the slab pass's bands are made of, appended as numbers; false when they cannot be kept.
    bool AppendSlabBandInputs(std::vector<ULONGLONG>& out) const;
    // The same for the plate faces of the plate pass (undeformed, not animated).
    KeptFaceBands m_keptPlateBands;
    KeptFaceBands* m_pPlateKept = nullptr;
    bool AppendPlateBandInputs(std::vector<ULONGLONG>& out) const;
    // The element table the passes read the element records from, as inputs of the kept bands.
    void AppendElementTableInputs(std::vector<ULONGLONG>& out) const;
    // A kept element's bands added to the gathered list (Escape polled as its cut would):
    // 1 done, -1 Escape, 0 when they cannot serve (the caller draws the element as always).
    int AppendKeptSlabBands(CDC* pDC, const KeptFaceBands::Entry& k);
    int AppendKeptPlateBands(CDC* pDC, const KeptFaceBands::Entry& k);
    int AppendKeptBands(CDC* pDC, const KeptFaceBands& kept, const KeptFaceBands::Entry& k, INT_PTR nFlushAt);
    const SlabRecordIndex* m_pSlabPassIndex = nullptr;  // the index checked for the slab pass running
    // The index, made again when the list or a map's layout has changed since it was made.
    const SlabRecordIndex& SlabRecords();
    // The records of a face key: through the index, or the maps for a key not listed.
    SlabRecordIndex::Entry SlabRecordsOf(const SlabRecordIndex& index, UINT key) const;
    // The last plate or slab legend step's walk over the records, kept with what it was made of
    // (the list walked and the inputs: mode, record map versions, component, sides): its
    // extremes, the values the colour scale weighs, and their finished band weights for the
    // levels they were last weighed on.
    struct LegendMemo {
        std::vector<ULONGLONG> inputs;
        std::vector<UINT> keys;
        double dMax = 0.0, dMin = 0.0, dAbsMax = 0.0;
        UINT nMaxKey = 0, nMinKey = 0, nAbsMaxKey = 0;
        std::vector<double> values;
        bool bWalked = false;
        std::vector<double> levels, weights;
        int nNumColor = 0;
        double dTotal = 0.0;
        bool bWeighed = false;
        // Whether the walk kept was made of these inputs and this list.
        bool Serves(const std::vector<ULONGLONG>& in, const CArray<UINT, UINT>& list) const;
        // Marks the walk just made into values and the extremes as made of these.
        void Keep(const std::vector<ULONGLONG>& in, const CArray<UINT, UINT>& list);
        // The values' band weights into the scale (its weights cleared): the kept ones while the
        // levels are, bit for bit, those they were weighed on, else weighed anew.
        void Weigh(CContourEngine& s);
    };
    LegendMemo m_legendMemo;
    // The kept walk's extremes as the legend's range, its element keys and the model's.
    void TakeLegendExtremes(const LegendMemo& memo);
    // What the plate legend and drawing read of a record: the selected component at the centre
    // (v[0]) and corners, and its sub-element's first four node keys (nNodes -1 without a
    // sub-element); one cache line.
    struct alignas(64) PlateValues {
        double v[5];
        UINT nodes[4];
        int nNodes;
    };
    // One row per plate record, rebuilt when either map or the component changed since; beside
    // each row the element's extremes (GetMaxElemPForc, GetMinElemPForc) for the legend.
    struct PlateTable {
        std::vector<PlateValues> rows;
        std::vector<std::pair<double, double>> extremes;
        FlatKeyIndex at;  // record key -> row
        ULONGLONG nRecVersion = 0, nSbemVersion = 0;
        int nComp = -1;
        bool bBuilt = false;
        // Per row the colour scale's upper rank (GetUpperRank) of each v, for the levels kept
        // beside them; dropped with the rows.
        std::vector<std::array<signed char, 5>> ranks;
        std::vector<double> rankLevels;
        int nRankColors = 0;
        bool bRanks = false;
    };
    PlateTable m_plateTable;
    // The rows made again when stale; the row of a plate record, null without a record.
    void RefreshPlateTable();
    const PlateValues* PlateValuesOf(UINT nKey);
    // The rows' ranks made for the scale's current levels when they are not; 0 without a scale.
    int PreparePlateRanks();
    // While one drawing of the plates runs, the rows' ranks serve the band cutter (the table and
    // the levels cannot change during it); m_pRankHint: the ranks of the next face's vertices,
    // taken by the next DoSubPolyContour.
    bool m_bPlateRanks = false;
    const int* m_pRankHint = nullptr;
    // Its maximum and minimum.
    const std::pair<double, double>& PlateExtremesOf(const PlateValues& pv) const;
    // The block of v a face vertex at node nNode takes: its corner among the first four nodes, or
    // the centre (0).
    static int PlateCornerOf(const PlateValues& pv, UINT nNode);
    int m_bListsKept = 0;                // the lists hold the build of m_keptListInputs
    ListInputs m_keptListInputs;
    // Station-grid position of a node of a member: relative position along it, the segment
    // (-1 when off the grid) and whether the node lies inside the segment (1) or on its start
    // station (0).
    void GetRelLength_NthPos8(T_PMEMB_D& memb, C3DPoint& unused, UINT nNodeKey, double* pRel, int* pSeg,
                              int* pInside);
    // A value of a force record as drawn: scaled by the animation frame while an animation runs.
    double Animated(double v) const;
    // One member of a contour pass; -1 ends the pass (Escape).
    using MemberContourFn = int (CForceEngine::*)(CDC* pDC, UINT nMembKey, const T_PMEMB_D& memb);
    // The member contour pass shared by the frame and truss families: the pen, the members of
    // the drawn shape back to front, each handed to pMember, and the undeformed outline after.
    void DrawMemberContourPass(CDC* pDC, MemberContourFn pMember);
    // The frame pass's member: a beam with forces in bands, the others plain.
    int DrawBForcPassMember(CDC* pDC, UINT nMembKey, const T_PMEMB_D& memb);
    // The truss pass's member: an active truss in bands; the others plain unless the frame pass
    // has drawn them.
    int DrawTForcPassMember(CDC* pDC, UINT nMembKey, const T_PMEMB_D& memb);
    // The band outline style of the diagram modes: flagged edges in their band colours.
    void DrawBandOutlines(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices);

    int m_nBuildMode = -1;  // display mode of the last InitEngine; -1 before one
};
