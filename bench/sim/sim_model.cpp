#include "bench/sim/sim_model.h"

#include <cmath>

namespace bench {

SimReactions& sim_reactions() {
    static SimReactions reactions;
    return reactions;
}

double SimModel::get(uint32_t id) const {
    auto it = vars_.find(id);
    return it == vars_.end() ? 0.0 : it->second;
}

void SimModel::set(uint32_t id, double value) { vars_[id] = value; }

void SimModel::step_wrapped(uint32_t id, double delta, double lo, double hi) {
    double v = get(id) + delta;
    double span = hi - lo;
    if (span > 0) {
        while (v > hi + 1e-9) v -= span;
        while (v < lo - 1e-9) v += span;
    }
    set(id, v);
}

void SimModel::key_event(uint32_t id, uint32_t param) {
    events.push_back({id, param, false});
    if (!simulate) return;
    auto& reactions = sim_reactions().events;
    if (auto it = reactions.find(id); it != reactions.end()) it->second(*this, param);
}

void SimModel::window_toggle(uint32_t window_id) {
    toggles.push_back({window_id, 0, false});
    if (simulate) windows[int32_t(window_id)] = !windows[int32_t(window_id)];
}

void SimModel::advance(double dt) {
    if (!simulate) return;
    set(kVarSimTime, get(kVarSimTime) + dt);
    set(kVarTickCount, get(kVarTickCount) + 1);
    for (auto& tick : sim_reactions().ticks) tick(*this, dt);
    if (flight.on) flight.step(*this, dt);
}

}  // namespace bench
