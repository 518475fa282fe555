// Overall checks of the rafts: bearing (500), stability (515), load centre (501), anti-floating (514).
#include "module/figures/CFVDCheckFigures.h"

#include <cmath>
#include <set>

#include "host/base/CurrentUnitCtrl.h"
#include "host/check/RaftCheckTables.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/CVdrawUtil.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"
#include "module/figures/FigureText.h"
#include "module/figures/FigureTextMove.h"

IMPLEMENT_DYNCREATE(CFVDMTSBCheck_CZL, CFVDCheckTypeBase)
IMPLEMENT_DYNCREATE(CFVDMTSBCheck_WDX, CFVDMTSBCheck_CZL)
IMPLEMENT_DYNCREATE(CFVDMTSBCheck_Center, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDMtsbCheck_KF, CFVDCheckTypeBase)

namespace {

bool ReadRaftRecord(UINT key, CDataBase* db, T_PCDMTSB_D& record) {
    CClassPCDMtsb table;
    table.ConnectToDB(db);
    return table.Get(key, record) != 0;
}

// The outline's box; FALSE without an outline. A point moves a bound only when it passes it by
// more than 1e-6.
BOOL RaftBox(UINT key, T_POINT2D& lo, T_POINT2D& hi) {
    CArray<T_POINT2D> pts;
    if (!ICheckToolUtil::s_GetMtsbPolyline(key, pts, 1) || pts.GetSize() < 1) return FALSE;
    lo = hi = pts[0];
    for (INT_PTR i = 1; i < pts.GetSize(); ++i) {
        if (pts[i].x < lo.x - 1e-6) lo.x = pts[i].x;
        if (pts[i].y < lo.y - 1e-6) lo.y = pts[i].y;
        if (pts[i].x > hi.x + 1e-6) hi.x = pts[i].x;
        if (pts[i].y > hi.y + 1e-6) hi.y = pts[i].y;
    }
    return TRUE;
}

// The middle of the outline's box, belowMM millimetres under its lower edge.
BOOL PointBelowRaft(UINT key, double belowMM, T_POINT2D& at) {
    T_POINT2D lo, hi;
    if (!RaftBox(key, lo, hi)) return FALSE;
    at.x = 0.5 * (lo.x + hi.x);
    at.y = lo.y - belowMM / CurrentUnitCtrl::Cur2MM();
    return TRUE;
}

// Characters of a UTF-8 text (continuation bytes not counted).
size_t CountTextChars(const CString& text) {
    size_t n = 0;
    for (const char* p = text.GetString(); *p; ++p)
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

BOOL CFVDMTSBCheck_CZL::s_GetTextPoint(UINT key, T_POINT2D& at, BOOL useCentroid) {
    CClassMtsb rafts;
    rafts.ConnectToDB(CFVDBase::GetModelDataBase());
    if (useCentroid && rafts.IsSubMtsb(key)) {
        CArray<T_POINT2D> pts;
        double area = 0.0;
        return ICheckToolUtil::s_GetMtsbPolyline(key, pts, 1) && ICheckToolUtil::s_GetPolyCentroid(pts, at, area);
    }
    return PointBelowRaft(key, 1500.0, at);
}

void CFVDMTSBCheck_CZL::DrawFigure() {
    checkfig::WalkTable<CClassMtsb>(*this, [this](UINT key, CDataBase* db) { return DrawOneRaft(key, db); });
}

BOOL CFVDMTSBCheck_CZL::DrawOneRaft(UINT key, CDataBase* db) {
    T_PCDMTSB_D record;
    if (!ReadRaftRecord(key, db, record)) return TRUE;
    UINT keyMax = 0, keyAvg = 0;
    CheckData_P avg, max;
    if (!SelectCheckData(keyMax, keyAvg, avg, max, record)) return TRUE;
    T_POINT2D at;
    if (!s_GetTextPoint(key, at)) return TRUE;
    DrawCheckText(keyMax, keyAvg, avg, max, at);
    return TRUE;
}

BOOL CFVDMTSBCheck_CZL::SelectCheckData(UINT& keyMax, UINT& keyAvg, CheckData_P& avgCheck, CheckData_P& maxCheck,
                                        T_PCDMTSB_D& record) {
    const UINT cur = GetCurLoadCase();
    keyAvg = keyMax = cur;
    if (cur == 0) DATA_P::GetCZLMinRatioLdgpKey(record.m_mapCZL, keyAvg, keyMax);
    CZLCheckData_P a, m;
    if (!record.m_mapCZL.GetVal(keyAvg, a) || !record.m_mapCZL.GetVal(keyMax, m)) return FALSE;
    avgCheck = a.m_Ave;
    maxCheck = m.m_Max;
    return TRUE;
}

void CFVDMTSBCheck_CZL::DrawCheckText(UINT keyMax, UINT keyAvg, const CheckData_P& avgCheck,
                                      const CheckData_P& maxCheck, const T_POINT2D& at) {
    const UINT cur = GetCurLoadCase();
    CArray<CFVDRatioStrMaker> makers;
    makers.Add(checkfig::MakeCheckLine(avgCheck, CheckData_P::SIGN_SIGNED, "IDS_RESULT_TEXT_PJ", keyAvg, cur,
                                       IsRatioMode()));
    makers.Add(checkfig::MakeCheckLine(maxCheck, CheckData_P::SIGN_SIGNED, "IDS_RESULT_TEXT_MAXPJ", keyMax, cur,
                                       IsRatioMode()));
    CFVDTextBlock block;
    CFVDRatioStrMaker::s_MakeStr(makers, block.m_strText, block.m_Colors, "\n");
    block.DrawAt(checkfig::DrawingHandleOf(*this), at);
}

BOOL CFVDMTSBCheck_CZL::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_CZL", 0);
    return 1;
}

// ---- 515: sliding and overturning ----

void CFVDMTSBCheck_WDX::CollectLoadCases(std::map<UINT, CString>& out) {
    if (m_eType <= 90) return;
    out.clear();
    CDataBase* db = GetModelDataBase();
    if (!db) return;
    CClassPCDMtsb table;
    table.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    table.GetKeyList(keys);
    std::set<std::string> seen;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PCDMTSB_D record;
        if (!table.Get(keys[i], record)) continue;
        for (const auto& [comb, text] : record.m_mapBad) {
            // "Longer than one character" counts characters, not UTF-8 bytes.
            if (CountTextChars(text) <= 1 || !seen.insert(std::string(text.GetString())).second) continue;
            CString entry;
            entry.Format("%d: %s", comb, text.GetString());
            out[comb] = entry;
        }
    }
    if (out.size() >= 2) out[0] = CMsgDll::pfuncLoadStr("IDS_TM_FIGURE_DISADVANTAGE_LOADCOMB", 0);
}

