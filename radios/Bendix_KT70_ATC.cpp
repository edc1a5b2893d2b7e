// Bendix_KT70_ATC — transponder with four digit knobs, code and flight-level display.
// Reads:  0x26 squawk code, 0x0A panel lights, "(A:PRESSURE ALTITUDE,feet)".
// Sends:  digit up/down 0x10073-0x10076 / 0x10397-0x1039A, VFR 0x100B3 with 0x1200 (power on).
// Keeps:  mode knob (OFF 0, ON 4, ALT 5; OFF at every install), the shared transponder power
//         flag and displayed code; click sound, WAVE 30 (mode buttons only).
#include "module/click_sound.h"
#include "radios/transponder_records.h"

using namespace radio;
using namespace transponder;

constexpr Modes kModes = {.off = 0, .on = 4, .alt = 5};  // SBY 1, TST 2, GND 3 are never taken

static int32_t mode = kModes.off;  // mode-knob picture
static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order

static double GAUGE_CALL on_legend_cb(StringElement* e);
static double GAUGE_CALL alt_legend_cb(StringElement* e);
static double GAUGE_CALL code_cb(StringElement* e);
static double GAUGE_CALL flight_level_cb(StringElement* e);
static double GAUGE_CALL mode_knob_cb(IconElement* e);

constexpr int32_t kKnobRow = 66;
constexpr PIXPOINT kKnobPivot = {10, 10};
constexpr int32_t kKnobReach = 10;
static NONLINEARITY ones_scale[] = DIGIT_KNOB_SCALE(248, kKnobRow, kKnobReach);
static NONLINEARITY tens_scale[] = DIGIT_KNOB_SCALE(185, kKnobRow, kKnobReach);
static NONLINEARITY hundreds_scale[] = DIGIT_KNOB_SCALE(122, kKnobRow, kKnobReach);
static NONLINEARITY thousands_scale[] = DIGIT_KNOB_SCALE(59, kKnobRow, kKnobReach);

constexpr PIXPOINT kLegendBox = {16, 14};
constexpr uint32_t kLegendChars = 3;

static NeedleElement ones_knob = needle(3120, {248, kKnobRow}, kKnobPivot, digit_knob_cb<kOnes>, ones_scale);
static NeedleElement tens_knob = needle(3120, {185, kKnobRow}, kKnobPivot, digit_knob_cb<kTens>, tens_scale);
static NeedleElement hundreds_knob =
    needle(3120, {122, kKnobRow}, kKnobPivot, digit_knob_cb<kHundreds>, hundreds_scale);
static NeedleElement thousands_knob =
    needle(3120, {59, kKnobRow}, kKnobPivot, digit_knob_cb<kThousands>, thousands_scale);
static IconElement vfr_backlight = icon(3110, {295, 62}, 1, backlight_cb, kLampFailures);
static IconElement idt_backlight = icon(3100, {14, 17}, 1, backlight_cb, kLampFailures);
static StringElement fl_legend =
    digits({53, 25}, kLegendBox, kLegendChars, kWeightBold, fl_legend_cb, kDisplayFailures);
static StringElement on_legend =
    digits({167, 11}, kLegendBox, kLegendChars, kWeightBold, on_legend_cb, kDisplayFailures);
static StringElement alt_legend =
    digits({127, 11}, {24, 14}, kLegendChars, kWeightBold, alt_legend_cb, kDisplayFailures);
static StringElement code_display = digits({192, 11}, {64, 26}, 4, kWeightBold, code_cb, kDisplayFailures, kVarCode);
static StringElement flight_level = digits({69, 11}, {48, 26}, 3, kWeightBold, flight_level_cb, kDisplayFailures);
static IconElement mode_knob = icon(3080, {284, 14}, 6, mode_knob_cb);
static IconElement reply_lamp = icon(3090, {154, 68}, 1, reply_lamp_cb, kLampFailures);
static IconElement display_mask = icon(3070, {43, 5}, 1, display_mask_cb);

static ELEMENT_HEADER* children[] = {
    &ones_knob.header,  &tens_knob.header,    &hundreds_knob.header, &thousands_knob.header,
    &vfr_backlight.header, &idt_backlight.header, &fl_legend.header, &on_legend.header,
    &alt_legend.header, &code_display.header, &flight_level.header,  &mode_knob.header,
    &reply_lamp.header, &display_mask.header, nullptr};
static StaticImageElement panel = background(3060, children);
static ELEMENT_HEADER* root_list[] = {&panel.header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas

static int32_t GAUGE_CALL vfr(MOUSE_POINT* point, uint32_t flags);

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = kTooltipHelp},
    XPDR_AREA(265, 31, 21, 15, CURSOR_HAND, MOUSE_LEFTSINGLE, off_button<mode, kModes, sound>),
    XPDR_LABEL(268, 16, 21, 15),  // SBY
    XPDR_LABEL(273, 1, 21, 15),   // TST
    XPDR_AREA(317, 3, 21, 15, CURSOR_HAND, MOUSE_LEFTSINGLE, on_button<mode, kModes, sound>),
    XPDR_AREA(319, 18, 21, 15, CURSOR_HAND, MOUSE_LEFTSINGLE, alt_button<mode, kModes, sound>),
    XPDR_AREA(295, 62, 22, 12, CURSOR_HAND, MOUSE_LEFTSINGLE, vfr),
    XPDR_DIGIT_HALVES(39, 56, 20, 63),
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL on_legend_cb(StringElement* e) {
    put_word(e->string, string_capacity(e), mode == kModes.on ? "ON" : "");
    return 0.0;
}

static double GAUGE_CALL alt_legend_cb(StringElement* e) {
    put_word(e->string, string_capacity(e), mode == kModes.alt ? "ALT" : "");
    return 0.0;
}

static double GAUGE_CALL code_cb(StringElement* e) {
    code_text(e->string, string_capacity(e), decode_code());
    return 0.0;
}

static const char kPressureAltitude[] = "(A:PRESSURE ALTITUDE,feet)";

static double GAUGE_CALL flight_level_cb(StringElement* e) {
    double feet = 0.0;
    execute_calculator_code(kPressureAltitude, &feet, nullptr, nullptr);
    flight_level_text(e->string, string_capacity(e), feet);
    return 0.0;
}

static double GAUGE_CALL mode_knob_cb(IconElement*) { return mode; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL vfr(MOUSE_POINT*, uint32_t) {
    if (transponder_power_on) trigger_key_event(kEventSetCode, kCodeVfr);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL kt70_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    mode_lifecycle(service, extra, mode, kModes, sound);
}

DEFINE_GAUGE(Bendix_KT70_ATC, root_list, mouse_areas, kt70_callback);
