#include "bench/serve/served_panel.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>

namespace bench {
namespace {

constexpr size_t kEventsKept = 200;  // the page shows the latest of these
constexpr size_t kEventsSent = 60;  // of which the state carries the newest (the page shows these)
constexpr size_t kSoundsKept = 32;
constexpr auto kFramePeriod = std::chrono::microseconds(1000000 / 18);
constexpr uint32_t kPowerLever = 0x22E;
constexpr double kLapEndAboveRunwayFt = 50;  // the flight starts over this low over the runway ...
constexpr double kLapLeastSeconds = 10;      // ... once it has flown this long
constexpr auto kFrameSlipLimit = std::chrono::seconds(1);  // further behind than this: skip, not race

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

}  // namespace

bool same_module_name(const std::string& name) {
    constexpr const char* kModule = "Corvan_Instr";
    if (name.size() != std::strlen(kModule)) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(kModule[i])))
            return false;
    return true;
}

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

ServedPanel::ServedPanel(Host& host, const PanelConfig& panel, Renderer& renderer, SessionJournal& journal,
                         std::vector<FlightLine> flight)
    : host_(host), panel_(panel), renderer_(renderer), journal_(journal), flight_(std::move(flight)),
      placements_(panel_placements(host, panel)) {
    collect_log();  // what the panel's installation and the demo sent: frame 0
    // A demo that switched the closed loop on leaves the aircraft where it got to; it flies on
    // when the page's fly says so, and comes back here when it reaches the runway.
    Flight& f = host_.sim.flight;
    loop_ = f.on;
    if (loop_) {
        f.on = false;
        journal_.line("fly off");
        lap_ = Lap{f.position(), f.altitude_ft(), f.heading_deg(), f.airspeed_kt(), host_.sim.get(kPowerLever)};
        for (const MapBeacon& b : f.beacons())
            if (b.kind == "GS" || b.kind == "LOC")
                runway_ft_ = std::isnan(runway_ft_) ? b.elevation_ft : std::min(runway_ft_, b.elevation_ft);
    }
}

ServedPanel::~ServedPanel() {
    for (auto& [where, picture] : gauge_pictures_) cairo_surface_destroy(picture.surface);
}

void ServedPanel::frame() {
    if (flying_ && !loop_) fly_step();
    if (flying_ && loop_ && host_.sim.flight.altitude_ft() < runway_ft_ + kLapEndAboveRunwayFt &&
        host_.sim.flight.elapsed_s() > kLapLeastSeconds)
        start_lap();
    host_.frame();
    journal_.frame();
    ++frames_;
    if (!journal_.watched().empty()) journal_.texts(watched_texts());
    changed();
}

int ServedPanel::window_index(int32_t ident) const {
    for (size_t i = 0; i < panel_.windows.size(); ++i)
        if (panel_.windows[i].ident == ident) return int(i);
    return -1;
}

bool ServedPanel::inside(size_t index, double x, double y) const {
    const PanelWindow& w = panel_.windows[index];
    return x >= 0 && y >= 0 && x < w.width && y < w.height;
}

bool ServedPanel::window_open(const PanelWindow& w) const {
    auto it = host_.sim.windows.find(w.ident);
    return it == host_.sim.windows.end() ? w.visible : it->second;
}

