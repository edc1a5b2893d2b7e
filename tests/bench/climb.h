// A climb with panel lights on, so that most elements have something to show: the token values
// both frame benchmarks set.
#pragma once

#include <cstdint>
#include <utility>

inline constexpr std::pair<uint32_t, double> kClimb[] = {
    {0x0A, 1},      {0x2F1, 28},   {0x2F3, 28},     {0x3D, 140},   {0x4A, 6500},  {0x4B, 1013.25},
    {0x4C, 29.92},  {0x41, 1950},  {0x4E, -6},      {0x50, -12},   {0x54, 75},    {0x53, 75},
    {0x275, 0.42},  {0x277, 1700}, {0x272, 95},     {0x2BD, 0.95}, {0x231, 650},  {0x232, 15000},
    {0x17, 0x1995}, {0x269, 0x2120}, {0x356, 90},   {0x357, 80},   {0x351, -0.4}, {0x353, 1},
};
