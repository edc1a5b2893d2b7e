// Stress driving for the bench: random pilot and simulator input, the checks that hold after
// every frame, and what the process holds (heap bytes, handles). Used by the `cycles`, `faults`
// and `soak` commands and by the chaos fuzz target.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/host.h"

namespace bench {

// Where random choices come from: the bytes of a fuzz input (0 once they run out), or a seeded
// generator when `data` is null.
struct Choices {
    const uint8_t* data = nullptr;
    size_t left = 0;
    uint64_t state = 0x9E3779B97F4A7C15u;

    uint8_t byte();
    uint32_t u32();
    // A token value: mostly the troublesome ones (NaN, ±inf, ±1e300, integers past 32 and 64
    // bits, BCD-looking values), sometimes any bit pattern.
    double value();
    bool exhausted() const { return data && left == 0; }
};

// Every token variable id that an element record of the module names.
std::vector<uint32_t> record_variables(const LoadedModule& module);

// One random action: a token value, a click (held or not) or drag inside or near a mouse area, a
// failure key, simulation on or off, or a kill and install of a placement (at most `max_placements`
// live). Returns false when it did nothing.
bool random_action(Host& host, Choices& in, const std::vector<uint32_t>& vars, size_t max_placements);

// After a frame: every string element's text ends within its character count and, while every
// token value the simulator holds is in range (`inputs_in_range`), every value a module callback
// gave an element that is drawn is finite. False with what went wrong.
bool check_frame(const Host& host, bool inputs_in_range, std::string& fault);
// Whether the simulator's values in the variables `vars` and in 0 to 0x3FF are all finite and at
// most kInputRange in size: no product or difference of two of them overflows. Larger values are
// still fed to the gauges (for the sanitizers), but what they draw is not judged.
constexpr double kInputRange = 1e150;
bool inputs_in_range(const Host& host, const std::vector<uint32_t>& vars);
// Gives every one of those variables that is out of range the value 0 (or every variable, with
// `all`): the simulator recovers.
void clear_inputs(Host& host, const std::vector<uint32_t>& vars, bool all);

// Heap bytes in use and handles (file descriptors, or Win32 handles) open in this process.
struct ProcessUsage {
    long long heap_bytes = -1;    // the C runtime's heap, where the module and the bench allocate; -1 unknown
    long long system_bytes = -1;  // Windows: the process heap, where the system's own DLLs allocate
    long long handles = -1;
    long long resident_bytes = -1;  // Linux: the process's resident memory, allocator caches and all
};
ProcessUsage process_usage();

}  // namespace bench
