// The closed loop's cost per frame: one Flight::step (the aircraft and every beacon of the default
// world, with both NAV receivers, the DME, the ADF and the markers at work) on an autopilot-flown
// ILS approach, placed again at its start every 2000 frames. This is the simulator's work the
// bench adds to each frame when `fly on`; the module's own frame is BM_ModuleOwnFrame.
//
//   CORVAN_PERF_FLIGHT_STEPS=N build/release/perf_benchmarks   N steps only, for callgrind
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "bench/sim/sim_model.h"

namespace {

using namespace bench;

constexpr long kApproachFrames = 2000;

struct Approach {
    SimModel sim;
    std::string error;
    long frames = 0;

    Approach() {
        if (!sim.flight.load_world("panels/default/world.txt", error)) return;
        const std::pair<uint32_t, double> values[] = {
            {0x67, 1},      {0x72, 1},  {0x318, 1}, {0x6A, 1},      {0x357, 300}, {0x70, 1},    {0x6C, 1},
            {0x6D, 3000},   {0x18, 0x1030}, {0x1B, 0x1360}, {0x36, 90}, {0x10, 0x345}, {0x12, 0},
        };
        for (auto [id, value] : values) sim.set(id, value);
        sim.flight.on = true;
    }
    void start() { sim.flight.place({46.48333, 7.74213}, 3000, 300, 140); }
    void step() {
        if (frames++ % kApproachFrames == 0) start();
        sim.flight.step(sim, sim.frame_period);
    }
};

}  // namespace

extern "C" __attribute__((noinline)) void corvan_flight_steps(void* approach, long steps) {
    auto* a = static_cast<Approach*>(approach);
    for (long i = 0; i < steps; ++i) a->step();
}

int count_flight_steps(long steps) {
    Approach a;
    if (!a.error.empty()) return std::fprintf(stderr, "%s\n", a.error.c_str()), 1;
    corvan_flight_steps(&a, steps);
    return 0;
}

namespace {

void BM_FlightStep(benchmark::State& state) {
    Approach a;
    if (!a.error.empty()) {
        state.SkipWithError(a.error.c_str());
        return;
    }
    for (auto _ : state) corvan_flight_steps(&a, 1);
    state.counters["stations"] = double(a.sim.flight.beacons().size());
}
BENCHMARK(BM_FlightStep)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace
