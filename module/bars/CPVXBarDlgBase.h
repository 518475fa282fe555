// CPVXBarDlgBase: the base of every page of a result bar.
//
// A page is a child dialog shown in its container's place holder; it selects one result kind
// and its options. It keeps pointers to what its container's Prepare member hands it (the view,
// the container's settings block, the bars' editing engines and the colour scale of the
// engine it edits), four rebuild flags, the six display boxes every page has, the load selector
// and the page's settings title. What the base does for every page: the Close, icon, load "..."
// and contour-box buttons, the detail-dialog launchers (each turns its box on first), the
// opening of OnInitDialog (InitPageDialog) with its load selection step, that of ApplyOptions,
// the engine refresh before a contour dialog, closing the bar on the host database's notices,
// and the settings archive (Serialize).
//
// A page class derives from this one with DECLARE_DYNCREATE and a default constructor that
// passes its template id: the container makes its pages by run-time class name and then sets
// itself as their owner. Subclasses bind the shared handlers to their own control ids and
// implement ApplyOptions (controls to engines, settings block and model), Execute (the display
// mode into CPVXBarContainerBase::m_nCurrentMode, then the container's OnTmExecute), SetModified
// and GetPageType.
//
// The settings archive holds sixteen 32-bit ints and two strings in this order: load step, load
// key, load type, archived words A and B, archived text, words C, D and E, the contour,
// deformed, values, legend, animation and undeformed boxes, words F and G, the title.
#pragma once

#include "host/base/CPHPageDlg.h"
#include "host/db/CDBUpdateConnector.h"
#include "host/db/CSelectPostLC.h"
#include "platform/afx/CString.h"

class CArchive;
class CContourEngine;
class CDeformEngine;
class CEngineBase;
class CForceEngine;
class CPVXBarContainerBase;
class CPVXView;
class CReactionEngine;
class CStressEngine;
class I_PVXModel;
struct T_PVX_BAR_INFO;

class CPVXBarDlgBase : public CPHPageDlg, public CDBUpdateConnector {
    DECLARE_DYNAMIC(CPVXBarDlgBase)
public:
    // Page types (GetPageType).
    enum {
        PAGE_BASE = 0,
        PAGE_REACTION = 1,
        PAGE_DEFORM = 2,
        PAGE_FRAME_FORCE = 3,     // frame force and diagram pages, story shear page
        PAGE_PLATE_FORCE = 4,
        PAGE_PLATE_STRESS = 6,
        PAGE_SLAB_FORCE = 8,
        PAGE_SLAB_REBAR = 9,
        PAGE_SLAB_WALL = 10,
        PAGE_SLAB_STRIP = 11,
    };
    // Host database notices the pages act on.
    enum { HINT_FIGURE_CLOSED = 33, HINT_PROJECT_REPLACED = 7 };
    // Control ids shared by the pages.
    enum : UINT {
        IDC_PAGE_APPLY = 10647,
        IDC_PAGE_CLOSE = 10648,
        IDC_PAGE_ICON = 10649,
        IDC_PAGE_LOAD_DIALOG = 10670,
        IDC_PAGE_LOAD_GROUP = 10728,
        IDI_PAGE_ICON = 10620,
    };

    CPVXBarDlgBase(UINT nIDTemplate, CPVXBarContainerBase* pContainer, CWnd* pParent);
    ~CPVXBarDlgBase() override;

    // ---- what each page implements -----------------------------------------------------------
    // Controls into the editing engines, the settings block and the model; engines whose
    // rebuild flag is set are rebuilt. Called by the container's OnTmExecute only.
    virtual void ApplyOptions() = 0;
    // The page's display mode into CPVXBarContainerBase::m_nCurrentMode, then the container's
    // OnTmExecute.
    virtual void Execute() = 0;
    virtual void SetModified() = 0;
    virtual int GetPageType();

    // The settings archive (see the file comment); loading reads the same fields in the same
    // order. A truncated archive leaves the fields it could not read as they were.
    void Serialize(CArchive& ar) override;
    void DoDataExchange(CDataExchange* pDX) override;
    // Hint 33 closes the bar while the model's figure panel is open and a display mode is set;
    // hint 7 closes it while a result id is shown. Other notices are ignored.
    void OnDBUpdate(void* pSender, int nHint, void* pData) override;

    // ---- small members ---------------------------------------------------------------------------
    // Every rebuild flag back to 1.
    void ResetRebuildFlags();
    // Gives a button of the page the image of an icon of the module.
    void SetButtonIcon(UINT nIDButton, UINT nIDIcon);
    // The model of the page's view; null when none.
    I_PVXModel* GetModel() const;
    // A number of the message window: "%.5E" with three exponent digits ("1.00000E+001"),
    // right-aligned in nWidth characters.
    static CString FormatExp3(double v, int nWidth);

    // ---- load selection ----------------------------------------------------------------------------
    // The common step of OnInitDialog: the selector lists the settings block's load kinds (or the
    // page's own, m_dwPageLoadMask) and selects the model's load; when it cannot, the selector's
    // own choice becomes the model's load (load-selected flag set, SelectLoad, the rebuild flags
    // set); with no choice at all the model's load step, load-selected and result-present flags
    // are cleared. Returns 1 when a load is selected.
    int SelectLoadOnInit();
    // After the settings archive was read into the page: its load selected as on init, its
    // boxes shown in the controls.
    virtual void TakeArchivedSettings();
    // The common step of ApplyOptions: the load chosen in the load combo (or, without one, the
    // selector's choice) becomes the model's load when it differs from it (rebuild flags set),
    // and the combo's text (the load's name) the model's load name. Returns 1 when a load is
    // selected.
    int TakeLoadOnApply();
    // Lists the selector's loads in the load combo and selects the selector's choice.
    void FillLoadCombo();

