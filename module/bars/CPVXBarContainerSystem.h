// CPVXBarContainerSystem: the bar of the deformation results (template 16230).
//
// Pages: settlement 7202, deformed shape 7201, displacement contour 7204, node displacement
// query 7205 and mode shapes 7203. The combo offers "Deformations" (7201), "Settlement" (7202)
// and the mode shapes (7203); within the
// deformations the type radio (deformed shape, displacement contour, query displacement)
// chooses 7201, 7204 or 7205 (OnPvxBarDeformType). The type group shows for the deformations
// and hides for the settlement and the mode shapes, and the place holder moves with it.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"

class CPVXBarContainerSystem : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainerSystem)
public:
    enum : UINT {
        IDD = 16230,
        IDC_TYPE_SHAPE = 11431,     // deformation-type radios: deformed shape 0,
        IDC_TYPE_CONTOUR = 11432,   // displacement contour 1,
        IDC_TYPE_QUERY = 11433,     // query displacement 2
        IDC_TYPE_GROUP = 11443,
        IDC_ANCHOR = 11444,         // where the place holder's top goes under the type group
    };

    CPVXBarContainerSystem();
    ~CPVXBarContainerSystem() override;

    void OnInitialUpdate() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void ShowChildDlgByMode(int nResultId) override;
    void OnChangeBarTab() override;
    int PreparePage(int nResultId) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int PrepareSettlement();
    int PrepareDeform();
    int PrepareDContr();
    int PrepareSrhdsp();
    int PrepareModeShape();
    // 7201, 7204 or 7205 by the type radio; the current result id for any other radio value.
    int GetTMDeformMode();
    // The type group shown (any id but 7202) or hidden (7202), the place holder's top under it
    // or at the group's top, and the extra layout height.
    void MovePlaceHolderShowControl(int nResultId);

    int m_nDeformType;  // the type radio, 0..2

protected:
    const PageRow* GetPageTable(int& nCount) const override;
    const ComboRow* GetComboTable(int& nCount) const override;
    afx_msg void OnSelchangeSystemCombo();
    afx_msg void OnPvxBarDeformType();
    DECLARE_MESSAGE_MAP()
};
