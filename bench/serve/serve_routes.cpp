#include "bench/serve/serve_routes.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <nlohmann/json.hpp>
#include <set>
#include <string>

#include "bench/serve/fast_png.h"
#include "bench/serve/serve_page.h"
#include "platform/embedded_resources.h"

namespace bench {
namespace {

constexpr const char* kPostHeader = "X-Corvan-Bench";
constexpr size_t kBodyLimit = 4096;  // the page's requests are a few fields

// ----------------------------------------------------------------------------------------------
// Request parameters

bool parse_double(const std::string& text, double& out) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    out = std::strtod(text.c_str(), &end);
    return end && *end == '\0' && errno != ERANGE;
}

bool parse_finite(const std::string& text, double& out) { return parse_double(text, out) && std::isfinite(out); }

// A token variable id in hex, with or without 0x.
bool parse_var_id(const std::string& text, uint32_t& out) {
    std::string digits = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 8) return false;
    for (char c : digits)
        if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
    out = uint32_t(std::strtoul(digits.c_str(), nullptr, 16));
    return true;
}

bool parse_ident(const std::string& text, int32_t& out) {
    double v = 0;
    if (!parse_finite(text, v) || v != std::floor(v) || v < INT32_MIN || v > INT32_MAX) return false;
    out = int32_t(v);
    return true;
}

void reply_json(httplib::Response& res, const nlohmann::json& body, int status = 200) {
    res.status = status;
    res.set_header("Cache-Control", "no-store");
    // Window titles are the panel file's bytes, not always UTF-8 (a Windows-1252 degree sign).
    // With the charset named, the HTTP library leaves the answer uncompressed: its brotli at full
    // strength cost more than the polls themselves, and the loopback needs no compression.
    res.set_content(body.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
                    "application/json; charset=utf-8");
}

void reply_error(httplib::Response& res, int status, const std::string& message) {
    reply_json(res, {{"error", message}}, status);
}

// The Host header names this machine's loopback (any port).
bool local_host_header(const httplib::Request& req) {
    std::string host = req.get_header_value("Host");
    size_t colon = host.rfind(':');
    if (colon != std::string::npos && host.find(']') == std::string::npos) host = host.substr(0, colon);
    return host == kLoopback || host == "localhost";
}

// ----------------------------------------------------------------------------------------------
// The server

// The method each path answers to; other methods on these paths are 405.
const char* path_method(const std::string& path) {
    // "PREFIX" + up to `digits` digits (a leading '-' allowed where asked) + "SUFFIX".
    auto numbered = [&path](const std::string& prefix, const std::string& suffix, size_t digits, bool sign) {
        if (path.size() <= prefix.size() + suffix.size() || path.rfind(prefix, 0) != 0 ||
            path.compare(path.size() - suffix.size(), suffix.size(), suffix) != 0)
            return false;
        std::string n = path.substr(prefix.size(), path.size() - prefix.size() - suffix.size());
        if (sign && n[0] == '-') n.erase(0, 1);
        return !n.empty() && n.size() <= digits &&
               std::all_of(n.begin(), n.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
    };
    static const std::set<std::string> kGets = {"/", "/api/state", "/api/areas", "/api/gauge", "/api/panel", "/api/map", "/api/record.scn"};
    static const std::set<std::string> kPosts = {"/api/mouse", "/api/simulate", "/api/window", "/api/fail", "/api/fly", "/api/record"};
    if (path == "/api/var") return "GET or POST";
    if (kGets.count(path) || numbered("/window/", ".png", 10, true) || numbered("/sound/", ".wav", 6, false)) return "GET";
    if (kPosts.count(path)) return "POST";
    return nullptr;
}

// Each WAVE resource of the module, found through its handle: the whole RIFF file.
std::string module_wave(const LoadedModule& module, int id) {
    if (!module.handle) return {};
    auto* table = static_cast<const CorvanEmbeddedResource*>(dlsym(module.handle, CORVAN_EMBEDDED_RESOURCES_SYMBOL));
    for (const CorvanEmbeddedResource* r = table; r && r->data; ++r)
        if (r->type == CORVAN_RESOURCE_WAVE && int64_t(r->id) == id)
            return std::string(reinterpret_cast<const char*>(r->data), r->size);
    return {};
}

// A POST route that switches something of the served panel on (`on=1`) or off (`on=0`); `set`
// returns false when the panel has nothing to switch.
template <typename Set>
void add_switch_route(httplib::Server& server, ServedPanel& served, const char* path, Set set,
                      const char* refusal = "") {
    server.Post(path, [&served, set, refusal](const httplib::Request& req, httplib::Response& res) {
        std::string on = req.get_param_value("on");
        if (on != "1" && on != "0") return reply_error(res, 400, "on: 1 or 0");
        std::lock_guard lock(served.mutex);
        if (!set(served, on == "1")) return reply_error(res, 409, refusal);
        reply_json(res, {{"ok", true}});
    });
}

}  // namespace

