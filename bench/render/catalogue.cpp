// `corvan-bench catalogue --out DIR [--state FILE]...`: the gauge catalogue a panel author reads,
// written from the loaded module: DIR/gauges.md and a picture per gauge in DIR/gauges/.
//
// Every gauge of the table is installed once, in table order, and the state files (demo
// scenarios: power on, receivers switched on, panel lights on) are played over them. Then, in that
// state:
// - the token variables each placement looks up over a few frames, and the calculator
//   expressions it has evaluated, are recorded;
// - each mouse area is clicked at its centre, with each button it takes, in a process of its own
//   forked from that state with every other placement killed, so that no click sees another's
//   effect; what the click sent, and what the frame after it sent that the frame before it did
//   not, is read from the event and toggle logs; a click that sends nothing is told by whether
//   the gauge's elements changed (those that do not move by themselves);
// - each placement is drawn on the panel's grey, scaled down to fit kPictureMaxWidth by
//   kPictureMaxHeight.
//
// Sections: what the module does not carry · formatting · surveying clicks · the page · the command.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "bench/scenario.h"
#include "bench/serve/panel_hit.h"
#include "bench/subcommands.h"

namespace bench {
namespace {

// Pictures keep a gauge's own size up to these (a radio's face, 340 pixels wide, stays 1:1),
// and are scaled down with its proportions beyond.
constexpr int kPictureMaxWidth = 340;
constexpr int kPictureMaxHeight = 200;
constexpr int kReadFrames = 3;    // frames over which the variables a gauge reads are recorded

// ----------------------------------------------------------------------------------------------
// What the module does not carry: the subsystem each gauge belongs to (the folder of its unit).

struct Subsystem {
    const char* name;
    const char* gauges;  // blank-separated
};
constexpr Subsystem kSubsystems[] = {
    {"Gauge module",
     "Registration ATC_Toggle Kneeboard_Toggle Map_Toggle Invisible_Toggle Radios_Toggle GPS_Toggle Throttle_Toggle "
     "Compass_Toggle Close_Subpanel Landing_View_Toggle Electricity_Toggle Overhead_Toggle Nav_Instruments_Toggle "
     "Autopilot_Toggle"},
    {"Radio stack",
     "Bendix_KN53_NAV1 Bendix_KN53_NAV2 Bendix_KY196_COM1 Bendix_KY196_COM2 Bendix_KR87_ADF Bendix_KMA24H_Audiopanel "
     "Bendix_KT76A_ATC Bendix_KT76C_ATC Bendix_KT70_ATC Bendix_KR21_OMI_Lights Bendix_KD1572_DME"},
    {"Flight and navigation instruments",
     "Turn_Coordinator Vertical_Speed Airspeed Altimeter Bendix_KI256_ADI Bendix_KI229_RMI Bendix_KCS55A_HSI "
     "Bendix_KI206_VOR1 Bendix_KI206_VOR2 Bendix_KI202_VOR2 RMI_Switch Magnetic_Compass"},
    {"Autopilot", "AP_Annunciator Autopilot AP_Altitude_Selector NAV_GPS_Switch_Annunciator AP_Tester"},
    {"Engine, fuel and cabin",
     "Fuel_Quantity Fuel_Pressure Torque InterStage_Turbine_Temp Gas_Generator_RPM Propeller_RPM Oil_Temp_Press "
     "Fuel_Consumption Pressu_Main_Switch Digital_OAT Suction_Indicator Annunciator Voltmeter Ammeter Cabin_Altimeter "
     "Pressu_Settings"},
    {"Aircraft systems controls",
     "Throttle_Quadrant Aux_BP_Switch Avionics_Panel_Switches Taxi_Lights_Switch Landing_Lights_Switch Nav_Lights_Switch "
     "Strobe_Lights_Switch Pitot_Heat_Switch_1 Pitot_Heat_Switch_2 Struct_DeIce_Switch DeIce_Light_Switch "
     "Prop_DeIce_Switch Wind_L_DeIce_Switch Wind_R_DeIce_Switch InertSep_DeIce_Switch DeIce_Lights_Test_Button "
     "Flaps_Lever Ignition_Switch Starter_Switch Elec_Switchboard Parking_Brake Gear_Lever Flaps_Position "
     "Pitch_Trim_Wheel Trims_Position Gear_Lamps Master_Lights Struct_DeIce_Light Prop_DeIce_Light Wind_L_DeIce_Light "
     "Wind_R_DeIce_Light"},
    {"Clock and radar displays", "Bendix_RDS81_Weather_Radar Astrotech_Timer"},
};

std::string subsystem_of(const std::string& gauge) {
    for (const Subsystem& s : kSubsystems) {
        std::istringstream names(s.gauges);
        for (std::string n; names >> n;)
            if (n == gauge) return s.name;
    }
    return "?";
}

// ----------------------------------------------------------------------------------------------
// Formatting

std::string hex(uint32_t v) { return scenario_hex(v); }

// Table cells: a '|' would end the cell.
std::string cell(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '|' ? std::string("\\|") : std::string(1, c);
    return out;
}

const char* cursor_name(int32_t cursor) {
    static const char* const kNames[] = {"normal", "up arrow", "down arrow", "left arrow",
                                         "right arrow", "hand", "crosshair", "grab"};
    if (cursor >= 0 && cursor < int32_t(std::size(kNames))) return kNames[cursor];
    return cursor == -1 ? "none" : "?";
}

std::string buttons_of(uint32_t flags) {
    std::string out;
    auto add = [&out](const char* word) { out += (out.empty() ? "" : ", ") + std::string(word); };
    if (flags & MOUSE_LEFTSINGLE) add("left");
    if (flags & MOUSE_RIGHTSINGLE) add("right");
    if (flags & MOUSE_DOWN_REPEAT) add("repeats while held");
    if (flags & MOUSE_LEFTDRAG) add("drag");
    return out.empty() ? "—" : out;
}

std::string help_text(uint32_t help_id) {
    std::string out = "help " + hex(help_id);
    if (const char* name = help_name(help_id)) out += std::string(" (") + name + ")";
    return out;
}

std::string event_text(const LoggedEvent& e) {
    if (e.param == 0) return hex(e.id);
    return hex(e.id) + " " + std::to_string(int32_t(e.param));
}

// ----------------------------------------------------------------------------------------------
// Surveying clicks

// Events and toggles a frame or a click left in the logs after the given counts.
struct LogMark {
    size_t events = 0, toggles = 0;
};
LogMark mark(const SimModel& sim) { return {sim.events.size(), sim.toggles.size()}; }

std::multiset<std::pair<uint32_t, uint32_t>> logged_since(const std::vector<LoggedEvent>& log, size_t from) {
    std::multiset<std::pair<uint32_t, uint32_t>> out;
    for (size_t i = from; i < log.size(); ++i) out.insert({log[i].id, log[i].param});
    return out;
}

std::string describe(const std::vector<LoggedEvent>& events, const std::vector<LoggedEvent>& toggles) {
    std::string out;
    for (const LoggedEvent& e : events) out += (out.empty() ? "" : ", ") + event_text(e);
    if (!out.empty()) out = "sends " + out;
    for (const LoggedEvent& t : toggles)
        out += (out.empty() ? "" : ", ") + std::string("toggles window ") + std::to_string(int32_t(t.id));
    return out;
}

// A point of the area's box that a click of `button` reaches (earlier areas may cover parts of
// it): its centre if it can, else the first point row by row; false when it is covered entirely.
bool reachable_point(MOUSERECT* areas, MOUSERECT* area, uint32_t button, int32_t& x, int32_t& y) {
    const MOUSE_BOX& b = area->box;
    x = b.x + b.w / 2;
    y = b.y + b.h / 2;
    if (route_click(areas, x, y, button) == area) return true;
    for (y = b.y; y < b.y + b.h; ++y)
        for (x = b.x; x < b.x + b.w; ++x)
            if (route_click(areas, x, y, button) == area) return true;
    return false;
}

// What the host last drew of each element of a placement.
struct Drawn {
    double value[3];
    bool shown;
    std::string text;
    bool operator==(const Drawn& o) const {
        return std::equal(value, value + 3, o.value) && shown == o.shown && text == o.text;
    }
};
std::vector<Drawn> drawn(const Placement& p) {
    std::vector<Drawn> out;
    for (const ElementSlot& e : p.elements) out.push_back({{e.value[0], e.value[1], e.value[2]}, e.shown, e.text});
    return out;
}

// One click of `button` on `area` of placement `target`, in the state the host is in now: the
// other placements are killed, two frames are run to know what a frame sends and moves by itself,
// then the click and one more frame. Runs in a child process, so that the host's state is left as
// it was.
std::string survey_in_child(Host& host, Placement* target, MOUSERECT* area, uint32_t button) {
    int32_t x = 0, y = 0;
    if (!reachable_point(target->gauge->mouse_rect, area, button, x, y)) return "covered by an earlier area";
    std::vector<Placement*> others;
    for (auto& p : host.placements())
        if (p.get() != target) others.push_back(p.get());
    for (Placement* p : others) host.kill(p);
    SimModel& sim = host.sim;
    host.frame();
    std::vector<Drawn> first = drawn(*target);
    LogMark before = mark(sim);
    host.frame();
    std::vector<Drawn> settled = drawn(*target);
    auto by_itself = logged_since(sim.events, before.events);
    auto toggles_by_itself = logged_since(sim.toggles, before.toggles);

    LogMark at_click = mark(sim);
    host.click(target, x, y, button, 0);
    LogMark after_click = mark(sim);
    host.frame();
    std::vector<Drawn> after = drawn(*target);
    bool changed = false;
    for (size_t i = 0; i < after.size(); ++i) changed |= first[i] == settled[i] && !(after[i] == settled[i]);

    std::vector<LoggedEvent> click_events(sim.events.begin() + long(at_click.events), sim.events.begin() + long(after_click.events));
    std::vector<LoggedEvent> click_toggles(sim.toggles.begin() + long(at_click.toggles), sim.toggles.begin() + long(after_click.toggles));
    std::vector<LoggedEvent> next_events, next_toggles;
    for (size_t i = after_click.events; i < sim.events.size(); ++i) {
        auto it = by_itself.find({sim.events[i].id, sim.events[i].param});
        if (it != by_itself.end()) by_itself.erase(it);
        else next_events.push_back(sim.events[i]);
    }
    for (size_t i = after_click.toggles; i < sim.toggles.size(); ++i) {
        auto it = toggles_by_itself.find({sim.toggles[i].id, sim.toggles[i].param});
        if (it != toggles_by_itself.end()) toggles_by_itself.erase(it);
        else next_toggles.push_back(sim.toggles[i]);
    }
    std::string now = describe(click_events, click_toggles);
    std::string next = describe(next_events, next_toggles);
    std::string out = now;
    if (!next.empty()) out += (out.empty() ? "" : "; ") + std::string("the next frame ") + next;
    if (out.empty()) return changed ? "sends nothing; the gauge changes" : "sends nothing; no change seen";
    return out;
}

std::string survey(Host& host, Placement* target, MOUSERECT* area, uint32_t button) {
    int pipe_fd[2];
    if (pipe(pipe_fd) != 0) return "?";
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        close(pipe_fd[0]);
        std::string text = survey_in_child(host, target, area, button);
        ssize_t written = write(pipe_fd[1], text.data(), text.size());
        _exit(written == ssize_t(text.size()) ? 0 : 1);
    }
    close(pipe_fd[1]);
    std::string text;
    char buffer[256];
    for (ssize_t n; (n = read(pipe_fd[0], buffer, sizeof buffer)) > 0;) text.append(buffer, size_t(n));
    close(pipe_fd[0]);
    int status = 0;
    if (pid > 0) waitpid(pid, &status, 0);
    if (pid < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return "? (the click could not be surveyed)";
    return text;
}

// ----------------------------------------------------------------------------------------------
// The page

std::string anchor(const std::string& name) {
    std::string out;
    for (char c : name) out += char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

void write_areas(std::ostream& md, Host& host, Placement* p) {
    MOUSERECT* areas = p->gauge->mouse_rect;
    if (mouse_area_count(areas) == 0) {
        md << "No mouse areas.\n\n";
        return;
    }
    md << "| # | mouse area | box x, y, w, h | cursor | buttons | help or tooltip | a click there |\n";
    md << "|---|---|---|---|---|---|---|\n";
    int n = 0;
    for (MOUSERECT* a = areas; a && a->kind != MOUSE_END; ++a) {
        ++n;
        const MOUSE_BOX& b = a->box;
        bool boxed = b.w > 0 && b.h > 0;
        std::string box = boxed ? std::to_string(b.x) + ", " + std::to_string(b.y) + ", " + std::to_string(b.w) + ", " +
                                      std::to_string(b.h)
                                : "whole gauge";
        switch (a->kind) {
        case MOUSE_PARENT:
            md << "| " << n << " | region | " << box << " | " << cursor_name(a->cursor) << " | — | "
               << (a->help_id ? help_text(a->help_id) : "—") << " | |\n";
            break;
        case MOUSE_TOOLTIP: {
            std::string tip = a->tooltip && a->tooltip[0] ? "tooltip \"" + utf8_from_1252(a->tooltip) + "\""
                                                          : "tooltip " + hex(a->help_id);
            md << "| " << n << " | tooltip | " << (boxed ? box : "its region") << " | — | — | " << cell(tip) << " | |\n";
            break;
        }
        case MOUSE_CHILD: {
            std::string clicks;
            for (uint32_t button : {MOUSE_LEFTSINGLE, MOUSE_RIGHTSINGLE}) {
                if (!(a->mouse_flags & button)) continue;
                if (!clicks.empty()) clicks += "; ";
                clicks += std::string(button == MOUSE_LEFTSINGLE ? "left: " : "right: ") + survey(host, p, a, button);
            }
            md << "| " << n << " | button | " << box << " | " << cursor_name(a->cursor) << " | "
               << buttons_of(a->mouse_flags) << " | " << (a->help_id ? help_text(a->help_id) : "—") << " | "
               << cell(clicks.empty() ? "—" : clicks) << " |\n";
            break;
        }
        default:  // the end of a region
            break;
        }
    }
    md << "\n";
}

struct GaugeEntry {
    Placement* placement = nullptr;
    int w = 0, h = 0;          // background size in pixels
    std::set<uint32_t> reads;  // token variables looked up
    std::set<std::string> expressions;  // calculator expressions evaluated
};

bool write_page(const std::filesystem::path& out, Host& host, const std::vector<GaugeEntry>& gauges,
                std::string& error) {
    std::ofstream md(out / "gauges.md", std::ios::binary);
    if (!md) {
        error = (out / "gauges.md").string() + ": cannot write the page";
        return false;
    }
    md << "# The gauges of Corvan_Instr.gau\n\n"
          "Generated by `corvan-bench catalogue` from the module itself (`make catalogue`); do not edit.\n\n"
          "A panel.cfg places a gauge with `gaugeNN=Corvan_Instr!Name, x, y[, w[, h]]`: the name is the first column "
          "below. Without `h` the gauge keeps the proportions of its background. Pictures, variables and clicks are "
          "taken with the aircraft powered, the receivers switched on and the panel lights on, after the default "
          "panel's demo flight. The window buttons take what they open from their parameter text (see INSTALL.txt); "
          "here they have none, so they toggle window 0.\n\n";
    md << "| No. | Gauge | Subsystem | Default width (mm) | Background (pixels) |\n|---|---|---|---|---|\n";
    int n = 0;
    for (const GaugeEntry& g : gauges) {
        std::string name = g.placement->gauge->gauge_name;
        md << "| " << ++n << " | [`" << name << "`](#" << anchor(name) << ") | " << subsystem_of(name) << " | "
           << g.placement->gauge->size_x_mm << " | " << g.w << " × " << g.h << " |\n";
    }
    md << "\n";
    n = 0;
    for (const GaugeEntry& g : gauges) {
        const GAUGEHDR* gauge = g.placement->gauge;
        std::string name = gauge->gauge_name;
        md << "## " << name << "\n\n";
        md << "No. " << ++n << " · `Corvan_Instr!" << name << "` · " << subsystem_of(name) << " · " << gauge->size_x_mm
           << " mm wide by default · background " << g.w << " × " << g.h << " pixels\n\n";
        md << "![" << name << "](gauges/" << name << ".png)\n\n";
        write_areas(md, host, g.placement);
        md << "Token variables read:";
        if (g.reads.empty()) md << " none";
        bool first = true;
        for (uint32_t id : g.reads) {
            md << (first ? " " : ", ") << hex(id);
            first = false;
        }
        if (!g.expressions.empty()) {
            md << " · calculator:";
            first = true;
            for (const std::string& code : g.expressions) {
                md << (first ? " `" : ", `") << code << "`";
                first = false;
            }
        }
        md << "\n\n";
    }
    md.flush();
    if (!md) {
        error = (out / "gauges.md").string() + ": cannot write the page";
        return false;
    }
    return true;
}

// True when every pixel of the surface is the same.
bool uniform(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    uint32_t first = *reinterpret_cast<const uint32_t*>(data);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride))[x] != first) return false;
    return true;
}

