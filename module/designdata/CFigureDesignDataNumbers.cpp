// CFigureDesignData: number output of the design figures, chosen by the figure mode.
//
// OutputNumbers picks one output member by the figure mode of the model's figure controller.
// Each member only reads the engine's lists and writes GDI text at window points: a world point
// maps through the model's graphics control (window or memory-image mapping, as the model draws),
// an entry whose points fall off the top or left edge is skipped, and texts along a member are
// turned with it, never upside down. Fonts are made from a copy of the display options' number
// font, so the model's own description stays as the user set it. The texts of one label keep
// kClearHeights of a text height between them: their pixel offsets grow with the texts' extents.
#include <algorithm>
#include <cmath>
#include <vector>

#include "host/grx/I_PVXCtrl.h"
#include "module/designdata/CFigureDesignData.h"
#include "module/engines/CEngineBase.h"
#include "module/model/CPVXLabelBase.h"
#include "module/model/CPVXLabelSpacer.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"

namespace {

// Text alignment codes (SetTextAlign values).
enum : int {
    kLeftTop = 0,
    kRightTop = 2,
    kCentreTop = 6,
    kLeftBottom = 8,
    kRightBottom = 10,
    kCentreBottom = 14,
};

constexpr int kVertical = 900;         // escapement of a vertical text, tenths of a degree
constexpr double kClearHeights = 0.5;  // text heights kept clear between two texts of one label

// Pixels kept clear between two texts of height h.
int Clear(int h) { return static_cast<int>(std::ceil(kClearHeights * h)); }

bool OnScreen(const CPoint& p) { return p.x >= 0 && p.y >= 0; }

CString Format(LPCTSTR fmt, double v) {
    CString s;
    s.Format(fmt, v);
    return s;
}

// The label format of the number options: "%.<decimals>f", or "%.<decimals>e" with exponents.
CString NumberFormat(const T_PVX_DOPT_NUMBER_D& num, bool bFixedOnly) {
    CString fmt;
    fmt.Format(num.m_bExponent && !bFixedOnly ? "%s%de" : "%s%df", "%.", num.m_nDecimals);
    return fmt;
}

// The fonts a number output makes for itself from the options' number font, with the options'
// background mode and colours set on the DC. Works on a copy of the description: the model's
// number font keeps its escapement, orientation and underline. The DC gets its font back at the
// end and the fonts are deleted.
class OwnFonts {
public:
    OwnFonts(CDC* pDC, const T_PVX_DOPT_NUMBER_D& num) : m_pDC(pDC), m_lf(num.m_lfNumber) {
        pDC->SetBkMode(num.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
        pDC->SetTextColor(num.m_crNumber[1]);
        pDC->SetBkColor(num.m_crNumberBack);
    }
    ~OwnFonts() {
        if (m_pOld) m_pDC->SelectObject(m_pOld);
        for (CFont* f : m_fonts) {
            f->DeleteObject();
            delete f;
        }
    }
    OwnFonts(const OwnFonts&) = delete;
    OwnFonts& operator=(const OwnFonts&) = delete;

    // Makes a font turned by the escapement (and underlined); returns its index.
    int Add(int nEscapement, bool bUnderline = false) {
        LOGFONT lf = m_lf;
        lf.lfEscapement = lf.lfOrientation = nEscapement;
        lf.lfUnderline = bUnderline ? 1 : 0;
        lf.lfHeight = GetCurViewTextHeight(static_cast<int>(lf.lfHeight));
        auto* f = new CFont;
        f->CreatePointFontIndirect(&lf, m_pDC);
        m_fonts.push_back(f);
        return static_cast<int>(m_fonts.size()) - 1;
    }
    void Select(int i) {
        CFont* pPrev = m_pDC->SelectObject(m_fonts[static_cast<size_t>(i)]);
        if (!m_pOld) m_pOld = pPrev;
    }
    void Text(int font, int align, int x, int y, const CString& s) {
        Select(font);
        m_pDC->SetTextAlign(static_cast<UINT>(align));
        CPVXLabelSpacer::TextOut(m_pDC, x, y, s);
    }
    // The extent of s in the font: along its baseline (cx) and its height (cy).
    CSize Extent(int font, const CString& s) {
        Select(font);
        return m_pDC->GetTextExtent(s);
    }

private:
    CDC* m_pDC;
    LOGFONT m_lf;
    std::vector<CFont*> m_fonts;
    CFont* m_pOld = nullptr;
};

// A member label drawer set up from the number options.
class Labels {
public:
    Labels(CDC* pDC, T_PVX_DOPT_NUMBER_D& num) : m_label(pDC) { m_label.SetLabelOption(&num); }
    ~Labels() { m_label.EndDraw(); }
    Labels(const Labels&) = delete;
    Labels& operator=(const Labels&) = delete;

