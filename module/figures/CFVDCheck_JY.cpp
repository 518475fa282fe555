// Local compression under the columns (450): one ratio line in each column's outline.
#include "module/figures/CFVDCheckFigures.h"

#include "host/check/CheckTables.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"
#include "module/figures/FigureText.h"

IMPLEMENT_DYNCREATE(CFVDCheck_JY, CFVDCheckTypeBase)

void CFVDCheck_JY::DrawFigure() {
    checkfig::WalkTable<CClassColm>(*this, [this](UINT key, CDataBase*) { return DrawOneColumn(key); });
}

BOOL CFVDCheck_JY::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_PILE_TEXT_JY", 0);
    return 1;
}

BOOL CFVDCheck_JY::DrawOneColumn(UINT key) {
    T_PCDCJY_D record;
    T_MEMB_D memb;
    if (!ICheckToolUtil::s_GetJBCYResult(key, record) || !ICheckToolUtil::s_GetMemb(key, memb)) return TRUE;
    const UINT cur = GetCurLoadCase();
    UINT group = cur;
    if (cur == 0) DATA_P::GetMinCheckDataLdgpKey(record.m_mapCheck, group);
    CArray<T_POINT2D> outline;
    if (!ICheckToolUtil::s_MakeColumnPoly(key, outline)) return TRUE;
    // A group without a result has no text.
    CheckData_P check;
    if (!record.m_mapCheck.GetVal(group, check)) return TRUE;
    const CFVDRatioStrMaker maker =
        checkfig::MakeCheckLine(check, CheckData_P::SIGN_ABS, "IDS_RESULT_TEXT_RATIO_JY", group, cur, IsRatioMode());
    CFVDTextBlock block;
    block.m_Polygon = outline;
    block.SetAnchor(1);
    maker.MakeStr(block.m_strText, block.m_Colors);
    block.SetMoveInfo(static_cast<int>(key), 0, 0, -1);
    block.m_dAngle = GetQuarterTextAngle(memb.angle);
    block.DrawInPolygon(checkfig::DrawingHandleOf(*this), 1);
    return TRUE;
}
