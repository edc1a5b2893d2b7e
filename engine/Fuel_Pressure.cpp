// Fuel_Pressure — background only until its behaviour is built.
#include "module/gauge_unit.h"

// ----------------------------------------------------------------------------------------------
// Records

static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 0, .image_flags = 0},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Fuel_Pressure, root_list, mouse_areas, nullptr);
