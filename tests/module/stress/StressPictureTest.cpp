// Display mode 11 drawn on the sample project through the model's render path: the picture the
// user sees, written as a BMP and checked for the colours of the scale.
#include <string>

#include "platform/gdi/BmpFile.h"
#include "tests/module/stress/StressTestSupport.h"

namespace {

class StressPictureTest : public StressFixture {};

TEST_F(StressPictureTest, SampleDrawsContoursAndVectors) {
    ASSERT_TRUE(OpenFile(SampleProjectPath()));
    I_PVXModel& m = M();
    m.m_bLoadSelected = 1;
    m.m_nLoadType = 1;
    m.m_nLoadKey = 1;
    m.m_nDisplayMode = PVXMode::kPlateStress;
    m.m_bContour = 1;
    m.m_pDeformEngine = new CDeformEngine(&m);
    auto* pStress = new CStressEngine(&m);
    m.m_pStressEngine = pStress;
    Ctrl()->SetStandardView(GViewCamera::VIEW_ISO);
    for (int comp : {3, 7}) {
        pStress->m_nComponent = comp;
        pStress->InitEngine(m.m_pDeformEngine, PVXMode::kPlateStress);
        ASSERT_EQ(pStress->m_bDataReady, 1);
        m.PVXRender();
        const std::string path = std::string(PVX_TEST_TMPDIR) + "/stress_" + std::to_string(comp) + ".bmp";
        EXPECT_TRUE(WriteBmp24(path.c_str(), Ctrl()->GetMemDC()));
    }
}

}  // namespace
