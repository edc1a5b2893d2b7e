// `corvan-bench serve --panel FILE [--scenario FILE] [--port N]`: the panel on a page at
// http://127.0.0.1:N/ (8080 by default; 0 takes any free port). The bench runs the panel at 18
// frames a second on its own; the page shows each open window as a picture refreshed as it changes
// and sends clicks, held buttons and drags back to the gauge under the pointer. The scenario is
// played once before serving, and is the flight `fly` replays (its set, calc, fail and frame lines,
// one frame a tick, over and over).
//
//   GET  /                       the page
//   GET  /window/IDENT.png       a window as the last frame left it (ETag; If-None-Match: 304)
//   GET  /sound/ID.wav           a WAVE resource of the module
//   GET  /api/state[?vars=H,..]  frame, simulation, fly, recording, windows, recent key events and
//                                sounds, failures, and the values of the variables asked for
//   GET  /api/panel              the panel file's errors, undrawn sections, other modules' gauges
//   GET  /api/areas?window=IDENT the window's mouse and tooltip areas (cursor, help, tooltip)
//   GET  /api/gauge?name=N[&nth=K] a placement's elements as last drawn
//   GET  /api/var?id=HEX         a token variable
//   GET  /api/record.scn         the session as a scenario (see session_record.h)
//   POST /api/mouse              window, x, y (window pixels), button left|right,
//                                action press|repeat|drag|release
//   POST /api/var                id (hex), value
//   POST /api/simulate           on 1|0
//   POST /api/window             ident, open 1|0 (as the simulator's window menu would)
//   POST /api/fail               key, on 1|0
//   POST /api/fly                on 1|0
//   POST /api/record             on 1|0
//
// Bad requests change nothing: unknown paths and placements 404, wrong methods 405, bodies over
// 4 KiB 413, bodies that are not form fields 415, bad fields and presses outside the window 400.
// One mutex guards the host, the renderer and the log: the frame thread and the request handlers
// take turns. The server answers on the loopback address only, only to requests naming it as
// 127.0.0.1 or localhost, and takes POSTs only with the page's own header, so that other sites
// open in the same browser cannot drive it.
#include <dlfcn.h>
#include <httplib.h>
#include <pthread.h>
#include <signal.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <thread>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "bench/scenario.h"
#include "bench/serve/fast_png.h"
#include "bench/serve/panel_hit.h"
#include "bench/serve/serve_page.h"
#include "bench/serve/session_record.h"
#include "bench/subcommands.h"
#include "platform/embedded_resources.h"

namespace bench {
namespace {

constexpr int kDefaultPort = 8080;
constexpr const char* kLoopback = "127.0.0.1";
constexpr const char* kPostHeader = "X-Corvan-Bench";
constexpr time_t kKeepAliveSeconds = 2;  // an idle page connection holds up a stop this long
constexpr size_t kEventsKept = 200;  // the page shows the latest of these
constexpr size_t kEventsSent = 60;  // of which the state carries the newest (the page shows these)
constexpr size_t kSoundsKept = 32;
constexpr size_t kBodyLimit = 4096;  // the page's requests are a few fields
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

// The WAVE resource each sounding gauge plays on a click, by gauge name.
int gauge_wave(const std::string& name) {
    static const std::map<std::string, int> kWaves = [] {
        std::map<std::string, int> m;
        for (const char* n : {"Bendix_RDS81_Weather_Radar", "Aux_BP_Switch", "DeIce_Light_Switch", "Elec_Switchboard",
                              "InertSep_DeIce_Switch", "Avionics_Panel_Switches", "Pitot_Heat_Switch_1",
                              "Pitot_Heat_Switch_2", "Prop_DeIce_Switch", "RMI_Switch", "Struct_DeIce_Switch",
                              "Wind_L_DeIce_Switch", "Wind_R_DeIce_Switch"})
            m[n] = 10;
        m["Parking_Brake"] = 20;
        for (const char* n : {"Bendix_KMA24H_Audiopanel", "Bendix_KN53_NAV1", "Bendix_KN53_NAV2", "Bendix_KR87_ADF",
                              "Bendix_KT70_ATC", "Bendix_KT76A_ATC", "Bendix_KT76C_ATC", "Bendix_KY196_COM1",
                              "Bendix_KY196_COM2", "AP_Altitude_Selector", "Autopilot", "Bendix_KD1572_DME",
                              "DeIce_Lights_Test_Button", "Ignition_Switch", "Landing_Lights_Switch",
                              "NAV_GPS_Switch_Annunciator", "Nav_Lights_Switch", "Pressu_Main_Switch", "Starter_Switch",
                              "Strobe_Lights_Switch", "Taxi_Lights_Switch"})
            m[n] = 30;
        m["AP_Annunciator"] = 40;
        return m;
    }();
    auto it = kWaves.find(name);
    return it == kWaves.end() ? 0 : it->second;
}

bool same_module_name(const std::string& name) {
    constexpr const char* kModule = "Corvan_Instr";
    if (name.size() != std::strlen(kModule)) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(kModule[i])))
            return false;
    return true;
}

