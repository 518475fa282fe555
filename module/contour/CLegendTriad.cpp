// The legend's view-direction triad: a lit axis triad (a ball and three arrows, labelled X, Y
// and Z) rendered off-screen with GL into a 24-bit DIB, copied onto the legend with black left
// transparent, and the three components of the view direction printed beside it.
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "module/contour/CLegendEngine.h"
#include "host/base/CMsgDll.h"
#include "host/base/CMsgOutWnd.h"
#include "module/model/I_PVXModel.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gl/pvxgl.h"
#include "platform/ui/CView.h"
#include "platform/ui/uiapi.h"

namespace {

constexpr int kBitmapInfoBytes = 1064;  // header (40) and 256 palette entries
constexpr GLuint kTriadList = 1;         // display list of the triad geometry

// Shows the text of the thread's last error in a message box (a failed wglMakeCurrent).
void ShowLastErrorBox() {
    char* pText = nullptr;
    FormatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                  nullptr, GetLastError(), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPSTR>(&pText),
                  0, nullptr);
    const CString caption = CMsgDll::pfuncLoadStr("IDS_TBX_PVX_Error", 0);
    ::MessageBox(nullptr, pText ? pText : "", caption, MB_OK | MB_ICONINFORMATION);
    if (pText) LocalFree(pText);
}

// One arrow along +z: a shaft and, 0.75 further along, a cone.
void DrawArrow(GLUquadric* q) {
    gluCylinder(q, 0.08, 0.08, 0.75, 16, 2);
    glTranslated(0.0, 0.0, 0.75);
    gluCylinder(q, 0.17, 0.0, 0.45, 16, 2);
}

}  // namespace

// ---- the whole block ------------------------------------------------------------------------

void CLegendEngine::DrawViewDirection(CDC* pDC, CRect& r) {
    if (!pDC || !pDC->GetSafeHdc()) return;
    CFont* pOldFont = m_fontValue.GetSafeHandle() ? pDC->SelectObject(&m_fontValue) : nullptr;
    CPen pen(PS_SOLID, 1, m_crLine);
    CPen* pOldPen = pDC->SelectObject(&pen);
    const int nOldBkMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOldText = pDC->SetTextColor(m_crText);
    const int w = m_nValueCharWidth;
    const int h = m_nValueLineHeight;

    // Title centred near the top; what follows goes below it.
    UINT nOldAlign = pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
    pDC->TextOut(r.left + (r.right - r.left) / 2, r.top + h + 2, CMsgDll::pfuncLoadStr("IDS_TBX_PVX_VIEW_DIRECTION", 0));
    r.top += h + 4;

    // The triad takes the right half of what is left.
    m_nTriadLeft = r.left + (r.right - r.left) / 2 + 3;
    m_nTriadTop = r.top + 3;
    m_nTriadRight = r.right - 3;
    m_nTriadBottom = r.bottom - 3;

    ClearOpenGl();
    InitOpenGl();
    if (m_hGLMemDC && m_hGLRC) {
        BOOL bCurrent = TRUE;
        if (wglGetCurrentContext() != m_hGLRC) bCurrent = wglMakeCurrent(m_hGLMemDC, m_hGLRC);
        if (bCurrent) {
            GlRender(pDC);
            wglMakeCurrent(m_hGLMemDC, nullptr);
        }
    }
    if (m_hGLDIB && m_pGLBmpInfo) DrawDirectionTrans(pDC, m_nTriadLeft, m_nTriadTop, RGB(0, 0, 0));

    // The three components, bottom line X, upward Y and Z, in the left half.
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    const bool bBlack = m_pModel && m_pModel->m_bExternalDevice && m_pModel->m_pDispOpt &&
                        m_pModel->m_pDispOpt->m_nPrintColorMode == 0;
    struct Line {
        const char* label;
        double value;
        COLORREF color;
    } lines[3] = {{"X:", m_ptViewEye.x, RGB(0xFF, 0x64, 0x64)},
                  {"Y:", m_ptViewEye.y, RGB(0x64, 0xFF, 0x64)},
                  {"Z:", m_ptViewEye.z, RGB(0x64, 0x64, 0xFF)}};
    const int x = r.left + w;
    int y = r.top + (r.bottom - r.top) / 2 + 3 * h / 2;
    for (const Line& line : lines) {
        pDC->SetTextColor(bBlack ? RGB(0, 0, 0) : line.color);
        pDC->TextOut(x, y, line.label);
        char sz[64];
        std::snprintf(sz, sizeof sz, "%.3f", line.value);
        pDC->TextOut(x + (line.value < 0.0 ? 2 : 3) * w, y, sz);
        y -= h;
    }

    pDC->SetTextAlign(nOldAlign);
    pDC->SetTextColor(crOldText);
    pDC->SetBkMode(nOldBkMode);
    pDC->SelectObject(pOldPen);
    if (pOldFont) pDC->SelectObject(pOldFont);
}

