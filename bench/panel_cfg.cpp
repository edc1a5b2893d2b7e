#include "bench/panel_cfg.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>

namespace bench {
namespace {

struct IdentName {
    const char* name;
    int32_t id;
};
constexpr IdentName kIdentNames[] = {
    {"MAIN_PANEL", 0},          {"THROTTLE_PANEL", 10},   {"RADIO_STACK_PANEL", 50},
    {"COMPASS_PANEL", 75},      {"MINI_CONTROLS_PANEL", 100}, {"ANNUNCIATOR_PANEL", 125},
    {"ANNUNCIATOR2_PANEL", 150}, {"IFR_MAIN_PANEL", 175}, {"COLLECTIVE_PANEL", 200},
    {"GPS_PANEL", 225},         {"OVERHEAD_PANEL", 250},
};

std::string trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a]))) ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1]))) --b;
    return s.substr(a, b - a);
}

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A whole field as a decimal integer.
bool parse_int(const std::string& field, int& out) {
    std::string t = trim(field);
    if (t.empty()) return false;
    errno = 0;
    char* end = nullptr;
    long v = std::strtol(t.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT_MIN || v > INT_MAX) return false;
    out = int(v);
    return true;
}

std::vector<std::string> split(const std::string& s, char sep, size_t max_fields) {
    std::vector<std::string> out;
    size_t start = 0;
    while (out.size() + 1 < max_fields) {
        size_t at = s.find(sep, start);
        if (at == std::string::npos) break;
        out.push_back(s.substr(start, at - start));
        start = at + 1;
    }
    out.push_back(s.substr(start));
    return out;
}

// The line without a trailing // comment.
std::string strip_comment(const std::string& s) {
    size_t at = s.find("//");
    return at == std::string::npos ? s : s.substr(0, at);
}

bool valid_utf8(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
        if (n == 9 || i + n >= s.size() + (n ? 0 : 1)) return false;
        for (size_t k = 1; k <= n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n + 1;
    }
    return true;
}

// Windows-1252 text (what the simulator's files are written in) as UTF-8; UTF-8 stays as it is.
std::string to_utf8(const std::string& s) { return valid_utf8(s) ? s : utf8_from_1252(s); }

// "WindowNN" (any case) with NN a number.
bool window_number(const std::string& key, int& out) {
    std::string k = lower(trim(key));
    if (k.rfind("window", 0) != 0 || k.size() == 6) return false;
    std::string digits = k.substr(6);
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
        return false;
    return parse_int(digits, out) && out >= 0;
}

class Reader {
public:
    explicit Reader(const std::string& path) { panel_.path = path; }

    void line(int number, const std::string& raw);
    PanelConfig finish();

private:
    void error(const std::string& message) { panel_.errors.push_back(panel_.path + ":" + std::to_string(line_) + ": " + message); }
    PanelWindow& window(int number);
    void window_key(PanelWindow& w, const std::string& key, const std::string& value);
    void gauge_line(PanelWindow& w, const std::string& value);

    enum class Section { None, Titles, Window, Other };
    PanelConfig panel_;
    Section section_ = Section::None;
    int current_ = -1;
    int line_ = 0;
    int other_ = -1;  // index in panel_.undrawn of the section being read, or -1
    std::map<int, int> title_lines_;  // window number -> line of its title
};

PanelWindow& Reader::window(int number) {
    for (PanelWindow& w : panel_.windows)
        if (w.number == number) return w;
    PanelWindow w;
    w.number = number;
    panel_.windows.push_back(w);
    return panel_.windows.back();
}

void Reader::line(int number, const std::string& raw) {
    line_ = number;
    std::string text = trim(raw);
    if (text.empty() || text[0] == ';') return;
    text = trim(strip_comment(text));
    if (text.empty()) return;
    if (text[0] == '[') {
        if (text.back() != ']') {
            error("section header without its closing ']'");
            section_ = Section::Other;
            return;
        }
        std::string name = trim(text.substr(1, text.size() - 2));
        int n = 0;
        other_ = -1;
        if (lower(name) == "window titles") {
            section_ = Section::Titles;
        } else if (window_number(name, n)) {
            section_ = Section::Window;
            current_ = n;
            PanelWindow& w = window(n);
            if (w.line) error("window " + std::to_string(n) + " was already described at line " + std::to_string(w.line));
            w.line = number;
        } else if (lower(name).rfind("window", 0) == 0) {
            error("window section [" + name + "] has no window number");
            section_ = Section::Other;
        } else {
            section_ = Section::Other;
            other_ = int(panel_.undrawn.size());
            panel_.undrawn.push_back(PanelSection{to_utf8(name), number, 0});
        }
        return;
    }
    size_t eq = text.find('=');
    if (eq == std::string::npos) {
        error("expected key=value, got \"" + text + "\"");
        return;
    }
    std::string key = lower(trim(text.substr(0, eq)));
    std::string value = trim(text.substr(eq + 1));
    switch (section_) {
    case Section::None:
        error("\"" + key + "\" comes before any section");
        return;
    case Section::Other:
        if (other_ >= 0 && key.rfind("gauge", 0) == 0) ++panel_.undrawn[size_t(other_)].gauges;
        return;
    case Section::Titles: {
        int n = 0;
        if (!window_number(key, n)) {
            error("window title key \"" + key + "\" is not WindowNN");
            return;
        }
        window(n).title = to_utf8(value);
        title_lines_[n] = number;
        return;
    }
    case Section::Window:
        window_key(window(current_), key, value);
        return;
    }
}

