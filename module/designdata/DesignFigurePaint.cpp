#include "module/designdata/DesignFigurePaint.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
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

// A text as a reader sees it: its ink's cell (without the blanks a label is padded with) turned
// by its escapement; u runs along the reading direction (ux, uy), v down across it.
struct TurnedText {
    double cx = 0, cy = 0;      // centre
    double ux = 1, uy = 0;      // reading direction on the screen
    double len = 0, h = 0;      // along and across
    double deg = 0;             // reading direction, degrees modulo 180
    double px[4]{}, py[4]{};    // corners in order
};

TurnedText TurnedTextOf(const GdiRecord& r) {
    const SIZE sz = FontEngine::Instance().MeasureText(r.font, r.text);
    const UINT a = r.textAlign;
    double u0 = (a & TA_CENTER) == TA_CENTER ? -sz.cx / 2.0 : (a & TA_RIGHT) ? -sz.cx : 0.0;
    const double v0 = (a & TA_BASELINE) == TA_BASELINE ? -0.8 * sz.cy : (a & TA_BOTTOM) ? -sz.cy : 0.0;
    double len = sz.cx;
    const size_t first = r.text.find_first_not_of(' '), last = r.text.find_last_not_of(' ');
    if (first != std::string::npos && (first > 0 || last + 1 < r.text.size())) {
        u0 += FontEngine::Instance().MeasureText(r.font, r.text.substr(0, first)).cx;
        len = FontEngine::Instance().MeasureText(r.font, r.text.substr(first, last + 1 - first)).cx;
    }
    const double e = r.font.lfEscapement * 3.14159265358979323846 / 1800.0;
    const double c = std::cos(e), s = std::sin(e);
    TurnedText t;
    t.ux = c, t.uy = -s, t.len = len, t.h = sz.cy;
    t.deg = std::fmod(std::fmod(r.font.lfEscapement / 10.0, 180.0) + 180.0, 180.0);
    const double us[4] = {u0, u0 + len, u0 + len, u0}, vs[4] = {v0, v0, v0 + sz.cy, v0 + sz.cy};
    for (int k = 0; k < 4; ++k) {
        // Along the baseline u, down the text v; y grows downwards on the screen.
        t.px[k] = r.Arg(0) + us[k] * c + vs[k] * s;
        t.py[k] = r.Arg(1) - us[k] * s + vs[k] * c;
    }
    t.cx = 0.25 * (t.px[0] + t.px[1] + t.px[2] + t.px[3]);
    t.cy = 0.25 * (t.py[0] + t.py[1] + t.py[2] + t.py[3]);
    return t;
}

// Area shared by two convex polygons (Sutherland-Hodgman: a clipped by every edge of b).
double SharedArea(std::vector<std::pair<double, double>> a, const std::vector<std::pair<double, double>>& b) {
    const auto cross = [](const std::pair<double, double>& o, const std::pair<double, double>& p,
                          const std::pair<double, double>& q) {
        return (p.first - o.first) * (q.second - o.second) - (p.second - o.second) * (q.first - o.first);
    };
    double orient = 0.0;  // the sign of b's winding
    for (size_t i = 0; i < b.size(); ++i) orient += cross(b[0], b[i], b[(i + 1) % b.size()]);
    for (size_t i = 0; i < b.size() && !a.empty(); ++i) {
        const auto &p = b[i], &q = b[(i + 1) % b.size()];
        std::vector<std::pair<double, double>> out;
        for (size_t k = 0; k < a.size(); ++k) {
            const auto &m = a[k], &n = a[(k + 1) % a.size()];
            const double dm = cross(p, q, m) * orient, dn = cross(p, q, n) * orient;
            if (dm >= 0) out.push_back(m);
            if ((dm >= 0) != (dn >= 0)) {
                const double f = dm / (dm - dn);
                out.emplace_back(m.first + f * (n.first - m.first), m.second + f * (n.second - m.second));
            }
        }
        a.swap(out);
    }
    double area = 0.0;
    for (size_t i = 0; i < a.size(); ++i)
        area += a[i].first * a[(i + 1) % a.size()].second - a[(i + 1) % a.size()].first * a[i].second;
    return 0.5 * std::fabs(area);
}

