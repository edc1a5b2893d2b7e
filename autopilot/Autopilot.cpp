// Autopilot — push-button autopilot mode controller with its button lamps and the pitch wheel.
// Reads:  0x67 AP, 0x69 NAV, 0x6A HDG, 0x6C ALT hold, 0x6D altitude target, 0x6E attitude hold,
//         0x70 APR, 0x71 BC, 0x72 YD, 0x73 IAS, 0x78 vertical-speed target, 0x318 FD,
//         0x4A indicated altitude, 0x4E pitch.
// Sends:  the simulator's autopilot mode events in the module's order (see the handlers).
// Keeps:  AutopilotState (vertical modes, lateral mode mirrors, power-up and lamp tests);
//         click sound, WAVE 30.
#include <algorithm>

#include "autopilot/autopilot_state.h"
#include "module/click_sound.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarApEngaged = 0x67;
constexpr uint32_t kVarNavHold = 0x69;
constexpr uint32_t kVarHeadingHold = 0x6A;
constexpr uint32_t kVarAltHold = 0x6C;
constexpr uint32_t kVarAltTarget = 0x6D;
constexpr uint32_t kVarAttitudeHold = 0x6E;
constexpr uint32_t kVarApproachHold = 0x70;
constexpr uint32_t kVarBackCourseHold = 0x71;
constexpr uint32_t kVarYawDamper = 0x72;
constexpr uint32_t kVarAirspeedHold = 0x73;
constexpr uint32_t kVarVsTarget = 0x78;
constexpr uint32_t kVarFlightDirector = 0x318;
constexpr uint32_t kVarAltitude = 0x4A;
constexpr uint32_t kVarPitch = 0x4E;

constexpr uint32_t kEventApMaster = 0x1002C;
constexpr uint32_t kEventYawDamperToggle = 0x10101;
constexpr uint32_t kEventYawDamperOn = 0x10215;
constexpr uint32_t kEventAttitudeHoldOn = 0x1010C;
constexpr uint32_t kEventAttitudeHoldOff = 0x10114;
constexpr uint32_t kEventWingLevelerOff = 0x10119;
constexpr uint32_t kEventAltHoldOn = 0x10237;
constexpr uint32_t kEventAltHoldOff = 0x10238;
constexpr uint32_t kEventSetAltTarget = 0x1024C;
constexpr uint32_t kEventSetVsTarget = 0x101F4;
constexpr uint32_t kEventFlightDirectorToggle = 0x102F0;
constexpr uint32_t kEventPitchUp = 0x10417;
constexpr uint32_t kEventPitchDown = 0x10418;

constexpr int32_t kLampTestCycles = 36;
constexpr double kAltStep = 500.0;
constexpr double kAltStepDownFrom = 800.0;  // DN lowers the armed target only from here
constexpr double kVsStep = 100.0;
constexpr double kVsLimit = 3000.0;         // ft/min either way
constexpr double kPitchUpLimit = -15.0;     // nose-up negative
constexpr double kPitchDownLimit = 10.0;

constexpr int32_t kBitmapFace = 4900;
constexpr int32_t kBitmapFirstButton = 4901;  // two pictures per button, in the order below
constexpr int32_t kBitmapLamp = 4925;         // every button lamp
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;
constexpr uint32_t kHelpAutopilot = 0xAB01;  // the host's help text for the panel

static ClickSound sound;
static AutopilotState& ap = autopilot_state;

// ----------------------------------------------------------------------------------------------
// Records: per button its two-picture icon at the box origin, then its lamp above it

static double GAUGE_CALL token_icon(IconElement*);
static double GAUGE_CALL alt_icon(IconElement*);
static double GAUGE_CALL unlit_icon(IconElement*);
static double GAUGE_CALL test_icon(IconElement*);
static double GAUGE_CALL mode_lamp(IconElement*);
static double GAUGE_CALL alt_lamp(IconElement*);
static double GAUGE_CALL test_only_lamp(IconElement*);
static double GAUGE_CALL test_lamp(IconElement*);

enum Button { kHdg, kNav, kApr, kBc, kYd, kAp, kAlt, kIas, kFd, kSoftRide, kHalfBank, kTest, kButtons };

