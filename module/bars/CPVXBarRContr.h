// CPVXBarRContr: the page of the reaction contour of the footings (7102), display mode 70
// (template 16243): load, contour / legend / values boxes and the member type ("筏板" raft 0,
// "梁" beam 1) whose pressures the contour shows. Its contour box stays on.
#pragma once

#include "module/bars/CPVXBarReacPage.h"

class CPVXBarRContr : public CPVXBarReacPage {
    DECLARE_DYNCREATE(CPVXBarRContr)
public:
    enum : UINT {
        IDD = 16243,
        IDC_LOAD = 11607,
        IDC_CONTOUR = 11602,
        IDC_LEGEND = 11603,
        IDC_VALUES = 11604,
        IDC_CONTOUR_MORE = 11608,
        IDC_LEGEND_MORE = 11606,
        IDC_VALUES_MORE = 11605,
        IDC_SCALE = 11470,
        IDC_MEMB_RAFT = 11618,
        IDC_MEMB_BEAM = 11619,
    };
    static const IdSet kIds;

    CPVXBarRContr();

protected:
    DECLARE_MESSAGE_MAP()
};