// A scenario file's lines that drive the panel, parsed once: the demo that `fly` replays.
struct FlightLine {
    Command command;
    std::string text;
};
std::vector<FlightLine> read_flight(const std::string& path) {
    std::vector<FlightLine> out;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    while (std::getline(in, text)) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::optional<Command> command;
        std::string error;
        if (parse_line(text, command, error) && command) {
            size_t hash = text.find(" #");
            out.push_back({*command, text.substr(0, hash)});
        }
    }
    return out;
}

class ServedPanel {
public:
    ServedPanel(Host& host, const PanelConfig& panel, Renderer& renderer, SessionJournal& journal,
                std::vector<FlightLine> flight)
        : host_(host), panel_(panel), renderer_(renderer), journal_(journal), flight_(std::move(flight)),
          placements_(panel_placements(host, panel)) {
        collect_log();  // what the panel's installation and the demo sent: frame 0
    }

    ~ServedPanel() {
        for (auto& [where, picture] : gauge_pictures_) cairo_surface_destroy(picture.surface);
    }
    ServedPanel(const ServedPanel&) = delete;
    ServedPanel& operator=(const ServedPanel&) = delete;

    std::mutex mutex;  // held for every call below

    void frame() {
        if (flying_) fly_step();
        host_.frame();
        journal_.frame();
        ++frames_;
        if (!journal_.watched().empty()) journal_.texts(watched_texts());
        changed();
    }

    // The window with this ident, or -1.
    int window_index(int32_t ident) const {
        for (size_t i = 0; i < panel_.windows.size(); ++i)
            if (panel_.windows[i].ident == ident) return int(i);
        return -1;
    }

    bool inside(size_t index, double x, double y) const {
        const PanelWindow& w = panel_.windows[index];
        return x >= 0 && y >= 0 && x < w.width && y < w.height;
    }

    bool window_open(const PanelWindow& w) const {
        auto it = host_.sim.windows.find(w.ident);
        return it == host_.sim.windows.end() ? w.visible : it->second;
    }

    // The window's PNG when nothing changed since it was last made (true), or else a new drawing
    // of it to encode outside the lock and hand back with keep_picture (false).
    bool picture(size_t index, std::string& png, cairo_surface_t*& drawing, uint64_t& revision) {
        CachedPicture& cached = pictures_[index];
        uint64_t signature = window_signature(index);
        if (cached.revision == revision_ || (cached.signature == signature && !cached.png.empty())) {
            cached.revision = revision_;
            png = cached.png;
            return true;
        }
        pending_signature_[index] = signature;
        drawing = compose_window(index);
        revision = revision_;
        return false;
    }
    uint64_t signature(size_t index) const { return window_signature(index); }
    void keep_picture(size_t index, const std::string& png, uint64_t revision) {
        CachedPicture& cached = pictures_[index];
        if (cached.revision == ~uint64_t(0) || revision > cached.revision)
            cached = CachedPicture{revision, pending_signature_[index], png};
    }

