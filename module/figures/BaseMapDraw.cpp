#include "module/figures/BaseMapDraw.h"

#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/CZELF_DBAreaObjData.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/base/CurrentUnitCtrl.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/FoundationRecords.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/CVdrawUtil.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureText.h"

namespace {

constexpr COLORREF kSlabOutlineColour = 0x4080FF;  // red 255, green 128, blue 64
constexpr COLORREF kSlabArrowColour = 255;         // red
constexpr long kSlabWeight = 100;                  // 1 mm
constexpr int kPileInfoPrecision = 2;              // decimals when the settings ask for none

// The b x h rectangle about centre turned angle degrees, closed (a side of 0 gives a flat one).
void TurnedRectangle(double b, double h, double angle, const T_POINT2D& c, CArray<T_POINT2D>& pts) {
    const double a = angle * CMathFunc::m_trrad, ca = std::cos(a), sa = std::sin(a);
    const double local[5][2] = {{-0.5 * b, -0.5 * h}, {0.5 * b, -0.5 * h}, {0.5 * b, 0.5 * h}, {-0.5 * b, 0.5 * h},
                                {-0.5 * b, -0.5 * h}};
    pts.RemoveAll();
    for (const auto& p : local) pts.Add(T_POINT2D(c.x + p[0] * ca - p[1] * sa, c.y + p[0] * sa + p[1] * ca));
}

}  // namespace

BOOL PileLookups(UINT key, T_PILE_D& pile, T_MEMB_D& memb, T_PISP_D& sec, T_PONT_D& pont) {
    if (!ICheckToolUtil::s_GetPileInfo(key, pile) || !ICheckToolUtil::s_GetMemb(key, memb)) return FALSE;
    if (!ICheckToolUtil::s_GetPileSecInfo(memb.fosp, sec) || memb.aPont.GetSize() < 1) return FALSE;
    return ICheckToolUtil::s_GetPontInfo(memb.aPont[0], pont);
}

BOOL DrawBaseMapAxis(CVdrawUtil* d, UINT key, CDataBase* db) {
    CClassAxis axes;
    axes.ConnectToDB(db);
    T_AXIS_D axis;
    if (!axes.Get(key, axis)) return TRUE;
    CClassPont ponts;
    ponts.ConnectToDB(db);
    if (axis.IsArc()) {
        T_PONT_ARC arc;
        if (ponts.FormArc(axis.pont1, axis.pont2, axis.GetChord(), arc, 0.0))
            d->DrawArc(arc.Center().x, arc.Center().y, arc.Radius(), arc.GetAngleS(), arc.GetAngleE(), arc.IsCCW());
        return TRUE;
    }
    T_PONT_D p1, p2;
    if (!ponts.Get(axis.pont1, p1) || !ponts.Get(axis.pont2, p2)) return FALSE;
    d->DrawLine(p1.x, p1.y, p2.x, p2.y, 0.0);
    return TRUE;
}

BOOL DrawBaseMapColumn(CVdrawUtil* d, UINT key) {
    double b = 0.0, h = 0.0, angle = 0.0;
    T_POINT2D c;
    if (!ICheckToolUtil::s_GetColumnSecData(key, b, h, angle, c)) return TRUE;
    if (h < 0.0) {
        d->DrawCircle(c.x, c.y, 0.0, b * 0.5, 0, "");
        return TRUE;
    }
    CArray<T_POINT2D> poly;
    if (!ICheckToolUtil::s_MakePolyLine(b, h, angle, c, poly)) {
        // The check library refuses a side of 0; such a column is still a (flat) rectangle.
        if (!(std::isfinite(b) && std::isfinite(h) && std::isfinite(angle))) return TRUE;
        TurnedRectangle(b, h, angle, c, poly);
    }
    d->DrawPolyLine(poly, 0, "", 0, 0);
    return TRUE;
}

BOOL DrawBaseMapLineMember(CVdrawUtil* d, UINT key, CDataBase* db, int wall) {
    CZELF_DBLineObjData line;
    if (!line.SetData(key, db, wall ? 1 : 0)) return TRUE;
    CZELF_Polyline2D poly;
    if (line.GetPoly(poly, wall ? 1 : 0)) d->DrawPolyLine(poly, 0, 0);
    return TRUE;
}

void DrawFootingOutlines(CVdrawUtil* d, const CArray<T_POLYGON2D>& outlines, BOOL isCircle,
                         const CArray<double>& diameters, const T_POINT2D& centre, BOOL join) {
    for (INT_PTR i = 0; i < outlines.GetSize(); ++i) {
        if (!isCircle)
            d->DrawPolyLine(outlines[i], 0, "", 0, 0);
        else if (i < diameters.GetSize())
            d->DrawCircle(centre.x, centre.y, 0.0, diameters[i] * 0.5, 0, "");
    }
    if (outlines.GetSize() < 2 || !join || isCircle) return;
    const T_POLYGON2D& a = outlines[0];
    const T_POLYGON2D& b = outlines[1];
    if (a.GetCount() != b.GetCount()) return;
    // A closed outline repeats its first point: that corner is joined once.
    const int n = a.IsClosed() && b.IsClosed() && a.GetCount() > 1 ? a.GetCount() - 1 : a.GetCount();
    for (int j = 0; j < n; ++j) d->DrawLine(a.m_Points[j], b.m_Points[j]);
}

