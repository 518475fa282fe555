#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureTextMove.h"

#include <cmath>

#include "host/base/CGeomFunc.h"
#include "host/check/ICheckToolUtil.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/FigureText.h"

namespace {
constexpr double kLinePitch = 1.1;     // line spacing in text heights
constexpr double kTurnedPitch = 2.0;   // the same for a spread block turned off the level
constexpr double kMinTurn = 1.0;       // degrees below which a block is not turned
constexpr double kMinDrawScale = 1e-6;     // draw scales below this draw nothing
constexpr double kFarAway = 1e12;      // start distance of the nearest-crossing search

struct AnchorRule {
    int hor, ver;
    double anchorAngle;
};
// Justification and extra angle of anchor kinds 0 to 8.
constexpr AnchorRule kAnchors[9] = {
    {VdTextHorLeft, VdTextVerTop, 0.0},      {VdTextHorCenter, VdTextVerBottom, 0.0},
    {VdTextHorRight, VdTextVerTop, 0.0},     {VdTextHorLeft, VdTextVerBottom, 0.0},
    {VdTextHorCenter, VdTextVerTop, 0.0},    {VdTextHorRight, VdTextVerBottom, 0.0},
    {VdTextHorCenter, VdTextVerBottom, 90.0}, {VdTextHorCenter, VdTextVerBottom, 90.0},
    {VdTextHorCenter, VdTextVerCenter, 0.0},
};
}  // namespace

void CFVDTextBlock::SetAnchor(int kind) {
    m_nAnchor = kind;
    if (kind < 0 || kind > 8) return;
    m_nHorJust = kAnchors[kind].hor;
    m_nVerJust = kAnchors[kind].ver;
    m_dAnchorAngle = kAnchors[kind].anchorAngle;
}

void CFVDTextBlock::SetMoveInfo(int ownerKey, int ownerCategory, int kind1, int kind2) {
    m_nOwnerKey = ownerKey;
    m_nOwnerCategory = ownerCategory;
    m_TextKinds.RemoveAll();
    if (kind1 != -1) m_TextKinds.Add(kind1);
    if (kind2 != -1) m_TextKinds.Add(kind2);
}

CArray<long> CFVDTextBlock::Draw(CVdrawUtil* drawing, const T_POINT2D& at) {
    if (!drawing) return CArray<long>();
    CArray<long> ids = DrawLines(drawing, at, at, TRUE);
    RegisterMove(drawing, ids);
    return ids;
}

void CFVDTextBlock::RegisterMove(CVdrawUtil* drawing, const CArray<long>& ids) const {
    if (m_TextKinds.GetSize() == 0) return;
    CArray<int> slots;
    for (INT_PTR i = 0; i < m_TextKinds.GetSize(); ++i) slots.Add(m_TextKinds[i]);
    const UINT owner = static_cast<UINT>(m_nOwnerKey);
    ApplyTextMoves(drawing, ids, &owner, slots, m_nOwnerCategory);
}

CArray<long> CFVDTextBlock::DrawAt(int drawing, const T_POINT2D& at) {
    return Draw(VdGetDrawingFromHandle(drawing), at);
}

