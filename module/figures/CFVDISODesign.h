// The design figures of isolated footings: texts inside each footing's outline.
//
//   100 CFVDISODesign  the design moments about the two plan axes (Mz, My) per footing
//   160 CFVDISOCalAs   the steel areas of the two directions (Asz, Asy), whole numbers. With a
//                      load case selected per footing; with none (the most unfavourable) per
//                      footing group: the group's areas once, in its first footing, and the
//                      group label "ZJn" (a spread footing) or "CTn" (a pile cap) in every one.
//
// The z texts hang from the top middle of the outline along the member (anchor kind 1), the y
// texts stand across it (anchor kind 6); a map without a value for the chosen load group writes
// no text. Both figures walk a table of the database in table order and end with their notes;
// without the table they draw nothing, not even the notes.
#pragma once

#include "host/check/CheckData.h"
#include "host/base/GeomTypes.h"
#include "module/figures/CFVDBase.h"

class CDataBase;

class CFVDISODesign : public CFVDBase {
    DECLARE_DYNCREATE(CFVDISODesign)
public:
    CFVDISODesign();
    void DrawFigure() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;

    // key = the current load case, or with load case 0 the group of the largest value; value =
    // the map's value of key. FALSE (nothing written) when the map has no value for key.
    BOOL GetDesignValue(const DoubleMap& map, double& value, UINT& key) const;
    // One text of value: prefix Mz/My or Asz/Asy, the load group's label (empty while a load case
    // is selected), no colour; placed in outline with the member's angle (z: anchor 1 upright,
    // y: anchor 6 across), movable as text kind 5 (z) or 6 (y) of ownerKey.
    void DrawDesignText(const CArray<T_POINT2D>& outline, double value, BOOL zDirection, BOOL steel, double angle,
                        UINT loadGroup, UINT ownerKey, BOOL edge);
    // One footing's texts (steel, moments or both as the flags say); always TRUE.
    BOOL DrawOneFooting(UINT key, CDataBase* db);

    BOOL m_bDrawMoments = FALSE;
    BOOL m_bDrawSteel = TRUE;
};

class CFVDISOCalAs : public CFVDISODesign {
    DECLARE_DYNCREATE(CFVDISOCalAs)
public:
    void DrawFigure() override;
    void SetDefaultOptions() override;
    BOOL GetDescription(CArray<COLORREF>& colours, CString& text) override;
    // With a load case, key is a footing; with none, a footing group. Always TRUE.
    virtual BOOL DrawFootingOrGroup(UINT key, CDataBase* db);
};
