// CPVXBarContainerBase: the base of the module's docked result bars, the state all bars share,
// and the execute step that hands a result to the current view's model.
//
// A bar container is a form view inside the host's docking bar. It owns one page per result
// kind (CPVXBarDlgBase), offers them in a combo box over a place holder and shows one at a
// time. Showing a result id (ShowChildDlgByMode) discards the bars' editing engines, refreshes
// the container's settings block from the model and lets the subclass's Prepare member make new
// editing engines for the page. The page's Apply calls Execute, which sets m_nCurrentMode and
// runs OnTmExecute: the page's options go into the editing engines, the settings block into the
// model, fresh engines imported from the editing ones replace the model's engines, and the view
// is redrawn. The model is always that of the current result view (GetCurPVXView).
//
//     CPVXBarContainerReac* bar = ...;          // made by the host by run-time class
//     bar->OnInitialUpdate();                   // pages and combo
//     bar->ShowChildDlgByMode(7101);            // page prepared and shown
//     ... the user presses Apply: page->Execute() -> bar->OnTmExecute()
//
// The static members are one set for the whole module, read by the model, the engines and the
// legend; everything runs on the user-interface thread and nothing is locked. Several containers
// may live at once: the editing engines belong to the container that prepared them last
// (m_pEngineOwner), a container takes them back before its page uses them, and each container
// keeps its own page index.
#pragma once

#include <vector>

#include "host/base/CFormViewInBar.h"
#include "host/base/CPHPageDlg.h"
#include "module/bars/T_PVX_BAR_INFO.h"
#include "platform/afx/CArray.h"
#include "platform/ui/CComboBox.h"

class CDeformEngine;
class CEngineBase;
class CPVXBarDlgBase;
class CPVXView;
class I_PVXModel;

class CPVXBarContainerBase : public CFormViewInBar, public CChangePHPage {
    DECLARE_DYNAMIC(CPVXBarContainerBase)
public:
    // Kind of the editing engine in m_pCurrentEngine for this container.
    enum { ENGINE_REACTION = 0, ENGINE_DEFORM = 1, ENGINE_FORCE = 2, ENGINE_STRESS = 3 };
    // Controls every container template has, and the ids the pages share.
    enum : UINT {
        IDC_BAR_COMBO = 10644,        // page combo
        IDC_BAR_TABLE = 10645,        // result table button "..."
        IDC_BAR_PLACE_HOLDER = 10646, // where the page shows
        IDC_BAR_APPLY = 10647,
        IDC_BAR_CLOSE = 10648,
        IDI_BAR_TABLE = 10631,        // icon of the table button
    };
    // Command of the host's load-case dialog.
    static constexpr UINT ID_HOST_LOAD_CASE_DIALOG = 34304;

    explicit CPVXBarContainerBase(UINT nIDTemplate);
    explicit CPVXBarContainerBase(LPCTSTR lpszTemplateName);
    // Deletes the pages; deletes the editing engines when this container prepared them (or
    // nobody did).
    ~CPVXBarContainerBase() override;

