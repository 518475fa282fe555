#include "module/figures/CFVDNodeValueFigures.h"

#include "host/base/CMathFunc.h"
#include "host/base/CMsgDll.h"
#include "host/check/ICheckToolUtil.h"
#include "host/check/IDesignToolUtil.h"
#include "host/db/DBTables.h"
#include "host/vdraw/VdDrawingHandle.h"
#include "module/figures/CFVDBeamForceFigures.h"
#include "module/figures/CFVDElementFigures.h"
#include "module/figures/CFVDRatioStrMaker.h"
#include "module/figures/CFVDTextBlock.h"
#include "module/figures/FigureCheckText.h"

namespace {

constexpr double kMetresToMm = 1000.0;  // the design tool answers displacements in metres

void DrawClosed(CVdrawUtil* d, const CArray<T_POINT2D>& pts) {
    T_POLYGON2D poly;
    for (INT_PTR i = 0; i < pts.GetSize(); ++i) poly.Add(pts[i]);
    poly.MakeColse();
    d->DrawPolyLine(poly, 0, CString());
}

void SetPrecisionZero(sFVDDisplaySettings* s) { s->m_dPrecision = 0.0; }

}  // namespace

IMPLEMENT_DYNCREATE(CFVDMembInfoDrawByNode, CFVDBase)
IMPLEMENT_DYNCREATE(CFVDBeam_Ract, CFVDMembInfoDrawByNode)
IMPLEMENT_DYNCREATE(CFVDMTSBDesign_Disp, CFVDMembInfoDrawByNode)
IMPLEMENT_DYNCREATE(CFVDBeam_Disp, CFVDMTSBDesign_Disp)
IMPLEMENT_DYNCREATE(CFVDELEM_Ract, CFVDMembInfoDrawByNode)
IMPLEMENT_DYNCREATE(CFVDELEM_Disp, CFVDELEM_Ract)

BOOL CFVDMembInfoDrawByNode::GetDescription(CArray<COLORREF>& /*colours*/, CString& text) {
    text = CMsgDll::pfuncLoadStr(DescriptionKey(), 0);
    return 1;
}

BOOL CFVDMembInfoDrawByNode::IsLinkBeam(const T_PMEMB_D& m) {
    return CFVDForceDrawCommon::GetBeamMemberKind(m, GetModelDataBase()) == 1;
}

BOOL CFVDMembInfoDrawByNode::IsMemberShown(int type, int subKind) {
    return type == 301 || type == 306 || (type == 201 && (subKind == 2 || subKind == 3));
}

BOOL CFVDBeam_Ract::IsMemberShown(int type, int subKind) { return type == 201 && subKind == 0; }
BOOL CFVDBeam_Disp::IsMemberShown(int type, int subKind) { return type == 201 && subKind == 0; }

void CFVDBeam_Ract::DrawFigure() {
    m_shared.clear();
    if (CDataBase* db = GetPostDataBase()) {
        const auto& membs = db->Table<DBT_PMEMB>();
        for (UINT k : membs.Keys()) {
            const T_PMEMB_D* m = membs.Find(k);
            if (m && IsMemberShown(m->type, m->subKind) && !IsLinkBeam(*m))
                IRactFinder::AddTributaryLengths(db, k, m_shared);
        }
    }
    CFVDMembInfoDrawByNode::DrawFigure();
    m_shared.clear();
}

BOOL CFVDBeam_Ract::GetNodeValue(const CArray<UINT, UINT>& /*nodes*/, UINT object, UINT& key, double& value) {
    return IRactFinder::Instance()->GetSharedLineValue(object, m_shared, key, value) != 0;
}

void CFVDMTSBDesign_Disp::SetDefaultOptions() { SetPrecisionZero(GetDisplaySettings()); }
void CFVDELEM_Disp::SetDefaultOptions() { SetPrecisionZero(GetDisplaySettings()); }

BOOL CFVDMembInfoDrawByNode::GetNodeValue(const CArray<UINT, UINT>& /*nodes*/, UINT object, UINT& key,
                                          double& value) {
    return IRactFinder::Instance()->GetComBineValue(object, key, value) != 0;
}

BOOL CFVDELEM_Ract::GetNodeValue(const CArray<UINT, UINT>& /*nodes*/, UINT object, UINT& key, double& value) {
    return IRactFinder::Instance()->GetElementPress(object, key, value) != 0;
}

