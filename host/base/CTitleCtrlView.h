// CTitleCtrlView: the host's base of views that carry a title, such as the module's graph view.
//
// The host opens such a view by run-time class in a child frame of its main window and gives it
// the caption the view was asked for by; the frame shows the title, the view draws the rest.
// Headless there is no title bar to paint: the title is kept and given to the frame.
#pragma once

#include "platform/afx/CString.h"
#include "platform/ui/CView.h"

class CTitleCtrlView : public CView {
    DECLARE_DYNAMIC(CTitleCtrlView)
public:
    CTitleCtrlView();
    ~CTitleCtrlView() override;

    // Keeps the title and gives it to the parent frame, when there is one.
    void SetTitleText(LPCTSTR pszTitle);
    const CString& GetTitleText() const { return m_strTitle; }

private:
    CString m_strTitle;
};
