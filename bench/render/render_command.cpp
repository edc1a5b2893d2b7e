// `corvan-bench render --panel FILE --out DIR [--scenario FILE]`: installs every gauge a panel.cfg
// places, plays a demo scenario over them, and writes one PNG per window and a contact sheet of
// every gauge. Also the scenario command `render GAUGE|window ID FILE.png`.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"
#include "bench/scenario.h"
#include "bench/subcommands.h"

namespace bench {
namespace {

constexpr const char* kModuleName = "Corvan_Instr";

bool same_module(const std::string& name) {
    if (name.size() != std::strlen(kModuleName)) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(kModuleName[i])))
            return false;
    return true;
}

std::string file_stem(const PanelWindow& w) {
    std::string slug;
    for (char c : w.title) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            slug += char(std::tolower(static_cast<unsigned char>(c)));
        else if (!slug.empty() && slug.back() != '_')
            slug += '_';
    }
    while (!slug.empty() && slug.back() == '_') slug.pop_back();
    char number[16];
    std::snprintf(number, sizeof number, "window%02d", w.number);
    return slug.empty() ? std::string(number) : std::string(number) + "_" + slug;
}

}  // namespace

// Outlines the places of a window's gauges that have no placement (another module's gauges, or
// names this module lacks), labelled Module!Name.
void mark_missing(cairo_t* cr, const PanelWindow& w, const std::vector<Placement*>& placements) {
    for (size_t i = 0; i < w.gauges.size() && i < placements.size(); ++i) {
        if (placements[i]) continue;
        const PanelGauge& g = w.gauges[i];
        double h = g.h > 0 ? g.h : g.w;
        std::string label = g.module + "!" + g.name;
        const double dash[] = {4, 3};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgb(cr, 0.7, 0.7, 0.7);
        cairo_rectangle(cr, g.x + 0.5, g.y + 0.5, g.w - 1, h - 1);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_select_font_face(cr, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
        cairo_set_font_size(cr, 9);
        cairo_save(cr);
        cairo_rectangle(cr, g.x, g.y, g.w, h);
        cairo_clip(cr);
        cairo_move_to(cr, g.x + 3, g.y + 12);
        cairo_show_text(cr, label.c_str());
        cairo_restore(cr);
    }
}

std::function<bool(const PanelGauge&, int&, int&)> own_gauge_sizes(const Host& host, Renderer& renderer) {
    return [&host, &renderer](const PanelGauge& g, int& w, int& h) {
        if (!same_module(g.module)) return false;
        const GAUGEHDR* gauge = host.module().find(g.name);
        if (!gauge) return false;
        renderer.gauge_size(gauge, w, h);
        return true;
    };
}

namespace {

bool write_window(Renderer& renderer, Host& host, const PanelConfig& panel, size_t index, const std::string& png,
                  std::string& error) {
    auto placements = panel_placements(host, panel);
    cairo_surface_t* surface = render_window(renderer, panel, index, placements[index]);
    cairo_t* cr = cairo_create(surface);
    mark_missing(cr, panel.windows[index], placements[index]);
    cairo_destroy(cr);
    bool ok = write_png(surface, png, error);
    cairo_surface_destroy(surface);
    return ok;
}

bool write_gauge(Renderer& renderer, const Placement& p, const std::string& png, std::string& error) {
    cairo_surface_t* surface = render_gauge(renderer, p);
    bool ok = write_png(surface, png, error);
    cairo_surface_destroy(surface);
    return ok;
}

// ----------------------------------------------------------------------------------------------
// The scenario command `render`

bool render_window_hook(Host& host, const std::string& panel_path, int32_t ident, const std::string& png,
                        std::string& error) {
    PanelConfig panel;
    if (panel_path.empty()) {
        error = "render window needs a panel configuration (run --panel FILE)";
        return false;
    }
    if (!read_panel_cfg(panel_path, panel, error)) return false;
    Renderer renderer(module_bitmaps(host.module()));
    settle_panel(panel, own_gauge_sizes(host, renderer));
    for (size_t i = 0; i < panel.windows.size(); ++i)
        if (panel.windows[i].ident == ident) {
            renderer.light_from(host.sim);
            return write_window(renderer, host, panel, i, png, error);
        }
    error = panel_path + " has no window with ident " + std::to_string(ident);
    return false;
}

struct HookRegistrar {
    HookRegistrar() {
        render_hooks().gauge = [](Host& host, Placement& p, const std::string& png, std::string& error) {
            Renderer renderer(module_bitmaps(host.module()));
            renderer.light_from(host.sim);
            return write_gauge(renderer, p, png, error);
        };
        render_hooks().window = render_window_hook;
    }
} hook_registrar;

// ----------------------------------------------------------------------------------------------
// Demo scenarios: the commands that drive the panel (install, kill, set, calc, fail, simulate,
// frame, click, drag, forget, render) run against the installed panel; expectations belong in test
// scenarios and are reported.

class Demo {
public:
    Demo(Host& host, const PanelConfig& panel, Renderer& renderer) : host_(host), panel_(panel), renderer_(renderer) {}
    // Runs a file; false when it had errors (each reported as file:line).
    bool run(const std::string& path);

private:
    bool report(int line, const std::string& message) {
        std::fprintf(stderr, "%s:%d: %s\n", path_.c_str(), line, message.c_str());
        ok_ = false;
        return false;
    }
    Placement* placement(int line, const GaugeRef& ref) {
        Placement* p = host_.find(ref.name, ref.nth);
        if (!p) report(line, "no placement " + ref.name + "#" + std::to_string(ref.nth));
        return p;
    }
    void execute(int line, const Command& c);
    void advance(int line, const Command& c);

    Host& host_;
    const PanelConfig& panel_;
    Renderer& renderer_;
    std::string path_;
    bool ok_ = true;
};

void Demo::execute(int line, const Command& c) {
    SimModel& sim = host_.sim;
    std::string error;
    switch (c.kind) {
    case Cmd::Install:
        if (!host_.install(c.gauge.name, c.has_text ? c.text.c_str() : nullptr, error)) report(line, error);
        return;
    case Cmd::Kill:
        if (Placement* p = placement(line, c.gauge)) host_.kill(p);
        return;
    case Cmd::Set:
        sim.set(c.id, c.number);
        return;
    case Cmd::Calc:
        if (c.has_text) {
            sim.calculator[c.gauge.name] = CalcResult{0, c.text};
        } else {
            char text[64];
            std::snprintf(text, sizeof text, "%.10g", c.number);
            sim.calculator[c.gauge.name] = CalcResult{c.number, text};
        }
        return;
    case Cmd::Fail:
        if (c.on)
            sim.failures.insert(c.id);
        else
            sim.failures.erase(c.id);
        return;
    case Cmd::Simulate:
        sim.simulate = c.on;
        return;
    case Cmd::Sound:
        if (host_.sound_device_fault) host_.sound_device_fault(!c.on);
        return;
    case Cmd::Frame:
        for (int i = 0; i < int(c.number); ++i) host_.frame();
        return;
    case Cmd::Click:
        if (Placement* p = placement(line, c.gauge))
            host_.click(p, c.x, c.y, c.right ? MOUSE_RIGHTSINGLE : MOUSE_LEFTSINGLE, c.held);
        return;
    case Cmd::Drag:
        if (Placement* p = placement(line, c.gauge)) host_.drag(p, c.x, c.y);
        return;
    case Cmd::ForgetEvents:
        for (auto& e : sim.events) e.checked = true;
        for (auto& e : sim.toggles) e.checked = true;
        return;
    case Cmd::RenderGauge:
        if (Placement* p = placement(line, c.gauge))
            if (!write_gauge(renderer_, *p, c.text, error)) report(line, error);
        return;
    case Cmd::RenderWindow:
        for (size_t i = 0; i < panel_.windows.size(); ++i)
            if (panel_.windows[i].ident == int32_t(c.id)) {
                if (!write_window(renderer_, host_, panel_, i, c.text, error)) report(line, error);
                return;
            }
        report(line, "the panel has no window with ident " + std::to_string(c.id));
        return;
    case Cmd::World:
    case Cmd::Place:
    case Cmd::Fly:
        if (!run_flight_line(sim, c, path_, error)) report(line, error);
        return;
    case Cmd::Advance:
        advance(line, c);
        return;
    default:
        report(line, "expectations are not checked in a demo scenario; run it with `corvan-bench run`");
        return;
    }
}

// Frames for that much simulated time, or fewer when the line's condition comes true first.
void Demo::advance(int line, const Command& c) {
    const SimModel& sim = host_.sim;
    const ElementSlot* slot = nullptr;
    if (c.until == Until::Shown || c.until == Until::Hidden) {
        Placement* p = placement(line, c.gauge);
        if (!p) return;
        if (c.element < 1 || size_t(c.element) > p->elements.size()) {
            report(line, "no element " + std::to_string(c.element));
            return;
        }
        slot = &p->elements[size_t(c.element) - 1];
    }
    for (long i = std::lround(c.number / sim.frame_period); i > 0; --i) {
        host_.frame();
        if (c.until != Until::Nothing && advance_condition_met(c, sim, slot)) return;
    }
}

bool Demo::run(const std::string& path) {
    path_ = path;
    std::ifstream in(path, std::ios::binary);
    if (!in) return report(0, "cannot open the scenario");
    std::string text;
    int line = 0;
    while (std::getline(in, text)) {
        ++line;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        std::optional<Command> command;
        std::string error;
        if (!parse_line(text, command, error)) {
            report(line, error);
            continue;
        }
        if (command) execute(line, *command);
    }
    return ok_;
}

}  // namespace

void install_panel(Host& host, const PanelConfig& panel) {
    std::string error;
    for (const PanelWindow& w : panel.windows)
        for (const PanelGauge& g : w.gauges) {
            if (!same_module(g.module)) {
                std::fprintf(stderr, "%s:%d: gauge %s!%s belongs to another module; drawn as a labelled placeholder\n", panel.path.c_str(),
                             g.line, g.module.c_str(), g.name.c_str());
                continue;
            }
            if (!host.install(g.name, g.has_parameters ? g.parameters.c_str() : nullptr, error))
                std::fprintf(stderr, "%s:%d: %s\n", panel.path.c_str(), g.line, error.c_str());
        }
}

bool play_demo(Host& host, const PanelConfig& panel, Renderer& renderer, const std::string& path) {
    return Demo(host, panel, renderer).run(path);
}

namespace {

// ----------------------------------------------------------------------------------------------
// The subcommand

struct RenderOptions {
    std::string panel;
    std::string out;
    std::string scenario;
};
RenderOptions options;

int render_panel(const std::string& module_path) {
    PanelConfig panel;
    std::string error;
    if (!read_panel_cfg(options.panel, panel, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    for (const std::string& e : panel.errors) std::fprintf(stderr, "%s\n", e.c_str());

    Host host;
    if (!host.load(module_path, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    attach_sound_probe(host);
    install_panel(host, panel);
    host.frame();

    Renderer renderer(module_bitmaps(host.module()));
    renderer.light_from(host.sim);
    settle_panel(panel, own_gauge_sizes(host, renderer));
    for (const PanelSection& section : panel.undrawn)
        std::fprintf(stderr, "%s:%d: [%s] is not drawn on the 2D panel (%d gauge lines)\n", panel.path.c_str(),
                     section.line, section.name.c_str(), section.gauges);
    bool ok = true;
    if (!options.scenario.empty()) ok = play_demo(host, panel, renderer, options.scenario);

    // Every gauge of the module appears on the contact sheet, placed on the panel or not.
    for (GAUGEHDR* g : host.module().gauges)
        if (!host.find(g->gauge_name, 1)) host.install(g->gauge_name, nullptr, error);
    host.frame();

    std::error_code ec;
    std::filesystem::create_directories(options.out, ec);
    if (ec) {
        std::fprintf(stderr, "%s: cannot create the folder (%s)\n", options.out.c_str(), ec.message().c_str());
        return 1;
    }
    auto placements = panel_placements(host, panel);
    for (size_t i = 0; i < panel.windows.size(); ++i) {
        std::string png = (std::filesystem::path(options.out) / (file_stem(panel.windows[i]) + ".png")).string();
        if (write_window(renderer, host, panel, i, png, error)) {
            std::printf("%s\n", png.c_str());
        } else {
            std::fprintf(stderr, "%s\n", error.c_str());
            ok = false;
        }
    }
    std::vector<Placement*> sheet;
    for (GAUGEHDR* g : host.module().gauges) sheet.push_back(host.find(g->gauge_name, 1));
    std::string png = (std::filesystem::path(options.out) / "contact_sheet.png").string();
    cairo_surface_t* surface = render_contact_sheet(renderer, sheet);
    if (write_png(surface, png, error)) {
        std::printf("%s\n", png.c_str());
    } else {
        std::fprintf(stderr, "%s\n", error.c_str());
        ok = false;
    }
    cairo_surface_destroy(surface);
    std::fflush(stdout);
    return ok ? 0 : 1;
}

int render_command(const std::string& module_path) {
    int status = render_panel(module_path);
    release_drawing_caches();
    return status;
}

SubcommandRegistrar registrar({
    .add =
        [](CLI::App& app, std::string& module_path) {
            CLI::App* sub = app.add_subcommand("render", "draw every window of a panel and a sheet of every gauge to PNG");
            sub->add_option("--module", module_path, "gauge module to load");
            sub->add_option("--panel", options.panel, "panel.cfg placing the gauges")->required();
            sub->add_option("--out", options.out, "folder for the pictures")->required();
            sub->add_option("--scenario", options.scenario, "demo scenario played before drawing");
            return sub;
        },
    .run = render_command,
});

}  // namespace
}  // namespace bench
