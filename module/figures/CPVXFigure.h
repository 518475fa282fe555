// CPVXFigure: the figure catalogue controller of one result model.
//
// Each model creates one controller and deletes it with itself. The controller publishes itself
// as the current figure controller (m_pMyself) when it is made; the result view re-publishes its
// model's controller on activation. A controller being deleted withdraws itself, so the current
// pointer never names a deleted controller.
//
// The controller builds the catalogue (InitFigureMap: one record per tree item, handed to the
// host with hint 110, and one figure object per leaf, made by run-time class name), decides
// which figures are available in the current mode and for the current owner types, tracks the
// current figure, its load case and the figure view, and runs the drawing road: base maps first,
// then the figure, then the title and hints 113 and 114.
//
// Hints go to the host's views through CDBDoc::UpdateAllViews(NULL, hint, NULL):
//   110 a record is ready in GetScratchRecord(); the host inserts the tree item under its parent
//       and writes the new item into its hItem
//   112 a redraw was asked for; 113 a figure was drawn (or a base map switched on); 114 refill
//       the load-case lists (after 113)
#pragma once

#include <deque>
#include <list>
#include <map>
#include <array>
#include <set>
#include <unordered_map>
#include <vector>

#include "module/figures/CFVDBase.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/ui/uidefs.h"

class CPVXView;
class CVdView;

// A catalogue record as the host's tree receives it.
struct sFVDBaseInformation {
    EFigureType eType = EFVDT_NONE;
    CString strCaption;               // the loaded text of the record's key
    HTREEITEM hItem = nullptr;        // the host's tree item (written back on hint 110)
    HTREEITEM hParent = nullptr;      // the parent's tree item
    sFVDBaseInformation* pLink = nullptr;  // record whose caption goes in front (none set)
    BOOL bEnabled = 1;
    int nNumber = -1;                 // the host's group number
};

// What GetCurentSelItem hands out.
struct NMFVD {
    std::list<EFigureType>* pBaseMapList = nullptr;     // the current figure's base maps
    sFVDDisplaySettings* pSettings = nullptr;           // the current figure's settings
    std::map<EFigureType, EFigureType>* pDrawn = nullptr;  // types drawn in this pass
};

// The hints sent to the host's views.
enum : long {
    FVD_HINT_RECORD = 110,
    FVD_HINT_REDRAW = 112,
    FVD_HINT_DRAWN = 113,
    FVD_HINT_LOADCASES = 114,
};

class CPVXFigure {
public:
    CPVXFigure();
    virtual ~CPVXFigure();
    // Each controller owns its figure objects: a copy would delete them twice.
    CPVXFigure(const CPVXFigure&) = delete;
    CPVXFigure& operator=(const CPVXFigure&) = delete;

    // The current result view (CPVXView::m_pMyself); null when none.
    static CPVXView* GetCurView();

    static CPVXFigure* m_pMyself;  // the current figure controller; null when none
    static int nSelectMode;        // the host's selection mode; reset to 0 when a controller goes

    int m_nFigureMode = 0;  // the design figure the host shows (21, 23, 28, 35, 36, 40, 42..56)

    // ---- Catalogue ----
    // Builds the catalogue under root (see CFVDCatalogue.h); a null root builds records and
    // objects without tree items and sends no hint. Building again keeps the objects.
    void InitFigureMap(HTREEITEM root);
    // The document's pre-/post-processing mode; 0 without a document.
    BOOL Get_PreMode() const;
    BOOL Get_PostMode() const;
    sFVDBaseInformation* GetFigureData(EFigureType t);
    CFVDBase* GetFVDBase(EFigureType t) const;
    BOOL isAvailabe(EFigureType t) const { return GetFVDBase(t) != nullptr; }
    // 2 group records (< 21), 1 base maps (< 91), -1 slab-band base maps (< 99), 0 figures.
    static int isBaseMap(EFigureType t);
    // The record's caption with the captions of its linked records in front, each followed by
    // sep; empty for a type without record. A link cycle ends the walk.
    CString GetItemDescription(EFigureType t, const CString& sep);
    // The record the host reads while inserting a tree item (hint 110).
    sFVDBaseInformation* GetScratchRecord() { return &m_Scratch; }
    // Owner-type filter (bits of the catalogue's owner masks; 4095 all).
    UINT GetOwnerMask() const { return m_nOwnerMask; }
    void SetOwnerMask(UINT mask) { m_nOwnerMask = mask; }
    const std::map<EFigureType, CFVDBase*>& GetFigureObjects() const { return m_Figures; }
    const std::map<EFigureType, sFVDBaseInformation>& GetRecords() const { return m_Records; }

    // ---- Selection ----
    // A new type becomes current; unless mode is 1 its object becomes the current figure, is
    // marked modified and its load-case map rebuilt. The current type again changes nothing.
    void SetCurentSelItem(EFigureType t, int mode);
    EFigureType GetCurentSelItem(NMFVD* out);
    CFVDBase* GetCurFVDBase() const { return m_pCurFigure; }
    const std::map<UINT, CString>* GetLoadCase() const { return m_pLoadCases; }
    // The current figure's load case; (UINT)-1 / 0 without a current figure.
    UINT GetCurLoadCase() const;
    UINT GetCurLoadGroupKey() const;
    void SetModify(BOOL modified);

