// CPVXBarWSfd: the wall diagram page (template 10615, result 7306, display mode 9): shear-force
// and bending-moment diagrams along the walls, with their numbers.
//
// Component radios by index: 0 Vy, 1 Vz, 2 the larger shear, 3 My, 4 Mz, 5 the larger moment,
// 6 N, 7 T (wall components 1, 2, 6, 4, 5, 7, 0, 3). Wall diagrams are not drawn on the deformed
// shape: the deformed box stays cleared. The number boxes of wall columns and wall beams follow
// the values box; each family's position radios are enabled with values and its box.
#pragma once

#include "module/bars/CPVXBarWallPlatePage.h"

class CPVXBarWSfd : public CPVXBarWallPlatePage {
    DECLARE_DYNCREATE(CPVXBarWSfd)
public:
    enum : UINT {
        IDD = 10615,
        IDC_LOAD = 11284,
        IDC_COMP_FIRST = 11287,   // radios of indices 0 .. 7: 11287 .. 11294
        IDC_CONTOUR = 11296,
        IDC_VALUES = 11297,
        IDC_ANIMATION = 11298,
        IDC_CONTOUR_MORE = 11299,
        IDC_VALUES_MORE = 11300,
        IDC_ANIMATION_MORE = 11301,
        IDC_DEFORMED = 11302,
        IDC_LEGEND = 11303,
        IDC_UNDEFORMED = 11304,
        IDC_DEFORMED_MORE = 11305,
        IDC_LEGEND_MORE = 11306,
        IDC_COLM_NUMBER = 11383,
        IDC_BEAM_NUMBER = 11384,
        IDC_COLM_POS1 = 11019,    // wall-column positions: 11019, 11031, 10769, 10770
        IDC_COLM_POS2 = 11031,
        IDC_COLM_POS3 = 10769,
        IDC_COLM_POS4 = 10770,
        IDC_BEAM_POS1 = 11020,    // wall-beam positions: 11020, 11032, 10771, 10772
        IDC_BEAM_POS2 = 11032,
        IDC_BEAM_POS3 = 10771,
        IDC_BEAM_POS4 = 10772,
    };
    static constexpr int kComponentCount = 8;
    // Wall component of each radio index.
    static int ComponentOfIndex(int nIndex);
    // Radio index of a wall component; -1 for none.
    static int IndexOfComponent(int nComp);

    CPVXBarWSfd();

    void ApplyOptions() override;
    int GetPageType() override { return PAGE_FRAME_FORCE; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nIndex;          // component radio index 0..7; -1 none
    int m_nColmPos;        // wall-column positions 0..3
    int m_nBeamPos;        // wall-beam positions 0..3
    int m_bColmNumber;
    int m_bBeamNumber;

    void OnComponent();
    void OnComponentButton(UINT nID);
    void OnValues();
    void OnValuesMore();
    void OnAnimationMore();
    void OnContourMore();

protected:
    void TakeInitialValues() override;
    void UpdateEnabling() override;
    DECLARE_MESSAGE_MAP()
};
