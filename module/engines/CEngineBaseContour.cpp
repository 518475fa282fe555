// Contour-list drawing of CEngineBase: faces and member polygons cut into colour bands by the
// engine's colour scale, drawn flat, graded or as level lines with their contour letters, and
// lines coloured by band.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "module/contour/CContourEngine.h"
#include "module/contour/CGradientDrawing.h"
#include "module/engines/CEngineBase.h"
#include "module/engines/BandPixels.h"
#include "module/engines/EngineDraw.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"

namespace {

// What one list draw needs from the model, read once.
struct ListDraw {
    I_PVXModel& m;
    CContourEngine& scale;
    CDC* dc;
    I_PVXCtrl& ctrl;
    bool direct;           // straight to the window
    CPoint offset;         // client origin in the memory image (memory mode)
    CClientDC* client;     // immediate copy of level lines, or null

    // Window point of a world point for the letter cells.
    CPoint CellPoint(const C3DPoint& p) const {
        if (direct) return m.Get3DPtTo2DPt(const_cast<C3DPoint*>(&p));
        const CPoint q = ctrl.GetWorldToMemDCP2D(p);
        return CPoint(q.x - offset.x, q.y - offset.y);
    }

    // The letter of a level edge a-b whose first vertex has value v, when letters are on.
    void Letter(const C3DPoint& a, const C3DPoint& b, double v) const {
        if (!m.m_bContourAnnot || m.m_nAnnotCellWidth <= 0 || m.m_nAnnotCellHeight <= 0) return;
        const int r = std::abs(scale.GetUpperRank(v));
        const C3DPoint mid((a.x + b.x) * 0.5, (a.y + b.y) * 0.5, (a.z + b.z) * 0.5);
        const CPoint w = CellPoint(mid);
        // The letters of a whole model: amortised linear once the list is long. The letter is
        // written in its place at the end of the list.
        CArray<ContAnnotData, ContAnnotData&>& list = m.m_arrContAnnot;
        if (list.GetSize() >= 1024) GrowInProportion(list);
        const INT_PTR at = list.GetSize();
        list.SetSize(at + 1);
        if (list.GetSize() != at + 1) return;
        ContAnnotData& d = list.GetData()[at];
        d.nCol = static_cast<int>(std::floor(static_cast<double>(w.x) / m.m_nAnnotCellWidth));
        d.nRow = static_cast<int>(std::floor(static_cast<double>(w.y) / m.m_nAnnotCellHeight));
        d.nLevel = r;
        const char text[2] = {static_cast<char>(64 + r), '\0'};  // 'A' for level 1
        d.strText = text;
        d.pt1 = a;
        d.pt2 = b;
        d.pt3 = mid;
        d.x = w.x;
        d.y = w.y;
    }

    // One level edge, lettered, drawn with the selected pen; bClientFirst also draws it on the
    // client DC first (line-contour mode).
    void Edge(const C3DPoint& a, const C3DPoint& b, double v, bool bClientFirst) const {
        Letter(a, b, v);
        if (direct) {
            ctrl.DrawLine3DOnClientWindow(dc, a, b);
            return;
        }
        if (bClientFirst && client) ctrl.DrawLine3DOnClientWindow(client, a, b);
        ctrl.DrawLine3D(dc, a, b, 0.0);
    }

    // Every flagged edge of the list with the pen now selected.
    void FlaggedEdges(const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>& vertices) const {
        const VtxInfo_tag* v = vertices.GetData();
        const INT_PTR nVtx = vertices.GetSize();
        INT_PTR at = 0;
        for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
            const INT_PTR n = std::min<INT_PTR>(std::max(sizes[p], 0), nVtx - at);
            for (INT_PTR i = 0; i < n; ++i)
                if (v[at + i].bLine) Edge(v[at + i].pt, v[at + (i + 1) % n].pt, v[at + i].dValue, false);
            at += n;
        }
    }

    // Band edges over filled polygons with pen, of the pen factor in the scale's line colour.
    void BandEdges(const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>& vertices, CPen& pen) const {
        CPen* pOld = dc->SelectObject(&pen);
        FlaggedEdges(sizes, vertices);
        dc->SelectObject(pOld);
    }
};

// Whether two points are the same bits (a zero's sign and a NaN count as the bits say).
inline bool SameBits(const C3DPoint& a, const C3DPoint& b) {
    return std::memcmp(&a.x, &b.x, sizeof(double)) == 0 && std::memcmp(&a.y, &b.y, sizeof(double)) == 0 &&
           std::memcmp(&a.z, &b.z, sizeof(double)) == 0;
}