    void Begin(int nEscapement) { m_label.BeginDraw(&nEscapement); }
    void Number(const CPoint& p, double v, int align) { m_label.OutputNumber(p.x, p.y, v, &align); }
    void String(const CPoint& p, const CString& s, int align) { m_label.OutputString(p.x, p.y, s, &align); }
    const CString& Fmt() const { return m_label.m_strFormat; }

private:
    CPVXBeamLabel m_label;
};

// Escapement of the window line a to b, turned to read from the left; the turn itself.
int Slope(const CPoint& a, const CPoint& b, int& nEscapement) {
    return CUtilFuncs::GetSlope2Point(nEscapement, a.x, a.y, b.x, b.y);
}

// The number options of a labelled output, or null when it draws nothing: no DC, no model or
// options, or the number-label switch off (bSwitchOn false).
T_PVX_DOPT_NUMBER_D* NumberOptions(I_PVXModel* pModel, CDC* pDC, bool bSwitchOn = true) {
    if (!bSwitchOn || !pDC || !pModel || !pModel->m_pDispOpt) return nullptr;
    return &pModel->m_pDispOpt->m_Number;
}

// Pixel offsets of a column's area-steel label from the column point: the pixel offsets of a
// small font, grown with the texts so that each keeps a gap from its neighbour. at: extent of the
// value written at the point (centre-bottom), below: of the value under the point (left-top).
struct ColumnLabelOffsets {
    int under;  // the value under the point, down
    int side;   // the vertical value, right: clear of the value at the point
    int up;     // the upper underlined value, right and up: clear of the vertical value
    int down;   // the lower underlined value, right and down: clear of the value under the point
    int pair;   // the ratio pair, left and up: clear of the value at the point, along or above it

    static ColumnLabelOffsets For(const CSize& at, const CSize& below) {
        const int h = static_cast<int>(at.cy), gap = Clear(h), half = static_cast<int>(at.cx + 1) / 2;
        ColumnLabelOffsets o;
        o.under = std::max(15, gap);
        o.side = std::max(15, half + gap);
        o.up = std::max(30, o.side + h + gap);
        o.down = std::max(30, static_cast<int>(below.cx) + gap);
        o.pair = std::max(15, std::min(half + gap, h + gap));
        return o;
    }
};

// Distances across a beam (along the texts' up vector) of the lines of its area-steel label for
// text height h: the steel lines half a gap off the beam either side, so a gap lies between them,
// and the stirrup lines a gap beyond those.
struct BeamLabelLines {
    int h, gap, steel;

