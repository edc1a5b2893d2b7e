#include "bench/host.h"

#include <cmath>
#include <cstring>
#include <set>

#include "bench/element_update.h"

namespace bench {

// ----------------------------------------------------------------------------------------------
// Service table: the four services the module calls, bound to the one host of this process.

static Host* g_host = nullptr;

struct HostServices {
    static int32_t GAUGE_CALL panel_window_toggle(uint32_t window_id) {
        g_host->sim.window_toggle(window_id);
        return 1;
    }
    static int32_t GAUGE_CALL trigger_key_event(uint32_t event_id, uint32_t param) {
        g_host->sim.key_event(event_id, param);
        return 0;
    }
    static void GAUGE_CALL lookup_var(MODULE_VAR* var) {
        if (var) g_host->refresh(*var);
    }
    static int32_t GAUGE_CALL execute_calculator_code(const char* code, double* number, int32_t* integer,
                                                      const char** text) {
        CalcResult result;
        if (code && g_host->on_calculate) g_host->on_calculate(g_host->current_, code);
        if (code) {
            auto it = g_host->sim.calculator.find(code);
            if (it != g_host->sim.calculator.end()) result = it->second;
        }
        if (number) *number = result.number;
        if (integer) *integer = std::isfinite(result.number) ? int32_t(result.number) : 0;
        if (text) {
            g_host->calc_text_ = result.text;
            *text = g_host->calc_text_.c_str();
        }
        return 1;
    }
};

void Host::refresh(MODULE_VAR& var) {
    if (on_lookup) on_lookup(current_, var.id);
    var.var_old = var.var_value;
    var.var_value.n = sim.get(var.id);
}

// ----------------------------------------------------------------------------------------------
// Records

size_t mouse_area_count(const MOUSERECT* areas) {
    size_t n = 0;
    while (areas && areas[n].kind != MOUSE_END) ++n;
    return n;
}

MOUSERECT* route_click(MOUSERECT* areas, int32_t x, int32_t y, uint32_t button) {
    for (MOUSERECT* a = areas; a && a->kind != MOUSE_END; ++a) {
        if (a->kind != MOUSE_CHILD || !(a->mouse_flags & button)) continue;
        const MOUSE_BOX& b = a->box;
        if (x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h) return a;
    }
    return nullptr;
}

void collect_elements(ELEMENT_HEADER* root, std::vector<ElementSlot>& out, int depth) {
    if (!root) return;
    ElementSlot slot;
    slot.record = root;
    slot.depth = depth;
    out.push_back(slot);
    for (ELEMENT_HEADER** child = root->elements; child && *child; ++child)
        collect_elements(*child, out, depth + 1);
}

// Every string element of every gauge gets its text buffer once, at load.
static void give_string_buffers(ELEMENT_HEADER* e, std::set<ELEMENT_HEADER*>& seen,
                                std::vector<std::unique_ptr<char[]>>& buffers) {
    if (!e || !seen.insert(e).second) return;
    if (e->element_type == ELEMENT_STRING) {
        auto* s = reinterpret_cast<StringElement*>(e);
        buffers.push_back(std::make_unique<char[]>(string_capacity(s)));
        s->string = buffers.back().get();
        s->string[0] = '\0';
    }
    for (ELEMENT_HEADER** child = e->elements; child && *child; ++child)
        give_string_buffers(*child, seen, buffers);
}

// ----------------------------------------------------------------------------------------------
// Host

Host::Host() {
    g_host = this;
    service_table_[SERVICE_PANEL_WINDOW_TOGGLE] = reinterpret_cast<void*>(&HostServices::panel_window_toggle);
    service_table_[SERVICE_TRIGGER_KEY_EVENT] = reinterpret_cast<void*>(&HostServices::trigger_key_event);
    service_table_[SERVICE_LOOKUP_VAR] = reinterpret_cast<void*>(&HostServices::lookup_var);
    service_table_[SERVICE_EXECUTE_CALCULATOR_CODE] =
        reinterpret_cast<void*>(&HostServices::execute_calculator_code);
}

Host::~Host() {
    while (!placements_.empty()) kill(placements_.back().get());
    if (module_.import_table) module_.import_table->entries[0].services = nullptr;
    if (!module_linked_) unload_module(module_);
    if (g_host == this) g_host = nullptr;
}

bool Host::load(const std::string& module_path, std::string& error) {
    if (!load_module(module_path, module_, error)) return false;
    adopt_module();
    return true;
}

void Host::attach(GAUGESLINKAGE* linkage, IMPORT_TABLE* import_table, void* resource_handle) {
    module_ = LoadedModule{resource_handle, linkage, import_table, {}};
    for (int i = 0; i <= kGaugeCount && linkage->gauge_header_ptr[i]; ++i) module_.gauges.push_back(linkage->gauge_header_ptr[i]);
    module_linked_ = true;
    adopt_module();
}

void Host::adopt_module() {
    module_.import_table->entries[0].services = service_table_;
    std::set<ELEMENT_HEADER*> seen;
    for (GAUGEHDR* g : module_.gauges)
        for (ELEMENT_HEADER** e = g->elements_list; e && *e; ++e) give_string_buffers(*e, seen, string_buffers_);
}

void Host::enter(Placement* placement) {
    current_ = placement;
    placement->gauge->parameters = placement->has_parameters ? placement->parameters.data() : nullptr;
    plays_before_ = sound_play_counter ? sound_play_counter() : 0;
}

void Host::leave() {
    if (current_ && sound_play_counter) current_->sound_plays += sound_play_counter() - plays_before_;
    current_ = nullptr;
}

Placement* Host::install(const std::string& name, const char* parameters, std::string& error) {
    GAUGEHDR* gauge = module_.find(name);
    if (!gauge) {
        error = "unknown gauge " + name;
        return nullptr;
    }
    auto placement = std::make_unique<Placement>();
    placement->gauge = gauge;
    placement->has_parameters = parameters != nullptr;
    if (parameters) placement->parameters.assign(parameters, parameters + std::strlen(parameters));
    placement->parameters.push_back('\0');
    for (ELEMENT_HEADER** e = gauge->elements_list; e && *e; ++e) collect_elements(*e, placement->elements);
    Placement* p = placement.get();
    placements_.push_back(std::move(placement));
    if (gauge->gauge_callback) {
        enter(p);
        gauge->gauge_callback(gauge, PANEL_SERVICE_PRE_INSTALL, reinterpret_cast<GaugeExtra>(module_.handle));
        leave();
    }
    return p;
}

void Host::kill(Placement* placement) {
    if (placement->gauge->gauge_callback) {
        enter(placement);
        placement->gauge->gauge_callback(placement->gauge, PANEL_SERVICE_PRE_KILL, 0);
        leave();
    }
    placement->gauge->parameters = nullptr;
    for (auto it = placements_.begin(); it != placements_.end(); ++it)
        if (it->get() == placement) {
            placements_.erase(it);
            break;
        }
}

Placement* Host::find(const std::string& name, int nth) {
    for (auto& p : placements_)
        if (name == p->gauge->gauge_name && --nth == 0) return p.get();
    return nullptr;
}

void Host::frame() {
    sim.advance(sim.frame_period);
    if (sound_clock) sound_clock(sim.get(kVarSimTime));
    for (auto& p : placements_) {
        enter(p.get());
        if (p->gauge->gauge_callback) p->gauge->gauge_callback(p->gauge, PANEL_SERVICE_PRE_UPDATE, 0);
        std::vector<bool> shown_at_depth;
        for (ElementSlot& slot : p->elements) {
            shown_at_depth.resize(size_t(slot.depth) + 1);
            bool parent_shown = slot.depth == 0 || shown_at_depth[size_t(slot.depth) - 1];
            update_element(slot, parent_shown);
            shown_at_depth[size_t(slot.depth)] = slot.shown;
        }
        leave();
    }
}

void Host::update_element(ElementSlot& slot, bool parent_shown) {
    ELEMENT_HEADER* h = slot.record;
    double before[3] = {slot.value[0], slot.value[1], slot.value[2]};
    std::string text_before = slot.text;
    update_element_values(h, [this](MODULE_VAR& v) { refresh(v); }, slot.value);
    if (h->element_type == ELEMENT_STRING) {
        auto* e = reinterpret_cast<StringElement*>(h);
        slot.text = e->string ? std::string(e->string, strnlen(e->string, e->char_count)) : std::string();
    }

    bool not_drawn = false;
    for (const FAILURE_RECORD* f = h->failure_systems; f && f->key; ++f) {
        if (!sim.failures.count(f->key)) continue;
        if (f->action == FAIL_ACTION_FREEZE && slot.updated) {
            std::copy(before, before + 3, slot.value);
            slot.text = text_before;
        } else if (f->action == FAIL_ACTION_ZERO) {
            slot.value[0] = slot.value[1] = slot.value[2] = 0;
        } else if (f->action == FAIL_ACTION_NO_DRAW) {
            not_drawn = true;
        }
    }
    slot.updated = true;
    bool icon_hidden = h->element_type == ELEMENT_ICON && icon_index(slot) < 0;
    slot.shown = parent_shown && !not_drawn && !icon_hidden && !(h->image_flags & kImageHidden);
}

int icon_index(const ElementSlot& slot) {
    auto* e = reinterpret_cast<const IconElement*>(slot.record);
    double v = e->update_cb ? slot.value[0] : slot.value[0] * e->scale;
    if (!std::isfinite(v) || v <= -1.0) return -1;
    if (v >= 2147483647.0) return 2147483647;
    return int(v);
}

// ----------------------------------------------------------------------------------------------
// Mouse

void Host::call_area(Placement* placement, MOUSERECT* area, int32_t x, int32_t y, uint32_t flags) {
    if (area->handler) {
        MOUSE_POINT point = {x, y, placement->gauge, area};
        enter(placement);
        area->handler(&point, flags);
        leave();
    } else if (area->event_id) {
        sim.key_event(area->event_id, 0);
    }
}

void Host::click(Placement* placement, int32_t x, int32_t y, uint32_t button, int held) {
    MOUSERECT* area = route_click(placement->gauge->mouse_rect, x, y, button);
    placement->last_click_area = area;
    placement->last_click_button = button;
    if (!area) return;
    int32_t ax = x - area->box.x, ay = y - area->box.y;
    call_area(placement, area, ax, ay, button);
    if (!(area->mouse_flags & MOUSE_DOWN_REPEAT)) return;
    for (int i = 0; i < held; ++i) call_area(placement, area, ax, ay, button | MOUSE_DOWN_REPEAT);
}

void Host::drag(Placement* placement, int32_t x, int32_t y) {
    MOUSERECT* area = placement->last_click_area;
    if (!area || !(area->mouse_flags & MOUSE_LEFTDRAG)) return;
    call_area(placement, area, x - area->box.x, y - area->box.y, placement->last_click_button | MOUSE_LEFTDRAG);
}

void Host::repeat(Placement* placement, int32_t x, int32_t y) {
    MOUSERECT* area = placement->last_click_area;
    if (!area || !(area->mouse_flags & MOUSE_DOWN_REPEAT)) return;
    call_area(placement, area, x - area->box.x, y - area->box.y, placement->last_click_button | MOUSE_DOWN_REPEAT);
}

}  // namespace bench
