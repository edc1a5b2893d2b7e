// Astrotech_Timer — Astrotech LC2 chronometer: the simulator's clock or an elapsed-time counter.
// Reads:  0x03 / 0x04 clock hour and minute, 0x25C simulator time (s), 0x2F3 supply voltage,
//         0x0A panel lighting.
// Sends:  nothing.
// Keeps:  timer_clock_mode, timer_running, timer_start, timer_elapsed (from module load); no sound.
#include <cmath>
#include <cstdio>

#include "module/gauge_unit.h"
#include "module/whole_number_text.h"

constexpr uint32_t kVarClockHour = 0x03;
constexpr uint32_t kVarClockMinute = 0x04;
constexpr uint32_t kVarSimTime = 0x25C;
constexpr uint32_t kVarSupplyVolts = 0x2F3;
constexpr uint32_t kVarPanelLights = 0x0A;
constexpr double kMarkVolts = 20.0;
constexpr double kDaySeconds = 86400.0;
constexpr double kHourSeconds = 3600.0;
constexpr double kMinuteSeconds = 60.0;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;
constexpr uint32_t kBacklightFlags = 0x4003;

static bool timer_clock_mode = true;  // display shows the clock (true) or the counter
static bool timer_running = false;    // the counter is counting
static double timer_start = 0.0;      // simulator time at which counting started
static double timer_elapsed = 0.0;    // elapsed seconds last worked out

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD display_failures[] = {{20, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static double GAUGE_CALL backlight(IconElement*);
static double GAUGE_CALL display(StringElement*);
static double GAUGE_CALL clock_mark(IconElement*);
static double GAUGE_CALL counter_mark(IconElement*);

static IconElement backlight_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 3140, .position = {31, 59}, .image_flags = kBacklightFlags},
    .source_var = {.id = kVarPanelLights}, .scale = 1.0, .num_icons = 1, .update_cb = backlight,
};
static StringElement display_string = {
    .header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {45, 62},
               .failure_systems = display_failures, .image_flags = kDrawFlags},
    .box = {110, 34}, .fg_color = 0x0A0A0A, .bg_color = 0x000000, .hilite_color = 0x00FFFF, .font_name = "Quartz",
    .font_weight = 400, .char_set = 1, .draw_text_flags = 0x25, .char_count = 5, .update_cb = display,
};
static IconElement clock_mark_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 3150, .position = {137, 97}, .image_flags = kDrawFlags},
    .scale = 1.0, .num_icons = 1, .update_cb = clock_mark,
};
static IconElement counter_mark_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 3150, .position = {57, 97}, .image_flags = kDrawFlags},
    .scale = 1.0, .num_icons = 1, .update_cb = counter_mark,
};
static ELEMENT_HEADER* timer_elements[] = {&backlight_icon.header, &display_string.header, &clock_mark_icon.header,
                                           &counter_mark_icon.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 3130, .elements = timer_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL mode_button(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL reset_button(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL start_stop_button(MOUSE_POINT*, uint32_t);

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Astrotech LC2 timer"},
    {.kind = MOUSE_CHILD, .box = {88, 168, 27, 27}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = mode_button},
    {.kind = MOUSE_CHILD, .box = {35, 147, 27, 27}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = reset_button},
    {.kind = MOUSE_CHILD, .box = {142, 147, 27, 27}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = start_stop_button},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Astrotech_Timer, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL backlight(IconElement* e) { return e->source_var.var_value.n > 0.0 ? 0.0 : -1.0; }

// "%02.0f:%02.0f" of two fields, written without snprintf (this runs every frame).
static void clock_fields(StringElement* e, double first, double second) {
    char first_text[48];
    whole_number_text(first_text, sizeof first_text, first, 2, true, "", ":");
    whole_number_text(e->string, string_capacity(e), second, 2, true, first_text);
}

// MM:SS for the first hour of counting, HH:MM after it; the clock shows HH:MM.
static double GAUGE_CALL display(StringElement* e) {
    if (timer_clock_mode) {
        clock_fields(e, token_value(kVarClockHour), token_value(kVarClockMinute));
        return 0.0;
    }
    double now = token_value(kVarSimTime);
    if (timer_running) timer_elapsed = now - timer_start;
    // Wraps after 24 hours. A clock set back before the start (or a NaN) restarts at zero too,
    // rather than showing a negative count such as "-1:59".
    if (!(timer_elapsed >= 0.0 && timer_elapsed < kDaySeconds)) timer_elapsed = 0.0;
    double seconds = std::trunc(timer_elapsed - kMinuteSeconds * std::floor(timer_elapsed / kMinuteSeconds));
    double rest = timer_elapsed - seconds;
    double minutes = std::trunc(std::trunc(rest - kHourSeconds * std::floor(rest / kHourSeconds)) / kMinuteSeconds);
    double hours = std::trunc(std::floor(timer_elapsed / kHourSeconds));
    if (hours == 0.0)
        clock_fields(e, minutes, seconds);
    else
        clock_fields(e, hours, minutes);
    return timer_elapsed;
}

static bool marks_powered() { return token_value(kVarSupplyVolts) > kMarkVolts; }
static double GAUGE_CALL clock_mark(IconElement*) { return timer_clock_mode && marks_powered() ? 0.0 : -1.0; }
static double GAUGE_CALL counter_mark(IconElement*) { return !timer_clock_mode && marks_powered() ? 0.0 : -1.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL mode_button(MOUSE_POINT*, uint32_t) {
    timer_clock_mode = !timer_clock_mode;
    return 0;
}

static int32_t GAUGE_CALL reset_button(MOUSE_POINT*, uint32_t) {
    if (!timer_clock_mode && !timer_running) timer_start = timer_elapsed = 0.0;
    return 0;
}

// A restart after a stop without reset goes on from the first start.
static int32_t GAUGE_CALL start_stop_button(MOUSE_POINT*, uint32_t) {
    if (timer_clock_mode) return 0;
    if (timer_running) {
        timer_running = false;
    } else {
        if (timer_elapsed == 0.0) timer_start = token_value(kVarSimTime);
        timer_running = true;
    }
    return 0;
}