    static BeamLabelLines For(int h) {
        const int gap = Clear(h);
        return {h, gap, (gap + 1) / 2};
    }
    // The distance of a steel line written with align: on the side its text stands.
    int Near(int align) const { return align == kCentreBottom ? steel : -steel; }
    // The distance of an outer line on side (+1 up, -1 down) written with align: its near edge
    // a gap beyond the steel line there.
    int Outer(int align, int side) const {
        const bool bFacesBeam = side > 0 ? align == kCentreTop : align == kCentreBottom;
        return side * (steel + h + gap + (bFacesBeam ? h : 0));
    }
};

int FontHeight(CDC* pDC) {
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    return static_cast<int>(tm.tmHeight);
}

}  // namespace

// ---- dispatch ------------------------------------------------------------------------------------

void CFigureDesignData::OutputNumbers(CDC* pDC) {
    I_PVXModel* pModel = Model();
    if (!pDC || !pModel) return;
    pModel->GetDBDoc();
    const int mode = GetFigureMode();
    switch (mode) {
    case 21: OutputASDNumbers(pDC); break;
    case 22: OutputSideWallSteelNumbers(pDC); break;
    case 24: OutputSDeformNumbers(pDC); break;
    case 25: OutputBDeformNumbers(pDC); break;
    case 26: OutputSCrackNumbers(pDC); break;
    case 27: OutputBCrackNumbers(pDC); break;
    case 28: OutputACRNumbers(pDC); break;
    case 29: case 34: case 37: OutputSForcNumbers(pDC); break;
    case 35: case 38: OutputBBMNumbers(pDC); break;
    case 36: case 39: OutputBSFNumbers(pDC); break;
    case 13: OutputSRebarNumbers(pDC); break;
    case 23: OutputBSDNumbers(pDC); break;
    case 33: case 41: OutputWallForceNumbers(pDC); break;
    case 40: OutputColumnForceNumbers(pDC); break;
    default:
        if (mode >= 42 && mode <= 56) OutputBaseCForcNumbersMemb4Figure(pDC);
        break;
    }
}

// ---- deformation ---------------------------------------------------------------------------------

void CFigureDesignData::OutputSDeformNumbers(CDC* pDC) {
    I_PVXModel* pModel = Model();
    T_PVX_DOPT_NUMBER_D* pNum = NumberOptions(pModel, pDC, m_bShowNumber != 0);
    if (!pNum) return;
    T_PVX_DOPT_NUMBER_D& num = *pNum;
    const CString fmt = NumberFormat(num, false);
    OwnFonts fonts(pDC, num);
    const int horizontal = fonts.Add(0);
    for (INT_PTR i = 0; i < m_arrSDeform.GetSize(); ++i) {
        C3DPoint a = m_arrSDeform[i].pt[0];
        const CPoint p = pModel->Get3DPtTo2DPt(&a);
        if (!OnScreen(p)) continue;
        fonts.Text(horizontal, kCentreBottom, p.x, p.y, Format(fmt, m_arrSDeform[i].dValue));
    }
}

void CFigureDesignData::OutputBDeformNumbers(CDC* pDC) {
    I_PVXModel* pModel = Model();
    T_PVX_DOPT_NUMBER_D* pNum = NumberOptions(pModel, pDC, m_bShowNumber != 0);
    if (!pNum) return;
    T_PVX_DOPT_NUMBER_D& num = *pNum;
    Labels labels(pDC, num);
    for (INT_PTR i = 0; i < m_arrBDeform.GetSize(); ++i) {
        T_DEFORM_D& d = m_arrBDeform[i];
        const CPoint p1 = pModel->Get3DPtTo2DPt(&d.pt[0]);
        const CPoint p2 = pModel->Get3DPtTo2DPt(&d.pt[1]);
        const CPoint p3 = pModel->Get3DPtTo2DPt(&d.pt[2]);
        if (!OnScreen(p1) || !OnScreen(p2) || !OnScreen(p3)) continue;
        int esc = 0;
        Slope(p2, p3, esc);
        const bool bTurned = p2.x > p3.x;
        labels.Begin(esc);
        labels.Number(p1, d.dValue, bTurned ? kCentreBottom : kCentreTop);
    }
}

// ---- axial-compression ratio ---------------------------------------------------------------------

void CFigureDesignData::OutputACRNumbers(CDC* pDC) {
    I_PVXModel* pModel = Model();
    T_PVX_DOPT_NUMBER_D* pNum = NumberOptions(pModel, pDC, m_bShowNumber != 0);
    if (!pNum) return;
    T_PVX_DOPT_NUMBER_D& num = *pNum;
    const CString fmt = NumberFormat(num, false);
    OwnFonts fonts(pDC, num);
    const int horizontal = fonts.Add(0);
    const int vertical = fonts.Add(kVertical);
    fonts.Select(horizontal);
    for (INT_PTR i = 0; i < m_arrAxialCompR.GetSize(); ++i) {
        T_AXIAL_COMP_R& r = m_arrAxialCompR[i];
        const CPoint p = pModel->Get3DPtTo2DPt(&r.pt);
        if (!OnScreen(p)) continue;
        CString pair;
        pair.Format("%s%s%s%s%s", "(", Format(fmt, r.dRatio1).GetString(), ",", Format(fmt, r.dRatio2).GetString(),
                    ")");
        // The vertical value stands right of the one below the column, a gap clear of it.
        const CString below = Format(fmt, r.dValue3);
        const CSize size = fonts.Extent(horizontal, below);
        const int right = std::max(30, static_cast<int>(size.cx) - 25 + static_cast<int>(size.cy) + Clear(size.cy));
        fonts.Text(horizontal, kRightBottom, p.x - 15, p.y - 15, pair);
        fonts.Text(vertical, kLeftBottom, p.x + right, p.y + 20, Format(fmt, r.dValue4));
        fonts.Text(horizontal, kLeftBottom, p.x - 25, p.y + 25, below);
    }
}

// ---- slab values along strips and edges ----------------------------------------------------------

namespace {

// One value per strip or edge record along it, and the slab's two values once per run of its
// records. Shared by the slab force, slab crack and slab area-steel outputs.
// mids holds the midpoint of each record's two points.
void OutputSlabStrips(I_PVXModel& m, CDC* pDC, CArray<T_SFORCE_D, T_SFORCE_D&>& list,
                      CMap<UINT, UINT, T_SMOMENT_D, T_SMOMENT_D&>& map, const std::vector<C3DPoint>& mids) {
    if (list.GetSize() < 1 || !m.m_pDispOpt || !m.m_pPVXCtrl) return;
    I_PVXCtrl& ctrl = *m.m_pPVXCtrl;
    Labels labels(pDC, m.m_pDispOpt->m_Number);
    UINT nLast = 0;
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        T_SFORCE_D& r = list[i];
        const C3DPoint& mid = mids[static_cast<size_t>(i)];
        const CPoint a = m.Get3DPtTo2DPt(&r.ptA);
        const CPoint b = m.Get3DPtTo2DPt(&r.ptB);
        if (!OnScreen(a) || !OnScreen(b)) continue;
        int esc = 0;
        Slope(a, b, esc);
        const bool bTurned = a.x > b.x || a.y < b.y;
        labels.Begin(esc);
        labels.Number(ctrl.GetWorldToMemDCP2D(mid), r.dValue, bTurned ? kCentreTop : kCentreBottom);
        if (r.nKey == nLast) continue;
        T_SMOMENT_D s;
        if (!map.Lookup(r.nKey, s)) continue;
        const CPoint p = ctrl.GetWorldToMemDCP2D(s.pt);
        labels.Begin(0);
        labels.Number(p, s.d[0], kLeftTop);
        labels.Begin(kVertical);
        labels.Number(p, s.d[1], kLeftBottom);
        nLast = r.nKey;
    }
}

// Midpoints of the records' two points, by the engine's own midpoint rule.
template <class F> std::vector<C3DPoint> Midpoints(CArray<T_SFORCE_D, T_SFORCE_D&>& list, F centre) {
    std::vector<C3DPoint> mids(static_cast<size_t>(list.GetSize()));
    for (INT_PTR i = 0; i < list.GetSize(); ++i) centre(list[i].ptA, list[i].ptB, mids[static_cast<size_t>(i)]);
    return mids;
}

}  // namespace

