// The simulator's panel.cfg, as far as the bench uses it: window titles, and per window its size,
// screen position, visibility, identifier, background colour and the gauges it places.
//
//   [Window Titles]
//   Window00=Main Panel
//   [Window00]
//   size_mm=1600,900
//   ident=MAIN_PANEL
//   gauge00=Corvan_Instr!Airspeed, 20,40[,150[,150]][,parameter text]   // a comment
//
// Read in the forms aircraft packages ship: CRLF endings, lines commented out with ';' or '//',
// trailing '//' comments, Windows-1252 titles (kept as UTF-8), size_mm with the width only (the
// height then comes from the window's background bitmap or from its gauges, see settle_panel),
// gauge lines without a width (the gauge's own size). Other sections ([Vcockpit01], [Views] ...)
// are listed, not drawn; keys the bench does not use are passed over. A line that cannot be read
// is reported with its file and line number, and reading goes on with the next line.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <vector>

namespace bench {

struct PanelGauge {
    std::string module;  // text before '!'
    std::string name;    // gauge name
    int x = 0, y = 0;
    int w = 0;           // 0 when the line leaves it out: the gauge's own size (settle_panel)
    int h = 0;           // 0 when the line leaves it out (the gauge keeps its aspect)
    std::string parameters;
    bool has_parameters = false;
    int line = 0;
};

struct PanelWindow {
    int number = 0;          // NN of [WindowNN]
    std::string title;       // from [Window Titles]
    int width = 0, height = 0;  // size_mm; height 0 until settle_panel when only a width is given
    std::string background_file;  // file= (or file_1024=): the window's background bitmap
    int position = -1;       // the simulator's screen position code, -1 when not given
    bool visible = true;
    int32_t ident = -1;      // panel identifier, -1 when not given
    std::string ident_text;  // as written
    uint32_t background = 0x2E3236;  // 0xRRGGBB
    std::vector<PanelGauge> gauges;
    int line = 0;
};

// A section the 2D panel does not draw ([Vcockpit01], [Views], [Color] ...).
struct PanelSection {
    std::string name;  // as written between the brackets
    int line = 0;
    int gauges = 0;    // gaugeNN lines in it
};

struct PanelConfig {
    std::string path;
    std::vector<PanelWindow> windows;  // in window number order
    std::vector<PanelSection> undrawn; // in file order
    std::vector<std::string> errors;   // "file:line: message", in file order
};

// Reads panel.cfg text. Never fails as a whole: bad lines land in `errors`. (The panel.cfg fuzz
// target calls this.)
PanelConfig parse_panel_cfg(std::istream& in, const std::string& path);

// A gauge's own size in pixels; false when the bench does not know the gauge (another module's).
using OwnGaugeSize = std::function<bool(const PanelGauge& gauge, int& w, int& h)>;
// Fills in what the file left to the gauges: the width and height of gauge lines without a width
// (their own size, or kPlaceholderSize for gauges the bench cannot draw), and the height of windows
// whose size_mm gave only a width (from the background bitmap's proportions when `file=` names a
// readable BMP beside the panel.cfg, else down to the lowest gauge).
constexpr int kPlaceholderSize = 64;
void settle_panel(PanelConfig& panel, const OwnGaugeSize& own_size);
// The scaled height a settled gauge line takes on its window.
int placed_height(const PanelGauge& g, const OwnGaugeSize& own_size);
// Reads a file; false with a message when it cannot be opened.
bool read_panel_cfg(const std::string& path, PanelConfig& out, std::string& error);

// A panel identifier: one of the simulator's window names ("MAIN_PANEL" 0 ... "OVERHEAD_PANEL"
// 250) or a decimal number; false for anything else.
bool parse_panel_ident(const std::string& text, int32_t& out);

// Windows-1252 text (the simulator's files and the gauges' strings) as UTF-8; a byte the code
// page leaves undefined becomes U+FFFD.
std::string utf8_from_1252(const std::string& s);

// The window with this identifier, or null.
const PanelWindow* find_window(const PanelConfig& panel, int32_t ident);

}  // namespace bench
