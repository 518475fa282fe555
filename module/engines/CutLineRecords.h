// The records of cutting lines: one cutting line placed across the plates, one diagram piece
// across one plate element, and the extremes of one line's diagram. The engines build the pieces
// and extremes from the lines (CEngineBase::MakeCuttingLineData) and draw them.
#pragma once

#include <cfloat>

#include "host/grx/C3DPoint.h"
#include "platform/afx/CString.h"
#include "platform/afx/afxtypes.h"

struct T_PVX_CUTL_D {
    CString strName;
    DWORD dwReserved1 = 0;     // copied with the record, not read
    double x1 = 0.0, y1 = 0.0, z1 = 0.0;  // first point, world coordinates
    double x2 = 0.0, y2 = 0.0, z2 = 0.0;  // second point
    DWORD dwReserved2 = 0;     // copied with the record, not read
};

struct T_CUTLINE_D {
    C3DPoint ptA;              // first crossing point on the element boundary
    double dValueA = 0.0;      // result value there
    double dDistA = 0.0;       // distance from the line's first point
    C3DPoint ptB;              // second crossing point
    double dValueB = 0.0;
    double dDistB = 0.0;
    UINT nElemKey = 0;         // plate element crossed
};

struct T_CUTLINE_MINMAX_D {
    double dMax = -DBL_MAX;    // stays -DBL_MAX when the line crosses no element
    double dMin = DBL_MAX;
};
