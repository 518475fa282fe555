// Unit texts by unit code.
//
// Result records name the unit of each component by a code (their static `unit` tables, see
// DBResultRecords.h); the legend asks `GetUnitSystem(code, text)` for the text to print.
#pragma once

#include "platform/afx/afx.h"

class CUnitCtrl {
public:
    virtual ~CUnitCtrl() = default;
    // The unit text of a code; FALSE and an empty text for an unknown code.
    BOOL GetUnitSystem(int nCode, CString& strUnit) const;

    // A value of kind (1 length) in the previous unit converted to the current unit: v times
    // the factor of the last unit change (1 until the unit changes; other kinds unchanged).
    virtual double ConvertUnitDataPrevious(int nKind, double v) const { return nKind == 1 ? v * m_dLengthChange : v; }
    // The host changes the length unit: factor = previous unit / current unit.
    void SetLengthChange(double factor) { m_dLengthChange = factor; }

private:
    double m_dLengthChange = 1.0;
};
