// Load values of the receiver power flags until the radio units, which own them, define them;
// this file goes when they do.
#include "flight/instrument_shared.h"

bool nav1_power_on = false;
bool nav2_power_on = false;
bool adf_power_on = false;