#define ICON(n, x, y, var, cb)                                                                              \
    {.header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapFirstButton + 2 * (n), .position = {x, y}, \
                .image_flags = kDrawFlags},                                                                 \
     .source_var = {.id = var}, .scale = 1.0, .num_icons = 2, .update_cb = cb}
#define LAMP(x, y, var, cb)                                                                                 \
    {.header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapLamp, .position = {x, y},                \
                .image_flags = kDrawFlags},                                                                 \
     .source_var = {.id = var}, .scale = 1.0, .num_icons = 1, .update_cb = cb}
static IconElement icons[kButtons] = {
    ICON(kHdg, 60, 22, kVarHeadingHold, token_icon),     ICON(kNav, 108, 22, kVarNavHold, token_icon),
    ICON(kApr, 156, 22, kVarApproachHold, token_icon),   ICON(kBc, 204, 22, kVarBackCourseHold, token_icon),
    ICON(kYd, 252, 22, kVarYawDamper, token_icon),       ICON(kAp, 300, 22, kVarApEngaged, token_icon),
    ICON(kAlt, 60, 84, 0, alt_icon),                     ICON(kIas, 108, 84, kVarAirspeedHold, token_icon),
    ICON(kFd, 156, 84, kVarFlightDirector, token_icon),  ICON(kSoftRide, 204, 84, 0, unlit_icon),
    ICON(kHalfBank, 252, 84, 0, unlit_icon),             ICON(kTest, 300, 84, 0, test_icon),
};
static IconElement lamps[kButtons] = {
    LAMP(68, 3, kVarHeadingHold, mode_lamp),     LAMP(115, 3, kVarNavHold, mode_lamp),
    LAMP(165, 3, kVarApproachHold, mode_lamp),   LAMP(211, 3, kVarBackCourseHold, mode_lamp),
    LAMP(258, 3, kVarYawDamper, mode_lamp),      LAMP(304, 3, kVarApEngaged, mode_lamp),
    LAMP(69, 65, kVarAltHold, alt_lamp),         LAMP(114, 65, kVarAirspeedHold, mode_lamp),
    LAMP(163, 65, kVarFlightDirector, mode_lamp), LAMP(212, 65, 0, test_only_lamp),
    LAMP(258, 65, 0, test_only_lamp),            LAMP(306, 65, 0, test_lamp),
};
#undef ICON
#undef LAMP

