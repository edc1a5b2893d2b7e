// The scenario language's words, numbers and commands.
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>

#include "bench/scenario.h"

namespace bench {

static int hex_digit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool tokenize(const std::string& line, std::vector<Token>& out, std::string& error) {
    out.clear();
    size_t i = 0, n = line.size();
    while (i < n) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        if (c == '#') break;
        Token t;
        if (c == '"') {
            t.quoted = true;
            ++i;
            bool closed = false;
            while (i < n) {
                char q = line[i++];
                if (q == '"') {
                    closed = true;
                    break;
                }
                if (q != '\\') {
                    t.text += q;
                    continue;
                }
                if (i >= n) break;
                char e = line[i++];
                if (e == '"' || e == '\\') {
                    t.text += e;
                } else if (e == 'x' && i + 1 < n && hex_digit(line[i]) >= 0 && hex_digit(line[i + 1]) >= 0) {
                    t.text += char(hex_digit(line[i]) * 16 + hex_digit(line[i + 1]));
                    i += 2;
                } else {
                    error = std::string("bad escape \\") + e + " in string";
                    return false;
                }
            }
            if (!closed) {
                error = "unterminated string";
                return false;
            }
            if (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) {
                error = "text after closing quote";
                return false;
            }
        } else {
            while (i < n && !std::isspace(static_cast<unsigned char>(line[i]))) t.text += line[i++];
        }
        out.push_back(std::move(t));
    }
    return true;
}

bool parse_number(const std::string& word, double& out) {
    if (word.empty()) return false;
    size_t i = 0;
    bool negative = false;
    if (word[0] == '-' || word[0] == '+') {
        negative = word[0] == '-';
        i = 1;
    }
    if (word.size() > i + 2 && word[i] == '0' && (word[i + 1] == 'x' || word[i + 1] == 'X')) {
        if (word.size() - i - 2 > 16) return false;
        double v = 0;
        for (size_t k = i + 2; k < word.size(); ++k) {
            int d = hex_digit(word[k]);
            if (d < 0) return false;
            v = v * 16 + d;
        }
        out = negative ? -v : v;
        return true;
    }
    // Decimal only: digits, one point, an exponent; no inf, nan or hex floats from strtod.
    bool digits = false;
    size_t k = i;
    while (k < word.size() && std::isdigit(static_cast<unsigned char>(word[k]))) ++k, digits = true;
    if (k < word.size() && word[k] == '.') {
        ++k;
        while (k < word.size() && std::isdigit(static_cast<unsigned char>(word[k]))) ++k, digits = true;
    }
    if (!digits) return false;
    if (k < word.size() && (word[k] == 'e' || word[k] == 'E')) {
        ++k;
        if (k < word.size() && (word[k] == '-' || word[k] == '+')) ++k;
        size_t exp_start = k;
        while (k < word.size() && std::isdigit(static_cast<unsigned char>(word[k]))) ++k;
        if (k == exp_start) return false;
    }
    if (k != word.size()) return false;
    out = std::strtod(word.c_str(), nullptr);
    return std::isfinite(out);
}

namespace {

// Reads the words of one command in order, remembering the first problem.
struct Words {
    const std::vector<Token>& t;
    size_t at;
    std::string& error;

