// The radio beacons: the world file's stations and what the tuned receivers make of them from where
// the aircraft is, each frame.
//
// Geometry: a flat earth about each station (equirectangular: north = Δlat × 60 nm, east = Δlon ×
// 60 cos(station lat) nm). Within 100 nm of a station at mid latitudes it is off by well under 1 %,
// and it keeps every formula below a line of trigonometry. Angles are true bearings; the fictional
// field has no magnetic variation.
//
// What a station reaches:
// - VHF (VOR, localizer, DME, glide path): line of sight, 1.23 √h nm with h the aircraft's height
//   above the station in feet, and no further than the station's own range.
// - Localizer: ±35° either side of its front or back course. Full scale 2.5° of deviation.
// - Glide path: ahead of the antenna, within 8° of the front course, at elevation angles from
//   0.45 to 1.75 times the glide angle. Full scale 0.7°.
// - VOR: full scale 10° of deviation; TO when the aircraft is on the far side of the station from
//   the selected course.
// - NDB: ground wave, its range only.
// - Marker beacons: a fan above each marker, ±40° along the course and ±60° across it, so the
//   lit stretch grows with height (about 12 s at the outer marker on a 3° approach at 120 kt).
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <map>
#include <sstream>

#include "bench/sim/flight.h"
#include "bench/sim/sim_model.h"
#include "module/radio_bcd.h"

namespace bench {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kFeetPerNm = 6076.12;
constexpr double kMetresPerNm = 1852.0;

double rad(double deg) { return deg * kPi / 180.0; }
double deg(double rad) { return rad * 180.0 / kPi; }
double wrap180(double a) { return a - 360.0 * std::floor((a + 180.0) / 360.0); }
double wrap360(double a) { return a - 360.0 * std::floor(a / 360.0); }

// Where the aircraft is from a station, on the station's flat earth.
struct Offset {
    double east_nm, north_nm;
    double distance() const { return std::hypot(east_nm, north_nm); }
    double radial() const { return wrap360(deg(std::atan2(east_nm, north_nm))); }  // from the station
    // Distance right of a course line through the station (positive right, facing along it).
    double right_of(double course_deg) const {
        return east_nm * std::cos(rad(course_deg)) - north_nm * std::sin(rad(course_deg));
    }
    double along(double course_deg) const {
        return east_nm * std::sin(rad(course_deg)) + north_nm * std::cos(rad(course_deg));
    }
};

Offset offset(const GeoPoint& station, const GeoPoint& p) {
    return {(p.lon_deg - station.lon_deg) * 60 * std::cos(rad(station.lat_deg)), (p.lat_deg - station.lat_deg) * 60};
}

double radio_horizon_nm(double height_ft) { return 1.23 * std::sqrt(std::max(0.0, height_ft)); }

struct Kind {
    const char* name;
    double range_nm;  // when the line gives none
};
constexpr Kind kKinds[] = {{"VOR", 120}, {"VOR-DME", 120}, {"DME", 40}, {"LOC", 18}, {"GS", 10},
                           {"NDB", 25},  {"OM", 0},        {"MM", 0},   {"IM", 0}};

// Token variables of the two NAV receivers.
struct NavVars {
    uint32_t frequency, obs, deviation, glide_deviation, to_from, glide_flag, codes, bearing;
};
constexpr NavVars kNav[2] = {{0x18, 0x2D, 0x28, 0x29, 0x2B, 0x2C, 0x2E, 0x226},
                             {0x1B, 0x36, 0x32, 0x372, 0x34, 0x35, 0x37, 0x3B}};
constexpr uint32_t kCodeLocalizer = 0x80;
constexpr uint32_t kDmeVars[3] = {0x174, 0x175, 0x176};  // distance, speed, time
constexpr uint32_t kDmeSource = 0xB0000000;              // sim_radios.cpp: the receiver the DME follows
constexpr uint32_t kDmeStore = 0xB0000000;               // + receiver × 0x1000 + variable
constexpr uint32_t kHsiSource = 0x350;                   // 0: NAV1 drives the HSI
constexpr uint32_t kHsiDeviation = 0x351, kHsiGlide = 0x352, kHsiSignal = 0x353, kHsiGlideValid = 0x354;
constexpr uint32_t kHsiToFrom = 0x355, kHsiCourse = 0x356;
constexpr uint32_t kAdfHigh = 0x10, kAdfTenths = 0x12, kAdfBearing = 0x27;
constexpr uint32_t kMarker = 0x162;
constexpr double kParked = 90;  // a needle with nothing to show

struct DmeReading {
    double distance = -1, speed = 0, minutes = 0;
};

}  // namespace

