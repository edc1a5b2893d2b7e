#include "module/host_services.h"

#include <cmath>

IMPORT_TABLE ImportTable = {{{kImportPanelServices, nullptr}, {0, nullptr}}};

template <typename Fn>
static Fn service(HostServiceIndex index) {
    void** table = ImportTable.entries[0].services;
    return table ? reinterpret_cast<Fn>(table[index]) : nullptr;
}

void lookup_var(MODULE_VAR* var) {
    if (auto fn = service<LookupVarFn>(SERVICE_LOOKUP_VAR)) fn(var);
}

void trigger_key_event(uint32_t event_id, uint32_t param) {
    if (auto fn = service<TriggerKeyEventFn>(SERVICE_TRIGGER_KEY_EVENT)) fn(event_id, param);
}

void execute_calculator_code(const char* code, double* number, int32_t* integer, const char** text) {
    if (auto fn = service<ExecuteCalculatorCodeFn>(SERVICE_EXECUTE_CALCULATOR_CODE)) fn(code, number, integer, text);
}

void panel_window_toggle(uint32_t window_id) {
    if (auto fn = service<PanelWindowToggleFn>(SERVICE_PANEL_WINDOW_TOGGLE)) fn(window_id);
}

double token_value(uint32_t id) {
    MODULE_VAR var = {};
    var.id = id;
    lookup_var(&var);
    return var.var_value.n;
}

uint32_t event_param(double value) {
    double whole = std::trunc(value);
    if (!(whole >= -2147483648.0 && whole <= 4294967295.0)) return 0;
    return whole < 0 ? uint32_t(int32_t(whole)) : uint32_t(whole);
}