    // ---- Host ----
    void UpdateAllViews(long hint);
    // InitUnits on each object in type order until one returns non-zero (with an open view).
    void OnUpdataUnit();

    // ---- Figure view ----
    // Opens the figure view through the document (titled "IDS_TBX_PVX_2D_Figure_View").
    void CreateFigureView();
    void CloseFigureView();
    CVdView* GetFigureView() const { return m_pFigureView; }
    // The figure view tells the controller it is going (its PostNcDestroy).
    void OnFigureViewDestroyed(CVdView* view);
    // The title AfterFigureDraw gave the figure view (its GetWindowTitleName shows it).
    const CString& GetFigureTitle() const { return m_strFigureTitle; }

    // ---- Drawing road ----
    // Draws the figures of types (with their base maps) into the figure view; add keeps what is
    // drawn and switches the types on as base maps.
    void DisplayFigureDlgData(const CArray<UINT>& types, BOOL add);
    void DisplayBaseMapEx(const CArray<UINT>& types);
    void ResetBaseMapEnable(EFigureType t, BOOL on, BOOL notify);
    // Without an open figure view the current figure takes the load case and nothing is drawn.
    void Redraw(BOOL notify, BOOL zoom, BOOL keepBaseMaps);
    void ResetLoadCase(UINT loadCase, BOOL zoom);
    void ContourDlgSet();
    BOOL CanFigureContour() const;
    std::map<EFigureType, EFigureType>& Get_BasemapSource() { return m_BaseMapSources; }
    void OnPvxBarcontainerBatchDet() {}
    // Entities the figure drew of its own in the last pass (its notes block not counted); -1
    // when it was not drawn.
    int GetOwnDrawnCount(EFigureType t) const;

    // The contour dialog of the current figure (by default the contour tool's settings dialog
    // through CFVDBase::ContourDlgSet); returns the dialog's result, stored as the figure's
    // modified flag. Null: no contour dialog.
    typedef int (*PFN_CONTOUR_DLG)(CFVDBase* figure);
    static PFN_CONTOUR_DLG s_pfnContourDlg;

protected:
    // Availability of one leaf: type, Prepare(FALSE), mode flags against the document's mode,
    // owner mask against the catalogue's.
    void InitFVDBase(CFVDBase* fvd, int& enabled, EFigureType t, UINT modeFlags, UINT ownerMask);
    void push();
    void pop();
    HTREEITEM GetTop() const;

    void BeforFigureDraw(BOOL add);
    void DisplayFigureDlgData_DFLT(const CArray<UINT>& types);
    void DisplayFigureDlgData_BaseMap(const std::list<EFigureType>& types, BOOL withSlabBands);
    int GetBaseMapListEx(const CArray<UINT>& types, std::list<EFigureType>& out);
    void AfterFigureDraw();
    CVdrawUtil* GetViewDrawing() const;
    // DrawFigure of f, its own entities counted; the texts of a result sheet drawn after another
    // one in the same pass are moved clear of the earlier sheets' texts (KeepTextsClear).
    void DrawCounted(CFVDBase* f, CVdrawUtil& drawing);
    void KeepTextsClear(CVdrawUtil& drawing, long firstId, bool later);
    // Boxes of the earlier result sheets' texts this pass, sheet by sheet in drawing order.
    std::vector<std::array<double, 4>> SheetTextBoxes(const CVdrawUtil& drawing) const;
    void ForgetDrawn();

    CPVXView* m_pView = nullptr;
    CVdView* m_pFigureView = nullptr;
    std::map<EFigureType, CFVDBase*> m_Figures;
    std::map<EFigureType, EFigureType> m_BaseMapSources;
    std::map<EFigureType, sFVDBaseInformation> m_Records;
    std::deque<HTREEITEM> m_Stack;
    HTREEITEM m_hLastItem = TVI_ROOT;
    sFVDBaseInformation m_Scratch;
    UINT m_nOwnerMask = 4095;
    std::map<EFigureType, EFigureType> m_Drawn;
    std::map<EFigureType, int> m_OwnDrawn;     // of the last pass, see GetOwnDrawnCount
    // The result sheets' texts this pass: each sheet's id range [first, end) when it drew texts,
    // and the boxes of the texts moved clear (an unmoved text's box is taken from the drawing
    // when a later sheet needs it, so a single sheet keeps no boxes).
    std::vector<std::pair<long, long>> m_SheetIds;
    std::unordered_map<long, std::array<double, 4>> m_SheetMoved;
    std::set<EFigureType> m_AsBaseMap;         // drawn as a base map since the figure was chosen
    EFigureType m_eCurType = EFVDT_NONE;
    CFVDBase* m_pCurFigure = nullptr;
    std::map<UINT, CString>* m_pLoadCases = nullptr;
    CString m_strFigureTitle;
};