bool ServedPanel::picture(size_t index, std::string& png, cairo_surface_t*& drawing, uint64_t& revision) {
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

void ServedPanel::keep_picture(size_t index, const std::string& png, uint64_t revision) {
    CachedPicture& cached = pictures_[index];
    if (cached.revision == ~uint64_t(0) || revision > cached.revision)
        cached = CachedPicture{revision, pending_signature_[index], png};
}

nlohmann::json ServedPanel::mouse(size_t index, double x, double y, bool right, const std::string& action) {
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

void ServedPanel::set_var(uint32_t id, double value) {
    host_.sim.set(id, value);
    journal_.set(id, value);
    changed();
}

void ServedPanel::set_simulate(bool on) {
    host_.sim.simulate = on;
    journal_.line(on ? "simulate on" : "simulate off");
    changed();
}

void ServedPanel::set_fail(uint32_t key, bool on) {
    if (on)
        host_.sim.failures.insert(key);
    else
        host_.sim.failures.erase(key);
    journal_.line("fail " + std::to_string(key) + (on ? " on" : " off"));
    changed();
}

void ServedPanel::set_window(int32_t ident, bool open) {
    host_.sim.windows[ident] = open;
    changed();
}

bool ServedPanel::set_fly(bool on) {
    if (loop_) {
        if (on != flying_) journal_.line(on ? "fly on" : "fly off");
        host_.sim.flight.on = flying_ = on;
        if (on) host_.sim.flight.step(host_.sim, 0);  // as the scenario line does, so that a recording replays alike
        return true;
    }
    if (on && flight_.empty()) return false;
    flying_ = on;
    return true;
}

void ServedPanel::set_recording(bool on) {
    if (on) {
        std::vector<std::pair<uint32_t, double>> vars(host_.sim.variables().begin(), host_.sim.variables().end());
        journal_.start(vars);
    } else {
        journal_.stop();
    }
}

nlohmann::json ServedPanel::areas(size_t index) {
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

nlohmann::json ServedPanel::gauge(const std::string& name, int nth) {
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

nlohmann::json ServedPanel::state() {
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
            {"can_fly", loop_ || !flight_.empty()}, {"loop", loop_}, {"recording", journal_.recording()},
            {"recorded_actions", journal_.recorded_actions()}, {"journal_full", journal_.full()},
            {"windows", windows}, {"other_windows", others}, {"events", events}, {"sounds", sounds},
            {"failures", failures}, {"last_click", last_}};
}

// A hash of everything the window's gauges drew in the last frame: when it is unchanged the
// picture is too, and the page gets the one it had without a new drawing.
uint64_t ServedPanel::window_signature(size_t index) const {
    uint64_t h = 1469598103934665603ull;
    for (const Placement* p : placements_[index])
        if (p) h = (h ^ placement_signature(p)) * 1099511628211ull;
    return h;
}

uint64_t ServedPanel::placement_signature(const Placement* p) {
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
cairo_surface_t* ServedPanel::compose_window(size_t index) {
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

GaugeSizeFn ServedPanel::size_fn() {
    return [this](const GAUGEHDR* g, int& w, int& h) { renderer_.gauge_size(g, w, h); };
}

int ServedPanel::nth(const Placement* p) const {
    int n = 0;
    for (const auto& q : host_.placements()) {
        if (std::string(q->gauge->gauge_name) == p->gauge->gauge_name) ++n;
        if (q.get() == p) break;
    }
    return n;
}

// The placement as a scenario names it.
std::string ServedPanel::ref(const Placement* p) const {
    int n = nth(p);
    return std::string(p->gauge->gauge_name) + (n > 1 ? "#" + std::to_string(n) : "");
}

nlohmann::json ServedPanel::describe(const Placement* p, int32_t x, int32_t y, bool has_area) const {
    return {{"name", p->gauge->gauge_name}, {"nth", nth(p)}, {"x", x}, {"y", y}, {"area", has_area}};
}

std::vector<std::pair<int, std::string>> ServedPanel::watched_texts() {
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

// Back to where the page found the aircraft, as scenario lines: the aircraft placed there again with
// the power it had (the autopilot's modes and the radios stay as the pilot left them).
void ServedPanel::start_lap() {
    Flight& f = host_.sim.flight;
    f.place(lap_.at, lap_.altitude_ft, lap_.heading_deg, lap_.airspeed_kt);
    f.step(host_.sim, 0);  // as a scenario's place line does in flight: the instruments see it at once
    std::string line = "place", word;
    for (double v : {lap_.at.lat_deg, lap_.at.lon_deg, lap_.altitude_ft, lap_.heading_deg, lap_.airspeed_kt})
        line += " " + (scenario_number(v, word) ? word : "0");
    journal_.line(line);
    host_.sim.set(kPowerLever, lap_.power);
    journal_.set(kPowerLever, lap_.power);
    ++laps_;
}

nlohmann::json ServedPanel::map() const {
    const Flight& f = host_.sim.flight;
    auto round5 = [](double v) { return std::round(v * 1e5) / 1e5; };
    nlohmann::json track = nlohmann::json::array();
    for (const GeoPoint& p : f.track()) track.push_back({round5(p.lat_deg), round5(p.lon_deg)});
    nlohmann::json beacons = nlohmann::json::array();
    for (const MapBeacon& b : f.beacons())
        beacons.push_back({{"ident", b.ident}, {"kind", b.kind}, {"lat", b.at.lat_deg}, {"lon", b.at.lon_deg},
                           {"course", b.course_deg}});
    GeoPoint at = f.position();
    return {{"loop", loop_}, {"flying", flying_ && loop_}, {"laps", laps_},
            {"aircraft", {{"lat", at.lat_deg}, {"lon", at.lon_deg}, {"heading", f.heading_deg()},
                          {"altitude", std::round(f.altitude_ft())}, {"ground_speed", std::round(f.ground_speed_kt())}}},
            {"track", track}, {"beacons", beacons}};
}

// One frame's worth of the flight: its driving lines up to the next frame, then that frame.
void ServedPanel::fly_step() {
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
void ServedPanel::changed() {
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
void ServedPanel::collect_log() {
    for (const LoggedEvent& e : host_.sim.events) append(e.id, e.param, false);
    for (const LoggedEvent& e : host_.sim.toggles) append(e.id, 0, true);
    host_.sim.events.clear();
    host_.sim.toggles.clear();
}

void ServedPanel::append(uint32_t id, uint32_t param, bool toggle_call) {
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

FrameClock::FrameClock(ServedPanel& served) : served_(served), thread_([this] { run(); }) {}

FrameClock::~FrameClock() {
    {
        std::lock_guard lock(stop_mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

void FrameClock::run() {
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

}  // namespace bench
