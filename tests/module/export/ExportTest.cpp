// EMF and BMP export of the result view: the files written, the file dialog, failures, and the
// model state after an export.
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "tests/module/export/ExportTestSupport.h"
#include "tests/platform/gdi_emf/EmfReader.h"

namespace {

size_t FilledShapeRecords(const EmfFile& f) {
    size_t n = 0;
    for (uint32_t t : {U_EMR_POLYGON, U_EMR_POLYGON16, U_EMR_POLYPOLYGON, U_EMR_POLYPOLYGON16})
        n += f.OfType(t).size();
    return n;
}

std::string ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// What an export must put back: no device drawing, no virtual page, no metafile state, no gray.
void ExpectRestored(I_PVXModel& m, I_PVXCtrl* ctrl) {
    EXPECT_EQ(0, m.m_bExternalDevice);
    EXPECT_EQ(0, m.m_bExportMetafile);
    EXPECT_FALSE(ctrl->IsVirtualMode());
    EXPECT_FALSE(ctrl->m_bDrawingMetafile);
    EXPECT_EQ(nullptr, XGL_PrintHandler::GetReferenceDC());
    EXPECT_EQ(0, m.m_pDispOpt->m_Color.m_bGraySaved);
    EXPECT_EQ(0, m.m_pDispOpt->m_Legend.m_bGraySaved);
    EXPECT_EQ(0, m.m_pDispOpt->m_Number.m_bGraySaved);
}

}  // namespace

// A given path: no dialog, a metafile that libUEMF accepts record by record, with the model's
// faces and the file description; everything changed for the export is back afterwards.
TEST_F(ExportFixture, EmfWithPathIsWrittenWithoutDialogAndRestoresTheModel) {
    Open();
    for (int bGL : {0, 1}) {
        SCOPED_TRACE(bGL ? "GL renderer" : "plain renderer");
        Ctrl()->SetGLRenderer(bGL);
        const std::string path = TmpPath(bGL ? "gl.emf" : "plain.emf");
        ::unlink(path.c_str());
        CString p(path.c_str());
        EXPECT_EQ(1, M().PVXExportEMF(&p));
        EXPECT_TRUE(CUiDriver::Get().FileDialogs().empty());
        EmfFile f;
        ASSERT_TRUE(f.Load(path)) << f.problem;
        EXPECT_EQ(U_EMR_EOF, f.records.back().type);
        EXPECT_GE(FilledShapeRecords(f), 2u) << "the two plates";
        EXPECT_GT(f.Header().nDescription, 0u);
        ExpectRestored(M(), Ctrl());
    }
}

// With the host's gray printing the picture is drawn in gray (white background) and the screen
// colours come back afterwards.
TEST_F(ExportFixture, EmfInGrayIsDrawnInGrayAndColoursComeBack) {
    Open();
    const std::string colour = TmpPath("colour.emf"), gray = TmpPath("gray.emf");
    CString p1(colour.c_str()), p2(gray.c_str());
    ASSERT_EQ(1, M().PVXExportEMF(&p1));
    const COLORREF screenBack = M().m_pDispOpt->m_Color.m_crBackground;
    SetHostPrintColorMode(0);
    ASSERT_EQ(1, M().PVXExportEMF(&p2));
    EXPECT_NE(ReadAll(colour), ReadAll(gray));
    // The first brush made is the background's: the screen's black, white in gray.
    const struct {
        const std::string* path;
        uint32_t back;
    } files[] = {{&colour, RGB(0, 0, 0)}, {&gray, RGB(255, 255, 255)}};
    for (const auto& fl : files) {
        SCOPED_TRACE(*fl.path);
        EmfFile f;
        ASSERT_TRUE(f.Load(*fl.path)) << f.problem;
        const auto brushes = f.OfType(U_EMR_CREATEBRUSHINDIRECT);
        ASSERT_FALSE(brushes.empty());
        EXPECT_EQ(fl.back, f.Word(brushes[0], 16));
    }
    EXPECT_EQ(screenBack, M().m_pDispOpt->m_Color.m_crBackground);
    EXPECT_EQ(0, M().m_pDispOpt->m_nPrintColorMode);
    ExpectRestored(M(), Ctrl());
}

// A bitmap that PIL opens, of the view's size, showing the model over the background.
TEST_F(ExportFixture, BmpShowsTheModelAtTheViewSize) {
    Open();
    const std::string path = TmpPath("view.bmp");
    ::unlink(path.c_str());
    CString p(path.c_str());
    ASSERT_EQ(1, M().PVXExportBMP(&p));
    EXPECT_TRUE(CUiDriver::Get().FileDialogs().empty());
    int w = 0, h = 0;
    long differing = 0;
    ASSERT_TRUE(PilImageStats(path, w, h, differing));
    CRect rc;
    m_pView->GetClientRect(&rc);
    EXPECT_EQ(rc.Width(), w);
    EXPECT_EQ(rc.Height(), h);
    // The plates fill a good part of the plan view; the background the rest.
    EXPECT_GT(differing, static_cast<long>(w) * h / 20);
    EXPECT_LT(differing, static_cast<long>(w) * h);
    EXPECT_EQ(0, M().m_bRedrawRequested) << "the render consumed its redraw request";
}

