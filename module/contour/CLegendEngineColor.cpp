#include "module/contour/CLegendEngine.h"

#include "module/model/I_PVXModel.h"

void CLegendEngine::InitColor() {
    if (!m_pModel || !m_pModel->m_pDispOpt) return;
    // The display options keep the legend colours as bottom, top, line, text, percent, window,
    // instruction, maximum, minimum.
    const COLORREF* c = m_pModel->m_pDispOpt->m_Legend.m_crLegend;
    m_crBackTop = c[1];
    m_crLine = c[2];
    m_crText = c[3];
    m_crBackBottom = c[0];
    m_crPercent = c[4];
    m_crWindow = c[5];
    m_crInstruction = c[6];
    m_crMax = c[7];
    m_crMin = c[8];
}
