// CFigureDesignData: the design result data engine of the plan design figures.
//
// It turns the host's design results (CPostCtrl4Dgn), member forces and post-model tables into
// per-member lists of labels and diagram polylines and draws them through the model's graphics
// control. The host creates it for a model and hands it to the model, which owns it from then on
// (I_PVXModel::UpdateEngines re-initialises it last, ResetEngines deletes it):
//
//     auto* d = new CFigureDesignData(model);
//     model->m_pDesignData = d;                     // owned by the model
//     d->SetMemberKeys(model->m_arrAllMembKey);     // the members the builders walk
//     d->m_bShowNumber = 1;  ...                    // the switches the host owns
//     model->m_pFigure->m_nFigureMode = 28;         // which result the output shows
//     d->BuildForFigureMode(28);                    // the builders of the mode
//     d->OutputNumbers(pDC);                        // labels of the mode
//
// Builders empty their own list first, return 1 when built and 0 when the database, the design
// controller or a record they cannot do without is missing. Getters copy a list out (0 and an
// empty copy when the list is empty). The lists nothing in this module fills (envelope list, text
// label lists, beam forces and displacements, slab force and crack, side-wall steel, base-shear
// map ...) are reachable through the Set... members so that a host can supply them.
// Single-threaded: everything runs on the host's user-interface thread.
#pragma once

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "host/base/GeomTypes.h"
#include "host/check/CheckData.h"
#include "host/grx/C3DPoint.h"
#include "module/designdata/DesignDataRecords.h"
#include "module/engines/CEngineBase.h"
#include "module/force/ForceRecords.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CMap.h"

class CDC;
class CDataBase;
struct T_RBEM_D;
class CObject;
class I_PVXModel;
class I_PVXModelBase;

class CFigureDesignData : public CEngineBase {
public:
    typedef CMap<UINT, UINT, CArray<T_POINT2D, T_POINT2D>*, CArray<T_POINT2D, T_POINT2D>*> ModeGraphMap;
    typedef CMapEx<UINT, UINT, T_BASE_SHEAR_D, T_BASE_SHEAR_D&> BaseShearMap;
    static constexpr UINT kBigMapHash = 2002;  // buckets of the per-member and per-slab maps
    static constexpr int kTextLists = 6;

    explicit CFigureDesignData(I_PVXModelBase* pModel);
    ~CFigureDesignData() override;

    // Re-initialisation hook of I_PVXModel::UpdateEngines: fetches the document; rebuilds nothing.
    void InitFigureDesignData();
    // The model as the result model of this module; null when none.
    I_PVXModel* Model() const;
    // The figure mode of the model's figure controller; 0 without one.
    int GetFigureMode() const;

    // ---- operations kept for the host that do nothing ------------------------------------------
    int MakeBaseColumnForceData(BaseShearMap& map);  // 0
    int MakeSlabForceDataList();                     // 0
    int MakeSlabDeformDataList();                    // 0
    int MakeBeamDeformDataList();                    // 0
    int MakeSideWallSteelDataList();                 // 0
    int MakeBaseCForcNumbers4Figure();               // 0
    int GetNamedPlaneData();                         // 0
    int MakeBeamBM_SFDataList();                     // 0
    int MakeModeGraphData(ModeGraphMap& map, int n); // 0
    void OutputBSDNumbers(CDC* pDC);
    void OutputSRebarNumbers(CDC* pDC);
    void OutputWallForceNumbers(CDC* pDC);
    void OutputColumnForceNumbers(CDC* pDC);          // fetches the document only

