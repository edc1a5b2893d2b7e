// Cabin_Altimeter — cabin altitude, cabin rate of climb and differential pressure; its needles
// run the cabin pressurization model every update.
// Reads:  0x4A indicated altitude, 0x14F units setting (2: metres), 0x41 vertical speed
//         (m/s × 256), 0x364 door open; pressu_main_on, cabin_setting, cabin_schedule_ceiling.
// Sends:  nothing.
// Keeps:  aircraft_altitude_ft, cabin_altitude, cabin_rate, cabin_diff_pressure, and moves
//         cabin_schedule_ceiling up while the aircraft climbs past it (to 32000 ft).
#include <cmath>
#include <iterator>

#include "engine/cabin_pressure.h"
#include "flight/instrument_shared.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarAltitude = 0x4A;
constexpr uint32_t kVarUnits = 0x14F;
constexpr uint32_t kVarVerticalSpeed = 0x41;
constexpr uint32_t kVarDoorOpen = 0x364;
constexpr int32_t kUnitsMetres = 2;
constexpr double kMetresPerFoot = 0.305;
constexpr double kVerticalSpeedDivisor = 78.08;  // ft/min = value × 60 / 78.08
constexpr double kSecondsPerMinute = 60.0;
constexpr double kHighestCeiling = 32000.0;
constexpr double kFeetPerPsi = 1929.2000000000003;
constexpr double kMaxDiffPressure = 6.2;

constexpr int32_t kBitmapFace = 4820;
constexpr int32_t kBitmapRateNeedle = 4821;
constexpr int32_t kBitmapAltitudeNeedle = 4822;
constexpr int32_t kBitmapDiffNeedle = 4823;
constexpr PIXPOINT kNeedlePivot = {20, 6};  // needle pictures 120 x 12, pointing right from their pivot
constexpr PIXPOINT kPivot = {153, 145};
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static NONLINEARITY rate_table[] = {
    {{107, 244}, -8000}, {{107, 244}, -2000}, {{55, 202}, -1000}, {{42, 145}, 0},
    {{59, 91}, 1000},    {{107, 47}, 2000},   {{107, 47}, 8000},
};
static NONLINEARITY altitude_table[] = {
    {{153, 62}, -1},     {{153, 62}, 0},      {{236, 142}, 7000}, {{226, 189}, 10000}, {{167, 229}, 15000},
    {{114, 219}, 20000}, {{81, 189}, 25000},  {{70, 145}, 30000}, {{70, 145}, 40000},
};
static NONLINEARITY diff_table[] = {
    {{153, 35}, -1}, {{153, 35}, 0}, {{263, 124}, 6.2}, {{262, 141}, 7}, {{262, 141}, 8},
};

static double GAUGE_CALL rate_needle(NeedleElement*);
static double GAUGE_CALL altitude_needle(NeedleElement*);
static double GAUGE_CALL diff_needle(NeedleElement*);

static NeedleElement rate = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapRateNeedle, .position = kPivot,
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = kVarVerticalSpeed}, .nonlinearity_table = rate_table,
    .nonlinearity_table_size = std::size(rate_table), .update_cb = rate_needle,
};
static NeedleElement altitude = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapAltitudeNeedle, .position = kPivot,
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = kVarAltitude}, .nonlinearity_table = altitude_table,
    .nonlinearity_table_size = std::size(altitude_table), .update_cb = altitude_needle,
};
static NeedleElement diff = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapDiffNeedle, .position = kPivot,
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .nonlinearity_table = diff_table,
    .nonlinearity_table_size = std::size(diff_table), .update_cb = diff_needle,
};
// The rate needle is drawn first and so works from the aircraft altitude of the previous update.
static ELEMENT_HEADER* dial_elements[] = {&rate.header, &altitude.header, &diff.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Pressurized cabin altitude"},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Cabin_Altimeter, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static bool door_open() { return token_value(kVarDoorOpen) != 0.0; }

// The share of the selected cabin altitude reached between the sea-level band and the ceiling.
static double schedule_share(double a) {
    return (a - kSeaLevelBandTop) * cabin_setting / (cabin_schedule_ceiling - kSeaLevelBandTop);
}

// A reading that is not a number (or past a double in feet) is skipped: the model keeps its last
// state rather than carrying the bad value into later frames, where the cabin keeps its altitude
// at the ceiling.
static double GAUGE_CALL altitude_needle(NeedleElement* e) {
    double a = e->source_var.var_value.n;
    if (token_as_int(token_value(kVarUnits)) == kUnitsMetres) a /= kMetresPerFoot;
    if (!std::isfinite(a)) return cabin_altitude;
    aircraft_altitude_ft = a;
    if (a > cabin_schedule_ceiling && a <= kHighestCeiling) cabin_schedule_ceiling = a;
    if (door_open())
        cabin_altitude = a;
    else if (!pressu_main_on || a <= kSeaLevelBandTop)
        cabin_altitude = 0.0;
    else if (a < cabin_schedule_ceiling)
        cabin_altitude = schedule_share(a);
    else if (a > cabin_schedule_ceiling)
        cabin_altitude = cabin_setting;
    return cabin_altitude;  // at the ceiling itself the cabin keeps its value
}

static double GAUGE_CALL rate_needle(NeedleElement* e) {
    double v = e->source_var.var_value.n * kSecondsPerMinute / kVerticalSpeedDivisor;
    if (!std::isfinite(v)) return cabin_rate;  // skipped as the altitude is
    double a = aircraft_altitude_ft;
    if (door_open())
        cabin_rate = v;
    else if (!pressu_main_on || a <= kSeaLevelBandTop || a > cabin_schedule_ceiling)
        cabin_rate = 0.0;
    else if (a < cabin_schedule_ceiling)
        cabin_rate = v * cabin_setting / (cabin_schedule_ceiling - kSeaLevelBandTop);
    return cabin_rate;
}

static double GAUGE_CALL diff_needle(NeedleElement*) {
    cabin_diff_pressure = std::fabs(cabin_altitude - aircraft_altitude_ft) / kFeetPerPsi;
    if (cabin_diff_pressure > kMaxDiffPressure) cabin_diff_pressure = kMaxDiffPressure;
    return pressu_main_on ? cabin_diff_pressure : 0.0;
}
