// Plays the module's own click sounds through the real DirectSound (under Wine in the tests):
// loads the four WAVE resources of Corvan_Instr.gau through its module handle, the way a gauge
// does at install, checks their formats and sizes, then plays one and waits until it has sounded.
//
//   corvan-sound-check MODULE.gau [WAVE_ID]
// Exit status 0 when all four loaded and the sound played; 77 when the module has no WAVE
// resources (nothing to test); 1 otherwise.
#include <cstdio>
#include <cstdlib>

#include "module/click_sound.h"
#include "module/sound_player.h"

namespace {

struct WantedWave {
    int id;
    WORD bits;
    DWORD bytes;
};
constexpr WantedWave kWaves[] = {{10, 16, 3828}, {20, 8, 10304}, {30, 16, 6014}, {40, 8, 12554}};
constexpr DWORD kRate = 22050;
constexpr DWORD kTailMs = 400;  // after the sound's own length, for the mixer to pass it on

bool check_wave(LPDIRECTSOUND device, HMODULE module, const WantedWave& want) {
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    DWORD bytes = sound_load_wave(nullptr, &device, &buffer, want.id, reinterpret_cast<GaugeExtra>(module));
    WAVEFORMATEX format = {};
    DWORD written = 0;
    bool ok = bytes == want.bytes && buffer && SUCCEEDED(buffer->GetFormat(&format, sizeof format, &written)) &&
              format.wFormatTag == WAVE_FORMAT_PCM && format.nChannels == 1 && format.nSamplesPerSec == kRate &&
              format.wBitsPerSample == want.bits;
    std::printf("WAVE %d: %lu bytes, %u-bit, %u channel(s), %lu Hz: %s\n", want.id, (unsigned long)bytes,
                format.wBitsPerSample, format.nChannels, (unsigned long)format.nSamplesPerSec, ok ? "ok" : "WRONG");
    sound_release(&buffer);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "Corvan_Instr.gau";
    int play_id = argc > 2 ? std::atoi(argv[2]) : 40;
    HMODULE module = LoadLibraryA(path);
    if (!module) {
        std::printf("sound check: cannot load %s (error %lu)\n", path, (unsigned long)GetLastError());
        return 1;
    }
    if (!FindResourceA(module, MAKEINTRESOURCEA(kWaves[0].id), "WAVE")) {
        std::printf("sound check: %s carries no WAVE resources yet\n", path);
        FreeLibrary(module);
        return 77;
    }

    LPDIRECTSOUND device = nullptr;
    bool ok = sound_create_device(find_host_window(), &device);
    if (!ok) std::printf("sound check: no DirectSound device\n");
    for (const WantedWave& w : kWaves)
        if (ok) ok = check_wave(device, module, w);
    sound_release(&device);

    if (ok) {
        ClickSound click = {};
        click_sound_open(click, reinterpret_cast<GaugeExtra>(module), play_id);
        DWORD status = 0;
        ok = click.buffer && sound_play(&click.buffer, 0) && SUCCEEDED(click.buffer->GetStatus(&status)) &&
             (status & DSBSTATUS_PLAYING);
        DWORD bytes = 0;
        for (const WantedWave& w : kWaves)
            if (w.id == play_id) bytes = w.bytes * 8 / w.bits;  // samples
        std::printf("played WAVE %d: %s\n", play_id, ok ? "sounding" : "FAILED");
        Sleep(bytes * 1000 / kRate + kTailMs);
        click_sound_close(click);
    }
    FreeLibrary(module);
    std::printf("sound check: %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
