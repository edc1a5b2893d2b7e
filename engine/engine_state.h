// Module-wide state of the engine folder that other gauges read, with its load values.
#pragma once

#include <cstdint>

inline double fuel_capacity_left = 0.0;   // gallons; set when Fuel_Quantity installs; low-fuel lights
inline double fuel_capacity_right = 0.0;  // gallons; the same for the right tank

// Values delivered by the tank-level tokens for a full tank.
constexpr double kFullTankLevel = 8388608.0;

// The display-digit colours most readouts share.
constexpr uint32_t kDigitRed = 0x0000FF;
constexpr uint32_t kDigitHighlight = 0x00FFFF;
constexpr uint32_t kDigitBackground = 0x000000;
constexpr uint32_t kTextCentredSingleLine = 0x25;

// Degrees Rankine to degrees Celsius, as the turbine temperature readouts convert them.
inline double rankine_to_celsius(double r) { return (r - 459.67 - 32.0) * 0.5555555555555556; }
