// Needle turns through scale tables, in degrees clockwise on screen from +x: the pointers that
// turn on past a two-row table, dials that sweep across the left (±180 degrees), and stops.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bench/render/renderer.h"

using namespace bench;

namespace {

// Where a two-row table's pointer turns on past its last row is checked drawn, on the altimeter,
// in render_needles_test; values too large to turn by stay at a row instead of drawing nothing.
TEST(NeedleTable, TwoRowTableTurnsOnButNotToInfinity) {
    const NONLINEARITY rows[] = {{{153, 100}, 0}, {{153, 200}, 500}};
    EXPECT_TRUE(std::isfinite(table_rotation(rows, 2, {153, 150}, std::numeric_limits<double>::infinity())));
}

TEST(NeedleTable, DialSweepingAcrossTheLeftUnwrapsAndStops) {
    // The suction gauge: 0 left, 3 up, 5 right, 7 down; 8 repeats 7 as the stop.
    const NONLINEARITY rows[] = {{{33, 101}, 0}, {{74, 40}, 3}, {{141, 97}, 5}, {{76, 155}, 7}, {{76, 155}, 8}};
    PIXPOINT pivot = {82, 99};
    double left = table_rotation(rows, 5, pivot, 0), down = table_rotation(rows, 5, pivot, 7);
    EXPECT_GT(down - left, 250);  // about three quarters clockwise, not a quarter back
    EXPECT_LT(down - left, 300);
    EXPECT_NEAR(table_rotation(rows, 5, pivot, 9), down, 1e-9);
    EXPECT_NEAR(table_rotation(rows, 5, pivot, -1), left, 1e-9);
    double mid = table_rotation(rows, 5, pivot, 6);
    EXPECT_GT(mid, table_rotation(rows, 5, pivot, 5));
    EXPECT_LT(mid, down);
}

TEST(NeedleTable, RepeatedRowsAndOddInputs) {
    // Stops written as repeated rows (-1 and 0 at one point) and a descending table.
    const NONLINEARITY rows[] = {{{209, 82}, 36000}, {{209, 82}, 28800}, {{209, 221}, 0}, {{209, 221}, -144}};
    PIXPOINT pivot = {152, 147};
    double top = table_rotation(rows, 4, pivot, 28800), bottom = table_rotation(rows, 4, pivot, 0);
    EXPECT_NEAR(table_rotation(rows, 4, pivot, 40000), top, 1e-9);
    EXPECT_NEAR(table_rotation(rows, 4, pivot, -5000), bottom, 1e-9);
    EXPECT_NEAR(table_rotation(rows, 4, pivot, 14400), (top + bottom) / 2, 1e-9);
    EXPECT_NEAR(table_rotation(rows, 4, pivot, std::nan("")), table_rotation(rows, 4, pivot, 36000), 1e-9);
    EXPECT_EQ(table_rotation(nullptr, 0, pivot, 5), 0);
    EXPECT_EQ(table_rotation(rows, 1, pivot, 5), table_rotation(rows, 1, pivot, -5));
}

TEST(PanelScale, WidthAndHeightOrWidthKeepingTheAspect) {
    double sx = 0, sy = 0;
    fit_scale(300, 150, 150, 0, sx, sy);
    EXPECT_DOUBLE_EQ(sx, 0.5);
    EXPECT_DOUBLE_EQ(sy, 0.5);
    fit_scale(300, 150, 150, 150, sx, sy);
    EXPECT_DOUBLE_EQ(sy, 1.0);
}

}  // namespace
