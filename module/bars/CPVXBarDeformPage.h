// CPVXBarDeformPage: what the pages of the system bar share: the deformed shape (CPVXBarDeform),
// the displacement contour (CPVXBarDContr), the settlement (CPVXBarSetMnt), the node
// displacement query (CPVXBarSrhdsp) and the mode shapes (CPVXBarMdShp).
//
// A page edits the bars' editing deformation engine and the settings block. Apply (under the
// wait cursor) runs Execute: the page's display mode into CPVXBarContainerBase::m_nCurrentMode,
// then the container's OnTmExecute, which calls ApplyOptions. The number of decimals the pages
// show in the settings block is the model's displacement decimals.
//
// The component codes of the deformation engine are 0 DX, 1 DY, 2 DZ, 3 DXYZ, 4 RX, 5 RY, 6 RZ,
// 7 DXY, 8 DYZ, 9 DXZ. The deformed-shape and mode-shape pages offer the translations only, DX
// DY DZ DXYZ DXY DYZ DXZ: radio index r stands for code r up to 3 and r + 3 above
// (RadioToComponent); a rotation shown by another page comes back as DXYZ.
#pragma once

#include "module/bars/CPVXBarDlgBase.h"

class CPVXBarDeformPage : public CPVXBarDlgBase {
    DECLARE_DYNAMIC(CPVXBarDeformPage)
public:
    // nIDLoadCombo: the page's load combo (0 none); nMode: the display mode Execute writes.
    CPVXBarDeformPage(UINT nIDTemplate, UINT nIDLoadCombo, int nMode, const char* pszTitle);

    BOOL OnInitDialog() override;
    void Execute() override;
    void SetModified() override { m_bDeformRebuild = 1; }
    int GetPageType() override { return PAGE_DEFORM; }
    int GetMode() const { return m_nMode; }

    // Radio index of the translation pages to the engine's component code; -1 for none.
    static int RadioToComponent(int nIndex);
    // The engine's component code to the radio index (a rotation gives DXYZ, 3).
    static int ComponentToRadio(int nCode);

    // ---- shared handlers -----------------------------------------------------------------------
    void OnApply();
    // A different load chosen in the load combo becomes the model's load; the rebuild flags set.
    void OnLoadChange();
    void OnNumberMore() { OnNumberDetails(1); }

protected:
    // The page's own initial values (after the load selection; the controls are shown after it).
    virtual void TakeInitialValues() = 0;
    virtual void UpdateEnabling() {}
    // The common end of ApplyOptions: the model's displacement decimals from the settings block,
    // the load-type-5 animation flag, the engine rebuilt when flagged and the model's
    // result-present flag from it.
    void FinishApply();

    int m_nMode;
};
