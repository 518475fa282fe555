// CReactionEngine: the result engine of support reactions and of the contact pressure under
// elastically supported rafts and beams.
//
// Display mode 0 draws the reactions of the supported nodes as arrows (or glyphs for moments)
// with their numbers; display mode 70 draws the spring pressures as contours on raft members
// (member type 301) or beam members (201). The data kind chosen by the reaction bar page decides
// what InitEngine builds: 0 the pressure contour (MakeRContrDataList), 1 and 2 the reactions of
// the nodes of that support type (MakeReacDataList). Each record is reduced to one value by the
// component selector; the extremes feed the legend and the colour scale. Every draw goes through
// a plot engine (CPlotReactionEng) made by BeginPlotEng and deleted by EndPlotEng.
//
//     CReactionEngine e(pModel);
//     e.m_nDataKind = 1;          // reactions
//     e.m_nComponent = 2;         // FZ
//     e.InitEngine(nullptr, -1);  // builds for the model's load selection
//     e.BeginPlotEng(pDC); e.DrawReactionValueNew(); e.OutputNumbersNew(); e.EndPlotEng();
//
// Units: forces kN, moments kN·m, pressures kN/m2 (as the host stores them); keys are host keys,
// 0 = none. Related: CLegendEngine (reaction extremes), CPVXBarContainerReac (the bar pages).
#pragma once

#include <vector>

#include "host/db/DBRecords.h"
#include "host/db/DBResultRecords.h"
#include "module/engines/CEngineBase.h"
#include "platform/afx/CMap.h"
#include "platform/afx/CString.h"

class CDeformEngine;
class CPlotReactionEng;
struct T_PVX_DOPT_NUMBER_D;

// A load of the post database for the load lists of the reaction pages.
struct T_SELECTEDLOAD {
    int nType;     // 1 static load case, 9 load combination
    UINT nKey;
    int nExtra;    // not set by the reaction engine
};

class CReactionEngine : public CEngineBase {
public:
    // Component selector codes (the page's radio buttons "FX" to "MXYZ").
    enum { COMP_FX = 0, COMP_FY, COMP_FZ, COMP_FXYZ, COMP_MX, COMP_MY, COMP_MZ, COMP_MXYZ };
    // Data kinds (set by the bar container's Prepare members).
    enum { KIND_CONTOUR = 0, KIND_REACTION = 1, KIND_REVERSED = 2 };
    // Member kinds of the contour.
    enum { MEMB_RAFT = 0, MEMB_BEAM = 1 };

    explicit CReactionEngine(I_PVXModelBase* pModel);
    ~CReactionEngine() override;

    // Copies another engine's settings and built data (the bars' editing engine into the
    // model's); nothing for a null source.
    void ImportEngine(CReactionEngine* pSrc);
    using CEngineBase::ImportEngine;

    // Builds the data of the engine's data kind for the model's load selection; what is built
    // depends on the data kind only, the mode is noted (-1: the bars' current mode). Returns the
    // data-ready flag.
    int InitEngine(CDeformEngine* pDeform, int nMode);

    // ---- values ----------------------------------------------------------------------------
    // The record's value by the engine's selector: 0..2 and 4..6 the component, else 0.0.
    double CalcReacValue(T_REAC_D& r);
    // The value by a given selector: 3 and 7 the resultant force and moment as well.
    double CalcReacValue(int nComp, T_REAC_D& r);
    // The largest of |FX|, |FY|, |FZ| (respectively of the moments).
    double CalcMaxReacForce(T_REAC_D& r);
    double CalcMaxReacMoment(T_REAC_D& r);

    // ---- lookups ---------------------------------------------------------------------------
    // The node's record, 1; a zeroed record and 0 when the node has none.
    int GetReacData(UINT nNode, T_REAC_D& r);
    // out[i] = the record GetReacData gives for nodes[i], for n nodes at once.
    void GetReacDataOf(const UINT* nodes, size_t n, std::vector<T_REAC_D>& out);
    // out[i] = CalcReacValue(nComp, the record GetReacData gives for nodes[i]), for n nodes at
    // once. A map whose keys are compact keeps one value per key between calls, rebuilt when
    // the map (its version) or the selector changes.
    void GetReacValuesOf(int nComp, const UINT* nodes, size_t n, std::vector<double>& out);
    // 1 and the value when found, 0 and the output untouched when not.
    int GetReacForce(UINT nNode, T_REAC_D& r);
    int GetReacForce_Beam(UINT nElem, T_STRG_D& r);
    int GetReacForce_Contr(UINT nElem, double& d);
    // The host's reaction of a node for the selected load, three slots; 0 while suppressed.
    int GetReac(UINT nNode, T_REAC_D* p0, T_REAC_D* p1, T_REAC_D* p2);
    // 1 for a plate element or a super element whose results belong to the super element.
    int IsPossibleRContr(UINT nElem);
    // Every static load case (type 1), then every combination (type 9), in key order.
    int GetLCList(CArray<T_SELECTEDLOAD, T_SELECTEDLOAD&>& list);
    // The nodes of the node list with their own positions; returns 1.
    int MakeNodeData4Output(CArray<UINT, UINT&>& keys, CArray<C3DPoint, C3DPoint&>& points);

    // ---- scale factors ----------------------------------------------------------------------
    // Arrow length per unit value: the world length of (client width + height) / 30 pixels
    // over the larger extreme magnitude.
    void InitReacAdjustFactor();
    // Model extent over 20 |v| (v of magnitude below 1e-15 counts as 1).
    void InitRContrAdjustFactor(double v);

