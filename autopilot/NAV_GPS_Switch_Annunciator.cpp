// NAV_GPS_Switch_Annunciator — navigation-source push button with its NAV / GPS annunciator.
// Reads:  0x350 navigation source (above 0: GPS).
// Sends:  0x10347 navigation source toggle, through the button area's event id.
// Keeps:  a click sound, WAVE 30, opened and closed but never played.
#include "autopilot/autopilot_state.h"
#include "module/click_sound.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarGpsSource = 0x350;
constexpr int32_t kBitmapFace = 4990;
constexpr int32_t kBitmapButton = 4991;      // released, pressed: 4991, 4992
constexpr int32_t kBitmapAnnunciator = 4993;  // NAV white, GPS green: 4993, 4994
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

static ClickSound sound;

// ----------------------------------------------------------------------------------------------
// Records

static double GAUGE_CALL annunciator(IconElement*);

// The button's picture is the token value as the host reads it.
static IconElement button = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapButton, .position = {0, 40},
               .image_flags = kDrawFlags},
    .source_var = {.id = kVarGpsSource}, .scale = 1.0, .num_icons = 2,
};
static IconElement annunciator_icon = {
    .header = {.element_type = ELEMENT_ICON, .resource_id = kBitmapAnnunciator, .position = {0, 0},
               .image_flags = kDrawFlags},
    .source_var = {.id = kVarGpsSource}, .scale = 1.0, .num_icons = 2, .update_cb = annunciator,
};
static ELEMENT_HEADER* switch_elements[] = {&button.header, &annunciator_icon.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = switch_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_CHILD, .box = {32, 44, 25, 27}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .event_id = 0x10347},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra);
DEFINE_GAUGE(NAV_GPS_Switch_Annunciator, root_list, mouse_areas, gauge_callback);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL annunciator(IconElement* e) { return e->source_var.var_value.n > 0.0 ? 1.0 : 0.0; }

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL gauge_callback(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    if (service == PANEL_SERVICE_PRE_INSTALL) click_sound_open(sound, extra, kWaveButtonClick);
    if (service == PANEL_SERVICE_PRE_KILL) click_sound_close(sound);
}
