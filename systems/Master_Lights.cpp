// Master_Lights — master warning and master caution lights; a click acknowledges a light.
// Reads:  master_warning, master_caution (the warning panel's flags); 0x25C simulator time.
// Sends:  nothing.
// Keeps:  master_warning_ack, master_caution_ack (false at load, kept across re-install). No sound.
//         The lights are not drawn while the simulator reports system 20 failed.
#include <cmath>

#include "module/shared_state.h"
#include "systems/systems_records.h"

constexpr uint32_t kVarSimTime = 0x25C;
constexpr double kFlashPeriod = 0.5;        // seconds
constexpr double kWarningLitAfter = 0.25;   // lit for the last quarter second of each period
constexpr double kCautionLitAfter = 0.3;    // lit for the last 0.2 s of each period

static bool master_warning_ack = false;
static bool master_caution_ack = false;

// One light: the warning panel's flag it shows and the pilot's acknowledgement.
struct MasterLight {
    const bool* condition;
    const bool* acknowledged;
    double lit_after;
};
static const MasterLight master_warning_light = {&master_warning, &master_warning_ack, kWarningLitAfter};
static const MasterLight master_caution_light = {&master_caution, &master_caution_ack, kCautionLitAfter};

static double GAUGE_CALL warning_light(IconElement*);
static double GAUGE_CALL caution_light(IconElement*);
static int32_t GAUGE_CALL warning_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL caution_click(MOUSE_POINT*, uint32_t);

// ----------------------------------------------------------------------------------------------
// Records: warning, then caution.

static FAILURE_RECORD light_failures[] = {{20, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static IconElement warning = icon_image(3170, {0, 0}, 1, kVarSimTime, &warning_light, kDrawLamp, light_failures);
static IconElement caution = icon_image(3180, {80, 0}, 1, kVarSimTime, &caution_light, kDrawLamp, light_failures);
static ELEMENT_HEADER* children[] = {&warning.header, &caution.header, nullptr};
static StaticImageElement background = background_image(3160, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    click_area({0, 0, 80, 60}, CURSOR_HAND, MOUSE_LEFTSINGLE, &warning_click),
    click_area({80, 0, 80, 60}, CURSOR_HAND, MOUSE_LEFTSINGLE, &caution_click),
});

DEFINE_GAUGE(Master_Lights, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks: each light flashes with a half-second period while its flag is up and it is
// not acknowledged. An acknowledgement holds its light dark until the pilot clicks again, for
// the condition present and for any that comes later.

static double light(const MasterLight& l, double time) {
    bool lit = *l.condition && !*l.acknowledged && std::fmod(time, kFlashPeriod) > l.lit_after;
    return lit ? kIconShown : kIconHidden;
}

static double GAUGE_CALL warning_light(IconElement* e) { return light(master_warning_light, e->source_var.var_value.n); }
static double GAUGE_CALL caution_light(IconElement* e) { return light(master_caution_light, e->source_var.var_value.n); }

// ----------------------------------------------------------------------------------------------
// Mouse handlers: a click acknowledges its light, a second click takes the acknowledgement back.

static int32_t GAUGE_CALL warning_click(MOUSE_POINT*, uint32_t) {
    master_warning_ack = !master_warning_ack;
    return 0;
}

static int32_t GAUGE_CALL caution_click(MOUSE_POINT*, uint32_t) {
    master_caution_ack = !master_caution_ack;
    return 0;
}
