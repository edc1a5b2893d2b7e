// Systems panel gauges loaded as the host loads them: readings no scenario can write (NaN,
// infinities) must not stick in a smoothed value or turn into a picture index that does not exist.
// Also the bench simulator's starter, whose memory must belong to one simulator.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <new>

#include "bench/host.h"
#include "tests/unit/module_host_test.h"

using namespace bench;

namespace {

using SystemsGauges = ModuleHostTest;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST_F(SystemsGauges, FlapsIndicatorSkipsReadingsThatAreNotNumbers) {
    Placement* p = install("Flaps_Position");
    host.sim.set(0x14A, 8000);
    host.frame();
    ASSERT_DOUBLE_EQ(p->elements[1].value[0], 1000);
    for (double bad : {kNaN, kInf, -kInf}) {
        host.sim.set(0x14A, bad);
        host.frame();
        EXPECT_DOUBLE_EQ(p->elements[1].value[0], 1000);
    }
    host.sim.set(0x14A, 0);
    host.frame();
    EXPECT_DOUBLE_EQ(p->elements[1].value[0], 875);
}

TEST_F(SystemsGauges, TrimWheelAlwaysShowsOneOfItsFourPictures) {
    Placement* p = install("Pitch_Trim_Wheel");
    for (double trim : {kNaN, kInf, -kInf, -1.2, -1e6, 1e300, -0.5, 0.52}) {
        host.sim.set(0x30F, trim);
        host.frame();
        int index = icon_index(p->elements[1]);
        EXPECT_GE(index, 0) << trim;
        EXPECT_LE(index, 3) << trim;
    }
}

TEST_F(SystemsGauges, TrimSwitchRecoversFromReadingsThatAreNotNumbers) {
    Placement* p = install("Throttle_Quadrant");
    host.sim.set(0x311, kNaN);
    for (int i = 0; i < 3; ++i) host.frame();
    EXPECT_EQ(icon_index(p->elements[4]), 0);
    host.sim.set(0x311, 0.01);
    host.frame();
    host.sim.set(0x311, 0.02);
    host.frame();
    EXPECT_EQ(icon_index(p->elements[4]), 2);
}

TEST_F(SystemsGauges, LeverSettingsStayWithinTheTravelWhereverTheDragGoes) {
    Placement* p = install("Throttle_Quadrant");
    host.click(p, 50, 50, MOUSE_LEFTSINGLE, 0);
    for (int32_t y : {-1000000000, -1, 0, 1, 95, 189, 190, 1000000000}) {
        host.sim.events.clear();
        host.drag(p, 50, y);
        ASSERT_EQ(host.sim.events.size(), 1u);
        EXPECT_EQ(host.sim.events[0].id, 0x1011Cu);
        EXPECT_LE(host.sim.events[0].param, 16384u) << y;
    }
}

// The simulator's starter stays engaged while starter events keep coming and drops out after a
// frame without one. What it remembers belongs to one simulator: a new simulator built where an
// old one stood must not inherit it and release a starter that was set by hand.
TEST(SystemsSimulator, StarterStateBelongsToItsSimulator) {
    constexpr uint32_t kStarter = 0x233, kStarterEvent = 0x102FC;
    alignas(SimModel) unsigned char room[sizeof(SimModel)];

    SimModel* first = new (room) SimModel;
    first->key_event(kStarterEvent, 0);
    first->advance(first->frame_period);
    EXPECT_EQ(first->get(kStarter), 1);
    first->advance(first->frame_period);
    EXPECT_EQ(first->get(kStarter), 0);
    first->key_event(kStarterEvent, 0);
    first->advance(first->frame_period);
    first->~SimModel();

    SimModel* second = new (room) SimModel;
    second->set(kStarter, 1);
    second->advance(second->frame_period);
    second->advance(second->frame_period);
    EXPECT_EQ(second->get(kStarter), 1);
    second->~SimModel();
}
