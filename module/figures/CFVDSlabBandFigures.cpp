#include "module/figures/CFVDSlabBandFigures.h"

#include <cmath>
#include <utility>

#include "host/base/CGeomFunc.h"
#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/base/CZELF_DBLineObjData.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/SlabBandTables.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureShared.h"

namespace {

constexpr double kMinBandLength = 0.001;  // m, a mid band shorter than this has no line
constexpr int kMomentComponent = 3;       // LOAD_DATA value of the moment

// The sheet road of both band sheets: every band in table order until drawOne answers 0, then
// the notes; nothing without a drawing or a post database.
template <class F> void DrawBands(CFVDBase& fig, F drawOne) {
    fig.ApplyScale();
    CDataBase* db = CFVDBase::GetPostDataBase();
    if (!fig.GetDrawing() || !db) return;
    CClassPSbbd bands;
    bands.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    bands.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!drawOne(keys[i], db)) break;
    fig.DrawFigureNotes();
}

}  // namespace

BOOL GetSlabBandGeometry(UINT key, CDataBase* db, SlabBandGeometry& out, CVdrawUtil* drawing) {
    out = SlabBandGeometry();
    if (!db) return FALSE;
    CClassPSbbd bands;
    bands.ConnectToDB(db);
    T_PSBBD_D band;
    if (!bands.Get(key, band)) return FALSE;
    CArray<T_POINT2D> pts;
    if (!ICheckToolUtil::s_ConvertPont2PolyLine(band.aPont, pts, db) || pts.GetSize() < 2) return FALSE;
    if (band.IsMidSlabBand()) {
        pts.RemoveAll();
        pts.Add(T_POINT2D(band.x1, band.y1));
        pts.Add(T_POINT2D(band.x2, band.y2));
        if (CMathFunc::mathLength(band.x2 - band.x1, band.y2 - band.y1) < kMinBandLength) return FALSE;
    }
    T_POINT2D p0 = pts[0], pn = pts[pts.GetSize() - 1];
    out.start = p0;
    out.end = pn;
    if (!ICheckToolUtil::s_IsLeftPt(p0.x, p0.y, pn.x, pn.y)) std::swap(p0, pn);
    out.text = CGeomFunc::s_GetPointFromVLine(p0, pn, 1.0 / 3.0, 0.0);
    out.angle = CMathFunc::GetAngle(p0.x, p0.y, pn.x, pn.y, 1);
    out.outline.Copy(pts);
    if (drawing) drawing->DrawPolyLine(out.outline, 0, CString());
    return TRUE;
}

// ---- Steel of the bands (509) ---------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFVDSlabBandDesign_As, CFVDBase)

void CFVDSlabBandDesign_As::SetDefaultOptions() {
    if (sFVDDisplaySettings* s = GetDisplaySettings()) s->m_dPrecision = 0.0;
}

void CFVDSlabBandDesign_As::ClearBaseMapList(std::list<EFigureType>& out) {
    out.clear();
    out.push_back(EFVDT_BaseMap_QSN_Sbbd_AS);
}

void CFVDSlabBandDesign_As::CollectLoadCases(std::map<UINT, CString>& out) { CollectDesignLoadCombinations(out, m_eType, GetModelDataBase()); }

BOOL CFVDSlabBandDesign_As::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITAS_UNIAS", 0);
    return 1;
}

double CFVDSlabBandDesign_As::FoldTextAngle(double angle) {
    if (angle > 359.0) return 0.0;
    if (angle > 179.0) return angle - 180.0;
    return angle;
}

BOOL CFVDSlabBandDesign_As::MakeBandText(UINT key, CDataBase* db, UINT loadKey, CString& text,
                                         CArray<COLORREF>& colours, BOOL reversed) {
    text.Empty();
    colours.RemoveAll();
    if (!db) return FALSE;
    CClassPDDSbbd designs;
    designs.ConnectToDB(db);
    T_PDDSBBD_D rec;
    if (!designs.Get(key, rec)) return FALSE;
    S_BEAMREBARAS s[3];
    for (int i = 0; i < 3; ++i)
        if (!rec.FindData(loadKey, i, s[i])) return FALSE;
    if (reversed) std::swap(s[0], s[2]);
    CArray<CFVDRatioStrMaker> makers;
    const char* const prefixes[3] = {"", "-", "-"};
    for (int value = 0; value < 2; ++value)
        for (int i = 0; i < 3; ++i) {
            const CString prefix = value == 1 && i == 0 ? CString("\n") : CString(prefixes[i]);
            makers.Add(CFVDRatioStrMaker(s[i].d[value], prefix, CString(), 0, 0));
        }
    CFVDRatioStrMaker::s_MakeStrEx(makers, text, colours, CString(), figshared::kAsLimit, figshared::kOverflow);
    return TRUE;
}

