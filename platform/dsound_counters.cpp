// Counters and fault switches of the DirectSound stand-in.
#include "platform/corvan_platform.h"

static double g_time = 0;
static int g_fail_device = 0;
static int g_fail_buffer = 0;
static uint64_t g_requests = 0;
static uint64_t g_started = 0;
static int g_devices = 0;
static int g_buffers = 0;

void corvan_platform_set_time(double seconds) { g_time = seconds; }
void corvan_dsound_fail_device_creation(int fail) { g_fail_device = fail; }
void corvan_dsound_fail_buffer_creation(int fail) { g_fail_buffer = fail; }
uint64_t corvan_dsound_play_requests(void) { return g_requests; }
uint64_t corvan_dsound_plays_started(void) { return g_started; }
int corvan_dsound_live_devices(void) { return g_devices; }
int corvan_dsound_live_buffers(void) { return g_buffers; }