CArray<long> CFVDMTSBCheck_WDX::DrawLoadCaseBlock(const T_POINT2D& at) {
    CArray<long> ids;
    if (!m_pDrawing) return ids;
    CString text;
    auto it = m_LoadCases.lower_bound(m_nCurLoadCase);
    if (it != m_LoadCases.end() && it->first == m_nCurLoadCase) text = it->second;
    SetCurrentTextStyle(FVD_STYLE_SCALE);
    CFVDTextBlock block;
    block.m_nVerJust = VdTextVerTop;
    block.m_strText = text;
    block.SetMoveInfo(static_cast<int>(m_eType), FVD_TEXT_KIND_NOTES, 1, -1);
    return block.Draw(m_pDrawing, at);
}

BOOL CFVDMTSBCheck_WDX::GetDescription(CArray<COLORREF>&, CString& text) {
    text = "抗滑移R1: [F1+F2+(Ep-Ea)*L]/(Ks*Q)\n抗倾覆R2:  Mr/(Kr*Mc)             ";
    return 1;
}

BOOL CFVDMTSBCheck_WDX::SelectCheckData(UINT& keyMax, UINT& keyAvg, CheckData_P& avgCheck, CheckData_P& maxCheck,
                                        T_PCDMTSB_D& record) {
    keyAvg = keyMax = GetCurLoadCase();
    // Load case 0 asks for the governing group of each map (key 0 itself is never stored).
    if (keyAvg == 0) {
        DATA_P::GetMinCheckDataLdgpKey(record.m_mapSlide, keyAvg, CheckData_P::SIGN_SIGNED);
        DATA_P::GetMinCheckDataLdgpKey(record.m_mapTurn, keyMax, CheckData_P::SIGN_SIGNED);
    }
    // Looked up without inserting: a group the map lacks has no line.
    if (!record.m_mapSlide.GetVal(keyAvg, avgCheck)) keyAvg = 0;
    if (!record.m_mapTurn.GetVal(keyMax, maxCheck)) keyMax = 0;
    return TRUE;
}

