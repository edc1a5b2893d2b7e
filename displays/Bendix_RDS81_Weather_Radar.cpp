// Bendix_RDS81_Weather_Radar — radar screen: a returns picture scrolling with the aircraft's
// position and turning with its heading, a sweep line swinging ±60 degrees, an off cover, a switch.
// Reads:  0x01 tick count, 0x48 longitude (2^48 = 360 degrees), 0x47 latitude (metres),
//         0x56 heading (the picture's angle, as the host delivers it).
// Sends:  nothing.
// Keeps:  radar_on, radar_last_tick, radar_sweep_angle, radar_sweep_rising (reset at install);
//         click sound, WAVE 10.
#include <cmath>
#include <iterator>

#include "module/click_sound.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarTicks = 0x01;
constexpr uint32_t kVarLatitude = 0x47;
constexpr uint32_t kVarLongitude = 0x48;
constexpr uint32_t kVarHeading = 0x56;

constexpr uint32_t kDrawFlags = 0x4003;
constexpr double kSweepLimit = 60.0;
constexpr double kSweepStep = 1.5;
constexpr double kTicksPerStep = 1.0;  // a step once the tick count has moved on by more than this

constexpr double kLongitudeUnitsPerDegree = 781874935307.4;
constexpr double kLongitudeWestAbove = 140737488355332.0;
constexpr double kMetresPerDegreeLatitude = 111130.555557;
constexpr double kMinutesPerDegree = 60.0;
constexpr double kFullTurnDegrees = 360.0;
constexpr double kPixelsPerMinute = 3.5;
constexpr double kPeriodX = 740.0;
constexpr double kPeriodY = 538.0;

static bool radar_on;             // switch position
static double radar_last_tick;    // tick count at the last sweep step
static double radar_sweep_angle;  // -60..60 degrees, 0 straight ahead
static bool radar_sweep_rising;   // moving toward +60

static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD screen_failures[] = {{21, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static double GAUGE_CALL returns_x(SpriteElement*);
static double GAUGE_CALL returns_y(SpriteElement*);
static double GAUGE_CALL sweep(NeedleElement*);
static double GAUGE_CALL off_cover(IconElement*);
static double GAUGE_CALL switch_picture(IconElement*);

static SpriteElement returns = {
    .header = {.element_type = ELEMENT_SPRITE, .resource_id = 6230, .position = {109, 45}, .ofs = {300, 319},
               .failure_systems = screen_failures, .image_flags = kDrawFlags},
    .source_var_x = {.id = kVarLongitude}, .scale_x = 1.0,
    .source_var_y = {.id = kVarLatitude}, .scale_y = 1.0,
    .source_var_0 = {.id = kVarHeading}, .scale_0 = 1.0,
    .texture_scale_x = 1.0f, .texture_scale_y = 1.0f,
    .update_x_cb = returns_x, .update_y_cb = returns_y,
};
// Degrees from straight up.
static NONLINEARITY sweep_table[] = {{{300, 189}, 0.0}, {{300, 449}, 180.0}};
static NeedleElement sweep_line = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 6250, .position = {300, 319}, .ofs = {2, 130},
               .failure_systems = screen_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarTicks}, .nonlinearity_table = sweep_table,
    .nonlinearity_table_size = std::size(sweep_table), .update_cb = sweep,
};
static StaticImageElement frame_overlay = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 6260, .image_flags = kDrawFlags},
};
static IconElement cover = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 6220, .position = {102, 35},
               .failure_systems = screen_failures, .image_flags = kDrawFlags},
    .scale = 1.0, .num_icons = 1, .update_cb = off_cover,
};
static IconElement switch_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 6240, .position = {521, 20}, .image_flags = kDrawFlags},
    .scale = 1.0, .num_icons = 2, .update_cb = switch_picture,
};
static ELEMENT_HEADER* screen_elements[] = {&returns.header, &sweep_line.header, &frame_overlay.header,
                                            &cover.header, &switch_icon.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 6210, .elements = screen_elements,
               .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL radar_switch(MOUSE_POINT*, uint32_t);

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Weather radar"},
    {.kind = MOUSE_CHILD, .box = {521, 20, 62, 62}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = radar_switch},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra);
DEFINE_GAUGE(Bendix_RDS81_Weather_Radar, root_list, mouse_areas, gauge_callback);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static void set_hidden(ELEMENT_HEADER& h, bool hidden) {
    if (hidden)
        h.image_flags |= kImageHidden;
    else
        h.image_flags &= ~kImageHidden;
}

// Wrapped into one period centred on 0, so the fixed picture repeats as the aircraft moves. A
// position that is not a number (or infinite) centres the picture rather than handing NaN on.
static double wrap(double v, double period) {
    if (!std::isfinite(v)) return 0.0;
    return v - period * std::floor(v / period + 0.5);
}

static double GAUGE_CALL returns_x(SpriteElement* e) {
    double degrees = e->source_var_x.var_value.n / kLongitudeUnitsPerDegree;
    if (e->source_var_x.var_value.n > kLongitudeWestAbove) degrees -= kFullTurnDegrees;
    return wrap(degrees * kMinutesPerDegree * kPixelsPerMinute, kPeriodX);
}

static double GAUGE_CALL returns_y(SpriteElement* e) {
    double minutes = e->source_var_y.var_value.n / kMetresPerDegreeLatitude * kMinutesPerDegree;
    return wrap(minutes * -kPixelsPerMinute, kPeriodY);
}

static double GAUGE_CALL sweep(NeedleElement* e) {
    if (!radar_on) {
        set_hidden(e->header, true);
        radar_sweep_angle = 0.0;
        return radar_sweep_angle;
    }
    set_hidden(e->header, false);
    double tick = e->source_var.var_value.n;
    // A tick count that restarts below the last step would hold the sweep until it caught up, an
    // infinite one for good: follow a restart at once, and step only on finite counts.
    if (tick < radar_last_tick) radar_last_tick = std::isfinite(tick) ? tick : 0.0;
    if (std::isfinite(tick) && tick - radar_last_tick > kTicksPerStep) {
        radar_last_tick = tick;
        if (radar_sweep_rising) {
            if (radar_sweep_angle < kSweepLimit) radar_sweep_angle += kSweepStep;
            if (radar_sweep_angle >= kSweepLimit) radar_sweep_rising = false;
        } else {
            if (radar_sweep_angle > -kSweepLimit) radar_sweep_angle -= kSweepStep;
            if (radar_sweep_angle <= -kSweepLimit) radar_sweep_rising = true;
        }
    }
    return radar_sweep_angle;
}

static double GAUGE_CALL off_cover(IconElement* e) {
    set_hidden(e->header, radar_on);
    return 0.0;
}

static double GAUGE_CALL switch_picture(IconElement*) { return radar_on ? 1.0 : 0.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL radar_switch(MOUSE_POINT*, uint32_t) {
    radar_on = !radar_on;
    click_sound_play(sound);
    double tick = token_value(kVarTicks);
    radar_last_tick = radar_on && std::isfinite(tick) ? tick : 0.0;  // a bad reading must not stop the sweep
    radar_sweep_angle = -kSweepLimit;
    radar_sweep_rising = true;
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) {
        radar_on = false;
        radar_last_tick = 0.0;
        radar_sweep_angle = 0.0;
        radar_sweep_rising = true;
        click_sound_open(sound, extra, kWaveToggleClick);
    } else if (service == PANEL_SERVICE_PRE_KILL) {
        click_sound_close(sound);
    }
}
