// The simulator as the bench plays it: token variables, the key-event log, failures, calculator
// results and panel windows. With simulation on, key events change variables the way the
// simulator would; each family of events registers its reactions in its own sim_*.cpp file.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bench/sim/flight.h"

namespace bench {

struct LoggedEvent {
    uint32_t id;
    uint32_t param;
    bool checked;
};

struct CalcResult {
    double number = 0;
    std::string text;
};

class SimModel;

// What a key event does to the simulator, and what moves by itself as time passes.
using EventReaction = std::function<void(SimModel&, uint32_t param)>;
using TimeReaction = std::function<void(SimModel&, double dt)>;

// Each sim_*.cpp file adds its reactions through one static registrar.
struct SimReactions {
    std::map<uint32_t, EventReaction> events;
    std::vector<TimeReaction> ticks;
};
SimReactions& sim_reactions();
struct SimRegistrar {
    explicit SimRegistrar(void (*add)(SimReactions&)) { add(sim_reactions()); }
};

constexpr uint32_t kVarTickCount = 0x01;
constexpr uint32_t kVarSimTime = 0x25C;

class SimModel {
public:
    double get(uint32_t id) const;
    void set(uint32_t id, double value);
    const std::map<uint32_t, double>& variables() const { return vars_; }  // every variable set so far
    // Adds `delta` and wraps the result into [lo, hi].
    void step_wrapped(uint32_t id, double delta, double lo, double hi);

    // A key event from the module or the host: logged always, acted on with simulation on.
    void key_event(uint32_t id, uint32_t param);
    void window_toggle(uint32_t window_id);
    // One frame of simulator time: the clock and whatever moves by itself (simulation on only).
    void advance(double dt);

    bool simulate = true;
    double frame_period = 1.0 / 18.0;

    std::vector<LoggedEvent> events;
    std::vector<LoggedEvent> toggles;  // panel_window_toggle calls
    std::set<uint32_t> failures;
    std::map<std::string, CalcResult> calculator;
    std::map<int32_t, bool> windows;  // panel window identifier -> shown
    Flight flight;                    // the aircraft and beacons in closed loop (`fly on`)

private:
    std::map<uint32_t, double> vars_;
};

}  // namespace bench
