#include "host/app/HostOutput.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "host/app/HostCommand.h"
#include "host/db/DBText.h"
#include "platform/afx/ByteOrder.h"
#include "platform/afx/OutputFiles.h"
#include "platform/video/vfw.h"

namespace {

constexpr int kMaxLinks = 40;  // symbolic links followed before giving up, as the kernel does

// Temporary files alive and the files they stand for, for messages.
std::vector<std::pair<std::string, std::string>>& Temps() {
    static std::vector<std::pair<std::string, std::string>> temps;
    return temps;
}

// The temporary files again, in storage a signal handler may read: a signal that ends the
// process while a file is written removes the file (the target is untouched until the rename).
// A slot is filled before it is marked used, and marked free before it is reused.
// A file is removed only while its name still leads to the file made (device and inode).
constexpr int kSignalSlots = 8;
char g_signalNames[kSignalSlots][PATH_MAX];
dev_t g_signalDev[kSignalSlots];
ino_t g_signalIno[kSignalSlots];
volatile sig_atomic_t g_signalUsed[kSignalSlots];
// A run's temporary folder, removed with its files: the path is stored before it is marked used.
char g_signalFolder[PATH_MAX];
volatile sig_atomic_t g_signalFolderUsed;
// The stops that end the program, and the crashes (each ends the program as before once the
// files are gone; a crash handler of a sanitizer or a debugger is left alone).
constexpr int kCleanSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGXFSZ, SIGSEGV, SIGBUS, SIGABRT, SIGFPE, SIGILL};
struct sigaction g_previous[sizeof kCleanSignals / sizeof kCleanSignals[0]];

// Removes the files in the folder, then the folder, with system calls alone (no allocation): a
// signal handler may call it. The listing is read again until a pass removes nothing.
void RemoveFolderNow(const char* folder) {
    const int fd = open(folder, O_RDONLY | O_DIRECTORY | O_NOFOLLOW);
    if (fd < 0) return;
    // On the stack: threads that take a signal at once each have their own.
    alignas(8) char buf[8192];
    for (bool removed = true; removed && lseek(fd, 0, SEEK_SET) == 0;) {
        removed = false;
        for (ssize_t n; (n = getdents64(fd, buf, sizeof buf)) > 0;)
            for (ssize_t at = 0; at < n;) {
                const auto* d = reinterpret_cast<const struct dirent64*>(buf + at);
                at += d->d_reclen;
                const bool dot = d->d_name[0] == '.' && (!d->d_name[1] || (d->d_name[1] == '.' && !d->d_name[2]));
                if (!dot && unlinkat(fd, d->d_name, 0) == 0) removed = true;
            }
    }
    close(fd);
    rmdir(folder);
}

// Unlinks the temporary file of slot i when its name still leads to it.
void RemoveSlot(int i) {
    struct stat st {};
    if (g_signalUsed[i] && lstat(g_signalNames[i], &st) == 0 && st.st_dev == g_signalDev[i] &&
        st.st_ino == g_signalIno[i])
        unlink(g_signalNames[i]);
}

void RemoveTempsOnSignal(int sig) {
    for (int i = 0; i < kSignalSlots; ++i) RemoveSlot(i);
    if (g_signalFolderUsed) RemoveFolderNow(g_signalFolder);
    // Then the signal does what it did before: the program ends as it would have.
    for (size_t i = 0; i < sizeof kCleanSignals / sizeof kCleanSignals[0]; ++i)
        if (kCleanSignals[i] == sig) sigaction(sig, &g_previous[i], nullptr);
    raise(sig);
}

// Installed once, for the signals whose default is to end the process; a signal the program
// ignores or handles itself is left alone.
void InstallSignalCleanup() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    for (size_t i = 0; i < sizeof kCleanSignals / sizeof kCleanSignals[0]; ++i) {
        struct sigaction now {};
        if (sigaction(kCleanSignals[i], nullptr, &now) != 0 || now.sa_handler != SIG_DFL) continue;
        struct sigaction sa {};
        sa.sa_handler = RemoveTempsOnSignal;
        sigemptyset(&sa.sa_mask);
        for (int other : kCleanSignals) sigaddset(&sa.sa_mask, other);
        g_previous[i] = now;
        sigaction(kCleanSignals[i], &sa, nullptr);
    }
}

