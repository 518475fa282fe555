// XGL_PrintHandler: the graphics library's print and metafile parameters, shared by the process.
//
// Before a metafile export the caller asks PrepareMetafile for a reference device context (a
// 96-dpi display context of the view's client size) and the picture frame in .01 mm; the print
// parameters then hold the page size in pixels, which the caller hands to
// I_PVXCtrl::StartVirtualMode. ClearMetafile releases the reference context. m_bDrawRect asks
// the renderer for a frame around the printed area.
#pragma once

#include "platform/afx/afxtypes.h"

class CDC;
class CWnd;

struct XGL_PrintParam {
    int m_nWidth;   // page width in pixels
    int m_nHeight;  // page height in pixels
};

class XGL_PrintHandler {
public:
    static BOOL m_bDrawRect;
    static XGL_PrintParam m_PrintParam;

    // Fills pRefDC (owned by the handler until ClearMetafile) and rcFrame; 0 when the view has
    // no client area or the context cannot be made.
    static int PrepareMetafile(CWnd* pView, CDC*& pRefDC, CRect& rcFrame);
    static void ClearMetafile();
    static CDC* GetReferenceDC();
};
