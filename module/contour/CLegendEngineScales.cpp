// The scales of the legend panel: colour bands with level values and percentages, discrete
// bands with state names, the mode-shape bands, and the text blocks of results drawn as arrows,
// shapes or numbers.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "module/contour/CContourEngine.h"
#include "module/contour/CGradientDrawing.h"
#include "module/contour/CLegendEngine.h"
#include "module/contour/LegendText.h"
#include "module/contour/CPVXLegendWnd.h"
#include "module/engines/CDeformEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/engines/CStressEngine.h"
#include "module/force/CForceEngine.h"
#include "host/base/CMsgDll.h"
#include "host/db/CDBDoc.h"
#include "module/model/I_PVXModel.h"

namespace {

// Number of levels of a scale as every lookup of the contour engine sees it.
int LevelCount(const CContourEngine* ce) {
    int n = ce->m_nNumColor;
    if (n < 1) n = 1;
    if (n > CContourEngine::MAX_LEVELS) n = CContourEngine::MAX_LEVELS;
    return n;
}

// Sets up a text-block scale: value font, transparent background, text colour, bottom
// alignment. Restores the DC's font and alignment on destruction.
class TextBlock {
public:
    TextBlock(CDC* pDC, CFont* pFont, COLORREF crText, UINT nAlign) : m_pDC(pDC) {
        m_pOldFont = pDC->SelectObject(pFont);
        m_nOldAlign = pDC->SetTextAlign(nAlign);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(crText);
    }
    ~TextBlock() {
        if (m_pOldFont) m_pDC->SelectObject(m_pOldFont);
        m_pDC->SetTextAlign(m_nOldAlign);
    }
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    // Left-aligned text at x, bottom at y.
    void Left(int x, int y, const CString& s) {
        m_pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        m_pDC->TextOut(x, y, s);
    }
    // Centred text at x, bottom at y.
    void Centre(int x, int y, const CString& s) {
        m_pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
        m_pDC->TextOut(x, y, s);
    }

private:
    CDC* m_pDC;
    CFont* m_pOldFont = nullptr;
    UINT m_nOldAlign = 0;
};

CString FormatInt(LPCTSTR fmt, int n) {
    CString s;
    s.Format(fmt, n);
    return s;
}

CString FormatG(double v) {
    CString s;
    s.Format("%g", v);
    return s;
}

}  // namespace

// ---- dispatch ---------------------------------------------------------------------------------

