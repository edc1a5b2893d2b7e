// The gauge-level steps of a click sound, over the DirectSound steps of sound_player.
//
// A gauge placed twice on the panels has one ClickSound for both placements (module state is per
// gauge): the first install opens the device and buffer, the last kill releases them.
#include "module/click_sound.h"

#include "module/sound_player.h"

void click_sound_open(ClickSound& sound, GaugeExtra resource_handle, int wave_id) {
    ++sound.placements;
    if (sound.device || sound.buffer) return;  // another placement of this gauge holds them
    sound.resource_handle = resource_handle;
    sound.window = find_host_window();
    if (sound_create_device(sound.window, &sound.device))
        sound_load_wave(sound.window, &sound.device, &sound.buffer, wave_id, resource_handle);
}

void click_sound_play(ClickSound& sound) { sound_play(&sound.buffer, 0); }

void click_sound_close(ClickSound& sound) {
    if (sound.placements > 0) --sound.placements;
    if (sound.placements > 0) return;
    sound_release(&sound.buffer);
    sound_release(&sound.device);
}
