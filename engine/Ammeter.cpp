// Ammeter — electrical load dial.
// Reads:  0x2EF electrical load, amperes (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4770, kBitmapNeedle = 4771, kBitmapBezel = 4772;

// The first and last rows bound the needle's travel.
static NONLINEARITY dial_table[] = {
    {{53, 88}, -300}, {{53, 88}, -200}, {{100, 72}, 0}, {{148, 88}, 200}, {{145, 88}, 300},
};

static NeedleElement needle = dial_needle(kBitmapNeedle, {99, 142}, kShortNeedle, 0x2EF, dial_table);
DIAL_GAUGE(Ammeter, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &needle.header);
