// Print and export services of the graphics control: the print image, its transfer to the
// device, the vector-stream group log, the after-export overlay and the metafile preparation.
#include <gtest/gtest.h>

#include "host/grx/I_PVXCtrl.h"
#include "host/grx/XGL_PrintHandler.h"
#include "platform/gdi/CRecordDC.h"
#include "platform/ui/CWnd.h"

namespace {

// The print image is built only when its size changed, is drawn through the metafile DC and
// is stretched onto the device: at its own size, or at the preview size in preview mode.
TEST(GrxPrint, PrintImageBuiltAndPutOnDevice) {
    I_PVXCtrl ctrl;
    ctrl.XGL_virtual_dimension_bmp_x = 200;
    ctrl.XGL_virtual_dimension_bmp_y = 100;
    EXPECT_TRUE(ctrl.XGL_bIsBmpSizeChanged()) << "no image yet";
    CRecordDC printer;
    ASSERT_TRUE(printer.Create(400, 200));
    printer.FillSolidRect(0, 0, 400, 200, RGB(255, 255, 255));
    ASSERT_TRUE(ctrl.XGL_StartVirtualMode(&printer, 200, 100));
    EXPECT_TRUE(ctrl.IsVirtualMode());
    EXPECT_EQ(ctrl.GetVirtualClientRect(), CRect(0, 0, 200, 100));
    ctrl.XGL_DeleteCurMetafile();
    ASSERT_TRUE(ctrl.XGL_MakeMetafile(200, 100));
    CDC* mf = ctrl.XGL_GetCurMetafileDC();
    ASSERT_NE(mf, nullptr);
    mf->FillSolidRect(0, 0, 100, 100, RGB(255, 0, 0));
    ctrl.XGL_CloseMetafile();
    ctrl.XGL_EndVirtualMode();
    EXPECT_FALSE(ctrl.IsVirtualMode());
    EXPECT_FALSE(ctrl.XGL_bIsBmpSizeChanged());
    ctrl.XGL_virtual_dimension_bmp_x = 300;
    EXPECT_TRUE(ctrl.XGL_bIsBmpSizeChanged());
    ctrl.XGL_virtual_dimension_bmp_x = 200;

    ctrl.XGL_SetVirtualBmpToDevice(&printer);
    auto blits = printer.GetRecords("StretchBlt");
    ASSERT_EQ(blits.size(), 1u) << printer.Dump();
    EXPECT_EQ(blits[0]->Arg(2), 200);
    EXPECT_EQ(blits[0]->Arg(3), 100);
    EXPECT_EQ(printer.GetPixel(50, 50), RGB(255, 0, 0));
    EXPECT_EQ(printer.GetPixel(150, 50), RGB(255, 255, 255));
    EXPECT_EQ(printer.GetPixel(250, 50), RGB(255, 255, 255)) << "outside the image: untouched";

    ctrl.XGL_SetPreviewMode(1);
    ctrl.XGL_virtual_dimension_x = 400;
    ctrl.XGL_virtual_dimension_y = 200;
    ctrl.XGL_SetVirtualBmpToDevice(&printer);
    EXPECT_EQ(printer.GetPixel(190, 150), RGB(255, 0, 0)) << "stretched twice over in preview";
    // A bad size is refused and leaves the screen transform.
    EXPECT_EQ(ctrl.XGL_StartVirtualMode(&printer, 0, 100), 0);
    EXPECT_FALSE(ctrl.IsVirtualMode());
}

TEST(GrxPrint, GroupLogKeepsCallOrder) {
    I_PVXCtrl ctrl;
    ctrl.XGL_Begin_CuttingPLDiagram();
    ctrl.XGL_Begin_Frame(11, false);
    ctrl.XGL_End_Elem(0);
    ctrl.XGL_Begin_Plane(12, true);
    ctrl.XGL_End_Elem(1);
    ctrl.XGL_Begin_Else(3, true);
    ctrl.XGL_Begin_Diagram(11, false);
    ctrl.XGL_End_CuttingPLDiagram();
    const GXglGroup want[] = {{GXglGroup::CUTTING_BEGIN, 0, 0}, {GXglGroup::FRAME, 11, 0}, {GXglGroup::END, 0, 0},
                              {GXglGroup::PLANE, 12, 1},        {GXglGroup::END, 1, 0},    {GXglGroup::ELSE, 3, 1},
                              {GXglGroup::DIAGRAM, 11, 0},      {GXglGroup::CUTTING_END, 0, 0}};
    const auto& log = ctrl.XGL_GetGroupLog();
    ASSERT_EQ(log.size(), std::size(want));
    for (size_t i = 0; i < log.size(); ++i) {
        EXPECT_EQ(log[i].kind, want[i].kind) << i;
        EXPECT_EQ(log[i].key, want[i].key) << i;
        EXPECT_EQ(log[i].flag, want[i].flag) << i;
    }
    ctrl.XGL_ClearGroupLog();
    EXPECT_TRUE(ctrl.XGL_GetGroupLog().empty());
}

// After a bitmap export the view-point triad is added when it is shown, and only then.
TEST(GrxPrint, ViewPointIconFollowsSwitch) {
    I_PVXCtrl ctrl;
    ctrl.GetCamera().SetStandardView(GViewCamera::VIEW_FRONT);
    CRecordDC bmp;
    ASSERT_TRUE(bmp.Create());
    ctrl.MustBeCallAfterExportBMP(&bmp);
    EXPECT_EQ(bmp.Count("LineTo"), 3u);
    EXPECT_GE(bmp.Count("TextOut") + bmp.Count("ExtTextOut"), 3u);
    // Front view: the z axis points straight up from the triad's origin.
    const auto lines = bmp.GetRecords("LineTo");
    EXPECT_EQ(lines[2]->Arg(0), lines[2]->curPos.x);
    EXPECT_LT(lines[2]->Arg(1), lines[2]->curPos.y);
    EXPECT_EQ(lines[2]->pen.lopnColor, RGB(0, 0, 255));
    bmp.Clear();
    ctrl.SetShowVPointIcon(0);
    ctrl.MustBeCallAfterExportBMP(&bmp);
    EXPECT_EQ(bmp.Count("LineTo"), 0u);
}

TEST(GrxPrint, MetafilePreparationFromView) {
    CDC* ref = reinterpret_cast<CDC*>(1);
    CRect frame(1, 1, 1, 1);
    EXPECT_EQ(XGL_PrintHandler::PrepareMetafile(nullptr, ref, frame), 0);
    EXPECT_EQ(ref, nullptr);
    CWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, "view", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr));
    CRect rc;
    wnd.GetClientRect(&rc);
    ASSERT_EQ(XGL_PrintHandler::PrepareMetafile(&wnd, ref, frame), 1);
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref, XGL_PrintHandler::GetReferenceDC());
    EXPECT_EQ(XGL_PrintHandler::m_PrintParam.m_nWidth, rc.Width());
    EXPECT_EQ(XGL_PrintHandler::m_PrintParam.m_nHeight, rc.Height());
    // .01 mm at the reference's resolution.
    EXPECT_EQ(frame.Width(), MulDiv(rc.Width(), 2540, ref->GetDeviceCaps(LOGPIXELSX)));
    EXPECT_EQ(frame.Height(), MulDiv(rc.Height(), 2540, ref->GetDeviceCaps(LOGPIXELSY)));
    XGL_PrintHandler::ClearMetafile();
    EXPECT_EQ(XGL_PrintHandler::GetReferenceDC(), nullptr);
    wnd.DestroyWindow();
}

}  // namespace