void CLegendEngine::DrawRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel) return;
    I_PVXModel& m = *m_pModel;
    auto contour = [&](int bDeformed) { DrawContourRainbow(pDC, pRect, bDeformed, 1, 0); };
    using namespace PVXMode;
    switch (GetLegendDisplayMode()) {
    case kReaction:
        if (m.m_bContour) {
            contour(0);
        } else if (m.m_pReactionEngine) {
            if (m_bAutoDigits) SetTextOutputSize(m.m_pReactionEngine->m_dMinValue, m.m_pReactionEngine->m_dMaxValue);
            DrawReacfRainbow(pDC, pRect);
        }
        break;
    case kDeformedShape:
        if (m.m_bContour && (m.m_nLoadType == 17 || m.m_nLoadType == 22 || m.m_nLoadType == 23 || m.m_nLoadType == 24))
            DrawPOHingeContourRainbow(pDC, pRect);
        else
            DrawDeformRainbow(pDC, pRect);
        break;
    case kDispContour: case kStoryShearRatio: case kSlabWall: case kReactionContour:
        contour(0);
        break;
    case kModeShape:
        if (m.m_bModeShapeContour)
            DrawMSContourRainbow(pDC, pRect, 0, 0);
        else
            DrawEgmdshpRainbow(pDC, pRect);
        break;
    case kFrameForceContour:
        // Column-force listing in place of the scale, unless drawn on the deformed shape.
        if (m.m_pForceEngine && !m.m_pForceEngine->GetDeformedCntr() && m.m_bCForcList)
            DrawCForcRainbow(pDC, pRect);
        else
            contour(m.m_pForceEngine && m.m_pForceEngine->GetDeformedCntr() ? 1 : 0);
        break;
    case kFrameForceDiagram: case kWallForceContour: case kWallForceDiagram: case kPlateForce: case kSlabStrip:
        contour(m.m_pForceEngine && m.m_pForceEngine->GetDeformedCntr() ? 1 : 0);
        break;
    case kDesignACR:
        if (m.m_pDesignData) DrawACRRainbow(pDC, pRect);
        break;
    case kDesignBaseForce:
        if (m.m_pDesignData) DrawBaseForceCaption(pDC, pRect);
        break;
    case kDesignSteel: case kDesignMoment: case kDesignShear:
        // The range of the beam results the design engine read.
        if (m.m_pDesignData) contour(0);
        break;
    case kPlateStress:
        contour(m.m_pStressEngine && m.m_pStressEngine->GetDeformedCntr() ? 1 : 0);
        break;
    case kSlabForce:
        if (m.m_pForceEngine) {
            if (m.m_pForceEngine->m_nSForcKind == 0)
                DrawSForcRainbow(pDC, pRect);
            else if (m.m_pForceEngine->m_nSForcKind == 1)
                contour(0);
        }
        break;
    case kSlabRebar:
    case kSlabCrack:
        // Per element the slabs are coloured by value: the colour scale; per member the maxima.
        if (m.m_pForceEngine && (GetLegendDisplayMode() == kSlabRebar ? m.m_pForceEngine->m_nSRbarUnit : m.m_pForceEngine->m_nSCracUnit) == 1)
            contour(0);
        else if (GetLegendDisplayMode() == kSlabRebar)
            DrawSRbarRainbow(pDC, pRect);
        else
            DrawSCracRainbow(pDC, pRect);
        break;
    case kSlabDeflection:
        if (m.m_pDeformEngine) {
            // Both kinds colour the slabs: per member and as a contour.
            if (m.m_pDeformEngine->m_nSlabDeflKind == 0)
                contour(0);
            else if (m.m_pDeformEngine->m_nSlabDeflKind == 1)
                contour(1);
        }
        break;
    case kSlabForceBeam:
        if (IsSlabBeamContour(&m))
            contour(0);
        else
            DrawSForcRainbow(pDC, pRect);
        break;
    case kTimeHistory:
        // Drawn as a contour, the picture needs its scale; otherwise the extremes listing.
        if (m.m_bContour)
            contour(0);
        else
            DrawDeformRainbow(pDC, pRect);
        break;
    case kSettlement:
        if (m.m_bContour)
            contour(0);
        else
            DrawSettlementRainbow(pDC, pRect);
        break;
    default:
        // Node displacement and every unlisted mode have no scale.
        break;
    }
}

// ---- colour scales ----------------------------------------------------------------------------

