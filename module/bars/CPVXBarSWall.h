// CPVXBarSWall: the slab wall page (template 16238, result 7401 of the slab detail bar, display
// mode 20): the slab's design moment ("弯矩") or shear ("剪力") across short cuts at the ends of
// the walls, for all walls ("所有") or the user's walls ("用户").
//
// The user's walls are typed as a number list ("1-3,5") or selected in the model views: leaving
// the list, or pressing Enter in it, selects the members it names in the views; the views'
// selection, kept to its walls (member type 202), comes back into the list in short ascending
// form and becomes the engine's wall list. The cut width ("自动生成选项") is a length in metres
// above 0 and at most kMaxWidth; Apply refuses another width with
// "IDS_TBX_PVX_Slab_Wall_Width_Invalid", and, for the user's walls, a list that is no number list
// or names no wall with "IDS_TBX_PVX_Slab_Wall_List_Invalid", and executes nothing.
#pragma once

#include "module/bars/CPVXBarSlabPage.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/ui/CEdit.h"

// The wall list edit: Enter does what leaving the field does (the parent hears EN_KILLFOCUS).
class CSelectListEdit : public CEdit {
    DECLARE_DYNAMIC(CSelectListEdit)
public:
    BOOL PreTranslateMessage(MSG* pMsg) override;
};

class CPVXBarSWall : public CPVXBarSlabPage {
    DECLARE_DYNCREATE(CPVXBarSWall)
public:
    enum : UINT {
        IDD = 16238,
        IDC_LOAD = 11553,
        IDC_COMP_MOMENT = 11554,   // radios: moment, shear, rebar (hidden)
        IDC_COMP_SHEAR = 11555,
        IDC_COMP_REBAR = 11556,
        IDC_WIDTH = 11557,
        IDC_WIDTH_UNIT = 11558,
        IDC_WALLS_ALL = 11559,     // radios: all walls, the user's walls
        IDC_WALLS_USER = 11560,
        IDC_WALL_LIST = 11561,
        IDC_VALUES = 11617,
        IDC_VALUES_MORE = 11618,
        IDC_LEGEND = 11619,
        IDC_LEGEND_MORE = 11620,
    };
    enum { WALLS_ALL = 0, WALLS_USER = 1 };
    static constexpr int kWallMemberType = 202;
    // Longest cut, m: wider than any slab panel between walls.
    static constexpr double kMaxWidth = 100.0;

    CPVXBarSWall();

    BOOL OnInitDialog() override;
    void ApplyOptions() override;
    int GetPageType() override { return PAGE_SLAB_WALL; }
    void DoDataExchange(CDataExchange* pDX) override;
    std::vector<CBarControlName> GetControlNames() const override;
    // Hints 5 (members selected) and 6 (members picked in a view, until the first Apply) take
    // the views' walls into the list while the bars show mode 20; the others as for every page.
    void OnDBUpdate(void* pSender, int nHint, void* pData) override;

    // A cut width: a finite number of metres above 0 and at most kMaxWidth; FALSE otherwise.
    static BOOL ParseWidth(const CString& text, double& dWidth);

    int m_nComponent;      // 0 moment, 1 shear, 2 rebar
    int m_nWalls;          // WALLS_*
    CString m_strWidth;
    CString m_strWallList;
    CArray<UINT, UINT> m_arrWallKey;  // the walls of the views' selection, ascending
    int m_bApplying;       // set by Apply, cleared when the page is initialised

    // Handlers.
    void OnApplyButton();
    void OnComponentButton(UINT nID);
    void OnWallsChange();
    void OnWallsButton(UINT nID);
    // Selects the members the list names in the host views (the update brings the walls back).
    void OnWallListDone();
    void OnReadControls();
    // Values "...": values on, then the number details dialog with the number direction.
    void OnValuesMoreWithDirection();

protected:
    BOOL Validate() override;
    DECLARE_MESSAGE_MAP()

    CSelectListEdit m_editWallList;
    CString m_strListTaken;  // the list text last selected in the views or shown from them
};
