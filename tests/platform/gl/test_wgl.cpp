// OpenGL contexts on memory DCs: rendering reaches the selected DIB in its own row order and
// stride, GDI pixels survive under GL drawing, the wgl calls fail cleanly on bad input, and the
// bitmap-font lists draw glyphs and advance the raster position; the GL libraries, loaded on
// first use, name what is missing.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/afxgdi.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gl/GlContext.h"
#include "platform/gl/GlLibrary.h"
#include "platform/gl/pvxgl.h"

namespace {

// The pixel format the legend's triad asks for.
PIXELFORMATDESCRIPTOR TriadFormat() {
    PIXELFORMATDESCRIPTOR pfd;
    std::memset(&pfd, 0, sizeof pfd);
    pfd.nSize = sizeof(PIXELFORMATDESCRIPTOR);
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 16;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

// A memory DC with a 24-bit DIB section selected, ready for a GL context.
struct DibDC {
    CDC dc;
    HBITMAP dib = nullptr;
    HGDIOBJ old = nullptr;
    BYTE* bits = nullptr;
    int width;
    int height;
    int stride;

    DibDC(int w, int h, int bitCount = 24) : width(w), height(h), stride(((bitCount * w + 31) / 32) * 4) {
        dc.CreateCompatibleDC(nullptr);
        BITMAPINFO bmi;
        std::memset(&bmi, 0, sizeof bmi);
        bmi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bmi.bmiHeader.biWidth = w;
        bmi.bmiHeader.biHeight = h;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = static_cast<WORD>(bitCount);
        bmi.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        dib = CreateDIBSection(dc.m_hDC, &bmi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<BYTE*>(p);
        old = SelectObject(dc.m_hDC, dib);
    }
    ~DibDC() {
        SelectObject(dc.m_hDC, old);
        dc.DeleteDC();
        DeleteObject(dib);
    }
    // Picture coordinates (y down): the DIB is stored bottom row first.
    const BYTE* Pixel(int x, int y) const { return bits + static_cast<size_t>(height - 1 - y) * stride + x * 3; }
    BOOL SetFormat() {
        const PIXELFORMATDESCRIPTOR pfd = TriadFormat();
        return SetPixelFormat(dc.m_hDC, ChoosePixelFormat(dc.m_hDC, &pfd), &pfd);
    }
};

bool IsBlack(const BYTE* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

// A w x h viewport with an orthographic projection of the given box and no model transform.
void SetView(int w, int h, double l, double r, double b, double t, double n, double f) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(l, r, b, t, n, f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Lit, colour-material triangle in the upper half of the viewport on a black background.
void DrawLitTriangle(int w, int h) {
    SetView(w, h, -1, 1, -1, 1, -3, 3);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1.0f};
    const GLfloat diffuse[] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat position[] = {0.0f, 0.0f, 2.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    glColor3f(0.9f, 0.1f, 0.1f);
    glBegin(GL_TRIANGLES);
    glNormal3f(0, 0, 1);
    glVertex3f(-0.8f, 0.05f, 0);
    glVertex3f(0.8f, 0.05f, 0);
    glVertex3f(0.0f, 0.95f, 0);
    glEnd();
    glFlush();
}

}  // namespace

TEST(Wgl, LitTriangleReachesTheDibBottomUp) {
    // 33 pixels wide: rows carry padding, so a wrong stride shows.
    DibDC target(33, 40);
    ASSERT_NE(target.bits, nullptr);
    std::memset(target.bits, 0x5a, static_cast<size_t>(target.stride) * target.height);
    ASSERT_TRUE(target.SetFormat());
    HGLRC rc = wglCreateContext(target.dc.m_hDC);
    ASSERT_NE(rc, nullptr) << GetLastError();
    ASSERT_TRUE(wglMakeCurrent(target.dc.m_hDC, rc));
    EXPECT_EQ(wglGetCurrentContext(), rc);
    EXPECT_EQ(wglGetCurrentDC(), target.dc.m_hDC);
    DrawLitTriangle(target.width, target.height);
    ASSERT_TRUE(wglMakeCurrent(target.dc.m_hDC, nullptr));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    EXPECT_EQ(wglGetCurrentDC(), nullptr);

    // The triangle is in the upper half of the picture: its centre is lit red, the corners and
    // the lower half keep the black background.
    const BYTE* centre = target.Pixel(16, 12);
    EXPECT_FALSE(IsBlack(centre));
    EXPECT_GT(centre[2], 100) << "red channel of the lit triangle";
    EXPECT_GT(centre[2], centre[1]);
    EXPECT_GT(centre[2], centre[0]);
    for (const POINT corner : {POINT{0, 0}, POINT{32, 0}, POINT{0, 39}, POINT{32, 39}, POINT{16, 30}}) {
        SCOPED_TRACE("pixel " + std::to_string(corner.x) + "," + std::to_string(corner.y));
        EXPECT_TRUE(IsBlack(target.Pixel(corner.x, corner.y)));
    }
    // Row padding is not pixel data and stays as it was.
    for (int row = 0; row < target.height; ++row) {
        EXPECT_EQ(target.bits[static_cast<size_t>(row) * target.stride + 33 * 3], 0x5a) << "row " << row;
    }
    EXPECT_TRUE(wglDeleteContext(rc));
}

TEST(Wgl, GdiPixelsSurviveAndDeletingACurrentContextKeepsThePicture) {
    DibDC target(16, 16);
    ASSERT_TRUE(target.SetFormat());
    // What GDI drew before: a blue picture.
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            BYTE* p = target.bits + static_cast<size_t>(y) * target.stride + x * 3;
            p[0] = 200, p[1] = 10, p[2] = 20;
        }
    HGLRC rc = wglCreateContext(target.dc.m_hDC);
    ASSERT_NE(rc, nullptr);
    ASSERT_TRUE(wglMakeCurrent(target.dc.m_hDC, rc));
    // No clear: a green point in the bottom-left corner only.
    SetView(16, 16, 0, 16, 0, 16, -1, 1);  // one unit a pixel
    glColor3f(0, 1, 0);
    glBegin(GL_POINTS);
    glVertex2f(0.5f, 0.5f);
    glEnd();
    // Deleted while current: the picture must still reach the DIB.
    ASSERT_TRUE(wglDeleteContext(rc));
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
    const BYTE* corner = target.Pixel(0, 15);
    EXPECT_EQ(corner[0], 0);
    EXPECT_EQ(corner[1], 255);
    EXPECT_EQ(corner[2], 0);
    const BYTE* other = target.Pixel(8, 8);
    EXPECT_EQ(other[0], 200);
    EXPECT_EQ(other[1], 10);
    EXPECT_EQ(other[2], 20);
}

TEST(Wgl, BadCallsFailWithAnExplainedError) {
    DibDC target(8, 8);
    CDC plain;  // memory DC still holding its 1x1 monochrome bitmap
    ASSERT_TRUE(plain.CreateCompatibleDC(nullptr));
    const PIXELFORMATDESCRIPTOR rgba = TriadFormat();
    PIXELFORMATDESCRIPTOR index = rgba;
    index.iPixelType = PFD_TYPE_COLORINDEX;

    struct Row {
        const char* what;
        BOOL ok;
        DWORD error;
    };
    SetLastError(ERROR_SUCCESS);
    const HGLRC early = wglCreateContext(target.dc.m_hDC);
    const Row noFormat{"context before SetPixelFormat", early != nullptr, GetLastError()};
    const Row indexFormat{"colour-index format", ChoosePixelFormat(target.dc.m_hDC, &index) != 0, GetLastError()};
    const Row nullFormat{"null descriptor", ChoosePixelFormat(target.dc.m_hDC, nullptr) != 0, GetLastError()};
    const Row badIndex{"format 2", SetPixelFormat(target.dc.m_hDC, 2, &rgba), GetLastError()};
    ASSERT_TRUE(target.SetFormat());
    ASSERT_TRUE(SetPixelFormat(plain.m_hDC, 1, &rgba));
    const Row monoTarget{"context on a monochrome bitmap", wglCreateContext(plain.m_hDC) != nullptr, GetLastError()};
    const Row nullDC{"context on no DC", wglCreateContext(nullptr) != nullptr, GetLastError()};
    HGLRC bogus = reinterpret_cast<HGLRC>(&target);
    const Row bogusCurrent{"make a bogus context current", wglMakeCurrent(target.dc.m_hDC, bogus), GetLastError()};
    const Row bogusDelete{"delete a bogus context", wglDeleteContext(bogus), GetLastError()};
    HGLRC rc = wglCreateContext(target.dc.m_hDC);
    ASSERT_NE(rc, nullptr);
    const Row noDC{"make current on no DC", wglMakeCurrent(nullptr, rc), GetLastError()};
    ASSERT_TRUE(wglDeleteContext(rc));
    const Row twice{"delete a context twice", wglDeleteContext(rc), GetLastError()};
    const Row fontNoContext{"font lists without a context", wglUseFontBitmapsA(target.dc.m_hDC, 0, 128, 1000),
                            GetLastError()};

    const Row rows[] = {noFormat, indexFormat, nullFormat, badIndex, monoTarget, nullDC, bogusCurrent, bogusDelete,
                        noDC, twice, fontNoContext};
    const DWORD expected[] = {ERROR_INVALID_PIXEL_FORMAT, ERROR_INVALID_PIXEL_FORMAT, ERROR_INVALID_PARAMETER,
                              ERROR_INVALID_PIXEL_FORMAT, ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE,
                              ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE,
                              ERROR_INVALID_HANDLE, ERROR_INVALID_HANDLE};
    for (size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE(rows[i].what);
        EXPECT_FALSE(rows[i].ok);
        EXPECT_EQ(rows[i].error, expected[i]);
    }
    // Releasing with nothing current is not an error.
    EXPECT_TRUE(wglMakeCurrent(target.dc.m_hDC, nullptr));

    // The system text of the last error, with what exactly failed, in an allocated block.
    wglCreateContext(plain.m_hDC);
    char* text = nullptr;
    const DWORD n = FormatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                                  reinterpret_cast<LPSTR>(&text), 0, nullptr);
    ASSERT_GT(n, 0u);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::strlen(text), n);
    EXPECT_NE(std::string(text).find("The handle is invalid."), std::string::npos) << text;
    EXPECT_NE(std::string(text).find("monochrome"), std::string::npos) << text;
    EXPECT_EQ(LocalFree(text), nullptr);
    EXPECT_EQ(FormatMessage(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 123456, 0, nullptr, 0, nullptr), 0u);
}

TEST(Wgl, AContextCurrentOnAnotherThreadIsBusy) {
    DibDC target(8, 8);
    ASSERT_TRUE(target.SetFormat());
    HGLRC rc = wglCreateContext(target.dc.m_hDC);
    ASSERT_NE(rc, nullptr);
    ASSERT_TRUE(wglMakeCurrent(target.dc.m_hDC, rc));
    BOOL otherMake = TRUE, otherDelete = TRUE;
    DWORD makeError = 0, deleteError = 0;
    HGLRC otherCurrent = rc;
    std::thread other([&] {
        otherCurrent = wglGetCurrentContext();
        otherMake = wglMakeCurrent(target.dc.m_hDC, rc);
        makeError = GetLastError();
        otherDelete = wglDeleteContext(rc);
        deleteError = GetLastError();
    });
    other.join();
    EXPECT_EQ(otherCurrent, nullptr) << "current contexts are per thread";
    EXPECT_FALSE(otherMake);
    EXPECT_EQ(makeError, static_cast<DWORD>(ERROR_BUSY));
    EXPECT_FALSE(otherDelete);
    EXPECT_EQ(deleteError, static_cast<DWORD>(ERROR_BUSY));
    EXPECT_EQ(wglGetCurrentContext(), rc);
    EXPECT_TRUE(wglDeleteContext(rc));
}

TEST(Wgl, FontListsDrawGlyphsAndAdvanceByTheFontsWidths) {
    DibDC target(96, 32);
    ASSERT_TRUE(target.SetFormat());
    CFont font;
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = -16;
    std::strcpy(lf.lfFaceName, "Arial");
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    CFont* oldFont = target.dc.SelectObject(&font);
    HGLRC rc = wglCreateContext(target.dc.m_hDC);
    ASSERT_NE(rc, nullptr);
    ASSERT_TRUE(wglMakeCurrent(target.dc.m_hDC, rc));
    const GLuint base = glGenLists(128);
    ASSERT_NE(base, 0u);
    ASSERT_TRUE(wglUseFontBitmapsA(target.dc.m_hDC, 0, 128, base));
    EXPECT_FALSE(wglUseFontBitmapsA(target.dc.m_hDC, 200, 100, base)) << "codes beyond 255";

    SetView(96, 32, 0, 96, 0, 32, -1, 1);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glRasterPos2f(4, 10);
    glListBase(base);
    const char text[] = "XZ";
    glCallLists(2, GL_UNSIGNED_BYTE, text);
    GLfloat pos[4] = {0, 0, 0, 0};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, pos);
    const std::vector<int> adv = FontEngine::Instance().GetAdvances(lf, "XZ");
    ASSERT_EQ(adv.size(), 2u);
    EXPECT_FLOAT_EQ(pos[0], 4.0f + adv[0] + adv[1]) << "raster position moves by each glyph's advance";
    EXPECT_FLOAT_EQ(pos[1], 10.0f);
    ASSERT_TRUE(wglMakeCurrent(target.dc.m_hDC, nullptr));