int CLegendEngine::DrawScaleBands(CDC* pDC, CRect* pRect, int nKind, int bReserve, int bRecordRect, int bInPopup,
                                  int bWindowLevels) {
    const CRect r = *pRect;
    const CContourEngine* ce = m_pContourEngine;
    if (!ce) return r.top;
    // The popup window's scale stands on the window's colour, not on the panel.
    struct PopupScale {
        bool& flag;
        ~PopupScale() { flag = false; }
    } popup{m_bPopupScale};
    m_bPopupScale = bInPopup != 0;
    const int w = m_nValueCharWidth;
    int h = m_nValueLineHeight;
    const int N = LevelCount(ce);

    if (bRecordRect) {
        m_rcLegend = r;
        m_rcLegend.top -= h;
    }

    LOGFONT lf = m_lfValue;
    lf.lfHeight -= 1;
    lf.lfWidth -= 1;

    // Band pitch, at most 1.7 lines; a crowded scale shrinks its font to the pitch. A scale of
    // one level has no band, so its pitch is the cap.
    const int nFree = bReserve ? 7 * h / 2 : h / 2;
    double p = 1.7 * h;
    if (N > 1) {
        p = (r.bottom - nFree - r.top) / static_cast<double>(N - 1) + 1.0;
        if (p > 1.7 * h) p = 1.7 * h;
    }
    if (p < h) {
        lf.lfHeight = static_cast<int>(p) < 1 ? 1 : static_cast<int>(p);
        h = static_cast<int>(p) < 1 ? 1 : static_cast<int>(p);
        if (p < 1.0) p = 1.0;
    }
    if (lf.lfWidth < 0) lf.lfWidth = 0;

    CFont font;
    font.CreateFontIndirect(&lf);
    CPen linePen(PS_SOLID, 1, m_crLine);
    CPen* pOldPen = pDC->SelectObject(&linePen);
    CBrush* pOldBrush = pDC->GetCurrentBrush();
    pDC->SetBkMode(TRANSPARENT);
    const UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    CFont* pOldFont = pDC->SelectObject(&font);

    // The popup window shows its own levels, which the user may have edited, while it is open.
    const CPVXLegendWnd* pWnd = bWindowLevels ? m_pLegendWnd : nullptr;
    const bool bWndLevels = pWnd && pWnd->GetLevelCount() == N;
    auto level = [&](int i) { return bWndLevels ? pWnd->GetLevel(i) : ce->m_dRankMap[i]; };

    if (nKind == 0 && m_bAutoDigits) SetTextOutputSize(level(0), level(N - 1));

    const int nPenFactor = m_pModel && m_pModel->m_nPenFactor > 0 ? m_pModel->m_nPenFactor : 1;
    const int bGradient = m_pModel && m_pModel->m_bGradient && !m_pModel->m_bExternalDevice;
    const int bLetters = m_pModel && m_pModel->m_bContourAnnot;
    const int bLines = ce->m_nFillStyle == 1;
    const int boxL = r.left + w;
    const int boxR = static_cast<int>(r.left + 3.5 * w);
    const int tickR = static_cast<int>(boxR + 5.5 * w);
    const int valueR = static_cast<int>(boxL + 5 * w);
    const int pctR = valueR - w / 2;
    const int nPanelRight = m_rcPanel.right;

    // A range of one value (every result equal) is one band with the value written once.
    const double dTop = level(N - 1), dBottom = level(0);
    const bool bSingle = nKind == 0 && N > 1 && std::fabs(dTop - dBottom) <= 1e-12 * std::max(1.0, std::fabs(dTop));
    double dSinglePct = 0.0;
    if (bSingle)
        for (int rank = 1; rank < N; ++rank) dSinglePct += ce->m_dPctRankMap[rank];

    int top = r.top + 1;
    for (int rank = N - 1; rank >= (bSingle ? N - 1 : 1); --rank) {
        const int bottom = top + static_cast<int>(p);
        const COLORREF crRank = ce->GetRankColor(rank);
        CPen rankPen(PS_SOLID, static_cast<int>(1.8 * nPenFactor), crRank);
        CBrush rankBrush(crRank);
        pDC->SelectObject(&rankPen);
        pDC->SelectObject(&rankBrush);
        pDC->SetTextColor(bInPopup && rank == N - 1 ? RGB(255, 0, 0) : Legible(m_crText, top - h / 2, top + h / 2));
        CRect box(boxL, top, boxR, bottom);
        CString strLetter;
        strLetter.Format("%c", 64 + rank);

        if (!bLines) {
            pDC->SelectStockObject(NULL_PEN);
            if (bGradient) {
                COLORREF colors[4] = {crRank, crRank, ce->GetRankColor(rank - 1), ce->GetRankColor(rank - 1)};
                CPoint pts[4] = {CPoint(boxL, top), CPoint(boxR, top), CPoint(boxR, bottom), CPoint(boxL, bottom)};
                CGradientDrawing::GradientPolygon(pDC, colors, pts, 4);
                pDC->SelectStockObject(NULL_BRUSH);
                pDC->Rectangle(box);
            } else {
                pDC->Rectangle(box);
            }
            pDC->SelectObject(&linePen);
            pDC->MoveTo(boxR, top);
            pDC->LineTo(tickR, top);
            if (bLetters) {
                const int nState = pDC->SaveDC();
                pDC->SetTextColor(RGB(0, 0, 0));
                CRect rc = box;
                pDC->DrawText(strLetter, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                pDC->SetTextColor(RGB(0xAA, 0xAA, 0xAA));
                rc = box;
                rc.OffsetRect(nPenFactor, nPenFactor);
                pDC->DrawText(strLetter, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                pDC->RestoreDC(nState);
            }
        } else {
            pDC->MoveTo(boxL, top);
            pDC->LineTo(boxR, top);
            CRect rc = box;
            pDC->DrawText(strLetter, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            pDC->SelectObject(&linePen);
            pDC->MoveTo(boxR, top);
            pDC->LineTo(tickR, top);
        }

        const double dPct = bSingle ? dSinglePct : ce->m_dPctRankMap[rank];
        if (nKind == 0) {
            CRect rv(boxL, top, valueR, bottom);
            TextOutContValue(pDC, rv, w, h, level(rank), 0);
            // A share of each band only where the figure fills bands: the envelope figures draw
            // curves, whose shares would say nothing.
            const int nScaleMode = GetLegendDisplayMode();
            if (nScaleMode != PVXMode::kDesignMoment && nScaleMode != PVXMode::kDesignShear) {
                CRect rp(boxL, top, pctR, bottom);
                TextOutSubContValue(pDC, rp, w, h, dPct);
            }
            if (rank == N - 1 && m_arrValRect.GetSize() > 0) {
                m_arrValRect[0].m_dValue = level(N - 1);
                m_arrValRect[0].m_rect.SetRect(pctR + 2 * w, top - h / 2, nPanelRight, top + h);
            }
        } else {
            // Percentage, then the state name of the rank.
            const int y = (top + bottom) / 2 - h / 2;
            CString strPct;
            strPct.Format("%3.1lf%%", dPct);
            pDC->SetTextColor(Legible(m_crPercent, y, y + h));
            pDC->TextOut(tickR - 5 * w, y, strPct);
            pDC->SetTextColor(Legible(m_crText, y, y + h));
            const INT_PTR nName = rank - 1;
            const CString strName =
                nName < ce->m_arrListName.GetSize() ? ce->m_arrListName[nName] : CString("NULL");
            pDC->TextOut(tickR + w, y, strName);
        }
        pDC->SelectObject(&linePen);
        if (pOldBrush) pDC->SelectObject(pOldBrush);
        top = bottom;
    }

    const int y = top;
    if (!(bLines && bLetters)) {
        pDC->SelectObject(&linePen);
        pDC->MoveTo(boxR, y);
        pDC->LineTo(tickR, y);
    }
    if (nKind == 0) {
        pDC->SetTextColor(bInPopup ? RGB(255, 0, 0) : Legible(m_crText, y - h / 2, y + h / 2));
        CRect rv(boxL, y - h, valueR, y);
        if (!bSingle) TextOutContValue(pDC, rv, w, h, level(0), 1);
        if (m_arrValRect.GetSize() > 1) {
            m_arrValRect[1].m_dValue = level(0);
            m_arrValRect[1].m_rect.SetRect(pctR + 2 * w, y - h, nPanelRight, y + h / 2);
        }
        if (bRecordRect) m_rcLegend.bottom = y + h;
    }
    pDC->SetTextColor(m_crText);

    pDC->SelectObject(pOldFont);
    pDC->SetTextAlign(nOldAlign);
    if (pOldBrush) pDC->SelectObject(pOldBrush);
    pDC->SelectObject(pOldPen);
    return y;
}

void CLegendEngine::DrawContourRainbow(CDC* pDC, CRect* pRect, int bDeformed, int bEditable, int bInPopup) {
    if (!pDC || !pRect) return;
    if (bEditable) m_bLegendRect = 1;
    DrawScaleBands(pDC, pRect, 0, bDeformed, !bInPopup, bInPopup, bInPopup);
}

void CLegendEngine::DrawPOHingeContourRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect) return;
    DrawScaleBands(pDC, pRect, 1, 1, 0, 0, 0);
}

void CLegendEngine::DrawMSContourRainbow(CDC* pDC, CRect* pRect, int bBuckling, int bNoPeriod) {
    if (!pDC || !pRect) return;
    m_bLegendRect = 1;
    // Only the popup window draws the mode-shape scale without its period: then its levels show.
    const int y = DrawScaleBands(pDC, pRect, 0, !bNoPeriod, !bNoPeriod, 0, bNoPeriod);
    if (bNoPeriod || !m_pModel || !m_pContourEngine) return;

    const int w = m_nValueCharWidth, h = m_nValueLineHeight;
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_LEFT | TA_BOTTOM);
    T_FREQ_D freq{};
    CDBDoc* pDoc = m_pModel->GetDBDoc();
    const int bFound = pDoc && pDoc->GetPostCtrl()->GetEiFreq(m_pModel->m_nCurEigenMode, freq);
    int yy = y + 2 * h;
    if (bBuckling) {
        tb.Left(pRect->left + w, yy, legendtext::Load("IDS_TBX_PVX_CRITICAL_LOAD"));
        yy += 3 * h / 2;
        if (bFound) tb.Left(pRect->left + w, yy, LegendFormatKeyDouble("IDS_TBX_PVX_FACTOR___3E", freq.factor));
    } else {
        tb.Left(pRect->left + w, yy, legendtext::Load("IDS_TBX_PVX_NATURAL_PERIOD_"));
        yy += 3 * h / 2;
        if (bFound) {
            CString s;
            s.Format("%.3E", freq.period);
            tb.Left(pRect->left + w, yy, s);
        }
    }
}

