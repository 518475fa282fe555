// Checks that an AVI file is complete: its RIFF and LIST sizes agree with the file.
//
// The chunk headers are read where they lie and the chunks' data skipped, so checking a film
// costs a few bytes per frame whatever the film's size.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>

#include "platform/afx/ByteOrder.h"
#include "platform/video/vfw.h"

namespace {

struct Walker {
    FILE* file = nullptr;
    uint64_t fileSize = 0;
    std::set<std::string> seen;  // chunk ids and list types met
    std::string why;

    // n bytes at offset at; false when the file ends before.
    bool ReadAt(uint64_t at, unsigned char* to, size_t n) {
        return fseeko(file, static_cast<off_t>(at), SEEK_SET) == 0 && std::fread(to, 1, n, file) == n;
    }

    // Walks the chunks in [begin, end); each must lie inside. depth bounds nesting.
    bool Walk(uint64_t begin, uint64_t end, int depth) {
        uint64_t at = begin;
        while (at < end) {
            unsigned char head[12];
            if (end - at < 8 || !ReadAt(at, head, 8))
                return Fail("a chunk header is cut off at byte " + std::to_string(at));
            const std::string id(reinterpret_cast<const char*>(head), 4);
            const uint64_t size = byteorder::Le32(head + 4);
            const uint64_t next = at + 8 + size + (size & 1);
            if (at + 8 + size > end)
                return Fail("the chunk '" + id + "' at byte " + std::to_string(at) + " claims " + std::to_string(size) +
                            " bytes, past the end of its " + (depth ? "list" : "file"));
            if (id == "LIST" || id == "RIFF") {
                if (size < 4 || !ReadAt(at + 8, head + 8, 4))
                    return Fail("the list at byte " + std::to_string(at) + " has no type");
                if (depth > 8) return Fail("lists are nested too deeply");
                seen.insert(std::string(reinterpret_cast<const char*>(head + 8), 4));
                if (!Walk(at + 12, at + 8 + size, depth + 1)) return false;
            } else {
                seen.insert(id);
            }
            at = std::min<uint64_t>(next, end);
        }
        return true;
    }
    bool Fail(const std::string& s) {
        why = s;
        return false;
    }
};

}  // namespace

CString AviCheckRiffSizes(LPCTSTR szFile) {
    if (!szFile || !*szFile) return CString("no file name was given");
    Walker w;
    w.file = std::fopen(szFile, "rb");
    if (!w.file) return CString("the file cannot be read");
    struct Closer {
        FILE* f;
        ~Closer() { std::fclose(f); }
    } closer{w.file};
    if (fseeko(w.file, 0, SEEK_END) != 0) return CString("the file cannot be read");
    w.fileSize = static_cast<uint64_t>(ftello(w.file));
    unsigned char head[12];
    if (w.fileSize < 12 || !w.ReadAt(0, head, 12) || std::memcmp(head, "RIFF", 4) != 0 ||
        std::memcmp(head + 8, "AVI ", 4) != 0)
        return CString("it is not an AVI file (no RIFF 'AVI ' header)");
    const uint64_t first = byteorder::Le32(head + 4);
    // A film over 1 GB goes on in further RIFF 'AVIX' chunks; the sizes must add up to the file.
    if (!w.Walk(0, w.fileSize, 0)) return CString(w.why.c_str());
    if (first + 8 > w.fileSize) return CString("the RIFF size is larger than the file");
    uint64_t end = 0;
    for (uint64_t at = 0; at + 8 <= w.fileSize;) {
        if (!w.ReadAt(at, head, 8)) return CString("the file cannot be read");
        const uint64_t size = byteorder::Le32(head + 4);
        end = at + 8 + size + (size & 1);
        at = end;
    }
    if (end != w.fileSize && end != w.fileSize + 1)
        return CString(("the RIFF sizes end at byte " + std::to_string(end) + ", the file at " +
                        std::to_string(w.fileSize))
                           .c_str());
    for (const char* need : {"hdrl", "avih", "strl", "strf", "movi", "idx1"})
        if (!w.seen.count(need)) return CString((std::string("it has no '") + need + "' chunk").c_str());
    return CString();
}
