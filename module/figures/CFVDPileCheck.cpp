// The per-pile check figures (302, 307, 306, 301, 300) and the envelope texts of 302 and 307.
#include "module/figures/CFVDPileCheckFigures.h"

#include <algorithm>
#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/check/CheckTables.h"
#include "host/check/ICheckToolUtil.h"
#include "host/check/PileCheckManage.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"
#include "module/figures/BaseMapDraw.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"

IMPLEMENT_DYNCREATE(CFVDPileCheck_CZL, CFVDCheckTypeBase)
IMPLEMENT_DYNCREATE(CFVDPileCheck_KZCZL, CFVDPileCheck_CZL)
IMPLEMENT_DYNCREATE(CFVDPileCheck_CZL_KB, CFVDPileCheck_CZL)
IMPLEMENT_DYNCREATE(CFVDPileCheck_JY, CFVDPileCheck_CZL)
IMPLEMENT_DYNCREATE(CFVDPileCheck_CQ, CFVDPileCheck_CZL)

namespace {
CString Load(const char* key) { return CMsgDll::pfuncLoadStr(key, 0); }
}  // namespace

void CFVDPileCheck_CZL::DrawFigure() {
    m_setListed = ListedGroups();
    // The envelope texts take the figure's own scale, precision and text style: apply it first.
    ApplyScale();
    if (HasGroupTexts()) DrawGroupTexts();
    checkfig::WalkTable<CClassPile>(*this, [this](UINT key, CDataBase* db) { return DrawOnePile(key, db); });
}

void CFVDPileCheck_CZL::CollectLoadCases(std::map<UINT, CString>& out) {
    if (m_eType <= 90) return;
    IPiltCheckManage manager(GetModelDataBase());
    out.clear();
    if (!manager.SetType(GetPileCheckType())) return;
    CArray<UINT, UINT> groups, offered;
    manager.GetLoadGroups(groups);
    for (INT_PTR i = 0; i < groups.GetSize(); ++i)
        if (OffersGroup(groups[i])) offered.Add(groups[i]);
    MakeUnfavourableLoadCombText(out, offered, TRUE, nullptr);
}

BOOL CFVDPileCheck_CZL::GetDescription(CArray<COLORREF>&, CString& text) {
    text = Load("IDS_DESCREPT_PILE_TEXT_CZL") + "\n" + Load("IDS_DESCREPT_PILE_TEXT_PILE_CZL");
    return 1;
}
BOOL CFVDPileCheck_KZCZL::GetDescription(CArray<COLORREF>&, CString& text) {
    text = Load("IDS_DESCREPT_PILE_TEXT_CZL") + "\n" + Load("IDS_DESCREPT_PILE_TEXT_PILE_CZL_KZ");
    return 1;
}
BOOL CFVDPileCheck_CZL_KB::GetDescription(CArray<COLORREF>&, CString& text) {
    text = Load("IDS_DESCREPT_PILE_TEXT_CZL");
    return 1;
}
BOOL CFVDPileCheck_JY::GetDescription(CArray<COLORREF>&, CString& text) {
    text = Load("IDS_DESCREPT_PILE_TEXT_JY");
    return 1;
}
BOOL CFVDPileCheck_CQ::GetDescription(CArray<COLORREF>&, CString& text) {
    text = Load("IDS_DESCREPT_PILE_TEXT_CQ");
    return 1;
}

void CFVDPileCheck_KZCZL::CollectLoadCases(std::map<UINT, CString>& out) {
    CFVDPileCheck_CZL::CollectLoadCases(out);
    if (!out.empty() && !out.count(0)) out[0] = Load("IDS_TM_FIGURE_DISADVANTAGE_LOADCOMB");
}

BOOL CFVDPileCheck_KZCZL::OffersGroup(UINT key) {
    CClassLdgp groups;
    groups.ConnectToDB(GetModelDataBase());
    return groups.IsEquaLoadComb(key);
}

BOOL CFVDPileCheck_CZL::GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result) {
    IPiltCheckManage manager(GetModelDataBase());
    if (!manager.SetType(GetPileCheckType())) return 0;
    manager.SetLoadGroups(&m_setListed);
    return manager.GetCheckData(key, record, result);
}

BOOL CFVDPileCheck_CZL::ReadPileRecord(const CClassPCDPile& table, UINT key, T_PCDPILE_D& record) {
    return table.GetBearing(key, record);
}
BOOL CFVDPileCheck_JY::ReadPileRecord(const CClassPCDPile& table, UINT key, T_PCDPILE_D& record) {
    return table.Get(key, record);
}
BOOL CFVDPileCheck_CQ::ReadPileRecord(const CClassPCDPile& table, UINT key, T_PCDPILE_D& record) {
    return table.Get(key, record);
}

namespace {
// The uplift result of a pile in tension (a resistance, the top force pulling).
bool InTension(const CheckData_P& c) {
    return std::fabs(c.get_BaseR()) >= CMathFunc::m_NormalZero && c.get_Force() <= -CMathFunc::m_NormalZero;
}

// The entries of map under the groups of keys.
CheckDataMap Listed(const CheckDataMap& map, const std::set<UINT>& keys) {
    CheckDataMap out;
    CheckData_P c;
    for (UINT k : keys)
        if (map.GetVal(k, c)) out.SetAt(k, c);
    return out;
}
}  // namespace

