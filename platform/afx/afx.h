// The class-library core in one include: basic types, strings, containers, run-time classes,
// files and archives.
#pragma once

#include "platform/afx/afxtypes.h"
#include "platform/afx/CArray.h"
#include "platform/afx/CString.h"
#include "platform/afx/CList.h"
#include "platform/afx/CMap.h"
#include "platform/afx/CObject.h"
#include "platform/afx/CFile.h"
#include "platform/afx/CMemFile.h"
#include "platform/afx/CArchive.h"
