// CPVXBarPStrs: the plate stress page (template 10576, result 7308, display mode 11): principal
// and component stresses of the plates, drawn by the stress engine.
//
// Component radios "Sig-xx", "Sig-yy", "Sig-zz", "Sig-xy", "Sig-yz", "Sig-xz", "Sig-max",
// "Sig-min", "Sig-eff", "Max-Shear": those the stress engine shows set its component (0 SIG-XX,
// 1 SIG-YY, 2 SIG-XY, 3 SIG-MAX, 4 SIG-MIN, 5 SIG-EFF, 6 SHEAR-MAX); the out-of-plane ones
// leave it as it is. The surface radios "板顶", "板底", "两端", "绝对值最大值", the axis choice and
// its list are kept by the page.
#pragma once

#include "module/bars/CPVXBarWallPlatePage.h"

class CPVXBarPStrs : public CPVXBarWallPlatePage {
    DECLARE_DYNCREATE(CPVXBarPStrs)
public:
    enum : UINT {
        IDD = 10576,
        IDC_LOAD = 11469,
        IDC_AXIS_ELEMENT = 11470,
        IDC_AXIS_UCS = 11471,
        IDC_AXIS_LIST = 11472,
        IDC_SHOW_AXES = 11473,
        IDC_SURFACE_TOP = 10778,   // radios: top, bottom, both, largest magnitude (10778 .. 10781)
        IDC_CONTOUR = 11483,
        IDC_CONTOUR_MORE = 11484,
        IDC_DEFORMED = 11485,
        IDC_DEFORMED_MORE = 11486,
        IDC_VALUES = 11487,
        IDC_VALUES_MORE = 11488,
        IDC_LEGEND = 11489,
        IDC_LEGEND_MORE = 11490,
        IDC_ANIMATION = 11491,
        IDC_ANIMATION_MORE = 11492,
        IDC_SECTION = 11493,
        IDC_SECTION_MORE = 11494,
        IDC_UNDEFORMED = 11495,
        IDC_NUMBER_MAX = 11044,    // radios: the extreme, the centre value
        IDC_NUMBER_CENTRE = 11050,
        IDC_COMP_FIRST = 11510,    // the ten component radios: 11510 .. 11519
    };
    static constexpr int kComponentCount = 10;
    // Stress engine component of each radio index; -1 for the radios it does not show.
    static int ComponentOfIndex(int nIndex);
    static int IndexOfComponent(int nComp);

    CPVXBarPStrs();

    void ApplyOptions() override;
    int GetPageType() override { return PAGE_PLATE_STRESS; }
    void SetModified() override { m_bStressRebuild = 1; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nIndex;       // component radio index 0..9; -1 none
    int m_nAxis;        // 0 element axes, 1 UCS
    int m_nAxisItem;    // item of the axis list
    int m_bShowAxes;
    int m_nSurface;     // 0 top, 1 bottom, 2 both, 3 largest magnitude
    int m_bSection;
    int m_nNumberMode;

    void OnStressOption();
    void OnContour();
    void OnValues();
    void OnValuesMore();
    void OnAxisList();
    void OnContourMore();
    void OnAnimationMore();
    void OnDeformedMore();
    void OnSectionMore();

protected:
    void TakeInitialValues() override;
    void UpdateEnabling() override;
    DECLARE_MESSAGE_MAP()
};