BOOL CFVDSlabBandDesign_As::DrawSlabBandAs(UINT key, CDataBase* db) {
    SetCurrentLayer(FVD_LAYER_BEAM);
    SlabBandGeometry g;
    // A band without a text point or angle is left out.
    if (!GetSlabBandGeometry(key, db, g, m_pDrawing)) return 1;
    CFVDTextBlock block;
    block.m_dAngle = FoldTextAngle(g.angle);
    // The sections are written in the order the text reads: from the band's end when the text
    // runs from its end towards its start (a band stored right to left, or folded upright).
    const T_POINT2D& a = g.start;
    const T_POINT2D& b = g.end;
    const double rad = block.m_dAngle * M_PI / 180.0;
    const BOOL reversed = (b.x - a.x) * std::cos(rad) + (b.y - a.y) * std::sin(rad) < 0.0;
    if (!MakeBandText(key, db, m_nCurLoadCase, block.m_strText, block.m_Colors, reversed)) return 1;
    block.m_nVerJust = 100;
    block.m_bSpreadTurned = TRUE;
    SetCurrentLayer(FVD_LAYER_TEXT);
    block.Draw(m_pDrawing, g.text);
    return 1;
}

void CFVDSlabBandDesign_As::DrawFigure() {
    DrawBands(*this, [this](UINT key, CDataBase* db) { return DrawSlabBandAs(key, db); });
}

// ---- Moments along the bands (508) ----------------------------------------------------------

IMPLEMENT_DYNCREATE(CFVDSlabBandForce_M, CFVDBeamForceMoment)

void CFVDSlabBandForce_M::ClearBaseMapList(std::list<EFigureType>& out) {
    out.clear();
    out.push_back(EFVDT_BaseMap_QSN_Sbbd_M);
}

BOOL CFVDSlabBandForce_M::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITMOMENT_UNIT", 0) + "\n" + ValueScaleText();
    return 1;
}

void CFVDSlabBandForce_M::DrawFigure() {
    TextRoomScope room(*this);
    ChooseValueScale([this] {
        CDataBase* db = GetPostDataBase();
        CClassPSbbd bands;
        bands.ConnectToDB(db);
        CArray<UINT, UINT> keys;
        if (db) bands.GetKeyList(keys);
        for (INT_PTR i = 0; i < keys.GetSize(); ++i) DrawMember(keys[i], db, nullptr);
    });
    DrawBands(*this, [this](UINT key, CDataBase* db) { return DrawMember(key, db, nullptr); });
}

BOOL CFVDSlabBandForce_M::GetMemberLine(UINT key, CDataBase* db, CZELF_DBLineObjData& line, void* /*context*/) {
    SetCurrentLayer(FVD_LAYER_BEAM);
    SlabBandGeometry g;
    if (!GetSlabBandGeometry(key, db, g, m_pSurvey ? nullptr : m_pDrawing) || g.outline.GetSize() < 2) return 0;
    // The line reads left to right; DrawMember turns the stations (from the band's start) with it.
    return line.SetData(g.outline[0], g.outline[g.outline.GetSize() - 1], 0.0, 0.0, 0.0) != 0;
}

BOOL CFVDSlabBandForce_M::GetForceValues(UINT key, CDataBase* db, CArray<double, double>& first,
                                         CArray<double, double>& second, void* /*context*/) {
    CClassPDDSbbd designs;
    designs.ConnectToDB(db);
    T_PDDSBBD_D rec;
    if (!designs.Get(key, rec)) return 0;
    CFVDRibBeamForce_M::RibRecord stations;
    rec.GetLoadMap(stations.loads);
    return CFVDRibBeamForce_M::GetStationValues(stations, m_nCurLoadCase, first, second, kMomentComponent);
}
