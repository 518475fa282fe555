// The figure panel beside the figure view and its pages, and the owner-type selector.
//
// CFigureDetailTab is a modeless panel with three tabs on the current figure of the current
// figure controller (CPVXFigure::m_pMyself): VIEW (CFigureDetailView, the base maps drawn under
// it, a tick acts at once), DISPLAY (CFigureDetailDisplay, its drawing scale, value scale,
// precision and value display, taken over with Apply) and LOADCASE (CFigureDetailLoadCase, its
// load case, a double-click acts at once). It follows the document's hints: 7 closes it, 33
// closes it when the result model hides the panel, 112 writes the pages back, 113 reads them,
// 114 refills the load cases, 115 selects the current one. CFigureDetailText is a text-list
// page no panel shows.
//
// Each page publishes itself as the current page of its kind when it is made (m_pMyself) and
// withdraws itself when it goes, so the pointer never names a deleted page; the force engine
// takes the current VIEW and DISPLAY pages when it is made and does not own them. Making a page
// resets CPVXFigure::nSelectMode (a fresh panel starts without a selection mode).
//
// CFigureWndOwnerType is a one-line window with the owner-type combo (13 rows, ALL first):
// choosing a row sets the controller's owner mask and calls the host's function of class 12
// (the host refills its figure tree there).
//
//     auto* panel = new CFigureDetailTab(pMainFrame);   // deletes itself when its window goes
//     panel->Create(CFigureDetailTab::IDD, pMainFrame);
#pragma once

#include <map>
#include <vector>

#include "host/base/CDlgPanel.h"
#include "host/base/CFormViewInBar.h"
#include "platform/afx/CString.h"
#include "platform/ui/CComboBox.h"

class CPVXFigure;
class CPVXView;

// Templates and controls of the panel.
enum : UINT {
    IDD_FIGURE_DETAIL_TAB = 16215,
    IDD_FIGURE_DETAIL_VIEW = 10622,
    IDD_FIGURE_DETAIL_DISPLAY = 16216,
    IDD_FIGURE_DETAIL_LOADCASE = 16236,
    IDD_FIGURE_DETAIL_TEXT = 16233,
    IDD_FIGURE_OWNER_TYPE = 16245,
    IDC_FIGURE_DETAIL_TAB = 16177,
    IDC_FIGURE_BASEMAP_LIST = 11509,
    IDC_FIGURE_BASEMAP_LABEL = 11507,
    IDC_FIGURE_DRAW_SCALE = 11511,
    IDC_FIGURE_VALUE_SCALE = 11512,
    IDC_FIGURE_PRECISION = 11513,
    IDC_FIGURE_VALUES = 11474,
    IDC_FIGURE_APPLY = 11383,
    IDC_FIGURE_TEXTSTYLE = 11385,
    IDC_FIGURE_LAYER = 11384,
    IDC_FIGURE_EXPORT = 42091,
    IDC_FIGURE_CONTOUR = 42092,
    IDC_FIGURE_OPTIONS = 11382,
    IDC_FIGURE_LIST_LABEL = 11510,
    IDC_FIGURE_LOADCASE_LIST = 11444,
    IDC_FIGURE_TEXT_LIST = 11511,
    IDC_FIGURE_OWNER_COMBO = 11477,
};

class CFigureDetailView : public CDlgChild, public IHostControlNames {
    DECLARE_DYNAMIC(CFigureDetailView)
public:
    CFigureDetailView(CWnd* parent = nullptr);
    ~CFigureDetailView() override;
    CFigureDetailView(const CFigureDetailView&) = delete;
    CFigureDetailView& operator=(const CFigureDetailView&) = delete;

    static CFigureDetailView* m_pMyself;  // the page made last that still lives; null when none

    // The base maps the current figure may show, ticked when drawn in the last pass.
    void Data2Dlg();
    // Each row's tick switches its base map; returns 1.
    int Dlg2Data();
    // Rebuilds the result view's picture (a host call; nothing in the module makes it).
    void Redraw();
    std::vector<CBarControlName> GetControlNames() const override;

    CCheckListBox m_ListBaseMap;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnChkchangeListBasemap();
    DECLARE_MESSAGE_MAP()

    CPVXView* m_pView;
};

class CFigureDetailDisplay : public CDlgChild, public IHostControlNames {
    DECLARE_DYNAMIC(CFigureDetailDisplay)
public:
    CFigureDetailDisplay(CWnd* parent = nullptr);
    ~CFigureDetailDisplay() override;
    CFigureDetailDisplay(const CFigureDetailDisplay&) = delete;
    CFigureDetailDisplay& operator=(const CFigureDetailDisplay&) = delete;

    static CFigureDetailDisplay* m_pMyself;  // the page made last that still lives; null when none

