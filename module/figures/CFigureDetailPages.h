// The figure panel's detail pages that other subsystems reach through their current instance:
// CFigureDetailView (the base drawings shown under a figure) and CFigureDetailDisplay (the
// figure's display values).
//
// Each page publishes itself as the current page of its kind when it is made (m_pMyself) and
// withdraws itself when it goes, so the pointer never names a deleted page. The force engine
// takes both current pages when it is made and does not own them.
#pragma once

class CFigureDetailView {
public:
    CFigureDetailView();
    virtual ~CFigureDetailView();
    CFigureDetailView(const CFigureDetailView&) = delete;
    CFigureDetailView& operator=(const CFigureDetailView&) = delete;

    static CFigureDetailView* m_pMyself;  // the page made last that still lives; null when none
};

class CFigureDetailDisplay {
public:
    CFigureDetailDisplay();
    virtual ~CFigureDetailDisplay();
    CFigureDetailDisplay(const CFigureDetailDisplay&) = delete;
    CFigureDetailDisplay& operator=(const CFigureDetailDisplay&) = delete;

    static CFigureDetailDisplay* m_pMyself;  // the page made last that still lives; null when none
};
