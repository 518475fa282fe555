// Metafile DCs: the drawing the raster tests make, recorded into an EMF that libUEMF accepts
// record by record, with a header that matches the file, objects a player can follow, Chinese
// text in UTF-16LE with the measured advances, embedded bitmaps in the right orientation, and
// clean failures.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/gdi/CMetaFileDC.h"
#include "platform/gdi/DCBackend.h"
#include "platform/gdi/FontEngine.h"
#include "platform/gdi/afxgdi.h"
#include "tests/platform/gdi_emf/EmfReader.h"

namespace {

std::string TmpPath(const std::string& name) {
    const std::string path = std::string(PVX_TEST_TMPDIR) + "/emf_" + name;
    std::remove(path.c_str());
    return path;
}

LOGFONT ChineseFont(int height, int escapement) {
    LOGFONT lf;
    std::memset(&lf, 0, sizeof lf);
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfOrientation = escapement;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    std::strcpy(lf.lfFaceName, "宋体");
    return lf;
}

std::string Utf16ToUtf8(const std::vector<uint16_t>& units) {
    std::vector<uint16_t> z(units);
    z.push_back(0);
    size_t len = 0;
    char* s = U_Utf16leToUtf8(z.data(), 0, &len);
    std::string out = s ? s : "";
    std::free(s);
    return out;
}

// Plays the object records as a player would and reports the first misuse: a handle created
// over a live one, a selection of a missing object, a deletion of an object that the current
// or a saved state still selects, a bad RESTOREDC. Objects left undeleted at the end count too.
std::string CheckObjectUse(const EmfFile& f) {
    struct Sel {
        uint32_t pen = U_BLACK_PEN, brush = U_WHITE_BRUSH, font = U_SYSTEM_FONT;
    };
    std::map<uint32_t, int> live;  // handle -> 1 pen, 2 brush, 3 font
    Sel cur;
    std::vector<Sel> saved;
    auto uses = [&](uint32_t ih) {
        if (cur.pen == ih || cur.brush == ih || cur.font == ih) return true;
        for (const Sel& s : saved)
            if (s.pen == ih || s.brush == ih || s.font == ih) return true;
        return false;
    };
    for (const EmfRecord& r : f.records) {
        const std::string at = " at offset " + std::to_string(r.offset);
        switch (r.type) {
        case U_EMR_CREATEPEN:
        case U_EMR_CREATEBRUSHINDIRECT:
        case U_EMR_EXTCREATEFONTINDIRECTW: {
            const uint32_t ih = f.Word(r, 8);
            if (ih == 0 || live.count(ih)) return "handle " + std::to_string(ih) + " created while live" + at;
            live[ih] = r.type == U_EMR_CREATEPEN ? 1 : (r.type == U_EMR_CREATEBRUSHINDIRECT ? 2 : 3);
            break;
        }
        case U_EMR_SELECTOBJECT: {
            const uint32_t ih = f.Word(r, 8);
            int kind;
            if (ih & U_STOCK_OBJECT) {
                const uint32_t i = ih & ~U_STOCK_OBJECT;
                kind = i <= 5 ? 2 : (i <= 8 ? 1 : 3);
            } else {
                if (!live.count(ih)) return "selects missing handle " + std::to_string(ih) + at;
                kind = live[ih];
            }
            (kind == 1 ? cur.pen : kind == 2 ? cur.brush : cur.font) = ih;
            break;
        }
        case U_EMR_DELETEOBJECT: {
            const uint32_t ih = f.Word(r, 8);
            if (!live.count(ih)) return "deletes missing handle " + std::to_string(ih) + at;
            if (uses(ih)) return "deletes handle " + std::to_string(ih) + " while it is selected" + at;
            live.erase(ih);
            break;
        }
        case U_EMR_SAVEDC:
            saved.push_back(cur);
            break;
        case U_EMR_RESTOREDC: {
            const auto rel = static_cast<int32_t>(f.Word(r, 8));
            const int idx = static_cast<int>(saved.size()) + rel;
            if (rel >= 0 || idx < 0) return "RESTOREDC " + std::to_string(rel) + " with " + std::to_string(saved.size()) + " saved" + at;
            cur = saved[idx];
            saved.resize(idx);
            for (uint32_t ih : {cur.pen, cur.brush, cur.font})
                if (!(ih & U_STOCK_OBJECT) && !live.count(ih)) return "restores deleted handle " + std::to_string(ih) + at;
            break;
        }
        default:
            break;
        }
    }
    if (!live.empty()) return std::to_string(live.size()) + " objects never deleted";
    return "";
}

// The reference screen DC the module hands to CreateEnhMetaFile.
struct Screen {
    CDC dc;
    Screen(int dpi = 96) {
        dc.CreateDisplayDC(800, 600);
        dc.SetDeviceCaps(LOGPIXELSX, dpi);
        dc.SetDeviceCaps(LOGPIXELSY, dpi);
    }
};

// A memory DC with a 20 x 10 colour bitmap: (10, 20, 30) with a red 5 x 5 top-left square.
struct SourceDC {
    CDC dc;
    CBitmap bm;
    CBitmap* old = nullptr;
    explicit SourceDC(CDC* ref) {
        dc.CreateCompatibleDC(ref);
        bm.CreateCompatibleBitmap(ref, 20, 10);
        old = dc.SelectObject(&bm);
        dc.FillSolidRect(0, 0, 20, 10, RGB(10, 20, 30));
        dc.FillSolidRect(0, 0, 5, 5, RGB(250, 0, 0));
    }
    ~SourceDC() { dc.SelectObject(old); }
};

}  // namespace

