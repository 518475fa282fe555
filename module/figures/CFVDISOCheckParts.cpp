// Shear (131) and punching (130) of the parts of the column footings: part i is written in
// outline parts - 1 - i (part 0 in the last outline the footing query returns).
#include "module/figures/CFVDCheckFigures.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "host/check/CheckTables.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"
#include "module/figures/FigureText.h"

IMPLEMENT_DYNCREATE(CFVDISOCheck_JQ, CFVDCheckTypeBase)
IMPLEMENT_DYNCREATE(CFVDISOCheck_CQ, CFVDISOCheck_JQ)

void CFVDISOCheck_JQ::DrawFigure() {
    checkfig::WalkTable<CClassColf>(*this, [this](UINT key, CDataBase* db) { return DrawOneFooting(key, db); });
}

BOOL CFVDISOCheck_JQ::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_JQ_RATIO", 0);
    return 1;
}

BOOL CFVDISOCheck_CQ::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_CQ_RATIO", 0);
    return 1;
}

void CFVDISOCheck_JQ::GetCheckMap(const T_PCDCOLF_D& record, CJCheckMap& map) { map = record.m_mapJQ; }
void CFVDISOCheck_CQ::GetCheckMap(const T_PCDCOLF_D& record, CJCheckMap& map) { map = record.m_mapCQ; }

BOOL CFVDISOCheck_JQ::GetPartLoadGroups(CArray<UINT, UINT>& keys, const CJCheckMap& map, int count) {
    keys.RemoveAll();
    const UINT cur = GetCurLoadCase();
    if (cur == 0) return DATA_P::GetCJMinRatioLdgpKey(map, keys, count + 1);
    keys.Add(cur);
    for (int i = 0; i < count; ++i) keys.Add(cur);
    return TRUE;
}

BOOL CFVDISOCheck_JQ::GetPartCheckData(UINT key, int part, const CJCheckMap& map, CheckData_P& result) {
    // A group without an entry has no result (not an empty, failed one).
    CJCheckData_P entry;
    if (!map.GetVal(key, entry)) return FALSE;
    return entry.GetPart(part, result);
}

BOOL CFVDISOCheck_JQ::DrawOneFooting(UINT key, CDataBase* db) {
    CArray<T_POLYGON2D> outlines;
    BOOL circle = FALSE, secondFlag = FALSE;
    CArray<double> diameters;
    if (!ICheckToolUtil::s_GetColfPolyLine(key, outlines, circle, diameters, secondFlag, 0)) return TRUE;
    const int n = static_cast<int>(outlines.GetSize());
    T_MEMB_D memb;
    if (!ICheckToolUtil::s_GetMemb(key, memb)) return TRUE;
    T_PCDCOLF_D record;
    CClassPCDColf checks;
    checks.ConnectToDB(db);
    if (!checks.Get(key, record)) return TRUE;
    CJCheckMap map;
    GetCheckMap(record, map);
    CArray<UINT, UINT> keys;
    if (!GetPartLoadGroups(keys, map, n - 1)) return TRUE;
    const int parts = std::min(n, static_cast<int>(keys.GetSize()));
    const BOOL snap = NeedsEdgeTextPlacement(memb.fosp);
    const UINT cur = GetCurLoadCase();
    std::vector<double> rows;  // where the parts' lines stand across the text direction
    for (int i = 0; i < parts; ++i) {
        if (secondFlag && i != 0) break;
        CheckData_P result;
        if (!GetPartCheckData(keys[i], i, map, result)) break;
        const CFVDRatioStrMaker maker =
            checkfig::MakeCheckLine(result, CheckData_P::SIGN_ABS, "IDS_RESULT_TEXT_RATIO", keys[i], cur, IsRatioMode());
        CFVDTextBlock block;
        for (const T_POINT2D& p : outlines[parts - 1 - i].m_Points) block.m_Polygon.Add(p);
        block.SetAnchor(1);
        block.m_dAngle = GetUprightTextAngle(memb.angle);
        maker.MakeStr(block.m_strText, block.m_Colors);
        block.m_bSnapToOutline = snap;
        const CArray<long> ids = block.DrawInPolygon(checkfig::DrawingHandleOf(*this), 1);
        KeepLinesApart(ids, block.m_dAngle, rows);
    }
    return TRUE;
}

// The steps of a footing lie closer than a line of text: a part's line that would stand within
// 1.2 text heights of another part's moves outwards (up the text) until it does not.
void CFVDISOCheck_JQ::KeepLinesApart(const CArray<long>& ids, double angle, std::vector<double>& rows) {
    CVdrawUtil* d = GetDrawing();
    if (!d || ids.GetSize() == 0) return;
    const CvdFigure* f = d->GetFigure(ids[0]);
    if (!f || f->m_points.empty()) return;
    const double a = angle * M_PI / 180.0, nx = -std::sin(a), ny = std::cos(a);
    const double pitch = 1.2 * f->m_height;
    const double at = f->m_points[0].x * nx + f->m_points[0].y * ny;
    double to = at;
    for (bool moved = true; moved;) {
        moved = false;
        for (double r : rows)
            if (std::fabs(to - r) < pitch - 1e-9) {
                to = r + pitch;
                moved = true;
            }
    }
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) d->MoveFigure(ids[i], (to - at) * nx, (to - at) * ny);
    rows.push_back(to);
}
