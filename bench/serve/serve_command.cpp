// `corvan-bench serve --panel FILE [--scenario FILE] [--port N]`: the panel on a page at
// http://127.0.0.1:N/ (8080 by default; 0 takes any free port). The bench runs the panel at 18
// frames a second on its own; the page shows each open window as a picture refreshed a few times
// a second and sends clicks, held buttons and drags back to the gauge under the pointer.
//
//   GET  /                       the page
//   GET  /window/IDENT.png       a window as the last frame left it
//   GET  /api/state              frame count, simulation, windows open or closed, recent key events
//   GET  /api/var?id=HEX         a token variable
//   POST /api/mouse              window, x, y (window pixels), button left|right,
//                                action press|repeat|drag|release
//   POST /api/var                id (hex), value
//   POST /api/simulate           on 1|0
//   POST /api/window             ident, open 1|0 (as the simulator's window menu would)
//
// One mutex guards the host, the renderer and the log: the frame thread and the request handlers
// take turns. The server answers on the loopback address only, only to requests naming it as
// 127.0.0.1 or localhost, and takes POSTs only with the page's own header, so that other sites
// open in the same browser cannot drive it.
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "bench/scenario.h"
#include "bench/serve/panel_hit.h"
#include "bench/serve/serve_page.h"
#include "bench/subcommands.h"

namespace bench {
namespace {

constexpr int kDefaultPort = 8080;
constexpr const char* kLoopback = "127.0.0.1";
constexpr const char* kPostHeader = "X-Corvan-Bench";
constexpr time_t kKeepAliveSeconds = 2;  // an idle page connection holds up a stop this long
constexpr size_t kEventsKept = 200;  // the page shows the latest of these
constexpr auto kFramePeriod = std::chrono::microseconds(1000000 / 18);
constexpr auto kFrameSlipLimit = std::chrono::seconds(1);  // further behind than this: skip, not race

struct ServeOptions {
    std::string panel;
    std::string scenario;
    int port = kDefaultPort;
};
ServeOptions options;

// One entry of the page's log: a key event, or a panel_window_toggle call. An event a gauge sends
// frame after frame (a switch holding a system on) is one entry that counts its repeats.
struct KeyLogEntry {
    uint64_t seq = 0;  // order of the latest occurrence
    uint64_t first_frame = 0, frame = 0;
    uint32_t id = 0;
    uint32_t param = 0;
    bool toggle_call = false;
    uint64_t count = 1;
};

// The button held on a window: the placement its press went to and the line that places it.
struct Press {
    bool held = false;
    size_t window = 0;
    size_t line = 0;
    Placement* placement = nullptr;
    int32_t x = 0, y = 0;  // gauge pixels of the press or the last drag
};

struct CachedPicture {
    uint64_t revision = ~uint64_t(0);
    std::string png;
};

class ServedPanel {
public:
    ServedPanel(Host& host, const PanelConfig& panel, Renderer& renderer)
        : host_(host), panel_(panel), renderer_(renderer), placements_(panel_placements(host, panel)) {
        collect_log();  // what the panel's installation and the demo sent: frame 0
    }

    std::mutex mutex;  // held for every call below

    void frame() {
        host_.frame();
        ++frames_;
        changed();
    }

    // The window with this ident, or -1.
    int window_index(int32_t ident) const {
        for (size_t i = 0; i < panel_.windows.size(); ++i)
            if (panel_.windows[i].ident == ident) return int(i);
        return -1;
    }

    bool window_open(const PanelWindow& w) const {
        auto it = host_.sim.windows.find(w.ident);
        return it == host_.sim.windows.end() ? w.visible : it->second;
    }

    // The window's PNG when nothing changed since it was last made (true), or else a new drawing
    // of it to encode outside the lock and hand back with keep_picture (false).
    bool picture(size_t index, std::string& png, cairo_surface_t*& drawing, uint64_t& revision) {
        CachedPicture& cached = pictures_[index];
        if (cached.revision == revision_) {
            png = cached.png;
            return true;
        }
        drawing = render_window(renderer_, panel_, index, placements_[index]);
        revision = revision_;
        return false;
    }
    void keep_picture(size_t index, const std::string& png, uint64_t revision) {
        CachedPicture& cached = pictures_[index];
        if (cached.revision == ~uint64_t(0) || revision > cached.revision) cached = CachedPicture{revision, png};
    }

