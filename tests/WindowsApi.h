#pragma once

// The Windows API for tests that reach the system directly, without its min and max macros,
// which would break std::min and std::max; nothing elsewhere.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
