// Helpers of the result-view tests: a film file (real frames, or only an AVI main header for
// films the player must refuse), and a parent window.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

#include "platform/video/vfw.h"

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

// Writes RIFF 'AVI ' / LIST 'hdrl' / 'avih' with the frame count, frame rate and size, and no
// stream: a header the player reads but no film it can show. Returns the path.
inline std::string WriteFilmHeader(const char* name, uint32_t frames, uint32_t fps, uint32_t width, uint32_t height) {
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

// A film of `frames` 8-bit frames (frame k filled with palette entry k % 256) at fps frames per
// second; with fps 0 only a header without a frame rate. Returns the path.
inline std::string WriteFilm(const char* name, uint32_t frames, uint32_t fps, uint32_t width = 320,
                             uint32_t height = 240) {
    if (fps == 0) return WriteFilmHeader(name, frames, fps, width, height);
    const std::string path = TempPath(name);
    std::vector<unsigned char> format(40 + 1024, 0);
    BITMAPINFOHEADER bih{40, static_cast<LONG>(width), static_cast<LONG>(height), 1, 8, BI_RGB, 0, 0, 0, 256, 0};
    std::memcpy(format.data(), &bih, 40);
    for (int i = 0; i < 256; ++i) format[40 + 4 * i + 2] = static_cast<unsigned char>(i);  // red ramp
    const size_t stride = (width + 3) / 4 * 4;
    AVIFileInit();
    PAVIFILE f = nullptr;
    PAVISTREAM s = nullptr;
    AVISTREAMINFO si{};
    si.fccType = streamtypeVIDEO;
    si.dwScale = 1;
    si.dwRate = fps;
    if (AVIFileOpen(&f, path.c_str(), OF_CREATE | OF_READWRITE, nullptr) == AVIERR_OK &&
        AVIFileCreateStream(f, &s, &si) == AVIERR_OK &&
        AVIStreamSetFormat(s, 0, format.data(), static_cast<LONG>(format.size())) == AVIERR_OK) {
        std::vector<unsigned char> img(stride * height);
        for (uint32_t k = 0; k < frames; ++k) {
            std::fill(img.begin(), img.end(), static_cast<unsigned char>(k % 256));
            AVIStreamWrite(s, static_cast<LONG>(k), 1, img.data(), static_cast<LONG>(img.size()), AVIIF_KEYFRAME,
                           nullptr, nullptr);
        }
    }
    if (s) AVIStreamRelease(s);
    if (f) AVIFileRelease(f);
    AVIFileExit();
    return path;
}

}  // namespace viewtest
