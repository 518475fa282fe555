#include "module/engines/CEngineBase.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <typeinfo>

#include "module/engines/CDeformEngine.h"
#include "module/engines/CPlotEngBase.h"
#include "host/db/CDBDoc.h"
#include "host/grx/GRenderView.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/ShapeTypes.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

double CEngineBase::m_dVectorThkScale = 2.0;

CEngineBase::CEngineBase()
    : m_pDBDoc(CDBDoc::m_pDBDoc),
      m_pContourEngine(nullptr),
      m_bDeformed(0),
      m_bGradient(0),
      m_bAvgNdlActOnly(0),
      m_bLocalAxis(1),
      m_dLegendMax(0.0),
      m_dLegendMin(0.0),
      m_bRangeOn(0),
      m_bRangeAbsolute(0),
      m_bRangeLowOn(0),
      m_bRangeHighOn(0),
      m_dRangeLow(0.0),
      m_dRangeHigh(0.0),
      m_dRangeLowEff(0.0),
      m_dRangeHighEff(0.0),
      m_pModel(nullptr),
      m_bCuttingLine(0),
      m_bKeepVectorFactor(0),
      m_pPlotEngine(nullptr) {
    m_mapSbem.InitHashTable(kMapBuckets);
    m_mapNodeOrder.InitHashTable(kMapBuckets);
}

CEngineBase::~CEngineBase() {
    delete m_pContourEngine;
    m_pContourEngine = nullptr;
    ResetCuttingLineData();
    delete m_pPlotEngine;
    m_pPlotEngine = nullptr;
}

I_PVXModel* CEngineBase::GetModel() const {
    // Asked per face drawn: a model of exactly this type needs no search of its bases.
    if (m_pModel && typeid(*m_pModel) == typeid(I_PVXModel)) return static_cast<I_PVXModel*>(m_pModel);
    return dynamic_cast<I_PVXModel*>(m_pModel);
}

// ---- import ---------------------------------------------------------------------------------

void CEngineBase::ImportEngine(CEngineBase* pSrc) {
    if (!pSrc || pSrc == this) return;
    m_bLocalAxis = pSrc->m_bLocalAxis;
    m_bDeformed = pSrc->m_bDeformed;

    m_arrElemKey.SetSize(pSrc->m_arrElemKey.GetSize());
    for (INT_PTR i = 0; i < pSrc->m_arrElemKey.GetSize(); ++i) m_arrElemKey[i] = pSrc->m_arrElemKey[i];

    // RemoveAll keeps the bucket count, so the map stays a 10007-bucket map.
    m_mapSbem.RemoveAll();
    T_PVX_SBEM_D rec;  // one record reused: each copy keeps its arrays when the sizes agree
    for (POSITION pos = pSrc->m_mapSbem.GetStartPosition(); pos;) {
        UINT key = 0;
        pSrc->m_mapSbem.GetNextAssoc(pos, key, rec);
        m_mapSbem[key] = rec;
    }
    m_mapNodeOrder.RemoveAll();
    for (POSITION pos = pSrc->m_mapNodeOrder.GetStartPosition(); pos;) {
        UINT key = 0;
        int value = 0;
        pSrc->m_mapNodeOrder.GetNextAssoc(pos, key, value);
        m_mapNodeOrder[key] = value;
    }
}

CContourEngine& CEngineBase::StartScale(double dMin, double dMax) {
    if (m_pContourEngine)
        m_pContourEngine->MakeRankMap(dMin, dMax);
    else
        m_pContourEngine = new CContourEngine(dMin, dMax);
    m_pContourEngine->ClearPecentRankMap();
    return *m_pContourEngine;
}

void CEngineBase::ImportResultScale(const CEngineBase* pSrc) {
    if (!pSrc || pSrc == this) return;
    if (pSrc->m_pContourEngine) {
        if (m_pContourEngine)
            *m_pContourEngine = *pSrc->m_pContourEngine;
        else
            m_pContourEngine = new CContourEngine(*pSrc->m_pContourEngine);
    } else {
        delete m_pContourEngine;
        m_pContourEngine = nullptr;
    }
    m_bGradient = pSrc->m_bGradient;
    m_dLegendMax = pSrc->m_dLegendMax;
    m_dLegendMin = pSrc->m_dLegendMin;
    m_bCuttingLine = pSrc->m_bCuttingLine;
}

