// Simulator reactions: the radio stack's tuning, transfer, ADF set and DME source events, the
// squawk code, the audio panel's transmit and receiver selection, and the NAV identifier audio.
//
// COM and NAV frequencies are kept as the BCD words the gauges read. COM standby whole-MHz steps
// wrap within 118-136, its fraction steps by 25 kHz channels (shown with two decimals: .00 .02
// .05 .07 ...) and wraps within the megahertz; NAV wraps within 108-117 by 50 kHz. The DME
// variables carry the readings of the receiver last chosen (NAV1 until a source event says
// otherwise); the other receiver's readings wait under bench-only ids, 0xB0001174-0xB0001176 for
// NAV1 and 0xB0002174-0xB0002176 for NAV2, which scenarios may set like any variable.
//
// The squawk's digit events step one octal digit alone (7 up gives 0, 0 down gives 7); the set
// event writes the whole word, whatever it holds. A transmit-select event selects its COM (and
// deselects the other); sent for the COM already selected it deselects it, so the audio panel's
// OFF position sticks. The identifier audio of each NAV receiver is kept under the bench-only ids
// 0xB0001128 (NAV1) and 0xB0002128 (NAV2): 1 heard, 0 silent.
#include "bench/sim/sim_model.h"
#include "module/radio_bcd.h"

