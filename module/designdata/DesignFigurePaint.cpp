#include "module/designdata/DesignFigurePaint.h"

#include <algorithm>
#include <cmath>

#include "host/grx/I_PVXCtrl.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/gdi/FontEngine.h"

namespace {

constexpr int kEdgePixels = 3;

// Pixel box of a recorded text about its reference point (x, y).
void TextBox(const GdiRecord& r, double& left, double& top, double& right, double& bottom) {
    const SIZE sz = FontEngine::Instance().MeasureText(r.font, r.text);
    const UINT a = r.textAlign;
    const double u0 = (a & TA_CENTER) == TA_CENTER ? -sz.cx / 2.0 : (a & TA_RIGHT) ? -sz.cx : 0.0;
    const double v0 = (a & TA_BASELINE) == TA_BASELINE ? -0.8 * sz.cy : (a & TA_BOTTOM) ? -sz.cy : 0.0;
    const double e = r.font.lfEscapement * 3.14159265358979323846 / 1800.0;
    const double c = std::cos(e), s = std::sin(e);
    left = top = 1e300;
    right = bottom = -1e300;
    for (double u : {u0, u0 + sz.cx})
        for (double v : {v0, v0 + sz.cy}) {
            // Along the baseline u, down the text v; y grows downwards on the screen.
            const double x = r.Arg(0) + u * c + v * s, y = r.Arg(1) - u * s + v * c;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
}

// The largest factor k <= 1 of the scale about the centre c that keeps [lo, hi] (a text's extent
// on one axis, its reference at p) inside [a0, a1], taking the text to move with its reference.
double Room(double p, double lo, double hi, double c, double a0, double a1) {
    double k = 1.0;
    if (p < c && lo < a0) k = (c + (lo - p) - a0) / (c - p);
    if (p > c && hi > a1) k = (a1 - c - (hi - p)) / (p - c);
    return k;
}

}  // namespace

int IsDesignFigureMode(int nMode) {
    return nMode == 21 || nMode == 23 || nMode == 28 || nMode == 35 || nMode == 36 || nMode == 40 ||
                   (nMode >= 42 && nMode <= 56)
               ? 1
               : 0;
}

int PaintDesignFigure(I_PVXModel& m, CDC* pDC) {
    CFigureDesignData* d = m.m_pDesignData;
    if (!pDC || !d || !m.m_pFigure || !IsDesignFigureMode(m.m_pFigure->m_nFigureMode)) return 0;
    const int mode = m.m_pFigure->m_nFigureMode;
    m.PVXDrawOriginal(pDC, 0);
    if (mode == 23)
        d->DrawBeamSteelDiagram(pDC);
    else if (mode == 35 || mode == 36) {
        // The walk empties the envelope labels; they are placed by the beams it drew.
        d->DrawBBM_SFDiagram(pDC);
        d->FillEnvelopeTextLists();
    }
    d->OutputNumbers(pDC);
    return 1;
}

double FitDesignFigureTexts(I_PVXModel& m) {
    if (!m.m_pPVXCtrl) return 1.0;
    double total = 1.0;
    // The texts follow their anchors only nearly (their offsets stay in pixels): a second pass
    // takes up what the first left over.
    for (int pass = 0; pass < 3; ++pass) {
        CRecordDC dc;
        if (!dc.Create() || !PaintDesignFigure(m, &dc)) break;
        // A few pixels of the edge stay free, as a reader expects of a label.
        CRect area = m.m_pPVXCtrl->GetDrawingArea();
        area.DeflateRect(kEdgePixels, kEdgePixels);
        if (area.Width() <= 0 || area.Height() <= 0) break;
        const double cx = 0.5 * (area.left + area.right), cy = 0.5 * (area.top + area.bottom);
        double k = 1.0;
        for (const char* op : {"TextOut", "ExtTextOut"})
            for (const GdiRecord* r : dc.GetRecords(op)) {
                double l, t, rt, b;
                TextBox(*r, l, t, rt, b);
                k = std::min({k, Room(r->Arg(0), l, rt, cx, area.left, area.right),
                              Room(r->Arg(1), t, b, cy, area.top, area.bottom)});
            }
        // A text wider than half the picture cannot be helped by the scale.
        k = std::max(k, 0.5 / total);
        if (k >= 0.999) break;
        m.m_pPVXCtrl->ViewZoom(k);
        total *= k;
    }
    return total;
}
