// Fuel_Consumption — fuel computer: the engine's fuel flow in US gallons per hour.
// Reads:  0x27E engine fuel flow, pounds per hour.
// Sends:  nothing.
// Keeps:  nothing.
#include <cstdio>

#include "engine/dial_gauge.h"
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
static StringElement readout_string = digit_readout({28, 73}, {144, 32}, 9, 400, 0x27E, readout);
static ELEMENT_HEADER* face_elements[] = {&legend_icon.header, &readout_string.header, nullptr};
static StaticImageElement background = face_image(kBitmapFace, face_elements);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static DialAreas mouse_areas = dial_areas();
DEFINE_GAUGE(Fuel_Consumption, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL legend(IconElement*) { return 0.0; }

// 100 GPH and more is cut to the readout's nine characters.
static double GAUGE_CALL readout(StringElement* e) {
    double gph = e->source_var[0].var_value.n / kPoundsPerGallon;
    whole_number_text(e->string, string_capacity(e), gph, 2, true, "   ", " GPH");
    return gph;
}
