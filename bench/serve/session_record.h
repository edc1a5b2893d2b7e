// What the served panel did, kept as scenario lines, so that a stretch of a session can be
// downloaded as a .scn file that `corvan-bench run` replays from a freshly loaded module.
//
// The journal starts at load: the installations, the demo, then every frame, token variable,
// calculator result, failure, simulation switch, click, repeat and drag, in the order the host saw
// them (frames merged into `frame N`). While recording, each action is followed by what the page
// showed for it: the key events its handler sent (`expect event`, then `expect no-event`), the
// window toggles it called, and after the next frame the texts of the acted-on gauge's string
// elements. A held button becomes one `click … held N` line at its release (the scenario language
// has no separate repeat), followed by the frames that passed while it was held.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "bench/sim/sim_model.h"

namespace bench {

// A string as a scenario's double-quoted word.
std::string scenario_quote(const std::string& text);
// A number as a scenario word that reads back to the same double; false for NaN and infinities,
// which the scenario language cannot write.
bool scenario_number(double value, std::string& out);

class SessionJournal {
public:
    static constexpr size_t kLineLimit = 1000000;  // past this the journal stops and says so

    void line(const std::string& text);  // a driving command, as written
    void frame();
    void set(uint32_t id, double value);

    // Mouse actions on the placement named `ref` ("Name" or "Name#2"), at gauge pixels, with the
    // key events and window toggles its handler caused.
    void press(const std::string& ref, int32_t x, int32_t y, bool right, const std::vector<LoggedEvent>& events,
               const std::vector<LoggedEvent>& toggles);
    void repeat(const std::vector<LoggedEvent>& events, const std::vector<LoggedEvent>& toggles);
    void drag(const std::string& ref, int32_t x, int32_t y, const std::vector<LoggedEvent>& events,
              const std::vector<LoggedEvent>& toggles);
    void release();

    // The placement whose texts the frame after an action should be checked on ("" for none); the
    // caller hands them in with `texts` right after that frame.
    const std::string& watched() const { return watch_; }
    void texts(const std::vector<std::pair<int, std::string>>& element_texts);

    // Recording: from `start` (which writes the token variables as they stand) to `stop`.
    void start(const std::vector<std::pair<uint32_t, double>>& variables);
    void stop();
    bool recording() const { return recording_; }
    bool full() const { return full_; }
    size_t recorded_actions() const { return actions_; }
    // The scenario file: everything from load up to the end of the recording.
    std::string scenario() const;

private:
    void put(const std::string& text);
    void flush_frames();
    void flush_press();
    void expect_caused(const std::vector<LoggedEvent>& events, const std::vector<LoggedEvent>& toggles);

    struct Held {
        bool active = false;
        std::string ref;
        int32_t x = 0, y = 0;
        bool right = false;
        int repeats = 0;
        int frames = 0;  // frames that passed while held
        std::vector<LoggedEvent> events, toggles;
        std::vector<std::string> after;  // lines that came while it was held, written after the click
    };

    std::vector<std::string> lines_;
    uint64_t frames_ = 0;  // not yet written
    Held held_;
    std::string watch_;
    bool recording_ = false;
    bool recorded_ = false;
    bool full_ = false;
    size_t end_line_ = 0;
    size_t actions_ = 0;
};

}  // namespace bench
