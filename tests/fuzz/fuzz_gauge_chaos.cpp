// Fuzz: every gauge of the module, linked in, under random placements, token values (NaN, ±inf,
// huge), failures, frames, clicks and drags. ASan and UBSan watch the gauges' callbacks and
// handlers; string elements have buffers of exactly their character count plus the terminator.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <vector>

#include "bench/host.h"
#include "module/host_services.h"

extern "C" GAUGESLINKAGE Linkage;

namespace {

// Every token variable the records name, plus the ids the gauges read in code come from the
// random stream.
std::vector<uint32_t> record_variables(const bench::Host& host) {
    std::set<uint32_t> ids;
    for (GAUGEHDR* g : host.module().gauges) {
        std::vector<bench::ElementSlot> slots;
        for (ELEMENT_HEADER** e = g->elements_list; e && *e; ++e) bench::collect_elements(*e, slots);
        for (auto& s : slots) {
            auto* h = s.record;
            auto add = [&](const MODULE_VAR& v) { if (v.id) ids.insert(v.id); };
            switch (h->element_type) {
            case ELEMENT_NEEDLE: add(reinterpret_cast<NeedleElement*>(h)->source_var); break;
            case ELEMENT_ICON: add(reinterpret_cast<IconElement*>(h)->source_var); break;
            case ELEMENT_STRING: for (auto& v : reinterpret_cast<StringElement*>(h)->source_var) add(v); break;
            case ELEMENT_SLIDER: add(reinterpret_cast<SliderElement*>(h)->source_var_x); add(reinterpret_cast<SliderElement*>(h)->source_var_y); break;
            case ELEMENT_MOVING_IMAGE: add(reinterpret_cast<MovingImageElement*>(h)->source_var_x); add(reinterpret_cast<MovingImageElement*>(h)->source_var_y); break;
            case ELEMENT_SPRITE: {
                auto* sp = reinterpret_cast<SpriteElement*>(h);
                add(sp->source_var_x); add(sp->source_var_y); add(sp->source_var_0);
                break;
            }
            default: break;
            }
        }
    }
    return {ids.begin(), ids.end()};
}

struct Stream {
    const uint8_t* p;
    size_t n;
    uint8_t byte() { return n ? (--n, *p++) : 0; }
    uint32_t u32() { return byte() | uint32_t(byte()) << 8 | uint32_t(byte()) << 16 | uint32_t(byte()) << 24; }
    double value() {
        static const double special[] = {0.0, -0.0, 1.0, -1.0, 0.5, 16384.0, 16383.0, 1e300, -1e300,
                                         std::numeric_limits<double>::quiet_NaN(),
                                         std::numeric_limits<double>::infinity(),
                                         -std::numeric_limits<double>::infinity(), 2147483648.0,
                                         -2147483649.0, 4294967296.0, 1e-300, 0x9999, 0x1800};
        uint8_t k = byte();
        if (k < 200) return special[k % (sizeof special / sizeof special[0])];
        uint64_t bits = uint64_t(u32()) << 32 | u32();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    bench::Host host;
    host.attach(&Linkage, &ImportTable, nullptr);
    static const std::vector<uint32_t> vars = record_variables(host);
    Stream in{data, size};
    const auto& gauges = host.module().gauges;
    for (int step = 0; step < 64 && in.n; ++step) {
        auto& placed = host.placements();
        bench::Placement* any = placed.empty() ? nullptr : placed[in.byte() % placed.size()].get();
        switch (in.byte() % 8) {
        case 0: {
            std::string error;
            if (placed.size() < 16) host.install(gauges[in.byte() % gauges.size()]->gauge_name, nullptr, error);
            break;
        }
        case 1:
            if (any) host.kill(any);
            break;
        case 2: {
            uint32_t id = (in.byte() & 1) && !vars.empty() ? vars[in.byte() % vars.size()] : (in.u32() & 0x3FF);
            host.sim.set(id, in.value());
            break;
        }
        case 3:
            host.frame();
            break;
        case 4:
            if (any) host.click(any, int8_t(in.byte()) * 2, int8_t(in.byte()) * 2,
                                (in.byte() & 1) ? MOUSE_RIGHTSINGLE : MOUSE_LEFTSINGLE, in.byte() % 4);
            break;
        case 5:
            if (any) host.drag(any, int8_t(in.byte()) * 3, int8_t(in.byte()) * 3);
            break;
        case 6: {
            uint32_t key = in.byte() % 24;
            if (in.byte() & 1) host.sim.failures.insert(key); else host.sim.failures.erase(key);
            break;
        }
        case 7:
            host.sim.simulate = in.byte() & 1;
            break;
        }
    }
    host.frame();
    return 0;
}
