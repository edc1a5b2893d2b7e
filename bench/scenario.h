// Scenario scripts: the parser of one line into a command, and the runner of one file against a
// freshly loaded module.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace bench {

class SimModel;
struct ElementSlot;

class Host;
struct Placement;

struct Token {
    std::string text;
    bool quoted = false;
};

// Splits a line into words and double-quoted strings (with \" \\ and \xHH); '#' at the start of
// a word begins a comment. False with a message on an unterminated string or a bad escape.
bool tokenize(const std::string& line, std::vector<Token>& out, std::string& error);

// Decimal (-12, 0.25, 1e3) or hexadecimal (0x1A2B, -0x10) numbers; the whole word must be one.
bool parse_number(const std::string& word, double& out);
// An id or event as scenarios and their reports write it: 0x and upper-case hex digits.
std::string scenario_hex(uint32_t v);

struct GaugeRef {
    std::string name;
    int nth = 1;  // Nth live placement, 1-based
};

enum class Cmd {
    Install, Kill, Set, Calc, Fail, Sound, Simulate, Frame, Click, Drag,
    ExpectEvent, ExpectNoEvent, ForgetEvents, ExpectToggle, ExpectText, ExpectValue, ExpectShown,
    ExpectHidden, ExpectVar, ExpectSound, ExpectSoundObjects, ExpectResource, ExpectHelp, ExpectFont, ExpectColor,
    RenderGauge, RenderWindow, World, Place, Fly, Advance,
};

// What `advance SECONDS until ...` waits for.
enum class Until { Nothing, VarBelow, VarAbove, VarEqual, Shown, Hidden };

struct Command {
    Cmd kind = Cmd::Frame;
    GaugeRef gauge;
    std::string text;         // parameter text, expression, expected text, font name or file
    bool has_text = false;    // install with params; calc with a text result
    double number = 0;        // value, count, expected number
    bool has_param = false;   // expect event with a parameter
    double param = 0;
    double tolerance = -1;    // expect value / var: -1 when none was given
    uint32_t id = 0;          // variable, event, failure key, window ident
    int element = 0;          // 1-based drawing-order index; AREA for expect help
    int axis = 0;             // 0 x (or the only value), 1 y, 2 angle
    int32_t x = 0, y = 0;
    bool right = false;       // click button
    int held = 0;
    bool on = false;          // fail / sound / simulate / fly
    double place[5] = {};     // place: latitude, longitude, altitude, heading, airspeed (0: none given)
    Until until = Until::Nothing;  // advance: the condition that ends it early (id, param, gauge, element)
};

// Parses one line. Returns false with a message for a malformed line; `out` stays empty for a
// blank or comment-only line.
bool parse_line(const std::string& line, std::optional<Command>& out, std::string& error);

// Drawing to PNG, provided by builds that carry the renderer.
struct RenderHooks {
    std::function<bool(Host&, Placement&, const std::string& png, std::string& error)> gauge;
    std::function<bool(Host&, const std::string& panel_path, int32_t ident, const std::string& png,
                       std::string& error)>
        window;
};
RenderHooks& render_hooks();

struct RunOptions {
    std::string module_path;
    std::string panel_path;  // panel.cfg for `render window`
};

// Runs one scenario file in this process. Prints `file:line: …` for every failure and returns
// true when the file passed.
bool run_scenario_file(const std::string& path, const RunOptions& options);

// The flight lines as the runner and the demo player both carry them out: `world` (a relative
// file is found beside the scenario at `scenario_path`), `place` and `fly`. Returns false with
// `error` set when the world file cannot be read.
bool run_flight_line(SimModel& sim, const Command& c, const std::string& scenario_path, std::string& error);
// Whether the condition of an `advance … until` line holds now (`slot` for shown and hidden).
bool advance_condition_met(const Command& c, const SimModel& sim, const ElementSlot* slot);

// Sets up a host's sound probe on builds with the sound substitute; sets `available` false where
// the real DirectSound plays (its plays are not counted).
void attach_sound_probe(Host& host);

}  // namespace bench
