// CSelectScope: selects a pen, brush or font into a device context for one scope and selects the
// previous one back when the scope ends, on every way out of a drawing routine.
//
//     CPen pen(PS_SOLID, 2, RGB(255, 0, 0));
//     CSelectScope<CPen> sel(pDC, &pen);   // pDC may be null: then nothing is selected
//     ... draw ...
//                                          // the previous pen is back here, before pen goes
// Declare the object before the scope so that it is deleted after it has been deselected.
#pragma once

#include "platform/gdi/CDC.h"

template <class T>
class CSelectScope {
public:
    CSelectScope(CDC* pDC, T* pObject) : m_pDC(pDC) {
        if (m_pDC && pObject) m_pOld = m_pDC->SelectObject(pObject);
    }
    ~CSelectScope() {
        if (m_pDC && m_pOld) m_pDC->SelectObject(m_pOld);
    }
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;

private:
    CDC* m_pDC;
    T* m_pOld = nullptr;  // the selection before the scope; null when nothing was selected
};
