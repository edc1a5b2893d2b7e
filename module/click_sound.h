// Click sounds: each sounding gauge owns one DirectSound device and one secondary buffer, filled
// at install from one of the module's WAVE resources and played on a click.
#pragma once

#include "module/gauge_records.h"

// WAVE resource ids.
constexpr int kWaveToggleClick = 10;    // toggle switches
constexpr int kWaveParkingBrake = 20;   // parking brake ratchet
constexpr int kWaveButtonClick = 30;    // buttons and knobs
constexpr int kWaveAltitudeAlert = 40;  // autopilot altitude alert tone

// The Win32 objects, named without pulling the Win32 headers into every gauge unit.
struct HWND__;
struct IDirectSound;
struct IDirectSoundBuffer;

// One per sounding gauge, in the gauge's own module state; nothing allocates it.
struct ClickSound {
    GaugeExtra resource_handle;  // the module, as given at install
    HWND__* window;              // the simulator's main window, may be null
    IDirectSound* device;        // null when absent
    IDirectSoundBuffer* buffer;  // null when absent
    int placements;              // installed placements of the gauge; they share one device and buffer
};

// At service 2: keep the resource handle, find the host window, create the device and load the WAVE.
void click_sound_open(ClickSound& sound, GaugeExtra resource_handle, int wave_id);
// From a handler (or the altitude alert's callback): play the buffer once from where it is.
void click_sound_play(ClickSound& sound);
// At service 12: release the buffer, then the device.
void click_sound_close(ClickSound& sound);
