// AutopilotState: the autopilot's own view of its modes, shared by the mode controller, the
// altitude selector, the annunciator and tester, and the autopilot power switch. Zero at load.
#pragma once

#include <cstdint>

struct AutopilotState {
    int32_t ap_powered;           // powered and power-up test finished; gates every button
    int32_t ap_power_test;        // power-up test running
    int32_t ap_power_test_count;  // update cycles left in the power-up test
    int32_t ap_test_active;       // TEST button lamp test running
    int32_t ap_test_count;        // update cycles left in the lamp test
    int32_t ap_alt_hold;          // module altitude-hold mode
    int32_t ap_alt_armed;         // altitude preselect armed
    int32_t ap_vs_mode;           // vertical-speed mode
    int32_t ap_alt_captured;      // preselected altitude captured
    int32_t ap_hdg_mode;          // heading mode
    int32_t ap_nav_mode;          // NAV mode
    int32_t ap_apr_mode;          // approach mode
    int32_t ap_bc_mode;           // back-course mode
    int32_t ap_ias_mode;          // airspeed-hold mode
    double ap_alt_target;         // module copy of the altitude target, feet
    double ap_vs_target;          // module copy of the vertical-speed target, ft/min
};

inline AutopilotState autopilot_state = {};

// Powered with no mode of its own engaged (capture does not count): the buttons then fall back
// to attitude hold.
inline bool no_mode_active() {
    const AutopilotState& s = autopilot_state;
    return s.ap_powered && !s.ap_alt_hold && !s.ap_alt_armed && !s.ap_ias_mode && !s.ap_vs_mode && !s.ap_hdg_mode &&
           !s.ap_nav_mode && !s.ap_apr_mode && !s.ap_bc_mode;
}

// Lamps and legends: lit (first picture) or dark.
constexpr double kLampLit = 0.0;
constexpr double kLampDark = -1.0;
inline double lamp(bool lit) { return lit ? kLampLit : kLampDark; }
