// CPVXBarContainerSlabForc: the bar of the slab forces (template 10670): slab forces 7303 and
// slab forces on slab beams 7304.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"

class CPVXBarContainerSlabForc : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainerSlabForc)
public:
    enum : UINT { IDD = 10670 };

    CPVXBarContainerSlabForc();
    ~CPVXBarContainerSlabForc() override;

    void OnInitialUpdate() override;
    void ShowChildDlgByMode(int nResultId) override;
    // Shows the slab forces.
    void OnChangeBarTab() override;
    int PreparePage(int nResultId) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // Deformation engine (total displacement) and force engine; the contour box on.
    int PrepareSForce();
    int PrepareSBForce();

protected:
    const PageRow* GetPageTable(int& nCount) const override;
    const ComboRow* GetComboTable(int& nCount) const override;
    DECLARE_MESSAGE_MAP()
};
