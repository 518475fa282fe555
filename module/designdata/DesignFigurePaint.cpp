#include "module/designdata/DesignFigurePaint.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <unordered_map>
#include <vector>

#include "host/grx/I_PVXCtrl.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/CPVXLabelSpacer.h"
#include "module/model/I_PVXModel.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/gdi/FontEngine.h"

namespace {

constexpr int kEdgePixels = 3;
// Text heights between two numbers read apart: the gap the label spacer keeps.
constexpr double kApartGap = CPVXLabelSpacer::kApart;
constexpr double kMaxGrowth = 16.0;    // beyond this a larger picture is no answer
constexpr double kGrowthSlack = 1.03;  // the fit's own margins and rounding of a grown picture
constexpr double kHalfScale = 0.5;     // the second look at the texts, to see them move

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

std::vector<const GdiRecord*> TextRecords(const CRecordDC& dc) {
    std::vector<const GdiRecord*> out;
    for (const char* op : {"TextOut", "ExtTextOut"})
        for (const GdiRecord* r : dc.GetRecords(op)) out.push_back(r);
    return out;
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

double FitViewTexts(I_PVXModel& m, const std::function<int(CDC*)>& paint, size_t* pTexts) {
    if (pTexts) *pTexts = 0;
    if (!m.m_pPVXCtrl) return 1.0;
    double total = 1.0;
    // The texts follow their anchors only nearly (their offsets stay in pixels): a second pass
    // takes up what the first left over.
    for (int pass = 0; pass < 3; ++pass) {
        CRecordDC dc;
        if (!dc.Create()) break;
        dc.KeepTextsOnly();
        if (!paint(&dc)) break;
        // A few pixels of the edge stay free, as a reader expects of a label.
        CRect area = m.m_pPVXCtrl->GetDrawingArea();
        area.DeflateRect(kEdgePixels, kEdgePixels);
        if (area.Width() <= 0 || area.Height() <= 0) break;
        const double cx = 0.5 * (area.left + area.right), cy = 0.5 * (area.top + area.bottom);
        double k = 1.0;
        const std::vector<const GdiRecord*> texts = TextRecords(dc);
        if (pTexts) *pTexts = texts.size();
        for (const GdiRecord* r : texts) {
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

void FitDesignFigureTexts(I_PVXModel& m, PVXHostTextFit& fit, const std::function<void(CDC*)>& render) {
    // Painted as the picture is, its labels kept off each other where a part of the model shows.
    FitAndMeasureViewTexts(m, [&m, &render](CDC* pDC) {
        render(pDC);
        return IsDesignFigureMode(m.m_pFigure ? m.m_pFigure->m_nFigureMode : 0);
    }, fit);
}

ViewTextCrowding MeasureViewTextCrowding(I_PVXModel& m, const std::function<int(CDC*)>& paint) {
    ViewTextCrowding out;
    if (!m.m_pPVXCtrl) return out;
    struct Box {
        double l, t, r, b;
        double vx = 0.0, vy = 0.0;  // how far its centre moves as the scale grows by one
    };
    // A turned text's height is its box's smaller side, as a reader sees the box.
    const auto TextHeight = [](const Box& x) { return std::min(x.r - x.l, x.b - x.t); };
    // The texts as drawn, and again at half the scale: from the two the move of every centre
    // with the scale, whatever offset in pixels its writer gave it.
    std::vector<Box> boxes[2];
    std::vector<CRect> symbols[2];
    for (int pass = 0; pass < 2; ++pass) {
        GViewCamera& cam = m.m_pPVXCtrl->GetCamera();
        const GViewCamera kept = cam;
        if (pass == 1) cam.Zoom(kHalfScale);
        CRecordDC dc;
        const int created = dc.Create();
        if (created) dc.KeepTextsOnly();
        const int painted = created && paint(&dc);
        cam = kept;
        if (!painted) return out;
        symbols[pass] = m.m_arrSymbolBoxes;
        for (const GdiRecord* r : TextRecords(dc)) {
            Box x;
            TextBox(*r, x.l, x.t, x.r, x.b);
            boxes[pass].push_back(x);
        }
    }
    std::vector<Box> texts;
    const bool bMoves = boxes[0].size() == boxes[1].size();
    for (size_t i = 0; i < boxes[0].size(); ++i) {
        Box x = boxes[0][i];
        if (!(x.r > x.l && x.b > x.t)) continue;
        if (bMoves) {
            const Box& y = boxes[1][i];
            x.vx = 0.5 * (x.l + x.r - y.l - y.r) / (1.0 - kHalfScale);
            x.vy = 0.5 * (x.t + x.b - y.t - y.b) / (1.0 - kHalfScale);
        }
        texts.push_back(x);
    }
    out.nTexts = static_cast<int>(texts.size());
    // Two texts crowd only where their boxes share some height: texts are taken by rows of the
    // tallest box's height, each against its own row and the next, along the row by left edge, so
    // a dense picture costs its neighbours and not every pair of its texts.
    double widest = 0.0, tallest = 0.0;
    for (const Box& x : texts) widest = std::max(widest, x.r - x.l), tallest = std::max(tallest, x.b - x.t);
    const auto row = [tallest](const Box& x) { return static_cast<long long>(std::floor(0.5 * (x.t + x.b) / tallest)); };
    std::sort(texts.begin(), texts.end(), [&row](const Box& a, const Box& b) {
        const long long ra = row(a), rb = row(b);
        return ra != rb ? ra < rb : a.l < b.l;
    });
    // A pair crowds when the boxes share more than a quarter of the smaller one, or stand on one
    // line (sharing more than half the smaller height) less than kApartGap heights apart. Its
    // factor is the growth of the scale that sets them apart across or along the line (kApartGap
    // heights between them); texts that move together are never set apart.
    std::vector<double> factors;
    // The distance of two centres at the factor k: d + (k - 1) v; the factor at which it is need.
    const auto grow = [](double d, double v, double need) {
        if (std::fabs(v) < 0.5) return 1e300;
        if (v < 0) v = -v, d = -d;
        return 1.0 + (need - d) / v;
    };
    const auto pair = [&factors, &TextHeight, &grow](const Box& a, const Box& b) {
        const double ha = a.b - a.t, hb = b.b - b.t, h = std::min(TextHeight(a), TextHeight(b));
        const double across = std::min(a.b, b.b) - std::max(a.t, b.t);
        const double along = std::min(a.r, b.r) - std::max(a.l, b.l);
        const double shared = std::max(0.0, across) * std::max(0.0, along);
        const bool overlap = shared > 0.25 * std::min((a.r - a.l) * ha, (b.r - b.l) * hb);
        if (!overlap && !(across > 0.5 * h && -along < kApartGap * h)) return;
        const double needX = 0.5 * (a.r - a.l + b.r - b.l) + kApartGap * h, needY = 0.5 * (ha + hb);
        factors.push_back(std::min(grow(0.5 * (b.l + b.r - a.l - a.r), b.vx - a.vx, needX),
                                   grow(0.5 * (b.t + b.b - a.t - a.b), b.vy - a.vy, needY)));
    };
    const double reach = kApartGap * tallest;
    for (size_t i = 0, end = 0; i < texts.size(); i = end) {
        const long long r = row(texts[i]);
        while (end < texts.size() && row(texts[end]) == r) ++end;
        size_t next = end, nextEnd = end;
        if (next < texts.size() && row(texts[next]) == r + 1)
            while (nextEnd < texts.size() && row(texts[nextEnd]) == r + 1) ++nextEnd;
        for (size_t a = i; a < end; ++a) {
            const Box& x = texts[a];
            for (size_t b = a + 1; b < end && texts[b].l <= x.r + reach; ++b) pair(x, texts[b]);
            const auto from = std::lower_bound(texts.begin() + next, texts.begin() + nextEnd, x.l - widest - reach,
                                               [](const Box& y, double l) { return y.l < l; });
            for (auto b = from; b != texts.begin() + nextEnd && b->l <= x.r + reach; ++b) pair(x, *b);
        }
    }
    // A number on a symbol drawn at a node (a reaction's head) cannot be read. The symbol grows
    // with the scale; its centre's move comes from the second look, as the texts' do.
    std::unordered_map<long long, std::vector<size_t>> cells;
    const double cell = std::max(8.0, tallest);
    const auto key = [cell](double x, double y) {
        return static_cast<long long>(std::floor(x / cell)) * 1000003LL + static_cast<long long>(std::floor(y / cell));
    };
    const std::vector<CRect>& marks = symbols[0];
    const bool bMarksMove = marks.size() == symbols[1].size();
    for (size_t i = 0; i < marks.size(); ++i) {
        const CRect& q = marks[i];
        if (std::max(q.Width(), q.Height()) <= 3.0 * tallest)
            for (double x = std::floor(q.left / cell) * cell; x < q.right; x += cell)
                for (double y = std::floor(q.top / cell) * cell; y < q.bottom; y += cell) cells[key(x, y)].push_back(i);
    }
    for (const Box& x : texts) {
        double factor = 0.0;  // of the symbol that holds the text longest; 0 none
        for (double cx = std::floor(x.l / cell) * cell; cx < x.r; cx += cell)
            for (double cy = std::floor(x.t / cell) * cell; cy < x.b; cy += cell) {
                const auto it = cells.find(key(cx, cy));
                if (it == cells.end()) continue;
                for (size_t i : it->second) {
                    const CRect& q = marks[i];
                    const double w = std::min<double>(x.r, q.right) - std::max<double>(x.l, q.left);
                    const double h = std::min<double>(x.b, q.bottom) - std::max<double>(x.t, q.top);
                    if (!(w > 0 && h > 0 && 20.0 * w * h > (x.r - x.l) * (x.b - x.t))) continue;
                    double vx = 0.0, vy = 0.0;
                    if (bMarksMove) {
                        const CRect& y = symbols[1][i];
                        vx = 0.5 * (q.left + q.right - y.left - y.right) / (1.0 - kHalfScale);
                        vy = 0.5 * (q.top + q.bottom - y.top - y.bottom) / (1.0 - kHalfScale);
                    }
                    const double dx = 0.5 * (q.left + q.right - x.l - x.r), dy = 0.5 * (q.top + q.bottom - x.t - x.b);
                    factor = std::max(factor, std::min(grow(dx, vx - x.vx, 0.5 * (x.r - x.l + q.Width())),
                                                       grow(dy, vy - x.vy, 0.5 * (x.b - x.t + q.Height()))));
                }
            }
        if (factor > 0.0) ++out.nOnSymbols, factors.push_back(factor);
    }
    out.nCrowded = static_cast<int>(factors.size());
    // Pairs no picture sets apart are told apart; of the others one pair per 50 texts may stay,
    // and the picture grows by the factor of the next pair.
    std::sort(factors.begin(), factors.end(), std::greater<double>());
    const size_t never = std::upper_bound(factors.begin(), factors.end(), kMaxGrowth, std::greater<double>()) -
                         factors.begin();
    out.nNever = static_cast<int>(never);
    const size_t allowed = texts.size() / 50;
    if (factors.size() - never > allowed) out.dScale = std::max(1.0, factors[never + allowed] * kGrowthSlack);
    return out;
}

void FitAndMeasureViewTexts(I_PVXModel& m, const std::function<int(CDC*)>& paint, PVXHostTextFit& fit) {
    fit = PVXHostTextFit{1.0, 0, 0, 0, 0, 0, 0};
    if (!m.m_pPVXCtrl) return;
    size_t texts = 0;
    fit.dZoom = FitViewTexts(m, paint, &texts);
    if (texts < 2) return;  // nothing to crowd: the view is not painted again
    const ViewTextCrowding c = MeasureViewTextCrowding(m, paint);
    fit.nTexts = c.nTexts;
    fit.nCrowded = c.nCrowded;
    fit.nNever = c.nNever;
    fit.nOnSymbols = c.nOnSymbols;
    if (c.dScale > 1.0) {
        // The drawing area grows by the factor; the legend's margin stays as it is.
        const CRect area = m.m_pPVXCtrl->GetDrawingArea(), client = m.m_pPVXCtrl->GetClientRect();
        fit.nApartWidth = static_cast<long>(std::ceil(c.dScale * area.Width())) + client.Width() - area.Width();
        fit.nApartHeight = static_cast<long>(std::ceil(c.dScale * area.Height())) + client.Height() - area.Height();
    }
}