void Register(const std::string& temp, const std::string& target, const struct stat& st) {
    Temps().emplace_back(temp, target);
    InstallSignalCleanup();
    if (temp.size() >= PATH_MAX) return;
    for (int i = 0; i < kSignalSlots; ++i)
        if (!g_signalUsed[i]) {
            std::memcpy(g_signalNames[i], temp.c_str(), temp.size() + 1);
            g_signalDev[i] = st.st_dev;
            g_signalIno[i] = st.st_ino;
            g_signalUsed[i] = 1;
            return;
        }
}

void Unregister(const std::string& temp) {
    for (int i = 0; i < kSignalSlots; ++i)
        if (g_signalUsed[i] && temp == g_signalNames[i]) g_signalUsed[i] = 0;
    auto& t = Temps();
    t.erase(std::remove_if(t.begin(), t.end(), [&](const auto& p) { return p.first == temp; }), t.end());
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// What a file that is not a regular file is, for messages.
const char* KindOf(mode_t mode) {
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

uint32_t Be32(const unsigned char* p) {
    return static_cast<uint32_t>(p[3]) | static_cast<uint32_t>(p[2]) << 8 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[0]) << 24;
}

bool ReadAt(int fd, off_t at, unsigned char* buf, size_t n) {
    return at >= 0 && pread(fd, buf, n, at) == static_cast<ssize_t>(n);
}

// Whether the last record of a metafile of `size` bytes is EMR_EOF. Without a palette it is the
// last 20 bytes; otherwise the records are walked from the header on.
bool EndsWithEmfEof(int fd, off_t size) {
    unsigned char r[8];
    if (ReadAt(fd, size - 20, r, 8) && byteorder::Le32(r) == 14 && byteorder::Le32(r + 4) == 20) return true;
    off_t at = 0;
    while (at < size && ReadAt(fd, at, r, 8)) {
        const uint32_t n = byteorder::Le32(r + 4);
        if (n < 8 || n % 4 != 0 || n > static_cast<uint64_t>(size - at)) return false;
        if (at + static_cast<off_t>(n) == size) return byteorder::Le32(r) == 14;
        at += n;
    }
    return false;
}

// Empty when the file descriptor holds a whole file of the format; otherwise what is wrong.
std::string CheckContent(int fd, const std::string& path, off_t size, CHostOutputFile::EFormat format, long width,
                         long height) {
    const std::string incomplete = "the written file is incomplete";
    switch (format) {
    case CHostOutputFile::kBmp: {
        // BITMAPFILEHEADER (14 bytes) and BITMAPINFOHEADER (40 bytes).
        unsigned char h[54];
        if (size < 54 || !ReadAt(fd, 0, h, sizeof h) || h[0] != 'B' || h[1] != 'M') return incomplete;
        if (byteorder::Le32(h + 2) != static_cast<uint64_t>(size))
            return incomplete + " (its header counts " + std::to_string(byteorder::Le32(h + 2)) + " bytes, " +
                   std::to_string(size) + " were written)";
        const int32_t w = static_cast<int32_t>(byteorder::Le32(h + 18)), hh = static_cast<int32_t>(byteorder::Le32(h + 22));
        if (width && height && (w != width || (hh < 0 ? -hh : hh) != height))
            return "the written picture is " + std::to_string(w) + "x" + std::to_string(hh < 0 ? -hh : hh) +
                   ", not " + std::to_string(width) + "x" + std::to_string(height);
        return "";
    }
    case CHostOutputFile::kEmf: {
        // EMR_HEADER: type 1, the signature " EMF" at 40, the file's byte count at 48; the last
        // record is EMR_EOF (type 14).
        unsigned char h[52];
        if (size < 108 || !ReadAt(fd, 0, h, sizeof h) || byteorder::Le32(h) != 1 || byteorder::Le32(h + 40) != 0x464D4520u)
            return incomplete;
        if (byteorder::Le32(h + 48) != static_cast<uint64_t>(size))
            return incomplete + " (its header counts " + std::to_string(byteorder::Le32(h + 48)) + " bytes, " +
                   std::to_string(size) + " were written)";
        if (!EndsWithEmfEof(fd, size)) return incomplete + " (it does not end with an end-of-file record)";
        return "";
    }
    case CHostOutputFile::kAvi: {
        // Every RIFF and LIST chunk inside its parent, the RIFF size the file's less 8, the
        // headers and the index present.
        const CString why = AviCheckRiffSizes(path.c_str());
        return why.IsEmpty() ? "" : incomplete + " (" + why.GetString() + ")";
    }
    case CHostOutputFile::kDxf: {
        // Text lines in pairs (group code, value): the first pair after any 999 comments is
        // 0 SECTION, the last pair 0 EOF (trailing blank lines allowed).
        unsigned char head[256] = {}, tail[64] = {};
        const size_t nh = static_cast<size_t>(std::min<off_t>(size, sizeof head));
        const size_t nt = static_cast<size_t>(std::min<off_t>(size, sizeof tail));
        if (size < 16 || !ReadAt(fd, 0, head, nh) || !ReadAt(fd, size - static_cast<off_t>(nt), tail, nt))
            return incomplete;
        auto lines = [](const unsigned char* p, size_t n) {
            std::vector<std::string> out;
            std::string cur;
            for (size_t i = 0; i < n; ++i) {
                if (p[i] == '\n') {
                    out.push_back(cur);
                    cur.clear();
                } else if (p[i] != '\r') {
                    cur += static_cast<char>(p[i]);
                }
            }
            out.push_back(cur);
            for (std::string& l : out) {
                const size_t a = l.find_first_not_of(" \t"), b = l.find_last_not_of(" \t");
                l = a == std::string::npos ? std::string() : l.substr(a, b - a + 1);
            }
            return out;
        };
        const std::vector<std::string> lh = lines(head, nh);
        size_t i = 0;
        while (i + 1 < lh.size() && lh[i] == "999") i += 2;
        if (i + 1 >= lh.size() || lh[i] != "0" || lh[i + 1] != "SECTION") return incomplete;
        std::vector<std::string> lt = lines(tail, nt);
        while (!lt.empty() && lt.back().empty()) lt.pop_back();
        if (lt.size() < 2 || lt[lt.size() - 2] != "0" || lt.back() != "EOF")
            return incomplete + " (it does not end with the EOF record)";
        return "";
    }
    case CHostOutputFile::kProject: {
        // SQLite header: page size at 16 (1 means 65536), page count at 28, valid when the
        // change counter at 24 matches the one at 92.
        unsigned char h[100];
        if (size < 100 || !ReadAt(fd, 0, h, sizeof h) || std::memcmp(h, "SQLite format 3", 16) != 0)
            return incomplete;
        uint64_t page = (static_cast<uint64_t>(h[16]) << 8) | h[17];
        if (page == 1) page = 65536;
        const uint64_t pages = Be32(h + 28);
        if (std::memcmp(h + 24, h + 92, 4) == 0 && pages != 0 && pages * page != static_cast<uint64_t>(size))
            return incomplete + " (its header counts " + std::to_string(pages * page) + " bytes, " +
                   std::to_string(size) + " were written)";
        return "";
    }
    }
    return "";
}

}  // namespace

