// Figure texts that read the check records and the check load groups: load-combination labels,
// the load-case lists of the check figures and the ratio label drawn in an element.
#pragma once

#include <map>
#include <set>

#include "host/base/GeomTypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

class CDataBase;
class CheckData_P;

// When key names a check group whose text gives no terms, and no analysis combination under its
// key serves instead (combinationServes), says so in the message window with how to write a case
// name holding "+"; returns FALSE then, else TRUE.
BOOL ReportGroupWithoutTerms(UINT key, BOOL combinationServes = TRUE);

// "B12" for blast combination number 12, "12" for any other group; empty when blank is set or
// the project has no such group.
CString MakeLoadCombLabel(UINT key, BOOL blank);

// out = key -> text of the groups of kind (E_Ldgp_Type) whose text has more than one character
// (filter: load-case types to keep, null keeps all). With more than one entry and
// addUnfavourable, key 0 names the most unfavourable combination. Returns the entry count.
int CollectCheckLoadCases(std::map<UINT, CString>& out, int kind, BOOL addUnfavourable,
                          const std::set<int>* filter);
int MakeUnfavourableLoadCombText(std::map<UINT, CString>& out, const CArray<UINT, UINT>& keys,
                                 BOOL addUnfavourable, const std::set<int>* filter);
// The design combinations of the model's load groups for a design sheet (type above 90), with
// the most unfavourable entry (filter as above); nothing for base maps or without a model.
void CollectDesignLoadCombinations(std::map<UINT, CString>& out, int type, CDataBase* model,
                                   const std::set<int>* filter = nullptr);
// As CollectCheckLoadCases without a filter; equaFilter 1 keeps the groups without seismic
// action, 2 only the seismic ones, any other value all.
int CollectCheckLoadCasesEx(std::map<UINT, CString>& out, int kind, BOOL addUnfavourable, int equaFilter);

// The ratio of a check written in the outline (anchor top middle, turned by angle): the ratio
// label, the ratio (or resistance "/" action when ratioMode is 0) and the combination label in
// brackets, green when it passes and red when it fails. Nothing without a check.
void DrawCheckRatioText(int drawing, const CArray<T_POINT2D>& outline, double angle, const CheckData_P* check,
                        UINT loadComb, BOOL blankLabel, BOOL ratioMode, int verJust);