    // ---- drawing ----------------------------------------------------------------------------
    int BeginPlotEng(CDC* pDC) override;
    int EndPlotEng() override;
    // The plot engine's draw for the model's display mode; -1 without a plot engine.
    int DrawReactionValueNew();
    int DrawReactionValueNew(CDC*) { return DrawReactionValueNew(); }
    // The plot engine's numbers for the model's display mode (nothing without one).
    void OutputNumbersNew();
    // Reaction numbers at the nodes on any DC (0 without data or while numbers are switched
    // off), and the five-line labels of the figures.
    int OutputReactionNumber(CDC* pDC);
    int OutputReactionNumber4Figure(CDC* pDC);
    // The picked nodes with their keys, into the drawing DC or straight into the window.
    void DrawPickedNodes(CDC* pDC);
    void DrawPickedNodesOnClientWnd(CDC* pDC);
    // Kept for callers: does nothing and returns 1.
    int RotatebyLocalCoord(UINT nNode, T_PNODE_D node, C3DPoint& pt);
    // Kept for callers: builds nothing.
    void MakeReacDataList4Figure() {}

    CPlotReactionEng* GetPlotEngine() const;

    // ---- state ------------------------------------------------------------------------------
    int m_bDataReady;               // a builder stored data for the current selection
    int m_nMode;                    // display mode of the last InitEngine (-1 there: the bars' mode)
    int m_bSuppressReac;            // reactions are not collected (kept by the pages unchanged)
    int m_nComponent;               // COMP_*; 2 FZ by default
    int m_nAxis1, m_nAxis2;         // axis of a single component (0 x, 1 y, 2 z)
    double m_dMaxValue;             // largest value of the result
    double m_dMinValue;             // smallest value of the result
    double m_dReacAdjustFactor;     // arrow length per unit reaction, world units
    double m_dRContrAdjustFactor;   // contour scale per unit pressure
    double m_dArrowScale;           // the user's arrow size factor
    int m_nDataKind;                // KIND_*
    int m_nMembKind;                // MEMB_* of the contour
    CArray<UINT, UINT> m_arrPickedNode;  // nodes the user picked (emptied by a redraw request)
    CArray<UINT, UINT> m_arrNodeKey;     // nodes with a record, in the order they were found
    CArray<UINT, UINT> m_arrContrElem;   // elements of the contour
    CArray<T_PNODE_D, T_PNODE_D&> m_arrElemCenter;  // centre of each element of m_arrContrElem
    UINT m_nMaxNode;                // key of the largest value (a node; a member for the contour)
    UINT m_nMinNode;                // key of the smallest value
    CString m_strMaxLoadCase;       // load case of the largest value (figure legend)
    CString m_strMinLoadCase;       // load case of the smallest value (figure legend)
    CMap<UINT, UINT, T_STRG_D, T_STRG_D&> m_mapBeamPress;   // beam element -> pressure (component 0)
    CMap<UINT, UINT, double, double> m_mapElemExtreme;        // element -> signed extreme pressure
    CMap<UINT, UINT, T_REAC_D, T_REAC_D&> m_mapReac;          // node -> reaction (raft: FZ = pressure)

protected:
    // Pressure contour of the raft or beam members; 1 when data were built.
    int MakeRContrDataList();
    // Reactions of the supported nodes of the data kind.
    void MakeReacDataList();

private:
    struct RContrBuild;
    // Empties the lists and maps of the built data.
    void ClearBuiltData();
    // The record slot of the model's load step: 0 for steps 0 and 1, 1 for step 2, 2 for 3.
    int LoadSlot() const;
    // Raft member: the pressure of every node of its spring elements.
    void AddRaftPressure(UINT nMembKey, const T_PMEMB_D& memb, const CMap<UINT, UINT, UINT, UINT>& springs,
                         RContrBuild& build);
    // Beam member: the pressure record of every spring element.
    void AddBeamPressure(UINT nMembKey, const T_PMEMB_D& memb, const CMap<UINT, UINT, UINT, UINT>& springs,
                         RContrBuild& build);
    // Appends an element of the contour with its centre.
    void AddContrElem(UINT nElem, double dExtreme);

    // GetReacValuesOf's values by node key: byKey[k] for key k, absent for a key without a
    // record (and beyond the table). Built from the map at version nVersion for selector nComp;
    // bDense false when the keys are too spread to be worth a table.
    struct KeptValues {
        bool bBuilt = false;
        bool bDense = false;
        ULONGLONG nVersion = 0;
        int nComp = 0;
        double absent = 0.0;
        std::vector<double> byKey;
    };
    KeptValues m_keptValues;
};

// Number filter of the reaction numbers: with the display options' extremes-only switch, the
// label kind of a value (0 "Max:", 1 "Min:", 2 "MAX:") or -1 when it is not written; without
// the switch 3 (the plain number). The band is (legend maximum - minimum) x percentage x 0.01;
// filter kinds 0 both ends, 1 largest magnitude, 2 maximum only, 3 minimum only.
int ReactionNumberKind(const T_PVX_DOPT_NUMBER_D& n, double dLegendMax, double dLegendMin, double v);

// Beam pressure record from the five quarter-point values d[0..4]: segment k runs between the
// stations at k/8 and (k+1)/8 of the element, values between quarter points are interpolated.
void MakeBeamPressureRecord(const double d[5], T_STRG_D& rec);
