// Altimeter — drum-counter altimeter with inHg and millibar windows and a barometric knob.
// Reads:  0x4A indicated altitude, 0x4B / 0x4C barometric setting (mb / inHg), 0x113 altimeter
//         failure, 0x2F1 bus voltage.
// Sends:  0x1015C / 0x1015B barometric setting down / up, through the knob areas' event ids.
// Keeps:  nothing.
#include <cmath>
#include <iterator>

#include "flight/instrument_shared.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarAltitude = 0x4A;
constexpr uint32_t kVarBaroMillibars = 0x4B;
constexpr uint32_t kVarBaroInches = 0x4C;
constexpr uint32_t kVarAltimeterFailed = 0x113;
constexpr uint32_t kVarBusVolts = 0x2F1;
constexpr double kFlagVolts = 20.0;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD altitude_failures[] = {{3, FAIL_ACTION_FREEZE, 0}, {7, FAIL_ACTION_FREEZE, 0}, FAILURE_END};

static double GAUGE_CALL drum_position(MovingImageElement*);
static double GAUGE_CALL thousands_hatch(IconElement*);
static double GAUGE_CALL ten_thousands_hatch(IconElement*);
static double GAUGE_CALL alt_flag(IconElement*);

// A drum: its place P and roll window Q ride in the horizontal range (which moves nothing, the
// drum having no horizontal source); its period M is the minimum of its vertical range.
#define DRUM(bitmap, x, y, var, P, Q, M, failures)                                                          \
    {.header = {.element_type = ELEMENT_MOVING_IMAGE, .resource_id = bitmap, .position = {x, y},            \
                .failure_systems = failures, .image_flags = kDrawFlags},                                    \
     .min_x = P, .max_x = Q, .source_var_y = {.id = var}, .min_y = M, .max_y = 0.0, .update_y_cb = drum_position}

static MovingImageElement drums[] = {
    DRUM(1080, 214, 185, kVarBaroInches, 0.01, 0.001, 0.1, nullptr),
    DRUM(1080, 203, 185, kVarBaroInches, 0.1, 0.001, 1, nullptr),
    DRUM(1080, 191, 185, kVarBaroInches, 1, 0.002, 10, nullptr),
    DRUM(1080, 180, 185, kVarBaroInches, 10, 0.005, 100, nullptr),
    DRUM(1080, 114, 185, kVarBaroMillibars, 1, 0.1, 10, nullptr),
    DRUM(1080, 103, 185, kVarBaroMillibars, 10, 1, 100, nullptr),
    DRUM(1080, 92, 185, kVarBaroMillibars, 100, 1, 1000, nullptr),
    DRUM(1080, 81, 185, kVarBaroMillibars, 1000, 1, 10000, nullptr),
    DRUM(1090, 173, 72, kVarAltitude, 10, 0.5, 100, altitude_failures),
    DRUM(1100, 152, 72, kVarAltitude, 100, 1, 1000, altitude_failures),
    DRUM(1120, 126, 82, kVarAltitude, 1000, 5, 10000, altitude_failures),
    DRUM(1140, 104, 82, kVarAltitude, 10000, 5, 100000, altitude_failures),
};
#undef DRUM

static IconElement thousands_hatch_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 1110, .position = {126, 82},
               .failure_systems = altitude_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarAltitude}, .scale = 1.0, .num_icons = 1, .update_cb = thousands_hatch,
};
static IconElement ten_thousands_hatch_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 1130, .position = {104, 82},
               .failure_systems = altitude_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarAltitude}, .scale = 1.0, .num_icons = 1, .update_cb = ten_thousands_hatch,
};
static IconElement alt_flag_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 1070, .position = {100, 90}, .image_flags = kDrawFlags},
    .scale = 1.0, .num_icons = 1, .update_cb = alt_flag,
};
// 180 degrees per 500 ft, continuing past the last row: one turn per 1000 ft.
static NONLINEARITY hundreds_table[] = {{{153, 100}, 0.0}, {{153, 200}, 500.0}};
static NeedleElement hundreds_pointer = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 1060, .position = {153, 150}, .ofs = {9, 9},
               .failure_systems = altitude_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarAltitude},
    .nonlinearity_table = hundreds_table, .nonlinearity_table_size = std::size(hundreds_table),
};
static StaticImageElement overlay = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 1160, .image_flags = kDrawFlags},
};
static NONLINEARITY baro_knob_table[] = {{{304, 281}, 1013.0}, {{250, 281}, 1070.0}};
static NeedleElement baro_knob = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 1150, .position = {277, 281}, .ofs = {27, 27},
               .image_flags = kDrawFlags},
    .source_var = {.id = kVarBaroMillibars},
    .nonlinearity_table = baro_knob_table, .nonlinearity_table_size = std::size(baro_knob_table),
};

static ELEMENT_HEADER* dial_elements[] = {
    &drums[0].header, &drums[1].header, &drums[2].header, &drums[3].header, &drums[4].header,
    &drums[5].header, &drums[6].header, &drums[7].header, &drums[8].header, &drums[9].header,
    &drums[10].header, &drums[11].header, &thousands_hatch_icon.header, &ten_thousands_hatch_icon.header,
    &alt_flag_icon.header, &hundreds_pointer.header, &overlay.header, &baro_knob.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 1050, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

constexpr uint32_t kHelpBaroKnob = 0xAB3A;
constexpr uint32_t kBaroClicks = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 304, 309}, .cursor = CURSOR_NONE, .help_id = 0xAB07},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3050},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_PARENT, .box = {81, 185, 45, 20}, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3053},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_PARENT, .box = {250, 254, 54, 54}, .cursor = CURSOR_NONE, .help_id = kHelpBaroKnob},
    {.kind = MOUSE_CHILD, .box = {250, 254, 27, 54}, .cursor = CURSOR_DOWNARROW, .help_id = kHelpBaroKnob,
     .mouse_flags = kBaroClicks, .event_id = 0x1015C},
    {.kind = MOUSE_CHILD, .box = {277, 254, 27, 54}, .cursor = CURSOR_UPARROW, .help_id = kHelpBaroKnob,
     .mouse_flags = kBaroClicks, .event_id = 0x1015B},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Altimeter, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

// Odometer roll-over: a drum stays on its digit until the places below it are within Q of
// carrying, then turns through one digit while they go the last Q.
static double GAUGE_CALL drum_position(MovingImageElement* e) {
    double v = e->source_var_y.var_value.n;
    double place = e->min_x, window = e->max_x, period = e->min_y;
    double base = std::floor(v / place) * place;
    double roll = (v - base - place + window) * (place / window);
    if (!(roll > 0.0)) roll = 0.0;
    double x = base + roll;
    double position = x - std::floor(x / period) * period;
    return std::isfinite(position) ? position : 0.0;  // near the largest doubles the place sums overflow
}

constexpr double kThousandFeet = 1000.0, kTenThousandFeet = 10000.0;

static double GAUGE_CALL thousands_hatch(IconElement* e) {
    return e->source_var.var_value.n < kThousandFeet ? 0.0 : -1.0;
}
static double GAUGE_CALL ten_thousands_hatch(IconElement* e) {
    return e->source_var.var_value.n < kTenThousandFeet ? 0.0 : -1.0;
}

static double GAUGE_CALL alt_flag(IconElement*) {
    bool shown = token_as_int(token_value(kVarAltimeterFailed)) != 0 || token_value(kVarBusVolts) < kFlagVolts;
    return shown ? 0.0 : -1.0;
}
