#include "contour/CLegendEngine.h"


CLegendEngine::CLegendEngine()
    : m_bOpenGLReady(0),
      m_pModel(nullptr),
      m_pContourEngine(nullptr),
      m_nTitleCharWidth(0),
      m_nTitleLineHeight(0),
      m_nValueCharWidth(0),
      m_nValueLineHeight(0),
      m_lfTitle{},
      m_lfValue{},
      m_crBackTop(0),
      m_crLine(0),
      m_crText(0),
      m_crBackBottom(0),
      m_crSaveBackTop(0),
      m_crSaveLine(0),
      m_crSaveText(0),
      m_crReserved(0),
      m_crPercent(0),
      m_crWindow(0),
      m_crInstruction(0),
      m_crMax(0),
      m_crMin(0),
      m_nPanelPlacement(1),
      m_bExponent(0),
      m_bAutoDigits(1),
      m_nDecimals(7),
      m_bCompact(1),
      m_bLegendRect(0),
      m_pLegendWnd(nullptr) {
    m_arrValRect.SetSize(2);
}

CLegendEngine::~CLegendEngine() {
    m_arrValRect.RemoveAll();
}

void CLegendEngine::InitFont(int, int) {}

void CLegendEngine::InitVirtualFont() {}

void CLegendEngine::ResetContourEngine() {}

void CLegendEngine::DrawContourLegend(CDC*, int, CRect*, double*, double*, double*, double*, double*) {}

int CLegendEngine::IsPossibleUserDefGlobalRange(I_PVXModel*, int) { return 0; }
