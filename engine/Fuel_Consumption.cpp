// Fuel_Consumption — fuel computer: the engine's fuel flow in US gallons per hour.
// Reads:  0x27E engine fuel flow, pounds per hour.
// Sends:  nothing.
// Keeps:  nothing.
#include <cstdio>

#include "engine/engine_state.h"
#include "module/gauge_unit.h"
#include "module/whole_number_text.h"

constexpr double kPoundsPerGallon = 6.6016;
constexpr int32_t kBitmapFace = 4810;
constexpr int32_t kBitmapLegend = 4811;  // three pictures, 4811..4813

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL legend(IconElement*);
static double GAUGE_CALL readout(StringElement*);

static IconElement legend_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapLegend, .position = {55, 19},
               .image_flags = kImageUseTransparency | kImageUseErase},
    .scale = 1.0, .num_icons = 3, .update_cb = legend,
};
static StringElement readout_string = {
    .header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {28, 73},
               .image_flags = kImageUseTransparency | kImageUseErase},
    .source_var = {{.id = 0x27E}},
    .box = {144, 32}, .char_count = 9, .fg_color = kDigitRed, .bg_color = kDigitBackground,
    .hilite_color = kDigitHighlight, .font_name = "Quartz", .font_weight = 400, .char_set = 1,
    .draw_text_flags = kTextCentredSingleLine, .update_cb = readout,
};
static ELEMENT_HEADER* face_elements[] = {&legend_icon.header, &readout_string.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = face_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Fuel_Consumption, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL legend(IconElement*) { return 0.0; }

// 100 GPH and more is cut to the readout's nine characters.
static double GAUGE_CALL readout(StringElement* e) {
    double gph = e->source_var[0].var_value.n / kPoundsPerGallon;
    whole_number_text(e->string, string_capacity(e), gph, 2, true, "   ", " GPH");
    return gph;
}