TEST(MetafileDC, RasterTestDrawingGivesAFileLibUemfAccepts) {
    Screen screen(120);
    const std::string path = TmpPath("drawing.emf");
    const RECT frame{0, 0, 16933, 12700};
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), &frame, "PVX 后处理")) << mf.LastError();
    EXPECT_EQ(mf.m_hAttribDC, screen.dc.m_hDC);
    EXPECT_EQ(mf.GetDeviceCaps(LOGPIXELSX), 120) << "resolution of the reference DC";
    EXPECT_EQ(mf.GetDeviceCaps(TECHNOLOGY), screen.dc.GetDeviceCaps(TECHNOLOGY));
    {
        CPen red(PS_SOLID, 2, RGB(255, 0, 0));
        CBrush green(RGB(0, 200, 0));
        CFont font;
        const LOGFONT lf = ChineseFont(-20, 450);
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        SourceDC src(&screen.dc);

        CPen* oldPen = mf.SelectObject(&red);
        mf.MoveTo(10, 10);
        mf.LineTo(200, 40);
        const POINT line[] = {{10, 100}, {60, 150}, {110, 100}, {160, 150}};
        EXPECT_TRUE(mf.Polyline(line, 4));
        CBrush* oldBrush = mf.SelectObject(&green);
        const POINT poly[] = {{300, 50}, {380, 60}, {390, 140}, {320, 160}, {290, 110}};
        EXPECT_TRUE(mf.Polygon(poly, 5));
        CFont* oldFont = mf.SelectObject(&font);
        mf.SetBkMode(TRANSPARENT);
        mf.SetTextColor(RGB(0, 0, 255));
        mf.SetTextAlign(TA_BASELINE | TA_CENTER);
        EXPECT_TRUE(mf.TextOut(300, 300, std::string("反力 Reaction")));
        TRIVERTEX v[3] = {{50, 400, 0xff00, 0, 0, 0}, {250, 400, 0, 0xff00, 0, 0}, {150, 550, 0, 0, 0xff00, 0}};
        GRADIENT_TRIANGLE tri{0, 1, 2};
        EXPECT_TRUE(mf.GradientFill(v, 3, &tri, 1, GRADIENT_FILL_TRIANGLE));
        const BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
        EXPECT_TRUE(mf.AlphaBlend(400, 100, 40, 20, &src.dc, 0, 0, 20, 10, half));
        mf.SelectObject(oldFont);
        mf.SelectObject(oldBrush);
        mf.SelectObject(oldPen);
    }
    HENHMETAFILE h = mf.CloseEnhanced();
    ASSERT_NE(h, nullptr) << mf.LastError();
    EXPECT_EQ(mf.m_hDC, nullptr) << "closing frees the DC handle";
    EXPECT_TRUE(DeleteEnhMetaFile(h));
    EXPECT_FALSE(DeleteEnhMetaFile(h)) << "a metafile handle is freed once";

    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    const U_EMRHEADER& hdr = f.Header();
    EXPECT_EQ(hdr.dSignature, static_cast<uint32_t>(U_ENHMETA_SIGNATURE));
    EXPECT_EQ(hdr.nBytes, f.bytes.size());
    EXPECT_EQ(hdr.nRecords, f.records.size());
    EXPECT_EQ(f.records.back().type, static_cast<uint32_t>(U_EMR_EOF));
    uint32_t maxHandle = 0;
    for (uint32_t t : {U_EMR_CREATEPEN, U_EMR_CREATEBRUSHINDIRECT, U_EMR_EXTCREATEFONTINDIRECTW})
        for (const EmfRecord& r : f.OfType(t)) maxHandle = std::max(maxHandle, f.Word(r, 8));
    EXPECT_EQ(hdr.nHandles, maxHandle + 1) << "handle table size, slot 0 reserved";
    EXPECT_EQ(hdr.rclFrame.left, frame.left);
    EXPECT_EQ(hdr.rclFrame.right, frame.right);
    EXPECT_EQ(hdr.rclFrame.bottom, frame.bottom);
    EXPECT_EQ(hdr.szlDevice.cx, 800);
    EXPECT_EQ(hdr.szlMillimeters.cx, 169) << "800 pixels at 120 dpi";
    std::vector<uint16_t> desc(hdr.nDescription);
    std::memcpy(desc.data(), f.bytes.data() + hdr.offDescription, desc.size() * 2);
    ASSERT_GE(desc.size(), 2u);
    EXPECT_EQ(desc[desc.size() - 1], 0);
    EXPECT_EQ(desc[desc.size() - 2], 0);
    desc.resize(desc.size() - 2);
    EXPECT_EQ(Utf16ToUtf8(desc), "PVX 后处理");

    const struct {
        uint32_t type;
        size_t count;
    } expected[] = {{U_EMR_MOVETOEX, 1},       {U_EMR_LINETO, 1},        {U_EMR_POLYLINE16, 1},
                    {U_EMR_POLYGON16, 1},      {U_EMR_EXTTEXTOUTW, 1},   {U_EMR_GRADIENTFILL, 1},
                    {U_EMR_ALPHABLEND, 1},     {U_EMR_CREATEPEN, 1},     {U_EMR_CREATEBRUSHINDIRECT, 1},
                    {U_EMR_EXTCREATEFONTINDIRECTW, 1}, {U_EMR_SETBKMODE, 1}, {U_EMR_SETTEXTCOLOR, 1}};
    for (const auto& e : expected) {
        SCOPED_TRACE(U_emr_names(e.type));
        EXPECT_EQ(f.OfType(e.type).size(), e.count);
    }
    EXPECT_EQ(CheckObjectUse(f), "");

    const auto& grad = f.As<U_EMRGRADIENTFILL>(f.OfType(U_EMR_GRADIENTFILL)[0]);
    EXPECT_EQ(grad.nTriVert, 3u);
    EXPECT_EQ(grad.nGradObj, 1u);
    EXPECT_EQ(grad.ulMode, static_cast<uint32_t>(U_GRADIENT_FILL_TRIANGLE));
    const auto* tv = reinterpret_cast<const U_TRIVERTEX*>(f.At(f.OfType(U_EMR_GRADIENTFILL)[0]) + sizeof(U_EMRGRADIENTFILL));
    EXPECT_EQ(tv[2].x, 150);
    EXPECT_EQ(tv[2].y, 550);
    EXPECT_EQ(tv[2].Blue, 0xff00);

    const EmfRecord ab = f.OfType(U_EMR_ALPHABLEND)[0];
    const auto& blend = f.As<U_EMRALPHABLEND>(ab);
    EXPECT_EQ(blend.Blend.Global, 128);
    EXPECT_EQ(blend.cDest.x, 40);
    EXPECT_EQ(blend.cDest.y, 20);
    EXPECT_EQ(blend.cSrc.x, 20);
    EXPECT_EQ(EmbeddedPixel(f, ab, blend.offBmiSrc, blend.offBitsSrc, blend.Src.x + 1, blend.Src.y + 1),
              (std::vector<uint8_t>{0, 0, 250}));
    EXPECT_EQ(EmbeddedPixel(f, ab, blend.offBmiSrc, blend.offBitsSrc, blend.Src.x + 10, blend.Src.y + 8),
              (std::vector<uint8_t>{30, 20, 10}));
}

