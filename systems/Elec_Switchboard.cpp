// Elec_Switchboard — battery master and right master switch under a guard bar.
// Reads:  0x16C battery master, 0x235 right master switch (0 off).
// Sends:  0x102C1 battery master toggle, 0x1033B right master toggle; lowering the guard bar
//         switches off whichever master is on.
// Keeps:  elec_bar_engaged (guard bar down; up at load); click sound, WAVE 10.
#include "systems/systems_records.h"

constexpr uint32_t kVarBatteryMaster = 0x16C;
constexpr uint32_t kVarRightMaster = 0x235;
constexpr uint32_t kEventBatteryMaster = 0x102C1;
constexpr uint32_t kEventRightMaster = 0x1033B;
constexpr int32_t kPictureOff = 0;
constexpr int32_t kPictureOn = 2;  // bitmap 1 is never shown
constexpr int32_t kMasterSwitchBitmap = 3510;  // three bitmaps
constexpr int32_t kBarUpBitmap = 3530;
constexpr int32_t kBarDownBitmap = 3540;
constexpr int32_t kBarArea = 33;  // the guard bar's six areas are squares of this side

static bool elec_bar_engaged = false;
static ClickSound sound;

static double GAUGE_CALL master_picture(IconElement*);
static double GAUGE_CALL bar_up_picture(IconElement*);
static double GAUGE_CALL bar_down_picture(IconElement*);
static int32_t GAUGE_CALL battery_master_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL right_master_click(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL bar_click(MOUSE_POINT*, uint32_t);
static void GAUGE_CALL switchboard_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

// ----------------------------------------------------------------------------------------------
// Records: background, the two master switches, the guard bar up and down.

static IconElement battery_master = icon_image(kMasterSwitchBitmap, {37, 28}, 3, kVarBatteryMaster, &master_picture);
static IconElement right_master = icon_image(kMasterSwitchBitmap, {112, 28}, 3, kVarRightMaster, &master_picture);
static IconElement bar_up = icon_image(kBarUpBitmap, {0, 0}, 1, 0, &bar_up_picture);
static IconElement bar_down = icon_image(kBarDownBitmap, {0, 19}, 1, 0, &bar_down_picture);
static ELEMENT_HEADER* children[] = {&battery_master.header, &right_master.header, &bar_up.header,
                                     &bar_down.header, nullptr};
static StaticImageElement background = background_image(3500, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

constexpr MOUSERECT bar_area(int32_t x, int32_t y) {
    return click_area({x, y, kBarArea, kBarArea}, CURSOR_HAND, MOUSE_LEFTSINGLE, &bar_click);
}

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    click_area({37, 28, 34, 42}, CURSOR_HAND, MOUSE_LEFTSINGLE, &battery_master_click),
    click_area({112, 28, 34, 42}, CURSOR_HAND, MOUSE_LEFTSINGLE, &right_master_click),
    bar_area(0, 0), bar_area(75, 0), bar_area(169, 0),
    bar_area(0, 36), bar_area(75, 36), bar_area(169, 36),
});

DEFINE_GAUGE(Elec_Switchboard, root_list, mouse_areas.rects, &switchboard_gauge);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL master_picture(IconElement* e) {
    return e->source_var.var_value.n == 0 ? kPictureOff : kPictureOn;
}
static double GAUGE_CALL bar_up_picture(IconElement*) { return elec_bar_engaged ? kIconHidden : kIconShown; }
static double GAUGE_CALL bar_down_picture(IconElement*) { return elec_bar_engaged ? kIconShown : kIconHidden; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers: a master switched off lifts the bar; lowering the bar switches both off.

static int32_t GAUGE_CALL battery_master_click(MOUSE_POINT*, uint32_t) {
    click_sound_play(sound);
    trigger_key_event(kEventBatteryMaster, 0);
    if (token_value(kVarBatteryMaster) == 0 && elec_bar_engaged) elec_bar_engaged = false;
    return 0;
}

static int32_t GAUGE_CALL right_master_click(MOUSE_POINT*, uint32_t) {
    trigger_key_event(kEventRightMaster, 0);
    click_sound_play(sound);
    if (token_value(kVarRightMaster) == 0 && elec_bar_engaged) elec_bar_engaged = false;
    return 0;
}

static int32_t GAUGE_CALL bar_click(MOUSE_POINT*, uint32_t) {
    elec_bar_engaged = !elec_bar_engaged;
    click_sound_play(sound);
    double battery = token_value(kVarBatteryMaster);
    double right = token_value(kVarRightMaster);
    if (elec_bar_engaged) {
        if (battery != 0) trigger_key_event(kEventBatteryMaster, 0);
        if (right != 0) trigger_key_event(kEventRightMaster, 0);
    }
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL switchboard_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sound, service, extra, kWaveToggleClick);
}
