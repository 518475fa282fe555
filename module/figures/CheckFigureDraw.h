// Pieces the check figures share: the walk over one table of the model database and the ratio
// text of one check.
#pragma once

#include "host/base/CMsgDll.h"
#include "host/check/CheckData.h"
#include "host/db/DB_CDataClass.h"
#include "module/figures/CFVDBase.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/FigureCheckText.h"

namespace checkfig {

// ApplyScale; the keys of table Table in list order (step(key, db) FALSE ends the walk); the
// notes. Nothing at all without a model database.
template <class Table, class Step> void WalkTable(CFVDBase& fig, Step step) {
    fig.ApplyScale();
    CDataBase* db = CFVDBase::GetModelDataBase();
    if (!db) return;
    Table table;
    table.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    table.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!step(keys[i], db)) break;
    fig.DrawFigureNotes();
}

// The maker of one check line: the ratio of selector dataSign, the prefix text of prefixKey, the
// load group's label (empty while a load case is selected), resistance / action in value mode.
inline CFVDRatioStrMaker MakeCheckLine(const CheckData_P& check, int dataSign, const char* prefixKey, UINT group,
                                       UINT curLoadCase, BOOL ratioMode) {
    CFVDRatioStrMaker maker(check.GetRatio(dataSign), CMsgDll::pfuncLoadStr(prefixKey, 0),
                            MakeLoadCombLabel(group, curLoadCase != 0), 0);
    maker.SetValues(check.get_Force(), check.get_BaseR(), ratioMode);
    return maker;
}

// The two lines of a base-pressure check (average, maximum; selector 3): with load case 0 each
// of its own governing group. A line whose group the map does not hold is left out; hasAve and
// hasMax say which lines are there.
inline CArray<CFVDRatioStrMaker> MakePressureLines(const CZLCheckMap& map, UINT cur, BOOL ratioMode, bool& hasAve,
                                                   bool& hasMax) {
    UINT aveKey = cur, maxKey = cur;
    if (cur == 0) DATA_P::GetCZLMinRatioLdgpKey(map, aveKey, maxKey);
    CZLCheckData_P ave, max;
    hasAve = map.GetVal(aveKey, ave) != 0;
    hasMax = map.GetVal(maxKey, max) != 0;
    CArray<CFVDRatioStrMaker> makers;
    if (hasAve)
        makers.Add(MakeCheckLine(ave.m_Ave, CheckData_P::SIGN_SIGNED, "IDS_RESULT_TEXT_PJ", aveKey, cur, ratioMode));
    if (hasMax)
        makers.Add(MakeCheckLine(max.m_Max, CheckData_P::SIGN_SIGNED, "IDS_RESULT_TEXT_MAXPJ", maxKey, cur, ratioMode));
    return makers;
}

// The figure's drawing as the text blocks take it.
int DrawingHandleOf(CFVDBase& fig);

}  // namespace checkfig