// ---- members and elements on the shape the engine draws on --------------------------------------

T_SHAPE_ARGUMENT CEngineBase::ShapeLists::Argument(int bDeformed) {
    T_SHAPE_ARGUMENT arg;
    arg.bDeformed = bDeformed;
    arg.pFaceNodeKeys = &nodeKeys;
    arg.pFaceKeys = &faceKeys;
    return arg;
}

int CEngineBase::GetMemberShape(UINT nMemb, T_PMEMB_D& memb, PVXPolyListArray& faces, PVXIndexArrayList* pFlags,
                                T_SHAPE_ARGUMENT& arg) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    if (!m_bDeformed) return pModel->GetShapeMember(nMemb, memb, faces, pFlags, arg, 1, 1);
    CDeformEngine* pDeform = pModel->m_pDeformEngine;
    if (!pDeform) return 0;
    pDeform->GetDeformedShapeMember(nMemb, faces, pFlags, arg, 0, 0);
    return static_cast<int>(faces.GetSize());
}

int CEngineBase::GetElementShape(UINT nElem, T_PELEM_D& elem, PVXPolyListArray& faces, PVXIndexArrayList* pFlags,
                                 T_SHAPE_ARGUMENT& arg) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    if (!m_bDeformed) return pModel->GetShapeElement(nElem, elem, faces, pFlags, arg, 1, 0);
    CDeformEngine* pDeform = pModel->m_pDeformEngine;
    if (!pDeform) return 0;
    pDeform->GetDeformedShapePElement(nElem, faces, pFlags, arg, 0, 0);
    return static_cast<int>(faces.GetSize());
}

int CEngineBase::GetElementFaces(UINT nElem, T_PELEM_D& elem, PVXFlatFaces& out, PVXFacesRef& ref) {
    ref = PVXFacesRef();
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    T_SHAPE_ARGUMENT arg;
    if (!m_bDeformed) return pModel->GetShapeElementFlat(nElem, elem, out, ref, arg);
    // The deformed shape comes as lists: copied as they are.
    out.Clear();
    ShapeLists shape;
    arg = shape.Argument(m_bDeformed);
    GetElementShape(nElem, elem, shape.faces, &shape.flags, arg);
    const INT_PTR nFaces = shape.faces.GetSize();
    // Without a key per face every face counts as the element's.
    const bool bFaceKeys = shape.faceKeys.GetSize() == nFaces;
    out.start.push_back(0);
    for (INT_PTR f = 0; f < nFaces; ++f) {
        const PVXPolyList* face = shape.faces[f];
        const CArray<int>* pFlags = f < shape.flags.GetSize() ? shape.flags[f] : nullptr;
        const CArray<UINT>* pKeys = f < shape.nodeKeys.GetSize() ? shape.nodeKeys[f] : nullptr;
        int j = 0;
        for (POSITION pos = face ? face->GetHeadPosition() : nullptr; pos; ++j) {
            out.corners.push_back(face->GetNext(pos));
            out.flags.push_back(pFlags && j < pFlags->GetSize() ? (*pFlags)[j] : 1);
            out.keys.push_back(pKeys && j < pKeys->GetSize() ? (*pKeys)[j] : 0);
        }
        out.start.push_back(static_cast<int>(out.corners.size()));
        out.faceKeys.push_back(bFaceKeys ? shape.faceKeys[f] : nElem);
    }
    ref = PVXFacesRef::Of(out, 0, static_cast<int>(nFaces));
    return static_cast<int>(nFaces);
}

int CEngineBase::DrawActiveMember(CDC* pDC, UINT nMemb) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    if (!m_bDeformed) return pModel->PVXDrawMember(pDC, nMemb);
    CDeformEngine* pDeform = pModel->m_pDeformEngine;
    return pDeform ? pDeform->DrawDeformedMember(pDC, nMemb) : 0;
}

int CEngineBase::DrawInactiveMember(CDC* pDC, UINT nMemb) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    if (!m_bDeformed) return pModel->PVXDrawInactiveMember(pDC, nMemb);
    CDeformEngine* pDeform = pModel->m_pDeformEngine;
    return pDeform ? pDeform->DrawInactiveDeformedMember(pDC, nMemb) : 0;
}

