// pvxhost export: the host program writes the result view through the module's export.
#include <unistd.h>

#include "tests/module/export/ExportTestSupport.h"
#include "tests/platform/gdi_emf/EmfReader.h"

namespace {

std::string Pvxhost() { return std::string(PVX_BINARY_DIR) + "/bin/pvxhost"; }

}  // namespace

// Arguments the command refuses before drawing anything, and folders it cannot write to.
TEST(HostExport, RefusesBadArgumentsAndUnwritableFolders) {
    const struct {
        const char* label;
        std::string args;
        int code;
        const char* message;
    } rows[] = {
        {"unknown format", "--format gif --out " + TmpPath("x.gif"), 2, "--format expects emf or bmp, not \"gif\""},
        {"no format, and the name tells none", "--out " + TmpPath("x.txt"), 2, "cannot tell the format"},
        {"no output", "--format emf", 2, "--out FILE is required"},
        {"value missing", "--format", 2, "--format needs a value"},
        {"bad size", "--format bmp --size 10x10 --out " + TmpPath("x.bmp"), 2, "--size expects WIDTHxHEIGHT"},
        {"missing folder", "--format emf --out /nonexistent-pvx-folder/x.emf", 1, "does not exist"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.label);
        std::string out;
        EXPECT_EQ(r.code, RunCommand(Pvxhost() + " export " + r.args, out)) << out;
        EXPECT_NE(std::string::npos, out.find(r.message)) << out;
    }
}

// Both formats written from the sample project; a path the module cannot write is a failure.
TEST_F(ExportFixture, HostWritesEmfAndBmpOfTheSampleProject) {
    Open();
    const std::string emf = TmpPath("host.emf"), bmp = TmpPath("host.bmp");
    ::unlink(emf.c_str());
    ::unlink(bmp.c_str());
    std::string out;
    ASSERT_EQ(0, RunCommand(Pvxhost() + " export --format emf --view plan --size 320x240 --out " + emf, out)) << out;
    EmfFile f;
    ASSERT_TRUE(f.Load(emf)) << f.problem;
    size_t shapes = 0;
    for (uint32_t t : {U_EMR_POLYGON, U_EMR_POLYGON16, U_EMR_POLYPOLYGON, U_EMR_POLYPOLYGON16})
        shapes += f.OfType(t).size();
    EXPECT_GT(shapes, 10u) << "the sample building";

    ASSERT_EQ(0, RunCommand(Pvxhost() + " export --format bmp --size 320x240 --out " + bmp, out)) << out;
    int w = 0, h = 0;
    long differing = 0;
    ASSERT_TRUE(PilImageStats(bmp, w, h, differing));
    EXPECT_EQ(320, w);
    EXPECT_EQ(240, h);
    EXPECT_GT(differing, 320L * 240 / 50);

    // The folder is writable but the name is a folder: refused before anything is drawn.
    EXPECT_EQ(1, RunCommand(Pvxhost() + " export --format emf --out " + std::string(PVX_TEST_TMPDIR), out)) << out;
    EXPECT_NE(std::string::npos, out.find("it is a folder")) << out;
}