void CFVDMTSBCheck_WDX::DrawCheckText(UINT keyMax, UINT keyAvg, const CheckData_P& avgCheck,
                                      const CheckData_P& maxCheck, const T_POINT2D& at) {
    if (keyAvg == 0 && keyMax == 0) return;
    const UINT cur = GetCurLoadCase();
    auto line = [&](const CheckData_P& check, const char* prefix, UINT key) {
        CString label;
        if (cur == 0) label.Format("%d", key);
        CFVDRatioStrMaker maker(check.GetRatio(CheckData_P::SIGN_SIGNED), prefix, label, 0);
        maker.SetValues(check.get_Force(), check.get_BaseR(), IsRatioMode());
        return maker;
    };
    CArray<CFVDRatioStrMaker> makers;
    // Sliding and overturning, named as in the formula lines (not as base pressures).
    if (keyAvg != 0) makers.Add(line(avgCheck, "抗滑移R1", keyAvg));
    if (keyMax != 0) makers.Add(line(maxCheck, "抗倾覆R2", keyMax));
    CFVDTextBlock block;
    CFVDRatioStrMaker::s_MakeStr(makers, block.m_strText, block.m_Colors, "\n");
    block.DrawAt(checkfig::DrawingHandleOf(*this), at);
}

// ---- 501: load centre ----

void CFVDMTSBCheck_Center::DrawFigure() {
    checkfig::WalkTable<CClassMtsb>(*this, [this](UINT key, CDataBase* db) { return DrawOneRaft(key, db); });
}

void CFVDMTSBCheck_Center::CollectLoadCases(std::map<UINT, CString>& out) {
    if (m_eType > 90) CollectCheckLoadCases(out, 2, TRUE, nullptr);
}

BOOL CFVDMTSBCheck_Center::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_LENGTHUNIT_M", 0);
    return 1;
}