BOOL DrawBaseMapFooting(CVdrawUtil* d, UINT key) {
    CArray<T_POLYGON2D> outlines;
    CArray<double> diameters;
    BOOL isCircle = FALSE, join = FALSE;
    if (!ICheckToolUtil::s_GetColfPolyLine(key, outlines, isCircle, diameters, join, 0)) return TRUE;
    DrawFootingOutlines(d, outlines, isCircle, diameters, ICheckToolUtil::s_GetColfCent(key, 0), join);
    return TRUE;
}

BOOL DrawBaseMapRaft(CVdrawUtil* d, UINT key, CDataBase* db) {
    CZELF_DBAreaObjData area;
    if (!area.SetData(key, db, 1)) return TRUE;
    CArray<T_POINT2D> poly;
    if (area.GetPoly(poly, 1)) d->DrawPolyLine(poly, 0, "", 0, 0);
    return TRUE;
}

BOOL DrawBaseMapPile(CVdrawUtil* d, UINT key) {
    T_PILE_D pile;
    T_MEMB_D memb;
    T_PISP_D sec;
    T_PONT_D pont;
    if (!PileLookups(key, pile, memb, sec, pont)) return TRUE;
    d->DrawCircle(pont.x, pont.y, 0.0, sec.d * 0.5, 0, "");
    return TRUE;
}

BOOL MakePileInfoText(UINT key, CDataBase* db, CString& text, T_POINT2D& centre, double& diameter) {
    T_PILE_D pile;
    T_MEMB_D memb;
    T_PISP_D sec;
    T_PONT_D pont;
    if (!PileLookups(key, pile, memb, sec, pont)) return FALSE;
    CClassPile piles;
    piles.ConnectToDB(db);
    double length = 0.0;
    piles.GetPileLength(key, length);
    CArray<CFVDRatioStrMaker> makers;
    makers.Add(CFVDRatioStrMaker(sec.d * CurrentUnitCtrl::Cur2M(), "D", "", 0));
    makers.Add(CFVDRatioStrMaker(length * CurrentUnitCtrl::Cur2M(), "L", "", 0));
    makers.Add(CFVDRatioStrMaker(pile.capacity * CurrentUnitCtrl::Cur2KN(), "Ra", "", 0));
    // A figure without a precision of its own would write a 0.6 m pile as "D:1".
    const int precision = GetFigurePrecision();
    if (precision < 1) SetFigurePrecision(kPileInfoPrecision);
    CFVDRatioStrMaker::s_MakeStrNoColor(makers, text, "\n");
    if (precision < 1) SetFigurePrecision(precision);
    centre = T_POINT2D(pont.x, pont.y);
    diameter = sec.d;
    return TRUE;
}

BOOL DrawBaseMapPileInfo(CVdrawUtil* d, UINT key, CDataBase* db) {
    CString text;
    T_POINT2D c;
    double dia = 0.0;
    if (!MakePileInfoText(key, db, text, c, dia)) return TRUE;
    CFVDTextBlock block;
    if (!ICheckToolUtil::s_MakePolyLine(dia, dia, 0.0, c, block.m_Polygon)) return TRUE;
    block.m_strText = text;
    block.SetAnchor(3);
    block.DrawInPolygon(VdGetDrawingHandle(d), 1);
    return TRUE;
}

BOOL DrawBaseMapSinkCell(CVdrawUtil* d, UINT key, CDataBase* db) {
    CClassSrct cells;
    cells.ConnectToDB(db);
    T_SRCT_D r;
    if (!cells.Get(key, r)) return TRUE;
    d->DrawRect1(r.x - r.width * 0.5, r.y - r.height * 0.5, r.width, r.height, r.angle, 0, "");
    return TRUE;
}

void DrawSlabDirection(const T_POLYGON2D& outline, double angleX, double angleY, CVdrawUtil* target,
                       int outlineLayer, int textLayer, double cur2m) {
    if (!target || !(std::fabs(cur2m) > 1e-12)) return;
    const double s = 1.0 / cur2m;  // one metre in the current length unit
    T_POLYGON2D closed = outline;
    closed.MakeColse();
    target->SetCurrentLayer(outlineLayer);
    const long h = target->DrawPolyLine(closed, 0, "", 0, 0);
    target->SetLineWeight(h, kSlabWeight);
    target->SetFigureColor(h, kSlabOutlineColour, 0);
    const T_POINT2D c = closed.Center();
    target->SetCurrentLayer(textLayer);
    const struct {
        double angle;
        const char* label;
    } dirs[2] = {{angleX, "X"}, {angleY, "Y"}};
    for (const auto& dir : dirs) {
        const double a = dir.angle * CMathFunc::m_trrad;
        const T_POINT2D tip(c.x + s * std::cos(a), c.y + s * std::sin(a));
        target->AddArrow(c, tip, 0.25 * s, kSlabArrowColour, kSlabArrowColour, 100.0);
        CFVDTextBlock block;
        block.m_strText = dir.label;
        block.SetAnchor(8);
        // The letter reads upright: an arrow pointing left of the vertical turns it half round.
        const double upright = std::fmod(std::fmod(dir.angle, 360.0) + 360.0, 360.0);
        block.m_dAngle = upright > 90.0 && upright <= 270.0 ? upright - 180.0 : upright;
        block.m_Polygon.Add(tip);
        block.DrawInPolygon(VdGetDrawingHandle(target), 1);
    }
}