CArray<long> CFVDTextBlock::DrawLines(CVdrawUtil* drawing, const T_POINT2D& at, const T_POINT2D& pivot,
                                      BOOL layout) {
    CArray<long> ids;
    if (!drawing) return ids;
    CStringArray lines;
    const int n = SplitFigureLines(m_strText, lines);
    const double s = drawing->GetDrawScale();
    if (!(s >= kMinDrawScale)) return ids;
    // Every line takes the current style's height.
    const double lineHeight = drawing->GetStyleTextHeight() / s;
    const double turn = m_dAngle + m_dAnchorAngle;
    // Lines of a block standing across the page (not level, nor upside down) read apart only
    // with room between them: a font's cell is about 1.2 heights, so a pitch of 2 keeps more
    // than half a cell between two lines.
    const double pitch =
        m_bSpreadTurned && std::fabs(std::remainder(turn, 180.0)) >= kMinTurn ? kTurnedPitch : kLinePitch;
    if (layout) {
        double total = 0.0;  // block height, model units
        double first = 0.0;  // first line's own height, before the pitch
        for (int i = 0; i < n; ++i) {
            double h = lineHeight;
            if (i == 0) first = h;
            if (i + 1 < n) h *= pitch;
            total += h;
        }
        double y = at.y;
        if (m_nVerJust == VdTextVerCenter && n >= 2)
            y = at.y + 0.5 * total - 0.5 * first;  // centred on the point
        else if (m_nVerJust == VdTextVerBottom)
            y = at.y + total - first + m_dStandOff * first;  // the last line on the point
        else if (m_nVerJust == VdTextVerTop)
            y = at.y - (0.1 + m_dStandOff) * first;  // hung just below the point
        return DrawLines(drawing, T_POINT2D(at.x, y), pivot, FALSE);
    }
    T_POINT2D p = at;
    for (int i = 0; i < n; ++i) {
        const long id = drawing->DrawText(lines[i], p.x, p.y, m_nVerJust, m_nHorJust, 0.0, 0.0);
        p.y -= i + 1 < n ? lineHeight * pitch : lineHeight;
        if (id == 0) continue;
        if (std::fabs(turn) >= kMinTurn) drawing->RotateFigure(id, turn, T_POINT2D(pivot.x * s, pivot.y * s), 0);
        if (i < m_Colors.GetSize()) drawing->SetFigureColor(id, m_Colors[i], m_Colors[i] == kFigurePassColour);
        ids.Add(id);
    }
    return ids;
}

BOOL CFVDTextBlock::GetPolygonAnchor(int rotateOutline, T_POINT2D& at) const {
    T_POINT2D c;
    double area = 0.0;
    if (!ICheckToolUtil::s_GetPolyCentroid(m_Polygon, c, area)) return FALSE;
    CArray<T_POINT2D> work;
    if (std::fabs(m_dAngle) > kMinTurn && rotateOutline == 1)
        ICheckToolUtil::s_RotatePolyLine(c, m_Polygon, work, -m_dAngle);
    else
        work.Copy(m_Polygon);
    T_REGION2D box;
    if (!CGeomFunc::GetMBR(work, box)) return FALSE;
    const double cx = 0.5 * (box.x1 + box.x2), cy = 0.5 * (box.y1 + box.y2);
    const T_POINT2D anchors[9] = {{box.x1, box.y2}, {cx, box.y2},     {box.x2, box.y2}, {box.x1, box.y1}, {cx, box.y1},
                                  {box.x2, box.y1}, {box.x1, cy},     {box.x2, cy},     {cx, cy}};
    T_POINT2D p = (m_nAnchor >= 0 && m_nAnchor <= 8) ? anchors[m_nAnchor] : T_POINT2D(cx, cy);
    if (std::fabs(m_dAngle) >= kMinTurn) CMathLib::Rotate(p, c, m_dAngle);
    if (m_bSnapToOutline) {
        CArray<T_POINT2D> hits;
        CGeomFunc::s_GetIntersectPointsFromPolyLine(m_Polygon, p, c, hits, 1, 0, 1, 1);
        double best = kFarAway;
        T_POINT2D nearest = p;
        for (INT_PTR i = 0; i < hits.GetSize(); ++i) {
            const double d = math_lib::distance_2d(p.x, p.y, hits[i].x, hits[i].y);
            if (d < best) {
                best = d;
                nearest = hits[i];
            }
        }
        p = nearest;
    }
    at = p;
    return TRUE;
}

CArray<long> CFVDTextBlock::DrawInPolygon(int drawing, int rotateOutline) {
    CVdrawUtil* d = VdGetDrawingFromHandle(drawing);
    T_POINT2D at;
    if (!d || !GetPolygonAnchor(rotateOutline, at)) return CArray<long>();
    return DrawAt(drawing, at);
}