    // A mouse action at window pixel (x, y); the JSON answer says where it went.
    nlohmann::json mouse(size_t index, double x, double y, bool right, const std::string& action) {
        nlohmann::json out = {{"action", action}, {"gauge", nullptr}};
        if (action == "press") {
            uint32_t button = right ? MOUSE_RIGHTSINGLE : MOUSE_LEFTSINGLE;
            PanelHit hit;
            journal_.release();
            press_ = Press{};
            if (!locate_click(panel_.windows[index], placements_[index], size_fn(), x, y, button, hit)) return out;
            press_ = Press{true, index, hit.line, hit.placement, hit.x, hit.y};
            host_.click(hit.placement, hit.x, hit.y, button, 0);
            journal_.press(ref(hit.placement), hit.x, hit.y, right, host_.sim.events, host_.sim.toggles);
            last_ = describe(hit.placement, hit.x, hit.y, hit.has_area);
        } else if (action == "repeat" || action == "drag") {
            if (!press_.held || press_.window != index) return out;
            if (action == "drag") {
                int gw = 0, gh = 0;
                renderer_.gauge_size(press_.placement->gauge, gw, gh);
                window_to_gauge(panel_.windows[index].gauges[press_.line], gw, gh, x, y, press_.x, press_.y);
                host_.drag(press_.placement, press_.x, press_.y);
                const MOUSERECT* area = press_.placement->last_click_area;
                if (area && (area->mouse_flags & MOUSE_LEFTDRAG))
                    journal_.drag(ref(press_.placement), press_.x, press_.y, host_.sim.events, host_.sim.toggles);
            } else {
                host_.repeat(press_.placement, press_.x, press_.y);
                const MOUSERECT* area = press_.placement->last_click_area;
                if (area && (area->mouse_flags & MOUSE_DOWN_REPEAT)) journal_.repeat(host_.sim.events, host_.sim.toggles);
            }
            last_ = describe(press_.placement, press_.x, press_.y, press_.placement->last_click_area != nullptr);
        } else {  // release
            press_.held = false;
            journal_.release();
            return out;
        }
        changed();
        out["gauge"] = last_;
        return out;
    }

    void set_var(uint32_t id, double value) {
        host_.sim.set(id, value);
        journal_.set(id, value);
        changed();
    }
    double var(uint32_t id) const { return host_.sim.get(id); }
    void set_simulate(bool on) {
        host_.sim.simulate = on;
        journal_.line(on ? "simulate on" : "simulate off");
        changed();
    }
    void set_fail(uint32_t key, bool on) {
        if (on)
            host_.sim.failures.insert(key);
        else
            host_.sim.failures.erase(key);
        journal_.line("fail " + std::to_string(key) + (on ? " on" : " off"));
        changed();
    }
    void set_window(int32_t ident, bool open) {
        host_.sim.windows[ident] = open;
        changed();
    }
    bool set_fly(bool on) {
        if (on && flight_.empty()) return false;
        flying_ = on;
        return true;
    }
    void set_recording(bool on) {
        if (on) {
            std::vector<std::pair<uint32_t, double>> vars(host_.sim.variables().begin(), host_.sim.variables().end());
            journal_.start(vars);
        } else {
            journal_.stop();
        }
    }
    std::string recording() const { return journal_.scenario(); }

    // The hover areas of a window, for the page's cursors and help texts.
    nlohmann::json areas(size_t index) {
        nlohmann::json out = nlohmann::json::array();
        for (const HoverArea& a : list_hover_areas(panel_.windows[index], placements_[index], size_fn())) {
            const Placement* p = placements_[index][a.line];
            nlohmann::json j = {{"gauge", ref(p)}, {"x", a.x}, {"y", a.y}, {"w", a.w}, {"h", a.h},
                                {"cursor", a.cursor}, {"help", a.help_id}, {"clickable", a.clickable},
                                {"buttons", a.buttons}, {"event", a.event_id}};
            if (const char* name = help_name(a.help_id)) j["help_name"] = name;
            if (a.tooltip_id) j["tooltip_id"] = a.tooltip_id;
            if (!a.tooltip.empty()) j["tooltip"] = a.tooltip;
            out.push_back(j);
        }
        return out;
    }

