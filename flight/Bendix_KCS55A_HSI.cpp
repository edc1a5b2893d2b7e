// Bendix_KCS55A_HSI — horizontal situation indicator.
// Reads:  0x54 heading, 0x351..0x357 HSI deviation, glideslope, flags, course and heading bug,
//         0x2D NAV1 OBS, 0x350 GPS drives, 0x117/0x11A/0x11D failures, 0x2F3 supply voltage;
//         nav1_power_on.
// Sends:  0x101FA heading bug and 0x100B4 NAV1 OBS from the two knobs (1 or 10 degrees a click).
// Keeps:  nothing: every picture comes from the simulator each frame; no gauge callback, no sound.
#include <cmath>

#include "flight/instrument_shared.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarHeading = 0x54;
constexpr uint32_t kVarDeviation = 0x351;
constexpr uint32_t kVarGlideslope = 0x352;
constexpr uint32_t kVarNavValid = 0x353;
constexpr uint32_t kVarGlideslopeValid = 0x354;
constexpr uint32_t kVarToFrom = 0x355;
constexpr uint32_t kVarCourse = 0x356;
constexpr uint32_t kVarHeadingBug = 0x357;
constexpr uint32_t kVarNav1Obs = 0x2D;
constexpr uint32_t kVarGpsDrives = 0x350;
constexpr uint32_t kVarElectricalFailed = 0x117;
constexpr uint32_t kVarHeadingGyroFailed = 0x11A;
constexpr uint32_t kVarNavFailed = 0x11D;
constexpr uint32_t kVarSupplyVolts = 0x2F3;

constexpr uint32_t kEventSetHeadingBug = 0x101FA;
constexpr uint32_t kEventSetNav1Obs = 0x100B4;

constexpr double kMinNavVolts = 10.0;
constexpr double kToFromFrom = -1.0;
constexpr double kHalfTurn = 180.0;
constexpr PIXPOINT kDialCentre = {154, 152};
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD card_failures[] = {{20, FAIL_ACTION_FREEZE, 0}, {11, FAIL_ACTION_FREEZE, 0}, FAILURE_END};
static FAILURE_RECORD course_failures[] = {
    {20, FAIL_ACTION_FREEZE, 0}, {21, FAIL_ACTION_FREEZE, 0}, {11, FAIL_ACTION_FREEZE, 0}, {14, FAIL_ACTION_ZERO, 0},
    FAILURE_END};
static FAILURE_RECORD glideslope_failures[] = {
    {21, FAIL_ACTION_NO_DRAW, 0}, {14, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static double GAUGE_CALL heading_bug_angle(NeedleElement*);
static double GAUGE_CALL course_angle(NeedleElement*);
static double GAUGE_CALL to_from_angle(NeedleElement*);
static double GAUGE_CALL deviation_bar_angle(SpriteElement*);
static double GAUGE_CALL nav_flag(IconElement*);
static double GAUGE_CALL hdg_flag(IconElement*);
static double GAUGE_CALL glideslope_pointer(SliderElement*);

static SpriteElement compass_card = {
    .header = {.element_type = ELEMENT_SPRITE, .resource_id = 3280, .position = {52, 50}, .ofs = kDialCentre,
               .failure_systems = card_failures, .image_flags = kDrawFlags},
    .source_var_0 = {.id = kVarHeading}, .scale_0 = 1.0, .texture_scale_x = 1.0f, .texture_scale_y = 1.0f,
};
static NeedleElement heading_bug = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 3300, .position = kDialCentre, .ofs = {10, 102},
               .failure_systems = card_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarHeadingBug}, .update_cb = heading_bug_angle,
};
static NeedleElement course_pointer = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 3310, .position = kDialCentre, .ofs = {85, 85},
               .failure_systems = course_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarCourse}, .update_cb = course_angle,
};
static NeedleElement to_from_arrow = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 3290, .position = kDialCentre, .ofs = {14, 33},
               .failure_systems = course_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarToFrom}, .update_cb = to_from_angle,
};
static SpriteElement deviation_bar = {
    .header = {.element_type = ELEMENT_SPRITE, .resource_id = 3320, .position = {33, 31}, .ofs = kDialCentre,
               .failure_systems = course_failures, .image_flags = kDrawFlags},
    .source_var_x = {.id = kVarDeviation}, .scale_x = -49.0,
    .source_var_0 = {.id = kVarCourse}, .scale_0 = -1.0, .texture_scale_x = 1.0f, .texture_scale_y = 1.0f,
    .update_0_cb = deviation_bar_angle,
};
static IconElement nav_flag_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 3350, .position = {78, 52}, .image_flags = kDrawFlags},
    .source_var = {.id = kVarNavValid}, .scale = 1.0, .num_icons = 1, .update_cb = nav_flag,
};
static IconElement hdg_flag_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 3360, .position = {174, 52}, .image_flags = kDrawFlags},
    .source_var = {.id = kVarHeadingGyroFailed}, .scale = 1.0, .num_icons = 1, .update_cb = hdg_flag,
};
static SliderElement left_glideslope = {
    .header = {.element_type = ELEMENT_SLIDER, .resource_id = 3340, .position = {30, 146},
               .failure_systems = glideslope_failures, .image_flags = kDrawFlags},
    .source_var_x = {.id = kVarGlideslopeValid}, .scale_x = 1.0,
    .source_var_y = {.id = kVarGlideslope}, .scale_y = 52.0, .update_y_cb = glideslope_pointer,
};
static SliderElement right_glideslope = {
    .header = {.element_type = ELEMENT_SLIDER, .resource_id = 3330, .position = {267, 146},
               .failure_systems = glideslope_failures, .image_flags = kDrawFlags},
    .source_var_x = {.id = kVarGlideslopeValid}, .scale_x = 1.0,
    .source_var_y = {.id = kVarGlideslope}, .scale_y = 52.0, .update_y_cb = glideslope_pointer,
};
static StaticImageElement bezel = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 3390, .image_flags = kDrawFlags},
};
static NeedleElement course_knob = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 3380, .position = {28, 242}, .ofs = {22, 22},
               .image_flags = kDrawFlags},
    .source_var = {.id = kVarNav1Obs},
};
static NeedleElement heading_knob = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 3370, .position = {261, 243}, .ofs = {22, 22},
               .image_flags = kDrawFlags},
    .source_var = {.id = kVarHeadingBug},
};

