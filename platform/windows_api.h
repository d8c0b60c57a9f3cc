// <windows.h> for the platform sources that call the Windows API, without the macros (min, max)
// and the rarely used parts it would otherwise bring. Only .cpp files of the platform layer (and
// their tests) include this, and only on Windows.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
