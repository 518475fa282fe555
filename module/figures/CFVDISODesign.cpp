// Footing moments (100) and footing reinforcement (160).
#include "module/figures/CFVDISODesign.h"

#include "host/base/CMsgDll.h"
#include "host/check/FootingDesignTables.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/FoundationTables.h"
#include "module/figures/CFVDCheckTypeBase.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/CheckFigureDraw.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureText.h"

IMPLEMENT_DYNCREATE(CFVDISODesign, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDISOCalAs, CFVDISODesign)

namespace {

constexpr int kZTextKind = 5;  // text slots of the footing member that the texts move with
constexpr int kYTextKind = 6;
constexpr int kGroupLabelAnchor = 5;

// What a footing's texts need: its first outline, member, footing record and edge placement.
struct DesignFooting {
    CArray<T_POINT2D> outline;
    T_MEMB_D memb;
    BOOL edge = FALSE;
};

bool ReadDesignFooting(UINT key, DesignFooting& out) {
    CArray<T_POLYGON2D> outlines;
    BOOL circle = FALSE, second = FALSE;
    CArray<double> diameters;
    if (!ICheckToolUtil::s_GetColfPolyLine(key, outlines, circle, diameters, second, 0) || outlines.GetSize() < 1)
        return false;
    if (!ICheckToolUtil::s_GetMemb(key, out.memb)) return false;
    out.outline.RemoveAll();
    for (const T_POINT2D& p : outlines[0].m_Points) out.outline.Add(p);
    out.edge = CFVDCheckTypeBase::NeedsEdgeTextPlacement(out.memb.fosp);
    return true;
}

}  // namespace

CFVDISODesign::CFVDISODesign() = default;

void CFVDISODesign::DrawFigure() {
    m_bDrawSteel = FALSE;
    m_bDrawMoments = TRUE;
    checkfig::WalkTable<CClassColf>(*this, [this](UINT key, CDataBase* db) { return DrawOneFooting(key, db); });
}

BOOL CFVDISODesign::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITMOMENT_M", 0);
    return 1;
}

BOOL CFVDISODesign::GetDesignValue(const DoubleMap& map, double& value, UINT& key) const {
    key = GetCurLoadCase();
    if (key == 0) DATA_P::GetMaxDoubleMapKey(map, key);
    return map.GetVal(key, value);
}

void CFVDISODesign::DrawDesignText(const CArray<T_POINT2D>& outline, double value, BOOL zDirection, BOOL steel,
                                   double angle, UINT loadGroup, UINT ownerKey, BOOL edge) {
    const CFVDRatioStrMaker maker(value, MakeMomentAsLabel(steel, zDirection),
                                  MakeLoadCombLabel(loadGroup, GetCurLoadCase() != 0), 0);
    CFVDTextBlock block;
    maker.MakeStrNoColor(block.m_strText);
    block.SetMoveInfo(static_cast<int>(ownerKey), 0, zDirection ? kZTextKind : kYTextKind, -1);
    block.m_Polygon.Copy(outline);
    block.m_bSnapToOutline = edge;
    if (zDirection) {
        block.SetAnchor(1);
        block.m_dAngle = GetUprightTextAngle(angle);
    } else {
        block.SetAnchor(6);
        block.m_dAngle = GetUprightTextAngleEx(angle);
    }
    block.DrawInPolygon(checkfig::DrawingHandleOf(*this), 1);
}

BOOL CFVDISODesign::DrawOneFooting(UINT key, CDataBase* db) {
    DesignFooting f;
    if (!ReadDesignFooting(key, f)) return TRUE;
    CClassPDDColf table;
    table.ConnectToDB(CFVDBase::GetPostDataBase() ? CFVDBase::GetPostDataBase() : db);
    T_PDDCOLF_D rec;
    if (!table.Get(key, rec)) return TRUE;
    struct Text {
        BOOL on;
        const DoubleMap* map;
        BOOL z;
        BOOL steel;
    };
    const Text texts[] = {{m_bDrawSteel, &rec.m_mapAsz, TRUE, TRUE},
                          {m_bDrawSteel, &rec.m_mapAsy, FALSE, TRUE},
                          {m_bDrawMoments, &rec.m_mapMz, TRUE, FALSE},
                          {m_bDrawMoments, &rec.m_mapMy, FALSE, FALSE}};
    for (const Text& t : texts) {
        double value = 0.0;
        UINT group = 0;
        if (t.on && GetDesignValue(*t.map, value, group))
            DrawDesignText(f.outline, value, t.z, t.steel, f.memb.angle, group, key, f.edge);
    }
    return TRUE;
}

void CFVDISOCalAs::DrawFigure() {
    m_bDrawSteel = TRUE;
    m_bDrawMoments = FALSE;
    if (GetCurLoadCase() != 0) {
        checkfig::WalkTable<CClassColf>(*this, [this](UINT key, CDataBase* db) { return DrawFootingOrGroup(key, db); });
        return;
    }
    // By footing group: the groups of the analysis database.
    ApplyScale();
    CDataBase* db = CFVDBase::GetPostDataBase();
    if (!db) return;
    CClassPColfG groups;
    groups.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    groups.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!DrawFootingOrGroup(keys[i], db)) break;
    DrawFigureNotes();
}

void CFVDISOCalAs::SetDefaultOptions() {
    if (sFVDDisplaySettings* s = GetDisplaySettings()) s->m_dPrecision = 0.0;
}

BOOL CFVDISOCalAs::GetDescription(CArray<COLORREF>&, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_ALLAS_ALLAS", 0);
    return 1;
}

BOOL CFVDISOCalAs::DrawFootingOrGroup(UINT key, CDataBase* db) {
    if (GetCurLoadCase() != 0) return DrawOneFooting(key, db);
    CClassPColfG groups;
    groups.ConnectToDB(db);
    T_PCOLFG_D group;
    if (!groups.Get(key, group)) return TRUE;
    for (INT_PTR i = 0; i < group.aColf.GetSize(); ++i) {
        const UINT colf = group.aColf[i];
        DesignFooting f;
        T_COLF_D kind;
        if (!ReadDesignFooting(colf, f) || !ICheckToolUtil::s_GetColf(colf, kind)) continue;
        if (i == 0) {
            DrawDesignText(f.outline, group.asz, TRUE, TRUE, f.memb.angle, group.zGroup, key, f.edge);
            DrawDesignText(f.outline, group.asy, FALSE, TRUE, f.memb.angle, group.yGroup, key, f.edge);
        }
        CFVDTextBlock label;
        label.m_strText.Format(kind.kind == COLF_PILECAP ? "CT%u" : "ZJ%u", key);
        label.m_Polygon.Copy(f.outline);
        label.m_dAngle = GetQuarterTextAngle(f.memb.angle);
        label.SetAnchor(kGroupLabelAnchor);
        label.m_bSnapToOutline = f.edge;
        label.DrawInPolygon(checkfig::DrawingHandleOf(*this), 1);
    }
    return TRUE;
}
