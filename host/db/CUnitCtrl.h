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
};
