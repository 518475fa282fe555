#include "module/figures/CPVXFigure.h"

CPVXFigure* CPVXFigure::m_pMyself = nullptr;

CPVXFigure::CPVXFigure() { m_pMyself = this; }

CPVXFigure::~CPVXFigure() {
    if (m_pMyself == this) m_pMyself = nullptr;
}
