// Propeller_RPM — propeller speed dial.
// Reads:  0x2BD propeller speed (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4730;
constexpr int32_t kBitmapNeedle = 4731;
// Needle picture 120 x 12, pointing right from its pivot.
constexpr PIXPOINT kNeedlePivot = {20, 6};
constexpr int32_t kBitmapBezel = 4732;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

// The first and last rows bound the needle's travel.
static const NONLINEARITY dial_table[] = {
    {{61, 183}, -1},
    {{61, 183}, 0},
    {{133, 54}, 0.75},
    {{241, 149}, 1.0},
    {{222, 207}, 1.1},
    {{222, 207}, 1.2},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = {151, 151},
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = 0x2BD},
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

DEFINE_GAUGE(Propeller_RPM, root_list, mouse_areas, nullptr);
