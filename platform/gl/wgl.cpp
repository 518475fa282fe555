// wgl contexts over OSMesa, bound to the bitmap selected into a memory DC.

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include <cairo.h>

#include "platform/gdi/CDC.h"
#include "platform/gdi/DCBackend.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/gl/GlContext.h"
#include "platform/gl/GlError.h"
#include "platform/gl/pvxgl.h"

// A rendering context: the OSMesa context and, while current, the bitmap it draws into.
struct HGLRC__ {
    GlContext gl;
    std::thread::id owner;                   // thread it is current on, default id when none
    HDC currentDC = nullptr;
    GdiRef<GdiBitmapObject> target;          // kept alive while the context is current
};

namespace {

std::mutex g_lock;                           // guards the two tables below and HGLRC__::owner
std::set<HGLRC__*> g_contexts;               // live contexts
struct PixelFormatRecord {
    int format;
    int depthBits;
};
std::map<HDC, PixelFormatRecord> g_formats;  // pixel formats set on DCs

thread_local HGLRC__* t_current = nullptr;
thread_local DWORD t_lastError = ERROR_SUCCESS;
thread_local std::string t_lastDetail;       // what exactly failed, for FormatMessage

BOOL Fail(DWORD code, const std::string& detail) { return GlFail(code, detail); }

// The bitmap selected into hdc, when OpenGL can draw into it.
GdiBitmapObject* TargetBitmap(HDC hdc, std::string& why) {
    CDC* dc = hdc ? CDC::FromHandle(hdc) : nullptr;
    const DCState* st = dc ? dc->GetState() : nullptr;
    if (!st) {
        why = "the device context handle is not valid";
        return nullptr;
    }
    GdiBitmapObject* bm = st->bitmap.get();
    if (!bm || bm->m_nWidth <= 0 || bm->m_nHeight <= 0) {
        why = "the device context has no bitmap selected: select a 24-bit DIB section into the memory DC first";
        return nullptr;
    }
    if (bm->m_bDib) {
        if ((bm->m_bih.biBitCount != 24 && bm->m_bih.biBitCount != 32) || !bm->m_pBits) {
            why = "OpenGL draws only into 24- or 32-bit DIB sections (the selected one has " +
                  std::to_string(bm->m_bih.biBitCount) + " bits per pixel)";
            return nullptr;
        }
        return bm;
    }
    if (bm->IsMono() || !bm->m_pSurface) {
        why = "the memory DC still holds a monochrome bitmap: select a 24-bit DIB section into it first";
        return nullptr;
    }
    return bm;
}

// A pixel view of the bitmap; for a plain bitmap, its 32-bit surface (top-down rows).
GlPixelTarget ViewOf(GdiBitmapObject* bm) {
    GlPixelTarget t;
    t.width = bm->m_nWidth;
    t.height = bm->m_nHeight;
    if (bm->m_bDib) {
        t.bits = bm->m_pBits;
        t.bitCount = bm->m_bih.biBitCount;
        t.stride = static_cast<int>(bm->m_nStride);
        t.bottomUp = bm->m_bih.biHeight > 0;
    } else {
        cairo_surface_flush(bm->m_pSurface);
        t.bits = cairo_image_surface_get_data(bm->m_pSurface);
        t.bitCount = 32;
        t.stride = cairo_image_surface_get_stride(bm->m_pSurface);
        t.bottomUp = false;
    }
    return t;
}

// Copies the picture into the bitmap and releases the context from this thread.
void ReleaseCurrent() {
    HGLRC__* rc = t_current;
    if (!rc) return;
    if (rc->gl.IsBound()) glFinish();
    if (GdiBitmapObject* bm = rc->target.get()) {
        const GlPixelTarget view = ViewOf(bm);
        if (view.width == rc->gl.Width() && view.height == rc->gl.Height()) rc->gl.StoreTo(view);
        if (!bm->m_bDib) cairo_surface_mark_dirty(bm->m_pSurface);
    }
    rc->gl.Unbind();
    rc->target = GdiRef<GdiBitmapObject>();
    rc->currentDC = nullptr;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        rc->owner = std::thread::id();
    }
    t_current = nullptr;
}

