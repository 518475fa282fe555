// CPlotReactionEng: dispatch, the reaction arrows of display mode 0 and their numbers.
#include "module/engines/CPlotReactionEng.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <vector>

#include "host/grx/GKrigContour.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/engines/CReactionEngine.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/CUtilFuncs.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

namespace {

// Unit vector of axis a (0 x, 1 y, 2 z).
C3DPoint Axis(int a) { return C3DPoint(a == 0 ? 1.0 : 0.0, a == 1 ? 1.0 : 0.0, a == 2 ? 1.0 : 0.0); }

// Axis of a component: 0..2 forces, 4..6 moments; -1 for the resultants and unknown codes.
int AxisOf(int nComp) {
    if (nComp >= 0 && nComp <= 2) return nComp;
    if (nComp >= 4 && nComp <= 6) return nComp - 4;
    return -1;
}

// The components drawn for a selector, with their values.
int ComponentsOf(CReactionEngine& e, T_REAC_D& r, int comps[3], double values[3]) {
    if (e.m_nComponent == CReactionEngine::COMP_FXYZ || e.m_nComponent == CReactionEngine::COMP_MXYZ) {
        const int base = e.m_nComponent == CReactionEngine::COMP_FXYZ ? 0 : 4;
        for (int i = 0; i < 3; ++i) {
            comps[i] = base + i;
            values[i] = e.CalcReacValue(base + i, r);
        }
        return 3;
    }
    comps[0] = e.m_nComponent;
    values[0] = e.CalcReacValue(r);
    return 1;
}

// Frees an array of owned polygons.
void FreePolys(PVXPolyListArray& polys) {
    for (INT_PTR i = polys.GetSize() - 1; i >= 0; --i) delete polys[i];
    polys.RemoveAll();
}

}  // namespace

CPlotReactionEng::CPlotReactionEng(CReactionEngine* pEngine, CDC* pDC) : m_pReactionEngine(nullptr) {
    if (!pEngine || !pDC) return;
    Bind(pEngine, pDC);
    m_pReactionEngine = pEngine;
}

CPlotReactionEng::~CPlotReactionEng() = default;

void CPlotReactionEng::Reset() {
    CPlotEngBase::Reset();
    m_pReactionEngine = nullptr;
}

int CPlotReactionEng::Draw(int nMode) {
    if (!m_pReactionEngine) return -1;
    if (nMode == PVXMode::kReaction) return DrawArrows();
    if (nMode == PVXMode::kReactionContour) {
        switch (m_pReactionEngine->m_nMembKind) {
        case CReactionEngine::MEMB_RAFT: return DrawRaftContour();
        case CReactionEngine::MEMB_BEAM: return DrawBeamContour();
        default: return -1;
        }
    }
    return -1;
}

int CPlotReactionEng::OutputNumbers(int nMode) {
    if (!m_pReactionEngine || !m_pReactionEngine->m_bDataReady) return 0;
    return nMode == PVXMode::kReactionContour ? OutputContourNumbers() : OutputArrowNumbers();
}

// ---- geometry ----------------------------------------------------------------------------------

void CPlotReactionEng::MakeGlyph(const C3DPoint& P, int nComp, double s, double L, PVXPolyListArray& polys) {
    const int a = AxisOf(nComp);
    if (a < 0) return;
    const C3DPoint e = Axis(a);
    const C3DPoint u = Axis(a == 0 ? 1 : 0);
    const C3DPoint w = Axis(a == 2 ? 1 : 2);
    const double h = kHeadWidth * s;
    auto head = [&](const C3DPoint& apex, const C3DPoint& base) {
        const C3DPoint c[4] = {base + u * h + w * h, base + u * h - w * h, base - u * h - w * h, base - u * h + w * h};
        for (int i = 0; i < 4; ++i) {
            auto* tri = new PVXPolyList(4);
            tri->AddTail(apex);
            tri->AddTail(c[i]);
            tri->AddTail(c[(i + 1) % 4]);
            polys.Add(tri);
        }
        auto* quad = new PVXPolyList(4);
        for (const C3DPoint& q : c) quad->AddTail(q);
        polys.Add(quad);
    };
    const C3DPoint B = P - e * s;
    head(P, B);
    const bool bMoment = nComp >= 4;
    if (bMoment) head(B, P - e * (2.0 * s));
    auto* shaft = new PVXPolyList(2);
    shaft->AddTail(bMoment ? P - e * (2.0 * s) : B);
    shaft->AddTail(ShaftEnd(P, nComp, s, L));
    polys.Add(shaft);
}