TEST(MetafileDC, ChineseTextIsUtf16WithTheMeasuredAdvances) {
    Screen screen;
    const std::string path = TmpPath("text.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
    const LOGFONT lf = ChineseFont(-18, 900);
    CFont font;
    ASSERT_TRUE(font.CreateFontIndirect(&lf));
    CFont* old = mf.SelectObject(&font);
    mf.SetViewportOrg(5, 7);
    // Han characters, Latin letters and a character beyond the basic plane.
    const std::string text = "弯矩 Mx 𠮷";
    EXPECT_TRUE(mf.TextOut(10, 20, text));
    // DrawText places by the cell's top-left corner whatever the DC's alignment says; the file
    // must say so too, and the next TextOut must get the DC's alignment back.
    mf.SetTextAlign(TA_BASELINE);
    RECT box{0, 0, 200, 40};
    mf.DrawText(std::string("中"), &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    EXPECT_TRUE(mf.TextOut(0, 60, std::string("x")));
    mf.SelectObject(old);
    CFont* refOld = screen.dc.SelectObject(&font);
    const CSize extent = screen.dc.GetTextExtent(text);
    screen.dc.SelectObject(refOld);
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));

    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    const std::vector<EmfRecord> texts = f.OfType(U_EMR_EXTTEXTOUTW);
    ASSERT_EQ(texts.size(), 3u);
    const EmfText t = ReadText(f, texts[0]);
    EXPECT_EQ(Utf16ToUtf8(t.units), text);
    EXPECT_EQ(t.reference.x, 15) << "viewport origin applied";
    EXPECT_EQ(t.reference.y, 27);
    ASSERT_EQ(t.units.size(), 8u) << "7 characters, one of them a surrogate pair";
    EXPECT_EQ(t.units[6], 0xd842);
    EXPECT_EQ(t.units[7], 0xdfb7);
    const std::vector<int> adv = FontEngine::Instance().GetAdvances(lf, text);
    ASSERT_EQ(adv.size(), 7u);
    std::vector<int32_t> expected(adv.begin(), adv.end());
    expected.push_back(0);  // the pair's second unit
    EXPECT_EQ(t.dx, expected);
    int sum = 0;
    for (int32_t d : t.dx) sum += d;
    EXPECT_EQ(sum, extent.cx) << "advances add up to the reference DC's extent";
    EXPECT_GT(t.dx[0], 10) << "a Han character at 18 pixels is not narrow";

    const auto& fontRec = f.As<U_EMREXTCREATEFONTINDIRECTW>(f.OfType(U_EMR_EXTCREATEFONTINDIRECTW)[0]);
    EXPECT_EQ(fontRec.elfw.elfLogFont.lfHeight, -18);
    EXPECT_EQ(fontRec.elfw.elfLogFont.lfEscapement, 900);
    EXPECT_EQ(fontRec.elfw.elfLogFont.lfCharSet, GB2312_CHARSET);
    const std::vector<uint16_t> face(fontRec.elfw.elfLogFont.lfFaceName, fontRec.elfw.elfLogFont.lfFaceName + 2);
    EXPECT_EQ(Utf16ToUtf8(face), "宋体");

    // Alignment in force at each text record, following SAVEDC/RESTOREDC as a player does.
    std::vector<uint32_t> alignAt;
    uint32_t align = 0;
    std::vector<uint32_t> saved;
    for (const EmfRecord& r : f.records) {
        if (r.type == U_EMR_SETTEXTALIGN) align = f.Word(r, 8);
        if (r.type == U_EMR_SAVEDC) saved.push_back(align);
        if (r.type == U_EMR_RESTOREDC) {
            const int idx = static_cast<int>(saved.size()) + static_cast<int32_t>(f.Word(r, 8));
            align = saved[idx];
            saved.resize(idx);
        }
        if (r.type == U_EMR_EXTTEXTOUTW) alignAt.push_back(align);
    }
    EXPECT_EQ(alignAt, (std::vector<uint32_t>{TA_LEFT | TA_TOP, TA_LEFT | TA_TOP, TA_BASELINE}));
}

