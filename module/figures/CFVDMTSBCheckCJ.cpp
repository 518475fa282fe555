// Punching and shear checks on the rafts: under columns and wall groups (502 to 505) and in
// raft regions (516, 517, 521, 506, 507).
#include "module/figures/CFVDCheckFigures.h"

#include "host/base/CurrentUnitCtrl.h"
#include "host/check/ICheckToolUtil.h"
#include "host/check/IsofCheckToolUtil.h"
#include "host/check/RaftCheckTables.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"
#include "module/figures/FigureText.h"

IMPLEMENT_DYNCREATE(CFVDMTSBCheck_ColCQ, CFVDCheckTypeBase)
IMPLEMENT_DYNCREATE(CFVDMTSBCheck_ColJQ, CFVDMTSBCheck_ColCQ)
IMPLEMENT_DYNCREATE(CFVDMTSBCheck_WallCQ, CFVDMTSBCheck_ColCQ)
IMPLEMENT_DYNCREATE(CFVDMTSBCheck_WallJQ, CFVDMTSBCheck_WallCQ)
IMPLEMENT_DYNCREATE(CFVDMtsbCheck_NT, CFVDCheckTypeBase)
IMPLEMENT_DYNCREATE(CFVDMtsbCheck_NTCQ, CFVDMtsbCheck_NT)
IMPLEMENT_DYNCREATE(CFVDMtsbCheck_BH, CFVDMtsbCheck_NT)
IMPLEMENT_DYNCREATE(CFVDMTSBCheck_BotSlabCJ, CFVDMtsbCheck_NTCQ)
IMPLEMENT_DYNCREATE(CFVDMTSBCheck_BotSlabJQ, CFVDMtsbCheck_NT)

namespace {

// MtsbCJType: the kind of object a punching or shear result belongs to.
enum { CJ_COLUMN = 0, CJ_WALL = 1 };

BOOL PunchingDescription(CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_CQ_RATIO", 0);
    return 1;
}

BOOL ShearDescription(CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_JQ_RATIO", 0);
    return 1;
}

// map = a copy of from; 0 (map empty) without one.
BOOL CopyMap(const SlabCJCheckMap* from, SlabCJCheckMap& map) {
    map.RemoveAll();
    if (!from) return 0;
    map = *from;
    return 1;
}

bool ReadRecord(UINT raftKey, CDataBase* db, T_PCDMTSB_D& record) {
    CClassPCDMtsb table;
    table.ConnectToDB(db);
    return table.Get(raftKey, record) != 0;
}

}  // namespace

// ---- columns and walls ----

void CFVDMTSBCheck_ColCQ::DrawFigure() {
    checkfig::WalkTable<CClassPCDMtsb>(*this, [this](UINT key, CDataBase* db) { return DrawRaftChecks(key, db); });
}

BOOL CFVDMTSBCheck_ColCQ::GetDescription(CArray<COLORREF>&, CString& text) { return PunchingDescription(text); }

BOOL CFVDMTSBCheck_ColCQ::DrawRaftChecks(UINT raftKey, CDataBase* db) {
    DrawRaftMap(raftKey, db, FALSE);
    return TRUE;
}

void CFVDMTSBCheck_ColCQ::DrawRaftMap(UINT raftKey, CDataBase* db, BOOL shear) {
    T_PCDMTSB_D record;
    if (ReadRecord(raftKey, db, record)) DrawCheckResults(shear ? record.m_mapJQ : record.m_mapCQ);
}

void CFVDMTSBCheck_ColCQ::DrawObjectText(const SlabCJResult& result, const CArray<T_POINT2D>& outline,
                                         double angle) {
    const UINT cur = GetCurLoadCase();
    UINT group = cur;
    CheckData_P check;
    if (!result.GetVal(group, check, 1)) return;
    DrawCheckRatioText(checkfig::DrawingHandleOf(*this), outline, angle, &check, group, cur != 0, IsRatioMode(), 8);
}

void CFVDMTSBCheck_ColCQ::DrawCheckResults(const SlabCJCheckMap& map) {
    SlabCJResultMap results;
    if (!DATA_P::GetSlabCJResult(map, results, CJ_COLUMN)) return;
    POSITION pos = results.GetStartPosition();
    while (pos) {
        UINT column;
        SlabCJResult result;
        results.GetNextAssoc(pos, column, result);
        CArray<T_POINT2D> outline;
        T_MEMB_D memb;
        if (!ICheckToolUtil::s_MakeColumnPoly(column, outline) || !ICheckToolUtil::s_GetMemb(column, memb)) continue;
        DrawObjectText(result, outline, GetQuarterTextAngle(memb.angle));
    }
}

BOOL CFVDMTSBCheck_ColJQ::GetDescription(CArray<COLORREF>&, CString& text) { return ShearDescription(text); }

BOOL CFVDMTSBCheck_ColJQ::DrawRaftChecks(UINT raftKey, CDataBase* db) {
    DrawRaftMap(raftKey, db, TRUE);
    return TRUE;
}

