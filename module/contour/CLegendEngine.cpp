#include "module/contour/CLegendEngine.h"

#include <cstdlib>
#include <cstring>

#include "module/bars/CPVXBarContainerBase.h"
#include "module/contour/CContourEngine.h"
#include "module/contour/CGradientDrawing.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/figures/CPVXFigure.h"
#include "module/force/CForceEngine.h"
#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "platform/ui/CWinApp.h"

namespace {

// Face of the screen fonts: the two characters and one blank, as the panel always used it.
const char kScreenFace[] = "宋体 ";

// Each channel moved by 60 towards the middle, so the title bar stands out on any background.
COLORREF TitleBarColor(COLORREF c) {
    auto move = [](int v) { return v >= 122 ? v - 60 : v + 60; };
    return RGB(move(GetRValue(c)), move(GetGValue(c)), move(GetBValue(c)));
}

}  // namespace

void FillLegendLogFont(LOGFONT& lf, int nHeight, int nWidth, LPCTSTR pszFace) {
    std::memset(&lf, 0, sizeof(lf));
    lf.lfHeight = nHeight;
    lf.lfWidth = nWidth;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    lf.lfWeight = 400;
    lf.lfItalic = 0;
    lf.lfUnderline = 0;
    lf.lfStrikeOut = 0;
    lf.lfCharSet = 1;
    lf.lfOutPrecision = 2;
    lf.lfClipPrecision = 1;
    lf.lfQuality = 0;
    lf.lfPitchAndFamily = 0;
    std::strncpy(lf.lfFaceName, pszFace, sizeof(lf.lfFaceName) - 1);
    lf.lfFaceName[sizeof(lf.lfFaceName) - 1] = '\0';
}

CLegendEngine::CLegendEngine()
    : m_bOpenGLReady(0),
      m_pModel(nullptr),
      m_pContourEngine(nullptr),
      m_nTitleCharWidth(0),
      m_nTitleLineHeight(0),
      m_nValueCharWidth(0),
      m_nValueLineHeight(0),
      m_lfTitle{},
      m_lfValue{},
      m_crBackTop(0),
      m_crLine(0),
      m_crText(0),
      m_crBackBottom(0),
      m_crSaveBackTop(0),
      m_crSaveLine(0),
      m_crSaveText(0),
      m_crReserved(0),
      m_crPercent(0),
      m_crWindow(0),
      m_crInstruction(0),
      m_crMax(0),
      m_crMin(0),
      m_nPanelPlacement(1),
      m_bExponent(0),
      m_bAutoDigits(1),
      m_nDecimals(7),
      m_bCompact(1),
      m_bLegendRect(0),
      m_pLegendWnd(nullptr) {
    m_arrValRect.SetSize(2);
    for (INT_PTR i = 0; i < m_arrValRect.GetSize(); ++i) m_arrValRect[i].Initialize();
    InitFont(18, 12);
}

CLegendEngine::~CLegendEngine() {
    ClearOpenGl();
    if (m_fontTitle.GetSafeHandle()) m_fontTitle.DeleteObject();
    if (m_fontValue.GetSafeHandle()) m_fontValue.DeleteObject();
    m_arrValRect.RemoveAll();
}

// ---- fonts ------------------------------------------------------------------------------------

void CLegendEngine::CreateLegendFont(CFont& font, const LOGFONT& lf) {
    if (font.GetSafeHandle()) font.DeleteObject();
    font.CreateFontIndirect(&lf);
}

void CLegendEngine::MeasureFonts() {
    // The screen measures the fonts: a memory DC compatible with the display.
    CDC screen;
    if (!screen.CreateCompatibleDC(nullptr)) return;
    TEXTMETRIC tm{};
    CFont* pOld = nullptr;
    if (m_fontTitle.GetSafeHandle()) {
        pOld = screen.SelectObject(&m_fontTitle);
        if (screen.GetTextMetrics(&tm)) {
            m_nTitleCharWidth = tm.tmAveCharWidth + tm.tmAveCharWidth / 2;
            m_nTitleLineHeight = tm.tmHeight;
        }
    }
    if (m_fontValue.GetSafeHandle()) {
        CFont* pPrev = screen.SelectObject(&m_fontValue);
        if (!pOld) pOld = pPrev;
        if (screen.GetTextMetrics(&tm)) {
            m_nValueCharWidth = tm.tmAveCharWidth;
            m_nValueLineHeight = tm.tmHeight;
        }
    }
    if (pOld) screen.SelectObject(pOld);
    screen.DeleteDC();
}

