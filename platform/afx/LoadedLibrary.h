// A shared library opened at run time (dlopen) and its entry points, with the reason in words
// when either is missing. `what` names the facility for the user ("OpenGL", "FFmpeg").
#pragma once

#include <dlfcn.h>

#include <string>

namespace loadedlib {

// Opens name with the dlopen flags; on failure why says so, naming the package that provides
// the library when the library itself is what failed, not one it needs (another package's).
// A failure for want of memory starts why with "out of memory".
inline void* Open(const char* name, int flags, const char* what, const std::string& package, std::string& why) {
    void* lib = dlopen(name, flags);
    if (!lib) {
        const char* error = dlerror();
        const std::string text = error ? error : name;
        // A library the loader could not map, or allocate for, failed for want of memory.
        if (text.find("failed to map segment") != std::string::npos ||
            text.find("Cannot allocate memory") != std::string::npos) {
            why = "out of memory: " + std::string(what) + " could not be loaded (" + text + ")";
            return lib;
        }
        why = std::string(what) + " is not available: " + text;
        if (text.find(name) != std::string::npos) why += " (the " + package + " package provides " + name + ")";
    }
    return lib;
}

// Resolves entry point name of lib (libName) into fn; false, with why, when it has none.
template <class Fn>
bool Resolve(void* lib, const char* what, const char* libName, const char* name, Fn& fn, std::string& why) {
    fn = reinterpret_cast<Fn>(dlsym(lib, name));
    if (!fn) why = std::string(what) + " is not available: " + libName + " has no entry point " + name;
    return fn != nullptr;
}

}  // namespace loadedlib