// ---- text blocks ------------------------------------------------------------------------------

void CLegendEngine::GetReacMinMaxString(CString& str, int bMinimum, int nQuantity) {
    CReactionEngine* e = m_pModel ? m_pModel->m_pReactionEngine : nullptr;
    if (!e) return;
    double v = bMinimum ? e->m_dMinValue : e->m_dMaxValue;
    int nComp = e->m_nComponent;
    // For the resultant force the extreme node's record gives the quantity asked for: a force
    // component (0 FX, 1 FY, 2 FZ) or the resultant itself (6). Without its record the engine's
    // extreme stands.
    T_REAC_D r;
    if (nComp == CReactionEngine::COMP_FXYZ && (nQuantity == 6 || (nQuantity >= 0 && nQuantity <= 2)) &&
        e->GetReacData(bMinimum ? e->m_nMinNode : e->m_nMaxNode, r)) {
        if (nQuantity == 6) {
            v = e->CalcReacValue(CReactionEngine::COMP_FXYZ, r);
        } else {
            nComp = nQuantity;
            v = e->CalcReacValue(nQuantity, r);
        }
    }
    const bool bNeg = v < 0;
    LPCTSTR label = "";
    switch (nComp) {
    case 0: label = bNeg ? "FX:  " : "FX:   "; break;
    case 1: label = bNeg ? "FY:  " : "FY:   "; break;
    case 2:
        if (bMinimum)
            label = bNeg ? "FZ:  " : "FZ:   ";
        else
            label = bNeg ? "FZ: " : "FZ:  ";
        break;
    case 3: label = "FXYZ: "; break;
    case 4: label = bNeg ? "MX:  " : "MX:   "; break;
    case 5: label = bNeg ? "MY:  " : "MY:   "; break;
    case 6: label = bNeg ? "MZ:  " : "MZ:   "; break;
    case 7: label = "MXYZ: "; break;
    default: break;
    }
    char buf[kTextScaleSize];
    GetTextReaction(v, buf, sizeof buf);
    str = label;
    str += buf;
}