    void InitCtrl();
    void Data2Dlg();
    // Writes the edits back; a value an edit would not take leaves its setting as it was.
    void Dlg2Data();
    // FALSE, after a message naming the edit and what it takes, when an edit holds a value it
    // would not take (the drawing scale 0.001 to 1000, the value scale up to 1000000 in size,
    // the precision a whole number 0 to 15).
    BOOL CheckValues();
    // Button 42092 follows whether the figure view can draw a contour of the current figure.
    void ShowControl(int unused);
    std::vector<CBarControlName> GetControlNames() const override;

    CEditUnit m_EditScale;       // 11511 overall drawing scale
    CEditUnit m_EditValueScale;  // 11512 value drawing scale
    CEditUnit m_EditPrecision;   // 11513 value precision

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnPvxFigureApply();
    afx_msg void OnFormatTextstyle();
    afx_msg void OnFormatLayer();
    afx_msg void OnContourSet();
    afx_msg void OnPvxFigureViewExportToDwg();
    afx_msg void OnPvxFigureDispbtn();
    DECLARE_MESSAGE_MAP()
};

class CFigureDetailLoadCase : public CDlgChild, public IHostControlNames {
    DECLARE_DYNAMIC(CFigureDetailLoadCase)
public:
    CFigureDetailLoadCase(CWnd* parent = nullptr);
    ~CFigureDetailLoadCase() override;

    static CFigureDetailLoadCase* m_pMyself;

    // The current figure's load cases in key order, the current one selected; their count.
    int RefreshLoadCaseList();
    // Selects the row of the current load group; returns 0.
    int ReFreshCurSel();
    void Data2Dlg();
    int Dlg2Data() { return 1; }
    std::vector<CBarControlName> GetControlNames() const override;

    CColorListBox m_ListLoadCase;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnDblclkListLoadcaselist();
    DECLARE_MESSAGE_MAP()

    CPVXView* m_pView;
};

class CFigureDetailText : public CDlgChild {
    DECLARE_DYNAMIC(CFigureDetailText)
public:
    CFigureDetailText(CWnd* parent = nullptr);
    ~CFigureDetailText() override;

    static CFigureDetailText* m_pMyself;

    void Data2Dlg();
    int Dlg2Data() { return 1; }
};

class CFigureDetailTab : public CDlgModeless {
    DECLARE_DYNAMIC(CFigureDetailTab)
public:
    enum { IDD = IDD_FIGURE_DETAIL_TAB };
    // Distance of the panel's right and bottom edges from the main window's (pixels).
    static constexpr int kRightMargin = 25;
    static constexpr int kBottomMargin = 44;

    explicit CFigureDetailTab(CWnd* parent);
    CFigureDetailTab(int tab, CWnd* parent);
    ~CFigureDetailTab() override;

    void InitTabCtrl();
    void Data2Dlg();
    // Writes the current tab's page back; 1 for the tabs that have one, 0 for any other.
    int Dlg2Data();
    // A document hint (the panel listens while its window exists).
    void OnUpdate(CView* sender, LPARAM hint, CObject* data);

    CDlgTabAlive& GetTabCtrl() { return m_TabCtrl; }
    CFigureDetailView* GetViewPage() const { return m_pView; }
    CFigureDetailDisplay* GetDisplayPage() const { return m_pDisplay; }
    CFigureDetailLoadCase* GetLoadCasePage() const { return m_pLoadCase; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;
    afx_msg void OnSelchangingTab(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnSelchangeTab(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    static void OnDocHint(void* owner, LPARAM hint);

    CDlgTabAlive m_TabCtrl;
    CFigureDetailView* m_pView = nullptr;
    CFigureDetailDisplay* m_pDisplay = nullptr;
    CFigureDetailLoadCase* m_pLoadCase = nullptr;
    CFigureDetailText* m_pText = nullptr;  // no TEXT tab is shown
    int m_nInitTab = 0;
    CPVXFigure* m_pFigure = nullptr;  // the current controller, refreshed on each hint
    bool m_bListening = false;
};

// One owner type of the selector.
struct sFigureOwnerType {
    UINT nMask;
    CString strCaption;
};

class CFigureWndOwnerType : public CDlgChild {
    DECLARE_DYNAMIC(CFigureWndOwnerType)
public:
    enum { IDD = IDD_FIGURE_OWNER_TYPE };
    static constexpr int kFunctionClass = 12;  // the host's function class called on a choice
    static constexpr int kDropHeight = 345;

    explicit CFigureWndOwnerType(CWnd* parent = nullptr);
    ~CFigureWndOwnerType() override;

    // The owner-type names in number order (ALL, ISO_CAP, ... SINK) and their masks.
    static int GetOwnerTypeCount();
    static const char* GetOwnerTypeName(int number);
    static UINT GetOwnerTypeMask(int number);
    // The number of an owner-type name (any case); -1 when none.
    static int FindOwnerType(const char* name);

    void InitigureOwnerType();
    void InitiCtrl();
    const std::map<int, sFigureOwnerType>& GetOwnerTypes() const { return m_Types; }
    CComboBox m_Combo;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSelchangeCombo();
    DECLARE_MESSAGE_MAP()

    std::map<int, sFigureOwnerType> m_Types;
};
