// Bendix_KR21_OMI_Lights — outer, middle and inner marker-beacon lamps.
// Reads:  0x162 marker beacon (each lamp's source), 0x25C simulator time, nav1_power_on.
// Sends:  nothing.
// Keeps:  nothing; no gauge callback, no click area. The records are complete; the flashing
//         logic is still to come, so the lamps stay dark.
#include "radios/radio_records.h"

using namespace radio;

constexpr uint32_t kVarMarker = 0x162;

// ----------------------------------------------------------------------------------------------
// Records: elements in drawing order

static double GAUGE_CALL lamp_cb(IconElement* e);

static const FAILURE_RECORD kLampFailures[] = {{kFailAvionics, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static IconElement outer_lamp = icon(1360, {62, 11}, 1, lamp_cb, kLampFailures, kVarMarker);
static IconElement middle_lamp = icon(1370, {91, 11}, 1, lamp_cb, kLampFailures, kVarMarker);
static IconElement inner_lamp = icon(1380, {33, 11}, 1, lamp_cb, kLampFailures, kVarMarker);

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

static double GAUGE_CALL lamp_cb(IconElement*) { return -1.0; }

DEFINE_GAUGE(Bendix_KR21_OMI_Lights, root_list, mouse_areas, nullptr);
