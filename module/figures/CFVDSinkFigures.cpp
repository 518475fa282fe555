#include "module/figures/CFVDSinkFigures.h"

#include <cmath>
#include <new>
#include <stdexcept>

#include "host/base/CGeomFunc.h"
#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "host/base/CurrentUnitCtrl.h"
#include "host/check/CModelingMethod.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureText.h"

IMPLEMENT_DYNCREATE(CFVDSink, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDIsoSinkDif, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDSinkMatTilt, CFVDBase)

namespace {

constexpr COLORREF kWithin = 0x4C00;
constexpr COLORREF kBeyond = 0xFF;

BOOL ReadGbpa(T_GBPA_D& g) {
    CDataBase* db = CFVDBase::GetModelDataBase();
    if (!db) return FALSE;
    CClassGbpa t;
    t.ConnectToDB(db);
    return t.Get(GBPA_KEY, g) != 0;
}

void Colour(CVdrawUtil* d, const CArray<long>& ids, COLORREF c) {
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) d->SetFigureColor(ids[i], c, 0);
}

}  // namespace

// ---- 600 ------------------------------------------------------------------------------------

void CFVDSink::InitBaseMapList() {
    CFVDBase::InitBaseMapList();
    m_BaseMapList.push_back(EFVDT_SINK_ISOSINKDIF);
    m_BaseMapList.push_back(EFVDT_SINK_MATTILT);
    m_BaseMapList.push_back(EFVDT_BaseMap_QSN_SinkMesh);
}

