#include "bench/serve/panel_hit.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "bench/render/renderer.h"

namespace bench {

void window_to_gauge(const PanelGauge& g, int gauge_w, int gauge_h, double wx, double wy, int32_t& x, int32_t& y) {
    double sx = 1, sy = 1;
    fit_scale(gauge_w, gauge_h, g.w, g.h, sx, sy);
    if (!(sx > 0)) sx = 1;
    if (!(sy > 0)) sy = 1;
    // Far points (a drag off the window) stay within what a 32-bit coordinate holds.
    constexpr double kLimit = 1e9;
    double lx = std::floor((wx - g.x) / sx), ly = std::floor((wy - g.y) / sy);
    x = int32_t(std::fmax(-kLimit, std::fmin(kLimit, lx)));
    y = int32_t(std::fmax(-kLimit, std::fmin(kLimit, ly)));
}

bool locate_click(const PanelWindow& window, const std::vector<Placement*>& placements, const GaugeSizeFn& size,
                  double wx, double wy, uint32_t button, PanelHit& out) {
    if (!(wx >= 0 && wy >= 0 && wx < window.width && wy < window.height)) return false;
    bool found = false;
    size_t count = std::min(window.gauges.size(), placements.size());
    for (size_t i = count; i-- > 0;) {
        Placement* p = placements[i];
        if (!p) continue;
        int gw = 0, gh = 0;
        size(p->gauge, gw, gh);
        int32_t x = 0, y = 0;
        window_to_gauge(window.gauges[i], gw, gh, wx, wy, x, y);
        if (x < 0 || y < 0 || x >= gw || y >= gh) continue;
        bool has_area = route_click(p->gauge->mouse_rect, x, y, button) != nullptr;
        if (has_area || !found) {
            out = PanelHit{i, p, x, y, has_area};
            found = true;
        }
        if (has_area) return true;
    }
    return found;
}

std::vector<HoverArea> list_hover_areas(const PanelWindow& window, const std::vector<Placement*>& placements,
                                        const GaugeSizeFn& size) {
    std::vector<HoverArea> out;
    size_t count = std::min(window.gauges.size(), placements.size());
    for (size_t i = count; i-- > 0;) {
        const Placement* p = placements[i];
        if (!p || !p->gauge->mouse_rect) continue;
        const PanelGauge& g = window.gauges[i];
        size_t first = out.size();
        int gw = 0, gh = 0;
        size(p->gauge, gw, gh);
        double sx = 1, sy = 1;
        fit_scale(gw, gh, g.w, g.h, sx, sy);
        if (!(sx > 0)) sx = 1;
        if (!(sy > 0)) sy = 1;
        auto placed = [&](HoverArea a, const MOUSE_BOX& b) {
            a.line = i;
            a.x = g.x + b.x * sx;
            a.y = g.y + b.y * sy;
            a.w = b.w * sx;
            a.h = b.h * sy;
            return a;
        };
        // The region a child sits in gives it the help and tooltip the child itself lacks; the
        // regions follow their children, so that a child under the pointer wins.
        HoverArea region;
        MOUSE_BOX region_box{0, 0, gw, gh};
        std::vector<HoverArea> regions;
        for (const MOUSERECT* a = p->gauge->mouse_rect; a->kind != MOUSE_END; ++a) {
            switch (a->kind) {
            case MOUSE_PARENT:
                if (region.help_id || region.tooltip_id || !region.tooltip.empty()) regions.push_back(placed(region, region_box));
                region = HoverArea{};
                region.help_id = a->help_id;
                region.cursor = a->cursor;
                region_box = (a->box.w > 0 && a->box.h > 0) ? a->box : MOUSE_BOX{0, 0, gw, gh};
                break;
            case MOUSE_TOOLTIP: {
                // A tooltip with a box of its own informs over that box only.
                bool boxed = a->box.w > 0 && a->box.h > 0;
                HoverArea t;
                HoverArea& into = boxed ? t : region;
                if (a->tooltip && a->tooltip[0]) into.tooltip = a->tooltip;
                else into.tooltip_id = a->help_id;
                if (boxed) {
                    t.help_id = region.help_id;
                    out.push_back(placed(t, a->box));
                }
                break;
            }
            case MOUSE_CHILD: {
                HoverArea c;
                c.cursor = a->cursor;
                c.help_id = a->help_id ? a->help_id : region.help_id;
                c.tooltip_id = region.tooltip_id;
                c.tooltip = region.tooltip;
                c.buttons = a->mouse_flags;
                c.event_id = a->event_id;
                c.clickable = true;
                out.push_back(placed(c, a->box));
                break;
            }
            default:
                break;
            }
        }
        if (region.help_id || region.tooltip_id || !region.tooltip.empty()) regions.push_back(placed(region, region_box));
        out.insert(out.end(), regions.begin(), regions.end());
        // Innermost first: a region lying inside another (the altimeter's millibar window inside
        // the whole dial) is its own entry in the list, not nested in it, so the smaller box is the
        // more particular one. Equal boxes keep list order, children before their regions.
        std::stable_sort(out.begin() + std::ptrdiff_t(first), out.end(),
                         [](const HoverArea& a, const HoverArea& b) { return a.w * a.h < b.w * b.h; });
    }
    return out;
}

const char* help_name(uint32_t help_id) {
    // The window buttons' help texts, by the names their parameter text may give them.
    static const struct { uint32_t id; const char* name; } kNames[] = {
        {43910, "TOGGLE_RADIO_WINDOW"},   {43911, "TOGGLE_GPS_WINDOW"},  {43912, "TOGGLE_THROTTLE_WINDOW"},
        {43913, "TOGGLE_COMPASS_WINDOW"}, {43914, "TOGGLE_FUEL_WINDOW"}, {43915, "TOGGLE_COLLECTIVE_WINDOW"},
    };
    for (const auto& n : kNames)
        if (n.id == help_id) return n.name;
    return nullptr;
}

}  // namespace bench
