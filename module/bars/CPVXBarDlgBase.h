// CPVXBarDlgBase: the base of every page of a result bar.
//
// A page is a child dialog of its bar container; it selects one result kind and its options.
// Only the part the detail dialogs call is declared so far: Execute, which the contour and
// legend dialogs call on Apply (and on OK when the model's apply-on-OK switch is set) so the
// page's settings reach the model and the view is redrawn.
#pragma once

#include "platform/ui/CDialog.h"

class CPVXBarContainerBase;

class CPVXBarDlgBase : public CDialog {
public:
    CPVXBarDlgBase(UINT nIDTemplate, CPVXBarContainerBase* pContainer, CWnd* pParent)
        : CDialog(nIDTemplate, pParent), m_pContainer(pContainer) {}
    ~CPVXBarDlgBase() override = default;

    // Writes the page's display mode into the bars and runs the container's execute step.
    virtual void Execute() = 0;

    CPVXBarContainerBase* m_pContainer;   // owning bar container, not owned
};