const char* CHostOutputFile::FormatName(EFormat format) {
    switch (format) {
    case kBmp: return "a BMP picture";
    case kEmf: return "an EMF metafile";
    case kAvi: return "an AVI film";
    case kProject: return "a project database";
    case kDxf: return "a DXF drawing";
    }
    return "";
}

const char* CHostOutputFile::FormatExtension(EFormat format) {
    switch (format) {
    case kBmp: return "bmp";
    case kEmf: return "emf";
    case kAvi: return "avi";
    case kProject: return "pvxdb";
    case kDxf: return "dxf";
    }
    return "";
}

std::string OutputExtension(const std::string& path) {
    const std::string name = NameOf(path);
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return "";
    return HostLower(name.substr(dot + 1));
}

int CheckOutputName(const std::string& path, CHostOutputFile::EFormat format) {
    // A name is echoed in the lines a run prints ("Wrote ..."): one holding a line break or an
    // escape sequence would forge lines or act on the terminal.
    if (std::any_of(path.begin(), path.end(), [](char c) { return std::iscntrl(static_cast<unsigned char>(c)); })) {
        HostMessage("\"%s\" holds a control character: give a name without line breaks, tabs or escapes",
                    pvxdb::EscapeText(path.c_str()).c_str());
        return HOST_EXIT_USAGE;
    }
    const std::string want = CHostOutputFile::FormatExtension(format);
    const std::string ext = OutputExtension(path);
    if (ext == want) return 0;
    const std::string upper = Upper(ext);
    const size_t end = ext.find_last_not_of(" \t");
    if (end != std::string::npos && end + 1 < ext.size() && ext.substr(0, end + 1) == want)
        HostMessage("\"%s\" ends in a blank after .%s: give a name ending in .%s", path.c_str(), want.c_str(), want.c_str());
    else if (ext.empty())
        HostMessage("\"%s\" has no extension, but the output is %s: give a name ending in .%s", path.c_str(),
                    CHostOutputFile::FormatName(format), want.c_str());
    else
        HostMessage("\"%s\" names %s %s file, but the output is %s: give a name ending in .%s%s", path.c_str(),
                    std::string("AEFHILMNORSX").find(upper[0]) != std::string::npos ? "an" : "a", upper.c_str(),
                    CHostOutputFile::FormatName(format), want.c_str(),
                    ext == "emf" && format == CHostOutputFile::kBmp ? " (export writes the view as EMF)" : "");
    return HOST_EXIT_USAGE;
}

