// The host framework's base of every model view.
//
// The host's render view (GRenderView) and through it the module's result view derive from
// CViewBase; it sits between the class library's CView and them so that every host view shares
// one run-time class ancestor, by which the host recognises its model views.
#pragma once

#include "platform/ui/CView.h"

class CViewBase : public CView {
    DECLARE_DYNAMIC(CViewBase)
public:
    CViewBase();
    ~CViewBase() override;
};
