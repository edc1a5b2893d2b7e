// Bendix_KR21_OMI_Lights — outer, middle and inner marker-beacon lamps.
// Reads:  0x162 marker beacon (each lamp's source), 0x25C simulator time, nav1_power_on.
// Sends:  nothing.
// Keeps:  nothing; no gauge callback, no click area. A lamp flashes over its beacon, all three
//         in step, lit for the second half of each 0.51 s, and only while NAV1 is on.
#include <cmath>

#include "radios/radio_records.h"
#include "radios/radio_state.h"

using namespace radio;

constexpr uint32_t kVarMarker = 0x162;   // beacon overflown, 0 none
constexpr uint32_t kVarSimTime = 0x25C;  // seconds

enum Beacon : int { kOuter = 1, kMiddle = 2, kInner = 3 };

constexpr double kFlashPeriod = 0.51;  // seconds
constexpr double kFlashDark = 0.255;   // dark for the first part of each period

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order

template <Beacon B>
static double GAUGE_CALL lamp_cb(IconElement* e);

static FAILURE_RECORD kLampFailures[] = {{kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static IconElement outer_lamp = icon(1360, {62, 11}, 1, lamp_cb<kOuter>, kLampFailures, kVarMarker);
static IconElement middle_lamp = icon(1370, {91, 11}, 1, lamp_cb<kMiddle>, kLampFailures, kVarMarker);
static IconElement inner_lamp = icon(1380, {33, 11}, 1, lamp_cb<kInner>, kLampFailures, kVarMarker);

static ELEMENT_HEADER* children[] = {&outer_lamp.header, &middle_lamp.header, &inner_lamp.header, nullptr};
static StaticImageElement panel = background(1350, children);
static ELEMENT_HEADER* root_list[] = {&panel.header, nullptr};

// ----------------------------------------------------------------------------------------------
// Records: mouse areas (help only)

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = 0xAB50},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

// ----------------------------------------------------------------------------------------------
// Element callbacks

template <Beacon B>
static double GAUGE_CALL lamp_cb(IconElement* e) {
    if (!nav1_power_on) return -1.0;
    const bool lit_half = std::fmod(token_value(kVarSimTime), kFlashPeriod) > kFlashDark;
    return lit_half && e->source_var.var_value.n == double(B) ? 0.0 : -1.0;
}

DEFINE_GAUGE(Bendix_KR21_OMI_Lights, root_list, mouse_areas, nullptr);
