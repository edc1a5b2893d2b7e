// Where a click on a drawn panel window lands: the gauge placement under a window pixel and the
// point in that gauge's own pixels, with the window's geometry and each gauge's scale exactly as
// the renderer places them (draw_window, fit_scale).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
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

// One place on a window where the pointer means something: a clickable area of a gauge, or a
// whole gauge (or parent region) that only carries a tooltip or a help text. Listed topmost gauge
// first and, within a gauge, smallest box first: the first entry holding a point is the innermost
// area of the topmost gauge there, the one a pilot pointing at it means.
struct HoverArea {
    size_t line = 0;               // gauge line in the window
    double x = 0, y = 0, w = 0, h = 0;  // window pixels
    int32_t cursor = -1;           // the record's cursor: -1 none, 1 up, 2 down, 3 left, 4 right, 5 hand
    uint32_t help_id = 0;          // the area's help id, else its parent region's
    uint32_t tooltip_id = 0;       // the region's tooltip record: a host tooltip id ...
    std::string tooltip;           // ... or its text
    uint32_t buttons = 0;          // MOUSE_LEFTSINGLE / MOUSE_RIGHTSINGLE it takes, with the repeat and drag bits
    uint32_t event_id = 0;         // sent by the host when the area has no handler
    bool clickable = false;        // a child area (else a region that only informs)
};

// The hover areas of a window, topmost gauge first and, within a gauge, smallest first (equal
// boxes in list order).
std::vector<HoverArea> list_hover_areas(const PanelWindow& window, const std::vector<Placement*>& placements,
                                        const GaugeSizeFn& size);

// The readable name the panel system gives a help id, or null.
const char* help_name(uint32_t help_id);

}  // namespace bench