C3DPoint CPlotReactionEng::ShaftEnd(const C3DPoint& P, int nComp, double s, double L) {
    const int a = AxisOf(nComp);
    if (a < 0) return P;
    const C3DPoint e = Axis(a);
    const C3DPoint S0 = nComp >= 4 ? P - e * (2.0 * s) : P - e * s;
    return S0 - e * L;
}

void CPlotReactionEng::FillKrigDetail(const CContourEngine& ce, int nModelOption, GKrigContourDetail& d) {
    d.m_nColorNum = ce.m_nNumColor;
    d.m_nColorType = ce.m_nColorTableKind;
    for (int i = 0; i < 6; ++i) d.m_crSerial[i] = ce.GetSerialColor(i);
    d.m_crSerial[6] = ce.GetSerialColor(30);
    d.m_crOption = ce.m_crContourLine;
    d.m_dOption[0] = ce.m_nFillStyle;
    d.m_dOption[1] = ce.m_bReverseColor;
    d.m_dOption[2] = ce.m_bDrawContourLine;
    d.m_dOption[3] = ce.m_bHueColorMode;
    d.m_dOption[4] = ce.m_dOption[0];
    d.m_dOption[5] = ce.m_dOption[1];
    d.m_nModelOption = nModelOption;
    d.m_dCellPixels = 5.0;
}

// ---- small services ------------------------------------------------------------------------------

double CPlotReactionEng::HeadSize() const {
    const CReactionEngine& e = *m_pReactionEngine;
    const double m = std::max(std::fabs(e.m_dMaxValue), std::fabs(e.m_dMinValue));
    const double size = std::fabs(m * e.m_dArrowScale * e.m_dReacAdjustFactor * kHeadRatio);
    const double spacing = LeastNodeSpacing();
    return spacing > 0.0 ? std::min(size, kHeadSpacing * spacing) : size;
}

double CPlotReactionEng::LeastNodeSpacing() const {
    const CReactionEngine& e = *m_pReactionEngine;
    if (!m_pModel || !m_pModel->GetAttrCtrl()) return 0.0;
    std::vector<C3DPoint> pts;
    pts.reserve(static_cast<size_t>(e.m_arrNodeKey.GetSize()));
    for (INT_PTR i = 0; i < e.m_arrNodeKey.GetSize(); ++i) {
        T_PNODE_D node;
        if (m_pModel->GetAttrCtrl()->GetNode(e.m_arrNodeKey[i], node)) pts.emplace_back(node.x, node.y, node.z);
    }
    // Swept along x: a pair further apart in x than the best so far ends the inner walk.
    std::sort(pts.begin(), pts.end(), [](const C3DPoint& a, const C3DPoint& b) { return a.x < b.x; });
    double best = 0.0;
    for (size_t i = 0; i < pts.size(); ++i)
        for (size_t j = i + 1; j < pts.size() && (best == 0.0 || pts[j].x - pts[i].x < best); ++j) {
            const double d = std::sqrt((pts[j].x - pts[i].x) * (pts[j].x - pts[i].x) +
                                       (pts[j].y - pts[i].y) * (pts[j].y - pts[i].y) +
                                       (pts[j].z - pts[i].z) * (pts[j].z - pts[i].z));
            if (d > 1e-9 && (best == 0.0 || d < best)) best = d;
        }
    return best;
}

double CPlotReactionEng::Animated(double v) const {
    if (!m_pModel || !m_pModel->m_bAnimation || !m_pContourEngine) return v;
    return m_pContourEngine->GetSubFrameValue(v, m_pModel->m_AnimationEngine.GetAnimationFactor(1));
}

CString CPlotReactionEng::NumberFormat() const {
    CString fmt;
    const int bExp = m_pNumberOpt ? m_pNumberOpt->m_bExponent : 0;
    const int nDigits = m_pNumberOpt ? m_pNumberOpt->m_nDecimals : 3;
    fmt.Format(bExp ? "%s%de" : "%s%df", "%.", nDigits);
    return fmt;
}

CPoint CPlotReactionEng::WindowPoint(const C3DPoint& p) const {
    I_PVXCtrl* ctrl = m_pModel->m_pPVXCtrl;
    return IsDrawOnClientWindow() ? ctrl->GetWorldToWindowP2D(p) : ctrl->GetWorldToMemDCP2D(p);
}

void CPlotReactionEng::Line(const C3DPoint& a, const C3DPoint& b) {
    I_PVXCtrl* ctrl = m_pModel->m_pPVXCtrl;
    if (IsDrawOnClientWindow())
        ctrl->DrawLine3DOnClientWindow(m_pDC, a, b);
    else
        ctrl->DrawLine3D(m_pDC, a, b, 0.0);
}

