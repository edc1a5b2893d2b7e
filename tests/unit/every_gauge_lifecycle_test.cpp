// Every gauge of the table installs, runs frames and draws its background; killed and installed
// again it draws again; two placements of one gauge live side by side and outlive each other.
#include <vector>

#include "tests/unit/module_host_test.h"

using namespace bench;

using EveryGauge = ModuleHostTest;

TEST_F(EveryGauge, InstallsDrawsIsKilledAndComesBack) {
    host.sim.simulate = true;  // as on a panel: the simulator answers the gauges' events
    const std::vector<GAUGEHDR*>& gauges = host.module().gauges;
    ASSERT_EQ(gauges.size(), size_t(kGaugeCount));
    auto install_all = [&] {
        for (GAUGEHDR* g : gauges) ASSERT_NE(install(g->gauge_name), nullptr) << g->gauge_name;
    };
    auto backgrounds_shown = [&](int nth) {
        for (GAUGEHDR* g : gauges) {
            Placement* p = host.find(g->gauge_name, nth);
            ASSERT_NE(p, nullptr) << g->gauge_name << "#" << nth;
            EXPECT_TRUE(p->elements.at(0).shown) << g->gauge_name << "#" << nth;
        }
    };

    install_all();
    for (int i = 0; i < 3; ++i) host.frame();
    backgrounds_shown(1);
    for (GAUGEHDR* g : gauges) host.kill(host.find(g->gauge_name, 1));
    EXPECT_TRUE(host.placements().empty());

    install_all();
    host.frame();
    install_all();  // a second placement of each
    host.frame();
    host.frame();
    backgrounds_shown(2);
    for (GAUGEHDR* g : gauges) host.kill(host.find(g->gauge_name, 1));
    host.frame();
    backgrounds_shown(1);  // the second placements, counted again from 1
    EXPECT_EQ(host.placements().size(), gauges.size());
}