int CEngineBase::DrawInactiveElement(CDC* pDC, UINT nElem) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    if (!m_bDeformed) return pModel->PVXDrawInactiveElement(pDC, nElem);
    CDeformEngine* pDeform = pModel->m_pDeformEngine;
    return pDeform ? pDeform->DrawInactiveDeformedElement(pDC, nElem) : 0;
}

int CEngineBase::DrawPlainElement(CDC* pDC, UINT nElem) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    if (!m_bDeformed) return pModel->PVXDrawElementNew(pDC, nElem);
    CDeformEngine* pDeform = pModel->m_pDeformEngine;
    return pDeform ? pDeform->DrawDeformedElement(pDC, nElem) : 0;
}

// ---- look-ups -------------------------------------------------------------------------------

int CEngineBase::GetSbemD(UINT nKey, T_PVX_SBEM_D& out) const {
    if (m_mapSbem.GetCount() == 0) return 0;
    const auto* pPair = m_mapSbem.PLookup(nKey);
    if (!pPair) return 0;
    out = pPair->value;
    return 1;
}

int CEngineBase::GetNodeOrder(UINT nNode, const T_PELEM_D& elem, int n) {
    if (n > PELEM_MAX_NODE) n = PELEM_MAX_NODE;
    for (int i = 0; i < n; ++i)
        if (elem.node[i] == nNode) return i;
    return -1;
}

int CEngineBase::GetNodeOrder(UINT nNode, const CArray<UINT, UINT>& keys) {
    for (INT_PTR i = 0; i < keys.GetSize(); ++i)
        if (keys[i] == nNode) return static_cast<int>(i);
    return -1;
}

int CEngineBase::Compare_Cutline_Dist(const void* a, const void* b) {
    const auto* p = static_cast<const T_CUTLINE_D*>(a);
    const auto* q = static_cast<const T_CUTLINE_D*>(b);
    const double kp = p->dDistA < p->dDistB ? p->dDistA : p->dDistB;
    const double kq = q->dDistA < q->dDistB ? q->dDistA : q->dDistB;
    if (kp > kq) return 1;
    if (kp < kq) return -1;
    return 0;
}

int CEngineBase::IsSame3DPoint(const C3DPoint& a, const C3DPoint& b) {
    return std::fabs(a.x - b.x) <= 1e-8 && std::fabs(a.y - b.y) <= 1e-8 && std::fabs(a.z - b.z) <= 1e-8 ? 1 : 0;
}

// ---- display range --------------------------------------------------------------------------

void CEngineBase::SetDisplayRange() {
    CContourEngine* pScale = m_pContourEngine;
    if (!pScale) return;
    const double lo = pScale->m_dMinValue, hi = pScale->m_dMaxValue;
    if (m_bRangeAbsolute) {
        m_dRangeLowEff = m_dRangeLow;
        m_dRangeHighEff = m_dRangeHigh;
    } else {
        const double span = std::fabs(hi - lo);
        m_dRangeLowEff = span * m_dRangeLow + lo;
        m_dRangeHighEff = span * m_dRangeHigh + lo;
    }
    auto clamp = [&](double& v) {
        if (v < lo) v = lo;
        if (v > hi) v = hi;
    };
    if (m_bRangeLowOn) clamp(m_dRangeLowEff);
    if (m_bRangeHighOn) clamp(m_dRangeHighEff);
    pScale->SetActiveContourRange(m_bRangeOn, m_bRangeLowOn, m_dRangeLowEff, m_bRangeHighOn, m_dRangeHighEff);
}

// ---- window helpers -------------------------------------------------------------------------

int CEngineBase::IsFar(double* a, double* b) const {
    I_PVXModel* pModel = GetModel();
    if (!a || !b || !pModel || !pModel->m_pPVXCtrl) return 1;
    const C3DPoint wa = pModel->m_pPVXCtrl->GetWorldToWindowP3D(C3DPoint(a[0], a[1], a[2]));
    const C3DPoint wb = pModel->m_pPVXCtrl->GetWorldToWindowP3D(C3DPoint(b[0], b[1], b[2]));
    return wa.z < wb.z ? 0 : 1;
}

