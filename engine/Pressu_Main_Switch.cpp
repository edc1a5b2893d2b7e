// Pressu_Main_Switch — cabin pressurization on/off switch.
// Reads:  nothing.
// Sends:  nothing; the cabin model reads the switch.
// Keeps:  pressu_main_on (off at load, survives kill and install); click sound, WAVE 30.
#include "engine/cabin_pressure.h"
#include "module/click_sound.h"
#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4840;
constexpr int32_t kBitmapSwitch = 4841;  // off, on: 4841, 4842

static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL switch_picture(IconElement*);

static IconElement switch_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapSwitch, .position = {0, 0},
               .image_flags = kImageUseTransparency | kImageUseErase},
    .scale = 1.0, .num_icons = 2, .update_cb = switch_picture,
};
static ELEMENT_HEADER* switch_elements[] = {&switch_icon.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = switch_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL toggle(MOUSE_POINT*, uint32_t);

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_CHILD, .box = {0, 0, 25, 44}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .handler = toggle},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra);
DEFINE_GAUGE(Pressu_Main_Switch, root_list, mouse_areas, gauge_callback);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL switch_picture(IconElement*) { return pressu_main_on ? 1.0 : 0.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL toggle(MOUSE_POINT*, uint32_t) {
    pressu_main_on = !pressu_main_on;
    click_sound_play(sound);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) click_sound_open(sound, extra, kWaveButtonClick);
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}