TEST(MetafileDC, BlitsEmbedTheSourcePixelsTheRightWayUp) {
    Screen screen;
    const std::string path = TmpPath("blits.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, "blits"));
    SourceDC src(&screen.dc);
    // Same size: a BITBLT of the part from (3, 2).
    EXPECT_TRUE(mf.BitBlt(100, 100, 10, 6, &src.dc, 3, 2, SRCCOPY));
    // A different size: stretched.
    EXPECT_TRUE(mf.StretchBlt(0, 0, 40, 20, &src.dc, 0, 0, 20, 10, SRCINVERT));
    // An 8-bit DIB with a palette, 3 x 2, bottom-up: bottom row indices 0 1 2, top row 2 1 0.
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD colors[3];
    } bmi{};
    bmi.h.biSize = sizeof(BITMAPINFOHEADER);
    bmi.h.biWidth = 3;
    bmi.h.biHeight = 2;
    bmi.h.biPlanes = 1;
    bmi.h.biBitCount = 8;
    bmi.h.biCompression = BI_RGB;
    bmi.h.biClrUsed = 3;
    bmi.colors[0] = RGBQUAD{255, 0, 0, 0};  // blue
    bmi.colors[1] = RGBQUAD{0, 255, 0, 0};  // green
    bmi.colors[2] = RGBQUAD{0, 0, 255, 0};  // red
    const BYTE pixels[8] = {0, 1, 2, 0, 2, 1, 0, 0};
    EXPECT_EQ(mf.StretchDIBits(200, 200, 3, 2, 0, 0, 3, 2, pixels, reinterpret_cast<BITMAPINFO*>(&bmi), DIB_RGB_COLORS,
                               SRCCOPY),
              2);
    EXPECT_TRUE(mf.PatBlt(0, 0, 5, 5, PATCOPY));
    // A monochrome mask, left half black: black takes the text colour, white the background.
    CDC maskDC;
    ASSERT_TRUE(maskDC.CreateCompatibleDC(nullptr));
    CBitmap mask;
    ASSERT_TRUE(mask.CreateBitmap(8, 8, 1, 1, nullptr));
    CBitmap* oldMask = maskDC.SelectObject(&mask);
    maskDC.PatBlt(0, 0, 8, 8, WHITENESS);
    maskDC.PatBlt(0, 0, 4, 8, BLACKNESS);
    mf.SetTextColor(RGB(1, 2, 3));
    mf.SetBkColor(RGB(200, 201, 202));
    EXPECT_TRUE(mf.BitBlt(0, 0, 8, 8, &maskDC, 0, 0, SRCAND));
    maskDC.SelectObject(oldMask);
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));

    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    const std::vector<EmfRecord> blts = f.OfType(U_EMR_BITBLT);
    ASSERT_EQ(blts.size(), 3u);
    const auto& b = f.As<U_EMRBITBLT>(blts[0]);
    EXPECT_EQ(b.Dest.x, 100);
    EXPECT_EQ(b.cDest.x, 10);
    EXPECT_EQ(b.dwRop, SRCCOPY);
    // Source (3, 2) is red; (5, 2) and (3, 5) are outside the red square.
    const struct {
        int x, y;
        std::vector<uint8_t> bgr;
    } probes[] = {{0, 0, {0, 0, 250}}, {1, 2, {0, 0, 250}}, {2, 0, {30, 20, 10}}, {0, 3, {30, 20, 10}}};
    for (const auto& p : probes) {
        SCOPED_TRACE("BITBLT pixel " + std::to_string(p.x) + "," + std::to_string(p.y));
        EXPECT_EQ(EmbeddedPixel(f, blts[0], b.offBmiSrc, b.offBitsSrc, b.Src.x + p.x, b.Src.y + p.y), p.bgr);
    }
    const auto& pat = f.As<U_EMRBITBLT>(blts[1]);
    EXPECT_EQ(pat.dwRop, PATCOPY);
    EXPECT_EQ(pat.cbBitsSrc, 0u) << "a pattern blit carries no bitmap";
    const auto& m = f.As<U_EMRBITBLT>(blts[2]);
    EXPECT_EQ(m.dwRop, SRCAND);
    EXPECT_EQ(EmbeddedPixel(f, blts[2], m.offBmiSrc, m.offBitsSrc, 1, 7), (std::vector<uint8_t>{3, 2, 1}));
    EXPECT_EQ(EmbeddedPixel(f, blts[2], m.offBmiSrc, m.offBitsSrc, 6, 0), (std::vector<uint8_t>{202, 201, 200}));

    const std::vector<EmfRecord> stretches = f.OfType(U_EMR_STRETCHDIBITS);
    ASSERT_EQ(stretches.size(), 2u);
    const auto& s0 = f.As<U_EMRSTRETCHDIBITS>(stretches[0]);
    EXPECT_EQ(s0.dwRop, SRCINVERT);
    EXPECT_EQ(s0.cDest.x, 40);
    EXPECT_EQ(s0.cSrc.x, 20);
    EXPECT_EQ(EmbeddedPixel(f, stretches[0], s0.offBmiSrc, s0.offBitsSrc, 19, 9), (std::vector<uint8_t>{30, 20, 10}));
    const auto& s1 = f.As<U_EMRSTRETCHDIBITS>(stretches[1]);
    // The palette DIB arrives as 24-bit colours, top row first in picture order: red green blue.
    const std::vector<uint8_t> top[3] = {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}};
    for (int x = 0; x < 3; ++x) {
        SCOPED_TRACE("palette pixel " + std::to_string(x));
        EXPECT_EQ(EmbeddedPixel(f, stretches[1], s1.offBmiSrc, s1.offBitsSrc, x, 0), top[x]);
        EXPECT_EQ(EmbeddedPixel(f, stretches[1], s1.offBmiSrc, s1.offBitsSrc, x, 1), top[2 - x]);
    }
}

