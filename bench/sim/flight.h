// The aircraft and the radio beacons in closed loop: the simulator's part, never the module's.
// aircraft.cpp moves a kinematic turboprop (first-order responses, no aerodynamics) under the
// pilot's inputs and the simulator's autopilot modes; beacons.cpp reads the world file and
// computes what the tuned receivers see from where the aircraft is. Both run at the host's fixed
// frame step, so a flight is exact and repeatable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

struct GeoPoint {
    double lat_deg = 0, lon_deg = 0;
};

struct MapBeacon {            // one station of the loaded world, for the page's moving map
    std::string ident;        // "CVN", "ICVN", ...
    std::string kind;         // "VOR-DME", "LOC", "GS", "DME", "NDB", "OM", "MM", "IM"
    GeoPoint at;
    double course_deg = 0;    // localizer course (LOC/GS, markers: the course they sit on), 0 otherwise
    double freq_mhz = 0;      // NAV/DME in MHz, NDB in kHz, markers 75
    double elevation_ft = 0;  // station height above sea level
    double glide_deg = 0;     // GS only: the glide path angle
    double range_nm = 0;      // where its signal ends
};

class SimModel;

class Flight {
public:
    bool load_world(const std::string& path, std::string& error);
    void place(GeoPoint at, double altitude_ft, double heading_deg, double airspeed_kt);
    bool on = false;                          // scenario line `fly on|off`
    void step(SimModel& sim, double dt);      // one host update (1/18 s); reads the autopilot and
                                              // pilot variables, writes the instrument variables
    GeoPoint position() const { return pos_; }
    double heading_deg() const { return heading_; }  // true heading
    double altitude_ft() const { return altitude_; }
    double ground_speed_kt() const { return tas_; }  // still air: ground speed is true airspeed
    const std::vector<GeoPoint>& track() const { return track_; }     // past positions, oldest first
    const std::vector<MapBeacon>& beacons() const { return beacons_; }  // every station of the world

    // The state a trace prints and the tests read.
    double bank_deg() const { return bank_; }
    double pitch_deg() const { return pitch_; }
    double airspeed_kt() const { return ias_; }
    double vertical_speed_fpm() const { return vs_; }
    double elapsed_s() const { return elapsed_; }
    bool course_captured() const { return loc_captured_; }     // NAV or approach mode on the course
    bool glidepath_captured() const { return gs_captured_; }   // approach mode on the glide path
    bool landed() const { return landed_; }                    // on the ground, stopped

private:
    // What the NAV1 receiver gives the autopilot to steer by, worked out by beacons.cpp.
    struct Guidance {
        bool valid = false, localizer = false, glideslope = false;
        int to_from = 0;               // 0 no signal, 1 TO, 2 FROM
        double course_deg = 0;         // the course line: OBS for a VOR, the localizer's own course
        double deviation_deg = 0;      // angle off the course line, positive: fly right
        double deviation = 0;          // the same as a fraction of full scale, -1 to 1
        double cross_track_m = 0;      // distance right of the course line
        double glide_deg = 0;          // glide path angle
        double glide_height_ft = 0;    // height above the glide path
        double glide_deviation = 0;    // fraction of full scale, positive above the path
    };
    static constexpr double kTrackInterval = 2.0;  // seconds between track points
    static constexpr size_t kTrackPoints = 900;    // half an hour of track

    void fly_aircraft(SimModel& sim, double dt);  // aircraft.cpp
    void tune_beacons(SimModel& sim);             // beacons.cpp

    GeoPoint pos_;
    double altitude_ = 0, heading_ = 0, bank_ = 0, pitch_ = 0, ias_ = 0, tas_ = 0, vs_ = 0;
    double turn_rate_ = 0;     // degrees per second, right positive
    double roll_rate_ = 0;     // degrees per second, right positive
    double torque_ = 0;        // fraction of full torque
    bool trim_pending_ = false;
    bool loc_captured_ = false, gs_captured_ = false;  // the autopilot's NAV/approach captures
    bool attitude_held_ = false;                       // attitude hold was on last frame
    bool landed_ = false;                              // touched the ground: stopped until `place`
    Guidance guidance_;
    double elapsed_ = 0;       // seconds flown since `place`
    double track_clock_ = 0;   // seconds since the last track point
    std::vector<GeoPoint> track_;
    std::vector<MapBeacon> beacons_;
};

}  // namespace bench
