#include "module/figures/CFVDElementFigures.h"

#include <cmath>

#include "host/base/CMsgDll.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/ElementDesignTables.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDBaseMap.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureShared.h"

namespace {

// The plan outline of a post-database element from its nodes; FALSE when a node is missing.
BOOL ElementOutline(CDataBase* db, const T_PELEM_D& e, CArray<T_POINT2D>& pts) {
    CArray<UINT, UINT> nodes;
    for (int i = 0; i < e.nNode && i < PELEM_MAX_NODE; ++i) nodes.Add(e.node[i]);
    return ICheckToolUtil::s_ConvertNode2PolyLine(nodes, pts, db);
}

void ToPolygon(const CArray<T_POINT2D>& pts, T_POLYGON2D& poly) {
    poly.m_Points.clear();
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) poly.Add(pts[i]);
    poly.MakeColse();
}

}  // namespace

// ---- Element moments and reinforcement ------------------------------------------------------

IMPLEMENT_DYNCREATE(CFVDMtsb_ElementForce, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDMtsb_ElementAs, CFVDMtsb_ElementForce)

void CFVDMtsb_ElementForce::SetDefaultOptions() {
    sFVDDisplaySettings* s = GetDisplaySettings();
    s->m_dPrecision = 0.0;
    s->m_dDrawScale = 3.0;
}

void CFVDMtsb_ElementForce::CollectLoadCases(std::map<UINT, CString>& out) {
    CollectDesignLoadCombinations(out, m_eType, GetModelDataBase());
}

BOOL CFVDMtsb_ElementForce::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text += CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITMOMENT_UNIT", 0);
    return 1;
}

BOOL CFVDMtsb_ElementAs::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text += CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITAS_UNIAS", 0);
    return 1;
}

void CFVDMtsb_ElementForce::DrawFigure() {
    ApplyScale();
    CDataBase* db = GetPostDataBase();
    if (!m_pDrawing || !db) return;
    CClassPElem elems;
    elems.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    elems.GetKeyList(keys);
    CPDDElemValues values;
    values.Read(db, keys, m_nCurLoadCase, GetDataKind());
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!DrawElement(keys[i], db, values, static_cast<size_t>(i))) break;
    DrawFigureNotes();
}

BOOL CFVDMtsb_ElementForce::IsFoundationSlab(CDataBase* db, UINT key) {
    const T_PELEM_D* e = db ? db->Table<DBT_PELEM>().Find(key) : nullptr;
    if (!e || !e->IsSlabElement()) return FALSE;
    const T_PMEMB_D* m = db->Table<DBT_PMEMB>().Find(db->GetMembKeyOfElem(key));
    return m && m->modelKey != 0;
}

void CFVDMtsb_ElementForce::MakeElementText(const CString& name, int kind, const CArray<double, double>& values,
                                            const CArray<double, double>& combs, UINT loadCase, CString& text,
                                            CArray<COLORREF>& colours) {
    static const char* const kSuffix[4] = {"xb", "xt", "yb", "yt"};
    CArray<CFVDRatioStrMaker> makers;
    for (INT_PTR i = 0; i < values.GetSize() && i < 4; ++i) {
        const UINT comb = i < combs.GetSize() ? static_cast<UINT>(combs[i]) : 0;
        makers.Add(CFVDRatioStrMaker(values[i], name + kSuffix[i], MakeLoadCombLabel(comb, loadCase != 0), 0));
    }
    text.Empty();
    if (kind == 0)
        CFVDRatioStrMaker::s_MakeStrNoColor(makers, text, "\n");
    else
        CFVDRatioStrMaker::s_MakeStrEx(makers, text, colours, "\n", figshared::kAsLimit, figshared::kOverflow);
}