BOOL CFVDMTSBCheck_Center::DrawOneRaft(UINT key, CDataBase* db) {
    T_PCDMTSB_D record;
    if (!ReadRaftRecord(key, db, record)) return TRUE;
    UINT keyX = GetCurLoadCase(), keyY = keyX;
    if (keyX == 0) DATA_P::GetXYLoadCentMinkey(record.m_mapLC, keyX, keyY);
    LCCheckData_P lcX, lcY;
    if (!record.m_mapLC.GetVal(keyX, lcX) || !record.m_mapLC.GetVal(keyY, lcY)) return TRUE;
    T_POINT2D at;
    if (!PointBelowRaft(key, 1000.0, at) || !m_pDrawing) return TRUE;
    CClassMemb membs;
    membs.ConnectToDB(db);
    CArray<UINT, UINT> piles;
    membs.GetPileKeyListUnderFoundation(key, piles, 1);
    const bool pileGroup = piles.GetSize() > 0;

    // The record holds metres; the marks go in drawing units.
    const double m2cur = 1.0 / CurrentUnitCtrl::Cur2M();
    const CheckData_P ex = lcX.GetValue(0), ey = lcY.GetValue(1);
    const T_POINT2D c{lcX.m_dX * m2cur, lcX.m_dY * m2cur};
    const T_POINT2D act{c.x + ex.get_Force() * m2cur, c.y + ey.get_Force() * m2cur};
    const double r = 500.0 / CurrentUnitCtrl::Cur2MM();
    m_pDrawing->DrawCircle(c.x, c.y, 0.0, r, 0, "");
    m_pDrawing->DrawCircle(c.x, c.y, 0.0, 0.2 * r, 1, "");
    // The cross ends on the action point's circle: cos 45 degrees of its radius.
    const double ra = 300.0 / CurrentUnitCtrl::Cur2MM();
    const double d = ra * std::cos(M_PI / 4.0);
    for (long id : {m_pDrawing->DrawCircle(act.x, act.y, 0.0, ra, 0, ""),
                    m_pDrawing->DrawLine(act.x - d, act.y - d, act.x + d, act.y + d),
                    m_pDrawing->DrawLine(act.x + d, act.y - d, act.x - d, act.y + d)})
        m_pDrawing->SetFigureColor(id, 0xFFFF, FALSE);

    // Both blocks hang from their points, the second 1.2 text heights below the first.
    CFVDTextBlock first;
    first.m_nVerJust = VdTextVerTop;
    first.m_strText.Format(pileGroup ? "桩群反力中心(m)(%.2f, %.2f)" : "筏板形心坐标(m)(%.2f, %.2f)", lcX.m_dX, lcX.m_dY);
    const CArray<long> ids = first.DrawAt(checkfig::DrawingHandleOf(*this), at);
    const double lower = 1.2 * m_pDrawing->GetTextHeight(ids);

    CFVDTextBlock second;
    second.m_nVerJust = VdTextVerTop;
    CString tail;
    if (pileGroup) {
        CClassPile pileTable;
        pileTable.ConnectToDB(db);
        tail.Format("\n桩群竖向承载力 = %.2f(KN)", pileTable.GetPileAllFak(piles) * CurrentUnitCtrl::Cur2KN());
    } else {
        tail.Format("\n0.1*Wx/A = %.2f(m), 0.1*Wy/A = %.2f(m)", ex.get_BaseR(), ey.get_BaseR());
    }
    second.m_strText.Format("总竖向荷载(含基础自重)%.2f(KN)\n作用点坐标(m)(%.2f, %.2f)\nEx = %.2f(m); Ey = %.2f(m)",
                            lcX.m_dV, lcX.m_dX + ex.get_Force(), lcX.m_dY + ey.get_Force(), ex.get_Force(),
                            ey.get_Force());
    second.m_strText += tail;
    second.m_Colors.Add(0xFFFF);
    second.m_Colors.Add(0xFFFF);
    second.m_Colors.Add(0xFFFF80);
    second.DrawAt(checkfig::DrawingHandleOf(*this), T_POINT2D{at.x, at.y - lower});
    return TRUE;
}

// ---- 514: anti-floating ----

void CFVDMtsbCheck_KF::DrawFigure() {
    checkfig::WalkTable<CClassMtsb>(*this, [this](UINT key, CDataBase* db) { return DrawOneRaft(key, db); });
}

BOOL CFVDMtsbCheck_KF::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_TEXT_KF", 0);
    return 1;
}

BOOL CFVDMtsbCheck_KF::DrawOneRaft(UINT key, CDataBase* db) {
    T_PCDMTSB_D record;
    if (!ReadRaftRecord(key, db, record)) return TRUE;
    CheckData_P check;
    // Without inserting: a group without a result shows nothing.
    if (!record.m_mapKF.GetVal(GetCurLoadCase(), check)) return TRUE;
    T_POINT2D at;
    if (!PointBelowRaft(key, 1500.0, at)) return TRUE;
    T_WDLD_D water;
    water.Initialize();
    CClassWdld levels;
    levels.ConnectToDB(db);
    CArray<UINT, UINT> wkeys;
    levels.GetKeyList(wkeys);
    if (wkeys.GetSize() > 0) levels.Get(wkeys[0], water);
    CFVDRatioStrMaker maker(check.GetRatio(CheckData_P::SIGN_ABS), "   W/F", "", 0);
    maker.SetValues(check.get_Force(), check.get_BaseR(), IsRatioMode());
    CFVDTextBlock block;
    maker.MakeStr(block.m_strText, block.m_Colors);
    CString tail;
    // The level is stored in metres and shown as such.
    tail.Format("\n      水浮力:%10.2f(KN)\n  建筑物自重:%10.2f(KN)\n地下水位标高:%10.2f(m)", check.get_Force(),
                check.get_BaseR(), water.level);
    block.m_strText += tail;
    block.DrawAt(checkfig::DrawingHandleOf(*this), at);
    return TRUE;
}
