// Magnetic_Compass — standby compass: a card strip moved sideways by the compass heading.
// Reads:  0x53 magnetic compass heading, degrees (the strip's source).
// Sends:  nothing.
// Keeps:  nothing.
#include "module/gauge_unit.h"

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD strip_failures[] = {{12, FAIL_ACTION_NONE, 0}, FAILURE_END};

// Moved horizontally over 360 (minimum) to 0 (maximum); its vertical range 360..360 moves nothing.
static MovingImageElement card_strip = {
    .header = {.element_type = ELEMENT_MOVING_IMAGE, .resource_id = 2260, .position = {39, 97},
               .failure_systems = strip_failures, .image_flags = kImageUseTransparency | kImageUseErase},
    .source_var_x = {.id = 0x53}, .min_x = 360.0, .max_x = 0.0,
    .min_y = 360.0, .max_y = 360.0,
};
static ELEMENT_HEADER* compass_elements[] = {&card_strip.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 2250, .elements = compass_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 150, 194}, .cursor = CURSOR_NONE, .help_id = 0xAB77},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x31B8},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Magnetic_Compass, root_list, mouse_areas, nullptr);
