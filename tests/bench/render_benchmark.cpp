// Cost of a frame as the bench runs it: every gauge updated by the bench, and the main panel
// window drawn at 1:1 (every gauge of it updated and drawn), on one core.
//
//   make perf            or   build/release/perf_benchmarks [--benchmark_filter=MainPanel]
// The module is found next to the executable (or CORVAN_MODULE), the panel at
// panels/default/panel.cfg (or CORVAN_PANEL).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "tests/bench/climb.h"

namespace {

using namespace bench;

std::string env_or(const char* name, const std::string& fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

struct Panel {
    Host host;
    PanelConfig config;
    std::string error;
    bool ok = false;

    // Installs the gauges of the window with `ident`, or of every window when ident is -1.
    explicit Panel(int32_t ident) {
        if (!host.load(env_or("CORVAN_MODULE", default_module_path()), error)) return;
        if (!read_panel_cfg(env_or("CORVAN_PANEL", "panels/default/panel.cfg"), config, error)) return;
        for (const PanelWindow& w : config.windows)
            if (ident < 0 || w.ident == ident)
                for (const PanelGauge& g : w.gauges) host.install(g.name, g.has_parameters ? g.parameters.c_str() : nullptr, error);
        for (auto [id, value] : kClimb) host.sim.set(id, value);
        host.frame();
        ok = true;
    }
};

// The main window of the panel drawn at 1:1, as the bench's renderer draws it each frame.
struct MainWindow {
    Panel panel{0};
    const PanelWindow* main = panel.ok ? find_window(panel.config, 0) : nullptr;
    Renderer renderer{module_bitmaps(panel.host.module())};
    std::vector<std::vector<Placement*>> placements = panel_placements(panel.host, panel.config);
    cairo_surface_t* surface = main ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, main->width, main->height) : nullptr;
    cairo_t* cr = surface ? cairo_create(surface) : nullptr;
    size_t index = main ? size_t(main - panel.config.windows.data()) : 0;
    double heading = 0;

    MainWindow() { renderer.light_from(panel.host.sim); }
    ~MainWindow() {
        if (cr) cairo_destroy(cr);
        if (surface) cairo_surface_destroy(surface);
    }
    std::string error() const { return panel.error.empty() ? "the panel has no main window" : panel.error; }
    void frame() {
        panel.host.sim.set(0x54, heading += 0.5);  // something moves every frame
        panel.host.frame();
        draw_window(cr, renderer, panel.config, index, placements[index]);
        cairo_surface_flush(surface);
    }
};

void BM_MainPanelFrameDrawn(benchmark::State& state) {
    MainWindow window;
    if (!window.main) {
        state.SkipWithError(window.error().c_str());
        return;
    }
    for (auto _ : state) window.frame();
    state.counters["frames_per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["gauges"] = double(window.main->gauges.size());
    state.counters["pixels"] = double(window.main->width) * window.main->height;
}
BENCHMARK(BM_MainPanelFrameDrawn)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The bench's frame (its simulator model and element bookkeeping) with the module's work in it;
// module_cost_benchmark.cpp measures the module alone.
void BM_BenchFrameAllGauges(benchmark::State& state) {
    Panel panel(-1);
    if (!panel.ok) {
        state.SkipWithError(panel.error.c_str());
        return;
    }
    for (auto _ : state) panel.host.frame();
    state.counters["placements"] = double(panel.host.placements().size());
}
BENCHMARK(BM_BenchFrameAllGauges)->Unit(benchmark::kMicrosecond);

}  // namespace

// N frames of the main window after one to fill the caches; its own symbol, so that callgrind
// counts inside it alone (instructions.sh).
extern "C" __attribute__((noinline)) void corvan_window_frames(void* window, long frames) {
    for (long f = 0; f < frames; ++f) static_cast<MainWindow*>(window)->frame();
}

int count_window_frames(long frames) {
    MainWindow window;
    if (!window.main) {
        std::fprintf(stderr, "%s\n", window.error().c_str());
        return 1;
    }
    window.frame();
    corvan_window_frames(&window, frames);
    return 0;
}
