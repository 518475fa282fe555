// CPVXBarContainerReac: the bar of the reactions (template 10580): reaction contour 7102,
// reactions 7101 and reversed reactions 7103.
//
// Showing a page prepares the bars' editing reaction engine for it, always a new one filled from
// the model's reaction engine (which the model gets when it has none): PrepareRContr (7102, data
// kind 0, the spring-pressure contour), PrepareReacf (7101, data kind 1) and PrepareReverse
// (7103, data kind 2). A page's Apply writes its settings into the editing engine
// (ApplyReacPage), rebuilds it when something changed and sets the bars' display mode; the
// execute step then hands the engine to the model.
//
//     bar->ShowChildDlgByMode(7102);
//     T_PVX_REACPAGE page;  page.nComponent = 2;  page.nMembKind = 1;
//     bar->ApplyReacPage(page);
#pragma once

#include "module/bars/CPVXBarContainerBase.h"
#include "platform/afx/CString.h"

class CReactionEngine;
class I_PVXModel;

// What a reaction page holds: the component radio buttons ("FX" .. "MXYZ"), the suppression
// option (kept unchanged), the member kind of the contour page ("筏板" 0, "梁" 1) and the arrow
// size factor as typed ("箭头尺寸系数：", read with "%f").
struct T_PVX_REACPAGE {
    int nComponent = 2;
    int bSuppress = 0;
    int nMembKind = 0;
    CString strArrowScale = "1.0";
};

class CPVXBarContainerReac : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainerReac)
public:
    enum : UINT { IDD = 10580 };

    CPVXBarContainerReac();
    explicit CPVXBarContainerReac(UINT nIDTemplate);
    ~CPVXBarContainerReac() override;

    void OnInitialUpdate() override;
    void ShowChildDlgByMode(int nResultId) override;
    void OnChangeBarTab() override;
    int PreparePage(int nResultId) override;
    std::vector<CBarControlName> GetControlNames() const override;

    void PrepareReacf();
    void PrepareRContr();
    void PrepareReverse();

    // Writes the page into the editing engine; when anything changed the engine is rebuilt
    // (InitEngine(0, -1)). The model's result-present flag takes the engine's data-ready flag
    // and the bars' display mode becomes 0, or 70 on the contour page. Returns 0 when the arrow
    // factor is not a positive number (nothing is changed then) or there is no engine.
    int ApplyReacPage(const T_PVX_REACPAGE& page);

    // The bars' editing reaction engine; null when the current editing engine is of another kind.
    static CReactionEngine* GetReacEngine();
    // The model the bars work on: the current view's, else the container's view's; null when none.
    I_PVXModel* GetModel() const;

protected:
    const PageRow* GetPageTable(int& nCount) const override;
    const ComboRow* GetComboTable(int& nCount) const override;
    DECLARE_MESSAGE_MAP()

private:
    void Prepare(int nResultId, int nDataKind);
};
