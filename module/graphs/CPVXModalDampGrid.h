// CPVXModalDampGrid: the read-only table of the Rayleigh damping dialog, one row per mode in
// ascending mode number: mode number, frequency (Hz), period (s), participating masses X, Y, Z
// (%) and damping ratio, each value with up to 15 significant digits ("%.15g").
#pragma once

#include "host/base/CTBBrowserWnd.h"

class CPVXModalDampData;

class CPVXModalDampGrid : public CTBBrowserWnd {
    DECLARE_DYNAMIC(CPVXModalDampGrid)
public:
    static constexpr int kColumns = 7;

    explicit CPVXModalDampGrid(const CPVXModalDampData* pData);
    ~CPVXModalDampGrid() override;

    // Header, cell style and rows; call after subclassing the dialog's control.
    void Initialize() override;

protected:
    // A press on a column border goes to the middle of that column.
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    void FillRows();

    const CPVXModalDampData* m_pData;   // the dialog's, not owned
};