void CFVDMTSBCheck_WallCQ::InitBaseMapList() {
    CFVDBase::InitBaseMapList();
    m_BaseMapList.push_back(EFVDT_BaseMap_Top_Wall);
}

void CFVDMTSBCheck_WallCQ::DrawCheckResults(const SlabCJCheckMap& map) {
    SlabCJResultMap results;
    if (!DATA_P::GetSlabCJResult(map, results, CJ_WALL)) return;
    CDataBase* db = GetModelDataBase();
    if (!db) return;
    CClassMemb membs;
    membs.ConnectToDB(db);
    POSITION pos = results.GetStartPosition();
    while (pos) {
        UINT groupKey;
        SlabCJResult result;
        results.GetNextAssoc(pos, groupKey, result);
        CArray<UINT, UINT> walls;
        if (!result.GetMembList(walls)) continue;
        // A group holding any member that is not a wall has no rectangle of its own.
        const INT_PTR all = walls.GetSize();
        membs.FilterByMembType(walls, MEMB_WALL, 0);
        if (walls.GetSize() != all) continue;
        double angle = 0.0;
        Check_Colm_D section;
        T_POINT2D centre;
        if (!CIsofCheckToolUtil::s_GetUpPolyInfo(walls, angle, section, centre, 1)) continue;
        section.UnitConvert(1.0 / CurrentUnitCtrl::Cur2MM());
        CArray<T_POINT2D> outline;
        if (!ICheckToolUtil::s_MakePolyLine(section.b, section.h, angle, centre, outline)) continue;
        DrawObjectText(result, outline, angle);
    }
}

BOOL CFVDMTSBCheck_WallJQ::GetDescription(CArray<COLORREF>&, CString& text) { return ShearDescription(text); }

BOOL CFVDMTSBCheck_WallJQ::DrawRaftChecks(UINT raftKey, CDataBase* db) {
    DrawRaftMap(raftKey, db, TRUE);
    return TRUE;
}

// ---- regions ----

void CFVDMtsbCheck_NT::DrawFigure() {
    checkfig::WalkTable<CClassMtsb>(*this, [this](UINT key, CDataBase* db) { return DrawOneRaft(key, db); });
}

BOOL CFVDMtsbCheck_NT::GetDescription(CArray<COLORREF>&, CString& text) { return ShearDescription(text); }

BOOL CFVDMtsbCheck_NT::GetCheckMap(const T_PCDMTSB_D* record, SlabCJCheckMap& map) {
    return CopyMap(record ? &record->m_mapJQ : nullptr, map);
}

BOOL CFVDMtsbCheck_NT::DrawOneRaft(UINT key, CDataBase* db) {
    T_PCDMTSB_D record;
    if (!ReadRecord(key, db, record) || !m_pDrawing) return TRUE;
    const UINT cur = GetCurLoadCase();
    SlabCJCheckMap map;
    SlabCJResultMap results;
    if (!GetCheckMap(&record, map) || !DATA_P::GetSlabCJResult(map, results, GetCJType())) return TRUE;
    CFVDTextBlock block;
    block.SetAnchor(8);
    POSITION pos = results.GetStartPosition();
    while (pos) {
        UINT region;
        SlabCJResult result;
        results.GetNextAssoc(pos, region, result);
        UINT group = cur;
        CheckData_P check;
        CArray<T_POINT2D> outline;
        if (!result.GetVal(group, check, 1) || !result.GetPolyGon(outline)) continue;
        // The region's outline is stored in metres.
        ICheckToolUtil::s_ConvertPolyByRatio(outline, 1.0 / CurrentUnitCtrl::Cur2M());
        const CFVDRatioStrMaker maker =
            checkfig::MakeCheckLine(check, CheckData_P::SIGN_ABS, "IDS_RESULT_TEXT_RATIO", group, cur, IsRatioMode());
        // The block is reused: each region's line takes its own colour.
        block.m_Colors.RemoveAll();
        maker.MakeStr(block.m_strText, block.m_Colors);
        SetCurrentLayer(FVD_LAYER_TEXT);
        block.m_Polygon = outline;
        block.DrawInPolygon(checkfig::DrawingHandleOf(*this), 1);
        SetCurrentLayer(FVD_LAYER_SUBELEM);
        T_POLYGON2D ring;
        ring.Set(outline.GetData(), static_cast<int>(outline.GetSize()));
        ring.MakeColse();
        m_pDrawing->DrawPolyLine(ring, 0, "");
    }
    SelectLayer();
    return TRUE;
}

BOOL CFVDMtsbCheck_NTCQ::GetDescription(CArray<COLORREF>&, CString& text) { return PunchingDescription(text); }

BOOL CFVDMtsbCheck_NTCQ::GetCheckMap(const T_PCDMTSB_D* record, SlabCJCheckMap& map) {
    return CopyMap(record ? &record->m_mapCQ : nullptr, map);
}
