// Digital_OAT — outside air temperature readout, degrees Celsius.
// Reads:  0x155 outside air temperature, degrees Celsius.
// Sends:  nothing.
// Keeps:  nothing.
#include <cstdio>

#include "engine/engine_state.h"
#include "module/gauge_unit.h"
#include "module/whole_number_text.h"

constexpr int32_t kBitmapFace = 4800;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL readout(StringElement*);

static StringElement readout_string = {
    .header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {53, 31},
               .image_flags = kImageUseTransparency | kImageUseErase},
    .source_var = {{.id = 0x155}},
    .box = {84, 33}, .char_count = 6, .fg_color = kDigitRed, .bg_color = kDigitBackground,
    .hilite_color = kDigitHighlight, .font_name = "Quartz", .font_weight = 500, .char_set = 1,
    .draw_text_flags = kTextCentredSingleLine, .update_cb = readout,
};
static ELEMENT_HEADER* face_elements[] = {&readout_string.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = face_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Digital_OAT, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

// The degree sign is byte 0xB0 of the Windows-1252 code page.
static double GAUGE_CALL readout(StringElement* e) {
    double celsius = e->source_var[0].var_value.n;
    whole_number_text(e->string, string_capacity(e), celsius, 3, false, "", " \xB0" "C");
    return celsius;
}
