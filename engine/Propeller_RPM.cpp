// Propeller_RPM — propeller speed dial.
// Reads:  0x2BD propeller speed (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4730, kBitmapNeedle = 4731, kBitmapBezel = 4732;

// The first and last rows bound the needle's travel.
static NONLINEARITY dial_table[] = {
    {{61, 183}, -1}, {{61, 183}, 0}, {{133, 54}, 0.75}, {{241, 149}, 1.0}, {{222, 207}, 1.1}, {{222, 207}, 1.2},
};

static NeedleElement needle = dial_needle(kBitmapNeedle, {151, 151}, kLongNeedle, 0x2BD, dial_table);
DIAL_GAUGE(Propeller_RPM, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &needle.header);