bool CPlotReactionEng::WriteNumber(const C3DPoint& p, double v, const CString& fmt, const CRect& given, int slot,
                                   bool bForce) {
    const int nKind = ReactionNumberKind(*m_pNumberOpt, m_pReactionEngine->m_dLegendMax, m_pReactionEngine->m_dLegendMin, v);
    if (nKind < 0) return false;
    if (nKind < 3) {
        DrawMinMaxOutputValue(m_pDC, p, fmt, nKind, v);
        return false;
    }
    CPoint pt = WindowPoint(p);
    if (pt.x < 0 || pt.y < 0) return false;
    CString s;
    s.Format(fmt, v);
    // Forced off a point without a symbol: off the point itself.
    const CRect symbol = bForce && given.IsRectEmpty() ? CRect(pt.x - 1, pt.y - 1, pt.x + 1, pt.y + 1) : given;
    if (!symbol.IsRectEmpty()) {
        // The text's box by its alignment (left or centred, on its bottom or baseline).
        const CSize ext = m_pDC->GetTextExtent(s);
        const UINT a = m_pDC->GetTextAlign();
        const int left = (a & TA_CENTER) == TA_CENTER ? pt.x - ext.cx / 2 : (a & TA_RIGHT) ? pt.x - ext.cx : pt.x;
        const int bottom = (a & TA_BASELINE) == TA_BASELINE ? pt.y + ext.cy / 5 : (a & TA_BOTTOM) ? pt.y : pt.y + ext.cy;
        const CRect box(left, bottom - ext.cy, left + ext.cx, bottom);
        CRect shared;
        if (bForce || (shared.IntersectRect(&box, &symbol) && 20L * shared.Width() * shared.Height() > 1L * ext.cx * ext.cy)) {
            // Centred over (or under) the symbol, a quarter height off: neighbouring nodes of a
            // grid keep their rows of numbers and markers apart. Of the slot's place and the
            // next three, the first off every other node's symbol.
            const int gap = std::max(2, ext.cy / 4), cx = (symbol.left + symbol.right) / 2;
            auto place = [&](int k) {
                const int row = k / 2 * (ext.cy + gap);
                const int top = k % 2 == 0 ? symbol.top - gap - row - ext.cy : symbol.bottom + gap + row;
                return CRect(cx - ext.cx / 2, top, cx - ext.cx / 2 + ext.cx, top + ext.cy);
            };
            auto free = [&](const CRect& b) {
                for (const CRect& q : m_pModel->m_arrSymbolBoxes) {
                    CRect on;
                    if (q != symbol && on.IntersectRect(&b, &q) && 20L * on.Width() * on.Height() > 1L * ext.cx * ext.cy)
                        return false;
                }
                return true;
            };
            CRect at = place(slot);
            for (int k = slot; k < slot + 4; ++k)
                if (free(place(k))) {
                    at = place(k);
                    break;
                }
            const UINT nOld = m_pDC->SetTextAlign(TA_BOTTOM | TA_CENTER);
            m_pDC->TextOut(cx, at.bottom, s);
            m_pDC->SetTextAlign(nOld);
            return true;
        }
    }
    m_pDC->TextOut(pt.x, pt.y, s);
    return false;
}

CRect CPlotReactionEng::HeadBox(const PVXPolyListArray& polys) const {
    CRect box;
    bool bAny = false;
    for (INT_PTR k = 0; k < polys.GetSize(); ++k) {
        if (polys[k]->GetCount() < 3) continue;  // the shaft
        for (POSITION pos = polys[k]->GetHeadPosition(); pos;) {
            const CPoint q = WindowPoint(polys[k]->GetNext(pos));
            if (!bAny) box.SetRect(q.x, q.y, q.x + 1, q.y + 1);
            box.left = std::min(box.left, q.x), box.top = std::min(box.top, q.y);
            box.right = std::max(box.right, q.x + 1), box.bottom = std::max(box.bottom, q.y + 1);
            bAny = true;
        }
    }
    return box;
}

// ---- display mode 0: arrows ----------------------------------------------------------------------