    // A mouse action at window pixel (x, y); the JSON answer says where it went.
    nlohmann::json mouse(size_t index, double x, double y, bool right, const std::string& action) {
        nlohmann::json out = {{"action", action}, {"gauge", nullptr}};
        if (action == "press") {
            uint32_t button = right ? MOUSE_RIGHTSINGLE : MOUSE_LEFTSINGLE;
            PanelHit hit;
            press_ = Press{};
            if (!locate_click(panel_.windows[index], placements_[index], size_fn(), x, y, button, hit)) return out;
            press_ = Press{true, index, hit.line, hit.placement, hit.x, hit.y};
            host_.click(hit.placement, hit.x, hit.y, button, 0);
            last_ = describe(hit.placement, hit.x, hit.y, hit.has_area);
        } else if (action == "repeat" || action == "drag") {
            if (!press_.held || press_.window != index) return out;
            if (action == "drag") {
                int gw = 0, gh = 0;
                renderer_.gauge_size(press_.placement->gauge, gw, gh);
                window_to_gauge(panel_.windows[index].gauges[press_.line], gw, gh, x, y, press_.x, press_.y);
                host_.drag(press_.placement, press_.x, press_.y);
            } else {
                host_.repeat(press_.placement, press_.x, press_.y);
            }
            last_ = describe(press_.placement, press_.x, press_.y, press_.placement->last_click_area != nullptr);
        } else {  // release
            press_.held = false;
            return out;
        }
        changed();
        out["gauge"] = last_;
        return out;
    }

    void set_var(uint32_t id, double value) {
        host_.sim.set(id, value);
        changed();
    }
    double var(uint32_t id) const { return host_.sim.get(id); }
    void set_simulate(bool on) {
        host_.sim.simulate = on;
        changed();
    }
    void set_window(int32_t ident, bool open) {
        host_.sim.windows[ident] = open;
        changed();
    }

    nlohmann::json state() {
        collect_log();
        nlohmann::json windows = nlohmann::json::array();
        for (const PanelWindow& w : panel_.windows)
            windows.push_back({{"number", w.number}, {"title", w.title}, {"ident", w.ident},
                               {"ident_text", w.ident_text}, {"width", w.width}, {"height", w.height},
                               {"open", window_open(w)}});
        // Windows the module opened or closed that this panel does not lay out (the GPS, say).
        nlohmann::json others = nlohmann::json::array();
        for (const auto& [ident, open] : host_.sim.windows)
            if (window_index(ident) < 0) others.push_back({{"ident", ident}, {"open", open}});
        nlohmann::json events = nlohmann::json::array();
        for (const KeyLogEntry& e : log_) {
            char id[16];
            std::snprintf(id, sizeof id, "0x%X", e.id);
            events.push_back({{"seq", e.seq}, {"first_frame", e.first_frame}, {"frame", e.frame},
                              {"kind", e.toggle_call ? "toggle" : "event"}, {"id", id}, {"param", e.param},
                              {"count", e.count}});
        }
        return {{"frame", frames_}, {"simulate", host_.sim.simulate}, {"windows", windows},
                {"other_windows", others}, {"events", events}, {"last_click", last_}};
    }

private:
    GaugeSizeFn size_fn() {
        return [this](const GAUGEHDR* g, int& w, int& h) { renderer_.gauge_size(g, w, h); };
    }

    nlohmann::json describe(const Placement* p, int32_t x, int32_t y, bool has_area) const {
        int nth = 0;
        for (const auto& q : host_.placements()) {
            if (std::string(q->gauge->gauge_name) == p->gauge->gauge_name) ++nth;
            if (q.get() == p) break;
        }
        return {{"name", p->gauge->gauge_name}, {"nth", nth}, {"x", x}, {"y", y}, {"area", has_area}};
    }

    // Whatever the host did since the last look: the pictures are stale, the log has news.
    void changed() {
        ++revision_;
        collect_log();
    }

