// The frame force pages of the member bar: CPVXBarBForc (template 10571, result 7301, display
// mode 6) draws beam, column and truss forces as colour bands along the members; CPVXBarBSfd
// (template 10574, result 7302, display mode 7) as shear-force and bending-moment diagrams.
//
// Both choose the load, the component (radio "弯矩" moment = code 4, "剪力" shear = 2, "扭矩"
// torque = 3; the hidden radios N, V, Mz, Vyz, Myz stand for no code) and where numbers go
// ("输出位置": all, centre, I end, J end, max; "全部" sets I, centre and J and greys them,
// "最大值" clears all four). An envelope in the load list is shown on the side the "包络" radios
// choose: maximum, minimum or larger magnitude (offered only while an envelope is chosen). The diagram page also chooses the diagram method (exact, or five
// points, the only one for a load step other than 0), the fill (none, line fill, full fill),
// the scale (a number; other text keeps the previous scale) and the min/max diagram, which
// trusses do not have. Their CPVXBarFramePage base holds what the two share.
#pragma once

#include "module/bars/CPVXBarDlgBase.h"

class CPVXBarFramePage : public CPVXBarDlgBase {
    DECLARE_DYNAMIC(CPVXBarFramePage)
public:
    // Control ids of one page.
    struct IdSet {
        UINT nLoad, nCompFirst, nContour, nContourMore, nDeformed, nDeformedMore, nValues, nValuesMore, nLegend,
            nLegendMore, nAnimation, nAnimationMore, nUndeformed, nAll, nMax, nIEnd, nCentre, nJEnd, nUnitFirst,
            nSideFirst;
    };
    CPVXBarFramePage(UINT nIDTemplate, const IdSet& ids, int nMode, const char* pszTitle);

    BOOL OnInitDialog() override;
    void Execute() override;
    int GetPageType() override { return PAGE_FRAME_FORCE; }
    // The archived load's step chooses the side radios as well.
    void TakeArchivedSettings() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Component radio index 0, 1, 2 to the engine's code 4, 2, 3; -1 for the others.
    static int ComponentOfIndex(int nIndex);
    // The engine's code to the radio: 2 gives 1, 3 gives 2, any other 0.
    static int IndexOfComponent(int nCode);

    int m_nIndex;       // component radio index
    int m_nComponent;   // component code last read or chosen; -1 none
    int m_bAll, m_bCentre, m_bIEnd, m_bJEnd, m_bMax;  // output positions
    int m_nUnit;        // member (0) or element (1) numbers; hidden
    int m_nSide;        // side of an envelope: 0 maximum, 1 minimum, 2 larger magnitude

    // ---- shared handlers ---------------------------------------------------------------------
    void OnApply();
    virtual void OnLoadChange();
    void OnComponent();
    void OnValuesBox();
    void OnValuesMore();
    void OnAllRule();
    void OnMaxRule();

protected:
    virtual void TakeInitialValues() = 0;
    // "全部" and "最大值" exclude each other: the rule ticked clears the other and sets the
    // three positions to bPositions.
    void OnPositionRule(int& bRule, int& bOther, int bPositions);
    // Values box and positions: the enabling rules of the output group.
    void UpdatePositionEnabling();
    // The output positions from the engine (max wins over all, all sets the three positions).
    void TakePositions();
    // The output positions and the member/element choice into the engine.
    void StorePositions();
    // An envelope chosen in the load list shows the side the side radios choose (load step 1
    // maximum, 2 minimum, 3 larger magnitude), or both sides when the page draws them (the
    // min/max diagrams, load step 3); other loads are left as chosen.
    void TakeEnvelopeSide();
    // The side radios from the model's load step: an envelope's step 2 the minimum, 3 the larger
    // magnitude unless both sides are drawn, anything else the maximum.
    void TakeSide();
    // The side radios are offered while an envelope is chosen and one side is drawn.
    void UpdateSideEnabling();
    // Whether the page draws both sides of an envelope (the diagram page's min/max box).
    virtual int DrawsBothSides() const { return 0; }
    // Load step of a side radio: 1, 2 or 3.
    static int StepOfSide(int nSide);
    // The common end of Apply: the deformation data rebuilt when flagged, then the force data,
    // and the model's result-present flag from the member forces.
    void RebuildEngines();

    IdSet m_ids;
    int m_nMode;
};