    // ---- engine refresh and detail dialogs ---------------------------------------------------------
    // Before a contour dialog: the engine of the page type rebuilt when its flag is set (the flag
    // stays set), and the model's result-present flag taken from the page's engine.
    void RefreshEngineForDialog();
    // The engine that draws the page's result, by page type; null when none.
    CEngineBase* GetPageEngine() const;
    // Launchers: the box is turned on (and the controls exchanged) before the dialog runs.
    void OnContourDetails();
    void OnKrigContourDetails();
    void OnLegendDetails();
    // The deformation details dialog on the page's deformation engine (nothing without one).
    void OnDeformDetails();
    // The number details dialog on the settings block; bDirectionOffered lets the user choose
    // the text direction.
    void OnNumberDetails(int bDirectionOffered);
    // The animation box turned on and the animation options dialog on the settings block; the
    // page's Apply hands them to the animation engine.
    void OnAnimationDetails();
    // The result view's cutting-line window (modeless): made and shown, or brought forward when
    // it is up.
    void ShowCutLineWindow();

    // ---- shared button handlers ----------------------------------------------------------------------
    // Close: the host's bar closes, then the container.
    void OnBarClose();
    // The hidden icon button: the controls into the members, nothing else.
    void OnIconButton();
    // Load "...": the host's load-case dialog.
    void OnLoadCaseDialog();
    // The contour box of a contour page cannot be cleared.
    void OnContourBox();

    // ---- fields ------------------------------------------------------------------------------------
    CPVXBarContainerBase* m_pContainer;   // owner; receives OnTmExecute
    CPVXView* m_pView;                    // set by the container's Prepare member
    T_PVX_BAR_INFO* m_pBarInfo;           // the container's settings block
    CContourEngine* m_pContourEngine;     // colour scale of the edited engine; the contour dialogs need it
    CDeformEngine* m_pDeformEngine;       // the bars' editing deformation engine when the page uses it
    CForceEngine* m_pForceEngine;         // the editing force engine
    CStressEngine* m_pStressEngine;       // the editing stress engine
    CReactionEngine* m_pReactionEngine;   // the editing reaction engine
    // Rebuild flags: set when an option or the load changed; the engine is rebuilt before it
    // draws and the flag cleared.
    int m_bForceRebuild, m_bDeformRebuild, m_bReactionRebuild, m_bStressRebuild;
    // The display boxes.
    int m_bAnimation, m_bContour, m_bDeformed, m_bLegend, m_bValues, m_bUndeformed;
    CSelectPostLC m_LoadSelector;         // loads of the kinds the settings block allows
    UINT m_nIDLoadCombo;                  // the page's load combo showing the selector's loads; 0 none
    DWORD m_dwPageLoadMask = 0;           // load kinds of a page with its own list; 0: the settings block's
    int m_nLoadStep, m_nLoadKey, m_nLoadType;  // last load taken from the selector
    // Carried by the archive only, 0 and empty until read.
    int m_nArchivedA, m_nArchivedB;
    CString m_strArchived;
    int m_nArchivedC, m_nArchivedD, m_nArchivedE, m_nArchivedF, m_nArchivedG;
    CString m_strTitle;                   // the page's settings title ("Reaction" ...)

protected:
    // The opening of a page's OnInitDialog: nMode becomes the current display mode (the pages
    // made for it read it while they initialise), the dialog is initialised, the icon button
    // gets its image and is hidden, the container lays itself out from the load group to Close.
    void OpenPageDialog(int nMode);
    // OpenPageDialog, then the model's load step goes back to 0 and the load is selected
    // (SelectLoadOnInit's result).
    int InitPageDialog(int nMode);
    // The controls into the members (bSave) or back; nothing while the page has no window.
    BOOL Exchange(BOOL bSave);
    // Exchanges, turns the box on when it is off, exchanges back.
    void TurnBoxOn(int& bBox);
    // Enables or disables a control of the page (nothing when the page has none of that id).
    void EnableControl(UINT nID, BOOL bEnable);

    // Control ids of a page's display boxes; 0 where the page has no such box.
    struct DisplayBoxIds {
        UINT nContour = 0, nDeformed = 0, nValues = 0, nLegend = 0, nAnimation = 0, nUndeformed = 0;
    };
    // The ids of a page class that names its six boxes IDC_CONTOUR ... IDC_UNDEFORMED.
    template <class P>
    static constexpr DisplayBoxIds DisplayBoxIdsOf() {
        return {P::IDC_CONTOUR, P::IDC_DEFORMED, P::IDC_VALUES, P::IDC_LEGEND, P::IDC_ANIMATION, P::IDC_UNDEFORMED};
    }
    // The display boxes with their controls, in the order of DisplayBoxIds.
    void ExchangeDisplayBoxes(CDataExchange* pDX, const DisplayBoxIds& ids);
    // The six display boxes into the settings block (nothing without one).
    void StoreDisplayBoxes();
    // The decimals of the page's numbers: the model's of one kind (m_nForceDecimals,
    // m_nMomentDecimals or m_nDispDecimals) into the settings block when the page opens, and the
    // block's back into the model on Apply, so that the number dialog's choice lasts.
    void TakeModelDecimals(int I_PVXModel::*pDecimals);
    void StoreModelDecimals(int I_PVXModel::*pDecimals);
};