const char* SystemText(DWORD code) {
    switch (code) {
    case ERROR_SUCCESS: return "The operation completed successfully.";
    case ERROR_INVALID_HANDLE: return "The handle is invalid.";
    case ERROR_NOT_ENOUGH_MEMORY: return "Not enough memory resources are available to process this command.";
    case ERROR_INVALID_DATA: return "The data is invalid.";
    case ERROR_INVALID_PARAMETER: return "The parameter is incorrect.";
    case ERROR_BUSY: return "The requested resource is in use.";
    case ERROR_INVALID_PIXEL_FORMAT: return "The pixel format is invalid.";
    default: return nullptr;
    }
}

}  // namespace

// ---- pixel formats ---------------------------------------------------------------------------

int ChoosePixelFormat(HDC hdc, const PIXELFORMATDESCRIPTOR* ppfd) {
    if (!ppfd) return Fail(ERROR_INVALID_PARAMETER, "ChoosePixelFormat needs a pixel format descriptor");
    if (!hdc || !CDC::FromHandle(hdc)) {
        return Fail(ERROR_INVALID_HANDLE, "ChoosePixelFormat: the device context handle is not valid");
    }
    if (ppfd->iPixelType != PFD_TYPE_RGBA) {
        return Fail(ERROR_INVALID_PIXEL_FORMAT, "only RGBA pixel formats are available; colour-index formats are not");
    }
    // One format serves every RGBA request: single-buffered, drawing to a bitmap.
    return 1;
}

BOOL SetPixelFormat(HDC hdc, int format, const PIXELFORMATDESCRIPTOR* ppfd) {
    if (!hdc || !CDC::FromHandle(hdc)) return Fail(ERROR_INVALID_HANDLE, "SetPixelFormat: the device context handle is not valid");
    if (format != 1) {
        return Fail(ERROR_INVALID_PIXEL_FORMAT,
                    "pixel format " + std::to_string(format) + " does not exist (ChoosePixelFormat gives 1)");
    }
    int depth = ppfd ? ppfd->cDepthBits : 16;
    depth = depth == 0 ? 0 : (depth <= 16 ? 16 : (depth <= 24 ? 24 : 32));
    std::lock_guard<std::mutex> guard(g_lock);
    auto it = g_formats.find(hdc);
    if (it != g_formats.end()) {
        // A DC keeps the format it was given first, as on the platform.
        if (it->second.format != format) return Fail(ERROR_INVALID_PIXEL_FORMAT, "the device context already has a pixel format");
        return TRUE;
    }
    g_formats[hdc] = PixelFormatRecord{format, depth};
    return TRUE;
}

// ---- contexts --------------------------------------------------------------------------------

HGLRC wglCreateContext(HDC hdc) {
    std::string why;
    GdiBitmapObject* bm = TargetBitmap(hdc, why);
    if (!bm) {
        Fail(ERROR_INVALID_HANDLE, "wglCreateContext: " + why);
        return nullptr;
    }
    int depth = 16;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        auto it = g_formats.find(hdc);
        if (it == g_formats.end()) {
            Fail(ERROR_INVALID_PIXEL_FORMAT, "wglCreateContext: set a pixel format on the device context first");
            return nullptr;
        }
        depth = it->second.depthBits;
    }
    auto* rc = new HGLRC__;
    if (!rc->gl.Create(bm->m_nWidth, bm->m_nHeight, depth)) {
        const std::string err = rc->gl.LastError();
        delete rc;
        Fail(ERROR_NOT_ENOUGH_MEMORY, "wglCreateContext: " + err);
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(g_lock);
    g_contexts.insert(rc);
    return rc;
}

