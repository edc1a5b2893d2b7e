// Gas_Generator_RPM — gas generator speed dial.
// Reads:  0x272 gas generator speed, percent (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4720, kBitmapNeedle = 4721, kBitmapBezel = 4722;

// The first and last rows bound the needle's travel.
static NONLINEARITY dial_table[] = {
    {{60, 166}, -1},  {{60, 166}, 0},    {{78, 85}, 40},    {{150, 54}, 80},  {{216, 77}, 90},
    {{242, 142}, 100}, {{220, 209}, 110}, {{202, 228}, 120}, {{202, 228}, 150},
};

static NeedleElement needle = dial_needle(kBitmapNeedle, {152, 145}, kLongNeedle, 0x272, dial_table);
DIAL_GAUGE(Gas_Generator_RPM, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &needle.header);
