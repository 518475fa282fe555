// Helpers of the result-view tests: a film file with an AVI main header (no frame data; the
// media player reads only the header), and a parent window.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace viewtest {

inline void Put32(std::vector<unsigned char>& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}
inline void PutTag(std::vector<unsigned char>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

// A name below the test temporary directory that carries the process id, since the tests of
// one program may run side by side in several processes.
inline std::string TempPath(const std::string& name) {
    return std::string(PVX_TEST_TMPDIR) + "/" + std::to_string(getpid()) + "_" + name;
}

// Writes RIFF 'AVI ' / LIST 'hdrl' / 'avih' with the frame count, frame rate and size. Returns
// the path (below the test temporary directory).
inline std::string WriteFilm(const char* name, uint32_t frames, uint32_t fps, uint32_t width = 320,
                             uint32_t height = 240) {
    std::vector<unsigned char> avih;
    Put32(avih, fps ? 1000000u / fps : 0u);  // microseconds per frame
    Put32(avih, 0);                            // max bytes per second
    Put32(avih, 0);                            // padding granularity
    Put32(avih, 0x10);                         // flags: has index
    Put32(avih, frames);
    Put32(avih, 0);                            // initial frames
    Put32(avih, 1);                            // streams
    Put32(avih, 0);                            // suggested buffer size
    Put32(avih, width);
    Put32(avih, height);
    for (int i = 0; i < 4; ++i) Put32(avih, 0);
    std::vector<unsigned char> hdrl;
    PutTag(hdrl, "hdrl");
    PutTag(hdrl, "avih");
    Put32(hdrl, static_cast<uint32_t>(avih.size()));
    hdrl.insert(hdrl.end(), avih.begin(), avih.end());
    std::vector<unsigned char> body;
    PutTag(body, "AVI ");
    PutTag(body, "LIST");
    Put32(body, static_cast<uint32_t>(hdrl.size()));
    body.insert(body.end(), hdrl.begin(), hdrl.end());
    std::vector<unsigned char> file;
    PutTag(file, "RIFF");
    Put32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    const std::string path = TempPath(name);
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
    }
    return path;
}

}  // namespace viewtest
