// Whether the model has elements to draw or export: a model without any draws and writes
// nothing.
#pragma once

#include "module/model/CPVXAttrCtrl.h"
#include "module/model/I_PVXModel.h"

namespace modelelements {

inline int HasElements(const I_PVXModel& m) { return m.m_pAttrCtrl && m.m_pAttrCtrl->GetElemCount() > 0; }

}  // namespace modelelements
