// The four host services the module uses, called through the table the host writes into
// ImportTable. Before the host has filled it every call does nothing and reads zero.
#pragma once

#include "module/gauge_records.h"

GAUGE_EXPORT IMPORT_TABLE ImportTable;

void lookup_var(MODULE_VAR* var);
void trigger_key_event(uint32_t event_id, uint32_t param);
void execute_calculator_code(const char* code, double* number, int32_t* integer, const char** text);
void panel_window_toggle(uint32_t window_id);

// The current value of token variable `id` as f64.
double token_value(uint32_t id);

// A value sent with a key event: the double truncated toward zero, as a 32-bit word. NaN and
// values outside the 32-bit range give 0 rather than undefined behaviour.
uint32_t event_param(double value);
