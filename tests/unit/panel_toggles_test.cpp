// Toggle buttons with parameter texts no panel designer means: a runaway view count is held to a
// bounded number of events instead of holding the panel thread.
#include "tests/unit/module_host_test.h"

using PanelToggles = ModuleHostTest;

TEST_F(PanelToggles, RunawayViewCountIsBounded) {
    std::string error;
    for (const char* params : {"p-99999999999", "p99999999999", "p2147483647"}) {
        bench::Placement* p = host.install("Landing_View_Toggle", params, error);
        ASSERT_NE(p, nullptr) << error;
        host.sim.events.clear();
        host.click(p, 8, 8, MOUSE_LEFTSINGLE, 0);
        EXPECT_EQ(host.sim.events.size(), 64u) << params;
        uint32_t step = params[1] == '-' ? 0x100C7u : 0x100C6u;
        for (const auto& e : host.sim.events) EXPECT_EQ(e.id, step) << params;
        host.kill(p);
    }
}
