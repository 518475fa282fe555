#include "module/figures/FigureCheckText.h"

#include <string>

#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "host/check/CheckData.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/CDBDoc.h"
#include "host/db/DBTables.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureShared.h"

namespace {

void AddUnfavourable(std::map<UINT, CString>& out, BOOL addUnfavourable) {
    if (addUnfavourable && out.size() > 1) out[0] = CMsgDll::pfuncLoadStr("IDS_TM_FIGURE_DISADVANTAGE_LOADCOMB", 0);
}

}  // namespace

BOOL ReportGroupWithoutTerms(UINT key, BOOL combinationServes) {
    CDataBase* pDB = figshared::ModelDB();
    if (!pDB || key == 0 || !pDB->Table<DBT_CKLG>().Find(key)) return TRUE;
    if (combinationServes && pDB->Table<DBT_PLCOM>().Find(key)) return TRUE;
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    std::vector<std::pair<UINT, double>> terms;
    std::string why;
    if (groups.GetTerms(key, terms, &why)) return TRUE;
    CString text;
    text.Format("check group %u \"%s\" has no value: %s (a case name holding \"+\" is written in double "
                "quotes, as 1.35\"DL+LL\")",
                key, groups.GetCombText(key).GetString(), why.c_str());
    // Said once, not again for each drawing of the same sheet (view, export).
    static std::string s_last;
    if (s_last != text.GetString()) GMsgOutNF(text.GetString());
    s_last = text.GetString();
    return FALSE;
}

CString MakeLoadCombLabel(UINT key, BOOL blank) {
    CString s;
    CDataBase* pDB = figshared::ModelDB();
    if (blank || !pDB) return s;
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    T_CKLG_D rec;
    rec.Initialize();
    if (!groups.Get(key, rec)) return s;
    s.Format(groups.IsBombLoadComb(key) ? "B%d" : "%d", rec.number);
    return s;
}

int MakeUnfavourableLoadCombText(std::map<UINT, CString>& out, const CArray<UINT, UINT>& keys,
                                 BOOL addUnfavourable, const std::set<int>* filter) {
    out.clear();
    CDataBase* pDB = figshared::ModelDB();
    if (pDB) {
        CClassLdgp groups;
        groups.ConnectToDB(pDB);
        for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
            CString text;
            groups.GetLdgpSortStrTex(keys[i], text, nullptr, nullptr, nullptr, filter);
            if (text.GetLength() > 1) out[keys[i]] = text;
        }
    }
    AddUnfavourable(out, addUnfavourable);
    return static_cast<int>(out.size());
}

int CollectCheckLoadCases(std::map<UINT, CString>& out, int kind, BOOL addUnfavourable,
                          const std::set<int>* filter) {
    CArray<UINT, UINT> keys;
    ICheckToolUtil::s_GetLoadCaseKeys(keys, kind);
    return MakeUnfavourableLoadCombText(out, keys, addUnfavourable, filter);
}

int CollectCheckLoadCasesEx(std::map<UINT, CString>& out, int kind, BOOL addUnfavourable, int equaFilter) {
    out.clear();
    CArray<UINT, UINT> keys, kept;
    ICheckToolUtil::s_GetLoadCaseKeys(keys, kind);
    CDataBase* pDB = figshared::ModelDB();
    if (!pDB) return 0;
    CClassLdgp groups;
    groups.ConnectToDB(pDB);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        const bool seismic = groups.IsEquaLoadComb(keys[i]) != 0;
        if ((equaFilter == 1 && seismic) || (equaFilter == 2 && !seismic)) continue;
        kept.Add(keys[i]);
    }
    return MakeUnfavourableLoadCombText(out, kept, addUnfavourable, nullptr);
}

void DrawCheckRatioText(int drawing, const CArray<T_POINT2D>& outline, double angle, const CheckData_P* check,
                        UINT loadComb, BOOL blankLabel, BOOL ratioMode, int verJust) {
    if (!check) return;
    const CString prefix = CMsgDll::pfuncLoadStr("IDS_RESULT_TEXT_RATIO", 0);
    const CString suffix = MakeLoadCombLabel(loadComb, blankLabel);
    CFVDRatioStrMaker maker(check->GetRatio(0), prefix, suffix, 0, 1);
    maker.SetValues(check->get_Force(), check->get_BaseR(), ratioMode);
    CFVDTextBlock block;
    block.m_dAngle = angle;
    block.m_Polygon = outline;
    block.SetAnchor(1);
    block.m_nVerJust = verJust;
    maker.MakeStr(block.m_strText, block.m_Colors);
    block.DrawInPolygon(drawing, 1);
}

void CollectDesignLoadCombinations(std::map<UINT, CString>& out, int type, CDataBase* model,
                                   const std::set<int>* filter) {
    out.clear();
    if (type <= 90 || !model) return;
    CClassLdgp groups;
    groups.ConnectToDB(model);
    CArray<UINT, UINT> keys;
    groups.GetDesignUseLoadComb(keys, 1);
    MakeUnfavourableLoadCombText(out, keys, TRUE, filter);
}