int CPlotReactionEng::DrawArrows() {
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    if (!m || !m_pDC || !m->m_pPVXCtrl || !m->GetAttrCtrl()) return 0;
    I_PVXCtrl* ctrl = m->m_pPVXCtrl;

    CBrush brHead, brMaxHead;
    brHead.CreateSolidBrush(kHeadColor);
    brMaxHead.CreateSolidBrush(kMaxHeadColor);
    CPen penBlack, penShaft, penMaxShaft;
    penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    penShaft.CreatePen(PS_SOLID, 1, kShaftColor);
    penMaxShaft.CreatePen(PS_SOLID, 1, kMaxShaftColor);

    // With the result-display flag the reactions become a Kriging contour over a plain model.
    const bool bKrig = IsResultDisplayOn() != 0;
    const int nSavedStyle = m_pWireFrame ? *m_pWireFrame : 0;
    if (bKrig && m_pWireFrame) *m_pWireFrame = 1;
    DrawOriginal(0);
    e.InitReacAdjustFactor();
    const double size = HeadSize();
    const double lengthPerValue = e.m_dArrowScale * e.m_dReacAdjustFactor * kShaftRatio;

    CBrush* pOldBrush = m_pDC->SelectObject(&brHead);
    CPen* pOldPen = m_pDC->SelectObject(&penBlack);
    CArray<C3DPoint, C3DPoint> krigPoints;
    CArray<double, double> krigValues;
    int result = 1;
    for (INT_PTR i = 0; i < e.m_arrNodeKey.GetSize(); ++i) {
        if (WatchEscKeyPress()) {
            result = -1;
            break;
        }
        const UINT nNode = e.m_arrNodeKey[i];
        T_PNODE_D node;
        T_REAC_D r;
        if (!m->GetAttrCtrl()->GetNode(nNode, node) || !e.GetReacData(nNode, r)) continue;
        const C3DPoint P(node.x, node.y, node.z);
        int comps[3];
        double values[3];
        const int nComps = ComponentsOf(e, r, comps, values);
        PVXPolyListArray polys;
        CArray<double, double> polyValue;  // the value of the component each polygon belongs to
        for (int c = 0; c < nComps; ++c) {
            const double v = values[c];
            if (v == 0.0) continue;
            const double s = v >= 0.0 ? size : -size;
            MakeGlyph(P, comps[c], s, v * lengthPerValue, polys);
            while (polyValue.GetSize() < polys.GetSize()) polyValue.Add(v);
        }
        if (bKrig) {
            // Every shaft end carries the value of its own component.
            for (INT_PTR k = 0; k < polys.GetSize(); ++k)
                if (polys[k]->GetCount() == 2) {
                    krigPoints.Add(polys[k]->GetTail());
                    krigValues.Add(polyValue[k]);
                }
        } else {
            if (polys.GetSize() > 0) m->m_arrSymbolBoxes.push_back(HeadBox(polys));
            const bool bMax = nNode == e.m_nMaxNode;
            CArray<int, int> order;
            ctrl->GetZSortPolygonList(polys, order);
            for (INT_PTR k = 0; k < order.GetSize(); ++k) {
                PVXPolyList* poly = polys[order[k]];
                if (poly->GetCount() == 2) {
                    m_pDC->SelectObject(bMax ? &penMaxShaft : &penShaft);
                    Line(poly->GetHead(), poly->GetTail());
                } else {
                    m_pDC->SelectObject(bMax ? &brMaxHead : &brHead);
                    m_pDC->SelectObject(&penBlack);
                    if (IsDrawOnClientWindow())
                        ctrl->DrawPolygon3DFillOnClientWindow(m_pDC, *poly);
                    else
                        ctrl->DrawPolygon3DFill(m_pDC, *poly);
                }
            }
        }
        FreePolys(polys);
    }

    if (bKrig) {
        GKrigContourDetail detail;
        if (m_pContourEngine) FillKrigDetail(*m_pContourEngine, m->m_bGradient, detail);
        ctrl->OnKrigContour(krigPoints, krigValues, 0, detail);
        ctrl->DrawKrigContourBeneath(m_pDC);  // beneath the reaction values written next
    } else {
        ctrl->OffKrigContour();
    }
    m_pDC->SelectObject(pOldPen);
    m_pDC->SelectObject(pOldBrush);
    if (m_pWireFrame) *m_pWireFrame = nSavedStyle;
    return result;
}

