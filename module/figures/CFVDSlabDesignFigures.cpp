#include "module/figures/CFVDSlabDesignFigures.h"

#include <cmath>

#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/base/CZELF_Polyline2D.h"
#include "host/check/ICheckToolUtil.h"
#include "host/db/DBTables.h"
#include "host/db/ElementDesignTables.h"
#include "host/db/FoundationTables.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureCheckText.h"
#include "module/figures/FigureShared.h"

namespace {

constexpr double kPontTol = 1e-3;  // m, a foundation point on a panel edge
const std::set<int> kBottomSlabCaseTypes = {0, 1, 19, 18};

// The plan points of the panel's nodes; FALSE when a node is missing.
BOOL PanelVertices(const T_PDDSLAB_D& rec, CDataBase* db, CArray<T_POINT2D>& pts) {
    pts.RemoveAll();
    if (!db) return FALSE;
    for (INT_PTR i = 0; i < rec.aNode.GetSize(); ++i) {
        const T_PNODE_D* n = db->Table<DBT_PNODE>().Find(rec.aNode[i]);
        if (!n) return FALSE;
        pts.Add(T_POINT2D(n->x, n->y));
    }
    return pts.GetSize() >= 3;
}

// The point d away from the line through a and b, on the side of p (straight off the line when
// p lies on it: to the left of a -> b).
T_POINT2D MoveAwayFromLine(const T_POINT2D& a, const T_POINT2D& b, const T_POINT2D& p, double d) {
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    if (len <= 0.0) return p;
    double nx = -dy / len, ny = dx / len;
    if ((p.x - a.x) * nx + (p.y - a.y) * ny < 0.0) nx = -nx, ny = -ny;
    return T_POINT2D(p.x + nx * d, p.y + ny * d);
}

}  // namespace

IMPLEMENT_DYNAMIC(CFVDSlabForceDrawBase, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDMTSBDesign_Force, CFVDSlabForceDrawBase)
IMPLEMENT_DYNCREATE(CFVDMTSBDesign_As, CFVDMTSBDesign_Force)
IMPLEMENT_DYNCREATE(CFVDMTSBDesign_Force_Sbbd, CFVDMTSBDesign_Force)
IMPLEMENT_DYNCREATE(CFVDMTSBDesign_As_Sbbd, CFVDMTSBDesign_As)
IMPLEMENT_DYNCREATE(CFVDBotSlabDesign_As, CFVDSlabForceDrawBase)
IMPLEMENT_DYNCREATE(CFVDBotSlabDesign_M, CFVDBotSlabDesign_As)
IMPLEMENT_DYNCREATE(CFVDBotSlabDesignIso_As, CFVDBotSlabDesign_As)
IMPLEMENT_DYNCREATE(CFVDBotSlabDesignIso_M, CFVDBotSlabDesign_M)

// ---- Makers ---------------------------------------------------------------------------------

namespace {
int RaftType(UINT raft) {
    CClassMtsb t;
    t.ConnectToDB(CFVDBase::GetModelDataBase());
    return t.GetMtsbType(raft);
}
void DecimalsZero(sFVDDisplaySettings* s) {
    if (s) s->m_dPrecision = 0.0;
}
}  // namespace

namespace {
// 1: a panel of a slab-band raft (type 2 or 3), 0: of another raft, -1: of no raft.
int SlabBandPanel(const T_PDDSLAB_D& rec) {
    if (rec.raft < 1) return -1;
    const int t = RaftType(rec.raft);
    return t == 2 || t == 3 ? 1 : 0;
}
}  // namespace

BOOL CFVDMTSBDesign_Force::IsSlabShown(const T_PDDSLAB_D& rec) { return SlabBandPanel(rec) == 0; }
BOOL CFVDMTSBDesign_Force_Sbbd::IsSlabShown(const T_PDDSLAB_D& rec) { return SlabBandPanel(rec) == 1; }
BOOL CFVDMTSBDesign_As_Sbbd::IsSlabShown(const T_PDDSLAB_D& rec) { return SlabBandPanel(rec) == 1; }
BOOL CFVDBotSlabDesign_As::IsSlabShown(const T_PDDSLAB_D& rec) {
    if (rec.raft != 0) return FALSE;
    const BOOL footing = HasEdgeMemberOfType(rec, MEMB_FOOTING, GetPostDataBase(), GetModelDataBase());
    return footing == WantsFootingEdge();
}