    bool done() const { return at >= t.size(); }
    bool fail(const std::string& why) {
        if (error.empty()) error = why;
        return false;
    }
    bool word(std::string& out, const char* what) {
        if (done()) return fail(std::string("missing ") + what);
        if (t[at].quoted) return fail(std::string("expected ") + what + ", got a string");
        out = t[at++].text;
        return true;
    }
    bool quoted(std::string& out, const char* what) {
        if (done() || !t[at].quoted) return fail(std::string("expected ") + what + " in double quotes");
        out = t[at++].text;
        return true;
    }
    bool number(double& out, const char* what) {
        std::string w;
        if (!word(w, what)) return false;
        if (!parse_number(w, out)) return fail(std::string("bad ") + what + " '" + w + "'");
        return true;
    }
    bool integer(int64_t& out, const char* what, int64_t lo, int64_t hi) {
        double v;
        if (!number(v, what)) return false;
        if (v != std::floor(v) || v < double(lo) || v > double(hi))
            return fail(std::string(what) + " out of range");
        out = int64_t(v);
        return true;
    }
    bool id(uint32_t& out, const char* what) {
        int64_t v;
        if (!integer(v, what, 0, 0xFFFFFFFFll)) return false;
        out = uint32_t(v);
        return true;
    }
    bool gauge(GaugeRef& out) {
        std::string w;
        if (!word(w, "gauge")) return false;
        auto hash = w.find('#');
        out.name = w.substr(0, hash);
        out.nth = 1;
        if (hash != std::string::npos) {
            double n;
            std::string nth = w.substr(hash + 1);
            if (!parse_number(nth, n) || n < 1 || n != std::floor(n) || n > 1e6)
                return fail("bad placement number in '" + w + "'");
            out.nth = int(n);
        }
        if (out.name.empty()) return fail("missing gauge name");
        return true;
    }
    bool element(int& out, const char* what = "element") {
        int64_t v;
        if (!integer(v, what, 1, 100000)) return false;
        out = int(v);
        return true;
    }
    bool on_off(bool& out) {
        std::string w;
        if (!word(w, "on or off")) return false;
        if (w != "on" && w != "off") return fail("expected on or off, got '" + w + "'");
        out = w == "on";
        return true;
    }
    // [~TOL]
    bool tolerance(double& out) {
        if (done()) return true;
        std::string w = t[at].text;
        if (t[at].quoted || w.empty() || w[0] != '~') return true;
        ++at;
        if (!parse_number(w.substr(1), out) || out < 0) return fail("bad tolerance '" + w + "'");
        return true;
    }
    bool end() {
        if (!done()) return fail("unexpected '" + t[at].text + "'");
        return true;
    }
};

const std::map<std::string, Cmd> kExpectations = {
    {"event", Cmd::ExpectEvent},   {"no-event", Cmd::ExpectNoEvent}, {"toggle", Cmd::ExpectToggle},
    {"text", Cmd::ExpectText},     {"value", Cmd::ExpectValue},      {"shown", Cmd::ExpectShown},
    {"hidden", Cmd::ExpectHidden}, {"var", Cmd::ExpectVar},          {"sound", Cmd::ExpectSound},
    {"resource", Cmd::ExpectResource}, {"help", Cmd::ExpectHelp},    {"font", Cmd::ExpectFont},
    {"color", Cmd::ExpectColor},   {"sound-objects", Cmd::ExpectSoundObjects},
};

bool parse_expect(Words& w, Command& c) {
    std::string what;
    if (!w.word(what, "what to expect")) return false;
    auto it = kExpectations.find(what);
    if (it == kExpectations.end()) return w.fail("unknown expectation '" + what + "'");
    c.kind = it->second;
    switch (c.kind) {
    case Cmd::ExpectEvent:
        if (!w.id(c.id, "event id")) return false;
        if (!w.done()) {
            int64_t p;
            if (!w.integer(p, "event parameter", -2147483648ll, 0xFFFFFFFFll)) return false;
            c.has_param = true;
            c.param = double(uint32_t(p));
        }
        return w.end();
    case Cmd::ExpectNoEvent:
        return w.end();
    case Cmd::ExpectToggle:
        return w.id(c.id, "window id") && w.end();
    case Cmd::ExpectText:
    case Cmd::ExpectFont:
        return w.gauge(c.gauge) && w.element(c.element) && w.quoted(c.text, "text") && w.end();
    case Cmd::ExpectValue: {
        if (!w.gauge(c.gauge) || !w.element(c.element)) return false;
        if (!w.done() && !w.t[w.at].quoted) {
            const std::string& a = w.t[w.at].text;
            if (a == "x" || a == "y" || a == "angle") {
                c.axis = a == "x" ? 0 : a == "y" ? 1 : 2;
                ++w.at;
            }
        }
        return w.number(c.number, "value") && w.tolerance(c.tolerance) && w.end();
    }
    case Cmd::ExpectShown:
    case Cmd::ExpectHidden:
        return w.gauge(c.gauge) && w.element(c.element) && w.end();
    case Cmd::ExpectVar:
        return w.id(c.id, "variable") && w.number(c.number, "value") && w.tolerance(c.tolerance) && w.end();
    case Cmd::ExpectSound: {
        int64_t n;
        if (!w.gauge(c.gauge) || !w.integer(n, "play count", 0, 1000000)) return false;
        c.number = double(n);
        return w.end();
    }
    case Cmd::ExpectSoundObjects: {
        int64_t devices, buffers;
        if (!w.integer(devices, "device count", 0, 1000000) || !w.integer(buffers, "buffer count", 0, 1000000))
            return false;
        c.number = double(devices);
        c.param = double(buffers);
        return w.end();
    }
    case Cmd::ExpectResource: {
        int64_t v;
        if (!w.gauge(c.gauge) || !w.element(c.element) || !w.integer(v, "resource id", -1, 0x7FFFFFFF)) return false;
        c.number = double(v);
        return w.end();
    }
    case Cmd::ExpectHelp:
        return w.gauge(c.gauge) && w.element(c.element, "area") && w.id(c.id, "help id") && w.end();
    case Cmd::ExpectColor:
        return w.gauge(c.gauge) && w.element(c.element) && w.id(c.id, "colour") && w.end();
    default:
        return false;
    }
}

// until var ID <|>|= VALUE [~TOL]  or  until shown|hidden GAUGE ELEM
bool parse_until(Words& w, Command& c) {
    std::string kw, what;
    if (!w.word(kw, "until") || (kw != "until" && !w.fail("expected until, got '" + kw + "'"))) return false;
    if (!w.word(what, "var, shown or hidden")) return false;
    if (what == "shown" || what == "hidden") {
        c.until = what == "shown" ? Until::Shown : Until::Hidden;
        return w.gauge(c.gauge) && w.element(c.element);
    }
    if (what != "var") return w.fail("expected var, shown or hidden after until, got '" + what + "'");
    std::string relation;
    if (!w.id(c.id, "variable") || !w.word(relation, "<, > or =")) return false;
    if (relation == "<") c.until = Until::VarBelow;
    else if (relation == ">") c.until = Until::VarAbove;
    else if (relation == "=") c.until = Until::VarEqual;
    else return w.fail("expected <, > or =, got '" + relation + "'");
    return w.number(c.param, "value") && (c.until != Until::VarEqual || w.tolerance(c.tolerance));
}

}  // namespace

