// The cabin pressurization model the three pressurization gauges share; values from module load.
#pragma once

inline bool pressu_main_on = false;             // main switch
inline double cabin_setting = 0.0;              // selected cabin altitude, 0..10000 ft by 1000
inline double cabin_schedule_ceiling = 14500.0; // aircraft altitude at which the cabin reaches the setting
inline double aircraft_altitude_ft = 0.0;       // aircraft altitude as last read by the cabin needle
inline double cabin_altitude = 0.0;             // feet
inline double cabin_rate = 0.0;                 // ft/min
inline double cabin_diff_pressure = 0.0;        // psi

constexpr double kSeaLevelBandTop = 14500.0;   // the cabin stays at sea level up to here
constexpr double kCeilingPerSetting = 1800.0;  // ceiling feet per 1000 ft of setting
constexpr double kSettingStep = 1000.0;
constexpr double kSettingMax = 10000.0;
