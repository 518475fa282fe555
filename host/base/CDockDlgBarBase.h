// The host's docking bar that holds a module's result bars.
//
// Modules drive the bar through static operations: ShowDlgBarMode(resultId, option) opens the
// bar on a result id (7101 reactions, 7201 deformation ...), CloseDlgBar() closes it, and
// GetDlgBarMode() tells which result id it shows (-1 when closed). Every request is recorded in
// the host's request journal (HR_SHOW_DLGBAR, HR_CLOSE_DLGBAR). When the host program has made
// a bar (m_pMyself), the bar also acts: OnShowBarMode / OnCloseBar, which a host bar overrides to
// create the module's bar container for the result id; this base shows and hides its window.
#pragma once

#include "platform/ui/CFrameWnd.h"

class CDockDlgBarBase : public CControlBar {
    DECLARE_DYNAMIC(CDockDlgBarBase)
public:
    CDockDlgBarBase();
    ~CDockDlgBarBase() override;

    static CDockDlgBarBase* m_pMyself;  // the host's docking bar; null when none

    static int GetDlgBarMode();
    static void ShowDlgBarMode(int nMode, int nOption = 0);
    static void CloseDlgBar();

protected:
    // Opens the bar's content for a result id; FALSE when it cannot (the bar then stays closed).
    virtual BOOL OnShowBarMode(int nMode, int nOption);
    virtual void OnCloseBar();
};
