// Slab band sheets: the bands of the raft slab (PSBBD) with their outlines on the beam layer.
//
//     type  class                    base map  shows
//     509   CFVDSlabBandDesign_As    92        bottom and top steel of the start, middle and end
//                                              sections ("s-m-e" twice, in the text's reading
//                                              order along the band) a third along the band
//     508   CFVDSlabBandForce_M      91        the design moment diagram along the band (the
//                                              member diagram road: key 0 draws two envelope curves)
//
// A band is read along its line: a mid band by its start and end points, any other by the first
// and last point of its outline. A band whose outline cannot be read, or a mid band shorter than
// 0.001, is left out (nothing drawn); a band without design draws its outline only.
#pragma once

#include <map>

#include "module/figures/CFVDBase.h"
#include "module/figures/CFVDBeamForceFigures.h"

class CDataBase;
struct T_PSBBD_D;

// Where a band's text goes: a third of the way along its line read left to right, turned along it.
struct SlabBandGeometry {
    CArray<T_POINT2D> outline;  // as drawn: a mid band's line, else the outline's points
    T_POINT2D text;
    double angle = 0.0;         // degrees, of the line read left to right
    T_POINT2D start, end;       // the band's line as stored (its stations run from start)
};

class CFVDSlabBandDesign_As : public CFVDBase {
    DECLARE_DYNCREATE(CFVDSlabBandDesign_As)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override;
    void ClearBaseMapList(std::list<EFigureType>& out) override;
    void CollectLoadCases(std::map<UINT, CString>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;

    // Writes one band's steel; always 1 (a band that cannot be read is skipped).
    BOOL DrawSlabBandAs(UINT key, CDataBase* db);
    // The text of one band for a load key: bottom steel of the three sections, then the top
    // steel, each line "start-middle-end" ("end-middle-start" when reversed, for a text read
    // from the band's end), values outside (-99999, 99999) as "***" in red. FALSE (empty) when
    // the design has no combination for the key.
    static BOOL MakeBandText(UINT key, CDataBase* db, UINT loadKey, CString& text, CArray<COLORREF>& colours,
                             BOOL reversed = FALSE);
    // The reading angle of a text along a band: above 359 degrees 0, above 179 turned by 180.
    static double FoldTextAngle(double angle);
};

class CFVDSlabBandForce_M : public CFVDBeamForceMoment {
    DECLARE_DYNCREATE(CFVDSlabBandForce_M)
public:
    void DrawFigure() override;
    void ClearBaseMapList(std::list<EFigureType>& out) override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    BOOL GetMemberLine(UINT key, CDataBase* db, CZELF_DBLineObjData& line, void* context) override;
    BOOL GetForceValues(UINT key, CDataBase* db, CArray<double, double>& first, CArray<double, double>& second,
                        void* context) override;
    BOOL IsMemberShown(const T_PMEMB_D&) override { return TRUE; }
};

// The geometry of band key from db (its PONT points); FALSE when the band, a point of its
// outline or the length of a mid band's line is missing. With a drawing the outline is drawn on
// its current layer.
BOOL GetSlabBandGeometry(UINT key, CDataBase* db, SlabBandGeometry& out, CVdrawUtil* drawing);