// The gauge over the panel's own grey, as it looks on a panel window; a gauge that draws nothing
// there (an invisible button) shows its clickable areas as dashed boxes.
bool write_picture(Renderer& renderer, const GaugeEntry& g, const std::string& png, std::string& error) {
    double k = std::min({1.0, double(kPictureMaxWidth) / g.w, double(kPictureMaxHeight) / g.h});
    int w = std::max(1, int(g.w * k + 0.5)), h = std::max(1, int(g.h * k + 0.5));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0x2E / 255.0, 0x32 / 255.0, 0x36 / 255.0);
    cairo_paint(cr);
    renderer.draw_gauge_at(cr, *g.placement, 0, 0, w, h);
    if (uniform(surface)) {
        const double dash[] = {2, 2};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgb(cr, 0.7, 0.7, 0.7);
        for (const MOUSERECT* a = g.placement->gauge->mouse_rect; a && a->kind != MOUSE_END; ++a)
            if (a->kind == MOUSE_CHILD)
                cairo_rectangle(cr, a->box.x * k + 0.5, a->box.y * k + 0.5, a->box.w * k - 1, a->box.h * k - 1);
        cairo_stroke(cr);
    }
    cairo_destroy(cr);
    if (uniform(surface)) {  // a gauge that draws nothing and has no area to show: a fault, not a picture
        cairo_surface_destroy(surface);
        error = std::string(g.placement->gauge->gauge_name) + ": its picture is blank";
        return false;
    }
    bool ok = write_png(surface, png, error);
    cairo_surface_destroy(surface);
    return ok;
}

