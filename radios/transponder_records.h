// What the three transponder units share: failure lists, the digit-knob scale, the ids of the
// simulator values and events, and the pieces of logic that behave alike in every model (code
// decoding, the display texts, the lamps and the mode buttons, each model with its own values).
#pragma once

#include <cmath>

#include "module/click_sound.h"
#include "module/whole_number_text.h"
#include "radios/radio_records.h"
#include "radios/radio_state.h"
#include "radios/radio_text.h"

namespace transponder {

constexpr uint32_t kVarCode = 0x26;       // squawk code, four BCD nibbles
constexpr uint32_t kVarAltitudeM = 0x49;  // altitude in metres (KT76C flight level)
constexpr uint32_t kTooltipHelp = 0x3180;
constexpr uint32_t kFailTransponder = 17;

constexpr uint32_t kEventSetCode = 0x100B3;  // parameter: the whole code as BCD
constexpr uint32_t kCodeVfr = 0x1200;
constexpr uint32_t kCodeCleared = 0x8888;  // what CLR hands the simulator

// Display strings and drums: blank without panel power or avionics; the transponder's own
// failure leaves them as they are.
inline FAILURE_RECORD kDisplayFailures[] = {{radio::kFailElectrical, FAIL_ACTION_NO_DRAW, 0},
                                                      {radio::kFailAvionics, FAIL_ACTION_NO_DRAW, 0},
                                                      {kFailTransponder, FAIL_ACTION_NONE, 0},
                                                      FAILURE_END};
// Reply lamps and backlit buttons: dark without avionics.
inline FAILURE_RECORD kLampFailures[] = {{radio::kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

constexpr int32_t kDigitUp = 0;    // knob value pointing straight up
constexpr int32_t kDigitDown = 8;  // straight down: 22.5 degrees per unit

// Mouse flags of the digit-knob halves: left click, repeating while held.
constexpr uint32_t kLeftRepeat = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

// ----------------------------------------------------------------------------------------------
// The code

enum Place : int { kOnes, kTens, kHundreds, kThousands };

// Reads the simulator's code, stores it as decimal digits in transponder_code_shown and returns
// it. The token value is taken as a 32-bit integer (NaN and values beyond that range read 0);
// each nibble becomes one decimal digit, so 0x1200 reads 1200 and 0x8888 reads 8888.
inline double decode_code() {
    const double raw = std::trunc(token_value(kVarCode));
    double v = raw >= -2147483648.0 && raw <= 2147483647.0 ? raw : 0.0;
    const double thousands = std::floor(v / 4096);
    v -= 4096 * thousands;
    const double hundreds = std::floor(v / 256);
    v -= 256 * hundreds;
    const double tens = std::floor(v / 16);
    v -= 16 * tens;
    transponder_code_shown = 1000 * thousands + 100 * hundreds + 10 * tens + v;
    return transponder_code_shown;
}

// One decimal digit of a decoded code.
inline double code_digit(double code, Place place) {
    switch (place) {
    case kThousands: return std::floor(code / 1000);
    case kHundreds: return std::floor((code - 1000 * std::floor(code / 1000)) / 100);
    case kTens: return std::floor((code - 100 * std::floor(code / 100)) / 10);
    case kOnes: break;
    }
    return code - 10 * std::floor(code / 10);
}

// A digit knob of the KT70 or KT76A: the knob turns to its digit of the simulator's code.
template <Place P>
double GAUGE_CALL digit_knob_cb(NeedleElement*) {
    return code_digit(decode_code(), P);
}

// ----------------------------------------------------------------------------------------------
// Display texts (always within the element's buffer: what does not fit shows dashes)

// Four digits with leading zeros, "%04.0f": 0x0012 shows "0012".
inline void code_text(char* out, size_t cap, double code) {
    char t[radio::kScratch];
    int n = -1;
    if (std::isfinite(code) && std::fabs(code) < 1e9) n = whole_number_text(t, sizeof t, code, 4, true);
    radio::fit_or_dashes(out, cap, t, n);
}

constexpr double kFeetPerLevel = 100.0;
constexpr double kLevelRoundUp = 50.0;  // from 50 ft past a hundred the level rounds up
constexpr double kMetresPerFoot = 0.3048;

// Altitude in hundreds of feet, halves rounding up: 4 449 ft is 44, 4 450 ft is 45, -30 ft is 0.
inline double flight_level_of(double feet) {
    const double hundreds = std::floor(feet / kFeetPerLevel);
    const double r = feet - kFeetPerLevel * hundreds;
    return (r < kLevelRoundUp ? hundreds : hundreds + 1) + 0.0;  // + 0.0: no "-00"
}

// "%03.0f" of the flight level: "044", "-01" a little below sea level.
inline void flight_level_text(char* out, size_t cap, double feet) {
    char t[radio::kScratch];
    int n = -1;
    if (std::isfinite(feet) && std::fabs(feet) < 1e9) n = whole_number_text(t, sizeof t, flight_level_of(feet), 3, true);
    radio::fit_or_dashes(out, cap, t, n);
}

inline double GAUGE_CALL fl_legend_cb(StringElement* e) {
    radio::put_word(e->string, string_capacity(e), "FL");
    return 0.0;
}

// ----------------------------------------------------------------------------------------------
// Lamps, masks and backlighting: the same in every model

inline double GAUGE_CALL reply_lamp_cb(IconElement*) { return transponder_power_on ? 0.0 : -1.0; }
inline double GAUGE_CALL display_mask_cb(IconElement*) { return transponder_power_on ? -1.0 : 0.0; }
inline double GAUGE_CALL backlight_cb(IconElement*) {
    return transponder_power_on && token_value(radio::kVarPanelLights) > 0 ? 0.0 : -1.0;
}

// ----------------------------------------------------------------------------------------------
// Mode buttons, with the model's own mode numbers

struct Modes {
    int32_t off;
    int32_t on;
    int32_t alt;
};

// OFF: switches the unit off with a click; nothing happens while it is already off.
inline void press_off(int32_t& mode, const Modes& m, ClickSound& sound) {
    if (!transponder_power_on) return;
    mode = m.off;
    click_sound_play(sound);
    transponder_power_on = false;
}

// ON or ALT (`target`): switches the unit on into `target`, or turns it from `other` to `target`;
// each change clicks, a press on the mode already set does nothing.
inline void press_mode(int32_t& mode, int32_t target, int32_t other, ClickSound& sound) {
    if (!transponder_power_on) {
        mode = target;
        click_sound_play(sound);
        transponder_power_on = true;
    }
    if (transponder_power_on && mode == other) {
        mode = target;
        click_sound_play(sound);
    }
}

// The OFF, ON and ALT buttons of one model, bound to its mode knob, mode numbers and click.
template <int32_t& Mode, const Modes& M, ClickSound& Sound>
int32_t GAUGE_CALL off_button(MOUSE_POINT*, uint32_t) {
    press_off(Mode, M, Sound);
    return 0;
}

template <int32_t& Mode, const Modes& M, ClickSound& Sound>
int32_t GAUGE_CALL on_button(MOUSE_POINT*, uint32_t) {
    press_mode(Mode, M.on, M.alt, Sound);
    return 0;
}

template <int32_t& Mode, const Modes& M, ClickSound& Sound>
int32_t GAUGE_CALL alt_button(MOUSE_POINT*, uint32_t) {
    press_mode(Mode, M.alt, M.on, Sound);
    return 0;
}

// Install and kill, the same on every model: each install switches the shared power off and its
// own knob to OFF.
inline void mode_lifecycle(int32_t service, GaugeExtra extra, int32_t& mode, const Modes& m, ClickSound& sound) {
    if (service == PANEL_SERVICE_PRE_INSTALL) {
        transponder_power_on = false;
        mode = m.off;
        click_sound_open(sound, extra, kWaveButtonClick);
    }
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}

// Digit knob halves of the KT70 and KT76A: the digit's event, only while the unit is on.
template <uint32_t Event>
int32_t GAUGE_CALL digit_step(MOUSE_POINT*, uint32_t) {
    if (transponder_power_on) trigger_key_event(Event, 0);
    return 0;
}

}  // namespace transponder

// A digit knob's two-point scale: `reach` pixels above the pivot at 0, below it at 8.
#define DIGIT_KNOB_SCALE(x, y, reach) \
    {{{x, (y) - (reach)}, transponder::kDigitUp}, {{x, (y) + (reach)}, transponder::kDigitDown}}

// A click area of a transponder (the handler last, so a template's commas need no parentheses).
#define XPDR_AREA(x, y, w, h, cur, fl, ...) \
    {.kind = MOUSE_CHILD, .box = {x, y, w, h}, .cursor = cur, .help_id = 0, .mouse_flags = fl, .handler = __VA_ARGS__}
// The eight digit-knob halves of the KT70 and KT76A, thousands to ones: down on the left half,
// up on the right, each half `size` square, knobs `pitch` apart from the first at `x`.
#define XPDR_DIGIT_HALVES(x, y, size, pitch)                                                               \
    XPDR_AREA(x, y, size, size, CURSOR_DOWNARROW, kLeftRepeat, digit_step<0x10397>),                       \
    XPDR_AREA((x) + (size), y, size, size, CURSOR_UPARROW, kLeftRepeat, digit_step<0x10073>),              \
    XPDR_AREA((x) + (pitch), y, size, size, CURSOR_DOWNARROW, kLeftRepeat, digit_step<0x10398>),           \
    XPDR_AREA((x) + (pitch) + (size), y, size, size, CURSOR_UPARROW, kLeftRepeat, digit_step<0x10074>),    \
    XPDR_AREA((x) + 2 * (pitch), y, size, size, CURSOR_DOWNARROW, kLeftRepeat, digit_step<0x10399>),       \
    XPDR_AREA((x) + 2 * (pitch) + (size), y, size, size, CURSOR_UPARROW, kLeftRepeat, digit_step<0x10075>),\
    XPDR_AREA((x) + 3 * (pitch), y, size, size, CURSOR_DOWNARROW, kLeftRepeat, digit_step<0x1039A>),       \
    XPDR_AREA((x) + 3 * (pitch) + (size), y, size, size, CURSOR_UPARROW, kLeftRepeat, digit_step<0x10076>)
// An area that shows a hand over a knob label and does nothing.
#define XPDR_LABEL(x, y, w, h) \
    {.kind = MOUSE_CHILD, .box = {x, y, w, h}, .cursor = CURSOR_HAND, .help_id = 0, .mouse_flags = MOUSE_LEFTSINGLE}
