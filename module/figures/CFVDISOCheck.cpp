// Bearing capacity (132) and weak layer (133) of the column footings.
#include "module/figures/CFVDCheckFigures.h"

#include "host/check/CheckTables.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"
#include "module/figures/FigureText.h"

IMPLEMENT_DYNCREATE(CFVDISOCheck_CZL, CFVDCheckTypeBase)
IMPLEMENT_DYNCREATE(CFVDISOCheck_Weak, CFVDCheckTypeBase)

int checkfig::DrawingHandleOf(CFVDBase& fig) { return VdGetDrawingHandle(fig.GetDrawing()); }

namespace {

// What a footing text needs: the first outline, the member and the check record.
struct FootingParts {
    CArray<T_POLYGON2D> outlines;
    BOOL secondFlag = FALSE;
    T_MEMB_D memb;
    T_PCDCOLF_D record;
};

bool ReadCheckFooting(UINT key, CDataBase* db, FootingParts& out) {
    BOOL circle = FALSE;
    CArray<double> diameters;
    if (!ICheckToolUtil::s_GetColfPolyLine(key, out.outlines, circle, diameters, out.secondFlag, 0) ||
        out.outlines.GetSize() < 1)
        return false;
    if (!ICheckToolUtil::s_GetMemb(key, out.memb)) return false;
    CClassPCDColf checks;
    checks.ConnectToDB(db);
    return checks.Get(key, out.record) != 0;
}

CArray<T_POINT2D> PointsOf(const T_POLYGON2D& poly) {
    CArray<T_POINT2D> pts;
    for (const T_POINT2D& p : poly.m_Points) pts.Add(p);
    return pts;
}

// The footing's text block in its first outline (anchor top right, quarter-folded angle).
void DrawFootingBlock(CFVDBase& fig, const FootingParts& f, CFVDTextBlock& block) {
    block.m_dAngle = GetQuarterTextAngle(f.memb.angle);
    block.m_Polygon = PointsOf(f.outlines[0]);
    block.SetAnchor(2);
    block.m_bSnapToOutline = CFVDCheckTypeBase::NeedsEdgeTextPlacement(f.memb.fosp);
    block.DrawInPolygon(checkfig::DrawingHandleOf(fig), 1);
}

}  // namespace

void CFVDISOCheck_CZL::DrawFigure() {
    checkfig::WalkTable<CClassColf>(*this, [this](UINT key, CDataBase* db) { return DrawOneFooting(key, db); });
}

BOOL CFVDISOCheck_CZL::DrawOneFooting(UINT key, CDataBase* db) {
    FootingParts f;
    if (!ReadCheckFooting(key, db, f)) return TRUE;
    // A group the record does not hold has no line (and its text slot stays unused).
    bool hasAve = false, hasMax = false;
    const CArray<CFVDRatioStrMaker> makers =
        checkfig::MakePressureLines(f.record.m_mapCZL, GetCurLoadCase(), IsRatioMode(), hasAve, hasMax);
    if (!hasAve && !hasMax) return TRUE;
    CFVDTextBlock block;
    CFVDRatioStrMaker::s_MakeStr(makers, block.m_strText, block.m_Colors, "\n");
    block.SetMoveInfo(static_cast<int>(key), 0, hasAve ? 0 : -1, hasMax ? 1 : -1);
    DrawFootingBlock(*this, f, block);
    return TRUE;
}

BOOL CFVDISOCheck_CZL::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_CZL", 0);
    return 1;
}

void CFVDISOCheck_Weak::DrawFigure() {
    checkfig::WalkTable<CClassColf>(*this, [this](UINT key, CDataBase* db) { return DrawOneFooting(key, db); });
}

BOOL CFVDISOCheck_Weak::DrawOneFooting(UINT key, CDataBase* db) {
    FootingParts f;
    if (!ReadCheckFooting(key, db, f)) return TRUE;
    const UINT cur = GetCurLoadCase();
    UINT group = cur;
    if (cur == 0) DATA_P::GetMinCheckDataLdgpKey(f.record.m_mapWeak, group);
    CheckData_P check;
    if (!f.record.m_mapWeak.GetVal(group, check)) return TRUE;
    const CFVDRatioStrMaker maker =
        checkfig::MakeCheckLine(check, CheckData_P::SIGN_ABS, "IDS_RESULT_TEXT_RATIO", group, cur, IsRatioMode());
    CFVDTextBlock block;
    maker.MakeStr(block.m_strText, block.m_Colors);
    DrawFootingBlock(*this, f, block);
    return TRUE;
}

BOOL CFVDISOCheck_Weak::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_WEAK", 0);
    return 1;
}
