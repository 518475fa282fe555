// CPVXBarReacPage: what the two reaction pages share (CPVXBarReacf and CPVXBarRContr).
//
// A reaction page chooses the load, the display boxes, the reaction component and the arrow size
// factor, writes them into the bars' editing reaction engine and the settings block, and reports
// the reaction of a node typed or picked into its node edit in the host's message window:
//
//     NODE NUMBER=12
//      FX= 1.00000E+001  FY= ...  FZ= ...  FXYZ= ...
//      MX= ...  MY= ...  MZ= ...
//
// Numbers carry three exponent digits, as every report of the module does. The arrow size factor
// must be a number from -10 to 10: Execute refuses any other text with the message
// "IDS_TBX_PVX_Scale_Factor_Invalid_Abs10" and executes nothing, whichever way it is reached (the
// Apply button or a detail dialog's apply-on-OK).
#pragma once

#include "host/base/CMouseEdit.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "platform/afx/CString.h"

class CPVXBarReacPage : public CPVXBarDlgBase {
    DECLARE_DYNAMIC(CPVXBarReacPage)
public:
    // Control ids the pages share; the others are each page's own (IdSet).
    enum : UINT {
        IDC_REAC_FX = 10690,  // radios FX, FY, FZ, FXYZ, MX, MY, MZ, MXYZ: 10690..10697 (hidden group)
        IDC_REAC_NODE = 10688,
    };
    struct IdSet {
        UINT nLoadCombo, nContour, nLegend, nValues, nContourMore, nLegendMore, nValuesMore, nScale;
    };

    CPVXBarReacPage(UINT nIDTemplate, const IdSet& ids, int nMode);

    void ApplyOptions() override;
    void Execute() override;
    void SetModified() override {}
    int GetPageType() override { return PAGE_REACTION; }
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;

    // The factor of a text when it is a whole number in -10..10; FALSE otherwise.
    static BOOL ParseScale(const CString& text, double& dScale);
    // The model's decimals a reaction component's numbers take: moments for 4 to 7, else forces.
    static int I_PVXModel::*ReactionDecimals(int nComponent);
    // A node key of a text that is a whole positive number; FALSE otherwise.
    static BOOL ParseNode(const CString& text, UINT& nNode);
    // Writes the node's reaction into the message window and adds it to the picked lists; a node
    // whose six components are all zero gives "Node has no Reaction" only. Returns 1 when reported.
    int ReportNode(UINT nNode);

    int m_nComponent;        // reaction component 0..7
    CString m_strScale;      // arrow size factor as typed
    CString m_strNode;       // node edit
    CMouseEdit m_EditNode;   // the node edit: picks a node in the view (pile reaction page only)
    static constexpr int kPickNodes = 38;  // picking mode of the node edit
    int m_nMembKind;         // contour page: 0 raft, 1 beam
    int m_bSuppress;         // engine option taken at initialisation and written back unchanged

    // Handlers the message maps of the two pages bind.
    void OnApply();
    void OnLoadChange();
    void OnComponent();
    void OnNumberMore() { OnNumberDetails(1); }
    // A node picked in the view through the node edit: its reaction reported, or, for anything
    // else picked, the edit, the picked lists and the message window emptied.
    LRESULT OnNodePicked(WPARAM wParam, LPARAM lParam);

protected:
    IdSet m_ids;
    int m_nMode;
    BOOL m_bHasMembKind = FALSE;
};
