// The Win32 names the module calls (resources, memory, the multimedia file functions,
// DirectSound, FindWindowA, GetModuleFileNameA, wsprintfA): the real headers on Windows, the
// platform library's stand-in elsewhere. Include it only in units that make these calls.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>
#else
#include "platform/win32_substitute.h"
#endif