    // The page's log takes over the simulator's: nobody checks expectations while serving, and a
    // panel left open for hours would otherwise keep every event it ever sent.
    void collect_log() {
        for (const LoggedEvent& e : host_.sim.events) append(e.id, e.param, false);
        for (const LoggedEvent& e : host_.sim.toggles) append(e.id, 0, true);
        host_.sim.events.clear();
        host_.sim.toggles.clear();
    }
    void append(uint32_t id, uint32_t param, bool toggle_call) {
        KeyLogEntry entry{next_seq_++, frames_, frames_, id, param, toggle_call};
        for (auto it = log_.rbegin(); it != log_.rend(); ++it) {
            if (it->frame + 1 < frames_) break;  // entries further back are older still
            if (it->id == id && it->param == param && it->toggle_call == toggle_call) {
                entry.first_frame = it->first_frame;
                entry.count = it->count + 1;
                log_.erase(std::next(it).base());
                break;
            }
        }
        log_.push_back(entry);
        while (log_.size() > kEventsKept) log_.pop_front();
    }

    Host& host_;
    const PanelConfig& panel_;
    Renderer& renderer_;
    std::vector<std::vector<Placement*>> placements_;
    std::map<size_t, CachedPicture> pictures_;
    std::deque<KeyLogEntry> log_;
    uint64_t next_seq_ = 1;
    uint64_t frames_ = 0;
    uint64_t revision_ = 0;
    Press press_;
    nlohmann::json last_ = nullptr;
};

// ----------------------------------------------------------------------------------------------
// Request parameters

bool parse_number(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && errno != ERANGE;
}

bool parse_finite(const std::string& text, double& out) { return parse_number(text, out) && std::isfinite(out); }

// A token variable id in hex, with or without 0x.
bool parse_var_id(const std::string& text, uint32_t& out) {
    std::string digits = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8) return false;
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    out = uint32_t(std::strtoul(digits.c_str(), nullptr, 16));
    return true;
}

bool parse_ident(const std::string& text, int32_t& out) {
    double v = 0;
    if (!parse_finite(text, v) || v != std::floor(v) || v < INT32_MIN || v > INT32_MAX) return false;
    out = int32_t(v);
    return true;
}

void reply_json(httplib::Response& res, const nlohmann::json& body, int status = 200) {
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    // Window titles are the panel file's bytes, not always UTF-8 (a Windows-1252 degree sign).
    res.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace), "application/json");
}

void reply_error(httplib::Response& res, int status, const std::string& message) {
    reply_json(res, {{"error", message}}, status);
}

// The Host header names this machine's loopback (any port).
bool local_host_header(const httplib::Request& req) {
    std::string host = req.get_header_value("Host");
    size_t colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']') == std::string::npos) host = host.substr(0, colon);
    return host == kLoopback || host == "localhost";
}

// ----------------------------------------------------------------------------------------------
// The server

