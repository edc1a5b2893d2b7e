// The bitmap manifest: one entry per resource id with its size, the gauges it serves, what it
// shows and the painter that draws it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace resgen {

struct BitmapEntry {
    int id = 0;
    int width = 0;
    int height = 0;
    bool size_fixed = false;            // the instrument's layout fixes the size
    std::vector<std::string> gauges;    // gauge names, or "b-range"
    std::string what;                   // what it shows
    std::string painter;
    std::map<std::string, std::string> args;  // painter arguments, '_' already turned into blanks

    std::string arg(const std::string& key, const std::string& fallback = "") const;
    double num(const std::string& key, double fallback) const;
};

// Reads the manifest; on a malformed line returns false with "file:line: reason" in `error`.
bool read_manifest(const std::string& path, std::vector<BitmapEntry>& out, std::string& error);

}  // namespace resgen
