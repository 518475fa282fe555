// CPVXBarSlabPage: what the slab force (CPVXBarSForc), slab-beam force (CPVXBarSBForc), slab
// rebar (CPVXBarSRbar) and slab wall (CPVXBarSWall) pages share.
//
// A slab page lists the loads its results exist for (static cases, combinations and their
// envelope; the rebar page combinations only), counts the combinations among them, and takes the
// load chosen in its list as the page's load: the sign and face rules test that load's type (an
// envelope, type 12, has a positive and a negative side). Apply (under the wait cursor) checks
// the page's typed values first: a value the page refuses shows the page's message and nothing
// is executed. Otherwise the page's display mode goes into CPVXBarContainerBase::m_nCurrentMode
// and the container executes; the page's ApplyOptions writes the options into the editing force
// engine, which is built again (its colour range reset first) when an option or the load changed.
//
// The pages move groups of controls as their unit or kind changes; the helpers below move a
// block of controls by its top edge and measure in the page's client pixels.
#pragma once

#include <span>

#include "module/bars/CPVXBarDlgBase.h"

class CPVXBarSlabPage : public CPVXBarDlgBase {
    DECLARE_DYNAMIC(CPVXBarSlabPage)
public:
    // Load types the pages compare with.
    enum { LOAD_COMBINATION = 10, LOAD_ENVELOPE = 12 };
    // Load kinds of the slab pages' load lists: static cases, combinations, envelopes.
    static constexpr DWORD kSlabLoadMask = 0x50001;

    // nIDLoadCombo: the page's load list; nMode: the display mode Execute writes; pszTitle: the
    // settings title (the text of the page's string key).
    CPVXBarSlabPage(UINT nIDTemplate, UINT nIDLoadCombo, int nMode, const char* pszTitle);

    // Refuses the page's typed values with its message, or executes the page's display mode.
    void Execute() override;
    // An option of the container changed: the force data are built again on the next Apply.
    void SetModified() override { m_bForceRebuild = 1; }
    int GetMode() const { return m_nMode; }
    // Combinations (type 10) among the listed loads.
    int GetType10Count() const { return m_nType10Count; }

    // Contours need values per element and, for an envelope, one side only.
    static BOOL ContourAllowed(int bElement, int nLoadType, int bFirst, int bSecond);

    // ---- shared handlers ---------------------------------------------------------------------------
    void OnApply();
    // The load chosen in the list becomes the model's (force rebuild flag set when it differs),
    // then the page's rule for the load type runs (OnLoadChanged).
    void OnLoadChange();
    // Values "...": values on, then the number details dialog (no number direction offered).
    void OnValuesMore();
    // Close: the host's bar closes; the container stays as it is.
    void OnCloseBar();

protected:
    // The opening of every slab page's OnInitDialog (InitPageDialog) with the page's load kinds,
    // then the combinations among the listed loads counted. Returns 1 when a load is chosen.
    int InitSlabPage(DWORD dwLoadMask);
    // FALSE, after the page's message, when a typed value cannot be taken. The controls have
    // been read.
    virtual BOOL Validate() { return TRUE; }
    // After the load changed: the page's sign or face rule.
    virtual void OnLoadChanged() {}
    // The editing deformation engine (when the page has one) and then the editing force engine
    // built again when their flags are set (the colour range reset first, the flags cleared); the
    // model's result-present flag from the data flag given.
    void RebuildForce(int CForceEngine::*pDataFlag);
    // Shows the message of a string key (the page's refusal).
    static void Refuse(const char* pszKey);
    // The editing force engine the page's handlers change: taken back first when another bar
    // prepared the editing engines since this page's bar did (the old one may be gone).
    CForceEngine* Engine();
    // The editing force engine while this page's bar holds the editing engines; null otherwise.
    CForceEngine* EngineIfHeld() const;
    // Reads the controls and puts a radio choice into the editing force engine's field, flagging
    // the rebuild when it changed (no choice, -1, leaves the field).
    void TakeChoice(int CForceEngine::*pField, int nChoice);
    // One box of a pair (positive/negative side, top/bottom face) of which one stays checked:
    // reads the controls (both boxes are members, read after) and checks the clicked box again
    // when both are off.
    void KeepOneOfPair(int& bClicked, const int& bOther);

    // ---- controls and layout ---------------------------------------------------------------------
    void ShowControl(UINT nID, BOOL bShow);
    void ShowControls(std::span<const UINT> ids, BOOL bShow);
    // A control's rectangle in the page's client pixels; empty when the page has no such control.
    CRect ControlRect(UINT nID) const;
    // Top and bottom of a block of controls (the smallest top, the largest bottom).
    int BlockTop(std::span<const UINT> ids) const;
    int BlockBottom(std::span<const UINT> ids) const;
    // Moves every control of a block by (dx, dy) pixels.
    void MoveControls(std::span<const UINT> ids, int dx, int dy);
    // Moves a block so that its top lies at y.
    void MoveBlockTo(std::span<const UINT> ids, int y) { MoveControls(ids, 0, y - BlockTop(ids)); }
    // Vertical dialog units in pixels.
    int DialogUnitsY(int n) const;

    int m_nMode;
    int m_nType10Count;   // combinations among the listed loads
};
