// Fuel_Quantity — left and right main tank contents, gallons.
// Reads:  0x123 / 0x129 left / right main tank level (8388608 = full); at install 0x124 / 0x12A
//         the tank capacities, gallons.
// Sends:  nothing.
// Keeps:  fuel_capacity_left / fuel_capacity_right, taken at install (a capacity of 0 or less,
//         or infinite, leaves the stored one), read by the warning panel's low-fuel lights.
#include <cmath>

#include "engine/dial_gauge.h"

constexpr uint32_t kVarLeftLevel = 0x123;
constexpr uint32_t kVarLeftCapacity = 0x124;
constexpr uint32_t kVarRightLevel = 0x129;
constexpr uint32_t kVarRightCapacity = 0x12A;
constexpr int32_t kBitmapFace = 4760, kBitmapNeedle = 4761, kBitmapBezel = 4762;  // one needle picture for both
constexpr PIXPOINT kPivot = {152, 153};

// ----------------------------------------------------------------------------------------------
// Records

// Gallons; the same table for both needles.
static NONLINEARITY gallons_table[] = {
    {{57, 196}, -1}, {{57, 196}, 0}, {{96, 76}, 50}, {{215, 73}, 100}, {{248, 192}, 150}, {{248, 192}, 160},
};

static double GAUGE_CALL left_gallons(NeedleElement*);
static double GAUGE_CALL right_gallons(NeedleElement*);
static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra);

static NeedleElement left = dial_needle(kBitmapNeedle, kPivot, kLongNeedle, kVarLeftLevel, gallons_table, left_gallons);
static NeedleElement right =
    dial_needle(kBitmapNeedle, kPivot, kLongNeedle, kVarRightLevel, gallons_table, right_gallons);
DIAL_GAUGE(Fuel_Quantity, kBitmapFace, kBitmapBezel, dial_areas(), gauge_callback, &left.header, &right.header);

// ----------------------------------------------------------------------------------------------
// Element callbacks

// A product that overflows (absurd level and capacity together) rests the needle at 0, not at infinity.
static double gallons(double capacity, double level) {
    double g = capacity * level / kFullTankLevel;
    return std::isfinite(g) ? g : 0.0;
}
static double GAUGE_CALL left_gallons(NeedleElement* e) { return gallons(fuel_capacity_left, e->source_var.var_value.n); }
static double GAUGE_CALL right_gallons(NeedleElement* e) { return gallons(fuel_capacity_right, e->source_var.var_value.n); }

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra) {
    if (service != PANEL_SERVICE_PRE_INSTALL) return;
    double left_capacity = token_value(kVarLeftCapacity), right_capacity = token_value(kVarRightCapacity);
    // An infinite capacity would stay with the module for good; it is refused like one of 0.
    if (left_capacity > 0.0 && std::isfinite(left_capacity)) fuel_capacity_left = left_capacity;
    if (right_capacity > 0.0 && std::isfinite(right_capacity)) fuel_capacity_right = right_capacity;
}
