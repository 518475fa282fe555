// The slab design sheets: every slab panel of the design (PDDSLAB) with its outline, its two
// direction values near the centroid and one or three values on each edge, each value followed
// by the label of its combination.
//
//     type  class                        panels                                   values
//     510   CFVDMTSBDesign_Force         of a raft of type other than 2, 3        moments
//     513   CFVDMTSBDesign_As            as 510                                   reinforcement
//      91   CFVDMTSBDesign_Force_Sbbd    of a slab-band raft (type 2 or 3)        moments
//      92   CFVDMTSBDesign_As_Sbbd       as 91                                    reinforcement
//     263   CFVDBotSlabDesign_As         raft key 0, no edge on a footing (401)   reinforcement, one per edge
//     262   CFVDBotSlabDesign_M          as 263                                   moments
//     161   CFVDBotSlabDesignIso_As      raft key 0, an edge on a footing         reinforcement
//     162   CFVDBotSlabDesignIso_M       as 161                                   moments
//
// A panel whose outline cannot be built is left out and the sheet goes on with the next one.
// Reinforcement outside (-99999, 99999) is written "***" in red.
#pragma once

#include <set>

#include "module/figures/CFVDBase.h"
#include "module/figures/FigureTextRoom.h"

class CDataBase;
struct T_PDDSLAB_D;

class CFVDSlabForceDrawBase : public CFVDBase {
    DECLARE_DYNAMIC(CFVDSlabForceDrawBase)
public:
    void DrawFigure() override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;

    virtual BOOL IsSlabShown(const T_PDDSLAB_D& rec) = 0;
    virtual BOOL GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values,
                               CArray<double, double>& labels) = 0;
    virtual BOOL UsesEdgeValueCount() = 0;
    virtual BOOL IsForceFigure() = 0;

    // One panel; 1 goes on with the next.
    int DrawSlab(UINT key, CDataBase* db);

    // Placement of one edge's text: anchor code and upright flag for an edge turned angle
    // degrees (reversed: its arc bulges to the right); angle is folded for reading.
    static void EdgeTextPlacement(double& angle, BOOL reversed, int& anchor, BOOL& upright);
    // The text of edge i: its value (count 1) or three values joined by "/" (count 3, reversed
    // when not upright); the labels follow each value. Empty when the values are missing. With
    // count 1 and a record of three values per edge (recordCount 3), the edge's middle value.
    CString MakeEdgeText(const CArray<double, double>& values, const CArray<double, double>& labels, int i,
                         int count, int recordCount, BOOL upright, CArray<COLORREF>& colours);
    // A value's label: the combination's label, none with a load case chosen.
    CString GetValueLabel(UINT key, int index);
    // Whether an edge of the panel passes a foundation point that a member of the type stands on.
    static BOOL HasEdgeMemberOfType(const T_PDDSLAB_D& rec, int type, CDataBase* post, CDataBase* model);

protected:
    virtual const char* DescriptionKey() const = 0;
    virtual const std::set<int>* LoadCaseFilter() const { return nullptr; }
    void DrawDirectionTexts(const CArray<T_POINT2D>& poly, const T_PDDSLAB_D& rec, const CArray<double, double>& values,
                            const CArray<double, double>& labels, BOOL& ok);
    void DrawEdgeTexts(const CArray<T_POINT2D>& vertices, const T_PDDSLAB_D& rec, const CArray<double, double>& values,
                       const CArray<double, double>& labels);
    int m_nEdgeValueCount = 1;
    // While a sheet draws: the texts on the drawing, so that the panel's keep clear of them,
    // sliding either way along (ux, uy) and then also up to three lines towards (nx, ny), at
    // last two away from it (unit directions; steps of half a text height along, a line across).
    CFVDTextRoom* m_pTextRoom = nullptr;
    void PlaceClear(const CArray<long>& ids, double ux, double uy, double nx, double ny);
};

class CFVDMTSBDesign_Force : public CFVDSlabForceDrawBase {
    DECLARE_DYNCREATE(CFVDMTSBDesign_Force)
public:
    void SetDefaultOptions() override {}
    BOOL IsSlabShown(const T_PDDSLAB_D& rec) override;
    BOOL GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values, CArray<double, double>& labels) override;
    BOOL UsesEdgeValueCount() override { return 1; }
    BOOL IsForceFigure() override { return 1; }

protected:
    const char* DescriptionKey() const override { return "IDS_DESCREPT_UNITMOMENT_UNIT"; }
};

class CFVDMTSBDesign_As : public CFVDMTSBDesign_Force {
    DECLARE_DYNCREATE(CFVDMTSBDesign_As)
public:
    void SetDefaultOptions() override;
    BOOL GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values, CArray<double, double>& labels) override;
    BOOL IsForceFigure() override { return 0; }

protected:
    const char* DescriptionKey() const override { return "IDS_DESCREPT_UNITAS_UNIAS"; }
};

class CFVDMTSBDesign_Force_Sbbd : public CFVDMTSBDesign_Force {
    DECLARE_DYNCREATE(CFVDMTSBDesign_Force_Sbbd)
public:
    BOOL IsSlabShown(const T_PDDSLAB_D& rec) override;
};

class CFVDMTSBDesign_As_Sbbd : public CFVDMTSBDesign_As {
    DECLARE_DYNCREATE(CFVDMTSBDesign_As_Sbbd)
public:
    BOOL IsSlabShown(const T_PDDSLAB_D& rec) override;
};

class CFVDBotSlabDesign_As : public CFVDSlabForceDrawBase {
    DECLARE_DYNCREATE(CFVDBotSlabDesign_As)
public:
    void SetDefaultOptions() override;
    CString GetLoadCombText(UINT key) override;
    BOOL IsSlabShown(const T_PDDSLAB_D& rec) override;
    BOOL GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values, CArray<double, double>& labels) override;
    BOOL UsesEdgeValueCount() override { return 0; }
    BOOL IsForceFigure() override { return 0; }

protected:
    const char* DescriptionKey() const override { return "IDS_DESCREPT_UNITAS_UNIAS"; }
    const std::set<int>* LoadCaseFilter() const override;
    // Non-zero for the panels next to footings.
    virtual BOOL WantsFootingEdge() const { return FALSE; }
};

class CFVDBotSlabDesign_M : public CFVDBotSlabDesign_As {
    DECLARE_DYNCREATE(CFVDBotSlabDesign_M)
public:
    BOOL GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values, CArray<double, double>& labels) override;
    BOOL UsesEdgeValueCount() override { return 1; }
    BOOL IsForceFigure() override { return 1; }

protected:
    const char* DescriptionKey() const override { return "IDS_DESCREPT_UNITMOMENT_UNIT"; }
};

class CFVDBotSlabDesignIso_As : public CFVDBotSlabDesign_As {
    DECLARE_DYNCREATE(CFVDBotSlabDesignIso_As)
public:
    BOOL UsesEdgeValueCount() override { return 1; }

protected:
    BOOL WantsFootingEdge() const override { return TRUE; }
};

class CFVDBotSlabDesignIso_M : public CFVDBotSlabDesign_M {
    DECLARE_DYNCREATE(CFVDBotSlabDesignIso_M)
protected:
    BOOL WantsFootingEdge() const override { return TRUE; }
};
