// Runs one scenario file against a freshly loaded module and reports each failure by file and line.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "bench/host.h"
#include "bench/scenario.h"

namespace bench {

RenderHooks& render_hooks() {
    static RenderHooks hooks;
    return hooks;
}

std::string scenario_hex(uint32_t v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

namespace {

std::string num(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", v);
    return buf;
}

std::string quote(const std::string& s) {
    std::string out = "\"";
    for (unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += char(c);
        } else if (c < 0x20 || c >= 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += char(c);
        }
    }
    return out + "\"";
}

constexpr double kCruiseKt = 150;  // `place` without an airspeed

static bool close_enough(double got, double want, double tolerance) {
    if (tolerance < 0) tolerance = 1e-9 * std::max(1.0, std::fabs(want));
    return std::fabs(got - want) <= tolerance;
}

class Runner {
public:
    Runner(const std::string& path, const RunOptions& options) : path_(path), options_(options) {}

    bool run();

private:
    bool fail(int line, const std::string& message) {
        std::printf("%s:%d: %s\n", path_.c_str(), line, message.c_str());
        failed_ = true;
        return false;
    }
    void expected(int line, const std::string& want, const std::string& got) {
        fail(line, "expected " + want + ", got " + got);
    }
    void skipped(int line, const std::string& what) {
        std::printf("%s:%d: skipped: %s\n", path_.c_str(), line, what.c_str());
    }
    // Resolves a gauge reference; an error stops the file.
    Placement* placement(int line, const GaugeRef& ref);
    ElementSlot* element(int line, Placement* p, int index);
    bool execute(int line, const Command& c);
    // Frames for that much simulated time, or until the condition holds (a failure if it never does).
    bool advance(int line, const Command& c);
    void trace(int line);

    std::string path_;
    RunOptions options_;
    Host host_;
    bool failed_ = false;
    double trace_every_ = 0;  // seconds between flight trace lines (CORVAN_TRACE), 0 for none
    double traced_at_ = -1;
};

bool Runner::advance(int line, const Command& c) {
    SimModel& sim = host_.sim;
    ElementSlot* slot = nullptr;
    if (c.until == Until::Shown || c.until == Until::Hidden) {
        Placement* p = placement(line, c.gauge);
        if (!p || !(slot = element(line, p, c.element))) return false;
    }
    const long frames = std::lround(c.number / sim.frame_period);
    for (long i = 0; i < frames; ++i) {
        host_.frame();
        if (trace_every_ > 0 && sim.flight.elapsed_s() >= traced_at_ + trace_every_ - 1e-9) trace(line);
        if (c.until != Until::Nothing && advance_condition_met(c, sim, slot)) {
            if (trace_every_ > 0) trace(line);
            return true;
        }
    }
    if (c.until == Until::Nothing) return true;
    static const char* const kWords[] = {"", "<", ">", "="};
    std::string want = c.until == Until::Shown    ? "element shown"
                       : c.until == Until::Hidden ? "element hidden"
                                                  : "var " + scenario_hex(c.id) + " " + kWords[int(c.until)] + " " + num(c.param);
    expected(line, want + " within " + num(c.number) + " s",
             slot ? (slot->shown ? "shown" : "hidden") : num(sim.get(c.id)));
    return true;
}

// One line of a flight: time, where and how it flies, the NAV1 needles, DME, ADF and marker, the
// simulator's autopilot modes (with the captures it has made) and the module's lamps that show.
void Runner::trace(int line) {
    const SimModel& sim = host_.sim;
    const Flight& f = sim.flight;
    traced_at_ = f.elapsed_s();
    std::string modes;
    const std::pair<uint32_t, const char*> kModes[] = {{0x67, "AP"},  {0x72, "YD"},  {0x318, "FD"},
                                                       {0x6A, "HDG"}, {0x69, "NAV"}, {0x70, "APR"},
                                                       {0x71, "BC"},  {0x6C, "ALT"}, {0x6F, "GS"}};
    for (auto [id, name] : kModes)
        if (sim.get(id) > 0) modes += std::string(" ") + name;
    if (f.course_captured()) modes += " course*";
    if (f.glidepath_captured()) modes += " path*";
    // The lamps a flight watches, on whichever of their gauges are installed.
    struct Lamp {
        const char* gauge;
        int element;
        const char* name;
    };
    static const Lamp kLamps[] = {
        {"Autopilot", 13, "AP"},          {"Autopilot", 3, "HDG"},           {"Autopilot", 5, "NAV"},
        {"Autopilot", 7, "APR"},          {"Autopilot", 9, "BC"},            {"Autopilot", 15, "ALT"},
        {"AP_Altitude_Selector", 4, "VS"}, {"AP_Altitude_Selector", 6, "ALERT"}, {"AP_Altitude_Selector", 7, "ARM"},
        {"AP_Altitude_Selector", 8, "CAPT"}, {"AP_Annunciator", 10, "GS"},   {"Bendix_KR21_OMI_Lights", 2, "O"},
        {"Bendix_KR21_OMI_Lights", 3, "M"}, {"Bendix_KR21_OMI_Lights", 4, "I"},
    };
    std::string lamps;
    for (const Lamp& l : kLamps) {
        const Placement* p = host_.find(l.gauge, 1);
        if (p && size_t(l.element) <= p->elements.size() && p->elements[size_t(l.element) - 1].shown)
            lamps += std::string(" ") + l.name;
    }
    std::printf("%s:%d: trace t=%6.1f alt=%6.0f hdg=%05.1f bank=%+5.1f ias=%3.0f vs=%+5.0f cdi=%+4.0f gsi=%+4.0f "
                "dme=%5.1f adf=%03.0f mkr=%.0f | sim:%s | lamps:%s\n",
                path_.c_str(), line, f.elapsed_s(), f.altitude_ft(), f.heading_deg(), f.bank_deg(), f.airspeed_kt(),
                f.vertical_speed_fpm(), sim.get(0x28), sim.get(0x29), sim.get(0x174), sim.get(0x27), sim.get(0x162),
                modes.c_str(), lamps.c_str());
}

Placement* Runner::placement(int line, const GaugeRef& ref) {
    if (!host_.module().find(ref.name)) {
        fail(line, "unknown gauge " + ref.name);
        return nullptr;
    }
    Placement* p = host_.find(ref.name, ref.nth);
    if (!p) fail(line, "no placement " + ref.name + "#" + std::to_string(ref.nth) + " is installed");
    return p;
}

ElementSlot* Runner::element(int line, Placement* p, int index) {
    if (index < 1 || size_t(index) > p->elements.size()) {
        fail(line, "gauge " + std::string(p->gauge->gauge_name) + " has no element " + std::to_string(index) + " (it has " +
                       std::to_string(p->elements.size()) + ")");
        return nullptr;
    }
    return &p->elements[size_t(index) - 1];
}

// Returns false only for errors that stop the file; failed expectations go on.
bool Runner::execute(int line, const Command& c) {
    SimModel& sim = host_.sim;
    switch (c.kind) {
    case Cmd::Install: {
        std::string error;
        if (!host_.install(c.gauge.name, c.has_text ? c.text.c_str() : nullptr, error)) return fail(line, error);
        return true;
    }
    case Cmd::Kill: {
        Placement* p = placement(line, c.gauge);
        if (!p) return false;
        host_.kill(p);
        return true;
    }
    case Cmd::Set:
        sim.set(c.id, c.number);
        return true;
    case Cmd::Calc:
        sim.calculator[c.gauge.name] = c.has_text ? CalcResult{0, c.text} : CalcResult{c.number, num(c.number)};
        return true;
    case Cmd::Fail:
        if (c.on)
            sim.failures.insert(c.id);
        else
            sim.failures.erase(c.id);
        return true;
    case Cmd::Sound:
        if (!host_.sound_device_fault)
            skipped(line, "sound on|off (the real DirectSound plays here)");
        else
            host_.sound_device_fault(!c.on);
        return true;
    case Cmd::Simulate:
        sim.simulate = c.on;
        return true;
    case Cmd::Frame:
        for (int i = 0; i < int(c.number); ++i) host_.frame();
        return true;
    case Cmd::Click: {
        Placement* p = placement(line, c.gauge);
        if (!p) return false;
        host_.click(p, c.x, c.y, c.right ? MOUSE_RIGHTSINGLE : MOUSE_LEFTSINGLE, c.held);
        return true;
    }
    case Cmd::Drag: {
        Placement* p = placement(line, c.gauge);
        if (!p) return false;
        host_.drag(p, c.x, c.y);
        return true;
    }
    case Cmd::ExpectEvent: {
        LoggedEvent* next = nullptr;
        for (auto& e : sim.events)
            if (!e.checked) {
                next = &e;
                break;
            }
        std::string want = "event " + scenario_hex(c.id);
        if (c.has_param) want += " " + num(c.param);
        if (!next) {
            expected(line, want, "no event");
            return true;
        }
        next->checked = true;
        if (next->id != c.id || (c.has_param && next->param != uint32_t(c.param)))
            expected(line, want, "event " + scenario_hex(next->id) + " " + std::to_string(int32_t(next->param)));
        return true;
    }
    case Cmd::ExpectNoEvent:
        for (auto& e : sim.events)
            if (!e.checked) {
                expected(line, "no event", "event " + scenario_hex(e.id) + " " + std::to_string(int32_t(e.param)));
                break;
            }
        return true;
    case Cmd::ForgetEvents:
        for (auto& e : sim.events) e.checked = true;
        for (auto& e : sim.toggles) e.checked = true;
        return true;
    case Cmd::ExpectToggle: {
        LoggedEvent* next = nullptr;
        for (auto& e : sim.toggles)
            if (!e.checked) {
                next = &e;
                break;
            }
        if (!next) {
            expected(line, "toggle " + std::to_string(c.id), "no toggle");
            return true;
        }
        next->checked = true;
        if (next->id != c.id) expected(line, "toggle " + std::to_string(c.id), "toggle " + std::to_string(next->id));
        return true;
    }
    case Cmd::RenderWindow: {
        if (!render_hooks().window) {
            skipped(line, "render (this build has no renderer)");
            return true;
        }
        std::string error;
        if (!render_hooks().window(host_, options_.panel_path, int32_t(c.id), c.text, error)) fail(line, error);
        return true;
    }
    case Cmd::ExpectSoundObjects:
        if (!host_.sound_live_devices || !host_.sound_live_buffers) {
            skipped(line, "expect sound-objects (the real DirectSound plays here)");
        } else {
            int devices = host_.sound_live_devices(), buffers = host_.sound_live_buffers();
            if (devices != int(c.number) || buffers != int(c.param))
                expected(line, num(c.number) + " sound devices and " + num(c.param) + " buffers alive",
                         std::to_string(devices) + " and " + std::to_string(buffers));
        }
        return true;
    case Cmd::World:
    case Cmd::Place:
    case Cmd::Fly: {
        std::string error;
        return run_flight_line(sim, c, path_, error) || fail(line, error);
    }
    case Cmd::Advance:
        return advance(line, c);
    case Cmd::ExpectVar: {
        double got = sim.get(c.id);
        if (!close_enough(got, c.number, c.tolerance))
            expected(line, "var " + scenario_hex(c.id) + " = " + num(c.number), num(got));
        return true;
    }
    default:
        break;
    }

    Placement* p = placement(line, c.gauge);
    if (!p) return false;
    switch (c.kind) {
    case Cmd::ExpectSound:
        if (!host_.sound_play_counter) {
            skipped(line, "expect sound (the real DirectSound plays here)");
        } else {
            if (p->sound_plays != uint64_t(c.number))
                expected(line, std::to_string(uint64_t(c.number)) + " sound plays", std::to_string(p->sound_plays));
            p->sound_plays = 0;
        }
        return true;
    case Cmd::ExpectHelp: {
        size_t areas = mouse_area_count(p->gauge->mouse_rect);
        if (size_t(c.element) > areas)
            return fail(line, std::string("gauge ") + p->gauge->gauge_name + " has no mouse area " +
                                  std::to_string(c.element) + " (it has " + std::to_string(areas) + ")");
        uint32_t got = p->gauge->mouse_rect[c.element - 1].help_id;
        if (got != c.id) expected(line, "help " + scenario_hex(c.id), scenario_hex(got));
        return true;
    }
    case Cmd::RenderGauge: {
        if (!render_hooks().gauge) {
            skipped(line, "render (this build has no renderer)");
            return true;
        }
        std::string error;
        if (!render_hooks().gauge(host_, *p, c.text, error)) fail(line, error);
        return true;
    }
    default:
        break;
    }

    ElementSlot* slot = element(line, p, c.element);
    if (!slot) return false;
    ELEMENT_HEADER* h = slot->record;
    auto* str = h->element_type == ELEMENT_STRING ? reinterpret_cast<StringElement*>(h) : nullptr;
    switch (c.kind) {
    case Cmd::ExpectText:
        if (!str) return fail(line, "element " + std::to_string(c.element) + " is not a string");
        if (slot->text != c.text) expected(line, "text " + quote(c.text), quote(slot->text));
        return true;
    case Cmd::ExpectFont: {
        if (!str) return fail(line, "element " + std::to_string(c.element) + " is not a string");
        std::string font(str->font_name, strnlen(str->font_name, sizeof str->font_name));
        if (font != c.text) expected(line, "font " + quote(c.text), quote(font));
        return true;
    }
    case Cmd::ExpectColor:
        if (!str) return fail(line, "element " + std::to_string(c.element) + " is not a string");
        if (str->fg_color != c.id) expected(line, "colour " + scenario_hex(c.id), scenario_hex(str->fg_color));
        return true;
    case Cmd::ExpectValue:
        if (!slot->updated) {
            expected(line, "value " + num(c.number), "no update yet (run a frame)");
        } else if (!close_enough(slot->value[c.axis], c.number, c.tolerance)) {
            expected(line, "value " + num(c.number), num(slot->value[c.axis]));
        }
        return true;
    case Cmd::ExpectShown:
    case Cmd::ExpectHidden: {
        bool want = c.kind == Cmd::ExpectShown;
        if (slot->shown != want)
            expected(line, want ? "element shown" : "element hidden", slot->shown ? "shown" : "hidden");
        return true;
    }
    case Cmd::ExpectResource:
        if (h->resource_id != int32_t(c.number))
            expected(line, "resource " + num(c.number), std::to_string(h->resource_id));
        return true;
    default:
        return fail(line, "command not handled");
    }
}

bool Runner::run() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return fail(0, "cannot open scenario file");
    std::vector<std::pair<int, Command>> commands;
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::optional<Command> c;
        std::string error;
        if (!parse_line(text, c, error))
            fail(number, error);
        else if (c)
            commands.emplace_back(number, std::move(*c));
    }
    if (failed_) return false;

