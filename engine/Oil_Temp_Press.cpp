// Oil_Temp_Press — oil temperature (left) and oil pressure (right) needles on one dial.
// Reads:  0x231 oil temperature (degrees Rankine), 0x232 oil pressure (pounds per square foot).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4740;
constexpr int32_t kBitmapNeedle = 4741;  // both needles
constexpr int32_t kBitmapBezel = 4742;
constexpr PIXPOINT kNeedlePivot = {20, 6};  // needle picture 120 x 12, pointing right from its pivot
constexpr PIXPOINT kPivot = {152, 147};
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

// -50, -40, 40, 160 and 200 degrees Celsius.
static const NONLINEARITY temperature_table[] = {
    {{96, 212}, 401.67}, {{96, 212}, 419.67}, {{68, 160}, 563.67}, {{96, 84}, 779.67}, {{96, 84}, 851.67},
};
// Descending: 200 psi at the top, 0 at the bottom.
static const NONLINEARITY pressure_table[] = {
    {{209, 82}, 36000}, {{209, 82}, 28800}, {{209, 221}, 0}, {{209, 221}, -144},
};

static NeedleElement temperature_needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = kPivot, .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = 0x231},
    .nonlinearity_table = temperature_table, .nonlinearity_table_size = std::size(temperature_table),
};
static NeedleElement pressure_needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = kPivot, .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = 0x232},
    .nonlinearity_table = pressure_table, .nonlinearity_table_size = std::size(pressure_table),
};
static StaticImageElement bezel = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapBezel, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&temperature_needle.header, &pressure_needle.header, &bezel.header,
                                          nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

// The temperature half is a region of its own, with no action.
static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 149, 300}, .cursor = CURSOR_NONE},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Oil_Temp_Press, root_list, mouse_areas, nullptr);
