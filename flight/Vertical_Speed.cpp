// Vertical_Speed — vertical speed indicator, ±7000 ft/min.
// Reads:  0x41 vertical speed, metres per second × 256 (the needle's source).
// Sends:  nothing.
// Keeps:  nothing.
#include <iterator>

#include "module/gauge_unit.h"

constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;
constexpr double kThousandFeetPerMinute = 1300.4799583846413;  // in the token's units

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD needle_failures[] = {{19, FAIL_ACTION_FREEZE, 0}, {3, FAIL_ACTION_ZERO, 0}, FAILURE_END};

// No row at 0: there the needle points straight left, half-way between the ±1000 ft/min rows.
static NONLINEARITY vertical_speed_table[] = {
    {{268, 168}, -7 * kThousandFeetPerMinute}, {{268, 168}, -6 * kThousandFeetPerMinute},
    {{258, 191}, -5 * kThousandFeetPerMinute}, {{238, 222}, -4 * kThousandFeetPerMinute},
    {{196, 253}, -3 * kThousandFeetPerMinute}, {{139, 261}, -2 * kThousandFeetPerMinute},
    {{69, 224}, -1 * kThousandFeetPerMinute},  {{69, 78}, 1 * kThousandFeetPerMinute},
    {{138, 39}, 2 * kThousandFeetPerMinute},   {{196, 48}, 3 * kThousandFeetPerMinute},
    {{235, 82}, 4 * kThousandFeetPerMinute},   {{258, 113}, 5 * kThousandFeetPerMinute},
    {{263, 136}, 6 * kThousandFeetPerMinute},  {{263, 136}, 7 * kThousandFeetPerMinute},
};

static NeedleElement needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 390, .position = {151, 150}, .ofs = {52, 10},
               .failure_systems = needle_failures, .image_flags = kDrawFlags},
    .source_var = {.id = 0x41},
    .nonlinearity_table = vertical_speed_table, .nonlinearity_table_size = std::size(vertical_speed_table),
};
static StaticImageElement overlay = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 400, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&needle.header, &overlay.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 380, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 303, 300}, .cursor = CURSOR_NONE, .help_id = 0xAB76},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3099},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Vertical_Speed, root_list, mouse_areas, nullptr);