TEST(MetafileDC, ObjectsAndSavedStatesStayConsistentForAPlayer) {
    Screen screen;
    const std::string path = TmpPath("objects.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
    CPen pens[3] = {CPen(PS_SOLID, 1, RGB(1, 0, 0)), CPen(PS_DASH, 3, RGB(2, 0, 0)), CPen(PS_SOLID, 5, RGB(3, 0, 0))};
    CBrush brush(RGB(9, 9, 9));
    CPen* original = mf.SelectObject(&pens[0]);
    const int outer = mf.SaveDC();
    mf.SelectObject(&pens[1]);
    mf.SelectObject(&brush);
    mf.SaveDC();
    mf.SelectObject(&pens[2]);
    mf.SelectStockObject(NULL_BRUSH);
    mf.Rectangle(0, 0, 10, 10);
    mf.FillSolidRect(20, 20, 5, 5, RGB(7, 7, 7));
    mf.RestoreDC(outer);  // back two levels at once
    mf.LineTo(30, 30);
    mf.SelectObject(&pens[1]);
    mf.RestoreDC(-1);  // nothing saved any more: refused
    // Left saved at the end, selecting a pen: closing unwinds it before deleting the pen.
    mf.SelectObject(&pens[2]);
    mf.SaveDC();
    mf.SelectObject(original);
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));

    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    EXPECT_EQ(CheckObjectUse(f), "");
    const std::vector<EmfRecord> restores = f.OfType(U_EMR_RESTOREDC);
    ASSERT_EQ(restores.size(), 3u) << "the fill's own, the one to the outer level, the final unwinding";
    EXPECT_EQ(static_cast<int32_t>(f.Word(restores[0], 8)), -1);
    EXPECT_EQ(static_cast<int32_t>(f.Word(restores[1], 8)), -2);
    EXPECT_EQ(static_cast<int32_t>(f.Word(restores[2], 8)), -1);
    // A pen wider than one pixel draws solid, as the raster back end does.
    for (const EmfRecord& r : f.OfType(U_EMR_CREATEPEN)) {
        const auto& p = f.As<U_EMRCREATEPEN>(r);
        if (p.lopn.lopnColor.Red == 2) {
            EXPECT_EQ(p.lopn.lopnStyle, static_cast<uint32_t>(U_PS_SOLID));
        }
    }
}

