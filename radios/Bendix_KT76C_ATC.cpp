// Bendix_KT76C_ATC — transponder with a keypad, code entry and flight-level display.
// Reads:  0x26 squawk code, 0x49 altitude (m), 0x0A panel lights.
// Sends:  0x100B3 with the whole code: the fourth key typed, VFR 0x1200, CLR 0x8888 (power on).
// Keeps:  mode knob (OFF 0, ON 3, ALT 4; OFF at every install), the keypad entry (complete at
//         install, kept through power cycles), the shared transponder power flag and displayed
//         code; click sound, WAVE 30 (mode buttons only).
#include "module/click_sound.h"
#include "radios/transponder_records.h"

using namespace radio;
using namespace transponder;

constexpr Modes kModes = {.off = 0, .on = 3, .alt = 4};  // SBY 1 and TST 2 are never taken

// Keypad entry: how many digits are typed (0 cleared, 1 to 3 partial, 4 complete: the display
// shows the simulator's code), the digits, thousands first, and the partial value they make.
constexpr uint32_t kEntryCleared = 0;
constexpr uint32_t kEntryComplete = 4;
constexpr int kCodeDigits = 4;

struct KeypadEntry {
    uint32_t state;
    uint32_t digit[kCodeDigits];
    double partial;
};

static int32_t mode = kModes.off;  // mode-knob picture
static KeypadEntry entry = {.state = kEntryComplete, .digit = {}, .partial = 0.0};
static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order

static double GAUGE_CALL mode_knob_cb(IconElement* e);
static double GAUGE_CALL entry_cb(StringElement* e);
static double GAUGE_CALL flight_level_cb(StringElement* e);
static double GAUGE_CALL alt_legend_cb(StringElement* e);

constexpr uint32_t kLegendChars = 3;

static IconElement mode_knob = icon(3020, {283, 20}, 5, mode_knob_cb);
static StringElement entry_display = digits({172, 11}, {64, 26}, 4, kWeightBold, entry_cb, kDisplayFailures, kVarCode);
static StringElement flight_level =
    digits({69, 11}, {48, 26}, 3, kWeightBold, flight_level_cb, kDisplayFailures, kVarAltitudeM);
static StringElement fl_legend = digits({53, 23}, {16, 14}, kLegendChars, kWeightBold, fl_legend_cb, kDisplayFailures);
static StringElement alt_legend =
    digits({125, 14}, {24, 14}, kLegendChars, kWeightBold, alt_legend_cb, kDisplayFailures);
static IconElement reply_lamp = icon(3030, {17, 43}, 1, reply_lamp_cb, kLampFailures);
static IconElement display_mask = icon(3010, {44, 7}, 1, display_mask_cb);
static IconElement idt_backlight = icon(3040, {12, 19}, 1, backlight_cb, kLampFailures);
static IconElement keypad_backlight = icon(3050, {10, 65}, 1, backlight_cb, kLampFailures);

static ELEMENT_HEADER* children[] = {
    &mode_knob.header,   &entry_display.header, &flight_level.header,  &fl_legend.header,
    &alt_legend.header,  &reply_lamp.header,    &display_mask.header,  &idt_backlight.header,
    &keypad_backlight.header, nullptr};
