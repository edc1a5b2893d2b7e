// The module's four click sounds, synthesised as RIFF WAVE files: PCM mono 22050 Hz.
#pragma once

#include <cstdint>
#include <vector>

namespace resgen {

struct WaveSpec {
    int id;
    int bits;             // 8 or 16
    uint32_t data_bytes;  // exact size of the "data" chunk
};

// 10 toggle-switch click, 20 parking-brake ratchet, 30 button click, 40 two-tone altitude alert.
extern const WaveSpec kWaves[4];

// The whole RIFF file of one sound. Resource 20 carries a LIST chunk before "fmt ", resource 30 one
// after "data"; both are legal RIFF that a reader walking chunks must skip.
std::vector<uint8_t> synthesize_wave(const WaveSpec& wave);

}  // namespace resgen
