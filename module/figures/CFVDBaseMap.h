// The base maps: figures that draw the background geometry of the foundation model (axis grid,
// columns and walls above the foundation, column footings, beams, rafts, piles and their data,
// the settlement mesh, raft design element directions) so that a design or check figure can be
// read against it. Each draws one table of the model, one record at a time (BaseMapDraw.h), on
// its own layer, and ends with the figure notes (which base maps never draw, being types below
// 91). The catalogue makes them by run-time class name.
//
//     type  class                      layer  table
//     31    CFVDBaseMapQSNAxis         26     AXIS (points in PONT); a missing end stops the walk
//     32    CFVDBaseMapTopColumn       10     COLM
//     33    CFVDBaseMapTopWall         11     WALL
//     41    CFVDBaseMapQSNColf         22     COLF
//     42    CFVDBaseMapQSNBeam         20     BEAM
//     43    CFVDBaseMapQSNMtsb         21     MTSB
//     44    CFVDBaseMapQSNPile         23     PILE
//     45    CFVDBaseMapQSNPileInfo     24     PILE (text style 11)
//     46    CFVDBaseMapQSNSinkMesh     27     SRCT
//     47    CFVDBaseMapQSNSlabDir      25     PDDSLAB (post): each slab panel with its two rebar
//                                             directions
#pragma once

#include "module/figures/CFVDBase.h"

#define FVD_DECLARE_BASEMAP(name)           \
    class name : public CFVDBase {          \
        DECLARE_DYNCREATE(name)             \
    public:                                 \
        void DrawFigure() override;         \
        BOOL SelectLayer() override;        \
        void SetDefaultOptions() override {} \
    };

FVD_DECLARE_BASEMAP(CFVDBaseMapQSNAxis)
FVD_DECLARE_BASEMAP(CFVDBaseMapTopColumn)
FVD_DECLARE_BASEMAP(CFVDBaseMapTopWall)
FVD_DECLARE_BASEMAP(CFVDBaseMapQSNColf)
FVD_DECLARE_BASEMAP(CFVDBaseMapQSNBeam)
FVD_DECLARE_BASEMAP(CFVDBaseMapQSNMtsb)
FVD_DECLARE_BASEMAP(CFVDBaseMapQSNPile)
FVD_DECLARE_BASEMAP(CFVDBaseMapQSNPileInfo)
FVD_DECLARE_BASEMAP(CFVDBaseMapQSNSinkMesh)

#undef FVD_DECLARE_BASEMAP

class CFVDBaseMapQSNSlabDir : public CFVDBase {
    DECLARE_DYNCREATE(CFVDBaseMapQSNSlabDir)
public:
    void DrawFigure() override;
    BOOL SelectLayer() override;
    void SetDefaultOptions() override {}

    // One slab outline with its X and Y direction arrows (DrawSlabDirection in BaseMapDraw.h),
    // one metre long in the current length unit. Also used by the raft element figures.
    static void DrawSlabDir(const T_POLYGON2D& outline, double angleX, double angleY, CVdrawUtil* target,
                            int outlineLayer, int textLayer);
};
