// Stand-ins for the gl, glu and OSMesa functions the code calls, forwarding to the libraries
// loaded on first use. The real headers declare every one, so a stand-in that differs from its
// prototype does not compile.

#include "platform/gl/GlLibrary.h"

#include <dlfcn.h>

#define GL_GLEXT_PROTOTYPES 1
#include <GL/osmesa.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <GL/glu.h>

#include "platform/afx/AfxDiagnostic.h"
#include "platform/afx/LoadedLibrary.h"

// X(return type, name, (parameters), (arguments)) for each entry point of libOSMesa...
#define PVX_OSMESA_ENTRIES(X)                                                                                 \
    X(OSMesaContext, OSMesaCreateContextExt,                                                                 \
      (GLenum format, GLint depthBits, GLint stencilBits, GLint accumBits, OSMesaContext sharelist),         \
      (format, depthBits, stencilBits, accumBits, sharelist))                                               \
    X(void, OSMesaDestroyContext, (OSMesaContext ctx), (ctx))                                                 \
    X(GLboolean, OSMesaMakeCurrent, (OSMesaContext ctx, void* buffer, GLenum type, GLsizei width, GLsizei height), \
      (ctx, buffer, type, width, height))                                                                   \
    X(OSMesaContext, OSMesaGetCurrentContext, (void), ())                                                     \
    X(void, OSMesaPixelStore, (GLint pname, GLint value), (pname, value))                                     \
    X(void, glBegin, (GLenum mode), (mode))                                                                   \
    X(void, glBitmap,                                                                                         \
      (GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove, GLfloat ymove,             \
       const GLubyte* bitmap),                                                                                \
      (width, height, xorig, yorig, xmove, ymove, bitmap))                                                    \
    X(void, glCallList, (GLuint list), (list))                                                                \
    X(void, glCallLists, (GLsizei n, GLenum type, const GLvoid* lists), (n, type, lists))                     \
    X(void, glClear, (GLbitfield mask), (mask))                                                               \
    X(void, glClearColor, (GLclampf r, GLclampf g, GLclampf b, GLclampf a), (r, g, b, a))                     \
    X(void, glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b))                                          \
    X(void, glColorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a), (r, g, b, a))                  \
    X(void, glColorMaterial, (GLenum face, GLenum mode), (face, mode))                                        \
    X(void, glDeleteLists, (GLuint list, GLsizei range), (list, range))                                       \
    X(void, glDisable, (GLenum cap), (cap))                                                                   \
    X(void, glDrawPixels, (GLsizei width, GLsizei height, GLenum format, GLenum type, const GLvoid* pixels),  \
      (width, height, format, type, pixels))                                                                \
    X(void, glEnable, (GLenum cap), (cap))                                                                    \
    X(void, glEnd, (void), ())                                                                                \
    X(void, glEndList, (void), ())                                                                            \
    X(void, glFinish, (void), ())                                                                             \
    X(void, glFlush, (void), ())                                                                              \
    X(GLuint, glGenLists, (GLsizei range), (range))                                                           \
    X(GLenum, glGetError, (void), ())                                                                         \
    X(void, glGetFloatv, (GLenum pname, GLfloat* params), (pname, params))                                    \
    X(void, glGetIntegerv, (GLenum pname, GLint* params), (pname, params))                                    \
    X(GLboolean, glIsList, (GLuint list), (list))                                                             \
    X(void, glLightfv, (GLenum light, GLenum pname, const GLfloat* params), (light, pname, params))           \
    X(void, glListBase, (GLuint base), (base))                                                                \
    X(void, glLoadIdentity, (void), ())                                                                       \
    X(void, glMaterialfv, (GLenum face, GLenum pname, const GLfloat* params), (face, pname, params))          \
    X(void, glMateriali, (GLenum face, GLenum pname, GLint param), (face, pname, param))                      \
    X(void, glMatrixMode, (GLenum mode), (mode))                                                              \
    X(void, glMultMatrixd, (const GLdouble* m), (m))                                                          \
    X(void, glNewList, (GLuint list, GLenum mode), (list, mode))                                              \
    X(void, glNormal3f, (GLfloat nx, GLfloat ny, GLfloat nz), (nx, ny, nz))                                   \
    X(void, glOrtho, (GLdouble l, GLdouble r, GLdouble b, GLdouble t, GLdouble n, GLdouble f), (l, r, b, t, n, f)) \
    X(void, glPixelStorei, (GLenum pname, GLint param), (pname, param))                                       \
    X(void, glPixelTransferf, (GLenum pname, GLfloat param), (pname, param))                                  \
    X(void, glPixelTransferi, (GLenum pname, GLint param), (pname, param))                                    \
    X(void, glPixelZoom, (GLfloat xfactor, GLfloat yfactor), (xfactor, yfactor))                              \
    X(void, glPopAttrib, (void), ())                                                                          \
    X(void, glPopClientAttrib, (void), ())                                                                    \
    X(void, glPopMatrix, (void), ())                                                                          \
    X(void, glPushAttrib, (GLbitfield mask), (mask))                                                          \
    X(void, glPushClientAttrib, (GLbitfield mask), (mask))                                                    \
    X(void, glPushMatrix, (void), ())                                                                         \
    X(void, glRasterPos2f, (GLfloat x, GLfloat y), (x, y))                                                    \
    X(void, glRasterPos3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                                      \
    X(void, glRotated, (GLdouble angle, GLdouble x, GLdouble y, GLdouble z), (angle, x, y, z))                \
    X(void, glShadeModel, (GLenum mode), (mode))                                                              \
    X(void, glTranslated, (GLdouble x, GLdouble y, GLdouble z), (x, y, z))                                    \
    X(void, glVertex2f, (GLfloat x, GLfloat y), (x, y))                                                       \
    X(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))                                         \
    X(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height), (x, y, width, height))             \
    X(void, glWindowPos2i, (GLint x, GLint y), (x, y))

