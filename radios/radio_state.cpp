// The module-wide radio flags, all off when the module loads (see radio_state.h).
#include "radios/radio_state.h"

bool nav1_power_on = false;
bool nav2_power_on = false;
bool nav1_ident_on = false;
bool nav2_ident_on = false;
bool adf_power_on = false;

bool audio_panel_present = false;
bool audio_nav1_ident_active = false;
bool audio_nav2_ident_active = false;

bool transponder_power_on = false;
double transponder_code_shown = 0.0;
