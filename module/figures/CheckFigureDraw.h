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

// The figure's drawing as the text blocks take it.
int DrawingHandleOf(CFVDBase& fig);

}  // namespace checkfig
