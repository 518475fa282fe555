// CPVXBarSBForc: the slab-beam force page (template 16240, results 7304 of the member and slab
// force bars, display mode 22): slab forces on the slab outline ("板内力") or the forces of the
// slab's rib beams as diagrams ("梁内力").
//
// For rib beams the page offers the component ("弯矩" moment, "剪力" shear), the fill of the
// diagrams ("无", "线填充", "全填充"), their scale factor (a number above 0; any other text is
// refused with "IDS_TBX_PVX_Scale_Factor_Invalid_Positive" and nothing is executed), the number
// positions ("全部" and "最大值" rule the I, centre and J boxes as on the frame diagram page) and
// the flange width lines ("显示翼缘宽度"). For slab forces only the sides "正" / "负" and the
// display boxes are shown; slab forces draw no contour.
#pragma once

#include "module/bars/CPVXBarSlabPage.h"
#include "platform/afx/CString.h"

class CPVXBarSBForc : public CPVXBarSlabPage {
    DECLARE_DYNCREATE(CPVXBarSBForc)
public:
    enum : UINT {
        IDD = 16240,
        IDC_LOAD = 11513,
        IDC_KIND_GROUP = 11534,
        IDC_KIND_SLAB = 11514,     // radios: slab forces, slab-beam forces
        IDC_KIND_BEAM = 11515,
        IDC_COMP_GROUP = 11524,
        IDC_COMP_MOMENT = 11580,   // radios: moment, shear
        IDC_COMP_SHEAR = 11581,
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
        IDC_ANIMATION = 10991,
        IDC_ANIMATION_MORE = 10992,
        IDC_FLANGE = 11522,        // flange width lines
        IDC_FILL_FRAME = 11449,    // frame of the fill block
        IDC_FILL_GROUP = 65535,    // "填充类型"
        IDC_FILL_NONE = 10764,     // radios: none, line fill, full fill
        IDC_FILL_LINE = 10765,
        IDC_FILL_FULL = 10766,
        IDC_SCALE_LABEL = 10683,
        IDC_SCALE = 10763,
        IDC_OUTPUT_GROUP = 10842,
        IDC_OUT_I = 10756,
        IDC_OUT_CENTRE = 10757,
        IDC_OUT_J = 10758,
        IDC_OUT_MAX = 10759,
        IDC_OUT_ALL = 10761,
    };
    enum { KIND_SLAB = 0, KIND_BEAM = 1 };
    enum { FILL_NONE = 0, FILL_LINE = 1, FILL_FULL = 2 };
    // Gap between the blocks, dialog units.
    static constexpr int kBlockGap = 8;

    CPVXBarSBForc();

    BOOL OnInitDialog() override;
    void ApplyOptions() override;
    int GetPageType() override { return PAGE_SLAB_FORCE; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // Fill type of the engine's line and fill switches, and back.
    static int FillOfEngine(int bLine, int bFill);
    static void EngineOfFill(int nFill, int& bLine, int& bFill);
    // A scale factor: a finite number above 0; FALSE otherwise.
    static BOOL ParseScale(const CString& text, double& dScale);

    int m_nKind;        // KIND_*
    int m_nComponent;   // 0 moment, 1 shear
    int m_bPositive;
    int m_bNegative;
    int m_nFill;        // FILL_*
    CString m_strScale;
    int m_bAll, m_bCentre, m_bIEnd, m_bJEnd, m_bMax;  // number positions
    int m_bFlange;

    // Handlers.
    void OnKindChange();
    void OnKindButton(UINT nID);
    void OnComponentButton(UINT nID);
    void OnPositive();
    void OnNegative();
    void OnContourCheck();
    void OnValuesCheck();
    void OnValuesMoreButton();
    void OnAllRule();
    void OnMaxRule();
    void OnAnimationMore();
    void OnReadControls();

protected:
    BOOL Validate() override;
    void OnLoadChanged() override { SignRule(); }
    // Contours only for rib beams, and for an envelope on one side only.
    void SignRule();
    // Slab forces: sides and display under the kind group; rib beams: component, fill, display
    // and output blocks, one under the other.
    void LayoutKind();
    // The number positions follow the values box and the all and max rules.
    void UpdateOutputEnabling();
    void UpdateContourButtons();
    DECLARE_MESSAGE_MAP()
};
