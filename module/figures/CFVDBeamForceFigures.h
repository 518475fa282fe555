// Member force diagram sheets: the design moment, shear or torsion of each foundation beam
// drawn along its axis, with the value written at both ends and at mid-span.
//
//     type  class                          component  sign  beams
//     201   CFVDBeamForceMoment            moment     -1    ordinary (kind 0)
//     202   CFVDBeamForceShearing          shear      +1    ordinary
//     203   CFVDBeamForceTorsion           torsion    -1    ordinary
//     163   CFVDBeamForceMoment_Link       moment     -1    link beams (kind 1)
//     164   CFVDBeamForceShearing_Link     shear      +1    link beams
//     165   CFVDBeamForceTorsion_Link      torsion    -1    link beams
//     518   CFVDRibBeamForce_M             moment     -1    design ribs, then rib beams (kind 2)
//     519   CFVDRibBeamForce_Q             shear      +1    as 518
//
// Forces come from IDesignToolUtil::s_GetBeamDesignForce: one curve for a load key, two (the
// station-wise largest and smallest over the design combinations) for the most unfavourable
// entry (key 0). The ordinate of a station is value x |diagram scale| / Cur2MM x sign, to the
// left of the member's direction (the sign turned for an arc bulging left).
#pragma once

#include <functional>
#include <map>
#include <vector>

#include "host/check/CheckData.h"
#include "host/db/CCuttingLine.h"
#include "module/figures/CFVDBase.h"
#include "module/figures/FigureTextRoom.h"

class CDataBase;
class CZELF_DBLineObjData;
struct T_PMEMB_D;

class CFVDForceDrawCommon : public CFVDBase {
    DECLARE_DYNAMIC(CFVDForceDrawCommon)
public:
    void SetDefaultOptions() override {}
    void CollectLoadCases(std::map<UINT, CString>& out) override;

    // Fills line for the member; non-zero when it did.
    virtual BOOL GetMemberLine(UINT key, CDataBase* db, CZELF_DBLineObjData& line, void* context) = 0;
    // The values at equally spaced stations, i-end first; non-zero on success.
    virtual BOOL GetForceValues(UINT key, CDataBase* db, CArray<double, double>& first,
                                CArray<double, double>& second, void* context) = 0;
    // Draws one member; always 1 (a member that cannot be read is skipped).
    virtual BOOL DrawMember(UINT key, CDataBase* db, void* context);
    virtual double GetDiagramSign() = 0;
    virtual BOOL IsMemberShown(const T_PMEMB_D& m) = 0;

    // Beam kind of an analysis member: -1 not a beam (type other than 201) or an unknown
    // sub-kind; 2 rib beam; for sub-kinds 0 and 1 the model beam's link flag: 1 link beam,
    // else 0 (also without a model beam record).
    static int GetBeamMemberKind(const T_PMEMB_D& m, CDataBase* model);
    // The ordinate factor: |scale| (1 below 1e-6) / cur2mm.
    static double OrdinateScale(double scale, double cur2mm);
    // Anchor (vertical justification) of a value text: label 0 by sign x value (0 at or below
    // -1e-6, else 8); labels 1 and 2 by the sign alone, opposite to each other.
    static int ValueAnchor(double sign, double value, int labelIndex);
    // The number of a station text with a leading blank on the first text of a curve and a
    // trailing blank on the third.
    static CString ValueText(double value, int counter);
    // Stations of n values that carry a text: 0, n / 2 and n - 1 (none below two values).
    static BOOL IsTextStation(int j, int n);
    // The automatic value scale: the one that draws the largest |value| a quarter of the median
    // member length high (ordinate = value x scale / cur2mm), to two significant digits; 1
    // without lengths or values.
    static double AutoValueScale(std::vector<double> lengths, double peak, double cur2mm);
    // The station lists run from the member's i-end; a line that SetData turned to read left to
    // right starts at the j-end, so the lists are turned with it.
    static void AlignStationsWithLine(const CZELF_DBLineObjData& line, CArray<double, double>& first,
                                      CArray<double, double>& second);

protected:
    // The value texts of one drawing of the sheet keep clear of each other while it lasts, a
    // text height apart on one line.
    struct TextRoomScope {
        explicit TextRoomScope(CFVDForceDrawCommon& f) : fig(f) {
            fig.m_TextRoom = &room;
            room.SetLineGap(1.0);
            if (fig.m_pDrawing) room.Collect(*fig.m_pDrawing);
        }
        ~TextRoomScope() { fig.m_TextRoom = nullptr; }
        CFVDForceDrawCommon& fig;
        CFVDTextRoom room;
    };
    CFVDTextRoom* m_TextRoom = nullptr;

    // While the sheet's value scale is automatic, ChooseValueScale runs walk (the sheet's
    // DrawMember calls) with the members measured instead of drawn, then sets the scale in the
    // display settings, where the panel and the notes read it.
    struct ScaleSurvey {
        std::vector<double> lengths;
        double peak = 0.0;
    };
    ScaleSurvey* m_pSurvey = nullptr;
    void ChooseValueScale(const std::function<void()>& walk);
    // The notes' line of the value scale in effect.
    CString ValueScaleText();

