// Gauges loaded as the host loads them, given readings no scenario can write (NaN, infinities,
// huge values) that must neither stick in a smoothed value, turn into a picture index that does
// not exist, nor write past a readout's characters. Also the bench simulator's starter, whose
// memory must belong to one simulator. (Tooltip texts and help ids are in the committed gauge
// catalogue, which tests/dist/check_catalogue.py regenerates and compares.)
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <new>
#include <string>

#include "bench/host.h"
#include "tests/unit/module_host_test.h"

using namespace bench;

namespace {

using InstrumentGauges = ModuleHostTest;
using SystemsGauges = ModuleHostTest;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

}  // namespace

TEST_F(InstrumentGauges, CdiNeedleSkipsReadingsThatAreNotNumbers) {
    Placement* nav = install("Bendix_KN53_NAV1");
    host.click(nav, 270, 58, MOUSE_LEFTSINGLE, 0);  // OFF to PULL IDENT
    Placement* cdi = install("Bendix_KI206_VOR1");
    host.sim.set(0x28, 127);
    host.frame();
    double settled = cdi->elements[6].value[0];
    ASSERT_GT(settled, 0.0);
    for (double bad : {kNaN, kInf, -kInf}) {
        host.sim.set(0x28, bad);
        host.frame();
        EXPECT_DOUBLE_EQ(cdi->elements[6].value[0], settled) << bad;
    }
    host.sim.set(0x28, 0);
    host.frame();
    EXPECT_NEAR(cdi->elements[6].value[0], settled * 0.7165313105737893, 1e-9);
}

// The cabin keeps its altitude (and rate) while the aircraft sits at the schedule's ceiling, so
// a bad reading taken in must not stay in the model after the readings are good again.
TEST_F(InstrumentGauges, CabinModelSkipsReadingsThatAreNotNumbers) {
    Placement* cabin = install("Cabin_Altimeter");
    Placement* main_switch = install("Pressu_Main_Switch");
    host.click(main_switch, 10, 20, MOUSE_LEFTSINGLE, 0);
    host.sim.set(0x364, 0);
    host.sim.set(0x41, 0);
    host.sim.set(0x4A, 20000);  // the ceiling follows the climb to here
    host.frame();
    for (double bad : {kNaN, kInf, -kInf}) {
        host.sim.set(0x364, 1);  // door open: the cabin would follow the aircraft
        host.sim.set(0x4A, bad);
        host.sim.set(0x41, bad);
        host.frame();
        host.sim.set(0x364, 0);
        host.sim.set(0x4A, 20000);
        host.sim.set(0x41, 0);
        host.frame();
        for (size_t slot : {1, 2, 3})  // rate, altitude, differential pressure
            EXPECT_TRUE(std::isfinite(cabin->elements[slot].value[0])) << bad << " slot " << slot;
        EXPECT_DOUBLE_EQ(cabin->elements[3].value[0], 6.2) << bad;
    }
    host.sim.set(0x14F, 2);  // metres: a reading past a double once turned into feet
    host.sim.set(0x364, 1);
    host.sim.set(0x4A, 1.7e308);
    host.frame();
    EXPECT_TRUE(std::isfinite(cabin->elements[2].value[0]));
}

// Directions are wrapped before they are subtracted: huge readings of opposite signs give an
// angle, not an infinity.
TEST_F(InstrumentGauges, HsiAnglesStayFiniteForHugeReadings) {
    Placement* hsi = install("Bendix_KCS55A_HSI");
    host.sim.set(0x356, 1.7e308);   // course
    host.sim.set(0x357, 1.7e308);   // heading bug
    host.sim.set(0x54, -1.7e308);   // heading
    host.frame();
    for (size_t slot = 1; slot < hsi->elements.size(); ++slot)
        for (double v : hsi->elements[slot].value) EXPECT_TRUE(std::isfinite(v)) << "slot " << slot;
    host.sim.set(0x356, 370);
    host.sim.set(0x54, 20);
    host.frame();
    EXPECT_DOUBLE_EQ(hsi->elements[3].value[0], -10);  // the course pointer: 10 degrees left
}

TEST_F(InstrumentGauges, ReadoutsStayWithinTheirCharacters) {
    struct Readout {
        const char* gauge;
        size_t element;  // 0-based slot
        uint32_t var;
    };
    const Readout readouts[] = {
        {"InterStage_Turbine_Temp", 1, 0x277}, {"Digital_OAT", 1, 0x155}, {"Fuel_Consumption", 2, 0x27E},
        {"AP_Tester", 40, 0x6D},               {"Astrotech_Timer", 2, 0x03},
    };
    for (const Readout& r : readouts) {
        Placement* p = install(r.gauge);
        auto* e = reinterpret_cast<StringElement*>(p->elements[r.element].record);
        ASSERT_EQ(e->header.element_type, uint32_t(ELEMENT_STRING)) << r.gauge;
        for (double v : {kNaN, kInf, -kInf, 1e300, -1e300, -123456.0, 99999.6}) {
            host.sim.set(r.var, v);
            host.frame();
            EXPECT_LE(strlen(e->string), e->char_count) << r.gauge << " " << v;
        }
    }
}

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