void CFigureDesignData::OutputSForcNumbers(CDC* pDC) {
    if (I_PVXModel* pModel = Model(); pDC && pModel)
        OutputSlabStrips(*pModel, pDC, m_arrSForce, m_mapSMoment, Midpoints(m_arrSForce, GetCentPt));
}

void CFigureDesignData::OutputSCrackNumbers(CDC* pDC) {
    if (I_PVXModel* pModel = Model(); pDC && pModel)
        OutputSlabStrips(*pModel, pDC, m_arrSCrack, m_mapSCrackMoment, Midpoints(m_arrSCrack, GetCentPt));
}

// ---- beam crack widths -----------------------------------------------------------------------------

void CFigureDesignData::OutputBCrackNumbers(CDC* pDC) {
    I_PVXModel* pModel = Model();
    if (!pDC || !pModel || !pModel->m_pDispOpt || !pModel->m_pPVXCtrl) return;
    Labels labels(pDC, pModel->m_pDispOpt->m_Number);
    // Values 1 to 3 above the beam at start, middle and end, 4 to 6 below: normal / turned.
    static const int kAlign[6][2] = {{kLeftBottom, kRightTop},  {kCentreBottom, kCentreTop}, {kRightBottom, kLeftTop},
                                     {kLeftTop, kRightBottom},  {kCentreTop, kCentreBottom}, {kRightTop, kLeftBottom}};
    for (INT_PTR i = 0; i < m_arrBCrack.GetSize(); ++i) {
        T_BCRACK_D& r = m_arrBCrack[i];
        const CPoint s = pModel->Get3DPtTo2DPt(&r.pt[0]);
        const CPoint e = pModel->Get3DPtTo2DPt(&r.pt[2]);
        if (!OnScreen(s) || !OnScreen(e)) continue;
        int esc = 0;
        Slope(s, e, esc);
        const int turned = s.x > e.x ? 1 : 0;
        if (!m_bShowDiagram) continue;
        labels.Begin(esc);
        for (int k = 0; k < 6; ++k)
            labels.Number(pModel->m_pPVXCtrl->GetWorldToMemDCP2D(r.pt[k % 3]), r.d[k], kAlign[k][turned]);
    }
}

