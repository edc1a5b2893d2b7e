// AP_Altitude_Selector — altitude preselector and alerter: shows and edits the autopilot's
// altitude or vertical-speed target, engages vertical-speed mode (ENG), arms altitude preselect
// (ARM), and lights VS, ALERT, ARM and CAPT.
// Reads:  0x6C altitude hold, 0x6D altitude target, 0x78 vertical-speed target, 0x4A altitude,
//         0x41 vertical speed (m/s × 256), 0x0A panel lights; AutopilotState.
// Sends:  0x10237 / 0x10238 altitude hold on / off, 0x1024C altitude target, 0x101F4 vertical-speed
//         target, 0x1010C / 0x10114 attitude hold on / off, 0x10119 wing leveler off.
// Keeps:  sel_altitude, sel_vertical_speed, sel_entry_mode; AutopilotState's vertical modes;
//         click sound, WAVE 30.
#include <cmath>
#include <cstdio>

#include "autopilot/autopilot_state.h"
#include "module/click_sound.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarPanelLights = 0x0A;
constexpr uint32_t kVarAltHold = 0x6C;
constexpr uint32_t kVarAltTarget = 0x6D;
constexpr uint32_t kVarVsTarget = 0x78;
constexpr uint32_t kVarAltitude = 0x4A;
constexpr uint32_t kVarVerticalSpeed = 0x41;

constexpr uint32_t kEventAltHoldOn = 0x10237;
constexpr uint32_t kEventAltHoldOff = 0x10238;
constexpr uint32_t kEventSetAltTarget = 0x1024C;
constexpr uint32_t kEventSetVsTarget = 0x101F4;
constexpr uint32_t kEventAttitudeHoldOn = 0x1010C;
constexpr uint32_t kEventAttitudeHoldOff = 0x10114;
constexpr uint32_t kEventWingLevelerOff = 0x10119;

constexpr int32_t kEntryAltitude = 0, kEntryVerticalSpeed = 1;
constexpr double kFeetPerMetre = 3.28084;
constexpr double kTokenVsScale = 256.0;  // the vertical speed token is m/s × 256
constexpr double kSecondsPerMinute = 60.0;
constexpr double kVsRounding = 100.0;
constexpr double kCaptureWindow = 10.0;                   // feet from the target
constexpr double kAlertFarMin = 300.0, kAlertFarMax = 1000.0;  // approaching the target
constexpr double kAlertNearMin = 50.0, kAlertNearMax = 100.0;  // deviating after capture

constexpr int32_t kBitmapFace = 4950;
constexpr int32_t kBitmapBacklight = 4951;
constexpr int32_t kBitmapVsLamp = 4952;
constexpr int32_t kBitmapUnits = 4953;  // FT, FT/MIN: 4953, 4954
constexpr int32_t kBitmapAlertLamp = 4955;
constexpr int32_t kBitmapArmLamp = 4956;
constexpr int32_t kBitmapCaptLamp = 4957;
constexpr int32_t kBitmapUpArrow = 4958;
constexpr int32_t kBitmapDownArrow = 4959;
constexpr uint32_t kDisplayOrange = 0x0060D0;  // red 208, green 96, blue 0
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

static double sel_altitude = 0.0;        // feet, shown and sent as the altitude target
static double sel_vertical_speed = 0.0;  // ft/min, shown and sent as the vertical-speed target
static int32_t sel_entry_mode = kEntryAltitude;

static ClickSound sound;
static AutopilotState& ap = autopilot_state;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL backlight(IconElement*);
static double GAUGE_CALL display(StringElement*);
static double GAUGE_CALL vs_lamp(IconElement*);
static double GAUGE_CALL units(IconElement*);
static double GAUGE_CALL alert_lamp(IconElement*);
static double GAUGE_CALL arm_lamp(IconElement*);
static double GAUGE_CALL capt_lamp(IconElement*);
static double GAUGE_CALL up_arrow(IconElement*);
static double GAUGE_CALL down_arrow(IconElement*);

#define LAMP(bitmap, x, y, count, var, cb)                                                             \
    {.header = {.element_type = ELEMENT_ICON, .resource_id = bitmap, .position = {x, y},                \
                .image_flags = kDrawFlags},                                                            \
     .source_var = {.id = var}, .scale = 1.0, .num_icons = count, .update_cb = cb}
static IconElement backlight_icon = LAMP(kBitmapBacklight, 8, 27, 1, kVarPanelLights, backlight);
static StringElement display_string = {
    .header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {54, 40}, .image_flags = kDrawFlags},
    .box = {80, 21}, .fg_color = kDisplayOrange, .bg_color = 0x000000, .hilite_color = 0x00FFFF, .font_name = "Quartz",
    .font_weight = 400, .char_set = 1, .draw_text_flags = 0x25, .char_count = 5, .update_cb = display,
};
static IconElement vs_lamp_icon = LAMP(kBitmapVsLamp, 42, 26, 1, 0, vs_lamp);
static IconElement units_icon = LAMP(kBitmapUnits, 100, 63, 2, 0, units);
static IconElement alert_lamp_icon = LAMP(kBitmapAlertLamp, 102, 26, 1, kVarAltHold, alert_lamp);
static IconElement arm_lamp_icon = LAMP(kBitmapArmLamp, 42, 63, 1, kVarAltHold, arm_lamp);
static IconElement capt_lamp_icon = LAMP(kBitmapCaptLamp, 69, 63, 1, 0, capt_lamp);
static IconElement up_arrow_icon = LAMP(kBitmapUpArrow, 43, 41, 1, 0, up_arrow);
static IconElement down_arrow_icon = LAMP(kBitmapDownArrow, 43, 41, 1, 0, down_arrow);
#undef LAMP

