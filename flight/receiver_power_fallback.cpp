// Load values of the receiver power flags for builds without the radio units. The radios define
// the same flags; theirs take precedence over these weak ones.
#include "flight/instrument_shared.h"

[[gnu::weak]] bool nav1_power_on = false;
[[gnu::weak]] bool nav2_power_on = false;
[[gnu::weak]] bool adf_power_on = false;