static StaticImageElement panel = background(3000, children);
static ELEMENT_HEADER* root_list[] = {&panel.header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas

template <int Digit>
static int32_t GAUGE_CALL key(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL clear(MOUSE_POINT* point, uint32_t flags);
static int32_t GAUGE_CALL vfr(MOUSE_POINT* point, uint32_t flags);

constexpr int32_t kKeyRow = 65;
#define KEY_AREA(x, fn) XPDR_AREA(x, kKeyRow, 22, 12, CURSOR_HAND, MOUSE_LEFTSINGLE, fn)

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .help_id = kTooltipHelp},
    XPDR_AREA(265, 48, 21, 15, CURSOR_HAND, MOUSE_LEFTSINGLE, off_button<mode, kModes, sound>),
    XPDR_LABEL(265, 30, 21, 15),  // SBY
    XPDR_LABEL(275, 15, 21, 15),  // TST
    XPDR_AREA(297, 10, 21, 15, CURSOR_HAND, MOUSE_LEFTSINGLE, on_button<mode, kModes, sound>),
    XPDR_AREA(319, 20, 21, 15, CURSOR_HAND, MOUSE_LEFTSINGLE, alt_button<mode, kModes, sound>),
    KEY_AREA(10, key<0>),
    KEY_AREA(41, key<1>),
    KEY_AREA(72, key<2>),
    KEY_AREA(103, key<3>),
    KEY_AREA(134, key<4>),
    KEY_AREA(165, key<5>),
    KEY_AREA(196, key<6>),
    KEY_AREA(227, key<7>),
    KEY_AREA(268, clear),
    KEY_AREA(310, vfr),
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL mode_knob_cb(IconElement*) { return mode; }

// The entry as typed so far, underscores for the digits still to come; the simulator's code once
// complete. The code is decoded in every state, so the shared displayed code stays current.
static double GAUGE_CALL entry_cb(StringElement* e) {
    const double code = decode_code();
    char t[kScratch];
    int n = -1;
    switch (entry.state) {
    case kEntryCleared: n = std::snprintf(t, sizeof t, "____"); break;
    case 1: n = whole_number_text(t, sizeof t, entry.partial, 1, true, "", "___"); break;
    case 2: n = whole_number_text(t, sizeof t, entry.partial, 2, true, "", "__"); break;
    case 3: n = whole_number_text(t, sizeof t, entry.partial, 3, true, "", "_"); break;
    default: code_text(e->string, string_capacity(e), code); return 0.0;
    }
    fit_or_dashes(e->string, string_capacity(e), t, n);
    return 0.0;
}

static double GAUGE_CALL flight_level_cb(StringElement* e) {
    flight_level_text(e->string, string_capacity(e), e->source_var[0].var_value.n / kMetresPerFoot);
    return 0.0;
}

static double GAUGE_CALL alt_legend_cb(StringElement* e) {
    put_word(e->string, string_capacity(e), mode == kModes.alt ? "ALT" : "");
    return 0.0;
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers

// A digit key: starts a new entry after a complete one, and hands the simulator the code with the
// fourth digit.
template <int Digit>
static int32_t GAUGE_CALL key(MOUSE_POINT*, uint32_t) {
    if (!transponder_power_on) return 0;
    if (++entry.state > kEntryComplete) entry = {.state = 1, .digit = {}, .partial = 0.0};
    const uint32_t* d = entry.digit;
    entry.digit[entry.state - 1] = Digit;
    switch (entry.state) {
    case 1: entry.partial = d[0]; break;
    case 2: entry.partial = d[0] * 10 + d[1]; break;
    case 3: entry.partial = d[0] * 100 + d[1] * 10 + d[2]; break;
    default:
        transponder_code_shown = d[0] * 1000 + d[1] * 100 + d[2] * 10 + d[3];
        trigger_key_event(kEventSetCode, d[0] << 12 | d[1] << 8 | d[2] << 4 | d[3]);
        break;
    }
    return 0;
}

static int32_t GAUGE_CALL clear(MOUSE_POINT*, uint32_t) {
    if (!transponder_power_on) return 0;
    entry.state = kEntryCleared;
    trigger_key_event(kEventSetCode, kCodeCleared);
    return 0;
}

static int32_t GAUGE_CALL vfr(MOUSE_POINT*, uint32_t) {
    if (!transponder_power_on) return 0;
    trigger_key_event(kEventSetCode, kCodeVfr);
    entry.state = kEntryComplete;
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL kt76c_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    mode_lifecycle(service, extra, mode, kModes, sound);
    if (service == PANEL_SERVICE_PRE_INSTALL) entry.state = kEntryComplete;
}

DEFINE_GAUGE(Bendix_KT76C_ATC, root_list, mouse_areas, kt76c_callback);
