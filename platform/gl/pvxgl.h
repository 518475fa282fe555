// OpenGL for the module: GL 1.1, GLU and the wgl-style binding to memory device contexts.
//
// Include this instead of the GL headers themselves. Rendering is off-screen through OSMesa;
// a context renders into the 24-bit DIB section selected into a memory DC, as wgl does with
// PFD_DRAW_TO_BITMAP. The functions are this layer's stand-ins for libOSMesa's and libGLU's,
// which load with the first context (GlLibrary.h); never link libGL or libOpenGL.
#pragma once

#include <GL/osmesa.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include "platform/gl/wgl.h"