// Without a load case the pile's governing group among the listed groups in which it is in
// tension: a group that compresses it would hide it although another pulls it.
BOOL CFVDPileCheck_CZL_KB::GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result) {
    PileCZLCheckData_P entry;
    if (key == 0) {
        std::set<UINT> pulling;
        for (UINT g : m_setListed)
            if (record.m_mapCZL.GetVal(g, entry) && InTension(entry.GetValue(2))) pulling.insert(g);
        key = record.GetCZLMinRatioLdgpKey(2, 0, &pulling);
    }
    if (!record.m_mapCZL.GetVal(key, entry)) return 0;
    result = entry.GetValue(2);
    return InTension(result);
}

// Without a load case the pile's governing group among the listed ones: the maps hold no entry
// under key 0, and the figure would otherwise stay empty.
BOOL CFVDPileCheck_JY::GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result) {
    if (key == 0) DATA_P::GetMinCheckDataLdgpKey(Listed(record.m_mapJY, m_setListed), key);
    return DATA_P::GetCheckDataMapResult(record.m_mapJY, key, result) > 0;
}
BOOL CFVDPileCheck_CQ::GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result) {
    if (key == 0) DATA_P::GetMinCheckDataLdgpKey(Listed(record.m_mapCQ, m_setListed), key);
    return DATA_P::GetCheckDataMapResult(record.m_mapCQ, key, result) > 0;
}

BOOL CFVDPileCheck_CZL::DrawOnePile(UINT key, CDataBase* db) {
    CClassPCDPile checks;
    checks.ConnectToDB(db);
    T_PCDPILE_D record;
    if (!ReadPileRecord(checks, key, record)) return TRUE;
    const UINT cur = GetCurLoadCase();
    T_PILE_D pile;
    T_MEMB_D memb;
    T_PISP_D sec;
    T_PONT_D pont;
    if (!PileLookups(key, pile, memb, sec, pont)) return TRUE;
    UINT group = cur;
    CheckData_P result;
    if (!GetPileCheckData(group, record, result)) return TRUE;
    CFVDRatioStrMaker maker(result.GetRatio(CheckData_P::SIGN_ABS), "", MakeLoadCombLabel(group, cur != 0), 0);
    maker.SetValues(result.get_Force(), result.get_BaseR(), IsRatioMode());
    CArray<CFVDRatioStrMaker> makers;
    makers.Add(maker);
    CFVDTextBlock block;
    CFVDRatioStrMaker::s_MakeStr(makers, block.m_strText, block.m_Colors, "\n");
    block.DrawAt(checkfig::DrawingHandleOf(*this), T_POINT2D{pont.x + sec.d, pont.y + sec.d});
    return TRUE;
}

void CFVDPileCheck_CZL::MakeGroupText(const PileResultMap& results, CString& text, CArray<COLORREF>& colours) {
    const bool several = results.GetCount() > 1;
    const CString sep = several ? ";  " : "\n";
    const UINT cur = GetCurLoadCase();
    CClassPisp sections;
    sections.ConnectToDB(GetModelDataBase());
    CArray<CFVDRatioStrMaker> makers;
    bool first = true;
    for (POSITION pos = results.GetStartPosition(); pos;) {
        UINT sec;
        _PileResultInfo info;
        results.GetNextAssoc(pos, sec, info);
        CString lead = first ? "" : "\n";
        if (several) {
            T_PISP_D rec;
            if (!sections.Get(sec, rec)) continue;
            lead += CString(rec.name) + ":";
        }
        first = false;
        CFVDRatioStrMaker ave(info.GetAveRatio(), lead + Load("IDS_RESULT_TEXT_PJ"),
                              MakeLoadCombLabel(info.m_nAveKey, cur != 0), 0);
        ave.SetValues(info.GetAveValue(), info.m_dLimit, IsRatioMode());
        CFVDRatioStrMaker max(info.GetMaxRatio(), Load("IDS_RESULT_TEXT_MAXPJ"),
                              MakeLoadCombLabel(info.m_nMaxKey, cur != 0), 0);
        max.SetValues(info.m_dMaxValue, 1.2 * info.m_dLimit, IsRatioMode());
        makers.Add(ave);
        makers.Add(max);
    }
    CFVDRatioStrMaker::s_MakeStr(makers, text, colours, sep);
    if (several) text += sep;
}

void CFVDPileCheck_CZL::DrawGroupText(const PileResultMap& results, const CArray<T_POINT2D>& outline,
                                      const CArray<UINT, UINT>& piles) {
    CFVDTextBlock block;
    block.SetAnchor(4);
    MakeGroupText(results, block.m_strText, block.m_Colors);
    block.m_Polygon.Copy(outline);
    T_POINT2D at;
    if (!block.GetPolygonAnchor(1, at)) return;
    at.y = std::min(at.y, s_PilesBottom(piles, at.y));
    block.DrawAt(checkfig::DrawingHandleOf(*this), at);
}

