// The objects behind GDI handles: pens, brushes, fonts, bitmaps (plain and DIB sections) and
// regions, with the handle table that validates handles and counts references.
//
// A handle is a pointer to one of these objects. Every live object is in the handle table, so a
// stale or foreign handle is refused instead of followed. The creator holds one reference and
// each DC state that selects the object (including states saved by SaveDC) holds another.
// DeleteObject on an object still selected somewhere returns FALSE as the platform does, but
// marks it: it is freed when the last DC lets it go, so nothing leaks and nothing dangles.
// Back ends reach the pixels of a bitmap through GdiBitmapObject.
#pragma once

#include <atomic>
#include <memory>
#include <unordered_map>
#include <vector>

#include <cairo.h>

#include "platform/gdi/GdiRegion.h"
#include "platform/gdi/gdidefs.h"

class CGdiObject;

struct HGDIOBJ__ {
    explicit HGDIOBJ__(int type) : m_nType(type) {}
    virtual ~HGDIOBJ__();
    HGDIOBJ__(const HGDIOBJ__&) = delete;
    HGDIOBJ__& operator=(const HGDIOBJ__&) = delete;

    const int m_nType;                     // OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP, OBJ_REGION
    std::atomic<int> m_nRefs{1};           // creator + one per DC state selecting it
    std::atomic<bool> m_bDeletePending{false};
    bool m_bStock = false;                 // stock objects are never freed
    CGdiObject* m_pPermanent = nullptr;    // wrapper the handle is attached to, if any
    CGdiObject* m_pTemp = nullptr;         // wrapper made by FromHandle, freed with the object
};

struct GdiPenObject : HGDIOBJ__ {
    GdiPenObject() : HGDIOBJ__(OBJ_PEN) {}
    LOGPEN lp{};
};

struct GdiBrushObject : HGDIOBJ__ {
    GdiBrushObject() : HGDIOBJ__(OBJ_BRUSH) {}
    LOGBRUSH lb{};
};

struct GdiFontObject : HGDIOBJ__ {
    GdiFontObject() : HGDIOBJ__(OBJ_FONT) {}
    LOGFONT lf{};
};

struct GdiRegionObject : HGDIOBJ__ {
    GdiRegionObject() : HGDIOBJ__(OBJ_REGION) {}
    GdiRegion rgn;
};

// A bitmap draws on a 32-bit cairo image surface (B, G, R, X bytes). A monochrome bitmap keeps
// only black and white there. A DIB section also owns its pixel memory in the layout of its
// header; that memory is the picture, and the surface is a working copy that SyncIn refreshes
// before a drawing call touches an area and SyncOut writes back after it.
struct GdiBitmapObject : HGDIOBJ__ {
    GdiBitmapObject() : HGDIOBJ__(OBJ_BITMAP) {}
    ~GdiBitmapObject() override;

    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nBitsPixel = 32;               // 1 for monochrome; a DIB's own bit count
    cairo_surface_t* m_pSurface = nullptr;

    // DIB section only.
    bool m_bDib = false;
    BITMAPINFOHEADER m_bih{};            // height kept as given (sign = row order)
    BYTE* m_pBits = nullptr;             // owned pixel memory
    size_t m_nStride = 0;                // bytes per DIB row
    std::vector<RGBQUAD> m_palette;      // colour table for 1, 4 and 8 bits per pixel
    std::unordered_map<uint32_t, BYTE> m_nearest;  // colour -> palette index cache

    BOOL IsMono() const { return m_nBitsPixel == 1; }
    RECT Bounds() const { return RECT{0, 0, m_nWidth, m_nHeight}; }
    // Pixel r of the surface as 0x00RRGGBB, or a COLORREF.
    uint32_t* Row(int y) const;
    COLORREF GetPixel(int x, int y) const;
    void SetPixel(int x, int y, COLORREF c);
    // DIB memory -> surface for the part of r inside the bitmap.
    void SyncIn(const RECT& r);
    // Surface -> DIB memory (and black/white snapping for monochrome) for the part of r inside.
    void SyncOut(const RECT& r);
    BYTE NearestIndex(uint32_t rgb);
};

// Handle table.
void GdiRegisterObject(HGDIOBJ__* obj);
// The live object behind h, or nullptr when h is not a live handle (of the given type when
// type is non-zero).
HGDIOBJ__* GdiLookup(HGDIOBJ h, int type = 0);
void GdiAddRef(HGDIOBJ__* obj);
void GdiRelease(HGDIOBJ__* obj);

// Creates a registered bitmap object with a black surface; nullptr (with a message on stderr)
// when a side is not 1 to 32767 pixels or memory runs out.
GdiBitmapObject* GdiNewBitmap(int width, int height, int bitsPixel);

// Reads the rows of a BI_RGB DIB (1, 4, 8, 16, 24 or 32 bits) as 0x00RRGGBB values, top-down;
// false for another format or a size beyond 32767.
bool GdiReadDib(const void* bits, const BITMAPINFO* bmi, std::vector<uint32_t>& out, int& width, int& height);

// Brightness 0..255 of a 0x00RRGGBB colour; 128 and above count as white when making a mono image.
inline int GdiLuma(uint32_t rgb) {
    const int r = (rgb >> 16) & 0xff, g = (rgb >> 8) & 0xff, b = rgb & 0xff;
    return (r * 30 + g * 59 + b * 11) / 100;
}

// Counted reference to an object of type T, held by DC states.
template <class T>
class GdiRef {
public:
    GdiRef() = default;
    explicit GdiRef(T* p) : m_p(p) { if (m_p) GdiAddRef(m_p); }
    GdiRef(const GdiRef& o) : m_p(o.m_p) { if (m_p) GdiAddRef(m_p); }
    GdiRef& operator=(const GdiRef& o) {
        if (o.m_p) GdiAddRef(o.m_p);
        if (m_p) GdiRelease(m_p);
        m_p = o.m_p;
        return *this;
    }
    // Moves hand the reference over: selecting an object into a DC counts it once, not twice.
    GdiRef(GdiRef&& o) noexcept : m_p(o.m_p) { o.m_p = nullptr; }
    GdiRef& operator=(GdiRef&& o) noexcept {
        if (this != &o) {
            T* old = m_p;
            m_p = o.m_p;
            o.m_p = nullptr;
            if (old) GdiRelease(old);
        }
        return *this;
    }
    ~GdiRef() { if (m_p) GdiRelease(m_p); }
    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    HGDIOBJ handle() const { return m_p; }

private:
    T* m_p = nullptr;
};