void add_routes(httplib::Server& server, ServedPanel& served) {
    server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!local_host_header(req)) {
            reply_error(res, 403, "this bench answers to 127.0.0.1 and localhost only");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (req.method == "POST" && req.get_header_value(kPostHeader) != "1") {
            reply_error(res, 403, std::string("POST requests carry the header ") + kPostHeader + ": 1");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_content(serve_page_html(), "text/html; charset=utf-8");
    });

    server.Get(R"(/window/(-?\d{1,10})\.png)", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        if (!parse_ident(req.matches[1], ident)) return reply_error(res, 404, "no such window");
        std::string png;
        cairo_surface_t* drawing = nullptr;
        uint64_t revision = 0;
        int index = -1;
        {
            std::lock_guard lock(served.mutex);
            index = served.window_index(ident);
            if (index < 0) return reply_error(res, 404, "no such window");
            if (served.picture(size_t(index), png, drawing, revision)) drawing = nullptr;
        }
        if (drawing) {
            // Encoding needs nothing of the host: the frames go on meanwhile.
            cairo_surface_write_to_png_stream(
                drawing,
                [](void* closure, const unsigned char* data, unsigned int length) {
                    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
                    return CAIRO_STATUS_SUCCESS;
                },
                &png);
            cairo_surface_destroy(drawing);
            std::lock_guard lock(served.mutex);
            served.keep_picture(size_t(index), png, revision);
        }
        res.set_header("Cache-Control", "no-store");
        res.set_content(png, "image/png");
    });

    server.Get("/api/state", [&served](const httplib::Request&, httplib::Response& res) {
        std::lock_guard lock(served.mutex);
        reply_json(res, served.state());
    });

    server.Post("/api/mouse", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        double x = 0, y = 0;
        std::string button = req.has_param("button") ? req.get_param_value("button") : "left";
        std::string action = req.has_param("action") ? req.get_param_value("action") : "press";
        if (!parse_ident(req.get_param_value("window"), ident)) return reply_error(res, 400, "window: an ident");
        if (!parse_finite(req.get_param_value("x"), x) || !parse_finite(req.get_param_value("y"), y))
            return reply_error(res, 400, "x, y: window pixels");
        if (button != "left" && button != "right") return reply_error(res, 400, "button: left or right");
        if (action != "press" && action != "repeat" && action != "drag" && action != "release")
            return reply_error(res, 400, "action: press, repeat, drag or release");
        std::lock_guard lock(served.mutex);
        int index = served.window_index(ident);
        if (index < 0) return reply_error(res, 404, "no such window");
        reply_json(res, served.mouse(size_t(index), x, y, button == "right", action));
    });

    server.Get("/api/var", [&served](const httplib::Request& req, httplib::Response& res) {
        uint32_t id = 0;
        if (!parse_var_id(req.get_param_value("id"), id)) return reply_error(res, 400, "id: a hex variable id");
        std::lock_guard lock(served.mutex);
        double v = served.var(id);
        reply_json(res, {{"id", req.get_param_value("id")}, {"value", std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(std::to_string(v))}});
    });

    server.Post("/api/var", [&served](const httplib::Request& req, httplib::Response& res) {
        uint32_t id = 0;
        double value = 0;
        if (!parse_var_id(req.get_param_value("id"), id)) return reply_error(res, 400, "id: a hex variable id");
        // NaN and infinities are accepted on purpose: gauges must draw sanely whatever they read.
        if (!parse_number(req.get_param_value("value"), value)) return reply_error(res, 400, "value: a number");
        std::lock_guard lock(served.mutex);
        served.set_var(id, value);
        reply_json(res, {{"ok", true}});
    });

    server.Post("/api/simulate", [&served](const httplib::Request& req, httplib::Response& res) {
        std::string on = req.get_param_value("on");
        if (on != "1" && on != "0") return reply_error(res, 400, "on: 1 or 0");
        std::lock_guard lock(served.mutex);
        served.set_simulate(on == "1");
        reply_json(res, {{"ok", true}});
    });

    server.Post("/api/window", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        std::string open = req.get_param_value("open");
        if (!parse_ident(req.get_param_value("ident"), ident)) return reply_error(res, 400, "ident: a window ident");
        if (open != "1" && open != "0") return reply_error(res, 400, "open: 1 or 0");
        std::lock_guard lock(served.mutex);
        served.set_window(ident, open == "1");
        reply_json(res, {{"ok", true}});
    });
}

// Runs frames at the simulator's rate until told to stop.
class FrameClock {
public:
    explicit FrameClock(ServedPanel& served) : served_(served), thread_([this] { run(); }) {}
    ~FrameClock() {
        {
            std::lock_guard lock(stop_mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        thread_.join();
    }

private:
    void run() {
        auto next = std::chrono::steady_clock::now();
        std::unique_lock stop_lock(stop_mutex_);
        while (!stop_) {
            stop_lock.unlock();
            {
                std::lock_guard lock(served_.mutex);
                served_.frame();
            }
            next += kFramePeriod;
            auto now = std::chrono::steady_clock::now();
            if (now - next > kFrameSlipLimit) next = now;
            stop_lock.lock();
            wake_.wait_until(stop_lock, next, [this] { return stop_; });
        }
    }

    ServedPanel& served_;
    std::mutex stop_mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

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
    if (!options.scenario.empty() && !play_demo(host, panel, renderer, options.scenario))
        std::fprintf(stderr, "%s: the demo had errors; serving the panel as it stands\n", options.scenario.c_str());

    ServedPanel served(host, panel, renderer);
    httplib::Server server;
    server.set_keep_alive_timeout(kKeepAliveSeconds);
    add_routes(server, served);

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