static ELEMENT_HEADER* panel_elements[] = {
    &backlight_icon.header, &display_string.header,  &vs_lamp_icon.header,  &units_icon.header,
    &alert_lamp_icon.header, &arm_lamp_icon.header,  &capt_lamp_icon.header, &up_arrow_icon.header,
    &down_arrow_icon.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = panel_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL press_eng(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_arm(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL press_set(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL knob_increase(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL knob_decrease(MOUSE_POINT*, uint32_t);

constexpr uint32_t kKnobClicks = MOUSE_LEFTSINGLE | MOUSE_RIGHTSINGLE | MOUSE_DOWN_REPEAT;

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Autopilot altitude selector"},
    {.kind = MOUSE_CHILD, .box = {5, 21, 23, 23}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = press_eng},
    {.kind = MOUSE_CHILD, .box = {5, 49, 23, 23}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = press_arm},
    {.kind = MOUSE_CHILD, .box = {162, 33, 23, 23}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = press_set},
    {.kind = MOUSE_CHILD, .box = {68, 16, 55, 24}, .cursor = CURSOR_UPARROW, .mouse_flags = kKnobClicks,
     .handler = knob_increase},
    {.kind = MOUSE_CHILD, .box = {68, 61, 55, 24}, .cursor = CURSOR_DOWNARROW, .mouse_flags = kKnobClicks,
     .handler = knob_decrease},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra);
DEFINE_GAUGE(AP_Altitude_Selector, root_list, mouse_areas, gauge_callback);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL backlight(IconElement* e) { return lamp(e->source_var.var_value.n > 0.0); }

// The format is chosen on the unrounded value; text longer than the display is cut to it.
static const char* vs_format(double v) {
    if (v >= 1000.0) return " %04.0f";
    if (v >= 100.0) return "  %03.0f";
    if (v >= 0.0) return "   %02.0f";
    if (v <= -1000.0) return "%05.0f";
    if (v <= -100.0) return " %04.0f";
    return "  %03.0f";
}

static double GAUGE_CALL display(StringElement* e) {
    if (!ap.ap_powered) {
        snprintf(e->string, string_capacity(e), "     ");
        return sel_altitude;
    }
    sel_altitude = token_value(kVarAltTarget);
    sel_vertical_speed = token_value(kVarVsTarget);
    if (sel_entry_mode == kEntryAltitude) {
        const char* format = sel_altitude >= 10000.0 ? "%5.0f" : sel_altitude >= 1000.0 ? " %4.0f" : "  %3.0f";
        snprintf(e->string, string_capacity(e), format, sel_altitude);
        return sel_altitude;
    }
    snprintf(e->string, string_capacity(e), vs_format(sel_vertical_speed), sel_vertical_speed);
    return sel_vertical_speed;
}

static double GAUGE_CALL vs_lamp(IconElement*) { return lamp(ap.ap_powered && ap.ap_vs_mode); }

static double GAUGE_CALL units(IconElement*) { return ap.ap_powered ? double(sel_entry_mode) : kLampDark; }

static double target_distance() { return token_value(kVarAltTarget) - token_value(kVarAltitude); }
static bool within(double d, double lo, double hi) { return (d >= lo && d <= hi) || (d >= -hi && d <= -lo); }

static double GAUGE_CALL alert_lamp(IconElement* e) {
    if (!(ap.ap_powered && ap.ap_alt_armed && e->source_var.var_value.n > 0.0)) return kLampDark;
    double d = target_distance();
    if (within(d, kAlertFarMin, kAlertFarMax)) return kLampLit;
    if (ap.ap_alt_captured) return kLampDark;
    return lamp(within(d, kAlertNearMin, kAlertNearMax));
}

// The simulator's altitude hold going off disarms, powered or not.
static double GAUGE_CALL arm_lamp(IconElement* e) {
    if (e->source_var.var_value.n == 0.0) ap.ap_alt_armed = 0;
    return lamp(ap.ap_powered && ap.ap_alt_armed && !ap.ap_alt_captured);
}

static double GAUGE_CALL capt_lamp(IconElement*) {
    if (!(ap.ap_powered && ap.ap_alt_armed)) return kLampDark;
    if (std::fabs(target_distance()) <= kCaptureWindow) ap.ap_alt_captured = 1;
    return lamp(ap.ap_alt_captured);
}

static double GAUGE_CALL up_arrow(IconElement*) {
    return lamp(ap.ap_powered && ap.ap_vs_mode && sel_vertical_speed > 0.0);
}
static double GAUGE_CALL down_arrow(IconElement*) {
    return lamp(ap.ap_powered && ap.ap_vs_mode && sel_vertical_speed < 0.0);
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static void send(uint32_t event, double value = 0.0) { trigger_key_event(event, event_param(value)); }

// In altitude entry the present climb or descent rate is taken over, rounded down to 100 ft/min.
static void send_vs_target() {
    if (sel_entry_mode == kEntryAltitude) {
        double fpm = token_value(kVarVerticalSpeed) * kSecondsPerMinute / kTokenVsScale * kFeetPerMetre;
        sel_vertical_speed = std::floor(fpm / kVsRounding) * kVsRounding;
    }
    send(kEventSetVsTarget, sel_vertical_speed);
}

static void arm_at_selected_altitude() {
    ap.ap_alt_armed = 1;
    send(kEventSetAltTarget, sel_altitude);
    ap.ap_alt_captured = 0;
}

static int32_t GAUGE_CALL press_eng(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    if (token_value(kVarAltHold) == 1.0) {
        if (!ap.ap_vs_mode) {
            ap.ap_vs_mode = 1;
            click_sound_play(sound);
            if (ap.ap_alt_armed) {
                send_vs_target();
            } else if (ap.ap_alt_hold) {
                ap.ap_alt_hold = 0;
                send_vs_target();
            }
        } else {
            ap.ap_vs_mode = 0;
            click_sound_play(sound);
        }
    } else {
        send(kEventAltHoldOn);
        ap.ap_vs_mode = 1;
        click_sound_play(sound);
        send_vs_target();
    }
    if (no_mode_active()) send(kEventAttitudeHoldOn);
    if (ap.ap_vs_mode) {
        send(kEventAttitudeHoldOff);
        send(kEventWingLevelerOff);
    }
    return 0;
}

// Arming from vertical-speed mode keeps the simulator's altitude hold on (armed means it is on)
// and keeps climbing or descending at the selected rate toward the selected altitude.
static int32_t GAUGE_CALL press_arm(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    if (token_value(kVarAltHold) == 1.0) {
        if (ap.ap_alt_armed) {
            ap.ap_alt_armed = 0;
            send(kEventAltHoldOff);
            ap.ap_alt_captured = 0;
        } else {
            if (ap.ap_alt_hold) {
                ap.ap_alt_hold = 0;
                arm_at_selected_altitude();
            }
            if (ap.ap_vs_mode && !ap.ap_alt_armed) arm_at_selected_altitude();
        }
    } else {
        ap.ap_alt_armed = 1;
        send(kEventSetAltTarget, sel_altitude);
        send(kEventAltHoldOn);
        ap.ap_alt_captured = 0;
    }
    click_sound_play(sound);
    if (no_mode_active()) send(kEventAttitudeHoldOn);
    if (ap.ap_alt_armed || ap.ap_alt_hold) {
        send(kEventAttitudeHoldOff);
        send(kEventWingLevelerOff);
    }
    return 0;
}

static int32_t GAUGE_CALL press_set(MOUSE_POINT*, uint32_t) {
    if (!ap.ap_powered) return 0;
    click_sound_play(sound);
    sel_entry_mode = sel_entry_mode == kEntryAltitude ? kEntryVerticalSpeed : kEntryAltitude;
    return 0;
}

// A left click is the small step, a right click the large one. A step is sent only where the
// simulator takes it (armed for the altitude, vertical-speed mode for the rate); otherwise the
// display's next reload from the simulator overwrites it.
static void step_selection(int direction, uint32_t flags) {
    bool large = flags & MOUSE_RIGHTSINGLE;
    if (sel_entry_mode == kEntryAltitude) {
        double step = large ? 1000.0 : 100.0, lowest = large ? 1200.0 : 300.0;
        if (direction < 0 && sel_altitude < lowest) return;
        sel_altitude += direction * step;
        if (ap.ap_alt_armed) {
            send(kEventSetAltTarget, sel_altitude);
            ap.ap_alt_captured = 0;
        }
        return;
    }
    double step = large ? 500.0 : 100.0, limit = large ? 2500.0 : 2900.0;
    if (direction > 0 ? !(sel_vertical_speed <= limit) : !(sel_vertical_speed >= -limit)) return;
    sel_vertical_speed += direction * step;
    if (ap.ap_vs_mode) send(kEventSetVsTarget, sel_vertical_speed);
}

static int32_t GAUGE_CALL knob_increase(MOUSE_POINT*, uint32_t flags) {
    if (ap.ap_powered) step_selection(+1, flags);
    return 0;
}
static int32_t GAUGE_CALL knob_decrease(MOUSE_POINT*, uint32_t flags) {
    if (ap.ap_powered) step_selection(-1, flags);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) {
        sel_altitude = token_value(kVarAltTarget);
        sel_vertical_speed = token_value(kVarVsTarget);
        click_sound_open(sound, extra, kWaveButtonClick);
    } else if (service == PANEL_SERVICE_PRE_KILL) {
        click_sound_close(sound);
    }
}
