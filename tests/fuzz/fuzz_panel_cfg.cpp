// Fuzz: any panel.cfg text is read without a crash, and each line it cannot read is reported with
// the file's name and the line's number.
#include <cstdint>
#include <sstream>
#include <string>

#include "bench/panel_cfg.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::istringstream in(text);
    bench::PanelConfig panel = bench::parse_panel_cfg(in, "fuzz.cfg");
    for (const std::string& error : panel.errors)
        if (error.rfind("fuzz.cfg:", 0) != 0) __builtin_trap();
    for (const bench::PanelWindow& w : panel.windows) bench::find_window(panel, w.ident);
    int32_t ident = 0;
    bench::parse_panel_ident(text.substr(0, text.find('\n')), ident);
    return 0;
}
