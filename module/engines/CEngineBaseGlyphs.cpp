// The glyphs CEngineBase draws next to plate results: the double-headed vector arrow and the
// local axes of one plate element.
#include <algorithm>
#include <cmath>

#include "module/engines/CDeformEngine.h"
#include "module/engines/CEngineBase.h"
#include "host/db/DBRecords.h"
#include "host/grx/I_PVXCtrl.h"
#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CGdiObject.h"

namespace {

// One line of a glyph: on the window in direct mode; otherwise on the memory image, first
// also on the client DC (so it shows at once) unless the model suppresses that.
void DrawGlyphLine(I_PVXModel* pModel, CDC* pDC, CDC* pClientDC, const C3DPoint& a, const C3DPoint& b) {
    I_PVXCtrl* pCtrl = pModel->m_pPVXCtrl;
    if (pModel->m_bExternalDevice) {
        pCtrl->DrawLine3DOnClientWindow(pDC, a, b);
        return;
    }
    if (!pModel->m_bSecondTarget && pClientDC) pCtrl->DrawLine3DOnClientWindow(pClientDC, a, b);
    pCtrl->DrawLine3D(pDC, a, b, 0.0);
}

}  // namespace

void CEngineBase::DrawVectorArrow(CDC* pDC, CDC* pClientDC, C3DPoint base, C3DPoint tip, C3DPoint barbA,
                                  C3DPoint barbB) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !pModel || !pModel->m_pPVXCtrl) return;

    // The arrow as given, then mirrored through its base: a double arrow centred on base.
    for (int pass = 0; pass < 2; ++pass) {
        DrawGlyphLine(pModel, pDC, pClientDC, base, tip);
        DrawGlyphLine(pModel, pDC, pClientDC, tip, barbA);
        DrawGlyphLine(pModel, pDC, pClientDC, tip, barbB);
        tip = base * 2.0 - tip;
        barbA = base * 2.0 - barbA;
        barbB = base * 2.0 - barbB;
    }
}

void CEngineBase::DrawPlateResultLclAxis(CDC* pDC, UINT nKey, double axes[][3], int bDeformed) {
    I_PVXModel* pModel = GetModel();
    if (!pDC || !axes || !pModel || !pModel->m_pPVXCtrl || !pModel->GetAttrCtrl() || !pModel->m_pDispOpt) return;
    CPVXAttrCtrl* pAttr = pModel->GetAttrCtrl();

    const int saved = pDC->SaveDC();
    T_PELEM_D elem;
    elem.Initialize();
    if (!pAttr->GetElem(nKey, elem) || elem.nNode <= 0) {
        pDC->RestoreDC(saved);
        return;
    }

    // Centre and size of the element from its (displaced) nodes.
    C3DPoint sum(0.0, 0.0, 0.0), lo, hi;
    int nUsed = 0;
    const int nNode = std::min(elem.nNode, static_cast<int>(PELEM_MAX_NODE));
    for (int i = 0; i < nNode; ++i) {
        T_PNODE_D node;
        node.Initialize();
        if (!pAttr->GetNode(elem.node[i], node)) continue;
        C3DPoint p(node.x, node.y, node.z);
        if (bDeformed && pModel->m_pDeformEngine) p = pModel->m_pDeformEngine->GetDisplacedPoint(elem.node[i], p);
        if (nUsed == 0) {
            lo = hi = p;
        } else {
            lo = C3DPoint(std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z));
            hi = C3DPoint(std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z));
        }
        sum = sum + p;
        ++nUsed;
    }
    if (nUsed == 0) {
        pDC->RestoreDC(saved);
        return;
    }
    const C3DPoint centre = sum * (1.0 / nUsed);
    const double dx = hi.x - lo.x, dy = hi.y - lo.y, dz = hi.z - lo.z;
    const double len = 0.15 * std::sqrt(dx * dx + dy * dy + dz * dz);

    T_PVX_DOPT_D& opt = *pModel->m_pDispOpt;
    const int width = static_cast<int>(1.9 * pModel->m_nPenFactor);
    CPen pens[3];
    for (int i = 0; i < 3; ++i) pens[i].CreatePen(PS_SOLID, width, opt.m_Color.m_crAxis[i]);

    pDC->SetBkMode(opt.m_Number.m_bAxisOpaque ? OPAQUE : TRANSPARENT);
    pDC->SetBkColor(opt.m_Number.m_crAxisBack);
    pDC->SetTextAlign(TA_BOTTOM | TA_CENTER);
    // The letters stand upright; the shared label font of the options is left as the user set it.
    LOGFONT lf = opt.m_Number.m_lfAxis;
    lf.lfEscapement = 0;
    lf.lfOrientation = 0;
    CFont font;
    font.CreatePointFontIndirect(&lf, pDC);
    CFont* pOldFont = pDC->SelectObject(&font);
    CPen* pOldPen = nullptr;

    static const char* const kLetters[3] = {"x", "y", "z"};
    C3DPoint c = centre;
    for (int i = 0; i < 3; ++i) {
        C3DPoint tip = centre + C3DPoint(axes[i][0], axes[i][1], axes[i][2]) * len;
        CPen* pPrev = pDC->SelectObject(&pens[i]);
        if (i == 0) pOldPen = pPrev;
        CPoint ptTip;
        if (pModel->m_bExternalDevice) {
            pModel->m_pPVXCtrl->DrawLine3DOnClientWindow(pDC, centre, tip);
            ptTip = pModel->Get3DPtTo2DPt(&tip);
        } else {
            const CPoint ptC = pModel->Get3DPtTo2DPt(&c);
            ptTip = pModel->Get3DPtTo2DPt(&tip);
            if (ptC.x >= 0 && ptC.y >= 0 && ptTip.x >= 0 && ptTip.y >= 0) {
                pDC->MoveTo(ptC);
                pDC->LineTo(ptTip);
            }
        }
        pDC->SetTextColor(opt.m_Color.m_crAxis[i]);
        pDC->TextOut(ptTip.x, ptTip.y, kLetters[i]);
    }

    if (pOldPen) pDC->SelectObject(pOldPen);
    if (pOldFont) pDC->SelectObject(pOldFont);
    for (CPen& pen : pens) pen.DeleteObject();
    font.DeleteObject();
    pDC->RestoreDC(saved);
}

void CEngineBase::DrawUCSPlaneIcon(CDC*, double[][3]) {}
