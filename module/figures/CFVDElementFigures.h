// The raft's finite-element design sheets: the element moments (522) and reinforcement (523)
// written in every raft plate, and the report regions (527) with their rebar directions and the
// largest and mean values of each item, direction and face.
//
//     type  class                   walks            per record
//     522   CFVDMtsb_ElementForce   PELEM (post)     outline on 25, "Mxb".."Myt" block on 50
//     523   CFVDMtsb_ElementAs      PELEM (post)     outline on 25, "Asxb".."Asyt", "***" in red
//                                                    outside (-99999, 99999)
//     527   CFVDMtsb_EleRp          ELERP (post)     outline and arrows, sixteen report values
//
// Values come from PDDELEM (T_PDDELEM_D::GetData) and ELERP. Only plates of the foundation are
// written: the post database of a building also holds its floor slabs, whose outlines would lie
// over the raft's in plan.
#pragma once

#include "module/figures/CFVDBase.h"

class CDataBase;
class CPDDElemValues;
struct T_ELERP_D;

class CFVDMtsb_ElementForce : public CFVDBase {
    DECLARE_DYNCREATE(CFVDMtsb_ElementForce)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;

    virtual CString GetValueName() { return "M"; }
    // Outline and values of one element, the values the index-th of those read for the sheet;
    // always TRUE.
    virtual BOOL DrawElement(UINT key, CDataBase* db, const CPDDElemValues& values, size_t index);
    virtual int GetDataKind() { return 0; }

    // The text block of one element: the first four values, each prefixed name + "xb", "xt",
    // "yb", "yt" and followed by its combination's label (none with a load case chosen), one a
    // line. Kind 0 plain; kind 1 "***" for a value outside (-99999, 99999), its line red.
    static void MakeElementText(const CString& name, int kind, const CArray<double, double>& values,
                                const CArray<double, double>& combs, UINT loadCase, CString& text,
                                CArray<COLORREF>& colours);
    // A plate of the foundation: a slab element held by a member that stands for a foundation
    // member (its model key set).
    static BOOL IsFoundationSlab(CDataBase* db, UINT key);
};

class CFVDMtsb_ElementAs : public CFVDMtsb_ElementForce {
    DECLARE_DYNCREATE(CFVDMtsb_ElementAs)
public:
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    CString GetValueName() override { return "As"; }
    int GetDataKind() override { return 1; }
};

class CFVDMtsb_EleRp : public CFVDBase {
    DECLARE_DYNCREATE(CFVDMtsb_EleRp)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override {}
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;

    // FALSE (the walk ends) only without a database or report table.
    virtual BOOL DrawReportRegion(UINT key, CDataBase* db);

    // The sixteen report values: per direction x, y and face bottom, top the moment's largest
    // (with its combination's label) and mean, then the reinforcement's.
    static CString MakeReportText(const T_ELERP_D& rec, UINT loadCase);
};