TEST(MetafileDC, HeaderBoundsAndClipFollowTheDrawing) {
    Screen screen;
    const std::string path = TmpPath("bounds.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
    CRgn rgn;
    ASSERT_TRUE(rgn.CreateRectRgn(10, 10, 110, 60));
    mf.SelectClipRgn(&rgn);
    mf.Rectangle(100, 50, 300, 150);
    mf.SelectClipRgn(nullptr);
    mf.Ellipse(150, 100, 250, 200);
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));

    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    const U_EMRHEADER& h = f.Header();
    EXPECT_EQ(h.rclBounds.left, 100);
    EXPECT_EQ(h.rclBounds.top, 50);
    EXPECT_EQ(h.rclBounds.right, 299) << "inclusive";
    EXPECT_EQ(h.rclBounds.bottom, 199);
    EXPECT_EQ(h.rclFrame.left, 100 * 2540 / 96);
    EXPECT_EQ(h.rclFrame.bottom, 199 * 2540 / 96);
    const std::vector<EmfRecord> clips = f.OfType(U_EMR_EXTSELECTCLIPRGN);
    ASSERT_EQ(clips.size(), 2u);
    const auto& set = f.As<U_EMREXTSELECTCLIPRGN>(clips[0]);
    EXPECT_EQ(set.iMode, static_cast<uint32_t>(U_RGN_COPY));
    ASSERT_EQ(set.RgnData[0].rdh.nCount, 1u);
    EXPECT_EQ(set.RgnData[0].Buffer[0].left, 10);
    EXPECT_EQ(set.RgnData[0].Buffer[0].bottom, 60);
    const auto& reset = f.As<U_EMREXTSELECTCLIPRGN>(clips[1]);
    EXPECT_EQ(reset.iMode, static_cast<uint32_t>(U_RGN_COPY));
    EXPECT_EQ(reset.cbRgnData, 0u) << "no region: the default clip again";
}

// Point lists go into 16-bit records when every point fits and into 32-bit records otherwise,
// for open and closed shapes alike, with the points unchanged.
TEST(MetafileDC, PointListsUseShortRecordsOnlyWhenEveryPointFits) {
    Screen screen;
    const std::string path = TmpPath("points.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
    const POINT small[] = {{1, 2}, {300, 40}, {5, 600}};
    const POINT large[] = {{1, 2}, {40000, 40}, {5, -40000}};
    EXPECT_TRUE(mf.Polyline(small, 3));
    EXPECT_TRUE(mf.Polyline(large, 3));
    EXPECT_TRUE(mf.Polygon(small, 3));
    EXPECT_TRUE(mf.Polygon(large, 3));
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));

    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    struct Row {
        uint32_t shortType, longType;
    } rows[] = {{U_EMR_POLYLINE16, U_EMR_POLYLINE}, {U_EMR_POLYGON16, U_EMR_POLYGON}};
    for (const Row& r : rows) {
        SCOPED_TRACE(U_emr_names(r.longType));
        ASSERT_EQ(f.OfType(r.shortType).size(), 1u);
        ASSERT_EQ(f.OfType(r.longType).size(), 1u);
        const auto& s16 = f.As<U_EMRPOLYLINE16>(f.OfType(r.shortType)[0]);
        ASSERT_EQ(s16.cpts, 3u);
        const auto& s32 = f.As<U_EMRPOLYLINE>(f.OfType(r.longType)[0]);
        ASSERT_EQ(s32.cptl, 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(s16.apts[i].x, small[i].x);
            EXPECT_EQ(s16.apts[i].y, small[i].y);
            EXPECT_EQ(s32.aptl[i].x, large[i].x);
            EXPECT_EQ(s32.aptl[i].y, large[i].y);
        }
        EXPECT_EQ(s32.rclBounds.right, 40000);
        EXPECT_EQ(s32.rclBounds.top, -40000);
    }
}

