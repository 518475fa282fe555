// The four pages of the system bar (CPVXBarContainerSystem), on CPVXBarDeformPage:
//
//   CPVXBarDeform  template 10534, result 7201, display mode 1   deformed shape
//   CPVXBarDContr  template 10536, result 7204, display mode 2   displacement contour, with the
//                  cut-section box and the cutting-line dialog
//   CPVXBarSetMnt  template 16241, result 7202, display mode 69  settlement of a loading group
//   CPVXBarSrhdsp  template 10535, result 7205, display mode 3   displacement of a node, reported
//                  in the host's message window:
//                      节点号 12
//                      DX= 1.00000E+000  DY= ...  DZ= ...  DXYZ= ...
#pragma once

#include "host/base/CMouseEdit.h"
#include "module/bars/CPVXBarDeformPage.h"

class CPVXBarDeform : public CPVXBarDeformPage {
    DECLARE_DYNCREATE(CPVXBarDeform)
public:
    enum : UINT {
        IDD = 10534,
        IDC_LOAD = 10690,
        IDC_COMP_DX = 10692,  // the hidden radios DX, DY, DZ, DXYZ, DXY, DYZ, DXZ in this order
        IDC_COMP_DY = 10693,
        IDC_COMP_DZ = 10694,
        IDC_COMP_DXYZ = 10698,
        IDC_COMP_DXY = 10695,
        IDC_COMP_DYZ = 10696,
        IDC_COMP_DXZ = 10697,
        IDC_DEFORMED = 10699,  // on, disabled
        IDC_VALUES = 10700,
        IDC_LEGEND = 10701,
        IDC_UNDEFORMED = 10702,
        IDC_ANIMATION = 10703,
        IDC_DEFORMED_MORE = 10704,
        IDC_VALUES_MORE = 10705,
        IDC_ANIMATION_MORE = 10706,
        IDC_LEGEND_MORE = 10707,
    };
    CPVXBarDeform();

    void ApplyOptions() override;
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nRadio;              // component radio index 0..6, -1 none
    int m_bOwnUndeformed;      // 10702: the box this page writes to the settings block

    void OnComponent();
    void OnUndeformed();
    void OnDeformedBox();

protected:
    void TakeInitialValues() override;
    void UpdateEnabling() override;
    DECLARE_MESSAGE_MAP()
};

class CPVXBarDContr : public CPVXBarDeformPage {
    DECLARE_DYNCREATE(CPVXBarDContr)
public:
    enum : UINT {
        IDD = 10536,
        IDC_LOAD = 11182,
        IDC_COMP_DX = 10708,  // the hidden radios of codes 0..9: 10708 10709 10710 10717 10711
        IDC_COMP_DY = 10709,  // 10712 10713 10695 10696 10697
        IDC_COMP_DZ = 10710,
        IDC_COMP_DXYZ = 10717,
        IDC_COMP_RX = 10711,
        IDC_COMP_RY = 10712,
        IDC_COMP_RZ = 10713,
        IDC_COMP_DXY = 10695,
        IDC_COMP_DYZ = 10696,
        IDC_COMP_DXZ = 10697,
        IDC_CONTOUR = 10714,  // on, disabled
        IDC_CONTOUR_MORE = 10715,
        IDC_DEFORMED = 10718,
        IDC_VALUES = 10719,
        IDC_LEGEND = 10720,
        IDC_ANIMATION = 10721,
        IDC_UNDEFORMED = 10722,
        IDC_VALUES_MORE = 10723,
        IDC_ANIMATION_MORE = 10724,
        IDC_DEFORMED_MORE = 10725,
        IDC_LEGEND_MORE = 10726,
        IDC_CUT_SECTION = 10729,
        IDC_CUT_SECTION_MORE = 10730,
    };
    CPVXBarDContr();

    void ApplyOptions() override;
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    int m_nComponent;          // component code 0..9 (radio index = code), -1 none
    int m_bCutSection;         // 10729

    void OnComponent();
    void OnCutSection();
    // Turns the cut-section box on when needed and shows the model's cutting-line dialog (made
    // once for all views; focused when it is already open).
    void OnCutLineDialog();

protected:
    void TakeInitialValues() override;
    void UpdateEnabling() override;
    DECLARE_MESSAGE_MAP()
};

class CPVXBarSetMnt : public CPVXBarDeformPage {
    DECLARE_DYNCREATE(CPVXBarSetMnt)
public:
    enum : UINT {
        IDD = 16241,
        IDC_GROUP = 11451,
        IDC_CONTOUR = 11452,  // on
        IDC_CONTOUR_MORE = 11453,
        IDC_DEFORMED = 11454,  // hidden
        IDC_DEFORMED_MORE = 11455,
        IDC_LEGEND_MORE = 11456,
        IDC_LEGEND = 11457,
        IDC_VALUES_MORE = 11458,
        IDC_VALUES = 11459,
        IDC_ANIMATION = 11460,  // hidden
        IDC_ANIMATION_MORE = 11461,
        IDC_UNDEFORMED = 11471,  // hidden
    };
    CPVXBarSetMnt();

    void ApplyOptions() override;
    void Execute() override;
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // The settlement loading groups (type 2) in the combo; each item's data is the group's key.
    void FillGroups();
    // The group chosen: its key (0 none) and the number the model's load key takes for it, its
    // place among the settlement groups of the project counted from 1 (0 none).
    UINT GetSelectedGroup(int* pNumber = nullptr) const;

    void OnGroupChange();

protected:
    void TakeInitialValues() override;
    DECLARE_MESSAGE_MAP()
};

class CPVXBarSrhdsp : public CPVXBarDeformPage {
    DECLARE_DYNCREATE(CPVXBarSrhdsp)
public:
    enum : UINT {
        IDD = 10535,
        IDC_LOAD = 11431,
        IDC_NODE = 11432,  // the node picking edit
        kPickNodes = 38,   // picking mode of the edit: nodes
    };
    CPVXBarSrhdsp();

    void ApplyOptions() override;
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // The node's displacement into the message window; the node added to the picked lists of the
    // editing engine and of the model's. Returns 1 when reported.
    int ReportNode(UINT nNode);
    // A number of the report, 12 characters wide.
    static CString Exp12(double v) { return FormatExp3(v, 12); }

    CMouseEdit m_EditNode;
    CString m_strNode;

    void OnLoadChangeNow();
    afx_msg LRESULT OnNodePicked(WPARAM wParam, LPARAM lParam);

protected:
    void TakeInitialValues() override;
    DECLARE_MESSAGE_MAP()
};
