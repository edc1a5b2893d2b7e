#include "wave.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace resgen {

const WaveSpec kWaves[4] = {{10, 16, 3828}, {20, 8, 10304}, {30, 16, 6014}, {40, 8, 12554}};

namespace {

constexpr double kRate = 22050.0;
constexpr double kPi = 3.14159265358979323846;

// A fixed noise source, so every build writes the same bytes.
struct Noise {
    uint32_t s = 0x9E3779B9u;
    double next() {
        s ^= s << 13;
        s ^= s >> 17;
        s ^= s << 5;
        return (s / 4294967295.0) * 2.0 - 1.0;
    }
};

// A struck mechanical part: a burst of noise and a damped ring at `freq`, starting at `t0` seconds.
void add_strike(std::vector<double>& v, double t0, double amp, double freq, double decay, Noise& noise) {
    size_t start = size_t(t0 * kRate);
    for (size_t i = start; i < v.size(); ++i) {
        double t = (i - start) / kRate;
        double env = std::exp(-t / decay);
        if (env < 1e-4) break;
        double noise_env = std::exp(-t / (decay * 0.25));
        v[i] += amp * (0.55 * env * std::sin(2 * kPi * freq * t) + 0.45 * noise_env * noise.next());
    }
}

std::vector<double> toggle_click(size_t n) {
    std::vector<double> v(n, 0.0);
    Noise noise;
    add_strike(v, 0.000, 0.9, 2600, 0.006, noise);  // the lever snapping over centre
    add_strike(v, 0.004, 0.5, 1100, 0.012, noise);  // the body of the switch
    add_strike(v, 0.032, 0.35, 3100, 0.004, noise); // the lever landing on its stop
    return v;
}

std::vector<double> ratchet(size_t n) {
    std::vector<double> v(n, 0.0);
    Noise noise;
    double t = 0.01;
    double gap = 0.034;
    for (int tooth = 0; tooth < 12 && t < n / kRate - 0.03; ++tooth) {
        add_strike(v, t, 0.75 - tooth * 0.03, 1800 + 90 * (tooth % 3), 0.005, noise);
        t += gap;
        gap *= 0.97;
    }
    add_strike(v, t + 0.02, 0.8, 700, 0.03, noise);  // the handle reaching its latch
    return v;
}

std::vector<double> button_click(size_t n) {
    std::vector<double> v(n, 0.0);
    Noise noise;
    add_strike(v, 0.002, 0.55, 1250, 0.010, noise);  // press
    add_strike(v, 0.070, 0.30, 1500, 0.008, noise);  // release
    return v;
}

std::vector<double> two_tone(size_t n) {
    std::vector<double> v(n, 0.0);
    const double half = n / 2.0;
    const double fade = 0.008 * kRate;
    for (size_t i = 0; i < n; ++i) {
        bool first = i < half;
        double f = first ? 1046.5 : 784.0;  // C6 then G5: the alerter's falling chime
        double local = first ? double(i) : i - half;
        double len = half;
        double env = std::min({1.0, local / fade, (len - local) / fade});
        double t = i / kRate;
        v[i] = 0.6 * env * (std::sin(2 * kPi * f * t) + 0.25 * std::sin(2 * kPi * 2 * f * t)) / 1.25;
    }
    return v;
}

void put_u32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void put_u16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put_tag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

// A LIST/INFO chunk holding one name text, padded to an even size.
void put_info_list(std::vector<uint8_t>& out, const std::string& name) {
    std::string text = name;
    text.push_back('\0');
    if (text.size() % 2) text.push_back('\0');
    put_tag(out, "LIST");
    put_u32(out, uint32_t(4 + 8 + text.size()));
    put_tag(out, "INFO");
    put_tag(out, "INAM");
    put_u32(out, uint32_t(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::vector<uint8_t> synthesize_wave(const WaveSpec& wave) {
    const int bytes_per_sample = wave.bits / 8;
    const size_t samples = wave.data_bytes / bytes_per_sample;
    std::vector<double> v;
    std::string name;
    switch (wave.id) {
    case 10: v = toggle_click(samples); name = "Toggle switch"; break;
    case 20: v = ratchet(samples); name = "Parking brake"; break;
    case 30: v = button_click(samples); name = "Button"; break;
    default: v = two_tone(samples); name = "Altitude alert"; break;
    }

    std::vector<uint8_t> out;
    put_tag(out, "RIFF");
    put_u32(out, 0);  // patched below
    put_tag(out, "WAVE");
    if (wave.id == 20) put_info_list(out, name);
    put_tag(out, "fmt ");
    put_u32(out, 18);
    put_u16(out, 1);  // PCM
    put_u16(out, 1);  // mono
    put_u32(out, uint32_t(kRate));
    put_u32(out, uint32_t(kRate) * bytes_per_sample);
    put_u16(out, uint16_t(bytes_per_sample));
    put_u16(out, uint16_t(wave.bits));
    put_u16(out, 0);  // no extra format bytes
    put_tag(out, "data");
    put_u32(out, wave.data_bytes);
    for (double s : v) {
        s = std::clamp(s, -1.0, 1.0);
        if (wave.bits == 16) {
            put_u16(out, uint16_t(int16_t(std::lround(s * 32000))));
        } else {
            out.push_back(uint8_t(std::lround(128 + s * 120)));
        }
    }
    if (wave.id == 30) put_info_list(out, name);
    uint32_t riff = uint32_t(out.size() - 8);
    std::memcpy(&out[4], &riff, 4);  // little-endian hosts only, as is every build machine here
    return out;
}

}  // namespace resgen
