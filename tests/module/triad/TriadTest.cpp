// The legend's view-direction triad: the GL image in its DIB, the transparent copy onto the
// legend, the printed view-direction components, failures and release of the GL state.
#include <cstring>
#include <string>
#include <vector>

#include "host/base/CMsgOutWnd.h"
#include "module/model/T_PVX_DOPT_D.h"
#include "platform/gl/pvxgl.h"
#include "platform/ui/CUiDriver.h"
#include "tests/module/legend/LegendTestSupport.h"

namespace {

constexpr COLORREF kPanel = RGB(30, 90, 150);  // what the legend drew before the triad

struct Rgb {
    int r, g, b;
};

class TriadTest : public LegendTest {
protected:
    void SetUp() override {
        LegendTest::SetUp();
        CMsgOutWnd::Clear();
        CUiDriver::Get().ClearMessageBoxes();
        L().m_crText = RGB(255, 255, 255);
    }
    void TearDown() override {
        if (m_model) L().ClearOpenGl();
        LegendTest::TearDown();
    }

    // A 200 x 160 legend area filled with the panel colour, drawn on a recording raster DC.
    void Draw(CRecordDC& dc, CRect r = CRect(0, 0, 200, 160)) {
        ASSERT_TRUE(dc.Create(200, 160));
        dc.FillSolidRect(0, 0, 200, 160, kPanel);
        m_rcAfter = r;
        L().DrawViewDirection(&dc, m_rcAfter);
    }
    int DibWidth() { return L().m_pGLBmpInfo->bmiHeader.biWidth; }
    int DibHeight() { return L().m_pGLBmpInfo->bmiHeader.biHeight; }
    // Pixel of the DIB, (x, y) from its top-left corner.
    Rgb Dib(int x, int y) {
        const int stride = (24 * DibWidth() + 31) / 32 * 4;
        const auto* p = static_cast<const unsigned char*>(L().m_pGLDIBBits) +
                        static_cast<size_t>(DibHeight() - 1 - y) * stride + 3 * x;
        return {p[2], p[1], p[0]};
    }
    std::vector<unsigned char> DibBytes() {
        const size_t n = static_cast<size_t>((24 * DibWidth() + 31) / 32 * 4) * DibHeight();
        const auto* p = static_cast<const unsigned char*>(L().m_pGLDIBBits);
        return std::vector<unsigned char>(p, p + n);
    }
    // Pixels whose one channel clearly dominates: 0 red, 1 green, 2 blue.
    int CountDominant(int channel) {
        int n = 0;
        for (int y = 0; y < DibHeight(); ++y)
            for (int x = 0; x < DibWidth(); ++x) {
                const Rgb p = Dib(x, y);
                const int c[3] = {p.r, p.g, p.b};
                const int o1 = c[(channel + 1) % 3], o2 = c[(channel + 2) % 3];
                if (c[channel] >= 60 && c[channel] > 2 * o1 && c[channel] > 2 * o2) ++n;
            }
        return n;
    }
    static bool IsBlack(const Rgb& p) { return p.r == 0 && p.g == 0 && p.b == 0; }

    CRect m_rcAfter;
};

}  // namespace

