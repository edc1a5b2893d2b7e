// Parameter text: one-letter lowercase keys, each followed directly by its value, given on the
// panel configuration line that places a gauge. '/', '#' and the single quote start a comment.
#pragma once

#include <cstdint>

// The value after the first `key` at or after `from` in `text`, or null when there is none or a
// comment character stands anywhere in `text` before it.
const char* find_param_key(const char* text, const char* from, char key);
inline const char* find_param_key(const char* text, char key) { return find_param_key(text, text, key); }

// The value read as a decimal integer as the C library's atoi reads it (spaces, sign, digits; no
// number gives 0), saturated to the 32-bit range instead of overflowing.
int32_t param_int(const char* value);

// A panel window: a known name the value starts with, else the value as a decimal integer;
// an empty value gives -1.
int32_t param_panel_id(const char* value);

// A help text: a known help name, else the decimal value when it is 40960 or more, else 0.
uint32_t param_help_id(const char* value);
