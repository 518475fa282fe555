// The horizontal pile check (303) and the pile reaction figure (305).
#include "module/figures/CFVDPileCheckFigures.h"

#include <cmath>

#include "host/check/CheckTables.h"
#include "host/check/ICheckToolUtil.h"
#include "host/check/IDesignToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"
#include "module/figures/BaseMapDraw.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"

IMPLEMENT_DYNCREATE(CFVDPileCheck_HOR, CFVDCheckTypeBase)
IMPLEMENT_DYNCREATE(CFVDPileCheck_React, CFVDBase)

namespace {
constexpr int kPileElementType = 403;  // analysis members made from a model pile

// Position and section size of a model pile; false when a record is missing.
bool PilePlace(UINT pileKey, T_PILE_D& pile, T_MEMB_D& memb, double& x, double& y, double& d) {
    T_PISP_D sec;
    T_PONT_D pont;
    if (!PileLookups(pileKey, pile, memb, sec, pont)) return false;
    x = pont.x;
    y = pont.y;
    d = sec.d;
    return true;
}
}  // namespace

void CFVDPileCheck_HOR::DrawFigure() {
    m_setListed = ListedGroups();
    checkfig::WalkTable<CClassPile>(*this, [this](UINT key, CDataBase* db) { return DrawOnePile(key, db); });
}

BOOL CFVDPileCheck_HOR::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_PILE_TEXT_HOR", 0);
    return 1;
}

BOOL CFVDPileCheck_HOR::DrawOnePile(UINT key, CDataBase* db) {
    CClassPCDPile checks;
    checks.ConnectToDB(db);
    T_PCDPILE_D record;
    if (!checks.Get(key, record)) return TRUE;
    const UINT cur = GetCurLoadCase();
    T_PILE_D pile;
    T_MEMB_D memb;
    double x, y, d;
    if (!PilePlace(key, pile, memb, x, y, d)) return TRUE;
    UINT keys[2] = {cur, cur};
    CheckData_P results[2];
    for (int dir = 0; dir < 2; ++dir) {
        if (cur == 0) keys[dir] = record.GetCZLMinRatioLdgpKey(3 + dir, 0, &m_setListed);
        // A direction without a governing group shows the empty result (as the map's default).
        if (keys[dir] != 0) results[dir] = record.m_mapCZL[keys[dir]].GetValue(3 + dir);
    }
    CArray<CFVDRatioStrMaker> makers;
    for (int dir = 0; dir < 2; ++dir) {
        CFVDRatioStrMaker maker(std::fabs(results[dir].GetRatio(CheckData_P::SIGN_ABS)), "",
                                MakeLoadCombLabel(keys[dir], cur != 0), 0);
        maker.SetValues(results[dir].get_Force(), results[dir].get_BaseR(), IsRatioMode());
        makers.Add(maker);
    }
    CFVDTextBlock block;
    CFVDRatioStrMaker::s_MakeStr(makers, block.m_strText, block.m_Colors, "\n");
    block.DrawAt(checkfig::DrawingHandleOf(*this), T_POINT2D{x + d, y + d});
    return TRUE;
}

void CFVDPileCheck_React::DrawFigure() {
    ApplyScale();
    CDataBase* post = GetPostDataBase();
    if (!post) return;
    // The reactions are summed from each check group's own terms: a group key is no analysis
    // combination key (the two only happen to coincide in some projects).
    m_Terms.clear();
    CClassLdgp groups;
    groups.ConnectToDB(GetModelDataBase());
    std::map<UINT, CString> listed;
    if (GetCurLoadCase() == 0)
        CollectLoadCases(listed);
    else
        listed[GetCurLoadCase()];
    ReportGroupWithoutTerms(GetCurLoadCase(), FALSE);
    for (const auto& entry : listed) {
        if (entry.first == 0) continue;
        std::vector<std::pair<UINT, double>> terms;
        groups.GetTerms(entry.first, terms);
        m_Terms[entry.first] = terms;
    }
    CClassPMemb elems;
    elems.ConnectToDB(post);
    CArray<UINT, UINT> keys;
    elems.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) DrawOneElement(keys[i], post);
    DrawFigureNotes();
}

BOOL CFVDPileCheck_React::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITFORCE_KN", 0);
    return 1;
}

BOOL CFVDPileCheck_React::DrawOneElement(UINT key, CDataBase* post) {
    CClassPMemb elems;
    elems.ConnectToDB(post);
    T_PMEMB_D elem;
    if (!elems.Get(key, elem) || elem.aNode.GetSize() < 1 || elem.type != kPileElementType) return TRUE;
    CClassPNode nodes;
    nodes.ConnectToDB(post);
    T_PNODE_D node;
    T_PILE_D pile;
    T_MEMB_D memb;
    double px, py, d;
    if (!nodes.Get(elem.aNode[0], node) || !PilePlace(elem.pileKey, pile, memb, px, py, d)) return TRUE;
    const UINT cur = GetCurLoadCase();
    UINT group = cur;
    double value = 0.0;
    bool found = false;
    T_MEMB_D under;
    if (pile.aMemb.GetSize() < 1 || !ICheckToolUtil::s_GetMemb(pile.aMemb[0], under)) return TRUE;
    if (under.type == MEMB_FOOTING) {
        // A pile under a cap: its top force as the local-compression check holds it; without a
        // load case the governing group of that check (key 0 is never a record's entry).
        CClassPCDPile checks;
        checks.ConnectToDB(GetModelDataBase());
        T_PCDPILE_D record;
        CheckData_P result;
        if (checks.Get(elem.pileKey, record)) {
            if (group == 0) DATA_P::GetMinCheckDataLdgpKey(record.m_mapJY, group);
            found = DATA_P::GetCheckDataMapResult(record.m_mapJY, group, result);
            value = result.get_Force();
        }
    } else {
        found = GroupReaction(key, group, value);
    }
    CArray<T_POINT2D> square;
    ICheckToolUtil::s_MakePolyLine(d, d, 0.0, T_POINT2D{node.x, node.y}, square);
    CFVDTextBlock block;
    if (found) {
        CFVDRatioStrMaker maker(value, "", MakeLoadCombLabel(group, cur != 0), 0);
        maker.MakeStrNoColor(block.m_strText);
    } else {
        block.m_strText = CMsgDll::pfuncLoadStr("IDS_DESCREPT_PILE_REACT_NONE", 0);
    }
    block.m_Polygon.Copy(square);
    block.SetAnchor(1);
    block.DrawInPolygon(checkfig::DrawingHandleOf(*this), 1);
    return TRUE;
}

BOOL CFVDPileCheck_React::GroupReaction(UINT elem, UINT& group, double& value) {
    IRactFinder* finder = IRactFinder::Instance();
    BOOL found = FALSE;
    UINT best = 0;
    double bestValue = 0.0;
    for (const auto& [key, terms] : m_Terms) {
        if (group != 0 && key != group) continue;
        double v = 0.0;
        if (terms.empty() || !finder->GetCheckGroupValue(elem, terms, v)) continue;
        if (!found || std::fabs(v) > std::fabs(bestValue)) {
            best = key;
            bestValue = v;
            found = TRUE;
        }
    }
    if (!found) return FALSE;
    group = best;
    value = bestValue;
    return TRUE;
}