void add_routes(httplib::Server& server, ServedPanel& served, const PanelConfig& panel, const LoadedModule& module) {
    server.set_payload_max_length(kBodyLimit);
    server.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        if (!local_host_header(req)) {
            reply_error(res, 403, "this bench answers to 127.0.0.1 and localhost only");
            return httplib::Server::HandlerResponse::Handled;
        }
        const char* method = path_method(req.path);
        if (!method) {
            reply_error(res, 404, "no such page");
            return httplib::Server::HandlerResponse::Handled;
        }
        if (std::string(method).find(req.method) == std::string::npos) {
            res.set_header("Allow", std::string(method) == "GET or POST" ? "GET, POST" : method);
            reply_error(res, 405, req.path + " answers to " + method);
            return httplib::Server::HandlerResponse::Handled;
        }
        if (req.method == "POST" && req.get_header_value(kPostHeader) != "1") {
            reply_error(res, 403, std::string("POST requests carry the header ") + kPostHeader + ": 1");
            return httplib::Server::HandlerResponse::Handled;
        }
        // The page sends form fields; anything else is not one of its requests.
        std::string type = req.get_header_value("Content-Type");
        // (Routing comes before the body is read: the declared length tells whether there is one.)
        bool has_body = req.get_header_value("Content-Length") != "" && req.get_header_value("Content-Length") != "0";
        if (req.method == "POST" && has_body && type.rfind("application/x-www-form-urlencoded", 0) != 0) {
            reply_error(res, 415, "POST bodies are form fields (application/x-www-form-urlencoded)");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });

    server.Get("/api/panel", [&panel](const httplib::Request&, httplib::Response& res) {
        nlohmann::json undrawn = nlohmann::json::array(), foreign = nlohmann::json::array();
        for (const PanelSection& s : panel.undrawn)
            undrawn.push_back({{"name", s.name}, {"line", s.line}, {"gauges", s.gauges}});
        for (const PanelWindow& w : panel.windows)
            for (const PanelGauge& g : w.gauges)
                if (!same_module_name(g.module))
                    foreign.push_back({{"window", w.ident}, {"line", g.line}, {"gauge", g.module + "!" + g.name}});
        reply_json(res, {{"path", panel.path}, {"errors", panel.errors}, {"undrawn", undrawn}, {"placeholders", foreign}});
    });

    server.Get(R"(/sound/(\d{1,6})\.wav)", [&module](const httplib::Request& req, httplib::Response& res) {
        std::string wave = module_wave(module, std::atoi(req.matches[1].str().c_str()));
        if (wave.empty()) return reply_error(res, 404, "the module has no such WAVE resource");
        res.set_header("Cache-Control", "max-age=3600");
        res.set_content(wave, "audio/wav");
    });

    server.Get("/api/areas", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        if (!parse_ident(req.get_param_value("window"), ident)) return reply_error(res, 400, "window: an ident");
        std::lock_guard lock(served.mutex);
        int index = served.window_index(ident);
        if (index < 0) return reply_error(res, 404, "no such window");
        reply_json(res, served.areas(size_t(index)));
    });

    server.Get("/api/map", [&served](const httplib::Request&, httplib::Response& res) {
        std::lock_guard lock(served.mutex);
        reply_json(res, served.map());
    });

    server.Get("/api/gauge", [&served](const httplib::Request& req, httplib::Response& res) {
        double nth = 1;
        if (req.has_param("nth") && (!parse_finite(req.get_param_value("nth"), nth) || nth < 1 || nth > 1000 || nth != std::floor(nth)))
            return reply_error(res, 400, "nth: 1 or more");
        std::lock_guard lock(served.mutex);
        nlohmann::json g = served.gauge(req.get_param_value("name"), int(nth));
        if (g.is_null()) return reply_error(res, 404, "no such gauge placement");
        reply_json(res, g);
    });

    server.Post("/api/fail", [&served](const httplib::Request& req, httplib::Response& res) {
        double key = 0;
        std::string on = req.get_param_value("on");
        if (!parse_finite(req.get_param_value("key"), key) || key < 1 || key > 255 || key != std::floor(key))
            return reply_error(res, 400, "key: a failure key, 1 to 255");
        if (on != "1" && on != "0") return reply_error(res, 400, "on: 1 or 0");
        std::lock_guard lock(served.mutex);
        served.set_fail(uint32_t(key), on == "1");
        reply_json(res, {{"ok", true}});
    });

    add_switch_route(server, served, "/api/fly", [](ServedPanel& p, bool on) { return p.set_fly(on); },
                     "no flight: serve with --scenario FILE");
    add_switch_route(server, served, "/api/record", [](ServedPanel& p, bool on) { return p.set_recording(on), true; });

    server.Get("/api/record.scn", [&served](const httplib::Request&, httplib::Response& res) {
        std::string text;
        {
            std::lock_guard lock(served.mutex);
            text = served.recording();
        }
        res.set_header("Cache-Control", "no-store");
        res.set_header("Content-Disposition", "attachment; filename=\"session.scn\"");
        res.set_content(text, "text/plain; charset=utf-8");
    });

    server.Get("/", [](const httplib::Request&, httplib::Response& res) {
        res.set_header("Cache-Control", "no-store");
        res.set_content(serve_page_html(), "text/html; charset=utf-8");
    });

    server.Get(R"(/window/(-?\d{1,10})\.png)", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        if (!parse_ident(req.matches[1], ident)) return reply_error(res, 404, "no such window");
        std::string png;
        cairo_surface_t* drawing = nullptr;
        uint64_t revision = 0;
        int index = -1;
        std::string etag;
        {
            std::lock_guard lock(served.mutex);
            index = served.window_index(ident);
            if (index < 0) return reply_error(res, 404, "no such window");
            // The page asks with the tag of the picture it shows: unchanged, it keeps it.
            etag = "\"" + std::to_string(served.signature(size_t(index))) + "\"";
            if (req.get_header_value("If-None-Match") == etag) {
                res.status = 304;
                res.set_header("ETag", etag);
                return;
            }
            if (served.picture(size_t(index), png, drawing, revision)) drawing = nullptr;
        }
        if (drawing) {
            // Encoding needs nothing of the host: the frames go on meanwhile.
            png = encode_png_fast(drawing);
            cairo_surface_destroy(drawing);
            std::lock_guard lock(served.mutex);
            served.keep_picture(size_t(index), png, revision);
        }
        res.set_header("Cache-Control", "no-cache");
        res.set_header("ETag", etag);
        res.set_content(png, "image/png");
    });

    // ?vars=4A,54,...: the values of these token variables too (the page's named controls).
    server.Get("/api/state", [&served](const httplib::Request& req, httplib::Response& res) {
        std::vector<uint32_t> ids;
        std::string list = req.get_param_value("vars");
        for (size_t at = 0; !list.empty() && at <= list.size();) {
            size_t comma = std::min(list.find(',', at), list.size());
            uint32_t id = 0;
            if (ids.size() >= 64 || !parse_var_id(list.substr(at, comma - at), id))
                return reply_error(res, 400, "vars: at most 64 hex variable ids, separated by commas");
            ids.push_back(id);
            at = comma + 1;
        }
        std::lock_guard lock(served.mutex);
        nlohmann::json state = served.state();
        nlohmann::json vars = nlohmann::json::object();
        for (uint32_t id : ids) {
            char key[16];
            std::snprintf(key, sizeof key, "0x%X", id);
            double v = served.var(id);
            vars[key] = std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(nullptr);
        }
        state["vars"] = vars;
        reply_json(res, state);
    });

    server.Post("/api/mouse", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        double x = 0, y = 0;
        std::string button = req.has_param("button") ? req.get_param_value("button") : "left";
        std::string action = req.has_param("action") ? req.get_param_value("action") : "press";
        if (!parse_ident(req.get_param_value("window"), ident)) return reply_error(res, 400, "window: an ident");
        if (!parse_finite(req.get_param_value("x"), x) || !parse_finite(req.get_param_value("y"), y))
            return reply_error(res, 400, "x, y: window pixels");
        if (button != "left" && button != "right") return reply_error(res, 400, "button: left or right");
        if (action != "press" && action != "repeat" && action != "drag" && action != "release")
            return reply_error(res, 400, "action: press, repeat, drag or release");
        std::lock_guard lock(served.mutex);
        int index = served.window_index(ident);
        if (index < 0) return reply_error(res, 404, "no such window");
        // A press must land on the window; a drag may leave it, as a held mouse does.
        if (action == "press" && !served.inside(size_t(index), x, y))
            return reply_error(res, 400, "x, y: outside the window");
        reply_json(res, served.mouse(size_t(index), x, y, button == "right", action));
    });

    server.Get("/api/var", [&served](const httplib::Request& req, httplib::Response& res) {
        uint32_t id = 0;
        if (!parse_var_id(req.get_param_value("id"), id)) return reply_error(res, 400, "id: a hex variable id");
        std::lock_guard lock(served.mutex);
        double v = served.var(id);
        reply_json(res, {{"id", req.get_param_value("id")}, {"value", std::isfinite(v) ? nlohmann::json(v) : nlohmann::json(std::to_string(v))}});
    });

    server.Post("/api/var", [&served](const httplib::Request& req, httplib::Response& res) {
        uint32_t id = 0;
        double value = 0;
        if (!parse_var_id(req.get_param_value("id"), id)) return reply_error(res, 400, "id: a hex variable id");
        // NaN and infinities are accepted on purpose: gauges must draw sanely whatever they read.
        if (!parse_double(req.get_param_value("value"), value)) return reply_error(res, 400, "value: a number");
        std::lock_guard lock(served.mutex);
        served.set_var(id, value);
        reply_json(res, {{"ok", true}});
    });

    add_switch_route(server, served, "/api/simulate", [](ServedPanel& p, bool on) { return p.set_simulate(on), true; });

    server.Post("/api/window", [&served](const httplib::Request& req, httplib::Response& res) {
        int32_t ident = 0;
        std::string open = req.get_param_value("open");
        if (!parse_ident(req.get_param_value("ident"), ident)) return reply_error(res, 400, "ident: a window ident");
        if (open != "1" && open != "0") return reply_error(res, 400, "open: 1 or 0");
        std::lock_guard lock(served.mutex);
        served.set_window(ident, open == "1");
        reply_json(res, {{"ok", true}});
    });
}

}  // namespace bench
