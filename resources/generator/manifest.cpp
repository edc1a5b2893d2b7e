#include "manifest.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace resgen {

std::string BitmapEntry::arg(const std::string& key, const std::string& fallback) const {
    auto it = args.find(key);
    return it == args.end() ? fallback : it->second;
}

double BitmapEntry::num(const std::string& key, double fallback) const {
    auto it = args.find(key);
    if (it == args.end() || it->second.empty()) return fallback;
    return std::stod(it->second);
}

static std::string trim(const std::string& s) {
    size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

static std::vector<std::string> split(const std::string& s, char sep) {
    std::vector<std::string> out;
    std::string cur;
    std::istringstream in(s);
    while (std::getline(in, cur, sep)) out.push_back(cur);
    return out;
}

bool read_manifest(const std::string& path, std::vector<BitmapEntry>& out, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open";
        return false;
    }
    std::set<int> seen;
    std::string line;
    int line_no = 0;
    auto fail = [&](const std::string& why) {
        error = path + ":" + std::to_string(line_no) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++line_no;
        std::string t = trim(line);
        if (t.empty() || t[0] == '#') continue;
        auto fields = split(t, '|');
        if (fields.size() != 6) return fail("want 6 fields separated by |");
        BitmapEntry e;
        try {
            e.id = std::stoi(trim(fields[0]));
        } catch (...) {
            return fail("bad id");
        }
        std::string size = trim(fields[1]);
        if (std::sscanf(size.c_str(), "%dx%d", &e.width, &e.height) != 2 || e.width <= 0 || e.height <= 0 ||
            e.width > 4096 || e.height > 4096)
            return fail("bad size '" + size + "'");
        std::string src = trim(fields[2]);
        if (src != "fixed" && src != "chosen") return fail("size source must be fixed or chosen");
        e.size_fixed = src == "fixed";
        std::istringstream gauges(trim(fields[3]));
        for (std::string g; gauges >> g;) e.gauges.push_back(g);
        if (e.gauges.empty()) return fail("no gauge");
        e.what = trim(fields[4]);
        std::istringstream painter(trim(fields[5]));
        if (!(painter >> e.painter)) return fail("no painter");
        for (std::string kv; painter >> kv;) {
            auto eq = kv.find('=');
            if (eq == std::string::npos) return fail("painter argument without '=': " + kv);
            std::string value = kv.substr(eq + 1);
            std::replace(value.begin(), value.end(), '_', ' ');
            e.args[kv.substr(0, eq)] = value;
        }
        if (!seen.insert(e.id).second) return fail("id " + std::to_string(e.id) + " listed twice");
        out.push_back(std::move(e));
    }
    return true;
}

}  // namespace resgen
