// Placeholder until the DirectSound player lands: gauges can already open, play and close.
#include "module/click_sound.h"

void click_sound_open(ClickSound& sound, GaugeExtra resource_handle, int) {
    sound = ClickSound{};
    sound.resource_handle = resource_handle;
}
void click_sound_play(ClickSound&) {}
void click_sound_close(ClickSound& sound) { sound.device = sound.buffer = nullptr; }
