// Suction_Indicator — vacuum suction dial.
// Reads:  0x161 suction, inches of mercury (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4790, kBitmapNeedle = 4791, kBitmapBezel = 4792;

// The first and last rows bound the needle's travel.
static NONLINEARITY dial_table[] = {
    {{33, 101}, 0}, {{74, 40}, 3}, {{141, 97}, 5}, {{76, 155}, 7}, {{76, 155}, 8},
};

static NeedleElement needle = dial_needle(kBitmapNeedle, {82, 99}, kShortNeedle, 0x161, dial_table);
DIAL_GAUGE(Suction_Indicator, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &needle.header);
