// Fuel_Quantity — left and right main tank contents, gallons.
// Reads:  0x123 / 0x129 left / right main tank level (8388608 = full); at install 0x124 / 0x12A
//         the tank capacities, gallons.
// Sends:  nothing.
// Keeps:  fuel_capacity_left / fuel_capacity_right, taken at install (a capacity of 0 or less,
//         or infinite, leaves the stored one), read by the warning panel's low-fuel lights.
#include <cmath>
#include <iterator>

#include "engine/engine_state.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarLeftLevel = 0x123;
constexpr uint32_t kVarLeftCapacity = 0x124;
constexpr uint32_t kVarRightLevel = 0x129;
constexpr uint32_t kVarRightCapacity = 0x12A;
constexpr int32_t kBitmapFace = 4760;
constexpr int32_t kBitmapNeedle = 4761;  // both needles
constexpr int32_t kBitmapBezel = 4762;
constexpr PIXPOINT kNeedlePivot = {20, 6};  // needle picture 120 x 12, pointing right from its pivot
constexpr PIXPOINT kPivot = {152, 153};
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

// Gallons; the same table for both needles.
static const NONLINEARITY gallons_table[] = {
    {{57, 196}, -1}, {{57, 196}, 0}, {{96, 76}, 50}, {{215, 73}, 100}, {{248, 192}, 150}, {{248, 192}, 160},
};

static double GAUGE_CALL left_gallons(NeedleElement*);
static double GAUGE_CALL right_gallons(NeedleElement*);

static NeedleElement left_needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = kPivot, .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = kVarLeftLevel}, .update_cb = left_gallons,
    .nonlinearity_table = gallons_table, .nonlinearity_table_size = std::size(gallons_table),
};
static NeedleElement right_needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapNeedle, .position = kPivot, .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .source_var = {.id = kVarRightLevel}, .update_cb = right_gallons,
    .nonlinearity_table = gallons_table, .nonlinearity_table_size = std::size(gallons_table),
};
static StaticImageElement bezel = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapBezel, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&left_needle.header, &right_needle.header, &bezel.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra);
DEFINE_GAUGE(Fuel_Quantity, root_list, mouse_areas, gauge_callback);

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
    double left = token_value(kVarLeftCapacity), right = token_value(kVarRightCapacity);
    // An infinite capacity would stay with the module for good; it is refused like one of 0.
    if (left > 0.0 && std::isfinite(left)) fuel_capacity_left = left;
    if (right > 0.0 && std::isfinite(right)) fuel_capacity_right = right;
}
