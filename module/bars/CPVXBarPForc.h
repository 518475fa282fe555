// CPVXBarPForc: the plate force page (template 10572, result 7307, display mode 10): forces of
// the plates of T-girders and walls as contours or principal-force vectors, with numbers.
//
// Component radios "Fxx", "Fyy", "Fxy", "Fmax", "Fmin", "Fvector", "FMax", "VMax" are the plate
// components 0, 1, 2, 3, 4, 5, 14 and 16. The vector component takes no numbers and uses the
// vector scale; the derived components 14 and 16 are not averaged at the nodes. Results in the
// element axes ("单元坐标轴") or the global axes ("UCS"), turned about the element normal by the
// angle of the axis list; "输出UCS坐标轴" draws each plate's display axes. "剖断面" shows the
// cutting-line diagrams. Numbers: each plate's extreme ("最大值") or its centre value ("单元中心").
#pragma once

#include "module/bars/CPVXBarWallPlatePage.h"
#include "platform/afx/CString.h"

class CPVXBarPForc : public CPVXBarWallPlatePage {
    DECLARE_DYNCREATE(CPVXBarPForc)
public:
    enum : UINT {
        IDD = 10572,
        IDC_LOAD = 10916,
        IDC_COMP_FXX = 10995,       // radios Fxx 10995, Fyy 10996, Fxy 10997, Fmax 11462, Fmin 11463,
        IDC_COMP_FYY = 10996,       // Fvector 11464, FMax 11465, VMax 11466
        IDC_COMP_FXY = 10997,
        IDC_COMP_FMAX = 11462,
        IDC_COMP_FMIN = 11463,
        IDC_COMP_FVECTOR = 11464,
        IDC_COMP_FABS = 11465,
        IDC_COMP_VMAX = 11466,
        IDC_AXIS_ELEMENT = 11447,   // radios: element axes, UCS (global axes)
        IDC_AXIS_UCS = 11448,
        IDC_AXIS_ANGLE = 11449,     // angle of the display axes about the element normal, degrees
        IDC_SHOW_AXES = 11450,
        IDC_VECTOR_SCALE = 11454,
        IDC_VECTOR_FACTOR = 11455,  // the vectors' automatic length factor, shown only
        IDC_CONTOUR = 11002,
        IDC_CONTOUR_MORE = 11003,
        IDC_DEFORMED = 11004,
        IDC_DEFORMED_MORE = 11005,
        IDC_VALUES = 11006,
        IDC_VALUES_MORE = 11007,
        IDC_LEGEND = 11008,
        IDC_LEGEND_MORE = 11009,
        IDC_ANIMATION = 11010,
        IDC_ANIMATION_MORE = 11011,
        IDC_UNDEFORMED = 11496,
        IDC_AVERAGE = 11497,        // nodal averaging
        IDC_SECTION = 10727,
        IDC_SECTION_MORE = 10731,
        IDC_NUMBER_MAX = 11460,     // radios: the extreme, the centre value
        IDC_NUMBER_CENTRE = 11461,
    };
    static constexpr int kComponentCount = 8;
    static constexpr int kAngleStep = 15;    // degrees between the items of the angle list
    static constexpr int kAngleCount = 12;   // 0 .. 165: a turn by 180 degrees gives the same values
    // Plate component of each radio index, and back (-1: no radio).
    static int ComponentOfIndex(int nIndex);
    static int IndexOfComponent(int nComp);
    // The scale of a text: a finite number above 0; FALSE otherwise.
    static BOOL ParseScale(const CString& text, double& dScale);

    CPVXBarPForc();

    BOOL OnInitDialog() override;
    void ApplyOptions() override;
    int GetPageType() override { return PAGE_PLATE_FORCE; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nIndex;          // component radio index 0..7; -1 none
    int m_nAxis;           // 0 element axes, 1 global axes
    int m_nAngle;          // index of the angle list
    int m_bShowAxes;
    CString m_strScale;    // vector scale as typed
    CString m_strFactor;   // automatic vector factor, shown
    int m_bAverage;
    int m_bSection;
    int m_nNumberMode;     // 0 extreme, 1 centre value

    void OnComponent();
    void OnComponentButton(UINT nID);
    void OnAxis();
    void OnAngle();
    void OnContour();
    void OnValues();
    void OnValuesMore();
    void OnSection();
    void OnSectionMore();
    void OnAnimationMore();
    void OnDeformedMore();
    void OnContourMore();

protected:
    void TakeInitialValues() override;
    void UpdateEnabling() override;
    DECLARE_MESSAGE_MAP()
};