void CFVDSink::CreateLayers() {
    CFVDBase::CreateLayers();
    AddLayer(110, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_QSN_Figure_Layer_Contour", 0), 0xFF8000, 0.0, 999);
    AddLayer(111, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_QSN_Figure_Layer_Render", 0), 0x8080, 0.0, 999);
}

void CFVDSink::CollectLoadCases(std::map<UINT, CString>& out) { CollectCheckLoadCases(out, 2, TRUE, nullptr); }

BOOL CFVDSink::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text = CMsgDll::pfuncLoadStr("IDS_DESCREPT_SINK_TEXT_SINK", 0);
    return 1;
}

void CFVDSink::DrawSettlements() {
    CDataBase* db = GetPostDataBase();
    if (!db || !m_pDrawing) return;
    CClassPCDSink sinks;
    sinks.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    sinks.GetList(keys);
    SetCurrentLayer(FVD_LAYER_TEXT);
    for (INT_PTR i = 0; i < keys.GetSize(); ++i) {
        T_PCDSINK_D r;
        double v = 0.0;
        if (!sinks.Get(keys[i], r) || !sinks.GetValue(keys[i], m_nCurLoadCase, v)) continue;
        v *= CurrentUnitCtrl::Cur2MM();
        CFVDTextBlock block;
        CFVDRatioStrMaker(v, CString(), CString(), 0).MakeStrNoColor(block.m_strText);
        block.SetAnchor(1);
        // Written at the point itself: a polygon of four copies of one point has no centroid.
        block.DrawAt(VdGetDrawingHandle(m_pDrawing), T_POINT2D{r.x, r.y});
        m_ContourPoints.push_back(T_POINT3D{r.x, r.y, -v});
    }
}

void CFVDSink::DrawFigure() {
    m_ContourPoints.clear();
    // The points carry the settlement negated (an elevation of the ground): the legend says so.
    m_strContourLegendTitle = CMsgDll::pfuncLoadStr("IDS_DESCREPT_SINK_CONTOUR_TITLE", 0) + "\n" +
                              CMsgDll::pfuncLoadStr("IDS_DESCREPT_SINK_CONTOUR_UNIT", 0);
    ApplyScale();
    try {
        DrawSettlements();
        if (m_pDrawing) {
            SetCurrentLayer(110);
            DrawContourStripLines();
            SetCurrentLayer(111);
            DrawNephogram();
        }
    } catch (const std::exception& e) {
        GMsgOut((CString("打开失败! ") + e.what()).GetString(), 0, 0);
    }
    DrawFigureNotes();
}

// ---- 601 ------------------------------------------------------------------------------------

double CFVDIsoSinkDif::DiffRatio(double s1, double s2, double lengthMm, double cur2mm) {
    if (!(std::fabs(lengthMm) >= CMathFunc::m_NormalZero)) return 0.0;
    return std::fabs(s1 - s2) * cur2mm / lengthMm;
}

CString CFVDIsoSinkDif::DiffText(double r) {
    CString t;
    t.Format("%.4f L", r);
    return t;
}

COLORREF CFVDIsoSinkDif::DiffColour(double r, double allowed) { return std::fabs(r) > allowed ? kBeyond : kWithin; }

void CFVDIsoSinkDif::CreateLayers() {
    CFVDBase::CreateLayers();
    AddLayer(150, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_QSN_Figure_Layer_SinkDif", 0), kWithin, 0.0, 999);
}

void CFVDIsoSinkDif::CollectLoadCases(std::map<UINT, CString>& out) { CollectCheckLoadCases(out, 2, TRUE, nullptr); }

// The footings an axis links come from the axis link tool (CAxisLinkTool): the axis counts only
// when it links exactly two isolated footings.
void CFVDIsoSinkDif::DrawFigure() {
    m_Done.clear();
    ApplyScale();
    CDataBase* mdb = GetModelDataBase();
    CDataBase* pdb = GetPostDataBase();
    if (!mdb || !pdb || !m_pDrawing) {
        DrawFigureNotes();
        return;
    }
    CClassAxis axes;
    axes.ConnectToDB(mdb);
    CArray<UINT, UINT> axisKeys;
    axes.GetKeyList(axisKeys);
    CClassPCDSink sinks;
    sinks.ConnectToDB(pdb);
    CAxisLinkTool link;
    link.ResetDB(mdb);
    SetCurrentLayer(150);
    for (INT_PTR a = 0; a < axisKeys.GetSize(); ++a) {
        if (m_Done.count(axisKeys[a])) continue;
        m_Done[axisKeys[a]] = 1;
        T_GBPA_D g;
        if (!ReadGbpa(g)) break;
        link.SetGroupKey(axisKeys[a], 1);
        link.LinkGroup();
        CArray<UINT, UINT> linked, on;
        std::vector<CModelingMethod::Ring> areas;
        link.GetLinkGroup(linked, areas);
        ICheckToolUtil::s_GetMembKeyFromKeys(linked, on, MEMB_FOOTING, 0, mdb);
        if (on.GetSize() != 2) continue;
        const T_POINT2D c1 = ICheckToolUtil::s_GetColfCent(on[0], 0), c2 = ICheckToolUtil::s_GetColfCent(on[1], 0);
        const double L = std::hypot(c2.x - c1.x, c2.y - c1.y) * CurrentUnitCtrl::Cur2MM();
        UINT k1 = 0, k2 = 0;
        if (!sinks.GetByPos(c1.x, c1.y, k1) || !sinks.GetByPos(c2.x, c2.y, k2)) continue;
        T_PCDSINK_D r1, r2;
        if (!sinks.Get(k1, r1) || !sinks.Get(k2, r2)) continue;
        double s1 = 0.0, s2 = 0.0;
        if (m_nCurLoadCase != 0) {
            if (!sinks.GetValue(k1, m_nCurLoadCase, s1) || !sinks.GetValue(k2, m_nCurLoadCase, s2)) continue;
        } else {
            // The group of the largest difference among the groups both points hold.
            BOOL any = FALSE;
            for (INT_PTR i = 0; i < r1.aGroup.GetSize(); ++i) {
                double a1 = 0.0, a2 = 0.0;
                if (!sinks.GetValue(k1, r1.aGroup[i], a1) || !sinks.GetValue(k2, r1.aGroup[i], a2)) continue;
                if (!any || std::fabs(a1 - a2) > std::fabs(s1 - s2)) {
                    s1 = a1;
                    s2 = a2;
                    any = TRUE;
                }
            }
            if (!any) continue;
        }
        const double r = DiffRatio(s1, s2, L, CurrentUnitCtrl::Cur2MM());
        CFVDTextBlock block;
        block.m_strText = DiffText(r);
        block.SetAnchor(1);
        // A square of 0.5 m about the midpoint of the two centres.
        const T_POINT2D mid{(c1.x + c2.x) * 0.5, (c1.y + c2.y) * 0.5};
        const double h = 0.25 / CurrentUnitCtrl::Cur2M();
        block.m_Polygon.Add(T_POINT2D{mid.x - h, mid.y - h});
        block.m_Polygon.Add(T_POINT2D{mid.x + h, mid.y - h});
        block.m_Polygon.Add(T_POINT2D{mid.x + h, mid.y + h});
        block.m_Polygon.Add(T_POINT2D{mid.x - h, mid.y + h});
        Colour(m_pDrawing, block.DrawInPolygon(VdGetDrawingHandle(m_pDrawing), 0), DiffColour(r, g.diffSettle));
    }
    DrawFigureNotes();
}

// ---- 602 ------------------------------------------------------------------------------------

void CFVDSinkMatTilt::CollectLoadCases(std::map<UINT, CString>& out) { CollectCheckLoadCases(out, 2, TRUE, nullptr); }

CString CFVDSinkMatTilt::TiltText(double averageMm, double xTilt, double yTilt, double deflection) {
    CString avg;
    CFVDRatioStrMaker(averageMm, CString(), CString(), 0).MakeStrNoColor(avg);
    const CString x = FormatFigureFixed(xTilt, 4), y = FormatFigureFixed(yTilt, 4);
    const CString d = FormatFigureFixed(deflection * 1000.0, 2) + "/1000";
    return CMsgDll::pfuncLoadStr("IDS_DESCREPT_SINK_TEXT_SINK_AVG", 0) + avg + "mm;\n" +
           CMsgDll::pfuncLoadStr("IDS_DESCREPT_SINK_TEXT_SINK_XTILT", 0) + x + ";\n" +
           CMsgDll::pfuncLoadStr("IDS_DESCREPT_SINK_TEXT_SINK_YTILT", 0) + y + ";\n" +
           CMsgDll::pfuncLoadStr("IDS_DESCREPT_SINK_TEXT_RAFT_DEFLECTION", 0) + d;
}

void CFVDSinkMatTilt::DrawFigure() {
    ApplyScale();
    CDataBase* mdb = GetModelDataBase();
    CDataBase* pdb = GetPostDataBase();
    if (!mdb || !pdb || !m_pDrawing) {
        DrawFigureNotes();
        return;
    }
    CClassMtsb rafts;
    rafts.ConnectToDB(mdb);
    CClassPCDSink sinks;
    sinks.ConnectToDB(pdb);
    CArray<UINT, UINT> raftKeys, all;
    rafts.GetKeyList(raftKeys);
    sinks.GetList(all);
    SetCurrentLayer(FVD_LAYER_TEXT);
    for (INT_PTR i = 0; i < raftKeys.GetSize(); ++i) {
        T_GBPA_D g;
        if (!ReadGbpa(g)) break;
        CArray<T_POINT2D> outline;
        if (!CSlabCheckToolUtil::s_GetPolygon(raftKeys[i], outline)) continue;
        CArray<UINT, UINT> inside;
        for (INT_PTR k = 0; k < all.GetSize(); ++k) {
            T_PCDSINK_D r;
            if (sinks.Get(all[k], r) && CGeomFunc::IsPointInPolygon2(T_POINT2D{r.x, r.y}, outline, 1, 0.01))
                inside.Add(all[k]);
        }
        double xt = 0, yt = 0, avg = 0, defl = 0;
        if (inside.GetSize() == 0 || !sinks.GetCJAngle(inside, m_nCurLoadCase, xt, yt, avg, defl)) continue;
        const double avgMm = avg * CurrentUnitCtrl::Cur2MM();
        T_REGION2D box;
        CGeomFunc::GetMBR(outline, box);
        CFVDTextBlock block;
        block.m_strText = TiltText(avgMm, xt, yt, defl);
        // Inside the raft, hanging from just below the top of its box, clear of its edges.
        block.m_nVerJust = VdTextVerTop;
        const T_POINT2D at{(box.x1 + box.x2) * 0.5, box.y2 - 0.05 * (box.y2 - box.y1)};
        const CArray<long> ids = block.DrawAt(VdGetDrawingHandle(m_pDrawing), at);
        // One entity per line: each line in the check colours by its own allowed value.
        const double vals[4] = {avgMm, xt, yt, defl};
        const double allowed[4] = {g.avgSettle, g.tiltX, g.tiltY, g.deflection};
        for (INT_PTR l = 0; l < ids.GetSize(); ++l) {
            const int q = static_cast<int>(l < 4 ? l : 3);
            m_pDrawing->SetFigureColor(ids[l], std::fabs(vals[q]) > allowed[q] ? kFigureFailColour : kFigurePassColour, 0);
        }
    }
    DrawFigureNotes();
}
