// Checks that an AVI file is complete: its RIFF and LIST sizes agree with the file.
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "platform/video/vfw.h"

namespace {

struct Walker {
    std::vector<unsigned char> data;
    std::set<std::string> seen;  // chunk ids met
    std::string why;

    static uint32_t Le32(const unsigned char* b) {
        return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
               (static_cast<uint32_t>(b[3]) << 24);
    }

    // Walks the chunks in [begin, end); each must lie inside. depth bounds nesting.
    bool Walk(size_t begin, size_t end, int depth) {
        size_t at = begin;
        while (at < end) {
            if (end - at < 8) return Fail("a chunk header is cut off at byte " + std::to_string(at));
            const std::string id(reinterpret_cast<const char*>(&data[at]), 4);
            const uint64_t size = Le32(&data[at + 4]);
            const uint64_t next = at + 8 + size + (size & 1);
            if (at + 8 + size > end)
                return Fail("the chunk '" + id + "' at byte " + std::to_string(at) + " claims " + std::to_string(size) +
                            " bytes, past the end of its " + (depth ? "list" : "file"));
            if (id == "LIST" || id == "RIFF") {
                if (size < 4) return Fail("the list at byte " + std::to_string(at) + " has no type");
                if (depth > 8) return Fail("lists are nested too deeply");
                seen.insert(std::string(reinterpret_cast<const char*>(&data[at + 8]), 4));
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
    FILE* f = std::fopen(szFile, "rb");
    if (!f) return CString("the file cannot be read");
    Walker w;
    unsigned char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof(buf), f)) > 0) w.data.insert(w.data.end(), buf, buf + n);
    std::fclose(f);
    if (w.data.size() < 12 || std::memcmp(w.data.data(), "RIFF", 4) != 0 || std::memcmp(w.data.data() + 8, "AVI ", 4) != 0)
        return CString("it is not an AVI file (no RIFF 'AVI ' header)");
    const uint64_t first = Walker::Le32(&w.data[4]);
    // A film over 1 GB goes on in further RIFF 'AVIX' chunks; the sizes must add up to the file.
    if (!w.Walk(0, w.data.size(), 0)) return CString(w.why.c_str());
    if (first + 8 > w.data.size()) return CString("the RIFF size is larger than the file");
    uint64_t end = 0;
    for (size_t at = 0; at + 8 <= w.data.size();) {
        const uint64_t size = Walker::Le32(&w.data[at + 4]);
        end = at + 8 + size + (size & 1);
        at = static_cast<size_t>(end);
    }
    if (end != w.data.size() && end != w.data.size() + 1)
        return CString(("the RIFF sizes end at byte " + std::to_string(end) + ", the file at " +
                        std::to_string(w.data.size()))
                           .c_str());
    for (const char* need : {"hdrl", "avih", "strl", "strf", "movi", "idx1"})
        if (!w.seen.count(need)) return CString((std::string("it has no '") + need + "' chunk").c_str());
    return CString();
}
