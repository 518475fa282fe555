// How a drawing of the model view scales to a printer or a metafile: the legend's share of the
// page and the widening of pens on fine devices.
#pragma once

#include "platform/gdi/CDC.h"
#include "platform/gdi/gdidefs.h"

namespace printscale {

// Share of the view's client width that the legend takes while printing (one seventh).
inline constexpr double kPrintLegendShare = 0.14285714285714285;

// Pen-width multiplier for a device: the integer part of its horizontal pixels per inch x 0.004,
// at least 1 (1 below 500 dpi, 2 from 500, 3 from 750).
inline int PenFactorOf(CDC* pDC) {
    const int f = pDC ? static_cast<int>(pDC->GetDeviceCaps(LOGPIXELSX) * 0.004) : 1;
    return f < 1 ? 1 : f;
}

}  // namespace printscale
