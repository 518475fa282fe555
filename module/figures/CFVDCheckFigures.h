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

#include <vector>

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

private:
    // Moves the texts ids (of a block turned by angle) across their direction until they stand
    // 1.2 text heights from every row in rows, then adds theirs.
    void KeepLinesApart(const CArray<long>& ids, double angle, std::vector<double>& rows);
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

// The punching and shear checks on the rafts, from the punching (CQ) and shear (JQ) maps of the
// raft check table:
//
//   502 CFVDMTSBCheck_ColCQ      punching under every column, text in the column's outline
//   503 CFVDMTSBCheck_ColJQ      shear under every column
//   504 CFVDMTSBCheck_WallCQ     punching under every wall group (only groups of walls alone)
//   505 CFVDMTSBCheck_WallJQ     shear under every wall group
//   516 CFVDMtsbCheck_NT         shear of the core-tube regions (kind 3)
//   517 CFVDMtsbCheck_NTCQ       punching of the core-tube regions
//   521 CFVDMtsbCheck_BH         shear of the regions where the raft changes thickness (kind 4)
//   506 CFVDMTSBCheck_BotSlabCJ  punching of the bottom-slab regions (kind 2)
//   507 CFVDMTSBCheck_BotSlabJQ  shear of the bottom-slab regions
//
// Region sheets draw each region's outline on the raft sub-element layer and its text on the
// text layer; column and wall sheets draw texts only. With load case 0 each object names its
// own governing group.
class CFVDMTSBCheck_ColCQ : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDMTSBCheck_ColCQ)
public:
    void DrawFigure() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    // The raft's record: its punching map (shear map for the JQ sheets) to DrawCheckResults.
    // Always TRUE.
    virtual BOOL DrawRaftChecks(UINT raftKey, CDataBase* db);
    // The column texts of a check map.
    virtual void DrawCheckResults(const SlabCJCheckMap& map);

protected:
    // Reads the record of raftKey and draws its shear map (shear) or punching map.
    void DrawRaftMap(UINT raftKey, CDataBase* db, BOOL shear);
    // The ratio text of one object in its outline; nothing without the check of the sheet's load case.
    void DrawObjectText(const SlabCJResult& result, const CArray<T_POINT2D>& outline, double angle);
};

class CFVDMTSBCheck_ColJQ : public CFVDMTSBCheck_ColCQ {
    DECLARE_DYNCREATE(CFVDMTSBCheck_ColJQ)
public:
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawRaftChecks(UINT raftKey, CDataBase* db) override;
};

class CFVDMTSBCheck_WallCQ : public CFVDMTSBCheck_ColCQ {
    DECLARE_DYNCREATE(CFVDMTSBCheck_WallCQ)
public:
    void InitBaseMapList() override;
    // The wall-group texts: only groups whose members are all walls, in the group's rectangle.
    void DrawCheckResults(const SlabCJCheckMap& map) override;
};

class CFVDMTSBCheck_WallJQ : public CFVDMTSBCheck_WallCQ {
    DECLARE_DYNCREATE(CFVDMTSBCheck_WallJQ)
public:
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawRaftChecks(UINT raftKey, CDataBase* db) override;
};

class CFVDMtsbCheck_NT : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDMtsbCheck_NT)
public:
    void DrawFigure() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    // map = a copy of the record's shear map (punching map for the CQ sheets); 0 without a record.
    virtual BOOL GetCheckMap(const T_PCDMTSB_D* record, SlabCJCheckMap& map);
    // The kind of region the sheet shows.
    virtual int GetCJType() { return 3; }
    BOOL DrawOneRaft(UINT key, CDataBase* db);
};

class CFVDMtsbCheck_NTCQ : public CFVDMtsbCheck_NT {
    DECLARE_DYNCREATE(CFVDMtsbCheck_NTCQ)
public:
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL GetCheckMap(const T_PCDMTSB_D* record, SlabCJCheckMap& map) override;
};

class CFVDMtsbCheck_BH : public CFVDMtsbCheck_NT {
    DECLARE_DYNCREATE(CFVDMtsbCheck_BH)
public:
    int GetCJType() override { return 4; }
};

class CFVDMTSBCheck_BotSlabCJ : public CFVDMtsbCheck_NTCQ {
    DECLARE_DYNCREATE(CFVDMTSBCheck_BotSlabCJ)
public:
    int GetCJType() override { return 2; }
};

class CFVDMTSBCheck_BotSlabJQ : public CFVDMtsbCheck_NT {
    DECLARE_DYNCREATE(CFVDMTSBCheck_BotSlabJQ)
public:
    int GetCJType() override { return 2; }
};