static ELEMENT_HEADER* panel_elements[] = {
    &icons[kHdg].header,      &lamps[kHdg].header,      &icons[kNav].header,  &lamps[kNav].header,
    &icons[kApr].header,      &lamps[kApr].header,      &icons[kBc].header,   &lamps[kBc].header,
    &icons[kYd].header,       &lamps[kYd].header,       &icons[kAp].header,   &lamps[kAp].header,
    &icons[kAlt].header,      &lamps[kAlt].header,      &icons[kIas].header,  &lamps[kIas].header,
    &icons[kFd].header,       &lamps[kFd].header,       &icons[kSoftRide].header, &lamps[kSoftRide].header,
    &icons[kHalfBank].header, &lamps[kHalfBank].header, &icons[kTest].header, &lamps[kTest].header,
    nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = panel_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL press_hdg(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_nav(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_apr(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_bc(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_yd(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_ap(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_alt(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_fd(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_test(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL wheel_down(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL wheel_up(MOUSE_POINT*, uint32_t);

#define BUTTON(x, y, fn)                                                                                  \
    {.kind = MOUSE_CHILD, .box = {x, y, 39, 30}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,    \
     .handler = fn}
static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = kHelpAutopilot},
    BUTTON(60, 22, press_hdg),
    BUTTON(108, 22, press_nav),
    BUTTON(156, 22, press_apr),
    BUTTON(204, 22, press_bc),
    BUTTON(252, 22, press_yd),
    BUTTON(300, 22, press_ap),
    BUTTON(60, 84, press_alt),
    BUTTON(156, 84, press_fd),
    BUTTON(300, 84, press_test),
    {.kind = MOUSE_CHILD, .box = {9, 20, 41, 46}, .cursor = CURSOR_DOWNARROW,
     .mouse_flags = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, .handler = wheel_down},
    {.kind = MOUSE_CHILD, .box = {9, 67, 41, 46}, .cursor = CURSOR_UPARROW,
     .mouse_flags = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, .handler = wheel_up},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};
#undef BUTTON

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra);
DEFINE_GAUGE(Autopilot, root_list, mouse_areas, gauge_callback);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL token_icon(IconElement* e) { return e->source_var.var_value.n; }
static double GAUGE_CALL alt_icon(IconElement*) { return ap.ap_alt_hold ? 1.0 : 0.0; }
static double GAUGE_CALL unlit_icon(IconElement*) { return 0.0; }

// The lateral lamps and IAS keep the module's mirror of their mode equal to the simulator's.
static int32_t* mode_mirror(int button) {
    switch (button) {
    case kHdg: return &ap.ap_hdg_mode;
    case kNav: return &ap.ap_nav_mode;
    case kApr: return &ap.ap_apr_mode;
    case kBc: return &ap.ap_bc_mode;
    case kIas: return &ap.ap_ias_mode;
    default: return nullptr;
    }
}

static double GAUGE_CALL mode_lamp(IconElement* e) {
    if (ap.ap_test_active) return kLampLit;
    if (!ap.ap_powered) return kLampDark;
    double token = e->source_var.var_value.n;
    if (int32_t* mirror = mode_mirror(int(e - lamps))) *mirror = token != 0.0;
    return token - 1.0;
}

static double GAUGE_CALL alt_lamp(IconElement* e) {
    if (e->source_var.var_value.n == 0.0) ap.ap_alt_hold = 0;
    return lamp(ap.ap_test_active || (ap.ap_alt_hold && ap.ap_powered));
}

static double GAUGE_CALL test_only_lamp(IconElement*) { return lamp(ap.ap_test_active); }

// The power-up test counts this gauge's updates; at its end the autopilot is powered. The lamp
// test, counted down by the TEST icon, ends here, after the gauge's last lamp, so that every lamp
// is lit for the same 36 updates.
static double GAUGE_CALL test_lamp(IconElement*) {
    if (ap.ap_power_test_count > 0) --ap.ap_power_test_count;
    if (ap.ap_power_test_count == 0) {
        if (ap.ap_power_test) ap.ap_powered = 1;
        ap.ap_power_test = 0;
    }
    double shown = lamp(ap.ap_power_test || ap.ap_test_active);
    if (ap.ap_test_count == 0) ap.ap_test_active = 0;
    return shown;
}

static double GAUGE_CALL test_icon(IconElement*) {
    if (ap.ap_test_count > 0) --ap.ap_test_count;
    return ap.ap_test_active ? 1.0 : 0.0;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static void send(uint32_t event, double value = 0.0) { trigger_key_event(event, event_param(value)); }

static void fallback() {
    if (no_mode_active()) send(kEventAttitudeHoldOn);
}

struct LateralMode {
    uint32_t var;
    uint32_t on_event;
    uint32_t off_event;
    int32_t* flag;  // set here, or null
};

static int32_t lateral_button(const LateralMode& m) {
    if (!ap.ap_powered) return 0;
    click_sound_play(sound);
    if (token_value(m.var) == 0.0) {
        send(kEventAttitudeHoldOff);
        send(m.on_event);
        if (m.flag) *m.flag = 1;
    } else {
        send(m.off_event);
        if (m.flag) *m.flag = 0;
    }
    fallback();
    return 0;
}

static int32_t GAUGE_CALL press_hdg(MOUSE_POINT*, uint32_t) {
    return lateral_button({kVarHeadingHold, 0x1023A, 0x1023B, &ap.ap_hdg_mode});
}
static int32_t GAUGE_CALL press_nav(MOUSE_POINT*, uint32_t) {
    return lateral_button({kVarNavHold, 0x10113, 0x1011B, nullptr});
}
static int32_t GAUGE_CALL press_apr(MOUSE_POINT*, uint32_t) {
    return lateral_button({kVarApproachHold, 0x1010E, 0x10116, nullptr});
}
static int32_t GAUGE_CALL press_bc(MOUSE_POINT*, uint32_t) {
    return lateral_button({kVarBackCourseHold, 0x10112, 0x1011A, &ap.ap_bc_mode});
}

static int32_t GAUGE_CALL press_yd(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    click_sound_play(sound);
    send(kEventYawDamperToggle);
    return 0;
}

static int32_t GAUGE_CALL press_ap(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    double yaw_damper = token_value(kVarYawDamper), engaged = token_value(kVarApEngaged);
    if (engaged == 0.0 && yaw_damper == 0.0) {
        send(kEventYawDamperOn);
        send(kEventAttitudeHoldOn);
    }
    if (engaged == 0.0) {
        if (token_value(kVarAltHold) == 0.0) ap.ap_alt_hold = ap.ap_alt_armed = ap.ap_vs_mode = ap.ap_alt_captured = 0;
    } else {
        fallback();
    }
    send(kEventApMaster);
    click_sound_play(sound);
    return 0;
}

static int32_t GAUGE_CALL press_fd(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    click_sound_play(sound);
    send(kEventFlightDirectorToggle);
    if (token_value(kVarAltHold) == 0.0) ap.ap_alt_armed = ap.ap_alt_hold = 0;
    return 0;
}

// Holds the altitude the aircraft is at when pressed.
static int32_t GAUGE_CALL press_alt(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    click_sound_play(sound);
    double altitude = token_value(kVarAltitude);
    if (token_value(kVarAltHold) == 1.0) {
        if (ap.ap_alt_armed || ap.ap_vs_mode) {
            ap.ap_alt_armed = ap.ap_vs_mode = 0;
            ap.ap_alt_hold = 1;
            send(kEventSetAltTarget, altitude);
            ap.ap_alt_captured = 0;
        } else if (ap.ap_alt_hold) {
            ap.ap_alt_hold = 0;
            send(kEventAltHoldOff);
        }
    } else {
        ap.ap_alt_hold = 1;
        send(kEventSetAltTarget, altitude);
        send(kEventAltHoldOn);
        send(kEventAttitudeHoldOff);
        send(kEventWingLevelerOff);
    }
    if (ap.ap_alt_hold) ap.ap_alt_target = token_value(kVarAltTarget);
    fallback();
    return 0;
}

static int32_t GAUGE_CALL press_test(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    ap.ap_test_count = kLampTestCycles;
    ap.ap_test_active = 1;
    click_sound_play(sound);
    return 0;
}

// The pitch wheel acts only with the simulator's autopilot engaged; no click sound. UP takes the
// simulator's target before stepping it; DN steps the module's copy as it stands (0 after load,
// until an UP or ALT takes the simulator's). A vertical-speed target never leaves +-3000 ft/min,
// whatever the simulator reads.
static bool wheel_live() { return ap.ap_powered && token_value(kVarApEngaged) > 0.0; }

static int32_t GAUGE_CALL wheel_up(MOUSE_POINT*, uint32_t) {
    if (!wheel_live()) return 0;
    if (token_value(kVarAttitudeHold) > 0.0 && token_value(kVarPitch) > kPitchUpLimit) send(kEventPitchUp);
    if (!(token_value(kVarAltHold) > 0.0)) return 0;
    if (ap.ap_alt_armed) {
        ap.ap_alt_target = token_value(kVarAltTarget) + kAltStep;
        send(kEventSetAltTarget, ap.ap_alt_target);
    }
    if (ap.ap_vs_mode && !ap.ap_alt_armed && ap.ap_vs_target <= kVsLimit - kVsStep) {
        ap.ap_vs_target = std::clamp(token_value(kVarVsTarget) + kVsStep, -kVsLimit, kVsLimit);
        send(kEventSetVsTarget, ap.ap_vs_target);
    }
    return 0;
}

static int32_t GAUGE_CALL wheel_down(MOUSE_POINT*, uint32_t) {
    if (!wheel_live()) return 0;
    if (token_value(kVarAttitudeHold) > 0.0 && token_value(kVarPitch) < kPitchDownLimit) send(kEventPitchDown);
    if (!(token_value(kVarAltHold) > 0.0)) return 0;
    if (ap.ap_alt_armed && ap.ap_alt_target >= kAltStepDownFrom) {
        ap.ap_alt_target -= kAltStep;
        send(kEventSetAltTarget, ap.ap_alt_target);
    }
    if (ap.ap_vs_mode && !ap.ap_alt_armed && ap.ap_vs_target >= -(kVsLimit - kVsStep)) {
        ap.ap_vs_target -= kVsStep;
        send(kEventSetVsTarget, ap.ap_vs_target);
    }
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) click_sound_open(sound, extra, kWaveButtonClick);
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}
