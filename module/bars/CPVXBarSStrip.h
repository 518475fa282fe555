// CPVXBarSStrip: the slab strip page of the slab detail bar (template 16239, result 7402,
// display mode 21).
//
// The user defines design strips on the slab by picking two points in the model view (the two
// point edits take the picks; a rubber band follows the cursor while the second point is picked;
// "正交" snaps it to a horizontal or vertical line), gives each a name and a width and adds it:
// the line is split where it crosses a raft outline or passes a column, and every piece becomes
// a strip of its own, stored as a line of kind CTLN_KIND_STRIP in the host's cutting-line table
// (so strips stay with the project when it is saved). Strips are edited and deleted through
// their line's key. The check list shows the strips; Apply hands the checked ones to the editing
// force engine (m_arrStripInfo) and executes mode 21, the moment or shear diagrams along them.
//
// Names are unique among strips without regard to letter case; an empty or used name, two equal
// points and a line the host refuses get a message and change nothing (a split strip is added
// whole or not at all). The check state of each strip is remembered for the module's lifetime,
// by line key, when the page is closed.
#pragma once

#include <vector>

#include "host/base/CMouseEdit.h"
#include "host/grx/C3DPoint.h"
#include "module/bars/CPVXBarDlgBase.h"
#include "module/force/ForceRecords.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CMap.h"
#include "platform/ui/CListBox.h"

class CPVXBarSStrip : public CPVXBarDlgBase {
    DECLARE_DYNCREATE(CPVXBarSStrip)
public:
    enum : UINT {
        IDD = 16239,
        IDC_LOAD = 11562,
        IDC_COMP_MOMENT = 11563,     // component radios: 11563 moment, 11564 shear, 11565 hidden
        IDC_COMP_SHEAR = 11564,
        IDC_COMP_HIDDEN = 11565,
        IDC_WIDTH = 11567,
        IDC_WIDTH_UNIT = 11568,
        IDC_NAME = 11569,
        IDC_PT1 = 11570,
        IDC_PT2 = 11571,
        IDC_ORTHO = 11572,
        IDC_ADD = 11573,
        IDC_DELETE = 11574,
        IDC_EDIT = 11575,
        IDC_LIST = 11576,
        IDC_SHOW_WIDTH = 11577,
        IDC_REDRAW = 11582,          // hidden; also the command of a check change in the list
        IDC_OPTION_GROUP = 10762,
        IDC_SCALE = 10763,
        IDC_FILL_NONE = 10764,       // fill radios: none, line fill, full fill
        IDC_FILL_LINE = 10765,
        IDC_FILL_FULL = 10766,
        IDC_PLANE_NORMAL = 11623,    // diagram plane radios: normal to the slab, in its plane
        IDC_PLANE_INPLANE = 11624,
        IDC_CONTOUR = 11020,
        IDC_CONTOUR_MORE = 11021,
        IDC_DEFORMED = 11022,
        IDC_VALUES = 11024,
        IDC_VALUES_MORE = 11025,
        IDC_LEGEND = 11026,
        IDC_ANIMATION = 11027,
        IDC_LEGEND_MORE = 11028,
        IDC_ANIMATION_MORE = 11029,
        IDC_DEFORMED_MORE = 11037,
        IDC_OUT_I = 11031,
        IDC_OUT_CENTRE = 11032,
        IDC_OUT_J = 11033,
        IDC_OUT_MAX = 11034,
        IDC_OUT_ALL = 11035,
        IDC_METHOD_EXACT = 10769,    // hidden method radios: exact, five points
        IDC_METHOD_FIVE = 10770,
        IDC_UNDEFORMED = 10722,
        IDC_UNIT_MEMBER = 11217,     // hidden number-unit radios: member, element
        IDC_UNIT_ELEMENT = 11218,
    };
    static constexpr DWORD kLoadMask = 0x50001;  // static cases, combinations, envelopes
    static constexpr int kPickMode = CMouseEdit::PICK_MODE_POINT;