TEST_F(TriadTest, TheTriadIsRenderedIntoItsDibWithItsThreeAxisColours) {
    CLegendEngine& l = L();
    l.m_ptViewEye.Set(1.0, 1.0, 1.0);
    l.m_ptViewUp.Set(0.0, 0.0, 1.0);
    CRecordDC dc;
    Draw(dc);

    // Title line of 12 + 4, then the right half inset by 3.
    EXPECT_EQ(m_rcAfter.top, 16);
    EXPECT_EQ(l.m_nTriadLeft, 103);
    EXPECT_EQ(l.m_nTriadTop, 19);
    EXPECT_EQ(l.m_nTriadRight, 197);
    EXPECT_EQ(l.m_nTriadBottom, 157);
    ASSERT_TRUE(l.m_bOpenGLReady);
    ASSERT_NE(l.m_pGLDIBBits, nullptr);
    const BITMAPINFOHEADER& bih = l.m_pGLBmpInfo->bmiHeader;
    EXPECT_EQ(bih.biWidth, 94);
    EXPECT_EQ(bih.biHeight, 138);
    EXPECT_EQ(bih.biBitCount, 24);
    EXPECT_EQ(bih.biSizeImage, static_cast<DWORD>((24 * 94 + 31) / 32 * 4 * 138));
    EXPECT_EQ(wglGetCurrentContext(), nullptr) << "the context is current only inside the call";
    EXPECT_NE(l.m_nFontListBase, 0);

    // The ball sits at the centre; its colour (0.8, 0.4, 1.0) keeps blue over green.
    const Rgb centre = Dib(DibWidth() / 2, DibHeight() / 2);
    EXPECT_FALSE(IsBlack(centre)) << "the centre shows the ball, not the cleared background";
    EXPECT_GT(centre.b, centre.g);
    EXPECT_GT(centre.r, centre.g);
    EXPECT_TRUE(IsBlack(Dib(0, 0))) << "corners keep the clear colour";
    const char* names[3] = {"red X arrow", "green Y arrow", "blue Z arrow"};
    for (int c = 0; c < 3; ++c) {
        SCOPED_TRACE(names[c]);
        EXPECT_GT(CountDominant(c), 40);
    }
}