    // ---- virtual operations --------------------------------------------------------------------
    // The base step of showing a result id: m_nCurrentTMMode, both editing engines discarded,
    // the settings block refreshed, the model's bar mode set to the result id. Subclasses call
    // it and then prepare and show their page.
    void ShowChildDlgByMode(int nResultId) override;
    // Non-zero when m_nCurrentTMMode is the result id.
    virtual int IsCurrentModeSame(int nResultId);
    // The page's height from its load group box and its close button (screen rectangles):
    // close bottom + 7 - (group top - 45), plus the extra layout height for the deformation
    // result ids; the scroll size becomes 226 pixels by that height.
    virtual void LayoutChildDlg(CRect& groupRect, CRect& closeRect);
    // The Prepare member of a result id: statics, editing engines and the page's pointers. 0
    // when the container does not handle the id (nothing is changed then).
    virtual int PreparePage(int nResultId);
    // Writes m_nCurrentMode into the current view's model's bar mode when activated.
    void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView) override;
    std::vector<CBarResultInfo> GetBarResults() const override;
    CWnd* GetShownPageWnd() const override;

    // ---- editing engines -----------------------------------------------------------------------
    // Delete the editing engine of the current result kind, or the editing deformation engine,
    // each with its colour scale.
    static void DestroyCurrentEngine();
    static void DestroyDeformEngine();
    // When another container prepared the editing engines since this one did, prepares this
    // container's shown result again so that its page works on engines that exist.
    void TakeBackEngines();

    // ---- settings, execute and helpers -----------------------------------------------------------
    // Fills the settings block from the model, sets its load-type mask, clears the model's two
    // figure flags and closes the host's figure panel.
    void InitDlgBarData(int nResultId);
    // Writes the settings block into the model and its display options.
    void Copy2PVXModelBarInfo();
    // Replaces the model's engines by fresh ones imported from the editing engines, by display
    // mode: 0, 70 reaction; 1-4, 63, 69 deformation; 5-10, 16-22 deformation and force; 11
    // deformation and stress; any other mode leaves the model's engines alone. An editing engine
    // of another kind than the mode needs is not imported (the fresh engine stays as made).
    void Copy2PVXModelEngines(int nDisplayMode);
    // Command id of the host's result table of m_nCurrentTMMode; 0 when it has none.
    static UINT GetResultTableID();
    // Sends the result table command to the application's main window (nothing for id 0).
    void OnPvxShowtable();
    // TRUE unless the mode is the node displacement query (3).
    static BOOL IsDrawingLegendMode(int nDisplayMode);
    // Legend fonts of the model: 18 and 12 times the font ratio, truncated.
    void InitLegendFont();
    // 1.0 for a view 1024 or more pixels wide (HORZRES of its window DC), else width / 1400.
    double GetFontRatio();
    // The deformed geometry rebuilt when the display is on the deformed shape, then zoom all.
    void UpdateZoomAllView();
    // This container's current page when it has a live window; null otherwise.
    CPVXBarDlgBase* GetCurrentChild();
    // The execute step (see the file comment).
    void OnTmExecute();
    // Rectangles of the control updated: in display mode 4 only that; otherwise the frame
    // title restored and, with the deformation box on, the rectangles updated.
    void UpdateAllWcsVcsMBR();
    // Archives the settings of every page shown since the bar opened (in the project's page
    // settings table, in memory: the file changes when the project is saved), then forgets the
    // bars' display mode and result id.
    void OnClose();
    // The archived settings of a result's page, read into it once, when it is first shown:
    // its load, its six display boxes and its title. Nothing when the project keeps none.
    void RestorePageSettings(int nResultId);
    // Every page shown since the bar opened, archived in the project's page settings table.
    void ArchivePageSettings();
    // The current result view (CPVXView::m_pMyself); null when none.
    static CPVXView* GetCurPVXView();
    // The current result view's model; null when none.
    static I_PVXModel* GetCurModel();

    // Exported and empty.
    void DeleteChildDlg() {}
    int IsContourExtrudePossible() { return 0; }
    int IsOnChildExecuteMode() { return 0; }

    // ---- module-wide state -------------------------------------------------------------------
    static int m_nCurrentMode;                 // bars' display mode (0..70), -1 none
    static int m_nCurChildDlg;                 // page index last prepared by any container, -1 none
    static int m_nCurrentTMMode;               // bars' result id (7101 ...), -1 none
    static CPVXBarContainerBase* m_pMyself;    // container that last showed a page; null when none
    static int m_bRemove;                      // 1 once no container is left after one was destroyed
    static int m_bIsPVXBarAlive;               // 1 while a container exists
    static CDeformEngine* m_pDeformEngine;     // editing deformation engine, or null
    static CEngineBase* m_pCurrentEngine;      // editing reaction, force or stress engine, or null
    static CPVXBarContainerBase* m_pEngineOwner;  // container that prepared the editing engines; null when none

    // ---- container state -------------------------------------------------------------------------
    CArray<CPVXBarDlgBase*, CPVXBarDlgBase*> m_arrChildDlg;  // pages in page order, owned; null where a page class is not built
    CView* m_pView;                            // the result view current at construction, not owned
    T_PVX_BAR_INFO m_BarInfo;                  // the settings block; every page points at it
    int m_nEngineKind;                         // ENGINE_* of the current editing engine; -1 none
    int m_nExtraLayoutHeight;                  // added to the page height for the deformation result ids
    int m_bRebuildMBR;                         // rebuild bounding boxes and picking tree after a hand-over
    int m_nCurPage;                            // this container's current page index, -1 none
    int m_nShownResultId;                      // result id this container prepared last, -1 none
    std::vector<int> m_restoredPages;          // result ids whose archived settings were read

    // A page of a container: its result id and the run-time class of the page.
    struct PageRow {
        int nResultId;
        const char* pszPageClass;
    };
    // An item of the page combo: the string key of its text and its result id.
    struct ComboRow {
        const char* pszKey;
        int nResultId;
    };