// ---- GL set-up and release ------------------------------------------------------------------

void CLegendEngine::InitOpenGl() {
    CView* pView = m_pModel ? m_pModel->GetView() : nullptr;
    CDC* pWndDC = (pView && pView->GetSafeHwnd()) ? pView->GetDC() : nullptr;
    auto releaseWndDC = [&]() {
        if (pWndDC) pView->ReleaseDC(pWndDC);
        pWndDC = nullptr;
    };
    // Without a window the DIB is made compatible with the display.
    m_hGLMemDC = ::CreateCompatibleDC(pWndDC ? pWndDC->GetSafeHdc() : nullptr);
    if (!m_hGLMemDC) {
        releaseWndDC();
        return;
    }

    m_pGLBmpInfo = static_cast<BITMAPINFO*>(std::calloc(1, kBitmapInfoBytes));
    if (!m_pGLBmpInfo) {
        releaseWndDC();
        GMsgOutNF(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_LegendEngine___Memory_Allocation_for_DIB", 0));
        return;
    }
    const int w = m_nTriadRight - m_nTriadLeft;
    const int h = m_nTriadBottom - m_nTriadTop;
    BITMAPINFOHEADER& bih = m_pGLBmpInfo->bmiHeader;
    bih.biSize = 40;
    bih.biWidth = w;
    bih.biHeight = h;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biCompression = BI_RGB;
    bih.biSizeImage = (w > 0 && h > 0) ? static_cast<DWORD>((24 * w + 31) / 32) * 4 * static_cast<DWORD>(h) : 0;
    m_hGLDIB = ::CreateDIBSection(pWndDC ? pWndDC->GetSafeHdc() : m_hGLMemDC, m_pGLBmpInfo, DIB_RGB_COLORS,
                                  &m_pGLDIBBits, nullptr, 0);
    releaseWndDC();
    if (m_hGLDIB) m_hGLOldBitmap = static_cast<HBITMAP>(::SelectObject(m_hGLMemDC, m_hGLDIB));

    if (!m_bPixelFormatSet) {
        PIXELFORMATDESCRIPTOR pfd{};
        pfd.nSize = 40;
        pfd.nVersion = 1;
        pfd.dwFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;
        pfd.iPixelType = PFD_TYPE_RGBA;
        pfd.cColorBits = 24;
        pfd.cDepthBits = 16;
        pfd.iLayerType = PFD_MAIN_PLANE;
        const int nFormat = ChoosePixelFormat(m_hGLMemDC, &pfd);
        if (!nFormat || !SetPixelFormat(m_hGLMemDC, nFormat, &pfd)) return;
        m_bPixelFormatSet = 1;
    }

    if (!m_hGLDIB) {
        GMsgOutNF(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_LegendEngine___DIB_Creation_Failed", 0));
        return;
    }
    m_hGLRC = wglCreateContext(m_hGLMemDC);
    if (!m_hGLRC) {
        GMsgOutNF(CMsgDll::pfuncLoadStr("IDS_TBX_PVX_LegendEngine___OpenGL_Rendering_Context_", 0));
        return;
    }
    if (!wglMakeCurrent(m_hGLMemDC, m_hGLRC)) return;
    mglPrepareCharset2D(10, 0, 0);
    GlSetupRC();
    wglMakeCurrent(m_hGLMemDC, nullptr);
    m_bOpenGLReady = 1;
}

void CLegendEngine::ClearOpenGl() {
    if (m_hGLRC) {
        if (m_bOpenGLReady && wglGetCurrentContext() != m_hGLRC) {
            if (!wglMakeCurrent(m_hGLMemDC, m_hGLRC)) ShowLastErrorBox();
        }
        // The triad list belongs to this context: never touch another context's lists.
        if (wglGetCurrentContext() == m_hGLRC) {
            if (glIsList(kTriadList)) glDeleteLists(kTriadList, 1);
            if (!wglMakeCurrent(m_hGLMemDC, nullptr)) ShowLastErrorBox();
        }
        wglDeleteContext(m_hGLRC);
        m_hGLRC = nullptr;
    }
    if (m_hGLMemDC && m_hGLOldBitmap) ::SelectObject(m_hGLMemDC, m_hGLOldBitmap);
    m_hGLOldBitmap = nullptr;
    if (m_hGLDIB) ::DeleteObject(m_hGLDIB);
    m_hGLDIB = nullptr;
    m_pGLDIBBits = nullptr;
    std::free(m_pGLBmpInfo);
    m_pGLBmpInfo = nullptr;
    if (m_hGLMemDC) ::DeleteDC(m_hGLMemDC);
    m_hGLMemDC = nullptr;
    m_bPixelFormatSet = 0;
    m_bOpenGLReady = 0;
}

void CLegendEngine::GlSetupRC() {
    glEnable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_FOG);
    glEnable(GL_LIGHTING);

    const GLfloat ambient[] = {0.3f, 0.3f, 0.3f, 1.0f};
    const GLfloat diffuse[] = {0.7f, 0.7f, 0.7f, 1.0f};
    const GLfloat specular[] = {0.9f, 0.9f, 0.9f, 1.0f};
    const GLfloat position0[] = {0.0f, 0.0f, 2.0f, 1.0f};
    const GLfloat position1[] = {0.0f, 2.0f, -1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT0, GL_POSITION, position0);
    glLightfv(GL_LIGHT1, GL_AMBIENT, ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_SPECULAR, specular);
    glLightfv(GL_LIGHT1, GL_POSITION, position1);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);

    glEnable(GL_COLOR_MATERIAL);
    glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
    const GLfloat specMaterial[] = {0.7f, 0.7f, 0.7f, 1.0f};
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, specMaterial);
    glMateriali(GL_FRONT_AND_BACK, GL_SHININESS, 128);

    GLUquadric* q = gluNewQuadric();
    if (!q) return;
    glNewList(kTriadList, GL_COMPILE);
    glColor3f(0.8f, 0.4f, 1.0f);
    gluSphere(q, 0.22, 16, 16);
    glColor3f(0.0f, 0.0f, 0.8f);  // Z along +z
    glPushMatrix();
    DrawArrow(q);
    glPopMatrix();
    glColor3f(0.8f, 0.0f, 0.0f);  // X: +z turned onto +x
    glPushMatrix();
    glRotated(90.0, 0.0, 1.0, 0.0);
    DrawArrow(q);
    glPopMatrix();
    glColor3f(0.0f, 0.6f, 0.2f);  // Y: +z turned onto +y
    glPushMatrix();
    glRotated(-90.0, 1.0, 0.0, 0.0);
    DrawArrow(q);
    glPopMatrix();
    glEndList();
    gluDeleteQuadric(q);
}

