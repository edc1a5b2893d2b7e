// Airspeed — indicated airspeed.
// Reads:  0x3D indicated airspeed, knots (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD needle_failures[] = {{6, FAIL_ACTION_FREEZE, 0}, {3, FAIL_ACTION_ZERO, 0}, FAILURE_END};

static NONLINEARITY airspeed_table[] = {
    {{155, 264}, -1},  {{155, 264}, 0},   {{130, 256}, 40},  {{93, 241}, 60},   {{76, 224}, 70},
    {{61, 200}, 80},   {{50, 143}, 100},  {{57, 110}, 110},  {{75, 88}, 120},   {{120, 54}, 140},
    {{221, 77}, 180},  {{244, 105}, 200}, {{251, 173}, 250}, {{214, 234}, 300}, {{191, 251}, 320},
    {{161, 251}, 400},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 420, .position = {155, 152}, .ofs = {53, 8},
               .failure_systems = needle_failures, .image_flags = kDrawFlags},
    .source_var = {.id = 0x3D},
    .nonlinearity_table = airspeed_table, .nonlinearity_table_size = std::size(airspeed_table),
};
static StaticImageElement overlay = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 430, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&needle.header, &overlay.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 410, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 300, 300}, .cursor = CURSOR_NONE, .help_id = 0xAB02},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3002},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Airspeed, root_list, mouse_areas, nullptr);