// ...and of libGLU.
#define PVX_GLU_ENTRIES(X)                                                                                    \
    X(void, gluCylinder,                                                                                      \
      (GLUquadric * quad, GLdouble base, GLdouble top, GLdouble height, GLint slices, GLint stacks),           \
      (quad, base, top, height, slices, stacks))                                                              \
    X(void, gluDeleteQuadric, (GLUquadric * quad), (quad))                                                    \
    X(void, gluLookAt,                                                                                        \
      (GLdouble eyeX, GLdouble eyeY, GLdouble eyeZ, GLdouble centerX, GLdouble centerY, GLdouble centerZ,    \
       GLdouble upX, GLdouble upY, GLdouble upZ),                                                             \
      (eyeX, eyeY, eyeZ, centerX, centerY, centerZ, upX, upY, upZ))                                           \
    X(GLUquadric*, gluNewQuadric, (void), ())                                                                 \
    X(void, gluSphere, (GLUquadric * quad, GLdouble radius, GLint slices, GLint stacks), (quad, radius, slices, stacks))

namespace {

// Sonames of the runtime packages libosmesa6 and libglu1-mesa.
constexpr const char* kOsMesaLibrary = "libOSMesa.so.8";
constexpr const char* kGluLibrary = "libGLU.so.1";

struct EntryPoints {
#define PVX_GL_POINTER(ret, name, params, args) decltype(&::name) name = nullptr;
    PVX_OSMESA_ENTRIES(PVX_GL_POINTER)
    PVX_GLU_ENTRIES(PVX_GL_POINTER)
#undef PVX_GL_POINTER
};

struct Libraries {
    EntryPoints fn;     // all null unless every entry point resolved
    std::string error;  // why they are not there, empty when they are
};

Libraries Load(const char* osmesa, const char* glu) {
    Libraries libs;
    // RTLD_GLOBAL puts OSMesa (with what it needs) in the scope GLU binds to.
    void* gl = loadedlib::Open(osmesa, RTLD_LAZY | RTLD_GLOBAL, "OpenGL", "libosmesa6", libs.error);
    void* gluLib = gl ? loadedlib::Open(glu, RTLD_LAZY | RTLD_LOCAL, "OpenGL", "libglu1-mesa", libs.error) : nullptr;
    bool ok = gluLib != nullptr;
#define PVX_GL_RESOLVE_OSMESA(ret, name, params, args) ok = ok && loadedlib::Resolve(gl, "OpenGL", osmesa, #name, libs.fn.name, libs.error);
#define PVX_GL_RESOLVE_GLU(ret, name, params, args) ok = ok && loadedlib::Resolve(gluLib, "OpenGL", glu, #name, libs.fn.name, libs.error);
    PVX_OSMESA_ENTRIES(PVX_GL_RESOLVE_OSMESA)
    PVX_GLU_ENTRIES(PVX_GL_RESOLVE_GLU)
#undef PVX_GL_RESOLVE_OSMESA
#undef PVX_GL_RESOLVE_GLU
    if (!ok) libs.fn = EntryPoints{};
    return libs;
}

// The process's libraries, loaded by the first caller.
const Libraries& Process() {
    static const Libraries libs = [] {
        Libraries loaded = Load(kOsMesaLibrary, kGluLibrary);
        if (!loaded.error.empty()) AfxDiagnostic("gl", "%s", loaded.error.c_str());
        return loaded;
    }();
    return libs;
}

}  // namespace

BOOL GlLoadLibraries(std::string& why) {
    why = Process().error;
    return why.empty();
}

BOOL GlProbeLibraries(const char* osmesa, const char* glu, std::string& why) {
    why = Load(osmesa, glu).error;
    return why.empty();
}

// The stand-ins: without the libraries they do nothing and return zero.
#define PVX_GL_STANDIN(ret, name, params, args)   \
    ret GLAPIENTRY name params {                  \
        const auto fn = Process().fn.name;        \
        return fn ? fn args : decltype(fn args)(); \
    }
PVX_OSMESA_ENTRIES(PVX_GL_STANDIN)
PVX_GLU_ENTRIES(PVX_GL_STANDIN)
#undef PVX_GL_STANDIN

#undef PVX_GLU_ENTRIES
#undef PVX_OSMESA_ENTRIES
#undef GL_GLEXT_PROTOTYPES
