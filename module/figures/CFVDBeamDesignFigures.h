// Beam reinforcement and crack sheets: the design of every foundation beam written beside it.
//
//     type  class                       beams                          texts
//     261   CFVDBeamDesign_As           ordinary (kind 0)              two steel blocks at mid-span
//     166   CFVDBeamDesign_As_Link      link beams (kind 1)            as 261
//     520   CFVDRibBeamDesign_As        rib beams (sub-kind 2), 213    as 261
//     266   CFVDBeamDesign_Crack        ordinary                       crack width at start, middle, end
//                                                                       (the end values inside the span)
//     167   CFVDBeamDesign_Crack_Link   link beams                     as 266
//     526   CFVDBeamDesign_Crack_Rib    rib beams (kind 2)             as 266
//
// The steel blocks (S1, S2, S3 the start, middle and end section records of the load key, A1..A5
// their five areas; "max" the larger of S1 and S3, S3 on a tie, then S2 only when strictly larger):
//
//     G<max A4>                        anchored above the mid-point (code 8)
//     <S1.A1>-<S2.A1>-<S3.A1>
//     <S1.A2>-<S2.A2>-<S3.A2>          anchored below it (code 0)
//     VT<max A3>-<max A5>
//     Y<extra value>                   only when the beam has one for the key
//
// A beam over the limit gets its lines red and every value written as the whole number 100000
// shown as "***". Crack widths are stored in metres and written in millimetres; a section the
// crack map has nothing for is left blank.
#pragma once

#include <map>

#include "host/check/BeamDesignTables.h"
#include "module/figures/CFVDBase.h"

class CDataBase;
struct T_PMEMB_D;

class CFVDBeamDesign_As : public CFVDBase {
    DECLARE_DYNCREATE(CFVDBeamDesign_As)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    virtual BOOL IsMemberShown(const T_PMEMB_D& m);

    // Index (0 start, 1 middle, 2 end) of the largest of three section values: the larger of
    // start and end (end on a tie), then the middle only when strictly larger.
    static int LargestSection(double start, double middle, double end);
    // text with every number written as exactly 100000 (as a whole number, any trailing ".0…")
    // turned into "***"; numbers that only contain those digits stay.
    static CString ReplaceOverLimit(const CString& text);
    // The two blocks of a beam from its three section records; hasExtra adds the "Y" line. With
    // over set, each block gets one red entry per line (two and three) and ReplaceOverLimit.
    static void MakeAsTexts(const S_BEAMREBARAS s[3], BOOL hasExtra, double extra, BOOL over, CString& block1,
                            CArray<COLORREF>& colours1, CString& block2, CArray<COLORREF>& colours2);

protected:
    // Member types the member loop hands on: 201 and 213 (the crack sheets: every type).
    virtual BOOL IsMemberTypeDrawn(int type) const { return type == 201 || type == 213; }
    virtual int ShownKind() const { return 0; }
    // The texts of one member; a member that cannot be read is skipped.
    virtual void DrawMemberTexts(UINT key, CDataBase* db);
    void DrawBeamAsTexts(UINT key, CDataBase* db);
};

class CFVDBeamDesign_As_Link : public CFVDBeamDesign_As {
    DECLARE_DYNCREATE(CFVDBeamDesign_As_Link)
protected:
    int ShownKind() const override { return 1; }
};

class CFVDRibBeamDesign_As : public CFVDBeamDesign_As {
    DECLARE_DYNCREATE(CFVDRibBeamDesign_As)
public:
    // Beams of sub-kind 2 and members of type 213.
    BOOL IsMemberShown(const T_PMEMB_D& m) override;
};

class CFVDBeamDesign_Crack : public CFVDBeamDesign_As {
    DECLARE_DYNCREATE(CFVDBeamDesign_Crack)
public:
    void SetDefaultOptions() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;

    // The width of a section for the load key: the key's entry; key 0 the entry of largest
    // magnitude. FALSE when the map has none (nothing is written there).
    static BOOL GetCrackWidth(const DoubleMap& map, UINT key, double& w);
    // The text of a width w (m) at position p (0 start, 1 middle, 2 end): |w| in mm with a
    // leading blank at the start and a trailing one at the end.
    static CString CrackText(double w, int p);
    // 8 for a width below -1e-12 mm (the other face), else 0.
    static int CrackAnchor(double w);
    // Where a section's value stands: u, the fraction along the line in reading order, stays
    // for the middle; an end (u 0 or 1) moves into the span by 1.5 text heights (at most a
    // quarter of the length) and the text runs from there away from the end (horJust left at
    // the start, right at the end; else centred).
    static void EndTextPlace(double length, double textHeight, double& u, int& horJust);

protected:
    BOOL IsMemberTypeDrawn(int) const override { return TRUE; }
    void DrawMemberTexts(UINT key, CDataBase* db) override;
};

class CFVDBeamDesign_Crack_Link : public CFVDBeamDesign_Crack {
    DECLARE_DYNCREATE(CFVDBeamDesign_Crack_Link)
protected:
    int ShownKind() const override { return 1; }
};

class CFVDBeamDesign_Crack_Rib : public CFVDBeamDesign_Crack {
    DECLARE_DYNCREATE(CFVDBeamDesign_Crack_Rib)
protected:
    int ShownKind() const override { return 2; }
};