std::string ShowOutputPaths(const std::string& text) {
    std::string s = text;
    for (const auto& [temp, target] : Temps())
        for (size_t at = s.find(temp); at != std::string::npos; at = s.find(temp, at + target.size()))
            s.replace(at, temp.size(), target);
    return s;
}

std::string HostFileIdentity(int dir, const std::string& path) {
    struct statx sx {};
    const int flags = path.empty() ? AT_EMPTY_PATH : AT_SYMLINK_NOFOLLOW;
    if (statx(dir, path.c_str(), flags, STATX_TYPE | STATX_INO | STATX_BTIME, &sx) != 0) return "";
    std::string id = S_ISREG(sx.stx_mode) ? "file " : S_ISDIR(sx.stx_mode) ? "folder " : "other ";
    id += std::to_string(sx.stx_dev_major) + ":" + std::to_string(sx.stx_dev_minor) + " " + std::to_string(sx.stx_ino);
    if (sx.stx_mask & STATX_BTIME)
        id += " " + std::to_string(sx.stx_btime.tv_sec) + "." + std::to_string(sx.stx_btime.tv_nsec);
    return id;
}

void SetRunTempFolder(const std::string& dir) {
    g_signalFolderUsed = 0;
    if (dir.empty() || dir.size() >= PATH_MAX) return;
    InstallSignalCleanup();
    std::memcpy(g_signalFolder, dir.c_str(), dir.size() + 1);
    g_signalFolderUsed = 1;
}

void RemoveOutputTemps() {
    for (int i = 0; i < kSignalSlots; ++i) RemoveSlot(i);
}

CHostOutputFile::CHostOutputFile(const std::string& path, EFormat format)
    : m_strPath(path), m_eFormat(format), m_strTarget(path) {}

CHostOutputFile::~CHostOutputFile() { Discard(); }

void CHostOutputFile::Discard() {
    if (m_strTemp.empty()) return;
    if (IsNamed(m_nTempFd, m_strTemp)) unlink(m_strTemp.c_str());
    Release();
}

void CHostOutputFile::Release() {
    Unregister(m_strTemp);
    ReleaseOutputFile(m_strTemp);
    m_strTemp.clear();
    if (m_nTempFd >= 0) close(m_nTempFd);
    m_nTempFd = -1;
    DropRecord();
}

void CHostOutputFile::DropRecord() {
    // The record goes while it is still held: no other run mistakes it for a killed writer's.
    // Its folder goes when no other record is left in it.
    if (m_nRecordFd >= 0) {
        unlink(m_strRecord.c_str());
        close(m_nRecordFd);
        rmdir(FolderOf(m_strRecord).c_str());
    }
    m_nRecordFd = -1;
}

