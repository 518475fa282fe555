// CGwPrintHandler: the framework library's print parameters for a view printed through the
// ordinary (non-GL) print path, shared by the process.
//
// The view's print callbacks use it in this order: PreparePrintDC while the print (or preview)
// is set up, InitPrintParam when printing begins, SetPrintDC for each page (the page size in
// device pixels is then in m_PrintParam), ResetPrintDC when printing ends. There is no printer
// dialog here: a print is set up from what the caller hands in.
//
// EnableDivideByZero lets floating-point division by zero give an infinity instead of a trap
// while a page is drawn; printing code calls it before it starts.
#pragma once

#include "platform/afx/afxtypes.h"

class CDC;
class CView;
class CPrintInfo;

struct GW_PrintParam {
    int m_nWidth;   // page width in device pixels; 0 when no page is set up
    int m_nHeight;  // page height in device pixels
};

class CGwPrintHandler {
public:
    static BOOL m_bDrawRect;          // a frame is drawn around the printed area
    static GW_PrintParam m_PrintParam;

    // One page, from page 1; FALSE without print info.
    static BOOL PreparePrintDC(CPrintInfo* pInfo);
    // Starts from the view's client size until a device context gives the page.
    static void InitPrintParam(CView* pView);
    // The page of this device context: the print info's drawing rectangle when it has one, else
    // the device's resolution.
    static void SetPrintDC(CView* pView, CDC* pDC, CPrintInfo* pInfo);
    static void ResetPrintDC();
};

void EnableDivideByZero();