// ---- beam moment and shear envelopes -------------------------------------------------------------

namespace {

// Where a value group's start, middle and end entries stand: normal / turned alignment, and
// whether the entry is drawn outside figure mode 35.
struct GroupPlace {
    int align[3][2];
    bool bOnlyMoment[3];  // drawn only in figure mode 35
};

// Shear values stand above the beam when positive, below it otherwise.
const GroupPlace kShearPositive = {{{kLeftTop, kRightBottom}, {kCentreTop, kCentreBottom}, {kRightTop, kLeftBottom}},
                                   {false, false, false}};
const GroupPlace kShearOther = {{{kLeftBottom, kRightTop}, {kCentreBottom, kCentreTop}, {kRightBottom, kLeftTop}},
                                {false, false, false}};

// The values of a text label list, three per beam (start, middle, end) in the order the
// envelope walk drew the beams, placed along each beam. place null: the shear placement.
void OutputEnvelopeGroups(CFigureDesignData& d, CDC* pDC, CArray<T_TEXT_VALUE, T_TEXT_VALUE&>& list,
                          const GroupPlace* place) {
    I_PVXModel* pModel = d.Model();
    if (!pDC || !pModel || !pModel->m_pDispOpt || !pModel->m_pPVXCtrl) return;
    const bool bMoment = d.GetFigureMode() == 35;
    Labels labels(pDC, pModel->m_pDispOpt->m_Number);
    const INT_PTR nGroups = list.GetSize() / 3;
    for (INT_PTR g = 0; g < nGroups; ++g) {
        // Group g belongs to the g-th beam the diagram walk drew.
        if (g >= d.m_arrDrawnBeamIdx.GetSize()) break;
        const int idx = d.m_arrDrawnBeamIdx[g];
        if (idx < 0 || idx >= d.m_arrBeamBM.GetSize()) break;
        T_BEAM_BM& env = d.m_arrBeamBM[idx];
        const CPoint first = pModel->Get3DPtTo2DPt(&env.pt[0]);
        const CPoint last = pModel->Get3DPtTo2DPt(&env.pt[8]);
        if (!OnScreen(first) || !OnScreen(last)) continue;
        int esc = 0;
        Slope(first, last, esc);
        const int turned = first.x > last.x ? 1 : 0;
        labels.Begin(esc);
        // The end values stand half a gap inwards of their ends, so that those of two beams
        // meeting at a node keep a gap between them.
        const double len = std::hypot(last.x - first.x, last.y - first.y);
        const double in = len > 0.0 ? ((Clear(FontHeight(pDC)) + 1) / 2) / len : 0.0;
        const CPoint inwards(static_cast<int>(std::lround(in * (last.x - first.x))),
                            static_cast<int>(std::lround(in * (last.y - first.y))));
        for (int k = 0; k < 3; ++k) {
            T_TEXT_VALUE& t = list[3 * g + k];
            const GroupPlace& p = place ? *place : (t.dValue > 0.0 ? kShearPositive : kShearOther);
            if (p.bOnlyMoment[k] && !bMoment) continue;
            CPoint at = pModel->m_pPVXCtrl->GetWorldToMemDCP2D(t.pt);
            if (k == 0) at += inwards;
            if (k == 2) at -= inwards;
            labels.Number(at, t.dValue, p.align[k][turned]);
        }
    }
}

}  // namespace

void CFigureDesignData::OutputBBMNumbers(CDC* pDC) {
    if (m_arrBeamBM.GetSize() < 1) return;
    static const GroupPlace kList1 = {{{kLeftBottom, kRightTop}, {kCentreBottom, kCentreTop}, {kRightBottom, kLeftTop}},
                                      {false, true, false}};
    static const GroupPlace kList2 = {{{kLeftTop, kRightBottom}, {kCentreTop, kCentreBottom}, {kRightTop, kLeftBottom}},
                                      {true, false, true}};
    OutputEnvelopeGroups(*this, pDC, m_arrTextValue[0], &kList1);
    OutputEnvelopeGroups(*this, pDC, m_arrTextValue[1], &kList2);
}