BOOL wglDeleteContext(HGLRC hglrc) {
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (!hglrc || !g_contexts.count(hglrc)) return Fail(ERROR_INVALID_HANDLE, "wglDeleteContext: not a live rendering context");
        if (hglrc->owner != std::thread::id() && hglrc->owner != std::this_thread::get_id()) {
            return Fail(ERROR_BUSY, "wglDeleteContext: the context is current on another thread");
        }
    }
    // A context current here is released first, so its picture reaches the bitmap.
    if (t_current == hglrc) ReleaseCurrent();
    {
        std::lock_guard<std::mutex> guard(g_lock);
        g_contexts.erase(hglrc);
    }
    delete hglrc;
    return TRUE;
}

BOOL wglMakeCurrent(HDC hdc, HGLRC hglrc) {
    if (!hglrc) {
        // Releasing succeeds whether or not a context is current.
        ReleaseCurrent();
        return TRUE;
    }
    {
        std::lock_guard<std::mutex> guard(g_lock);
        if (!g_contexts.count(hglrc)) return Fail(ERROR_INVALID_HANDLE, "wglMakeCurrent: not a live rendering context");
        if (hglrc->owner != std::thread::id() && hglrc->owner != std::this_thread::get_id()) {
            return Fail(ERROR_BUSY, "wglMakeCurrent: the context is current on another thread");
        }
        if (hdc && !g_formats.count(hdc)) {
            return Fail(ERROR_INVALID_PIXEL_FORMAT, "wglMakeCurrent: the device context has no pixel format set");
        }
    }
    std::string why;
    GdiBitmapObject* bm = TargetBitmap(hdc, why);
    if (!bm) return Fail(ERROR_INVALID_HANDLE, "wglMakeCurrent: " + why);
    if (t_current == hglrc && hglrc->currentDC == hdc && hglrc->target.get() == bm) return TRUE;
    ReleaseCurrent();

    HGLRC__* rc = hglrc;
    if (!rc->gl.Resize(bm->m_nWidth, bm->m_nHeight)) return Fail(ERROR_NOT_ENOUGH_MEMORY, "wglMakeCurrent: " + rc->gl.LastError());
    if (!rc->gl.Bind()) return Fail(ERROR_INVALID_PIXEL_FORMAT, "wglMakeCurrent: " + rc->gl.LastError());
    // GL draws over what GDI drew, as both share the bitmap on the platform.
    rc->gl.LoadFrom(ViewOf(bm));
    rc->target = GdiRef<GdiBitmapObject>(bm);
    rc->currentDC = hdc;
    {
        std::lock_guard<std::mutex> guard(g_lock);
        rc->owner = std::this_thread::get_id();
    }
    t_current = rc;
    return TRUE;
}

HGLRC wglGetCurrentContext() { return t_current; }

HDC wglGetCurrentDC() { return t_current ? t_current->currentDC : nullptr; }

// ---- errors ----------------------------------------------------------------------------------

BOOL GlFail(DWORD code, const std::string& detail) {
    t_lastError = code;
    t_lastDetail = detail;
    return FALSE;
}

DWORD GetLastError() { return t_lastError; }

void SetLastError(DWORD code) {
    t_lastError = code;
    t_lastDetail.clear();
}

DWORD FormatMessage(DWORD flags, LPCVOID source, DWORD messageId, DWORD languageId, LPSTR buffer, DWORD size,
                    va_list* args) {
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    const char* base = SystemText(messageId);
    if (!base) {
        t_lastError = ERROR_INVALID_PARAMETER;
        return 0;
    }
    std::string text = base;
    // The failing call's own explanation, when it is the one asked about.
    if (messageId == t_lastError && !t_lastDetail.empty()) text += " (" + t_lastDetail + ")";
    text += "\r\n";
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        char* block = static_cast<char*>(std::malloc(text.size() + 1));
        if (!block) {
            t_lastError = ERROR_NOT_ENOUGH_MEMORY;
            return 0;
        }
        std::memcpy(block, text.c_str(), text.size() + 1);
        *reinterpret_cast<char**>(buffer) = block;
        return static_cast<DWORD>(text.size());
    }
    if (size < text.size() + 1) {
        t_lastError = 122;  // ERROR_INSUFFICIENT_BUFFER
        return 0;
    }
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

HLOCAL LocalFree(HLOCAL mem) {
    std::free(mem);
    return nullptr;
}
