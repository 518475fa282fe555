#include "module/designdata/DesignFigurePaint.h"

#include "module/designdata/CFigureDesignData.h"
#include "module/figures/CPVXFigure.h"
#include "module/model/I_PVXModel.h"

int IsDesignFigureMode(int nMode) {
    return nMode == 21 || nMode == 23 || nMode == 28 || nMode == 35 || nMode == 36 || nMode == 40 ||
                   (nMode >= 42 && nMode <= 56)
               ? 1
               : 0;
}

int PaintDesignFigure(I_PVXModel& m, CDC* pDC) {
    CFigureDesignData* d = m.m_pDesignData;
    if (!pDC || !d || !m.m_pFigure || !IsDesignFigureMode(m.m_pFigure->m_nFigureMode)) return 0;
    const int mode = m.m_pFigure->m_nFigureMode;
    m.PVXDrawOriginal(pDC, 0);
    if (mode == 23)
        d->DrawBeamSteelDiagram(pDC);
    else if (mode == 35 || mode == 36) {
        // The walk empties the envelope labels; they are placed by the beams it drew.
        d->DrawBBM_SFDiagram(pDC);
        d->FillEnvelopeTextLists();
    }
    d->OutputNumbers(pDC);
    return 1;
}
