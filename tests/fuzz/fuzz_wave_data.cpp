// Fuzz: arbitrary bytes as a WAVE resource, loaded by the click sound player through the memory
// file and the DirectSound stand-in. The bytes sit in a block of exactly their size, so ASan
// reports any read past it; a load either fails cleanly or fills a buffer with the data chunk.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "module/sound_player.h"
#include "platform/embedded_resources.h"

extern "C" __attribute__((visibility("default"))) CorvanEmbeddedResource corvan_embedded_resources[2];
CorvanEmbeddedResource corvan_embedded_resources[2];

constexpr int kWaveId = 10;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 0x100000) return 0;
    std::unique_ptr<unsigned char[]> block(new unsigned char[size ? size : 1]);
    if (size) std::memcpy(block.get(), data, size);
    corvan_embedded_resources[0] = {CORVAN_RESOURCE_WAVE, kWaveId, block.get(), uint32_t(size)};

    sound_enabled = true;
    LPDIRECTSOUND device = nullptr;
    if (!sound_create_device(nullptr, &device)) std::abort();
    LPDIRECTSOUNDBUFFER buffer = nullptr;
    DWORD bytes = sound_load_wave(nullptr, &device, &buffer, kWaveId, 0);
    if ((bytes == 0) != (buffer == nullptr) || (bytes == 0) == sound_enabled || bytes > size) std::abort();
    if (buffer && !sound_play(&buffer, 0)) std::abort();
    sound_release(&buffer);
    sound_release(&device);
    if (corvan_dsound_live_buffers() != 0 || corvan_dsound_live_devices() != 0) std::abort();
    return 0;
}
