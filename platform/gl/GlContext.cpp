#include "platform/gl/GlContext.h"

#include "platform/gl/GlLibrary.h"

// glWindowPos2i (GL 1.4) places the uploaded picture without touching the matrices.
#define GL_GLEXT_PROTOTYPES 1
#include <GL/osmesa.h>
#include <GL/gl.h>
#include <GL/glext.h>

namespace {
// Mesa's software rasteriser refuses buffers beyond this in either direction.
constexpr int kMaxSide = 16384;

OSMesaContext AsMesa(void* p) { return static_cast<OSMesaContext>(p); }
}  // namespace

BOOL GlPixelTarget::IsValid() const {
    if (!bits || width <= 0 || height <= 0) return FALSE;
    if (bitCount != 24 && bitCount != 32) return FALSE;
    return stride >= (bitCount / 8) * width;
}

GlContext::~GlContext() {
    if (!m_ctx) return;
    if (IsBound()) Unbind();
    OSMesaDestroyContext(AsMesa(m_ctx));
}

BOOL GlContext::Create(int width, int height, int depthBits) {
    if (m_ctx) {
        m_error = "the OpenGL context already exists";
        return FALSE;
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        m_error = "OpenGL buffer size " + std::to_string(width) + " x " + std::to_string(height) +
                  " is out of range (1 to " + std::to_string(kMaxSide) + " pixels a side)";
        return FALSE;
    }
    if (!GlLoadLibraries(m_error)) return FALSE;
    OSMesaContext ctx = OSMesaCreateContextExt(OSMESA_BGRA, depthBits, 0, 0, nullptr);
    if (!ctx) {
        m_error = "OSMesa could not create an OpenGL context (is libOSMesa working?)";
        return FALSE;
    }
    m_ctx = ctx;
    m_width = width;
    m_height = height;
    m_pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    m_error.clear();
    return TRUE;
}

BOOL GlContext::Resize(int width, int height) {
    if (!m_ctx) {
        m_error = "no OpenGL context to resize";
        return FALSE;
    }
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
        m_error = "OpenGL buffer size " + std::to_string(width) + " x " + std::to_string(height) + " is out of range";
        return FALSE;
    }
    if (width == m_width && height == m_height) return TRUE;
    const bool bound = IsBound();
    m_width = width;
    m_height = height;
    m_pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    // The buffer moved: bind again so Mesa draws into the new one.
    return bound ? Bind() : TRUE;
}

BOOL GlContext::Bind() {
    if (!m_ctx) {
        m_error = "no OpenGL context to make current";
        return FALSE;
    }
    if (!OSMesaMakeCurrent(AsMesa(m_ctx), m_pixels.data(), GL_UNSIGNED_BYTE, m_width, m_height)) {
        m_error = "OSMesa refused to make the context current on a " + std::to_string(m_width) + " x " +
                  std::to_string(m_height) + " buffer";
        return FALSE;
    }
    // Rows bottom-up, as in a DIB.
    OSMesaPixelStore(OSMESA_Y_UP, 1);
    return TRUE;
}

void GlContext::Unbind() {
    if (IsBound()) OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
}

BOOL GlContext::IsBound() const { return m_ctx && OSMesaGetCurrentContext() == AsMesa(m_ctx); }

BOOL GlContext::LoadFrom(const GlPixelTarget& dib) {
    if (!dib.IsValid() || dib.width != m_width || dib.height != m_height) {
        m_error = "the bitmap does not match the OpenGL buffer";
        return FALSE;
    }
    if (!IsBound()) {
        m_error = "the OpenGL context must be current to take the bitmap's pixels";
        return FALSE;
    }
    const int bpp = dib.bitCount / 8;
    for (int y = 0; y < m_height; ++y) {
        const int srcRow = dib.bottomUp ? y : m_height - 1 - y;
        const BYTE* s = dib.bits + static_cast<size_t>(srcRow) * dib.stride;
        BYTE* d = m_pixels.data() + static_cast<size_t>(y) * m_width * 4;
        for (int x = 0; x < m_width; ++x, s += bpp, d += 4) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            d[3] = 0xff;
        }
    }
    // Mesa renders into a picture of its own and writes our buffer only when it flushes, so the
    // pixels are drawn into the framebuffer, with every state that could alter them set aside.
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    for (GLenum cap : {GL_DEPTH_TEST, GL_STENCIL_TEST, GL_SCISSOR_TEST, GL_ALPHA_TEST, GL_BLEND, GL_FOG,
                       GL_TEXTURE_1D, GL_TEXTURE_2D, GL_COLOR_LOGIC_OP, GL_DITHER, GL_LIGHTING})
        glDisable(cap);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glPixelZoom(1.0f, 1.0f);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    glPixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    for (GLenum scale : {GL_RED_SCALE, GL_GREEN_SCALE, GL_BLUE_SCALE, GL_ALPHA_SCALE}) glPixelTransferf(scale, 1.0f);
    for (GLenum bias : {GL_RED_BIAS, GL_GREEN_BIAS, GL_BLUE_BIAS, GL_ALPHA_BIAS}) glPixelTransferf(bias, 0.0f);
    glPixelTransferi(GL_MAP_COLOR, GL_FALSE);
    glWindowPos2i(0, 0);
    glDrawPixels(m_width, m_height, GL_BGRA, GL_UNSIGNED_BYTE, m_pixels.data());
    glPopClientAttrib();
    glPopAttrib();
    return TRUE;
}

BOOL GlContext::StoreTo(const GlPixelTarget& dib) const {
    if (!dib.IsValid() || dib.width != m_width || dib.height != m_height) return FALSE;
    const int bpp = dib.bitCount / 8;
    for (int y = 0; y < m_height; ++y) {
        const int dstRow = dib.bottomUp ? y : m_height - 1 - y;
        BYTE* d = dib.bits + static_cast<size_t>(dstRow) * dib.stride;
        const BYTE* s = m_pixels.data() + static_cast<size_t>(y) * m_width * 4;
        for (int x = 0; x < m_width; ++x, s += 4, d += bpp) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
            if (bpp == 4) d[3] = 0;
        }
    }
    return TRUE;
}

#undef GL_GLEXT_PROTOTYPES
