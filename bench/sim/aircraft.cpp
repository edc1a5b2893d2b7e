// The aircraft: a kinematic turboprop, no aerodynamics. Each quantity follows its command with a
// first-order lag (x += (command - x) * dt / tau, with a rate limit where the airframe has one), so
// a flight is a handful of lags a reader can follow by hand, and with the host's fixed step every
// run gives the same numbers.
//
// Conventions inside this unit: bank right positive, pitch nose-up positive, heading true and
// magnetic alike (the fictional field has no variation), still air (ground speed is true airspeed).
// The simulator's variables have their own senses: 0x50 bank is positive to the left and 0x4E
// pitch negative nose-up, as the attitude director reads them.
//
// Who commands what: with the autopilot engaged (0x67) its modes fly; otherwise the pilot's bank
// and pitch (bench-only 0xB0000F02 and 0xB0000F01, in the senses of 0x50 and 0x4E; until a
// scenario sets them the pilot holds the trimmed level attitude). The modes' commands are worked
// out either way, since the flight director (0x318) shows them. Power is the lever 0x22E.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "bench/sim/flight.h"
#include "bench/sim/sim_model.h"

namespace bench {
namespace {

// Autopilot variables as the simulator keeps them (sim_autopilot.cpp).
constexpr uint32_t kApMaster = 0x67, kNavHold = 0x69, kHeadingHold = 0x6A, kAltHold = 0x6C;
constexpr uint32_t kAltTarget = 0x6D, kAttitudeHold = 0x6E, kGlideslopeHold = 0x6F, kApproachHold = 0x70;
constexpr uint32_t kBackCourseHold = 0x71, kYawDamper = 0x72, kVsTarget = 0x78;
constexpr uint32_t kFlightDirector = 0x318, kFdPitch = 0x319, kFdBank = 0x31A;
constexpr uint32_t kHeadingBug = 0x357;
constexpr uint32_t kPitchReference = 0xB0000417;  // nose-up negative, like 0x4E
// The pilot's hands: power lever (0 to 1) and the attitude flown with the autopilot off.
constexpr uint32_t kPowerLever = 0x22E;
constexpr uint32_t kPilotPitch = 0xB0000F01;
constexpr uint32_t kPilotBank = 0xB0000F02;
// Instruments.
constexpr uint32_t kIndicatedAirspeed = 0x3D, kVerticalSpeed = 0x41, kBall = 0x45, kTurnIndicator = 0x46;
constexpr uint32_t kAltitudeMetres = 0x49, kIndicatedAltitude = 0x4A, kPitch = 0x4E, kBank = 0x50;
constexpr uint32_t kCompassHeading = 0x53, kHeading = 0x54;

constexpr double kPi = 3.14159265358979323846;
constexpr double kG = 9.80665;                  // m/s²
constexpr double kMetresPerSecondPerKnot = 0.514444;
constexpr double kFpmPerKnot = 101.2686;        // 1 kt of vertical speed in ft/min
constexpr double kFeetPerMetre = 1 / 0.3048;
constexpr double kNmPerDegreeLat = 60.0;

// Turboprop limits and lags.
constexpr double kBankLimit = 25.0;          // degrees
constexpr double kStandardRate = 3.0;        // degrees per second (a 2-minute turn)
constexpr double kRollLag = 1.0, kRollRateLimit = 6.0;    // s, deg/s
constexpr double kPitchLag = 1.0, kPitchRateLimit = 3.0;  // s, deg/s
constexpr double kPitchUp = 15.0, kPitchDown = -10.0;
constexpr double kTorqueLag = 2.0;           // s, from the power lever
constexpr double kSpeedLag = 10.0;           // s, airspeed to its equilibrium
constexpr double kIdleSpeed = 70.0;          // kt, level flight at idle torque ...
constexpr double kSpeedPerTorque = 180.0;    // ... plus this per unit torque (250 kt at full torque)
constexpr double kSpeedPerClimb = 0.02;      // kt lost per ft/min of climb (gained in descent)
constexpr double kSlowest = 60.0;
constexpr double kMaxClimb = 3000.0;         // ft/min at full torque, from 120 kt up
constexpr double kClimbSpeedFloor = 70.0, kClimbSpeedFull = 120.0;
// Autopilot laws.
constexpr double kHeadingGain = 2.0;         // degrees of bank per degree of heading error
constexpr double kDefaultClimb = 700.0;      // ft/min when the vertical-speed target is 0
constexpr double kAltitudeCapture = 8.0;     // s: the climb rate is the altitude error over this
constexpr double kGlidepathCapture = 8.0;    // s: the same for the height above the glide path
constexpr double kTrackConvergence = 1400.0; // m of cross-track per radian of intercept angle
constexpr double kInterceptLimit = 30.0;     // degrees off the course at most
constexpr double kCaptureDeviation = 0.9;    // the needle inside 90 % of full scale
constexpr double kGlideCaptureDeviation = 0.1;

double clamp(double v, double lim) { return std::clamp(v, -lim, lim); }
double wrap180(double a) { return a - 360.0 * std::floor((a + 180.0) / 360.0); }
double wrap360(double a) { return a - 360.0 * std::floor(a / 360.0); }
double rad(double deg) { return deg * kPi / 180.0; }
double deg(double rad) { return rad * 180.0 / kPi; }

// First-order lag toward `command` with time constant `tau`, moving at most `rate` per second.
double follow(double x, double command, double tau, double rate, double dt) {
    double step = (command - x) * std::min(1.0, dt / tau);
    return x + (rate > 0 ? clamp(step, rate * dt) : step);
}

// Bank for a coordinated turn at `rate` deg/s: tan(bank) = V ω / g.
double bank_for_rate(double tas_kt, double rate) {
    return deg(std::atan(tas_kt * kMetresPerSecondPerKnot * rad(rate) / kG));
}

// Angle of attack the aircraft flies at: 3° at 130 kt, growing as 1/V² (lift = weight).
double angle_of_attack(double ias) {
    const double v = std::max(ias, kSlowest);
    return std::min(12.0, 3.0 * (130.0 / v) * (130.0 / v));
}

}  // namespace

void Flight::place(GeoPoint at, double altitude_ft, double heading_deg, double airspeed_kt) {
    pos_ = at;
    altitude_ = altitude_ft;
    heading_ = wrap360(heading_deg);
    bank_ = pitch_ = vs_ = turn_rate_ = roll_rate_ = 0;
    ias_ = std::max(kSlowest, airspeed_kt);
    tas_ = ias_ * (1 + 0.02 * altitude_ / 1000);
    // Trimmed for level flight at that speed: the torque the equilibrium speed asks for.
    torque_ = std::clamp((ias_ - kIdleSpeed) / kSpeedPerTorque, 0.0, 1.0);
    trim_pending_ = true;
    pitch_ = angle_of_attack(ias_);
    elapsed_ = track_clock_ = 0;
    track_.assign(1, pos_);
    guidance_ = {};
    loc_captured_ = gs_captured_ = false;
    attitude_held_ = false;
    landed_ = false;
}

void Flight::step(SimModel& sim, double dt) {
    if (trim_pending_) sim.set(kPowerLever, torque_);  // the pilot sets the trimmed power once
    trim_pending_ = false;
    fly_aircraft(sim, dt);
    tune_beacons(sim);
}

void Flight::fly_aircraft(SimModel& sim, double dt) {
    auto on = [&sim](uint32_t id) { return sim.get(id) > 0; };
    const bool engaged = on(kApMaster);

    // --- Lateral modes: a heading to fly, from the bug or from the NAV receiver's course line. ---
    // Approach and back course track a localizer only; the back course flies it the other way.
    const bool back = on(kBackCourseHold), approach = on(kApproachHold) || back, nav = on(kNavHold);
    if (!approach && !nav) loc_captured_ = false;
    if (!approach || back) gs_captured_ = false;
    const Guidance& g = guidance_;
    const bool usable = g.valid && (!approach || g.localizer);
    if ((approach || nav) && usable && !loc_captured_ && std::fabs(g.deviation) < kCaptureDeviation) {
        loc_captured_ = true;
        sim.set(kHeadingHold, 0);  // the simulator drops heading hold at capture
    }
    double heading_cmd = heading_;
    bool lateral = false;
    if (loc_captured_ && usable) {
        // Track the course line: intercept angle proportional to the cross-track distance, so the
        // distance decays with time constant kTrackConvergence / V at any range from the station.
        double course = g.course_deg, xtk = g.cross_track_m;
        if (back && g.localizer) course += 180, xtk = -xtk;
        heading_cmd = course - clamp(deg(xtk / kTrackConvergence), kInterceptLimit);
        lateral = true;
    } else if (on(kHeadingHold)) {
        heading_cmd = sim.get(kHeadingBug);
        lateral = true;
    }
    const double bank_limit = std::min(kBankLimit, bank_for_rate(tas_, kStandardRate));
    const double mode_bank = lateral ? clamp(kHeadingGain * wrap180(heading_cmd - heading_), bank_limit) : 0.0;

    // --- Vertical modes: a climb rate (ft/min) to fly, or a pitch attitude. ---
    if (approach && !back && loc_captured_ && g.glideslope && !gs_captured_ &&
        std::fabs(g.glide_deviation) < kGlideCaptureDeviation) {
        gs_captured_ = true;
        sim.set(kGlideslopeHold, 1);
        sim.set(kAltHold, 0);  // the glide path replaces the held altitude
    }
    if (!gs_captured_) sim.set(kGlideslopeHold, 0);
    const bool attitude = on(kAttitudeHold);
    if (attitude && !attitude_held_) sim.set(kPitchReference, -pitch_);  // holds the pitch it has
    attitude_held_ = attitude;

    const double alpha = angle_of_attack(ias_);
    const double climb_limit = kMaxClimb * torque_ *
                               std::clamp((ias_ - kClimbSpeedFloor) / (kClimbSpeedFull - kClimbSpeedFloor), 0.0, 1.0);
    double mode_pitch = pitch_;
    bool vertical = true;
    double climb_cmd = 0;
    if (gs_captured_ && g.glideslope) {
        // Descend along the path (V tan θ) and close the height error above it.
        climb_cmd = -tas_ * kFpmPerKnot * std::tan(rad(g.glide_deg)) - g.glide_height_ft * 60 / kGlidepathCapture;
    } else if (on(kAltHold)) {
        const double rate = sim.get(kVsTarget) == 0 ? kDefaultClimb : std::fabs(sim.get(kVsTarget));
        climb_cmd = clamp((sim.get(kAltTarget) - altitude_) * 60 / kAltitudeCapture, rate);
    } else if (attitude) {
        mode_pitch = -sim.get(kPitchReference);
        vertical = false;
    } else {
        vertical = false;
    }
    if (vertical) {
        climb_cmd = std::min(climb_cmd, climb_limit);
        // Flight path angle for that climb, plus the angle of attack: the pitch attitude.
        mode_pitch = deg(std::asin(std::clamp(climb_cmd / (tas_ * kFpmPerKnot), -0.5, 0.5))) + alpha;
    }

    // --- Who flies: the autopilot's modes or the pilot's hands. Hands off (no pilot variable set
    // yet), the aircraft stays trimmed: wings level, pitched for level flight. ---
    auto hand = [&sim](uint32_t id, double trimmed) {
        return sim.variables().count(id) ? -sim.get(id) : trimmed;
    };
    const double bank_cmd = engaged ? mode_bank : hand(kPilotBank, 0.0);
    const double pitch_cmd = engaged ? mode_pitch : hand(kPilotPitch, alpha);

    // --- Motion (none once on the ground). ---
    if (landed_) dt = 0;
    const double old_bank = bank_;
    bank_ = std::clamp(follow(bank_, bank_cmd, kRollLag, kRollRateLimit, dt), -60.0, 60.0);
    roll_rate_ = dt > 0 ? (bank_ - old_bank) / dt : 0;
    pitch_ = std::clamp(follow(pitch_, pitch_cmd, kPitchLag, kPitchRateLimit, dt), kPitchDown, kPitchUp);

    torque_ = follow(torque_, std::clamp(sim.get(kPowerLever), 0.0, 1.0), kTorqueLag, 0, dt);
    // Climb from the flight path angle, sin(pitch − α) × V; airspeed toward the speed the torque
    // holds in level flight, less what the climb costs.
    vs_ = landed_ ? 0 : tas_ * kFpmPerKnot * std::sin(rad(pitch_ - alpha));
    const double equilibrium = kIdleSpeed + kSpeedPerTorque * torque_ - kSpeedPerClimb * vs_;
    if (!landed_) ias_ = std::max(kSlowest, follow(ias_, equilibrium, kSpeedLag, 0, dt));
    tas_ = ias_ * (1 + 0.02 * altitude_ / 1000);  // true airspeed: 2 % more per 1000 ft
    altitude_ += vs_ * dt / 60;
    // The ground is the world's lowest station (sea level without a world): touching it ends the
    // flight there, wings level and stopped.
    double ground = beacons_.empty() ? 0.0 : beacons_.front().elevation_ft;
    for (const MapBeacon& b : beacons_) ground = std::min(ground, b.elevation_ft);
    if (altitude_ <= ground) {
        landed_ = true;
        altitude_ = ground;
        vs_ = pitch_ = bank_ = roll_rate_ = ias_ = tas_ = 0;
    }

    // Coordinated turn: ω = g tan(bank) / V.
    turn_rate_ = landed_ ? 0 : deg(kG * std::tan(rad(bank_)) / (tas_ * kMetresPerSecondPerKnot));
    heading_ = wrap360(heading_ + turn_rate_ * dt);

    // Position on a flat earth about the aircraft: north and east by the distance flown.
    const double distance_nm = tas_ * dt / 3600;
    pos_.lat_deg += distance_nm * std::cos(rad(heading_)) / kNmPerDegreeLat;
    pos_.lon_deg += distance_nm * std::sin(rad(heading_)) / (kNmPerDegreeLat * std::cos(rad(pos_.lat_deg)));
    elapsed_ += dt;
    track_clock_ += dt;
    if (track_clock_ >= kTrackInterval) {
        track_clock_ = 0;
        if (track_.size() >= kTrackPoints) track_.erase(track_.begin());
        track_.push_back(pos_);
    }

    // --- Instruments. ---
    sim.set(kIndicatedAirspeed, ias_);
    sim.set(kVerticalSpeed, vs_ / 60 / kFeetPerMetre * 256);  // m/s × 256
    sim.set(kIndicatedAltitude, altitude_);
    sim.set(kAltitudeMetres, altitude_ / kFeetPerMetre);
    sim.set(kPitch, -pitch_);
    sim.set(kBank, -bank_);
    sim.set(kHeading, heading_);
    sim.set(kCompassHeading, heading_);
    // Turn indicator: 512 (the symbol's 20° mark) at a standard-rate turn.
    sim.set(kTurnIndicator, turn_rate_ * 512 / kStandardRate);
    // Ball: centred with the yaw damper; without it the ball slips out while the wings roll.
    sim.set(kBall, on(kYawDamper) ? 0.0 : clamp(roll_rate_ * 6, 127));
    // Flight director: the modes' pitch and bank, in the senses of 0x4E and 0x50.
    sim.set(kFdPitch, on(kFlightDirector) ? -mode_pitch : -pitch_);
    sim.set(kFdBank, on(kFlightDirector) ? -mode_bank : -bank_);
}

}  // namespace bench
