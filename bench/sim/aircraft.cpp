#include "bench/sim/flight.h"
#include "bench/sim/sim_model.h"

namespace bench {

void Flight::place(GeoPoint at, double altitude_ft, double heading_deg, double airspeed_kt) {
    pos_ = at;
    altitude_ = altitude_ft;
    heading_ = heading_deg;
    ias_ = tas_ = airspeed_kt;
    track_.clear();
}

void Flight::step(SimModel& sim, double dt) {
    fly_aircraft(sim, dt);
    tune_beacons(sim);
}

void Flight::fly_aircraft(SimModel&, double) {}

}  // namespace bench
