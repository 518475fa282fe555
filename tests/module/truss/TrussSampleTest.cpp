// The trusses and the curved balcony beam of the sample project against its database: truss
// values along every member are the linear interpolation of the stored end values, the balcony's
// diagram follows its arc with the stored station values, and the frame force contour and
// diagram of the sample are drawn into pictures (zoomed on the annex's truss and the balcony).
// Expected values are read from the project file with SQLite or derived from the sample's
// geometry, not through the engine.
#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "host/grx/GRenderView.h"
#include "platform/gdi/BmpFile.h"
#include "tests/module/truss/TrussTestSupport.h"

namespace trusstest {

namespace {

std::string SamplePath() { return std::string(PVX_BINARY_DIR) + "/examples/sample.pvxdb"; }

// One row's blob as doubles or keys.
template <class T>
std::vector<T> Blob(sqlite3* db, const std::string& sql, sqlite3_int64 id) {
    std::vector<T> out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return out;
    sqlite3_bind_int64(st, 1, id);
    if (sqlite3_step(st) == SQLITE_ROW) {
        out.resize(static_cast<size_t>(sqlite3_column_bytes(st, 0)) / sizeof(T));
        if (!out.empty()) std::memcpy(out.data(), sqlite3_column_blob(st, 0), out.size() * sizeof(T));
    }
    sqlite3_finalize(st);
    return out;
}

C3DPoint NodeAt(sqlite3* db, UINT key) {
    sqlite3_stmt* st = nullptr;
    C3DPoint p;
    sqlite3_prepare_v2(db, "SELECT x, y, z FROM PNODE WHERE key = ?", -1, &st, nullptr);
    sqlite3_bind_int64(st, 1, key);
    if (sqlite3_step(st) == SQLITE_ROW)
        p = C3DPoint(sqlite3_column_double(st, 0), sqlite3_column_double(st, 1), sqlite3_column_double(st, 2));
    sqlite3_finalize(st);
    return p;
}

// A member as the database holds it: its nodes' positions and its forces under DL.
struct DbMember {
    UINT key = 0;
    std::vector<C3DPoint> nodes;
    std::vector<double> forces;  // MBBR (12) or STRG (96)
};

std::vector<DbMember> ReadMembers(const std::string& path, int type, const char* table) {
    std::vector<DbMember> out;
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) return out;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT key FROM PMEMB WHERE type = ? ORDER BY key", -1, &st, nullptr);
    sqlite3_bind_int(st, 1, type);
    std::vector<UINT> keys;
    while (sqlite3_step(st) == SQLITE_ROW) keys.push_back(static_cast<UINT>(sqlite3_column_int64(st, 0)));
    sqlite3_finalize(st);
    for (UINT key : keys) {
        DbMember m;
        m.key = key;
        for (uint32_t n : Blob<uint32_t>(db, "SELECT nodes FROM PMEMB WHERE key = ?", key)) m.nodes.push_back(NodeAt(db, n));
        // Load case 1 is DL.
        m.forces = Blob<double>(db, std::string("SELECT d FROM ") + table + " WHERE id = ?", (sqlite3_int64{1} << 32) | key);
        out.push_back(m);
    }
    sqlite3_close(db);
    return out;
}

class SampleView : public GRenderView {};

}  // namespace

class TrussSampleTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_doc.OpenDocument(SamplePath().c_str()));
        m_pSaved = CDBDoc::m_pDBDoc;
        CDBDoc::m_pDBDoc = &m_doc;
        m_model = std::make_unique<I_PVXModel>();
        I_PVXModel& m = *m_model;
        LinkModelInView(m, m_view.GetI_PVXCtrl(), &m_view, 800, 600, GViewCamera::VIEW_ISO);
        SelectModelLoad(m, 1, 1, 0);  // DL
        m.m_bContour = 1;
        m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
        m.m_pDispOpt->m_bWireFrame = 0;  // members as solids
    }
    void TearDown() override {
        m_model.reset();
        CDBDoc::m_pDBDoc = m_pSaved;
    }
    // The model's engine for a display mode and component, built as the bars would.
    CForceEngine& Show(int mode, int comp, int columns = 1) {
        I_PVXModel& m = *m_model;
        m.m_nDisplayMode = mode;
        delete m.m_pForceEngine;
        m.m_pForceEngine = new CForceEngine(&m);
        m.m_pForceEngine->m_nBForcComp = comp;
        m.m_pForceEngine->m_bShowColumn = columns;
        EXPECT_EQ(m.m_pForceEngine->InitEngine(nullptr, mode), 1);
        return *m.m_pForceEngine;
    }
    // Renders the view zoomed on a box and writes the picture.
    void Picture(const C3DPoint& lo, const C3DPoint& hi, const char* name) {
        I_PVXCtrl* ctrl = m_view.GetI_PVXCtrl();
        ctrl->ZoomToRange(lo, hi);
        m_model->RenderImpl();
        const std::string out = std::string(PVX_TEST_TMPDIR) + "/" + name;
        EXPECT_TRUE(WriteBmp24(out.c_str(), ctrl->GetMemDC())) << out;
    }
    // Pixels of the last picture in the band colour of a value.
    int PixelsOfValue(double v) {
        const COLORREF want = m_model->m_pForceEngine->m_pContourEngine->GetValueColor(v);
        CDC* dc = m_view.GetI_PVXCtrl()->GetMemDC();
        int n = 0;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) n += dc->GetPixel(x, y) == want;
        return n;
    }

    CDBDoc m_doc;
    CDBDoc* m_pSaved = nullptr;
    SampleView m_view;
    std::unique_ptr<I_PVXModel> m_model;
};

TEST_F(TrussSampleTest, ValuesAlongEveryTrussFollowTheStoredEnds) {
    const std::vector<DbMember> trusses = ReadMembers(SamplePath(), 206, "MBBR");
    ASSERT_EQ(trusses.size(), 17u) << "4 + 4 chords, 5 posts, 4 diagonals";
    CForceEngine& e = Show(7, 0);
    EXPECT_EQ(e.m_arrTrussKey.GetSize(), 17);
    int shears = 0;
    for (const DbMember& t : trusses) {
        SCOPED_TRACE(testing::Message() << "truss " << t.key);
        ASSERT_EQ(t.forces.size(), 12u);
        ASSERT_EQ(t.nodes.size(), 2u);
        T_MBBR_D rec;
        ASSERT_EQ(e.GetTrussForce(t.key, rec), 1);
        const C3DPoint a = t.nodes[0], b = t.nodes[1];
        // Axial force and shear z (the top chord carries the canopy between panel points).
        for (int comp : {0, 2}) {
            e.m_nBForcComp = comp;
            const double vI = t.forces[static_cast<size_t>(comp)], vJ = t.forces[static_cast<size_t>(6 + comp)];
            shears += comp == 2 && vI != vJ;
            for (double f : {0.0, 0.2, 0.5, 0.75, 1.0})
                EXPECT_NEAR(e.CalcPart4NearValue(rec, a + (b - a) * f, a, b), vI + f * (vJ - vI), 1e-9)
                    << "component " << comp << " at " << f;
        }
    }
    EXPECT_EQ(shears, 4) << "the four top chords";
}