std::vector<std::pair<double, double>> Corners(const TurnedText& t) {
    return {{t.px[0], t.py[0]}, {t.px[1], t.py[1]}, {t.px[2], t.py[2]}, {t.px[3], t.py[3]}};
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
        double l, t, r, b;          // the turned text's envelope, to find its neighbours
        double vx = 0.0, vy = 0.0;  // how far its centre moves as the scale grows by one
        TurnedText turned;
        bool number = false;        // holds a digit: a number a symbol may hide
    };
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
            x.turned = TurnedTextOf(*r);
            x.number = r->text.find_first_of("0123456789") != std::string::npos;
            x.l = *std::min_element(x.turned.px, x.turned.px + 4), x.r = *std::max_element(x.turned.px, x.turned.px + 4);
            x.t = *std::min_element(x.turned.py, x.turned.py + 4), x.b = *std::max_element(x.turned.py, x.turned.py + 4);
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
    // A pair crowds when their turned boxes share more than a quarter of the smaller one, or when
    // they read in one direction (within 3 degrees) and stand on one line of it (sharing more than
    // half the smaller height across it) less than kApartGap heights apart along it. Its factor is
    // the growth of the scale that sets them apart across or along that line (kApartGap heights
    // between them); texts that move together are never set apart.
    std::vector<double> factors;
    // The distance of two centres at the factor k: d + (k - 1) v; the factor at which it is need.
    const auto grow = [](double d, double v, double need) {
        if (std::fabs(v) < 0.5) return 1e300;
        if (v < 0) v = -v, d = -d;
        return 1.0 + (need - d) / v;
    };
    const auto pair = [&factors, &grow](const Box& a, const Box& b) {
        const TurnedText &ta = a.turned, &tb = b.turned;
        if (std::max(a.l, b.l) >= std::min(a.r, b.r) + kApartGap * std::max(ta.h, tb.h) ||
            std::max(a.t, b.t) >= std::min(a.b, b.b) + kApartGap * std::max(ta.h, tb.h))
            return;
        const double h = std::min(ta.h, tb.h);
        const bool overlap = SharedArea(Corners(ta), Corners(tb)) > 0.25 * std::min(ta.len * ta.h, tb.len * tb.h);
        // In a's frame: u along its reading direction, w across it.
        const double ux = ta.ux, uy = ta.uy, wx = -uy, wy = ux;
        const double du = (tb.cx - ta.cx) * ux + (tb.cy - ta.cy) * uy, dw = (tb.cx - ta.cx) * wx + (tb.cy - ta.cy) * wy;
        const double turn = std::fabs(ta.deg - tb.deg);
        const bool parallel = std::min(turn, 180.0 - turn) <= 3.0;
        const double needU = 0.5 * (ta.len + tb.len) + kApartGap * h, needW = 0.5 * (ta.h + tb.h);
        const bool oneLine = parallel && needW - std::fabs(dw) > 0.5 * h && std::fabs(du) < needU;
        if (!overlap && !oneLine) return;
        const double vu = (b.vx - a.vx) * ux + (b.vy - a.vy) * uy, vw = (b.vx - a.vx) * wx + (b.vy - a.vy) * wy;
        factors.push_back(std::min(grow(du, vu, needU), grow(dw, vw, needW)));
    };
    const double reach = kApartGap * tallest;
    // Centres of texts within reach stand at most 1.5 tallest heights apart: two rows on.
    for (size_t i = 0, end = 0; i < texts.size(); i = end) {
        const long long r = row(texts[i]);
        while (end < texts.size() && row(texts[end]) == r) ++end;
        size_t next[2], nextEnd[2];
        for (int k = 0; k < 2; ++k) {
            next[k] = nextEnd[k] = k == 0 ? end : nextEnd[0];
            while (nextEnd[k] < texts.size() && row(texts[nextEnd[k]]) == r + 1 + k) ++nextEnd[k];
        }
        for (size_t a = i; a < end; ++a) {
            const Box& x = texts[a];
            for (size_t b = a + 1; b < end && texts[b].l <= x.r + reach; ++b) pair(x, texts[b]);
            for (int k = 0; k < 2; ++k) {
                const auto from = std::lower_bound(texts.begin() + next[k], texts.begin() + nextEnd[k],
                                                   x.l - widest - reach, [](const Box& y, double l) { return y.l < l; });
                for (auto b = from; b != texts.begin() + nextEnd[k] && b->l <= x.r + reach; ++b) pair(x, *b);
            }
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
    // A symbol grows with the picture: any up to a tenth of the picture's shorter side is one.
    const CRect client = m.m_pPVXCtrl->GetClientRect();
    const double largest = std::max(3.0 * tallest, 0.1 * std::min(client.Width(), client.Height()));
    for (size_t i = 0; i < marks.size(); ++i) {
        const CRect& q = marks[i];
        if (std::max(q.Width(), q.Height()) <= largest)
            for (double x = std::floor(q.left / cell) * cell; x < q.right; x += cell)
                for (double y = std::floor(q.top / cell) * cell; y < q.bottom; y += cell) cells[key(x, y)].push_back(i);
    }
    for (const Box& x : texts) {
        if (!x.number) continue;
        double factor = 0.0;  // of the symbol that holds the text longest; 0 none
        for (double cx = std::floor(x.l / cell) * cell; cx < x.r; cx += cell)
            for (double cy = std::floor(x.t / cell) * cell; cy < x.b; cy += cell) {
                const auto it = cells.find(key(cx, cy));
                if (it == cells.end()) continue;
                for (size_t i : it->second) {
                    const CRect& q = marks[i];
                    const std::vector<std::pair<double, double>> rect = {
                        {q.left, q.top}, {q.right, q.top}, {q.right, q.bottom}, {q.left, q.bottom}};
                    if (!(20.0 * SharedArea(Corners(x.turned), rect) > x.turned.len * x.turned.h)) continue;
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