CPoint CEngineBase::DrawPoint(CDC* pDC, C3DPoint& p, double dSize, int bSquare) {
    I_PVXModel* pModel = GetModel();
    if (!pModel) return CPoint(0, 0);
    const CPoint pt = pModel->Get3DPtTo2DPt(&p);
    if (pDC && pt.x >= 1 && pt.y >= 1) {
        const double h = dSize / 2.0;
        const int l = static_cast<int>(pt.x - h), t = static_cast<int>(pt.y - h);
        const int r = static_cast<int>(pt.x + h), b = static_cast<int>(pt.y + h);
        if (bSquare)
            pDC->Rectangle(l, t, r, b);
        else
            pDC->Ellipse(l, t, r, b);
    }
    return pt;
}

namespace {

// The control's first virtual width/height ratio (1 outside export).
int WidthRatio(const CEngineBase& e) {
    I_PVXModel* pModel = e.GetModel();
    int w = 1, h = 1;
    if (pModel && pModel->m_pPVXCtrl) pModel->m_pPVXCtrl->GetVirtualWHRatio(w, h);
    return w;
}

// A single floating-point conversion: '%', flags, width, precision, one of f F e E g G; any
// other text around it is kept, "%%" is literal text.
bool IsOneRealFormat(const char* fmt) {
    if (!fmt) return false;
    int conversions = 0;
    for (const char* p = fmt; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0", *p)) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        if (!*p || !std::strchr("fFeEgG", *p)) return false;
        ++conversions;
    }
    return conversions == 1;
}

}  // namespace

int CEngineBase::GetVectorLineWidth() const { return static_cast<int>(m_dVectorThkScale * WidthRatio(*this)); }

int CEngineBase::GetLineThick(double dThick) const { return static_cast<int>(dThick * WidthRatio(*this)); }

CString FormatMinMaxLabel(const char* fmt, int nKind, double dValue) {
    static const char* const kPrefix[3] = {"Max:", "Min:", "MAX:"};
    char text[128];
    std::snprintf(text, sizeof text, IsOneRealFormat(fmt) ? fmt : "%g", dValue);
    CString s = nKind >= 0 && nKind < 3 ? kPrefix[nKind] : "";
    s += text;
    return s;
}

void DrawMinMaxLabel(I_PVXModel* pModel, CDC* pDC, C3DPoint p, const char* fmt, int nKind, double dValue,
                     COLORREF crColor) {
    if (!pModel || !pDC || !pModel->m_pPVXCtrl) return;
    const CPoint pt = pModel->Get3DPtTo2DPt(&p);
    if (pt.x < 0 || pt.y < 0) return;
    pDC->TextOut(pt.x, pt.y, FormatMinMaxLabel(fmt, nKind, dValue));

    const int saved = pDC->SaveDC();
    CPen pen;
    pen.CreatePen(PS_SOLID, 2, crColor);
    pDC->SelectObject(&pen);
    if (pModel->m_bExternalDevice)
        pModel->m_pPVXCtrl->DrawCrossInClientWindow(pDC, p, 8);
    else
        pModel->m_pPVXCtrl->DrawCross(pDC, p, 8);
    pDC->RestoreDC(saved);
    pen.DeleteObject();
}

void CEngineBase::DrawMinMaxOutputValue(CDC* pDC, C3DPoint p, const char* fmt, int nKind, double dValue) {
    I_PVXModel* pModel = GetModel();
    if (!pModel || !pModel->m_pDispOpt) return;
    DrawMinMaxLabel(pModel, pDC, p, fmt, nKind, dValue, pModel->m_pDispOpt->m_Number.m_crNumber[0]);
}

// ---- base slots -----------------------------------------------------------------------------

void CEngineBase::GetNodalValueforCutting(UINT, double&, int, double&, int) {}
int CEngineBase::BeginPlotEng(CDC*) { return 0; }
int CEngineBase::EndPlotEng() { return 0; }

void CEngineBase::FreeMemoryPolyList(PVXPolyListArray* pPolyLists, PVXIndexArrayList* pIndexArrays,
                                     PVXKeyArrayList* pKeyArrays, PVXKeyArrayList* pMoreArrays) {
    I_PVXModel::FreeMemoryPolyList(pPolyLists, pIndexArrays, pKeyArrays, pMoreArrays);
}

int GetCurViewTextHeight(int nHeight) {
    I_PVXModel* pModel = I_PVXModel::GetPVXModelPoint();
    GRenderView* pView = pModel ? dynamic_cast<GRenderView*>(pModel->GetView()) : nullptr;
    return pView ? pView->GetTextDisplayHeight(nHeight) : nHeight;
}