// Without a path the user is asked with the format's dialog; a name without extension gets it;
// a cancelled dialog writes nothing and reports nothing.
TEST_F(ExportFixture, NoPathAsksWithTheFormatsDialog) {
    Open();
    struct Row {
        const char* name;
        int bEmf;
        const char* ext;
        const char* filter;
    } rows[] = {{"emf", 1, "emf", "Emf Files (*.emf)|*.emf|All Files (*.*)|*.*||"},
                {"bmp", 0, "bmp", "Bmp Files (*.bmp)|*.bmp|All Files (*.*)|*.*||"}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CUiDriver::Get().Reset();
        CMsgOutWnd::Clear();
        const std::string base = TmpPath(std::string("asked_") + r.name);
        const std::string written = base + "." + r.ext;
        ::unlink(written.c_str());
        CUiDriver::Get().QueueFileDialogAnswer(base.c_str());
        EXPECT_EQ(1, r.bEmf ? M().PVXExportEMF(nullptr) : M().PVXExportBMP(nullptr));
        ASSERT_EQ(1u, CUiDriver::Get().FileDialogs().size());
        const UiFileDialogRecord& d = CUiDriver::Get().FileDialogs()[0];
        EXPECT_FALSE(d.bOpenFileDialog);
        EXPECT_STREQ(r.ext, d.defExt);
        EXPECT_EQ(std::string("*.") + r.ext, static_cast<LPCTSTR>(d.fileName));
        EXPECT_STREQ(r.filter, d.filter);
        EXPECT_GT(FileSize(written), 0);

        // Cancelled: no answer queued.
        ::unlink(written.c_str());
        EXPECT_EQ(0, r.bEmf ? M().PVXExportEMF(nullptr) : M().PVXExportBMP(nullptr));
        EXPECT_EQ(2u, CUiDriver::Get().FileDialogs().size());
        EXPECT_EQ(-1, FileSize(written));
        EXPECT_EQ(0, CMsgOutWnd::GetLineCount());
        ExpectRestored(M(), Ctrl());
    }
}

// A file that cannot be written is a failure, reported to the user, with the model restored.
TEST_F(ExportFixture, UnwritablePathFailsWithAMessage) {
    Open();
    const std::string folderAsFile = std::string(PVX_TEST_TMPDIR);
    struct Row {
        const char* label;
        std::string path;
        int bEmf;
    } rows[] = {{"emf, missing folder", "/nonexistent-pvx-folder/view.emf", 1},
                {"emf, a folder", folderAsFile, 1},
                {"bmp, missing folder", "/nonexistent-pvx-folder/view.bmp", 0},
                {"bmp, a folder", folderAsFile, 0}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        CMsgOutWnd::Clear();
        CString p(r.path.c_str());
        EXPECT_EQ(0, r.bEmf ? M().PVXExportEMF(&p) : M().PVXExportBMP(&p));
        EXPECT_TRUE(AnyMessageContains(r.bEmf ? "Metafile export to" : "Bitmap export to"));
        EXPECT_TRUE(AnyMessageContains(r.path.c_str()));
        ExpectRestored(M(), Ctrl());
    }
}

// The control's export callbacks reach the exports; the bitmap save writes what it is given.
TEST_F(ExportFixture, ExportCallbacksWriteTheFiles) {
    Open();
    const std::string emf = TmpPath("callback.emf"), bmp = TmpPath("callback.bmp");
    ::unlink(emf.c_str());
    ::unlink(bmp.c_str());
    CString pe(emf.c_str()), pb(bmp.c_str());
    I_PVXModelBase& base = M();
    base.PV_OnExportWindowsMetaFileEx(pe);
    base.PV_OnExportBMP(&pb);
    EmfFile f;
    EXPECT_TRUE(f.Load(emf)) << f.problem;
    int w = 0, h = 0;
    long differing = 0;
    EXPECT_TRUE(PilImageStats(bmp, w, h, differing));
    EXPECT_TRUE(CUiDriver::Get().FileDialogs().empty());

    // The metafile callback without a name asks the user.
    base.PV_OnExportWindowsMetaFile(nullptr);
    EXPECT_EQ(1u, CUiDriver::Get().FileDialogs().size());

    // RE_SaveAsBmpFile: a bitmap, or the one selected into the DC; 0 without a path or a source.
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(nullptr));
    CBitmap b;
    ASSERT_TRUE(b.CreateCompatibleBitmap(&mem, 32, 16));
    CBitmap* old = mem.SelectObject(&b);
    mem.FillSolidRect(0, 0, 32, 16, RGB(10, 20, 30));
    std::string save = TmpPath("save.bmp");
    EXPECT_EQ(1, base.RE_SaveAsBmpFile(&mem, &b, save.data()));
    ASSERT_TRUE(PilImageStats(save, w, h, differing));
    EXPECT_EQ(32, w);
    EXPECT_EQ(16, h);
    EXPECT_EQ(0, differing);
    EXPECT_EQ(1, base.RE_SaveAsBmpFile(&mem, nullptr, save.data()));
    EXPECT_EQ(0, base.RE_SaveAsBmpFile(&mem, &b, nullptr));
    EXPECT_EQ(0, base.RE_SaveAsBmpFile(nullptr, nullptr, save.data()));
    std::string bad = "/nonexistent-pvx-folder/save.bmp";
    EXPECT_EQ(0, base.RE_SaveAsBmpFile(&mem, &b, bad.data()));
    mem.SelectObject(old);
}