void Reader::window_key(PanelWindow& w, const std::string& key, const std::string& value) {
    if (key.rfind("gauge", 0) == 0) {
        gauge_line(w, value);
    } else if (key == "size_mm") {
        // A width alone leaves the height to the background bitmap or the gauges (settle_panel).
        auto f = split(value, ',', 3);
        int width = 0, height = 0;
        bool ok = f.size() <= 2 && parse_int(f[0], width) && width > 0;
        if (ok && f.size() == 2) ok = parse_int(f[1], height) && height > 0;
        if (!ok)
            error("size_mm wants a positive width and height (or the width alone), got \"" + value + "\"");
        else
            w.width = width, w.height = height;
    } else if (key == "file" || (key == "file_1024" && w.background_file.empty())) {
        w.background_file = value;
    } else if (key == "position") {
        int p = 0;
        if (!parse_int(value, p) || p < 0 || p > 8)
            error("position wants 0 to 8, got \"" + value + "\"");
        else
            w.position = p;
    } else if (key == "visible") {
        int v = 0;
        if (!parse_int(value, v) || (v != 0 && v != 1))
            error("visible wants 0 or 1, got \"" + value + "\"");
        else
            w.visible = v == 1;
    } else if (key == "ident") {
        int32_t id = 0;
        if (!parse_panel_ident(value, id)) {
            error("ident wants a panel name or a number, got \"" + value + "\"");
        } else {
            w.ident = id;
            w.ident_text = value;
        }
    } else if (key == "background_color") {
        auto f = split(value, ',', 4);
        int c[3] = {0, 0, 0};
        bool ok = f.size() == 3;
        for (size_t i = 0; ok && i < 3; ++i) ok = parse_int(f[i], c[i]) && c[i] >= 0 && c[i] <= 255;
        if (!ok)
            error("background_color wants three numbers 0 to 255, got \"" + value + "\"");
        else
            w.background = uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | uint32_t(c[2]);
    }
}

// Module!Name, x, y[, w[, h]][, parameter text]. A missing or empty width leaves the gauge its
// own size. The fifth field is the height when it is a number (or empty); otherwise it opens the
// parameter text, which runs to the end of the line and may hold commas.
void Reader::gauge_line(PanelWindow& w, const std::string& value) {
    auto f = split(value, ',', 6);
    if (f.size() < 3) {
        error("a gauge line needs Module!Gauge, x, y; got \"" + value + "\"");
        return;
    }
    PanelGauge g;
    g.line = line_;
    std::string ref = trim(f[0]);
    size_t bang = ref.find('!');
    if (bang == std::string::npos || bang == 0 || bang + 1 == ref.size()) {
        error("gauge \"" + ref + "\" is not Module!Gauge");
        return;
    }
    g.module = ref.substr(0, bang);
    g.name = ref.substr(bang + 1);
    if (!parse_int(f[1], g.x) || !parse_int(f[2], g.y)) {
        error("gauge " + g.name + ": x and y must be numbers");
        return;
    }
    if (f.size() > 3 && !trim(f[3]).empty() && (!parse_int(f[3], g.w) || g.w <= 0)) {
        error("gauge " + g.name + ": width must be a positive number");
        return;
    }
    size_t params_from = 4;
    if (f.size() > 4) {
        std::string fifth = trim(f[4]);
        int h = 0;
        if (fifth.empty()) {
            params_from = 5;
        } else if (parse_int(fifth, h)) {
            if (h <= 0) {
                error("gauge " + g.name + ": height must be a positive number");
                return;
            }
            g.h = h;
            params_from = 5;
        }
    }
    if (f.size() > params_from) {
        std::string rest = f[params_from];
        for (size_t i = params_from + 1; i < f.size(); ++i) rest += "," + f[i];
        g.parameters = trim(rest);
        g.has_parameters = true;
    }
    w.gauges.push_back(g);
}

