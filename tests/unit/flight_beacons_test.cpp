// The beacons as the receivers see them: radials and TO/FROM, deviation sense and full scale,
// slant range, marker cones and the world file's errors. Each case places the aircraft where the
// answer is known by hand and reads the simulator's variables after a standing step.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "bench/sim/sim_model.h"

using namespace bench;

namespace {

// A VOR-DME and an ILS at 45 N, 10 E, all at 1000 ft; one nautical mile east is 1/(60 cos 45°) of
// a degree of longitude.
constexpr double kLat = 45, kLon = 10, kEastNm = 1 / (60 * 0.7071067811865476), kNorthNm = 1.0 / 60;
const char* const kWorld =
    "VOR-DME ABC 113.60 45 10 1000  # a comment\n"
    "LOC ILX 110.30 45 10 1000 course 090\n"
    "OM - 75 45 11 1000 course 090\n";

struct Field : ::testing::Test {
    SimModel sim;
    void SetUp() override {
        std::string path = ::testing::TempDir() + "flight_world.txt", error;
        std::ofstream(path) << kWorld;
        ASSERT_TRUE(sim.flight.load_world(path, error)) << error;
        sim.set(0x18, 0x1360);  // NAV1 on the VOR
    }
    void at(double east_nm, double north_nm, double alt_ft, double heading, GeoPoint origin = {kLat, kLon}) {
        sim.flight.place({origin.lat_deg + north_nm * kNorthNm, origin.lon_deg + east_nm * kEastNm}, alt_ft, heading, 150);
        sim.flight.step(sim, 0);
    }
};

}  // namespace

TEST_F(Field, VorRadialsToFromAndDeviation) {
    sim.set(0x2D, 90);  // 10 nm east, OBS 090: FROM, centred; station on the left wingtip heading north
    at(10, 0, 5000, 0);
    EXPECT_EQ(sim.get(0x2B), 2);
    EXPECT_NEAR(sim.get(0x28), 0, 1e-6);
    EXPECT_NEAR(sim.get(0x226), 270, 1e-6);
    sim.set(0x2D, 85);  // 5° right of the 085 radial: the needle half way out to the left
    at(10, 0, 5000, 0);
    EXPECT_NEAR(sim.get(0x28), -63.5, 0.1);
    EXPECT_NEAR(sim.get(0x351), -0.5, 0.001);
    EXPECT_EQ(sim.get(0x355), -1);
    sim.set(0x2D, 270);  // inbound course: TO, and 5° off is left of it: fly right
    at(10, -10 * std::tan(5 * M_PI / 180), 5000, 270);
    EXPECT_EQ(sim.get(0x2B), 1);
    EXPECT_NEAR(sim.get(0x28), 63.5, 0.1);
}

TEST_F(Field, SlantRangeAndLineOfSight) {
    sim.set(0x2D, 0);
    at(3, 4, 1000 + 6076.12, 0);  // 5 nm out, 1 nm up, heading away: no time to the station
    EXPECT_NEAR(sim.get(0x174), std::sqrt(26.0), 1e-3);
    EXPECT_EQ(sim.get(0x176), 0);
    at(3, 4, 1000 + 6076.12, 216.8699);  // straight at it: the closure is the true airspeed's share
    const double tas = 150 * (1 + 0.02 * (1000 + 6076.12) / 1000);
    EXPECT_NEAR(sim.get(0x175), tas * 5 / std::sqrt(26.0), 0.01);
    EXPECT_NEAR(sim.get(0x176), std::sqrt(26.0) / sim.get(0x175) * 60, 1e-6);
    at(60, 0, 1000 + 1000, 0);  // 1000 ft up sees 38.9 nm: no signal, no distance
    EXPECT_EQ(sim.get(0x2B), 0);
    EXPECT_LT(sim.get(0x174), 0);
}

TEST_F(Field, LocalizerSensesFrontAndBack) {
    sim.set(0x18, 0x1030);
    at(-8, 8 * std::tan(1.25 * M_PI / 180), 3000, 90);  // on the approach, 1.25° left of the course
    EXPECT_EQ(sim.get(0x2E), 0x80);
    EXPECT_NEAR(sim.get(0x28), 63.5, 0.5);  // half scale: fly right
    at(8, 8 * std::tan(1.25 * M_PI / 180), 3000, 270);  // beyond the antenna on the same side: the
    EXPECT_NEAR(sim.get(0x28), 63.5, 0.5);              // same needle, so reversed for the back course
    at(-8, 8 * std::tan(40 * M_PI / 180), 3000, 90);    // outside the ±35° sector: no signal
    EXPECT_EQ(sim.get(0x2B), 0);
}

TEST_F(Field, MarkerFanGrowsWithHeight) {
    const GeoPoint marker{kLat, kLon + 1};
    at(0, 0, 2000, 90, marker);
    EXPECT_EQ(sim.get(0x162), 1);
    at(900 / 6076.12, 0, 2000, 90, marker);  // 1000 ft up: ±839 ft along, ±1732 ft across
    EXPECT_EQ(sim.get(0x162), 0);
    at(0, 900 / 6076.12, 2000, 90, marker);
    EXPECT_EQ(sim.get(0x162), 1);
}

TEST(FlightWorld, ErrorsNameTheLine) {
    std::string path = ::testing::TempDir() + "bad_world.txt", error;
    std::ofstream(path) << "# fine\nNDB CV 345 46 7 0\nVOR X 113.6 46\n";
    Flight f;
    EXPECT_FALSE(f.load_world(path, error));
    EXPECT_NE(error.find("bad_world.txt:3:"), std::string::npos) << error;
    std::ofstream(path) << "GS I 110.3 46 7 0 course 90\n";
    EXPECT_FALSE(f.load_world(path, error));
    EXPECT_NE(error.find(":1: a GS line needs its glide angle"), std::string::npos) << error;
}