BOOL CFVDMTSBDesign_Disp::GetNodeValue(const CArray<UINT, UINT>& nodes, UINT /*object*/, UINT& key, double& value) {
    if (!IDesignToolUtil::s_GetNodesMaxDisp(nodes, key, value, 1, GetPostDataBase())) return FALSE;
    value *= kMetresToMm;
    return TRUE;
}

BOOL CFVDELEM_Disp::GetNodeValue(const CArray<UINT, UINT>& nodes, UINT /*object*/, UINT& key, double& value) {
    if (!IDesignToolUtil::s_GetNodesMaxDisp(nodes, key, value, 1, GetPostDataBase())) return FALSE;
    value *= kMetresToMm;
    return TRUE;
}

void CFVDMembInfoDrawByNode::DrawFigure() {
    m_nValues = 0;
    ApplyScale();
    CDataBase* db = GetPostDataBase();
    if (!m_pDrawing || !db) return;
    ReportGroupWithoutTerms(m_nCurLoadCase);
    CArray<UINT, UINT> keys;
    if (WalksElements()) {
        CClassPElem t;
        t.ConnectToDB(db);
        t.GetKeyList(keys);
    } else {
        CClassPMemb t;
        t.ConnectToDB(db);
        t.GetKeyList(keys);
    }
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (!DrawAtNodes(keys[i], db)) break;
    DrawFigureNotes();
}

BOOL CFVDMembInfoDrawByNode::ObjectValue(const CArray<UINT, UINT>& nodes, UINT object, UINT& key, double& value) {
    value = 0.0;
    key = m_nCurLoadCase;
    if (nodes.GetSize() == 0) return FALSE;
    return GetNodeValue(nodes, object, key, value);
}

double CFVDMembInfoDrawByNode::MemberTextAngle(const CArray<T_POINT2D>& pts) {
    if (pts.GetSize() < 2) return 0.0;
    T_POINT2D a = pts[0], b = pts[pts.GetSize() - 1];
    if (!ICheckToolUtil::s_IsLeftPt(a.x, a.y, b.x, b.y)) std::swap(a, b);
    return CMathFunc::GetAngle(a.x, a.y, b.x, b.y, 1);
}

CString CFVDMembInfoDrawByNode::MakeValueText(double value, UINT comb, UINT loadCase) {
    CString text;
    CFVDRatioStrMaker(value, CString(), MakeLoadCombLabel(comb, loadCase != 0), 0).MakeStrNoColor(text);
    return text;
}

void CFVDMembInfoDrawByNode::DrawValue(const CArray<T_POINT2D>& pts, double value, UINT comb, BOOL alongMember) {
    SetCurrentLayer(FVD_LAYER_TEXT);
    CFVDTextBlock block;
    block.m_strText = MakeValueText(value, comb, m_nCurLoadCase);
    T_POINT2D centre;
    double area = 0.0;
    if (!ICheckToolUtil::s_GetPolyCentroid(pts, centre, area)) return;
    if (alongMember) block.m_dAngle = MemberTextAngle(pts);
    block.DrawAt(VdGetDrawingHandle(m_pDrawing), centre);
    ++m_nValues;
}

BOOL CFVDMembInfoDrawByNode::DrawAtNodes(UINT key, CDataBase* db) {
    CArray<T_POINT2D> pts;
    CArray<UINT, UINT> nodes;
    if (WalksElements()) {
        if (!CFVDMtsb_ElementForce::IsFoundationSlab(db, key)) return TRUE;
        const T_PELEM_D& e = *db->Table<DBT_PELEM>().Find(key);
        for (int i = 0; i < e.nNode && i < PELEM_MAX_NODE; ++i) nodes.Add(e.node[i]);
        if (!ICheckToolUtil::s_ConvertNode2PolyLine(nodes, pts, db)) return TRUE;
    } else {
        CClassPMemb membs;
        membs.ConnectToDB(db);
        T_PMEMB_D m;
        if (!membs.Get(key, m) || !IsMemberShown(m.type, m.subKind)) return TRUE;
        if (!ShowsLinkBeams() && IsLinkBeam(m)) return TRUE;
        if (!ICheckToolUtil::s_ConvertNode2PolyLine(key, pts, 0)) return TRUE;
        IDesignToolUtil::s_GetPMembAllNode(key, nodes, db);
    }
    SetCurrentLayer(FVD_LAYER_SUBELEM);
    DrawClosed(m_pDrawing, pts);
    UINT comb = 0;
    double value = 0.0;
    if (ObjectValue(nodes, key, comb, value)) DrawValue(pts, value, comb, !WalksElements());
    return TRUE;
}
