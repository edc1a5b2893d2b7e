#include "bench/sim/flight.h"
#include "bench/sim/sim_model.h"

namespace bench {

bool Flight::load_world(const std::string&, std::string& error) {
    error = "not yet";
    return false;
}

void Flight::tune_beacons(SimModel&) {}

}  // namespace bench
