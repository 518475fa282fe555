#include "platform/afx/OutputFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <map>
#include <mutex>

namespace {

std::mutex g_mu;
std::map<std::string, int>& Adopted() {
    static auto& files = *new std::map<std::string, int>;
    return files;
}

// The adopted descriptor of path, or -1.
int AdoptedFd(const char* path) {
    std::lock_guard<std::mutex> lock(g_mu);
    const auto it = path ? Adopted().find(path) : Adopted().end();
    return it == Adopted().end() ? -1 : it->second;
}

}  // namespace

void AdoptOutputFile(const std::string& path, int fd) {
    std::lock_guard<std::mutex> lock(g_mu);
    Adopted()[path] = fd;
}

void ReleaseOutputFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(g_mu);
    Adopted().erase(path);
}

bool IsAdoptedOutputFile(const char* path) { return AdoptedFd(path) >= 0; }

int OpenOutputFile(const char* path) {
    if (!path || !*path) {
        errno = ENOENT;
        return -1;
    }
    const int adopted = AdoptedFd(path);
    if (adopted < 0) return open(path, O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    const int fd = fcntl(adopted, F_DUPFD_CLOEXEC, 0);
    if (fd >= 0 && (ftruncate(fd, 0) != 0 || lseek(fd, 0, SEEK_SET) != 0)) {
        const int err = errno;
        close(fd);
        errno = err;
        return -1;
    }
    return fd;
}

std::FILE* OpenOutputStream(const char* path) {
    const int fd = OpenOutputFile(path);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (!f) {
        const int err = errno;
        close(fd);
        errno = err;
    }
    return f;
}

void RemoveOutputFile(const char* path) {
    const int adopted = AdoptedFd(path);
    if (adopted >= 0)
        (void)!ftruncate(adopted, 0);
    else if (path)
        unlink(path);
}

namespace {

// 0, or the errno value of the write that failed.
int WriteAll(int fd, const char* data, size_t n) {
    for (size_t at = 0; at < n;) {
        const ssize_t w = write(fd, data + at, n - at);
        if (w > 0) at += static_cast<size_t>(w);
        else if (w < 0 && errno != EINTR) return errno;
    }
    return 0;
}

}  // namespace

int WriteOutputFile(const char* path, const void* data, size_t n) {
    const int fd = OpenOutputFile(path);
    if (fd < 0) return errno;
    int err = WriteAll(fd, static_cast<const char*>(data), n);
    if (close(fd) != 0 && !err) err = errno;
    return err;
}

std::error_code CopyIntoOutputFile(const char* from, const char* to) {
    const int in = open(from, O_RDONLY | O_CLOEXEC);
    if (in < 0) return std::error_code(errno, std::generic_category());
    const int out = OpenOutputFile(to);
    int err = out < 0 ? errno : 0;
    char buf[1 << 16];
    for (ssize_t n; !err && (n = read(in, buf, sizeof buf)) != 0;) {
        if (n > 0) err = WriteAll(out, buf, static_cast<size_t>(n));
        else if (errno != EINTR) err = errno;
    }
    close(in);
    if (out >= 0 && close(out) != 0 && !err) err = errno;
    return std::error_code(err, std::generic_category());
}