// ----------------------------------------------------------------------------------------------
// The command

struct CatalogueOptions {
    std::string out;
    std::vector<std::string> states;
};
CatalogueOptions options;

int catalogue(const std::string& module_path) {
    Host host;
    std::string error;
    if (!host.load(module_path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (GAUGEHDR* g : host.module().gauges)
        if (!host.install(g->gauge_name, nullptr, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    host.frame();
    Renderer renderer(module_bitmaps(host.module()));
    renderer.light_from(host.sim);
    for (const std::string& state : options.states)
        if (!play_demo(host, PanelConfig{}, renderer, state)) return 1;
    host.frame();

    std::vector<GaugeEntry> gauges;
    std::map<const Placement*, size_t> index;
    for (GAUGEHDR* g : host.module().gauges) {
        GaugeEntry e;
        e.placement = host.find(g->gauge_name, 1);
        renderer.gauge_size(g, e.w, e.h);
        index[e.placement] = gauges.size();
        gauges.push_back(e);
    }
    host.on_lookup = [&](const Placement* p, uint32_t var) {
        auto it = index.find(p);
        if (it != index.end() && var != 0) gauges[it->second].reads.insert(var);
    };
    host.on_calculate = [&](const Placement* p, const char* code) {
        auto it = index.find(p);
        if (it != index.end()) gauges[it->second].expressions.insert(code);
    };
    for (int i = 0; i < kReadFrames; ++i) host.frame();
    host.on_lookup = nullptr;
    host.on_calculate = nullptr;

    std::filesystem::path out(options.out);
    std::error_code ec;
    std::filesystem::create_directories(out / "gauges", ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot create the folder (%s)\n", (out / "gauges").string().c_str(), ec.message().c_str());
        return 1;
    }
    if (!write_page(out, host, gauges, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const GaugeEntry& g : gauges) {
        std::string png = (out / "gauges" / (std::string(g.placement->gauge->gauge_name) + ".png")).string();
        if (!write_picture(renderer, g, png, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    std::printf("%s: %zu gauges\n", (out / "gauges.md").string().c_str(), gauges.size());
    return 0;
}

int catalogue_command(const std::string& module_path) {
    int status = catalogue(module_path);
    release_drawing_caches();
    return status;
}

SubcommandRegistrar registrar({
    .add =
        [](CLI::App& app, std::string& module_path) {
            CLI::App* sub = app.add_subcommand("catalogue", "write the gauge catalogue: a page and a picture per gauge");
            sub->add_option("--module", module_path, "gauge module to load");
            sub->add_option("--out", options.out, "folder for gauges.md and gauges/")->required();
            sub->add_option("--state", options.states, "scenarios played over the gauges first, in order (power, radios, lights)");
            return sub;
        },
    .run = catalogue_command,
});

}  // namespace
}  // namespace bench
