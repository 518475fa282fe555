#include "module/model/CPVXLabelSpacer.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/CDC.h"

CPVXLabelSpacer* CPVXLabelSpacer::s_pCurrent = nullptr;

CPVXLabelSpacer::Use::Use(bool bOn) : m_pPrev(s_pCurrent), m_bOn(bOn) {
    if (bOn) s_pCurrent = new CPVXLabelSpacer;
}

CPVXLabelSpacer::Use::~Use() {
    if (!m_bOn) return;
    delete s_pCurrent;
    s_pCurrent = m_pPrev;
}

CPVXLabelSpacer::Box CPVXLabelSpacer::BoxAt(double x, double y, double w, double h, double ox, double oy, double c,
                                            double s) {
    // The text's corners in order around it, turned about the reference point counter-clockwise
    // on the screen.
    Box b{};
    const double cx[4] = {ox, ox + w, ox + w, ox}, cy[4] = {oy, oy, oy + h, oy + h};
    b.x0 = b.y0 = 1e300;
    b.x1 = b.y1 = -1e300;
    for (int i = 0; i < 4; ++i) {
        b.px[i] = x + cx[i] * c + cy[i] * s;
        b.py[i] = y - cx[i] * s + cy[i] * c;
        b.x0 = std::min(b.x0, b.px[i]);
        b.y0 = std::min(b.y0, b.py[i]);
        b.x1 = std::max(b.x1, b.px[i]);
        b.y1 = std::max(b.y1, b.py[i]);
    }
    return b;
}

template <class F> void CPVXLabelSpacer::ForCells(const Box& b, F f) {
    for (int i = static_cast<int>(std::floor(b.x0 / kCell)); i <= static_cast<int>(std::floor(b.x1 / kCell)); ++i)
        for (int j = static_cast<int>(std::floor(b.y0 / kCell)); j <= static_cast<int>(std::floor(b.y1 / kCell)); ++j)
            f(std::make_pair(i, j));
}

bool CPVXLabelSpacer::Meet(const Box& a, const Box& b) {
    // Two rectangles meet unless one of their four side directions separates them; here they
    // must also share more than kTouch pixels across each (lines written one under the other
    // may share a pixel or two of their leading).
    for (const Box* r : {&a, &b})
        for (int k = 0; k < 2; ++k) {
            double ux = r->px[k + 1] - r->px[k], uy = r->py[k + 1] - r->py[k];
            const double len = std::hypot(ux, uy);
            if (len <= 0) continue;
            ux /= len;
            uy /= len;
            double lo[2] = {1e300, 1e300}, hi[2] = {-1e300, -1e300};
            for (int n = 0; n < 2; ++n) {
                const Box& q = n ? b : a;
                for (int i = 0; i < 4; ++i) {
                    const double d = q.px[i] * ux + q.py[i] * uy;
                    lo[n] = std::min(lo[n], d);
                    hi[n] = std::max(hi[n], d);
                }
            }
            if (std::min(hi[0], hi[1]) - std::max(lo[0], lo[1]) <= kTouch) return false;
        }
    return true;
}

bool CPVXLabelSpacer::IsClear(const Box& b) const {
    bool bClear = true;
    ForCells(b, [&](const std::pair<int, int>& cell) {
        auto it = m_cells.find(cell);
        if (!bClear || it == m_cells.end()) return;
        for (size_t k : it->second)
            if (Meet(b, m_boxes[k])) {
                bClear = false;
                return;
            }
    });
    return bClear;
}

void CPVXLabelSpacer::Add(const Box& b) {
    const size_t k = m_boxes.size();
    m_boxes.push_back(b);
    ForCells(b, [&](const std::pair<int, int>& cell) { m_cells[cell].push_back(k); });
}

BOOL CPVXLabelSpacer::TextOut(CDC* pDC, int x, int y, const CString& text) {
    if (!pDC) return FALSE;
    CPVXLabelSpacer* sp = s_pCurrent;
    if (!sp || text.IsEmpty()) return pDC->TextOut(x, y, text);

    // The box as the device context writes the text: its extent placed by the alignment, turned
    // by the font's escapement.
    const CSize ext = pDC->GetTextExtent(text);
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    LOGFONT lf{};
    if (CFont* pFont = pDC->GetCurrentFont()) pFont->GetLogFont(&lf);
    const double w = ext.cx, h = tm.tmHeight > 0 ? tm.tmHeight : ext.cy;
    const UINT align = pDC->GetTextAlign();
    double ox = 0.0, oy = 0.0;
    if ((align & TA_CENTER) == TA_CENTER)
        ox = -w / 2.0;
    else if (align & TA_RIGHT)
        ox = -w;
    if ((align & TA_BASELINE) == TA_BASELINE)
        oy = -tm.tmAscent;
    else if (align & TA_BOTTOM)
        oy = -h;
    const double a = lf.lfEscapement * M_PI / 1800.0, c = std::cos(a), s = std::sin(a);

    // Along the line of text: one height, then two ..., forwards, then back; where that finds no
    // place, the same again one height across the line, to either side, then two.
    int dx = 0, dy = 0;
    Box b = BoxAt(x, y, w, h, ox, oy, c, s);
    bool bFound = sp->IsClear(b);
    for (int across = 0; across <= kMaxAcross && !bFound; ++across)
        for (int side = across ? -1 : 1; side <= 1 && !bFound; side += 2)
            for (int k = across ? 0 : 1; k <= 2 * kMaxSteps && !bFound; ++k) {
                const double d = ((k + 1) / 2) * h * (k % 2 ? 1.0 : -1.0), e = side * across * h;
                // Along the text (c, -s); across it, toward its top, (-s, -c).
                const int tx = static_cast<int>(std::lround(d * c - e * s));
                const int ty = static_cast<int>(std::lround(-d * s - e * c));
                const Box t = BoxAt(x + tx, y + ty, w, h, ox, oy, c, s);
                if (sp->IsClear(t)) {
                    dx = tx;
                    dy = ty;
                    b = t;
                    bFound = true;
                }
            }
    sp->Add(b);
    return pDC->TextOut(x + dx, y + dy, text);
}