void CLegendEngine::InitFont(int nTitleHeight, int nValueHeight) {
    FillLegendLogFont(m_lfTitle, nTitleHeight - 2, 6, kScreenFace);
    FillLegendLogFont(m_lfValue, nValueHeight, static_cast<int>(nValueHeight * 0.5), kScreenFace);
    CreateLegendFont(m_fontTitle, m_lfTitle);
    CreateLegendFont(m_fontValue, m_lfValue);
    MeasureFonts();
}

void CLegendEngine::InitVirtualFont() {
    if (!m_pModel || !m_pModel->m_pPVXCtrl) return;
    I_PVXCtrl* pCtrl = m_pModel->m_pPVXCtrl;
    // The host keeps the screen fonts for this output.
    if (pCtrl->m_nCtrlState == 1) return;
    const int nChars = (m_pModel->m_pDispOpt && m_pModel->m_pDispOpt->m_Legend.m_nLegendWidth > 0)
                           ? m_pModel->m_pDispOpt->m_Legend.m_nLegendWidth
                           : 20;
    const CRect rcMargin = pCtrl->GetClientWindowMargin(m_nPanelPlacement != 0);
    const int c = rcMargin.Width() / nChars;
    const int nTitle = static_cast<int>(c * 2.5);
    const int nValue = static_cast<int>(c * 1.9);
    // The host's language font; the screen face when the host has no text for the key.
    CString strFace;
    if (!CMsgDll::LookupString("D_LANG_CH_FONT_NAME", strFace) || strFace.IsEmpty()) strFace = kScreenFace;
    FillLegendLogFont(m_lfTitle, nTitle, nTitle / 2, strFace);
    FillLegendLogFont(m_lfValue, nValue, nValue / 2, strFace);
    CreateLegendFont(m_fontTitle, m_lfTitle);
    CreateLegendFont(m_fontValue, m_lfValue);
    MeasureFonts();
}

// ---- scale choice -----------------------------------------------------------------------------

int CLegendEngine::GetDesignLegendMode() const {
    if (!m_pModel || !m_pModel->m_pDesignData || !m_pModel->m_pFigure) return PVXMode::kNone;
    using namespace PVXMode;
    const int mode = m_pModel->m_pFigure->m_nFigureMode;
    // The base-force figures share one legend: the caption of their five labels.
    if (mode >= kDesignBaseForce && mode <= 56) return kDesignBaseForce;
    // A beam figure without a range of its own has no legend.
    if (mode == kDesignSteel || mode == kDesignMoment || mode == kDesignShear)
        return m_pModel->m_pDesignData->m_pContourEngine ? mode : kNone;
    return mode == kDesignACR ? mode : kNone;
}

int CLegendEngine::GetLegendDisplayMode() const {
    if (const int design = GetDesignLegendMode(); design != PVXMode::kNone) return design;
    if (m_pModel && m_pModel->m_nDisplayMode != PVXMode::kNone) return m_pModel->m_nDisplayMode;
    return CPVXBarContainerBase::m_nCurrentMode;
}

void CLegendEngine::ResetContourEngine() {
    m_pContourEngine = nullptr;
    if (!m_pModel) return;
    I_PVXModel& m = *m_pModel;
    using namespace PVXMode;
    const int mode = GetLegendDisplayMode();
    // The design figures' scale is the range their beam builder gave the design engine.
    if (mode == kDesignSteel || mode == kDesignMoment || mode == kDesignShear) {
        if (m.m_pDesignData) m_pContourEngine = m.m_pDesignData->m_pContourEngine;
        return;
    }
    // The levels of the engine serving the mode; reactions and settlement have levels only as
    // contours, slab forces on beams only as slab contours, and node displacement none.
    switch (EngineOf(mode)) {
    case Engine::kReaction:
        if (m.m_pReactionEngine && (mode != kReaction || m.m_bContour))
            m_pContourEngine = m.m_pReactionEngine->m_pContourEngine;
        break;
    case Engine::kDeform:
        if (m.m_pDeformEngine && mode != kNodeDisp && (mode != kSettlement || m.m_bContour))
            m_pContourEngine = m.m_pDeformEngine->m_pContourEngine;
        break;
    case Engine::kForce:
        if (m.m_pForceEngine && (mode != kSlabForceBeam || IsSlabBeamContour(&m)))
            m_pContourEngine = m.m_pForceEngine->m_pContourEngine;
        break;
    case Engine::kStress:
        if (m.m_pStressEngine) m_pContourEngine = m.m_pStressEngine->m_pContourEngine;
        break;
    case Engine::kNone:
        break;
    }
}

