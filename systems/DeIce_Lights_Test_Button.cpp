// DeIce_Lights_Test_Button — lights the four de-ice lamps for a short test.
// Reads:  nothing.
// Sends:  nothing.
// Keeps:  deice_lights_test (read by the lamps), deice_test_frames (updates of this gauge left in
//         the test); click sound, WAVE 30.
#include "systems/switch_state.h"
#include "systems/systems_records.h"

constexpr int32_t kTestFrames = 18;

static int32_t deice_test_frames = 0;
static ClickSound sound;

static double GAUGE_CALL test_countdown(IconElement*);
static int32_t GAUGE_CALL test_click(MOUSE_POINT*, uint32_t);
static void GAUGE_CALL test_button_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

// ----------------------------------------------------------------------------------------------
// Records: the button picture is the background; the icon is never shown and only keeps time.

static IconElement counter_icon = icon_image(4440, {0, 0}, 1, 0, &test_countdown);
static ELEMENT_HEADER* children[] = {&counter_icon.header, nullptr};
static StaticImageElement background = background_image(4440, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    tooltip_text("DeIce warning lights test button"),
    click_area({0, 0, 20, 20}, CURSOR_HAND, MOUSE_LEFTSINGLE, &test_click),
});

DEFINE_GAUGE(DeIce_Lights_Test_Button, root_list, mouse_areas.rects, &test_button_gauge);

// ----------------------------------------------------------------------------------------------
// Element callback: the test ends after its frames of this gauge have run.

static double GAUGE_CALL test_countdown(IconElement*) {
    if (deice_test_frames > 0) --deice_test_frames;
    if (deice_test_frames == 0) deice_lights_test = false;
    return kIconHidden;
}

// ----------------------------------------------------------------------------------------------
// Mouse handler: a click during a test starts it again.

static int32_t GAUGE_CALL test_click(MOUSE_POINT*, uint32_t) {
    deice_test_frames = kTestFrames;
    click_sound_play(sound);
    deice_lights_test = true;
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL test_button_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sound, service, extra, kWaveButtonClick);
}