BOOL CFVDMTSBDesign_Force::GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values,
                                         CArray<double, double>& labels) {
    return rec.GetDData_M(m_nCurLoadCase, values, labels);
}
BOOL CFVDMTSBDesign_As::GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values,
                                      CArray<double, double>& labels) {
    return rec.GetData(m_nCurLoadCase, values, labels);
}
BOOL CFVDBotSlabDesign_As::GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values,
                                         CArray<double, double>& labels) {
    return rec.GetData(m_nCurLoadCase, values, labels);
}
BOOL CFVDBotSlabDesign_M::GetSlabValues(const T_PDDSLAB_D& rec, CArray<double, double>& values,
                                        CArray<double, double>& labels) {
    return rec.GetDData_M(m_nCurLoadCase, values, labels);
}

void CFVDMTSBDesign_As::SetDefaultOptions() { DecimalsZero(GetDisplaySettings()); }
void CFVDBotSlabDesign_As::SetDefaultOptions() { DecimalsZero(GetDisplaySettings()); }

const std::set<int>* CFVDBotSlabDesign_As::LoadCaseFilter() const { return &kBottomSlabCaseTypes; }

CString CFVDBotSlabDesign_As::GetLoadCombText(UINT key) {
    CString text;
    CClassLdgp groups;
    groups.ConnectToDB(GetModelDataBase());
    groups.GetLdgpSortStrTex(key, text, nullptr, nullptr, nullptr, &kBottomSlabCaseTypes);
    return text;
}

// ---- The drawing road -----------------------------------------------------------------------

BOOL CFVDSlabForceDrawBase::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text = CMsgDll::pfuncLoadStr(DescriptionKey(), 0);
    return 1;
}

void CFVDSlabForceDrawBase::CollectLoadCases(std::map<UINT, CString>& out) {
    CollectDesignLoadCombinations(out, m_eType, GetModelDataBase(), LoadCaseFilter());
}

void CFVDSlabForceDrawBase::DrawFigure() {
    ApplyScale();
    CDataBase* db = GetPostDataBase();
    if (!m_pDrawing || !db) return;
    CClassPDDSlab slabs;
    slabs.ConnectToDB(db);
    CArray<UINT, UINT> keys;
    slabs.GetKeyList(keys);
    // The panel values keep clear of what the sheet holds, a text height apart on one line.
    CFVDTextRoom room;
    room.SetLineGap(1.0);
    room.Collect(*m_pDrawing);
    m_pTextRoom = &room;
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!DrawSlab(keys[i], db)) break;
    m_pTextRoom = nullptr;
    DrawFigureNotes();
}

void CFVDSlabForceDrawBase::PlaceClear(const CArray<long>& ids, double ux, double uy, double nx, double ny) {
    if (!m_pTextRoom || ids.GetSize() == 0) return;
    // The steps are in heights of the texts' lines, not of their box: a turned text's box is as
    // tall as the text is long.
    double h = 0.0;
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) h = std::fmax(h, m_pDrawing->GetTextHeight(ids[i]));
    // Only inwards across the edge: a label keeps to its own panel's side of it.
    std::vector<T_POINT2D> offsets;
    for (int row : {0, 1, 2, 3, 4, 5})
        for (int k = row == 0 ? 1 : 0; k <= 24; ++k) {
            const double step = 0.5 * h * ((k + 1) / 2) * (k % 2 ? 1.0 : -1.0), lift = 1.1 * h * row;
            offsets.emplace_back(step * ux + lift * nx, step * uy + lift * ny);
        }
    m_pTextRoom->Place(*m_pDrawing, ids, offsets);
}

BOOL CFVDSlabForceDrawBase::HasEdgeMemberOfType(const T_PDDSLAB_D& rec, int type, CDataBase* post, CDataBase* model) {
    CArray<T_POINT2D> pts;
    if (!model || !PanelVertices(rec, post, pts) || pts.GetSize() < 2) return FALSE;
    CClassPont ponts;
    ponts.ConnectToDB(model);
    const auto& membs = model->Table<DBT_MEMB>();
    const INT_PTR n = pts.GetSize();
    for (INT_PTR i = 0; i < n; ++i) {
        const T_POINT2D& a = pts[(i + n - 1) % n];  // the last point back to the first, then on
        const T_POINT2D& b = pts[i];
        const double p1[2] = {a.x, a.y}, p2[2] = {b.x, b.y};
        CArray<UINT, UINT> keys;
        if (!ponts.GetKeyListBy2Point(p1, p2, keys, kPontTol)) continue;
        for (size_t m = 0; m < membs.Keys().size(); ++m) {
            const T_MEMB_D& rec2 = membs.Records()[m];
            if (rec2.type != type) continue;
            for (INT_PTR k = 0; k < keys.GetSize(); ++k)
                for (INT_PTR q = 0; q < rec2.aPont.GetSize(); ++q)
                    if (rec2.aPont[q] == keys[k]) return TRUE;
        }
    }
    return FALSE;
}

