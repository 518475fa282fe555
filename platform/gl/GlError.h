// The thread's last-error code with the failing call's own explanation, shared by the wgl
// calls; FormatMessage adds the explanation to the code's text.
#pragma once

#include <string>

#include "platform/afx/afxtypes.h"

// Sets the thread's last error and returns FALSE.
BOOL GlFail(DWORD code, const std::string& detail);
