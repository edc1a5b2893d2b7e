// The module's own cost per frame: every gauge of the table installed once, and per frame only
// what the simulator's panel system would call into the module (service 6, every element's update
// callbacks), served by a flat variable table instead of the bench's simulator model. Heap
// allocations during the frames are counted through this program's malloc.
//
//   make perf                                   (with the benchmarks in render_benchmark.cpp)
//   CORVAN_PERF_FRAMES=N build/release/perf_benchmarks   N frames only, for callgrind (instructions.sh)
//   CORVAN_PERF_WINDOW_FRAMES=N ...                      N main windows drawn only, likewise
//   CORVAN_PERF_FLIGHT_STEPS=N ...                       N steps of the closed loop only (flight_benchmark.cpp)
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/element_update.h"
#include "bench/host.h"
#include "tests/bench/climb.h"

// ---------------------------------------------------------------------------------------------
// Counting allocator: the module's and this program's malloc calls land here.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
}
static unsigned long long g_allocations = 0;
extern "C" void* malloc(size_t n) { return ++g_allocations, __libc_malloc(n); }
extern "C" void* calloc(size_t n, size_t size) { return ++g_allocations, __libc_calloc(n, size); }
extern "C" void* realloc(void* p, size_t n) { return ++g_allocations, __libc_realloc(p, n); }
extern "C" void free(void* p) { __libc_free(p); }

namespace {

using namespace bench;

constexpr uint32_t kFlatVars = 0x400;  // every token variable id the gauges read lies below
double g_vars[kFlatVars];
unsigned long long g_events = 0;

void GAUGE_CALL flat_lookup(MODULE_VAR* v) {
    v->var_old = v->var_value;
    v->var_value.n = v->id < kFlatVars ? g_vars[v->id] : 0.0;
}
int32_t GAUGE_CALL flat_event(uint32_t, uint32_t) { return ++g_events, 0; }
int32_t GAUGE_CALL flat_toggle(uint32_t) { return 1; }
int32_t GAUGE_CALL flat_calc(const char*, double* number, int32_t* integer, const char** text) {
    if (number) *number = 6500;
    if (integer) *integer = 6500;
    if (text) *text = "N208CV";
    return 1;
}
void* g_services[SERVICE_TABLE_WORDS];

// What the panel system does for one element each frame, without the bench's bookkeeping.
inline void update(ELEMENT_HEADER* h) {
    double values[3];
    update_element_values(h, [](MODULE_VAR& v) { flat_lookup(&v); }, values);
}

struct Gauge {
    GAUGEHDR* header;
    std::vector<ELEMENT_HEADER*> elements;  // drawing order
};

// Every gauge installed once by the bench, then served by the flat table.
struct ModulePanel {
    Host host;
    std::vector<Gauge> gauges;
    std::string error;

    ModulePanel() {
        const char* path = std::getenv("CORVAN_MODULE");
        if (!host.load(path && *path ? path : default_module_path(), error)) return;
        for (GAUGEHDR* g : host.module().gauges)
            if (!host.install(g->gauge_name, nullptr, error)) return;
        for (const auto& p : host.placements()) {
            Gauge g{p->gauge, {}};
            for (const ElementSlot& s : p->elements) g.elements.push_back(s.record);
            gauges.push_back(std::move(g));
        }
        for (auto [id, value] : kClimb) g_vars[id] = value;
        g_services[SERVICE_PANEL_WINDOW_TOGGLE] = reinterpret_cast<void*>(&flat_toggle);
        g_services[SERVICE_TRIGGER_KEY_EVENT] = reinterpret_cast<void*>(&flat_event);
        g_services[SERVICE_LOOKUP_VAR] = reinterpret_cast<void*>(&flat_lookup);
        g_services[SERVICE_EXECUTE_CALCULATOR_CODE] = reinterpret_cast<void*>(&flat_calc);
        host.module().import_table->entries[0].services = g_services;
    }
};

}  // namespace

// One frame of every gauge; its own symbol, so that callgrind can count inside it alone.
extern "C" __attribute__((noinline)) void corvan_module_frames(const void* panel, long frames) {
    const auto* gauges = static_cast<const std::vector<Gauge>*>(panel);
    for (long f = 0; f < frames; ++f) {
        g_vars[0x25C] += 1.0 / 18.0;  // the simulator's clock and tick count
        g_vars[0x01] += 1.0;
        g_vars[0x54] = std::fmod(g_vars[0x54] + 0.5, 360.0);  // something moves every frame
        for (const Gauge& g : *gauges) {
            if (g.header->gauge_callback) g.header->gauge_callback(g.header, PANEL_SERVICE_PRE_UPDATE, 0);
            for (ELEMENT_HEADER* e : g.elements) update(e);
        }
    }
}

namespace {

void BM_ModuleOwnFrame(benchmark::State& state) {
    ModulePanel panel;
    if (panel.gauges.empty()) {
        state.SkipWithError(panel.error.c_str());
        return;
    }
    corvan_module_frames(&panel.gauges, 18);
    unsigned long long allocations = g_allocations;
    for (auto _ : state) corvan_module_frames(&panel.gauges, 1);
    allocations = g_allocations - allocations;
    state.counters["gauges"] = double(panel.gauges.size());
    state.counters["allocations_per_frame"] = double(allocations) / double(state.iterations());
}
BENCHMARK(BM_ModuleOwnFrame)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace

int count_window_frames(long frames);  // render_benchmark.cpp
int count_flight_steps(long steps);    // flight_benchmark.cpp

int main(int argc, char** argv) {
    if (const char* frames = std::getenv("CORVAN_PERF_WINDOW_FRAMES")) return count_window_frames(std::atol(frames));
    if (const char* steps = std::getenv("CORVAN_PERF_FLIGHT_STEPS")) return count_flight_steps(std::atol(steps));
    if (const char* frames = std::getenv("CORVAN_PERF_FRAMES")) {
        ModulePanel panel;
        if (panel.gauges.empty()) {
            std::fprintf(stderr, "%s\n", panel.error.c_str());
            return 1;
        }
        corvan_module_frames(&panel.gauges, std::atol(frames));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
