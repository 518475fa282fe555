// The FFmpeg libraries, loaded when the first film is written or read instead of at program start.
//
// libavcodec and libavformat bring some hundred shared libraries with them (every codec's own),
// which each process would map and relocate, and a sanitized one scan at its end, though most
// commands make no film. So this layer defines every av, avcodec, avformat, avio and sws function
// the code calls as a stand-in that forwards to the entry point of the library loaded on first
// use: libavutil, libswscale, libavcodec and libavformat by the sonames of the FFmpeg this was
// built against. An FFmpeg call the list in FfmpegLibrary.cpp lacks fails to link: add it there.
#pragma once

#include <string>

#include "platform/afx/afxtypes.h"

// Sonames of the four libraries, in the order they load.
struct FfmpegLibraryNames {
    const char* avutil;
    const char* swscale;
    const char* avcodec;
    const char* avformat;
};

// Those of the FFmpeg this was built against.
extern const FfmpegLibraryNames kFfmpegLibraries;

// Loads the libraries and resolves their entry points once per process. FALSE with the reason
// (a library missing, an entry point absent) on that and every later call; the first failure
// is also reported through AfxDiagnostic. Until it succeeds the stand-ins do nothing and answer
// null, or AVERROR(ENOSYS) where they answer a number.
BOOL FfmpegLoadLibraries(std::string& why);

// Opens the named libraries and resolves every entry point, without making them the process's;
// what opened stays loaded. FALSE with the reason, as FfmpegLoadLibraries gives it.
BOOL FfmpegProbeLibraries(const FfmpegLibraryNames& names, std::string& why);
