#include "module/param_keys.h"

#include <cstring>

static bool is_comment_char(char c) { return c == '/' || c == '#' || c == '\''; }

const char* find_param_key(const char* text, const char* from, char key) {
    if (!text || !from) return nullptr;
    for (const char* p = text; *p; ++p) {
        if (is_comment_char(*p)) return nullptr;
        if (*p == key && p >= from) return p + 1;
    }
    return nullptr;
}

int32_t param_int(const char* value) {
    if (!value) return 0;
    const char* p = value;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int64_t v = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > int64_t(INT32_MAX) + 1) v = int64_t(INT32_MAX) + 1;
    }
    if (negative) return int32_t(-v);
    return v > INT32_MAX ? INT32_MAX : int32_t(v);
}

struct NamedValue {
    const char* name;
    int32_t value;
};

static constexpr NamedValue kPanelNames[] = {
    {"MAIN_PANEL", 0},           {"THROTTLE_PANEL", 10},    {"RADIO_STACK_PANEL", 50},
    {"COMPASS_PANEL", 75},       {"MINI_CONTROLS_PANEL", 100}, {"ANNUNCIATOR_PANEL", 125},
    {"ANNUNCIATOR2_PANEL", 150}, {"IFR_MAIN_PANEL", 175},   {"COLLECTIVE_PANEL", 200},
    {"GPS_PANEL", 225},          {"OVERHEAD_PANEL", 250},
};

static constexpr NamedValue kHelpNames[] = {
    {"TOGGLE_RADIO_WINDOW", 43910},    {"TOGGLE_GPS_WINDOW", 43911},  {"TOGGLE_THROTTLE_WINDOW", 43912},
    {"TOGGLE_COMPASS_WINDOW", 43913},  {"TOGGLE_FUEL_WINDOW", 43914}, {"TOGGLE_COLLECTIVE_WINDOW", 43915},
};

constexpr int32_t kLowestHelpNumber = 40960;

template <size_t N>
static const NamedValue* starting_name(const char* value, const NamedValue (&names)[N]) {
    for (const NamedValue& n : names)
        if (std::strncmp(value, n.name, std::strlen(n.name)) == 0) return &n;
    return nullptr;
}

int32_t param_panel_id(const char* value) {
    if (!value || !*value) return -1;
    if (const NamedValue* n = starting_name(value, kPanelNames)) return n->value;
    return param_int(value);
}

uint32_t param_help_id(const char* value) {
    if (!value) return 0;
    if (const NamedValue* n = starting_name(value, kHelpNames)) return uint32_t(n->value);
    int32_t v = param_int(value);
    return v >= kLowestHelpNumber ? uint32_t(v) : 0;
}
