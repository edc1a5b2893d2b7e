// Where a click on a drawn panel window lands: the gauge placement under a window pixel and the
// point in that gauge's own pixels, with the window's geometry and each gauge's scale exactly as
// the renderer places them (draw_window, fit_scale).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "bench/host.h"
#include "bench/panel_cfg.h"

namespace bench {

// A gauge's size in its own pixels (Renderer::gauge_size).
using GaugeSizeFn = std::function<void(const GAUGEHDR* gauge, int& w, int& h)>;

struct PanelHit {
    size_t line = 0;                // index of the gauge line in the window
    Placement* placement = nullptr;
    int32_t x = 0, y = 0;           // gauge pixels
    bool has_area = false;          // a mouse area of the gauge takes this button there
};

// A window pixel (wx, wy) in gauge pixels of gauge line `line`; the point may fall outside it.
void window_to_gauge(const PanelGauge& g, int gauge_w, int gauge_h, double wx, double wy, int32_t& x, int32_t& y);

// The placement under window pixel (wx, wy) for a click of `button`. Gauges drawn later lie on
// top: the topmost gauge whose box holds the point and that has an area for the button there
// wins; failing that the topmost gauge whose box holds the point (has_area false). False when the
// point is on no gauge or outside the window.
bool locate_click(const PanelWindow& window, const std::vector<Placement*>& placements, const GaugeSizeFn& size,
                  double wx, double wy, uint32_t button, PanelHit& out);

}  // namespace bench
