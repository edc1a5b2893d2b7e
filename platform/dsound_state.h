// State shared by the DirectSound stand-in's objects and its counters (inside the platform library).
#pragma once

#include <stdint.h>

namespace corvan_platform {

struct DsoundState {
    double time = 0;           // simulator clock, seconds
    bool fail_device = false;  // DirectSoundCreate fails while set
    bool fail_buffer = false;  // CreateSoundBuffer fails while set
    bool fail_lock = false;    // Buffer Lock fails while set
    uint64_t play_requests = 0;
    uint64_t plays_started = 0;
    uint64_t device_attempts = 0;
    uint64_t buffer_attempts = 0;
    int live_devices = 0;
    int live_buffers = 0;
};

DsoundState& dsound_state();

}  // namespace corvan_platform
