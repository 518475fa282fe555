// CBlendedDrawing: alpha-blended polygon through a memory bitmap and a polygon clip.
#include "module/contour/CBlendedDrawing.h"

#include <climits>
#include <vector>

#include "platform/gdi/afxgdi.h"

CRect CBlendedDrawing::FindRectRgn(CPoint* points, int n) {
    CRect r(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    if (points == nullptr) return r;
    for (int i = 0; i < n; i++) {
        if (points[i].x < r.left) r.left = points[i].x;
        if (points[i].x > r.right) r.right = points[i].x;
        if (points[i].y < r.top) r.top = points[i].y;
        if (points[i].y > r.bottom) r.bottom = points[i].y;
    }
    return r;
}

void CBlendedDrawing::BlendedPolygon(CDC* pDC, BYTE alpha, COLORREF penColor, COLORREF brushColor, CPoint* points,
                                     int n) {
    if (pDC == nullptr || points == nullptr || n < 1) return;
    const CRect r = FindRectRgn(points, n);
    // Widths in 64 bits: a polygon spanning the whole coordinate range must not overflow.
    const long long width = static_cast<long long>(r.right) - r.left;
    const long long height = static_cast<long long>(r.bottom) - r.top;
    if (width <= 0 || height <= 0 || width > INT_MAX || height > INT_MAX) return;

    CDC mem;
    if (!mem.CreateCompatibleDC(pDC)) return;
    CPen pen;
    CBrush brush;
    CBitmap bitmap;
    if (!pen.CreatePen(PS_SOLID, 1, penColor) || !brush.CreateSolidBrush(brushColor) ||
        !bitmap.CreateCompatibleBitmap(pDC, static_cast<int>(width), static_cast<int>(height)))
        return;
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    CPen* oldPen = mem.SelectObject(&pen);
    CBrush* oldBrush = mem.SelectObject(&brush);

    // Only the polygon itself takes the blend, within whatever clip the caller had.
    const int saved = pDC->SaveDC();
    CRgn rgn;
    if (rgn.CreatePolygonRgn(points, n, WINDING)) pDC->ExtSelectClipRgn(&rgn, RGN_AND);

    std::vector<POINT> shifted(static_cast<size_t>(n));
    for (int i = 0; i < n; i++) {
        shifted[static_cast<size_t>(i)].x = points[i].x - r.left;
        shifted[static_cast<size_t>(i)].y = points[i].y - r.top;
    }
    mem.Polygon(shifted.data(), n);

    BLENDFUNCTION blend{AC_SRC_OVER, 0, alpha, 0};
    pDC->AlphaBlend(r.left, r.top, static_cast<int>(width), static_cast<int>(height), &mem, 0, 0,
                    static_cast<int>(width), static_cast<int>(height), blend);

    pDC->RestoreDC(saved);
    mem.SelectObject(oldBrush);
    mem.SelectObject(oldPen);
    mem.SelectObject(oldBitmap);
    mem.DeleteDC();
}
