// Connects the host to the sound stand-in's counters where the module plays through it.
#include "bench/host.h"
#include "bench/scenario.h"

#if !defined(_WIN32)
#include "platform/corvan_platform.h"
#endif

namespace bench {

void attach_sound_probe(Host& host) {
#if defined(_WIN32)
    (void)host;  // real DirectSound: plays are heard, not counted
#else
    host.sound_play_counter = [] { return uint64_t(corvan_dsound_play_requests()); };
    host.sound_device_fault = [](bool fail) { corvan_dsound_fail_device_creation(fail ? 1 : 0); };
    host.sound_clock = [](double seconds) { corvan_platform_set_time(seconds); };
    host.sound_live_devices = [] { return corvan_dsound_live_devices(); };
    host.sound_live_buffers = [] { return corvan_dsound_live_buffers(); };
#endif
}

}  // namespace bench
