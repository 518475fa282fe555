// CPVXBarContainer: the plain result bar (template 10526: combo, table button, place holder,
// Apply and Close). It has a run-time class for the host and no behaviour of its own.
#pragma once

#include "module/bars/CPVXBarContainerBase.h"

class CPVXBarContainer : public CPVXBarContainerBase {
    DECLARE_DYNCREATE(CPVXBarContainer)
public:
    enum : UINT { IDD = 10526 };
    CPVXBarContainer();
    ~CPVXBarContainer() override;
};
