// CPVXFigure: the figure catalogue controller of one result model.
//
// Each model creates one controller and deletes it with itself. The controller publishes itself
// as the current figure controller (m_pMyself) when it is made; the result view re-publishes its
// model's controller on activation. A controller being deleted withdraws itself, so the current
// pointer never names a deleted controller.
#pragma once

class CPVXView;

class CPVXFigure {
public:
    CPVXFigure();
    virtual ~CPVXFigure();
    CPVXFigure(const CPVXFigure&) = delete;
    CPVXFigure& operator=(const CPVXFigure&) = delete;

    // The current result view (CPVXView::m_pMyself); null when none.
    static CPVXView* GetCurView();

    static CPVXFigure* m_pMyself;  // the current figure controller; null when none
    static int nSelectMode;        // the host's selection mode; reset to 0 when a controller goes

    int m_nFigureMode = 0;  // the design figure the host shows (21, 23, 28, 35, 36, 40, 42..56)
};
