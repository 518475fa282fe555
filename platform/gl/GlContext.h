// An off-screen OpenGL 1.1 rendering context over OSMesa, drawing into a buffer of its own.
//
// The context renders into a BGRA byte buffer (rows bottom-up, as in a DIB) with a 16-bit
// depth buffer. Bind() makes it current on the calling thread; Unbind() releases it. Pixels
// move between the buffer and a device-independent bitmap with LoadFrom() and StoreTo(), which
// is how wgl contexts share a DIB section with GDI drawing. One context is current per thread.
//
//     GlContext ctx;
//     if (ctx.Create(64, 64) && ctx.Bind()) { ...gl calls...; glFinish(); ctx.StoreTo(dib); ctx.Unbind(); }
#pragma once

#include <string>
#include <vector>

#include "platform/afx/afxtypes.h"

// A view on the pixels of a device-independent bitmap that a context copies into and from.
struct GlPixelTarget {
    BYTE* bits = nullptr;  // first byte of the first stored row
    int width = 0;         // pixels
    int height = 0;        // pixels, always positive
    int bitCount = 24;     // 24 (B, G, R) or 32 (B, G, R, X) bits per pixel
    int stride = 0;        // bytes per stored row, rows padded to 4 bytes
    bool bottomUp = true;  // first stored row is the bottom row of the picture

    // Stride of a DIB row: ((bitCount * width + 31) / 32) * 4.
    static int RowBytes(int width, int bitCount) { return ((bitCount * width + 31) / 32) * 4; }
    BOOL IsValid() const;
};

class GlContext {
public:
    GlContext() = default;
    ~GlContext();
    GlContext(const GlContext&) = delete;
    GlContext& operator=(const GlContext&) = delete;

    // Creates the OSMesa context (BGRA colour, depthBits of depth) and a width x height buffer
    // cleared to black. FALSE with LastError() when the size is out of range or Mesa refuses.
    BOOL Create(int width, int height, int depthBits = 16);
    BOOL IsCreated() const { return m_ctx != nullptr; }

    // Resizes the colour buffer; the picture is lost (cleared to black). The context must not
    // be current on another thread.
    BOOL Resize(int width, int height);

    // Makes the context current on this thread with its buffer; Unbind releases it.
    BOOL Bind();
    void Unbind();
    BOOL IsBound() const;

    // LoadFrom puts the DIB's pixels into the current context's picture, so that GL draws over
    // what GDI drew; StoreTo copies the rendered picture (after glFinish) into the DIB. The
    // target must have the buffer's size; other sizes are refused.
    BOOL LoadFrom(const GlPixelTarget& dib);
    BOOL StoreTo(const GlPixelTarget& dib) const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    const BYTE* Pixels() const { return m_pixels.data(); }  // BGRA, bottom-up rows
    const std::string& LastError() const { return m_error; }

private:
    void* m_ctx = nullptr;       // OSMesaContext
    std::vector<BYTE> m_pixels;  // BGRA, 4 bytes per pixel, bottom row first
    int m_width = 0;             // pixels
    int m_height = 0;            // pixels
    std::string m_error;         // text of the last failure
};