// Flat-shading factors of a polygon applied to a colour, when shading is on.
COLORREF Shaded(I_PVXModel& m, COLORREF c, const C3DPoint* pts, int n) {
    if (!m.m_pDispOpt || !m.m_pDispOpt->m_bShading) return c;
    double f = 1.0, g = 0.0;
    m.GetFlatShadingFactor(n, pts, f, g);
    return m.GetShadeFactoredColor(c, f, g);
}

}  // namespace

CPen& CEngineBase::BandEdgePen(int nWidth, COLORREF color) {
    if (!m_bandEdgePen.GetSafeHandle() || nWidth != m_nBandEdgeWidth || color != m_crBandEdge) {
        m_bandEdgePen.DeleteObject();
        m_bandEdgePen.CreatePen(PS_SOLID, nWidth, color);
        m_nBandEdgeWidth = nWidth;
        m_crBandEdge = color;
    }
    return m_bandEdgePen;
}

// ---- sub-polygons ----------------------------------------------------------------------------

void CEngineBase::DoSubPolyContour(CDC* pDC, double* pValues, CList<C3DPoint, C3DPoint>* pPoints, int* pFlags,
                                   int bFrame) {
    if (!m_pContourEngine || !pPoints || !pValues) return;
    C3DPoint pts[4];
    int n = 0;
    for (POSITION pos = pPoints->GetHeadPosition(); pos && n < 4;) pts[n++] = pPoints->GetNext(pos);
    DoSubPolyContourOf(pDC, pValues, pts, static_cast<int>(std::min<INT_PTR>(pPoints->GetCount(), INT_MAX)), pFlags,
                       bFrame);
}

void CEngineBase::DoSubPolyContourOf(CDC* pDC, const double* pValues, const C3DPoint* corners, int count,
                                     const int* pFlags, int bFrame) {
    if (!CutFaceBands(pValues, corners, count, pFlags, bFrame)) return;
    I_PVXModel* pModel = GetModel();
    if (pModel && pModel->m_bGradient)
        DrawContourListGrad(pDC, m_faceSizes, m_faceVertices);
    else
        DrawContourList(pDC, m_faceSizes, m_faceVertices);
}

bool CEngineBase::CutFaceBands(const double* pValues, const C3DPoint* corners, int count, const int* pFlags,
                               int bFrame) {
    if (!m_pContourEngine) {
        m_faceSizes.RemoveAllKeepBlock();
        m_faceVertices.RemoveAllKeepBlock();
        return false;
    }
    return ::CutFaceBandsBy(*m_pContourEngine, pValues, corners, count, pFlags, bFrame, m_faceSizes, m_faceVertices);
}

bool CutFaceBandsBy(CContourEngine& s, const double* pValues, const C3DPoint* corners, int count,
                    const int* pFlags, int bFrame, CArray<int, int>& sizes,
                    CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    sizes.RemoveAllKeepBlock();
    vertices.RemoveAllKeepBlock();
    if (!corners || !pValues || count < 1) return false;
    const int n = std::min(count, 4);
    // The cutters take their points and values as their own.
    C3DPoint pts[4];
    double values[4] = {0.0, 0.0, 0.0, 0.0};
    std::copy(corners, corners + n, pts);
    std::copy(pValues, pValues + n, values);
    int flags[4] = {0, 0, 0, 0};
    if (pFlags)
        for (int i = 0; i < n; ++i) flags[i] = pFlags[i];

    // The lists keep their blocks from face to face; they start with room for the bands of most
    // faces (growing a few elements at a time would move them several times per face).
    if (sizes.GetAllocSize() == 0) sizes.SetSize(0, 8);
    if (vertices.GetAllocSize() == 0) vertices.SetSize(0, 24);
    if (bFrame) {
        // A frame polygon has at most four points; any further ones are not part of it.
        s.ContourFramePoly(pts, values, n, sizes, vertices, nullptr, nullptr);
    } else if (count == 3) {
        s.ContourTriangle(values[0], values[1], values[2], pts[0], pts[1], pts[2], flags[0], flags[1], flags[2],
                          sizes, vertices, nullptr, nullptr, 1);
    } else if (count == 4) {
        s.ContourRectangle(values[0], values[1], values[2], values[3], pts[0], pts[1], pts[2], pts[3], flags[0],
                           flags[1], flags[2], flags[3], sizes, vertices, nullptr, nullptr);
    }
    return sizes.GetSize() > 0;
}