int CLegendEngine::IsPossibleUserDefGlobalRange(I_PVXModel* pModel, int nDisplayMode) {
    using namespace PVXMode;
    switch (nDisplayMode) {
    case kDispContour: case kStoryShearRatio: case kFrameForceContour: case kFrameForceDiagram:
    case kWallForceContour: case kWallForceDiagram: case kPlateForce: case kPlateStress: case kSlabForce:
    case kSlabRebar: case kSlabCrack: case kSlabDeflection: case kSlabWall: case kSlabStrip: case kDesignSteel:
    case kDesignMoment: case kDesignShear: case kReactionContour:
        return 1;
    case kReaction: case kSettlement:
        return pModel && pModel->m_bContour ? 1 : 0;
    case kModeShape:
        return pModel && pModel->m_bModeShapeContour ? 1 : 0;
    case kSlabForceBeam:
        return IsSlabBeamContour(pModel);
    default:
        return 0;
    }
}

int CLegendEngine::IsSlabBeamContour(const I_PVXModel* pModel) {
    const CForceEngine* f = pModel ? pModel->m_pForceEngine : nullptr;
    return f && f->m_nSForcKind == 1 && f->m_nSForcUnit == 1 ? 1 : 0;
}

// ---- panel ------------------------------------------------------------------------------------

void CLegendEngine::FillPanelBackground(CDC* pDC, const CRect& r, COLORREF crTop) {
    const int bPlain = AfxGetApp()->GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 0) != 0 &&
                       !(m_pModel && m_pModel->m_pPVXCtrl && m_pModel->m_pPVXCtrl->IsGLRenderer());
    if (bPlain || (m_pModel && m_pModel->m_bExternalDevice)) {
        CBrush brush(bPlain ? m_crBackBottom : m_crBackTop);
        CBrush* pOld = pDC->SelectObject(&brush);
        pDC->Rectangle(r.left, r.top, r.right, r.bottom);
        pDC->SelectObject(pOld);
        return;
    }
    COLORREF colors[4] = {crTop, crTop, m_crBackBottom, m_crBackBottom};
    CPoint pts[4] = {CPoint(r.left, r.top), CPoint(r.right, r.top), CPoint(r.right, r.bottom),
                     CPoint(r.left, r.bottom)};
    CGradientDrawing::GradientPolygon(pDC, colors, pts, 4);
}