    // Ink only where the glyphs are: left of the text's end, and above and below the baseline
    // within the font's height; none in the far right.
    int inkLeft = 0, inkRight = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 96; ++x) {
            if (IsBlack(target.Pixel(x, y))) continue;
            if (x < 4 + adv[0] + adv[1] + 1) ++inkLeft;
            else ++inkRight;
        }
    EXPECT_GT(inkLeft, 20);
    EXPECT_EQ(inkRight, 0);
    target.dc.SelectObject(oldFont);
    wglMakeCurrent(target.dc.m_hDC, rc);
    glDeleteLists(base, 128);
    wglMakeCurrent(nullptr, nullptr);
    EXPECT_TRUE(wglDeleteContext(rc));
}

TEST(GlContext, RefusesSizesOutOfRangeAndMismatchedBitmaps) {
    struct Row {
        int w, h;
        bool ok;
    } rows[] = {{0, 10, false}, {10, -1, false}, {20000, 10, false}, {1, 1, true}, {640, 480, true}};
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.w) + "x" + std::to_string(r.h));
        GlContext ctx;
        EXPECT_EQ(ctx.Create(r.w, r.h) != 0, r.ok);
        EXPECT_EQ(ctx.LastError().empty(), r.ok);
    }
    GlContext ctx;
    ASSERT_TRUE(ctx.Create(4, 4));
    std::vector<BYTE> small(GlPixelTarget::RowBytes(3, 24) * 3);
    GlPixelTarget wrong{small.data(), 3, 3, 24, GlPixelTarget::RowBytes(3, 24), true};
    EXPECT_FALSE(ctx.LoadFrom(wrong));
    EXPECT_FALSE(ctx.StoreTo(wrong));
    GlPixelTarget badDepth{small.data(), 4, 4, 16, 8, true};
    EXPECT_FALSE(badDepth.IsValid());
}

// The libraries load on first use: one missing, or lacking an entry point, is named in the
// reason context creation gives.
TEST(Wgl, AMissingLibraryIsNamedInTheReason) {
    struct Row {
        const char* osmesa;
        const char* glu;
        const char* reason;  // a part of the reason, empty when they load
    } rows[] = {
        {"libOSMesa.so.8", "libGLU.so.1", ""},
        {"libOSMesa-absent.so.8", "libGLU.so.1", "libOSMesa-absent.so.8: cannot open shared object file"},
        {"libOSMesa.so.8", "libGLU-absent.so.1", "libGLU-absent.so.1: cannot open shared object file"},
        {"libOSMesa.so.8", "libz.so.1", "libz.so.1 has no entry point gluCylinder"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.osmesa) + " " + row.glu);
        std::string why;
        EXPECT_EQ(GlProbeLibraries(row.osmesa, row.glu, why), !*row.reason);
        EXPECT_NE(why.find(row.reason), std::string::npos) << why;
    }
    std::string why;
    EXPECT_TRUE(GlLoadLibraries(why)) << why;
}