namespace {

// One extreme of a node result block, gap below the line before: the centred heading, then the
// node and the value line a step apart each. y ends on the value line.
void DrawNodeExtreme(TextBlock& tb, int cx, int x, int& y, int gap, int step, LPCTSTR heading, UINT node,
                     const CString& value) {
    y += gap;
    tb.Centre(cx, y, legendtext::Load(heading));
    y += step;
    tb.Left(x, y, legendtext::Load("IDS_TBX_PVX_NODE__") + FormatInt("%6d", static_cast<int>(node)));
    y += step;
    tb.Left(x, y, value);
}

}  // namespace

void CLegendEngine::DrawReacfRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pReactionEngine) return;
    const CReactionEngine* e = m_pModel->m_pReactionEngine;
    const int step = 3 * m_nValueLineHeight / 2;
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_LEFT | TA_BOTTOM);
    const int cx = (pRect->left + pRect->right) / 2;
    const int x = pRect->left + m_nValueCharWidth;
    CString s;
    int y = pRect->top;
    GetReacMinMaxString(s, 1, 6);
    DrawNodeExtreme(tb, cx, x, y, step, step, "IDS_TBX_PVX_MIN__REACTION", e->m_nMinNode, s);
    GetReacMinMaxString(s, 0, 6);
    DrawNodeExtreme(tb, cx, x, y, 2 * step, step, "IDS_TBX_PVX_MAX__REACTION", e->m_nMaxNode, s);
}

