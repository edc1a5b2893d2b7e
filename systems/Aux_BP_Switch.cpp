// Aux_BP_Switch — auxiliary fuel pump switch, three positions (bottom, middle, top).
// Reads:  0x37B auxiliary fuel pump running.
// Sends:  0x10324 pump toggle when a move needs it: up while the pump is stopped, down to the
//         bottom while it runs. The pump runs in the middle and top positions.
// Keeps:  aux_pump_position (0 at load); click sound, WAVE 10.
#include "systems/switch_state.h"
#include "systems/systems_records.h"

constexpr uint32_t kVarAuxPump = 0x37B;
constexpr uint32_t kEventAuxPumpToggle = 0x10324;

static ClickSound sound;

static double GAUGE_CALL switch_picture(IconElement*);
static int32_t GAUGE_CALL switch_up(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL switch_down(MOUSE_POINT*, uint32_t);
static void GAUGE_CALL aux_pump_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

// ----------------------------------------------------------------------------------------------
// Records

static IconElement switch_icon = icon_image(4460, {0, 0}, 3, 0, &switch_picture);
static ELEMENT_HEADER* children[] = {&switch_icon.header, nullptr};
static StaticImageElement background = background_image(4450, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB67, {
    tooltip_text("Auxiliary fuel pump switch"),
    click_area({0, 0, 51, 45}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, &switch_up),
    click_area({0, 45, 51, 45}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, &switch_down),
});

DEFINE_GAUGE(Aux_BP_Switch, root_list, mouse_areas.rects, &aux_pump_gauge);

// ----------------------------------------------------------------------------------------------
// Element callback

static double GAUGE_CALL switch_picture(IconElement*) { return aux_pump_position; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL switch_up(MOUSE_POINT*, uint32_t) {
    double pump = token_value(kVarAuxPump);
    if (aux_pump_position >= kAuxPumpTop) return 0;
    ++aux_pump_position;
    click_sound_play(sound);
    if (pump == 0) trigger_key_event(kEventAuxPumpToggle, 0);
    return 0;
}

static int32_t GAUGE_CALL switch_down(MOUSE_POINT*, uint32_t) {
    double pump = token_value(kVarAuxPump);
    if (aux_pump_position <= kAuxPumpBottom) return 0;
    --aux_pump_position;
    click_sound_play(sound);
    if (pump > 0 && aux_pump_position == kAuxPumpBottom) trigger_key_event(kEventAuxPumpToggle, 0);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL aux_pump_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sound, service, extra, kWaveToggleClick);
}
