// Simulator reactions: panel windows opened, closed and toggled by key event.
#include "bench/sim/sim_model.h"

namespace bench {
namespace {

constexpr uint32_t kEventPanelToggle = 0x103CA;
constexpr uint32_t kEventPanelOpen = 0x103CB;
constexpr uint32_t kEventPanelClose = 0x103CC;

void add(SimReactions& r) {
    r.events[kEventPanelToggle] = [](SimModel& sim, uint32_t id) {
        sim.windows[int32_t(id)] = !sim.windows[int32_t(id)];
    };
    r.events[kEventPanelOpen] = [](SimModel& sim, uint32_t id) { sim.windows[int32_t(id)] = true; };
    r.events[kEventPanelClose] = [](SimModel& sim, uint32_t id) { sim.windows[int32_t(id)] = false; };
}

SimRegistrar registrar(add);

}  // namespace
}  // namespace bench
