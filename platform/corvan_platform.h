// The Linux stand-in for the Win32 calls the module makes, seen from the bench and the tests:
// the simulator's clock for sound durations, fault switches and live-object counts.
#pragma once

#include <stdint.h>

#if defined(__GNUC__) && !defined(_WIN32)
#define CORVAN_PLATFORM_API __attribute__((visibility("default")))
#else
#define CORVAN_PLATFORM_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Simulator time in seconds: a buffer plays for its data length at its format's rate on this clock.
CORVAN_PLATFORM_API void corvan_platform_set_time(double seconds);
// Fault switches: while set, DirectSoundCreate (device) or CreateSoundBuffer (buffer) fails.
CORVAN_PLATFORM_API void corvan_dsound_fail_device_creation(int fail);
CORVAN_PLATFORM_API void corvan_dsound_fail_buffer_creation(int fail);
// Play calls made on any buffer since the process started.
CORVAN_PLATFORM_API uint64_t corvan_dsound_play_requests(void);
// Plays that started (a buffer still playing does not start a second copy).
CORVAN_PLATFORM_API uint64_t corvan_dsound_plays_started(void);
// Devices and buffers created and not yet released.
CORVAN_PLATFORM_API int corvan_dsound_live_devices(void);
CORVAN_PLATFORM_API int corvan_dsound_live_buffers(void);

#ifdef __cplusplus
}
#endif
