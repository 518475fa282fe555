// Soil bearing under the foundation beams (200): two lines at the middle of each beam, turned by
// the beam's full angle (a beam drawn from right to left reads upside down).
#include "module/figures/CFVDCheckFigures.h"

#include <cmath>

#include "host/base/CZELF_DBLineObjData.h"
#include "host/check/CheckTables.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"

IMPLEMENT_DYNCREATE(CFVDBeamCheck_CZL, CFVDCheckTypeBase)

void CFVDBeamCheck_CZL::DrawFigure() {
    checkfig::WalkTable<CClassBeam>(*this, [this](UINT key, CDataBase* db) { return DrawOneBeam(key, db); });
}

BOOL CFVDBeamCheck_CZL::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_CZL", 0);
    return 1;
}

BOOL CFVDBeamCheck_CZL::DrawOneBeam(UINT key, CDataBase* db) {
    CZELF_DBLineObjData line;
    if (!line.SetData(key, db, 0)) return TRUE;
    const T_POINT2D mid = line.GetPointByDist(0.5, 0.0);
    const T_POINT2D s = line.GetPtStart(), e = line.GetPtEnd();
    // The beam's own direction (first point to second), whatever order the line stores.
    const double angle = std::atan2(e.y - s.y, e.x - s.x) * 180.0 / M_PI + (line.IsReverse() ? 180.0 : 0.0);
    T_PCDBEAM_D record;
    CClassPCDBeam checks;
    checks.ConnectToDB(db);
    if (!checks.Get(key, record)) return TRUE;
    bool hasAve = false, hasMax = false;
    const CArray<CFVDRatioStrMaker> makers =
        checkfig::MakePressureLines(record.m_mapCZL, GetCurLoadCase(), IsRatioMode(), hasAve, hasMax);
    if (makers.GetSize() == 0) return TRUE;
    CFVDTextBlock block;
    block.m_dAngle = angle;
    block.m_bSpreadTurned = TRUE;
    // The block stands beside the beam's line, not across it.
    block.m_nVerJust = VdTextVerBottom;
    block.m_dStandOff = 0.45;
    CFVDRatioStrMaker::s_MakeStr(makers, block.m_strText, block.m_Colors, "\n");
    block.DrawAt(checkfig::DrawingHandleOf(*this), mid);
    return TRUE;
}
