// Bitmap-font display lists: each list draws one character of a DC's font as a glBitmap.
//
// Glyphs come from the shared font engine (the raster back end's faces and sizes), drawn
// upright with cairo into an 8-bit mask and thresholded to one bit per pixel. Each list
// draws the glyph at the current raster position and moves the position by the glyph's
// advance, so glCallLists draws a string. Codes 128..255 are taken as Latin-1.

#include <cmath>
#include <vector>

#include <cairo.h>

#include "platform/gdi/CDC.h"
#include "platform/gdi/DCBackend.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gl/GlError.h"
#include "platform/gl/pvxgl.h"

namespace {

struct GlyphBitmap {
    int width = 0;                 // pixels
    int height = 0;                // pixels
    float xorig = 0;               // from the left edge to the origin, pixels
    float yorig = 0;               // from the bottom edge to the baseline, pixels
    std::vector<GLubyte> bits;     // rows bottom-up, 1 bit per pixel, most significant first, byte-aligned
};

// Draws one character with the font into a mask just big enough for its ink.
GlyphBitmap RenderGlyph(const GdiFont& font, const std::string& utf8) {
    GlyphBitmap g;
    cairo_text_extents_t ext{};
    cairo_scaled_font_text_extents(font.scaled, utf8.c_str(), &ext);
    if (ext.width <= 0 || ext.height <= 0) return g;  // a space or a control character: no ink
    const int left = static_cast<int>(std::floor(ext.x_bearing)) - 1;
    const int top = static_cast<int>(std::floor(ext.y_bearing)) - 1;
    g.width = static_cast<int>(std::ceil(ext.x_bearing + ext.width)) + 1 - left;
    g.height = static_cast<int>(std::ceil(ext.y_bearing + ext.height)) + 1 - top;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, g.width, g.height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_scaled_font(cr, font.scaled);
    cairo_move_to(cr, -left, -top);
    cairo_show_text(cr, utf8.c_str());
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const int rowBytes = (g.width + 7) / 8;
    g.bits.assign(static_cast<size_t>(rowBytes) * g.height, 0);
    for (int y = 0; y < g.height; ++y) {
        const unsigned char* src = data + static_cast<size_t>(y) * stride;
        GLubyte* dst = g.bits.data() + static_cast<size_t>(g.height - 1 - y) * rowBytes;  // bottom-up
        for (int x = 0; x < g.width; ++x) {
            if (src[x] >= 128) dst[x / 8] |= static_cast<GLubyte>(0x80 >> (x % 8));
        }
    }
    cairo_surface_destroy(surface);
    g.xorig = static_cast<float>(-left);
    g.yorig = static_cast<float>(top + g.height);  // baseline is -top pixels below the mask's top
    return g;
}

}  // namespace

BOOL wglUseFontBitmapsA(HDC hdc, DWORD first, DWORD count, DWORD listBase) {
    CDC* dc = hdc ? CDC::FromHandle(hdc) : nullptr;
    const DCState* st = dc ? dc->GetState() : nullptr;
    if (!st) return GlFail(ERROR_INVALID_HANDLE, "wglUseFontBitmaps: the device context handle is not valid");
    if (!wglGetCurrentContext()) {
        return GlFail(ERROR_INVALID_HANDLE, "wglUseFontBitmaps: no OpenGL context is current on this thread");
    }
    if (first > 255 || count > 256 - first) {
        return GlFail(ERROR_INVALID_PARAMETER, "wglUseFontBitmapsA builds lists for codes 0 to 255 only");
    }
    if (listBase == 0 && count > 0) return GlFail(ERROR_INVALID_PARAMETER, "wglUseFontBitmaps: list base 0 is not a list");
    const std::shared_ptr<const GdiFont> font = FontEngine::Instance().Get(st->Font());
    if (!font || !font->scaled) return GlFail(ERROR_INVALID_DATA, "wglUseFontBitmaps: the DC's font cannot be loaded");

    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);  // glyph rows are byte-aligned; lists copy the data now
    for (DWORD i = 0; i < count; ++i) {
        const uint32_t code = first + i;
        const std::string utf8 = Utf8Encode(code);
        const std::vector<int> adv = FontEngine::Instance().GetAdvances(st->Font(), utf8);
        const float advance = adv.empty() ? 0.0f : static_cast<float>(adv[0]);
        const GlyphBitmap g = code < 32 ? GlyphBitmap{} : RenderGlyph(*font, utf8);
        glNewList(listBase + i, GL_COMPILE);
        static const GLubyte kNoBits[1] = {0};
        glBitmap(g.width, g.height, g.xorig, g.yorig, advance, 0.0f, g.bits.empty() ? kNoBits : g.bits.data());
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    const GLenum err = glGetError();
    if (err != GL_NO_ERROR) {
        return GlFail(ERROR_INVALID_DATA, "wglUseFontBitmaps: OpenGL reported error " + std::to_string(err) +
                                              " while building the lists (is the list range free?)");
    }
    return TRUE;
}
