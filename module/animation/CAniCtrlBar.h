// The animation tool bar of a result view and its inner controls.
//
// CAniCtrlBar is owned by the model's animation engine: the object exists from the engine's
// construction, its window is created on the view's frame when animation mode is first
// entered. It carries the playback buttons of resource 10611 (handled by the view), a
// scrolling title (CExtMarquee) in the place of item 42059, and one shared place, item 42060,
// that shows the progress control while frames are recorded and the position slider
// (CAniSliderCtrl) while the film plays. Moving the slider stops the film at the chosen frame.
#pragma once

#include "platform/afx/CString.h"
#include "platform/ui/CBCGPToolBar.h"
#include "platform/ui/CommonCtrls.h"

class I_PVXModel;

// Scrolling title of the animation tool bar.
class CExtMarquee : public CWnd {
public:
    CExtMarquee();
    ~CExtMarquee() override;

    BOOL Create(LPCTSTR pszTitle, DWORD dwStyle, const RECT& rect, CWnd* pParent, UINT nID);
    // Back to an empty, still title.
    void Reset();
    void SetText(LPCTSTR pszText);
    const CString& GetText() const { return m_strText; }
    // 1 starts scrolling, 0 stops it.
    void StartScrolling(int bStart);
    int IsScrolling() const { return m_bScrolling; }
    // Step in pixels and period in seconds of the scrolling.
    void SetScrollParameters(int nStep, double dPeriod);
    int GetScrollStep() const { return m_nStep; }
    double GetScrollPeriod() const { return m_dPeriod; }

private:
    CString m_strText;
    int m_bScrolling;  // the title scrolls
    int m_nStep;
    double m_dPeriod;
};

// Position slider of the film.
class CAniSliderCtrl : public CSliderCtrl {
public:
    CAniSliderCtrl() = default;
};

class CAniCtrlBar : public CBCGPToolBar {
    DECLARE_DYNAMIC(CAniCtrlBar)
public:
    // Items and controls of the bar.
    enum : UINT {
        IDR_TOOLBAR = 10611,
        ID_MARQUEE_SLOT = 42059,
        ID_PROGRESS_SLOT = 42060,
        IDC_MARQUEE = 11257,
        IDC_PROGRESS = 11258,
        IDC_SLIDER = 11259,
        ID_BAR_WINDOW = 59416,
    };
    static constexpr int kSlotWidth = 200;  // pixels of the marquee and the progress places

    CAniCtrlBar();
    ~CAniCtrlBar() override;

    // The base load; then the marquee and progress items become 200-pixel separators.
    BOOL LoadToolBar(UINT nIDResource) override;
    // The base layout; a horizontal bar then centres each row that leaves room on its right.
    void AdjustLocations() override;

    // Creates the marquee in its place with the bar's title (once) and shows it.
    void PlaceMarquee();
    // The progress control in the shared place, the slider hidden.
    void ShowProgress();
    // The slider in the shared place, the progress control hidden.
    void ShowSlider();
    // The title of a playing film, reset and set on the marquee.
    void ShowTitle();
    // "<product> Post-processor Animation".
    static CString GetAnimationTitle();

    CExtMarquee m_wndMarquee;
    CAniSliderCtrl m_wndSlider;
    CProgressCtrl m_wndProgress;  // shown in the slider's place while frames are recorded
    I_PVXModel* m_pModel;         // not owned

protected:
    // The slider was moved: the film stops at the chosen frame.
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    // The rectangle of a slot item; FALSE when the bar has no such item.
    BOOL SlotRect(UINT nSlot, CRect& rc) const;
    // Moves ctrl into the shared place, creating it there when it has no window yet.
    template <class Ctrl>
    void ShowInSharedSlot(Ctrl& ctrl, UINT nID, CWnd& other);
};
