// What a shell command prints on its standard output, for tests that ask outside tools
// (ffprobe, the system python) about the files they made.
#pragma once

#include <cstdio>
#include <string>

namespace testcmd {

inline std::string Output(const std::string& cmd) {
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[512];
        while (std::fgets(buf, sizeof(buf), p)) out += buf;
        ::pclose(p);
    }
    return out;
}

}  // namespace testcmd
