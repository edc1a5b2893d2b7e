// Suction_Indicator — vacuum suction dial.
// Reads:  0x161 suction, inches of mercury (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4790;
constexpr int32_t kBitmapNeedle = 4791;
// Needle picture 80 x 10, pointing right from its pivot.
constexpr PIXPOINT kNeedlePivot = {15, 5};
constexpr int32_t kBitmapBezel = 4792;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

// The first and last rows bound the needle's travel.
static const NONLINEARITY dial_table[] = {
    {{33, 101}, 0},
    {{74, 40}, 3},
    {{141, 97}, 5},
    {{76, 155}, 7},
    {{76, 155}, 8},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = {82, 99},
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = 0x161},
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

DEFINE_GAUGE(Suction_Indicator, root_list, mouse_areas, nullptr);