CString CFVDSlabForceDrawBase::GetValueLabel(UINT key, int /*index*/) { return MakeLoadCombLabel(key, m_nCurLoadCase != 0); }

void CFVDSlabForceDrawBase::EdgeTextPlacement(double& angle, BOOL reversed, int& anchor, BOOL& upright) {
    anchor = 8;
    upright = TRUE;
    if (reversed) {
        anchor = 0;
        upright = FALSE;
    }
    if (angle > 179.0 && anchor == 8) {
        if (angle > 270.0) anchor = 0;
        angle -= 180.0;
        if (angle > 90.0) upright = FALSE;
    }
}

CString CFVDSlabForceDrawBase::MakeEdgeText(const CArray<double, double>& values, const CArray<double, double>& labels,
                                            int i, int count, int recordCount, BOOL upright,
                                            CArray<COLORREF>& colours) {
    CArray<INT_PTR> at;
    if (count == 3) {
        for (int k = 0; k < 3; ++k) at.Add(3 * i + k);
        if (!upright) std::swap(at[0], at[2]);
    } else {
        // One value per edge from a record of three: the edge's middle value.
        at.Add(recordCount == 3 ? 3 * i + 1 : i);
    }
    CArray<CFVDRatioStrMaker> makers;
    for (INT_PTR k = 0; k < at.GetSize(); ++k) {
        if (at[k] >= values.GetSize() || at[k] >= labels.GetSize()) return CString();
        const UINT key = static_cast<UINT>(labels[at[k]]);
        makers.Add(CFVDRatioStrMaker(values[at[k]], k == 0 ? CString() : CString("/"),
                                     GetValueLabel(key, static_cast<int>(at[k])), 0));
    }
    CString text;
    if (IsForceFigure())
        CFVDRatioStrMaker::s_MakeStrNoColor(makers, text, CString());
    else
        CFVDRatioStrMaker::s_MakeStrEx(makers, text, colours, CString(), figshared::kAsLimit, figshared::kOverflow);
    return text;
}

int CFVDSlabForceDrawBase::DrawSlab(UINT key, CDataBase* db) {
    CClassPDDSlab slabs;
    slabs.ConnectToDB(db);
    T_PDDSLAB_D rec;
    if (!slabs.Get(key, rec) || !IsSlabShown(rec)) return 1;
    CArray<T_POINT2D> vertices;
    if (!PanelVertices(rec, db, vertices)) return 1;  // a panel without outline: the next one
    CZELF_Polyline2D outline;
    for (INT_PTR i = 0; i < vertices.GetSize(); ++i)
        outline.Add(vertices[i], i < rec.aChord.GetSize() ? rec.aChord[i] : 0.0);
    outline.MakeColse();
    CArray<T_POINT2D> poly;
    if (outline.ToPolyLine(poly, CMathFunc::ArcDividAngleForCal, 1) < 3) return 1;
    SetCurrentLayer(FVD_LAYER_SUBELEM);
    m_pDrawing->DrawPolyLine(poly, 0, CString());
    SetCurrentLayer(FVD_LAYER_TEXT);
    m_nEdgeValueCount = UsesEdgeValueCount() ? rec.nEdgeValues : 1;
    CArray<double, double> values, labels;
    if (!GetSlabValues(rec, values, labels)) return 1;
    BOOL ok = FALSE;
    DrawDirectionTexts(poly, rec, values, labels, ok);
    if (!ok) return 1;
    values.RemoveAt(0, 2);
    labels.RemoveAt(0, 2);
    DrawEdgeTexts(vertices, rec, values, labels);
    return 1;
}