    // ---- getters: empty the caller's container, 0 when the engine's is empty, else copy and 1 --
    int GetAxialCompR(CArray<T_AXIAL_COMP_R, T_AXIAL_COMP_R&>& out) const;
    int GetColmAs(CArray<T_COLM_AS, T_COLM_AS&>& out) const;
    int GetBeamAs(CArray<T_BEAM_AS, T_BEAM_AS&>& out) const;
    int GetWallBAs(CArray<T_WBEM_AS, T_WBEM_AS&>& out) const;
    int GetWallCAs(CArray<T_WALL_AS, T_WALL_AS&>& out) const;
    int GetSlabAs(CArray<T_SFORCE_D, T_SFORCE_D&>& out) const;
    int GetSforce(CArray<T_SFORCE_D, T_SFORCE_D&>& out) const;
    int GetSCrack(CArray<T_SFORCE_D, T_SFORCE_D&>& out) const;
    int GetBCrack(CArray<T_BCRACK_D, T_BCRACK_D&>& out) const;
    int GetSDeform(CArray<T_DEFORM_D, T_DEFORM_D&>& out) const;
    int GetWallCForcD(CArray<T_WCOLM_FORC, T_WCOLM_FORC&>& out) const;
    int GetSWallSteelNodeD(CArray<T_SWALL_D, T_SWALL_D&>& out) const;
    int GetDiagramData(CArray<T_DIAGRAM_D, T_DIAGRAM_D&>& out) const;
    int GetBForcD(CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&>& out) const;
    int GetCForcData(CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&>& out) const;
    int GetSnodeD(CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&>& out) const;
    int GetmBaseShear(BaseShearMap& out) const;
    // Empties both caller maps; 0 when either engine map is empty, else copies the arrays (the
    // caller owns the copies) and returns 1.
    int GetModeGraphData(ModeGraphMap& out1, ModeGraphMap& out2) const;

    // ---- key lookups: copy the record and 1, or 0 with the out-record untouched ---------------
    int GetSMomentD(UINT key, T_SMOMENT_D& out) const;
    int GetCrackSMomentD(UINT key, T_SMOMENT_D& out) const;
    int GetSlabAsSMomentD(UINT key, T_SMOMENT_D& out) const;

    // 1 when a member from p1 to p2 runs against the plan's reading direction: by x when the x
    // values differ by more than 1e-10 (p1 right of p2), else by y (p1 above p2).
    static int IsInverse(const C3DPoint& p1, const C3DPoint& p2);
    // 1 when the first two rows are exactly (1, 0, 0) and (0, 1, 0) (as CForceEngine's). The test is
    // exact: a plan matrix carrying rounding noise (1e-17) is not taken for the plan.
    static int IsXYPlaneVector(const double m[3][3]);

    // ---- setters of what the host supplies -------------------------------------------------------
    void SetMemberKeys(const CArray<UINT, UINT>& keys);
    void SetEnvelopeList(const CArray<T_BEAM_BM, T_BEAM_BM&>& list);
    void SetSecondEnvelopeList(const CArray<T_BEAM_BM, T_BEAM_BM&>& list);
    // Text label list n (0 to 5); another n changes nothing.
    void SetTextLabelList(int n, const CArray<T_TEXT_VALUE, T_TEXT_VALUE&>& list);
    void SetBeamForce(UINT key, const T_STRG_D& forc);
    void SetBeamDisp(UINT key, const T_BEAM_DISP& disp);
    void SetSlabForce(const CArray<T_SFORCE_D, T_SFORCE_D&>& list, const CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&>& map);
    void SetSlabCrack(const CArray<T_SFORCE_D, T_SFORCE_D&>& list, const CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&>& map);
    void SetBeamCrack(const CArray<T_BCRACK_D, T_BCRACK_D&>& list);
    void SetBeamDeform(const CArray<T_DEFORM_D, T_DEFORM_D&>& list);
    void SetSlabDeform(const CArray<T_DEFORM_D, T_DEFORM_D&>& list);
    void SetWallCForc(const CArray<T_WCOLM_FORC, T_WCOLM_FORC&>& list);
    void SetSideWallSteel(const CArray<T_SWALL_D, T_SWALL_D&>& list, const CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&>& nodes);
    void SetBaseShear(const BaseShearMap& map);
    // Sets the plan-view matrix the beam diagrams are laid out by (identity: the plan).
    void SetViewMatrix(const double m[3][3]);
    // Envelope list handed in by the host: value row 0 holds each station's largest value, row 1
    // its smallest. Sets the contour range (smallest to largest of rows 0 and 1 over all records)
    // and the beam-diagram scale from it, and the members of both extremes when the member keys
    // run in step with the records; 0 (nothing changed) when the list is empty.
    int RangeEnvelopeList();
    // The line a beam's diagrams stand on: its first and last node, or, for a member of plate
    // section (204) with an outline of more than two nodes, the outline's first edge (the last
    // node of an outline lies under the first, not at the beam's other end). 0 when unreadable.
    int ReadBeamLine(UINT key, C3DPoint& start, C3DPoint& end) const;
    // Text label lists 1 to 3 of the envelope figures, refilled after the envelope walk has
    // emptied them and before the number output reads them: per drawn beam (drawn-beam index
    // order) three entries, start, middle (station 4) and end, each at its curve point. Figure
    // mode 35: list 1 the smallest, list 2 the largest values (each on its curve's outer side);
    // 36: list 3 the value of larger magnitude of the two (the largest on a tie). Other modes
    // leave the lists empty.
    void FillEnvelopeTextLists();

