#include "module/figures/CFVDBaseMap.h"

#include "host/base/CurrentUnitCtrl.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/ElementDesignTables.h"
#include "host/db/FoundationTables.h"
#include "module/figures/BaseMapDraw.h"

namespace {

// The walk every base map makes: the scale, then each key of table T in list order through
// drawRecord (FALSE ends the walk), then the notes. Without a database nothing is drawn, not
// even the notes.
template <class T, class F> void DrawTableWalk(CFVDBase& fig, CDataBase* db, F drawRecord) {
    fig.ApplyScale();
    CVdrawUtil* d = fig.GetDrawing();
    if (!d || !db) return;
    T table;
    table.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    table.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!drawRecord(d, keys[i], db)) break;
    fig.DrawFigureNotes();
}

}  // namespace

#define FVD_IMPLEMENT_BASEMAP(name, layer, table, body)                                     \
    IMPLEMENT_DYNCREATE(name, CFVDBase)                                                    \
    BOOL name::SelectLayer() { return SetCurrentLayer(layer); }                            \
    void name::DrawFigure() {                                                              \
        DrawTableWalk<table>(*this, GetModelDataBase(),                                    \
                             [&](CVdrawUtil* d, UINT key, CDataBase* db) -> BOOL { body }); \
    }

FVD_IMPLEMENT_BASEMAP(CFVDBaseMapQSNAxis, FVD_LAYER_AXIS, CClassAxis, return DrawBaseMapAxis(d, key, db);)
FVD_IMPLEMENT_BASEMAP(CFVDBaseMapTopColumn, FVD_LAYER_COLUMN, CClassColm, (void)db; return DrawBaseMapColumn(d, key);)
FVD_IMPLEMENT_BASEMAP(CFVDBaseMapTopWall, FVD_LAYER_WALL, CClassWall, return DrawBaseMapLineMember(d, key, db, 1);)
FVD_IMPLEMENT_BASEMAP(CFVDBaseMapQSNColf, FVD_LAYER_COLF, CClassColf, (void)db; return DrawBaseMapFooting(d, key);)
FVD_IMPLEMENT_BASEMAP(CFVDBaseMapQSNBeam, FVD_LAYER_BEAM, CClassBeam, return DrawBaseMapLineMember(d, key, db, 0);)
FVD_IMPLEMENT_BASEMAP(CFVDBaseMapQSNMtsb, FVD_LAYER_MTSB, CClassMtsb, return DrawBaseMapRaft(d, key, db);)
FVD_IMPLEMENT_BASEMAP(CFVDBaseMapQSNPile, FVD_LAYER_PILE, CClassPile, (void)db; return DrawBaseMapPile(d, key);)
FVD_IMPLEMENT_BASEMAP(CFVDBaseMapQSNSinkMesh, FVD_LAYER_SINKMESH, CClassSrct, return DrawBaseMapSinkCell(d, key, db);)

#undef FVD_IMPLEMENT_BASEMAP

IMPLEMENT_DYNCREATE(CFVDBaseMapQSNPileInfo, CFVDBase)

BOOL CFVDBaseMapQSNPileInfo::SelectLayer() { return SetCurrentLayer(FVD_LAYER_PILE_INFO); }

void CFVDBaseMapQSNPileInfo::DrawFigure() {
    DrawTableWalk<CClassPile>(*this, GetModelDataBase(), [&](CVdrawUtil* d, UINT key, CDataBase* db) -> BOOL {
        SetCurrentTextStyle(FVD_STYLE_DETAIL);
        return DrawBaseMapPileInfo(d, key, db);
    });
}

IMPLEMENT_DYNCREATE(CFVDBaseMapQSNSlabDir, CFVDBase)

BOOL CFVDBaseMapQSNSlabDir::SelectLayer() { return SetCurrentLayer(FVD_LAYER_SUBELEM); }

void CFVDBaseMapQSNSlabDir::DrawFigure() {
    if (CVdrawUtil* d = GetDrawing()) d->SetLineWeightDisplay(1);
    ApplyScale();
    // The slab panels of the design with their two rebar directions; a panel whose outline
    // cannot be built is left out.
    CVdrawUtil* d = GetDrawing();
    CDataBase* db = GetPostDataBase();
    if (!d || !db) return;
    CClassPDDSlab slabs;
    slabs.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    slabs.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PDDSLAB_D rec;
        CArray<T_POINT2D> pts;
        if (!slabs.Get(keys[i], rec) || !ICheckToolUtil::s_ConvertNode2PolyLine(rec.aNode, pts, db) || pts.GetSize() < 3)
            continue;
        T_POLYGON2D outline;
        for (INT_PTR k = 0; k < pts.GetSize(); ++k) outline.Add(pts[k]);
        outline.MakeColse();
        DrawSlabDir(outline, rec.angle1, rec.angle2, d, FVD_LAYER_SUBELEM, FVD_LAYER_TEXT);
    }
    DrawFigureNotes();
}

void CFVDBaseMapQSNSlabDir::DrawSlabDir(const T_POLYGON2D& outline, double angleX, double angleY, CVdrawUtil* target,
                                        int outlineLayer, int textLayer) {
    DrawSlabDirection(outline, angleX, angleY, target, outlineLayer, textLayer, CurrentUnitCtrl::Cur2M());
}