namespace bench {
namespace {

struct Tuner {
    uint32_t active_var;
    uint32_t standby_var;
    uint32_t whole_up, whole_down, fraction_up, fraction_down, transfer;
};

constexpr Tuner kCom1 = {0x17, 0x269, 0x10065, 0x10064, 0x10067, 0x10066, 0x10344};
constexpr Tuner kCom2 = {0x366, 0x367, 0x10385, 0x10384, 0x10388, 0x10386, 0x1038C};
constexpr Tuner kNav1 = {0x18, 0x368, 0x10069, 0x10068, 0x1006B, 0x1006A, 0x10390};
constexpr Tuner kNav2 = {0x1B, 0x369, 0x1006D, 0x1006C, 0x1006F, 0x1006E, 0x10394};

struct Band {
    int32_t lowest_mhz;
    int32_t highest_mhz;
    int32_t channels_per_mhz;  // 40 for 25 kHz, 20 for 50 kHz
};

constexpr Band kComBand = {118, 136, 40};
constexpr Band kNavBand = {108, 117, 20};
constexpr int32_t kKhzPerMhz = 1000;

uint32_t word(const SimModel& sim, uint32_t var) { return radio::frequency_word(sim.get(var)); }

// Channel a two-decimal display stands for: the highest whose shown hundredths are not above it.
int32_t channel_of(int32_t hundredths, const Band& band) {
    const int32_t khz_step = kKhzPerMhz / band.channels_per_mhz;
    return (hundredths * 10 + 9) / khz_step;
}
int32_t hundredths_of(int32_t channel, const Band& band) {
    return channel * (kKhzPerMhz / band.channels_per_mhz) / 10;
}

void step_whole(SimModel& sim, const Tuner& t, const Band& band, int32_t delta) {
    const uint32_t v = word(sim, t.standby_var);
    int32_t mhz = radio::bcd_whole_mhz(v);
    if (mhz < band.lowest_mhz || mhz > band.highest_mhz) mhz = band.lowest_mhz - delta;  // untuned: band edge
    mhz += delta;
    if (mhz > band.highest_mhz) mhz = band.lowest_mhz;
    if (mhz < band.lowest_mhz) mhz = band.highest_mhz;
    sim.set(t.standby_var, radio::bcd_frequency(mhz, radio::frequency_hundredths(v) % 100));
}

void step_fraction(SimModel& sim, const Tuner& t, const Band& band, int32_t delta) {
    const uint32_t v = word(sim, t.standby_var);
    const int32_t n = band.channels_per_mhz;
    const int32_t channel = (channel_of(radio::frequency_hundredths(v) % 100, band) % n + delta + n) % n;
    int32_t mhz = radio::bcd_whole_mhz(v);
    if (mhz < band.lowest_mhz || mhz > band.highest_mhz) mhz = band.lowest_mhz;
    sim.set(t.standby_var, radio::bcd_frequency(mhz, hundredths_of(channel, band)));
}

void add_tuner(SimReactions& r, const Tuner& t, const Band& band) {
    r.events[t.whole_up] = [t, band](SimModel& sim, uint32_t) { step_whole(sim, t, band, +1); };
    r.events[t.whole_down] = [t, band](SimModel& sim, uint32_t) { step_whole(sim, t, band, -1); };
    r.events[t.fraction_up] = [t, band](SimModel& sim, uint32_t) { step_fraction(sim, t, band, +1); };
    r.events[t.fraction_down] = [t, band](SimModel& sim, uint32_t) { step_fraction(sim, t, band, -1); };
    r.events[t.transfer] = [t](SimModel& sim, uint32_t) {
        const double active = sim.get(t.active_var);
        sim.set(t.active_var, sim.get(t.standby_var));
        sim.set(t.standby_var, active);
    };
}

// ADF: the set events carry hundreds, tens, units and tenths as BCD; the event tells the thousands.
constexpr uint32_t kAdfActiveHigh = 0x10;
constexpr uint32_t kAdfActiveTenths = 0x12;
constexpr uint32_t kAdfSetBelow1000 = 0x1024A;
constexpr uint32_t kAdfSetFrom1000 = 0x1024B;

void set_adf(SimModel& sim, uint32_t param, bool thousands) {
    sim.set(kAdfActiveHigh, radio::adf_param_high_word(param));
    sim.set(kAdfActiveTenths, radio::adf_param_tenths_word(param, thousands));
}

// DME: distance, speed and time to station of the receiver chosen by the last source event.
constexpr uint32_t kDmeVars[] = {0x174, 0x175, 0x176};
constexpr uint32_t kDmeSource = 0xB0000000;  // bench-only: receiver the DME follows, 1 (default) or 2
constexpr uint32_t kDmeStore = 0xB0000000;   // bench-only: + receiver * 0x1000 + variable
constexpr uint32_t kDmeFollowNav1 = 0x100FB;
constexpr uint32_t kDmeFollowNav2 = 0x100FC;

uint32_t dme_store(uint32_t receiver, uint32_t var) { return kDmeStore + receiver * 0x1000 + var; }

void follow(SimModel& sim, uint32_t receiver) {
    const uint32_t current = sim.get(kDmeSource) == 2 ? 2 : 1;
    if (receiver == current) return;
    for (uint32_t var : kDmeVars) {
        sim.set(dme_store(current, var), sim.get(var));
        sim.set(var, sim.get(dme_store(receiver, var)));
    }
    sim.set(kDmeSource, receiver);
}

// Squawk code: four BCD nibbles, thousands in bits 12-15.
constexpr uint32_t kSquawk = 0x26;
constexpr uint32_t kSquawkSet = 0x100B3;
constexpr uint32_t kSquawkUp[] = {0x10076, 0x10075, 0x10074, 0x10073};    // ones to thousands
constexpr uint32_t kSquawkDown[] = {0x1039A, 0x10399, 0x10398, 0x10397};  // ones to thousands
constexpr uint32_t kOctalTop = 7;

void step_squawk_digit(SimModel& sim, int place, bool up) {
    const uint32_t v = radio::frequency_word(sim.get(kSquawk));
    const int shift = 4 * place;
    uint32_t d = (v >> shift) & 0xF;
    if (up) d = d >= kOctalTop ? 0 : d + 1;
    else d = d == 0 || d > kOctalTop ? kOctalTop : d - 1;
    sim.set(kSquawk, (v & ~(0xFu << shift)) | d << shift);
}

// Audio panel: which COM transmits, and whether both receivers are heard.
constexpr uint32_t kCom1Transmits = 0x36A;
constexpr uint32_t kCom2Transmits = 0x36B;
constexpr uint32_t kBothComHeard = 0x36C;
constexpr uint32_t kCom1TransmitSelect = 0x1039F;
constexpr uint32_t kCom2TransmitSelect = 0x103A0;
constexpr uint32_t kBothComToggle = 0x103A1;

void transmit_select(SimModel& sim, uint32_t chosen, uint32_t other) {
    const bool already = sim.get(chosen) == 1.0 && sim.get(other) == 0.0;
    sim.set(chosen, already ? 0.0 : 1.0);
    sim.set(other, 0.0);
}

// NAV identifier audio: the receiver's identifier heard (bench-only ids).
struct IdentAudio {
    uint32_t on_event, off_event, state;
};
constexpr IdentAudio kIdentAudio[] = {{0x1012D, 0x10128, 0xB0001128}, {0x1012E, 0x10129, 0xB0002128}};

void add(SimReactions& r) {
    add_tuner(r, kCom1, kComBand);
    add_tuner(r, kCom2, kComBand);
    add_tuner(r, kNav1, kNavBand);
    add_tuner(r, kNav2, kNavBand);
    r.events[kAdfSetBelow1000] = [](SimModel& sim, uint32_t p) { set_adf(sim, p, false); };
    r.events[kAdfSetFrom1000] = [](SimModel& sim, uint32_t p) { set_adf(sim, p, true); };
    r.events[kDmeFollowNav1] = [](SimModel& sim, uint32_t) { follow(sim, 1); };
    r.events[kDmeFollowNav2] = [](SimModel& sim, uint32_t) { follow(sim, 2); };
    for (int place = 0; place < 4; ++place) {
        r.events[kSquawkUp[place]] = [place](SimModel& sim, uint32_t) { step_squawk_digit(sim, place, true); };
        r.events[kSquawkDown[place]] = [place](SimModel& sim, uint32_t) { step_squawk_digit(sim, place, false); };
    }
    r.events[kSquawkSet] = [](SimModel& sim, uint32_t p) { sim.set(kSquawk, p); };
    r.events[kCom1TransmitSelect] = [](SimModel& sim, uint32_t) {
        transmit_select(sim, kCom1Transmits, kCom2Transmits);
    };
    r.events[kCom2TransmitSelect] = [](SimModel& sim, uint32_t) {
        transmit_select(sim, kCom2Transmits, kCom1Transmits);
    };
    r.events[kBothComToggle] = [](SimModel& sim, uint32_t) {
        sim.set(kBothComHeard, sim.get(kBothComHeard) > 0 ? 0 : 1);
    };
    for (const IdentAudio& a : kIdentAudio) {
        r.events[a.on_event] = [a](SimModel& sim, uint32_t) { sim.set(a.state, 1); };
        r.events[a.off_event] = [a](SimModel& sim, uint32_t) { sim.set(a.state, 0); };
    }
}

SimRegistrar registrar(add);

}  // namespace
}  // namespace bench
