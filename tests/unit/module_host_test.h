// A host with the built module loaded and simulation off, for tests that drive gauges directly.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "bench/host.h"
#include "tests/unit/test_main_env.h"

class ModuleHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host.load(test_module_path(), error)) << error;
        host.sim.simulate = false;
    }
    bench::Placement* install(const char* name) {
        std::string error;
        bench::Placement* p = host.install(name, nullptr, error);
        EXPECT_NE(p, nullptr) << error;
        return p;
    }
    bench::Host host;
};
