// Master_Lights — master warning and master caution lights; a click acknowledges a light.
// Reads:  nothing yet (the warning panel's flags and the simulator's clock will drive the flashing).
// Sends:  nothing.
// Keeps:  master_warning_ack, master_caution_ack (false at load). No sound. The lights are not
//         drawn while the simulator reports system 20 failed.
#include "systems/systems_records.h"

static bool master_warning_ack = false;
static bool master_caution_ack = false;

static double GAUGE_CALL warning_light(IconElement*);
static double GAUGE_CALL caution_light(IconElement*);
static int32_t GAUGE_CALL warning_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL caution_click(MOUSE_POINT*, uint32_t);

// ----------------------------------------------------------------------------------------------
// Records

static const FAILURE_RECORD light_failures[] = {{20, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static IconElement warning = icon_image(3170, {0, 0}, 1, 0, &warning_light, kDrawLamp, light_failures);
static IconElement caution = icon_image(3180, {80, 0}, 1, 0, &caution_light, kDrawLamp, light_failures);
static ELEMENT_HEADER* children[] = {&warning.header, &caution.header, nullptr};
static StaticImageElement background = background_image(3160, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    click_area({0, 0, 80, 60}, CURSOR_HAND, MOUSE_LEFTSINGLE, &warning_click),
    click_area({80, 0, 80, 60}, CURSOR_HAND, MOUSE_LEFTSINGLE, &caution_click),
});

DEFINE_GAUGE(Master_Lights, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks: dark until the warning panel reports.

static double GAUGE_CALL warning_light(IconElement*) { return kIconHidden; }
static double GAUGE_CALL caution_light(IconElement*) { return kIconHidden; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL warning_click(MOUSE_POINT*, uint32_t) {
    master_warning_ack = !master_warning_ack;
    return 0;
}

static int32_t GAUGE_CALL caution_click(MOUSE_POINT*, uint32_t) {
    master_caution_ack = !master_caution_ack;
    return 0;
}
