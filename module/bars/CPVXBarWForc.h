// CPVXBarWForc: the wall force page (template 10614, result 7305, display mode 8): wall forces
// as contours over the wall faces, with their numbers.
//
// The component radios "N", "Vy", "Vz", "T", "My", "Mz" are the wall component 0..5 itself. The
// contour box cannot be cleared. With the deformed box on no numbers are written (the values box
// is cleared and greyed). The number boxes of wall columns and wall beams follow the values box;
// each family's output radios ("上端", "下端", "最大", "全部": the top, the bottom, the extreme,
// all; for wall beams the start, the end, the extreme, all) are enabled with values and its box.
#pragma once

#include "module/bars/CPVXBarWallPlatePage.h"

class CPVXBarWForc : public CPVXBarWallPlatePage {
    DECLARE_DYNCREATE(CPVXBarWForc)
public:
    enum : UINT {
        IDD = 10614,
        IDC_LOAD = 11307,
        IDC_COMP_N = 11308,        // radios N, Vy, Vz, T, My, Mz: 11308 .. 11313
        IDC_CONTOUR = 11314,
        IDC_VALUES = 11315,
        IDC_ANIMATION = 11316,
        IDC_CONTOUR_MORE = 11317,
        IDC_VALUES_MORE = 11318,
        IDC_ANIMATION_MORE = 11319,
        IDC_DEFORMED = 11320,
        IDC_LEGEND = 11321,
        IDC_UNDEFORMED = 11322,
        IDC_DEFORMED_MORE = 11323,
        IDC_LEGEND_MORE = 11324,
        IDC_COLM_TOP = 11325,      // wall-column output radios: top, bottom, extreme, all (11325 .. 11328)
        IDC_COLM_NUMBER = 11385,   // wall-column numbers
        IDC_BEAM_NUMBER = 11386,   // wall-beam numbers
        IDC_BEAM_START = 11387,    // wall-beam output radios: start 11387, end 11033, extreme 11388, all 11389
        IDC_BEAM_END = 11033,
        IDC_BEAM_MAX = 11388,
        IDC_BEAM_ALL = 11389,
    };

    CPVXBarWForc();

    void ApplyOptions() override;
    int GetPageType() override { return PAGE_FRAME_FORCE; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nComponent;      // radio index = wall component 0..5; -1 none
    int m_nColmPos;        // wall-column positions 0..3
    int m_nBeamPos;        // wall-beam positions 0..3
    int m_bColmNumber;
    int m_bBeamNumber;

    // Handlers.
    void OnComponent();
    void OnComponentButton(UINT nID);
    void OnContour();
    void OnDeformed();
    void OnDeformedMore();
    void OnValues();
    void OnValuesMore();
    void OnAnimationMore();
    void OnContourMore();

protected:
    void TakeInitialValues() override;
    void UpdateEnabling() override;
    DECLARE_MESSAGE_MAP()
};
