#include "bench/serve/panel_hit.h"

#include <cmath>

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

}  // namespace bench