double CFVDPileCheck_CZL::s_PilesBottom(const CArray<UINT, UINT>& piles, double below) {
    for (INT_PTR i = 0; i < piles.GetSize(); ++i) {
        T_PILE_D pile;
        T_MEMB_D memb;
        T_PISP_D sec;
        T_PONT_D pont;
        if (PileLookups(piles[i], pile, memb, sec, pont)) below = std::min(below, pont.y - 0.5 * sec.d);
    }
    return below;
}

void CFVDPileCheck_CZL::s_GroupOutline(const CArray<T_POINT2D>& pts, CArray<T_POINT2D>& outline) {
    outline.RemoveAll();
    if (pts.GetSize() == 0) return;
    double x0 = pts[0].x, x1 = pts[0].x, y0 = pts[0].y, y1 = pts[0].y;
    for (INT_PTR i = 1; i < pts.GetSize(); ++i) {
        if (pts[i].x < x0 - 1e-6) x0 = pts[i].x;
        if (pts[i].x > x1 + 1e-6) x1 = pts[i].x;
        if (pts[i].y < y0 - 1e-6) y0 = pts[i].y;
        if (pts[i].y > y1 + 1e-6) y1 = pts[i].y;
    }
    outline.Add(T_POINT2D{x1, y1});
    if (std::hypot(x1 - x0, y1 - y0) < 0.01) return;
    outline.Add(T_POINT2D{x0, y1});
    outline.Add(T_POINT2D{x0, y0});
    outline.Add(T_POINT2D{x1, y0});
    outline.Add(T_POINT2D{x1, y1});
}

BOOL CFVDPileCheck_CZL::DrawGroupTexts() {
    SetCurrentLayer(50);
    CDataBase* db = GetModelDataBase();
    IPiltCheckManage manager(db);
    if (!manager.SetType(GetPileCheckType())) return 0;
    manager.SetLoadGroups(&m_setListed);
    const UINT cur = GetCurLoadCase();
    CClassMtsb rafts;
    CClassMemb membs;
    CClassColf footings;
    CClassBeam beams;
    rafts.ConnectToDB(db);
    membs.ConnectToDB(db);
    footings.ConnectToDB(db);
    beams.ConnectToDB(db);
    PileResultMap results;

    CArray<UINT, UINT> keys;
    rafts.GetMainMtsbList(keys, -1, -1, 0, nullptr);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        CArray<UINT, UINT> piles;
        CArray<double, double> xy;
        if (membs.GetPileKeyListUnderFoundation(keys[i], piles, 1) < 1 || !manager.GetBaoLuoData(piles, cur, results) ||
            !rafts.GetPolygonShape(keys[i], xy, 1))
            continue;
        CArray<T_POINT2D> outline;
        for (INT_PTR k = 0; k + 1 < xy.GetSize(); k += 2) outline.Add(T_POINT2D{xy[k], xy[k + 1]});
        DrawGroupText(results, outline, piles);
    }

    footings.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        CArray<UINT, UINT> piles;
        CArray<T_POINT2D> outline;
        if (membs.GetPileKeyListUnderFoundation(keys[i], piles, 1) < 1 || !manager.GetBaoLuoData(piles, cur, results) ||
            !ICheckToolUtil::s_GetColfPolyLine(keys[i], outline, 0, 0, 0))
            continue;
        DrawGroupText(results, outline, piles);
    }

    CArray<UINT, UINT> all, plain;
    beams.GetKeyList(all);
    for (INT_PTR i = 0; i < all.GetSize(); ++i) {
        T_BEAM_D beam;
        if (beams.Get(all[i], beam) && beam.type == 0) plain.Add(all[i]);
    }
    CArray<CArray<UINT, UINT>*, CArray<UINT, UINT>*> groups;
    beams.GetBeamGroup(groups, plain);
    for (INT_PTR g = 0; g < groups.GetSize(); ++g) {
        const CArray<UINT, UINT>& group = *groups[g];
        CArray<UINT, UINT> piles, ponts;
        for (INT_PTR b = 0; b < group.GetSize(); ++b) {
            CArray<UINT, UINT> under, pts;
            membs.GetPileKeyListUnderFoundation(group[b], under, 1);
            for (INT_PTR p = 0; p < under.GetSize(); ++p)
                if (std::find(piles.GetData(), piles.GetData() + piles.GetSize(), under[p]) ==
                    piles.GetData() + piles.GetSize())
                    piles.Add(under[p]);
            membs.GetPontKeyList(group[b], pts);
            ponts.Append(pts);
        }
        if (piles.GetSize() < 1 || !manager.GetBaoLuoData(piles, cur, results)) continue;
        CArray<T_POINT2D> pts, outline;
        ICheckToolUtil::s_ConvertPont2PolyLine(ponts, pts, db);
        s_GroupOutline(pts, outline);
        if (outline.GetSize() > 0) DrawGroupText(results, outline, piles);
    }
    CClassBeam::FreeBeamGroup(groups);
    return 1;
}
