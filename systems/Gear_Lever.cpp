// Gear_Lever — landing gear handle.
// Reads:  0x14B gear handle (0 up, 16384 down).
// Sends:  0x1021F gear up (upper area), 0x10220 gear down (lower area), through the areas' events.
// Keeps:  nothing.
#include "systems/systems_records.h"

constexpr uint32_t kVarGearHandle = 0x14B;
constexpr double kHandleDown = 16000.0;

static double GAUGE_CALL lever_picture(IconElement*);

// ----------------------------------------------------------------------------------------------
// Records

static IconElement lever_icon = icon_image(2070, {0, 0}, 2, kVarGearHandle, &lever_picture);
static ELEMENT_HEADER* children[] = {&lever_icon.header, nullptr};
static StaticImageElement background = background_image(2060, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB30, {
    event_area({0, 0, 40, 79}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, 0x1021F),
    event_area({0, 79, 40, 79}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, 0x10220),
});

DEFINE_GAUGE(Gear_Lever, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callback: lever up (0) until the handle is nearly down, then down (1).

static double GAUGE_CALL lever_picture(IconElement* e) { return e->source_var.var_value.n < kHandleDown ? 0 : 1; }
