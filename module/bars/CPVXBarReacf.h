// CPVXBarReacf: the page of the pile reactions (7101) and the reversed reactions (7103),
// display mode 0 (template 10532): load, contour / legend / values boxes, component, arrow size
// factor ("箭头尺寸系数：") and the node edit ("节点号：") whose node is reported on Apply.
#pragma once

#include "module/bars/CPVXBarReacPage.h"

class CPVXBarReacf : public CPVXBarReacPage {
    DECLARE_DYNCREATE(CPVXBarReacf)
public:
    enum : UINT {
        IDD = 10532,
        IDC_LOAD = 10669,
        IDC_CONTOUR = 11450,
        IDC_LEGEND = 10680,
        IDC_VALUES = 10679,
        IDC_CONTOUR_MORE = 10685,
        IDC_LEGEND_MORE = 10682,
        IDC_VALUES_MORE = 10681,
        IDC_SCALE = 10684,
    };
    static const IdSet kIds;

    CPVXBarReacf();

protected:
    DECLARE_MESSAGE_MAP()
};
