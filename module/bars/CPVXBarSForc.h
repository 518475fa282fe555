// CPVXBarSForc: the slab force page (template 10671, results 7303 of the member and slab force
// bars, display mode 16): slab forces per member (numbers along the slab outline) or per element
// (contours and element numbers).
//
// Unit "构件" (member) / "单元" (element). Per element the component radios "Mxx", "Myy", "Mxy",
// "Vxx", "Vyy", "Vmax" (and the hidden "Fxx", "Fyy", "Fxy") are the slab components 0 .. 8, and
// the values may be averaged at the nodes ("节点平均"; "Vmax" is a derived value and is not
// averaged). Per member the component and averaging groups are hidden and the lower part of the
// page closes the gap. "正" and "负" choose the positive and negative sides; one is always
// checked. Contours need element values and, for an envelope load, one side only; where they are
// not possible the values are shown instead.
#pragma once

#include "module/bars/CPVXBarSlabPage.h"

class CPVXBarSForc : public CPVXBarSlabPage {
    DECLARE_DYNCREATE(CPVXBarSForc)
public:
    enum : UINT {
        IDD = 10671,
        IDC_LOAD = 11513,
        IDC_OPTIONS_GROUP = 11534,
        IDC_UNIT_MEMBER = 11514,      // radios: member, element
        IDC_UNIT_ELEMENT = 11515,
        IDC_AVERAGE_GROUP = 11598,
        IDC_AVERAGE_ELEMENT = 11595,  // radios: element values, nodal average
        IDC_AVERAGE_NODAL = 11596,
        IDC_ACTIVE_ONLY = 11597,      // average over the active elements' nodes
        IDC_COMP_GROUP = 11524,
        IDC_COMP_MXX = 11522,         // radios in this order: Mxx Myy Mxy Vxx Vyy Vmax (Fxx Fyy Fxy hidden)
        IDC_COMP_MYY = 11527,
        IDC_COMP_MXY = 11530,
        IDC_COMP_VXX = 11525,
        IDC_COMP_VYY = 11528,
        IDC_COMP_VMAX = 11531,
        IDC_COMP_FXX = 11526,
        IDC_COMP_FYY = 11529,
        IDC_COMP_FXY = 11532,
        IDC_SIGN_GROUP = 11523,
        IDC_POSITIVE = 11511,
        IDC_NEGATIVE = 11512,
        IDC_DISPLAY_GROUP = 11533,
        IDC_CONTOUR = 11516,
        IDC_CONTOUR_MORE = 11517,
        IDC_VALUES = 11518,
        IDC_VALUES_MORE = 11519,
        IDC_LEGEND = 11520,
        IDC_LEGEND_MORE = 11521,
    };
    enum { UNIT_MEMBER = 0, UNIT_ELEMENT = 1 };
    enum { COMP_MXX = 0, COMP_VMAX = 5, kComponentCount = 9 };
    // Gap between the options (or component) group and the lower block, dialog units.
    static constexpr int kBlockGap = 10;

    CPVXBarSForc();

    BOOL OnInitDialog() override;
    void ApplyOptions() override;
    int GetPageType() override { return PAGE_SLAB_FORCE; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nUnit;           // UNIT_*; -1 none
    int m_nAverage;        // 0 element values, 1 nodal average
    int m_bActiveOnly;     // nodal average over the active elements only
    int m_nComponent;      // slab component 0 .. 8; -1 none
    int m_bPositive;
    int m_bNegative;

    // Handlers.
    void OnUnitChange();
    void OnUnitButton(UINT nID);
    void OnAverageChange();
    void OnAverageButton(UINT nID);
    void OnComponentButton(UINT nID);
    void OnPositive();
    void OnNegative();
    void OnContourCheck();
    void OnReadControls();

protected:
    void OnLoadChanged() override { SignRule(); }
    // Contours only where ContourAllowed; the sides against the engine's set the rebuild flag.
    void SignRule();
    // Member: component and averaging groups hidden, the options group short, the lower block
    // under it; element: the reverse, the lower block under the component group.
    void LayoutUnit();
    // The contour "..." button follows the contour box where contours are possible.
    void UpdateContourButtons();
    DECLARE_MESSAGE_MAP()

    BOOL m_bOptionsShort;  // the options group is shortened by the averaging group
};
