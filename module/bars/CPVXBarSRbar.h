// CPVXBarSRbar: the slab rebar page (template 10675, result 12201 of the slab rebar bar, display
// mode 17): the slab reinforcement the design needs, per member or per element, for the top
// ("板顶") or bottom ("板底") face and, per element, the X or Y direction.
//
// Reinforcement exists for load combinations only: the load list holds the combinations and
// their envelopes, and without combinations in the project it is empty and Apply is greyed. One
// face is always checked. Contours need element values and, for an envelope, one face only;
// where they are not possible the values are shown instead.
#pragma once

#include "module/bars/CPVXBarSlabPage.h"

class CPVXBarSRbar : public CPVXBarSlabPage {
    DECLARE_DYNCREATE(CPVXBarSRbar)
public:
    enum : UINT {
        IDD = 10675,
        IDC_LOAD = 11535,
        IDC_OPTIONS_GROUP = 11536,
        IDC_UNIT_MEMBER = 11537,   // radios: member, element
        IDC_UNIT_ELEMENT = 11538,
        IDC_TOP = 11547,
        IDC_BOTTOM = 11548,
        IDC_DIR_GROUP = 11552,
        IDC_DIR_X = 11550,         // radios: X (Mxx), Y (Myy)
        IDC_DIR_Y = 11551,
        IDC_DISPLAY_GROUP = 11540,
        IDC_CONTOUR = 11541,
        IDC_CONTOUR_MORE = 11542,
        IDC_VALUES = 11543,
        IDC_VALUES_MORE = 11544,
        IDC_LEGEND = 11545,
        IDC_LEGEND_MORE = 11546,
    };
    enum { UNIT_MEMBER = 0, UNIT_ELEMENT = 1 };
    // Load kinds listed: combinations and envelopes when the project has combinations, else the
    // combinations alone (an empty list).
    static constexpr DWORD kRebarLoadMask = 0x50000;
    static constexpr DWORD kNoCombinationMask = 0x10000;

    CPVXBarSRbar();

    BOOL OnInitDialog() override;
    void ApplyOptions() override;
    int GetPageType() override { return PAGE_SLAB_REBAR; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;
    // The project has load combinations (the page can show reinforcement).
    BOOL HasCombinations() const { return m_bHasCombinations; }

    int m_nUnit;        // UNIT_*; -1 none
    int m_bTop;
    int m_bBottom;
    int m_nDirection;   // 0 X, 1 Y; -1 none

    // Handlers.
    void OnUnitChange();
    void OnUnitButton(UINT nID);
    void OnTop();
    void OnBottom();
    void OnDirection();
    void OnDirectionButton(UINT nID);
    void OnContourCheck();
    void OnReadControls();

protected:
    BOOL Validate() override;
    void OnLoadChanged() override { FaceRule(); }
    // Contours only where ContourAllowed; the faces against the engine's set the rebuild flag.
    void FaceRule();
    void UpdateContourButtons();
    DECLARE_MESSAGE_MAP()

    BOOL m_bHasCombinations;
};
