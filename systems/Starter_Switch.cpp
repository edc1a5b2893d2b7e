// Starter_Switch — spring-loaded starter switch, held to crank the engine.
// Reads:  0x233 starter engaged, 0x2F1 bus voltage; aux_pump_position, ignition_armed.
// Sends:  0x102FC starter, on every call while held, when the aux pump switch is above the bottom,
//         the ignition is armed and the bus carries more than 20 V.
// Keeps:  starter_engaged (the picture's last reading: no click while the starter turns);
//         click sound, WAVE 30.
#include "systems/switch_state.h"
#include "systems/systems_records.h"

constexpr uint32_t kVarStarter = 0x233;
constexpr uint32_t kVarBusVolts = 0x2F1;
constexpr uint32_t kEventStarter = 0x102FC;
constexpr double kStarterMinVolts = 20.0;
constexpr int32_t kPictureReleased = 1;  // bitmap 0 is never shown
constexpr int32_t kPictureEngaged = 2;

static bool starter_engaged = false;
static ClickSound sound;

static double GAUGE_CALL switch_picture(IconElement*);
static int32_t GAUGE_CALL switch_held(MOUSE_POINT*, uint32_t);
static void GAUGE_CALL starter_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

// ----------------------------------------------------------------------------------------------
// Records

static IconElement switch_icon = icon_image(6410, {0, 0}, 3, kVarStarter, &switch_picture);
static ELEMENT_HEADER* children[] = {&switch_icon.header, nullptr};
static StaticImageElement background = background_image(6400, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB65, {
    click_area({0, 10, 30, 40}, CURSOR_HAND, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, &switch_held),
});

DEFINE_GAUGE(Starter_Switch, root_list, mouse_areas.rects, &starter_gauge);

// ----------------------------------------------------------------------------------------------
// Element callback

static double GAUGE_CALL switch_picture(IconElement* e) {
    starter_engaged = e->source_var.var_value.n > 0;
    return starter_engaged ? kPictureEngaged : kPictureReleased;
}

// ----------------------------------------------------------------------------------------------
// Mouse handler: called on the click and again for every repeat while held.

static int32_t GAUGE_CALL switch_held(MOUSE_POINT*, uint32_t) {
    double volts = token_value(kVarBusVolts);
    if (aux_pump_position > kAuxPumpBottom && ignition_armed && volts > kStarterMinVolts) {
        trigger_key_event(kEventStarter, 0);
        if (!starter_engaged) click_sound_play(sound);
    }
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL starter_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sound, service, extra, kWaveButtonClick);
}
