// CPVXBarWallPlatePage: what the wall force (CPVXBarWForc), wall diagram (CPVXBarWSfd), plate
// force (CPVXBarPForc) and plate stress (CPVXBarPStrs) pages of the member bar share.
//
// A page chooses the load, the component and the display options of its result, writes them
// into the bars' editing engines and the settings block when the container executes, and
// rebuilds an engine whose rebuild flag an option set. The shared buttons: Apply (under the wait
// cursor: Execute, the page's display mode into CPVXBarContainerBase::m_nCurrentMode and the
// container's OnTmExecute), Close, the hidden icon button (reads the controls), load "..." (the
// host's load-case dialog) and the load combo (a changed load sets every rebuild flag).
//
//     page (made by the member container for 7305 .. 7308) -> OnInitDialog -> ... Apply
#pragma once

#include "module/bars/CPVXBarDlgBase.h"

class CPVXBarWallPlatePage : public CPVXBarDlgBase {
    DECLARE_DYNAMIC(CPVXBarWallPlatePage)
public:
    // nIDLoadCombo: the page's load combo; nMode: the display mode Execute writes.
    CPVXBarWallPlatePage(UINT nIDTemplate, UINT nIDLoadCombo, int nMode, const char* pszTitle);

    BOOL OnInitDialog() override;
    void Execute() override;
    // An option of the container changed: the force data are built again on the next Apply.
    void SetModified() override { m_bForceRebuild = 1; }
    int GetMode() const { return m_nMode; }

    // ---- shared handlers ---------------------------------------------------------------------------
    // Apply under the wait cursor.
    void OnApply();
    // The load combo's selection changed: a different load becomes the model's and sets every
    // rebuild flag.
    void OnLoadChange();

protected:
    // The page's own initial values from the engines and the settings block (the controls are
    // shown after it), and its enabling of the controls.
    virtual void TakeInitialValues() = 0;
    virtual void UpdateEnabling() {}
    // The settings block's display boxes into the page's (contour given); StoreDisplayBoxes of
    // the base writes them back.
    void TakeDisplayBoxes(int bContour);
    // The editing force engine rebuilt when its flag is set (flag cleared), and the model's
    // result-present flag from the data flag given.
    void RebuildForce(int CForceEngine::*pDataFlag);
    // The contour details dialog of a force page: the editing force engine rebuilt when flagged
    // (the flag stays set), the result-present flag from the page's data flag, then the dialog;
    // nothing without a colour scale.
    void ForceContourDetails(int CForceEngine::*pDataFlag);
    // Values "...": the values box on, then the number details dialog.
    void ValuesMoreWithDialog();
    // The decimals of the wall pages' numbers: the model's moment or force decimals by the wall
    // component (the frame members' codes), into the settings block when the page opens and
    // back on Apply, as the frame pages keep theirs.
    void TakeWallDecimals(int nComp);
    void StoreWallDecimals(int nComp);
    // Short names of a page's "..." buttons (as --details and the pages of the other bars name
    // theirs).
    template <class P>
    static std::vector<CBarControlName> MoreButtonNames() {
        return {{P::IDC_CONTOUR_MORE, "contour-more"}, {P::IDC_VALUES_MORE, "values-more"},
                {P::IDC_DEFORMED_MORE, "deformed-more"}, {P::IDC_LEGEND_MORE, "legend-more"},
                {P::IDC_ANIMATION_MORE, "animation-more"}};
    }
    // The names, and those of the page's other controls.
    template <class P>
    static std::vector<CBarControlName> WithMoreButtons(std::vector<CBarControlName> names) {
        for (const CBarControlName& n : MoreButtonNames<P>()) names.push_back(n);
        return names;
    }

    int m_nMode;
};