PanelConfig Reader::finish() {
    std::stable_sort(panel_.windows.begin(), panel_.windows.end(),
                     [](const PanelWindow& a, const PanelWindow& b) { return a.number < b.number; });
    for (const PanelWindow& w : panel_.windows) {
        if (!w.line) {
            line_ = title_lines_[w.number];
            error("window " + std::to_string(w.number) + " has a title but no [Window" + std::to_string(w.number) + "] section");
        } else if (w.width <= 0) {
            line_ = w.line;
            error("window " + std::to_string(w.number) + " has no size_mm");
        }
    }
    // Windows without a section or a size cannot be drawn.
    panel_.windows.erase(std::remove_if(panel_.windows.begin(), panel_.windows.end(),
                                        [](const PanelWindow& w) { return !w.line || w.width <= 0; }),
                         panel_.windows.end());
    return std::move(panel_);
}

}  // namespace

bool parse_panel_ident(const std::string& text, int32_t& out) {
    std::string t = trim(text);
    for (const IdentName& n : kIdentNames)
        if (t == n.name) {
            out = n.id;
            return true;
        }
    int v = 0;
    if (!parse_int(t, v)) return false;
    out = v;
    return true;
}

PanelConfig parse_panel_cfg(std::istream& in, const std::string& path) {
    Reader reader(path);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        reader.line(number, raw);
    }
    return reader.finish();
}

bool read_panel_cfg(const std::string& path, PanelConfig& out, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = path + ": cannot open the panel configuration";
        return false;
    }
    out = parse_panel_cfg(in, path);
    return true;
}

namespace {

// The size of a BMP file's picture; false when it is not one.
bool bmp_size(const std::filesystem::path& file, int& w, int& h) {
    std::ifstream in(file, std::ios::binary);
    unsigned char head[26] = {};
    if (!in.read(reinterpret_cast<char*>(head), sizeof head) || head[0] != 'B' || head[1] != 'M') return false;
    auto s32 = [&](int at) { return int32_t(uint32_t(head[at]) | uint32_t(head[at + 1]) << 8 | uint32_t(head[at + 2]) << 16 | uint32_t(head[at + 3]) << 24); };
    w = s32(18);
    h = s32(22);
    if (h < 0) h = h == INT32_MIN ? 0 : -h;  // top-down bitmaps
    return w > 0 && h > 0;
}

}  // namespace

int placed_height(const PanelGauge& g, const OwnGaugeSize& own_size) {
    if (g.h > 0) return g.h;
    int ow = 0, oh = 0;
    if (!own_size || !own_size(g, ow, oh) || ow <= 0 || oh <= 0) return g.w;
    return int(std::lround(double(g.w) * oh / ow));
}

void settle_panel(PanelConfig& panel, const OwnGaugeSize& own_size) {
    for (PanelWindow& w : panel.windows) {
        for (PanelGauge& g : w.gauges) {
            if (g.w > 0) continue;
            int ow = 0, oh = 0;
            if (own_size && own_size(g, ow, oh) && ow > 0 && oh > 0) {
                g.w = ow;
                g.h = oh;
            } else {
                g.w = g.h = kPlaceholderSize;
            }
        }
        if (w.height > 0) continue;
        int bw = 0, bh = 0;
        if (!w.background_file.empty() &&
            bmp_size(std::filesystem::path(panel.path).parent_path() / w.background_file, bw, bh)) {
            w.height = std::max(1, int(std::lround(double(w.width) * bh / bw)));
            continue;
        }
        int bottom = 1;
        for (const PanelGauge& g : w.gauges) bottom = std::max(bottom, g.y + placed_height(g, own_size));
        w.height = bottom;
    }
}

std::string utf8_from_1252(const std::string& s) {
    // 0x80-0x9F of Windows-1252; 0 where the code page leaves the byte undefined.
    static const uint16_t kHigh[32] = {0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
                                       0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
                                       0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178};
    std::string out;
    for (char ch : s) {
        unsigned c = static_cast<unsigned char>(ch);
        if (c >= 0x80 && c < 0xA0) c = kHigh[c - 0x80] ? kHigh[c - 0x80] : 0xFFFD;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

const PanelWindow* find_window(const PanelConfig& panel, int32_t ident) {
    for (const PanelWindow& w : panel.windows)
        if (w.ident == ident) return &w;
    return nullptr;
}

}  // namespace bench