    std::string error;
    if (!host_.load(options_.module_path, error)) return fail(commands.empty() ? 1 : commands.front().first, error);
    attach_sound_probe(host_);
    if (const char* every = std::getenv("CORVAN_TRACE")) trace_every_ = std::max(0.0, std::atof(every));
    for (auto& [line, c] : commands)
        if (!execute(line, c)) break;
    return !failed_;
}

}  // namespace

bool run_flight_line(SimModel& sim, const Command& c, const std::string& scenario_path, std::string& error) {
    switch (c.kind) {
    case Cmd::World: {
        std::string file = c.text;
        if (!file.empty() && file[0] != '/')
            if (size_t slash = scenario_path.find_last_of('/'); slash != std::string::npos)
                file = scenario_path.substr(0, slash + 1) + file;
        return sim.flight.load_world(file, error);
    }
    case Cmd::Place:
        sim.flight.place({c.place[0], c.place[1]}, c.place[2], c.place[3], c.place[4] > 0 ? c.place[4] : kCruiseKt);
        if (sim.flight.on) sim.flight.step(sim, 0);  // the instruments read the new place at once
        return true;
    case Cmd::Fly:
        sim.flight.on = c.on;
        if (c.on) sim.flight.step(sim, 0);
        return true;
    default:
        return true;
    }
}

bool advance_condition_met(const Command& c, const SimModel& sim, const ElementSlot* slot) {
    const double v = sim.get(c.id);
    switch (c.until) {
    case Until::VarBelow: return v < c.param;
    case Until::VarAbove: return v > c.param;
    case Until::VarEqual: return close_enough(v, c.param, c.tolerance);
    case Until::Shown: return slot && slot->shown;
    case Until::Hidden: return slot && !slot->shown;
    default: return false;
    }
}

bool run_scenario_file(const std::string& path, const RunOptions& options) {
    Runner runner(path, options);
    bool ok = runner.run();
    std::fflush(stdout);
    return ok;
}

}  // namespace bench