class CPVXBarBForc : public CPVXBarFramePage {
    DECLARE_DYNCREATE(CPVXBarBForc)
public:
    enum : UINT {
        IDD = 10571,
        IDC_LOAD = 10984,
        IDC_COMP_MOMENT = 10741,  // radios moment, shear, torque, then the hidden N, V, Mz
        IDC_COMP_SHEAR = 10739,
        IDC_COMP_TORQUE = 10740,
        IDC_CONTOUR = 10708,
        IDC_CONTOUR_MORE = 10709,
        IDC_DEFORMED = 10985,
        IDC_DEFORMED_MORE = 10986,
        IDC_VALUES = 10987,
        IDC_VALUES_MORE = 10988,
        IDC_LEGEND = 10989,
        IDC_LEGEND_MORE = 10990,
        IDC_ANIMATION = 10991,
        IDC_ANIMATION_MORE = 10992,
        IDC_UNDEFORMED = 10993,
        IDC_MAX = 10759,
        IDC_ALL = 10761,
        IDC_IEND = 10756,
        IDC_CENTRE = 10757,
        IDC_JEND = 10758,
        IDC_UNIT_MEMBER = 10764,  // hidden pair "构件" / "单元"
        IDC_SIDE_MAX = 10745,     // envelope side: maximum, minimum, larger magnitude
        IDC_SIDE_MIN = 10746,
        IDC_SIDE_ABS = 10747,
    };
    CPVXBarBForc();

    void ApplyOptions() override;
    void SetModified() override { m_bForceRebuild = 1; }
    std::vector<CBarControlName> GetControlNames() const override;
    // The codes whose numbers take the moment decimals: 3, 4, 5 and 7.
    static BOOL IsMomentCode(int nCode) { return nCode == 3 || nCode == 4 || nCode == 5 || nCode == 7; }

    void OnContourCheck();

protected:
    void TakeInitialValues() override;
    DECLARE_MESSAGE_MAP()
};

class CPVXBarBSfd : public CPVXBarFramePage {
    DECLARE_DYNCREATE(CPVXBarBSfd)
public:
    enum : UINT {
        IDD = 10574,
        IDC_LOAD = 11012,
        IDC_COMP_MOMENT = 11017,  // radios moment, shear, torque, then the hidden N, V, Mz, Vyz, Myz
        IDC_COMP_SHEAR = 11016,
        IDC_COMP_TORQUE = 11014,
        IDC_COMP_VYZ = 11044,
        IDC_COMP_MYZ = 11045,
        IDC_CONTOUR = 11020,
        IDC_CONTOUR_MORE = 11021,
        IDC_DEFORMED = 11022,
        IDC_DEFORMED_MORE = 11023,
        IDC_VALUES = 11024,
        IDC_VALUES_MORE = 11025,
        IDC_LEGEND = 11026,
        IDC_ANIMATION = 11027,
        IDC_LEGEND_MORE = 11028,
        IDC_ANIMATION_MORE = 11029,
        IDC_UNDEFORMED = 11043,
        IDC_MAX = 11034,
        IDC_ALL = 11035,
        IDC_IEND = 11031,
        IDC_CENTRE = 11032,
        IDC_JEND = 11033,
        IDC_UNIT_MEMBER = 11041,  // hidden pair
        IDC_EXACT = 10769,        // diagram method: exact (0), five points (1)
        IDC_FIVE_POINTS = 10770,
        IDC_FILL_NONE = 11036,    // fill: none, line fill, full fill
        IDC_SCALE = 11039,
        IDC_MINMAX = 11040,
        IDC_SIDE_MAX = 11046,     // envelope side: maximum, minimum, larger magnitude
        IDC_SIDE_MIN = 11047,
        IDC_SIDE_ABS = 11048,
    };
    CPVXBarBSfd();

    void ApplyOptions() override;
    // The truss rule: with trusses shown the min/max diagram is cleared and greyed, and the
    // Vyz and Myz radios are greyed (a radio beyond them goes back to moment).
    void SetModified() override;
    std::vector<CBarControlName> GetControlNames() const override;
    void OnLoadChange() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // The scale of a text that is a finite number; FALSE otherwise.
    static BOOL ParseScale(const CString& text, double& dScale);
    // Fill type 0 none, 1 line fill, 2 full fill to the engine's line and fill switches and back.
    static void FillToSwitches(int nFill, int& bLine, int& bFill);
    static int SwitchesToFill(int bLine, int bFill);

    int m_nMethod;       // 0 exact, 1 five points
    int m_nFill;         // 0 none, 1 line fill, 2 full fill
    CString m_strScale;  // diagram scale as typed
    int m_bMinMax;       // min/max diagram
    int m_bTruss;        // trusses are shown

    void OnMethod();
    void OnIconScale();
    // The min/max box: with it both sides are drawn, and the side radios are not offered.
    void OnMinMaxBox();
    int DrawsBothSides() const override { return m_bMinMax; }

protected:
    void TakeInitialValues() override;
    // Exact diagrams need the load's values: with a load step other than 0 only five points.
    void ApplyStepRule();
    DECLARE_MESSAGE_MAP()
};
