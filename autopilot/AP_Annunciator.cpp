// AP_Annunciator — autopilot mode annunciator strip, and the audible altitude alert.
// Reads:  0x318 FD, 0x69 NAV, 0x73 IAS, 0x6C ALT, 0x67 AP, 0x6A HDG, 0x70 APR, 0x6F GS,
//         0x72 YD, 0x71 BC, 0x7C GA; for the alert 0x6D altitude target and 0x4A altitude;
//         ap_test_active, ap_alt_armed.
// Sends:  nothing.
// Keeps:  the alert tone, WAVE 40.
#include <cmath>

#include "autopilot/autopilot_state.h"
#include "module/click_sound.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarAltHold = 0x6C;
constexpr uint32_t kVarAltTarget = 0x6D;
constexpr uint32_t kVarAltitude = 0x4A;
constexpr double kAlertNear = 980.0, kAlertFar = 1020.0;  // feet from the target, either side

constexpr int32_t kBitmapFace = 4960;
constexpr int32_t kBitmapFirstLegend = 4961;  // one per lamp, in the order below
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL token_lamp(IconElement*);
static double GAUGE_CALL alt_lamp(IconElement*);
static double GAUGE_CALL test_lamp(IconElement*);

#define LAMP(n, x, y, var, cb)                                                                             \
    {.header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapFirstLegend + (n), .position = {x, y},  \
                .image_flags = kDrawFlags},                                                                \
     .source_var = {.id = var}, .scale = 1.0, .num_icons = 1, .update_cb = cb}
static IconElement lamps[] = {
    LAMP(0, 26, 11, 0x318, token_lamp),  // FD
    LAMP(1, 57, 11, 0x69, token_lamp),   // NAV
    LAMP(2, 88, 11, 0x73, token_lamp),   // IAS
    LAMP(3, 119, 11, kVarAltHold, alt_lamp),  // ALT, with the altitude alert
    LAMP(4, 150, 11, 0x67, token_lamp),  // AP
    LAMP(5, 26, 27, 0x6A, token_lamp),   // HDG
    LAMP(6, 57, 27, 0x70, token_lamp),   // APR
    LAMP(7, 88, 27, 0, test_lamp),       // ARM (amber)
    LAMP(8, 119, 27, 0x6F, token_lamp),  // GS
    LAMP(9, 150, 27, 0x72, token_lamp),  // YD
    LAMP(10, 26, 43, 0, test_lamp),      // SR
    LAMP(11, 57, 43, 0x71, token_lamp),  // BC (amber)
    LAMP(12, 88, 43, 0, test_lamp),      // HB
    LAMP(13, 119, 43, 0x7C, token_lamp), // GA (amber)
    LAMP(14, 150, 43, 0, test_lamp),     // TRIM (red)
};
#undef LAMP
static ELEMENT_HEADER* strip_elements[] = {
    &lamps[0].header,  &lamps[1].header,  &lamps[2].header,  &lamps[3].header,  &lamps[4].header,
    &lamps[5].header,  &lamps[6].header,  &lamps[7].header,  &lamps[8].header,  &lamps[9].header,
    &lamps[10].header, &lamps[11].header, &lamps[12].header, &lamps[13].header, &lamps[14].header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = strip_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Autopilot annunciator"},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra);
DEFINE_GAUGE(AP_Annunciator, root_list, mouse_areas, gauge_callback);

// ----------------------------------------------------------------------------------------------
// Element callbacks: no lamp here looks at the autopilot's power.

static double GAUGE_CALL token_lamp(IconElement* e) {
    return lamp(e->source_var.var_value.n > 0.0 || autopilot_state.ap_test_active);
}

// Armed with altitude hold on, 980 to 1020 ft from the target: the tone is asked to play on every
// update inside the window (a tone still sounding is not started again).
static double GAUGE_CALL alt_lamp(IconElement* e) {
    double hold = e->source_var.var_value.n;
    if (autopilot_state.ap_alt_armed && hold > 0.0) {
        double d = std::fabs(token_value(kVarAltTarget) - token_value(kVarAltitude));
        if (d >= kAlertNear && d <= kAlertFar) click_sound_play(sound);
    }
    return token_lamp(e);
}

static double GAUGE_CALL test_lamp(IconElement*) { return lamp(autopilot_state.ap_test_active); }

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) click_sound_open(sound, extra, kWaveAltitudeAlert);
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}
