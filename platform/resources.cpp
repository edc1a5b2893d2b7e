// Resources of the native module (its embedded table), global memory, the host's main window and
// the executable's name.
#include <dlfcn.h>
#include <link.h>
#include <strings.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/embedded_resources.h"
#include "platform/win32_substitute.h"

namespace {

// A resource name or type: an integer id (MAKEINTRESOURCE or "#123") or a name.
bool resource_number(LPCSTR name, uint32_t& out) {
    if (IS_INTRESOURCE(name)) {
        out = uint32_t(reinterpret_cast<uintptr_t>(name));
        return true;
    }
    if (name[0] != '#' || name[1] == '\0') return false;
    uint32_t n = 0;
    for (const char* p = name + 1; *p; ++p) {
        if (*p < '0' || *p > '9' || n > 0xFFFF) return false;
        n = n * 10 + uint32_t(*p - '0');
    }
    out = n;
    return n <= 0xFFFF;
}

bool resource_type(LPCSTR type, uint32_t& out) {
    if (resource_number(type, out)) return true;
    if (strcasecmp(type, "WAVE") == 0) {
        out = CORVAN_RESOURCE_WAVE;
        return true;
    }
    return false;
}

const CorvanEmbeddedResource* resource_table(HMODULE module) {
    void* handle = module;
    static void* program = nullptr;
    if (!handle) {
        if (!program) program = dlopen(nullptr, RTLD_NOW);
        handle = program;
    }
    if (!handle) return nullptr;
    return static_cast<const CorvanEmbeddedResource*>(dlsym(handle, CORVAN_EMBEDDED_RESOURCES_SYMBOL));
}

std::string& executable_override() {
    static std::string path;
    return path;
}
bool has_executable_override = false;

std::string host_window_class;
bool has_host_window = false;
bool fail_wave_resources = false;
std::string last_window_class;

// A handle that stands for the host's main window; never dereferenced.
HWND__* const kHostWindow = reinterpret_cast<HWND__*>(uintptr_t(0x10010));

}  // namespace

// ----------------------------------------------------------------------------------------------
// Resources

HRSRC FindResourceA(HMODULE module, LPCSTR name, LPCSTR type) {
    uint32_t id = 0, kind = 0;
    if (!name || !type || !resource_number(name, id) || !resource_type(type, kind)) return nullptr;
    if (fail_wave_resources && kind == CORVAN_RESOURCE_WAVE) return nullptr;
    const CorvanEmbeddedResource* r = resource_table(module);
    for (; r && r->data; ++r)
        if (r->type == kind && r->id == id)
            return reinterpret_cast<HRSRC>(const_cast<CorvanEmbeddedResource*>(r));
    return nullptr;
}

HGLOBAL LoadResource(HMODULE, HRSRC resource) {
    if (!resource) return nullptr;
    return const_cast<unsigned char*>(reinterpret_cast<const CorvanEmbeddedResource*>(resource)->data);
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HMODULE, HRSRC resource) {
    return resource ? reinterpret_cast<const CorvanEmbeddedResource*>(resource)->size : 0;
}

BOOL FreeResource(HGLOBAL) { return FALSE; }  // resources stay mapped with their module, as on Win32

// ----------------------------------------------------------------------------------------------
// Global memory: the handle is the block itself, fixed or movable.

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
    void* p = (flags & GMEM_ZEROINIT) ? std::calloc(bytes ? bytes : 1, 1) : std::malloc(bytes ? bytes : 1);
    return p;
}

LPVOID GlobalLock(HGLOBAL memory) { return memory; }

BOOL GlobalUnlock(HGLOBAL) { return FALSE; }  // no lock count left, as for the last unlock on Win32

HGLOBAL GlobalFree(HGLOBAL memory) {
    std::free(memory);
    return nullptr;
}

// ----------------------------------------------------------------------------------------------
// The host's window and the executable's name

HWND FindWindowA(LPCSTR class_name, LPCSTR) {
    last_window_class = class_name && !IS_INTRESOURCE(class_name) ? class_name : "";
    if (has_host_window && class_name && !IS_INTRESOURCE(class_name) && host_window_class == class_name)
        return kHostWindow;
    return nullptr;
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR out, DWORD size) {
    if (!out || size == 0) return 0;
    std::string path;
    if (!module && has_executable_override) {
        path = executable_override();
    } else if (!module) {
        char buf[4096];
        ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
        path.assign(buf, n > 0 ? size_t(n) : 0);
    } else {
        struct link_map* map = nullptr;
        if (dlinfo(module, RTLD_DI_LINKMAP, &map) == 0 && map && map->l_name) path = map->l_name;
    }
    size_t n = path.size() < size - 1 ? path.size() : size - 1;
    std::memcpy(out, path.data(), n);
    out[n] = '\0';
    return n < path.size() ? size : DWORD(n);
}

void corvan_platform_set_executable_path(const char* path) {
    has_executable_override = path != nullptr;
    executable_override() = path ? path : "";
}

void corvan_platform_set_host_window_class(const char* class_name) {
    has_host_window = class_name != nullptr;
    host_window_class = class_name ? class_name : "";
}

void corvan_platform_fail_wave_resources(int fail) { fail_wave_resources = fail != 0; }

const char* corvan_platform_last_window_class(void) { return last_window_class.c_str(); }
