// AP_Tester — diagnostic panel "AP Variables": the module's autopilot flags (LOC column) beside
// the simulator's autopilot tokens (FS column), with six numeric readouts.
// Reads:  the autopilot tokens of the rows and readouts below; AutopilotState.
// Sends:  nothing.
// Keeps:  nothing; no buttons, no gauge callback.
#include <cmath>

#include "autopilot/autopilot_state.h"
#include "module/gauge_unit.h"
#include "module/whole_number_text.h"

constexpr int32_t kBitmapFace = 4980;
constexpr int32_t kBitmapDot = 4981;  // every dot and the Captured lamp
constexpr int32_t kLocX = 54, kFsX = 83;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// LOC dots of rows that have no module flag read this one, which nothing sets.
static int32_t tester_unset_flag = 0;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL loc_dot(IconElement*);
static double GAUGE_CALL fs_dot(IconElement*);
static double GAUGE_CALL captured(IconElement*);
static double GAUGE_CALL readout(StringElement*);

struct LocDot {
    int32_t y;
    const int32_t* flag;
};
// In drawing order; the altitude-lock row has two: Select (armed) and Current (hold).
static const LocDot kLocDots[] = {
    {73, &tester_unset_flag},           {101, &autopilot_state.ap_powered}, {115, &tester_unset_flag},
    {129, &tester_unset_flag},          {157, &autopilot_state.ap_hdg_mode}, {185, &autopilot_state.ap_nav_mode},
    {199, &autopilot_state.ap_apr_mode}, {213, &tester_unset_flag},          {227, &autopilot_state.ap_bc_mode},
    {248, &autopilot_state.ap_alt_armed}, {262, &autopilot_state.ap_alt_hold}, {283, &tester_unset_flag},
    {311, &tester_unset_flag},          {325, &tester_unset_flag},          {353, &tester_unset_flag},
    {367, &tester_unset_flag},          {381, &tester_unset_flag},          {409, &tester_unset_flag},
    {423, &tester_unset_flag},
};
constexpr int kLocCount = sizeof kLocDots / sizeof kLocDots[0];

#define LOC(n) \
    {.header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapDot, .position = {kLocX, kLocDots[n].y}, \
                .image_flags = kDrawFlags},                                                                  \
     .scale = 1.0, .num_icons = 1, .update_cb = loc_dot}
static IconElement loc_dots[kLocCount] = {
    LOC(0),  LOC(1),  LOC(2),  LOC(3),  LOC(4),  LOC(5),  LOC(6),  LOC(7),  LOC(8),  LOC(9),
    LOC(10), LOC(11), LOC(12), LOC(13), LOC(14), LOC(15), LOC(16), LOC(17), LOC(18),
};
#undef LOC

#define FS(y, var)                                                                                 \
    {.header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapDot, .position = {kFsX, y},      \
                .image_flags = kDrawFlags},                                                        \
     .source_var = {.id = var}, .scale = 1.0, .num_icons = 1, .update_cb = fs_dot}
static IconElement fs_dots[] = {
    FS(73, 0x57),   FS(101, 0x67), FS(115, 0x72), FS(129, 0x318), FS(157, 0x6A), FS(185, 0x69),
    FS(199, 0x70),  FS(213, 0x6F), FS(227, 0x71), FS(255, 0x6C),  FS(283, 0x77), FS(311, 0x68),
    FS(325, 0x6E),  FS(353, 0x73), FS(367, 0x333), FS(381, 0x75), FS(409, 0x7B), FS(423, 0x7C),
};
#undef FS

static IconElement captured_lamp = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapDot, .position = {256, 255},
               .image_flags = kDrawFlags},
    .scale = 1.0, .num_icons = 1, .update_cb = captured,
};

#define READOUT(y, var)                                                                               \
    {.header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {34, y},                 \
                .image_flags = kDrawFlags},                                                           \
     .source_var = {{.id = var}}, .box = {60, 13}, .fg_color = 0x0000FF, .bg_color = 0x000000,         \
     .hilite_color = 0x00FFFF, .font_name = "Quartz", .font_weight = 400, .char_set = 1,               \
     .draw_text_flags = 0x25, .char_count = 6, .update_cb = readout}
static StringElement readouts[] = {
    READOUT(449, 0x6B), READOUT(463, 0x6D), READOUT(477, 0x78),
    READOUT(491, 0x74), READOUT(505, 0x76), READOUT(519, 0x7D),
};
#undef READOUT

// LOC dots, FS dots, the Captured lamp, then the readouts.
static ELEMENT_HEADER* panel_elements[] = {
    &loc_dots[0].header,  &loc_dots[1].header,  &loc_dots[2].header,  &loc_dots[3].header,  &loc_dots[4].header,
    &loc_dots[5].header,  &loc_dots[6].header,  &loc_dots[7].header,  &loc_dots[8].header,  &loc_dots[9].header,
    &loc_dots[10].header, &loc_dots[11].header, &loc_dots[12].header, &loc_dots[13].header, &loc_dots[14].header,
    &loc_dots[15].header, &loc_dots[16].header, &loc_dots[17].header, &loc_dots[18].header,
    &fs_dots[0].header,   &fs_dots[1].header,   &fs_dots[2].header,   &fs_dots[3].header,   &fs_dots[4].header,
    &fs_dots[5].header,   &fs_dots[6].header,   &fs_dots[7].header,   &fs_dots[8].header,   &fs_dots[9].header,
    &fs_dots[10].header,  &fs_dots[11].header,  &fs_dots[12].header,  &fs_dots[13].header,  &fs_dots[14].header,
    &fs_dots[15].header,  &fs_dots[16].header,  &fs_dots[17].header,
    &captured_lamp.header,
    &readouts[0].header,  &readouts[1].header,  &readouts[2].header,  &readouts[3].header,  &readouts[4].header,
    &readouts[5].header,  nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = panel_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Autopilot annunciator"},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(AP_Tester, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL loc_dot(IconElement* e) { return lamp(*kLocDots[e - loc_dots].flag != 0); }

static double GAUGE_CALL fs_dot(IconElement* e) { return lamp(e->source_var.var_value.n > 0.0); }

static double GAUGE_CALL captured(IconElement*) { return lamp(autopilot_state.ap_alt_captured != 0); }

// Right-aligned in six characters up to 99999: "%6.0f" from 10000, "  %4.0f" from 1000,
// "   %3.0f" below, cut to the element's six characters (so -500 reads "   -50"). The form is
// chosen on the value as it rounds, so 999.6 reads "  1000" rather than a cut "   100".
static double GAUGE_CALL readout(StringElement* e) {
    constexpr double kFiveDigits = 10000.0, kFourDigits = 1000.0;
    double v = e->source_var[0].var_value.n, shown = std::nearbyint(v);
    if (shown >= kFiveDigits) whole_number_text(e->string, string_capacity(e), v, 6, false);
    else if (shown >= kFourDigits) whole_number_text(e->string, string_capacity(e), v, 4, false, "  ");
    else whole_number_text(e->string, string_capacity(e), v, 3, false, "   ");
    return v;
}
