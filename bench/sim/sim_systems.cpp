// Simulator reactions for the systems panel: switches that toggle a system, the gear and flaps
// handles and the gear legs and flaps that follow them over a few seconds, trims, the levers of
// the throttle quadrant, the starter (engaged while the switch is held), pitot heat, parking
// brake and the auxiliary fuel pump.
#include <algorithm>
#include <cmath>

#include "bench/sim/sim_model.h"

namespace bench {
namespace {

// A toggle event flips its system between 0 and 1.
struct Toggle {
    uint32_t event;
    uint32_t var;
};
constexpr Toggle kToggles[] = {
    {0x100D7, 0x0E},   // landing lights
    {0x1034B, 0x26B},  // navigation lights
    {0x10018, 0x0B},   // strobe lights
    {0x102C0, 0x171},  // taxi lights
    {0x10322, 0x388},  // propeller de-ice
    {0x10321, 0x389},  // structural de-ice
    {0x1034A, 0x26D},  // wing de-ice light
    {0x100D8, 0x143},  // parking brake
    {0x10324, 0x37B},  // auxiliary fuel pump
    {0x102C1, 0x16C},  // battery master
    {0x1033B, 0x235},  // right master switch
    {0x102F5, 0x2E4},  // avionics master
    {0x100D6, 0x0A},   // panel lighting
};

constexpr uint32_t kVarPitotHeat = 0x0D;
constexpr uint32_t kEventPitotHeatOn = 0x10218;
constexpr uint32_t kEventPitotHeatOff = 0x10219;

// Gear: the handle moves at once, the legs follow (the nose leg a little faster).
constexpr uint32_t kVarGearHandle = 0x14B;
constexpr uint32_t kEventGearUp = 0x1021F;
constexpr uint32_t kEventGearDown = 0x10220;
constexpr double kGearDown = 16384.0;
struct GearLeg {
    uint32_t var;
    double travel_seconds;  // full travel
};
constexpr GearLeg kGearLegs[] = {{0x14C, 5.0}, {0x14D, 6.0}, {0x14E, 6.0}};

// Flaps: three detents of the handle; the flaps follow in 8 seconds for the full travel.
constexpr uint32_t kVarFlapsHandle = 0x148;
constexpr uint32_t kVarFlapsPosition = 0x14A;
constexpr uint32_t kEventFlapsDown = 0x100DE;
constexpr uint32_t kEventFlapsUp = 0x100DF;
constexpr double kFlapsDetents[] = {0.0, 8192.0, 16383.0};
constexpr double kFlapsFull = 16382.0;
constexpr double kFlapsTravelSeconds = 8.0;

// Trims: a tenth of a degree per event, within each trim's travel. Pitch trim is negative nose
// down: the trim dial reads DN at its negative end, at the top, and the wheel's upper half is
// its NOSE DN end.
constexpr double kTrimStep = 0.0017453292519943296;
struct TrimStep {
    uint32_t event;
    uint32_t var;
    double direction;
    double limit;  // radians either way
};
constexpr TrimStep kTrimSteps[] = {
    {0x10047, 0x30F, -1.0, 0.523599},  // pitch trim wheel, upper area: nose down, as the wheel and dial read
    {0x1004F, 0x30F, +1.0, 0.523599},  // pitch trim wheel, lower area: nose up
    {0x102E4, 0x311, -1.0, 0.174533},  // quadrant trim switch, left
    {0x102E5, 0x311, +1.0, 0.174533},  // quadrant trim switch, right
};

// Levers take the sent position, 16384 being the full travel.
constexpr double kLeverFull = 16384.0;
struct LeverSet {
    uint32_t event;
    uint32_t var;
};
constexpr LeverSet kLeverSets[] = {{0x1011C, 0x22E}, {0x10183, 0x22F}, {0x1017F, 0x230}};

// Starter: engaged from the event until a frame passes without one. What the events did is kept
// in the simulator itself, under bench-only ids, so that each simulator has its own.
constexpr uint32_t kVarStarter = 0x233;
constexpr uint32_t kEventStarter = 0x102FC;
constexpr uint32_t kStarterHeld = 0xB0010233;     // bench-only: an event came since the last frame
constexpr uint32_t kStarterByEvent = 0xB0020233;  // bench-only: engaged by the events, not set by hand

double flaps_detent_after(double handle, int direction) {
    if (direction > 0) {
        for (double d : kFlapsDetents)
            if (d > handle + 0.5) return d;
        return kFlapsDetents[std::size(kFlapsDetents) - 1];
    }
    for (size_t i = std::size(kFlapsDetents); i-- > 0;)
        if (kFlapsDetents[i] < handle - 0.5) return kFlapsDetents[i];
    return kFlapsDetents[0];
}

// Moves `var` toward `target` by at most `step`.
void follow(SimModel& sim, uint32_t var, double target, double step) {
    double v = sim.get(var);
    if (!std::isfinite(v)) v = target;
    sim.set(var, v < target ? std::min(target, v + step) : std::max(target, v - step));
}

void add(SimReactions& r) {
    for (const Toggle& t : kToggles)
        r.events[t.event] = [var = t.var](SimModel& sim, uint32_t) { sim.set(var, sim.get(var) != 0 ? 0.0 : 1.0); };

    r.events[kEventPitotHeatOn] = [](SimModel& sim, uint32_t) { sim.set(kVarPitotHeat, 1.0); };
    r.events[kEventPitotHeatOff] = [](SimModel& sim, uint32_t) { sim.set(kVarPitotHeat, 0.0); };

    r.events[kEventGearUp] = [](SimModel& sim, uint32_t) { sim.set(kVarGearHandle, 0.0); };
    r.events[kEventGearDown] = [](SimModel& sim, uint32_t) { sim.set(kVarGearHandle, kGearDown); };

    r.events[kEventFlapsDown] = [](SimModel& sim, uint32_t) {
        sim.set(kVarFlapsHandle, flaps_detent_after(sim.get(kVarFlapsHandle), +1));
    };
    r.events[kEventFlapsUp] = [](SimModel& sim, uint32_t) {
        sim.set(kVarFlapsHandle, flaps_detent_after(sim.get(kVarFlapsHandle), -1));
    };

    for (const TrimStep& t : kTrimSteps)
        r.events[t.event] = [t](SimModel& sim, uint32_t) {
            sim.set(t.var, std::clamp(sim.get(t.var) + t.direction * kTrimStep, -t.limit, t.limit));
        };

    for (const LeverSet& l : kLeverSets)
        r.events[l.event] = [var = l.var](SimModel& sim, uint32_t param) {
            sim.set(var, std::clamp(double(param) / kLeverFull, 0.0, 1.0));
        };

    r.events[kEventStarter] = [](SimModel& sim, uint32_t) {
        sim.set(kStarterHeld, 1.0);
        sim.set(kStarterByEvent, 1.0);
        sim.set(kVarStarter, 1.0);
    };

    r.ticks.push_back([](SimModel& sim, double dt) {
        double handle = sim.get(kVarGearHandle);
        double target = handle >= kGearDown / 2 ? kGearDown : 0.0;
        for (const GearLeg& leg : kGearLegs) follow(sim, leg.var, target, kGearDown * dt / leg.travel_seconds);

        double flaps = std::clamp(sim.get(kVarFlapsHandle), 0.0, kFlapsDetents[2]) * kFlapsFull / kFlapsDetents[2];
        follow(sim, kVarFlapsPosition, flaps, kFlapsFull * dt / kFlapsTravelSeconds);

        if (sim.get(kStarterHeld) != 0) {
            sim.set(kStarterHeld, 0.0);
        } else if (sim.get(kStarterByEvent) != 0) {
            sim.set(kStarterByEvent, 0.0);
            sim.set(kVarStarter, 0.0);
        }
    });
}

SimRegistrar registrar(add);

}  // namespace
}  // namespace bench
