// CPVXBarContainerStory: the bar of the story shear-force ratio (template 16231), one page,
// result id 7501.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"

class CPVXBarContainerStory : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainerStory)
public:
    enum : UINT { IDD = 16231 };

    CPVXBarContainerStory();
    ~CPVXBarContainerStory() override;

    void OnInitialUpdate() override;
    void ShowChildDlgByMode(int nResultId) override;
    void OnChangeBarTab() override;
    int PreparePage(int nResultId) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // Deformation engine (total displacement) and force engine; the contour box on.
    int PrepareStoryShearForce();

protected:
    const PageRow* GetPageTable(int& nCount) const override;
    const ComboRow* GetComboTable(int& nCount) const override;
    DECLARE_MESSAGE_MAP()
};
