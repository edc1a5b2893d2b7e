// Avionics_Panel_Switches — autopilot power switch, avionics master, panel lighting and two small
// switches.
// Reads:  0x2E4 avionics master (0 off), 0x0A panel lighting; the simulator's autopilot modes
//         0x67, 0x72, 0x318, 0x6A, 0x69, 0x6C, 0x71, 0x70, 0x73, 0x6E (above 0 on).
// Sends:  0x102F5 avionics master toggle, 0x100D6 panel lighting toggle; from the autopilot power
//         switch, the avionics master (when off) and the off event of every engaged mode.
// Keeps:  ap_power_switch_on, avionics_upper_switch_on, avionics_lower_switch_on (off at load);
//         AutopilotState's power and mode flags (power cleared at every install);
//         click sound, WAVE 10.
#include "autopilot/autopilot_state.h"
#include "systems/systems_records.h"

constexpr uint32_t kVarAvionicsMaster = 0x2E4;
constexpr uint32_t kVarPanelLights = 0x0A;
constexpr uint32_t kEventAvionicsMaster = 0x102F5;
constexpr uint32_t kEventPanelLights = 0x100D6;
constexpr int32_t kPowerUpTestCycles = 50;  // updates of the Autopilot gauge

// What the power switch disengages, in the order it does: each mode reading above 0 gets its off
// event, and the module's own flags of that mode are cleared.
struct ModeOff {
    uint32_t var;
    uint32_t off_event;
    int32_t AutopilotState::*flags[3];  // null where fewer
};
constexpr ModeOff kModesOff[] = {
    {0x67, 0x100FF, {}},                                   // autopilot
    {0x72, 0x10216, {}},                                   // yaw damper
    {0x318, 0x102F0, {}},                                  // flight director (toggle)
    {0x6A, 0x10117, {&AutopilotState::ap_hdg_mode}},       // heading hold
    {0x69, 0x1011B, {&AutopilotState::ap_nav_mode}},       // NAV hold
    // altitude hold, with the module's three vertical modes
    {0x6C, 0x10118, {&AutopilotState::ap_alt_hold, &AutopilotState::ap_alt_armed, &AutopilotState::ap_vs_mode}},
    {0x71, 0x1011A, {&AutopilotState::ap_bc_mode}},        // back-course hold
    {0x70, 0x10116, {&AutopilotState::ap_apr_mode}},       // approach hold
    {0x73, 0x1022E, {&AutopilotState::ap_ias_mode}},       // airspeed hold
    {0x6E, 0x10114, {}},                                   // attitude hold
};

static bool ap_power_switch_on = false;
static bool avionics_upper_switch_on = false;
static bool avionics_lower_switch_on = false;
static ClickSound sound;

static double GAUGE_CALL ap_power_picture(IconElement*);
static double GAUGE_CALL avionics_off_picture(IconElement*);
static double GAUGE_CALL upper_switch_picture(IconElement*);
static double GAUGE_CALL lower_switch_picture(IconElement*);
static int32_t GAUGE_CALL ap_power_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL avionics_master_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL panel_lights_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL upper_switch_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL lower_switch_click(MOUSE_POINT*, uint32_t);
static void GAUGE_CALL avionics_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

// ----------------------------------------------------------------------------------------------
// Records: background, autopilot power switch, avionics-off picture, the two panel lighting
// switches (shown by the host from 0x0A), the two small switches.

static IconElement ap_power = icon_image(3440, {36, 26}, 2, 0, &ap_power_picture);
static IconElement avionics_off = icon_image(3430, {78, 36}, 1, kVarAvionicsMaster, &avionics_off_picture);
static IconElement panel_lights_left = icon_image(3420, {104, 21}, 2, kVarPanelLights, nullptr);
static IconElement panel_lights_right = icon_image(3420, {136, 21}, 2, kVarPanelLights, nullptr);
static IconElement upper_switch = icon_image(3450, {170, 10}, 2, 0, &upper_switch_picture);
static IconElement lower_switch = icon_image(3450, {170, 34}, 2, 0, &lower_switch_picture);
static ELEMENT_HEADER* children[] = {&ap_power.header, &avionics_off.header, &panel_lights_left.header,
                                     &panel_lights_right.header, &upper_switch.header, &lower_switch.header,
                                     nullptr};
