#include "module/figures/CFigureDetailPages.h"

CFigureDetailView* CFigureDetailView::m_pMyself = nullptr;
CFigureDetailDisplay* CFigureDetailDisplay::m_pMyself = nullptr;

CFigureDetailView::CFigureDetailView() { m_pMyself = this; }

CFigureDetailView::~CFigureDetailView() {
    if (m_pMyself == this) m_pMyself = nullptr;
}

CFigureDetailDisplay::CFigureDetailDisplay() { m_pMyself = this; }

CFigureDetailDisplay::~CFigureDetailDisplay() {
    if (m_pMyself == this) m_pMyself = nullptr;
}
