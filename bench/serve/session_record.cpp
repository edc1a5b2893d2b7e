#include "bench/serve/session_record.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "bench/scenario.h"

namespace bench {

std::string scenario_quote(const std::string& text) {
    std::string out = "\"";
    for (char ch : text) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += ch;
        } else if (c < 0x20 || c >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += ch;
        }
    }
    return out + "\"";
}

bool scenario_number(double value, std::string& out) {
    if (!std::isfinite(value)) return false;
    char text[40];
    for (int digits = 6; digits <= 17; ++digits) {  // the shortest that reads back the same
        std::snprintf(text, sizeof text, "%.*g", digits, value);
        if (std::strtod(text, nullptr) == value) break;
    }
    out = text;
    return true;
}

namespace {

}  // namespace

void SessionJournal::put(const std::string& text) {
    if (full_) return;
    if (lines_.size() + held_.after.size() >= kLineLimit) {
        full_ = true;
        if (recording_) stop();
        return;
    }
    (held_.active ? held_.after : lines_).push_back(text);
}

void SessionJournal::flush_frames() {
    if (!frames_) return;
    uint64_t n = frames_;
    frames_ = 0;
    put(n == 1 ? "frame" : "frame " + std::to_string(n));
}

void SessionJournal::line(const std::string& text) {
    flush_frames();
    put(text);
}

void SessionJournal::frame() { ++frames_; }

void SessionJournal::set(uint32_t id, double value) {
    std::string number;
    line(scenario_number(value, number) ? "set " + scenario_hex(id) + " " + number
                                        : "# set " + scenario_hex(id) + " to a value a scenario cannot write; left out");
}

void SessionJournal::expect_caused(const std::vector<LoggedEvent>& events, const std::vector<LoggedEvent>& toggles) {
    if (!recording_) return;
    for (const LoggedEvent& e : events) put("expect event " + scenario_hex(e.id) + " " + std::to_string(e.param));
    put("expect no-event");
    for (const LoggedEvent& t : toggles) put("expect toggle " + std::to_string(int32_t(t.id)));
}

void SessionJournal::press(const std::string& ref, int32_t x, int32_t y, bool right,
                           const std::vector<LoggedEvent>& events, const std::vector<LoggedEvent>& toggles) {
    flush_press();
    flush_frames();
    held_ = Held{};
    held_.active = true;
    held_.ref = ref;
    held_.x = x;
    held_.y = y;
    held_.right = right;
    held_.events = events;
    held_.toggles = toggles;
}

void SessionJournal::repeat(const std::vector<LoggedEvent>& events, const std::vector<LoggedEvent>& toggles) {
    if (!held_.active) {
        line("# a repeat after a drag; the scenario language cannot write it");
        return;
    }
    ++held_.repeats;
    held_.events.insert(held_.events.end(), events.begin(), events.end());
    held_.toggles.insert(held_.toggles.end(), toggles.begin(), toggles.end());
}

void SessionJournal::drag(const std::string& ref, int32_t x, int32_t y, const std::vector<LoggedEvent>& events,
                          const std::vector<LoggedEvent>& toggles) {
    flush_press();
    line("drag " + ref + " " + std::to_string(x) + " " + std::to_string(y));
    expect_caused(events, toggles);
    if (recording_) ++actions_;
    watch_ = ref;
}

void SessionJournal::release() {
    if (!held_.active) return;
    watch_ = held_.ref;
    flush_press();
}

void SessionJournal::flush_press() {
    if (!held_.active) return;
    flush_frames();  // frames while held stay after the click
    Held h = std::move(held_);
    held_ = Held{};
    if (recording_) put("forget events");
    std::string click = "click " + h.ref + " " + std::to_string(h.x) + " " + std::to_string(h.y);
    if (h.right) click += " right";
    if (h.repeats) click += " held " + std::to_string(h.repeats);
    put(click);
    expect_caused(h.events, h.toggles);
    for (const std::string& l : h.after) put(l);
    if (recording_) ++actions_;
}

void SessionJournal::texts(const std::vector<std::pair<int, std::string>>& element_texts) {
    if (held_.active) return;  // still held: checked after the release
    flush_frames();
    if (recording_)
        for (const auto& [element, text] : element_texts)
            put("expect text " + watch_ + " " + std::to_string(element) + " " + scenario_quote(text));
    watch_.clear();
}

void SessionJournal::start(const std::vector<std::pair<uint32_t, double>>& variables) {
    flush_press();
    flush_frames();
    if (full_) return;
    watch_.clear();
    recording_ = recorded_ = true;
    actions_ = 0;
    put("# ---- recorded on the page from here: token variables as they stood, then the session");
    put("forget events");
    for (const auto& [id, value] : variables) set(id, value);
}

void SessionJournal::stop() {
    if (!recording_) return;
    flush_press();
    flush_frames();
    recording_ = false;
    end_line_ = lines_.size();
}

std::string SessionJournal::scenario() const {
    std::string out =
        "# A session on the corvan-bench page: what the panel did from load, then the recorded stretch\n"
        "# with what the page showed (key events, texts). Replay: corvan-bench run FILE\n";
    if (full_) out += "# The session grew past " + std::to_string(kLineLimit) + " lines; the journal stopped there.\n";
    size_t end = recording_ ? lines_.size() : recorded_ ? end_line_ : lines_.size();
    for (size_t i = 0; i < end && i < lines_.size(); ++i) out += lines_[i] + "\n";
    if (recording_) {
        uint64_t n = frames_;
        if (n) out += n == 1 ? "frame\n" : "frame " + std::to_string(n) + "\n";
    }
    return out;
}

}  // namespace bench