bool Flight::load_world(const std::string& path, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open world file";
        return false;
    }
    std::vector<MapBeacon> stations;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (auto hash = text.find('#'); hash != std::string::npos) text.erase(hash);
        std::istringstream words(text);
        MapBeacon b;
        if (!(words >> b.kind)) continue;
        auto bad = [&](const std::string& why) {
            error = path + ":" + std::to_string(line) + ": " + why;
            return false;
        };
        const Kind* kind = nullptr;
        for (const Kind& k : kKinds)
            if (b.kind == k.name) kind = &k;
        if (!kind) return bad("unknown station kind '" + b.kind + "'");
        if (!(words >> b.ident >> b.freq_mhz >> b.at.lat_deg >> b.at.lon_deg >> b.elevation_ft))
            return bad("expected KIND IDENT FREQUENCY LAT LON ELEVATION");
        if (std::fabs(b.at.lat_deg) > 80 || std::fabs(b.at.lon_deg) > 180) return bad("position out of range");
        b.range_nm = kind->range_nm;
        for (std::string key; words >> key;) {
            double v;
            if (!(words >> v)) return bad("missing value after '" + key + "'");
            if (key == "course") b.course_deg = wrap360(v);
            else if (key == "glide" && v > 0 && v < 10) b.glide_deg = v;
            else if (key == "range" && v > 0) b.range_nm = v;
            else return bad("bad '" + key + "' (course, glide 0-10 or range above 0)");
        }
        if (b.kind == "GS" && b.glide_deg == 0) return bad("a GS line needs its glide angle");
        stations.push_back(b);
    }
    beacons_ = std::move(stations);
    return true;
}

