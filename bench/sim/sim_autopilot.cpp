// Simulator reactions for the autopilot: the mode events switch their mode variables on, off or
// over; the target events set the altitude and vertical-speed targets; the pitch wheel steps the
// attitude-hold pitch reference; the NAV/GPS button switches the navigation source. The
// reference is kept under the bench-only id 0xB0000417 (degrees, nose-up negative like 0x4E).
// The heading bug and the two OBS courses take the whole degrees their set events carry.
#include <cstdint>

#include "bench/sim/sim_model.h"

namespace bench {
namespace {

enum class Act { On, Off, Toggle };

struct ModeEvent {
    uint32_t event;
    uint32_t var;
    Act act;
};
constexpr ModeEvent kModeEvents[] = {
    {0x1002C, 0x67, Act::Toggle},  // autopilot master
    {0x100FF, 0x67, Act::Off},
    {0x10101, 0x72, Act::Toggle},  // yaw damper
    {0x10215, 0x72, Act::On},
    {0x10216, 0x72, Act::Off},
    {0x102F0, 0x318, Act::Toggle},  // flight director
    {0x1023A, 0x6A, Act::On},       // heading hold
    {0x1023B, 0x6A, Act::Off},
    {0x10117, 0x6A, Act::Off},
    {0x10113, 0x69, Act::On},  // NAV hold
    {0x1011B, 0x69, Act::Off},
    {0x1010E, 0x70, Act::On},  // approach hold
    {0x10116, 0x70, Act::Off},
    {0x10112, 0x71, Act::On},  // back-course hold
    {0x1011A, 0x71, Act::Off},
    {0x10237, 0x6C, Act::On},  // altitude hold
    {0x10238, 0x6C, Act::Off},
    {0x10118, 0x6C, Act::Off},
    {0x1010C, 0x6E, Act::On},  // attitude hold
    {0x10114, 0x6E, Act::Off},
    {0x1022E, 0x73, Act::Off},     // airspeed hold
    {0x10119, 0x68, Act::Off},     // wing leveler
    {0x10347, 0x350, Act::Toggle},  // navigation source, NAV or GPS
};

constexpr uint32_t kEventSetAltTarget = 0x1024C;
constexpr uint32_t kVarAltTarget = 0x6D;
constexpr uint32_t kEventSetVsTarget = 0x101F4;
constexpr uint32_t kVarVsTarget = 0x78;

constexpr uint32_t kEventPitchUp = 0x10417;
constexpr uint32_t kEventPitchDown = 0x10418;
constexpr uint32_t kVarPitchReference = 0xB0000417;
constexpr double kPitchReferenceStep = 0.5;  // degrees per event

struct Selector {
    uint32_t event;
    uint32_t vars[2];  // a second variable of 0 is none
};
constexpr Selector kSelectors[] = {
    {0x101FA, {0x357, 0x6B}},  // heading bug, the autopilot's heading
    {0x100B4, {0x2D, 0}},      // NAV1 OBS
    {0x100B5, {0x36, 0}},      // NAV2 OBS
};

void add(SimReactions& r) {
    for (const Selector& s : kSelectors)
        r.events[s.event] = [s](SimModel& sim, uint32_t param) {
            for (uint32_t var : s.vars)
                if (var) sim.set(var, int32_t(param) % 360);
        };

    for (const ModeEvent& m : kModeEvents)
        r.events[m.event] = [m](SimModel& sim, uint32_t) {
            bool on = m.act == Act::On || (m.act == Act::Toggle && sim.get(m.var) == 0);
            sim.set(m.var, on ? 1.0 : 0.0);
        };

    // Targets arrive as signed 32-bit words.
    r.events[kEventSetAltTarget] = [](SimModel& sim, uint32_t param) { sim.set(kVarAltTarget, int32_t(param)); };
    r.events[kEventSetVsTarget] = [](SimModel& sim, uint32_t param) { sim.set(kVarVsTarget, int32_t(param)); };

    r.events[kEventPitchUp] = [](SimModel& sim, uint32_t) {
        sim.set(kVarPitchReference, sim.get(kVarPitchReference) - kPitchReferenceStep);
    };
    r.events[kEventPitchDown] = [](SimModel& sim, uint32_t) {
        sim.set(kVarPitchReference, sim.get(kVarPitchReference) + kPitchReferenceStep);
    };
}

SimRegistrar registrar(add);

}  // namespace
}  // namespace bench
