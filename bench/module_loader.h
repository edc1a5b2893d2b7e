// Loads the gauge module the way the panel system does and finds its two exports.
#pragma once

#include <string>
#include <vector>

#include "module/gauge_records.h"

namespace bench {

struct LoadedModule {
    void* handle = nullptr;                // dlopen handle or HMODULE; also the resource handle
    GAUGESLINKAGE* linkage = nullptr;
    IMPORT_TABLE* import_table = nullptr;
    std::vector<GAUGEHDR*> gauges;         // table order

    GAUGEHDR* find(const std::string& name) const;
};

// Loads `path`. On failure returns false with a message in `error` and leaves `out` empty.
bool load_module(const std::string& path, LoadedModule& out, std::string& error);
void unload_module(LoadedModule& module);

// The module file next to the running bench (Corvan_Instr.so, or Corvan_Instr.gau on Windows).
std::string default_module_path();

}  // namespace bench
