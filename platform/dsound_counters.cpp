// Counters and fault switches of the DirectSound stand-in.
#include "platform/corvan_platform.h"
#include "platform/dsound_state.h"

namespace corvan_platform {
DsoundState& dsound_state() {
    static DsoundState state;
    return state;
}
}  // namespace corvan_platform

using corvan_platform::dsound_state;

void corvan_platform_set_time(double seconds) { dsound_state().time = seconds; }
void corvan_dsound_fail_device_creation(int fail) { dsound_state().fail_device = fail != 0; }
void corvan_dsound_fail_buffer_creation(int fail) { dsound_state().fail_buffer = fail != 0; }
void corvan_dsound_fail_buffer_lock(int fail) { dsound_state().fail_lock = fail != 0; }
uint64_t corvan_dsound_play_requests(void) { return dsound_state().play_requests; }
uint64_t corvan_dsound_plays_started(void) { return dsound_state().plays_started; }
int corvan_dsound_live_devices(void) { return dsound_state().live_devices; }
int corvan_dsound_live_buffers(void) { return dsound_state().live_buffers; }
uint64_t corvan_dsound_device_attempts(void) { return dsound_state().device_attempts; }
uint64_t corvan_dsound_buffer_attempts(void) { return dsound_state().buffer_attempts; }