void CLegendEngine::DrawContourLegend(CDC* pDC, int bUseRect, CRect* pRect, double*, double*, double*, double*,
                                      double*) {
    if (!pDC) return;
    for (INT_PTR i = 0; i < m_arrValRect.GetSize(); ++i) m_arrValRect[i].Initialize();
    m_bLegendRect = 0;
    m_rcLegend.SetRectEmpty();

    if (bUseRect && pRect) {
        m_rcPanel = *pRect;
    } else if ((m_nPanelPlacement == 0 || m_nPanelPlacement == 1) && m_pModel && m_pModel->m_pPVXCtrl) {
        m_rcPanel = m_pModel->m_pPVXCtrl->GetClientWindowMargin(m_nPanelPlacement != 0);
    }
    const CRect panel = m_rcPanel;
    if (panel.Width() == 0 || panel.Height() == 0) return;

    const int nSaved = pDC->SaveDC();
    CPen pen(PS_SOLID, 1, m_crBackTop);
    CBrush brush(m_crBackTop);
    CPen* pOldPen = pDC->SelectObject(&pen);
    CBrush* pOldBrush = pDC->SelectObject(&brush);
    CFont* pOldFont = pDC->GetCurrentFont();

    FillPanelBackground(pDC, panel, m_crBackTop);

    CRect rcHead = panel;
    DrawPreRainbow(pDC, &rcHead);

    const int h2 = m_nValueLineHeight;
    CRect rcScale(panel.left, rcHead.bottom + h2, panel.right, panel.bottom - 10 * h2 - panel.Width() / 2);
    // A display without a single value has no scale to show (its footer says there is no extreme):
    // its contour range is the one point the engine starts from, not a band of values, and a
    // display without a scale has no maxima to list.
    const bool bNoValues = m_pModel && m_pModel->CountShownValues(m_pModel->m_nDisplayMode) == 0 &&
                           (!m_pContourEngine || m_pContourEngine->m_dMinValue == m_pContourEngine->m_dMaxValue);
    if (!bNoValues) DrawRainbow(pDC, &rcScale);

    // The footer repaints its own background so that nothing of the scale runs into it; its
    // gradient continues the panel's from the colour at the footer's top.
    CRect rcFoot(panel.left, rcScale.bottom, panel.right, panel.bottom);
    int nSpan = std::abs(panel.top - panel.bottom);
    if (nSpan < 1) nSpan = 1;
    const double ratio = std::abs(panel.top - rcFoot.top) / static_cast<double>(nSpan);
    auto channel = [ratio](int top, int bottom) {
        return (top + static_cast<int>((bottom - top) * ratio)) & 0xFF;
    };
    const COLORREF crFootTop = RGB(channel(GetRValue(m_crBackTop), GetRValue(m_crBackBottom)),
                                   channel(GetGValue(m_crBackTop), GetGValue(m_crBackBottom)),
                                   channel(GetBValue(m_crBackTop), GetBValue(m_crBackBottom)));
    pDC->SelectObject(&pen);
    pDC->SelectObject(&brush);
    FillPanelBackground(pDC, rcFoot, crFootTop);
    DrawPostRainbow(pDC, &rcFoot);

    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
    if (pOldFont) pDC->SelectObject(pOldFont);
    pDC->RestoreDC(nSaved);
}

void CLegendEngine::DrawKeptLegend(CDC* pDC, KeptPanel& kept) {
    if (!pDC) return;
    const CRect& r = kept.rect;
    if (kept.bKept) {
        pDC->BitBlt(r.left, r.top, r.Width(), r.Height(), &kept.dc, 0, 0, SRCCOPY);
        return;
    }
    ResetContourEngine();
    DrawContourLegend(pDC, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    kept.rect = m_rcPanel;
    if (r.Width() <= 0 || r.Height() <= 0 || !kept.dc.CreateCompatibleDC(pDC) ||
        !kept.bitmap.CreateCompatibleBitmap(pDC, r.Width(), r.Height()))
        return;
    kept.dc.SelectObject(&kept.bitmap);
    kept.bKept = kept.dc.BitBlt(0, 0, r.Width(), r.Height(), pDC, r.left, r.top, SRCCOPY) != FALSE;
}

void CLegendEngine::DrawPreRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect) return;
    CRect& r = *pRect;
    const int h1 = m_nTitleLineHeight;
    const int w2 = m_nValueCharWidth;
    const int h2 = m_nValueLineHeight;

    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);

    // Title bar.
    CBrush barBrush(TitleBarColor(m_crBackTop));
    CBrush* pOldBrush = pDC->SelectObject(&barBrush);
    CGdiObject* pOldPen = pDC->SelectStockObject(NULL_PEN);
    r.bottom = r.top + static_cast<int>(1.5 * h1);
    pDC->Rectangle(r.left + w2 / 2, r.top + w2, r.right - w2 / 2, r.bottom + w2);
    pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);

    // Title in the screen face at the title font's size.
    LOGFONT lf;
    FillLegendLogFont(lf, m_lfTitle.lfHeight, m_lfTitle.lfWidth, kScreenFace);
    CFont titleFont;
    titleFont.CreateFontIndirect(&lf);
    CFont* pOldFont = pDC->SelectObject(&titleFont);
    const COLORREF crBar = TitleBarColor(m_crBackTop);
    pDC->SetTextColor(LegibleTextColor(m_crText, crBar, crBar));
    const int cx = (r.left + r.right) / 2;
    r.bottom += static_cast<int>(0.1 * h2);
    pDC->TextOut(cx, r.bottom, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Legend_Title", 0));

    // Result kind and load.
    pDC->SelectObject(&m_fontValue);
    CString strKind, strLoad;
    GetPvxInstruction(strKind);
    r.bottom += 2 * h2;
    pDC->SetTextColor(Legible(m_crInstruction, r.bottom - h2, r.bottom));
    pDC->TextOut(cx, r.bottom, strKind);
    GetLoadString(strLoad);
    r.bottom += static_cast<int>(1.5 * h2);
    pDC->SetTextColor(Legible(m_crInstruction, r.bottom - h2, r.bottom));
    pDC->TextOut(cx, r.bottom, strLoad);

    // Separator, then component and unit.
    CPen linePen(PS_SOLID, 1, m_crLine);
    CPen* pPrevPen = pDC->SelectObject(&linePen);
    r.bottom += static_cast<int>(0.5 * h2);
    pDC->MoveTo(r.left + w2, r.bottom);
    pDC->LineTo(r.right - w2, r.bottom);

    CString strComp, strUnit;
    GetDisplayComponent(strComp);
    strComp.Trim();
    GetUnitString(strUnit);
    CString strText = strComp.IsEmpty() || strUnit.IsEmpty() ? strComp + strUnit : strComp + ", " + strUnit;
    r.bottom += static_cast<int>(1.5 * h2);
    pDC->SetTextColor(Legible(m_crText, r.bottom - h2, r.bottom));
    pDC->TextOut(cx, r.bottom, strText);
    r.bottom += static_cast<int>(0.5 * h2);

    pDC->SelectObject(pPrevPen);
    pDC->SelectObject(pOldFont);
}