int CHostOutputFile::Check(const std::string& project, bool bMakeFolder) {
    m_strProject = project;
    if (int status = CheckTarget(project, bMakeFolder)) return status;
    if (int status = CheckOutputName(m_strPath, m_eFormat)) return status;
    // A link is written through: the file it leads to must be one of the format too.
    if (m_strTarget == m_strPath || OutputExtension(m_strTarget) == FormatExtension(m_eFormat)) return 0;
    const std::string ext = Upper(OutputExtension(m_strTarget));
    HostMessage("will not write \"%s\": it is a link to \"%s\", which %s, but the output is %s", m_strPath.c_str(),
                m_strTarget.c_str(), ext.empty() ? "has no extension" : ("names a " + ext + " file").c_str(),
                FormatName(m_eFormat));
    return HOST_EXIT_USAGE;
}

bool CHostOutputFile::IsSameTarget(const CHostOutputFile& other) const {
    struct stat a {}, b {};
    if (stat(m_strTarget.c_str(), &a) == 0 && stat(other.m_strTarget.c_str(), &b) == 0)
        return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
    // New names: the same path once made absolute and its folders' links resolved.
    auto resolved = [](const std::string& path) {
        std::error_code ec;
        const std::filesystem::path p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
        return ec ? std::filesystem::path() : p;
    };
    const std::filesystem::path pa = resolved(m_strTarget);
    return !pa.empty() && pa == resolved(other.m_strTarget);
}

int CHostOutputFile::CheckTarget(const std::string& project, bool bMakeFolder) {
    const char* given = m_strPath.c_str();

    // Follow symbolic links to the file that is written.
    std::string target = m_strPath;
    struct stat st {};
    bool exists = false;
    for (int hops = 0;; ++hops) {
        if (lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT) break;
            HostMessage("cannot write \"%s\": %s", given, std::strerror(errno));
            return HOST_EXIT_FAILED;
        }
        if (!S_ISLNK(st.st_mode)) {
            exists = true;
            break;
        }
        if (hops == kMaxLinks) {
            HostMessage("cannot write \"%s\": too many levels of symbolic links", given);
            return HOST_EXIT_FAILED;
        }
        char buf[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), buf, sizeof buf - 1);
        if (n <= 0) {
            HostMessage("cannot write \"%s\": cannot read the link \"%s\": %s", given, target.c_str(),
                        std::strerror(errno));
            return HOST_EXIT_FAILED;
        }
        const std::string link(buf, static_cast<size_t>(n));
        target = link[0] == '/' ? link : FolderOf(target) + "/" + link;
    }
    m_strTarget = target;
    const std::string via = target == m_strPath ? std::string() : " (a link to \"" + target + "\")";

    if (exists) {
        if (!S_ISREG(st.st_mode)) {
            HostMessage("will not write \"%s\"%s: it is %s; give the name of a regular file or a new name", given,
                        via.c_str(), KindOf(st.st_mode));
            return HOST_EXIT_FAILED;
        }
        struct stat open {};
        if (!project.empty() && stat(project.c_str(), &open) == 0 && open.st_dev == st.st_dev &&
            open.st_ino == st.st_ino) {
            HostMessage("will not write \"%s\"%s: it is the open project \"%s\"", given, via.c_str(), project.c_str());
            return HOST_EXIT_USAGE;
        }
        if (access(target.c_str(), W_OK) != 0) {
            HostMessage("cannot write \"%s\"%s: the file is read-only", given, via.c_str());
            return HOST_EXIT_FAILED;
        }
        m_nMode = st.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        m_nMode = 0666 & ~mask;
    }

    const std::string folder = FolderOf(target);
    struct stat fs {};
    if (stat(folder.c_str(), &fs) != 0 && errno == ENOENT && bMakeFolder) {
        std::error_code ec;
        if (!std::filesystem::create_directories(folder, ec) && ec) {
            HostMessage("cannot write \"%s\": cannot make the folder \"%s\": %s", given, folder.c_str(),
                        ec.message().c_str());
            return HOST_EXIT_FAILED;
        }
    }
    if (stat(folder.c_str(), &fs) != 0 || !S_ISDIR(fs.st_mode)) {
        HostMessage("cannot write \"%s\"%s: the folder \"%s\" does not exist", given, via.c_str(), folder.c_str());
        return HOST_EXIT_FAILED;
    }
    if (access(folder.c_str(), W_OK | X_OK) != 0) {
        HostMessage("cannot write \"%s\"%s: the folder \"%s\" is not writable", given, via.c_str(), folder.c_str());
        return HOST_EXIT_FAILED;
    }
    return 0;
}

