// Fuel_Pressure — fuel pressure dial.
// Reads:  0x383 fuel pressure, pounds per square foot, 25 and 50 psi marked (the needle's
//         source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4750, kBitmapNeedle = 4751, kBitmapBezel = 4752;

// The first and last rows bound the needle's travel.
static NONLINEARITY dial_table[] = {
    {{67, 121}, -1}, {{67, 121}, 0}, {{147, 90}, 3600}, {{217, 122}, 7200}, {{217, 122}, 7200},
};

static NeedleElement needle = dial_needle(kBitmapNeedle, {149, 212}, kLongNeedle, 0x383, dial_table);
DIAL_GAUGE(Fuel_Pressure, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &needle.header);
