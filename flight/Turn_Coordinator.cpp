// Turn_Coordinator — turn coordinator with inclinometer ball and power flag.
// Reads:  0x45 inclinometer ball, 0x46 turn deflection, 0x2F1 bus voltage.
// Sends:  nothing.
// Keeps:  nothing.
#include <cmath>
#include <iterator>

#include "module/gauge_unit.h"

constexpr uint32_t kVarBall = 0x45;
constexpr uint32_t kVarTurn = 0x46;
constexpr uint32_t kVarBusVolts = 0x2F1;
constexpr double kFlagVolts = 20.0;
constexpr double kTurnScale = 0.00390625;  // 1/256
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD symbol_failures[] = {{18, FAIL_ACTION_FREEZE, 0}, {20, FAIL_ACTION_ZERO, 0}, FAILURE_END};

// ±4.5 turns the symbol 45 degrees either way; beyond that it stops.
static NONLINEARITY symbol_table[] = {
    {{117, 119}, -5.0}, {{117, 119}, -4.5}, {{183, 119}, 4.5}, {{183, 119}, 5.0}};

static double GAUGE_CALL ball_rise(SliderElement*);
static double GAUGE_CALL power_flag(IconElement*);
static double GAUGE_CALL symbol_deflection(NeedleElement*);

// The ball rises along a parabola as it moves off centre: y is the square of its source value.
static SliderElement ball = {
    .header = {.element_type = ELEMENT_SLIDER, .resource_id = 330, .position = {135, 185}, .image_flags = kDrawFlags},
    .source_var_x = {.id = kVarBall}, .scale_x = 0.34375,
    .source_var_y = {.id = kVarBall}, .scale_y = -0.00030517578125, .update_y_cb = ball_rise,
};
static StaticImageElement glass = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 340, .position = {130, 182},
               .image_flags = kDrawFlags},
};
static IconElement flag = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 350, .position = {193, 90}, .image_flags = kDrawFlags},
    .source_var = {.id = kVarBusVolts}, .scale = 1.0, .num_icons = 1, .update_cb = power_flag,
};
static NeedleElement symbol = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 320, .position = {150, 152}, .ofs = {16, 93},
               .failure_systems = symbol_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarTurn}, .nonlinearity_table = symbol_table,
    .nonlinearity_table_size = std::size(symbol_table), .update_cb = symbol_deflection,
};
static StaticImageElement overlay = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 360, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&ball.header, &glass.header, &flag.header, &symbol.header,
                                          &overlay.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 310, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 300, 300}, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3090},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Turn_Coordinator, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL ball_rise(SliderElement* e) {
    double v = e->source_var_y.var_value.n;
    double rise = v * v;
    return std::isfinite(rise) ? rise : 0.0;  // a value far past the tube's end: not infinity to the host
}

static double GAUGE_CALL power_flag(IconElement* e) { return e->source_var.var_value.n <= kFlagVolts ? 0.0 : -1.0; }

static double GAUGE_CALL symbol_deflection(NeedleElement* e) { return e->source_var.var_value.n * kTurnScale; }