int CPlotReactionEng::OutputArrowNumbers() {
    CReactionEngine& e = *m_pReactionEngine;
    I_PVXModel* m = m_pModel;
    if (!m || !m_pDC || !m_pNumberOpt || !m->GetAttrCtrl() || !m->m_pPVXCtrl) return 0;
    T_PVX_DOPT_NUMBER_D& n = *m_pNumberOpt;
    // Horizontal, or the number dialog's fixed direction.
    m->SetNumberFontNodeOrientation(0);
    const int nOldBk = m_pDC->SetBkMode(n.m_bNumberOpaque ? OPAQUE : TRANSPARENT);
    const COLORREF crOldText = m_pDC->SetTextColor(n.m_crNumber[0]);
    const COLORREF crOldBack = m_pDC->SetBkColor(n.m_crNumberBack);
    const UINT nOldAlign = m_pDC->SetTextAlign(TA_BOTTOM);
    const CString fmt = NumberFormat();
    // The anchors of the resultants are the shaft ends of the arrows as drawn.
    const double size = HeadSize();
    const double lengthPerValue = e.m_dArrowScale * e.m_dReacAdjustFactor * kShaftRatio;
    const bool bResultant = e.m_nComponent == CReactionEngine::COMP_FXYZ || e.m_nComponent == CReactionEngine::COMP_MXYZ;

    // One label font per text angle, made when the angle changes.
    std::unique_ptr<CFont> font;
    int nFontAngle = 0;
    CFont* pOldFont = nullptr;
    auto selectFont = [&]() {
        const int angle = n.m_lfNodeNumber.lfEscapement;
        if (font && angle == nFontAngle) return;
        LOGFONT lf = n.m_lfNodeNumber;
        lf.lfHeight = GetCurViewTextHeight(lf.lfHeight);
        auto next = std::make_unique<CFont>();
        next->CreatePointFontIndirect(&lf, m_pDC);
        CFont* pPrev = m_pDC->SelectObject(next.get());
        if (!pOldFont) pOldFont = pPrev;
        font = std::move(next);
        nFontAngle = angle;
    };

    std::map<std::pair<int, int>, int> written;  // numbers written at a window point
    for (INT_PTR i = 0; i < e.m_arrNodeKey.GetSize(); ++i) {
        const UINT nNode = e.m_arrNodeKey[i];
        T_PNODE_D node;
        T_REAC_D r;
        if (!m->GetAttrCtrl()->GetNode(nNode, node) || !e.GetReacData(nNode, r)) continue;
        const C3DPoint P(node.x, node.y, node.z);
        if (bResultant) {
            int comps[3];
            double values[3];
            ComponentsOf(e, r, comps, values);
            // The node's heads as drawn: a number whose shaft end lies on them (a component seen
            // end on, or a short shaft) stands beside them.
            PVXPolyListArray polys;
            if (!IsResultDisplayOn())
                for (int c = 0; c < 3; ++c)
                    if (values[c] != 0.0)
                        MakeGlyph(P, comps[c], values[c] >= 0.0 ? size : -size, values[c] * lengthPerValue, polys);
            const CRect heads = HeadBox(polys);
            FreePolys(polys);
            int slot = 0;
            for (int c = 0; c < 3; ++c) {
                const double v = values[c];
                if (v == 0.0) continue;
                const double s = v >= 0.0 ? size : -size;
                const C3DPoint tail = ShaftEnd(P, comps[c], s, v * lengthPerValue);
                C3DPoint head = ShaftEnd(P, comps[c], s, 0.0);
                C3DPoint far = tail;
                const CPoint a = m->Get3DPtTo2DPt(&head), b = m->Get3DPtTo2DPt(&far);
                int angle = 0;
                const int bTurned = CUtilFuncs::GetSlope2Point(angle, a.x, a.y, b.x, b.y);
                m_pDC->SetTextAlign(bTurned ? (TA_BASELINE | TA_RIGHT) : (TA_BASELINE | TA_LEFT));
                m->SetNumberFontNodeOrientation(angle);
                selectFont();
                if (WriteNumber(tail, v, fmt, heads, slot)) ++slot;
            }
        } else {
            m->SetNumberFontNodeOrientation(0);
            selectFont();
            // Its arrow's head, as drawn at the node (no head for a zero value).
            const double v = e.CalcReacValue(r);
            PVXPolyListArray polys;
            if (v != 0.0 && !IsResultDisplayOn()) MakeGlyph(P, e.m_nComponent, v >= 0.0 ? size : -size, v * lengthPerValue, polys);
            const CRect head = HeadBox(polys);
            FreePolys(polys);
            // Supports at one place (a pile's head on a raft node) write their numbers in turn
            // over and under it, not over each other.
            const CPoint at = WindowPoint(P);
            int& used = written[std::make_pair(at.x, at.y)];
            WriteNumber(P, v, fmt, head, used, used > 0);
            ++used;
        }
    }
    if (pOldFont) m_pDC->SelectObject(pOldFont);
    m->SetNumberFontNodeOrientation(0);
    m_pDC->SetTextAlign(nOldAlign);
    m_pDC->SetBkColor(crOldBack);
    m_pDC->SetTextColor(crOldText);
    m_pDC->SetBkMode(nOldBk);
    return 1;
}