void CLegendEngine::DrawReacfRainbowComb(CDC* pDC, CRect* pRect, int) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pReactionEngine) return;
    const CReactionEngine* e = m_pModel->m_pReactionEngine;
    const int step = 3 * m_nValueLineHeight / 2;
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_LEFT | TA_BOTTOM);
    CString s;
    int y = pRect->top;
    GetReacMinMaxString(s, 0, 6);
    DrawNodeExtreme(tb, (pRect->left + pRect->right) / 2, pRect->left + m_nValueCharWidth, y, step, step,
                    "IDS_TBX_PVX_MAX__REACTION", e->m_nMaxNode, s);
}

void CLegendEngine::DrawSettlementRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pDeformEngine) return;
    const CDeformEngine* e = m_pModel->m_pDeformEngine;
    const int h = m_nValueLineHeight;
    const int step = 3 * h / 2;
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_LEFT | TA_BOTTOM);
    const int cx = (pRect->left + pRect->right) / 2;
    const int x = pRect->left + m_nValueCharWidth;
    char buf[kTextScaleSize];
    int y = pRect->top;
    GetTextDeformedShape(e->m_dLegendMin, buf, sizeof buf);
    DrawNodeExtreme(tb, cx, x, y, h, step, "IDS_TBX_PVX_MIN__SETTLEMENT", m_pModel->m_nMinKey, CString(buf));
    GetTextDeformedShape(e->m_dLegendMax, buf, sizeof buf);
    DrawNodeExtreme(tb, cx, x, y, 2 * h, step, "IDS_TBX_PVX_MAX__SETTLEMENT", m_pModel->m_nMaxKey, CString(buf));
}

void CLegendEngine::DrawDeformRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pDeformEngine) return;
    const CDeformEngine* e = m_pModel->m_pDeformEngine;
    const int w = m_nValueCharWidth, h = m_nValueLineHeight;
    if (m_bAutoDigits) SetTextOutputSize(e->m_dMaxTotal, e->m_dMaxTotal);
    struct Row {
        LPCTSTR label;
        double value;
        UINT key;
    };
    const Row rows[4] = {{"X-DIR=", e->m_ptMaxComp.x, e->m_nMaxKeyX},
                         {"Y-DIR=", e->m_ptMaxComp.y, e->m_nMaxKeyY},
                         {"Z-DIR=", e->m_ptMaxComp.z, e->m_nMaxKeyZ},
                         {"COMB.=", e->m_dMaxTotal, e->m_nMaxKeyTotal}};
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_LEFT | TA_BOTTOM);
    const int l = pRect->left;
    int y = pRect->top;
    char buf[kTextScaleSize];
    // The values stand a character clear of the widest label, a minus sign before the column.
    const int labelEnd =
        LegendLabelsEnd(pDC, l + w, l + 7 * w, {rows[0].label, rows[1].label, rows[2].label, rows[3].label});
    const int keyAt = LegendLabelsEnd(pDC, l + 2 * w, l + 9 * w, {"NODE="}) + w;
    for (const Row& row : rows) {
        y += 5 * h / 3;
        tb.Left(l + w, y, CString(row.label));
        GetTextDeformedShape(row.value, buf, sizeof buf);
        tb.Left(row.value < 0 ? labelEnd + w : labelEnd + 2 * w, y, CString(buf));
        y += 4 * h / 3;
        tb.Left(l + 2 * w, y, CString("NODE="));
        // A direction no node moves in (all its values zero) has no node to name.
        tb.Left(keyAt, y, row.key ? FormatInt("%d", static_cast<int>(row.key)) : CString("-"));
    }
}

