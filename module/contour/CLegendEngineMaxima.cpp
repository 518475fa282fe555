// The maxima listings of the legend panel: results without a colour scale list their extreme
// values, each with the member or node where it occurs, in the scale area.
#include <algorithm>
#include <cstdio>

#include "module/contour/CLegendEngine.h"
#include "module/contour/LegendText.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/engines/CReactionEngine.h"
#include "module/force/CForceEngine.h"
#include "host/base/CMsgDll.h"
#include "host/db/DBResultRecords.h"
#include "module/model/I_PVXModel.h"

namespace {

// Value font, transparent background and text colour for one listing. Gives the DC its font back
// at the end; the text alignment the listing set stays.
class ListingText {
public:
    ListingText(CDC* pDC, CFont* pFont, COLORREF crText) : m_pDC(pDC) {
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(crText);
        m_pOldFont = pDC->SelectObject(pFont);
    }
    ~ListingText() {
        if (m_pOldFont) m_pDC->SelectObject(m_pOldFont);
    }
    ListingText(const ListingText&) = delete;
    ListingText& operator=(const ListingText&) = delete;

    void Left(int x, int y, const CString& s) {
        m_pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        m_pDC->TextOut(x, y, s);
    }
    void Centre(int x, int y, const CString& s) {
        m_pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
        m_pDC->TextOut(x, y, s);
    }

private:
    CDC* m_pDC;
    CFont* m_pOldFont = nullptr;
};

}  // namespace

void CLegendEngine::GetTextCForc(double dValue, char* pszOut, size_t nSize) {
    if (!pszOut || nSize == 0) return;
    const CString s = LegendNumberText(m_bAutoDigits, m_nDecimals, dValue, "%.3E");
    std::snprintf(pszOut, nSize, "%s", s.GetString());
}

namespace {

// A value line at y (the sign of a negative number one character left of where a positive
// number starts) and its member line at y + 4/3 line, each value a character clear of its label
// and the member at least half a line, so that neither reads as one word with its label.
// Returns the member line's baseline.
int DrawValueAndMember(CLegendEngine& le, CDC* pDC, ListingText& lt, const CRect& r, int y, LPCTSTR label, double v,
                       UINT key) {
    const int cw = le.m_nValueCharWidth;
    char buf[CLegendEngine::kTextCForcSize];
    le.GetTextCForc(v, buf, sizeof buf);
    lt.Left(r.left + cw, y, label);
    const int labelEnd = LegendLabelsEnd(pDC, r.left + cw, r.left + 7 * cw, {label});
    lt.Left(labelEnd + (v < 0 ? 1 : 2) * cw, y, buf);
    y += 4 * le.m_nValueLineHeight / 3;
    lt.Left(r.left + 2 * cw, y, "MEMB.=");
    CString s;
    s.Format("%d", static_cast<int>(key));
    const int gap = std::max(cw, (le.m_nValueLineHeight + 1) / 2);
    lt.Left(LegendLabelsEnd(pDC, r.left + 2 * cw, r.left + 9 * cw, {"MEMB.="}) + gap, y, s);
    return y;
}

}  // namespace

void CLegendEngine::DrawCForcRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pForceEngine) return;
    const CForceEngine* e = m_pModel->m_pForceEngine;
    // Stored N, FY, FZ, MZ, MY; listed FY, FZ, N, MY, MZ.
    struct Item {
        LPCTSTR label;
        int index;
    };
    static const Item kItems[] = {{"MAX FY:", 1}, {"MAX FZ:", 2}, {"MAX N:", 0}, {"MAX MY:", 4}, {"MAX MZ:", 3}};
    ListingText lt(pDC, &m_fontValue, m_crText);
    const int dy = m_nValueLineHeight;
    int y = pRect->top + dy;
    bool bFirst = true;
    for (const Item& it : kItems) {
        if (!bFirst) y += 5 * dy / 3;
        bFirst = false;
        pRect->bottom = y;
        y = DrawValueAndMember(*this, pDC, lt, *pRect, y, it.label, e->m_dColmMaxVal[it.index],
                               e->m_nColmMaxKey[it.index]);
        pRect->bottom = y;
    }
}

