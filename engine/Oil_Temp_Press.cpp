// Oil_Temp_Press — oil temperature (left) and oil pressure (right) needles on one dial.
// Reads:  0x231 oil temperature (degrees Rankine), 0x232 oil pressure (pounds per square foot).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4740, kBitmapNeedle = 4741, kBitmapBezel = 4742;  // one needle picture for both
constexpr PIXPOINT kPivot = {152, 147};
constexpr MOUSE_BOX kTemperatureHalf = {0, 0, 149, 300};  // a region of its own, with no action

// -50, -40, 40, 160 and 200 degrees Celsius.
static NONLINEARITY temperature_table[] = {
    {{96, 212}, 401.67}, {{96, 212}, 419.67}, {{68, 160}, 563.67}, {{96, 84}, 779.67}, {{96, 84}, 851.67},
};
// Descending: 200 psi at the top, 0 at the bottom.
static NONLINEARITY pressure_table[] = {
    {{209, 82}, 36000}, {{209, 82}, 28800}, {{209, 221}, 0}, {{209, 221}, -144},
};

static NeedleElement temperature = dial_needle(kBitmapNeedle, kPivot, kLongNeedle, 0x231, temperature_table);
static NeedleElement pressure = dial_needle(kBitmapNeedle, kPivot, kLongNeedle, 0x232, pressure_table);
DIAL_GAUGE(Oil_Temp_Press, kBitmapFace, kBitmapBezel, dial_areas(nullptr, kTemperatureHalf), nullptr,
           &temperature.header, &pressure.header);
