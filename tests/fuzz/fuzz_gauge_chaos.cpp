// Fuzz: every gauge of the module, linked in, under random placements and parameter texts, token
// values (NaN, ±inf, ±1e300, integers past 32 and 64 bits), clicks, holds and drags, failure keys
// and simulation on and off. After every frame no string runs past its character count and, while
// the simulator's values are in range, nothing a callback gives a drawn element is NaN or infinite.
// Every input runs exactly kFrames frames, so a budget of runs is a budget of frames.
#include <cstdio>

#include "bench/stress.h"
#include "module/host_services.h"

extern "C" GAUGESLINKAGE Linkage;

constexpr int kFrames = 8;
constexpr size_t kMaxPlacements = 16;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bench::Host host;
    host.attach(&Linkage, &ImportTable, nullptr);
    static const std::vector<uint32_t> vars = bench::record_variables(host.module());
    bench::Choices in{data, size};
    std::string fault;
    for (int frame = 0; frame < kFrames; ++frame) {
        for (int n = in.byte() % 9; n > 0 && !in.exhausted(); --n) bench::random_action(host, in, vars, kMaxPlacements);
        bool in_range = bench::inputs_in_range(host, vars);  // before and after: events change them
        host.frame();
        if (!bench::check_frame(host, in_range && bench::inputs_in_range(host, vars), fault)) {
            std::fprintf(stderr, "chaos: %s\n", fault.c_str());
            __builtin_trap();
        }
    }
    return 0;
}
