// CPVXBarStrShrFrcRtio: the story shear page (template 10570, result 7501, display mode 5), the
// one page of the story bar. The user chooses a load case, whether members show their story
// shear forces or their ratios to the storey's shear, and the direction of the shear; Apply
// builds the values of the editing force engine from the host's story shear records and
// executes mode 5. The contour box is always on.
//
// Loads offered: static and settlement cases (the records are per case). The direction list of
// the load kind shown offers the directions the records hold: "0", "45" and "90" degrees from
// global X, "0" chosen after each load change.
#pragma once

#include "module/bars/CPVXBarDlgBase.h"

class CPVXBarStrShrFrcRtio : public CPVXBarDlgBase {
    DECLARE_DYNCREATE(CPVXBarStrShrFrcRtio)
public:
    enum : UINT {
        IDD = 10570,
        IDC_LOAD = 10974,
        IDC_OUT_FORCE = 10975,      // output radios: 10975 forces, 10976 ratios
        IDC_OUT_RATIO = 10976,
        IDC_ANGLE_SETTLE = 10977,   // direction list of a settlement case (load type 4)
        IDC_CONTOUR = 10978,
        IDC_CONTOUR_MORE = 10979,
        IDC_LEGEND = 10980,
        IDC_LEGEND_MORE = 10981,
        IDC_VALUES = 10982,
        IDC_VALUES_MORE = 10983,
        IDC_ANGLE_STATIC = 10984,   // direction list of a static case (load type 1)
    };
    static constexpr DWORD kLoadMask = 0x9;     // static (type 1) and settlement (type 4) cases
    static constexpr int kSubStaticType = 12;

    CPVXBarStrShrFrcRtio();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void ApplyOptions() override;
    void Execute() override;
    void SetModified() override {}
    int GetPageType() override { return PAGE_FRAME_FORCE; }
    std::vector<CBarControlName> GetControlNames() const override;

    // The direction list of the model's load kind shown (the other hidden), filled with the
    // directions of the records and its first item chosen; both hidden for other kinds.
    void FillAngleList();

    int m_nOutput;  // 0 forces, 1 ratios

    void OnApply();
    void OnLoadChange();
    void OnContourMore();
    void OnValuesMore();

protected:
    // The direction chosen in a list (0 when none); its index into pIndex.
    double ReadAngle(UINT nList, int* pIndex);
    DECLARE_MESSAGE_MAP()
};
