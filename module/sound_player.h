// The DirectSound steps behind the click sounds: the module-wide switch, the host window, the
// device, loading a WAVE resource into a secondary buffer, playing and releasing.
#pragma once

#include "module/gauge_records.h"
#include "module/win32_api.h"

// True at load; the first failing sound operation clears it for good, and from then on every
// sound operation returns at once (releases still go through, so nothing is leaked).
extern bool sound_enabled;

// The simulator's main window: class "MSCFSMAIN" when the executable's name (without folder and
// extension) has '2' as its fourth character or starts with 'C', else "FS98MAIN". May be null.
HWND find_host_window();
// A device on the default output with the normal cooperative level for `window`.
bool sound_create_device(HWND window, LPDIRECTSOUND* device);
// Fills a new secondary buffer on `device` from WAVE resource `wave_id` of the module behind
// `resource_handle`. Returns the sample bytes loaded; 0, with the buffer null, on failure.
DWORD sound_load_wave(HWND window, LPDIRECTSOUND* device, LPDIRECTSOUNDBUFFER* buffer, int wave_id,
                      GaugeExtra resource_handle);
// Starts the buffer once from where it stands (flags 0) or with the given play flags.
bool sound_play(LPDIRECTSOUNDBUFFER* buffer, DWORD flags);
// Releases the object when its handle is not null, and sets the handle null.
void sound_release(LPDIRECTSOUNDBUFFER* buffer);
void sound_release(LPDIRECTSOUND* device);

// The parts of find_host_window, for the tests: the window class an executable path asks for.
const char* host_window_class(const char* executable_path);