protected:
    // The subclass's tables, in page order and combo order.
    virtual const PageRow* GetPageTable(int& nCount) const;
    virtual const ComboRow* GetComboTable(int& nCount) const;

    // A new page of the class, or null when the module has no such page yet. Made by run-time
    // class name; the page gets this container as its owner.
    virtual CPVXBarDlgBase* CreatePage(LPCSTR lpszPageClass);
    // Creates the pages of the page table in order and registers each under its result id.
    void BuildPages();
    // What every container's OnInitialUpdate does: the form view's own update, the table
    // button's icon (bTableIcon), the pages, and the combo filled with nFirstResultId selected.
    void InitBar(int nFirstResultId, BOOL bTableIcon);
    // Binds the page combo when the template has one.
    void DoDataExchange(CDataExchange* pDX) override;
    // Empties the page combo, adds the combo table's items with their result ids and selects
    // nFirstResultId (none when -1).
    void FillPageCombo(int nFirstResultId);
    // Selects the item of a result id in the page combo (nothing when it is not listed).
    void SelectComboResult(int nResultId);
    // The result id of the combo's selected item; -1 when none.
    int GetComboResult() const;
    // Gives a button the image of an icon of the module.
    void SetButtonIcon(UINT nIDButton, UINT nIDIcon);
    // Step 5 of showing a result id: combo selection, page shown, m_pMyself.
    void ShowPreparedPage(int nResultId);
    // The page index of a result id in the page table; -1 when the container has no such result.
    int PageIndexOf(int nResultId) const;

    // Common steps of a Prepare member: the statics, the engine owner and, when the page exists,
    // its rebuild flags, view and settings block. Returns the page (null when not built).
    CPVXBarDlgBase* BeginPrepare(int nResultId);
    // The editing deformation engine, made (with a colour scale when bContour) when missing
    // and filled from the model's deformation engine when the model has one.
    CDeformEngine* PrepareDeformEngine(BOOL bContour);
    // The editing engine of kind E, made with a colour scale when missing or of another kind
    // (or always when bAlwaysNew), filled from the model's engine of that kind when the model
    // has one.
    template <class E>
    E* PrepareCurrentEngine(BOOL bAlwaysNew, E* pModelEngine);
    // Hands the page the engines of the container and the colour scale of pScaleOwner.
    void HandEnginesToPage(CPVXBarDlgBase* pPage, CEngineBase* pScaleOwner);
    // The Prepare steps the force pages share: the common steps, the editing deformation engine
    // showing the total displacement (when bDeform), the editing force engine, engine kind 2, the
    // contour box on, the page's pointers. 0 when the container has no page for the id.
    int PrepareForcePage(int nResultId, BOOL bDeform);

    afx_msg void OnDestroy();
    afx_msg void OnSelchangePageCombo();
    afx_msg void OnTableButton() { OnPvxShowtable(); }
    DECLARE_MESSAGE_MAP()

    CComboBox m_ComboPage;                     // 10644 (bound once the window exists)
};
