#include "module/model/CPVXPostCtrl.h"

CPVXPostCtrl::CPVXPostCtrl() = default;
CPVXPostCtrl::~CPVXPostCtrl() = default;

BOOL CPVXPostCtrl::IsValidDispData(UINT, UINT, T_DISP_D*) const { return TRUE; }
