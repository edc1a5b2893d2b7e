// Module-wide radio flags: the NAV and ADF power and identifier switches that the instruments
// read, and the audio panel's flags that govern the NAV identifier audio. Plain values at module
// scope, set when the module loads; every reader and writer runs on the host's panel thread.
#pragma once

extern bool nav1_power_on;  // NAV1 receiver switched on; read by HSI, CDI, RMI, DME, markers
extern bool nav2_power_on;  // NAV2 receiver switched on; read by the NAV2 CDIs, RMI, DME
extern bool nav1_ident_on;  // NAV1 knob pulled to IDENT (only while on); read by the audio panel
extern bool nav2_ident_on;  // NAV2 knob pulled to IDENT (only while on); read by the audio panel
extern bool adf_power_on;   // ADF receiver switched on; read by the RMI

extern bool audio_panel_present;      // an audio panel has been installed: it governs NAV ident audio
extern bool audio_nav1_ident_active;  // audio panel passes NAV1 ident audio (button in, ident on)
extern bool audio_nav2_ident_active;  // the same for NAV2

extern bool transponder_power_on;     // transponder on (ON or ALT), one flag for all three models
extern double transponder_code_shown;  // the squawk as decimal digits (0x1200 reads 1200)