    // Draws the one or two curves of a member along line.
    void DrawMemberCurves(const CZELF_DBLineObjData& line, const CArray<double, double>& first,
                          const CArray<double, double>& second);
    void DrawDiagramValueText(const T_POINT2D& at, double angle, double value, int& counter, int labelIndex,
                              int horJust);
};

class CFVDBeamForceMoment : public CFVDForceDrawCommon {
    DECLARE_DYNCREATE(CFVDBeamForceMoment)
public:
    void DrawFigure() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL GetMemberLine(UINT key, CDataBase* db, CZELF_DBLineObjData& line, void* context) override;
    BOOL GetForceValues(UINT key, CDataBase* db, CArray<double, double>& first, CArray<double, double>& second,
                        void* context) override;
    double GetDiagramSign() override { return -1.0; }
    BOOL IsMemberShown(const T_PMEMB_D& m) override;

protected:
    // LOAD_DATA component read (3 moment, 1 shear, 2 torsion) and the beam kind shown.
    virtual int Component() const { return 3; }
    virtual int ShownKind() const { return 0; }
    virtual const char* DescriptionKey() const { return "IDS_DESCREPT_UNITMOMENT_M"; }
};

class CFVDBeamForceShearing : public CFVDBeamForceMoment {
    DECLARE_DYNCREATE(CFVDBeamForceShearing)
public:
    double GetDiagramSign() override { return 1.0; }

protected:
    int Component() const override { return 1; }
    const char* DescriptionKey() const override { return "IDS_DESCREPT_UNITFORCE_KN"; }
};

class CFVDBeamForceTorsion : public CFVDBeamForceMoment {
    DECLARE_DYNCREATE(CFVDBeamForceTorsion)
protected:
    int Component() const override { return 2; }
};

class CFVDBeamForceMoment_Link : public CFVDBeamForceMoment {
    DECLARE_DYNCREATE(CFVDBeamForceMoment_Link)
protected:
    int ShownKind() const override { return 1; }
};

class CFVDBeamForceShearing_Link : public CFVDBeamForceShearing {
    DECLARE_DYNCREATE(CFVDBeamForceShearing_Link)
protected:
    int ShownKind() const override { return 1; }
};

class CFVDBeamForceTorsion_Link : public CFVDBeamForceTorsion {
    DECLARE_DYNCREATE(CFVDBeamForceTorsion_Link)
protected:
    int ShownKind() const override { return 1; }
};

// Rib beam sheets 518 (moment) and 519 (shear): first the ribs of the host's slab design (five
// stations per rib and combination, turned to read left to right), then the beam members of
// rib kind (kind 2) through the beam design forces.
class CFVDRibBeamForce_M : public CFVDBeamForceMoment {
    DECLARE_DYNCREATE(CFVDRibBeamForce_M)
public:
    // One rib: its stations per load key, its ends and arc height.
    struct RibRecord {
        std::map<UINT, CHECK_LOAD_ARRAY> loads;
        T_POINT2D start, end;
        double arc = 0.0;
        double zLow = 0.0, zHigh = 0.0;  // levels of the ends, lower first
    };

    void DrawFigure() override;
    BOOL GetMemberLine(UINT key, CDataBase* db, CZELF_DBLineObjData& line, void* context) override;
    BOOL GetForceValues(UINT key, CDataBase* db, CArray<double, double>& first, CArray<double, double>& second,
                        void* context) override;

    // The values of one component of a rib for the load key: that key's stations, or for key 0
    // the station-wise largest (first) and smallest (second) over every key held. FALSE when
    // first stays empty.
    static BOOL GetStationValues(const RibRecord& rib, UINT loadKey, CArray<double, double>& first,
                                 CArray<double, double>& second, int component);
    // Folds the ribs of one combination into the records: each rib turned to read left to right
    // (ends swapped, stations reversed, arc height negated), matched to a record by its ends and
    // their levels (0.01), else added.
    static void AddRibResults(std::vector<RibRecord>& ribs, UINT comb,
                              const CArray<T_STRESS_RESULT, T_STRESS_RESULT&>& results);

protected:
    int ShownKind() const override { return 2; }
    void BuildRibRecords();

    std::vector<RibRecord> m_Ribs;
    int m_nMemberPass = 0;  // 0 while the ribs are drawn, 1 while the beam members are
};

class CFVDRibBeamForce_Q : public CFVDRibBeamForce_M {
    DECLARE_DYNCREATE(CFVDRibBeamForce_Q)
public:
    double GetDiagramSign() override { return 1.0; }

protected:
    int Component() const override { return 1; }
    const char* DescriptionKey() const override { return "IDS_DESCREPT_UNITFORCE_KN"; }
};