void CFigureDesignData::OutputBSFNumbers(CDC* pDC) {
    if (m_arrBeamBM.GetSize() < 1 && m_arrTextValue[2].GetSize() < 1) return;
    OutputEnvelopeGroups(*this, pDC, m_arrTextValue[2], nullptr);
}

// ---- base-column forces ----------------------------------------------------------------------------

void CFigureDesignData::OutputBaseCForcNumbersMemb4Figure(CDC* pDC) {
    I_PVXModel* pModel = Model();
    if (!pDC || !pModel || !pModel->m_pDispOpt || m_mapBaseShear.IsEmpty()) return;
    Labels labels(pDC, pModel->m_pDispOpt->m_Number);
    POSITION pos = m_mapBaseShear.GetStartPosition();
    while (pos) {
        UINT key = 0;
        T_BASE_SHEAR_D r;
        m_mapBaseShear.GetNextAssoc(pos, key, r);
        if (r.nKey != key) continue;
        const CPoint p = pModel->Get3DPtTo2DPt(&r.pt[0]);
        const CPoint q = pModel->Get3DPtTo2DPt(&r.pt[1]);
        // An entry off the top or left edge is passed over; the walk goes on, as the map's order
        // says nothing of where its columns stand.
        if (!OnScreen(p) || !OnScreen(q)) continue;
        labels.Begin(0);
        for (int k = 0; k < 5; ++k) labels.Number(CPoint(p.x - 15, p.y - 22 + 15 * k), r.d[k], kRightBottom);
    }
}

// ---- side-wall steel -------------------------------------------------------------------------------

void CFigureDesignData::OutputSideWallSteelNumbers(CDC* pDC) {
    I_PVXModel* pModel = Model();
    if (!pDC || !pModel || !pModel->m_pDispOpt) return;
    const int h = FontHeight(pDC);
    Labels labels(pDC, pModel->m_pDispOpt->m_Number);
    const CString fmt = labels.Fmt();
    POSITION pos = m_mapSNode.GetStartPosition();
    while (pos) {
        UINT key = 0;
        T_SNODE_D n;
        m_mapSNode.GetNextAssoc(pos, key, n);
        const CPoint p = pModel->Get3DPtTo2DPt(&n.pt);
        if (!OnScreen(p)) continue;
        const CPoint anchor(p.x + h, p.y);
        CString no;
        no.Format("%s%d", "No.", static_cast<int>(key));
        labels.Begin(0);
        labels.String(CPVXLabelBase::CalcRotatedTextPos(&anchor, 0, 3 * h), no, kLeftBottom);
        labels.String(CPVXLabelBase::CalcRotatedTextPos(&anchor, 0, 2 * h), "Asv." + Format(fmt, n.d[0]), kLeftBottom);
        labels.String(CPVXLabelBase::CalcRotatedTextPos(&anchor, 0, h), "As." + Format(fmt, n.d[2]), kLeftBottom);
    }
    if (m_arrSWall.GetSize() < 1) return;
    CPen pen(PS_SOLID, 2, RGB(255, 0, 0));
    CPen* pOldPen = pDC->SelectObject(&pen);
    static const char kBlanks[] = "  ";
    for (INT_PTR i = 0; i < m_arrSWall.GetSize(); ++i) {
        T_SWALL_D& w = m_arrSWall[i];
        CPoint p[4];
        for (int k = 0; k < 4; ++k) p[k] = pModel->Get3DPtTo2DPt(&w.pt[k]);
        if (!OnScreen(p[2]) && !OnScreen(p[3])) continue;
        int esc = 0;
        const int turned = Slope(p[2], p[3], esc) ? 1 : 0;
        const int side = w.nSide ? 1 : 0;
        // Each text: blanks before (b) or after the value, and the alignment, by side and turn.
        struct Place {
            bool bBlanksFirst;
            int align;
        };
        static const Place kLs[2][2] = {{{true, kLeftBottom}, {false, kRightTop}}, {{false, kRightBottom}, {true, kLeftTop}}};
        static const Place kLc[2][2] = {{{true, kLeftTop}, {false, kRightBottom}}, {{false, kRightTop}, {true, kLeftBottom}}};
        auto text = [&](const Place& pl, const char* prefix, double v) {
            CString s;
            const CString value = Format(fmt, v);
            if (pl.bBlanksFirst)
                s.Format("%s%s%s", kBlanks, prefix, value.GetString());
            else
                s.Format("%s%s%s", prefix, value.GetString(), kBlanks);
            labels.String(p[2], s, pl.align);
        };
        labels.Begin(esc);
        text(kLs[side][turned], "Ls", w.dLs);
        text(kLc[side][turned], "Lc", w.dLc);
        pDC->MoveTo(p[2]);
        pDC->LineTo(p[3]);
    }
    pDC->SelectObject(pOldPen);
}

