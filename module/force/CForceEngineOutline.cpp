// CForceEngine: band outlines of the diagram modes. The engine base's sub-polygon drawing and the
// force diagrams hand band polygons (vertex counts, then the vertices of all polygons) to the two
// list-drawing overrides. For the diagram displays whose fill type asks for lines, only the
// flagged edges of the band polygons are drawn, each polygon's edges in the colour of its band;
// in every other case the engine base fills the bands.
#include <memory>

#include "host/grx/I_PVXCtrl.h"
#include "module/contour/CContourEngine.h"
#include "module/force/CForceEngine.h"
#include "module/model/I_PVXModel.h"
#include "module/model/PVXModes.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CSelectScope.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"

namespace {

constexpr COLORREF kGrayPrintEdge = RGB(60, 60, 60);  // band edges printed without colour

}  // namespace

int CForceEngine::IsBandOutlineStyle(int bGrad) const {
    const I_PVXModel* pModel = GetModel();
    if (!pModel) return 0;
    using namespace PVXMode;
    switch (pModel->m_nDisplayMode) {
    case kFrameForceDiagram: case kFigFrameContour: case kFigFrameDiagram: return m_bBSfdBmdLine ? 1 : 0;
    case kWallForceDiagram: return m_bWContourFill ? 1 : 0;
    // The strip modes follow the beam-diagram flag in the flat override and the wall-diagram flag
    // in the gradient one, as the pages have always set them.
    case kSlabStrip: case kSlabForceBeam: return (bGrad ? m_bWContourFill : m_bBSfdBmdLine) ? 1 : 0;
    default: return 0;
    }
}

void CForceEngine::DrawContourList(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    if (!m_pContourEngine) return;
    if (IsBandOutlineStyle(0))
        DrawBandOutlines(pDC, sizes, vertices);
    else
        CEngineBase::DrawContourList(pDC, sizes, vertices);
}

void CForceEngine::DrawContourListGrad(CDC* pDC, CArray<int, int>& sizes,
                                       CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    if (!m_pContourEngine) return;
    if (IsBandOutlineStyle(1))
        DrawBandOutlines(pDC, sizes, vertices);
    else
        CEngineBase::DrawContourListGrad(pDC, sizes, vertices);
}

void CForceEngine::DrawBandOutlines(CDC* pDC, CArray<int, int>& sizes, CArray<VtxInfo_tag, VtxInfo_tag>& vertices) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pPVXCtrl) return;
    I_PVXCtrl& ctrl = *pModel->m_pPVXCtrl;
    const bool bPrinting = pDC->IsPrinting() || pModel->m_bExternalDevice;
    const bool bRecording = pModel->m_AnimationEngine.m_bRecording != 0;
    const bool bGrayPrint = pDC->IsPrinting() && pModel->m_pDispOpt && pModel->m_pDispOpt->m_nPrintColorMode == 0;
    // The window shows each edge at once while the memory image is drawn, unless an animation is
    // being recorded.
    std::unique_ptr<CClientDC> client;
    if (!bPrinting && !bRecording && pModel->m_pView && pModel->m_pView->GetSafeHwnd()) {
        client = std::make_unique<CClientDC>(pModel->m_pView);
        if (!client->GetSafeHdc()) client.reset();
    }

    const VtxInfo_tag* v = vertices.GetData();
    const INT_PTR nVtx = vertices.GetSize();
    INT_PTR b = 0;
    for (INT_PTR p = 0; p < sizes.GetSize() && b < nVtx; ++p) {
        const INT_PTR n = std::min<INT_PTR>(std::max(sizes[p], 0), nVtx - b);
        if (n > 0) {
            COLORREF c;
            if (bGrayPrint)
                c = kGrayPrintEdge;
            else if (pModel->m_bContour)
                c = m_pContourEngine->GetValueColor(v[b].dValue);
            else
                c = pModel->m_pDispOpt ? pModel->m_pDispOpt->m_Color.m_crContourLine : RGB(0, 0, 0);
            CPen pen(PS_SOLID, pModel->m_nPenFactor, c);
            CSelectScope<CPen> sel(pDC, &pen);
            CSelectScope<CPen> selClient(client.get(), &pen);
            for (INT_PTR i = 0; i < n; ++i) {
                if (!v[b + i].bLine) continue;
                const C3DPoint& from = v[b + i].pt;
                const C3DPoint& to = v[b + (i + 1) % n].pt;
                if (bPrinting) {
                    ctrl.DrawLine3DOnClientWindow(pDC, from, to);
                } else {
                    if (client) ctrl.DrawLine3DOnClientWindow(client.get(), from, to);
                    ctrl.DrawLine3D(pDC, from, to, 0.0);
                }
            }
        }
        b += n;
    }
}
