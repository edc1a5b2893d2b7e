// Torque — engine torque dial.
// Reads:  0x275 engine torque (the needle's source; the host places it by the table).
// Sends:  nothing.
// Keeps:  nothing.
#include "engine/dial_gauge.h"

constexpr int32_t kBitmapFace = 4700, kBitmapNeedle = 4701, kBitmapBezel = 4702;

// The first and last rows bound the needle's travel.
static NONLINEARITY dial_table[] = {
    {{75, 204}, -0.04818181818181819}, {{62, 188}, 0},
    {{242, 154}, 0.4818181818181818},  {{227, 219}, 0.5781818181818181},
    {{227, 219}, 0.7227272727272727},
};

static NeedleElement needle = dial_needle(kBitmapNeedle, {151, 156}, kLongNeedle, 0x275, dial_table);
DIAL_GAUGE(Torque, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &needle.header);