TEST_F(TrussSampleTest, BalconyDiagramFollowsItsArc) {
    // The balcony beam: the type-201 member of more than two nodes. The sample puts it on the
    // chord (6, 18) - (12, 18) at z 3.6 with a rise of 1.5 m: radius (3^2 + 1.5^2) / 3 = 3.75
    // about (9, 15.75).
    const double cx = 9.0, cy = 15.75, r = 3.75;
    DbMember balcony;
    for (const DbMember& m : ReadMembers(SamplePath(), 201, "STRG"))
        if (m.nodes.size() > 2) balcony = m;
    ASSERT_EQ(balcony.nodes.size(), 9u);
    ASSERT_EQ(balcony.forces.size(), 96u);
    for (const C3DPoint& p : balcony.nodes) EXPECT_NEAR(std::hypot(p.x - cx, p.y - cy), r, 1e-9);

    CForceEngine& e = Show(7, 4);
    e.m_dBSfdBmdAdjustFactor = 0.01;
    e.m_dBSfdBmdScale = 1.0;
    diagramtest::Lists l;
    // The diagram as the display builds it, through the plan line of the member's arc height.
    CArray<double, double> poses;
    m_model->RE_GetMembNodePosesFrame(m_model->m_nObjectIDFirst, balcony.key, poses);
    const double h = CForceEngine::MembArcHeight(poses);
    EXPECT_NEAR(h, 1.5, 1e-9);
    T_STRG_D rec;
    ASSERT_EQ(e.GetBeamForce(balcony.key, rec), 1);
    double axes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    C3DPoint i = balcony.nodes.front(), j = balcony.nodes.back();
    CForceEngine::DiagramPointList line;
    e.BSfdBmdMakePolygon_New(rec, 4, axes, i, j, l.points, l.values, l.edges, l.quads, nullptr, nullptr, 0, &line, h);
    ASSERT_EQ(line.GetSize(), 16);
    // Station k at angle a0 + (a1 - a0) k / 8 of the arc, its moment (stored at 12 k + 4, the
    // last at 12 x 7 + 6 + 4) 0.01 m per kN m below it.
    const double a0 = std::atan2(18.0 - cy, 6.0 - cx), a1 = std::atan2(18.0 - cy, 12.0 - cx);
    for (int k = 0; k <= 8; ++k) {
        SCOPED_TRACE(testing::Message() << "station " << k);
        const double a = a0 + (a1 - a0) * k / 8.0;
        const double m = balcony.forces[static_cast<size_t>(k < 8 ? 12 * k + 4 : 12 * 7 + 6 + 4)];
        const C3DPoint& p = line[k < 8 ? 2 * k : 15];
        EXPECT_NEAR(p.x, cx + r * std::cos(a), 1e-9);
        EXPECT_NEAR(p.y, cy + r * std::sin(a), 1e-9);
        EXPECT_NEAR(p.z, 3.6 - 0.01 * m, 1e-9);
    }
}

TEST_F(TrussSampleTest, PicturesOfTheTrussAndTheBalcony) {
    // The annex truss at x 30, y 0 .. 12, z 4.5 .. 5.5; the balcony at z 3.6 north of y 18.
    const C3DPoint trussLo(29, -1, 3.5), trussHi(31, 13, 6.5);
    const C3DPoint balconyLo(5, 15, 2.5), balconyHi(13, 20, 4.5);
    I_PVXModel& m = *m_model;
    m.m_pDispOpt->m_Number.m_bShowNumbers = 1;
    m.m_pDispOpt->m_Number.m_nDecimals = 0;
    // Each picture shows the band colours of the extremes of its members: the truss's top chord
    // (the axial minimum) and bottom chord (the maximum), the balcony's end moment (the
    // minimum of moment y).
    CForceEngine& contour = Show(6, 0);
    contour.m_bNumIEnd = contour.m_bNumJEnd = 1;
    ASSERT_EQ(contour.m_bTForcData, 1);
    const double tMin = contour.m_dTForcMin, tMax = contour.m_dTForcMax;
    Picture(trussLo, trussHi, "truss_contour_n.bmp");
    EXPECT_GT(PixelsOfValue(tMin), 20);
    EXPECT_GT(PixelsOfValue(tMax), 20);
    CForceEngine& diagram = Show(7, 0);
    diagram.m_bNumIEnd = diagram.m_bNumMiddle = diagram.m_bNumJEnd = 1;
    Picture(trussLo, trussHi, "truss_diagram_n.bmp");
    EXPECT_GT(PixelsOfValue(tMin), 20);
    EXPECT_GT(PixelsOfValue(tMax), 20);
    Show(7, 2).m_bNumIEnd = 1;
    Picture(trussLo, trussHi, "truss_diagram_vz.bmp");
    // The balcony from above, its diagram laid into the plan.
    m_view.GetI_PVXCtrl()->SetStandardView(GViewCamera::VIEW_TOP);
    m.m_b2DDiagram = 1;
    const double mMin = Show(7, 4, 0).m_dLegendMin;  // columns plain: the balcony's own extreme
    Picture(balconyLo, balconyHi, "balcony_diagram_my.bmp");
    EXPECT_GT(PixelsOfValue(mMin), 20);
    m.m_b2DDiagram = 0;
    m.m_pDispOpt->m_Number.m_bShowNumbers = 0;
    Show(6, 4, 0);
    Picture(balconyLo, balconyHi, "balcony_contour_my.bmp");
    EXPECT_GT(PixelsOfValue(mMin), 20);
}

}  // namespace trusstest
