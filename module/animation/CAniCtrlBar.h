// The animation tool bar of a result view and its two inner controls.
//
// CAniCtrlBar is owned by the model's animation engine: the object exists from the engine's
// construction, its window is created when animation mode is first entered. It carries the
// playback buttons, a scrolling title (CExtMarquee) and a position slider (CAniSliderCtrl) that
// follows the media window while the recorded film plays. The view drives the marquee and the
// slider from its animation commands and timers.
#pragma once

#include "platform/afx/CString.h"
#include "platform/ui/CFrameWnd.h"
#include "platform/ui/CommonCtrls.h"

class I_PVXModel;

// Scrolling title of the animation tool bar.
class CExtMarquee : public CWnd {
public:
    CExtMarquee();
    ~CExtMarquee() override;

    // Back to an empty, still title.
    void Reset();
    void SetText(LPCTSTR pszText);
    const CString& GetText() const { return m_strText; }
    // 1 starts scrolling, 0 stops it.
    void StartScrolling(int bStart);
    int IsScrolling() const { return m_bScrolling; }

private:
    CString m_strText;
    int m_bScrolling;  // the title scrolls
};

// Position slider of the film.
class CAniSliderCtrl : public CSliderCtrl {
public:
    CAniSliderCtrl() = default;
};

class CAniCtrlBar : public CControlBar {
public:
    CAniCtrlBar();
    ~CAniCtrlBar() override;

    CExtMarquee m_wndMarquee;
    CAniSliderCtrl m_wndSlider;
    CProgressCtrl m_wndProgress;  // shown in the slider's place while frames are recorded
    I_PVXModel* m_pModel;         // not owned
};
