// CBlendedDrawing: a semi-transparent polygon drawn over what is already on a device context.
//
// All members are static. BlendedPolygon draws the polygon opaquely into a memory bitmap the
// size of its bounding rectangle, clips the target to the polygon and blends the bitmap onto
// it with the platform AlphaBlend and a constant alpha (255 opaque, 0 invisible):
//
//   CPoint quad[4] = {...};
//   CBlendedDrawing::BlendedPolygon(dc, 128, RGB(0, 0, 0), RGB(255, 0, 0), quad, 4);
//
// See also CGradientDrawing.
#pragma once

#include "platform/afx/afxtypes.h"

class CDC;

class CBlendedDrawing {
public:
    CBlendedDrawing() {}
    virtual ~CBlendedDrawing() {}

    // Blends the polygon of n vertices, outlined by a 1-pixel pen and filled with the brush
    // colour, with constant alpha. Nothing is drawn for an empty bounding rectangle.
    static void BlendedPolygon(CDC* pDC, BYTE alpha, COLORREF penColor, COLORREF brushColor, CPoint* points, int n);
    // Bounding rectangle of the vertices; for no vertices left and top 2147483647, right and
    // bottom -2147483648.
    static CRect FindRectRgn(CPoint* points, int n);
};
