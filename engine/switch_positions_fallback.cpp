// Load values of the switch positions for builds without the switch units. The switch gauges
// define the same variables; theirs take precedence over these weak ones.
#include "engine/engine_state.h"

[[gnu::weak]] bool pitot_heat_1_on = false;
[[gnu::weak]] bool pitot_heat_2_on = false;
[[gnu::weak]] bool inert_sep_on = false;
[[gnu::weak]] int32_t aux_pump_position = 0;
[[gnu::weak]] bool ignition_armed = false;
