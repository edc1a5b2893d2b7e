#include "bench/stress.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <set>

#if defined(_WIN32)
#include <malloc.h>
#include <windows.h>
#else
#include <dirent.h>
#include <malloc.h>
#include <unistd.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVAN_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(CORVAN_ASAN)
#define CORVAN_ASAN 1
// AddressSanitizer's own count of the bytes the program holds (its allocator replaces malloc's).
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#endif

namespace bench {

// ----------------------------------------------------------------------------------------------
// Choices

uint8_t Choices::byte() {
    if (data) return left ? (--left, *data++) : 0;
    state ^= state << 13;  // xorshift64
    state ^= state >> 7;
    state ^= state << 17;
    return uint8_t(state >> 56);
}

uint32_t Choices::u32() { return byte() | uint32_t(byte()) << 8 | uint32_t(byte()) << 16 | uint32_t(byte()) << 24; }

double Choices::value() {
    static const double troublesome[] = {
        0.0, -0.0, 1.0, -1.0, 0.5, 2.0, 16384.0, 16383.0, 1e300, -1e300,
        std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(), 2147483647.0, 2147483648.0, -2147483649.0, 4294967295.0,
        4294967296.0, 9.3e18, -9.3e18, 1.9e19, 1e-300, 65535.5, 0x9999, 0x1800, 0x2345, 360.0, -360.0,
        100.0, 30000.0};
    uint8_t k = byte();
    if (k < 160) return troublesome[k % (sizeof troublesome / sizeof troublesome[0])];
    if (k < 220) return double(int32_t(u32())) / double(1 + byte());  // ordinary magnitudes
    uint64_t bits = uint64_t(u32()) << 32 | u32();
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// ----------------------------------------------------------------------------------------------
// Input

std::vector<uint32_t> record_variables(const LoadedModule& module) {
    std::set<uint32_t> ids;
    auto add = [&](const MODULE_VAR& v) {
        if (v.id) ids.insert(v.id);
    };
    for (GAUGEHDR* g : module.gauges) {
        std::vector<ElementSlot> slots;
        for (ELEMENT_HEADER** e = g->elements_list; e && *e; ++e) collect_elements(*e, slots);
        for (const ElementSlot& s : slots) {
            ELEMENT_HEADER* h = s.record;
            switch (h->element_type) {
            case ELEMENT_NEEDLE: add(reinterpret_cast<NeedleElement*>(h)->source_var); break;
            case ELEMENT_ICON: add(reinterpret_cast<IconElement*>(h)->source_var); break;
            case ELEMENT_STRING:
                for (const MODULE_VAR& v : reinterpret_cast<StringElement*>(h)->source_var) add(v);
                break;
            case ELEMENT_SLIDER:
                add(reinterpret_cast<SliderElement*>(h)->source_var_x);
                add(reinterpret_cast<SliderElement*>(h)->source_var_y);
                break;
            case ELEMENT_MOVING_IMAGE:
                add(reinterpret_cast<MovingImageElement*>(h)->source_var_x);
                add(reinterpret_cast<MovingImageElement*>(h)->source_var_y);
                break;
            case ELEMENT_SPRITE:
                add(reinterpret_cast<SpriteElement*>(h)->source_var_x);
                add(reinterpret_cast<SpriteElement*>(h)->source_var_y);
                add(reinterpret_cast<SpriteElement*>(h)->source_var_0);
                break;
            default: break;
            }
        }
    }
    return {ids.begin(), ids.end()};
}

// A point in or just around a random mouse area of the placement (gauge pixels).
static void area_point(const Placement& p, Choices& in, int32_t& x, int32_t& y) {
    size_t n = mouse_area_count(p.gauge->mouse_rect);
    if (n == 0 || (in.byte() & 7) == 0) {
        x = int32_t(int16_t(in.byte() | in.byte() << 8)) % 600;
        y = int32_t(int16_t(in.byte() | in.byte() << 8)) % 600;
        return;
    }
    const MOUSE_BOX& b = p.gauge->mouse_rect[in.byte() % n].box;
    x = b.x - 1 + int32_t(in.byte() % uint32_t(b.w > 0 ? b.w + 2 : 2));
    y = b.y - 1 + int32_t(in.byte() % uint32_t(b.h > 0 ? b.h + 2 : 2));
}

bool random_action(Host& host, Choices& in, const std::vector<uint32_t>& vars, size_t max_placements) {
    // Parameter texts a panel designer might write, well or badly.
    static const char* const kParameters[] = {
        nullptr, "", "t50o0c10p-2a75b120hTOGGLE_RADIO_WINDOW", "tF-ABCD_X r300g-1b7 fArial",
        "p99999999999 # o1", "b290h40960t-1", "o'c5/t7", "tOVERHEAD_PANELp0",
    };
    const auto& placed = host.placements();
    Placement* any = placed.empty() ? nullptr : placed[in.byte() % placed.size()].get();
    int32_t x = 0, y = 0;
    switch (in.byte() % 8) {
    case 0: {
        if (placed.size() >= max_placements) return false;
        const auto& gauges = host.module().gauges;
        const char* parameters = kParameters[in.byte() % (sizeof kParameters / sizeof kParameters[0])];
        std::string error;
        return host.install(gauges[in.byte() % gauges.size()]->gauge_name, parameters, error) != nullptr;
    }
    case 1:
        if (!any) return false;
        host.kill(any);
        return true;
    case 2: {
        uint32_t id = (in.byte() & 3) && !vars.empty() ? vars[in.byte() % vars.size()] : (in.u32() & 0x3FF);
        host.sim.set(id, in.value());
        return true;
    }
    case 3: {
        if (!any) return false;
        area_point(*any, in, x, y);
        uint8_t how = in.byte();
        int held = (how & 0x80) ? 40 : how % 4;  // now and then a long hold
        host.click(any, x, y, (how & 1) ? MOUSE_RIGHTSINGLE : MOUSE_LEFTSINGLE, held);
        return true;
    }
    case 4:
        if (!any) return false;
        area_point(*any, in, x, y);
        host.drag(any, x + int8_t(in.byte()), y + int8_t(in.byte()));
        return true;
    case 5:
        if (!any) return false;
        area_point(*any, in, x, y);
        host.repeat(any, x, y);
        return true;
    case 6: {
        uint32_t key = in.byte() % 24;
        if (in.byte() & 1) host.sim.failures.insert(key); else host.sim.failures.erase(key);
        return true;
    }
    default:
        host.sim.simulate = in.byte() & 1;
        return true;
    }
}

// ----------------------------------------------------------------------------------------------
// Checks

static bool in_range(double v) { return std::fabs(v) <= kInputRange; }  // false for NaN too

bool inputs_in_range(const Host& host, const std::vector<uint32_t>& vars) {
    for (uint32_t id = 0; id <= 0x3FF; ++id)
        if (!in_range(host.sim.get(id))) return false;
    for (uint32_t id : vars)
        if (!in_range(host.sim.get(id))) return false;
    return true;
}

void clear_inputs(Host& host, const std::vector<uint32_t>& vars, bool all) {
    for (uint32_t id = 0; id <= 0x3FF; ++id)
        if (all || !in_range(host.sim.get(id))) host.sim.set(id, 0);
    for (uint32_t id : vars)
        if (all || !in_range(host.sim.get(id))) host.sim.set(id, 0);
}

bool check_frame(const Host& host, bool inputs_in_range, std::string& fault) {
    for (const auto& p : host.placements()) {
        int index = 0;
        for (const ElementSlot& s : p->elements) {
            ++index;
            ELEMENT_HEADER* h = s.record;
            bool has[3] = {false, false, false};  // the axis's value comes from a module callback
            switch (h->element_type) {
            case ELEMENT_STRING: {
                auto* e = reinterpret_cast<StringElement*>(h);
                if (e->string && !std::memchr(e->string, 0, string_capacity(e))) {
                    fault = std::string(p->gauge->gauge_name) + " element " + std::to_string(index) +
                            ": text runs past its " + std::to_string(e->char_count) + " characters";
                    return false;
                }
                break;
            }
            case ELEMENT_NEEDLE: has[0] = reinterpret_cast<NeedleElement*>(h)->update_cb != nullptr; break;
            case ELEMENT_SLIDER:
                has[0] = reinterpret_cast<SliderElement*>(h)->update_x_cb != nullptr;
                has[1] = reinterpret_cast<SliderElement*>(h)->update_y_cb != nullptr;
                break;
            case ELEMENT_MOVING_IMAGE:
                has[0] = reinterpret_cast<MovingImageElement*>(h)->update_x_cb != nullptr;
                has[1] = reinterpret_cast<MovingImageElement*>(h)->update_y_cb != nullptr;
                break;
            case ELEMENT_SPRITE:
                has[0] = reinterpret_cast<SpriteElement*>(h)->update_x_cb != nullptr;
                has[1] = reinterpret_cast<SpriteElement*>(h)->update_y_cb != nullptr;
                has[2] = reinterpret_cast<SpriteElement*>(h)->update_0_cb != nullptr;
                break;
            default: break;
            }
            if (!s.shown || !inputs_in_range) continue;
            bool frozen = false;  // a frozen element keeps a value from frames that were not judged
            for (const FAILURE_RECORD* f = h->failure_systems; f && f->key; ++f)
                frozen = frozen || (f->action == FAIL_ACTION_FREEZE && host.sim.failures.count(f->key));
            if (frozen) continue;
            for (int axis = 0; axis < 3; ++axis)
                if (has[axis] && !std::isfinite(s.value[axis])) {
                    fault = std::string(p->gauge->gauge_name) + " element " + std::to_string(index) + " axis " +
                            std::to_string(axis) + ": drawn with value " + std::to_string(s.value[axis]);
                    return false;
                }
        }
    }
    return true;
}

// ----------------------------------------------------------------------------------------------
// Process usage

ProcessUsage process_usage() {
    ProcessUsage u;
#if defined(_WIN32)
    _HEAPINFO block = {};
    u.heap_bytes = 0;
    int status;
    while ((status = _heapwalk(&block)) == _HEAPOK)
        if (block._useflag == _USEDENTRY) u.heap_bytes += (long long)block._size;
    if (status != _HEAPEND) u.heap_bytes = -1;
    HANDLE process_heap = GetProcessHeap();
    if (HeapLock(process_heap)) {
        PROCESS_HEAP_ENTRY entry = {};
        u.system_bytes = 0;
        while (HeapWalk(process_heap, &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) u.system_bytes += (long long)entry.cbData;
        HeapUnlock(process_heap);
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &handles) && handles > 0) {
        u.handles = handles;
    } else if (HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
        // Where the count is not kept (Wine), the next free handle value climbs as handles leak.
        u.handles = (long long)(reinterpret_cast<uintptr_t>(probe) / 4);
        CloseHandle(probe);
    }
#else
#if defined(CORVAN_ASAN)
    u.heap_bytes = (long long)__sanitizer_get_current_allocated_bytes();
#else
    struct mallinfo2 m = mallinfo2();
    u.heap_bytes = (long long)(m.uordblks + m.hblkhd);
#endif
    if (DIR* d = opendir("/proc/self/fd")) {
        u.handles = 0;
        while (readdir(d)) ++u.handles;
        closedir(d);
    }
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        long long size = 0, resident = 0;
        if (std::fscanf(f, "%lld %lld", &size, &resident) == 2) u.resident_bytes = resident * sysconf(_SC_PAGESIZE);
        std::fclose(f);
    }
#endif
    return u;
}

}  // namespace bench
