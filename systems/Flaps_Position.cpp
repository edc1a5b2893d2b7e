// Flaps_Position — flaps indicator with a needle that moves smoothly to the flaps position.
// Reads:  0x14A flaps position (0 to 16382).
// Sends:  nothing.
// Keeps:  flaps_indicator_value, the smoothed reading (0 at load). The needle carries a failure
//         record for system 20 whose action is none: it goes on moving while that system has failed.
#include <cmath>

#include "systems/systems_records.h"

constexpr uint32_t kVarFlapsPosition = 0x14A;
constexpr double kSmoothing = 0.125;  // share of the gap closed each frame

static double flaps_indicator_value = 0.0;

static double GAUGE_CALL flaps_needle(NeedleElement*);

// ----------------------------------------------------------------------------------------------
// Records: background, needle, then the two overlays drawn over the needle.

static FAILURE_RECORD needle_failures[] = {{20, FAIL_ACTION_NONE, 0}, FAILURE_END};
static NONLINEARITY needle_table[] = {
    {{53, 14}, 0},
    {{50, 32}, 9000},
    {{21, 48}, 16382},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 5430, .position = {12, 11}, .ofs = {2, 6},
               .failure_systems = needle_failures, .image_flags = kDrawPart},
    .source_var = {.id = kVarFlapsPosition},
    .nonlinearity_table = needle_table,
    .nonlinearity_table_size = sizeof(needle_table) / sizeof(needle_table[0]),
    .update_cb = &flaps_needle,
};
static StaticImageElement overlay_upper = overlay_image(5440);
static StaticImageElement overlay_lower = overlay_image(5450);
static ELEMENT_HEADER* children[] = {&needle.header, &overlay_upper.header, &overlay_lower.header, nullptr};
static StaticImageElement background = background_image(5420, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB24, {});

DEFINE_GAUGE(Flaps_Position, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callback: an eighth of the gap each frame. A reading that is not a number is skipped so
// that it cannot stick in the smoothed value.

static double GAUGE_CALL flaps_needle(NeedleElement* e) {
    double reading = e->source_var.var_value.n;
    if (std::isfinite(reading))
        flaps_indicator_value = kSmoothing * reading + (1.0 - kSmoothing) * flaps_indicator_value;
    return flaps_indicator_value;
}