TEST_F(TriadTest, BlackIsTransparentWhenTheImageIsCopiedOntoTheLegend) {
    L().m_ptViewEye.Set(1.0, 0.5, 0.8);
    L().m_ptViewUp.Set(0.0, 0.0, 1.0);
    CRecordDC dc;
    Draw(dc);
    ASSERT_NE(L().m_pGLDIBBits, nullptr);
    const int x0 = L().m_nTriadLeft, y0 = L().m_nTriadTop;
    int nClear = 0, nImage = 0, nWrong = 0;
    for (int y = 0; y < DibHeight(); ++y)
        for (int x = 0; x < DibWidth(); ++x) {
            const Rgb p = Dib(x, y);
            const COLORREF want = IsBlack(p) ? kPanel : RGB(p.r, p.g, p.b);
            IsBlack(p) ? ++nClear : ++nImage;
            if (dc.GetPixel(x0 + x, y0 + y) != want && ++nWrong <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << dc.GetPixel(x0 + x, y0 + y)
                              << " want " << want;
        }
    EXPECT_EQ(nWrong, 0);
    EXPECT_GT(nClear, 0);
    EXPECT_GT(nImage, 0);
    // The three raster operations that copy through the mask, in order.
    std::vector<int> rops;
    for (const GdiRecord* r : dc.GetRecords("BitBlt")) rops.push_back(r->Arg(6));
    EXPECT_EQ(rops, (std::vector<int>{static_cast<int>(SRCINVERT), static_cast<int>(SRCAND),
                                      static_cast<int>(SRCINVERT)}));
}

TEST_F(TriadTest, ViewDirectionComponentsArePrintedBesideTheTriad) {
    struct Row {
        const char* label;
        int external, printMode;
        COLORREF x, y, z;
    } rows[] = {
        {"screen", 0, 0, RGB(0xFF, 0x64, 0x64), RGB(0x64, 0xFF, 0x64), RGB(0x64, 0x64, 0xFF)},
        {"colour printing", 1, 2, RGB(0xFF, 0x64, 0x64), RGB(0x64, 0xFF, 0x64), RGB(0x64, 0x64, 0xFF)},
        {"gray printing", 1, 0, RGB(0, 0, 0), RGB(0, 0, 0), RGB(0, 0, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        M().m_bExternalDevice = row.external;
        M().m_pDispOpt->m_nPrintColorMode = row.printMode;
        L().m_ptViewEye.Set(-0.5, 0.5, 1.0);
        L().m_ptViewUp.Set(0.0, 0.0, 1.0);
        CRecordDC dc;
        Draw(dc);
        // r = (0, 16, 200, 160) after the title; lines from y = 16 + 72 + 18 upward by 12.
        struct Want {
            std::string text;
            int x, y;
            COLORREF color;
        } wants[] = {{"X:", 6, 106, row.x},      {"-0.500", 18, 106, row.x}, {"Y:", 6, 94, row.y},
                     {"0.500", 24, 94, row.y},   {"Z:", 6, 82, row.z},       {"1.000", 24, 82, row.z}};
        for (const Want& w : wants) {
            SCOPED_TRACE(w.text);
            const GdiRecord* rec = FindText(dc, w.text);
            ASSERT_NE(rec, nullptr);
            EXPECT_EQ(rec->Arg(0), w.x);
            EXPECT_EQ(rec->Arg(1), w.y);
            EXPECT_EQ(rec->textColor, w.color);
            EXPECT_EQ(rec->textAlign, static_cast<UINT>(TA_LEFT | TA_BOTTOM));
            EXPECT_EQ(rec->bkMode, TRANSPARENT);
        }
        const GdiRecord* title = FindText(dc, Txt("IDS_TBX_PVX_VIEW_DIRECTION").GetString());
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->Arg(0), 100);
        EXPECT_EQ(title->textAlign, static_cast<UINT>(TA_CENTER | TA_BOTTOM));
        EXPECT_EQ(title->textColor, L().m_crText);
        // The DC's own state comes back.
        EXPECT_EQ(dc.GetTextColor(), RGB(0, 0, 0));
        EXPECT_EQ(dc.GetBkMode(), OPAQUE);
    }
    M().m_bExternalDevice = 0;
}

TEST_F(TriadTest, TheConstructionViewStillShowsAPlanTriad) {
    // Nothing in the module sets the eye point or the up vector: their zero values must not
    // collapse the camera. They show the plan view, as an eye on +z with y up does.
    CLegendEngine& l = L();
    EXPECT_EQ(l.m_ptViewEye, C3DPoint());
    EXPECT_EQ(l.m_ptViewUp, C3DPoint());
    EXPECT_EQ(l.m_nViewMatrixMode, 0);
    EXPECT_EQ(l.m_nFontListCount, 128);
    CRecordDC dc;
    Draw(dc);
    ASSERT_NE(l.m_pGLDIBBits, nullptr);
    const Rgb centre = Dib(DibWidth() / 2, DibHeight() / 2);
    EXPECT_FALSE(IsBlack(centre));
    EXPECT_GT(centre.b, 2 * centre.r) << "the Z arrow points at the viewer";
    EXPECT_GT(CountDominant(0), 40) << "X arrow";
    EXPECT_GT(CountDominant(1), 40) << "Y arrow";
    // X to the right of the centre, Y above it.
    const Rgb right = Dib(DibWidth() / 2 + DibWidth() / 4, DibHeight() / 2);
    const Rgb above = Dib(DibWidth() / 2, DibHeight() / 2 - DibWidth() / 4);
    EXPECT_GT(right.r, 2 * right.g);
    EXPECT_GT(above.g, 2 * above.r);
    const std::vector<unsigned char> zero = DibBytes();

    l.m_ptViewEye.Set(0.0, 0.0, 1.0);
    l.m_ptViewUp.Set(0.0, 1.0, 0.0);
    CRecordDC dc2;
    Draw(dc2);
    EXPECT_TRUE(zero == DibBytes()) << "same picture as the plan view";

    // An up vector along the view direction is as singular: the triad is still drawn.
    l.m_ptViewEye.Set(0.0, 0.0, 2.0);
    l.m_ptViewUp.Set(0.0, 0.0, 1.0);
    CRecordDC dc3;
    Draw(dc3);
    EXPECT_FALSE(IsBlack(Dib(DibWidth() / 2, DibHeight() / 2)));
}

TEST_F(TriadTest, AnExplicitTransformMovesTheTriadAndLabelsUseTheTextColour) {
    CLegendEngine& l = L();
    l.m_nViewMatrixMode = 1;
    const double identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    std::memcpy(l.m_dViewTransform, identity, sizeof identity);
    l.m_dViewTranslation[0] = 0.5;
    CRecordDC dc;
    Draw(dc);
    ASSERT_NE(l.m_pGLDIBBits, nullptr);
    // The origin moved from the centre to world x = -0.5, pixel column (1 - 0.5 / 1.2) / 2 of
    // the width; the Z arrow, pointing at the viewer, covers it.
    const int xOrigin = static_cast<int>((1.0 - 0.5 / 1.2) / 2.0 * DibWidth());
    const Rgb origin = Dib(xOrigin, DibHeight() / 2);
    EXPECT_GT(origin.b, 2 * origin.r);
    EXPECT_GT(origin.b, 2 * origin.g);
    const Rgb centre = Dib(DibWidth() / 2, DibHeight() / 2);
    EXPECT_GT(centre.r, 2 * centre.g) << "the X shaft now crosses the centre";
    EXPECT_GT(centre.r, 2 * centre.b);

    // The letters are drawn over the arrows in the legend's text colour.
    const std::vector<unsigned char> white = DibBytes();
    l.m_crText = RGB(0, 0, 0);
    CRecordDC dc2;
    Draw(dc2);
    EXPECT_FALSE(white == DibBytes());
}

TEST_F(TriadTest, FailuresSkipTheTriadButKeepTheNumbersAndStateIsReleased) {
    CLegendEngine& l = L();
    l.m_ptViewEye.Set(0.25, 0.0, -1.0);
    // A rectangle too narrow for an image: no DIB.
    CRecordDC dc;
    Draw(dc, CRect(0, 0, 10, 160));
    EXPECT_FALSE(l.m_bOpenGLReady);
    EXPECT_EQ(l.m_hGLRC, nullptr);
    const std::vector<std::string> lines = CMsgOutWnd::GetLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), std::string(Txt("IDS_TBX_PVX_LegendEngine___DIB_Creation_Failed").GetString()));
    EXPECT_TRUE(dc.GetRecords("BitBlt").empty());
    EXPECT_NE(FindText(dc, "0.250"), nullptr);
    EXPECT_NE(FindText(dc, "-1.000"), nullptr);

    // A good rectangle afterwards builds everything; ClearOpenGl gives it all back, twice safely.
    CRecordDC dc2;
    Draw(dc2);
    ASSERT_TRUE(l.m_bOpenGLReady);
    EXPECT_NE(l.m_hGLMemDC, nullptr);
    EXPECT_TRUE(l.m_bPixelFormatSet);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        l.ClearOpenGl();
        EXPECT_FALSE(l.m_bOpenGLReady);
        EXPECT_EQ(l.m_hGLMemDC, nullptr);
        EXPECT_EQ(l.m_hGLRC, nullptr);
        EXPECT_EQ(l.m_hGLDIB, nullptr);
        EXPECT_EQ(l.m_pGLBmpInfo, nullptr);
        EXPECT_EQ(l.m_pGLDIBBits, nullptr);
        EXPECT_FALSE(l.m_bPixelFormatSet);
    }
    EXPECT_TRUE(CUiDriver::Get().MessageBoxes().empty()) << "no wgl failure to report";

    // The legend's destructor releases a live triad.
    l.m_ptViewEye.Set(1.0, 1.0, 1.0);
    CRecordDC dc3;
    Draw(dc3);
    ASSERT_NE(l.m_hGLRC, nullptr);
    m_model.reset();
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST_F(TriadTest, AFailedSwitchToTheContextOnReleaseIsShownWithTheSystemText) {
    CLegendEngine& l = L();
    CRecordDC dc;
    Draw(dc);
    ASSERT_TRUE(l.m_bOpenGLReady);
    // Put the context's memory DC out of reach: a DC without a pixel format takes its place.
    ::SelectObject(l.m_hGLMemDC, l.m_hGLOldBitmap);
    ::DeleteDC(l.m_hGLMemDC);
    l.m_hGLOldBitmap = nullptr;
    l.m_hGLMemDC = ::CreateCompatibleDC(nullptr);
    l.ClearOpenGl();

    char* pWant = nullptr;
    FormatMessage(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                  ERROR_INVALID_PIXEL_FORMAT, 0, reinterpret_cast<LPSTR>(&pWant), 0, nullptr);
    ASSERT_NE(pWant, nullptr);
    const std::vector<UiMessageBoxRecord>& boxes = CUiDriver::Get().MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, CString(pWant));
    EXPECT_FALSE(boxes[0].text.IsEmpty());
    EXPECT_EQ(boxes[0].caption, Txt("IDS_TBX_PVX_Error"));
    EXPECT_EQ(boxes[0].type, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    LocalFree(pWant);
    // Everything is released all the same.
    EXPECT_EQ(l.m_hGLRC, nullptr);
    EXPECT_EQ(l.m_hGLMemDC, nullptr);
    EXPECT_FALSE(l.m_bOpenGLReady);
}
