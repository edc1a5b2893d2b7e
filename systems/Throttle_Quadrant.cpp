// Throttle_Quadrant — power, propeller and condition levers, and the trim switch.
// Reads:  0x22E power, 0x22F propeller, 0x230 condition lever (fractions 0 to 1) through the
//         sliders; 0x311 trim, for the trim switch picture.
// Sends:  lever settings 0x1011C power, 0x10183 propeller, 0x1017F condition with 16384 times the
//         fraction of the lever's area above the pointer; 0x102E4 / 0x102E5 from the trim switch,
//         repeating while held, through the areas' events.
// Keeps:  trim_switch_previous, trim_switch_left_frames, trim_switch_right_frames: the switch shows
//         deflected for a few frames after the trim moved. No sound.
#include "systems/systems_records.h"

constexpr uint32_t kVarTrim = 0x311;
constexpr double kLeverFull = 16384.0;
constexpr int32_t kTrimSwitchFrames = 6;
constexpr int32_t kSwitchNeutral = 0;
constexpr int32_t kSwitchLeft = 1;
constexpr int32_t kSwitchRight = 2;

struct Lever {
    int32_t bitmap;
    PIXPOINT at;
    uint32_t var;
    double scale;  // pixels moved per unit of the lever's fraction (upward)
    MOUSE_BOX area;
    uint32_t set_event;
};

constexpr Lever kLevers[] = {
    {6110, {20, 125}, 0x22E, -124.0, {20, 1, 132, 189}, 0x1011C},    // power
    {6120, {165, 182}, 0x22F, -164.0, {165, 18, 25, 236}, 0x10183},  // propeller
    {6130, {218, 189}, 0x230, -164.0, {218, 25, 33, 228}, 0x1017F},  // condition
};

static double trim_switch_previous = 0.0;
static int32_t trim_switch_left_frames = 0;
static int32_t trim_switch_right_frames = 0;

static double GAUGE_CALL trim_switch_picture(IconElement*);
template <size_t I>
int32_t GAUGE_CALL lever_drag(MOUSE_POINT*, uint32_t);

// ----------------------------------------------------------------------------------------------
// Records: background, the three lever sliders, the trim switch.

constexpr SliderElement lever_slider(const Lever& l) {
    return {.header = {.element_type = ELEMENT_SLIDER, .resource_id = l.bitmap, .position = l.at,
                       .image_flags = kDrawPart},
            .source_var_x = {},
            .scale_x = 0.0,
            .source_var_y = {.id = l.var},
            .scale_y = l.scale};
}

static SliderElement power_lever = lever_slider(kLevers[0]);
static SliderElement propeller_lever = lever_slider(kLevers[1]);
static SliderElement condition_lever = lever_slider(kLevers[2]);
static IconElement trim_switch = icon_image(6140, {24, 201}, 3, kVarTrim, &trim_switch_picture);
static ELEMENT_HEADER* children[] = {&power_lever.header, &propeller_lever.header, &condition_lever.header,
                                     &trim_switch.header, nullptr};
static StaticImageElement background = background_image(6100, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

constexpr uint32_t kLeverFlags = MOUSE_LEFTSINGLE | MOUSE_LEFTDRAG;
constexpr uint32_t kTrimFlags = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    click_area(kLevers[0].area, CURSOR_HAND, kLeverFlags, &lever_drag<0>),
    click_area(kLevers[1].area, CURSOR_HAND, kLeverFlags, &lever_drag<1>),
    click_area(kLevers[2].area, CURSOR_HAND, kLeverFlags, &lever_drag<2>),
    event_area({24, 201, 29, 40}, CURSOR_DOWNARROW, kTrimFlags, 0x102E4),
    event_area({53, 201, 29, 40}, CURSOR_UPARROW, kTrimFlags, 0x102E5),
});

DEFINE_GAUGE(Throttle_Quadrant, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callback: the trim switch, deflected toward the way the trim last moved.

static double GAUGE_CALL trim_switch_picture(IconElement* e) {
    double trim = e->source_var.var_value.n;
    if (trim_switch_left_frames >= 0) --trim_switch_left_frames;
    if (trim_switch_right_frames >= 0) --trim_switch_right_frames;
    if (trim < trim_switch_previous) {
        trim_switch_left_frames = kTrimSwitchFrames;
        trim_switch_right_frames = 0;
    } else if (trim > trim_switch_previous) {
        trim_switch_right_frames = kTrimSwitchFrames;
        trim_switch_left_frames = 0;
    }
    trim_switch_previous = trim;
    if (trim_switch_left_frames >= 1) return kSwitchLeft;
    if (trim_switch_right_frames >= 1) return kSwitchRight;
    return kSwitchNeutral;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers: a click or a drag sets the lever to the pointer, clamped to its travel.

// The lever setting for a pointer `y` pixels below the top of an area `height` pixels tall.
static uint32_t lever_setting(int32_t y, int32_t height) {
    double fraction = 1.0 - double(y) / double(height);
    if (fraction <= 0.0) fraction = 0.0;
    if (fraction >= 1.0) fraction = 1.0;
    return event_param(kLeverFull * fraction);
}

template <size_t I>
int32_t GAUGE_CALL lever_drag(MOUSE_POINT* point, uint32_t) {
    if (!point) return 0;
    trigger_key_event(kLevers[I].set_event, lever_setting(point->y, kLevers[I].area.h));
    return 0;
}