static StaticImageElement background = background_image(3410, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    click_area({36, 26, 22, 28}, CURSOR_HAND, MOUSE_LEFTSINGLE, &ap_power_click),
    click_area({72, 36, 22, 22}, CURSOR_HAND, MOUSE_LEFTSINGLE, &avionics_master_click),
    click_area({104, 21, 24, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, &panel_lights_click),
    click_area({136, 21, 24, 24}, CURSOR_HAND, MOUSE_LEFTSINGLE, &panel_lights_click),
    click_area({170, 10, 15, 21}, CURSOR_HAND, MOUSE_LEFTSINGLE, &upper_switch_click),
    click_area({170, 34, 15, 21}, CURSOR_HAND, MOUSE_LEFTSINGLE, &lower_switch_click),
});

DEFINE_GAUGE(Avionics_Panel_Switches, root_list, mouse_areas.rects, &avionics_gauge);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL ap_power_picture(IconElement*) { return ap_power_switch_on ? 1 : 0; }
static double GAUGE_CALL avionics_off_picture(IconElement* e) {
    return e->source_var.var_value.n <= 0 ? kIconShown : kIconHidden;
}
static double GAUGE_CALL upper_switch_picture(IconElement*) { return avionics_upper_switch_on ? 1 : 0; }
static double GAUGE_CALL lower_switch_picture(IconElement*) { return avionics_lower_switch_on ? 1 : 0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

// The autopilot loses its power, then starts its power-up test if switched on; either way the
// simulator's engaged modes are disengaged (the autopilot is unpowered until the test ends).
static int32_t GAUGE_CALL ap_power_click(MOUSE_POINT*, uint32_t) {
    AutopilotState& ap = autopilot_state;
    click_sound_play(sound);
    ap_power_switch_on = !ap_power_switch_on;
    ap.ap_powered = 0;
    ap.ap_power_test = ap_power_switch_on ? 1 : 0;
    ap.ap_power_test_count = ap_power_switch_on ? kPowerUpTestCycles : 0;
    if (ap_power_switch_on && token_value(kVarAvionicsMaster) == 0.0) trigger_key_event(kEventAvionicsMaster, 0);
    for (const ModeOff& m : kModesOff) {
        if (!(token_value(m.var) > 0.0)) continue;
        trigger_key_event(m.off_event, 0);
        for (int32_t AutopilotState::*flag : m.flags)
            if (flag) ap.*flag = 0;
    }
    return 0;
}

static int32_t GAUGE_CALL avionics_master_click(MOUSE_POINT*, uint32_t) {
    trigger_key_event(kEventAvionicsMaster, 0);
    click_sound_play(sound);
    return 0;
}

static int32_t GAUGE_CALL panel_lights_click(MOUSE_POINT*, uint32_t) {
    trigger_key_event(kEventPanelLights, 0);
    click_sound_play(sound);
    return 0;
}

static int32_t GAUGE_CALL upper_switch_click(MOUSE_POINT*, uint32_t) {
    avionics_upper_switch_on = !avionics_upper_switch_on;
    click_sound_play(sound);
    return 0;
}

static int32_t GAUGE_CALL lower_switch_click(MOUSE_POINT*, uint32_t) {
    avionics_lower_switch_on = !avionics_lower_switch_on;
    click_sound_play(sound);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

// Every install leaves the autopilot unpowered, whatever the switch shows: it powers up again only
// when the switch is turned off and on.
static void GAUGE_CALL avionics_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) {
        autopilot_state.ap_powered = 0;
        autopilot_state.ap_power_test = 0;
        autopilot_state.ap_power_test_count = 0;
    }
    click_sound_service(sound, service, extra, kWaveToggleClick);
}
