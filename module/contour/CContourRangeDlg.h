// CPVXCtmzRrDlg: the custom contour range dialog ("用户定义等值线范围").
//
// Lists the levels of a contour engine ("Rank %d", "%5.10f") and lets the user pin an inner
// level to a typed value (a custom knot): select the row, tick "用户定义数值", type the value
// and leave the field. A value that does not lie strictly between the neighbouring knots (or
// range ends) is refused with "Invalid Contour Value!". "默认值" removes the knot of the selected
// rank. Rows of pinned levels show image 1 of the list's image list. The engine is edited in
// place; the contour settings dialog that opened this one keeps the backup.
#pragma once

#include "module/contour/CContourEngine.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/CImageList.h"
#include "platform/ui/CListCtrl.h"

class CPVXView;

enum : UINT {
    IDD_PVX_CUSTOM_RANGE = 10594,
    IDB_PVX_RANK_IMAGES = 10597,
    IDC_CRR_LIST = 11167,
    IDC_CRR_USER_VALUE = 11168,
    IDC_CRR_DEFAULT = 11169,
    IDC_CRR_VALUE = 11170,
    IDC_CRR_MIN_TEXT = 11171,
    IDC_CRR_MAX_TEXT = 11172,
};

class CPVXCtmzRrDlg : public CDialog {
    DECLARE_DYNAMIC(CPVXCtmzRrDlg)
public:
    explicit CPVXCtmzRrDlg(CWnd* pParent = nullptr);
    ~CPVXCtmzRrDlg() override;

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    // Two columns, "Rank" and "Rank Value".
    void InitColumns();
    // One row per rank.
    void FillList();
    // Deletes and re-inserts every row with the engine's current levels.
    void RefreshList();

    CPVXView* m_pView;                  // opener's view
    CContourEngine* m_pContourEngine;   // edited in place
    CImageList m_ImageList;             // 0 plain rank, 1 pinned rank
    CListCtrl m_List;                   // 11167
    CString m_strValue;                 // 11170
    int m_bUserValue;                   // 11168
    int m_nSelectedRank;                // -1 none

protected:
    afx_msg void OnClickUserValue();
    afx_msg void OnKillfocusValue();
    afx_msg void OnDefault();
    afx_msg void OnItemchangedList(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    int RankCount() const;
    void SetRow(int r, BOOL bInsert);
};
