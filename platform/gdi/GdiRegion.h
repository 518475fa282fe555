// GdiRegion: a set of device pixels kept as non-overlapping rectangles in y-x bands, the value
// behind CRgn handles and a DC's clip region.
//
// Rectangles are half-open (right and bottom excluded), as GDI regions are. Polygons become
// the pixels whose centres lie inside under the alternate or winding rule. Combine gives AND,
// OR, XOR, DIFF and COPY of two regions. Copying a region copies its rectangles.
#pragma once

#include <vector>

#include "platform/gdi/gdidefs.h"

class GdiRegion {
public:
    GdiRegion() = default;
    explicit GdiRegion(const RECT& r) { SetRect(r); }

    void SetEmpty() { m_rects.clear(); }
    void SetRect(const RECT& r);
    void SetPolygon(const POINT* pts, int count, int fillMode);
    void SetPolyPolygon(const POINT* pts, const int* counts, int polys, int fillMode);
    void SetEllipse(const RECT& r);
    // this = a op b; returns the region kind (NULLREGION, SIMPLEREGION, COMPLEXREGION) or ERROR.
    int Combine(const GdiRegion& a, const GdiRegion& b, int mode);
    void Offset(int dx, int dy);

    BOOL IsEmpty() const { return m_rects.empty(); }
    BOOL Contains(int x, int y) const;
    // Bounding box; all zeros for an empty region. Returns the region kind.
    int GetBox(RECT* box) const;
    int Kind() const;
    const std::vector<RECT>& Rects() const { return m_rects; }
    bool operator==(const GdiRegion& o) const;

private:
    // Sorted by top then left; rectangles of one band share top and bottom.
    std::vector<RECT> m_rects;
    void SetFromRowSpans(int top, const std::vector<std::vector<std::pair<int, int>>>& rows);
};
