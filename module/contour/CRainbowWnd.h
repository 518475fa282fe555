// CRainbowWnd: a colour-band preview inside the contour settings dialog.
//
// The dialog takes over one of its static frames with CreateFromStatic and sets the edited
// contour engine, the result engine (whose gradient switch the band bar follows) and a style:
//   0  the band bar: one rectangle (or gradient) per band between levels;
//   1  the contour-line preview: one vertical line per level on a pink ground;
//   2  the two-band preview: bands alternating between the band 1 and band 2 colours.
// It repaints from the engine every time, so after any change the dialog only invalidates it.
// Draw paints the preview into any device context (the paint handler passes its own).
#pragma once

#include "platform/ui/CWnd.h"

class CContourEngine;
class CEngineBase;

class CRainbowWnd : public CWnd {
    DECLARE_DYNAMIC(CRainbowWnd)
public:
    CRainbowWnd();
    ~CRainbowWnd() override;

    // Takes over the parent's static nID and adds the clip-children style; FALSE when the parent
    // has no such control.
    BOOL CreateFromStatic(UINT nID, CWnd* pParent);
    // Paints the preview of the current style into rc; nothing without an engine.
    void Draw(CDC* pDC, const CRect& rc) const;

    CContourEngine* m_pContourEngine;  // edited scale, not owned
    CEngineBase* m_pEngine;            // result engine (gradient switch), not owned; may be null
    int m_nStyle;                      // 0 band bar, 1 contour lines, 2 two bands

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    void DrawBands(CDC* pDC, const CRect& rc) const;
    void DrawLines(CDC* pDC, const CRect& rc) const;
    void DrawTwoBands(CDC* pDC, const CRect& rc) const;
    // N as the previews use it: at least 2, at most the level map's size.
    int LevelCount() const;
};
