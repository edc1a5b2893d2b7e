// Parking_Brake — parking brake handle.
// Reads:  0x143 parking brake (0 released).
// Sends:  0x100D8 parking brake toggle on a left click.
// Keeps:  click sound, WAVE 20 (the ratchet).
#include "systems/systems_records.h"

constexpr uint32_t kVarParkingBrake = 0x143;
constexpr uint32_t kEventParkingBrake = 0x100D8;

static ClickSound sound;

static double GAUGE_CALL handle_picture(IconElement*);
static int32_t GAUGE_CALL handle_click(MOUSE_POINT*, uint32_t);
static void GAUGE_CALL parking_brake_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

// ----------------------------------------------------------------------------------------------
// Records

static IconElement handle_icon = icon_image(1340, {0, 0}, 2, kVarParkingBrake, &handle_picture);
static ELEMENT_HEADER* children[] = {&handle_icon.header, nullptr};
static StaticImageElement background = background_image(1330, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB51, {
    click_area({0, 0, 100, 100}, CURSOR_HAND, MOUSE_LEFTSINGLE, &handle_click),
});

DEFINE_GAUGE(Parking_Brake, root_list, mouse_areas.rects, &parking_brake_gauge);

// ----------------------------------------------------------------------------------------------
// Element callback: released (0) or set (1).

static double GAUGE_CALL handle_picture(IconElement* e) { return e->source_var.var_value.n == 0 ? 0 : 1; }

// ----------------------------------------------------------------------------------------------
// Mouse handler

static int32_t GAUGE_CALL handle_click(MOUSE_POINT*, uint32_t) {
    trigger_key_event(kEventParkingBrake, 0);
    click_sound_play(sound);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL parking_brake_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sound, service, extra, kWaveParkingBrake);
}
