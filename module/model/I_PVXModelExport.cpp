// Image export, printing and the vector-stream brackets of the result model.
//
// EMF and BMP export and printing reuse the display-mode switch of the render path with another
// target: a metafile DC, a memory bitmap or the printer DC. Every entry here restores what it
// changes for the drawing (external-device switch, colour set, gray colours, legend fonts and
// switch, line widths, retained-geometry mode, client margins); only the files written and the
// control's print image outlive a call.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "host/base/CGwPrintHandler.h"
#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "host/grx/I_PVXCtrl.h"
#include "host/grx/XGL_PrintHandler.h"
#include "module/model/I_PVXModel.h"
#include "module/model/ModelElements.h"
#include "module/model/PVXDataCtrls.h"
#include "module/model/PrintScale.h"
#include "platform/gdi/BmpFile.h"
#include "platform/gdi/CMetaFileDC.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CFileDialog.h"
#include "platform/ui/CView.h"

namespace {

const char kEmfFilter[] = "Emf Files (*.emf)|*.emf|All Files (*.*)|*.*||";
const char kBmpFilter[] = "Bmp Files (*.bmp)|*.bmp|All Files (*.*)|*.*||";
// Screen legend fonts after GL printing are scaled on screens narrower than this (pixels) ...
constexpr int kFullFontScreenWidth = 1024;
// ... by the screen width / 1400.
constexpr double kFontScalePerPixel = 0.0007142857142857143;

// Asks the user for the file of a save; false when cancelled.
bool AskSavePath(const char* pszExt, const char* pszInitial, const char* pszFilter, CWnd* pParent, CString& path) {
    CFileDialog dlg(FALSE, pszExt, pszInitial, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, pszFilter, pParent);
    if (dlg.DoModal() != IDOK) return false;
    path = dlg.GetPathName();
    return !path.IsEmpty();
}

void ReportFailure(const CString& text) { GMsgOutNF(static_cast<LPCTSTR>(text)); }

// The two line widths of the display options, kept for one draw and put back after it.
struct LineWidthSave {
    explicit LineWidthSave(T_PVX_DOPT_D* pOpt) : m_pOpt(pOpt) {
        if (m_pOpt)
            for (int i = 0; i < 2; ++i) m_saved[i] = m_pOpt->m_nRenderScale[i];
    }
    ~LineWidthSave() {
        if (m_pOpt)
            for (int i = 0; i < 2; ++i) m_pOpt->m_nRenderScale[i] = m_saved[i];
    }
    LineWidthSave(const LineWidthSave&) = delete;
    LineWidthSave& operator=(const LineWidthSave&) = delete;
    T_PVX_DOPT_D* m_pOpt;
    int m_saved[2] = {0, 0};
};

struct WaitCursor {
    explicit WaitCursor(CView* pView) : m_pView(pView) {
        if (m_pView) m_pView->BeginWaitCursor();
    }
    ~WaitCursor() {
        if (m_pView) m_pView->EndWaitCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    CView* m_pView;
};

bool LegendShown(const I_PVXModel& m) { return m.m_pDispOpt && m.m_pDispOpt->m_Legend.m_bShowLegend; }

// The legend is drawn on a print or export when it is shown over ready, settled results.
bool LegendDrawable(const I_PVXModel& m) {
    return LegendShown(m) && m.m_bResultDataReady && !m.m_bInitializing && m.m_nDisplayMode != PVXMode::kNodeDisp;
}

bool GrayPrinting(const I_PVXModel& m) { return m.m_pDispOpt && m.m_pDispOpt->m_nPrintColorMode == 0; }

// Black solid frame of width 3 x pen factor through the given corners.
void DrawFrame(CDC* pDC, int nPenFactor, const CPoint* pts, int n) {
    CPen pen(PS_SOLID, 3 * nPenFactor, RGB(0, 0, 0));
    CPen* pOld = pDC->SelectObject(&pen);
    pDC->MoveTo(pts[0]);
    for (int i = 1; i < n; ++i) pDC->LineTo(pts[i]);
    pDC->SelectObject(pOld);
}

// The frame around a w x h print area, on its outermost pixels.
void DrawPrintFrame(CDC* pDC, int nPenFactor, int w, int h) {
    const CPoint pts[5] = {CPoint(0, 0), CPoint(w - 1, 0), CPoint(w - 1, h - 1), CPoint(0, h - 1), CPoint(0, 0)};
    DrawFrame(pDC, nPenFactor, pts, 5);
}

// Client margin of the legend panel on its side: 0 left, 1 right.
void SetLegendMargin(I_PVXModel& m, int margin) {
    if (m.m_LegendEngine.m_nPanelPlacement == 0) m.m_pPVXCtrl->SetClientWindowMargin(margin, 0, 0, 0, 0, 0);
    if (m.m_LegendEngine.m_nPanelPlacement == 1) m.m_pPVXCtrl->SetClientWindowMargin(0, 0, margin, 0, 0, 0);
}

// Legend margin while printing: one seventh of the view's client width on the legend's side.
void SetPrintLegendMargin(I_PVXModel& m) {
    if (!m.m_pView || !m.m_pPVXCtrl || !LegendShown(m) || !m.m_bResultDataReady) return;
    CRect rc(0, 0, 0, 0);
    m.m_pView->GetClientRect(&rc);
    const int margin = static_cast<int>(rc.Width() * printscale::kPrintLegendShare);
    SetLegendMargin(m, margin);
}

// Screen legend fonts and margin after GL printing.
void RestoreScreenLegend(I_PVXModel& m) {
    if (!m.m_pView) {
        m.m_LegendEngine.InitFont(18, 12);
        return;
    }
    if (!LegendShown(m) || !m.m_bResultDataReady) return;
    int width = kFullFontScreenWidth;
    {
        CClientDC dc(m.m_pView);
        width = dc.GetDeviceCaps(HORZRES);
    }
    const double f = width >= kFullFontScreenWidth ? 1.0 : width * kFontScalePerPixel;
    m.m_LegendEngine.InitFont(static_cast<int>(18 * f), static_cast<int>(12 * f));
    if (!m.m_pPVXCtrl) return;
    const int margin = m.m_pDispOpt->m_Legend.m_nLegendWidth * m.m_LegendEngine.m_nTitleCharWidth;
    SetLegendMargin(m, margin);
}

// Scratch arrays of the bounding-box query, shared by the module and freed when it unloads.
struct ShapeScratch {
    CArray<int, int> counts;      // vertex count of each face
    CArray<int, int> index;       // offset of each face vertex in coords
    CArray<double, double> coords;
};
ShapeScratch& Scratch() {
    static ShapeScratch s;
    return s;
}

}  // namespace

// ---- EMF and BMP export -----------------------------------------------------------------------

int I_PVXModel::PVXExportEMF(CString* pPath) {
    const CString desc = CMsgDll::pfuncLoadStr("IDS_PVX_FILE_DESCRIPTION_POST", 0);
    CString path;
    if (pPath)
        path = *pPath;
    else if (!AskSavePath("emf", "*.emf", kEmfFilter, m_pView, path))
        return 0;
    if (path.IsEmpty()) {
        ReportFailure("Metafile export: no file name was given; nothing was written.");
        return 0;
    }
    if (!m_pPVXCtrl || !m_pDispOpt) {
        ReportFailure("Metafile export: the result view has no graphics control; nothing was written.");
        return 0;
    }

    CDC* pRefDC = nullptr;
    CRect rcFrame(0, 0, 0, 0);
    int bOK = 0;
    CString why;
    if (!XGL_PrintHandler::PrepareMetafile(m_pView, pRefDC, rcFrame)) {
        why = "the view has no picture to export";
    } else {
        CMetaFileDC mf;
        if (!mf.CreateEnhanced(pRefDC, path, &rcFrame, desc)) {
            why = mf.LastError().c_str();
        } else {
            I_PVXCtrl* ctrl = m_pPVXCtrl;
            ctrl->StartVirtualMode(XGL_PrintHandler::m_PrintParam.m_nWidth, XGL_PrintHandler::m_PrintParam.m_nHeight);
            const int bGL = ctrl->IsGLRenderer();
            if (bGL) ctrl->m_bDrawingMetafile = TRUE;
            m_bExportMetafile = 1;
            m_bExternalDevice = 1;
            PrepareColorSet(1);
            m_LegendEngine.InitVirtualFont();
            const bool bGray = GrayPrinting(*this);
            if (bGray) BeforeGrayPrinting();

            const CRect rc = ctrl->GetVirtualClientRect();
            mf.FillSolidRect(&rc, m_pDispOpt->m_Color.m_crBackground);
            VirtualRender(&mf);

            if (bGray) AfterGrayPrinting();
            ctrl->MustBeCalledPVXPrintingAfterModelDraw(&mf);
            if (bGL) ctrl->m_bDrawingMetafile = FALSE;
            ctrl->EndVirtualMode();
            m_bExternalDevice = 0;
            m_bExportMetafile = 0;
            PrepareColorSet(0);
            m_LegendEngine.InitFont(18, 12);

            HENHMETAFILE hemf = mf.CloseEnhanced();
            if (hemf) {
                DeleteEnhMetaFile(hemf);
                bOK = 1;
            } else {
                why = mf.LastError().empty() ? "the file could not be finished" : mf.LastError().c_str();
            }
        }
    }
    XGL_PrintHandler::ClearMetafile();
    if (!bOK) {
        CString msg;
        msg.Format("Metafile export to \"%s\" failed: %s.", static_cast<LPCTSTR>(path), static_cast<LPCTSTR>(why));
        ReportFailure(msg);
    }
    return bOK;
}

int I_PVXModel::PVXExportBMP(CString* pPath) {
    CString path;
    if (pPath)
        path = *pPath;
    else if (!AskSavePath("bmp", "*.bmp", kBmpFilter, m_pView, path))
        return 0;
    if (path.IsEmpty()) {
        ReportFailure("Bitmap export: no file name was given; nothing was written.");
        return 0;
    }
    if (!m_pPVXCtrl) {
        ReportFailure("Bitmap export: the result view has no graphics control; nothing was written.");
        return 0;
    }

    // The view's client size; the control's when the view has no window.
    CRect rc = m_pPVXCtrl->GetClientRect();
    if (m_pView && m_pView->GetSafeHwnd()) m_pView->GetClientRect(&rc);
    int bOK = 0;
    CString why = "the picture could not be made";
    if (rc.Width() > 0 && rc.Height() > 0) {
        CClientDC client(m_pView && m_pView->GetSafeHwnd() ? m_pView : nullptr);
        CDC mem;
        CBitmap bmp;
        if (mem.CreateCompatibleDC(&client) && bmp.CreateCompatibleBitmap(&client, rc.Width(), rc.Height())) {
            CBitmap* pOld = mem.SelectObject(&bmp);
            m_bRedrawRequested = 1;
            PVXRender();
            m_pPVXCtrl->SwapBuffer(&mem);
            PV_OnDraw(&mem);
            m_pPVXCtrl->MustBeCallAfterExportBMP(&mem);
            std::string file(static_cast<LPCTSTR>(path));
            bOK = RE_SaveAsBmpFile(&mem, &bmp, file.data());
            if (!bOK) why = "the file could not be written (see the message above)";
            mem.SelectObject(pOld);
        }
    }
    if (!bOK) {
        CString msg;
        msg.Format("Bitmap export to \"%s\" failed: %s.", static_cast<LPCTSTR>(path), static_cast<LPCTSTR>(why));
        ReportFailure(msg);
    }
    return bOK;
}

// ---- virtual renders ----------------------------------------------------------------------------

void I_PVXModel::VirtualRender(CDC* pDC) {
    if (!pDC || !m_pDispOpt || !modelelements::HasElements(*this) || m_bAnimation) return;
    m_nPenFactor = printscale::PenFactorOf(pDC);
    {
        LineWidthSave widths(m_pDispOpt);
        int w = 1, h = 1;
        if (m_pPVXCtrl) m_pPVXCtrl->GetVirtualWHRatio(w, h);
        for (int i = 0; i < 2; ++i) m_pDispOpt->m_nRenderScale[i] *= w;
        WaitCursor wait(m_pView);
        m_bFirstRender = 0;
        _PVXRender(pDC);
        if (LegendDrawable(*this)) {
            m_LegendEngine.ResetContourEngine();
            m_LegendEngine.DrawContourLegend(pDC, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        }
        // The frame asked for by the print handler of the renderer: the graphics library's for
        // a GL renderer, the framework's otherwise.
        const bool bGL = m_pPVXCtrl && m_pPVXCtrl->IsGLRenderer();
        if (bGL && XGL_PrintHandler::m_bDrawRect)
            DrawPrintFrame(pDC, m_nPenFactor, XGL_PrintHandler::m_PrintParam.m_nWidth,
                           XGL_PrintHandler::m_PrintParam.m_nHeight);
        if (!bGL && CGwPrintHandler::m_bDrawRect)
            DrawPrintFrame(pDC, m_nPenFactor, CGwPrintHandler::m_PrintParam.m_nWidth,
                           CGwPrintHandler::m_PrintParam.m_nHeight);
    }
    m_bFirstRender = 0;
}

void I_PVXModel::XGL_VirtualRender(CDC* pDC) {
    if (!pDC || !m_pDispOpt || !modelelements::HasElements(*this) || m_bAnimation) return;
    m_nPenFactor = 1;
    {
        LineWidthSave widths(m_pDispOpt);
        WaitCursor wait(m_pView);
        m_bFirstRender = 0;
        _PVXRender(pDC);
        if (LegendDrawable(*this) && m_nDisplayMode != PVXMode::kSlabStrip && m_nDisplayMode != PVXMode::kSlabForceBeam) {
            m_LegendEngine.ResetContourEngine();
            m_LegendEngine.DrawContourLegend(pDC, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        }
    }
    m_bFirstRender = 0;
}

int I_PVXModel::XGL_PV_OnDrawForPrinting(CDC* pDC) {
    I_PVXCtrl* ctrl = m_pPVXCtrl;
    if (!ctrl || !ctrl->IsGLRenderer()) return 0;
    if (!pDC || !m_pDispOpt) return 1;

    T_PVX_DOPT_LEGEND_D& legend = m_pDispOpt->m_Legend;
    const int bSavedLegend = legend.m_bShowLegend;
    if (m_nDisplayMode == PVXMode::kNodeDisp) legend.m_bShowLegend = 0;
    const int bSavedXGR = ctrl->IsXGRMode();

    // The print image, only when the print bitmap changed size.
    if (ctrl->XGL_bIsBmpSizeChanged()) {
        SetPrintLegendMargin(*this);
        const int bx = ctrl->XGL_virtual_dimension_bmp_x, by = ctrl->XGL_virtual_dimension_bmp_y;
        ctrl->XGL_StartVirtualMode(pDC, bx, by);
        m_bExternalDevice = 1;
        PrepareColorSet(1);
        const bool bGray = GrayPrinting(*this);
        if (bGray) BeforeGrayPrinting();
        if (!modelelements::HasElements(*this) || m_bAnimation) {
            // Nothing to print: undo the preparation so the screen keeps its colours and legend.
            if (bGray) AfterGrayPrinting();
            ctrl->XGL_EndVirtualMode();
            m_bExternalDevice = 0;
            PrepareColorSet(0);
            RestoreScreenLegend(*this);
            legend.m_bShowLegend = bSavedLegend;
            return 1;
        }
        m_nPenFactor = 1;
        {
            LineWidthSave widths(m_pDispOpt);
            WaitCursor wait(m_pView);
            m_bFirstRender = 0;
            ctrl->XGL_DeleteCurMetafile();
            ctrl->XGL_MakeMetafile(bx, by);
            if (CDC* pImage = ctrl->XGL_GetCurMetafileDC()) _PVXRender(pImage);
            ctrl->XGL_CloseMetafile();
            ctrl->XGL_EndVirtualMode();
        }
        if (bGray) AfterGrayPrinting();
    }

    ctrl->XGL_SetVirtualBmpToDevice(pDC);

    // Overlay pass on the printer DC: the legend and the frame.
    int w = ctrl->XGL_virtual_dimension_bmp_x, h = ctrl->XGL_virtual_dimension_bmp_y;
    if (ctrl->XGL_bIsPreviewMode()) {
        w = ctrl->XGL_virtual_dimension_x;
        h = ctrl->XGL_virtual_dimension_y;
    }
    {
        LineWidthSave widths(m_pDispOpt);
        WaitCursor wait(m_pView);
        SetPrintLegendMargin(*this);
        ctrl->SetXGRMode(0);
        ctrl->StartVirtualMode(w, h);
        m_bExternalDevice = 1;
        m_nPenFactor = printscale::PenFactorOf(pDC);
        PrepareColorSet(1);
        m_LegendEngine.InitVirtualFont();
        const bool bGray = GrayPrinting(*this);
        if (bGray) BeforeGrayPrinting();
        if (LegendShown(*this) && m_bResultDataReady && !m_bInitializing && m_nDisplayMode != PVXMode::kNodeDisp) {
            m_LegendEngine.ResetContourEngine();
            m_LegendEngine.DrawContourLegend(pDC, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
        }
        // On the outermost pixels of the print area, as the metafile's frame.
        if (XGL_PrintHandler::m_bDrawRect) DrawPrintFrame(pDC, m_nPenFactor, w, h);
        m_bFirstRender = 0;
        if (bGray) AfterGrayPrinting();
    }
    ctrl->MustBeCalledPVXPrintingAfterModelDraw(pDC);
    ctrl->EndVirtualMode();
    m_bExternalDevice = 0;
    PrepareColorSet(0);

    RestoreScreenLegend(*this);
    legend.m_bShowLegend = bSavedLegend;
    ctrl->SetXGRMode(bSavedXGR);
    return 1;
}

// ---- bounding boxes for the print handler ----------------------------------------------------

int I_PVXModel::XGL_RE_GetWcsVcsMBRL(int nType, UINT nKey, double* pWcs, double* pVcs, double* pMatrix) {
    double wcs[6] = {DBL_MAX, DBL_MAX, DBL_MAX, -DBL_MAX, -DBL_MAX, -DBL_MAX};
    double vcs[6] = {DBL_MAX, DBL_MAX, DBL_MAX, -DBL_MAX, -DBL_MAX, -DBL_MAX};

    const bool bUndeformed = nType == m_nObjectIDFirst;
    const bool bDeformed = nType == m_nObjectIDFirst + 1 && m_pDeformEngine;
    T_PELEM_D elem;
    if ((bUndeformed || bDeformed) && m_pAttrCtrl && m_pGeomCtrl && m_pAttrCtrl->GetElem(nKey, elem)) {
        T_PVX_DOPT_D none;
        const T_PVX_DOPT_D& opt = m_pDispOpt ? *m_pDispOpt : none;
        int cull = 0;
        if (opt.m_bWireFrame == 0) {
            if (CPVXAttrCtrl::IsLineElemType(elem.type)) cull = opt.m_bLineCulling;
            else if (CPVXAttrCtrl::IsPlaneElemType(elem.type)) cull = opt.m_bPlaneCulling;
        }
        ShapeScratch& s = Scratch();
        int nFaces = 0;
        m_pGeomCtrl->MakeShapeElementKeyed(nKey, cull, IsPossibleWirePlaneMode(elem.type), bDeformed ? 1 : 0, nFaces,
                                           &s.counts, &s.index, nullptr, &s.coords, opt.m_bShrink,
                                           opt.m_dShrinkFactor, nullptr, nullptr, opt.m_bWireFrame, nullptr, nullptr);
        const INT_PTR nCoords = s.coords.GetSize();
        for (INT_PTR v = 0; v < s.index.GetSize(); ++v) {
            const int at = s.index[v];
            if (at < 0 || at + 2 >= nCoords) continue;
            const double p[3] = {s.coords[at], s.coords[at + 1], s.coords[at + 2]};
            for (int i = 0; i < 3; ++i) {
                wcs[i] = std::min(wcs[i], p[i]);
                wcs[3 + i] = std::max(wcs[3 + i], p[i]);
            }
            if (!pMatrix) continue;
            const double* m = pMatrix;
            const double w = m[3] * p[0] + m[7] * p[1] + m[11] * p[2] + m[15];
            // A point on the projection's vanishing plane has no image; it cannot widen the box.
            if (w == 0.0 || !std::isfinite(w)) continue;
            double q[3];
            for (int i = 0; i < 3; ++i) {
                q[i] = (m[i] * p[0] + m[4 + i] * p[1] + m[8 + i] * p[2] + m[12 + i]) / w;
                if (std::fabs(q[i]) < 1e-9) q[i] = 0.0;
                vcs[i] = std::min(vcs[i], q[i]);
                vcs[3 + i] = std::max(vcs[3 + i], q[i]);
            }
        }
    }
    if (pWcs)
        for (int i = 0; i < 6; ++i) pWcs[i] = wcs[i];
    if (pVcs)
        for (int i = 0; i < 6; ++i) pVcs[i] = vcs[i];
    return 1;
}

// ---- vector-stream group brackets -------------------------------------------------------------

namespace {
void BeginGroupByType(I_PVXCtrl* ctrl, UINT nKey, int type) {
    if (!ctrl) return;
    if (CPVXAttrCtrl::IsLineElemType(type))
        ctrl->XGL_Begin_Frame(nKey, false);
    else if (CPVXAttrCtrl::IsPlaneElemType(type))
        ctrl->XGL_Begin_Plane(nKey, false);
}
}  // namespace

void I_PVXModel::PVX_XGL_Begin_Elem(UINT nKey, T_PELEM_D& elem) { BeginGroupByType(m_pPVXCtrl, nKey, elem.type); }

void I_PVXModel::PVX_XGL_Begin_Memb(UINT nKey, T_PMEMB_D& memb) { BeginGroupByType(m_pPVXCtrl, nKey, memb.type); }

void I_PVXModel::PVX_XGL_End_Elem(int nFlag) {
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_End_Elem(nFlag);
}

void I_PVXModel::PVX_XGL_End_Memb(int nFlag) {
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_End_Elem(nFlag);
}

void I_PVXModel::PVX_XGL_Begin_Node(UINT nKey) {
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_Begin_Else(nKey, true);
}

void I_PVXModel::PVX_XGL_End_Node() {
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_End_Elem(0);
}

void I_PVXModel::PVX_XGL_Begin_Diagram(UINT nKey) {
    if (m_pPVXCtrl) m_pPVXCtrl->XGL_Begin_Diagram(nKey, false);
}

// ---- export callbacks of the graphics control -------------------------------------------------

void I_PVXModel::PV_OnExportWindowsMetaFile(CMetaFileDC*) { PVXExportEMF(nullptr); }

void I_PVXModel::PV_OnExportWindowsMetaFileEx(CString& strFile) { PVXExportEMF(&strFile); }

void I_PVXModel::PV_OnExportBMP(CString* pStrFile) { PVXExportBMP(pStrFile); }

// Writes the bitmap (or, without one, the bitmap selected into the DC) as a 24-bit BMP; 0 without
// a path or a picture, or when the file cannot be written.
int I_PVXModel::RE_SaveAsBmpFile(CDC* pDC, CBitmap* pBitmap, char* pszPath) {
    if (!pszPath || !*pszPath) return 0;
    if (pBitmap && pBitmap->GetSafeHandle()) return WriteBmp24(pszPath, *pBitmap) ? 1 : 0;
    return pDC && WriteBmp24(pszPath, pDC) ? 1 : 0;
}
