// Gas_Generator_RPM — gas generator speed dial.
// Reads:  0x272 gas generator speed, percent (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4720;
constexpr int32_t kBitmapNeedle = 4721;
// Needle picture 120 x 12, pointing right from its pivot.
constexpr PIXPOINT kNeedlePivot = {20, 6};
constexpr int32_t kBitmapBezel = 4722;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

// The first and last rows bound the needle's travel.
static const NONLINEARITY dial_table[] = {
    {{60, 166}, -1},
    {{60, 166}, 0},
    {{78, 85}, 40},
    {{150, 54}, 80},
    {{216, 77}, 90},
    {{242, 142}, 100},
    {{220, 209}, 110},
    {{202, 228}, 120},
    {{202, 228}, 150},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = {152, 145},
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = 0x272},
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

DEFINE_GAUGE(Gas_Generator_RPM, root_list, mouse_areas, nullptr);
