#include "bench/module_loader.h"

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

namespace bench {

GAUGEHDR* LoadedModule::find(const std::string& name) const {
    for (GAUGEHDR* g : gauges)
        if (g->gauge_name && name == g->gauge_name) return g;
    return nullptr;
}

#if defined(_WIN32)
static void* open_library(const std::string& path, std::string& error) {
    HMODULE h = LoadLibraryA(path.c_str());
    if (!h) error = "cannot load module " + path + " (error " + std::to_string(GetLastError()) + ")";
    return reinterpret_cast<void*>(h);
}
static void* find_symbol(void* h, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(h), name));
}
static void close_library(void* h) { FreeLibrary(static_cast<HMODULE>(h)); }
std::string default_module_path() {
    char buf[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    std::string exe(buf, n);
    auto slash = exe.find_last_of("\\/");
    return (slash == std::string::npos ? std::string() : exe.substr(0, slash + 1)) + "Corvan_Instr.gau";
}
#else
static void* open_library(const std::string& path, std::string& error) {
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        const char* why = dlerror();
        error = "cannot load module " + path + ": " + (why ? why : "unknown error");
    }
    return h;
}
static void* find_symbol(void* h, const char* name) { return dlsym(h, name); }
static void close_library(void* h) { dlclose(h); }
std::string default_module_path() {
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    std::string exe(buf, n > 0 ? size_t(n) : 0);
    auto slash = exe.find_last_of('/');
    return (slash == std::string::npos ? std::string() : exe.substr(0, slash + 1)) + "Corvan_Instr.so";
}
#endif

bool load_module(const std::string& path, LoadedModule& out, std::string& error) {
    out = LoadedModule{};
    void* h = open_library(path, error);
    if (!h) return false;
    auto* linkage = static_cast<GAUGESLINKAGE*>(find_symbol(h, "Linkage"));
    auto* imports = static_cast<IMPORT_TABLE*>(find_symbol(h, "ImportTable"));
    if (!linkage || !imports) {
        error = "module " + path + " is not a gauge module: it does not export " +
                (!linkage ? "Linkage" : "ImportTable");
        close_library(h);
        return false;
    }
    if (linkage->module_id != kModuleId || imports->entries[0].fnid != kImportPanelServices) {
        error = "module " + path + " has an unknown Linkage or ImportTable layout";
        close_library(h);
        return false;
    }
    out.handle = h;
    out.linkage = linkage;
    out.import_table = imports;
    for (int i = 0; i <= kGaugeCount && linkage->gauge_header_ptr[i]; ++i)
        out.gauges.push_back(linkage->gauge_header_ptr[i]);
    return true;
}

void unload_module(LoadedModule& module) {
    if (module.handle) close_library(module.handle);
    module = LoadedModule{};
}

}  // namespace bench