static ELEMENT_HEADER* dial_elements[] = {
    &compass_card.header, &heading_bug.header, &course_pointer.header, &to_from_arrow.header,
    &deviation_bar.header, &nav_flag_icon.header, &hdg_flag_icon.header, &left_glideslope.header,
    &right_glideslope.header, &bezel.header, &course_knob.header, &heading_knob.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 3270, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL heading_down(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL heading_up(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL course_down(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL course_up(MOUSE_POINT*, uint32_t);

constexpr uint32_t kHelpGauge = 0xAB36, kHelpHeadingKnob = 0xAB33, kHelpCourseKnob = 0xAB38;
constexpr uint32_t kKnobClicks = MOUSE_LEFTSINGLE | MOUSE_RIGHTSINGLE | MOUSE_DOWN_REPEAT;

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 302, 287}, .cursor = CURSOR_NONE, .help_id = kHelpGauge},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = 0x3094},
    {.kind = MOUSE_CHILD, .box = {239, 221, 22, 44}, .cursor = CURSOR_DOWNARROW, .help_id = kHelpHeadingKnob,
     .mouse_flags = kKnobClicks, .handler = heading_down},
    {.kind = MOUSE_CHILD, .box = {261, 221, 22, 44}, .cursor = CURSOR_UPARROW, .help_id = kHelpHeadingKnob,
     .mouse_flags = kKnobClicks, .handler = heading_up},
    {.kind = MOUSE_CHILD, .box = {6, 220, 22, 44}, .cursor = CURSOR_DOWNARROW, .help_id = kHelpCourseKnob,
     .mouse_flags = kKnobClicks, .handler = course_down},
    {.kind = MOUSE_CHILD, .box = {28, 220, 22, 44}, .cursor = CURSOR_UPARROW, .help_id = kHelpCourseKnob,
     .mouse_flags = kKnobClicks, .handler = course_up},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Bendix_KCS55A_HSI, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

// The turn from the heading to a direction, each taken within one turn first: the same angle on
// the dial, and finite for any two finite readings (a plain difference of two huge ones is not).
static double turn_from_heading(double direction) {
    return std::fmod(direction, 360.0) - std::fmod(token_value(kVarHeading), 360.0);
}

static double course_minus_heading() { return turn_from_heading(token_value(kVarCourse)); }

static double GAUGE_CALL heading_bug_angle(NeedleElement* e) { return turn_from_heading(e->source_var.var_value.n); }

static double GAUGE_CALL course_angle(NeedleElement*) { return course_minus_heading(); }

static double GAUGE_CALL to_from_angle(NeedleElement* e) {
    double to_from = e->source_var.var_value.n;
    set_hidden(e->header, !nav1_power_on || to_from == 0.0);
    return course_minus_heading() + (to_from == kToFromFrom ? kHalfTurn : 0.0);
}

static double GAUGE_CALL deviation_bar_angle(SpriteElement*) { return course_minus_heading(); }

// A valid signal (1) lies past the flag's single picture and so shows nothing.
static double GAUGE_CALL nav_flag(IconElement* e) {
    double v = e->source_var.var_value.n;
    if (token_as_int(token_value(kVarElectricalFailed)) != 0) v = 0.0;
    if (token_value(kVarGpsDrives) == 0.0) {
        if (token_as_int(token_value(kVarNavFailed)) != 0) v = 0.0;
        if (token_value(kVarSupplyVolts) < kMinNavVolts) v = 0.0;
    }
    return v;
}

static double GAUGE_CALL hdg_flag(IconElement*) {
    bool failed = token_as_int(token_value(kVarHeadingGyroFailed)) != 0 ||
                  token_as_int(token_value(kVarElectricalFailed)) != 0;
    return failed ? 0.0 : -1.0;
}

// The glideslope-valid token is an integer: a reading such as 0.5 counts as 0, not valid.
static double GAUGE_CALL glideslope_pointer(SliderElement* e) {
    set_hidden(e->header, !nav1_power_on || token_as_int(e->source_var_x.var_value.n) == 0);
    return e->source_var_y.var_value.n;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL heading_down(MOUSE_POINT*, uint32_t flags) {
    trigger_key_event(kEventSetHeadingBug, knob_step_degrees(token_value(kVarHeadingBug), false, flags));
    return 0;
}
static int32_t GAUGE_CALL heading_up(MOUSE_POINT*, uint32_t flags) {
    trigger_key_event(kEventSetHeadingBug, knob_step_degrees(token_value(kVarHeadingBug), true, flags));
    return 0;
}
static int32_t GAUGE_CALL course_down(MOUSE_POINT*, uint32_t flags) {
    trigger_key_event(kEventSetNav1Obs, knob_step_degrees(token_value(kVarCourse), false, flags));
    return 0;
}
static int32_t GAUGE_CALL course_up(MOUSE_POINT*, uint32_t flags) {
    trigger_key_event(kEventSetNav1Obs, knob_step_degrees(token_value(kVarNav1Obs), true, flags));
    return 0;
}
