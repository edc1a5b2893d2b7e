// Fuel_Pressure — fuel pressure dial.
// Reads:  0x383 fuel pressure, pounds per square foot, 25 and 50 psi marked (the needle's
//         source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4750;
constexpr int32_t kBitmapNeedle = 4751;
// Needle picture 120 x 12, pointing right from its pivot.
constexpr PIXPOINT kNeedlePivot = {20, 6};
constexpr int32_t kBitmapBezel = 4752;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

// The first and last rows bound the needle's travel.
static const NONLINEARITY dial_table[] = {
    {{67, 121}, -1},
    {{67, 121}, 0},
    {{147, 90}, 3600},
    {{217, 122}, 7200},
    {{217, 122}, 7200},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = {149, 212},
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = 0x383},
    .nonlinearity_table = dial_table, .nonlinearity_table_size = std::size(dial_table),
};
static StaticImageElement bezel = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapBezel, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&needle.header, &bezel.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Fuel_Pressure, root_list, mouse_areas, nullptr);
