// The pile check figures: one ratio text beside every pile (at the pile position plus its
// section size in x and y), green where a check passes and red where it fails.
//
//   302 CFVDPileCheck_CZL     bearing capacity, with the envelope texts of every foundation
//   307 CFVDPileCheck_KZCZL   seismic bearing: 302 under the seismic check groups only
//   306 CFVDPileCheck_CZL_KB  the piles in tension (the uplift result of a pile whose top force
//                             pulls); without a load case each pile's governing group among
//                             those that pull it
//   301 CFVDPileCheck_JY      local compression of the pile top
//   300 CFVDPileCheck_CQ      punching of the cap over the pile
//                             (306, 301 and 300 list the standard check groups)
//
// Without a load case every pile and envelope shows its governing group among the groups the
// figure's load list offers.
//   303 CFVDPileCheck_HOR     horizontal checks, x and y lines, coloured by the absolute ratio
//   305 CFVDPileCheck_React   the reaction of every pile element in a small square (kN)
//
// The envelope texts give, per pile section of a foundation (raft, column footing, beam group),
// the average pile value against the limit and the largest against 1.2 times it. They are
// drawn after the figure's scale, precision and text style are applied.
#pragma once

#include <map>
#include <utility>
#include <vector>

#include "host/check/CheckData.h"
#include "module/figures/CFVDCheckTypeBase.h"

class CDataBase;
class CClassPCDPile;
struct T_PCDPILE_D;
class _PileResultInfo;

class CFVDPileCheck_CZL : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDPileCheck_CZL)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;

    virtual BOOL HasGroupTexts() { return 1; }
    // The envelope texts of every foundation carrying piles; 0 (nothing drawn) when the check
    // manager refuses the figure's type.
    virtual BOOL DrawGroupTexts();
    // key in: the current load case; may come back as the governing group. Nonzero with a result.
    virtual BOOL GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result);
    virtual int GetPileCheckType() { return 1; }
    // Whether the load list offers a group of the pile checks.
    virtual BOOL OffersGroup(UINT) { return 1; }
    // A pile's record as the figure needs it: the bearing figures read the bearing map only.
    virtual BOOL ReadPileRecord(const CClassPCDPile& table, UINT key, T_PCDPILE_D& record);

    // One pile's text; always TRUE (a pile that cannot be read is skipped).
    BOOL DrawOnePile(UINT key, CDataBase* db);
    // The text and colours of one foundation's envelope: one average and one maximum line per
    // section, sections separated by ";  " and named when there are more than one.
    void MakeGroupText(const CMapEx<UINT, UINT, _PileResultInfo, _PileResultInfo&>& results, CString& text,
                       CArray<COLORREF>& colours);
    // The outline of a beam group from its points: the axis-parallel bounding rectangle, closed,
    // or the single corner (max x, max y) when the opposite corners lie within 0.01.
    static void s_GroupOutline(const CArray<T_POINT2D>& pts, CArray<T_POINT2D>& outline);

    // The lowest point of the piles' circles (their point less half the diameter), or below when
    // that is lower or no pile can be read: the envelope block hangs beneath it, clear of the
    // piles on the foundation's lower edge.
    static double s_PilesBottom(const CArray<UINT, UINT>& piles, double below);

protected:
    // The envelope block at the bottom middle of the outline, moved down beneath the piles.
    void DrawGroupText(const CMapEx<UINT, UINT, _PileResultInfo, _PileResultInfo&>& results,
                       const CArray<T_POINT2D>& outline, const CArray<UINT, UINT>& piles);
};

class CFVDPileCheck_KZCZL : public CFVDPileCheck_CZL {
    DECLARE_DYNCREATE(CFVDPileCheck_KZCZL)
public:
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL OffersGroup(UINT key) override;  // the seismic groups (CKLG seismic flag 1 or 2)
    // As 302, with the most unfavourable entry (load 0) also before a single seismic group: the
    // entry 302 offers for all the groups is there for the seismic ones too.
    void CollectLoadCases(std::map<UINT, CString>& out) override;
};

class CFVDPileCheck_CZL_KB : public CFVDPileCheck_CZL {
    DECLARE_DYNCREATE(CFVDPileCheck_CZL_KB)
public:
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL HasGroupTexts() override { return 0; }
    BOOL GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result) override;
};

class CFVDPileCheck_JY : public CFVDPileCheck_CZL {
    DECLARE_DYNCREATE(CFVDPileCheck_JY)
public:
    // The check groups the records are keyed by (the analysis cases would find no entry).
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL HasGroupTexts() override { return 0; }
    BOOL GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result) override;
    BOOL ReadPileRecord(const CClassPCDPile& table, UINT key, T_PCDPILE_D& record) override;
};

class CFVDPileCheck_CQ : public CFVDPileCheck_CZL {
    DECLARE_DYNCREATE(CFVDPileCheck_CQ)
public:
    // The check groups the records are keyed by (the analysis cases would find no entry).
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL HasGroupTexts() override { return 0; }
    BOOL GetPileCheckData(UINT& key, T_PCDPILE_D& record, CheckData_P& result) override;
    BOOL ReadPileRecord(const CClassPCDPile& table, UINT key, T_PCDPILE_D& record) override;
};

class CFVDPileCheck_HOR : public CFVDCheckTypeBase {
    DECLARE_DYNCREATE(CFVDPileCheck_HOR)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override { CollectCheckLoadCasesOf(out); }
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL DrawOnePile(UINT key, CDataBase* db);
};

class CFVDPileCheck_React : public CFVDBase {
    DECLARE_DYNCREATE(CFVDPileCheck_React)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override {}
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    // One analysis element; always TRUE (anything but a pile element, or one that cannot be
    // read, is skipped). A pile element without a reaction under the chosen group is marked
    // "no reaction" in its square.
    BOOL DrawOneElement(UINT key, CDataBase* post);

private:
    // The reaction of a pile element not under a cap: under check group `group` from the group's
    // own terms; with group 0 the listed group of the largest magnitude (first in key order on a
    // tie), group set to it. FALSE when no group gives the element a reaction.
    BOOL GroupReaction(UINT elem, UINT& group, double& value);

    // The terms of the groups read for this drawing (a group whose text does not read: none).
    std::map<UINT, std::vector<std::pair<UINT, double>>> m_Terms;
};