BOOL CFVDMtsb_ElementForce::DrawElement(UINT key, CDataBase* db, const CPDDElemValues& elemValues, size_t index) {
    if (!IsFoundationSlab(db, key)) return TRUE;
    const T_PELEM_D& e = *db->Table<DBT_PELEM>().Find(key);
    CArray<T_POINT2D> pts;
    if (!ElementOutline(db, e, pts)) return TRUE;
    T_POLYGON2D outline;
    ToPolygon(pts, outline);
    SetCurrentLayer(FVD_LAYER_SUBELEM);
    m_pDrawing->DrawPolyLine(outline, 0, CString());

    CArray<double, double> values, combs;
    if (!elemValues.Get(index, values, combs) || values.GetSize() == 0)
        return TRUE;
    SetCurrentLayer(FVD_LAYER_TEXT);
    CFVDTextBlock block;
    MakeElementText(GetValueName(), GetDataKind(), values, combs, m_nCurLoadCase, block.m_strText, block.m_Colors);
    T_POINT2D centre;
    double area = 0.0;
    if (ICheckToolUtil::s_GetPolyCentroid(pts, centre, area)) block.DrawAt(VdGetDrawingHandle(m_pDrawing), centre);
    return TRUE;
}

// ---- Report regions -------------------------------------------------------------------------

IMPLEMENT_DYNCREATE(CFVDMtsb_EleRp, CFVDBase)

void CFVDMtsb_EleRp::CollectLoadCases(std::map<UINT, CString>& out) { out.clear(); }

BOOL CFVDMtsb_EleRp::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text += "弯矩" + CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITMOMENT_UNIT", 0);
    text += "\n配筋" + CMsgDll::pfuncLoadStr("IDS_DESCREPT_UNITAS_UNIAS", 0);
    return 1;
}

void CFVDMtsb_EleRp::DrawFigure() {
    ApplyScale();
    CDataBase* db = GetPostDataBase();
    if (!m_pDrawing || !db) return;
    CClassEleRp regions;
    regions.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    regions.GetKeyList(keys);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!DrawReportRegion(keys[i], db)) break;
    DrawFigureNotes();
}

CString CFVDMtsb_EleRp::MakeReportText(const T_ELERP_D& rec, UINT loadCase) {
    static const char* const kSlot[4] = {"xb", "xt", "yb", "yt"};
    static const char* const kItem[2] = {"M", "As"};
    CArray<CFVDRatioStrMaker> makers;
    for (int slot = 0; slot < 4; ++slot)
        for (int item = 0; item < 2; ++item) {
            const T_ELERPItemVal v = rec.GetVal(item).v[slot];
            const CString name = CString(kItem[item]) + kSlot[slot];
            const CString lead = slot == 0 && item == 0 ? CString() : CString("\n");
            makers.Add(CFVDRatioStrMaker(v.max, lead + name + "Max", MakeLoadCombLabel(v.comb, loadCase != 0), 0));
            makers.Add(CFVDRatioStrMaker(v.ave, "  " + name + "Ave", CString(), 0));
        }
    CString text;
    CFVDRatioStrMaker::s_MakeStrNoColor(makers, text, CString());
    return text;
}

BOOL CFVDMtsb_EleRp::DrawReportRegion(UINT key, CDataBase* db) {
    if (!db || !m_pDrawing) return FALSE;
    CClassEleRp regions;
    regions.ConnectToDB(db);
    T_ELERP_D rec;
    if (!regions.Get(key, rec)) return TRUE;
    CArray<T_POINT2D> pts;
    if (rec.aNode.GetSize() == 0 || !ICheckToolUtil::s_ConvertNode2PolyLine(rec.aNode, pts, db)) return TRUE;
    T_POLYGON2D outline;
    ToPolygon(pts, outline);
    CFVDBaseMapQSNSlabDir::DrawSlabDir(outline, rec.angle, rec.angle + 90.0, m_pDrawing, FVD_LAYER_SUBELEM,
                                       FVD_LAYER_TEXT);
    SetCurrentLayer(FVD_LAYER_TEXT);
    CFVDTextBlock block;
    block.m_strText = MakeReportText(rec, m_nCurLoadCase);
    // The direction arrows leave the centre between the x and the y direction: the report
    // stands clear of them, below the centre when they point up, else above it.
    const double a = rec.angle * M_PI / 180.0;
    const bool up = std::sin(a) + std::cos(a) >= 0.0;
    constexpr double kGap = 0.2;  // m
    block.m_nVerJust = up ? VdTextVerTop : VdTextVerBottom;
    const T_POINT2D c = outline.Center();
    block.DrawAt(VdGetDrawingHandle(m_pDrawing), T_POINT2D(c.x, c.y + (up ? -kGap : kGap)));
    return TRUE;
}
