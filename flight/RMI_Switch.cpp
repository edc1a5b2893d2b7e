// RMI_Switch — push switch choosing the receiver the RMI's single-bar needle follows.
// Reads:  nothing.
// Sends:  nothing; the RMI reads the choice.
// Keeps:  rmi_needle_nav1 (NAV1 at load; survives kill and install); click sound, WAVE 10.
#include "flight/instrument_shared.h"
#include "module/click_sound.h"
#include "module/gauge_unit.h"

bool rmi_needle_nav1 = true;

static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL legend(IconElement*);

static IconElement legend_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = 3260, .position = {0, 0},
               .image_flags = kImageUseTransparency | kImageUseErase},
    .scale = 1.0, .num_icons = 2, .update_cb = legend,
};
static ELEMENT_HEADER* switch_elements[] = {&legend_icon.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 3250, .elements = switch_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL toggle_source(MOUSE_POINT*, uint32_t);

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 50, 50}, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "RMI needle switch"},
    {.kind = MOUSE_CHILD, .box = {0, 0, 50, 50}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = toggle_source},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra);
DEFINE_GAUGE(RMI_Switch, root_list, mouse_areas, gauge_callback);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL legend(IconElement*) { return rmi_needle_nav1 ? 0.0 : 1.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL toggle_source(MOUSE_POINT*, uint32_t) {
    rmi_needle_nav1 = !rmi_needle_nav1;
    click_sound_play(sound);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) click_sound_open(sound, extra, kWaveToggleClick);
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}
