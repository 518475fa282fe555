// The files pvxhost writes: only regular files or new names, never the open project, always
// through a temporary file that replaces the target only when it is whole, so that a failed or
// refused write leaves an earlier file as it was.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/app/HostOutput.h"
#include "tests/host/app/HostRun.h"

namespace fs = std::filesystem;

namespace {

const std::string kEarlier = "an earlier file\n";

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << text;
}

// A fresh folder of its own for a test.
std::string MakeFolder(const std::string& name) {
    const std::string dir = hostrun::kTmp + "/" + name + "_" + hostrun::kPid;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// Names in a folder, to see that no temporary file was left behind.
std::vector<std::string> Listing(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Every line of stderr is the program's own message of that command.
void ExpectOwnMessages(const std::string& err, const std::string& command) {
    for (const std::string& line : hostrun::Lines(err))
        EXPECT_EQ(line.rfind("pvxhost " + command + ": ", 0), 0u) << "a line not formatted: " << line;
}

void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

// A 2 x 2 24-bit BMP: 14 + 40 header bytes, rows of 6 bytes padded to 8: 54 + 16 = 70 bytes.
std::string Bmp2x2() {
    std::string s(70, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 2, 70);   // bfSize
    Put32(s, 10, 54);  // bfOffBits
    Put32(s, 14, 40);  // biSize
    Put32(s, 18, 2);   // biWidth
    Put32(s, 22, 2);   // biHeight
    s[26] = 1;         // biPlanes
    s[28] = 24;        // biBitCount
    return s;
}

// The smallest EMF: an EMR_HEADER of 108 bytes (type 1, " EMF" at 40, the file's 128 bytes at
// 48) and an EMR_EOF of 20 bytes (type 14, no palette, nSizeLast 20).
std::string Emf() {
    std::string s(128, '\0');
    Put32(s, 0, 1);
    Put32(s, 4, 108);
    Put32(s, 40, 0x464D4520u);
    Put32(s, 44, 0x10000);
    Put32(s, 48, 128);
    Put32(s, 52, 2);
    Put32(s, 108, 14);
    Put32(s, 112, 20);
    Put32(s, 120, 16);
    Put32(s, 124, 20);
    return s;
}

// An SQLite header of one 4096-byte page (page size at 16, big-endian; page count at 28, valid
// as the change counter at 24 equals the one at 92).
std::string Sqlite(size_t bytes) {
    std::string s(bytes, '\0');
    std::string magic = "SQLite format 3";
    s.replace(0, magic.size(), magic);
    s[16] = 0x10;  // 4096
    s[27] = 1;     // change counter 1
    s[31] = 1;     // 1 page
    s[95] = 1;     // valid-for 1
    return s;
}

// A temporary file is put in place only when it holds a whole file of its format.
TEST(HostOutputFile, OnlyWholeFilesReplaceTheTarget) {
    const std::string dir = MakeFolder("whole");
    std::string shortBmp = Bmp2x2().substr(0, 60);
    std::string noEof = Emf();
    Put32(noEof, 108, 40);  // the last record is not EMR_EOF
    const std::string shortEmf = Emf().substr(0, 120);
    struct Row {
        const char* label;
        const char* name;
        CHostOutputFile::EFormat format;
        std::string content;
        long width, height;
        bool accepted;
        const char* why;
    } rows[] = {
        {"whole bitmap", "a.bmp", CHostOutputFile::kBmp, Bmp2x2(), 2, 2, true, ""},
        {"bitmap cut short", "b.bmp", CHostOutputFile::kBmp, shortBmp, 2, 2, false, "header counts 70 bytes, 60"},
        {"bitmap of another size", "c.bmp", CHostOutputFile::kBmp, Bmp2x2(), 3, 2, false, "is 2x2, not 3x2"},
        {"empty file", "d.bmp", CHostOutputFile::kBmp, "", 0, 0, false, "no file was made"},
        {"whole metafile", "e.emf", CHostOutputFile::kEmf, Emf(), 0, 0, true, ""},
        {"metafile cut short", "f.emf", CHostOutputFile::kEmf, shortEmf, 0, 0, false, "header counts 128 bytes, 120"},
        {"metafile without its end", "g.emf", CHostOutputFile::kEmf, noEof, 0, 0, false, "end-of-file record"},
        {"whole project", "h.pvxdb", CHostOutputFile::kProject, Sqlite(4096), 0, 0, true, ""},
        {"project cut short", "i.pvxdb", CHostOutputFile::kProject, Sqlite(2048), 0, 0, false, "incomplete"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string target = dir + "/" + r.name;
        WriteText(target, kEarlier);
        CHostOutputFile out(target, r.format);
        ASSERT_EQ(out.Check(""), 0);
        ASSERT_EQ(out.Begin(), 0);
        const std::string temp = out.GetTempPath();
        EXPECT_EQ(fs::path(temp).parent_path(), fs::path(target).parent_path()) << "beside the target";
        WriteText(temp, r.content);
        testing::internal::CaptureStderr();
        const int status = out.Commit(r.width, r.height);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(status, r.accepted ? 0 : HOST_EXIT_FAILED) << err;
        EXPECT_EQ(hostrun::ReadFile(target), r.accepted ? r.content : kEarlier);
        EXPECT_FALSE(fs::exists(temp));
        EXPECT_NE(err.find(r.why), std::string::npos) << err;
        if (!r.accepted) {
            EXPECT_NE(err.find(target), std::string::npos) << "names the target: " << err;
            EXPECT_EQ(err.find(temp), std::string::npos) << "never the temporary file: " << err;
            EXPECT_NE(err.find("unchanged"), std::string::npos) << err;
        }
    }
    EXPECT_EQ(Listing(dir).size(), std::size(rows)) << "no temporary file left";
    fs::remove_all(dir);
}

// The file keeps the permissions of the file it replaces; a new one gets the usual ones.
TEST(HostOutputFile, PermissionsAreThoseOfTheFileReplacedOrTheUsualOnes) {
    const std::string dir = MakeFolder("modes");
    const mode_t mask = umask(0);
    umask(mask);
    const std::string kept = dir + "/kept.bmp", fresh = dir + "/fresh.bmp";
    WriteText(kept, kEarlier);
    chmod(kept.c_str(), 0640);
    for (const std::string& target : {kept, fresh}) {
        CHostOutputFile out(target, CHostOutputFile::kBmp);
        ASSERT_EQ(out.Check(""), 0);
        ASSERT_EQ(out.Begin(), 0);
        WriteText(out.GetTempPath(), Bmp2x2());
        ASSERT_EQ(out.Commit(2, 2), 0);
    }
    struct stat st {};
    ASSERT_EQ(stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ASSERT_EQ(stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0666u & ~mask) << "as a new file made by any program";
    fs::remove_all(dir);
}

// Names that must not be written are refused before any work, with a message, and whatever is
// there stays as it was.
TEST(PvxHostOutputs, RefusedNamesLeaveEverythingAsItWas) {
    const std::string dir = MakeFolder("refused");
    const std::string project = dir + "/p.pvxdb";
    fs::copy_file(hostrun::SamplePath(), project);
    const std::string original = hostrun::ReadFile(project);
    fs::create_symlink(project, dir + "/link_to_project.bmp");
    fs::create_hard_link(project, dir + "/hard_to_project.emf");
    fs::create_directories(dir + "/sub");
    fs::create_directories(dir + "/folder.emf");
    fs::create_directories(dir + "/folder.pvxdb");
    fs::create_symlink("/dev/null", dir + "/null.pvxdb");
    ASSERT_EQ(mkfifo((dir + "/fifo.bmp").c_str(), 0644), 0);
    ASSERT_EQ(mkfifo((dir + "/pipe.emf").c_str(), 0644), 0);
    fs::create_symlink(project, dir + "/vl.emf");
    fs::create_symlink(project, dir + "/link_to_project.pvxdb");
    WriteText(dir + "/notes.txt", kEarlier);
    for (const char* name : {"/notes.bmp", "/notes.avi"}) fs::create_symlink("notes.txt", dir + name);
    const std::string db = "--db '" + project + "' ";
    const std::string graph = db + "graph modes --out '" + dir + "/g.bmp' --save-as '" + dir + "/";
    const std::string figure = db + "figure 132 --save --out '" + dir + "/f.bmp' --move ";
    struct Row {
        const char* label;
        std::string args;
        int code;
        std::vector<const char*> says;
    } rows[] = {
        {"the open project", db + "render --out '" + project + "'", 2, {"it is the open project"}},
        {"a link to the open project", db + "render --out '" + dir + "/link_to_project.bmp'", 2,
         {"the open project", "a link to"}},
        {"another name of the open project", db + "export --out '" + dir + "/hard_to_project.emf'", 2,
         {"the open project"}},
        {"another path to it", db + "export --format emf --out '" + dir + "/sub/../hard_to_project.emf'", 2,
         {"the open project"}},
        {"a PNG name for a bitmap", db + "render --out '" + dir + "/x.png'", 2, {"PNG", "BMP", ".bmp"}},
        {"a BMP name for a metafile", db + "export --format emf --out '" + dir + "/y.bmp'", 2,
         {"names a BMP file", "EMF", ".emf"}},
        {"no format to tell", db + "export --out '" + dir + "/y.png'", 2, {"cannot tell the format"}},
        // Before, "names a BMP  file, but the output is a BMP picture", and a name's line break
        // was echoed raw, forging a line of the report.
        {"a name ending in a blank", db + "render --out '" + dir + "/x.bmp '", 2, {"ends in a blank after .bmp"}},
        {"a name holding a line break", db + "render --out '" + dir + "/x\nWrote y.bmp'", 2,
         {"x\\nWrote y.bmp\" holds a control character"}},
        {"a device", db + "render --out /dev/null", 1, {"/dev/null", "a device"}},
        {"a device for export", db + "export --out /dev/null", 1, {"/dev/null", "a device"}},
        {"a device for the metafile", db + "export --format emf --out /dev/null", 1, {"a device"}},
        {"a link to a device", "make-sample --out '" + dir + "/null.pvxdb'", 1, {"a link to \"/dev/null\"", "a device"}},
        // Before, the sample replaced the project through the link.
        {"a link to the open project for the sample", db + "make-sample --out '" + dir + "/link_to_project.pvxdb'", 2,
         {"the open project", "a link to"}},
        {"a named pipe", db + "render --out '" + dir + "/fifo.bmp'", 1, {"named pipe"}},
        {"a folder", db + "export --out '" + dir + "/folder.emf'", 1, {"a folder"}},
        {"a folder for the project", "make-sample --out '" + dir + "/folder.pvxdb'", 1, {"a folder"}},
        {"a missing folder", db + "render --out '" + dir + "/missing/x.bmp'", 1, {"does not exist"}},
        // Before, the graph's save dialog wrote over the project and waited on the pipe; a text
        // moved was stored as +infinity (no command opened the project) or as 1e9 (blank sheets).
        {"the open project for the graph", graph + "p.pvxdb'", 2, {"it is the open project"}},
        {"a link to the open project for the graph", graph + "link_to_project.bmp'", 2, {"the open project", "a link to"}},
        {"another name of the open project for the graph", graph + "hard_to_project.emf'", 2, {"the open project"}},
        {"a named pipe for the graph", graph + "fifo.bmp'", 1, {"named pipe"}},
        // Before, a name without an extension went to the dialog as it was, which added .emf and
        // wrote in place; a link was checked by its own name; both outputs wrote one file.
        {"a link to the project, named without .emf", graph + "vl'", 2, {"vl.emf\" (a link to", "open project"}},
        {"a named pipe, named without .emf", graph + "pipe'", 1, {"pipe.emf\"", "named pipe"}},
        {"the graph's own picture", graph + "g.bmp'", 2, {"name the same file"}},
        {"a link to a text file", db + "render --out '" + dir + "/notes.bmp'", 2, {"notes.txt\"", "TXT"}},
        {"a film through it", db + "animate 7301 --out '" + dir + "/notes.avi'", 2, {"notes.txt\"", "TXT"}},
        {"a film's picture", db + "animate 7301 --out '" + dir + "/f.avi' --seek 1 --picture '" + dir + "/notes.bmp'",
         2, {"notes.txt\"", "TXT"}},
        {"the graph's save", graph + "notes.bmp'", 2, {"notes.txt\"", "TXT"}},
        {"a damping graph", db + "graph damping --out '" + dir + "/notes.bmp'", 2, {"notes.txt\"", "TXT"}},
        {"a figure", db + "figure 132 --out '" + dir + "/notes.bmp'", 2, {"notes.txt\"", "TXT"}},
        {"a text moved to infinity", figure + "0=1e308,0", 2, {"beyond the sheet's reach", "nothing was moved"}},
        {"a text moved 1e9 away", figure + "0=1e9,1e9", 2, {"beyond the sheet's reach"}},
    };
    const std::vector<std::string> before = Listing(dir);
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        // A writer that opened the pipe would wait for a reader for ever.
        const hostrun::RunResult res = hostrun::RunHost(r.args, "refused", 120);
        EXPECT_EQ(res.code, r.code) << res.err;
        for (const char* text : r.says) EXPECT_NE(res.err.find(text), std::string::npos) << text << " in " << res.err;
        EXPECT_EQ(hostrun::Lines(res.err).size(), 1u) << res.err;
        EXPECT_TRUE(res.out.empty()) << res.out;
        EXPECT_EQ(hostrun::ReadFile(project), original) << "the project is intact";
        EXPECT_EQ(hostrun::ReadFile(dir + "/notes.txt"), kEarlier);
        EXPECT_EQ(Listing(dir), before) << "nothing made, nothing left";
    }
    EXPECT_TRUE(fs::is_symlink(dir + "/null.pvxdb"));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(dir + "/fifo.bmp"));
    fs::remove_all(dir);
}

// An output named through a symbolic link writes the file the link points to; the link stays.
TEST(PvxHostOutputs, ALinkToAFileWritesThatFile) {
    const std::string dir = MakeFolder("links"), real = dir + "/real", names = dir + "/names";
    fs::create_directories(real);
    fs::create_directories(names);
    struct Row {
        const char* label;
        std::string args;  // before --out
        const char* file;
        const char* magic;  // the written file starts with it
    } rows[] = {
        {"render", "--db '" + hostrun::SamplePath() + "' render --size 64x48", "pic.bmp", "BM"},
        {"export", "--db '" + hostrun::SamplePath() + "' export --format emf --size 64x48", "pic.emf", "\x01"},
        {"make-sample", "make-sample", "project.pvxdb", "SQLite format 3"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string target = real + "/" + r.file, link = names + "/" + r.file;
        WriteText(target, kEarlier);
        fs::create_symlink("../real/" + std::string(r.file), link);
        const hostrun::RunResult res = hostrun::RunHost(r.args + " --out '" + link + "'", "link");
        ASSERT_EQ(res.code, 0) << res.err;
        EXPECT_TRUE(fs::is_symlink(link)) << "the link is kept";
        EXPECT_EQ(hostrun::ReadFile(target).rfind(r.magic, 0), 0u) << "the file it points to is written";
    }
    EXPECT_EQ(Listing(real), (std::vector<std::string>{"pic.bmp", "pic.emf", "project.pvxdb"}));
    EXPECT_EQ(Listing(names), (std::vector<std::string>{"pic.bmp", "pic.emf", "project.pvxdb"}));
    fs::remove_all(dir);
}

// On a full disk every command fails with status 1, says so in its own words, and leaves the
// earlier file as it was and no temporary file behind.
TEST(PvxHostOutputs, AFullDiskKeepsTheEarlierFile) {
    const std::string dir = MakeFolder("full");
    // 64 KiB: less than any of the outputs (a 320 x 240 BMP is 230 454 bytes; the EMF and
    // the sample project are larger still).
    const long limit = 64 * 1024;
    struct Row {
        const char* command;
        std::vector<std::string> args;
        const char* file;
        const char* cause;  // the last line names it
    } rows[] = {
        {"render", {"--db", hostrun::SamplePath(), "render", "--size", "320x240", "--out"}, "r.bmp", "File too large"},
        {"export", {"--db", hostrun::SamplePath(), "export", "--format", "emf", "--out"}, "e.emf", "File too large"},
        {"export", {"--db", hostrun::SamplePath(), "export", "--size", "320x240", "--out"}, "e.bmp", "File too large"},
        {"make-sample", {"make-sample", "--out"}, "s.pvxdb", "File too large"},
        // Before, the graph's save dialog removed the earlier file; the figures' last lines
        // named no cause.
        {"graph modes", {"--db", hostrun::SamplePath(), "graph", "modes", "--out", dir + "/never.bmp", "--save-as"}, "g.bmp",
         "File too large"},
        {"figure", {"--db", hostrun::SamplePath(), "figure", "132", "--out"}, "f.bmp", "File too large"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        const std::string target = dir + "/" + r.file;
        WriteText(target, kEarlier);
        std::vector<std::string> args = r.args;
        args.push_back(target);
        const hostrun::RunResult res = hostrun::RunHostWithFileLimit(args, limit, "full");
        EXPECT_EQ(res.code, 1) << res.err;
        EXPECT_EQ(res.out.find("Wrote"), std::string::npos) << res.out;
        EXPECT_NE(res.err.find("cannot write \"" + target + "\""), std::string::npos) << res.err;
        EXPECT_NE(res.err.find("unchanged"), std::string::npos) << res.err;
        EXPECT_NE(hostrun::Lines(res.err).empty() ? std::string::npos : hostrun::Lines(res.err).back().find(r.cause), std::string::npos)
            << res.err;
        EXPECT_EQ(res.err.find("/." + std::string(r.file) + "."), std::string::npos) << "temporary name shown";
        ExpectOwnMessages(res.err, r.command);
        EXPECT_EQ(hostrun::ReadFile(target), kEarlier);
    }
    // Out of memory: before, std::bad_alloc ended the program with abort (status 134). A
    // sanitizer's allocator ends the program itself and needs an address space of its own.
#if !defined(__SANITIZE_ADDRESS__)
    const std::string big = dir + "/m.pvxdb";
    WriteText(big, kEarlier);
    const hostrun::RunResult res = hostrun::RunHostWithMemoryLimit({"make-sample", "--size", "2000000", "--out", big}, 1024L << 20, "nomem");
    EXPECT_EQ(res.code, 1) << res.err;
    EXPECT_NE(res.err.find("pvxhost make-sample: out of memory"), std::string::npos) << res.err;
    EXPECT_EQ(hostrun::ReadFile(big), kEarlier);
    fs::remove(big);
#endif
    EXPECT_EQ(Listing(dir), (std::vector<std::string>{"e.bmp", "e.emf", "f.bmp", "g.bmp", "r.bmp", "s.pvxdb"}));
    fs::remove_all(dir);
}

}  // namespace

// A name of up to 255 bytes is legal; the temporary file beside it must be too. Before, names of
// 248 bytes and more rendered and then failed on the temporary file.
TEST(HostOutputFile, LongNamesGetATemporaryFileThatFits) {
    const std::string dir = MakeFolder("long_names");
    for (const size_t len : {200u, 247u, 248u, 251u, 255u}) {
        SCOPED_TRACE(len);
        const std::string name = std::string(len - 4, 'n') + ".bmp";
        const std::string path = dir + "/" + name;
        CHostOutputFile out(path, CHostOutputFile::kBmp);
        ASSERT_EQ(out.Check(""), 0);
        ASSERT_EQ(out.Begin(), 0);
        WriteText(out.GetTempPath(), Bmp2x2());
        ASSERT_EQ(out.Commit(2, 2), 0);
        EXPECT_EQ(Listing(dir), std::vector<std::string>{name});
        fs::remove(path);
    }
    // Before, a DXF export failed from 239 bytes (its own temporary name was 5 bytes longer). A
    // killed writer's temporary file goes with the next write; a live writer's stays, and so does
    // a file of the user's named as one (before, it went).
    const std::string dxf = std::string(251, 'k') + ".dxf";
    const hostrun::RunResult res = hostrun::RunHost("--db '" + hostrun::SamplePath() + "' figure 132 --out '" + dir + "/" + dxf + "'", "long_dxf");
    EXPECT_EQ(res.code, 0) << res.err;
    EXPECT_EQ(Listing(dir), std::vector<std::string>{dxf});
    fs::remove(dir + "/" + dxf);
    const std::string target = dir + "/k.dxf", mine = dir + "/.k.dxf.AbCdEf.dxf";
    WriteText(mine, "0\nSECTION\n");
    if (fork() == 0) {
        CHostOutputFile killed(target, CHostOutputFile::kDxf);
        if (killed.Begin() == 0) WriteText(killed.GetTempPath(), "0\nSECTION\n");
        raise(SIGKILL);
    }
    wait(nullptr);
    ASSERT_EQ(Listing(dir).size(), 2u) << "the killed writer's file is left";
    CHostOutputFile live(target, CHostOutputFile::kDxf);
    ASSERT_EQ(live.Begin(), 0);
    CHostOutputFile next(target, CHostOutputFile::kDxf);
    ASSERT_EQ(next.Begin(), 0);
    std::vector<std::string> kept;
    for (const std::string& path : {mine, live.GetTempPath(), next.GetTempPath()}) kept.push_back(fs::path(path).filename());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Listing(dir), kept);
    // Writers killed at any moment of making their files: the next write leaves none of them.
    // Before, a kill between making the file and recording it left a file no run removed.
    for (int i = 0; i < 30; ++i) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0)
            for (;;) CHostOutputFile(target, CHostOutputFile::kDxf).Begin();
        usleep(500 + 150 * i);
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    CHostOutputFile after(target, CHostOutputFile::kDxf);
    ASSERT_EQ(after.Begin(), 0);
    kept.push_back(fs::path(after.GetTempPath()).filename());
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(Listing(dir), kept);
}

// Another program's files are left alone by every writer: a file of the user's named as a
// temporary file would be stays, and a link put at the temporary file's name
// (PVXHOST_FAULT=swap-temp: to the open project) is neither written through nor put in place.
// Before, the file went with the next write, and the output replaced the project while the run
// said nothing was written.
TEST(PvxHostOutputs, OtherProgramsFilesAndLinksAreLeftAlone) {
    const std::string dir = MakeFolder("others"), project = dir + "/p.pvxdb";
    fs::copy_file(hostrun::SamplePath(), project);
    fs::create_directories(dir + "/tmp");
    setenv("TMPDIR", (dir + "/tmp").c_str(), 1);
    const std::string original = hostrun::ReadFile(project), db = "--db '" + project + "' ";
    const struct Row {
        const char* label;
        std::string args;  // before the output's name
        const char* file;
    } rows[] = {
        {"render", db + "render --size 64x48 --out", "r.bmp"},
        {"export", db + "export --size 64x48 --out", "e.bmp"},
        {"export a metafile", db + "export --format emf --out", "e.emf"},
        {"show", db + "show 7301 --out", "s.bmp"},
        {"design", db + "design 28 --storey 2 --out", "d.emf"},
        {"figure", db + "figure 132 --out", "f.dxf"},
        {"figure picture", db + "figure 132 --out", "f.bmp"},
        {"graph", db + "graph modes --out", "g.bmp"},
        {"graph saved", db + "graph modes --out '" + dir + "/g2.bmp' --save-as", "gs.emf"},
        {"damping graph", db + "graph damping --out", "gd.bmp"},
        // The legend takes 180 pixels of the width.
        {"film", db + "animate 7201 --load DL --size 220x48 --frames 3 --out", "a.avi"},
        {"project", db + "make-sample --frame-bays 1 --out", "m.pvxdb"},
    };
    for (const Row& r : rows)
        for (const bool swap : {false, true}) {
            SCOPED_TRACE(std::string(r.label) + (swap ? ", a link at its temporary file" : ""));
            const std::string target = dir + "/" + r.file, mine = dir + "/." + r.file + ".backup." + OutputExtension(r.file);
            WriteText(target, kEarlier);
            WriteText(mine, "mine\n");
            if (swap) setenv("PVXHOST_FAULT", "swap-temp", 1);
            const hostrun::RunResult res = hostrun::RunHost(r.args + " '" + target + "'", "others", 300);
            unsetenv("PVXHOST_FAULT");
            EXPECT_EQ(res.code, swap ? 1 : 0) << res.err;
            EXPECT_EQ(hostrun::ReadFile(mine), "mine\n");
            EXPECT_EQ(hostrun::ReadFile(project), original) << "the project is intact";
            EXPECT_EQ(hostrun::ReadFile(target) == kEarlier, swap);
            if (swap) {
                EXPECT_NE(res.err.find("another program replaced its temporary file"), std::string::npos) << res.err;
            }
        }
    setenv("TMPDIR", PVX_TEST_TMPDIR, 1);
    fs::remove_all(dir);
}

// A signal that ends the program while it writes an output removes the temporary file; the
// earlier file stays and the program ends by that signal. Before, the temporary file stayed.
TEST(HostOutputFile, SignalsThatEndTheProgramRemoveTheTemporaryFile) {
    struct Row {
        const char* label;
        int sig;
    } rows[] = {{"interrupt", SIGINT},          {"terminate", SIGTERM}, {"hang-up", SIGHUP},
                {"file too large", SIGXFSZ}, {"a crash", SIGABRT}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.label);
        const std::string dir = MakeFolder(std::string("signal_") + std::to_string(r.sig));
        const std::string path = dir + "/picture.bmp";
        WriteText(path, kEarlier);
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            // A run's folder of recordings goes too. Before, it stayed.
            fs::create_directories(dir + "/run");
            for (const char* name : {"/run/~PVX100.AVI", "/run/~PVX100TMP.AVI"}) WriteText(dir + name, kEarlier);
            SetRunTempFolder(dir + "/run");
            CHostOutputFile out(path, CHostOutputFile::kBmp);
            if (out.Check("") || out.Begin()) _exit(3);
            if (r.sig == SIGXFSZ) {
                // A real one: the file grows past the limit of the process.
                struct rlimit lim {4096, 4096};
                setrlimit(RLIMIT_FSIZE, &lim);
                const int fd = open(out.GetTempPath().c_str(), O_WRONLY);
                const std::string block(8192, 'x');
                // The first write stops at the limit, the next one raises the signal.
                for (int i = 0; i < 3; ++i) (void)!write(fd, block.data(), block.size());
            } else {
                WriteText(out.GetTempPath(), "half a picture");
                raise(r.sig);
            }
            _exit(4);
        }
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status);
        EXPECT_EQ(WTERMSIG(status), r.sig);
        EXPECT_EQ(Listing(dir), std::vector<std::string>{"picture.bmp"});
        std::ifstream f(path);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), kEarlier);
    }
}
