// Shear (131) and punching (130) of the parts of the column footings: part i is written in
// outline parts - 1 - i (part 0 in the last outline the footing query returns).
#include "module/figures/CFVDCheckFigures.h"

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
        block.DrawInPolygon(checkfig::DrawingHandleOf(*this), 1);
    }
    return TRUE;
}
