// Invisible_Toggle, Radios_Toggle, GPS_Toggle, Throttle_Toggle, Compass_Toggle, Close_Subpanel,
// Nav_Instruments_Toggle, Overhead_Toggle, Landing_View_Toggle, Electricity_Toggle,
// Autopilot_Toggle — buttons that open, close and toggle panel windows and step the view.
// Reads:  the parameter text of the placing line (keys o, c, t, p on click; b, h at install;
//         a at the first install).
// Sends:  0x103CB open, 0x103CC close, 0x103CA toggle (with a panel identifier), 0x10153 view
//         reset, 0x100C6 / 0x100C7 view steps; panel_window_toggle(0) without parameter text.
// Keeps:  the user word of each gauge definition (1 once its first install has run); no sound.
#include <cstring>

#include "module/gauge_unit.h"
#include "module/param_keys.h"

// ----------------------------------------------------------------------------------------------
// Records: one row per button

constexpr uint32_t kEventPanelToggle = 0x103CA;
constexpr uint32_t kEventPanelOpen = 0x103CB;
constexpr uint32_t kEventPanelClose = 0x103CC;
constexpr uint32_t kEventViewReset = 0x10153;
constexpr uint32_t kEventViewForward = 0x100C6;
constexpr uint32_t kEventViewBack = 0x100C7;

constexpr int32_t kButtonBitmapFirst = 100;  // `b` takes multiples of 10 in this range
constexpr int32_t kButtonBitmapLast = 290;
constexpr int32_t kButtonBitmapStep = 10;
constexpr uint32_t kFirstInstallDone = 1;
// A view step is one key event; a mistyped count such as p99999999 would otherwise hold the
// panel thread for minutes. The simulator's views cycle long before this many steps.
constexpr int64_t kMaxViewSteps = 64;

static int32_t GAUGE_CALL toggle_click(MOUSE_POINT* point, uint32_t flags);
static void GAUGE_CALL toggle_callback(GAUGEHDR* gauge, int32_t service_id, GaugeExtra extra);

constexpr MOUSE_BOX kButtonBox = {3, 3, 13, 13};

// The button face, with its area and, where the button has one, its tooltip.
#define TOGGLE_BUTTON(name, bitmap, help, tooltip_text)                                                   \
    static StaticImageElement name##_background = {                                                      \
        .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = bitmap, .image_flags = 0}};      \
    static ELEMENT_HEADER* name##_root[] = {&name##_background.header, nullptr};                         \
    static ButtonAreas name##_areas = button_areas(kButtonBox, help, toggle_click, 0, tooltip_text);      \
    DEFINE_GAUGE(name, name##_root, name##_areas.rects, toggle_callback)

static constexpr const char* kNoTooltip = nullptr;

TOGGLE_BUTTON(Invisible_Toggle, 200, 0, kNoTooltip);
TOGGLE_BUTTON(Radios_Toggle, 120, 0xAB86, kNoTooltip);
TOGGLE_BUTTON(GPS_Toggle, 130, 0xAB87, kNoTooltip);
TOGGLE_BUTTON(Throttle_Toggle, 140, 0xAB88, kNoTooltip);
TOGGLE_BUTTON(Compass_Toggle, 150, 0xAB89, kNoTooltip);
TOGGLE_BUTTON(Close_Subpanel, 160, 0, "Close subpanel window");
TOGGLE_BUTTON(Nav_Instruments_Toggle, 190, 0, "Display/Hide navigation instruments");
TOGGLE_BUTTON(Overhead_Toggle, 220, 0xAB95, kNoTooltip);
TOGGLE_BUTTON(Landing_View_Toggle, 230, 0, "Switch normal view / landing view");
TOGGLE_BUTTON(Electricity_Toggle, 240, 0, "Display/Hide electricity subpanel");
TOGGLE_BUTTON(Autopilot_Toggle, 280, 0, "Display/Hide enlarged Autopilot");

// ----------------------------------------------------------------------------------------------
// Mouse handler

static bool has_text(const char* params) { return params && *params; }

// Every occurrence of `key`, each sending `event_id` with its panel identifier (none if negative).
static void send_for_each(const char* params, char key, uint32_t event_id) {
    for (const char* value = find_param_key(params, key); value; value = find_param_key(params, value, key)) {
        int32_t panel = param_panel_id(value);
        if (panel >= 0) trigger_key_event(event_id, uint32_t(panel));
    }
}

static void step_view(const char* params) {
    const char* value = find_param_key(params, 'p');
    if (!value) return;
    int32_t steps = param_int(value);
    if (steps == 0) {
        trigger_key_event(kEventViewReset, 0);
        return;
    }
    uint32_t event_id = steps > 0 ? kEventViewForward : kEventViewBack;
    int64_t count = steps > 0 ? int64_t(steps) : -int64_t(steps);
    if (count > kMaxViewSteps) count = kMaxViewSteps;
    for (int64_t i = 0; i < count; ++i) trigger_key_event(event_id, 0);
}

static int32_t GAUGE_CALL toggle_click(MOUSE_POINT* point, uint32_t) {
    const char* params = point && point->gauge ? point->gauge->parameters : nullptr;
    if (!has_text(params)) {
        panel_window_toggle(0);
        return 0;
    }
    send_for_each(params, 'o', kEventPanelOpen);
    send_for_each(params, 'c', kEventPanelClose);
    send_for_each(params, 't', kEventPanelToggle);
    step_view(params);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static bool button_bitmap_allowed(int32_t id) {
    return id >= kButtonBitmapFirst && id <= kButtonBitmapLast && id % kButtonBitmapStep == 0;
}

static void GAUGE_CALL toggle_callback(GAUGEHDR* gauge, int32_t service_id, GaugeExtra) {
    if (service_id != PANEL_SERVICE_PRE_INSTALL) return;
    const char* params = gauge->parameters;
    if (has_text(params)) {
        if (const char* value = find_param_key(params, 'b')) {
            int32_t bitmap = param_int(value);
            if (button_bitmap_allowed(bitmap)) gauge->elements_list[0]->resource_id = bitmap;
        }
        if (const char* value = find_param_key(params, 'h')) gauge->mouse_rect[0].help_id = param_help_id(value);
    }
    if (gauge->user_data == 0) {
        if (const char* value = find_param_key(params, 'a')) {
            int32_t panel = param_panel_id(value);
            if (panel >= 0) trigger_key_event(kEventPanelClose, uint32_t(panel));
        }
        gauge->user_data = kFirstInstallDone;
    }
}
