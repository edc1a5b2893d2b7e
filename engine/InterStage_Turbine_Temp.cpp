// InterStage_Turbine_Temp — turbine temperature dial with a digital readout in degrees Celsius.
// Reads:  0x277 interstage turbine temperature, degrees Rankine (needle and readout).
// Sends:  nothing.
// Keeps:  nothing.
#include <cstdio>
#include <iterator>

#include "engine/engine_state.h"
#include "module/gauge_unit.h"
#include "module/whole_number_text.h"

constexpr uint32_t kVarTurbineTemp = 0x277;
constexpr int32_t kBitmapFace = 4710;
constexpr int32_t kBitmapNeedle = 4711;
constexpr int32_t kBitmapBezel = 4712;
constexpr PIXPOINT kNeedlePivot = {20, 6};  // needle picture 120 x 12, pointing right from its pivot
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL readout(StringElement*);

// 0, 200, 700, 1200 and 1250 degrees Celsius.
static const NONLINEARITY dial_table[] = {
    {{77, 207}, 491.67}, {{59, 186}, 851.67}, {{152, 62}, 1751.67}, {{237, 186}, 2651.67}, {{237, 186}, 2741.67},
};

static StringElement readout_string = {
    .header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {104, 225}, .image_flags = kDrawFlags},
    .source_var = {{.id = kVarTurbineTemp}},
    .box = {98, 34}, .char_count = 4, .fg_color = kDigitRed, .bg_color = kDigitBackground,
    .hilite_color = kDigitHighlight, .font_name = "Quartz", .font_weight = 400, .char_set = 1,
    .draw_text_flags = kTextCentredSingleLine, .update_cb = readout,
};
static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = {151, 153},
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = kVarTurbineTemp},
    .nonlinearity_table = dial_table, .nonlinearity_table_size = std::size(dial_table),
};
static StaticImageElement bezel = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapBezel, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&readout_string.header, &needle.header, &bezel.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(InterStage_Turbine_Temp, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL readout(StringElement* e) {
    double celsius = rankine_to_celsius(e->source_var[0].var_value.n);
    whole_number_text(e->string, string_capacity(e), celsius, 4, false);
    return celsius;
}
