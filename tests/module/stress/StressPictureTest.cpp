// Display mode 11 drawn on the sample project through the model's render path, as the user sees
// it: the roof slabs seen from above are filled in the colour of their stress, and the vector
// display draws in the colours of the principal stresses. The pictures are kept as BMP files in
// the test directory (stress_contour.bmp, stress_vectors.bmp) to look at.
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

TEST_F(StressPictureTest, RoofSlabsTakeTheColourOfTheirStress) {
    S().m_nComponent = 3;
    ASSERT_EQ(S().InitEngine(M().m_pDeformEngine, PVXMode::kPlateStress), 1);
    M().PVXRender();
    Save("stress_contour.bmp");

    // Roof slabs (type 305) whose four corners carry one sigma-1: the whole face is one band.
    CArray<UINT, UINT> membs;
    M().GetAttrCtrl()->GetMembKeyList(membs);
    int checked = 0;
    for (INT_PTR i = 0; i < membs.GetSize(); ++i) {
        T_PMEMB_D memb;
        T_PELEM_D elem;
        T_STRP_DL rec;
        if (!M().GetAttrCtrl()->GetMemb(membs[i], memb) || memb.type != 305 || memb.aElem.GetSize() != 1) continue;
        const UINT key = memb.aElem[0];
        ASSERT_TRUE(M().GetAttrCtrl()->GetElem(key, elem));
        ASSERT_TRUE(S().GetPlateStress(key, rec));
        const double v = rec.blk[1][3];
        if (rec.blk[2][3] != v || rec.blk[3][3] != v || rec.blk[4][3] != v) continue;
        C3DPoint c;
        c.Init();
        for (int k = 0; k < 4; ++k) {
            T_PNODE_D n;
            ASSERT_TRUE(M().GetAttrCtrl()->GetNode(elem.node[k], n));
            c = c + C3DPoint(n.x, n.y, n.z) * 0.25;
        }
        SCOPED_TRACE(::testing::Message() << "roof slab " << key << ", sigma-1 " << v);
        EXPECT_EQ(Pixel(c), S().m_pContourEngine->GetValueColor(v));
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no roof slab of one value in the sample";
}

TEST_F(StressPictureTest, VectorsDrawInThePrincipalStressColours) {
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
            ++asked;
            found += seen.count(S().m_pContourEngine->GetValueColor(rec.blk[0][k])) > 0;
        }
    }
    ASSERT_GT(asked, 0);
    // Arrows overlap where plates are small on the screen; most of their colours show.
    EXPECT_GT(found, asked * 3 / 4) << found << " of " << asked;
}

}  // namespace
