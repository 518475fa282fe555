// Drawing helpers the engines share: the device context's state kept for one drawing, and the
// view's client DC that shows a drawing at once while it goes into the memory image.
//
//     CPen pen;                                   // deleted after the old pen is back
//     enginedraw::DCStateScope state(pDC);
//     pDC->SelectObject(&pen);
//     std::unique_ptr<CClientDC> client = enginedraw::OpenClientCopy(*pModel);   // may be null
#pragma once

#include <memory>

#include "module/model/I_PVXModel.h"
#include "platform/gdi/CDC.h"
#include "platform/ui/CClientDC.h"
#include "platform/ui/CView.h"

namespace enginedraw {

// Pen width factor of edges-only (wire frame) drawing.
inline constexpr double kWirePenWide = 1.7;

// Saves the DC state and restores it on every way out; the pens and brushes selected meanwhile
// are deleted after the restore (declare them before the scope).
class DCStateScope {
public:
    explicit DCStateScope(CDC* pDC) : m_pDC(pDC), m_nSaved(pDC ? pDC->SaveDC() : 0) {}
    ~DCStateScope() {
        if (m_pDC && m_nSaved) m_pDC->RestoreDC(m_nSaved);
    }
    DCStateScope(const DCStateScope&) = delete;
    DCStateScope& operator=(const DCStateScope&) = delete;

private:
    CDC* m_pDC;
    int m_nSaved;
};

// The view's client DC for immediate copies while the memory image is drawn: none while drawing
// straight to a device, while the model suppresses the copy (second target), while animating,
// or without a view window.
inline std::unique_ptr<CClientDC> OpenClientCopy(I_PVXModel& m) {
    if (m.m_bExternalDevice || m.m_bSecondTarget || m.m_bAnimation || !m.m_pView || !m.m_pView->GetSafeHwnd())
        return nullptr;
    auto dc = std::make_unique<CClientDC>(m.m_pView);
    if (!dc->GetSafeHdc()) return nullptr;
    return dc;
}

}  // namespace enginedraw
