// CPVXBarContainerSlabRbar: the bar of the slab reinforcement (template 10673): one page,
// result id 12201, no combo.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"

class CPVXBarContainerSlabRbar : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainerSlabRbar)
public:
    enum : UINT { IDD = 10673 };

    CPVXBarContainerSlabRbar();
    ~CPVXBarContainerSlabRbar() override;

    void OnInitialUpdate() override;
    void ShowChildDlgByMode(int nResultId) override;
    // Shows the slab reinforcement.
    void OnChangeBarTab() override;
    int PreparePage(int nResultId) override;

    // As the slab force page: deformation engine (total displacement) and force engine.
    int PrepareSRbar();

protected:
    const PageRow* GetPageTable(int& nCount) const override;
};
