// The panel `corvan-bench serve` keeps live: the host with the panel installed, the frames it runs
// in real time, the window pictures made from them, the page's log of key events and sounds, the
// button held on a window, and the demo's flight that `fly` flies on (the closed loop, when the
// demo switched it on, lap after lap) or replays (its set and frame lines). The HTTP routes
// (serve_routes.h) reach all of it through ServedPanel, holding its mutex.
//
//   ServedPanel    the state, one call per thing the page asks or does
//   FrameClock     runs ServedPanel::frame at the simulator's 18 frames a second
//   read_flight    a scenario file's driving lines, for `fly` to replay where there is no loop
#pragma once

#include <cairo.h>

#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "bench/scenario.h"
#include "bench/serve/panel_hit.h"
#include "bench/serve/session_record.h"

namespace bench {

// Whether a panel line's module name is this module's (the panel system compares it without case).
bool same_module_name(const std::string& name);

// A scenario file's lines that drive the panel, parsed once: the demo that `fly` replays.
struct FlightLine {
    Command command;
    std::string text;
};
std::vector<FlightLine> read_flight(const std::string& path);

class ServedPanel {
public:
    ServedPanel(Host& host, const PanelConfig& panel, Renderer& renderer, SessionJournal& journal,
                std::vector<FlightLine> flight);
    ~ServedPanel();
    ServedPanel(const ServedPanel&) = delete;
    ServedPanel& operator=(const ServedPanel&) = delete;

    std::mutex mutex;  // held for every call below

    void frame();

    int window_index(int32_t ident) const;  // the window with this ident, or -1
    bool inside(size_t index, double x, double y) const;
    bool window_open(const PanelWindow& w) const;

    // The window's PNG when nothing changed since it was last made (true), or else a new drawing
    // of it to encode outside the lock and hand back with keep_picture (false).
    bool picture(size_t index, std::string& png, cairo_surface_t*& drawing, uint64_t& revision);
    uint64_t signature(size_t index) const { return window_signature(index); }
    void keep_picture(size_t index, const std::string& png, uint64_t revision);

    // A mouse action at window pixel (x, y); the JSON answer says where it went.
    nlohmann::json mouse(size_t index, double x, double y, bool right, const std::string& action);

    void set_var(uint32_t id, double value);
    double var(uint32_t id) const { return host_.sim.get(id); }
    void set_simulate(bool on);
    void set_fail(uint32_t key, bool on);
    void set_window(int32_t ident, bool open);
    bool set_fly(bool on);
    void set_recording(bool on);
    std::string recording() const { return journal_.scenario(); }

    nlohmann::json areas(size_t index);  // the hover areas of a window, for cursors and help texts
    // A placement's elements as the last frame left them; null when there is no such placement.
    nlohmann::json gauge(const std::string& name, int nth);
    nlohmann::json state();
    // The moving map: the aircraft, its track, the world's beacons (empty without a world).
    nlohmann::json map() const;

private:
    // One entry of the page's log: a key event, or a panel_window_toggle call. An event a gauge
    // sends frame after frame (a switch holding a system on) is one entry that counts its repeats.
    struct KeyLogEntry {
        uint64_t seq = 0;  // order of the latest occurrence
        uint64_t first_frame = 0, frame = 0;
        uint32_t id = 0;
        uint32_t param = 0;
        bool toggle_call = false;
        uint64_t count = 1;
    };
    // A sound a gauge played, for the page to play too.
    struct SoundEntry {
        uint64_t seq = 0;
        int wave = 0;
        std::string gauge;
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
        uint64_t signature = 0;  // what the window's gauges showed (window_signature)
        std::string png;
    };
    struct GaugePicture {
        uint64_t signature = 0;
        cairo_surface_t* surface = nullptr;
    };

    uint64_t window_signature(size_t index) const;
    static uint64_t placement_signature(const Placement* p);
    cairo_surface_t* compose_window(size_t index);
    GaugeSizeFn size_fn();
    int nth(const Placement* p) const;
    std::string ref(const Placement* p) const;
    nlohmann::json describe(const Placement* p, int32_t x, int32_t y, bool has_area) const;
    std::vector<std::pair<int, std::string>> watched_texts();
    void fly_step();
    void start_lap();
    void changed();
    void collect_log();
    void append(uint32_t id, uint32_t param, bool toggle_call);

    Host& host_;
    const PanelConfig& panel_;
    Renderer& renderer_;
    SessionJournal& journal_;
    std::vector<FlightLine> flight_;
    size_t fly_at_ = 0;
    uint64_t fly_frames_left_ = 0;
    bool flying_ = false;
    // With a demo that flies in closed loop, fly switches the loop; each lap starts where the
    // demo left the aircraft and ends over the runway.
    struct Lap {
        GeoPoint at;
        double altitude_ft = 0, heading_deg = 0, airspeed_kt = 0;
        double power = 0;  // the power lever
    };
    bool loop_ = false;
    Lap lap_;
    double runway_ft_ = std::nan("");  // the localizer's and glide slope's lowest station
    uint64_t laps_ = 0;
    std::vector<std::vector<Placement*>> placements_;
    std::map<size_t, CachedPicture> pictures_;
    std::map<size_t, uint64_t> pending_signature_;
    std::map<std::pair<size_t, size_t>, GaugePicture> gauge_pictures_;  // window, line -> its last drawing
    std::deque<KeyLogEntry> log_;
    std::deque<SoundEntry> sounds_;
    uint64_t next_seq_ = 1;
    uint64_t frames_ = 0;
    uint64_t revision_ = 0;
    Press press_;
    nlohmann::json last_ = nullptr;
};

// Runs frames at the simulator's rate until destroyed.
class FrameClock {
public:
    explicit FrameClock(ServedPanel& served);
    ~FrameClock();
    FrameClock(const FrameClock&) = delete;
    FrameClock& operator=(const FrameClock&) = delete;

private:
    void run();

    ServedPanel& served_;
    std::mutex stop_mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace bench