void CFVDSlabForceDrawBase::DrawDirectionTexts(const CArray<T_POINT2D>& poly, const T_PDDSLAB_D& rec,
                                               const CArray<double, double>& values,
                                               const CArray<double, double>& labels, BOOL& ok) {
    ok = FALSE;
    if (values.GetSize() < 2 || labels.GetSize() < 2) return;
    CArray<double> info, lengths;
    T_POINT2D centre;
    double area = 0.0;
    if (!ICheckToolUtil::s_GetPolyLineInfo(poly, info, lengths) || !ICheckToolUtil::s_GetPolyCentroid(poly, centre, area))
        return;
    const INT_PTR n = poly.GetSize();
    const INT_PTR k = static_cast<INT_PTR>(info[2]);
    T_POINT2D a = poly[k % n], b = poly[(k + 1) % n];
    if (!ICheckToolUtil::s_IsLeftPt(a.x, a.y, b.x, b.y)) std::swap(a, b);
    const double d = 0.2 * lengths[0];
    T_POINT2D p1 = MoveAwayFromLine(a, b, centre, d), p2 = centre;
    if (rec.angle1 > rec.angle2) std::swap(p1, p2);
    CArray<COLORREF> colours;
    const double angles[2] = {rec.angle1, rec.angle2};
    const T_POINT2D at[2] = {p1, p2};
    const int anchors[2] = {8, 100};
    for (int t = 0; t < 2; ++t) {
        CArray<CFVDRatioStrMaker> makers;
        makers.Add(CFVDRatioStrMaker(values[t], CString(), GetValueLabel(static_cast<UINT>(labels[t]), -1 - t), 0));
        CFVDTextBlock block;
        if (IsForceFigure())
            CFVDRatioStrMaker::s_MakeStrNoColor(makers, block.m_strText, CString());
        else
            CFVDRatioStrMaker::s_MakeStrEx(makers, block.m_strText, block.m_Colors, CString(), figshared::kAsLimit,
                                           figshared::kOverflow);
        block.m_dAngle = angles[t];
        block.m_nVerJust = anchors[t];
        const double rad = angles[t] * M_PI / 180.0;
        PlaceClear(block.DrawAt(VdGetDrawingHandle(m_pDrawing), at[t]), -std::sin(rad), std::cos(rad), 0.0, 0.0);
    }
    ok = TRUE;
}

void CFVDSlabForceDrawBase::DrawEdgeTexts(const CArray<T_POINT2D>& vertices, const T_PDDSLAB_D& rec,
                                          const CArray<double, double>& values,
                                          const CArray<double, double>& labels) {
    const INT_PTR n = vertices.GetSize();
    if (n < 3) return;
    double twiceArea = 0.0;  // positive for a panel listed counter-clockwise
    for (INT_PTR i = 0; i < n; ++i)
        twiceArea += vertices[i].x * vertices[(i + 1) % n].y - vertices[(i + 1) % n].x * vertices[i].y;
    for (INT_PTR i = 0; i < n; ++i) {
        const T_POINT2D& a = vertices[i];
        const T_POINT2D& b = vertices[(i + 1) % n];
        double angle = CMathFunc::GetAngle(a.x, a.y, b.x, b.y, 1);
        const BOOL reversed = i < rec.aChord.GetSize() && rec.aChord[i] < 0.0;
        int anchor = 8;
        BOOL upright = TRUE;
        EdgeTextPlacement(angle, reversed, anchor, upright);
        CFVDTextBlock block;
        block.m_strText = MakeEdgeText(values, labels, static_cast<int>(i), m_nEdgeValueCount, rec.nEdgeValues, upright,
                                       block.m_Colors);
        if (block.m_strText.IsEmpty()) {
            if (m_nEdgeValueCount == 3) continue;  // an edge without its three values is skipped
            break;                                 // the values have run out
        }
        block.m_dAngle = angle;
        // The text stands on the panel's side of its edge, so that the two panels sharing an
        // edge each write theirs inside themselves: above the upright text line (anchor 8) when
        // that is the inside, else hanging below it (0).
        const double rad = angle * M_PI / 180.0;
        const double inX = -(b.y - a.y) * twiceArea, inY = (b.x - a.x) * twiceArea;  // towards the inside
        block.m_nVerJust = -std::sin(rad) * inX + std::cos(rad) * inY >= 0.0 ? 8 : 0;
        const double inward = block.m_nVerJust == 8 ? 1.0 : -1.0;
        PlaceClear(block.DrawAt(VdGetDrawingHandle(m_pDrawing), T_POINT2D(0.5 * (a.x + b.x), 0.5 * (a.y + b.y))),
                   std::cos(rad), std::sin(rad), -std::sin(rad) * inward, std::cos(rad) * inward);
    }
}
