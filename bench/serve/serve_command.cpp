// `corvan-bench serve --panel FILE [--scenario FILE] [--port N]`: the panel on a page at
// http://127.0.0.1:N/ (8080 by default; 0 takes any free port). The bench runs the panel at 18
// frames a second on its own; the page shows each open window as a picture refreshed as it changes
// and sends clicks, held buttons and drags back to the gauge under the pointer. The scenario is
// played once before serving. If it switched the closed loop on (`fly on`), `fly` lets the aircraft
// fly on from where it left it; otherwise `fly` replays its set, calc, fail and frame lines, one
// frame a tick, over and over. The panel's state is served_panel.h's, the page's requests
// serve_routes.h's; this file starts them and stops them.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "bench/serve/serve_routes.h"
#include "bench/serve/served_panel.h"
#include "bench/serve/session_record.h"
#include "bench/subcommands.h"

namespace bench {
namespace {

constexpr int kDefaultPort = 8080;
constexpr time_t kKeepAliveSeconds = 2;  // an idle page connection holds up a stop this long

struct ServeOptions {
    std::string panel;
    std::string scenario;
    int port = kDefaultPort;
};
ServeOptions options;

int serve_panel(const std::string& module_path) {
    PanelConfig panel;
    std::string error;
    if (!read_panel_cfg(options.panel, panel, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const std::string& e : panel.errors) std::fprintf(stderr, "%s\n", e.c_str());
    if (options.port < 0 || options.port > 65535) {
        std::fprintf(stderr, "--port %d: not a TCP port\n", options.port);
        return 1;
    }

    Host host;
    if (!host.load(module_path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    attach_sound_probe(host);
    // Windows start as the panel lays them out; the module's buttons open and close them from here.
    for (const PanelWindow& w : panel.windows) host.sim.windows[w.ident] = w.visible;
    install_panel(host, panel);
    host.frame();
    Renderer renderer(module_bitmaps(host.module()));
    renderer.light_from(host.sim);
    settle_panel(panel, own_gauge_sizes(host, renderer));

    // The journal replays this start: the same installations, the first frame, the demo.
    SessionJournal journal;
    for (const PanelWindow& w : panel.windows)
        for (const PanelGauge& g : w.gauges)
            if (same_module_name(g.module) && host.module().find(g.name))
                journal.line("install " + g.name + (g.has_parameters ? " params " + scenario_quote(g.parameters) : ""));
    journal.frame();
    std::vector<FlightLine> flight;
    if (!options.scenario.empty()) {
        if (!play_demo(host, panel, renderer, options.scenario))
            std::fprintf(stderr, "%s: the demo had errors; serving the panel as it stands\n", options.scenario.c_str());
        flight = read_flight(options.scenario);
        for (const FlightLine& line : flight) {
            if (line.command.kind == Cmd::Frame)
                for (int i = 0; i < int(line.command.number); ++i) journal.frame();
            else if (line.command.kind == Cmd::World)  // read from wherever the session file goes
                journal.line("world " + scenario_quote(std::filesystem::absolute(
                                            std::filesystem::path(options.scenario).parent_path() / line.command.text).lexically_normal()));
            else if (line.command.kind != Cmd::RenderGauge && line.command.kind != Cmd::RenderWindow)
                journal.line(line.text);
        }
    }

    ServedPanel served(host, panel, renderer, journal, std::move(flight));
    httplib::Server server;
    server.set_keep_alive_timeout(kKeepAliveSeconds);
    add_routes(server, served, panel, host.module());

    // SIGINT and SIGTERM stop the server from a thread of their own, so that everything shuts
    // down in order (and leak checkers see a clean exit).
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    int port = options.port;
    if (port == 0) {
        port = server.bind_to_any_port(kLoopback);
    } else if (!server.bind_to_port(kLoopback, port)) {
        port = -1;
    }
    if (port < 0) {
        std::fprintf(stderr, "cannot listen on %s:%d\n", kLoopback, options.port);
        return 1;
    }

    std::atomic<bool> finished = false, signalled = false;
    std::thread signal_watch([&] {
        int signal = 0;
        sigwait(&stop_signals, &signal);
        signalled = true;
        if (finished) return;
        // A signal that comes before the server runs must still stop it.
        while (!server.is_running() && !finished) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        server.stop();
    });

    bool ok = false;
    {
        FrameClock clock(served);
        std::printf("serving %s on http://%s:%d/\n", options.panel.c_str(), kLoopback, port);
        std::fflush(stdout);
        ok = server.listen_after_bind();
    }
    finished = true;
    if (!signalled) pthread_kill(signal_watch.native_handle(), SIGTERM);
    signal_watch.join();
    std::printf("stopped\n");
    return ok ? 0 : 1;
}

int serve_command(const std::string& module_path) {
    int status = serve_panel(module_path);
    release_drawing_caches();
    return status;
}

SubcommandRegistrar registrar({
    .add =
        [](CLI::App& app, std::string& module_path) {
            CLI::App* sub = app.add_subcommand("serve", "serve the panel on an interactive page at 127.0.0.1");
            sub->add_option("--module", module_path, "gauge module to load");
            sub->add_option("--panel", options.panel, "panel.cfg placing the gauges")->required();
            sub->add_option("--scenario", options.scenario, "demo scenario played before serving");
            sub->add_option("--port", options.port, "TCP port on 127.0.0.1 (0: any free port)");
            return sub;
        },
    .run = serve_command,
});

}  // namespace
}  // namespace bench
