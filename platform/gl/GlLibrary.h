// The OpenGL libraries, loaded when the first context is made instead of at program start.
//
// libOSMesa brings llvmpipe's LLVM with it (some 44 MB resident, relocated as it loads), which
// the commands that draw no triad never use. So this layer defines every gl, glu and OSMesa
// function the code calls as a stand-in that forwards to the entry point of the library loaded
// on first use: libOSMesa.so.8 into the global scope first, so that GLU's own gl calls bind to
// it and not to the libOpenGL (glvnd's dispatcher) that libGLU names, then libGLU.so.1. A gl
// call the list in GlLibrary.cpp lacks fails to link: add it there.
#pragma once

#include <string>

#include "platform/afx/afxtypes.h"

// Loads the libraries and resolves their entry points once per process. FALSE with the reason
// (a library missing, an entry point absent) on that and every later call; the first failure
// is also reported through AfxDiagnostic. Until it succeeds the stand-ins do nothing and
// return zero.
BOOL GlLoadLibraries(std::string& why);

// Opens the named libraries and resolves every entry point, without making them the process's;
// what opened stays loaded. FALSE with the reason, as GlLoadLibraries gives it.
BOOL GlProbeLibraries(const char* osmesa, const char* glu, std::string& why);
