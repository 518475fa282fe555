// The legend's texts from the host's message table, by key.
//
//     pDC->TextOut(x, y, legendtext::Load("IDS_TBX_PVX_LABEL_LINES"));
#pragma once

#include "host/base/CMsgDll.h"
#include "platform/afx/CString.h"

namespace legendtext {

inline CString Load(LPCTSTR key) { return CMsgDll::pfuncLoadStr(key, 0); }

}  // namespace legendtext
