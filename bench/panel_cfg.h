// The simulator's panel.cfg, as far as the bench uses it: window titles, and per window its size,
// screen position, visibility, identifier, background colour and the gauges it places.
//
//   [Window Titles]
//   Window00=Main Panel
//   [Window00]
//   size_mm=1600,900
//   ident=MAIN_PANEL
//   gauge00=Corvan_Instr!Airspeed, 20,40,150[,150][,parameter text]
//
// Sections other than these, and keys the bench does not use, are passed over. A line that cannot
// be read is reported with its file and line number, and reading goes on with the next line.
#pragma once

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace bench {

struct PanelGauge {
    std::string module;  // text before '!'
    std::string name;    // gauge name
    int x = 0, y = 0, w = 0;
    int h = 0;           // 0 when the line leaves it out (the gauge keeps its aspect)
    std::string parameters;
    bool has_parameters = false;
    int line = 0;
};

struct PanelWindow {
    int number = 0;          // NN of [WindowNN]
    std::string title;       // from [Window Titles]
    int width = 0, height = 0;  // size_mm
    int position = -1;       // the simulator's screen position code, -1 when not given
    bool visible = true;
    int32_t ident = -1;      // panel identifier, -1 when not given
    std::string ident_text;  // as written
    uint32_t background = 0x2E3236;  // 0xRRGGBB
    std::vector<PanelGauge> gauges;
    int line = 0;
};

struct PanelConfig {
    std::string path;
    std::vector<PanelWindow> windows;  // in window number order
    std::vector<std::string> errors;   // "file:line: message", in file order
};

// Reads panel.cfg text. Never fails as a whole: bad lines land in `errors`.
PanelConfig parse_panel_cfg(std::istream& in, const std::string& path);
// Reads a file; false with a message when it cannot be opened.
bool read_panel_cfg(const std::string& path, PanelConfig& out, std::string& error);

// A panel identifier: one of the simulator's window names ("MAIN_PANEL" 0 ... "OVERHEAD_PANEL"
// 250) or a decimal number; false for anything else.
bool parse_panel_ident(const std::string& text, int32_t& out);

// The window with this identifier, or null.
const PanelWindow* find_window(const PanelConfig& panel, int32_t ident);

}  // namespace bench