void CLegendEngine::DrawACRRainbow(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pDesignData) return;
    const CFigureDesignData* d = m_pModel->m_pDesignData;
    if (d->m_nACRMaxKey == 0 || d->m_nACRMinKey == 0) return;
    ListingText lt(pDC, &m_fontValue, m_crText);
    const int dy = m_nValueLineHeight;
    int y = pRect->top + dy;
    pRect->bottom = y;
    y = DrawValueAndMember(*this, pDC, lt, *pRect, y, "MAX :  ", d->m_dACRMax, d->m_nACRMaxKey);
    y += 5 * dy / 3;
    pRect->bottom = y;
    y = DrawValueAndMember(*this, pDC, lt, *pRect, y, "MIN :  ", d->m_dACRMin, d->m_nACRMinKey);
    pRect->bottom = y;
}

void CLegendEngine::DrawBaseForceCaption(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect) return;
    // The lines of every column's label, top to bottom, with their units.
    struct Line {
        LPCTSTR name;
        int unit;
    };
    static const Line kLines[] = {{"FY", PVXUNIT_FORCE}, {"FZ", PVXUNIT_FORCE}, {"N", PVXUNIT_FORCE},
                                  {"MY", PVXUNIT_MOMENT}, {"MZ", PVXUNIT_MOMENT}};
    ListingText lt(pDC, &m_fontValue, m_crText);
    const int dy = m_nValueLineHeight;
    const int x = pRect->left + m_nValueCharWidth;
    int y = pRect->top + dy;
    lt.Left(x, y, legendtext::Load("IDS_TBX_PVX_LABEL_LINES"));
    for (const Line& l : kLines) {
        y += 4 * dy / 3;
        CString unit;
        LoadUnit(l.unit, unit);
        CString s;
        s.Format("%s  %s", l.name, unit.GetString());
        lt.Left(x + 2 * m_nValueCharWidth, y, s);
    }
    pRect->bottom = y;
}

void CLegendEngine::DrawReacfRainbow4Figure(CDC* pDC, CRect* pRect) {
    if (!pDC || !pRect || !m_pModel || !m_pModel->m_pReactionEngine) return;
    const CReactionEngine* e = m_pModel->m_pReactionEngine;
    ListingText lt(pDC, &m_fontValue, m_crText);
    const int dy = m_nValueLineHeight;
    const int step = 3 * dy / 2;
    const int cx = pRect->left + (pRect->right - pRect->left) / 2;
    const int x = pRect->left + m_nValueCharWidth;
    int y = pRect->top + dy;

    auto block = [&](LPCTSTR heading, UINT node, int bMinimum, const CString& strLoadCase) {
        pRect->bottom = y;
        lt.Centre(cx, y, legendtext::Load(heading));
        CString s;
        s.Format("%6d", static_cast<int>(node));
        y += step;
        pRect->bottom = y;
        lt.Left(x, y, legendtext::Load("IDS_TBX_PVX_NODE__") + s);
        CString strValue;
        GetReacMinMaxString(strValue, bMinimum, 0);
        y += step;
        pRect->bottom = y;
        lt.Left(x, y, strValue);
        s.Format("%s%s", "  ", strLoadCase.GetString());
        y += step;
        pRect->bottom = y;
        lt.Left(x, y, legendtext::Load("IDS_TBX_PVX_Load_Case_") + s);
    };
    block("IDS_TBX_PVX_MIN__REACTION", e->m_nMinNode, 1, e->m_strMinLoadCase);
    y += 2 * dy;
    block("IDS_TBX_PVX_MAX__REACTION", e->m_nMaxNode, 0, e->m_strMaxLoadCase);
}
