// CWaitCursor: the application's wait cursor for the life of one object, on every way out of a
// long build or drawing. The wait cursor is one per process (a view's BeginWaitCursor shows the
// same one), so a scope needs no target.
//
//     CWaitCursor wait;   // shown until the scope ends
#pragma once

#include "platform/ui/CWinApp.h"

class CWaitCursor {
public:
    CWaitCursor() : m_pApp(AfxGetApp()) {
        if (m_pApp) m_pApp->BeginWaitCursor();
    }
    ~CWaitCursor() {
        if (m_pApp) m_pApp->EndWaitCursor();
    }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    CWinApp* m_pApp;  // not owned
};
