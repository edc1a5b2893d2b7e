// The Linux stand-in for the Win32 calls the module makes, seen from the bench and the tests:
// the simulator's clock for sound durations, fault switches, live-object counts, recorded plays,
// and the host's executable name and main window.
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
// The other steps of loading a click sound, likewise: FindResourceA finds no WAVE resource,
// mmioDescend finds no RIFF chunk, a buffer's Lock fails.
CORVAN_PLATFORM_API void corvan_platform_fail_wave_resources(int fail);
CORVAN_PLATFORM_API void corvan_platform_fail_riff_chunks(int fail);
CORVAN_PLATFORM_API void corvan_dsound_fail_buffer_lock(int fail);
// Play calls made on any buffer since the process started.
CORVAN_PLATFORM_API uint64_t corvan_dsound_play_requests(void);
// Plays that started (a buffer still playing does not start a second copy).
CORVAN_PLATFORM_API uint64_t corvan_dsound_plays_started(void);
// Devices and buffers created and not yet released.
CORVAN_PLATFORM_API int corvan_dsound_live_devices(void);
CORVAN_PLATFORM_API int corvan_dsound_live_buffers(void);
// Calls to DirectSoundCreate and to CreateSoundBuffer since the process started, failed or not.
CORVAN_PLATFORM_API uint64_t corvan_dsound_device_attempts(void);
CORVAN_PLATFORM_API uint64_t corvan_dsound_buffer_attempts(void);

// What a live buffer holds and has been asked to do; false when `buffer` is not a live buffer.
struct CorvanBufferInfo {
    uint32_t flags;             // the description's flags
    uint32_t bytes;             // buffer size
    uint16_t format_tag;        // the format it was created with
    uint16_t channels;
    uint32_t samples_per_sec;
    uint16_t bits_per_sample;
    const unsigned char* data;  // its bytes, as unlocked last
    uint64_t play_requests;     // Play calls on it
    uint64_t plays_started;     // of which started a sound
    int playing;                // sounding now, on the simulator clock
};
CORVAN_PLATFORM_API int corvan_dsound_buffer_info(const void* buffer, struct CorvanBufferInfo* out);

// The program path GetModuleFileNameA reports for the running program; null restores the real one.
CORVAN_PLATFORM_API void corvan_platform_set_executable_path(const char* path);
// The class of the one top-level window FindWindowA finds; null: there is none (the default).
CORVAN_PLATFORM_API void corvan_platform_set_host_window_class(const char* class_name);
// The class of the last FindWindowA call ("" before any), for tests.
CORVAN_PLATFORM_API const char* corvan_platform_last_window_class(void);

#ifdef __cplusplus
}
#endif