namespace {

// Each writer's temporary file is recorded in a folder of the user's own (0700) in the system's
// temporary folder: one record a writer, held locked until the file is committed or removed,
// naming the file and what identifies it (device, inode and birth time). A record no live
// writer holds is a killed writer's; the file it names is removed only while it is that very
// file, so a file of the user's, whatever its name, is never taken for one of ours.
constexpr char kRecordHead[] = "pvxhost temporary output file\n";

std::string RecordFolder() {
    std::error_code ec;
    const std::filesystem::path tmp = std::filesystem::temp_directory_path(ec);
    return (ec ? std::string("/tmp") : tmp.string()) + "/pvxhost-temps." + std::to_string(getuid());
}

// The record folder, made when missing; -1 when it is not the user's alone.
int OpenRecordFolder() {
    const std::string dir = RecordFolder();
    mkdir(dir.c_str(), 0700);
    const int fd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && (fstat(fd, &st) != 0 || st.st_uid != getuid() || (st.st_mode & 077) != 0)) {
        close(fd);
        return -1;
    }
    return fd;
}

std::string RegularFileIdentity(int dir, const std::string& path) {
    const std::string id = HostFileIdentity(dir, path);
    return id.rfind("file ", 0) == 0 ? id : std::string();
}

// Removes the files of killed writers (see above) and their records.
void RemoveStaleTemps() {
    const int dir = OpenRecordFolder();
    if (dir < 0) return;
    DIR* d = fdopendir(dir);
    if (!d) {
        close(dir);
        return;
    }
    while (const dirent* e = readdir(d)) {
        if (std::strncmp(e->d_name, "record.", 7) != 0) continue;
        const int fd = openat(dir, e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        char buf[PATH_MAX + 256];
        ssize_t n = -1;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0) n = pread(fd, buf, sizeof buf - 1, 0);
        close(fd);
        if (n <= 0) continue;
        // Head, identity and path, a line each; anything else is not a record of ours.
        const std::string text(buf, static_cast<size_t>(n));
        const size_t head = sizeof kRecordHead - 1, eol = text.find('\n', head);
        if (text.compare(0, head, kRecordHead) != 0 || eol == std::string::npos || text.back() != '\n') continue;
        const std::string id = text.substr(head, eol - head), path = text.substr(eol + 1, text.size() - eol - 2);
        if (!id.empty() && RegularFileIdentity(AT_FDCWD, path) == id) unlink(path.c_str());
        unlinkat(dir, e->d_name, 0);
    }
    closedir(d);
    rmdir(RecordFolder().c_str());
}

// Six characters for a fresh name, as mkstemp picks them.
std::string RandomPart() {
    static const char kChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char r[6] = {};
    if (getrandom(r, sizeof r, 0) != static_cast<ssize_t>(sizeof r))
        for (size_t i = 0; i < sizeof r; ++i) r[i] = static_cast<unsigned char>(std::rand());
    std::string part;
    for (unsigned char c : r) part += kChars[c % (sizeof kChars - 1)];
    return part;
}