TEST(MetafileDC, FailuresAreReportedAndNothingDrawnIsLost) {
    Screen screen;
    // Unwritable places.
    const char* bad[] = {"/nonexistent-folder/x.emf", "", PVX_TEST_TMPDIR};
    for (const char* p : bad) {
        SCOPED_TRACE(std::string("path '") + p + "'");
        CMetaFileDC mf;
        EXPECT_FALSE(mf.CreateEnhanced(&screen.dc, p, nullptr, nullptr));
        EXPECT_FALSE(mf.LastError().empty());
        EXPECT_EQ(mf.m_hDC, nullptr);
        EXPECT_EQ(mf.CloseEnhanced(), nullptr);
        EXPECT_EQ(CreateEnhMetaFile(screen.dc.m_hDC, p, nullptr, nullptr), nullptr);
    }
    CMetaFileDC missing;
    EXPECT_FALSE(missing.CreateEnhanced(&screen.dc, "/nonexistent-folder/x.emf", nullptr, nullptr));
    EXPECT_NE(missing.LastError().find("/nonexistent-folder/x.emf"), std::string::npos) << missing.LastError();

    // The raw-handle calls.
    const std::string rawPath = TmpPath("raw.emf");
    HDC hdc = CreateEnhMetaFile(screen.dc.m_hDC, rawPath.c_str(), nullptr, "raw");
    ASSERT_NE(hdc, nullptr);
    CDC* dc = CDC::FromHandle(hdc);
    ASSERT_NE(dc, nullptr);
    dc->MoveTo(0, 0);
    dc->LineTo(50, 50);
    HENHMETAFILE h = CloseEnhMetaFile(hdc);
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(CloseEnhMetaFile(hdc), nullptr) << "the DC went with the first close";
    EXPECT_EQ(CloseEnhMetaFile(screen.dc.m_hDC), nullptr) << "not a metafile DC";
    EXPECT_TRUE(DeleteEnhMetaFile(h));
    EXPECT_FALSE(DeleteEnhMetaFile(nullptr));
    EmfFile raw;
    EXPECT_TRUE(raw.Load(rawPath)) << raw.problem;
    EXPECT_EQ(raw.OfType(U_EMR_LINETO).size(), 1u);

    // Created twice on one object: refused, the first file unharmed.
    const std::string twicePath = TmpPath("twice.emf");
    const std::string otherPath = TmpPath("other.emf");
    {
        CMetaFileDC mf;
        ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, twicePath.c_str(), nullptr, nullptr));
        EXPECT_FALSE(mf.CreateEnhanced(&screen.dc, otherPath.c_str(), nullptr, nullptr));
        mf.Rectangle(0, 0, 20, 20);
        // Never closed: the destructor finishes the file.
    }
    EmfFile twice;
    ASSERT_TRUE(twice.Load(twicePath)) << twice.problem;
    EXPECT_EQ(twice.records.back().type, static_cast<uint32_t>(U_EMR_EOF));
    EXPECT_EQ(twice.Header().nRecords, twice.records.size());
    EXPECT_EQ(twice.OfType(U_EMR_RECTANGLE).size(), 1u);
    EXPECT_FALSE(std::ifstream(otherPath).good());
}

// On a full disk the metafile cannot be finished: closing fails and no partial file is left,
// whether the refused bytes were the whole buffer or only what stdio still held at close.
TEST(MetafileDC, AFullDiskFailsTheCloseAndLeavesNoPartFile) {
    struct Row {
        const char* label;
        int lines;     // lines drawn: about 12 bytes of record each
        long limit;    // bytes a file may grow to
    } rows[] = {
        // 20 lines: a file of about 400 bytes, written at close from stdio's buffer, of which
        // the disk takes 100.
        {"a small file cut at close", 20, 100},
        // 20,000 lines: about 240 KB, written straight through, of which the disk takes 64 KiB.
        {"a large file cut while written", 20000, 64 * 1024},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string path = TmpPath(std::string("full_") + std::to_string(r.lines) + ".emf");
        const pid_t pid = fork();
        if (pid == 0) {
            // In the child: 0 the close failed and no file is left, 1 the close succeeded,
            // 2 a file was left, 3 the file could not even be started.
            Screen screen;
            CMetaFileDC mf;
            if (!mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr)) _exit(3);
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit lim {static_cast<rlim_t>(r.limit), static_cast<rlim_t>(r.limit)};
            if (setrlimit(RLIMIT_FSIZE, &lim) != 0) _exit(3);
            for (int i = 0; i < r.lines; ++i) {
                mf.MoveTo(i % 700, 0);
                mf.LineTo(i % 700, 500);
            }
            HENHMETAFILE h = mf.CloseEnhanced();
            if (h) _exit(1);
            _exit(std::ifstream(path).good() ? 2 : 0);
        }
        ASSERT_GT(pid, 0);
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported written, 2: a part file left, 3: not started";
        std::remove(path.c_str());
    }
}

// The module draws result segments as the class library taught it: a new pen for every
// segment, selected, one line, the old pen put back. The file must hold one pen per distinct
// description, not one per segment.
TEST(MetafileDC, SegmentsInOnePenShareOneObject) {
    Screen screen;
    const struct {
        const char* label;
        int segments;
        int colours;           // pens cycle through this many colours
        size_t creates;        // CREATEPEN records expected: one per colour
    } rows[] = {
        {"1000 segments in one pen", 1000, 1, 1},
        {"1000 segments alternating two pens", 1000, 2, 2},
        {"999 segments cycling three pens", 999, 3, 3},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const std::string path = TmpPath("segments.emf");
        CMetaFileDC mf;
        ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
        for (int i = 0; i < row.segments; ++i) {
            CPen pen(PS_SOLID, 1, RGB(10 * (i % row.colours + 1), 0, 0));
            CPen* old = mf.SelectObject(&pen);
            mf.MoveTo(i % 500, 0);
            mf.LineTo(i % 500, 100);
            mf.SelectObject(old);
        }
        ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));
        EmfFile f;
        ASSERT_TRUE(f.Load(path)) << f.problem;
        EXPECT_EQ(f.OfType(U_EMR_CREATEPEN).size(), row.creates);
        EXPECT_EQ(f.OfType(U_EMR_LINETO).size(), static_cast<size_t>(row.segments));
        // One selection per change of colour between segments (every segment with more than one
        // colour), and the stock pen selected back when the file closes.
        const size_t changes = row.colours == 1 ? 1 : static_cast<size_t>(row.segments);
        EXPECT_EQ(f.OfType(U_EMR_SELECTOBJECT).size(), changes + 1);
        EXPECT_EQ(f.OfType(U_EMR_DELETEOBJECT).size(), row.creates) << "each pen deleted once, at the end";
        EXPECT_EQ(CheckObjectUse(f), "");
    }
}

