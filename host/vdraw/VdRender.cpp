#include "host/vdraw/CVdrawUtil.h"

BOOL CVdrawUtil::Render(CDC*, const CRect&) const { return FALSE; }
BOOL CVdrawUtil::RenderToFile(const CString&, int, int) const { return FALSE; }
