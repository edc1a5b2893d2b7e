// Registration — the placard with the aircraft's registration.
// Reads:  "(A:ATC ID,string)" every frame; parameter text: t<text> (shown instead of the ATC id),
//         r, g, b (text colour, 0 to 255) and f<font> (must come last) at install.
// Sends:  nothing.
// Keeps:  the simulator's ATC id as last read; no sound.
#include <cstdio>
#include <cstring>

#include "module/gauge_unit.h"
#include "module/param_keys.h"

// ----------------------------------------------------------------------------------------------
// Records

constexpr uint32_t kPlacardChars = 7;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kColorMax = 255;
constexpr const char* kAtcIdExpression = "(A:ATC ID,string)";

static double GAUGE_CALL placard_text(StringElement* e);

static StringElement placard = {
    .header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {2, -1}, .image_flags = 0},
    .source_var = {},
    .box = {150, 25},
    .fg_color = kWhite,
    .bg_color = 0,
    .hilite_color = 0x5C5C5C,
    .font_name = "Arial",
    .font_weight = 400,
    .char_set = 1,
    .draw_text_flags = 0x25,
    .char_count = kPlacardChars,
    .highlight_list = nullptr,
    .update_cb = placard_text,
};
static ELEMENT_HEADER* placard_children[] = {&placard.header, nullptr};

static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 60, .elements = placard_children, .image_flags = 0},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Registration number"},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL registration_callback(GAUGEHDR* gauge, int32_t service_id, GaugeExtra extra);
DEFINE_GAUGE(Registration, root_list, mouse_areas, registration_callback);

static char atc_id[64];  // the simulator's ATC id, copied from the host within the frame

// ----------------------------------------------------------------------------------------------
// Element callback

static double GAUGE_CALL placard_text(StringElement* e) {
    if (!e->string) return 0;
    const char* params = gauge_Registration.parameters;
    const char* text = params && params[0] == 't' ? params + 1 : atc_id;
    std::snprintf(e->string, string_capacity(e), "%s", text);
    if (char* blank = const_cast<char*>(find_param_key(e->string, ' '))) blank[-1] = '\0';
    for (char* p = e->string; (p = const_cast<char*>(find_param_key(e->string, p, '_'))) != nullptr;) p[-1] = ' ';
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static uint32_t color_value(const char* value) {
    uint32_t v = uint32_t(param_int(value));  // read as unsigned: negative counts as above 255
    return v > kColorMax ? kColorMax : v;
}

static void apply_placard_keys(char* params) {
    if (char* font = const_cast<char*>(find_param_key(params, 'f'))) {
        std::snprintf(placard.font_name, sizeof placard.font_name, "%s", font);
        font[-1] = '\0';  // the font takes the rest of the text: cut it there
    }
    uint32_t color = placard.fg_color;
    if (const char* v = find_param_key(params, 'r')) color = (color & 0xFFFF00) | color_value(v);
    if (const char* v = find_param_key(params, 'g')) color = (color & 0xFF00FF) | (color_value(v) << 8);
    if (const char* v = find_param_key(params, 'b')) color = (color & 0x00FFFF) | (color_value(v) << 16);
    placard.fg_color = color;
}

static void GAUGE_CALL registration_callback(GAUGEHDR* gauge, int32_t service_id, GaugeExtra) {
    switch (service_id) {
    case PANEL_SERVICE_PRE_INSTALL:
        if (gauge->parameters && gauge->parameters[0] && background.header.elements[0] == &placard.header)
            apply_placard_keys(gauge->parameters);
        break;
    case PANEL_SERVICE_PRE_UPDATE: {
        const char* text = nullptr;
        execute_calculator_code(kAtcIdExpression, nullptr, nullptr, &text);
        std::snprintf(atc_id, sizeof atc_id, "%s", text ? text : "");
        break;
    }
    default:
        break;
    }
}