    // A placement's elements as the last frame left them; null when there is no such placement.
    nlohmann::json gauge(const std::string& name, int nth) {
        Placement* p = host_.find(name, nth);
        if (!p) return nullptr;
        nlohmann::json elements = nlohmann::json::array();
        for (size_t i = 0; i < p->elements.size(); ++i) {
            const ElementSlot& e = p->elements[i];
            nlohmann::json j = {{"element", i + 1}, {"kind", e.record->element_type}, {"shown", e.shown}};
            if (e.record->element_type == ELEMENT_STRING) j["text"] = e.text;
            elements.push_back(j);
        }
        return {{"gauge", ref(p)}, {"elements", elements}};
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
        for (size_t i = log_.size() > kEventsSent ? log_.size() - kEventsSent : 0; i < log_.size(); ++i) {
            const KeyLogEntry& e = log_[i];
            char id[16];
            std::snprintf(id, sizeof id, "0x%X", e.id);
            events.push_back({{"seq", e.seq}, {"first_frame", e.first_frame}, {"frame", e.frame},
                              {"kind", e.toggle_call ? "toggle" : "event"}, {"id", id}, {"param", e.param},
                              {"count", e.count}});
        }
        nlohmann::json sounds = nlohmann::json::array();
        for (const SoundEntry& s : sounds_) sounds.push_back({{"seq", s.seq}, {"wave", s.wave}, {"gauge", s.gauge}});
        nlohmann::json failures = nlohmann::json::array();
        for (uint32_t key : host_.sim.failures) failures.push_back(key);
        return {{"frame", frames_}, {"simulate", host_.sim.simulate}, {"flying", flying_},
                {"can_fly", !flight_.empty()}, {"recording", journal_.recording()},
                {"recorded_actions", journal_.recorded_actions()}, {"journal_full", journal_.full()},
                {"windows", windows}, {"other_windows", others}, {"events", events}, {"sounds", sounds},
                {"failures", failures}, {"last_click", last_}};
    }

private:
    // A hash of everything the window's gauges drew in the last frame: when it is unchanged the
    // picture is too, and the page gets the one it had without a new drawing.
    uint64_t window_signature(size_t index) const {
        uint64_t h = 1469598103934665603ull;
        for (const Placement* p : placements_[index])
            if (p) h = (h ^ placement_signature(p)) * 1099511628211ull;
        return h;
    }
    static uint64_t placement_signature(const Placement* p) {
        uint64_t h = 1469598103934665603ull;
        auto mix = [&h](const void* data, size_t size) {
            const unsigned char* b = static_cast<const unsigned char*>(data);
            for (size_t i = 0; i < size; ++i) h = (h ^ b[i]) * 1099511628211ull;
        };
        for (const ElementSlot& e : p->elements) {
            mix(e.value, sizeof e.value);
            mix(&e.shown, sizeof e.shown);
            mix(e.text.data(), e.text.size());
            int32_t resource = e.record->resource_id;
            uint32_t flags = e.record->image_flags;
            mix(&resource, sizeof resource);
            mix(&flags, sizeof flags);
            if (e.record->element_type == ELEMENT_STRING)  // its colours and highlight too
                mix(e.record, sizeof(StringElement));
        }
        return h;
    }