    CPVXBarSStrip();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void ApplyOptions() override;
    void Execute() override;
    void SetModified() override { m_bForceRebuild = 1; }
    int GetPageType() override { return PAGE_SLAB_STRIP; }
    std::vector<CBarControlName> GetControlNames() const override;

    // ---- the strips ---------------------------------------------------------------------------
    // The strips of the page in list order, and the key of each one's line in the host's
    // cutting-line table.
    const CArray<T_STRIP_INFO, T_STRIP_INFO&>& GetStrips() const { return m_arrStrip; }
    UINT GetStripKey(int i) const { return i >= 0 && i < m_arrStripKey.GetSize() ? m_arrStripKey[i] : 0; }
    int GetNameCounter() const { return m_nNameCounter; }
    // Adds the strip of the point edits, the name and the width edits ("增加"); 1 when added.
    int AddStrip();
    // Gives the selected strip the values of the edits ("编辑"); 1 when changed.
    int EditStrip();
    // Deletes the selected strips ("删除"); the number deleted.
    int DeleteStrips();
    // The host's drawing of the strips: the checked ones, the one at the caret marked.
    void RedrawStrips();
    // The check states of the list into the module-wide memory (by line key).
    void RememberChecks();
    static void ResetCheckMemory();

    // ---- page values -------------------------------------------------------------------------------
    int m_nComponent;      // 0 moment, 1 shear
    CString m_strWidth;    // width of new strips, m
    CString m_strName;
    int m_bOrtho;
    int m_bShowWidth;
    int m_nFillType;       // 0 none, 1 line fill, 2 full fill; -1 none chosen
    CString m_strScale;
    int m_nPlane;          // 0 normal to the slab, 1 in its plane
    int m_bOutAll, m_bOutCentre, m_bOutI, m_bOutJ, m_bOutMax;
    int m_nMethod;         // 0 exact, 1 five points
    int m_nNumUnit;        // numbers per member (0) or per element (1)
    int m_bApplying;       // set by Apply

    // ---- handlers ---------------------------------------------------------------------------------------
    void OnApply();
    void OnClosePage();
    void OnLoadChange();
    void OnComponent();
    void OnAdd() { AddStrip(); }
    void OnEdit() { EditStrip(); }
    void OnDelete() { DeleteStrips(); }
    void OnListSelChange();
    void OnStripsChanged();
    void OnReadControls() { Exchange(TRUE); }
    void OnValues();
    void OnValuesMore();
    void OnOutAll();
    void OnOutMax();
    void OnMethod();
    void OnPt1Focus();
    void OnPt2Focus();
    LRESULT OnPicked(WPARAM wParam, LPARAM lParam);
    LRESULT OnCursorMoved(WPARAM wParam, LPARAM lParam);
    LRESULT OnPickEscape(WPARAM wParam, LPARAM lParam);

protected:
    void PostNcDestroy() override;
    // Reads the name, the width and the two points of the edits; shows the page's message and
    // returns FALSE when one of them cannot make a strip.
    BOOL ReadStripEdits(CString& name, double& width, double p1[3], double p2[3]);
    // Index of a strip with this name, whatever its letter case; -1 when none (skip excepted).
    int FindStripName(const CString& name, int skip = -1) const;
    // The default name: the header text followed by the counter.
    CString DefaultName() const;
    // The output-position boxes enabled by the values box and the all and max rules.
    void UpdateOutputEnabling();
    void ClearPicks();
    void Warn(LPCTSTR pszKey);
    // Appends a strip to the list, checked as given.
    void AppendStrip(const T_STRIP_INFO& strip, UINT key, int nCheck);

    CMouseEdit m_EditPt1, m_EditPt2;
    CCheckListBox m_List;
    CArray<T_STRIP_INFO, T_STRIP_INFO&> m_arrStrip;
    CArray<UINT, UINT> m_arrStripKey;
    std::vector<C3DPoint> m_picks;   // the first picked point while the second is picked
    int m_nNameCounter;

    static CMap<UINT, UINT, int, int> m_mapCheckMemory;  // line key -> check state

    DECLARE_MESSAGE_MAP()
};
