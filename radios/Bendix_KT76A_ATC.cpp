// Bendix_KT76A_ATC — transponder with four digit knobs over rolling digit drums.
// Reads:  0x26 squawk code.
// Sends:  digit up/down 0x10073-0x10076 / 0x10397-0x1039A (power on).
// Keeps:  mode knob (OFF 0, ON 2, ALT 3; OFF at every install), the shared transponder power
//         flag and displayed code; click sound, WAVE 30 (mode buttons only).
#include "module/click_sound.h"
#include "radios/transponder_records.h"

using namespace radio;
using namespace transponder;

constexpr Modes kModes = {.off = 0, .on = 2, .alt = 3};  // SBY 1 and TST 4 are never taken

static int32_t mode = kModes.off;  // mode-knob picture
static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order (the mode knob, the drums, then the digit knobs, which
// overlap the drum windows' lower edge; drums and knobs thousands to ones)

static double GAUGE_CALL mode_knob_cb(IconElement* e);
template <Place P>
static double GAUGE_CALL drum_cb(MovingImageElement* e);

constexpr int32_t kDrumRow = 15;
constexpr double kDrumTop = 0.0;      // a drum's vertical value range: its digit, 0 to 10
constexpr double kDrumBottom = 10.0;

constexpr MovingImageElement drum(int32_t x, MovingImageUpdate update) {
    return {.header = {.element_type = ELEMENT_MOVING_IMAGE,
                       .resource_id = 2360,
                       .position = {x, kDrumRow},
                       .failure_systems = kDisplayFailures,
                       .image_flags = kDrawTransparent},
            .source_var_x = {.id = 0},
            .min_x = 0.0,
            .max_x = 0.0,
            .source_var_y = {.id = 0},
            .min_y = kDrumTop,
            .max_y = kDrumBottom,
            .update_x_cb = nullptr,
            .update_y_cb = update};
}

constexpr int32_t kKnobRow = 42;
constexpr PIXPOINT kKnobPivot = {9, 9};
constexpr int32_t kKnobReach = 9;
static NONLINEARITY thousands_scale[] = DIGIT_KNOB_SCALE(132, kKnobRow, kKnobReach);
static NONLINEARITY hundreds_scale[] = DIGIT_KNOB_SCALE(189, kKnobRow, kKnobReach);
static NONLINEARITY tens_scale[] = DIGIT_KNOB_SCALE(246, kKnobRow, kKnobReach);
static NONLINEARITY ones_scale[] = DIGIT_KNOB_SCALE(303, kKnobRow, kKnobReach);

static IconElement mode_knob = icon(2350, {28, 31}, 5, mode_knob_cb);
static MovingImageElement thousands_drum = drum(126, drum_cb<kThousands>);
static MovingImageElement hundreds_drum = drum(182, drum_cb<kHundreds>);
static MovingImageElement tens_drum = drum(238, drum_cb<kTens>);
static MovingImageElement ones_drum = drum(294, drum_cb<kOnes>);
static NeedleElement thousands_knob =
    needle(2370, {132, kKnobRow}, kKnobPivot, digit_knob_cb<kThousands>, thousands_scale);
static NeedleElement hundreds_knob =
    needle(2370, {189, kKnobRow}, kKnobPivot, digit_knob_cb<kHundreds>, hundreds_scale);
static NeedleElement tens_knob = needle(2370, {246, kKnobRow}, kKnobPivot, digit_knob_cb<kTens>, tens_scale);
static NeedleElement ones_knob = needle(2370, {303, kKnobRow}, kKnobPivot, digit_knob_cb<kOnes>, ones_scale);
static IconElement reply_lamp = icon(1430, {110, 71}, 1, reply_lamp_cb, kLampFailures);

static ELEMENT_HEADER* children[] = {
    &mode_knob.header,      &thousands_drum.header, &hundreds_drum.header, &tens_drum.header,
    &ones_drum.header,      &thousands_knob.header, &hundreds_knob.header, &tens_knob.header,
    &ones_knob.header,      &reply_lamp.header,     nullptr};
static StaticImageElement panel = background(2340, children);
static ELEMENT_HEADER* root_list[] = {&panel.header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas


static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = kTooltipHelp},
    XPDR_AREA(8, 35, 16, 12, CURSOR_HAND, MOUSE_LEFTSINGLE, off_button<mode, kModes, sound>),
    XPDR_AREA(28, 17, 16, 12, CURSOR_HAND, MOUSE_LEFTSINGLE, on_button<mode, kModes, sound>),
    XPDR_AREA(50, 22, 16, 12, CURSOR_HAND, MOUSE_LEFTSINGLE, alt_button<mode, kModes, sound>),
    XPDR_DIGIT_HALVES(114, 33, 18, 57),
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL mode_knob_cb(IconElement*) { return mode; }

// Bit of a drum's draw flags that lights it: set while the unit is on, so the drums go dark
// with it while still turning with the simulator's code.
constexpr uint32_t kDrawLuminous = 0x4000;

template <Place P>
static double GAUGE_CALL drum_cb(MovingImageElement* e) {
    if (transponder_power_on)
        e->header.image_flags |= kDrawLuminous;
    else
        e->header.image_flags &= ~kDrawLuminous;
    return code_digit(decode_code(), P);
}

// ----------------------------------------------------------------------------------------------
// Gauge callback (the mode buttons and digit knobs are the shared transponder handlers)

static void GAUGE_CALL kt76a_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    mode_lifecycle(service, extra, mode, kModes, sound);
}

DEFINE_GAUGE(Bendix_KT76A_ATC, root_list, mouse_areas, kt76a_callback);