bool CEngineBase::ListsGoToPixels(CDC* pDC) {
    I_PVXModel* pModel = GetModel();
    const CContourEngine* s = m_pContourEngine;
    return s && pDC && pModel && pModel->m_pPVXCtrl && !pModel->m_bGradient && !pModel->m_bExternalDevice &&
           s->m_nFillStyle != 1 && !s->m_bDrawContourLine && pModel->m_pPVXCtrl->DrawsAtOnce(pDC);
}

// ---- flat list -------------------------------------------------------------------------------

void AppendBandPixels(const CContourEngine& s, const I_PVXCtrl& ctrl, const GViewCamera::PixelTerms& terms,
                      const I_PVXModel::FlatShader& shade, CContourEngine::ValueColors& bandColor,
                      const CArray<int, int>& sizes, const CArray<VtxInfo_tag, VtxInfo_tag>& vertices,
                      std::vector<C3DPoint>& vcs, std::vector<POINT>& pixels, std::vector<int>& counts,
                      std::vector<COLORREF>& colors) {
    const VtxInfo_tag* v = vertices.GetData();
    const INT_PTR nVtx = vertices.GetSize();
    // Each vertex taken to view coordinates once, for its pixel (the polygon's fill and edges)
    // and for the polygon's flat shading.
    const size_t base = pixels.size();
    pixels.resize(base + static_cast<size_t>(nVtx));
    POINT* px = pixels.data() + base;
    vcs.resize(static_cast<size_t>(nVtx));
    auto project = [&](INT_PTR i) {
        const size_t at = static_cast<size_t>(i);
        vcs[at] = ctrl.GetVcsCoord(v[i].pt);
        px[at] = terms.Pixel(vcs[at]);
    };
    INT_PTR i = 0;
    if (s.m_pCornerList == &vertices) {
        // Faces inside one band: a vertex that is the same bits as the first copy of its corner
        // takes that copy's projection.
        for (const CContourEngine::CornerRun& r : s.m_cornerRuns) {
            if (r.at < i || r.n < 0 || r.n > 12 || r.at + r.n > nVtx) continue;
            for (; i < r.at; ++i) project(i);
            INT_PTR first[5] = {-1, -1, -1, -1, -1};
            for (int j = 0; j < r.n; ++j, ++i) {
                const unsigned k = r.src[j];
                if (k < 5 && first[k] >= 0 && SameBits(v[i].pt, v[first[k]].pt)) {
                    vcs[static_cast<size_t>(i)] = vcs[static_cast<size_t>(first[k])];
                    px[i] = px[first[k]];
                } else {
                    project(i);
                    if (k < 5 && first[k] < 0) first[k] = i;
                }
            }
        }
    }
    for (; i < nVtx; ++i) project(i);
    // The colours of all polygons.
    constexpr INT_PTR kMaxShaded = 2 * CContourEngine::MAX_LEVELS + 8;  // points a normal takes
    INT_PTR at = 0;
    for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
        const INT_PTR n = std::min<INT_PTR>(std::max(sizes[p], 0), nVtx - at);
        if (n > 0) {
            const int k = static_cast<int>(std::min(n, kMaxShaded));
            colors.push_back(shade.Color(bandColor(v[at].dValue), vcs.data() + at, k));
            counts.push_back(static_cast<int>(n));
        }
        at += n;
    }
}

