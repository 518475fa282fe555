#include "host/grx/XGL_PrintHandler.h"

#include <cstdio>
#include <memory>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/gdi/afxgdi.h"
#include "platform/ui/CWnd.h"

BOOL XGL_PrintHandler::m_bDrawRect = FALSE;
XGL_PrintParam XGL_PrintHandler::m_PrintParam = {0, 0};

namespace {
// Freed by ClearMetafile; one left at exit is not deleted, since the drawing layer's handle
// table may already be gone by then.
CDC*& RefDC() {
    static CDC* dc = nullptr;
    return dc;
}
}  // namespace

int XGL_PrintHandler::PrepareMetafile(CWnd* pView, CDC*& pRefDC, CRect& rcFrame) {
    pRefDC = nullptr;
    rcFrame = CRect(0, 0, 0, 0);
    CRect rc(0, 0, 0, 0);
    if (pView && pView->GetSafeHwnd()) pView->GetClientRect(&rc);
    if (rc.Width() <= 0 || rc.Height() <= 0) {
        AfxDiagnostic("XGL_PrintHandler", "the view has no client area; nothing to export");
        return 0;
    }
    auto dc = std::make_unique<CDC>();
    if (!dc->CreateDisplayDC(rc.Width(), rc.Height())) {
        AfxDiagnostic("XGL_PrintHandler", "cannot make a %dx%d reference context", rc.Width(), rc.Height());
        return 0;
    }
    const int dpiX = dc->GetDeviceCaps(LOGPIXELSX), dpiY = dc->GetDeviceCaps(LOGPIXELSY);
    // Frame in .01 mm: pixels / dpi inches x 2540.
    rcFrame = CRect(0, 0, MulDiv(rc.Width(), 2540, dpiX > 0 ? dpiX : 96), MulDiv(rc.Height(), 2540, dpiY > 0 ? dpiY : 96));
    m_PrintParam.m_nWidth = rc.Width();
    m_PrintParam.m_nHeight = rc.Height();
    ClearMetafile();
    RefDC() = dc.release();
    pRefDC = RefDC();
    return 1;
}

void XGL_PrintHandler::ClearMetafile() {
    delete RefDC();
    RefDC() = nullptr;
}

CDC* XGL_PrintHandler::GetReferenceDC() { return RefDC(); }