void CLegendEngine::DrawEgmdshpRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel) return;
    const int h = m_nValueLineHeight;
    const int cx = (pRect->left + pRect->right) / 2;
    CDBDoc* pDoc = m_pModel->GetDBDoc();
    T_FREQ_D freq{};
    T_MPAM_D mass{};
    const int bFreq = pDoc && pDoc->GetPostCtrl()->GetEiFreq(m_pModel->m_nCurEigenMode, freq);
    const int bMass = pDoc && pDoc->GetPostCtrl()->GetEiMpam(m_pModel->m_nCurEigenMode, mass);
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_CENTER | TA_BOTTOM);
    CString s;
    int y = pRect->top + h;
    tb.Centre(cx, y, legendtext::Load("IDS_TBX_PVX_FREQUENCY"));
    y += h;
    tb.Centre(cx, y, CString("(CYCLE/SEC)"));
    y += h;
    if (bFreq) {
        s.Format("%.6f", freq.freq);
        tb.Centre(cx, y, s);
    }
    y += 3 * h / 2;
    tb.Centre(cx, y, legendtext::Load("IDS_TBX_PVX_NATURAL_PERIOD"));
    y += h;
    tb.Centre(cx, y, legendtext::Load("IDS_TBX_PVX__SEC_"));
    y += h;
    if (bFreq) {
        s.Format("%.6f", freq.period);
        tb.Centre(cx, y, s);
    }
    y += 3 * h / 2;
    tb.Centre(cx, y, CString("MPM(%)"));
    if (bMass) {
        for (int i = 0; i < 6; ++i) {
            y += h;
            s.Format("%s   %.6f", T_MPAM_D::name[i], mass.mass[i]);
            tb.Centre(cx, y, s);
        }
    }
}

void CLegendEngine::DrawBkmdshpRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel) return;
    const int w = m_nValueCharWidth, h = m_nValueLineHeight;
    CDBDoc* pDoc = m_pModel->GetDBDoc();
    T_FREQ_D freq{};
    const int bFreq = pDoc && pDoc->GetPostCtrl()->GetEiFreq(m_pModel->m_nCurEigenMode, freq);
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_LEFT | TA_BOTTOM);
    int y = pRect->top + h;
    tb.Left(pRect->left + w, y, legendtext::Load("IDS_TBX_PVX_CRITICAL_LOAD"));
    y += 3 * h / 2;
    if (bFreq) tb.Left(pRect->left + w, y, LegendFormatKeyDouble("IDS_TBX_PVX_FACTOR___3E", freq.factor));
}