void CEngineBase::DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    I_PVXModel* pModel = GetModel();
    if (!m_pContourEngine || !pDC || !pModel || !pModel->m_pPVXCtrl) return;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    ListDraw d{*pModel, *m_pContourEngine, pDC, ctrl, pModel->m_bExternalDevice != 0, CPoint(0, 0), nullptr};
    if (!d.direct) ctrl.GetClientToMemDC(CPoint(0, 0), d.offset);
    CContourEngine& s = *m_pContourEngine;
    const VtxInfo_tag* v = vertices.GetData();
    const INT_PTR nVtx = vertices.GetSize();

    if (s.m_nFillStyle != 1 && !d.direct && ctrl.DrawsAtOnce(pDC)) {
        std::vector<POINT>& px = m_listPixels;
        std::vector<int>& counts = m_listCounts;
        std::vector<COLORREF>& colors = m_listColors;
        px.clear();
        counts.clear();
        colors.clear();
        const I_PVXModel::FlatShader shade(*pModel);
        CContourEngine::ValueColors bandColor(s);
        AppendBandPixels(s, ctrl, ctrl.MemPixelTerms(), shade, bandColor, sizes, vertices, m_listViews, px, counts,
                         colors);
        ctrl.FillPixelsList(pDC, px.data(), counts.data(), colors.data(), static_cast<int>(counts.size()));
        if (!s.m_bDrawContourLine) return;
        // The pen only for a list with band edges: most faces of a smooth field have none.
        CPen* pOld = nullptr;
        bool selected = false;
        INT_PTR at = 0;
        for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
            const INT_PTR n = std::min<INT_PTR>(std::max(sizes[p], 0), nVtx - at);
            for (INT_PTR i = 0; i < n; ++i) {
                if (!v[at + i].bLine) continue;
                if (!selected) {
                    pOld = pDC->SelectObject(&BandEdgePen(pModel->m_nPenFactor, s.m_crContourLine));
                    selected = true;
                }
                const INT_PTR j = at + (i + 1) % n;
                d.Letter(v[at + i].pt, v[j].pt, v[at + i].dValue);
                pDC->MoveTo(px[static_cast<size_t>(at + i)]);
                pDC->LineTo(px[static_cast<size_t>(j)]);
            }
            at += n;
        }
        if (selected) pDC->SelectObject(pOld);
        return;
    }
    if (s.m_nFillStyle != 1) {
        CList<C3DPoint> face;
        C3DPoint pts[2 * CContourEngine::MAX_LEVELS + 8];
        INT_PTR at = 0;
        for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
            const INT_PTR n = std::min<INT_PTR>(std::max(sizes[p], 0), nVtx - at);
            if (n > 0) {
                face.RemoveAll();
                int k = 0;
                for (INT_PTR i = 0; i < n; ++i) {
                    face.AddTail(v[at + i].pt);
                    if (k < static_cast<int>(std::size(pts))) pts[k++] = v[at + i].pt;
                }
                const COLORREF c = Shaded(*pModel, s.GetValueColor(v[at].dValue), pts, k);
                if (d.direct)
                    ctrl.DrawPolygon3DFillOnClientWindow(pDC, face, c);
                else
                    ctrl.DrawPolygon3DFill(pDC, face, c);
            }
            at += n;
        }
        if (s.m_bDrawContourLine) d.BandEdges(sizes, vertices, BandEdgePen(pModel->m_nPenFactor, s.m_crContourLine));
        return;
    }

    // Line-contour mode: level lines only, each in the colour of its level.
    std::unique_ptr<CClientDC> client = enginedraw::OpenClientCopy(*pModel);
    d.client = client.get();
    const int width = static_cast<int>(pModel->m_nPenFactor * 1.8);
    INT_PTR at = 0;
    for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
        const INT_PTR n = std::min<INT_PTR>(std::max(sizes[p], 0), nVtx - at);
        for (INT_PTR i = 0; i < n; ++i) {
            if (!v[at + i].bLine) continue;
            CPen pen;
            pen.CreatePen(PS_SOLID, width, s.GetValueColor(v[at + i].dValue));
            CPen* pOld = pDC->SelectObject(&pen);
            CPen* pOldClient = d.client ? d.client->SelectObject(&pen) : nullptr;
            d.Edge(v[at + i].pt, v[at + (i + 1) % n].pt, v[at + i].dValue, true);
            if (d.client) d.client->SelectObject(pOldClient);
            pDC->SelectObject(pOld);
            pen.DeleteObject();
        }
        at += n;
    }
}

// ---- graded list -----------------------------------------------------------------------------