    // The window drawn from a picture of each gauge line, each redrawn only when what its gauge
    // shows changed (as draw_window would draw it, line by line over the window's colour).
    cairo_surface_t* compose_window(size_t index) {
        const PanelWindow& w = panel_.windows[index];
        cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w.width, w.height);
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, ((w.background >> 16) & 0xFF) / 255.0, ((w.background >> 8) & 0xFF) / 255.0,
                             (w.background & 0xFF) / 255.0);
        cairo_paint(cr);
        for (size_t i = 0; i < w.gauges.size() && i < placements_[index].size(); ++i) {
            const Placement* p = placements_[index][i];
            if (!p) continue;
            const PanelGauge& g = w.gauges[i];
            GaugePicture& picture = gauge_pictures_[{index, i}];
            uint64_t signature = placement_signature(p);
            if (!picture.surface || picture.signature != signature) {
                if (!picture.surface) {
                    int gw = 0, gh = 0;
                    renderer_.gauge_size(p->gauge, gw, gh);
                    double sx = 1, sy = 1;
                    fit_scale(gw, gh, g.w, g.h, sx, sy);
                    picture.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, std::max(1, int(std::ceil(gw * sx))),
                                                                 std::max(1, int(std::ceil(gh * sy))));
                }
                cairo_t* gc = cairo_create(picture.surface);
                cairo_set_operator(gc, CAIRO_OPERATOR_CLEAR);
                cairo_paint(gc);
                cairo_set_operator(gc, CAIRO_OPERATOR_OVER);
                renderer_.draw_gauge_at(gc, *p, 0, 0, g.w, g.h);
                cairo_destroy(gc);
                picture.signature = signature;
            }
            cairo_set_source_surface(cr, picture.surface, g.x, g.y);
            cairo_paint(cr);
        }
        mark_missing(cr, w, placements_[index]);
        cairo_destroy(cr);
        return surface;
    }

    GaugeSizeFn size_fn() {
        return [this](const GAUGEHDR* g, int& w, int& h) { renderer_.gauge_size(g, w, h); };
    }

    int nth(const Placement* p) const {
        int n = 0;
        for (const auto& q : host_.placements()) {
            if (std::string(q->gauge->gauge_name) == p->gauge->gauge_name) ++n;
            if (q.get() == p) break;
        }
        return n;
    }
    // The placement as a scenario names it.
    std::string ref(const Placement* p) const {
        int n = nth(p);
        return std::string(p->gauge->gauge_name) + (n > 1 ? "#" + std::to_string(n) : "");
    }

    nlohmann::json describe(const Placement* p, int32_t x, int32_t y, bool has_area) const {
        return {{"name", p->gauge->gauge_name}, {"nth", nth(p)}, {"x", x}, {"y", y}, {"area", has_area}};
    }

    std::vector<std::pair<int, std::string>> watched_texts() {
        std::vector<std::pair<int, std::string>> out;
        const std::string& watched = journal_.watched();
        size_t hash = watched.find('#');
        Placement* p = host_.find(watched.substr(0, hash), hash == std::string::npos ? 1 : std::atoi(watched.c_str() + hash + 1));
        if (!p) return out;
        for (size_t i = 0; i < p->elements.size(); ++i)
            if (p->elements[i].record->element_type == ELEMENT_STRING && p->elements[i].shown)
                out.emplace_back(int(i + 1), p->elements[i].text);
        return out;
    }

    // One frame's worth of the flight: its driving lines up to the next frame, then that frame.
    void fly_step() {
        if (fly_frames_left_ > 0) {
            --fly_frames_left_;
            return;
        }
        for (size_t steps = 0; steps < flight_.size(); ++steps) {
            const FlightLine& line = flight_[fly_at_];
            fly_at_ = (fly_at_ + 1) % flight_.size();
            const Command& c = line.command;
            switch (c.kind) {
            case Cmd::Frame:
                if (c.number >= 1) {
                    fly_frames_left_ = uint64_t(c.number) - 1;
                    return;
                }
                break;
            case Cmd::Set:
                host_.sim.set(c.id, c.number);
                journal_.set(c.id, c.number);
                break;
            case Cmd::Calc:
                if (c.has_text) {
                    host_.sim.calculator[c.gauge.name] = CalcResult{0, c.text};
                } else {
                    char text[64];
                    std::snprintf(text, sizeof text, "%.10g", c.number);
                    host_.sim.calculator[c.gauge.name] = CalcResult{c.number, text};
                }
                journal_.line(line.text);
                break;
            case Cmd::Fail:
                set_fail(c.id, c.on);
                break;
            default:
                break;  // clicks and the rest switch things; a looping flight must not
            }
        }
    }

    // Whatever the host did since the last look: the pictures are stale, the log has news.
    void changed() {
        ++revision_;
        collect_log();
        for (const auto& p : host_.placements())
            if (p->sound_plays) {
                p->sound_plays = 0;
                if (int wave = gauge_wave(p->gauge->gauge_name)) sounds_.push_back({next_seq_++, wave, ref(p.get())});
            }
        while (sounds_.size() > kSoundsKept) sounds_.pop_front();
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
    SessionJournal& journal_;
    std::vector<FlightLine> flight_;
    size_t fly_at_ = 0;
    uint64_t fly_frames_left_ = 0;
    bool flying_ = false;
    std::vector<std::vector<Placement*>> placements_;
    std::map<size_t, CachedPicture> pictures_;
    std::map<size_t, uint64_t> pending_signature_;
    struct GaugePicture {
        uint64_t signature = 0;
        cairo_surface_t* surface = nullptr;
    };
    std::map<std::pair<size_t, size_t>, GaugePicture> gauge_pictures_;  // window, line -> its last drawing
    std::deque<KeyLogEntry> log_;
    std::deque<SoundEntry> sounds_;
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
    // With the charset named, the HTTP library leaves the answer uncompressed: its brotli at full
    // strength cost more than the polls themselves, and the loopback needs no compression.
    res.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                    "application/json; charset=utf-8");
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

