// Fuzz: any parameter text on a toggle button or the registration placard, through install,
// clicks and frames, stays inside its buffers and the element's text stays within its count.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "module/gauge_table.h"
#include "module/host_services.h"

namespace {

int32_t GAUGE_CALL toggle(uint32_t) { return 1; }
int32_t GAUGE_CALL key_event(uint32_t, uint32_t) { return 0; }
void GAUGE_CALL lookup(MODULE_VAR* v) { v->var_value.n = 0; }
const char* atc_text = "";
int32_t GAUGE_CALL calc(const char*, double* n, int32_t* i, const char** text) {
    if (n) *n = 0;
    if (i) *i = 0;
    if (text) *text = atc_text;
    return 1;
}

void* services[SERVICE_TABLE_WORDS];

void click_every_area(GAUGEHDR& gauge) {
    for (MOUSERECT* a = gauge.mouse_rect; a && a->kind != MOUSE_END; ++a) {
        if (a->kind != MOUSE_CHILD || !a->handler) continue;
        MOUSE_POINT p = {1, 1, &gauge, a};
        a->handler(&p, MOUSE_LEFTSINGLE);
    }
}

void run_gauge(GAUGEHDR& gauge, std::vector<char>& params) {
    gauge.parameters = params.data();
    if (gauge.gauge_callback) gauge.gauge_callback(&gauge, PANEL_SERVICE_PRE_INSTALL, 0);
    if (gauge.gauge_callback) gauge.gauge_callback(&gauge, PANEL_SERVICE_PRE_UPDATE, 0);
    ELEMENT_HEADER* root = gauge.elements_list[0];
    for (ELEMENT_HEADER** c = root->elements; c && *c; ++c) {
        if ((*c)->element_type != ELEMENT_STRING) continue;
        auto* s = reinterpret_cast<StringElement*>(*c);
        std::vector<char> text(string_capacity(s) + 16, '\x7F');
        s->string = text.data();
        if (s->update_cb) s->update_cb(s);
        if (std::memchr(text.data(), '\0', string_capacity(s)) == nullptr) __builtin_trap();
        for (size_t i = string_capacity(s); i < text.size(); ++i)
            if (text[i] != '\x7F') __builtin_trap();
        if (strnlen(s->font_name, sizeof s->font_name) == sizeof s->font_name) __builtin_trap();
        s->string = nullptr;
    }
    click_every_area(gauge);
    if (gauge.gauge_callback) gauge.gauge_callback(&gauge, PANEL_SERVICE_PRE_KILL, 0);
    gauge.parameters = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    services[SERVICE_PANEL_WINDOW_TOGGLE] = reinterpret_cast<void*>(&toggle);
    services[SERVICE_TRIGGER_KEY_EVENT] = reinterpret_cast<void*>(&key_event);
    services[SERVICE_LOOKUP_VAR] = reinterpret_cast<void*>(&lookup);
    services[SERVICE_EXECUTE_CALCULATOR_CODE] = reinterpret_cast<void*>(&calc);
    ImportTable.entries[0].services = services;

    // The first half is the parameter text, the rest the simulator's ATC id.
    size_t half = size / 2;
    std::vector<char> params(data, data + half);
    params.push_back('\0');
    std::vector<char> atc(data + half, data + size);
    atc.push_back('\0');
    atc_text = atc.data();

    static GAUGEHDR* gauges[] = {&gauge_Registration, &gauge_Radios_Toggle, &gauge_Autopilot_Toggle};
    for (GAUGEHDR* g : gauges) {
        std::vector<char> copy = params;  // the placard cuts its text: each gauge gets its own
        run_gauge(*g, copy);
    }
    return 0;
}
