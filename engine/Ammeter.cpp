// Ammeter — electrical load dial.
// Reads:  0x2EF electrical load, amperes (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4770;
constexpr int32_t kBitmapNeedle = 4771;
// Needle picture 80 x 10, pointing right from its pivot.
constexpr PIXPOINT kNeedlePivot = {15, 5};
constexpr int32_t kBitmapBezel = 4772;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

// The first and last rows bound the needle's travel.
static const NONLINEARITY dial_table[] = {
    {{53, 88}, -300},
    {{53, 88}, -200},
    {{100, 72}, 0},
    {{148, 88}, 200},
    {{145, 88}, 300},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = {99, 142},
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = 0x2EF},
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

DEFINE_GAUGE(Ammeter, root_list, mouse_areas, nullptr);
