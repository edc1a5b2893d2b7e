// Voltmeter — bus voltage dial.
// Reads:  0x2F1 bus voltage, volts (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4780, kBitmapNeedle = 4781, kBitmapBezel = 4782;

// The first and last rows bound the needle's travel.
static NONLINEARITY dial_table[] = {
    {{44, 99}, -1}, {{44, 99}, 0}, {{52, 95}, 15}, {{146, 96}, 33}, {{146, 96}, 40},
};

static NeedleElement needle = dial_needle(kBitmapNeedle, {99, 142}, kShortNeedle, 0x2F1, dial_table);
DIAL_GAUGE(Voltmeter, kBitmapFace, kBitmapBezel, dial_areas("Voltmeter"), nullptr, &needle.header);