// ---- area steel ----------------------------------------------------------------------------------

void CFigureDesignData::OutputASDNumbers(CDC* pDC) {
    I_PVXModel* pModel = Model();
    T_PVX_DOPT_NUMBER_D* pNum = NumberOptions(pModel, pDC, m_bShowNumber != 0);
    if (!pNum) return;
    T_PVX_DOPT_NUMBER_D& num = *pNum;
    const CString f1 = NumberFormat(num, true);
    const char* f2 = "%.2f";
    OwnFonts fonts(pDC, num);
    const int horizontal = fonts.Add(0);
    const int vertical = fonts.Add(kVertical);
    const int underlined = fonts.Add(0, true);
    fonts.Select(horizontal);

    if (m_bAsColumn == 1 && m_arrColmAs.GetSize() > 0) {
        CPen pen(PS_SOLID, 1, num.m_crNumber[0]);
        CPen* pOldPen = pDC->SelectObject(&pen);
        for (INT_PTR i = 0; i < m_arrColmAs.GetSize(); ++i) {
            T_COLM_AS& c = m_arrColmAs[i];
            const CPoint p = pModel->Get3DPtTo2DPt(&c.pt);
            if (!OnScreen(p)) continue;
            const int x = p.x, y = p.y;
            const CString under = Format(f1, c.d[0]), at = Format(f1, c.d[3]);
            const ColumnLabelOffsets o =
                ColumnLabelOffsets::For(fonts.Extent(horizontal, at), fonts.Extent(horizontal, under));
            fonts.Text(horizontal, kLeftTop, x, y + o.under, under);
            fonts.Text(vertical, kLeftTop, x + o.side, y, Format(f1, c.d[1]));
            fonts.Text(underlined, kLeftBottom, x + o.up, y - o.up, Format(f1, c.d[2]));
            pDC->MoveTo(x, y);
            pDC->LineTo(x + o.up, y - o.up);
            fonts.Text(horizontal, kCentreBottom, x, y, at);
            CString pair;
            pair.Format("%s%s%s%s%s", "(", Format(f2, c.d[4]).GetString(), ",", Format(f2, c.d[5]).GetString(), ")");
            fonts.Text(horizontal, kRightBottom, x - o.pair, y - o.pair, pair);
            CString g;
            g.Format("%s%s%s%s", "G", Format(f1, c.d[6]).GetString(), "-", Format(f1, c.d[7]).GetString());
            fonts.Text(underlined, kLeftBottom, x + o.down, y + o.down, g);
            pDC->MoveTo(x, y);
            pDC->LineTo(x + o.down, y + o.down);
        }
        pDC->SelectObject(pOldPen);
    }
    fonts.Select(horizontal);
    const int h = FontHeight(pDC);

    // Beams and wall beams: the top and bottom steel on either side of the centre, the stirrups
    // (and torsion steel) a line further out; a gap between the beam's lines.
    const BeamLabelLines lines = BeamLabelLines::For(h);
    auto beams = [&]<class R>(CArray<R, R&>& list, bool bWallBeam) {
        Labels labels(pDC, num);
        for (INT_PTR i = 0; i < list.GetSize(); ++i) {
            R& b = list[i];
            const CPoint l1 = pModel->Get3DPtTo2DPt(&b.ptLabel[0]);
            const CPoint l2 = pModel->Get3DPtTo2DPt(&b.ptLabel[1]);
            const CPoint e1 = pModel->Get3DPtTo2DPt(&b.ptEnd[0]);
            const CPoint e2 = pModel->Get3DPtTo2DPt(&b.ptEnd[1]);
            if (!OnScreen(l1) || !OnScreen(e1) || !OnScreen(e2)) continue;
            int esc = 0;
            const int turned = Slope(e1, e2, esc) ? 1 : 0;
            // A line at distance d across the beam (along the texts' up vector), aligned by align.
            const auto line = [&](const CPoint& at, int d, int align, const CString& s) {
                labels.String(CPVXLabelBase::CalcRotatedTextPos(&at, esc, d), s, align);
            };
            labels.Begin(esc);
            CString s;
            if (!bWallBeam || m_bWBeamSteelRow) {
                const int topAlign = turned ? kCentreTop : kCentreBottom;
                const int bottomAlign = turned ? kCentreBottom : kCentreTop;
                s.Format("%s%s%s%s%s", Format(f1, b.d[0]).GetString(), "-", Format(f1, b.d[1]).GetString(), "-",
                         Format(f1, b.d[2]).GetString());
                line(l1, lines.Near(topAlign), topAlign, s);
                s.Format("%s%s%s%s%s", Format(f1, b.d[3]).GetString(), "-", Format(f1, b.d[4]).GetString(), "-",
                         Format(f1, b.d[5]).GetString());
                line(l2, lines.Near(bottomAlign), bottomAlign, s);
            }
            if (!bWallBeam) {
                s.Format("%s%s%s%s", "G", Format(f1, b.d[6]).GetString(), "-", Format(f1, b.d[7]).GetString());
                line(l1, lines.Outer(kCentreBottom, 1), kCentreBottom, s);
                if (b.d[8] != 0.0 && b.d[9] != 0.0) {
                    s.Format("%s%s%s%s", "VT", Format(f1, b.d[8]).GetString(), "-", Format(f1, b.d[9]).GetString());
                    line(l2, lines.Outer(kCentreTop, -1), kCentreTop, s);
                }
            } else if (m_bWBeamStirrupRow) {
                s.Format("%s%s%s%s", "G", Format(f1, b.d[6]).GetString(), "-", Format(f1, b.d[7]).GetString());
                const int gAlign = turned ? kCentreTop : kCentreBottom, vtAlign = turned ? kCentreBottom : kCentreTop;
                line(l1, lines.Outer(gAlign, 1), gAlign, s);
                if (b.d[8] != 0.0) {
                    s.Format("%s%s", "VT ", Format(f1, b.d[8]).GetString());
                    line(l2, lines.Outer(vtAlign, -1), vtAlign, s);
                }
            }
        }
    };
    if (m_bAsBeam == 1 && m_arrBeamAs.GetSize() > 0) beams(m_arrBeamAs, false);
    if (m_bAsWallBeam == 1 && m_arrWBeamAs.GetSize() > 0) beams(m_arrWBeamAs, true);

    if (m_bAsWall == 1 && m_arrWallAs.GetSize() > 0) {
        Labels labels(pDC, num);
        for (INT_PTR i = 0; i < m_arrWallAs.GetSize(); ++i) {
            T_WALL_AS& w = m_arrWallAs[i];
            const CPoint p1 = pModel->Get3DPtTo2DPt(&w.pt);
            const CPoint p2 = pModel->Get3DPtTo2DPt(&w.ptEnd[0]);
            const CPoint p3 = pModel->Get3DPtTo2DPt(&w.ptEnd[1]);
            if (!OnScreen(p1) || !OnScreen(p2) || !OnScreen(p3)) continue;
            int esc = 0;
            Slope(p2, p3, esc);
            const bool bTurned = p2.x > p3.x;
            labels.Begin(esc);
            // The two values either side of the wall, a gap between them.
            for (int k = 0; k < 2; ++k) {
                const int align = (k == 0) != bTurned ? kCentreBottom : kCentreTop;
                const CPoint at = CPVXLabelBase::CalcRotatedTextPos(&p1, esc, lines.Near(align));
                labels.String(at, Format(f1, w.d[k]), align);
            }
        }
    }
    if (m_bAsSlab == 1 && m_arrSlabAs.GetSize() > 0)
        OutputSlabStrips(*pModel, pDC, m_arrSlabAs, m_mapSlabAsMoment, Midpoints(m_arrSlabAs, GetCentPt));
}