void CEngineBase::DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes,
                                      CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    I_PVXModel* pModel = GetModel();
    if (!m_pContourEngine || !pDC || !pModel || !pModel->m_pPVXCtrl) return;
    CContourEngine& s = *m_pContourEngine;
    if (s.m_nFillStyle == 1) {
        DrawContourList(pDC, sizes, vertices);
        return;
    }
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    ListDraw d{*pModel, s, pDC, ctrl, pModel->m_bExternalDevice != 0, CPoint(0, 0), nullptr};
    if (!d.direct) ctrl.GetClientToMemDC(CPoint(0, 0), d.offset);
    const bool bShading = pModel->m_pDispOpt && pModel->m_pDispOpt->m_bShading;

    const VtxInfo_tag* v = vertices.GetData();
    const INT_PTR nVtx = vertices.GetSize();
    CArray<C3DPoint> pts;
    CArray<DWORD> colors, clippedColors;
    CArray<CPoint> clipped;
    INT_PTR at = 0;
    for (INT_PTR p = 0; p < sizes.GetSize(); ++p) {
        const INT_PTR n = std::min<INT_PTR>(std::max(sizes[p], 0), nVtx - at);
        if (n > 0) {
            pts.SetSize(n);
            colors.SetSize(n);
            for (INT_PTR i = 0; i < n; ++i) pts[i] = v[at + i].pt;
            double f = 1.0, g = 0.0;
            if (bShading) pModel->GetFlatShadingFactor(static_cast<int>(n), pts.GetData(), f, g);
            for (INT_PTR i = 0; i < n; ++i) {
                const COLORREF c = s.GetValueColorGrad(v[at + i].dValue);
                colors[i] = bShading ? pModel->GetShadeFactoredColor(c, f, g) : c;
            }
            const int m = pModel->GetClippedVtxList(pts, clipped, colors, clippedColors, 0);
            if (m > 0 && clipped.GetSize() >= m && clippedColors.GetSize() >= m)
                CGradientDrawing::GradientPolygon(pDC, clippedColors.GetData(), clipped.GetData(), m);
        }
        at += n;
    }
    if (s.m_bDrawContourLine) d.BandEdges(sizes, vertices, BandEdgePen(pModel->m_nPenFactor, s.m_crContourLine));
}

// ---- lines ---------------------------------------------------------------------------------

void CEngineBase::DoLineContour(CDC* pDC, CList<C3DPoint, C3DPoint>* pPoints, double* pValues) {
    if (!m_pContourEngine || !pPoints || !pValues || pPoints->GetCount() < 2) return;
    const C3DPoint A = pPoints->GetHead(), B = pPoints->GetTail();
    const C3DPoint M((A.x + B.x) * 0.5, (A.y + B.y) * 0.5, (A.z + B.z) * 0.5);
    const C3DPoint ends[2][2] = {{A, M}, {M, B}};
    const double vals[2][2] = {{pValues[0], pValues[1]}, {pValues[1], pValues[2]}};
    CArray<C3DPoint, C3DPoint> points;
    CArray<double, double> values;
    for (int h = 0; h < 2; ++h) {
        // From the end with the larger value; equal values from the half's second end.
        const int from = vals[h][0] > vals[h][1] ? 0 : 1;
        const C3DPoint& p = ends[h][from];
        const C3DPoint& q = ends[h][1 - from];
        const double vp = vals[h][from], vq = vals[h][1 - from];
        points.RemoveAll();
        values.RemoveAll();
        points.Add(p);
        values.Add(vp);
        m_pContourEngine->GetRankVertices(p, q, vp, vq, points, values, nullptr);
        points.Add(q);
        values.Add(vq);
        DrawContourLine(pDC, points, values);
    }
}

void CEngineBase::DrawContourLine(CDC* pDC, CArray<C3DPoint, C3DPoint>& points, CArray<double, double>& values) {
    I_PVXModel* pModel = GetModel();
    if (!m_pContourEngine || !pDC || !pModel || !pModel->m_pPVXCtrl) return;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    const bool direct = pModel->m_bExternalDevice != 0;
    std::unique_ptr<CClientDC> client = enginedraw::OpenClientCopy(*pModel);
    const int width = static_cast<int>(2.0 * pModel->m_nPenFactor);
    const INT_PTR n = std::min(points.GetSize(), values.GetSize());
    for (INT_PTR i = 0; i + 1 < n; ++i) {
        const COLORREF c = m_pContourEngine->GetRankColor(std::abs(m_pContourEngine->GetUpperRank(values[i])));
        CPen pen;
        pen.CreatePen(PS_SOLID, width, c);
        CPen* pOld = pDC->SelectObject(&pen);
        CPen* pOldClient = client ? client->SelectObject(&pen) : nullptr;
        if (direct) {
            ctrl.DrawLine3DOnClientWindow(pDC, points[i], points[i + 1]);
        } else {
            if (client) ctrl.DrawLine3DOnClientWindow(client.get(), points[i], points[i + 1]);
            ctrl.DrawLine3D(pDC, points[i], points[i + 1], 0.0);
        }
        if (client) client->SelectObject(pOldClient);
        pDC->SelectObject(pOld);
        pen.DeleteObject();
    }
}
