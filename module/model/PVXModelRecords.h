// Small records kept by the result model: contour annotation candidates and the time-history
// selection.
#pragma once

#include "host/grx/C3DPoint.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"

// One candidate label of a contour line: its grid cell, the contour level, the text, the piece
// of contour line that carries it and its window position.
struct ContAnnotData {
    int nRow;
    int nCol;
    int nLevel;          // contour level, non-zero
    CString strText;
    C3DPoint pt1, pt2;   // start and end of the carrying piece of contour line
    C3DPoint pt3;        // not used for placement
    int x, y;            // window position
};

// Selection of time-history results; reset by I_PVXModel::THRDInit.
struct T_PVX_THRD_D {
    int m_bSelect;                    // selection switch
    CString m_strName;                // name of the selected history
    CArray<UINT, UINT> m_arrKeys;     // selected keys
    CArray<double, double> m_arrTimes;
    int m_bOpt1, m_bOpt2, m_bOpt3;    // further switches
    CString m_strName2;
    CStringArray m_arrNames;          // names offered

    T_PVX_THRD_D() { Reset(); }
    void Reset() {
        m_bSelect = 1;
        m_strName.Empty();
        m_arrKeys.RemoveAll();
        m_arrTimes.RemoveAll();
        m_bOpt1 = 1;
        m_bOpt2 = 1;
        m_bOpt3 = 0;
        m_strName2.Empty();
        m_arrNames.RemoveAll();
        m_arrNames.FreeExtra();
    }
};