// Brushes and fonts are shared the same way: a polygon per band in one of four colours and a
// label per band in one of two fonts.
TEST(MetafileDC, BrushesAndFontsAreSharedToo) {
    Screen screen;
    const std::string path = TmpPath("bands.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
    for (int i = 0; i < 200; ++i) {
        CBrush brush(RGB(0, 50 * (i % 4), 0));
        CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
        CFont font;
        const LOGFONT lf = ChineseFont(-12 - 2 * (i % 2), 0);
        ASSERT_TRUE(font.CreateFontIndirect(&lf));
        CBrush* oldBrush = mf.SelectObject(&brush);
        CPen* oldPen = mf.SelectObject(&pen);
        const POINT band[] = {{0, i}, {100, i}, {100, i + 1}, {0, i + 1}};
        mf.Polygon(band, 4);
        CFont* oldFont = mf.SelectObject(&font);
        mf.TextOut(110, i, std::string("1.25"));
        mf.SelectObject(oldFont);
        mf.SelectObject(oldPen);
        mf.SelectObject(oldBrush);
    }
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));
    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    EXPECT_EQ(f.OfType(U_EMR_CREATEBRUSHINDIRECT).size(), 4u);
    EXPECT_EQ(f.OfType(U_EMR_CREATEPEN).size(), 1u);
    EXPECT_EQ(f.OfType(U_EMR_EXTCREATEFONTINDIRECTW).size(), 2u);
    EXPECT_EQ(f.OfType(U_EMR_POLYGON16).size(), 200u);
    EXPECT_EQ(f.OfType(U_EMR_EXTTEXTOUTW).size(), 200u);
    EXPECT_EQ(CheckObjectUse(f), "");
}

// Unselected objects are kept for reuse up to 64 of a kind; beyond that the one unused longest
// is deleted, and selecting its description again creates it anew.
TEST(MetafileDC, KeptObjectsAreBoundedAndTheOldestGoesFirst) {
    Screen screen;
    const std::string path = TmpPath("many_pens.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
    auto segment = [&](int colour) {
        CPen pen(PS_SOLID, 1, RGB(colour, 1, 1));
        CPen* old = mf.SelectObject(&pen);
        mf.MoveTo(colour, 0);
        mf.LineTo(colour, 10);
        mf.SelectObject(old);
    };
    for (int c = 0; c < 100; ++c) segment(c);
    // Pen 99 is selected, pens 35 to 98 are kept (64), pens 0 to 34 were deleted.
    segment(98);  // kept: no new object
    segment(0);   // deleted: created again
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));
    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    EXPECT_EQ(f.OfType(U_EMR_CREATEPEN).size(), 101u);
    EXPECT_EQ(f.OfType(U_EMR_DELETEOBJECT).size(), 101u);
    EXPECT_LE(f.Header().nHandles, 67u) << "at most 64 kept, 1 selected, 1 new, slot 0";
    EXPECT_EQ(CheckObjectUse(f), "");
}

// A line drawn right after an object change starts with a move, even when it continues from
// the position the last line left: some importers start a new path at every object change and
// drop a line without one.
TEST(MetafileDC, ALineAfterAnObjectChangeStartsWithAMove) {
    Screen screen;
    const std::string path = TmpPath("move_after_change.emf");
    CMetaFileDC mf;
    ASSERT_TRUE(mf.CreateEnhanced(&screen.dc, path.c_str(), nullptr, nullptr));
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen blue(PS_SOLID, 1, RGB(0, 0, 255));
    CPen* old = mf.SelectObject(&red);
    mf.MoveTo(0, 0);
    mf.LineTo(10, 0);
    mf.LineTo(20, 0);  // same pen: continues
    mf.SelectObject(&blue);
    mf.LineTo(30, 0);  // after the change: a move to (20, 0) first
    mf.SaveDC();
    mf.SelectObject(&red);
    mf.RestoreDC(-1);
    mf.LineTo(40, 0);  // the restore put the blue pen back: a move to (30, 0) first
    mf.SelectObject(old);
    ASSERT_TRUE(DeleteEnhMetaFile(mf.CloseEnhanced()));
    EmfFile f;
    ASSERT_TRUE(f.Load(path)) << f.problem;
    std::vector<std::string> seen;
    for (const EmfRecord& r : f.records) {
        if (r.type == U_EMR_MOVETOEX || r.type == U_EMR_LINETO) {
            const auto& p = f.As<U_EMRLINETO>(r);
            seen.push_back(std::string(r.type == U_EMR_MOVETOEX ? "M" : "L") + std::to_string(p.ptl.x));
        }
    }
    const std::vector<std::string> expected = {"M0", "L10", "L20", "M20", "L30", "M30", "L40"};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(CheckObjectUse(f), "");
}