namespace {

// One extreme of a slab result block: its label, value and member key.
struct SlabExtreme {
    LPCTSTR label;
    double value;
    UINT key;
};

// A slab result block: the heading, an optional subheading line, then the two extremes, each as
// its value line and its member line.
void DrawSlabExtremes(CDC* pDC, CRect* pRect, CFont* pFont, COLORREF crText, int w, int h, const CString& heading,
                      LPCTSTR subheading, const SlabExtreme (&extremes)[2]) {
    TextBlock tb(pDC, pFont, crText, TA_LEFT | TA_BOTTOM);
    const int x = pRect->left + w;
    const CString strMember = legendtext::Load("IDS_TBX_PVX_Member__");
    int y = pRect->top + h;
    tb.Left(x, y, heading);
    y += 3 * h;
    if (subheading) {
        tb.Left(x, y, legendtext::Load(subheading));
        y += h;
    }
    for (int i = 0; i < 2; ++i) {
        if (i) y += 3 * h;
        tb.Left(x, y, legendtext::Load(extremes[i].label) + FormatG(extremes[i].value));
        y += h;
        tb.Left(x, y, strMember + FormatInt("%d", static_cast<int>(extremes[i].key)));
    }
}

// The slab rebar and crack blocks: display-kind switches, headings and the top and bottom maxima.
struct SlabFamily {
    int CForceEngine::*kind;   // 1: one direction shown
    int CForceEngine::*yDir;   // that direction is Y
    LPCTSTR heading;           // heading of the total
    LPCTSTR headingX;          // heading of the X direction
    LPCTSTR headingY;          // heading of the Y direction
    double CForceEngine::*top;
    double CForceEngine::*bottom;
};

const SlabFamily kSlabRebarFamily = {&CForceEngine::m_nSRbarKind, &CForceEngine::m_bSRbarYDir,
                               "IDS_TBX_PVX_Rebar", "IDS_TBX_PVX_Rebar_X_Dir_", "IDS_TBX_PVX_Rebar_Y_Dir_",
                               &CForceEngine::m_dSlabRbarMaxTop, &CForceEngine::m_dSlabRbarMaxBot};
const SlabFamily kSlabCrackFamily = {&CForceEngine::m_nSCracKind, &CForceEngine::m_bSCracYDir,
                               "IDS_TBX_PVX_Crack", "IDS_TBX_PVX_Crack_X_Dir_", "IDS_TBX_PVX_Crack_Y_Dir_",
                               &CForceEngine::m_dSlabCracMax, &CForceEngine::m_dSlabCracMaxBot};

// Top extreme with the smallest-value key, bottom extreme with the largest-value key.
void DrawSlabFamily(CDC* pDC, CRect* pRect, CFont* pFont, COLORREF crText, int w, int h, const I_PVXModel& model,
                    const SlabFamily& f) {
    const CForceEngine* e = model.m_pForceEngine;
    LPCTSTR key = f.heading;
    if (e->*f.kind == 1) key = e->*f.yDir ? f.headingY : f.headingX;
    const SlabExtreme extremes[2] = {{"IDS_TBX_PVX_Top__", e->*f.top, model.m_nMinKey},
                                     {"IDS_TBX_PVX_Bottom__", e->*f.bottom, model.m_nMaxKey}};
    DrawSlabExtremes(pDC, pRect, pFont, crText, w, h, legendtext::Load(key), "IDS_TBX_PVX_Max", extremes);
}

}  // namespace

void CLegendEngine::DrawSForcRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pForceEngine) return;
    const CForceEngine* e = m_pModel->m_pForceEngine;
    const SlabExtreme extremes[2] = {{"IDS_TBX_PVX_Pos__", e->m_dSlabMomMaxPos, m_pModel->m_nMaxKey},
                                     {"IDS_TBX_PVX_Neg__", e->m_dSlabMomMaxNeg, m_pModel->m_nMinKey}};
    DrawSlabExtremes(pDC, pRect, &m_fontValue, m_crText, m_nValueCharWidth, m_nValueLineHeight,
                     legendtext::Load("IDS_TBX_PVX_Moment") + legendtext::Load("IDS_TBX_PVX_max"), nullptr, extremes);
}

void CLegendEngine::DrawSRbarRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pForceEngine) return;
    DrawSlabFamily(pDC, pRect, &m_fontValue, m_crText, m_nValueCharWidth, m_nValueLineHeight, *m_pModel,
                   kSlabRebarFamily);
}

void CLegendEngine::DrawSCracRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pForceEngine) return;
    DrawSlabFamily(pDC, pRect, &m_fontValue, m_crText, m_nValueCharWidth, m_nValueLineHeight, *m_pModel,
                   kSlabCrackFamily);
}

void CLegendEngine::DrawSDflcRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pDeformEngine) return;
    const int w = m_nValueCharWidth, h = m_nValueLineHeight;
    const int x = pRect->left + w;
    TextBlock tb(pDC, &m_fontValue, m_crText, TA_LEFT | TA_BOTTOM);
    int y = pRect->top + h;
    tb.Left(x, y, legendtext::Load("IDS_TBX_PVX_Deflection"));
    y += h;
    tb.Left(x, y, legendtext::Load("IDS_TBX_PVX_Max"));
    y += h;
    tb.Left(x, y, legendtext::Load("IDS_TBX_PVX_Value__") + FormatG(m_pModel->m_pDeformEngine->m_dSlabDeflMax));
    y += h;
    tb.Left(x, y, legendtext::Load("IDS_TBX_PVX_Member__") + FormatInt("%d", static_cast<int>(m_pModel->m_nMaxKey)));
}
