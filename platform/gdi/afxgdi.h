// Drawing interface of the platform layer: the constants and records of gdidefs.h, the GDI
// object wrappers (CPen, CBrush, CFont, CBitmap, CRgn), the device context CDC, the recording
// DC for tests and the BMP file helpers. Include this one header.
#pragma once

#include "platform/gdi/gdidefs.h"
#include "platform/gdi/CGdiObject.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/gdi/BmpFile.h"
