#include "module/figures/CPVXFigure.h"

#include "module/model/CPVXView.h"

CPVXFigure* CPVXFigure::m_pMyself = nullptr;
int CPVXFigure::nSelectMode = 0;

CPVXFigure::CPVXFigure() { m_pMyself = this; }

CPVXFigure::~CPVXFigure() {
    nSelectMode = 0;
    if (m_pMyself == this) m_pMyself = nullptr;
}

CPVXView* CPVXFigure::GetCurView() { return CPVXView::m_pMyself; }
