// Load values of the switch positions until the switch units, which own them, define them;
// this file goes when they do.
#include "engine/engine_state.h"

bool pitot_heat_1_on = false;
bool pitot_heat_2_on = false;
bool inert_sep_on = false;
int32_t aux_pump_position = 0;
bool ignition_armed = false;
