// Digital_OAT — outside air temperature readout, degrees Celsius.
// Reads:  0x155 outside air temperature, degrees Celsius.
// Sends:  nothing.
// Keeps:  nothing.
#include <cstdio>

#include "engine/dial_gauge.h"
#include "module/whole_number_text.h"

constexpr int32_t kBitmapFace = 4800;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL readout(StringElement*);

static StringElement readout_string = digit_readout({53, 31}, {84, 33}, 6, 500, 0x155, readout);
static ELEMENT_HEADER* face_elements[] = {&readout_string.header, nullptr};
static StaticImageElement background = face_image(kBitmapFace, face_elements);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static DialAreas mouse_areas = dial_areas();
DEFINE_GAUGE(Digital_OAT, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

// The degree sign is byte 0xB0 of the Windows-1252 code page.
static double GAUGE_CALL readout(StringElement* e) {
    double celsius = e->source_var[0].var_value.n;
    whole_number_text(e->string, string_capacity(e), celsius, 3, false, "", " \xB0" "C");
    return celsius;
}
