// CPVXBarContainerSlabDetail: the bar of the slab detail results (template 16237): slab wall
// design forces 7401 and slab strips 7402. Its pages edit a force engine only.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"

class CPVXBarContainerSlabDetail : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainerSlabDetail)
public:
    enum : UINT { IDD = 16237 };

    CPVXBarContainerSlabDetail();
    ~CPVXBarContainerSlabDetail() override;

    void OnInitialUpdate() override;
    void ShowChildDlgByMode(int nResultId) override;
    void OnChangeBarTab() override;
    int PreparePage(int nResultId) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // Force engine; the contour box on; the slab wall page also sets the bars' display mode 20.
    int PrepareSWall();
    int PrepareSStrip();
    // Page index 0 and the result id into the shared statics.
    void PrepareSDetailMode(int nResultId);

protected:
    const PageRow* GetPageTable(int& nCount) const override;
    const ComboRow* GetComboTable(int& nCount) const override;
    DECLARE_MESSAGE_MAP()
};