void CLegendEngine::GlResize() {
    glViewport(0, 0, m_nTriadRight - m_nTriadLeft, m_nTriadBottom - m_nTriadTop);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1.2, 1.2, -1.2, 1.2, -3.0, 3.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void CLegendEngine::GlRender(CDC* /*pDC*/) {
    GlResize();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    if (m_nViewMatrixMode == 0) {
        // A zero eye point (the construction value) or an up vector along the view would make
        // a singular camera and collapse the triad: look down -z, and take the world axis least
        // aligned with the view as up.
        C3DPoint eye = m_ptViewEye;
        C3DPoint up = m_ptViewUp;
        if (eye.Length() <= 0.0) eye.Set(0.0, 0.0, 1.0);
        if (eye.Cross(up).Length() <= 1e-9 * eye.Length() * up.Length() || up.Length() <= 0.0) {
            const C3DPoint n = eye.Normalized();
            up = std::fabs(n.z) < 0.9 ? C3DPoint(0.0, 0.0, 1.0) : C3DPoint(0.0, 1.0, 0.0);
        }
        gluLookAt(eye.x, eye.y, eye.z, 0.0, 0.0, 0.0, up.x, up.y, up.z);
    } else {
        glLoadIdentity();
        glTranslated(-m_dViewTranslation[0], -m_dViewTranslation[1], -m_dViewTranslation[2]);
        glMultMatrixd(m_dViewTransform);
    }
    glCallList(kTriadList);

    glDisable(GL_DEPTH_TEST);
    glColor3f(GetRValue(m_crText) / 255.0f, GetGValue(m_crText) / 255.0f, GetBValue(m_crText) / 255.0f);
    glRasterPos3f(1.0f, 0.0f, 0.12f);
    mglText2D("X");
    glRasterPos3f(0.0f, 1.0f, 0.12f);
    mglText2D("Y");
    glRasterPos3f(0.0f, 0.0f, 0.9f);
    mglText2D("Z");
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glFlush();
}

// ---- copy with transparency -----------------------------------------------------------------

void CLegendEngine::DrawDirectionTrans(CDC* pDC, int x, int y, COLORREF crTransparent) {
    if (!pDC || !pDC->GetSafeHdc() || !m_pGLBmpInfo || !m_pGLDIBBits) return;
    const int nSaved = pDC->SaveDC();
    const COLORREF crOldBk = pDC->SetBkColor(RGB(255, 255, 255));
    const COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
    const int w = m_pGLBmpInfo->bmiHeader.biWidth;
    const int h = m_pGLBmpInfo->bmiHeader.biHeight;

    CDC dcImage, dcMask;
    CBitmap bmImage, bmMask;
    if (w > 0 && h > 0 && dcImage.CreateCompatibleDC(pDC) && dcMask.CreateCompatibleDC(pDC) &&
        bmImage.CreateCompatibleBitmap(pDC, w, h) && bmMask.CreateBitmap(w, h, 1, 1, nullptr)) {
        CBitmap* pOldImage = dcImage.SelectObject(&bmImage);
        dcImage.StretchDIBits(0, 0, w, h, 0, 0, w, h, m_pGLDIBBits, m_pGLBmpInfo, DIB_RGB_COLORS, SRCCOPY);
        CBitmap* pOldMask = dcMask.SelectObject(&bmMask);
        // Mask: 1 where the image has the transparent colour.
        const COLORREF crOldImageBk = dcImage.SetBkColor(crTransparent);
        dcMask.BitBlt(0, 0, w, h, &dcImage, 0, 0, SRCCOPY);
        pDC->BitBlt(x, y, w, h, &dcImage, 0, 0, SRCINVERT);
        pDC->BitBlt(x, y, w, h, &dcMask, 0, 0, SRCAND);
        pDC->BitBlt(x, y, w, h, &dcImage, 0, 0, SRCINVERT);
        dcImage.SetBkColor(crOldImageBk);
        dcImage.SelectObject(pOldImage);
        dcMask.SelectObject(pOldMask);
    }
    pDC->SetBkColor(crOldBk);
    pDC->SetTextColor(crOldText);
    if (nSaved) pDC->RestoreDC(-1);
    bmImage.DeleteObject();
    bmMask.DeleteObject();
    dcImage.DeleteDC();
    dcMask.DeleteDC();
}

// ---- bitmap-font text -----------------------------------------------------------------------

void CLegendEngine::mglPrepareCharset2D(int /*n1*/, int /*n2*/, int /*n3*/) {
    CDC screen;
    if (!screen.CreateCompatibleDC(nullptr)) {
        m_nFontListBase = 0;
        return;
    }
    CFont font;
    if (!font.CreateFontIndirect(&m_lfValue)) {
        m_nFontListBase = 0;
        screen.DeleteDC();
        return;
    }
    CFont* pOld = screen.SelectObject(&font);
    if (m_nFontListBase > 0) glDeleteLists(m_nFontListBase, m_nFontListCount);
    m_nFontListBase = static_cast<int>(glGenLists(m_nFontListCount));
    if (m_nFontListBase != 0 &&
        !wglUseFontBitmapsA(screen.GetSafeHdc(), 0, 127, static_cast<DWORD>(m_nFontListBase))) {
        glDeleteLists(m_nFontListBase, m_nFontListCount);
        m_nFontListBase = 0;
    }
    screen.SelectObject(pOld);
    font.DeleteObject();
    screen.DeleteDC();
}

void CLegendEngine::mglText2D(CString s) {
    if (m_nFontListBase == 0 || s.IsEmpty()) return;
    glListBase(static_cast<GLuint>(m_nFontListBase));
    glCallLists(s.GetLength(), GL_UNSIGNED_BYTE, static_cast<LPCTSTR>(s));
}