// Makes a file in folder that fill(fd, name) writes before it has a name (O_TMPFILE), then
// names it stem + six random characters + suffix (fill is called again for each name tried): a
// kill leaves no file, or one that fill made whole. The descriptor, or -1 with errno set
// (EOPNOTSUPP where the file system makes no unnamed files, or /proc is missing).
template <class Fill>
int MakeFilled(const std::string& folder, const std::string& stem, const std::string& suffix, std::string& name,
               const Fill& fill) {
    const int fd = open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EISDIR) errno = EOPNOTSUPP;
        return -1;
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    int err = EEXIST;
    for (int tries = 0; tries < 100 && err == EEXIST; ++tries) {
        name = stem + RandomPart() + suffix;
        if (!fill(fd, name)) {
            err = errno;
            break;
        }
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return fd;
        err = errno == ENOENT && access(folder.c_str(), F_OK) == 0 ? EOPNOTSUPP : errno;
    }
    close(fd);
    errno = err;
    return -1;
}

// Records the temporary file open as fd at path; the record's descriptor, held locked, or -1.
// The record is written and locked before it has a name, so that no run finds it empty; where
// the file system cannot, it is named first and locked before it is written.
int WriteRecord(const std::string& path, int fd, std::string& record) {
    const int dir = OpenRecordFolder();
    if (dir < 0) return -1;
    close(dir);
    std::error_code ec;
    const std::string text = kRecordHead + RegularFileIdentity(fd, "") + "\n" +
                             std::filesystem::absolute(path, ec).lexically_normal().string() + "\n";
    const auto fill = [&text](int rec, const std::string&) {
        return flock(rec, LOCK_EX) == 0 && pwrite(rec, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
    };
    int rec = MakeFilled(RecordFolder(), RecordFolder() + "/record.", "", record, fill);
    // The last record of another run took the folder with it meanwhile: made again.
    if (rec < 0 && errno == ENOENT && mkdir(RecordFolder().c_str(), 0700) == 0)
        rec = MakeFilled(RecordFolder(), RecordFolder() + "/record.", "", record, fill);
    if (rec >= 0 || errno != EOPNOTSUPP) return rec;
    record = RecordFolder() + "/record.XXXXXX";
    rec = mkostemp(record.data(), O_CLOEXEC);
    if (rec < 0 && errno == ENOENT && mkdir(RecordFolder().c_str(), 0700) == 0) {
        record = RecordFolder() + "/record.XXXXXX";
        rec = mkostemp(record.data(), O_CLOEXEC);
    }
    if (rec < 0) return -1;
    // A run that clears records may hold it a moment: it finds it empty and leaves it.
    if (!fill(rec, record)) {
        unlink(record.c_str());
        close(rec);
        return -1;
    }
    return rec;
}

// Why the disk takes no more of the temporary file (no space, quota, size limit); "" when it
// takes some. Asked when a writer failed without saying why; the file is discarded afterwards.
std::string DiskRefusal(int fd) {
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) return "";
    static const char block[65536] = {};
    std::string why;
    for (int i = 0; i < 4 && why.empty(); ++i)
        if (pwrite(fd, block, sizeof block, st.st_size + static_cast<off_t>(i) * sizeof block) < 0)
            why = std::strerror(errno);
    return why;
}

}  // namespace

