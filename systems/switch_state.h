// Positions the module keeps for the switches of the systems panel. They are set when the module
// loads and survive a gauge's kill and re-install; the warning panel reads several of them.
#pragma once

#include <cstdint>

// Three-position switches.
constexpr int32_t kAuxPumpBottom = 0;  // pump stopped
constexpr int32_t kAuxPumpMiddle = 1;
constexpr int32_t kAuxPumpTop = 2;
constexpr int32_t kIgnitionMiddle = 0;  // icon index: the picture order is middle, bottom, top
constexpr int32_t kIgnitionBottom = 1;
constexpr int32_t kIgnitionTop = 2;

inline bool pitot_heat_1_on = false;  // pitot heat switch 1; both pitot switches and the warning panel
inline bool pitot_heat_2_on = false;  // pitot heat switch 2; both pitot switches and the warning panel
inline bool inert_sep_on = false;     // inertial separator de-ice switch; warning panel
inline int32_t aux_pump_position = kAuxPumpBottom;  // auxiliary pump switch; starter, warning panel
inline int32_t ignition_position = kIgnitionBottom;  // ignition switch picture
inline bool ignition_armed = false;   // false only with the ignition switch at the bottom; starter, warning panel
inline bool wind_l_deice_on = false;  // left windshield de-ice switch; its lamp
inline bool wind_r_deice_on = false;  // right windshield de-ice switch; its lamp
inline bool deice_lights_test = false;  // the test button holds the four de-ice lamps lit
