#include "module/contour/CLegendEngine.h"

#include <algorithm>
#include <cmath>

#include "module/model/I_PVXModel.h"
#include "host/grx/I_PVXCtrl.h"
#include "platform/ui/CWinApp.h"

namespace {

double Luminance(COLORREF c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(GetRValue(c)) + 0.7152 * lin(GetGValue(c)) + 0.0722 * lin(GetBValue(c));
}

double Contrast(COLORREF a, COLORREF b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// c moved the share k (0 to 1) of the way towards `to`.
COLORREF Towards(COLORREF c, COLORREF to, double k) {
    auto ch = [k](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * k)); };
    return RGB(ch(GetRValue(c), GetRValue(to)), ch(GetGValue(c), GetGValue(to)), ch(GetBValue(c), GetBValue(to)));
}

}  // namespace

COLORREF LegibleTextColor(COLORREF cr, COLORREF back1, COLORREF back2) {
    constexpr double kMin = 4.5;
    auto worst = [&](COLORREF c) { return std::min(Contrast(c, back1), Contrast(c, back2)); };
    if (worst(cr) >= kMin) return cr;
    COLORREF best = worst(RGB(255, 255, 255)) >= worst(RGB(0, 0, 0)) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    double bestStep = 2.0;
    for (COLORREF to : {RGB(255, 255, 255), RGB(0, 0, 0)}) {
        if (worst(to) < kMin) continue;
        double lo = 0.0, hi = 1.0;  // the least step that reaches kMin
        for (int i = 0; i < 12; ++i) {
            const double mid = (lo + hi) / 2;
            (worst(Towards(cr, to, mid)) >= kMin ? hi : lo) = mid;
        }
        if (hi < bestStep && worst(Towards(cr, to, hi)) >= kMin) {
            bestStep = hi;
            best = Towards(cr, to, hi);
        }
    }
    return best;
}

COLORREF CLegendEngine::PanelColorAt(int y) const {
    if (m_bPopupScale) return m_crWindow;
    const int bPlain = AfxGetApp()->GetProfileInt("ENV_GRAPHICS", "EnableVBPrintOut", 0) != 0 &&
                       !(m_pModel && m_pModel->m_pPVXCtrl && m_pModel->m_pPVXCtrl->IsGLRenderer());
    if (bPlain) return m_crBackBottom;
    if (m_pModel && m_pModel->m_bExternalDevice) return m_crBackTop;
    const int span = m_rcPanel.bottom - m_rcPanel.top;
    const double k = span > 0 ? std::clamp((y - m_rcPanel.top) / static_cast<double>(span), 0.0, 1.0) : 0.0;
    return Towards(m_crBackTop, m_crBackBottom, k);
}

COLORREF CLegendEngine::Legible(COLORREF cr, int y0, int y1) const {
    return LegibleTextColor(cr, PanelColorAt(y0), PanelColorAt(y1));
}

void CLegendEngine::InitColor() {
    if (!m_pModel || !m_pModel->m_pDispOpt) return;
    // The display options keep the legend colours as bottom, top, line, text, percent, window,
    // instruction, maximum, minimum.
    const COLORREF* c = m_pModel->m_pDispOpt->m_Legend.m_crLegend;
    m_crBackTop = c[1];
    m_crLine = c[2];
    m_crText = c[3];
    m_crBackBottom = c[0];
    m_crPercent = c[4];
    m_crWindow = c[5];
    m_crInstruction = c[6];
    m_crMax = c[7];
    m_crMin = c[8];
}
