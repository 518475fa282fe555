// CPVXBarContainerMember: the bar of the member results (template 16232): frame forces as
// contours 7301 or diagrams 7302 (the force-display radio chooses), slab forces 7303, slab
// forces on slab beams 7304, wall forces 7305, wall diagrams 7306, plate forces 7307 and plate
// stresses 7308 (each page in a place of its own, found by its result id).
//
// Its check boxes choose the members the frame forces show (beams, columns, braces, only the
// trusses) and, for the plate results, T-girder and wall members; each box writes the editing
// engine at once and tells the page. The display group (the radio) shows for the frame forces;
// the place holder moves under it or over it.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"

class CPVXBarContainerMember : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainerMember)
public:
    enum : UINT {
        IDD = 16232,
        IDC_FORCE_CONTOUR = 11436,   // force-display radio: contour 0,
        IDC_FORCE_DIAGRAM = 11437,   // diagram 1
        IDC_DISPLAY_GROUP = 11443,
        IDC_ANCHOR = 11444,          // where the place holder's top goes under the display group
        IDC_PLATE_GROUP = 11458,
        IDC_PLATE_LABEL = 11440,
        IDC_SHOW_BEAM = 11450,
        IDC_SHOW_COLUMN = 11449,
        IDC_SHOW_TRUSS = 11438,      // braces
        IDC_ONLY_TRUSS = 11439,
        IDC_SHOW_TG = 11451,         // transfer (T-girder) beams of the plate results
        IDC_SHOW_WALL = 11453,       // walls of the plate results
    };

    CPVXBarContainerMember();
    ~CPVXBarContainerMember() override;

    void OnInitialUpdate() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void ShowChildDlgByMode(int nResultId) override;
    void OnChangeBarTab() override;
    int PreparePage(int nResultId) override;
    // The close button's bottom grows by 90 for 7301 and 7307 and by 55 for 7305.
    void LayoutChildDlg(CRect& groupRect, CRect& closeRect) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // Deformation engine (total displacement) and force engine; frame components 6 and 7 become
    // 2 and 4; the contour box on; the frame boxes from the force engine.
    int PrepareBForc();
    // As PrepareBForc, the deformed beams by their nodes, the component kept.
    int PrepareBDgrm();
    int PrepareSForce();
    int PrepareSBForce();
    // Wall and plate results: the force engine (wall components 6 and 7 become 2 and 4; the plate
    // boxes from the engine), or the stress engine with the deformation engine's principal
    // stress component.
    int PrepareWForc();
    int PrepareWSfbm();
    int PreparePForc();
    int PreparePStrs();
    // 7301 or 7302 (by the radio) for the first combo item, 7303 to 7308 for the others in
    // order; the current result id otherwise.
    int GetTMForceMode();
    // The display group shown (7301, 7302), the plate group shown (7307) or both hidden, and the
    // place holder moved.
    void MovePlaceHolderShowControl(int nResultId);

    int m_nForceType;     // force-display radio, 0 contour, 1 diagram
    int m_bShowBeam;      // the frame boxes
    int m_bShowColumn;
    int m_bShowTruss;
    int m_bOnlyTruss;
    int m_bShowTG;        // the plate boxes
    int m_bShowWall;

protected:
    const PageRow* GetPageTable(int& nCount) const override;
    const ComboRow* GetComboTable(int& nCount) const override;
    afx_msg void OnPvxBarForceType();
    afx_msg void OnPvxBarFrameForceShowBeam();
    afx_msg void OnPvxBarFrameForceShowColumn();
    afx_msg void OnPvxBarFrameForceShowTruss();
    afx_msg void OnPvxBarFrameForceOnlyTruss();
    afx_msg void OnPvxBarPlateShowTG();
    afx_msg void OnPvxBarPlateShowWall();
    DECLARE_MESSAGE_MAP()

private:
    // The frame boxes from the editing force engine.
    void TakeFrameBoxes();
    // The current page told that an option changed.
    void PageModified();
};