    // Runs the builders of a figure mode for the host: 21 area steel, 23 beam steel, 28
    // axial-compression ratio, 35 and 36 the envelopes, 40 and 42 to 56 the column forces.
    // Returns the builder's result; 0 for a mode without a builder.
    int BuildForFigureMode(int nMode);

    // ---- output and drawing ----------------------------------------------------------------------
    // Labels of the figure mode (see the number output).
    void OutputNumbers(CDC* pDC);
    // Depth-ordered member walks: every shown member's inactive outline, beams with their steps.
    void DrawBeamSteelDiagram(CDC* pDC);
    void DrawBBM_SFDiagram(CDC* pDC);
    // Beam-diagram scale: the larger plan extent of the model over |s| x 20 (s ~ 0 counts as 1).
    void InitBeamDiagramAdjustFactor(double s);

    // ---- fields (in their order; the host sets the switches) ------------------------------------
    // Display switches: number labels, the diagram switch (beam diagrams and crack values), crack values.
    int m_bShowNumber = 0;
    int m_bShowDiagram = 0;
    int m_bShowCrack = 0;
    // Column-force selectors: 0 the component of the beam force diagrams (4 moment, 2 shear),
    // 1 the deformed-display flag of the column labels, 2 unused.
    int m_nCForcSel[3] = {0, 0, 0};
    CArray<UINT, UINT> m_arrKeyList1;
    CArray<UINT, UINT> m_arrKeyList2;
    // Axial-compression extremes and their members; a key 0 means none.
    double m_dACRMax = 0.0;
    double m_dACRMin = 0.0;
    UINT m_nACRMaxKey = 0;
    UINT m_nACRMinKey = 0;
    // Members of the largest and smallest envelope values (RangeEnvelopeList); 0 none.
    UINT m_nEnvelopeMaxKey = 0;
    UINT m_nEnvelopeMinKey = 0;
    DWORD m_dwReserved = 0;
    double m_dDgmFactor = 1.0;       // first diagram factor
    double m_dBeamDgmScale = 1.0;    // beam-diagram scale (InitBeamDiagramAdjustFactor)
    int m_bContourStyle = 1;         // 1: contour lists drawn as edges only; 0 the base drawing
    int m_bFramePolyFlag = 0;        // last argument of the frame-diagram cutter
    // Area-steel kind switches (1 draws the kind) and the two wall-beam row switches.
    int m_bAsColumn = 0;
    int m_bAsBeam = 0;
    int m_bAsWallBeam = 0;
    int m_bAsWall = 0;
    int m_bAsSlab = 0;
    int m_bWBeamSteelRow = 0;
    int m_bWBeamStirrupRow = 0;
    ModeGraphMap m_mapModeGraph1;
    ModeGraphMap m_mapModeGraph2;
    CArray<T_AXIAL_COMP_R, T_AXIAL_COMP_R&> m_arrAxialCompR;
    CArray<T_COLM_AS, T_COLM_AS&> m_arrColmAs;
    CArray<T_BEAM_AS, T_BEAM_AS&> m_arrBeamAs;
    CArray<T_WBEM_AS, T_WBEM_AS&> m_arrWBeamAs;
    CArray<T_WALL_AS, T_WALL_AS&> m_arrWallAs;
    CArray<T_BRTR_AS, T_BRTR_AS&> m_arrBrtrAs;
    CArray<T_BEAM_BM, T_BEAM_BM&> m_arrBeamBM;        // envelope list
    CArray<T_BEAM_SD, T_BEAM_SD&> m_arrBeamSD;        // beam steel list (emptied, never filled)
    CArray<T_TEXT_VALUE, T_TEXT_VALUE&> m_arrTextValue[kTextLists];
    CArray<T_SFORCE_D, T_SFORCE_D&> m_arrSForce;
    CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&> m_mapSMoment;
    CArray<T_SFORCE_D, T_SFORCE_D&> m_arrSCrack;
    CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&> m_mapSCrackMoment;
    CArray<T_SFORCE_D, T_SFORCE_D&> m_arrSlabAs;
    CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&> m_mapSlabAsMoment;
    CArray<T_BCRACK_D, T_BCRACK_D&> m_arrBCrack;
    CArray<T_DEFORM_D, T_DEFORM_D&> m_arrBDeform;
    CArray<T_DEFORM_D, T_DEFORM_D&> m_arrSDeform;
    CArray<UINT, UINT> m_arrKeyList3;
    CArray<int, int> m_arrDrawnBeamIdx;               // envelope index of each drawn beam
    CArray<T_PVX_BFORC_D, T_PVX_BFORC_D&> m_arrCForc; // column-force labels
    CArray<T_WCOLM_FORC, T_WCOLM_FORC&> m_arrWallCForc;
    CArray<T_BEAM_BM, T_BEAM_BM&> m_arrBeamBM2;
    CArray<T_SWALL_D, T_SWALL_D&> m_arrSWall;
    CMap<UINT, UINT, T_SNODE_D, T_SNODE_D&> m_mapSNode;
    DWORD m_dw1 = 0, m_dw2 = 0;
    CObject* m_pOwnedObject = nullptr;                // owned; nothing sets it
    BaseShearMap m_mapBaseShear;
    CArray<UINT, UINT> m_arrMembKey;                  // the members the builders walk
    CArray<T_DIAGRAM_D, T_DIAGRAM_D&> m_arrDiagram;
    CMap<UINT, UINT, T_MBCL_D, T_MBCL_D&> m_mapColmForce;
    CMap<UINT, UINT, T_STRG_D, T_STRG_D&> m_mapBeamForce;
    CMap<UINT, UINT, T_BEAM_SD, T_BEAM_SD&> m_mapBeamSteel;  // beam steel or envelope records
    CMap<UINT, UINT, T_BEAM_DISP, T_BEAM_DISP&> m_mapBeamDisp;
    double m_dLclVec2D[3][3] = {{1.0, 0.0, 0.0}, {0.0, 1.0, 0.0}, {0.0, 0.0, 1.0}};  // view matrix

protected:
    // Contour lists drawn as edges (contour style 1) or by the base (0).
    void DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override;
    void DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) override;

    // ---- key lookups of the per-member maps --------------------------------------------------
    int GetColmForce(UINT key, T_MBCL_D& out) const;
    int GetBeamForce(UINT key, T_STRG_D& out) const;
    int GetBeamSteel(UINT key, T_BEAM_SD& out) const;
    int GetBeamDisp(UINT key, T_BEAM_DISP& out) const;

    // ---- builders ---------------------------------------------------------------------------------
    // Beam steel map (nine stations per beam), contour range and beam-diagram scale.
    int MakeBeamSteelDataList();
    void DrawBeamDeformDiagram();
    int MakeBeamDeformDiagram(UINT key, T_DIAGRAM_D& diagram);
    // Axial-compression list and extremes.
    int MakeAxialCompRatioDataList();
    // Area-steel label lists (columns, beams, wall beams, walls, slabs).
    int MakeAreaSteelDrawingDataList();
    // Envelope records of the beams into the beam steel map, range by figure mode 35 / 36.
    int MakeBeamBM_SFDataList_Envelope();
    // Column forces of the load selection and their labels.
    int MakeColumnForceDataList();
    void MakeCForcNumbers();
    int MakeBeamCrackDataList();       // 0
    int MakeColumnDgnForceDataList();  // 0
    int MakeSlabCrackDataList();       // 0
    int MakeWallForceDataList();       // 0

    // ---- beam force diagrams ------------------------------------------------------------------
    // Component of the selector (4 moment, 2 shear; else 0) of segment 0..7 at end 0 / 1.
    double CalcBForcValue(const T_STRG_D& forc, int nSeg, int nEnd) const;
    double GetMaxMembBForc(const T_STRG_D& forc) const;
    double GetMinMembBForc(const T_STRG_D& forc) const;
    void MinMaxMembBForc(UINT key, T_STRG_D forc, double& dMax, double& dMin) const;
    // In the plan view the diagram is offset along the member's second local axis.
    void GetLclVec4BeamDgrm2D(UINT key, double axes[3][3]) const;
    void DrawBeamSfdBmd();
    void MakeBeamElementSfdBmdLine(UINT key, T_DIAGRAM_D& diagram);
    void BSfdBmdMakePolyline(const T_STRG_D& forc, int nSel, double axes[3][3], const C3DPoint& pi, const C3DPoint& pj,
                             CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values, C3DPoint* pBase,
                             UINT key, double* pOut4);

    // ---- column forces -------------------------------------------------------------------------
    double CalcCForcValue(const T_MBCL_D& forc, int nComp, int nEnd) const;
    int GetIJPosBForcMemb(UINT key, T_PMEMB_D& memb, C3DPoint& pi, C3DPoint& pj);

    // ---- number output by figure mode ----------------------------------------------------------
    void OutputSDeformNumbers(CDC* pDC);
    void OutputBDeformNumbers(CDC* pDC);
    void OutputACRNumbers(CDC* pDC);
    void OutputASDNumbers(CDC* pDC);
    void OutputSideWallSteelNumbers(CDC* pDC);
    void OutputSForcNumbers(CDC* pDC);
    void OutputSCrackNumbers(CDC* pDC);
    void OutputBCrackNumbers(CDC* pDC);
    void OutputBBMNumbers(CDC* pDC);
    void OutputBSFNumbers(CDC* pDC);
    void OutputBaseCForcNumbersMemb4Figure(CDC* pDC);

    // ---- diagram drawing ------------------------------------------------------------------------
    int DoBeamElementSteelDiagram(CDC* pDC, UINT key);
    int DoBeamElementSfdBmd(CDC* pDC, UINT key);
    void DoBSfdBmdContour(CDC* pDC, CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                          CArray<int, int>& flags, CArray<int, int>& ints);
    // The envelope record's two curves (rows 0 and 1) as quadrilaterals between the beam and its
    // curve, one per row and segment: vertices station k, k + 1 on the beam, then on the curve;
    // flags 1 per quadrilateral; only the curve edge and the end ordinates are marked.
    void BSfdBmdMakePolygon(const T_BEAM_BM& rec, const double axes[3][3], CArray<C3DPoint, C3DPoint&>& points,
                            CArray<double, double>& values, CArray<int, int>& flags, CArray<int, int>& ints) const;
    void BSfdBmdMakePolygon2();
    // One quadrilateral of a band between a beam and a curve, from station k of nStations to k + 1:
    // beam points, then curve points, valued a at station k and b at k + 1; its edges along the
    // curve and at the beam's two ends are marked (the beam's side is its outline), flag 1.
    static void AddStationBand(const C3DPoint (&quad)[4], double a, double b, int k, int nStations,
                               CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                               CArray<int, int>& flags, CArray<int, int>& ints);
    // The band between a beam (start to end, stations at k/8) and one steel curve of mode 23 (the
    // nine points of value row nRow laid off from the stations): one quadrilateral per segment,
    // stations k, k + 1 on the beam, then on the curve, flag 1 each; the vertices carry the row's
    // steel areas (the colour scale's values, also where the curve is drawn to the negative side);
    // the curve edge and the end ordinates are marked. Nothing for a row outside 0 to 2 or a
    // curve of another count.
    static void BeamAsVMakePolygon(const T_BEAM_SD& rec, int nRow, const C3DPoint& start, const C3DPoint& end,
                                   const CArray<C3DPoint, C3DPoint&>& curve, CArray<C3DPoint, C3DPoint&>& points,
                                   CArray<double, double>& values, CArray<int, int>& flags, CArray<int, int>& ints);
    // The top steel (row 0, drawn to the one side) and the bottom steel (row 1, to the other) of
    // a beam as such bands, appended to the arrays.
    void BeamAsTopMakePolygon(T_BEAM_SD& rec, double axes[3][3], C3DPoint& start, C3DPoint& end, UINT key,
                              CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                              CArray<int, int>& flags, CArray<int, int>& ints);
    void BeamAsBotMakePolygon(T_BEAM_SD& rec, double axes[3][3], C3DPoint& start, C3DPoint& end, UINT key,
                              CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                              CArray<int, int>& flags, CArray<int, int>& ints);
    // Row nRow (0 top, 1 bottom) of the steel as its curve's band.
    void BeamAsRowMakePolygon(int nRow, T_BEAM_SD& rec, double axes[3][3], C3DPoint& start, C3DPoint& end,
                              UINT key, CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values,
                              CArray<int, int>& flags, CArray<int, int>& ints);
    void DrawBeamDgnSteelDiagram();
    void DrawBeamSfdBmd_Envelope();
    int MakeBeamSteelDiagram(UINT key, T_DIAGRAM_D& first, T_DIAGRAM_D& second);
    void BeamSteelDesignMakePolyLine(T_BEAM_SD& rec, double axes[3][3], C3DPoint& start, C3DPoint& end,
                                     C3DPoint* pRefs, CArray<C3DPoint, C3DPoint&>& points,
                                     CArray<double, double>& values, UINT key, int nRow);
    void BeamDeformMakePolyLine(T_BEAM_DISP& rec, double axes[3][3], C3DPoint& start, C3DPoint& end, C3DPoint* pRefs,
                                CArray<C3DPoint, C3DPoint&>& points, CArray<double, double>& values, UINT key);

    // ---- geometry --------------------------------------------------------------------------------
    // Midpoint in plan (z of the first) of exactly two points; 0 (out untouched) otherwise.
    static int GetMemberCentPt(const CArray<C3DPoint, C3DPoint&>& points, C3DPoint& out);
    static void GetCentPt(const C3DPoint& a, const C3DPoint& b, C3DPoint& out);
    // Plan angle of the line a-b in degrees, -180 < angle <= 180 (0 for equal points).
    static double GetRotateAngleBy2Points(const C3DPoint& a, const C3DPoint& b);
    // Centroid of the polygon through the nodes; 0 when a node cannot be read.
    int GetPolyCentroid(const CArray<UINT, UINT>& nodeKeys, double& x, double& y) const;

    // The member record by key through the model's attribute control; 0 when absent.
    int ReadMember(UINT key, T_PMEMB_D& memb) const;
    // Coordinates of a node through the attribute control; 0 when absent.
    int ReadNode(UINT key, C3DPoint& pt) const;
    // 1 for the member types drawn as beams (201, 205, 204).
    static int IsBeamMemberType(int type);
    // The member's first and last node positions from the model; 0 without two points.
    int GetMemberEnds(UINT key, C3DPoint& pi, C3DPoint& pj) const;
    // Local axes of the member from its end points (reversed for an inverse member) followed by
    // the plan diagram axes; 0 when they cannot be computed.
    int GetDiagramAxes(UINT key, const C3DPoint& pi, const C3DPoint& pj, double axes[3][3]) const;
    // Point of an envelope record's curve: station k moved along the diagram axis by the value
    // (shear +, moment - the diagram scale, as the force polylines).
    C3DPoint EnvelopeCurvePoint(const T_BEAM_BM& rec, const double axes[3][3], int nRow, int k) const;
    // The member of the member-key list whose first and last node are the record's ends; 0 when none.
    int FindEnvelopeMember(const T_BEAM_BM& rec, UINT& key) const;
    // Sets the contour range (creating the engine when it has none).
    void SetContourRange(double dMin, double dMax);
    // The post database of the model's document; null when there is none.
    CDataBase* GetPostDB() const;
    // A design result's nine stations into a record: value rows top, bottom, stirrups, each row's
    // inner station (1 to 7) of its largest value (the first of equal ones), and the running
    // extremes hi/lo of the first nRangeRows rows over all nine stations.
    static void CopyStations(const T_RBEM_D& res, T_BEAM_SD& rec, double hi[3], double lo[3], int nRangeRows);
};
