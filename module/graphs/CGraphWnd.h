// CGraphWnd: a small child window that draws one x-y series with a cursor line.
//
// The module keeps one static object of it for the graph windows (I_PVXModel::m_TFuncWnd); it
// holds the series it was given and whether it has data.
#pragma once

#include "module/graphs/T_GRPH_D.h"
#include "platform/ui/CWnd.h"

class CGraphWnd : public CWnd {
public:
    CGraphWnd();
    ~CGraphWnd() override;

    PVXGraphSeries m_arrSeries;  // points in ascending x
    int m_bHasData;              // a series was given
};