void Flight::tune_beacons(SimModel& sim) {
    auto mhz_of = [&sim](uint32_t var) {
        const uint32_t v = radio::frequency_word(sim.get(var));
        return radio::bcd_whole_mhz(v) + radio::frequency_hundredths(v) / 100.0;
    };
    auto heard = [this](const MapBeacon& b, double freq, double tolerance) {
        if (std::fabs(b.freq_mhz - freq) >= tolerance) return false;
        const double d = offset(b.at, pos_).distance();
        return d <= b.range_nm && d <= radio_horizon_nm(altitude_ - b.elevation_ft);
    };
    auto relative_bearing = [this](const MapBeacon& b) {
        return wrap360(offset(b.at, pos_).radial() + 180 - heading_);
    };
    // DME: slant range; speed and time from the closure rate, V cos(track − bearing) × d / slant.
    auto dme = [&](double freq) {
        DmeReading r;
        for (const MapBeacon& b : beacons_) {
            if ((b.kind != "DME" && b.kind != "VOR-DME") || !heard(b, freq, 0.005)) continue;
            const Offset o = offset(b.at, pos_);
            const double d = o.distance(), h = (altitude_ - b.elevation_ft) / kFeetPerNm;
            r.distance = std::hypot(d, h);
            const double closure = tas_ * std::cos(rad(o.radial() + 180 - heading_)) * d / std::max(r.distance, 1e-6);
            r.speed = std::fabs(closure);
            r.minutes = closure > 1 ? r.distance / closure * 60 : 0;
            break;
        }
        return r;
    };

    Guidance nav1;
    DmeReading dme_of[2];
    for (int n = 0; n < 2; ++n) {
        const NavVars& v = kNav[n];
        const double freq = mhz_of(v.frequency);
        Guidance r;
        double bearing = kParked;
        double full_scale = 10;
        for (const MapBeacon& b : beacons_) {
            if (!heard(b, freq, 0.005)) continue;
            const Offset o = offset(b.at, pos_);
            const double radial = o.radial();
            if (b.kind == "VOR" || b.kind == "VOR-DME") {
                const double obs = sim.get(v.obs);
                const bool from = std::fabs(wrap180(radial - obs)) < 90;
                r.valid = true;
                r.to_from = from ? 2 : 1;
                r.course_deg = obs;
                r.deviation_deg = from ? wrap180(obs - radial) : wrap180(radial - obs - 180);
                r.cross_track_m = o.right_of(obs) * kMetresPerNm;
                bearing = relative_bearing(b);
            } else if (b.kind == "LOC") {
                const double front = wrap180(radial - b.course_deg - 180), back = wrap180(radial - b.course_deg);
                if (std::fabs(front) > 35 && std::fabs(back) > 35) continue;
                r.valid = r.localizer = true;
                r.to_from = 1;
                r.course_deg = b.course_deg;
                r.deviation_deg = std::fabs(front) <= 90 ? front : -back;
                r.cross_track_m = o.right_of(b.course_deg) * kMetresPerNm;
                full_scale = 2.5;
                bearing = relative_bearing(b);
            }
        }
        for (const MapBeacon& b : beacons_) {
            if (b.kind != "GS" || !r.localizer || !heard(b, freq, 0.005)) continue;
            const Offset o = offset(b.at, pos_);
            const double ahead = -o.along(b.course_deg);  // the approach side lies behind the course
            const double height = altitude_ - b.elevation_ft;
            if (ahead <= 0 || std::fabs(o.right_of(b.course_deg)) > ahead * std::tan(rad(8))) continue;
            const double d_ft = o.distance() * kFeetPerNm;
            const double elevation = deg(std::atan2(height, d_ft));
            if (elevation < 0.45 * b.glide_deg || elevation > 1.75 * b.glide_deg) continue;
            r.glideslope = true;
            r.glide_deg = b.glide_deg;
            r.glide_height_ft = height - d_ft * std::tan(rad(b.glide_deg));
            r.glide_deviation = std::clamp((elevation - b.glide_deg) / 0.7, -1.0, 1.0);
        }
        r.deviation = std::clamp(r.deviation_deg / full_scale, -1.0, 1.0);
        sim.set(v.deviation, r.valid ? r.deviation * 127 : 0);
        sim.set(v.glide_deviation, r.glideslope ? r.glide_deviation * 127 : 0);
        sim.set(v.to_from, r.to_from);
        sim.set(v.glide_flag, r.glideslope ? 1 : 0);
        sim.set(v.codes, r.localizer ? kCodeLocalizer : 0);
        sim.set(v.bearing, bearing);
        dme_of[n] = dme(freq);
        if (n == 0) nav1 = r;
    }
    guidance_ = nav1;

    // The HSI shows NAV1 unless the GPS drives it (no GPS here: its needles are left alone).
    if (sim.get(kHsiSource) == 0) {
        sim.set(kHsiDeviation, nav1.valid ? nav1.deviation : 0);
        sim.set(kHsiGlide, nav1.glideslope ? nav1.glide_deviation : 0);
        sim.set(kHsiSignal, nav1.valid ? 1 : 0);
        sim.set(kHsiGlideValid, nav1.glideslope ? 1 : 0);
        sim.set(kHsiToFrom, nav1.to_from == 0 ? 0 : nav1.to_from == 1 ? 1 : -1);
        sim.set(kHsiCourse, sim.get(kNav[0].obs));
    }

    // The DME shows the receiver it follows; the other's readings wait where sim_radios keeps them.
    const uint32_t follows = sim.get(kDmeSource) == 2 ? 2 : 1;
    for (uint32_t n = 1; n <= 2; ++n) {
        const DmeReading& d = dme_of[n - 1];
        const double values[3] = {d.distance, d.speed, d.minutes};
        for (int k = 0; k < 3; ++k)
            sim.set(n == follows ? kDmeVars[k] : kDmeStore + n * 0x1000 + kDmeVars[k], values[k]);
    }

    // ADF: the relative bearing of the NDB on the active frequency.
    const radio::AdfFrequency adf =
        radio::adf_active(radio::frequency_word(sim.get(kAdfHigh)), radio::frequency_word(sim.get(kAdfTenths)));
    const double adf_khz = adf.whole_khz + adf.tenths / 10.0;
    double adf_bearing = kParked;
    for (const MapBeacon& b : beacons_)
        if (b.kind == "NDB" && std::fabs(b.freq_mhz - adf_khz) < 0.05 && offset(b.at, pos_).distance() <= b.range_nm)
            adf_bearing = relative_bearing(b);
    sim.set(kAdfBearing, adf_bearing);

    // Marker beacons: inside the fan's ellipse, (along / h tan 40°)² + (across / h tan 60°)² ≤ 1.
    double marker = 0;
    for (const MapBeacon& b : beacons_) {
        const double level = b.kind == "OM" ? 1 : b.kind == "MM" ? 2 : b.kind == "IM" ? 3 : 0;
        const double h = altitude_ - b.elevation_ft;
        if (level == 0 || h <= 0) continue;
        const Offset o = offset(b.at, pos_);
        const double along = o.along(b.course_deg) * kFeetPerNm / (h * std::tan(rad(40)));
        const double across = o.right_of(b.course_deg) * kFeetPerNm / (h * std::tan(rad(60)));
        if (along * along + across * across <= 1) marker = level;
    }
    sim.set(kMarker, marker);
}

}  // namespace bench
