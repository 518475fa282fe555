// Display mode 11 drawn on the sample project through the model's render path, as the user sees
// it: the walls seen from the side are filled in the colours of the stress scale, and the vector
// display draws in the colours of the principal stresses. The pictures are kept as BMP files in
// the test directory (stress_contour.bmp, stress_vectors.bmp) to look at.
#include <cmath>
#include <set>
#include <string>

#include "platform/gdi/BmpFile.h"
#include "tests/module/stress/StressTestSupport.h"

namespace {

class StressPictureTest : public StressFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(OpenFile(SampleProjectPath()));
        I_PVXModel& m = M();
        m.m_bLoadSelected = 1;
        m.m_nLoadType = 1;
        m.m_nLoadKey = 1;
        m.m_nDisplayMode = PVXMode::kPlateStress;
        m.m_bContour = 1;
        m.m_pDeformEngine = new CDeformEngine(&m);
        m.m_pStressEngine = new CStressEngine(&m);
        Ctrl()->SetStandardView(GViewCamera::VIEW_TOP);
    }
    CStressEngine& S() { return *M().m_pStressEngine; }
    COLORREF Pixel(const C3DPoint& p) { return Ctrl()->GetMemDC()->GetPixel(Ctrl()->GetWorldToMemDCP2D(p)); }
    void Save(const char* name) {
        const std::string path = std::string(PVX_TEST_TMPDIR) + "/" + name;
        EXPECT_TRUE(WriteBmp24(path.c_str(), Ctrl()->GetMemDC()));
    }
};

TEST_F(StressPictureTest, WallsTakeTheColoursOfTheScale) {
    // Seen from +x the shear wall (209) at x = 0 and the spandrel (210) at x = 24 face the eye:
    // the centre of every wall panel is painted in a colour of the stress scale, not left as
    // the background behind a wire frame.
    Ctrl()->SetStandardView(GViewCamera::VIEW_RIGHT);
    S().m_nComponent = 3;
    ASSERT_EQ(S().InitEngine(M().m_pDeformEngine, PVXMode::kPlateStress), 1);
    M().PVXRender();
    Save("stress_contour.bmp");
    ASSERT_NE(S().m_pContourEngine, nullptr);
    std::set<COLORREF> scale;
    for (int r = 0; r < S().m_pContourEngine->m_nNumColor; ++r) scale.insert(S().m_pContourEngine->GetRankColor(r));

    CArray<UINT, UINT> membs;
    M().GetAttrCtrl()->GetMembKeyList(membs);
    int checked = 0;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        if (!M().GetAttrCtrl()->GetMemb(membs[i], memb) || (memb.type != 209 && memb.type != 210)) continue;
        for (INT_PTR e = 0; e < memb.aElem.GetSize(); ++e) {
            T_PELEM_D elem;
            ASSERT_TRUE(M().GetAttrCtrl()->GetElem(memb.aElem[e], elem));
            C3DPoint c;
            c.Init();
            for (int k = 0; k < 4; ++k) {
                T_PNODE_D n;
                ASSERT_TRUE(M().GetAttrCtrl()->GetNode(elem.node[k], n));
                c = c + C3DPoint(n.x, n.y, n.z) * 0.25;
            }
            SCOPED_TRACE(::testing::Message() << "wall element " << memb.aElem[e]);
            // Most of a small square about the centre: the lines of beams in front may cross it.
            const CPoint at = Ctrl()->GetWorldToMemDCP2D(c);
            int inScale = 0;
            for (int dy = -4; dy <= 4; ++dy)
                for (int dx = -4; dx <= 4; ++dx)
                    inScale += static_cast<int>(scale.count(Ctrl()->GetMemDC()->GetPixel(at.x + dx, at.y + dy)));
            EXPECT_GT(inScale, 81 / 2);
            ++checked;
        }
    }
    EXPECT_GT(checked, 0) << "no wall in the sample";
}

TEST_F(StressPictureTest, VectorsDrawInThePrincipalStressColours) {
    Ctrl()->SetStandardView(GViewCamera::VIEW_RIGHT);
    S().m_nComponent = 7;
    ASSERT_EQ(S().InitEngine(M().m_pDeformEngine, PVXMode::kPlateStress), 1);
    M().PVXRender();
    Save("stress_vectors.bmp");
    // Every colour of the picture, against the colours of the centre principal stresses.
    std::set<COLORREF> seen;
    CDC* pDC = Ctrl()->GetMemDC();
    for (int y = 0; y < kHeight; y += 1)
        for (int x = 0; x < kWidth; x += 1) seen.insert(pDC->GetPixel(x, y));
    int found = 0, asked = 0;
    for (INT_PTR i = 0; i < S().m_arrElemKey.GetSize(); ++i) {
        T_STRP_DL rec;
        if (!S().GetPlateStress(S().m_arrElemKey[i], rec)) continue;
        for (int k : {3, 4}) {
            // An arrow of a tenth of the largest stress or less is a few pixels at most.
            if (std::fabs(rec.blk[0][k]) <= 0.1 * S().m_dRefMagnitude) continue;
            ++asked;
            found += seen.count(S().m_pContourEngine->GetValueColor(rec.blk[0][k])) > 0;
        }
    }
    ASSERT_GT(asked, 0);
    // Arrows overlap where plates are small on the screen; most of their colours show.
    EXPECT_GT(found, asked * 3 / 4) << found << " of " << asked;
}

}  // namespace
