// The check figures of isolated footings, columns and beams: ratio texts drawn over the base
// maps, green where a check passes and red where it fails.
//
//   132 CFVDISOCheck_CZL   bearing capacity: average and maximum base pressure, two lines
//   133 CFVDISOCheck_Weak  weak underlying layer, one line
//   131 CFVDISOCheck_JQ    shear of the footing parts, one line per part in its step
//   130 CFVDISOCheck_CQ    punching of the footing parts
//   450 CFVDCheck_JY       local compression under every column
//   200 CFVDBeamCheck_CZL  soil bearing under every foundation beam, at its middle
//
// Every figure walks the keys of one table of the model database in table order and ends with
// its notes; without a model database it draws nothing, not even the notes. With load case 0
// each line names its own governing load group; with a load case selected the labels are empty.
#pragma once

#include "host/check/CheckData.h"
#include "module/figures/CFVDCheckTypeBase.h"

class CDataBase;
struct T_PCDCOLF_D;

class CFVDISOCheck_CZL : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDISOCheck_CZL)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    // One footing; always TRUE (a footing that cannot be read is skipped).
    BOOL DrawOneFooting(UINT key, CDataBase* db);
};

class CFVDISOCheck_Weak : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDISOCheck_Weak)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawOneFooting(UINT key, CDataBase* db);
};

class CFVDISOCheck_JQ : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDISOCheck_JQ)
public:
    void DrawFigure() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    // The check of part (0: key 0 of the entry's sub-map, k: the k-th of its list) for load
    // group key; FALSE when the map has no entry for key or the entry no such part.
    virtual BOOL GetPartCheckData(UINT key, int part, const CJCheckMap& map, CheckData_P& result);
    // keys = the load group of each of count + 1 parts: the current load case for all, or with
    // load case 0 the governing group of each part.
    virtual BOOL GetPartLoadGroups(CArray<UINT, UINT>& keys, const CJCheckMap& map, int count);
    // map = a copy of the footing's shear map (punching map for CFVDISOCheck_CQ).
    virtual void GetCheckMap(const T_PCDCOLF_D& record, CJCheckMap& map);
    BOOL DrawOneFooting(UINT key, CDataBase* db);
};

class CFVDISOCheck_CQ : public CFVDISOCheck_JQ {
    DECLARE_DYNCREATE(CFVDISOCheck_CQ)
public:
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    void GetCheckMap(const T_PCDCOLF_D& record, CJCheckMap& map) override;
};

class CFVDCheck_JY : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDCheck_JY)
public:
    void DrawFigure() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawOneColumn(UINT key);
};

class CFVDBeamCheck_CZL : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDBeamCheck_CZL)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawOneBeam(UINT key, CDataBase* db);
};

// The overall checks of the rafts, a text block per raft next to its outline:
//
//   500 CFVDMTSBCheck_CZL     bearing capacity: average and maximum base pressure
//   515 CFVDMTSBCheck_WDX     sliding (first line) and overturning (second line)
//   501 CFVDMTSBCheck_Center  raft centroid or pile-group centre, action point, eccentricities
//   514 CFVDMtsbCheck_KF      anti-floating: W/F, buoyancy, building weight, water level
//
// A raft without a check record, without the check of the group or without an outline is
// skipped. Main rafts have their text 1500 mm below the outline (501: 1000 mm), sub-rafts at
// their centroid (500, 515).
struct T_PCDMTSB_D;

class CFVDMTSBCheck_CZL : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDMTSBCheck_CZL)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    // The two groups and checks of the record (average first); FALSE when a group is missing.
    virtual BOOL SelectCheckData(UINT& keyMax, UINT& keyAvg, CheckData_P& avgCheck, CheckData_P& maxCheck,
                                 T_PCDMTSB_D& record);
    virtual void DrawCheckText(UINT keyMax, UINT keyAvg, const CheckData_P& avgCheck, const CheckData_P& maxCheck,
                               const T_POINT2D& at);
    BOOL DrawOneRaft(UINT key, CDataBase* db);
    // The text point of a raft: a sub-raft's centroid, else the middle of its outline's box
    // 1500 mm below it (always the box when useCentroid is FALSE).
    static BOOL s_GetTextPoint(UINT key, T_POINT2D& at, BOOL useCentroid = TRUE);
};

class CFVDMTSBCheck_WDX : public CFVDMTSBCheck_CZL {
    DECLARE_DYNCREATE(CFVDMTSBCheck_WDX)
public:
    // The unfavourable-combination texts of all rafts, "%d: %s", each text once; with two or
    // more an entry 0 for all of them.
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    CArray<long> DrawLoadCaseBlock(const T_POINT2D& at) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL SelectCheckData(UINT& keyMax, UINT& keyAvg, CheckData_P& avgCheck, CheckData_P& maxCheck,
                         T_PCDMTSB_D& record) override;
    void DrawCheckText(UINT keyMax, UINT keyAvg, const CheckData_P& avgCheck, const CheckData_P& maxCheck,
                       const T_POINT2D& at) override;
};

class CFVDMTSBCheck_Center : public CFVDBase {
    DECLARE_DYNCREATE(CFVDMTSBCheck_Center)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override {}
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawOneRaft(UINT key, CDataBase* db);
};

class CFVDMtsbCheck_KF : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDMtsbCheck_KF)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>&) override {}
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawOneRaft(UINT key, CDataBase* db);
};
