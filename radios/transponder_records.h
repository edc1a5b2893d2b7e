// Record pieces the three transponder units share: failure lists, the digit-knob scale and the
// ids of the simulator values and events the transponders use.
#pragma once

#include "radios/radio_records.h"
#include "radios/radio_text.h"

namespace transponder {

constexpr uint32_t kVarCode = 0x26;       // squawk code, four BCD nibbles
constexpr uint32_t kVarAltitudeM = 0x49;  // altitude in metres (KT76C flight level)
constexpr uint32_t kTooltipHelp = 0x3180;
constexpr uint32_t kFailTransponder = 17;

// Display strings and drums: blank without panel power or avionics; the transponder's own
// failure leaves them as they are.
inline constexpr FAILURE_RECORD kDisplayFailures[] = {{radio::kFailElectrical, FAIL_ACTION_NO_DRAW, 0},
                                                      {radio::kFailAvionics, FAIL_ACTION_NO_DRAW, 0},
                                                      {kFailTransponder, FAIL_ACTION_NONE, 0},
                                                      FAILURE_END};
// Reply lamps and backlit buttons: dark without avionics.
inline constexpr FAILURE_RECORD kLampFailures[] = {{radio::kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

constexpr int32_t kDigitUp = 0;    // knob value pointing straight up
constexpr int32_t kDigitDown = 8;  // straight down: 22.5 degrees per unit

// Mouse flags of the digit-knob halves: left click, repeating while held.
constexpr uint32_t kLeftRepeat = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

}  // namespace transponder

// A digit knob's two-point scale: `reach` pixels above the pivot at 0, below it at 8.
#define DIGIT_KNOB_SCALE(x, y, reach) \
    {{{x, (y) - (reach)}, transponder::kDigitUp}, {{x, (y) + (reach)}, transponder::kDigitDown}}

// A click area of a transponder.
#define XPDR_AREA(x, y, w, h, cur, fl, fn) \
    {.kind = MOUSE_CHILD, .box = {x, y, w, h}, .cursor = cur, .help_id = 0, .mouse_flags = fl, .handler = fn}
// An area that shows a hand over a knob label and does nothing.
#define XPDR_LABEL(x, y, w, h) \
    {.kind = MOUSE_CHILD, .box = {x, y, w, h}, .cursor = CURSOR_HAND, .help_id = 0, .mouse_flags = MOUSE_LEFTSINGLE}
