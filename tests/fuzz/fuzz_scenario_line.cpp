// Fuzz: any line of a scenario file parses or is refused with a message, never crashes.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "bench/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string line(reinterpret_cast<const char*>(data), size);
    std::optional<bench::Command> command;
    std::string error;
    bool ok = bench::parse_line(line, command, error);
    if (!ok && error.empty()) __builtin_trap();  // a refusal always says why
    double v;
    bench::parse_number(line, v);
    return 0;
}