void CLegendEngine::DrawPostRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect) return;
    CRect& r = *pRect;
    const int w2 = m_nValueCharWidth;
    const int h2 = m_nValueLineHeight;

    CPen linePen(PS_SOLID, 1, m_crLine);
    CPen* pOldPen = pDC->SelectObject(&linePen);
    pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(&m_fontValue);
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);

    const int q = h2 / 4;
    r.bottom = r.top + 10 * h2 + q;
    const int x1 = static_cast<int>(r.left + 1.5 * w2);
    const int x2 = static_cast<int>(r.left + 7.5 * w2);

    CString strMax, strMin;
    GetMnMxValKeyString(strMax, strMin);
    pDC->SetTextColor(Legible(m_crMax, r.bottom - h2, r.bottom));
    pDC->TextOut(x1, r.bottom, strMax);
    r.bottom += static_cast<int>(7 * h2 / 6.0);
    pDC->SetTextColor(Legible(m_crMin, r.bottom - h2, r.bottom));
    pDC->TextOut(x1, r.bottom, strMin);

    r.bottom += q;
    pDC->MoveTo(r.left + w2, r.bottom);
    pDC->LineTo(r.right - w2, r.bottom);

    r.bottom += static_cast<int>(1.5 * h2);
    pDC->SetTextColor(Legible(m_crText, r.bottom - h2, r.bottom));
    CString strTitle;
    if (m_pModel && m_pModel->GetDBDoc()) {
        // The file title: the path's last component, so folders never stand in for the name.
        strTitle = m_pModel->GetDBDoc()->GetPathName();
        const int nSlash = strTitle.ReverseFind('/');
        const int nBack = strTitle.ReverseFind('\\');
        const int nCut = nSlash > nBack ? nSlash : nBack;
        if (nCut >= 0) strTitle = strTitle.Mid(nCut + 1);
        MakeTitleName(strTitle);
    }
    pDC->TextOut(x1, r.bottom, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_FILE_", 0));
    pDC->TextOut(x2, r.bottom, strTitle);

    r.bottom += static_cast<int>(7 * h2 / 6.0);
    CString strDate;
    GetDateString(strDate);
    pDC->SetTextColor(Legible(m_crText, r.bottom - h2, r.bottom));
    pDC->TextOut(x1, r.bottom, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_DATE_", 0));
    pDC->TextOut(x2, r.bottom, strDate);

    pDC->SelectObject(pOldFont);
    pDC->SelectObject(pOldPen);
}