bool parse_line(const std::string& line, std::optional<Command>& out, std::string& error) {
    out.reset();
    error.clear();
    std::vector<Token> tokens;
    if (!tokenize(line, tokens, error)) return false;
    if (tokens.empty()) return true;
    if (tokens[0].quoted) {
        error = "a line starts with a command, not a string";
        return false;
    }
    Words w{tokens, 1, error};
    Command c;
    const std::string& cmd = tokens[0].text;
    bool ok = false;
    if (cmd == "install") {
        c.kind = Cmd::Install;
        ok = w.gauge(c.gauge);
        if (ok && !w.done()) {
            std::string kw;
            ok = w.word(kw, "params") && (kw == "params" || w.fail("expected params, got '" + kw + "'")) &&
                 w.quoted(c.text, "parameter text");
            c.has_text = true;
        }
        ok = ok && w.end();
        if (ok && c.gauge.nth != 1) ok = w.fail("install takes a gauge name without #N");
    } else if (cmd == "kill") {
        c.kind = Cmd::Kill;
        ok = w.gauge(c.gauge) && w.end();
    } else if (cmd == "set") {
        c.kind = Cmd::Set;
        ok = w.id(c.id, "variable") && w.number(c.number, "value") && w.end();
    } else if (cmd == "calc") {
        c.kind = Cmd::Calc;
        std::string expr;
        ok = w.quoted(expr, "expression");
        c.gauge.name = expr;
        if (ok && !w.done() && w.t[w.at].quoted) {
            c.has_text = true;
            ok = w.quoted(c.text, "text");
        } else if (ok) {
            ok = w.number(c.number, "result");
        }
        ok = ok && w.end();
    } else if (cmd == "fail") {
        c.kind = Cmd::Fail;
        ok = w.id(c.id, "failure key") && w.on_off(c.on) && w.end();
    } else if (cmd == "sound" || cmd == "simulate") {
        c.kind = cmd == "sound" ? Cmd::Sound : Cmd::Simulate;
        ok = w.on_off(c.on) && w.end();
    } else if (cmd == "frame") {
        c.kind = Cmd::Frame;
        c.number = 1;
        int64_t n = 1;
        ok = (w.done() || w.integer(n, "frame count", 0, 10000000)) && w.end();
        c.number = double(n);
    } else if (cmd == "click") {
        c.kind = Cmd::Click;
        int64_t x = 0, y = 0;
        ok = w.gauge(c.gauge) && w.integer(x, "x", -100000, 100000) && w.integer(y, "y", -100000, 100000);
        c.x = int32_t(x);
        c.y = int32_t(y);
        if (ok && !w.done() && (w.t[w.at].text == "left" || w.t[w.at].text == "right") && !w.t[w.at].quoted)
            c.right = w.t[w.at++].text == "right";
        if (ok && !w.done()) {
            std::string kw;
            int64_t held = 0;
            ok = w.word(kw, "held") && (kw == "held" || w.fail("expected held, got '" + kw + "'")) &&
                 w.integer(held, "repeat count", 0, 100000);
            c.held = int(held);
        }
        ok = ok && w.end();
    } else if (cmd == "drag") {
        c.kind = Cmd::Drag;
        int64_t x = 0, y = 0;
        ok = w.gauge(c.gauge) && w.integer(x, "x", -100000, 100000) && w.integer(y, "y", -100000, 100000) && w.end();
        c.x = int32_t(x);
        c.y = int32_t(y);
    } else if (cmd == "expect") {
        ok = parse_expect(w, c);
    } else if (cmd == "forget") {
        c.kind = Cmd::ForgetEvents;
        std::string what;
        ok = w.word(what, "events") && (what == "events" || w.fail("expected events, got '" + what + "'")) && w.end();
    } else if (cmd == "render") {
        if (!w.done() && w.t[w.at].text == "window" && !w.t[w.at].quoted) {
            ++w.at;
            c.kind = Cmd::RenderWindow;
            ok = w.id(c.id, "window ident") && w.word(c.text, "PNG file") && w.end();
        } else {
            c.kind = Cmd::RenderGauge;
            ok = w.gauge(c.gauge) && w.word(c.text, "PNG file") && w.end();
        }
    } else if (cmd == "world") {
        c.kind = Cmd::World;
        ok = (!w.done() && w.t[w.at].quoted ? w.quoted(c.text, "world file") : w.word(c.text, "world file")) &&
             w.end();
    } else if (cmd == "place") {
        c.kind = Cmd::Place;
        ok = w.number(c.place[0], "latitude") && w.number(c.place[1], "longitude") &&
             w.number(c.place[2], "altitude") && w.number(c.place[3], "heading") &&
             (w.done() || w.number(c.place[4], "airspeed")) && w.end();
        if (ok && (std::fabs(c.place[0]) > 80 || std::fabs(c.place[1]) > 180)) ok = w.fail("position out of range");
        if (ok && c.place[4] < 0) ok = w.fail("airspeed below 0");
    } else if (cmd == "fly") {
        c.kind = Cmd::Fly;
        ok = w.on_off(c.on) && w.end();
    } else if (cmd == "advance") {
        c.kind = Cmd::Advance;
        ok = w.number(c.number, "seconds");
        if (ok && (c.number < 0 || c.number > 86400)) ok = w.fail("seconds out of range (0 to 86400)");
        if (ok && !w.done()) ok = parse_until(w, c);
        ok = ok && w.end();
    } else {
        error = "unknown command '" + cmd + "'";
        return false;
    }
    if (!ok) {
        if (error.empty()) error = "malformed " + cmd + " line";
        return false;
    }
    out = std::move(c);
    return true;
}

}  // namespace bench
