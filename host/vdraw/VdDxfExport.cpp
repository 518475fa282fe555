#include "host/vdraw/CVdrawUtil.h"

int CVdrawUtil::ExportToDwg(int, const CString&) { return 0; }