// The method each path answers to; other methods on these paths are 405.
const char* path_method(const std::string& path) {
    // "PREFIX" + up to `digits` digits (a leading '-' allowed where asked) + "SUFFIX".
    auto numbered = [&path](const std::string& prefix, const std::string& suffix, size_t digits, bool sign) {
        if (path.size() <= prefix.size() + suffix.size() || path.rfind(prefix, 0) != 0 ||
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
            return false;
        std::string n = path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
        if (sign && n[0] == '-') n.erase(0, 1);
        return !n.empty() && n.size() <= digits &&
               std::all_of(n.begin(), n.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    };
    static const std::set<std::string> kGets = {"/", "/api/state", "/api/areas", "/api/gauge", "/api/panel", "/api/record.scn"};
    static const std::set<std::string> kPosts = {"/api/mouse", "/api/simulate", "/api/window", "/api/fail", "/api/fly", "/api/record"};
    if (path == "/api/var") return "GET or POST";
    if (kGets.count(path) || numbered("/window/", ".png", 10, true) || numbered("/sound/", ".wav", 6, false)) return "GET";
    if (kPosts.count(path)) return "POST";
    return nullptr;
}

// Each WAVE resource of the module, found through its handle: the whole RIFF file.
std::string module_wave(const LoadedModule& module, int id) {
    if (!module.handle) return {};
    auto* table = static_cast<const CorvanEmbeddedResource*>(dlsym(module.handle, CORVAN_EMBEDDED_RESOURCES_SYMBOL));
    for (const CorvanEmbeddedResource* r = table; r && r->data; ++r)
        if (r->type == CORVAN_RESOURCE_WAVE && int64_t(r->id) == id)
            return std::string(reinterpret_cast<const char*>(r->data), r->size);
    return {};
}

void add_routes(httplib::Server& server, ServedPanel& served, const PanelConfig& panel, const LoadedModule& module) {
    server.set_payload_max_length(kBodyLimit);
    server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!local_host_header(req)) {
            reply_error(res, 403, "this bench answers to 127.0.0.1 and localhost only");
            return httplib::Server::HandlerResponse::Handled;
        }
        const char* method = path_method(req.path);
        if (!method) {
            reply_error(res, 404, "no such page");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (std::string(method).find(req.method) == std::string::npos) {
            res.set_header("Allow", std::string(method) == "GET or POST" ? "GET, POST" : method);
            reply_error(res, 405, req.path + " answers to " + method);
            return httplib::Server::HandlerResponse::Handled;
        }
        if (req.method == "POST" && req.get_header_value(kPostHeader) != "1") {
            reply_error(res, 403, std::string("POST requests carry the header ") + kPostHeader + ": 1");
            return httplib::Server::HandlerResponse::Handled;
        }
        // The page sends form fields; anything else is not one of its requests.
        std::string type = req.get_header_value("Content-Type");
        // (Routing comes before the body is read: the declared length tells whether there is one.)
        bool has_body = req.get_header_value("Content-Length") != "" && req.get_header_value("Content-Length") != "0";
        if (req.method == "POST" && has_body && type.rfind("application/x-www-form-urlencoded", 0) != 0) {
            reply_error(res, 415, "POST bodies are form fields (application/x-www-form-urlencoded)");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    server.Get("/api/panel", [&panel](const httplib::Request&, httplib::Response& res) {
        nlohmann::json undrawn = nlohmann::json::array(), foreign = nlohmann::json::array();
        for (const PanelSection& s : panel.undrawn)
            undrawn.push_back({{"name", s.name}, {"line", s.line}, {"gauges", s.gauges}});
        for (const PanelWindow& w : panel.windows)
            for (const PanelGauge& g : w.gauges)
                if (!same_module_name(g.module))
                    foreign.push_back({{"window", w.ident}, {"line", g.line}, {"gauge", g.module + "!" + g.name}});
        reply_json(res, {{"path", panel.path}, {"errors", panel.errors}, {"undrawn", undrawn}, {"placeholders", foreign}});
    });

    server.Get(R"(/sound/(\d{1,6})\.wav)", [&module](const httplib::Request& req, httplib::Response& res) {
        std::string wave = module_wave(module, std::atoi(req.matches[1].str().c_str()));
        if (wave.empty()) return reply_error(res, 404, "the module has no such WAVE resource");
        res.set_header("Cache-Control", "max-age=3600");
        res.set_content(wave, "audio/wav");
    });

    server.Get("/api/areas", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        if (!parse_ident(req.get_param_value("window"), ident)) return reply_error(res, 400, "window: an ident");
        std::lock_guard lock(served.mutex);
        int index = served.window_index(ident);
        if (index < 0) return reply_error(res, 404, "no such window");
        reply_json(res, served.areas(size_t(index)));
    });

    server.Get("/api/gauge", [&served](const httplib::Request& req, httplib::Response& res) {
        double nth = 1;
        if (req.has_param("nth") && (!parse_finite(req.get_param_value("nth"), nth) || nth < 1 || nth > 1000 || nth != std::floor(nth)))
            return reply_error(res, 400, "nth: 1 or more");
        std::lock_guard lock(served.mutex);
        nlohmann::json g = served.gauge(req.get_param_value("name"), int(nth));
        if (g.is_null()) return reply_error(res, 404, "no such gauge placement");
        reply_json(res, g);
    });

    server.Post("/api/fail", [&served](const httplib::Request& req, httplib::Response& res) {
        double key = 0;
        std::string on = req.get_param_value("on");
        if (!parse_finite(req.get_param_value("key"), key) || key < 1 || key > 255 || key != std::floor(key))
            return reply_error(res, 400, "key: a failure key, 1 to 255");
        if (on != "1" && on != "0") return reply_error(res, 400, "on: 1 or 0");
        std::lock_guard lock(served.mutex);
        served.set_fail(uint32_t(key), on == "1");
        reply_json(res, {{"ok", true}});
    });

    server.Post("/api/fly", [&served](const httplib::Request& req, httplib::Response& res) {
        std::string on = req.get_param_value("on");
        if (on != "1" && on != "0") return reply_error(res, 400, "on: 1 or 0");
        std::lock_guard lock(served.mutex);
        if (!served.set_fly(on == "1")) return reply_error(res, 409, "no flight: serve with --scenario FILE");
        reply_json(res, {{"ok", true}});
    });

    server.Post("/api/record", [&served](const httplib::Request& req, httplib::Response& res) {
        std::string on = req.get_param_value("on");
        if (on != "1" && on != "0") return reply_error(res, 400, "on: 1 or 0");
        std::lock_guard lock(served.mutex);
        served.set_recording(on == "1");
        reply_json(res, {{"ok", true}});
    });

    server.Get("/api/record.scn", [&served](const httplib::Request&, httplib::Response& res) {
        std::string text;
        {
            std::lock_guard lock(served.mutex);
            text = served.recording();
        }
        res.set_header("Cache-Control", "no-store");
        res.set_header("Content-Disposition", "attachment; filename=\"session.scn\"");
        res.set_content(text, "text/plain; charset=utf-8");
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
        std::string etag;
        {
            std::lock_guard lock(served.mutex);
            index = served.window_index(ident);
            if (index < 0) return reply_error(res, 404, "no such window");
            // The page asks with the tag of the picture it shows: unchanged, it keeps it.
            etag = "\"" + std::to_string(served.signature(size_t(index))) + "\"";
            if (req.get_header_value("If-None-Match") == etag) {
                res.status = 304;
                res.set_header("ETag", etag);
                return;
            }
            if (served.picture(size_t(index), png, drawing, revision)) drawing = nullptr;
        }
        if (drawing) {
            // Encoding needs nothing of the host: the frames go on meanwhile.
            png = encode_png_fast(drawing);
            cairo_surface_destroy(drawing);
            std::lock_guard lock(served.mutex);
            served.keep_picture(size_t(index), png, revision);
        }
        res.set_header("Cache-Control", "no-cache");
        res.set_header("ETag", etag);
        res.set_content(png, "image/png");
    });

    // ?vars=4A,54,...: the values of these token variables too (the page's named controls).
    server.Get("/api/state", [&served](const httplib::Request& req, httplib::Response& res) {
        std::vector<uint32_t> ids;
        std::string list = req.get_param_value("vars");
        for (size_t at = 0; !list.empty() && at <= list.size();) {
            size_t comma = std::min(list.find(',', at), list.size());
            uint32_t id = 0;
            if (ids.size() >= 64 || !parse_var_id(list.substr(at, comma - at), id))
                return reply_error(res, 400, "vars: at most 64 hex variable ids, separated by commas");
            ids.push_back(id);
            at = comma + 1;
        }
        std::lock_guard lock(served.mutex);
        nlohmann::json state = served.state();
        nlohmann::json vars = nlohmann::json::object();
        for (uint32_t id : ids) {
            char key[16];
            std::snprintf(key, sizeof key, "0x%X", id);
            double v = served.var(id);
            vars[key] = std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(nullptr);
        }
        state["vars"] = vars;
        reply_json(res, state);
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
        // A press must land on the window; a drag may leave it, as a held mouse does.
        if (action == "press" && !served.inside(size_t(index), x, y))
            return reply_error(res, 400, "x, y: outside the window");
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
