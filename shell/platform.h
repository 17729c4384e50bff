// platform.h: where the Windows services come from.
//
// On Windows this is <windows.h> itself. Everywhere else it is the stand-in's declarations
// (shell/standin/winapi.h), implemented over SDL2 for the game and by a recording fake for the
// shell's tests. The choice is made at build time; nothing above this header knows which.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "standin/winapi.h"
#endif

#include <GL/gl.h>
#include <GL/glu.h>