int CHostOutputFile::Begin() {
    Discard();
    // The temporary name keeps the target's extension as it is spelled (writers choose the
    // format by it) and must itself be a legal name: "." + name + ".XXXXXX" + extension, a long
    // name cut for it.
    const std::string target = NameOf(m_strTarget);
    const std::string ext = OutputExtension(m_strTarget);
    const std::string suffix = ext.empty() ? std::string() : target.substr(target.size() - ext.size() - 1);
    const size_t nRoom = NAME_MAX > 8 + suffix.size() ? NAME_MAX - 8 - suffix.size() : 0;
    std::string prefix = ".";
    prefix += target.substr(0, nRoom);
    const std::string folder = FolderOf(m_strTarget);
    RemoveStaleTemps();
    // Recorded before it has a name: a writer killed at any point leaves no file that its record
    // does not prove ours. Where the file system cannot, it is named first and recorded next.
    std::string name;
    const auto record = [this](int fd, const std::string& path) {
        DropRecord();
        m_nRecordFd = WriteRecord(path, fd, m_strRecord);
        return true;
    };
    int fd = MakeFilled(folder, folder + "/" + prefix + ".", suffix, name, record);
    if (fd < 0 && errno == EOPNOTSUPP) {
        name = folder + "/" + prefix + ".XXXXXX" + suffix;
        fd = mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
        if (fd >= 0) record(fd, name);
    }
    struct stat st {};
    if (fd < 0 || fstat(fd, &st) != 0) {
        HostMessage("cannot write \"%s\": cannot make a temporary file in \"%s\": %s", m_strPath.c_str(),
                    folder.c_str(), std::strerror(errno));
        if (fd >= 0) close(fd);
        DropRecord();
        return HOST_EXIT_FAILED;
    }
    m_nTempFd = fd;
    m_strTemp = name;
    Register(m_strTemp, m_strPath, st);
    // Writers given the name write through this descriptor.
    AdoptOutputFile(m_strTemp, fd);
#if defined(PVX_FAULT_HOOKS)
    // For tests (PVXHOST_FAULT=swap-temp): another program puts a link to the open project at
    // the temporary file's name before anything is written. Test builds only.
    const char* fault = std::getenv("PVXHOST_FAULT");
    if (fault && std::strcmp(fault, "swap-temp") == 0 && !m_strProject.empty()) {
        std::error_code ec;
        const std::string link = m_strTemp + ".swap";
        if (symlink(std::filesystem::absolute(m_strProject, ec).c_str(), link.c_str()) == 0)
            rename(link.c_str(), m_strTemp.c_str());
    }
#endif
    return 0;
}

bool CHostOutputFile::IsNamed(int fd, const std::string& path) {
    struct stat a {}, b {};
    return fd >= 0 && fstat(fd, &a) == 0 && lstat(path.c_str(), &b) == 0 && S_ISREG(b.st_mode) &&
           a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

int CHostOutputFile::Fail(const std::string& why) {
    std::string text = why;
    // A writer's message that starts with the temporary file's name says it again.
    if (!m_strTemp.empty() && text.compare(0, m_strTemp.size() + 2, m_strTemp + ": ") == 0)
        text = text.substr(m_strTemp.size() + 2);
    // Writers that ran out of room often say only that they failed: the disk tells why.
    if (!m_strTemp.empty()) {
        const std::string disk = DiskRefusal(m_nTempFd);
        if (!disk.empty() && text.find(disk) == std::string::npos) text += ": " + disk;
    }
    HostMessage("cannot write \"%s\": %s; %s", m_strPath.c_str(), text.c_str(),
                access(m_strTarget.c_str(), F_OK) == 0 ? "the file there is unchanged" : "nothing was written");
    Discard();
    return HOST_EXIT_FAILED;
}

int CHostOutputFile::Commit(long width, long height) {
    auto fail = [this](const std::string& why) { return Fail(why); };
    if (m_strTemp.empty()) return fail("nothing was written");
    // Read and put in place through the descriptor that made the file, never its name alone.
    const int fd = m_nTempFd;
    struct stat st {};
    std::string why;
    if (fstat(fd, &st) != 0)
        why = std::strerror(errno);
    else if (!S_ISREG(st.st_mode) || st.st_size == 0)
        why = "no file was made";
    else
        why = CheckContent(fd, "/proc/self/fd/" + std::to_string(fd), st.st_size, m_eFormat, width, height);
    // On disk before it takes the target's place.
    if (why.empty() && fsync(fd) != 0) why = std::string("the file could not be flushed to disk: ") + std::strerror(errno);
    if (why.empty() && fchmod(fd, m_nMode) != 0) why = std::strerror(errno);
    // Another program put something else at the temporary name: that is not ours to move.
    const char* const replaced = "another program replaced its temporary file";
    if (why.empty() && !IsNamed(fd, m_strTemp)) why = replaced;
    if (!why.empty()) return fail(why);

    if (rename(m_strTemp.c_str(), m_strTarget.c_str()) != 0) return fail(std::strerror(errno));
    const bool moved = IsNamed(fd, m_strTarget);
    Release();
    if (!moved) {
        HostMessage("cannot write \"%s\": %s while it was put in place", m_strPath.c_str(), replaced);
        return HOST_EXIT_FAILED;
    }
    // The rename itself reaches the disk with the folder.
    const int dir = open(FolderOf(m_strTarget).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return 0;
}
